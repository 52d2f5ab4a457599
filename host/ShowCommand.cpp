#include "host/ShowCommand.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "dialogs/DlgInfoCommentGeneral.h"
#include "dialogs/DlgPatientInfoComment.h"
#include "host/DialogCommand.h"
#include "host/FormViewCommand.h"
#include "host/PaneKinds.h"
#include "host/RecordKinds.h"
#include "host/RecordOpening.h"
#include "host/SerialRecordSet.h"
#include "host/ViewCommand.h"
#include "platform/base/CodePage.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Desktop.h"

namespace host {
namespace {

constexpr int kNoStyle = -1;
constexpr int kMagnifierWidth = 400;
constexpr int kMagnifierHeight = 200;
constexpr float kMagnifierRatio = 2.0f;

struct ShowOptions {
    std::vector<std::string> files;
    std::string paneClass;
    int style = kNoStyle;
    bool showPatient = true;
    int width = 0;    // 0: the display's screen
    int height = 0;
    std::string display;
    std::string dialog;   // a dialog shown on its own instead of a pane
    std::string user;     // the user the host acts for, who may save
    bool magnifier = false;   // the hover magnifier's window shown beside the page
};

const PaneKind* FindPane(const std::string& name)
{
    for (const PaneKind& kind : AllPaneKinds())
        if (name == kind.name) return &kind;
    return nullptr;
}

bool ParseOptions(int argc, char** argv, ShowOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string text;
        if (arg == "--pane") {
            if (!TakeOptionValue(argc, argv, i, options.paneClass)) return false;
        } else if (arg == "--style") {
            if (!TakeNumberOption(argc, argv, i, 0, 100000, "--style takes a page style number", options.style))
                return false;
        } else if (arg == "--magnifier") {
            options.magnifier = true;
        } else if (arg == "--no-patient") {
            options.showPatient = false;
        } else if (arg == "--size") {
            if (!TakeOptionValue(argc, argv, i, text) ||
                std::sscanf(text.c_str(), "%dx%d", &options.width, &options.height) != 2 || options.width < 16 ||
                options.height < 16 || options.width > 10000 || options.height > 10000) {
                std::fprintf(stderr, "morvelance-host: --size takes WIDTHxHEIGHT (16 to 10000 pixels)\n");
                return false;
            }
        } else if (arg == "--dialog") {
            if (!TakeOptionValue(argc, argv, i, options.dialog)) return false;
        } else if (arg == "--user") {
            if (!TakeOptionValue(argc, argv, i, options.user)) return false;
        } else if (arg == "--display") {
            if (!TakeOptionValue(argc, argv, i, options.display)) return false;
        } else if (arg.rfind("--", 0) == 0) {
            std::fprintf(stderr, "morvelance-host: unknown option %s\n", arg.c_str());
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.files.empty() || options.paneClass.empty() == options.dialog.empty()) {
        std::fprintf(stderr, "morvelance-host: show needs FILE... and --pane CLASS or --dialog CLASS\n");
        return false;
    }
    if (!options.dialog.empty()) {
        if (IsDialogClass(options.dialog)) return true;
        std::fprintf(stderr, "morvelance-host: show has no dialog class %s (the dialog command's classes)\n",
                     options.dialog.c_str());
        return false;
    }
    if (!FindPane(options.paneClass)) {
        std::fprintf(stderr, "morvelance-host: show has no pane class %s\n", options.paneClass.c_str());
        return false;
    }
    return true;
}

int FrameWidth(const ShowOptions& options)
{
    return options.width ? options.width : platform::ui::Desktop::ScreenWidth();
}

int FrameHeight(const ShowOptions& options)
{
    return options.height ? options.height : platform::ui::Desktop::ScreenHeight();
}

// The document's fonts and factors as the application makes them for a
// screen of the frame's size.
void UseFrameSize(CTavrionDoc& doc, int width, int height)
{
    g_dXUnit = width / 1024.0;
    g_dYUnit = height / 768.0;
    doc.InitGlobalData();
    doc.SetCtrlContent(nullptr);
    doc.UpdateCtrlStatus();
}

// The views a page leaves out follow what the person does on it. A page's
// strips send it their commands (a page button, a graph picked in a combo
// box), which may turn a view to a picture this record has nothing for, or
// one left out to a picture it draws: after each, the views are looked at
// again, as the pane command looks at them after its clicks. One page is
// shown at a time.
class LeftOutViewsFollowCommands {
public:
    LeftOutViewsFollowCommands(CWnd& pane, CTavrionDoc& doc, const char* paneName)
        : m_pane(pane), m_doc(doc), m_paneName(paneName)
    {
        s_page = this;
        m_previous = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(pane.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfterCommands)));
    }
    // Before the pane goes: its window is let go of as it was made.
    ~LeftOutViewsFollowCommands()
    {
        if (m_previous && ::IsWindow(m_pane.m_hWnd))
            ::SetWindowLongPtrW(m_pane.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
        s_page = nullptr;
    }
    LeftOutViewsFollowCommands(const LeftOutViewsFollowCommands&) = delete;
    LeftOutViewsFollowCommands& operator=(const LeftOutViewsFollowCommands&) = delete;

private:
    static LRESULT AfterCommands(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        LeftOutViewsFollowCommands* page = s_page;
        const LRESULT result = ::CallWindowProcW(page->m_previous, hwnd, message, wParam, lParam);
        // What is left out was said when the page opened.
        if (message == WM_COMMAND && s_page == page && ::IsWindow(hwnd))
            LeaveOutEmptyViews(page->m_pane, page->m_doc, page->m_paneName, false);
        return result;
    }

    static LeftOutViewsFollowCommands* s_page;
    CWnd& m_pane;
    CTavrionDoc& m_doc;
    std::string m_paneName;
    WNDPROC m_previous = nullptr;
};

LeftOutViewsFollowCommands* LeftOutViewsFollowCommands::s_page = nullptr;

// A made pane in a frame on the display until the frame is closed; false
// when the display is lost meanwhile. `doc` is the document the magnifier
// follows.
bool ShowInFrame(std::unique_ptr<CWnd> pane, const PaneKind& kind, int style, CTavrionDoc& doc,
                 const ShowOptions& options, const std::string& title, bool& shown)
{
    shown = false;
    if (!pane) {
        std::fprintf(stderr, "morvelance-host: %s does not show %s\n", kind.name, title.c_str());
        return true;
    }
    const int width = FrameWidth(options);
    const int height = FrameHeight(options);
    const CRect rect(0, 0, width, height);
    const std::wstring caption = L"morvelance - " + platform::FromUtf8(title);
    CWnd frame;
    if (!frame.CreateEx(0, nullptr, caption.c_str(), WS_POPUP | WS_VISIBLE, rect, nullptr, 0) ||
        !pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &frame, 100)) {
        std::fprintf(stderr, "morvelance-host: the pane could not be created\n");
        if (frame.GetSafeHwnd()) frame.DestroyWindow();
        return true;
    }
    kind.show(pane.get(), style);
    LeaveOutEmptyViews(*pane, doc, kind.name);
    shown = true;
    // The magnifier as a host shows it when the user turns it on: a small
    // window of its own at the top right whose picture follows the mouse
    // over the waveform views.
    CDlgEnlargedPreview magnifier(&frame);
    if (options.magnifier) {
        magnifier.SetEnlargedPreviewDoc(&doc);
        if (magnifier.Create(CDlgEnlargedPreview::IDD, &frame)) {
            magnifier.SetWindowPos(nullptr, width - kMagnifierWidth, 0, kMagnifierWidth, kMagnifierHeight,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
            magnifier.SetScaleRatio(kMagnifierRatio);
            magnifier.ShowWindow(SW_SHOWNOACTIVATE);
            doc.SetEnlargedPreview(&magnifier);
        }
    }
    const HWND hwnd = frame.m_hWnd;
    bool kept = false;
    {
        LeftOutViewsFollowCommands following(*pane, doc, kind.name);
        kept = platform::ui::Desktop::RunDisplay([hwnd] { return !::IsWindow(hwnd); }) != FALSE;
    }
    if (doc.GetEnlargedPreview() == &magnifier) doc.SetEnlargedPreview(nullptr);
    if (magnifier.GetSafeHwnd()) magnifier.DestroyWindow();
    if (pane->GetSafeHwnd()) pane->DestroyWindow();
    if (frame.GetSafeHwnd()) frame.DestroyWindow();
    return kept;
}

// One record's pane in a frame on the display until the frame is closed;
// false when the display is lost meanwhile.
bool ShowRecord(CTavrionDoc& doc, const PaneKind& kind, const ShowOptions& options, const std::string& file,
                bool& shown)
{
    UseFrameSize(doc, FrameWidth(options), FrameHeight(options));
    ActForUser(doc, options.user);
    if (!PaneTakesStyleOrSays(kind, doc, options.style == kNoStyle ? -1 : options.style) ||
        !TakesOrSays(kind.name, doc)) {
        shown = false;
        return true;
    }
    const std::vector<int> styles = StylesOn(kind, doc);
    const int style = styles.empty() ? kNoStyle : options.style == kNoStyle ? styles.front() : options.style;
    return ShowInFrame(std::unique_ptr<CWnd>(kind.make(doc, options.showPatient)), kind, style, doc, options, file,
                       shown);
}

// A comparing pane on every file at once, as the pane command makes it;
// false when the display is lost meanwhile. `failed` when the files are no
// comparable series (said on stderr) or the pane did not show.
bool ShowSeries(const PaneKind& kind, const ShowOptions& options, const RecordOpener& open, bool& failed)
{
    failed = true;
    SerialRecordSet records;
    if (!records.OpenAll(options.files, open, true)) return true;
    records.ForEachDocument([&](CTavrionDoc& doc) {
        UseFrameSize(doc, FrameWidth(options), FrameHeight(options));
        ActForUser(doc, options.user);
    });
    const int style = kind.styles.empty() ? kNoStyle : options.style == kNoStyle ? kind.styles.front() : options.style;
    CTavrionDoc& shownDoc = records.kind == DOC_TYPE_MFER ? static_cast<CTavrionDoc&>(records.mfer)
                                                          : static_cast<CTavrionDoc&>(records.rest);
    bool shown = false;
    const bool kept = ShowInFrame(std::unique_ptr<CWnd>(kind.makeOnSet(records)), kind, style, shownDoc, options,
                                  options.files.front(), shown);
    failed = !shown;
    return kept;
}

bool IsPatientSheet(const std::string& dialog)
{
    return dialog == "CDlgPatientInfoComment" || dialog == "CDlgInfoCommentGeneral";
}

std::wstring BaseName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return platform::FromUtf8(slash == std::string::npos ? path : path.substr(slash + 1));
}

