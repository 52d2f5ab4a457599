// The exercise summary page and the master-step summary page repainted whole
// on a 1920 x 1080 screen, every child included (forms, trend graphs, beats,
// stored strip, caption), over records of the record maker opened as the
// host opens them (target: under 20 ms a repaint).
// Run: <build>/bin/morvelance_bench --benchmark_filter=SummaryPane
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/BenchViews.h"
#include "core/Globals.h"
#include "documents/ExerViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "panes/WndExerSummary.h"
#include "panes/WndFinalSummary.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/ExerRecord.h"
#include "tools/MasterStepRecord.h"
#include "tools/RecordXml.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The screen's factors and the document's fonts and bound texts, as the host sets them.
void UseScreen(CTavrionDoc& doc)
{
    g_dXUnit = kWidth / 1024.0;
    g_dYUnit = kHeight / 768.0;
    platform::ui::Desktop::SetScreenSize(kWidth, kHeight);
    doc.InitGlobalData();
    doc.SetCtrlContent(nullptr);
    doc.UpdateCtrlStatus();
}

// The pane in a host window of the screen's size, laid out and filled.
template <class Pane> void RepaintWhole(benchmark::State& state, CTavrionDoc& doc, Pane* pane)
{
    UseScreen(doc);
    CWnd host;
    host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0);
    pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &host, 100);
    pane->SendMessage(WM_SIZE, 0, 0);
    pane->OnUpdate();
    platform::ui::Desktop::PumpMessages();
    for (auto _ : state) pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pane->DestroyWindow();
    delete pane;
    host.DestroyWindow();
    platform::ui::Desktop::Reset();
}

void BM_ExerSummaryPaneRepaint(benchmark::State& state)
{
    static const benchviews::ExerciseRecordFolder folder("exersummary");
    CExerViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    auto* item = new _EXERDATAITEM;
    item->strFilePath = CString(folder.record.c_str());
    item->strXMLPath = CString(folder.xml.c_str());
    doc.GetExerDataManager().AppendItem(item);
    doc.SetCurDataIndex(item->nID);
    CString xml(folder.xml.c_str()), file(folder.record.c_str());
    if (doc.OpenFile(xml, file) != 0) return state.SkipWithError("the exercise record did not open");
    auto* pane = new CWndExerSummary;
    pane->SetExerViewDoc(&doc);
    RepaintWhole(state, doc, pane);
}
BENCHMARK(BM_ExerSummaryPaneRepaint)->Unit(benchmark::kMillisecond);

void BM_FinalSummaryPaneRepaint(benchmark::State& state)
{
    char pattern[] = "/tmp/morvelance-finalsummary-bench-XXXXXX";
    const std::string dir = mkdtemp(pattern) ? pattern : "/tmp";
    const std::string record = morvelance::WriteMasterStepSamples(dir).front();
    morvelance::RecordXmlSource source;
    std::string error;
    morvelance::ReadRecordXmlSource(record, &source, &error);
    const std::string xmlPath = morvelance::RecordXmlPathFor(record, source.time);
    CFinalViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    auto* item = new _FINALDATAITEM;
    item->strFilePath = CString(record.c_str());
    item->strXMLPath = CString(xmlPath.c_str());
    doc.GetFinalDataManager().AppendItem(item);
    CString xml(xmlPath.c_str()), file(record.c_str());
    const bool opened = doc.OpenFile(xml, file) == 0;
    doc.SetCurDataIndex(item->nID);
    doc.InitialSense();
    if (opened) {
        auto* pane = new CWndFinalSummary;
        pane->SetFinalViewDoc(&doc);
        RepaintWhole(state, doc, pane);
    } else {
        state.SkipWithError("the master-step record did not open");
    }
    std::system(("rm -rf '" + dir + "'").c_str());
}
BENCHMARK(BM_FinalSummaryPaneRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
