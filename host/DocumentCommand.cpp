// The host's "open" command: what a host does to show an examination. It
// chooses the examination document by the record's system code, creates it
// by class name, adds an item for the record and its record XML, opens it,
// and reads what the views would show: the leads of the current
// record, its lead count and its display settings.
#include "host/DocumentCommand.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/TavrionDoc.h"
#include "documents/ExerViewDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "host/CommandFailure.h"
#include "host/LeadSamples.h"
#include "platform/base/CodePage.h"
#include "platform/base/File.h"
#include "platform/base/PathNames.h"
#include "platform/mfer/MFERParser.h"

namespace host {
namespace {

// The open command reports what the views get; the view and print commands
// open quietly and keep the document.
bool g_quiet = false;

void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* format, ...)
{
    if (g_quiet) return;
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
}

std::string Utf8(const CString& text)
{
    return platform::ToUtf8(text.str());
}

// A path as the host was given it (UTF-8 bytes) as the library takes it.
CString LibraryPath(const std::string& path)
{
    return CString(platform::HostPath(path).c_str());
}

}  // namespace

const char* DocumentClassFor(unsigned systemCode)
{
    switch (systemCode) {
    case 0xFFFA: case 0xFFFC: case 0xFFFD: return "CExerViewDoc";
    default: break;
    }
    switch (systemCode & 0xFF) {
    case 10: case 245: case 246: case 38: case 217: case 218: return "CRhythmViewDoc";
    case 5: return "CRRViewDoc";
    case 26: case 229: case 230: case 28: return "CExtraViewDoc";
    case 243: case 244: return "CFinalViewDoc";
    default: return "CRestViewDoc";
    }
}

namespace {

// The document the class name creates, owned by the caller; null (and a
// message) when the library has no such class or it is another kind.
template <class Doc> std::unique_ptr<Doc> Create(const char* className)
{
    std::unique_ptr<CObject> object(CRuntimeClass::CreateObject(className));
    Doc* doc = DYNAMIC_DOWNCAST(Doc, object.get());
    if (!doc) {
        std::fprintf(stderr, "morvelance-host: the library has no %s\n", className);
        return nullptr;
    }
    object.release();
    return std::unique_ptr<Doc>(doc);
}

// A device record without its record XML yet gets the name the base
// document gives one (the file's stem and the time), as an MFER file gets
// its own: it is named, not written, and the first save makes it. Without a
// name, nothing typed on the record could be saved.
CString NameRecordXmlToBeMade(const CString& file)
{
    CTavrionDoc probe;
    auto* item = new _DATAITEM;
    item->strFilePath = file;
    probe.GetDataManager().AppendItem(item);
    CString xml, path = file;
    probe.OpenFile(xml, path);
    return item->strXMLPath;
}

}  // namespace

// The HL7 aECG header beside an MFER file (NAME.hl7.xml) when there is one,
// as the host's file list finds it. Named as the item's third key, the
// document reads the patient from it as the list does: a file without its
// record XML yet shows, and first writes, the patient the list showed.
CString Hl7HeaderBeside(const std::string& record)
{
    const size_t slash = record.rfind('/');
    const size_t dot = record.rfind('.');
    const std::string stem = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                                 ? record
                                 : record.substr(0, dot);
    const CString header = LibraryPath(stem + ".hl7.xml");
    const DWORD attributes = GetFileAttributes(header);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) ? header : CString();
}

