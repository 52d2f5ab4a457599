// The "SysTreeView32" class: the tree view. Items live in a table of the
// control; an HTREEITEM is an item's slot with the slot's generation, so
// the handle of a deleted item fails every message instead of reaching an
// item that took its slot.
//
// The parent hears through WM_NOTIFY: TVN_SELCHANGING (which may refuse by
// answering TRUE) and TVN_SELCHANGED around every change of the selection
// (TVC_BYMOUSE, TVC_BYKEYBOARD, or TVC_UNKNOWN when a message made it),
// TVN_ITEMEXPANDING and TVN_ITEMEXPANDED, TVN_DELETEITEM for each item
// deleted, TVN_GETDISPINFO for texts kept by the parent, TVN_KEYDOWN,
// NM_CLICK and NM_DBLCLK. As on Windows, NM_CLICK comes before the click
// changes the selection, and TVM_EXPAND notifies only the first time an
// item opens.
#include <algorithm>
#include <cstring>
#include <cwctype>
#include <memory>
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

const int kDefaultIndent = 19;        // pixels per level
const int kButtonSize = 9;            // pixels of the +/- box
const int kTextPadding = 2;           // pixels around an item's text
const int kUnknownChildren = -2;      // cChildren not given: the item has children when it has them
const DWORD kSearchTimeout = 1000;    // milliseconds between typed characters of one search
const int kWheelLines = 3;

struct TreeItem {
    std::wstring text;
    bool textCallback = false;        // LPSTR_TEXTCALLBACK: the parent supplies the text
    LPARAM param = 0;
    UINT state = 0;                   // TVIS_*
    int image = 0;
    int selectedImage = 0;
    int children = kUnknownChildren;  // 0, 1, I_CHILDRENCALLBACK or kUnknownChildren
    HTREEITEM parent = nullptr;       // null for a root item
    std::vector<HTREEITEM> kids;      // in order
};

struct Slot {
    UINT generation = 1;              // 1..0x7FF; bumped when the slot is freed
    std::unique_ptr<TreeItem> item;
};

struct TreeState : WindowExtra {
    std::vector<Slot> slots;
    std::vector<size_t> freeSlots;
    std::vector<HTREEITEM> roots;
    HTREEITEM selected = nullptr;     // the caret item
    HTREEITEM dropTarget = nullptr;   // TVGN_DROPHILITE
    int top = 0;                      // index of the first visible row
    int itemHeight = 0;               // pixels; 0 until measured
    bool heightSet = false;           // TVM_SETITEMHEIGHT fixed it
    int indent = kDefaultIndent;
    HFONT font = nullptr;
    COLORREF background = CLR_INVALID;   // TVM_SETBKCOLOR; CLR_INVALID: the system's
    COLORREF textColor = CLR_INVALID;
    bool focused = false;
    bool selecting = false;           // a selection change is being notified
    std::wstring search;
    DWORD searchTime = 0;
};

TreeState* State(HWND hwnd)
{
    return ControlState<TreeState>(hwnd);
}

