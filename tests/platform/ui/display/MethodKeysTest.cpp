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

// A pointer event from the server: a button's press or release, or a move, at x.
xcb_generic_event_t PointerAt(uint8_t type, int16_t x)
{
    xcb_generic_event_t event = {};
    auto* button = reinterpret_cast<xcb_button_press_event_t*>(&event);
    button->response_type = type;
    button->detail = type == XCB_MOTION_NOTIFY ? 0 : 1;
    button->root_x = x;
    return event;
}

// The events as "+22" (press) and "-22" (release), a pointer event as
// "click" (a button pressed), "up" (let go of) or "move", with "@x" where
// it was, in their order.
std::string Read(const std::vector<MethodKeys::Event>& events)
{
    std::string text;
    for (const MethodKeys::Event& e : events) {
        text += text.empty() ? "" : " ";
        if (!e.pointer) {
            text += std::string(e.down ? "+" : "-") + std::to_string(e.key);
            continue;
        }
        const auto* button = reinterpret_cast<const xcb_button_press_event_t*>(&e.held);
        const uint8_t type = e.held.response_type & 0x7F;
        text += type == XCB_BUTTON_PRESS ? "click" : type == XCB_BUTTON_RELEASE ? "up" : "move";
        text += "@" + std::to_string(button->root_x);
    }
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

TEST(MethodKeys, AClickWhileKeysAreWithTheMethodIsReadAfterThemAndBeforeTheKeysTypedAfterIt)
{
    // "s" typed and let go of, "u" pressed, then a click, then "u" let go
    // of and "s" typed again, all before the method answered.
    MethodKeys keys;
    keys.Sent(Event(kS, 1), 1000);
    EXPECT_TRUE(keys.Released(Event(kS, 2)));
    keys.Sent(Event(kU, 3), 1010);
    EXPECT_TRUE(keys.Pointer(PointerAt(XCB_MOTION_NOTIFY, 5), 1020));
    EXPECT_TRUE(keys.Pointer(PointerAt(XCB_MOTION_NOTIFY, 6), 1021));
    EXPECT_TRUE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 6), 1022));
    EXPECT_TRUE(keys.Pointer(PointerAt(XCB_BUTTON_RELEASE, 6), 1030));
    EXPECT_TRUE(keys.Released(Event(kU, 4)));
    keys.Sent(Event(kS, 5), 1040);
    EXPECT_EQ("+39 -39", Read(keys.Returned(Event(kS, 1))));
    // Only where the pointer went matters of the moves before the click.
    EXPECT_EQ("+30 move@6 click@6 up@6 -30", Read(keys.Returned(Event(kU, 3))));
    EXPECT_EQ("+39", Read(keys.Returned(Event(kS, 5))));
    // All back: the pointer goes straight to the windows again.
    EXPECT_FALSE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 7), 1050));
    EXPECT_EQ(-1, keys.MillisecondsToDue(1050));
}

TEST(MethodKeys, AClickWaitsForPressesTheMethodNeverAnswersOnlyUntilItHadItsTimeForTheLast)
{
    MethodKeys keys;
    keys.Sent(Event(kS, 1), 1000);
    keys.Sent(Event(kU, 2), 1100);
    EXPECT_TRUE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 5), 1150));
    EXPECT_TRUE(keys.Released(Event(kU, 3)));
    EXPECT_TRUE(keys.Pointer(PointerAt(XCB_BUTTON_RELEASE, 5), 1160));
    // The last press went at 1100: the method has until then and the bound
    // to answer it.
    const uint64_t due = 1100 + MethodKeys::kAnswerMs;
    EXPECT_EQ(static_cast<int>(due - 1150), keys.MillisecondsToDue(1150));
    EXPECT_EQ("", Read(keys.Due(due - 1)));
    EXPECT_EQ("click@5 up@5", Read(keys.Due(due)));
    EXPECT_EQ(-1, keys.MillisecondsToDue(due));
    // A later click is not held for presses the method had its time for
    // (it keeps them for what it composes, or has hung)...
    EXPECT_FALSE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 6), due + 1));
    // ...and the keys the method hands back late are still read, each with
    // the release that waited for it.
    EXPECT_EQ("+39", Read(keys.Returned(Event(kS, 1))));
    EXPECT_EQ("+30 -30", Read(keys.Returned(Event(kU, 2))));
}

TEST(MethodKeys, AClickLongAfterTheLastKeyIsNotHeldAndOneHeldIsReadWhenTheMethodGoesAway)
{
    MethodKeys keys;
    EXPECT_FALSE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 1), 0)) << "nothing with the method";
    keys.Sent(Event(kS, 1), 1000);
    EXPECT_FALSE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 2), 1000 + MethodKeys::kAnswerMs));
    keys.Sent(Event(kU, 2), 5000);
    EXPECT_TRUE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 3), 5001));
    EXPECT_TRUE(keys.Released(Event(kShift, 3)));
    EXPECT_EQ("click@3 -50", Read(keys.Forget()));
    EXPECT_EQ(-1, keys.MillisecondsToDue(5002));
}

TEST(MethodKeys, APressTheMethodWasNotGivenWaitsBehindAClickThatWaits)
{
    // "s" with the method, a click, then "u" pressed and let go of where the
    // method does not listen: "u" is read after the click, whether the
    // method answers "s" or the click's time runs out.
    for (const bool answered : {true, false}) {
        SCOPED_TRACE(answered ? "answered" : "never answered");
        MethodKeys keys;
        EXPECT_FALSE(keys.Typed(Event(kU, 1))) << "nothing waits: read at once";
        keys.Sent(Event(kS, 2), 1000);
        EXPECT_FALSE(keys.Typed(Event(kU, 3))) << "no click waits: read at once";
        EXPECT_TRUE(keys.Released(Event(kU, 4)));
        EXPECT_TRUE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 5), 1010));
        EXPECT_TRUE(keys.Typed(Event(kU, 6)));
        EXPECT_TRUE(keys.Released(Event(kU, 7)));
        if (answered) {
            EXPECT_EQ("+39 -30 click@5 +30 -30", Read(keys.Returned(Event(kS, 2))));
        } else {
            EXPECT_EQ("click@5 +30 -30", Read(keys.Due(1000 + MethodKeys::kAnswerMs)));
            // The release of the first "u" still waits for "s".
            EXPECT_EQ("+39 -30", Read(keys.Returned(Event(kS, 2))));
        }
    }
}
