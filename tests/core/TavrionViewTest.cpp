// The plain scroll view in a frame on its document, as a pane makes it.
#include <gtest/gtest.h>

#include <memory>

#include "core/AnnotationInfo.h"
#include "core/TavrionDoc.h"
#include "core/TavrionView.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"

namespace {

class CStampingView : public CTavrionView {
public:
    using CTavrionView::SaveAnnoEditTimeAndName;
};

class TavrionViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(2, RGB(230, 240, 200));
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &m_pane));
        std::unique_ptr<CObject> made(CRuntimeClass::CreateObject("CTavrionView"));
        ASSERT_NE(nullptr, DYNAMIC_DOWNCAST(CTavrionView, made.get()));
        CCreateContext context;
        context.m_pNewViewClass = made->GetRuntimeClass();
        context.m_pCurrentDoc = &m_doc;
        m_view = DYNAMIC_DOWNCAST(CTavrionView, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        ASSERT_NE(nullptr, m_view);
        m_frame->RecalcLayout();
        m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
    }
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_pane.DestroyWindow();
    }

    CTavrionDoc m_doc;
    CWnd m_pane;
    CFrameWnd* m_frame = nullptr;
    CTavrionView* m_view = nullptr;
};

}  // namespace

TEST_F(TavrionViewTest, ErasesInTheDocumentsPaperColour)
{
    m_view->Invalidate(TRUE);
    m_view->UpdateWindow();
    CClientDC dc(m_view);
    EXPECT_EQ(RGB(230, 240, 200), dc.GetPixel(5, 5));
    EXPECT_EQ(RGB(230, 240, 200), dc.GetPixel(150, 90));
}

TEST_F(TavrionViewTest, ScrollsOverOneHundredPixelsEachWay)
{
    EXPECT_EQ(CSize(100, 100), m_view->GetTotalSize());
    EXPECT_EQ(&m_doc, m_view->GetDocument());
}

TEST(TavrionView, StampsAnAnnotationWithTheGivenEditor)
{
    CStampingView view;
    _ANNOTATION_INFO info;
    EXPECT_EQ(1, view.SaveAnnoEditTimeAndName(&info, L"佐藤"));
    EXPECT_EQ(CString(L"佐藤"), info.strEditorName);
    EXPECT_EQ(0, view.SaveAnnoEditTimeAndName(nullptr, L"佐藤"));
}
