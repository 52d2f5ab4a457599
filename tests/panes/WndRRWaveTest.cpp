// The RR wave page on one- and three-lead RR records written by the record
// maker: the view's rectangle and grid rows per style, with and without the
// patient strip, an empty pane, the divider check boxes and back/next
// clicked on the desktop, the divider readings and the host's log.
#include <gtest/gtest.h>

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgPreNext.h"
#include "panes/DividerStrip.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"
#include "panes/WndRRWave.h"
#include "tests/documents/RRViewDocFixture.h"
#include "tests/panes/PaneTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

using panetest::Box;
using platform::ui::Desktop;

namespace {

class RRWavePaneTest : public panetest::RRPaneTest {
protected:
    void SetUp() override
    {
        RRPaneTest::SetUp();
        m_doc.SetNotifyWnd(&m_notify);
    }
    void TearDown() override
    {
        m_host.Close();
        if (m_notify.GetSafeHwnd()) m_notify.DestroyWindow();
        RRPaneTest::TearDown();
    }
    void OpenRecord(int leads, double seconds)
    {
        RRPaneTest::OpenRecord(leads, seconds);
        if (HasFatalFailure()) return;
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    }
    CWndRRWave* Show(int style, BOOL showPatient, int width, int height)
    {
        CWndRRWave* pane =
            m_host.Open([this](CWndRRWave& p) { p.SetRRViewDoc(&m_doc); }, showPatient, width, height);
        pane->ShowPageStyle(style);
        Desktop::PumpMessages();
        return pane;
    }
    CWnd* Item(CDlgCtrl* strip, int id) { return strip->GetDlgItem(id); }
    void Press(CWnd* control)
    {
        CRect rect;
        control->GetWindowRect(&rect);
        Desktop::Click(rect.CenterPoint());
        Desktop::PumpMessages();
    }
    int GridRows(CWndRRWave* pane)
    {
        int columns = 0, rows = 0;
        pane->GetRhythmView()->GetGridCount(columns, rows);
        return rows;
    }

