// The screen the headless windows live on, and the clock they run by.
//
// The host (or a test) says how large the screen is; every system metric
// that depends on it follows. The clock only moves when someone advances it,
// so anything timed (timers, double clicks, tool tips) is deterministic.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/UiTypes.h"

namespace platform::ui {

class Desktop {
public:
    static const int kDefaultWidth = 1024;   // pixels
    static const int kDefaultHeight = 768;   // pixels

    // The screen size in pixels; a size below 1 x 1 is refused (FALSE).
    static BOOL SetScreenSize(int width, int height);
    static int ScreenWidth();
    static int ScreenHeight();

    // Milliseconds since the desktop came up; wraps after 49.7 days like GetTickCount.
    static DWORD Now();
    static void AdvanceClock(DWORD milliseconds);

    // Back to a 1024 x 768 screen and a clock at 0, for tests.
    static void Reset();
};

}  // namespace platform::ui

// As Win32: the screen's metrics from the desktop, fixed values of the
// classic Windows look at 96 dots per inch for the rest, 0 for an unknown index.
int GetSystemMetrics(int nIndex);

// The colours of the classic Windows scheme (COLOR_* of GdiTypes.h); 0 for
// an unknown index. The graphics layer paints its COLOR_x + 1 brushes with them.
DWORD GetSysColor(int nIndex);
