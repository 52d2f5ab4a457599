#include <gtest/gtest.h>

#include <memory>

#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/DlgInfoCommentGeneral.h"
#include "dialogs/PagePatientCommentExer.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/dialogs/SheetTestSupport.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "tests/support/ModalScript.h"

namespace {

using sheettest::Press;
using sheettest::Retype;
using testsupport::ControlText;

constexpr auto kDoctors = static_cast<_EDITABLE_PARAM_INDEX>(9);
constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);

// An exercise record written by the record maker and opened through the
// exercise document, its store filled as the exercise form fills it.
class ExerSheet : public exertest::ExerDocument {
protected:
    void SetUp() override
    {
        ExerDocument::SetUp();
        m_files = Write(exertest::DefaultOptions());
        ASSERT_EQ(Open(m_doc, m_files), 0);
        m_doc.SetCtrlContent(nullptr);
        m_doc.InsertEditableParam(kEditors, L"編集者一");
        m_doc.InsertEditableParam(kDoctors, L"判読医");
        m_doc.SetDoctorAndEditorStatus(1, 1);
        platform::ui::Desktop::Reset();
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"host", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc.SetNotifyWnd(&m_notify);
        m_before = testsupport::ReadFileBytes(m_files.xml);
    }
    void TearDown() override
    {
        m_host.Close();
        m_doc.SetNotifyWnd(nullptr);
        m_notify.DestroyWindow();
        ExerDocument::TearDown();
    }

    _EXERDATAITEM* Item() { return m_doc.GetCurrentDataItem(); }
    INT_PTR Run()
    {
        CDlgInfoCommentGeneral sheet;
        sheet.SetDoc(&m_doc, DOC_TYPE_EXER);
        return sheet.DoModal();
    }
    bool Unchanged() const { return testsupport::ReadFileBytes(m_files.xml) == m_before; }
    CPagePatientCommentExer& ShowPage() { return m_host.Show(&m_doc, DOC_TYPE_EXER, L"情報編集"); }

    CExerViewDoc m_doc;
    exertest::ExerFiles m_files;
    std::string m_before;
    sheettest::CNotifyCount m_notify;
    dialogtest::CPageInSheet<CPagePatientCommentExer> m_host;
};

CPagePatientCommentExer& ExerPage(CDialog& dialog)
{
    return static_cast<CDlgInfoCommentGeneral&>(dialog).ExerPage();
}

}  // namespace

TEST_F(ExerSheet, ShowsOnlyTheExercisePageAndOkWithoutAChangeLeavesTheFileByteIdentical)
{
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        auto& sheet = static_cast<CDlgInfoCommentGeneral&>(dialog);
        EXPECT_EQ(sheet.Sheet().GetPageCount(), 1);
        EXPECT_EQ(sheet.Sheet().GetActivePage(), &sheet.ExerPage());
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgInfoCommentGeneral::IDD});
    EXPECT_TRUE(Unchanged());
    EXPECT_EQ(m_notify.count, 0);
}

// The buttons stand below the exercise page: each shows whole, and clicks at their places on
// the screen save an edit and confirm the record.
TEST_F(ExerSheet, TheButtonsShowBelowThePageAndAClickOnTheScreenSaves)
{
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        for (int id : {IDOK, 3201, IDCANCEL}) EXPECT_TRUE(sheettest::ShowsWhole(dialog, id));
        Retype(ExerPage(dialog), 4110, L"画面花子");
        sheettest::ClickOnScreen(dialog, IDOK);
    });
    script.On(CDlgEditor::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_FALSE(Unchanged());
    EXPECT_EQ(m_notify.count, 1);

    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) { sheettest::ClickOnScreen(dialog, 3201); });
    script.On(CDlgDoctor::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(Item()->stPatient.bConfirmed, 1);
    EXPECT_EQ(m_notify.count, 2);
}

