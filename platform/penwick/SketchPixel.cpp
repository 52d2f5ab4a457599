#include "platform/penwick/SketchPixel.h"

#include <algorithm>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Dc.h"

int CSketchPixel::GetMarkObjPoints(CArray<CExactPoint, CExactPoint>& points) const
{
    points.RemoveAll();
    for (const CExactPoint& p : m_trail) points.Add(p);
    return static_cast<int>(m_trail.size());
}

void CSketchPixel::Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const
{
    if (!pDC) return;
    CDCStateSaver saver(*pDC);
    CPen pen(PS_SOLID, PenPixels(map), m_crLine);
    CDCObjectSelector<CPen> penSelection(*pDC, &pen);
    // Each mark is a small cross, growing with the pen.
    const int arm = 2 + PenPixels(map);
    for (const CExactPoint& mark : m_trail) {
        const POINT p = ToDevice(map, mark);
        pDC->MoveTo(p.x - arm, p.y - arm);
        pDC->LineTo(p.x + arm + 1, p.y + arm + 1);
        pDC->MoveTo(p.x + arm, p.y - arm);
        pDC->LineTo(p.x - arm - 1, p.y + arm + 1);
    }
    if (!paper && m_bSelected && !m_trail.empty()) {
        // No handles: a selected set of marks shows a frame round them.
        CExactPoint tl, br;
        GetBounds(tl, br);
        CPen frame(PS_DOT, 1, RGB(0, 0, 0));
        CDCObjectSelector<CPen> frameSelection(*pDC, &frame);
        pDC->SelectStockObject(HOLLOW_BRUSH);
        const POINT a = ToDevice(map, tl), b = ToDevice(map, br);
        pDC->Rectangle(a.x - arm - 2, a.y - arm - 2, b.x + arm + 3, b.y + arm + 3);
    }
}

int CSketchPixel::HitTest(const CExactPoint& point, float tolerance) const
{
    const float reach = tolerance + 2.0f + m_nLineWidth;
    for (const CExactPoint& mark : m_trail)
        if (mark.Distance(point) <= reach) return kHitBody;
    return kHitNothing;
}

BOOL CSketchPixel::LoadPoints(const std::vector<CExactPoint>& points)
{
    return LoadTrail(points, 1);
}

void CSketchPixel::GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const
{
    BoundsOf(m_trail, topLeft, bottomRight);
}
