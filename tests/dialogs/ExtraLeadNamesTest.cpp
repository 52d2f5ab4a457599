#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/DlgEditor.h"
#include "dialogs/DlgExtraEditLeadName.h"
#include "dialogs/DlgExtraFreezeEditLeadName.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/support/ModalScript.h"

namespace {

using platform::ui::Desktop;
using testsupport::ClickControl;
using testsupport::ControlText;
using testsupport::ModalScript;

constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);
constexpr int kFirstBox = 3826;
constexpr int kFirstFreezeEdit = 4080;

class ExtraLeadNames : public extratest::ExtraDocTest {
protected:
    void SetUp() override
    {
        ExtraDocTest::SetUp();
        Desktop::Reset();
        m_previousBox = SetMessageBoxHandler([this](const MessageBoxRequest& box) {
            m_boxes.push_back(box.text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHandler(m_previousBox);
        ExtraDocTest::TearDown();
    }

    _EXTRADATAITEM* LoadLayout(CExtraViewDoc& doc, morvelance::ExtraLayout layout)
    {
        morvelance::ExtraRecordOptions options;
        options.layout = layout;
        m_files = Write("names", options);
        _EXTRADATAITEM* item = Load(doc, m_files, morvelance::ExtraLeadType(layout));
        doc.InsertEditableParam(kEditors, L"編集者一");
        return item;
    }

    static void AnswerEditor(ModalScript& script)
    {
        script.On(CDlgEditor::IDD, [](CDialog& dialog) {
            testsupport::ChooseListEntry(dialog, 3485, 0);
            ClickControl(dialog, IDOK);
        });
    }

    extratest::RecordFiles m_files;
    std::vector<CString> m_boxes;
    MessageBoxHandler m_previousBox;
};

}  // namespace

TEST_F(ExtraLeadNames, AThreeLeadRecordOffersThreeBoxesAndStoresTheChosenPosition)
{
    _EXTRADATAITEM* item = LoadLayout(m_doc, morvelance::ExtraLayout::Three);
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(item->stLeadName.nCount, 3);
    const int untouched = item->stLeadName.nCode[1];
    ModalScript script;
    AnswerEditor(script);
    std::vector<BOOL> enabled;
    script.On(154, [&](CDialog& dialog) {
        for (int i = 0; i < 7; ++i) enabled.push_back(dialog.GetDlgItem(kFirstBox + i)->IsWindowEnabled());
        testsupport::ChooseListEntry(dialog, kFirstBox, testsupport::ListEntryOf(dialog, kFirstBox, L"V9R"));
        ClickControl(dialog, IDOK);
    });
    CDlgExtraEditLeadName dialog(154);
    dialog.SetDoc(&m_doc, DOC_TYPE_EXTRA);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(enabled, (std::vector<BOOL>{TRUE, TRUE, TRUE, FALSE, FALSE, FALSE, FALSE}));
    EXPECT_EQ(item->stLeadName.nCode[0], 69);
    EXPECT_EQ(item->strLeadNameEditor, L"編集者一");
    EXPECT_TRUE(m_boxes.empty());

    CExtraViewDoc again;
    _EXTRADATAITEM* reopened = Load(again, m_files, morvelance::ExtraLeadType(morvelance::ExtraLayout::Three));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->stLeadName.nCode[0], 69);
    EXPECT_EQ(reopened->stLeadName.nCode[1], untouched);
}

TEST_F(ExtraLeadNames, TheFreezeEditorStoresFreeTextForItsFreeLeads)
{
    _EXTRADATAITEM* item = LoadLayout(m_doc, morvelance::ExtraLayout::Freeze);
    ASSERT_NE(item, nullptr);
    int first = -1;
    for (int lead = 0; lead < LEAD_NAME_FREEZE && first < 0; ++lead)
        if (item->stLeadName.nFreezeCode[lead] >= 119 && item->stLeadName.nFreezeCode[lead] <= 124) first = lead;
    ASSERT_GE(first, 0);
    const int code = item->stLeadName.nFreezeCode[first];
    const int edit = code + 3961;
    ModalScript script;
    AnswerEditor(script);
    BOOL enabled = FALSE;
    CString cut;
    script.On(155, [&](CDialog& dialog) {
        enabled = dialog.GetDlgItem(edit)->IsWindowEnabled();
        dialog.SetDlgItemText(edit, L"");
        testsupport::TypeInto(dialog, edit, L"ABCDEFGHIJKLMNOP");
        cut = ControlText(dialog, edit);
        dialog.SetDlgItemText(edit, L"");
        testsupport::TypeInto(dialog, edit, L"Knee");
        ClickControl(dialog, IDOK);
    });
    CDlgExtraFreezeEditLeadName dialog;
    dialog.SetDoc(&m_doc, DOC_TYPE_EXTRA);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(cut, L"ABCDEFGHIJKLM");
    EXPECT_EQ(item->stLeadName.strFreezeName[first], L"Knee");
    EXPECT_EQ(item->stLeadName.nFreezeCode[first], code);

    CExtraViewDoc again;
    _EXTRADATAITEM* reopened = Load(again, m_files, morvelance::ExtraLeadType(morvelance::ExtraLayout::Freeze));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->stLeadName.strFreezeName[first], L"Knee");
}

