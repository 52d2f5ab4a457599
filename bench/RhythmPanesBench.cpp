// The interpretation page and the rhythm wave page on a 1920 x 1080 screen:
// the whole pane repainted (forms, caption, average beats, strips; target
// under 20 ms), with the paper in dots (the documents' default) and in lines,
// and the layout alone (target under 1 ms); then the next button pressed
// through MIT-BIH 100 converted by the record maker to one-lead rhythm
// records of 5 and 30 minutes, timed per page at the first, the middle and
// the last page: the cost must not grow with the record's length (within 10%).
// Run: <build>/bin/morvelance_bench --benchmark_filter=RhythmPanes
#include "bench/BenchPaths.h"
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchRecords.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "dialogs/DlgPreNext.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "panes/WndRestInterpretation.h"
#include "panes/WndRhythmWave.h"
#include "platform/base/CodePage.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/Mkrecord.h"
#include "tools/RecordXml.h"
#include "tools/RestRecord.h"
#include "tools/RhythmRecord.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

using platform::ui::Desktop;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kNextButton = 3498;

class WorkDirAt {
public:
    explicit WorkDirAt(const std::string& dir) : m_saved(g_pWorkDir)
    {
        const std::wstring path = platform::FromUtf8(dir);
        m_text.assign(path.begin(), path.end());
        m_text.push_back(L'\0');
        g_pWorkDir = m_text.data();
    }
    ~WorkDirAt() { g_pWorkDir = m_saved; }

private:
    wchar_t* m_saved;
    std::vector<wchar_t> m_text;
};

struct BenchFolder {
    BenchFolder() : path("/tmp/morvelance-rhythmpanes-bench-" + std::to_string(getpid()))
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

// The screen of the application at 1920 x 1080, the document's fonts made for it.
void UseScreen(CTavrionDoc& doc)
{
    g_dXUnit = kWidth / 1024.0;
    g_dYUnit = kHeight / 768.0;
    Desktop::SetScreenSize(kWidth, kHeight);
    doc.InitGlobalData();
    doc.SetCtrlContent(nullptr);
    doc.UpdateCtrlStatus();
}

// The pane filling a top-level window of the screen's size, as the host holds it.
template <class Pane> struct PaneOnScreen {
    template <class SetDoc> explicit PaneOnScreen(SetDoc setDoc)
    {
        host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0);
        pane = new Pane;
        setDoc(*pane);
        ok = pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &host, 100);
    }
    ~PaneOnScreen()
    {
        if (pane->GetSafeHwnd()) pane->DestroyWindow();
        delete pane;
        host.DestroyWindow();
    }
    void Repaint()
    {
        pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Desktop::PumpMessages();
    }

    CWnd host;
    Pane* pane = nullptr;
    BOOL ok = FALSE;
};

// A resting 12-lead record of 10 s on its document.
struct RestRecord {
    RestRecord() : workDir(MORVELANCE_WORKDIR)
    {
        doc.m_bAutoDelete = FALSE;
        doc.GetCtrlPosFromXSL(LOAD_POS_REST);
        files = morvelance::WriteRestRecord(Folder().path, "rest.ecg", morvelance::RestRecordShape());
        opened = benchrecords::OpenRestRecord(doc, files);
        UseScreen(doc);
    }
    WorkDirAt workDir;
    CRestViewDoc doc;
    morvelance::RestRecordFiles files;
    bool opened = false;
};

// A rhythm record on its document: the record maker's synthetic one-lead
// record, or a conversion of a shared record.
struct RhythmRecord {
    explicit RhythmRecord(const std::string& record, const std::string& xml) : workDir(MORVELANCE_WORKDIR)
    {
        doc.m_bAutoDelete = FALSE;
        doc.GetCtrlPosFromXSL(LOAD_POS_REST);
        doc.GetCtrlPosFromXSL(LOAD_POS_RHYTHM);
        auto* item = new _RHYTHMDATAITEM;
        item->strFilePath = platform::FromUtf8(record).c_str();
        item->strXMLPath = platform::FromUtf8(xml).c_str();
        item->nLeadCount = 1;
        doc.GetRhythmDataManager()->AppendItem(item);
        CString xmlPath = item->strXMLPath, file = item->strFilePath;
        opened = doc.OpenFile(xmlPath, file) == 0;
        doc.SetCurDataIndex(item->nID);
        UseScreen(doc);
    }
    WorkDirAt workDir;
    CRhythmViewDoc doc;
    bool opened = false;
};

std::pair<std::string, std::string> SyntheticRhythm()
{
    const std::string record = Folder().path + "/rhythm.ecg", xml = Folder().path + "/rhythm.xml";
    morvelance::RhythmRecordShape shape;
    shape.seconds = 60.0;
    morvelance::RecordXmlSource source;
    morvelance::RecordBuilder builder = morvelance::MakeRhythmRecord(shape, &source);
    builder.WriteFile(record, zarn::Flavour::Newer90);
    morvelance::WriteRecordXml(xml, source, morvelance::RecordXmlOptions());
    return {record, xml};
}