DWORD Style(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

// ---- the item table -----------------------------------------------------------------------

const UINT kGenerationMask = 0x7FF;
const int kGenerationShift = 20;

HTREEITEM MakeHandle(size_t index, UINT generation)
{
    const ULONG_PTR value = (static_cast<ULONG_PTR>(generation) << kGenerationShift) | (index + 1);
    return reinterpret_cast<HTREEITEM>(value);
}

TreeItem* Find(TreeState& state, HTREEITEM handle)
{
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(handle);
    if (!handle || value >> 31) return nullptr;   // null, TVI_ROOT and its kind, foreign pointers
    const size_t index = (value & ((1u << kGenerationShift) - 1)) - 1;
    const UINT generation = static_cast<UINT>(value >> kGenerationShift);
    if (index >= state.slots.size() || state.slots[index].generation != generation) return nullptr;
    return state.slots[index].item.get();
}

HTREEITEM Allocate(TreeState& state)
{
    size_t index;
    if (!state.freeSlots.empty()) {
        index = state.freeSlots.back();
        state.freeSlots.pop_back();
    } else {
        if (state.slots.size() >= (1u << kGenerationShift) - 2) return nullptr;
        index = state.slots.size();
        state.slots.emplace_back();
    }
    state.slots[index].item = std::make_unique<TreeItem>();
    return MakeHandle(index, state.slots[index].generation);
}

void Free(TreeState& state, HTREEITEM handle)
{
    const size_t index = (reinterpret_cast<ULONG_PTR>(handle) & ((1u << kGenerationShift) - 1)) - 1;
    Slot& slot = state.slots[index];
    slot.item.reset();
    slot.generation = slot.generation >= kGenerationMask ? 1 : slot.generation + 1;
    state.freeSlots.push_back(index);
}

std::vector<HTREEITEM>& Siblings(TreeState& state, const TreeItem& item)
{
    TreeItem* parent = Find(state, item.parent);
    return parent ? parent->kids : state.roots;
}

int Count(const TreeState& state)
{
    return static_cast<int>(state.slots.size() - state.freeSlots.size());
}

bool HasChildren(const TreeItem& item)
{
    if (item.children == kUnknownChildren) return !item.kids.empty();
    return item.children != 0;
}

bool Expanded(const TreeItem& item)
{
    return (item.state & TVIS_EXPANDED) != 0;
}

// ---- visible rows -------------------------------------------------------------------------

void CollectVisible(TreeState& state, const std::vector<HTREEITEM>& items, std::vector<HTREEITEM>& out)
{
    for (HTREEITEM handle : items) {
        TreeItem* item = Find(state, handle);
        if (!item) continue;
        out.push_back(handle);
        if (Expanded(*item)) CollectVisible(state, item->kids, out);
    }
}

std::vector<HTREEITEM> VisibleRows(TreeState& state)
{
    std::vector<HTREEITEM> rows;
    CollectVisible(state, state.roots, rows);
    return rows;
}

int RowOf(TreeState& state, HTREEITEM handle)
{
    const std::vector<HTREEITEM> rows = VisibleRows(state);
    auto found = std::find(rows.begin(), rows.end(), handle);
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

int Level(TreeState& state, const TreeItem& item)
{
    int level = 0;
    for (TreeItem* parent = Find(state, item.parent); parent; parent = Find(state, parent->parent)) ++level;
    return level;
}

int ItemHeight(HWND hwnd, TreeState& state)
{
    if (state.itemHeight > 0) return state.itemHeight;
    HDC hdc = CreateCompatibleDC(nullptr);
    TEXTMETRICW metrics = {};
    if (hdc) {
        {
            FontSelection font(hdc, state.font);
            GetTextMetricsW(hdc, &metrics);
        }
        DeleteDC(hdc);
    }
    (void)hwnd;
    state.itemHeight = std::max<int>(16, metrics.tmHeight + 3);
    return state.itemHeight;
}

int PageRows(HWND hwnd, TreeState& state)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    return std::max(1, static_cast<int>(client.bottom) / ItemHeight(hwnd, state));
}

// ---- notifications ------------------------------------------------------------------------

LRESULT Notify(HWND hwnd, NMHDR& header)
{
    HWND parent = GetParent(hwnd);
    if (!parent) return 0;
    header.hwndFrom = hwnd;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
    return SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

LRESULT NotifyCode(HWND hwnd, UINT code)
{
    NMHDR header = {nullptr, 0, code};
    return Notify(hwnd, header);
}

// The notification record's view of an item.
TVITEMW Describe(TreeState& state, HTREEITEM handle)
{
    TVITEMW out = {};
    TreeItem* item = Find(state, handle);
    out.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    out.hItem = handle;
    out.stateMask = 0xFFFF;
    if (item) {
        out.state = item->state;
        out.lParam = item->param;
    }
    return out;
}

LRESULT NotifyTree(HWND hwnd, UINT code, UINT action, HTREEITEM oldItem, HTREEITEM newItem)
{
    TreeState* state = State(hwnd);
    if (!state) return 0;
    NMTREEVIEWW info = {};
    info.hdr.code = code;
    info.action = action;
    info.itemOld = Describe(*state, oldItem);
    info.itemNew = Describe(*state, newItem);
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    ScreenToClient(hwnd, &cursor);
    info.ptDrag = cursor;
    return Notify(hwnd, info.hdr);
}

std::wstring TextOf(HWND hwnd, HTREEITEM handle)
{
    TreeState* state = State(hwnd);
    TreeItem* item = state ? Find(*state, handle) : nullptr;
    if (!item) return std::wstring();
    if (!item->textCallback) return item->text;
    // The parent keeps the text: it answers TVN_GETDISPINFO.
    wchar_t buffer[260] = {0};
    NMTVDISPINFOW info = {};
    info.hdr.code = TVN_GETDISPINFOW;
    info.item.mask = TVIF_TEXT;
    info.item.hItem = handle;
    info.item.state = item->state;
    info.item.lParam = item->param;
    info.item.pszText = buffer;
    info.item.cchTextMax = 260;
    Notify(hwnd, info.hdr);
    if (!info.item.pszText || info.item.pszText == LPSTR_TEXTCALLBACKW) return std::wstring();
    if (info.item.pszText == buffer) {
        buffer[259] = L'\0';
        return buffer;
    }
    return info.item.pszText;
}

// ---- painting helpers ---------------------------------------------------------------------

void Redraw(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
}

void UpdateScrollBar(HWND hwnd)
{
    TreeState* state = State(hwnd);
    if (!state || (Style(hwnd) & TVS_NOSCROLL)) return;
    const int rows = static_cast<int>(VisibleRows(*state).size());
    const int page = PageRows(hwnd, *state);
    if (rows <= page && !(Style(hwnd) & WS_VSCROLL)) return;
    SCROLLINFO info = {sizeof(SCROLLINFO), SIF_ALL, 0, std::max(0, rows - 1), static_cast<UINT>(page), state->top, 0};
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
}

void SetTop(HWND hwnd, int top)
{
    TreeState* state = State(hwnd);
    if (!state) return;
    const int rows = static_cast<int>(VisibleRows(*state).size());
    top = std::clamp(top, 0, std::max(0, rows - PageRows(hwnd, *state)));
    if (top == state->top) return;
    state->top = top;
    UpdateScrollBar(hwnd);
    Redraw(hwnd);
}

void Changed(HWND hwnd)
{
    TreeState* state = State(hwnd);
    if (!state) return;
    const int rows = static_cast<int>(VisibleRows(*state).size());
    state->top = std::clamp(state->top, 0, std::max(0, rows - PageRows(hwnd, *state)));
    UpdateScrollBar(hwnd);
    Redraw(hwnd);
}

// ---- expanding ----------------------------------------------------------------------------

bool Expand(HWND hwnd, HTREEITEM handle, UINT action, bool fromUser);

// Opens the item's ancestors so that it can be seen.
void RevealParents(HWND hwnd, HTREEITEM handle)
{
    TreeState* state = State(hwnd);
    TreeItem* item = state ? Find(*state, handle) : nullptr;
    if (!item) return;
    std::vector<HTREEITEM> ancestors;
    for (HTREEITEM parent = item->parent; Find(*state, parent); parent = Find(*state, parent)->parent)
        ancestors.push_back(parent);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) Expand(hwnd, *it, TVE_EXPAND, false);
}

void EnsureVisible(HWND hwnd, HTREEITEM handle)
{
    RevealParents(hwnd, handle);
    TreeState* state = State(hwnd);
    if (!state) return;
    const int row = RowOf(*state, handle);
    if (row < 0) return;
    const int page = PageRows(hwnd, *state);
    if (row < state->top) SetTop(hwnd, row);
    else if (row >= state->top + page) SetTop(hwnd, row - page + 1);
}

bool Select(HWND hwnd, HTREEITEM handle, UINT cause);

bool IsAncestor(TreeState& state, HTREEITEM ancestor, HTREEITEM handle)
{
    TreeItem* item = Find(state, handle);
    for (HTREEITEM parent = item ? item->parent : nullptr; Find(state, parent); parent = Find(state, parent)->parent)
        if (parent == ancestor) return true;
    return false;
}

bool Expand(HWND hwnd, HTREEITEM handle, UINT action, bool fromUser)
{
    TreeState* state = State(hwnd);
    TreeItem* item = state ? Find(*state, handle) : nullptr;
    if (!item) return false;
    const UINT kind = action & 3u;
    const bool open = kind == TVE_EXPAND || (kind == TVE_TOGGLE && !Expanded(*item));
    if (kind != TVE_EXPAND && kind != TVE_COLLAPSE && kind != TVE_TOGGLE) return false;
    if (open == Expanded(*item)) {
        if (!open && (action & TVE_COLLAPSERESET)) item->state &= ~TVIS_EXPANDEDONCE;
        return open;
    }
    if (open && !HasChildren(*item)) return false;
    const UINT notifyAction = open ? TVE_EXPAND : TVE_COLLAPSE;
    // A message opening an item notifies only the first time.
    const bool notify = fromUser || !open || !(item->state & TVIS_EXPANDEDONCE);
    if (notify && NotifyTree(hwnd, TVN_ITEMEXPANDINGW, notifyAction, nullptr, handle)) return false;
    state = State(hwnd);
    item = state ? Find(*state, handle) : nullptr;
    if (!item) return false;
    if (open)
        item->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    else
        item->state &= ~TVIS_EXPANDED;
    if (!open && (action & TVE_COLLAPSERESET)) {
        item->state &= ~TVIS_EXPANDEDONCE;
    }
    // Closing a branch that holds the selection moves it to the branch.
    if (!open && state->selected && IsAncestor(*state, handle, state->selected)) Select(hwnd, handle, TVC_UNKNOWN);
    Changed(hwnd);
    if (notify) NotifyTree(hwnd, TVN_ITEMEXPANDEDW, notifyAction, nullptr, handle);
    return true;
}

// ---- selection ----------------------------------------------------------------------------

void SetSelectedBit(TreeState& state, HTREEITEM handle, bool on)
{
    if (TreeItem* item = Find(state, handle)) {
        if (on)
            item->state |= TVIS_SELECTED;
        else
            item->state &= ~TVIS_SELECTED;
    }
}

// Makes `handle` (null: none) the caret item; false when the parent refused.
bool Select(HWND hwnd, HTREEITEM handle, UINT cause)
{
    TreeState* state = State(hwnd);
    if (!state || (handle && !Find(*state, handle))) return false;
    if (handle == state->selected || state->selecting) return true;
    const HTREEITEM previous = state->selected;
    state->selecting = true;
    const LRESULT refused = NotifyTree(hwnd, TVN_SELCHANGINGW, cause, previous, handle);
    state = State(hwnd);
    if (!state) return false;
    state->selecting = false;
    if (refused || (handle && !Find(*state, handle))) return false;
    SetSelectedBit(*state, state->selected, false);
    state->selected = handle;
    SetSelectedBit(*state, handle, true);
    if (handle) EnsureVisible(hwnd, handle);
    Redraw(hwnd);
    state = State(hwnd);
    if (!state) return false;
    NotifyTree(hwnd, TVN_SELCHANGEDW, cause, previous, state->selected);
    return true;
}

// ---- inserting and deleting ---------------------------------------------------------------

int CompareNoCase(const std::wstring& a, const std::wstring& b)
{
    const size_t count = std::min(a.size(), b.size());
    for (size_t i = 0; i < count; ++i) {
        const wint_t x = std::towlower(a[i]), y = std::towlower(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void Take(TreeItem& item, const TVITEMW& from)
{
    if (from.mask & TVIF_TEXT) {
        item.textCallback = from.pszText == LPSTR_TEXTCALLBACKW;
        item.text = !item.textCallback && from.pszText ? from.pszText : L"";
    }
    if (from.mask & TVIF_PARAM) item.param = from.lParam;
    if (from.mask & TVIF_IMAGE) item.image = from.iImage;
    if (from.mask & TVIF_SELECTEDIMAGE) item.selectedImage = from.iSelectedImage;
    if (from.mask & TVIF_CHILDREN) item.children = from.cChildren;
    // The selection and the expansion belong to the control's own operations.
    const UINT settable = from.stateMask & ~(TVIS_SELECTED);
    if (from.mask & TVIF_STATE) item.state = (item.state & ~settable) | (from.state & settable);
}

HTREEITEM Insert(HWND hwnd, const TVINSERTSTRUCTW* insert)
{
    TreeState* state = State(hwnd);
    if (!state || !insert) return nullptr;
    HTREEITEM parent = insert->hParent == TVI_ROOT ? nullptr : insert->hParent;
    TreeItem* parentItem = Find(*state, parent);
    if (parent && !parentItem) return nullptr;
    HTREEITEM handle = Allocate(*state);
    if (!handle) return nullptr;
    TreeItem* item = Find(*state, handle);
    parentItem = Find(*state, parent);   // the table may have moved
    item->parent = parent;
    Take(*item, insert->item);
    std::vector<HTREEITEM>& siblings = parentItem ? parentItem->kids : state->roots;
    size_t at = siblings.size();
    const HTREEITEM after = insert->hInsertAfter;
    if (after == TVI_FIRST) {
        at = 0;
    } else if (after == TVI_SORT) {
        const std::wstring text = item->text;
        at = 0;
        while (at < siblings.size() && CompareNoCase(TextOf(hwnd, siblings[at]), text) <= 0) ++at;
    } else if (after && after != TVI_LAST) {
        auto found = std::find(siblings.begin(), siblings.end(), after);
        if (found != siblings.end()) at = static_cast<size_t>(found - siblings.begin()) + 1;
    }
    state = State(hwnd);
    if (!state) return nullptr;
    parentItem = Find(*state, parent);
    std::vector<HTREEITEM>& list = parentItem ? parentItem->kids : state->roots;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(at, list.size())), handle);
    Changed(hwnd);
    return handle;
}

// Deletes the item and what hangs from it, children first, each with TVN_DELETEITEM.
void DeleteBranch(HWND hwnd, HTREEITEM handle)
{
    TreeState* state = State(hwnd);
    TreeItem* item = state ? Find(*state, handle) : nullptr;
    if (!item) return;
    const std::vector<HTREEITEM> kids = item->kids;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) DeleteBranch(hwnd, *it);
    NotifyTree(hwnd, TVN_DELETEITEMW, 0, handle, nullptr);
    state = State(hwnd);
    item = state ? Find(*state, handle) : nullptr;
    if (!item) return;
    std::vector<HTREEITEM>& siblings = Siblings(*state, *item);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    if (state->dropTarget == handle) state->dropTarget = nullptr;
    Free(*state, handle);
}

// The item the selection goes to when `handle` goes: the next sibling, else the previous, else the parent.
HTREEITEM Successor(TreeState& state, HTREEITEM handle)
{
    TreeItem* item = Find(state, handle);
    if (!item) return nullptr;
    const std::vector<HTREEITEM>& siblings = Siblings(state, *item);
    auto at = std::find(siblings.begin(), siblings.end(), handle);
    if (at != siblings.end() && at + 1 != siblings.end()) return *(at + 1);
    if (at != siblings.begin() && at != siblings.end()) return *(at - 1);
    return item->parent;
}

BOOL Delete(HWND hwnd, HTREEITEM handle)
{
    TreeState* state = State(hwnd);
    if (!state) return FALSE;
    if (!handle || handle == TVI_ROOT) {
        // Everything goes, and the selection with it, without a word to the parent.
        const std::vector<HTREEITEM> roots = state->roots;
        state->selected = nullptr;
        for (auto it = roots.rbegin(); it != roots.rend(); ++it) DeleteBranch(hwnd, *it);
        if ((state = State(hwnd)) != nullptr) state->top = 0;
        Changed(hwnd);
        return TRUE;
    }
    if (!Find(*state, handle)) return FALSE;
    if (state->selected && (state->selected == handle || IsAncestor(*state, handle, state->selected))) {
        if (!Select(hwnd, Successor(*state, handle), TVC_UNKNOWN)) {
            state = State(hwnd);
            if (!state) return FALSE;
            state->selected = nullptr;
        }
        state = State(hwnd);
        if (!state || !Find(*state, handle)) return FALSE;
    }
    DeleteBranch(hwnd, handle);
    Changed(hwnd);
    return TRUE;
}

// ---- item access --------------------------------------------------------------------------

BOOL GetItem(HWND hwnd, TVITEMW* out)
{
    TreeState* state = State(hwnd);
    TreeItem* item = state && out ? Find(*state, out->hItem) : nullptr;
    if (!item) return FALSE;
    if (out->mask & TVIF_PARAM) out->lParam = item->param;
    if (out->mask & TVIF_STATE) out->state = item->state & out->stateMask;
    if (out->mask & TVIF_IMAGE) out->iImage = item->image;
    if (out->mask & TVIF_SELECTEDIMAGE) out->iSelectedImage = item->selectedImage;
    if (out->mask & TVIF_CHILDREN)
        out->cChildren = item->children == kUnknownChildren ? (item->kids.empty() ? 0 : 1) : item->children;
    if ((out->mask & TVIF_TEXT) && out->pszText && out->pszText != LPSTR_TEXTCALLBACKW && out->cchTextMax > 0) {
        const std::wstring text = TextOf(hwnd, out->hItem);
        const size_t count = std::min(text.size(), static_cast<size_t>(out->cchTextMax) - 1);
        std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(count), out->pszText);
        out->pszText[count] = L'\0';
    }
    return TRUE;
}

