#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Monitors.h"

#include <dlfcn.h>

#include <atomic>
#include <cstring>

#include "platform/gdi/Dc.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/ui/windowing/DisplayLink.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowSystemHooks.h"

namespace platform::ui {

namespace {

// Timers of the desktop clock are stepped through one by one at most this
// many times per AdvanceClock; the rest fire once at the end, as late
// timers coalesce on Windows.
const int kMaxTimerSteps = 100000;

// The display back end's module, found beside the platform library.
const char* const kDisplayModule = "libmorvelance_display.so";

}  // namespace

BOOL Desktop::SetScreenSize(int width, int height)
{
    return platform::ui::SetScreenSize(width, height);
}

int Desktop::ScreenWidth()
{
    return platform::ui::ScreenWidth();
}

int Desktop::ScreenHeight()
{
    return platform::ui::ScreenHeight();
}

BOOL Desktop::SetSecondMonitor(const RECT& rect)
{
    return platform::ui::SetSecondMonitor(rect);
}

DWORD Desktop::Now()
{
    return ClockNow();
}

uint64_t Desktop::Ticks()
{
    return ClockTicks();
}

void Desktop::AdvanceClock(DWORD milliseconds)
{
    const uint64_t target = ClockTicks() + milliseconds;
    uint64_t due = 0;
    for (int step = 0; step < kMaxTimerSteps && detail::EarliestTimerDue(due) && due <= target; ++step) {
        if (due > ClockTicks()) SetClockTicks(due);
        PumpMessages();
        detail::CheckHover();
        uint64_t next = 0;
        // A timer still due means the pump stopped short (WM_QUIT): time
        // goes on without it.
        if (detail::EarliestTimerDue(next) && next <= ClockTicks()) break;
    }
    SetClockTicks(target);
    detail::CheckHover();
    PumpMessages();
}

int Desktop::PumpMessages()
{
    int count = 0;
    MSG peeked;
    while (count < kMaxPumpedMessages && PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!detail::PumpOneMessage()) break;
        ++count;
    }
    return count;
}

void Desktop::Idle()
{
    detail::RunIdleHook();
    CDC::DeleteTempMap();
}

namespace {

UINT DownMessage(MouseButton button)
{
    switch (button) {
    case MouseButton::Right: return WM_RBUTTONDOWN;
    case MouseButton::Middle: return WM_MBUTTONDOWN;
    default: return WM_LBUTTONDOWN;
    }
}

POINT ToScreen(HWND hwnd, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(hwnd, &point);
    return point;
}

void Mouse(UINT message, POINT screen)
{
    detail::PostMouseInput(message, screen, 0);
    Desktop::PumpMessages();
}

}  // namespace

void Desktop::MoveMouse(POINT screen)
{
    Mouse(WM_MOUSEMOVE, screen);
}

void Desktop::MoveMouse(HWND hwnd, int x, int y)
{
    MoveMouse(ToScreen(hwnd, x, y));
}

void Desktop::MouseDown(POINT screen, MouseButton button)
{
    Mouse(DownMessage(button), screen);
}

void Desktop::MouseUp(POINT screen, MouseButton button)
{
    Mouse(DownMessage(button) + 1, screen);
}

void Desktop::Click(POINT screen, MouseButton button)
{
    POINT current;
    GetCursorPos(&current);
    if (current.x != screen.x || current.y != screen.y) MoveMouse(screen);
    MouseDown(screen, button);
    MouseUp(screen, button);
}

void Desktop::Click(HWND hwnd, int x, int y, MouseButton button)
{
    Click(ToScreen(hwnd, x, y), button);
}

void Desktop::DoubleClick(POINT screen)
{
    Click(screen);
    Click(screen);
}

void Desktop::DoubleClick(HWND hwnd, int x, int y)
{
    DoubleClick(ToScreen(hwnd, x, y));
}

