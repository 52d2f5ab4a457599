#include <gtest/gtest.h>

#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/DlgPatientInfoComment.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/dialogs/SheetTestSupport.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/XmlSaveFault.h"
#include "tools/Mkrecord.h"

namespace {

using morvelance::rec::RecordKind;
using sheettest::Press;
using sheettest::Retype;

constexpr auto kDoctors = static_cast<_EDITABLE_PARAM_INDEX>(9);
constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);

CDlgPatientInfoComment& Sheet(CDialog& dialog)
{
    return static_cast<CDlgPatientInfoComment&>(dialog);
}

// The sheet over a resting record written by the record maker, with one
// editor and one doctor to choose from and the host's notification window.
class RestSheet : public resttest::RestDocFixture {
protected:
    void TearDown() override
    {
        m_doc.SetNotifyWnd(nullptr);
        if (m_notify.GetSafeHwnd()) m_notify.DestroyWindow();
        resttest::RestDocFixture::TearDown();
    }

    _RESTDATAITEM* OpenRecord(RecordKind kind, bool b8000 = false)
    {
        _RESTDATAITEM* item = AddRecord("sheet", resttest::Shape(kind, b8000));
        EXPECT_EQ(Open(item), 0);
        m_doc.SetCtrlContent(nullptr);
        m_doc.InsertEditableParam(kEditors, L"編集者一");
        m_doc.InsertEditableParam(kDoctors, L"判読医");
        m_doc.SetDoctorAndEditorStatus(1, 1);
        platform::ui::Desktop::Reset();
        EXPECT_TRUE(m_notify.CreateEx(0, nullptr, L"host", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc.SetNotifyWnd(&m_notify);
        m_before = testsupport::ReadFileBytes(m_files.xml);
        return item;
    }

    INT_PTR Run(int mode = 1)
    {
        CDlgPatientInfoComment sheet(mode);
        sheet.SetDoc(&m_doc, DOC_TYPE_REST);
        return sheet.DoModal();
    }
    bool Unchanged() const { return testsupport::ReadFileBytes(m_files.xml) == m_before; }

    static void Answer(testsupport::ModalScript& script, UINT prompt)
    {
        script.On(prompt, [](CDialog& dialog) { Press(dialog, IDOK); });
    }

    std::string m_before;
    sheettest::CNotifyCount m_notify;
};

// Types into each of the three pages.
void EditEveryPage(CDialog& dialog)
{
    CDlgPatientInfoComment& sheet = Sheet(dialog);
    Retype(sheet.PatientPage(), 3208, L"往復花子");
    Retype(sheet.PatientPage(), 3225, L"158.5");
    Retype(sheet.CommentPage(), 3421, L"経過観察");
    Press(sheet.CommentPage(), 3388);   // deletes IVREL row 7
    if (sheet.Sheet().GetPageCount() == 3) Retype(sheet.AdditionPage(), 3876, L"付記");
}

}  // namespace

TEST_F(RestSheet, OkWithoutAChangeAsksNothingAndLeavesTheRecordXmlByteIdentical)
{
    OpenRecord(RecordKind::Rest12);
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgPatientInfoComment::IDD});
    EXPECT_TRUE(Unchanged());
    EXPECT_EQ(m_notify.count, 0);
}

TEST_F(RestSheet, CancelAfterTypingOnEveryPageSavesNothingAndSendsNothing)
{
    _RESTDATAITEM* item = OpenRecord(RecordKind::Rest12);
    const CString name = item->stPatient.strName;
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        EditEveryPage(dialog);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_TRUE(Unchanged());
    EXPECT_EQ(m_notify.count, 0);
    EXPECT_EQ(item->stPatient.strName, name);
}

