// A 12-lead 10 s page (12 × 5,000 samples) with its 1 mm / 5 mm grid, sent
// through the print device context as a raw HP-GL/2-in-PCL job to a spool
// printer: time per page and the size of the stream.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/TavrionDoc.h"
#include "platform/base/Registry.h"
#include "platform/print/PrintSetup.h"
#include "printdevice/ECGDC.h"
#include "tools/EcgModel.h"

namespace {

const wchar_t kPrinter[] = L"Bench Raw Printer";

// A registry and spool folder of the benchmark's own.
void SetUpRawPrinter(const std::string& folder)
{
    const std::string registry = folder + "/registry.reg";
    std::ofstream(registry) << "Windows Registry Editor Version 5.00\n\n";
    setenv("MORVELANCE_REGISTRY", registry.c_str(), 1);
    setenv("MORVELANCE_SPOOL", (folder + "/spool").c_str(), 1);
    platform::ReloadRegistry();
    platform::print::PrinterSetup setup;
    setup.name = kPrinter;
    setup.orientation = 2;
    platform::print::ConfigurePrinter(setup);
}

// The page in device units (600 dpi, A4 landscape): 25 mm/s, 10 mm/mV.
std::vector<std::vector<POINT>> PageTraces()
{
    morvelance::SynthOptions synth;
    synth.seconds = 10.0;
    const morvelance::EcgRecord ecg = morvelance::Synthesize(synth);
    const double dotsPerMm = 600.0 / 25.4;
    std::vector<std::vector<POINT>> traces;
    for (size_t lead = 0; lead < ecg.leads.size() && lead < 12; ++lead) {
        const std::vector<float>& uv = ecg.leads[lead].microvolts;
        const int row = static_cast<int>(lead % 6), column = static_cast<int>(lead / 6);
        const double baseY = (20 + row * 30) * dotsPerMm;
        const double left = (10 + column * 135) * dotsPerMm;
        std::vector<POINT> points(uv.size());
        for (size_t i = 0; i < uv.size(); ++i) {
            // Each column shows 5 s of its lead at 25 mm/s.
            const double mm = static_cast<double>(i) / 500.0 * 25.0 * 0.5;
            points[i].x = static_cast<LONG>(left + mm * dotsPerMm);
            points[i].y = static_cast<LONG>(baseY - uv[i] / 1000.0 * 10.0 * dotsPerMm);
        }
        traces.push_back(std::move(points));
    }
    return traces;
}

void DrawPage(CECGDC& dc, const std::vector<std::vector<POINT>>& traces)
{
    const double dotsPerMm = 600.0 / 25.4;
    for (int mm = 0; mm <= 277; ++mm) {
        const int x = static_cast<int>(mm * dotsPerMm);
        dc.MoveTo(x, 0);
        dc.LineTo(x, static_cast<int>(190 * dotsPerMm));
    }
    for (int mm = 0; mm <= 190; ++mm) {
        const int y = static_cast<int>(mm * dotsPerMm);
        dc.MoveTo(0, y);
        dc.LineTo(static_cast<int>(277 * dotsPerMm), y);
    }
    for (const auto& trace : traces) dc.Polyline(trace.data(), static_cast<int>(trace.size()));
}

void BM_PageToRawHpgl(benchmark::State& state)
{
    char pattern[] = "/tmp/morvelance-printbench-XXXXXX";
    const char* folder = mkdtemp(pattern);
    if (!folder) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const char* savedRegistry = std::getenv("MORVELANCE_REGISTRY");
    const std::string restore = savedRegistry ? savedRegistry : "";
    SetUpRawPrinter(folder);
    const std::vector<std::vector<POINT>> traces = PageTraces();
    CTavrionDoc doc;
    size_t bytes = 0;
    for (auto _ : state) {
        CECGDC dc(3);
        dc.SetECGDoc(&doc);
        if (!dc.OpenECGPrinter(kPrinter, nullptr, nullptr) || dc.StartDoc(L"Bench") <= 0) {
            state.SkipWithError("the raw printer did not open");
            break;
        }
        dc.StartPage();
        DrawPage(dc, traces);
        dc.EndPage();
        dc.EndDoc();
        dc.CloseECGPrinter();
        state.PauseTiming();
        const std::vector<platform::print::SpooledJob> jobs =
            platform::print::ListSpooledJobs(platform::print::SpoolFolder(kPrinter));
        if (!jobs.empty()) {
            std::ifstream in(jobs.back().dataPath, std::ios::binary | std::ios::ate);
            bytes = static_cast<size_t>(in.tellg());
        }
        state.ResumeTiming();
    }
    state.counters["stream_bytes"] = static_cast<double>(bytes);
    std::system((std::string("rm -rf '") + folder + "'").c_str());
    if (!restore.empty()) setenv("MORVELANCE_REGISTRY", restore.c_str(), 1);
    platform::ReloadRegistry();
}
BENCHMARK(BM_PageToRawHpgl)->Unit(benchmark::kMillisecond);

}  // namespace
