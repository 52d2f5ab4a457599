// CBrush: the framework's brush. As with CPen, a constructor GDI refuses
// leaves the object empty instead of throwing.
#pragma once

#include "platform/gdi/GdiObject.h"

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor);
    CBrush(int nIndex, COLORREF crColor);   // hatched, HS_*

    static CBrush* FromHandle(HBRUSH hBrush);

    // FALSE when GDI refuses or a brush is already attached.
    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);

    operator HBRUSH() const { return reinterpret_cast<HBRUSH>(m_hObject); }
    int GetLogBrush(LOGBRUSH* pLogBrush);
};
