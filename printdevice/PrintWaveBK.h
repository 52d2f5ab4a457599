// CPrintWaveBK: the printed ECG grid on the print device context for the PDF
// printer (CreatePrintBKGround) and, as plain vector lines, for the HP-GL/2
// and LIPS printers (CreatePCLBKGround).
#pragma once

#include "platform/base/Geometry.h"

class CECGDC;

class CPrintWaveBK {
public:
    CPrintWaveBK();
    virtual ~CPrintWaveBK() = default;

    void SetShadeGrid(UINT level) { m_uShadeLevel = level; }
    void SetGridType(UINT type) { m_uGridType = type; }
    void SetOrigin(CPoint point);
    // Grid type 1 ruled (the left edge included), any other dotted. TRUE for
    // level 0 (nothing drawn); FALSE for a level above 3, no device context
    // or an unusable size.
    BOOL CreatePrintBKGround(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC);
    // Grid type 0: the dotted grid as dashed columns whose gaps the raw
    // printers turn into dotted line types; 1: ruled; any other: ruled
    // columns without rows.
    BOOL CreatePCLBKGround(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC);

private:
    void DrawGridPoint(int x, int y, COLORREF color);
    void DrawLineGrid(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC);

    CECGDC* m_pDC;            // given to the drawing calls; not owned
    int m_nOriginX;           // top-left of the grid area, device pixels
    int m_nOriginY;
    UINT m_uShadeLevel;       // 0 no grid; 1..3 the weights
    UINT m_uGridType;
};
