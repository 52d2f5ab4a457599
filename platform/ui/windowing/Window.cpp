#include "platform/ui/windowing/Window.h"

#include <algorithm>
#include <cstring>

#include "platform/base/Kernel.h"
#include "platform/ui/windowing/DialogBox.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/NonClient.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowGeometry.h"
#include "platform/ui/windowing/WindowManager.h"
#include "platform/ui/windowing/WindowSystemHooks.h"

using platform::ui::LookupWindow;
using platform::ui::WindowManager;
using platform::ui::WindowState;

namespace {

CRect InitialRect(DWORD dwStyle, int x, int y, int width, int height)
{
    // Only top-level windows get a place chosen for them; for a child the
    // marker is taken as it is, as Windows does.
    if (dwStyle & WS_CHILD) return CRect(x, y, x + std::max(width, 0), y + std::max(height, 0));
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = platform::ui::ScreenWidth() * 3 / 4;
        height = platform::ui::ScreenHeight() * 3 / 4;
    }
    return CRect(x, y, x + std::max(width, 0), y + std::max(height, 0));
}

// Windows gives every overlapped window a caption and clips its siblings.
DWORD FixStyle(DWORD style)
{
    if (!(style & WS_CHILD)) {
        style |= WS_CLIPSIBLINGS;
        if (!(style & WS_POPUP)) style |= WS_CAPTION;
    }
    return style;
}

// WM_PARENTNOTIFY goes up the chain of parents while the window that
// reports is a child that does not suppress it.
void NotifyParents(HWND hwnd, UINT event)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = manager.Find(hwnd);
    if (!window) return;
    const WPARAM wParam = MAKEWPARAM(event, window->id);
    while (window && (window->style & WS_CHILD) && !(window->exStyle & WS_EX_NOPARENTNOTIFY)) {
        HWND parent = window->parent;
        if (!manager.Find(parent)) return;
        SendMessageW(parent, WM_PARENTNOTIFY, wParam, reinterpret_cast<LPARAM>(hwnd));
        window = manager.Find(parent);
    }
}

// Asks the window for its client area (WM_NCCALCSIZE) for a window rectangle.
CRect CalcClient(HWND hwnd, const RECT& windowRect)
{
    RECT rect = windowRect;
    SendMessageW(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect));
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    return CRect(rect);
}

UINT SizeType(DWORD style)
{
    if (style & WS_MINIMIZE) return SIZE_MINIMIZED;
    if (style & WS_MAXIMIZE) return SIZE_MAXIMIZED;
    return SIZE_RESTORED;
}

void SendSizeAndMove(HWND hwnd)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window) return;
    const CRect client = window->client;
    const DWORD style = window->style;
    SendMessageW(hwnd, WM_SIZE, SizeType(style), MAKELPARAM(client.Width(), client.Height()));
    window = WindowManager::Instance().Find(hwnd);
    if (!window) return;
    SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(window->client.left, window->client.top));
}

// Frees the window after its children, each told with WM_NCDESTROY first.
void FreeTree(HWND hwnd)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = manager.Find(hwnd);
    if (!window) return;
    const std::vector<HWND> children = window->children;
    for (HWND child : children) FreeTree(child);
    platform::ui::detail::ForgetWindowMessages(hwnd);
    SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
    // The framework object's OnNcDestroy detached it; Free lets go of one
    // whose class never passed the message on.
    platform::ui::detail::ReleaseWindowSurface(hwnd);
    manager.Free(hwnd);
}

// WM_DESTROY to the window, then to its descendants, parents first; the
// focus and the capture leave each window as it goes.
void SendDestroy(HWND hwnd)
{
    WindowManager& manager = WindowManager::Instance();
    if (!manager.Find(hwnd)) return;
    if (manager.m_hCapture == hwnd) ReleaseCapture();
    if (manager.m_hFocus && platform::ui::IsSelfOrAncestor(hwnd, manager.m_hFocus)) {
        WindowState* window = manager.Find(hwnd);
        HWND parent = window && (window->style & WS_CHILD) ? window->parent : nullptr;
        SetFocus(parent);
    }
    platform::ui::detail::DestroyCaretOf(hwnd);
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
    WindowState* window = manager.Find(hwnd);
    if (!window) return;
    const std::vector<HWND> children = window->children;
    for (HWND child : children) SendDestroy(child);
}

