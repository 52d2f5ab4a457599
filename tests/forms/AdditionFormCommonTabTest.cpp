// Where Tab and Shift+Tab take the focus at the ends of the master-step
// form's chain when its pane does not take the jump: Tab from the comment
// wraps forward to the form's first field, Shift+Tab from the first field
// wraps back to the comment button. The pane is asked first, each time with
// the direction of the key.
#include <gtest/gtest.h>

#include "controls/MultiEdit.h"
#include "core/UserMessages.h"
#include "forms/FormInterpreMsfr.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/forms/MasterStepFormTestSupport.h"

namespace {

constexpr UINT kFirstField = 3601;
constexpr UINT kCommentButton = 3620;

class MasterStepFormTab : public formtest::MasterStepFormTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(MasterStepFormTest::SetUp());
        m_form = ShowForm();
        ASSERT_NE(m_form, nullptr);
    }
    CWnd* Ctrl(UINT id) { return m_form->GetDlgItem(id); }
    // The control of the form that has the focus, or holds the window that has it.
    UINT FocusedId()
    {
        CWnd* focus = CWnd::GetFocus();
        while (focus && focus->GetParent() != m_form) focus = focus->GetParent();
        return focus ? static_cast<UINT>(focus->GetDlgCtrlID()) : 0;
    }
    void FocusComment()
    {
        m_form->GetCommentEdit()->SetFocus();
        platform::ui::Desktop::PumpMessages();
        ASSERT_EQ(FocusedId(), static_cast<UINT>(m_form->GetCommentEdit()->GetDlgCtrlID()));
    }

    CFormInterpreMsfr* m_form = nullptr;
};

}  // namespace

TEST_F(MasterStepFormTab, TabFromTheCommentWrapsForwardToTheFirstFieldAfterAskingThePane)
{
    ASSERT_TRUE(formtest::IsShown(Ctrl(kFirstField)));
    FocusComment();
    m_host.pane.log.clear();
    Press(VK_TAB);
    EXPECT_EQ(m_host.pane.Count(WM_FORM_TAB_END), 1);
    EXPECT_EQ(m_host.pane.LastChain()[1], 2);   // forwards
    EXPECT_EQ(FocusedId(), kFirstField);
}

TEST_F(MasterStepFormTab, ShiftTabFromTheFirstFieldWrapsBackToTheCommentButtonAfterAskingThePane)
{
    Ctrl(kFirstField)->SetFocus();
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(FocusedId(), kFirstField);
    m_host.pane.log.clear();
    Press(VK_TAB, platform::ui::kShift);
    EXPECT_EQ(m_host.pane.Count(WM_FORM_TAB_END), 1);
    EXPECT_EQ(m_host.pane.LastChain()[1], 1);   // backwards
    EXPECT_EQ(FocusedId(), kCommentButton);
}

TEST_F(MasterStepFormTab, APaneThatTakesTheJumpKeepsTheFormFromWrapping)
{
    m_host.pane.answer = 1;
    FocusComment();
    const UINT comment = FocusedId();
    Press(VK_TAB);
    EXPECT_EQ(m_host.pane.LastChain()[1], 2);
    EXPECT_EQ(FocusedId(), comment);
    Ctrl(kFirstField)->SetFocus();
    platform::ui::Desktop::PumpMessages();
    Press(VK_TAB, platform::ui::kShift);
    EXPECT_EQ(m_host.pane.LastChain()[1], 1);
    EXPECT_EQ(FocusedId(), kFirstField);
}
