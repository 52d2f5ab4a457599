#include "host/MeasurementViewCommand.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "analysisviews/ViewDetailedMeas.h"
#include "analysisviews/ViewQRSNo.h"
#include "analysisviews/ViewQRSType.h"
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "documents/RestViewDoc.h"
#include "host/CommandFailure.h"
#include "host/OutputFolder.h"
#include "platform/base/Kernel.h"

namespace host {
namespace {

const char* const kMeasurementViews[] = {"CViewDetailedMeas", "CViewQRSNo", "CViewQRSType"};

struct MeasurementOptions {
    std::vector<std::string> files;
    std::string viewClass;
    std::string png;
    std::string pdf;
    int width = 1920;
    int height = 1080;
    int first = 0;   // QRS number table: the first beat shown, from 0
    bool firstGiven = false;
    bool sized = false;   // --size given
};

const char* OptionValue(int argc, char** argv, int& i)
{
    if (i + 1 >= argc) {
        std::fprintf(stderr, "morvelance-host: %s needs a value\n", argv[i]);
        return nullptr;
    }
    return argv[++i];
}

bool ParseMeasurementOptions(const std::string& command, int argc, char** argv, MeasurementOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = nullptr;
        if (arg == "--view" || arg == "--png" || arg == "--pdf" || arg == "--size" || arg == "--first") {
            if (!(value = OptionValue(argc, argv, i))) return false;
        }
        if (arg == "--view") {
            options.viewClass = value;
        } else if (arg == "--png") {
            options.png = value;
        } else if (arg == "--pdf") {
            options.pdf = value;
        } else if (arg == "--size") {
            if (!ParseFrameSize(value, options.width, options.height)) return false;
            options.sized = true;
        } else if (arg == "--first") {
            if (!ReadNumberOption(arg, value, 0, 100000, "--first takes a beat index from 0", options.first))
                return false;
            options.firstGiven = true;
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            std::fprintf(stderr, "morvelance-host: unknown option '%s' for the measurement tables\n", arg.c_str());
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    const std::string& target = command == "print" ? options.pdf : options.png;
    if (options.files.empty() || target.empty()) {
        std::fprintf(stderr, "morvelance-host: %s --view %s needs record files and %s\n", command.c_str(),
                     options.viewClass.c_str(), command == "print" ? "--pdf OUT.pdf" : "--png OUT.png");
        return false;
    }
    return true;
}

// As the rest pane sets its tables up: the document's kind, and the QRS
// window moved on to the first beat asked for. False, said, when the window
// cannot begin there: it would show its last beats as if they were those.
bool SetUpTable(CTavrionDoc& doc, CView* view, int first)
{
    const int kind = doc.GetDocType();
    if (auto* form = DYNAMIC_DOWNCAST(CViewDetailedMeas, view)) {
        form->SetDocType(kind);
        form->OnInitialUpdate();
    } else if (auto* numbers = DYNAMIC_DOWNCAST(CViewQRSNo, view)) {
        numbers->SetDocType(kind);
        numbers->OnUpdate();
        int step = 0;
        for (; step < first && !numbers->IsEnd(); ++step) numbers->SetQRSNum(1);
        if (step < first) {
            ReportFailure("--first %d: the table's window of %d beats begins at beat %d at the latest (the record has "
                          "%d beats)",
                          first, QRS_NO_SCREEN_BEATS, step, std::max(numbers->GetBeatCount(), 0));
            return false;
        }
    } else if (auto* types = DYNAMIC_DOWNCAST(CViewQRSType, view)) {
        types->SetDocType(kind);
    }
    return true;
}

// Printed pages of the QRS number table: twenty beats each, at most 256 beats.
int QrsNumberPages(CTavrionDoc& doc)
{
    auto* rest = dynamic_cast<CRestViewDoc*>(&doc);
    _RESTDATAITEM* item = rest ? rest->GetCurrentDataItem() : nullptr;
    if (!item || item->strXMLPath.IsEmpty()) return 1;
    CECGXMLParser xml(item->strXMLPath, item->b8000File, CString());
    CString count;
    if (!xml.GetDataFromXMLDOM(count, L"/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_no", 2, L"count"))
        return 1;
    const int beats = std::min(_wtoi(count), QRS_NO_MAX_BEATS);
    return std::max(1, (beats + QRS_NO_PAGE_BEATS - 1) / QRS_NO_PAGE_BEATS);
}

// The table's Print on each page of the job; the QRS tables take a band of
// the page, the measurement table the whole printable area.
std::vector<PdfPageDraw> PrintedPages(CTavrionDoc& doc, CView* view)
{
    auto* form = DYNAMIC_DOWNCAST(CViewDetailedMeas, view);
    auto* numbers = DYNAMIC_DOWNCAST(CViewQRSNo, view);
    auto* types = DYNAMIC_DOWNCAST(CViewQRSType, view);
    const int pages = numbers ? QrsNumberPages(doc) : 1;
    std::vector<PdfPageDraw> draws;
    for (int page = 0; page < pages; ++page)
        draws.push_back([=](CECGDC* dc, const CRect& area, double) {
            if (form) return form->Print(dc, area) != FALSE;
            const CRect band(area.left, area.top, area.right, area.top + area.Height() / 3);
            if (numbers) return numbers->Print(dc, band, page) != FALSE;
            return types && types->Print(dc, band) != FALSE;
        });
    return draws;
}

bool RunOnDocument(const std::string& command, CTavrionDoc& doc, CRuntimeClass* viewClass,
                   const MeasurementOptions& options, const std::string& target)
{
    if (command == "view")
        return PaintViewToPng(doc, viewClass, options.width, options.height, target,
                              [&](CView* view) { return SetUpTable(doc, view, options.first); });
    const bool ok = PrintMeasurementTable(doc, viewClass, [&](const std::vector<PdfPageDraw>& pages) {
        return PrintPagesToPdf(doc, pages, target);
    });
    if (ok) std::printf("%s\n", target.c_str());
    else std::fprintf(stderr, "morvelance-host: %s could not be printed\n", target.c_str());
    return ok;
}

}  // namespace

const std::vector<std::string>& MeasurementTableNames()
{
    static const std::vector<std::string> names(std::begin(kMeasurementViews), std::end(kMeasurementViews));
    return names;
}

bool PaintMeasurementTable(CTavrionDoc& doc, CRuntimeClass* viewClass, int width, int height, const std::string& png)
{
    return PaintViewToPng(doc, viewClass, width, height, png, [&](CView* view) { return SetUpTable(doc, view, 0); });
}

bool PrintMeasurementTable(CTavrionDoc& doc, CRuntimeClass* viewClass,
                           const std::function<bool(const std::vector<PdfPageDraw>& pages)>& print)
{
    // The tables print from the record; the view needs its document only.
    std::unique_ptr<CView> view(viewClass ? static_cast<CView*>(viewClass->CreateObject()) : nullptr);
    if (!view) return false;
    doc.AddView(view.get());
    SetUpTable(doc, view.get(), 0);
    const bool ok = print(PrintedPages(doc, view.get()));
    doc.RemoveView(view.get());
    return ok;
}

bool IsMeasurementViewRequest(int argc, char** argv)
{
    const char* view = RequestedView(argc, argv);
    return view && std::any_of(std::begin(kMeasurementViews), std::end(kMeasurementViews),
                               [&](const char* name) { return std::strcmp(view, name) == 0; });
}

int RunMeasurementViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open)
{
    MeasurementOptions options;
    if (!ParseMeasurementOptions(command, argc, argv, options)) return 2;
    // The QRS number table on the screen shows its window from the first
    // beat asked for; on paper every beat prints, page by page.
    const bool view = command == "view";
    if (!OptionsTakenOrSays(command + " --view " + options.viewClass,
                            {
                                {options.firstGiven, "--first", view && options.viewClass == "CViewQRSNo"},
                                {options.sized, "--size", view},
                                {!options.png.empty(), "--png", view},
                                {!options.pdf.empty(), "--pdf", !view},
                            }))
        return 1;
    CRuntimeClass* viewClass = CRuntimeClass::FromName(options.viewClass.c_str());
    const std::string& target = command == "print" ? options.pdf : options.png;
    if (!viewClass || !MakeFolderOf(target)) return 1;
    return ForEachRecord(options.files, open, [&](CTavrionDoc& doc, size_t index) {
        return RunOnDocument(command, doc, viewClass, options, Numbered(target, index));
    });
}

}  // namespace host
