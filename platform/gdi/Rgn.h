// CRgn: the framework's region: rectangles and what combining them makes.
#pragma once

#include "platform/gdi/GdiObject.h"

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    CRgn() = default;

    static CRgn* FromHandle(HRGN hRgn);

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT lpRect);
    void SetRectRgn(int x1, int y1, int x2, int y2);
    void SetRectRgn(LPCRECT lpRect);

    operator HRGN() const { return reinterpret_cast<HRGN>(m_hObject); }
    // NULLREGION, SIMPLEREGION, COMPLEXREGION, or ERROR for an empty object.
    int GetRgnBox(LPRECT lpRect) const;
    // This region becomes pRgn1 combined with pRgn2 (RGN_AND ... RGN_COPY);
    // the region's new type, or ERROR.
    int CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode);
    int CopyRgn(CRgn* pRgnSrc);
    BOOL EqualRgn(CRgn* pRgn) const;
    int OffsetRgn(int x, int y);
    int OffsetRgn(POINT point) { return OffsetRgn(point.x, point.y); }
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }
    BOOL RectInRegion(LPCRECT lpRect) const;
};
