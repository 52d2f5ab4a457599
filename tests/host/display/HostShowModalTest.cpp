// The host's "show" with a pop-up running over the pane, on an X server of
// the test's own and worked through XTEST as a person would: the pane takes
// no click or key under the pop-up, its frame is not closed from under it,
// nothing ends in a signal, and the pop-up names its owner to a window
// manager.
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"
#include "tests/support/XvfbTest.h"

using displaytest::Process;
using displaytest::WaitFor;
using displaytest::XvfbServer;

namespace {

const int kWidth = 1920;
const int kHeight = 1080;

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

class HostShowModalTest : public hosttest::HostSamplesTest {
protected:
    void SetUp() override
    {
        HostSamplesTest::SetUp();
        m_record = SamplePath("rhythm_90.ecg");
    }
    void TearDown() override
    {
        if (m_connection) xcb_disconnect(m_connection);
    }
    // Starts show on the rhythm record's pane and waits for its frame.
    void StartShow(XvfbServer& server, const char* pane)
    {
        ASSERT_TRUE(m_show.Start({testsupport::BinaryDir() + "/bin/morvelance-host", "show", m_record, "--pane", pane},
                                 server.Display(), m_dir.File("show.out"), m_dir.File("show.err")));
        ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; })) << ShowErrors();
        m_frame = server.MappedWindows().front();
    }
    void Click(XvfbServer& server, const char* const at[2], int times = 1)
    {
        ASSERT_TRUE(server.Input({"mousemove", at[0], at[1], "click", "--repeat", std::to_string(times), "--delay",
                                  "60", "1"}));
    }
    // Dark pixels of the screen in a rectangle.
    static int Inked(XvfbServer& server, const Area& area)
    {
        int inked = 0;
        for (uint32_t rgb : server.Grab(area.left, area.top, area.right - area.left, area.bottom - area.top))
            inked += testsupport::PngImage::IsDark(rgb) ? 1 : 0;
        return inked;
    }
    // The window a window names as its owner to the manager; 0 for none.
    xcb_window_t TransientFor(XvfbServer& server, xcb_window_t window)
    {
        if (!m_connection) m_connection = xcb_connect(server.Display().c_str(), nullptr);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1), nullptr);
        xcb_window_t owner = 0;
        if (reply && xcb_get_property_value_length(reply) == 4)
            owner = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return owner;
    }
    // The frame still shows alone, and the manager's close ends show with zero.
    void CloseFrame(XvfbServer& server)
    {
        EXPECT_TRUE(WaitFor([&] {
            const std::vector<xcb_window_t> windows = server.MappedWindows();
            return windows.size() == 1 && windows.front() == m_frame;
        })) << ShowErrors();
        server.AskToClose(m_frame);
        EXPECT_EQ(0, m_show.Wait(10)) << "show did not end by itself (a signal?) " << ShowErrors();
    }
    std::string ShowErrors() const { return testsupport::ReadFileBytes(m_dir.File("show.err")); }

    // Queries of the test's own connection to its server.
    xcb_connection_t* Connection(XvfbServer& server)
    {
        if (!m_connection) m_connection = xcb_connect(server.Display().c_str(), nullptr);
        return m_connection;
    }
    xcb_window_t Root(XvfbServer& server)
    {
        return xcb_setup_roots_iterator(xcb_get_setup(Connection(server))).data->root;
    }
    // The child of the root that holds `window` (a manager's frame around it).
    xcb_window_t TopOf(XvfbServer& server, xcb_window_t window)
    {
        const xcb_window_t root = Root(server);
        for (int depth = 0; window && depth < 16; ++depth) {
            xcb_query_tree_reply_t* tree =
                xcb_query_tree_reply(Connection(server), xcb_query_tree(Connection(server), window), nullptr);
            const xcb_window_t parent = tree ? tree->parent : 0;
            std::free(tree);
            if (parent == root) return window;
            window = parent;
        }
        return 0;
    }
    // Viewable windows of the class "morvelance" anywhere under the root.
    std::vector<xcb_window_t> OurWindows(XvfbServer& server, xcb_window_t under = 0)
    {
        xcb_connection_t* c = Connection(server);
        if (!under) under = Root(server);
        std::vector<xcb_window_t> found;
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, under), nullptr);
        if (!tree) return found;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            xcb_get_window_attributes_reply_t* attributes =
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr);
            const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attributes);
            if (!viewable) continue;
            xcb_get_property_reply_t* wmClass = xcb_get_property_reply(
                c, xcb_get_property(c, 0, children[i], XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 16), nullptr);
            const bool ours = wmClass && xcb_get_property_value_length(wmClass) >= 10 &&
                              std::string(static_cast<const char*>(xcb_get_property_value(wmClass)), 10) == "morvelance";
            std::free(wmClass);
            if (ours) {
                found.push_back(children[i]);
                continue;
            }
            const std::vector<xcb_window_t> deeper = OurWindows(server, children[i]);
            found.insert(found.end(), deeper.begin(), deeper.end());
        }
        std::free(tree);
        return found;
    }
    // Where a window's top left is on the screen.
    void ScreenOrigin(XvfbServer& server, xcb_window_t window, int& x, int& y)
    {
        xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(
            Connection(server), xcb_translate_coordinates(Connection(server), window, Root(server), 0, 0), nullptr);
        x = at ? at->dst_x : 0;
        y = at ? at->dst_y : 0;
        std::free(at);
    }
    // How many desktops the manager keeps (_NET_NUMBER_OF_DESKTOPS); 0 before it says.
    int Desktops(XvfbServer& server)
    {
        xcb_connection_t* c = Connection(server);
        const char name[] = "_NET_NUMBER_OF_DESKTOPS";
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof(name) - 1, name), nullptr);
        int count = 0;
        if (atom) {
            xcb_get_property_reply_t* reply = xcb_get_property_reply(
                c, xcb_get_property(c, 0, Root(server), atom->atom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
            if (reply && xcb_get_property_value_length(reply) == 4)
                count = static_cast<int>(*static_cast<const uint32_t*>(xcb_get_property_value(reply)));
            std::free(reply);
        }
        std::free(atom);
        return count;
    }
    // The child of the root under a point of the screen.
    xcb_window_t TopAt(XvfbServer& server, int x, int y)
    {
        if (!server.Input({"mousemove", std::to_string(x), std::to_string(y)})) return 0;
        xcb_query_pointer_reply_t* pointer =
            xcb_query_pointer_reply(Connection(server), xcb_query_pointer(Connection(server), Root(server)), nullptr);
        const xcb_window_t child = pointer ? pointer->child : 0;
        std::free(pointer);
        return child;
    }

    std::string m_record;
    Process m_show;
    xcb_window_t m_frame = 0;
    xcb_connection_t* m_connection = nullptr;
};

}  // namespace

