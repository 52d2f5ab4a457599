#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/Dlg15LeadEditLeadName.h"
#include "dialogs/DlgEditor.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/xml/XmlSaveFile.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"

namespace {

using platform::ui::Desktop;
using testsupport::ChooseListEntry;
using testsupport::ClickControl;
using testsupport::ControlText;
using testsupport::ModalScript;

constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);
constexpr int kExt1 = 3803;
constexpr int kExt3 = 3805;
constexpr int kTyping = 144;
constexpr int kListOnly = 146;

bool FailTheReplace(platform::XmlSaveStep step) { return step == platform::XmlSaveStep::Rename; }
bool FailTheWorkingFile(platform::XmlSaveStep step) { return step == platform::XmlSaveStep::CreateTemporary; }

// Counts the whole-file replacements begun, failing none.
int g_replacements = 0;
bool CountTheReplace(platform::XmlSaveStep step)
{
    if (step == platform::XmlSaveStep::CreateTemporary) ++g_replacements;
    return false;
}

class FifteenLeadNames : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        Desktop::Reset();
        m_previousBox = SetMessageBoxHandler([this](const MessageBoxRequest& box) {
            m_boxes.push_back(box.text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        platform::SetXmlSaveFaultHook(nullptr);
        SetMessageBoxHandler(m_previousBox);
        resttest::RestDocFixture::TearDown();
    }

    _RESTDATAITEM* OpenRecord(morvelance::rec::RecordKind kind = morvelance::rec::RecordKind::Rest15)
    {
        _RESTDATAITEM* item = AddRecord("names.ecg", resttest::Shape(kind));
        EXPECT_EQ(Open(item), 0);
        m_doc.InsertEditableParam(kEditors, L"編集者一");
        return item;
    }

    void AnswerEditor(ModalScript& script)
    {
        script.On(CDlgEditor::IDD, [](CDialog& dialog) {
            ChooseListEntry(dialog, 3485, 0);
            ClickControl(dialog, IDOK);
        });
    }

    // Runs the editor on the document with `act` as the user's part.
    int Run(ModalScript& script, int templateId, const ModalScript::Step& act)
    {
        script.On(static_cast<UINT>(templateId), act);
        CDlg15LeadEditLeadName dialog(templateId);
        dialog.SetDoc(&m_doc, DOC_TYPE_REST);
        return static_cast<int>(dialog.DoModal());
    }

    // Types V10 over the first extra lead's name and presses OK.
    int TypeV10(ModalScript& script)
    {
        return Run(script, kTyping, [](CDialog& dialog) {
            dialog.SetDlgItemText(kExt1, L"");
            testsupport::TypeInto(dialog, kExt1, L"V10");
            ClickControl(dialog, IDOK);
        });
    }

    std::vector<CString> m_boxes;
    MessageBoxHandler m_previousBox;
};

}  // namespace

TEST(LeadNamePositions, NamesMapToTheirStandardLeadCodesAndOthersToNone)
{
    const std::vector<CString> expected = {L"V7", L"V8", L"V9", L"V2R", L"V3R", L"V4R",
                                           L"V5R", L"V6R", L"V7R", L"V8R", L"V9R"};
    EXPECT_EQ(CDlgEditLeadName::PositionNames(), expected);
    const int codes[] = {9, 66, 67, 10, 11, 12, 13, 14, 15, 68, 69};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(CDlgEditLeadName::PositionCode(expected[i]), codes[i]) << testsupport::Utf8(expected[i]);
    EXPECT_EQ(CDlgEditLeadName::PositionCode(L"V10"), 0);
    EXPECT_EQ(CDlgEditLeadName::PositionCode(L""), 0);
}

