#include "platform/ui/windowing/NonClient.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/WindowGeometry.h"

namespace platform::ui {

namespace {

// The frame outside the client edge, as Windows measures it: an outer
// edge for dialog and sizing frames, one more pixel of sizing border, and
// the plain border line.
int OuterFrame(DWORD style, DWORD exStyle)
{
    int adjust = 0;
    if ((exStyle & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE)
        adjust = 1;
    else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_THICKFRAME | WS_DLGFRAME)))
        adjust = 2;
    if (style & WS_THICKFRAME) adjust += GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXDLGFRAME);
    if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) ++adjust;
    return adjust;
}

bool HasCaption(DWORD style)
{
    return (style & WS_CAPTION) == WS_CAPTION;
}

int CaptionHeight(DWORD exStyle)
{
    return GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

// The client rectangle in window coordinates.
RECT ClientInWindow(const WindowState& window)
{
    return RECT{window.client.left - window.rect.left, window.client.top - window.rect.top,
                window.client.right - window.rect.left, window.client.bottom - window.rect.top};
}

void Fill(HDC hdc, const RECT& rect, int sysColor)
{
    if (IsEmptyRect(rect)) return;
    FillRect(hdc, &rect, GetSysColorBrush(sysColor));
}

// A one-pixel edge around `rect`: `topLeft` on the top and left sides, `bottomRight` on the others.
void Edge(HDC hdc, const RECT& rect, int topLeft, int bottomRight)
{
    Fill(hdc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, topLeft);
    Fill(hdc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, topLeft);
    Fill(hdc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
    Fill(hdc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
}

RECT Deflate(RECT rect, int by)
{
    rect.left += by;
    rect.top += by;
    rect.right -= by;
    rect.bottom -= by;
    return rect;
}

void RaisedBox(HDC hdc, const RECT& rect)
{
    Fill(hdc, rect, COLOR_BTNFACE);
    Edge(hdc, rect, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    Edge(hdc, Deflate(rect, 1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}

struct ThumbGeometry {
    int start = 0;   // along the bar, from its start, pixels
    int length = 0;  // 0: no thumb
};

ThumbGeometry Thumb(const ScrollBarState& bar, int barLength, int arrow)
{
    ThumbGeometry thumb;
    const int track = barLength - 2 * arrow;
    const int range = bar.max - bar.min + 1;
    if (track <= 0 || range <= 0 || bar.disabledArrows == ESB_DISABLE_BOTH) return thumb;
    if (bar.page > 0 && static_cast<int>(bar.page) >= range) return thumb;
    int length = bar.page ? static_cast<int>(static_cast<long long>(track) * bar.page / range) : arrow;
    length = std::clamp(length, std::min(8, track), track);
    const int span = range - std::max(1, static_cast<int>(bar.page));
    const int offset = span > 0 ? static_cast<int>(static_cast<long long>(track - length) * (bar.pos - bar.min) / span) : 0;
    thumb.start = arrow + std::clamp(offset, 0, track - length);
    thumb.length = length;
    return thumb;
}

void PaintScrollBar(HDC hdc, const WindowState& window, int which)
{
    const RECT rect = ScrollBarRect(window, which);
    if (IsEmptyRect(rect)) return;
    const bool vertical = which == SB_VERT;
    const ScrollBarState& bar = vertical ? window.vscroll : window.hscroll;
    const int arrow = vertical ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL);
    const int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    const int shown = std::min(arrow, length / 2);
    Fill(hdc, rect, COLOR_SCROLLBAR);
    auto along = [&](int from, int to) {
        return vertical ? RECT{rect.left, rect.top + from, rect.right, rect.top + to}
                        : RECT{rect.left + from, rect.top, rect.left + to, rect.bottom};
    };
    RaisedBox(hdc, along(0, shown));
    RaisedBox(hdc, along(length - shown, length));
    const ThumbGeometry thumb = Thumb(bar, length, shown);
    if (thumb.length > 0) RaisedBox(hdc, along(thumb.start, thumb.start + thumb.length));
}

void PaintCaption(HDC hdc, HWND hwnd, const WindowState& window)
{
    RECT caption = CaptionRect(window);
    if (IsEmptyRect(caption)) return;
    const bool active = GetActiveWindow() == hwnd;
    Fill(hdc, RECT{caption.left, caption.bottom - 1, caption.right, caption.bottom}, COLOR_BTNFACE);
    caption.bottom -= 1;
    Fill(hdc, caption, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    if (window.text.IsEmpty()) return;
    const int saved = SaveDC(hdc);
    SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    IntersectClipRect(hdc, caption.left, caption.top, caption.right, caption.bottom);
    SIZE extent = {0, 0};
    GetTextExtentPoint32W(hdc, window.text.GetString(), window.text.GetLength(), &extent);
    const int y = caption.top + (caption.bottom - caption.top - extent.cy) / 2;
    TextOutW(hdc, caption.left + 3, y, window.text.GetString(), window.text.GetLength());
    RestoreDC(hdc, saved);
}

}  // namespace

FrameInsets NonClientInsets(DWORD style, DWORD exStyle, bool withScrollBars)
{
    FrameInsets insets;
    const int outer = OuterFrame(style, exStyle);
    insets.left = insets.top = insets.right = insets.bottom = outer;
    if (HasCaption(style)) insets.top += CaptionHeight(exStyle);
    if (exStyle & WS_EX_CLIENTEDGE) {
        insets.left += GetSystemMetrics(SM_CXEDGE);
        insets.right += GetSystemMetrics(SM_CXEDGE);
        insets.top += GetSystemMetrics(SM_CYEDGE);
        insets.bottom += GetSystemMetrics(SM_CYEDGE);
    }
    if (withScrollBars) {
        if (style & WS_VSCROLL) insets.right += GetSystemMetrics(SM_CXVSCROLL);
        if (style & WS_HSCROLL) insets.bottom += GetSystemMetrics(SM_CYHSCROLL);
    }
    return insets;
}

RECT ClientFromWindowRect(const RECT& window, DWORD style, DWORD exStyle)
{
    const FrameInsets insets = NonClientInsets(style, exStyle, true);
    RECT client = {window.left + insets.left, window.top + insets.top, window.right - insets.right,
                   window.bottom - insets.bottom};
    // A window smaller than its frame keeps an empty client area at its top left.
    if (client.right < client.left) client.right = client.left;
    if (client.bottom < client.top) client.bottom = client.top;
    return client;
}

RECT CaptionRect(const WindowState& window)
{
    if (!HasCaption(window.style)) return RECT{0, 0, 0, 0};
    const int outer = OuterFrame(window.style, window.exStyle);
    return RECT{outer, outer, window.rect.Width() - outer, outer + CaptionHeight(window.exStyle)};
}

RECT ScrollBarRect(const WindowState& window, int bar)
{
    const RECT client = ClientInWindow(window);
    if (bar == SB_VERT && (window.style & WS_VSCROLL))
        return RECT{client.right, client.top, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom};
    if (bar == SB_HORZ && (window.style & WS_HSCROLL))
        return RECT{client.left, client.bottom, client.right, client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
    return RECT{0, 0, 0, 0};
}

int ScrollBarPartAt(const WindowState& window, int bar, POINT windowPoint)
{
    const RECT rect = ScrollBarRect(window, bar);
    if (!RectContains(rect, windowPoint)) return -1;
    const bool vertical = bar == SB_VERT;
    const ScrollBarState& state = vertical ? window.vscroll : window.hscroll;
    const int arrow = vertical ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL);
    const int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    const int shown = std::min(arrow, length / 2);
    const int at = vertical ? windowPoint.y - rect.top : windowPoint.x - rect.left;
    if (at < shown) return SB_LINEUP;
    if (at >= length - shown) return SB_LINEDOWN;
    const ThumbGeometry thumb = Thumb(state, length, shown);
    if (thumb.length == 0) return -1;
    if (at < thumb.start) return SB_PAGEUP;
    if (at >= thumb.start + thumb.length) return SB_PAGEDOWN;
    return SB_THUMBTRACK;
}

namespace {

struct BarGeometry {
    int at = 0;        // the point along the bar, pixels from its start
    int arrow = 0;     // length of each arrow box
    int length = 0;    // of the whole bar
    ThumbGeometry thumb;
};

BarGeometry MeasureBar(const WindowState& window, int bar, POINT windowPoint)
{
    BarGeometry geometry;
    const RECT rect = ScrollBarRect(window, bar);
    const bool vertical = bar == SB_VERT;
    const ScrollBarState& state = vertical ? window.vscroll : window.hscroll;
    const int arrow = vertical ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL);
    geometry.length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    geometry.arrow = std::min(arrow, geometry.length / 2);
    geometry.at = vertical ? windowPoint.y - rect.top : windowPoint.x - rect.left;
    geometry.thumb = Thumb(state, geometry.length, geometry.arrow);
    return geometry;
}

}  // namespace

int ScrollThumbGrab(const WindowState& window, int bar, POINT windowPoint)
{
    if (ScrollBarPartAt(window, bar, windowPoint) != SB_THUMBTRACK) return -1;
    const BarGeometry geometry = MeasureBar(window, bar, windowPoint);
    return geometry.at - geometry.thumb.start;
}

int ScrollThumbPosition(const WindowState& window, int bar, int grab, POINT windowPoint)
{
    const ScrollBarState& state = bar == SB_VERT ? window.vscroll : window.hscroll;
    const BarGeometry geometry = MeasureBar(window, bar, windowPoint);
    const int travel = geometry.length - 2 * geometry.arrow - geometry.thumb.length;
    const int span = state.max - state.min + 1 - std::max(1, static_cast<int>(state.page));
    if (geometry.thumb.length == 0 || travel <= 0 || span <= 0) return state.pos;
    const long long offset = std::clamp(geometry.at - grab - geometry.arrow, 0, travel);
    // Rounded to the nearest position, as the thumb was placed by truncation.
    return state.min + static_cast<int>((offset * span + travel / 2) / travel);
}

int NonClientHitTest(const WindowState& window, POINT windowPoint)
{
    const RECT whole = {0, 0, window.rect.Width(), window.rect.Height()};
    if (!RectContains(whole, windowPoint)) return HTNOWHERE;
    if (RectContains(ClientInWindow(window), windowPoint)) return HTCLIENT;
    if (RectContains(ScrollBarRect(window, SB_VERT), windowPoint)) return HTVSCROLL;
    if (RectContains(ScrollBarRect(window, SB_HORZ), windowPoint)) return HTHSCROLL;
    if (RectContains(CaptionRect(window), windowPoint)) return HTCAPTION;
    if (!(window.style & WS_THICKFRAME)) return HTBORDER;
    const int frame = OuterFrame(window.style, window.exStyle);
    const bool left = windowPoint.x < frame;
    const bool right = windowPoint.x >= whole.right - frame;
    const bool top = windowPoint.y < frame;
    const bool bottom = windowPoint.y >= whole.bottom - frame;
    if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    return HTBORDER;
}

void PaintNonClient(HWND hwnd)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window || window->rect == window->client) return;
    HDC hdc = GetWindowDC(hwnd);
    if (!hdc) return;
    const RECT client = ClientInWindow(*window);
    // Everything but the client area; the client area paints itself.
    const int saved = SaveDC(hdc);
    RECT whole = {0, 0, window->rect.Width(), window->rect.Height()};
    const int outer = OuterFrame(window->style, window->exStyle);
    if (outer > 0) {
        const bool thin = outer == 1;
        if (thin && (window->exStyle & WS_EX_STATICEDGE))
            Edge(hdc, whole, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        else if (thin)
            Edge(hdc, whole, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
        else {
            // The frame around the client area, never the client area itself.
            const RECT strips[] = {{whole.left, whole.top, whole.right, client.top},
                                   {whole.left, client.top, client.left, client.bottom},
                                   {client.right, client.top, whole.right, client.bottom},
                                   {whole.left, client.bottom, whole.right, whole.bottom}};
            for (const RECT& strip : strips) Fill(hdc, strip, COLOR_BTNFACE);
            Edge(hdc, whole, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
            Edge(hdc, Deflate(whole, 1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        }
    }
    PaintCaption(hdc, hwnd, *window);
    if (window->exStyle & WS_EX_CLIENTEDGE) {
        RECT edge = client;
        if (window->style & WS_VSCROLL) edge.right += GetSystemMetrics(SM_CXVSCROLL);
        if (window->style & WS_HSCROLL) edge.bottom += GetSystemMetrics(SM_CYHSCROLL);
        edge = RECT{edge.left - 2, edge.top - 2, edge.right + 2, edge.bottom + 2};
        Edge(hdc, edge, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        Edge(hdc, Deflate(edge, 1), COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    }
    PaintScrollBar(hdc, *window, SB_VERT);
    PaintScrollBar(hdc, *window, SB_HORZ);
    if ((window->style & WS_VSCROLL) && (window->style & WS_HSCROLL)) {
        const RECT vbar = ScrollBarRect(*window, SB_VERT);
        const RECT hbar = ScrollBarRect(*window, SB_HORZ);
        Fill(hdc, RECT{vbar.left, hbar.top, vbar.right, hbar.bottom}, COLOR_BTNFACE);
    }
    RestoreDC(hdc, saved);
    ReleaseDC(hwnd, hdc);
}

}  // namespace platform::ui