    panetest::CNotifyLog m_notify;
    panetest::PaneHost<CWndRRWave> m_host;
};

TEST_F(RRWavePaneTest, FullWidthStyleFitsWholeBlocksOfRowsAboveTheBottomStrips)
{
    OpenRecord(1, 30.0);
    CWndRRWave* pane = Show(3, TRUE, 1020, 664);
    EXPECT_EQ(Box(16, 5, 989, 50), m_host.Rect(pane->GetPatientFrame()));
    EXPECT_EQ(Box(56, 55, 948, 20), m_host.Rect(pane->GetCaptionStrip()));
    EXPECT_EQ(Box(16, 75, 989, 514), m_host.Rect(pane->GetRhythmView()));
    EXPECT_EQ(135, GridRows(pane));
    EXPECT_EQ(Box(16, 597, 170, 50), m_host.Rect(pane->GetPreNextStrip()));
    EXPECT_EQ(Box(190, 597, 815, 50), m_host.Rect(pane->GetDividerStrip()));
    EXPECT_EQ(Box(190 + 435, 597, 375, 20), m_host.Rect(Item(pane->GetDividerStrip(), 3572)));
}

TEST_F(RRWavePaneTest, HalfStyleRowsFollowTheRuleAndHideTheDividerStrip)
{
    OpenRecord(1, 30.0);
    CWndRRWave* pane = Show(5, TRUE, 1020, 664);
    // 994 units over 135 columns: 545 units of room hold 74 rows, so 70.
    EXPECT_EQ(70, GridRows(pane));
    EXPECT_EQ(Box(13, 75, 994, static_cast<int>(70 * 994.0 / 135) + 1), m_host.Rect(pane->GetRhythmView()));
    EXPECT_LE(m_host.Rect(pane->GetRhythmView()).bottom, 620);
    EXPECT_TRUE(m_host.Rect(pane->GetDividerStrip()).IsRectEmpty());
    EXPECT_EQ(Box(13 + 180, 620, 160, 25), m_host.Rect(Item(pane->GetPreNextStrip(), panes::kNextButton)));
}

TEST_F(RRWavePaneTest, WithoutThePatientStripEverythingMovesUpFiftyUnits)
{
    OpenRecord(1, 30.0);
    CWndRRWave* pane = Show(3, FALSE, 1020, 614);
    EXPECT_FALSE(pane->GetPatientFrame()->IsWindowVisible());
    EXPECT_EQ(25, m_host.Rect(pane->GetRhythmView()).top);
    EXPECT_EQ(Box(16, 547, 170, 50), m_host.Rect(pane->GetPreNextStrip()));
    EXPECT_EQ(135, GridRows(pane));
}

TEST_F(RRWavePaneTest, OnALargeScreenTheViewEndsOnAWholeBlockAboveTheStrips)
{
    OpenRecord(3, 30.0);
    CWndRRWave* pane = Show(4, TRUE, 1920, 1080);
    const CRect view = m_host.Rect(pane->GetRhythmView());
    const int rows = GridRows(pane);
    EXPECT_EQ(0, rows % 5);
    EXPECT_EQ(static_cast<int>(rows * view.Width() / 260.0) + 1, view.Height());
    EXPECT_LE(view.bottom, m_host.Rect(pane->GetPreNextStrip()).top);
    EXPECT_GT(view.bottom + view.Width() / 260.0 * 5, m_host.Rect(pane->GetPreNextStrip()).top);
}

TEST_F(RRWavePaneTest, LeadCountChoosesTheWaveStyle)
{
    OpenRecord(3, 30.0);
    Show(3, TRUE, 1020, 664);
    EXPECT_EQ(21, m_doc.GetRhythmWaveStyle());
    m_host.Close();
    m_doc.GetCurrentDataItem()->nLeadCount = 1;
    Show(4, TRUE, 1020, 664);
    EXPECT_EQ(20, m_doc.GetRhythmWaveStyle());
}

TEST_F(RRWavePaneTest, StylesOutsideThreeToFiveChangeNothing)
{
    OpenRecord(1, 30.0);
    CWndRRWave* pane = Show(3, TRUE, 1020, 664);
    const CRect view = m_host.Rect(pane->GetRhythmView());
    pane->ShowPageStyle(2);
    pane->ShowPageStyle(6);
    EXPECT_EQ(3, pane->GetPageStyle());
    EXPECT_EQ(view, m_host.Rect(pane->GetRhythmView()));
}

TEST_F(RRWavePaneTest, APaneSizedToNothingShowsAnEmptyViewWithNoRows)
{
    OpenRecord(1, 30.0);
    CWndRRWave* pane = Show(3, TRUE, 0, 0);
    EXPECT_EQ(0, GridRows(pane));
    EXPECT_TRUE(m_host.Rect(pane->GetRhythmView()).IsRectEmpty());
    pane->MoveWindow(0, 0, 1020, 20, TRUE);   // less room than one block of rows
    EXPECT_EQ(0, GridRows(pane));
    EXPECT_EQ(1, m_host.Rect(pane->GetRhythmView()).Height());
}

TEST_F(RRWavePaneTest, ADividerCheckBoxClickedWritesItsBitAndTellsTheHost)
{
    OpenRecord(1, 30.0);
    m_doc.SetDividerCheck(0);
    CWndRRWave* pane = Show(3, TRUE, 1020, 664);
    Press(Item(pane->GetDividerStrip(), 3569));
    EXPECT_EQ(2, m_doc.GetDividerCheck());
    ASSERT_EQ(1, m_notify.Count(WM_DIVIDER_BITS_WRITTEN));
    EXPECT_EQ(3, m_notify.log.back().lParam);
    Press(Item(pane->GetDividerStrip(), 3569));
    EXPECT_EQ(0, m_doc.GetDividerCheck());
}

TEST_F(RRWavePaneTest, OnUpdateChecksTheBoxesFromTheDocumentsBits)
{
    OpenRecord(1, 30.0);
    m_doc.SetDividerCheck(5);
    CWndRRWave* pane = Show(3, TRUE, 1020, 664);
    EXPECT_EQ(BST_CHECKED, Item(pane->GetDividerStrip(), 3568)->SendMessage(BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, Item(pane->GetDividerStrip(), 3569)->SendMessage(BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, Item(pane->GetDividerStrip(), 3570)->SendMessage(BM_GETCHECK, 0, 0));
}

TEST_F(RRWavePaneTest, BackAndNextPageToBothEndsAndEveryClickTellsTheHost)
{
    OpenRecord(1, 300.0);
    CWndRRWave* pane = Show(3, TRUE, 1920, 1080);
    pane->OnUpdate();   // the page state of the grid the layout gave
    CWnd* back = Item(pane->GetPreNextStrip(), panes::kBackButton);
    CWnd* next = Item(pane->GetPreNextStrip(), panes::kNextButton);
    EXPECT_FALSE(back->IsWindowEnabled());
    ASSERT_TRUE(next->IsWindowEnabled());
    const int start = pane->GetRhythmView()->GetStartTime();
    for (int i = 0; i < 10 && next->IsWindowEnabled(); ++i) Press(next);
    EXPECT_FALSE(next->IsWindowEnabled());
    EXPECT_TRUE(back->IsWindowEnabled());
    EXPECT_GT(pane->GetRhythmView()->GetStartTime(), start);
    const int clicks = m_notify.Count(WM_DIVIDER_BITS_WRITTEN);
    EXPECT_GE(clicks, 1);
    for (int i = 0; i < 10 && back->IsWindowEnabled(); ++i) Press(back);
    EXPECT_EQ(start, pane->GetRhythmView()->GetStartTime());
    EXPECT_GT(m_notify.Count(WM_DIVIDER_BITS_WRITTEN), clicks);
}

TEST_F(RRWavePaneTest, DividerDropsShowTheirReadingInThePairsText)
{
    OpenRecord(1, 30.0);
    CWndRRWave* pane = Show(3, TRUE, 1020, 664);
    pane->SendMessage(WM_DIVIDER_DROPPED, 800, 0);
    CString text;
    Item(pane->GetDividerStrip(), 3571)->GetWindowText(text);
    EXPECT_STREQ(L"心拍测量 I   Dur.800[mS]   心拍数换算值 75[bpm]", static_cast<LPCWSTR>(text));
    pane->SendMessage(WM_DIVIDER_DROPPED, 0, 2);
    Item(pane->GetDividerStrip(), 3573)->GetWindowText(text);
    EXPECT_STREQ(L"心拍测量 III   Dur.0[mS]   心拍数换算值    ", static_cast<LPCWSTR>(text));
    pane->SendMessage(WM_DIVIDER_DROPPED, 500, 5);
    Item(pane->GetDividerStrip(), 3571)->GetWindowText(text);
    EXPECT_STREQ(L"心拍测量 I   Dur.500[mS]   心拍数换算值 120[bpm]", static_cast<LPCWSTR>(text));
}

TEST_F(RRWavePaneTest, CaptionCarriesTheDisplaySettings)
{
    OpenRecord(1, 30.0);
    CWndRRWave* pane = Show(3, TRUE, 1020, 664);
    CString expected, text;
    expected.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  ", m_doc.GetCommonSense(0), m_doc.GetSpeed(), m_doc.GetFilter());
    Item(pane->GetCaptionStrip(), 3478)->GetWindowText(text);
    EXPECT_STREQ(static_cast<LPCWSTR>(expected), static_cast<LPCWSTR>(text));
    EXPECT_FALSE(Item(pane->GetCaptionStrip(), 3479)->IsWindowVisible());
}

TEST_F(RRWavePaneTest, WithoutARecordCommandsAndStylesDoNothing)
{
    ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CWndRRWave* pane = Show(5, TRUE, 1020, 664);
    EXPECT_EQ(3, pane->GetPageStyle());
    EXPECT_FALSE(pane->OnCmdMsg(panes::kNextButton, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(0, m_notify.Count(WM_DIVIDER_BITS_WRITTEN));
}

}  // namespace
