// The enlarged views in their dialogs, as the multi-lead and serial views
// open them, painted into PNG files.
#include "host/EnlargedViewCommand.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/DataItem.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgEnlargedOverlap.h"
#include "dialogs/DlgEnlargedWave.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "host/CommandFailure.h"
#include "host/DialogEnlargedCommand.h"
#include "host/ModalSnapshot.h"
#include "host/RecordKinds.h"

namespace host {
namespace {

const char kWaveView[] = "CViewEnlargedWave";
const char kOverlapView[] = "CViewEnlargedOverlap";
const char kOverlapDialog[] = "CDlgEnlargedOverlap";
// The opener's pixels per millimetre: a 96 dpi screen.
const double kDotsPerMM = 96.0 / 25.4;

struct EnlargedOptions {
    std::vector<std::string> files;
    std::string viewClass;
    std::string png;
    int lead = -1;         // -1: lead II, or the record's first when it has none
    int centre = 0;        // the clicked sample of a strip
    bool centreGiven = false;
    bool average = false;
};

bool ParseEnlargedOptions(int argc, char** argv, EnlargedOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if ((arg == "--view" || arg == "--png" || arg == "--lead" || arg == "--center") && !hasValue) {
            std::fprintf(stderr, "morvelance-host: %s needs a value\n", arg.c_str());
            return false;
        }
        if (arg == "--view") {
            options.viewClass = argv[++i];
        } else if (arg == "--png") {
            options.png = argv[++i];
        } else if (arg == "--lead" || arg == "--center") {
            if (!ParseLeadOrSample(arg, argv[++i], arg == "--lead" ? options.lead : options.centre)) return false;
            if (arg == "--center") options.centreGiven = true;
        } else if (arg == "--average") {
            options.average = true;
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            std::fprintf(stderr, "morvelance-host: unknown option '%s' for the enlarged views\n", arg.c_str());
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.files.empty() || options.png.empty()) {
        std::fprintf(stderr, "morvelance-host: view --view %s needs record files and --png OUT.png\n",
                     options.viewClass.c_str());
        return false;
    }
    if (options.viewClass == kOverlapView && options.files.size() > ENLARGED_OVERLAP_SLOTS) {
        std::fprintf(stderr, "morvelance-host: the overlap view compares at most %d records\n", ENLARGED_OVERLAP_SLOTS);
        return false;
    }
    return true;
}

// One lead of each record, as a double-click on the multi-lead view opens it.
int ShowEnlargedWave(const EnlargedOptions& options, const RecordOpener& open)
{
    return ForEachRecord(options.files, open, [&](CTavrionDoc& doc, size_t index) {
        int lead = -1;
        if (!ChooseRecordLead(doc, options.lead, RecordLeadII(doc), lead)) return false;
        const int length = doc.GetRhythmWaveData(lead, nullptr, -1) / 2;
        // A click past the lead's end opens no stretch of it.
        if (options.centre >= length) {
            ReportFailure("--center %d is past the record's end (lead %d has samples 0 to %d)", options.centre, lead,
                          length - 1);
            return false;
        }
        CDlgEnlargedWave dialog(options.average ? 1 : 0, 0, nullptr);
        dialog.SetDoc(&doc, doc.GetDocType());
        dialog.SetDotsPerMM(kDotsPerMM, kDotsPerMM);
        dialog.SetClickInfo(lead, options.centre, 0, length);
        dialog.SetLimbLead(lead < 6 ? 1 : 0);
        return RunModalAndSave(dialog, Numbered(options.png, index));
    });
}

// The records opened one by one, gathered into one resting and one MFER
// document and listed in a comparing document, as the serial views hold them.
class CComparedRecords {
public:
    CComparedRecords()
    {
        for (CDocument* doc : {static_cast<CDocument*>(&m_base), static_cast<CDocument*>(&m_rest),
                               static_cast<CDocument*>(&m_mfer)})
            doc->m_bAutoDelete = FALSE;
    }

    bool Add(CTavrionDoc& opened)
    {
        if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, &opened)) return AddRest(*rest);
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, &opened)) return AddMfer(*mfer);
        std::fprintf(stderr, "morvelance-host: only resting and MFER records are compared\n");
        return false;
    }
    int Count() const { return m_nCount; }
    CTavrionDoc& Base() { return m_base; }
    CRestViewDoc& Rest() { return m_rest; }
    CMFERViewDoc& Mfer() { return m_mfer; }
    bool HasRest() const { return m_bHasRest; }

