#include <gtest/gtest.h>

#include <vector>

#include "core/Globals.h"
#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/EditingOk.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "platform/xml/XmlSaveFile.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"

namespace {

constexpr auto kDoctors = static_cast<_EDITABLE_PARAM_INDEX>(9);
constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);

// The host's notification window: logs WM_USER+0x16 and what the record XML
// held at that moment.
class CNotifyLog : public CWnd {
public:
    std::string xmlPath;
    std::vector<CString> editorsSeen;   // the stored analysis editor at each notification

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 0x16) {
            EXPECT_EQ(wParam, 0u);
            EXPECT_EQ(lParam, 0);
            editorsSeen.push_back(testsupport::ReadXmlValue(
                xmlPath, L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name"));
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class EditingOk : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"host", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc.SetNotifyWnd(&m_notify);
    }
    void TearDown() override
    {
        m_doc.SetNotifyWnd(nullptr);
        m_notify.DestroyWindow();
        resttest::RestDocFixture::TearDown();
    }

    CNotifyLog m_notify;

    _RESTDATAITEM* OpenResting()
    {
        _RESTDATAITEM* item = AddRecord("rest.ecg", resttest::Shape(morvelance::rec::RecordKind::Rest12));
        EXPECT_EQ(Open(item), 0);
        m_doc.InsertEditableParam(kEditors, L"編集者一");
        m_doc.InsertEditableParam(kEditors, L"編集者二");
        m_doc.InsertEditableParam(kDoctors, L"判読医");
        return item;
    }

    // The editor prompt answered with the second editor.
    void AnswerEditor(testsupport::ModalScript& script)
    {
        script.On(CDlgEditor::IDD, [](CDialog& dialog) {
            testsupport::ChooseListEntry(dialog, 3485, 1);
            testsupport::ClickControl(dialog, IDOK);
        });
    }

    CEditingOk::Outcome Edit(_RESTDATAITEM* item, std::vector<int>* stored = nullptr)
    {
        CEditingOk::Run run;
        run.recordTime = CEditingOk::RecordTime::Stamp;
        run.store = [stored](const CString&) {
            if (stored) stored->push_back(1);
            return true;
        };
        run.changeTest = [this] { return m_doc.IsEidtChange(); };
        return CEditingOk::Execute(&m_doc, EditStampFieldsOf(*item), run);
    }
};

}  // namespace

TEST_F(EditingOk, ACancelledPromptStoresNothingAndLeavesTheFileByteIdentical)
{
    _RESTDATAITEM* item = OpenResting();
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    const CString confirmation = item->stPatient.strConfirmation;
    testsupport::ModalScript script;
    script.On(CDlgEditor::IDD, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDCANCEL); });
    std::vector<int> stored;
    EXPECT_EQ(Edit(item, &stored), CEditingOk::Outcome::Abandoned);
    EXPECT_TRUE(stored.empty());
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), before);
    EXPECT_EQ(item->stPatient.strConfirmation, confirmation);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgEditor::IDD});
    EXPECT_TRUE(m_notify.editorsSeen.empty());
}

TEST_F(EditingOk, EditingANeverConfirmedRecordStampsItAndAsksForTheDoctor)
{
    _RESTDATAITEM* item = OpenResting();
    m_notify.xmlPath = m_files.xml;
    item->stPatient.bConfirmed = 0;
    item->stPatient.bEditedAfterConfirm = 0;
    testsupport::ModalScript script;
    AnswerEditor(script);
    std::vector<int> stored;
    EXPECT_EQ(Edit(item, &stored), CEditingOk::Outcome::Stored);
    EXPECT_EQ(stored.size(), 1u);
    EXPECT_EQ(item->stInterpre.strAnaEditor, L"編集者二");
    EXPECT_EQ(item->stInterpre.strAnaEditDate.GetLength(), 19);
    EXPECT_EQ(item->stPatient.strReserved, item->stInterpre.strAnaEditDate);
    EXPECT_EQ(item->stPatient.strConfirmation, L"医師による確認が必要です");
    EXPECT_EQ(item->stPatient.bConfirmed, 0);
    EXPECT_EQ(item->stPatient.bEditedAfterConfirm, 0);
    // Told once, while the edit runs, and only after the record XML was saved.
    EXPECT_EQ(m_notify.editorsSeen, std::vector<CString>{L"編集者二"});

    // The save reached the record XML: the next session reads the stamp back.
    CRestViewDoc next;
    _RESTDATAITEM* reread = Reopen(next);
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->stInterpre.strAnaEditor, L"編集者二");
}

