// CRgn: the framework's region. Rectangular regions only so far: enough to
// clip with SelectClipRgn; combining regions comes with the rest of GDI.
#pragma once

#include "platform/gdi/GdiObject.h"

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    CRgn() = default;

    static CRgn* FromHandle(HRGN hRgn);

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT lpRect);

    operator HRGN() const { return reinterpret_cast<HRGN>(m_hObject); }
    // NULLREGION, SIMPLEREGION, or ERROR for an empty object.
    int GetRgnBox(LPRECT lpRect) const;
};
