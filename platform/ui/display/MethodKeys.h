// The key presses that are with the input method, and the releases typed
// after them. A busy method answers late: a person has let go of the key,
// pressed it again, and pressed and let go of others meanwhile. The windows
// still hear every key the method hands back, in the order it was typed,
// each press with its own release, and a release after the press it
// follows (or Shift is let go of before the letter it capitalises).
#pragma once

#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace platform::ui::display {

class MethodKeys {
public:
    // A key event for the windows.
    struct Event {
        xcb_keycode_t key;
        bool down;
        uint16_t state;   // the modifiers before it, as the server said
    };

    // The press went to the method.
    void Sent(const xcb_key_press_event_t& press);
    // A release from the server: true when presses typed before it are
    // still with the method, and it waits for them.
    bool Released(const xcb_key_press_event_t& release);
    // The events to read now for a press the method handed back: the
    // releases that waited for the presses before it, the press itself, and
    // the releases typed after it up to the next press still with the
    // method. Nothing for a press we did not send, or one already read.
    std::vector<Event> Returned(const xcb_key_press_event_t& press);
    // The method went away: its presses are not coming back, and the
    // releases that waited for them are read now.
    std::vector<Event> Forget();

    // How many events wait at most: a method that keeps every key of a long
    // composition is not waited for past it.
    static const size_t kMostWaiting = 512;

private:
    struct Waiting {
        xcb_keycode_t key;
        xcb_timestamp_t time;
        uint16_t state;
        bool press;
    };
    std::deque<Waiting> m_waiting;   // a press first, in the order typed
};

}  // namespace platform::ui::display
