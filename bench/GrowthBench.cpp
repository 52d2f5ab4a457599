// How opening a long record grows with its length: MIT-BIH record 100
// repeated to 10 min, 1 h, 4 h and 24 h (made here by the record maker's
// code, never stored), opened through the rhythm, RR and MFER documents with
// the whole filtered strip read. Each size is one benchmark; the fitted
// exponent (time ~ length^k, least squares over the sizes) is printed when
// the run ends and must stay near 1. Skips with a message when the shared
// data is absent. Run: <build>/bin/morvelance_bench --benchmark_filter=Growth
#include "bench/BenchPaths.h"
#include "bench/GrowthFit.h"
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <cwchar>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/SampleVector.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/base/CodePage.h"
#include "tools/DeviceRecord.h"
#include "tools/MferWriter.h"
#include "tools/RRRecord.h"
#include "tools/RecordXml.h"
#include "tools/Wfdb.h"

using namespace morvelance;

namespace {

const int kMinutes[] = {10, 60, 240, 1440};

std::string GrowthPath(const std::string& name)
{
    return "/tmp/morvelance-growth-" + std::to_string(getpid()) + "-" + name;
}

// Record 100 (30 min, 2 leads, 360 Hz) with its beats, read once.
const EcgRecord* Mitdb100()
{
    static std::unique_ptr<EcgRecord> record;
    static bool tried = false;
    if (tried) return record.get();
    tried = true;
    const std::string path = std::string(MORVELANCE_SHARED_DATA) + "/physionet/mitdb/100";
    WfdbRecord wf;
    std::string error;
    if (!ReadWfdbRecord(path, &wf, &error)) return nullptr;
    record.reset(new EcgRecord(WfdbToEcg(wf, "mitdb/100")));
    std::vector<WfdbAnnotation> annotations;
    if (ReadWfdbAnnotations(path + ".atr", &annotations, &error)) record->beats = BeatPositions(annotations);
    return record.get();
}

// The record played again and again until `minutes` long; beats follow.
EcgRecord Repeated(const EcgRecord& one, int minutes)
{
    EcgRecord out = one;
    const size_t period = one.SampleCount();
    const size_t total = static_cast<size_t>(minutes * 60.0 * one.sampleRate);
    for (size_t l = 0; l < out.leads.size(); ++l) {
        std::vector<float>& uv = out.leads[l].microvolts;
        uv.resize(total);
        for (size_t i = period; i < total; ++i) uv[i] = one.leads[l].microvolts[i % period];
    }
    out.beats.clear();
    for (size_t start = 0; start < total; start += period)
        for (int64_t beat : one.beats)
            if (start + static_cast<size_t>(beat) < total) out.beats.push_back(static_cast<int64_t>(start) + beat);
    return out;
}

struct Made {
    std::string record;
    std::string xml;
};

// kind: "rhythm", "rr" or "mfer"; made once per run.
const Made* MakeRecord(const std::string& kind, int minutes)
{
    static std::map<std::string, Made> made;
    const std::string key = kind + std::to_string(minutes);
    auto found = made.find(key);
    if (found != made.end()) return &found->second;
    const EcgRecord* one = Mitdb100();
    if (!one) return nullptr;
    EcgRecord ecg = Repeated(*one, minutes);
    Made files;
    try {
        if (kind == "rhythm") {
            DeviceRecordOptions options;
            options.kind = rec::RecordKind::Rhythm;
            files.record = GrowthPath(key + ".ecg");
            MakeDeviceRecord(ecg, options).WriteFile(files.record, zarn::Flavour::Newer90);
        } else if (kind == "rr") {
            DeviceRecordOptions options;
            options.kind = rec::RecordKind::Rr;
            files.record = GrowthPath(key + ".ecg");
            files.xml = WriteRRRecordFiles(files.record, MakeRRDeviceRecord(ecg, options), RecordXmlOptions(),
                                           GrowthPath(key + ".xml"));
        } else {
            // The MFER document takes 1, 3, 12 or 15 leads: the first lead.
            ecg.leads.resize(1);
            MferOptions options;
            options.block = 10000;   // a lead of a day does not fit one block
            options.waveformType = 2;
            options.description = "MFR Long-term ECG";
            MferSenseFor(5.0, &options);   // record 100: 200 units per mV
            files.record = GrowthPath(key + ".mwf");
            std::string error;
            if (!WriteMferFile(files.record, ecg, options, &error)) return nullptr;
            RecordXmlSource source;
            source.kind = rec::RecordKind::Rhythm;
            source.seconds = minutes * 60.0;
            files.xml = GrowthPath(key + ".xml");
            WriteRecordXml(files.xml, source, RecordXmlOptions());
        }
    } catch (const std::exception&) {
        return nullptr;
    }
    return &(made[key] = files);
}

// Reads every lead's whole filtered strip, as the views do on opening.
template <class Doc>
long ReadStrips(Doc& doc, int leads)
{
    long total = 0;
    SampleVector strip;   // as the views hold it: not cleared before the read
    for (int lead = 0; lead < leads; ++lead) {
        const int bytes = doc.GetRhythmWaveData(lead, nullptr, -1);
        if (bytes <= 0) continue;
        strip.resize(static_cast<size_t>(bytes) / 2);
        total += doc.GetRhythmWaveData(lead, strip.data(), -1);
    }
    return total;
}

long OpenRhythm(const Made& files)
{
    CRhythmViewDoc doc;
    auto* item = new _RHYTHMDATAITEM;
    item->strFilePath = CString(files.record.c_str());
    item->nLeadCount = 2;
    doc.GetRhythmDataManager()->AppendItem(item);
    CString xml, record(files.record.c_str());
    if (doc.OpenFile(xml, record) != 0) return -1;
    doc.SetCurDataIndex(0);
    return ReadStrips(doc, 2);
}

long OpenRR(const Made& files)
{
    CRRViewDoc doc;
    auto* item = new _RRDATAITEM;
    item->strFilePath = CString(files.record.c_str());
    item->strXMLPath = CString(files.xml.c_str());
    doc.GetRRDataManager()->AppendItem(item);
    doc.SetCurDataIndex(item->nID);
    CString xml = item->strXMLPath, record = item->strFilePath;
    if (doc.OpenFile(xml, record) != 0) return -1;
    return ReadStrips(doc, 1) + item->nRRListCount;
}

long OpenMfer(const Made& files)
{
    // The layout tables load from the work directory; the application owns
    // (and frees at exit) the text when it set one.
    if (!g_pWorkDir) {
        const std::wstring dir = platform::FromUtf8(MORVELANCE_WORKDIR);
        g_pWorkDir = new wchar_t[dir.size() + 1];
        std::wmemcpy(g_pWorkDir, dir.c_str(), dir.size() + 1);
    }
    CMFERViewDoc doc;
    auto* item = new _MFERDATAITEM;
    item->strFilePath = CString(platform::FromUtf8(files.record).c_str());
    item->strXMLPath = CString(platform::FromUtf8(files.xml).c_str());
    item->nLeadLayout = 1;
    doc.GetMFERDataManager()->AppendItem(item);
    doc.SetCurDataIndex(item->nID);
    CString mfer = item->strFilePath, xml = item->strXMLPath, third;
    if (doc.OpenMFERFile(mfer, xml, third) != 0) return -1;
    long total = 0;
    SampleVector strip;   // as the views hold it: not cleared before the read
    for (int lead = 0; lead < 1; ++lead) {
        const int bytes = doc.GetRhythmWaveData(lead, nullptr, -1);
        if (bytes <= 0) continue;
        strip.resize(static_cast<size_t>(bytes) / 2);
        total += doc.GetRhythmWaveData(lead, strip.data(), 100, bytes);
    }
    return total;
}

// Median seconds per size and kind, for the report at exit.
// Never destroyed: the report below reads it while the program ends.
std::map<std::string, std::map<int, GrowthTiming>>& Timings()
{
    static auto* timings = new std::map<std::string, std::map<int, GrowthTiming>>;
    return *timings;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void Growth(benchmark::State& state, const std::string& kind, long (*open)(const Made&))
{
    const int minutes = static_cast<int>(state.range(0));
    const Made* files = MakeRecord(kind, minutes);
    if (!files) {
        state.SkipWithError("MIT-BIH record 100 not present in the shared data (or not convertible)");
        return;
    }
    std::vector<double> wall, cpu;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double startCpu = ProcessCpuSeconds();
        const long read = open(*files);
        cpu.push_back(ProcessCpuSeconds() - startCpu);
        wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (read < 0) {
            state.SkipWithError("the record did not open");
            return;
        }
        benchmark::DoNotOptimize(read);
    }
    Timings()[kind][minutes] = GrowthTiming{Median(wall), Median(cpu)};
    state.SetLabel(std::to_string(minutes) + " min");
}

void BM_GrowthRhythmOpen(benchmark::State& state) { Growth(state, "rhythm", OpenRhythm); }
void BM_GrowthRROpen(benchmark::State& state) { Growth(state, "rr", OpenRR); }
void BM_GrowthMferOpen(benchmark::State& state) { Growth(state, "mfer", OpenMfer); }

void Sizes(benchmark::internal::Benchmark* b)
{
    for (int minutes : kMinutes) b->Arg(minutes);
    b->Unit(benchmark::kMillisecond)->MinTime(0.5);
}
BENCHMARK(BM_GrowthRhythmOpen)->Apply(Sizes);
BENCHMARK(BM_GrowthRROpen)->Apply(Sizes);
BENCHMARK(BM_GrowthMferOpen)->Apply(Sizes);

// Prints the table and the exponents, and removes the records, at exit.
struct GrowthReport {
    ~GrowthReport()
    {
        for (const auto& kind : Timings()) {
            for (bool useCpu : {false, true}) {
                const std::map<int, GrowthTiming>& t = kind.second;
                if (t.size() < 2) continue;
                std::string line = "growth " + kind.first + (useCpu ? " (cpu):" : " (wall):");
                std::map<int, double> points;
                for (const auto& point : t) {
                    const double seconds = useCpu ? point.second.cpu : point.second.wall;
                    points[point.first] = seconds;
                    char cell[64];
                    std::snprintf(cell, sizeof cell, " %d min %.1f ms;", point.first, seconds * 1000.0);
                    line += cell;
                }
                std::fprintf(stderr, "%s exponent %.2f\n", line.c_str(), GrowthExponent(points));
            }
        }
        for (int minutes : kMinutes) {
            for (const char* kind : {"rhythm", "rr"}) {
                std::remove(GrowthPath(kind + std::to_string(minutes) + ".ecg").c_str());
                std::remove(GrowthPath(kind + std::to_string(minutes) + ".xml").c_str());
            }
            std::remove(GrowthPath("mfer" + std::to_string(minutes) + ".mwf").c_str());
            std::remove(GrowthPath("mfer" + std::to_string(minutes) + ".xml").c_str());
        }
    }
} s_growthReport;

}  // namespace
