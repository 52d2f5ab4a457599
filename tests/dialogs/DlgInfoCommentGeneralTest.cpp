#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/DlgInfoCommentGeneral.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/dialogs/SheetTestSupport.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/XmlSaveFault.h"

namespace {

using sheettest::CNotifyCount;
using sheettest::Press;
using sheettest::Retype;

constexpr auto kDoctors = static_cast<_EDITABLE_PARAM_INDEX>(9);
constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);

// The general sheet over a rhythm record written by the record maker, with
// editors and a doctor to choose from and the host's notification window.
class GeneralSheet : public rhythmtest::RhythmDocTest {
protected:
    void SetUp() override
    {
        RhythmDocTest::SetUp();
        m_files = rhythmtest::WriteRhythm(m_dir, "sheet", morvelance::RhythmRecordShape());
        ASSERT_EQ(Open(m_files, 1), 0);
        m_doc->SetCtrlContent(nullptr);
        m_doc->InsertEditableParam(kEditors, L"編集者一");
        m_doc->InsertEditableParam(kDoctors, L"判読医");
        m_doc->SetDoctorAndEditorStatus(1, 1);
        platform::ui::Desktop::Reset();
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"host", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc->SetNotifyWnd(&m_notify);
        m_before = testsupport::ReadFileBytes(m_files.xml);
    }
    void TearDown() override
    {
        m_doc->SetNotifyWnd(nullptr);
        m_notify.DestroyWindow();
        RhythmDocTest::TearDown();
    }

    INT_PTR Run(testsupport::ModalScript&)
    {
        CDlgInfoCommentGeneral sheet;
        sheet.SetDoc(m_doc.get(), DOC_TYPE_RHYTHM);
        return sheet.DoModal();
    }

    static void AnswerEditor(testsupport::ModalScript& script)
    {
        script.On(CDlgEditor::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    }
    static void AnswerDoctor(testsupport::ModalScript& script)
    {
        script.On(CDlgDoctor::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    }

    rhythmtest::RhythmFiles m_files;
    std::string m_before;
    CNotifyCount m_notify;
};

}  // namespace

TEST_F(GeneralSheet, OkWithoutAChangeAsksNothingAndLeavesTheRecordXmlByteIdentical)
{
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    EXPECT_EQ(Run(script), IDOK);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgInfoCommentGeneral::IDD});
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), m_before);
    EXPECT_EQ(m_notify.count, 0);
}

TEST_F(GeneralSheet, CancelAfterTypingSavesNothingAndSendsNothing)
{
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        auto& sheet = static_cast<CDlgInfoCommentGeneral&>(dialog);
        Retype(sheet.GeneralPage(), 3703, L"取消太郎");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), m_before);
    EXPECT_EQ(m_notify.count, 0);
}

TEST_F(GeneralSheet, AnEditIsStampedWithTheEditorAndSavedAsTyped)
{
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        auto& sheet = static_cast<CDlgInfoCommentGeneral&>(dialog);
        Retype(sheet.GeneralPage(), 3703, L"編集花子");
        Retype(sheet.GeneralPage(), 3706, L"再検査を勧める");
        Press(dialog, IDOK);
    });
    AnswerEditor(script);
    EXPECT_EQ(Run(script), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(m_notify.count, 1);
    EXPECT_EQ(Item()->strInfoEditor, L"編集者一");
    EXPECT_EQ(Item()->strCommentEditor, L"編集者一");
    EXPECT_EQ(Item()->stPatient.bConfirmed, 0);

    CRhythmViewDoc fresh;
    fresh.GetCtrlPosFromXSL(LOAD_POS_REST);
    fresh.GetCtrlPosFromXSL(LOAD_POS_RHYTHM);
    ASSERT_EQ(Open(fresh, m_files, 1), 0);
    _RHYTHMDATAITEM* again = fresh.GetCurrentDataItem();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stPatient.strName, L"編集花子");
    EXPECT_EQ(again->stInterpre.strComment, L"再検査を勧める");
    EXPECT_EQ(again->strInfoEditor, L"編集者一");
}

