// Painting a parent whose update region is two places apart: its erase and
// its paint reach those places only, so the child standing between them,
// which was not asked to repaint, keeps what it drew.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

const wchar_t kFillClass[] = L"MorvelanceRegionFill";
const wchar_t kEraseClass[] = L"MorvelanceRegionErase";

std::vector<HWND> g_painted;

// Fills everything it may paint with its colour (GWLP_USERDATA).
LRESULT FillProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
    g_painted.push_back(hwnd);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
    RECT all = {-1000, -1000, 1000, 1000};
    FillRect(hdc, &all, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
}

// Paints nothing of its own: only its class brush erases it.
LRESULT EraseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
}

struct Classes {
    Classes()
    {
        WNDCLASSW fill = {0, &FillProc, 0, 0, nullptr, nullptr, nullptr,
                          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), nullptr, kFillClass};
        RegisterClassW(&fill);
        WNDCLASSW erase = {0, &EraseProc, 0, 0, nullptr, nullptr, nullptr,
                           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), nullptr, kEraseClass};
        RegisterClassW(&erase);
    }
} s_classes;

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 160, 0);

HWND Make(const wchar_t* cls, COLORREF color, DWORD style, int x, int y, int width, int height, HWND parent = nullptr)
{
    HWND hwnd = CreateWindowExW(0, cls, L"", style, x, y, width, height, parent, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(color));
    return hwnd;
}

COLORREF PixelOf(HWND hwnd, int x, int y)
{
    HDC hdc = GetDC(hwnd);
    const COLORREF color = GetPixel(hdc, x, y);
    ReleaseDC(hwnd, hdc);
    return color;
}

// A parent with three children in a row: a year, a month and a day field.
class PaintingUpdateRegionTest : public uitest::WindowLeakCheck {
protected:
    void MakeRow(const wchar_t* parentClass)
    {
        g_painted.clear();
        m_parent = Make(parentClass, kRed, WS_POPUP | WS_VISIBLE, 0, 0, 320, 100);
        ASSERT_NE(nullptr, m_parent);
        for (int i = 0; i < 3; ++i) {
            m_children[i] = Make(kFillClass, i == 1 ? kGreen : kBlue, WS_CHILD | WS_VISIBLE, 10 + 100 * i, 10, 80, 30,
                                 m_parent);
            ASSERT_NE(nullptr, m_children[i]);
        }
        UpdateWindow(m_parent);
        ASSERT_EQ(kGreen, PixelOf(m_children[1], 40, 15));
        g_painted.clear();
    }
    // The parent asked to repaint under the first and the last child (and
    // under the row's foot, far from the middle child), as controls that
    // redraw themselves through their parent do.
    void InvalidateEnds()
    {
        const RECT first = {10, 10, 90, 40};
        const RECT last = {210, 10, 290, 40};
        const RECT foot = {10, 80, 290, 90};
        InvalidateRect(m_parent, &first, TRUE);
        InvalidateRect(m_parent, &last, TRUE);
        InvalidateRect(m_parent, &foot, TRUE);
    }
    void TearDown() override
    {
        if (m_parent) DestroyWindow(m_parent);
        WindowLeakCheck::TearDown();
    }

    HWND m_parent = nullptr;
    HWND m_children[3] = {};
};

}  // namespace

TEST_F(PaintingUpdateRegionTest, TheParentsPaintReachesOnlyItsUpdateRegionAndTheMiddleChildKeepsItsPixels)
{
    MakeRow(kFillClass);
    InvalidateEnds();
    UpdateWindow(m_parent);
    // The two ends were repainted; the middle child neither painted nor was painted over.
    EXPECT_EQ(kGreen, PixelOf(m_children[1], 40, 15));
    EXPECT_EQ(kGreen, PixelOf(m_children[1], 2, 2));
    EXPECT_EQ(kBlue, PixelOf(m_children[0], 40, 15));
    EXPECT_EQ(kBlue, PixelOf(m_children[2], 40, 15));
    EXPECT_EQ(kRed, PixelOf(m_parent, 150, 85));
    for (HWND painted : g_painted) EXPECT_NE(m_children[1], painted);
}

TEST_F(PaintingUpdateRegionTest, AnEraseNowReachesOnlyTheUpdateRegion)
{
    MakeRow(kEraseClass);
    InvalidateEnds();
    // Erased at once, before any paint: the class brush goes where asked only.
    RECT bounds = {};
    EXPECT_TRUE(GetUpdateRect(m_parent, &bounds, TRUE));
    EXPECT_EQ(kGreen, PixelOf(m_children[1], 40, 15));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), PixelOf(m_parent, 150, 85));
    UpdateWindow(m_parent);
    EXPECT_EQ(kGreen, PixelOf(m_children[1], 40, 15));
}
