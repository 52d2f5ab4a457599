#include "host/DialogCommand.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "dialogs/Dlg15LeadEditLeadName.h"
#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEnlargedWave.h"
#include "dialogs/DlgEditAdditionItem.h"
#include "dialogs/DlgEditAdditionalInfor.h"
#include "dialogs/DlgEditComment.h"
#include "dialogs/DlgEditCommentItem.h"
#include "dialogs/DlgEditIvrelCode.h"
#include "dialogs/DlgEditMinneCode.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/DlgExerLeadSelection.h"
#include "dialogs/DlgExtraEditLeadName.h"
#include "dialogs/DlgExtraFreezeEditLeadName.h"
#include "dialogs/DlgInfoCommentGeneral.h"
#include "dialogs/DlgPatientInfoComment.h"
#include "dialogs/DlgRhythmEditLeadName.h"
#include "dialogs/DlgPrintStatus.h"
#include "documents/ExerViewDoc.h"
#include "host/DialogEnlargedCommand.h"
#include "host/DialogPanelsCommand.h"
#include "host/FormViewCommand.h"
#include "host/ModalSnapshot.h"
#include "host/RecordKinds.h"
#include "host/CommandFailure.h"
#include "host/OutputFolder.h"
#include "platform/base/CodePage.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/WindowClass.h"

