#include "platform/gdi/Bitmap.h"

#include "platform/gdi/Dc.h"

IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    return DYNAMIC_DOWNCAST(CBitmap, CGdiObject::FromHandle(reinterpret_cast<HGDIOBJ>(hBitmap)));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
{
    if (m_hObject) return FALSE;
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    if (m_hObject || !pDC) return FALSE;
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

int CBitmap::GetBitmap(BITMAP* pBitMap)
{
    return GetObject((int)sizeof(BITMAP), pBitMap);
}
