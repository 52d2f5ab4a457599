// Painting: update regions and when WM_PAINT comes, erasing with the class
// brush, window DCs limited to their window, scrolled pixels, and window
// trees saved as PNG and probed at computed pixels.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "tests/platform/ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

using platform::ui::Desktop;

namespace {

const wchar_t kPaintClass[] = L"MorvelancePaintTest";

std::vector<HWND> g_painted;   // windows in the order their WM_PAINT came

// Fills the area to paint with the window's colour (GWLP_USERDATA).
LRESULT PaintProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
    g_painted.push_back(hwnd);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
    RECT all = {-1000, -1000, 1000, 1000};   // the DC keeps it inside the window
    FillRect(hdc, &all, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
}

struct PaintClass {
    PaintClass()
    {
        WNDCLASSW wc = {0, &PaintProc, 0, 0, nullptr, nullptr, nullptr,
                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), nullptr, kPaintClass};
        RegisterClassW(&wc);
    }
} s_paintClass;

HWND Painted(COLORREF color, DWORD style, int x, int y, int width, int height, HWND parent = nullptr)
{
    HWND hwnd = CreateWindowExW(0, kPaintClass, L"", style, x, y, width, height, parent, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(color));
    return hwnd;
}

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);

class PaintingTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        g_painted.clear();
    }
};

COLORREF PixelOf(HWND hwnd, int x, int y)
{
    HDC hdc = GetDC(hwnd);
    const COLORREF color = GetPixel(hdc, x, y);
    ReleaseDC(hwnd, hdc);
    return color;
}

}  // namespace

TEST_F(PaintingTest, UpdateRegionGrowsAndShrinks)
{
    HWND hwnd = Painted(kRed, WS_POPUP, 0, 0, 100, 100);
    RECT bounds;
    EXPECT_FALSE(GetUpdateRect(hwnd, &bounds, FALSE));   // hidden and never invalidated
    RECT a = {0, 0, 10, 10};
    RECT b = {20, 20, 30, 30};
    InvalidateRect(hwnd, &a, FALSE);
    InvalidateRect(hwnd, &b, FALSE);
    EXPECT_TRUE(GetUpdateRect(hwnd, &bounds, FALSE));
    EXPECT_EQ(0, bounds.left);
    EXPECT_EQ(30, bounds.bottom);
    ValidateRect(hwnd, &a);
    GetUpdateRect(hwnd, &bounds, FALSE);
    EXPECT_EQ(20, bounds.left);
    EXPECT_EQ(20, bounds.top);
    // Invalid areas outside the client area are cut off.
    RECT outside = {90, 90, 500, 500};
    InvalidateRect(hwnd, &outside, FALSE);
    GetUpdateRect(hwnd, &bounds, FALSE);
    EXPECT_EQ(100, bounds.right);
    ValidateRect(hwnd, nullptr);
    EXPECT_FALSE(GetUpdateRect(hwnd, &bounds, FALSE));
    EXPECT_FALSE(InvalidateRect(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x4242)), nullptr, TRUE));
    DestroyWindow(hwnd);
}

TEST_F(PaintingTest, InvertedRectanglesInvalidateAndValidateNothing)
{
    HWND hwnd = Painted(kRed, WS_POPUP, 0, 0, 100, 100);
    RECT bounds;
    const RECT inverted = {40, 40, 10, 10};
    InvalidateRect(hwnd, &inverted, FALSE);
    EXPECT_FALSE(GetUpdateRect(hwnd, &bounds, FALSE));
    const RECT all = {0, 0, 100, 100};
    InvalidateRect(hwnd, &all, FALSE);
    ValidateRect(hwnd, &inverted);
    ASSERT_TRUE(GetUpdateRect(hwnd, &bounds, FALSE));
    EXPECT_EQ(0, bounds.left);
    EXPECT_EQ(100, bounds.right);
    DestroyWindow(hwnd);
}

