// The "tooltips_class32" class: a pop-up that shows a tool's text when the
// mouse rests on the tool. The owner relays its mouse messages
// (TTM_RELAYEVENT); when the mouse has stayed on one tool for the initial
// delay (the double-click time, on the desktop's clock) the tip appears
// below the cursor (TTN_SHOW to the tool's window), and it goes after the
// auto-pop delay, when the mouse leaves the tool or a button is pressed
// (TTN_POP). An inactive tooltip (TTM_ACTIVATE FALSE) shows nothing.
//
// A tool is a rectangle of a window, or a whole window (TTF_IDISHWND); its
// text is kept by the tooltip, loaded from a string resource, or asked of
// the tool's window each time (LPSTR_TEXTCALLBACK, TTN_GETDISPINFO).
#include <algorithm>
#include <cstddef>
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
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

namespace {

const UINT_PTR kShowTimer = 1;
const UINT_PTR kPopTimer = 2;
const int kMargin = 2;                 // pixels between the tip's border and its text
const int kCursorOffset = 20;          // pixels the tip sits below the cursor
// The smallest TOOLINFO callers may pass: the first version, without lParam.
const UINT kMinimumToolInfoSize = static_cast<UINT>(offsetof(TOOLINFOW, lParam));

struct Tool {
    UINT flags = 0;                    // TTF_*
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect = {0, 0, 0, 0};
    HINSTANCE instance = nullptr;
    std::wstring text;
    bool callback = false;             // LPSTR_TEXTCALLBACK
    LPARAM param = 0;
};

struct ToolTipState : WindowExtra {
    std::vector<Tool> tools;
    bool active = true;
    int hovered = -1;                  // the tool under the mouse; -1 none
    int shown = -1;                    // the tool whose tip is up; -1 none
    int initialDelay = -1;             // milliseconds; -1: the double-click time
    int autopopDelay = -1;             // milliseconds; -1: ten times the initial delay
    int reshowDelay = -1;              // milliseconds; -1: a fifth of the initial delay
    int maxWidth = -1;                 // pixels; -1: one line, as wide as the text
    COLORREF background = CLR_INVALID;
    COLORREF textColor = CLR_INVALID;
    HFONT font = nullptr;
    POINT cursor = {0, 0};             // screen point of the last relayed mouse message
    std::wstring text;                 // what the shown tip says
};

ToolTipState* State(HWND hwnd)
{
    return ControlState<ToolTipState>(hwnd);
}

int InitialDelay(const ToolTipState& state)
{
    return state.initialDelay >= 0 ? state.initialDelay : static_cast<int>(GetDoubleClickTime());
}

int AutopopDelay(const ToolTipState& state)
{
    return state.autopopDelay >= 0 ? state.autopopDelay : InitialDelay(state) * 10;
}

int ReshowDelay(const ToolTipState& state)
{
    return state.reshowDelay >= 0 ? state.reshowDelay : InitialDelay(state) / 5;
}

// ---- tools ------------------------------------------------------------------------------

bool ValidInfo(const TOOLINFOW* info)
{
    return info && info->cbSize >= kMinimumToolInfoSize;
}

int FindTool(const ToolTipState& state, HWND hwnd, UINT_PTR id)
{
    for (size_t i = 0; i < state.tools.size(); ++i)
        if (state.tools[i].hwnd == hwnd && state.tools[i].id == id) return static_cast<int>(i);
    return -1;
}

void TakeText(Tool& tool, const TOOLINFOW& info)
{
    tool.callback = info.lpszText == LPSTR_TEXTCALLBACKW;
    tool.text.clear();
    tool.instance = info.hinst;
    if (tool.callback || !info.lpszText) return;
    if (IS_INTRESOURCE(info.lpszText)) {
        CString loaded;
        LoadModuleString(info.hinst, LOWORD(reinterpret_cast<ULONG_PTR>(info.lpszText)), loaded);
        tool.text = loaded.GetString();
        return;
    }
    tool.text = info.lpszText;
}

void FillInfo(const Tool& tool, TOOLINFOW* info)
{
    info->uFlags = tool.flags;
    info->hwnd = tool.hwnd;
    info->uId = tool.id;
    info->rect = tool.rect;
    info->hinst = tool.instance;
    if (info->cbSize > kMinimumToolInfoSize) info->lParam = tool.param;
    // The text goes into the caller's buffer when it gave one.
    if (info->lpszText && info->lpszText != LPSTR_TEXTCALLBACKW && !IS_INTRESOURCE(info->lpszText)) {
        std::copy(tool.text.begin(), tool.text.end(), info->lpszText);
        info->lpszText[tool.text.size()] = L'\0';
    }
}

// The tool under a point of `window`'s client area; -1 none.
int ToolAt(const ToolTipState& state, HWND window, POINT point)
{
    for (size_t i = 0; i < state.tools.size(); ++i) {
        const Tool& tool = state.tools[i];
        if (tool.flags & TTF_IDISHWND) {
            if (reinterpret_cast<HWND>(tool.id) != window) continue;
            RECT client = {0, 0, 0, 0};
            GetClientRect(window, &client);
            if (RectContains(client, point)) return static_cast<int>(i);
            continue;
        }
        if (tool.hwnd == window && RectContains(tool.rect, point)) return static_cast<int>(i);
    }
    return -1;
}

// ---- showing and hiding --------------------------------------------------------------------

LRESULT NotifyTool(HWND hwnd, const Tool& tool, NMHDR& header)
{
    HWND target = tool.hwnd ? tool.hwnd : GetParent(hwnd);
    if (!target) return 0;
    header.hwndFrom = hwnd;
    header.idFrom = tool.id;
    return SendMessageW(target, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&header));
}

