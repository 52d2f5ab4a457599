// The work area a window manager announces on the X server (a panel along
// an edge) becomes the monitor's work area, edge for edge, when the desktop
// attaches and whenever the manager changes it.
#include <gtest/gtest.h>

#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Monitors.h"
#include "tests/platform/ui/display/DisplayWindowTest.h"

namespace {

RECT WorkArea()
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint(POINT{500, 400}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

class XcbWorkAreaTest : public displaytest::DisplayWindowTest {};

}  // namespace

TEST_F(XcbWorkAreaTest, AnAnnouncedAreaWhoseOffsetsDifferGivesEachEdgeItsOwn)
{
    if (!Ready()) return;
    // A panel 60 pixels wide at the left and one 25 high at the top: the
    // area's right edge is its x plus its width, its foot its y plus its height.
    m_server.AnnounceWorkArea(60, 25, 900, 700);
    const RECT expected{60, 25, 960, 725};
    EXPECT_TRUE(RunUntil([&] { return Same(WorkArea(), expected); })) << Text(WorkArea());
    // The other way round: more at the top than at the left.
    m_server.AnnounceWorkArea(10, 90, 1000, 600);
    const RECT moved{10, 90, 1010, 690};
    EXPECT_TRUE(RunUntil([&] { return Same(WorkArea(), moved); })) << Text(WorkArea());
}

TEST_F(XcbWorkAreaTest, AnAreaAnnouncedBeforeTheDesktopAttachesIsReadAtTheAttach)
{
    if (!Ready()) return;
    platform::ui::Desktop::DetachDisplay();
    m_server.AnnounceWorkArea(48, 32, 976, 700);
    std::string error;
    ASSERT_TRUE(platform::ui::Desktop::AttachDisplay(m_server.Display().c_str(), &error)) << error;
    const RECT expected{48, 32, 1024, 732};
    EXPECT_TRUE(Same(WorkArea(), expected)) << Text(WorkArea());
}
