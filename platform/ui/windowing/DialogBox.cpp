#include "platform/ui/windowing/DialogBox.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <iterator>
#include <vector>

#include "platform/base/Kernel.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowGeometry.h"
#include "platform/ui/windowing/WindowManager.h"
#include "platform/ui/windowing/WindowSystemHooks.h"

using platform::ui::WindowManager;
using platform::ui::WindowState;

namespace platform::ui {

namespace {

const int kLogPixels = 96;   // the screen's dots per inch

const SystemClass s_dialogClass(WC_DIALOG, &DefDlgProcW, CS_DBLCLKS | CS_SAVEBITS, IDC_ARROW, 0, DLGWINDOWEXTRA);

WindowState* DialogWindow(HWND hDlg)
{
    WindowState* window = WindowManager::Instance().Find(hDlg);
    return window && window->dialog.isDialog ? window : nullptr;
}

UINT DialogCode(HWND hwnd, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return static_cast<UINT>(SendMessageW(hwnd, WM_GETDLGCODE, wParam, lParam));
}

bool IsPushButton(UINT code)
{
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The controls of a dialog in tab order, child dialogs with
// WS_EX_CONTROLPARENT opened up in place.
void CollectControls(HWND parent, std::vector<HWND>& out)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* window = manager.Find(parent);
    if (!window) return;
    for (HWND child : window->children) {
        WindowState* state = manager.Find(child);
        if (!state) continue;
        if ((state->exStyle & WS_EX_CONTROLPARENT) && (state->style & WS_VISIBLE) && !(state->style & WS_DISABLED))
            CollectControls(child, out);
        else
            out.push_back(child);
    }
}

bool IsUsable(HWND hwnd)
{
    return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

bool HasStyle(HWND hwnd, DWORD bits)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    return window && (window->style & bits);
}

// Looks for the next control satisfying `accept`, cyclically from `start`.
HWND Cycle(const std::vector<HWND>& list, int start, bool backwards, const std::function<bool(HWND)>& accept)
{
    const int count = static_cast<int>(list.size());
    for (int step = 1; step <= count; ++step) {
        int index = backwards ? start - step : start + step;
        index = ((index % count) + count) % count;
        if (accept(list[index])) return list[index];
    }
    return nullptr;
}

void SetDialogFocus(HWND hwndCtrl)
{
    if (DialogCode(hwndCtrl) & DLGC_HASSETSEL) SendMessageW(hwndCtrl, EM_SETSEL, 0, -1);
    SetFocus(hwndCtrl);
}

// The default push button follows the focus: a focused push button is the
// default, any other focus gives the default back to the dialog's own.
void SetDefaultButton(HWND hDlg, HWND focus)
{
    WindowState* dialog = DialogWindow(hDlg);
    if (!dialog) return;
    const UINT focusCode = focus ? DialogCode(focus) : 0;
    HWND target = IsPushButton(focusCode) ? focus : GetDlgItem(hDlg, static_cast<int>(dialog->dialog.defId));
    std::vector<HWND> controls;
    CollectControls(hDlg, controls);
    for (HWND control : controls) {
        if (control == target) continue;
        if (DialogCode(control) & DLGC_DEFPUSHBUTTON) SendMessageW(control, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    if (target && (DialogCode(target) & DLGC_UNDEFPUSHBUTTON)) SendMessageW(target, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void SaveFocus(HWND hDlg)
{
    WindowState* dialog = DialogWindow(hDlg);
    HWND focus = GetFocus();
    if (dialog && focus && IsChild(hDlg, focus)) dialog->dialog.focusSave = focus;
}

void RestoreFocus(HWND hDlg, bool justActivated)
{
    WindowState* dialog = DialogWindow(hDlg);
    if (!dialog || IsIconic(hDlg) || dialog->dialog.ended) return;
    HWND target = dialog->dialog.focusSave;
    if (!IsWindow(target) || !IsChild(hDlg, target)) {
        if (justActivated) {
            // A dialog that has its focus in place keeps it.
            if (GetFocus() && IsChild(hDlg, GetFocus())) return;
        }
        target = GetNextDlgTabItem(hDlg, nullptr, FALSE);
        if (!target) target = GetNextDlgGroupItem(hDlg, nullptr, FALSE);
        if (!IsWindow(target)) return;
    }
    dialog = DialogWindow(hDlg);
    if (dialog) dialog->dialog.focusSave = nullptr;
    if (justActivated)
        SetFocus(target);
    else
        SetDialogFocus(target);
}

LRESULT GetDefId(HWND hDlg)
{
    WindowState* dialog = DialogWindow(hDlg);
    if (!dialog) return 0;
    if (dialog->dialog.defId) return MAKELONG(dialog->dialog.defId, DC_HASDEFID);
    std::vector<HWND> controls;
    CollectControls(hDlg, controls);
    for (HWND control : controls)
        if (DialogCode(control) & DLGC_DEFPUSHBUTTON) return MAKELONG(GetDlgCtrlID(control), DC_HASDEFID);
    return 0;
}

void SetDefId(HWND hDlg, UINT id)
{
    WindowState* dialog = DialogWindow(hDlg);
    if (!dialog) return;
    dialog->dialog.defId = id;
    HWND focus = GetFocus();
    // A focused push button stays the default until the focus leaves it.
    if (focus && IsChild(hDlg, focus) && IsPushButton(DialogCode(focus))) return;
    SetDefaultButton(hDlg, nullptr);
}

LRESULT DialogDefaults(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowState* dialog = DialogWindow(hDlg);
    if (!dialog) return DefWindowProcW(hDlg, message, wParam, lParam);
    switch (message) {
    case WM_ERASEBKGND: {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(hDlg, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hDlg)));
        if (!brush) brush = reinterpret_cast<HBRUSH>(DefWindowProcW(hDlg, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hDlg)));
        if (brush && hdc) {
            RECT client;
            GetClientRect(hDlg, &client);
            FillRect(hdc, &client, brush);
        }
        return 1;
    }
    case WM_NCDESTROY:
        if (dialog->dialog.templateFont) {
            DeleteObject(dialog->dialog.templateFont);
            dialog->dialog.templateFont = nullptr;
        }
        return DefWindowProcW(hDlg, message, wParam, lParam);
    case WM_SHOWWINDOW:
        if (!wParam) SaveFocus(hDlg);
        return DefWindowProcW(hDlg, message, wParam, lParam);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            RestoreFocus(hDlg, true);
        else
            SaveFocus(hDlg);
        return 0;
    case WM_SETFOCUS: RestoreFocus(hDlg, false); return 0;
    case DM_SETDEFID: SetDefId(hDlg, static_cast<UINT>(wParam)); return 1;
    case DM_GETDEFID: return GetDefId(hDlg);
    case WM_NEXTDLGCTL: {
        HWND target = reinterpret_cast<HWND>(wParam);
        if (!LOWORD(lParam)) target = GetNextDlgTabItem(hDlg, GetFocus(), wParam ? TRUE : FALSE);
        if (target) SetDialogFocus(target);
        return 0;
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(dialog->dialog.font);
    case WM_SETFONT: dialog->dialog.font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_CLOSE: {
        HWND cancel = GetDlgItem(hDlg, IDCANCEL);
        if (cancel && !IsWindowEnabled(cancel)) {
            MessageBeep(0);
            return 0;
        }
        PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    default: return DefWindowProcW(hDlg, message, wParam, lParam);
    }
}

// Messages whose answer is the dialog procedure's return value itself
// rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT message)
{
    switch (message) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return true;
    default: return false;
    }
}

// The text of `control` holds "&ch" (any case)?
bool HasMnemonic(HWND control, wchar_t ch)
{
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return false;
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    GetWindowTextW(control, text.data(), length + 1);
    for (int i = 0; i + 1 < length; ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return std::towlower(text[i + 1]) == std::towlower(ch);
    }
    return false;
}

// Alt+letter (or a letter where the focus takes no characters) acts on
// the control whose text underlines that letter: a label moves the focus
// to the control after it, a button is pressed.
bool HandleMnemonic(HWND hDlg, wchar_t ch)
{
    std::vector<HWND> controls;
    CollectControls(hDlg, controls);
    if (controls.empty()) return false;
    auto at = std::find(controls.begin(), controls.end(), GetFocus());
    const int start = at == controls.end() ? -1 : static_cast<int>(at - controls.begin());
    HWND found = Cycle(controls, start, false, [&](HWND control) { return IsUsable(control) && HasMnemonic(control, ch); });
    if (!found) return false;
    const UINT code = DialogCode(found);
    if (code & DLGC_STATIC) {
        HWND next = GetNextDlgTabItem(hDlg, found, FALSE);
        if (next) SendMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        return true;
    }
    if (code & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON | DLGC_RADIOBUTTON)) {
        SetDialogFocus(found);
        SendMessageW(found, BM_CLICK, 0, 0);
        return true;
    }
    SendMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(found), TRUE);
    return true;
}

void PressReturn(HWND hDlg)
{
    HWND focus = GetFocus();
    if (focus && IsChild(hDlg, focus) && (DialogCode(focus) & DLGC_DEFPUSHBUTTON)) {
        SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
        return;
    }
    const LRESULT defId = SendMessageW(hDlg, DM_GETDEFID, 0, 0);
    if (HIWORD(defId) == DC_HASDEFID) {
        HWND button = GetDlgItem(hDlg, LOWORD(defId));
        if (!button || IsWindowEnabled(button))
            SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(LOWORD(defId), BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return;
    }
    SendMessageW(hDlg, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDOK)));
}

// The dialog that handles navigation for a nested one (DS_CONTROL): the
// outermost in a chain of control parents.
HWND NavigationRoot(HWND hDlg)
{
    WindowManager& manager = WindowManager::Instance();
    HWND root = hDlg;
    for (WindowState* window = manager.Find(hDlg); window && (window->style & WS_CHILD) &&
                                                   (window->exStyle & WS_EX_CONTROLPARENT);
         window = manager.Find(window->parent)) {
        WindowState* parent = manager.Find(window->parent);
        if (!parent || !parent->dialog.isDialog) break;
        root = parent->hwnd;
    }
    return root;
}

int ToPixelsX(int units, SIZE base)
{
    return MulDiv(units, base.cx, 4);
}

int ToPixelsY(int units, SIZE base)
{
    return MulDiv(units, base.cy, 8);
}

}  // namespace

