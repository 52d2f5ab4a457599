// The exercise views printing themselves on one page: each view's Print on a
// print device over an A4 landscape page at 300 dpi (3508 x 2480 pixels),
// grid, texts and traces (target: under 100 ms a page; the PDF encoding of
// the host's print job is not part of it).
// Run: <build>/bin/morvelance_bench --benchmark_filter=ExerPrint
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "analysisviews/ViewExerAverage.h"
#include "analysisviews/ViewExerSummaryAverage.h"
#include "analysisviews/ViewExerTrend.h"
#include "analysisviews/ViewMemoryWave.h"
#include "analysisviews/ViewResultTable.h"
#include "core/ECGXMLParser.h"
#include "bench/BenchViews.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "tools/ExerRecord.h"

using namespace morvelance;

namespace {

const int kPageWidth = 3508;
const int kPageHeight = 2480;
const double kPxPerMm = 300 / 25.4;

// The record open at a block and a strip, a page and its print device.
struct PrintScene {
    PrintScene() : device(&dc, 2)
    {
        static const benchviews::ExerciseRecordFolder folder("exerprint");
        doc.m_bAutoDelete = FALSE;
        auto* item = new _EXERDATAITEM;
        item->strFilePath = CString(folder.record.c_str());
        item->strXMLPath = CString(folder.xml.c_str());
        doc.GetExerDataManager().AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        CString xml(folder.xml.c_str()), file(folder.record.c_str());
        ok = doc.OpenFile(xml, file) == 0;
        doc.SetCurMemBlockNo(1);
        doc.SetCurAveBlockNo(20);
        dc.Attach(platform::gdi::CreateImageDC(kPageWidth, kPageHeight));
    }
    CRect Paper(int widthMm, int heightMm) const
    {
        return CRect(118, 118, 118 + static_cast<int>(widthMm * kPxPerMm), 118 + static_cast<int>(heightMm * kPxPerMm));
    }
    void Clear() { dc.FillSolidRect(0, 0, kPageWidth, kPageHeight, RGB(255, 255, 255)); }
    CExerViewDoc doc;
    CDC dc;
    CECGDC device;
    bool ok = false;
};

void BM_ExerPrintAverage(benchmark::State& state)
{
    PrintScene scene;
    CViewExerAverage view;
    scene.doc.AddView(&view);
    view.SetAverageDisplayMode(1);
    const CRect paper = scene.Paper(140, 145);
    for (auto _ : state) {
        scene.Clear();
        benchmark::DoNotOptimize(view.Print(&scene.device, paper, kPxPerMm, 140, 145, 1));
    }
    scene.doc.RemoveView(&view);
}
BENCHMARK(BM_ExerPrintAverage)->Unit(benchmark::kMillisecond);

void BM_ExerPrintSummaryAndMemory(benchmark::State& state)
{
    PrintScene scene;
    CViewExerSummaryAverage summary;
    CViewMemoryWave memory;
    scene.doc.AddView(&summary);
    scene.doc.AddView(&memory);
    summary.OnUpdate(nullptr, 0, nullptr);
    memory.OnUpdate();
    for (auto _ : state) {
        scene.Clear();
        summary.Print(&scene.device, scene.Paper(130, 97), kPxPerMm, 0);
        memory.Print(&scene.device, scene.Paper(277, 110), kPxPerMm, 277, 110, 1);
    }
    scene.doc.RemoveView(&summary);
    scene.doc.RemoveView(&memory);
}
BENCHMARK(BM_ExerPrintSummaryAndMemory)->Unit(benchmark::kMillisecond);

void BM_ExerPrintTrendAndTable(benchmark::State& state)
{
    PrintScene scene;
    CViewExerTrend trend;
    CViewResultTable table;
    scene.doc.AddView(&trend);
    scene.doc.AddView(&table);
    trend.SetTrendStyle(1);
    trend.UpdateInformation();
    CECGXMLParser xml(scene.doc.GetCurrentDataItem()->strXMLPath, 0, CString());
    for (auto _ : state) {
        scene.Clear();
        CRect rect = scene.Paper(180, 120);
        trend.Print(&scene.device, &rect);
        table.Print(&scene.device, &xml, scene.Paper(250, 110));
    }
    scene.doc.RemoveView(&trend);
    scene.doc.RemoveView(&table);
}
BENCHMARK(BM_ExerPrintTrendAndTable)->Unit(benchmark::kMillisecond);

}  // namespace
