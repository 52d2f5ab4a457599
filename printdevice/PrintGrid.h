// The geometry of the printed ECG grid, shared by the three grid painters:
// grid positions are numbered k = 1, 2, ... every half millimetre from the
// origin, while they stay inside the area; every 10th is a 5 mm line, every
// other even one a 1 mm line, the odd ones the half-millimetre positions.
#pragma once

#include <cmath>

#include "platform/base/WinTypes.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Pen.h"

struct _PRINT_GRID_AREA {
    double dPxPerMM = 0;   // device pixels per millimetre
    double dHalfMM = 0;    // device pixels per half millimetre
    int nWidth = 0;        // device pixels, truncated
    int nHeight = 0;
};

// The highest shade level; 0 draws no grid.
const UINT kMaxGridShadeLevel = 3;

// FALSE for sizes or a scale that give no sensible area (negative, not a
// number, or too large for device coordinates).
inline BOOL GetPrintGridArea(int widthMm, int heightMm, double pxPerMm, _PRINT_GRID_AREA& area)
{
    if (!(pxPerMm > 0) || !std::isfinite(pxPerMm) || widthMm < 0 || heightMm < 0) return FALSE;
    const double width = widthMm * pxPerMm;
    const double height = heightMm * pxPerMm;
    if (width >= 1e8 || height >= 1e8) return FALSE;
    area.dPxPerMM = pxPerMm;
    area.dHalfMM = pxPerMm * 0.5;
    area.nWidth = (int)width;
    area.nHeight = (int)height;
    return TRUE;
}

// The pen weight of a shade level: the bold pen's width; the thin pen has half.
inline int GetGridPenWeight(UINT level)
{
    return (int)level * 2;
}

// Calls dot(x, y) for every dot of the dotted grid, (x, y) the rounded grid
// point with the origin added: dots every half millimetre down the 5 mm
// columns, every millimetre down the 1 mm columns and every 5 mm down the
// half-millimetre columns.
template <class DotFn> void ForEachGridDot(const _PRINT_GRID_AREA& area, int originX, int originY, DotFn dot)
{
    for (int k = 1; k * area.dHalfMM < area.nWidth; ++k) {
        const double x = k * area.dHalfMM;
        double step = area.dPxPerMM * 5;
        if (k % 10 == 0) step = area.dHalfMM;
        else if (k % 2 == 0) step = area.dPxPerMM;
        for (int j = 1; j * step < area.nHeight; ++j) {
            dot((int)(originX + x + 0.5), (int)(originY + j * step + 0.5));
        }
    }
}

// Calls line(k, position) for every numbered grid position below `extent`
// (the area's width for columns, its height for rows), position truncated.
template <class LineFn> void ForEachGridLine(const _PRINT_GRID_AREA& area, int extent, LineFn line)
{
    for (int k = 1; k * area.dHalfMM < extent; ++k) line(k, (int)(k * area.dHalfMM));
}

// The ruled grid's pens for a shade level: the thin pen solid light grey of
// half the weight, the bold pen solid black of the full weight.
inline void CreateGridPens(UINT level, CPen& thin, CPen& bold)
{
    const int weight = GetGridPenWeight(level);
    thin.CreatePen(PS_SOLID, weight / 2, RGB(0xC0, 0xC0, 0xC0));
    bold.CreatePen(PS_SOLID, weight, RGB(0, 0, 0));
}

// The painters below select their pens through `pens`, on a CDC or a CECGDC:
// a pen is selected only when it changes, as every selection is a printer
// command on the raw printers.

// Columns from firstK on (0 includes the left edge), each from the top to the
// bottom of the area: 5 mm lines with pen5mm, other 1 mm lines with pen1mm,
// half-millimetre lines with penHalf; a null pen skips its lines.
template <class DC>
void DrawGridColumns(DC* pDC, CDCObjectSelector<CPen, DC>& pens, const _PRINT_GRID_AREA& area, int originX, int originY,
                     CPen* pen5mm, CPen* pen1mm, CPen* penHalf, int firstK = 1)
{
    for (int k = firstK; k * area.dHalfMM < area.nWidth; ++k) {
        CPen* pPen = k % 10 == 0 ? pen5mm : (k % 2 == 0 ? pen1mm : penHalf);
        if (!pPen) continue;
        const int x = originX + (int)(k * area.dHalfMM);
        pens.Select(pPen);
        pDC->MoveTo(x, originY);
        pDC->LineTo(x, originY + area.nHeight);
    }
}

// Rows across the area: 5 mm lines with pen5mm, other 1 mm lines with pen1mm.
template <class DC>
void DrawGridRows(DC* pDC, CDCObjectSelector<CPen, DC>& pens, const _PRINT_GRID_AREA& area, int originX, int originY,
                  CPen* pen5mm, CPen* pen1mm)
{
    ForEachGridLine(area, area.nHeight, [&](int k, int position) {
        if (k % 2 != 0) return;
        pens.Select(k % 10 == 0 ? pen5mm : pen1mm);
        pDC->MoveTo(originX, originY + position);
        pDC->LineTo(originX + area.nWidth, originY + position);
    });
}

// A grid dot: a level x level square whose bottom-right pixel is the grid point.
template <class DC> void FillGridDot(DC* pDC, int x, int y, UINT level, COLORREF color)
{
    const int size = (int)level;
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) pDC->SetPixel(x - i, y - j, color);
    }
}

// The background both vector grid classes draw on a print device context:
// nothing at level 0, ruled lines for grid type 1 (drawn by `ruled`), black
// dots otherwise. FALSE for a level past the last or an empty area.
template <class DC, class RuledFn>
BOOL CreateGridBackground(DC* pDC, UINT level, UINT gridType, int widthMm, int heightMm, double pxPerMm, int originX,
                          int originY, RuledFn ruled)
{
    if (level == 0) return TRUE;
    if (level > kMaxGridShadeLevel || !pDC) return FALSE;
    _PRINT_GRID_AREA area;
    if (!GetPrintGridArea(widthMm, heightMm, pxPerMm, area)) return FALSE;
    if (gridType == 1) {
        ruled();
    } else {
        ForEachGridDot(area, originX, originY, [&](int x, int y) { FillGridDot(pDC, x, y, level, RGB(0, 0, 0)); });
    }
    return TRUE;
}