// After a window's removal: the owner (or the next top-level window) becomes active.
void ActivateAnother(HWND owner)
{
    WindowManager& manager = WindowManager::Instance();
    if (manager.m_hActive) return;
    WindowState* candidate = manager.Find(owner);
    if (candidate && (candidate->style & WS_VISIBLE) && !(candidate->style & WS_DISABLED) && !candidate->destroying) {
        SetActiveWindow(owner);
        return;
    }
    for (HWND top : manager.TopLevelWindows()) {
        WindowState* window = manager.Find(top);
        if (window && (window->style & WS_VISIBLE) && !(window->style & WS_DISABLED) && !window->destroying) {
            SetActiveWindow(top);
            return;
        }
    }
}

}  // namespace

HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    platform::ui::WindowClassInfo* wndClass = platform::ui::FindWindowClass(lpClassName);
    if (!wndClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (hWndParent == HWND_MESSAGE) hWndParent = nullptr;
    platform::ui::WindowCreateParams params;
    params.exStyle = dwExStyle;
    params.wndClass = wndClass;
    params.style = FixStyle(dwStyle) & ~WS_VISIBLE;   // shown at the end, as Windows does
    params.rect = InitialRect(dwStyle, X, Y, nWidth, nHeight);
    params.parent = hWndParent;
    params.id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(hMenu));
    params.instance = hInstance;
    WindowManager& manager = WindowManager::Instance();
    HWND hwnd = manager.Create(params);
    if (!hwnd) return nullptr;
    if (WindowState* window = manager.Find(hwnd)) {
        // The dialog manager's windows are those whose class keeps its extra bytes.
        window->dialog.isDialog = wndClass->cbWndExtra >= DLGWINDOWEXTRA;
        if (window->style & WS_VSCROLL) window->vscroll.max = 100;
        if (window->style & WS_HSCROLL) window->hscroll.max = 100;
    }
    platform::ui::detail::NotifyWindowCreated(hwnd);

    CREATESTRUCTW cs = {lpParam,
                        hInstance,
                        hMenu,
                        hWndParent,
                        params.rect.Height(),
                        params.rect.Width(),
                        params.rect.top,
                        params.rect.left,
                        static_cast<LONG>(FixStyle(dwStyle)),
                        lpWindowName,
                        lpClassName,
                        dwExStyle};
    if (!SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        FreeTree(hwnd);
        return nullptr;
    }
    WindowState* window = manager.Find(hwnd);
    if (!window) return nullptr;
    const CRect client = CalcClient(hwnd, window->rect);
    window = manager.Find(hwnd);
    if (!window) return nullptr;
    window->client = client;
    if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        // As Windows: a window that refused to be created only hears WM_NCDESTROY.
        FreeTree(hwnd);
        return nullptr;
    }
    window = manager.Find(hwnd);
    if (!window) return nullptr;
    window->created = true;
    SendSizeAndMove(hwnd);
    NotifyParents(hwnd, WM_CREATE);
    if ((dwStyle & WS_VISIBLE) && IsWindow(hwnd)) ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hWnd)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = manager.Find(hWnd);
    if (!window || window->destroying) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    window->destroying = true;
    const bool child = (window->style & WS_CHILD) != 0;
    const HWND owner = window->owner;
    if (child) NotifyParents(hWnd, WM_DESTROY);
    if (manager.Find(hWnd) && (manager.Find(hWnd)->style & WS_VISIBLE))
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    // Windows destroys the owned windows before their owner.
    for (HWND owned : manager.OwnedWindows(hWnd)) {
        WindowState* ownedWindow = manager.Find(owned);
        if (ownedWindow && !ownedWindow->destroying) DestroyWindow(owned);
    }
    const bool wasActive = manager.m_hActive == hWnd;
    SendDestroy(hWnd);
    FreeTree(hWnd);
    if (!child && wasActive) ActivateAnother(owner);
    return TRUE;
}

