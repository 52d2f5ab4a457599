#include "platform/ui/framework/FormView.h"

#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/windowing/Resources.h"

IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CFormView::CFormView(UINT nIDTemplate)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_pCreateContext(nullptr), m_hWndFocus(nullptr)
{
}

CFormView::CFormView(LPCTSTR lpszTemplateName)
    : m_lpszTemplateName(lpszTemplateName), m_pCreateContext(nullptr), m_hWndFocus(nullptr)
{
    if (lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName)) {
        m_strTemplateName = lpszTemplateName;
        m_lpszTemplateName = m_strTemplateName;
    }
}

BOOL CFormView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwRequestedStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    (void)lpszClassName;
    (void)lpszWindowName;
    if (m_hWnd || !pParentWnd) return FALSE;
    platform::ui::DialogTemplate dialogTemplate;
    const HINSTANCE module = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    if (!platform::ui::LoadDialogTemplate(module, m_lpszTemplateName, dialogTemplate)) return FALSE;

    if (dwRequestedStyle == 0) dwRequestedStyle = AFX_WS_DEFAULT_VIEW;
    CREATESTRUCT cs = {};
    cs.style = static_cast<LONG>(dwRequestedStyle);
    if (!PreCreateWindow(cs)) return FALSE;
    // A form is a child dialog whatever its template says, shown at the end.
    dialogTemplate.style = (dialogTemplate.style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | WS_THICKFRAME |
                                                     DS_MODALFRAME | WS_BORDER)) |
                           WS_CHILD | (static_cast<DWORD>(cs.style) & WS_BORDER);
    dialogTemplate.exStyle = (dialogTemplate.exStyle & ~WS_EX_CLIENTEDGE) | (cs.dwExStyle & WS_EX_CLIENTEDGE);

    m_pCreateContext = pContext;
    CWnd* previous = HookWindowCreate(this);
    HWND hwnd = platform::ui::CreateDialogFromTemplate(dialogTemplate, module, pParentWnd->m_hWnd, nullptr, 0);
    HookWindowCreate(previous);
    m_pCreateContext = nullptr;
    if (!hwnd || m_hWnd != hwnd) return FALSE;

    SetDlgCtrlID(static_cast<int>(nID));
    CRect templateRect;
    GetWindowRect(&templateRect);
    SetScrollSizes(MM_TEXT, templateRect.Size());
    SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (dwRequestedStyle & WS_VISIBLE) ShowWindow(SW_NORMAL);
    return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    // The dialog manager cannot carry the context: it comes from the member.
    lpCreateStruct->lpCreateParams = m_pCreateContext;
    return CScrollView::OnCreate(lpCreateStruct);
}

LRESULT CFormView::HandleInitDialog(WPARAM, LPARAM)
{
    Default();
    return FALSE;   // the focus is set when the view is activated
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
    CScrollView::OnInitialUpdate();
}

void CFormView::OnDraw(CDC* pDC)
{
    (void)pDC;   // the controls paint themselves
}

void CFormView::OnSetFocus(CWnd* pOldWnd)
{
    (void)pOldWnd;
    if (!::IsWindow(m_hWndFocus) || !::IsChild(m_hWnd, m_hWndFocus)) {
        m_hWndFocus = nullptr;
        Default();
        return;
    }
    ::SetFocus(m_hWndFocus);
}

void CFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    if (!bActivate) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(m_hWnd, focus)) m_hWndFocus = focus;
    }
    CScrollView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg)
{
    if (CScrollView::PreTranslateMessage(pMsg)) return TRUE;
    // The frames get their chance before the dialog keys are handled.
    for (CFrameWnd* frame = GetParentFrame(); frame; frame = frame->GetParentFrame())
        if (frame->PreTranslateMessage(pMsg)) return TRUE;
    if (!::GetWindow(m_hWnd, GW_CHILD)) return FALSE;
    return PreTranslateInput(pMsg);
}
