#include "platform/ui/windowing/Input.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/base/Kernel.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/DialogBox.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Monitors.h"
#include "platform/ui/windowing/NonClient.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowGeometry.h"
#include "platform/ui/windowing/WindowManager.h"

using platform::ui::LookupWindow;
using platform::ui::WindowManager;
using platform::ui::WindowState;

namespace platform::ui {

namespace {

const DWORD kDefaultHoverTime = 400;        // milliseconds
const int kHoverSize = 4;                   // pixels the cursor may wander while hovering

struct LastClick {
    HWND hwnd = nullptr;
    UINT message = 0;       // the button-down message of the first click
    uint64_t time = 0;      // desktop clock
    POINT screen = {0, 0};
    bool wasDouble = false; // the last down already completed a double click
};

struct Tracking {
    HWND hwnd = nullptr;
    DWORD flags = 0;        // TME_LEAVE, TME_HOVER
    DWORD hoverTime = kDefaultHoverTime;
    uint64_t hoverStart = 0;
    POINT hoverPoint = {0, 0};
};

struct Caret {
    HWND hwnd = nullptr;
    RECT rect = {0, 0, 0, 0};   // owner's client coordinates
    int hideCount = 1;          // shown at 0
};

struct InputState {
    BYTE keys[256] = {};        // 0x80 down, 0x01 toggled
    BYTE asyncKeys[256] = {};   // as the driver pressed them, before the queue is read
    POINT cursor = {0, 0};
    bool clipped = false;
    RECT clip = {0, 0, 0, 0};
    HCURSOR cursorHandle = nullptr;
    int cursorShowCount = 0;
    LastClick lastClick;
    Tracking tracking;
    Caret caret;
};

InputState& State()
{
    static InputState* state = new InputState;
    return *state;
}

// The cursor roams every monitor: the virtual screen, the screen itself when there is one.
RECT ScreenRect()
{
    return platform::ui::VirtualScreenRect();
}

POINT ClampToClip(POINT point)
{
    InputState& state = State();
    const RECT area = state.clipped ? state.clip : ScreenRect();
    point.x = std::clamp<LONG>(point.x, area.left, std::max(area.left, area.right - 1));
    point.y = std::clamp<LONG>(point.y, area.top, std::max(area.top, area.bottom - 1));
    return point;
}

WPARAM MouseKeyFlags(const BYTE* keys)
{
    WPARAM flags = 0;
    if (keys[VK_LBUTTON] & 0x80) flags |= MK_LBUTTON;
    if (keys[VK_RBUTTON] & 0x80) flags |= MK_RBUTTON;
    if (keys[VK_MBUTTON] & 0x80) flags |= MK_MBUTTON;
    if (keys[VK_SHIFT] & 0x80) flags |= MK_SHIFT;
    if (keys[VK_CONTROL] & 0x80) flags |= MK_CONTROL;
    return flags;
}

int ButtonKey(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return VK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return VK_MBUTTON;
    default: return 0;
    }
}

bool IsButtonDown(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

UINT ToNonClient(UINT message)
{
    return message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
}

// The double-click form of a button-down message.
UINT ToDoubleClick(UINT message)
{
    return message + 2;   // WM_xBUTTONDOWN + 2 is WM_xBUTTONDBLCLK
}

bool IsDoubleClick(HWND hwnd, UINT message, POINT screen)
{
    InputState& state = State();
    const LastClick& last = state.lastClick;
    if (last.wasDouble || last.hwnd != hwnd || last.message != message) return false;
    if (platform::ui::ClockTicks() - last.time > ::GetDoubleClickTime()) return false;
    return std::abs(screen.x - last.screen.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(screen.y - last.screen.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

// WM_MOUSELEAVE for a tracked window the cursor no longer is in.
void CheckLeave(HWND target, bool inClient)
{
    Tracking& tracking = State().tracking;
    if (!(tracking.flags & TME_LEAVE) || !tracking.hwnd) return;
    if (tracking.hwnd == target && inClient) return;
    if (IsWindow(tracking.hwnd)) PostMessageW(tracking.hwnd, WM_MOUSELEAVE, 0, 0);
    tracking.flags = 0;
    tracking.hwnd = nullptr;
}

void RestartHover(POINT screen)
{
    Tracking& tracking = State().tracking;
    if (!(tracking.flags & TME_HOVER)) return;
    if (std::abs(screen.x - tracking.hoverPoint.x) <= kHoverSize / 2 &&
        std::abs(screen.y - tracking.hoverPoint.y) <= kHoverSize / 2)
        return;
    tracking.hoverPoint = screen;
    tracking.hoverStart = platform::ui::ClockTicks();
}

void UpdateKeyState(BYTE* keys, UINT vk, bool down)
{
    if (vk > 0xFF) return;
    if (down) {
        if (!(keys[vk] & 0x80)) keys[vk] ^= 0x01;
        keys[vk] |= 0x80;
    } else {
        keys[vk] &= static_cast<BYTE>(~0x80);
    }
    // The side-specific keys move the generic one with them.
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) UpdateKeyState(keys, VK_SHIFT, down);
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) UpdateKeyState(keys, VK_CONTROL, down);
    if (vk == VK_LMENU || vk == VK_RMENU) UpdateKeyState(keys, VK_MENU, down);
}

}  // namespace

bool GetCaretState(HWND& owner, RECT& rect, bool& shown)
{
    const Caret& caret = State().caret;
    if (!caret.hwnd) return false;
    owner = caret.hwnd;
    rect = caret.rect;
    shown = caret.hideCount == 0;
    return true;
}

namespace detail {

namespace {

struct ThumbTrack {
    HWND hwnd = nullptr;   // null: no thumb is held
    int bar = SB_VERT;
    int grab = 0;          // pixels from the thumb's start where the mouse holds it
};

ThumbTrack& HeldThumb()
{
    static ThumbTrack track;
    return track;
}

// Whether input may reach `hwnd`: neither it nor a window it lies in is
// disabled (a modal pop-up's owner and all inside it take none).
bool TakesInput(HWND hwnd)
{
    WindowManager& manager = WindowManager::Instance();
    for (WindowState* window = manager.Find(hwnd); window; window = manager.Find(window->parent)) {
        if (window->style & WS_DISABLED) return false;
        if (!(window->style & WS_CHILD)) return true;
    }
    return hwnd != nullptr;
}

}  // namespace

void BeginScrollThumbTrack(HWND hwnd, int bar, int grab)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window || grab < 0) return;
    ScrollBarState& state = bar == SB_VERT ? window->vscroll : window->hscroll;
    state.trackPos = state.pos;
    HeldThumb() = ThumbTrack{hwnd, bar, grab};
    SetCapture(hwnd);
}

bool TrackScrollThumb(UINT message, POINT screen)
{
    ThumbTrack& track = HeldThumb();
    if (!track.hwnd || (message != WM_MOUSEMOVE && message != WM_LBUTTONUP)) return false;
    const HWND hwnd = track.hwnd;
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window || GetCapture() != hwnd) {
        // The holder went away or lost the mouse: the drag is over.
        track = ThumbTrack();
        return false;
    }
    RECT onScreen;
    GetWindowRect(hwnd, &onScreen);
    const POINT point = {screen.x - onScreen.left, screen.y - onScreen.top};
    ScrollBarState& state = track.bar == SB_VERT ? window->vscroll : window->hscroll;
    const int position = ScrollThumbPosition(*window, track.bar, track.grab, point);
    state.trackPos = position;
    const UINT scroll = track.bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    const WPARAM low = static_cast<WORD>(position);
    if (message == WM_MOUSEMOVE) {
        SendMessageW(hwnd, scroll, MAKEWPARAM(SB_THUMBTRACK, low), 0);
        return true;
    }
    const int bar = track.bar;
    track = ThumbTrack();
    ReleaseCapture();
    SendMessageW(hwnd, scroll, MAKEWPARAM(SB_THUMBPOSITION, low), 0);
    SendMessageW(hwnd, scroll, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    if ((window = WindowManager::Instance().Find(hwnd))) {
        ScrollBarState& after = bar == SB_VERT ? window->vscroll : window->hscroll;
        after.trackPos = after.pos;
    }
    return true;
}

void PostMouseInput(UINT message, POINT screen, int wheelDelta)
{
    InputState& state = State();
    WindowManager& manager = WindowManager::Instance();
    screen = ClampToClip(screen);
    state.cursor = screen;
    if (const int key = ButtonKey(message)) UpdateKeyState(state.asyncKeys, static_cast<UINT>(key), IsButtonDown(message));
    if (TrackScrollThumb(message, screen)) return;

    HWND target = manager.m_hCapture;
    if (message == WM_MOUSEWHEEL) target = manager.m_hFocus ? manager.m_hFocus : manager.m_hActive;
    if (!target) target = WindowFromPoint(screen);
    WindowState* window = manager.Find(target);
    if (!window) {
        CheckLeave(nullptr, false);
        return;
    }
    // Windows discards input for a window that is disabled.
    if (!TakesInput(target)) return;

    POINT client = screen;
    ScreenToClient(target, &client);
    const RECT clientRect = {0, 0, window->client.Width(), window->client.Height()};
    const bool inClient = RectContains(clientRect, client);
    const bool nonClient = !manager.m_hCapture && !inClient && message != WM_MOUSEWHEEL;
    CheckLeave(target, inClient && !nonClient);
    if (message == WM_MOUSEMOVE) RestartHover(screen);

    MSG msg = {target, message, MouseKeyFlags(state.asyncKeys), MAKELPARAM(client.x, client.y), platform::ui::ClockNow(), screen};
    if (message == WM_MOUSEWHEEL) {
        msg.wParam |= static_cast<WPARAM>(static_cast<WORD>(static_cast<SHORT>(wheelDelta))) << 16;
        msg.lParam = MAKELPARAM(screen.x, screen.y);
    }
    if (IsButtonDown(message)) {
        const bool classDoubles = window->wndClass && (window->wndClass->style & CS_DBLCLKS);
        const bool twice = IsDoubleClick(target, message, screen);
        if (twice && (classDoubles || nonClient)) msg.message = ToDoubleClick(message);
        state.lastClick = LastClick{target, message, platform::ui::ClockTicks(), screen, twice};
    }
    if (nonClient) {
        msg.wParam = static_cast<WPARAM>(SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
        msg.lParam = MAKELPARAM(screen.x, screen.y);
        msg.message = ToNonClient(msg.message);
    }
    PostInput(msg);
}

void PostKeyInput(UINT vk, bool down, HWND to)
{
    InputState& state = State();
    WindowManager& manager = WindowManager::Instance();
    UpdateKeyState(state.asyncKeys, vk, down);
    const bool alt = (state.asyncKeys[VK_MENU] & 0x80) != 0;
    HWND target = to ? to : manager.m_hFocus;
    // With nothing focused, the active window gets the keys as system keys.
    const bool system = alt || !target;
    if (!target) target = manager.m_hActive;
    // Alt itself, and every key while it is held, are system keys.
    UINT message = down ? WM_KEYDOWN : WM_KEYUP;
    if (system || vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU) message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    LPARAM lParam = 1;
    if (!down) lParam |= static_cast<LPARAM>(0xC0000000u);
    if (alt) lParam |= 0x20000000;
    MSG msg = {target, message, vk, lParam, platform::ui::ClockNow(), state.cursor};
    // A control named that has gone since hears nothing either.
    if (!target || !TakesInput(target) || (to && !manager.Find(to))) {
        // Nobody hears it, but the key is still down or up.
        UpdateKeyState(state.keys, vk, down);
        return;
    }
    PostInput(msg);
}

void SyncModifierKeys(bool shiftDown, bool controlDown, bool altDown)
{
    struct Modifier {
        bool down;
        UINT generic, left, right;
    };
    const Modifier modifiers[] = {{shiftDown, VK_SHIFT, VK_LSHIFT, VK_RSHIFT},
                                  {controlDown, VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
                                  {altDown, VK_MENU, VK_LMENU, VK_RMENU}};
    const BYTE* keys = State().asyncKeys;
    for (const Modifier& modifier : modifiers) {
        if (modifier.down) continue;
        for (UINT vk : {modifier.left, modifier.right, modifier.generic})
            if (keys[vk] & 0x80) PostKeyInput(vk, false);
    }
}

void PostCharInput(wchar_t ch, HWND to)
{
    InputState& state = State();
    WindowManager& manager = WindowManager::Instance();
    HWND target = to ? to : manager.m_hFocus;
    if (!target || !manager.Find(target) || !TakesInput(target)) return;
    PostInput(MSG{target, WM_CHAR, static_cast<WPARAM>(ch), 1, platform::ui::ClockNow(), state.cursor});
}

bool TakeInput(MSG& msg)
{
    InputState& state = State();
    WindowManager& manager = WindowManager::Instance();
    // Input waiting for a window that a modal pop-up has since disabled is
    // dropped when it is read, as it would have been when it came.
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: UpdateKeyState(state.keys, static_cast<UINT>(msg.wParam), true); return TakesInput(msg.hwnd);
    case WM_KEYUP:
    case WM_SYSKEYUP: UpdateKeyState(state.keys, static_cast<UINT>(msg.wParam), false); return TakesInput(msg.hwnd);
    case WM_CHAR:
    case WM_SYSCHAR: return TakesInput(msg.hwnd);
    default: break;
    }
    const bool nonClient = msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCRBUTTONDBLCLK;
    const UINT clientMessage = nonClient ? msg.message - WM_NCMOUSEMOVE + WM_MOUSEMOVE : msg.message;
    const UINT downMessage = clientMessage == WM_LBUTTONDBLCLK || clientMessage == WM_RBUTTONDBLCLK ||
                                     clientMessage == WM_MBUTTONDBLCLK
                                 ? clientMessage - 2
                                 : clientMessage;
    if (const int key = ButtonKey(downMessage)) UpdateKeyState(state.keys, static_cast<UINT>(key), IsButtonDown(downMessage));
    if (!manager.Find(msg.hwnd) || !TakesInput(msg.hwnd)) return false;
    const WORD hit = nonClient ? static_cast<WORD>(msg.wParam) : static_cast<WORD>(HTCLIENT);
    if (IsButtonDown(downMessage)) {
        const HWND top = manager.TopLevelOf(msg.hwnd);
        if (top != manager.m_hActive) {
            const LRESULT answer =
                SendMessageW(msg.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(hit, downMessage));
            if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) SetActiveWindow(top);
            if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return false;
            if (!manager.Find(msg.hwnd)) return false;
        }
    }
    if (!manager.m_hCapture && msg.message != WM_MOUSEWHEEL)
        SendMessageW(msg.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(msg.hwnd), MAKELPARAM(hit, downMessage));
    return manager.Find(msg.hwnd) != nullptr;
}

void CheckHover()
{
    Tracking& tracking = State().tracking;
    if (!(tracking.flags & TME_HOVER) || !IsWindow(tracking.hwnd)) return;
    if (platform::ui::ClockTicks() - tracking.hoverStart < tracking.hoverTime) return;
    POINT client = State().cursor;
    ScreenToClient(tracking.hwnd, &client);
    PostMessageW(tracking.hwnd, WM_MOUSEHOVER, MouseKeyFlags(State().asyncKeys), MAKELPARAM(client.x, client.y));
    tracking.flags &= ~TME_HOVER;
    if (!tracking.flags) tracking.hwnd = nullptr;
}

void ResetInputState()
{
    HeldThumb() = ThumbTrack();
    InputState& state = State();
    std::memset(state.keys, 0, sizeof(state.keys));
    std::memset(state.asyncKeys, 0, sizeof(state.asyncKeys));
    state.cursor = POINT{0, 0};
    state.clipped = false;
    state.cursorHandle = nullptr;
    state.cursorShowCount = 0;
    state.lastClick = LastClick();
    state.tracking = Tracking();
    state.caret = Caret();
}

// The character a virtual key types with the given shift state; 0 for
// keys that type none. A US layout, which is what the system's numeric
// and Latin fields are typed with.
wchar_t CharacterOfKey(UINT vk, bool shift)
{
    if (vk >= 'A' && vk <= 'Z') return static_cast<wchar_t>(shift ? vk : vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9') {
        static const wchar_t kShifted[] = L")!@#$%^&*(";
        return shift ? kShifted[vk - '0'] : static_cast<wchar_t>(vk);
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<wchar_t>('0' + (vk - VK_NUMPAD0));
    switch (vk) {
    case VK_SPACE: return L' ';
    case VK_RETURN: return L'\r';
    case VK_TAB: return L'\t';
    case VK_BACK: return L'\b';
    case VK_ESCAPE: return 0x1B;
    case VK_MULTIPLY: return L'*';
    case VK_ADD: return L'+';
    case VK_SUBTRACT: return L'-';
    case VK_DECIMAL: return L'.';
    case VK_DIVIDE: return L'/';
    case VK_OEM_1: return shift ? L':' : L';';
    case VK_OEM_PLUS: return shift ? L'+' : L'=';
    case VK_OEM_COMMA: return shift ? L'<' : L',';
    case VK_OEM_MINUS: return shift ? L'_' : L'-';
    case VK_OEM_PERIOD: return shift ? L'>' : L'.';
    case VK_OEM_2: return shift ? L'?' : L'/';
    case VK_OEM_3: return shift ? L'~' : L'`';
    case VK_OEM_4: return shift ? L'{' : L'[';
    case VK_OEM_5: return shift ? L'|' : L'\\';
    case VK_OEM_6: return shift ? L'}' : L']';
    case VK_OEM_7: return shift ? L'"' : L'\'';
    default: return 0;
    }
}


void DestroyCaretOf(HWND hwnd)
{
    if (State().caret.hwnd == hwnd) State().caret = Caret();
}

}  // namespace detail

}  // namespace platform::ui

