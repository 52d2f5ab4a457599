// The keyboard of an X display through xkbcommon: the server's keymap and
// the modifier state, a key code read as the virtual key the windows know
// and as the text the layout types.
#pragma once

#include <xcb/xcb.h>

#include "platform/base/WinTypes.h"

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace platform::ui::display {

class XcbKeyboard {
public:
    XcbKeyboard() = default;
    ~XcbKeyboard();
    XcbKeyboard(const XcbKeyboard&) = delete;
    XcbKeyboard& operator=(const XcbKeyboard&) = delete;

    // Reads the core keyboard's keymap; false when the server has no XKB.
    bool Open(xcb_connection_t* connection);
    // Reads the keymap again (the server's layout changed).
    void Reload();
    // The first event number of the XKB extension, to recognise its events.
    uint8_t EventBase() const { return m_eventBase; }
    // The modifiers and group as the server says they are now.
    void UpdateState(uint32_t depressed, uint32_t latched, uint32_t locked, int32_t baseGroup, int32_t latchedGroup,
                     int32_t lockedGroup);

    // The virtual key of a key code (from its unshifted symbol); 0 for a
    // key the windows have no name for.
    UINT VirtualKey(xcb_keycode_t code) const;
    // The character the key types in the present state; 0 for none.
    wchar_t Character(xcb_keycode_t code) const;
    // The character the key typed with the modifiers of its event (`state`
    // as the server sent it), read later than the keyboard moved on: a key
    // the input method handed back after Shift was let go of.
    wchar_t Character(xcb_keycode_t code, uint16_t state) const;
    // The key code of Return; 0 where the keymap has none.
    xcb_keycode_t EnterKey() const;
    // A key code the keymap gives no symbol (a key no one can type); 0
    // where every code has one.
    xcb_keycode_t SilentKey() const;

private:
    xcb_connection_t* m_connection = nullptr;
    xkb_context* m_context = nullptr;
    xkb_keymap* m_keymap = nullptr;
    xkb_state* m_state = nullptr;
    int32_t m_device = -1;
    uint8_t m_eventBase = 0;
};

}  // namespace platform::ui::display
