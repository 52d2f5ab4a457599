// The exercise memory view over a record-maker exercise record: the rest
// beat, the current strip's average beat and the strip of each ST lead, the
// header that follows the current time, the strip records' reference,
// event and fifth offset, and the double-click by pane.
#include <algorithm>

#include "analysisviews/ViewMemoryWave.h"
#include "core/UserMessages.h"
#include "tests/analysisviews/ExerViewTestSupport.h"
#include "tests/support/DCStateCheck.h"

using namespace exerviewtest;
using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;

namespace {

// 4 pixels per unit of the 300 x 110 grid.
const int kWidth = 1200;
const int kHeight = 440;

class MemoryView : public ExerViewFixture<CViewMemoryWave> {
protected:
    void Show(int strip, const std::function<void(RecordBuilder&)>& tweak = nullptr)
    {
        OpenRecord(DefaultOptions(), tweak);
        ShowView(kWidth, kHeight);
        m_doc.SetCurMemBlockNo(strip);
        m_view->OnUpdate();
    }
    std::vector<DrawRecord> Recorded(int printing = 0)
    {
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(kWidth, kHeight)));
        m_view->DrawView(&dc, CRect(0, 0, kWidth, kHeight), 300, 110, 1, printing);
        return platform::gdi::GetRecording(dc.GetSafeHdc());
    }
    static bool HasText(const std::vector<DrawRecord>& records, const std::wstring& text)
    {
        for (const DrawRecord& r : records)
            if (r.op == DrawOp::Text && r.text == text) return true;
        return false;
    }
    int U(int n) const { return MulDiv(kWidth, n, 300); }
};

}  // namespace

TEST_F(MemoryView, EachRowShowsItsStLeadsRestBeatCurrentBeatAndStrip)
{
    Show(1);
    const _EXERDATAITEM& item = Item();
    for (int j = 0; j < 3; ++j) {
        const int lead = item.nExtra3Lead[j];
        EXPECT_EQ(m_view->GetWave(0, j).nLength,
                  m_doc.GetRestWave(lead, nullptr, 0) / 2) << j;
        EXPECT_GT(m_view->GetWave(1, j).nLength, 0) << j;
        EXPECT_EQ(m_view->GetWave(2, j).nLength, 5000) << j;   // 10 s at 500 Hz
        EXPECT_EQ(m_view->GetWave(1, j).nReference, kExerciseTestPoints.reference);
        EXPECT_EQ(m_view->GetWave(1, j).nMeasOffset, ExerciseStripFifthOffset());
    }
    EXPECT_EQ(m_view->GetEventValue(), 1);
    const std::vector<DrawRecord> records = Recorded();
    EXPECT_TRUE(HasText(records, L"Event"));
    for (const wchar_t* name : {L"II", L"V5", L"aVF"}) EXPECT_TRUE(HasText(records, name)) << Utf8(CString(name));
    // The strips start 46 units in and run 25 units a second.
    int strips = 0;
    for (const DrawRecord& r : records)
        if (r.op == DrawOp::Polyline && r.points.size() > 1000) {
            ++strips;
            EXPECT_EQ(r.points.front().x, U(46));
        }
    EXPECT_EQ(strips, 3);
}

TEST_F(MemoryView, TheHeaderFollowsTheCurrentTimeAtPaint)
{
    Show(0);
    Item().nCurTime = 125;
    EXPECT_TRUE(HasText(Recorded(), L"Ex. 2'05''"));
    Item().nExerTime = 600;
    Item().nCurTime = 700;
    EXPECT_TRUE(HasText(Recorded(), L"Af. 1'40''"));
    EXPECT_FALSE(HasText(Recorded(), L"Event"));   // the first strip has none
}

TEST_F(MemoryView, AReferenceOfSixtyPlacesTheBeatByDefaultWithoutTicksAndAShortStripKeepsItsWidth)
{
    Show(0, [](RecordBuilder& items) {
        items.SetInt16(3482, 0, 60);
        for (uint32_t lead = 0; lead < 8; ++lead) items.SetSamples(3050 + lead, 0, {1, 2, 3, 4, 5});
    });
    EXPECT_EQ(m_view->GetWave(1, 0).nReference, 0);
    EXPECT_EQ(m_view->GetWave(2, 1).nLength, 5);
    int ticks = 0;
    int strips = 0;
    for (const DrawRecord& r : Recorded()) {
        if (r.op != DrawOp::Polyline) continue;
        // The current column's beats start 32 units in, less the default shift of 3000 / rate units.
        if (r.points.size() == 2 && r.points[0].x == r.points[1].x) ++ticks;
        if (r.points.size() >= 1000) ++strips;
    }
    EXPECT_EQ(strips, 0);
    // Only the rest beats, with their reference, get their five ticks.
    EXPECT_EQ(ticks % 5, 0);
    EXPECT_GT(ticks, 0);
}

