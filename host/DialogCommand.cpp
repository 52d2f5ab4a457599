#include "host/DialogCommand.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
#include "dialogs/DlgExerLeadSelection.h"
#include "dialogs/DlgExtraEditLeadName.h"
#include "dialogs/DlgExtraFreezeEditLeadName.h"
#include "dialogs/DlgRhythmEditLeadName.h"
#include "dialogs/DlgPrintStatus.h"
#include "documents/ExerViewDoc.h"
#include "host/OutputFolder.h"
#include "platform/base/CodePage.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/Desktop.h"

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
};

// Saves the running dialog and ends it cancelled; `prepare` acts on it first.
bool RunModalAndSave(CDialog& dialog, const std::string& png, const std::function<void(CDialog&)>& prepare = nullptr)
{
    bool saved = false;
    platform::ui::ModalDriverScope driver([&](CWnd& running) {
        auto* shown = dynamic_cast<CDialog*>(&running);
        if (!shown || shown != &dialog) return;
        if (prepare) prepare(*shown);
        platform::ui::Desktop::PumpMessages();
        saved = platform::ui::Desktop::SaveWindowImage(shown->m_hWnd, png.c_str()) != FALSE;
        shown->EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    return saved;
}

void ChooseGroup(CDialog& dialog, int tree, const std::string& group)
{
    if (group.empty()) return;
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
            return;
        }
        item = reinterpret_cast<HTREEITEM>(
            dialog.SendDlgItemMessage(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    std::fprintf(stderr, "morvelance-host: no group '%s'\n", group.c_str());
}

// Renders one dialog class; false with a message when it cannot be shown.
bool Render(const std::string& name, OpenedRecord& record, const Request& request, const std::string& png)
{
    CTavrionDoc* doc = record.doc.get();
    const int mode = doc->Is8000File();
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
        return RunModalAndSave(dialog, png, [&](CDialog& d) { ChooseGroup(d, 3490, request.group); });
    }
    if (name == "CDlgEditMinneCode") {
        CDlgEditMinneCode dialog(nullptr);
        dialog.SetDoc(doc, doc->GetDocType());
        return RunModalAndSave(dialog, png, [&](CDialog& d) { ChooseGroup(d, 4221, request.group); });
    }
    if (name == "CDlgExerLeadSelection") {
        if (!record.exercise) {
            std::fprintf(stderr, "morvelance-host: CDlgExerLeadSelection needs an exercise record\n");
            return false;
        }
        CDlgExerLeadSelection dialog(request.leadTemplate, record.exerItem, nullptr);
        return RunModalAndSave(dialog, png);
    }
    if (name == "CDlgPrintStatus") {
        CDlgPrintStatus box(nullptr);
        if (!box.Create(CDlgPrintStatus::IDD, nullptr)) return false;
        box.SetECGDoc(doc);
        box.ShowWindow(SW_SHOW);
        box.SetStatusText(L"1/1");
        platform::ui::Desktop::PumpMessages();
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
                                "CDlgPrintStatus",
                                "CDlg15LeadEditLeadName", "CDlgExtraEditLeadName", "CDlgRhythmEditLeadName",
                                "CDlgExtraFreezeEditLeadName"};

}  // namespace

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
        else if (arg == "--template" && hasValue) request.leadTemplate = static_cast<unsigned>(std::atoi(argv[++i]));
        else if (request.file.empty() && arg.rfind("--", 0) != 0) request.file = arg;
        else {
            std::fprintf(stderr, "morvelance-host: dialog: unexpected argument '%s'\n", arg.c_str());
            return 2;
        }
    }
    const bool all = request.dialog == "all";
    if (request.file.empty() || request.dialog.empty() || (all ? request.outDir.empty() : request.png.empty()) ||
        (request.leadTemplate < 172 || request.leadTemplate > 174)) {
        std::fprintf(stderr, "morvelance-host: dialog FILE --dialog CLASS --png OUT.png "
                             "(or --dialog all --out DIR)\n");
        return 2;
    }
    if (!(all ? MakeOutputFolder(request.outDir) : MakeFolderOf(request.png))) return 1;
    OpenedRecord record;
    if (!OpenRecordDocument(request.file, open, record)) return 1;
    if (!all) return Render(request.dialog, record, request, request.png) ? 0 : 1;

    int failures = 0;
    for (const char* name : kDialogs) {
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
