#include "platform/ui/windowing/Painting.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/base/Kernel.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Image.h"
#include "platform/ui/windowing/DisplayLink.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowGeometry.h"
#include "platform/ui/windowing/WindowManager.h"

using platform::ui::LookupWindow;
using platform::gdi::Region;
using platform::ui::WindowManager;
using platform::ui::WindowState;

namespace platform::ui {

namespace {

const int kSysColorCount = 31;
const int kMaxSurfaceSide = 32767;

// Made when the library loads, so that they count neither as leaks nor as
// new objects in a test that happens to use them first.
struct SysColorBrushes {
    HBRUSH brushes[kSysColorCount] = {};
    SysColorBrushes()
    {
        for (int i = 0; i < kSysColorCount; ++i) brushes[i] = CreateSolidBrush(GetSysColor(i));
    }
};

SysColorBrushes& Brushes()
{
    static SysColorBrushes* brushes = new SysColorBrushes;
    return *brushes;
}

struct BrushLoader {
    BrushLoader() { Brushes(); }
} s_brushLoader;

// The DCs handed out for windows, so that ReleaseDC knows its own.
std::map<HDC, HWND>& WindowDCs()
{
    static auto* dcs = new std::map<HDC, HWND>;
    return *dcs;
}

cairo_surface_t* NewSurface(int width, int height)
{
    width = std::clamp(width, 1, kMaxSurfaceSide);
    height = std::clamp(height, 1, kMaxSurfaceSide);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return surface;
}

cairo_surface_t* ScreenSurface()
{
    static cairo_surface_t* surface = nullptr;
    const int width = platform::ui::ScreenWidth();
    const int height = platform::ui::ScreenHeight();
    if (surface && cairo_image_surface_get_width(surface) == width && cairo_image_surface_get_height(surface) == height)
        return surface;
    if (surface) cairo_surface_destroy(surface);
    surface = NewSurface(width, height);
    return surface;
}

cairo_surface_t* SurfaceOf(HWND topLevel)
{
    WindowState* top = WindowManager::Instance().Find(topLevel);
    if (!top) return nullptr;
    if (!top->surface) top->surface.reset(NewSurface(top->rect.Width(), top->rect.Height()));
    return top->surface.get();
}

bool IncludesChildren(const WindowState& window, UINT flags)
{
    if (flags & RDW_ALLCHILDREN) return true;
    if (flags & RDW_NOCHILDREN) return false;
    return !(window.style & WS_CLIPCHILDREN);
}

RECT ClientArea(const WindowState& window)
{
    return RECT{0, 0, window.client.Width(), window.client.Height()};
}

// `area` (client coordinates of `window`) in the client coordinates of its child.
RECT AreaInChild(const WindowState& window, const WindowState& child, const RECT& area)
{
    (void)window;
    const RECT overlap = IntersectRects(area, child.rect);
    if (IsEmptyRect(overlap)) return overlap;
    return RECT{overlap.left - child.client.left, overlap.top - child.client.top, overlap.right - child.client.left,
                overlap.bottom - child.client.top};
}

void MarkTree(HWND hwnd, const RECT& area, UINT flags)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = manager.Find(hwnd);
    if (!window) return;
    const RECT clipped = IntersectRects(area, ClientArea(*window));
    if (flags & RDW_INVALIDATE) {
        if (!window->redrawOff) {
            window->update.Union(clipped);
            if ((flags & RDW_ERASE) && !IsEmptyRect(clipped)) window->erasePending = true;
            if (flags & RDW_FRAME) window->ncPaintPending = true;
        }
    } else if (flags & RDW_VALIDATE) {
        window->update.Subtract(clipped);
        if ((flags & RDW_NOERASE) || window->update.IsEmpty()) window->erasePending = false;
        if (flags & RDW_NOFRAME) window->ncPaintPending = false;
    }
    if (!IncludesChildren(*window, flags)) return;
    const std::vector<HWND> children = window->children;
    for (HWND childHwnd : children) {
        WindowState* child = manager.Find(childHwnd);
        if (!child) continue;
        const RECT inChild = AreaInChild(*window, *child, area);
        const bool touchesFrame = !IsEmptyRect(IntersectRects(area, child->rect)) && child->rect != child->client;
        if (IsEmptyRect(inChild) && !touchesFrame) continue;
        UINT childFlags = flags;
        if (!touchesFrame) childFlags &= ~RDW_FRAME;
        else if (flags & RDW_INVALIDATE) childFlags |= RDW_FRAME;
        MarkTree(childHwnd, inChild, childFlags);
    }
}

void SendNcPaint(HWND hwnd)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window || !window->ncPaintPending) return;
    window->ncPaintPending = false;
    if (IsVisibleChain(*window)) SendMessageW(hwnd, WM_NCPAINT, 1, 0);
}