private:
    void List(unsigned systemCode, const CString& file, const CString& xml, const CString& third)
    {
        auto* item = new _DATAITEM;
        item->uSystemCode = systemCode;
        item->strFilePath = file;
        item->strXMLPath = xml;
        item->strThirdKey = third;
        m_base.GetDataManager().AppendItem(item);
        m_base.SetCurDataIndex(0);
        ++m_nCount;
    }
    bool AddRest(CRestViewDoc& opened)
    {
        _RESTDATAITEM* source = opened.GetCurrentDataItem();
        if (!source) return false;
        auto* item = new _RESTDATAITEM;
        item->strFilePath = source->strFilePath;
        item->strXMLPath = source->strXMLPath;
        item->b8000File = source->b8000File;
        m_rest.GetRestDataManager().AppendItem(item);
        CString xml = item->strXMLPath;
        CString file = item->strFilePath;
        if (m_rest.OpenFile(xml, file) != 0) return false;
        m_rest.SetCurDataIndex(item->nID);
        m_bHasRest = true;
        List(item->uSystemCode, item->strFilePath, item->strXMLPath, CString());
        return true;
    }
    bool AddMfer(CMFERViewDoc& opened)
    {
        _MFERDATAITEM* source = opened.GetCurrentDataItem();
        if (!source) return false;
        auto* item = new _MFERDATAITEM;
        item->strFilePath = source->strFilePath;
        item->strXMLPath = source->strXMLPath;
        item->strThirdKey = source->strThirdKey;
        item->nLeadLayout = source->nLeadLayout;
        m_mfer.GetMFERDataManager()->AppendItem(item);
        m_mfer.SetCurDataIndex(item->nID);
        CString file = item->strFilePath;
        CString xml = item->strXMLPath;
        CString third = item->strThirdKey;
        const int code = m_mfer.OpenMFERFile(file, xml, third);
        if (code == 1 || code == 255) return false;
        List(item->uSystemCode, item->strFilePath, item->strXMLPath, item->strThirdKey);
        return true;
    }

    CTavrionDoc m_base;
    CRestViewDoc m_rest;
    CMFERViewDoc m_mfer;
    int m_nCount = 0;
    bool m_bHasRest = false;
};

}  // namespace

// One lead's average beats of every record overlapped, as the serial
// average view opens them.
int ShowOverlapDialog(const std::vector<std::string>& files, int lead, const RecordOpener& open, const std::string& png,
                      const std::function<void(CDialog&)>& prepare)
{
    CComparedRecords records;
    int failures = 0;
    // Without a lead asked for, the first record compared chooses it; every
    // record compared must have it.
    int chosen = lead;
    for (const std::string& file : files) {
        // A record without average beats would stand as an empty trace.
        std::unique_ptr<CTavrionDoc> doc;
        if (!open(file, doc) || !doc || !TakesOrSays(kOverlapDialog, *doc)) {
            std::fprintf(stderr, "morvelance-host: %s: not compared\n", file.c_str());
            ++failures;
            continue;
        }
        doc->m_bAutoDelete = FALSE;
        if (!ChooseRecordLead(*doc, chosen, RecordLeadII(*doc), chosen)) {
            ++failures;
            continue;
        }
        if (!records.Add(*doc)) {
            std::fprintf(stderr, "morvelance-host: %s: not compared\n", file.c_str());
            ++failures;
        }
    }
    // Nothing compared is no comparison: no picture of an empty grid.
    if (records.Count() == 0) {
        std::fprintf(stderr, "morvelance-host: the overlap has no record to compare\n");
        return 1;
    }
    CDlgEnlargedOverlap dialog(nullptr);
    dialog.SetDoc(&records.Base(), records.HasRest() ? DOC_TYPE_REST : DOC_TYPE_MFER);
    dialog.SetRestDoc(&records.Rest());
    dialog.SetMFERDoc(&records.Mfer());
    dialog.SetDotsPerMM(kDotsPerMM, kDotsPerMM);
    dialog.SetLeadID(chosen);
    dialog.SetCompareCount(records.Count());
    dialog.SetSensitivity(records.Base().GetSense(1, 0));
    for (int slot = 0; slot < records.Count(); ++slot) dialog.SetDataIndex(slot, slot);
    if (!SavePreparedDialog(dialog, png, prepare)) ++failures;
    return failures ? 1 : 0;
}

bool IsEnlargedViewRequest(int argc, char** argv)
{
    const char* view = RequestedView(argc, argv);
    return view && (std::strcmp(view, kWaveView) == 0 || std::strcmp(view, kOverlapView) == 0);
}

int RunEnlargedViewCommand(int argc, char** argv, const RecordOpener& open)
{
    EnlargedOptions options;
    if (!ParseEnlargedOptions(argc, argv, options)) return 2;
    // The overlap compares average beats: no strip was clicked to open it.
    const bool wave = options.viewClass == kWaveView;
    if (!OptionsTakenOrSays("view --view " + options.viewClass,
                            {{options.centreGiven, "--center", wave}, {options.average, "--average", wave}}))
        return 1;
    if (options.viewClass == kOverlapView) return ShowOverlapDialog(options.files, options.lead, open, options.png, nullptr);
    return ShowEnlargedWave(options, open);
}

}  // namespace host