HFONT CreateTemplateFont(const DialogTemplate& dialog)
{
    if (!(dialog.style & DS_SETFONT) || dialog.faceName.IsEmpty()) return nullptr;
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(dialog.pointSize, kLogPixels, 72);
    font.lfWeight = dialog.weight ? dialog.weight : FW_NORMAL;
    font.lfItalic = dialog.italic;
    font.lfCharSet = dialog.charset ? dialog.charset : DEFAULT_CHARSET;
    const int length = std::min(dialog.faceName.GetLength(), LF_FACESIZE - 1);
    std::copy(dialog.faceName.GetString(), dialog.faceName.GetString() + length, font.lfFaceName);
    return CreateFontIndirectW(&font);
}

SIZE DialogBaseUnitsOf(HFONT font)
{
    const LONG system = GetDialogBaseUnits();
    if (!font) return SIZE{LOWORD(system), HIWORD(system)};
    HDC hdc = GetDC(nullptr);
    if (!hdc) return SIZE{LOWORD(system), HIWORD(system)};
    HGDIOBJ previous = SelectObject(hdc, font);
    static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent = {0, 0};
    TEXTMETRICW metrics = {};
    GetTextExtentPoint32W(hdc, kAlphabet, 52, &extent);
    GetTextMetricsW(hdc, &metrics);
    SelectObject(hdc, previous);
    ReleaseDC(nullptr, hdc);
    // Windows' average: half the width of the 52 letters over 26, rounded.
    const LONG width = (extent.cx / 26 + 1) / 2;
    if (width <= 0 || metrics.tmHeight <= 0) return SIZE{LOWORD(system), HIWORD(system)};
    return SIZE{width, metrics.tmHeight};
}

