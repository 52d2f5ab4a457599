// The host's "show" with a pop-up running over the pane, on an X server of
// the test's own and worked through XTEST as a person would: the pane takes
// no click or key under the pop-up, its frame is not closed from under it,
// nothing ends in a signal, and the pop-up names its owner to a window
// manager.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tests/host/display/HostShowFixture.h"
#include "tests/support/PngImage.h"
#include "tests/support/XvfbTest.h"

using displaytest::Process;
using displaytest::WaitFor;
using displaytest::XvfbServer;
using showtest::kHeight;
using showtest::kWidth;

namespace {

// Points of the rhythm record's panes at 1920 x 1080.
const char* const kPhraseButton[] = {"305", "551"};   // 定型文入力 of the comment pane
const char* const kIdField[] = {"224", "25"};         // the ID field of the patient strip
const char* const kWave[] = {"1319", "396"};          // a wave of the comment pane
const char* const kLead[] = {"923", "450"};           // a lead of the wave pane
const char* const kStrip[] = {"250", "27"};           // the wave pane's patient strip
const char* const kCloseButton[] = {"963", "927"};    // 关闭 of the enlarged wave

struct Area {
    int left, top, right, bottom;
};

// The ID field's text, "MV-1003", and the room after it where typing shows.
const Area kIdText = {121, 14, 176, 36};
const Area kAfterIdText = {180, 14, 330, 36};

class HostShowModalTest : public showtest::HostShowFixture {
protected:
    void SetUp() override
    {
        HostSamplesTest::SetUp();
        m_record = SamplePath("rhythm_90.ecg");
        START_XVFB(m_server, kWidth, kHeight);
    }
    // Starts show on the rhythm record's pane and waits for its frame.
    void StartPane(const char* pane)
    {
        ASSERT_TRUE(StartShow(m_server, {m_record, "--pane", pane}));
        ASSERT_TRUE(WaitFor([&] { return m_server.MappedWindows().size() == 1; })) << ShowErrors();
        m_frame = m_server.MappedWindows().front();
    }
    // The pane's frame and a pop-up over it, opened by a click (`times` 2
    // for a double-click) at `at`.
    void StartPaneWithPopup(const char* pane, const char* const at[2], int times)
    {
        StartPane(pane);
        if (HasFatalFailure()) return;
        Click(at, times);
        ASSERT_TRUE(WaitFor([&] { return m_server.MappedWindows().size() == 2; })) << ShowErrors();
    }
    void Click(const char* const at[2], int times = 1)
    {
        ASSERT_TRUE(m_server.Input({"mousemove", at[0], at[1], "click", "--repeat", std::to_string(times),
                                    "--delay", "60", "1"}));
    }
    // Dark pixels of the screen in a rectangle.
    int Inked(const Area& area)
    {
        int inked = 0;
        for (uint32_t rgb : m_server.Grab(area.left, area.top, area.right - area.left, area.bottom - area.top))
            inked += testsupport::PngImage::IsDark(rgb) ? 1 : 0;
        return inked;
    }
    // The frame still shows alone, and the manager's close ends show with zero.
    void CloseFrame()
    {
        EXPECT_TRUE(WaitFor([&] {
            const std::vector<xcb_window_t> windows = m_server.MappedWindows();
            return windows.size() == 1 && windows.front() == m_frame;
        })) << ShowErrors();
        m_server.AskToClose(m_frame);
        EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << "show did not end by itself (a signal?) " << ShowErrors();
    }
    std::string m_record;
    XvfbServer m_server;
    xcb_window_t m_frame = 0;
};

}  // namespace

TEST_F(HostShowModalTest, UnderThePhrasePickerThePaneTakesNoClickKeyOrDoubleClick)
{
    StartPane("CWndRhythmComment");
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitFor([&] { return Inked(kIdText) > 40; })) << "the ID field never showed";
    Click(kPhraseButton);
    ASSERT_TRUE(WaitFor([&] { return m_server.MappedWindows().size() == 2; })) << ShowErrors();
    // The ID field clicked and typed into, a wave double-clicked (which
    // would enlarge it over the picker).
    Click(kIdField);
    ASSERT_TRUE(m_server.Input({"type", "QQQQ"}));
    Click(kWave, 2);
    // Escape ends the picker, the one pop-up there is.
    ASSERT_TRUE(m_server.Input({"key", "Escape"}));
    EXPECT_TRUE(WaitFor([&] { return m_server.MappedWindows().size() == 1; })) << "a second pop-up opened";
    // Four letters would ink the room after the ID; a caret at most a bar.
    EXPECT_LT(Inked(kAfterIdText), 30);
    CloseFrame();
}

