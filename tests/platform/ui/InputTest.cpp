// Mouse and keyboard input from the desktop driver: routing to the window
// under the cursor or with the capture, double clicks on the clock, the
// clip rectangle, leave and hover tracking, the key state, typed text,
// disabled windows, activation by click and hit testing.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::Desktop;
using platform::ui::MouseButton;
using uitest::ExpectedMsg;
using uitest::kLParam;
using uitest::kWindow;
using uitest::kWParam;

namespace {

class InputTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        m_top = uitest::CreateLogged(m_log, WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
        m_child = uitest::CreateLogged(m_log, WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, m_top, 1, WS_EX_NOPARENTNOTIFY);
        ASSERT_NE(nullptr, m_child);
        m_log.Name(m_top, "top");
        m_log.Name(m_child, "child");
        for (UINT noise : {WM_NCHITTEST, WM_SETCURSOR, WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_GETDLGCODE})
            m_log.Ignore(noise);
        Desktop::PumpMessages();
        m_log.Clear();
    }
    void TearDown() override
    {
        DestroyWindow(m_top);
        WindowLeakCheck::TearDown();
    }

    uitest::MessageLog m_log;
    HWND m_top = nullptr;
    HWND m_child = nullptr;
};

SHORT g_shiftAtKeyDown = 0;

LRESULT KeyStateProbe(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && wParam == 'Q') g_shiftAtKeyDown = GetKeyState(VK_SHIFT);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

// Desktop::Click on a child: move, press, release, in client coordinates.
static const ExpectedMsg kClick[] = {
    {WM_MOUSEMOVE, kWindow | kLParam, 0, MAKELPARAM(5, 6), "child"},
    {WM_LBUTTONDOWN, kWindow | kWParam | kLParam, MK_LBUTTON, MAKELPARAM(5, 6), "child"},
    {WM_LBUTTONUP, kWindow | kWParam | kLParam, 0, MAKELPARAM(5, 6), "child"},
};

TEST_F(InputTest, ClickGoesToTheWindowUnderTheCursor)
{
    Desktop::Click(m_child, 5, 6);
    EXPECT_SEQUENCE(m_log, kClick);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(100 + 10 + 5, cursor.x);
    EXPECT_EQ(100 + 10 + 6, cursor.y);
    EXPECT_EQ(m_child, WindowFromPoint(cursor));

    // A click beside the child reaches its parent.
    m_log.Clear();
    Desktop::Click(m_top, 200, 150, MouseButton::Right);
    EXPECT_EQ(1, m_log.Count(WM_RBUTTONDOWN, m_top));
    EXPECT_EQ(1, m_log.Count(WM_RBUTTONUP, m_top));
    EXPECT_EQ(0, m_log.Count(WM_RBUTTONDOWN, m_child));
}

// Two clicks within the double-click time and rectangle.
static const ExpectedMsg kDoubleClick[] = {
    {WM_MOUSEMOVE}, {WM_LBUTTONDOWN}, {WM_LBUTTONUP}, {WM_LBUTTONDBLCLK}, {WM_LBUTTONUP},
};

