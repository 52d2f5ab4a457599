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
    if (m_uShadeLevel != 0 && m_uShadeLevel <= kMaxGridShadeLevel && pDC) m_pDC = pDC;
    return CreateGridBackground(pDC, m_uShadeLevel, m_uGridType, widthMm, heightMm, pxPerMm, m_nOriginX, m_nOriginY,
                                [&] { DrawLineGrid(widthMm, heightMm, pxPerMm, pDC); });
}

void CPrintWaveBKGroundNew::DrawGridPoint(int x, int y, COLORREF color)
{
    FillGridDot(m_pDC, x, y, m_uShadeLevel, color);
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
