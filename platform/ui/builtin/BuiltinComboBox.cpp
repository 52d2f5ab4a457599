// The "ComboBox" class, made as on Windows of a selection field, an "Edit"
// child with id 1001 (drop-down and simple combo boxes) and a list: a
// "ComboLBox" list box with id 1000, a pop-up that drops below the field
// (CBS_DROPDOWN, CBS_DROPDOWNLIST) or a child always shown under it
// (CBS_SIMPLE). The CB_ messages are the list's LB_ messages; the list and
// the edit report to the combo box, which tells its parent:
//
// - typing in the edit: CBN_EDITUPDATE, then CBN_EDITCHANGE (the list then
//   selects the first item the text begins with while it is down, and
//   nothing while it is up);
// - choosing in the list (a click on an item, the arrows, typing in a
//   drop-down list): the field takes the item's text, then CBN_SELCHANGE;
//   closing the list after a choice: CBN_SELENDOK, then CBN_CLOSEUP;
//   closing it without one: CBN_SELENDCANCEL, then CBN_CLOSEUP;
// - opening the list: CBN_DROPDOWN before it shows;
// - focus: CBN_SETFOCUS and CBN_KILLFOCUS for the combo box as a whole.
//
// The window is as high as its selection field; the height it is created
// or moved with is the height with the list down (CB_GETDROPPEDCONTROLRECT).
#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/builtin/ControlPaint.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/ControlSupport.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Rects.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

