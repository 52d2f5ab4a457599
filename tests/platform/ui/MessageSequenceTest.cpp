// The messages the window functions send, in order, as Wine's message
// tests check them: creation, showing and hiding, placement, destruction,
// focus, capture, enabling, styles and text.
#include <gtest/gtest.h>

#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Window.h"
#include "tests/platform/ui/UiTestSupport.h"

using uitest::ExpectedMsg;
using uitest::kLParam;
using uitest::kOptional;
using uitest::kWindow;
using uitest::kWParam;

namespace {

class MessageSequenceTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        m_top = uitest::CreateLogged(m_log, WS_OVERLAPPEDWINDOW, 10, 10, 400, 300);
        ASSERT_NE(nullptr, m_top);
        m_log.Name(m_top, "top");
    }
    void TearDown() override
    {
        if (IsWindow(m_top)) DestroyWindow(m_top);
        WindowLeakCheck::TearDown();
    }

    HWND Child(const char* name, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = 0)
    {
        HWND child = uitest::CreateLogged(m_log, style, 5, 5, 50, 20, m_top, id);
        m_log.Name(child, name);
        return child;
    }

    uitest::MessageLog m_log;
    HWND m_top = nullptr;
};

// A self-deleting framework object, as frames and views are.
class CSelfDeletingLogged : public uitest::CLoggedWnd {
public:
    CSelfDeletingLogged(uitest::MessageLog& log, int& deletions) : CLoggedWnd(log), m_deletions(deletions) {}
    ~CSelfDeletingLogged() override { ++m_deletions; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    int& m_deletions;
};

}  // namespace

// CreateWindowEx of a visible child.
static const ExpectedMsg kCreateVisibleChild[] = {
    {WM_NCCREATE, kWindow, 0, 0, "child"},
    {WM_NCCALCSIZE, kWindow | kWParam, FALSE, 0, "child"},
    {WM_CREATE, kWindow, 0, 0, "child"},
    {WM_SIZE, kWindow | kWParam | kLParam, SIZE_RESTORED, MAKELPARAM(50, 20), "child"},
    {WM_MOVE, kWindow | kLParam, 0, MAKELPARAM(5, 5), "child"},
    {WM_PARENTNOTIFY, kWindow, 0, 0, "top"},
    {WM_SHOWWINDOW, kWindow | kWParam, TRUE, 0, "child"},
    {WM_WINDOWPOSCHANGING, kWindow, 0, 0, "child"},
    {WM_WINDOWPOSCHANGED, kWindow, 0, 0, "child"},
};

TEST_F(MessageSequenceTest, CreatingAVisibleChildSendsTheCreationMessagesInWindowsOrder)
{
    m_log.Clear();
    HWND child = uitest::CreateLogged(m_log, WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, m_top, 7);
    // The name is given after creation: look the window up by the log.
    ASSERT_NE(nullptr, child);
    m_log.Name(child, "child");
    EXPECT_SEQUENCE(m_log, kCreateVisibleChild);
    EXPECT_TRUE(IsWindowVisible(child) == IsWindowVisible(m_top));
    EXPECT_EQ(MAKEWPARAM(WM_CREATE, 7), m_log.Entries()[5].wParam);
}

// ShowWindow(SW_HIDE) on a visible child, then SW_SHOW.
static const ExpectedMsg kHideChild[] = {
    {WM_SHOWWINDOW, kWParam, FALSE},
    {WM_WINDOWPOSCHANGING},
    {WM_WINDOWPOSCHANGED},
};
static const ExpectedMsg kShowChild[] = {
    {WM_SHOWWINDOW, kWParam, TRUE},
    {WM_WINDOWPOSCHANGING},
    {WM_WINDOWPOSCHANGED},
};

