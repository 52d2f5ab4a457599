#include "host/PaneCommand.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "host/CommandFailure.h"
#include "host/FormViewCommand.h"
#include "host/OutputFolder.h"
#include "host/PaneKinds.h"
#include "host/RecordKinds.h"
#include "host/SerialRecordSet.h"
#include "host/ViewCommand.h"
#include "platform/base/CodePage.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Desktop.h"

namespace host {

const std::vector<PaneKind>& AllPaneKinds()
{
    static const std::vector<PaneKind> kinds = [] {
        std::vector<PaneKind> all;
        for (auto list : {RestPaneKinds, RhythmPaneKinds, RhythmCommentPaneKinds, RRPaneKinds, SerialPaneKinds,
                          ExtraPaneKinds, ExercisePaneKinds, ExerciseResultPaneKinds, MasterStepPaneKinds}) {
            std::vector<PaneKind> some = list();
            all.insert(all.end(), some.begin(), some.end());
        }
        return all;
    }();
    return kinds;
}

namespace {

constexpr int kNoStyle = -1;

// A press of a strip control; on a combo box, `item` is the entry then
// picked in the list the press dropped (-1: none picked).
struct PaneClick {
    int id = 0;
    int item = -1;
};

struct PaneOptions {
    std::vector<std::string> files;
    std::string paneClass;
    int style = kNoStyle;
    bool showPatient = true;
    std::vector<PaneClick> clicks;
    DWORD ms = 0;   // the desktop clock moves on this far after the clicks
    int width = 1920;
    int height = 1080;
    std::string png;
    std::string outDir;
};

const PaneKind* FindPane(const std::string& name)
{
    for (const PaneKind& kind : AllPaneKinds())
        if (name == kind.name) return &kind;
    return nullptr;
}

bool ParseClicks(const std::string& text, std::vector<PaneClick>& clicks)
{
    const char* p = text.c_str();
    while (*p) {
        char* end = nullptr;
        const long id = std::strtol(p, &end, 10);
        if (end == p || id <= 0 || id > 0xFFFF) return false;
        PaneClick click;
        click.id = static_cast<int>(id);
        if (*end == ':') {
            p = end + 1;
            const long item = std::strtol(p, &end, 10);
            if (end == p || item < 0 || item > 0xFFFF) return false;
            click.item = static_cast<int>(item);
        }
        clicks.push_back(click);
        p = *end == ',' ? end + 1 : end;
        if (*end && *end != ',') return false;
    }
    return !clicks.empty();
}

bool ParseOptions(int argc, char** argv, PaneOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) { return TakeOptionValue(argc, argv, i, out); };
        std::string text;
        if (arg == "--pane") {
            if (!value(options.paneClass)) return false;
        } else if (arg == "--style") {
            long style = 0;
            if (!TakeNumberOption(argc, argv, i, 0, 100000, "--style takes a page style number", style)) return false;
            options.style = static_cast<int>(style);
        } else if (arg == "--no-patient") {
            options.showPatient = false;
        } else if (arg == "--click") {
            if (!value(text) || !ParseClicks(text, options.clicks)) {
                std::fprintf(stderr, "morvelance-host: --click takes control ids, as 3498,3482 (ID:N picks entry N "
                                     "of the list the click drops)\n");
                return false;
            }
        } else if (arg == "--ms") {
            long ms = 0;
            if (!TakeNumberOption(argc, argv, i, 0, 3600000, "--ms takes milliseconds (0 to 3600000)", ms))
                return false;
            options.ms = static_cast<DWORD>(ms);
        } else if (arg == "--size") {
            if (!value(text) || std::sscanf(text.c_str(), "%dx%d", &options.width, &options.height) != 2 ||
                options.width < 16 || options.height < 16 || options.width > 10000 || options.height > 10000) {
                std::fprintf(stderr, "morvelance-host: --size takes WIDTHxHEIGHT (16 to 10000 pixels)\n");
                return false;
            }
        } else if (arg == "--png") {
            if (!value(options.png)) return false;
        } else if (arg == "--out") {
            if (!value(options.outDir)) return false;
        } else if (arg.rfind("--", 0) == 0) {
            std::fprintf(stderr, "morvelance-host: unknown option %s\n", arg.c_str());
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    const bool all = options.paneClass == "all";
    if (options.files.empty() || options.paneClass.empty() || (all ? options.outDir.empty() : options.png.empty())) {
        std::fprintf(stderr, "morvelance-host: pane needs FILE..., --pane CLASS and --png OUT.png "
                             "(or --pane all and --out DIR)\n");
        return false;
    }
    if (!all && !FindPane(options.paneClass)) {
        std::fprintf(stderr, "morvelance-host: no pane class %s\n", options.paneClass.c_str());
        return false;
    }
    return true;
}

// What the pane named (every pane, for "all") does with the options: a
// comparing page has no patient strip to leave out, and a picture goes to
// --png, every pane of "all" into --out.
bool PaneTakesOptionsOrSays(const PaneOptions& options)
{
    const bool all = options.paneClass == "all";
    const PaneKind* kind = all ? nullptr : FindPane(options.paneClass);
    return OptionsTakenOrSays("pane --pane " + options.paneClass,
                              {
                                  {!options.png.empty(), "--png", !all},
                                  {!options.outDir.empty(), "--out", all},
                                  {!options.showPatient, "--no-patient", all || !kind->makeOnSet},
                              });
}

// The screen's factors as the application sets them for its size, the
// document's fonts made for them.
void UseScreen(CTavrionDoc& doc, const PaneOptions& options)
{
    g_dXUnit = options.width / 1024.0;
    g_dYUnit = options.height / 768.0;
    platform::ui::Desktop::SetScreenSize(options.width, options.height);
    doc.InitGlobalData();
    doc.SetCtrlContent(nullptr);
    doc.UpdateCtrlStatus();
}

bool IsClass(HWND window, const wchar_t* name)
{
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    return std::wcscmp(className, name) == 0;
}

// The combo box a press left dropped: the one pressed, else the one the
// pane gave the focus to on that press (a record caption drops its column's
// chooser so).
CWnd* DroppedCombo(CWnd* control)
{
    if (IsClass(control->m_hWnd, L"ComboBox")) return control;
    for (HWND at = ::GetFocus(); at; at = ::GetParent(at))
        if (IsClass(at, L"ComboBox")) return CWnd::FromHandle(at);
    return nullptr;
}

// Picks entry `item` of the list a press dropped, with a click on it as a
// person picks it.
bool PickDropped(CWnd* control, int item)
{
    CWnd* combo = DroppedCombo(control);
    const HWND list = ::GetCapture();
    RECT place = {};
    RECT shown = {};
    if (!combo || !combo->SendMessage(CB_GETDROPPEDSTATE) || !list ||
        ::SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&place)) == LB_ERR ||
        !::GetClientRect(list, &shown) || place.top < shown.top || place.bottom > shown.bottom) {
        std::fprintf(stderr, "morvelance-host: control %d drops no list showing an entry %d\n",
                     control->GetDlgCtrlID(), item);
        if (combo && combo->SendMessage(CB_GETDROPPEDSTATE)) combo->SendMessage(CB_SHOWDROPDOWN, FALSE);
        return false;
    }
    POINT middle = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    ::ClientToScreen(list, &middle);
    platform::ui::Desktop::Click(middle);
    platform::ui::Desktop::PumpMessages();
    return true;
}

