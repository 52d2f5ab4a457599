// What a person sees of the host's "show" on an X server of the test's own,
// worked through XTEST: the caliper dialog lies wholly on the screen (above
// a panel the window manager announces), its keys and buttons work from the
// moment it opens, and the birth-date fields of the comment page stay drawn
// while the focus tabs past them.
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"
#include "tests/support/XvfbTest.h"

using namespace hosttest;
using displaytest::Process;
using displaytest::WaitFor;
using displaytest::XvfbServer;

namespace {

const int kWidth = 1920;
const int kHeight = 1080;

// A connection of the test's own to its server, for what the fixture's does not offer.
class Look {
public:
    explicit Look(const std::string& display) : m_connection(xcb_connect(display.c_str(), nullptr))
    {
        if (!xcb_connection_has_error(m_connection))
            m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~Look() { xcb_disconnect(m_connection); }
    Look(const Look&) = delete;
    Look& operator=(const Look&) = delete;

    bool Ok() const { return m_root != 0; }
    // A window's place and size on the screen.
    bool Geometry(xcb_window_t window, int& x, int& y, int& width, int& height)
    {
        xcb_get_geometry_reply_t* geometry =
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
        if (!geometry) return false;
        x = geometry->x;
        y = geometry->y;
        width = geometry->width;
        height = geometry->height;
        std::free(geometry);
        return true;
    }
    // What a window manager with a panel announces: the part of the desktop left to windows.
    void AnnounceWorkArea(uint32_t x, uint32_t y, uint32_t width, uint32_t height)
    {
        const uint32_t area[4] = {x, y, width, height};
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, Atom("_NET_WORKAREA"), XCB_ATOM_CARDINAL, 32,
                            4, area);
        xcb_flush(m_connection);
    }

private:
    xcb_atom_t Atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : 0;
        std::free(reply);
        return atom;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
};

class HostShowFitTest : public HostSamplesTest {
protected:
    bool StartShow(XvfbServer& server, const std::string& record, const std::vector<std::string>& pane)
    {
        std::vector<std::string> args = {testsupport::BinaryDir() + "/bin/morvelance-host", "show", SamplePath(record)};
        args.insert(args.end(), pane.begin(), pane.end());
        return m_show.Start(args, server.Display(), m_dir.File("show.out"), m_dir.File("show.err"));
    }
    // The resting record's wave page with the one-lead strip, whose
    // double-click opens the caliper dialog.
    void StartStripPage(XvfbServer& server)
    {
        ASSERT_TRUE(StartShow(server, "rest12_90.ecg", {"--pane", "CWndRestRhythmWave", "--style", "13"}));
        ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; })) << ShowErrors();
    }
    // Double-clicks the strip and waits for the dialog: the window mapped last.
    xcb_window_t OpenCaliperDialog(XvfbServer& server)
    {
        EXPECT_TRUE(server.Input({"mousemove", "900", "940", "click", "--repeat", "2", "--delay", "60", "1"}));
        if (!WaitFor([&] { return server.MappedWindows().size() == 2; })) return 0;
        return server.MappedWindows().back();
    }
    void CloseShow(XvfbServer& server)
    {
        const std::vector<xcb_window_t> windows = server.MappedWindows();
        ASSERT_EQ(1u, windows.size());
        server.AskToClose(windows.front());
        EXPECT_EQ(0, m_show.Wait(10)) << ShowErrors();
    }
    // The screen's pixels in the rectangle that differ from the PNG's same pixels.
    static int Differences(XvfbServer& server, const testsupport::PngImage& png, int left, int top, int width,
                           int height)
    {
        const std::vector<uint32_t> screen = server.Grab(left, top, width, height);
        if (screen.size() != static_cast<size_t>(width) * height) return -1;
        int differ = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                differ += screen[static_cast<size_t>(y) * width + x] != png.Pixel(left + x, top + y) ? 1 : 0;
        return differ;
    }
    std::string ShowErrors() const { return testsupport::ReadFileBytes(m_dir.File("show.err")); }

    Process m_show;
};

}  // namespace

