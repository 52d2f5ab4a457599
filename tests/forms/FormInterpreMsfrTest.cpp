#include <gtest/gtest.h>

#include "controls/MultiEdit.h"
#include "core/PositionCtrl.h"
#include "forms/FormInterpreMsfr.h"
#include "tests/documents/FinalViewDocTestUtil.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ControlText;

class MasterStepForm : public finaltest::FinalDocTest {
protected:
    void SetUp() override
    {
        finaltest::FinalDocTest::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        platform::ui::Desktop::Reset();
        m_screen.Use(m_doc, 1024, 768);
        m_doc.GetCtrlPosFromXSL(LOAD_POS_FINAL);
        m_record = Write(finaltest::SynthRecord(), &m_xml);
        ASSERT_EQ(Open(m_doc, m_record, m_xml), 0);
    }
    void TearDown() override
    {
        m_host.Close();
        finaltest::FinalDocTest::TearDown();
    }
    CFormInterpreMsfr& Show()
    {
        auto* form = m_host.Show(m_doc, DOC_TYPE_FINAL, RUNTIME_CLASS(CFormInterpreMsfr), 540, 560);
        EXPECT_NE(form, nullptr);
        return *form;
    }
    _POSITION_CTRL* Table() { return m_doc.GetDefCtrlPos()->stFinal; }
    CWnd* Ctrl(UINT id) { return m_host.form->GetDlgItem(id); }
    int Top(UINT id) { return formtest::PlacedRect(*m_host.form, *Ctrl(id)).top; }
    void Press(UINT vk, UINT modifiers = platform::ui::kNoModifiers)
    {
        platform::ui::Desktop::KeyPress(vk, modifiers);
        platform::ui::Desktop::PumpMessages();
    }

    CFinalViewDoc m_doc;
    std::string m_record, m_xml;
    formtest::ScopedScreen m_screen;
    formtest::FormHost<CFormInterpreMsfr> m_host;
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
    auto type = [&](int lines) {
        form.GetCommentEdit()->SetFocus();
        platform::ui::Desktop::PumpMessages();
        ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
        for (int i = 0; i < lines; ++i) {
            if (i) Press(VK_RETURN);
            platform::ui::Desktop::TypeText(L"所見");
        }
        Ctrl(3601)->SetFocus();
        platform::ui::Desktop::PumpMessages();
    };
    type(6);
    EXPECT_EQ(form.GetCommentExtraHeight(), 0);
    EXPECT_EQ(Top(3622), confirmation);
    type(8);
    const int line = [&] { LOGFONT lf{}; m_doc.GetDocFont(0)->GetLogFont(&lf); return std::abs(lf.lfHeight); }();
    EXPECT_EQ(form.GetCommentExtraHeight(), 2 * line);
    EXPECT_EQ(Top(3622) - confirmation, 2 * line);
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
