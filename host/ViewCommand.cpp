#include "host/ViewCommand.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <set>
#include <vector>

#include "core/TavrionDoc.h"
#include "core/TavrionView.h"
#include "documents/FinalViewDoc.h"
#include "host/CommandFailure.h"
#include "host/DividerViewCommand.h"
#include "host/EnlargedViewCommand.h"
#include "host/FormViewCommand.h"
#include "host/SerialViewCommand.h"
#include "host/AnalysisViewCommand.h"
#include "host/MasterStepViewCommand.h"
#include "host/ExerciseViewCommand.h"
#include "host/MagnifierPreview.h"
#include "host/MeasurementViewCommand.h"
#include "host/OutputFolder.h"
#include "host/PrinterJobWatch.h"
#include "host/PdfJobFolder.h"
#include "host/RecordKinds.h"
#include "host/RestAnalysisViewCommand.h"
#include "host/SheetView.h"
#include "host/ViewPane.h"
#include "waveviews/WaveItemRef.h"
#include "platform/base/CodePage.h"
#include "platform/base/Profile.h"
#include "platform/base/Registry.h"
#include "platform/base/Temporaries.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/print/PrintSetup.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "printdevice/ECGDC.h"
#include "printdevice/ECGPrinter.h"
#include "analysisviews/ViewCAL.h"
#include "analysisviews/ViewRRIntervalList.h"
#include "core/AnnotationInfo.h"
#include "waveviews/ViewEnlargedWave.h"
#include "waveviews/RhythmWaveStyle.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"
#include "waveviews/ViewSerialComAve.h"
#include "waveviews/ViewSerialComRhy.h"
#include "waveviews/WaveItemRef.h"

namespace host {
namespace {

struct ViewOptions {
    std::vector<std::string> files;
    std::string viewClass;
    int width = 1920;
    int height = 1080;
    bool sized = false;   // --size given
    int smooth = -1;   // -1: the record's own setting
    int grid = -1;     // 0 dots, 1 lines, -1 the record's own
    int style = 0;     // multi-lead view: wave style, 0 the document's
    bool styleGiven = false;
    int page = 0;      // --page: 1 the first page; 0 when not given
    std::string png;
    std::string outDir;
    std::string pdf;
    std::string printer;   // print --printer: a queue of the registry or a CUPS destination, instead of --pdf
    int mouseMode = 0;   // 0: the document's own
    int magnifyX = -1;
    int magnifyY = -1;
    float ratio = 4.0f;
    bool ratioGiven = false;
    std::string magnifierPng;
    // The multi-lead view: half width, chest leads, the one-lead strip's
    // lead, and its measuring tools and pop-up.
    bool half = false;
    bool chest = false;
    int lead = -1;
    MeasureOptions measure;
    int calCount = 3;    // calibration column: pulses stacked
    bool calCountGiven = false;
    // "--view all": what its exercise records are shown with, and the first
    // option given that only they take (refused for a view named).
    ExerciseOptions exercise;
    std::string exerciseOnly;
};


// The views that draw a record of any kind by themselves; their bases
// (CTavrionView, CWaveView) paint bare paper and are only shown when named.
const char kSheet[] = "sheet";
const char kMultiLeadView[] = "CViewRhythmWave";

// What a command writes is one thing: a picture (or a folder of them for
// "all") on the screen, a PDF or a printer's job on paper. An output or a
// setting of the other would be left unwritten without a word.
bool OutputsTakenOrSay(const std::string& command, const ViewOptions& options)
{
    const bool view = command == "view", all = options.viewClass == "all";
    if (!view && !options.pdf.empty() && !options.printer.empty()) {
        std::fprintf(stderr, "morvelance-host: print writes --pdf OUT.pdf or prints to --printer QUEUE, not both\n");
        return false;
    }
    const std::string what = command + " --view " + options.viewClass;
    return OptionsTakenOrSays(what, {
                                        {!options.png.empty(), "--png", view && !all},
                                        {!options.outDir.empty(), "--out", view && all},
                                        {!options.pdf.empty(), "--pdf", !view},
                                        {!options.printer.empty(), "--printer", !view},
                                        {options.sized, "--size", view},
                                        // The mouse's mode acts on the screen only.
                                        {options.mouseMode > 0, "--mode", view},
                                        // The magnifier's enlargement goes with the magnifier.
                                        {options.ratioGiven, "--ratio", options.magnifyX >= 0},
                                    });
}

bool ParseOptions(const std::string& command, int argc, char** argv, ViewOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) { return TakeOptionValue(argc, argv, i, out); };
        std::string text;
        if (arg == "--view") {
            if (!value(options.viewClass)) return false;
        } else if (arg == "--size") {
            if (!value(text) || !ParseFrameSize(text, options.width, options.height)) return false;
            options.sized = true;
        } else if (arg == "--smooth") {
            if (!TakeNumberOption(argc, argv, i, 0, 3, "--smooth takes 0, 1, 2 or 3", options.smooth)) return false;
        } else if (arg == "--grid") {
            if (!value(text) || (text != "lines" && text != "dots")) {
                std::fprintf(stderr, "morvelance-host: --grid takes lines or dots\n");
                return false;
            }
            options.grid = text == "lines" ? 1 : 0;
        } else if (arg == "--style") {
            if (!TakeNumberOption(argc, argv, i, 0, 100000, "--style takes a style number", options.style))
                return false;
            options.styleGiven = true;
        } else if (arg == "--page") {
            if (!TakeNumberOption(argc, argv, i, 1, 100000, "--page takes a page number, 1 for the first",
                                  options.page))
                return false;
        } else if (arg == "--mode") {
            if (!TakeNumberOption(argc, argv, i, 1, 3, "--mode takes 1, 2 or 3", options.mouseMode)) return false;
        } else if (arg == "--magnify") {
            if (!value(text) || std::sscanf(text.c_str(), "%d,%d", &options.magnifyX, &options.magnifyY) != 2 ||
                options.magnifyX < 0 || options.magnifyY < 0) {
                std::fprintf(stderr, "morvelance-host: --magnify takes X,Y\n");
                return false;
            }
        } else if (arg == "--ratio") {
            if (!value(text) || std::sscanf(text.c_str(), "%f", &options.ratio) != 1 || options.ratio < 1.0f) {
                std::fprintf(stderr, "morvelance-host: --ratio takes a number of at least 1\n");
                return false;
            }
            options.ratioGiven = true;
        } else if (arg == "--half" || arg == "--chest") {
            (arg == "--half" ? options.half : options.chest) = true;
        } else if (arg == "--lead") {
            if (!TakeNumberOption(argc, argv, i, 0, 14, "--lead takes a lead index 0 to 14", options.lead))
                return false;
        } else if (arg == "--dividers") {
            if (!value(text) || !ParseDividers(text, options.measure.dividers)) {
                std::fprintf(stderr, "morvelance-host: --dividers takes pairs 1 to 3, as 1,2,3\n");
                return false;
            }
        } else if (arg == "--scale") {
            if (!value(text) || !ParseScale(text, options.measure.scale)) {
                std::fprintf(stderr, "morvelance-host: --scale takes X1,Y1,X2,Y2\n");
                return false;
            }
        } else if (arg == "--double-click") {
            if (!value(text) ||
                std::sscanf(text.c_str(), "%d,%d", &options.measure.clickX, &options.measure.clickY) != 2 ||
                options.measure.clickX < 0 || options.measure.clickY < 0) {
                std::fprintf(stderr, "morvelance-host: --double-click takes X,Y\n");
                return false;
            }
        } else if (arg == "--popup-png") {
            if (!value(options.measure.popupPng)) return false;
        } else if (arg == "--cal-count") {
            if (!TakeNumberOption(argc, argv, i, 0, 6, "--cal-count takes 0 to 6", options.calCount)) return false;
            options.calCountGiven = true;
        } else if (arg == "--magnifier-png") {
            if (!value(options.magnifierPng)) return false;
        } else if (arg == "--png") {
            if (!value(options.png)) return false;
        } else if (arg == "--out") {
            if (!value(options.outDir)) return false;
        } else if (arg == "--pdf") {
            if (!value(options.pdf)) return false;
        } else if (arg == "--printer") {
            if (!value(options.printer)) return false;
        } else if (IsExerciseOnlyFlag(arg)) {
            options.exercise.relative = true;
            if (options.exerciseOnly.empty()) options.exerciseOnly = arg;
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            const int taken = TakeExerciseOnlyOption(arg, i + 1 < argc ? argv[i + 1] : "", options.exercise);
            if (taken < 0) return false;
            if (taken == 0) {
                std::fprintf(stderr, "morvelance-host: unknown option '%s'\n", arg.c_str());
                return false;
            }
            if (options.exerciseOnly.empty()) options.exerciseOnly = arg;
            ++i;
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.files.empty()) {
        std::fprintf(stderr, "morvelance-host: %s needs at least one record file\n", command.c_str());
        return false;
    }
    if (options.viewClass.empty()) {
        std::fprintf(stderr, "morvelance-host: %s needs --view CLASS\n", command.c_str());
        return false;
    }
    if (options.viewClass != "all" && !options.exerciseOnly.empty()) {
        std::fprintf(stderr, "morvelance-host: unknown option '%s'\n", options.exerciseOnly.c_str());
        return false;
    }
    // The magnifier is a picture of the screen, drawn with the mouse at one
    // point (a print, or a view it is not drawn over, was refused before).
    const bool magnify = options.magnifyX >= 0, magnifierPng = !options.magnifierPng.empty();
    if (magnify != magnifierPng) {
        std::fprintf(stderr, "morvelance-host: --magnify X,Y and --magnifier-png M.png go together\n");
        return false;
    }
    // A pop-up is a picture of what a double-click opens.
    if (!options.measure.popupPng.empty() && options.measure.clickX < 0) {
        std::fprintf(stderr, "morvelance-host: --popup-png P.png needs --double-click X,Y\n");
        return false;
    }
    if (command == "view") {
        // The picture is painted before the double-click: what the click
        // opens is kept only as the pop-up's own picture.
        if (options.measure.clickX >= 0 && options.measure.popupPng.empty()) {
            std::fprintf(stderr, "morvelance-host: --double-click X,Y opens a pop-up that only --popup-png P.png keeps\n");
            return false;
        }
        const bool all = options.viewClass == "all";
        if (all ? options.outDir.empty() : options.png.empty()) {
            std::fprintf(stderr, "morvelance-host: view needs %s\n", all ? "--out DIR with --view all" : "--png OUT.png");
            return false;
        }
    } else if (options.pdf.empty() && options.printer.empty()) {
        std::fprintf(stderr, "morvelance-host: print needs --pdf OUT.pdf or --printer QUEUE\n");
        return false;
    }
    return OutputsTakenOrSay(command, options);
}

}  // namespace

