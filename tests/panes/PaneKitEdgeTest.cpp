// The pane kit at its edges, on the RR comment page of a record the record
// maker wrote: a grid of one row, a form frame placed with and without its
// form's own layout, a patient frame that is missing or has no window, and
// a focus jump into a form where no control can take the focus.
#include <gtest/gtest.h>

#include <vector>

#include "core/UserMessages.h"
#include "forms/FormEx.h"
#include "panes/PaneKit.h"
#include "panes/WndRRComment.h"
#include "tests/analysisviews/RRViewTestSupport.h"
#include "tests/panes/PaneTestSupport.h"

using platform::ui::Desktop;

namespace {

// Messages a subclassed form window received, by message and parameters.
struct FormLog {
    static std::vector<MSG>& Log()
    {
        static std::vector<MSG> log;
        return log;
    }
    static WNDPROC& Previous()
    {
        static WNDPROC previous = nullptr;
        return previous;
    }
    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        Log().push_back(MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
        return CallWindowProcW(Previous(), hwnd, message, wParam, lParam);
    }
    static int SizesOfNothing()
    {
        int n = 0;
        for (const MSG& m : Log()) n += m.message == WM_SIZE && m.wParam == 0 && m.lParam == 0;
        return n;
    }
};

class PaneKitEdgeTest : public rrviewtest::RRViewTest {
protected:
    void SetUp() override
    {
        rrviewtest::RRViewTest::SetUp();
        Desktop::Reset();
        m_screen.Use(m_doc, 1024, 768);
        OpenIntervals(rrviewtest::Same(300, 800));
        m_doc.SetCtrlContent(nullptr);
        m_doc.UpdateCtrlStatus();
        m_pane = m_host.Open([this](CWndRRComment& p) { p.SetRRViewDoc(&m_doc); }, TRUE, 1020, 664);
        m_pane->ShowPageStyle(6);
        m_pane->OnUpdate();
        Desktop::PumpMessages();
    }
    void TearDown() override
    {
        m_host.Close();
        rrviewtest::RRViewTest::TearDown();
    }

    // Every child of the form hidden or disabled, as a form whose rows are
    // all display-only is.
    static void NothingFocusable(CFormEx* form, bool hide)
    {
        for (CWnd* child = form->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
            if (hide) child->ShowWindow(SW_HIDE);
            else child->EnableWindow(FALSE);
        }
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndRRComment> m_host;
    CWndRRComment* m_pane = nullptr;
};

}  // namespace

TEST(PaneKitGrid, AGridOfOneRowIsThatRowAndOneLine)
{
    // 994 units over 135 columns: 7.36 pixels a row.
    EXPECT_EQ(8, panes::GridHeight(1, 994.0 / 135));
    EXPECT_EQ(13, panes::GridHeight(1, 12.0));
    EXPECT_EQ(static_cast<int>(2 * 7.5) + 1, panes::GridHeight(2, 7.5));
}

TEST_F(PaneKitEdgeTest, AFormFrameIsPlacedWithItsFormsLayoutOnlyWhenAskedFor)
{
    CFrameWnd* frame = m_pane->GetInterpretationFrame();
    CFormEx* form = panes::FrameForm(frame);
    ASSERT_NE(nullptr, form);
    FormLog::Log().clear();
    FormLog::Previous() = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(form->GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormLog::Proc)));
    ASSERT_NE(nullptr, FormLog::Previous());

    const panes::VirtualPage page = panes::VirtualPage::OfClient(m_pane, TRUE);
    panes::PlaceFormFrame(frame, page, {20, 70, 600, 300}, TRUE);
    EXPECT_EQ(page.Rect({20, 70, 600, 300}), m_host.Rect(frame));
    EXPECT_EQ(1, FormLog::SizesOfNothing());

    FormLog::Log().clear();
    panes::PlaceFormFrame(frame, page, {30, 80, 500, 250}, FALSE);
    EXPECT_EQ(page.Rect({30, 80, 500, 250}), m_host.Rect(frame));
    EXPECT_EQ(0, FormLog::SizesOfNothing());
    // The frame's own layout still gave the form its new size.
    EXPECT_EQ(page.Rect({30, 80, 500, 250}).Size(), m_host.Rect(form).Size());

    SetWindowLongPtrW(form->GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FormLog::Previous()));
}

TEST_F(PaneKitEdgeTest, APatientFrameThatIsMissingOrHasNoWindowIsPassedOver)
{
    const panes::VirtualPage page = panes::VirtualPage::OfClient(m_pane, TRUE);
    const CRect before = m_host.Rect(m_pane->GetPatientFrame());
    panes::PlacePatientFrame(nullptr, page, {15, 5, 990, 50}, TRUE);
    panes::PlacePatientFrame(nullptr, page, {15, 5, 990, 50}, FALSE);
    panes::PlaceFormFrame(nullptr, page, {15, 5, 990, 50}, TRUE);
    CFrameWnd unmade;
    panes::PlacePatientFrame(&unmade, page, {15, 5, 990, 50}, TRUE);
    panes::PlacePatientFrame(&unmade, page, {15, 5, 990, 50}, FALSE);
    panes::PlaceFormFrame(&unmade, page, {15, 5, 990, 50}, TRUE);
    EXPECT_EQ(nullptr, unmade.GetSafeHwnd());
    EXPECT_EQ(nullptr, panes::FrameForm(&unmade));
    int jump[3] = {panes::kFromHost, panes::kForward, 0};
    EXPECT_EQ(0, panes::JumpIntoOnlyForm(m_pane, &unmade, reinterpret_cast<WPARAM>(jump)));
    // The pane's own patient frame stays where the page put it, and shown.
    EXPECT_EQ(before, m_host.Rect(m_pane->GetPatientFrame()));
    EXPECT_TRUE(m_pane->GetPatientFrame()->IsWindowVisible());
}

TEST_F(PaneKitEdgeTest, AJumpIntoAFormWithNothingToFocusMovesNothingAndMarksNothing)
{
    CFormEx* patient = panes::FrameForm(m_pane->GetPatientFrame());
    CFormEx* interpretation = panes::FrameForm(m_pane->GetInterpretationFrame());
    ASSERT_NE(nullptr, patient);
    ASSERT_NE(nullptr, interpretation);
    CWnd* start = patient->GetWindow(GW_CHILD);
    while (start && !(start->IsWindowVisible() && start->IsWindowEnabled())) start = start->GetWindow(GW_HWNDNEXT);
    ASSERT_NE(nullptr, start);

    struct Case {
        const char* what;
        bool hide;
        int source, direction;
    } cases[] = {
        {"forward into a form of disabled controls", false, panes::kFromPatientForm, panes::kForward},
        {"backward into a form of hidden controls", true, panes::kFromPatientForm, panes::kBackward},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NothingFocusable(interpretation, c.hide);
        start->SetFocus();
        interpretation->SetJumpStatus(FALSE);
        int jump[3] = {c.source, c.direction, 0};
        EXPECT_EQ(0, m_pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(jump), 0));
        EXPECT_EQ(start->GetSafeHwnd(), CWnd::GetFocus() ? CWnd::GetFocus()->GetSafeHwnd() : nullptr);
        EXPECT_FALSE(interpretation->GetJumpStatus());
    }
}
