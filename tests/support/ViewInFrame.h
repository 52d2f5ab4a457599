// A view made from its runtime class in a frame, as the panes and dialogs
// hold their views: the fixtures of the view tests put it under a window of
// their own that stands in for the pane or the dialog.
#pragma once

class CDocument;
class CFrameWnd;
class CView;
class CWnd;
struct CRuntimeClass;

namespace testsupport {

// Whether the view keeps the sunken edge views are made with; the panes
// take it off.
enum class ViewEdge { Kept, Removed };

// Makes `frame` a child of `parent` filling width x height and the view of
// `viewClass` on `doc` in it, laid out; a failure is a test failure and
// gives null. The view has had no initial update yet.
CView* CreateViewInFrame(CFrameWnd& frame, CWnd& parent, CRuntimeClass* viewClass, CDocument& doc, int width,
                         int height, ViewEdge edge = ViewEdge::Removed);

}  // namespace testsupport
