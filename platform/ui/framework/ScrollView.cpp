#include "platform/ui/framework/ScrollView.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/SystemSettings.h"

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

const SIZE CScrollView::sizeDefault = {0, 0};

CScrollView::CScrollView() : m_nMapMode(0), m_bInsideUpdate(FALSE)
{
}

CScrollView::~CScrollView() = default;

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    const int oldMapMode = m_nMapMode;
    (void)nMapMode;   // every mode is taken as MM_TEXT (see the header)
    m_nMapMode = MM_TEXT;
    m_totalLog = sizeTotal;
    m_totalDev = CSize(std::abs(sizeTotal.cx), std::abs(sizeTotal.cy));
    m_pageDev = CSize(std::abs(sizePage.cx), std::abs(sizePage.cy));
    m_lineDev = CSize(std::abs(sizeLine.cx), std::abs(sizeLine.cy));
    if (m_pageDev.cx == 0) m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0) m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0) m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0) m_lineDev.cy = m_pageDev.cy / 10;
    if (!m_hWnd) return;
    UpdateBars();
    if (oldMapMode != m_nMapMode) Invalidate(TRUE);
}

CPoint CScrollView::GetDeviceScrollPosition() const
{
    return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

CPoint CScrollView::GetScrollPosition() const
{
    return GetDeviceScrollPosition();
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const
{
    nMapMode = m_nMapMode;
    sizeTotal = m_totalDev;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

void CScrollView::ScrollToPosition(POINT pt)
{
    ScrollToDevicePosition(pt);
}

void CScrollView::ScrollToDevicePosition(POINT ptDev)
{
    const int maxX = std::max(0, GetScrollLimit(SB_HORZ));
    const int maxY = std::max(0, GetScrollLimit(SB_VERT));
    const bool hasH = (GetStyle() & WS_HSCROLL) != 0;
    const bool hasV = (GetStyle() & WS_VSCROLL) != 0;
    const int x = hasH ? std::clamp<int>(ptDev.x, 0, maxX) : 0;
    const int y = hasV ? std::clamp<int>(ptDev.y, 0, maxY) : 0;
    const CPoint old = GetDeviceScrollPosition();
    if (hasH) SetScrollPos(SB_HORZ, x);
    if (hasV) SetScrollPos(SB_VERT, y);
    ScrollWindow(old.x - x, old.y - y);
}

void CScrollView::UpdateBars()
{
    if (m_bInsideUpdate || !m_hWnd || m_nMapMode == 0) return;
    m_bInsideUpdate = TRUE;
    // The client area as it would be without bars.
    CRect client;
    GetClientRect(&client);
    const DWORD style = GetStyle();
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int barHeight = GetSystemMetrics(SM_CYHSCROLL);
    CSize whole(client.Width() + ((style & WS_VSCROLL) ? barWidth : 0),
                client.Height() + ((style & WS_HSCROLL) ? barHeight : 0));
    bool needH = m_totalDev.cx > whole.cx;
    bool needV = m_totalDev.cy > whole.cy;
    // One bar takes room from the other direction.
    if (needV && !needH) needH = m_totalDev.cx > whole.cx - barWidth;
    if (needH && !needV) needV = m_totalDev.cy > whole.cy - barHeight;
    const CSize shown(whole.cx - (needV ? barWidth : 0), whole.cy - (needH ? barHeight : 0));
    const CPoint old = GetDeviceScrollPosition();

    ::ShowScrollBar(m_hWnd, SB_HORZ, needH);
    ::ShowScrollBar(m_hWnd, SB_VERT, needV);
    CPoint position = old;
    auto setBar = [&](int bar, bool needed, int total, int page, LONG& pos) {
        if (!needed) {
            // A hidden bar keeps a position of 0: the view shows its start.
            pos = 0;
            SCROLLINFO reset = {sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
            ::SetScrollInfo(m_hWnd, bar, &reset, FALSE);
            return;
        }
        SCROLLINFO info = {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, total - 1,
                           static_cast<UINT>(std::max(page, 1)), 0, 0};
        pos = std::clamp<LONG>(pos, 0, std::max(0, total - page));
        info.nPos = pos;
        ::SetScrollInfo(m_hWnd, bar, &info, TRUE);
    };
    setBar(SB_HORZ, needH, m_totalDev.cx, shown.cx, position.x);
    setBar(SB_VERT, needV, m_totalDev.cy, shown.cy, position.y);
    if (position != old) ScrollWindow(old.x - position.x, old.y - position.y);
    m_bInsideUpdate = FALSE;
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    if (pDC && !pDC->IsPrinting()) {
        const CPoint position = GetDeviceScrollPosition();
        pDC->SetViewportOrg(-position.x, -position.y);
    }
    CView::OnPrepareDC(pDC, pInfo);
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    const CPoint origin = GetDeviceScrollPosition();
    CPoint target = origin;
    auto step = [&](BYTE code, LONG& value, int bar, int page, int line) {
        switch (code) {
        case SB_TOP: value = 0; break;
        case SB_BOTTOM: value = INT_MAX; break;
        case SB_LINEUP: value -= line; break;
        case SB_LINEDOWN: value += line; break;
        case SB_PAGEUP: value -= page; break;
        case SB_PAGEDOWN: value += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The 16-bit position of the message is too small for long views.
            SCROLLINFO info = {sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
            value = ::GetScrollInfo(m_hWnd, bar, &info) && info.nTrackPos ? info.nTrackPos : static_cast<int>(nPos);
            break;
        }
        default: break;
        }
    };
    step(LOBYTE(nScrollCode), target.x, SB_HORZ, m_pageDev.cx, m_lineDev.cx);
    step(HIBYTE(nScrollCode), target.y, SB_VERT, m_pageDev.cy, m_lineDev.cy);
    const long long dx = static_cast<long long>(target.x) - origin.x;
    const long long dy = static_cast<long long>(target.y) - origin.y;
    return OnScrollBy(CSize(static_cast<int>(std::clamp<long long>(dx, INT_MIN, INT_MAX)),
                            static_cast<int>(std::clamp<long long>(dy, INT_MIN, INT_MAX))),
                      bDoScroll);
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    const DWORD style = GetStyle();
    if (!(style & WS_VSCROLL)) sizeScroll.cy = 0;
    if (!(style & WS_HSCROLL)) sizeScroll.cx = 0;
    const CPoint origin = GetDeviceScrollPosition();
    const int x = std::clamp<long long>(static_cast<long long>(origin.x) + sizeScroll.cx, 0,
                                        std::max(0, GetScrollLimit(SB_HORZ)));
    const int y = std::clamp<long long>(static_cast<long long>(origin.y) + sizeScroll.cy, 0,
                                        std::max(0, GetScrollLimit(SB_VERT)));
    if (x == origin.x && y == origin.y) return FALSE;
    if (bDoScroll) {
        ScrollWindow(origin.x - x, origin.y - y);
        if (x != origin.x) SetScrollPos(SB_HORZ, x);
        if (y != origin.y) SetScrollPos(SB_VERT, y);
    }
    return TRUE;
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar) {
        CView::OnHScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    OnScroll(MAKEWORD(nSBCode, 0xFF), nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar) {
        CView::OnVScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    OnScroll(MAKEWORD(0xFF, nSBCode), nPos);
}

BOOL CScrollView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    (void)nFlags;
    (void)pt;
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int notches = zDelta / 120;
    if (notches == 0) return FALSE;
    const bool vertical = (GetStyle() & WS_VSCROLL) != 0;
    const int line = vertical ? m_lineDev.cy : m_lineDev.cx;
    const int amount = -notches * static_cast<int>(lines) * std::max(line, 1);
    return OnScrollBy(vertical ? CSize(0, amount) : CSize(amount, 0), TRUE);
}

void CScrollView::FillOutsideRect(CDC* pDC, CBrush* pBrush)
{
    if (!pDC || !pBrush) return;
    CRect client;
    GetClientRect(&client);
    const CPoint position = GetDeviceScrollPosition();
    const int right = m_totalDev.cx - position.x;
    const int bottom = m_totalDev.cy - position.y;
    // In logical coordinates of the prepared DC.
    if (right < client.right) {
        CRect area(right + position.x, position.y, client.right + position.x, client.bottom + position.y);
        pDC->FillRect(&area, pBrush);
    }
    if (bottom < client.bottom) {
        CRect area(position.x, bottom + position.y, client.right + position.x, client.bottom + position.y);
        pDC->FillRect(&area, pBrush);
    }
}

void CScrollView::ResizeParentToFit(BOOL bShrinkOnly)
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame || m_nMapMode == 0) return;
    CRect client(0, 0, m_totalDev.cx, m_totalDev.cy);
    CalcWindowRect(&client, adjustOutside);
    CRect view;
    GetWindowRect(&view);
    CRect frameRect;
    frame->GetWindowRect(&frameRect);
    int width = frameRect.Width() + client.Width() - view.Width();
    int height = frameRect.Height() + client.Height() - view.Height();
    if (bShrinkOnly) {
        width = std::min(width, frameRect.Width());
        height = std::min(height, frameRect.Height());
    }
    frame->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
