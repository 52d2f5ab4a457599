#include <gtest/gtest.h>

#include <vector>

#include "dialogs/DlgExerLeadSelection.h"
#include "platform/base/MessageBox.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "tests/support/FullDisk.h"
#include "tests/support/ModalScript.h"

namespace {

const CString kSixLeads = L"/Rawdata/Assist_info/Reference/Setting/Lead_selection/Lead_6ch";
const CString kOneLead = L"/Rawdata/Assist_info/Reference/Setting/Lead_selection/Lead_1ch";

// The buttons of the six-lead form, bit 0 (I) to bit 11 (V6).
std::vector<int> SixLeadButtons()
{
    std::vector<int> ids;
    for (int id = 4193; id <= 4204; ++id) ids.push_back(id);
    return ids;
}

class ExerLeadSelectionDialog : public exertest::ExerDocument {
protected:
    void SetUp() override
    {
        exertest::ExerDocument::SetUp();
        m_files = Write(exertest::DefaultOptions());
        m_item.strXMLPath = testsupport::Wide(m_files.xml);
        m_previousBox = SetMessageBoxHandler([this](const MessageBoxRequest& box) {
            m_boxes.push_back(box);
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHandler(m_previousBox);
        exertest::ExerDocument::TearDown();
    }

    // Runs the dialog with `step` and gives its result.
    INT_PTR Run(UINT templateId, const testsupport::ModalScript::Step& step, _EXERDATAITEM* item)
    {
        testsupport::ModalScript script;
        script.On(templateId, step);
        CDlgExerLeadSelection dialog(templateId, item);
        return dialog.DoModal();
    }

    CString Stored(const CString& path) const { return testsupport::ReadXmlValue(m_files.xml, path, CString(), L"<none>"); }

    exertest::ExerFiles m_files;
    _EXERDATAITEM m_item;
    std::vector<MessageBoxRequest> m_boxes;
    MessageBoxHandler m_previousBox;
};

std::vector<int> Marked(CDialog& dialog, const std::vector<int>& ids)
{
    std::vector<int> marked;
    for (int id : ids)
        if (dialog.IsDlgButtonChecked(id) == BST_CHECKED) marked.push_back(id);
    return marked;
}

}  // namespace

TEST_F(ExerLeadSelectionDialog, AChoiceThatCannotBeSavedEndsTheDialogAsCancelledAndSaysWhy)
{
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    const INT_PTR result = Run(172, [](CDialog& dialog) {
        testsupport::ClickControl(dialog, 4204);   // V6 off
        testsupport::ClickControl(dialog, 4193);   // I on
        testsupport::ScopedFullDisk full;
        ASSERT_TRUE(full.Limited());
        testsupport::ClickControl(dialog, IDOK);
    }, &m_item);
    // The pane reads the setting back only after IDOK.
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), before);
    // The user is told the file and why, not left to wonder at a closed dialog.
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, CString(L"エラー"));
    EXPECT_GE(m_boxes[0].text.Find(testsupport::Wide(m_files.xml)), 0);
}

TEST_F(ExerLeadSelectionDialog, SixLeadFormShowsTheStoredLeadsAndOkWritesThemBack)
{
    ASSERT_EQ(Stored(kSixLeads), L"4032");   // V1 to V6
    const INT_PTR result = Run(172, [](CDialog& dialog) {
        EXPECT_EQ(Marked(dialog, SixLeadButtons()), (std::vector<int>{4199, 4200, 4201, 4202, 4203, 4204}));
        testsupport::ClickControl(dialog, 4204);   // V6 off
        testsupport::ClickControl(dialog, 4193);   // I on
        testsupport::ClickControl(dialog, IDOK);
    }, &m_item);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Stored(kSixLeads), L"1985");   // I (1), V1 to V5 (64 to 1024)
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(ExerLeadSelectionDialog, AMissingSettingOpensWithTheLimbLeadsAndOkWrites63)
{
    {
        CECGXMLParser xml(testsupport::Wide(m_files.xml), 0, CString());
        ASSERT_TRUE(xml.RemoveNode(kSixLeads));
        xml.SaveToXMLFile();
    }
    const INT_PTR result = Run(172, [](CDialog& dialog) {
        EXPECT_EQ(Marked(dialog, SixLeadButtons()), (std::vector<int>{4193, 4194, 4195, 4196, 4197, 4198}));
        testsupport::ClickControl(dialog, IDOK);
    }, &m_item);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Stored(kSixLeads), L"63");
}