TEST_F(ExerSheet, CancelAfterTypingSavesNothingAndSendsNothing)
{
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        Retype(ExerPage(dialog), 4110, L"取消三郎");
        Retype(ExerPage(dialog), 4164, L"150");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_TRUE(Unchanged());
    EXPECT_EQ(m_notify.count, 0);
}

TEST_F(ExerSheet, AnEditIsStampedAndReadsBackFromDiskAsTypedOrWrapped)
{
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        CPagePatientCommentExer& page = ExerPage(dialog);
        Retype(page, 4110, L"負荷花子");
        Retype(page, 4142, L"胸痛");
        Retype(page, 4160, L"Bruce変法");
        Retype(page, 4164, L"150");
        Retype(page, 4168, L"130");
        Retype(page, 4173, CString(L'x', 70));
        testsupport::ChooseListEntry(page, 4158, 3);
        Press(dialog, IDOK);
    });
    script.On(CDlgEditor::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(m_notify.count, 1);
    const _INTERPRE_INFO_EXER& info = Item()->stInterpre;
    EXPECT_EQ(info.strPatientEditor, L"編集者一");
    EXPECT_EQ(info.strCommentEditor, L"編集者一");
    EXPECT_EQ(info.strPatientEditDate, Item()->strPatientEditTime);

    CExerViewDoc fresh;
    ASSERT_EQ(Open(fresh, m_files), 0);
    const _EXERDATAITEM* again = fresh.GetCurrentDataItem();
    EXPECT_EQ(again->stPatient.strName, L"負荷花子");
    EXPECT_EQ(again->stInterpre.strSympton, L"胸痛");
    EXPECT_EQ(again->stInterpre.strLoad, L"Bruce変法");
    EXPECT_EQ(again->stInterpre.strMaxHr, L"150");
    EXPECT_EQ(again->stInterpre.strTargetHr, L"130");
    EXPECT_EQ(again->stInterpre.strIvrelText, L"異常");
    // Seventy characters without a break make two lines of 60 and 10.
    EXPECT_EQ(again->stInterpre.strComment, CString(L'x', 60) + L"\r\n" + CString(L'x', 10) + L"\r\n");
    EXPECT_EQ(again->stInterpre.strPatientEditor, L"編集者一");
}

TEST_F(ExerSheet, TheDoctorButtonConfirmsTheRecordOnceAndNotifiesOnce)
{
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) { Press(dialog, 3201); });
    script.On(CDlgDoctor::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(m_notify.count, 1);
    EXPECT_EQ(Item()->stPatient.bConfirmed, 1);
    EXPECT_EQ(Item()->stPatient.strConfirmDoctor, L"判読医");
    EXPECT_FALSE(Unchanged());
}

TEST_F(ExerSheet, ARefusedValueKeepsTheSheetOpenWithoutAPrompt)
{
    platform::ui::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        Retype(ExerPage(dialog), 4127, L"1.2.3");
        Press(dialog, IDOK);
        EXPECT_TRUE(dialog.IsWindowVisible());
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(), IDCANCEL);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, L"被検者情報の身長 should be unsigned float number!");
    EXPECT_TRUE(Unchanged());
}

// ---- the page alone ---------------------------------------------------------------------------

TEST_F(ExerSheet, TheCommentBreaksIntoThreeLinesOfSixtyBytes)
{
    CPagePatientCommentExer& page = ShowPage();
    const struct {
        CString typed;
        CString stored;
    } cases[] = {
        // empty: two line breaks all the same
        {L"", L"\r\n\r\n"},
        // 40 double-byte characters: 30 fill the first line's 60 bytes
        {CString(L'心', 40), CString(L'心', 30) + L"\r\n" + CString(L'心', 10) + L"\r\n"},
        // 31 single-byte, then double-byte: the line stops before passing 60 bytes (45 characters, 59 bytes)
        {CString(L'a', 31) + CString(L'心', 20), CString(L'a', 31) + CString(L'心', 14) + L"\r\n" + CString(L'心', 6) +
                                                     L"\r\n"},
        // a fourth line is dropped
        {L"一\r\n二\r\n三\r\n四", L"一\r\n二\r\n三"},
    };
    for (const auto& c : cases) {
        page.SetDlgItemText(4173, c.typed);
        page.SaveDataToItem();
        EXPECT_EQ(Item()->stInterpre.strComment, c.stored) << testsupport::Utf8(c.typed);
    }
}

