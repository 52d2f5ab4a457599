// Every button, combo box and page switch of every pane under the host's
// "show", on an X server of the test's own: after each, the screen is the
// pane command's picture of the same state (`pane ... --click`), pixel for
// pixel, with nothing left of the state before.
//
// The panes are those the pane command draws of a record of each kind
// (`pane --pane all`), each in the page styles that show its controls, and,
// of records without their record XML, those it draws leaving out views the
// record has nothing for. Their controls are found where the host lays
// them out: the pane is made in the test's process as the host makes it, and
// the walk is planned there first, control by control as a person meets
// them (an entry of a combo box not picked yet, else a button not pressed
// yet, each once), since what one does enables, disables or refills the
// others. A control that sets a clock going (playback, a swinging picture)
// is left out: its picture moves on with the real clock, which the pane
// command's does not follow. One show runs per page, worked through XTEST.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <future>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgCtrl.h"
#include "host/PaneKinds.h"
#include "host/RecordOpening.h"
#include "host/SerialRecordSet.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/host/HostRun.h"
#include "tests/host/display/HostShowFixture.h"
#include "tests/support/PngImage.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XvfbTest.h"

using platform::ui::Desktop;

namespace {

// A small screen: the walk compares it whole many times over.
const int kWidth = 1024;
const int kHeight = 768;
const char* const kSize = "1024x768";
const int kNoStyle = -1;
// The most a walk does on one pane.
const size_t kMostSteps = 24;
// How long a repaint may take to reach the screen: well past any repaint
// (a tenth of a second), short enough that a walk gone wrong ends.
const double kRepaint = 20;

const std::vector<host::PaneKind>& PaneKinds()
{
    static const std::vector<host::PaneKind> kinds = [] {
        std::vector<host::PaneKind> all;
        for (auto list : {host::RestPaneKinds, host::RhythmPaneKinds, host::RhythmCommentPaneKinds,
                          host::RRPaneKinds, host::SerialPaneKinds, host::ExtraPaneKinds, host::ExercisePaneKinds,
                          host::ExerciseResultPaneKinds, host::MasterStepPaneKinds})
            for (host::PaneKind& kind : list()) all.push_back(std::move(kind));
        return all;
    }();
    return kinds;
}

const host::PaneKind* FindKind(const std::string& name)
{
    for (const host::PaneKind& kind : PaneKinds())
        if (name == kind.name) return &kind;
    return nullptr;
}

std::string ClassOf(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return testsupport::Utf8(name);
}

// A page of the host: a pane on its records in a page style.
struct Page {
    std::vector<std::string> files;
    const host::PaneKind* kind = nullptr;
    int style = kNoStyle;

    // What follows the command word of pane and show for it.
    std::vector<std::string> Args() const
    {
        std::vector<std::string> args = files;
        args.insert(args.end(), {"--pane", kind->name});
        if (style != kNoStyle) args.insert(args.end(), {"--style", std::to_string(style)});
        return args;
    }
};

// One thing a person does on the pane.
struct Step {
    std::string click;     // as the pane command's --click takes it: "4102", "4104:1"
    CPoint at;             // where the control is pressed
    bool pick = false;     // a combo box: then an entry of its list is clicked
    CPoint entry;
    std::string closeKey;  // a window it opens (a dialog, a message box) is closed with this key
    CRect focus;           // the window with the focus after it, on the screen
    // The windows the pane command's picture shows with the focus moved
    // (see FocusMovedByRepaint): not compared after this step.
    std::vector<CRect> focusMoved;
};

// The pane made in the test's process as the host makes it (the document,
// the window of the screen's size, the page style, an update), on its
// records opened afresh: what a pane keeps of its page lives in the
// document, and each plan starts where the host starts.
class MadePane {
public:
    ~MadePane()
    {
        if (m_pane && m_pane->GetSafeHwnd()) m_pane->DestroyWindow();
        if (m_window.GetSafeHwnd()) m_window.DestroyWindow();
    }
    bool Make(const Page& page)
    {
        auto ready = [](CTavrionDoc& doc) {
            g_dXUnit = kWidth / 1024.0;
            g_dYUnit = kHeight / 768.0;
            doc.InitGlobalData();
            doc.SetCtrlContent(nullptr);
            doc.UpdateCtrlStatus();
        };
        if (page.kind->makeOnSet) {
            m_set = std::make_unique<host::SerialRecordSet>();
            if (!m_set->OpenAll(page.files, host::OpenForViews, false)) return false;
            m_set->ForEachDocument(ready);
            m_pane.reset(page.kind->makeOnSet(*m_set));
        } else {
            if (!host::OpenForViews(page.files.front(), m_doc) || !m_doc) return false;
            m_doc->m_bAutoDelete = FALSE;
            ready(*m_doc);
            m_pane.reset(page.kind->make(*m_doc, true));
        }
        const CRect rect(0, 0, kWidth, kHeight);
        if (!m_pane || !m_window.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, rect, nullptr, 0) ||
            !m_pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &m_window, 100))
            return false;
        page.kind->show(m_pane.get(), page.style);
        Desktop::PumpMessages();
        return true;
    }
    HWND Pane() const { return m_pane->m_hWnd; }
    CWnd* Window() const { return m_pane.get(); }