int FirstRhythmStyle(CTavrionDoc& doc)
{
    static const int kFirstStyle[] = {1, 1, 16, 20, 22, 1, 1};
    const int kind = doc.GetDocType();
    // An RR record shows its one-lead layout only when it has one lead, as the RR pane does.
    if (kind == DOC_TYPE_RR && doc.GetCurItemLeadCount() != 1) return 21;
    return kind >= 0 && kind <= 6 ? kFirstStyle[kind] : 1;
}

void LoadPageAnnotations(CTavrionDoc& doc, CViewRhythmWave& view)
{
    view.SaveAnnoToData(0, nullptr, TRUE);
    const _ANNOTATION_INFO* head = CWaveItemRef::Of(&doc, doc.GetDocType()).GetAnnoHead();
    for (const _ANNOTATION_INFO* anno = head ? head->pNext : nullptr; anno; anno = anno->pNext) {
        const _ANNOTATION_SKETCH* area = anno->GetArea(0);
        if (anno->nStartTime == view.GetStartTime() && area && area->pSketchHead) view.LoadSketchInfo(area->pSketchHead);
    }
}

// OUT.png for the first file, OUT-N.png for the N-th.
std::string Numbered(const std::string& path, size_t index)
{
    if (index == 0) return path;
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    const std::string suffix = "-" + std::to_string(index + 1);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + suffix;
    return path.substr(0, dot) + suffix + path.substr(dot);
}

int ForEachRecord(const std::vector<std::string>& files, const RecordOpener& open,
                  const std::function<bool(CTavrionDoc& doc, size_t index)>& run)
{
    int failures = 0;
    for (size_t index = 0; index < files.size(); ++index) {
        std::unique_ptr<CTavrionDoc> doc;
        if (!open(files[index], doc) || !doc) {
            ++failures;
            continue;
        }
        // The document belongs to the command, not to a frame that closes.
        doc->m_bAutoDelete = FALSE;
        if (!run(*doc, index)) ++failures;
    }
    return failures ? 1 : 0;
}

