// The "ListBox" class: a list of strings (or, owner-drawn without
// LBS_HASSTRINGS, of item data) with single, multiple (LBS_MULTIPLESEL) or
// extended (LBS_EXTENDEDSEL) selection, sorted insertion (LBS_SORT), the
// LB_ messages, the mouse and the keyboard, and owner-drawn items
// (WM_MEASUREITEM, WM_DRAWITEM, WM_COMPAREITEM, WM_DELETEITEM).
//
// As on Windows the parent hears only of what the user does, and only with
// LBS_NOTIFY: LBN_SELCHANGE, LBN_DBLCLK, LBN_SETFOCUS, LBN_KILLFOCUS.
// Setting the selection with a message is silent.
//
// A list box with LBS_COMBOBOX is the list of a combo box (given as the
// creation parameter): it talks to the combo box instead of its parent, and
// its owner-drawn items are the combo box's (ODT_COMBOBOX).
#include <algorithm>
#include <cwctype>
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

const DWORD kSearchTimeout = 1000;   // milliseconds between typed characters of one search
const int kTextIndent = 2;           // pixels left of an item's text
const int kWheelLines = 3;           // items one wheel notch scrolls

struct ListItem {
    std::wstring text;
    ULONG_PTR data = 0;
    bool selected = false;   // multiple and extended selection
    int height = 0;          // LBS_OWNERDRAWVARIABLE: pixels
};

struct ListBoxState : WindowExtra {
    std::vector<ListItem> items;
    int selected = -1;          // single selection: the selected item; -1 none
    int caret = -1;             // the item with the focus rectangle; -1 none
    int anchor = -1;            // extended selection: where a Shift range starts
    int top = 0;                // the first visible item
    int itemHeight = 16;        // pixels, of every item unless owner-drawn variable
    bool heightFixed = false;   // set by LB_SETITEMHEIGHT or WM_MEASUREITEM: fonts no longer change it
    HFONT font = nullptr;
    HWND combo = nullptr;       // LBS_COMBOBOX: the combo box the list belongs to
    bool wantsVScroll = false;  // created with WS_VSCROLL: the bar comes and goes with the need
    bool updatingBars = false;
    bool focused = false;
    bool tracking = false;      // the left button is down in the list
    std::wstring search;        // characters typed for the current search
    DWORD searchTime = 0;       // desktop clock at the last typed character
    int horizontalExtent = 0;   // pixels
};

ListBoxState* State(HWND hwnd)
{
    return ControlState<ListBoxState>(hwnd);
}

