// A click at a text of a pane's strips does nothing, so the host's "pane"
// command refuses it rather than draw the pane as if it had been pressed.
// The texts are found by walking the window tree of every pane the host
// shows, on a record of every kind it shows them for, made in the test's
// process from the host's own lists; the host itself is then run on each.
#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/TavrionDoc.h"
#include "host/PaneKinds.h"
#include "host/RecordOpening.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/DocumentTestSupport.h"

using platform::ui::Desktop;

namespace {

const int kScreenWidth = 1920;
const int kScreenHeight = 1080;

struct TextOnPane {
    std::string record;
    std::string pane;
    int style;   // -1: a pane of one page
    int id;
};

bool IsText(HWND window)
{
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    return std::wstring(name) == L"Static" && !(::GetWindowLong(window, GWL_STYLE) & SS_NOTIFY);
}

bool Shown(HWND window)
{
    RECT rect{};
    return ::IsWindowVisible(window) && ::IsWindowEnabled(window) && ::GetWindowRect(window, &rect) &&
           rect.right > rect.left && rect.bottom > rect.top;
}

// The first text of each strip under `window` that a person sees and that
// its id names (the host finds a control by its id from the pane down).
void FirstTexts(CWnd& pane, HWND window, std::set<HWND>& strips, std::vector<int>& ids)
{
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        if (IsText(child) && Shown(child) && Shown(window) && !strips.count(window) && id > 0 && id < 0xFFFF &&
            pane.GetDescendantWindow(id) && pane.GetDescendantWindow(id)->m_hWnd == child) {
            strips.insert(window);
            ids.push_back(id);
        }
        FirstTexts(pane, child, strips, ids);
    }
}

class HostClickWalk : public testsupport::DocumentTest {};

}  // namespace

TEST_F(HostClickWalk, EveryPaneRefusesAClickAtATextOfItsStripsSayingSoAndWritingNothing)
{
    hosttest::MakeRecords({"samples", m_dir.File("samples")});
    hosttest::MakeRecords({"examinations", m_dir.File("examinations")});
    const std::vector<std::string> records = {
        "samples/rest12_90.ecg",        "samples/rhythm_90.ecg",      "samples/rr_90.ecg",
        "examinations/extra6_90.ecg",   "examinations/freeze_90.ecg", "examinations/mstep243.ecg",
        "examinations/exercise_90.ecg",
    };
    std::vector<host::PaneKind> kinds;
    for (auto list : {host::RestPaneKinds, host::RhythmPaneKinds, host::RhythmCommentPaneKinds, host::RRPaneKinds,
                      host::ExtraPaneKinds, host::ExercisePaneKinds, host::ExerciseResultPaneKinds,
                      host::MasterStepPaneKinds})
        for (host::PaneKind& kind : list()) kinds.push_back(std::move(kind));

    // A text of each strip of every pane, in the first page style that shows one.
    Desktop::Reset();
    formtest::ScopedScreen screen;
    std::vector<TextOnPane> texts;
    std::set<std::string> walked;
    for (const std::string& record : records) {
        std::unique_ptr<CTavrionDoc> doc;
        ASSERT_TRUE(host::OpenForViews(m_dir.File(record), doc)) << record;
        doc->m_bAutoDelete = FALSE;
        screen.Use(*doc, kScreenWidth, kScreenHeight);
        doc->SetCtrlContent(nullptr);
        doc->UpdateCtrlStatus();
        for (const host::PaneKind& kind : kinds) {
            if (walked.count(kind.name)) continue;
            std::vector<int> styles = host::StylesOn(kind, *doc);
            if (styles.empty()) styles.push_back(-1);
            for (int style : styles) {
                std::unique_ptr<CWnd> pane(kind.make(*doc, true));
                if (!pane) break;
                walked.insert(kind.name);
                const CRect rect(0, 0, kScreenWidth, kScreenHeight);
                CWnd window;
                ASSERT_TRUE(window.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, rect, nullptr, 0));
                ASSERT_TRUE(pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &window, 100));
                kind.show(pane.get(), style);
                Desktop::PumpMessages();
                std::set<HWND> strips;
                std::vector<int> ids;
                FirstTexts(*pane, pane->m_hWnd, strips, ids);
                pane->DestroyWindow();
                window.DestroyWindow();
                for (int id : ids) texts.push_back({record, kind.name, style, id});
                if (!ids.empty()) break;
            }
        }
    }
    // Every page with strips labels its controls.
    EXPECT_GE(texts.size(), 30u);

    std::vector<std::future<std::string>> runs;
    for (const TextOnPane& text : texts)
        runs.push_back(std::async(std::launch::async, [&, text] {
            const std::string png = m_dir.File(text.pane + "-" + std::to_string(text.id) + ".png");
            std::vector<std::string> args = {"pane", m_dir.File(text.record), "--pane", text.pane};
            if (text.style >= 0) args.insert(args.end(), {"--style", std::to_string(text.style)});
            args.insert(args.end(), {"--click", std::to_string(text.id), "--png", png});
            const hosttest::HostRun run = hosttest::Host(args);
            const std::string said =
                "control " + std::to_string(text.id) + " is a static text: a click there does nothing";
            std::string fault;
            if (run.status != 1 || run.err.find(said) == std::string::npos)
                fault = "rc " + std::to_string(run.status) + ", " + run.err;
            else if (std::filesystem::exists(png))
                fault = "a picture was written";
            return fault.empty() ? fault : text.record + " " + text.pane + " --click " + std::to_string(text.id) +
                                                ": " + fault;
        }));
    for (auto& run : runs)
        if (const std::string fault = run.get(); !fault.empty()) ADD_FAILURE() << fault;
}