RECT DialogWindowRect(const DialogTemplate& dialog, SIZE base, HWND parent)
{
    DWORD style = dialog.style;
    DWORD exStyle = dialog.exStyle;
    if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
    RECT rect = {0, 0, ToPixelsX(dialog.cx, base), ToPixelsY(dialog.cy, base)};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    POINT place = {ToPixelsX(dialog.x, base), ToPixelsY(dialog.y, base)};
    if (!(style & WS_CHILD)) {
        const HWND owner = WindowManager::Instance().TopLevelOf(parent);
        if (style & DS_CENTER) {
            place.x = (platform::ui::ScreenWidth() - width) / 2;
            place.y = (platform::ui::ScreenHeight() - height) / 2;
        } else if (!(style & DS_ABSALIGN) && owner) {
            ClientToScreen(owner, &place);
        }
        // Kept on the screen, as Windows keeps dialogs.
        place.x = std::max(0, std::min<int>(place.x, platform::ui::ScreenWidth() - width));
        place.y = std::max(0, std::min<int>(place.y, platform::ui::ScreenHeight() - height));
    }
    return RECT{place.x, place.y, place.x + width, place.y + height};
}

bool LoadDialogTemplate(HINSTANCE module, LPCWSTR name, DialogTemplate& out)
{
    std::shared_ptr<const std::vector<BYTE>> bytes = FindResourceData(module, name, RT_DIALOG);
    if (!bytes) return false;
    return ReadDialogTemplate(bytes->data(), bytes->size(), out).ok;
}

