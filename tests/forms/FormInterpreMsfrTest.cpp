#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/MultiEdit.h"
#include "forms/FormInterpreMsfr.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/forms/MasterStepFormTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ControlText;

class MasterStepForm : public formtest::MasterStepFormTest {
protected:
    CFormInterpreMsfr& Show()
    {
        auto* form = ShowForm();
        EXPECT_NE(form, nullptr);
        return *form;
    }
    _POSITION_CTRL* Table() { return m_doc.GetDefCtrlPos()->stFinal; }
    CWnd* Ctrl(UINT id) { return m_host.form->GetDlgItem(id); }
    int Top(UINT id) { return formtest::PlacedRect(*m_host.form, *Ctrl(id)).top; }
    // The comment replaced by `lines` typed lines, then the focus moved on.
    void TypeComment(CFormInterpreMsfr& form, int lines)
    {
        form.GetCommentEdit()->SetFocus();
        platform::ui::Desktop::PumpMessages();
        ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
        for (int i = 0; i < lines; ++i) {
            if (i) Press(VK_RETURN);
            platform::ui::Desktop::TypeText(L"所見");
        }
        Ctrl(3601)->SetFocus();
        platform::ui::Desktop::PumpMessages();
    }
};

// The form at two edges of its placement: the more-additions link of a
// record holding more additions than its three rows show, and the one extra
// placement pass a content row that wraps anew takes.
class MasterStepFormEdge : public MasterStepForm {
protected:
    static constexpr UINT kLink = 3997, kFirstTitle = 3985, kFirstContent = 3994;
    static constexpr int kLinkRow = 29;

    void SetUp() override
    {
        MasterStepForm::SetUp();
        Item()->stAddition.bPresent = 1;
    }
    _FINALDATAITEM* Item() { return m_doc.GetCurrentDataItem(); }
    // The additions the item holds, each with a title and a content.
    void Hold(int count)
    {
        _ADDITIONAL_INFO& a = Item()->stAddition;
        a.nCount = count;
        for (int i = 0; i < count; ++i) {
            a.strTitle[i].Format(L"追加%d", i + 1);
            a.strContent[i].Format(L"内容%d", i + 1);
        }
    }
};

}  // namespace

TEST_F(MasterStepForm, EveryControlIsCreatedAtItsLayoutRowOnTheDesignScreen)
{
    CFormInterpreMsfr& form = Show();
    const std::vector<CCheckUI>& entries = form.GetCheckUIEntries();
    ASSERT_EQ(entries.size(), static_cast<size_t>(CFormInterpreMsfr::kRowCount));
    static const int kComboRows[] = {1, 3, 5, 7, 9, 11, 13, 15, 32};
    for (int i = 0; i < CFormInterpreMsfr::kRowCount; ++i) {
        const CRect created = entries[i].GetRect();
        EXPECT_EQ(created.TopLeft(), CPoint(Table()[i].nLeft, Table()[i].nTop)) << i;
        EXPECT_EQ(created.Width(), Table()[i].nWidth) << i;
        if (std::find(std::begin(kComboRows), std::end(kComboRows), i) == std::end(kComboRows)) {
            EXPECT_EQ(created.Height(), Table()[i].nHeight) << i;
        }
    }
}

TEST_F(MasterStepForm, WithoutAdditionsEverythingFromTheIvrelLabelMovesUpByTheirBlock)
{
    m_doc.GetCurrentDataItem()->stAddition.bPresent = 1;
    Show();
    const int withAdditions = Top(3616);
    m_host.Close();
    m_doc.GetCurrentDataItem()->stAddition.bPresent = 0;
    Show();
    EXPECT_FALSE(formtest::IsShown(Ctrl(3984)));
    EXPECT_FALSE(formtest::IsShown(Ctrl(3994)));
    // The block from entry 16 to entry 30 is gone; the link's and the label's
    // two-unit steps (factor 1) stay.
    EXPECT_EQ(Top(3616), Table()[16].nTop + 2 + 2);
    EXPECT_LT(Top(3616), withAdditions);
}

TEST_F(MasterStepForm, TheCommentGrowsFromItsSeventhLineAndPushesTheConfirmation)
{
    m_doc.GetCurrentDataItem()->stPatient.bConfirmed = 1;
    CFormInterpreMsfr& form = Show();
    const int confirmation = Top(3622);
    auto type = [&](int lines) { TypeComment(form, lines); };
    type(6);
    EXPECT_EQ(form.GetCommentExtraHeight(), 0);
    EXPECT_EQ(Top(3622), confirmation);
    type(8);
    const int line = [&] { LOGFONT lf{}; m_doc.GetDocFont(0)->GetLogFont(&lf); return std::abs(lf.lfHeight); }();
    EXPECT_EQ(form.GetCommentExtraHeight(), 2 * line);
    EXPECT_EQ(Top(3622) - confirmation, 2 * line);
}

