#include "platform/gdi/Brush.h"

IMPLEMENT_DYNAMIC(CBrush, CGdiObject)

CBrush::CBrush(COLORREF crColor)
{
    CreateSolidBrush(crColor);
}

CBrush::CBrush(int nIndex, COLORREF crColor)
{
    CreateHatchBrush(nIndex, crColor);
}

CBrush* CBrush::FromHandle(HBRUSH hBrush)
{
    return DYNAMIC_DOWNCAST(CBrush, CGdiObject::FromHandle(reinterpret_cast<HGDIOBJ>(hBrush)));
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    if (m_hObject) return FALSE;
    return Attach(::CreateSolidBrush(crColor));
}

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor)
{
    if (m_hObject) return FALSE;
    return Attach(::CreateHatchBrush(nIndex, crColor));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush)
{
    if (m_hObject) return FALSE;
    return Attach(::CreateBrushIndirect(lpLogBrush));
}

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush)
{
    return GetObject((int)sizeof(LOGBRUSH), pLogBrush);
}
