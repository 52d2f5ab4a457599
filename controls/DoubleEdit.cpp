#include "controls/DoubleEdit.h"

#include <algorithm>

#include "core/Globals.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/framework/PaintDC.h"

BEGIN_MESSAGE_MAP(CDoubleEdit, CEdit)
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
    ON_WM_RBUTTONDOWN()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

bool IsSign(wchar_t ch)
{
    return ch == L'-' || ch == L'+';
}

bool IsDigit(wchar_t ch)
{
    return ch >= L'0' && ch <= L'9';
}

bool IsYesNoLetter(wchar_t ch)
{
    return ch == L'Y' || ch == L'N' || ch == L'y' || ch == L'n';
}

}  // namespace

CDoubleEdit::CDoubleEdit() : m_pFont(g_pDlgFontNormal) {}

CDoubleEdit::~CDoubleEdit() = default;

BOOL CDoubleEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CDoubleEdit::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::CreateEx(dwExStyle, L"EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CDoubleEdit::SetFont(CFont* pFont, BOOL bRedraw)
{
    m_pFont = pFont;
    if (!::IsWindow(m_hWnd))
        return;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->GetSafeHandle() : nullptr), bRedraw);
}

BOOL CDoubleEdit::IsValidText(const CString& strText) const
{
    const int nLength = strText.GetLength();
    if (nLength == 0)
        return TRUE;
    if (m_bYesNo)
        return nLength == 1 && IsYesNoLetter(strText[0]);
    const int nSign = IsSign(strText[0]) ? 1 : 0;
    int nPoint = -1;
    for (int i = nSign; i < nLength; ++i) {
        const wchar_t ch = strText[i];
        if (IsDigit(ch))
            continue;
        if (ch != L'.')
            return FALSE;
        if (nPoint >= 0 || m_nDecimalDigits < 1)
            return FALSE;
        nPoint = i;
    }
    if (nPoint >= 0) {
        const int nIntegers = nPoint - nSign;
        const int nDecimals = nLength - nPoint - 1;
        if (nIntegers > m_nIntegerDigits || nDecimals > m_nDecimalDigits)
            return FALSE;
        const double dValue = _wtof(strText);
        return dValue >= m_dMin && dValue <= m_dMax;
    }
    if (nLength - nSign > m_nIntegerDigits)
        return FALSE;
    // Fifteen digits overflow an int; the value is compared as a double.
    const double dValue = _wtof(strText);
    return dValue >= m_dMin && dValue <= m_dMax;
}

void CDoubleEdit::OnBadInput()
{
    if (Notify(DEN_INVALID_INPUT) == -1)
        return;
    if (m_bBeep)
        ::MessageBeep(0xFFFFFFFF);
}

LRESULT CDoubleEdit::Notify(WORD wCode)
{
    CWnd* pParent = GetParent();
    if (!pParent)
        return 0;
    return pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), wCode), reinterpret_cast<LPARAM>(m_hWnd));
}

BOOL CDoubleEdit::IsOutOfRange() const
{
    if (m_bYesNo)
        return FALSE;
    CString strText;
    GetWindowText(strText);
    const double dValue = _wtof(strText);
    return dValue < m_dMin || dValue > m_dMax;
}

void CDoubleEdit::AcceptOrRefuse(const CString& strCandidate)
{
    if (!IsValidText(strCandidate)) {
        OnBadInput();
        return;
    }
    CString strBefore;
    GetWindowText(strBefore);
    Default();
    CString strAfter;
    GetWindowText(strAfter);
    if (strAfter != strBefore)
        m_bModified = TRUE;
}

void CDoubleEdit::OnChar(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/)
{
    if (nChar == VK_TAB || nChar == VK_RETURN) {
        if (IsOutOfRange())
            Notify(DEN_OUT_OF_RANGE);
        Notify(nChar == VK_TAB ? DEN_TAB : DEN_ENTER);
        return;
    }
    if (!m_bInputEnabled)
        return;
    CString strText;
    GetWindowText(strText);
    int nStart = 0;
    int nEnd = 0;
    GetSel(nStart, nEnd);
    const CString strLeft = strText.Left(nStart);
    const CString strRight = strText.Mid(nEnd);
    if (m_bYesNo && nChar != VK_BACK) {
        OnYesNoChar(static_cast<wchar_t>(nChar), strLeft + CString(static_cast<wchar_t>(nChar)) + strRight);
        return;
    }
    if (nChar == VK_BACK) {
        if (nStart != nEnd) {
            AcceptOrRefuse(strLeft + strRight);
            return;
        }
        if (nStart == 0) {
            Default();
            return;
        }
        AcceptOrRefuse(strText.Left(nStart - 1) + strRight);
        return;
    }
    // Clipboard and undo keys could bring in text no keystroke check sees.
    if (nChar == 3 || nChar == 22 || nChar == 24 || nChar == 26 || nChar == 37 || nChar == 39)
        return;
    if (nChar == L'-' || nChar == L'+') {
        OnSign(static_cast<wchar_t>(nChar), strText, nStart, nEnd);
        return;
    }
    if (nChar == L'.' || IsDigit(static_cast<wchar_t>(nChar))) {
        // The point is checked like a digit: "1234" must not become "1.234"
        // when only two decimals are allowed.
        AcceptOrRefuse(strLeft + CString(static_cast<wchar_t>(nChar)) + strRight);
        return;
    }
    OnBadInput();
}

void CDoubleEdit::OnYesNoChar(wchar_t ch, const CString& strCandidate)
{
    // Clipboard and undo keys stay inert here too.
    if (ch < L' ')
        return;
    if (!IsYesNoLetter(ch)) {
        OnBadInput();
        return;
    }
    AcceptOrRefuse(strCandidate);
}

void CDoubleEdit::OnSign(wchar_t chSign, const CString& strText, int nStart, int nEnd)
{
    if (chSign == L'-' && m_dMin >= 0) {
        OnBadInput();
        return;
    }
    if (chSign == L'+' && m_dMax <= 0) {
        OnBadInput();
        return;
    }
    if (!strText.IsEmpty()) {
        if (nStart != 0)
            return;
        if (nEnd == 0 && IsSign(strText[0]))
            return;
    }
    const CString strCandidate = CString(chSign) + strText.Mid(nEnd);
    if (!IsValidText(strCandidate))
        return;
    Default();
    m_bModified = TRUE;
}

void CDoubleEdit::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/)
{
    // Shift+Insert pastes past every check, as the paste key would.
    if (nChar == VK_INSERT && (::GetKeyState(VK_SHIFT) & 0x8000))
        return;
    if (nChar != VK_DELETE) {
        Default();
        return;
    }
    // Delete edits as a typed key does: not while input is disabled.
    if (!m_bInputEnabled)
        return;
    CString strText;
    GetWindowText(strText);
    int nStart = 0;
    int nEnd = 0;
    GetSel(nStart, nEnd);
    if (nStart != nEnd) {
        AcceptOrRefuse(strText.Left(nStart) + strText.Mid(nEnd));
        return;
    }
    if (nStart >= strText.GetLength()) {
        Default();
        return;
    }
    AcceptOrRefuse(strText.Left(nStart) + strText.Mid(nStart + 1));
}

void CDoubleEdit::OnChange()
{
    if (m_bInputEnabled)
        m_bModified = TRUE;
}

void CDoubleEdit::OnRButtonDown(UINT /*nFlags*/, CPoint /*point*/)
{
    // No context menu: Paste and Undo would bypass the keystroke checks.
}

void CDoubleEdit::OnPaint()
{
    if (m_bDisplay || m_bInputEnabled) {
        Default();
        return;
    }
    if (m_bFirstPaint) {
        m_bFirstPaint = FALSE;
        ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    }
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    dc.FillSolidRect(&rcClient, m_crBack);
    {
        CDCStateSaver saved(dc);
        if (m_pFont) dc.SelectObject(m_pFont);
        dc.SetTextColor(m_crText);
        dc.SetBkMode(TRANSPARENT);
        CString strText;
        GetWindowText(strText);
        CRect rcText;
        GetRect(&rcText);
        const CSize sizeText = dc.GetTextExtent(strText);
        rcText.top += std::max(0, (static_cast<int>(rcText.Height()) - static_cast<int>(sizeText.cy)) / 2);
        dc.DrawText(strText, &rcText, DT_RIGHT | DT_SINGLELINE);
    }
    // A reading, not a field: the disabled style keeps focus and clicks away.
    ModifyStyle(0, WS_DISABLED);
}
