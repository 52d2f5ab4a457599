#include "host/ReportCommand.h"

#include <dirent.h>
#include <stdlib.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "documents/RRViewDoc.h"
#include "host/CommandFailure.h"
#include "host/HostReportRhythmRR.h"
#include "host/HostReportExtra.h"
#include "host/HostReportSerial.h"
#include "host/HostReportWave.h"
#include "host/OutputFolder.h"
#include "host/PaneKinds.h"
#include "host/PdfJobFolder.h"
#include "host/RecordKinds.h"
#include "host/PrinterJobWatch.h"
#include "host/SerialRecordSet.h"
#include "host/ViewCommand.h"
#include "platform/base/CodePage.h"
#include "platform/base/Registry.h"
#include "platform/print/PrintSetup.h"
#include "printdevice/ECGPrinter.h"

namespace host {

namespace {

// The annotated pages are printed from the annotation mode a person draws
// them in: in the measuring mode the views leave their annotations out, and
// the annotated report would print without what it is for.
void AnnotationMode(CTavrionDoc& doc)
{
    const int kDrawAnnotations = 2;
    doc.SetMouseMode(kDrawAnnotations);
}

enum class Output { None, Pdf, Pcl, Lips, Printer };

struct ReportOptions {
    std::vector<std::string> files;
    std::string report;
    bool anno = false;
    int style = 0;
    bool styleGiven = false;
    Output output = Output::None;
    std::string pdf;
    bool strip = false;    // --strip: the one-lead strip under the waves
    std::string printer;   // --printer: a queue of the registry or a CUPS destination; through GDI, or
                           // with --pcl / --lips the raw job
    int rawGiven = 0;      // how many of --pcl and --lips were given
};

// The reports the host prints today, with the titles of their pages.
struct ReportName {
    const char* name;
    const wchar_t* title;
};
const ReportName kReports[] = {
    {"rest-wave", L"安静時心電図"},
    {"rest-ame", L""},   // the block names its page by the record's leads
    {"rest-interpre", L""},   // the block names its page
    {"rhythm-wave", L"リズム心電図"},
    {"rhythm-comment", L""},   // the block names its pages
    {"rr-wave", L"RR心電図"},
    {"rr-result", L""},
    {"rr-list", L""},
    {"extra-wave", L"追加誘導心電図"},
    {"extra-comment", L""},   // the block names its page
};

const wchar_t kPclQueue[] = L"Morvelance PCL";
const wchar_t kLipsQueue[] = L"Morvelance LIPS";

const wchar_t* ReportTitle(const std::string& name)
{
    for (const ReportName& report : kReports)
        if (name == report.name) return report.title;
    return nullptr;
}

bool ParseOptions(int argc, char** argv, ReportOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool valued = arg == "--report" || arg == "--style" || arg == "--pdf" || arg == "--printer";
        if (valued && i + 1 >= argc) {
            std::fprintf(stderr, "morvelance-host: %s needs a value\n", arg.c_str());
            return false;
        }
        if (arg == "--report") options.report = argv[++i];
        else if (arg == "--style") {
            if (!TakeNumberOption(argc, argv, i, 0, 100000, "--style takes a style number", options.style))
                return false;
            options.styleGiven = true;
        }
        else if (arg == "--pdf") options.output = Output::Pdf, options.pdf = argv[++i];
        else if (arg == "--pcl") options.output = Output::Pcl, ++options.rawGiven;
        else if (arg == "--lips") options.output = Output::Lips, ++options.rawGiven;
        else if (arg == "--printer") {
            options.printer = argv[++i];
            if (options.output == Output::None) options.output = Output::Printer;
        }
        else if (arg == "--anno") options.anno = true;
        else if (arg == "--strip") options.strip = true;
        else if (arg.rfind("--", 0) == 0) {
            std::fprintf(stderr, "morvelance-host: unknown option '%s'\n", arg.c_str());
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    if (!ReportTitle(options.report) && !IsSerialReport(options.report)) {
        std::fprintf(stderr,
                     "morvelance-host: no report '%s' (rest-wave, rest-ame, rest-interpre, rhythm-wave, "
                     "rhythm-comment, rr-wave, rr-result, rr-list, extra-wave, extra-comment, "
                     "serial-ave-mix, serial-ave-ex, serial-rhy)\n",
                     options.report.c_str());
        return false;
    }
    if (options.output == Output::None) {
        std::fprintf(stderr, "morvelance-host: print --report needs --pdf OUT.pdf, --pcl, --lips or --printer QUEUE\n");
        return false;
    }
    // One job goes one way: into a PDF, or as a raw job (--pcl, --lips) or
    // pages to a printer; the other would never be written.
    if (options.rawGiven > 1 || (!options.pdf.empty() && (options.rawGiven || !options.printer.empty()))) {
        std::fprintf(stderr, "morvelance-host: print --report writes one of --pdf OUT.pdf, --pcl, --lips (each with "
                             "or without --printer QUEUE) and --printer QUEUE\n");
        return false;
    }
    if (options.files.empty()) {
        std::fprintf(stderr, "morvelance-host: print needs at least one record file\n");
        return false;
    }
    return true;
}

// The keys of the document's current record: its file, record XML and third key.
struct RecordKeys {
    CString file;
    CString xml;
    CString third;
    bool mfer = false;
};

template <class Item> RecordKeys KeysOf(const Item* item, bool mfer = false)
{
    RecordKeys keys;
    if (!item) return keys;
    keys.file = item->strFilePath;
    keys.xml = item->strXMLPath;
    keys.third = item->strThirdKey;
    keys.mfer = mfer;
    return keys;
}

RecordKeys CurrentRecordKeys(CTavrionDoc& doc)
{
    if (auto* rest = dynamic_cast<CRestViewDoc*>(&doc)) return KeysOf(rest->GetCurrentDataItem());
    if (auto* rhythm = dynamic_cast<CRhythmViewDoc*>(&doc)) return KeysOf(rhythm->GetCurrentDataItem());
    if (auto* rr = dynamic_cast<CRRViewDoc*>(&doc)) return KeysOf(rr->GetCurrentDataItem());
    if (auto* mfer = dynamic_cast<CMFERViewDoc*>(&doc)) return KeysOf(mfer->GetCurrentDataItem(), true);
    if (auto* extra = dynamic_cast<CExtraViewDoc*>(&doc)) return KeysOf(extra->GetCurrentDataItem());
    return RecordKeys();
}

// The mask that lets a report print the record's additions: the current
// item's additions flag, which its pages AND with the layout's visibility of
// the additions, as the interpretation forms show them.
int AdditionsMask(CTavrionDoc& doc)
{
    const _ADDITIONAL_INFO* addition = nullptr;
    if (auto* rest = dynamic_cast<CRestViewDoc*>(&doc)) {
        if (_RESTDATAITEM* item = rest->GetCurrentDataItem()) addition = &item->stAddition;
    } else if (auto* rhythm = dynamic_cast<CRhythmViewDoc*>(&doc)) {
        if (_RHYTHMDATAITEM* item = rhythm->GetCurrentDataItem()) addition = &item->stAddition;
    } else if (auto* rr = dynamic_cast<CRRViewDoc*>(&doc)) {
        if (_RRDATAITEM* item = rr->GetCurrentDataItem()) addition = &item->stAddition;
    } else if (auto* mfer = dynamic_cast<CMFERViewDoc*>(&doc)) {
        if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) addition = &item->stAddition;
    } else if (auto* extra = dynamic_cast<CExtraViewDoc*>(&doc)) {
        if (_EXTRADATAITEM* item = extra->GetCurrentDataItem()) addition = &item->stAddition;
    } else if (auto* final = dynamic_cast<CFinalViewDoc*>(&doc)) {
        if (_FINALDATAITEM* item = final->GetCurrentDataItem()) addition = &item->stAddition;
    }
    return addition && addition->bPresent ? 1 : 0;
}

// Gives the record XML name the library makes for a record that has none,
// from the record's path alone.
class RecordXmlNamer : public CTavrionDoc {
public:
    CString NameFor(const CString& source, bool mfer) { return CreateRawFileName(source, mfer ? 1 : 0); }
};

// The record XML of the document's current record. A record that came
// without one (most MFER files do) prints from the record alone: the report
// is given the record XML the library names for such a record, which is not
// there yet, so it reads nothing from it and nothing is written. The name
// comes from the record's path: the record is not read a second time for it,
// which a long record may not have the memory for.
CString RecordXmlPath(CTavrionDoc& doc)
{
    const RecordKeys keys = CurrentRecordKeys(doc);
    if (!keys.xml.IsEmpty() || keys.file.IsEmpty()) return keys.xml;
    RecordXmlNamer namer;
    namer.SetTempStorePath(doc.GetTempStorePath());
    return namer.NameFor(keys.mfer && !keys.third.IsEmpty() ? keys.third : keys.file, keys.mfer);
}

// What a print job is called while the report prints (its spool file and
// its job in the print service): the record and the report, so that jobs
// of one queue can be told apart. The library's reports name none.
class JobName {
public:
    JobName(const std::string& record, const std::string& report)
    {
        const size_t slash = record.rfind('/');
        const std::string file = slash == std::string::npos ? record : record.substr(slash + 1);
        platform::print::SetUnnamedDocumentName(platform::FromUtf8(file + " " + report));
    }
    ~JobName() { platform::print::SetUnnamedDocumentName(std::wstring()); }
    JobName(const JobName&) = delete;
    JobName& operator=(const JobName&) = delete;
};

std::string FirstPdf(const std::string& folder)
{
    std::string found;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".pdf") == 0) found = folder + "/" + name;
        }
        closedir(dir);
    }
    return found;
}

