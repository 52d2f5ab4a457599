// The multi-lead view drawing a page afresh into a 1920 x 1080 image DC (the
// paper grid, then the page of the style: pulses, labels, traces) from a
// resting record the record maker writes: style 11 (12 leads x 10 s) in
// smoothing modes 0 to 3 (target for mode 0: under 20 ms) and style 1; then
// paging three-lead MFER rhythm records of 5 and 30 minutes in style 16 (one
// page moved and drawn; the cost must not grow with the length), the one
// load at OnUpdate reported apart, first and kept. (The MFER reader takes at most 2^20
// samples a channel: two hours at 500 Hz do not fit one file.)
// Run: <build>/bin/morvelance_bench --benchmark_filter=RhythmView
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "bench/BenchRecords.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "tools/MferWriter.h"
#include "tools/RestRecord.h"
#include "waveviews/ViewRhythmWave.h"

using namespace morvelance;

namespace {

const int kWidth = 1920;
const int kHeight = 1080;

struct BenchFolder {
    BenchFolder() : path("/tmp/morvelance-rhythmview-bench-" + std::to_string(getpid()))
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

RestRecordFiles RecordOf(double seconds)
{
    static const BenchFolder folder;
    static std::map<double, RestRecordFiles> made;
    auto found = made.find(seconds);
    if (found != made.end()) return found->second;
    RestRecordShape shape;
    shape.seconds = seconds;
    return made[seconds] = WriteRestRecord(folder.path, "rest" + std::to_string(static_cast<int>(seconds)) + ".ecg",
                                           shape);
}

// A resting document with the record open and a view of the style on it.
struct Page {
    explicit Page(double seconds, int style, int mode)
    {
        doc.m_bAutoDelete = FALSE;
        doc.SetSmoothFilterMode(mode);
        doc.SetGridType(1);
        const RestRecordFiles files = RecordOf(seconds);
        ok = benchrecords::OpenRestRecord(doc, files);
        doc.AddView(&view);
        view.SetDocType(DOC_TYPE_REST);
        view.SetWaveStyle(style, TRUE);
        dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight));
    }
    ~Page() { doc.RemoveView(&view); }
    void Draw()
    {
        int gridX = 0, gridY = 0;
        view.GetGridCount(gridX, gridY);
        view.DrawBackGrid(&dc, CRect(0, 0, kWidth, kHeight), gridX, gridY, RGB(255, 255, 255), RGB(255, 0, 0));
        view.DrawView(&dc, CRect(0, 0, kWidth, kHeight), gridX, gridY, 0);
    }

    CRestViewDoc doc;
    CViewRhythmWave view;
    CDC dc;
    bool ok = false;
};

void BM_RhythmViewPage(benchmark::State& state)
{
    Page page(10.0, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (!page.ok) {
        state.SkipWithError("the record did not open");
        return;
    }
    page.view.OnUpdate(nullptr, 0, nullptr);
    for (auto _ : state) {
        page.view.UpdateDrawDC();
        page.Draw();
    }
}
BENCHMARK(BM_RhythmViewPage)
    ->ArgNames({"style", "mode"})
    ->Args({11, 0})
    ->Args({11, 1})
    ->Args({11, 2})
    ->Args({11, 3})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);

// A rhythm strip of three leads in an MFER file of `minutes`, open in the
// MFER document with a view in style 16 (six rows of one lead) on it.
struct Strip {
    explicit Strip(int minutes)
    {
        static const BenchFolder folder;
        const std::string path = folder.path + "/strip" + std::to_string(minutes) + ".mwf";
        std::string error;
        ok = WriteMferFile(path, MferKindRecord(MferKind::Plain, 3, minutes * 60.0, 500.0), MferOptions(), &error);
        doc.m_bAutoDelete = FALSE;
        auto* item = new _MFERDATAITEM;
        item->strFilePath = CString(path.c_str());
        doc.GetMFERDataManager()->AppendItem(item);
        file = CString(path.c_str());
        ok = ok && Reopen();
        doc.SetCurDataIndex(item->nID);
        doc.AddView(&view);
        view.SetDocType(DOC_TYPE_MFER);
        view.SetWaveStyle(16, TRUE);
        dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight));
    }
    ~Strip() { doc.RemoveView(&view); }
    // Opening the file again lets go of the leads the document kept for
    // the views, as opening another record does.
    bool Reopen()
    {
        CString mfer = file, xml, third;
        return doc.OpenMFERFile(mfer, xml, third) == 0;
    }

    CString file;
    CMFERViewDoc doc;
    CViewRhythmWave view;
    CDC dc;
    bool ok = false;
};

void BM_RhythmViewPaging(benchmark::State& state)
{
    Strip strip(static_cast<int>(state.range(0)));
    if (!strip.ok) {
        state.SkipWithError("the record did not open");
        return;
    }
    strip.view.OnUpdate(nullptr, 0, nullptr);
    int direction = 1;
    int gridX = 0, gridY = 0;
    strip.view.GetGridCount(gridX, gridY);
    for (auto _ : state) {
        const int result = strip.view.ChangePageSample(direction);
        if (result == 1 || result == 2) direction = -direction;
        strip.view.DrawBackGrid(&strip.dc, CRect(0, 0, kWidth, kHeight), gridX, gridY, RGB(255, 255, 255),
                                RGB(255, 0, 0));
        strip.view.DrawView(&strip.dc, CRect(0, 0, kWidth, kHeight), gridX, gridY, 0);
    }
}
BENCHMARK(BM_RhythmViewPaging)->ArgName("minutes")->Arg(5)->Arg(30)->Unit(benchmark::kMillisecond);

// The one load of every lead at OnUpdate: with kept:0 the first, the
// document reading and filtering every lead (the file opened again, untimed,
// before each); with kept:1 a pane shown again, the leads the document kept
// shared with the view.
void BM_RhythmViewLoad(benchmark::State& state)
{
    Strip strip(static_cast<int>(state.range(0)));
    const bool kept = state.range(1) != 0;
    if (!strip.ok) {
        state.SkipWithError("the record did not open");
        return;
    }
    strip.view.OnUpdate(nullptr, 0, nullptr);
    for (auto _ : state) {
        if (!kept) {
            state.PauseTiming();
            const bool reopened = strip.Reopen();
            state.ResumeTiming();
            if (!reopened) {
                state.SkipWithError("the record did not open again");
                break;
            }
        }
        strip.view.OnUpdate(nullptr, 0, nullptr);
    }
}
BENCHMARK(BM_RhythmViewLoad)
    ->ArgNames({"minutes", "kept"})
    ->Args({5, 0})
    ->Args({5, 1})
    ->Args({30, 0})
    ->Args({30, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
