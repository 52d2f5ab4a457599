#include "controls/CheckEdit.h"
#include "core/UserMessages.h"
#include "controls/PageNotify.h"

#include <cwchar>
#include <cstdlib>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "controls/TypedTextLimit.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/ui/framework/PaintDC.h"

IMPLEMENT_DYNCREATE(CCheckEdit, CEdit)

BEGIN_MESSAGE_MAP(CCheckEdit, CEdit)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
    ON_CONTROL_REFLECT(EN_UPDATE, OnUpdate)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_MESSAGE(WM_BOUND_CONTROL_RELOAD, OnPush)
END_MESSAGE_MAP()

CCheckEdit::CCheckEdit()
{
    m_brGray.CreateSolidBrush(RGB(0xDC, 0xDC, 0xDC));
    m_brWhite.CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF));
}

CCheckEdit::~CCheckEdit() = default;

void CCheckEdit::InitialText(const CString& strText)
{
    SetWindowText(strText);
}

void CCheckEdit::SetModifyFlag(BOOL bModify)
{
    m_bModify = bModify;
    if (m_pDoc)
        m_pDoc->SetEditChanged(bModify);
}

void CCheckEdit::SetRange(float fUpper, float fLower)
{
    m_bRange = 1;
    m_fUpper = fUpper;
    m_fLower = fLower;
}

void CCheckEdit::UpdateSelf()
{
    if (!m_pDoc)
        return;
    EnableWindow(!IsDocReadOnly());
    const UINT uID = GetDlgCtrlID();
    if (uID == 0)
        return;
    CString strText;
    m_pDoc->GetCtrlData(uID, strText);
    SetWindowText(strText);
    OnPush(0, 0);
}

CString CCheckEdit::CheckNumber(const CString& strText, float fUpper, float fLower)
{
    CString strTrim = strText;
    strTrim.Trim();
    if (strTrim.IsEmpty())
        return strTrim;
    for (int i = 0; i < strTrim.GetLength(); ++i) {
        const wchar_t ch = strTrim[i];
        if (ch != L'.' && (ch < L'0' || ch > L'9'))
            return CString();
    }
    // Only the range is checked: a text such as 1.5.2 is read as far as it
    // is a number (1.5) and kept as the user typed it.
    const double dValue = wcstod(strTrim.GetString(), nullptr);
    if (dValue < fLower || dValue > fUpper)
        return CString();
    return strText;
}

BOOL CCheckEdit::IsDocReadOnly() const
{
    return m_pDoc && m_pDoc->IsReadOnly();
}

void CCheckEdit::OnSetFocus(CWnd* pOldWnd)
{
    NotifyFocusToPage(this);
    CEdit::OnSetFocus(pOldWnd);
    // Cleared before the edge goes on: the resize the new frame causes would
    // otherwise run the first-paint path and take the edge off again.
    m_bDisplay = 0;
    m_bFocus = 1;
    ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    Invalidate(TRUE);
}

void CCheckEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    m_bFocus = 0;
    if (IsWindowVisible()) {
        ShowWindow(SW_HIDE);
        ShowWindow(SW_SHOW);
    }
    if (m_bRange) {
        CString strText;
        GetWindowText(strText);
        if (!strText.IsEmpty() && CheckNumber(strText, m_fUpper, m_fLower).IsEmpty())
            SetWindowText(L"");
    }
    RedrawInParent();
}

void CCheckEdit::RedrawInParent()
{
    CWnd* pParent = GetParent();
    if (!pParent)
        return;
    CRect rect;
    GetWindowRect(&rect);
    pParent->ScreenToClient(&rect);
    // Only the height is in dialog units; the top is already in pixels.
    int nFontHeight = 0;
    LOGFONT lf{};
    if (g_pDlgFontNormal && g_pDlgFontNormal->GetLogFont(&lf))
        nFontHeight = std::abs(static_cast<int>(lf.lfHeight));
    const int nBottom = rect.top + static_cast<int>(nFontHeight * g_dYUnit);
    if (nBottom > rect.bottom)
        rect.bottom = nBottom;
    pParent->InvalidateRect(&rect, TRUE);
}

