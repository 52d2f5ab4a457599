// Failures inside the multi-lead view reach its caller: a trace that cannot
// be drawn, a page surface that cannot be made, a lead that the document
// serves shorter than it said.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "printdevice/ECGDC.h"
#include "tests/waveviews/ViewRhythmWaveTestSupport.h"

namespace {

using rhythmviewtest::kPaper;

// A view whose trace renderer fails, as it does for a smoothing mode it
// cannot draw.
class FailingTraceView : public CViewRhythmWave {
    DECLARE_DYNCREATE(FailingTraceView)

public:
    BOOL DrawWave(CDC*, CRect, double, const short*, int, BOOL, int) override { return FALSE; }
};

IMPLEMENT_DYNCREATE(FailingTraceView, CViewRhythmWave)

class RhythmViewFailureTest : public rhythmviewtest::RestPageFixture<FailingTraceView> {};

TEST_F(RhythmViewFailureTest, ATraceThatCannotBeDrawnFailsTheScreenPage)
{
    OpenRecord();
    EXPECT_EQ(0, DrawPage(1, 1040, 480));
    EXPECT_EQ(0, DrawPage(11, 1040, 600));
}

TEST_F(RhythmViewFailureTest, ATraceThatCannotBeDrawnFailsThePrint)
{
    OpenRecord();
    m_view.SetWaveStyle(9, TRUE);
    m_view.OnUpdate(nullptr, 0, nullptr);
    MakeSurface(1040, 480);
    CECGDC printer(&m_dc, 2);
    EXPECT_EQ(0, m_view.Print(&printer, CRect(0, 0, 1040, 480), 260, 120, 4.0, 0, 0, 1));
    EXPECT_EQ(0, m_view.Print(&printer, CRect(0, 0, 1040, 480), 260, 120, 4.0, 0, 0, 0));
}

// A view in a pane of the given size, painted through the window's own path.
struct PaneView {
    CWnd pane;
    CFrameWnd* frame = nullptr;
    CViewRhythmWave* view = nullptr;

    bool Create(CDocument& doc, CRuntimeClass* viewClass, int width, int height)
    {
        if (!pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0))
            return false;
        frame = new CFrameWnd;
        if (!frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &pane)) return false;
        CCreateContext context;
        context.m_pNewViewClass = viewClass;
        context.m_pCurrentDoc = &doc;
        view = DYNAMIC_DOWNCAST(CViewRhythmWave, frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        if (!view) return false;
        frame->RecalcLayout();
        view->SetDocType(DOC_TYPE_REST);
        return true;
    }
    ~PaneView()
    {
        if (frame) frame->DestroyWindow();
        pane.DestroyWindow();
    }
};

TEST_F(RhythmViewFailureTest, AFailedPageIsNeitherKeptNorCopiedToTheWindow)
{
    OpenRecord();
    PaneView pane;
    ASSERT_TRUE(pane.Create(m_doc, RUNTIME_CLASS(FailingTraceView), 800, 400));
    pane.view->SetWaveStyle(1, TRUE);
    pane.view->UpdateDrawDC();
    MakeSurface(800, 400);
    pane.view->OnDraw(&m_dc);
    EXPECT_FALSE(pane.view->HasCachedPage());
    // Not even the paper reached the window.
    EXPECT_EQ(0, InkIn(CRect(0, 0, 800, 400)));
}

class RhythmViewSurfaceTest : public rhythmviewtest::RestPageFixture<> {};

TEST_F(RhythmViewSurfaceTest, APageTooLargeForASurfaceLeavesTheWindowAsItWas)
{
    OpenRecord();
    PaneView pane;
    // Wider than any image surface can be.
    ASSERT_TRUE(pane.Create(m_doc, RUNTIME_CLASS(CViewRhythmWave), 40000, 200));
    CRect client;
    pane.view->GetClientRect(&client);
    ASSERT_GT(client.Width(), 32767);
    pane.view->SetWaveStyle(1, TRUE);
    pane.view->UpdateDrawDC();
    MakeSurface(400, 200);
    pane.view->OnDraw(&m_dc);
    EXPECT_FALSE(pane.view->HasCachedPage());
    EXPECT_EQ(0, InkIn(CRect(0, 0, 400, 200)));
}

// A document that sizes a lead at `claimed` samples and then fills `served`.
class ShortLeadDoc : public CTavrionDoc {
public:
    int GetDocType() const override { return DOC_TYPE_REST; }
    int GetRhythmWaveData(int lead, short* buffer, int) override
    {
        if (lead != 0) return 0;
        if (!buffer) return claimed * static_cast<int>(sizeof(short));
        for (int i = 0; i < served; ++i) buffer[i] = static_cast<short>(100 + i);
        return served * static_cast<int>(sizeof(short));
    }
    int claimed = 0;
    int served = 0;
};

TEST(RhythmViewLoading, ALeadServedShorterThanItsSizeIsNotLoaded)
{
    ShortLeadDoc doc;
    doc.m_bAutoDelete = FALSE;
    CViewRhythmWave view;
    doc.AddView(&view);
    view.SetDocType(DOC_TYPE_REST);
    view.SetWaveStyle(1, TRUE);

    // A lead whose data ends before its header's size: zeros would be drawn as signal.
    doc.claimed = 5000;
    doc.served = 2000;
    view.OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(0, view.GetLeadSampleCount(0));
    EXPECT_EQ(nullptr, view.GetLeadSamples(0));

    // The same lead served whole loads every sample.
    doc.served = 5000;
    view.OnUpdate(nullptr, 0, nullptr);
    ASSERT_EQ(5000, view.GetLeadSampleCount(0));
    EXPECT_EQ(100 + 4999, view.GetLeadSamples(0)[4999]);

    // A later short read drops the lead it had rather than keep stale samples.
    doc.served = 10;
    view.OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(0, view.GetLeadSampleCount(0));
    doc.RemoveView(&view);
}

}  // namespace