TEST_F(InputTest, AnOwnedPopupStaysAboveItsOwnerShownActivatedOrRaisedAfterIt)
{
    // The pop-up covers the middle of the top window that owns it.
    const HWND owned = uitest::CreateLogged(m_log, WS_POPUP | WS_VISIBLE, 150, 150, 100, 80, m_top);
    ASSERT_NE(nullptr, owned);
    const POINT overlap = {200, 190};
    const POINT ownerOnly = {110, 110};
    auto clickedOwned = [&] {
        Desktop::PumpMessages();
        Desktop::AdvanceClock(GetDoubleClickTime() + 1);   // a press of its own, not a double click
        m_log.Clear();
        Desktop::Click(overlap);
        return m_log.Count(WM_LBUTTONDOWN, owned) == 1 && m_log.Count(WM_LBUTTONDOWN, m_top) == 0;
    };

    ShowWindow(m_top, SW_HIDE);
    ShowWindow(m_top, SW_SHOW);
    EXPECT_TRUE(clickedOwned()) << "shown after its pop-up";
    Desktop::Click(ownerOnly);
    EXPECT_EQ(m_top, GetActiveWindow());
    EXPECT_TRUE(clickedOwned()) << "activated by a click after its pop-up";
    SetActiveWindow(owned);
    SetActiveWindow(m_top);
    EXPECT_TRUE(clickedOwned()) << "activated after its pop-up";
    SetWindowPos(m_top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(clickedOwned()) << "raised after its pop-up";

    // A window nobody owns, shown later, still covers the pop-up.
    const HWND other = uitest::CreateLogged(m_log, WS_POPUP, 180, 170, 50, 50);
    ShowWindow(other, SW_SHOW);
    Desktop::PumpMessages();
    m_log.Clear();
    Desktop::Click(overlap);
    EXPECT_EQ(1, m_log.Count(WM_LBUTTONDOWN, other));
    EXPECT_EQ(0, m_log.Count(WM_LBUTTONDOWN, owned));
    DestroyWindow(other);
    DestroyWindow(owned);
}

TEST_F(InputTest, DoubleClicksFollowTheClockAndTheDistance)
{
    Desktop::DoubleClick(m_child, 20, 20);
    EXPECT_SEQUENCE(m_log, kDoubleClick);

    // A third click starts again.
    m_log.Clear();
    Desktop::Click(m_child, 20, 20);
    EXPECT_EQ(1, m_log.Count(WM_LBUTTONDOWN));
    EXPECT_EQ(0, m_log.Count(WM_LBUTTONDBLCLK));

    // The double-click time (500 ms) is inclusive.
    m_log.Clear();
    Desktop::AdvanceClock(1000);
    Desktop::Click(m_child, 20, 20);
    Desktop::AdvanceClock(GetDoubleClickTime());
    Desktop::Click(m_child, 20, 20);
    EXPECT_EQ(1, m_log.Count(WM_LBUTTONDBLCLK));

    m_log.Clear();
    Desktop::AdvanceClock(1000);
    Desktop::Click(m_child, 20, 20);
    Desktop::AdvanceClock(GetDoubleClickTime() + 1);
    Desktop::Click(m_child, 20, 20);
    EXPECT_EQ(0, m_log.Count(WM_LBUTTONDBLCLK));

    // Within two pixels of the first click, not three.
    m_log.Clear();
    Desktop::AdvanceClock(1000);
    Desktop::Click(m_child, 20, 20);
    Desktop::Click(m_child, 22, 22);
    EXPECT_EQ(1, m_log.Count(WM_LBUTTONDBLCLK));
    m_log.Clear();
    Desktop::AdvanceClock(1000);
    Desktop::Click(m_child, 20, 20);
    Desktop::Click(m_child, 23, 20);
    EXPECT_EQ(0, m_log.Count(WM_LBUTTONDBLCLK));
}

TEST_F(InputTest, WindowsWithoutDoubleClicksGetTwoPresses)
{
    HWND plain = uitest::CreateLogged(m_log, WS_CHILD | WS_VISIBLE, 150, 10, 50, 50, m_top, 2, WS_EX_NOPARENTNOTIFY, L"",
                                      uitest::kLoggedClassNoDoubleClicks);
    m_log.Clear();
    Desktop::DoubleClick(plain, 5, 5);
    EXPECT_EQ(2, m_log.Count(WM_LBUTTONDOWN, plain));
    EXPECT_EQ(0, m_log.Count(WM_LBUTTONDBLCLK, plain));
    DestroyWindow(plain);
}

TEST_F(InputTest, CaptureTakesEveryMouseMessage)
{
    SetCapture(m_child);
    m_log.Clear();
    // Far outside the child, even outside every window.
    Desktop::MoveMouse(POINT{600, 500});
    Desktop::MouseDown(POINT{5, 5});
    Desktop::MouseUp(POINT{5, 5});
    ASSERT_EQ(3u, m_log.Entries().size());
    for (const auto& entry : m_log.Entries()) EXPECT_EQ(m_child, entry.hwnd);
    EXPECT_EQ(MAKELPARAM(600 - 110, 500 - 110), m_log.Entries()[0].lParam);
    const LPARAM negative = m_log.Entries()[1].lParam;
    EXPECT_EQ(-105, static_cast<SHORT>(LOWORD(negative)));
    ReleaseCapture();
    m_log.Clear();
    Desktop::MoveMouse(POINT{600, 500});
    EXPECT_TRUE(m_log.Entries().empty());   // nothing there now
}

TEST_F(InputTest, ClipCursorKeepsTheCursorInside)
{
    RECT clip = {100, 100, 200, 150};
    EXPECT_TRUE(ClipCursor(&clip));
    RECT read;
    GetClipCursor(&read);
    EXPECT_EQ(150, read.bottom);
    Desktop::MoveMouse(POINT{500, 20});
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(199, cursor.x);
    EXPECT_EQ(100, cursor.y);
    EXPECT_TRUE(SetCursorPos(0, 400));
    GetCursorPos(&cursor);
    EXPECT_EQ(100, cursor.x);
    EXPECT_EQ(149, cursor.y);
    EXPECT_TRUE(ClipCursor(nullptr));
    GetClipCursor(&read);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), read.right);
    SetCursorPos(500, 20);
    GetCursorPos(&cursor);
    EXPECT_EQ(500, cursor.x);
}

