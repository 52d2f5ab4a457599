// CPen: the framework's pen. The constructors that create a pen leave the
// object empty (m_hObject null) when GDI refuses the arguments; the
// framework would throw there, and nothing here throws across the API.
#pragma once

#include "platform/gdi/GdiObject.h"

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0, const DWORD* lpStyle = nullptr);

    static CPen* FromHandle(HPEN hPen);

    // FALSE when GDI refuses or a pen is already attached.
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    BOOL CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0,
                   const DWORD* lpStyle = nullptr);
    BOOL CreatePenIndirect(LPLOGPEN lpLogPen);

    operator HPEN() const { return reinterpret_cast<HPEN>(m_hObject); }
    int GetLogPen(LOGPEN* pLogPen);
    // Fits extended pens with at most one style entry, as the framework's does.
    int GetExtLogPen(EXTLOGPEN* pLogPen);
};
