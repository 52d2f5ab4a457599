// The exercise summary beats on paper: where each lead's column and ST
// value stand in millimetres of the printed rectangle, measured from the
// boxes of the texts the print writes.
#include "analysisviews/ViewExerSummaryAverage.h"
#include "platform/gdi/DCObjectSelector.h"
#include "tests/analysisviews/ExerViewTestSupport.h"
#include "tests/support/TextBoxes.h"

using namespace exerviewtest;

namespace {

// Ten pixels to the millimetre of a 130 x 55 mm printed rectangle.
const int kPxPerMm = 10;
const int kAcross = 130;
const int kDown = 55;

class ExerSummaryPrint : public ExerViewFixture<CViewExerSummaryAverage> {
protected:
    void SetUp() override
    {
        ExerViewFixture::SetUp();
        OpenRecord(DefaultOptions());
        ShowView(900, 330);
        m_view->OnUpdate(nullptr, 0, nullptr);
    }
    // The printed drawing of the rows, its texts' boxes kept.
    void PrintInto(testsupport::CTextBoxDC& dc)
    {
        CFont font;
        font.CreateFont(-3 * kPxPerMm, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, L"monospace");
        CDCObjectSelector<CFont> selected(dc, &font);
        ASSERT_EQ(m_view->DrawView(&dc, CRect(0, 0, kAcross * kPxPerMm, kDown * kPxPerMm), kAcross, kDown, 1), 1);
    }
    static int Mm(int mm) { return mm * kPxPerMm; }
    // Row k's baseline: rows of (55 - 10) / 3 mm from 5 mm down, three quarters in.
    static int Baseline(int k)
    {
        const int row = Mm((kDown - 10) / 3);
        return Mm(5) + k * row + row * 3 / 4;
    }
    // Where lead l's column stands on paper: 38 mm and a ninth of the room
    // beyond 35 mm, then a third of that room further for each lead after it.
    static int ColumnMm(int l) { return 38 + ((kAcross - 35) * (1 + 3 * l)) / 9; }
};

}  // namespace

TEST_F(ExerSummaryPrint, EachPrintedStValueStandsTenMillimetresAboveItsBeatsBaselineCentredOnItsColumn)
{
    testsupport::CTextBoxDC dc(kAcross * kPxPerMm, kDown * kPxPerMm);
    PrintInto(dc);
    // 48, 80 and 111 mm for the three leads.
    EXPECT_EQ(ColumnMm(0), 48);
    EXPECT_EQ(ColumnMm(1), 80);
    EXPECT_EQ(ColumnMm(2), 111);
    for (int k = 0; k < 3; ++k)
        for (int l = 0; l < 3; ++l) {
            SCOPED_TRACE(testing::Message() << "row " << k << ", lead " << l);
            const CString value = CExerBeatCell::StValueText(m_view->GetBeat(k, l).nStLevel);
            const int centre = Mm(ColumnMm(l) + 2);
            bool found = false;
            for (const CRect& box : dc.BoxesOf(value))
                found = found || (std::abs((box.left + box.right) / 2 - centre) <= 1 &&
                                  box.bottom == Baseline(k) - Mm(10));
            // Ten millimetres above the baseline, where the beat's cell starts.
            EXPECT_TRUE(found) << testsupport::Utf8(value) << " not centred at " << centre << " above " << Baseline(k);
        }
}

TEST_F(ExerSummaryPrint, EachPrintedLeadNameHeadsItsColumnAtItsPlaceInMillimetres)
{
    testsupport::CTextBoxDC dc(kAcross * kPxPerMm, kDown * kPxPerMm);
    PrintInto(dc);
    const int top = kDown * kPxPerMm * 5 / 60;
    std::vector<int> centres;
    for (const testsupport::TextBox& text : dc.Boxes())
        if (text.box.top == top) centres.push_back((text.box.left + text.box.right) / 2);
    ASSERT_EQ(centres.size(), 3u);
    for (int l = 0; l < 3; ++l) EXPECT_NEAR(centres[static_cast<size_t>(l)], Mm(ColumnMm(l) + 2), 1) << l;
}

TEST_F(ExerSummaryPrint, EachPrintedBeatStartsWhereItsReferenceFallsOnItsColumn)
{
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(kAcross * kPxPerMm, kDown * kPxPerMm)));
    ASSERT_EQ(m_view->DrawView(&dc, CRect(0, 0, kAcross * kPxPerMm, kDown * kPxPerMm), kAcross, kDown, 1), 1);
    const int width = kAcross * kPxPerMm;
    // The reference is shifted over the 140 mm the layout was drawn for.
    const int shift = MulDiv(width, kExerciseTestPoints.reference * 25 / 500, 140);
    int traces = 0;
    for (const platform::gdi::DrawRecord& r : platform::gdi::GetRecording(dc.GetSafeHdc())) {
        if (r.op != platform::gdi::DrawOp::Polyline || r.points.size() < 100) continue;
        ++traces;
        const int x = r.points.front().x;
        bool onColumn = false;
        for (int l = 0; l < 3; ++l) onColumn = onColumn || x == MulDiv(width, ColumnMm(l), kAcross) - shift;
        EXPECT_TRUE(onColumn) << r.Describe();
    }
    EXPECT_EQ(traces, 9);
}
