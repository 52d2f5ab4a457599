#include <gtest/gtest.h>

#include "core/AnnoEditStamp.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditor.h"
#include "platform/base/DateTime.h"
#include "tests/support/ModalScript.h"

namespace {

constexpr auto kDoctors = static_cast<_EDITABLE_PARAM_INDEX>(9);
constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);

// The module-wide substitute flags, put back after each test.
class Prompts : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_substitute = g_bSubstitute;
        m_editMode = g_bEditSubstituteMode;
    }
    void TearDown() override
    {
        g_bSubstitute = m_substitute;
        g_bEditSubstituteMode = m_editMode;
    }

    CTavrionDoc m_doc;

private:
    int m_substitute = 0;
    int m_editMode = 0;
};

bool IsEnabled(CWnd& dialog, int id)
{
    CWnd* control = dialog.GetDlgItem(id);
    return control && control->IsWindowEnabled();
}

}  // namespace

TEST_F(Prompts, EditorPromptOffersTheEditorNamesAndStoresTheChosenOne)
{
    m_doc.InsertEditableParam(kEditors, L"佐藤");
    m_doc.InsertEditableParam(kEditors, L"田中");
    m_doc.InsertEditableParam(kDoctors, L"医師A");
    testsupport::ModalScript script;
    script.On(CDlgEditor::IDD, [](CDialog& dialog) {
        EXPECT_EQ(testsupport::ControlText(dialog, 3485), L"佐藤");
        EXPECT_EQ(dialog.SendDlgItemMessage(3485, CB_GETCOUNT), 2);
        EXPECT_TRUE(IsEnabled(dialog, 3485));
        CString caption;
        dialog.GetWindowText(caption);
        EXPECT_EQ(caption, L"入力・編集");
        EXPECT_EQ(testsupport::ControlText(dialog, 3484), L"編集者");
        EXPECT_EQ(testsupport::ControlText(dialog, IDCANCEL), L"取消");
        testsupport::ChooseListEntry(dialog, 3485, 1);
        testsupport::ClickControl(dialog, IDOK);
    });
    CDlgEditor prompt(nullptr);
    prompt.SetDoc(&m_doc);
    EXPECT_EQ(prompt.DoModal(), IDOK);
    EXPECT_EQ(prompt.GetEditorName(), L"田中");
    EXPECT_TRUE(script.Unscripted().empty());
}

TEST_F(Prompts, ASingleEditorIsShownInADisabledListAndStored)
{
    m_doc.InsertEditableParam(kEditors, L"只一人");
    testsupport::ModalScript script;
    script.On(CDlgEditor::IDD, [](CDialog& dialog) {
        EXPECT_FALSE(IsEnabled(dialog, 3485));
        testsupport::ClickControl(dialog, IDOK);
    });
    CDlgEditor prompt(nullptr);
    prompt.SetDoc(&m_doc);
    EXPECT_EQ(prompt.DoModal(), IDOK);
    EXPECT_EQ(prompt.GetEditorName(), L"只一人");
}

TEST_F(Prompts, WithoutNamesOrDocumentOkStoresAnEmptyName)
{
    testsupport::ModalScript script;
    script.On(CDlgEditor::IDD, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDOK); });
    CDlgEditor prompt(nullptr);
    EXPECT_EQ(prompt.DoModal(), IDOK);
    EXPECT_TRUE(prompt.GetEditorName().IsEmpty());
}

TEST_F(Prompts, DoctorPromptShowsTheRememberedChoiceButKeepsItWhenNotEditable)
{
    m_doc.InsertEditableParam(kDoctors, L"山田");
    m_doc.InsertEditableParam(kDoctors, L"川口");
    g_bSubstitute = 1;
    g_bEditSubstituteMode = 0;
    testsupport::ModalScript script;
    script.On(CDlgDoctor::IDD, [](CDialog& dialog) {
        EXPECT_EQ(dialog.IsDlgButtonChecked(3489), static_cast<UINT>(BST_CHECKED));
        EXPECT_FALSE(IsEnabled(dialog, 3488));
        EXPECT_FALSE(IsEnabled(dialog, 3489));
        testsupport::ClickControl(dialog, 3488);   // disabled: the click changes nothing
        testsupport::ChooseListEntry(dialog, 3487, 1);
        testsupport::ClickControl(dialog, IDOK);
    });
    CDlgDoctor prompt(nullptr);
    prompt.SetDoc(&m_doc);
    EXPECT_EQ(prompt.DoModal(), IDOK);
    EXPECT_EQ(prompt.GetDoctorName(), L"川口");
    EXPECT_EQ(prompt.GetIfSubstitute(), 1);
    EXPECT_EQ(g_bSubstitute, 1);
}

TEST_F(Prompts, DoctorPromptRemembersASubstituteChosenByTheUser)
{
    g_bSubstitute = 0;
    g_bEditSubstituteMode = 1;
    testsupport::ModalScript script;
    script.On(CDlgDoctor::IDD, [](CDialog& dialog) {
        EXPECT_EQ(dialog.IsDlgButtonChecked(3488), static_cast<UINT>(BST_CHECKED));
        testsupport::ClickControl(dialog, 3489);
        testsupport::ClickControl(dialog, IDOK);
    });
    CDlgDoctor prompt(nullptr);
    prompt.SetDoc(&m_doc);
    EXPECT_EQ(prompt.DoModal(), IDOK);
    EXPECT_EQ(prompt.GetIfSubstitute(), 1);
    EXPECT_EQ(g_bSubstitute, 1);

    // Cancelled: the remembered choice stays.
    script.On(CDlgDoctor::IDD, [](CDialog& dialog) {
        EXPECT_EQ(dialog.IsDlgButtonChecked(3489), static_cast<UINT>(BST_CHECKED));
        testsupport::ClickControl(dialog, 3488);
        testsupport::ClickControl(dialog, IDCANCEL);
    });
    CDlgDoctor again(nullptr);
    EXPECT_EQ(again.DoModal(), IDCANCEL);
    EXPECT_EQ(g_bSubstitute, 1);
}

TEST(EditStamp, FormatsYearToSecondWithLeadingZeros)
{
    EXPECT_EQ(FormatEditStamp(COleDateTime(2024, 3, 5, 9, 7, 2)), L"2024/03/05 09:07:02");
    EXPECT_EQ(FormatEditStamp(COleDateTime(1999, 12, 31, 23, 59, 59)), L"1999/12/31 23:59:59");
}
