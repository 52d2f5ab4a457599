#include "controls/ButtonST.h"

#include <cwchar>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/CommCtrl.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/ShellExecute.h"

BEGIN_MESSAGE_MAP(CButtonST, CButton)
    ON_WM_SETCURSOR()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEMOVE()
    ON_WM_SYSCOLORCHANGE()
    // FALSE from the handler: the parent hears of the click as well.
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedReflect)
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_CANCELMODE()
    ON_WM_GETDLGCODE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_MENUCHAR()
    ON_WM_MEASUREITEM()
    ON_MESSAGE(BM_SETSTYLE, OnSetStyleMsg)
    ON_WM_MOUSELEAVE()
    ON_MESSAGE(BM_SETCHECK, OnSetCheckMsg)
    ON_MESSAGE(BM_GETCHECK, OnGetCheckMsg)
END_MESSAGE_MAP()

namespace {

const int kImageGap = 3;          // pixels between the left edge, the icon and the caption
const int kFocusInset = 3;        // pixels between the edge and the focus rectangle
const int kMaxTipWidth = 400;     // pixels
const UINT kTypeMask = 0x1F;      // the button type bits of the style

// Draws with a one-pixel solid pen and puts the previous pen back.
class CPenLine {
public:
    CPenLine(CDC* pDC, COLORREF crColor) : m_pDC(pDC), m_selected(*pDC)
    {
        if (m_pen.CreatePen(PS_SOLID, 1, crColor)) m_selected.Select(&m_pen);
    }
    CPenLine(const CPenLine&) = delete;
    CPenLine& operator=(const CPenLine&) = delete;
    void Polyline3(int x0, int y0, int x1, int y1, int x2, int y2)
    {
        m_pDC->MoveTo(x0, y0);
        m_pDC->LineTo(x1, y1);
        m_pDC->LineTo(x2, y2);
    }

private:
    CDC* m_pDC;
    CPen m_pen;                           // declared before its selection, which it outlives
    CDCObjectSelector<CPen> m_selected;
};

// The drawn size of an icon: twice its hot spot, as its information reports it.
BOOL ReadIconSize(HICON hIcon, DWORD& dwWidth, DWORD& dwHeight)
{
    ICONINFO info = {};
    if (!hIcon || !::GetIconInfo(hIcon, &info)) return FALSE;
    dwWidth = info.xHotspot * 2;
    dwHeight = info.yHotspot * 2;
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return TRUE;
}

// Copies the colour bitmap into the grey one, every pixel that is not black
// turned to its luminance.
BOOL CopyGrey(HBITMAP hColor, HBITMAP hGrey, int cx, int cy)
{
    HDC hSrcDC = ::CreateCompatibleDC(nullptr);
    HDC hDstDC = ::CreateCompatibleDC(nullptr);
    const BOOL bDCs = hSrcDC && hDstDC;
    if (bDCs) {
        HGDIOBJ hOldSrc = ::SelectObject(hSrcDC, hColor);
        HGDIOBJ hOldDst = ::SelectObject(hDstDC, hGrey);
        ::BitBlt(hDstDC, 0, 0, cx, cy, hSrcDC, 0, 0, SRCCOPY);
        for (int y = 0; y < cy; ++y) {
            for (int x = 0; x < cx; ++x) {
                const COLORREF cr = ::GetPixel(hDstDC, x, y);
                if (cr == RGB(0, 0, 0) || cr == CLR_INVALID) continue;
                const int g = static_cast<int>(0.299 * GetRValue(cr) + 0.587 * GetGValue(cr) + 0.114 * GetBValue(cr));
                ::SetPixelV(hDstDC, x, y, RGB(g, g, g));
            }
        }
        ::SelectObject(hDstDC, hOldDst);
        ::SelectObject(hSrcDC, hOldSrc);
    }
    if (hDstDC) ::DeleteDC(hDstDC);
    if (hSrcDC) ::DeleteDC(hSrcDC);
    return bDCs;
}

}  // namespace

