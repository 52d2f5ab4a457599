// Sleep waits its whole time although a signal comes in between (a child
// process ending, a timer of another part of the program).
#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/base/Kernel.h"

namespace {

std::atomic<int> g_signals{0};

void CountSignal(int)
{
    ++g_signals;
}

// A handler for SIGUSR2 that does not restart what it interrupts.
class InterruptingHandler {
public:
    InterruptingHandler()
    {
        struct sigaction action = {};
        action.sa_handler = &CountSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        sigaction(SIGUSR2, &action, &m_previous);
    }
    ~InterruptingHandler() { sigaction(SIGUSR2, &m_previous, nullptr); }

private:
    struct sigaction m_previous = {};
};

}  // namespace

TEST(Sleep, LastsItsWholeTimeWhenSignalsInterruptIt)
{
    InterruptingHandler handler;
    g_signals = 0;
    const pthread_t sleeper = pthread_self();
    std::atomic<bool> done{false};
    // Signals 40, 80 and 120 ms into a sleep of 300 ms.
    std::thread signaller([&]() {
        for (int i = 0; i < 3 && !done; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
            pthread_kill(sleeper, SIGUSR2);
        }
    });
    const auto start = std::chrono::steady_clock::now();
    Sleep(300);
    const auto slept = std::chrono::steady_clock::now() - start;
    done = true;
    signaller.join();
    EXPECT_GE(g_signals.load(), 1) << "no signal came in during the sleep";
    EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(slept).count(), 300);
}

TEST(Sleep, ASleepOfMoreThanASecondKeepsItsMilliseconds)
{
    InterruptingHandler handler;
    g_signals = 0;
    const pthread_t sleeper = pthread_self();
    std::thread signaller([&]() {
        std::this_thread::sleep_for(std::chrono::milliseconds(1030));
        pthread_kill(sleeper, SIGUSR2);
    });
    const auto start = std::chrono::steady_clock::now();
    Sleep(1150);
    const auto slept = std::chrono::steady_clock::now() - start;
    signaller.join();
    EXPECT_EQ(g_signals.load(), 1);
    EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(slept).count(), 1150);
}
