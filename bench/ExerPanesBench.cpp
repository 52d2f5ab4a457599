// The exercise pages at 1920 x 1080 over a test of an hour (seven stages and
// 39 minutes of recovery): the trend page's twelve graphs repainted whole,
// and one playback tick (the block step, the page's update and the repaint
// of what it invalidated) of the average and memory pages at the first, a
// middle and the last block (target: under 20 ms each).
// Run: <build>/bin/morvelance_bench --benchmark_filter=ExerPane
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BenchViews.h"
#include "core/Globals.h"
#include "documents/ExerViewDoc.h"
#include "panes/WndExerAverage.h"
#include "panes/WndExerAverageStrips.h"
#include "panes/WndExerMemory.h"
#include "panes/WndExerTrend.h"
#include "platform/ui/windowing/Desktop.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The hour-long record open in an exercise document on a 1920 x 1080 screen.
class HourLongRecord {
public:
    HourLongRecord() : m_folder("exerpanes", benchviews::HourLongExercise())
    {
        g_dXUnit = kWidth / 1024.0;
        g_dYUnit = kHeight / 768.0;
        platform::ui::Desktop::SetScreenSize(kWidth, kHeight);
        m_doc.m_bAutoDelete = FALSE;
        auto* item = new _EXERDATAITEM;
        item->strFilePath = CString(m_folder.record.c_str());
        item->strXMLPath = CString(m_folder.xml.c_str());
        m_doc.GetExerDataManager().AppendItem(item);
        m_doc.SetCurDataIndex(item->nID);
        CString xml(m_folder.xml.c_str()), file(m_folder.record.c_str());
        m_open = m_doc.OpenFile(xml, file) == 0;
        m_doc.InitGlobalData();
        if (m_open) m_doc.GetCurrentDataItem()->nTrendStyle = 1;   // the heart rate under the beats
    }
    bool IsOpen() const { return m_open; }
    CExerViewDoc& Doc() { return m_doc; }

private:
    benchviews::ExerciseRecordFolder m_folder;
    CExerViewDoc m_doc;
    bool m_open = false;
};

HourLongRecord& Record()
{
    static HourLongRecord record;
    return record;
}

// A pane in a host window of the screen's size, laid out and updated.
template <class Pane> class ShownPane {
public:
    explicit ShownPane(CExerViewDoc& doc)
    {
        m_host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0);
        pane.SetExerViewDoc(&doc);
        pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &m_host, 100);
        pane.SendMessage(WM_SIZE, 0, 0);
        pane.OnUpdate();
        Paint();
    }
    ~ShownPane()
    {
        pane.DestroyWindow();
        m_host.DestroyWindow();
    }
    // Paints what is invalid in the pane and its children.
    void Paint() { pane.RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

    Pane pane;

private:
    CWnd m_host;
};

void BM_ExerPaneTrendRepaint(benchmark::State& state)
{
    if (!Record().IsOpen()) {
        state.SkipWithError("the exercise record did not open");
        return;
    }
    ShownPane<CWndExerTrend> shown(Record().Doc());
    for (auto _ : state) {
        shown.pane.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}
BENCHMARK(BM_ExerPaneTrendRepaint)->Unit(benchmark::kMillisecond);

// Where a tick starts: 0 the first block (steps forward), 1 the middle
// (forward), 2 the last block (steps back).
void Start(int where, int blocks, int& block, UINT_PTR& timer)
{
    block = where == 0 ? 0 : where == 1 ? blocks / 2 : blocks - 1;
    timer = where == 2 ? panes::kBackwardTimer : panes::kForwardTimer;
}

void BM_ExerPaneAverageTick(benchmark::State& state)
{
    if (!Record().IsOpen()) {
        state.SkipWithError("the exercise record did not open");
        return;
    }
    CExerViewDoc& doc = Record().Doc();
    ShownPane<CWndExerAverage> shown(doc);
    const _EXERDATAITEM* item = doc.GetCurrentDataItem();
    int block = 0;
    UINT_PTR timer = 0;
    Start(static_cast<int>(state.range(0)), item->nExerAveCount + item->nPostAveCount, block, timer);
    for (auto _ : state) {
        state.PauseTiming();
        doc.SetCurAveBlockNo(block, 0);
        state.ResumeTiming();
        shown.pane.SendMessage(WM_TIMER, timer, 0);
        shown.Paint();
    }
    if (doc.GetCurAveBlockNo() == block) state.SkipWithError("the tick did not step");
}
BENCHMARK(BM_ExerPaneAverageTick)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_ExerPaneMemoryTick(benchmark::State& state)
{
    if (!Record().IsOpen()) {
        state.SkipWithError("the exercise record did not open");
        return;
    }
    CExerViewDoc& doc = Record().Doc();
    ShownPane<CWndExerMemory> shown(doc);
    const _EXERDATAITEM* item = doc.GetCurrentDataItem();
    int block = 0;
    UINT_PTR timer = 0;
    Start(static_cast<int>(state.range(0)), item->nExerMemCount + item->nPostMemCount, block, timer);
    for (auto _ : state) {
        state.PauseTiming();
        doc.SetCurMemBlockNo(block, 0);
        state.ResumeTiming();
        shown.pane.SendMessage(WM_TIMER, timer, 0);
        shown.Paint();
    }
    if (doc.GetCurMemBlockNo() == block) state.SkipWithError("the tick did not step");
}
BENCHMARK(BM_ExerPaneMemoryTick)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