TEST_F(PaintingTest, ValidatingAroundAnInvalidStripLeavesOnlyTheStrip)
{
    HWND hwnd = Painted(kRed, WS_POPUP, 0, 0, 100, 100);
    const RECT all = {0, 0, 100, 100};
    InvalidateRect(hwnd, &all, FALSE);
    const RECT left = {0, 0, 40, 100};
    const RECT right = {60, 0, 100, 100};
    ValidateRect(hwnd, &left);
    ValidateRect(hwnd, &right);
    RECT bounds;
    ASSERT_TRUE(GetUpdateRect(hwnd, &bounds, FALSE));
    EXPECT_EQ(40, bounds.left);
    EXPECT_EQ(60, bounds.right);
    EXPECT_EQ(0, bounds.top);
    EXPECT_EQ(100, bounds.bottom);
    DestroyWindow(hwnd);
}

TEST_F(PaintingTest, OnlyVisibleWindowsPaintAndParentsComeFirst)
{
    HWND top = Painted(kRed, WS_POPUP, 0, 0, 100, 100);
    HWND child = Painted(kBlue, WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top);
    InvalidateRect(top, nullptr, TRUE);
    Desktop::PumpMessages();
    EXPECT_TRUE(g_painted.empty());   // the top-level window is hidden
    ShowWindow(top, SW_SHOW);
    Desktop::PumpMessages();
    EXPECT_EQ((std::vector<HWND>{top, child}), g_painted);
    g_painted.clear();
    Desktop::PumpMessages();
    EXPECT_TRUE(g_painted.empty());   // painting validated them
    DestroyWindow(top);
}

