#include "controls/MenuMemDC.h"

CMenuMemDC::CMenuMemDC(CDC* pDC, const CRect& rect) : m_pDC(pDC), m_rect(rect)
{
    if (!pDC)
        return;
    m_bMemDC = !pDC->IsPrinting();
    if (!m_bMemDC) {
        // A printer keeps no bitmap: draw straight through.
        m_bPrinting = pDC->IsPrinting();
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
        return;
    }
    if (!CreateCompatibleDC(pDC)) {
        m_bMemDC = FALSE;
        return;
    }
    if (!m_bitmap.CreateCompatibleBitmap(pDC, rect.Width(), rect.Height()))
        return;
    m_pOldBitmap = SelectObject(&m_bitmap);
    SetWindowOrg(rect.left, rect.top);
}

CMenuMemDC::~CMenuMemDC()
{
    if (!m_bMemDC) {
        m_hDC = nullptr;
        m_hAttribDC = nullptr;
        return;
    }
    if (m_pOldBitmap) {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                      SRCCOPY);
        SelectObject(m_pOldBitmap);
    }
    m_bitmap.DeleteObject();
    DeleteDC();
}
