// The screen the headless windows live on, the clock they run by, and the
// driver a host or a test works them with.
//
// The host (or a test) says how large the screen is; every system metric
// that depends on it follows. The clock only moves when someone advances it,
// so anything timed (timers, double clicks, hovering) is deterministic;
// once a host attaches a real display (AttachDisplay), the display's size,
// the real clock and the person in front of it take over.
// Input is given in screen coordinates or in a window's client coordinates;
// each input event is routed, queued and pumped at once, so that its
// handlers have run when the call returns.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/UiTypes.h"

namespace platform::ui {

enum class MouseButton { Left, Right, Middle };

// Modifier keys held while a key is pressed.
enum KeyModifiers : UINT {
    kNoModifiers = 0,
    kShift = 1,
    kControl = 2,
    kAlt = 4,
};

class Desktop {
public:
    static constexpr int kDefaultWidth = kDefaultScreenWidth;
    static constexpr int kDefaultHeight = kDefaultScreenHeight;
    // The most messages one PumpMessages dispatches (see Message.h).
    static constexpr int kMaxPumpedMessages = platform::ui::kMaxPumpedMessages;

    // The screen size in pixels; a size below 1 x 1 is refused (FALSE).
    static BOOL SetScreenSize(int width, int height);
    static int ScreenWidth();
    static int ScreenHeight();
    // A second monitor beside the screen, in virtual-screen coordinates (see
    // Monitors.h); Reset goes back to the one screen.
    static BOOL SetSecondMonitor(const RECT& rect);

    // Milliseconds since the desktop came up; wraps after 49.7 days like GetTickCount.
    static DWORD Now();
    // The same without wrapping.
    static uint64_t Ticks();
    // Moves the clock on, stopping at each time a timer falls due to pump
    // the messages (WM_TIMER included) waiting then; the messages waiting at
    // the end are pumped too.
    static void AdvanceClock(DWORD milliseconds);

    // Dispatches every waiting message (posted, input, WM_PAINT, due
    // WM_TIMER), each through the framework's PreTranslateMessage first.
    // Stops at WM_QUIT (see QuitReceived in Message.h). Returns the number
    // of messages dispatched.
    static int PumpMessages();
    // What the framework does when the queue is empty: the temporary window
    // and DC objects are deleted.
    static void Idle();

    // Mouse input at a screen point, or at a point of a window's client area.
    static void MoveMouse(POINT screen);
    static void MoveMouse(HWND hwnd, int x, int y);
    static void MouseDown(POINT screen, MouseButton button = MouseButton::Left);
    static void MouseUp(POINT screen, MouseButton button = MouseButton::Left);
    static void Click(POINT screen, MouseButton button = MouseButton::Left);
    static void Click(HWND hwnd, int x, int y, MouseButton button = MouseButton::Left);
    // Two clicks with no time between them: a double click for a window
    // whose class has CS_DBLCLKS.
    static void DoubleClick(POINT screen);
    static void DoubleClick(HWND hwnd, int x, int y);
    // Button down at `from`, `steps` moves to `to`, button up there.
    static void Drag(POINT from, POINT to, int steps = 4, MouseButton button = MouseButton::Left);
    static void Drag(HWND hwnd, POINT from, POINT to, int steps = 4);
    // One wheel notch is 120; positive turns away from the user.
    static void Wheel(int delta);

    // Keyboard input to the focus window.
    static void KeyDown(UINT vk);
    static void KeyUp(UINT vk);
    // The modifiers go down, the key goes down and up, the modifiers go up.
    static void KeyPress(UINT vk, UINT modifiers = kNoModifiers);
    // Each character as the keys that type it on a US layout; characters
    // no key types (Japanese, for instance) arrive as WM_CHAR alone, as an
    // input method delivers them. "\n" presses Return.
    static void TypeText(LPCWSTR text);

    // Writes the window and its children, painted, as PNG.
    static BOOL SaveWindowImage(HWND hwnd, const char* path);

    // MessageBeep calls since the last reset, and the type of the last one.
    static int BeepCount();
    static UINT LastBeep();

    // A real screen: the top-level windows become windows of the X display
    // `name` (null: $DISPLAY), the display's size and monitors become the
    // desktop's, and RunDisplay hands the windows to the person in front of
    // it. The display back end is loaded only now, so a host that never
    // attaches needs neither an X server nor the X libraries. FALSE, with
    // the reason in `error`, when the display cannot be reached.
    static BOOL AttachDisplay(const char* name = nullptr, std::string* error = nullptr);
    static bool DisplayAttached();
    // Attached and its connection still standing.
    static bool DisplayConnected();
    // Runs the attached display until `done` answers true (TRUE) or the
    // display is lost (FALSE); modal dialogs nobody drives run on it too.
    static BOOL RunDisplay(const std::function<bool()>& done);
    // Takes the windows off the display and closes it; headless again.
    static void DetachDisplay();

    // Back to a 1024 x 768 screen, a clock at 0, an empty queue without
    // timers, no keys down, the cursor at 0, 0 and no beeps, for tests.
    static void Reset();
};


}  // namespace platform::ui
