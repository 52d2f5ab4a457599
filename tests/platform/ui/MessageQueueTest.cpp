// The message queue: the order PeekMessage takes messages in, filters, the
// quit state, translation of keys to characters, and timers on the
// desktop's clock.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::Desktop;

namespace {

class MessageQueueTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        m_hwnd = uitest::CreateLogged(m_log, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
        ASSERT_NE(nullptr, m_hwnd);
        Drain();
        m_log.Clear();
    }
    void TearDown() override
    {
        if (IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
        platform::ui::ResetMessageQueue();
        WindowLeakCheck::TearDown();
    }
    // Everything queued, painted and due, dispatched.
    void Drain() { Desktop::PumpMessages(); }

    uitest::MessageLog m_log;
    HWND m_hwnd = nullptr;
};

std::vector<DWORD> g_timerTimes;
std::vector<UINT_PTR> g_timerIds;

void RecordTimer(HWND, UINT, UINT_PTR id, DWORD time)
{
    g_timerIds.push_back(id);
    g_timerTimes.push_back(time);
}

}  // namespace

TEST_F(MessageQueueTest, PostedBeforeInputBeforeQuitBeforePaintBeforeTimers)
{
    SetTimer(m_hwnd, 5, 10, nullptr);
    Desktop::AdvanceClock(0);   // nothing is due yet
    InvalidateRect(m_hwnd, nullptr, TRUE);
    PostQuitMessage(3);
    platform::ui::detail::PostInput(MSG{m_hwnd, WM_KEYDOWN, 'A', 1, 0, {0, 0}});
    PostMessageW(m_hwnd, WM_USER + 1, 0, 0);
    PostMessageW(m_hwnd, WM_USER + 2, 0, 0);

    MSG msg;
    std::vector<UINT> order;
    // Messages carry the clock's time of their posting.
    const DWORD before = Desktop::Now();
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    order.push_back(msg.message);
    EXPECT_EQ(before, msg.time);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
        order.push_back(msg.message);
    }
    EXPECT_EQ((std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_KEYDOWN, WM_QUIT}), order);
    EXPECT_EQ(3u, msg.wParam);
    EXPECT_TRUE(platform::ui::QuitReceived());
    EXPECT_EQ(3, platform::ui::QuitExitCode());

    // WM_PAINT stays until the window is validated.
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_PAINT), msg.message);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_PAINT), msg.message);
    ValidateRect(m_hwnd, nullptr);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));   // the timer is not due
    KillTimer(m_hwnd, 5);
}

TEST_F(MessageQueueTest, NoRemoveLeavesTheMessageAndFiltersSelect)
{
    HWND other = uitest::CreateLogged(m_log, WS_POPUP, 0, 0, 10, 10);
    PostMessageW(m_hwnd, WM_USER, 1, 0);
    PostMessageW(other, WM_USER + 5, 2, 0);
    PostMessageW(nullptr, WM_APP, 3, 0);   // a message of the thread

    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(1u, msg.wParam);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(1u, msg.wParam);   // still there
    // By window, by range, and thread messages only.
    ASSERT_TRUE(PeekMessageW(&msg, other, 0, 0, PM_REMOVE));
    EXPECT_EQ(2u, msg.wParam);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);
    EXPECT_FALSE(PeekMessageW(&msg, reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)), 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&msg, m_hwnd, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_EQ(m_hwnd, msg.hwnd);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(other);
}

TEST_F(MessageQueueTest, MessagesForGoneWindowsAreDropped)
{
    HWND other = uitest::CreateLogged(m_log, WS_POPUP, 0, 0, 10, 10);
    EXPECT_TRUE(PostMessageW(other, WM_USER, 0, 0));
    DestroyWindow(other);
    EXPECT_FALSE(PostMessageW(other, WM_USER, 0, 0));   // a stale handle is refused outright
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(&msg, other, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(nullptr, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(0, DispatchMessageW(nullptr));
}

TEST_F(MessageQueueTest, GetMessageNeverWaits)
{
    MSG msg;
    msg.message = WM_USER;
    EXPECT_EQ(-1, GetMessageW(&msg, nullptr, 0, 0));   // nothing to wait for
    EXPECT_EQ(0u, msg.message);
    PostMessageW(m_hwnd, WM_USER, 0, 0);
    PostQuitMessage(9);
    EXPECT_EQ(TRUE, GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(FALSE, GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(9u, msg.wParam);
}

TEST_F(MessageQueueTest, PumpStopsAtQuitAndLeavesTheRest)
{
    PostMessageW(m_hwnd, WM_USER, 0, 0);
    PostQuitMessage(0);
    EXPECT_EQ(1, Desktop::PumpMessages());
    PostMessageW(m_hwnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(1, Desktop::PumpMessages());
    EXPECT_EQ(1, m_log.Count(WM_USER));
    EXPECT_EQ(1, m_log.Count(WM_USER + 1));
    EXPECT_TRUE(platform::ui::QuitReceived());
}

TEST_F(MessageQueueTest, RunawayPosterStopsAtTheWatchdog)
{
    struct Repost {
        static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
        {
            if (message == WM_USER) PostMessageW(hwnd, WM_USER, 0, 0);
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    };
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Repost::Proc));
    PostMessageW(m_hwnd, WM_USER, 0, 0);
    EXPECT_EQ(Desktop::kMaxPumpedMessages, Desktop::PumpMessages());
    platform::ui::ResetMessageQueue();
}

TEST_F(MessageQueueTest, TranslateTypesCharactersForCharacterKeys)
{
    std::vector<WPARAM> typed;
    auto takeCharacters = [&]() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE)) typed.push_back(msg.wParam);
    };
    MSG key = {m_hwnd, WM_KEYDOWN, 'A', 1, 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&key));
    MSG digit = {m_hwnd, WM_KEYDOWN, '7', 1, 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&digit));
    MSG arrow = {m_hwnd, WM_KEYDOWN, VK_LEFT, 1, 0, {0, 0}};
    EXPECT_FALSE(TranslateMessage(&arrow));
    MSG up = {m_hwnd, WM_KEYUP, 'A', 1, 0, {0, 0}};
    EXPECT_FALSE(TranslateMessage(&up));
    takeCharacters();
    Desktop::KeyDown(VK_SHIFT);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    EXPECT_TRUE(TranslateMessage(&key));
    EXPECT_TRUE(TranslateMessage(&digit));
    takeCharacters();
    Desktop::KeyUp(VK_SHIFT);
    EXPECT_EQ((std::vector<WPARAM>{L'a', L'7', L'A', L'&'}), typed);
}

