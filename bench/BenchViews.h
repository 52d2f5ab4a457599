// Views the benchmarks measure, made as the panes make them: the view from
// its runtime class in a frame under a window of the benchmark's own.
#pragma once

#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/View.h"

namespace benchviews {

// Whether the view keeps the sunken edge views are made with; the panes
// take it off.
enum class ViewEdge { Kept, Removed };

// Makes `frame` a child of `parent` filling width x height and a View on
// `doc` in it, laid out, without its initial update; null when the frame or
// the view could not be made.
template <class View>
View* CreateViewInFrame(CFrameWnd& frame, CWnd& parent, CDocument& doc, int width, int height,
                        ViewEdge edge = ViewEdge::Kept)
{
    if (!frame.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &parent)) return nullptr;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(View);
    context.m_pCurrentDoc = &doc;
    auto* view = DYNAMIC_DOWNCAST(View, frame.CreateView(&context, AFX_IDW_PANE_FIRST));
    if (!view) return nullptr;
    if (edge == ViewEdge::Removed) view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
    frame.RecalcLayout();
    return view;
}

}  // namespace benchviews
