// How reading and saving a record's annotations grows with their number: a
// resting record whose record XML holds 4,000 to 32,000 annotations, all
// drawn on its first page (made here by the record maker, never stored).
// Each annotation is read into the record's chain as the documents read it,
// the chain is saved back as their saves write it, and the example host
// prints `info` of the record and paints the page with every annotation on
// it (`view`) as a user runs it. Every size is one benchmark; the fitted exponent (time ~ count^k
// over the sizes) is printed when the run ends and must stay near 1.
// Run: <build>/bin/morvelance_bench --benchmark_filter=GrowthAnnotation
#include "bench/BenchPaths.h"
#include "bench/BenchProcess.h"
#include "bench/BenchTempFolder.h"
#include "bench/GrowthFit.h"
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/AnnoManager.h"
#include "core/AnnotationInfo.h"
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "platform/base/CodePage.h"
#include "tools/Mkrecord.h"

namespace {

const int kCounts[] = {4000, 8000, 16000, 32000};

// The run's own folder, removed with everything in it when the run ends.
// Never destroyed: the report below removes it while the program ends.
benchtemp::TempFolder& Folder()
{
    static auto* folder = new benchtemp::TempFolder("morvelance-annogrowth");
    return *folder;
}

struct Made {
    std::string record;
    std::string xml;
};

// A resting record and its record XML with `count` annotations; made once a run.
const Made* MakeRecord(int count)
{
    static std::map<int, Made> made;
    auto found = made.find(count);
    if (found != made.end()) return &found->second;
    if (Folder().Path().empty()) return nullptr;
    const std::string dir = Folder().Path() + "/" + std::to_string(count);
    if (mkdir(dir.c_str(), 0755) != 0) return nullptr;
    Made files;
    files.record = dir + "/rest.ecg";
    std::ostringstream out, err;
    if (morvelance::RunMkrecord({"synth", "--kind", "rest12", "--out", files.record}, out, err) != 0) return nullptr;
    // Under the name the record's own record XML has, so that the host finds it.
    std::ostringstream wrote;
    if (morvelance::RunMkrecord({"xml", "--for", files.record, "--annotations", std::to_string(count)}, wrote, err) !=
        0)
        return nullptr;
    std::string name = wrote.str();   // "wrote NAME (kind, code)"
    if (name.compare(0, 6, "wrote ") != 0 || name.find(' ', 6) == std::string::npos) return nullptr;
    name = name.substr(6, name.find(' ', 6) - 6);
    files.xml = name.find('/') == std::string::npos ? dir + "/" + name : name;
    return &(made[count] = files);
}

CString Wide(const std::string& path)
{
    return CString(platform::FromUtf8(path).c_str());
}

// The annotations of the record XML read into a chain whose head the caller keeps.
int ReadChain(CTavrionDoc& doc, const std::string& xmlPath, _ANNOTATION_INFO& head)
{
    CECGXMLParser xml(Wide(xmlPath), 0, CString());
    doc.GetAnnoInfoFromXML(&head, &xml);
    CAnnoManager chain;
    chain.SetListHeader(&head);
    return chain.GetItemCount() - 1;
}

// Never destroyed: the report below reads it while the program ends.
std::map<std::string, std::map<int, GrowthTiming>>& Timings()
{
    static auto* timings = new std::map<std::string, std::map<int, GrowthTiming>>;
    return *timings;
}

// Times `step` (which gives false when it failed; a process it runs gives
// its own processor time) as the benchmark's iterations; the last
// iteration's times go into the report.
template <class Step> void Measure(benchmark::State& state, const std::string& kind, Step step)
{
    const int count = static_cast<int>(state.range(0));
    // Made before the clock runs: the maker's time is not the reader's.
    if (!MakeRecord(count)) {
        state.SkipWithError("the record maker could not make the record");
        return;
    }
    GrowthTiming timing;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double startCpu = ProcessCpuSeconds();
        double childCpu = -1;
        const bool ok = step(count, childCpu);
        timing.cpu = childCpu >= 0 ? childCpu : ProcessCpuSeconds() - startCpu;
        timing.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            state.SkipWithError(("the " + kind + " failed").c_str());
            return;
        }
    }
    Timings()[kind][count] = timing;
    state.SetLabel(std::to_string(count) + " annotations");
}