using platform::ui::State;

HWND SetFocus(HWND hWnd)
{
    WindowManager& manager = WindowManager::Instance();
    HWND previous = manager.m_hFocus;
    if (hWnd) {
        if (!LookupWindow(hWnd)) return nullptr;
        if (hWnd == previous) return previous;
        for (WindowState* window = manager.Find(hWnd); window; window = manager.Find(window->parent)) {
            if (window->style & (WS_MINIMIZE | WS_DISABLED)) return nullptr;
            if (!(window->style & WS_CHILD)) break;
        }
        const HWND top = manager.TopLevelOf(hWnd);
        if (top != manager.m_hActive) {
            SetActiveWindow(top);
            if (!manager.Find(hWnd)) return nullptr;
            previous = manager.m_hFocus;
            if (previous == hWnd) return previous;
        }
    }
    manager.m_hFocus = hWnd;
    if (previous && manager.Find(previous)) {
        SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
        if (manager.m_hFocus != hWnd) return previous;   // a handler moved it elsewhere
    }
    if (hWnd && manager.Find(hWnd)) SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    if (hWnd && manager.m_hFocus == hWnd) platform::ui::detail::DialogFocusChanged(hWnd);
    return previous;
}

HWND GetFocus()
{
    return WindowManager::Instance().m_hFocus;
}

