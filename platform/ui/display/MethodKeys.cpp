#include "platform/ui/display/MethodKeys.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace platform::ui::display {

namespace {

xcb_generic_event_t AsGeneric(const xcb_key_press_event_t& key)
{
    static_assert(sizeof(xcb_key_press_event_t) <= sizeof(xcb_generic_event_t), "a key event is an event");
    xcb_generic_event_t event = {};
    std::memcpy(&event, &key, sizeof(key));
    return event;
}

}  // namespace

MethodKeys::Event MethodKeys::Read(const Waiting& w)
{
    Event event{w.key, w.kind != Kind::Release, w.state};
    event.pointer = w.kind == Kind::Pointer;
    event.held = w.event;
    event.target = w.target;
    return event;
}

MethodKeys::Event MethodKeys::Again(const Waiting& w)
{
    Event event = Read(w);
    event.again = true;
    return event;
}

void MethodKeys::TakeAgain(size_t from, std::vector<Event>& events)
{
    for (size_t i = from; i < m_waiting.size(); ++i) events.push_back(Again(m_waiting[i]));
    m_waiting.erase(m_waiting.begin() + static_cast<std::ptrdiff_t>(std::min(from, m_waiting.size())),
                    m_waiting.end());
}

void MethodKeys::Sent(const xcb_key_press_event_t& press, uint64_t now)
{
    m_waiting.push_back({Kind::Press, press.detail, press.time, press.state, now, AsGeneric(press)});
    while (m_waiting.size() > kMostWaiting) m_waiting.pop_front();
}

bool MethodKeys::Released(const xcb_key_press_event_t& release)
{
    if (m_waiting.empty()) return false;
    m_waiting.push_back({Kind::Release, release.detail, release.time, release.state, 0, AsGeneric(release)});
    return true;
}

bool MethodKeys::Held(const xcb_key_press_event_t& press)
{
    const bool behindPointer = std::any_of(m_waiting.begin(), m_waiting.end(),
                                           [](const Waiting& w) { return w.kind == Kind::Pointer; });
    if (!behindPointer) return false;
    m_waiting.push_back({Kind::Held, press.detail, press.time, press.state, 0, AsGeneric(press)});
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
    if (type == XCB_MOTION_NOTIFY && last.kind == Kind::Pointer && (last.event.response_type & 0x7F) == type) {
        last.event = event;   // only where the pointer went matters
        return true;
    }
    const uint64_t due = newest ? newest->at + kAnswerMs : now;
    m_waiting.push_back({Kind::Pointer, 0, 0, 0, due, event});
    return true;
}

void MethodKeys::Marked(const xcb_key_press_event_t& marker, uint64_t now)
{
    // Before the pointer events that wait: the method answers it before
    // anything typed behind them.
    auto pointer = std::find_if(m_waiting.begin(), m_waiting.end(),
                                [](const Waiting& w) { return w.kind == Kind::Pointer || w.kind == Kind::Held; });
    m_waiting.insert(pointer, {Kind::Marker, marker.detail, marker.time, marker.state, now, AsGeneric(marker)});
}

bool MethodKeys::Unmarked() const
{
    bool unmarked = false;
    for (const GivenUp& g : m_givenUp) {
        if (g.kind == Kind::Press) unmarked = true;
        if (g.kind == Kind::Marker) unmarked = false;
    }
    for (const Waiting& w : m_waiting) {
        if (w.kind == Kind::Press) unmarked = true;
        if (w.kind == Kind::Marker) unmarked = false;
    }
    return unmarked;
}

bool MethodKeys::WithMethod() const
{
    // Presses given up are still the method's until it answers past them:
    // what it composed of them is committed where they were typed.
    if (!m_givenUp.empty()) return true;
    return std::any_of(m_waiting.begin(), m_waiting.end(), [](const Waiting& w) { return WithMethod(w); });
}

void MethodKeys::TypedInto(HWND control)
{
    for (GivenUp& g : m_givenUp)
        if (!g.target) g.target = control;
    for (Waiting& w : m_waiting) {
        if (w.kind == Kind::Pointer || w.kind == Kind::Held) break;   // typed after the click
        if (!w.target) w.target = control;
    }
}

HWND MethodKeys::CommitTarget() const
{
    // The method answers in order: presses given up come before every
    // press still waited for.
    if (!m_givenUp.empty()) return m_givenUp.front().target;
    auto oldest = std::find_if(m_waiting.begin(), m_waiting.end(), [](const Waiting& w) { return WithMethod(w); });
    return oldest == m_waiting.end() ? nullptr : oldest->target;
}

bool MethodKeys::CommitDropped() const
{
    return !m_givenUp.empty() && m_givenUp.front().dropped;
}

void MethodKeys::EraseGivenUp(size_t end)
{
    const size_t count = std::min(end, m_givenUp.size());
    m_givenUp.erase(m_givenUp.begin(), m_givenUp.begin() + static_cast<std::ptrdiff_t>(count));
}

