// The forms in their pane's frame, painted into PNG files or printed, with
// typed input and the pane's save for a round trip a person can inspect.
#include "host/FormViewCommand.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "controls/CheckComboBox.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "forms/FormInterpre.h"
#include "forms/FormInterpreAme.h"
#include "forms/FormInterpreExer.h"
#include "forms/FormInterpreMsfr.h"
#include "forms/FormInterpreRhyRR.h"
#include "forms/FormPatientInfo.h"
#include "host/CommandFailure.h"
#include "host/RecordKinds.h"
#include "host/RecordOpening.h"
#include "platform/base/CodePage.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"

namespace host {
namespace {

// The forms and the size of the pane frame each is shown in by default (the
// records each takes, and whether it prints, are the host's one rule of them).
struct FormEntry {
    const char* name;
    int width;
    int height;
};

const FormEntry kForms[] = {
    {"CFormPatientInfo", 1024, 52}, {"CFormInterpre", 540, 720},     {"CFormInterpreAme", 1024, 400},
    {"CFormInterpreExer", 640, 400}, {"CFormInterpreMsfr", 540, 560}, {"CFormInterpreRhyRR", 540, 640},
};

const FormEntry* FindForm(const std::string& name)
{
    for (const FormEntry& entry : kForms)
        if (name == entry.name) return &entry;
    return nullptr;
}

struct TypedText {
    int id = 0;
    CString text;
};

struct FormOptions {
    std::string file;
    const FormEntry* form = nullptr;
    int width = 0;
    int height = 0;
    bool readOnly = false;
    bool popup = false;
    int pageStyle = -1;
    std::vector<TypedText> typed;
    bool save = false;
    std::string png;
};

bool ParseTyped(const std::string& value, FormOptions& options)
{
    const size_t equals = value.find('=');
    char* end = nullptr;
    const std::string digits = equals == std::string::npos ? std::string() : value.substr(0, equals);
    const long id = equals == std::string::npos ? 0 : std::strtol(digits.c_str(), &end, 10);
    if (equals == std::string::npos || !end || *end || id <= 0 || id > 0xFFFF) {
        std::fprintf(stderr, "morvelance-host: --type takes ID=TEXT (a control id of the form)\n");
        return false;
    }
    options.typed.push_back({static_cast<int>(id), CString(platform::FromUtf8(value.substr(equals + 1)).c_str())});
    return true;
}

bool ParseValue(int argc, char** argv, int& i, std::string& out)
{
    if (i + 1 >= argc) {
        std::fprintf(stderr, "morvelance-host: %s needs a value\n", argv[i]);
        return false;
    }
    out = argv[++i];
    return true;
}

bool ParseOption(int argc, char** argv, int& i, FormOptions& options)
{
    const std::string arg = argv[i];
    std::string value;
    if (arg == "--read-only") return options.readOnly = true;
    if (arg == "--popup") return options.popup = true;
    if (arg == "--save") return options.save = true;
    if (!ParseValue(argc, argv, i, value)) return false;
    if (arg == "--view") {
        options.form = FindForm(value);
        return options.form != nullptr;
    }
    if (arg == "--png") {
        options.png = value;
        return true;
    }
    if (arg == "--type") return ParseTyped(value, options);
    if (arg == "--page-style") return ReadNumberOption(arg, value.c_str(), 0, 100000, nullptr, options.pageStyle);
    if (arg == "--size") return ParseFrameSize(value, options.width, options.height);
    std::fprintf(stderr, "morvelance-host: unknown option '%s' for the forms\n", arg.c_str());
    return false;
}

bool ParseFormOptions(int argc, char** argv, FormOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0) {
            if (!ParseOption(argc, argv, i, options)) return false;
        } else if (options.file.empty()) {
            options.file = argv[i];
        } else {
            std::fprintf(stderr, "morvelance-host: the forms show one record at a time\n");
            return false;
        }
    }
    if (options.file.empty() || options.png.empty() || !options.form) {
        std::fprintf(stderr, "morvelance-host: view FILE --view FORM needs --png OUT.png\n");
        return false;
    }
    if (options.width == 0) {
        options.width = options.form->width;
        options.height = options.form->height;
    }
    return true;
}

// The form's pane settings that are no document state of their own.
void SetUpForm(CFormEx& form, CTavrionDoc& doc, int pageStyle)
{
    form.SetDocType(&doc, doc.GetDocType());
    if (auto* rest = dynamic_cast<CFormInterpre*>(&form); rest && pageStyle >= 0) rest->SetPageStyle(pageStyle);
}