TEST_F(MemoryView, AStripLongerThanThePaperStopsAtTheFrameAndKeepsItsSpeed)
{
    Show(1);
    // 270 units across: a 10 s strip from unit 46 would need 296.
    const int across = 270;
    const double perSample = static_cast<double>(kWidth) / across * 25.0 / 500.0;
    for (int printing = 0; printing < 2; ++printing) {
        CDC dc;
        ASSERT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(kWidth, kHeight)));
        m_view->DrawView(&dc, CRect(0, 0, kWidth, kHeight), across, 110, 1, printing);
        int strips = 0;
        for (const DrawRecord& r : platform::gdi::GetRecording(dc.GetSafeHdc())) {
            if (r.op != DrawOp::Polyline || r.points.size() < 1000) continue;
            ++strips;
            int left = kWidth, right = 0;
            for (const POINT& p : r.points) {
                left = std::min(left, static_cast<int>(p.x));
                right = std::max(right, static_cast<int>(p.x));
            }
            EXPECT_EQ(left, MulDiv(kWidth, 46, across)) << printing;
            EXPECT_LE(right, kWidth) << printing;
            EXPECT_GE(right, kWidth - MulDiv(kWidth, 1, across)) << printing;
            // Cut, not squeezed: the samples drawn stand as far apart as at 25 mm/s.
            EXPECT_NEAR((right - left) / perSample, static_cast<double>(r.points.size()), 0.02 * r.points.size())
                << printing;
        }
        EXPECT_EQ(strips, 3) << printing;
    }
}

TEST_F(MemoryView, ADoubleClickOpensTheSummaryOnlyFromTheSummaryPane)
{
    Show(0);
    m_doc.SetMouseMode(1);
    platform::ui::Desktop::DoubleClick(m_view->GetSafeHwnd(), 600, 200);
    platform::ui::Desktop::PumpMessages();
    EXPECT_TRUE(m_pane.log.empty());
    m_view->SetParentWndType(1);
    platform::ui::Desktop::DoubleClick(m_view->GetSafeHwnd(), 600, 200);
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(m_pane.log.size(), 1u);
    EXPECT_EQ(m_pane.log[0].message, WM_EXER_SUMMARY_OPEN);
    EXPECT_EQ(m_pane.log[0].wParam, 5u);
}

TEST_F(MemoryView, PaintingShowsTheStripsInTheTraceColour)
{
    Show(1);
    Paint();
    const int R = kHeight - MulDiv(kHeight, 10, 110);
    const int baseline = MulDiv(kHeight, 5, 110) + 2 * R / 9;
    EXPECT_GT(CountIn(CRect(U(46), baseline - 40, U(296), baseline + 40), kTrace), 100);
    EXPECT_GT(CountIn(CRect(0, baseline - 60, U(40), baseline + 40), kRestTrace), 10);
}

TEST_F(MemoryView, DrawingLeavesTheDCAsItFoundIt)
{
    Show(1);
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight)));
    for (int printing = 0; printing < 2; ++printing)
        EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(),
                                  m_view->DrawView(&dc, CRect(0, 0, kWidth, kHeight), 300, 110, 1, printing));
}

TEST_F(MemoryView, WithoutACurrentItemAPaintKeepsTheLastPicture)
{
    Show(1);
    Paint();
    const int R = kHeight - MulDiv(kHeight, 10, 110);
    const int baseline = MulDiv(kHeight, 5, 110) + 2 * R / 9;
    const CRect strip(U(46), baseline - 40, U(296), baseline + 40);
    ASSERT_GT(CountIn(strip, kTrace), 100);

    const int index = m_doc.GetCurDataIndex();
    m_doc.SetCurDataIndex(-1);
    m_view->Invalidate(FALSE);
    m_view->UpdateWindow();
    Capture();
    // Nothing could be drawn: the empty paper is not copied over the strips.
    EXPECT_GT(CountIn(strip, kTrace), 100);
    m_doc.SetCurDataIndex(index);
}