// Limits a fresh window DC to the update region itself, not to its bounds:
// two controls far apart that asked to be repainted must not have the
// background painted over the controls between them, which were not asked
// and so will not paint themselves again.
void ClipToUpdate(HDC hdc, const Region& update)
{
    const RECT bounds = update.Box();
    IntersectClipRect(hdc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    const Region outside = Region::Combine(Region(bounds), update, RGN_DIFF);
    for (const RECT& rect : outside.Rects()) ExcludeClipRect(hdc, rect.left, rect.top, rect.right, rect.bottom);
}

void EraseNow(HWND hwnd)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window || !window->erasePending || !IsVisibleChain(*window)) return;
    window->erasePending = false;
    const Region update = window->update;
    HDC hdc = GetDCEx(hwnd, nullptr, DCX_CACHE);
    if (!hdc) return;
    ClipToUpdate(hdc, update);
    SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    ReleaseDC(hwnd, hdc);
}

// The order in which Windows paints siblings: from the top of the z-order
// down, so that a child that does not clip its siblings may paint over the
// ones above it (the controls that a dialog lists after its group box are
// drawn inside the box); a WS_EX_TRANSPARENT window waits until every
// sibling beneath it has been painted.
std::vector<HWND> PaintOrder(const std::vector<HWND>& children)
{
    WindowManager& manager = WindowManager::Instance();
    std::vector<HWND> order;
    std::vector<HWND> transparent;
    order.reserve(children.size());
    for (HWND child : children) {
        const WindowState* state = manager.Find(child);
        if (state && (state->exStyle & WS_EX_TRANSPARENT))
            transparent.push_back(child);
        else
            order.push_back(child);
    }
    order.insert(order.end(), transparent.rbegin(), transparent.rend());
    return order;
}

// Paints the window now and then its children in painting order.
void UpdateTree(HWND hwnd, UINT flags, bool paint)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = manager.Find(hwnd);
    if (!window || !IsVisibleChain(*window)) return;
    SendNcPaint(hwnd);
    if (paint) {
        window = manager.Find(hwnd);
        if (window && !window->update.IsEmpty()) SendMessageW(hwnd, WM_PAINT, 0, 0);
    } else {
        EraseNow(hwnd);
    }
    window = manager.Find(hwnd);
    if (!window || !IncludesChildren(*window, flags)) return;
    for (HWND child : PaintOrder(window->children)) UpdateTree(child, flags, paint);
}

HWND FindToPaint(HWND hwnd)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = manager.Find(hwnd);
    if (!window || !(window->style & WS_VISIBLE)) return nullptr;
    if (window->ncPaintPending && window->update.IsEmpty()) SendNcPaint(hwnd);
    window = manager.Find(hwnd);
    if (!window) return nullptr;
    if (!window->update.IsEmpty()) return hwnd;
    for (HWND child : PaintOrder(window->children))
        if (HWND found = FindToPaint(child)) return found;
    return nullptr;
}