// As a pane brings a form up: the store filled from the current item, the
// document's status pass, the form's initial update, texts and update.
void FillForm(CFormEx& form, CTavrionDoc& doc, int pageStyle)
{
    doc.SetCtrlContent(nullptr);
    doc.UpdateCtrlStatus();
    SetUpForm(form, doc, pageStyle);
    form.SendMessage(WM_INITIALUPDATE, 0, 0);
    form.ShowText();
    doc.UpdateAllViews(nullptr);
    platform::ui::Desktop::PumpMessages();
}

// host window > pane > frame > form, as the pages hold their forms.
class FormPane {
public:
    FormPane(CTavrionDoc& doc, const FormOptions& options)
    {
        const CRect rect(0, 0, options.width, options.height);
        if (!m_window.CreateEx(0, nullptr, L"morvelance-host", WS_POPUP | WS_VISIBLE, rect, nullptr, 0)) return;
        if (!m_pane.CreateEx(0, nullptr, L"pane", WS_CHILD | WS_VISIBLE, rect, &m_window, 1)) return;
        m_frame = new CFrameWnd;
        if (!m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &m_pane)) {
            m_frame = nullptr;
            return;
        }
        CCreateContext context;
        context.m_pNewViewClass = CRuntimeClass::FromName(options.form->name);
        context.m_pCurrentDoc = &doc;
        m_form = dynamic_cast<CFormEx*>(m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        if (!m_form) return;
        m_form->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
        m_frame->RecalcLayout();
        FillForm(*m_form, doc, options.pageStyle);
    }
    ~FormPane()
    {
        if (m_frame) m_frame->DestroyWindow();
        m_pane.DestroyWindow();
        m_window.DestroyWindow();
    }
    CFormEx* Form() const { return m_form; }

private:
    CWnd m_window;
    CWnd m_pane;
    CFrameWnd* m_frame = nullptr;   // deletes itself and the form with its window
    CFormEx* m_form = nullptr;
};

// Types over the control's text as a person does, then Tab. A control the
// form hides, disables or keeps read-only is no place a person could type:
// refused, naming it.
bool TypeInto(CFormEx& form, const TypedText& typed)
{
    std::string why;
    CWnd* control = TypeableControl(form, typed.id, why);
    if (!control) {
        std::fprintf(stderr, "morvelance-host: the form shows no editable control %d: it %s\n", typed.id, why.c_str());
        return false;
    }
    control->SetFocus();
    HWND focus = ::GetFocus();
    ::SendMessage(focus, EM_SETSEL, 0, -1);
    platform::ui::Desktop::TypeText(typed.text);
    platform::ui::Desktop::KeyPress(VK_TAB);
    platform::ui::Desktop::PumpMessages();
    return true;
}

bool SaveThroughDocument(CTavrionDoc& doc)
{
    TakeSaveFailure();   // a failure of an earlier save is not this one's
    const int result = doc.SaveDataToXML(doc.GetCurDataIndex());
    if (result != 0) {
        // The file and why, as the sheets tell it, so that a folder under the
        // XML's name or a full disk can be put right.
        const std::string cause = TakeSaveFailure();
        ReportFailure("the record XML was not saved (%d)%s%s", result, cause.empty() ? "" : ": ", cause.c_str());
    }
    return result == 0;
}

bool SaveFormImage(CFormEx& form, const std::string& png)
{
    form.Invalidate(TRUE);
    form.UpdateWindow();
    platform::ui::Desktop::PumpMessages();
    CWnd* frame = form.GetParent();
    if (!platform::ui::Desktop::SaveWindowImage(frame->m_hWnd, png.c_str())) {
        std::fprintf(stderr, "morvelance-host: %s could not be written\n", png.c_str());
        return false;
    }
    std::printf("%s\n", png.c_str());
    return true;
}

// What a typed control shows once typing has left it.
CString ShownText(CFormEx& form, int id)
{
    std::string why;
    CWnd* control = TypeableControl(form, id, why);
    CString text;
    if (control) control->GetWindowText(text);
    return text;
}

struct ShownTyped {
    int id = 0;
    CString text;     // once typed
    CString before;   // as the record gave it
};

// Whether the record opened again gives back what was typed at the control.
// A field emptied may take the next row's text when the save closes up the
// rows: it is lost only when what it held comes back.
bool GivenBack(const ShownTyped& typed, const CString& reopened)
{
    CString blank = typed.text;
    blank.Trim();
    if (!blank.IsEmpty()) return reopened == typed.text;
    CString held = typed.before;
    held.Trim();
    return held.IsEmpty() || reopened != typed.before;
}

