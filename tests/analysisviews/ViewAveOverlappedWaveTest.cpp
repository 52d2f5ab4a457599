// The overlapped average beats: the fiducial lines the record maker measured,
// their defaults, windows the beats cannot fill, and a view that stays
// passive under the mouse.
#include "analysisviews/ViewAveOverlappedWave.h"
#include "platform/ui/windowing/Resources.h"
#include "tests/analysisviews/AnalysisViewTestSupport.h"
#include "tools/RestRecord.h"

using namespace analysisviewtest;

namespace {

const COLORREF kPColour = RGB(255, 0, 255);
const COLORREF kQrsColour = RGB(0, 0, 255);
const COLORREF kTColour = RGB(255, 0, 0);

// 600 × 400 px over 30 × 40 squares: one pixel a sample of the 600 across.
class OverlappedTest : public AnalysisViewFixture<CViewAveOverlappedWave> {
protected:
    CViewAveOverlappedWave* Shown()
    {
        CViewAveOverlappedWave* view = MakeView(600, 400);
        if (!view) return nullptr;
        view->Invalidate(TRUE);
        view->UpdateWindow();
        return view;
    }
    COLORREF At(CWnd* view, int x, int y)
    {
        CClientDC dc(view);
        return dc.GetPixel(x, y);
    }
    // Columns holding trace ink between rows 60 and 300 (above the legend).
    std::vector<int> TraceColumns(CWnd* view)
    {
        CClientDC dc(view);
        std::vector<int> columns;
        for (int x = 0; x < 600; ++x)
            for (int y = 60; y < 300; ++y)
                if (dc.GetPixel(x, y) == kTrace) {
                    columns.push_back(x);
                    break;
                }
        return columns;
    }
    static int16_t Tag(const morvelance::RecordBuilder& items, uint32_t tag)
    {
        int16_t value = -1;
        const std::vector<uint8_t>* item = items.Find(tag, 0);
        if (item) morvelance::ItemInt16(*item, &value);
        return value;
    }
};

}  // namespace

TEST_F(OverlappedTest, FiducialLinesStandWhereTheRecordMakerMeasuredThem)
{
    morvelance::RecordBuilder kept;
    OpenRest([&](morvelance::RecordBuilder& items) { kept = items; });
    CViewAveOverlappedWave* view = Shown();
    ASSERT_NE(nullptr, view);
    const _AVERAGE_FIDUCIALS f = view->ReadFiducials();
    EXPECT_EQ(Tag(kept, morvelance::kTagAveragePBegin), f.nPBegin);
    EXPECT_EQ(Tag(kept, morvelance::kTagAverageTEnd), f.nTEnd);
    EXPECT_EQ(kPColour, At(view, f.nPBegin, 5));
    EXPECT_EQ(kPColour, At(view, f.nPEnd, 5));
    EXPECT_EQ(kQrsColour, At(view, f.nQrsBegin, 5));
    EXPECT_EQ(kQrsColour, At(view, f.nQrsEnd, 5));
    EXPECT_EQ(kTColour, At(view, f.nTEnd, 5));
}

TEST_F(OverlappedTest, UnreadableOrOutOfRangeFiducialsTakeTheirDefaults)
{
    OpenRest([](morvelance::RecordBuilder& items) {
        items.SetInt16(3725, 0, 601);      // past the beat: 80
        items.SetInt16(3726, 0, -5);       // before it: 100
        items.SetInt16(3727, 0, 600);      // the last sample: the right edge
        items.SetInt16(3728, 0, 200);
        items.SetRaw(3729, 0, {7});        // one byte: unreadable, 180
    });
    CViewAveOverlappedWave* view = Shown();
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(kPColour, At(view, 80, 5));
    EXPECT_EQ(kPColour, At(view, 100, 5));
    EXPECT_EQ(kQrsColour, At(view, 599, 5));
    EXPECT_EQ(kQrsColour, At(view, 200, 5));
    EXPECT_EQ(kTColour, At(view, 180, 5));
}

TEST_F(OverlappedTest, TheLegendNamesTheThreeFiducialColours)
{
    OpenRest();
    CViewAveOverlappedWave* view = Shown();
    ASSERT_NE(nullptr, view);
    // Dots centred at x 10 in three rows above the bottom: P, QRS, T.
    CClientDC dc(view);
    std::vector<COLORREF> dots;
    for (int y = 250; y < 400; ++y) {
        const COLORREF c = dc.GetPixel(10, y);
        if ((c == kPColour || c == kQrsColour || c == kTColour) && (dots.empty() || dots.back() != c)) dots.push_back(c);
    }
    EXPECT_EQ((std::vector<COLORREF>{kPColour, kQrsColour, kTColour}), dots);
}

TEST_F(OverlappedTest, AWindowReachingPastTheBeatsDrawsOnlyTheSamplesHeld)
{
    OpenRest([](morvelance::RecordBuilder& items) {
        items.SetInt16(3723, 0, 300);
        items.SetInt16(3724, 0, 3000);
    });
    CViewAveOverlappedWave* view = Shown();
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(2700, view->GetWindowSpan());
    const std::vector<int> columns = TraceColumns(view);
    ASSERT_FALSE(columns.empty());
    EXPECT_GE(columns.front(), 299);
    EXPECT_LE(columns.back(), 600);
}

TEST_F(OverlappedTest, AWindowBeyondTheBeatsDrawsNoTrace)
{
    OpenRest([](morvelance::RecordBuilder& items) {
        items.SetInt16(3723, 0, 700);
        items.SetInt16(3724, 0, 800);
    });
    CViewAveOverlappedWave* view = Shown();
    ASSERT_NE(nullptr, view);
    EXPECT_TRUE(TraceColumns(view).empty());
}

TEST_F(OverlappedTest, ClicksAndMovesLeaveThePictureAndTheCursorAsTheyWere)
{
    OpenRest();
    CViewAveOverlappedWave* view = Shown();
    ASSERT_NE(nullptr, view);
    m_doc.SetMouseMode(2);   // even in annotation drawing
    const std::vector<int> before = TraceColumns(view);
    Click(view, 300, 200);
    platform::ui::Desktop::Drag(view->GetSafeHwnd(), CPoint(100, 100), CPoint(400, 300), 4);
    platform::ui::Desktop::PumpMessages();
    platform::ui::Desktop::MoveMouse(view->GetSafeHwnd(), 320, 210);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(::LoadCursor(nullptr, IDC_ARROW), ::GetCursor());
    EXPECT_TRUE(m_pane.m_log.empty());
    EXPECT_EQ(0, view->GetNotationManager().GetCount());
    view->Invalidate(FALSE);
    view->UpdateWindow();
    EXPECT_EQ(before, TraceColumns(view));
}
