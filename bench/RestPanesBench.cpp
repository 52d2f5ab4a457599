// The resting wave page at 1920 x 1080 as the host holds it: a full repaint
// (the multi-lead view's cached page dropped, every child painted again:
// patient strip, caption, the page of waves and the one-lead strip) of a
// 12-lead resting record in wave styles 1 and 11 and of a 15-lead MFER file
// in its column layout (target under 20 ms); and the page's layout alone
// after a resize (target under 1 ms).
// Run: <build>/bin/morvelance_bench --benchmark_filter=RestWavePage
#include "bench/BenchPaths.h"
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cwchar>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/BenchRecords.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "panes/WndRestRhythmWave.h"
#include "platform/base/CodePage.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/MferWriter.h"
#include "tools/RestRecord.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace {

using platform::ui::Desktop;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct BenchFolder {
    BenchFolder() : path("/tmp/morvelance-restpanes-bench-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(path);
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

const BenchFolder& Folder()
{
    static const BenchFolder folder;
    return folder;
}

// The layout tables of the patient strip load from the work directory; the
// application owns (and frees at exit) the text when it set one.
void UseWorkDir()
{
    if (g_pWorkDir) return;
    const std::wstring dir = platform::FromUtf8(MORVELANCE_WORKDIR);
    g_pWorkDir = new wchar_t[dir.size() + 1];
    std::wmemcpy(g_pWorkDir, dir.c_str(), dir.size() + 1);
}

void ScreenFor(CTavrionDoc& doc)
{
    g_dXUnit = kWidth / 1024.0;
    g_dYUnit = kHeight / 768.0;
    Desktop::Reset();
    Desktop::SetScreenSize(kWidth, kHeight);
    doc.GetCtrlPosFromXSL(LOAD_POS_REST);
    doc.InitGlobalData();
    doc.SetCtrlContent(nullptr);
    doc.UpdateCtrlStatus();
}

// The page in a host window of the screen's size, driven in the host's order.
// Derived pages close it before their document goes.
struct Page {
    void Close()
    {
        if (pane && pane->GetSafeHwnd()) pane->DestroyWindow();
        pane.reset();
        if (host.GetSafeHwnd()) host.DestroyWindow();
    }
    bool Create()
    {
        const CRect rect(0, 0, kWidth, kHeight);
        return host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, rect, nullptr, 0) &&
               pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &host, 100);
    }
    void Repaint()
    {
        pane->GetRhythmView()->UpdateDrawDC();
        pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    void Layout() { pane->SendMessage(WM_SIZE, 0, 0); }

    CWnd host;
    std::unique_ptr<CWndRestRhythmWave> pane = std::make_unique<CWndRestRhythmWave>();
};

struct RestPage : Page {
    explicit RestPage(int style)
    {
        UseWorkDir();
        doc.m_bAutoDelete = FALSE;
        const morvelance::RestRecordFiles files =
            morvelance::WriteRestRecord(Folder().path, "rest" + std::to_string(style) + ".ecg",
                                        morvelance::RestRecordShape());
        ok = benchrecords::OpenRestRecord(doc, files);
        ScreenFor(doc);
        pane->SetRestViewDoc(&doc);
        pane->SetShowPatientInfo(TRUE);
        ok = ok && Create();
        if (!ok) return;
        pane->ShowRestPageStyle(style);
        pane->OnUpdate();
        Desktop::PumpMessages();
    }
    ~RestPage() { Close(); }
    CRestViewDoc doc;
    bool ok = false;
};

struct MferPage : Page {
    MferPage()
    {
        UseWorkDir();
        doc.m_bAutoDelete = FALSE;
        const std::string path = Folder().path + "/m15.mwf";
        morvelance::MferOptions options;
        options.description = morvelance::MferDescription(morvelance::MferKind::Plain);
        std::string error;
        ok = morvelance::WriteMferFile(path, morvelance::MferKindRecord(morvelance::MferKind::Plain, 15), options,
                                       &error);
        auto* item = new _MFERDATAITEM;
        item->strFilePath = CString(platform::FromUtf8(path).c_str());
        item->nLeadLayout = 15;
        doc.GetMFERDataManager()->AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        CString file = item->strFilePath, xml, third;
        ok = ok && doc.OpenMFERFile(file, xml, third) == 0;
        ScreenFor(doc);
        pane->SetMFERViewDoc(&doc);
        ok = ok && Create();
        if (!ok) return;
        pane->ShowMFERPageStyle(33);
        pane->OnUpdate();
        Desktop::PumpMessages();
    }
    ~MferPage() { Close(); }
    CMFERViewDoc doc;
    bool ok = false;
};

template <class P> void RunRepaint(benchmark::State& state, P& page, int waveStyle)
{
    if (!page.ok || page.pane->GetRhythmView()->GetWaveStyle() != waveStyle) {
        state.SkipWithError("the record did not open in the page");
        return;
    }
    for (auto _ : state) page.Repaint();
}

void BM_RestWavePageRepaintStyle1(benchmark::State& state)
{
    RestPage page(1);
    RunRepaint(state, page, 1);
}
BENCHMARK(BM_RestWavePageRepaintStyle1)->Unit(benchmark::kMillisecond);

void BM_RestWavePageRepaintStyle11(benchmark::State& state)
{
    RestPage page(33);   // the page style of the twelve-lead column
    RunRepaint(state, page, 11);
}
BENCHMARK(BM_RestWavePageRepaintStyle11)->Unit(benchmark::kMillisecond);

void BM_RestWavePageRepaintMfer15(benchmark::State& state)
{
    MferPage page;
    RunRepaint(state, page, 12);
}
BENCHMARK(BM_RestWavePageRepaintMfer15)->Unit(benchmark::kMillisecond);

void BM_RestWavePageLayout(benchmark::State& state)
{
    RestPage page(1);
    if (!page.ok) {
        state.SkipWithError("the record did not open in the page");
        return;
    }
    for (auto _ : state) page.Layout();
}
BENCHMARK(BM_RestWavePageLayout)->Unit(benchmark::kMicrosecond);

}  // namespace