CButtonST::CButtonST()
{
    m_crColors[BTNST_COLOR_BK_IN] = ::GetSysColor(COLOR_BTNFACE);
    m_crColors[BTNST_COLOR_FG_IN] = ::GetSysColor(COLOR_BTNTEXT);
    m_crColors[BTNST_COLOR_BK_OUT] = ::GetSysColor(COLOR_BTNFACE);
    m_crColors[BTNST_COLOR_FG_OUT] = ::GetSysColor(COLOR_BTNTEXT);
    m_crColors[BTNST_COLOR_BK_FOCUS] = ::GetSysColor(COLOR_BTNFACE);
    m_crColors[BTNST_COLOR_FG_FOCUS] = ::GetSysColor(COLOR_BTNTEXT);
    m_crColors[BTNST_COLOR_MARK] = RGB(0, 0, 0);
}

CButtonST::~CButtonST()
{
    FreeIcons();
    if (m_menuPopup.m_hMenu) m_menuPopup.DestroyMenu();
    if (::IsWindow(m_ToolTip.m_hWnd)) m_ToolTip.DestroyWindow();
}

// ---- setters -------------------------------------------------------------------------------

void CButtonST::Repaint(BOOL bRepaint)
{
    if (bRepaint && ::IsWindow(m_hWnd)) InvalidateRect(nullptr, TRUE);
}

void CButtonST::FreeIcons()
{
    const HICON hIn = m_csIcons[0].hIcon, hOut = m_csIcons[1].hIcon;
    if (hIn) ::DestroyIcon(hIn);
    if (hOut && hOut != hIn) ::DestroyIcon(hOut);
    m_csIcons[0] = STRUCT_ICONS();
    m_csIcons[1] = STRUCT_ICONS();
}

DWORD CButtonST::SetIcon(HICON hIconIn, HICON hIconOut)
{
    // An icon given again stays alive: only the ones being replaced go.
    if (m_csIcons[0].hIcon == hIconIn || m_csIcons[0].hIcon == hIconOut) m_csIcons[0].hIcon = nullptr;
    if (m_csIcons[1].hIcon == hIconIn || m_csIcons[1].hIcon == hIconOut) m_csIcons[1].hIcon = nullptr;
    FreeIcons();
    if (!hIconIn) {
        Repaint(TRUE);
        return 0;
    }
    if (hIconOut == BTNST_AUTO_GRAY) hIconOut = MakeGreyIcon(hIconIn);
    m_csIcons[0].hIcon = hIconIn;
    m_csIcons[1].hIcon = hIconOut;
    const BOOL bReadIn = ReadIconSize(hIconIn, m_csIcons[0].dwWidth, m_csIcons[0].dwHeight);
    const BOOL bReadOut = !hIconOut || ReadIconSize(hIconOut, m_csIcons[1].dwWidth, m_csIcons[1].dwHeight);
    if (!bReadIn || !bReadOut) {
        FreeIcons();
        Repaint(TRUE);   // the old icons are gone from the face too
        return 1;
    }
    Repaint(TRUE);
    return 0;
}

DWORD CButtonST::SetIcon(int nIconIn, int nIconOut)
{
    const LPCTSTR lpszIn = MAKEINTRESOURCE(nIconIn);
    const HINSTANCE hInst = AfxFindResourceHandle(lpszIn, RT_GROUP_ICON);
    const auto hIconIn = static_cast<HICON>(::LoadImageW(hInst, lpszIn, IMAGE_ICON, 0, 0, 0));
    HICON hIconOut = nullptr;
    if (nIconOut == -2)
        hIconOut = BTNST_AUTO_GRAY;
    else if (nIconOut != 0)
        hIconOut = static_cast<HICON>(::LoadImageW(hInst, MAKEINTRESOURCE(nIconOut), IMAGE_ICON, 0, 0, 0));
    return SetIcon(hIconIn, hIconOut);
}

