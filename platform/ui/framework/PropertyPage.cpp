#include "platform/ui/framework/PropertyPage.h"

#include "platform/ui/framework/PropertySheet.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

BEGIN_MESSAGE_MAP(CPropertyPage, CDialog)
END_MESSAGE_MAP()

CPropertyPage::CPropertyPage() : m_psp(), m_bFirstSetActive(TRUE), m_bChanged(FALSE), m_nIDCaption(0)
{
    m_psp.dwSize = sizeof(m_psp);
}

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate), m_psp(), m_bFirstSetActive(TRUE), m_bChanged(FALSE), m_nIDCaption(nIDCaption)
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.pszTemplate = m_lpszTemplateName;
}

CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption)
    : CDialog(lpszTemplateName), m_psp(), m_bFirstSetActive(TRUE), m_bChanged(FALSE), m_nIDCaption(nIDCaption)
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.pszTemplate = m_lpszTemplateName;
}

CPropertyPage::~CPropertyPage() = default;

void CPropertyPage::Construct(UINT nIDTemplate, UINT nIDCaption)
{
    m_lpszTemplateName = MAKEINTRESOURCE(nIDTemplate);
    m_nIDHelp = nIDTemplate;
    m_nIDCaption = nIDCaption;
    m_psp.pszTemplate = m_lpszTemplateName;
}

CString CPropertyPage::GetCaption() const
{
    if ((m_psp.dwFlags & PSP_USETITLE) && m_psp.pszTitle) return CString(m_psp.pszTitle);
    CString text;
    if (m_nIDCaption && text.LoadString(m_nIDCaption)) return text;
    return m_strCaption;
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    m_bChanged = bChanged;
    HWND sheet = ::GetParent(m_hWnd);
    if (sheet) ::SendMessageW(sheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam)
{
    HWND sheet = ::GetParent(m_hWnd);
    return sheet ? ::SendMessageW(sheet, PSM_QUERYSIBLINGS, wParam, lParam) : 0;
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive) {
        m_bFirstSetActive = FALSE;
        return TRUE;
    }
    UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    m_bChanged = FALSE;
    return TRUE;
}

void CPropertyPage::OnReset()
{
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

void CPropertyPage::OnOK()
{
    // A page does not end anything: the sheet does.
}

void CPropertyPage::OnCancel()
{
}

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
    // Escape is the sheet's: it cancels the sheet, not the page.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) return FALSE;
    // The page-turning keys are the sheet's, before the page's own
    // navigation takes Ctrl+Tab for a plain Tab.
    if (CPropertySheet::IsPageTurnKey(pMsg)) {
        auto* sheet = dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
        if (sheet && sheet->TurnPageByKey(pMsg)) return TRUE;
    }
    return PreTranslateInput(pMsg);
}