// The controls of those typed whose text the record saved does not give
// back when opened again (none: every one comes back).
std::vector<int> TypedNotStored(const FormOptions& options, const RecordOpener& open,
                                const std::vector<ShownTyped>& shown)
{
    std::vector<int> lost;
    std::unique_ptr<CTavrionDoc> reopened;
    if (!open(options.file, reopened) || !reopened) {
        for (const ShownTyped& typed : shown) lost.push_back(typed.id);
        return lost;
    }
    reopened->m_bAutoDelete = FALSE;
    reopened->SetReadOnly(options.readOnly ? 1 : 0);
    reopened->SetPopupMode(options.popup ? 1 : 0);
    FormPane pane(*reopened, options);
    for (const ShownTyped& typed : shown)
        if (!pane.Form() || !GivenBack(typed, ShownText(*pane.Form(), typed.id))) lost.push_back(typed.id);
    return lost;
}

bool ReadBytes(const std::string& path, std::string& bytes)
{
    // A folder under the file's name is no file to keep (the save says so).
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

// The form on an opened record: typed into, saved, painted.
bool ShowFormOn(CTavrionDoc& doc, const FormOptions& options, const RecordOpener& open)
{
    doc.SetReadOnly(options.readOnly ? 1 : 0);
    doc.SetPopupMode(options.popup ? 1 : 0);
    FormPane pane(doc, options);
    CFormEx* form = pane.Form();
    if (!form) {
        std::fprintf(stderr, "morvelance-host: the form could not be created\n");
        return false;
    }
    std::vector<ShownTyped> shown;
    for (const TypedText& typed : options.typed)
        if (std::none_of(shown.begin(), shown.end(), [&](const ShownTyped& s) { return s.id == typed.id; }))
            shown.push_back({typed.id, CString(), ShownText(*form, typed.id)});
    // Typing stops at a control refused: nothing is saved, nor painted as if typed.
    for (const TypedText& typed : options.typed)
        if (!TypeInto(*form, typed)) return false;
    // What each control shows once all is typed: a field may fill another.
    for (ShownTyped& typed : shown) typed.text = ShownText(*form, typed.id);
    // The record XML as it stood, to be put back when the save stores not
    // all that was typed: a save that keeps part of it would pass for one
    // that kept it all. A record without one is checked too; the record XML
    // its first save made then goes again.
    const std::string prefix = IsMferFile(options.file) ? "Raw_" : "";
    const bool check = options.save && !shown.empty();
    const std::string xmlPath = check ? FindRecordXml(options.file, prefix) : std::string();
    std::string before;
    const bool had = !xmlPath.empty() && ReadBytes(xmlPath, before);
    // A failed save is the command's failure; the picture still shows the
    // form as that save left it (a picture it could not write says so itself).
    const bool saved = !options.save || SaveThroughDocument(doc);
    if (saved && check && (had || xmlPath.empty())) {
        if (const std::vector<int> lost = TypedNotStored(options, open, shown); !lost.empty()) {
            for (int id : lost)
                ReportFailure("control %d: the record saved does not give back what was typed there; nothing is "
                              "written",
                              id);
            if (had) {
                if (!WriteBytes(xmlPath, before))
                    ReportFailure("%s could not be put back as it was", xmlPath.c_str());
            } else if (const std::string made = FindRecordXml(options.file, prefix); !made.empty()) {
                std::error_code error;
                if (!std::filesystem::remove(made, error))
                    ReportFailure("%s could not be removed", made.c_str());
            }
            return false;
        }
    }
    return SaveFormImage(*form, options.png) && saved;
}

// The interpretation page's styles that show the rest form, by the record's
// kind (the style only moves the version line, shown in 37 and 43): a style
// of no page that shows it would be drawn as the first.
bool FormTakesPageStyleOrSays(const FormOptions& options, CTavrionDoc& doc)
{
    if (options.pageStyle < 0) return true;
    const bool mfer = doc.GetDocType() == DOC_TYPE_MFER;
    const int first = mfer ? 41 : 35;
    if (options.pageStyle >= first && options.pageStyle <= first + 2) return true;
    ReportFailure("--page-style %d: %s is shown in page styles %d to %d of %s record", options.pageStyle,
                  options.form->name, first, first + 2, mfer ? "an MFER" : "a resting");
    return false;
}

int ShowForm(const FormOptions& options, const RecordOpener& open)
{
    LoadFormLayouts();
    std::unique_ptr<CTavrionDoc> doc;
    if (!open(options.file, doc) || !doc) return 1;
    doc->m_bAutoDelete = FALSE;
    if (!FormTakesPageStyleOrSays(options, *doc)) return 1;
    return ShowFormOn(*doc, options, open) ? 0 : 1;
}

// DIR/NAME.png for the first record, DIR/NAME-N.png for the N-th.
std::string FormImagePath(const std::string& dir, const char* name, size_t index)
{
    return dir + "/" + name + (index ? "-" + std::to_string(index + 1) : std::string()) + ".png";
}

}  // namespace

