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
// back, or once the method had `kAnswerMs` to answer them. The keys typed
// while it waits wait behind it, and only then go to the method, so that the
// method hears them after whatever it is told about the click.
//
// A method that answers later still than that (stopped, swapped out, busy
// for seconds) must not move the keys typed before the click into the
// control clicked into: once the click is read, those keys are given the
// control they were typed into (`TypedInto`), and what the method hands back
// or commits for them goes there. Up to where the click came, the method is
// sent keys of our own (`Marked`): when one comes back, everything before it
// is answered, and what it commits from then on is the new control's.
//
// A press the method has not answered for `kGiveUpMs` holds nothing back any
// longer, but it is still known where it was typed until the method answers
// past it: a method keeps the keys of what it composes for as long as a
// person takes to finish it, and commits their text only then. Where even a
// key of our own, which the method always hands back, was not answered in
// that time, the method has stopped: the keys typed before that click are
// given up for good (`Dropped`). What the method commits or hands back for
// them later goes nowhere, and above all not into the control clicked into;
// the person is told at once that they were not taken.
#pragma once

#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/base/WinTypes.h"

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
        xcb_generic_event_t held = {};   // the event as the server sent it
        // The control the key was typed into, where the focus has moved on
        // since; null: the focus.
        HWND target = nullptr;
        // Typed after a pointer event that waited: taken again as if it came
        // now, once the pointer event is read (to the method, or to wait anew).
        bool again = false;
    };

    // The press went to the method at `now` (milliseconds of the caller's
    // clock): how long a pointer event behind it may wait is counted from it.
    void Sent(const xcb_key_press_event_t& press, uint64_t now = 0);
    // A release from the server: true when presses typed before it are
    // still with the method, and it waits for them.
    bool Released(const xcb_key_press_event_t& release);
    // A press from the server: true when a pointer event waits, and the
    // press waits behind it (given to no one yet), so as not to be read, nor
    // heard by the method, before the click it followed.
    bool Held(const xcb_key_press_event_t& press);
    // A pointer event (a button, a move, a crossing, or the focus a window
    // manager gives on a click) from the server at
    // `now`: true when it waits for presses sent within the last `kAnswerMs`
    // that are still with the method, or behind another pointer event that
    // waits. A move that follows a move waiting at the end replaces it.
    bool Pointer(const xcb_generic_event_t& event, uint64_t now);
    // A press of our own went to the method at `now`, after every press
    // typed before the pointer events that wait: the method answers it after
    // them. It is never read; it carries no time (CurrentTime), which no key
    // typed has.
    void Marked(const xcb_key_press_event_t& marker, uint64_t now);
    // True when presses went to the method since the last press of our own
    // (or there is none yet), those given up included.
    bool Unmarked() const;
    // True while presses (ours included) are with the method, or given up
    // and not yet answered past.
    bool WithMethod() const;
    // The presses with the method (and those given up), and the releases
    // waiting for them, were typed into `control` (the focus before a click
    // is read): what the method hands back or commits for them goes there.
    // Those already given one keep it.
    void TypedInto(HWND control);
    // Where text the method commits now goes: the control the oldest press
    // still with it was typed into; null: the focus.
    HWND CommitTarget() const;
    // True when text the method commits now is for presses given up for
    // good: it goes nowhere.
    bool CommitDropped() const;
    // The events to read now for a press the method handed back: the
    // releases and pointer events that waited for the presses before it,
    // the press itself, and the releases that came after it up to the next
    // press still with the method, or the pointer event that waited for it
    // with everything typed behind it (taken again). Nothing for a press we
    // did not send, one of our own, or one already read.
    std::vector<Event> Returned(const xcb_key_press_event_t& press);
    // The first pointer event that waited its full time at `now`, and
    // everything typed behind it (taken again): the method did not answer
    // the presses before it in time.
    std::vector<Event> Due(uint64_t now);
    // Milliseconds from `now` until a waiting pointer event is due; -1 when
    // none waits.
    int MillisecondsToDue(uint64_t now) const;
    // The presses the method had `kGiveUpMs` for at `now` are given up: the
    // releases that waited for them go (their own are unheard), a late
    // answer for one is not read, and what the method commits for them goes
    // where they were typed. Where a key of our own is among them, those
    // typed before it are given up for good.
    std::vector<Event> GiveUp(uint64_t now);
    // True once after keys typed were given up for good, or a late answer
    // for a key given up was not read: the person is to be told.
    bool Dropped();
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
    // How long a press is waited for at all. A method stopped for a few
    // seconds still answers and its keys still count; one silent for this
    // long has hung, and a person has long since typed those keys again.
    static const uint64_t kGiveUpMs = 10000;

private:
    // Press: with the method. Marker: a press of our own with the method.
    // Held: a press typed behind a waiting pointer event, given to no one yet.
    enum class Kind : uint8_t { Press, Release, Pointer, Held, Marker };
    struct Waiting {
        Kind kind;
        xcb_keycode_t key;
        xcb_timestamp_t time;
        uint16_t state;
        uint64_t at;                      // a press: when it was sent; a pointer event: when it is due
        xcb_generic_event_t event;        // as the server sent it
        HWND target = nullptr;            // the control it was typed into, once the focus moved on
    };
    static bool WithMethod(const Waiting& w) { return w.kind == Kind::Press || w.kind == Kind::Marker; }
    // The event a waiting entry is read as.
    static Event Read(const Waiting& w);
    // The event a waiting entry is taken again as.
    static Event Again(const Waiting& w);
    // The entries from `from` on, taken again, and gone from here.
    void TakeAgain(size_t from, std::vector<Event>& events);
    // Forgets the presses given up, up to `end`.
    void EraseGivenUp(size_t end);

    // A press (ours included) given up; `dropped`: for good.
    struct GivenUp {
        Kind kind;
        xcb_keycode_t key;
        xcb_timestamp_t time;
        HWND target;
        bool dropped;
    };
    std::deque<Waiting> m_waiting;   // a press first, in the order typed
    // Presses given up, older than every press in `m_waiting`, in the order
    // sent, until the method answers past them.
    std::deque<GivenUp> m_givenUp;
    bool m_dropped = false;          // keys were dropped since `Dropped` was last asked
};

}  // namespace platform::ui::display
