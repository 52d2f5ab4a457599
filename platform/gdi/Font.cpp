#include "platform/gdi/Font.h"

#include <cstdlib>
#include <cwchar>

#include "platform/gdi/Dc.h"

IMPLEMENT_DYNAMIC(CFont, CGdiObject)

CFont* CFont::FromHandle(HFONT hFont)
{
    return DYNAMIC_DOWNCAST(CFont, CGdiObject::FromHandle(reinterpret_cast<HGDIOBJ>(hFont)));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    if (m_hObject) return FALSE;
    return Attach(::CreateFontIndirectW(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename)
{
    if (m_hObject) return FALSE;
    return Attach(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                                nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC)
{
    LOGFONT logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = nPointSize;
    if (lpszFaceName) std::wcsncpy(logFont.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC)
{
    if (!lpLogFont || m_hObject) return FALSE;
    HDC hdc = pDC ? pDC->m_hAttribDC : nullptr;
    HDC screen = hdc ? nullptr : ::CreateCompatibleDC(nullptr);
    if (!hdc) hdc = screen;
    // Tenths of a point to device pixels (truncating, as the framework does),
    // then the same distance in logical units.
    POINT size[2] = {{0, 0}, {0, ::GetDeviceCaps(hdc, LOGPIXELSY) * (int)lpLogFont->lfHeight / 720}};
    ::DPtoLP(hdc, size, 2);
    if (screen) ::DeleteDC(screen);
    LOGFONT logFont = *lpLogFont;
    logFont.lfHeight = -std::abs((int)(size[1].y - size[0].y));
    return CreateFontIndirect(&logFont);
}

int CFont::GetLogFont(LOGFONT* pLogFont)
{
    return GetObject((int)sizeof(LOGFONT), pLogFont);
}
