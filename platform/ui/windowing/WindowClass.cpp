#include "platform/ui/windowing/WindowClass.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "platform/base/Kernel.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

namespace {

// Atoms of registered classes start where Windows' string atoms do.
const ATOM kFirstAtom = 0xC000;

struct ClassTable {
    std::vector<std::unique_ptr<WindowClassInfo>> classes;
    ATOM nextAtom = kFirstAtom;
};

ClassTable& Classes()
{
    // Never destroyed: built-in classes register from static constructors of
    // other files, and windows may outlive this file's statics.
    static ClassTable* table = new ClassTable;
    return *table;
}

bool SameName(const CString& a, LPCWSTR b)
{
    return _wcsicmp(a.GetString(), b) == 0;
}

ATOM Register(const WNDCLASSEXW& wc, bool system, LPCWSTR stockCursor)
{
    if (!wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || !*wc.lpszClassName || !wc.lpfnWndProc ||
        wc.cbWndExtra < 0 || wc.cbClsExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindWindowClass(wc.lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    ClassTable& table = Classes();
    if (table.nextAtom == 0xFFFF) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    auto info = std::make_unique<WindowClassInfo>();
    info->name = wc.lpszClassName;
    info->atom = table.nextAtom++;
    info->style = wc.style;
    info->proc = wc.lpfnWndProc;
    info->cbClsExtra = wc.cbClsExtra;
    info->cbWndExtra = wc.cbWndExtra;
    info->instance = wc.hInstance;
    info->icon = wc.hIcon;
    info->iconSmall = wc.hIconSm;
    info->cursor = wc.hCursor;
    info->stockCursor = stockCursor;
    info->background = wc.hbrBackground;
    if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName)) info->menuName = wc.lpszMenuName;
    info->system = system;
    table.classes.push_back(std::move(info));
    return table.classes.back()->atom;
}

WNDCLASSEXW Widen(const WNDCLASSW& wc)
{
    WNDCLASSEXW ex = {sizeof(WNDCLASSEXW), wc.style, wc.lpfnWndProc, wc.cbClsExtra, wc.cbWndExtra, wc.hInstance,
                      wc.hIcon, wc.hCursor, wc.hbrBackground, wc.lpszMenuName, wc.lpszClassName, nullptr};
    return ex;
}

WindowClassInfo* ClassOfWindow(HWND hWnd)
{
    WindowState* window = WindowManager::Instance().Find(hWnd);
    if (!window) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window ? window->wndClass : nullptr;
}

}  // namespace

HCURSOR WindowClassInfo::Cursor()
{
    if (!cursor && stockCursor) cursor = LoadCursorW(nullptr, stockCursor);
    return cursor;
}

WindowClassInfo* FindWindowClass(LPCWSTR name)
{
    if (!name) return nullptr;
    ClassTable& table = Classes();
    if (IS_INTRESOURCE(name)) {
        const ATOM atom = LOWORD(name);
        for (auto& info : table.classes)
            if (info->atom == atom) return info.get();
        return nullptr;
    }
    for (auto& info : table.classes)
        if (SameName(info->name, name)) return info.get();
    return nullptr;
}

SystemClass::SystemClass(LPCWSTR name, WNDPROC proc, UINT style, LPCWSTR stockCursor, int sysColorBackground,
                         int cbWndExtra)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = style | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = cbWndExtra;
    wc.hbrBackground = sysColorBackground ? reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(sysColorBackground)) : nullptr;
    wc.lpszClassName = name;
    Register(wc, true, stockCursor);
}

}  // namespace platform::ui

using platform::ui::FindWindowClass;
using platform::ui::WindowClassInfo;

