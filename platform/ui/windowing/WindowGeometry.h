// Where windows are on the screen: the arithmetic shared by the window,
// input and painting functions. Internal to the windowing layer.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

// The window's state with the last error set when there is none.
WindowState* LookupWindow(HWND hwnd);

// The screen position of a window's client origin and of its window origin.
POINT ClientOriginOnScreen(const WindowState& window);
POINT WindowOriginOnScreen(const WindowState& window);

// The window's rectangles in the coordinates of its top-level window's
// image (the top-level window's top left is 0, 0).
RECT WindowRectInTopLevel(const WindowState& window);
RECT ClientRectInTopLevel(const WindowState& window);

// The part of the window's client area not hidden by its ancestors'
// client edges, in top-level image coordinates; empty when the window or
// an ancestor is hidden.
RECT VisibleClientInTopLevel(const WindowState& window);
RECT VisibleWindowInTopLevel(const WindowState& window);

// Whether the window and all its ancestors have WS_VISIBLE.
bool IsVisibleChain(const WindowState& window);

// Whether `ancestor` is `hwnd` or one of its ancestors (parents only, not owners).
bool IsSelfOrAncestor(HWND ancestor, HWND hwnd);

}  // namespace platform::ui