TEST_F(FifteenLeadNames, ChoosingV8StoresCode66InTheRecordFilesThatReopen)
{
    _RESTDATAITEM* item = OpenRecord();
    ModalScript script;
    AnswerEditor(script);
    std::vector<CString> shown;
    const int result = Run(script, kListOnly, [&](CDialog& dialog) {
        for (int box = kExt1; box <= kExt3; ++box) shown.push_back(ControlText(dialog, box));
        ChooseListEntry(dialog, kExt3, testsupport::ListEntryOf(dialog, kExt3, L"V8"));
        ClickControl(dialog, IDOK);
    });
    ASSERT_EQ(result, IDOK);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(shown[2], L"V8");
    EXPECT_EQ(item->stLeadName.nCode[2], 66);
    EXPECT_EQ(item->stLeadName.strDispName[14], L"V8");
    EXPECT_EQ(item->stInterpre.strAnaEditor, L"編集者一");
    EXPECT_TRUE(m_boxes.empty());
    // The record file was rewritten from the image, whose CRC was brought up to date.
    const std::string recordAfter = testsupport::ReadFileBytes(m_files.record);
    EXPECT_EQ(recordAfter.size(), static_cast<size_t>(item->pECGData->dwFileLength));
    EXPECT_EQ(recordAfter, std::string(reinterpret_cast<const char*>(item->pECGData->byFileData), recordAfter.size()));

    CRestViewDoc again;
    _RESTDATAITEM* reopened = Reopen(again);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->stLeadName.nCode[2], 66);
    EXPECT_EQ(reopened->stLeadName.strDispName[14], L"V8");
    EXPECT_EQ(reopened->stLeadName.strDispName[12], shown[0]);
}

TEST_F(FifteenLeadNames, AStoredNameReplacesTheRecordOnceAndItsXmlOnceWithEverythingInIt)
{
    _RESTDATAITEM* item = OpenRecord();
    item->stPatient.strName = L"保存 一回";
    g_replacements = 0;
    platform::SetXmlSaveFaultHook(&CountTheReplace);
    ModalScript script;
    AnswerEditor(script);
    const int result = Run(script, kListOnly, [&](CDialog& dialog) {
        ChooseListEntry(dialog, kExt3, testsupport::ListEntryOf(dialog, kExt3, L"V8"));
        ClickControl(dialog, IDOK);
    });
    platform::SetXmlSaveFaultHook(nullptr);
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(g_replacements, 2);   // the device record, then the record XML
    // The one save holds the patient's part as well as the names and the stamps.
    EXPECT_EQ(testsupport::ReadXmlValue(m_files.xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_name"),
              CString(L"保存 一回"));
    CRestViewDoc again;
    _RESTDATAITEM* reopened = Reopen(again);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->stLeadName.strDispName[14], L"V8");
    EXPECT_EQ(reopened->stPatient.strName, L"保存 一回");
    EXPECT_EQ(reopened->stInterpre.strAnaEditor, L"編集者一");
}

TEST_F(FifteenLeadNames, OkWithoutAChangeClosesWithoutPromptOrWrite)
{
    OpenRecord();
    const std::string record = testsupport::ReadFileBytes(m_files.record);
    const std::string xml = testsupport::ReadFileBytes(m_files.xml);
    ModalScript script;
    EXPECT_EQ(Run(script, kListOnly, [](CDialog& dialog) { ClickControl(dialog, IDOK); }), IDOK);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{kListOnly});
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.record), record);
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), xml);
}

