// The link between the window system and a display back end that puts the
// top-level windows on a real screen. Nothing here knows the display: the
// back end (platform/ui/display, a module of its own so that only it needs
// the X libraries) is loaded when a host attaches a display through the
// desktop (Desktop::AttachDisplay) and registers its entry points here.
// Without an attached display every window stays headless, as before.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/base/WinTypes.h"

namespace platform::ui {

struct DisplayBackEnd {
    // Runs the display: its events become input, the queue is pumped, timers
    // fall due on the real clock and what was painted reaches the screen,
    // until `done` answers true (true) or the display is lost (false).
    bool (*run)(const std::function<bool()>& done) = nullptr;
    // Whether the connection to the display still stands.
    bool (*connected)() = nullptr;
    // Closes the display's windows and the connection.
    void (*detach)() = nullptr;
    // The real clock in the desktop clock's milliseconds (it never goes back).
    uint64_t (*clock)() = nullptr;
};

// The entry point the back end module exports: connects to the named
// display (null: $DISPLAY) and fills `backEnd`; false with `error` set when
// it cannot.
typedef bool (*DisplayAttachEntry)(const char* name, DisplayBackEnd* backEnd, std::string* error);
#define MORVELANCE_DISPLAY_ENTRY "MorvelanceAttachDisplay"

namespace detail {
// The attached back end; null when the windows are headless.
const DisplayBackEnd* AttachedDisplay();
void SetAttachedDisplay(const DisplayBackEnd* backEnd);

// A window DC was released (or pixels were moved) on `hwnd`: the part of its
// top-level window's image it covers has to reach the screen. Noted only
// while a display is attached.
void NotePainted(HWND hwnd);
void NotePaintedArea(HWND topLevel, const RECT& area);
// The bounds of what was painted on a top-level window's image since last
// asked, in image coordinates; false when nothing was.
bool TakePaintedArea(HWND topLevel, RECT& area);

// A modal dialog that nobody drives runs on the attached display until it
// ends; without a display nothing happens.
void RunDisplayModalLoop(HWND dialog);
}  // namespace detail

}  // namespace platform::ui