TEST_F(HostShowModalTest, AltF4AfterAClickOnTheFrameUnderTheEnlargedWaveClosesThePopupNotTheFrame)
{
    StartPaneWithPopup("CWndRhythmWave", kLead, 2);
    if (HasFatalFailure()) return;
    Click(kStrip);
    ASSERT_TRUE(m_server.Input({"key", "alt+F4"}));
    EXPECT_TRUE(WaitFor([&] { return m_server.MappedWindows().size() == 1; })) << ShowErrors();
    // Where the pop-up's 关闭 was, the pane is now.
    Click(kCloseButton);
    CloseFrame();
}

TEST_F(HostShowModalTest, TheManagersCloseOfTheFrameUnderTheEnlargedWaveIsRefused)
{
    StartPaneWithPopup("CWndRhythmWave", kLead, 2);
    if (HasFatalFailure()) return;
    m_server.AskToClose(m_frame);
    // The pop-up's own button still ends it, over a frame still there.
    Click(kCloseButton);
    CloseFrame();
}

TEST_F(HostShowModalTest, TheManagersCloseOfTheFrameUnderThePhrasePickerIsRefused)
{
    StartPaneWithPopup("CWndRhythmComment", kPhraseButton, 1);
    if (HasFatalFailure()) return;
    m_server.AskToClose(m_frame);
    ASSERT_TRUE(m_server.Input({"key", "Escape"}));
    CloseFrame();
}

TEST_F(HostShowModalTest, TheEnlargedWaveNamesTheFrameAsItsOwnerToTheWindowManager)
{
    StartPaneWithPopup("CWndRhythmWave", kLead, 2);
    if (HasFatalFailure()) return;
    // The server lists its windows from the bottom up: the pop-up is last.
    const xcb_window_t popup = m_server.MappedWindows().back();
    ASSERT_NE(m_frame, popup);
    EXPECT_TRUE(WaitFor([&] { return m_server.TransientFor(popup) == m_frame; }));
    ASSERT_TRUE(m_server.Input({"key", "Escape"}));
    CloseFrame();
}

TEST_F(HostShowModalTest, UnderOpenboxAClickOnThePaneLeavesTheEnlargedWaveAboveIt)
{
    if (access("/usr/bin/openbox", X_OK) != 0) GTEST_SKIP() << "openbox is not installed";
    Process manager;
    ASSERT_TRUE(manager.Start({"/usr/bin/openbox"}, m_server.Display(), "/dev/null", "/dev/null"));
    ASSERT_TRUE(WaitFor([&] { return m_server.Desktops() > 0; })) << "openbox did not start";
    ASSERT_TRUE(StartShow(m_server, {m_record, "--pane", "CWndRhythmWave"}));
    // The manager frames the pane's window and moves it by its decoration.
    std::vector<xcb_window_t> ours;
    ASSERT_TRUE(WaitFor([&] {
        ours = m_server.WindowsOfClass("morvelance");
        return ours.size() == 1 && m_server.TopOf(ours.front()) != ours.front();
    })) << ShowErrors();
    const xcb_window_t frame = ours.front();
    int left = 0;
    int top = 0;
    m_server.ScreenOrigin(frame, left, top);
    auto at = [&](const char* const point[2], int axis) {
        return std::to_string(std::atoi(point[axis]) + (axis == 0 ? left : top));
    };
    ASSERT_TRUE(m_server.Input({"mousemove", at(kLead, 0), at(kLead, 1), "click", "--repeat", "2", "--delay",
                                "60", "1"}));
    ASSERT_TRUE(WaitFor([&] { return (ours = m_server.WindowsOfClass("morvelance")).size() == 2; })) << ShowErrors();
    const xcb_window_t popup = ours.front() == frame ? ours.back() : ours.front();
    int popupLeft = 0;
    int popupTop = 0;
    m_server.ScreenOrigin(popup, popupLeft, popupTop);
    const xcb_window_t popupFrame = m_server.TopOf(popup);
    ASSERT_EQ(popupFrame, m_server.TopAt(popupLeft + 40, popupTop + 40));
    // A click on the pane beside the pop-up, then a request the manager
    // handles after it: once that is done, so is the click.
    const int desktops = m_server.Desktops();
    ASSERT_TRUE(m_server.Input({"mousemove", at(kStrip, 0), at(kStrip, 1), "click", "1"}));
    ASSERT_TRUE(m_server.Input({"set_num_desktops", std::to_string(desktops + 1)}));
    ASSERT_TRUE(WaitFor([&] { return m_server.Desktops() == desktops + 1; }));
    EXPECT_EQ(popupFrame, m_server.TopAt(popupLeft + 40, popupTop + 40)) << "the pane came over the pop-up";
    ASSERT_TRUE(m_server.Input({"key", "Escape"}));
    ASSERT_TRUE(WaitFor([&] { return m_server.WindowsOfClass("morvelance").size() == 1; })) << ShowErrors();
    m_server.AskToClose(frame);
    EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << ShowErrors();
}

