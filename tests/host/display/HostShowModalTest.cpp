// The host's "show" with a pop-up running over the pane, on an X server of
// the test's own and worked through XTEST as a person would: the pane takes
// no click or key under the pop-up, its frame is not closed from under it,
// nothing ends in a signal, and the pop-up names its owner to a window
// manager.
#include <gtest/gtest.h>

#include <xcb/xcb.h>

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
