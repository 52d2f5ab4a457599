// The multi-lead view on a rhythm record: the record's heart rate places the
// dividers, and a double-click on a rhythm row opens the enlarged lead only
// when the row has a lead.
#include <gtest/gtest.h>

#include "dialogs/DlgEnlargedRhyRR.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/waveviews/MeasureViewTestSupport.h"

using platform::ui::Desktop;

namespace {

class RhythmViewRowsTest : public rhythmtest::RhythmDocTest {
protected:
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_pane.DestroyWindow();
        Desktop::Reset();
        rhythmtest::RhythmDocTest::TearDown();
    }
    void OpenAndShow(int leads, double heartRate, int style, double seconds = 30.0, CSize size = CSize(1040, 600))
    {
        morvelance::RhythmRecordShape shape;
        shape.leads = leads;
        shape.heartRate = heartRate;
        shape.seconds = seconds;
        ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, "rows", shape), leads));
        m_doc->m_bAutoDelete = FALSE;
        m_doc->SetSpeed(25.0f);
        m_doc->SetMouseMode(1);
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(CPoint(0, 0), size), nullptr, 0));
        m_frame = new measuretest::CRecording<CFrameWnd>(WM_DIVIDER_DROPPED);
        ASSERT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(CPoint(0, 0), size), &m_pane));
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CViewRhythmWave);
        context.m_pCurrentDoc = m_doc.get();
        m_view = DYNAMIC_DOWNCAST(CViewRhythmWave, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        ASSERT_NE(nullptr, m_view);
        m_view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_frame->RecalcLayout();
        m_view->SetDocType(DOC_TYPE_RHYTHM);
        m_view->SetWaveStyle(style, TRUE);
        m_view->OnUpdate(nullptr, 0, nullptr);
        m_view->Invalidate(FALSE);
        m_view->UpdateWindow();
    }

    CWnd m_pane;
    measuretest::CRecording<CFrameWnd>* m_frame = nullptr;
    CViewRhythmWave* m_view = nullptr;
};

TEST_F(RhythmViewRowsTest, TheRhythmRecordsHeartRatePlacesTheDividers)
{
    OpenAndShow(3, 60.0, 17);
    ASSERT_EQ(3u, m_frame->m_messages.size());
    EXPECT_EQ(1000, m_frame->m_messages[0].first);
}

TEST_F(RhythmViewRowsTest, ADoubleClickOnARowWithoutALeadOpensNothingAndOnItsLeadsRowTheEnlargedLead)
{
    // One lead in the three-row layout: rows 2 and 3 of each group have no lead.
    OpenAndShow(1, 60.0, 17);
    ASSERT_EQ(-1, m_view->GetRhythmRowLead(1));
    testsupport::ModalScript script;
    int sample = -1;
    script.On(CDlgEnlargedRhyRR::IDD,
              [&](CDialog& shown) { sample = static_cast<CDlgEnlargedRhyRR&>(shown).GetSample(); });
    Desktop::DoubleClick(m_view->GetSafeHwnd(), 540, 150);
    Desktop::PumpMessages();
    EXPECT_TRUE(script.Seen().empty());
    Desktop::AdvanceClock(1000);
    Desktop::DoubleClick(m_view->GetSafeHwnd(), 540, 50);
    Desktop::PumpMessages();
    EXPECT_EQ(std::vector<UINT>{CDlgEnlargedRhyRR::IDD}, script.Seen());
    // Half way across the first row of 10 s.
    EXPECT_NEAR(2500, sample, 5);
}

// A view whose height is no multiple of six: the pixels under the sixth row
// still belong to it, and the clicked sample is the one at or before the
// click, never rounded up to the next.
TEST_F(RhythmViewRowsTest, ADoubleClickBelowTheSixthRowOpensTheSixthRowsSampleAtOrBeforeTheClick)
{
    OpenAndShow(1, 60.0, 16, 70.0, CSize(1041, 604));
    CRect client;
    m_view->GetClientRect(&client);
    ASSERT_EQ(CSize(1041, 604), client.Size());
    testsupport::ModalScript script;
    int sample = -1;
    script.On(CDlgEnlargedRhyRR::IDD,
              [&](CDialog& shown) { sample = static_cast<CDlgEnlargedRhyRR&>(shown).GetSample(); });
    // Calibration column 40 px, wave area 1001 px for 5000 samples a row:
    // x 540 is 500 * 5000 / 1001 = 2497.5 samples into the row.
    Desktop::DoubleClick(m_view->GetSafeHwnd(), 540, 602);
    Desktop::PumpMessages();
    ASSERT_EQ(std::vector<UINT>{CDlgEnlargedRhyRR::IDD}, script.Seen());
    EXPECT_EQ(5 * 5000 + 2497, sample);
}

TEST_F(RhythmViewRowsTest, ADoubleClickOnARhythmLeadOfTheTwelveLeadPageOpensTheEnlargedLead)
{
    OpenAndShow(12, 60.0, 11);
    testsupport::ModalScript script;
    int lead = -1;
    int sense = -1;
    script.On(CDlgEnlargedRhyRR::IDD, [&](CDialog& shown) {
        auto& dialog = static_cast<CDlgEnlargedRhyRR&>(shown);
        lead = dialog.GetLead();
        sense = dialog.GetSenseID();
    });
    Desktop::DoubleClick(m_view->GetSafeHwnd(), 500, 600 / 24);
    Desktop::PumpMessages();
    EXPECT_EQ(std::vector<UINT>{CDlgEnlargedRhyRR::IDD}, script.Seen());
    EXPECT_EQ(0, lead);
    // The twelve-row page reads every lead at the common sense.
    EXPECT_EQ(6, sense);
}

}  // namespace