// The queue a job goes to: the PDF printer in a registry of the job's own
// (the user's printer with its port turned to the job's folder, or one the
// job installs there), or a raw queue of the host's registry. Hosts printing
// reports at the same time each have their own printer and folder: none
// removes or redirects another's.
class ReportQueue {
public:
    ReportQueue(Output output, const std::string& printer)
        : m_output(output), m_queue(QueueName(output, printer)), m_named(!printer.empty())
    {
    }

    bool SetUp(CECGPrinter& printer)
    {
        m_work.path = MakeTempFolder();
        if (m_work.path.empty()) return false;
        printer.SetPageSize(9, 2);
        printer.SetPrintMargin(10, 10, 10, 10);
        if (m_output == Output::Pdf) return SetUpPdf(printer);
        if (m_output != Output::Printer && !m_named) {
            // The raw queues are the host's own: named in its registry on first use.
            platform::print::PrinterSetup setup;
            setup.name = m_queue;
            setup.paperSize = 9;
            setup.orientation = 2;
            if (!platform::print::ConfigurePrinter(setup)) return false;
            // Spool queues of the registry: the print service has no part in their jobs.
            m_aside.reset(new platform::print::PrintServiceAside);
        }
        printer.SetPrinterName(CString(m_queue.c_str()));
        printer.SetPrintType(m_output == Output::Pcl ? 3 : m_output == Output::Lips ? 5 : 1);
        m_watch.reset(new PrinterJobWatch(m_queue));
        return true;
    }