BOOL SetItem(HWND hwnd, const TVITEMW* in)
{
    TreeState* state = State(hwnd);
    TreeItem* item = state && in ? Find(*state, in->hItem) : nullptr;
    if (!item) return FALSE;
    Take(*item, *in);
    Changed(hwnd);
    return TRUE;
}

HTREEITEM NextItem(HWND hwnd, UINT flag, HTREEITEM handle)
{
    TreeState* state = State(hwnd);
    if (!state) return nullptr;
    switch (flag) {
    case TVGN_ROOT: return state->roots.empty() ? nullptr : state->roots.front();
    case TVGN_CARET: return state->selected;
    case TVGN_DROPHILITE: return state->dropTarget;
    case TVGN_FIRSTVISIBLE: {
        const std::vector<HTREEITEM> rows = VisibleRows(*state);
        return state->top < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(state->top)] : nullptr;
    }
    case TVGN_LASTVISIBLE: {
        const std::vector<HTREEITEM> rows = VisibleRows(*state);
        return rows.empty() ? nullptr : rows.back();
    }
    default: break;
    }
    // TVGN_CHILD of no item is the first root item, as on Windows.
    if (flag == TVGN_CHILD && (!handle || handle == TVI_ROOT))
        return state->roots.empty() ? nullptr : state->roots.front();
    TreeItem* item = Find(*state, handle);
    if (!item) return nullptr;
    switch (flag) {
    case TVGN_PARENT: return item->parent;
    case TVGN_CHILD: return item->kids.empty() ? nullptr : item->kids.front();
    case TVGN_NEXT:
    case TVGN_PREVIOUS: {
        const std::vector<HTREEITEM>& siblings = Siblings(*state, *item);
        auto at = std::find(siblings.begin(), siblings.end(), handle);
        if (at == siblings.end()) return nullptr;
        if (flag == TVGN_NEXT) return at + 1 == siblings.end() ? nullptr : *(at + 1);
        return at == siblings.begin() ? nullptr : *(at - 1);
    }
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
        const std::vector<HTREEITEM> rows = VisibleRows(*state);
        auto at = std::find(rows.begin(), rows.end(), handle);
        if (at == rows.end()) return nullptr;
        if (flag == TVGN_NEXTVISIBLE) return at + 1 == rows.end() ? nullptr : *(at + 1);
        return at == rows.begin() ? nullptr : *(at - 1);
    }
    default: return nullptr;
    }
}