std::wstring TextOf(HWND hwnd, const Tool& tool)
{
    if (!tool.callback) return tool.text;
    NMTTDISPINFOW info = {};
    info.hdr.code = TTN_GETDISPINFOW;
    info.uFlags = tool.flags;
    info.lParam = tool.param;
    NotifyTool(hwnd, tool, info.hdr);
    info.szText[79] = L'\0';
    if (!info.lpszText) return info.szText;
    if (IS_INTRESOURCE(info.lpszText)) {
        CString loaded;
        LoadModuleString(info.hinst, LOWORD(reinterpret_cast<ULONG_PTR>(info.lpszText)), loaded);
        return loaded.GetString();
    }
    return info.lpszText;
}

UINT TextFormat(const ToolTipState& state, HWND hwnd)
{
    UINT format = DT_LEFT | DT_EXPANDTABS;
    if (static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & TTS_NOPREFIX) format |= DT_NOPREFIX;
    format |= state.maxWidth >= 0 ? DT_WORDBREAK : DT_SINGLELINE;
    return format;
}

SIZE TipSize(HWND hwnd, const ToolTipState& state, const std::wstring& text)
{
    HDC hdc = CreateCompatibleDC(nullptr);
    RECT rect = {0, 0, state.maxWidth >= 0 ? state.maxWidth : 0x7FFF, 0};
    if (hdc) {
        {
            FontSelection font(hdc, state.font);
            DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rect, TextFormat(state, hwnd) | DT_CALCRECT);
        }
        DeleteDC(hdc);
    }
    return SIZE{rect.right - rect.left + 2 * (kMargin + 1), rect.bottom - rect.top + 2 * (kMargin + 1)};
}

void Hide(HWND hwnd)
{
    ToolTipState* state = State(hwnd);
    if (!state) return;
    KillTimer(hwnd, kPopTimer);
    const int shown = state->shown;
    if (shown < 0) return;
    state->shown = -1;
    ShowWindow(hwnd, SW_HIDE);
    state = State(hwnd);
    if (!state || shown >= static_cast<int>(state->tools.size())) return;
    NMHDR header = {nullptr, 0, TTN_POP};
    NotifyTool(hwnd, state->tools[static_cast<size_t>(shown)], header);
}