ATOM RegisterClassW(const WNDCLASSW* lpWndClass)
{
    if (!lpWndClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return platform::ui::Register(platform::ui::Widen(*lpWndClass), false, nullptr);
}

ATOM RegisterClassExW(const WNDCLASSEXW* lpWndClass)
{
    if (!lpWndClass || lpWndClass->cbSize != sizeof(WNDCLASSEXW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return platform::ui::Register(*lpWndClass, false, nullptr);
}

BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance)
{
    (void)hInstance;   // every class is shared by all modules
    WindowClassInfo* info = FindWindowClass(lpClassName);
    if (!info || info->system) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (info->windowCount > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    auto& classes = platform::ui::Classes().classes;
    classes.erase(std::remove_if(classes.begin(), classes.end(),
                                 [info](const std::unique_ptr<WindowClassInfo>& entry) { return entry.get() == info; }),
                  classes.end());
    return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE hInstance, LPCWSTR lpszClass, WNDCLASSEXW* lpwcx)
{
    (void)hInstance;
    WindowClassInfo* info = FindWindowClass(lpszClass);
    if (!info || !lpwcx) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    lpwcx->cbSize = sizeof(WNDCLASSEXW);
    lpwcx->style = info->style;
    lpwcx->lpfnWndProc = info->proc;
    lpwcx->cbClsExtra = info->cbClsExtra;
    lpwcx->cbWndExtra = info->cbWndExtra;
    lpwcx->hInstance = info->instance;
    lpwcx->hIcon = info->icon;
    lpwcx->hCursor = info->Cursor();
    lpwcx->hbrBackground = info->background;
    lpwcx->lpszMenuName = info->menuName.IsEmpty() ? nullptr : info->menuName.GetString();
    lpwcx->lpszClassName = info->name.GetString();
    lpwcx->hIconSm = info->iconSmall;
    return TRUE;
}

BOOL GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass)
{
    WNDCLASSEXW ex = {};
    if (!lpWndClass || !GetClassInfoExW(hInstance, lpClassName, &ex)) return FALSE;
    *lpWndClass = WNDCLASSW{ex.style, ex.lpfnWndProc, ex.cbClsExtra, ex.cbWndExtra, ex.hInstance,
                            ex.hIcon, ex.hCursor, ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
    return TRUE;
}

int GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount)
{
    if (!lpClassName || nMaxCount < 1) return 0;
    lpClassName[0] = L'\0';
    WindowClassInfo* info = platform::ui::ClassOfWindow(hWnd);
    if (!info) return 0;
    const int count = std::min(info->name.GetLength(), nMaxCount - 1);
    std::copy(info->name.GetString(), info->name.GetString() + count, lpClassName);
    lpClassName[count] = L'\0';
    return count;
}

ULONG_PTR GetClassLongPtrW(HWND hWnd, int nIndex)
{
    WindowClassInfo* info = platform::ui::ClassOfWindow(hWnd);
    if (!info) return 0;
    switch (nIndex) {
    case GCL_STYLE: return info->style;
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(info->proc);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(info->Cursor());
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(info->icon);
    case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(info->iconSmall);
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(info->background);
    case GCLP_HMODULE: return reinterpret_cast<ULONG_PTR>(info->instance);
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(info->cbWndExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(info->cbClsExtra);
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

ULONG_PTR SetClassLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    WindowClassInfo* info = platform::ui::ClassOfWindow(hWnd);
    if (!info) return 0;
    const ULONG_PTR previous = GetClassLongPtrW(hWnd, nIndex);
    switch (nIndex) {
    case GCL_STYLE: info->style = static_cast<UINT>(dwNewLong); break;
    case GCLP_HCURSOR: info->cursor = reinterpret_cast<HCURSOR>(dwNewLong); info->stockCursor = nullptr; break;
    case GCLP_HICON: info->icon = reinterpret_cast<HICON>(dwNewLong); break;
    case GCLP_HICONSM: info->iconSmall = reinterpret_cast<HICON>(dwNewLong); break;
    case GCLP_HBRBACKGROUND: info->background = reinterpret_cast<HBRUSH>(dwNewLong); break;
    case GCLP_WNDPROC:
        if (!dwNewLong) return 0;
        info->proc = reinterpret_cast<WNDPROC>(dwNewLong);
        break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
    return previous;
}
