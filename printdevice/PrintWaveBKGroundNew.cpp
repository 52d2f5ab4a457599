#include "printdevice/PrintWaveBKGroundNew.h"

#include "printdevice/ECGDC.h"
#include "printdevice/PrintGrid.h"

CPrintWaveBKGroundNew::CPrintWaveBKGroundNew()
    : m_pDC(nullptr), m_uShadeLevel(1), m_uGridType(0), m_nOriginX(0), m_nOriginY(0)
{
}

void CPrintWaveBKGroundNew::SetOrigin(CPoint point)
{
    m_nOriginX = point.x;
    m_nOriginY = point.y;
}

BOOL CPrintWaveBKGroundNew::CreatePrintBKGround(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC)
{
    if (m_uShadeLevel == 0) return TRUE;
    if (m_uShadeLevel > kMaxGridShadeLevel || !pDC) return FALSE;
    _PRINT_GRID_AREA area;
    if (!GetPrintGridArea(widthMm, heightMm, pxPerMm, area)) return FALSE;
    m_pDC = pDC;
    if (m_uGridType == 1) {
        DrawLineGrid(widthMm, heightMm, pxPerMm, pDC);
    } else {
        ForEachGridDot(area, m_nOriginX, m_nOriginY, [this](int x, int y) { DrawGridPoint(x, y, RGB(0, 0, 0)); });
    }
    return TRUE;
}

void CPrintWaveBKGroundNew::DrawGridPoint(int x, int y, COLORREF color)
{
    // A dot is a level x level square whose bottom-right pixel is the grid point.
    const int size = (int)m_uShadeLevel;
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) m_pDC->SetPixel(x - i, y - j, color);
    }
}

void CPrintWaveBKGroundNew::DrawLineGrid(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC)
{
    _PRINT_GRID_AREA area;
    if (!pDC || !GetPrintGridArea(widthMm, heightMm, pxPerMm, area)) return;
    CPen penThin;
    CPen penBold;
    CreateGridPens(m_uShadeLevel, penThin, penBold);
    CGridPenSelector<CECGDC> pens(pDC);
    DrawGridColumns(pDC, pens, area, m_nOriginX, m_nOriginY, &penBold, &penThin, nullptr);
    DrawGridRows(pDC, pens, area, m_nOriginX, m_nOriginY, &penBold, &penThin);
}
