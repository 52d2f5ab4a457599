// The windows on an X server of the test's own: what the server reports
// (pointer, keyboard, the manager's resize and close, exposure) arrives as
// the messages the windows handle, timers fall due on the real clock, and
// message boxes are real windows unless a recorder takes them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/MessageBox.h"
#include "platform/ui/display/MethodKeys.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/gdi/Gdi.h"
#include "tests/platform/ui/display/DisplayWindowTest.h"
#include "tests/support/InputMethodServer.h"
#include "tests/support/XvfbTest.h"

using displaytest::Process;
using displaytest::XvfbServer;
using platform::ui::Desktop;

namespace {

struct HeardMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<HeardMessage>& Log()
{
    static std::vector<HeardMessage> log;
    return log;
}

int g_paints = 0;

LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hwnd;
        TrackMouseEvent(&track);
        break;
    }
    case WM_PAINT: {
        ++g_paints;
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(hdc, &client, red);
        DeleteObject(red);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_CLOSE: Log().push_back({message, wParam, lParam}); return 0;   // kept open: the test closes it
    default: break;
    }
    Log().push_back({message, wParam, lParam});
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t kClass[] = L"DisplayTestWindow";

// How long a test keeps trying what waits for the input method to be
// connected: a machine busy with other work takes seconds for it.
class Deadline {
public:
    bool Passed() const { return std::chrono::steady_clock::now() >= m_until; }

private:
    const std::chrono::steady_clock::time_point m_until =
        std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                               std::chrono::duration<double>(displaytest::kPatience));
};

class XcbDisplayTest : public displaytest::DisplayWindowTest {
protected:
    void SetUp() override
    {
        DisplayWindowTest::SetUp();
        if (!Ready()) return;
        RegisterTestClass(kClass, &LoggingProc, CS_DBLCLKS, LoadCursorW(nullptr, IDC_CROSS));
        Log().clear();
        g_paints = 0;
    }
    void TearDown() override
    {
        if (m_hwnd) DestroyWindow(m_hwnd);
        DisplayWindowTest::TearDown();
    }
    // A 300 x 200 window at 100, 100, on the screen and active.
    void Open()
    {
        m_hwnd = CreateWindowExW(0, kClass, L"test", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(nullptr, m_hwnd);
        SetFocus(m_hwnd);
        ASSERT_TRUE(RunUntil([&] { return m_server.MappedWindows().size() == 1; }));
        Log().clear();
    }
    static const HeardMessage* Find(UINT message)
    {
        for (const HeardMessage& heard : Log())
            if (heard.message == message) return &heard;
        return nullptr;
    }
    static bool Heard(UINT message) { return Find(message) != nullptr; }
    // The characters the window heard.
    static std::wstring Typed()
    {
        std::wstring text;
        for (const HeardMessage& heard : Log())
            if (heard.message == WM_CHAR) text += static_cast<wchar_t>(heard.wParam);
        return text;
    }
    // Ctrl+Space, "a" and Return typed, and what the window heard of them
    // once the answer to Return came: "あ", which only the method makes
    // (Ctrl+Space turns its Japanese on or off), or the keys themselves.
    std::wstring ToggleAndType()
    {
        Log().clear();
        Input({"key", "ctrl+space", "type", "a"});
        Input({"key", "Return"});
        RunUntil([] {
            const std::wstring text = Typed();
            return text.find(L'あ') != std::wstring::npos || (!text.empty() && text.back() == L'\r');
        });
        return Typed();
    }
    // Whether the window talks to the input method and the method answers.
    // Until the window talks to it, the keys pass by; the method composing
    // "あ" shows that they went to it and back, its Japanese turned off again
    // that they come back as typed. Each round waits for the answer to its
    // own keys, however long a loaded machine takes to bring it. The method
    // runs all the while: one stopped while the window is still connecting
    // to it may leave the window never talking to it.
    bool MethodAnswers()
    {
        const Deadline until;
        bool composed = false;
        while (!composed && !until.Passed()) composed = ToggleAndType().find(L'あ') != std::wstring::npos;
        while (composed && !until.Passed())
            if (ToggleAndType() == L"a\r") return true;
        return false;
    }

    HWND m_hwnd = nullptr;
};

}  // namespace

