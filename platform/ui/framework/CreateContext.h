// CCreateContext: what a frame hands the views it creates: the class of the
// view to make and the document it shows. It travels to the view's
// WM_CREATE as the creation parameter.
#pragma once

#include "platform/base/Object.h"

class CDocument;
class CFrameWnd;
class CView;
class CDocTemplate;

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;   // the view class CreateView makes; null: no view
    CDocument* m_pCurrentDoc = nullptr;         // the document the view joins; null: none
    CDocTemplate* m_pNewDocTemplate = nullptr;  // not used here (no document templates)
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};
