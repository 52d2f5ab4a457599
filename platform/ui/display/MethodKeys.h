// The key presses that are with the input method, and the releases typed
// after them. A busy method answers late: a person has let go of the key,
// pressed it again, and pressed and let go of others meanwhile. The windows
// still hear every key the method hands back, in the order it was typed,
// each press with its own release, and a release after the press it
// follows (or Shift is let go of before the letter it capitalises).
//
// The pointer waits its turn too: a click right after typing would move the
// focus before the method hands the last keys back, and they would land in
// the control clicked into. A button or a move of the pointer (or the focus
// a window manager gives a window clicked on) that comes while keys sent
// lately are with the method is held behind them, and read once they are
// back, or once the method had `kAnswerMs` to answer them.
#pragma once

#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace platform::ui::display {

class MethodKeys {
public:
    // A key event for the windows, or a pointer event that waited for keys
    // typed before it.
    struct Event {
        xcb_keycode_t key;
        bool down;
        uint16_t state;   // the modifiers before it, as the server said
        bool pointer = false;
        xcb_generic_event_t held = {};   // the pointer event as the server sent it
    };

    // The press went to the method at `now` (milliseconds of the caller's
    // clock): how long a pointer event behind it may wait is counted from it.
    void Sent(const xcb_key_press_event_t& press, uint64_t now = 0);
    // A release from the server: true when presses typed before it are
    // still with the method, and it waits for them.
    bool Released(const xcb_key_press_event_t& release);
    // A press the method was not given (it went to a window the method was
    // not told of yet): true when a pointer event waits, and the press
    // waits behind it, so as not to be read before the click it followed.
    bool Typed(const xcb_key_press_event_t& press);
    // A pointer event (a button, a move, a crossing, or the focus a window
    // manager gives on a click) from the server at
    // `now`: true when it waits for presses sent within the last `kAnswerMs`
    // that are still with the method, or behind another pointer event that
    // waits. A move that follows a move waiting at the end replaces it.
    bool Pointer(const xcb_generic_event_t& event, uint64_t now);
    // The events to read now for a press the method handed back: the
    // releases and pointer events that waited for the presses before it,
    // the press itself, and the releases and pointer events that came after
    // it up to the next press still with the method. Nothing for a press we
    // did not send, or one already read.
    std::vector<Event> Returned(const xcb_key_press_event_t& press);
    // The pointer events that waited their full time at `now`, in their
    // order, each with the presses the method was not given that waited
    // behind it (and their releases): the method did not answer the presses
    // before them in time.
    std::vector<Event> Due(uint64_t now);
    // Milliseconds from `now` until a waiting pointer event is due; -1 when
    // none waits.
    int MillisecondsToDue(uint64_t now) const;
    // The method went away: its presses are not coming back, and the
    // releases and pointer events that waited for them are read now.
    std::vector<Event> Forget();

    // How many events wait at most: a method that keeps every key of a long
    // composition is not waited for past it.
    static const size_t kMostWaiting = 512;
    // How long a pointer event waits at most for the presses sent before
    // it. A method answers a key in milliseconds, and in a few hundred on a
    // machine busy with other work; one that keeps the keys of what it
    // composes, or has hung, never answers. A second is the longest a
    // click can lag without breaking a person's flow, and well past what a
    // loaded method takes.
    static const uint64_t kAnswerMs = 1000;

private:
    enum class Kind : uint8_t { Press, Release, Pointer, Typed };   // Typed: a press not with the method
    struct Waiting {
        Kind kind;
        xcb_keycode_t key;
        xcb_timestamp_t time;
        uint16_t state;
        uint64_t at;                      // a press: when it was sent; a pointer event: when it is due
        xcb_generic_event_t held;         // a pointer event
    };
    // The event a waiting entry is read as.
    static Event Read(const Waiting& w);
    std::deque<Waiting> m_waiting;   // a press first, in the order typed
};

}  // namespace platform::ui::display
