#include "controls/CheckComboBox.h"
#include "core/UserMessages.h"
#include "controls/PageNotify.h"

#include "controls/TypedTextLimit.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/framework/ClientDC.h"

IMPLEMENT_DYNCREATE(CCheckComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CCheckComboBox, CComboBox)
    ON_CONTROL_REFLECT(CBN_EDITCHANGE, OnEditChange)
    ON_CONTROL_REFLECT(CBN_SELCHANGE, OnSelChange)
    ON_CONTROL_REFLECT(CBN_KILLFOCUS, OnKillFocusReflect)
    ON_CONTROL_REFLECT(CBN_EDITUPDATE, OnEditUpdate)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETFOCUS()
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CCheckComboBox::CCheckComboBox()
{
    m_brWhite.CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF));
}

CCheckComboBox::~CCheckComboBox() = default;

void CCheckComboBox::SetDoc(CTavrionDoc* pDoc)
{
    m_pDoc = pDoc;
    m_edit.SetDoc(pDoc);
}

void CCheckComboBox::SetReadOnly(BOOL bReadOnly)
{
    m_bReadOnly = bReadOnly;
    if (m_edit.m_hWnd)
        m_edit.SetReadOnlyFlag(bReadOnly);
}

BOOL CCheckComboBox::IsDocReadOnly() const
{
    return m_pDoc && m_pDoc->IsReadOnly();
}

void CCheckComboBox::AttachInnerEdit()
{
    if (m_edit.m_hWnd)
        return;
    CWnd* pChild = GetWindow(GW_CHILD);
    if (!pChild)
        return;
    if (m_edit.SubclassWindow(pChild->m_hWnd))
        m_edit.SetReadOnlyFlag(m_bReadOnly);
}

void CCheckComboBox::Push(const CString& strText, int nSel)
{
    const UINT uID = GetDlgCtrlID();
    if (!m_pDoc || uID == 0)
        return;
    m_bModify = m_pDoc->PushCtrlEdit(uID, strText, nSel);
    // Repainted in the state the store now gives it.
    Invalidate(TRUE);
}

void CCheckComboBox::InitialText(const CString& strText)
{
    AttachInnerEdit();
    const int nSel = SelectString(-1, strText);
    if (nSel == CB_ERR) {
        SetWindowText(strText);
        // What the box showed before belongs to an earlier load: left as the
        // shown text it would be drawn, and put back with the focus.
        m_edit.SetShownText(strText);
        return;
    }
    CString strItem;
    GetLBText(nSel, strItem);
    if (strItem.Compare(strText) != 0) {
        SetWindowText(strText);
        m_edit.SetShownText(strText);
        if (m_pDoc && GetDlgCtrlID() != 0)
            m_pDoc->SetCtrlData(GetDlgCtrlID(), strText, 0, -1);
        return;
    }
    m_edit.SetShownText(strItem);
}

void CCheckComboBox::UpdateSelf()
{
    if (!m_pDoc)
        return;
    EnableWindow(!IsDocReadOnly());
    const UINT uID = GetDlgCtrlID();
    if (uID == 0)
        return;
    m_bModify = m_pDoc->GetCtrlModifyFlag(uID);
    CString strText;
    m_pDoc->GetCtrlData(uID, strText);
    int nSel = SelectString(-1, strText);
    if (nSel == CB_ERR) {
        SetWindowText(strText);
        m_edit.SetShownText(strText);
        return;
    }
    CString strItem;
    GetLBText(nSel, strItem);
    if (strItem.Compare(strText) != 0) {
        SetWindowText(strText);
        m_edit.SetShownText(strText);
        nSel = -1;
    } else {
        // The item found is what the box shows from now on, as when it was
        // loaded: a text typed before would come back with the focus.
        m_edit.SetShownText(strItem);
    }
    m_pDoc->SetCtrlData(uID, strText, 0, nSel);
}

void CCheckComboBox::OnEditChange()
{
    CString strText;
    GetWindowText(strText);
    Push(strText, -1);
    m_edit.SetShownText(strText);
}

void CCheckComboBox::OnSelChange()
{
    const int nSel = GetCurSel();
    if (nSel == CB_ERR)
        return;
    CString strItem;
    GetLBText(nSel, strItem);
    Push(strItem, nSel);
    m_edit.SetShownText(strItem);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_BOUND_COMBO_CHANGED, GetDlgCtrlID(), nSel);
}

