#include "platform/penwick/SketchPixel.h"

#include <algorithm>

#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Dc.h"

int CSketchPixel::GetMarkObjPoints(CArray<CExactPoint, CExactPoint>& points) const
{
    points.RemoveAll();
    for (const CExactPoint& p : m_marks) points.Add(p);
    return static_cast<int>(m_marks.size());
}

CExactPoint CSketchPixel::GetCtrlPnt(int index) const
{
    return (index == 0 && !m_points.empty()) ? m_points[0] : CExactPoint();
}

void CSketchPixel::Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const
{
    if (!pDC) return;
    CDCStateSaver saver(*pDC);
    CPen pen(PS_SOLID, PenPixels(map), m_crLine);
    pDC->SelectObject(&pen);
    // Each mark is a small cross, growing with the pen.
    const int arm = 2 + PenPixels(map);
    for (const CExactPoint& mark : m_marks) {
        const POINT p = ToDevice(map, mark);
        pDC->MoveTo(p.x - arm, p.y - arm);
        pDC->LineTo(p.x + arm + 1, p.y + arm + 1);
        pDC->MoveTo(p.x + arm, p.y - arm);
        pDC->LineTo(p.x - arm - 1, p.y + arm + 1);
    }
    if (!paper && m_bSelected && !m_marks.empty()) {
        // No handles: a selected set of marks shows a frame round them.
        CExactPoint tl, br;
        GetBounds(tl, br);
        CPen frame(PS_DOT, 1, RGB(0, 0, 0));
        pDC->SelectObject(&frame);
        pDC->SelectStockObject(HOLLOW_BRUSH);
        const POINT a = ToDevice(map, tl), b = ToDevice(map, br);
        pDC->Rectangle(a.x - arm - 2, a.y - arm - 2, b.x + arm + 3, b.y + arm + 3);
    }
}

int CSketchPixel::HitTest(const CExactPoint& point, float tolerance) const
{
    const float reach = tolerance + 2.0f + m_nLineWidth;
    for (const CExactPoint& mark : m_marks)
        if (mark.Distance(point) <= reach) return kHitBody;
    return kHitNothing;
}

void CSketchPixel::Offset(float dx, float dy)
{
    CSketchObject::Offset(dx, dy);
    for (CExactPoint& p : m_marks) p = CExactPoint(p.x + dx, p.y + dy);
}

void CSketchPixel::BeginSketch(const CExactPoint& point)
{
    m_points.assign(1, point);
    m_marks.assign(1, point);
}

void CSketchPixel::ContinueSketch(const CExactPoint& point)
{
    if (!m_marks.empty() && m_marks.back().Distance(point) >= kSpacing) m_marks.push_back(point);
}

BOOL CSketchPixel::LoadPoints(const std::vector<CExactPoint>& points)
{
    if (points.empty()) return FALSE;
    m_points.assign(1, points[0]);
    m_marks.assign(points.begin() + 1, points.end());
    return TRUE;
}

void CSketchPixel::GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const
{
    topLeft = bottomRight = m_marks.empty() ? GetCtrlPnt(0) : m_marks[0];
    for (const CExactPoint& p : m_marks) {
        topLeft = CExactPoint(std::min(topLeft.x, p.x), std::min(topLeft.y, p.y));
        bottomRight = CExactPoint(std::max(bottomRight.x, p.x), std::max(bottomRight.y, p.y));
    }
}