// A record XML of the record's name that may be another record's is
// neither shown nor saved on the sheet: the person is told before editing,
// with the files named, since the sheet then shows only what the record
// file carries.
void TellSharedRecordXml(const std::string& file)
{
    const RecordXmlSearch search = SearchRecordXml(file, IsMferFile(file) ? "Raw_" : "");
    if (search.unowned.empty()) return;
    const UnownedRecordXml& unowned = search.unowned.front();
    std::wstring files;
    for (size_t i = 0; i < unowned.sharers.size(); ++i) files += (i ? L" と " : L"") + BaseName(unowned.sharers[i]);
    std::wstring text = L"記録XML「" + BaseName(unowned.xml) + L"」は";
    switch (unowned.why) {
    case UnownedRecordXml::Why::NamesNoRecord:
        text += L"記録ファイル名を持たないため、\n" + files + L"\nのどの記録のものか分かりません。";
        break;
    case UnownedRecordXml::Why::MadeForAnother:
        text += L"記録ファイル「" + BaseName(unowned.named) + L"」のものとして作られ、\n" + files +
                L"\nの患者または検査日時と一致しません。";
        break;
    case UnownedRecordXml::Why::SeveralGiveIt:
        text += L"記録ファイル「" + BaseName(unowned.named) + L"」のものとして作られ、\n" + files +
                L"\nのどの記録のものか分かりません。";
        break;
    case UnownedRecordXml::Why::MadeAtAnotherTime:
        text += L"記録ファイル名を持たず、\n" + files + L"\nの検査日時と一致しません。";
        break;
    }
    text += L"この記録には表示しません。\n保存すると、この記録の記録XMLを新しく作ります。";
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONINFORMATION);
}