    // Where the job went: the PDF moved to `pdf`, or the raw job's spool file.
    bool Deliver(const std::string& pdf)
    {
        if (m_output == Output::Pdf) {
            const std::string made = FirstPdf(m_work.path + "/saved");
            if (made.empty() || !MakeFolderOf(pdf) || !MoveFinishedFile(made, pdf)) return false;
            std::printf("%s\n", pdf.c_str());
            return true;
        }
        return m_watch && m_watch->Report();
    }

private:
    bool SetUpPdf(CECGPrinter& printer)
    {
        if (!m_registry.Enter(m_work.path + "/registry.reg") || !InstallPdfPrinter(m_work.path)) return false;
        printer.SetPrinterName(CString(platform::print::kPdfPrinterName));
        printer.SetPDFSavePath(CString(platform::FromUtf8(m_work.path + "/saved/").c_str()));
        return true;
    }

    static std::wstring QueueName(Output output, const std::string& printer)
    {
        if (!printer.empty() || output == Output::Printer) return platform::FromUtf8(printer);
        if (output == Output::Pcl) return kPclQueue;
        return kLipsQueue;
    }

    Output m_output;
    std::wstring m_queue;
    JobFolder m_work;         // removed last, the job's registry with it
    JobRegistry m_registry;   // entered for a PDF job only
    bool m_named;             // --printer: the queue is the user's, not the host's own raw queue
    std::unique_ptr<PrinterJobWatch> m_watch;   // a print to a queue: where its job went
    std::unique_ptr<platform::print::PrintServiceAside> m_aside;   // the host's own raw queues
};

