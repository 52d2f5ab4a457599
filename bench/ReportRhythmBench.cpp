// A rhythm report of MIT-BIH 100 (its first lead as a one-lead rhythm
// record) at 5, 10 and 30 minutes, every page to the PDF printer: the time
// and the PDF bytes per page must stay within 10% as the report grows.
// Run: <build>/bin/morvelance_bench --benchmark_filter=ReportRhythm
#include "bench/BenchPaths.h"
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/PositionCtrl.h"
#include "documents/RhythmViewDoc.h"
#include "platform/base/CodePage.h"
#include "platform/base/Registry.h"
#include "platform/print/PrintSetup.h"
#include "printdevice/ECGDC.h"
#include "printdevice/ECGPrinter.h"
#include "reports/ECGPrintReport.h"
#include "tools/Mkrecord.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

struct RhythmBenchFolder {
    RhythmBenchFolder() : path("/tmp/morvelance-rhythm-report-bench-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(path + "/printer");
        const std::string registry = path + "/registry.reg";
        std::ofstream(registry) << "Windows Registry Editor Version 5.00\n\n";
        setenv("MORVELANCE_REGISTRY", registry.c_str(), 1);
        platform::ReloadRegistry();
        platform::print::PdfPrinterSetup pdf;
        pdf.outputFolder = platform::FromUtf8(path + "/printer");
        pdf.installFolder = platform::FromUtf8(path + "/Adobe");
        platform::print::ConfigurePdfPrinter(pdf);
    }
    ~RhythmBenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

// Every page of the record, the patient block on the first.
class CRhythmBenchReport : public CECGPrintReport {
public:
    CRhythmBenchReport(CTavrionDoc& doc, CECGPrinter& printer, CViewRhythmWave& view, int pages)
        : m_view(view), m_pages(pages)
    {
        m_pDoc = &doc;
        m_DocType = 2;
        m_pPrinter = &printer;
    }

protected:
    short PrintReport() override
    {
        m_nPageCount = m_pages;
        for (int part = 0; part < m_pages; ++part) {
            if (m_pECGDC->StartPage() <= 0) return 1;
            const int drawn = PrintRhythmWave(&m_view, nullptr, part + 1, part, 1, L"リズム心電図", 0, -1);
            if (m_pECGDC->EndPage() <= 0 || !drawn) return 1;
        }
        return 0;
    }

private:
    CViewRhythmWave& m_view;
    int m_pages;
};

int CountPages(CViewRhythmWave& view)
{
    view.SetStartTime(0);
    int pages = 1;
    for (int moved = view.ChangePageSample(1); moved == 0 || moved == 2; moved = view.ChangePageSample(1)) {
        ++pages;
        if (moved == 2) break;
    }
    view.SetStartTime(0);
    return pages;
}

void BM_ReportRhythmPages(benchmark::State& state)
{
    static const RhythmBenchFolder folder;
    const std::string record = std::string(MORVELANCE_SHARED_DATA) + "/physionet/mitdb/100";
    if (!std::ifstream(record + ".hea")) {
        state.SkipWithError("MIT-BIH 100 is not in the shared data folder");
        return;
    }
    const int minutes = static_cast<int>(state.range(0));
    const std::string made = folder.path + "/m" + std::to_string(minutes) + ".ecg";
    std::ostringstream out, err;
    if (morvelance::RunMkrecord({"wfdb", "--record", record, "--kind", "rhythm", "--seconds",
                                 std::to_string(minutes * 60), "--xml", "--out", made},
                                out, err) != 0) {
        state.SkipWithError("the record could not be made");
        return;
    }
    CRhythmViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetGridType(1);
    const std::string xml = folder.path + "/m" + std::to_string(minutes) + "20240401093000.xml";
    auto* item = new _RHYTHMDATAITEM;
    item->strFilePath = CString(made.c_str());
    item->strXMLPath = CString(xml.c_str());
    item->nLeadCount = 1;
    doc.GetRhythmDataManager()->AppendItem(item);
    CString xmlPath(xml.c_str()), file(made.c_str());
    if (doc.OpenFile(xmlPath, file) != 0) {
        state.SkipWithError("the record did not open");
        return;
    }
    doc.SetCurDataIndex(item->nID);
    doc.GetCtrlPosFromXSL(LOAD_POS_RHYTHM_PRINT);
    CViewRhythmWave view;
    doc.AddView(&view);
    view.SetDocType(DOC_TYPE_RHYTHM);
    view.SetWaveStyle(16, TRUE);
    view.OnUpdate(nullptr, 0, nullptr);
    const int pages = CountPages(view);
    const std::string saved = folder.path + "/saved";
    uintmax_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(saved);
        std::filesystem::create_directories(saved);
        CECGPrinter printer;
        printer.SetPageSize(9, 2);
        printer.SetPrintMargin(10, 10, 10, 10);
        printer.SetPrinterName(L"Acrobat Distiller");
        printer.SetPDFSavePath(CString(platform::FromUtf8(saved + "/").c_str()));
        CRhythmBenchReport report(doc, printer, view, pages);
        state.ResumeTiming();
        if (!report.ECGDefaultPrint(xmlPath, 0x40000000L, 0)) {
            state.SkipWithError("the report did not print");
            break;
        }
        state.PauseTiming();
        bytes = 0;
        for (const auto& entry : std::filesystem::directory_iterator(saved)) bytes += entry.file_size();
        state.ResumeTiming();
    }
    doc.RemoveView(&view);
    state.counters["pages"] = pages;
    state.counters["bytes/page"] = static_cast<double>(bytes) / pages;
    state.counters["ms/page"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate |
                                                              benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReportRhythmPages)
    ->ArgName("minutes")
    ->Arg(5)
    ->Arg(10)
    ->Arg(30)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
