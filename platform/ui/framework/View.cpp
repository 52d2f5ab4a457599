#include "platform/ui/framework/View.h"

#include "platform/ui/framework/Document.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/PaintDC.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, HandleInitialUpdate)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(nullptr)
{
}

CView::~CView()
{
    if (m_pDocument) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass) cs.lpszClass = L"AfxFrameOrView";
    // Views draw a sunken edge instead of the plain border they are asked for.
    if (cs.style & WS_BORDER) {
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        cs.style &= ~WS_BORDER;
    }
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    auto* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->GetActiveView() == this) frame->SetActiveView(nullptr);
    CWnd::OnDestroy();
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    (void)pSender;
    (void)lHint;
    (void)pHint;
    Invalidate(TRUE);
}

void CView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    (void)pDC;
    (void)pInfo;
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    (void)pActivateView;
    (void)pDeactiveView;
    if (!bActivate) return;
    CWnd* top = GetTopLevelParent();
    if (top && top->m_hWnd == ::GetActiveWindow()) SetFocus();
}

BOOL CView::IsSelected(const CObject* pDocItem) const
{
    (void)pDocItem;
    return FALSE;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    const int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
    // A click makes the view its frame's active one.
    CFrameWnd* frame = GetParentFrame();
    if (!frame) return result;
    HWND focus = ::GetFocus();
    if (frame->GetActiveView() == this && m_hWnd != focus && !::IsChild(m_hWnd, focus))
        OnActivateView(TRUE, this, this);
    else
        frame->SetActiveView(this);
    return result;
}

LRESULT CView::HandleInitialUpdate(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}
