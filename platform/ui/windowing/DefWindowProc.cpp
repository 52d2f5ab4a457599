#include "platform/ui/windowing/DefWindowProc.h"

#include <algorithm>

#include "platform/base/Kernel.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/DialogBox.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/NonClient.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowGeometry.h"
#include "platform/ui/windowing/WindowManager.h"

using platform::ui::WindowManager;
using platform::ui::WindowState;

namespace {

LRESULT SetText(WindowState& window, LPCWSTR text)
{
    window.text = text && !IS_INTRESOURCE(text) ? text : L"";
    if ((window.style & WS_CAPTION) == WS_CAPTION) window.ncPaintPending = true;
    return TRUE;
}

LRESULT GetText(const WindowState& window, WPARAM max, LPWSTR buffer)
{
    if (!buffer || max == 0) return 0;
    const int count = std::min<int>(window.text.GetLength(), static_cast<int>(std::min<WPARAM>(max - 1, 0x7FFFFFFF)));
    std::copy(window.text.GetString(), window.text.GetString() + count, buffer);
    buffer[count] = L'\0';
    return count;
}

LRESULT CalcSize(const WindowState& window, WPARAM wParam, LPARAM lParam)
{
    if (!lParam) return 0;
    RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    *rect = platform::ui::ClientFromWindowRect(*rect, window.style, window.exStyle);
    return 0;
}

LRESULT HitTest(HWND hwnd, const WindowState& window, LPARAM lParam)
{
    POINT point = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    RECT onScreen;
    GetWindowRect(hwnd, &onScreen);
    point.x -= onScreen.left;
    point.y -= onScreen.top;
    return platform::ui::NonClientHitTest(window, point);
}

LRESULT EraseBackground(HWND hwnd, const WindowState& window, HDC hdc)
{
    HBRUSH brush = window.wndClass ? window.wndClass->background : nullptr;
    if (!brush || !hdc) return 0;
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, brush);
    return 1;
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
}

void SendMoveAndSize(HWND hwnd, const WINDOWPOS* pos)
{
    if (!pos) return;
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window) return;
    if (!(pos->flags & platform::ui::kSwpNoClientMove))
        SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(window->client.left, window->client.top));
    window = WindowManager::Instance().Find(hwnd);
    if (!window || (pos->flags & platform::ui::kSwpNoClientSize)) return;
    UINT type = SIZE_RESTORED;
    if (window->style & WS_MINIMIZE) type = SIZE_MINIMIZED;
    if (window->style & WS_MAXIMIZE) type = SIZE_MAXIMIZED;
    SendMessageW(hwnd, WM_SIZE, type, MAKELPARAM(window->client.Width(), window->client.Height()));
}

LPCWSTR CursorForHit(int hit)
{
    switch (hit) {
    case HTLEFT:
    case HTRIGHT: return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM: return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return IDC_SIZENESW;
    default: return IDC_ARROW;
    }
}