TEST_F(PaintingTest, ChildrenAreRepaintedWithTheirParentUnlessItClipsThem)
{
    HWND top = Painted(kRed, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = Painted(kBlue, WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top);
    UpdateWindow(top);
    RECT overlap = {0, 0, 15, 15};
    InvalidateRect(top, &overlap, TRUE);
    RECT bounds;
    ASSERT_TRUE(GetUpdateRect(child, &bounds, FALSE));
    EXPECT_EQ(0, bounds.left);   // the overlap in the child's coordinates
    EXPECT_EQ(5, bounds.right);
    UpdateWindow(top);
    SetWindowLongW(top, GWL_STYLE, GetWindowLongW(top, GWL_STYLE) | WS_CLIPCHILDREN);
    InvalidateRect(top, &overlap, TRUE);
    EXPECT_FALSE(GetUpdateRect(child, &bounds, FALSE));
    DestroyWindow(top);
}

TEST_F(PaintingTest, UpdateWindowPaintsAtOnceAndOnlyWhatIsInvalid)
{
    HWND top = Painted(kRed, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    EXPECT_TRUE(UpdateWindow(top));
    EXPECT_EQ(1u, g_painted.size());
    EXPECT_TRUE(UpdateWindow(top));
    EXPECT_EQ(1u, g_painted.size());
    EXPECT_EQ(kRed, PixelOf(top, 25, 25));
    EXPECT_FALSE(UpdateWindow(nullptr));
    DestroyWindow(top);
}

TEST_F(PaintingTest, BeginPaintErasesOnlyWhenAsked)
{
    uitest::MessageLog log;
    HWND hwnd = uitest::CreateLogged(log, WS_POPUP | WS_VISIBLE, 0, 0, 40, 40);
    Desktop::PumpMessages();
    log.Clear();
    RECT area = {5, 5, 15, 15};
    InvalidateRect(hwnd, &area, FALSE);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    ASSERT_NE(nullptr, hdc);
    EXPECT_EQ(0, log.Count(WM_ERASEBKGND));
    EXPECT_FALSE(ps.fErase);
    EXPECT_EQ(5, ps.rcPaint.left);
    EXPECT_EQ(15, ps.rcPaint.bottom);
    EXPECT_TRUE(EndPaint(hwnd, &ps));
    InvalidateRect(hwnd, &area, TRUE);
    hdc = BeginPaint(hwnd, &ps);
    EXPECT_EQ(1, log.Count(WM_ERASEBKGND));
    EXPECT_FALSE(ps.fErase);   // the class brush erased it
    // The DC is limited to the area to paint.
    RECT clip;
    GetClipBox(hdc, &clip);
    EXPECT_EQ(5, clip.left);
    EXPECT_EQ(15, clip.right);
    EndPaint(hwnd, &ps);
    DestroyWindow(hwnd);
}

TEST_F(PaintingTest, WindowDCsStayInsideTheirWindowAndItsAncestors)
{
    HWND top = Painted(kRed, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = Painted(kBlue, WS_CHILD | WS_VISIBLE, 60, 60, 60, 60, top);   // runs off the parent
    UpdateWindow(top);
    EXPECT_EQ(kBlue, PixelOf(top, 80, 80));
    HDC hdc = GetDC(child);
    HBRUSH green = CreateSolidBrush(kGreen);
    RECT huge = {-500, -500, 500, 500};
    FillRect(hdc, &huge, green);
    DeleteObject(green);
    ReleaseDC(child, hdc);
    EXPECT_EQ(kGreen, PixelOf(top, 99, 99));
    EXPECT_EQ(kRed, PixelOf(top, 59, 59));   // just outside the child
    // A hidden window draws nothing.
    ShowWindow(child, SW_HIDE);
    hdc = GetDC(child);
    HBRUSH blue = CreateSolidBrush(kBlue);
    FillRect(hdc, &huge, blue);
    DeleteObject(blue);
    ReleaseDC(child, hdc);
    EXPECT_EQ(kGreen, PixelOf(top, 99, 99));
    // ReleaseDC knows its own DCs only.
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(0, ReleaseDC(top, memory));
    DeleteDC(memory);
    DestroyWindow(top);
}

TEST_F(PaintingTest, ScreenDCHasTheScreensSize)
{
    Desktop::SetScreenSize(800, 600);
    HDC screen = GetDC(nullptr);
    ASSERT_NE(nullptr, screen);
    RECT clip;
    GetClipBox(screen, &clip);
    EXPECT_EQ(800, clip.right);
    EXPECT_EQ(600, clip.bottom);
    EXPECT_EQ(1, ReleaseDC(nullptr, screen));
}

TEST_F(PaintingTest, ScrollingMovesPixelsAndInvalidatesWhatIsUncovered)
{
    HWND top = Painted(kRed, WS_POPUP | WS_VISIBLE, 0, 0, 40, 20);
    UpdateWindow(top);
    HDC hdc = GetDC(top);
    HBRUSH blue = CreateSolidBrush(kBlue);
    RECT right = {20, 0, 40, 20};
    FillRect(hdc, &right, blue);   // red | blue
    DeleteObject(blue);
    ReleaseDC(top, hdc);
    RECT uncovered;
    EXPECT_EQ(2, ScrollWindowEx(top, -10, 0, nullptr, nullptr, nullptr, &uncovered, SW_INVALIDATE));
    EXPECT_EQ(30, uncovered.left);
    EXPECT_EQ(40, uncovered.right);
    EXPECT_EQ(kRed, PixelOf(top, 9, 5));
    EXPECT_EQ(kBlue, PixelOf(top, 10, 5));   // the edge moved 10 pixels left
    RECT bounds;
    ASSERT_TRUE(GetUpdateRect(top, &bounds, FALSE));
    EXPECT_EQ(30, bounds.left);
    EXPECT_EQ(1, ScrollWindowEx(top, 0, 0, nullptr, nullptr, nullptr, nullptr, 0));
    DestroyWindow(top);
}

TEST_F(PaintingTest, ScrollingTheWholeWindowTakesTheChildrenAlong)
{
    HWND top = Painted(kRed, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = Painted(kBlue, WS_CHILD | WS_VISIBLE, 50, 50, 10, 10, top);
    ScrollWindow(top, -20, -30, nullptr, nullptr);
    RECT rect;
    GetWindowRect(child, &rect);
    EXPECT_EQ(30, rect.left);
    EXPECT_EQ(20, rect.top);
    DestroyWindow(top);
}

TEST_F(PaintingTest, ResizedTopLevelKeepsItsPixelsAndRepaints)
{
    HWND top = Painted(kRed, WS_POPUP | WS_VISIBLE, 0, 0, 30, 30);
    UpdateWindow(top);
    MoveWindow(top, 0, 0, 60, 40, TRUE);
    RECT bounds;
    ASSERT_TRUE(GetUpdateRect(top, &bounds, FALSE));
    EXPECT_EQ(60, bounds.right);
    EXPECT_EQ(kRed, PixelOf(top, 10, 10));
    UpdateWindow(top);
    EXPECT_EQ(kRed, PixelOf(top, 55, 35));
    DestroyWindow(top);
}

TEST_F(PaintingTest, SavedTreeShowsEveryWindowClippedByItsParent)
{
    testsupport::TempDir folder;
    HWND top = Painted(kRed, WS_POPUP | WS_VISIBLE, 200, 100, 120, 80);
    HWND child = Painted(kBlue, WS_CHILD | WS_VISIBLE, 20, 10, 40, 30, top);
    Painted(kGreen, WS_CHILD | WS_VISIBLE, 30, 20, 60, 40, child);   // sticks out of the child
    const std::string whole = folder.File("tree.png");
    ASSERT_TRUE(Desktop::SaveWindowImage(top, whole.c_str()));
    uitest::SavedImage image(whole);
    ASSERT_TRUE(image.Loaded());
    EXPECT_EQ(120, image.Width());
    EXPECT_EQ(80, image.Height());
    EXPECT_EQ(kRed, image.At(5, 5));
    EXPECT_EQ(kBlue, image.At(25, 15));
    EXPECT_EQ(kGreen, image.At(55, 35));   // 20 + 30, 10 + 20: the grandchild's top left
    EXPECT_EQ(kGreen, image.At(59, 39));   // the child's last pixel
    EXPECT_EQ(kRed, image.At(60, 35));     // beyond the child: cut off
    EXPECT_EQ(kRed, image.At(55, 40));

    const std::string part = folder.File("child.png");
    ASSERT_TRUE(Desktop::SaveWindowImage(child, part.c_str()));
    uitest::SavedImage childImage(part);
    EXPECT_EQ(40, childImage.Width());
    EXPECT_EQ(30, childImage.Height());
    EXPECT_EQ(kBlue, childImage.At(0, 0));
    EXPECT_EQ(kGreen, childImage.At(39, 29));

    ShowWindow(top, SW_HIDE);
    EXPECT_FALSE(Desktop::SaveWindowImage(top, folder.File("hidden.png").c_str()));
    DestroyWindow(top);
    EXPECT_FALSE(Desktop::SaveWindowImage(top, folder.File("gone.png").c_str()));
}

TEST_F(PaintingTest, FramesAreDrawnAroundTheClientArea)
{
    testsupport::TempDir folder;
    HWND top = Painted(kRed, WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 50, 40);
    HWND edged = CreateWindowExW(WS_EX_CLIENTEDGE, kPaintClass, L"", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top, nullptr,
                                 nullptr, nullptr);
    SetWindowLongPtrW(edged, GWLP_USERDATA, kBlue);
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(48, client.right);   // one pixel of border on each side
    const std::string path = folder.File("framed.png");
    ASSERT_TRUE(Desktop::SaveWindowImage(top, path.c_str()));
    uitest::SavedImage image(path);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), image.At(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), image.At(49, 39));
    EXPECT_EQ(kRed, image.At(1, 1));
    // The child's sunken edge: shadow outside top-left, its client inside.
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), image.At(11, 11));
    EXPECT_EQ(kBlue, image.At(11 + 2, 11 + 2));
    DestroyWindow(top);
}