void CCheckComboBox::OnKillFocusReflect()
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_PAINT, 0, 0);
}

void CCheckComboBox::OnEditUpdate()
{
    if (!m_edit.m_hWnd)
        return;
    // The limit counts the columns the text is drawn in and guards what the
    // person types: a text loaded from the store or the list stays whole.
    if (!GuardTypedText(m_edit, static_cast<int>(m_edit.GetLimitText()), m_edit.Guarded()))
        return;
    CString strCut;
    m_edit.GetWindowText(strCut);
    m_edit.SetShownText(strCut);
    m_edit.SendMessage(EM_SCROLLCARET, 0, 0);
}

HBRUSH CCheckComboBox::CtlColor(CDC* pDC, UINT /*nCtlColor*/)
{
    if (!m_pDoc)
        return nullptr;
    const COLORREF crBack = m_pDoc->GetWaveColor(20);
    pDC->SetBkColor(crBack);
    pDC->SetTextColor(m_pDoc->GetWaveColor(25));
    m_brBack.DeleteObject();
    m_brBack.CreateSolidBrush(crBack);
    return reinterpret_cast<HBRUSH>(m_brBack.GetSafeHandle());
}

void CCheckComboBox::OnSetFocus(CWnd* pOldWnd)
{
    NotifyFocusToPage(this);
    if (!m_edit.GetShownText().IsEmpty())
        SetWindowText(m_edit.GetShownText());
    CComboBox::OnSetFocus(pOldWnd);
    Invalidate(TRUE);
}

void CCheckComboBox::FocusChanged(BOOL /*bFocus*/)
{
    if (m_pDoc && m_pDoc->GetDocFont(0))
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_pDoc->GetDocFont(0)->GetSafeHandle()), TRUE);
    Invalidate(FALSE);
}

CRect CCheckComboBox::GetFrameRect() const
{
    CRect rect;
    GetClientRect(&rect);
    if (!m_pDoc)
        return rect;
    const double dRow = m_pDoc->GetYUnit();
    rect.bottom += static_cast<int>(dRow);
    if (m_nRowCount >= 0)
        rect.bottom = rect.top + static_cast<int>(m_nRowCount * dRow);
    return rect;
}

void CCheckComboBox::DrawFrame()
{
    if (!m_pDoc)
        return;
    const BOOL bEditable = IsWindowEnabled() && !IsDocReadOnly();
    const COLORREF crFrame = m_pDoc->GetWaveColor(bEditable ? 21 : 22);
    // A box that looks read-only takes no input either, whoever enabled it.
    if (bEditable)
        ModifyStyle(WS_DISABLED, 0);
    else
        ModifyStyle(0, WS_DISABLED);
    m_crBack = crFrame;
    CRect rect = GetFrameRect();
    const double dCol = m_pDoc->GetXUnit();
    const double dRow = m_pDoc->GetYUnit();
    rect.left += static_cast<int>(dCol);
    rect.right -= static_cast<int>(2 * dCol);
    rect.top += static_cast<int>(dRow);
    rect.bottom -= static_cast<int>(2 * dRow);
    CClientDC dc(this);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, crFrame);
    CDCStateSaver saved(dc);
    dc.SelectObject(&pen);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(&rect);
}

void CCheckComboBox::BrushFrame()
{
    if (!m_pDoc)
        return;
    CRect rect;
    GetClientRect(&rect);
    if (m_nRowCount >= 0)
        rect = GetFrameRect();
    {
        CClientDC dc(this);
        dc.FillSolidRect(&rect, m_pDoc->GetWaveColor(20));
    }
    CWnd* pParent = GetParent();
    if (!pParent)
        return;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    pParent->ScreenToClient(&rcWindow);
    pParent->InvalidateRect(&rcWindow, TRUE);
}

void CCheckComboBox::OnPaint()
{
    if (m_edit.m_hWnd && m_edit.GetReadOnlyFlag()) {
        Default();
        return;
    }
    ValidateRect(nullptr);
    Default();
    DrawCombo();
}

void CCheckComboBox::DrawCombo()
{
    if (!m_pDoc)
        return;
    {
        CClientDC dc(this);
        CRect rect = GetFrameRect();
        dc.FillSolidRect(&rect, m_pDoc->GetWaveColor(20));
    }
    m_edit.DrawIdle();
}

void CCheckComboBox::OnDestroy()
{
    if (m_edit.m_hWnd)
        m_edit.UnsubclassWindow();
    CComboBox::OnDestroy();
}
