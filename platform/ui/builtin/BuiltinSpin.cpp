// The "msctls_updown32" class: the up-down (spin) control. A press on one of
// its two arrows asks the parent first (WM_NOTIFY UDN_DELTAPOS with the
// position and the proposed step, which the parent may change or refuse by
// answering nonzero), then moves the position within the range (wrapping
// round with UDS_WRAP), writes it into the buddy window with
// UDS_SETBUDDYINT, and tells the parent WM_VSCROLL (WM_HSCROLL with
// UDS_HORZ) SB_THUMBPOSITION in any case; letting go sends SB_ENDSCROLL. A
// held arrow repeats on the desktop's clock.
//
// The up arrow steps towards the range's upper end, which by default is 0
// with the lower end 100, as on Windows: a fresh control counts down.
#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "platform/base/Strings.h"
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

const UINT_PTR kRepeatTimer = 1;
const UINT kFirstRepeatDelay = 500;   // milliseconds before a held arrow repeats
const UINT kRepeatDelay = 100;        // milliseconds between repeats

struct SpinState : WindowExtra {
    int lower = 100;            // the range's lower end (Windows' default)
    int upper = 0;              // its upper end, where the up arrow leads
    int pos = 0;
    HWND buddy = nullptr;
    int base = 10;              // 10 or 16: how the buddy shows the position
    std::vector<UDACCEL> accel = {UDACCEL{0, 1}};
    int held = 0;               // +1 the up arrow is held, -1 the down arrow, 0 none
    DWORD heldSince = 0;        // desktop clock when the arrow went down
    WNDPROC buddyProc = nullptr;   // the buddy's procedure before UDS_ARROWKEYS took its keys
};

SpinState* State(HWND hwnd)
{
    return ControlState<SpinState>(hwnd);
}

DWORD Style(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

int Low(const SpinState& state)
{
    return std::min(state.lower, state.upper);
}

int High(const SpinState& state)
{
    return std::max(state.lower, state.upper);
}

// ---- the buddy ---------------------------------------------------------------------------

std::wstring Format(int value, int base, bool thousands)
{
    if (base == 16) {
        CString text;
        text.Format(L"0x%04X", static_cast<unsigned>(value) & 0xFFFFFFFFu);
        return text.GetString();
    }
    std::wstring digits = std::to_wstring(value < 0 ? -static_cast<long long>(value) : static_cast<long long>(value));
    if (thousands)
        for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
            digits.insert(static_cast<size_t>(at), L",");
    return value < 0 ? L"-" + digits : digits;
}

// The number the buddy shows; false when its text is not one.
bool Parse(const std::wstring& text, int base, int& value)
{
    std::wstring digits;
    for (wchar_t c : text)
        if (c != L',' && c != L' ') digits.push_back(c);
    if (digits.empty()) return false;
    size_t at = 0;
    const bool negative = digits[0] == L'-';
    if (negative) at = 1;
    if (base == 16 && digits.size() > at + 1 && digits[at] == L'0' &&
        (digits[at + 1] == L'x' || digits[at + 1] == L'X'))
        at += 2;
    if (at >= digits.size()) return false;
    long long number = 0;
    for (; at < digits.size(); ++at) {
        const wchar_t c = digits[at];
        int digit = -1;
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        if (base == 16 && std::iswxdigit(c) && digit < 0) digit = 10 + (std::towlower(c) - L'a');
        if (digit < 0 || digit >= base) return false;
        number = number * base + digit;
        if (number > 0x7FFFFFFFLL) return false;
    }
    value = static_cast<int>(negative ? -number : number);
    return true;
}

bool SetsBuddy(HWND hwnd)
{
    return (Style(hwnd) & UDS_SETBUDDYINT) != 0;
}

void WriteBuddy(HWND hwnd)
{
    SpinState* state = State(hwnd);
    if (!state || !state->buddy || !SetsBuddy(hwnd) || !IsWindow(state->buddy)) return;
    const std::wstring text = Format(state->pos, state->base, !(Style(hwnd) & UDS_NOTHOUSANDS));
    SetWindowTextW(state->buddy, text.c_str());
}

// Takes the position from the buddy's text; false when it holds no number in the range.
bool ReadBuddy(HWND hwnd)
{
    SpinState* state = State(hwnd);
    if (!state || !state->buddy || !SetsBuddy(hwnd) || !IsWindow(state->buddy)) return false;
    int value = 0;
    if (!Parse(WindowText(state->buddy).GetString(), state->base, value)) return false;
    if (value < Low(*state) || value > High(*state)) return false;
    state->pos = value;
    return true;
}

// ---- taking the buddy's arrow keys (UDS_ARROWKEYS) -----------------------------------------

std::map<HWND, HWND>& BuddySpins()
{
    static auto* spins = new std::map<HWND, HWND>;   // buddy -> spin
    return *spins;
}

void Step(HWND hwnd, int direction);

LRESULT BuddyWndProc(HWND buddy, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto found = BuddySpins().find(buddy);
    HWND spin = found == BuddySpins().end() ? nullptr : found->second;
    SpinState* state = spin ? State(spin) : nullptr;
    WNDPROC previous = state ? state->buddyProc : nullptr;
    if (!previous) return DefWindowProcW(buddy, message, wParam, lParam);
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        Step(spin, wParam == VK_UP ? 1 : -1);
        return 0;
    }
    if (message == WM_GETDLGCODE) return CallWindowProcW(previous, buddy, message, wParam, lParam) | DLGC_WANTARROWS;
    return CallWindowProcW(previous, buddy, message, wParam, lParam);
}

