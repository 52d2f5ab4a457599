// The RR histogram's frame on screen: its top edge stands at the 100 % line,
// with no bar reaching it, and its sides run down to the 0 % line.
#include <gtest/gtest.h>

#include "analysisviews/ViewRRHistogram.h"
#include "tests/analysisviews/RRViewTestSupport.h"

namespace {

const COLORREF kFrame = RGB(127, 127, 127);

class RRHistogramFrameTest : public rrviewtest::RRViewTest {};

}  // namespace

TEST_F(RRHistogramFrameTest, TheFrameTopIsTheHundredPercentLineAcrossTheBarsAndTheTicks)
{
    // Half the intervals in each of two bins: no bar climbs above 50 %.
    std::vector<morvelance::RRInterval> list = rrviewtest::Same(10, 630);
    rrviewtest::Append(list, rrviewtest::Same(10, 650));
    OpenIntervals(list);
    // 800 × 480: X = 960, the frame from x = 120 to 720, its top at
    // 3 × 480 / 16 = 90 and the 0 % line at 13 × 480 / 16 = 390.
    CViewRRHistogram* view = Show<CViewRRHistogram>(800, 480);
    ASSERT_NE(nullptr, view);
    for (int x : {130, 400, 710}) {
        EXPECT_EQ(kFrame, Pixel(view, x, 90)) << "top edge at x " << x;
        EXPECT_NE(kFrame, Pixel(view, x, 89)) << "above the top edge at x " << x;
        EXPECT_NE(kFrame, Pixel(view, x, 91)) << "below the top edge at x " << x;
    }
    // The sides rise from the 0 % line to the top edge and no further.
    for (int x : {120, 720}) {
        EXPECT_EQ(kFrame, Pixel(view, x, 91)) << x;
        EXPECT_EQ(kFrame, Pixel(view, x, 240)) << x;
        EXPECT_NE(kFrame, Pixel(view, x, 85)) << x;
    }
}
