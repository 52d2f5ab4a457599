// Painting: update regions, WM_PAINT / WM_NCPAINT / WM_ERASEBKGND, and the
// device contexts of windows.
//
// Each top-level window owns a 32-bit image of its window rectangle's size;
// its children paint into that same image at their places, so the image of
// a top-level window is the window and everything in it. A window DC is a
// DC on that image with its origin at the window's client (or window)
// origin, limited to the part of the window its ancestors do not cut off.
// An update region is a set of rectangles; a DC from BeginPaint is limited
// to the region's bounds.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiRecords.h"
#include "platform/ui/windowing/UiTypes.h"

// Adds to the update region (client coordinates; null: the whole client
// area). Children are included unless the window has WS_CLIPCHILDREN.
BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase);
BOOL ValidateRect(HWND hWnd, const RECT* lpRect);
BOOL ValidateRgn(HWND hWnd, HRGN hRgn);
// Sends WM_PAINT at once to the window and its children that have
// something to repaint.
BOOL UpdateWindow(HWND hWnd);
BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags);
// The bounds of the update region (empty when there is none); TRUE when
// there is something to repaint. With bErase the background is erased now.
BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase);

// Sends WM_NCPAINT and WM_ERASEBKGND when due, validates the update region
// and returns a DC limited to its bounds.
HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);

// A DC on the window's client area (DCX_WINDOW: the whole window); null
// (the screen) gives a DC of the screen's size. Release it with ReleaseDC.
HDC GetDC(HWND hWnd);
HDC GetDCEx(HWND hWnd, HRGN hrgnClip, DWORD flags);
HDC GetWindowDC(HWND hWnd);
// 1 when the DC was one of the window's, 0 otherwise.
int ReleaseDC(HWND hWnd, HDC hDC);
HWND WindowFromDC(HDC hDC);

// Moves the pixels of the client area (or of lpRect) by dx, dy within the
// clip rectangle and invalidates what is uncovered; without a rectangle the
// children move along.
BOOL ScrollWindow(HWND hWnd, int XAmount, int YAmount, const RECT* lpRect, const RECT* lpClipRect);
int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate,
                   LPRECT prcUpdate, UINT flags);

// A brush of a system colour, shared and never to be deleted.
HBRUSH GetSysColorBrush(int nIndex);

namespace platform::ui {

// Paints everything pending in the window's top-level window, then writes
// the window with its children (its window rectangle) as PNG. FALSE for a
// window that is not visible or a file that cannot be written.
BOOL SaveWindowImage(HWND hwnd, const char* path);

namespace detail {
// The first visible window (parents before children) with something to
// repaint, or the filter window when it has; frames alone are repainted
// here at once.
HWND NextWindowToPaint(HWND filter);
// A top-level window's image follows its new size, keeping its top left.
void ResizeWindowSurface(HWND topLevel);
void ReleaseWindowSurface(HWND hwnd);
// After the client area moved within the window (by originShift) or
// changed size: what waited to be repainted stays on the same pixels, and
// only the part inside the client area stays, as the update region of
// Windows never reaches beyond it.
void KeepUpdateInClient(HWND hwnd, POINT originShift);
}  // namespace detail

}  // namespace platform::ui