void ReleaseBuddy(HWND hwnd)
{
    SpinState* state = State(hwnd);
    if (!state || !state->buddy) return;
    if (state->buddyProc && IsWindow(state->buddy) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(state->buddy, GWLP_WNDPROC)) == &BuddyWndProc)
        SetWindowLongPtrW(state->buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state->buddyProc));
    BuddySpins().erase(state->buddy);
    state->buddyProc = nullptr;
    state->buddy = nullptr;
}

// Moves the control beside its buddy and narrows the buddy to make room.
void Align(HWND hwnd)
{
    SpinState* state = State(hwnd);
    const DWORD style = Style(hwnd);
    if (!state || !state->buddy || !(style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT))) return;
    HWND parent = GetParent(hwnd);
    RECT buddy = {0, 0, 0, 0};
    GetWindowRect(state->buddy, &buddy);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&buddy), 2);
    RECT own = {0, 0, 0, 0};
    GetWindowRect(hwnd, &own);
    int width = static_cast<int>(own.right - own.left);
    if (width <= 0) width = GetSystemMetrics(SM_CXVSCROLL);
    const int height = static_cast<int>(buddy.bottom - buddy.top);
    const int buddyWidth = std::max(0, static_cast<int>(buddy.right - buddy.left) - width);
    if (style & UDS_ALIGNRIGHT) {
        SetWindowPos(state->buddy, nullptr, 0, 0, buddyWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(hwnd, nullptr, buddy.left + buddyWidth, buddy.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetWindowPos(state->buddy, nullptr, buddy.left + width, buddy.top, buddyWidth, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(hwnd, nullptr, buddy.left, buddy.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND SetBuddy(HWND hwnd, HWND buddy)
{
    SpinState* state = State(hwnd);
    if (!state) return nullptr;
    HWND previous = state->buddy;
    ReleaseBuddy(hwnd);
    if (!buddy || !IsWindow(buddy)) return previous;
    state->buddy = buddy;
    if ((Style(hwnd) & UDS_ARROWKEYS) && !BuddySpins().count(buddy)) {
        BuddySpins()[buddy] = hwnd;
        state->buddyProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BuddyWndProc)));
    }
    Align(hwnd);
    return previous;
}

// ---- stepping ----------------------------------------------------------------------------

int Increment(const SpinState& state, DWORD now)
{
    UINT step = 1;
    const DWORD seconds = state.held ? (now - state.heldSince) / 1000 : 0;
    for (const UDACCEL& accel : state.accel)
        if (seconds >= accel.nSec) step = accel.nInc;
    return static_cast<int>(step);
}

// The position after moving by `delta`: wrapped round with UDS_WRAP, else kept in the range.
int Offset(HWND hwnd, const SpinState& state, int delta)
{
    const long long moved = static_cast<long long>(state.pos) + delta;
    const int low = Low(state), high = High(state);
    if (moved >= low && moved <= high) return static_cast<int>(moved);
    if (!(Style(hwnd) & UDS_WRAP)) return static_cast<int>(std::clamp<long long>(moved, low, high));
    return moved > high ? low : high;
}

// One press of an arrow: +1 the up (or right) arrow, -1 the other.
void Step(HWND hwnd, int direction)
{
    SpinState* state = State(hwnd);
    if (!state) return;
    ReadBuddy(hwnd);
    int delta = direction * Increment(*state, platform::ui::ClockNow());
    // The up arrow leads to the upper end, wherever that lies.
    if (state->upper < state->lower) delta = -delta;
    HWND parent = GetParent(hwnd);
    NMUPDOWN change = {{hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), UDN_DELTAPOS}, state->pos, delta};
    const LRESULT refused =
        parent ? SendMessageW(parent, WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change)) : 0;
    state = State(hwnd);
    if (!state) return;
    if (!refused) {
        const int moved = Offset(hwnd, *state, change.iDelta);
        if (moved != state->pos) {
            state->pos = moved;
            WriteBuddy(hwnd);
        }
    }
    state = State(hwnd);
    if (!state || !parent) return;
    const UINT message = (Style(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    SendMessageW(parent, message, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(state->pos)),
                 reinterpret_cast<LPARAM>(hwnd));
}

// ---- the mouse ---------------------------------------------------------------------------

// +1 over the up (right) arrow, -1 over the other.
int ArrowAt(HWND hwnd, LPARAM lParam)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    const int x = static_cast<SHORT>(LOWORD(lParam)), y = static_cast<SHORT>(HIWORD(lParam));
    if (Style(hwnd) & UDS_HORZ) return x >= client.right / 2 ? 1 : -1;
    return y < client.bottom / 2 ? 1 : -1;
}

