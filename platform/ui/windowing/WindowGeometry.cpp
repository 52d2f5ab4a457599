#include "platform/ui/windowing/WindowGeometry.h"

#include "platform/base/Kernel.h"
#include "platform/ui/windowing/Window.h"

namespace platform::ui {

WindowState* LookupWindow(HWND hwnd)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

namespace {

const WindowState* ParentOf(const WindowState& window)
{
    return window.parent ? WindowManager::Instance().Find(window.parent) : nullptr;
}

}  // namespace

POINT ClientOriginOnScreen(const WindowState& window)
{
    POINT origin = {window.client.left, window.client.top};
    for (const WindowState* parent = ParentOf(window); parent; parent = ParentOf(*parent)) {
        origin.x += parent->client.left;
        origin.y += parent->client.top;
    }
    return origin;
}

POINT WindowOriginOnScreen(const WindowState& window)
{
    POINT origin = {window.rect.left, window.rect.top};
    if (const WindowState* parent = ParentOf(window)) {
        const POINT parentClient = ClientOriginOnScreen(*parent);
        origin.x += parentClient.x;
        origin.y += parentClient.y;
    }
    return origin;
}

namespace {

POINT TopLevelOrigin(const WindowState& window)
{
    const WindowState* top = &window;
    while (const WindowState* parent = ParentOf(*top)) top = parent;
    return POINT{top->rect.left, top->rect.top};
}

RECT Shift(const RECT& rect, POINT by)
{
    return RECT{rect.left - by.x, rect.top - by.y, rect.right - by.x, rect.bottom - by.y};
}

}  // namespace

RECT WindowRectInTopLevel(const WindowState& window)
{
    const POINT origin = WindowOriginOnScreen(window);
    const RECT onScreen = {origin.x, origin.y, origin.x + window.rect.Width(), origin.y + window.rect.Height()};
    return Shift(onScreen, TopLevelOrigin(window));
}

RECT ClientRectInTopLevel(const WindowState& window)
{
    const POINT origin = ClientOriginOnScreen(window);
    const RECT onScreen = {origin.x, origin.y, origin.x + window.client.Width(), origin.y + window.client.Height()};
    return Shift(onScreen, TopLevelOrigin(window));
}

bool IsVisibleChain(const WindowState& window)
{
    for (const WindowState* w = &window; w; w = ParentOf(*w))
        if (!(w->style & WS_VISIBLE)) return false;
    return true;
}

namespace {

RECT ClipToAncestors(const WindowState& window, RECT area)
{
    for (const WindowState* parent = ParentOf(window); parent; parent = ParentOf(*parent))
        area = IntersectRects(area, ClientRectInTopLevel(*parent));
    return area;
}

}  // namespace

RECT VisibleClientInTopLevel(const WindowState& window)
{
    if (!IsVisibleChain(window)) return RECT{0, 0, 0, 0};
    return ClipToAncestors(window, ClientRectInTopLevel(window));
}

RECT VisibleWindowInTopLevel(const WindowState& window)
{
    if (!IsVisibleChain(window)) return RECT{0, 0, 0, 0};
    return ClipToAncestors(window, WindowRectInTopLevel(window));
}

bool IsSelfOrAncestor(HWND ancestor, HWND hwnd)
{
    WindowManager& manager = WindowManager::Instance();
    for (WindowState* window = manager.Find(hwnd); window; window = manager.Find(window->parent))
        if (window->hwnd == ancestor) return true;
    return false;
}

}  // namespace platform::ui
