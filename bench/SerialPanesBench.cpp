// The serial comparison pages as the host shows them in 1920 x 1080 on a
// patient's series of the record maker: a full repaint of the average page
// with ten records (and of its comparison view alone) and of the rhythm page
// (target: under 20 ms each); and the choosers' lists filled from a base list
// of 250 to 2,000 records (linear).
// Run: <build>/bin/morvelance_bench --benchmark_filter=SerialPane
#include "bench/BenchPaths.h"
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/DataItem.h"
#include "core/Globals.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "panes/WndRestSerialComAve.h"
#include "panes/WndRestSerialComRhy.h"
#include "waveviews/ViewSerialComAve.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/SerialSeries.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The series open in one rest document and one MFER document, listed in the base document.
struct Series {
    Series()
    {
        platform::ui::Desktop::SetScreenSize(kWidth, kHeight);
        g_dXUnit = kWidth / 1024.0;
        g_dYUnit = kHeight / 768.0;
        savedWorkDir = g_pWorkDir;
        g_pWorkDir = workDir.data();
        folder = "/tmp/morvelance-serial-panes-bench-" + std::to_string(getpid());
        std::filesystem::create_directories(folder);
        base.m_bAutoDelete = rest.m_bAutoDelete = mfer.m_bAutoDelete = FALSE;
        base.GetCtrlPosFromXSL(LOAD_POS_REST);
        std::vector<std::string> xmls;
        const std::vector<std::string> files = morvelance::WriteSerialSeries(folder, &xmls);
        for (size_t i = 0; i < files.size(); ++i) {
            CString file(files[i].c_str()), xml(xmls[i].c_str());
            auto* listed = new _DATAITEM;
            if (xmls[i].empty()) {
                auto* item = new _MFERDATAITEM;
                item->strFilePath = file;
                mfer.GetMFERDataManager()->AppendItem(item);
                CString none, third;
                ok = mfer.OpenMFERFile(file, none, third) == 0 && ok;
                listed->uSystemCode = item->uSystemCode;
            } else {
                auto* item = new _RESTDATAITEM;
                item->strFilePath = file;
                item->strXMLPath = xml;
                rest.GetRestDataManager().AppendItem(item);
                ok = rest.OpenFile(xml, file) == 0 && ok;
                listed->uSystemCode = item->uSystemCode;
                listed->strXMLPath = xml;
            }
            listed->strFilePath = file;
            listed->bLoaded = 1;
            base.GetDataManager().AppendItem(listed);
        }
        base.SetCurDataIndex(0);
        rest.SetCurDataIndex(0);
        for (CTavrionDoc* doc : {&base, static_cast<CTavrionDoc*>(&rest), static_cast<CTavrionDoc*>(&mfer)})
            doc->InitGlobalData();
    }
    ~Series()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        g_pWorkDir = savedWorkDir;
    }

    std::wstring workDir = std::wstring(CString(MORVELANCE_WORKDIR).GetString()) + L'\0';
    wchar_t* savedWorkDir = nullptr;
    std::string folder;
    CTavrionDoc base;
    CRestViewDoc rest;
    CMFERViewDoc mfer;
    bool ok = true;
};

// A pane of the series in a host window of the screen's size.
template <class Pane> struct Shown {
    explicit Shown(Series& series)
    {
        window.CreateEx(0, nullptr, L"bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0);
        pane = std::make_unique<Pane>();
        pane->SetBaseECGDoc(&series.base);
        pane->SetRestViewDoc(&series.rest);
        pane->SetMFERViewDoc(&series.mfer);
        pane->SetDocType(0);
        pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &window, 100);
    }
    ~Shown()
    {
        if (pane->GetSafeHwnd()) pane->DestroyWindow();
        if (window.GetSafeHwnd()) window.DestroyWindow();
    }
    void Repaint() { pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

    CWnd window;
    std::unique_ptr<Pane> pane;
};

void BM_SerialPaneAverageRepaint(benchmark::State& state)
{
    Series series;
    Shown<CWndRestSerialComAve> shown(series);
    series.rest.SetSerialOverlap(0);
    shown.pane->ShowRestPageStyle(41);
    shown.pane->RestoreSerialFile();
    if (!series.ok || shown.pane->GetFileCount() != 10) state.SkipWithError("the series did not open");
    shown.Repaint();
    for (auto _ : state) shown.Repaint();
}
BENCHMARK(BM_SerialPaneAverageRepaint)->Unit(benchmark::kMillisecond);

// The comparison view alone, to tell its own drawing from the pane's strips.
void BM_SerialPaneAverageViewAlone(benchmark::State& state)
{
    Series series;
    Shown<CWndRestSerialComAve> shown(series);
    series.rest.SetSerialOverlap(0);
    shown.pane->ShowRestPageStyle(41);
    shown.pane->RestoreSerialFile();
    shown.Repaint();
    CViewSerialComAve* view = shown.pane->GetAveView(0);
    for (auto _ : state) view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}
BENCHMARK(BM_SerialPaneAverageViewAlone)->Unit(benchmark::kMillisecond);

void BM_SerialPaneRhythmRepaint(benchmark::State& state)
{
    Series series;
    Shown<CWndRestSerialComRhy> shown(series);
    shown.pane->ShowPageStyle(0);
    shown.pane->RestoreSerialFile();
    if (!series.ok) state.SkipWithError("the series did not open");
    shown.Repaint();
    for (auto _ : state) shown.Repaint();
}
BENCHMARK(BM_SerialPaneRhythmRepaint)->Unit(benchmark::kMillisecond);

// A base list of n resting records, every one held (unopened) by the rest document.
void BM_SerialPaneFileList(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    platform::ui::Desktop::SetScreenSize(kWidth, kHeight);
    CTavrionDoc base;
    CRestViewDoc rest;
    CMFERViewDoc mfer;
    base.m_bAutoDelete = rest.m_bAutoDelete = mfer.m_bAutoDelete = FALSE;
    for (int i = 0; i < n; ++i) {
        CString file;
        file.Format(L"/records/serial%05d.ecg", i);
        auto* item = new _RESTDATAITEM;
        item->strFilePath = file;
        item->uSystemCode = i % 2 ? 0x00FE : 0x0000;
        rest.GetRestDataManager().AppendItem(item);
        auto* listed = new _DATAITEM;
        listed->strFilePath = file;
        listed->uSystemCode = item->uSystemCode;
        base.GetDataManager().AppendItem(listed);
    }
    base.InitGlobalData();
    CWnd window;
    window.CreateEx(0, nullptr, L"bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0);
    CWndRestSerialComAve pane;
    pane.SetBaseECGDoc(&base);
    pane.SetRestViewDoc(&rest);
    pane.SetMFERViewDoc(&mfer);
    pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &window, 100);
    for (auto _ : state) pane.UpdateSerialFileList();
    if (pane.GetPositionMap().GetSize() != n) state.SkipWithError("not every record was listed");
    state.SetComplexityN(n);
    pane.DestroyWindow();
    window.DestroyWindow();
}
BENCHMARK(BM_SerialPaneFileList)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