const char* RequestedView(int argc, char** argv)
{
    for (int i = 0; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--view") == 0) return argv[i + 1];
    return nullptr;
}

bool ParseLeadOrSample(const std::string& option, const char* text, int& value)
{
    const bool lead = option == "--lead";
    return ReadNumberOption(option, text, 0, lead ? 14 : 100000000,
                            lead ? "--lead takes a lead index 0 to 14" : nullptr, value);
}

namespace {

const int kLeadOptionLeads = 15;   // the lead options number leads 0 to 14
const int kBeatLeads = 12;         // the leads of a master-step or exercise record

// The leads the record has, as "leads 0 to 11", "lead 0" or "leads 0, 1, 3 to 5".
std::string LeadsOf(CTavrionDoc& doc)
{
    std::string text;
    int count = 0;
    for (int lead = 0; lead < kLeadOptionLeads; ++lead) {
        if (!RecordHasLead(doc, lead)) continue;
        int last = lead;
        while (last + 1 < kLeadOptionLeads && RecordHasLead(doc, last + 1)) ++last;
        if (!text.empty()) text += ", ";
        text += std::to_string(lead);
        if (last > lead) text += (last == lead + 1 ? ", " : " to ") + std::to_string(last);
        count += last - lead + 1;
        lead = last;
    }
    return count == 0 ? std::string("no lead") : (count == 1 ? "lead " : "leads ") + text;
}

}  // namespace

bool RecordHasLead(CTavrionDoc& doc, int lead)
{
    if (lead < 0 || lead >= kLeadOptionLeads) return false;
    const int kind = doc.GetDocType();
    if (kind == DOC_TYPE_FINAL || kind == DOC_TYPE_EXER) return lead < kBeatLeads;
    // A twelve-lead resting record's document answers for lead indexes 12
    // to 14 with the samples of leads it shows elsewhere (13 is lead II
    // again): they are no leads of the record.
    if (kind == DOC_TYPE_REST && lead >= doc.GetCurItemLeadCount()) return false;
    return doc.GetRhythmWaveData(lead, nullptr, -1) > 0;
}

bool ChooseRecordLead(CTavrionDoc& doc, int given, int preferred, int& lead)
{
    if (given >= 0) {
        if (RecordHasLead(doc, given)) {
            lead = given;
            return true;
        }
        // An empty strip of paper would pass for a record without a beat.
        ReportFailure("the record has no lead %d (it has %s)", given, LeadsOf(doc).c_str());
        return false;
    }
    if (RecordHasLead(doc, preferred)) {
        lead = preferred;
        return true;
    }
    for (int candidate = 0; candidate < kLeadOptionLeads; ++candidate) {
        if (RecordHasLead(doc, candidate)) {
            lead = candidate;
            return true;
        }
    }
    ReportFailure("the record has no lead to show");
    return false;
}

int RecordLeadII(CTavrionDoc& doc)
{
    const CWaveItemRef item = CWaveItemRef::Of(&doc, doc.GetDocType());
    for (int lead = 0; item && lead < kLeadOptionLeads; ++lead) {
        CString name = item.GetLeadName(lead);
        name.Trim();
        if (name == L"II" && RecordHasLead(doc, lead)) return lead;
    }
    for (int lead = 0; lead < kLeadOptionLeads; ++lead)
        if (RecordHasLead(doc, lead)) return lead;
    return -1;
}

int RecordStripLead(CTavrionDoc& doc)
{
    const int lead = doc.GetRhythm1LeadID();
    return lead >= 0 && lead < kLeadOptionLeads ? lead : 0;
}

namespace {

CRuntimeClass* ViewClass(const std::string& name)
{
    const std::string className = name == "sheet" ? "CSheetView" : name;
    const std::unique_ptr<CObject> probe(CRuntimeClass::CreateObject(className.c_str()));
    CRuntimeClass* runtime = nullptr;
    if (probe && probe->IsKindOf(RUNTIME_CLASS(CView))) runtime = probe->GetRuntimeClass();
    if (!runtime) std::fprintf(stderr, "morvelance-host: no view class '%s'\n", name.c_str());
    if (runtime == RUNTIME_CLASS(CWaveView) || runtime == RUNTIME_CLASS(CTavrionView))
        std::fprintf(stderr, "morvelance-host: note: %s is a base of the views and draws no record by itself\n",
                     name.c_str());
    return runtime;
}

bool IsOneOf(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// What "--view all" shows of a record: of the sheet, the multi-lead view,
// the averaged beats and calibration column, the measurement tables, the RR
// result and interval views and the master-step views, those the record's
// kind takes (a print leaves out the enlarged beat, which is only ever shown).
std::vector<std::string> AllViewNames(CTavrionDoc& doc, bool print)
{
    std::vector<std::string> candidates = {kSheet, kMultiLeadView};
    for (const std::vector<std::string>* family :
         {&RestAnalysisViewNames(), &MeasurementTableNames(), &AnalysisViewNames(), &MasterStepViewNames()})
        candidates.insert(candidates.end(), family->begin(), family->end());
    std::vector<std::string> names;
    for (const std::string& name : candidates)
        if (Takes(name, doc) && (print ? Printed(name) && PrintsRecord(name, doc) : Shown(name))) names.push_back(name);
    return names;
}

void ApplyDisplayOptions(CTavrionDoc& doc, const ViewOptions& options)
{
    if (options.smooth >= 0) doc.SetSmoothFilterMode(options.smooth);
    if (options.grid >= 0) doc.SetGridType(options.grid);
    if (options.mouseMode > 0) doc.SetMouseMode(options.mouseMode);
}

// The pages the multi-lead view's style needs for the record on a grid
// `gridX` squares wide (at least one), on screen or printed.
int RhythmPageCount(const CViewRhythmWave& view, int gridX, bool printed)
{
    return view.PageCount(gridX, printed ? 1 : 0);
}

// False, said on stderr, when --page asks for a page past the record's last.
bool PageWithinRecord(const ViewOptions& options, int pages)
{
    if (options.page <= pages) return true;
    std::fprintf(stderr, "morvelance-host: %s: --page %d is past the record's end (%d page%s)\n",
                 CurrentRecord().c_str(), options.page, pages, pages == 1 ? "" : "s");
    return false;
}

// The multi-lead view shows the style asked for (else the kind's first),
// `page` pages on from the first.
void SetUpRhythmView(CTavrionDoc& doc, CView* view, const ViewOptions& options, int page)
{
    const int style = options.style;
    auto* rhythm = DYNAMIC_DOWNCAST(CViewRhythmWave, view);
    if (!rhythm) return;
    rhythm->SetHalfStyle(options.half);
    rhythm->SetShowChestLead(options.chest);
    // The one-lead styles show the lead asked for, else the record's strip lead, as its pages do.
    rhythm->SetRhythm1LeadID(options.lead >= 0 ? options.lead : RecordStripLead(doc));
    rhythm->SetDocType(doc.GetDocType());
    rhythm->SetWaveStyle(style > 0 ? style : FirstRhythmStyle(doc), TRUE);
    rhythm->OnUpdate(nullptr, 0, nullptr);
    rhythm->ChangePageSample(page);
    LoadPageAnnotations(doc, *rhythm);
}

// The options of one page layout of the multi-lead view, refused in a wave
// style that has none of it: the picture would be the style's own, as if the
// half-width page, the chest page or the strip's lead had been shown.
bool WaveStyleTakesOptionsOrSays(CTavrionDoc& doc, const CViewRhythmWave& view, const ViewOptions& options)
{
    const int style = static_cast<int>(view.GetWaveStyle());
    const int kind = doc.GetDocType();
    const bool stripOfItsOwn = kind == DOC_TYPE_MFER || kind == DOC_TYPE_RHYTHM || kind == DOC_TYPE_EXTRA;
    const bool strip = IsOneLeadAnyRecordStyle(style) ||
                       ((IsOneLeadRhythmStyle(style) || IsSerialStripStyle(style)) && stripOfItsOwn);
    const char* missing = nullptr;
    const char* option = nullptr;
    if (options.half && !IsHalfWidthDecidedStyle(style))
        option = "--half", missing = "no half-width page";
    else if (options.chest && !IsChestPageStyle(style))
        option = "--chest", missing = "no chest page";
    else if (options.lead >= 0 && !strip)
        option = "--lead", missing = "no one-lead strip";
    if (!option) return true;
    ReportFailure("%s: wave style %d has %s; nothing is written", option, style, missing);
    return false;
}

// A sheet whose document shows no lead of the record (a master-step
// record's, say): no sheet of the record, which "--view all" passes over.
bool SheetShowsNoLead(CSheetView* sheet)
{
    return sheet && sheet->GetMissingLeadCount() == 0 && sheet->GetLeadCount() == 0;
}

// False for a sheet short of some leads (they were reported as they were
// read) or whose document shows none: an empty grid is no sheet of the record.
bool SheetHasLeads(CSheetView* sheet)
{
    if (!sheet) return true;
    if (sheet->GetMissingLeadCount() > 0) return false;
    if (sheet->GetLeadCount() > 0) return true;
    std::fprintf(stderr, "morvelance-host: %s: the document shows no lead of the record\n", CurrentRecord().c_str());
    return false;
}

// The multi-lead view on the page --page asks for (the first when none);
// false when that page is past the record's end. Other views pass.
bool ShowRhythmPage(CTavrionDoc& doc, CView* view, const ViewOptions& options)
{
    SetUpRhythmView(doc, view, options, 0);
    auto* rhythm = DYNAMIC_DOWNCAST(CViewRhythmWave, view);
    if (rhythm && !WaveStyleTakesOptionsOrSays(doc, *rhythm, options)) return false;
    if (!rhythm || options.page <= 1) return true;
    int gridX = 0;
    int gridY = 0;
    rhythm->GetGridCount(gridX, gridY);
    if (!PageWithinRecord(options, RhythmPageCount(*rhythm, gridX, false))) return false;
    rhythm->ChangePageSample(options.page - 1);
    LoadPageAnnotations(doc, *rhythm);
    return true;
}

// `all`: one view of "--view all", where a sheet that shows no lead is
// passed over. The pop-up and magnifier pictures of the `index`-th record
// are numbered as its picture is, so that none is drawn over another's.
bool PaintToPng(CTavrionDoc& doc, CRuntimeClass* viewClass, const ViewOptions& options, const std::string& png,
                bool all, size_t index)
{
    Pane pane(doc, viewClass, options.width, options.height);
    CView* view = pane.View();
    if (!view) {
        std::fprintf(stderr, "morvelance-host: the view could not be created\n");
        return false;
    }
    if (!ShowRhythmPage(doc, view, options)) return false;
    if (IsAnalysisView(view) && !PageWithinRecord(options, AnalysisPageCount(view, false))) return false;
    SetUpAnalysisView(view, options.page);
    SetUpRestAnalysisView(doc, view, options.calCount);
    auto* rhythm = DYNAMIC_DOWNCAST(CViewRhythmWave, view);
    if (rhythm) {
        view->UpdateWindow();
        if (!ApplyMeasuringTools(doc, *rhythm, options.measure)) return false;
    }
    auto* sheet = DYNAMIC_DOWNCAST(CSheetView, view);
    if (all && SheetShowsNoLead(sheet)) return true;
    if (!SheetHasLeads(sheet)) return false;
    if (!SaveViewPng(view, png)) return false;
    MeasureOptions measure = options.measure;
    if (!measure.popupPng.empty()) measure.popupPng = Numbered(measure.popupPng, index);
    if (rhythm && !DoubleClickAndSavePopup(*rhythm, measure)) return false;
    if (options.magnifyX >= 0 && !options.magnifierPng.empty())
        return SaveMagnifierPng(doc, view, options.magnifyX, options.magnifyY, options.ratio,
                                Numbered(options.magnifierPng, index));
    return true;
}

// What a class named does with --style: the multi-lead view and its pages
// draw in the wave style given, the one-lead strip and the comparison print
// in the comparison's style; the other views have no style to take.
enum class StyleUse { WaveStyle, Comparison, None };

StyleUse StyleUseOf(CRuntimeClass* viewClass)
{
    if (viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewScroll1LeadWave)) ||
        viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewSerialComRhy)))
        return StyleUse::Comparison;
    if (viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewRhythmWave)) &&
        !viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewEnlargedWave)))
        return StyleUse::WaveStyle;
    return StyleUse::None;
}

