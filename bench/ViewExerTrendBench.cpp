// The exercise trend view drawing each of its eighteen styles into a 1920 x
// 1080 image DC over a test of an hour (seven stages and 39 minutes of
// recovery: a 60-minute span), frame, arrays read and curves (target: under
// 20 ms a style).
// Run: <build>/bin/morvelance_bench --benchmark_filter=ExerTrend
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "analysisviews/ViewExerTrend.h"
#include "bench/BenchViews.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "tools/ExerRecord.h"

using namespace morvelance;

namespace {

void BM_ExerTrendDraw(benchmark::State& state)
{
    static const benchviews::ExerciseRecordFolder folder("exertrend", benchviews::HourLongExercise());
    CExerViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    auto* item = new _EXERDATAITEM;
    item->strFilePath = CString(folder.record.c_str());
    item->strXMLPath = CString(folder.xml.c_str());
    doc.GetExerDataManager().AppendItem(item);
    doc.SetCurDataIndex(item->nID);
    CString xml(folder.xml.c_str()), file(folder.record.c_str());
    if (doc.OpenFile(xml, file) != 0) {
        state.SkipWithError("the exercise record did not open");
        return;
    }
    // The view in a frame of the pane's size, as the trend pane holds it.
    CWnd pane;
    pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1920, 1080), nullptr, 0);
    auto* frame = new CFrameWnd;
    frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1920, 1080), &pane);
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CViewExerTrend);
    context.m_pCurrentDoc = &doc;
    auto* view = DYNAMIC_DOWNCAST(CViewExerTrend, frame->CreateView(&context, AFX_IDW_PANE_FIRST));
    frame->RecalcLayout();
    view->SetTrendStyle(static_cast<int>(state.range(0)));
    view->SetLeadID(10);
    view->UpdateInformation();
    if (view->GetTimeSpan() != 60) state.SkipWithError("the test does not span an hour");
    CDC dc;
    dc.Attach(platform::gdi::CreateImageDC(1920, 1080));
    for (auto _ : state) {
        dc.FillSolidRect(0, 0, 1920, 1080, RGB(255, 255, 255));
        view->OnDraw(&dc);
    }
    frame->DestroyWindow();
    pane.DestroyWindow();
}
BENCHMARK(BM_ExerTrendDraw)->DenseRange(1, 18)->Unit(benchmark::kMillisecond);

}  // namespace
