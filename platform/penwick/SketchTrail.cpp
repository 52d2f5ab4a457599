#include "platform/penwick/SketchTrail.h"

#include <algorithm>

CExactPoint CSketchTrail::GetCtrlPnt(int index) const
{
    return (index == 0 && !m_points.empty()) ? m_points[0] : CExactPoint();
}

void CSketchTrail::Offset(float dx, float dy)
{
    CSketchObject::Offset(dx, dy);
    for (CExactPoint& p : m_trail) p = CExactPoint(p.x + dx, p.y + dy);
}

void CSketchTrail::BeginSketch(const CExactPoint& point)
{
    m_points.assign(1, point);
    m_trail.assign(1, point);
}

void CSketchTrail::ContinueSketch(const CExactPoint& point)
{
    if (!m_trail.empty() && m_trail.back().Distance(point) >= m_fStep) m_trail.push_back(point);
}

BOOL CSketchTrail::LoadTrail(const std::vector<CExactPoint>& points, size_t skip)
{
    if (points.empty()) return FALSE;
    m_points.assign(1, points[0]);
    m_trail.assign(points.begin() + std::min(skip, points.size()), points.end());
    return TRUE;
}

void CSketchTrail::BoundsOf(const std::vector<CExactPoint>& points, CExactPoint& topLeft,
                            CExactPoint& bottomRight) const
{
    topLeft = bottomRight = points.empty() ? GetCtrlPnt(0) : points[0];
    for (const CExactPoint& p : points) {
        topLeft = CExactPoint(std::min(topLeft.x, p.x), std::min(topLeft.y, p.y));
        bottomRight = CExactPoint(std::max(bottomRight.x, p.x), std::max(bottomRight.y, p.y));
    }
}
