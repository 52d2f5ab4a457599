// Paging through long rhythm records as the multi-lead view does: one page
// of every lead after the other. The strip is read and filtered once into the
// document's cache; a page must then cost the same whatever the record's
// length (compare the 5, 10 and 30 minute runs). Run:
// <build>/bin/morvelance_bench --benchmark_filter=Rhythm
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchRecords.h"
#include "documents/RhythmViewDoc.h"
#include "tools/RhythmRecord.h"

using namespace morvelance;

namespace {

// 260 mm rows at 25 mm/s, three rows: what one screen page shows.
const int kPageSamples = 260 * 500 / 25 * 3;

std::string RhythmBenchPath(const std::string& name)
{
    return "/tmp/morvelance-rhythm-bench-" + std::to_string(getpid()) + "-" + name;
}

// A two-lead synthetic record of the given length, made once per run.
std::string SyntheticRhythm(int minutes)
{
    static std::map<int, std::string> made;
    auto found = made.find(minutes);
    if (found != made.end()) return found->second;
    RhythmRecordShape shape;
    shape.leads = 2;
    shape.seconds = minutes * 60.0;
    shape.noise = true;
    const std::string path = RhythmBenchPath("synth" + std::to_string(minutes) + ".ecg");
    MakeRhythmRecord(shape, nullptr).WriteFile(path, zarn::Flavour::Newer90);
    return made[minutes] = path;
}

std::string MitBih100Rhythm()
{
    static const std::string path =
        benchrecords::ConvertSharedRecord("physionet/mitdb/100", "rhythm", RhythmBenchPath("mitdb100.ecg"));
    return path;
}

// A document with the record opened and current; null when it does not open.
std::unique_ptr<CRhythmViewDoc> OpenRhythm(const std::string& path, int leads)
{
    std::unique_ptr<CRhythmViewDoc> doc(new CRhythmViewDoc);
    auto* item = new _RHYTHMDATAITEM;
    item->strFilePath = CString(path.c_str());
    item->nLeadCount = leads;
    doc->GetRhythmDataManager()->AppendItem(item);
    CString xml, record(path.c_str());
    if (doc->OpenFile(xml, record) != 0) return nullptr;
    doc->SetCurDataIndex(0);
    return doc;
}

void PageThrough(benchmark::State& state, const std::string& path, int leads)
{
    std::unique_ptr<CRhythmViewDoc> doc = OpenRhythm(path, leads);
    if (!doc) {
        state.SkipWithError("the record did not open");
        return;
    }
    const int samples = doc->GetRhythmWaveData(0, nullptr, -1) / 2;
    std::vector<short> page(kPageSamples);
    for (int lead = 0; lead < leads; ++lead) doc->GetRhythmWaveRange(lead, 0, kPageSamples, page.data(), -1);
    int first = 0;
    for (auto _ : state) {
        for (int lead = 0; lead < leads; ++lead)
            benchmark::DoNotOptimize(doc->GetRhythmWaveRange(lead, first, kPageSamples, page.data(), -1));
        first += kPageSamples;
        if (first >= samples) first = 0;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    state.SetLabel(std::to_string(samples / kPageSamples + 1) + " pages");
}

void BM_RhythmPageBySynthLength(benchmark::State& state)
{
    PageThrough(state, SyntheticRhythm(static_cast<int>(state.range(0))), 2);
}
BENCHMARK(BM_RhythmPageBySynthLength)->Arg(5)->Arg(10)->Arg(30)->Unit(benchmark::kMicrosecond);

void BM_RhythmPageMitdb100(benchmark::State& state)
{
    const std::string path = MitBih100Rhythm();
    if (path.empty()) {
        state.SkipWithError("MIT-BIH record 100 not present in ../shared/data");
        return;
    }
    PageThrough(state, path, 2);
}
BENCHMARK(BM_RhythmPageMitdb100)->Unit(benchmark::kMicrosecond);

// Opening a 30-minute record and showing its first page: the one-time cost
// that the pages above no longer pay.
void BM_RhythmOpenAndFirstPage30min(benchmark::State& state)
{
    const std::string path = SyntheticRhythm(30);
    std::vector<short> page(kPageSamples);
    for (auto _ : state) {
        std::unique_ptr<CRhythmViewDoc> doc = OpenRhythm(path, 2);
        for (int lead = 0; doc && lead < 2; ++lead)
            benchmark::DoNotOptimize(doc->GetRhythmWaveRange(lead, 0, kPageSamples, page.data(), -1));
    }
}
BENCHMARK(BM_RhythmOpenAndFirstPage30min)->Unit(benchmark::kMillisecond);

// Removes the records when the program ends.
struct RhythmBenchFiles {
    ~RhythmBenchFiles()
    {
        for (int minutes : {5, 10, 30}) std::remove(RhythmBenchPath("synth" + std::to_string(minutes) + ".ecg").c_str());
        std::remove(RhythmBenchPath("mitdb100.ecg").c_str());
    }
} s_rhythmBenchFiles;

}  // namespace
