// The totals block of the RR result view on a record-maker report: its nine
// rows stand one below another, each with its value on its own line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysisviews/ViewRRResult.h"
#include "tests/analysisviews/RRViewTestSupport.h"

namespace {

using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;

const wchar_t* const kLabels[] = {L"計測時間",      L"総拍数",        L"心拍数",    L"平均 R-R 間隔", L"最大 R-R 間隔",
                                  L"最小 R-R 間隔", L"最大/最小",     L"SD",        L"CV"};

class RRResultTotals : public rrviewtest::RRViewTest {};

}  // namespace

TEST_F(RRResultTotals, TheTotalsStandOneBelowAnotherAStepOfTwentyUnitsApart)
{
    _RRDATAITEM* item = OpenIntervals(morvelance::MakeRRIntervals(150, 800, 0));
    ASSERT_NE(nullptr, item);
    // Each total its own text, to tell the rows apart.
    for (int t = 0; t < RR_TOTAL_COUNT; ++t) item->strRRTotal[t].Format(L"T%d", t);
    CViewRRResult* view = Show<CViewRRResult>(1000, 600);
    ASSERT_NE(nullptr, view);
    const double yScale = m_doc.GetYScale();
    const int top = static_cast<int>(30 * yScale);
    const int step = static_cast<int>(20 * yScale);
    ASSERT_GT(step, 0);
    rrviewtest::RecordedPrint screen(1000, 600);
    view->OnDraw(&screen.DC());
    // The first row 30 units down (the recording notes a text by its
    // baseline: the same offset from the top for every row).
    const DrawRecord first = screen.TextRecord(kLabels[0]);
    ASSERT_EQ(DrawOp::Text, first.op);
    const int offset = first.points[0].y - top;
    EXPECT_GE(offset, 0);
    EXPECT_LT(offset, step);
    int row = 0;
    for (const wchar_t* text : kLabels) {
        SCOPED_TRACE(testsupport::Utf8(CString(text)));
        const DrawRecord label = screen.TextRecord(text);
        ASSERT_EQ(DrawOp::Text, label.op);
        EXPECT_EQ(label.points[0].y, top + offset + row * step);
        ++row;
    }
    // Each value on its label's line, in the item's order of totals.
    const int order[] = {RR_TOTAL_MEASURE_TIME, RR_TOTAL_BEAT, RR_TOTAL_HEART_RATE, RR_TOTAL_MEAN, RR_TOTAL_MAX,
                         RR_TOTAL_MIN,          RR_TOTAL_MAX_MIN, RR_TOTAL_SD,      RR_TOTAL_CV};
    for (int r = 0; r < RR_TOTAL_COUNT; ++r) {
        const std::wstring value = L"= T" + std::to_wstring(order[r]);
        const DrawRecord drawn = screen.TextRecord(value);
        ASSERT_EQ(DrawOp::Text, drawn.op) << r;
        EXPECT_EQ(drawn.points[0].y, top + offset + r * step) << r;
    }
}
