// What a person sees of the host's "show" on an X server of the test's own,
// worked through XTEST: the caliper dialog lies wholly on the screen (above
// a panel the window manager announces), its keys and buttons work from the
// moment it opens, and the birth-date fields of the comment page stay drawn
// while the focus tabs past them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/host/display/HostShowFixture.h"
#include "tests/support/PngImage.h"
#include "tests/support/XvfbTest.h"

using namespace hosttest;
using displaytest::WaitFor;
using displaytest::XvfbServer;
using showtest::kHeight;
using showtest::kWidth;

namespace {

// A window's place and size on the screen.
struct Place {
    int x = 0, y = 0, width = 0, height = 0;
};

class HostShowFitTest : public showtest::HostShowFixture {
protected:
    // The resting record's wave page with the one-lead strip, whose
    // double-click opens the caliper dialog.
    void StartStripPage(XvfbServer& server)
    {
        ASSERT_TRUE(StartShow(server, {SamplePath("rest12_90.ecg"), "--pane", "CWndRestRhythmWave", "--style", "13"}));
        ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
    }
    // Double-clicks the strip and waits for the dialog: the window mapped last.
    xcb_window_t OpenCaliperDialog(XvfbServer& server)
    {
        EXPECT_TRUE(server.Input({"mousemove", "900", "940", "click", "--repeat", "2", "--delay", "60", "1"}));
        if (!WaitFor([&] { return server.MappedWindows().size() == 2; })) return 0;
        return server.MappedWindows().back();
    }
    // The strip page with the caliper dialog open over it, and where the dialog lies.
    void OpenCaliperDialogOnStripPage(XvfbServer& server, Place& dialog)
    {
        StartStripPage(server);
        if (HasFatalFailure()) return;
        const xcb_window_t window = OpenCaliperDialog(server);
        ASSERT_NE(0u, window) << ShowErrors();
        ASSERT_TRUE(server.Geometry(window, dialog.x, dialog.y, dialog.width, dialog.height));
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
};

}  // namespace

TEST_F(HostShowFitTest, TheCaliperDialogLiesOnTheScreenAndItsKeysAndCloseButtonWorkFromTheStart)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    Place dialog;
    OpenCaliperDialogOnStripPage(server, dialog);
    if (HasFatalFailure()) return;
    EXPECT_EQ(0, dialog.x);
    EXPECT_EQ(kWidth, dialog.width);
    EXPECT_GE(dialog.y, 0);
    EXPECT_EQ(kHeight, dialog.y + dialog.height);
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
    // A panel 40 pixels high along the screen's foot.
    server.AnnounceWorkArea(0, 0, kWidth, kHeight - 40);
    Place dialog;
    OpenCaliperDialogOnStripPage(server, dialog);
    if (HasFatalFailure()) return;
    EXPECT_GE(dialog.y, 0);
    EXPECT_EQ(kHeight - 40, dialog.y + dialog.height);
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; }));
    CloseShow(server);
}

TEST_F(HostShowFitTest, TheBirthDateFieldsStayDrawnWhileTheFocusTabsPastThem)
{
    const std::string png = m_dir.File("comment.png");
    WriteHeadlessPane({SamplePath("rhythm_90.ecg"), "--pane", "CWndRhythmComment"}, png);
    if (HasFatalFailure()) return;
    const testsupport::PngImage image(png);

    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    ASSERT_TRUE(StartShow(server, {SamplePath("rhythm_90.ecg"), "--pane", "CWndRhythmComment"}));
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
    EXPECT_TRUE(WaitFor([&] { return (differ = Differences(server, image, left, top, width, height)) == 0; }))
        << differ << " pixels of the birth date differ from the unfocused page";
    CloseShow(server);
}