TEST_F(HostShowFitTest, TheCaliperDialogLiesOnTheScreenAndItsKeysAndCloseButtonWorkFromTheStart)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    Look look(server.Display());
    ASSERT_TRUE(look.Ok());
    StartStripPage(server);
    if (HasFatalFailure()) return;

    const xcb_window_t dialog = OpenCaliperDialog(server);
    ASSERT_NE(0u, dialog) << ShowErrors();
    int x = 0, y = 0, width = 0, height = 0;
    ASSERT_TRUE(look.Geometry(dialog, x, y, width, height));
    EXPECT_EQ(0, x);
    EXPECT_EQ(kWidth, width);
    EXPECT_GE(y, 0);
    EXPECT_EQ(kHeight, y + height);
    // Return at once: the update asks who edits (a third window); Escape
    // answers that, and Escape again closes the dialog.
    ASSERT_TRUE(server.Input({"key", "Return"}));
    EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 3; })) << ShowErrors();
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 2; }));
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; }));

    // Opened again, its close button takes a click: the button stands 860 to
    // 1010 units across a design screen of 1024 x 768 units, its foot ten
    // units above the dialog's.
    ASSERT_NE(0u, OpenCaliperDialog(server)) << ShowErrors();
    const int buttonX = kWidth * 935 / 1024;
    const int buttonY = kHeight - kHeight * 25 / 768 - 3;
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(buttonX), std::to_string(buttonY), "click", "1"}));
    EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; })) << "the close button at " << buttonX
                                                                            << "," << buttonY << " took no click";
    CloseShow(server);
}

TEST_F(HostShowFitTest, TheCaliperDialogStandsAboveThePanelTheWindowManagerAnnounces)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    Look look(server.Display());
    ASSERT_TRUE(look.Ok());
    // A panel 40 pixels high along the screen's foot.
    look.AnnounceWorkArea(0, 0, kWidth, kHeight - 40);
    StartStripPage(server);
    if (HasFatalFailure()) return;
    const xcb_window_t dialog = OpenCaliperDialog(server);
    ASSERT_NE(0u, dialog) << ShowErrors();
    int x = 0, y = 0, width = 0, height = 0;
    ASSERT_TRUE(look.Geometry(dialog, x, y, width, height));
    EXPECT_GE(y, 0);
    EXPECT_EQ(kHeight - 40, y + height);
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; }));
    CloseShow(server);
}

TEST_F(HostShowFitTest, TheBirthDateFieldsStayDrawnWhileTheFocusTabsPastThem)
{
    const std::string png = m_dir.File("comment.png");
    const HostRun headless = Host({"pane", SamplePath("rhythm_90.ecg"), "--pane", "CWndRhythmComment", "--png", png});
    ASSERT_EQ(0, headless.status) << headless.err;
    const testsupport::PngImage image(png);
    ASSERT_TRUE(image.Ok());
    ASSERT_EQ(kWidth, image.Width());

    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    ASSERT_TRUE(StartShow(server, "rhythm_90.ecg", {"--pane", "CWndRhythmComment"}));
    // The year, its "/", the month, its "/" and the day, in a row at the form's top.
    const int left = 150, top = 120, width = 300, height = 40;
    int differ = -1;
    ASSERT_TRUE(WaitFor([&] { return (differ = Differences(server, image, left, top, width, height)) == 0; }))
        << differ << " pixels differ" << ShowErrors();
    // Into the year, then three times on: the month, the day, and on past them.
    ASSERT_TRUE(server.Input({"mousemove", "220", "137", "click", "1"}));
    ASSERT_TRUE(WaitFor([&] { return Differences(server, image, left, top, width, height) > 0; }))
        << "the year shows no focus";
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(server.Input({"key", "Tab"}));
    EXPECT_TRUE(WaitFor([&] { return (differ = Differences(server, image, left, top, width, height)) == 0; }, 5))
        << differ << " pixels of the birth date differ from the unfocused page";
    CloseShow(server);
}
