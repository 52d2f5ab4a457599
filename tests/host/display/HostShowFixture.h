// What the tests of the host's "show" on an X server of the test's own
// share: show started on the server with its output and errors in the
// test's folder, waits that end early once show has ended, and its one
// window closed the way a window manager's close button does.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"
#include "tests/support/XvfbTest.h"

namespace showtest {

// The screen the panes are laid out for.
const int kWidth = 1920;
const int kHeight = 1080;

class HostShowFixture : public hosttest::HostSamplesTest {
protected:
    // Starts show with `args` (what follows "show" on its command line).
    bool StartShow(displaytest::XvfbServer& server, const std::vector<std::string>& args)
    {
        std::vector<std::string> command = {testsupport::BinaryDir() + "/bin/morvelance-host", "show"};
        command.insert(command.end(), args.begin(), args.end());
        return m_show.Start(command, server.Display(), m_dir.File("show.out"), m_dir.File("show.err"));
    }
    // Waits for `ready` while show runs: a show that ended has nothing
    // more to show.
    bool WaitWhileShowing(const std::function<bool()>& ready)
    {
        displaytest::WaitFor([&] { return ready() || m_show.Wait(0) != -1; });
        return ready();
    }
    // Waits while show runs until the server maps `count` windows.
    bool WaitForWindows(displaytest::XvfbServer& server, size_t count)
    {
        return WaitWhileShowing([&] { return server.MappedWindows().size() == count; });
    }
    // Closes show's one window as a manager's close button does: show ends
    // with zero within `seconds`.
    void CloseShow(displaytest::XvfbServer& server, double seconds = displaytest::kPatience)
    {
        const std::vector<xcb_window_t> windows = server.MappedWindows();
        ASSERT_EQ(1u, windows.size());
        server.AskToClose(windows.front());
        EXPECT_EQ(0, m_show.Wait(seconds)) << ShowErrors();
    }
    // Writes the pane command's picture of `args` (what follows "pane") to
    // `png`: a picture as wide as the screen.
    void WriteHeadlessPane(const std::vector<std::string>& args, const std::string& png)
    {
        std::vector<std::string> command = {"pane"};
        command.insert(command.end(), args.begin(), args.end());
        command.insert(command.end(), {"--png", png});
        const hosttest::HostRun headless = hosttest::Host(command);
        ASSERT_EQ(0, headless.status) << headless.err;
        const testsupport::PngImage image(png);
        ASSERT_TRUE(image.Ok());
        ASSERT_EQ(kWidth, image.Width());
    }
    std::string ShowErrors() const { return testsupport::ReadFileBytes(m_dir.File("show.err")); }
    std::string ShowOutput() const { return testsupport::ReadFileBytes(m_dir.File("show.out")); }

    displaytest::Process m_show;
};

}  // namespace showtest
