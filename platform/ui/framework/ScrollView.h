// CScrollView: a view larger than its window, scrolled with the window's
// scroll bars. Sizes are device pixels: the graphics layer has the text
// mapping mode only, so every mapping mode given is taken as MM_TEXT.
//
// The bars appear only when the total size does not fit the client area
// (the second bar taking room from the first is accounted for); the
// position stays within [0, total - client].
#pragma once

#include "platform/ui/framework/View.h"

#ifndef MM_TEXT
#define MM_TEXT 1
#endif

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    static const SIZE sizeDefault;   // 0 x 0: a tenth of the page (line) or of the total (page)

    // Zero page and line sizes default to a tenth of the total and a tenth of the page.
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CPoint GetScrollPosition() const;
    CPoint GetDeviceScrollPosition() const;
    CSize GetTotalSize() const { return m_totalLog; }
    void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
    void ScrollToPosition(POINT pt);
    // Fills the part of the client area beyond the total size.
    void FillOutsideRect(CDC* pDC, CBrush* pBrush);
    // Resizes the parent frame so that the view shows the whole total size
    // (with bShrinkOnly, only smaller).
    void ResizeParentToFit(BOOL bShrinkOnly = TRUE);

    // The viewport origin follows the scroll position.
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    // nScrollCode: the horizontal SB_ code in the low byte, the vertical in
    // the high byte, 0xFF for no scrolling in that direction.
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    // FALSE when the position would not change.
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);

protected:
    CScrollView();
    ~CScrollView() override;

    void UpdateBars();
    void ScrollToDevicePosition(POINT ptDev);

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    DECLARE_MESSAGE_MAP()

    int m_nMapMode;        // MM_TEXT once SetScrollSizes ran; 0 before
    CSize m_totalLog;      // total size as given
    CSize m_totalDev;      // pixels
    CSize m_pageDev;       // pixels scrolled by a page
    CSize m_lineDev;       // pixels scrolled by a line
    BOOL m_bInsideUpdate;  // guards UpdateBars against the WM_SIZE its bars cause
};