void Desktop::Drag(POINT from, POINT to, int steps, MouseButton button)
{
    MoveMouse(from);
    MouseDown(from, button);
    steps = steps < 1 ? 1 : steps;
    for (int i = 1; i <= steps; ++i) {
        const POINT at = {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        MoveMouse(at);
    }
    MouseUp(to, button);
}

void Desktop::Drag(HWND hwnd, POINT from, POINT to, int steps)
{
    Drag(ToScreen(hwnd, from.x, from.y), ToScreen(hwnd, to.x, to.y), steps);
}

void Desktop::Wheel(int delta)
{
    POINT cursor;
    GetCursorPos(&cursor);
    detail::PostMouseInput(WM_MOUSEWHEEL, cursor, delta);
    PumpMessages();
}

void Desktop::KeyDown(UINT vk)
{
    detail::PostKeyInput(vk, true);
    PumpMessages();
}

void Desktop::KeyUp(UINT vk)
{
    detail::PostKeyInput(vk, false);
    PumpMessages();
}

void Desktop::KeyPress(UINT vk, UINT modifiers)
{
    if (modifiers & kShift) KeyDown(VK_SHIFT);
    if (modifiers & kControl) KeyDown(VK_CONTROL);
    if (modifiers & kAlt) KeyDown(VK_MENU);
    KeyDown(vk);
    KeyUp(vk);
    if (modifiers & kAlt) KeyUp(VK_MENU);
    if (modifiers & kControl) KeyUp(VK_CONTROL);
    if (modifiers & kShift) KeyUp(VK_SHIFT);
}

namespace {

// The key and shift state that type `ch`; false when no key does.
bool KeyForCharacter(wchar_t ch, UINT& vk, bool& shift)
{
    if (ch == L'\n' || ch == L'\r') {
        vk = VK_RETURN;
        shift = false;
        return true;
    }
    for (UINT key = 1; key < 0xFF; ++key) {
        if (key >= VK_NUMPAD0 && key <= VK_DIVIDE) continue;   // the main keyboard types the same
        for (bool shifted : {false, true}) {
            if (detail::CharacterOfKey(key, shifted) != ch) continue;
            vk = key;
            shift = shifted;
            return true;
        }
    }
    return false;
}

}  // namespace

void Desktop::TypeText(LPCWSTR text)
{
    if (!text) return;
    for (const wchar_t* p = text; *p; ++p) {
        UINT vk = 0;
        bool shift = false;
        if (KeyForCharacter(*p, vk, shift)) {
            KeyPress(vk, shift ? kShift : kNoModifiers);
            continue;
        }
        detail::PostCharInput(*p);
        PumpMessages();
    }
}

BOOL Desktop::SaveWindowImage(HWND hwnd, const char* path)
{
    return platform::ui::SaveWindowImage(hwnd, path);
}

int Desktop::BeepCount()
{
    return platform::ui::BeepCount();
}

UINT Desktop::LastBeep()
{
    return platform::ui::LastBeep();
}

namespace {

// The back end and its module, kept loaded once attached: its code is still
// on the stack of whoever detaches.
DisplayBackEnd g_display;

// The module beside this library (built and installed into the same
// folder); by its bare name when this library's place is unknown. Named in
// full because a loader that stands between (a sanitizer's) would search
// its own paths for a bare name, not this library's.
std::string DisplayModulePath()
{
    Dl_info info = {};
    if (dladdr(reinterpret_cast<const void*>(&DisplayModulePath), &info) == 0 || !info.dli_fname)
        return kDisplayModule;
    const std::string self = info.dli_fname;
    const size_t slash = self.rfind('/');
    return slash == std::string::npos ? std::string(kDisplayModule) : self.substr(0, slash + 1) + kDisplayModule;
}

}  // namespace

BOOL Desktop::AttachDisplay(const char* name, std::string* error)
{
    std::string reason;
    if (detail::AttachedDisplay()) DetachDisplay();
    void* module = dlopen(DisplayModulePath().c_str(), RTLD_NOW | RTLD_LOCAL);
    auto attach = module ? reinterpret_cast<DisplayAttachEntry>(dlsym(module, MORVELANCE_DISPLAY_ENTRY)) : nullptr;
    DisplayBackEnd backEnd;
    if (!attach) {
        const char* why = dlerror();
        reason = std::string("the display back end cannot be loaded: ") + (why ? why : kDisplayModule);
    } else if (attach(name, &backEnd, &reason)) {
        g_display = backEnd;
        detail::SetAttachedDisplay(&g_display);
        return TRUE;
    }
    if (error) *error = reason;
    return FALSE;
}

bool Desktop::DisplayAttached()
{
    return detail::AttachedDisplay() != nullptr;
}

bool Desktop::DisplayConnected()
{
    const DisplayBackEnd* backEnd = detail::AttachedDisplay();
    return backEnd && backEnd->connected && backEnd->connected();
}

BOOL Desktop::RunDisplay(const std::function<bool()>& done)
{
    const DisplayBackEnd* backEnd = detail::AttachedDisplay();
    if (!backEnd || !backEnd->run) return FALSE;
    return backEnd->run(done) ? TRUE : FALSE;
}

void Desktop::DetachDisplay()
{
    const DisplayBackEnd* backEnd = detail::AttachedDisplay();
    if (!backEnd) return;
    detail::SetAttachedDisplay(nullptr);
    if (backEnd->detach) backEnd->detach();
}

void Desktop::Reset()
{
    ResetSystemSettings();
    ResetMessageQueue();
    detail::ResetInputState();
}


}  // namespace platform::ui