TEST_F(RestSheet, EditsOnEveryPageAreStampedAndReadBackFromDisk)
{
    _RESTDATAITEM* item = OpenRecord(RecordKind::Rest12);
    const CString ivrel8 = item->stInterpre.strIvrelCode[8];
    item->stPatient.bConfirmed = 1;
    item->stPatient.strConfirmDate = L"2024/03/05 09:07:02";
    item->stPatient.strConfirmDoctor = L"前任医";
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        EditEveryPage(dialog);
        Press(dialog, IDOK);
    });
    Answer(script, CDlgEditor::IDD);
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(m_notify.count, 1);
    const _INTERPRE_INFO_REST& r = item->stInterpre;
    EXPECT_EQ(r.strInfoEditor, L"編集者一");
    EXPECT_EQ(r.strAnaEditor, L"編集者一");
    EXPECT_EQ(r.strCommentEditor, L"編集者一");
    EXPECT_EQ(r.strInfoEditDate, r.strCommentEditDate);
    // A confirmed record edited keeps its confirmation readable.
    EXPECT_EQ(item->stPatient.bConfirmed, 0);
    EXPECT_EQ(item->stPatient.strConfirmation, L"判読後に編集あり(最終判読:2024/03/05 09:07 前任医)");

    CRestViewDoc fresh;
    _RESTDATAITEM* again = Reopen(fresh);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stPatient.strName, L"往復花子");
    EXPECT_EQ(again->stPatient.strHeight, L"158.5");
    EXPECT_EQ(again->stInterpre.strComment, L"経過観察");
    EXPECT_EQ(again->stInterpre.nIvrelCount, 10);
    EXPECT_EQ(again->stInterpre.strIvrelCode[7], ivrel8);
    EXPECT_EQ(again->stInterpre.strAnaEditor, L"編集者一");
    EXPECT_EQ(XmlCount(L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel"), 10);
}

TEST_F(RestSheet, AFifteenLeadRecordRoundTripsItsCommentAndCodes)
{
    _RESTDATAITEM* item = OpenRecord(RecordKind::Rest15);
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        Retype(Sheet(dialog).CommentPage(), 3421, L"十五誘導");
        Press(Sheet(dialog).CommentPage(), 3324);   // deletes Minnesota slot 1
        Press(dialog, IDOK);
    });
    Answer(script, CDlgEditor::IDD);
    EXPECT_EQ(Run(), IDOK);
    const CString second = item->stInterpre.strMinneCode[0];
    CRestViewDoc fresh;
    _RESTDATAITEM* again = Reopen(fresh);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stInterpre.strComment, L"十五誘導");
    EXPECT_EQ(again->stInterpre.nMinneCount, 7);
    EXPECT_EQ(again->stInterpre.strMinneCode[0], second);
}

TEST_F(RestSheet, AModel8000RecordIsSavedAsTheDoctorsConfirmationWithoutEditorStamps)
{
    _RESTDATAITEM* item = OpenRecord(RecordKind::Rest12, true);
    const CString infoEditor = item->stInterpre.strInfoEditor;
    const CString editTime = item->stPatient.strReserved;
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        // A model-8000 record has no additional-information page.
        EXPECT_EQ(Sheet(dialog).Sheet().GetPageCount(), 2);
        Retype(Sheet(dialog).CommentPage(), 3421, L"確認済み");
        Press(dialog, IDOK);
    });
    Answer(script, CDlgDoctor::IDD);
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Seen(), (std::vector<UINT>{CDlgPatientInfoComment::IDD, CDlgDoctor::IDD}));
    EXPECT_EQ(item->stPatient.bConfirmed, 1);
    EXPECT_EQ(item->stPatient.strConfirmDoctor, L"判読医");
    EXPECT_EQ(item->stInterpre.strInfoEditor, infoEditor);
    EXPECT_EQ(item->stPatient.strReserved, editTime);
    EXPECT_EQ(item->stInterpre.strComment, L"確認済み");
    EXPECT_EQ(m_notify.count, 1);
}

// The three buttons stand below the sheet on every page: each shows whole, and a click at its
// place on the screen reaches it: 更新 saves an edit, 更新(判読医師名入力) confirms.
TEST_F(RestSheet, TheButtonsShowBelowThePagesAndAClickOnTheScreenSaves)
{
    _RESTDATAITEM* item = OpenRecord(RecordKind::Rest12);
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        CDlgPatientInfoComment& sheet = Sheet(dialog);
        for (int page = 0; page < sheet.Sheet().GetPageCount(); ++page) {
            sheet.Sheet().SetActivePage(page);
            for (int id : {IDOK, 3201, IDCANCEL}) EXPECT_TRUE(sheettest::ShowsWhole(dialog, id)) << "page " << page;
        }
        sheet.Sheet().SetActivePage(0);
        Retype(sheet.PatientPage(), 3208, L"画面花子");
        sheettest::ClickOnScreen(dialog, IDOK);
    });
    Answer(script, CDlgEditor::IDD);
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(m_notify.count, 1);
    CRestViewDoc fresh;
    _RESTDATAITEM* again = Reopen(fresh);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stPatient.strName, L"画面花子");

    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) { sheettest::ClickOnScreen(dialog, 3201); });
    Answer(script, CDlgDoctor::IDD);
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(item->stPatient.bConfirmed, 1);
    EXPECT_EQ(item->stPatient.strConfirmDoctor, L"判読医");
    EXPECT_EQ(m_notify.count, 2);
}