void BM_GrowthAnnotationRead(benchmark::State& state)
{
    Measure(state, "read", [](int count, double&) {
        const Made* files = MakeRecord(count);
        if (!files) return false;
        CTavrionDoc doc;
        _ANNOTATION_INFO head;
        const int read = ReadChain(doc, files->xml, head);
        DeleteAnnotationChain(head.pNext);
        return read == count;
    });
}

void BM_GrowthAnnotationSave(benchmark::State& state)
{
    Measure(state, "save", [](int count, double&) {
        const Made* files = MakeRecord(count);
        if (!files) return false;
        CTavrionDoc doc;
        _ANNOTATION_INFO head;
        const bool read = ReadChain(doc, files->xml, head) == count;
        // The whole annotation section written again, as a save of one drawn shape does.
        bool saved = false;
        if (read) {
            CECGXMLParser xml(Wide(files->xml), 0, CString());
            doc.SaveAnnoInfoToXML(&head, &xml);   // writes the file itself
            saved = xml.m_bLastSaveFailed == 0;
        }
        DeleteAnnotationChain(head.pNext);
        return saved;
    });
}

// The example host run on the record as a user runs it: `args` after the
// program and before the record, `after` behind it.
bool RunHost(int count, double& cpu, const std::vector<std::string>& args, const std::vector<std::string>& after)
{
    const Made* files = MakeRecord(count);
    if (!files) return false;
    const std::string reader = MORVELANCE_MFER_READ_ONCE;
    const std::string host = reader.substr(0, reader.rfind('/') + 1) + "morvelance-host";
    std::vector<std::string> all = args;
    all.push_back(files->record);
    all.insert(all.end(), after.begin(), after.end());
    const ProgramRun run = RunQuietly(host, all);
    cpu = run.cpu;
    return run.ok;
}

void BM_GrowthAnnotationHostInfo(benchmark::State& state)
{
    Measure(state, "host info", [](int count, double& cpu) { return RunHost(count, cpu, {"info"}, {}); });
}

// The page the annotations were drawn on, every one of them on it.
void BM_GrowthAnnotationHostView(benchmark::State& state)
{
    Measure(state, "host view", [](int count, double& cpu) {
        const std::string png = Folder().Path() + "/view.png";
        return RunHost(count, cpu, {"view"}, {"--view", "CViewRhythmWave", "--size", "800x600", "--png", png});
    });
}

void Counts(benchmark::internal::Benchmark* b)
{
    for (int count : kCounts) b->Arg(count);
    b->Unit(benchmark::kMillisecond)->Iterations(1);
}
BENCHMARK(BM_GrowthAnnotationRead)->Apply(Counts);
BENCHMARK(BM_GrowthAnnotationSave)->Apply(Counts);
BENCHMARK(BM_GrowthAnnotationHostInfo)->Apply(Counts);
BENCHMARK(BM_GrowthAnnotationHostView)->Apply(Counts);

// Prints the times and the exponents, and removes the records, at exit.
struct GrowthReport {
    ~GrowthReport()
    {
        for (const auto& kind : Timings()) {
            for (bool useCpu : {false, true}) {
                if (kind.second.size() < 2) continue;
                std::string line = "growth annotations " + kind.first + (useCpu ? " (cpu):" : " (wall):");
                std::map<int, double> points;
                for (const auto& point : kind.second) {
                    points[point.first] = useCpu ? point.second.cpu : point.second.wall;
                    char cell[64];
                    std::snprintf(cell, sizeof cell, " %d %.1f ms;", point.first, points[point.first] * 1000.0);
                    line += cell;
                }
                std::fprintf(stderr, "%s exponent %.2f\n", line.c_str(), GrowthExponent(points));
            }
        }
        delete &Folder();
    }
} s_growthReport;

}  // namespace