// With the comment label's layout entry hidden the confirmation lines keep
// their place however far the comment grows: the grown comment pushes them
// down only under a shown label.
TEST_F(MasterStepForm, AHiddenCommentLabelLeavesTheConfirmationWhereItIsAsTheCommentGrows)
{
    m_doc.GetCurrentDataItem()->stPatient.bConfirmed = 1;
    Table()[33].bVisible = 0;
    CFormInterpreMsfr& form = Show();
    auto type = [&](int lines) { TypeComment(form, lines); };
    type(6);
    const int confirmation = Top(3622);
    type(8);
    ASSERT_GT(form.GetCommentExtraHeight(), 0);
    EXPECT_EQ(Top(3622), confirmation);
    EXPECT_FALSE(formtest::IsShown(Ctrl(3619)));
}

TEST_F(MasterStepForm, TabSkipsTheHiddenTemplateEditBothWays)
{
    CFormInterpreMsfr& form = Show();
    Ctrl(3620)->SetFocus();
    Press(VK_TAB);
    CWnd* focus = CWnd::GetFocus();
    EXPECT_TRUE(focus == form.GetCommentEdit() || (focus && focus->GetParent() == form.GetCommentEdit()));
    Press(VK_TAB, platform::ui::kShift);
    EXPECT_EQ(::GetFocus(), Ctrl(3620)->m_hWnd);
}

TEST_F(MasterStepForm, TheJudgementShowsItsCodeAndAnAdditionRowIsCleared)
{
    m_doc.GetCurrentDataItem()->stAddition.bPresent = 1;
    CFormInterpreMsfr& form = Show();
    form.SendMessage(WM_BOUND_COMBO_CHANGED, 3618, 0);
    EXPECT_EQ(ControlText(form, 3617), L"J1");
    Ctrl(3985)->SetWindowText(L"既往");
    Ctrl(3985)->SendMessage(WM_BOUND_CONTROL_RELOAD);
    testsupport::ClickControl(form, 3988);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(ControlText(form, 3985), L"");
    CString stored;
    m_doc.GetCtrlData(3985, stored);
    EXPECT_EQ(stored, L"");
}

TEST_F(MasterStepFormEdge, TheLinkShowsForMoreThanThreeAdditionsWithEveryRowShown)
{
    _POSITION_CTRL* table = m_doc.GetDefCtrlPos()->stFinal;
    table[kLinkRow].bVisible = 1;
    for (int k = 0; k < 3; ++k) table[17 + 4 * k + 3].bVisible = 1;

    Hold(3);
    Show();
    EXPECT_FALSE(formtest::IsShown(Ctrl(kLink)));
    EXPECT_TRUE(formtest::IsShown(Ctrl(kFirstContent + 2)));
    m_host.Close();

    Hold(4);
    Show();
    EXPECT_TRUE(formtest::IsShown(Ctrl(kLink)));
    m_host.Close();

    // A layout that hides the link keeps it hidden whatever the record holds.
    table[kLinkRow].bVisible = 0;
    Show();
    EXPECT_FALSE(formtest::IsShown(Ctrl(kLink)));
    m_host.Close();

    // Three additions, the third row hidden by the layout but holding text:
    // the link offers it, unless the layout hides the link too.
    Hold(3);
    table[kLinkRow].bVisible = 1;
    table[17 + 4 * 2 + 3].bVisible = 0;
    CFormInterpreMsfr& form = Show();
    Ctrl(kFirstContent + 2)->SetWindowText(L"隠れた内容");
    form.MoveCtrl(1);
    EXPECT_TRUE(formtest::IsShown(Ctrl(kLink)));
    table[kLinkRow].bVisible = 0;
    form.MoveCtrl(1);
    EXPECT_FALSE(formtest::IsShown(Ctrl(kLink)));
}

TEST_F(MasterStepFormEdge, AContentThatWrapsAnewTakesExactlyOneMorePassAndEndsAsOnePassWould)
{
    Hold(3);
    CFormInterpreMsfr& form = Show();
    CWnd* content = Ctrl(kFirstContent);
    CWnd* nextTitle = Ctrl(kFirstTitle + 1);
    const CRect settled = formtest::PlacedRect(form, *content);
    const int nextTop = formtest::PlacedRect(form, *nextTitle).top;

    // Squeezed, the long text wraps to three lines; at its own width it takes one.
    content->SetWindowText(L"所見あり 所見あり 所見あり");
    content->MoveWindow(settled.left, settled.top, settled.Width() / 4, settled.Height(), TRUE);
    ASSERT_GT(static_cast<int>(content->SendMessage(EM_GETLINECOUNT)), 1);
    const int passes = form.GetLayoutPasses();
    form.MoveCtrl(1);
    EXPECT_EQ(form.GetLayoutPasses() - passes, 2);
    ASSERT_EQ(static_cast<int>(content->SendMessage(EM_GETLINECOUNT)), 1);
    EXPECT_EQ(formtest::PlacedRect(form, *content), settled);
    EXPECT_EQ(formtest::PlacedRect(form, *nextTitle).top, nextTop);

    // Placed again with nothing new to wrap: one pass.
    form.MoveCtrl(1);
    EXPECT_EQ(form.GetLayoutPasses() - passes, 3);
    EXPECT_EQ(formtest::PlacedRect(form, *content), settled);
}
