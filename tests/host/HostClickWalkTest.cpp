// A click at a text of a pane goes to the window behind the text, as a
// person's does: the host's "pane" command refuses it only where nothing
// behind takes it, rather than draw the pane as if it had been pressed, and
// a comparison column's record caption drops the column's chooser. A text
// clicked while a field is being typed in leaves the focus in the field.
// The texts are found by walking the window tree of every pane the host
// shows, on a record of every kind it shows them for, made in the test's
// process from the host's own lists; the host itself is then run on each.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/TavrionDoc.h"
#include "host/PaneKinds.h"
#include "host/RecordOpening.h"
#include "host/SerialRecordSet.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "platform/ui/framework/FormView.h"
#include "tests/support/DocumentTestSupport.h"

using platform::ui::Desktop;

namespace {

const int kScreenWidth = 1920;
const int kScreenHeight = 1080;

struct TextOnPane {
    std::vector<std::string> records;
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

// Every text a person sees under `window`, in the order of the window tree.
void AllTexts(HWND window, std::vector<HWND>& texts)
{
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        if (IsText(child) && Shown(child)) texts.push_back(child);
        AllTexts(child, texts);
    }
}

// The first field under `window` a person can type in.
HWND FirstField(HWND window)
{
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        wchar_t name[16] = {};
        ::GetClassNameW(child, name, 16);
        if (std::wstring(name) == L"Edit" && Shown(child) && !(::GetWindowLong(child, GWL_STYLE) & ES_READONLY))
            return child;
        if (HWND found = FirstField(child)) return found;
    }
    return nullptr;
}

// The form holding `window`, else the pane.
HWND Holder(HWND window, HWND pane)
{
    for (HWND at = ::GetParent(window); at && at != pane; at = ::GetParent(at))
        if (CWnd* wnd = CWnd::FromHandlePermanent(at); wnd && wnd->IsKindOf(RUNTIME_CLASS(CFormView))) return at;
    return pane;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

// Types 1 into the field of each text's form (else of the pane), clicks the
// text where nothing lies over it, types 2: the field holds both, in turn.
int TypeAroundEveryText(CWnd& pane, const std::string& where, std::vector<std::string>& faults)
{
    int probed = 0;
    std::vector<HWND> texts;
    AllTexts(pane.m_hWnd, texts);
    for (HWND text : texts) {
        const HWND field = FirstField(Holder(text, pane.m_hWnd));
        RECT rect{};
        ::GetWindowRect(text, &rect);
        const POINT at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        const HWND hit = ::WindowFromPoint(at);
        if (!field || !hit || !(hit == ::GetParent(text) || ::IsChild(hit, text))) continue;
        ++probed;
        const std::wstring was = TextOf(field);
        ::SetFocus(field);
        ::SetWindowTextW(field, L"");
        Desktop::TypeText(L"1");
        Desktop::PumpMessages();
        Desktop::Click(at);
        Desktop::PumpMessages();
        Desktop::TypeText(L"2");
        Desktop::PumpMessages();
        if (TextOf(field) != L"12" || ::GetFocus() != field)
            faults.push_back(where + ": text " + std::to_string(::GetDlgCtrlID(text)) + " took the focus from field " +
                             std::to_string(::GetDlgCtrlID(field)));
        ::SetWindowTextW(field, was.c_str());
    }
    return probed;
}

class HostClickWalk : public testsupport::DocumentTest {};

}  // namespace