TEST_F(FifteenLeadNames, TwoLeadsWithOneNameAreRefusedAndTheOpeningNamesComeBack)
{
    _RESTDATAITEM* item = OpenRecord();
    const int codes[] = {item->stLeadName.nCode[0], item->stLeadName.nCode[1], item->stLeadName.nCode[2]};
    ModalScript script;
    std::vector<CString> opening, restored;
    const int result = Run(script, kListOnly, [&](CDialog& dialog) {
        for (int box = kExt1; box <= kExt3; ++box) opening.push_back(ControlText(dialog, box));
        ChooseListEntry(dialog, kExt1, testsupport::ListEntryOf(dialog, kExt1, L"V7"));
        ChooseListEntry(dialog, kExt3, testsupport::ListEntryOf(dialog, kExt3, L"V7"));
        ClickControl(dialog, IDOK);
        for (int box = kExt1; box <= kExt3; ++box) restored.push_back(ControlText(dialog, box));
        ClickControl(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(m_boxes, std::vector<CString>{L"同じ誘導名は選択できません。"});
    EXPECT_EQ(restored, opening);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{kListOnly});
    for (int i = 0; i < 3; ++i) EXPECT_EQ(item->stLeadName.nCode[i], codes[i]);
}

TEST_F(FifteenLeadNames, ATypedNameOutsideTheListBecomesACustomNameWhenTheItemAllowsThem)
{
    _RESTDATAITEM* item = OpenRecord();
    item->stLeadName.bChanged = 1;
    ModalScript script;
    AnswerEditor(script);
    EXPECT_EQ(TypeV10(script), IDOK);
    EXPECT_EQ(item->stLeadName.nCode[0], 0);
    EXPECT_EQ(item->stLeadName.nFlag[0], 1);
    EXPECT_EQ(item->stLeadName.strEditName[0], L"V10");
    EXPECT_EQ(item->stLeadName.strDispName[12], L"V10");
}

TEST_F(FifteenLeadNames, ATypedNameOutsideTheListKeepsTheOldNameWhenTheItemAllowsNoCustomNames)
{
    _RESTDATAITEM* item = OpenRecord();
    item->stLeadName.bChanged = 0;
    item->stLeadName.nCode[0] = 9;
    const CString oldName = item->stLeadName.strDispName[12];
    ModalScript script;
    AnswerEditor(script);
    EXPECT_EQ(TypeV10(script), IDOK);
    EXPECT_EQ(item->stLeadName.nCode[0], 0);
    EXPECT_EQ(item->stLeadName.strDispName[12], oldName);
}

TEST_F(FifteenLeadNames, ATypedNameIsCutToTwelveColumns)
{
    OpenRecord();
    ModalScript script;
    CString typed;
    Run(script, kTyping, [&](CDialog& dialog) {
        dialog.SetDlgItemText(kExt1, L"");
        testsupport::TypeInto(dialog, kExt1, L"ABCDEFGHIJKLMNOP");
        typed = ControlText(dialog, kExt1);
        ClickControl(dialog, IDCANCEL);
    });
    EXPECT_EQ(typed, L"ABCDEFGHIJKL");
}

// The twelve columns guard what is typed: a custom name the record holds
// past them is shown whole (it was once cut as the editor opened) and a key
// that would lengthen it is refused, while deleting is taken.
TEST_F(FifteenLeadNames, AStoredNamePastTwelveColumnsIsShownWholeAndTypingCannotLengthenIt)
{
    _RESTDATAITEM* item = OpenRecord();
    item->stLeadName.bChanged = 1;
    item->stLeadName.strDispName[12] = L"这这这这这这这";
    ModalScript script;
    CString shown, typed, deleted;
    Run(script, kTyping, [&](CDialog& dialog) {
        shown = ControlText(dialog, kExt1);
        testsupport::TypeInto(dialog, kExt1, L"");
        Desktop::KeyPress(VK_END);
        Desktop::TypeText(L"x");
        typed = ControlText(dialog, kExt1);
        Desktop::KeyPress(VK_BACK);
        deleted = ControlText(dialog, kExt1);
        ClickControl(dialog, IDCANCEL);
    });
    EXPECT_EQ(shown, L"这这这这这这这");
    EXPECT_EQ(typed, L"这这这这这这这");
    EXPECT_EQ(deleted, L"这这这这这这");
}

TEST_F(FifteenLeadNames, AFailedReplaceKeepsTheRecordByteIdenticalAndTheItemAsItWas)
{
    _RESTDATAITEM* item = OpenRecord();
    const std::string record = testsupport::ReadFileBytes(m_files.record);
    const std::string xml = testsupport::ReadFileBytes(m_files.xml);
    const _LEAD_NAME_INFO before = item->stLeadName;
    platform::SetXmlSaveFaultHook(&FailTheReplace);
    ModalScript script;
    AnswerEditor(script);
    bool stayedOpen = false;
    const int result = Run(script, kListOnly, [&](CDialog& dialog) {
        ChooseListEntry(dialog, kExt3, testsupport::ListEntryOf(dialog, kExt3, L"V9R"));
        ClickControl(dialog, IDOK);
        stayedOpen = dialog.IsWindowVisible() != FALSE;
        ClickControl(dialog, IDCANCEL);
    });
    platform::SetXmlSaveFaultHook(nullptr);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(m_boxes, std::vector<CString>{L"ファイル書き込みエラーです。"});
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.record), record);
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), xml);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(item->stLeadName.nCode[i], before.nCode[i]);
    EXPECT_EQ(item->stLeadName.strDispName[14], before.strDispName[14]);
    EXPECT_NE(item->stInterpre.strAnaEditor, L"編集者一");
}