TEST_F(InputTest, TrackedWindowsHearLeaveAndHoverOnce)
{
    Desktop::MoveMouse(m_child, 10, 10);
    TRACKMOUSEEVENT track = {sizeof(TRACKMOUSEEVENT), TME_LEAVE | TME_HOVER, m_child, HOVER_DEFAULT};
    EXPECT_TRUE(TrackMouseEvent(&track));
    TRACKMOUSEEVENT query = {sizeof(TRACKMOUSEEVENT), TME_QUERY, nullptr, 0};
    EXPECT_TRUE(TrackMouseEvent(&query));
    EXPECT_EQ(m_child, query.hwndTrack);
    EXPECT_EQ(static_cast<DWORD>(TME_LEAVE | TME_HOVER), query.dwFlags);
    m_log.Clear();
    Desktop::AdvanceClock(399);
    EXPECT_EQ(0, m_log.Count(WM_MOUSEHOVER));
    Desktop::AdvanceClock(1);
    EXPECT_EQ(1, m_log.Count(WM_MOUSEHOVER, m_child));
    Desktop::AdvanceClock(1000);
    EXPECT_EQ(1, m_log.Count(WM_MOUSEHOVER));   // once per request

    Desktop::MoveMouse(m_top, 250, 150);
    EXPECT_EQ(1, m_log.Count(WM_MOUSELEAVE, m_child));
    Desktop::MoveMouse(m_child, 10, 10);
    EXPECT_EQ(1, m_log.Count(WM_MOUSELEAVE, m_child));   // tracking ended with the leave

    // Asking for a window the cursor is not over answers at once.
    m_log.Clear();
    TRACKMOUSEEVENT elsewhere = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_top, 0};
    EXPECT_TRUE(TrackMouseEvent(&elsewhere));
    Desktop::PumpMessages();
    EXPECT_EQ(1, m_log.Count(WM_MOUSELEAVE, m_top));
    TRACKMOUSEEVENT bad = {0, TME_LEAVE, m_top, 0};
    EXPECT_FALSE(TrackMouseEvent(&bad));
}