// ---- geometry -----------------------------------------------------------------------------

// Left of the item's text area (after indent and button), pixels.
int TextLeft(HWND hwnd, TreeState& state, const TreeItem& item)
{
    const DWORD style = Style(hwnd);
    int level = Level(state, item);
    if (style & TVS_LINESATROOT) ++level;
    return level * state.indent + kTextPadding + (level == 0 ? 2 : 0);
}

int TextWidth(HWND hwnd, TreeState& state, HTREEITEM handle)
{
    const std::wstring text = TextOf(hwnd, handle);
    HDC hdc = CreateCompatibleDC(nullptr);
    SIZE size = {0, 0};
    if (hdc) {
        {
            FontSelection font(hdc, state.font);
            GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
        }
        DeleteDC(hdc);
    }
    return size.cx + 2 * kTextPadding;
}

BOOL ItemRect(HWND hwnd, HTREEITEM handle, bool textOnly, RECT* out)
{
    TreeState* state = State(hwnd);
    TreeItem* item = state ? Find(*state, handle) : nullptr;
    if (!item || !out) return FALSE;
    const int row = RowOf(*state, handle);
    if (row < 0) return FALSE;
    const int height = ItemHeight(hwnd, *state);
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    const int top = (row - state->top) * height;
    if (!textOnly) {
        *out = RECT{0, top, client.right, top + height};
        return TRUE;
    }
    const int left = TextLeft(hwnd, *state, *item);
    *out = RECT{left, top, left + TextWidth(hwnd, *state, handle), top + height};
    return TRUE;
}

