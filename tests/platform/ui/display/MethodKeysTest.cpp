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
// it was, in their order; "~" before one taken again as if it came now,
// and ">N" after a key that goes to the control N rather than the focus.
std::string Read(const std::vector<MethodKeys::Event>& events)
{
    std::string text;
    for (const MethodKeys::Event& e : events) {
        text += text.empty() ? "" : " ";
        text += e.again ? "~" : "";
        if (!e.pointer) {
            text += std::string(e.down ? "+" : "-") + std::to_string(e.key);
            if (e.target) text += ">" + std::to_string(reinterpret_cast<uintptr_t>(e.target));
            continue;
        }
        const auto* button = reinterpret_cast<const xcb_button_press_event_t*>(&e.held);
        const uint8_t type = e.held.response_type & 0x7F;
        text += type == XCB_BUTTON_PRESS ? "click" : type == XCB_BUTTON_RELEASE ? "up" : "move";
        text += "@" + std::to_string(button->root_x);
    }
    return text;
}

// The events the display takes again handed to `keys` as it does, at `now`:
// a press to the method (or behind a pointer event that waits again), a
// release and a pointer event to wait or be read. The rest, and what is read
// at once, as `Read` shows them.
std::string TakeAgain(MethodKeys& keys, const std::vector<MethodKeys::Event>& events, uint64_t now)
{
    std::vector<MethodKeys::Event> read;
    for (const MethodKeys::Event& e : events) {
        if (!e.again) {
            read.push_back(e);
            continue;
        }
        const auto& key = *reinterpret_cast<const xcb_key_press_event_t*>(&e.held);
        bool waits = true;
        if (e.pointer) {
            waits = keys.Pointer(e.held, now);
        } else if (!e.down) {
            waits = keys.Released(key);
        } else if (!keys.Held(key)) {
            keys.Sent(key, now);
        }
        if (!waits) {
            MethodKeys::Event readNow = e;
            readNow.again = false;
            read.push_back(readNow);
        }
    }
    return Read(read);
}

// The controls keys are typed into.
HWND const kSubId = reinterpret_cast<HWND>(7);
HWND const kName = reinterpret_cast<HWND>(8);

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
    // The "s" typed after the click waits behind it, the method not given it
    // yet: it must hear it after whatever it is told of the click. (It was
    // given it at once before the method's late answers could be sent to
    // the control typed into.)
    EXPECT_TRUE(keys.Held(Event(kS, 5)));
    EXPECT_EQ("+39 -39", Read(keys.Returned(Event(kS, 1))));
    // Only where the pointer went matters of the moves before the click;
    // what came after it is taken again, and nothing waits for the method
    // any more: the click and its release are read, the "u" let go of, and
    // the new "s" goes to the method.
    const std::vector<MethodKeys::Event> back = keys.Returned(Event(kU, 3));
    EXPECT_EQ("+30 move@6 ~click@6 ~up@6 ~-30 ~+39", Read(back));
    EXPECT_EQ("+30 move@6 click@6 up@6 -30", TakeAgain(keys, back, 1040));
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
    // The click is read; the release of "u" still waits for "u", and the
    // button's release waits for nothing.
    EXPECT_EQ("click@5 up@5", TakeAgain(keys, keys.Due(due), due));
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

TEST(MethodKeys, APressTypedBehindAClickThatWaitsIsTakenAgainOnceTheClickIsRead)
{
    // "s" with the method, a click, then "u" pressed and let go of: "u" is
    // taken again after the click, whether the method answers "s" or the
    // click's time runs out.
    for (const bool answered : {true, false}) {
        SCOPED_TRACE(answered ? "answered" : "never answered");
        MethodKeys keys;
        EXPECT_FALSE(keys.Held(Event(kU, 1))) << "nothing waits: read at once";
        keys.Sent(Event(kS, 2), 1000);
        EXPECT_FALSE(keys.Held(Event(kU, 3))) << "no click waits: read at once";
        EXPECT_TRUE(keys.Released(Event(kU, 4)));
        EXPECT_TRUE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 5), 1010));
        EXPECT_TRUE(keys.Held(Event(kU, 6)));
        EXPECT_TRUE(keys.Released(Event(kU, 7)));
        if (answered) {
            EXPECT_EQ("+39 -30 click@5 ~+30 ~-30", Read(keys.Returned(Event(kS, 2))));
        } else {
            EXPECT_EQ("click@5 ~+30 ~-30", Read(keys.Due(1000 + MethodKeys::kAnswerMs)));
            // The release of the first "u" still waits for "s".
            EXPECT_EQ("+39 -30", Read(keys.Returned(Event(kS, 2))));
        }
    }
}