DWORD CButtonST::SetFlat(BOOL bFlat, BOOL bRepaint)
{
    m_bIsFlat = bFlat;
    Repaint(bRepaint);
    return 0;
}

DWORD CButtonST::SetCheck(int nCheck, BOOL bRepaint)
{
    if (m_bIsCheckBox) m_nCheck = nCheck != 0;
    Repaint(bRepaint);
    return 0;
}

DWORD CButtonST::SetColor(BYTE byColorIndex, COLORREF crColor, BOOL bRepaint)
{
    if (byColorIndex >= BTNST_MAX_COLORS) return 3;
    m_crColors[byColorIndex] = crColor;
    Repaint(bRepaint);
    return 0;
}

BOOL CButtonST::SetMenu(UINT nMenu, HWND hTargetWnd, int nSubMenu, BOOL bRepaint)
{
    m_menuPopup.DestroyMenu();
    m_hMenuTarget = hTargetWnd;
    m_nMenuPos = nSubMenu;
    const BOOL bLoaded = nMenu == 0 || m_menuPopup.LoadMenu(nMenu);
    Repaint(bRepaint);
    return bLoaded;
}

DWORD CButtonST::SetDropDownMark(BOOL bMark, BOOL bRepaint)
{
    m_bDrawDropDownMark = bMark;
    Repaint(bRepaint);
    return 0;
}

DWORD CButtonST::SetURL(LPCWSTR lpszURL)
{
    m_szURL[0] = L'\0';
    if (lpszURL) wcsncat(m_szURL, lpszURL, MAX_PATH - 1);
    return 0;
}

HICON CButtonST::MakeGreyIcon(HICON hIcon)
{
    ICONINFO info = {};
    if (!hIcon || !::GetIconInfo(hIcon, &info)) return nullptr;
    HICON hGrey = nullptr;
    BITMAP bm = {};
    const int cx = static_cast<int>(info.xHotspot * 2), cy = static_cast<int>(info.yHotspot * 2);
    HBITMAP hGreyBitmap = nullptr;
    if (info.hbmColor && ::GetObjectW(info.hbmColor, sizeof(bm), &bm) && cx > 0 && cy > 0)
        hGreyBitmap = ::CreateBitmap(cx, cy, bm.bmPlanes, bm.bmBitsPixel, nullptr);
    if (hGreyBitmap && CopyGrey(info.hbmColor, hGreyBitmap, cx, cy)) {
        ICONINFO grey = info;
        grey.hbmColor = hGreyBitmap;
        hGrey = ::CreateIconIndirect(&grey);
    }
    if (hGreyBitmap) ::DeleteObject(hGreyBitmap);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return hGrey;
}

// ---- taking over the control ---------------------------------------------------------------

void CButtonST::PreSubclassWindow()
{
    const UINT nLowByte = static_cast<UINT>(GetStyle()) & 0xFF;
    if ((nLowByte & BS_CHECKBOX) || nLowByte == BS_AUTORADIOBUTTON) m_bIsCheckBox = TRUE;
    if ((nLowByte & kTypeMask) == BS_DEFPUSHBUTTON) m_bIsDefault = TRUE;
    ModifyStyle(kTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CButtonST::PreTranslateMessage(MSG* pMsg)
{
    if (!m_ToolTip.m_hWnd && m_ToolTip.Create(this)) {
        // No tool is ever added: the control stays silent, but is ready.
        m_ToolTip.Activate(FALSE);
        m_ToolTip.SetMaxTipWidth(kMaxTipWidth);
    }
    if (m_ToolTip.m_hWnd) m_ToolTip.RelayEvent(pMsg);
    return CButton::PreTranslateMessage(pMsg);
}

LRESULT CButtonST::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A fast second click presses the button again instead of being a double click.
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

// ---- message handlers ----------------------------------------------------------------------

void CButtonST::CancelHover()
{
    if (!m_bIsFlat || !m_bMouseOnButton) return;
    m_bMouseOnButton = FALSE;
    Invalidate();
}

BOOL CButtonST::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CButtonST::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    CancelHover();
}

void CButtonST::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);
    ClientToScreen(&point);
    const HWND hUnder = ::WindowFromPoint(point);
    if ((nFlags & MK_LBUTTON) && !m_bMouseOnButton) return;
    if (!m_bIsFlat) return;
    if (hUnder != m_hWnd) {
        CancelHover();
        return;
    }
    if (m_bMouseOnButton) return;
    m_bMouseOnButton = TRUE;
    Invalidate();
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    _TrackMouseEvent(&tme);
}

