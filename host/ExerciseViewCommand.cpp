// The exercise views as the exercise panes show them: made from their runtime
// class in a frame on the exercise document, set to the layout asked for and
// the record's clock set to the time asked for.
#include "host/ExerciseViewCommand.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "analysisviews/ViewExerAverage.h"
#include "analysisviews/ViewExerAverage3D.h"
#include "analysisviews/ViewExerSummaryAverage.h"
#include "analysisviews/ViewExerTrend.h"
#include "analysisviews/ViewMemoryWave.h"
#include "analysisviews/ViewResultTable.h"
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "documents/ExerViewDoc.h"
#include "host/CommandFailure.h"
#include "host/OutputFolder.h"
#include "host/RecordKinds.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"

namespace host {
namespace {

const char kAverageView[] = "CViewExerAverage";
const char kSummaryView[] = "CViewExerSummaryAverage";
const char kTrendView[] = "CViewExerTrend";
const char kMemoryView[] = "CViewMemoryWave";
const char kResultView[] = "CViewResultTable";
const char kMapView[] = "CViewExerAverage3D";
// What "--view all" writes, in this order.
const char* const kExerciseViews[] = {kAverageView, kSummaryView, kMemoryView, kTrendView, kResultView, kMapView};
const int kTrendStyles = 18;
// A trend printed 180 x 120 mm.
const int kTrendPrintWidthMm = 180;
const int kTrendPrintHeightMm = 120;
const int kMemoryPrintHeightMm = 110;
const int kTablePrintWidthMm = 250;
const int kTablePrintHeightMm = 110;
// The summary printed 130 x 97 mm (95 mm of rows).
const int kSummaryPrintWidthMm = 130;
const int kSummaryPrintHeightMm = 97;

// One shown view: its class name, the layout and the file stem it goes to.
struct ShownView {
    std::string viewClass;
    int mode;     // average layout or trend style
    std::string stem;
};

bool IsExerciseView(const std::string& name)
{
    for (const char* view : kExerciseViews)
        if (name == view) return true;
    return false;
}

const char* ViewName(int argc, char** argv)
{
    for (int i = 0; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--view") == 0) return argv[i + 1];
    return "";
}

bool ParseNumber(const std::string& option, const char* text, int low, int high, int& out)
{
    return ReadNumberOption(option, text, low, high, nullptr, out);
}

bool ParseAngle(const std::string& option, const char* text, double& out)
{
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (!end || *end || !(value >= -1.5 && value <= 1.5)) {
        std::fprintf(stderr, "morvelance-host: %s takes radians from -1.5 to 1.5\n", option.c_str());
        return false;
    }
    out = value;
    return true;
}

// The 3D map turned and tilted as the pane's buttons would, in 0.1 steps.
void TurnMap(CViewExerAverage3D& map, const ExerciseOptions& options)
{
    const long turns = std::lround((options.rotate - map.GetRotation()) / 0.1);
    for (long i = 0; i < std::labs(turns); ++i) turns > 0 ? map.RotateLeft() : map.RotateRight();
    const long tilts = std::lround((options.tilt - map.GetTilt()) / 0.1);
    for (long i = 0; i < std::labs(tilts); ++i) tilts > 0 ? map.TiltUp() : map.TiltDown();
    map.SetSTLevelMode(options.relative ? 1 : 0);
}

bool ParseExerciseOptions(const std::string& command, int argc, char** argv, ExerciseOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.compare(0, 2, "--") != 0) {
            options.files.push_back(arg);
            continue;
        }
        options.given.insert(arg);
        // A flag takes no value, last among the options too.
        if (IsExerciseOnlyFlag(arg)) {
            options.relative = true;
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "morvelance-host: %s needs a value\n", arg.c_str());
            return false;
        }
        const char* value = argv[++i];
        const int exerciseOnly = TakeExerciseOnlyOption(arg, value, options);
        if (exerciseOnly < 0) return false;
        if (exerciseOnly > 0) continue;
        bool ok = true;
        if (arg == "--view") options.viewClass = value;
        else if (arg == "--png") options.png = value;
        else if (arg == "--pdf") options.pdf = value;
        else if (arg == "--out") options.outDir = value;
        else if (arg == "--size") ok = ParseFrameSize(value, options.width, options.height);
        else if (arg == "--mode") ok = ParseNumber(arg, value, 1, 3, options.mode);
        else if (arg == "--style") ok = ParseNumber(arg, value, 1, kTrendStyles, options.style);
        else if (arg == "--lead") ok = ParseNumber(arg, value, 0, 11, options.lead);
        else {
            std::fprintf(stderr, "morvelance-host: unknown option '%s' for the exercise views\n", arg.c_str());
            return false;
        }
        if (!ok) return false;
    }
    const bool all = options.viewClass == "all";
    if (options.files.empty()) {
        std::fprintf(stderr, "morvelance-host: %s needs at least one record file\n", command.c_str());
        return false;
    }
    if (command == "print" ? options.pdf.empty() : (all ? options.outDir.empty() : options.png.empty())) {
        std::fprintf(stderr, "morvelance-host: %s needs %s\n", command.c_str(),
                     command == "print" ? "--pdf OUT.pdf" : all ? "--out DIR with --view all" : "--png OUT.png");
        return false;
    }
    return true;
}

