// The rhythm comment page on rhythm records written by the record maker:
// where the form, the view and the strips stand in each layout, with and
// without the patient strip; the wave style a three-row record chooses;
// styles the pane does not show; an empty pane; back and next clicked on
// the desktop; the focus between the two forms; MFER records.
#include <gtest/gtest.h>

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgPreNext.h"
#include "forms/FormEx.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"
#include "panes/WndRhythmComment.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

using panetest::Box;
using platform::ui::Desktop;

namespace {

class RhythmCommentPaneTest : public panetest::RhythmPaneTest {
protected:
    void TearDown() override
    {
        m_host.Close();
        RhythmPaneTest::TearDown();
    }
    void OpenRecord(int leads, double seconds, int typeValue = 0)
    {
        RhythmPaneTest::OpenRecord(leads, seconds, "comment");
        if (HasFatalFailure()) return;
        Item()->nTypeValue = typeValue;
        m_doc->SetSpeed(25.0f);
    }
    CWndRhythmComment* Show(int style, BOOL showPatient, int width, int height)
    {
        m_doc->SetCtrlContent(nullptr);   // the host's start: the bound controls take the record's state
        m_doc->UpdateCtrlStatus();
        CWndRhythmComment* pane = m_host.Open(
            [this](CWndRhythmComment& p) { p.SetRhythmViewDoc(m_doc.get()); }, showPatient, width, height);
        pane->ShowRhythmPageStyle(style);
        Desktop::PumpMessages();
        return pane;
    }
    CWnd* Button(int id) { return m_host.pane->GetPreNextStrip()->GetDlgItem(id); }
    void Press(int id)
    {
        CRect rect;
        Button(id)->GetWindowRect(&rect);
        Desktop::Click(rect.CenterPoint());
        Desktop::PumpMessages();
    }
    int Grid(bool rows)
    {
        int columns = 0, count = 0;
        m_host.pane->GetRhythmView()->GetGridCount(columns, count);
        return rows ? count : columns;
    }
    int Columns() { return Grid(false); }
    int Rows() { return Grid(true); }