void CButtonST::OnSysColorChange()
{
    CButton::OnSysColorChange();
}

BOOL CButtonST::OnClickedReflect()
{
    SetFocus();
    if (m_bIsCheckBox) {
        // The owner decides the new state when it handles BN_CLICKED.
        Invalidate();
        return FALSE;
    }
    if (m_menuPopup.m_hMenu) {
        CRect rcWnd;
        GetWindowRect(&rcWnd);
        m_bMenuDisplayed = TRUE;
        Invalidate();
        CMenu* pPopup = m_menuPopup.GetSubMenu(m_nMenuPos);
        const UINT nFlags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON;
        const UINT nCommand =
            pPopup ? static_cast<UINT>(pPopup->TrackPopupMenu(nFlags, rcWnd.left, rcWnd.bottom, this)) : 0;
        m_bMenuDisplayed = FALSE;
        Invalidate();
        if (nCommand && ::IsWindow(m_hMenuTarget))
            ::PostMessageW(m_hMenuTarget, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
    } else if (m_szURL[0]) {
        OpenURL();
    }
    return FALSE;
}

void CButtonST::OpenURL()
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;   // a link that fails to open has no further effect
    info.lpVerb = L"open";
    info.lpFile = m_szURL;
    info.nShow = SW_SHOWMAXIMIZED;
    ::ShellExecuteExW(&info);
}

void CButtonST::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE) CancelHover();
}

void CButtonST::OnEnable(BOOL bEnable)
{
    CButton::OnEnable(bEnable);
    // The focus this button held (dropped by the disabling) moves on; a focus
    // that another control holds stays where it is.
    const HWND hFocus = ::GetFocus();
    if (!bEnable && (!hFocus || hFocus == m_hWnd)) {
        CWnd* pParent = GetParent();
        if (pParent) {
            CWnd* pNext = pParent->GetNextDlgTabItem(this, FALSE);
            if (pNext && pNext->m_hWnd != m_hWnd)
                pNext->SetFocus();
            else
                pParent->SetFocus();
        }
    }
    CancelHover();
}

void CButtonST::OnCancelMode()
{
    CButton::OnCancelMode();
    CancelHover();
}

UINT CButtonST::OnGetDlgCode()
{
    const UINT nCode = CButton::OnGetDlgCode();
    return nCode | (m_bIsDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

HBRUSH CButtonST::CtlColor(CDC* pDC, UINT nCtlColor)
{
    (void)pDC;
    (void)nCtlColor;
    return reinterpret_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

LRESULT CButtonST::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    if (CButtonMenu::IsButtonMenu(pMenu)) return CButtonMenu::FindMnemonic(nChar, nFlags, pMenu);
    return CButton::OnMenuChar(nChar, nFlags, pMenu);
}

void CButtonST::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct && lpMeasureItemStruct->CtlType == ODT_MENU) {
        const auto hItemMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(lpMeasureItemStruct->itemID));
        if (::IsMenu(hItemMenu) && CButtonMenu::IsButtonMenu(hItemMenu)) {
            m_menuPopup.MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    CButton::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

LRESULT CButtonST::OnSetStyleMsg(WPARAM wParam, LPARAM lParam)
{
    const UINT nNewType = static_cast<UINT>(wParam) & kTypeMask;
    if (nNewType == BS_DEFPUSHBUTTON)
        m_bIsDefault = TRUE;
    else if (nNewType == BS_PUSHBUTTON)
        m_bIsDefault = FALSE;
    // The type stays owner-drawn whatever the dialog manager asks for.
    return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(0x14)) | BS_OWNERDRAW, lParam);
}