TEST_F(MessageSequenceTest, HidingAndShowingAChildSendsMessagesOnlyWhenVisibilityChanges)
{
    HWND child = Child("child");
    m_log.Clear();
    EXPECT_TRUE(ShowWindow(child, SW_HIDE));   // it was visible
    EXPECT_SEQUENCE(m_log, kHideChild);
    EXPECT_FALSE(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE);

    m_log.Clear();
    EXPECT_FALSE(ShowWindow(child, SW_HIDE));   // already hidden: nothing is sent
    EXPECT_TRUE(m_log.Entries().empty());

    EXPECT_FALSE(ShowWindow(child, SW_SHOW));
    EXPECT_SEQUENCE(m_log, kShowChild);
}

// SetWindowPos moving and sizing a child.
static const ExpectedMsg kMoveAndSize[] = {
    {WM_WINDOWPOSCHANGING},
    {WM_NCCALCSIZE, kWParam, FALSE},
    {WM_WINDOWPOSCHANGED},
    {WM_MOVE, kLParam, 0, MAKELPARAM(30, 40)},
    {WM_SIZE, kWParam | kLParam, SIZE_RESTORED, MAKELPARAM(120, 60)},
};
// Moving only: the client area keeps its size.
static const ExpectedMsg kMoveOnly[] = {
    {WM_WINDOWPOSCHANGING},
    {WM_WINDOWPOSCHANGED},
    {WM_MOVE, kLParam, 0, MAKELPARAM(1, 2)},
};
// Nothing changes: the window is still asked and told.
static const ExpectedMsg kNoChange[] = {
    {WM_WINDOWPOSCHANGING},
    {WM_WINDOWPOSCHANGED},
};

TEST_F(MessageSequenceTest, PlacingAChildReportsOnlyWhatMovedOrChangedSize)
{
    HWND child = Child("child");
    m_log.Clear();
    EXPECT_TRUE(SetWindowPos(child, nullptr, 30, 40, 120, 60, SWP_NOZORDER | SWP_NOACTIVATE));
    EXPECT_SEQUENCE(m_log, kMoveAndSize);

    m_log.Clear();
    EXPECT_TRUE(MoveWindow(child, 1, 2, 120, 60, TRUE));
    EXPECT_SEQUENCE(m_log, kMoveOnly);

    m_log.Clear();
    EXPECT_TRUE(SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER));
    EXPECT_SEQUENCE(m_log, kNoChange);

    RECT rect;
    GetWindowRect(child, &rect);
    POINT origin = {0, 0};
    ClientToScreen(m_top, &origin);
    EXPECT_EQ(origin.x + 1, rect.left);
    EXPECT_EQ(origin.y + 2, rect.top);
    EXPECT_EQ(120, rect.right - rect.left);
}

// WM_WINDOWPOSCHANGING may change the placement.
TEST_F(MessageSequenceTest, PositionChangingHandlerHasTheLastWord)
{
    struct Clamp {
        static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
        {
            if (message == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lParam)->cx = 33;
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    };
    HWND child = Child("child");
    SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Clamp::Proc));
    MoveWindow(child, 0, 0, 200, 50, TRUE);
    RECT client;
    GetClientRect(child, &client);
    EXPECT_EQ(33, client.right);
    EXPECT_EQ(50, client.bottom);
}

// DestroyWindow of a parent: WM_DESTROY parents first, WM_NCDESTROY children first.
static const ExpectedMsg kDestroyTree[] = {
    {WM_DESTROY, kWindow, 0, 0, "parent"},
    {WM_DESTROY, kWindow, 0, 0, "child"},
    {WM_DESTROY, kWindow, 0, 0, "grandchild"},
    {WM_NCDESTROY, kWindow, 0, 0, "grandchild"},
    {WM_NCDESTROY, kWindow, 0, 0, "child"},
    {WM_NCDESTROY, kWindow, 0, 0, "parent"},
};

