#include "printdevice/PrintWaveBKBase.h"

#include "printdevice/ECGDC.h"
#include "printdevice/PrintGrid.h"

void CPrintWaveBKBase::SetOrigin(CPoint point)
{
    m_nOriginX = point.x;
    m_nOriginY = point.y;
}

BOOL CPrintWaveBKBase::CreatePrintBKGround(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC)
{
    if (m_uShadeLevel != 0 && m_uShadeLevel <= kMaxGridShadeLevel && pDC) m_pDC = pDC;
    return CreateGridBackground(pDC, m_uShadeLevel, m_uGridType, widthMm, heightMm, pxPerMm, m_nOriginX, m_nOriginY,
                                [&] { DrawLineGrid(widthMm, heightMm, pxPerMm, pDC); });
}

void CPrintWaveBKBase::DrawLineGrid(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC)
{
    _PRINT_GRID_AREA area;
    if (!pDC || !GetPrintGridArea(widthMm, heightMm, pxPerMm, area)) return;
    CPen penThin;
    CPen penBold;
    CreateGridPens(m_uShadeLevel, penThin, penBold);
    CDCObjectSelector<CPen, CECGDC> pens(*pDC);
    if (m_boldColumns == BoldColumns::WithTheThin) {
        DrawGridColumns(pDC, pens, area, m_nOriginX, m_nOriginY, &penBold, &penThin, nullptr);
        DrawGridRows(pDC, pens, area, m_nOriginX, m_nOriginY, &penBold, &penThin);
        return;
    }
    DrawGridColumns(pDC, pens, area, m_nOriginX, m_nOriginY, nullptr, &penThin, nullptr);
    DrawGridRows(pDC, pens, area, m_nOriginX, m_nOriginY, &penBold, &penThin);
    DrawGridColumns(pDC, pens, area, m_nOriginX, m_nOriginY, &penBold, nullptr, nullptr, 0);
}