// The options only some views apply, refused (said) for a class named that
// would leave them out: a lead, page or layout asked for and not shown.
bool NamedViewTakesOptionsOrSays(const std::string& command, CRuntimeClass* viewClass, const ViewOptions& options)
{
    // The comparison's views come here to be printed only, in the style
    // asked for: the options of their pictures on the screen are the serial
    // command's, and the multi-lead view's they have none of.
    const bool wave = StyleUseOf(viewClass) == StyleUse::WaveStyle;
    const bool paged = wave || viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewRRIntervalList)) != FALSE;
    const bool measured = wave && command == "view";
    const MeasureOptions& measure = options.measure;
    // The RR analysis views draw charts and tables, the calibration column
    // its pulses: no trace to smooth; the charts no paper either (a print
    // lays its paper under every view). Only the multi-lead view draws by
    // the mouse's mode (its dividers and scale, its annotations).
    const bool chart = IsAnalysisClass(viewClass);
    const bool pulses = viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewCAL)) != FALSE;
    return OptionsTakenOrSays(
        command + " " + options.viewClass,
        {
            {options.smooth >= 0, "--smooth", !chart && !pulses},
            {options.grid >= 0, "--grid", !chart || command != "view"},
            {options.mouseMode > 0, "--mode", wave},
            {options.half, "--half", wave},
            {options.chest, "--chest", wave},
            {options.lead >= 0, "--lead", wave},
            {options.page > 0, "--page", paged},
            {options.calCountGiven, "--cal-count", viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewCAL)) != FALSE},
            {!measure.dividers.empty(), "--dividers", measured},
            {measure.scale[0] >= 0, "--scale", measured},
            {measure.clickX >= 0, "--double-click", measured},
            {!measure.popupPng.empty(), "--popup-png", measured},
        });
}