// A record that cannot be opened for writing is told apart from bytes that
// could not be written: the working file beside it was never made.
TEST_F(FifteenLeadNames, ARecordThatCannotBeOpenedForWritingSaysTheWorkingFileFailedAndStaysOpen)
{
    _RESTDATAITEM* item = OpenRecord();
    const std::string record = testsupport::ReadFileBytes(m_files.record);
    const _LEAD_NAME_INFO before = item->stLeadName;
    platform::SetXmlSaveFaultHook(&FailTheWorkingFile);
    ModalScript script;
    AnswerEditor(script);
    bool stayedOpen = false;
    const int result = Run(script, kListOnly, [&](CDialog& dialog) {
        ChooseListEntry(dialog, kExt3, testsupport::ListEntryOf(dialog, kExt3, L"V9R"));
        ClickControl(dialog, IDOK);
        stayedOpen = dialog.IsWindowVisible() != FALSE;
        ClickControl(dialog, IDCANCEL);
    });
    platform::SetXmlSaveFaultHook(nullptr);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(m_boxes, std::vector<CString>{L"作業用一時ファイルの作成に失敗しました。"});
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.record), record);
    EXPECT_EQ(item->stLeadName.nCode[2], before.nCode[2]);
    EXPECT_NE(item->stInterpre.strAnaEditor, L"編集者一");
}

TEST_F(FifteenLeadNames, ARecordImageThatCannotBeReadiedWritesNothingAndPutsTheNamesBack)
{
    _RESTDATAITEM* item = OpenRecord();
    const std::string record = testsupport::ReadFileBytes(m_files.record);
    const _LEAD_NAME_INFO before = item->stLeadName;
    // No image to ready for writing: the reader's call cannot succeed.
    _ECGDATA* image = item->pECGData;
    item->pECGData = nullptr;
    ModalScript script;
    AnswerEditor(script);
    bool stayedOpen = false;
    const int result = Run(script, kListOnly, [&](CDialog& dialog) {
        ChooseListEntry(dialog, kExt1, testsupport::ListEntryOf(dialog, kExt1, L"V8R"));
        ClickControl(dialog, IDOK);
        stayedOpen = dialog.IsWindowVisible() != FALSE;
        ClickControl(dialog, IDCANCEL);
    });
    item->pECGData = image;
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(m_boxes, std::vector<CString>{L"ファイル書き込みエラーです。"});
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.record), record);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(item->stLeadName.nCode[i], before.nCode[i]);
    EXPECT_EQ(item->stLeadName.strDispName[12], before.strDispName[12]);
}

