// A page printed to a printer beside the same page printed to PDF, in one
// run: the example host prints the resting 12-lead report (rest12_90), the
// sheet of rest12_90 and the sheet of a 15-minute rhythm record (86 pages)
// with --pdf, then to a spool queue of the registry (its job a PDF in the
// spool) and to a CUPS destination (a scheduler of the benchmark's own).
// Each print is a process of its own, as a user starts it: its processor
// time and peak memory come from the kernel. Counters: the PDF print's and
// the printer's time (s) and peak (MB), and their ratios, which should
// stay at 2 or under.
// Run: <build>/bin/morvelance_bench --benchmark_filter=PrinterBesidePdf
#include "bench/BenchPaths.h"
#include "bench/BenchProcess.h"
#include "bench/BenchTempFolder.h"
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "platform/base/CodePage.h"
#include "tests/platform/print/CupsScheduler.h"
#include "tools/Mkrecord.h"

namespace {

const char kWardPrinter[] = "Ward printer";   // the registry's spool queue
const char kCupsDestination[] = "ward";

std::string HostProgram()
{
    const std::string reader = MORVELANCE_MFER_READ_ONCE;
    return reader.substr(0, reader.rfind('/') + 1) + "morvelance-host";
}

// The records, the registry and the spool of the run, and the scheduler,
// made once and removed when the program ends.
struct PrinterBench {
    benchtemp::TempFolder folder{"morvelance-printer-bench"};
    std::string registry, spool, rest, rhythm;
    std::unique_ptr<cupstest::CupsScheduler> cups;
    std::string cupsFailure;
    bool ok = false;

    PrinterBench()
    {
        const std::string& dir = folder.Path();
        if (dir.empty()) return;
        std::ostringstream out, err;
        if (morvelance::RunMkrecord({"samples", dir + "/samples"}, out, err) != 0) return;
        rest = dir + "/samples/rest12_90.ecg";
        rhythm = dir + "/rhythm15min.ecg";
        if (morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--seconds", "900", "--out", rhythm}, out, err) != 0)
            return;
        spool = dir + "/spool";
        registry = dir + "/registry.reg";
        std::ofstream(registry) << "Windows Registry Editor Version 5.00\n\n[HKEY_CLASSES_ROOT\\CLSID\\"
                                << platform::ToUtf8(MORVELANCE_SERVER_CLSID) << "\\InprocServer32]\n@=\""
                                << MORVELANCE_WORKDIR << "/Tavrion.ocx\"\n\n"
                                << "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\"
                                << kWardPrinter
                                << "]\n\"Port\"=\"LPT1:\"\n\"Kind\"=\"spool\"\n\"PaperSize\"=dword:00000009\n"
                                   "\"Orientation\"=dword:00000002\n";
        cups.reset(new cupstest::CupsScheduler);
        if (!cups->Start() || !cups->AddDestination(kCupsDestination)) cupsFailure = cups->Failure();
        ok = true;
    }

    static PrinterBench& Get()
    {
        static PrinterBench bench;
        return bench;
    }
};

struct Usage {
    bool ok = false;
    double cpu = 0;    // seconds, user and system
    double peak = 0;   // megabytes of resident memory at most
};

// Runs the host with `args` in an environment of the run's own; the PDF
// print and the spool queue are kept away from any print service.
Usage RunHost(const std::vector<std::string>& args, const std::string& cupsServer)
{
    PrinterBench& bench = PrinterBench::Get();
    const std::string host = HostProgram();
    std::vector<std::string> environment = {"MORVELANCE_REGISTRY=" + bench.registry, "MORVELANCE_SPOOL=" + bench.spool,
                                            "CUPS_SERVER=" + cupsServer, "TMPDIR=" + bench.folder.Path(),
                                            "HOME=" + bench.folder.Path(), "PATH=/usr/bin:/bin"};
    const ProgramRun run = RunQuietly(host, args, std::string(), &environment);
    Usage usage;
    usage.ok = run.ok;
    usage.cpu = run.cpu;
    usage.peak = run.peakMiB;
    std::error_code ignored;
    std::filesystem::remove_all(bench.spool, ignored);
    return usage;
}

enum Page { kRestReport, kRestSheet, kRhythmSheet };
enum Destination { kRegistryQueue, kCups };

void BM_PrinterBesidePdf(benchmark::State& state)
{
    PrinterBench& bench = PrinterBench::Get();
    if (access(HostProgram().c_str(), X_OK) != 0) {
        state.SkipWithError("the example host is not built beside the benchmarks");
        return;
    }
    if (!bench.ok) {
        state.SkipWithError("the record maker could not make the records");
        return;
    }
    const Page page = static_cast<Page>(state.range(0));
    const Destination destination = static_cast<Destination>(state.range(1));
    if (destination == kCups && !bench.cupsFailure.empty()) {
        state.SkipWithError(("no print scheduler: " + bench.cupsFailure).c_str());
        return;
    }
    std::vector<std::string> args = {"print", page == kRhythmSheet ? bench.rhythm : bench.rest};
    if (page == kRestReport) args.insert(args.end(), {"--report", "rest-wave"});
    else args.insert(args.end(), {"--view", "sheet"});
    std::vector<std::string> toPdf = args;
    toPdf.insert(toPdf.end(), {"--pdf", bench.folder.Path() + "/page.pdf"});
    std::vector<std::string> toPrinter = args;
    toPrinter.insert(toPrinter.end(), {"--printer", destination == kCups ? kCupsDestination : kWardPrinter});
    const std::string noService = bench.folder.Path() + "/no-scheduler.sock";
    const std::string cupsServer = destination == kCups ? bench.cups->Socket() : noService;

    Usage pdf, printer;
    double pdfCpu = 0, printerCpu = 0;
    int rounds = 0;
    for (auto _ : state) {
        pdf = RunHost(toPdf, noService);
        printer = RunHost(toPrinter, cupsServer);
        if (!pdf.ok || !printer.ok) {
            state.SkipWithError(pdf.ok ? "the print to the printer failed" : "the print to PDF failed");
            return;
        }
        pdfCpu += pdf.cpu;
        printerCpu += printer.cpu;
        ++rounds;
    }
    pdfCpu /= rounds;
    printerCpu /= rounds;
    state.counters["pdf_cpu_s"] = pdfCpu;
    state.counters["printer_cpu_s"] = printerCpu;
    state.counters["cpu_ratio"] = printerCpu / std::max(pdfCpu, 1e-3);
    state.counters["pdf_peak_MB"] = pdf.peak;
    state.counters["printer_peak_MB"] = printer.peak;
    state.counters["peak_ratio"] = printer.peak / std::max(pdf.peak, 1.0);
    static const char* const kPages[] = {"rest-wave report of rest12_90", "sheet of rest12_90",
                                         "sheet of a 15 min rhythm record"};
    const bool within = printerCpu <= 2 * pdfCpu && printer.peak <= 2 * pdf.peak;
    state.SetLabel(std::string(kPages[page]) + (destination == kCups ? " to CUPS" : " to a registry queue") +
                   (within ? ", within 2x of its PDF" : ", MORE THAN 2x its PDF"));
}
// A round is two processes of a tenth of a second to a few seconds each.
BENCHMARK(BM_PrinterBesidePdf)
    ->ArgsProduct({{kRestReport, kRestSheet, kRhythmSheet}, {kRegistryQueue, kCups}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