HWND CreateDialogFromTemplate(const DialogTemplate& dialog, HINSTANCE instance, HWND parent, DLGPROC proc, LPARAM param)
{
    WindowManager& manager = WindowManager::Instance();
    if ((dialog.style & WS_CHILD) && !manager.Find(parent)) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    HFONT font = CreateTemplateFont(dialog);
    const SIZE base = DialogBaseUnitsOf(font);
    DWORD style = dialog.style & ~WS_VISIBLE;
    DWORD exStyle = dialog.exStyle;
    if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
    if (style & DS_CONTROL) {
        style &= ~(WS_CAPTION | WS_SYSMENU);
        exStyle |= WS_EX_CONTROLPARENT;
    }
    if (style & DS_SYSMODAL) exStyle |= WS_EX_TOPMOST;
    const RECT rect = DialogWindowRect(dialog, base, parent);
    LPCWSTR className = dialog.className.IsEmpty() ? WC_DIALOG : dialog.className.GetString();
    HWND hDlg = CreateWindowExW(exStyle, className, dialog.caption, style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent, nullptr, instance, reinterpret_cast<LPVOID>(param));
    if (!hDlg) {
        if (font) DeleteObject(font);
        return nullptr;
    }
    WindowState* window = manager.Find(hDlg);
    window->dialog.isDialog = true;
    window->dialog.dlgProc = proc;
    window->dialog.templateFont = font;
    window->dialog.baseUnitX = base.cx;
    window->dialog.baseUnitY = base.cy;
    if (font) SendMessageW(hDlg, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);

    HWND defaultButton = nullptr;
    for (const DialogItemTemplate& item : dialog.items) {
        LPCWSTR text = item.textOrdinal ? MAKEINTRESOURCE(item.textOrdinal) : item.text.GetString();
        HWND control = CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className, text, item.style | WS_CHILD,
                                       ToPixelsX(item.x, base), ToPixelsY(item.y, base), ToPixelsX(item.cx, base),
                                       ToPixelsY(item.cy, base), hDlg,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), instance,
                                       item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data()));
        if (!IsWindow(hDlg)) return nullptr;
        if (!control) {
            if (dialog.style & DS_NOFAILCREATE) continue;
            DestroyWindow(hDlg);
            return nullptr;
        }
        if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        // The last default push button of the template is the dialog's default.
        if (DialogCode(control) & DLGC_DEFPUSHBUTTON) {
            if (defaultButton) SendMessageW(defaultButton, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
            defaultButton = control;
            if (WindowState* state = manager.Find(hDlg)) state->dialog.defId = static_cast<UINT>(item.id);
        }
    }
    HWND first = GetNextDlgTabItem(hDlg, nullptr, FALSE);
    const LRESULT focusIt = SendMessageW(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(hDlg)) return nullptr;
    if (focusIt) {
        first = GetNextDlgTabItem(hDlg, nullptr, FALSE);
        if (first) SetDialogFocus(first);
    }
    window = manager.Find(hDlg);
    if (window && (dialog.style & WS_VISIBLE) && !window->dialog.ended) ShowWindow(hDlg, SW_SHOWNORMAL);
    return IsWindow(hDlg) ? hDlg : nullptr;
}

