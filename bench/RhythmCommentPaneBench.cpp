// The rhythm comment page in 1920 x 1080 on a three-lead synthetic rhythm
// record of the record maker: the whole page painted afresh with the comment
// form beside the waves (style 26) and with the waves across (style 22)
// (target: under 20 ms each); and one layout of the page alone (under 1 ms).
// Run: <build>/bin/morvelance_bench --benchmark_filter=RhythmComment
#include "bench/BenchPaths.h"
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "documents/RhythmViewDoc.h"
#include "panes/WndRhythmComment.h"
#include "platform/base/CodePage.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/RecordXml.h"
#include "tools/RhythmRecord.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

using platform::ui::Desktop;

struct CommentPage {
    explicit CommentPage(int style)
    {
        Desktop::SetScreenSize(1920, 1080);
        g_dXUnit = 1920 / 1024.0;
        g_dYUnit = 1080 / 768.0;
        const std::wstring work = platform::FromUtf8(MORVELANCE_WORKDIR);
        workDir.assign(work.begin(), work.end());
        workDir.push_back(L'\0');
        savedWorkDir = g_pWorkDir;
        g_pWorkDir = workDir.data();
        folder = "/tmp/morvelance-comment-bench-" + std::to_string(getpid());
        std::filesystem::create_directories(folder);
        doc.m_bAutoDelete = FALSE;
        for (auto type : {LOAD_POS_REST, LOAD_POS_RHYTHM}) doc.GetCtrlPosFromXSL(type);
        doc.InitGlobalData();

        morvelance::RhythmRecordShape shape;
        shape.leads = 3;
        shape.seconds = 300.0;
        morvelance::RecordXmlSource source;
        const std::string record = folder + "/comment.ecg", xml = folder + "/comment.xml";
        morvelance::MakeRhythmRecord(shape, &source).WriteFile(record, zarn::Flavour::Newer90);
        morvelance::WriteRecordXml(xml, source, morvelance::RecordXmlOptions());
        auto* item = new _RHYTHMDATAITEM;
        item->strFilePath = platform::FromUtf8(record).c_str();
        item->strXMLPath = platform::FromUtf8(xml).c_str();
        item->nLeadCount = 3;
        doc.GetRhythmDataManager()->AppendItem(item);
        CString xmlPath(item->strXMLPath), recordPath(item->strFilePath);
        ok = doc.OpenFile(xmlPath, recordPath) == 0;
        doc.SetCurDataIndex(item->nID);
        doc.SetSpeed(25.0f);
        doc.SetCtrlContent(nullptr);
        doc.UpdateCtrlStatus();

        host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1920, 1080), nullptr, 0);
        pane = new CWndRhythmComment;
        pane->SetRhythmViewDoc(&doc);
        pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1920, 1080), &host, 100);
        pane->ShowRhythmPageStyle(style);
        Desktop::PumpMessages();
        ok = ok && pane->GetRhythmView();
    }
    ~CommentPage()
    {
        if (pane->GetSafeHwnd()) pane->DestroyWindow();
        delete pane;
        host.DestroyWindow();
        g_pWorkDir = savedWorkDir;
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        Desktop::Reset();
    }
    void Paint()
    {
        // Afresh: the view's kept page goes, as after a page move.
        pane->GetRhythmView()->UpdateDrawDC();
        pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    std::vector<wchar_t> workDir;
    wchar_t* savedWorkDir = nullptr;
    std::string folder;
    CRhythmViewDoc doc;
    CWnd host;
    CWndRhythmComment* pane = nullptr;
    bool ok = false;
};

void PaintPage(benchmark::State& state, int style)
{
    CommentPage page(style);
    if (!page.ok) {
        state.SkipWithError("the record did not open");
        return;
    }
    for (auto _ : state) page.Paint();
}

void BM_RhythmCommentPaintFormAndWaves(benchmark::State& state) { PaintPage(state, 26); }
void BM_RhythmCommentPaintWavesAcross(benchmark::State& state) { PaintPage(state, 22); }
BENCHMARK(BM_RhythmCommentPaintFormAndWaves)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RhythmCommentPaintWavesAcross)->Unit(benchmark::kMillisecond);

void BM_RhythmCommentLayout(benchmark::State& state)
{
    CommentPage page(26);
    if (!page.ok) {
        state.SkipWithError("the record did not open");
        return;
    }
    for (auto _ : state) page.pane->SendMessage(WM_SIZE, 0, 0);
}
BENCHMARK(BM_RhythmCommentLayout)->Unit(benchmark::kMicrosecond);

}  // namespace
