// CView: the framework's view, a child window that shows a document. It
// joins the document's view list when it is created with a context naming
// the document, leaves it when it is deleted, and deletes itself when its
// window goes. WM_PAINT draws through OnDraw on a prepared CPaintDC.
#pragma once

#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/Wnd.h"

class CDocument;
struct CPrintInfo;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnDraw(CDC* pDC) = 0;
    // The first look at the document: OnUpdate(null, 0, null).
    virtual void OnInitialUpdate();
    // The document changed; the whole view is invalidated.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    // A view that becomes active takes the focus when its top-level window is active.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual BOOL IsSelected(const CObject* pDocItem) const;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The view first, then its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    CView();

    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT HandleInitialUpdate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CDocument* m_pDocument;   // the document shown, not owned; null until the view joins one
    friend class CDocument;
};