// The general sheet: "785" typed into the sub ID field, "21" with a stopped
// method, a click into the name field, "S" typed; the click is read once its
// time ran out, and the method answers long after.
TEST(MethodKeys, KeysTheMethodAnswersAfterTheClickWasReadGoToTheControlTheyWereTypedInto)
{
    const xcb_keycode_t k2 = 11, k1 = 10;
    MethodKeys keys;
    keys.Sent(Event(k2, 1), 1000);
    EXPECT_TRUE(keys.Released(Event(k2, 2)));
    keys.Sent(Event(k1, 3), 1010);
    EXPECT_TRUE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 9), 1020));
    EXPECT_TRUE(keys.Released(Event(k1, 4)));
    EXPECT_TRUE(keys.Held(Event(kS, 5)));
    EXPECT_TRUE(keys.Released(Event(kS, 6)));
    // The click is read: "2" and "1", still with the method, were typed into
    // the sub ID field, the focus before it; "S" goes to the method now.
    const std::vector<MethodKeys::Event> due = keys.Due(1010 + MethodKeys::kAnswerMs);
    keys.TypedInto(kSubId);
    EXPECT_EQ("click@9", TakeAgain(keys, due, 2010));
    EXPECT_EQ(kSubId, keys.CommitTarget());
    // The method answers: "2" and "1" go to the sub ID
    // field, "S" to the focus, in the order typed.
    EXPECT_EQ("+11>7 -11>7", Read(keys.Returned(Event(k2, 1))));
    // "1" was let go of after the click: the focus hears that, as it would
    // have had the method answered at once.
    EXPECT_EQ("+10>7 -10", Read(keys.Returned(Event(k1, 3))));
    EXPECT_EQ(nullptr, keys.CommitTarget()) << "the oldest press with the method is \"S\"";
    EXPECT_EQ("+39 -39", Read(keys.Returned(Event(kS, 5))));
    // A control named once keeps it: a later click names the new focus for
    // the keys typed after the first.
    keys.Sent(Event(k2, 7), 3000);
    keys.TypedInto(kSubId);
    keys.Sent(Event(k1, 8), 3010);
    keys.TypedInto(kName);
    EXPECT_EQ("+11>7", Read(keys.Returned(Event(k2, 7))));
    EXPECT_EQ("+10>8", Read(keys.Returned(Event(k1, 8))));
}

