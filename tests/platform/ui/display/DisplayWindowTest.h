// What the window tests on an X server of the test's own share: a server of
// 1024 x 768 with the desktop attached to it, a window class of the test's
// registered for the test, the display run until a state is reached, and
// XTEST input that fails the test when it cannot be given.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/WindowClass.h"
#include "tests/support/XvfbTest.h"

namespace displaytest {

class DisplayWindowTest : public ::testing::Test {
protected:
    // Starts the server and attaches the desktop; a derived SetUp goes on
    // only when neither failed nor skipped.
    void SetUp() override
    {
        START_XVFB(m_server, 1024, 768);
        std::string error;
        ASSERT_TRUE(platform::ui::Desktop::AttachDisplay(m_server.Display().c_str(), &error)) << error;
    }
    bool Ready() const { return !HasFatalFailure() && !IsSkipped(); }
    // The test's window class, unregistered when the test ends.
    void RegisterTestClass(const wchar_t* name, WNDPROC proc, UINT style = 0, HCURSOR cursor = nullptr)
    {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = style;
        wc.lpfnWndProc = proc;
        wc.lpszClassName = name;
        wc.hCursor = cursor;
        RegisterClassExW(&wc);
        m_class = name;
    }
    // After the derived TearDown has destroyed the test's windows.
    void TearDown() override
    {
        platform::ui::Desktop::DetachDisplay();
        if (m_class) UnregisterClassW(m_class, nullptr);
        platform::ui::Desktop::Reset();
    }
    // Runs the display until `ready`, or for at most `seconds` when the run
    // has plainly gone wrong.
    static bool RunUntil(const std::function<bool()>& ready, double seconds = kPatience)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        platform::ui::Desktop::RunDisplay([&] { return ready() || std::chrono::steady_clock::now() > until; });
        return ready();
    }
    void Input(const std::vector<std::string>& args) { ASSERT_TRUE(m_server.Input(args)); }

    XvfbServer m_server;

private:
    const wchar_t* m_class = nullptr;
};

}  // namespace displaytest