// Whether `upper` lies over `lower` where they overlap: the branch of the
// one comes before the other's among the children of the window holding
// both.
bool LiesOver(HWND upper, HWND lower)
{
    for (HWND a = upper; a; a = ::GetParent(a))
        for (HWND b = lower; b; b = ::GetParent(b)) {
            if (a == b || ::GetParent(a) != ::GetParent(b)) continue;
            for (HWND next = ::GetWindow(a, GW_HWNDNEXT); next; next = ::GetWindow(next, GW_HWNDNEXT))
                if (next == b) return true;
            return false;
        }
    return false;
}

// The window a click at the control's middle would reach in its place, when
// another lies over it there: a text or a group box lets a click through to
// what is behind it, which is no cover.
HWND CoverAt(CWnd* control, POINT at, bool passesThrough)
{
    const HWND hit = ::WindowFromPoint(at);
    if (!hit || hit == control->m_hWnd || ::IsChild(control->m_hWnd, hit)) return nullptr;
    if (passesThrough && (::IsChild(hit, control->m_hWnd) || !LiesOver(hit, control->m_hWnd))) return nullptr;
    return hit;
}

// The pane as painted now, as the bytes of its picture; empty when it could
// not be taken.
std::string PanePicture(CWnd* pane)
{
    static int taken = 0;
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("morvelance-host-click-" + std::to_string(::getpid()) + "-" +
                                        std::to_string(++taken) + ".png");
    std::string bytes;
    if (platform::ui::Desktop::SaveWindowImage(pane->m_hWnd, file.c_str())) {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    return bytes;
}

// Presses a control of one of the pane's strips (and picks the entry of a combo box's list).
bool Click(CWnd* pane, const PaneClick& click)
{
    const int id = click.id;
    CWnd* control = pane->GetDescendantWindow(id);
    CRect rect;
    if (control) control->GetWindowRect(&rect);
    // A strip the page style does not use stands at the empty rectangle.
    CWnd* strip = control ? control->GetParent() : nullptr;
    CRect stripRect;
    if (strip) strip->GetWindowRect(&stripRect);
    if (!control || !control->IsWindowVisible() || !control->IsWindowEnabled() || rect.IsRectEmpty() ||
        stripRect.IsRectEmpty()) {
        std::fprintf(stderr, "morvelance-host: the pane shows no enabled control %d\n", id);
        return false;
    }
    // A text or a group box takes no click itself: the window behind it
    // does, as the record caption of a comparison column drops its chooser.
    const DWORD style = control->GetStyle();
    const bool text = IsClass(control->m_hWnd, L"Static") && !(style & SS_NOTIFY);
    const bool groupBox = IsClass(control->m_hWnd, L"Button") && (style & BS_TYPEMASK) == BS_GROUPBOX;
    const CPoint at = rect.CenterPoint();
    if (const HWND cover = CoverAt(control, at, text || groupBox)) {
        // A window of no id (a dropped list, say) is named by its class.
        wchar_t coverClass[32] = {};
        ::GetClassNameW(cover, coverClass, 32);
        const int coverId = ::GetDlgCtrlID(cover);
        const std::string by = coverId ? "control " + std::to_string(coverId)
                                       : "a window of class " + platform::ToUtf8(std::wstring(coverClass));
        std::fprintf(stderr, "morvelance-host: control %d is covered at its middle by %s; nothing is written\n", id,
                     by.c_str());
        return false;
    }
    std::string before;
    if (text || groupBox) {
        // The mouse is brought there first, so that what only its passing
        // shows is no answer to the click.
        platform::ui::Desktop::MoveMouse(at);
        platform::ui::Desktop::PumpMessages();
        before = PanePicture(pane);
    }
    platform::ui::Desktop::Click(at);
    platform::ui::Desktop::PumpMessages();
    // A click nothing behind takes leaves the pane as it was: a picture of it
    // would pass for the pane clicked.
    if ((text || groupBox) && PanePicture(pane) == before) {
        std::fprintf(stderr, "morvelance-host: control %d is a %s: a click there does nothing; nothing is written\n", id,
                     text ? "static text" : "group box");
        return false;
    }
    return click.item < 0 || PickDropped(control, click.item);
}

// The pane in a top-level window of the screen's size, driven in the
// host's order, clicked and painted; on the record of `doc` (null for a
// comparing pane), without the views it has nothing for.
bool ShowMadePane(std::unique_ptr<CWnd> pane, const PaneKind& kind, int style, const PaneOptions& options,
                  const std::string& png, CTavrionDoc* doc = nullptr)
{
    if (!pane) {
        ReportFailure("%s does not show this record", kind.name);
        return false;
    }
    const CRect rect(0, 0, options.width, options.height);
    CWnd window;
    bool ok = window.CreateEx(0, nullptr, L"morvelance-host", WS_POPUP | WS_VISIBLE, rect, nullptr, 0) &&
              pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &window, 100);
    if (ok) {
        kind.show(pane.get(), style);
        // Before the page is first painted, and again after the clicks,
        // which may have turned the page to other views.
        if (doc) LeaveOutEmptyViews(*pane, *doc, kind.name, options.clicks.empty());
        platform::ui::Desktop::PumpMessages();
        for (const PaneClick& click : options.clicks) ok = Click(pane.get(), click) && ok;
    }
    // A click refused leaves no picture that would pass for the pane clicked.
    if (ok) {
        if (options.ms) platform::ui::Desktop::AdvanceClock(options.ms);
        if (doc && !options.clicks.empty()) LeaveOutEmptyViews(*pane, *doc, kind.name);
        pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        platform::ui::Desktop::PumpMessages();
        if (!platform::ui::Desktop::SaveWindowImage(window.m_hWnd, png.c_str())) {
            ReportFailure("%s could not be saved: no memory for the picture, or the file could not be written",
                          png.c_str());
            ok = false;
        }
        if (ok) std::printf("%s\n", png.c_str());
    } else if (!pane->GetSafeHwnd()) {
        std::fprintf(stderr, "morvelance-host: the pane could not be created\n");
    }
    if (pane->GetSafeHwnd()) pane->DestroyWindow();
    if (window.GetSafeHwnd()) window.DestroyWindow();
    return ok;
}

