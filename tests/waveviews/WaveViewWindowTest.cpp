// The view as a window in a frame on its document: its cursor under the
// mouse, and its paint in the document's colours.
#include <gtest/gtest.h>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "waveviews/WaveView.h"

namespace {

class WaveViewWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(1, RGB(0, 0, 255));
        m_doc.SetWaveColor(2, RGB(255, 255, 240));
        m_doc.SetGridType(1);
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 201, 101), nullptr, 0));
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 201, 101), &m_pane));
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CWaveView);
        context.m_pCurrentDoc = &m_doc;
        m_view = DYNAMIC_DOWNCAST(CWaveView, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        ASSERT_NE(nullptr, m_view);
        m_view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_frame->RecalcLayout();
    }
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_pane.DestroyWindow();
    }

    CTavrionDoc m_doc;
    CWnd m_pane;
    CFrameWnd* m_frame = nullptr;
    CWaveView* m_view = nullptr;
};

}  // namespace

TEST_F(WaveViewWindowTest, TheMouseOverTheViewGetsTheViewsCurrentCursor)
{
    const HCURSOR cross = ::LoadCursor(nullptr, IDC_CROSS);
    m_view->SetCurrentCursor(cross);
    platform::ui::Desktop::MoveMouse(m_view->GetSafeHwnd(), 50, 50);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(cross, ::GetCursor());
    const HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
    m_view->SetCurrentCursor(arrow);
    platform::ui::Desktop::MoveMouse(m_view->GetSafeHwnd(), 60, 40);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(arrow, ::GetCursor());
}

TEST_F(WaveViewWindowTest, PaintingShowsTheGridInTheDocumentsColoursOverTheClientArea)
{
    CRect client;
    m_view->GetClientRect(&client);
    m_view->InitBackground(client.Width() / 10, client.Height() / 10);
    m_view->Invalidate(TRUE);
    m_view->UpdateWindow();
    CClientDC dc(m_view);
    EXPECT_EQ(RGB(255, 255, 240), dc.GetPixel(5, 5));
    EXPECT_EQ(RGB(0, 0, 255), dc.GetPixel(0, 5));   // the first major column
    EXPECT_EQ(RGB(0, 0, 255), dc.GetPixel(client.right - 1, 5));   // the frame
}
