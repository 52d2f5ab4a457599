// Opening MFER files and reading every lead, as the MFER document and its
// views do: a 12-lead resting record of 10 s and a 2-lead rhythm record of
// 30 min (MIT-BIH 100 when the shared data is present, else the model).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchRecords.h"
#include "platform/mfer/MFERParser.h"
#include "tools/EcgModel.h"
#include "tools/MferWriter.h"
#include "tools/Wfdb.h"

using namespace morvelance;

namespace {

using benchrecords::TempPath;

std::string Rest12()
{
    static std::string path;
    if (!path.empty()) return path;
    path = TempPath("rest12.mwf");
    EcgRecord record = MferKindRecord(MferKind::Plain, 12, 10.0, 500.0);
    std::string error;
    if (!WriteMferFile(path, record, MferOptions(), &error)) path.clear();
    return path;
}

std::string Rhythm30min()
{
    static std::string path;
    if (!path.empty()) return path;
    path = TempPath("rhythm.mwf");
    EcgRecord record;
    WfdbRecord wf;
    std::string error;
    const std::string mit = std::string(MORVELANCE_SHARED_DATA) + "/physionet/mitdb/100";
    MferOptions options;
    options.waveformType = 2;
    options.description = "MFR Long-term ECG";
    if (ReadWfdbRecord(mit, &wf, &error, 360 * 1800)) {
        record = WfdbToEcg(wf, "mitdb/100");
        MferSenseFor(1000.0 / wf.header.signals[0].gain, &options);
    } else {
        SynthOptions synth;
        synth.leads = {LeadId::II, LeadId::V5};
        synth.seconds = 1800.0;
        synth.sampleRate = 360.0;
        record = Synthesize(synth);
    }
    if (!WriteMferFile(path, record, options, &error)) path.clear();
    return path;
}

void ReadEveryLead(benchmark::State& state, const std::string& path)
{
    if (path.empty()) {
        state.SkipWithError("cannot write the MFER file");
        return;
    }
    const std::wstring wide(path.begin(), path.end());
    std::vector<short> buffer;
    for (auto _ : state) {
        CMFERParser parser;
        if (!parser.OpenMFER(wide.c_str())) {
            state.SkipWithError("cannot read the MFER file");
            return;
        }
        buffer.resize(size_t(parser.GetWaveLength(0) / 2) + 1);
        for (int lead = 0; lead < parser.GetLeadCount(); ++lead) parser.GetWaveData(0, lead, buffer.data());
        benchmark::DoNotOptimize(buffer.data());
    }
}

void BM_MferOpenRest12x10s(benchmark::State& state) { ReadEveryLead(state, Rest12()); }
void BM_MferOpenRhythm2x30min(benchmark::State& state) { ReadEveryLead(state, Rhythm30min()); }

}  // namespace

BENCHMARK(BM_MferOpenRest12x10s)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MferOpenRhythm2x30min)->Unit(benchmark::kMillisecond);
