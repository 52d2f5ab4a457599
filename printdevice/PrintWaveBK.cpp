#include "printdevice/PrintWaveBK.h"

#include "printdevice/ECGDC.h"
#include "printdevice/PrintGrid.h"

BOOL CPrintWaveBK::CreatePCLBKGround(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC)
{
    if (m_uShadeLevel == 0) return TRUE;
    if (m_uShadeLevel > kMaxGridShadeLevel || !pDC) return FALSE;
    _PRINT_GRID_AREA area;
    if (!GetPrintGridArea(widthMm, heightMm, pxPerMm, area)) return FALSE;
    m_pDC = pDC;

    CPen pen1mm;     // thin, or dashed with a 1 mm gap
    CPen pen5mm;     // bold, or dashed with a half-millimetre gap
    CPen penHalf;    // dashed with a 5 mm gap (dotted grid only)
    CPen* pHalf = nullptr;
    if (m_uGridType != 0) {
        CreateGridPens(m_uShadeLevel, pen1mm, pen5mm);
    } else {
        // One pixel on, g pixels off: the raw printers know these pens by their gap.
        const int weight = GetGridPenWeight(m_uShadeLevel);
        LOGBRUSH black = {BS_SOLID, RGB(0, 0, 0), 0};
        const DWORD style1mm[2] = {1, (DWORD)(int)(1 * pxPerMm)};
        const DWORD style5mm[2] = {1, (DWORD)(int)(0.5 * pxPerMm)};
        const DWORD styleHalf[2] = {1, (DWORD)(int)(5 * pxPerMm)};
        pen1mm.CreatePen(PS_GEOMETRIC | PS_USERSTYLE, weight, &black, 2, style1mm);
        pen5mm.CreatePen(PS_GEOMETRIC | PS_USERSTYLE, weight, &black, 2, style5mm);
        penHalf.CreatePen(PS_GEOMETRIC | PS_USERSTYLE, weight, &black, 2, styleHalf);
        pHalf = &penHalf;
    }
    CDCObjectSelector<CPen, CECGDC> pens(*pDC);
    DrawGridColumns(pDC, pens, area, m_nOriginX, m_nOriginY, &pen5mm, &pen1mm, pHalf);
    if (m_uGridType == 1) DrawGridRows(pDC, pens, area, m_nOriginX, m_nOriginY, &pen5mm, &pen1mm);
    return TRUE;
}
