// The exercise memory page on an exercise record written by the record
// maker: playback of the stored strips once a second on the desktop clock to
// the last strip, back and next, the host's trend choice kept in the item,
// the layout and the page style reported to the host.
#include <gtest/gtest.h>

#include "analysisviews/ViewExerTrend.h"
#include "analysisviews/ViewMemoryWave.h"
#include "core/UserMessages.h"
#include "dialogs/DlgPreNext.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"
#include "panes/WndExerAverageStrips.h"
#include "panes/WndExerMemory.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "tests/panes/PaneTestSupport.h"

using platform::ui::Desktop;

namespace {

class ExerMemoryPaneTest : public exertest::ExerDocument {
protected:
    void SetUp() override
    {
        exertest::ExerDocument::SetUp();
        m_screen.Fresh(m_doc, 1020, 664);
        ASSERT_EQ(0, Open(m_doc, Write(exertest::DefaultOptions())));
    }
    void TearDown() override
    {
        m_host.Close();
        exertest::ExerDocument::TearDown();
    }
    CWndExerMemory* Show()
    {
        CWndExerMemory* pane = m_host.Open([this](CWndExerMemory& p) { p.SetExerViewDoc(&m_doc); }, TRUE, 1020, 664);
        pane->SendMessage(WM_SIZE, 0, 0);
        pane->OnUpdate();
        Desktop::PumpMessages();
        return pane;
    }
    _EXERDATAITEM& Item() { return *m_doc.GetCurrentDataItem(); }
    int Strips() { return Item().nExerMemCount + Item().nPostMemCount; }
    void Press(CDlgCtrl* strip, int id)
    {
        CRect rect;
        strip->GetDlgItem(id)->GetWindowRect(&rect);
        Desktop::Click(rect.CenterPoint());
        Desktop::PumpMessages();
    }
    BOOL Checked(int id) { return panes::IsStripButtonChecked(m_host.pane->GetTimeStepStrip(), id); }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndExerMemory> m_host;
    CExerViewDoc m_doc;
};

TEST_F(ExerMemoryPaneTest, PlaybackStepsOnceASecondAndStopsPastTheLastStrip)
{
    CWndExerMemory* pane = Show();
    const int last = Strips() - 1;
    ASSERT_GE(last, 2);
    m_doc.SetCurMemBlockNo(last - 1, 0);
    Press(pane->GetTimeStepStrip(), panes::kPlayForward);
    EXPECT_EQ(panes::kForwardTimer, pane->GetTimerID());
    EXPECT_EQ(1, m_doc.IsPlayback());
    EXPECT_FALSE(pane->GetMemoryView()->IsAnnoViewActive());
    Desktop::AdvanceClock(999);
    EXPECT_EQ(last - 1, m_doc.GetCurMemBlockNo());
    Desktop::AdvanceClock(1);
    EXPECT_EQ(last, m_doc.GetCurMemBlockNo());
    Desktop::AdvanceClock(1000);
    EXPECT_EQ(last, m_doc.GetCurMemBlockNo());
    EXPECT_EQ(0u, pane->GetTimerID());
    EXPECT_FALSE(Checked(panes::kPlayForward));
    EXPECT_EQ(0, m_doc.IsPlayback());
    EXPECT_TRUE(pane->GetMemoryView()->IsAnnoViewActive());
}

TEST_F(ExerMemoryPaneTest, BackwardPlayStopsAtTheFirstStripAndBackAndNextStepOne)
{
    CWndExerMemory* pane = Show();
    m_doc.SetCurMemBlockNo(1, 0);
    Press(pane->GetTimeStepStrip(), panes::kPlayBackward);
    EXPECT_EQ(panes::kBackwardTimer, pane->GetTimerID());
    Desktop::AdvanceClock(2000);
    EXPECT_EQ(0, m_doc.GetCurMemBlockNo());
    EXPECT_EQ(0u, pane->GetTimerID());
    EXPECT_FALSE(Checked(panes::kPlayBackward));

    Press(pane->GetPreNextStrip(), panes::kNextButton);
    Press(pane->GetPreNextStrip(), panes::kNextButton);
    EXPECT_EQ(2, m_doc.GetCurMemBlockNo());
    EXPECT_TRUE(m_doc.IsPostMemBlock() == (2 >= Item().nExerMemCount));
    Press(pane->GetPreNextStrip(), panes::kBackButton);
    EXPECT_EQ(1, m_doc.GetCurMemBlockNo());
}

TEST_F(ExerMemoryPaneTest, TheHostsTrendChoiceIsKeptInTheRecordAndShownAgainOnUpdate)
{
    CWndExerMemory* pane = Show();
    pane->MessageFromTrendWnd(10, 6);
    EXPECT_EQ(10, Item().nTrendStyle);
    EXPECT_EQ(6, Item().nTrendLead);
    pane->GetTrendView()->SetTrendStyle(1);
    pane->OnUpdate();
    EXPECT_EQ(10, pane->GetTrendView()->GetTrendStyle());
    EXPECT_EQ(6, pane->GetTrendView()->GetLeadID());
}

TEST_F(ExerMemoryPaneTest, StripTrendAndButtonsStackDownThePage)
{
    CWndExerMemory* pane = Show();
    // 1001 units across, 90 rows of 1001 / 250 pixels.
    EXPECT_EQ(panetest::Box(7, 25, 1001, 361), m_host.Rect(pane->GetMemoryView()));
    EXPECT_EQ(panetest::Box(30, 391, 250, 25), m_host.Rect(pane->GetPreNextStrip()));
    EXPECT_EQ(panetest::Box(7, 421, 600, 238), m_host.Rect(pane->GetTrendView()));
    EXPECT_EQ(panetest::Box(650, 585, 200, 60), m_host.Rect(pane->GetTimeStepStrip()));
}

TEST_F(ExerMemoryPaneTest, UpdateTellsTheHostWindowThePageStyle)
{
    m_doc.SetPageStyle(5);
    panetest::CNotifyLog host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1020, 664), nullptr, 0));
    CWndExerMemory pane;
    pane.SetExerViewDoc(&m_doc);
    ASSERT_TRUE(pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1020, 664), &host, 100));
    host.log.clear();
    pane.OnUpdate();
    ASSERT_EQ(1, host.Count(WM_DISPLAY_INFO_CHANGED));
    EXPECT_EQ(5u, host.log.back().wParam);
    pane.DestroyWindow();
    host.DestroyWindow();
}

