// The magnifier window dragged by its view: it goes anywhere on the desktop,
// across a second monitor too, and stops at the desktop's outer edges.
#include <gtest/gtest.h>

#include "core/TavrionDoc.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
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
