#include "controls/CheckStatic.h"

#include "core/UserMessages.h"
#include "core/TavrionDoc.h"

IMPLEMENT_DYNCREATE(CCheckStatic, CStatic)

BEGIN_MESSAGE_MAP(CCheckStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_MESSAGE(WM_BOUND_CONTROL_RELOAD, OnPush)
END_MESSAGE_MAP()

CCheckStatic::~CCheckStatic() = default;

void CCheckStatic::UpdateSelf()
{
    const UINT uID = GetDlgCtrlID();
    if (!m_pDoc || uID == 0)
        return;
    CString strText;
    m_pDoc->GetCtrlData(uID, strText);
    SetWindowText(strText);
}

HBRUSH CCheckStatic::CtlColor(CDC* pDC, UINT /*nCtlColor*/)
{
    if (!m_pDoc)
        return nullptr;
    m_crBack = m_pDoc->GetWaveColor(20);
    int nSlot = 25;
    if (m_nColorType == 0)
        nSlot = 23;
    else if (m_nColorType == 1)
        nSlot = 24;
    else if (m_nColorType == 3)
        nSlot = 0;
    pDC->SetTextColor(m_pDoc->GetWaveColor(nSlot));
    pDC->SetBkMode(TRANSPARENT);
    m_brBack.DeleteObject();
    m_brBack.CreateSolidBrush(m_crBack);
    return reinterpret_cast<HBRUSH>(m_brBack.GetSafeHandle());
}

LRESULT CCheckStatic::OnPush(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const UINT uID = GetDlgCtrlID();
    if (!m_pDoc || uID == 0)
        return static_cast<LRESULT>(-1);
    CString strText;
    GetWindowText(strText);
    m_pDoc->PushCtrlEdit(uID, strText, -1);
    Invalidate(TRUE);
    return 0;
}
