// Opening RR records through the RR document, whose record XML lists every
// interval of the recording: the cost must grow with the number of intervals,
// not with its square. Run: build/test/bin/morvelance_bench --benchmark_filter=RR
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "documents/RRViewDoc.h"
#include "tools/EcgModel.h"
#include "tools/RRRecord.h"

using namespace morvelance;

namespace {

struct RRBenchFiles {
    std::string record;
    std::string xml;
};

RRBenchFiles WriteRRRecord(int minutes)
{
    const std::string stem = "/tmp/morvelance-bench-" + std::to_string(getpid()) + "-rr" + std::to_string(minutes);
    SynthOptions synth;
    synth.leads = {LeadId::II};
    synth.seconds = minutes * 60.0;
    synth.heartRate = 75.0;
    synth.irregularity = 0.1;
    RRBenchFiles files;
    files.record = stem + ".ecg";
    files.xml = WriteRRRecordFiles(files.record, MakeRRDeviceRecord(Synthesize(synth), DeviceRecordOptions()),
                                   RecordXmlOptions(), stem + ".xml");
    return files;
}

void BM_RROpenByIntervals(benchmark::State& state)
{
    const RRBenchFiles files = WriteRRRecord(static_cast<int>(state.range(0)));
    int intervals = 0;
    for (auto _ : state) {
        CRRViewDoc doc;
        auto* item = new _RRDATAITEM;
        item->strFilePath = CString(files.record.c_str());
        item->strXMLPath = CString(files.xml.c_str());
        doc.GetRRDataManager()->AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        CString xml = item->strXMLPath, record = item->strFilePath;
        if (doc.OpenFile(xml, record) != 0) {
            state.SkipWithError("the RR record did not open");
            break;
        }
        intervals = item->nRRListCount;
        benchmark::DoNotOptimize(item->pRRList);
    }
    state.counters["intervals"] = intervals;
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * intervals);
    std::remove(files.record.c_str());
    std::remove(files.xml.c_str());
}
BENCHMARK(BM_RROpenByIntervals)->Arg(5)->Arg(30)->Arg(120)->Unit(benchmark::kMillisecond);

}  // namespace
