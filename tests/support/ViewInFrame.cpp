#include "tests/support/ViewInFrame.h"

#include <gtest/gtest.h>

#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/View.h"

namespace testsupport {

CView* CreateViewInFrame(CFrameWnd& frame, CWnd& parent, CRuntimeClass* viewClass, CDocument& doc, int width,
                         int height, ViewEdge edge)
{
    EXPECT_TRUE(frame.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &parent));
    CCreateContext context;
    context.m_pNewViewClass = viewClass;
    context.m_pCurrentDoc = &doc;
    CView* view = DYNAMIC_DOWNCAST(CView, frame.CreateView(&context, AFX_IDW_PANE_FIRST));
    EXPECT_NE(nullptr, view);
    if (!view) return nullptr;
    if (edge == ViewEdge::Removed) view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
    frame.RecalcLayout();
    return view;
}

}  // namespace testsupport
