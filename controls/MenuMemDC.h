// An off-screen DC for one menu item: drawing at the target's coordinates
// lands in a bitmap that is copied to the target at destruction, so a
// disabled item appears in one piece instead of flickering through layers.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Dc.h"

class CMenuMemDC : public CDC {
public:
    CMenuMemDC(CDC* pDC, const CRect& rect);
    ~CMenuMemDC() override;
    CMenuMemDC(const CMenuMemDC&) = delete;
    CMenuMemDC& operator=(const CMenuMemDC&) = delete;

private:
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
    CDC* m_pDC = nullptr;     // the target; not owned
    CRect m_rect;             // the area of the target, in its coordinates
    BOOL m_bMemDC = FALSE;    // FALSE on a printer, whose DCs are borrowed
};
