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

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2)
{
    ::SetRectRgn(reinterpret_cast<HRGN>(m_hObject), x1, y1, x2, y2);
}

void CRgn::SetRectRgn(LPCRECT lpRect)
{
    if (lpRect) SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CRgn::CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode)
{
    if (!pRgn1) return ERROR;
    return ::CombineRgn(reinterpret_cast<HRGN>(m_hObject), reinterpret_cast<HRGN>(pRgn1->m_hObject),
                        pRgn2 ? reinterpret_cast<HRGN>(pRgn2->m_hObject) : nullptr, nCombineMode);
}

int CRgn::CopyRgn(CRgn* pRgnSrc)
{
    return CombineRgn(pRgnSrc, nullptr, RGN_COPY);
}

BOOL CRgn::EqualRgn(CRgn* pRgn) const
{
    if (!pRgn) return FALSE;
    return ::EqualRgn(reinterpret_cast<HRGN>(m_hObject), reinterpret_cast<HRGN>(pRgn->m_hObject));
}

int CRgn::OffsetRgn(int x, int y)
{
    return ::OffsetRgn(reinterpret_cast<HRGN>(m_hObject), x, y);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return ::PtInRegion(reinterpret_cast<HRGN>(m_hObject), x, y);
}

BOOL CRgn::RectInRegion(LPCRECT lpRect) const
{
    return ::RectInRegion(reinterpret_cast<HRGN>(m_hObject), lpRect);
}