TEST_F(RestSheet, TheDoctorButtonConfirmsAnUnchangedRecordSavesOnceAndNotifiesOnce)
{
    _RESTDATAITEM* item = OpenRecord(RecordKind::Rest12);
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) { Press(dialog, 3201); });
    Answer(script, CDlgDoctor::IDD);
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(m_notify.count, 1);
    EXPECT_EQ(item->stPatient.bConfirmed, 1);
    EXPECT_EQ(item->stPatient.strConfirmDoctor, L"判読医");
    EXPECT_FALSE(Unchanged());
}

TEST_F(RestSheet, TheDoctorButtonSavesPendingEditsWithTheConfirmationTime)
{
    _RESTDATAITEM* item = OpenRecord(RecordKind::Rest12);
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        Retype(Sheet(dialog).CommentPage(), 3421, L"医師確認");
        Press(dialog, 3201);
    });
    Answer(script, CDlgDoctor::IDD);
    EXPECT_EQ(Run(), IDOK);
    // No editor prompt: the doctor answers for the edit.
    EXPECT_EQ(script.Seen(), (std::vector<UINT>{CDlgPatientInfoComment::IDD, CDlgDoctor::IDD}));
    EXPECT_EQ(item->stInterpre.strCommentEditor, L"判読医");
    EXPECT_EQ(item->stInterpre.strCommentEditDate, item->stPatient.strConfirmDate);
    EXPECT_EQ(item->stPatient.bConfirmed, 1);
    EXPECT_EQ(m_notify.count, 1);
}

TEST_F(RestSheet, TheDoctorButtonLeavesTheItemAsItWasWhenAValueIsRefused)
{
    _RESTDATAITEM* item = OpenRecord(RecordKind::Rest12);
    const CString date = item->stPatient.strConfirmDate;
    const CString doctor = item->stPatient.strConfirmDoctor;
    platform::ui::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        Retype(Sheet(dialog).PatientPage(), 3225, L"1.2.3");
        Press(dialog, 3201);
        EXPECT_TRUE(dialog.IsWindowVisible());
        Press(dialog, IDCANCEL);
    });
    Answer(script, CDlgDoctor::IDD);
    EXPECT_EQ(Run(), IDCANCEL);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, L"被検者情報の身長 should be unsigned float number!");
    EXPECT_EQ(item->stPatient.strConfirmDate, date);
    EXPECT_EQ(item->stPatient.strConfirmDoctor, doctor);
    EXPECT_TRUE(Unchanged());
    EXPECT_EQ(m_notify.count, 0);
}

TEST_F(RestSheet, ACancelledEditorPromptKeepsTheSheetOpenAndStoresNothing)
{
    _RESTDATAITEM* item = OpenRecord(RecordKind::Rest12);
    const CString comment = item->stInterpre.strComment;
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        Retype(Sheet(dialog).CommentPage(), 3421, L"取り消し");
        Press(dialog, IDOK);
        EXPECT_TRUE(dialog.IsWindowVisible());
        Press(dialog, IDCANCEL);
    });
    script.On(CDlgEditor::IDD, [](CDialog& dialog) { Press(dialog, IDCANCEL); });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(item->stInterpre.strComment, comment);
    EXPECT_TRUE(Unchanged());
    EXPECT_EQ(m_notify.count, 0);
}

TEST_F(RestSheet, AFailedSaveIsReportedSendsNothingAndOkWritesItAgain)
{
    OpenRecord(RecordKind::Rest12);
    platform::ui::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [this, &boxes](CDialog& dialog) {
        Retype(Sheet(dialog).CommentPage(), 3421, L"失敗");
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
        EXPECT_EQ(m_notify.count, 0);
        EXPECT_TRUE(Unchanged());
        // The page's change flags stay set: the next OK asks again and saves.
        Press(dialog, IDOK);
    });
    Answer(script, CDlgEditor::IDD);
    Answer(script, CDlgEditor::IDD);
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(m_notify.count, 1);
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content"), L"失敗");
}