TEST_F(PaintingTest, RepaintingTheFrameLeavesTheClientArea)
{
    HWND top = Painted(kRed, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 120, 90);
    UpdateWindow(top);
    EXPECT_EQ(kRed, PixelOf(top, 0, 0));
    SendMessageW(top, WM_NCPAINT, 1, 0);
    SetWindowTextW(top, L"新しい見出し");   // the caption repaints with the next update
    UpdateWindow(top);
    EXPECT_EQ(kRed, PixelOf(top, 0, 0));
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(kRed, PixelOf(top, client.right - 1, client.bottom - 1));
    DestroyWindow(top);
}

// Siblings that do not clip each other, listed top of the z-order first, and
// the order Windows paints them in: from the top down, a WS_EX_TRANSPARENT
// window after every sibling beneath it.
struct SiblingOrderRow {
    const char* name;
    DWORD exStyles[3];   // of the first, second and third child
    int painted[3];      // child indexes in painting order
};

static const SiblingOrderRow kSiblingOrder[] = {
    // name                 ex styles                           painting order
    {"opaque",              {0, 0, 0},                          {0, 1, 2}},
    {"transparent on top",  {WS_EX_TRANSPARENT, 0, 0},          {1, 2, 0}},
    {"transparent between", {0, WS_EX_TRANSPARENT, 0},          {0, 2, 1}},
    {"all transparent",     {WS_EX_TRANSPARENT, WS_EX_TRANSPARENT, WS_EX_TRANSPARENT}, {2, 1, 0}},
};

