// The magnifier window dragged by its view: it goes anywhere on the desktop,
// across a second monitor too, and stops at the desktop's outer edges; every
// button-up lets the mouse go; the view has its picture once the window is
// made, and a window whose view cannot be made is still made, empty.
#include <gtest/gtest.h>

#include <vector>

#include "core/TavrionDoc.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "waveviews/ViewEnlargedPreview.h"

using platform::ui::Desktop;

namespace {

class DlgEnlargedPreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::SetScreenSize(1280, 1024);
        m_doc.m_bAutoDelete = FALSE;
        m_dialog.SetEnlargedPreviewDoc(&m_doc);
        ASSERT_TRUE(m_dialog.Create(CDlgEnlargedPreview::IDD, nullptr));
        ASSERT_NE(nullptr, m_dialog.GetEnlargedPreview());
    }
    void TearDown() override
    {
        m_dialog.DestroyWindow();
        Desktop::Reset();
    }
    void PlaceAndShow(int x, int y)
    {
        m_dialog.SetWindowPos(nullptr, x, y, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
        m_dialog.ShowWindow(SW_SHOWNOACTIVATE);
        Desktop::PumpMessages();
    }
    // Drags by the view from (10, 10) by (dx, dy) and answers where the window ends.
    CRect DragBy(int dx, int dy)
    {
        HWND view = m_dialog.GetEnlargedPreview()->GetSafeHwnd();
        Desktop::Drag(view, POINT{10, 10}, POINT{10 + dx, 10 + dy});
        Desktop::PumpMessages();
        CRect window;
        m_dialog.GetWindowRect(&window);
        return window;
    }

    CTavrionDoc m_doc;
    CDlgEnlargedPreview m_dialog;
};

}  // namespace

TEST_F(DlgEnlargedPreviewTest, DragStopsAtEveryEdgeOfASingleScreen)
{
    PlaceAndShow(1000, 800);
    CRect window = DragBy(400, 400);
    EXPECT_EQ(1280, window.right);
    EXPECT_EQ(1024, window.bottom);
    window = DragBy(-1200, -1000);
    EXPECT_EQ(0, window.left);
    EXPECT_EQ(0, window.top);
}

TEST_F(DlgEnlargedPreviewTest, DragInsideTheScreenFollowsTheMouse)
{
    PlaceAndShow(300, 300);
    const CRect window = DragBy(50, -40);
    EXPECT_EQ(350, window.left);
    EXPECT_EQ(260, window.top);
}

TEST_F(DlgEnlargedPreviewTest, DragCrossesOntoASecondMonitorAndStopsAtItsFarEdge)
{
    ASSERT_TRUE(Desktop::SetSecondMonitor(RECT{1280, 0, 2304, 768}));
    PlaceAndShow(1000, 100);
    CRect window = DragBy(500, 0);
    EXPECT_EQ(1500, window.left);   // past the primary screen's right edge
    window = DragBy(900, 0);
    EXPECT_EQ(2304, window.right);   // the desktop's right edge
}

TEST_F(DlgEnlargedPreviewTest, DragReachesASecondMonitorLeftOfThePrimary)
{
    ASSERT_TRUE(Desktop::SetSecondMonitor(RECT{-1024, 0, 0, 768}));
    PlaceAndShow(100, 100);
    CRect window = DragBy(-400, 0);
    EXPECT_EQ(-300, window.left);
    window = DragBy(-900, 0);
    EXPECT_EQ(-1024, window.left);
}

TEST_F(DlgEnlargedPreviewTest, AButtonUpWithoutAButtonDownOnlyReleasesTheCapture)
{
    PlaceAndShow(300, 300);
    m_dialog.SetCapture();
    ASSERT_EQ(m_dialog.GetSafeHwnd(), ::GetCapture());
    Desktop::MouseUp(POINT{350, 340});
    EXPECT_EQ(nullptr, ::GetCapture());
    // No drag began: the mouse moving on leaves the window where it was.
    Desktop::MoveMouse(POINT{420, 400});
    CRect window;
    m_dialog.GetWindowRect(&window);
    EXPECT_EQ(CRect(300, 300, 500, 400), window);
}

TEST_F(DlgEnlargedPreviewTest, APressAndAMoveToThePressedPointLeaveAWindowOverTheEdgeWhereItWas)
{
    PlaceAndShow(1200, 800);   // 120 pixels past the screen's right edge
    Desktop::MoveMouse(POINT{1210, 810});
    Desktop::MouseDown(POINT{1210, 810});
    Desktop::MoveMouse(POINT{1210, 810});
    Desktop::PumpMessages();
    CRect window;
    m_dialog.GetWindowRect(&window);
    EXPECT_EQ(CRect(1200, 800, 1400, 900), window);
    // The first move away drags it, and only then does the screen's edge stop it.
    Desktop::MoveMouse(POINT{1211, 810});
    Desktop::MouseUp(POINT{1211, 810});
    Desktop::PumpMessages();
    m_dialog.GetWindowRect(&window);
    EXPECT_EQ(1280, window.right);
}

