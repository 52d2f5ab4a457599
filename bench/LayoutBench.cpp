// Loading the installation's layout stylesheet into all sixteen layout
// tables. Every iteration starts from empty tables and reads every control.
// Target: well under the time of opening a page (20 ms).
#include "bench/BenchPaths.h"
#include <benchmark/benchmark.h>

#include <vector>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"

namespace {

// Points the work directory at the build's assembled one for the run.
class BuildWorkDir {
public:
    BuildWorkDir() : m_saved(g_pWorkDir)
    {
        const CString path(MORVELANCE_WORKDIR);
        m_text.assign(path.GetString(), path.GetString() + path.GetLength() + 1);
        g_pWorkDir = m_text.data();
    }
    ~BuildWorkDir() { g_pWorkDir = m_saved; }

private:
    wchar_t* m_saved;
    std::vector<wchar_t> m_text;
};

// The sixteen loaders on one opened stylesheet: what loading the whole
// layout costs when the stylesheet is parsed once.
class CLoaderDoc : public CTavrionDoc {
public:
    void LoadAll(CECGXMLParser* xsl)
    {
        LoadPatInfoPos(xsl, 0);
        LoadRestInterprePos(xsl, 0);
        LoadUsaRestInterprePos(xsl, 0);
        LoadRhyInterprePos(xsl, 0);
        LoadRRInterprePos(xsl, 0);
        LoadMsfrInterprePos(xsl, 0);
        LoadExtraInterprePos(xsl, 0);
        LoadExerInterprePos(xsl, 0);
        LoadPatInfoPrintPos(xsl, 0);
        LoadRestInterprePrintPos(xsl, 0);
        LoadUsaRestInterprePrintPos(xsl, 0);
        LoadRRInterprePrintPos(xsl, 0);
        LoadRhyInterprePrintPos(xsl, 0);
        LoadMsfrInterprePrintPos(xsl, 0);
        LoadExtraInterprePrintPos(xsl, 0);
        LoadExerInterprePrintPos(xsl, 0);
    }
};

void BM_LoadLayoutStylesheetOnceAllTables(benchmark::State& state)
{
    BuildWorkDir workDir;
    const CString path = CString(MORVELANCE_WORKDIR) + L"/Tavrion.xsl";
    CLoaderDoc doc;
    for (auto _ : state) {
        ResetDefCtrlPos();
        CECGXMLParser xsl(path, 0, CString());
        doc.LoadAll(&xsl);
        benchmark::DoNotOptimize(g_stDefCtrlPos.stExerPrint[0].nLeft);
    }
    ResetDefCtrlPos();
}
BENCHMARK(BM_LoadLayoutStylesheetOnceAllTables)->Unit(benchmark::kMillisecond);

// As a host does it: one call per examination kind and its print forms,
// each opening the stylesheet anew.
void BM_LoadAllLayoutTables(benchmark::State& state)
{
    BuildWorkDir workDir;
    for (auto _ : state) {
        ResetDefCtrlPos();
        CTavrionDoc doc;
        for (int type = LOAD_POS_REST; type <= LOAD_POS_EXER_PRINT; ++type)
            doc.GetCtrlPosFromXSL(static_cast<_LOAD_POSITION_TYPE>(type));
        benchmark::DoNotOptimize(g_stDefCtrlPos.stExerPrint[0].nLeft);
    }
    ResetDefCtrlPos();
}
BENCHMARK(BM_LoadAllLayoutTables)->Unit(benchmark::kMillisecond);

// Only the visibility again, over all sixteen loaded tables.
void BM_RefreshLayoutVisibility(benchmark::State& state)
{
    BuildWorkDir workDir;
    ResetDefCtrlPos();
    CTavrionDoc doc;
    for (int type = LOAD_POS_REST; type <= LOAD_POS_EXER_PRINT; ++type)
        doc.GetCtrlPosFromXSL(static_cast<_LOAD_POSITION_TYPE>(type));
    for (auto _ : state) doc.GetCtrlPosFromXSL(LOAD_POS_REFRESH_VISIBLE);
    ResetDefCtrlPos();
}
BENCHMARK(BM_RefreshLayoutVisibility)->Unit(benchmark::kMillisecond);

}  // namespace