TEST_F(EditingOk, EditingAConfirmedRecordKeepsTheLastConfirmationReadable)
{
    _RESTDATAITEM* item = OpenResting();
    item->stPatient.bConfirmed = 1;
    item->stPatient.bEditedAfterConfirm = 0;
    item->stPatient.strConfirmDate = L"2024/03/05 09:07:02";
    item->stPatient.strConfirmDoctor = L"山田";
    testsupport::ModalScript script;
    AnswerEditor(script);
    AnswerEditor(script);
    ASSERT_EQ(Edit(item), CEditingOk::Outcome::Stored);
    EXPECT_EQ(item->stPatient.strConfirmation, L"判読後に編集あり(最終判読:2024/03/05 09:07 山田)");
    EXPECT_EQ(item->stPatient.bConfirmed, 0);
    EXPECT_EQ(item->stPatient.bEditedAfterConfirm, 1);

    // A second edit keeps that form: the edited-after-confirmation flag stays.
    ASSERT_EQ(Edit(item), CEditingOk::Outcome::Stored);
    EXPECT_EQ(item->stPatient.strConfirmation, L"判読後に編集あり(最終判読:2024/03/05 09:07 山田)");
    EXPECT_EQ(item->stPatient.bEditedAfterConfirm, 1);
    EXPECT_TRUE(script.Unscripted().empty());
}

TEST_F(EditingOk, NothingChangedClosesWithoutAPrompt)
{
    _RESTDATAITEM* item = OpenResting();
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    testsupport::ModalScript script;
    CEditingOk::Run run;
    run.unchanged = [] { return true; };
    EXPECT_EQ(CEditingOk::Execute(&m_doc, EditStampFieldsOf(*item), run), CEditingOk::Outcome::Unchanged);
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), before);
}

TEST_F(EditingOk, TheDoctorConfirmsInPlaceOfTheEditorStamp)
{
    _RESTDATAITEM* item = OpenResting();
    item->stPatient.bEditedAfterConfirm = 1;
    const CString editorBefore = item->stInterpre.strAnaEditor;
    testsupport::ModalScript script;
    script.On(CDlgDoctor::IDD, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDOK); });
    CEditingOk::Run run;
    run.prompt = CEditingOk::Prompt::Doctor;
    ASSERT_EQ(CEditingOk::Execute(&m_doc, EditStampFieldsOf(*item), run), CEditingOk::Outcome::Stored);
    EXPECT_EQ(item->stPatient.bConfirmed, 1);
    EXPECT_EQ(item->stPatient.bEditedAfterConfirm, 0);
    EXPECT_EQ(item->stPatient.strConfirmDoctor, L"判読医");
    EXPECT_EQ(item->stPatient.strConfirmDate.GetLength(), 19);
    EXPECT_EQ(item->stInterpre.strAnaEditor, editorBefore);
}

// Who may press OK: read-only never; otherwise the save flag of the record's kind.
TEST_F(EditingOk, OkIsAllowedByTheSaveFlagThatMatchesTheRecord)
{
    struct Row {
        int readOnly, saveDoctor, saveEditor;
        bool editorOnly;
        BOOL allowed;
    };
    // A newer-reader record: the editor flag decides.
    static const Row kRows[] = {
        // readOnly doctor editor editorOnly allowed
        {1, 1, 1, false, FALSE},
        {0, 0, 1, false, TRUE},
        {0, 1, 0, false, FALSE},
        {0, 1, 0, true, FALSE},
        {0, 0, 1, true, TRUE},
    };
    OpenResting();
    for (const Row& row : kRows) {
        m_doc.SetReadOnly(row.readOnly);
        m_doc.SetDoctorAndEditorStatus(row.saveDoctor, row.saveEditor);
        EXPECT_EQ(CEditingOk::IsOkAllowed(&m_doc, row.editorOnly), row.allowed)
            << row.readOnly << row.saveDoctor << row.saveEditor << row.editorOnly;
    }
    EXPECT_FALSE(CEditingOk::IsOkAllowed(nullptr));
}