TEST_F(ExerMemoryPaneTest, LeavingThePageWhileItPlaysClearsThePlayback)
{
    CWndExerMemory* pane = Show();
    Press(pane->GetTimeStepStrip(), panes::kPlayBackward);
    ASSERT_EQ(1, m_doc.IsPlayback());
    m_host.Close();
    EXPECT_EQ(0, m_doc.IsPlayback());
}

TEST_F(ExerMemoryPaneTest, FromATimeBeforeTheNextStripPlaybackAndNextMoveOnToIt)
{
    CWndExerMemory* pane = Show();
    m_doc.SetCurMemBlockNo(0, 0);
    const int first = Item().nCurTime;
    ASSERT_GT(first, 0);
    Item().nCurTime = 0;   // the start of the test, before the first strip
    Press(pane->GetPreNextStrip(), panes::kNextButton);
    EXPECT_EQ(first, Item().nCurTime);   // the first strip's own time
    Item().nCurTime = 0;
    Press(pane->GetTimeStepStrip(), panes::kPlayForward);
    Desktop::AdvanceClock(1000);
    EXPECT_EQ(first, Item().nCurTime);
    Desktop::AdvanceClock(1000);
    EXPECT_EQ(1, m_doc.GetCurMemBlockNo());
    EXPECT_GT(Item().nCurTime, first);

    // Between two strips, back goes to the earlier one.
    Press(pane->GetTimeStepStrip(), panes::kPlayStop);
    m_doc.SetCurMemBlockNo(2, 0);
    Item().nCurTime -= 10;
    ASSERT_EQ(2, m_doc.GetCurMemBlockNo());
    Press(pane->GetPreNextStrip(), panes::kBackButton);
    EXPECT_EQ(1, m_doc.GetCurMemBlockNo());
}

TEST_F(ExerMemoryPaneTest, NextFromATimeJustBeforeARecoveryStripShowsThatStripFirst)
{
    CWndExerMemory* pane = Show();
    ASSERT_GE(Item().nPostMemCount, 2);
    // A recovery strip stores its time from the end of the load.
    const int strip = Item().nExerMemCount + 1;
    m_doc.SetCurMemBlockNo(strip, 0);
    const int time = Item().nCurTime;
    ASSERT_GT(time, Item().nExerTime);
    Item().nCurTime = time - 3;
    ASSERT_EQ(strip, m_doc.GetCurMemBlockNo());
    Press(pane->GetPreNextStrip(), panes::kNextButton);
    EXPECT_EQ(strip, m_doc.GetCurMemBlockNo());
    EXPECT_EQ(time, Item().nCurTime);
}

}  // namespace

