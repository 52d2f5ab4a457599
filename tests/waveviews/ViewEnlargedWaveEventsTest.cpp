// The enlarged wave of a rhythm record marks the events of its page: one on
// the page's first sample as well as those further in, and none of the
// samples before it.
#include <gtest/gtest.h>

#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "waveviews/ViewEnlargedWave.h"

namespace {

const COLORREF kEventColour = RGB(0, 0, 200);

class EnlargedEvents : public rhythmtest::RhythmDocTest {
protected:
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_window.DestroyWindow();
        rhythmtest::RhythmDocTest::TearDown();
    }
    // A 400 x 200 view of 100 x 50 squares on the record's 4 s from sample 4000.
    CViewEnlargedWave* Show(const std::vector<int32_t>& events)
    {
        morvelance::RhythmRecordShape shape;
        shape.seconds = 20.0;
        shape.heartRate = 75.0;
        auto tweak = [&](morvelance::RecordBuilder& builder) {
            morvelance::SetRhythmEvents(builder, events);
            morvelance::ApplyRhythmFamily(builder);
        };
        EXPECT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, "events", shape, tweak), 1));
        m_doc->m_bAutoDelete = FALSE;
        m_doc->SetWaveColor(2, RGB(255, 255, 255));
        m_doc->SetWaveColor(3, kEventColour);
        EXPECT_TRUE(m_window.CreateEx(0, nullptr, L"dialog", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0));
        m_frame = new CFrameWnd;
        EXPECT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 200), &m_window));
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CViewEnlargedWave);
        context.m_pCurrentDoc = m_doc.get();
        auto* view = DYNAMIC_DOWNCAST(CViewEnlargedWave, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        if (!view) return nullptr;
        view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_frame->RecalcLayout();
        view->SetDocType(DOC_TYPE_RHYTHM);
        view->SetBackGridSize(4.0, 4.0, 1.0);
        view->SetWaveInfo(nullptr, 0, 25.0f, 10.0f, 100, 10000);
        view->SetCenterPos(5000, 0, FALSE);
        view->SendMessage(WM_INITIALUPDATE, 0, 0);
        view->Invalidate(TRUE);
        view->UpdateWindow();
        return view;
    }
    // Pixels of the events' colour in the columns from x0 to x1, about the
    // row two squares below the baseline at 100.
    int EventInk(CViewEnlargedWave* view, int x0, int x1)
    {
        CClientDC dc(view);
        int n = 0;
        for (int y = 100; y < 118; ++y)
            for (int x = x0; x < x1; ++x) n += dc.GetPixel(x, y) == kEventColour ? 1 : 0;
        return n;
    }

    CWnd m_window;
    CFrameWnd* m_frame = nullptr;
};

}  // namespace

TEST_F(EnlargedEvents, AnEventOnThePagesFirstSampleIsMarkedAtItsLeftEdge)
{
    CViewEnlargedWave* view = Show({4000, 5000});
    ASSERT_NE(nullptr, view);
    ASSERT_EQ(4000, view->GetStartSample());
    EXPECT_GT(EventInk(view, 0, 4), 0) << "the event on the first sample is not marked";
    // The one further in, half the page across: 200 pixels.
    EXPECT_GT(EventInk(view, 197, 204), 0);
}

TEST_F(EnlargedEvents, AnEventJustBeforeThePageIsNotMarked)
{
    CViewEnlargedWave* view = Show({3999, 5000});
    ASSERT_NE(nullptr, view);
    ASSERT_EQ(4000, view->GetStartSample());
    EXPECT_EQ(0, EventInk(view, 0, 4));
    EXPECT_GT(EventInk(view, 197, 204), 0);
}
