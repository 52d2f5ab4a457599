// The exercise beat views over an exercise record the record maker writes,
// each drawn whole (paper grid and picture) into a 1920 x 1080 image DC
// (target: under 20 ms): the average-beat view in each layout, the summary
// view, and the memory view with its three 10-s strips; the updates that
// load beats and values reported apart.
// Run: <build>/bin/morvelance_bench --benchmark_filter='ExerAverage|ExerSummary|ExerMemory'

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "analysisviews/ViewExerAverage.h"
#include "analysisviews/ViewExerSummaryAverage.h"
#include "analysisviews/ViewMemoryWave.h"
#include "bench/BenchViews.h"
#include "platform/gdi/Dc.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/ExerRecord.h"

using namespace morvelance;

namespace {

const int kWidth = 1920;
const int kHeight = 1080;

// An exercise document with the record open, at block 20 and strip 1.
struct ExerDocument {
    ExerDocument()
    {
        static const benchviews::ExerciseRecordFolder folder("exeraverage");
        doc.m_bAutoDelete = FALSE;
        doc.SetGridType(1);
        auto* item = new _EXERDATAITEM;
        item->strFilePath = CString(folder.record.c_str());
        item->strXMLPath = CString(folder.xml.c_str());
        doc.GetExerDataManager().AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        CString xmlPath(folder.xml.c_str()), file(folder.record.c_str());
        ok = doc.OpenFile(xmlPath, file) == 0;
        doc.SetCurMemBlockNo(1);
        doc.SetCurAveBlockNo(20);
        dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight));
    }
    CExerViewDoc doc;
    CDC dc;
    bool ok = false;
};

struct AveragePage : ExerDocument {
    explicit AveragePage(int mode)
    {
        doc.AddView(&view);
        view.SetAverageDisplayMode(mode);
    }
    ~AveragePage() { doc.RemoveView(&view); }
    int Draw()
    {
        view.DrawBackGrid(&dc, CRect(0, 0, kWidth, kHeight), CViewExerAverage::GRID_ACROSS,
                          CViewExerAverage::GRID_DOWN, RGB(255, 255, 255), RGB(255, 128, 128));
        return view.DrawView(&dc, CRect(0, 0, kWidth, kHeight), CViewExerAverage::GRID_ACROSS,
                             CViewExerAverage::GRID_DOWN, 1, 0);
    }

    CViewExerAverage view;
};

template <class View> struct BeatPage : ExerDocument {
    BeatPage() { doc.AddView(&view); }
    ~BeatPage() { doc.RemoveView(&view); }
    View view;
};

void BM_ExerAverageDraw(benchmark::State& state)
{
    AveragePage page(static_cast<int>(state.range(0)));
    if (!page.ok || page.view.GetBeat(0).nLength == 0 || !page.Draw()) {
        state.SkipWithError("the exercise record did not open");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(page.Draw());
}
BENCHMARK(BM_ExerAverageDraw)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_ExerAverageUpdate(benchmark::State& state)
{
    AveragePage page(1);
    for (auto _ : state) page.view.OnUpdate(nullptr, 0, nullptr);
}
BENCHMARK(BM_ExerAverageUpdate)->Unit(benchmark::kMillisecond);

void BM_ExerSummaryDraw(benchmark::State& state)
{
    BeatPage<CViewExerSummaryAverage> page;
    page.view.OnUpdate(nullptr, 0, nullptr);
    if (!page.ok || page.view.GetBeat(2, 2).nLength == 0) {
        state.SkipWithError("the exercise record did not open");
        return;
    }
    const CRect rect(0, 0, kWidth, kHeight);
    for (auto _ : state) {
        page.view.DrawBackGrid(&page.dc, rect, 150, 55, RGB(255, 255, 255), RGB(255, 128, 128));
        benchmark::DoNotOptimize(page.view.DrawView(&page.dc, rect, 150, 55, 0));
    }
}
BENCHMARK(BM_ExerSummaryDraw)->Unit(benchmark::kMillisecond);

void BM_ExerMemoryDraw(benchmark::State& state)
{
    BeatPage<CViewMemoryWave> page;
    page.view.OnUpdate();
    if (!page.ok || page.view.GetWave(2, 2).nLength == 0) {
        state.SkipWithError("the exercise record did not open");
        return;
    }
    const CRect rect(0, 0, kWidth, kHeight);
    for (auto _ : state) {
        page.view.DrawBackGrid(&page.dc, rect, 300, 110, RGB(255, 255, 255), RGB(255, 128, 128));
        benchmark::DoNotOptimize(page.view.DrawView(&page.dc, rect, 300, 110, 1, 0));
    }
}
BENCHMARK(BM_ExerMemoryDraw)->Unit(benchmark::kMillisecond);

void BM_ExerMemoryUpdate(benchmark::State& state)
{
    BeatPage<CViewMemoryWave> page;
    for (auto _ : state) page.view.OnUpdate();
}
BENCHMARK(BM_ExerMemoryUpdate)->Unit(benchmark::kMillisecond);

// The twelve-lead view in a 1920 x 1080 frame under a shown magnifier: a move
// that stays inside the cached picture (target: under 2 ms).
void BM_ExerAverageMagnifierMove(benchmark::State& state)
{
    platform::ui::Desktop::SetScreenSize(1920, 1080);
    ExerDocument scene;
    CDlgEnlargedPreview dialog;
    dialog.SetEnlargedPreviewDoc(&scene.doc);
    dialog.Create(CDlgEnlargedPreview::IDD, nullptr);
    dialog.SetWindowPos(nullptr, 1500, 0, 320, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    scene.doc.SetEnlargedPreview(&dialog);
    scene.doc.SetMouseMode(1);
    CWnd pane;
    pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0);
    auto* frame = new CFrameWnd;
    frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &pane);
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CViewExerAverage);
    context.m_pCurrentDoc = &scene.doc;
    auto* view = DYNAMIC_DOWNCAST(CViewExerAverage, frame->CreateView(&context, AFX_IDW_PANE_FIRST));
    frame->RecalcLayout();
    view->SendMessage(WM_INITIALUPDATE, 0, 0);
    view->SetAverageDisplayMode(1);
    view->GetMagnifier().Move(CPoint(400, 300));
    if (!view->GetMagnifier().HasCache()) state.SkipWithError("the magnifier kept no picture");
    int step = 0;
    for (auto _ : state) view->GetMagnifier().Move(CPoint(400 + (++step % 3), 300));
    scene.doc.SetEnlargedPreview(nullptr);
    frame->DestroyWindow();
    pane.DestroyWindow();
    dialog.DestroyWindow();
    platform::ui::Desktop::Reset();
}
BENCHMARK(BM_ExerAverageMagnifierMove)->Unit(benchmark::kMillisecond);

}  // namespace
