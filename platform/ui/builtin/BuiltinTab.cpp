// The "SysTabControl32" class: one row of tabs over a raised panel. A click
// on a tab asks the parent (TCN_SELCHANGING, which may refuse) and then
// tells it (TCN_SELCHANGE); TCM_SETCURSEL changes the selection silently.
#include <algorithm>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/builtin/ControlPaint.h"
#include "platform/ui/windowing/CommCtrl.h"
#include "platform/ui/windowing/ControlSupport.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

namespace {

const int kTabPadding = 6;   // pixels each side of a tab's text
const int kRowInset = 2;     // pixels from the control's top-left to the first tab
const int kPanelInset = 4;   // pixels of panel border around the display area

struct TabItem {
    CString text;
    int image = -1;
    DWORD state = 0;
    LPARAM param = 0;
};

struct TabState : WindowExtra {
    std::vector<TabItem> items;
    int selected = -1;
    HFONT font = nullptr;
    int fixedWidth = 0;    // TCM_SETITEMSIZE; 0: tabs as wide as their text
    int fixedHeight = 0;
};

TabState* State(HWND hwnd)
{
    return ControlState<TabState>(hwnd);
}

// Height of the row of tabs, pixels.
int RowHeight(HWND hwnd, const TabState& state)
{
    if (state.fixedHeight > 0) return state.fixedHeight;
    HDC hdc = GetDC(hwnd);
    TEXTMETRICW metrics = {};
    {
        FontSelection font(hdc, state.font);
        GetTextMetricsW(hdc, &metrics);
    }
    ReleaseDC(hwnd, hdc);
    return metrics.tmHeight + 6;
}

std::vector<RECT> ItemRects(HWND hwnd, const TabState& state)
{
    std::vector<RECT> rects;
    const int height = RowHeight(hwnd, state);
    HDC hdc = GetDC(hwnd);
    {
        FontSelection font(hdc, state.font);
        int x = kRowInset;
        for (const TabItem& item : state.items) {
            SIZE extent = {0, 0};
            GetTextExtentPoint32W(hdc, item.text.GetString(), item.text.GetLength(), &extent);
            const int width = state.fixedWidth > 0 ? state.fixedWidth : extent.cx + 2 * kTabPadding;
            rects.push_back(RECT{x, kRowInset, x + width, kRowInset + height});
            x += width;
        }
    }
    ReleaseDC(hwnd, hdc);
    return rects;
}

void Notify(HWND hwnd, UINT code, LRESULT* answer = nullptr)
{
    HWND parent = GetParent(hwnd);
    if (!parent) return;
    NMHDR header = {hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), code};
    const LRESULT result = SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    if (answer) *answer = result;
}

// A selection made by the person: the parent may refuse it.
void Choose(HWND hwnd, int index)
{
    TabState* state = State(hwnd);
    if (!state || index < 0 || index >= static_cast<int>(state->items.size()) || index == state->selected) return;
    LRESULT refused = FALSE;
    Notify(hwnd, TCN_SELCHANGING, &refused);
    state = State(hwnd);
    if (refused || !state) return;
    state->selected = index;
    InvalidateRect(hwnd, nullptr, TRUE);
    Notify(hwnd, TCN_SELCHANGE);
}

int HitTest(HWND hwnd, POINT point)
{
    TabState* state = State(hwnd);
    if (!state) return -1;
    const std::vector<RECT> rects = ItemRects(hwnd, *state);
    for (size_t i = 0; i < rects.size(); ++i)
        if (RectContains(rects[i], point)) return static_cast<int>(i);
    return -1;
}

void AdjustRect(HWND hwnd, BOOL larger, RECT* rect)
{
    TabState* state = State(hwnd);
    if (!state || !rect) return;
    const int top = kRowInset + RowHeight(hwnd, *state) + kPanelInset - 2;
    if (larger) {
        rect->left -= kPanelInset;
        rect->right += kPanelInset;
        rect->top -= top;
        rect->bottom += kPanelInset;
    } else {
        rect->left += kPanelInset;
        rect->right -= kPanelInset;
        rect->top += top;
        rect->bottom -= kPanelInset;
    }
}

