// The frame around a window's client area: how thick it is for each style
// (the classic look's metrics), where its parts are, and how it is drawn.
// DefWindowProc answers WM_NCCALCSIZE, WM_NCHITTEST and WM_NCPAINT with it.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

// Widths of the frame on each side, pixels.
struct FrameInsets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Border, caption and edges; scroll bars only when asked for.
FrameInsets NonClientInsets(DWORD style, DWORD exStyle, bool withScrollBars);

// The client rectangle for a window rectangle (same coordinates).
RECT ClientFromWindowRect(const RECT& window, DWORD style, DWORD exStyle);

// Parts of the frame in window coordinates (0, 0 the window's top left).
RECT CaptionRect(const WindowState& window);
RECT ScrollBarRect(const WindowState& window, int bar);   // SB_HORZ or SB_VERT; empty without the bar

// HT* code of a point in window coordinates.
int NonClientHitTest(const WindowState& window, POINT windowPoint);

// Draws the frame, caption and scroll bars through a window DC.
void PaintNonClient(HWND hwnd);

// The part of a scroll bar under a point (window coordinates): SB_LINEUP,
// SB_PAGEUP, SB_THUMBTRACK, SB_PAGEDOWN, SB_LINEDOWN, or -1 outside.
int ScrollBarPartAt(const WindowState& window, int bar, POINT windowPoint);
// Where along the thumb a point lies (pixels from the thumb's start), -1
// when the point is not on the thumb.
int ScrollThumbGrab(const WindowState& window, int bar, POINT windowPoint);
// The position the thumb takes when the point holds it at `grab` pixels
// from its start, within the bar's range.
int ScrollThumbPosition(const WindowState& window, int bar, int grab, POINT windowPoint);

}  // namespace platform::ui