namespace {

template <class Item> Item* NewItem(const RecordFiles& files)
{
    auto* item = new Item;
    item->strFilePath = LibraryPath(files.record);
    item->strXMLPath = LibraryPath(files.xml);
    return item;
}

template <class Item> Item* NewDeviceItem(const RecordFiles& files)
{
    Item* item = NewItem<Item>(files);
    if (files.xml.empty()) item->strXMLPath = NameRecordXmlToBeMade(item->strFilePath);
    return item;
}

// Every lead as a view gets it, filtered by the document (MFER files as
// well), and its range in mV at the document's sample resolution. Returns
// the number of leads shown, or -1 when a lead the record holds could not
// be read (each such lead has been reported).
int PrintLeads(CTavrionDoc& doc, int leadCount, double microvoltsPerUnit)
{
    Say("  leads");
    int shown = 0;
    bool missing = false;
    for (int lead = 0; lead < leadCount; ++lead) {
        const SharedSamples samples = ReadLeadSamples(doc, lead);
        if (!samples) {
            const int bytes = doc.GetRhythmWaveData(lead, nullptr, -1);
            if (bytes > 1) {
                ReportFailure("lead #%d (%d samples) could not be read: more than the memory there is", lead, bytes / 2);
                missing = true;
            }
            continue;
        }
        const short* first = samples.samples.get();
        const auto range = std::minmax_element(first, first + samples.count);
        Say("%s#%d:%zu [%.2f..%.2f mV]", shown % 4 ? "  " : "\n    ", lead, samples.count,
                    *range.first * microvoltsPerUnit / 1000.0, *range.second * microvoltsPerUnit / 1000.0);
        ++shown;
    }
    Say("%s\n", shown ? "" : " none");
    return missing ? -1 : shown;
}

// A record whose document shows no lead, or not every lead it holds, was
// not opened, whatever the document answered.
bool ShowsLeads(int shown, const RecordFiles& files)
{
    if (shown > 0) return true;
    if (shown < 0) return false;   // the missing leads were reported
    std::fprintf(stderr, "morvelance-host: %s: the document shows no lead of the record\n", files.record.c_str());
    return false;
}

// The sensitivities of two sense ids (0 chest, 1 limb, 2 rhythm strip, 4 and
// 5 the extra-lead groups), in mm/mV.
void PrintSettings(CTavrionDoc& doc, UINT first = 1, UINT second = 0)
{
    Say("  display         %.1f mm/s, filter %d Hz, sense mode %u, sense %u: %.1f, sense %u: %.1f mm/mV\n",
                doc.GetSpeed(), doc.GetFilter(), doc.GetSenseMode(), first, doc.GetSense(first, 0), second,
                doc.GetSense(second, 0));
}

// Adds the item, opens it and makes it current; false (with a message) when
// the document refuses the record.
template <class Doc, class Item>
bool OpenItem(Doc& doc, CDataManager<Item>& list, Item* item)
{
    list.AppendItem(item);
    CString xml = item->strXMLPath;
    CString file = item->strFilePath;
    const int result = doc.OpenFile(xml, file);
    if (result != 0) {
        // Named as the host was given it: a document that refuses a record may drop its item.
        const std::string cause = TakeLibraryMessage();
        ReportFailure("the document refused the record (%d)%s%s", result, cause.empty() ? "" : ": ", cause.c_str());
        return false;
    }
    doc.SetCurDataIndex(item->nID);
    doc.UpDateReferenceInfo(item->strXMLPath);
    return true;
}

void PrintHeader(const RecordFiles& files, const CString& xml, const char* className, CTavrionDoc& doc)
{
    Say("%s\n", files.record.c_str());
    Say("  document        %s (kind %d)\n", className, doc.GetDocType());
    Say("  record XML      %s%s\n", Utf8(xml).c_str(), files.xml.empty() ? " (to be made)" : "");
}

bool OpenRest(const RecordFiles& files, std::unique_ptr<CTavrionDoc>* keep)
{
    std::unique_ptr<CRestViewDoc> doc = Create<CRestViewDoc>("CRestViewDoc");
    if (!doc) return false;
    _RESTDATAITEM* item = NewDeviceItem<_RESTDATAITEM>(files);
    item->b8000File = files.olderReader ? 1 : 0;
    bool ok = OpenItem(*doc, doc->GetRestDataManager(), item);
    if (ok) {
        PrintHeader(files, item->strXMLPath, "CRestViewDoc", *doc);
        PrintSettings(*doc);
        ok = ShowsLeads(PrintLeads(*doc, doc->GetCurItemLeadCount(), 1.25), files);
        int averages = 0;
        for (int lead = 0; lead < 15; ++lead)
            if (doc->GetAverageWaveData(lead, nullptr, -1) > 0) ++averages;
        Say("  average beats   %d leads, page style %d, pacemaker %s\n", averages, doc->GetPageStyle(),
                    doc->IfPaceMakerON() ? "on" : "off");
    }
    if (ok && keep) *keep = std::move(doc);
    return ok;
}

bool OpenRhythm(const RecordFiles& files, std::unique_ptr<CTavrionDoc>* keep)
{
    std::unique_ptr<CRhythmViewDoc> doc = Create<CRhythmViewDoc>("CRhythmViewDoc");
    if (!doc) return false;
    _RHYTHMDATAITEM* item = NewDeviceItem<_RHYTHMDATAITEM>(files);
    item->nLeadCount = files.leadCount;
    bool ok = OpenItem(*doc, *doc->GetRhythmDataManager(), item);
    if (ok) {
        PrintHeader(files, item->strXMLPath, "CRhythmViewDoc", *doc);
        PrintSettings(*doc);
        ok = ShowsLeads(PrintLeads(*doc, doc->GetCurItemLeadCount(), 1.25), files);
        Say("  pages           %d at %.1f mm/s\n", doc->GetRhythmWaveTotalPage(260, 0) + 1, doc->GetSpeed());
    }
    if (ok && keep) *keep = std::move(doc);
    return ok;
}

bool OpenRR(const RecordFiles& files, std::unique_ptr<CTavrionDoc>* keep)
{
    std::unique_ptr<CRRViewDoc> doc = Create<CRRViewDoc>("CRRViewDoc");
    if (!doc) return false;
    _RRDATAITEM* item = NewDeviceItem<_RRDATAITEM>(files);
    item->nLeadCount = files.leadCount;
    bool ok = OpenItem(*doc, *doc->GetRRDataManager(), item);
    if (ok) {
        PrintHeader(files, item->strXMLPath, "CRRViewDoc", *doc);
        PrintSettings(*doc);
        ok = ShowsLeads(PrintLeads(*doc, doc->GetCurItemLeadCount(), 1.25), files);
        Say("  pages           %d\n", doc->GetRhythmWaveTotalPage(260, 0) + 1);
    }
    if (ok && keep) *keep = std::move(doc);
    return ok;
}

bool OpenExtra(const RecordFiles& files, std::unique_ptr<CTavrionDoc>* keep)
{
    std::unique_ptr<CExtraViewDoc> doc = Create<CExtraViewDoc>("CExtraViewDoc");
    if (!doc) return false;
    _EXTRADATAITEM* item = NewDeviceItem<_EXTRADATAITEM>(files);
    // The item comes with its lead layout, the count the file list shows: the
    // document reads the record XML's settings when it opens the item, and the
    // second set's and the rhythm strip's sensitivities only for the layouts
    // that have them.
    item->nLeadType = files.leadCount;
    bool ok = OpenItem(*doc, *doc->GetExtraDataManager(), item);
    if (ok) {
        PrintHeader(files, item->strXMLPath, "CExtraViewDoc", *doc);
        PrintSettings(*doc, 4, 5);
        // The one-lead strip keeps a sensitivity of its own.
        if (item->stExtraInfo.bRhythm)
            Say("  rhythm strip    lead #%d, sense %.1f mm/mV\n", doc->GetRhythm1LeadID(),
                doc->GetSense(CExtraViewDoc::SENSE_STORED_RHYTHM, 0));
        // The extra leads by lead index, and the rhythm strip after them when the record has one.
        ok = ShowsLeads(PrintLeads(*doc, doc->GetCurItemLeadCount(), 1.25), files);
    }
    if (ok && keep) *keep = std::move(doc);
    return ok;
}

bool OpenFinal(const RecordFiles& files, std::unique_ptr<CTavrionDoc>* keep)
{
    std::unique_ptr<CFinalViewDoc> doc = Create<CFinalViewDoc>("CFinalViewDoc");
    if (!doc) return false;
    _FINALDATAITEM* item = NewDeviceItem<_FINALDATAITEM>(files);
    const bool ok = OpenItem(*doc, doc->GetFinalDataManager(), item);
    if (ok) {
        PrintHeader(files, item->strXMLPath, "CFinalViewDoc", *doc);
        PrintSettings(*doc);
        int blocks = 0;
        for (int index = -2; index < 32; ++index)
            if (doc->GetAverageWaveData(index, nullptr, -1) > 0) ++blocks;
        Say("  average blocks  %d (rest, descent and post-load comparisons)\n", blocks);
    }
    if (ok && keep) *keep = std::move(doc);
    return ok;
}

bool OpenExer(const RecordFiles& files, std::unique_ptr<CTavrionDoc>* keep)
{
    std::unique_ptr<CExerViewDoc> doc = Create<CExerViewDoc>("CExerViewDoc");
    if (!doc) return false;
    _EXERDATAITEM* item = NewDeviceItem<_EXERDATAITEM>(files);
    const bool ok = OpenItem(*doc, doc->GetExerDataManager(), item);
    if (ok) {
        PrintHeader(files, item->strXMLPath, "CExerViewDoc", *doc);
        PrintSettings(*doc);
        Say("  averages        %d in exercise, %d in recovery, every %d s\n", item->nExerAveCount,
                    item->nPostAveCount, item->nBlockInterval);
        Say("  stored strips   %d in exercise, %d in recovery\n", item->nExerMemCount, item->nPostMemCount);
        const int bytes = doc->GetRestWave(1, nullptr, 0);
        Say("  rest beat       %d samples of lead II\n", bytes > 0 ? bytes / 2 : 0);
    }
    if (ok && keep) *keep = std::move(doc);
    return ok;
}

}  // namespace

