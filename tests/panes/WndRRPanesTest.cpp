// The RR result and RR comment pages on RR records written by the record
// maker: where each child stands for every page style, with the patient
// strip shown and hidden and on a large screen; back and next clicked on
// the desktop; the focus moving between the two forms at the end of a tab
// chain.
#include <gtest/gtest.h>

#include "analysisviews/ViewRRHistogram.h"
#include "analysisviews/ViewRRIntervalList.h"
#include "analysisviews/ViewRRResult.h"
#include "analysisviews/ViewRRTrend.h"
#include "controls/CheckStatic.h"
#include "core/UserMessages.h"
#include "dialogs/DlgPreNext.h"
#include "forms/FormEx.h"
#include "panes/PaneKit.h"
#include "panes/PageButtons.h"
#include "platform/base/Kernel.h"
#include "panes/WndRRComment.h"
#include "panes/WndRRResult.h"
#include "tests/analysisviews/RRViewTestSupport.h"
#include "tests/panes/PaneTestSupport.h"

using panetest::Box;
using platform::ui::Desktop;

namespace {

class RRPaneTest : public rrviewtest::RRViewTest {
protected:
    void SetUp() override
    {
        rrviewtest::RRViewTest::SetUp();
        Desktop::Reset();
        m_screen.Use(m_doc, 1920, 1080);
    }
    void TearDown() override
    {
        m_result.Close();
        m_comment.Close();
        rrviewtest::RRViewTest::TearDown();
    }
    CWndRRResult* OpenResult(BOOL showPatient, int width, int height)
    {
        CWndRRResult* pane =
            m_result.Open([this](CWndRRResult& p) { p.SetRRViewDoc(&m_doc); }, showPatient, width, height);
        pane->SendMessage(WM_SIZE, 0, 0);
        pane->OnUpdate();
        return pane;
    }
    CWndRRComment* OpenComment(int style, BOOL showPatient, int width, int height)
    {
        m_doc.SetCtrlContent(nullptr);   // the host's start: the bound controls take the record's state
        m_doc.UpdateCtrlStatus();
        CWndRRComment* pane =
            m_comment.Open([this](CWndRRComment& p) { p.SetRRViewDoc(&m_doc); }, showPatient, width, height);
        pane->ShowPageStyle(style);
        pane->OnUpdate();
        Desktop::PumpMessages();
        return pane;
    }
    CWnd* Button(int id) { return m_comment.pane->GetPreNextStrip()->GetDlgItem(id); }
    void Press(int id)
    {
        CRect rect;
        Button(id)->GetWindowRect(&rect);
        Desktop::Click(rect.CenterPoint());
        Desktop::PumpMessages();
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndRRResult> m_result;
    panetest::PaneHost<CWndRRComment> m_comment;
};

TEST_F(RRPaneTest, ResultPageStacksTableOverHistogramBesideTrend)
{
    OpenIntervals(rrviewtest::Same(300, 800));
    CWndRRResult* pane = OpenResult(TRUE, 1020, 664);
    EXPECT_EQ(Box(15, 5, 990, 50), m_result.Rect(pane->GetPatientFrame()));
    EXPECT_TRUE(pane->GetPatientFrame()->IsWindowVisible());
    EXPECT_EQ(Box(15, 60, 990, 325), m_result.Rect(pane->GetResultView()));
    EXPECT_EQ(Box(15, 395, 490, 260), m_result.Rect(pane->GetHistogramView()));
    EXPECT_EQ(Box(515, 395, 490, 260), m_result.Rect(pane->GetTrendView()));
}

TEST_F(RRPaneTest, ResultPageWithoutPatientStripEndsTheGraphsAt605Of614)
{
    OpenIntervals(rrviewtest::Same(300, 800));
    CWndRRResult* pane = OpenResult(FALSE, 1020, 614);
    EXPECT_FALSE(pane->GetPatientFrame()->IsWindowVisible());
    EXPECT_EQ(Box(15, 10, 990, 325), m_result.Rect(pane->GetResultView()));
    EXPECT_EQ(Box(15, 345, 490, 260), m_result.Rect(pane->GetHistogramView()));
    EXPECT_EQ(605, m_result.Rect(pane->GetTrendView()).bottom);
}

TEST_F(RRPaneTest, ResultPageOnALargeScreenScalesEachPartAndDrawsItsViews)
{
    OpenIntervals(rrviewtest::Same(300, 800));
    CWndRRResult* pane = OpenResult(TRUE, 1920, 1080);
    const panes::VirtualPage page(1920, 1080, 664);
    EXPECT_EQ(page.RectBelow(60, {15, 335, 490, 260}), m_result.Rect(pane->GetHistogramView()));
    EXPECT_EQ(98 + 545, m_result.Rect(pane->GetTrendView()).top);
    const CRect table = m_result.Rect(pane->GetResultView());
    EXPECT_EQ(MulDiv(1920, 990, 1020), table.Width());
    Repaint(pane->GetHistogramView());
    EXPECT_NE(RGB(0, 0, 0), Pixel(pane->GetHistogramView(), 2, 2));
}

TEST_F(RRPaneTest, ResultPaneWithoutDocumentMovesNothing)
{
    CWndRRResult* pane = m_result.Open([](CWndRRResult&) {}, TRUE, 1020, 664);
    pane->SendMessage(WM_SIZE, 0, 0);
    EXPECT_TRUE(m_result.Rect(pane->GetResultView()).IsRectEmpty());
    EXPECT_TRUE(m_result.Rect(pane->GetPatientFrame()).IsRectEmpty());
}

TEST_F(RRPaneTest, ResultPaneTakesTheHostsJumpButRefusesItsOwnForms)
{
    OpenIntervals(rrviewtest::Same(300, 800));
    CWndRRResult* pane = OpenResult(TRUE, 1020, 664);
    int fromForm[3] = {panes::kFromPatientForm, panes::kForward, 0};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromForm), 0));
    int fromHost[3] = {panes::kFromHost, panes::kForward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromHost), 0));
    CWnd* focus = CWnd::GetFocus();
    ASSERT_NE(nullptr, focus);
    EXPECT_EQ(panes::FrameForm(pane->GetPatientFrame())->GetSafeHwnd(), focus->GetParent()->GetSafeHwnd());
    EXPECT_FALSE(focus->IsKindOf(RUNTIME_CLASS(CCheckStatic)));
    int backward[3] = {panes::kFromHost, panes::kBackward, 3};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(backward), 0));
}

