// What the windowing tests share: a fixture that fails a test which leaves
// windows or GDI objects behind and starts each test on a clean desktop,
// fake module handles for resource tables, and Wine-style message logs.
//
// A message log belongs to one test. Windows of the test class
// (uitest::kLoggedClass) log to the log given as their creation parameter;
// framework windows log through CLoggedWnd. Expected sequences are tables:
//
//     // ShowWindow(SW_HIDE) on a visible child.
//     static const uitest::ExpectedMsg kHideChild[] = {
//         {WM_SHOWWINDOW, uitest::kWParam, FALSE},
//         {WM_WINDOWPOSCHANGING},
//         {WM_WINDOWPOSCHANGED},
//     };
//     EXPECT_SEQUENCE(log, kHideChild);
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/WindowManager.h"

namespace uitest {

// A module handle no loader will ever hand out (they are page-aligned
// addresses of mapped images); good as a registry key.
inline HINSTANCE FakeModule(uintptr_t n)
{
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x7A000001u) + n * 0x10u);
}

// Flags of an expected entry.
enum ExpectFlags : UINT {
    kAny = 0,
    kWParam = 1,      // wParam must match
    kLParam = 2,      // lParam must match
    kOptional = 4,    // may be missing
    kWindow = 8,      // must have gone to the named window
};

struct ExpectedMsg {
    UINT message;
    UINT flags = kAny;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    const char* window = nullptr;   // with kWindow: the name given to MessageLog::Name
};

struct LoggedMsg {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The name of a message for reports ("WM_SIZE"), or its number.
std::string MessageName(UINT message);

class MessageLog {
public:
    void Add(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Clear() { m_entries.clear(); }
    // Names a window for reports and kWindow entries.
    void Name(HWND hwnd, const std::string& name);
    // Stops logging messages that only add noise (WM_GETDLGCODE, WM_SETCURSOR, WM_NCHITTEST…).
    void Ignore(UINT message) { m_ignored.push_back(message); }
    const std::vector<LoggedMsg>& Entries() const { return m_entries; }
    std::vector<UINT> Messages() const;
    // How often `message` was logged (for `hwnd` when given).
    int Count(UINT message, HWND hwnd = nullptr) const;
    std::string WindowName(HWND hwnd) const;
    HWND WindowNamed(const std::string& name) const;

private:
    std::vector<LoggedMsg> m_entries;
    std::vector<std::pair<HWND, std::string>> m_names;
    std::vector<UINT> m_ignored;
};

::testing::AssertionResult CheckSequence(const MessageLog& log, const ExpectedMsg* expected, size_t count);

#define EXPECT_SEQUENCE(log, table) \
    EXPECT_TRUE(uitest::CheckSequence((log), (table), sizeof(table) / sizeof((table)[0])))

// The class whose windows log every message to the MessageLog given as the
// creation parameter, then pass it to DefWindowProc.
extern const wchar_t kLoggedClass[];
// The same without CS_DBLCLKS: a second click is a second WM_LBUTTONDOWN.
extern const wchar_t kLoggedClassNoDoubleClicks[];
HWND CreateLogged(MessageLog& log, DWORD style, int x, int y, int width, int height, HWND parent = nullptr,
                  UINT id = 0, DWORD exStyle = 0, LPCWSTR text = L"", LPCWSTR className = kLoggedClass);

// A framework window that logs what reaches its WindowProc.
class CLoggedWnd : public CWnd {
public:
    explicit CLoggedWnd(MessageLog& log) : m_log(log) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        m_log.Add(m_hWnd, message, wParam, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    MessageLog& m_log;
};

// Pixels of a window as written by SaveWindowImage: 0x00RRGGBB.
class SavedImage {
public:
    explicit SavedImage(const std::string& path);
    ~SavedImage();
    SavedImage(const SavedImage&) = delete;
    SavedImage& operator=(const SavedImage&) = delete;
    bool Loaded() const { return m_surface != nullptr; }
    int Width() const;
    int Height() const;
    // The colour at a pixel as a COLORREF; CLR_INVALID outside.
    COLORREF At(int x, int y) const;

private:
    struct _cairo_surface* m_surface = nullptr;
};

// Compiles resources/dialogs/PlatformTests.rc once and registers it for the
// test program; the ids below are its own.
const platform::ui::ResourceTable& TestResources();
enum TestResourceIds : UINT {
    IDD_TAB_ORDER = 9002,
    IDD_DATA = 9003,
    IDD_PANEL = 9004,
    IDD_FORM = 9005,
    IDD_PAGE_GENERAL = 9006,
    IDD_PAGE_DETAIL = 9007,
    IDD_NO_DEFAULT = 9008,
    IDR_TEST_MENU = 9100,
};

class WindowLeakCheck : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    int m_nWindowsBefore = 0;
    int m_nGdiBefore = 0;
};

// A frame of 800 × 600, active, with a pane filling it (id 100), both
// logging to m_log, which passes over the cursor's and the mouse's moves.
class FramePaneTest : public WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        m_frame = CreateLogged(m_log, WS_POPUP | WS_VISIBLE, 0, 0, 800, 600);
        m_pane = CreateLogged(m_log, WS_CHILD | WS_VISIBLE, 0, 0, 800, 600, m_frame, 100);
        ::SetActiveWindow(m_frame);
        m_log.Ignore(WM_SETCURSOR);
        m_log.Ignore(WM_NCHITTEST);
        m_log.Ignore(WM_MOUSEMOVE);
    }
    void TearDown() override
    {
        if (::IsWindow(m_frame)) ::DestroyWindow(m_frame);
        WindowLeakCheck::TearDown();
    }

    MessageLog m_log;
    HWND m_frame = nullptr;
    HWND m_pane = nullptr;
};

}  // namespace uitest
