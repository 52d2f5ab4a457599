// The calibration column: pulses on screen at the common sensitivity and
// their collapse, paper columns in whole 5 mm blocks with the pulses placed
// by millimetres, columns too small for a pulse, and the pane's messages.
#include "analysisviews/ViewCAL.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "platform/gdi/RecordingDriver.h"
#include "printdevice/ECGDC.h"
#include "tests/analysisviews/AnalysisViewTestSupport.h"
#include "waveviews/ViewEnlargedPreview.h"

using namespace analysisviewtest;

namespace {

class CalColumnTest : public AnalysisViewFixture<CViewCAL> {
protected:
    // A 100 × 400 px column of 10 × 40 squares painted through the window.
    CViewCAL* Screen(int count, float common)
    {
        m_doc.SetSense(6, common, 0);
        if (!m_pScreen) m_pScreen = MakeView(100, 400);
        if (!m_pScreen) return nullptr;
        m_pScreen->SetCALArea(10, 40);
        m_pScreen->SetCALCount(count);
        m_pScreen->Invalidate(TRUE);
        m_pScreen->UpdateWindow();
        return m_pScreen;
    }
    // Runs of trace ink down the flat start of the pulses (x 20..35).
    int ScreenPulses()
    {
        CClientDC dc(m_pScreen);
        int runs = 0;
        bool inside = false;
        for (int y = 0; y < 400; ++y) {
            const bool hit = dc.GetPixel(25, y) == kTrace;
            if (hit && !inside) ++runs;
            inside = hit;
        }
        return runs;
    }

    // Prints through a recording DC at 10 px/mm into `rect`; the pulses
    // drawn (their baselines, top to bottom) and the rectangle as rewritten.
    struct Printed {
        BOOL result = FALSE;
        CRect rect;
        std::vector<int> baselines;
        std::vector<int> heights;
        bool grid = false;
    };
    Printed PrintColumn(CViewCAL& view, CRect rect, bool spread)
    {
        CDC recording;
        EXPECT_TRUE(recording.Attach(platform::gdi::CreateRecordingDC(400, 2000)));
        CECGDC printer(&recording, 2);
        Printed out;
        out.result = spread ? view.PrintCal(&printer, &rect, 10.0, 1) : view.Print(&printer, &rect, 10.0, 1);
        out.rect = rect;
        for (const auto& r : platform::gdi::GetRecording(recording.GetSafeHdc())) {
            if (r.op == platform::gdi::DrawOp::Polyline && r.points.size() == 6 && r.penWidth == 3) {
                out.baselines.push_back(r.points[0].y);
                out.heights.push_back(r.points[0].y - r.points[2].y);
            } else {
                out.grid = true;
            }
        }
        return out;
    }
    CViewCAL* m_pScreen = nullptr;
};

}  // namespace

TEST_F(CalColumnTest, ScreenPulsesStandAtTheCommonSensitivityAndCollapseWhenTheyWouldNotFit)
{
    // count, common sensitivity (mm/mV) → pulses on screen
    const struct { int count; float sense; int pulses; } cases[] = {
        {6, 20.0f, 1}, {6, 10.0f, 6}, {2, 40.0f, 1}, {2, 20.0f, 2}, {3, 20.0f, 3}, {3, 25.0f, 1}, {0, 10.0f, 0},
    };
    for (const auto& c : cases) {
        ASSERT_NE(nullptr, Screen(c.count, c.sense));
        EXPECT_EQ(c.pulses, ScreenPulses()) << c.count << " at " << c.sense;
    }
    // Three pulses at 5 mm/mV: rows of 133 px, each pulse 50 px high from its baseline.
    Screen(3, 5.0f);
    CClientDC dc(m_pScreen);
    for (int baseline : {66, 199, 332}) {
        EXPECT_EQ(kTrace, dc.GetPixel(25, baseline)) << baseline;
        EXPECT_EQ(kTrace, dc.GetPixel(50, baseline - 50)) << baseline;
        EXPECT_NE(kTrace, dc.GetPixel(50, baseline - 60)) << baseline;
    }
}

TEST_F(CalColumnTest, AColumnWithoutItsPaperSizeDrawsNoPulse)
{
    CViewCAL* view = MakeView(100, 400);
    ASSERT_NE(nullptr, view);
    view->SetCALCount(3);   // no SetCALArea yet: no squares to size a pulse by
    view->Invalidate(TRUE);
    view->UpdateWindow();
    CClientDC dc(view);
    int ink = 0;
    for (int y = 0; y < 400; ++y) ink += dc.GetPixel(25, y) == kTrace;
    EXPECT_EQ(0, ink);
}

TEST_F(CalColumnTest, ThePrintedColumnIsTenMillimetresOfWholeBlocksWithItsPulsesInRows)
{
    CViewCAL& view = Detached();
    view.SetCALCount(3);
    m_doc.SetSense(6, 10.0f, 0);
    // 20 × 103 mm given: 10 × 100 mm used.
    const Printed p = PrintColumn(view, CRect(5, 7, 205, 1037), false);
    EXPECT_TRUE(p.result);
    EXPECT_EQ(CRect(5, 7, 105, 1007), p.rect);
    EXPECT_TRUE(p.grid);
    EXPECT_EQ((std::vector<int>{7 + 166, 7 + 499, 7 + 832}), p.baselines);
    EXPECT_EQ((std::vector<int>{100, 100, 100}), p.heights);   // 10 mm at 10 px/mm

    // Paper has no 40 rule: two pulses at 40 mm/mV stay two.
    view.SetCALCount(2);
    m_doc.SetSense(6, 40.0f, 0);
    EXPECT_EQ(2u, PrintColumn(view, CRect(0, 0, 100, 1000), false).baselines.size());
    view.SetCALCount(3);
    m_doc.SetSense(6, 25.0f, 0);
    EXPECT_EQ(1u, PrintColumn(view, CRect(0, 0, 100, 1000), false).baselines.size());
}