bool OpenDeviceRecord(const RecordFiles& files, unsigned systemCode, std::unique_ptr<CTavrionDoc>* keep)
{
    g_quiet = keep != nullptr;
    const std::string className = DocumentClassFor(systemCode);
    if (className == "CRhythmViewDoc") return OpenRhythm(files, keep);
    if (className == "CRRViewDoc") return OpenRR(files, keep);
    if (className == "CExtraViewDoc") return OpenExtra(files, keep);
    if (className == "CFinalViewDoc") return OpenFinal(files, keep);
    if (className == "CExerViewDoc") return OpenExer(files, keep);
    return OpenRest(files, keep);
}

bool OpenMferRecord(const RecordFiles& files, std::unique_ptr<CTavrionDoc>* keep)
{
    g_quiet = keep != nullptr;
    std::unique_ptr<CMFERViewDoc> doc = Create<CMFERViewDoc>("CMFERViewDoc");
    if (!doc) return false;
    // The file's kind decides the lead layout of the item the host adds.
    CTavrionDoc probe;
    CString file = LibraryPath(files.record), probeXml, third;
    _DATAITEM* probeItem = new _DATAITEM;
    probeItem->strFilePath = file;
    probe.GetDataManager().AppendItem(probeItem);
    const int kind = probe.OpenMFERFile(file, probeXml, third);
    if (kind == 1 || kind == 255) {
        // The reader's own refusal (too large, cut short, ...) is the real cause when there is one.
        CMFERParser reader;
        if (!reader.OpenMFER(file)) {
            ReportMferRefusal(files.record, reader.GetStatus());
        } else {
            std::fprintf(stderr, "morvelance-host: %s: no examination kind for this MFER file\n", files.record.c_str());
        }
        return false;
    }
    auto* item = NewItem<_MFERDATAITEM>(files);
    // A file without its record XML yet gets the one the probe named for it:
    // the document reads the file's lead names only for a record that has an
    // XML name, whether or not the file is there. It is named, not written;
    // a save makes it.
    if (files.xml.empty()) item->strXMLPath = probeXml;
    item->strThirdKey = third = Hl7HeaderBeside(files.record);
    item->nLeadLayout = CMFERViewDoc::GetLeadLayoutBySystemCode(kind);
    doc->GetMFERDataManager()->AppendItem(item);
    doc->SetCurDataIndex(item->nID);
    CString xml = item->strXMLPath;
    const int code = doc->OpenMFERFile(file, xml, third);
    bool ok = code != 1 && code != 255;
    if (!ok) {
        // Read a second time, the file may find the memory gone: the reader's cause says so.
        const MferStatus status = item->pMFERParser ? item->pMFERParser->GetStatus() : MferStatus::Ok;
        if (status != MferStatus::Ok)
            std::fprintf(stderr, "morvelance-host: %s: the document refused the file (%d): %ls\n", files.record.c_str(),
                         code, CMFERParser::StatusText(status));
        else
            std::fprintf(stderr, "morvelance-host: %s: the document refused the file (%d)\n", files.record.c_str(), code);
    } else {
        doc->UpDateReferenceInfo(item->strXMLPath);
        Say("%s\n", files.record.c_str());
        Say("  document        CMFERViewDoc (kind %d), MFER kind 0x%04X\n", doc->GetDocType(), kind & 0xFFFF);
        Say("  record XML      %s\n", Utf8(item->strXMLPath).c_str());
        PrintSettings(*doc);
        Say("  rate            %.1f Hz, %.3f uV per unit\n", item->pMFERParser->GetSamplingFrequency(),
                    item->pMFERParser->GetMeasureSense());
        ok = ShowsLeads(PrintLeads(*doc, doc->GetCurItemLeadCount(), item->pMFERParser->GetMeasureSense()), files);
    }
    if (ok && keep) *keep = std::move(doc);
    return ok;
}

}  // namespace host