bool ShowPane(CTavrionDoc& doc, const PaneKind& kind, int style, const PaneOptions& options, const std::string& png)
{
    return ShowMadePane(std::unique_ptr<CWnd>(kind.make(doc, options.showPatient)), kind, style, options, png, &doc);
}

// The asked style, else the first the pane takes (none for a one-page pane).
int StyleOf(const std::vector<int>& styles, int asked)
{
    if (styles.empty()) return kNoStyle;
    return asked == kNoStyle ? styles.front() : asked;
}

std::string AllImagePath(const PaneOptions& options, const PaneKind& kind, int style, size_t index)
{
    std::string name = options.outDir + "/" + kind.name;
    if (style != kNoStyle) name += "-" + std::to_string(style);
    if (index) name += "-" + std::to_string(index + 1);
    return name + ".png";
}

// Every pane and style that takes the document's kind. A record no page
// shows is a failure, said with why each page of its kind refuses it: an
// empty folder would pass for its pages.
int ShowAllPanes(CTavrionDoc& doc, const PaneOptions& options, size_t index)
{
    int failures = 0, shown = 0;
    for (const PaneKind& kind : AllPaneKinds()) {
        if (kind.makeOnSet || !Takes(kind.name, doc)) continue;
        std::vector<int> styles = StylesOn(kind, doc);
        if (styles.empty()) styles.push_back(kNoStyle);
        for (int style : styles) {
            ++shown;
            if (!ShowPane(doc, kind, style, options, AllImagePath(options, kind, style, index))) ++failures;
        }
    }
    if (shown > 0) return failures;
    ReportFailure("--pane all: no page shows this record");
    for (const PaneKind& kind : AllPaneKinds())
        if (!kind.makeOnSet && std::unique_ptr<CWnd>(kind.make(doc, options.showPatient))) TakesOrSays(kind.name, doc);
    return 1;
}