BOOL IsWindow(HWND hWnd)
{
    return WindowManager::Instance().Find(hWnd) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hWnd)
{
    WindowState* window = WindowManager::Instance().Find(hWnd);
    return window && platform::ui::IsVisibleChain(*window) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window) return FALSE;
    const BOOL wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
    if (bEnable && wasDisabled) {
        window->style &= ~WS_DISABLED;
        SendMessageW(hWnd, WM_ENABLE, TRUE, 0);
    } else if (!bEnable && !wasDisabled) {
        SendMessageW(hWnd, WM_CANCELMODE, 0, 0);
        window = WindowManager::Instance().Find(hWnd);
        if (!window) return wasDisabled;
        window->style |= WS_DISABLED;
        WindowManager& manager = WindowManager::Instance();
        // A disabled window cannot keep the focus, nor can its children
        // (they are disabled with it); Windows leaves it nowhere.
        if (manager.m_hFocus && platform::ui::IsSelfOrAncestor(hWnd, manager.m_hFocus)) SetFocus(nullptr);
        SendMessageW(hWnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    WindowState* window = LookupWindow(hWnd);
    return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hWnd)
{
    WindowState* window = WindowManager::Instance().Find(hWnd);
    return window && (window->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hWnd)
{
    WindowState* window = WindowManager::Instance().Find(hWnd);
    return window && (window->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

HWND GetParent(HWND hWnd)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window) return nullptr;
    return (window->style & WS_CHILD) ? window->parent : window->owner;
}

HWND SetParent(HWND hWndChild, HWND hWndNewParent)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = LookupWindow(hWndChild);
    if (!window) return nullptr;
    if (hWndNewParent && !LookupWindow(hWndNewParent)) return nullptr;
    if (hWndNewParent && platform::ui::IsSelfOrAncestor(hWndChild, hWndNewParent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const HWND oldParent = window->parent;
    std::vector<HWND>* siblings = manager.SiblingsOf(hWndChild);
    if (siblings) siblings->erase(std::remove(siblings->begin(), siblings->end(), hWndChild), siblings->end());
    window->parent = hWndNewParent;
    std::vector<HWND>* newSiblings = manager.SiblingsOf(hWndChild);
    if (newSiblings) newSiblings->insert(newSiblings->begin(), hWndChild);
    if (window->style & WS_VISIBLE) InvalidateRect(hWndChild, nullptr, TRUE);
    return oldParent;
}

HWND GetAncestor(HWND hWnd, UINT gaFlags)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = LookupWindow(hWnd);
    if (!window) return nullptr;
    switch (gaFlags) {
    case GA_PARENT: return window->parent;
    case GA_ROOT: return manager.TopLevelOf(hWnd);
    case GA_ROOTOWNER: {
        HWND root = manager.TopLevelOf(hWnd);
        for (WindowState* top = manager.Find(root); top && top->owner; top = manager.Find(top->owner)) root = top->owner;
        return root;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
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

HWND GetWindow(HWND hWnd, UINT uCmd)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = LookupWindow(hWnd);
    if (!window) return nullptr;
    if (uCmd == GW_CHILD) return window->children.empty() ? nullptr : window->children.front();
    if (uCmd == GW_OWNER) return (window->style & WS_CHILD) ? nullptr : window->owner;
    if (uCmd == GW_ENABLEDPOPUP) return nullptr;
    std::vector<HWND>* siblings = manager.SiblingsOf(hWnd);
    if (!siblings || siblings->empty()) return nullptr;
    auto at = std::find(siblings->begin(), siblings->end(), hWnd);
    switch (uCmd) {
    case GW_HWNDFIRST: return siblings->front();
    case GW_HWNDLAST: return siblings->back();
    case GW_HWNDNEXT: return (at == siblings->end() || at + 1 == siblings->end()) ? nullptr : *(at + 1);
    case GW_HWNDPREV: return (at == siblings->end() || at == siblings->begin()) ? nullptr : *(at - 1);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HWND GetTopWindow(HWND hWnd)
{
    if (!hWnd) {
        const auto& tops = WindowManager::Instance().TopLevelWindows();
        return tops.empty() ? nullptr : tops.front();
    }
    return GetWindow(hWnd, GW_CHILD);
}

HWND GetDesktopWindow()
{
    return nullptr;
}

BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
    WindowState* parent = LookupWindow(hWndParent);
    if (!parent || !lpEnumFunc) return FALSE;
    // A snapshot: the callback may create or destroy windows.
    std::vector<HWND> list;
    std::vector<HWND> pending(parent->children.rbegin(), parent->children.rend());
    while (!pending.empty()) {
        HWND hwnd = pending.back();
        pending.pop_back();
        list.push_back(hwnd);
        WindowState* window = WindowManager::Instance().Find(hwnd);
        if (window) pending.insert(pending.end(), window->children.rbegin(), window->children.rend());
    }
    for (HWND hwnd : list)
        if (IsWindow(hwnd) && !lpEnumFunc(hwnd, lParam)) return FALSE;
    return TRUE;
}

HWND FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName)
{
    WindowManager& manager = WindowManager::Instance();
    platform::ui::WindowClassInfo* wndClass = lpClassName ? platform::ui::FindWindowClass(lpClassName) : nullptr;
    if (lpClassName && !wndClass) return nullptr;
    for (HWND top : manager.TopLevelWindows()) {
        WindowState* window = manager.Find(top);
        if (!window) continue;
        if (wndClass && window->wndClass != wndClass) continue;
        if (lpWindowName && window->text != lpWindowName) continue;
        return top;
    }
    return nullptr;
}

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString)
{
    if (!LookupWindow(hWnd)) return FALSE;
    return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : L"")) ? TRUE : FALSE;
}

int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount)
{
    if (!lpString || nMaxCount < 1) return 0;
    lpString[0] = L'\0';
    if (!LookupWindow(hWnd)) return 0;
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                         reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthW(HWND hWnd)
{
    if (!LookupWindow(hWnd)) return 0;
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

namespace {

bool ExtraOffsetValid(const WindowState& window, int nIndex, size_t size)
{
    return nIndex >= 0 && static_cast<size_t>(nIndex) + size <= window.extraBytes.size();
}

LONG_PTR* DialogField(WindowState& window, int nIndex)
{
    if (!window.dialog.isDialog) return nullptr;
    switch (nIndex) {
    case DWLP_MSGRESULT: return &window.dialog.msgResult;
    case DWLP_USER: return &window.dialog.user;
    default: return nullptr;
    }
}

// GWL_STYLE and GWL_EXSTYLE changes are announced before and after.
LONG_PTR ChangeStyle(HWND hWnd, int nIndex, DWORD newStyle)
{
    WindowState* window = WindowManager::Instance().Find(hWnd);
    DWORD& field = nIndex == GWL_STYLE ? window->style : window->exStyle;
    STYLESTRUCT change = {field, newStyle};
    const DWORD old = field;
    SendMessageW(hWnd, WM_STYLECHANGING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&change));
    window = WindowManager::Instance().Find(hWnd);
    if (!window) return old;
    DWORD& target = nIndex == GWL_STYLE ? window->style : window->exStyle;
    target = change.styleNew;
    change.styleOld = old;
    SendMessageW(hWnd, WM_STYLECHANGED, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&change));
    return static_cast<LONG_PTR>(old);
}

}  // namespace

LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window) return 0;
    switch (nIndex) {
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(window->style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(window->exStyle));
    case GWLP_ID: return static_cast<LONG_PTR>(window->id);
    case GWLP_USERDATA: return window->userData;
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window->wndProc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(window->parent ? window->parent : window->owner);
    default: break;
    }
    if (window->dialog.isDialog && nIndex == DWLP_DLGPROC) return reinterpret_cast<LONG_PTR>(window->dialog.dlgProc);
    if (LONG_PTR* field = DialogField(*window, nIndex)) return *field;
    if (!ExtraOffsetValid(*window, nIndex, sizeof(LONG_PTR))) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    LONG_PTR value = 0;
    std::memcpy(&value, window->extraBytes.data() + nIndex, sizeof(value));
    return value;
}

LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window) return 0;
    LONG_PTR previous = 0;
    switch (nIndex) {
    case GWL_STYLE:
    case GWL_EXSTYLE: return ChangeStyle(hWnd, nIndex, static_cast<DWORD>(dwNewLong));
    case GWLP_ID:
        previous = window->id;
        window->id = static_cast<UINT>(dwNewLong);
        return previous;
    case GWLP_USERDATA:
        previous = window->userData;
        window->userData = dwNewLong;
        return previous;
    case GWLP_WNDPROC:
        if (!dwNewLong) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        previous = reinterpret_cast<LONG_PTR>(window->wndProc);
        window->wndProc = reinterpret_cast<WNDPROC>(dwNewLong);
        return previous;
    case GWLP_HINSTANCE:
        previous = reinterpret_cast<LONG_PTR>(window->instance);
        window->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
        return previous;
    default: break;
    }
    if (window->dialog.isDialog && nIndex == DWLP_DLGPROC) {
        previous = reinterpret_cast<LONG_PTR>(window->dialog.dlgProc);
        window->dialog.dlgProc = reinterpret_cast<DLGPROC>(dwNewLong);
        return previous;
    }
    if (LONG_PTR* field = DialogField(*window, nIndex)) {
        previous = *field;
        *field = dwNewLong;
        return previous;
    }
    if (!ExtraOffsetValid(*window, nIndex, sizeof(LONG_PTR))) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    std::memcpy(&previous, window->extraBytes.data() + nIndex, sizeof(previous));
    std::memcpy(window->extraBytes.data() + nIndex, &dwNewLong, sizeof(dwNewLong));
    return previous;
}

