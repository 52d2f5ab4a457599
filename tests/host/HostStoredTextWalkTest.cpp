// Every control that limits text keeps a text the program loaded past its
// limit: the controls are found by walking the window tree of every pane the
// host shows (with the forms and strips it holds) in every page style, every
// page of the patient sheets and every editor dialog, on a record of every
// kind opened by the host's own opener. Into each, a text past its limit is
// loaded as the program loads one; then Backspace at its end takes one
// character and nothing else, a digit typed over two characters replaces
// them, Ctrl+Z after either brings the text back as loaded and a second
// Ctrl+Z redoes the type-over, and a letter typed at its start or in its
// middle is refused, leaving the text as loaded. The keys go through the
// desktop's input, as a person's do.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/Dlg15LeadEditLeadName.h"
#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditAdditionItem.h"
#include "dialogs/DlgEditAdditionalInfor.h"
#include "dialogs/DlgEditComment.h"
#include "dialogs/DlgEditCommentItem.h"
#include "dialogs/DlgEditIvrelCode.h"
#include "dialogs/DlgEditMinneCode.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/DlgExtraEditLeadName.h"
#include "dialogs/DlgExtraFreezeEditLeadName.h"
#include "dialogs/DlgInfoCommentGeneral.h"
#include "dialogs/DlgPatientInfoComment.h"
#include "dialogs/DlgRhythmEditLeadName.h"
#include "dialogs/TextLengthGuard.h"
#include "documents/ExerViewDoc.h"
#include "host/PaneKinds.h"
#include "host/RecordOpening.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/framework/PropertySheet.h"
#include "platform/ui/framework/ScrollView.h"
#include "platform/ui/windowing/Desktop.h"
#include "controls/MultiEdit.h"
#include "forms/FormEx.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/host/HostSamples.h"
#include "tests/support/DocumentTestSupport.h"

using platform::ui::Desktop;

namespace {

const int kScreenWidth = 1920;
const int kScreenHeight = 1080;
const int kNoStyle = -1;
// What an edit takes before anything limits it: a field left at it limits nothing.
const int kEditDefaultLimit = 30000;

std::string ClassOf(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return testsupport::Utf8(name);
}

CString TextOf(HWND window)
{
    CString text;
    CWnd::FromHandle(window)->GetWindowText(text);
    return text;
}

// The class of the control a person knows: the system's own where it is
// one of its classes, else the window's.
std::string KindOf(HWND control)
{
    if (CWnd* object = CWnd::FromHandlePermanent(control)) {
        const std::string name = object->GetRuntimeClass()->m_lpszClassName;
        if (name != "CWnd" && name != "CEdit" && name != "CComboBox") return name;
    }
    return ClassOf(control);
}

// Every edit under `window` that limits what is typed into it and takes
// typing: an edit of its own, a combo box's or a comment field's face.
void FindHolders(HWND window, std::vector<HWND>& holders)
{
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = ::GetWindowLong(child, GWL_STYLE);
        if (ClassOf(child) == "Edit" && ::IsWindowEnabled(child) && !(style & ES_READONLY) &&
            ::SendMessage(child, EM_GETLIMITTEXT, 0, 0) < kEditDefaultLimit)
            holders.push_back(child);
        FindHolders(child, holders);
    }
}

// Scrolls the form that holds the edit until the edit stands at its top, as
// a person scrolls down to a field below the form's window.
void ScrollIntoView(HWND edit)
{
    for (HWND up = ::GetParent(edit); up; up = ::GetParent(up)) {
        auto* view = DYNAMIC_DOWNCAST(CScrollView, CWnd::FromHandlePermanent(up));
        if (!view) continue;
        CRect field, client;
        ::GetWindowRect(edit, &field);
        view->GetClientRect(&client);
        view->ClientToScreen(&client);
        if (field.top >= client.top && field.bottom <= client.bottom) return;
        const CPoint at = view->GetScrollPosition();
        view->ScrollToPosition(CPoint(at.x, std::max(0L, at.y + field.top - client.top - 8L)));
        Desktop::PumpMessages();
        return;
    }
}

