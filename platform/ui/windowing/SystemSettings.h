// What the system answers about itself: the screen's size and the metrics
// that follow it, the system colours and parameters, the double-click
// time, the clock that timers, double clicks and hovering run by, and the
// beeps. The desktop driver (Desktop.h) sets the screen and moves the
// clock; the rest of the window system only reads them.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/ui/windowing/UiTypes.h"

namespace platform::ui {

const int kDefaultScreenWidth = 1024;   // pixels
const int kDefaultScreenHeight = 768;   // pixels

// The screen size in pixels; a size below 1 x 1 is refused (FALSE).
BOOL SetScreenSize(int width, int height);
int ScreenWidth();
int ScreenHeight();

// Milliseconds since the desktop came up; wraps after 49.7 days like GetTickCount.
DWORD ClockNow();
// The same without wrapping.
uint64_t ClockTicks();
// Only the desktop driver moves the clock.
void SetClockTicks(uint64_t ticks);

// Where MessageBeep goes; the default only counts. Returns the previous handler.
typedef std::function<void(UINT)> BeepHandler;
BeepHandler SetBeepHandler(BeepHandler handler);
int BeepCount();
UINT LastBeep();

// The default screen, clock, double-click time and no beeps (tests start clean).
void ResetSystemSettings();

}  // namespace platform::ui

UINT GetDoubleClickTime();
// 0 sets the default of 500 milliseconds.
BOOL SetDoubleClickTime(UINT uInterval);

// As Win32: the screen's metrics from the desktop, fixed values of the
// classic Windows look at 96 dots per inch for the rest, 0 for an unknown index.
int GetSystemMetrics(int nIndex);

// The colours of the classic Windows scheme (COLOR_* of GdiTypes.h); 0 for
// an unknown index. The graphics layer paints its COLOR_x + 1 brushes with them.
DWORD GetSysColor(int nIndex);

struct tagNONCLIENTMETRICSW {
    UINT cbSize;
    int iBorderWidth;
    int iScrollWidth;
    int iScrollHeight;
    int iCaptionWidth;
    int iCaptionHeight;
    LOGFONTW lfCaptionFont;
    int iSmCaptionWidth;
    int iSmCaptionHeight;
    LOGFONTW lfSmCaptionFont;
    int iMenuWidth;
    int iMenuHeight;
    LOGFONTW lfMenuFont;
    LOGFONTW lfStatusFont;
    LOGFONTW lfMessageFont;
    int iPaddedBorderWidth;
};
typedef tagNONCLIENTMETRICSW NONCLIENTMETRICSW;
typedef NONCLIENTMETRICSW NONCLIENTMETRICS;

// SPI_GETHIGHCONTRAST: the desktop never runs in high contrast.
struct tagHIGHCONTRASTW {
    UINT cbSize;
    DWORD dwFlags;
    LPWSTR lpszDefaultScheme;
};
typedef tagHIGHCONTRASTW HIGHCONTRASTW;
typedef HIGHCONTRASTW HIGHCONTRAST;
#define HCF_HIGHCONTRASTON 0x00000001
#define HCF_AVAILABLE 0x00000002

// The settings the system reads: the work area (the whole screen), the
// non-client and icon fonts, wheel lines, hover and keyboard timings.
// FALSE for an action it does not know or a missing buffer.
BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, LPVOID pvParam, UINT fWinIni);
#define SystemParametersInfo SystemParametersInfoW

// Counted by the desktop (see Desktop::BeepCount); always TRUE.
BOOL MessageBeep(UINT uType);

// The size in pixels of the dialog base units of the system font: the
// width in the low word, the height in the high word.
LONG GetDialogBaseUnits();
