// Every drawing of the RR views, on screen and on paper, leaves the device
// context with the pen, brush, font, modes and text colour it found.
#include <gtest/gtest.h>

#include "analysisviews/ViewRRHistogram.h"
#include "analysisviews/ViewRRIntervalList.h"
#include "analysisviews/ViewRRResult.h"
#include "analysisviews/ViewRRTrend.h"
#include "tests/analysisviews/RRViewTestSupport.h"
#include "tests/support/DCStateCheck.h"

namespace {

class RRViewsDCStateTest : public rrviewtest::RRViewTest {
protected:
    void SetUp() override
    {
        rrviewtest::RRViewTest::SetUp();
        morvelance::RRReport report;
        report.intervals = morvelance::MakeRRIntervals(300, 800, 80);
        OpenReport(report);
    }
};

TEST_F(RRViewsDCStateTest, ScreenAndPaperDrawingsLeaveTheContextAsFound)
{
    rrviewtest::RecordedPrint paper(1200, 900);
    CRect rect = paper.Rect();
    HDC hdc = paper.DC().GetSafeHdc();
    CViewRRHistogram* histogram = Show<CViewRRHistogram>(600, 400);
    ASSERT_NE(nullptr, histogram);
    EXPECT_LEAVES_DC_AS_FOUND(hdc, histogram->OnDraw(&paper.DC()));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, histogram->Print(paper.Device(), &rect));
    CViewRRTrend* trend = Show<CViewRRTrend>(600, 400);
    ASSERT_NE(nullptr, trend);
    EXPECT_LEAVES_DC_AS_FOUND(hdc, trend->OnDraw(&paper.DC()));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, trend->Print(paper.Device(), &rect));
    CViewRRIntervalList* list = Show<CViewRRIntervalList>(600, 400);
    ASSERT_NE(nullptr, list);
    EXPECT_LEAVES_DC_AS_FOUND(hdc, list->OnDraw(&paper.DC()));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, list->Print(paper.Device(), rect, 1));
    CViewRRResult* result = Show<CViewRRResult>(600, 400);
    ASSERT_NE(nullptr, result);
    EXPECT_LEAVES_DC_AS_FOUND(hdc, result->OnDraw(&paper.DC()));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, result->Print(paper.Device(), &rect));
}

}  // namespace
