// Text through the X input method a person chose (XMODIFIERS "@im=NAME"),
// where it runs: an input context per focused top-level X window; key
// events go to the method first, and it hands back the ones it does not
// use and commits the text it composed.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>

struct _xcb_xim_t;

namespace platform::ui::display {

class XimInput {
public:
    // A key press the method did not use, to be read as the layout reads it.
    using KeyHandler = std::function<void(const xcb_key_press_event_t& key)>;
    // Text the method committed.
    using TextHandler = std::function<void(const std::wstring& text)>;

    XimInput(xcb_connection_t* connection, int screen, KeyHandler keys, TextHandler text);
    ~XimInput();
    XimInput(const XimInput&) = delete;
    XimInput& operator=(const XimInput&) = delete;

    // The input method named by `modifiers` (XMODIFIERS); empty when it names none.
    static std::string MethodName(const char* modifiers);
    // Starts talking to the method `name`: now if it runs, else when it starts.
    bool Open(const std::string& name);
    // True while the method is there to answer.
    bool Talking() const { return m_open; }
    // True when the event was the method's conversation with us.
    bool Filter(xcb_generic_event_t* event);
    // The X window the keyboard goes to now (0: none of ours).
    void Focus(xcb_window_t window);
    // The X window goes away, and its input context with it.
    void Forget(xcb_window_t window);
    // True when the key press went to the method: what it makes of it
    // comes back through the handlers. Releases stay with the caller.
    bool Forward(const xcb_key_press_event_t& key);

private:
    static void Opened(_xcb_xim_t* im, void* self);
    static void Created(_xcb_xim_t* im, uint16_t ic, void* self);
    static void EventMask(_xcb_xim_t* im, uint16_t ic, uint32_t forward, uint32_t synchronous, void* self);
    static void Returned(_xcb_xim_t* im, uint16_t ic, xcb_key_press_event_t* event, void* self);
    static void Committed(_xcb_xim_t* im, uint16_t ic, uint32_t flag, char* text, uint32_t length, uint32_t* keysyms,
                          size_t keysymCount, void* self);
    static void Disconnected(_xcb_xim_t* im, void* self);
    void CreateContext(xcb_window_t window);

    xcb_connection_t* m_connection;
    int m_screen;
    KeyHandler m_keys;
    TextHandler m_text;
    _xcb_xim_t* m_im = nullptr;
    bool m_open = false;
    std::map<xcb_window_t, uint16_t> m_contexts;
    std::deque<xcb_window_t> m_creating;   // contexts asked for, in the order the answers come
    std::map<uint16_t, uint32_t> m_forwardMasks;   // the key events each context wants, as the method said
    xcb_window_t m_focus = 0;
};

}  // namespace platform::ui::display
