#include "platform/penwick/SketchArrow.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Dc.h"

namespace {

const double kHalfAngle = 25.0 * 3.14159265358979323846 / 180.0;

struct Head {
    CExactPoint left, right, base;
};

// The barbs and the base of a head at `tip` pointing away from `tail`.
Head HeadAt(const CExactPoint& tail, const CExactPoint& tip, float length)
{
    double dx = tip.x - tail.x, dy = tip.y - tail.y;
    const double norm = std::hypot(dx, dy);
    if (norm > 0) {
        dx /= norm;
        dy /= norm;
    } else {
        dx = 1.0;   // no direction: the head points right
        dy = 0.0;
    }
    auto barb = [&](double angle) {
        const double c = std::cos(angle), s = std::sin(angle);
        const double bx = -(dx * c - dy * s), by = -(dx * s + dy * c);
        return CExactPoint(static_cast<float>(tip.x + bx * length), static_cast<float>(tip.y + by * length));
    };
    const double back = length * std::cos(kHalfAngle);
    return Head{barb(kHalfAngle), barb(-kHalfAngle),
                CExactPoint(static_cast<float>(tip.x - dx * back), static_cast<float>(tip.y - dy * back))};
}

}  // namespace

CSketchArrow::CSketchArrow(short arrowType) : CSketchObject(SKETCH_ARROW), m_nArrowType(std::max<short>(0, arrowType))
{
}

float CSketchArrow::HeadLength(int lineWidth)
{
    return std::max(8.0f, 3.0f * static_cast<float>(lineWidth));
}

int CSketchArrow::GetArrowCtrlPnt(CArray<CExactPoint, CExactPoint>& points) const
{
    points.RemoveAll();
    for (const CExactPoint& p : m_arrowPts) points.Add(p);
    return static_cast<int>(m_arrowPts.size());
}

void CSketchArrow::ComputeArrowPoints()
{
    m_bLoaded = FALSE;
    if (m_points.size() < 2) {
        m_arrowPts.clear();
        return;
    }
    const CExactPoint tail = m_points[0], tip = m_points[1];
    const Head head = HeadAt(tail, tip, HeadLength(m_nLineWidth));
    if (m_nArrowType == 0)
        m_arrowPts = {head.left, tip, head.right, head.base, tail};
    else
        m_arrowPts = {head.left, tip, tip, head.right, tail, head.base};
}

void CSketchArrow::Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const
{
    if (!pDC || m_points.size() < 2) return;
    CDCStateSaver saver(*pDC);
    CPen pen(m_nLineStyle, PenPixels(map), m_crLine);
    CDCObjectSelector<CPen> penSelection(*pDC, &pen);
    // The head follows the ends, so a stored arrow looks as a drawn one.
    const Head head = HeadAt(m_points[0], m_points[1], HeadLength(m_nLineWidth));
    const POINT tail = ToDevice(map, m_points[0]), tip = ToDevice(map, m_points[1]);
    const POINT left = ToDevice(map, head.left), right = ToDevice(map, head.right);
    const POINT base = ToDevice(map, head.base);
    if (m_nArrowType == 0) {
        pDC->MoveTo(tail);
        pDC->LineTo(tip);
        pDC->MoveTo(left);
        pDC->LineTo(tip);
        pDC->LineTo(right);
    } else {
        pDC->MoveTo(tail);
        pDC->LineTo(base);
        CBrush fill(m_crLine);
        if (m_nArrowType >= 2)
            CDCObjectSelector<CBrush> fillSelection(*pDC, &fill);
        else
            pDC->SelectStockObject(HOLLOW_BRUSH);
        const POINT triangle[3] = {left, tip, right};
        pDC->Polygon(triangle, 3);
    }
    if (!paper && m_bSelected) DrawHandles(pDC, map);
}

void CSketchArrow::Offset(float dx, float dy)
{
    CSketchObject::Offset(dx, dy);
    // Moving keeps the head's shape, so stored points only travel along.
    for (CExactPoint& p : m_arrowPts) p = CExactPoint(p.x + dx, p.y + dy);
}

void CSketchArrow::MoveHandle(int handle, const CExactPoint& point)
{
    CSketchObject::MoveHandle(handle, point);
    ComputeArrowPoints();
}

void CSketchArrow::BeginSketch(const CExactPoint& point)
{
    CSketchObject::BeginSketch(point);
    ComputeArrowPoints();
}

void CSketchArrow::ContinueSketch(const CExactPoint& point)
{
    CSketchObject::ContinueSketch(point);
    ComputeArrowPoints();
}

BOOL CSketchArrow::LoadPoints(const std::vector<CExactPoint>& points)
{
    if (!CSketchObject::LoadPoints(points)) return FALSE;
    const std::vector<CExactPoint> stored(points.begin() + 2, points.end());
    // The record writes an open head's points as 2, 1, 0, 1, 3, 1 and a
    // closed head's first six as 1, 0, 3, 2, 5, 4 (the rest as they are),
    // so six points with the same point in the second, fourth and sixth
    // place are an open head (a closed head's sixth point is its base, never
    // its tip), six or more others a closed one.
    const bool open = stored.size() == 6 && stored[3] == stored[1] && stored[5] == stored[1];
    if (open) {
        m_nArrowType = 0;
        m_arrowPts = {stored[2], stored[1], stored[0], stored[4], m_points[0]};
        m_bLoaded = TRUE;
        return TRUE;
    }
    if (stored.size() >= 6) {
        if (m_nArrowType == 0) m_nArrowType = 2;
        static const int kOrder[6] = {1, 0, 3, 2, 5, 4};
        m_arrowPts.clear();
        for (int i : kOrder) m_arrowPts.push_back(stored[static_cast<size_t>(i)]);
        m_arrowPts.insert(m_arrowPts.end(), stored.begin() + 6, stored.end());
        m_bLoaded = TRUE;
        return TRUE;
    }
    // Too few to be a stored head: the head is computed from the ends.
    ComputeArrowPoints();
    return TRUE;
}