// What the method commits comes with no key: it is the text of the presses it
// was given, in their order. Keys of our own, sent where the click came, show
// when the method is past the keys typed before it.
TEST(MethodKeys, TextCommittedBeforeTheMethodIsPastTheClickGoesWhereTheKeysBeforeItWereTyped)
{
    const xcb_keycode_t kReturn = 36, kSilent = 8;
    MethodKeys keys;
    EXPECT_FALSE(keys.Unmarked()) << "nothing with the method";
    // "k", "a", Return composed and kept by the method, then a click.
    keys.Sent(Event(45, 1), 1000);
    keys.Sent(Event(38, 2), 1010);
    keys.Sent(Event(kReturn, 3), 1020);
    EXPECT_TRUE(keys.Unmarked());
    EXPECT_TRUE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 9), 1030));
    keys.Marked(Event(kReturn, XCB_CURRENT_TIME), 1030);
    keys.Marked(Event(kSilent, XCB_CURRENT_TIME), 1030);
    EXPECT_FALSE(keys.Unmarked());
    EXPECT_TRUE(keys.Held(Event(39, 4)));
    EXPECT_EQ(nullptr, keys.CommitTarget()) << "nothing read out of order: the focus";
    // The click's time runs out; "s" goes to the method after our keys.
    const std::vector<MethodKeys::Event> due = keys.Due(1020 + MethodKeys::kAnswerMs);
    keys.TypedInto(kSubId);
    EXPECT_EQ("click@9", TakeAgain(keys, due, 2020));
    EXPECT_TRUE(keys.Unmarked()) << "\"s\" went after our keys";
    // What the method commits now is the sub ID field's text; our Return,
    // handed back, is neither read nor taken for the one typed.
    EXPECT_EQ(kSubId, keys.CommitTarget());
    EXPECT_EQ("", Read(keys.Returned(Event(kReturn, XCB_CURRENT_TIME))));
    EXPECT_EQ(kSubId, keys.CommitTarget());
    // Past our last key: everything before it is answered.
    EXPECT_EQ("", Read(keys.Returned(Event(kSilent, XCB_CURRENT_TIME))));
    EXPECT_EQ(nullptr, keys.CommitTarget());
    EXPECT_TRUE(keys.WithMethod()) << "\"s\"";
}

TEST(MethodKeys, AClickNeedNotWaitItsTimeForPressesTheMethodKeptOnceItIsPastThem)
{
    // "k" kept by the method; a click; our key after "k" comes back: the
    // click is read then, and the "a" typed behind it taken again.
    MethodKeys keys;
    keys.Sent(Event(45, 1), 1000);
    EXPECT_TRUE(keys.Released(Event(45, 2)));
    EXPECT_TRUE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 9), 1010));
    keys.Marked(Event(8, XCB_CURRENT_TIME), 1010);
    EXPECT_TRUE(keys.Held(Event(38, 3)));
    EXPECT_EQ("click@9 ~+38", Read(keys.Returned(Event(8, XCB_CURRENT_TIME))));
    EXPECT_FALSE(keys.WithMethod());
}

TEST(MethodKeys, PressesAMethodDoesNotAnswerForLongAreGivenUpAndTheirLateAnswerIsNotRead)
{
    MethodKeys keys;
    keys.Sent(Event(kShift, 1), 1000);
    EXPECT_EQ("+50", Read(keys.Returned(Event(kShift, 1))));
    keys.Sent(Event(kS, 2, XCB_MOD_MASK_SHIFT), 2000);
    EXPECT_TRUE(keys.Released(Event(kS, 3, XCB_MOD_MASK_SHIFT)));
    EXPECT_TRUE(keys.Released(Event(kShift, 4, XCB_MOD_MASK_SHIFT)));
    keys.TypedInto(kSubId);
    keys.Sent(Event(kU, 5), 2500);
    EXPECT_EQ("", Read(keys.GiveUp(2000 + MethodKeys::kGiveUpMs - 1)));
    // "s" is given up, its release unheard; Shift is let go of where it
    // was typed; "u" is still waited for.
    EXPECT_EQ("-50>7", Read(keys.GiveUp(2000 + MethodKeys::kGiveUpMs)));
    EXPECT_FALSE(keys.Dropped()) << "the method may only be keeping it";
    EXPECT_EQ("", Read(keys.Returned(Event(kS, 2, XCB_MOD_MASK_SHIFT))));
    EXPECT_TRUE(keys.Dropped()) << "the person is told the \"S\" was not taken";
    EXPECT_EQ(nullptr, keys.CommitTarget());
    EXPECT_EQ("+30", Read(keys.Returned(Event(kU, 5))));
    EXPECT_FALSE(keys.WithMethod());
}