// Every file into one set of compared records, on the screen's fonts; false
// when one does not open or is not a resting or MFER record.
bool OpenRecordSet(const PaneOptions& options, const RecordOpener& open, SerialRecordSet& records, bool report)
{
    if (!records.OpenAll(options.files, open, report)) return false;
    records.ForEachDocument([&](CTavrionDoc& doc) { UseScreen(doc, options); });
    return true;
}

// A comparing pane on every file, each of its styles when `all`.
int ShowSetPanes(const PaneOptions& options, const RecordOpener& open, const PaneKind* only)
{
    SerialRecordSet records;
    // Among all panes, files that are not a comparable set simply show none;
    // a record that could not be opened again is a failure all the same.
    if (!OpenRecordSet(options, open, records, only != nullptr)) return only || records.failed ? 1 : 0;
    int failures = 0;
    for (const PaneKind& kind : AllPaneKinds()) {
        if (!kind.makeOnSet || (only && only != &kind)) continue;
        std::vector<int> styles = kind.styles.empty() ? std::vector<int>{kNoStyle} : kind.styles;
        if (only && options.style != kNoStyle && !PageStyleOrSays(kind.name, kind.styles, options.style, nullptr)) {
            ++failures;
            continue;
        }
        if (only) styles = {StyleOf(kind.styles, options.style)};
        for (int style : styles) {
            const std::string png = only ? options.png : AllImagePath(options, kind, style, 0);
            if (!ShowMadePane(std::unique_ptr<CWnd>(kind.makeOnSet(records)), kind, style, options, png)) ++failures;
        }
    }
    return failures;
}

}  // namespace

int RunPaneCommand(int argc, char** argv, const RecordOpener& open)
{
    PaneOptions options;
    if (!ParseOptions(argc, argv, options)) return 2;
    if (!PaneTakesOptionsOrSays(options)) return 1;
    // "--pane all" shows every page style of every pane: one style asked for
    // would be left out everywhere but where it happens to be a page.
    if (options.paneClass == "all" && options.style != kNoStyle) {
        ReportFailure("--style %d: --pane all shows every page style; name the pane for one", options.style);
        return 1;
    }
    if (!(options.outDir.empty() ? MakeFolderOf(options.png) : MakeOutputFolder(options.outDir))) return 1;
    LoadFormLayouts();
    const PaneKind* only = options.paneClass == "all" ? nullptr : FindPane(options.paneClass);

    // The comparing panes take every file at once.
    if (only && only->makeOnSet) return ShowSetPanes(options, open, only) ? 1 : 0;
    int failures = 0;
    for (size_t index = 0; index < options.files.size(); ++index) {
        std::unique_ptr<CTavrionDoc> doc;
        if (!open(options.files[index], doc) || !doc) {
            ++failures;
            continue;
        }
        doc->m_bAutoDelete = FALSE;
        UseScreen(*doc, options);
        if (options.paneClass == "all") {
            failures += ShowAllPanes(*doc, options, index);
            continue;
        }
        const PaneKind& kind = *FindPane(options.paneClass);
        if (!PaneTakesStyleOrSays(kind, *doc, options.style == kNoStyle ? -1 : options.style) ||
            !TakesOrSays(kind.name, *doc)) {
            ++failures;
            continue;
        }
        if (!ShowPane(*doc, kind, StyleOf(StylesOn(kind, *doc), options.style), options, Numbered(options.png, index))) ++failures;
    }
    if (!only) failures += ShowSetPanes(options, open, nullptr);
    return failures ? 1 : 0;
}

}  // namespace host