namespace {

const UINT kEditId = 1001;
const UINT kListId = 1000;
const int kBorder = 2;         // pixels of the sunken edge around the field
const int kFieldPadding = 8;   // pixels the field is higher than its text

struct ComboState : WindowExtra {
    HWND edit = nullptr;          // the edit child; null for a drop-down list
    HWND list = nullptr;
    HFONT font = nullptr;
    int droppedHeight = 0;        // pixels: the window's height with the list down
    int fieldHeight = 0;          // pixels: the selection field's, which is the window's height
    int droppedWidth = 0;         // CB_SETDROPPEDWIDTH; 0: as wide as the combo box
    bool dropped = false;
    bool focused = false;         // the combo box or its edit has the focus
    bool extendedUI = false;      // CB_SETEXTENDEDUI: the down arrow opens the list
    bool resizing = false;        // the combo box sets its own height
    bool pressed = false;         // the left button went down inside the dropped list
    int notified = -1;            // the selection the parent last heard of (CBN_SELCHANGE)
};

ComboState* State(HWND hwnd)
{
    return ControlState<ComboState>(hwnd);
}

DWORD Style(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

DWORD Kind(HWND hwnd)
{
    return Style(hwnd) & 3u;
}

bool IsSimple(HWND hwnd)
{
    return Kind(hwnd) == CBS_SIMPLE;
}

bool IsDropList(HWND hwnd)
{
    return Kind(hwnd) == CBS_DROPDOWNLIST;
}

LRESULT ToList(const ComboState& state, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return state.list ? SendMessageW(state.list, message, wParam, lParam) : CB_ERR;
}

int CurrentSelection(const ComboState& state)
{
    return static_cast<int>(ToList(state, LB_GETCURSEL));
}

std::wstring ItemText(const ComboState& state, int index)
{
    const LRESULT length = ToList(state, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length < 0) return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    ToList(state, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return std::wstring(buffer.data());
}

int ButtonWidth()
{
    return GetSystemMetrics(SM_CXVSCROLL);
}

RECT ButtonRect(HWND hwnd)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    ComboState* state = State(hwnd);
    const int height = state && !IsSimple(hwnd) ? state->fieldHeight : static_cast<int>(client.bottom);
    if (IsSimple(hwnd)) return RECT{client.right, 0, client.right, 0};
    return RECT{client.right - kBorder - ButtonWidth(), kBorder, client.right - kBorder, height - kBorder};
}

RECT FieldRect(HWND hwnd, const ComboState& state)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    const RECT button = ButtonRect(hwnd);
    return RECT{kBorder, kBorder, button.left, state.fieldHeight - kBorder};
}

// ---- sizes -------------------------------------------------------------------------------

int FontHeight(HFONT font)
{
    HDC hdc = CreateCompatibleDC(nullptr);
    if (!hdc) return 16;
    TEXTMETRICW metrics = {};
    {
        FontSelection selection(hdc, font);
        GetTextMetricsW(hdc, &metrics);
    }
    DeleteDC(hdc);
    return std::max<int>(1, metrics.tmHeight);
}

// Places the edit and the list of a simple combo box in the window.
void LayOutChildren(HWND hwnd)
{
    ComboState* state = State(hwnd);
    if (!state) return;
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    if (state->edit) {
        const RECT field = IsSimple(hwnd) ? RECT{kBorder, kBorder, client.right - kBorder, state->fieldHeight - kBorder}
                                          : FieldRect(hwnd, *state);
        MoveWindow(state->edit, field.left + 1, field.top + 1,
                   std::max(0, static_cast<int>(field.right - field.left) - 2),
                   std::max(0, static_cast<int>(field.bottom - field.top) - 2), TRUE);
    }
    if (IsSimple(hwnd) && state->list)
        MoveWindow(state->list, 0, state->fieldHeight, client.right,
                   std::max(0, static_cast<int>(client.bottom) - state->fieldHeight), TRUE);
}

// The window takes the field's height (the list's is kept for dropping).
void FitHeight(HWND hwnd)
{
    ComboState* state = State(hwnd);
    if (!state || IsSimple(hwnd)) return LayOutChildren(hwnd);
    RECT window = {0, 0, 0, 0};
    GetWindowRect(hwnd, &window);
    state->resizing = true;
    SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left, state->fieldHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (ComboState* after = State(hwnd)) after->resizing = false;
    LayOutChildren(hwnd);
}

void MeasureField(HWND hwnd)
{
    ComboState* state = State(hwnd);
    if (!state) return;
    int height = FontHeight(state->font);
    if (Style(hwnd) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
        // The owner sizes the selection field: item -1.
        MEASUREITEMSTRUCT measure = {ODT_COMBOBOX, static_cast<UINT>(GetDlgCtrlID(hwnd)), static_cast<UINT>(-1), 0,
                                     static_cast<UINT>(height), 0};
        if (HWND parent = GetParent(hwnd))
            SendMessageW(parent, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
        state = State(hwnd);
        if (!state) return;
        height = std::max(1, static_cast<int>(measure.itemHeight));
    }
    state->fieldHeight = height + kFieldPadding;
}

// ---- notifications -----------------------------------------------------------------------

void Notify(HWND hwnd, UINT code)
{
    NotifyParent(hwnd, code);
}

// The field shows the list's selection.
void ShowSelection(HWND hwnd)
{
    ComboState* state = State(hwnd);
    if (!state) return;
    if (state->edit) {
        const int index = CurrentSelection(*state);
        const std::wstring text = index >= 0 ? ItemText(*state, index) : std::wstring();
        SetWindowTextW(state->edit, text.c_str());
        state = State(hwnd);
        if (!state) return;
        if (state->focused) SendMessageW(state->edit, EM_SETSEL, 0, -1);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
}

// The user's choice reached the list: the field follows and the parent hears of it.
void SelectionChanged(HWND hwnd)
{
    ShowSelection(hwnd);
    ComboState* state = State(hwnd);
    if (!state) return;
    state->notified = CurrentSelection(*state);
    Notify(hwnd, CBN_SELCHANGE);
}

// ---- the list going down and up ----------------------------------------------------------

void DropDown(HWND hwnd)
{
    ComboState* state = State(hwnd);
    if (!state || state->dropped || IsSimple(hwnd) || !state->list) return;
    Notify(hwnd, CBN_DROPDOWN);
    state = State(hwnd);
    if (!state || state->dropped) return;
    RECT window = {0, 0, 0, 0};
    GetWindowRect(hwnd, &window);
    const int itemHeight = static_cast<int>(ToList(*state, LB_GETITEMHEIGHT, 0));
    const int width = std::max(static_cast<int>(window.right - window.left), state->droppedWidth);
    const int height = std::max(state->droppedHeight - state->fieldHeight, itemHeight + 2);
    int top = window.bottom;
    // A list that would leave the screen drops upwards instead.
    if (top + height > platform::ui::ScreenHeight() && window.top - height >= 0) top = window.top - height;
    state->dropped = true;
    state->pressed = false;
    state->notified = CurrentSelection(*state);
    const int selected = CurrentSelection(*state);
    if (selected >= 0) ToList(*state, LB_SETTOPINDEX, static_cast<WPARAM>(selected));
    SetWindowPos(state->list, HWND_TOPMOST, window.left, top, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    state = State(hwnd);
    if (!state) return;
    SetCapture(state->list);
    InvalidateRect(hwnd, nullptr, TRUE);
}

// Closes the list: with `accept` the selection stands (CBN_SELENDOK), else it was not chosen (CBN_SELENDCANCEL).
void CloseUp(HWND hwnd, bool accept)
{
    ComboState* state = State(hwnd);
    if (!state || !state->dropped) return;
    if (accept && CurrentSelection(*state) != state->notified) {
        SelectionChanged(hwnd);
        state = State(hwnd);
        if (!state || !state->dropped) return;
    }
    Notify(hwnd, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    state = State(hwnd);
    if (!state || !state->dropped) return;
    state->dropped = false;
    state->pressed = false;
    if (GetCapture() == state->list) ReleaseCapture();
    ShowWindow(state->list, SW_HIDE);
    InvalidateRect(hwnd, nullptr, TRUE);
    Notify(hwnd, CBN_CLOSEUP);
}

void ToggleDropDown(HWND hwnd)
{
    ComboState* state = State(hwnd);
    if (!state) return;
    if (state->dropped)
        CloseUp(hwnd, true);
    else
        DropDown(hwnd);
}

// ---- the pop-up list ---------------------------------------------------------------------

WNDPROC ListBoxProc()
{
    static WNDPROC proc = nullptr;
    if (!proc)
        if (WindowClassInfo* info = FindWindowClass(WC_LISTBOX)) proc = info->proc;
    return proc;
}

HWND ComboOfList(HWND list)
{
    auto combo = reinterpret_cast<HWND>(GetWindowLongPtrW(list, GWLP_USERDATA));
    return IsWindow(combo) ? combo : nullptr;
}

bool InsideClient(HWND hwnd, POINT point)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    return RectContains(client, point);
}

// The list of a dropped combo box tracks the mouse with its selection and
// closes on a release over an item or a press outside.
LRESULT ComboListWndProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC listBox = ListBoxProc();
    if (!listBox) return DefWindowProcW(list, message, wParam, lParam);
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (cs) SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    HWND combo = ComboOfList(list);
    ComboState* state = combo ? State(combo) : nullptr;
    if (!state || !state->dropped || IsSimple(combo)) {
        if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
        return CallWindowProcW(listBox, list, message, wParam, lParam);
    }
    const POINT point = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    switch (message) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_MOUSEMOVE: {
        if (!InsideClient(list, point)) return 0;
        const LRESULT hit = CallWindowProcW(listBox, list, LB_ITEMFROMPOINT, 0, lParam);
        // The highlight follows the mouse; the choice is made on release.
        if (!HIWORD(hit)) CallWindowProcW(listBox, list, LB_SETCURSEL, LOWORD(hit), 0);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!InsideClient(list, point)) {
            CloseUp(combo, false);
            return 0;
        }
        state->pressed = true;
        SendMessageW(list, WM_MOUSEMOVE, wParam, lParam);
        return 0;
    case WM_LBUTTONUP: {
        if (!InsideClient(list, point)) return 0;
        const LRESULT hit = CallWindowProcW(listBox, list, LB_ITEMFROMPOINT, 0, lParam);
        if (HIWORD(hit)) return 0;
        CallWindowProcW(listBox, list, LB_SETCURSEL, LOWORD(hit), 0);
        CloseUp(combo, true);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != list) CloseUp(combo, false);
        return 0;
    default: return CallWindowProcW(listBox, list, message, wParam, lParam);
    }
}

// ---- creation ----------------------------------------------------------------------------

DWORD ListStyle(DWORD comboStyle, bool simple)
{
    DWORD style = LBS_NOTIFY | LBS_COMBOBOX | WS_VSCROLL | (simple ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_BORDER);
    if (comboStyle & CBS_SORT) style |= LBS_SORT;
    if (comboStyle & CBS_HASSTRINGS) style |= LBS_HASSTRINGS;
    if (comboStyle & CBS_OWNERDRAWFIXED) style |= LBS_OWNERDRAWFIXED;
    if (comboStyle & CBS_OWNERDRAWVARIABLE) style |= LBS_OWNERDRAWVARIABLE;
    if (comboStyle & CBS_DISABLENOSCROLL) style |= LBS_DISABLENOSCROLL;
    if (simple) style |= LBS_NOINTEGRALHEIGHT;
    return style;
}

DWORD EditStyle(DWORD comboStyle)
{
    DWORD style = WS_CHILD | WS_VISIBLE | ES_LEFT;
    if (comboStyle & CBS_AUTOHSCROLL) style |= ES_AUTOHSCROLL;
    if (comboStyle & CBS_UPPERCASE) style |= ES_UPPERCASE;
    if (comboStyle & CBS_LOWERCASE) style |= ES_LOWERCASE;
    if (comboStyle & WS_DISABLED) style |= WS_DISABLED;
    return style;
}

LRESULT Create(HWND hwnd, const CREATESTRUCTW* cs)
{
    ComboState* state = State(hwnd);
    if (!state || !cs) return -1;
    const DWORD style = Style(hwnd);
    const bool simple = IsSimple(hwnd);
    state->droppedHeight = cs->cy;
    MeasureField(hwnd);
    state = State(hwnd);
    if (!state) return -1;
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    HWND list = CreateWindowExW(simple ? WS_EX_CLIENTEDGE : WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WC_COMBOLBOX, nullptr,
                                ListStyle(style, simple), 0, state->fieldHeight, client.right,
                                std::max(0, cs->cy - state->fieldHeight), hwnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kListId)), cs->hInstance, hwnd);
    state = State(hwnd);
    if (!state || !list) return -1;
    state->list = list;
    if (!IsDropList(hwnd)) {
        HWND edit = CreateWindowExW(0, WC_EDIT, nullptr, EditStyle(style), 0, 0, 0, 0, hwnd,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditId)), cs->hInstance, nullptr);
        state = State(hwnd);
        if (!state || !edit) return -1;
        state->edit = edit;
        // The window's own text starts in the edit.
        if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName) && *cs->lpszName) SetWindowTextW(edit, cs->lpszName);
    }
    FitHeight(hwnd);
    return 0;
}