private:
    std::unique_ptr<CTavrionDoc> m_doc;
    std::unique_ptr<host::SerialRecordSet> m_set;
    CWnd m_window;
    std::unique_ptr<CWnd> m_pane;
};

// The controls of the pane's strips a person can press now, in window
// order: the buttons (not the group frames) and the combo boxes shown and
// enabled, as the pane command presses them.
std::vector<HWND> Controls(HWND window)
{
    std::vector<HWND> found;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::string name = ClassOf(child);
        const HWND strip = ::GetParent(child);
        CRect place, stripPlace;
        ::GetWindowRect(child, &place);
        ::GetWindowRect(strip, &stripPlace);
        const bool frame = name == "Button" && (::GetWindowLong(child, GWL_STYLE) & 0xF) == BS_GROUPBOX;
        if ((name == "ComboBox" || (name == "Button" && !frame)) &&
            DYNAMIC_DOWNCAST(CDlgCtrl, CWnd::FromHandlePermanent(strip)) && ::IsWindowVisible(child) &&
            ::IsWindowEnabled(child) && !place.IsRectEmpty() && !stripPlace.IsRectEmpty())
            found.push_back(child);
        std::vector<HWND> below = Controls(child);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

CPoint Middle(HWND window)
{
    CRect place;
    ::GetWindowRect(window, &place);
    return place.CenterPoint();
}

// The next thing to do: an entry of a combo box not picked yet (each entry
// by its text, which the pane may change with its page; the one shown counts
// as picked), else a button not pressed yet. False when all is done.
bool NextStep(HWND pane, std::set<std::string>& done, const std::set<int>& leftOut, Step& step)
{
    const std::vector<HWND> controls = Controls(pane);
    for (HWND control : controls) {
        const int id = ::GetDlgCtrlID(control);
        if (ClassOf(control) != "ComboBox" || leftOut.count(id)) continue;
        const int count = static_cast<int>(::SendMessage(control, CB_GETCOUNT, 0, 0));
        const int shown = static_cast<int>(::SendMessage(control, CB_GETCURSEL, 0, 0));
        for (int item = 0; item < count; ++item) {
            CString text;
            CWnd::FromHandle(control)->SendMessage(CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.GetBuffer(256)));
            text.ReleaseBuffer();
            const std::string key = std::to_string(id) + ":" + testsupport::Utf8(text);
            if (!done.insert(key).second || item == shown) continue;
            step = Step();
            step.click = std::to_string(id) + ":" + std::to_string(item);
            step.at = Middle(control);
            step.pick = true;
            return true;
        }
    }
    for (HWND control : controls) {
        const int id = ::GetDlgCtrlID(control);
        if (ClassOf(control) != "Button" || leftOut.count(id) || !done.insert(std::to_string(id)).second) continue;
        step = Step();
        step.click = std::to_string(id);
        step.at = Middle(control);
        return true;
    }
    return false;
}