void CCheckEdit::OnChange()
{
    OnPush(0, 0);
}

void CCheckEdit::OnUpdate()
{
    // The limit counts the columns the text is drawn in and guards what the
    // person types: a text loaded from the store stays whole.
    if (GuardTypedText(*this, static_cast<int>(GetLimitText()), m_guarded))
        SendMessage(EM_SCROLLCARET, 0, 0);
}

LRESULT CCheckEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
    // A multi-line edit tells no change when its text is set: what was set
    // is taken here, as the single-line one's notification takes it.
    if (message == WM_SETTEXT && m_hWnd) m_guarded.Load(*this);
    return result;
}

HBRUSH CCheckEdit::CtlColor(CDC* pDC, UINT /*nCtlColor*/)
{
    if (!m_pDoc)
        return nullptr;
    const COLORREF crBack = m_pDoc->GetWaveColor(20);
    m_brBack.DeleteObject();
    m_brBack.CreateSolidBrush(crBack);
    pDC->SetBkColor(crBack);
    pDC->SetTextColor(m_pDoc->GetWaveColor(25));
    return reinterpret_cast<HBRUSH>(m_brBack.GetSafeHandle());
}

void CCheckEdit::OnPaint()
{
    if (!m_pDoc) {
        ValidateRect(nullptr);
        return;
    }
    if (m_bDisplay) {
        ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
        m_bDisplay = 0;
    }
    const BOOL bReadOnly = IsDocReadOnly() || (GetStyle() & ES_READONLY);
    m_crFrame = m_pDoc->GetWaveColor((IsDocReadOnly() || !IsWindowEnabled()) ? 22 : 21);
    if (IsWindowEnabled() && m_bFocus && !bReadOnly) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_pDoc->GetDocFont(0)->GetSafeHandle()), 0);
        Default();
        return;
    }
    // Drawn as a field of a record opened for viewing only, it takes no
    // input either, whoever enabled it.
    if (IsDocReadOnly() || !IsWindowEnabled())
        ModifyStyle(0, WS_DISABLED);
    else
        ModifyStyle(WS_DISABLED, 0);
    PaintIdle();
}

void CCheckEdit::PaintIdle()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    dc.FillSolidRect(&rcClient, m_pDoc->GetWaveColor(20));
    dc.SetTextColor(m_pDoc->GetWaveColor(25));
    dc.SetBkMode(TRANSPARENT);
    {
        CDCObjectSelector font(dc, m_pDoc->GetDocFont(0));
        CString strText;
        GetWindowText(strText);
        CRect rcFormat;
        GetRect(&rcFormat);
        const BOOL bMulti = (GetStyle() & ES_MULTILINE) != 0;
        const UINT uFormat = bMulti ? (DT_WORDBREAK | DT_EDITCONTROL) : (DT_SINGLELINE | DT_LEFT);
        CRect rcText = rcFormat;
        dc.DrawText(strText, &rcText, uFormat | DT_CALCRECT);
        const int nShift = (rcFormat.Height() - rcText.Height()) / 2;
        if (nShift > 0)
            rcFormat.OffsetRect(0, nShift);
        dc.DrawText(strText, &rcFormat, uFormat);
    }
    CBrush brFrame;
    brFrame.CreateSolidBrush(m_crFrame);
    dc.FrameRect(&rcClient, &brFrame);
}

void CCheckEdit::OnSize(UINT nType, int cx, int cy)
{
    CEdit::OnSize(nType, cx, cy);
    if (m_bDisplay)
        SendMessage(WM_PAINT, 0, 0);
}

LRESULT CCheckEdit::OnPush(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const UINT uID = GetDlgCtrlID();
    if (!m_pDoc || uID == 0)
        return 0;
    CString strText;
    GetWindowText(strText);
    m_bModify = m_pDoc->PushCtrlEdit(uID, strText, -1);
    // Repainted in the state the store now gives it.
    Invalidate(TRUE);
    return 0;
}