TEST_F(EditingOk, AModel8000RecordNeedsTheDoctorFlag)
{
    _RESTDATAITEM* item = AddRecord("old.ecg", resttest::Shape(morvelance::rec::RecordKind::Rest12, true));
    ASSERT_EQ(Open(item), 0);
    ASSERT_TRUE(m_doc.Is8000File());
    m_doc.SetDoctorAndEditorStatus(0, 1);
    EXPECT_FALSE(CEditingOk::IsOkAllowed(&m_doc));
    EXPECT_TRUE(CEditingOk::IsOkAllowed(&m_doc, true));   // the lead-name editors test the editor flag only
    m_doc.SetDoctorAndEditorStatus(1, 0);
    EXPECT_TRUE(CEditingOk::IsOkAllowed(&m_doc));
}

namespace {
// A document that logs the commit steps the protocol calls.
class CLoggingDoc : public CTavrionDoc {
public:
    std::vector<CEditingOk::CommitStep> steps;
    int saveResult = 0;   // what SaveDataToXML answers: 0 saved, 255 not
    int SaveDataToXML(int) override
    {
        steps.push_back(CEditingOk::CommitStep::Save);
        return saveResult;
    }
    void UpdateCtrlStatus() override { steps.push_back(CEditingOk::CommitStep::UpdateStatus); }
    void SetCtrlContent(_PATIENT_INFO*) override { steps.push_back(CEditingOk::CommitStep::Refill); }
};
}  // namespace

TEST(EditingOkCommit, RunsTheStepsInTheCallersOrder)
{
    using Step = CEditingOk::CommitStep;
    CLoggingDoc doc;
    CEditingOk::Commit(&doc, CEditingOk::StandardOrder());
    EXPECT_EQ(doc.steps, (std::vector<Step>{Step::Save, Step::UpdateStatus, Step::Refill}));
    doc.steps.clear();
    CEditingOk::Commit(&doc, {Step::UpdateStatus, Step::Refill, Step::Save, Step::Notify});
    EXPECT_EQ(doc.steps, (std::vector<Step>{Step::UpdateStatus, Step::Refill, Step::Save}));
}

TEST(EditingOkCommit, AFailedSaveEndsTheCommitAndIsReported)
{
    using Step = CEditingOk::CommitStep;
    platform::ui::MessageBoxRecorder boxes;
    CLoggingDoc doc;
    doc.saveResult = 255;
    EXPECT_FALSE(CEditingOk::Commit(&doc, {Step::UpdateStatus, Step::Save, Step::Refill, Step::Notify}));
    EXPECT_EQ(doc.steps, (std::vector<Step>{Step::UpdateStatus, Step::Save}));
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, L"ファイル書き込みエラーです。");
    EXPECT_EQ(boxes.Last().caption, L"エラー");
    EXPECT_EQ(boxes.Last().type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));

    doc.saveResult = 0;
    doc.steps.clear();
    EXPECT_TRUE(CEditingOk::Commit(&doc, CEditingOk::StandardOrder()));
    EXPECT_EQ(boxes.Count(), 1);
}

TEST_F(EditingOk, FailedSaveIsReportedAndNothingIsSent)
{
    _RESTDATAITEM* item = OpenResting();
    m_notify.xmlPath = m_files.xml;
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    platform::ui::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    AnswerEditor(script);
    platform::SetXmlSaveFaultHook([](platform::XmlSaveStep step) { return step == platform::XmlSaveStep::Rename; });
    const CEditingOk::Outcome outcome = Edit(item);
    platform::SetXmlSaveFaultHook(nullptr);
    EXPECT_EQ(outcome, CEditingOk::Outcome::SaveFailed);
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), before);
    ASSERT_EQ(boxes.Count(), 1);
    // The message names the file it could not write (it used to say only
    // that a write failed); a failure made by the test has no cause to give.
    EXPECT_EQ(boxes.Last().text, L"ファイル書き込みエラーです。\r\n" + item->strXMLPath + L"\r\n書き込みに失敗しました。");
    EXPECT_EQ(boxes.Last().caption, L"エラー");
    EXPECT_TRUE(m_notify.editorsSeen.empty());
    // The item keeps the edit: a later save can still write it.
    EXPECT_EQ(item->stInterpre.strAnaEditor, L"編集者二");
}