LONG GetWindowLongW(HWND hWnd, int nIndex)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window) return 0;
    if (nIndex >= 0 && !window->dialog.isDialog && ExtraOffsetValid(*window, nIndex, sizeof(LONG))) {
        LONG value = 0;
        std::memcpy(&value, window->extraBytes.data() + nIndex, sizeof(value));
        return value;
    }
    return static_cast<LONG>(GetWindowLongPtrW(hWnd, nIndex));
}

LONG SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window) return 0;
    if (nIndex >= 0 && !window->dialog.isDialog && ExtraOffsetValid(*window, nIndex, sizeof(LONG))) {
        LONG previous = 0;
        std::memcpy(&previous, window->extraBytes.data() + nIndex, sizeof(previous));
        std::memcpy(window->extraBytes.data() + nIndex, &dwNewLong, sizeof(dwNewLong));
        return previous;
    }
    // The styles are 32-bit values: no sign extension into the upper half.
    if (nIndex == GWL_STYLE || nIndex == GWL_EXSTYLE)
        return static_cast<LONG>(SetWindowLongPtrW(hWnd, nIndex, static_cast<LONG_PTR>(static_cast<DWORD>(dwNewLong))));
    return static_cast<LONG>(SetWindowLongPtrW(hWnd, nIndex, dwNewLong));
}

int GetDlgCtrlID(HWND hWnd)
{
    WindowState* window = LookupWindow(hWnd);
    return window ? static_cast<int>(window->id) : 0;
}

// ---- placement ------------------------------------------------------------------

namespace {

// Windows drops the flags that would change nothing before it asks the window.
void FixupFlags(const WindowState& window, WINDOWPOS& pos)
{
    const bool visible = (window.style & WS_VISIBLE) != 0;
    if ((pos.flags & SWP_SHOWWINDOW) && visible) pos.flags &= ~SWP_SHOWWINDOW;
    if ((pos.flags & SWP_HIDEWINDOW) && !visible) pos.flags &= ~SWP_HIDEWINDOW;
    if (pos.cx < 0) pos.cx = 0;
    if (pos.cy < 0) pos.cy = 0;
    if (pos.flags & SWP_NOSIZE) {
        pos.cx = window.rect.Width();
        pos.cy = window.rect.Height();
    } else if (pos.cx == window.rect.Width() && pos.cy == window.rect.Height()) {
        pos.flags |= SWP_NOSIZE;
    }
    if (pos.flags & SWP_NOMOVE) {
        pos.x = window.rect.left;
        pos.y = window.rect.top;
    } else if (pos.x == window.rect.left && pos.y == window.rect.top) {
        pos.flags |= SWP_NOMOVE;
    }
}

// Moves `hwnd` among its siblings; the top-most band of top-level windows
// stays above the others.
void ApplyZOrder(HWND hwnd, HWND insertAfter)
{
    WindowManager& manager = WindowManager::Instance();
    std::vector<HWND>* siblings = manager.SiblingsOf(hwnd);
    WindowState* window = manager.Find(hwnd);
    if (!siblings || !window) return;
    if (insertAfter == hwnd) return;
    const bool topLevel = !window->parent;
    if (topLevel && insertAfter == HWND_TOPMOST) window->exStyle |= WS_EX_TOPMOST;
    if (topLevel && insertAfter == HWND_NOTOPMOST) window->exStyle &= ~WS_EX_TOPMOST;
    siblings->erase(std::remove(siblings->begin(), siblings->end(), hwnd), siblings->end());
    auto position = siblings->begin();
    if (insertAfter == HWND_BOTTOM) {
        position = siblings->end();
    } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        position = siblings->begin();
    } else {
        auto found = std::find(siblings->begin(), siblings->end(), insertAfter);
        position = found == siblings->end() ? siblings->begin() : found + 1;
    }
    siblings->insert(position, hwnd);
    if (!topLevel) return;
    // Keep the band: top-most windows first, in their relative order.
    std::stable_partition(siblings->begin(), siblings->end(), [&](HWND other) {
        WindowState* state = manager.Find(other);
        return state && (state->exStyle & WS_EX_TOPMOST);
    });
    manager.KeepOwnedAbove(hwnd);
}