// The trends of an exercise record's "--view all" and the lead they follow.
const int kExerciseTrendStyles = 18;
const int kExerciseTrendLeads = 12;

bool ExerciseOptionsTakenOrSays(const ViewOptions& options)
{
    if (!(options.styleGiven && (options.style < 1 || options.style > kExerciseTrendStyles)) &&
        options.lead < kExerciseTrendLeads)
        return true;
    ReportFailure("an exercise record takes --style 1 to %d (its trends) and --lead 0 to %d", kExerciseTrendStyles,
                  kExerciseTrendLeads - 1);
    return false;
}

// Whether the options given draw the record of `doc` (said when not), before
// anything of it is drawn: a style its pages have no layout for would be
// empty paper.
bool RecordTakesOptionsOrSays(CTavrionDoc& doc, const ViewOptions& options, CRuntimeClass* namedClass)
{
    if (!namedClass && doc.GetDocType() == DOC_TYPE_EXER) return ExerciseOptionsTakenOrSays(options);
    if (!options.styleGiven) return true;
    if (!namedClass) return WaveStyleOrSays(kMultiLeadView, options.style, doc);
    switch (StyleUseOf(namedClass)) {
    case StyleUse::WaveStyle: return WaveStyleOrSays(options.viewClass, options.style, doc);
    case StyleUse::Comparison: return SerialStyleOrSays(options.viewClass, options.style, doc);
    case StyleUse::None: break;
    }
    return true;
}

// "--view all" of an exercise record: its own views, as the exercise views'
// command shows and prints them (--mode, --style and --lead choosing their
// layouts, trend and trend lead), numbered as the `index`-th record's.
bool ShowAllOfExerciseRecord(const std::string& command, CTavrionDoc& doc, const ViewOptions& options, size_t index)
{
    if (command == "print" && options.pdf.empty()) {
        ReportFailure("the exercise views print into a PDF only (--pdf OUT.pdf)");
        return false;
    }
    if (!ExerciseOptionsTakenOrSays(options)) return false;
    ExerciseOptions exercise = options.exercise;
    exercise.viewClass = "all";
    exercise.outDir = options.outDir;
    exercise.pdf = options.pdf;
    exercise.width = options.width;
    exercise.height = options.height;
    exercise.mode = options.mouseMode;
    exercise.style = options.style;
    if (options.lead >= 0) exercise.lead = options.lead;
    return ShowExerciseRecord(command, doc, exercise, index);
}

// One view into its PNG: the measurement tables and the master-step views
// (reached here through "--view all") as their commands show them, any
// other as the panes make it.
bool PaintOneView(CTavrionDoc& doc, const std::string& name, CRuntimeClass* viewClass, const ViewOptions& options,
                  const std::string& png, bool all, size_t index)
{
    if (IsOneOf(MeasurementTableNames(), name))
        return PaintMeasurementTable(doc, viewClass, options.width, options.height, png);
    auto* final = DYNAMIC_DOWNCAST(CFinalViewDoc, &doc);
    if (final && IsOneOf(MasterStepViewNames(), name))
        return PaintMasterStepView(*final, name, options.width, options.height, png);
    return PaintToPng(doc, viewClass, options, png, all, index);
}

// The first PDF in a folder, "" when none.
std::string FindPdf(const std::string& folder)
{
    std::string found;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".pdf") == 0) {
                found = folder + "/" + name;
                break;
            }
        }
        closedir(dir);
    }
    return found;
}

// The report font of a print job: a line of 18/1000 of the printable
// height, in the font every block of a report prints its texts with.
bool CreatePrintFont(CFont& font, int printHeight)
{
    LOGFONT logFont{};
    logFont.lfHeight = printHeight * 18 / 1000;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    logFont.lfQuality = PROOF_QUALITY;
    logFont.lfPitchAndFamily = FF_MODERN | DEFAULT_PITCH;
    std::wcsncpy(logFont.lfFaceName, L"ＭＳ ゴシック", LF_FACESIZE - 1);
    return font.CreateFontIndirect(&logFont) != FALSE;
}

// One print job through the PDF printer on A4 landscape, as a report prints:
// the report font made for the job, every page the paper grid first
// (PrintWaveGrid) and then the view's own drawing in that font.
class PdfJob {
public:
    explicit PdfJob(CTavrionDoc& doc) : m_doc(doc) {}