TEST_F(MessageSequenceTest, DestroyingATreeSendsDestroyDownAndNcDestroyUp)
{
    uitest::MessageLog log;
    HWND parent = uitest::CreateLogged(log, WS_POPUP, 0, 0, 100, 100);
    HWND child = uitest::CreateLogged(log, WS_CHILD, 0, 0, 50, 50, parent, 1, WS_EX_NOPARENTNOTIFY);
    HWND grandchild = uitest::CreateLogged(log, WS_CHILD, 0, 0, 20, 20, child, 2, WS_EX_NOPARENTNOTIFY);
    log.Name(parent, "parent");
    log.Name(child, "child");
    log.Name(grandchild, "grandchild");
    log.Clear();
    EXPECT_TRUE(DestroyWindow(parent));
    EXPECT_SEQUENCE(log, kDestroyTree);
    EXPECT_FALSE(IsWindow(grandchild));
}

// DestroyWindow of a visible child: the parent hears first, then the child hides.
static const ExpectedMsg kDestroyVisibleChild[] = {
    {WM_PARENTNOTIFY, kWindow | kWParam, MAKEWPARAM(WM_DESTROY, 9), 0, "top"},
    {WM_WINDOWPOSCHANGING, kWindow, 0, 0, "child"},
    {WM_WINDOWPOSCHANGED, kWindow, 0, 0, "child"},
    {WM_DESTROY, kWindow, 0, 0, "child"},
    {WM_NCDESTROY, kWindow, 0, 0, "child"},
};

TEST_F(MessageSequenceTest, DestroyingAVisibleChildSendsTheDestructionMessagesOnce)
{
    HWND child = Child("child", WS_CHILD | WS_VISIBLE, 9);
    m_log.Clear();
    EXPECT_TRUE(DestroyWindow(child));
    EXPECT_SEQUENCE(m_log, kDestroyVisibleChild);
    EXPECT_FALSE(DestroyWindow(child));   // a second time: no window
    EXPECT_EQ(nullptr, GetWindow(m_top, GW_CHILD));
}

TEST_F(MessageSequenceTest, SelfDeletingObjectsGoAfterTheirLastMessage)
{
    int deletions = 0;
    auto* parent = new CSelfDeletingLogged(m_log, deletions);
    ASSERT_TRUE(parent->CreateEx(0, nullptr, L"frame", WS_CHILD, CRect(0, 0, 100, 100), CWnd::FromHandle(m_top), 1));
    auto* child = new CSelfDeletingLogged(m_log, deletions);
    ASSERT_TRUE(child->Create(nullptr, L"view", 0, CRect(0, 0, 50, 50), parent, 2));
    HWND parentHwnd = parent->m_hWnd;
    HWND childHwnd = child->m_hWnd;
    m_log.Name(parentHwnd, "frame");
    m_log.Name(childHwnd, "view");
    m_log.Clear();
    DestroyWindow(parentHwnd);
    EXPECT_EQ(2, deletions);
    // The last message each object saw was its own WM_NCDESTROY, children first.
    ASSERT_GE(m_log.Entries().size(), 2u);
    const auto& entries = m_log.Entries();
    EXPECT_EQ(static_cast<UINT>(WM_NCDESTROY), entries[entries.size() - 2].message);
    EXPECT_EQ(childHwnd, entries[entries.size() - 2].hwnd);
    EXPECT_EQ(static_cast<UINT>(WM_NCDESTROY), entries.back().message);
    EXPECT_EQ(parentHwnd, entries.back().hwnd);
}

