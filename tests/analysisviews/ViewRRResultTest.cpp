// The RR result tables over record-maker reports: the per-minute rows with
// their minute ranges and bands, each column's texts taken by name from the
// item, the rules of an empty and of a narrow table, and the totals block.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "analysisviews/ViewRRResult.h"
#include "platform/base/Kernel.h"
#include "tests/analysisviews/RRViewTestSupport.h"

namespace {

using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;

const COLORREF kBand = RGB(220, 255, 220);

class RRResultTest : public rrviewtest::RRViewTest {
protected:
    // A record of 200 s of intervals with `rows` per-minute rows.
    rrtest::RRFiles OpenMinutes(int rows)
    {
        morvelance::RRReport report;
        report.intervals = morvelance::MakeRRIntervals(250, 800, 60);
        report.rr50Rows = rows;
        rrtest::RRFiles files = WriteWithReport("minutes", report);
        Add(files);
        EXPECT_EQ(0, Open(files));
        return files;
    }
    CViewRRResult* ShowResult() { return Show<CViewRRResult>(1000, 600); }

    // The printed table's lines in rect, split by direction.
    struct Rules {
        std::vector<DrawRecord> horizontal, vertical;
    };
    static Rules RulesOf(const std::vector<DrawRecord>& records)
    {
        Rules rules;
        for (const DrawRecord& r : records) {
            if (r.op != DrawOp::Polyline || r.points.size() != 2) continue;
            (r.points[0].y == r.points[1].y ? rules.horizontal : rules.vertical).push_back(r);
        }
        return rules;
    }
    // The text centred under the header with its cell's top at rowTop; empty when none.
    static std::wstring CellUnder(const std::vector<DrawRecord>& texts, const DrawRecord& header, int rowTop)
    {
        const int centre = (header.rect.left + header.rect.right) / 2;
        for (const DrawRecord& r : texts)
            if (std::abs((r.rect.left + r.rect.right) / 2 - centre) <= 1 && r.rect.top == rowTop) return r.text;
        return std::wstring();
    }
};

TEST_F(RRResultTest, MinuteRowsReadTheirRangesWithTheLastOneOpenAndEveryOtherBanded)
{
    OpenMinutes(3);
    CViewRRResult* view = ShowResult();
    ASSERT_NE(nullptr, view);
    rrviewtest::RecordedPrint screen(1000, 600);
    view->OnDraw(&screen.DC());
    EXPECT_TRUE(screen.HasText(L"0 - 1"));
    EXPECT_TRUE(screen.HasText(L"1 - 2"));
    EXPECT_TRUE(screen.HasText(L"2 -"));
    EXPECT_FALSE(screen.HasText(L"2 - 3"));

    // The table's bands on screen, from its rectangle in the client area.
    const int left = MulDiv(1000, 3, 7);
    const int top = MulDiv(600, 40, 1000);
    const int rh = MulDiv(600 + MulDiv(1000, 20, 1000) - top, 1, 14);
    const int T = 5 * rh;
    auto bandMiddle = [&](int row) { return top + ((row + 2) * T / 5 + (row + 3) * T / 5) / 2; };
    EXPECT_EQ(kBand, Pixel(view, left + 3, bandMiddle(0)));
    EXPECT_EQ(rrviewtest::kBackground, Pixel(view, left + 3, bandMiddle(1)));
    EXPECT_EQ(kBand, Pixel(view, left + 3, bandMiddle(2)));
}

TEST_F(RRResultTest, EachColumnShowsTheItemsTextOfItsOwnName)
{
    const rrtest::RRFiles files = OpenMinutes(2);
    CViewRRResult* view = ShowResult();
    ASSERT_NE(nullptr, view);
    rrviewtest::RecordedPrint print(900, 700);
    CRect rect = print.Rect();
    view->Print(print.Device(), &rect);
    const std::vector<DrawRecord> texts = print.Texts();
    const int rh = MulDiv(700, 1, 14);
    // Header of the column → the element of the record XML it shows.
    struct Column {
        const wchar_t* header;
        const wchar_t* element;
    };
    static const Column kColumns[] = {
        {L"最大RR", L"Rr50_max"}, {L"最小RR", L"Rr50_min"}, {L"平均RR", L"Rr50_avg"},  {L"心拍数", L"Rr50_hr"},
        {L"SD", L"Rr50_sd"},      {L"RR50", L"Rr50_rr_hr"}, {L"%RR50", L"Rr50_radio"}, {L"CV", L"Rr50_cv"},
    };
    for (const Column& c : kColumns) {
        const DrawRecord header = print.TextRecord(c.header);
        ASSERT_EQ(DrawOp::Text, header.op) << testsupport::Utf8(CString(c.header));
        for (int row = 1; row <= 2; ++row) {
            CString path;
            path.Format(L"/Rawdata/Tavrion/Report/Rr50_info/%s/%s_element[%d]", c.element, c.element, row);
            const CString expected = rrtest::ReadXmlValue(files.xml, path, L"data");
            ASSERT_FALSE(expected.IsEmpty());
            EXPECT_EQ(std::wstring(expected.GetString()), CellUnder(texts, header, header.rect.top + (row + 1) * rh))
                << testsupport::Utf8(CString(c.header)) << " row " << row;
        }
    }
}

TEST_F(RRResultTest, PrintedRulesFrameTheHeaderBandAndStopAtANarrowRectanglesEdge)
{
    OpenMinutes(0);
    CViewRRResult* view = ShowResult();
    ASSERT_NE(nullptr, view);
    // 95 px across: nine columns of 11 px reach 99, past the edge.
    rrviewtest::RecordedPrint print(95, 140);
    CRect rect = print.Rect();
    view->Print(print.Device(), &rect);
    const Rules rules = RulesOf(print.Records());
    ASSERT_EQ(2u, rules.horizontal.size());
    EXPECT_EQ(0, rules.horizontal[0].points[0].y);
    EXPECT_EQ(2 * 10, rules.horizontal[1].points[0].y);   // two rows of 140/14
    for (const DrawRecord& r : rules.horizontal) EXPECT_EQ(95, std::max(r.points[0].x, r.points[1].x));
    ASSERT_EQ(10u, rules.vertical.size());
    EXPECT_EQ(9 * 11, rules.vertical.back().points[0].x);
    // Nothing banded on paper.
    for (const DrawRecord& r : print.Records())
        if (r.op == DrawOp::PatBlt) {
            EXPECT_EQ(RGB(255, 255, 255), r.brushColor);
        }
}

TEST_F(RRResultTest, PrintedBandsAreWhite)
{
    OpenMinutes(3);
    CViewRRResult* view = ShowResult();
    ASSERT_NE(nullptr, view);
    rrviewtest::RecordedPrint print(900, 700);
    CRect rect = print.Rect();
    view->Print(print.Device(), &rect);
    int bands = 0;
    for (const DrawRecord& r : print.Records())
        if (r.op == DrawOp::PatBlt) {
            ++bands;
            EXPECT_EQ(RGB(255, 255, 255), r.brushColor);
        }
    EXPECT_EQ(2, bands);
    EXPECT_FALSE(print.HasText(L"計測時間"));   // the totals stay on screen
}

TEST_F(RRResultTest, TheTotalsListTheirValuesAndAMissingOneOnlyItsEqualsSign)
{
    _RRDATAITEM* item = OpenIntervals(morvelance::MakeRRIntervals(150, 800, 0));
    ASSERT_NE(nullptr, item);
    item->strRRTotal[RR_TOTAL_SD].Empty();
    CViewRRResult* view = ShowResult();
    ASSERT_NE(nullptr, view);
    rrviewtest::RecordedPrint screen(1000, 600);
    view->OnDraw(&screen.DC());
    const DrawRecord label = screen.TextRecord(L"計測時間");
    const DrawRecord value = screen.TextRecord(L"= 00:02:00");
    ASSERT_EQ(DrawOp::Text, label.op);
    ASSERT_EQ(DrawOp::Text, value.op);
    EXPECT_EQ(label.points[0].y, value.points[0].y);
    EXPECT_GT(value.points[0].x, label.points[0].x);
    EXPECT_TRUE(screen.HasText(L"= 151"));      // the intervals and one beat more
    EXPECT_TRUE(screen.HasText(L"最大/最小"));
    EXPECT_TRUE(screen.HasText(L"= "));        // the SD the record lacks
}

}  // namespace