    // `queue`: a printer of the user's to print to instead of the PDF printer;
    // `title`: the job's name in the spool and the print service.
    bool Begin(const std::string& queue = std::string(), const std::wstring& title = L"morvelance")
    {
        if (!queue.empty()) {
            const std::wstring name = platform::FromUtf8(queue);
            m_printer.SetPrinterName(CString(name.c_str()));
            m_watch.reset(new PrinterJobWatch(name));
        } else {
            m_work.path = MakeTempFolder();
            if (m_work.path.empty() || !m_registry.Enter(m_work.path + "/registry.reg") ||
                !InstallPdfPrinter(m_work.path))
                return false;
            m_printer.SetPrinterName(CString(platform::print::kPdfPrinterName));
            m_printer.SetPDFSavePath(CString(platform::FromUtf8(m_work.path + "/saved/").c_str()));
        }
        m_printer.SetPageSize(9, 2);
        m_printer.SetPrintMargin(10, 10, 10, 10);
        if (!m_printer.CreateECGPrintDC(&m_doc)) return false;
        m_dc = m_printer.GetPrintECGDC();
        const _PRINTER_SETTING* setting = m_printer.GetPrintSetting();
        if (!m_dc || !setting || setting->fPixelPerMM <= 0.0f) return false;
        m_px = setting->fPixelPerMM;
        m_area = CRect(setting->nPrintLeft, setting->nPrintTop, setting->nPrintRight, setting->nPrintBottom);
        m_widthMm = static_cast<int>(m_area.Width() / m_px);
        m_heightMm = static_cast<int>(m_area.Height() / m_px);
        if (!CreatePrintFont(m_font, m_area.Height())) return false;
        m_started = m_dc->StartDoc(title.c_str()) > 0;
        return m_started;
    }

    // Every page of the view; false when a page failed. `all`: one view of
    // "--view all", where a sheet that shows no lead is passed over.
    bool PrintView(CRuntimeClass* viewClass, const ViewOptions& options, bool all)
    {
        // The measurement tables and the master-step views print their own
        // pages, as their commands print them.
        const std::string name = viewClass->m_lpszClassName;
        const auto printPages = [this](const std::vector<PdfPageDraw>& pages) {
            bool ok = true;
            for (const PdfPageDraw& page : pages) ok = ok && PrintCustomPage(page);
            return ok;
        };
        if (IsOneOf(MeasurementTableNames(), name)) return PrintMeasurementTable(m_doc, viewClass, printPages);
        auto* final = DYNAMIC_DOWNCAST(CFinalViewDoc, &m_doc);
        if (final && IsOneOf(MasterStepViewNames(), name)) return PrintMasterStepView(*final, name, printPages);
        // The view lives in a pane only to be made as the panes make it.
        Pane pane(m_doc, viewClass, 400, 300);
        auto* waveView = DYNAMIC_DOWNCAST(CWaveView, pane.View());
        if (IsSerialView(pane.View()))
            return PrintPage(waveView, [&] { return PrintSerialView(m_doc, pane.View(), m_dc, m_area, m_px, options.style); });
        // The enlarged lead is a multi-lead view by class but prints no page of one.
        auto* rhythm = DYNAMIC_DOWNCAST(CViewRhythmWave, waveView);
        if (rhythm && !rhythm->IsKindOf(RUNTIME_CLASS(CViewEnlargedWave))) {
            SetUpRhythmView(m_doc, rhythm, options, 0);
            if (!WaveStyleTakesOptionsOrSays(m_doc, *rhythm, options)) return false;
            int gridX = 0, gridY = 0;
            rhythm->GetGridCount(gridX, gridY);
            const int page = std::max(options.page, 1);
            if (!PageWithinRecord(options, RhythmPageCount(*rhythm, gridX, true))) return false;
            return PrintPage(waveView, [&] {
                return rhythm->Print(m_dc, m_area, gridX, gridY, m_px, 0, page - 1, 0) == 1;
            });
        }
        if (auto* sheet = DYNAMIC_DOWNCAST(CSheetView, waveView)) {
            if (all && SheetShowsNoLead(sheet)) return true;
            if (!SheetHasLeads(sheet)) return false;
            const CRect paper(m_area.left, m_area.top, m_area.left + static_cast<int>(m_widthMm * m_px),
                              m_area.top + static_cast<int>(m_heightMm * m_px));
            bool ok = true;
            for (int page = 0; ok && page < sheet->GetPageCount(m_widthMm); ++page)
                ok = PrintPage(waveView, [&] { return sheet->Print(m_dc, paper, m_widthMm, m_heightMm, page) != FALSE; });
            return ok;
        }
        if (IsPrintingForm(pane.View()))
            return PrintPage(nullptr, [&] { return PrintFormPage(m_doc, pane.View(), m_dc, m_area); });
        if (IsAnalysisView(pane.View())) {
            if (!PageWithinRecord(options, AnalysisPageCount(pane.View(), true))) return false;
            bool ok = true;
            for (int i = 0; ok && i < GetAnalysisPrintPages(pane.View(), options.page); ++i)
                ok = PrintPage(nullptr, [&] { return PrintAnalysisPage(pane.View(), m_dc, m_area, i, options.page); });
            return ok;
        }
        if (IsRestAnalysisView(waveView)) {
            SetUpRestAnalysisView(m_doc, waveView, options.calCount);
            return PrintPage(PrintsOwnGrid(waveView) ? nullptr : waveView,
                             [&] { return PrintRestAnalysisView(waveView, m_dc, m_area, m_px); });
        }
        return PrintPage(waveView, [] { return true; });
    }

    // One page drawn by `draw` alone, in the job's font.
    bool PrintCustomPage(const PdfPageDraw& draw)
    {
        return PrintPage(nullptr, [&] { return draw(m_dc, m_area, m_px); });
    }

    // Drops a job a page of which failed: nothing goes to the printer, and
    // nobody waits for a PDF that will never come.
    void Abandon()
    {
        if (m_started && m_dc && m_dc->GetDC()) m_dc->GetDC()->AbortDoc();
        m_started = false;
    }

    // Ends the job and puts the PDF at `pdf`.
    bool Finish(const std::string& pdf)
    {
        bool ok = m_started && m_dc->EndDoc() > 0;
        m_started = false;
        if (m_watch) return ok && m_watch->Report();   // a printer's job: it tells where it went
        m_printer.RecoverDistillerInfo();
        ok = ok && m_printer.MovePDFFile();
        const std::string made = ok ? FindPdf(m_work.path + "/saved") : std::string();
        return !made.empty() && MoveFinishedFile(made, pdf);
    }

private:
    // One page: the grid, then `draw` with the job's font selected.
    template <class Draw> bool PrintPage(CWaveView* gridView, const Draw& draw)
    {
        if (m_dc->StartPage() <= 0) return false;
        if (gridView) gridView->PrintWaveGrid(m_dc, m_area, m_widthMm, m_heightMm, m_px, TRUE, TRUE, FALSE);
        bool ok;
        {
            CDCObjectSelector<CFont, CECGDC> font(*m_dc, &m_font);
            ok = draw();
        }
        return m_dc->EndPage() > 0 && ok;
    }