// A patient sheet on the record, run by the person in front of the display
// until it is closed; false when the display is lost meanwhile.
bool ShowSheet(CTavrionDoc& doc, const ShowOptions& options, const std::string& file)
{
    TellSharedRecordXml(file);
    if (!platform::ui::Desktop::DisplayConnected()) return false;
    UseFrameSize(doc, platform::ui::Desktop::ScreenWidth(), platform::ui::Desktop::ScreenHeight());
    ActForUser(doc, options.user);
    // The update button on a sheet where nothing changed closes it with
    // nothing written: the host says so, as the dialog command does.
    StoredEditCount stored(doc);
    INT_PTR result = IDCANCEL;
    if (options.dialog == "CDlgPatientInfoComment") {
        CDlgPatientInfoComment sheet(0, nullptr);
        sheet.SetDoc(&doc, doc.GetDocType());
        result = sheet.DoModal();
    } else {
        CDlgInfoCommentGeneral sheet(nullptr);
        sheet.SetDoc(&doc, doc.GetDocType());
        result = sheet.DoModal();
    }
    if (!platform::ui::Desktop::DisplayConnected()) return false;
    std::printf("%s: %s\n", options.dialog.c_str(),
                result != IDOK ? "closed" : stored.Count() > 0 ? "saved" : "nothing changed");
    return true;
}

}  // namespace