// The print layout tables of the record's kind, as a host loads them
// before its first report. The resting pages (rest-ame, rest-interpre) print
// a rhythm record too, through the resting and US-style tables, which its own
// kind's table does not bring.
void LoadPrintLayout(CTavrionDoc& doc, const std::string& report = std::string())
{
    static const _LOAD_POSITION_TYPE kPrintLayout[] = {
        LOAD_POS_REST_PRINT,  LOAD_POS_FINAL_PRINT, LOAD_POS_RHYTHM_PRINT, LOAD_POS_RR_PRINT,
        LOAD_POS_EXTRA_PRINT, LOAD_POS_EXER_PRINT,  LOAD_POS_REST_PRINT,
    };
    const int kind = doc.GetDocType();
    if (kind >= 0 && kind <= 6) doc.GetCtrlPosFromXSL(kPrintLayout[kind]);
    const bool restPage = report == "rest-ame" || report == "rest-interpre";
    if (restPage && (kind < 0 || kind > 6 || kPrintLayout[kind] != LOAD_POS_REST_PRINT))
        doc.GetCtrlPosFromXSL(LOAD_POS_REST_PRINT);
}

// Whether the report draws the record in the style given (said when not):
// the wave pages in the multi-lead view's wave styles, the rhythm comment
// page in its pane's page styles; the others (the interpretation page too,
// whose strip keeps its own layout) have one layout and no style.
bool ReportTakesStyleOrSays(const std::string& report, int style, CTavrionDoc& doc)
{
    if (report == "rhythm-comment") {
        for (const PaneKind& kind : AllPaneKinds())
            if (std::strcmp(kind.name, "CWndRhythmComment") == 0)
                return PageStyleOrSays("the " + report + " report", StylesOn(kind, doc), style, &doc);
    }
    if (report == "rest-interpre" || report == "rr-result" || report == "rr-list" || report == "rhythm-comment")
        return PageStyleOrSays("the " + report + " report", {}, style, &doc);
    return WaveStyleOrSays("the " + report + " report", style, doc);
}

bool PrintOneReport(CTavrionDoc& doc, const ReportOptions& options, const std::string& record, const std::string& pdf)
{
    const bool rhythmRR = IsRhythmRRReport(options.report);
    if (const char* refused = rhythmRR ? RhythmRRReportRefusal(options.report, doc) : nullptr) {
        std::fprintf(stderr, "morvelance-host: %s\n", refused);
        return false;
    }
    // Each report prints the records its pages show, by the host's one rule.
    const std::string refusal = ReportRefusalOf(options.report, doc);
    if (!refusal.empty()) {
        std::fprintf(stderr, "morvelance-host: %s\n", refusal.c_str());
        return false;
    }
    if (options.styleGiven && !ReportTakesStyleOrSays(options.report, options.style, doc)) return false;
    NoteReportLeavesOut(options.report, doc);
    LoadPrintLayout(doc, options.report);
    const JobName name(record, options.report);
    ReportQueue queue(options.output, options.printer);
    CECGPrinter printer;
    if (!queue.SetUp(printer)) return false;
    ReportSetup setup;
    setup.doc = &doc;
    setup.docType = doc.GetDocType();
    setup.printer = &printer;
    setup.style = options.style;
    setup.usStyle = options.report == "rest-ame";
    setup.strip = options.strip;
    setup.interpre = options.report == "rest-interpre";
    setup.visibleMask = AdditionsMask(doc);
    const CString xml = RecordXmlPath(doc);
    const wchar_t* title = ReportTitle(options.report);
    BOOL printed;
    if (rhythmRR) {
        printed = PrintRhythmRRReport(options.report, setup, xml);
    } else if (IsExtraReport(options.report)) {
        CHostExtraReport report(setup, title, options.report == "extra-comment");
        printed = report.Print(xml);
    } else if (options.anno) {
        AnnotationMode(doc);
        CHostWaveAnnoReport report(setup, title);
        printed = report.Print(xml);
    } else {
        CHostWaveReport report(setup, title);
        printed = report.Print(xml);
    }
    return printed && queue.Deliver(pdf);
}

