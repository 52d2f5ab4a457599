// The window a modal pop-up belongs to, as a host without a main window
// shows a pane: a frame with a pane in it, the pop-ups asked for with no
// parent or by the pane. While a pop-up runs, nothing of its owner takes a
// click or a key, a close of the owner is refused, and a nested pop-up
// hands the activation back to the one under it.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

// A pop-up that counts how often it was cancelled (Escape, its close).
class CCountingDialog : public CDialog {
public:
    CCountingDialog(UINT id, CWnd* parent) : CDialog(id, parent) {}
    int m_nCancels = 0;

protected:
    void OnCancel() override
    {
        ++m_nCancels;
        CDialog::OnCancel();
    }
};

CString TextOf(HWND hwnd)
{
    wchar_t text[64] = {};
    ::GetWindowTextW(hwnd, text, 64);
    return text;
}

class ModalOwnerTest : public uitest::FramePaneTest {
protected:
    // The frame, active, its pane and in the pane an ID field with the focus.
    void SetUp() override
    {
        FramePaneTest::SetUp();
        m_field = ::CreateWindowExW(0, L"Edit", L"MV-1003", WS_CHILD | WS_VISIBLE | WS_BORDER, 400, 400, 200, 24,
                                    m_pane, reinterpret_cast<HMENU>(101), nullptr, nullptr);
        ASSERT_NE(nullptr, m_field);
        ::SetFocus(m_field);
    }
    // Whether `upper` stands above `lower` among the top-level windows.
    static bool Above(HWND upper, HWND lower)
    {
        const std::vector<HWND>& order = platform::ui::WindowManager::Instance().TopLevelWindows();
        auto up = std::find(order.begin(), order.end(), upper);
        auto low = std::find(order.begin(), order.end(), lower);
        return up != order.end() && low != order.end() && up < low;
    }

    platform::ui::IsolatedApplicationList m_noMainWindow;
    HWND m_field = nullptr;
};

}  // namespace

