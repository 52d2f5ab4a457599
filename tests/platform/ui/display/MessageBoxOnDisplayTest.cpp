// Message boxes on an X server of the test's own, at the large and the small
// screen size: a box is sized to its whole text in the font it draws it in,
// however long the text and whatever it wraps at, so that no line is cut;
// the text stands above the buttons, the box on the screen, and the screen
// shows the text as it is laid out.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/MessageBox.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Image.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "tests/support/PngImage.h"
#include "tests/support/XvfbTest.h"

using displaytest::XvfbServer;
using platform::ui::Desktop;

namespace {

struct ScreenSize {
    int width, height;
};

// How the box's text control lays its text out (a left-aligned static).
const UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

// What the owner's timer does while a box runs over it.
std::function<void()> g_tick;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && g_tick) g_tick();
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t kClass[] = L"MessageBoxOwner";
const wchar_t kCaption[] = L"無効値です";

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64] = {0};
    GetClassNameW(hwnd, name, 64);
    return name;
}

RECT ScreenRect(HWND hwnd)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(hwnd, &rect);
    return rect;
}

// What a box showed, measured while it ran.
struct Measured {
    bool seen = false;
    RECT box = {0, 0, 0, 0};          // the box on the screen
    RECT client = {0, 0, 0, 0};       // its client area on the screen
    RECT text = {0, 0, 0, 0};         // its text control on the screen
    int laidOutHeight = 0;            // the text wrapped at the control's width, in its font
    int laidOutWidth = 0;
    int lineHeight = 0;
    int buttonsTop = 0;               // the highest top of its buttons on the screen
    int shownDifferently = -1;        // the text control's pixels on the screen unlike the laid-out text
};

class MessageBoxOnDisplayTest : public ::testing::TestWithParam<ScreenSize> {
protected:
    void SetUp() override
    {
        START_XVFB(m_server, GetParam().width, GetParam().height);
        std::string error;
        ASSERT_TRUE(Desktop::AttachDisplay(m_server.Display().c_str(), &error)) << error;
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &OwnerProc;
        wc.lpszClassName = kClass;
        RegisterClassExW(&wc);
        m_owner = CreateWindowExW(0, kClass, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(nullptr, m_owner);
    }
    void TearDown() override
    {
        g_tick = nullptr;
        if (m_owner) DestroyWindow(m_owner);
        Desktop::DetachDisplay();
        UnregisterClassW(kClass, nullptr);
        Desktop::Reset();
    }

    // Shows a box with the text over the owner and measures it while it
    // runs, once the screen shows its text as laid out (or after a while);
    // then answers it.
    Measured ShowAndMeasure(const wchar_t* text)
    {
        Measured measured;
        // A box shows within moments; one still unlike its text when a run
        // has plainly gone wrong is measured as it stands.
        const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(displaytest::kPatience);
        g_tick = [&] {
            HWND box = FindWindowW(nullptr, kCaption);
            if (!box || !IsWindowVisible(box)) return;
            Measure(box, measured);
            if (measured.shownDifferently != 0 && std::chrono::steady_clock::now() < until) return;
            g_tick = nullptr;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        };
        SetTimer(m_owner, 1, 50, nullptr);
        MessageBoxW(m_owner, text, kCaption, MB_OK | MB_ICONEXCLAMATION);
        KillTimer(m_owner, 1);
        return measured;
    }

    void Measure(HWND box, Measured& measured)
    {
        measured.seen = true;
        measured.box = ScreenRect(box);
        RECT client = {0, 0, 0, 0};
        GetClientRect(box, &client);
        MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&client), 2);
        measured.client = client;
        HWND label = nullptr;
        measured.buttonsTop = measured.box.bottom;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (ClassOf(child) == L"Static") label = child;
            if (ClassOf(child) == L"Button")
                measured.buttonsTop = std::min<int>(measured.buttonsTop, ScreenRect(child).top);
        }
        if (!label) return;
        measured.text = ScreenRect(label);
        wchar_t text[1024] = {0};
        GetWindowTextW(label, text, 1024);
        const int width = measured.text.right - measured.text.left;
        const int height = measured.text.bottom - measured.text.top;

        // The text laid out as the control lays it out, and drawn so.
        HDC hdc = platform::gdi::CreateImageDC(std::max(width, 1), std::max(height, 1) + 200);
        SaveDC(hdc);
        SelectObject(hdc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        RECT laidOut = {0, 0, width, 0};
        DrawTextW(hdc, text, -1, &laidOut, kTextFormat | DT_CALCRECT);
        measured.laidOutHeight = laidOut.bottom;
        measured.laidOutWidth = laidOut.right;
        TEXTMETRICW metrics = {};
        GetTextMetricsW(hdc, &metrics);
        measured.lineHeight = metrics.tmHeight;
        RECT all = {0, 0, width, height + 200};
        HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
        FillRect(hdc, &all, face);
        DeleteObject(face);
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, RGB(0, 0, 0));
        RECT drawn = {0, 0, width, height + 200};
        DrawTextW(hdc, text, -1, &drawn, kTextFormat);
        // The screen in the rectangle the whole text takes (the control's,
        // or more where the text runs past it), ink against no ink.
        const int shownHeight = std::max(height, measured.laidOutHeight);
        const std::vector<uint32_t> screen = m_server.Grab(measured.text.left, measured.text.top, width, shownHeight);
        int differ = screen.size() == static_cast<size_t>(width) * shownHeight ? 0 : -1;
        for (int y = 0; differ >= 0 && y < shownHeight; ++y)
            for (int x = 0; x < width; ++x) {
                const COLORREF c = GetPixel(hdc, x, y);
                // The shades of a glyph's edge depend on what is under it.
                if (GetGValue(c) >= 60 && GetGValue(c) <= 160) continue;
                const bool ink = GetGValue(c) < 60;
                if (ink != testsupport::PngImage::IsDark(screen[static_cast<size_t>(y) * width + x])) ++differ;
            }
        RestoreDC(hdc, -1);
        DeleteDC(hdc);
        measured.shownDifferently = differ;
    }

    // The box holds its whole text: the text control is as high as the text
    // wrapped at its width, and as wide as its longest line; it lies in the
    // box's client area above the buttons; the box lies on the screen; and
    // the screen shows the text as laid out.
    void ExpectWhole(const Measured& m, int lines)
    {
        ASSERT_TRUE(m.seen) << "no box came up";
        EXPECT_EQ(lines * m.lineHeight, m.laidOutHeight) << "the text wraps into another number of lines";
        EXPECT_GE(m.text.bottom - m.text.top, m.laidOutHeight) << "the text control cuts the text's last lines";
        EXPECT_GE(m.text.right - m.text.left, m.laidOutWidth) << "a line runs past the text control";
        EXPECT_GE(m.text.left, m.client.left);
        EXPECT_GE(m.text.top, m.client.top);
        EXPECT_LE(m.text.right, m.client.right);
        EXPECT_LE(m.text.top + m.laidOutHeight, m.buttonsTop) << "the text runs under the buttons";
        EXPECT_GE(m.box.left, 0);
        EXPECT_GE(m.box.top, 0);
        EXPECT_LE(m.box.right, GetParam().width);
        EXPECT_LE(m.box.bottom, GetParam().height);
        EXPECT_EQ(0, m.shownDifferently) << "pixels of the text on the screen differ from the text laid out";
    }

    XvfbServer m_server;
    HWND m_owner = nullptr;
};

}  // namespace