TEST_F(RRPaneTest, CommentStylesPlaceFormAndListSideBySideAloneOrAcross)
{
    OpenIntervals(rrviewtest::Same(300, 800));
    CWndRRComment* pane = OpenComment(6, TRUE, 1020, 664);
    EXPECT_EQ(Box(15, 60, 490, 595), m_comment.Rect(pane->GetInterpretationFrame()));
    EXPECT_EQ(Box(515, 60, 490, 560), m_comment.Rect(pane->GetIntervalList()));
    EXPECT_EQ(Box(515, 625, 200, 25), m_comment.Rect(pane->GetPreNextStrip()));
    EXPECT_EQ(Box(515 + 90, 625, 80, 25), m_comment.Rect(Button(panes::kNextButton)));

    pane->ShowPageStyle(8);
    EXPECT_EQ(Box(10, 60, 1000, 595), m_comment.Rect(pane->GetInterpretationFrame()));
    EXPECT_TRUE(m_comment.Rect(pane->GetIntervalList()).IsRectEmpty());
    EXPECT_TRUE(m_comment.Rect(pane->GetPreNextStrip()).IsRectEmpty());

    pane->ShowPageStyle(9);
    EXPECT_TRUE(m_comment.Rect(pane->GetInterpretationFrame()).IsRectEmpty());
    EXPECT_EQ(Box(10, 60, 1000, 560), m_comment.Rect(pane->GetIntervalList()));
    EXPECT_EQ(Box(10 + 180, 630, 160, 25), m_comment.Rect(Button(panes::kNextButton)));
}

// With the list alone across the page both paging buttons double in width;
// side by side with the form they are half as wide and stand closer.
TEST_F(RRPaneTest, TheListAloneDoublesBothPagingButtons)
{
    OpenIntervals(rrviewtest::Same(600, 800));
    CWndRRComment* pane = OpenComment(9, TRUE, 1020, 664);
    const CRect back = m_comment.Rect(Button(panes::kBackButton));
    const CRect next = m_comment.Rect(Button(panes::kNextButton));
    EXPECT_EQ(Box(10, 630, 160, 25), back);
    EXPECT_EQ(Box(10 + 180, 630, 160, 25), next);
    EXPECT_EQ(20, next.left - back.right);   // the gap between them

    pane->ShowPageStyle(6);
    EXPECT_EQ(Box(515, 625, 80, 25), m_comment.Rect(Button(panes::kBackButton)));
    EXPECT_EQ(Box(515 + 90, 625, 80, 25), m_comment.Rect(Button(panes::kNextButton)));
}