HTREEITEM HitTest(HWND hwnd, TVHITTESTINFO* info)
{
    TreeState* state = State(hwnd);
    if (!state || !info) return nullptr;
    info->hItem = nullptr;
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    const POINT point = info->pt;
    info->flags = 0;
    if (point.y < 0) info->flags |= TVHT_ABOVE;
    if (point.y >= client.bottom) info->flags |= TVHT_BELOW;
    if (point.x < 0) info->flags |= TVHT_TOLEFT;
    if (point.x >= client.right) info->flags |= TVHT_TORIGHT;
    if (info->flags) return nullptr;
    const std::vector<HTREEITEM> rows = VisibleRows(*state);
    const int row = state->top + point.y / ItemHeight(hwnd, *state);
    if (row >= static_cast<int>(rows.size())) {
        info->flags = TVHT_NOWHERE;
        return nullptr;
    }
    const HTREEITEM handle = rows[static_cast<size_t>(row)];
    TreeItem* item = Find(*state, handle);
    const int left = TextLeft(hwnd, *state, *item);
    const int right = left + TextWidth(hwnd, *state, handle);
    const int buttonRight = left - kTextPadding;
    const int buttonLeft = buttonRight - state->indent;
    info->hItem = handle;
    if (point.x >= left && point.x < right)
        info->flags = TVHT_ONITEMLABEL;
    else if (point.x >= right)
        info->flags = TVHT_ONITEMRIGHT;
    else if (point.x >= buttonLeft && HasChildren(*item) && (Style(hwnd) & TVS_HASBUTTONS) &&
             (Level(*state, *item) > 0 || (Style(hwnd) & TVS_LINESATROOT)))
        info->flags = TVHT_ONITEMBUTTON;
    else
        info->flags = TVHT_ONITEMINDENT;
    return handle;
}