void Redraw(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, FALSE);
}

void ButtonDown(HWND hwnd, LPARAM lParam)
{
    SpinState* state = State(hwnd);
    if (!state) return;
    state->held = ArrowAt(hwnd, lParam);
    state->heldSince = platform::ui::ClockNow();
    SetCapture(hwnd);
    SetTimer(hwnd, kRepeatTimer, kFirstRepeatDelay, nullptr);
    Redraw(hwnd);
    Step(hwnd, state->held);
}

void Release(HWND hwnd)
{
    SpinState* state = State(hwnd);
    if (!state || !state->held) return;
    state->held = 0;
    KillTimer(hwnd, kRepeatTimer);
    if (GetCapture() == hwnd) ReleaseCapture();
    Redraw(hwnd);
    HWND parent = GetParent(hwnd);
    state = State(hwnd);
    if (!parent || !state) return;
    const UINT message = (Style(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    SendMessageW(parent, message, MAKEWPARAM(SB_ENDSCROLL, static_cast<WORD>(state->pos)),
                 reinterpret_cast<LPARAM>(hwnd));
}

void Repeat(HWND hwnd)
{
    SpinState* state = State(hwnd);
    if (!state || !state->held) return;
    SetTimer(hwnd, kRepeatTimer, kRepeatDelay, nullptr);
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    ScreenToClient(hwnd, &cursor);
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    // A held arrow repeats only while the mouse is still on it.
    if (!RectContains(client, cursor) || ArrowAt(hwnd, MAKELPARAM(cursor.x, cursor.y)) != state->held) return;
    Step(hwnd, state->held);
}

// ---- painting ----------------------------------------------------------------------------

void DrawArrow(HDC hdc, RECT rect, int direction, bool horizontal, bool pressed, bool enabled)
{
    FillRect(hdc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(hdc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int cx = (rect.left + rect.right) / 2 + (pressed ? 1 : 0);
    const int cy = (rect.top + rect.bottom) / 2 + (pressed ? 1 : 0);
    HBRUSH ink = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    for (int row = 0; row < 3; ++row) {
        const int offset = direction > 0 ? row - 1 : 1 - row;
        const RECT stroke = horizontal ? RECT{cx - offset, cy - row, cx - offset + 1, cy + row + 1}
                                       : RECT{cx - row, cy + offset, cx + row + 1, cy + offset + 1};
        FillRect(hdc, &stroke, ink);
    }
}

void Paint(HWND hwnd)
{
    ControlPaint paint(hwnd);
    SpinState* state = State(hwnd);
    if (!paint || !state) return;
    const HDC hdc = paint.Dc();
    const RECT& client = paint.Client();
    const bool horizontal = (Style(hwnd) & UDS_HORZ) != 0;
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const RECT first = horizontal ? RECT{client.left, client.top, client.right / 2, client.bottom}
                                  : RECT{client.left, client.top, client.right, client.bottom / 2};
    const RECT second = horizontal ? RECT{client.right / 2, client.top, client.right, client.bottom}
                                   : RECT{client.left, client.bottom / 2, client.right, client.bottom};
    // Horizontally the left arrow goes down and the right one up.
    DrawArrow(hdc, first, horizontal ? -1 : 1, horizontal, state->held == (horizontal ? -1 : 1), enabled);
    DrawArrow(hdc, second, horizontal ? 1 : -1, horizontal, state->held == (horizontal ? 1 : -1), enabled);
}

// ---- messages ----------------------------------------------------------------------------

LRESULT SetPos(HWND hwnd, int position)
{
    SpinState* state = State(hwnd);
    if (!state) return 0;
    const int previous = state->pos;
    state->pos = std::clamp(position, Low(*state), High(*state));
    WriteBuddy(hwnd);
    return previous;
}

LRESULT GetPos(HWND hwnd, BOOL* error)
{
    SpinState* state = State(hwnd);
    if (!state) return 0;
    // With a buddy that shows the number, the number there is the position.
    bool failed = false;
    if (state->buddy && SetsBuddy(hwnd)) failed = !ReadBuddy(hwnd);
    state = State(hwnd);
    if (error) *error = failed ? TRUE : FALSE;
    return state ? state->pos : 0;
}

void SetRange(HWND hwnd, int lower, int upper, bool clamp16)
{
    SpinState* state = State(hwnd);
    if (!state) return;
    if (clamp16) {
        lower = std::clamp(lower, UD_MINVAL, UD_MAXVAL);
        upper = std::clamp(upper, UD_MINVAL, UD_MAXVAL);
    }
    state->lower = lower;
    state->upper = upper;
}

void Create(HWND hwnd)
{
    if (!(Style(hwnd) & UDS_AUTOBUDDY)) return;
    // The buddy is the window made just before the control.
    if (HWND previous = GetWindow(hwnd, GW_HWNDPREV)) SetBuddy(hwnd, previous);
}

LRESULT SpinWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    SpinState* state = State(hwnd);
    if (!state) return 0;
    switch (message) {
        case UDM_SETRANGE:
            SetRange(hwnd, static_cast<SHORT>(HIWORD(lParam)), static_cast<SHORT>(LOWORD(lParam)), true);
            return 0;
        case UDM_GETRANGE: return MAKELONG(state->upper, state->lower);
        case UDM_SETRANGE32: SetRange(hwnd, static_cast<int>(wParam), static_cast<int>(lParam), false); return 0;
        case UDM_GETRANGE32:
            if (wParam) *reinterpret_cast<int*>(wParam) = state->lower;
            if (lParam) *reinterpret_cast<int*>(lParam) = state->upper;
            return 0;
        case UDM_SETPOS: return SetPos(hwnd, static_cast<SHORT>(LOWORD(lParam)));
        case UDM_SETPOS32: return SetPos(hwnd, static_cast<int>(lParam));
        case UDM_GETPOS: {
            BOOL error = FALSE;
            const LRESULT position = GetPos(hwnd, &error);
            return MAKELONG(position, error ? 1 : 0);
    }
    case UDM_GETPOS32: return GetPos(hwnd, reinterpret_cast<BOOL*>(lParam));
    case UDM_SETBUDDY: return reinterpret_cast<LRESULT>(SetBuddy(hwnd, reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(state->buddy);
    case UDM_SETBASE: {
        if (wParam != 10 && wParam != 16) return 0;
        const int previous = state->base;
        state->base = static_cast<int>(wParam);
        WriteBuddy(hwnd);
        return previous;
    }
    case UDM_GETBASE: return state->base;
    case UDM_SETACCEL: {
        const auto* accel = reinterpret_cast<const UDACCEL*>(lParam);
        if (!accel || wParam == 0) return FALSE;
        state->accel.assign(accel, accel + wParam);
        return TRUE;
    }
    case UDM_GETACCEL: {
        auto* out = reinterpret_cast<UDACCEL*>(lParam);
        const size_t count = std::min<size_t>(wParam, state->accel.size());
        if (out) std::copy(state->accel.begin(), state->accel.begin() + static_cast<std::ptrdiff_t>(count), out);
        return static_cast<LRESULT>(state->accel.size());
    }
    case WM_CREATE: Create(hwnd); return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kRepeatTimer);
        ReleaseBuddy(hwnd);
        return 0;
    case WM_ERASEBKGND: return 1;   // the arrows cover the control
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_ENABLE: Redraw(hwnd); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: ButtonDown(hwnd, lParam); return 0;
    case WM_LBUTTONUP: Release(hwnd); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) Release(hwnd);
        return 0;
    case WM_TIMER:
        if (wParam == kRepeatTimer) Repeat(hwnd);
        return 0;
    case WM_KEYDOWN:
        if ((Style(hwnd) & UDS_ARROWKEYS) && (wParam == VK_UP || wParam == VK_DOWN))
            Step(hwnd, wParam == VK_UP ? 1 : -1);
        return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const SystemClass s_spinClass(UPDOWN_CLASSW, &SpinWndProc, CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS, IDC_ARROW, 0, 0);

}  // namespace

}  // namespace platform::ui