// What a change of place, size or visibility leaves to repaint.
void InvalidateForChange(HWND hwnd, const CRect& oldRect, bool wasVisible, const WINDOWPOS& pos, bool resized)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = manager.Find(hwnd);
    if (!window || (pos.flags & SWP_NOREDRAW)) return;
    const bool visible = (window->style & WS_VISIBLE) != 0;
    const bool moved = !(pos.flags & SWP_NOMOVE);
    const bool framed = (pos.flags & SWP_FRAMECHANGED) != 0;
    // The parent shows again where the child was.
    if (window->parent && wasVisible && (!visible || moved || resized))
        RedrawWindow(window->parent, &oldRect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    if (!visible) return;
    const bool childMoved = window->parent && moved;
    if (!wasVisible || resized || framed || childMoved)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = LookupWindow(hWnd);
    if (!window) return FALSE;
    if (!(uFlags & SWP_NOZORDER) && hWndInsertAfter != HWND_TOP && hWndInsertAfter != HWND_BOTTOM &&
        hWndInsertAfter != HWND_TOPMOST && hWndInsertAfter != HWND_NOTOPMOST && !manager.Find(hWndInsertAfter)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    WINDOWPOS pos = {hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags};
    FixupFlags(*window, pos);
    if (!(pos.flags & SWP_NOSENDCHANGING)) {
        SendMessageW(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        window = manager.Find(hWnd);
        if (!window) return FALSE;
        FixupFlags(*window, pos);
    }
    const CRect oldRect = window->rect;
    const CRect oldClient = window->client;
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;

    CRect newRect = oldRect;
    if (!(pos.flags & SWP_NOMOVE)) newRect.OffsetRect(pos.x - oldRect.left, pos.y - oldRect.top);
    if (!(pos.flags & SWP_NOSIZE)) {
        newRect.right = newRect.left + pos.cx;
        newRect.bottom = newRect.top + pos.cy;
    }
    window->rect = newRect;
    const bool resized = !(pos.flags & SWP_NOSIZE);
    if (resized || (pos.flags & SWP_FRAMECHANGED)) {
        const CRect client = CalcClient(hWnd, newRect);
        window = manager.Find(hWnd);
        if (!window) return FALSE;
        window->client = client;
        const POINT originShift = {(client.left - newRect.left) - (oldClient.left - oldRect.left),
                                   (client.top - newRect.top) - (oldClient.top - oldRect.top)};
        platform::ui::detail::KeepUpdateInClient(hWnd, originShift);
    } else {
        window->client.OffsetRect(newRect.left - oldRect.left, newRect.top - oldRect.top);
    }
    if (!(pos.flags & SWP_NOZORDER)) ApplyZOrder(hWnd, pos.hwndInsertAfter);
    if (pos.flags & SWP_SHOWWINDOW) window->style |= WS_VISIBLE;
    if (pos.flags & SWP_HIDEWINDOW) window->style &= ~WS_VISIBLE;
    if (!window->parent && (resized || (pos.flags & SWP_FRAMECHANGED)))
        platform::ui::detail::ResizeWindowSurface(hWnd);
    InvalidateForChange(hWnd, oldRect, wasVisible, pos, resized);

    window = manager.Find(hWnd);
    if (!window) return FALSE;
    if (window->client.Width() == oldClient.Width() && window->client.Height() == oldClient.Height())
        pos.flags |= platform::ui::kSwpNoClientSize;
    if (window->client.left == oldClient.left && window->client.top == oldClient.top)
        pos.flags |= platform::ui::kSwpNoClientMove;
    pos.x = window->rect.left;
    pos.y = window->rect.top;
    pos.cx = window->rect.Width();
    pos.cy = window->rect.Height();
    const bool activate = (pos.flags & SWP_SHOWWINDOW) && !(pos.flags & SWP_NOACTIVATE) && !window->parent;
    SendMessageW(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    if (activate && IsWindow(hWnd)) SetActiveWindow(hWnd);
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!bRepaint) flags |= SWP_NOREDRAW;
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight, flags);
}

namespace {

// The rectangle a maximised window takes: its parent's client area, or the
// screen with the sizing frame hanging off every edge.
CRect MaximizedRect(const WindowState& window)
{
    if (window.parent) {
        WindowState* parent = WindowManager::Instance().Find(window.parent);
        if (parent) return CRect(0, 0, parent->client.Width(), parent->client.Height());
    }
    const platform::ui::FrameInsets frame = platform::ui::NonClientInsets(window.style & ~WS_CAPTION, window.exStyle, false);
    return CRect(-frame.left, -frame.top, platform::ui::ScreenWidth() + frame.right,
                 platform::ui::ScreenHeight() + frame.bottom);
}

// Minimised windows shrink to a caption bar at their place.
CRect MinimizedRect(const WindowState& window)
{
    return CRect(window.rect.left, window.rect.top, window.rect.left + GetSystemMetrics(SM_CXMIN),
                 window.rect.top + GetSystemMetrics(SM_CYMIN));
}

// Sets WS_MINIMIZE / WS_MAXIMIZE for `command` and returns the rectangle
// the window takes; the flags SetWindowPos needs go to `flags`.
CRect ChangeShowState(WindowState& window, int command, UINT& flags)
{
    const bool iconic = (window.style & WS_MINIMIZE) != 0;
    const bool zoomed = (window.style & WS_MAXIMIZE) != 0;
    switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        if (iconic) return window.rect;
        if (!zoomed) window.restoreRect = window.rect;
        window.style = (window.style & ~WS_MAXIMIZE) | WS_MINIMIZE;
        flags |= SWP_FRAMECHANGED;
        return MinimizedRect(window);
    case SW_MAXIMIZE:
        if (zoomed) return window.rect;
        if (!iconic) window.restoreRect = window.rect;
        window.style = (window.style & ~WS_MINIMIZE) | WS_MAXIMIZE;
        flags |= SWP_FRAMECHANGED;
        return MaximizedRect(window);
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        if (!iconic && !zoomed) return window.rect;
        window.style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        flags |= SWP_FRAMECHANGED;
        return window.restoreRect;
    default: return window.rect;
    }
}

}  // namespace

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = LookupWindow(hWnd);
    if (!window) return FALSE;
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;
    const bool child = (window->style & WS_CHILD) != 0;
    if (nCmdShow == SW_HIDE && !wasVisible) return FALSE;
    const bool show = nCmdShow != SW_HIDE;
    UINT flags = show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    if (nCmdShow == SW_HIDE || nCmdShow == SW_SHOWNA || nCmdShow == SW_SHOWNOACTIVATE ||
        nCmdShow == SW_SHOWMINNOACTIVE || nCmdShow == SW_MINIMIZE || child)
        flags |= SWP_NOACTIVATE;
    if (child || nCmdShow == SW_HIDE) flags |= SWP_NOZORDER;

    const CRect target = ChangeShowState(*window, nCmdShow, flags);
    if (target == window->rect) flags |= SWP_NOSIZE | SWP_NOMOVE;

    if (show != wasVisible) {
        SendMessageW(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if (!manager.Find(hWnd)) return wasVisible;
    }
    const HWND owner = window->owner;
    SetWindowPos(hWnd, HWND_TOP, target.left, target.top, target.Width(), target.Height(), flags);
    window = manager.Find(hWnd);
    if (!window || show) return wasVisible;

    // The focus leaves a hidden window: a child hands it to its parent, a
    // top-level window to the window activated in its place.
    if (manager.m_hFocus && platform::ui::IsSelfOrAncestor(hWnd, manager.m_hFocus))
        SetFocus(child ? window->parent : nullptr);
    if (!child && manager.m_hActive == hWnd) {
        manager.m_hActive = nullptr;
        SendMessageW(hWnd, WM_ACTIVATE, WA_INACTIVE, 0);
        ActivateAnother(owner);
    }
    return wasVisible;
}

