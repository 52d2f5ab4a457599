// The resting wave page on an X display (an Xvfb of the benchmark's own):
// from the map of its 1920 x 1080 window to its first complete paint on
// the screen, every child painted afresh (target 50 ms); a pointer moved
// over the page through XTEST until the page has had the move;
// and the same move under the host's show until the magnifier's new picture
// is on the screen (target 16 ms, one frame).
// Run: <build>/bin/morvelance_bench --benchmark_filter=Display
#include "bench/BenchPaths.h"
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cwchar>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchRecords.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "documents/RestViewDoc.h"
#include "panes/WndRestRhythmWave.h"
#include "platform/base/CodePage.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "tests/support/XvfbServer.h"
#include "tools/RestRecord.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

using platform::ui::Desktop;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct DisplayPage {
    DisplayPage() : folder("/tmp/morvelance-display-bench-" + std::to_string(getpid()))
    {
        std::string why;
        if (!server.Start(kWidth, kHeight, why)) {
            error = "no X server: " + why;
            return;
        }
        if (!Desktop::AttachDisplay(server.Display().c_str(), &why)) {
            error = why;
            return;
        }
        connection = xcb_connect(server.Display().c_str(), nullptr);
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        std::filesystem::create_directories(folder);
        if (!g_pWorkDir) {
            const std::wstring dir = platform::FromUtf8(MORVELANCE_WORKDIR);
            g_pWorkDir = new wchar_t[dir.size() + 1];
            std::wmemcpy(g_pWorkDir, dir.c_str(), dir.size() + 1);
        }
        doc.m_bAutoDelete = FALSE;
        const morvelance::RestRecordFiles files =
            morvelance::WriteRestRecord(folder, "rest.ecg", morvelance::RestRecordShape());
        if (!benchrecords::OpenRestRecord(doc, files)) {
            error = "the record did not open";
            return;
        }
        g_dXUnit = kWidth / 1024.0;
        g_dYUnit = kHeight / 768.0;
        doc.GetCtrlPosFromXSL(LOAD_POS_REST);
        doc.InitGlobalData();
        doc.SetCtrlContent(nullptr);
        doc.UpdateCtrlStatus();
        pane->SetRestViewDoc(&doc);
        pane->SetShowPatientInfo(TRUE);
        const CRect rect(0, 0, kWidth, kHeight);
        if (!host.CreateEx(0, nullptr, L"bench", WS_POPUP, rect, nullptr, 0) ||
            !pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &host, 100)) {
            error = "the page could not be made";
            return;
        }
        pane->ShowRestPageStyle(1);
        pane->OnUpdate();
        Desktop::PumpMessages();
        ok = true;
    }
    ~DisplayPage()
    {
        if (pane->GetSafeHwnd()) pane->DestroyWindow();
        if (host.GetSafeHwnd()) host.DestroyWindow();
        Desktop::DetachDisplay();
        if (connection) xcb_disconnect(connection);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    // One turn of the display: what is due is dispatched, painted and copied.
    static void Turn()
    {
        int turns = 0;
        Desktop::RunDisplay([&turns] { return ++turns > 1; });
    }
    // A round trip to the server: what was sent before it has been done.
    void RoundTrip() { std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr)); }

    displaytest::XvfbServer server;
    std::string folder;
    std::string error;
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
    CRestViewDoc doc;
    CWnd host;
    std::unique_ptr<CWndRestRhythmWave> pane = std::make_unique<CWndRestRhythmWave>();
    bool ok = false;
};

void BM_DisplayMapToFirstPaint(benchmark::State& state)
{
    DisplayPage page;
    if (!page.ok) {
        state.SkipWithError(page.error.c_str());
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        page.host.ShowWindow(SW_HIDE);
        DisplayPage::Turn();
        page.RoundTrip();
        page.pane->GetRhythmView()->UpdateDrawDC();
        page.pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        state.ResumeTiming();
        page.host.ShowWindow(SW_SHOWNOACTIVATE);
        DisplayPage::Turn();
        page.RoundTrip();
    }
}
BENCHMARK(BM_DisplayMapToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_DisplayPointerMoveToMessage(benchmark::State& state)
{
    DisplayPage page;
    if (!page.ok) {
        state.SkipWithError(page.error.c_str());
        return;
    }
    page.host.ShowWindow(SW_SHOWNOACTIVATE);
    DisplayPage::Turn();
    page.RoundTrip();
    int step = 0;
    for (auto _ : state) {
        // Back and forth along the one-lead strip at the foot of the page.
        const int x = 600 + (step++ % 2) * 400;
        const int y = 960;
        xcb_test_fake_input(page.connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, page.root, static_cast<int16_t>(x),
                            static_cast<int16_t>(y), 0);
        xcb_flush(page.connection);
        Desktop::RunDisplay([x] {
            POINT cursor = {};
            GetCursorPos(&cursor);
            return cursor.x == x;
        });
    }
}
BENCHMARK(BM_DisplayPointerMoveToMessage)->Unit(benchmark::kMillisecond);

// The host's show with its magnifier on the benchmark's server, the pointer
// moved over the leads a few pixels at a time, the screen looked at until it
// shows the magnifier's new picture.
void BM_DisplayPointerMoveToMagnifierPicture(benchmark::State& state)
{
    displaytest::XvfbServer server;
    std::string why;
    if (!server.Start(kWidth, kHeight, why)) {
        state.SkipWithError(why.c_str());
        return;
    }
    const std::string folder = "/tmp/morvelance-display-magnifier-bench-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    const morvelance::RestRecordFiles files =
        morvelance::WriteRestRecord(folder, "rest.ecg", morvelance::RestRecordShape());
    const std::string host = std::filesystem::path(MORVELANCE_MFER_READ_ONCE).parent_path() / "morvelance-host";
    displaytest::Process show;
    const bool started = show.Start({host, "show", files.record, "--pane", "CWndRestRhythmWave", "--style", "1",
                                     "--magnifier"},
                                    server.Display(), "/dev/null", "/dev/null");
    auto picture = [&] { return server.Grab(kWidth - 400, 0, 400, 200); };
    if (!started || !displaytest::WaitFor([&] { return server.MappedWindows().size() == 2; })) {
        state.SkipWithError("show did not put the page and its magnifier on the screen");
        return;
    }
    xcb_connection_t* connection = xcb_connect(server.Display().c_str(), nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    std::vector<uint32_t> shown = picture();
    int step = 0;
    bool lost = false;
    for (auto _ : state) {
        const int x = 300 + (step++ % 2) * 7;
        xcb_test_fake_input(connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, static_cast<int16_t>(x), 450, 0);
        xcb_flush(connection);
        // Looked at without a pause: the look itself is the only delay added.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        std::vector<uint32_t> now = picture();
        while (now == shown && std::chrono::steady_clock::now() < until) now = picture();
        if (now == shown) {
            lost = true;
            break;
        }
        shown.swap(now);
    }
    if (lost) state.SkipWithError("the magnifier's picture did not change");
    xcb_disconnect(connection);
    show.Kill();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(BM_DisplayPointerMoveToMagnifierPicture)->Unit(benchmark::kMillisecond);

}  // namespace