TEST_F(RestSheet, WithoutACurrentItemOnlyCancelIsEnabled)
{
    OpenRecord(RecordKind::Rest12);
    m_doc.SetCurDataIndex(99);
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        EXPECT_FALSE(dialog.GetDlgItem(IDOK)->IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(3201)->IsWindowEnabled());
        Press(dialog, IDOK);
        Press(dialog, 3201);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgPatientInfoComment::IDD});
}

TEST_F(RestSheet, AReadOnlyDocumentDisablesBothSavingButtons)
{
    OpenRecord(RecordKind::Rest12);
    m_doc.SetReadOnly(1);
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        EXPECT_FALSE(dialog.GetDlgItem(IDOK)->IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(3201)->IsWindowEnabled());
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(), IDCANCEL);
}

// Pages activated, in order, by the opening mode: the last one shows.
TEST_F(RestSheet, TheOpeningModeChoosesThePageShown)
{
    const struct {
        int mode;
        bool b8000;
        int shown;
    } cases[] = {
        {0, false, 0}, {1, false, 1}, {0, true, 0},
        {2, true, 1},   // no additional-information page: the comment page stays
    };
    for (const auto& c : cases) {
        OpenRecord(RecordKind::Rest12, c.b8000);
        testsupport::ModalScript script;
        int shown = -1;
        script.On(CDlgPatientInfoComment::IDD, [&shown](CDialog& dialog) {
            shown = Sheet(dialog).Sheet().GetActiveIndex();
            Press(dialog, IDCANCEL);
        });
        Run(c.mode);
        EXPECT_EQ(shown, c.shown) << c.mode << " " << c.b8000;
        m_doc.SetNotifyWnd(nullptr);
        m_notify.DestroyWindow();
    }
}

// A model-8000 record shows its medications in fixed lists; one the list
// lacks is shown all the same and is no edit.
TEST_F(RestSheet, AnUntouchedModel8000RecordIsUnchanged)
{
    _RESTDATAITEM* item = OpenRecord(RecordKind::Rest12, true);
    ASSERT_FALSE(item->stInterpre.strMedication1.IsEmpty());
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [item](CDialog& dialog) {
        EXPECT_EQ(testsupport::ControlText(Sheet(dialog).PatientPage(), 3240), item->stInterpre.strMedication1);
        EXPECT_EQ(Sheet(dialog).PatientPage().IsDataChange(), 0);
        EXPECT_EQ(Sheet(dialog).CommentPage().IsDataChange(), 0);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgPatientInfoComment::IDD});
    EXPECT_TRUE(Unchanged());
}

// Right after the sheet opens the keyboard is on its buttons; Ctrl+Tab
// there turns the pages as it does in a field, and the keyboard stays on
// the button for the next turn.
TEST_F(RestSheet, CtrlTabOnTheButtonsTurnsThePagesAndLeavesTheButtonTheKeyboard)
{
    OpenRecord(RecordKind::Rest12);
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        CPropertySheet& pages = Sheet(dialog).Sheet();
        const int count = pages.GetPageCount();
        ASSERT_GE(count, 2);
        EXPECT_EQ(pages.GetActiveIndex(), 0);
        const HWND button = ::GetFocus();
        ASSERT_TRUE(button == ::GetDlgItem(dialog.m_hWnd, IDOK) || button == ::GetDlgItem(dialog.m_hWnd, 3201) ||
                    button == ::GetDlgItem(dialog.m_hWnd, IDCANCEL));
        using platform::ui::Desktop;
        Desktop::KeyPress(VK_TAB, platform::ui::kControl);
        EXPECT_EQ(pages.GetActiveIndex(), 1);
        EXPECT_EQ(::GetFocus(), button);
        Desktop::KeyPress(VK_NEXT, platform::ui::kControl);
        EXPECT_EQ(pages.GetActiveIndex(), 2 % count);
        Desktop::KeyPress(VK_TAB, platform::ui::kControl | platform::ui::kShift);
        EXPECT_EQ(pages.GetActiveIndex(), 1);
        Desktop::KeyPress(VK_PRIOR, platform::ui::kControl);
        EXPECT_EQ(pages.GetActiveIndex(), 0);
        EXPECT_EQ(::GetFocus(), button);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(0), IDCANCEL);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_TRUE(Unchanged());
}
