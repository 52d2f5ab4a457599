// The monitors: one screen by default, a second placed beside it by a test,
// the virtual screen that spans both, and which monitor a window is on.
#include <gtest/gtest.h>

#include "platform/ui/windowing/Monitors.h"
#include "platform/ui/windowing/Window.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::Desktop;

namespace {

class MonitorsTest : public uitest::WindowLeakCheck {};

HWND MakeTopLevelAt(int x, int y, int cx, int cy)
{
    return CreateWindowExW(0, uitest::kLoggedClass, L"top", WS_OVERLAPPEDWINDOW, x, y, cx, cy, nullptr, nullptr,
                           nullptr, nullptr);
}

MONITORINFO InfoOf(HMONITOR monitor)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    EXPECT_TRUE(GetMonitorInfoW(monitor, &info));
    return info;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_F(MonitorsTest, OneScreenIsThePrimaryMonitorAndItsWorkArea)
{
    ASSERT_TRUE(Desktop::SetScreenSize(1280, 1024));
    HWND window = MakeTopLevelAt(100, 100, 300, 200);
    const MONITORINFO info = InfoOf(MonitorFromWindow(window, MONITOR_DEFAULTTONULL));
    EXPECT_TRUE(SameRect(RECT{0, 0, 1280, 1024}, info.rcMonitor));
    EXPECT_TRUE(SameRect(info.rcMonitor, info.rcWork));
    EXPECT_EQ(static_cast<DWORD>(MONITORINFOF_PRIMARY), info.dwFlags & MONITORINFOF_PRIMARY);
    EXPECT_EQ(1, GetSystemMetrics(SM_CMONITORS));
    DestroyWindow(window);
}

TEST_F(MonitorsTest, SecondMonitorWidensTheVirtualScreenAndItsMetrics)
{
    ASSERT_TRUE(Desktop::SetSecondMonitor(RECT{-800, 100, 0, 700}));
    EXPECT_EQ(-800, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(0, GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_EQ(800 + Desktop::kDefaultWidth, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(Desktop::kDefaultHeight, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_EQ(2, GetSystemMetrics(SM_CMONITORS));
    // The primary screen's own metrics do not move.
    EXPECT_EQ(Desktop::kDefaultWidth, GetSystemMetrics(SM_CXSCREEN));
    // A window may be dragged as wide as both monitors.
    EXPECT_GT(GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CXVIRTUALSCREEN));

    Desktop::Reset();
    EXPECT_EQ(1, GetSystemMetrics(SM_CMONITORS));
    EXPECT_EQ(0, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(Desktop::kDefaultWidth, GetSystemMetrics(SM_CXVIRTUALSCREEN));
}

TEST_F(MonitorsTest, SecondMonitorThatIsEmptyOrOverlapsThePrimaryIsRefused)
{
    EXPECT_FALSE(Desktop::SetSecondMonitor(RECT{1024, 0, 1024, 768}));
    EXPECT_FALSE(Desktop::SetSecondMonitor(RECT{1000, 0, 1800, 600}));
    EXPECT_EQ(1, GetSystemMetrics(SM_CMONITORS));
}

TEST_F(MonitorsTest, WindowBelongsToTheMonitorItOverlapsMost)
{
    const RECT second = {1024, 0, 1824, 600};
    ASSERT_TRUE(Desktop::SetSecondMonitor(second));
    HWND mostlyRight = MakeTopLevelAt(1000, 50, 300, 200);
    HWND mostlyLeft = MakeTopLevelAt(900, 50, 200, 200);
    const MONITORINFO right = InfoOf(MonitorFromWindow(mostlyRight, MONITOR_DEFAULTTONULL));
    EXPECT_TRUE(SameRect(second, right.rcMonitor));
    EXPECT_EQ(0u, right.dwFlags & MONITORINFOF_PRIMARY);
    const MONITORINFO left = InfoOf(MonitorFromWindow(mostlyLeft, MONITOR_DEFAULTTONULL));
    EXPECT_TRUE(SameRect(RECT{0, 0, 1024, 768}, left.rcMonitor));
    DestroyWindow(mostlyRight);
    DestroyWindow(mostlyLeft);
}

TEST_F(MonitorsTest, WindowOffEveryMonitorFollowsTheFlags)
{
    const RECT second = {1024, 0, 1824, 600};
    ASSERT_TRUE(Desktop::SetSecondMonitor(second));
    // Below the second monitor, beyond the primary's bottom edge too.
    HWND lost = MakeTopLevelAt(1500, 900, 100, 100);
    EXPECT_EQ(nullptr, MonitorFromWindow(lost, MONITOR_DEFAULTTONULL));
    EXPECT_TRUE(SameRect(RECT{0, 0, 1024, 768},
                         InfoOf(MonitorFromWindow(lost, MONITOR_DEFAULTTOPRIMARY)).rcMonitor));
    EXPECT_TRUE(SameRect(second, InfoOf(MonitorFromWindow(lost, MONITOR_DEFAULTTONEAREST)).rcMonitor));
    DestroyWindow(lost);
}

TEST_F(MonitorsTest, MonitorInfoIsRefusedForBadArguments)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info) - 1;
    EXPECT_FALSE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info));
    EXPECT_FALSE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), nullptr));
    info.cbSize = sizeof(info);
    // Off the only monitor with no default: no monitor to describe.
    EXPECT_FALSE(GetMonitorInfoW(MonitorFromPoint(POINT{5000, 5000}, MONITOR_DEFAULTTONULL), &info));
}

TEST_F(MonitorsTest, CursorRoamsOntoTheSecondMonitorAndStopsAtTheDesktopsEdge)
{
    ASSERT_TRUE(Desktop::SetSecondMonitor(RECT{-800, 0, 0, 600}));
    ASSERT_TRUE(SetCursorPos(-500, 300));
    POINT cursor = {};
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(-500, cursor.x);
    ASSERT_TRUE(SetCursorPos(-5000, 300));
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(-800, cursor.x);
}

TEST_F(MonitorsTest, AnnouncedWorkAreaLeavesAPanelOutOfEachMonitorItReaches)
{
    ASSERT_TRUE(Desktop::SetScreenSize(1920, 1080));
    ASSERT_TRUE(Desktop::SetSecondMonitor(RECT{1920, 0, 3200, 1024}));
    // A panel of 40 pixels along the foot of the primary monitor; the second one is untouched.
    platform::ui::SetWorkArea(RECT{0, 0, 3200, 1040});
    const MONITORINFO primary = InfoOf(MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTONULL));
    EXPECT_TRUE(SameRect(RECT{0, 0, 1920, 1080}, primary.rcMonitor));
    EXPECT_TRUE(SameRect(RECT{0, 0, 1920, 1040}, primary.rcWork));
    const MONITORINFO second = InfoOf(MonitorFromPoint(POINT{2000, 10}, MONITOR_DEFAULTTONULL));
    EXPECT_TRUE(SameRect(RECT{1920, 0, 3200, 1024}, second.rcWork));
    // Going back to one monitor makes it whole again.
    platform::ui::ClearSecondMonitor();
    EXPECT_TRUE(SameRect(RECT{0, 0, 1920, 1080}, InfoOf(MonitorFromPoint(POINT{10, 10}, 0)).rcWork));
}