namespace {

// The modal dialogs whose loops run, the innermost last.
std::vector<HWND>& RunningModals()
{
    static auto* running = new std::vector<HWND>;
    return *running;
}

class RunningModalEntry {
public:
    explicit RunningModalEntry(HWND hDlg) : m_hDlg(hDlg) { RunningModals().push_back(hDlg); }
    ~RunningModalEntry()
    {
        std::vector<HWND>& running = RunningModals();
        auto at = std::find(running.rbegin(), running.rend(), m_hDlg);
        if (at != running.rend()) running.erase(std::next(at).base());
    }
    RunningModalEntry(const RunningModalEntry&) = delete;
    RunningModalEntry& operator=(const RunningModalEntry&) = delete;

private:
    HWND m_hDlg;
};

// Whether `owner` owns `hwnd`, directly or through a chain of owners.
bool IsOwnedBy(HWND hwnd, HWND owner)
{
    WindowManager& manager = WindowManager::Instance();
    // Bounded: a chain of owners never loops back, but a bad one must not hang.
    for (size_t depth = 0; depth <= manager.TopLevelWindows().size(); ++depth) {
        WindowState* window = manager.Find(hwnd);
        if (!window || !window->owner) return false;
        hwnd = manager.TopLevelOf(window->owner);
        if (hwnd == owner) return true;
    }
    return false;
}

// The innermost running modal dialog that `owner` owns; null when none.
HWND InnermostModalOf(HWND owner)
{
    const std::vector<HWND>& running = RunningModals();
    for (auto it = running.rbegin(); it != running.rend(); ++it)
        if (WindowManager::Instance().Find(*it) && IsOwnedBy(*it, owner)) return *it;
    return nullptr;
}

}  // namespace

HWND RunningModalDialog()
{
    const std::vector<HWND>& running = RunningModals();
    for (auto it = running.rbegin(); it != running.rend(); ++it)
        if (WindowManager::Instance().Find(*it)) return *it;
    return nullptr;
}

bool OwnsRunningModal(HWND hwnd)
{
    const HWND top = WindowManager::Instance().TopLevelOf(hwnd);
    return top && InnermostModalOf(top) != nullptr;
}

HWND ModalOwnerFor(HWND window)
{
    HWND owner = WindowManager::Instance().TopLevelOf(window);
    if (!owner || IsWindowEnabled(owner)) return owner;
    // Already held by a modal loop: the pop-up that runs on it is the one
    // the person works in, and the one to hold now.
    if (HWND running = InnermostModalOf(owner)) return running;
    return owner;
}

bool RunModalLoop(HWND hDlg)
{
    RunningModalEntry entry(hDlg);
    auto ended = [hDlg]() {
        WindowState* window = WindowManager::Instance().Find(hDlg);
        return !window || window->dialog.ended;
    };
    if (!ended()) {
        detail::RunModalLoopHook(hDlg);
    }
    // What the driver posted still reaches the dialog, as the modal loop
    // would have dispatched it.
    for (int count = 0; !ended() && count < platform::ui::kMaxPumpedMessages; ++count) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) break;
        if (!detail::PumpOneMessage()) {
            PostQuitMessage(QuitExitCode());
            return false;
        }
    }
    return true;
}

