#include "platform/ui/Desktop.h"

#include <atomic>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiTypes.h"

namespace platform::ui {

namespace {

std::atomic<int> g_screenWidth{Desktop::kDefaultWidth};
std::atomic<int> g_screenHeight{Desktop::kDefaultHeight};
std::atomic<DWORD> g_clock{0};   // milliseconds

// Metrics of the classic look at 96 dots per inch.
const int kBorder = 1;
const int kEdge = 2;
const int kDialogFrame = 3;
const int kSizingFrame = 4;
const int kCaption = 19;
const int kMenu = 19;
const int kScrollBar = 16;
const int kCaptionButton = 18;
const int kIcon = 32;
const int kSmallIcon = 16;

// Memory DCs made from the screen report its size; keep them in step.
void TellGraphics(int width, int height)
{
    platform::gdi::SetScreenSize(width, height);
}

int ScreenMetric(int nIndex, int width, int height)
{
    switch (nIndex) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:   // there is no task bar: the work area is the whole screen
    case SM_CXVIRTUALSCREEN: return width;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN: return height;
    case SM_CYFULLSCREEN: return height - kCaption;   // a maximised window's client area
    case SM_CXMAXIMIZED: return width + 2 * kSizingFrame;
    case SM_CYMAXIMIZED: return height + 2 * kSizingFrame;
    case SM_CXMAXTRACK: return width + 2 * kSizingFrame + 4;
    case SM_CYMAXTRACK: return height + 2 * kSizingFrame + 4;
    default: return -1;
    }
}

int FixedMetric(int nIndex)
{
    switch (nIndex) {
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return kScrollBar;
    case SM_CYCAPTION: return kCaption;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER: return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return kDialogFrame;
    case SM_CXFRAME:
    case SM_CYFRAME: return kSizingFrame;
    case SM_CXEDGE:
    case SM_CYEDGE: return kEdge;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return kIcon;
    case SM_CXSMICON:
    case SM_CYSMICON: return kSmallIcon;
    case SM_CYMENU: return kMenu;
    case SM_CXSIZE:
    case SM_CYSIZE:
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE: return kCaptionButton;
    case SM_CYSMCAPTION: return 15;
    case SM_CXSMSIZE: return 12;
    case SM_CYSMSIZE: return 14;
    case SM_CXMIN:
    case SM_CXMINTRACK: return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return 75;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS:
    case SM_SAMEDISPLAYFORMAT:
    case SM_DBCSENABLED: return 1;   // the system runs on a Japanese Windows
    case SM_CMOUSEBUTTONS: return 3;
    default: return 0;   // SM_XVIRTUALSCREEN, SM_SWAPBUTTON, SM_DEBUG… and unknown indexes
    }
}

// The "Windows Standard" scheme, indexed by COLOR_*.
const COLORREF kSysColors[] = {
    RGB(212, 208, 200),   // COLOR_SCROLLBAR
    RGB(58, 110, 165),    // COLOR_BACKGROUND
    RGB(10, 36, 106),     // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),   // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),   // COLOR_MENU
    RGB(255, 255, 255),   // COLOR_WINDOW
    RGB(0, 0, 0),         // COLOR_WINDOWFRAME
    RGB(0, 0, 0),         // COLOR_MENUTEXT
    RGB(0, 0, 0),         // COLOR_WINDOWTEXT
    RGB(255, 255, 255),   // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),   // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),   // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),   // COLOR_APPWORKSPACE
    RGB(10, 36, 106),     // COLOR_HIGHLIGHT
    RGB(255, 255, 255),   // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),   // COLOR_BTNFACE
    RGB(128, 128, 128),   // COLOR_BTNSHADOW
    RGB(128, 128, 128),   // COLOR_GRAYTEXT
    RGB(0, 0, 0),         // COLOR_BTNTEXT
    RGB(212, 208, 200),   // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),   // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),      // COLOR_3DDKSHADOW
    RGB(212, 208, 200),   // COLOR_3DLIGHT
    RGB(0, 0, 0),         // COLOR_INFOTEXT
    RGB(255, 255, 225),   // COLOR_INFOBK
    RGB(181, 181, 181),   // 25, unnamed
    RGB(0, 0, 128),       // COLOR_HOTLIGHT
    RGB(166, 202, 240),   // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),   // COLOR_GRADIENTINACTIVECAPTION
};

COLORREF SysColorForGraphics(int index)
{
    return GetSysColor(index);
}

// The graphics layer's COLOR_x + 1 brushes work from the moment the library is loaded.
struct SysColorInstaller {
    SysColorInstaller() { platform::gdi::SetSysColorSource(&SysColorForGraphics); }
} s_sysColorInstaller;

}  // namespace

BOOL Desktop::SetScreenSize(int width, int height)
{
    if (width < 1 || height < 1) return FALSE;
    g_screenWidth = width;
    g_screenHeight = height;
    TellGraphics(width, height);
    return TRUE;
}

int Desktop::ScreenWidth()
{
    return g_screenWidth;
}

int Desktop::ScreenHeight()
{
    return g_screenHeight;
}

DWORD Desktop::Now()
{
    return g_clock;
}

void Desktop::AdvanceClock(DWORD milliseconds)
{
    g_clock += milliseconds;
}

void Desktop::Reset()
{
    SetScreenSize(kDefaultWidth, kDefaultHeight);
    g_clock = 0;
}

}  // namespace platform::ui

int GetSystemMetrics(int nIndex)
{
    int metric = platform::ui::ScreenMetric(nIndex, platform::ui::Desktop::ScreenWidth(),
                                            platform::ui::Desktop::ScreenHeight());
    return metric >= 0 ? metric : platform::ui::FixedMetric(nIndex);
}

DWORD GetSysColor(int nIndex)
{
    const int count = static_cast<int>(sizeof(platform::ui::kSysColors) / sizeof(platform::ui::kSysColors[0]));
    if (nIndex < 0 || nIndex >= count) return 0;
    return platform::ui::kSysColors[nIndex];
}