// ---- input --------------------------------------------------------------------------------

void ButtonDown(HWND hwnd, LPARAM lParam, bool doubleClick)
{
    if (GetFocus() != hwnd) SetFocus(hwnd);
    TVHITTESTINFO hit = {{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))}, 0, nullptr};
    HTREEITEM handle = HitTest(hwnd, &hit);
    if (hit.flags & TVHT_ONITEMBUTTON) {
        Expand(hwnd, handle, TVE_TOGGLE, true);
        return;
    }
    const bool onItem = (hit.flags & TVHT_ONITEM) || ((Style(hwnd) & TVS_FULLROWSELECT) && handle);
    if (doubleClick) {
        if (NotifyCode(hwnd, NM_DBLCLK)) return;
        if (onItem) Expand(hwnd, handle, TVE_TOGGLE, true);
        return;
    }
    if (NotifyCode(hwnd, NM_CLICK)) return;
    if (onItem) Select(hwnd, handle, TVC_BYMOUSE);
}

void KeyDown(HWND hwnd, UINT vk)
{
    NMTVKEYDOWN key = {{nullptr, 0, TVN_KEYDOWN}, static_cast<WORD>(vk), 0};
    Notify(hwnd, key.hdr);
    TreeState* state = State(hwnd);
    if (!state) return;
    const std::vector<HTREEITEM> rows = VisibleRows(*state);
    if (rows.empty()) return;
    HTREEITEM current = state->selected;
    int row = RowOf(*state, current);
    TreeItem* item = Find(*state, current);
    HTREEITEM target = nullptr;
    const int last = static_cast<int>(rows.size()) - 1;
    switch (vk) {
    case VK_UP: target = rows[static_cast<size_t>(std::max(0, row - 1))]; break;
    case VK_DOWN: target = rows[static_cast<size_t>(std::min(last, row + 1))]; break;
    case VK_HOME: target = rows.front(); break;
    case VK_END: target = rows.back(); break;
    case VK_PRIOR: target = rows[static_cast<size_t>(std::max(0, row - PageRows(hwnd, *state) + 1))]; break;
    case VK_NEXT:
        target = rows[static_cast<size_t>(std::min(last, std::max(0, row) + PageRows(hwnd, *state) - 1))];
        break;
    case VK_LEFT:
        if (item && Expanded(*item)) return (void)Expand(hwnd, current, TVE_COLLAPSE, true);
        target = item ? item->parent : nullptr;
        break;
    case VK_RIGHT:
        if (item && HasChildren(*item) && !Expanded(*item)) return (void)Expand(hwnd, current, TVE_EXPAND, true);
        target = item && !item->kids.empty() ? item->kids.front() : nullptr;
        break;
    case VK_ADD:
        if (current) Expand(hwnd, current, TVE_EXPAND, true);
        return;
    case VK_SUBTRACT:
        if (current) Expand(hwnd, current, TVE_COLLAPSE, true);
        return;
    case VK_RETURN: NotifyCode(hwnd, NM_RETURN); return;
    default: return;
    }
    if (target) Select(hwnd, target, TVC_BYKEYBOARD);
}

// Typing selects the next visible item whose text begins with what was typed lately.
void TypeAhead(HWND hwnd, wchar_t c)
{
    TreeState* state = State(hwnd);
    if (!state || c < 0x20) return;
    const DWORD now = platform::ui::ClockNow();
    const bool continuing = !state->search.empty() && now - state->searchTime < kSearchTimeout;
    state->search = continuing ? state->search + c : std::wstring(1, c);
    state->searchTime = now;
    const std::vector<HTREEITEM> rows = VisibleRows(*state);
    const int count = static_cast<int>(rows.size());
    if (count == 0) return;
    const int current = RowOf(*state, state->selected);
    const std::wstring wanted = state->search;
    const int first = continuing ? std::max(current, 0) : current + 1;
    for (int step = 0; step < count; ++step) {
        const HTREEITEM handle = rows[static_cast<size_t>(((first + step) % count + count) % count)];
        const std::wstring text = TextOf(hwnd, handle);
        if (text.size() >= wanted.size() && CompareNoCase(text.substr(0, wanted.size()), wanted) == 0) {
            Select(hwnd, handle, TVC_BYKEYBOARD);
            return;
        }
    }
}

// ---- painting -----------------------------------------------------------------------------

