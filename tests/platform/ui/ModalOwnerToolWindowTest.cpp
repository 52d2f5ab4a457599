// Which window a pop-up belongs to when the person works in a tool window of
// a pop-up that runs (a magnifier over an enlarged wave), and what becomes of
// a click that was on its way when a pop-up opened.
#include <gtest/gtest.h>

#include "platform/ui/framework/Dialog.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/windowing/DialogBox.h"
#include "platform/ui/windowing/Input.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::Desktop;
using platform::ui::ModalDriverScope;

namespace {

const UINT IDD_FIRST = 3471;    // no template: an empty pop-up with a caption
const UINT IDD_SECOND = 3472;
const UINT IDD_THIRD = 3473;

class ModalToolWindowTest : public uitest::FramePaneTest {
protected:
    // A modeless tool window of `owner`, made active as when the person clicked it.
    HWND ToolWindowOf(HWND owner)
    {
        const HWND tool = uitest::CreateLogged(m_log, WS_POPUP | WS_VISIBLE | WS_CAPTION, 600, 300, 180, 120, owner, 0,
                                               WS_EX_TOOLWINDOW);
        ::SetActiveWindow(tool);
        EXPECT_EQ(tool, ::GetActiveWindow());
        return tool;
    }
};

}  // namespace

TEST_F(ModalToolWindowTest, APopupWithoutParentFromAToolWindowOfTheRunningPopupBelongsToThatPopup)
{
    platform::ui::IsolatedApplicationList noMainWindow;
    CDialog first(IDD_FIRST, nullptr);
    HWND firstWindow = nullptr;
    HWND secondOwner = nullptr;
    bool firstEnabledUnderSecond = true;
    bool frameEnabledUnderSecond = true;
    ModalDriverScope driver([&](CDialog& running) {
        if (running.GetTemplateId() == IDD_SECOND) {
            secondOwner = ::GetParent(running.m_hWnd);
            firstEnabledUnderSecond = first.IsWindowEnabled() != FALSE;
            frameEnabledUnderSecond = ::IsWindowEnabled(m_frame) != FALSE;
            running.EndDialog(IDOK);
            return;
        }
        firstWindow = running.m_hWnd;
        EXPECT_EQ(m_frame, ::GetParent(running.m_hWnd));
        const HWND tool = ToolWindowOf(running.m_hWnd);
        CDialog second(IDD_SECOND, nullptr);
        EXPECT_EQ(IDOK, second.DoModal());
        EXPECT_TRUE(first.IsWindowEnabled());
        EXPECT_FALSE(::IsWindowEnabled(m_frame));
        ::DestroyWindow(tool);
        running.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, first.DoModal());
    ASSERT_NE(nullptr, firstWindow);
    EXPECT_EQ(firstWindow, secondOwner);
    EXPECT_FALSE(firstEnabledUnderSecond);
    EXPECT_FALSE(frameEnabledUnderSecond);
    EXPECT_TRUE(::IsWindowEnabled(m_frame));
}

TEST_F(ModalToolWindowTest, WithAMainWindowThePopupFromTheToolWindowStillBelongsToTheInnermostRunningPopup)
{
    platform::ui::IsolatedApplicationList isolated;
    CWinApp app(L"tool windows");
    CWnd* main = CWnd::FromHandle(m_frame);
    app.m_pMainWnd = main;
    // Two pop-ups run, the second over the first; the tool window is the second's.
    CDialog first(IDD_FIRST, nullptr);
    CDialog second(IDD_SECOND, nullptr);
    HWND secondWindow = nullptr;
    HWND thirdOwner = nullptr;
    bool secondEnabledUnderThird = true;
    bool firstEnabledUnderThird = true;
    ModalDriverScope driver([&](CDialog& running) {
        if (running.GetTemplateId() == IDD_THIRD) {
            thirdOwner = ::GetParent(running.m_hWnd);
            secondEnabledUnderThird = second.IsWindowEnabled() != FALSE;
            firstEnabledUnderThird = first.IsWindowEnabled() != FALSE;
            running.EndDialog(IDOK);
            return;
        }
        if (running.GetTemplateId() == IDD_SECOND) {
            secondWindow = running.m_hWnd;
            EXPECT_EQ(first.m_hWnd, ::GetParent(running.m_hWnd));
            const HWND tool = ToolWindowOf(running.m_hWnd);
            CDialog third(IDD_THIRD, nullptr);
            EXPECT_EQ(IDOK, third.DoModal());
            EXPECT_TRUE(second.IsWindowEnabled());
            ::DestroyWindow(tool);
            running.EndDialog(IDOK);
            return;
        }
        EXPECT_EQ(IDOK, second.DoModal());
        EXPECT_TRUE(first.IsWindowEnabled());
        running.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, first.DoModal());
    app.m_pMainWnd = nullptr;
    ASSERT_NE(nullptr, secondWindow);
    EXPECT_EQ(secondWindow, thirdOwner);
    EXPECT_FALSE(secondEnabledUnderThird);
    EXPECT_FALSE(firstEnabledUnderThird);
    EXPECT_TRUE(::IsWindowEnabled(m_frame));
}

TEST_F(ModalToolWindowTest, AClickQueuedBeforeAPopupOpensIsNotDeliveredToTheWindowItDisabled)
{
    platform::ui::IsolatedApplicationList noMainWindow;
    RECT pane;
    ::GetWindowRect(m_pane, &pane);
    const POINT at{pane.left + 200, pane.top + 300};
    m_log.Clear();
    // The person clicks the pane just as something opens a pop-up over the frame.
    platform::ui::detail::PostMouseInput(WM_LBUTTONDOWN, at, 0);
    platform::ui::detail::PostMouseInput(WM_LBUTTONUP, at, 0);
    CDialog dialog(IDD_FIRST, nullptr);
    int downsWhileOpen = -1;
    int upsWhileOpen = -1;
    ModalDriverScope driver([&](CDialog& running) {
        EXPECT_FALSE(::IsWindowEnabled(m_frame));
        Desktop::PumpMessages();
        downsWhileOpen = m_log.Count(WM_LBUTTONDOWN, m_pane);
        upsWhileOpen = m_log.Count(WM_LBUTTONUP, m_pane);
        running.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(0, downsWhileOpen);
    EXPECT_EQ(0, upsWhileOpen);
    // Dropped, not held back until the frame takes input again.
    Desktop::PumpMessages();
    EXPECT_EQ(0, m_log.Count(WM_LBUTTONDOWN, m_pane));
    EXPECT_EQ(0, m_log.Count(WM_LBUTTONDBLCLK, m_pane));
    // A click made now reaches it (later than a double click's time).
    Desktop::AdvanceClock(1000);
    Desktop::Click(m_pane, 200, 300);
    EXPECT_EQ(1, m_log.Count(WM_LBUTTONDOWN, m_pane));
}