TEST_F(PaintingTest, SiblingsPaintFromTheTopDownAndTransparentOnesAfterThoseBeneath)
{
    const COLORREF colors[3] = {kRed, kBlue, kGreen};
    for (const SiblingOrderRow& row : kSiblingOrder) {
        SCOPED_TRACE(row.name);
        HWND top = Painted(RGB(255, 255, 255), WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
        HWND children[3];
        for (int i = 0; i < 3; ++i) {
            // Each overlaps the next by half; all share the pixel at 25, 25.
            children[i] = CreateWindowExW(row.exStyles[i], kPaintClass, L"", WS_CHILD | WS_VISIBLE, 10 + 5 * i,
                                          10 + 5 * i, 40, 40, top, nullptr, nullptr, nullptr);
            SetWindowLongPtrW(children[i], GWLP_USERDATA, static_cast<LONG_PTR>(colors[i]));
        }
        const std::vector<HWND> expected = {top, children[row.painted[0]], children[row.painted[1]],
                                            children[row.painted[2]]};
        // Through the queue, as the pump finds them, and at once through UpdateWindow.
        Desktop::PumpMessages();
        EXPECT_EQ(expected, g_painted);
        EXPECT_EQ(colors[row.painted[2]], PixelOf(top, 25, 25));   // the last one painted shows
        g_painted.clear();
        InvalidateRect(top, nullptr, TRUE);
        UpdateWindow(top);
        EXPECT_EQ(expected, g_painted);
        g_painted.clear();
        DestroyWindow(top);
    }
}

namespace {

int g_validations = 0;

// Validates its update region without painting, as a window with nothing to
// show does.
LRESULT ValidateOnlyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
    ++g_validations;
    ValidateRect(hwnd, nullptr);
    return 0;
}

}  // namespace

TEST_F(PaintingTest, AClientAreaThatShrinksTakesTheUpdateRegionWithIt)
{
    static const wchar_t kClass[] = L"MorvelanceValidateOnly";
    WNDCLASSW wc = {0, &ValidateOnlyProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, kClass};
    RegisterClassW(&wc);
    g_validations = 0;
    HWND top = Painted(kRed, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE, 10, 10, 40, 20, top, nullptr, nullptr, nullptr);
    UpdateWindow(top);
    InvalidateRect(child, nullptr, TRUE);
    // A sunken edge takes two pixels off each side of the client area.
    SetWindowLongW(child, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RECT client, bounds;
    GetClientRect(child, &client);
    ASSERT_TRUE(GetUpdateRect(child, &bounds, FALSE));
    EXPECT_EQ(client.right, bounds.right);
    EXPECT_EQ(client.bottom, bounds.bottom);
    g_validations = 0;
    EXPECT_LT(Desktop::PumpMessages(), 10);
    EXPECT_EQ(1, g_validations);
    EXPECT_FALSE(GetUpdateRect(child, &bounds, FALSE));
    DestroyWindow(top);
    UnregisterClassW(kClass, nullptr);
}
