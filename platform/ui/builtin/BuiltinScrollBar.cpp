// The "ScrollBar" class: a scroll bar control (SBS_HORZ, SBS_VERT) with its
// range, page and position (SBM_ messages, and SetScrollInfo and its
// relatives with SB_CTL). The control never moves itself: it tells its
// parent what the user does with WM_HSCROLL or WM_VSCROLL (lParam the
// control) and the parent sets the new position, as on Windows:
//
// - an arrow or the trough: SB_LINEUP / SB_PAGEUP (…DOWN) at once, again
//   after the repeat delay on the desktop's clock while the button stays
//   down, and SB_ENDSCROLL when it is let go;
// - the thumb: SB_THUMBTRACK with the position under the mouse while it is
//   dragged, then SB_THUMBPOSITION and SB_ENDSCROLL;
// - the keyboard (when it has the focus): the arrows, Page Up and Down,
//   Home and End, and SB_ENDSCROLL when the key goes up.
//
// A new scroll bar control has an empty range (0 to 0).
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/ui/builtin/ControlPaint.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/ControlSupport.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Rects.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

namespace {

const UINT_PTR kRepeatTimer = 1;
const UINT kFirstRepeatDelay = 200;   // milliseconds before a held arrow repeats
const UINT kRepeatDelay = 50;         // milliseconds between repeats
const int kMinimumThumb = 8;          // pixels

struct ScrollBarControl : WindowExtra {
    int min = 0;
    int max = 0;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;                 // the position under the dragged thumb
    UINT disabledArrows = 0;          // ESB_DISABLE_* bits
    int held = -1;                    // the part the left button holds (SB_LINEUP…), -1 none
    int dragOffset = 0;               // pixels from the thumb's start to where it was grabbed
    bool repeating = false;           // the repeat timer runs at its short period
};

ScrollBarControl* State(HWND hwnd)
{
    return ControlState<ScrollBarControl>(hwnd);
}

bool IsVertical(HWND hwnd)
{
    return (static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & SBS_VERT) != 0;
}

int MaxPos(const ScrollBarControl& bar)
{
    return std::max(bar.min, bar.max - std::max(static_cast<int>(bar.page) - 1, 0));
}

// ---- geometry, along the bar ------------------------------------------------------------------

struct Layout {
    int length = 0;       // pixels along the bar
    int arrow = 0;        // pixels of each arrow
    int thumbStart = 0;   // from the bar's start
    int thumbLength = 0;  // 0: no thumb (nothing to scroll or no room)
};

Layout LayOut(HWND hwnd, const ScrollBarControl& bar, int position)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    const bool vertical = IsVertical(hwnd);
    Layout layout;
    layout.length = vertical ? client.bottom : client.right;
    const int thickness = vertical ? client.right : client.bottom;
    layout.arrow = std::min(std::max(thickness, 1), layout.length / 2);
    const int track = layout.length - 2 * layout.arrow;
    const int span = MaxPos(bar) - bar.min;
    if (track <= 0 || bar.max <= bar.min || span <= 0) return layout;
    const unsigned range = static_cast<unsigned>(bar.max - bar.min) + 1;
    int thumb = bar.page ? static_cast<int>(static_cast<long long>(track) * bar.page / range)
                         : GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
    thumb = std::clamp(thumb, std::min(kMinimumThumb, track), track);
    if (thumb >= track) return layout;
    layout.thumbLength = thumb;
    const int clamped = std::clamp(position, bar.min, MaxPos(bar));
    layout.thumbStart =
        layout.arrow + static_cast<int>(static_cast<long long>(track - thumb) * (clamped - bar.min) / span);
    return layout;
}

// The part at `along` pixels from the bar's start: SB_LINEUP, SB_PAGEUP, SB_THUMBTRACK, SB_PAGEDOWN, SB_LINEDOWN.
int PartAt(const Layout& layout, int along)
{
    if (along < layout.arrow) return SB_LINEUP;
    if (along >= layout.length - layout.arrow) return SB_LINEDOWN;
    if (layout.thumbLength == 0) return -1;
    if (along < layout.thumbStart) return SB_PAGEUP;
    if (along < layout.thumbStart + layout.thumbLength) return SB_THUMBTRACK;
    return SB_PAGEDOWN;
}

int Along(HWND hwnd, LPARAM lParam)
{
    return IsVertical(hwnd) ? static_cast<SHORT>(HIWORD(lParam)) : static_cast<SHORT>(LOWORD(lParam));
}

