#include "platform/ui/display/MethodKeys.h"

#include <algorithm>
#include <map>

namespace platform::ui::display {

MethodKeys::Event MethodKeys::Read(const Waiting& w)
{
    Event event{w.key, w.kind != Kind::Release, w.state};
    if (w.kind == Kind::Pointer) {
        event.pointer = true;
        event.held = w.held;
    }
    return event;
}

void MethodKeys::Sent(const xcb_key_press_event_t& press, uint64_t now)
{
    m_waiting.push_back({Kind::Press, press.detail, press.time, press.state, now, {}});
    while (m_waiting.size() > kMostWaiting) m_waiting.pop_front();
}

bool MethodKeys::Released(const xcb_key_press_event_t& release)
{
    if (m_waiting.empty()) return false;
    m_waiting.push_back({Kind::Release, release.detail, release.time, release.state, 0, {}});
    return true;
}

bool MethodKeys::Typed(const xcb_key_press_event_t& press)
{
    const bool behindPointer = std::any_of(m_waiting.begin(), m_waiting.end(),
                                           [](const Waiting& w) { return w.kind == Kind::Pointer; });
    if (!behindPointer) return false;
    m_waiting.push_back({Kind::Typed, press.detail, press.time, press.state, 0, {}});
    return true;
}

bool MethodKeys::Pointer(const xcb_generic_event_t& event, uint64_t now)
{
    // The newest press decides how long it may wait: the method has had
    // less time for it than for any before it.
    const Waiting* newest = nullptr;
    bool behindPointer = false;
    for (const Waiting& w : m_waiting) {
        if (w.kind == Kind::Press) newest = &w;
        if (w.kind == Kind::Pointer) behindPointer = true;
    }
    const bool answerDue = newest && now < newest->at + kAnswerMs;
    // One that waits keeps every later one behind it, so that the button
    // is not let go of before it is pressed.
    if (!answerDue && !behindPointer) return false;
    const uint8_t type = event.response_type & 0x7F;
    Waiting& last = m_waiting.back();
    if (type == XCB_MOTION_NOTIFY && last.kind == Kind::Pointer && (last.held.response_type & 0x7F) == type) {
        last.held = event;   // only where the pointer went matters
        return true;
    }
    const uint64_t due = newest ? newest->at + kAnswerMs : now;
    m_waiting.push_back({Kind::Pointer, 0, 0, 0, due, event});
    return true;
}

std::vector<MethodKeys::Event> MethodKeys::Returned(const xcb_key_press_event_t& press)
{
    auto pressOfKey = [&](const Waiting& w) { return w.kind == Kind::Press && w.key == press.detail; };
    // The method hands back the event it was given, its time included; one
    // that stamps a time of its own gets the oldest press of the key.
    auto found = std::find_if(m_waiting.begin(), m_waiting.end(),
                              [&](const Waiting& w) { return pressOfKey(w) && w.time == press.time; });
    if (found == m_waiting.end()) found = std::find_if(m_waiting.begin(), m_waiting.end(), pressOfKey);
    if (found == m_waiting.end()) return {};
    // The method answers in the order it was asked: the presses before this
    // one that are still here are those it kept for what it composes, and
    // their releases are unheard as they are.
    const size_t at = static_cast<size_t>(found - m_waiting.begin());
    std::map<xcb_keycode_t, int> kept;
    std::vector<Event> events;
    size_t i = 0;
    for (; i < m_waiting.size(); ++i) {
        const Waiting& w = m_waiting[i];
        if (i == at) {
            events.push_back({press.detail, true, press.state});
        } else if (w.kind == Kind::Press) {
            if (i > at) break;   // still with the method: what follows waits for it
            ++kept[w.key];
        } else if (w.kind == Kind::Pointer || w.kind == Kind::Typed) {
            events.push_back(Read(w));
        } else if (kept[w.key] > 0) {
            --kept[w.key];
        } else {
            events.push_back(Read(w));
        }
    }
    m_waiting.erase(m_waiting.begin(), m_waiting.begin() + static_cast<std::ptrdiff_t>(i));
    return events;
}

std::vector<MethodKeys::Event> MethodKeys::Due(uint64_t now)
{
    // Later pointer events are due no sooner than earlier ones: the first
    // that is not due keeps the rest. The presses typed after a due one
    // that the method was not given go with it, up to the next press the
    // method has, and their releases with them.
    std::vector<Event> events;
    std::map<xcb_keycode_t, int> typed;
    bool afterDue = false;
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        const bool goes = (it->kind == Kind::Pointer && it->at <= now) || (afterDue && it->kind == Kind::Typed) ||
                          (it->kind == Kind::Release && typed[it->key] > 0);
        if (it->kind == Kind::Pointer && it->at > now) break;
        if (it->kind == Kind::Press) afterDue = false;
        if (!goes) {
            ++it;
            continue;
        }
        if (it->kind == Kind::Pointer) afterDue = true;
        if (it->kind == Kind::Typed) ++typed[it->key];
        if (it->kind == Kind::Release) --typed[it->key];
        events.push_back(Read(*it));
        it = m_waiting.erase(it);
    }
    return events;
}

int MethodKeys::MillisecondsToDue(uint64_t now) const
{
    for (const Waiting& w : m_waiting)
        if (w.kind == Kind::Pointer) return w.at <= now ? 0 : static_cast<int>(w.at - now);
    return -1;
}

std::vector<MethodKeys::Event> MethodKeys::Forget()
{
    std::vector<Event> events;
    std::map<xcb_keycode_t, int> lost;
    for (const Waiting& w : m_waiting) {
        if (w.kind == Kind::Press)
            ++lost[w.key];
        else if (w.kind == Kind::Pointer || w.kind == Kind::Typed)
            events.push_back(Read(w));
        else if (lost[w.key] > 0)
            --lost[w.key];
        else
            events.push_back(Read(w));
    }
    m_waiting.clear();
    return events;
}

}  // namespace platform::ui::display