TEST_F(MessageQueueTest, RegisteredMessagesAreSharedByName)
{
    const UINT first = RegisterWindowMessageW(L"MorvelanceProbe");
    EXPECT_GE(first, 0xC000u);
    EXPECT_EQ(first, RegisterWindowMessageW(L"morvelanceprobe"));
    EXPECT_NE(first, RegisterWindowMessageW(L"MorvelanceOther"));
    EXPECT_EQ(0u, RegisterWindowMessageW(L""));
    EXPECT_EQ(0u, RegisterWindowMessageW(nullptr));
}

TEST_F(MessageQueueTest, TimersFireAtTheirTimesAsTheClockAdvances)
{
    m_log.Ignore(WM_PAINT);
    SetTimer(m_hwnd, 7, 100, nullptr);
    struct Capture {
        static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
        {
            if (message == WM_TIMER) {
                g_timerTimes.push_back(Desktop::Now());
                g_timerIds.push_back(wParam);
            }
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    };
    g_timerTimes.clear();
    g_timerIds.clear();
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Capture::Proc));
    Desktop::AdvanceClock(99);
    EXPECT_TRUE(g_timerTimes.empty());
    Desktop::AdvanceClock(251);   // to 350
    EXPECT_EQ((std::vector<DWORD>{100, 200, 300}), g_timerTimes);
    EXPECT_EQ((std::vector<UINT_PTR>{7, 7, 7}), g_timerIds);

    // Setting it again restarts its period.
    SetTimer(m_hwnd, 7, 100, nullptr);
    Desktop::AdvanceClock(60);
    EXPECT_EQ(3u, g_timerTimes.size());
    Desktop::AdvanceClock(40);
    EXPECT_EQ(450u, g_timerTimes.back());

    EXPECT_TRUE(KillTimer(m_hwnd, 7));
    EXPECT_FALSE(KillTimer(m_hwnd, 7));
    Desktop::AdvanceClock(1000);
    EXPECT_EQ(4u, g_timerTimes.size());
}

TEST_F(MessageQueueTest, ShortPeriodsAreRaisedToTheMinimum)
{
    g_timerTimes.clear();
    const UINT_PTR id = SetTimer(nullptr, 0, 1, &RecordTimer);
    ASSERT_NE(0u, id);
    Desktop::AdvanceClock(35);
    EXPECT_EQ((std::vector<DWORD>{10, 20, 30}), g_timerTimes);
    EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(MessageQueueTest, ThreadTimersGetTheirOwnIdsAndCallTheirProcedure)
{
    g_timerIds.clear();
    const UINT_PTR a = SetTimer(nullptr, 0, 30, &RecordTimer);
    const UINT_PTR b = SetTimer(nullptr, 0, 50, &RecordTimer);
    EXPECT_NE(a, b);
    Desktop::AdvanceClock(60);
    EXPECT_EQ((std::vector<UINT_PTR>{a, b, a}), g_timerIds);
    KillTimer(nullptr, a);
    KillTimer(nullptr, b);
    // A WM_TIMER naming a procedure of no timer is not obeyed.
    g_timerIds.clear();
    MSG forged = {nullptr, WM_TIMER, a, reinterpret_cast<LPARAM>(&RecordTimer), 0, {0, 0}};
    DispatchMessageW(&forged);
    EXPECT_TRUE(g_timerIds.empty());
}

TEST_F(MessageQueueTest, TimersGoWithTheirWindow)
{
    HWND other = uitest::CreateLogged(m_log, WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(1u, SetTimer(other, 1, 20, nullptr));
    EXPECT_EQ(0u, SetTimer(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x12345)), 1, 20, nullptr));
    DestroyWindow(other);
    uint64_t due = 0;
    EXPECT_FALSE(platform::ui::detail::EarliestTimerDue(due));
}

TEST_F(MessageQueueTest, QuitDuringTheClockDoesNotHangIt)
{
    struct QuitOnTimer {
        static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
        {
            if (message == WM_TIMER) PostQuitMessage(1);
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    };
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&QuitOnTimer::Proc));
    SetTimer(m_hwnd, 1, 10, nullptr);
    Desktop::AdvanceClock(1000);
    EXPECT_EQ(1000u, Desktop::Now());
    EXPECT_TRUE(platform::ui::QuitReceived());
    KillTimer(m_hwnd, 1);
}
