// CPrintWaveBKBase: what the two grids drawn on a print device context share:
// the shade level, the grid type, the origin, and the background itself,
// ruled (grid type 1) or dotted.
#pragma once

#include "platform/base/Geometry.h"

class CECGDC;

class CPrintWaveBKBase {
public:
    virtual ~CPrintWaveBKBase() = default;

    void SetShadeGrid(UINT level) { m_uShadeLevel = level; }
    void SetGridType(UINT type) { m_uGridType = type; }
    void SetOrigin(CPoint point);
    // TRUE for level 0 (nothing drawn); FALSE for a level above 3, no device
    // context or an unusable size.
    BOOL CreatePrintBKGround(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC);

protected:
    // Where the bold 5 mm columns of the ruled grid go.
    enum class BoldColumns {
        WithTheThin,        // in one pass with the thin columns, before the rows
        OverTheRows,        // last, over the rows, the left edge ruled too
    };
    explicit CPrintWaveBKBase(BoldColumns boldColumns) : m_boldColumns(boldColumns) {}

    void DrawLineGrid(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC);

    CECGDC* m_pDC = nullptr;   // given to the drawing calls; not owned
    int m_nOriginX = 0;        // top-left of the grid area, device pixels
    int m_nOriginY = 0;
    UINT m_uShadeLevel = 1;    // 0 no grid; 1..3 the weights
    UINT m_uGridType = 0;      // 1 ruled; anything else dotted

private:
    BoldColumns m_boldColumns;
};
