// The default window procedure: what every window does with a message its
// own procedure passes on. Text storage (WM_SETTEXT, WM_GETTEXT), the
// frame (WM_NCCALCSIZE, WM_NCHITTEST, WM_NCPAINT), painting (WM_PAINT,
// WM_ERASEBKGND with the class brush), WM_MOVE and WM_SIZE after
// WM_WINDOWPOSCHANGED, the cursor (WM_SETCURSOR asks the parent first),
// activation, default control colours, WM_CLOSE, window scroll bars and the
// messages Windows passes up to the parent (WM_MOUSEWHEEL, WM_CONTEXTMENU).
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/ui/windowing/UiRecords.h"

LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
inline LRESULT DefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

// Window scroll bars (SB_HORZ, SB_VERT) and scroll bar controls (SB_CTL,
// through their SBM_ messages). Positions are kept within
// [nMin, nMax - max(nPage - 1, 0)], as Windows keeps them.
int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi);
int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw);
int GetScrollPos(HWND hWnd, int nBar);
BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw);
BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos);
// Adds or removes WS_HSCROLL / WS_VSCROLL, which moves the client edge.
BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow);
BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows);
