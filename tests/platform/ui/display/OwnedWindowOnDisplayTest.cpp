// Owned windows on an X server of the test's own: an owned window names its
// owner to the window manager, and an owner held by a modal pop-up is
// neither closed nor left with the focus or on top by another client.
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "tests/support/XvfbTest.h"

using displaytest::XvfbServer;
using platform::ui::Desktop;

namespace {

int g_closes = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        ++g_closes;
        return 0;   // kept open: the test closes it
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t kClass[] = L"OwnedDisplayTestWindow";

class OwnedWindowOnDisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        START_XVFB(m_server, 1024, 768);
        std::string error;
        ASSERT_TRUE(Desktop::AttachDisplay(m_server.Display().c_str(), &error)) << error;
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &CountingProc;
        wc.lpszClassName = kClass;
        RegisterClassExW(&wc);
        g_closes = 0;
        m_connection = xcb_connect(m_server.Display().c_str(), nullptr);
    }
    void TearDown() override
    {
        if (m_owned) DestroyWindow(m_owned);
        if (m_owner) DestroyWindow(m_owner);
        if (m_connection) xcb_disconnect(m_connection);
        Desktop::DetachDisplay();
        UnregisterClassW(kClass, nullptr);
        Desktop::Reset();
    }
    // An owner at 0, 0 and a captioned pop-up it owns at 200, 150, both
    // made before the display shows either.
    void OpenBoth()
    {
        m_owner = CreateWindowExW(0, kClass, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr,
                                  nullptr, nullptr);
        m_owned = CreateWindowExW(0, kClass, L"owned", WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 150, 200, 120, m_owner,
                                  nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_owned);
        ASSERT_TRUE(RunUntil([&] { return m_server.MappedWindows().size() == 2; }));
    }
    static bool RunUntil(const std::function<bool()>& ready)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        Desktop::RunDisplay([&] { return ready() || std::chrono::steady_clock::now() > until; });
        return ready();
    }
    // The mapped X window whose top left is at x, y; 0 when none is.
    xcb_window_t WindowAt(int x, int y)
    {
        for (xcb_window_t window : m_server.MappedWindows()) {
            int left = 0;
            int top = 0;
            if (m_server.Origin(window, left, top) && left == x && top == y) return window;
        }
        return 0;
    }
    xcb_window_t TransientFor(xcb_window_t window)
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1), nullptr);
        xcb_window_t owner = 0;
        if (reply && xcb_get_property_value_length(reply) == 4)
            owner = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return owner;
    }
    xcb_window_t InputFocus()
    {
        xcb_get_input_focus_reply_t* reply =
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr);
        const xcb_window_t focus = reply ? reply->focus : 0;
        std::free(reply);
        return focus;
    }
    void Input(const std::vector<std::string>& args) { ASSERT_TRUE(m_server.Input(args)); }

    XvfbServer m_server;
    xcb_connection_t* m_connection = nullptr;
    HWND m_owner = nullptr;
    HWND m_owned = nullptr;
};

}  // namespace

TEST_F(OwnedWindowOnDisplayTest, AnOwnedWindowShownWithItsOwnerNamesItToTheManager)
{
    OpenBoth();
    if (HasFatalFailure()) return;
    const xcb_window_t owner = WindowAt(0, 0);
    const xcb_window_t owned = WindowAt(200, 150);
    ASSERT_NE(0u, owner);
    ASSERT_NE(0u, owned);
    EXPECT_EQ(owner, TransientFor(owned));
    EXPECT_EQ(0u, TransientFor(owner));
}

TEST_F(OwnedWindowOnDisplayTest, AnOwnerHeldByAModalPopupKeepsNeitherTheFocusNorTheTopWhenAnotherClientGivesThem)
{
    OpenBoth();
    if (HasFatalFailure()) return;
    SetActiveWindow(m_owned);
    EnableWindow(m_owner, FALSE);
    const xcb_window_t owner = WindowAt(0, 0);
    const xcb_window_t owned = WindowAt(200, 150);
    ASSERT_TRUE(RunUntil([&] { return InputFocus() == owned; }));
    // As a manager does on a click: the owner raised and given the focus.
    Input({"windowraise", std::to_string(owner), "windowfocus", std::to_string(owner)});
    EXPECT_TRUE(RunUntil([&] {
        const std::vector<xcb_window_t> windows = m_server.MappedWindows();
        return InputFocus() == owned && !windows.empty() && windows.back() == owned;
    })) << "focus " << InputFocus() << ", owned " << owned;
    EXPECT_EQ(m_owned, GetActiveWindow());
    EnableWindow(m_owner, TRUE);
}

TEST_F(OwnedWindowOnDisplayTest, AnOwnerHeldByAModalPopupIsNotClosedWhenAnotherClientDestroysItsXWindow)
{
    OpenBoth();
    if (HasFatalFailure()) return;
    EnableWindow(m_owner, FALSE);
    const xcb_window_t owner = WindowAt(0, 0);
    Input({"windowclose", std::to_string(owner)});
    // It is shown again, in an X window of its own, unasked to close.
    EXPECT_TRUE(RunUntil([&] {
        const xcb_window_t again = WindowAt(0, 0);
        return again != 0 && again != owner;
    }));
    EXPECT_EQ(0, g_closes);
    EnableWindow(m_owner, TRUE);
}