TEST_F(GeneralSheet, ARefusedValueKeepsTheSheetOpenWithoutAPrompt)
{
    platform::ui::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        auto& sheet = static_cast<CDlgInfoCommentGeneral&>(dialog);
        Retype(sheet.GeneralPage(), 3724, L"1000");
        Press(dialog, IDOK);
        EXPECT_TRUE(dialog.IsWindowVisible());
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(boxes.Count(), 1);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgInfoCommentGeneral::IDD});
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), m_before);
}

TEST_F(GeneralSheet, TheDoctorButtonConfirmsAnUnchangedRecordSavesOnceAndNotifiesOnce)
{
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) { Press(dialog, 3201); });
    AnswerDoctor(script);
    EXPECT_EQ(Run(script), IDOK);
    EXPECT_EQ(m_notify.count, 1);
    EXPECT_EQ(Item()->stPatient.bConfirmed, 1);
    EXPECT_EQ(Item()->stPatient.strConfirmDoctor, L"判読医");
    EXPECT_NE(testsupport::ReadFileBytes(m_files.xml), m_before);
}

TEST_F(GeneralSheet, TheDoctorButtonLeavesTheItemUnconfirmedWhenAValueIsRefused)
{
    platform::ui::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        auto& sheet = static_cast<CDlgInfoCommentGeneral&>(dialog);
        Retype(sheet.GeneralPage(), 3713, L"1.5");
        Press(dialog, 3201);
        Press(dialog, IDCANCEL);
    });
    AnswerDoctor(script);
    const int confirmedBefore = Item()->stPatient.bConfirmed;
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(Item()->stPatient.bConfirmed, confirmedBefore);
    EXPECT_NE(Item()->stPatient.strConfirmDoctor, L"判読医");
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), m_before);
}

TEST_F(GeneralSheet, WithoutACurrentItemOnlyCancelIsEnabled)
{
    m_doc->SetCurDataIndex(99);
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        EXPECT_FALSE(dialog.GetDlgItem(IDOK)->IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(3201)->IsWindowEnabled());
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(GeneralSheet, AReadOnlyDocumentDisablesBothSavingButtons)
{
    m_doc->SetReadOnly(1);
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        EXPECT_FALSE(dialog.GetDlgItem(IDOK)->IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(3201)->IsWindowEnabled());
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(GeneralSheet, AFailedSaveIsReportedSendsNothingAndOkWritesItAgain)
{
    platform::ui::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [this, &boxes](CDialog& dialog) {
        auto& sheet = static_cast<CDlgInfoCommentGeneral&>(dialog);
        Retype(sheet.GeneralPage(), 3703, L"失敗次郎");
        {
            testsupport::ScopedXmlSaveFault fault;
            Press(dialog, IDOK);
        }
        EXPECT_TRUE(dialog.IsWindowVisible());
        ASSERT_EQ(boxes.Count(), 1);
        // The message names the file it could not write (it used to say only
        // that a write failed); a failure made by the test has no cause to give.
        EXPECT_EQ(boxes.Last().text,
                  L"ファイル書き込みエラーです。\r\n" + testsupport::Wide(m_files.xml) + L"\r\n書き込みに失敗しました。");
        EXPECT_EQ(boxes.Last().caption, L"エラー");
        EXPECT_EQ(m_notify.count, 0);
        EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), m_before);
        // Nothing differs from the item now, yet the edit is still to be written.
        Press(dialog, IDOK);
    });
    AnswerEditor(script);
    EXPECT_EQ(Run(script), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(boxes.Count(), 1);
    EXPECT_EQ(m_notify.count, 1);
    EXPECT_EQ(testsupport::ReadXmlValue(m_files.xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_name"),
              L"失敗次郎");
}