namespace {

void RaiseTopLevel(HWND hwnd)
{
    std::vector<HWND>* siblings = WindowManager::Instance().SiblingsOf(hwnd);
    if (!siblings) return;
    siblings->erase(std::remove(siblings->begin(), siblings->end(), hwnd), siblings->end());
    WindowState* window = WindowManager::Instance().Find(hwnd);
    // A normal window goes on top of the normal ones, under the top-most band.
    auto position = siblings->begin();
    if (window && !(window->exStyle & WS_EX_TOPMOST)) {
        position = std::find_if(siblings->begin(), siblings->end(), [](HWND other) {
            WindowState* state = WindowManager::Instance().Find(other);
            return !state || !(state->exStyle & WS_EX_TOPMOST);
        });
    }
    siblings->insert(position, hwnd);
    WindowManager::Instance().KeepOwnedAbove(hwnd);
}

}  // namespace

HWND SetActiveWindow(HWND hWnd)
{
    WindowManager& manager = WindowManager::Instance();
    if (hWnd) {
        if (!LookupWindow(hWnd)) return nullptr;
        hWnd = manager.TopLevelOf(hWnd);
    }
    const HWND previous = manager.m_hActive;
    if (previous == hWnd) return previous;
    manager.m_hActive = hWnd;
    if (previous && manager.Find(previous)) {
        SendMessageW(previous, WM_NCACTIVATE, FALSE, 0);
        SendMessageW(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previous)), reinterpret_cast<LPARAM>(hWnd));
        if (manager.m_hActive != hWnd) return previous;
    }
    if (!hWnd) {
        if (manager.m_hFocus) SetFocus(nullptr);
        return previous;
    }
    RaiseTopLevel(hWnd);
    SendMessageW(hWnd, WM_NCACTIVATE, TRUE, 0);
    SendMessageW(hWnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, IsIconic(hWnd)), reinterpret_cast<LPARAM>(previous));
    // The focus follows the activation unless a handler put it inside already.
    if (manager.m_hActive == hWnd && manager.Find(hWnd) &&
        (!manager.m_hFocus || manager.TopLevelOf(manager.m_hFocus) != hWnd) && !IsIconic(hWnd))
        SetFocus(hWnd);
    return previous;
}