void CButtonST::OnMouseLeave()
{
    CancelHover();
}

LRESULT CButtonST::OnSetCheckMsg(WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (!m_bIsCheckBox) return 0;
    m_nCheck = wParam == BST_CHECKED || wParam == BST_INDETERMINATE;
    Invalidate();
    return 0;
}

LRESULT CButtonST::OnGetCheckMsg(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    return m_nCheck ? BST_CHECKED : BST_UNCHECKED;
}

// ---- painting ------------------------------------------------------------------------------

void CButtonST::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (!lpDIS || !lpDIS->hDC) return;
    CDC dc;
    if (!dc.Attach(lpDIS->hDC)) return;
    {
        CDCStateSaver saved(dc);
        PaintItem(&dc, lpDIS);
    }
    dc.Detach();
}

// The item on the attached context, whose state DrawItem saves around it.
void CButtonST::PaintItem(CDC* pDC, LPDRAWITEMSTRUCT lpDIS)
{
    const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    m_bIsPressed = m_bIsCheckBox ? (bSelected || m_nCheck) : (bSelected || m_bMenuDisplayed);
    m_bIsFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_bIsDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;
    CRect rcItem(lpDIS->rcItem);
    pDC->SetBkMode(TRANSPARENT);

    PaintFace(pDC, &rcItem);
    if (m_bIsPressed || (m_bIsFlat && m_bMouseOnButton))
        PaintBorder(pDC, &rcItem);
    else if (!m_bIsFlat)
        DrawEdgeRaised(pDC, rcItem);

    CString strTitle;
    GetWindowText(strTitle);
    CRect rcCaption = rcItem;
    if (m_csIcons[0].hIcon) DrawIconImage(pDC, rcItem, !strTitle.IsEmpty(), rcCaption);
    if (!strTitle.IsEmpty()) DrawCaption(pDC, strTitle, rcCaption);

    if (!m_bIsFlat && m_bIsFocused) {
        CRect rcFocus = rcItem;
        rcFocus.DeflateRect(kFocusInset, kFocusInset);
        pDC->DrawFocusRect(&rcFocus);
    }
}

DWORD CButtonST::PaintFace(CDC* pDC, CRect* pRect)
{
    COLORREF crFace = m_crColors[BTNST_COLOR_BK_OUT];
    if (m_bMouseOnButton || m_bIsPressed)
        crFace = m_crColors[BTNST_COLOR_BK_IN];
    else if (m_bIsFocused)
        crFace = m_crColors[BTNST_COLOR_BK_FOCUS];
    CBrush brush;
    if (brush.CreateSolidBrush(crFace)) pDC->FillRect(pRect, &brush);
    if (m_bDrawDropDownMark) DrawDropDownMark(pDC, *pRect);
    return 0;
}

DWORD CButtonST::PaintBorder(CDC* pDC, CRect* pRect)
{
    if (m_bIsPressed)
        pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    else
        pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    return 0;
}

void CButtonST::DrawEdgeRaised(CDC* pDC, const CRect& rc)
{
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    CPenLine(pDC, ::GetSysColor(COLOR_BTNHIGHLIGHT)).Polyline3(L, B - 1, L, T, R, T);
    CPenLine(pDC, ::GetSysColor(COLOR_3DLIGHT)).Polyline3(L + 1, B - 1, L + 1, T + 1, R, T + 1);
    CPenLine(pDC, ::GetSysColor(COLOR_3DDKSHADOW)).Polyline3(L, B - 1, R - 1, B - 1, R - 1, T - 1);
    CPenLine(pDC, ::GetSysColor(COLOR_BTNSHADOW)).Polyline3(L + 1, B - 2, R - 2, B - 2, R - 2, T);
}

