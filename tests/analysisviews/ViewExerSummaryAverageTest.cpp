// The exercise summary view over a record-maker exercise record: the rest,
// just-after-load and maximum-ST-depression beats of the three summary
// leads, their row heads and values, where the beats stand, and the clicks
// it passes on.
#include "analysisviews/ViewExerSummaryAverage.h"
#include "core/UserMessages.h"
#include "tests/analysisviews/ExerViewTestSupport.h"
#include "platform/gdi/DCObjectSelector.h"
#include "tests/support/DCStateCheck.h"
#include "tests/support/TextBoxes.h"

using namespace exerviewtest;
using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;

namespace {

// 6 pixels per millimetre of the 150 x 55 mm grid.
const int kWidth = 900;
const int kHeight = 330;

class ExerSummaryView : public ExerViewFixture<CViewExerSummaryAverage> {
protected:
    void Show()
    {
        OpenRecord(DefaultOptions());
        ShowView(kWidth, kHeight);
        m_view->OnUpdate(nullptr, 0, nullptr);
    }
    std::vector<DrawRecord> Recorded(int printing = 0)
    {
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(kWidth, kHeight)));
        EXPECT_EQ(m_view->DrawView(&dc, CRect(0, 0, kWidth, kHeight), 150, 55, printing), 1);
        return platform::gdi::GetRecording(dc.GetSafeHdc());
    }
    static bool HasText(const std::vector<DrawRecord>& records, const std::wstring& text)
    {
        for (const DrawRecord& r : records)
            if (r.op == DrawOp::Text && r.text == text) return true;
        return false;
    }
};

}  // namespace

TEST_F(ExerSummaryView, EachRowNamesItsBeatAndHeartRateAndEachBeatItsLevel)
{
    Show();
    const std::vector<DrawRecord> records = Recorded();
    for (const wchar_t* text : {L"安静時", L"負荷直後", L"最大ST降下", L"(Ex. 9'00'')", L"II", L"V5", L"aVF"})
        EXPECT_TRUE(HasText(records, text)) << Utf8(CString(text));
    CString rest, peak;
    rest.Format(L"%d bpm", m_options.restHr);
    peak.Format(L"%d bpm", m_options.peakHr);
    EXPECT_TRUE(HasText(records, rest.GetString()));
    EXPECT_TRUE(HasText(records, peak.GetString()));
    for (int l = 0; l < 3; ++l) {
        const int level = ExerciseStLevel(m_options, kSummaryLeads[l], 0, 540);
        EXPECT_EQ(m_view->GetBeat(2, l).nStLevel, level);
        EXPECT_TRUE(HasText(records, CExerBeatCell::StValueText(level).GetString())) << l;
        for (int k = 0; k < 3; ++k) EXPECT_GT(m_view->GetBeat(k, l).nLength, 0) << k << " " << l;
    }
}

TEST_F(ExerSummaryView, MissingHeartRatesReadAsAsterisksAndOnlyFlagOneMeansRecovery)
{
    Show();
    Item().nEndHr = -1;
    Item().nMaxStHr = 0;
    Item().nMaxStMode = 2;
    m_view->OnUpdate(nullptr, 0, nullptr);
    std::vector<DrawRecord> records = Recorded();
    int stars = 0;
    for (const DrawRecord& r : records) stars += r.op == DrawOp::Text && r.text == L"* bpm" ? 1 : 0;
    EXPECT_EQ(stars, 2);
    EXPECT_TRUE(HasText(records, L"(Ex. 9'00'')"));
    Item().nMaxStMode = 1;
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_TRUE(HasText(Recorded(), L"(Af. 9'00'')"));
}

TEST_F(ExerSummaryView, EachBeatIsShiftedByItsReferenceFromItsColumn)
{
    Show();
    const int mm = kWidth / 150;   // 6 pixels
    const int rowHeight = (55 - 10) / 3 * kHeight / 55;
    int traces = 0;
    for (const DrawRecord& r : Recorded()) {
        if (r.op != DrawOp::Polyline || r.points.size() < 100) continue;
        ++traces;
        const int shift = MulDiv(kWidth, kExerciseTestPoints.reference * 25 / 500, 140);
        const int x = r.points.front().x;
        EXPECT_TRUE(x == 67 * mm - shift || x == 97 * mm - shift || x == 127 * mm - shift) << r.Describe();
        // Every beat starts at one of the three baselines, three quarters into its row.
        bool onRow = false;
        for (int k = 0; k < 3; ++k)
            onRow = onRow || std::abs(r.points.front().y - (5 * kHeight / 55 + k * rowHeight + rowHeight * 3 / 4)) < 40;
        EXPECT_TRUE(onRow) << r.Describe();
    }
    EXPECT_EQ(traces, 9);
}