std::vector<ShownView> ViewsToShow(const ExerciseOptions& options)
{
    std::vector<ShownView> views;
    const bool all = options.viewClass == "all";
    for (const char* name : kExerciseViews) {
        if (!all && options.viewClass != name) continue;
        if (std::strcmp(name, kAverageView) != 0 && std::strcmp(name, kTrendView) != 0) {
            views.push_back({name, 0, name});
            continue;
        }
        const bool average = std::strcmp(name, kAverageView) == 0;
        const int chosen = average ? options.mode : options.style;
        const std::string kind = average ? "-mode" : "-style";
        for (int n = 1; n <= (average ? 3 : kTrendStyles); ++n)
            if (chosen == n || (chosen == 0 && (all || n == 1)))
                views.push_back({name, n, std::string(name) + kind + std::to_string(n)});
    }
    return views;
}

// The pane: a top-level window holding a frame with the view on the document.
class ExerPane {
public:
    ExerPane(CTavrionDoc& doc, const ShownView& shown, const ExerciseOptions& options, int width, int height)
    {
        CRuntimeClass* runtime = CRuntimeClass::FromName(shown.viewClass.c_str());
        if (!runtime || !m_window.CreateEx(0, nullptr, L"morvelance-host", WS_POPUP | WS_VISIBLE,
                                           CRect(0, 0, width, height), nullptr, 0))
            return;
        m_frame = new CFrameWnd;
        if (!m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &m_window)) {
            m_frame = nullptr;
            return;
        }
        CCreateContext context;
        context.m_pNewViewClass = runtime;
        context.m_pCurrentDoc = &doc;
        m_view = DYNAMIC_DOWNCAST(CView, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        if (!m_view) return;
        m_view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_frame->RecalcLayout();
        m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
        if (auto* average = DYNAMIC_DOWNCAST(CViewExerAverage, m_view)) average->SetAverageDisplayMode(shown.mode);
        if (auto* memory = DYNAMIC_DOWNCAST(CViewMemoryWave, m_view)) memory->OnUpdate();
        if (auto* map = DYNAMIC_DOWNCAST(CViewExerAverage3D, m_view)) TurnMap(*map, options);
        if (auto* trend = DYNAMIC_DOWNCAST(CViewExerTrend, m_view)) {
            trend->SetParentWndType(options.parent);
            trend->SetTrendStyle(shown.mode);
            trend->SetLeadID(options.lead);
            trend->UpdateInformation();
        }
    }
    ~ExerPane()
    {
        if (m_frame) m_frame->DestroyWindow();
        m_window.DestroyWindow();
    }
    CView* View() const { return m_view; }

private:
    CWnd m_window;
    CFrameWnd* m_frame = nullptr;   // deletes itself and the view with its window
    CView* m_view = nullptr;
};

bool PaintToPng(CTavrionDoc& doc, const ShownView& shown, const ExerciseOptions& options, const std::string& png)
{
    ExerPane pane(doc, shown, options, options.width, options.height);
    CView* view = pane.View();
    if (!view) {
        std::fprintf(stderr, "morvelance-host: %s could not be created\n", shown.viewClass.c_str());
        return false;
    }
    view->Invalidate(TRUE);
    view->UpdateWindow();
    CRect client;
    view->GetClientRect(&client);
    CDC image;
    CClientDC screen(view);
    if (!image.Attach(platform::gdi::CreateImageDC(client.Width(), client.Height())) ||
        !image.BitBlt(0, 0, client.Width(), client.Height(), &screen, 0, 0, SRCCOPY) ||
        !platform::gdi::SaveImagePng(image.GetSafeHdc(), png.c_str())) {
        std::fprintf(stderr, "morvelance-host: %s could not be written\n", png.c_str());
        return false;
    }
    std::printf("%s\n", png.c_str());
    return true;
}

