#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/DisplayLink.h"

#include <atomic>

#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/Monitors.h"

namespace platform::ui {

namespace {

const UINT kDefaultDoubleClickTime = 500;   // milliseconds

std::atomic<int> g_screenWidth{kDefaultScreenWidth};
std::atomic<int> g_screenHeight{kDefaultScreenHeight};
std::atomic<uint64_t> g_clock{0};   // milliseconds
std::atomic<UINT> g_doubleClickTime{kDefaultDoubleClickTime};

struct Beeps {
    int count = 0;
    UINT last = 0;
    BeepHandler handler;
};

Beeps& TheBeeps()
{
    static Beeps* beeps = new Beeps;
    return *beeps;
}

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
    case SM_CXFULLSCREEN: return width;   // there is no task bar: the work area is the whole screen
    case SM_CYSCREEN: return height;
    case SM_CYFULLSCREEN: return height - kCaption;   // a maximised window's client area
    case SM_CXMAXIMIZED: return width + 2 * kSizingFrame;
    case SM_CYMAXIMIZED: return height + 2 * kSizingFrame;
    default: return -1;
    }
}

// Metrics of the whole desktop: one monitor or the two a test placed. The
// origin may be negative (a monitor left of or above the primary), so an
// unknown index is told by the answer FALSE, not by the value.
bool VirtualScreenMetric(int nIndex, int& metric)
{
    const RECT screen = VirtualScreenRect();
    switch (nIndex) {
    case SM_XVIRTUALSCREEN: metric = screen.left; return true;
    case SM_YVIRTUALSCREEN: metric = screen.top; return true;
    case SM_CXVIRTUALSCREEN: metric = screen.right - screen.left; return true;
    case SM_CYVIRTUALSCREEN: metric = screen.bottom - screen.top; return true;
    // A window may be dragged as large as the whole desktop and its frame.
    case SM_CXMAXTRACK: metric = screen.right - screen.left + 2 * kSizingFrame + 4; return true;
    case SM_CYMAXTRACK: metric = screen.bottom - screen.top + 2 * kSizingFrame + 4; return true;
    case SM_CMONITORS: metric = MonitorCount(); return true;
    default: return false;
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
    case SM_SAMEDISPLAYFORMAT:
    case SM_DBCSENABLED: return 1;   // the system runs on a Japanese Windows
    case SM_CMOUSEBUTTONS: return 3;
    default: return 0;   // SM_SWAPBUTTON, SM_DEBUG… and unknown indexes
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

BOOL SetScreenSize(int width, int height)
{
    if (width < 1 || height < 1) return FALSE;
    g_screenWidth = width;
    g_screenHeight = height;
    TellGraphics(width, height);
    return TRUE;
}

int ScreenWidth()
{
    return g_screenWidth;
}

int ScreenHeight()
{
    return g_screenHeight;
}

DWORD ClockNow()
{
    return static_cast<DWORD>(ClockTicks());
}

uint64_t ClockTicks()
{
    // On an attached display time passes by itself: the desktop's clock
    // follows the real one whenever it is read.
    const DisplayBackEnd* display = detail::AttachedDisplay();
    if (display && display->clock) {
        const uint64_t now = display->clock();
        if (now > g_clock) g_clock = now;
    }
    return g_clock;
}

void SetClockTicks(uint64_t ticks)
{
    g_clock = ticks;
}

BeepHandler SetBeepHandler(BeepHandler handler)
{
    BeepHandler previous = std::move(TheBeeps().handler);
    TheBeeps().handler = std::move(handler);
    return previous;
}

int BeepCount()
{
    return TheBeeps().count;
}

UINT LastBeep()
{
    return TheBeeps().last;
}

void ResetSystemSettings()
{
    SetScreenSize(kDefaultScreenWidth, kDefaultScreenHeight);
    g_clock = 0;
    ClearSecondMonitor();
    g_doubleClickTime = kDefaultDoubleClickTime;
    TheBeeps().count = 0;
    TheBeeps().last = 0;
}

}  // namespace platform::ui

UINT GetDoubleClickTime()
{
    return platform::ui::g_doubleClickTime;
}

BOOL SetDoubleClickTime(UINT uInterval)
{
    platform::ui::g_doubleClickTime = uInterval ? uInterval : platform::ui::kDefaultDoubleClickTime;
    return TRUE;
}

int GetSystemMetrics(int nIndex)
{
    int metric = 0;
    if (platform::ui::VirtualScreenMetric(nIndex, metric)) return metric;
    metric = platform::ui::ScreenMetric(nIndex, platform::ui::ScreenWidth(), platform::ui::ScreenHeight());
    return metric >= 0 ? metric : platform::ui::FixedMetric(nIndex);
}

DWORD GetSysColor(int nIndex)
{
    const int count = static_cast<int>(sizeof(platform::ui::kSysColors) / sizeof(platform::ui::kSysColors[0]));
    if (nIndex < 0 || nIndex >= count) return 0;
    return platform::ui::kSysColors[nIndex];
}

BOOL MessageBeep(UINT uType)
{
    platform::ui::Beeps& beeps = platform::ui::TheBeeps();
    ++beeps.count;
    beeps.last = uType;
    if (beeps.handler) beeps.handler(uType);
    return TRUE;
}

LONG GetDialogBaseUnits()
{
    // The classic system font: 8 by 16 pixels.
    return MAKELONG(8, 16);
}

namespace {

void UiFont(LOGFONTW& font, int height, int weight)
{
    font = LOGFONTW{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = SHIFTJIS_CHARSET;
    const wchar_t face[] = L"ＭＳ Ｐゴシック";
    std::memcpy(font.lfFaceName, face, sizeof(face));
}

BOOL NonClientMetrics(UINT size, LPVOID buffer)
{
    if (!buffer || size < sizeof(NONCLIENTMETRICSW) - sizeof(int)) return FALSE;
    auto* metrics = static_cast<NONCLIENTMETRICSW*>(buffer);
    const UINT cbSize = metrics->cbSize ? metrics->cbSize : size;
    if (cbSize < sizeof(NONCLIENTMETRICSW) - sizeof(int)) return FALSE;
    metrics->iBorderWidth = 1;
    metrics->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    metrics->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
    metrics->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
    metrics->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
    UiFont(metrics->lfCaptionFont, -12, FW_BOLD);
    metrics->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
    metrics->iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
    UiFont(metrics->lfSmCaptionFont, -12, FW_BOLD);
    metrics->iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
    metrics->iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
    UiFont(metrics->lfMenuFont, -12, FW_NORMAL);
    UiFont(metrics->lfStatusFont, -12, FW_NORMAL);
    UiFont(metrics->lfMessageFont, -12, FW_NORMAL);
    if (cbSize >= sizeof(NONCLIENTMETRICSW)) metrics->iPaddedBorderWidth = 0;
    return TRUE;
}

}  // namespace

BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, LPVOID pvParam, UINT fWinIni)
{
    (void)fWinIni;   // nothing is stored: the settings are the desktop's
    auto setInt = [pvParam](int value) {
        if (!pvParam) return FALSE;
        *static_cast<int*>(pvParam) = value;
        return TRUE;
    };
    auto setUint = [pvParam](UINT value) {
        if (!pvParam) return FALSE;
        *static_cast<UINT*>(pvParam) = value;
        return TRUE;
    };
    switch (uiAction) {
    case SPI_GETWORKAREA: {
        if (!pvParam) return FALSE;
        *static_cast<RECT*>(pvParam) = RECT{0, 0, platform::ui::ScreenWidth(), platform::ui::ScreenHeight()};
        return TRUE;
    }
    case SPI_GETNONCLIENTMETRICS: return NonClientMetrics(uiParam, pvParam);
    case SPI_GETICONTITLELOGFONT: {
        if (!pvParam || uiParam < sizeof(LOGFONTW)) return FALSE;
        UiFont(*static_cast<LOGFONTW*>(pvParam), -12, FW_NORMAL);
        return TRUE;
    }
    case SPI_GETBEEP:
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETFONTSMOOTHING:
    case SPI_GETICONTITLEWRAP: return setInt(TRUE);
    case SPI_GETMENUDROPALIGNMENT:
    case SPI_GETSCREENREADER:
    case SPI_GETKEYBOARDPREF:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW: return setInt(FALSE);
    case SPI_GETHIGHCONTRAST: {
        auto* contrast = static_cast<HIGHCONTRASTW*>(pvParam);
        if (!contrast || uiParam < sizeof(HIGHCONTRASTW)) return FALSE;
        contrast->dwFlags = HCF_AVAILABLE;
        contrast->lpszDefaultScheme = nullptr;
        return TRUE;
    }
    case SPI_GETBORDER: return setInt(1);
    case SPI_GETKEYBOARDDELAY: return setInt(1);
    case SPI_GETKEYBOARDSPEED: return setInt(31);
    case SPI_ICONHORIZONTALSPACING:
    case SPI_ICONVERTICALSPACING: return setInt(75);
    case SPI_GETWHEELSCROLLLINES: return setUint(3);
    case SPI_GETMOUSEHOVERWIDTH:
    case SPI_GETMOUSEHOVERHEIGHT: return setUint(4);
    case SPI_GETMOUSEHOVERTIME: return setUint(400);
    case SPI_GETMENUSHOWDELAY: return setInt(400);
    case SPI_SETDOUBLECLICKTIME: return SetDoubleClickTime(uiParam);
    default: return FALSE;
    }
}