// Does the step in the test's process as the walk will on the screen,
// noting what it opens and where the entry it picks stands; `timed` when it
// set a clock going. False when the entry is not shown in the list.
bool Perform(Step& step, bool& timed)
{
    uint64_t due = 0;
    const bool timedBefore = platform::ui::detail::EarliestTimerDue(due);
    bool dialog = false;
    platform::ui::ModalDriverScope driver([&](CWnd&) { dialog = true; });
    platform::ui::MessageBoxRecorder boxes;
    Desktop::Click(step.at);
    Desktop::PumpMessages();
    if (step.pick) {
        const int item = std::stoi(step.click.substr(step.click.find(':') + 1));
        const HWND list = ::GetCapture();
        CRect place, shown;
        if (!list || ::SendMessage(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&place)) == LB_ERR ||
            !::GetClientRect(list, &shown) || place.top < shown.top || place.bottom > shown.bottom) {
            Desktop::KeyPress(VK_ESCAPE);
            Desktop::PumpMessages();
            return false;
        }
        step.entry = place.CenterPoint();
        ::ClientToScreen(list, &step.entry);
        Desktop::Click(step.entry);
        Desktop::PumpMessages();
    }
    // A dialog takes Escape as its cancel, as the pane command's ends; a
    // message box Return, its default button, as the pane command's answers.
    step.closeKey = dialog ? "Escape" : boxes.Count() > 0 ? "Return" : "";
    timed = !timedBefore && platform::ui::detail::EarliestTimerDue(due);
    return true;
}

// Where the focus is, on the screen; empty when no window has it.
CRect FocusPlace()
{
    CRect place;
    if (!::GetFocus() || !::GetWindowRect(::GetFocus(), &place)) place.SetRectEmpty();
    return place;
}