TEST_F(ModalOwnerTest, APopupWithoutParentOrMainWindowHoldsTheActiveFrameWithItsPaneAndFields)
{
    CCountingDialog dialog(IDD_FIRST, nullptr);
    bool ran = false;
    ModalDriverScope driver([&](CDialog& running) {
        ran = true;
        EXPECT_EQ(m_frame, ::GetParent(running.m_hWnd));
        EXPECT_FALSE(::IsWindowEnabled(m_frame));
        m_log.Clear();
        // A click on the ID field and a letter typed, a double click on the pane.
        Desktop::Click(m_field, 5, 5);
        Desktop::TypeText(L"Q");
        Desktop::DoubleClick(m_pane, 100, 500);
        EXPECT_EQ(0, m_log.Count(WM_LBUTTONDOWN)) << "a click reached the pane";
        EXPECT_EQ(0, m_log.Count(WM_LBUTTONDBLCLK)) << "a double click reached the pane";
        EXPECT_EQ(running.m_hWnd, ::GetActiveWindow());
        running.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(ran);
    EXPECT_EQ(CString(L"MV-1003"), TextOf(m_field));
    // Given back once the pop-up ended: the field takes the letter now.
    EXPECT_TRUE(::IsWindowEnabled(m_frame));
    Desktop::Click(m_field, 5, 5);
    Desktop::KeyPress(VK_END);
    Desktop::TypeText(L"Q");
    EXPECT_EQ(CString(L"MV-1003Q"), TextOf(m_field));
}

TEST_F(ModalOwnerTest, APopupAskedForByThePaneUnderARunningOneBelongsToTheRunningOne)
{
    CCountingDialog first(IDD_FIRST, nullptr);
    int escapesHeard = -1;
    ModalDriverScope driver([&](CDialog& running) {
        if (running.GetTemplateId() == IDD_SECOND) {
            // The first pop-up is held in turn: a click on it goes nowhere.
            EXPECT_EQ(first.m_hWnd, ::GetParent(running.m_hWnd));
            EXPECT_FALSE(first.IsWindowEnabled());
            EXPECT_FALSE(::IsWindowEnabled(m_frame));
            running.EndDialog(IDOK);
            return;
        }
        // The pane asks for a pop-up of its own (a wave's enlargement).
        CCountingDialog second(IDD_SECOND, CWnd::FromHandle(m_pane));
        EXPECT_EQ(IDOK, second.DoModal());
        // The first one runs on: active, above the frame, still holding it,
        // and Escape reaches it.
        EXPECT_EQ(first.m_hWnd, ::GetActiveWindow());
        EXPECT_TRUE(Above(first.m_hWnd, m_frame));
        EXPECT_TRUE(first.IsWindowEnabled());
        EXPECT_FALSE(::IsWindowEnabled(m_frame));
        Desktop::KeyPress(VK_ESCAPE);
        escapesHeard = first.m_nCancels;
    });
    EXPECT_EQ(IDCANCEL, first.DoModal());
    EXPECT_EQ(1, escapesHeard);
    EXPECT_TRUE(::IsWindowEnabled(m_frame));
    EXPECT_EQ(m_frame, ::GetActiveWindow());
}

TEST_F(ModalOwnerTest, AFrameIsNotClosedUnderARunningPopupButClosesOnceItEnded)
{
    CCountingDialog dialog(IDD_FIRST, nullptr);
    ModalDriverScope driver([&](CDialog& running) {
        ::PostMessageW(m_frame, WM_CLOSE, 0, 0);
        ::PostMessageW(m_frame, WM_SYSCOMMAND, SC_CLOSE, 0);
        Desktop::PumpMessages();
        EXPECT_TRUE(::IsWindow(m_frame));
        EXPECT_TRUE(::IsWindow(m_pane));
        EXPECT_TRUE(::IsWindow(running.m_hWnd));
        EXPECT_FALSE(platform::ui::WindowManager::Instance().Find(running.m_hWnd)->dialog.ended);
        // Alt+F4 closes the pop-up, which has the keyboard, not the frame.
        Desktop::KeyPress(VK_F4, platform::ui::kAlt);
        EXPECT_TRUE(::IsWindow(m_frame));
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, dialog.m_nCancels);
    ::SendMessageW(m_frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(m_frame));
}

TEST_F(ModalOwnerTest, DisablingAFrameTakesTheFocusFromItsFieldAndDropsInputWaitingForIt)
{
    // A click already queued for the field when the frame is disabled.
    RECT field;
    ::GetWindowRect(m_field, &field);
    m_log.Clear();
    platform::ui::detail::PostMouseInput(WM_LBUTTONDOWN, POINT{field.left + 5, field.top + 5}, 0);
    platform::ui::detail::PostMouseInput(WM_LBUTTONUP, POINT{field.left + 5, field.top + 5}, 0);
    platform::ui::detail::PostKeyInput('Q', true);
    ::EnableWindow(m_frame, FALSE);
    EXPECT_EQ(nullptr, ::GetFocus());
    Desktop::PumpMessages();
    Desktop::TypeText(L"Q");
    EXPECT_EQ(CString(L"MV-1003"), TextOf(m_field));
    EXPECT_EQ(nullptr, ::GetFocus());
    ::EnableWindow(m_frame, TRUE);
    Desktop::KeyUp('Q');
}

TEST_F(ModalOwnerTest, AWin32DialogBoxAskedForByThePaneUnderARunningPopupHoldsThatPopup)
{
    CCountingDialog first(IDD_FIRST, nullptr);
    HWND firstWindow = nullptr;
    HWND boxOwner = nullptr;
    bool firstEnabledInBox = true;
    ModalDriverScope driver([&](CWnd& running) {
        if (&running != &first) {
            boxOwner = ::GetParent(running.m_hWnd);
            firstEnabledInBox = first.IsWindowEnabled() != FALSE;
            ::EndDialog(running.m_hWnd, IDOK);
            return;
        }
        firstWindow = running.m_hWnd;
        platform::ui::DialogTemplate box;
        box.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        const std::vector<BYTE> bytes = platform::ui::WriteDialogTemplate(box);
        EXPECT_EQ(IDOK, ::DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), m_pane,
                                                  nullptr, 0));
        running.SendMessage(WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, first.DoModal());
    EXPECT_NE(nullptr, firstWindow);
    EXPECT_EQ(firstWindow, boxOwner);
    EXPECT_FALSE(firstEnabledInBox);
}

TEST_F(ModalOwnerTest, WithTheFramesMagnifierActiveAPopupWithoutParentStillHoldsTheFrame)
{
    // A modeless tool window of the frame, clicked last.
    const HWND magnifier = uitest::CreateLogged(m_log, WS_POPUP | WS_VISIBLE, 600, 0, 200, 100, m_frame);
    ::SetActiveWindow(magnifier);
    ASSERT_EQ(magnifier, ::GetActiveWindow());
    CCountingDialog dialog(IDD_FIRST, nullptr);
    HWND owner = nullptr;
    bool frameEnabled = true;
    ModalDriverScope driver([&](CDialog& running) {
        owner = ::GetParent(running.m_hWnd);
        frameEnabled = ::IsWindowEnabled(m_frame) != FALSE;
        running.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(m_frame, owner);
    EXPECT_FALSE(frameEnabled);
    ::DestroyWindow(magnifier);
}