namespace detail {

void DialogFocusChanged(HWND newFocus)
{
    WindowManager& manager = WindowManager::Instance();
    WindowState* control = manager.Find(newFocus);
    if (!control || !(control->style & WS_CHILD)) return;
    WindowState* parent = manager.Find(control->parent);
    if (!parent || !parent->dialog.isDialog) return;
    SetDefaultButton(NavigationRoot(parent->hwnd), newFocus);
}

}  // namespace detail

}  // namespace platform::ui

using platform::ui::DialogWindow;

HWND CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc,
                                LPARAM dwInitParam)
{
    if (!lpTemplate) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    platform::ui::DialogTemplate dialog;
    // The bytes carry no length: the reader may look as far as a template
    // with the most items and longest strings could reach.
    const size_t kLargestTemplate = 0x10000 * 64;
    if (!platform::ui::ReadDialogTemplate(reinterpret_cast<const BYTE*>(lpTemplate), kLargestTemplate, dialog).ok) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return platform::ui::CreateDialogFromTemplate(dialog, hInstance, hWndParent, lpDialogFunc, dwInitParam);
}

HWND CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam)
{
    platform::ui::DialogTemplate dialog;
    if (!platform::ui::LoadDialogTemplate(hInstance, lpTemplateName, dialog)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return platform::ui::CreateDialogFromTemplate(dialog, hInstance, hWndParent, lpDialogFunc, dwInitParam);
}

namespace {

INT_PTR RunDialogBox(const platform::ui::DialogTemplate& source, HINSTANCE hInstance, HWND hWndParent, DLGPROC proc,
                     LPARAM param)
{
    platform::ui::DialogTemplate dialog = source;
    dialog.style &= ~WS_CHILD;
    const HWND owner = platform::ui::ModalOwnerFor(hWndParent);
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    dialog.style &= ~WS_VISIBLE;
    HWND hDlg = platform::ui::CreateDialogFromTemplate(dialog, hInstance, owner, proc, param);
    INT_PTR result = -1;
    if (hDlg) {
        WindowState* window = WindowManager::Instance().Find(hDlg);
        if (window && !window->dialog.ended) ShowWindow(hDlg, SW_SHOWNORMAL);
        platform::ui::RunModalLoop(hDlg);
        window = WindowManager::Instance().Find(hDlg);
        result = window ? (window->dialog.ended ? window->dialog.result : IDCANCEL) : IDCANCEL;
    }
    if (disableOwner) EnableWindow(owner, TRUE);
    if (IsWindow(hDlg)) DestroyWindow(hDlg);
    return result;
}

}  // namespace

INT_PTR DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATE hDialogTemplate, HWND hWndParent,
                                DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    if (!hDialogTemplate) return -1;
    platform::ui::DialogTemplate dialog;
    const size_t kLargestTemplate = 0x10000 * 64;
    if (!platform::ui::ReadDialogTemplate(reinterpret_cast<const BYTE*>(hDialogTemplate), kLargestTemplate, dialog).ok)
        return -1;
    return RunDialogBox(dialog, hInstance, hWndParent, lpDialogFunc, dwInitParam);
}

INT_PTR DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam)
{
    platform::ui::DialogTemplate dialog;
    if (!platform::ui::LoadDialogTemplate(hInstance, lpTemplateName, dialog)) return -1;
    return RunDialogBox(dialog, hInstance, hWndParent, lpDialogFunc, dwInitParam);
}