TEST_F(ExerSheet, HeartRateSharesFollowTheStoredMode)
{
    _INTERPRE_INFO_EXER& info = Item()->stInterpre;
    info.sHr100Percent = 170;
    Item()->sRestHr = 70;
    CPagePatientCommentExer& page = ShowPage();
    const struct {
        int mode;
        LPCWSTR hr;
        short mhr;
        LPCWSTR share;
    } cases[] = {
        {0, L"150", 170, L" 88 % of MHR (170 bpm)"},
        {1, L"150", 170, L" 80 % of MHR (170 bpm)"},   // (150 - 70) x 100 / (170 - 70) + 0.5
        {0, L"", 170, L"  0 % of MHR (170 bpm)"},
        {0, L"150", 0, L"  0 % of MHR (  0 bpm)"},
        {0, L"154", 180, L" 86 % of MHR (180 bpm)"},   // 85.6 rounded
        {1, L"160", 180, L" 82 % of MHR (180 bpm)"},   // (160 - 70) x 100 / (180 - 70) = 81.8 rounded
    };
    for (const auto& c : cases) {
        info.nHrCalculate = c.mode;
        info.sHr100Percent = c.mhr;
        page.SetDlgItemText(4164, c.hr);
        page.SaveDataToItem();
        EXPECT_EQ(info.strMaxPercent, c.share) << c.mode << " " << testsupport::Utf8(c.hr);
    }
}

// The page's own share: a half added and truncated toward zero, 16 bits; a
// negative rate gives 0 and keeps its text (the document's reading rule,
// which marks it "*" and empties the text, is not the page's).
TEST_F(ExerSheet, HeartRateSharesTruncateTowardZeroAndANegativeRateGivesZero)
{
    _INTERPRE_INFO_EXER& info = Item()->stInterpre;
    CPagePatientCommentExer& page = ShowPage();
    const struct {
        int mode;
        LPCWSTR hr;
        short rest;
        short mhr;
        LPCWSTR share;
    } cases[] = {
        {1, L"60", 70, 170, L" -9 % of MHR (170 bpm)"},   // (60 - 70) x 100 / 100 + 0.5 = -9.5
        {0, L"-20", 70, 170, L"  0 % of MHR (170 bpm)"},
        {1, L"150", -1, 170, L"  0 % of MHR (170 bpm)"},
        {2, L"150", 70, 170, L"  0 % of MHR (170 bpm)"},
        {0, L"999", 70, 1, L"-31172 % of MHR (  1 bpm)"},   // 99900 kept in 16 bits
    };
    for (const auto& c : cases) {
        info.nHrCalculate = c.mode;
        info.sHr100Percent = c.mhr;
        Item()->sRestHr = c.rest;
        page.SetDlgItemText(4164, c.hr);
        page.SaveDataToItem();
        EXPECT_EQ(info.strMaxPercent, c.share) << c.mode << " " << testsupport::Utf8(c.hr);
        EXPECT_EQ(info.strMaxHr, c.hr);
    }
}

TEST_F(ExerSheet, AnUntouchedPageIsUnchangedAndEachFieldCountsAsInformationOrComment)
{
    CPagePatientCommentExer& page = ShowPage();
    EXPECT_EQ(page.IsDataChange(), 0);
    Retype(page, 4173, L"所見");
    EXPECT_EQ(page.IsDataChange(), 1);
    EXPECT_EQ(page.IsCommentChange(), 1);
    EXPECT_EQ(page.IsInformationChange(), 0);
    Retype(page, 4160, L"Naughton");
    EXPECT_EQ(page.IsDataChange(), 1);
    EXPECT_EQ(page.IsInformationChange(), 1);
}