TEST_F(FifteenLeadNames, AReadOnlyDocumentDisablesOk)
{
    OpenRecord();
    m_doc.SetReadOnly(1);
    ModalScript script;
    BOOL okEnabled = TRUE;
    Run(script, kListOnly, [&](CDialog& dialog) {
        okEnabled = dialog.GetDlgItem(IDOK)->IsWindowEnabled();
        ClickControl(dialog, IDCANCEL);
    });
    EXPECT_FALSE(okEnabled);
}

TEST_F(FifteenLeadNames, ATwelveLeadRecordLeavesTheEditorInert)
{
    OpenRecord(morvelance::rec::RecordKind::Rest12);
    const std::string record = testsupport::ReadFileBytes(m_files.record);
    ModalScript script;
    bool stayedOpen = false;
    Run(script, kListOnly, [&](CDialog& dialog) {
        ChooseListEntry(dialog, kExt1, 1);
        ClickControl(dialog, IDOK);
        stayedOpen = dialog.IsWindowVisible() != FALSE;
        ClickControl(dialog, IDCANCEL);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{kListOnly});
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.record), record);
}

// The editor serves the three extra leads of the 15-lead resting kinds
// (low byte 11, 226 or 227, whatever the high byte): a chosen name is
// stored. Every other record is refused: OK neither closes nor writes.
TEST_F(FifteenLeadNames, TheEditorTakesTheFifteenLeadKindsAndRefusesEveryOther)
{
    using morvelance::rec::RecordKind;
    struct Kind {
        RecordKind kind;
        int code;
        bool taken;
    };
    const Kind kinds[] = {{RecordKind::Rest15, 11, true},     {RecordKind::Rest15, 226, true},
                          {RecordKind::Rest15, 227, true},    {RecordKind::Rest15, 0x100 | 227, true},
                          {RecordKind::Rest12, 0, false},     {RecordKind::Rest12, 254, false},
                          {RecordKind::Rest12, 255, false},   {RecordKind::Rest15, 8, false}};
    m_doc.InsertEditableParam(kEditors, L"編集者一");
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.code);
        _RESTDATAITEM* item = AddRecord("kind" + std::to_string(k.code) + ".ecg", resttest::Shape(k.kind, false, k.code));
        ASSERT_EQ(Open(item), 0);
        ASSERT_EQ(item->uSystemCode, static_cast<UINT>(k.code));
        const std::string record = testsupport::ReadFileBytes(m_files.record);
        const std::string xml = testsupport::ReadFileBytes(m_files.xml);
        m_boxes.clear();
        ModalScript script;
        AnswerEditor(script);
        bool stayedOpen = false;
        const int result = Run(script, kListOnly, [&](CDialog& dialog) {
            // Three names that differ from each other and from the record's.
            const wchar_t* chosen[] = {L"V9", L"V2R", L"V8"};
            for (int box = kExt1; box <= kExt3; ++box)
                ChooseListEntry(dialog, box, testsupport::ListEntryOf(dialog, box, chosen[box - kExt1]));
            ClickControl(dialog, IDOK);
            stayedOpen = dialog.IsWindowVisible() != FALSE;
            if (stayedOpen) ClickControl(dialog, IDCANCEL);
        });
        EXPECT_EQ(stayedOpen, !k.taken);
        EXPECT_EQ(result, k.taken ? IDOK : IDCANCEL);
        if (k.taken) {
            EXPECT_EQ(item->stLeadName.strDispName[12], L"V9");
            EXPECT_EQ(item->stLeadName.strDispName[14], L"V8");
            CRestViewDoc again;
            _RESTDATAITEM* reopened = Reopen(again);
            ASSERT_NE(reopened, nullptr);
            EXPECT_EQ(reopened->stLeadName.strDispName[14], L"V8");
        } else {
            EXPECT_TRUE(testsupport::ReadFileBytes(m_files.record) == record);
            EXPECT_TRUE(testsupport::ReadFileBytes(m_files.xml) == xml);
            EXPECT_EQ(script.Seen(), std::vector<UINT>{kListOnly});   // no editor asked
        }
        EXPECT_TRUE(m_boxes.empty());
    }
}