namespace host {
namespace {

// The record's document as the views get it, opened by the host's opener:
// its examination document (exercise records with their item for the lead
// selection).
struct OpenedRecord {
    std::unique_ptr<CTavrionDoc> doc;
    _EXERDATAITEM* exerItem = nullptr;   // owned by the document
    bool exercise = false;
};

bool OpenRecordDocument(const std::string& path, const RecordOpener& open, OpenedRecord& out)
{
    LoadFormLayouts();
    if (!open(path, out.doc) || !out.doc) return false;
    if (auto* exer = DYNAMIC_DOWNCAST(CExerViewDoc, out.doc.get())) {
        out.exerItem = exer->GetCurrentDataItem();
        out.exercise = out.exerItem != nullptr;
    }
    return true;
}

struct Request {
    std::string file;
    std::string dialog;
    std::string png;
    std::string outDir;
    std::string group;
    unsigned leadTemplate = 172;
    bool templateGiven = false;
    int page = -1;                                  // the sheets' page; -1: the opener's default
    std::vector<std::pair<int, std::wstring>> set;  // fields typed into the sheets before OK
    bool save = false;                              // OK pressed, the prompt answered with okName
    std::string okName;
    EnlargedDialogRequest enlarged;                 // the enlarged views' dialogs: lead, records, zoom, ruler
    bool zoomGiven = false;
    const RecordOpener* open = nullptr;
};

// Saves the running dialog and ends it cancelled; `prepare` acts on it
// first, and when it refuses (said) the dialog is cancelled unsaved.
// Shown to a person, it runs until they close it.
bool RunModalAndSave(CDialog& dialog, const std::string& png, const std::function<bool(CDialog&)>& prepare = nullptr)
{
    if (DialogsShownToPerson()) return RunForPerson(dialog);
    bool prepared = true, saved = false;
    platform::ui::ModalDriverScope driver([&](CWnd& running) {
        auto* shown = dynamic_cast<CDialog*>(&running);
        if (!shown || shown != &dialog) return;
        prepared = !prepare || prepare(*shown);
        platform::ui::Desktop::PumpMessages();
        if (prepared) saved = platform::ui::Desktop::SaveWindowImage(shown->m_hWnd, png.c_str()) != FALSE;
        shown->EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    if (prepared && !saved) ReportFailure("%s could not be written", png.c_str());
    return saved;
}

// Chooses the group of the code tree whose entries begin "GROUP-", as a
// person clicks it; false, said, when the tree has none: the picture would
// show the first group as if it were the one asked for.
bool ChooseGroup(CDialog& dialog, int tree, const std::string& group)
{
    if (group.empty()) return true;
    const CString wanted = CString(platform::FromUtf8(group).c_str()) + L"-";
    auto item = reinterpret_cast<HTREEITEM>(dialog.SendDlgItemMessage(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    while (item) {
        wchar_t buffer[256] = {};
        TVITEMW record{};
        record.mask = TVIF_TEXT;
        record.hItem = item;
        record.pszText = buffer;
        record.cchTextMax = 256;
        dialog.SendDlgItemMessage(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&record));
        CString text = buffer;
        text.TrimLeft(L' ');
        if (text.Left(wanted.GetLength()) == wanted) {
            // Clicked, as a user chooses it, so that the dialog hears of the choice.
            RECT rect{};
            std::memcpy(&rect, &item, sizeof item);   // the item travels in the rectangle
            dialog.SendDlgItemMessage(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
            platform::ui::Desktop::Click(dialog.GetDlgItem(tree)->m_hWnd, (rect.left + rect.right) / 2,
                                         (rect.top + rect.bottom) / 2);
            platform::ui::Desktop::PumpMessages();
            return true;
        }
        item = reinterpret_cast<HTREEITEM>(
            dialog.SendDlgItemMessage(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    ReportFailure("%s: no group '%s' in its code tree; nothing is written", dialog.GetRuntimeClass()->m_lpszClassName,
                  group.c_str());
    return false;
}

// ---- the patient and comment sheets ------------------------------------------------------------

bool IsDropDownList(CWnd& control)
{
    wchar_t name[32] = {};
    ::GetClassNameW(control.m_hWnd, name, 32);
    return std::wstring(name) == L"ComboBox" && (control.GetStyle() & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST;
}

// The entries of a drop-down list, quoted: '', 'A', 'B'.
std::string ListEntries(CWnd& combo)
{
    std::string entries;
    const LRESULT count = combo.SendMessage(CB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = combo.SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
        std::vector<wchar_t> buffer(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
        combo.SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
        if (!entries.empty()) entries += ", ";
        entries += "'" + platform::ToUtf8(buffer.data()) + "'";
    }
    return entries.empty() ? std::string("no entry") : entries;
}

// Types the text into the field as a user would; a drop-down list takes
// the entry that reads it. Only a field a person can reach on the sheet's
// pages is typed into: one the page hides (the model-8000 patient page's
// kana name and room), disables or keeps read-only is refused, naming it,
// and so is an id no page has. False, said, when refused.
bool TypeField(const std::string& sheet, const std::vector<CWnd*>& pages, int id, const std::wstring& text)
{
    std::string unreachable;
    for (CWnd* page : pages) {
        if (!page->GetSafeHwnd()) continue;   // a page the sheet does not show
        std::string why;
        CWnd* control = TypeableControl(*page, id, why);
        if (!control) {
            if (unreachable.empty() && page->GetDlgItem(id)) unreachable = why;
            continue;
        }
        if (IsDropDownList(*control)) {
            const LRESULT found = control->SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(text.c_str()));
            if (found == CB_ERR) {
                ReportFailure("%s: field %d is a drop-down list without '%s' (it holds %s); nothing is saved",
                              sheet.c_str(), id, platform::ToUtf8(text).c_str(), ListEntries(*control).c_str());
                return false;
            }
            control->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(found));
            page->SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control->m_hWnd));
        } else {
            control->SetFocus();
            control->SendMessage(EM_SETSEL, 0, -1);
            if (text.empty()) control->SendMessage(WM_CLEAR);
            platform::ui::Desktop::TypeText(text.c_str());
        }
        // Leaving the field lets the page check what was typed.
        page->SetFocus();
        platform::ui::Desktop::PumpMessages();
        return true;
    }
    if (unreachable.empty())
        std::fprintf(stderr, "morvelance-host: no field %d takes '%s'\n", id, platform::ToUtf8(text).c_str());
    else
        ReportFailure("%s: field %d %s: a person cannot type '%s' there; nothing is saved", sheet.c_str(), id,
                      unreachable.c_str(), platform::ToUtf8(text).c_str());
    return false;
}

// The editor or doctor prompt answered with the name the host was given.
void AnswerPrompt(CDialog& prompt, const std::string& name)
{
    const int combo = prompt.GetDlgItem(3485) ? 3485 : 3487;
    const std::wstring wanted = platform::FromUtf8(name);
    prompt.SendDlgItemMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wanted.c_str()));
    prompt.SendDlgItemMessage(IDOK, BM_CLICK);
}

struct SheetOutcome {
    bool imageSaved = false;
    bool fieldsTyped = true;
    INT_PTR result = IDCANCEL;
};

// Runs the sheet: types the fields, saves the image, then OK (the prompts
// answered) or Cancel.
SheetOutcome RunSheet(CDialog& sheet, const std::function<std::vector<CWnd*>()>& pages, const Request& request,
                      const std::string& png)
{
    SheetOutcome outcome;
    platform::ui::ModalDriverScope driver([&](CWnd& running) {
        auto* shown = dynamic_cast<CDialog*>(&running);
        if (!shown) return;
        if (shown != &sheet) {
            if (request.save) AnswerPrompt(*shown, request.okName);
            return;
        }
        platform::ui::Desktop::PumpMessages();
        // A page past those the sheet has on this record (the additions page
        // of a record without additions, say) would be shown as another one.
        auto* base = dynamic_cast<CDlgInfoCommentBase*>(&sheet);
        const int count = base ? base->Sheet().GetPageCount() : 0;
        if (base && request.page >= count) {
            ReportFailure("%s: --page takes a page the sheet has on this record, 0 to %d; nothing is written",
                          sheet.GetRuntimeClass()->m_lpszClassName, count - 1);
            outcome.fieldsTyped = false;
            shown->EndDialog(IDCANCEL);
            return;
        }
        // Typing stops at a field refused: the sheet is neither saved nor painted as if typed.
        for (const auto& field : request.set) {
            if (TypeField(sheet.GetRuntimeClass()->m_lpszClassName, pages(), field.first, field.second)) continue;
            outcome.fieldsTyped = false;
            break;
        }
        platform::ui::Desktop::PumpMessages();
        if (!png.empty() && outcome.fieldsTyped)
            outcome.imageSaved = platform::ui::Desktop::SaveWindowImage(shown->m_hWnd, png.c_str()) != FALSE;
        if (request.save && outcome.fieldsTyped) shown->SendDlgItemMessage(IDOK, BM_CLICK);
        // A sheet still open after OK refused a value or could not save: it is cancelled.
        if (shown->GetSafeHwnd() && shown->IsWindowVisible()) shown->EndDialog(IDCANCEL);
    });
    outcome.result = sheet.DoModal();
    return outcome;
}

// The host acts for a user who may save, named by --ok.
void AllowSaving(CTavrionDoc& doc, const Request& request)
{
    if (request.save) ActForUser(doc, request.okName);
}

bool ReportSheet(const std::string& name, const SheetOutcome& outcome, const Request& request, int stored)
{
    if (!request.save) return outcome.imageSaved;
    if (!outcome.fieldsTyped) return false;
    if (outcome.result != IDOK) {
        std::fprintf(stderr,
                     "morvelance-host: %s: not saved (a value was refused, the prompt was not answered or the record "
                     "XML could not be written)\n",
                     name.c_str());
        return false;
    }
    std::printf("%s: %s\n", name.c_str(), stored ? "saved" : "nothing changed");
    return request.png.empty() || outcome.imageSaved;
}

bool RenderSheet(const std::string& name, OpenedRecord& record, const Request& request, const std::string& png)
{
    CTavrionDoc& doc = *record.doc;
    doc.SetCtrlContent(nullptr);
    AllowSaving(doc, request);
    StoredEditCount stored(doc);
    SheetOutcome outcome;
    if (name == "CDlgPatientInfoComment") {
        CDlgPatientInfoComment sheet(request.page >= 0 ? request.page : 0, nullptr);
        sheet.SetDoc(&doc, doc.GetDocType());
        outcome = RunSheet(sheet, [&] { return std::vector<CWnd*>{&sheet.PatientPage(), &sheet.CommentPage(), &sheet.AdditionPage()}; },
                           request, png);
    } else {
        CDlgInfoCommentGeneral sheet(nullptr);
        sheet.SetDoc(&doc, doc.GetDocType());
        sheet.SetActivePage(request.page == 1 ? 1 : 0);
        outcome = RunSheet(sheet, [&] { return std::vector<CWnd*>{&sheet.GeneralPage(), &sheet.ExerPage(), &sheet.AdditionPage()}; },
                           request, png);
    }
    return ReportSheet(name, outcome, request, stored.Count());
}

// Renders one dialog class; false with a message when it cannot be shown.
bool Render(const std::string& name, OpenedRecord& record, const Request& request, const std::string& png)
{
    CTavrionDoc* doc = record.doc.get();
    const int mode = doc->Is8000File();
    // A dialog opens on the records its opener's pages hold.
    if (IsDialogClass(name) && (!ShownOrSays(name) || !TakesOrSays(name, *doc))) return false;
    if (IsEnlargedDialog(name)) return RenderEnlargedDialog(name, *doc, request.file, request.enlarged, *request.open, png);
    if (name == "panels") return RenderPanels(*doc, request.file, png);
    if (name == "CDlgEditor") {
        CDlgEditor dialog(nullptr);
        dialog.SetDoc(doc);
        return RunModalAndSave(dialog, png);
    }
    if (name == "CDlgDoctor") {
        CDlgDoctor dialog(nullptr);
        dialog.SetDoc(doc);
        return RunModalAndSave(dialog, png);
    }
    if (name == "CDlgEditAdditionalInfor") {
        CDlgEditAdditionalInfor dialog(mode, nullptr);
        return RunModalAndSave(dialog, png);
    }
    if (name == "CDlgEditAdditionItem") {
        CDlgEditAdditionItem dialog(CDlgEditAdditionItem::IDD_CONTENT, nullptr);
        return RunModalAndSave(dialog, png);
    }
    if (name == "CDlgEditComment") {
        CDlgEditComment dialog(mode, nullptr);
        dialog.SetDoc(doc->GetDocType(), 0);
        CString comment;
        doc->GetCtrlData(4017, comment);
        dialog.SetComment(comment);
        return RunModalAndSave(dialog, png);
    }
    if (name == "CDlgEditCommentItem") {
        CDlgEditCommentItem dialog(nullptr);
        dialog.SetAddMode(1);
        return RunModalAndSave(dialog, png);
    }
    if (name == "CDlgEditIvrelCode") {
        CDlgEditIvrelCode dialog(nullptr);
        dialog.SetDoc(doc, doc->GetDocType());
        return RunModalAndSave(dialog, png, [&](CDialog& d) { return ChooseGroup(d, 3490, request.group); });
    }
    if (name == "CDlgEditMinneCode") {
        CDlgEditMinneCode dialog(nullptr);
        dialog.SetDoc(doc, doc->GetDocType());
        return RunModalAndSave(dialog, png, [&](CDialog& d) { return ChooseGroup(d, 4221, request.group); });
    }
    if (name == "CDlgExerLeadSelection") {
        if (!record.exercise) {
            ReportFailure("CDlgExerLeadSelection needs an exercise record with its exercise item");
            return false;
        }
        CDlgExerLeadSelection dialog(request.leadTemplate, record.exerItem, nullptr);
        return RunModalAndSave(dialog, png);
    }
    if (name == "CDlgPatientInfoComment" || name == "CDlgInfoCommentGeneral") return RenderSheet(name, record, request, png);
    if (name == "CDlgPrintStatus") {
        CDlgPrintStatus box(nullptr);
        if (!box.Create(CDlgPrintStatus::IDD, nullptr)) return false;
        box.SetECGDoc(doc);
        box.ShowWindow(SW_SHOW);
        box.SetStatusText(L"1/1");
        platform::ui::Desktop::PumpMessages();
        if (DialogsShownToPerson()) {
            const bool kept = RunForPerson(box.m_hWnd);
            if (box.GetSafeHwnd()) box.DestroyWindow();
            return kept;
        }
        const bool saved = platform::ui::Desktop::SaveWindowImage(box.m_hWnd, png.c_str()) != FALSE;
        box.DestroyWindow();
        return saved;
    }
    // The lead-name editors in their list-only forms; on a record of another
    // kind they show their template inert.
    std::unique_ptr<CDlgEditLeadName> leadNames;
    if (name == "CDlg15LeadEditLeadName") leadNames = std::make_unique<CDlg15LeadEditLeadName>(146);
    if (name == "CDlgExtraEditLeadName") leadNames = std::make_unique<CDlgExtraEditLeadName>(154);
    if (name == "CDlgRhythmEditLeadName") leadNames = std::make_unique<CDlgRhythmEditLeadName>(148);
    if (name == "CDlgExtraFreezeEditLeadName") leadNames = std::make_unique<CDlgExtraFreezeEditLeadName>();
    if (leadNames) {
        leadNames->SetDoc(doc, doc->GetDocType());
        return RunModalAndSave(*leadNames, png);
    }
    std::fprintf(stderr, "morvelance-host: unknown dialog '%s'\n", name.c_str());
    return false;
}

const char* const kDialogs[] = {"CDlgEditor",          "CDlgDoctor",        "CDlgEditAdditionalInfor",
                                "CDlgEditAdditionItem", "CDlgEditComment",   "CDlgEditCommentItem",
                                "CDlgEditIvrelCode",    "CDlgEditMinneCode", "CDlgExerLeadSelection",
                                "CDlgPrintStatus",      "CDlgPatientInfoComment", "CDlgInfoCommentGeneral",
                                "CDlg15LeadEditLeadName", "CDlgExtraEditLeadName", "CDlgRhythmEditLeadName",
                                "CDlgExtraFreezeEditLeadName", "CDlgEnlargedWave", "CDlgEnlargedRhyRR",
                                "CDlgEnlargedOverlap", "CDlgFinalRestEnlarge", "CDlgFinalLoadEnlarge",
                                "CDlgDivider",          "CDlgEnlargedPreview", "panels"};

bool IsSheet(const std::string& name)
{
    return name == "CDlgPatientInfoComment" || name == "CDlgInfoCommentGeneral";
}

// What the dialog named applies of the options (every dialog's, for "all",
// which writes each dialog under its own name): an option it would leave
// out of its picture or its save is refused before the record opens.
bool DialogTakesOptionsOrSays(const Request& request)
{
    const std::string& name = request.dialog;
    const bool all = name == "all", sheet = all || IsSheet(name);
    const bool codes = all || name == "CDlgEditIvrelCode" || name == "CDlgEditMinneCode";
    const bool enlarged = all || (IsEnlargedDialog(name) && name != "CDlgEnlargedPreview");
    const bool zoomed = enlarged && name != "CDlgDivider";
    return OptionsTakenOrSays(
        "dialog --dialog " + name,
        {
            {!request.png.empty(), "--png", !all},
            {!request.outDir.empty(), "--out", all},
            {!request.group.empty(), "--group", codes},
            {request.templateGiven, "--template", name == "CDlgExerLeadSelection"},
            {request.page >= 0, "--page", sheet},
            {!request.set.empty(), "--set", sheet},
            {request.save, "--ok", sheet},
            {request.enlarged.lead >= 0, "--lead", enlarged},
            {request.zoomGiven, "--zoom", zoomed},
            {request.enlarged.ruler, "--ruler", zoomed},
            {!request.enlarged.with.empty(), "--with", all || name == "CDlgEnlargedOverlap"},
        });
}

}  // namespace

void ActForUser(CTavrionDoc& doc, const std::string& user)
{
    if (user.empty()) return;
    const CString name = platform::FromUtf8(user).c_str();
    doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), name);
    doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(9), name);
    doc.SetDoctorAndEditorStatus(1, 1);
}

bool SheetRefusesRecord(const std::string& name, CTavrionDoc& doc)
{
    return !TakesOrSays(name, doc);
}

// The host's notification window: counts the edits the document stores.
class StoredEditCount::Window : public CWnd {
public:
    int count = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_EDIT_STORED) ++count;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

StoredEditCount::StoredEditCount(CTavrionDoc& doc) : m_doc(doc), m_window(new Window)
{
    m_window->CreateEx(0, nullptr, L"host", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0);
    m_doc.SetNotifyWnd(m_window.get());
}

StoredEditCount::~StoredEditCount()
{
    m_doc.SetNotifyWnd(nullptr);
    if (m_window->GetSafeHwnd()) m_window->DestroyWindow();
}

int StoredEditCount::Count() const
{
    return m_window->count;
}

bool IsDialogClass(const std::string& name)
{
    for (const char* known : kDialogs)
        if (name == known) return true;
    return false;
}

bool ShowDialogOnRecord(const std::string& name, const std::string& file, const RecordOpener& open,
                        const std::string& user)
{
    Request request;
    request.file = file;
    request.dialog = name;
    request.open = &open;
    OpenedRecord record;
    if (!OpenRecordDocument(file, open, record)) return false;
    ActForUser(*record.doc, user);
    return Render(name, record, request, std::string());
}

int RunDialogCommand(int argc, char** argv, const RecordOpener& open)
{
    Request request;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--dialog" && hasValue) request.dialog = argv[++i];
        else if (arg == "--png" && hasValue) request.png = argv[++i];
        else if (arg == "--out" && hasValue) request.outDir = argv[++i];
        else if (arg == "--group" && hasValue) request.group = argv[++i];
        else if (arg == "--template") {
            int id = 0;
            if (!TakeNumberOption(argc, argv, i, 172, 174, "--template takes 172, 173 or 174", id)) return 2;
            request.leadTemplate = static_cast<unsigned>(id);
            request.templateGiven = true;
        } else if (arg == "--page") {
            if (!TakeNumberOption(argc, argv, i, 0, 2, "--page takes a sheet's page, 0 to 2", request.page)) return 2;
        } else if (arg == "--lead") {
            std::string lead;
            if (!TakeOptionValue(argc, argv, i, lead) || !ParseLeadOrSample(arg, lead.c_str(), request.enlarged.lead))
                return 2;
        } else if (arg == "--zoom") {
            // A step past the dialog's last zooms no further: the bound keeps the presses few.
            if (!TakeNumberOption(argc, argv, i, -100, 100, "--zoom takes zoom steps, -100 to 100",
                                  request.enlarged.zoom))
                return 2;
            request.zoomGiven = true;
        }
        else if (arg == "--ruler" && hasValue) {
            if (!ParseRuler(argv[++i], request.enlarged)) return 2;
        } else if (arg == "--with" && hasValue) {
            while (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) request.enlarged.with.push_back(argv[++i]);
        }
        else if (arg == "--set" && hasValue && std::strchr(argv[i + 1], '=')) {
            const std::string field = argv[++i];
            const size_t equals = field.find('=');
            int id = 0;
            if (!ReadNumberOption("--set", field.substr(0, equals).c_str(), 1, 0xFFFF,
                                  "--set takes ID=TEXT (a control id of the sheet)", id))
                return 2;
            request.set.emplace_back(id, platform::FromUtf8(field.substr(equals + 1)));
        } else if (arg == "--ok" && hasValue) {
            request.save = true;
            request.okName = argv[++i];
        }
        else if (request.file.empty() && arg.rfind("--", 0) != 0) request.file = arg;
        else {
            std::fprintf(stderr, "morvelance-host: dialog: unexpected argument '%s'\n", arg.c_str());
            return 2;
        }
    }
    const bool all = request.dialog == "all";
    // The general sheet has two pages, the patient sheet three: a page past
    // a sheet's own would show one of its others.
    if (request.dialog == "CDlgInfoCommentGeneral" && request.page > 1) {
        std::fprintf(stderr, "morvelance-host: --page takes a sheet's page: 0 or 1 for CDlgInfoCommentGeneral\n");
        return 2;
    }
    const bool sheetSave = request.save && !all;
    if (request.file.empty() || request.dialog.empty() ||
        (all ? request.outDir.empty() : request.png.empty() && !sheetSave) ||
        (request.leadTemplate < 172 || request.leadTemplate > 174)) {
        std::fprintf(stderr, "morvelance-host: dialog FILE --dialog CLASS --png OUT.png "
                             "(or --dialog all --out DIR; --dialog panels; CDlgEnlargedWave, CDlgEnlargedRhyRR, "
                             "CDlgFinalRestEnlarge, CDlgFinalLoadEnlarge, CDlgDivider also [--lead N]; CDlgEnlargedOverlap "
                             "also --with FILE...; the enlarged dialogs also [--zoom K] [--ruler X1,X2]; the patient sheets "
                             "also [--page N] [--set ID=TEXT]... --ok NAME)\n");
        return 2;
    }
    if ((all || IsDialogClass(request.dialog)) && !DialogTakesOptionsOrSays(request)) return 1;
    if (!(all ? MakeOutputFolder(request.outDir) : request.png.empty() || MakeFolderOf(request.png))) return 1;
    request.open = &open;
    OpenedRecord record;
    if (!OpenRecordDocument(request.file, open, record)) return 1;
    if (!all) return Render(request.dialog, record, request, request.png) ? 0 : 1;

    int failures = 0;
    for (const char* name : kDialogs) {
        if (!Shown(name) || !Takes(name, *record.doc)) continue;
        if (std::strcmp(name, "CDlgExerLeadSelection") == 0) {
            if (!record.exercise) continue;
            for (unsigned id : {172u, 173u, 174u}) {
                Request one = request;
                one.leadTemplate = id;
                const std::string png = request.outDir + "/" + name + "-" + std::to_string(id) + ".png";
                if (!Render(name, record, one, png)) ++failures;
            }
            continue;
        }
        if (!Render(name, record, request, request.outDir + "/" + name + ".png")) ++failures;
    }
    return failures ? 1 : 0;
}

}  // namespace host