void Paint(HWND hwnd)
{
    TabState* state = State(hwnd);
    ControlPaint paint(hwnd);
    if (!paint || !state) return;
    const HDC hdc = paint.Dc();
    const RECT& client = paint.Client();
    paint.SelectFont(state->font);
    // The display area is left alone: the page shown there (a sibling
    // below the tab control) paints it.
    RECT display = client;
    AdjustRect(hwnd, FALSE, &display);
    const HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    const RECT frame[] = {{client.left, client.top, client.right, display.top},
                          {client.left, display.top, display.left, display.bottom},
                          {display.right, display.top, client.right, display.bottom},
                          {client.left, display.bottom, client.right, client.bottom}};
    for (const RECT& part : frame) FillRect(hdc, &part, face);
    const std::vector<RECT> rects = ItemRects(hwnd, *state);
    const int rowBottom = kRowInset + RowHeight(hwnd, *state);
    RECT panel = {client.left, rowBottom, client.right, client.bottom};
    DrawEdge(hdc, &panel, EDGE_RAISED, BF_RECT);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    for (size_t i = 0; i < rects.size(); ++i) {
        RECT tab = rects[i];
        const bool selected = static_cast<int>(i) == state->selected;
        if (selected) InflateRect(&tab, 2, 2);
        tab.bottom = rowBottom + (selected ? 1 : 0);
        FillRect(hdc, &tab, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(hdc, &tab, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
        RECT label = tab;
        DrawTextW(hdc, state->items[i].text.GetString(), state->items[i].text.GetLength(), &label,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (selected && GetFocus() == hwnd) {
            RECT focus = rects[i];
            InflateRect(&focus, -2, -2);
            DrawFocusRect(hdc, &focus);
        }
    }
}

void CopyItem(const TabItem& item, TCITEMW* out)
{
    if (out->mask & TCIF_TEXT) {
        if (out->pszText && out->cchTextMax > 0) {
            const int count = std::min(item.text.GetLength(), out->cchTextMax - 1);
            std::copy(item.text.GetString(), item.text.GetString() + count, out->pszText);
            out->pszText[count] = L'\0';
        }
    }
    if (out->mask & TCIF_IMAGE) out->iImage = item.image;
    if (out->mask & TCIF_PARAM) out->lParam = item.param;
    if (out->mask & TCIF_STATE) out->dwState = item.state & out->dwStateMask;
}

void TakeItem(const TCITEMW& in, TabItem& item)
{
    if ((in.mask & TCIF_TEXT) && in.pszText) item.text = in.pszText;
    if (in.mask & TCIF_IMAGE) item.image = in.iImage;
    if (in.mask & TCIF_PARAM) item.param = in.lParam;
    if (in.mask & TCIF_STATE) item.state = (item.state & ~in.dwStateMask) | (in.dwState & in.dwStateMask);
}

LRESULT TabWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TabState* state = State(hwnd);
    if (!state) return 0;
    const int count = static_cast<int>(state->items.size());
    const int index = static_cast<int>(wParam);
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_LBUTTONDOWN: {
        const POINT point = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
        const int hit = HitTest(hwnd, point);
        if (hit >= 0 && !(GetWindowLongW(hwnd, GWL_STYLE) & TCS_FOCUSNEVER)) SetFocus(hwnd);
        if (hit >= 0) Choose(hwnd, hit);
        return 0;
    }
    case WM_NCHITTEST: {
        // Off its tabs the control lets the mouse through to the windows
        // beneath it: a property sheet's page lies over its display area
        // but below it in the z-order, and the page's fields take the clicks.
        POINT point = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
        ScreenToClient(hwnd, &point);
        if (HitTest(hwnd, point) < 0) return HTTRANSPARENT;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    case WM_KEYDOWN:
        if (wParam == VK_LEFT && state->selected > 0) Choose(hwnd, state->selected - 1);
        if (wParam == VK_RIGHT && state->selected + 1 < count) Choose(hwnd, state->selected + 1);
        return 0;
    case TCM_GETITEMCOUNT: return count;
    case TCM_INSERTITEMW: {
        const auto* item = reinterpret_cast<const TCITEMW*>(lParam);
        if (!item || index < 0) return -1;
        const int at = std::min(index, count);
        TabItem added;
        TakeItem(*item, added);
        state->items.insert(state->items.begin() + at, added);
        if (state->selected >= at) ++state->selected;
        if (state->selected < 0) state->selected = 0;
        InvalidateRect(hwnd, nullptr, TRUE);
        return at;
    }
    case TCM_DELETEITEM:
        if (index < 0 || index >= count) return FALSE;
        state->items.erase(state->items.begin() + index);
        if (state->selected == index)
            state->selected = -1;
        else if (state->selected > index)
            --state->selected;
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case TCM_DELETEALLITEMS:
        state->items.clear();
        state->selected = -1;
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case TCM_GETITEMW:
        if (index < 0 || index >= count || !lParam) return FALSE;
        CopyItem(state->items[index], reinterpret_cast<TCITEMW*>(lParam));
        return TRUE;
    case TCM_SETITEMW:
        if (index < 0 || index >= count || !lParam) return FALSE;
        TakeItem(*reinterpret_cast<const TCITEMW*>(lParam), state->items[index]);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS: return state->selected;
    case TCM_SETCURSEL:
    case TCM_SETCURFOCUS: {
        if (index < 0 || index >= count) return -1;
        const int previous = state->selected;
        state->selected = index;
        InvalidateRect(hwnd, nullptr, TRUE);
        return previous;
    }
    case TCM_GETITEMRECT: {
        if (index < 0 || index >= count || !lParam) return FALSE;
        *reinterpret_cast<RECT*>(lParam) = ItemRects(hwnd, *state)[index];
        return TRUE;
    }
    case TCM_HITTEST: {
        auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
        if (!info) return -1;
        const int hit = HitTest(hwnd, info->pt);
        info->flags = hit >= 0 ? TCHT_ONITEM : TCHT_NOWHERE;
        return hit;
    }
    case TCM_ADJUSTRECT: AdjustRect(hwnd, static_cast<BOOL>(wParam), reinterpret_cast<RECT*>(lParam)); return 0;
    case TCM_SETITEMSIZE: {
        const LRESULT previous = MAKELONG(state->fixedWidth, state->fixedHeight);
        state->fixedWidth = LOWORD(lParam);
        state->fixedHeight = HIWORD(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return previous;
    }
    case TCM_GETROWCOUNT: return 1;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const SystemClass s_tabClass(WC_TABCONTROL, &TabWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS,
                             IDC_ARROW, 0, 0);

}  // namespace

}  // namespace platform::ui