// The position a thumb grabbed at dragOffset would have with the mouse at `along`.
int PositionAt(HWND hwnd, const ScrollBarControl& bar, int along)
{
    const Layout layout = LayOut(hwnd, bar, bar.pos);
    const int track = layout.length - 2 * layout.arrow - layout.thumbLength;
    if (track <= 0) return bar.pos;
    const int start = std::clamp(along - bar.dragOffset - layout.arrow, 0, track);
    const int span = MaxPos(bar) - bar.min;
    return bar.min + static_cast<int>((static_cast<long long>(start) * span + track / 2) / track);
}

// ---- notifications -----------------------------------------------------------------------

void Tell(HWND hwnd, int code, int position = 0)
{
    HWND parent = GetParent(hwnd);
    if (!parent) return;
    const UINT message = IsVertical(hwnd) ? WM_VSCROLL : WM_HSCROLL;
    SendMessageW(parent, message, MAKEWPARAM(code, static_cast<WORD>(position)), reinterpret_cast<LPARAM>(hwnd));
}

bool ArrowDisabled(const ScrollBarControl& bar, int part)
{
    if (part == SB_LINEUP) return (bar.disabledArrows & ESB_DISABLE_UP) != 0;
    if (part == SB_LINEDOWN) return (bar.disabledArrows & ESB_DISABLE_DOWN) != 0;
    return false;
}

// ---- the mouse ---------------------------------------------------------------------------

void Redraw(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, FALSE);
}

void ButtonDown(HWND hwnd, LPARAM lParam)
{
    ScrollBarControl* bar = State(hwnd);
    if (!bar) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if ((style & WS_TABSTOP) && GetFocus() != hwnd) SetFocus(hwnd);
    bar = State(hwnd);
    if (!bar) return;
    const Layout layout = LayOut(hwnd, *bar, bar->pos);
    const int along = Along(hwnd, lParam);
    const int part = PartAt(layout, along);
    if (part < 0 || ArrowDisabled(*bar, part) || bar->disabledArrows == ESB_DISABLE_BOTH) return;
    bar->held = part;
    SetCapture(hwnd);
    bar = State(hwnd);
    if (!bar) return;
    if (part == SB_THUMBTRACK) {
        bar->dragOffset = along - layout.thumbStart;
        bar->trackPos = bar->pos;
        Redraw(hwnd);
        return;
    }
    bar->repeating = false;
    SetTimer(hwnd, kRepeatTimer, kFirstRepeatDelay, nullptr);
    Redraw(hwnd);
    Tell(hwnd, part);
}

void MouseMove(HWND hwnd, LPARAM lParam)
{
    ScrollBarControl* bar = State(hwnd);
    if (!bar || bar->held != SB_THUMBTRACK || GetCapture() != hwnd) return;
    const int position = PositionAt(hwnd, *bar, Along(hwnd, lParam));
    if (position == bar->trackPos) return;
    bar->trackPos = position;
    Redraw(hwnd);
    Tell(hwnd, SB_THUMBTRACK, position);
}

void Release(HWND hwnd, bool notify)
{
    ScrollBarControl* bar = State(hwnd);
    if (!bar || bar->held < 0) return;
    const int held = bar->held;
    const int trackPos = bar->trackPos;
    bar->held = -1;
    KillTimer(hwnd, kRepeatTimer);
    if (GetCapture() == hwnd) ReleaseCapture();
    Redraw(hwnd);
    if (!notify) return;
    if (held == SB_THUMBTRACK) Tell(hwnd, SB_THUMBPOSITION, trackPos);
    if (IsWindow(hwnd)) Tell(hwnd, SB_ENDSCROLL);
}

void Repeat(HWND hwnd)
{
    ScrollBarControl* bar = State(hwnd);
    if (!bar || bar->held < 0 || bar->held == SB_THUMBTRACK) return;
    if (!bar->repeating) {
        bar->repeating = true;
        SetTimer(hwnd, kRepeatTimer, kRepeatDelay, nullptr);
    }
    // The trough stops repeating once the thumb has reached the mouse.
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    ScreenToClient(hwnd, &cursor);
    const int along = IsVertical(hwnd) ? cursor.y : cursor.x;
    if (PartAt(LayOut(hwnd, *bar, bar->pos), along) != bar->held) return;
    Tell(hwnd, bar->held);
}