TEST_P(MessageBoxOnDisplayTest, ARefusedBirthMonthShowsItsWholeTextOnOneLine)
{
    ExpectWhole(ShowAndMeasure(L"生年月日 月 must be between 1 and 12 ! "), 1);
}

TEST_P(MessageBoxOnDisplayTest, ARefusedMeasurementShowsItsWholeTextOnOneLine)
{
    ExpectWhole(ShowAndMeasure(L"The value of P amp. should be between 0 and 9999 !!!"), 1);
}

TEST_P(MessageBoxOnDisplayTest, ATextTooLongForOneLineWrapsAndTheBoxHoldsEveryLine)
{
    std::wstring text;
    for (int i = 0; i < 12; ++i) text += L"The value of P amp. should be between 0 and 9999 !!! ";
    const Measured measured = ShowAndMeasure(text.c_str());
    ASSERT_TRUE(measured.seen);
    ASSERT_GT(measured.lineHeight, 0);
    const int lines = measured.laidOutHeight / measured.lineHeight;
    EXPECT_GT(lines, 1) << "the text stood on one line";
    ExpectWhole(measured, lines);
}

TEST_P(MessageBoxOnDisplayTest, LinesBrokenInTheTextEachStandWholeOnTheirOwn)
{
    ExpectWhole(ShowAndMeasure(L"保存できませんでした。\n記録を確かめてください。\n\nもう一度保存しますか?"), 4);
}

INSTANTIATE_TEST_SUITE_P(LargeAndSmallScreen, MessageBoxOnDisplayTest,
                         ::testing::Values(ScreenSize{1920, 1080}, ScreenSize{1024, 768}),
                         [](const ::testing::TestParamInfo<ScreenSize>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });
