#include "controls/LinkStatic.h"

#include "core/TavrionDoc.h"
#include "platform/base/Kernel.h"
#include "platform/base/Profile.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"

BEGIN_MESSAGE_MAP(CLinkStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
    // The static class takes double clicks; a quick second click is still a click.
    ON_CONTROL_REFLECT(STN_DBLCLK, OnClicked)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const int kBackgroundSlot = 20;
const int kTextSlot = 25;
const UINT kHoverPeriod = 100;   // milliseconds between checks that the mouse is still over the label
const int kHandCursorId = 106;

}  // namespace

CLinkStatic::CLinkStatic() = default;

CLinkStatic::~CLinkStatic()
{
    delete m_pBrush;
    if (m_pToolTip && ::IsWindow(m_pToolTip->m_hWnd))
        m_pToolTip->DestroyWindow();
    delete m_pToolTip;
    if (m_bOwnCursor)
        ::DestroyCursor(m_hCursor);
}

void CLinkStatic::SetDoc(CTavrionDoc* pDoc)
{
    m_pDoc = pDoc;
    ApplyDocFont();
}

void CLinkStatic::ApplyDocFont()
{
    if (!m_pDoc || !::IsWindow(m_hWnd))
        return;
    CFont* pFont = m_pDoc->GetDocFont(0);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->GetSafeHandle() : nullptr), TRUE);
}

void CLinkStatic::SetLinkCursor(HCURSOR hCursor)
{
    if (m_bOwnCursor)
        ::DestroyCursor(m_hCursor);
    m_bOwnCursor = FALSE;
    m_hCursor = hCursor;
    if (!m_hCursor)
        LoadDefaultCursor();
}

void CLinkStatic::LoadDefaultCursor()
{
    if (m_hCursor)
        return;
    wchar_t szDir[MAX_PATH + 1] = {};
    const UINT nLength = ::GetWindowsDirectoryW(szDir, MAX_PATH);
    if (nLength == 0 || nLength > MAX_PATH)
        return;
    CString strPath(szDir);
    strPath += L"\\winhlp32.exe";
    HMODULE hModule = ::LoadLibraryW(strPath);
    if (!hModule)
        return;
    HCURSOR hCursor = ::LoadCursorW(hModule, MAKEINTRESOURCE(kHandCursorId));
    if (hCursor) {
        // The module goes away below; the copy outlives it.
        m_hCursor = ::CopyIcon(hCursor);
        m_bOwnCursor = m_hCursor != nullptr;
    }
    ::FreeLibrary(hModule);
}

BOOL CLinkStatic::DestroyWindow()
{
    KillTimer(m_nTimerID);
    if (m_pToolTip && ::IsWindow(m_pToolTip->m_hWnd))
        m_pToolTip->DestroyWindow();
    return CStatic::DestroyWindow();
}

BOOL CLinkStatic::PreTranslateMessage(MSG* pMsg)
{
    if (m_pToolTip && ::IsWindow(m_pToolTip->m_hWnd))
        m_pToolTip->RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

BOOL CLinkStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_bCreating = TRUE;
    const BOOL bCreated = CStatic::Create(lpszText, dwStyle, rect, pParentWnd, nID);
    m_bCreating = FALSE;
    if (bCreated)
        SetupLink();
    return bCreated;
}

void CLinkStatic::PreSubclassWindow()
{
    if (!m_bCreating)
        SetupLink();
    CStatic::PreSubclassWindow();
}

void CLinkStatic::SetupLink()
{
    ModifyStyle(0, SS_NOTIFY);
    CString strText;
    GetWindowText(strText);
    if (m_strToolTip.IsEmpty())
        m_strToolTip = strText;
    if (strText.IsEmpty())
        SetWindowText(m_strToolTip);
    SizeToText();
    LoadDefaultCursor();
    if (!m_pToolTip) {
        m_pToolTip = new CToolTipCtrl;
        if (m_pToolTip->Create(this)) {
            CRect rcClient;
            GetClientRect(&rcClient);
            m_pToolTip->AddTool(this, m_strToolTip, &rcClient, 1);
        }
    }
}

void CLinkStatic::SizeToText()
{
    if (!::IsWindow(m_hWnd) || !m_bAutoSize)
        return;
    CSize sizeText(0, 0);
    if (m_pDoc) {
        CString strText;
        GetWindowText(strText);
        CDC* pDC = GetDC();
        if (pDC) {
            {
                CDCObjectSelector font(*pDC, m_pDoc->GetDocFont(0));
                sizeText = pDC->GetTextExtent(strText);
            }
            ReleaseDC(pDC);
        }
    }
    CRect rcWindow;
    CRect rcClient;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    const int cx = sizeText.cx + rcWindow.Width() - rcClient.Width();
    const int cy = sizeText.cy + rcWindow.Height() - rcClient.Height();
    if (CWnd* pParent = GetParent())
        pParent->ScreenToClient(&rcWindow);
    const DWORD dwStyle = GetStyle();
    int y = rcWindow.top;
    if (dwStyle & SS_CENTERIMAGE)
        y = rcWindow.top + (rcWindow.Height() - cy) / 2;
    int x = rcWindow.left;
    const DWORD dwType = dwStyle & SS_TYPEMASK;
    if (dwType == SS_CENTER)
        x = rcWindow.left + (rcWindow.Width() - cx) / 2;
    else if (dwType == SS_RIGHT)
        x = rcWindow.right - cx;
    SetWindowPos(nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH CLinkStatic::CtlColor(CDC* pDC, UINT /*nCtlColor*/)
{
    if (!m_pDoc)
        return nullptr;
    pDC->SetBkMode(TRANSPARENT);
    const COLORREF crBack = m_pDoc->GetWaveColor(kBackgroundSlot);
    pDC->SetBkColor(crBack);
    pDC->SetTextColor(m_pDoc->GetWaveColor(kTextSlot));
    // The colour may have been changed in the settings since the last paint.
    delete m_pBrush;
    m_pBrush = new CBrush;
    m_pBrush->CreateSolidBrush(crBack);
    return reinterpret_cast<HBRUSH>(m_pBrush->GetSafeHandle());
}

BOOL CLinkStatic::OnSetCursor(CWnd* /*pWnd*/, UINT /*nHitTest*/, UINT /*message*/)
{
    if (!m_hCursor)
        return FALSE;
    ::SetCursor(m_hCursor);
    return TRUE;
}

void CLinkStatic::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/)
{
    if (!m_bHover && m_pDoc) {
        m_bHover = TRUE;
        ApplyDocFont();
        Invalidate();
        SetTimer(m_nTimerID, kHoverPeriod, nullptr);
    }
    Default();
}

void CLinkStatic::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != m_nTimerID) {
        Default();
        return;
    }
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    ScreenToClient(&ptCursor);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(ptCursor))
        return;
    m_bHover = FALSE;
    KillTimer(m_nTimerID);
    ApplyDocFont();
    // The underline of the hover face may reach below the client area.
    rcClient.bottom += 10;
    InvalidateRect(&rcClient, TRUE);
}

void CLinkStatic::OnClicked()
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_LINK_OPEN_ADDITIONS, 0, 0);
    m_bVisited = TRUE;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

BOOL CLinkStatic::OnEraseBkgnd(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    pDC->FillSolidRect(&rcClient, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}
