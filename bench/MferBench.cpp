// Opening MFER files and reading every lead, as the MFER document and its
// views do: a 12-lead resting record of 10 s and a 2-lead rhythm record of
// 30 min (MIT-BIH 100 when the shared data is present, else the model).
#include "bench/BenchPaths.h"
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

// Nanoseconds the reader took to open `path` and read every lead in a
// process of its own (or, with `fill`, only to write buffers of that size);
// a negative value when it could not.
double ReadInFreshProcess(const std::string& path, const std::vector<std::string>& fill = {})
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::string program = MORVELANCE_MFER_READ_ONCE;
    std::vector<std::string> args = {program};
    if (fill.empty()) args.push_back(path);
    else args.insert(args.end(), fill.begin(), fill.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    char text[64] = {};
    FILE* out = fdopen(pipeEnds[0], "r");
    const bool read = out && std::fgets(text, sizeof text, out) != nullptr;
    if (out) std::fclose(out);
    else close(pipeEnds[0]);
    int status = 0;
    if (spawned == 0) waitpid(child, &status, 0);
    if (spawned != 0 || !read || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::strtod(text, nullptr);
}

// The open and the reads in a fresh process, as a user meets them: the
// warm loop above reuses memory a fresh process must first be given.
// Reports the median of the processes started.
void ReadEveryLeadFresh(benchmark::State& state, const std::string& path, bool fillOnly)
{
    if (path.empty()) {
        state.SkipWithError("cannot write the MFER file");
        return;
    }
    std::vector<std::string> fill;
    if (fillOnly) {
        const std::wstring wide(path.begin(), path.end());
        CMFERParser parser;
        if (!parser.OpenMFER(wide.c_str())) {
            state.SkipWithError("cannot read the MFER file");
            return;
        }
        fill = {"--fill", std::to_string(parser.GetWaveLength(0) / 2), std::to_string(parser.GetLeadCount())};
    }
    std::vector<double> seconds;
    for (auto _ : state) {
        const double ns = ReadInFreshProcess(path, fill);
        if (ns < 0) {
            state.SkipWithError("the reader process could not read the MFER file");
            return;
        }
        seconds.push_back(ns * 1e-9);
        state.SetIterationTime(ns * 1e-9);
    }
    std::sort(seconds.begin(), seconds.end());
    state.counters["median_us"] = seconds.empty() ? 0 : seconds[seconds.size() / 2] * 1e6;
}

void BM_MferOpenRest12x10s(benchmark::State& state) { ReadEveryLead(state, Rest12()); }
void BM_MferOpenRhythm2x30minFreshProcess(benchmark::State& state) { ReadEveryLeadFresh(state, Rhythm30min(), false); }
// The floor under the one above: the same fresh process writing buffers of
// the same size with no file read at all (the memory a fresh process is
// given costs its first touch, whoever writes it).
void BM_FreshProcessBuffersOnly2x30min(benchmark::State& state) { ReadEveryLeadFresh(state, Rhythm30min(), true); }
void BM_MferOpenRhythm2x30min(benchmark::State& state) { ReadEveryLead(state, Rhythm30min()); }

}  // namespace

BENCHMARK(BM_MferOpenRest12x10s)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MferOpenRhythm2x30min)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MferOpenRhythm2x30minFreshProcess)->UseManualTime()->Iterations(31)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreshProcessBuffersOnly2x30min)->UseManualTime()->Iterations(31)->Unit(benchmark::kMillisecond);
