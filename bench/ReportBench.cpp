// A one-page resting 12-lead report (wave style 1 with the one-lead strip,
// the patient block, the settings captions and the version line, A4 landscape) printed through the
// report classes: to the PDF printer (time per report and PDF bytes), and as
// raw HP-GL/2 and LIPS jobs (time and spool bytes); and the resting
// interpretation page (the full Minnesota and IVREL block, the average beats
// and the strip), to PDF.
// Run: <build>/bin/morvelance_bench --benchmark_filter=Report
#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/PositionCtrl.h"
#include "documents/RestViewDoc.h"
#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"
#include "platform/base/Registry.h"
#include "platform/print/PrintSetup.h"
#include "printdevice/ECGDC.h"
#include "printdevice/ECGPrinter.h"
#include "reports/ECGPrintReport.h"
#include "tools/RestRecord.h"
#include "analysisviews/ViewAverageWave.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

using namespace morvelance;

namespace {

const wchar_t kRawPrinter[] = L"Bench Report Printer";

struct BenchFolder {
    BenchFolder() : path("/tmp/morvelance-report-bench-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(path + "/printer");
        std::filesystem::create_directories(path + "/saved");
        const std::string registry = path + "/registry.reg";
        std::ofstream(registry) << "Windows Registry Editor Version 5.00\n\n";
        setenv("MORVELANCE_REGISTRY", registry.c_str(), 1);
        setenv("MORVELANCE_SPOOL", (path + "/spool").c_str(), 1);
        platform::ReloadRegistry();
        platform::print::PdfPrinterSetup pdf;
        pdf.outputFolder = platform::FromUtf8(path + "/printer");
        pdf.installFolder = platform::FromUtf8(path + "/Adobe");
        platform::print::ConfigurePdfPrinter(pdf);
        platform::print::PrinterSetup raw;
        raw.name = kRawPrinter;
        raw.orientation = 2;
        platform::print::ConfigurePrinter(raw);
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

struct RestPage {
    explicit RestPage(const std::string& folder)
    {
        doc.m_bAutoDelete = FALSE;
        doc.SetGridType(1);
        const RestRecordFiles files = WriteRestRecord(folder, "report.ecg", RestRecordShape());
        xml = CString(files.xml.c_str());
        auto* item = new _RESTDATAITEM;
        item->strFilePath = CString(files.record.c_str());
        item->strXMLPath = xml;
        doc.GetRestDataManager().AppendItem(item);
        CString file(files.record.c_str());
        ok = doc.OpenFile(xml, file) == 0;
        doc.SetCurDataIndex(0);
        doc.GetCtrlPosFromXSL(LOAD_POS_REST_PRINT);
        for (CWaveView* each : Views()) doc.AddView(each);
        view.SetDocType(DOC_TYPE_REST);
        view.SetWaveStyle(1, TRUE);
        strip.SetDocType(DOC_TYPE_REST);
        strip.SetRhythm1LeadID(1);
        strip.SetWaveStyle(15, TRUE);
        for (CWaveView* each : Views()) each->OnUpdate(nullptr, 0, nullptr);
    }
    ~RestPage()
    {
        for (CWaveView* each : Views()) doc.RemoveView(each);
    }
    std::vector<CWaveView*> Views() { return {&view, &strip, &average}; }

    CRestViewDoc doc;
    CViewRhythmWave view;
    CViewScroll1LeadWave strip;
    CViewAverageWave average;
    CString xml;
    bool ok = false;
};

// The report a host makes for the resting wave page, or for the page of
// the interpretation block (eight Minnesota codes, eleven IVREL statements).
class CBenchReport : public CECGPrintReport {
public:
    CBenchReport(RestPage& page, CECGPrinter& printer, bool interpre = false) : m_page(page), m_interpre(interpre)
    {
        m_pDoc = &page.doc;
        m_DocType = 0;
        m_pPrinter = &printer;
    }

protected:
    short PrintReport() override
    {
        m_nPageCount = 1;
        if (m_pECGDC->StartPage() <= 0) return 1;
        if (m_interpre) UpdateInterpreDisplay(&m_page.average);
        const int drawn = m_interpre ? PrintRestInterpre(&m_page.strip, &m_page.average, 1)
                                     : PrintRhythmWave(&m_page.view, &m_page.strip, 1, 0, 0, L"安静時心電図", 1, -1);
        return m_pECGDC->EndPage() > 0 && drawn ? 0 : 1;
    }

private:
    RestPage& m_page;
    bool m_interpre;
};

uintmax_t FolderBytes(const std::string& folder)
{
    uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() != ".job") bytes += entry.file_size();
    return bytes;
}

void ClearFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
}

// The print type (2 PDF printer, 3 HP-GL/2, 5 LIPS) and the page.
void BM_ReportRestWave(benchmark::State& state)
{
    static const BenchFolder folder;
    RestPage page(folder.path);
    if (!page.ok) {
        state.SkipWithError("the record did not open");
        return;
    }
    const int type = static_cast<int>(state.range(0));
    const std::string output = type == 2 ? folder.path + "/saved" : folder.path + "/spool";
    uintmax_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ClearFolder(output);
        CECGPrinter printer;
        printer.SetPageSize(9, 2);
        printer.SetPrintMargin(10, 10, 10, 10);
        if (type == 2) {
            printer.SetPrinterName(L"Acrobat Distiller");
            printer.SetPDFSavePath(CString(platform::FromUtf8(output + "/").c_str()));
        } else {
            printer.SetPrinterName(kRawPrinter);
            printer.SetPrintType(type);
        }
        CBenchReport report(page, printer, state.range(1) != 0);
        state.ResumeTiming();
        if (!report.ECGDefaultPrint(page.xml, 0x40000000L, 0)) {
            state.SkipWithError("the report did not print");
            return;
        }
        state.PauseTiming();
        bytes = FolderBytes(output);
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
// Args: the print type, then 0 the wave page or 1 the interpretation page.
BENCHMARK(BM_ReportRestWave)
    ->ArgNames({"type", "interpre"})
    ->Args({2, 0})
    ->Args({3, 0})
    ->Args({5, 0})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