TEST_F(ExerSheet, TypedTextsAreCutToTheirByteLimits)
{
    CPagePatientCommentExer& page = ShowPage();
    Retype(page, 4160, L"ABCDEFGHIJKLMNOPQRSTUV");
    EXPECT_EQ(ControlText(page, 4160), L"ABCDEFGHIJKLMNOPQRST");
    Retype(page, 4173, CString(L'x', 181));
    EXPECT_EQ(ControlText(page, 4173).GetLength(), 180);
}

// The comment edit keeps while typing what its save keeps: 180 columns
// laid into three lines of 60, each character counted by the width it is
// drawn with.
TEST_F(ExerSheet, TheCommentIsCutWhileTypingToWhatItsSaveKeeps)
{
    CPagePatientCommentExer& page = ShowPage();
    auto withoutBreaks = [](CString text) {
        text.Remove(L'\r');
        text.Remove(L'\n');
        return text;
    };
    const struct {
        CString typed;
        CString kept;
    } cases[] = {
        // Shift-JIS lacks 这, code page 936 holds it in two bytes: 90 fit.
        {CString(L'这', 120), CString(L'这', 90)},
        {CString(L'漢', 91), CString(L'漢', 90)},
        // In neither code page, drawn full width.
        {CString(L'한', 91), CString(L'한', 90)},
        {CString(static_cast<wchar_t>(0x1F600), 91), CString(static_cast<wchar_t>(0x1F600), 90)},
        // 180 columns, but the kanji that would cross column 60 starts the
        // second line: the third line is full before the last letter.
        {L"a" + CString(L'漢', 89) + L"b", L"a" + CString(L'漢', 89)},
        // There is no fourth line: the break after the third is refused.
        {L"一\n二\n三\n四", L"一\r\n二\r\n三四"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testsupport::Utf8(c.typed));
        Retype(page, 4173, c.typed);
        const CString shown = ControlText(page, 4173);
        EXPECT_EQ(shown, c.kept);
        page.SaveDataToItem();
        EXPECT_EQ(withoutBreaks(Item()->stInterpre.strComment), withoutBreaks(shown));
    }
}

// A comment stored as three full lines is shown whole and is no edit; a
// save of another field keeps it whole, and one Backspace in it keeps every
// other character: the breaks between the lines take none of its limit.
TEST_F(ExerSheet, ACommentStoredAsThreeFullLinesIsKeptWholeByTheEditAndTheSave)
{
    for (const wchar_t ch : {L'a', L'这'}) {
        SCOPED_TRACE(static_cast<int>(ch));
        const CString line(ch, ch == L'a' ? 60 : 30);
        const CString full = line + L"\r\n" + line + L"\r\n" + line;
        Item()->stInterpre.strComment = full;
        m_doc.SetCtrlContent(nullptr);
        CPagePatientCommentExer& page = ShowPage();
        EXPECT_EQ(ControlText(page, 4173), full);
        EXPECT_EQ(page.IsDataChange(), 0);
        Retype(page, 4160, ch == L'a' ? L"Naughton" : L"Bruce");
        EXPECT_EQ(page.IsDataChange(), 1);
        EXPECT_EQ(page.IsCommentChange(), 0);
        page.SaveDataToItem();
        EXPECT_EQ(Item()->stInterpre.strComment, full);

        sheettest::FocusOn(page, 4173);
        platform::ui::Desktop::KeyPress(VK_END, platform::ui::kControl);
        platform::ui::Desktop::KeyPress(VK_BACK);
        platform::ui::Desktop::PumpMessages();
        EXPECT_EQ(ControlText(page, 4173), full.Left(full.GetLength() - 1));
        const wchar_t again[] = {ch, 0};
        platform::ui::Desktop::TypeText(again);   // typed back in its place
        EXPECT_EQ(ControlText(page, 4173), full);
        m_host.Close();
    }
}