void DrawButton(HDC hdc, int cx, int cy, bool expanded)
{
    const int half = kButtonSize / 2;
    RECT box = {cx - half, cy - half, cx + half + 1, cy + half + 1};
    FillRect(hdc, &box, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(hdc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
    HBRUSH ink = GetSysColorBrush(COLOR_WINDOWTEXT);
    const RECT minus = {cx - 2, cy, cx + 3, cy + 1};
    FillRect(hdc, &minus, ink);
    if (expanded) return;
    const RECT bar = {cx, cy - 2, cx + 1, cy + 3};
    FillRect(hdc, &bar, ink);
}

void DrawLines(HWND hwnd, HDC hdc, TreeState& state, HTREEITEM handle, const TreeItem& item, int top, int height)
{
    const int left = TextLeft(hwnd, state, item);
    const int cx = left - kTextPadding - state.indent / 2;
    const int cy = top + height / 2;
    if (cx < 0) return;
    const DWORD style = Style(hwnd);
    if (style & TVS_HASLINES) {
        HBRUSH line = GetSysColorBrush(COLOR_GRAYTEXT);
        const std::vector<HTREEITEM>& siblings = Siblings(state, item);
        const bool lastSibling = !siblings.empty() && siblings.back() == handle;
        const bool firstRoot = !item.parent && !siblings.empty() && siblings.front() == handle;
        const RECT across = {cx, cy, cx + state.indent / 2, cy + 1};
        const RECT up = {cx, firstRoot ? cy : top, cx + 1, cy + 1};
        const RECT down = {cx, cy, cx + 1, top + height};
        FillRect(hdc, &across, line);
        FillRect(hdc, &up, line);
        if (!lastSibling) FillRect(hdc, &down, line);
    }
    if ((style & TVS_HASBUTTONS) && HasChildren(item)) DrawButton(hdc, cx, cy, Expanded(item));
}

void Paint(HWND hwnd)
{
    ControlPaint paint(hwnd);
    TreeState* state = State(hwnd);
    if (!paint || !state) return;
    const HDC hdc = paint.Dc();
    const RECT& client = paint.Client();
    paint.SelectFont(state->font);
    const COLORREF background = state->background == CLR_INVALID ? GetSysColor(COLOR_WINDOW) : state->background;
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(hdc, &client, brush);
    DeleteObject(brush);
    SetBkMode(hdc, TRANSPARENT);
    const int height = ItemHeight(hwnd, *state);
    const std::vector<HTREEITEM> rows = VisibleRows(*state);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    for (int row = state->top; row < static_cast<int>(rows.size()); ++row) {
        const int top = (row - state->top) * height;
        if (top >= client.bottom) break;
        const HTREEITEM handle = rows[static_cast<size_t>(row)];
        TreeItem* item = Find(*state, handle);
        if (!item) continue;
        DrawLines(hwnd, hdc, *state, handle, *item, top, height);
        const int left = TextLeft(hwnd, *state, *item);
        const std::wstring text = TextOf(hwnd, handle);
        state = State(hwnd);
        if (!state) break;
        RECT label = {left, top, left + TextWidth(hwnd, *state, handle), top + height};
        const bool selected = handle == state->selected || handle == state->dropTarget;
        const bool showSelection = selected && (state->focused || (Style(hwnd) & TVS_SHOWSELALWAYS));
        COLORREF ink = !enabled ? GetSysColor(COLOR_GRAYTEXT)
                       : state->textColor == CLR_INVALID ? GetSysColor(COLOR_WINDOWTEXT) : state->textColor;
        if (showSelection) {
            FillRect(hdc, &label, GetSysColorBrush(state->focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
            if (state->focused) ink = GetSysColor(COLOR_HIGHLIGHTTEXT);
        }
        SetTextColor(hdc, ink);
        RECT inner = label;
        inner.left += kTextPadding;
        DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &inner,
                  DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (handle == state->selected && state->focused) DrawFocusRect(hdc, &label);
    }
}

// ---- messages -----------------------------------------------------------------------------

void SortChildren(HWND hwnd, HTREEITEM parent, bool recurse)
{
    TreeState* state = State(hwnd);
    if (!state) return;
    TreeItem* item = Find(*state, parent);
    std::vector<HTREEITEM>& list = item ? item->kids : state->roots;
    std::vector<std::pair<std::wstring, HTREEITEM>> keyed;
    for (HTREEITEM handle : list) keyed.emplace_back(TextOf(hwnd, handle), handle);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return CompareNoCase(a.first, b.first) < 0; });
    state = State(hwnd);
    if (!state) return;
    item = Find(*state, parent);
    std::vector<HTREEITEM>& target = item ? item->kids : state->roots;
    target.clear();
    for (const auto& entry : keyed) target.push_back(entry.second);
    if (recurse)
        for (const auto& entry : keyed) SortChildren(hwnd, entry.second, true);
    Changed(hwnd);
}

LRESULT TreeMessage(HWND hwnd, TreeState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto handle = reinterpret_cast<HTREEITEM>(lParam);
    switch (message) {
        case TVM_INSERTITEMW:
            return reinterpret_cast<LRESULT>(Insert(hwnd, reinterpret_cast<const TVINSERTSTRUCTW*>(lParam)));
        case TVM_DELETEITEM: return Delete(hwnd, handle);
        case TVM_EXPAND: return Expand(hwnd, handle, static_cast<UINT>(wParam), false) ? TRUE : FALSE;
        case TVM_GETITEMRECT: {
            auto* rect = reinterpret_cast<RECT*>(lParam);
            if (!rect) return FALSE;
            HTREEITEM item = nullptr;
            std::memcpy(&item, rect, sizeof(item));
            return ItemRect(hwnd, item, wParam != 0, rect);
    }
    case TVM_GETCOUNT: return Count(state);
    case TVM_GETINDENT: return state.indent;
    case TVM_SETINDENT:
        state.indent = std::max(static_cast<int>(wParam), kButtonSize + 2);
        Redraw(hwnd);
        return 0;
    case TVM_GETNEXTITEM: return reinterpret_cast<LRESULT>(NextItem(hwnd, static_cast<UINT>(wParam), handle));
    case TVM_SELECTITEM:
        if (wParam == TVGN_CARET) return Select(hwnd, handle, TVC_UNKNOWN) ? TRUE : FALSE;
        if (handle && !Find(state, handle)) return FALSE;
        if (wParam == TVGN_DROPHILITE) {
            state.dropTarget = handle;
            Redraw(hwnd);
            return TRUE;
        }
        if (wParam == TVGN_FIRSTVISIBLE) {
            EnsureVisible(hwnd, handle);
            if (TreeState* after = State(hwnd)) SetTop(hwnd, RowOf(*after, handle));
            return TRUE;
        }
        return FALSE;
    case TVM_GETITEMW: return GetItem(hwnd, reinterpret_cast<TVITEMW*>(lParam));
    case TVM_SETITEMW: return SetItem(hwnd, reinterpret_cast<const TVITEMW*>(lParam));
    case TVM_GETVISIBLECOUNT: return PageRows(hwnd, state);
    case TVM_HITTEST: return reinterpret_cast<LRESULT>(HitTest(hwnd, reinterpret_cast<TVHITTESTINFO*>(lParam)));
    case TVM_SORTCHILDREN:
        if (handle && handle != TVI_ROOT && !Find(state, handle)) return FALSE;
        SortChildren(hwnd, handle == TVI_ROOT ? nullptr : handle, wParam != 0);
        return TRUE;
    case TVM_ENSUREVISIBLE:
        if (!Find(state, handle)) return FALSE;
        EnsureVisible(hwnd, handle);
        return TRUE;
    case TVM_SETITEMHEIGHT: {
        const int previous = ItemHeight(hwnd, state);
        const int height = static_cast<int>(static_cast<SHORT>(LOWORD(wParam)));
        state.heightSet = height > 0;
        state.itemHeight = height > 0 ? height : 0;
        Changed(hwnd);
        return previous;
    }
    case TVM_GETITEMHEIGHT: return ItemHeight(hwnd, state);
    case TVM_SETBKCOLOR: {
        const COLORREF previous = state.background;
        state.background = static_cast<COLORREF>(lParam);
        Redraw(hwnd);
        return static_cast<LRESULT>(previous == CLR_INVALID ? static_cast<COLORREF>(-1) : previous);
    }
    case TVM_GETBKCOLOR:
        return static_cast<LRESULT>(state.background == CLR_INVALID ? static_cast<COLORREF>(-1) : state.background);
    case TVM_SETTEXTCOLOR: {
        const COLORREF previous = state.textColor;
        state.textColor = static_cast<COLORREF>(lParam);
        Redraw(hwnd);
        return static_cast<LRESULT>(previous == CLR_INVALID ? static_cast<COLORREF>(-1) : previous);
    }
    case TVM_GETTEXTCOLOR:
        return static_cast<LRESULT>(state.textColor == CLR_INVALID ? static_cast<COLORREF>(-1) : state.textColor);
    case TVM_GETITEMSTATE: {
        TreeItem* item = Find(state, reinterpret_cast<HTREEITEM>(wParam));
        return item ? static_cast<LRESULT>(item->state & static_cast<UINT>(lParam)) : 0;
    }
    default: return 0;
    }
}

LRESULT TreeWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TreeState* state = State(hwnd);
    if (!state) return 0;
    if (message >= TV_FIRST && message < TV_FIRST + 0x100) return TreeMessage(hwnd, *state, message, wParam, lParam);
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND: return 1;   // rows and background are painted together
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (!state->heightSet) state->itemHeight = 0;
        Changed(hwnd);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SIZE: Changed(hwnd); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        state->focused = message == WM_SETFOCUS;
        Redraw(hwnd);
        NotifyCode(hwnd, message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
        return 0;
    case WM_ENABLE: Redraw(hwnd); return 0;
    case WM_LBUTTONDOWN: ButtonDown(hwnd, lParam, false); return 0;
    case WM_LBUTTONDBLCLK: ButtonDown(hwnd, lParam, true); return 0;
    case WM_RBUTTONDOWN: NotifyCode(hwnd, NM_RCLICK); return 0;
    case WM_KEYDOWN: KeyDown(hwnd, static_cast<UINT>(wParam)); return 0;
    case WM_CHAR: TypeAhead(hwnd, static_cast<wchar_t>(wParam)); return 0;
    case WM_VSCROLL: {
        const int page = PageRows(hwnd, *state);
        switch (LOWORD(wParam)) {
        case SB_LINEUP: SetTop(hwnd, state->top - 1); break;
        case SB_LINEDOWN: SetTop(hwnd, state->top + 1); break;
        case SB_PAGEUP: SetTop(hwnd, state->top - page); break;
        case SB_PAGEDOWN: SetTop(hwnd, state->top + page); break;
        case SB_TOP: SetTop(hwnd, 0); break;
        case SB_BOTTOM: SetTop(hwnd, Count(*state)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTop(hwnd, static_cast<SHORT>(HIWORD(wParam))); break;
        default: break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL: SetTop(hwnd, state->top - static_cast<SHORT>(HIWORD(wParam)) / 120 * kWheelLines); return 0;
    case WM_DESTROY: Delete(hwnd, TVI_ROOT); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const SystemClass s_treeClass(WC_TREEVIEWW, &TreeWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS,
                              IDC_ARROW, 0, 0);

}  // namespace

}  // namespace platform::ui