TEST_F(XcbDisplayTest, PointerAndKeyboardBecomeTheMessagesOfTheWindowUnderThemAndOfTheFocus)
{
    Open();
    Input({"mousemove", "150", "130"});
    ASSERT_TRUE(RunUntil([] { return Heard(WM_MOUSEMOVE); }));
    EXPECT_EQ(MAKELPARAM(50, 30), Find(WM_MOUSEMOVE)->lParam);
    // Leaving the window for a place outside it ends the tracking.
    Input({"mousemove", "700", "600"});
    EXPECT_TRUE(RunUntil([] { return Heard(WM_MOUSELEAVE); }));

    Log().clear();
    Input({"mousemove", "200", "200", "click", "--repeat", "2", "--delay", "50", "1"});
    EXPECT_TRUE(RunUntil([] { return Heard(WM_LBUTTONDBLCLK); }));
    EXPECT_TRUE(Heard(WM_LBUTTONDOWN));
    Input({"click", "4"});
    ASSERT_TRUE(RunUntil([] { return Heard(WM_MOUSEWHEEL); }));
    EXPECT_EQ(120, static_cast<SHORT>(HIWORD(Find(WM_MOUSEWHEEL)->wParam)));

    Log().clear();
    Input({"key", "a", "key", "shift+1"});
    ASSERT_TRUE(RunUntil([] {
        int chars = 0;
        for (const auto& heard : Log()) chars += heard.message == WM_CHAR ? 1 : 0;
        return chars == 2;
    }));
    std::wstring typed;
    for (const auto& heard : Log())
        if (heard.message == WM_CHAR) typed += static_cast<wchar_t>(heard.wParam);
    EXPECT_EQ(L"a!", typed);
    ASSERT_TRUE(Heard(WM_KEYDOWN));
    EXPECT_EQ(static_cast<WPARAM>('A'), Find(WM_KEYDOWN)->wParam);
    EXPECT_TRUE(RunUntil([] { return Heard(WM_KEYUP); }));
}

TEST_F(XcbDisplayTest, TheServersKeyboardLayoutGivesTheCharactersTyped)
{
    Open();
    // A German keyboard: Z where a US one has Y, and keys for umlauts.
    Process layout;
    ASSERT_TRUE(layout.Start({"/usr/bin/setxkbmap", "de"}, m_server.Display(), "/dev/null", "/dev/null"));
    ASSERT_EQ(0, layout.Wait(displaytest::kPatience));
    auto typed = [] {
        std::wstring text;
        for (const auto& heard : Log())
            if (heard.message == WM_CHAR) text += static_cast<wchar_t>(heard.wParam);
        return text;
    };
    // The window takes the new layout once the server's notice of it has
    // come: until then Z's key still gives y.
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(displaytest::kPatience);
    bool taken = false;
    while (!taken && std::chrono::steady_clock::now() < until) {
        Log().clear();
        Input({"key", "z"});
        ASSERT_TRUE(RunUntil([&] { return !typed().empty() && Heard(WM_KEYUP); }));
        taken = typed() == L"z";
    }
    ASSERT_TRUE(taken) << "the window never took the German layout";
    Log().clear();
    Input({"key", "z", "key", "odiaeresis", "key", "shift+odiaeresis"});
    EXPECT_TRUE(RunUntil([&] { return typed().size() == 3; }));
    EXPECT_EQ(L"zöÖ", typed());
    ASSERT_TRUE(Heard(WM_KEYDOWN));
    EXPECT_EQ(static_cast<WPARAM>('Z'), Find(WM_KEYDOWN)->wParam);
}

TEST_F(XcbDisplayTest, TheManagersResizeIsWmSizeAndItsCloseOrAnotherClientsDestroyIsWmClose)
{
    Open();
    const std::vector<xcb_window_t> windows = m_server.MappedWindows();
    ASSERT_EQ(1u, windows.size());
    Input({"windowsize", std::to_string(windows.front()), "400", "250"});
    ASSERT_TRUE(RunUntil([] { return Heard(WM_SIZE); }));
    RECT client;
    GetClientRect(m_hwnd, &client);
    EXPECT_EQ(400, client.right);
    EXPECT_EQ(250, client.bottom);
    m_server.AskToClose(windows.front());
    EXPECT_TRUE(RunUntil([] { return Heard(WM_CLOSE); }));
    // Another client destroying the X window asks the same; the window,
    // still open, gets an X window again.
    Log().clear();
    Input({"windowclose", std::to_string(windows.front())});
    EXPECT_TRUE(RunUntil([] { return Heard(WM_CLOSE); }));
    EXPECT_TRUE(RunUntil([&] { return m_server.MappedWindows().size() == 1; }));
}

