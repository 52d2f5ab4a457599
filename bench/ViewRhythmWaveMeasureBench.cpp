// The multi-lead view's measuring tools under the mouse, as a pane holds the
// view (1920 x 1080, a resting record, style 1): one divider drag move and
// one scale move, each the handler and the repaint from the clean page
// (target: under 2 ms each).
// Run: <build>/bin/morvelance_bench --benchmark_filter=RhythmViewMeasure
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/BenchRecords.h"
#include "bench/BenchViews.h"
#include "documents/RestViewDoc.h"
#include "platform/ui/framework/FrameWnd.h"
#include "tools/RestRecord.h"
#include "waveviews/ViewRhythmWave.h"

using namespace morvelance;

namespace {

const int kWidth = 1920;
const int kHeight = 1080;

// The record, the document and the view in a pane, the page painted once.
struct MeasurePane {
    MeasurePane() : folder("/tmp/morvelance-measure-bench-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(folder);
        const RestRecordFiles files = WriteRestRecord(folder, "rest.ecg", RestRecordShape());
        doc.m_bAutoDelete = FALSE;
        doc.SetSmoothFilterMode(0);
        doc.SetSpeed(25.0f);
        doc.SetMouseMode(1);
        ok = benchrecords::OpenRestRecord(doc, files);
        ok = ok && pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0);
        frame = new CFrameWnd;
        view = ok ? benchviews::CreateViewInFrame<CViewRhythmWave>(*frame, pane, doc, kWidth, kHeight,
                                                                   benchviews::ViewEdge::Removed)
                  : nullptr;
        ok = ok && view;
        if (!ok) return;
        view->SetDocType(DOC_TYPE_REST);
        view->SetWaveStyle(1, TRUE);
        view->OnUpdate(nullptr, 0, nullptr);
        view->ShowDivider(TRUE);
        view->SetDividerCheck(TRUE, 1);
        view->UpdateWindow();
    }
    ~MeasurePane()
    {
        if (frame) frame->DestroyWindow();
        pane.DestroyWindow();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    void Send(UINT message, WPARAM flags, int x, int y) { view->SendMessage(message, flags, MAKELPARAM(x, y)); }

    std::string folder;
    CRestViewDoc doc;
    CWnd pane;
    CFrameWnd* frame = nullptr;
    CViewRhythmWave* view = nullptr;
    bool ok = false;
};

void BM_RhythmViewMeasureDividerDrag(benchmark::State& state)
{
    MeasurePane pane;
    if (!pane.ok) {
        state.SkipWithError("no view");
        return;
    }
    const CRect handle = pane.view->GetDividerHandle(0, 1);
    const int x = (handle.left + handle.right) / 2;
    const int y = (handle.top + handle.bottom) / 2;
    pane.Send(WM_MOUSEMOVE, 0, x, y);
    pane.Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    int step = 0;
    for (auto _ : state) {
        pane.Send(WM_MOUSEMOVE, MK_LBUTTON, x + (step++ % 40), y);
        pane.view->UpdateWindow();
    }
    pane.Send(WM_LBUTTONUP, 0, x, y);
}
BENCHMARK(BM_RhythmViewMeasureDividerDrag)->Unit(benchmark::kMicrosecond);

void BM_RhythmViewMeasureScaleMove(benchmark::State& state)
{
    MeasurePane pane;
    if (!pane.ok) {
        state.SkipWithError("no view");
        return;
    }
    pane.doc.SetScaleShow(1);
    pane.view->ShowScale(TRUE);
    pane.Send(WM_MOUSEMOVE, 0, 300, 300);
    pane.Send(WM_LBUTTONDOWN, MK_LBUTTON, 300, 300);
    pane.Send(WM_LBUTTONUP, 0, 300, 300);
    int step = 0;
    for (auto _ : state) {
        pane.Send(WM_MOUSEMOVE, 0, 600 + (step++ % 40), 400);
        pane.view->UpdateWindow();
    }
}
BENCHMARK(BM_RhythmViewMeasureScaleMove)->Unit(benchmark::kMicrosecond);

}  // namespace
