// The serial rhythm comparison as its pane shows it in 1920 x 1080: two
// resting records of the record maker side by side in style 29, each over
// its overview strip, painted afresh (target: under 20 ms); and one move of
// a caliper drag over the kept page (target: under 2 ms).
// Run: <build>/bin/morvelance_bench --benchmark_filter=SerialCom
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/DataItem.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/RestRecord.h"
#include "waveviews/ViewScroll1LeadRhyWave.h"

using namespace morvelance;

namespace {

struct Comparison {
    Comparison()
    {
        platform::ui::Desktop::SetScreenSize(1920, 1080);
        folder = "/tmp/morvelance-serial-bench-" + std::to_string(getpid());
        std::filesystem::create_directories(folder);
        rest.m_bAutoDelete = mfer.m_bAutoDelete = base.m_bAutoDelete = FALSE;
        rest.SetSpeed(25.0f);
        for (int i = 0; i < 2; ++i) {
            RestRecordShape shape;
            const RestRecordFiles files = WriteRestRecord(folder, "rest" + std::to_string(i) + ".ecg", shape);
            auto* item = new _RESTDATAITEM;
            item->strFilePath = CString(files.record.c_str());
            item->strXMLPath = CString(files.xml.c_str());
            rest.GetRestDataManager().AppendItem(item);
            CString xml(files.xml.c_str()), file(files.record.c_str());
            ok = rest.OpenFile(xml, file) == 0 && ok;
            auto* listed = new _DATAITEM;
            listed->uSystemCode = item->uSystemCode;
            listed->strXMLPath = item->strXMLPath;
            listed->strFilePath = item->strFilePath;
            base.GetDataManager().AppendItem(listed);
        }
        frame.CreateEx(0, nullptr, L"bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1920, 1080), nullptr, 0);
        for (int i = 0; i < 2; ++i) {
            CCreateContext context;
            context.m_pCurrentDoc = &rest;
            views[i] = new CViewSerialComRhy;
            strips[i] = new CViewScroll1LeadRhyWave;
            views[i]->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(960 * i, 0, 960 * (i + 1), 920), &frame,
                             1 + i, &context);
            strips[i]->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(960 * i, 920, 960 * (i + 1), 1080), &frame,
                              3 + i, &context);
            for (CViewSerialComRhy* view : {views[i], static_cast<CViewSerialComRhy*>(strips[i])}) {
                view->SetRestViewDoc(&rest);
                view->SetMFERViewDoc(&mfer);
                view->SetBaseECGDoc(&base);
                view->SetDocType(DOC_TYPE_REST);
                view->SetSerialIndex(i);
            }
            views[i]->SetWaveStyle(29, TRUE);
            strips[i]->SetViewIndex(i);
            views[i]->OnUpdate(nullptr, 0, nullptr);
            strips[i]->OnUpdate(nullptr, 0, nullptr);
        }
    }
    ~Comparison()
    {
        frame.DestroyWindow();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        platform::ui::Desktop::Reset();
    }
    void Paint() { frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

    std::string folder;
    CRestViewDoc rest;
    CMFERViewDoc mfer;
    CTavrionDoc base;
    CWnd frame;
    CViewSerialComRhy* views[2] = {};
    CViewScroll1LeadRhyWave* strips[2] = {};
    bool ok = true;
};

void BM_SerialComparisonPaint(benchmark::State& state)
{
    Comparison comparison;
    if (!comparison.ok) {
        state.SkipWithError("the records did not open");
        return;
    }
    for (auto _ : state) {
        for (CViewSerialComRhy* view : comparison.views) view->UpdateDrawDC();
        comparison.Paint();
    }
}
BENCHMARK(BM_SerialComparisonPaint)->Unit(benchmark::kMillisecond);

// A caliper move: the kept page with the calipers drawn over it again.
void BM_SerialComparisonCaliperMove(benchmark::State& state)
{
    Comparison comparison;
    if (!comparison.ok) {
        state.SkipWithError("the records did not open");
        return;
    }
    comparison.rest.SetMouseMode(1);
    CViewSerialComRhy& view = *comparison.views[0];
    view.ShowDivider(TRUE);
    view.SetDividerCheck(TRUE, 1);
    comparison.Paint();
    for (auto _ : state) {
        view.Invalidate(FALSE);
        view.UpdateWindow();
    }
}
BENCHMARK(BM_SerialComparisonCaliperMove)->Unit(benchmark::kMillisecond);

}  // namespace