TEST_F(InputTest, KeysGoToTheFocusAndTranslateToCharacters)
{
    SetFocus(m_child);
    m_log.Clear();
    Desktop::KeyPress('X');
    static const ExpectedMsg kKey[] = {
        {WM_KEYDOWN, kWindow | kWParam, 'X', 0, "child"},
        {WM_CHAR, kWindow | kWParam, 'x', 0, "child"},
        {WM_KEYUP, kWindow | kWParam, 'X', 0, "child"},
    };
    EXPECT_SEQUENCE(m_log, kKey);
    EXPECT_EQ(1, m_log.Entries()[0].lParam & 0xFFFF);   // repeat count
    EXPECT_NE(0, m_log.Entries()[2].lParam & static_cast<LPARAM>(0x80000000u));   // key going up

    // The key state follows the messages as they are read.
    SetWindowLongPtrW(m_child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeyStateProbe));
    g_shiftAtKeyDown = 0;
    Desktop::KeyPress('Q', platform::ui::kShift);
    EXPECT_LT(g_shiftAtKeyDown, 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

TEST_F(InputTest, TypedTextArrivesAsKeysOrAsCharacters)
{
    SetFocus(m_child);
    m_log.Clear();
    Desktop::TypeText(L"aB1\n心電図");
    std::vector<WPARAM> characters;
    for (const auto& entry : m_log.Entries())
        if (entry.message == WM_CHAR) characters.push_back(entry.wParam);
    EXPECT_EQ((std::vector<WPARAM>{L'a', L'B', L'1', L'\r', L'心', L'電', L'図'}), characters);
    EXPECT_EQ(5, m_log.Count(WM_KEYDOWN, m_child));   // a, Shift, B, 1, Return
    // Shift went down and up around the capital letter only.
    int shiftDowns = 0;
    for (const auto& entry : m_log.Entries())
        if (entry.message == WM_KEYDOWN && entry.wParam == VK_SHIFT) ++shiftDowns;
    EXPECT_EQ(1, shiftDowns);
}

// An input method answering keys typed into the child after the focus moved
// on: they reach the child, and no one once the child has gone.
TEST_F(InputTest, KeysForAControlTheFocusHasLeftReachThatControlWhileItLives)
{
    SetFocus(m_top);
    m_log.Clear();
    platform::ui::detail::PostKeyInput('X', true, m_child);
    platform::ui::detail::PostKeyInput('X', false, m_child);
    platform::ui::detail::PostCharInput(L'漢', m_child);
    Desktop::PumpMessages();
    static const ExpectedMsg kKey[] = {
        {WM_KEYDOWN, kWindow | kWParam, 'X', 0, "child"},
        {WM_CHAR, kWindow | kWParam, 'x', 0, "child"},
        {WM_KEYUP, kWindow | kWParam, 'X', 0, "child"},
        {WM_CHAR, kWindow | kWParam, L'漢', 0, "child"},
    };
    EXPECT_SEQUENCE(m_log, kKey);
    EXPECT_EQ(m_top, GetFocus());

    DestroyWindow(m_child);
    m_log.Clear();
    platform::ui::detail::PostKeyInput('Y', true, m_child);
    platform::ui::detail::PostCharInput(L'y', m_child);
    Desktop::PumpMessages();
    EXPECT_EQ(0u, m_log.Entries().size()) << "the focus heard a key typed into a control gone since";
    EXPECT_LT(GetKeyState('Y'), 0) << "the key is still down";
    platform::ui::detail::PostKeyInput('Y', false, m_child);
    Desktop::PumpMessages();
    EXPECT_GE(GetKeyState('Y'), 0);
}

TEST_F(InputTest, AltMakesSystemKeys)
{
    SetFocus(m_child);
    m_log.Clear();
    Desktop::KeyPress('F', platform::ui::kAlt);
    EXPECT_EQ(2, m_log.Count(WM_SYSKEYDOWN, m_child));   // Alt, then F with Alt held
    EXPECT_EQ(2, m_log.Count(WM_SYSKEYUP, m_child));
    EXPECT_EQ(0, m_log.Count(WM_KEYDOWN, m_child));
    EXPECT_EQ(1, m_log.Count(WM_SYSCHAR, m_child));
}

TEST_F(InputTest, DisabledWindowsHearNothing)
{
    EnableWindow(m_top, FALSE);
    m_log.Clear();
    Desktop::Click(m_child, 5, 5);
    EXPECT_EQ(0, m_log.Count(WM_LBUTTONDOWN));
    EXPECT_EQ(0, m_log.Count(WM_MOUSEMOVE));
    EnableWindow(m_top, TRUE);
    // A disabled child gives its parent the click.
    EnableWindow(m_child, FALSE);
    m_log.Clear();
    Desktop::Click(m_child, 5, 5);
    EXPECT_EQ(1, m_log.Count(WM_LBUTTONDOWN, m_top));
    EXPECT_EQ(0, m_log.Count(WM_LBUTTONDOWN, m_child));
}

TEST_F(InputTest, ClickingAnInactiveWindowActivatesIt)
{
    HWND other = uitest::CreateLogged(m_log, WS_POPUP | WS_VISIBLE, 500, 100, 100, 100);
    m_log.Name(other, "other");
    ASSERT_EQ(other, GetActiveWindow());
    m_log.Clear();
    Desktop::Click(m_child, 5, 5);
    EXPECT_EQ(m_top, GetActiveWindow());
    // The window is asked before it is activated, and activation comes before the press.
    const auto& entries = m_log.Entries();
    size_t ask = entries.size();
    size_t press = entries.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].message == WM_MOUSEACTIVATE && ask == entries.size()) ask = i;
        if (entries[i].message == WM_LBUTTONDOWN) press = i;
    }
    EXPECT_LT(ask, press);
    EXPECT_EQ(1, m_log.Count(WM_ACTIVATE, m_top));
    DestroyWindow(other);
}

