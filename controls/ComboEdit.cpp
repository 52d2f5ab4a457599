#include "controls/ComboEdit.h"

#include "controls/CheckComboBox.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/ui/framework/ClientDC.h"

IMPLEMENT_DYNAMIC(CComboEdit, CEdit)

BEGIN_MESSAGE_MAP(CComboEdit, CEdit)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CComboEdit::~CComboEdit() = default;

BOOL CComboEdit::IsNavigationKey(UINT nChar)
{
    return nChar == VK_TAB || (nChar >= VK_PRIOR && nChar <= VK_DOWN);
}

LRESULT CComboEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_bReadOnly) {
        if ((message == WM_CHAR || message == WM_KEYDOWN) && !IsNavigationKey(static_cast<UINT>(wParam)))
            return 0;
        if (message == WM_CUT || message == WM_COPY || message == WM_PASTE)
            return 0;
    }
    const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
    // The combo box sets its edit's text without telling of a change (a
    // load, a choice from the list): what was set is taken here.
    if (message == WM_SETTEXT && m_hWnd) m_guarded.Load(*this);
    return result;
}

CCheckComboBox* CComboEdit::GetCombo() const
{
    return DYNAMIC_DOWNCAST(CCheckComboBox, GetParent());
}

void CComboEdit::OnSetFocus(CWnd* pOldWnd)
{
    if (!m_strShown.IsEmpty())
        SetWindowText(m_strShown);
    CEdit::OnSetFocus(pOldWnd);
    m_bFocus = 1;
    if (CCheckComboBox* pCombo = GetCombo()) {
        pCombo->FocusChanged(1);
        pCombo->BrushFrame();
    }
    SendMessage(EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendMessage(EM_SCROLLCARET, 0, 0);
}

void CComboEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    m_bFocus = 0;
    if (CCheckComboBox* pCombo = GetCombo())
        pCombo->FocusChanged(0);
}

void CComboEdit::OnPaint()
{
    Default();
    if (!m_pDoc)
        return;
    m_crFrame = m_pDoc->GetWaveColor(m_pDoc->IsReadOnly() ? 22 : 21);
    if (m_bFocus)
        return;
    DrawIdle();
    if (CCheckComboBox* pCombo = GetCombo())
        pCombo->DrawFrame();
}

void CComboEdit::DrawIdle()
{
    if (!m_pDoc || m_bFocus)
        return;
    CClientDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    dc.FillSolidRect(&rcClient, m_pDoc->GetWaveColor(20));
    dc.SetTextColor(m_pDoc->GetWaveColor(25));
    dc.SetBkMode(TRANSPARENT);
    CDCObjectSelector font(dc, m_pDoc->GetDocFont(0));
    CString strText = m_strShown;
    if (strText.IsEmpty())
        GetWindowText(strText);
    dc.TextOut(0, 0, strText.GetString(), strText.GetLength());
}
