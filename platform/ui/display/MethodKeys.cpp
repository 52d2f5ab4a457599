#include "platform/ui/display/MethodKeys.h"

#include <algorithm>
#include <map>

namespace platform::ui::display {

void MethodKeys::Sent(const xcb_key_press_event_t& press)
{
    m_waiting.push_back({press.detail, press.time, press.state, true});
    while (m_waiting.size() > kMostWaiting) m_waiting.pop_front();
}

bool MethodKeys::Released(const xcb_key_press_event_t& release)
{
    if (m_waiting.empty()) return false;
    m_waiting.push_back({release.detail, release.time, release.state, false});
    return true;
}

std::vector<MethodKeys::Event> MethodKeys::Returned(const xcb_key_press_event_t& press)
{
    auto pressOfKey = [&](const Waiting& w) { return w.press && w.key == press.detail; };
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
        } else if (w.press) {
            if (i > at) break;   // still with the method: what follows waits for it
            ++kept[w.key];
        } else if (kept[w.key] > 0) {
            --kept[w.key];
        } else {
            events.push_back({w.key, false, w.state});
        }
    }
    m_waiting.erase(m_waiting.begin(), m_waiting.begin() + static_cast<std::ptrdiff_t>(i));
    return events;
}

std::vector<MethodKeys::Event> MethodKeys::Forget()
{
    std::vector<Event> events;
    std::map<xcb_keycode_t, int> lost;
    for (const Waiting& w : m_waiting) {
        if (w.press)
            ++lost[w.key];
        else if (lost[w.key] > 0)
            --lost[w.key];
        else
            events.push_back({w.key, false, w.state});
    }
    m_waiting.clear();
    return events;
}

}  // namespace platform::ui::display
