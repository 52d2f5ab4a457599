// The enlarged wave view on a rhythm record of the record maker: each event
// of the page is marked under the strip.
#include <gtest/gtest.h>

#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "waveviews/ViewEnlargedWave.h"

namespace {

const COLORREF kEventColour = RGB(0, 0, 200);

class EnlargedRhythmTest : public rhythmtest::RhythmDocTest {
protected:
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_window.DestroyWindow();
        rhythmtest::RhythmDocTest::TearDown();
    }

    CWnd m_window;
    CFrameWnd* m_frame = nullptr;
};

}  // namespace

TEST_F(EnlargedRhythmTest, EveryEventOfThePageIsMarkedOnTheRowTwoSquaresBelowTheBaseline)
{
    morvelance::RhythmRecordShape shape;
    shape.seconds = 20.0;
    shape.heartRate = 75.0;
    ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, "strip", shape), 1));
    m_doc->m_bAutoDelete = FALSE;
    m_doc->SetWaveColor(2, RGB(255, 255, 255));
    m_doc->SetWaveColor(3, kEventColour);
    ASSERT_TRUE(m_window.CreateEx(0, nullptr, L"dialog", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0));
    m_frame = new CFrameWnd;
    ASSERT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 200), &m_window));
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CViewEnlargedWave);
    context.m_pCurrentDoc = m_doc.get();
    auto* view = DYNAMIC_DOWNCAST(CViewEnlargedWave, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
    ASSERT_NE(nullptr, view);
    view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_frame->RecalcLayout();
    view->SetDocType(DOC_TYPE_RHYTHM);
    view->SetBackGridSize(4.0, 4.0, 1.0);   // 100 x 50 squares
    view->SetWaveInfo(nullptr, 0, 25.0f, 10.0f, 100, 10000);
    view->SetCenterPos(5000, 0, FALSE);
    view->SendMessage(WM_INITIALUPDATE, 0, 0);
    view->Invalidate(TRUE);
    view->UpdateWindow();

    // The page: 4 s from sample 4000.
    ASSERT_EQ(4000, view->GetStartSample());
    int expected = 0;
    const CArray<int, int>& events = Item()->arrEvent;
    for (INT_PTR i = 0; i < events.GetSize(); ++i) expected += events[i] >= 4000 && events[i] < 6000;
    ASSERT_GT(expected, 2);
    // Two squares (8 px) below the baseline at 100: one flat roof per event.
    CClientDC dc(view);
    int roofs = 0;
    bool inRoof = false;
    for (int x = 0; x < 400; ++x) {
        const bool ink = dc.GetPixel(x, 108) == kEventColour;
        roofs += ink && !inRoof;
        inRoof = ink;
    }
    EXPECT_EQ(expected, roofs);
}