TEST_F(DlgEnlargedPreviewTest, AWindowLargerThanTheScreenKeepsItsFarEdgesOnTheScreensFarEdges)
{
    PlaceAndShow(0, 0);
    ASSERT_TRUE(Desktop::SetScreenSize(150, 80));   // the 200 x 100 window is larger both ways
    CRect window = DragBy(5, 5);
    EXPECT_EQ(CRect(-50, -20, 150, 80), window);
    window = DragBy(-30, -30);
    EXPECT_EQ(CRect(-50, -20, 150, 80), window);
}

namespace {

// Looks at the magnifier the moment its creation handler returns, before
// the window system sends it its first size.
class CCreationProbe : public CDlgEnlargedPreview {
public:
    bool m_bViewMade = false;
    bool m_bPictureMade = false;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        const int result = CDlgEnlargedPreview::OnCreate(lpCreateStruct);
        m_bViewMade = m_pView != nullptr;
        m_bPictureMade = m_pView && m_pView->GetMemDC();
        return result;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCreationProbe, CDlgEnlargedPreview)
    ON_WM_CREATE()
END_MESSAGE_MAP()

LRESULT CALLBACK FillerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Every window handle the system has in use but one: the next window made
// gets the last, the one after it none. Hundreds of parents with a few
// hundred children each, so that their removal stays quick.
class WindowTableFull {
public:
    WindowTableFull()
    {
        WNDCLASSW wc = {0, &FillerProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"TableFiller"};
        RegisterClassW(&wc);
        for (;;) {
            HWND parent = CreateWindowExW(0, L"TableFiller", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                          nullptr);
            if (!parent) break;
            m_parents.push_back(parent);
            m_last = parent;
            bool full = false;
            for (int i = 0; i < 255 && !full; ++i) {
                HWND child = CreateWindowExW(0, L"TableFiller", L"", WS_CHILD, 0, 0, 1, 1, parent, nullptr, nullptr,
                                             nullptr);
                full = child == nullptr;
                if (child) m_last = child;
            }
            if (full) break;
        }
        // One handle free again.
        if (m_last == m_parents.back()) m_parents.pop_back();
        DestroyWindow(m_last);
    }
    ~WindowTableFull()
    {
        for (auto it = m_parents.rbegin(); it != m_parents.rend(); ++it) DestroyWindow(*it);
        UnregisterClassW(L"TableFiller", nullptr);
    }
    bool Filled() const { return !m_parents.empty(); }

private:
    std::vector<HWND> m_parents;
    HWND m_last = nullptr;
};

}  // namespace

TEST_F(DlgEnlargedPreviewTest, TheViewHasItsPictureWhenTheWindowsCreationReturns)
{
    CCreationProbe probe;
    probe.SetEnlargedPreviewDoc(&m_doc);
    ASSERT_TRUE(probe.Create(CDlgEnlargedPreview::IDD, nullptr));
    EXPECT_TRUE(probe.m_bViewMade);
    EXPECT_TRUE(probe.m_bPictureMade) << "the view was given its first update while the window was made";
    probe.DestroyWindow();
}

TEST_F(DlgEnlargedPreviewTest, AWindowWhoseViewCannotBeMadeIsMadeEmpty)
{
    CDlgEnlargedPreview empty;
    empty.SetEnlargedPreviewDoc(&m_doc);
    {
        WindowTableFull full;
        ASSERT_TRUE(full.Filled());
        ASSERT_TRUE(empty.Create(CDlgEnlargedPreview::IDD, nullptr)) << "only the view could not be made";
    }
    EXPECT_NE(nullptr, empty.GetSafeHwnd());
    EXPECT_EQ(nullptr, empty.GetEnlargedPreview());
    EXPECT_EQ(nullptr, ::GetWindow(empty.GetSafeHwnd(), GW_CHILD));
    // It still sizes, moves and drags without a view.
    empty.SetWindowPos(nullptr, 100, 100, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    empty.ShowWindow(SW_SHOWNOACTIVATE);
    Desktop::Drag(empty.GetSafeHwnd(), POINT{10, 10}, POINT{60, 30});
    Desktop::PumpMessages();
    CRect window;
    empty.GetWindowRect(&window);
    EXPECT_EQ(CRect(150, 120, 350, 220), window);
    EXPECT_EQ(nullptr, ::GetCapture());
    empty.DestroyWindow();
}