int RunShowCommand(int argc, char** argv, const RecordOpener& open)
{
    ShowOptions options;
    if (!ParseOptions(argc, argv, options)) return 2;
    std::string error;
    if (!platform::ui::Desktop::AttachDisplay(options.display.empty() ? nullptr : options.display.c_str(), &error)) {
        std::fprintf(stderr, "morvelance-host: %s\n", error.c_str());
        return 1;
    }
    LoadFormLayouts();
    const PaneKind* kind = options.dialog.empty() ? FindPane(options.paneClass) : nullptr;
    int failures = 0;
    bool lost = false;
    // The comparing panes take every file at once, as the pane command gives them.
    if (kind && kind->makeOnSet) {
        bool failed = false;
        lost = !ShowSeries(*kind, options, open, failed);
        if (failed) ++failures;
    } else {
        for (const std::string& file : options.files) {
            if (!kind && !IsPatientSheet(options.dialog)) {
                // Any other dialog opens on the record as the dialog command opens it.
                if (!ShowDialogOnRecord(options.dialog, file, open, options.user)) ++failures;
                if (!platform::ui::Desktop::DisplayConnected()) {
                    lost = true;
                    break;
                }
                continue;
            }
            std::unique_ptr<CTavrionDoc> doc;
            if (!open(file, doc) || !doc) {
                ++failures;
                continue;
            }
            doc->m_bAutoDelete = FALSE;
            if (!kind && SheetRefusesRecord(options.dialog, *doc)) {
                ++failures;
                continue;
            }
            bool shown = true;
            if (!(kind ? ShowRecord(*doc, *kind, options, file, shown) : ShowSheet(*doc, options, file))) {
                lost = true;
                break;
            }
            if (!shown) ++failures;
        }
    }
    if (lost) std::fprintf(stderr, "morvelance-host: the display was lost; nothing more is shown or saved\n");
    platform::ui::Desktop::DetachDisplay();
    return lost || failures ? 1 : 0;
}

}  // namespace host
