#include "platform/ui/Window.h"

#include <algorithm>

#include "platform/base/Kernel.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/Wnd.h"

using platform::ui::WindowManager;
using platform::ui::WindowState;

namespace {

WindowState* Lookup(HWND hWnd)
{
    WindowState* window = WindowManager::Instance().Find(hWnd);
    if (!window) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

CString ClassNameOf(LPCWSTR lpClassName)
{
    if (!IS_INTRESOURCE(lpClassName)) return CString(lpClassName);
    CString atom;
    atom.Format(L"#%u", static_cast<UINT>(LOWORD(lpClassName)));
    return atom;
}

CRect InitialRect(DWORD dwStyle, int x, int y, int width, int height)
{
    // Only top-level windows get a place chosen for them; for a child the
    // marker is taken as it is, as Windows does.
    if (dwStyle & WS_CHILD) return CRect(x, y, x + width, y + height);
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = platform::ui::Desktop::ScreenWidth() * 3 / 4;
        height = platform::ui::Desktop::ScreenHeight() * 3 / 4;
    }
    return CRect(x, y, x + width, y + height);
}

}  // namespace

HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    (void)lpParam;   // reaches the window procedure with WM_CREATE, which comes with the message queue
    if (!lpClassName || (!IS_INTRESOURCE(lpClassName) && !*lpClassName)) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    platform::ui::WindowCreateParams params;
    params.exStyle = dwExStyle;
    params.className = ClassNameOf(lpClassName);
    params.windowName = lpWindowName ? lpWindowName : L"";
    params.style = dwStyle;
    params.rect = InitialRect(dwStyle, X, Y, nWidth, nHeight);
    params.parent = hWndParent;
    params.id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(hMenu));
    params.instance = hInstance;
    HWND hwnd = WindowManager::Instance().Create(params);
    if (hwnd) CWnd::AttachCreatingWindow(hwnd);
    return hwnd;
}

BOOL DestroyWindow(HWND hWnd)
{
    return WindowManager::Instance().Destroy(hWnd);
}

BOOL IsWindow(HWND hWnd)
{
    return WindowManager::Instance().Find(hWnd) ? TRUE : FALSE;
}

HWND GetParent(HWND hWnd)
{
    WindowState* window = Lookup(hWnd);
    if (!window) return nullptr;
    return (window->style & WS_CHILD) ? window->parent : window->owner;
}

BOOL IsChild(HWND hWndParent, HWND hWnd)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = manager.Find(hWnd);
    while (window && (window->style & WS_CHILD)) {
        if (window->parent == hWndParent) return TRUE;
        window = manager.Find(window->parent);
    }
    return FALSE;
}

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString)
{
    WindowState* window = Lookup(hWnd);
    if (!window) return FALSE;
    window->text = lpString ? lpString : L"";
    return TRUE;
}

int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount)
{
    if (!lpString || nMaxCount < 1) return 0;
    lpString[0] = L'\0';
    WindowState* window = Lookup(hWnd);
    if (!window) return 0;
    const int count = std::min(window->text.GetLength(), nMaxCount - 1);
    std::copy(window->text.GetString(), window->text.GetString() + count, lpString);
    lpString[count] = L'\0';
    return count;
}

int GetWindowTextLengthW(HWND hWnd)
{
    WindowState* window = Lookup(hWnd);
    return window ? window->text.GetLength() : 0;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    WindowState* window = Lookup(hWnd);
    if (!window) return FALSE;
    const BOOL wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
    if (bEnable)
        window->style &= ~WS_DISABLED;
    else
        window->style |= WS_DISABLED;
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    WindowState* window = Lookup(hWnd);
    return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}

LONG GetWindowLongW(HWND hWnd, int nIndex)
{
    WindowState* window = Lookup(hWnd);
    if (!window) return 0;
    switch (nIndex) {
    case GWL_STYLE: return static_cast<LONG>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
    case GWL_ID: return static_cast<LONG>(window->id);
    default: return 0;
    }
}

int GetDlgCtrlID(HWND hWnd)
{
    WindowState* window = Lookup(hWnd);
    return window ? static_cast<int>(window->id) : 0;
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult)
{
    WindowState* window = Lookup(hDlg);
    if (!window) return FALSE;
    window->dialog.ended = true;
    window->dialog.result = nResult;
    return TRUE;
}
