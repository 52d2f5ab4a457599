// The presses that are with the input method, as a busy method answers them:
// late, after the keys were let go of, pressed again, and others typed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/display/MethodKeys.h"

using platform::ui::display::MethodKeys;

namespace {

const xcb_keycode_t kBackSpace = 22;
const xcb_keycode_t kS = 39;
const xcb_keycode_t kU = 30;
const xcb_keycode_t kShift = 50;

xcb_key_press_event_t Event(xcb_keycode_t key, xcb_timestamp_t time, uint16_t state = 0)
{
    xcb_key_press_event_t event = {};
    event.detail = key;
    event.time = time;
    event.state = state;
    return event;
}

// The events as "+22" (press) and "-22" (release), in their order.
std::string Read(const std::vector<MethodKeys::Event>& events)
{
    std::string text;
    for (const MethodKeys::Event& e : events)
        text += (text.empty() ? "" : " ") + std::string(e.down ? "+" : "-") + std::to_string(e.key);
    return text;
}

}  // namespace

TEST(MethodKeys, EveryPressOfAKeyTypedAgainBeforeTheFirstCameBackIsReadWithItsOwnRelease)
{
    // Ten BackSpaces, each pressed and let go of, before the method answered any.
    MethodKeys keys;
    for (xcb_timestamp_t t = 1; t <= 10; ++t) {
        keys.Sent(Event(kBackSpace, 2 * t));
        EXPECT_TRUE(keys.Released(Event(kBackSpace, 2 * t + 1))) << t;
    }
    for (xcb_timestamp_t t = 1; t <= 10; ++t) EXPECT_EQ("+22 -22", Read(keys.Returned(Event(kBackSpace, 2 * t)))) << t;
    // All read: the same press handed back again is not read twice, and a
    // release now goes straight to the windows.
    EXPECT_EQ("", Read(keys.Returned(Event(kBackSpace, 20))));
    EXPECT_FALSE(keys.Released(Event(kBackSpace, 30)));
}

TEST(MethodKeys, ShiftLetGoOfBeforeItsLetterCameBackIsReadAfterTheLetter)
{
    // Shift down, s down, s up, Shift up, all typed before the method answered.
    MethodKeys keys;
    keys.Sent(Event(kShift, 1));
    keys.Sent(Event(kS, 1, XCB_MOD_MASK_SHIFT));
    EXPECT_TRUE(keys.Released(Event(kS, 2, XCB_MOD_MASK_SHIFT)));
    EXPECT_TRUE(keys.Released(Event(kShift, 2, XCB_MOD_MASK_SHIFT)));
    EXPECT_EQ("+50", Read(keys.Returned(Event(kShift, 1))));
    const std::vector<MethodKeys::Event> rest = keys.Returned(Event(kS, 1, XCB_MOD_MASK_SHIFT));
    EXPECT_EQ("+39 -39 -50", Read(rest));
    ASSERT_EQ(3u, rest.size());
    EXPECT_EQ(XCB_MOD_MASK_SHIFT, rest[0].state) << "the letter is read with Shift still down";
}

TEST(MethodKeys, APressStillDownWhenItComesBackIsReadAloneAndItsReleaseLater)
{
    MethodKeys keys;
    keys.Sent(Event(kBackSpace, 5));
    EXPECT_EQ("+22", Read(keys.Returned(Event(kBackSpace, 5))));
    EXPECT_FALSE(keys.Released(Event(kBackSpace, 6))) << "the release goes straight to the windows";
}

TEST(MethodKeys, PressesTheMethodKeptAreUnheardWhenALaterPressComesBack)
{
    // "s" and "u" composed (kept), then "s" again handed back: the kept
    // presses and their releases are never read, and nothing waits for them.
    MethodKeys keys;
    keys.Sent(Event(kS, 1));
    EXPECT_TRUE(keys.Released(Event(kS, 2)));
    keys.Sent(Event(kU, 3));
    EXPECT_TRUE(keys.Released(Event(kU, 4)));
    keys.Sent(Event(kS, 5));
    EXPECT_TRUE(keys.Released(Event(kS, 6)));
    EXPECT_EQ("+39 -39", Read(keys.Returned(Event(kS, 5))));
    EXPECT_FALSE(keys.Released(Event(kU, 7)));
    EXPECT_EQ("", Read(keys.Returned(Event(kS, 1))));
}

TEST(MethodKeys, AMethodThatStampsItsOwnTimeGetsThePressesInTheOrderTheyWereSent)
{
    MethodKeys keys;
    keys.Sent(Event(kS, 1));
    EXPECT_TRUE(keys.Released(Event(kS, 2)));
    keys.Sent(Event(kS, 3));
    EXPECT_EQ("+39 -39", Read(keys.Returned(Event(kS, 900))));
    EXPECT_EQ("+39", Read(keys.Returned(Event(kS, 901))));
    EXPECT_EQ("", Read(keys.Returned(Event(kS, 902))));
}

TEST(MethodKeys, ReleasesThatWaitedForAMethodThatWentAwayAreReadWhenItIsForgotten)
{
    // Shift was read before the method went; its release waited behind a
    // press the method never answered, whose own release stays unheard.
    MethodKeys keys;
    keys.Sent(Event(kS, 1));
    EXPECT_TRUE(keys.Released(Event(kShift, 2)));
    EXPECT_TRUE(keys.Released(Event(kS, 3)));
    EXPECT_EQ("-50", Read(keys.Forget()));
    EXPECT_FALSE(keys.Released(Event(kS, 4)));
}
