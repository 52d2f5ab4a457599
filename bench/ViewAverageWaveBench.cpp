// The average-beat view of a resting record the record maker writes, drawn
// whole into a 1920 x 1080 image DC (paper grid, calibration column, twelve
// beats with their names) in smoothing modes 0 and 2 (target: under 20 ms);
// printed to a 300 dpi page surface; and its magnifier under a 320 x 200
// magnifier window at ratio 4: a move served from the cached canvas (target:
// under 2 ms) and the first render of that canvas, reported apart.
// Run: <build>/bin/morvelance_bench --benchmark_filter=AverageView
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "analysisviews/ViewAverageWave.h"
#include "bench/BenchRecords.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "printdevice/ECGDC.h"
#include "tools/RestRecord.h"

using namespace morvelance;

namespace {

const int kWidth = 1920;
const int kHeight = 1080;

struct BenchFolder {
    BenchFolder() : path("/tmp/morvelance-averageview-bench-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(path);
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

const RestRecordFiles& Record()
{
    static const BenchFolder folder;
    static const RestRecordFiles files = WriteRestRecord(folder.path, "rest.ecg", RestRecordShape());
    return files;
}

// A resting document with the record open and the view on it.
struct Beats {
    explicit Beats(int mode)
    {
        doc.m_bAutoDelete = FALSE;
        doc.SetSmoothFilterMode(mode);
        doc.SetGridType(1);
        const RestRecordFiles& files = Record();
        ok = benchrecords::OpenRestRecord(doc, files);
        doc.SetShowST(1);
        doc.AddView(&view);
        view.SetDocType(DOC_TYPE_REST);
        view.OnUpdate(nullptr, 0, nullptr);
    }
    ~Beats() { doc.RemoveView(&view); }

    CRestViewDoc doc;
    CViewAverageWave view;
    bool ok = false;
};

void BM_AverageViewDraw(benchmark::State& state)
{
    Beats beats(static_cast<int>(state.range(0)));
    CDC dc;
    dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight));
    if (!beats.ok) {
        state.SkipWithError("the record did not open");
        return;
    }
    int columns = 0, rows = 0;
    beats.view.GetGridCount(columns, rows);
    for (auto _ : state) {
        beats.view.DrawBackGrid(&dc, CRect(0, 0, kWidth, kHeight), columns, rows, RGB(255, 255, 255), RGB(255, 0, 0));
        if (!beats.view.DrawView(&dc, CRect(0, 0, kWidth, kHeight), columns, rows, FALSE))
            state.SkipWithError("the view did not draw");
    }
}
BENCHMARK(BM_AverageViewDraw)->ArgNames({"mode"})->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// 130 x 120 mm at 300 dpi, the print path (black, 3 px traces).
void BM_AverageViewPrint(benchmark::State& state)
{
    Beats beats(0);
    const double pxPerMm = 300.0 / 25.4;
    CDC dc;
    dc.Attach(platform::gdi::CreateImageDC(static_cast<int>(130 * pxPerMm) + 1, static_cast<int>(120 * pxPerMm) + 1));
    CECGDC printer(&dc, 2);
    for (auto _ : state) beats.view.Print(&printer, CRect(0, 0, 0, 0), 130, 120, pxPerMm, 0, 0);
}
BENCHMARK(BM_AverageViewPrint)->Unit(benchmark::kMillisecond);

// The view in a 1920 x 1080 pane with the magnifier window shown.
struct MagnifiedBeats {
    MagnifiedBeats() : beats(0)
    {
        platform::ui::Desktop::SetScreenSize(1920, 1080);
        dialog.SetEnlargedPreviewDoc(&beats.doc);
        dialog.Create(CDlgEnlargedPreview::IDD, nullptr);
        dialog.SetWindowPos(nullptr, 0, 0, 320, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        dialog.ShowWindow(SW_SHOWNOACTIVATE);
        beats.doc.SetEnlargedPreview(&dialog);
        pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0);
        beats.doc.RemoveView(&beats.view);
        view = new CViewAverageWave;
        CCreateContext context;
        context.m_pCurrentDoc = &beats.doc;
        view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &pane, 1, &context);
        view->SetDocType(DOC_TYPE_REST);
        view->OnUpdate(nullptr, 0, nullptr);
    }
    ~MagnifiedBeats()
    {
        beats.doc.SetEnlargedPreview(nullptr);
        pane.DestroyWindow();
        dialog.DestroyWindow();
        beats.doc.AddView(&beats.view);
        platform::ui::Desktop::Reset();
    }
    Beats beats;
    CDlgEnlargedPreview dialog;
    CWnd pane;
    CViewAverageWave* view = nullptr;   // goes with the pane's window
};

void BM_AverageViewMagnifierMoveFromCache(benchmark::State& state)
{
    MagnifiedBeats scene;
    scene.view->MoveEnlargedPreview(CPoint(960, 540));
    int step = 0;
    for (auto _ : state) {
        scene.view->MoveEnlargedPreview(CPoint(950 + step % 20, 530 + step % 20));
        ++step;
    }
}
BENCHMARK(BM_AverageViewMagnifierMoveFromCache)->Unit(benchmark::kMicrosecond);

void BM_AverageViewMagnifierFirstRender(benchmark::State& state)
{
    MagnifiedBeats scene;
    int step = 0;
    for (auto _ : state) {
        scene.dialog.SetScaleRatio(step++ % 2 ? 4.0f : 3.0f);   // a new ratio: the canvas is drawn afresh
        scene.view->MoveEnlargedPreview(CPoint(960, 540));
    }
}
BENCHMARK(BM_AverageViewMagnifierFirstRender)->Unit(benchmark::kMillisecond);

}  // namespace