// A serial comparison: every file at once in one report, the first the current record.
bool PrintSerialReport(const ReportOptions& options, const RecordOpener& open)
{
    SerialRecordSet records;
    if (!records.OpenAll(options.files, open, true)) return false;
    CTavrionDoc& doc = records.kind == DOC_TYPE_MFER ? static_cast<CTavrionDoc&>(records.mfer)
                                                     : static_cast<CTavrionDoc&>(records.rest);
    for (CTavrionDoc* fonts : {&records.base, static_cast<CTavrionDoc*>(&records.rest),
                               static_cast<CTavrionDoc*>(&records.mfer)})
        fonts->InitGlobalData();
    LoadPrintLayout(doc);
    const JobName name(options.files.front(), options.report);
    ReportQueue queue(options.output, options.printer);
    CECGPrinter printer;
    if (!queue.SetUp(printer)) return false;
    ReportSetup setup;
    setup.doc = &doc;
    setup.docType = doc.GetDocType();
    setup.printer = &printer;
    setup.visibleMask = AdditionsMask(doc);
    const CString xml = RecordXmlPath(doc);
    BOOL printed;
    if (options.anno) {
        AnnotationMode(doc);
        CHostSerialAnnoReport report(setup, records, options.report);
        printed = report.Print(xml);
    } else {
        CHostSerialReport report(setup, records, options.report);
        printed = report.Print(xml);
    }
    return printed && queue.Deliver(options.pdf);
}

}  // namespace

bool IsReportRequest(int argc, char** argv)
{
    for (int i = 0; i < argc; ++i)
        if (std::strcmp(argv[i], "--report") == 0) return true;
    return false;
}

// The reports that print an annotated twin, and those whose wave page
// prints the one-lead strip under the waves when asked (the interpretation
// page always prints its own).
bool HasAnnotatedForm(const std::string& report)
{
    return report == "rest-wave" || report == "rest-ame" || report == "rest-interpre" || report == "rhythm-wave" ||
           report == "rr-wave" || IsSerialReport(report);
}

bool TakesStripOption(const std::string& report)
{
    return report == "rest-wave" || report == "rest-ame" || report == "rhythm-wave" || report == "rr-wave" ||
           IsExtraReport(report);
}

int RunReportCommand(int argc, char** argv, const RecordOpener& open)
{
    ReportOptions options;
    if (!ParseOptions(argc, argv, options)) return 2;
    if (options.anno && !HasAnnotatedForm(options.report)) {
        ReportFailure("the %s report takes no --anno: it has no annotated form (--anno prints rest-wave, rest-ame, "
                      "rest-interpre, rhythm-wave, rr-wave and the serial comparisons)",
                      options.report.c_str());
        return 1;
    }
    if (!OptionsTakenOrSays("the " + options.report + " report",
                            {{options.strip, "--strip", TakesStripOption(options.report)}}))
        return 1;
    if (IsSerialReport(options.report)) {
        // The comparison's pages are laid out by the report named.
        if (options.styleGiven) {
            std::fprintf(stderr, "morvelance-host: --style %d: the %s report takes no --style\n", options.style,
                         options.report.c_str());
            return 1;
        }
        if (PrintSerialReport(options, open)) return 0;
        std::fprintf(stderr, "morvelance-host: the serial comparison could not be printed\n");
        return 1;
    }
    return ForEachRecord(options.files, open, [&](CTavrionDoc& doc, size_t index) {
        if (PrintOneReport(doc, options, options.files[index], Numbered(options.pdf, index))) return true;
        std::fprintf(stderr, "morvelance-host: %s: the report could not be printed\n", options.files[index].c_str());
        return false;
    });
}

}  // namespace host
