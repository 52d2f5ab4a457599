#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/DlgEditor.h"
#include "dialogs/DlgExtraEditLeadName.h"
#include "dialogs/DlgExtraFreezeEditLeadName.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/windowing/Desktop.h"
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
