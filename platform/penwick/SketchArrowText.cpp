#include "platform/penwick/SketchArrowText.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Dc.h"
#include "platform/penwick/SketchArrow.h"

int CSketchArrowText::GetArrowCtrlPnt(CArray<CExactPoint, CExactPoint>& points) const
{
    points.RemoveAll();
    for (const CExactPoint& p : m_arrowPts) points.Add(p);
    return static_cast<int>(m_arrowPts.size());
}

CExactPoint CSketchArrowText::GetCtrlPnt(int index) const
{
    if (index == kTipHandle) return m_arrowPts.empty() ? CExactPoint() : m_arrowPts[0];
    return CSketchText::GetCtrlPnt(index);
}

std::vector<int> CSketchArrowText::GetHandles() const
{
    std::vector<int> handles = CSketchText::GetHandles();
    if (!m_arrowPts.empty()) handles.push_back(kTipHandle);
    return handles;
}

int CSketchArrowText::GetHandleCursor(int handle) const
{
    return handle == kTipHandle ? SKETCH_HIT_POINT : CSketchText::GetHandleCursor(handle);
}

void CSketchArrowText::ComputeBase()
{
    if (m_points.size() < 2 || m_arrowPts.empty()) return;
    const CExactPoint tip = m_arrowPts[0];
    CExactPoint best = BoxPoint(m_points[0], m_points[1], 1);
    for (int side : {3, 5, 7}) {
        const CExactPoint candidate = BoxPoint(m_points[0], m_points[1], side);
        if (candidate.Distance(tip) < best.Distance(tip)) best = candidate;
    }
    m_arrowPts.resize(2);
    m_arrowPts[1] = best;
}

void CSketchArrowText::Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const
{
    if (!pDC || m_points.size() < 2) return;
    {
        CDCStateSaver saver(*pDC);
        CPen pen(m_nLineStyle, PenPixels(map), m_crLine);
        CDCObjectSelector<CPen> penSelection(*pDC, &pen);
        pDC->SelectStockObject(HOLLOW_BRUSH);
        const POINT a = ToDevice(map, m_points[0]), b = ToDevice(map, m_points[1]);
        pDC->Rectangle(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
        if (m_arrowPts.size() >= 2) {
            // A small filled head at the tip, pointing away from the box.
            const CExactPoint tip = m_arrowPts[0], base = m_arrowPts[1];
            const POINT t = ToDevice(map, tip), s = ToDevice(map, base);
            pDC->MoveTo(s);
            pDC->LineTo(t);
            const float length = CSketchArrow::HeadLength(m_nLineWidth);
            const float dx = tip.x - base.x, dy = tip.y - base.y;
            const float norm = std::max(1e-6f, std::hypot(dx, dy));
            const float ux = dx / norm, uy = dy / norm;
            const CExactPoint left(tip.x - ux * length - uy * length * 0.45f, tip.y - uy * length + ux * length * 0.45f);
            const CExactPoint right(tip.x - ux * length + uy * length * 0.45f, tip.y - uy * length - ux * length * 0.45f);
            CBrush fill(m_crLine);
            CDCObjectSelector<CBrush> fillSelection(*pDC, &fill);
            const POINT head[3] = {ToDevice(map, left), t, ToDevice(map, right)};
            pDC->Polygon(head, 3);
        }
    }
    DrawContent(pDC, map, TRUE);   // the frame already shows where the box is
    if (!paper && m_bSelected) DrawHandles(pDC, map);
}

int CSketchArrowText::HitTest(const CExactPoint& point, float tolerance) const
{
    const int hit = CSketchText::HitTest(point, tolerance);
    if (hit != kHitNothing) return hit;
    if (m_bSelected && !m_arrowPts.empty() && m_arrowPts[0].Distance(point) <= tolerance) return kTipHandle;
    if (m_arrowPts.size() >= 2 && SegmentDistance(point, m_arrowPts[1], m_arrowPts[0]) <= tolerance + m_nLineWidth / 2.0f)
        return kHitBody;
    return kHitNothing;
}

void CSketchArrowText::Offset(float dx, float dy)
{
    CSketchText::Offset(dx, dy);
    for (CExactPoint& p : m_arrowPts) p = CExactPoint(p.x + dx, p.y + dy);
}

void CSketchArrowText::MoveHandle(int handle, const CExactPoint& point)
{
    if (handle == kTipHandle) {
        if (!m_arrowPts.empty()) m_arrowPts[0] = point;
    } else {
        CSketchText::MoveHandle(handle, point);
    }
    ComputeBase();
}

void CSketchArrowText::BeginSketch(const CExactPoint& point)
{
    m_arrowPts.assign(1, point);
    m_points.assign(2, point);
    GiveDefaultSize();
    ComputeBase();
}

void CSketchArrowText::ContinueSketch(const CExactPoint& point)
{
    // The box travels with the mouse, keeping its size.
    if (m_points.size() < 2) return;
    const float dx = point.x - m_points[0].x, dy = point.y - m_points[0].y;
    CSketchText::Offset(dx, dy);
    ComputeBase();
}

BOOL CSketchArrowText::FinishSketch()
{
    return m_points.size() >= 2 && !m_arrowPts.empty();
}

BOOL CSketchArrowText::LoadPoints(const std::vector<CExactPoint>& points)
{
    if (!CSketchText::LoadPoints(points)) return FALSE;
    m_arrowPts.assign(points.begin() + 2, points.end());
    return TRUE;
}

void CSketchArrowText::GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const
{
    CSketchText::GetBounds(topLeft, bottomRight);
    for (const CExactPoint& p : m_arrowPts) {
        topLeft = CExactPoint(std::min(topLeft.x, p.x), std::min(topLeft.y, p.y));
        bottomRight = CExactPoint(std::max(bottomRight.x, p.x), std::max(bottomRight.y, p.y));
    }
}
