// The desktop: screen metrics that follow the host's screen, fixed metrics
// of the classic look, the clock that only moves when told, the settings
// SystemParametersInfo answers and the beeps it counts.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Image.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"

using platform::ui::Desktop;

namespace {

class DesktopTest : public ::testing::Test {
protected:
    void TearDown() override { Desktop::Reset(); }
};

}  // namespace

TEST_F(DesktopTest, DefaultScreenIs1024By768)
{
    Desktop::Reset();
    EXPECT_EQ(1024, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(768, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(DesktopTest, ScreenMetricsFollowTheScreenSize)
{
    ASSERT_TRUE(Desktop::SetScreenSize(1280, 1024));
    EXPECT_EQ(1280, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(1024, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(1280, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(1024, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_EQ(0, GetSystemMetrics(SM_XVIRTUALSCREEN));
    // A maximised window's client area: the whole screen less a caption.
    EXPECT_EQ(1280, GetSystemMetrics(SM_CXFULLSCREEN));
    EXPECT_EQ(1024 - GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYFULLSCREEN));
    // A maximised window hangs its sizing frame off every edge.
    EXPECT_EQ(1280 + 2 * GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CXMAXIMIZED));
    EXPECT_GT(GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CXFULLSCREEN));
    EXPECT_GT(GetSystemMetrics(SM_CYMAXTRACK), GetSystemMetrics(SM_CYFULLSCREEN));

    // Portrait screens too (the system picks smaller fonts for them).
    ASSERT_TRUE(Desktop::SetScreenSize(768, 1024));
    EXPECT_LT(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(DesktopTest, ScreenSizeReachesTheGraphicsLayer)
{
    ASSERT_TRUE(Desktop::SetScreenSize(800, 600));
    SIZE size = platform::gdi::GetScreenSize();
    EXPECT_EQ(800, size.cx);
    EXPECT_EQ(600, size.cy);
}

TEST_F(DesktopTest, EmptyScreenIsRefused)
{
    ASSERT_TRUE(Desktop::SetScreenSize(1280, 1024));
    EXPECT_FALSE(Desktop::SetScreenSize(0, 768));
    EXPECT_FALSE(Desktop::SetScreenSize(1024, -1));
    EXPECT_EQ(1280, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(1024, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(DesktopTest, FixedMetricsDoNotDependOnTheScreen)
{
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    ASSERT_TRUE(Desktop::SetScreenSize(1920, 1080));
    EXPECT_EQ(scrollBar, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_GT(GetSystemMetrics(SM_CYCAPTION), 0);
    EXPECT_GT(GetSystemMetrics(SM_CYMENU), 0);
    EXPECT_EQ(1, GetSystemMetrics(SM_CXBORDER));
    EXPECT_EQ(32, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(1, GetSystemMetrics(SM_CMONITORS));
    EXPECT_EQ(0, GetSystemMetrics(-1));
    EXPECT_EQ(0, GetSystemMetrics(9999));
}

TEST_F(DesktopTest, ClockMovesOnlyWhenAdvancedAndWraps)
{
    Desktop::Reset();
    EXPECT_EQ(0u, Desktop::Now());
    Desktop::AdvanceClock(250);
    Desktop::AdvanceClock(0);
    EXPECT_EQ(250u, Desktop::Now());
    Desktop::AdvanceClock(0xFFFFFFFFu - 250u);
    EXPECT_EQ(0xFFFFFFFFu, Desktop::Now());
    Desktop::AdvanceClock(2);   // wraps like GetTickCount
    EXPECT_EQ(1u, Desktop::Now());
}

TEST_F(DesktopTest, SystemColoursPaintTheGraphicsLayersPseudoBrushes)
{
    EXPECT_EQ(RGB(255, 255, 255), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(RGB(0, 0, 0), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_NE(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(0u, GetSysColor(-1));
    EXPECT_EQ(0u, GetSysColor(200));

    HDC dc = platform::gdi::CreateImageDC(8, 8);
    ASSERT_NE(nullptr, dc);
    RECT all = {0, 0, 8, 8};
    EXPECT_NE(0, FillRect(dc, &all, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1))));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(dc, 3, 3));
    DeleteDC(dc);
}

TEST_F(DesktopTest, WorkAreaIsTheWholeScreen)
{
    ASSERT_TRUE(Desktop::SetScreenSize(1280, 1024));
    RECT area = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(0, area.left);
    EXPECT_EQ(0, area.top);
    EXPECT_EQ(1280, area.right);
    EXPECT_EQ(1024, area.bottom);
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETWORKAREA, 0, nullptr, 0));
    EXPECT_FALSE(SystemParametersInfoW(0xFFFF, 0, &area, 0));   // unknown action
}

TEST_F(DesktopTest, NonClientMetricsMatchTheSystemMetrics)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), metrics.iScrollWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYSIZE), metrics.iCaptionHeight);
    EXPECT_EQ(FW_BOLD, metrics.lfCaptionFont.lfWeight);
    EXPECT_GT(0, metrics.lfMessageFont.lfHeight);
    EXPECT_NE(L'\0', metrics.lfMessageFont.lfFaceName[0]);

    // The size before iPaddedBorderWidth is still accepted; less is not.
    NONCLIENTMETRICSW older = {};
    older.cbSize = sizeof(older) - sizeof(int);
    older.iPaddedBorderWidth = 77;
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, older.cbSize, &older, 0));
    EXPECT_EQ(77, older.iPaddedBorderWidth);   // not written past the size given
    NONCLIENTMETRICSW tooSmall = {};
    tooSmall.cbSize = 16;
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 16, &tooSmall, 0));

    LOGFONTW iconFont = {};
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(iconFont), &iconFont, 0));
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETICONTITLELOGFONT, 4, &iconFont, 0));
}

TEST_F(DesktopTest, SmallSettingsAreAnswered)
{
    UINT lines = 0;
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    EXPECT_EQ(3u, lines);
    BOOL full = FALSE;
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0));
    EXPECT_TRUE(full);
    HIGHCONTRASTW contrast = {sizeof(contrast), HCF_HIGHCONTRASTON, nullptr};
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0));
    EXPECT_EQ(sizeof(contrast), contrast.cbSize);
    EXPECT_FALSE(contrast.dwFlags & HCF_HIGHCONTRASTON);
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETHIGHCONTRAST, 4, &contrast, 0));

    EXPECT_TRUE(SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, 250, nullptr, 0));
    EXPECT_EQ(250u, GetDoubleClickTime());
    Desktop::Reset();
    EXPECT_EQ(500u, GetDoubleClickTime());
    EXPECT_EQ(MAKELONG(8, 16), GetDialogBaseUnits());
}

TEST_F(DesktopTest, BeepsAreCountedAndHandedOn)
{
    EXPECT_EQ(0, Desktop::BeepCount());
    std::vector<UINT> heard;
    platform::ui::BeepHandler previous = platform::ui::SetBeepHandler([&heard](UINT type) { heard.push_back(type); });
    EXPECT_TRUE(MessageBeep(MB_ICONHAND));
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_EQ(2, Desktop::BeepCount());
    EXPECT_EQ(0u, Desktop::LastBeep());
    EXPECT_EQ((std::vector<UINT>{MB_ICONHAND, 0}), heard);
    platform::ui::SetBeepHandler(previous);
    Desktop::Reset();
    EXPECT_EQ(0, Desktop::BeepCount());
}
