// Opening device records and reading their leads as a view does: one read of
// the file into an image, then every lead through the reader and the hi-cut
// filter. Run: build/test/bin/morvelance_bench
#include "bench/BenchPaths.h"
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/DataItem.h"
#include "core/Helpers.h"
#include "core/MemoryHelpers.h"
#include "bench/BenchRecords.h"
#include "core/TavrionDoc.h"
#include "platform/ui/framework/WinApp.h"
#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"

using namespace morvelance;

namespace {

using benchrecords::TempPath;

std::string SynthRest12()
{
    static std::string path;
    if (!path.empty()) return path;
    SynthOptions synth;
    synth.seconds = 10.0;
    synth.noise = true;
    DeviceRecordOptions options;
    options.kind = rec::RecordKind::Rest12;
    path = TempPath("rest12.ecg");
    MakeDeviceRecord(Synthesize(synth), options).WriteFile(path, zarn::Flavour::Newer90);
    return path;
}

std::string Mitdb100()
{
    static const std::string path =
        benchrecords::ConvertSharedRecord("physionet/mitdb/100", "rhythm", TempPath("mitdb100.ecg"));
    return path;
}

// Opens the record, reads every lead listed and filters it; returns the
// samples read, so the work cannot be optimised away.
long OpenAndRead(const std::string& path, const std::vector<std::pair<UINT, UINT>>& leads)
{
    CTavrionDoc doc;
    _ECGDATA* image = nullptr;
    int kind = 0;
    if (doc.MFERTransOpenFile(CString(path.c_str()), image, kind) != 0) return -1;
    long total = 0;
    std::vector<short> samples;
    for (const auto& lead : leads) {
        const long size = doc.ecgGetData(image, lead.first, lead.second, nullptr, 0, ECG_DATA_RAW);
        samples.resize(static_cast<size_t>(size / 2));
        doc.ecgGetData(image, lead.first, lead.second, samples.data(), size, ECG_DATA_RAW);
        HiCutFilter(100, samples.data(), static_cast<int>(samples.size()));
        total += static_cast<long>(samples.size());
    }
    FreeECGData(image);
    return total;
}

void BM_OpenRest12Lead10s(benchmark::State& state)
{
    const std::string path = SynthRest12();
    std::vector<std::pair<UINT, UINT>> leads;
    for (UINT lead = 0; lead < 12; ++lead) leads.emplace_back(ECG_TAG_LEAD_BASE + lead, 0);
    for (auto _ : state) benchmark::DoNotOptimize(OpenAndRead(path, leads));
    state.SetLabel("10 s, 12 leads, 500 Hz");
}
BENCHMARK(BM_OpenRest12Lead10s)->Unit(benchmark::kMillisecond);

// The record maker keeps the first of the record's two signals (MLII): the
// converted record has one lead.
void BM_OpenMitdb100OneLead30min(benchmark::State& state)
{
    const std::string path = Mitdb100();
    if (path.empty()) {
        state.SkipWithError("MIT-BIH record 100 not present in ../shared/data");
        return;
    }
    const std::vector<std::pair<UINT, UINT>> leads = {{ECG_TAG_LEAD_BY_INDEX, 0}};
    long samples = 0;
    for (auto _ : state) benchmark::DoNotOptimize(samples = OpenAndRead(path, leads));
    state.counters["samples"] = benchmark::Counter((double)samples);
    state.SetLabel("30 min, 1 lead, 500 Hz");
}
BENCHMARK(BM_OpenMitdb100OneLead30min)->Unit(benchmark::kMillisecond);

// The cost of opening alone, against the file size: it must grow linearly.
void BM_OpenBySize(benchmark::State& state)
{
    const double seconds = static_cast<double>(state.range(0));
    const std::string path = TempPath("rhythm-" + std::to_string(state.range(0)) + ".ecg");
    SynthOptions synth;
    synth.leads = {LeadId::II};
    synth.seconds = seconds;
    DeviceRecordOptions options;
    options.kind = rec::RecordKind::Rhythm;
    MakeDeviceRecord(Synthesize(synth), options).WriteFile(path, zarn::Flavour::Newer90);
    for (auto _ : state) {
        CTavrionDoc doc;
        _ECGDATA* image = nullptr;
        int kind = 0;
        doc.MFERTransOpenFile(CString(path.c_str()), image, kind);
        FreeECGData(image);
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(in.tellg()));
    std::remove(path.c_str());
}
BENCHMARK(BM_OpenBySize)->Arg(60)->Arg(600)->Arg(3600)->Unit(benchmark::kMillisecond);

void WriteRegistry()
{
    const std::string file = TempPath("registry.reg");
    std::ofstream out(file);
    out << "Windows Registry Editor Version 5.00\n\n"
        << "[HKEY_CLASSES_ROOT\\CLSID\\{6D6F7276-656C-616E-6365-574F524B4449}\\InprocServer32]\n"
        << "@=\"" << MORVELANCE_WORKDIR << "/Tavrion.ocx\"\n";
    setenv("MORVELANCE_REGISTRY", file.c_str(), 1);
}

}  // namespace

int main(int argc, char** argv)
{
    WriteRegistry();
    platform::ui::StartModules();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::ui::StopModules();
    std::remove(SynthRest12().c_str());
    if (!Mitdb100().empty()) std::remove(Mitdb100().c_str());
    return 0;
}
