#include "host/DialogCommand.h"

#include <dirent.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/ECGData.h"
#include "core/FileItemInfo.h"
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
#include "documents/RestViewDoc.h"
#include "host/DocumentCommand.h"
#include "platform/base/CodePage.h"
#include "platform/base/PathNames.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/Desktop.h"

namespace host {
namespace {

CString LibraryPath(const std::string& path)
{
    return CString(platform::HostPath(path).c_str());
}

// The record XML beside a record: its stem, 14 time digits, ".xml".
std::string RecordXmlBeside(const std::string& record)
{
    const size_t slash = record.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : record.substr(0, slash);
    std::string stem = slash == std::string::npos ? record : record.substr(slash + 1);
    if (const size_t dot = stem.rfind('.'); dot != std::string::npos) stem.resize(dot);
    std::string found;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return found;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != stem.size() + 18 || name.compare(0, stem.size(), stem) != 0) continue;
        if (name.compare(name.size() - 4, 4, ".xml") != 0) continue;
        if (name.find_first_not_of("0123456789", stem.size()) != name.size() - 4) continue;
        if (found.empty() || name > found.substr(found.rfind('/') + 1)) found = folder + "/" + name;
    }
    closedir(dir);
    return found;
}

// The record's document as the host opens it: resting and exercise records on
// their examination documents as set up here; any other device record on the
// document of its kind, whose kind the comment editor goes by; a record no
// document accepts on the base document, which is all the prompts and
// pickers read.
struct OpenedRecord {
    std::unique_ptr<CTavrionDoc> doc;
    _EXERDATAITEM* exerItem = nullptr;   // owned by the document
    bool exercise = false;
};

// A device record on the document of its kind, quietly; false when the file
// list or the document refuses it.
bool OpenKindDocument(const std::string& path, const std::string& xml, int oldReader, unsigned systemCode,
                      OpenedRecord& out)
{
    CTavrionDoc probe;
    _FILEITEM_INFO info;
    if (probe.ReadFile(LibraryPath(path), LibraryPath(xml), CString(), &info) == 1) return false;
    RecordFiles files;
    files.record = path;
    files.xml = xml;
    files.olderReader = oldReader != 0;
    files.leadCount = info.nLeadCount;
    return OpenDeviceRecord(files, systemCode, &out.doc);
}

bool OpenRecordDocument(const std::string& path, OpenedRecord& out)
{
    CTavrionDoc probe;
    _ECGDATA* image = nullptr;
    int kind = 0;
    int oldReader = 0;
    const int opened = probe.MFERTransOpenFile(LibraryPath(path), image, kind, oldReader);
    BYTE code[2] = {};
    const bool known = opened == 0 && image &&
                       probe.ecgGetData(image, ECG_TAG_SYSTEM_CODE, 0, code, sizeof(code), ECG_DATA_RAW) > 0;
    FreeECGData(image);
    if (!known) {
        std::fprintf(stderr, "morvelance-host: %s: not a record this library can read\n", path.c_str());
        return false;
    }
    const unsigned systemCode = code[0] | (code[1] << 8);
    const std::string xml = RecordXmlBeside(path);
    if (systemCode == 0xFFFA || systemCode == 0xFFFC || systemCode == 0xFFFD) {
        auto doc = std::make_unique<CExerViewDoc>();
        auto* item = new _EXERDATAITEM;
        item->strFilePath = LibraryPath(path);
        item->strXMLPath = xml.empty() ? CString() : LibraryPath(xml);
        doc->GetExerDataManager().AppendItem(item);
        doc->SetCurDataIndex(item->nID);
        CString x = item->strXMLPath;
        CString f = item->strFilePath;
        doc->OpenFile(x, f);
        out.exerItem = item;
        out.exercise = true;
        out.doc = std::move(doc);
        return true;
    }
    if ((systemCode & 0xFF) != 5 && (systemCode & 0xFF) != 10) {
        auto doc = std::make_unique<CRestViewDoc>();
        auto* item = new _RESTDATAITEM;
        item->strFilePath = LibraryPath(path);
        item->strXMLPath = xml.empty() ? CString() : LibraryPath(xml);
        item->b8000File = oldReader ? 1 : 0;
        doc->GetRestDataManager().AppendItem(item);
        CString x = item->strXMLPath;
        CString f = item->strFilePath;
        if (doc->OpenFile(x, f) == 0) {
            doc->SetCurDataIndex(item->nID);
            out.doc = std::move(doc);
            return true;
        }
    }
    if (OpenKindDocument(path, xml, oldReader, systemCode, out)) return true;
    out.doc = std::make_unique<CTavrionDoc>();
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

int RunDialogCommand(int argc, char** argv)
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
    OpenedRecord record;
    if (!OpenRecordDocument(request.file, record)) return 1;
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