TEST_F(RRPaneTest, CommentStylesOutsideSixToNineChangeNothing)
{
    OpenIntervals(rrviewtest::Same(300, 800));
    CWndRRComment* pane = OpenComment(9, FALSE, 1020, 614);
    const CRect list = m_comment.Rect(pane->GetIntervalList());
    EXPECT_EQ(Box(10, 10, 1000, 560), list);
    pane->ShowPageStyle(5);
    pane->ShowPageStyle(10);
    EXPECT_EQ(9, pane->GetPageStyle());
    EXPECT_EQ(list, m_comment.Rect(pane->GetIntervalList()));
    EXPECT_FALSE(pane->GetPatientFrame()->IsWindowVisible());
}

TEST_F(RRPaneTest, BackAndNextClickedPageTheListToBothEnds)
{
    OpenIntervals(rrviewtest::Same(600, 800));   // three screen pages of 240
    CWndRRComment* pane = OpenComment(6, TRUE, 1920, 1080);
    EXPECT_FALSE(Button(panes::kBackButton)->IsWindowEnabled());
    EXPECT_TRUE(Button(panes::kNextButton)->IsWindowEnabled());
    const int first = pane->GetIntervalList()->GetCurrentPage();
    Press(panes::kNextButton);
    EXPECT_EQ(first + 1, pane->GetIntervalList()->GetCurrentPage());
    EXPECT_TRUE(Button(panes::kBackButton)->IsWindowEnabled());
    Press(panes::kNextButton);
    EXPECT_FALSE(Button(panes::kNextButton)->IsWindowEnabled());
    Press(panes::kBackButton);
    Press(panes::kBackButton);
    EXPECT_FALSE(Button(panes::kBackButton)->IsWindowEnabled());
    EXPECT_TRUE(Button(panes::kNextButton)->IsWindowEnabled());
}

TEST_F(RRPaneTest, AListOfOnePageDisablesBothButtons)
{
    OpenIntervals(rrviewtest::Same(40, 800));
    OpenComment(6, TRUE, 1020, 664);
    EXPECT_FALSE(Button(panes::kBackButton)->IsWindowEnabled());
    EXPECT_FALSE(Button(panes::kNextButton)->IsWindowEnabled());
}

TEST_F(RRPaneTest, CommentPaneJumpsBetweenItsFormsButNotFromTheHostOrTheUsForm)
{
    OpenIntervals(rrviewtest::Same(300, 800));
    CWndRRComment* pane = OpenComment(6, TRUE, 1020, 664);
    CFormEx* interpretation = panes::FrameForm(pane->GetInterpretationFrame());
    CWnd* before = CWnd::GetFocus();
    int fromHost[3] = {panes::kFromHost, panes::kForward, 0};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromHost), 0));
    int fromUsForm[3] = {panes::kFromUSInterpretation, panes::kForward, 0};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromUsForm), 0));
    EXPECT_EQ(before, CWnd::GetFocus());
    int fromPatient[3] = {panes::kFromPatientForm, panes::kForward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromPatient), 0));
    EXPECT_EQ(interpretation->GetSafeHwnd(), CWnd::GetFocus()->GetParent()->GetSafeHwnd());
    EXPECT_TRUE(interpretation->GetJumpStatus());
    int back[3] = {panes::kFromInterpretation, panes::kBackward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(back), 0));
    EXPECT_EQ(panes::FrameForm(pane->GetPatientFrame())->GetSafeHwnd(),
              CWnd::GetFocus()->GetParent()->GetSafeHwnd());
}

TEST_F(RRPaneTest, TabAtTheLastControlOfThePatientFormLandsInTheInterpretationForm)
{
    OpenIntervals(rrviewtest::Same(300, 800));
    CWndRRComment* pane = OpenComment(6, TRUE, 1020, 664);
    CFormEx* interpretation = panes::FrameForm(pane->GetInterpretationFrame());
    // Into the patient form's last control, as Shift+Tab from the interpretation form lands.
    int back[3] = {panes::kFromInterpretation, panes::kBackward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(back), 0));
    interpretation->SetJumpStatus(FALSE);
    Desktop::KeyPress(VK_TAB);
    Desktop::PumpMessages();
    CWnd* focus = CWnd::GetFocus();
    ASSERT_NE(nullptr, focus);
    EXPECT_EQ(interpretation->GetSafeHwnd(), focus->GetParent()->GetSafeHwnd());
    EXPECT_FALSE(focus->IsKindOf(RUNTIME_CLASS(CCheckStatic)));
    EXPECT_TRUE(interpretation->GetJumpStatus());
}

}  // namespace
