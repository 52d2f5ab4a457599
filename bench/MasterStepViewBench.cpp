// The master-step views as the summary and comparison panes show them on a
// 1920 x 1080 screen, from the demo's step-and-trip record of the record
// maker: the 12-lead comparison page, a lead tile and the enlarged beat at
// 1000% each drawn whole (target: under 20 ms each).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "analysisviews/ViewFinalCom12Leads.h"
#include "analysisviews/ViewFinalCom1Lead.h"
#include "analysisviews/ViewFinalEnlargeWave.h"
#include "bench/BenchViews.h"
#include "documents/FinalViewDoc.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/MasterStepRecord.h"
#include "tools/RecordXml.h"

namespace {

// The demo record opened as the host opens it, and a 1920 x 1080 pane.
struct MasterStepScene {
    MasterStepScene()
    {
        platform::ui::Desktop::SetScreenSize(1920, 1080);
        char pattern[] = "/tmp/morvelance-msbench-XXXXXX";
        dir = mkdtemp(pattern) ? pattern : "/tmp";
        const std::string record = morvelance::WriteMasterStepSamples(dir).front();
        morvelance::RecordXmlSource source;
        std::string error;
        morvelance::ReadRecordXmlSource(record, &source, &error);
        const std::string xml = morvelance::RecordXmlPathFor(record, source.time);
        doc.m_bAutoDelete = FALSE;
        auto* item = new _FINALDATAITEM;
        item->strFilePath = CString(record.c_str());
        item->strXMLPath = CString(xml.c_str());
        doc.GetFinalDataManager().AppendItem(item);
        CString x(xml.c_str()), f(record.c_str());
        opened = doc.OpenFile(x, f) == 0;
        doc.SetCurDataIndex(item->nID);
        doc.InitialSense();
        pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1920, 1080), nullptr, 0);
    }
    ~MasterStepScene()
    {
        if (frame) frame->DestroyWindow();
        pane.DestroyWindow();
        platform::ui::Desktop::Reset();
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    template <class View> View* Make()
    {
        frame = new CFrameWnd;
        return benchviews::CreateViewInFrame<View>(*frame, pane, doc, 1920, 1080);
    }
    std::string dir;
    CFinalViewDoc doc;
    bool opened = false;
    CWnd pane;
    CFrameWnd* frame = nullptr;
};

template <class View> void DrawWhole(benchmark::State& state, View* view)
{
    for (auto _ : state) {
        view->Invalidate(FALSE);
        view->UpdateWindow();
    }
}

void BM_MasterStepComparisonPage(benchmark::State& state)
{
    MasterStepScene scene;
    if (!scene.opened) return state.SkipWithError("the record did not open");
    auto* view = scene.Make<CViewFinalCom12Leads>();
    view->OnUpdate(nullptr, 0, nullptr);
    DrawWhole(state, view);
}
BENCHMARK(BM_MasterStepComparisonPage)->Unit(benchmark::kMillisecond);

void BM_MasterStepLeadTile(benchmark::State& state)
{
    MasterStepScene scene;
    if (!scene.opened) return state.SkipWithError("the record did not open");
    auto* view = scene.Make<CViewFinalCom1Lead>();
    view->SetLeadID(10);
    view->OnUpdate(nullptr, 0, nullptr);
    DrawWhole(state, view);
}
BENCHMARK(BM_MasterStepLeadTile)->Unit(benchmark::kMillisecond);

void BM_MasterStepEnlargedBeatAt1000Percent(benchmark::State& state)
{
    MasterStepScene scene;
    if (!scene.opened) return state.SkipWithError("the record did not open");
    auto* view = scene.Make<CViewFinalEnlargeWave>();
    view->SetWaveInfo(&scene.doc, 1, FALSE);
    view->InitBackground(480, 270);
    view->SetBackGridSize(4.0, 4.0, 4.0);
    view->SetScaleRatio(4);
    view->SetDataIndex(-2);
    view->SendMessage(WM_INITIALUPDATE, 0, 0);
    DrawWhole(state, view);
}
BENCHMARK(BM_MasterStepEnlargedBeatAt1000Percent)->Unit(benchmark::kMillisecond);

// One mouse move while the ruler's second mark follows the mouse: the old
// figure erased and the new one drawn in XOR, and the reading sent (target:
// under 2 ms).
void BM_MasterStepRulerTrackingMove(benchmark::State& state)
{
    MasterStepScene scene;
    if (!scene.opened) return state.SkipWithError("the record did not open");
    auto* view = scene.Make<CViewFinalEnlargeWave>();
    view->SetWaveInfo(&scene.doc, 1, TRUE);
    view->InitBackground(480, 270);
    view->SetBackGridSize(4.0, 4.0, 1.0);
    view->SendMessage(WM_INITIALUPDATE, 0, 0);
    view->UpdateWindow();
    view->SetRulerStatus(RULER_STATUS_ARMED);
    platform::ui::Desktop::MoveMouse(view->GetSafeHwnd(), 500, 500);
    platform::ui::Desktop::Click(view->GetSafeHwnd(), 500, 500);
    platform::ui::Desktop::PumpMessages();
    int step = 0;
    for (auto _ : state) {
        platform::ui::Desktop::MoveMouse(view->GetSafeHwnd(), 800 + (step++ % 200), 600);
        platform::ui::Desktop::PumpMessages();
    }
}
BENCHMARK(BM_MasterStepRulerTrackingMove)->Unit(benchmark::kMicrosecond);

}  // namespace
