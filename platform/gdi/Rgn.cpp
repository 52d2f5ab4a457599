#include "platform/gdi/Rgn.h"

IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CRgn* CRgn::FromHandle(HRGN hRgn)
{
    return DYNAMIC_DOWNCAST(CRgn, CGdiObject::FromHandle(reinterpret_cast<HGDIOBJ>(hRgn)));
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2)
{
    if (m_hObject) return FALSE;
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect)
{
    if (m_hObject) return FALSE;
    return Attach(::CreateRectRgnIndirect(lpRect));
}

int CRgn::GetRgnBox(LPRECT lpRect) const
{
    return ::GetRgnBox(reinterpret_cast<HRGN>(m_hObject), lpRect);
}