TEST_F(HostShowModalTest, UnderThePhrasePickerThePaneTakesNoClickKeyOrDoubleClick)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    StartShow(server, "CWndRhythmComment");
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitFor([&] { return Inked(server, kIdText) > 40; })) << "the ID field never showed";
    Click(server, kPhraseButton);
    ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 2; })) << ShowErrors();
    // The ID field clicked and typed into, a wave double-clicked (which
    // would enlarge it over the picker).
    Click(server, kIdField);
    ASSERT_TRUE(server.Input({"type", "QQQQ"}));
    Click(server, kWave, 2);
    // Escape ends the picker, the one pop-up there is.
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; })) << "a second pop-up opened";
    // Four letters would ink the room after the ID; a caret at most a bar.
    EXPECT_LT(Inked(server, kAfterIdText), 30);
    CloseFrame(server);
}

TEST_F(HostShowModalTest, AltF4AfterAClickOnTheFrameUnderTheEnlargedWaveClosesThePopupNotTheFrame)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    StartShow(server, "CWndRhythmWave");
    if (HasFatalFailure()) return;
    Click(server, kLead, 2);
    ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 2; })) << ShowErrors();
    Click(server, kStrip);
    ASSERT_TRUE(server.Input({"key", "alt+F4"}));
    EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; })) << ShowErrors();
    // Where the pop-up's 关闭 was, the pane is now.
    Click(server, kCloseButton);
    CloseFrame(server);
}

