// The windows on an X display: every visible top-level window is an X
// window at its place and size showing its image; the display's pointer,
// keyboard and window manager become the input and messages the windows
// already handle; timers fall due on the real clock while it runs.
#pragma once

#include <xcb/xcb.h>

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/base/MessageBox.h"
#include "platform/base/WinTypes.h"
#include "platform/ui/display/MethodKeys.h"
#include "platform/ui/display/XcbKeyboard.h"
#include "platform/ui/display/XimInput.h"
#include "platform/ui/windowing/SystemSettings.h"

namespace platform::ui::display {

class XcbDisplay {
public:
    // Connects to the display `name` (null: $DISPLAY); null with `error` set when it cannot.
    static XcbDisplay* Open(const char* name, std::string& error);
    ~XcbDisplay();
    XcbDisplay(const XcbDisplay&) = delete;
    XcbDisplay& operator=(const XcbDisplay&) = delete;

    // Runs until `done` answers true (true) or the connection breaks (false).
    bool Run(const std::function<bool()>& done);
    bool Connected() const;
    // Milliseconds of the real clock since the desktop's clock began.
    uint64_t RealTicks() const;
    // The X window that shows a top-level window; 0 when none does.
    xcb_window_t WindowOf(HWND hwnd) const;

private:
    struct Shown {
        xcb_window_t id = 0;
        cairo_surface_t* target = nullptr;   // the X window as a cairo surface
        RECT placed = {};                    // where the X window was last put, screen coordinates
        bool mapped = false;
        bool whole = true;                   // the whole image is to be copied
        std::wstring title;
        xcb_window_t transientFor = 0;       // the owner's X window the manager was told of; 0 for none
    };

    explicit XcbDisplay(xcb_connection_t* connection);
    bool Setup(std::string& error);
    void ReadMonitors();
    // The work area the window manager announces (_NET_WORKAREA of the
    // current desktop); the whole screen where none is announced.
    void ReadWorkArea();
    xcb_atom_t Atom(const char* name);

    // Brings the X windows in line with the top-level windows and copies
    // what was painted.
    void Sync();
    void Create(HWND hwnd, Shown& shown);
    void Place(HWND hwnd, Shown& shown, const RECT& rect);
    void SetTitle(Shown& shown, const std::wstring& title);
    // Tells the window manager which X window shows the window's owner
    // (WM_TRANSIENT_FOR), when that changed.
    void NameOwner(HWND hwnd, Shown& shown);
    void Copy(HWND hwnd, Shown& shown, RECT area);
    void Forget(Shown& shown);
    // The X cursor showing a cursor of the windows (made once, kept); 0
    // when it cannot be made.
    xcb_cursor_t CursorOf(HCURSOR cursor);

    void Handle(xcb_generic_event_t* event);
    // A button, move or crossing of the pointer from the server, or the
    // focus the window manager gave a window: read now, or after the keys
    // still with the input method that were typed before it.
    void PointerFromServer(const xcb_generic_event_t& event);
    // A pointer event read now. A click read while keys typed before it are
    // still with the input method leaves them to the control they were
    // typed into.
    void ReadPointer(const xcb_generic_event_t& event);
    // A button press, or the focus a window manager gives another window:
    // what may move the keyboard's focus to another control or window.
    bool MovesFocus(const xcb_generic_event_t& event) const;
    // A button, move or crossing of the pointer, or the focus the window
    // manager gave a window, as the windows hear it.
    void PointerEvent(const xcb_generic_event_t& event);
    // The window manager gave a window the X input focus.
    void FocusIn(const xcb_focus_in_event_t& focus);
    // Pointer and key events carry the modifiers' state at that moment.
    void Pointer(UINT message, int rootX, int rootY, uint16_t state, int wheel = 0);
    // `late`: read after the keyboard moved on (it waited for the input
    // method), so the character is the one the event's own modifiers type.
    // `to`: the control it was typed into, where the focus has left it.
    void Key(xcb_keycode_t code, bool down, uint16_t state, bool late = false, HWND to = nullptr);
    // Lets go of the modifiers the event's state says are up.
    static void SyncModifiers(uint16_t state);
    // A key event from the server: to the input method where one listens,
    // else read through the layout.
    void KeyEvent(const xcb_key_press_event_t& key);
    // A key press the input method handed back.
    void KeyReturned(const xcb_key_press_event_t& key);
    // Beeps where keys typed were given up, so that the person knows to
    // type them again.
    void TellDropped();
    // Tells the input method, after the keys it has, where a click came:
    // keys of our own that it answers after those.
    void Mark();
    // Key and pointer events that waited for the input method, read in
    // their order.
    void ReadKeys(const std::vector<MethodKeys::Event>& keys);
    // Reads what no longer waits: everything, once the method went away,
    // and the pointer events that waited their full time.
    void ReadWaiting();
    // Text that came on its own (from the layout or the input method), as
    // an input method delivers it: a processed key, then its characters;
    // to the control `to` where the focus has left it.
    void Typed(const std::wstring& text, HWND to = nullptr);
    HWND WindowOfId(xcb_window_t id) const;
    // The desktop's clock follows the real one.
    void Tick();
    int MillisecondsToWait() const;

    xcb_connection_t* m_connection;
    xcb_screen_t* m_screen = nullptr;
    XcbKeyboard m_keyboard;
    int m_screenNumber = 0;
    std::unique_ptr<XimInput> m_xim;         // the input method XMODIFIERS names; null for none
    MethodKeys m_methodKeys;                 // the presses that are with the input method, and what waits for them
    xcb_key_press_event_t m_lastSent = {};   // the last press the input method was given
    // What the input method handed over, done once its message is answered:
    // a key may open a modal dialog, whose loop must not hold the answer back.
    std::vector<std::function<void()>> m_fromMethod;
    std::map<HWND, Shown> m_shown;
    std::vector<xcb_window_t> m_stacking;   // the X windows' order as last set, the top first
    HWND m_focused = nullptr;                // the window the X input focus was last given to
    std::set<xcb_keycode_t> m_textKeys;      // keys down whose text came as WM_CHAR alone
    std::map<HCURSOR, xcb_cursor_t> m_cursors;
    HCURSOR m_cursor = nullptr;              // the cursor the X windows were last given
    cairo_device_t* m_device = nullptr;
    int64_t m_clockBase = 0;
    int m_depth = 0;                         // nested runs (modal loops)
    bool m_broken = false;
    xcb_atom_t m_protocols = 0;
    xcb_atom_t m_deleteWindow = 0;
    xcb_atom_t m_workAreaAtom = 0;
    xcb_atom_t m_currentDesktopAtom = 0;
    MessageBoxHandler m_previousBoxes;
    BeepHandler m_previousBeep;
};

}  // namespace platform::ui::display
