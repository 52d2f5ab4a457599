// The detailed measurement form at 1920 x 1080 with its 276 live cells: one
// load of the current record into the cells and one whole paint of the form
// and its cells (target: under 20 ms, text-heavy); then the table printed
// from the record XML onto a page-sized image through the print device
// (target: under 100 ms).
// Run: <build>/bin/morvelance_bench --benchmark_filter=DetailedMeas
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "analysisviews/ViewDetailedMeas.h"
#include "bench/BenchRecords.h"
#include "bench/BenchViews.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/FrameWnd.h"
#include "printdevice/ECGDC.h"
#include "tools/RestRecord.h"

using namespace morvelance;

namespace {

const int kWidth = 1920;
const int kHeight = 1080;

// A resting record open in its document and the form in a frame over it.
struct Form {
    Form() : folder("/tmp/morvelance-meas-bench-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(folder);
        const RestRecordFiles files = WriteRestRecord(folder, "rest.ecg", RestRecordShape());
        doc.m_bAutoDelete = FALSE;
        doc.InitGlobalData();
        ok = benchrecords::OpenRestRecord(doc, files);
        ok = ok && window.CreateEx(0, nullptr, L"bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0);
        frame = new CFrameWnd;
        view = ok ? benchviews::CreateViewInFrame<CViewDetailedMeas>(*frame, window, doc, kWidth, kHeight) : nullptr;
        ok = ok && view;
        if (!ok) return;
        view->SendMessage(WM_INITIALUPDATE, 0, 0);
    }
    ~Form()
    {
        if (frame && frame->m_hWnd) frame->DestroyWindow();
        window.DestroyWindow();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string folder;
    CRestViewDoc doc;
    CWnd window;
    CFrameWnd* frame = nullptr;
    CViewDetailedMeas* view = nullptr;
    bool ok = false;
};

void BM_DetailedMeasLoadAndPaint(benchmark::State& state)
{
    Form form;
    if (!form.ok) {
        state.SkipWithError("the form could not be shown");
        return;
    }
    for (auto _ : state) {
        form.view->OnUpdate(nullptr, 0, nullptr);
        form.view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}
BENCHMARK(BM_DetailedMeasLoadAndPaint)->Unit(benchmark::kMillisecond);

void BM_DetailedMeasPrint(benchmark::State& state)
{
    Form form;
    if (!form.ok) {
        state.SkipWithError("the form could not be shown");
        return;
    }
    // A4 landscape at 300 dpi.
    CDC page;
    page.Attach(platform::gdi::CreateImageDC(3508, 2480));
    CECGDC dc(&page, 2);
    for (auto _ : state) {
        page.FillSolidRect(0, 0, 3508, 2480, RGB(255, 255, 255));
        benchmark::DoNotOptimize(form.view->Print(&dc, CRect(118, 118, 3390, 2362)));
    }
}
BENCHMARK(BM_DetailedMeasPrint)->Unit(benchmark::kMillisecond);

}  // namespace