void LoadFormLayouts()
{
    CTavrionDoc layouts;
    layouts.m_bAutoDelete = FALSE;
    for (_LOAD_POSITION_TYPE type : {LOAD_POS_REST, LOAD_POS_RHYTHM, LOAD_POS_RR, LOAD_POS_FINAL, LOAD_POS_EXTRA,
                                     LOAD_POS_EXER})
        layouts.GetCtrlPosFromXSL(type);
}

bool IsFormViewRequest(int argc, char** argv)
{
    for (int i = 0; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--view") == 0) return FindForm(argv[i + 1]) != nullptr;
    return false;
}

int RunFormViewCommand(int argc, char** argv, const RecordOpener& open)
{
    FormOptions options;
    if (!ParseFormOptions(argc, argv, options)) return 2;
    // The page style places the rest form's version line; the other forms have none.
    if (!OptionsTakenOrSays(std::string("view ") + options.form->name,
                            {{options.pageStyle >= 0, "--page-style",
                              std::strcmp(options.form->name, "CFormInterpre") == 0}}))
        return 1;
    return ShowForm(options, open);
}

int RenderAllForms(const std::vector<std::string>& files, const std::string& outDir, const RecordOpener& open)
{
    LoadFormLayouts();
    int failures = 0;
    for (size_t index = 0; index < files.size(); ++index) {
        std::unique_ptr<CTavrionDoc> doc;
        if (!open(files[index], doc) || !doc) {
            ++failures;
            continue;
        }
        doc->m_bAutoDelete = FALSE;
        for (const FormEntry& entry : kForms) {
            if (!Takes(entry.name, *doc)) continue;
            FormOptions options;
            options.form = &entry;
            options.width = entry.width;
            options.height = entry.height;
            options.png = FormImagePath(outDir, entry.name, index);
            if (!ShowFormOn(*doc, options, open)) ++failures;
        }
    }
    return failures;
}

CWnd* TypeableControl(CWnd& holder, int id, std::string& why)
{
    why = "is not there";
    if (!holder.GetSafeHwnd()) return nullptr;
    if (holder.GetStyle() & WS_DISABLED) {
        why = "is on a disabled page";
        return nullptr;
    }
    bool found = false;
    for (CWnd* child = holder.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
        if (child->GetDlgCtrlID() != id) continue;
        const DWORD style = child->GetStyle();
        wchar_t className[16] = {};
        ::GetClassNameW(child->m_hWnd, className, 16);
        // A bound combo box kept read-only is a list to pick from: its edit
        // drops every key typed but the arrows, and nothing typed is saved.
        auto* combo = DYNAMIC_DOWNCAST(CCheckComboBox, child);
        // Keys typed at a text, a button or a group box go nowhere: saying the
        // text was typed would be saying something was saved that was not.
        const bool isStatic = std::wcscmp(className, L"Static") == 0;
        const bool isButton = std::wcscmp(className, L"Button") == 0;
        const char* reason = isStatic   ? "is a static text"
                             : isButton ? ((style & BS_TYPEMASK) == BS_GROUPBOX ? "is a group box" : "is a button")
                             : !(style & WS_VISIBLE)  ? "is hidden"
                             : style & WS_DISABLED ? "is disabled"
                             : std::wcscmp(className, L"Edit") == 0 && (style & ES_READONLY) ? "is read-only"
                             : combo && combo->GetInnerEdit().GetReadOnlyFlag() ? "is a read-only list"
                                                                                 : nullptr;
        if (!reason) return child;
        // The first found says why: a second of the id may still be the one shown.
        if (!found) why = reason;
        found = true;
    }
    return nullptr;
}

bool IsPrintingForm(CView* view)
{
    const FormEntry* entry = view ? FindForm(view->GetRuntimeClass()->m_lpszClassName) : nullptr;
    return entry && Printed(entry->name);
}

bool PrintFormPage(CTavrionDoc& doc, CView* view, CECGDC* dc, const CRect& area)
{
    auto* form = dynamic_cast<CFormEx*>(view);
    const FormEntry* entry = form ? FindForm(form->GetRuntimeClass()->m_lpszClassName) : nullptr;
    if (!entry) return false;
    // Printing maps the form's places through its client size: the pane's, not the print host's.
    if (auto* frame = dynamic_cast<CFrameWnd*>(form->GetParent())) {
        frame->MoveWindow(0, 0, entry->width, entry->height, FALSE);
        frame->RecalcLayout();
    }
    FillForm(*form, doc, -1);
    if (auto* strip = dynamic_cast<CFormPatientInfo*>(form)) return strip->Print(dc, area) == 1;
    if (auto* rest = dynamic_cast<CFormInterpre*>(form)) return rest->Print(dc, area) == 1;
    return false;
}

}  // namespace host
