#include "controls/CheckUI.h"

#include "controls/CheckComboBox.h"
#include "controls/CheckEdit.h"
#include "controls/CheckStatic.h"
#include "controls/MultiEdit.h"
#include "core/TavrionDoc.h"
#include "platform/ui/framework/Button.h"
#include "platform/ui/framework/Static.h"

CCheckUI::CCheckUI(CWnd* pCtrl, CTavrionDoc* pDoc)
    : m_pCtrl(pCtrl), m_pDoc(pDoc)
{
    if (!m_pCtrl || !m_pCtrl->m_hWnd)
        return;
    CRect rect;
    if (m_pCtrl->IsKindOf(RUNTIME_CLASS(CCheckComboBox)))
        m_pCtrl->SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(static_cast<LPRECT>(&rect)));
    else
        m_pCtrl->GetWindowRect(&rect);
    if (CWnd* pParent = m_pCtrl->GetParent())
        pParent->ScreenToClient(&rect);
    m_rect = rect;
}

CCheckUI::~CCheckUI() = default;

BOOL CCheckUI::IsDocReadOnly() const
{
    return m_pDoc && m_pDoc->IsReadOnly();
}

void CCheckUI::InitialText()
{
    if (!m_pCtrl || !m_pDoc)
        return;
    const UINT uID = m_pCtrl->GetDlgCtrlID();
    if (uID == 0)
        return;
    CString strText;
    m_pDoc->GetCtrlData(uID, strText);
    CFont* pFont = m_pDoc->GetDocFont(0);
    if (CCheckEdit* pEdit = DYNAMIC_DOWNCAST(CCheckEdit, m_pCtrl)) {
        pEdit->SetFont(pFont, TRUE);
        pEdit->InitialText(strText);
    } else if (CCheckComboBox* pCombo = DYNAMIC_DOWNCAST(CCheckComboBox, m_pCtrl)) {
        pCombo->SetFont(pFont, TRUE);
        pCombo->InitialText(strText);
    } else if (CCheckStatic* pStatic = DYNAMIC_DOWNCAST(CCheckStatic, m_pCtrl)) {
        pStatic->SetFont(pFont, TRUE);
        pStatic->SetWindowText(strText);
    } else if (CMultiEdit* pMulti = DYNAMIC_DOWNCAST(CMultiEdit, m_pCtrl)) {
        pMulti->SetEditFont(pFont);
        pMulti->InitialText(strText);
    } else if (m_pCtrl->IsKindOf(RUNTIME_CLASS(CButton))) {
        m_pCtrl->SetFont(pFont, TRUE);
        m_pCtrl->SetWindowText(strText);
    } else if (m_pCtrl->IsKindOf(RUNTIME_CLASS(CStatic))) {
        m_pCtrl->SetFont(pFont, TRUE);
    }
}

void CCheckUI::UpdateValue()
{
    if (!m_pCtrl)
        return;
    if (CCheckEdit* pEdit = DYNAMIC_DOWNCAST(CCheckEdit, m_pCtrl))
        pEdit->UpdateSelf();
    else if (CCheckComboBox* pCombo = DYNAMIC_DOWNCAST(CCheckComboBox, m_pCtrl))
        pCombo->UpdateSelf();
    else if (CCheckStatic* pStatic = DYNAMIC_DOWNCAST(CCheckStatic, m_pCtrl))
        pStatic->UpdateSelf();
    else if (CMultiEdit* pMulti = DYNAMIC_DOWNCAST(CMultiEdit, m_pCtrl))
        pMulti->UpdateSelf();
}

void CCheckUI::UpdateStatus()
{
    if (!m_pCtrl || !m_pDoc)
        return;
    const UINT uID = m_pCtrl->GetDlgCtrlID();
    if (uID == 0)
        return;
    const long lStatus = m_pDoc->CheckCtrlStatus(uID, 0);
    const BOOL bButton = m_pCtrl->IsKindOf(RUNTIME_CLASS(CButton));
    const BOOL bShow = (lStatus & 1) && !(bButton && IsDocReadOnly());
    m_pCtrl->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    const BOOL bCheckStatic = m_pCtrl->IsKindOf(RUNTIME_CLASS(CCheckStatic));
    if (!bCheckStatic) {
        BOOL bEnable = (lStatus & 2) && !IsDocReadOnly();
        if (IsDocReadOnly() && m_pCtrl->IsKindOf(RUNTIME_CLASS(CStatic)))
            bEnable = (lStatus & 2) != 0;
        m_pCtrl->EnableWindow(bEnable);
    }
    m_pCtrl->Invalidate(TRUE);
}