void CButtonST::DrawDropDownMark(CDC* pDC, const CRect& rc)
{
    TEXTMETRIC tm = {};
    if (!pDC->GetTextMetrics(&tm)) return;
    const int a = 2 * tm.tmHeight / 5, b = 4 * tm.tmAveCharWidth / 5;
    const int x = rc.right - 2 * tm.tmAveCharWidth, y = (rc.Height() - a) / 2;
    const POINT points[] = {{x - b, y}, {x + b, y}, {x, y + a}};
    const COLORREF crMark = m_crColors[BTNST_COLOR_MARK];
    CPen pen;
    CBrush brush;
    if (!pen.CreatePen(PS_SOLID, 1, crMark) || !brush.CreateSolidBrush(crMark)) return;
    CDCObjectSelector penSelected(*pDC, &pen);
    CDCObjectSelector brushSelected(*pDC, &brush);
    pDC->Polygon(points, 3);
}

void CButtonST::DrawIconImage(CDC* pDC, const CRect& rcItem, BOOL bHasTitle, CRect& rcCaption)
{
    const int cx = static_cast<int>(m_csIcons[0].dwWidth), cy = static_cast<int>(m_csIcons[0].dwHeight);
    CPoint ptImage(rcItem.left + (rcItem.Width() - cx) / 2, rcItem.top + (rcItem.Height() - cy) / 2);
    if (bHasTitle) {
        ptImage.x = rcItem.left + kImageGap;
        rcCaption.left += cx + kImageGap;
    }
    if (m_bIsPressed && !m_bIsCheckBox) ptImage.Offset(1, 1);
    const BOOL bIn = m_bIsPressed || (m_bMouseOnButton && !m_bIsCheckBox);
    const STRUCT_ICONS& icon = bIn || !m_csIcons[1].hIcon ? m_csIcons[0] : m_csIcons[1];
    pDC->DrawState(ptImage, CSize(static_cast<int>(icon.dwWidth), static_cast<int>(icon.dwHeight)), icon.hIcon,
                   DSS_NORMAL, static_cast<HBRUSH>(nullptr));
}

void CButtonST::DrawCaption(CDC* pDC, const CString& strTitle, CRect rcCaption)
{
    if (m_bIsPressed && !m_bIsCheckBox) rcCaption.OffsetRect(1, 1);
    const CRect rcCentre = rcCaption;
    pDC->DrawText(strTitle, &rcCaption, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    // With the drop-down mark the caption leans left to leave the mark room.
    const int nDivisor = m_bDrawDropDownMark ? 3 : 2;
    rcCaption.OffsetRect((rcCentre.Width() - rcCaption.Width()) / nDivisor,
                         (rcCentre.Height() - rcCaption.Height()) / 2);
    if (m_bIsDisabled) {
        rcCaption.OffsetRect(1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_3DHIGHLIGHT));
        pDC->DrawText(strTitle, &rcCaption, DT_WORDBREAK | DT_CENTER);
        rcCaption.OffsetRect(-1, -1);
        pDC->SetTextColor(::GetSysColor(COLOR_3DSHADOW));
        pDC->DrawText(strTitle, &rcCaption, DT_WORDBREAK | DT_CENTER);
        return;
    }
    const BOOL bIn = m_bMouseOnButton || m_bIsPressed;
    pDC->SetTextColor(m_crColors[bIn ? BTNST_COLOR_FG_IN : BTNST_COLOR_FG_OUT]);
    pDC->SetBkColor(m_crColors[bIn ? BTNST_COLOR_BK_IN : BTNST_COLOR_BK_OUT]);
    pDC->DrawText(strTitle, &rcCaption, DT_WORDBREAK | DT_CENTER);
}