// A letter, a Return or a paste that would push the comment past its third
// line is refused or cut to what the lines still take, whatever the widths
// on them; before, the letter was taken, the lines rewrapped and the end of
// the last one dropped from the save.
TEST_F(ExerSheet, NoKeyOrPastePushesTheCommentPastItsThirdLine)
{
    const CString shortLast = CString(L'A', 60) + L"\r\n" + CString(L'B', 60) + L"\r\nCCCCC";
    const CString emoji(static_cast<wchar_t>(0x1F600), 30);
    const CString wide = emoji + L"\r\n" + CString(L'这', 30) + L"\r\n" + CString(L'漢', 30);
    for (const CString& stored : {shortLast, wide}) {
        SCOPED_TRACE(testsupport::Utf8(stored));
        Item()->stInterpre.strComment = stored;
        m_doc.SetCtrlContent(nullptr);
        CPagePatientCommentExer& page = ShowPage();
        sheettest::FocusOn(page, 4173);
        platform::ui::Desktop::KeyPress(VK_HOME, platform::ui::kControl);
        platform::ui::Desktop::TypeText(L"Z");
        platform::ui::Desktop::KeyPress(VK_RETURN);
        EXPECT_EQ(testsupport::Utf8(ControlText(page, 4173)), testsupport::Utf8(stored));
        page.GetDlgItem(4173)->SendMessage(EM_SETSEL, stored.GetLength(), stored.GetLength());
        const CString paste(L'0', 60);
        page.GetDlgItem(4173)->SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(paste.GetString()));
        const CString pasted = stored == shortLast ? paste.Left(55) : CString();
        EXPECT_EQ(testsupport::Utf8(ControlText(page, 4173)), testsupport::Utf8(stored + pasted));
        page.SaveDataToItem();
        EXPECT_EQ(testsupport::Utf8(Item()->stInterpre.strComment), testsupport::Utf8(stored + pasted));
        m_host.Close();
    }
}

// A one-line comment is stored with the two breaks of its empty lines:
// taking away an empty line changes nothing that is saved, and is no edit.
TEST_F(ExerSheet, TakingAwayAnEmptyLineOfTheStoredCommentIsNoEdit)
{
    Item()->stInterpre.strComment = L"所見あり\r\n\r\n";
    m_doc.SetCtrlContent(nullptr);
    CPagePatientCommentExer& page = ShowPage();
    sheettest::FocusOn(page, 4173);
    platform::ui::Desktop::KeyPress(VK_END, platform::ui::kControl);
    platform::ui::Desktop::KeyPress(VK_BACK);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(testsupport::Utf8(ControlText(page, 4173)), "所見あり\r\n");
    EXPECT_EQ(page.IsDataChange(), 0);
    EXPECT_EQ(page.IsCommentChange(), 0);
}

TEST_F(ExerSheet, AReadOnlyDocumentPaintsTheFieldsAndLocksTheComment)
{
    m_doc.SetReadOnly(1);
    CPagePatientCommentExer& page = ShowPage();
    for (int id : {4106, 4116, 4121, 4138, 4156, 4158, 4160, 4162, 4164, 4168, 4171})
        EXPECT_FALSE(m_host.Shown(id)) << id;
    EXPECT_TRUE(m_host.Shown(4173));
    EXPECT_NE(page.GetDlgItem(4173)->GetStyle() & ES_READONLY, 0u);
}

// On a display-only age row the painted sub-age unit is the one after the
// age unit, as on an editable page, not whatever the store held.
TEST_F(ExerSheet, AReadOnlyPageShowsTheSubAgeUnitAfterTheAgeUnit)
{
    Item()->stPatient.strAgeUnit = L"ヶ月";
    Item()->stPatient.strSubAgeUnit = L"日";
    m_doc.SetReadOnly(1);
    CPagePatientCommentExer& page = ShowPage();
    EXPECT_EQ(ControlText(page, 4117), L"ヶ月");
    EXPECT_EQ(ControlText(page, 4119), L"週");
    EXPECT_FALSE(m_host.Shown(4118));
    EXPECT_FALSE(m_host.Shown(4119));
}
