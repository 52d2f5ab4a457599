// The RR trend drawn from record-maker reports: where the line runs, where it
// stops, how long and short intervals are placed, and the printed pen.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysisviews/ViewRRTrend.h"
#include "tests/analysisviews/RRViewTestSupport.h"

namespace {

using morvelance::RRInterval;
using rrviewtest::Append;
using rrviewtest::Same;

const COLORREF kLine = RGB(0, 0, 255);
// A view of 800 × 480: X = 840, time from x = 105 (0 ms) to 735 (180,000 ms),
// lengths at y = 440 − v / 5 (0.2 s at 400, 1.8 s on the top line at 80).
const int kWidth = 800;
const int kHeight = 480;
const int kTimeLeft = 105;
const int kTimeRight = 735;
const int kTopLine = 80;

int XOf(long long t)
{
    return kTimeLeft + static_cast<int>(t * 840 * 0.01 / 2400);
}

class RRTrendTest : public rrviewtest::RRViewTest {
protected:
    CViewRRTrend* ShowTrend() { return Show<CViewRRTrend>(kWidth, kHeight); }

    // The columns holding line pixels, leftmost and rightmost; -1 when none.
    std::pair<int, int> LineSpan(CView* view)
    {
        CClientDC dc(view);
        int first = -1, last = -1;
        for (int x = 0; x < kWidth; ++x)
            for (int y = 0; y < kHeight; ++y)
                if (dc.GetPixel(x, y) == kLine) {
                    if (first < 0) first = x;
                    last = x;
                    break;
                }
        return {first, last};
    }
    bool LineNear(CView* view, int x, int y)
    {
        for (int dy = -1; dy <= 1; ++dy)
            if (Pixel(view, x, y + dy) == kLine) return true;
        return false;
    }
};

TEST_F(RRTrendTest, TheLineRunsForwardFromTheFirstIntervalsEndAndStopsAtThreeMinutes)
{
    // 250 s of one-second intervals, the second one shorter than the first:
    // every point still lies to the right of the one before.
    std::vector<RRInterval> list = Same(1, 1000);
    Append(list, Same(1, 600));
    Append(list, Same(248, 1000));
    OpenIntervals(list);
    CViewRRTrend* view = ShowTrend();
    ASSERT_NE(nullptr, view);
    const std::pair<int, int> span = LineSpan(view);
    EXPECT_NEAR(XOf(1000), span.first, 1);
    // The last point within 180,000 ms is interval 180 (ending at 179,600 ms).
    EXPECT_NEAR(XOf(179600), span.second, 1);
    EXPECT_LE(span.second, kTimeRight);
    EXPECT_TRUE(LineNear(view, XOf(90000), 440 - 1000 / 5));
}

TEST_F(RRTrendTest, LongIntervalsLieOnTheTopLineAndShortOnesFallBelowTheFrame)
{
    std::vector<RRInterval> list = Same(20, 2500);
    Append(list, Same(100, 100));
    OpenIntervals(list);
    CViewRRTrend* view = ShowTrend();
    ASSERT_NE(nullptr, view);
    EXPECT_TRUE(LineNear(view, XOf(25000), kTopLine));
    EXPECT_TRUE(LineNear(view, XOf(55000), 440 - 100 / 5));
}

TEST_F(RRTrendTest, AnIntervalWithoutALengthAddsNoTimeAndNoPoint)
{
    std::vector<RRInterval> list = Same(30, 1000);
    list[10].ms = -1;
    Append(list, Same(30, 1000));
    OpenIntervals(list);
    CViewRRTrend* view = ShowTrend();
    ASSERT_NE(nullptr, view);
    // 59 lengths: the line ends at 59 s and never dips to the 0 ms level.
    EXPECT_NEAR(XOf(59000), LineSpan(view).second, 1);
    for (int x = XOf(1000); x <= XOf(59000); ++x) EXPECT_NE(kLine, Pixel(view, x, 440)) << x;
}

TEST_F(RRTrendTest, PrintingDrawsTheLineWithTheBoldBlackPenUnderTheSecondsAxis)
{
    OpenIntervals(Same(100, 800));
    CViewRRTrend* view = ShowTrend();
    ASSERT_NE(nullptr, view);
    rrviewtest::RecordedPrint print(1600, 960);
    CRect rect = print.Rect();
    view->Print(print.Device(), &rect);
    int boldLines = 0;
    for (const auto& r : print.Records())
        if (r.op == platform::gdi::DrawOp::Polyline && r.penWidth == 4 && r.penColor == RGB(0, 0, 0)) ++boldLines;
    EXPECT_EQ(99, boldLines);
    EXPECT_TRUE(print.HasText(L"RR ﾄﾚﾝﾄﾞｸﾞﾗ?"));
    EXPECT_TRUE(print.HasText(L"秒"));
    EXPECT_TRUE(print.HasText(L"3(min)"));
    EXPECT_TRUE(print.HasText(L"1.8"));
}

}  // namespace
