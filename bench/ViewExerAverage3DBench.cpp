// The 3D ST map of an hour-long exercise test (twelve rows of ST words over a
// 60-minute span) drawn whole into a 1920 x 1080 image DC, and one swing
// step with its repaint (targets: under 20 ms each).
// Run: <build>/bin/morvelance_bench --benchmark_filter=ExerMap
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "analysisviews/ViewExerAverage3D.h"
#include "bench/BenchViews.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "tools/ExerRecord.h"

using namespace morvelance;

namespace {

// The map in a frame of 1920 x 1080 on the opened record.
struct MapPane {
    MapPane()
    {
        static const benchviews::ExerciseRecordFolder files("exermap", benchviews::HourLongExercise());
        doc.m_bAutoDelete = FALSE;
        auto* item = new _EXERDATAITEM;
        item->strFilePath = CString(files.record.c_str());
        item->strXMLPath = CString(files.xml.c_str());
        doc.GetExerDataManager().AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        CString xml(files.xml.c_str()), file(files.record.c_str());
        ok = doc.OpenFile(xml, file) == 0;
        pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1920, 1080), nullptr, 0);
        frame = new CFrameWnd;
        frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1920, 1080), &pane);
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CViewExerAverage3D);
        context.m_pCurrentDoc = &doc;
        view = DYNAMIC_DOWNCAST(CViewExerAverage3D, frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        frame->RecalcLayout();
        view->SendMessage(WM_INITIALUPDATE, 0, 0);
        dc.Attach(platform::gdi::CreateImageDC(1920, 1080));
    }
    ~MapPane()
    {
        frame->DestroyWindow();
        pane.DestroyWindow();
    }
    CExerViewDoc doc;
    CWnd pane;
    CFrameWnd* frame = nullptr;
    CViewExerAverage3D* view = nullptr;
    CDC dc;
    bool ok = false;
};

void BM_ExerMapDraw(benchmark::State& state)
{
    MapPane map;
    if (!map.ok || map.view->GetTimeSpan() != 60) {
        state.SkipWithError("the hour-long record did not open");
        return;
    }
    for (auto _ : state) {
        map.dc.FillSolidRect(0, 0, 1920, 1080, RGB(255, 255, 255));
        map.view->OnDraw(&map.dc);
    }
}
BENCHMARK(BM_ExerMapDraw)->Unit(benchmark::kMillisecond);

void BM_ExerMapSwingStep(benchmark::State& state)
{
    MapPane map;
    for (auto _ : state) {
        map.view->SwingRotation();
        map.view->UpdateWindow();
    }
}
BENCHMARK(BM_ExerMapSwingStep)->Unit(benchmark::kMillisecond);

}  // namespace
