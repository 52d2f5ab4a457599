// The RR histogram drawn from record-maker reports: bar heights in percent of
// all intervals, the window placed from the fullest bin, and the printed
// bars' tools and axis texts.
#include <gtest/gtest.h>

#include "analysisviews/ViewRRHistogram.h"
#include "tests/analysisviews/RRViewTestSupport.h"

namespace {

using morvelance::RRInterval;
using rrviewtest::Append;
using rrviewtest::Same;

const COLORREF kBarFill = RGB(0, 180, 255);
// A view of 800 × 480: X = 960, bars 30 px wide from x = 120, the 0 % line
// at y = 390 and 3 px per percent.
const int kWidth = 800;
const int kHeight = 480;
const int kBarsLeft = 120;
const int kBarWidth = 30;
const int kZeroLine = 390;

// The length in the middle of a bin of 20 ms from 200 ms.
int BinMs(int bin)
{
    return 200 + 20 * bin + 10;
}

class RRHistogramTest : public rrviewtest::RRViewTest {
protected:
    CViewRRHistogram* ShowHistogram() { return Show<CViewRRHistogram>(kWidth, kHeight); }

    // The top edge of bar j of the window (its outline's row), -1 when the
    // window has no filled bar there.
    int BarTop(CView* view, int j)
    {
        const int x = kBarsLeft + kBarWidth * j + kBarWidth / 2;
        int y = kZeroLine - 3;
        if (Pixel(view, x, y) != kBarFill) return -1;
        while (y > 0 && Pixel(view, x, y - 1) == kBarFill) --y;
        return y - 1;
    }
};

TEST_F(RRHistogramTest, BarsStandAtTheirPercentOfEveryIntervalIncludingThoseOutsideTheBins)
{
    // 100 intervals: 50 in bin 12, 30 in bin 13, and 20 of exactly 1800 ms,
    // which no bin counts but the total does.
    std::vector<RRInterval> list = Same(50, BinMs(12));
    Append(list, Same(30, BinMs(13)));
    Append(list, Same(20, 1800));
    OpenIntervals(list);
    CViewRRHistogram* view = ShowHistogram();
    ASSERT_NE(nullptr, view);
    EXPECT_NEAR(kZeroLine - 50 * kHeight / 160, BarTop(view, 12), 1);
    EXPECT_NEAR(kZeroLine - 30 * kHeight / 160, BarTop(view, 13), 1);
    for (int j = 0; j < 20; ++j)
        if (j != 12 && j != 13) {
            EXPECT_EQ(-1, BarTop(view, j)) << "bar " << j;
        }
}

TEST_F(RRHistogramTest, TheWindowStartsFromTheFullestBinAndTiesGoToTheLowerBin)
{
    // Fullest bin → the window position of its bar.
    struct Case {
        int bin;
        int bar;
    };
    static const Case kCases[] = {
        {12, 12},   // below 13: the window starts at bin 0
        {13, 8},    // the window moves to bin 5
        {68, 8},    // 68 and above: the last window, bins 60 to 79
        {79, 19},
    };
    int n = 0;
    for (const Case& c : kCases) {
        OpenIntervals(Same(10, BinMs(c.bin)), "mode" + std::to_string(n++));
        CViewRRHistogram* view = ShowHistogram();
        ASSERT_NE(nullptr, view);
        EXPECT_NEAR(kZeroLine - 100 * kHeight / 160, BarTop(view, c.bar), 1) << "bin " << c.bin;
    }
    // Bins 30 and 40 equally full: the window is placed from bin 30 (bins 20
    // to 39), so bin 40 falls outside it.
    std::vector<RRInterval> tie = Same(10, BinMs(40));
    Append(tie, Same(10, BinMs(30)));
    OpenIntervals(tie, "tie");
    CViewRRHistogram* view = ShowHistogram();
    ASSERT_NE(nullptr, view);
    EXPECT_NEAR(kZeroLine - 50 * kHeight / 160, BarTop(view, 10), 1);
    EXPECT_EQ(-1, BarTop(view, 0));
}

TEST_F(RRHistogramTest, AnEmptyListOrNoRecordDrawsNoBar)
{
    OpenIntervals({});
    CViewRRHistogram* view = ShowHistogram();
    ASSERT_NE(nullptr, view);
    for (int j = 0; j < 20; ++j) EXPECT_EQ(-1, BarTop(view, j));
    // The axes are complete, over the first window.
    rrviewtest::RecordedPrint empty(800, 480);
    CRect rect = empty.Rect();
    view->Print(empty.Device(), &rect);
    EXPECT_TRUE(empty.HasText(L"0.2"));
    EXPECT_TRUE(empty.HasText(L"0.6(Sec)"));
    // Without a current item the view is only its background and prints nothing.
    m_doc.SetCurDataIndex(-1);
    Repaint(view);
    EXPECT_EQ(rrviewtest::kBackground, Pixel(view, kBarsLeft, kZeroLine));
    rrviewtest::RecordedPrint none(800, 480);
    view->Print(none.Device(), &rect);
    EXPECT_TRUE(none.Records().empty());
}

TEST_F(RRHistogramTest, PrintingFillsBlackBarsAndLabelsTheLastWindowInSeconds)
{
    OpenIntervals(Same(20, BinMs(70)));
    CViewRRHistogram* view = ShowHistogram();
    ASSERT_NE(nullptr, view);
    rrviewtest::RecordedPrint print(1600, 960);
    CRect rect = print.Rect();
    view->Print(print.Device(), &rect);

    int bars = 0;
    for (const auto& r : print.Records()) {
        if (r.op != platform::gdi::DrawOp::Rectangle) continue;
        ++bars;
        EXPECT_EQ(RGB(0, 0, 0), r.brushColor);
        EXPECT_EQ(RGB(0, 0, 0), r.penColor);
        EXPECT_EQ(960 * 13 / 16 - 100 * 960 / 160, r.rect.top);
    }
    EXPECT_EQ(1, bars);
    EXPECT_TRUE(print.HasText(L"RR ﾋｽﾄｸﾞﾗ?"));
    EXPECT_TRUE(print.HasText(L"1.4"));
    EXPECT_TRUE(print.HasText(L"1.8(Sec)"));
    EXPECT_TRUE(print.HasText(L"100"));
    // A null device prints nothing.
    view->Print(nullptr, &rect);
}

}  // namespace