    panetest::PaneHost<CWndRhythmComment> m_host;
};

TEST_F(RhythmCommentPaneTest, CommentStylePutsTheFormLeftAndWholeBlocksOfWaveRowsRight)
{
    OpenRecord(3, 60.0);
    CWndRhythmComment* pane = Show(26, TRUE, 1020, 664);
    EXPECT_EQ(Box(15, 5, 990, 50), m_host.Rect(pane->GetPatientFrame()));
    EXPECT_EQ(Box(530, 55, 475, 20), m_host.Rect(pane->GetCaptionStrip()));
    EXPECT_EQ(Box(15, 75, 470, 664 - 75 - 5), m_host.Rect(pane->GetCommentFrame()));
    // 554 units of room over rows of 514 / columns units, in blocks of five.
    const double rowHeight = 514.0 / Columns();
    const int rows = 5 * (static_cast<int>(554 / rowHeight) / 5);
    EXPECT_EQ(rows, Rows());
    EXPECT_EQ(Box(490, 75, 514, static_cast<int>(rows * rowHeight) + 1), m_host.Rect(pane->GetRhythmView()));
    const int viewBottom = m_host.Rect(pane->GetRhythmView()).bottom;
    EXPECT_EQ(Box(490, viewBottom + 5, 200, 25), m_host.Rect(pane->GetPreNextStrip()));
    EXPECT_EQ(Box(490 + 90, viewBottom + 5, 80, 25), m_host.Rect(Button(panes::kNextButton)));
    EXPECT_LE(viewBottom + 5 + 25, 664);
}

TEST_F(RhythmCommentPaneTest, WaveHalfStylesHideTheFormAndSpreadTheWavesAcross)
{
    OpenRecord(3, 60.0);
    CWndRhythmComment* pane = Show(25, TRUE, 1020, 664);
    EXPECT_EQ(17, m_doc->GetRhythmWaveStyle());
    EXPECT_EQ(17, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_TRUE(m_host.Rect(pane->GetCommentFrame()).IsRectEmpty());
    EXPECT_EQ(Box(80, 55, 800, 20), m_host.Rect(pane->GetCaptionStrip()));
    const CRect view = m_host.Rect(pane->GetRhythmView());
    const double rowHeight = 990.0 / Columns();
    EXPECT_EQ(5 * (static_cast<int>((664 - 75 - 35) / rowHeight) / 5), Rows());
    EXPECT_EQ(Box(16, 75, 990, static_cast<int>(Rows() * rowHeight) + 1), view);
    // The strip stands half way down what the view leaves.
    EXPECT_EQ(Box(16, view.bottom + (664 - view.Height() - 75 - 25) / 2, 400, 25),
              m_host.Rect(pane->GetPreNextStrip()));
    EXPECT_EQ(Box(180, 0, 160, 25), panetest::RectIn(pane->GetPreNextStrip(), Button(panes::kNextButton)));
}

TEST_F(RhythmCommentPaneTest, CommentHalfStyleShowsOnlyThePatientStripAndTheForm)
{
    OpenRecord(1, 60.0);
    CWndRhythmComment* pane = Show(28, TRUE, 1020, 664);
    EXPECT_EQ(Box(16, 55, 990, 600), m_host.Rect(pane->GetCommentFrame()));
    EXPECT_TRUE(m_host.Rect(pane->GetCaptionStrip()).IsRectEmpty());
    EXPECT_TRUE(m_host.Rect(pane->GetRhythmView()).IsRectEmpty());
    EXPECT_TRUE(m_host.Rect(pane->GetPreNextStrip()).IsRectEmpty());
    EXPECT_TRUE(pane->GetPatientFrame()->IsWindowVisible());
    // Without the patient strip the form starts 5 units down a 614-unit page.
    m_host.Close();
    pane = Show(28, FALSE, 1020, 614);
    EXPECT_FALSE(pane->GetPatientFrame()->IsWindowVisible());
    EXPECT_EQ(Box(16, 5, 990, 600), m_host.Rect(pane->GetCommentFrame()));
}

TEST_F(RhythmCommentPaneTest, TheTypeValueChoosesThreeRowsAndStylesNotShownChangeNothing)
{
    OpenRecord(3, 60.0, 3);
    CWndRhythmComment* pane = Show(26, TRUE, 1020, 664);
    EXPECT_EQ(17, m_doc->GetRhythmWaveStyle());
    EXPECT_EQ(17, pane->GetRhythmView()->GetWaveStyle());
    const CRect view = m_host.Rect(pane->GetRhythmView());
    for (int style : {23, 24, 29, 21, 49}) pane->ShowRhythmPageStyle(style);
    pane->ShowMFERPageStyle(26);
    EXPECT_EQ(26, pane->GetPageStyle());
    EXPECT_EQ(view, m_host.Rect(pane->GetRhythmView()));
    Item()->nTypeValue = 2;
    pane->ShowRhythmPageStyle(28);
    EXPECT_EQ(16, m_doc->GetRhythmWaveStyle());
    // The view keeps the half style it was made with.
    EXPECT_TRUE(pane->GetRhythmView()->IsHalfStyle());
}

TEST_F(RhythmCommentPaneTest, APaneSizedToNothingShowsAnEmptyViewWithNoRows)
{
    OpenRecord(3, 60.0);
    CWndRhythmComment* pane = Show(26, TRUE, 0, 0);
    EXPECT_EQ(0, Rows());
    EXPECT_TRUE(m_host.Rect(pane->GetRhythmView()).IsRectEmpty());
    pane->MoveWindow(0, 0, 1020, 12, TRUE);   // no room for a block of rows
    EXPECT_EQ(0, Rows());
    EXPECT_EQ(1, m_host.Rect(pane->GetRhythmView()).Height());
    pane->ShowRhythmPageStyle(22);
    EXPECT_EQ(0, Rows());
}

TEST_F(RhythmCommentPaneTest, BackAndNextPageTheWavesToBothEnds)
{
    OpenRecord(1, 180.0);
    CWndRhythmComment* pane = Show(26, TRUE, 1920, 1080);
    pane->OnUpdate();
    EXPECT_FALSE(Button(panes::kBackButton)->IsWindowEnabled());
    ASSERT_TRUE(Button(panes::kNextButton)->IsWindowEnabled());
    const int start = pane->GetRhythmView()->GetStartTime();
    for (int i = 0; i < 40 && Button(panes::kNextButton)->IsWindowEnabled(); ++i) Press(panes::kNextButton);
    EXPECT_FALSE(Button(panes::kNextButton)->IsWindowEnabled());
    EXPECT_TRUE(Button(panes::kBackButton)->IsWindowEnabled());
    EXPECT_GT(pane->GetRhythmView()->GetStartTime(), start);
    for (int i = 0; i < 40 && Button(panes::kBackButton)->IsWindowEnabled(); ++i) Press(panes::kBackButton);
    EXPECT_EQ(start, pane->GetRhythmView()->GetStartTime());
    EXPECT_TRUE(Button(panes::kNextButton)->IsWindowEnabled());
}

TEST_F(RhythmCommentPaneTest, FocusJumpsBetweenTheTwoFormsOnlyFromThem)
{
    OpenRecord(3, 60.0);
    CWndRhythmComment* pane = Show(26, TRUE, 1020, 664);
    int fromUsForm[3] = {panes::kFromUSInterpretation, panes::kForward, 0};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromUsForm), 0));
    int fromPatient[3] = {panes::kFromPatientForm, panes::kForward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromPatient), 0));
    EXPECT_EQ(panes::FrameForm(pane->GetCommentFrame())->GetSafeHwnd(), CWnd::GetFocus()->GetParent()->GetSafeHwnd());
    int fromComment[3] = {panes::kFromInterpretation, panes::kBackward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromComment), 0));
    EXPECT_EQ(panes::FrameForm(pane->GetPatientFrame())->GetSafeHwnd(), CWnd::GetFocus()->GetParent()->GetSafeHwnd());
}