// Gives the edit the focus as a person does: a click at the middle of what
// shows in its place (a comment field shows its idle face there). False
// when a person cannot reach it there.
bool Reach(HWND edit)
{
    HWND shown = ::IsWindowVisible(edit) ? edit : ::GetParent(edit);
    if (!::IsWindowVisible(shown)) return false;
    ScrollIntoView(edit);
    CRect place;
    ::GetWindowRect(edit, &place);
    if (place.IsRectEmpty()) return false;
    Desktop::Click(place.CenterPoint());
    Desktop::PumpMessages();
    return ::GetFocus() == edit;
}

// How far a text passes an edit's limit: in the columns it is drawn in
// (the limit's count), which only the length guard sees, or in its
// characters too, which the edit itself counts.
enum class Past { Columns, ColumnsAndCharacters };

// A text past the edit's limit, as the record XML may hold one: wide
// characters of two columns each, or two of them and then digits (a
// numeric field takes them); on three lines in a multi-line edit.
CString PastLimit(HWND edit, Past past)
{
    const bool multi = (::GetWindowLong(edit, GWL_STYLE) & ES_MULTILINE) != 0;
    const int columns = static_cast<int>(::SendMessage(edit, EM_GETLIMITTEXT, 0, 0)) / (multi ? 3 : 1);
    const CString line = past == Past::Columns ? CString(L'这', columns / 2 + 2)
                                               : CString(L'这', 2) + CString(L'7', columns);
    return multi ? line + L"\r\n" + line + L"\r\n" + line : line;
}

// Puts the text in as the program puts a stored text in a field.
void Load(HWND edit, const CString& text)
{
    ::SetWindowTextW(edit, text);
    NoteLoadedText(CWnd::FromHandle(edit));
    Desktop::PumpMessages();
}

// What a holder did wrong, empty when nothing.
std::string Try(HWND edit)
{
    std::string faults;
    CString stored = PastLimit(edit, Past::ColumnsAndCharacters);
    auto expect = [&](const char* what, const CString& wanted) {
        Desktop::PumpMessages();
        const CString held = TextOf(edit);
        if (held != wanted)
            faults += std::string(what) + " left " + std::to_string(held.GetLength()) + " of " +
                      std::to_string(stored.GetLength()) + " characters (wanted " +
                      std::to_string(wanted.GetLength()) + "); ";
    };
    Load(edit, stored);
    expect("the load", stored);
    // Deleting is taken, and its undo brings the text back whole.
    Desktop::KeyPress(VK_END, platform::ui::kControl);
    Desktop::KeyPress(VK_BACK);
    expect("Backspace at the end", stored.Left(stored.GetLength() - 1));
    Desktop::KeyPress('Z', platform::ui::kControl);
    expect("Ctrl+Z after Backspace", stored);
    // A digit typed over the two wide characters leaves the text narrower
    // and shorter: taken whole; undone, and undone again to redo it.
    ::SendMessage(edit, EM_SETSEL, 0, 2);
    Desktop::TypeText(L"1");
    const CString typedOver = L"1" + stored.Mid(2);
    expect("a digit typed over two characters", typedOver);
    Desktop::KeyPress('Z', platform::ui::kControl);
    expect("Ctrl+Z after the type-over", stored);
    Desktop::KeyPress('Z', platform::ui::kControl);
    expect("the redo of the type-over", typedOver);
    // A letter that would lengthen it is refused wherever it goes, by the
    // guard where the edit would take it.
    stored = PastLimit(edit, Past::Columns);
    Load(edit, stored);
    Desktop::KeyPress(VK_HOME, platform::ui::kControl);
    Desktop::TypeText(L"x");
    expect("a letter at the start", stored);
    Load(edit, stored);
    const int middle = stored.GetLength() / 2;
    ::SendMessage(edit, EM_SETSEL, middle, middle);
    Desktop::TypeText(L"x");
    expect("a letter in the middle", stored);
    return faults;
}

// What the walk found: each holder where it stands, and what it did wrong.
// A holder a person cannot reach where it stands (hidden by the page style,
// under another window) is tried where it can be; one tried in one page
// style of its pane is not tried again in the next.
struct Walk {
    std::set<std::string> holders;
    std::vector<std::string> faults;

