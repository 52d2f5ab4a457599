// The keyboard of a test's own X server as the display reads it.
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include "platform/ui/display/XcbKeyboard.h"
#include "tests/support/XvfbTest.h"

using displaytest::XvfbServer;

// The key the display sends the input method behind a click, so that it
// knows when the method is past the keys typed before: a method hands it
// back and composes nothing of it, and the windows read nothing of it, in
// any state of the modifiers.
TEST(XcbKeyboard, TheKeySentToTheInputMethodAtAClickTypesNothingWhateverTheModifiers)
{
    XvfbServer server;
    START_XVFB(server, 640, 480);
    xcb_connection_t* connection = xcb_connect(server.Display().c_str(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(connection));
    {
        platform::ui::display::XcbKeyboard keyboard;
        ASSERT_TRUE(keyboard.Open(connection));
        const xcb_keycode_t silent = keyboard.SilentKey();
        ASSERT_NE(0, silent) << "the server's keymap leaves every code a symbol";
        EXPECT_EQ(0u, keyboard.VirtualKey(silent));
        const int states[] = {0, XCB_MOD_MASK_SHIFT, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_CONTROL, XCB_MOD_MASK_1,
                              XCB_MOD_MASK_2, XCB_MOD_MASK_5, XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_5};
        for (const int state : states)
            EXPECT_EQ(0, keyboard.Character(silent, static_cast<uint16_t>(state))) << "state " << state;
        EXPECT_EQ(0, keyboard.Character(silent));
    }
    xcb_disconnect(connection);
}