    CTavrionDoc& m_doc;
    JobFolder m_work;         // the job's own folder, removed at the end
    JobRegistry m_registry;   // the job's printer lives here, never in the user's registry
    std::unique_ptr<PrinterJobWatch> m_watch;   // printing to a queue of the user's
    CECGPrinter m_printer;
    CECGDC* m_dc = nullptr;   // the printer's, for the job
    CFont m_font;
    CRect m_area;             // the printable rectangle, device pixels
    double m_px = 0.0;        // device pixels per millimetre
    int m_widthMm = 0;
    int m_heightMm = 0;
    bool m_started = false;
};

// A view's job is called by the record and the view it prints, as a report's
// is by its record and report, so that the jobs of one queue can be told apart.
std::wstring ViewJobTitle(const std::string& record, const std::string& view)
{
    const size_t slash = record.rfind('/');
    return platform::FromUtf8((slash == std::string::npos ? record : record.substr(slash + 1)) + " " + view);
}

// Every view of `classes` into one PDF, a page (or, for the sheet, as many
// as the record needs) after the other; the job titled after `record`.
bool PrintToPdf(CTavrionDoc& doc, const std::vector<CRuntimeClass*>& classes, const std::string& pdf,
                const ViewOptions& options, const std::string& record)
{
    const bool all = options.viewClass == "all";
    bool ok;
    {
        PdfJob job(doc);
        ok = job.Begin(options.printer, ViewJobTitle(record, options.viewClass));
        for (CRuntimeClass* viewClass : classes) ok = ok && job.PrintView(viewClass, options, all);
        if (ok)
            ok = job.Finish(pdf);
        else
            job.Abandon();
    }
    if (!ok) {
        ReportFailure("%s could not be printed", options.printer.empty() ? pdf.c_str() : options.printer.c_str());
        return false;
    }
    if (options.printer.empty()) std::printf("%s\n", pdf.c_str());
    return true;
}

// The magnifier option asked for (--magnify or --magnifier-png), null when none.
const char* MagnifierOption(int argc, char** argv)
{
    for (int i = 0; i < argc; ++i)
        if (std::strcmp(argv[i], "--magnify") == 0 || std::strcmp(argv[i], "--magnifier-png") == 0) return argv[i];
    return nullptr;
}

// Whether the hover magnifier asked for is drawn over the view named
// (`named`, empty for "--view all"), said when not. It is decided here,
// before anything of the record is written: the magnifier follows the mouse
// over the waves of one view on the screen, the sheet's and those of the
// views of waves; a view of tables or trends (the RR result, histogram,
// trend and interval list), the strip and the averaged comparison have none
// of the host's, and "--view all" would draw one magnifier per view into
// the same picture.
bool MagnifierDrawnOrSays(const std::string& command, const char* requested, int argc, char** argv)
{
    const char* option = MagnifierOption(argc, argv);
    // Without a class the command is refused for that.
    if (!option || !requested) return true;
    const std::string named = std::strcmp(requested, "all") == 0 ? std::string() : requested;
    if (command == "print") {
        std::fprintf(stderr, "morvelance-host: print draws no magnifier: --magnify and --magnifier-png are for view\n");
        return false;
    }
    if (named.empty()) {
        ReportFailure("--view all takes no %s: the magnifier is drawn over one view, named by --view", option);
        return false;
    }
    const std::string className = named == kSheet ? "CSheetView" : named;
    const std::unique_ptr<CObject> probe(CRuntimeClass::CreateObject(className.c_str()));
    CRuntimeClass* viewClass = probe && probe->IsKindOf(RUNTIME_CLASS(CView)) ? probe->GetRuntimeClass() : nullptr;
    // A class that is no view is refused as such where the views are made.
    if (!viewClass) return true;
    if (viewClass->IsDerivedFrom(RUNTIME_CLASS(CWaveView)) &&
        !viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewScroll1LeadWave)) &&
        !viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewSerialComAve)))
        return true;
    ReportFailure("%s takes no %s: the magnifier is drawn over the sheet and the views of waves "
                  "(CViewRhythmWave, CViewSerialComRhy, the average beats and the calibration column)",
                  named.c_str(), option);
    return false;
}

}  // namespace

bool PaintViewToPng(CTavrionDoc& doc, CRuntimeClass* viewClass, int width, int height, const std::string& png,
                    const std::function<bool(CView* view)>& setUp)
{
    Pane pane(doc, viewClass, width, height);
    if (!pane.View()) return false;
    return setUp(pane.View()) && SaveViewPng(pane.View(), png);
}

bool PrintPagesToPdf(CTavrionDoc& doc, const std::vector<PdfPageDraw>& pages, const std::string& pdf)
{
    bool ok;
    {
        PdfJob job(doc);
        ok = job.Begin();
        for (const PdfPageDraw& page : pages) ok = ok && job.PrintCustomPage(page);
        if (ok)
            ok = job.Finish(pdf);
        else
            job.Abandon();
    }
    if (!ok) ReportFailure("%s could not be printed", pdf.c_str());
    return ok;
}

int RunViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& opener)
{
    // A class named is drawn on the records it takes only: every view
    // family's command opens its records through this opener, which refuses
    // the others with the one rule of which records each class takes.
    const char* requested = RequestedView(argc, argv);
    const std::string named = requested && std::strcmp(requested, "all") != 0 ? requested : "";
    if (!named.empty() && !(command == "print" ? PrintedOrSays(named) : ShownOrSays(named))) return 1;
    if (!MagnifierDrawnOrSays(command, requested, argc, argv)) return command == "print" ? 2 : 1;
    const RecordOpener open = [&](const std::string& path, std::unique_ptr<CTavrionDoc>& doc) {
        return opener(path, doc) && doc &&
               (named.empty() ||
                (TakesOrSays(named, *doc) && (command != "print" || PrintsRecordOrSays(named, *doc))));
    };
    if (IsExerciseViewRequest(argc, argv)) return RunExerciseViewCommand(command, argc, argv, open);
    if (command == "view" && IsEnlargedViewRequest(argc, argv)) return RunEnlargedViewCommand(argc, argv, open);
    if (command == "view" && IsDividerViewRequest(argc, argv)) return RunDividerViewCommand(argc, argv, open);
    if (IsMeasurementViewRequest(argc, argv)) return RunMeasurementViewCommand(command, argc, argv, open);
    if (IsMasterStepViewRequest(argc, argv)) return RunMasterStepViewCommand(command, argc, argv, open);
    if (command == "view" && IsFormViewRequest(argc, argv)) return RunFormViewCommand(argc, argv, open);
    if (IsFormViewRequest(argc, argv)) LoadFormLayouts();
    if (IsSerialCommandRequest(command, argc, argv)) return RunSerialViewCommand(command, argc, argv, open);
    ViewOptions options;
    if (!ParseOptions(command, argc, argv, options)) return 2;
    const bool all = options.viewClass == "all";
    // A class named is known before any record opens; "all" is each record's own.
    CRuntimeClass* namedClass = all ? nullptr : ViewClass(options.viewClass);
    if (!all && !namedClass) return 1;
    if (namedClass && options.styleGiven && StyleUseOf(namedClass) == StyleUse::None) {
        ReportFailure("--style %d: %s takes no --style", options.style, options.viewClass.c_str());
        return 1;
    }
    if (namedClass && !NamedViewTakesOptionsOrSays(command, namedClass, options)) return 1;
    const std::string& target = command == "print" ? options.pdf : options.png;
    // A print to a printer (--printer) has no file of its own.
    if (!(options.outDir.empty() ? target.empty() || MakeFolderOf(target) : MakeOutputFolder(options.outDir))) return 1;
    for (const std::string* picture : {&options.magnifierPng, &options.measure.popupPng})
        if (!picture->empty() && !MakeFolderOf(*picture)) return 1;
    // A record whose options are refused is refused once, before anything of
    // it is written: its views and (for "--view all") its forms alike.
    std::set<std::string> refused;
    const RecordOpener openTaking = [&](const std::string& path, std::unique_ptr<CTavrionDoc>& doc) {
        if (refused.count(path) || !open(path, doc)) return false;
        if (RecordTakesOptionsOrSays(*doc, options, namedClass)) return true;
        refused.insert(path);
        return false;
    };

    int failures = ForEachRecord(options.files, openTaking, [&](CTavrionDoc& doc, size_t index) {
        // Each record of "--view all" gets the views of its own kind, whichever kind comes first.
        if (all && doc.GetDocType() == DOC_TYPE_EXER) return ShowAllOfExerciseRecord(command, doc, options, index);
        // The one-lead strip of a lead the record does not have would be empty paper.
        int lead = options.lead;
        if (options.lead >= 0 && !ChooseRecordLead(doc, options.lead, options.lead, lead)) return false;
        ApplyDisplayOptions(doc, options);
        const std::vector<std::string> names =
            all ? AllViewNames(doc, command == "print") : std::vector<std::string>{options.viewClass};
        std::vector<CRuntimeClass*> classes;
        for (const std::string& name : names) {
            CRuntimeClass* viewClass = all ? ViewClass(name) : namedClass;
            if (!viewClass) return false;
            classes.push_back(viewClass);
        }
        if (command == "print")
            return PrintToPdf(doc, classes, Numbered(options.pdf, index), options, options.files[index]);
        bool ok = true;
        for (size_t view = 0; view < classes.size(); ++view) {
            const std::string png = options.outDir.empty() ? Numbered(options.png, index)
                                                           : Numbered(options.outDir + "/" + names[view] + ".png", index);
            if (!PaintOneView(doc, names[view], classes[view], options, png, all, index)) ok = false;
        }
        return ok;
    });
    if (command == "view" && all) failures += RenderAllForms(options.files, options.outDir, openTaking);
    return failures ? 1 : 0;
}

bool ParseFrameSize(const std::string& text, int& width, int& height)
{
    int w = 0;
    int h = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &rest) != 2 || w < 16 || h < 16 || w > 10000 || h > 10000) {
        std::fprintf(stderr, "morvelance-host: --size takes WIDTHxHEIGHT (16 to 10000 pixels)\n");
        return false;
    }
    width = w;
    height = h;
    return true;
}

bool TakeOptionValue(int argc, char** argv, int& i, std::string& out)
{
    if (i + 1 >= argc) {
        std::fprintf(stderr, "morvelance-host: %s needs a value\n", argv[i]);
        return false;
    }
    out = argv[++i];
    return true;
}

bool ReadNumberOption(const std::string& option, const char* text, long low, long high, const char* refusal,
                      long& out)
{
    char* end = nullptr;
    errno = 0;
    const long number = text ? std::strtol(text, &end, 10) : 0;
    if (!text || !*text || !end || *end || errno == ERANGE || number < low || number > high) {
        if (refusal)
            std::fprintf(stderr, "morvelance-host: %s\n", refusal);
        else
            std::fprintf(stderr, "morvelance-host: %s takes a whole number from %ld to %ld\n", option.c_str(), low,
                         high);
        return false;
    }
    out = number;
    return true;
}

bool ReadNumberOption(const std::string& option, const char* text, int low, int high, const char* refusal, int& out)
{
    long number = 0;
    if (!ReadNumberOption(option, text, static_cast<long>(low), static_cast<long>(high), refusal, number))
        return false;
    out = static_cast<int>(number);
    return true;
}

bool TakeNumberOption(int argc, char** argv, int& i, long low, long high, const char* refusal, long& out)
{
    const std::string option = argv[i];
    std::string text;
    return TakeOptionValue(argc, argv, i, text) && ReadNumberOption(option, text.c_str(), low, high, refusal, out);
}

bool TakeNumberOption(int argc, char** argv, int& i, int low, int high, const char* refusal, int& out)
{
    long number = 0;
    if (!TakeNumberOption(argc, argv, i, static_cast<long>(low), static_cast<long>(high), refusal, number))
        return false;
    out = static_cast<int>(number);
    return true;
}

bool MoveFinishedFile(const std::string& from, const std::string& to)
{
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    FILE* in = std::fopen(from.c_str(), "rb");
    FILE* out = in ? std::fopen(to.c_str(), "wb") : nullptr;
    bool ok = in && out;
    char buffer[65536];
    size_t n;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) ok = std::fwrite(buffer, 1, n, out) == n;
    if (in) std::fclose(in);
    if (out) ok = std::fclose(out) == 0 && ok;
    return ok;
}

}  // namespace host
