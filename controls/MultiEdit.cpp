#include "controls/MultiEdit.h"
#include "core/UserMessages.h"
#include "controls/PageNotify.h"

#include "core/TavrionDoc.h"

IMPLEMENT_DYNCREATE(CMultiEdit, CWnd)

BEGIN_MESSAGE_MAP(CMultiEdit, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const DWORD kEditFaceStyle = 0x40011044;      // child, tab stop, multi-line, wants Return
const DWORD kDisplayFaceStyle = 0x50000804;   // child, visible, multi-line, read-only

}  // namespace

CMultiEdit::~CMultiEdit() = default;

void CMultiEdit::SetDoc(CTavrionDoc* pDoc)
{
    m_pDoc = pDoc;
    m_display.SetDoc(pDoc);
}

void CMultiEdit::InitialText(const CString& strText)
{
    m_strText = strText;
    m_strText.TrimRight();
    if (m_edit.m_hWnd)
        m_edit.SetWindowText(m_strText);
    if (m_display.m_hWnd)
        m_display.SetWindowText(m_strText);
}

void CMultiEdit::SetEditFont(CFont* pFont)
{
    const WPARAM hFont = pFont ? reinterpret_cast<WPARAM>(pFont->GetSafeHandle()) : 0;
    if (m_edit.m_hWnd)
        m_edit.SendMessage(WM_SETFONT, hFont, TRUE);
    if (m_display.m_hWnd)
        m_display.SendMessage(WM_SETFONT, hFont, TRUE);
}

void CMultiEdit::LimitCtrl(UINT nLimit)
{
    if (m_edit.m_hWnd)
        m_edit.SendMessage(EM_LIMITTEXT, nLimit, 0);
}

int CMultiEdit::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    const int nResult = CWnd::OnCreate(lpCreateStruct);
    if (nResult != 0)
        return nResult;
    const CRect rcEmpty(0, 0, 0, 0);
    if (!m_display.m_hWnd)
        m_display.CreateEx(0, L"EDIT", L"", kDisplayFaceStyle, rcEmpty, this, IDC_DISPLAY_FACE);
    if (!m_edit.m_hWnd)
        m_edit.CreateEx(WS_EX_CLIENTEDGE, L"EDIT", L"", kEditFaceStyle, rcEmpty, this, IDC_EDIT_FACE);
    return 0;
}

void CMultiEdit::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    m_display.MoveWindow(0, 0, cx, cy, TRUE);
    m_edit.MoveWindow(0, 0, cx, cy, TRUE);
    m_edit.ShowWindow(SW_HIDE);
    m_bEditing = 0;
    m_display.SetWindowText(m_strText);
}

void CMultiEdit::ShowEditFace()
{
    m_display.ShowWindow(SW_HIDE);
    m_edit.ShowWindow(SW_SHOW);
    m_bEditing = 1;
}

void CMultiEdit::OnSetFocus(CWnd* pOldWnd)
{
    NotifyFocusToPage(this);
    CWnd::OnSetFocus(pOldWnd);
    m_edit.SetFocus();
    ShowEditFace();
    m_edit.SendMessage(EM_SETSEL, static_cast<WPARAM>(-1), -1);
    m_edit.SendMessage(EM_SCROLLCARET, 0, 0);
}

void CMultiEdit::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    // The focus passing to one of the faces keeps the field open.
    if (pNewWnd && pNewWnd->m_hWnd && (pNewWnd->m_hWnd == m_hWnd || IsChild(pNewWnd)))
        return;
    m_edit.ShowWindow(SW_HIDE);
    CString strText;
    m_edit.GetWindowText(strText);
    strText.TrimRight();
    m_edit.SetWindowText(strText);
    if (m_bEditing) {
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_COMMENT_EDIT_LEFT, 0, 0);
    }
    m_display.SetWindowText(strText);
    m_display.SendMessage(WM_KILLFOCUS, 0, 0);
    m_display.ShowWindow(SW_SHOW);
    m_bEditing = 0;
    if (IsWindowVisible()) {
        ShowWindow(SW_HIDE);
        ShowWindow(SW_SHOW);
    }
}