// ---- the keyboard ------------------------------------------------------------------------

void KeyDown(HWND hwnd, UINT vk)
{
    int code = -1;
    switch (vk) {
    case VK_UP:
    case VK_LEFT: code = SB_LINEUP; break;
    case VK_DOWN:
    case VK_RIGHT: code = SB_LINEDOWN; break;
    case VK_PRIOR: code = SB_PAGEUP; break;
    case VK_NEXT: code = SB_PAGEDOWN; break;
    case VK_HOME: code = SB_TOP; break;
    case VK_END: code = SB_BOTTOM; break;
    default: return;
    }
    Tell(hwnd, code);
}

void KeyUp(HWND hwnd, UINT vk)
{
    switch (vk) {
    case VK_UP:
    case VK_LEFT:
    case VK_DOWN:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END: Tell(hwnd, SB_ENDSCROLL); return;
    default: return;
    }
}

// ---- painting ----------------------------------------------------------------------------

RECT Span(HWND hwnd, int from, int to)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    if (IsVertical(hwnd)) return RECT{0, from, client.right, to};
    return RECT{from, 0, to, client.bottom};
}

void DrawArrow(HWND hwnd, HDC hdc, RECT rect, bool down, bool pressed, bool disabled)
{
    FillRect(hdc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(hdc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int cx = (rect.left + rect.right) / 2 + (pressed ? 1 : 0);
    const int cy = (rect.top + rect.bottom) / 2 + (pressed ? 1 : 0);
    HBRUSH ink = GetSysColorBrush(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    const bool vertical = IsVertical(hwnd);
    for (int row = 0; row < 4; ++row) {
        // Rows of the triangle from its tip: 1, 3, 5, 7 pixels; the tip points away from the track.
        const int offset = down ? 1 - row : row - 2;
        const RECT stroke = vertical ? RECT{cx - row, cy + offset, cx + row + 1, cy + offset + 1}
                                     : RECT{cx + offset, cy - row, cx + offset + 1, cy + row + 1};
        FillRect(hdc, &stroke, ink);
    }
}

void Paint(HWND hwnd)
{
    ControlPaint paint(hwnd);
    ScrollBarControl* bar = State(hwnd);
    if (!paint || !bar) return;
    const HDC hdc = paint.Dc();
    const HBRUSH trough = ControlColors(hwnd, hdc, WM_CTLCOLORSCROLLBAR);
    bar = State(hwnd);
    if (bar) {
        const bool enabled = IsWindowEnabled(hwnd) != FALSE;
        const Layout layout = LayOut(hwnd, *bar, bar->held == SB_THUMBTRACK ? bar->trackPos : bar->pos);
        RECT whole = Span(hwnd, 0, layout.length);
        FillRect(hdc, &whole, trough);
        if (bar->held == SB_PAGEUP || bar->held == SB_PAGEDOWN) {
            const RECT pressed = bar->held == SB_PAGEUP ? Span(hwnd, layout.arrow, layout.thumbStart)
                                                        : Span(hwnd, layout.thumbStart + layout.thumbLength,
                                                               layout.length - layout.arrow);
            FillRect(hdc, &pressed, GetSysColorBrush(COLOR_3DDKSHADOW));
        }
        const bool noThumb = layout.thumbLength == 0;
        DrawArrow(hwnd, hdc, Span(hwnd, 0, layout.arrow), false, bar->held == SB_LINEUP,
                  !enabled || noThumb || ArrowDisabled(*bar, SB_LINEUP));
        DrawArrow(hwnd, hdc, Span(hwnd, layout.length - layout.arrow, layout.length), true, bar->held == SB_LINEDOWN,
                  !enabled || noThumb || ArrowDisabled(*bar, SB_LINEDOWN));
        if (!noThumb && enabled) {
            RECT thumb = Span(hwnd, layout.thumbStart, layout.thumbStart + layout.thumbLength);
            FillRect(hdc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
            DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT);
        }
    }
}

// ---- the SBM_ messages --------------------------------------------------------------------

int SetInfo(HWND hwnd, const SCROLLINFO* info, bool redraw)
{
    ScrollBarControl* bar = State(hwnd);
    if (!bar || !info) return 0;
    if ((info->fMask & SIF_RANGE) && info->nMin <= info->nMax &&
        static_cast<unsigned>(info->nMax - info->nMin) < 0x80000000u) {
        bar->min = info->nMin;
        bar->max = info->nMax;
    }
    if (info->fMask & SIF_PAGE) bar->page = info->nPage;
    const unsigned range = static_cast<unsigned>(bar->max - bar->min) + 1;
    if (bar->page > range) bar->page = range;
    if (info->fMask & SIF_POS) bar->pos = info->nPos;
    bar->pos = std::clamp(bar->pos, bar->min, MaxPos(*bar));
    if (redraw) Redraw(hwnd);
    return bar->pos;
}

BOOL GetInfo(const ScrollBarControl& bar, SCROLLINFO* info)
{
    if (!info) return FALSE;
    if (info->fMask & SIF_RANGE) {
        info->nMin = bar.min;
        info->nMax = bar.max;
    }
    if (info->fMask & SIF_PAGE) info->nPage = bar.page;
    if (info->fMask & SIF_POS) info->nPos = bar.pos;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = bar.held == SB_THUMBTRACK ? bar.trackPos : bar.pos;
    return (info->fMask & SIF_ALL) != 0;
}

LRESULT SetPos(HWND hwnd, int position, bool redraw)
{
    ScrollBarControl* bar = State(hwnd);
    if (!bar) return 0;
    const int previous = bar->pos;
    SCROLLINFO info = {sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, position, 0};
    SetInfo(hwnd, &info, redraw);
    return previous;
}

LRESULT SetRange(HWND hwnd, int min, int max, bool redraw)
{
    ScrollBarControl* bar = State(hwnd);
    if (!bar) return 0;
    const int previous = bar->pos;
    SCROLLINFO info = {sizeof(SCROLLINFO), SIF_RANGE, std::min(min, max), std::max(min, max), 0, 0, 0};
    SetInfo(hwnd, &info, redraw);
    bar = State(hwnd);
    // The previous position when the range moved it, else 0.
    return bar && bar->pos != previous ? previous : 0;
}

LRESULT ScrollBarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ScrollBarControl* bar = State(hwnd);
    if (!bar) return 0;
    switch (message) {
    case SBM_SETPOS: return SetPos(hwnd, static_cast<int>(static_cast<INT_PTR>(wParam)), lParam != 0);
    case SBM_GETPOS: return bar->pos;
    case SBM_SETRANGE:
        return SetRange(hwnd, static_cast<int>(static_cast<INT_PTR>(wParam)), static_cast<int>(lParam), false);
    case SBM_SETRANGEREDRAW:
        return SetRange(hwnd, static_cast<int>(static_cast<INT_PTR>(wParam)), static_cast<int>(lParam), true);
    case SBM_GETRANGE:
        if (wParam) *reinterpret_cast<int*>(wParam) = bar->min;
        if (lParam) *reinterpret_cast<int*>(lParam) = bar->max;
        return 0;
    case SBM_ENABLE_ARROWS:
        bar->disabledArrows = static_cast<UINT>(wParam) & ESB_DISABLE_BOTH;
        Redraw(hwnd);
        return TRUE;
    case SBM_SETSCROLLINFO: return SetInfo(hwnd, reinterpret_cast<const SCROLLINFO*>(lParam), wParam != 0);
    case SBM_GETSCROLLINFO: return GetInfo(*bar, reinterpret_cast<SCROLLINFO*>(lParam));
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_ERASEBKGND: return 1;   // the trough is painted with the rest
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_ENABLE: Redraw(hwnd); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: ButtonDown(hwnd, lParam); return 0;
    case WM_MOUSEMOVE: MouseMove(hwnd, lParam); return 0;
    case WM_LBUTTONUP: Release(hwnd, true); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) Release(hwnd, true);
        return 0;
    case WM_TIMER:
        if (wParam == kRepeatTimer) Repeat(hwnd);
        return 0;
    case WM_KEYDOWN: KeyDown(hwnd, static_cast<UINT>(wParam)); return 0;
    case WM_KEYUP: KeyUp(hwnd, static_cast<UINT>(wParam)); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Redraw(hwnd); return 0;
    case WM_DESTROY: KillTimer(hwnd, kRepeatTimer); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const SystemClass s_scrollBarClass(WC_SCROLLBAR, &ScrollBarWndProc, CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW | CS_PARENTDC,
                                   IDC_ARROW, 0, 0);

}  // namespace

}  // namespace platform::ui