HWND GetActiveWindow()
{
    return WindowManager::Instance().m_hActive;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    if (!LookupWindow(hWnd)) return FALSE;
    SetActiveWindow(hWnd);
    return TRUE;
}

HWND GetForegroundWindow()
{
    return WindowManager::Instance().m_hActive;
}

HWND SetCapture(HWND hWnd)
{
    WindowManager& manager = WindowManager::Instance();
    if (hWnd && !LookupWindow(hWnd)) return nullptr;
    const HWND previous = manager.m_hCapture;
    if (previous == hWnd) return previous;
    manager.m_hCapture = hWnd;
    if (previous && manager.Find(previous))
        SendMessageW(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return previous;
}

HWND GetCapture()
{
    return WindowManager::Instance().m_hCapture;
}

BOOL ReleaseCapture()
{
    WindowManager& manager = WindowManager::Instance();
    const HWND previous = manager.m_hCapture;
    if (!previous) return TRUE;
    manager.m_hCapture = nullptr;
    if (manager.Find(previous)) SendMessageW(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

SHORT GetKeyState(int nVirtKey)
{
    if (nVirtKey < 0 || nVirtKey > 0xFF) return 0;
    const BYTE state = State().keys[nVirtKey];
    return static_cast<SHORT>(((state & 0x80) ? 0xFF80 : 0) | (state & 0x01));
}

SHORT GetAsyncKeyState(int vKey)
{
    if (vKey < 0 || vKey > 0xFF) return 0;
    return (State().asyncKeys[vKey] & 0x80) ? static_cast<SHORT>(0x8000) : 0;
}

BOOL GetKeyboardState(BYTE* lpKeyState)
{
    if (!lpKeyState) return FALSE;
    std::memcpy(lpKeyState, State().keys, 256);
    return TRUE;
}

BOOL GetCursorPos(LPPOINT lpPoint)
{
    if (!lpPoint) return FALSE;
    *lpPoint = State().cursor;
    return TRUE;
}

BOOL SetCursorPos(int X, int Y)
{
    State().cursor = platform::ui::ClampToClip(POINT{X, Y});
    return TRUE;
}

BOOL ClipCursor(const RECT* lpRect)
{
    platform::ui::InputState& state = State();
    if (!lpRect) {
        state.clipped = false;
        return TRUE;
    }
    RECT clip = platform::ui::IntersectRects(*lpRect, platform::ui::ScreenRect());
    if (platform::ui::IsEmptyRect(clip)) {
        // Windows confines the cursor to the nearest screen point instead of failing.
        clip = RECT{lpRect->left, lpRect->top, lpRect->left + 1, lpRect->top + 1};
        clip = platform::ui::IntersectRects(clip, platform::ui::ScreenRect());
        if (platform::ui::IsEmptyRect(clip)) return FALSE;
    }
    state.clipped = true;
    state.clip = clip;
    state.cursor = platform::ui::ClampToClip(state.cursor);
    return TRUE;
}

BOOL GetClipCursor(LPRECT lpRect)
{
    if (!lpRect) return FALSE;
    platform::ui::InputState& state = State();
    *lpRect = state.clipped ? state.clip : platform::ui::ScreenRect();
    return TRUE;
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    const HCURSOR previous = State().cursorHandle;
    State().cursorHandle = hCursor;
    return previous;
}

HCURSOR GetCursor()
{
    return State().cursorHandle;
}

int ShowCursor(BOOL bShow)
{
    platform::ui::InputState& state = State();
    state.cursorShowCount += bShow ? 1 : -1;
    return state.cursorShowCount;
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack)
{
    if (!lpEventTrack || lpEventTrack->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    platform::ui::Tracking& tracking = State().tracking;
    if (lpEventTrack->dwFlags & TME_QUERY) {
        lpEventTrack->dwFlags = tracking.flags;
        lpEventTrack->hwndTrack = tracking.hwnd;
        lpEventTrack->dwHoverTime = tracking.hoverTime;
        return TRUE;
    }
    if (!LookupWindow(lpEventTrack->hwndTrack)) return FALSE;
    const DWORD kinds = lpEventTrack->dwFlags & (TME_LEAVE | TME_HOVER);
    if (lpEventTrack->dwFlags & TME_CANCEL) {
        if (tracking.hwnd == lpEventTrack->hwndTrack) tracking.flags &= ~kinds;
        if (!tracking.flags) tracking.hwnd = nullptr;
        return TRUE;
    }
    const POINT cursor = State().cursor;
    POINT client = cursor;
    ScreenToClient(lpEventTrack->hwndTrack, &client);
    RECT clientRect;
    GetClientRect(lpEventTrack->hwndTrack, &clientRect);
    const bool over = WindowFromPoint(cursor) == lpEventTrack->hwndTrack && platform::ui::RectContains(clientRect, client);
    if (tracking.hwnd != lpEventTrack->hwndTrack) tracking = platform::ui::Tracking();
    if ((kinds & TME_LEAVE) && !over) {
        // Windows answers at once for a window the cursor is not over.
        PostMessageW(lpEventTrack->hwndTrack, WM_MOUSELEAVE, 0, 0);
    } else if (kinds & TME_LEAVE) {
        tracking.flags |= TME_LEAVE;
    }
    if ((kinds & TME_HOVER) && over) {
        tracking.flags |= TME_HOVER;
        tracking.hoverTime =
            lpEventTrack->dwHoverTime == HOVER_DEFAULT ? platform::ui::kDefaultHoverTime : lpEventTrack->dwHoverTime;
        tracking.hoverStart = platform::ui::ClockTicks();
        tracking.hoverPoint = cursor;
    }
    tracking.hwnd = tracking.flags ? lpEventTrack->hwndTrack : nullptr;
    return TRUE;
}

BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight)
{
    if (!LookupWindow(hWnd)) return FALSE;
    BITMAP info = {};
    if (hBitmap && GetObjectW(hBitmap, sizeof(info), &info)) {
        nWidth = info.bmWidth;
        nHeight = info.bmHeight;
    }
    if (nWidth <= 0) nWidth = GetSystemMetrics(SM_CXBORDER);
    if (nHeight <= 0) nHeight = GetSystemMetrics(SM_CYBORDER);
    platform::ui::Caret& caret = State().caret;
    caret.hwnd = hWnd;
    caret.rect = RECT{0, 0, nWidth, nHeight};
    caret.hideCount = 1;
    return TRUE;
}

BOOL DestroyCaret()
{
    if (!State().caret.hwnd) return FALSE;
    State().caret = platform::ui::Caret();
    return TRUE;
}

BOOL ShowCaret(HWND hWnd)
{
    platform::ui::Caret& caret = State().caret;
    if (!caret.hwnd || (hWnd && hWnd != caret.hwnd) || caret.hideCount == 0) return FALSE;
    --caret.hideCount;
    return TRUE;
}

BOOL HideCaret(HWND hWnd)
{
    platform::ui::Caret& caret = State().caret;
    if (!caret.hwnd || (hWnd && hWnd != caret.hwnd)) return FALSE;
    ++caret.hideCount;
    return TRUE;
}

BOOL SetCaretPos(int X, int Y)
{
    platform::ui::Caret& caret = State().caret;
    if (!caret.hwnd) return FALSE;
    const int width = caret.rect.right - caret.rect.left;
    const int height = caret.rect.bottom - caret.rect.top;
    caret.rect = RECT{X, Y, X + width, Y + height};
    return TRUE;
}

BOOL GetCaretPos(LPPOINT lpPoint)
{
    if (!lpPoint) return FALSE;
    const platform::ui::Caret& caret = State().caret;
    *lpPoint = POINT{caret.rect.left, caret.rect.top};
    return caret.hwnd ? TRUE : FALSE;
}

UINT GetCaretBlinkTime()
{
    return 530;   // milliseconds, Windows' default
}