BOOL BringWindowToTop(HWND hWnd)
{
    return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window || !lpRect) return FALSE;
    const POINT origin = platform::ui::WindowOriginOnScreen(*window);
    *lpRect = RECT{origin.x, origin.y, origin.x + window->rect.Width(), origin.y + window->rect.Height()};
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window || !lpRect) return FALSE;
    *lpRect = RECT{0, 0, window->client.Width(), window->client.Height()};
    return TRUE;
}

BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle)
{
    if (!lpRect) return FALSE;
    platform::ui::FrameInsets insets = platform::ui::NonClientInsets(dwStyle, dwExStyle, false);
    if (bMenu) insets.top += GetSystemMetrics(SM_CYMENU);
    lpRect->left -= insets.left;
    lpRect->top -= insets.top;
    lpRect->right += insets.right;
    lpRect->bottom += insets.bottom;
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu)
{
    return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0);
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window || !lpPoint) return FALSE;
    const POINT origin = platform::ui::ClientOriginOnScreen(*window);
    lpPoint->x += origin.x;
    lpPoint->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window || !lpPoint) return FALSE;
    const POINT origin = platform::ui::ClientOriginOnScreen(*window);
    lpPoint->x -= origin.x;
    lpPoint->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints)
{
    POINT from = {0, 0};
    POINT to = {0, 0};
    if (hWndFrom) {
        WindowState* window = LookupWindow(hWndFrom);
        if (!window) return 0;
        from = platform::ui::ClientOriginOnScreen(*window);
    }
    if (hWndTo) {
        WindowState* window = LookupWindow(hWndTo);
        if (!window) return 0;
        to = platform::ui::ClientOriginOnScreen(*window);
    }
    const int dx = from.x - to.x;
    const int dy = from.y - to.y;
    if (lpPoints) {
        for (UINT i = 0; i < cPoints; ++i) {
            lpPoints[i].x += dx;
            lpPoints[i].y += dy;
        }
    }
    SetLastError(0);
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

namespace {

bool IsTransparentTo(HWND hwnd, POINT screen)
{
    const LRESULT hit = SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    return hit == HTTRANSPARENT;
}

// The deepest window under `screen` inside `hwnd`, or null when the point
// is outside it or `hwnd` lets it through.
HWND DeepestAt(HWND hwnd, POINT screen)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = manager.Find(hwnd);
    if (!window || !(window->style & WS_VISIBLE)) return nullptr;
    RECT onScreen;
    GetWindowRect(hwnd, &onScreen);
    if (!platform::ui::RectContains(onScreen, screen)) return nullptr;
    if (window->style & WS_DISABLED) return hwnd;
    const POINT clientOrigin = platform::ui::ClientOriginOnScreen(*window);
    const RECT client = {clientOrigin.x, clientOrigin.y, clientOrigin.x + window->client.Width(),
                         clientOrigin.y + window->client.Height()};
    if (platform::ui::RectContains(client, screen)) {
        const std::vector<HWND> children = window->children;
        for (HWND child : children) {
            WindowState* state = manager.Find(child);
            if (!state || !(state->style & WS_VISIBLE)) continue;
            RECT childRect;
            GetWindowRect(child, &childRect);
            if (!platform::ui::RectContains(childRect, screen)) continue;
            if (state->style & WS_DISABLED) return hwnd;   // a disabled child gives its parent
            HWND found = DeepestAt(child, screen);
            if (found) return found;
        }
    }
    return IsTransparentTo(hwnd, screen) ? nullptr : hwnd;
}

}  // namespace