// Moves the pixels of `area` (image coordinates) by dx, dy, within `area`.
void ShiftPixels(cairo_surface_t* surface, const RECT& area, int dx, int dy)
{
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const RECT bounded = IntersectRects(area, RECT{0, 0, width, height});
    RECT dest = {bounded.left + dx, bounded.top + dy, bounded.right + dx, bounded.bottom + dy};
    dest = IntersectRects(dest, bounded);
    if (IsEmptyRect(dest)) return;
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const size_t bytes = static_cast<size_t>(dest.right - dest.left) * 4;
    auto copyRow = [&](int y) {
        unsigned char* to = data + static_cast<size_t>(y) * stride + static_cast<size_t>(dest.left) * 4;
        const unsigned char* from = data + static_cast<size_t>(y - dy) * stride + static_cast<size_t>(dest.left - dx) * 4;
        std::memmove(to, from, bytes);
    };
    if (dy > 0)
        for (int y = dest.bottom - 1; y >= dest.top; --y) copyRow(y);
    else
        for (int y = dest.top; y < dest.bottom; ++y) copyRow(y);
    cairo_surface_mark_dirty(surface);
}

}  // namespace

namespace detail {

HWND NextWindowToPaint(HWND filter)
{
    WindowManager& manager = WindowManager::Instance();
    if (filter) {
        WindowState* window = manager.Find(filter);
        if (!window || !IsVisibleChain(*window)) return nullptr;
        if (window->ncPaintPending && window->update.IsEmpty()) SendNcPaint(filter);
        window = manager.Find(filter);
        return window && !window->update.IsEmpty() ? filter : nullptr;
    }
    const std::vector<HWND> tops = manager.TopLevelWindows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (HWND found = FindToPaint(*it)) return found;
    return nullptr;
}

void ResizeWindowSurface(HWND topLevel)
{
    WindowState* top = WindowManager::Instance().Find(topLevel);
    if (!top || !top->surface) return;
    const int width = std::clamp(top->rect.Width(), 1, kMaxSurfaceSide);
    const int height = std::clamp(top->rect.Height(), 1, kMaxSurfaceSide);
    cairo_surface_t* old = top->surface.get();
    if (cairo_image_surface_get_width(old) == width && cairo_image_surface_get_height(old) == height) return;
    cairo_surface_t* resized = NewSurface(width, height);
    cairo_t* cr = cairo_create(resized);
    cairo_set_source_surface(cr, old, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    // DCs still open on the old image keep their reference to it.
    top->surface.reset(resized);
}

void KeepUpdateInClient(HWND hwnd, POINT originShift)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window || window->update.IsEmpty()) return;
    window->update.Offset(-originShift.x, -originShift.y);
    window->update.Intersect(ClientArea(*window));
    if (window->update.IsEmpty()) window->erasePending = false;
}

void ReleaseWindowSurface(HWND hwnd)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (window) window->surface.reset();
}

}  // namespace detail

BOOL SaveWindowImage(HWND hwnd, const char* path)
{
    WindowState* window = LookupWindow(hwnd);
    if (!window || !path || !IsVisibleChain(*window)) return FALSE;
    const HWND topLevel = WindowManager::Instance().TopLevelOf(hwnd);
    RedrawWindow(topLevel, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    window = WindowManager::Instance().Find(hwnd);
    cairo_surface_t* surface = SurfaceOf(topLevel);
    if (!window || !surface) return FALSE;
    const RECT area = IntersectRects(WindowRectInTopLevel(*window),
                                     RECT{0, 0, cairo_image_surface_get_width(surface),
                                          cairo_image_surface_get_height(surface)});
    cairo_surface_t* image = NewSurface(area.right - area.left, area.bottom - area.top);
    cairo_t* cr = cairo_create(image);
    cairo_set_source_surface(cr, surface, -area.left, -area.top);
    cairo_paint(cr);
    cairo_destroy(cr);
    const bool written = platform::gdi::SaveSurfacePng(image, path) != FALSE;
    cairo_surface_destroy(image);
    return written ? TRUE : FALSE;
}

}  // namespace platform::ui

BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags)
{
    WindowManager& manager = WindowManager::Instance();
    if (!hWnd) {
        const std::vector<HWND> tops = manager.TopLevelWindows();
        for (HWND top : tops) RedrawWindow(top, lprcUpdate, hrgnUpdate, flags);
        return TRUE;
    }
    WindowState* window = LookupWindow(hWnd);
    if (!window) return FALSE;
    RECT area = platform::ui::ClientArea(*window);
    if (lprcUpdate) {
        area = *lprcUpdate;
    } else if (hrgnUpdate) {
        RECT box;
        if (GetRgnBox(hrgnUpdate, &box) == 0) return FALSE;
        area = box;
    }
    if (flags & (RDW_INVALIDATE | RDW_VALIDATE)) platform::ui::MarkTree(hWnd, area, flags);
    if (flags & RDW_UPDATENOW)
        platform::ui::UpdateTree(hWnd, flags, true);
    else if (flags & RDW_ERASENOW)
        platform::ui::UpdateTree(hWnd, flags, false);
    return TRUE;
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    if (!hWnd) return RedrawWindow(nullptr, lpRect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase)
{
    if (!hRgn) return InvalidateRect(hWnd, nullptr, bErase);
    return RedrawWindow(hWnd, nullptr, hRgn, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hWnd, const RECT* lpRect)
{
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hWnd, HRGN hRgn)
{
    if (!hRgn) return ValidateRect(hWnd, nullptr);
    return RedrawWindow(hWnd, nullptr, hRgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL UpdateWindow(HWND hWnd)
{
    if (!LookupWindow(hWnd)) return FALSE;
    return RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window) return FALSE;
    const RECT bounds = window->update.Box();
    if (lpRect) *lpRect = bounds;
    if (bErase && !window->update.IsEmpty()) platform::ui::EraseNow(hWnd);
    return platform::ui::IsEmptyRect(bounds) ? FALSE : TRUE;
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    WindowState* window = LookupWindow(hWnd);
    if (!window || !lpPaint) return nullptr;
    platform::ui::SendNcPaint(hWnd);
    window = WindowManager::Instance().Find(hWnd);
    if (!window) return nullptr;
    HideCaret(hWnd);
    const Region update = window->update;
    const RECT bounds = update.Box();
    const bool erase = window->erasePending;
    window->update.Clear();
    window->erasePending = false;
    HDC hdc = GetDCEx(hWnd, nullptr, DCX_CACHE);
    if (!hdc) return nullptr;
    platform::ui::ClipToUpdate(hdc, update);
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = hdc;
    lpPaint->rcPaint = bounds;
    lpPaint->fErase = erase && !SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? TRUE : FALSE;
    return hdc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    if (!lpPaint) return FALSE;
    ShowCaret(hWnd);
    ReleaseDC(hWnd, lpPaint->hdc);
    return TRUE;
}

HDC GetDCEx(HWND hWnd, HRGN hrgnClip, DWORD flags)
{
    (void)hrgnClip;
    if (!hWnd) {
        HDC hdc = platform::gdi::CreateSurfaceDC(platform::ui::ScreenSurface(), POINT{0, 0}, nullptr);
        if (hdc) platform::ui::WindowDCs()[hdc] = nullptr;
        return hdc;
    }
    WindowState* window = LookupWindow(hWnd);
    if (!window) return nullptr;
    const HWND topLevel = WindowManager::Instance().TopLevelOf(hWnd);
    cairo_surface_t* surface = platform::ui::SurfaceOf(topLevel);
    window = WindowManager::Instance().Find(hWnd);
    if (!surface || !window) return nullptr;
    const bool whole = (flags & DCX_WINDOW) != 0;
    const RECT place = whole ? platform::ui::WindowRectInTopLevel(*window) : platform::ui::ClientRectInTopLevel(*window);
    const RECT visible =
        whole ? platform::ui::VisibleWindowInTopLevel(*window) : platform::ui::VisibleClientInTopLevel(*window);
    HDC hdc = platform::gdi::CreateSurfaceDC(surface, POINT{place.left, place.top}, &visible);
    if (hdc) platform::ui::WindowDCs()[hdc] = hWnd;
    return hdc;
}

HDC GetDC(HWND hWnd)
{
    return GetDCEx(hWnd, nullptr, DCX_CACHE);
}

HDC GetWindowDC(HWND hWnd)
{
    return GetDCEx(hWnd, nullptr, DCX_WINDOW | DCX_CACHE);
}

int ReleaseDC(HWND hWnd, HDC hDC)
{
    (void)hWnd;   // Windows accepts the DC whichever window is named
    auto& dcs = platform::ui::WindowDCs();
    auto found = dcs.find(hDC);
    if (found == dcs.end()) return 0;
    const HWND painted = found->second;
    dcs.erase(found);
    DeleteDC(hDC);
    platform::ui::detail::NotePainted(painted);
    return 1;
}

HWND WindowFromDC(HDC hDC)
{
    auto& dcs = platform::ui::WindowDCs();
    auto found = dcs.find(hDC);
    return found == dcs.end() ? nullptr : found->second;
}

int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate,
                   LPRECT prcUpdate, UINT flags)
{
    (void)hrgnUpdate;
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = LookupWindow(hWnd);
    if (!window) return 0;   // ERROR
    const RECT client = platform::ui::ClientArea(*window);
    RECT scroll = prcScroll ? platform::ui::IntersectRects(*prcScroll, client) : client;
    const RECT clip = prcClip ? platform::ui::IntersectRects(*prcClip, client) : client;
    const RECT moving = platform::ui::IntersectRects(scroll, clip);

    if (platform::ui::IsVisibleChain(*window) && !platform::ui::IsEmptyRect(moving)) {
        const HWND topLevel = manager.TopLevelOf(hWnd);
        cairo_surface_t* surface = platform::ui::SurfaceOf(topLevel);
        window = manager.Find(hWnd);
        if (surface && window) {
            const RECT origin = platform::ui::ClientRectInTopLevel(*window);
            const RECT inImage = {moving.left + origin.left, moving.top + origin.top, moving.right + origin.left,
                                  moving.bottom + origin.top};
            platform::ui::ShiftPixels(surface, inImage, dx, dy);
            platform::ui::detail::NotePaintedArea(topLevel, inImage);
        }
    }
    window = manager.Find(hWnd);
    if (!window) return 0;
    // What was waiting to be painted moves with the pixels.
    Region moved;
    for (const RECT& rect : window->update.Rects()) {
        const RECT inside = platform::ui::IntersectRects(rect, moving);
        if (platform::ui::IsEmptyRect(inside)) continue;
        moved.Union(platform::ui::IntersectRects(RECT{inside.left + dx, inside.top + dy, inside.right + dx,
                                                      inside.bottom + dy},
                                                 moving));
    }
    window->update.Subtract(moving);
    for (const RECT& rect : moved.Rects()) window->update.Union(rect);

    // What the move uncovers.
    Region uncovered;
    uncovered.Union(moving);
    uncovered.Subtract(RECT{moving.left + dx, moving.top + dy, moving.right + dx, moving.bottom + dy});
    const RECT exposed = uncovered.Box();
    if (prcUpdate) *prcUpdate = exposed;
    if ((flags & SW_INVALIDATE) && !uncovered.IsEmpty())
        for (const RECT& rect : uncovered.Rects()) InvalidateRect(hWnd, &rect, (flags & SW_ERASE) ? TRUE : FALSE);

    if (flags & SW_SCROLLCHILDREN) {
        const std::vector<HWND> children = window->children;
        for (HWND child : children) {
            WindowState* state = manager.Find(child);
            if (!state) continue;
            if (!prcScroll || !platform::ui::IsEmptyRect(platform::ui::IntersectRects(state->rect, scroll)))
                SetWindowPos(child, nullptr, state->rect.left + dx, state->rect.top + dy, 0, 0,
                             SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    return uncovered.IsEmpty() ? 1 : 2;   // NULLREGION, SIMPLEREGION
}

BOOL ScrollWindow(HWND hWnd, int XAmount, int YAmount, const RECT* lpRect, const RECT* lpClipRect)
{
    UINT flags = SW_INVALIDATE | SW_ERASE;
    if (!lpRect) flags |= SW_SCROLLCHILDREN;
    return ScrollWindowEx(hWnd, XAmount, YAmount, lpRect, lpClipRect, nullptr, nullptr, flags) != 0;
}

HBRUSH GetSysColorBrush(int nIndex)
{
    if (nIndex < 0 || nIndex >= platform::ui::kSysColorCount) return nullptr;
    return platform::ui::Brushes().brushes[nIndex];
}