    // Walks the window tree under `top`, of `where` shown in `style`.
    void Through(HWND top, const std::string& where, const std::string& style = std::string())
    {
        std::vector<HWND> found;
        FindHolders(top, found);
        for (HWND edit : found) {
            // The control a person knows: a combo box or a comment field for their edit.
            HWND parent = ::GetParent(edit);
            const bool inner = ClassOf(parent) == "ComboBox" || ::GetDlgCtrlID(edit) == 1000;
            const std::string name = where + " " + KindOf(inner ? parent : edit) + " " +
                                     std::to_string(::GetDlgCtrlID(inner ? parent : edit)) + " (limit " +
                                     std::to_string(::SendMessage(edit, EM_GETLIMITTEXT, 0, 0)) + ")";
            if (holders.count(name) || !Reach(edit)) continue;
            holders.insert(name);
            const std::string wrong = Try(edit);
            if (!wrong.empty()) faults.push_back(name + style + ": " + wrong);
        }
    }
};

// Runs `dialog` modally and walks it (every page of a sheet) as `where`;
// what it opens in turn is closed unlooked at.
void WalkDialog(CDialog& dialog, const std::string& where, Walk& walk)
{
    bool walking = false;
    platform::ui::ModalDriverScope driver([&](CWnd& running) {
        if (walking || &running != &dialog) return;
        walking = true;
        Desktop::PumpMessages();
        CPropertySheet* sheet = nullptr;
        for (HWND child = ::GetWindow(dialog.m_hWnd, GW_CHILD); child && !sheet;
             child = ::GetWindow(child, GW_HWNDNEXT))
            sheet = dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(child));
        const int pages = sheet ? sheet->GetPageCount() : 1;
        for (int page = 0; page < pages; ++page) {
            if (sheet) sheet->SetActivePage(page);
            Desktop::PumpMessages();
            CWnd* shown = sheet ? static_cast<CWnd*>(sheet->GetActivePage()) : &dialog;
            walk.Through(shown->m_hWnd, where, sheet ? " on page " + std::to_string(page) : std::string());
        }
        dialog.EndDialog(IDCANCEL);
        walking = false;
    });
    dialog.DoModal();
}

// Every pane that shows the record, in every page style it takes on it.
void WalkPanes(CTavrionDoc& doc, const std::string& record, Walk& walk)
{
    std::vector<host::PaneKind> kinds;
    for (auto list : {host::RestPaneKinds, host::RhythmPaneKinds, host::RhythmCommentPaneKinds, host::RRPaneKinds,
                      host::ExtraPaneKinds, host::ExercisePaneKinds, host::ExerciseResultPaneKinds,
                      host::MasterStepPaneKinds})
        for (host::PaneKind& kind : list()) kinds.push_back(std::move(kind));
    for (const host::PaneKind& kind : kinds) {
        std::vector<int> styles = host::StylesOn(kind, doc);
        if (styles.empty()) styles.push_back(kNoStyle);
        for (int style : styles) {
            std::unique_ptr<CWnd> pane(kind.make(doc, true));
            if (!pane) break;
            const CRect rect(0, 0, kScreenWidth, kScreenHeight);
            CWnd window;
            ASSERT_TRUE(window.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, rect, nullptr, 0));
            ASSERT_TRUE(pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &window, 100));
            kind.show(pane.get(), style);
            Desktop::PumpMessages();
            const std::string where = record + " " + kind.name;
            walk.Through(pane->m_hWnd, where, style == kNoStyle ? "" : " in style " + std::to_string(style));
            pane->DestroyWindow();
            window.DestroyWindow();
        }
    }
}