TEST_F(InputTest, WheelGoesToTheFocusAndUpToTheParent)
{
    SetFocus(m_child);
    m_log.Clear();
    Desktop::Wheel(-240);
    ASSERT_EQ(2, m_log.Count(WM_MOUSEWHEEL));
    EXPECT_EQ(-240, static_cast<SHORT>(HIWORD(m_log.Entries()[0].wParam)));
    EXPECT_EQ(m_child, m_log.Entries()[0].hwnd);
    EXPECT_EQ(m_top, m_log.Entries()[1].hwnd);   // DefWindowProc passed it up
}

TEST_F(InputTest, ClicksOnTheFrameAreNonClientMessages)
{
    HWND framed = uitest::CreateLogged(m_log, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 300, 200, 150);
    m_log.Clear();
    RECT window;
    GetWindowRect(framed, &window);
    Desktop::Click(POINT{window.left + 50, window.top + 10});
    ASSERT_EQ(1, m_log.Count(WM_NCLBUTTONDOWN, framed));
    for (const auto& entry : m_log.Entries()) {
        if (entry.message == WM_NCLBUTTONDOWN) {
            EXPECT_EQ(static_cast<WPARAM>(HTCAPTION), entry.wParam);
        }
    }
    EXPECT_EQ(0, m_log.Count(WM_LBUTTONDOWN, framed));
    DestroyWindow(framed);
}

TEST_F(InputTest, StaticsLetTheMouseThroughUnlessTheyNotify)
{
    HWND label = CreateWindowExW(0, L"Static", L"label", WS_CHILD | WS_VISIBLE, 150, 100, 60, 20, m_top, nullptr,
                                 nullptr, nullptr);
    HWND notifying = CreateWindowExW(0, L"Static", L"link", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 150, 130, 60, 20, m_top,
                                     nullptr, nullptr, nullptr);
    POINT onLabel = {155, 105};
    ClientToScreen(m_top, &onLabel);
    EXPECT_EQ(m_top, WindowFromPoint(onLabel));
    POINT onLink = {155, 135};
    ClientToScreen(m_top, &onLink);
    EXPECT_EQ(notifying, WindowFromPoint(onLink));
    // Hidden windows are not there; nothing is outside every window.
    ShowWindow(notifying, SW_HIDE);
    EXPECT_EQ(m_top, WindowFromPoint(onLink));
    EXPECT_EQ(nullptr, WindowFromPoint(POINT{5, 5}));
    // The client-area search of a parent ignores transparency and visibility unless asked.
    POINT inParent = {155, 135};
    EXPECT_EQ(notifying, ChildWindowFromPoint(m_top, inParent));
    EXPECT_EQ(m_top, ChildWindowFromPointEx(m_top, inParent, CWP_SKIPINVISIBLE));
    EXPECT_EQ(nullptr, ChildWindowFromPoint(m_top, POINT{-1, 5}));
    DestroyWindow(label);
    DestroyWindow(notifying);
}

TEST_F(InputTest, ButtonsSetTheClassCursor)
{
    HWND button = CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE, 150, 100, 60, 20, m_top, nullptr,
                                  nullptr, nullptr);
    SetCursor(nullptr);
    Desktop::MoveMouse(button, 5, 5);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());
    DestroyWindow(button);
}