DWORD Style(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

bool IsOwnerDraw(DWORD style)
{
    return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

bool HasStrings(DWORD style)
{
    return !IsOwnerDraw(style) || (style & LBS_HASSTRINGS);
}

bool IsMultiple(DWORD style)
{
    return (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

int Count(const ListBoxState& state)
{
    return static_cast<int>(state.items.size());
}

bool Valid(const ListBoxState& state, int index)
{
    return index >= 0 && index < Count(state);
}

int CompareNoCase(const std::wstring& a, const std::wstring& b)
{
    const size_t count = std::min(a.size(), b.size());
    for (size_t i = 0; i < count; ++i) {
        const wint_t x = std::towlower(a[i]), y = std::towlower(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix)
{
    return prefix.size() <= text.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

// ---- the owner: parent or combo box ------------------------------------------------------

// Who gets the owner-drawn messages, and as what control.
struct Owner {
    HWND window = nullptr;
    HWND control = nullptr;   // the control named in the records: the list or its combo box
    UINT id = 0;
    UINT type = ODT_LISTBOX;
};

Owner OwnerOf(HWND hwnd, const ListBoxState& state)
{
    Owner owner;
    if (state.combo) {
        owner.window = GetParent(state.combo);
        owner.control = state.combo;
        owner.id = static_cast<UINT>(GetDlgCtrlID(state.combo));
        owner.type = ODT_COMBOBOX;
        return owner;
    }
    if (Style(hwnd) & WS_CHILD) owner.window = GetParent(hwnd);
    owner.control = hwnd;
    owner.id = static_cast<UINT>(GetDlgCtrlID(hwnd));
    return owner;
}

// An LBN_ notification: to the combo box for its list, else to the parent with LBS_NOTIFY.
void Notify(HWND hwnd, UINT code)
{
    ListBoxState* state = State(hwnd);
    if (!state) return;
    if (state->combo) {
        SendMessageW(state->combo, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), reinterpret_cast<LPARAM>(hwnd));
        return;
    }
    if (Style(hwnd) & LBS_NOTIFY) NotifyParent(hwnd, code);
}

void MeasureItem(HWND hwnd, ListBoxState& state, int index, ULONG_PTR data)
{
    const Owner owner = OwnerOf(hwnd, state);
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    MEASUREITEMSTRUCT measure = {owner.type, owner.id, static_cast<UINT>(index), static_cast<UINT>(client.right),
                                 static_cast<UINT>(state.itemHeight), data};
    if (owner.window) SendMessageW(owner.window, WM_MEASUREITEM, owner.id, reinterpret_cast<LPARAM>(&measure));
    ListBoxState* current = State(hwnd);
    if (!current) return;
    const int height = std::clamp(static_cast<int>(measure.itemHeight), 1, 255);
    if (Style(hwnd) & LBS_OWNERDRAWVARIABLE) {
        if (Valid(*current, index)) current->items[static_cast<size_t>(index)].height = height;
    } else {
        current->itemHeight = height;
        current->heightFixed = true;
    }
}

void DeleteItemMessage(HWND hwnd, const ListBoxState& state, int index)
{
    const ListItem& item = state.items[static_cast<size_t>(index)];
    if (!IsOwnerDraw(Style(hwnd)) && !item.data) return;
    const Owner owner = OwnerOf(hwnd, state);
    if (!owner.window) return;
    DELETEITEMSTRUCT deleted = {owner.type, owner.id, static_cast<UINT>(index), owner.control, item.data};
    SendMessageW(owner.window, WM_DELETEITEM, owner.id, reinterpret_cast<LPARAM>(&deleted));
}

// The owner's order of two items without strings (WM_COMPAREITEM): negative when the first goes before.
int CompareItems(HWND hwnd, const ListBoxState& state, int index, ULONG_PTR data)
{
    const Owner owner = OwnerOf(hwnd, state);
    if (!owner.window) return 0;
    COMPAREITEMSTRUCT compare = {owner.type, owner.id, owner.control, static_cast<UINT>(index),
                                 state.items[static_cast<size_t>(index)].data, static_cast<UINT>(-1), data, 0};
    return static_cast<int>(SendMessageW(owner.window, WM_COMPAREITEM, owner.id, reinterpret_cast<LPARAM>(&compare)));
}

// ---- geometry ----------------------------------------------------------------------------

int HeightOf(HWND hwnd, const ListBoxState& state, int index)
{
    if ((Style(hwnd) & LBS_OWNERDRAWVARIABLE) && Valid(state, index))
        return std::max(1, state.items[static_cast<size_t>(index)].height);
    return state.itemHeight;
}

int ClientHeight(HWND hwnd)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    return static_cast<int>(client.bottom - client.top);
}

// Items that fit from `top` down, at least one.
int VisibleFrom(HWND hwnd, const ListBoxState& state, int top)
{
    const int height = ClientHeight(hwnd);
    int used = 0, count = 0;
    for (int i = top; i < Count(state); ++i) {
        used += HeightOf(hwnd, state, i);
        if (used > height) break;
        ++count;
    }
    if (top >= Count(state)) count = std::max(1, height / std::max(1, state.itemHeight));
    return std::max(1, count);
}

// The first item that can be on top with the list scrolled to its end.
int LastTop(HWND hwnd, const ListBoxState& state)
{
    const int height = ClientHeight(hwnd);
    int used = 0;
    int top = Count(state);
    while (top > 0 && used + HeightOf(hwnd, state, top - 1) <= height) used += HeightOf(hwnd, state, --top);
    return std::min(top, std::max(0, Count(state) - 1));
}

RECT ItemRect(HWND hwnd, const ListBoxState& state, int index)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    int y = 0;
    if (index >= state.top)
        for (int i = state.top; i < index; ++i) y += HeightOf(hwnd, state, i);
    else
        for (int i = index; i < state.top; ++i) y -= HeightOf(hwnd, state, i);
    return RECT{0, y, std::max<int>(client.right, state.horizontalExtent), y + HeightOf(hwnd, state, index)};
}

// The item under a client point, clamped to the list; `outside` when the point is not on an item.
int ItemAt(HWND hwnd, const ListBoxState& state, POINT point, bool& outside)
{
    outside = true;
    if (Count(state) == 0) return -1;
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    if (point.y < 0) return std::max(0, state.top - 1);
    int y = 0;
    for (int i = state.top; i < Count(state); ++i) {
        const int height = HeightOf(hwnd, state, i);
        if (point.y < y + height) {
            outside = point.x < 0 || point.x >= client.right || point.y >= client.bottom;
            return i;
        }
        y += height;
    }
    return Count(state) - 1;
}

// ---- scrolling ---------------------------------------------------------------------------

void Redraw(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
}

void UpdateScrollBar(HWND hwnd)
{
    ListBoxState* state = State(hwnd);
    if (!state || !state->wantsVScroll || state->updatingBars) return;
    state->updatingBars = true;
    const int visible = VisibleFrom(hwnd, *state, state->top);
    SCROLLINFO info = {sizeof(SCROLLINFO), SIF_ALL, 0, std::max(0, Count(*state) - 1), static_cast<UINT>(visible),
                       state->top, 0};
    if (Style(hwnd) & LBS_DISABLENOSCROLL) info.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    if (ListBoxState* after = State(hwnd)) after->updatingBars = false;
}

void SetTop(HWND hwnd, int top)
{
    ListBoxState* state = State(hwnd);
    if (!state) return;
    top = std::clamp(top, 0, LastTop(hwnd, *state));
    if (top == state->top) return;
    state->top = top;
    UpdateScrollBar(hwnd);
    Redraw(hwnd);
}

void ScrollIntoView(HWND hwnd, int index)
{
    ListBoxState* state = State(hwnd);
    if (!state || !Valid(*state, index)) return;
    if (index < state->top) return SetTop(hwnd, index);
    int top = state->top;
    while (top < index && index >= top + VisibleFrom(hwnd, *state, top)) ++top;
    SetTop(hwnd, top);
}

// ---- items -------------------------------------------------------------------------------

int SortedPosition(HWND hwnd, const ListBoxState& state, const std::wstring& text, ULONG_PTR data)
{
    const bool strings = HasStrings(Style(hwnd));
    for (int i = 0; i < Count(state); ++i) {
        const int order = strings ? CompareNoCase(state.items[static_cast<size_t>(i)].text, text)
                                  : CompareItems(hwnd, state, i, data);
        if (order > 0) return i;
    }
    return Count(state);
}

void ShiftIndexes(ListBoxState& state, int at, int delta)
{
    for (int* index : {&state.selected, &state.caret, &state.anchor})
        if (*index >= at) *index += delta;
}

LRESULT Insert(HWND hwnd, int index, LPARAM lParam, bool sorted)
{
    ListBoxState* state = State(hwnd);
    if (!state) return LB_ERR;
    const DWORD style = Style(hwnd);
    ListItem item;
    if (HasStrings(style)) {
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        item.text = text ? text : L"";
    } else {
        item.data = static_cast<ULONG_PTR>(lParam);
    }
    if (sorted && (style & LBS_SORT)) index = SortedPosition(hwnd, *state, item.text, item.data);
    state = State(hwnd);
    if (!state) return LB_ERR;
    if (index < 0 || index > Count(*state)) index = Count(*state);
    state->items.insert(state->items.begin() + index, item);
    ShiftIndexes(*state, index, 1);
    if (style & LBS_OWNERDRAWVARIABLE) MeasureItem(hwnd, *state, index, item.data);
    UpdateScrollBar(hwnd);
    Redraw(hwnd);
    return index;
}

LRESULT Delete(HWND hwnd, int index)
{
    ListBoxState* state = State(hwnd);
    if (!state || !Valid(*state, index)) return LB_ERR;
    DeleteItemMessage(hwnd, *state, index);
    state = State(hwnd);
    if (!state || !Valid(*state, index)) return LB_ERR;
    state->items.erase(state->items.begin() + index);
    if (state->selected == index) state->selected = -1;
    if (state->caret == index) state->caret = std::min(index, Count(*state) - 1);
    if (state->anchor == index) state->anchor = -1;
    ShiftIndexes(*state, index + 1, -1);
    state->top = std::clamp(state->top, 0, LastTop(hwnd, *state));
    UpdateScrollBar(hwnd);
    Redraw(hwnd);
    return Count(*state);
}

void ResetContent(HWND hwnd, bool redraw)
{
    ListBoxState* state = State(hwnd);
    if (!state) return;
    for (int i = Count(*state) - 1; i >= 0; --i) {
        state = State(hwnd);
        if (!state || !Valid(*state, i)) break;
        DeleteItemMessage(hwnd, *state, i);
    }
    state = State(hwnd);
    if (!state) return;
    state->items.clear();
    state->selected = state->caret = state->anchor = -1;
    state->top = 0;
    if (!redraw) return;
    UpdateScrollBar(hwnd);
    Redraw(hwnd);
}

// The item after `start` (wrapping, -1 or out of range: from the top) that
// matches: case-insensitively, a prefix or the whole text; owner-drawn
// items without strings match their data.
LRESULT Find(HWND hwnd, const ListBoxState& state, int start, LPARAM lParam, bool exact)
{
    const int count = Count(state);
    if (count == 0) return LB_ERR;
    if (start < 0 || start >= count) start = -1;
    const bool strings = HasStrings(Style(hwnd));
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    const std::wstring wanted = strings && text ? text : L"";
    for (int step = 1; step <= count; ++step) {
        const int index = (start + step) % count;
        const ListItem& item = state.items[static_cast<size_t>(index)];
        const bool match = !strings ? item.data == static_cast<ULONG_PTR>(lParam)
                           : exact  ? CompareNoCase(item.text, wanted) == 0
                                    : StartsWithNoCase(item.text, wanted);
        if (match) return index;
    }
    return LB_ERR;
}

LRESULT GetText(HWND hwnd, const ListBoxState& state, int index, LPARAM lParam)
{
    if (!Valid(state, index)) return LB_ERR;
    const ListItem& item = state.items[static_cast<size_t>(index)];
    if (!HasStrings(Style(hwnd))) {
        if (lParam) *reinterpret_cast<ULONG_PTR*>(lParam) = item.data;
        return sizeof(ULONG_PTR);
    }
    // Windows trusts the buffer to hold the text (LB_GETTEXTLEN tells how long).
    auto* buffer = reinterpret_cast<wchar_t*>(lParam);
    if (buffer) {
        std::copy(item.text.begin(), item.text.end(), buffer);
        buffer[item.text.size()] = L'\0';
    }
    return static_cast<LRESULT>(item.text.size());
}

// ---- selection ---------------------------------------------------------------------------

bool IsSelected(HWND hwnd, const ListBoxState& state, int index)
{
    if (!Valid(state, index)) return false;
    return IsMultiple(Style(hwnd)) ? state.items[static_cast<size_t>(index)].selected : state.selected == index;
}

void SetCaret(HWND hwnd, int index)
{
    ListBoxState* state = State(hwnd);
    if (!state || state->caret == index) return;
    state->caret = index;
    Redraw(hwnd);
}

// Selects the range [from, to] only (extended selection); true when anything changed.
bool SelectOnly(ListBoxState& state, int from, int to)
{
    if (from > to) std::swap(from, to);
    bool changed = false;
    for (int i = 0; i < Count(state); ++i) {
        const bool select = i >= from && i <= to;
        changed = changed || state.items[static_cast<size_t>(i)].selected != select;
        state.items[static_cast<size_t>(i)].selected = select;
    }
    return changed;
}

// What a click or a key does with an item, as the user's choice.
void Choose(HWND hwnd, int index, bool shift, bool control, bool toggle)
{
    ListBoxState* state = State(hwnd);
    const DWORD style = Style(hwnd);
    if (!state || !Valid(*state, index) || (style & LBS_NOSEL)) return;
    bool changed = false;
    if (!IsMultiple(style)) {
        changed = state->selected != index;
        state->selected = index;
    } else if (style & LBS_MULTIPLESEL) {
        if (toggle) {
            state->items[static_cast<size_t>(index)].selected = !state->items[static_cast<size_t>(index)].selected;
            changed = true;
        }
    } else if (shift) {
        const int anchor = Valid(*state, state->anchor) ? state->anchor : index;
        if (control) {
            for (int i = std::min(anchor, index); i <= std::max(anchor, index); ++i) {
                changed = changed || !state->items[static_cast<size_t>(i)].selected;
                state->items[static_cast<size_t>(i)].selected = true;
            }
        } else {
            changed = SelectOnly(*state, anchor, index);
        }
    } else if (control && toggle) {
        state->items[static_cast<size_t>(index)].selected = !state->items[static_cast<size_t>(index)].selected;
        state->anchor = index;
        changed = true;
    } else if (!control) {
        changed = SelectOnly(*state, index, index);
        state->anchor = index;
    }
    state->caret = index;
    ScrollIntoView(hwnd, index);
    Redraw(hwnd);
    if (changed) Notify(hwnd, LBN_SELCHANGE);
}

LRESULT SetCurSel(HWND hwnd, int index)
{
    ListBoxState* state = State(hwnd);
    if (!state || IsMultiple(Style(hwnd))) return LB_ERR;
    if (index != -1 && !Valid(*state, index)) return LB_ERR;
    state->selected = index;
    if (index >= 0) {
        state->caret = index;
        ScrollIntoView(hwnd, index);
    }
    Redraw(hwnd);
    return index;   // -1 reads as LB_ERR, as Windows answers then
}

LRESULT SetSel(HWND hwnd, bool select, int index)
{
    ListBoxState* state = State(hwnd);
    if (!state || !IsMultiple(Style(hwnd))) return LB_ERR;
    if (index == -1) {
        for (ListItem& item : state->items) item.selected = select;
    } else {
        if (!Valid(*state, index)) return LB_ERR;
        state->items[static_cast<size_t>(index)].selected = select;
    }
    Redraw(hwnd);
    return 0;
}

LRESULT SelectRange(HWND hwnd, bool select, int first, int last)
{
    ListBoxState* state = State(hwnd);
    if (!state || !IsMultiple(Style(hwnd))) return LB_ERR;
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, Count(*state) - 1);
    for (int i = first; i <= last; ++i) state->items[static_cast<size_t>(i)].selected = select;
    Redraw(hwnd);
    return 0;
}

LRESULT SelectedCount(HWND hwnd, const ListBoxState& state)
{
    if (!IsMultiple(Style(hwnd))) return LB_ERR;
    return std::count_if(state.items.begin(), state.items.end(), [](const ListItem& item) { return item.selected; });
}

LRESULT SelectedItems(HWND hwnd, const ListBoxState& state, int max, int* out)
{
    if (!IsMultiple(Style(hwnd)) || !out) return LB_ERR;
    int count = 0;
    for (int i = 0; i < Count(state) && count < max; ++i)
        if (state.items[static_cast<size_t>(i)].selected) out[count++] = i;
    return count;
}

// ---- input -------------------------------------------------------------------------------

POINT PointOf(LPARAM lParam)
{
    return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}

void ButtonDown(HWND hwnd, LPARAM lParam, bool doubleClick)
{
    ListBoxState* state = State(hwnd);
    if (!state) return;
    if (!state->combo && GetFocus() != hwnd) SetFocus(hwnd);
    state = State(hwnd);
    if (!state) return;
    bool outside = false;
    const int index = ItemAt(hwnd, *state, PointOf(lParam), outside);
    state->tracking = true;
    SetCapture(hwnd);
    if (index >= 0 && !outside)
        Choose(hwnd, index, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, true);
    if (doubleClick && index >= 0 && !outside) Notify(hwnd, LBN_DBLCLK);
}

void MouseMove(HWND hwnd, LPARAM lParam)
{
    ListBoxState* state = State(hwnd);
    if (!state || !state->tracking || GetCapture() != hwnd) return;
    const DWORD style = Style(hwnd);
    if (style & LBS_MULTIPLESEL) return;
    bool outside = false;
    const int index = ItemAt(hwnd, *state, PointOf(lParam), outside);
    if (index < 0 || index == state->caret) return;
    // Dragging extends the selection from where the button went down.
    Choose(hwnd, index, (style & LBS_EXTENDEDSEL) != 0, false, false);
}

void ButtonUp(HWND hwnd)
{
    ListBoxState* state = State(hwnd);
    if (!state || !state->tracking) return;
    state->tracking = false;
    if (GetCapture() == hwnd) ReleaseCapture();
}

int KeyTarget(HWND hwnd, const ListBoxState& state, UINT vk)
{
    const int count = Count(state);
    const int caret = state.caret < 0 ? (IsMultiple(Style(hwnd)) ? 0 : state.selected) : state.caret;
    const int page = VisibleFrom(hwnd, state, state.top);
    switch (vk) {
    case VK_UP: return caret < 0 ? 0 : std::max(0, caret - 1);
    case VK_DOWN: return caret < 0 ? 0 : std::min(count - 1, caret + 1);
    case VK_PRIOR: return std::max(0, caret - std::max(1, page - 1));
    case VK_NEXT: return std::min(count - 1, std::max(0, caret) + std::max(1, page - 1));
    case VK_HOME: return 0;
    case VK_END: return count - 1;
    default: return -1;
    }
}

void KeyDown(HWND hwnd, UINT vk)
{
    ListBoxState* state = State(hwnd);
    if (!state || Count(*state) == 0) return;
    const DWORD style = Style(hwnd);
    if (style & LBS_WANTKEYBOARDINPUT) {
        const Owner owner = OwnerOf(hwnd, *state);
        const LRESULT answer =
            owner.window ? SendMessageW(owner.window, WM_VKEYTOITEM, MAKEWPARAM(vk, std::max(state->caret, 0)),
                                        reinterpret_cast<LPARAM>(hwnd))
                         : -1;
        state = State(hwnd);
        if (!state || answer == -2) return;
        if (answer >= 0) return Choose(hwnd, static_cast<int>(answer), false, false, false);
    }
    if (vk == VK_SPACE && IsMultiple(style)) {
        if (Valid(*state, state->caret)) Choose(hwnd, state->caret, false, true, true);
        return;
    }
    const int target = KeyTarget(hwnd, *state, vk);
    if (target < 0) return;
    if (style & LBS_MULTIPLESEL) {
        SetCaret(hwnd, target);
        ScrollIntoView(hwnd, target);
        return;
    }
    Choose(hwnd, target, GetKeyState(VK_SHIFT) < 0, false, false);
}

// Typing selects the next item that begins with what was typed lately.
void TypeAhead(HWND hwnd, wchar_t c)
{
    ListBoxState* state = State(hwnd);
    if (!state || !HasStrings(Style(hwnd)) || c < 0x20) return;
    const DWORD now = platform::ui::ClockNow();
    const bool continuing = !state->search.empty() && now - state->searchTime < kSearchTimeout;
    state->search = continuing ? state->search + c : std::wstring(1, c);
    state->searchTime = now;
    const int current = IsMultiple(Style(hwnd)) ? state->caret : state->selected;
    // A longer prefix may still match the current item; a new search moves on past it.
    const bool sameCharacter = std::all_of(state->search.begin(), state->search.end(),
                                           [&](wchar_t typed) { return std::towlower(typed) == std::towlower(c); });
    const std::wstring wanted = sameCharacter ? std::wstring(1, c) : state->search;
    const int start = sameCharacter ? current : current - 1;
    const LRESULT found = Find(hwnd, *state, start, reinterpret_cast<LPARAM>(wanted.c_str()), false);
    if (found >= 0) Choose(hwnd, static_cast<int>(found), false, false, false);
}

// ---- painting ----------------------------------------------------------------------------

HBRUSH Colors(HWND hwnd, const ListBoxState& state, HDC hdc)
{
    HWND target = state.combo ? state.combo : ((Style(hwnd) & WS_CHILD) ? GetParent(hwnd) : nullptr);
    HBRUSH brush = nullptr;
    if (target)
        brush = reinterpret_cast<HBRUSH>(
            SendMessageW(target, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd)));
    if (!brush)
        brush = reinterpret_cast<HBRUSH>(
            DefWindowProcW(hwnd, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd)));
    return brush;
}

void DrawOwnerItem(HWND hwnd, HDC hdc, const ListBoxState& state, int index, const RECT& rect)
{
    const Owner owner = OwnerOf(hwnd, state);
    if (!owner.window) return;
    DRAWITEMSTRUCT item = {};
    item.CtlType = owner.type;
    item.CtlID = owner.id;
    item.itemID = static_cast<UINT>(index);
    item.itemAction = ODA_DRAWENTIRE;
    if (IsSelected(hwnd, state, index)) item.itemState |= ODS_SELECTED;
    if (state.focused && state.caret == index) item.itemState |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd)) item.itemState |= ODS_DISABLED;
    item.hwndItem = owner.control;
    item.hDC = hdc;
    item.rcItem = rect;
    item.itemData = state.items[static_cast<size_t>(index)].data;
    SendMessageW(owner.window, WM_DRAWITEM, owner.id, reinterpret_cast<LPARAM>(&item));
}