BOOL CMultiEdit::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (!pExtra && !pHandlerInfo) {
        if (nID == IDC_EDIT_FACE) {
            if (nCode == EN_KILLFOCUS)
                SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(::GetFocus()), 0);
            else if (nCode == EN_SETFOCUS)
                SendMessage(WM_SETFOCUS, 0, 0);
            else if (nCode == EN_CHANGE)
                EditChange();
            else if (nCode == EN_UPDATE)
                GuardTypedChange();
        } else if (nID == IDC_DISPLAY_FACE && nCode == EN_SETFOCUS) {
            ShowEditFace();
        }
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMultiEdit::EditChange()
{
    CString strText;
    m_edit.GetWindowText(strText);
    strText.TrimRight();
    if (m_pDoc) {
        const UINT uID = GetDlgCtrlID();
        if (uID != 0)
            m_pDoc->SetCtrlData(uID, strText, 0, -1);
        m_pDoc->SetEditCommentFlag(1);
    }
    m_display.SetWindowText(strText);
    m_strText = strText;
}

LRESULT CMultiEdit::CEditFace::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
    if (message == WM_SETTEXT && m_hWnd) m_guarded.Load(*this);
    return result;
}

void CMultiEdit::GuardTypedChange()
{
    // The limit guards what the person types: a comment loaded longer is
    // kept whole, a key that would lengthen it is refused, deleting is
    // taken. It counts the columns the text is drawn in; a field whose
    // store lays the text out keeps what that layout holds (the line breaks
    // it lays the text with take no room there).
    const BOOL cut = m_pfnFit ? GuardTypedText(m_edit, m_pfnFit, m_edit.m_guarded)
                              : GuardTypedText(m_edit, static_cast<int>(m_edit.GetLimitText()), m_edit.m_guarded);
    if (cut) m_edit.SendMessage(EM_SCROLLCARET, 0, 0);
}

void CMultiEdit::UpdateSelf()
{
    if (!m_pDoc)
        return;
    // A record opened for viewing only keeps its comment as it is: neither
    // the field nor its edit face takes input, while the display face still
    // shows the text.
    const BOOL bEditable = !m_pDoc->IsReadOnly();
    EnableWindow(bEditable);
    m_edit.EnableWindow(bEditable);
    const UINT uID = GetDlgCtrlID();
    if (uID == 0)
        return;
    CString strText;
    m_pDoc->GetCtrlData(uID, strText);
    strText.TrimRight();
    m_edit.SetWindowText(strText);
    m_display.UpdateSelf();
    m_display.SetWindowText(strText);
    m_strText = strText;
}

void CMultiEdit::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_LBUTTONDBLCLK, nFlags, MAKELPARAM(point.x, point.y));
    CWnd::OnLButtonDblClk(nFlags, point);
}

HBRUSH CMultiEdit::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (!m_pDoc)
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    const COLORREF crBack = m_pDoc->GetWaveColor(20);
    m_brBack.DeleteObject();
    m_brBack.CreateSolidBrush(crBack);
    pDC->SetBkColor(crBack);
    pDC->SetTextColor(m_pDoc->GetWaveColor(25));
    return reinterpret_cast<HBRUSH>(m_brBack.GetSafeHandle());
}

BOOL CMultiEdit::OnEraseBkgnd(CDC* pDC)
{
    if (!m_pDoc)
        return CWnd::OnEraseBkgnd(pDC);
    CRect rcClip;
    pDC->GetClipBox(&rcClip);
    CBrush brush;
    brush.CreateSolidBrush(m_pDoc->GetWaveColor(20));
    pDC->FillRect(&rcClip, &brush);
    return 1;
}