void BM_RhythmPanesInterpretationRepaint(benchmark::State& state)
{
    Desktop::Reset();
    RestRecord record;
    if (!record.opened) {
        state.SkipWithError("the resting record did not open");
        return;
    }
    record.doc.SetGridType(static_cast<int>(state.range(0)));
    PaneOnScreen<CWndRestInterpretation> on([&](CWndRestInterpretation& p) { p.SetRestViewDoc(&record.doc); });
    if (!on.ok) {
        state.SkipWithError("the pane was not created");
        return;
    }
    on.pane->ShowRestPageStyle(35);
    Desktop::PumpMessages();
    for (auto _ : state) on.Repaint();
}
BENCHMARK(BM_RhythmPanesInterpretationRepaint)->ArgName("grid")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RhythmPanesRhythmWaveRepaint(benchmark::State& state)
{
    Desktop::Reset();
    const auto files = SyntheticRhythm();
    RhythmRecord record(files.first, files.second);
    if (!record.opened) {
        state.SkipWithError("the rhythm record did not open");
        return;
    }
    record.doc.SetGridType(static_cast<int>(state.range(0)));
    PaneOnScreen<CWndRhythmWave> on([&](CWndRhythmWave& p) { p.SetRhythmViewDoc(&record.doc); });
    if (!on.ok) {
        state.SkipWithError("the pane was not created");
        return;
    }
    on.pane->ShowRhythmPageStyle(20);
    Desktop::PumpMessages();
    for (auto _ : state) on.Repaint();
}
BENCHMARK(BM_RhythmPanesRhythmWaveRepaint)->ArgName("grid")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RhythmPanesLayout(benchmark::State& state)
{
    Desktop::Reset();
    RestRecord rest;
    const auto files = SyntheticRhythm();
    RhythmRecord rhythm(files.first, files.second);
    if (!rest.opened || !rhythm.opened) {
        state.SkipWithError("a record did not open");
        return;
    }
    PaneOnScreen<CWndRestInterpretation> interpretation(
        [&](CWndRestInterpretation& p) { p.SetRestViewDoc(&rest.doc); });
    PaneOnScreen<CWndRhythmWave> wave([&](CWndRhythmWave& p) { p.SetRhythmViewDoc(&rhythm.doc); });
    interpretation.pane->ShowRestPageStyle(35);
    wave.pane->ShowRhythmPageStyle(20);
    Desktop::PumpMessages();
    CWnd* pane = state.range(0) == 0 ? static_cast<CWnd*>(interpretation.pane) : static_cast<CWnd*>(wave.pane);
    for (auto _ : state) pane->SendMessage(WM_SIZE, 0, 0);
    state.SetLabel(state.range(0) == 0 ? "CWndRestInterpretation 35" : "CWndRhythmWave 20");
}
BENCHMARK(BM_RhythmPanesLayout)->ArgName("pane")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// MIT-BIH 100 as a one-lead rhythm record of `minutes`; empty paths when the
// data is absent or the conversion fails.
std::pair<std::string, std::string> MitBih100(int minutes)
{
    const std::string source = std::string(MORVELANCE_SHARED_DATA) + "/physionet/mitdb/100";
    if (!std::ifstream(source + ".hea")) return {};
    const std::string stem = "m" + std::to_string(minutes);
    const std::string made = Folder().path + "/" + stem + ".ecg";
    const std::string xml = Folder().path + "/" + stem + "20240401093000.xml";
    if (std::ifstream(made) && std::ifstream(xml)) return {made, xml};
    std::ostringstream out, err;
    if (morvelance::RunMkrecord({"wfdb", "--record", source, "--kind", "rhythm", "--seconds",
                                 std::to_string(minutes * 60), "--xml", "--out", made},
                                out, err) != 0)
        return {};
    return {made, xml};
}

// Next pressed from the first page, from the middle page, or into the last page.
void BM_RhythmPanesNextThroughMitBih100(benchmark::State& state)
{
    const int minutes = static_cast<int>(state.range(0));
    const int where = static_cast<int>(state.range(1));
    const auto files = MitBih100(minutes);
    if (files.first.empty()) {
        state.SkipWithError("MIT-BIH 100 is not in the shared data folder or did not convert");
        return;
    }
    Desktop::Reset();
    RhythmRecord record(files.first, files.second);
    if (!record.opened) {
        state.SkipWithError("the record did not open");
        return;
    }
    PaneOnScreen<CWndRhythmWave> on([&](CWndRhythmWave& p) { p.SetRhythmViewDoc(&record.doc); });
    on.pane->ShowRhythmPageStyle(20);
    Desktop::PumpMessages();
    CViewRhythmWave* view = on.pane->GetRhythmView();
    // The first sample of every page, as next walks them.
    std::vector<int> starts{0};
    view->SetStartTime(0);
    for (int moved = view->ChangePageSample(1); moved == 0 || moved == 2; moved = view->ChangePageSample(1)) {
        starts.push_back(view->GetStartTime());
        if (moved == 2) break;
    }
    const int pages = static_cast<int>(starts.size());
    if (pages < 3) {
        state.SkipWithError("the record has fewer than three pages");
        return;
    }
    const int from = where == 0 ? 0 : where == 1 ? pages / 2 : pages - 2;
    CWnd* next = on.pane->GetPreNextStrip()->GetDlgItem(kNextButton);
    const WPARAM command = MAKEWPARAM(kNextButton, BN_CLICKED);
    for (auto _ : state) {
        state.PauseTiming();
        view->SetStartTime(starts[from]);
        state.ResumeTiming();
        // The strip hands the button's command to the pane, which pages and repaints.
        on.pane->GetPreNextStrip()->SendMessage(WM_COMMAND, command, reinterpret_cast<LPARAM>(next->m_hWnd));
        on.pane->UpdateWindow();
        Desktop::PumpMessages();
    }
    if (view->GetStartTime() != starts[from + 1]) state.SkipWithError("next did not reach the following page");
    state.counters["pages"] = pages;
    state.SetLabel(where == 0 ? "first page" : where == 1 ? "middle page" : "into the last page");
}
BENCHMARK(BM_RhythmPanesNextThroughMitBih100)
    ->ArgNames({"minutes", "where"})
    ->ArgsProduct({{5, 30}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