TEST_F(ExerSummaryView, ClicksAskForTheSensitivityOrTheSummaryPane)
{
    Show();
    m_doc.SetMouseMode(1);
    platform::ui::Desktop::Click(m_view->GetSafeHwnd(), kWidth * 35 / 150 + 3, 100);
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(m_notify.log.size(), 1u);
    EXPECT_EQ(m_notify.log[0].message, WM_CAL_PULSE_CLICKED);
    EXPECT_EQ(m_notify.log[0].wParam, 5u);
    m_pane.log.clear();
    platform::ui::Desktop::DoubleClick(m_view->GetSafeHwnd(), 500, 100);
    platform::ui::Desktop::PumpMessages();
    bool summary = false;
    for (const auto& m : m_pane.log) summary = summary || (m.message == WM_EXER_SUMMARY_OPEN && m.wParam == 4u);
    EXPECT_TRUE(summary);
}

TEST_F(ExerSummaryView, DrawingLeavesTheDCAsItFoundIt)
{
    Show();
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight)));
    for (int printing = 0; printing < 2; ++printing)
        EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(),
                                  m_view->DrawView(&dc, CRect(0, 0, kWidth, kHeight), 150, 55, printing));
}

TEST_F(ExerSummaryView, OnANarrowPaneEachRowLabelStandsApartFromTheFirstValueAndClearOfThePulse)
{
    Show();
    // Four pixels to the millimetre, as the pane gives the view at 1024 x 768,
    // in the document's text font, as the view paints.
    const int width = 600;
    const int height = 220;
    testsupport::CTextBoxDC dc(width, height);
    CDCObjectSelector<CFont> font(dc, m_doc.GetDocFont(CExerBeatCell::TEXT_FONT));
    ASSERT_EQ(m_view->DrawView(&dc, CRect(0, 0, width, height), 150, 55, 0), 1);
    std::vector<CRect> labels = dc.BoxesOf(L"ST-L");
    ASSERT_EQ(labels.size(), 3u);
    const int pulseRight = MulDiv(width, 40, 150);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        // The first lead's value stands on the row's baseline, leftmost.
        const int rowHeight = (55 - 10) / 3 * height / 55;
        const int baseline = 5 * height / 55 + k * rowHeight + rowHeight * 3 / 4;
        CRect value(width, 0, width, 0);
        for (const CRect& box : dc.BoxesOf(CExerBeatCell::StValueText(m_view->GetBeat(k, 0).nStLevel)))
            if (std::abs(box.bottom - baseline) <= 1 && box.left < value.left) value = box;
        ASSERT_LT(value.left, width);
        const CRect& label = labels[static_cast<size_t>(k)];
        CRect common;
        // Apart, with a blank between when side by side.
        EXPECT_FALSE(common.IntersectRect(&label, &value)) << label.right << " " << value.left;
        if (label.bottom > value.top) {
            EXPECT_LT(label.right, value.left);
        }
        EXPECT_GE(label.left, pulseRight);
    }
}

TEST_F(ExerSummaryView, WhereTheRowLabelHasRoomItStaysAtItsPlace)
{
    Show();
    testsupport::CTextBoxDC dc(kWidth * 2, kHeight * 2);
    CDCObjectSelector<CFont> font(dc, m_doc.GetDocFont(CExerBeatCell::TEXT_FONT));
    ASSERT_EQ(m_view->DrawView(&dc, CRect(0, 0, kWidth * 2, kHeight * 2), 150, 55, 0), 1);
    for (const CRect& label : dc.BoxesOf(L"ST-L")) EXPECT_EQ(label.left, MulDiv(kWidth * 2, 42, 150));
}
