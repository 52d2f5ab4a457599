// CPrintWaveBKGroundNew: the printed ECG grid drawn straight onto the print
// device context of a Windows printer.
#pragma once

#include "platform/base/Geometry.h"

class CECGDC;

class CPrintWaveBKGroundNew {
public:
    CPrintWaveBKGroundNew();
    virtual ~CPrintWaveBKGroundNew() = default;

    void SetShadeGrid(UINT level) { m_uShadeLevel = level; }
    void SetGridType(UINT type) { m_uGridType = type; }
    void SetOrigin(CPoint point);
    // TRUE for level 0 (nothing drawn); FALSE for a level above 3, no device
    // context or an unusable size.
    BOOL CreatePrintBKGround(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC);

private:
    void DrawGridPoint(int x, int y, COLORREF color);
    void DrawLineGrid(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC);

    CECGDC* m_pDC;            // given to CreatePrintBKGround; not owned
    UINT m_uShadeLevel;       // 0 no grid; 1..3 the weights
    UINT m_uGridType;         // 1 ruled; anything else dotted
    int m_nOriginX;           // top-left of the grid area, device pixels
    int m_nOriginY;
};