TEST_F(CalColumnTest, SpreadPulsesStandFromFifteenMillimetresDownAndTenAboveTheBottom)
{
    CViewCAL& view = Detached();
    m_doc.SetSense(6, 10.0f, 0);
    view.SetCALCount(3);
    Printed p = PrintColumn(view, CRect(0, 0, 100, 1000), true);
    // (100 - 75) / 2 + 10 = 22 mm between the upper pulses.
    EXPECT_EQ((std::vector<int>{150, 370, 900}), p.baselines);
    EXPECT_EQ(100, p.heights.front());

    view.SetEnlargeTimes(2);
    p = PrintColumn(view, CRect(0, 0, 100, 1000), true);
    EXPECT_EQ(200, p.heights.front());

    // A count of 1 prints the bottom pulse alone.
    view.SetEnlargeTimes(1);
    view.SetCALCount(1);
    EXPECT_EQ((std::vector<int>{900}), PrintColumn(view, CRect(0, 0, 100, 1000), true).baselines);
    // Six at more than 10 mm/mV: one at mid-height.
    view.SetCALCount(6);
    m_doc.SetSense(6, 20.0f, 0);
    EXPECT_EQ((std::vector<int>{500}), PrintColumn(view, CRect(0, 0, 100, 1000), true).baselines);
}

TEST_F(CalColumnTest, ColumnsWithNoRoomForAPulsePrintTheirGridAlone)
{
    CViewCAL& view = Detached();
    view.SetCALCount(3);
    m_doc.SetSense(6, 10.0f, 0);
    // under 5 mm tall; enlarge times of 0; times beyond the column's millimetres
    Printed p = PrintColumn(view, CRect(0, 0, 100, 40), false);
    EXPECT_TRUE(p.result);
    EXPECT_TRUE(p.baselines.empty());
    EXPECT_TRUE(PrintColumn(view, CRect(0, 0, 100, 40), true).baselines.empty());
    view.SetEnlargeTimes(0);
    p = PrintColumn(view, CRect(0, 0, 100, 1000), true);
    EXPECT_TRUE(p.result);
    EXPECT_TRUE(p.grid);
    EXPECT_TRUE(p.baselines.empty());
    view.SetEnlargeTimes(101);
    EXPECT_TRUE(PrintColumn(view, CRect(0, 0, 100, 1000), true).baselines.empty());
}

TEST_F(CalColumnTest, ClicksAskThePaneUnlessTheColumnIsInADialog)
{
    CViewCAL* view = MakeView(100, 400, nullptr, DOC_TYPE_FINAL);
    ASSERT_NE(nullptr, view);
    Click(view, 50, 100);
    view->SetDocType(DOC_TYPE_REST);
    Click(view, 50, 100);
    view->SetDocType(DOC_TYPE_MFER);   // other kinds: the annotation layer's
    Click(view, 50, 100);
    view->SetDocType(DOC_TYPE_REST);
    view->SetDialogCAL(TRUE);
    Click(view, 50, 100);
    const std::vector<LoggedMsg> expected = {{kSenseRequest, 6, 6}, {kSenseRequest, 1, 6}};
    EXPECT_EQ(expected, m_pane.m_log);
}

TEST_F(CalColumnTest, TheMagnifierFollowsAPaneColumnButNotOneInADialog)
{
    CDlgEnlargedPreview magnifier;
    ASSERT_NO_FATAL_FAILURE(analysisviewtest::ShowMagnifier(magnifier, m_doc));
    m_doc.SetSense(6, 10.0f, 0);
    CViewCAL* view = Screen(3, 10.0f);
    ASSERT_NE(nullptr, view);

    view->SetDialogCAL(TRUE);
    platform::ui::Desktop::MoveMouse(view->GetSafeHwnd(), 40, 200);
    platform::ui::Desktop::PumpMessages();
    EXPECT_FALSE(view->GetMagnifier().HasCache());
    view->SetDialogCAL(FALSE);
    platform::ui::Desktop::MoveMouse(view->GetSafeHwnd(), 42, 201);
    platform::ui::Desktop::PumpMessages();
    EXPECT_TRUE(view->GetMagnifier().HasCache());
    // The magnified pulse: trace ink in the magnifier's picture.
    view->MoveEnlargedPreview(CPoint(42, 201));
    CDC* picture = magnifier.GetEnlargedPreview()->GetMemDC();
    ASSERT_NE(nullptr, picture);
    view->MoveEnlargedPreview(CPoint(42, 201));
    int ink = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) ink += picture->GetPixel(x, y) == kTrace;
    EXPECT_GT(ink, 10);

    m_frame->DestroyWindow();
    m_frame = nullptr;
    m_doc.SetEnlargedPreview(nullptr);
    magnifier.DestroyWindow();
}