// A person who takes longer than the method's time to finish what it
// composes: the keys it kept are given up, and still, what it commits for
// them goes where they were typed, also once a click moved the focus on.
TEST(MethodKeys, TextOfKeysTheMethodKeptPastTheirTimeGoesWhereTheyWereTypedWithoutATelling)
{
    const xcb_keycode_t kReturn = 36, kSilent = 8;
    MethodKeys keys;
    keys.Sent(Event(45, 1), 1000);
    keys.Sent(Event(38, 2), 1010);
    EXPECT_EQ("", Read(keys.GiveUp(1010 + MethodKeys::kGiveUpMs)));
    EXPECT_FALSE(keys.Dropped()) << "nothing the person sees is lost";
    // A click into the sub ID field, read at once: the method is told where.
    EXPECT_FALSE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 9), 12000));
    EXPECT_TRUE(keys.WithMethod());
    EXPECT_TRUE(keys.Unmarked());
    keys.Marked(Event(kReturn, XCB_CURRENT_TIME), 12000);
    keys.Marked(Event(kSilent, XCB_CURRENT_TIME), 12000);
    keys.TypedInto(kName);
    EXPECT_FALSE(keys.Unmarked());
    EXPECT_FALSE(keys.CommitDropped());
    EXPECT_EQ(kName, keys.CommitTarget());
    EXPECT_EQ("", Read(keys.Returned(Event(kSilent, XCB_CURRENT_TIME))));
    EXPECT_EQ(nullptr, keys.CommitTarget());
    EXPECT_FALSE(keys.WithMethod());
}

// The general sheet: すずき composed in the name field, the method stopped,
// "ko" typed, a click into the sub ID field and "X" typed there. The method
// hands back none of our keys in its time: the name's keys are given up for
// good, once, and what it commits for them when it goes on goes nowhere,
// not into the sub ID field; "X" is the sub ID field's.
TEST(MethodKeys, KeysTypedBeforeAClickTheMethodNeverAnsweredAreGivenUpForGoodAndTheirTextGoesNowhere)
{
    const xcb_keycode_t kReturn = 36, kSilent = 8, kK = 45, kO = 32, kX = 53;
    MethodKeys keys;
    keys.Sent(Event(kS, 1), 1000);
    keys.Sent(Event(kU, 2), 1010);
    keys.Sent(Event(kK, 3), 2000);
    keys.Sent(Event(kO, 4), 2010);
    EXPECT_TRUE(keys.Pointer(PointerAt(XCB_BUTTON_PRESS, 9), 2100));
    keys.Marked(Event(kReturn, XCB_CURRENT_TIME), 2100);
    keys.Marked(Event(kSilent, XCB_CURRENT_TIME), 2100);
    EXPECT_TRUE(keys.Held(Event(kX, 5, XCB_MOD_MASK_SHIFT)));
    const std::vector<MethodKeys::Event> due = keys.Due(2010 + MethodKeys::kAnswerMs);
    keys.TypedInto(kName);
    EXPECT_EQ("click@9", TakeAgain(keys, due, 3010));
    // The composed keys' own time runs out: the method may only be keeping them.
    EXPECT_EQ("", Read(keys.GiveUp(1010 + MethodKeys::kGiveUpMs)));
    EXPECT_FALSE(keys.Dropped());
    EXPECT_FALSE(keys.CommitDropped());
    EXPECT_EQ(kName, keys.CommitTarget());
    // Our keys' time runs out: the method has stopped.
    EXPECT_EQ("", Read(keys.GiveUp(2100 + MethodKeys::kGiveUpMs)));
    EXPECT_TRUE(keys.Dropped());
    EXPECT_FALSE(keys.Dropped()) << "told once";
    EXPECT_TRUE(keys.CommitDropped()) << "すずきこ committed for the name's keys goes nowhere";
    EXPECT_EQ("", Read(keys.Returned(Event(kReturn, XCB_CURRENT_TIME))));
    EXPECT_TRUE(keys.CommitDropped());
    EXPECT_EQ("", Read(keys.Returned(Event(kSilent, XCB_CURRENT_TIME))));
    EXPECT_FALSE(keys.CommitDropped());
    EXPECT_EQ(nullptr, keys.CommitTarget()) << "\"X\", typed into the focus";
    EXPECT_EQ("+53", Read(keys.Returned(Event(kX, 5, XCB_MOD_MASK_SHIFT))));
    EXPECT_FALSE(keys.Dropped());
    EXPECT_FALSE(keys.WithMethod());
}