// The patient sheets and the editor dialogs as the host opens them on the record.
void WalkDialogs(CTavrionDoc& doc, const std::string& record, Walk& walk)
{
    const int type = doc.GetDocType();
    const int mode = doc.Is8000File();
    auto walkOne = [&](CDialog& dialog, const std::string& name) { WalkDialog(dialog, record + " " + name, walk); };
    if (type == DOC_TYPE_REST || type == DOC_TYPE_MFER) {
        CDlgPatientInfoComment sheet(0, nullptr);
        sheet.SetDoc(&doc, type);
        walkOne(sheet, "CDlgPatientInfoComment");
    }
    if (type != DOC_TYPE_REST) {
        CDlgInfoCommentGeneral sheet(nullptr);
        sheet.SetDoc(&doc, type);
        walkOne(sheet, "CDlgInfoCommentGeneral");
    }
    CDlgEditor editor(nullptr);
    editor.SetDoc(&doc);
    walkOne(editor, "CDlgEditor");
    CDlgDoctor doctor(nullptr);
    doctor.SetDoc(&doc);
    walkOne(doctor, "CDlgDoctor");
    CDlgEditComment comment(mode, nullptr);
    CString text;
    doc.GetCtrlData(4017, text);
    // The exercise record's comment editor keeps three lines, as its forms open it.
    auto* exer = dynamic_cast<CExerViewDoc*>(&doc);
    comment.SetDoc(type, exer && exer->GetCurrentDataItem() ? exer->GetCurrentDataItem()->uSystemCode : 0);
    comment.SetComment(text);
    walkOne(comment, "CDlgEditComment");
    CDlgEditCommentItem phrase(nullptr);
    phrase.SetAddMode(1);
    walkOne(phrase, "CDlgEditCommentItem");
    CDlgEditAdditionalInfor additions(mode, nullptr);
    walkOne(additions, "CDlgEditAdditionalInfor");
    CDlgEditAdditionItem title(CDlgEditAdditionItem::IDD_TITLE, nullptr);
    walkOne(title, "CDlgEditAdditionItem title");
    CDlgEditAdditionItem content(CDlgEditAdditionItem::IDD_CONTENT, nullptr);
    walkOne(content, "CDlgEditAdditionItem content");
    CDlgEditIvrelCode ivrel(nullptr);
    ivrel.SetDoc(&doc, type);
    walkOne(ivrel, "CDlgEditIvrelCode");
    CDlgEditMinneCode minnesota(nullptr);
    minnesota.SetDoc(&doc, type);
    walkOne(minnesota, "CDlgEditMinneCode");
    CDlg15LeadEditLeadName leads15(146);
    CDlgExtraEditLeadName extraLeads(154);
    CDlgRhythmEditLeadName rhythmLeads(148);
    CDlgExtraFreezeEditLeadName freezeLeads;
    const std::vector<CDlgEditLeadName*> leadNames = {&leads15, &extraLeads, &rhythmLeads, &freezeLeads};
    for (CDlgEditLeadName* leads : leadNames) {
        leads->SetDoc(&doc, type);
        walkOne(*leads, leads->GetRuntimeClass()->m_lpszClassName);
    }
}

class HostStoredTextWalk : public testsupport::DocumentTest {};

}  // namespace

TEST_F(HostStoredTextWalk, EveryControlThatLimitsTextKeepsALoadedTextPastItsLimitTakingNoLengtheningAndUndoingExactly)
{
    hosttest::MakeRecords({"samples", m_dir.File("samples")});
    hosttest::MakeRecords({"examinations", m_dir.File("examinations")});
    hosttest::MakeRecords({"mfer", "--kind", "plain", "--leads", "12", "--out", m_dir.File("mfer12.mwf"), "--xml-out",
                           m_dir.File("Raw_mfer1220240401093000.xml")});
    const std::vector<std::string> records = {
        "samples/rest12_90.ecg",          "samples/rhythm_90.ecg",           "samples/rr_90.ecg",
        "examinations/extra6_90.ecg",     "examinations/freeze_90.ecg",      "examinations/mstep243.ecg",
        "examinations/exercise_90.ecg",   "mfer12.mwf",
    };
    Desktop::Reset();
    formtest::ScopedScreen screen;
    Walk walk;
    for (const std::string& record : records) {
        SCOPED_TRACE(record);
        std::unique_ptr<CTavrionDoc> doc;
        ASSERT_TRUE(host::OpenForViews(m_dir.File(record), doc));
        doc->m_bAutoDelete = FALSE;
        screen.Use(*doc, kScreenWidth, kScreenHeight);
        doc->SetCtrlContent(nullptr);
        doc->UpdateCtrlStatus();
        const std::string name = record.substr(record.find('/') + 1);
        const size_t before = walk.holders.size();
        WalkPanes(*doc, name, walk);
        WalkDialogs(*doc, name, walk);
        // Every kind shows its patient, its comment and its request fields somewhere.
        EXPECT_GT(walk.holders.size() - before, 20u);
    }
    for (const std::string& fault : walk.faults) ADD_FAILURE() << fault;
}

