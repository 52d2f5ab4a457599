// Owned windows on an X server of the test's own: an owned window names its
// owner to the window manager, and an owner held by a modal pop-up is
// neither closed nor left with the focus or on top by another client.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "tests/platform/ui/display/DisplayWindowTest.h"
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

class OwnedWindowOnDisplayTest : public displaytest::DisplayWindowTest {
protected:
    void SetUp() override
    {
        DisplayWindowTest::SetUp();
        if (!Ready()) return;
        RegisterTestClass(kClass, &CountingProc);
        g_closes = 0;
    }
    void TearDown() override
    {
        if (m_owned) DestroyWindow(m_owned);
        if (m_owner) DestroyWindow(m_owner);
        DisplayWindowTest::TearDown();
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
    EXPECT_EQ(owner, m_server.TransientFor(owned));
    EXPECT_EQ(0u, m_server.TransientFor(owner));
}

TEST_F(OwnedWindowOnDisplayTest, AnOwnerHeldByAModalPopupKeepsNeitherTheFocusNorTheTopWhenAnotherClientGivesThem)
{
    OpenBoth();
    if (HasFatalFailure()) return;
    SetActiveWindow(m_owned);
    EnableWindow(m_owner, FALSE);
    const xcb_window_t owner = WindowAt(0, 0);
    const xcb_window_t owned = WindowAt(200, 150);
    ASSERT_TRUE(RunUntil([&] { return m_server.InputFocus() == owned; }));
    // As a manager does on a click: the owner raised and given the focus.
    Input({"windowraise", std::to_string(owner), "windowfocus", std::to_string(owner)});
    EXPECT_TRUE(RunUntil([&] {
        const std::vector<xcb_window_t> windows = m_server.MappedWindows();
        return m_server.InputFocus() == owned && !windows.empty() && windows.back() == owned;
    })) << "focus " << m_server.InputFocus() << ", owned " << owned;
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