TEST_F(XcbDisplayTest, AnExposedWindowIsShownAgainFromItsImageWithoutRepainting)
{
    Open();
    ASSERT_TRUE(RunUntil([&] { return m_server.Grab(250, 200, 1, 1) == std::vector<uint32_t>{0xFF0000}; }));
    const int paints = g_paints;
    // Another client's window covers ours and goes.
    Process cover;
    ASSERT_TRUE(cover.Start({"/usr/bin/xdotool", "search", "--name", "^test$", "windowunmap", "--sync", "windowmap",
                             "--sync"},
                            m_server.Display(), "/dev/null", "/dev/null"));
    RunUntil([&] { return cover.Wait(0) == 0; });
    EXPECT_TRUE(RunUntil([&] { return m_server.Grab(250, 200, 1, 1) == std::vector<uint32_t>{0xFF0000}; }));
    EXPECT_EQ(paints, g_paints);
}

TEST_F(XcbDisplayTest, AnOwnedPopupStaysAboveItsOwnerOnTheScreenWhenTheOwnerIsRaisedOrActivated)
{
    Open();
    const HWND owned = CreateWindowExW(0, kClass, L"owned", WS_POPUP | WS_VISIBLE, 150, 150, 100, 80, m_hwnd, nullptr,
                                       nullptr, nullptr);
    ASSERT_NE(nullptr, owned);
    ASSERT_TRUE(RunUntil([&] { return m_server.MappedWindows().size() == 2; }));
    // The server lists its windows from the bottom up.
    auto ownedOnTop = [&] {
        const std::vector<xcb_window_t> windows = m_server.MappedWindows();
        int x = 0;
        int y = 0;
        return windows.size() == 2 && m_server.Origin(windows.back(), x, y) && x == 150 && y == 150;
    };
    for (int way = 0; way < 2; ++way) {
        if (way == 0)
            SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        else
            SetActiveWindow(m_hwnd);
        // The owner moved afterwards: the server takes one client's requests
        // in order, so once it shows the owner at its new place it has
        // stacked the windows as the window layer asked.
        const int x = 100 + 10 * (way + 1);
        SetWindowPos(m_hwnd, nullptr, x, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(RunUntil([&] {
            for (xcb_window_t window : m_server.MappedWindows()) {
                int left = 0;
                int top = 0;
                if (m_server.Origin(window, left, top) && left == x && top == 100) return true;
            }
            return false;
        }));
        EXPECT_TRUE(ownedOnTop()) << (way == 0 ? "raised" : "activated");
        SetActiveWindow(owned);
    }
    DestroyWindow(owned);
}

TEST_F(XcbDisplayTest, ThePointerShowsTheCursorTheWindowChose)
{
    Open();
    const xcb_window_t window = m_server.MappedWindows().front();
    Input({"mousemove", "150", "130"});
    ASSERT_TRUE(RunUntil([] { return GetCursor() == LoadCursorW(nullptr, IDC_CROSS); }));
    EXPECT_TRUE(RunUntil([&] { return m_server.HasOwnCursor(window); }));
    EXPECT_TRUE(m_server.ShowsItsCursor(window));
}

TEST_F(XcbDisplayTest, TimersFallDueOnTheRealClock)
{
    Open();
    const auto start = std::chrono::steady_clock::now();
    SetTimer(m_hwnd, 7, 60, nullptr);
    ASSERT_TRUE(RunUntil([] { return Heard(WM_TIMER); }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(55));
    KillTimer(m_hwnd, 7);
}

namespace {

// A person who waits for a window to come up on the screen and presses
// `key` until none is left.
std::thread Answer(XvfbServer& server, const std::string& key)
{
    return std::thread([&server, key] {
        auto none = [&] { return server.MappedWindows().empty(); };
        if (!displaytest::WaitFor([&] { return !none(); })) return;
        const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(displaytest::kPatience);
        while (!none() && std::chrono::steady_clock::now() < until) {
            server.Input({"key", key});
            displaytest::WaitFor(none, 0.5);   // then, the box still up, again
        }
    });
}

}  // namespace

TEST_F(XcbDisplayTest, AMessageBoxIsAWindowOnTheScreenAnsweredFromTheKeyboardUnlessARecorderTakesIt)
{
    std::thread person = Answer(m_server, "Escape");
    EXPECT_EQ(IDCANCEL, MessageBoxW(nullptr, L"保存しますか?", L"確認", MB_OKCANCEL));
    // The first answer is over before the second box comes up.
    person.join();
    std::thread again = Answer(m_server, "Return");
    EXPECT_EQ(IDNO, MessageBoxW(nullptr, L"保存しますか?", L"確認", MB_YESNO | MB_DEFBUTTON2));
    again.join();
    {
        platform::ui::MessageBoxRecorder recorder;
        EXPECT_EQ(IDOK, MessageBoxW(nullptr, L"記録", L"確認", MB_OKCANCEL));
        EXPECT_EQ(1, recorder.Count());
    }
    EXPECT_TRUE(m_server.MappedWindows().empty());
}

TEST_F(XcbDisplayTest, AnInputMethodsCommittedJapaneseArrivesAsCharactersOfAProcessedKeyAndOtherKeysPassThrough)
{
    // A Japanese input method on the test's server, named as a person names
    // it, then the windows attached.
    Desktop::DetachDisplay();
    displaytest::InputMethodServer method;
    START_INPUT_METHOD(method, m_server);
    displaytest::InputMethodServer::Named named;
    std::string error;
    ASSERT_TRUE(Desktop::AttachDisplay(m_server.Display().c_str(), &error)) << error;
    Open();
    auto typed = [] {
        std::wstring text;
        for (const auto& heard : Log())
            if (heard.message == WM_CHAR) text += static_cast<wchar_t>(heard.wParam);
        return text;
    };
    // The method is listening once Ctrl+Space turns it on: then romaji
    // typed are composed, and Return commits them.
    // Until the window is talking to it, the keys pass by it: then a plain
    // "a" and Return's carriage return arrive, and the method is still off.
    bool listening = false;
    for (const Deadline until; !until.Passed() && !listening;) {
        Log().clear();
        Input({"key", "ctrl+space", "type", "a"});
        Input({"key", "Return"});
        ASSERT_TRUE(RunUntil([&] {
            const std::wstring text = typed();
            return text == L"あ" || (!text.empty() && text.back() == L'\r');
        })) << "neither composed nor passed by";
        listening = typed() == L"あ";
    }
    ASSERT_TRUE(listening) << "the input method never composed";

    Log().clear();
    Input({"type", "nihonn"});
    Input({"key", "Return"});
    EXPECT_TRUE(RunUntil([&] { return typed().size() >= 3; }));
    EXPECT_EQ(L"にほん", typed());
    std::vector<WPARAM> downs;
    for (const auto& heard : Log())
        if (heard.message == WM_KEYDOWN) downs.push_back(heard.wParam);
    EXPECT_EQ(std::vector<WPARAM>{VK_PROCESSKEY}, downs) << "only the commit is a key the window hears";

    // Switched off, the method hands the keys back: they are the layout's again.
    Log().clear();
    Input({"key", "ctrl+space", "key", "a"});
    auto heardKey = [](UINT message, WPARAM vk) {
        for (const auto& heard : Log())
            if (heard.message == message && heard.wParam == vk) return true;
        return false;
    };
    EXPECT_TRUE(RunUntil([&] { return typed() == L"a" && heardKey(WM_KEYUP, 'A'); }));
    EXPECT_TRUE(heardKey(WM_KEYDOWN, 'A'));
    EXPECT_EQ(0, GetKeyState(VK_CONTROL) & 0x8000) << "Ctrl is let go of as the method hands it back";
}

// Ctrl let go of while another client held the keyboard (as a window
// manager's shortcut does): the release never comes to the windows, and the
// next click, whose state says Ctrl is up, must not be a Ctrl+click.
TEST_F(XcbDisplayTest, AModifierLetGoOfUnderAnotherClientsGrabIsUpAtTheNextClick)
{
    Open();
    Input({"keydown", "ctrl"});
    ASSERT_TRUE(RunUntil([] { return Heard(WM_KEYDOWN); }));
    ASSERT_EQ(static_cast<WPARAM>(VK_CONTROL), Find(WM_KEYDOWN)->wParam);

    xcb_connection_t* other = xcb_connect(m_server.Display().c_str(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(other));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    auto controlHeld = [&] {
        xcb_query_pointer_reply_t* pointer = xcb_query_pointer_reply(other, xcb_query_pointer(other, root), nullptr);
        const bool held = pointer && (pointer->mask & XCB_MOD_MASK_CONTROL);
        std::free(pointer);
        return held;
    };
    xcb_grab_keyboard_reply_t* grab = xcb_grab_keyboard_reply(
        other, xcb_grab_keyboard(other, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool grabbed = grab && grab->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(grab);
    bool released = false;
    if (grabbed) {
        released = m_server.Input({"keyup", "ctrl"}) && displaytest::WaitFor([&] { return !controlHeld(); });
        xcb_ungrab_keyboard(other, XCB_CURRENT_TIME);
    }
    xcb_disconnect(other);
    ASSERT_TRUE(grabbed);
    ASSERT_TRUE(released);

    Log().clear();
    Input({"mousemove", "200", "200", "click", "1"});
    ASSERT_TRUE(RunUntil([] { return Heard(WM_LBUTTONUP); }));
    ASSERT_TRUE(Heard(WM_LBUTTONDOWN));
    EXPECT_EQ(0u, Find(WM_LBUTTONDOWN)->wParam & MK_CONTROL);
    EXPECT_EQ(0, GetKeyState(VK_CONTROL) & 0x8000);
    ASSERT_TRUE(Heard(WM_KEYUP)) << "the window never heard Ctrl go up";
    EXPECT_EQ(static_cast<WPARAM>(VK_CONTROL), Find(WM_KEYUP)->wParam);
}

// Keys handed to a slow input method, then a click: the window hears the
// keys before the click, as they were given; and a method that does not
// answer holds the click back for a while only.
TEST_F(XcbDisplayTest, AClickRightAfterTypingWaitsForTheKeysTheInputMethodStillHoldsButNotForever)
{
    Desktop::DetachDisplay();
    displaytest::InputMethodServer method;
    START_INPUT_METHOD(method, m_server);
    displaytest::InputMethodServer::Named named;
    std::string error;
    ASSERT_TRUE(Desktop::AttachDisplay(m_server.Display().c_str(), &error)) << error;
    Open();
    ASSERT_TRUE(MethodAnswers()) << "the keys never went to the input method and back";
    Log().clear();
    ASSERT_TRUE(method.Hold());
    Input({"type", "bc"});
    Input({"mousemove", "200", "200", "click", "1"});
    RunUntil([] { return Heard(WM_LBUTTONDOWN); }, 0.2);
    ASSERT_TRUE(method.LetGo());
    auto endsWith = [](const std::wstring& text, const std::wstring& end) {
        return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
    };
    ASSERT_TRUE(RunUntil([&] { return Heard(WM_LBUTTONUP) && endsWith(Typed(), L"bc"); }));
    // Keys of an earlier try may come back too, but all before the click.
    std::wstring beforeClick;
    for (const HeardMessage& heard : Log()) {
        if (heard.message == WM_LBUTTONDOWN) break;
        if (heard.message == WM_CHAR) beforeClick += static_cast<wchar_t>(heard.wParam);
    }
    EXPECT_EQ(Typed(), beforeClick) << "the click came before the keys typed ahead of it";

    // A method that never answers: the click goes after a while, its keys
    // still out, and they follow once the method answers.
    // The wait is counted from before the key is typed: the key reaches the
    // method after that, so however slowly the machine types and clicks,
    // a click that waits is heard no sooner than the method's time later.
    Log().clear();
    ASSERT_TRUE(method.Hold());
    const auto typed = std::chrono::steady_clock::now();
    Input({"type", "d"});
    Input({"click", "1"});
    const bool heard = RunUntil([] { return Heard(WM_LBUTTONUP); });
    const auto waited = std::chrono::steady_clock::now() - typed;
    ASSERT_TRUE(method.LetGo());
    ASSERT_TRUE(heard) << "the click never came while the method was held";
    EXPECT_EQ(std::wstring::npos, Typed().find(L'd'));
    EXPECT_GE(waited, std::chrono::milliseconds(platform::ui::display::MethodKeys::kAnswerMs - 1)) << "the click did not wait for the method";
    EXPECT_TRUE(RunUntil([&] { return endsWith(Typed(), L"d"); }));
}

namespace {

std::wstring& OtherTyped()
{
    static std::wstring typed;
    return typed;
}

// A second window, which notes the characters it hears.
LRESULT CALLBACK OtherProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR) OtherTyped() += static_cast<wchar_t>(wParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

// Under a window manager a click on another window moves the focus to it
// before the click itself arrives: that focus waits for the keys typed
// before it too, and they reach the window they were typed into.
TEST_F(XcbDisplayTest, UnderAWindowManagerKeysTypedBeforeAClickOnAnotherWindowReachTheWindowTheyWereTypedInto)
{
    if (access("/usr/bin/openbox", X_OK) != 0) GTEST_SKIP() << "openbox is not installed";
    Desktop::DetachDisplay();
    Process manager;
    ASSERT_TRUE(manager.Start({"/usr/bin/openbox"}, m_server.Display(), "/dev/null", "/dev/null"));
    ASSERT_TRUE(displaytest::WaitFor([&] { return m_server.Desktops() > 0; })) << "openbox did not start";
    displaytest::InputMethodServer method;
    START_INPUT_METHOD(method, m_server);
    displaytest::InputMethodServer::Named named;
    std::string error;
    ASSERT_TRUE(Desktop::AttachDisplay(m_server.Display().c_str(), &error)) << error;
    m_hwnd = CreateWindowExW(0, kClass, L"test", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(nullptr, m_hwnd);
    SetFocus(m_hwnd);
    ASSERT_TRUE(RunUntil([&] { return m_server.MappedWindows(true).size() == 1 && GetActiveWindow() == m_hwnd; }));
    ASSERT_TRUE(MethodAnswers()) << "the keys never went to the input method and back";
    // The other window, which the manager gives the focus as it comes; the
    // first takes it back.
    WNDCLASSEXW other = {};
    other.cbSize = sizeof(other);
    other.lpfnWndProc = &OtherProc;
    other.lpszClassName = L"DisplayTestOtherWindow";
    RegisterClassExW(&other);
    OtherTyped().clear();
    HWND second = CreateWindowExW(0, other.lpszClassName, L"other", WS_POPUP | WS_VISIBLE, 600, 100, 300, 200, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, second);
    ASSERT_TRUE(RunUntil([&] { return m_server.MappedWindows(true).size() == 2 && GetActiveWindow() == second; }));
    RunUntil([] { return false; }, 0.3);
    SetActiveWindow(m_hwnd);
    SetFocus(m_hwnd);
    ASSERT_TRUE(RunUntil([&] { return GetActiveWindow() == m_hwnd; }));
    RunUntil([] { return false; }, 0.3);
    ASSERT_EQ(m_hwnd, GetActiveWindow());
    ASSERT_TRUE(MethodAnswers()) << "the keys never went to the input method and back";
    ASSERT_EQ(L"", OtherTyped());
    Log().clear();
    ASSERT_TRUE(method.Hold());
    Input({"type", "bc"});
    Input({"mousemove", "750", "200", "click", "1"});
    RunUntil([&] { return GetActiveWindow() == second; }, 0.2);
    ASSERT_TRUE(method.LetGo());
    EXPECT_TRUE(RunUntil([&] { return GetActiveWindow() == second && Typed().find(L"bc") != std::wstring::npos; }))
        << "active: " << (GetActiveWindow() == second ? "the other window" : "the first");
    EXPECT_EQ(L"", OtherTyped()) << "keys typed into the first window reached the one clicked on";
    DestroyWindow(second);
    UnregisterClassW(other.lpszClassName, nullptr);
}

namespace {

// What each field heard typed.
std::map<HWND, std::wstring>& FieldText()
{
    static std::map<HWND, std::wstring> text;
    return text;
}

// A field of a window: takes the focus when clicked, and notes its characters.
LRESULT CALLBACK FieldProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN) SetFocus(hwnd);
    if (message == WM_CHAR) FieldText()[hwnd] += static_cast<wchar_t>(wParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The test's window with the input method on the server, talking to it, and
// two fields side by side in it: the first (screen x 110 to 240) has the focus.
class LateInputMethodTest : public XcbDisplayTest {
protected:
    void SetUp() override
    {
        XcbDisplayTest::SetUp();
        if (!Ready()) return;
        Desktop::DetachDisplay();
        START_INPUT_METHOD(m_method, m_server);
        std::string error;
        ASSERT_TRUE(Desktop::AttachDisplay(m_server.Display().c_str(), &error)) << error;
        Open();
        ASSERT_TRUE(MethodAnswers()) << "the keys never went to the input method and back";
        WNDCLASSEXW field = {};
        field.cbSize = sizeof(field);
        field.lpfnWndProc = &FieldProc;
        field.lpszClassName = kFieldClass;
        RegisterClassExW(&field);
        FieldText().clear();
        m_first = CreateWindowExW(0, kFieldClass, L"", WS_CHILD | WS_VISIBLE, 10, 10, 130, 40, m_hwnd, nullptr,
                                  nullptr, nullptr);
        m_second = CreateWindowExW(0, kFieldClass, L"", WS_CHILD | WS_VISIBLE, 160, 10, 130, 40, m_hwnd, nullptr,
                                   nullptr, nullptr);
        ASSERT_TRUE(m_first && m_second);
        SetFocus(m_first);
    }
    void TearDown() override
    {
        if (m_hwnd) DestroyWindow(m_hwnd);
        m_hwnd = nullptr;
        UnregisterClassW(kFieldClass, nullptr);
        XcbDisplayTest::TearDown();
    }
    // Ctrl+Space turns the method's Japanese on; until the window talks to
    // it, the keys pass by and "a" and Return's carriage return arrive.
    void TurnJapaneseOn()
    {
        bool composing = false;
        for (const Deadline until; !until.Passed() && !composing;) {
            FieldText().clear();
            Input({"key", "ctrl+space", "type", "a"});
            Input({"key", "Return"});
            ASSERT_TRUE(RunUntil([&] {
                const std::wstring text = FieldText()[m_first];
                return text == L"あ" || (!text.empty() && text.back() == L'\r');
            })) << "neither composed nor passed by";
            composing = FieldText()[m_first] == L"あ";
        }
        ASSERT_TRUE(composing) << "the input method never composed";
        FieldText().clear();
    }
    // Clicks into `field`, `typedBehind` given right after, and waits until
    // the click is read (with the method stopped: it is past the time a click
    // waits for it).
    void ClickInto(HWND field, const std::vector<std::string>& typedBehind)
    {
        std::vector<std::string> input = {"mousemove", field == m_first ? "175" : "325", "130", "click", "1"};
        input.insert(input.end(), typedBehind.begin(), typedBehind.end());
        Input(input);
        ASSERT_TRUE(RunUntil([&] { return GetFocus() == field; })) << "the click was never read";
    }

    static constexpr const wchar_t* kFieldClass = L"DisplayTestField";
    displaytest::InputMethodServer m_method;
    displaytest::InputMethodServer::Named m_named;
    HWND m_first = nullptr;
    HWND m_second = nullptr;
};

}  // namespace

// Typed into one field, a click into the other, typed there: the method
// stopped all along, past the time the click waits for it. Its answers come
// only then, and each key goes where it was typed, in the order typed.
TEST_F(LateInputMethodTest, KeysTheMethodAnswersAfterAClickWasReadReachTheFieldTheyWereTypedInto)
{
    ASSERT_TRUE(m_method.Hold());
    Input({"type", "bc"});
    // "d" is typed while the click waits (or, on a slow machine, after it
    // was read): either way it is the second field's.
    ClickInto(m_second, {"type", "d"});
    Input({"type", "e"});
    ASSERT_TRUE(m_method.LetGo());
    EXPECT_TRUE(RunUntil([&] { return FieldText()[m_first].size() + FieldText()[m_second].size() >= 4; }));
    EXPECT_EQ(L"bc", FieldText()[m_first]);
    EXPECT_EQ(L"de", FieldText()[m_second]);
}

// The same with Japanese composed by the method: what it commits for the keys
// typed before the click goes where they were typed, and what is still being
// composed when the click comes is finished there, whether the click waited
// for the method or came long after the last key.
TEST_F(LateInputMethodTest, TextTheMethodCommitsAfterAClickWasReadReachesTheFieldItWasTypedInto)
{
    TurnJapaneseOn();
    if (HasFatalFailure()) return;
    // Committed before the click.
    ASSERT_TRUE(m_method.Hold());
    Input({"type", "ka"});
    Input({"key", "Return"});
    ClickInto(m_second, {});
    Input({"type", "sa"});
    Input({"key", "Return"});
    ASSERT_TRUE(m_method.LetGo());
    EXPECT_TRUE(RunUntil([&] { return !FieldText()[m_first].empty() && !FieldText()[m_second].empty(); }));
    EXPECT_EQ(L"か", FieldText()[m_first]);
    EXPECT_EQ(L"さ", FieldText()[m_second]);
    // Still being composed when the click comes.
    ASSERT_TRUE(m_method.Hold());
    Input({"type", "ka"});
    ClickInto(m_first, {});
    Input({"type", "sa"});
    Input({"key", "Return"});
    ASSERT_TRUE(m_method.LetGo());
    EXPECT_TRUE(RunUntil([&] { return FieldText()[m_first].size() >= 2 && FieldText()[m_second].size() >= 2; }));
    EXPECT_EQ(L"かさ", FieldText()[m_first]);
    EXPECT_EQ(L"さか", FieldText()[m_second]);
    // Composed with the method answering, and a click longer after the last
    // key than a click waits for one: the click is read at once, and what is
    // being composed is finished in the field it leaves.
    Input({"type", "ka"});
    RunUntil([] { return false; }, 1.2 * platform::ui::display::MethodKeys::kAnswerMs / 1000);
    ClickInto(m_second, {});
    Input({"type", "sa"});
    Input({"key", "Return"});
    EXPECT_TRUE(RunUntil([&] { return FieldText()[m_first].size() + FieldText()[m_second].size() >= 6; }));
    EXPECT_EQ(L"かさか", FieldText()[m_first]);
    EXPECT_EQ(L"さかさ", FieldText()[m_second]);
}

// A click while the method composes, the method answering: the display ends
// the composition with Return and then sends a key no one can type, which the
// method hands back. That key types nothing, in either field, and starts no
// composition of its own: "z", handed back with the method's Japanese off,
// comes after everything typed before it.
TEST_F(LateInputMethodTest, TheKeyTheDisplaySendsTheMethodAfterAClickTypesNothingIntoEitherField)
{
    TurnJapaneseOn();
    if (HasFatalFailure()) return;
    Input({"type", "ka"});
    ClickInto(m_second, {});
    Input({"type", "sa"});
    Input({"key", "Return", "key", "ctrl+space", "type", "z"});
    EXPECT_TRUE(RunUntil([&] {
        const std::wstring& second = FieldText()[m_second];
        return !second.empty() && second.back() == L'z';
    }));
    EXPECT_EQ(L"か", FieldText()[m_first]);
    EXPECT_EQ(L"さz", FieldText()[m_second]);
}

// すずき composed in the first field, the method stopped, "ko" typed, a
// click into the second field: the method answers none of the keys the
// display sends it at the click in the time it is waited for. The keys typed
// into the first field are given up, with a beep, and what the method commits
// for them when it goes on lands in neither field.
TEST_F(LateInputMethodTest, KeysAStoppedMethodNeverAnsweredBeforeAClickAreGivenUpWithABeepAndLandInNoField)
{
    TurnJapaneseOn();
    if (HasFatalFailure()) return;
    Input({"type", "suzuki"});
    ASSERT_TRUE(m_method.Hold());
    const int beeps = Desktop::BeepCount();
    Input({"type", "ko"});
    ClickInto(m_second, {});
    // However slowly the machine goes, the method is still stopped when
    // the display gives up.
    const bool told = RunUntil([&] { return Desktop::BeepCount() > beeps; },
                               3.0 * platform::ui::display::MethodKeys::kGiveUpMs / 1000);
    ASSERT_TRUE(m_method.LetGo());
    EXPECT_TRUE(told) << "the keys given up were never told of";
    EXPECT_EQ(L"", FieldText()[m_first]) << "nothing was typed into the first field";
    Input({"type", "sa"});
    Input({"key", "Return", "key", "ctrl+space", "type", "z"});
    EXPECT_TRUE(RunUntil([&] {
        const std::wstring& second = FieldText()[m_second];
        return !second.empty() && second.back() == L'z';
    }));
    EXPECT_EQ(L"", FieldText()[m_first]);
    EXPECT_EQ(L"さz", FieldText()[m_second]);
}