void DrawItem(HWND hwnd, HDC hdc, const ListBoxState& state, int index, const RECT& rect)
{
    const bool selected = IsSelected(hwnd, state, index);
    const int saved = SaveDC(hdc);
    if (selected) {
        FillRect(hdc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else if (!IsWindowEnabled(hwnd)) {
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    }
    SetBkMode(hdc, TRANSPARENT);
    const std::wstring& text = state.items[static_cast<size_t>(index)].text;
    RECT label = rect;
    label.left += kTextIndent;
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &label,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    RestoreDC(hdc, saved);
    if (state.focused && state.caret == index && !state.combo) DrawFocusRect(hdc, &rect);
}

void Paint(HWND hwnd)
{
    ControlPaint paint(hwnd);
    ListBoxState* state = State(hwnd);
    if (!paint || !state) return;
    const HDC hdc = paint.Dc();
    const RECT& client = paint.Client();
    paint.SelectFont(state->font);
    const HBRUSH brush = Colors(hwnd, *state, hdc);
    state = State(hwnd);
    if (state) {
        FillRect(hdc, &client, brush);
        const bool ownerDraw = IsOwnerDraw(Style(hwnd));
        for (int i = state->top; i < Count(*state); ++i) {
            const RECT rect = ItemRect(hwnd, *state, i);
            if (rect.top >= client.bottom) break;
            if (ownerDraw)
                DrawOwnerItem(hwnd, hdc, *state, i, rect);
            else
                DrawItem(hwnd, hdc, *state, i, rect);
            state = State(hwnd);
            if (!state) break;
        }
    }
}

// ---- messages ----------------------------------------------------------------------------

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

void Create(HWND hwnd, const CREATESTRUCTW* cs)
{
    ListBoxState* state = State(hwnd);
    if (!state) return;
    const DWORD style = Style(hwnd);
    state->wantsVScroll = (style & WS_VSCROLL) != 0;
    if (style & LBS_COMBOBOX) {
        HWND combo = cs ? static_cast<HWND>(cs->lpCreateParams) : nullptr;
        state->combo = IsWindow(combo) ? combo : GetParent(hwnd);
    }
    state->itemHeight = FontHeight(nullptr);
    if (style & LBS_OWNERDRAWFIXED) MeasureItem(hwnd, *state, 0, 0);
    UpdateScrollBar(hwnd);
}

void SetFont(HWND hwnd, HFONT font, bool redraw)
{
    ListBoxState* state = State(hwnd);
    if (!state) return;
    state->font = font;
    if (!state->heightFixed && !IsOwnerDraw(Style(hwnd))) state->itemHeight = FontHeight(font);
    UpdateScrollBar(hwnd);
    if (redraw) Redraw(hwnd);
}

void Focus(HWND hwnd, bool gained)
{
    ListBoxState* state = State(hwnd);
    if (!state) return;
    state->focused = gained;
    if (!gained) ButtonUp(hwnd);
    Redraw(hwnd);
    Notify(hwnd, gained ? LBN_SETFOCUS : LBN_KILLFOCUS);
}

void VScroll(HWND hwnd, int request, int position)
{
    ListBoxState* state = State(hwnd);
    if (!state) return;
    const int page = VisibleFrom(hwnd, *state, state->top);
    switch (request) {
    case SB_LINEUP: SetTop(hwnd, state->top - 1); break;
    case SB_LINEDOWN: SetTop(hwnd, state->top + 1); break;
    case SB_PAGEUP: SetTop(hwnd, state->top - page); break;
    case SB_PAGEDOWN: SetTop(hwnd, state->top + page); break;
    case SB_TOP: SetTop(hwnd, 0); break;
    case SB_BOTTOM: SetTop(hwnd, Count(*state)); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTop(hwnd, position); break;
    default: break;
    }
}

LRESULT SetItemHeight(HWND hwnd, int index, int height)
{
    ListBoxState* state = State(hwnd);
    if (!state || height <= 0 || height > 255) return LB_ERR;
    if (Style(hwnd) & LBS_OWNERDRAWVARIABLE) {
        if (!Valid(*state, index)) return LB_ERR;
        state->items[static_cast<size_t>(index)].height = height;
    } else {
        state->itemHeight = height;
        state->heightFixed = true;
    }
    UpdateScrollBar(hwnd);
    Redraw(hwnd);
    return 0;
}

LRESULT ItemFromPoint(HWND hwnd, const ListBoxState& state, LPARAM lParam)
{
    bool outside = false;
    const int index = ItemAt(hwnd, state, PointOf(lParam), outside);
    if (index < 0) return MAKELONG(0xFFFF, 1);
    return MAKELONG(index, outside ? 1 : 0);
}

LRESULT ListMessage(HWND hwnd, ListBoxState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (message) {
    case LB_ADDSTRING: return Insert(hwnd, -1, lParam, true);
    case LB_INSERTSTRING: return Insert(hwnd, index, lParam, false);
    case LB_DELETESTRING: return Delete(hwnd, index);
    case LB_RESETCONTENT: ResetContent(hwnd, true); return 0;
    case LB_GETCOUNT: return Count(state);
    case LB_GETTEXT: return GetText(hwnd, state, index, lParam);
    case LB_GETTEXTLEN:
        if (!Valid(state, index)) return LB_ERR;
        return HasStrings(Style(hwnd)) ? static_cast<LRESULT>(state.items[static_cast<size_t>(index)].text.size())
                                       : static_cast<LRESULT>(sizeof(ULONG_PTR));
    case LB_SETCURSEL: return SetCurSel(hwnd, index);
    case LB_GETCURSEL: return IsMultiple(Style(hwnd)) ? state.caret : state.selected;
    case LB_SETSEL: return SetSel(hwnd, wParam != 0, static_cast<int>(lParam));
    case LB_GETSEL: return Valid(state, index) ? (IsSelected(hwnd, state, index) ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT: return SelectedCount(hwnd, state);
    case LB_GETSELITEMS: return SelectedItems(hwnd, state, index, reinterpret_cast<int*>(lParam));
    case LB_SELITEMRANGE:
        return SelectRange(hwnd, wParam != 0, static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
    case LB_SELITEMRANGEEX: {
        const int last = static_cast<int>(lParam);
        return index <= last ? SelectRange(hwnd, true, index, last) : SelectRange(hwnd, false, last, index);
    }
    case LB_FINDSTRING: return Find(hwnd, state, index, lParam, false);
    case LB_FINDSTRINGEXACT: return Find(hwnd, state, index, lParam, true);
    case LB_SELECTSTRING: {
        const LRESULT found = Find(hwnd, state, index, lParam, false);
        if (found < 0) return LB_ERR;
        if (IsMultiple(Style(hwnd))) {
            SetSel(hwnd, true, static_cast<int>(found));
            SetCaret(hwnd, static_cast<int>(found));
        } else {
            SetCurSel(hwnd, static_cast<int>(found));
        }
        return found;
    }
    case LB_GETITEMDATA:
        return Valid(state, index) ? static_cast<LRESULT>(state.items[static_cast<size_t>(index)].data) : LB_ERR;
    case LB_SETITEMDATA:
        if (!Valid(state, index)) return LB_ERR;
        state.items[static_cast<size_t>(index)].data = static_cast<ULONG_PTR>(lParam);
        return TRUE;
    case LB_GETTOPINDEX: return state.top;
    case LB_SETTOPINDEX:
        if (index != 0 && !Valid(state, index)) return LB_ERR;
        SetTop(hwnd, index);
        return 0;
    case LB_GETITEMRECT:
        if (!lParam || (!Valid(state, index) && !(index == 0 && Count(state) == 0))) return LB_ERR;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(hwnd, state, index);
        return 1;
    case LB_GETITEMHEIGHT: return HeightOf(hwnd, state, index);
    case LB_SETITEMHEIGHT: return SetItemHeight(hwnd, index, LOWORD(lParam));
    case LB_ITEMFROMPOINT: return ItemFromPoint(hwnd, state, lParam);
    case LB_SETCARETINDEX:
        if (!Valid(state, index)) return LB_ERR;
        SetCaret(hwnd, index);
        ScrollIntoView(hwnd, index);
        return 0;
    case LB_GETCARETINDEX: return state.caret;
    case LB_SETANCHORINDEX:
        if (!Valid(state, index)) return LB_ERR;
        state.anchor = index;
        return 0;
    case LB_GETANCHORINDEX: return state.anchor;
    case LB_SETHORIZONTALEXTENT: state.horizontalExtent = index; return 0;
    case LB_GETHORIZONTALEXTENT: return state.horizontalExtent;
    case LB_INITSTORAGE: state.items.reserve(state.items.size() + wParam); return Count(state);
    case LB_SETTABSTOPS: return TRUE;
    case LB_SETCOLUMNWIDTH: return 0;
    default: return LB_ERR;
    }
}

LRESULT ListBoxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ListBoxState* state = State(hwnd);
    if (!state) return 0;
    if (message >= LB_ADDSTRING && message <= LB_ITEMFROMPOINT)
        return ListMessage(hwnd, *state, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: Create(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND: return 1;   // items and background are painted together
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_SETFONT: SetFont(hwnd, reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SIZE:
        state->top = std::clamp(state->top, 0, LastTop(hwnd, *state));
        UpdateScrollBar(hwnd);
        return 0;
    case WM_SETFOCUS: Focus(hwnd, true); return 0;
    case WM_KILLFOCUS: Focus(hwnd, false); return 0;
    case WM_ENABLE: Redraw(hwnd); return 0;
    case WM_LBUTTONDOWN: ButtonDown(hwnd, lParam, false); return 0;
    case WM_LBUTTONDBLCLK: ButtonDown(hwnd, lParam, true); return 0;
    case WM_MOUSEMOVE: MouseMove(hwnd, lParam); return 0;
    case WM_LBUTTONUP: ButtonUp(hwnd); return 0;
    case WM_CAPTURECHANGED: state->tracking = false; return 0;
    case WM_KEYDOWN: KeyDown(hwnd, static_cast<UINT>(wParam)); return 0;
    case WM_CHAR: TypeAhead(hwnd, static_cast<wchar_t>(wParam)); return 0;
    case WM_VSCROLL: VScroll(hwnd, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam))); return 0;
    case WM_MOUSEWHEEL: SetTop(hwnd, state->top - static_cast<SHORT>(HIWORD(wParam)) / 120 * kWheelLines); return 0;
    case WM_DESTROY: ResetContent(hwnd, false); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const SystemClass s_listBoxClass(WC_LISTBOX, &ListBoxWndProc, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW, 0, 0);

}  // namespace

}  // namespace platform::ui