// The view's own print of its grid and layout into the top left of the page.
CRect PaperRect(const CRect& area, double px, int widthMm, int heightMm)
{
    return CRect(area.left, area.top, area.left + static_cast<int>(std::lround(widthMm * px)),
                 area.top + static_cast<int>(std::lround(heightMm * px)));
}

bool PrintView(CView* view, CECGDC* dc, const CRect& area, double px)
{
    if (auto* average = DYNAMIC_DOWNCAST(CViewExerAverage, view)) {
        int across = 0;
        int down = 0;
        average->GetGridCount(across, down);
        return average->Print(dc, PaperRect(area, px, across, down), px, across, down, 1) == 1;
    }
    if (auto* trend = DYNAMIC_DOWNCAST(CViewExerTrend, view)) {
        CRect rect = PaperRect(area, px, kTrendPrintWidthMm, kTrendPrintHeightMm);
        return trend->Print(dc, &rect) == 1;
    }
    if (auto* memory = DYNAMIC_DOWNCAST(CViewMemoryWave, view)) {
        // The strips run at 25 mm/s across the printable width.
        const int widthMm = static_cast<int>(area.Width() / px);
        return memory->Print(dc, PaperRect(area, px, widthMm, kMemoryPrintHeightMm), px, widthMm,
                             kMemoryPrintHeightMm, 1) == 1;
    }
    if (auto* table = DYNAMIC_DOWNCAST(CViewResultTable, view)) {
        const auto* doc = DYNAMIC_DOWNCAST(CExerViewDoc, view->GetDocument());
        const _EXERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        if (!item) return false;
        CECGXMLParser xml(item->strXMLPath, 0, CString());
        return table->Print(dc, &xml, PaperRect(area, px, kTablePrintWidthMm, kTablePrintHeightMm)) != FALSE;
    }
    if (auto* summary = DYNAMIC_DOWNCAST(CViewExerSummaryAverage, view))
        return summary->Print(dc, PaperRect(area, px, kSummaryPrintWidthMm, kSummaryPrintHeightMm), px, 0) == 1;
    return false;
}

bool PrintAll(CTavrionDoc& doc, const std::vector<ShownView>& views, const ExerciseOptions& options,
              const std::string& pdf)
{
    std::vector<std::unique_ptr<ExerPane>> panes;
    std::vector<PdfPageDraw> pages;
    for (const ShownView& shown : views) {
        panes.push_back(std::make_unique<ExerPane>(doc, shown, options, 400, 300));
        CView* view = panes.back()->View();
        if (!view) return false;
        pages.push_back([view](CECGDC* dc, const CRect& area, double px) { return PrintView(view, dc, area, px); });
    }
    if (!PrintPagesToPdf(doc, pages, pdf)) return false;
    std::printf("%s\n", pdf.c_str());
    return true;
}

// OUT.png for the first file, OUT-N.png for the N-th.
std::string NumberedPath(const std::string& path, size_t index)
{
    if (index == 0) return path;
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    const std::string suffix = "-" + std::to_string(index + 1);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + suffix;
    return path.substr(0, dot) + suffix + path.substr(dot);
}

bool ShowRecord(const std::string& command, CExerViewDoc& doc, const ExerciseOptions& options, size_t index)
{
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    if (!item) {
        std::fprintf(stderr, "morvelance-host: the record has no exercise item\n");
        return false;
    }
    // A time past the last average block would show that block as if it were the one asked for.
    if (options.time > item->nEndTime) {
        ReportFailure("--time %d is past the record's end (its last average block is at %d s)", options.time,
                      item->nEndTime);
        return false;
    }
    if (options.time >= 0) item->nCurTime = options.time;
    // A named picture the record has nothing for is refused before anything
    // is written; "all" leaves it out, as it leaves out those of other kinds.
    const bool all = options.viewClass == "all";
    std::vector<ShownView> views;
    for (const ShownView& shown : ViewsToShow(options)) {
        const bool trend = shown.viewClass == kTrendView;
        if (all ? (Takes(shown.viewClass, doc) && (!trend || TrendStyleDraws(shown.mode, doc)))
                : (!trend || TrendStyleOrSays(shown.mode, doc)))
            views.push_back(shown);
        else if (!all)
            return false;
    }
    if (command == "print") {
        std::vector<ShownView> printed;
        for (const ShownView& shown : views)
            if (shown.viewClass != kMapView) printed.push_back(shown);
        if (printed.empty()) {
            std::fprintf(stderr, "morvelance-host: %s does not print\n", kMapView);
            return false;
        }
        return PrintAll(doc, printed, options, NumberedPath(options.pdf, index));
    }
    bool ok = true;
    for (const ShownView& shown : views) {
        const std::string png = options.outDir.empty()
                                    ? NumberedPath(options.png, index)
                                    : NumberedPath(options.outDir + "/" + shown.stem + ".png", index);
        ok = PaintToPng(doc, shown, options, png) && ok;
    }
    return ok;
}

