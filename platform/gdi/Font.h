// CFont: the framework's font.
#pragma once

#include "platform/gdi/GdiObject.h"

class CDC;

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    CFont() = default;

    static CFont* FromHandle(HFONT hFont);

    // FALSE when GDI refuses or a font is already attached.
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename);
    // nPointSize is in tenths of a point; the height becomes the matching
    // negative (em) height in pDC's logical units (the screen's when null).
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
    // The same with lfHeight in tenths of a point.
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);

    operator HFONT() const { return reinterpret_cast<HFONT>(m_hObject); }
    int GetLogFont(LOGFONT* pLogFont);
};