// The pane command paints every window of the page before it writes its
// picture, and a window may take the focus when it paints: the measurement
// table gives it to its cell each time. On the screen only what changed is
// painted, and the focus stays where the step left it. Where the two differ
// after step `s`, the window that has it on each is left out of the
// comparison (the focus it shows, and the pointer resting on the button it
// left); elsewhere nothing is.
void FocusMovedByRepaint(const Page& page, std::vector<Step>& steps, size_t s)
{
    MadePane made;
    if (!made.Make(page)) return;
    for (size_t done = 0; done <= s; ++done) {
        Step again = steps[done];
        bool timed = false;
        if (!Perform(again, timed)) return;
    }
    ::RedrawWindow(made.Pane(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Desktop::PumpMessages();
    const CRect painted = FocusPlace();
    if (painted != steps[s].focus) steps[s].focusMoved = {steps[s].focus, painted};
}

// Whether a window of the page takes the focus when it paints: the focus is
// put on a control of its strips, and every window painted.
bool PaintingMovesFocus(const Page& page)
{
    MadePane made;
    if (!made.Make(page)) return false;
    const std::vector<HWND> controls = Controls(made.Pane());
    if (controls.empty()) return false;
    ::SetFocus(controls.front());
    Desktop::PumpMessages();
    ::RedrawWindow(made.Pane(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Desktop::PumpMessages();
    return ::GetFocus() != controls.front();
}

// The walk of the page planned in the test's process: the steps in turn
// until all is done; false when one set a clock going (it is then left out).
bool TryWalk(const Page& page, std::set<int>& leftOut, std::vector<std::string>& leftOutSaid, std::vector<Step>& steps)
{
    MadePane made;
    if (!made.Make(page)) {
        ADD_FAILURE() << page.kind->name << " is not made on " << page.files.front();
        return true;
    }
    std::set<std::string> done;
    Step step;
    while (steps.size() < kMostSteps && NextStep(made.Pane(), done, leftOut, step)) {
        bool timed = false;
        if (!Perform(step, timed)) continue;
        if (timed) {
            leftOut.insert(std::stoi(step.click));
            leftOutSaid.push_back(std::string(page.kind->name) + " " + step.click);
            return false;
        }
        step.focus = FocusPlace();
        steps.push_back(step);
    }
    return true;
}

std::vector<Step> PlanWalk(const Page& page, std::vector<std::string>& leftOutSaid)
{
    std::set<int> leftOut;
    std::vector<Step> steps;
    // Planned again from the start without a control that set a clock going.
    while (!TryWalk(page, leftOut, leftOutSaid, steps)) steps.clear();
    if (!steps.empty() && PaintingMovesFocus(page))
        for (size_t s = 0; s < steps.size(); ++s) FocusMovedByRepaint(page, steps, s);
    return steps;
}

// A page and the walk over it, with the pane command's pictures of each
// state: before the first step, and after each.
struct Walk {
    Page page;
    std::vector<Step> steps;
    std::vector<std::string> pictures;
    // The pane, its style and its record with the folder it is in.
    std::string Name() const
    {
        const std::string& record = page.files.front();
        return std::string(page.kind->name) + (page.style == kNoStyle ? "" : " " + std::to_string(page.style)) +
               " on " + record.substr(record.rfind('/', record.rfind('/') - 1) + 1);
    }
};

// A picture's pixels, 0xRRGGBB row by row, as the server's screen gives them.
std::vector<uint32_t> PixelsOf(const std::string& png)
{
    const testsupport::PngImage image(png);
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(kWidth) * kHeight);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) pixels.push_back(image.Pixel(x, y));
    return pixels;
}

// The screen's pixels that differ from the picture outside `left`, and the box around them.
int Differences(displaytest::XvfbServer& server, const std::vector<uint32_t>& picture, const std::vector<CRect>& left,
                CRect& box)
{
    const std::vector<uint32_t> screen = server.Grab(0, 0, kWidth, kHeight);
    if (screen.size() != picture.size()) return -1;
    int differ = 0;
    box.SetRectEmpty();
    for (size_t i = 0; i < screen.size(); ++i) {
        if (screen[i] == picture[i]) continue;
        const int x = static_cast<int>(i % kWidth), y = static_cast<int>(i / kWidth);
        if (std::none_of(left.begin(), left.end(), [&](const CRect& r) { return r.PtInRect(CPoint(x, y)); })) {
            box = differ++ ? CRect(std::min<int>(box.left, x), std::min<int>(box.top, y),
                                   std::max<int>(box.right, x + 1), std::max<int>(box.bottom, y + 1))
                           : CRect(x, y, x + 1, y + 1);
        }
    }
    return differ;
}

// Runs the host with each job's arguments, several at once; each run's
// outcome in the job's order.
std::vector<hosttest::HostRun> RunHost(const std::vector<std::vector<std::string>>& jobs)
{
    const size_t workers = std::max(2u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<hosttest::HostRun> runs(jobs.size());
    std::vector<std::future<void>> running;
    for (size_t next = 0; next < jobs.size() || !running.empty();) {
        while (next < jobs.size() && running.size() < workers) {
            const size_t job = next++;
            running.push_back(std::async(std::launch::async, [&, job] { runs[job] = hosttest::Host(jobs[job]); }));
        }
        running.front().get();
        running.erase(running.begin());
    }
    return runs;
}

class HostShowRepaintWalk : public showtest::HostShowFixture {
protected:
    // The pages the pane command draws of a record (`pane --pane all`): each
    // pane in the fewest page styles that show all its controls (its first
    // style when none does); a comparing pane compares `series`, the record
    // first. With `leavingOut`, only the panes it notes it draws without a
    // view the record has nothing for.
    std::vector<Page> PagesOf(const std::vector<std::string>& series, const hosttest::HostRun& run,
                              const std::string& out, bool leavingOut)
    {
        EXPECT_EQ(0, run.status) << run.err;
        std::vector<std::pair<const host::PaneKind*, std::vector<int>>> drawn;
        for (const std::string& file : testsupport::FolderEntries(out)) {
            const std::string stem = file.substr(0, file.rfind('.'));
            const size_t dash = stem.find('-');
            const host::PaneKind* kind = FindKind(stem.substr(0, dash));
            if (!kind) continue;
            m_drawn.insert(kind->name);
            if (leavingOut && run.err.find("note: " + std::string(kind->name) + " is shown without") == std::string::npos)
                continue;
            auto same = std::find_if(drawn.begin(), drawn.end(), [&](const auto& d) { return d.first == kind; });
            if (same == drawn.end()) same = drawn.insert(drawn.end(), {kind, {}});
            same->second.push_back(dash == std::string::npos ? kNoStyle : std::stoi(stem.substr(dash + 1)));
        }
        std::vector<Page> pages;
        for (const auto& [kind, styles] : drawn) {
            const Page first{kind->makeOnSet ? series : std::vector<std::string>{series.front()}, kind, styles.front()};
            if (styles.size() == 1) {
                pages.push_back(first);
                continue;
            }
            // The controls of each style, the pane turned from style to
            // style as the host turns its page; then the styles that show
            // most of those not yet walked, until none is left.
            std::vector<std::set<int>> shown;
            MadePane made;
            if (!made.Make(first)) continue;
            for (int style : styles) {
                kind->show(made.Window(), style);
                shown.emplace_back();
                for (HWND control : Controls(made.Pane())) shown.back().insert(::GetDlgCtrlID(control));
            }
            std::set<int> walked;
            for (;;) {
                size_t best = 0, most = 0;
                for (size_t i = 0; i < styles.size(); ++i) {
                    size_t fresh = 0;
                    for (int id : shown[i]) fresh += walked.count(id) ? 0 : 1;
                    if (fresh > most) most = fresh, best = i;
                }
                if (most == 0 && !walked.empty()) break;
                Page page = first;
                page.style = styles[best];
                pages.push_back(page);
                walked.insert(shown[best].begin(), shown[best].end());
                if (most == 0) break;
            }
        }
        return pages;
    }
    // Writes the pane command's pictures of every walk, several at once.
    void DrawPictures(std::vector<Walk>& walks)
    {
        std::vector<std::vector<std::string>> jobs;
        for (size_t w = 0; w < walks.size(); ++w) {
            Walk& walk = walks[w];
            std::string clicks;
            for (size_t s = 0; s <= walk.steps.size(); ++s) {
                if (s) clicks += (s > 1 ? "," : "") + walk.steps[s - 1].click;
                walk.pictures.push_back(m_dir.File("walk" + std::to_string(w) + "-" + std::to_string(s) + ".png"));
                std::vector<std::string> job = {"pane"};
                const std::vector<std::string> page = walk.page.Args();
                job.insert(job.end(), page.begin(), page.end());
                if (s) job.insert(job.end(), {"--click", clicks});
                job.insert(job.end(), {"--size", kSize, "--png", walk.pictures.back()});
                jobs.push_back(job);
            }
        }
        const std::vector<hosttest::HostRun> runs = RunHost(jobs);
        for (size_t j = 0; j < jobs.size(); ++j)
            if (runs[j].status != 0) ADD_FAILURE() << "the pane command drew no picture of " << jobs[j].back() << ": " << runs[j].err;
    }
    // Works the walk on the screen; what went wrong, empty when nothing.
    std::string WorkOnScreen(displaytest::XvfbServer& server, const Walk& walk)
    {
        // The pointer where the pane command's desktop has it before its clicks.
        if (!server.Input({"mousemove", "0", "0"}) || !StartShow(server, walk.page.Args())) return "show did not start";
        std::string wrong;
        auto windows = [&](size_t count) {
            return WaitWhileShowing([&] { return server.MappedWindows().size() == count; });
        };
        auto shows = [&](size_t state) {
            const std::vector<uint32_t> picture = PixelsOf(walk.pictures[state]);
            CRect box;
            int differ = -1;
            const std::vector<CRect> left = state ? walk.steps[state - 1].focusMoved : std::vector<CRect>();
            if (displaytest::WaitFor([&] { return (differ = Differences(server, picture, left, box)) == 0; },
                                     kRepaint))
                return true;
            wrong = (state ? "after " + walk.steps[state - 1].click : std::string("at the start")) + ": " +
                    std::to_string(differ) + " pixels differ, from " + std::to_string(box.left) + "," +
                    std::to_string(box.top) + " to " + std::to_string(box.right) + "," + std::to_string(box.bottom);
            return false;
        };
        if (!windows(1)) return "no window shown: " + ShowErrors();
        if (!shows(0)) return wrong;
        for (size_t s = 0; s < walk.steps.size(); ++s) {
            const Step& step = walk.steps[s];
            const std::vector<std::string> press = {"mousemove", std::to_string(step.at.x), std::to_string(step.at.y),
                                                    "click", "1"};
            if (!server.Input(press)) return "no input";
            if (step.pick) {
                if (!windows(2)) return step.click + ": no list dropped";
                if (!server.Input({"mousemove", std::to_string(step.entry.x), std::to_string(step.entry.y), "click",
                                   "1"}) ||
                    !windows(1))
                    return step.click + ": the list stayed";
            }
            if (!step.closeKey.empty()) {
                if (!windows(2)) return step.click + ": nothing opened";
                if (!server.Input({"key", step.closeKey}) || !windows(1)) return step.click + ": it did not close";
            }
            if (!shows(s + 1)) return wrong;
        }
        server.AskToClose(server.MappedWindows().front());
        if (m_show.Wait(displaytest::kPatience) != 0) return "show did not end with 0: " + ShowErrors();
        return std::string();
    }

    std::set<std::string> m_drawn;   // the panes the pane command drew of the records
};

}  // namespace

TEST_F(HostShowRepaintWalk, EveryControlOfEveryPaneLeavesTheScreenAsThePaneCommandDrawsTheSameState)
{
    displaytest::XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    hosttest::MakeRecords({"examinations", m_dir.File("examinations")});
    // Records without their record XML: of their pages, those that leave out
    // views for want of it (the others draw as with it).
    const std::string alone = m_dir.File("alone");
    ASSERT_EQ(0, ::mkdir(alone.c_str(), 0755));
    for (const std::string record : {"examinations/exercise_90.ecg", "samples/rr_90.ecg", "examinations/mstep243.ecg"})
        m_dir.Write("alone" + record.substr(record.find('/')), testsupport::ReadFileBytes(m_dir.File(record)));
    const std::vector<std::vector<std::string>> records = {
        {SamplePath("rest12_90.ecg"), SamplePath("rest12_80.ecg")},
        {SamplePath("rhythm_90.ecg")},
        {SamplePath("rr_90.ecg")},
        {SamplePath("extra_90.ecg")},
        {m_dir.File("examinations/mstep243.ecg")},
        {m_dir.File("examinations/exercise_90.ecg")},
    };
    const std::vector<std::vector<std::string>> withoutXml = {
        {alone + "/exercise_90.ecg"},
        {alone + "/rr_90.ecg"},
        {alone + "/mstep243.ecg"},
    };
    {
        // The forms' layouts, as the host loads them.
        CTavrionDoc layouts;
        layouts.m_bAutoDelete = FALSE;
        for (_LOAD_POSITION_TYPE type : {LOAD_POS_REST, LOAD_POS_RHYTHM, LOAD_POS_RR, LOAD_POS_FINAL, LOAD_POS_EXTRA,
                                         LOAD_POS_EXER})
            layouts.GetCtrlPosFromXSL(type);
    }
    Desktop::Reset();
    Desktop::SetScreenSize(kWidth, kHeight);
    std::vector<std::vector<std::string>> all;
    for (size_t r = 0; r < records.size() + withoutXml.size(); ++r) {
        const std::string& record = r < records.size() ? records[r].front() : withoutXml[r - records.size()].front();
        all.push_back({"pane", record, "--pane", "all", "--size", kSize, "--out", m_dir.File("all" + std::to_string(r))});
    }
    const std::vector<hosttest::HostRun> drawn = RunHost(all);
    std::vector<Walk> walks;
    std::vector<std::string> leftOut;
    for (size_t r = 0; r < records.size() + withoutXml.size(); ++r) {
        const bool lacking = r >= records.size();
        for (const Page& page : PagesOf(lacking ? withoutXml[r - records.size()] : records[r], drawn[r],
                                        all[r].back(), lacking)) {
            Walk walk{page, PlanWalk(page, leftOut), {}};
            // A page without controls has nothing to walk.
            if (!walk.steps.empty()) walks.push_back(walk);
        }
    }
    // Every kind of page is among them, the comparing ones too.
    EXPECT_EQ(PaneKinds().size(), m_drawn.size());
    DrawPictures(walks);
    if (HasFailure()) return;

    size_t steps = 0;
    for (const Walk& walk : walks) {
        std::string said;
        for (const Step& step : walk.steps) said += " " + step.click;
        std::printf("%s:%s\n", walk.Name().c_str(), said.c_str());
        steps += walk.steps.size();
        const std::string wrong = WorkOnScreen(server, walk);
        if (!wrong.empty()) ADD_FAILURE() << walk.Name() << ", " << wrong;
        m_show.Kill();
    }
    for (const std::string& control : leftOut) std::printf("left out, as it sets a clock going: %s\n", control.c_str());
    std::printf("%zu pages walked, %zu steps\n", walks.size(), steps);
}