// What the view named (every view, for "all") applies of the options: the
// trend follows a lead in a pane's manner, the map turns and shows relative
// ST; a picture goes to --png (each of "all" into --out), a print to --pdf.
bool ExerciseOptionsTakenOrSays(const std::string& command, const ExerciseOptions& options)
{
    const bool all = options.viewClass == "all", view = command == "view";
    const bool trend = all || options.viewClass == kTrendView, map = view && (all || options.viewClass == kMapView);
    auto given = [&](const char* option) { return options.given.count(option) != 0; };
    return OptionsTakenOrSays(command + " --view " + options.viewClass,
                              {
                                  {given("--lead"), "--lead", trend},
                                  {given("--parent"), "--parent", trend},
                                  {given("--rotate"), "--rotate", map},
                                  {given("--tilt"), "--tilt", map},
                                  {options.relative, "--relative", map},
                                  {given("--png"), "--png", view && !all},
                                  {given("--out"), "--out", view && all},
                                  {given("--size"), "--size", view},
                                  {given("--pdf"), "--pdf", !view},
                              });
}

}  // namespace

bool IsExerciseViewRequest(int argc, char** argv)
{
    return IsExerciseView(ViewName(argc, argv));
}

bool IsExerciseOnlyFlag(const std::string& arg)
{
    return arg == "--relative";
}

int TakeExerciseOnlyOption(const std::string& arg, const char* value, ExerciseOptions& options)
{
    bool ok = true;
    if (arg == "--time") ok = ParseNumber(arg, value, 0, 1000000, options.time);
    else if (arg == "--parent") ok = ParseNumber(arg, value, 0, 3, options.parent);
    else if (arg == "--rotate" || arg == "--tilt")
        ok = ParseAngle(arg, value, arg == "--rotate" ? options.rotate : options.tilt);
    else
        return 0;
    return ok ? 1 : -1;
}

bool ShowExerciseRecord(const std::string& command, CTavrionDoc& doc, const ExerciseOptions& options, size_t index)
{
    auto* exer = DYNAMIC_DOWNCAST(CExerViewDoc, &doc);
    if (!exer) {
        ReportFailure("is not an exercise record");
        return false;
    }
    return ShowRecord(command, *exer, options, index);
}

int RunExerciseViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open)
{
    ExerciseOptions options;
    if (!ParseExerciseOptions(command, argc, argv, options)) return 2;
    // A trend style or an average layout asked of a view that has none
    // would be left out of the picture without a word.
    if (options.viewClass != "all") {
        const bool trend = options.viewClass == kTrendView, average = options.viewClass == kAverageView;
        if ((options.style > 0 && !trend) || (options.mode > 0 && !average)) {
            ReportFailure("%s takes no %s (%s)", options.viewClass.c_str(), options.style > 0 && !trend ? "--style" : "--mode",
                          options.style > 0 && !trend ? "the trend styles are CViewExerTrend's"
                                                      : "the average layouts are CViewExerAverage's");
            return 1;
        }
    }
    if (!ExerciseOptionsTakenOrSays(command, options)) return 1;
    const std::string& target = command == "print" ? options.pdf : options.png;
    if (!(options.outDir.empty() ? MakeFolderOf(target) : MakeOutputFolder(options.outDir))) return 1;
    int failures = 0;
    for (size_t index = 0; index < options.files.size(); ++index) {
        std::unique_ptr<CTavrionDoc> doc;
        if (!open(options.files[index], doc) || !doc) {
            ++failures;   // said by the opener, which refuses the records the view does not take
            continue;
        }
        doc->m_bAutoDelete = FALSE;
        if (!ShowExerciseRecord(command, *doc, options, index)) ++failures;
    }
    return failures ? 1 : 0;
}

}  // namespace host