void SetFont(HWND hwnd, HFONT font, bool redraw)
{
    ComboState* state = State(hwnd);
    if (!state) return;
    state->font = font;
    if (state->edit) SendMessageW(state->edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    state = State(hwnd);
    if (!state) return;
    if (state->list) SendMessageW(state->list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!(Style(hwnd) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) MeasureField(hwnd);
    FitHeight(hwnd);
    if (redraw) InvalidateRect(hwnd, nullptr, TRUE);
}

// ---- focus -------------------------------------------------------------------------------

void FocusGained(HWND hwnd)
{
    ComboState* state = State(hwnd);
    if (!state || state->focused) return;
    state->focused = true;
    if (state->edit) SendMessageW(state->edit, EM_SETSEL, 0, -1);
    InvalidateRect(hwnd, nullptr, TRUE);
    Notify(hwnd, CBN_SETFOCUS);
}

// The focus left for `next`; the combo box loses it unless `next` is one of its own.
void FocusLost(HWND hwnd, HWND next)
{
    ComboState* state = State(hwnd);
    if (!state || !state->focused) return;
    if (next && (next == hwnd || next == state->edit || next == state->list)) return;
    state->focused = false;
    CloseUp(hwnd, false);
    InvalidateRect(hwnd, nullptr, TRUE);
    Notify(hwnd, CBN_KILLFOCUS);
}

// ---- input -------------------------------------------------------------------------------

// Sends the list a key as its own, which it answers with LBN_SELCHANGE when the selection moves.
void ListKey(HWND hwnd, UINT vk)
{
    ComboState* state = State(hwnd);
    if (state && state->list) SendMessageW(state->list, WM_KEYDOWN, vk, 0);
}

void KeyDown(HWND hwnd, UINT message, UINT vk)
{
    ComboState* state = State(hwnd);
    if (!state) return;
    const bool alt = message == WM_SYSKEYDOWN;
    if (vk == VK_F4 || (alt && (vk == VK_DOWN || vk == VK_UP))) return ToggleDropDown(hwnd);
    if (state->dropped) {
        if (vk == VK_RETURN) return CloseUp(hwnd, true);
        if (vk == VK_ESCAPE) return CloseUp(hwnd, false);
    }
    if (!state->dropped && state->extendedUI && vk == VK_DOWN && !IsSimple(hwnd)) return DropDown(hwnd);
    const bool listKey = vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT;
    // Home and End belong to the edit of a drop-down combo box.
    const bool fieldKey = (vk == VK_HOME || vk == VK_END) && !state->edit;
    if (listKey || fieldKey) ListKey(hwnd, vk);
}

void ButtonDown(HWND hwnd, LPARAM lParam)
{
    ComboState* state = State(hwnd);
    if (!state) return;
    if (!state->focused) {
        SetFocus(hwnd);
        state = State(hwnd);
        if (!state) return;
    }
    const POINT point = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    if (IsSimple(hwnd)) return;
    if (IsDropList(hwnd) || RectContains(ButtonRect(hwnd), point)) ToggleDropDown(hwnd);
}

void ListCommand(HWND hwnd, UINT code)
{
    ComboState* state = State(hwnd);
    if (!state) return;
    if (code == LBN_SELCHANGE) {
        // Keys move the selection at once; a click in the dropped list is taken on release.
        SelectionChanged(hwnd);
        return;
    }
    if (code == LBN_DBLCLK) Notify(hwnd, CBN_DBLCLK);
}

// The list follows typing in the edit: the first item the text begins
// with while the list is down, no selection while it is up.
void MatchEditText(HWND hwnd)
{
    ComboState* state = State(hwnd);
    if (!state || !state->edit) return;
    const std::wstring text = WindowText(state->edit).GetString();
    LRESULT index =
        text.empty() ? LB_ERR
                     : ToList(*state, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) ToList(*state, LB_SETTOPINDEX, static_cast<WPARAM>(index));
    if (!state->dropped) index = -1;
    ToList(*state, LB_SETCURSEL, static_cast<WPARAM>(index));
    if (ComboState* after = State(hwnd)) after->notified = static_cast<int>(index);
}

void EditCommand(HWND hwnd, UINT code)
{
    switch (code) {
    case EN_UPDATE: Notify(hwnd, CBN_EDITUPDATE); return;
    case EN_CHANGE:
        MatchEditText(hwnd);
        Notify(hwnd, CBN_EDITCHANGE);
        return;
    case EN_SETFOCUS: FocusGained(hwnd); return;
    case EN_KILLFOCUS: FocusLost(hwnd, GetFocus()); return;
    case EN_ERRSPACE:
    case EN_MAXTEXT: return;
    default: return;
    }
}

void Command(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    ComboState* state = State(hwnd);
    if (!state) return;
    HWND from = reinterpret_cast<HWND>(lParam);
    if (from && from == state->list) return ListCommand(hwnd, HIWORD(wParam));
    if (from && from == state->edit) return EditCommand(hwnd, HIWORD(wParam));
}

// ---- painting ----------------------------------------------------------------------------

void PaintButton(HWND hwnd, HDC hdc, const ComboState& state)
{
    RECT button = ButtonRect(hwnd);
    FillRect(hdc, &button, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(hdc, &button, state.dropped ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    // The arrow: a small triangle pointing down in the middle.
    const int cx = (button.left + button.right) / 2 + (state.dropped ? 1 : 0);
    const int cy = (button.top + button.bottom) / 2 + (state.dropped ? 1 : 0);
    const COLORREF ink = GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    for (int row = 0; row < 4; ++row) {
        const RECT stroke = {cx - 3 + row, cy - 2 + row, cx + 4 - row, cy - 1 + row};
        HBRUSH brush = CreateSolidBrush(ink);
        FillRect(hdc, &stroke, brush);
        DeleteObject(brush);
    }
}

void PaintOwnerField(HWND hwnd, HDC hdc, const ComboState& state, const RECT& field)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_COMBOBOX;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    item.itemID = static_cast<UINT>(CurrentSelection(state));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ODS_COMBOBOXEDIT;
    if (state.focused && !state.dropped) item.itemState |= ODS_SELECTED | ODS_FOCUS;
    if (!IsWindowEnabled(hwnd)) item.itemState |= ODS_DISABLED;
    item.hwndItem = hwnd;
    item.hDC = hdc;
    item.rcItem = field;
    if (static_cast<int>(item.itemID) >= 0)
        item.itemData = static_cast<ULONG_PTR>(ToList(state, LB_GETITEMDATA, item.itemID));
    if (HWND parent = GetParent(hwnd)) SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void PaintField(HWND hwnd, HDC hdc, const ComboState& state, RECT field)
{
    InflateRect(&field, -1, -1);
    if (Style(hwnd) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) return PaintOwnerField(hwnd, hdc, state, field);
    const int index = CurrentSelection(state);
    const bool highlight = state.focused && !state.dropped;
    if (highlight) {
        FillRect(hdc, &field, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else if (!IsWindowEnabled(hwnd)) {
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    }
    if (index >= 0) {
        const std::wstring text = ItemText(state, index);
        RECT label = field;
        label.left += 1;
        SetBkMode(hdc, TRANSPARENT);
        DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &label,
                  DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (highlight) DrawFocusRect(hdc, &field);
}

void Paint(HWND hwnd)
{
    ControlPaint paint(hwnd);
    ComboState* state = State(hwnd);
    if (!paint || !state) return;
    const HDC hdc = paint.Dc();
    const RECT& client = paint.Client();
    paint.SelectFont(state->font);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const UINT colorMessage = !enabled ? WM_CTLCOLORSTATIC : (state->edit ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX);
    const HBRUSH brush = ControlColors(hwnd, hdc, colorMessage);
    state = State(hwnd);
    if (state) {
        RECT frame = {0, 0, client.right, IsSimple(hwnd) ? state->fieldHeight : client.bottom};
        FillRect(hdc, &frame, brush);
        DrawEdge(hdc, &frame, EDGE_SUNKEN, BF_RECT);
        if (!IsSimple(hwnd)) PaintButton(hwnd, hdc, *state);
        if (!state->edit) PaintField(hwnd, hdc, *state, FieldRect(hwnd, *state));
    }
}

// ---- messages ----------------------------------------------------------------------------

LRESULT SetCurSel(HWND hwnd, int index)
{
    ComboState* state = State(hwnd);
    if (!state) return CB_ERR;
    const int count = static_cast<int>(ToList(*state, LB_GETCOUNT));
    // An index outside the list removes the selection and answers CB_ERR.
    const bool valid = index >= 0 && index < count;
    ToList(*state, LB_SETCURSEL, static_cast<WPARAM>(valid ? index : -1));
    state->notified = valid ? index : -1;
    ShowSelection(hwnd);
    return valid ? index : CB_ERR;
}

LRESULT SelectString(HWND hwnd, int start, LPARAM text)
{
    ComboState* state = State(hwnd);
    if (!state) return CB_ERR;
    const LRESULT found = ToList(*state, LB_FINDSTRING, static_cast<WPARAM>(start), text);
    if (found < 0) return CB_ERR;
    return SetCurSel(hwnd, static_cast<int>(found));
}

LRESULT GetText(HWND hwnd, const ComboState& state, WPARAM capacity, LPARAM lParam)
{
    if (state.edit) return SendMessageW(state.edit, WM_GETTEXT, capacity, lParam);
    auto* buffer = reinterpret_cast<wchar_t*>(lParam);
    if (!buffer || capacity == 0) return 0;
    const int index = CurrentSelection(state);
    const std::wstring text = index >= 0 ? ItemText(state, index) : std::wstring();
    (void)hwnd;
    const size_t count = std::min(text.size(), static_cast<size_t>(capacity) - 1);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(count), buffer);
    buffer[count] = L'\0';
    return static_cast<LRESULT>(count);
}

LRESULT SetText(HWND hwnd, ComboState& state, LPARAM lParam)
{
    if (state.edit) return SendMessageW(state.edit, WM_SETTEXT, 0, lParam);
    // A drop-down list can only show one of its items.
    const LRESULT found = ToList(state, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam);
    if (found < 0) return CB_ERR;
    SetCurSel(hwnd, static_cast<int>(found));
    return TRUE;
}

LRESULT DroppedRect(HWND hwnd, const ComboState& state, LPARAM lParam)
{
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (!rect) return CB_ERR;
    GetWindowRect(hwnd, rect);
    if (!IsSimple(hwnd)) rect->bottom = rect->top + std::max(state.droppedHeight, state.fieldHeight);
    rect->right = rect->left + std::max(static_cast<int>(rect->right - rect->left), state.droppedWidth);
    return TRUE;
}

LRESULT SetItemHeight(HWND hwnd, ComboState& state, int index, int height)
{
    if (height <= 0 || height > 255) return CB_ERR;
    if (index == -1) {
        state.fieldHeight = height + kFieldPadding;
        FitHeight(hwnd);
        return 0;
    }
    return ToList(state, LB_SETITEMHEIGHT, static_cast<WPARAM>(index), height);
}

LRESULT ComboMessage(HWND hwnd, ComboState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (message) {
    case CB_ADDSTRING: return ToList(state, LB_ADDSTRING, 0, lParam);
    case CB_INSERTSTRING: return ToList(state, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING: {
        const LRESULT result = ToList(state, LB_DELETESTRING, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case CB_RESETCONTENT:
        ToList(state, LB_RESETCONTENT);
        if (ComboState* after = State(hwnd)) {
            after->notified = -1;
            if (after->edit) SetWindowTextW(after->edit, L"");
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        return CB_OKAY;
    case CB_GETCOUNT: return ToList(state, LB_GETCOUNT);
    case CB_GETLBTEXT: return ToList(state, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN: return ToList(state, LB_GETTEXTLEN, wParam);
    case CB_GETITEMDATA: return ToList(state, LB_GETITEMDATA, wParam);
    case CB_SETITEMDATA: return ToList(state, LB_SETITEMDATA, wParam, lParam) < 0 ? CB_ERR : TRUE;
    case CB_FINDSTRING: return ToList(state, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT: return ToList(state, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING: return SelectString(hwnd, index, lParam);
    case CB_SETCURSEL: return SetCurSel(hwnd, index);
    case CB_GETCURSEL: return CurrentSelection(state);
    case CB_LIMITTEXT:
        if (state.edit) SendMessageW(state.edit, EM_LIMITTEXT, wParam, 0);
        return TRUE;
    case CB_SETEDITSEL:
        if (!state.edit) return CB_ERR;
        SendMessageW(state.edit, EM_SETSEL,
                     static_cast<WPARAM>(static_cast<INT_PTR>(static_cast<SHORT>(LOWORD(lParam)))),
                     static_cast<SHORT>(HIWORD(lParam)));
        return TRUE;
    case CB_GETEDITSEL: return state.edit ? SendMessageW(state.edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SHOWDROPDOWN:
        if (wParam)
            DropDown(hwnd);
        else
            CloseUp(hwnd, false);
        return TRUE;
    case CB_GETDROPPEDSTATE: return state.dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: return DroppedRect(hwnd, state, lParam);
    case CB_SETITEMHEIGHT: return SetItemHeight(hwnd, state, index, static_cast<int>(lParam));
    case CB_GETITEMHEIGHT:
        return index == -1 ? state.fieldHeight - kFieldPadding : ToList(state, LB_GETITEMHEIGHT, wParam);
    case CB_SETEXTENDEDUI: state.extendedUI = wParam != 0; return CB_OKAY;
    case CB_GETEXTENDEDUI: return state.extendedUI ? TRUE : FALSE;
    case CB_GETTOPINDEX: return ToList(state, LB_GETTOPINDEX);
    case CB_SETTOPINDEX: return ToList(state, LB_SETTOPINDEX, wParam) < 0 ? CB_ERR : 0;
    case CB_GETHORIZONTALEXTENT: return ToList(state, LB_GETHORIZONTALEXTENT);
    case CB_SETHORIZONTALEXTENT: ToList(state, LB_SETHORIZONTALEXTENT, wParam); return 0;
    case CB_GETDROPPEDWIDTH: {
        RECT window = {0, 0, 0, 0};
        GetWindowRect(hwnd, &window);
        return std::max(static_cast<int>(window.right - window.left), state.droppedWidth);
    }
    case CB_SETDROPPEDWIDTH:
        state.droppedWidth = index;
        return ComboMessage(hwnd, state, CB_GETDROPPEDWIDTH, 0, 0);
    case CB_INITSTORAGE: return ToList(state, LB_INITSTORAGE, wParam, lParam);
    default: return CB_ERR;
    }
}

LRESULT DialogCode(HWND hwnd, LPARAM lParam)
{
    ComboState* state = State(hwnd);
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    // With its list down the combo box takes Return and Escape to close it.
    if (state && state->dropped && msg && msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
    return code;
}

void WindowPosChanging(HWND hwnd, WINDOWPOS* pos)
{
    ComboState* state = State(hwnd);
    if (!state || !pos || IsSimple(hwnd) || state->resizing || (pos->flags & SWP_NOSIZE)) return;
    // The height asked for is the height with the list down; the window stays as high as its field.
    if (pos->cy != state->fieldHeight) state->droppedHeight = pos->cy;
    pos->cy = state->fieldHeight;
}

LRESULT ComboWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ComboState* state = State(hwnd);
    if (!state) return 0;
    if (message >= CB_GETEDITSEL && message <= CB_INITSTORAGE)
        return ComboMessage(hwnd, *state, message, wParam, lParam);
    switch (message) {
    case WM_NCCREATE:
        // The scroll styles a template gives a combo box are meant for its
        // list, which always scrolls: the field itself has no bar to show.
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(Style(hwnd) & ~(WS_VSCROLL | WS_HSCROLL)));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_CREATE: return Create(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        if (state->list && !IsSimple(hwnd)) {
            HWND list = state->list;
            state->list = nullptr;
            state->dropped = false;
            DestroyWindow(list);
        }
        return 0;
    case WM_GETDLGCODE: return DialogCode(hwnd, lParam);
    case WM_ERASEBKGND: return 1;   // the field paints its own background
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_SETFONT: SetFont(hwnd, reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT: return SetText(hwnd, *state, lParam);
    case WM_GETTEXT: return GetText(hwnd, *state, wParam, lParam);
    case WM_GETTEXTLENGTH: {
        if (state->edit) return SendMessageW(state->edit, WM_GETTEXTLENGTH, 0, 0);
        const int selected = CurrentSelection(*state);
        return selected >= 0 ? ToList(*state, LB_GETTEXTLEN, static_cast<WPARAM>(selected)) : 0;
    }
    case WM_WINDOWPOSCHANGING: WindowPosChanging(hwnd, reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
    case WM_SIZE: LayOutChildren(hwnd); return 0;
    case WM_ENABLE:
        if (state->edit) EnableWindow(state->edit, static_cast<BOOL>(wParam));
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:
        // A drop-down combo box hands the focus to its edit.
        if (state->edit) {
            SetFocus(state->edit);
            return 0;
        }
        FocusGained(hwnd);
        return 0;
    case WM_KILLFOCUS:
        if (!state->edit) FocusLost(hwnd, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: ButtonDown(hwnd, lParam); return 0;
    case WM_SYSKEYDOWN:
        // Alt+Up and Alt+Down open and close the list; any other system key
        // is the window's (Alt+F4 closes the dialog, only a plain F4 opens
        // the list).
        if (wParam != VK_DOWN && wParam != VK_UP) return DefWindowProcW(hwnd, message, wParam, lParam);
        KeyDown(hwnd, message, static_cast<UINT>(wParam));
        return 0;
    case WM_KEYDOWN:
        KeyDown(hwnd, message, static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
        if (!state->edit && state->list) SendMessageW(state->list, WM_CHAR, wParam, lParam);
        return 0;
    case WM_COMMAND: Command(hwnd, wParam, lParam); return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: {
        // The parent colours the edit and the list as parts of the combo box.
        HWND parent = GetParent(hwnd);
        LRESULT brush = parent ? SendMessageW(parent, message, wParam, lParam) : 0;
        return brush ? brush : DefWindowProcW(hwnd, message, wParam, lParam);
    }
    case WM_MOUSEWHEEL:
        if (state->dropped) return SendMessageW(state->list, message, wParam, lParam);
        ListKey(hwnd, static_cast<SHORT>(HIWORD(wParam)) > 0 ? VK_UP : VK_DOWN);
        return 0;
    case WM_CANCELMODE: CloseUp(hwnd, false); return 0;
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        // The clipboard works on the edit of a drop-down combo box.
        return state->edit ? SendMessageW(state->edit, message, wParam, lParam) : 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const SystemClass s_comboClass(WC_COMBOBOX, &ComboWndProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW,
                               IDC_ARROW, 0, 0);
const SystemClass s_comboListClass(WC_COMBOLBOX, &ComboListWndProc, CS_DBLCLKS | CS_SAVEBITS, IDC_ARROW, 0, 0);

}  // namespace

}  // namespace platform::ui
