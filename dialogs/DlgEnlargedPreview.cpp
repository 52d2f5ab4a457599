// CDlgEnlargedPreview: holds the magnifier view and drags itself.
#include "dialogs/DlgEnlargedPreview.h"

#include "core/TavrionDoc.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "waveviews/ViewEnlargedPreview.h"

IMPLEMENT_DYNAMIC(CDlgEnlargedPreview, CDialog)

BEGIN_MESSAGE_MAP(CDlgEnlargedPreview, CDialog)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CDlgEnlargedPreview::CDlgEnlargedPreview() : CDialog(IDD, nullptr) {}

CDlgEnlargedPreview::CDlgEnlargedPreview(CWnd* pParent) : CDialog(IDD, pParent) {}

CDlgEnlargedPreview::~CDlgEnlargedPreview() = default;

void CDlgEnlargedPreview::SetScaleRatio(float ratio)
{
    if (m_pView) m_pView->SetScaleRatio(ratio);
}

BOOL CDlgEnlargedPreview::IsEnlargedPreviewShown() const
{
    return GetSafeHwnd() && IsWindowVisible();
}

int CDlgEnlargedPreview::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDialog::OnCreate(lpCreateStruct) == -1) return -1;
    // Without its view the window is still a window: it stays empty, and the
    // views that look for the magnifier find no view and draw nothing into it.
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CViewEnlargedPreview);
    context.m_pCurrentDoc = m_pDoc;
    auto* view = static_cast<CViewEnlargedPreview*>(RUNTIME_CLASS(CViewEnlargedPreview)->CreateObject());
    if (!view) return 0;
    // A view whose window cannot be made deletes itself.
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, kViewId, &context)) return 0;
    m_pView = view;
    m_pView->ShowWindow(SW_SHOW);
    m_pView->OnInitialUpdate();
    m_pView->Invalidate(TRUE);
    return 0;
}

void CDlgEnlargedPreview::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (!m_pView || !m_pView->GetSafeHwnd()) return;
    m_pView->MoveWindow(0, 0, cx, cy);
    m_pView->OnInitialUpdate();
}

void CDlgEnlargedPreview::OnDestroy()
{
    // The view deletes itself with its window, and the document may still
    // point here: the views and SetScaleRatio must find no view, not a freed one.
    m_pView = nullptr;
    CDialog::OnDestroy();
}

void CDlgEnlargedPreview::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_nDragX = point.x;
    m_nDragY = point.y;
    m_bDragging = TRUE;
    SetCapture();
    CDialog::OnLButtonDown(nFlags, point);
}

// The window may be dragged across every monitor, never off the desktop:
// the bounds are the virtual screen's rectangle, which is the screen itself
// when there is one monitor.
CPoint CDlgEnlargedPreview::ClampToDesktop(const CRect& window, CPoint topLeft)
{
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int right = left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int bottom = top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    // The far edges are tested last: a window larger than the desktop keeps
    // its right and bottom edges on the desktop's.
    if (topLeft.x < left) topLeft.x = left;
    if (topLeft.x + window.Width() > right) topLeft.x = right - window.Width();
    if (topLeft.y < top) topLeft.y = top;
    if (topLeft.y + window.Height() > bottom) topLeft.y = bottom - window.Height();
    return topLeft;
}

void CDlgEnlargedPreview::OnMouseMove(UINT nFlags, CPoint point)
{
    // A move that ends where the button went down is no drag: a window
    // hanging over the screen's edge stays where it is until the mouse moves.
    if (m_bDragging && (point.x != m_nDragX || point.y != m_nDragY)) {
        CRect window;
        GetWindowRect(&window);
        const CPoint target = ClampToDesktop(window, CPoint(window.left + point.x - m_nDragX,
                                                            window.top + point.y - m_nDragY));
        SetWindowPos(nullptr, target.x, target.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CDialog::OnMouseMove(nFlags, point);
}

void CDlgEnlargedPreview::OnLButtonUp(UINT nFlags, CPoint point)
{
    // Every button-up ends a drag and lets the mouse go, also one whose
    // button-down this window never saw.
    m_bDragging = FALSE;
    ::ReleaseCapture();
    CDialog::OnLButtonUp(nFlags, point);
}