void Show(HWND hwnd)
{
    ToolTipState* state = State(hwnd);
    if (!state || !state->active || state->hovered < 0 || state->hovered >= static_cast<int>(state->tools.size()))
        return;
    const int index = state->hovered;
    const std::wstring text = TextOf(hwnd, state->tools[static_cast<size_t>(index)]);
    state = State(hwnd);
    if (!state || text.empty() || state->hovered != index) return;
    state->text = text;
    state->shown = index;
    const SIZE size = TipSize(hwnd, *state, text);
    int x = state->cursor.x;
    int y = state->cursor.y + kCursorOffset;
    // The tip stays on the screen.
    x = std::max(0, std::min(x, platform::ui::ScreenWidth() - static_cast<int>(size.cx)));
    if (y + size.cy > platform::ui::ScreenHeight()) y = state->cursor.y - static_cast<int>(size.cy) - 2;
    NMHDR header = {nullptr, 0, TTN_SHOW};
    const LRESULT placed = NotifyTool(hwnd, state->tools[static_cast<size_t>(index)], header);
    // A nonzero answer to TTN_SHOW means the owner placed the tip itself.
    const UINT flags = SWP_SHOWWINDOW | SWP_NOACTIVATE | (placed ? SWP_NOMOVE : 0u);
    SetWindowPos(hwnd, HWND_TOPMOST, x, y, size.cx, size.cy, flags);
    InvalidateRect(hwnd, nullptr, TRUE);
    if (ToolTipState* after = State(hwnd))
        SetTimer(hwnd, kPopTimer, static_cast<UINT>(std::max(AutopopDelay(*after), 1)), nullptr);
}

// The mouse is over `tool` (-1: over none); a change of tool restarts the wait.
void Hover(HWND hwnd, int tool)
{
    ToolTipState* state = State(hwnd);
    if (!state || tool == state->hovered) return;
    const bool wasShown = state->shown >= 0;
    Hide(hwnd);
    state = State(hwnd);
    if (!state) return;
    state->hovered = tool;
    KillTimer(hwnd, kShowTimer);
    if (tool < 0 || !state->active) return;
    // Moving from one shown tip to the next tool takes the shorter reshow delay.
    const int delay = wasShown ? ReshowDelay(*state) : InitialDelay(*state);
    SetTimer(hwnd, kShowTimer, static_cast<UINT>(std::max(delay, 1)), nullptr);
}