std::vector<MethodKeys::Event> MethodKeys::Returned(const xcb_key_press_event_t& press)
{
    // A late answer for a press given up is not read (its release went
    // long ago), and the person is told; the method is past every press
    // before it.
    for (size_t i = 0; i < m_givenUp.size(); ++i) {
        const GivenUp& g = m_givenUp[i];
        if (g.key != press.detail || g.time != press.time) continue;
        if (g.kind == Kind::Press) m_dropped = true;
        EraseGivenUp(i + 1);
        return {};
    }
    auto pressOfKey = [&](const Waiting& w) { return WithMethod(w) && w.key == press.detail; };
    // The method hands back the event it was given, its time included; one
    // that stamps a time of its own gets the oldest press of the key typed.
    // Ours carry no time, which no key typed has: a Return of ours is not
    // taken for one typed just before it.
    auto found = std::find_if(m_waiting.begin(), m_waiting.end(),
                              [&](const Waiting& w) { return pressOfKey(w) && w.time == press.time; });
    if (found == m_waiting.end())
        found = std::find_if(m_waiting.begin(), m_waiting.end(),
                             [&](const Waiting& w) { return pressOfKey(w) && w.kind == Kind::Press; });
    if (found == m_waiting.end()) return {};
    // It answered a press sent after every press given up: it is past them.
    m_givenUp.clear();
    // The method answers in the order it was asked: the presses before this
    // one that are still here are those it kept for what it composes, and
    // their releases are unheard as they are.
    const size_t at = static_cast<size_t>(found - m_waiting.begin());
    std::map<xcb_keycode_t, int> kept;
    std::vector<Event> events;
    size_t read = 0;   // the entries read from the front
    for (size_t i = 0; i < m_waiting.size(); read = ++i) {
        const Waiting& w = m_waiting[i];
        if (i == at) {
            if (w.kind == Kind::Press) {
                Event event{press.detail, true, press.state};
                event.target = w.target;
                events.push_back(event);
            }
        } else if (WithMethod(w)) {
            if (i > at) break;   // still with the method: what follows waits for it
            if (w.kind == Kind::Press) ++kept[w.key];
        } else if (w.kind == Kind::Pointer) {
            // Everything typed behind it waited for it alone.
            events.push_back(Read(w));
            TakeAgain(i + 1, events);
            read = i + 1;
            break;
        } else if (w.kind == Kind::Held) {
            events.push_back(Again(w));
        } else if (kept[w.key] > 0) {
            --kept[w.key];
        } else {
            events.push_back(Read(w));
        }
    }
    m_waiting.erase(m_waiting.begin(), m_waiting.begin() + static_cast<std::ptrdiff_t>(read));
    return events;
}

std::vector<MethodKeys::Event> MethodKeys::Due(uint64_t now)
{
    auto pointer = std::find_if(m_waiting.begin(), m_waiting.end(), [](const Waiting& w) { return w.kind == Kind::Pointer; });
    if (pointer == m_waiting.end() || pointer->at > now) return {};
    // The presses before it stay with the method; what was typed after it
    // waited for it alone.
    const size_t at = static_cast<size_t>(pointer - m_waiting.begin());
    std::vector<Event> events = {Read(*pointer)};
    TakeAgain(at + 1, events);
    m_waiting.erase(m_waiting.begin() + static_cast<std::ptrdiff_t>(at));
    return events;
}

int MethodKeys::MillisecondsToDue(uint64_t now) const
{
    for (const Waiting& w : m_waiting)
        if (w.kind == Kind::Pointer) return w.at <= now ? 0 : static_cast<int>(w.at - now);
    return -1;
}

std::vector<MethodKeys::Event> MethodKeys::GiveUp(uint64_t now)
{
    // Presses went to the method in order: those it had its time for come first.
    size_t end = 0;
    for (size_t i = 0; i < m_waiting.size(); ++i)
        if (WithMethod(m_waiting[i]) && m_waiting[i].at + kGiveUpMs <= now) end = i + 1;
    if (end == 0) return {};
    std::vector<Event> events;
    std::map<xcb_keycode_t, int> lost;
    size_t i = 0;
    size_t ours = 0;   // the presses given up up to the last of our own among them, given up now
    // The releases right after the last of them are theirs too, up to the
    // next press.
    for (; i < m_waiting.size() && (i < end || m_waiting[i].kind == Kind::Release); ++i) {
        const Waiting& w = m_waiting[i];
        if (WithMethod(w)) {
            m_givenUp.push_back({w.kind, w.key, w.time, w.target, false});
            if (w.kind == Kind::Marker) ours = m_givenUp.size();
        }
        if (w.kind == Kind::Press)
            ++lost[w.key];
        else if (w.kind == Kind::Release && lost[w.key] > 0)
            --lost[w.key];
        else if (w.kind == Kind::Held)
            events.push_back(Again(w));
        else if (w.kind != Kind::Marker)
            events.push_back(Read(w));
    }
    m_waiting.erase(m_waiting.begin(), m_waiting.begin() + static_cast<std::ptrdiff_t>(i));
    // A key of our own the method did not hand back in all that time: it
    // has stopped, and the keys typed before the click it marked are not
    // taken. Were what it makes of them committed when it goes on, it
    // would land in the control clicked into, or in one the person has
    // typed them into again meanwhile.
    for (size_t g = 0; g < ours; ++g) {
        if (!m_givenUp[g].dropped && m_givenUp[g].kind == Kind::Press) m_dropped = true;
        m_givenUp[g].dropped = true;
    }
    while (m_givenUp.size() > kMostWaiting) m_givenUp.pop_front();
    return events;
}

bool MethodKeys::Dropped()
{
    const bool dropped = m_dropped;
    m_dropped = false;
    return dropped;
}

std::vector<MethodKeys::Event> MethodKeys::Forget()
{
    m_givenUp.clear();
    std::vector<Event> events;
    std::map<xcb_keycode_t, int> lost;
    for (const Waiting& w : m_waiting) {
        if (w.kind == Kind::Press)
            ++lost[w.key];
        else if (w.kind == Kind::Marker)
            continue;
        else if (w.kind == Kind::Held)
            events.push_back(Again(w));
        else if (w.kind == Kind::Pointer)
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
