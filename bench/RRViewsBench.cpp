// The RR result page's charts over a two-hour RR record of about 9,000
// intervals (its record XML written by the record maker, opened through the
// RR document): the histogram (counting every interval) and the trend (its
// first three minutes) each drawn into a 1920 x 1080 image DC; then the
// interval list taking its copy at an update and printing a page of 400 to
// a recording DC.
// Run: <build>/bin/morvelance_bench --benchmark_filter=RRView
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "analysisviews/ViewRRHistogram.h"
#include "analysisviews/ViewRRIntervalList.h"
#include "analysisviews/ViewRRTrend.h"
#include "documents/RRViewDoc.h"
#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "tools/EcgModel.h"
#include "tools/RRRecord.h"

using namespace morvelance;

namespace {

const int kWidth = 1920;
const int kHeight = 1080;
const int kIntervals = 9000;   // two hours around 800 ms

struct BenchRecord {
    BenchRecord() : folder("/tmp/morvelance-rrviews-bench-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(folder);
        SynthOptions synth;
        synth.leads = {LeadId::II};
        synth.seconds = 10.0;
        RRReport report;
        report.intervals = MakeRRIntervals(kIntervals, 800, 120);
        record = folder + "/rr2h.ecg";
        xml = WriteRRRecordFilesWithReport(record, MakeRRDeviceRecord(Synthesize(synth), DeviceRecordOptions()),
                                           report, RecordXmlOptions(), folder + "/rr2h.xml");
    }
    ~BenchRecord()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string folder, record, xml;
};

// The RR document with the two-hour record open and the view on it.
template <class View> struct Page {
    Page()
    {
        static const BenchRecord files;
        doc.m_bAutoDelete = FALSE;
        auto* item = new _RRDATAITEM;
        item->strFilePath = CString(files.record.c_str());
        item->strXMLPath = CString(files.xml.c_str());
        doc.GetRRDataManager()->AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        CString xml(files.xml.c_str()), file(files.record.c_str());
        ok = doc.OpenFile(xml, file) == 0 && item->nRRListCount == kIntervals;
        doc.AddView(&view);
        dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight));
    }
    ~Page() { doc.RemoveView(&view); }

    CRRViewDoc doc;
    View view;
    CDC dc;
    CRect rect{0, 0, kWidth, kHeight};
    bool ok = false;
};

void BM_RRViewHistogram(benchmark::State& state)
{
    Page<CViewRRHistogram> page;
    if (!page.ok) return state.SkipWithError("the RR record did not open");
    for (auto _ : state) page.view.DrawView(&page.dc, &page.rect, FALSE);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kIntervals);
}
BENCHMARK(BM_RRViewHistogram)->Unit(benchmark::kMicrosecond);

void BM_RRViewTrend(benchmark::State& state)
{
    Page<CViewRRTrend> page;
    if (!page.ok) return state.SkipWithError("the RR record did not open");
    for (auto _ : state) page.view.DrawView(&page.dc, &page.rect);
}
BENCHMARK(BM_RRViewTrend)->Unit(benchmark::kMicrosecond);

void BM_RRViewListUpdate(benchmark::State& state)
{
    Page<CViewRRIntervalList> page;
    if (!page.ok) return state.SkipWithError("the RR record did not open");
    for (auto _ : state) page.view.OnUpdate(nullptr, 0, nullptr);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kIntervals);
}
BENCHMARK(BM_RRViewListUpdate)->Unit(benchmark::kMicrosecond);

void BM_RRViewListPrintPage(benchmark::State& state)
{
    Page<CViewRRIntervalList> page;
    if (!page.ok) return state.SkipWithError("the RR record did not open");
    page.view.OnUpdate(nullptr, 0, nullptr);
    CDC recording;
    recording.Attach(platform::gdi::CreateRecordingDC(kWidth, kHeight));
    CECGDC device(&recording, 2);
    for (auto _ : state) {
        platform::gdi::ClearRecording(recording.GetSafeHdc());
        page.view.Print(&device, page.rect, 12);
    }
}
BENCHMARK(BM_RRViewListPrintPage)->Unit(benchmark::kMicrosecond);

}  // namespace
