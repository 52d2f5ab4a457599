// How showing every pane of a record grows with the record's length: a
// 12-lead MFER record of 10 min, 1 h and 3 h (made here by the record maker,
// never stored) shown by the example host as `pane FILE --pane all` does,
// every pane and style painted. A page shows the same seconds of a long
// record as of a short one, so the time should hardly grow; the fitted
// exponent (time ~ length^k over the sizes) is printed when the run ends.
// The host runs as a process of its own, as a user starts it.
// Run: <build>/bin/morvelance_bench --benchmark_filter=GrowthPaneAll
#include "bench/BenchPaths.h"
#include "bench/BenchProcess.h"
#include "bench/GrowthFit.h"
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <ftw.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/Mkrecord.h"

namespace {

const int kMinutes[] = {10, 60, 180};

// The run's own folder, removed with everything in it when the run ends.
// Never destroyed: the report below removes it while the program ends.
const std::string& Folder()
{
    static const std::string* folder = [] {
        char name[] = "/tmp/morvelance-panegrowth-XXXXXX";
        return new std::string(mkdtemp(name) ? name : "");
    }();
    return *folder;
}

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return std::remove(path);
}

void RemoveTree(const std::string& path)
{
    if (!path.empty()) nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string HostProgram()
{
    const std::string reader = MORVELANCE_MFER_READ_ONCE;
    return reader.substr(0, reader.rfind('/') + 1) + "morvelance-host";
}

// A 12-lead record in blocks of 5000 samples, as the long-record reports use.
const std::string* MakeRecord(int minutes)
{
    static std::map<int, std::string> made;
    auto found = made.find(minutes);
    if (found != made.end()) return &found->second;
    if (Folder().empty()) return nullptr;
    const std::string path = Folder() + "/plain12-" + std::to_string(minutes) + "min.mwf";
    std::ostringstream out, err;
    if (morvelance::RunMkrecord({"mfer", "--kind", "plain", "--leads", "12", "--seconds", std::to_string(minutes * 60),
                                 "--block", "5000", "--out", path},
                                out, err) != 0)
        return nullptr;
    return &(made[minutes] = path);
}

// The host shows every pane of the record; its pictures go into a folder removed afterwards.
ProgramRun ShowEveryPane(const std::string& record)
{
    const std::string out = Folder() + "/panes";
    const ProgramRun run =
        RunQuietly(HostProgram(), {"pane", record, "--pane", "all", "--size", "800x450", "--out", out});
    RemoveTree(out);
    return run;
}

// Never destroyed: the report below reads it while the program ends.
std::map<int, GrowthTiming>& Timings()
{
    static auto* timings = new std::map<int, GrowthTiming>;
    return *timings;
}

void BM_GrowthPaneAll(benchmark::State& state)
{
    const int minutes = static_cast<int>(state.range(0));
    if (access(HostProgram().c_str(), X_OK) != 0) {
        state.SkipWithError("the example host is not built beside the benchmarks");
        return;
    }
    const std::string* record = MakeRecord(minutes);
    if (!record) {
        state.SkipWithError("the record maker could not make the record");
        return;
    }
    GrowthTiming timing;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const ProgramRun run = ShowEveryPane(*record);
        timing.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        timing.cpu = run.cpu;
        if (!run.ok) {
            state.SkipWithError("the host did not show every pane");
            return;
        }
    }
    Timings()[minutes] = timing;
    state.counters["host_cpu_s"] = timing.cpu;
    state.SetLabel(std::to_string(minutes) + " min");
}
// A run is several seconds of a process of its own: once is enough.
BENCHMARK(BM_GrowthPaneAll)->Arg(kMinutes[0])->Arg(kMinutes[1])->Arg(kMinutes[2])->Iterations(1)->Unit(benchmark::kSecond);

// Prints the times and the exponents, and removes the records, at exit.
struct PaneGrowthReport {
    ~PaneGrowthReport()
    {
        const std::map<int, GrowthTiming>& t = Timings();
        for (bool useCpu : {false, true}) {
            if (t.size() < 2) break;
            std::string line = std::string("growth pane all") + (useCpu ? " (host cpu):" : " (wall):");
            std::map<int, double> points;
            for (const auto& point : t) {
                points[point.first] = useCpu ? point.second.cpu : point.second.wall;
                char cell[64];
                std::snprintf(cell, sizeof cell, " %d min %.2f s;", point.first, points[point.first]);
                line += cell;
            }
            std::fprintf(stderr, "%s exponent %.2f\n", line.c_str(), GrowthExponent(points));
        }
        RemoveTree(Folder());
    }
} g_report;

}  // namespace