TEST_F(HostClickWalk, EveryPaneTakesAClickAtATextAsTheWindowBehindItDoesAndKeepsTheFocusOfTheFieldTypedIn)
{
    hosttest::MakeRecords({"samples", m_dir.File("samples")});
    hosttest::MakeRecords({"examinations", m_dir.File("examinations")});
    hosttest::MakeRecords({"series", m_dir.File("series")});
    const std::vector<std::string> records = {
        "samples/rest12_90.ecg",        "samples/rhythm_90.ecg",      "samples/rr_90.ecg",
        "examinations/extra6_90.ecg",   "examinations/freeze_90.ecg", "examinations/mstep243.ecg",
        "examinations/exercise_90.ecg",
        // Records whose lead count lays the resting pages out otherwise.
        "samples/rest15_90.ecg", "mfer1.mwf", "mfer15.mwf",
    };
    for (const char* leads : {"1", "15"})
        hosttest::MakeRecords({"mfer", "--kind", "plain", "--leads", leads, "--out",
                               m_dir.File(std::string("mfer") + leads + ".mwf"), "--xml-out",
                               m_dir.File(std::string("Raw_mfer") + leads + "20240401093000.xml")});
    std::vector<std::string> series;
    for (const char* name : {"serial01_0.ecg", "serial02_254.ecg", "serial03_255.ecg", "serial04_11.ecg"})
        series.push_back(m_dir.File(std::string("series/") + name));
    std::vector<host::PaneKind> kinds;
    for (auto list : {host::RestPaneKinds, host::RhythmPaneKinds, host::RhythmCommentPaneKinds, host::RRPaneKinds,
                      host::ExtraPaneKinds, host::ExercisePaneKinds, host::ExerciseResultPaneKinds,
                      host::MasterStepPaneKinds})
        for (host::PaneKind& kind : list()) kinds.push_back(std::move(kind));

    // A text of each strip of every pane, in the first page style that shows
    // one; every text of every style typed around.
    Desktop::Reset();
    formtest::ScopedScreen screen;
    std::vector<TextOnPane> texts;
    std::vector<std::string> focusFaults;
    int probed = 0;
    std::set<std::string> walked;
    std::set<std::string> clicked;
    // The pane made, shown in `style` in a window of the screen, walked; false when it does not show the record.
    auto walk = [&](const host::PaneKind& kind, int style, const std::function<CWnd*()>& make,
                    const std::vector<std::string>& files, bool firstTexts, bool typeAround) {
        std::unique_ptr<CWnd> pane(make());
        if (!pane) return false;
        const CRect rect(0, 0, kScreenWidth, kScreenHeight);
        CWnd window;
        EXPECT_TRUE(window.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, rect, nullptr, 0));
        EXPECT_TRUE(pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &window, 100));
        kind.show(pane.get(), style);
        Desktop::PumpMessages();
        std::set<HWND> strips;
        std::vector<int> ids;
        if (firstTexts) FirstTexts(*pane, pane->m_hWnd, strips, ids);
        if (typeAround) probed += TypeAroundEveryText(*pane, std::string(kind.name) + " " + std::to_string(style), focusFaults);
        pane->DestroyWindow();
        window.DestroyWindow();
        // A text a pane showed on another record already is clicked there.
        for (int id : ids)
            if (clicked.insert(std::string(kind.name) + " " + std::to_string(id)).second)
                texts.push_back({files, kind.name, style, id});
        return true;
    };
    const size_t kinded = 7;   // the records of a kind each; the rest are lead counts
    for (size_t r = 0; r < records.size(); ++r) {
        const std::string& record = records[r];
        std::unique_ptr<CTavrionDoc> doc;
        ASSERT_TRUE(host::OpenForViews(m_dir.File(record), doc)) << record;
        doc->m_bAutoDelete = FALSE;
        screen.Use(*doc, kScreenWidth, kScreenHeight);
        doc->SetCtrlContent(nullptr);
        doc->UpdateCtrlStatus();
        // The kinds of record seen first each pane's; the lead counts after them anew.
        const bool shape = r >= kinded;
        for (const host::PaneKind& kind : kinds) {
            if (walked.count(kind.name) && !shape) continue;
            std::vector<int> styles = host::StylesOn(kind, *doc);
            if (styles.empty()) styles.push_back(-1);
            const size_t before = texts.size();
            for (int style : styles) {
                const bool first = texts.size() == before;
                // The forms a lead count changes are typed around in the pane's first style.
                const bool typeAround = !shape || style == styles.front();
                if (!walk(kind, style, [&] { return kind.make(*doc, true); }, {m_dir.File(record)}, first, typeAround))
                    break;
                walked.insert(kind.name);
            }
        }
    }
    // The comparison pages, in every style: a record caption over each column.
    host::SerialRecordSet set;
    ASSERT_TRUE(set.OpenAll(series, host::OpenForViews, true));
    set.ForEachDocument([&](CTavrionDoc& doc) {
        screen.Use(doc, kScreenWidth, kScreenHeight);
        doc.SetCtrlContent(nullptr);
        doc.UpdateCtrlStatus();
    });
    for (const host::PaneKind& kind : host::SerialPaneKinds()) {
        const std::vector<int> styles = kind.styles.empty() ? std::vector<int>{-1} : kind.styles;
        for (int style : styles)
            EXPECT_TRUE(walk(kind, style, [&] { return kind.makeOnSet(set); }, series, true, true)) << kind.name;
    }
    // Every page with strips labels its controls.
    EXPECT_GE(texts.size(), 30u);
    EXPECT_GE(probed, 1000);   // the forms of the panes are labelled throughout
    for (const std::string& fault : focusFaults) ADD_FAILURE() << fault;

    std::vector<std::future<std::string>> runs;
    for (const TextOnPane& text : texts)
        runs.push_back(std::async(std::launch::async, [&, text] {
            const std::string png = m_dir.File(text.pane + "-" + std::to_string(text.style) + "-" +
                                               std::to_string(text.id) + ".png");
            std::vector<std::string> args = {"pane"};
            args.insert(args.end(), text.records.begin(), text.records.end());
            args.insert(args.end(), {"--pane", text.pane});
            if (text.style >= 0) args.insert(args.end(), {"--style", std::to_string(text.style)});
            args.insert(args.end(), {"--click", std::to_string(text.id), "--png", png});
            const hosttest::HostRun run = hosttest::Host(args);
            const std::string said =
                "control " + std::to_string(text.id) + " is a static text: a click there does nothing";
            // A record caption drops its column's chooser; every other text
            // has nothing behind it that answers.
            const bool caption = text.id == 3501;
            std::string fault;
            if (caption && (run.status != 0 || !std::filesystem::exists(png)))
                fault = "rc " + std::to_string(run.status) + ", " + run.err;
            else if (!caption && (run.status != 1 || run.err.find(said) == std::string::npos))
                fault = "rc " + std::to_string(run.status) + ", " + run.err;
            else if (!caption && std::filesystem::exists(png))
                fault = "a picture was written";
            return fault.empty() ? fault : text.pane + " " + std::to_string(text.style) + " --click " +
                                                std::to_string(text.id) + ": " + fault;
        }));
    for (auto& run : runs)
        if (const std::string fault = run.get(); !fault.empty()) ADD_FAILURE() << fault;
}
