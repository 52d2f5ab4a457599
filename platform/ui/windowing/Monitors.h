// The monitors the desktop spans: the primary monitor is the screen (at the
// origin, its size set by SetScreenSize); tests may place a second monitor
// beside it, and the virtual screen (SM_*VIRTUALSCREEN, SM_CMONITORS) is the
// union of the two. A monitor's work area is the whole monitor less what a
// panel or dock of the display keeps for itself (SetWorkArea).
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiTypes.h"

// A distinct opaque handle, as the other handle types.
struct HMONITOR__ {
    int unused;
};
typedef struct HMONITOR__* HMONITOR;

#define MONITOR_DEFAULTTONULL 0x00000000
#define MONITOR_DEFAULTTOPRIMARY 0x00000001
#define MONITOR_DEFAULTTONEAREST 0x00000002
#define MONITORINFOF_PRIMARY 0x00000001

struct tagMONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};
typedef tagMONITORINFO MONITORINFO;
typedef MONITORINFO* LPMONITORINFO;

namespace platform::ui {

// Places a second monitor at the rectangle given in virtual-screen
// coordinates; an empty rectangle or one overlapping the primary monitor is
// refused (FALSE). ClearSecondMonitor (and ResetSystemSettings) go back to
// one, the whole of it work area.
BOOL SetSecondMonitor(const RECT& rect);
void ClearSecondMonitor();

// The part of the desktop left to windows, in virtual-screen coordinates
// (as a display's window manager announces it): each monitor's work area
// is what of it lies on that monitor, the whole monitor where none does. An
// empty rectangle makes every monitor whole again.
void SetWorkArea(const RECT& rect);

// The union of the monitors, in screen coordinates.
RECT VirtualScreenRect();
int MonitorCount();

}  // namespace platform::ui

// As Win32: the monitor the window's rectangle overlaps most; with no
// overlap, per dwFlags: none (NULL), the primary or the nearest monitor.
// A NULL or unknown window is treated as an empty rectangle at the origin.
HMONITOR MonitorFromWindow(HWND hwnd, DWORD dwFlags);
HMONITOR MonitorFromRect(LPCRECT lprc, DWORD dwFlags);
HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags);

// Fills rcMonitor, rcWork and dwFlags; FALSE for an unknown monitor, a
// missing structure or a cbSize too small for MONITORINFO.
BOOL GetMonitorInfoW(HMONITOR hMonitor, LPMONITORINFO lpmi);
#define GetMonitorInfo GetMonitorInfoW
