#include <gtest/gtest.h>

#include "controls/MultiEdit.h"
#include "core/PositionCtrl.h"
#include "forms/FormInterpreAme.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/forms/RestFormTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

namespace {

using morvelance::rec::RecordKind;
using testsupport::ControlText;

class UsRestForm : public formtest::RestFormFixture<CFormInterpreAme> {
protected:
    _RESTDATAITEM* OpenRecord(int ivrel = -1)
    {
        morvelance::RestRecordShape shape = resttest::Shape(RecordKind::Rest12);
        shape.xml.ivrelRows = ivrel;
        _RESTDATAITEM* item = AddRecord("ame", shape);
        EXPECT_EQ(Open(item), 0);
        return item;
    }
    CFormInterpreAme& Show()
    {
        auto* form = m_host.Show(m_doc, DOC_TYPE_REST, RUNTIME_CLASS(CFormInterpreAme), 1024, 400);
        EXPECT_NE(form, nullptr);
        return *form;
    }
    _POSITION_CTRL* Table() { return m_doc.GetDefCtrlPos()->stUsaRest; }
    CWnd* Ctrl(UINT id) { return m_host.form->GetDlgItem(id); }
    bool Shown(UINT id) { return formtest::IsShown(Ctrl(id)); }
    void Press(UINT vk)
    {
        platform::ui::Desktop::KeyPress(vk);
        platform::ui::Desktop::PumpMessages();
    }
    void TypeComment(CFormInterpreAme& form, int lines)
    {
        form.GetCommentEdit()->SetFocus();
        platform::ui::Desktop::PumpMessages();
        ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
        for (int i = 0; i < lines; ++i) {
            if (i) Press(VK_RETURN);
            platform::ui::Desktop::TypeText(L"所見");
        }
        Ctrl(3031)->SetFocus();
        platform::ui::Desktop::PumpMessages();
    }
    void HideRequestColumn()
    {
        for (int row = 0; row <= 15; ++row) Table()[row].bVisible = 0;
    }

};

}  // namespace

TEST_F(UsRestForm, EveryControlIsCreatedAtItsLayoutRowOnTheDesignScreen)
{
    OpenRecord();
    CFormInterpreAme& form = Show();
    const std::vector<CCheckUI>& entries = form.GetCheckUIEntries();
    ASSERT_EQ(entries.size(), static_cast<size_t>(CFormInterpreAme::kAmeRowCount));
    static const int kComboRows[] = {1, 3, 5, 7, 9, 11, 13, 15, 91};
    for (int i = 0; i < CFormInterpreAme::kAmeRowCount; ++i) {
        const CRect created = entries[i].GetRect();
        const _POSITION_CTRL& row = Table()[i];
        EXPECT_EQ(created.TopLeft(), CPoint(row.nLeft, row.nTop)) << i;
        EXPECT_EQ(created.Width(), row.nWidth) << i;
        if (std::find(std::begin(kComboRows), std::end(kComboRows), i) == std::end(kComboRows)) {
            EXPECT_EQ(created.Height(), row.nHeight) << i;
        }
    }
}

TEST_F(UsRestForm, TheCommentShowsOnlyWhenTheRequestColumnIsEmptyAndColumnsMoveLeft)
{
    OpenRecord();
    CFormInterpreAme& form = Show();
    EXPECT_TRUE(Shown(3031));
    EXPECT_FALSE(Shown(3157));
    EXPECT_FALSE(formtest::IsShown(form.GetCommentEdit()));
    const int heartRateLeft = formtest::PlacedRect(form, *Ctrl(3168)).left;
    m_host.Close();
    HideRequestColumn();
    CFormInterpreAme& again = Show();
    EXPECT_FALSE(Shown(3031));
    EXPECT_TRUE(Shown(3157));
    EXPECT_TRUE(formtest::IsShown(again.GetCommentEdit()));
    EXPECT_EQ(heartRateLeft - formtest::PlacedRect(again, *Ctrl(3168)).left, Table()[16].nLeft - Table()[0].nLeft);
}

TEST_F(UsRestForm, TheCommentGrowsFromItsSixthLine)
{
    OpenRecord();
    HideRequestColumn();
    CFormInterpreAme& form = Show();
    TypeComment(form, 5);
    EXPECT_EQ(form.GetCommentExtraHeight(), 0);
    TypeComment(form, 6);
    const int line = [&] { LOGFONT lf{}; m_doc.GetDocFont(0)->GetLogFont(&lf); return std::abs(lf.lfHeight); }();
    EXPECT_EQ(form.GetCommentExtraHeight(), line);
}

TEST_F(UsRestForm, ATypedCodeFillsItsStatementAndTheChainEndNamesThisForm)
{
    _RESTDATAITEM* item = OpenRecord(0);
    CFormInterpreAme& form = Show();
    Ctrl(3097)->SetFocus();
    ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
    platform::ui::Desktop::TypeText(L"R01");
    Press(VK_TAB);
    EXPECT_EQ(ControlText(form, 3141), L"洞調律");
    EXPECT_EQ(item->stInterpre.nIvrelCount, 1);
    // Backwards from the first control of the chain.
    Ctrl(3031)->SetFocus();
    platform::ui::Desktop::KeyPress(VK_TAB, platform::ui::kShift);
    platform::ui::Desktop::PumpMessages();
    ASSERT_GE(m_host.pane.Count(WM_FORM_TAB_END), 1);
    EXPECT_EQ(m_host.pane.LastChain(), (std::array<int, 3>{3, 1, 0}));
}

TEST_F(UsRestForm, PrintLeavesTheFieldsToTheLandscapeReport)
{
    OpenRecord();
    CFormInterpreAme& form = Show();
    EXPECT_EQ(form.Print(static_cast<CDC*>(nullptr), nullptr, 0), 1);
}

TEST_F(UsRestForm, AMinnesotaColumnAboveTheClosedAdditionsStaysAtItsRow)
{
    _RESTDATAITEM* item = OpenRecord();
    item->stAddition.bPresent = 0;   // the additions close up
    CFormInterpreAme& form = Show();
    ASSERT_LT(Table()[48].nTop, Table()[34].nTop);
    EXPECT_EQ(formtest::PlacedRect(form, *Ctrl(3053)).top, Table()[48].nTop);
    EXPECT_FALSE(Shown(3970));
}
