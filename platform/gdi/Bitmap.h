// CBitmap: the framework's device bitmap.
#pragma once

#include "platform/gdi/GdiObject.h"

class CDC;

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap() = default;

    static CBitmap* FromHandle(HBITMAP hBitmap);

    // FALSE when GDI refuses or a bitmap is already attached.
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
    // Compatible with pDC's attribute DC: a fresh memory DC gives monochrome.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);

    operator HBITMAP() const { return reinterpret_cast<HBITMAP>(m_hObject); }
    int GetBitmap(BITMAP* pBitMap);
};