void Relay(HWND hwnd, const MSG* msg)
{
    ToolTipState* state = State(hwnd);
    if (!state || !msg) return;
    switch (msg->message) {
    case WM_MOUSEMOVE: {
        const POINT point = {static_cast<SHORT>(LOWORD(msg->lParam)), static_cast<SHORT>(HIWORD(msg->lParam))};
        POINT screen = point;
        ClientToScreen(msg->hwnd, &screen);
        state->cursor = screen;
        Hover(hwnd, ToolAt(*state, msg->hwnd, point));
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_NCMOUSEMOVE:
    case WM_MOUSELEAVE: {
        // A click puts the tip away; the mouse has to come back to the tool to see it again.
        KillTimer(hwnd, kShowTimer);
        Hide(hwnd);
        if (ToolTipState* after = State(hwnd)) after->hovered = -1;
        return;
    }
    default: return;
    }
}

// ---- messages ------------------------------------------------------------------------------

LRESULT AddTool(HWND hwnd, const TOOLINFOW* info)
{
    ToolTipState* state = State(hwnd);
    if (!state || !ValidInfo(info)) return FALSE;
    if (FindTool(*state, info->hwnd, info->uId) >= 0) return FALSE;
    Tool tool;
    tool.flags = info->uFlags;
    tool.hwnd = info->hwnd;
    tool.id = info->uId;
    tool.rect = info->rect;
    if (info->cbSize > kMinimumToolInfoSize) tool.param = info->lParam;
    TakeText(tool, *info);
    state->tools.push_back(tool);
    return TRUE;
}

void DeleteTool(HWND hwnd, const TOOLINFOW* info)
{
    ToolTipState* state = State(hwnd);
    if (!state || !ValidInfo(info)) return;
    const int index = FindTool(*state, info->hwnd, info->uId);
    if (index < 0) return;
    if (state->shown == index) Hide(hwnd);
    state = State(hwnd);
    if (!state) return;
    state->tools.erase(state->tools.begin() + index);
    for (int* slot : {&state->hovered, &state->shown}) {
        if (*slot == index) *slot = -1;
        else if (*slot > index) --*slot;
    }
    if (state->hovered < 0) KillTimer(hwnd, kShowTimer);
}

void UpdateText(HWND hwnd, const TOOLINFOW* info)
{
    ToolTipState* state = State(hwnd);
    if (!state || !ValidInfo(info)) return;
    const int index = FindTool(*state, info->hwnd, info->uId);
    if (index < 0) return;
    TakeText(state->tools[static_cast<size_t>(index)], *info);
    if (state->shown != index) return;
    // A tip that is up shows the new text at once.
    state->text = TextOf(hwnd, state->tools[static_cast<size_t>(index)]);
    InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT SetDelay(ToolTipState& state, WPARAM which, LPARAM lParam)
{
    const SHORT value = static_cast<SHORT>(LOWORD(lParam));
    const int delay = value < 0 ? -1 : value;
    switch (which) {
    case TTDT_AUTOMATIC:
        state.initialDelay = delay;
        state.autopopDelay = delay < 0 ? -1 : delay * 10;
        state.reshowDelay = delay < 0 ? -1 : delay / 5;
        break;
    case TTDT_INITIAL: state.initialDelay = delay; break;
    case TTDT_AUTOPOP: state.autopopDelay = delay; break;
    case TTDT_RESHOW: state.reshowDelay = delay; break;
    default: break;
    }
    return 0;
}

LRESULT GetDelay(const ToolTipState& state, WPARAM which)
{
    switch (which) {
    case TTDT_AUTOPOP: return AutopopDelay(state);
    case TTDT_RESHOW: return ReshowDelay(state);
    default: return InitialDelay(state);
    }
}

void Paint(HWND hwnd)
{
    ControlPaint paint(hwnd);
    ToolTipState* state = State(hwnd);
    if (!paint || !state) return;
    const HDC hdc = paint.Dc();
    const RECT& client = paint.Client();
    paint.SelectFont(state->font);
    const COLORREF background = state->background == CLR_INVALID ? GetSysColor(COLOR_INFOBK) : state->background;
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(hdc, &client, brush);
    DeleteObject(brush);
    FrameRect(hdc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, state->textColor == CLR_INVALID ? GetSysColor(COLOR_INFOTEXT) : state->textColor);
    RECT text = client;
    InflateRect(&text, -(kMargin + 1), -(kMargin + 1));
    DrawTextW(hdc, state->text.c_str(), static_cast<int>(state->text.size()), &text, TextFormat(*state, hwnd));
}

LRESULT ToolTipWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ToolTipState* state = State(hwnd);
    if (!state) return 0;
    auto* info = reinterpret_cast<TOOLINFOW*>(lParam);
    switch (message) {
    case TTM_ACTIVATE:
        state->active = wParam != 0;
        if (!state->active) {
            KillTimer(hwnd, kShowTimer);
            Hide(hwnd);
        }
        return 0;
    case TTM_ADDTOOLW: return AddTool(hwnd, info);
    case TTM_DELTOOLW: DeleteTool(hwnd, info); return 0;
    case TTM_UPDATETIPTEXTW: UpdateText(hwnd, info); return 0;
    case TTM_NEWTOOLRECTW: {
        if (!ValidInfo(info)) return 0;
        const int index = FindTool(*state, info->hwnd, info->uId);
        if (index >= 0) state->tools[static_cast<size_t>(index)].rect = info->rect;
        return 0;
    }
    case TTM_GETTOOLINFOW:
    case TTM_GETTEXTW: {
        if (!ValidInfo(info)) return FALSE;
        const int index = FindTool(*state, info->hwnd, info->uId);
        if (index < 0) return FALSE;
        FillInfo(state->tools[static_cast<size_t>(index)], info);
        return TRUE;
    }
    case TTM_SETTOOLINFOW: {
        if (!ValidInfo(info)) return 0;
        const int index = FindTool(*state, info->hwnd, info->uId);
        if (index < 0) return 0;
        Tool& tool = state->tools[static_cast<size_t>(index)];
        tool.flags = info->uFlags;
        tool.rect = info->rect;
        if (info->cbSize > kMinimumToolInfoSize) tool.param = info->lParam;
        TakeText(tool, *info);
        return 0;
    }
    case TTM_HITTESTW: {
        auto* hit = reinterpret_cast<TTHITTESTINFOW*>(lParam);
        if (!hit) return FALSE;
        const int index = ToolAt(*state, hit->hwnd, hit->pt);
        if (index < 0) return FALSE;
        if (hit->ti.cbSize >= kMinimumToolInfoSize) FillInfo(state->tools[static_cast<size_t>(index)], &hit->ti);
        return TRUE;
    }
    case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(state->tools.size());
    case TTM_RELAYEVENT: Relay(hwnd, reinterpret_cast<const MSG*>(lParam)); return 0;
    case TTM_SETDELAYTIME: return SetDelay(*state, wParam, lParam);
    case TTM_GETDELAYTIME: return GetDelay(*state, wParam);
    case TTM_SETMAXTIPWIDTH: {
        const int previous = state->maxWidth;
        state->maxWidth = static_cast<int>(lParam);
        return previous;
    }
    case TTM_GETMAXTIPWIDTH: return state->maxWidth;
    case TTM_SETTIPBKCOLOR: state->background = static_cast<COLORREF>(wParam); return 0;
    case TTM_SETTIPTEXTCOLOR: state->textColor = static_cast<COLORREF>(wParam); return 0;
    case TTM_GETTIPBKCOLOR: return state->background == CLR_INVALID ? GetSysColor(COLOR_INFOBK) : state->background;
    case TTM_GETTIPTEXTCOLOR: return state->textColor == CLR_INVALID ? GetSysColor(COLOR_INFOTEXT) : state->textColor;
    case TTM_POP: Hide(hwnd); return 0;
    case TTM_UPDATE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case TTM_WINDOWFROMPOINT: {
        const auto* point = reinterpret_cast<const POINT*>(lParam);
        return point ? reinterpret_cast<LRESULT>(WindowFromPoint(*point)) : 0;
    }
    case WM_TIMER:
        if (wParam == kShowTimer) {
            KillTimer(hwnd, kShowTimer);
            Show(hwnd);
        } else if (wParam == kPopTimer) {
            Hide(hwnd);
        }
        return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCHITTEST: return HTTRANSPARENT;   // the mouse goes through a tip to what lies under it
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_SETFONT: state->font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        if (!buffer || wParam == 0) return 0;
        const size_t count = std::min(state->text.size(), static_cast<size_t>(wParam) - 1);
        std::copy(state->text.begin(), state->text.begin() + static_cast<std::ptrdiff_t>(count), buffer);
        buffer[count] = L'\0';
        return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(state->text.size());
    case WM_DESTROY:
        KillTimer(hwnd, kShowTimer);
        KillTimer(hwnd, kPopTimer);
        return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const SystemClass s_toolTipClass(TOOLTIPS_CLASSW, &ToolTipWndProc, CS_DBLCLKS | CS_SAVEBITS | CS_GLOBALCLASS, IDC_ARROW,
                                 0, 0);

}  // namespace

}  // namespace platform::ui