// The parent decides first; a client area takes its class cursor.
LRESULT ChooseCursor(HWND hwnd, const WindowState& window, WPARAM wParam, LPARAM lParam)
{
    if ((window.style & WS_CHILD) && window.parent) {
        if (SendMessageW(window.parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
    }
    WindowState* self = WindowManager::Instance().Find(hwnd);
    if (!self) return FALSE;
    const int hit = static_cast<SHORT>(LOWORD(lParam));
    if (hit == HTCLIENT) {
        HCURSOR cursor = self->wndClass ? self->wndClass->Cursor() : nullptr;
        if (!cursor) return FALSE;
        SetCursor(cursor);
        return TRUE;
    }
    if (hit == HTERROR || hit == HTNOWHERE) return FALSE;
    SetCursor(LoadCursorW(nullptr, CursorForHit(hit)));
    return TRUE;
}

LRESULT MouseActivate(const WindowState& window, WPARAM wParam, LPARAM lParam)
{
    if ((window.style & WS_CHILD) && window.parent) {
        const LRESULT answer = SendMessageW(window.parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (answer) return answer;
    }
    return (HIWORD(lParam) == WM_LBUTTONDOWN && LOWORD(lParam) == HTCAPTION) ? MA_NOACTIVATE : MA_ACTIVATE;
}

// The classic scheme: edit-like controls on the window colour, the rest on the button face.
LRESULT ControlColor(UINT message, HDC hdc)
{
    const bool windowLike = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORMSGBOX;
    const int background = windowLike ? COLOR_WINDOW : COLOR_BTNFACE;
    if (hdc) {
        SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(hdc, GetSysColor(background));
    }
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

// A click on a window scroll bar scrolls one step, as a click that is let
// go at once does on Windows.
LRESULT ScrollBarClick(HWND hwnd, WPARAM hit, LPARAM lParam)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window) return 0;
    const int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
    POINT point = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    RECT onScreen;
    GetWindowRect(hwnd, &onScreen);
    point.x -= onScreen.left;
    point.y -= onScreen.top;
    const int part = platform::ui::ScrollBarPartAt(*window, bar, point);
    if (part == SB_THUMBTRACK) {
        platform::ui::detail::BeginScrollThumbTrack(hwnd, bar, platform::ui::ScrollThumbGrab(*window, bar, point));
        return 0;
    }
    if (part < 0) return 0;
    const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    SendMessageW(hwnd, message, MAKEWPARAM(part, 0), 0);
    SendMessageW(hwnd, message, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    return 0;
}

LRESULT SysCommand(HWND hwnd, WPARAM command)
{
    switch (command & 0xFFF0) {
    case SC_CLOSE: SendMessageW(hwnd, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
    default: break;
    }
    return 0;
}

void FillMinMax(MINMAXINFO* info)
{
    if (!info) return;
    info->ptMaxSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    info->ptMaxPosition = POINT{-GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME)};
    info->ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
}

}  // namespace

LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    WindowState* window = WindowManager::Instance().Find(hWnd);
    if (!window) return 0;
    switch (Msg) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (cs) SetText(*window, cs->lpszName);
        return TRUE;
    }
    case WM_NCCALCSIZE: return CalcSize(*window, wParam, lParam);
    case WM_NCHITTEST: return HitTest(hWnd, *window, lParam);
    case WM_NCPAINT: platform::ui::PaintNonClient(hWnd); return 0;
    case WM_NCACTIVATE:
        if ((window->style & WS_CAPTION) == WS_CAPTION) window->ncPaintPending = true;
        return TRUE;
    case WM_SETTEXT: return SetText(*window, reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT: return GetText(*window, wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH: return window->text.GetLength();
    case WM_PAINT: Paint(hWnd); return 0;
    case WM_ERASEBKGND: return EraseBackground(hWnd, *window, reinterpret_cast<HDC>(wParam));
    case WM_WINDOWPOSCHANGED: SendMoveAndSize(hWnd, reinterpret_cast<const WINDOWPOS*>(lParam)); return 0;
    case WM_GETMINMAXINFO: FillMinMax(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_CLOSE:
        // A window under a running modal pop-up stays: the loop and its
        // caller still use what it holds.
        if (!platform::ui::OwnsRunningModal(hWnd)) DestroyWindow(hWnd);
        return 0;
    case WM_SETCURSOR: return ChooseCursor(hWnd, *window, wParam, lParam);
    case WM_MOUSEACTIVATE: return MouseActivate(*window, wParam, lParam);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !(window->style & WS_MINIMIZE)) SetFocus(hWnd);
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return ControlColor(Msg, reinterpret_cast<HDC>(wParam));
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
    case WM_HELP:
        // Windows passes these up until somebody takes them.
        if ((window->style & WS_CHILD) && window->parent) return SendMessageW(window->parent, Msg, wParam, lParam);
        return 0;
    case WM_SETICON: {
        HICON& slot = wParam ? window->iconBig : window->iconSmall;
        HICON previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETICON: return reinterpret_cast<LRESULT>(wParam ? window->iconBig : window->iconSmall);
    case WM_QUERYDRAGICON: return reinterpret_cast<LRESULT>(window->wndClass ? window->wndClass->icon : nullptr);
    case WM_NCLBUTTONDOWN:
        if (wParam == HTVSCROLL || wParam == HTHSCROLL) return ScrollBarClick(hWnd, wParam, lParam);
        if (wParam == HTCLOSE) return SendMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
        return 0;
    case WM_SYSCOMMAND: return SysCommand(hWnd, wParam);
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (HIWORD(lParam) & 0x2000)) {
            HWND top = WindowManager::Instance().TopLevelOf(hWnd);
            PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SETREDRAW: window->redrawOff = !wParam; return 0;
    case WM_PRINT:
        if (lParam & PRF_ERASEBKGND) SendMessageW(hWnd, WM_ERASEBKGND, wParam, 0);
        if (lParam & PRF_CLIENT) SendMessageW(hWnd, WM_PRINTCLIENT, wParam, lParam);
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == hWnd) ReleaseCapture();
        return 0;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: return -1;
    default: return 0;
    }
}

// ---- window scroll bars -----------------------------------------------------------

namespace {

platform::ui::ScrollBarState* BarOf(HWND hwnd, int nBar)
{
    WindowState* window = platform::ui::LookupWindow(hwnd);
    if (!window) return nullptr;
    if (nBar == SB_VERT) return &window->vscroll;
    if (nBar == SB_HORZ) return &window->hscroll;
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

int MaxPos(const platform::ui::ScrollBarState& bar)
{
    return std::max(bar.min, bar.max - std::max(static_cast<int>(bar.page) - 1, 0));
}

void RedrawBars(HWND hwnd)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (window && platform::ui::IsVisibleChain(*window)) window->ncPaintPending = true;
}

}  // namespace

int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw)
{
    if (!lpsi) return 0;
    if (nBar == SB_CTL) return static_cast<int>(SendMessageW(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(lpsi)));
    platform::ui::ScrollBarState* bar = BarOf(hwnd, nBar);
    if (!bar) return 0;
    bool changedParams = false;
    if ((lpsi->fMask & SIF_RANGE) && lpsi->nMin <= lpsi->nMax &&
        static_cast<unsigned>(lpsi->nMax - lpsi->nMin) < 0x80000000u) {
        changedParams = bar->min != lpsi->nMin || bar->max != lpsi->nMax;
        bar->min = lpsi->nMin;
        bar->max = lpsi->nMax;
    }
    if (lpsi->fMask & SIF_PAGE) {
        changedParams = changedParams || bar->page != lpsi->nPage;
        bar->page = lpsi->nPage;
    }
    const unsigned range = static_cast<unsigned>(bar->max - bar->min) + 1;
    if (bar->page > range) bar->page = range;
    if (lpsi->fMask & SIF_POS) bar->pos = lpsi->nPos;
    bar->pos = std::clamp(bar->pos, bar->min, MaxPos(*bar));
    const int pos = bar->pos;

    // Windows shows a window scroll bar when its parameters call for one and
    // hides it when they do not, unless told to disable it instead.
    if (lpsi->fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
        const bool useless = bar->min >= bar->max - std::max(static_cast<int>(bar->page) - 1, 0);
        if (useless && (lpsi->fMask & SIF_DISABLENOSCROLL))
            bar->disabledArrows = ESB_DISABLE_BOTH;
        else if (useless && changedParams)
            ShowScrollBar(hwnd, nBar, FALSE);
        else if (!useless && lpsi->fMask != SIF_PAGE) {
            bar->disabledArrows = ESB_ENABLE_BOTH;
            if (changedParams) ShowScrollBar(hwnd, nBar, TRUE);
        }
    }
    if (redraw) RedrawBars(hwnd);
    return pos;
}

BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi)
{
    if (!lpsi) return FALSE;
    if (nBar == SB_CTL) return SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(lpsi)) ? TRUE : FALSE;
    platform::ui::ScrollBarState* bar = BarOf(hwnd, nBar);
    if (!bar) return FALSE;
    if (lpsi->fMask & SIF_RANGE) {
        lpsi->nMin = bar->min;
        lpsi->nMax = bar->max;
    }
    if (lpsi->fMask & SIF_PAGE) lpsi->nPage = bar->page;
    if (lpsi->fMask & SIF_POS) lpsi->nPos = bar->pos;
    if (lpsi->fMask & SIF_TRACKPOS) lpsi->nTrackPos = bar->trackPos;
    return TRUE;
}

int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    if (nBar == SB_CTL) return static_cast<int>(SendMessageW(hWnd, SBM_SETPOS, static_cast<WPARAM>(nPos), bRedraw));
    platform::ui::ScrollBarState* bar = BarOf(hWnd, nBar);
    if (!bar) return 0;
    const int previous = bar->pos;
    SCROLLINFO info = {sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    SetScrollInfo(hWnd, nBar, &info, bRedraw);
    return previous;
}

int GetScrollPos(HWND hWnd, int nBar)
{
    if (nBar == SB_CTL) return static_cast<int>(SendMessageW(hWnd, SBM_GETPOS, 0, 0));
    platform::ui::ScrollBarState* bar = BarOf(hWnd, nBar);
    return bar ? bar->pos : 0;
}

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    if (nBar == SB_CTL) {
        SendMessageW(hWnd, bRedraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(nMinPos), nMaxPos);
        return TRUE;
    }
    if (!BarOf(hWnd, nBar)) return FALSE;
    if (nMinPos > nMaxPos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SCROLLINFO info = {sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    SetScrollInfo(hWnd, nBar, &info, bRedraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos)
{
    if (!lpMinPos || !lpMaxPos) return FALSE;
    if (nBar == SB_CTL) {
        SendMessageW(hWnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(lpMinPos), reinterpret_cast<LPARAM>(lpMaxPos));
        return TRUE;
    }
    platform::ui::ScrollBarState* bar = BarOf(hWnd, nBar);
    if (!bar) return FALSE;
    *lpMinPos = bar->min;
    *lpMaxPos = bar->max;
    return TRUE;
}

BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow)
{
    WindowState* window = platform::ui::LookupWindow(hWnd);
    if (!window) return FALSE;
    if (wBar == SB_CTL) {
        ShowWindow(hWnd, bShow ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    DWORD bits = 0;
    if (wBar == SB_VERT || wBar == SB_BOTH) bits |= WS_VSCROLL;
    if (wBar == SB_HORZ || wBar == SB_BOTH) bits |= WS_HSCROLL;
    if (!bits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD style = bShow ? (window->style | bits) : (window->style & ~bits);
    if (style == window->style) return TRUE;
    window->style = style;
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows)
{
    if (wSBflags == SB_CTL) {
        SendMessageW(hWnd, SBM_ENABLE_ARROWS, wArrows, 0);
        return TRUE;
    }
    WindowState* window = platform::ui::LookupWindow(hWnd);
    if (!window) return FALSE;
    if (wSBflags == SB_VERT || wSBflags == SB_BOTH) window->vscroll.disabledArrows = wArrows;
    if (wSBflags == SB_HORZ || wSBflags == SB_BOTH) window->hscroll.disabledArrows = wArrows;
    RedrawBars(hWnd);
    return TRUE;
}