// The interpretation forms' comment boxes: a comment stored past the box's
// 255 columns loses one character to one Backspace, and the next save keeps
// the rest (the box once cut the whole comment to 255 columns at the first
// key, a Backspace included, and the save stored what was left).
TEST_F(HostStoredTextWalk, OneBackspaceInAFormsStoredCommentPastItsLimitTakesOneCharacterAndTheSaveKeepsTheRest)
{
    hosttest::MakeRecords({"samples", m_dir.File("samples")});
    hosttest::MakeRecords({"examinations", m_dir.File("examinations")});
    const std::string hangul = testsupport::Utf8(CString(L'한', 130));
    const std::string lines = std::string(100, 'a') + "\n" + std::string(100, 'b') + "\n" + std::string(100, 'c');
    const struct {
        const char* record;
        const char* form;
        std::string stored;
        UINT caret;           // where the Backspace is pressed: Ctrl+End, or after the first character
        std::string kept;
    } cases[] = {
        {"samples/rr_90", "CFormInterpreRhyRR", hangul, VK_END, testsupport::Utf8(CString(L'한', 129))},
        {"examinations/extra6_90", "CFormInterpreRhyRR", hangul, VK_END, testsupport::Utf8(CString(L'한', 129))},
        {"samples/rest12_90", "CFormInterpre", lines, VK_RIGHT, lines.substr(1)},
        {"examinations/mstep243", "CFormInterpreMsfr", lines, VK_RIGHT, lines.substr(1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.record) + " " + c.form);
        const std::string xml = m_dir.File(std::string(c.record) + "20240401093000.xml");
        const std::string text = std::regex_replace(testsupport::ReadFileBytes(xml),
                                                    std::regex("<Comment_content>[^<]*</Comment_content>"),
                                                    "<Comment_content>" + c.stored + "</Comment_content>",
                                                    std::regex_constants::format_first_only);
        std::ofstream(xml, std::ios::binary) << text;
        std::unique_ptr<CTavrionDoc> doc;
        ASSERT_TRUE(host::OpenForViews(m_dir.File(std::string(c.record) + ".ecg"), doc));
        doc->m_bAutoDelete = FALSE;
        formtest::FormHost<CFormEx> host;
        CFormEx* form = host.Show(*doc, doc->GetDocType(), CRuntimeClass::FromName(c.form), 1024, 768);
        ASSERT_NE(form, nullptr);
        CMultiEdit* comment = nullptr;
        for (CWnd* child = form->GetWindow(GW_CHILD); child && !comment; child = child->GetWindow(GW_HWNDNEXT))
            comment = DYNAMIC_DOWNCAST(CMultiEdit, child);
        ASSERT_NE(comment, nullptr);
        ASSERT_TRUE(Reach(comment->GetEditFace().m_hWnd));
        Desktop::KeyPress(VK_HOME, platform::ui::kControl);
        if (c.caret == VK_END) Desktop::KeyPress(VK_END, platform::ui::kControl);
        else Desktop::KeyPress(c.caret);
        Desktop::KeyPress(VK_BACK);
        Desktop::PumpMessages();
        form->SetFocus();   // leaving the box, as a click elsewhere does
        Desktop::PumpMessages();
        ASSERT_EQ(doc->SaveDataToXML(doc->GetCurDataIndex()), 0);
        std::string saved = testsupport::Utf8(
            testsupport::ReadXmlValue(xml, L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content"));
        saved.erase(std::remove(saved.begin(), saved.end(), '\r'), saved.end());
        EXPECT_EQ(saved, c.kept);
    }
}