// On a record whose freeze leads mix free leads with leads named by their
// electrode code, a code past the free leads and none, the editor's save
// changes the free lead's name and the lead-name stamps, nothing else.
TEST_F(ExtraLeadNames, TheFreezeEditorOnAMixedRecordChangesOnlyTheEditedNameAndItsStamps)
{
    m_files = Write("mixed", morvelance::MixedFreezeRecordOptions());
    _EXTRADATAITEM* item = Load(m_doc, m_files, morvelance::ExtraLeadType(morvelance::ExtraLayout::Freeze));
    ASSERT_NE(item, nullptr);
    m_doc.InsertEditableParam(kEditors, L"編集者一");
    ASSERT_EQ(item->stLeadName.nFreezeCode[0], 119);
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    ModalScript script;
    AnswerEditor(script);
    script.On(155, [&](CDialog& dialog) {
        dialog.SetDlgItemText(119 + 3961, L"");
        testsupport::TypeInto(dialog, 119 + 3961, L"Knee");
        ClickControl(dialog, IDOK);
    });
    CDlgExtraFreezeEditLeadName dialog;
    dialog.SetDoc(&m_doc, DOC_TYPE_EXTRA);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    const std::string firstLead =
        "/Rawdata[1]/Tavrion[1]/Wave[1]/Extend_section[1]/Freeze_info[1]/Lead_info[1]/Lead_name[1]";
    EXPECT_TRUE(xmlchanges::OnlyChanged(before, testsupport::ReadFileBytes(m_files.xml),
                                        {firstLead, "/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor",
                                         "/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date",
                                         "/Rawdata/Tavrion/Inspection/Patient_section/Edit_time"},
                                        {firstLead}));
}

TEST_F(ExtraLeadNames, TheFreezeEditorKeepsEditsWithoutAFreeLeadDisabled)
{
    _EXTRADATAITEM* item = LoadLayout(m_doc, morvelance::ExtraLayout::Three);
    ASSERT_NE(item, nullptr);
    ModalScript script;
    std::vector<BOOL> enabled;
    script.On(155, [&](CDialog& dialog) {
        for (int i = 0; i < 6; ++i) enabled.push_back(dialog.GetDlgItem(kFirstFreezeEdit + i)->IsWindowEnabled());
        ClickControl(dialog, IDCANCEL);
    });
    CDlgExtraFreezeEditLeadName dialog;
    dialog.SetDoc(&m_doc, DOC_TYPE_EXTRA);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(enabled, std::vector<BOOL>(6, FALSE));
}