LRESULT DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    WindowState* dialog = DialogWindow(hDlg);
    if (dialog && dialog->dialog.dlgProc) {
        DLGPROC proc = dialog->dialog.dlgProc;
        dialog->dialog.msgResult = 0;
        const INT_PTR handled = proc(hDlg, Msg, wParam, lParam);
        dialog = DialogWindow(hDlg);
        if (!dialog) return handled;
        if (handled) return platform::ui::AnswersDirectly(Msg) ? handled : dialog->dialog.msgResult;
    }
    return platform::ui::DialogDefaults(hDlg, Msg, wParam, lParam);
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult)
{
    WindowState* dialog = DialogWindow(hDlg);
    if (!dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    dialog->dialog.ended = true;
    dialog->dialog.result = nResult;
    // Windows hands the focus to the dialog itself and hides it.
    HWND focus = GetFocus();
    if (focus && IsChild(hDlg, focus)) SetFocus(hDlg);
    SetWindowPos(hDlg, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    return TRUE;
}

BOOL IsDialogMessageW(HWND hDlg, LPMSG lpMsg)
{
    if (!lpMsg || !IsWindow(hDlg)) return FALSE;
    if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd)) return FALSE;
    hDlg = platform::ui::NavigationRoot(hDlg);
    switch (lpMsg->message) {
    case WM_KEYDOWN: {
        const UINT code = platform::ui::DialogCode(lpMsg->hwnd, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg));
        if (code & DLGC_WANTMESSAGE) break;
        switch (lpMsg->wParam) {
        case VK_TAB:
            if (code & DLGC_WANTTAB) break;
            SendMessageW(hDlg, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
            return TRUE;
        case VK_RIGHT:
        case VK_DOWN:
        case VK_LEFT:
        case VK_UP: {
            if (code & DLGC_WANTARROWS) break;
            const BOOL previous = lpMsg->wParam == VK_LEFT || lpMsg->wParam == VK_UP;
            HWND next = GetNextDlgGroupItem(hDlg, GetFocus(), previous);
            if (next) SendMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
            return TRUE;
        }
        case VK_CANCEL:
        case VK_ESCAPE:
            SendMessageW(hDlg, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
            return TRUE;
        case VK_EXECUTE:
        case VK_RETURN: platform::ui::PressReturn(hDlg); return TRUE;
        default: break;
        }
        break;
    }
    case WM_CHAR: {
        const UINT code = platform::ui::DialogCode(lpMsg->hwnd, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg));
        if (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) break;
        if (lpMsg->wParam == L'\t' && (code & DLGC_WANTTAB)) break;
        if (lpMsg->wParam == L'\t' || lpMsg->wParam == L'\r' || lpMsg->wParam == 0x1B) return TRUE;
        if (platform::ui::HandleMnemonic(hDlg, static_cast<wchar_t>(lpMsg->wParam))) return TRUE;
        break;
    }
    case WM_SYSCHAR:
        if (platform::ui::HandleMnemonic(hDlg, static_cast<wchar_t>(lpMsg->wParam))) return TRUE;
        break;
    default: break;
    }
    TranslateMessage(lpMsg);
    DispatchMessageW(lpMsg);
    return TRUE;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    WindowState* dialog = platform::ui::LookupWindow(hDlg);
    if (!dialog) return nullptr;
    for (HWND child : dialog->children)
        if (GetDlgCtrlID(child) == nIDDlgItem) return child;
    SetLastError(1421u);   // ERROR_CONTROL_ID_NOT_FOUND
    return nullptr;
}

namespace {

// The dialog control that is hCtl or holds it: the focus may sit in a
// control's own child (the edit inside a drop-down combo box), which stands
// for its control in the dialog's order.
HWND DialogControlOf(const std::vector<HWND>& controls, HWND hDlg, HWND hCtl)
{
    for (HWND window = hCtl; window && window != hDlg; window = GetParent(window))
        if (std::find(controls.begin(), controls.end(), window) != controls.end()) return window;
    return hCtl;
}

}  // namespace

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    if (!platform::ui::LookupWindow(hDlg)) return nullptr;
    std::vector<HWND> controls;
    platform::ui::CollectControls(hDlg, controls);
    if (controls.empty()) return nullptr;
    hCtl = DialogControlOf(controls, hDlg, hCtl);
    auto at = std::find(controls.begin(), controls.end(), hCtl);
    const int count = static_cast<int>(controls.size());
    const int start = at != controls.end() ? static_cast<int>(at - controls.begin()) : (bPrevious ? count : -1);
    HWND found = platform::ui::Cycle(controls, start, bPrevious != FALSE, [](HWND control) {
        return platform::ui::IsUsable(control) && platform::ui::HasStyle(control, WS_TABSTOP);
    });
    return found ? found : hCtl;
}

HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    if (!platform::ui::LookupWindow(hDlg)) return nullptr;
    std::vector<HWND> controls;
    platform::ui::CollectControls(hDlg, controls);
    if (controls.empty()) return nullptr;
    hCtl = DialogControlOf(controls, hDlg, hCtl);
    auto at = std::find(controls.begin(), controls.end(), hCtl);
    if (at == controls.end()) {
        auto first = std::find_if(controls.begin(), controls.end(), platform::ui::IsUsable);
        return first == controls.end() ? nullptr : *first;
    }
    // The group: from the nearest WS_GROUP control at or before hCtl up to
    // the next WS_GROUP control.
    int begin = static_cast<int>(at - controls.begin());
    while (begin > 0 && !platform::ui::HasStyle(controls[begin], WS_GROUP)) --begin;
    int end = static_cast<int>(at - controls.begin()) + 1;
    while (end < static_cast<int>(controls.size()) && !platform::ui::HasStyle(controls[end], WS_GROUP)) ++end;
    std::vector<HWND> group(controls.begin() + begin, controls.begin() + end);
    const int start = static_cast<int>(at - controls.begin()) - begin;
    HWND found = platform::ui::Cycle(group, start, bPrevious != FALSE, platform::ui::IsUsable);
    return found ? found : hCtl;
}

LRESULT SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    return control ? SendMessageW(control, Msg, wParam, lParam) : 0;
}

BOOL SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString)
{
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    return control ? SetWindowTextW(control, lpString) : FALSE;
}

UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax)
{
    if (lpString && cchMax > 0) lpString[0] = L'\0';
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    return control ? static_cast<UINT>(GetWindowTextW(control, lpString, cchMax)) : 0;
}

BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned)
{
    CString text;
    if (bSigned)
        text.Format(L"%d", static_cast<int>(uValue));
    else
        text.Format(L"%u", uValue);
    return SetDlgItemTextW(hDlg, nIDDlgItem, text);
}

UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned)
{
    if (lpTranslated) *lpTranslated = FALSE;
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    if (!control) return 0;
    const int length = GetWindowTextLengthW(control);
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    GetWindowTextW(control, text.data(), length + 1);
    const wchar_t* p = text.data();
    while (*p == L' ' || *p == L'\t') ++p;
    bool negative = false;
    if (bSigned && (*p == L'-' || *p == L'+')) negative = *p++ == L'-';
    if (*p < L'0' || *p > L'9') return 0;
    unsigned long long value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        value = value * 10 + static_cast<unsigned>(*p - L'0');
        if (value > 0xFFFFFFFFull) return 0;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    if (*p) return 0;
    if (bSigned) {
        const long long limit = negative ? static_cast<long long>(INT_MAX) + 1 : INT_MAX;
        if (static_cast<long long>(value) > limit) return 0;
        if (lpTranslated) *lpTranslated = TRUE;
        return static_cast<UINT>(negative ? -static_cast<long long>(value) : static_cast<long long>(value));
    }
    if (lpTranslated) *lpTranslated = TRUE;
    return static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck)
{
    HWND control = GetDlgItem(hDlg, nIDButton);
    if (!control) return FALSE;
    SendMessageW(control, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton)
{
    return static_cast<UINT>(SendDlgItemMessageW(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    if (!platform::ui::LookupWindow(hDlg)) return FALSE;
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        SendDlgItemMessageW(hDlg, id, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    return TRUE;
}

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect)
{
    WindowState* dialog = DialogWindow(hDlg);
    if (!dialog || !lpRect) return FALSE;
    const SIZE base = {dialog->dialog.baseUnitX, dialog->dialog.baseUnitY};
    lpRect->left = platform::ui::ToPixelsX(lpRect->left, base);
    lpRect->right = platform::ui::ToPixelsX(lpRect->right, base);
    lpRect->top = platform::ui::ToPixelsY(lpRect->top, base);
    lpRect->bottom = platform::ui::ToPixelsY(lpRect->bottom, base);
    return TRUE;
}
