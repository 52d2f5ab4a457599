// The shared layout rules of the page panes: the virtual page's scaling, the
// stacking of windows by pixels, and the rows of a wave grid.
#include <gtest/gtest.h>

#include <limits>

#include "panes/PaneKit.h"
#include "platform/base/Kernel.h"

using panes::GridHeight;
using panes::PixelStack;
using panes::RowsInRoom;
using panes::VirtualPage;

TEST(PaneVirtualPage, FullPageRectanglesAreTheUnitsThemselves)
{
    const VirtualPage page(1020, 664, VirtualPage::PageHeight(TRUE));
    EXPECT_EQ(CRect(515, 395, 1005, 655), page.Rect({515, 395, 490, 260}));
    const VirtualPage hidden(1020, 614, VirtualPage::PageHeight(FALSE));
    EXPECT_EQ(CRect(15, 345, 505, 605), hidden.RectBelow(10, {15, 335, 490, 260}));
}

TEST(PaneVirtualPage, LargeScreenScalesEachPartOnItsOwnAndRoundsToNearest)
{
    const VirtualPage page(1920, 1080, VirtualPage::PageHeight(TRUE));
    // 1080 × 60 / 664 = 97.59 → 98 and 1080 × 335 / 664 = 544.88 → 545:
    // the sum of the parts, not the part of the sum (395 → 642.47 → 642).
    const CRect below = page.RectBelow(60, {15, 335, 490, 260});
    EXPECT_EQ(98 + 545, below.top);
    EXPECT_EQ(MulDiv(1920, 15, 1020), below.left);
    EXPECT_EQ(MulDiv(1080, 260, 664), below.Height());
    EXPECT_EQ(642, page.Rect({15, 395, 490, 260}).top);
}

TEST(PaneVirtualPage, HidingThePatientStripGivesItsUnitsToTheRest)
{
    const VirtualPage with(1020, 1080, VirtualPage::PageHeight(TRUE));
    const VirtualPage without(1020, 1080, VirtualPage::PageHeight(FALSE));
    EXPECT_GT(without.Y(100), with.Y(100));
    EXPECT_EQ(1080, without.Y(614));
}

TEST(PanePixelStack, WindowsStackWithoutGapOrOverlap)
{
    PixelStack stack(97);
    const CRect a = stack.Next(0, 10, 33);
    const CRect b = stack.Next(0, 10, 851);
    EXPECT_EQ(a.bottom, b.top);
    EXPECT_EQ(97 + 33 + 851, stack.Top());
}

TEST(PaneGridRows, RowsAreWholeFiveSquareBlocks)
{
    // 994 units over 135 columns: 7.363 a row; 553 units hold 75.1 rows.
    EXPECT_EQ(75, RowsInRoom(553.0, 994.0 / 135));
    EXPECT_EQ(70, RowsInRoom(552.0, 994.0 / 135));
    EXPECT_EQ(0, RowsInRoom(4.0 * 7.0, 7.0));
}

TEST(PaneGridRows, NegativeOrEmptyRoomAndEmptyGridsGiveNoRows)
{
    EXPECT_EQ(0, RowsInRoom(-120.0, 7.5));
    EXPECT_EQ(0, RowsInRoom(500.0, 0.0));
    EXPECT_EQ(0, RowsInRoom(500.0, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(0, RowsInRoom(500.0, -3.0));
    EXPECT_EQ(0, RowsInRoom(std::numeric_limits<double>::infinity(), 7.5));
    EXPECT_EQ(1, GridHeight(0, 7.5));
    EXPECT_EQ(1, GridHeight(50, 0.0));
    EXPECT_EQ(static_cast<int>(75 * (994.0 / 135)) + 1, GridHeight(75, 994.0 / 135));
}
