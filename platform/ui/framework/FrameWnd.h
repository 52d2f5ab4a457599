// CFrameWnd: the framework's frame, a window that holds a view (or a form)
// as its pane and keeps it filling its client area. The system's page
// panes create frames as child windows, each holding one form.
//
// Frames delete themselves when their window goes (PostNcDestroy).
#pragma once

#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/Wnd.h"

class CView;
class CDocument;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;   // CW_USEDEFAULT placement

    // A null class gets the framework's frame class; with a context that
    // names a view class, the view is created as the pane.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    using CWnd::Create;   // the child-window form of every window stays callable
    // Creates the context's view class as a child with AFX_WS_DEFAULT_VIEW
    // (so a client edge) and the id; the frame then gives up its own client
    // edge. Null when the class is missing, not a window class, or the
    // window cannot be made (the view object is gone then).
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    CView* GetActiveView() const { return m_pViewActive; }
    // With bNotify the views are told (OnActivateView) and the new one takes the focus.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // The pane (AFX_IDW_PANE_FIRST) fills the client area.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // The first view becomes active, every view gets OnInitialUpdate
    // (WM_INITIALUPDATE), and the frame is shown when asked.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The active view first, then the frame, then the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoMenuEnable;   // kept for the system's code; there are no menus to update

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CView* m_pViewActive;     // null when no view is active
    BOOL m_bInRecalcLayout;   // guards RecalcLayout against the WM_SIZE it causes
};