// WM_CREATE answering -1 destroys the window; CreateWindowEx gives null.
TEST_F(MessageSequenceTest, RefusingCreationDestroysTheWindow)
{
    struct Refuse {
        static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
        {
            if (message == WM_CREATE) return -1;
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    };
    WNDCLASSW wc = {0, &Refuse::Proc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"RefusingClass"};
    ASSERT_NE(0, RegisterClassW(&wc));
    EXPECT_EQ(nullptr, CreateWindowExW(0, L"RefusingClass", L"", WS_CHILD, 0, 0, 10, 10, m_top, nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, GetWindow(m_top, GW_CHILD));
    EXPECT_TRUE(UnregisterClassW(L"RefusingClass", nullptr));
}

// Focus moving between two children of the active window.
static const ExpectedMsg kFocusToFirst[] = {
    {WM_KILLFOCUS, kWindow, 0, 0, "top"},
    {WM_SETFOCUS, kWindow, 0, 0, "first"},
};
static const ExpectedMsg kFocusToSecond[] = {
    {WM_KILLFOCUS, kWindow, 0, 0, "first"},
    {WM_SETFOCUS, kWindow, 0, 0, "second"},
};

TEST_F(MessageSequenceTest, FocusMovesWithKillFocusThenSetFocus)
{
    HWND first = Child("first");
    HWND second = Child("second");
    SetActiveWindow(m_top);
    ASSERT_EQ(m_top, GetFocus());   // activation gives the window the focus
    m_log.Clear();
    EXPECT_EQ(m_top, SetFocus(first));
    EXPECT_SEQUENCE(m_log, kFocusToFirst);
    EXPECT_EQ(first, reinterpret_cast<HWND>(m_log.Entries()[0].wParam));   // the new focus
    EXPECT_EQ(m_top, reinterpret_cast<HWND>(m_log.Entries()[1].wParam));   // the old focus

    m_log.Clear();
    EXPECT_EQ(first, SetFocus(second));
    EXPECT_SEQUENCE(m_log, kFocusToSecond);
    m_log.Clear();
    EXPECT_EQ(second, SetFocus(second));   // no change, no message
    EXPECT_TRUE(m_log.Entries().empty());
    EXPECT_EQ(second, GetFocus());
}

TEST_F(MessageSequenceTest, DisabledOrHiddenWindowsNeitherTakeNorKeepTheFocus)
{
    HWND first = Child("first");
    HWND second = Child("second");
    SetActiveWindow(m_top);
    SetFocus(first);
    EnableWindow(second, FALSE);
    m_log.Clear();
    EXPECT_EQ(nullptr, SetFocus(second));   // a disabled window cannot take it
    EXPECT_TRUE(m_log.Entries().empty());
    EXPECT_EQ(first, GetFocus());

    // Disabling the window with the focus leaves the focus nowhere.
    EnableWindow(first, FALSE);
    EXPECT_EQ(nullptr, GetFocus());
    EnableWindow(first, TRUE);
    SetFocus(first);
    // Hiding it hands the focus to the parent.
    ShowWindow(first, SW_HIDE);
    EXPECT_EQ(m_top, GetFocus());
    // Destroying a child with the focus does too.
    EnableWindow(second, TRUE);
    SetFocus(second);
    DestroyWindow(second);
    EXPECT_EQ(m_top, GetFocus());
}

TEST_F(MessageSequenceTest, ActivationTellsBothWindows)
{
    uitest::MessageLog log;
    HWND a = uitest::CreateLogged(log, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    HWND b = uitest::CreateLogged(log, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    log.Name(a, "a");
    log.Name(b, "b");
    SetActiveWindow(a);
    log.Clear();
    EXPECT_EQ(a, SetActiveWindow(b));
    static const ExpectedMsg kActivateB[] = {
        {WM_NCACTIVATE, kWindow | kWParam, FALSE, 0, "a"},
        {WM_ACTIVATE, kWindow | kWParam, WA_INACTIVE, 0, "a"},
        {WM_NCACTIVATE, kWindow | kWParam, TRUE, 0, "b"},
        {WM_ACTIVATE, kWindow | kWParam, WA_ACTIVE, 0, "b"},
        {WM_KILLFOCUS, kWindow, 0, 0, "a"},
        {WM_SETFOCUS, kWindow, 0, 0, "b"},
    };
    EXPECT_SEQUENCE(log, kActivateB);
    EXPECT_EQ(b, GetActiveWindow());
    EXPECT_EQ(b, GetTopWindow(nullptr));   // the active window came to the top
    DestroyWindow(a);
    DestroyWindow(b);
    EXPECT_EQ(nullptr, GetActiveWindow());
}

TEST_F(MessageSequenceTest, CaptureChangesAreAnnounced)
{
    HWND first = Child("first");
    HWND second = Child("second");
    m_log.Clear();
    EXPECT_EQ(nullptr, SetCapture(first));
    EXPECT_TRUE(m_log.Entries().empty());
    EXPECT_EQ(first, SetCapture(second));
    static const ExpectedMsg kTaken[] = {{WM_CAPTURECHANGED, kWindow, 0, 0, "first"}};
    EXPECT_SEQUENCE(m_log, kTaken);
    EXPECT_EQ(second, reinterpret_cast<HWND>(m_log.Entries()[0].lParam));
    m_log.Clear();
    EXPECT_TRUE(ReleaseCapture());
    static const ExpectedMsg kReleased[] = {{WM_CAPTURECHANGED, kWindow | kLParam, 0, 0, "second"}};
    EXPECT_SEQUENCE(m_log, kReleased);
    EXPECT_EQ(nullptr, GetCapture());
    // A window going away lets go of the capture.
    SetCapture(first);
    DestroyWindow(first);
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(MessageSequenceTest, EnablingAnnouncesOnlyChanges)
{
    HWND child = Child("child");
    m_log.Clear();
    EXPECT_FALSE(EnableWindow(child, FALSE));
    static const ExpectedMsg kDisable[] = {{WM_CANCELMODE}, {WM_ENABLE, kWParam, FALSE}};
    EXPECT_SEQUENCE(m_log, kDisable);
    m_log.Clear();
    EXPECT_TRUE(EnableWindow(child, FALSE));
    EXPECT_TRUE(m_log.Entries().empty());
    EXPECT_TRUE(EnableWindow(child, TRUE));
    static const ExpectedMsg kEnable[] = {{WM_ENABLE, kWParam, TRUE}};
    EXPECT_SEQUENCE(m_log, kEnable);
}

TEST_F(MessageSequenceTest, StylesAndTextGoThroughMessages)
{
    HWND child = Child("child");
    m_log.Clear();
    const LONG old = SetWindowLongW(child, GWL_STYLE, GetWindowLongW(child, GWL_STYLE) | WS_BORDER);
    EXPECT_EQ(0, old & static_cast<LONG>(WS_BORDER));
    static const ExpectedMsg kStyle[] = {
        {WM_STYLECHANGING, kWParam, static_cast<WPARAM>(GWL_STYLE)},
        {WM_STYLECHANGED, kWParam, static_cast<WPARAM>(GWL_STYLE)},
    };
    EXPECT_SEQUENCE(m_log, kStyle);
    // The frame follows the style only when told.
    RECT client;
    GetClientRect(child, &client);
    EXPECT_EQ(50, client.right);
    SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    GetClientRect(child, &client);
    EXPECT_EQ(48, client.right);

    m_log.Clear();
    EXPECT_TRUE(SetWindowTextW(child, L"文字"));
    static const ExpectedMsg kText[] = {{WM_SETTEXT}};
    EXPECT_SEQUENCE(m_log, kText);
    m_log.Clear();
    EXPECT_EQ(2, GetWindowTextLengthW(child));
    static const ExpectedMsg kLength[] = {{WM_GETTEXTLENGTH}};
    EXPECT_SEQUENCE(m_log, kLength);
}

TEST_F(MessageSequenceTest, WmCloseDestroysByDefault)
{
    HWND child = Child("child");
    SendMessageW(child, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(MessageSequenceTest, NestedSendsDeeperThanTheLimitFailInsteadOfOverflowing)
{
    struct Recurse {
        static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
        {
            if (message == WM_USER) return 1 + SendMessageW(hwnd, WM_USER, 0, 0);
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    };
    HWND child = Child("child");
    SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recurse::Proc));
    EXPECT_EQ(platform::ui::kMaxSendDepth, SendMessageW(child, WM_USER, 0, 0));
}
