// The window system's hooks: what it calls of whatever framework sits on
// it, and what it does with none installed. Each test installs its own
// hooks over the framework's and puts the framework's back afterwards.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowSystemHooks.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::Desktop;
using platform::ui::WindowSystemHooks;

namespace {

const wchar_t kHookClass[] = L"MorvelanceHookTest";
const UINT kPing = WM_USER + 17;

std::vector<UINT> g_heard;          // messages the test window heard, in order
std::vector<UINT> g_heardAtCreation;  // what it had heard when the creation hook ran
std::vector<HWND> g_created;
std::vector<UINT> g_pumped;         // what the test's pump took from the queue
std::vector<HWND> g_freed;
bool g_freedAfterNcDestroy = false;
int g_idleRuns = 0;

LRESULT HookTestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_heard.push_back(message);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct HookClass {
    HookClass()
    {
        WNDCLASSW wc = {0, &HookTestProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, kHookClass};
        RegisterClassW(&wc);
    }
} s_hookClass;

class WindowSystemHooksTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        g_heard.clear();
        g_heardAtCreation.clear();
        g_created.clear();
        g_pumped.clear();
        g_freed.clear();
        g_freedAfterNcDestroy = false;
        g_idleRuns = 0;
    }
    void TearDown() override
    {
        if (m_installed) platform::ui::SetWindowSystemHooks(m_framework);
        WindowLeakCheck::TearDown();
    }
    void Install(const WindowSystemHooks& hooks)
    {
        m_framework = platform::ui::SetWindowSystemHooks(hooks);
        m_installed = true;
    }
    static HWND MakeWindow()
    {
        return CreateWindowExW(0, kHookClass, L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    }

private:
    WindowSystemHooks m_framework;
    bool m_installed = false;
};

}  // namespace

TEST_F(WindowSystemHooksTest, CreationHookSeesTheWindowBeforeItsFirstMessage)
{
    WindowSystemHooks hooks;
    hooks.windowCreated = [](HWND hwnd) {
        g_created.push_back(hwnd);
        g_heardAtCreation = g_heard;
    };
    Install(hooks);
    HWND hwnd = MakeWindow();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(std::vector<HWND>{hwnd}, g_created);
    EXPECT_TRUE(g_heardAtCreation.empty());
    EXPECT_FALSE(g_heard.empty());   // WM_NCCREATE and the rest came after it
    DestroyWindow(hwnd);
}

TEST_F(WindowSystemHooksTest, FreedHookHearsOfTheWindowAfterItsLastMessage)
{
    WindowSystemHooks hooks;
    hooks.windowFreed = [](HWND hwnd) {
        g_freed.push_back(hwnd);
        g_freedAfterNcDestroy = !g_heard.empty() && g_heard.back() == WM_NCDESTROY;
    };
    Install(hooks);
    HWND hwnd = MakeWindow();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_TRUE(g_freed.empty());
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(std::vector<HWND>{hwnd}, g_freed);
    EXPECT_TRUE(g_freedAfterNcDestroy);
}

TEST_F(WindowSystemHooksTest, DesktopIdleRunsTheInstalledCleanup)
{
    WindowSystemHooks hooks;
    hooks.idle = [] { ++g_idleRuns; };
    Install(hooks);
    Desktop::Idle();
    Desktop::Idle();
    EXPECT_EQ(2, g_idleRuns);
}

TEST_F(WindowSystemHooksTest, WithoutAPumpHookWaitingMessagesAreStillDispatched)
{
    Install(WindowSystemHooks());
    HWND hwnd = MakeWindow();
    ASSERT_NE(nullptr, hwnd);
    g_heard.clear();
    PostMessageW(hwnd, kPing, 0, 0);
    PostMessageW(hwnd, kPing, 1, 0);
    EXPECT_EQ(2, Desktop::PumpMessages());
    EXPECT_EQ((std::vector<UINT>{kPing, kPing}), g_heard);
    DestroyWindow(hwnd);
}

TEST_F(WindowSystemHooksTest, DesktopPumpsThroughTheInstalledPumpUntilItSeesQuit)
{
    WindowSystemHooks hooks;
    hooks.pumpMessage = [] {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return TRUE;
        g_pumped.push_back(msg.message);
        return msg.message == WM_QUIT ? FALSE : TRUE;
    };
    Install(hooks);
    HWND hwnd = MakeWindow();
    ASSERT_NE(nullptr, hwnd);
    g_heard.clear();
    PostMessageW(hwnd, kPing, 0, 0);
    PostQuitMessage(3);
    EXPECT_EQ(1, Desktop::PumpMessages());
    EXPECT_EQ((std::vector<UINT>{kPing, WM_QUIT}), g_pumped);
    EXPECT_TRUE(g_heard.empty());   // the pump took the message and dispatched nothing
    DestroyWindow(hwnd);
    platform::ui::ResetMessageQueue();
}