HWND WindowFromPoint(POINT Point)
{
    WindowManager& manager = WindowManager::Instance();
    const std::vector<HWND> tops = manager.TopLevelWindows();
    for (HWND top : tops) {
        HWND found = DeepestAt(top, Point);
        if (found) return found;
    }
    return nullptr;
}

HWND ChildWindowFromPointEx(HWND hWndParent, POINT pt, UINT flags)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* parent = LookupWindow(hWndParent);
    if (!parent) return nullptr;
    const RECT client = {0, 0, parent->client.Width(), parent->client.Height()};
    if (!platform::ui::RectContains(client, pt)) return nullptr;
    for (HWND child : parent->children) {
        WindowState* window = manager.Find(child);
        if (!window) continue;
        if ((flags & CWP_SKIPINVISIBLE) && !(window->style & WS_VISIBLE)) continue;
        if ((flags & CWP_SKIPDISABLED) && (window->style & WS_DISABLED)) continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (window->exStyle & WS_EX_TRANSPARENT)) continue;
        if (platform::ui::RectContains(window->rect, pt)) return child;
    }
    return hWndParent;
}

HWND ChildWindowFromPoint(HWND hWndParent, POINT pt)
{
    return ChildWindowFromPointEx(hWndParent, pt, CWP_ALL);
}