TEST_F(ExerLeadSelectionDialog, SevenMarkedLeadsWarnAndWriteNothing)
{
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    const INT_PTR result = Run(172, [](CDialog& dialog) {
        testsupport::ClickControl(dialog, 4193);
        testsupport::ClickControl(dialog, IDOK);
        EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));   // still open
        testsupport::ClickControl(dialog, IDCANCEL);
    }, &m_item);
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, L"警告");
    EXPECT_EQ(m_boxes[0].text, L"選択された誘導数が６誘導を越えています \n\n 再度６つの誘導を選択してください");
    EXPECT_EQ(m_boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), before);
}

TEST_F(ExerLeadSelectionDialog, FiveMarkedLeadsAskForSix)
{
    Run(172, [](CDialog& dialog) {
        testsupport::ClickControl(dialog, 4204);
        testsupport::ClickControl(dialog, IDOK);
    }, &m_item);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, L"６つの誘導を選択してください");
    EXPECT_EQ(Stored(kSixLeads), L"4032");
}

TEST_F(ExerLeadSelectionDialog, ChestLeadFormWritesTwoForV3AndOneForV1)
{
    EXPECT_EQ(Run(174, [](CDialog& dialog) {
        testsupport::ClickControl(dialog, 4214);
        testsupport::ClickControl(dialog, IDOK);
    }, &m_item), IDOK);
    EXPECT_EQ(Stored(kOneLead), L"2");
    EXPECT_EQ(Run(174, [](CDialog& dialog) {
        EXPECT_EQ(dialog.IsDlgButtonChecked(4214), static_cast<UINT>(BST_CHECKED));
        testsupport::ClickControl(dialog, 4212);
        testsupport::ClickControl(dialog, IDOK);
    }, &m_item), IDOK);
    EXPECT_EQ(Stored(kOneLead), L"1");
}

TEST_F(ExerLeadSelectionDialog, OneLeadFormNeedsExactlyOneLead)
{
    testsupport::WriteXmlValue(m_files.xml, kOneLead, L"0");
    Run(173, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDOK); }, &m_item);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, L"１つの誘導を選んでください。");
    EXPECT_EQ(Stored(kOneLead), L"0");
}

TEST_F(ExerLeadSelectionDialog, BitsAboveElevenAreDropped)
{
    testsupport::WriteXmlValue(m_files.xml, kSixLeads, L"61503");   // 0xF03F: I to aVF and four high bits
    EXPECT_EQ(Run(172, [](CDialog& dialog) {
        EXPECT_EQ(Marked(dialog, SixLeadButtons()), (std::vector<int>{4193, 4194, 4195, 4196, 4197, 4198}));
        testsupport::ClickControl(dialog, IDOK);
    }, &m_item), IDOK);
    EXPECT_EQ(Stored(kSixLeads), L"63");
}

TEST_F(ExerLeadSelectionDialog, WithoutAnItemOrARecordXmlOkWritesNothingAndCancels)
{
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    EXPECT_EQ(Run(172, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDOK); }, nullptr), IDCANCEL);
    _EXERDATAITEM noPath;
    EXPECT_EQ(Run(172, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDOK); }, &noPath), IDCANCEL);
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), before);
    EXPECT_TRUE(m_boxes.empty());
}