// The same page on MFER records shown as rhythm.
class MferCommentPaneTest : public mfertest::MferDocTest {
protected:
    void SetUp() override
    {
        mfertest::MferDocTest::SetUp();
        Desktop::Reset();
        m_doc->m_bAutoDelete = FALSE;
        m_doc->GetCtrlPosFromXSL(LOAD_POS_REST);
        m_doc->GetCtrlPosFromXSL(LOAD_POS_RHYTHM);
        m_screen.Use(*m_doc, 1920, 1080);
    }
    void TearDown() override
    {
        m_host.Close();
        mfertest::MferDocTest::TearDown();
    }
    CWndRhythmComment* Open()
    {
        return m_host.Open([this](CWndRhythmComment& p) { p.SetMFERViewDoc(m_doc.get()); }, TRUE, 1020, 664);
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndRhythmComment> m_host;
};

TEST_F(MferCommentPaneTest, AThreeLeadRecordShowsThreeRowsAndOnlyMferStylesReachTheDocument)
{
    _MFERDATAITEM* item = OpenKind(morvelance::MferKind::Plain, 3, 0x8003, 52);
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(0x8003u, item->uSystemCode);
    CWndRhythmComment* pane = Open();
    pane->ShowMFERPageStyle(49);
    EXPECT_EQ(17, m_doc->GetRhythmWaveStyle());
    EXPECT_EQ(17, pane->GetRhythmView()->GetWaveStyle());
    // A rhythm style lays the page out but leaves the MFER document's style.
    m_doc->SetRhythmWaveStyle(1);
    pane->ShowRhythmPageStyle(22);
    EXPECT_EQ(22, pane->GetPageStyle());
    EXPECT_EQ(1, m_doc->GetRhythmWaveStyle());
    EXPECT_EQ(16, pane->GetRhythmView()->GetWaveStyle());
    pane->ShowMFERPageStyle(51);
    EXPECT_EQ(panetest::Box(16, 55, 990, 600), m_host.Rect(pane->GetCommentFrame()));
    CString expected, text;
    expected.Format(L"%.2f mm/mV  %.1f mm/s  %s  %s", m_doc->GetSense(6, 0), m_doc->GetSpeed(),
                    m_doc->GetMFERFilter().GetString(), item->strMasterStep.GetString());
    pane->GetCaptionStrip()->GetDlgItem(3478)->GetWindowText(text);
    EXPECT_STREQ(expected.GetString(), text.GetString());
}

}  // namespace