TEST_F(HostShowModalTest, TheManagersCloseOfTheFrameUnderTheEnlargedWaveIsRefused)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    StartShow(server, "CWndRhythmWave");
    if (HasFatalFailure()) return;
    Click(server, kLead, 2);
    ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 2; })) << ShowErrors();
    server.AskToClose(m_frame);
    // The pop-up's own button still ends it, over a frame still there.
    Click(server, kCloseButton);
    CloseFrame(server);
}

TEST_F(HostShowModalTest, TheManagersCloseOfTheFrameUnderThePhrasePickerIsRefused)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    StartShow(server, "CWndRhythmComment");
    if (HasFatalFailure()) return;
    Click(server, kPhraseButton);
    ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 2; })) << ShowErrors();
    server.AskToClose(m_frame);
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    CloseFrame(server);
}

TEST_F(HostShowModalTest, TheEnlargedWaveNamesTheFrameAsItsOwnerToTheWindowManager)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    StartShow(server, "CWndRhythmWave");
    if (HasFatalFailure()) return;
    Click(server, kLead, 2);
    ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 2; })) << ShowErrors();
    // The server lists its windows from the bottom up: the pop-up is last.
    const xcb_window_t popup = server.MappedWindows().back();
    ASSERT_NE(m_frame, popup);
    EXPECT_TRUE(WaitFor([&] { return TransientFor(server, popup) == m_frame; }));
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    CloseFrame(server);
}

TEST_F(HostShowModalTest, UnderOpenboxAClickOnThePaneLeavesTheEnlargedWaveAboveIt)
{
    if (access("/usr/bin/openbox", X_OK) != 0) GTEST_SKIP() << "openbox is not installed";
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    Process manager;
    ASSERT_TRUE(manager.Start({"/usr/bin/openbox"}, server.Display(), "/dev/null", "/dev/null"));
    ASSERT_TRUE(WaitFor([&] { return Desktops(server) > 0; })) << "openbox did not start";
    ASSERT_TRUE(m_show.Start({testsupport::BinaryDir() + "/bin/morvelance-host", "show", m_record, "--pane",
                              "CWndRhythmWave"},
                             server.Display(), m_dir.File("show.out"), m_dir.File("show.err")));
    // The manager frames the pane's window and moves it by its decoration.
    std::vector<xcb_window_t> ours;
    ASSERT_TRUE(WaitFor([&] {
        ours = OurWindows(server);
        return ours.size() == 1 && TopOf(server, ours.front()) != ours.front();
    })) << ShowErrors();
    const xcb_window_t frame = ours.front();
    int left = 0;
    int top = 0;
    ScreenOrigin(server, frame, left, top);
    auto at = [&](const char* const point[2], int axis) {
        return std::to_string(std::atoi(point[axis]) + (axis == 0 ? left : top));
    };
    ASSERT_TRUE(server.Input({"mousemove", at(kLead, 0), at(kLead, 1), "click", "--repeat", "2", "--delay", "60",
                              "1"}));
    ASSERT_TRUE(WaitFor([&] { return (ours = OurWindows(server)).size() == 2; })) << ShowErrors();
    const xcb_window_t popup = ours.front() == frame ? ours.back() : ours.front();
    int popupLeft = 0;
    int popupTop = 0;
    ScreenOrigin(server, popup, popupLeft, popupTop);
    const xcb_window_t popupFrame = TopOf(server, popup);
    ASSERT_EQ(popupFrame, TopAt(server, popupLeft + 40, popupTop + 40));
    // A click on the pane beside the pop-up, then a request the manager
    // handles after it: once that is done, so is the click.
    const int desktops = Desktops(server);
    ASSERT_TRUE(server.Input({"mousemove", at(kStrip, 0), at(kStrip, 1), "click", "1"}));
    ASSERT_TRUE(server.Input({"set_num_desktops", std::to_string(desktops + 1)}));
    ASSERT_TRUE(WaitFor([&] { return Desktops(server) == desktops + 1; }));
    EXPECT_EQ(popupFrame, TopAt(server, popupLeft + 40, popupTop + 40)) << "the pane came over the pop-up";
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    ASSERT_TRUE(WaitFor([&] { return OurWindows(server).size() == 1; })) << ShowErrors();
    server.AskToClose(frame);
    EXPECT_EQ(0, m_show.Wait(10)) << ShowErrors();
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
    EXPECT_EQ(0, show.Wait(10)) << "show did not end by itself " << errors();
}