namespace {
class EditingOkRhythm : public rhythmtest::RhythmDocTest {};
}  // namespace

TEST_F(EditingOkRhythm, ARhythmRecordIsStampedAndSavedOrLeftByteIdenticalOnCancel)
{
    const rhythmtest::RhythmFiles files = rhythmtest::WriteRhythm(m_dir, "rhythm", morvelance::RhythmRecordShape());
    ASSERT_EQ(Open(files, 3), 0);
    _RHYTHMDATAITEM* item = Item();
    ASSERT_NE(item, nullptr);
    m_doc->InsertEditableParam(kEditors, L"記録者");
    const std::string before = testsupport::ReadFileBytes(files.xml);

    CEditingOk::Run run;
    run.changeTest = [this] { return m_doc->IsEidtChange(); };
    {
        testsupport::ModalScript script;
        script.On(CDlgEditor::IDD, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDCANCEL); });
        EXPECT_EQ(CEditingOk::Execute(m_doc.get(), EditStampFieldsOf(*item), run), CEditingOk::Outcome::Abandoned);
    }
    EXPECT_EQ(testsupport::ReadFileBytes(files.xml), before);

    item->stPatient.bConfirmed = 0;
    item->stPatient.bEditedAfterConfirm = 0;
    testsupport::ModalScript script;
    script.On(CDlgEditor::IDD, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDOK); });
    EXPECT_EQ(CEditingOk::Execute(m_doc.get(), EditStampFieldsOf(*item), run), CEditingOk::Outcome::Stored);
    EXPECT_EQ(item->strAnalysisEditor, L"記録者");
    EXPECT_EQ(item->strAnalysisEditDate.GetLength(), 19);
    EXPECT_EQ(item->stPatient.strConfirmation, L"医師による確認が必要です");
    EXPECT_NE(testsupport::ReadFileBytes(files.xml), before);
}

TEST_F(EditingOk, WithAReadOnlyDocumentTheOkButtonCannotBePressed)
{
    OpenResting();
    m_doc.SetDoctorAndEditorStatus(1, 1);
    m_doc.SetReadOnly(1);
    testsupport::ModalScript script;
    script.On(CDlgEditor::IDD, [this](CDialog& dialog) {
        CEditingOk::ApplyPermission(dialog, &m_doc);
        EXPECT_FALSE(dialog.GetDlgItem(IDOK)->IsWindowEnabled());
        testsupport::ClickControl(dialog, IDOK);   // a click on a disabled button does nothing
        EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));
        m_doc.SetReadOnly(0);
        CEditingOk::ApplyPermission(dialog, &m_doc);
        EXPECT_TRUE(dialog.GetDlgItem(IDOK)->IsWindowEnabled());
        testsupport::ClickControl(dialog, IDOK);
    });
    CDlgEditor prompt(nullptr);
    prompt.SetDoc(&m_doc);
    EXPECT_EQ(prompt.DoModal(), IDOK);
}

TEST_F(EditingOk, TheCurrentItemsFieldsAreFoundOnlyThroughTheDocumentsOwnKind)
{
    _RESTDATAITEM* item = OpenResting();
    _EDIT_STAMP_FIELDS fields;
    ASSERT_TRUE(CurrentEditStampFields(&m_doc, DOC_TYPE_REST, fields));
    EXPECT_EQ(fields.pEditor, &item->stInterpre.strAnaEditor);
    EXPECT_EQ(fields.pAdditionPresent, &item->stAddition.bPresent);
    // Another kind's reading of the same document finds nothing, and so does
    // a document without a current item.
    for (int type : std::initializer_list<int>{DOC_TYPE_FINAL, DOC_TYPE_RHYTHM, DOC_TYPE_RR, DOC_TYPE_EXTRA,
                                               DOC_TYPE_EXER, DOC_TYPE_MFER, 99})
        EXPECT_FALSE(CurrentEditStampFields(&m_doc, type, fields)) << type;
    m_doc.SetCurDataIndex(item->nID + 100);
    EXPECT_FALSE(CurrentEditStampFields(&m_doc, DOC_TYPE_REST, fields));
    EXPECT_FALSE(CurrentEditStampFields(nullptr, DOC_TYPE_REST, fields));
}
