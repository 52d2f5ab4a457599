// Opening a resting record through the rest document and reading what the
// resting screens draw: every filtered lead and the twelve average beats.
// The first reading of a lead filters it; later readings come from the
// item's cache. Run: <build>/bin/morvelance_bench --benchmark_filter=Rest
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchRecords.h"
#include "documents/RestViewDoc.h"
#include "tools/RecordXml.h"
#include "tools/RestRecord.h"

using namespace morvelance;

namespace {

// The run's record files, removed when the program ends.
struct RestBenchFolder {
    RestBenchFolder() : path("/tmp/morvelance-rest-bench-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(path);
    }
    ~RestBenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

std::string RestBenchDir()
{
    static const RestBenchFolder folder;
    return folder.path;
}

RestRecordFiles SyntheticRest15()
{
    static RestRecordFiles files;
    if (files.record.empty()) {
        RestRecordShape shape;
        shape.kind = rec::RecordKind::Rest15;
        files = WriteRestRecord(RestBenchDir(), "rest15.ecg", shape);
    }
    return files;
}

// The PTB record s0010_re as a 15-lead resting record; empty without the data.
RestRecordFiles Ptb15()
{
    static RestRecordFiles files;
    static bool tried = false;
    if (tried) return files;
    tried = true;
    const std::string made =
        benchrecords::ConvertSharedRecord("physionet/ptb/s0010_re", "rest15", RestBenchDir() + "/s0010.ecg");
    if (made.empty()) return files;
    RecordXmlSource source;
    std::string error;
    if (!ReadRecordXmlSource(made, &source, &error)) return files;
    files.record = made;
    files.xml = RecordXmlPathFor(made, source.time);
    WriteRecordXml(files.xml, source, RecordXmlOptions());
    return files;
}

// Every lead and average beat as the resting screens read them; the samples read.
long ReadAll(CRestViewDoc& doc, std::vector<short>& buffer)
{
    long total = 0;
    for (int lead = 0; lead < REST_DISPLAY_LEADS; ++lead) {
        const int bytes = doc.GetRhythmWaveData(lead, nullptr, -1);
        buffer.resize(static_cast<size_t>(bytes > 0 ? bytes / 2 : 0));
        if (bytes > 0) total += doc.GetRhythmWaveData(lead, buffer.data(), -1) / 2;
    }
    for (int lead = 0; lead < 12; ++lead) {
        const int bytes = doc.GetAverageWaveData(lead, nullptr, -1);
        buffer.resize(static_cast<size_t>(bytes > 0 ? bytes / 2 : 0));
        if (bytes > 0) total += doc.GetAverageWaveData(lead, buffer.data(), -1) / 2;
    }
    return total;
}

void OpenAndReadAll(benchmark::State& state, const RestRecordFiles& files)
{
    if (files.record.empty()) {
        state.SkipWithError("record not available");
        return;
    }
    std::vector<short> buffer;
    long samples = 0;
    for (auto _ : state) {
        CRestViewDoc doc;
        if (!benchrecords::OpenRestRecord(doc, files)) {
            state.SkipWithError("open failed");
            return;
        }
        samples = ReadAll(doc, buffer);
        benchmark::DoNotOptimize(samples);
    }
    state.counters["samples"] = static_cast<double>(samples);
}

void BM_RestOpenAndReadAllSynthetic15(benchmark::State& state)
{
    OpenAndReadAll(state, SyntheticRest15());
}
BENCHMARK(BM_RestOpenAndReadAllSynthetic15)->Unit(benchmark::kMillisecond);

void BM_RestOpenAndReadAllPtb15(benchmark::State& state)
{
    OpenAndReadAll(state, Ptb15());
}
BENCHMARK(BM_RestOpenAndReadAllPtb15)->Unit(benchmark::kMillisecond);

// A view redrawing: the record is open and its leads are cached.
void BM_RestReadAllCached(benchmark::State& state)
{
    const RestRecordFiles files = SyntheticRest15();
    CRestViewDoc doc;
    if (!benchrecords::OpenRestRecord(doc, files)) {
        state.SkipWithError("open failed");
        return;
    }
    std::vector<short> buffer;
    ReadAll(doc, buffer);
    for (auto _ : state) benchmark::DoNotOptimize(ReadAll(doc, buffer));
}
BENCHMARK(BM_RestReadAllCached)->Unit(benchmark::kMicrosecond);

}  // namespace