// A window manager's shortcut (Alt+F4) holds the keyboard while its keys are
// let go of, so the Alt release goes to the manager, not to show. Here the
// test's own client holds the keyboard while Alt is let go of, as a manager
// does: show must not take Alt for held from then on, or every key becomes a
// system key (Escape no longer ends the pop-up, no field takes text).
TEST_F(HostShowModalTest, AnAltReleaseThatWentToAnotherClientLeavesNoAltHeld)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    xcb_connection_t* c = xcb_connect(server.Display().c_str(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    struct Closer {
        xcb_connection_t* c;
        ~Closer() { xcb_disconnect(c); }
    } closer{c};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto altHeld = [&] {
        xcb_query_pointer_reply_t* pointer = xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr);
        const bool held = pointer && (pointer->mask & XCB_MOD_MASK_1);
        std::free(pointer);
        return held;
    };
    auto focused = [&] {
        xcb_get_input_focus_reply_t* focus = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
        const xcb_window_t window = focus ? focus->focus : 0;
        std::free(focus);
        return window;
    };
    auto inked = [&](int left, int top, int right, int bottom) {
        int count = 0;
        for (uint32_t rgb : server.Grab(left, top, right - left, bottom - top))
            count += testsupport::PngImage::IsDark(rgb) ? 1 : 0;
        return count;
    };
    // The ID field's text "MV-1003" at 121..176, the room after it at 180..330.
    auto idShown = [&] { return inked(121, 14, 176, 36) > 40; };
    auto typedAfterId = [&] { return inked(180, 14, 330, 36); };

    Process show;
    ASSERT_TRUE(show.Start({testsupport::BinaryDir() + "/bin/morvelance-host", "show", SamplePath("rhythm_90.ecg"),
                            "--pane", "CWndRhythmWave"},
                           server.Display(), m_dir.File("alt.out"), m_dir.File("alt.err")));
    auto errors = [&] { return testsupport::ReadFileBytes(m_dir.File("alt.err")); };
    ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; })) << errors();
    const xcb_window_t frame = server.MappedWindows().front();
    ASSERT_TRUE(WaitFor(idShown)) << "the ID field never showed";
    // The enlarged wave, with the keyboard.
    ASSERT_TRUE(server.Input({"mousemove", "923", "450", "click", "--repeat", "2", "--delay", "60", "1"}));
    ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 2; })) << errors();
    const xcb_window_t popup = server.MappedWindows().back();
    ASSERT_TRUE(WaitFor([&] { return focused() == popup; }));

    // Alt pressed into the pop-up, let go of while another client holds the keyboard.
    ASSERT_TRUE(server.Input({"keydown", "alt"}));
    ASSERT_TRUE(WaitFor(altHeld));
    xcb_grab_keyboard_reply_t* grab = xcb_grab_keyboard_reply(
        c, xcb_grab_keyboard(c, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC), nullptr);
    const bool grabbed = grab && grab->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(grab);
    ASSERT_TRUE(grabbed);
    ASSERT_TRUE(server.Input({"keyup", "alt"}));
    ASSERT_TRUE(WaitFor([&] { return !altHeld(); }));
    xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    xcb_flush(c);

    // Escape is heard as Escape: it ends the pop-up.
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; })) << "Escape did not end the pop-up";
    // And a field of the frame takes text (a letter inks some 60 pixels).
    const int before = typedAfterId();
    ASSERT_TRUE(server.Input({"mousemove", "224", "25", "click", "1"}));
    ASSERT_TRUE(server.Input({"key", "End"}));
    ASSERT_TRUE(server.Input({"type", "XXXX"}));
    EXPECT_TRUE(WaitFor([&] { return typedAfterId() > before + 100; })) << "the ID field took no text";

    server.AskToClose(frame);
    EXPECT_EQ(0, show.Wait(displaytest::kPatience)) << "show did not end by itself " << errors();
}
