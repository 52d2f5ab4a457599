#include "platform/penwick/SketchCurve.h"

#include <algorithm>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Dc.h"

namespace {

const int kStepsPerSpan = 4;

}  // namespace

int CSketchCurve::GetPathPoint(CArray<CExactPoint, CExactPoint>& points) const
{
    points.RemoveAll();
    for (const CExactPoint& p : m_trail) points.Add(p);
    return static_cast<int>(m_trail.size());
}

std::vector<CExactPoint> CSketchCurve::Smoothed() const
{
    const size_t n = m_trail.size();
    if (n < 3) return m_trail;
    const bool closed = IsClosed();
    auto at = [&](long i) {
        if (closed) return m_trail[static_cast<size_t>(((i % static_cast<long>(n)) + static_cast<long>(n)) % static_cast<long>(n))];
        return m_trail[static_cast<size_t>(std::clamp<long>(i, 0, static_cast<long>(n) - 1))];
    };
    std::vector<CExactPoint> out;
    const long spans = closed ? static_cast<long>(n) : static_cast<long>(n) - 1;
    for (long i = 0; i < spans; ++i) {
        const CExactPoint p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        for (int s = 0; s < kStepsPerSpan; ++s) {
            const float t = static_cast<float>(s) / kStepsPerSpan, t2 = t * t, t3 = t2 * t;
            auto blend = [&](float a, float b, float c, float d) {
                return 0.5f * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (-a + 3 * b - 3 * c + d) * t3);
            };
            out.emplace_back(blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y));
        }
    }
    out.push_back(closed ? m_trail.front() : m_trail.back());
    return out;
}

void CSketchCurve::Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const
{
    if (!pDC || m_trail.empty()) return;
    CDCStateSaver saver(*pDC);
    CPen pen(m_nLineStyle, PenPixels(map), m_crLine);
    CDCObjectSelector<CPen> penSelection(*pDC, &pen);
    std::vector<POINT> device;
    for (const CExactPoint& p : Smoothed()) device.push_back(ToDevice(map, p));
    if (device.size() >= 2)
        pDC->Polyline(device.data(), static_cast<int>(device.size()));
    else
        pDC->SetPixelV(device[0].x, device[0].y, m_crLine);
    if (!paper && m_bSelected) {
        CExactPoint tl, br;
        GetBounds(tl, br);
        CPen frame(PS_DOT, 1, RGB(0, 0, 0));
        CDCObjectSelector<CPen> frameSelection(*pDC, &frame);
        pDC->SelectStockObject(HOLLOW_BRUSH);
        const POINT a = ToDevice(map, tl), b = ToDevice(map, br);
        pDC->Rectangle(a.x - 3, a.y - 3, b.x + 4, b.y + 4);
    }
}

int CSketchCurve::HitTest(const CExactPoint& point, float tolerance) const
{
    const float reach = tolerance + m_nLineWidth / 2.0f;
    const std::vector<CExactPoint> outline = Smoothed();
    if (outline.size() == 1) return outline[0].Distance(point) <= reach ? kHitBody : kHitNothing;
    for (size_t i = 0; i + 1 < outline.size(); ++i)
        if (SegmentDistance(point, outline[i], outline[i + 1]) <= reach) return kHitBody;
    return kHitNothing;
}

BOOL CSketchCurve::LoadPoints(const std::vector<CExactPoint>& points)
{
    return LoadTrail(points, 2);
}

void CSketchCurve::GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const
{
    BoundsOf(Smoothed(), topLeft, bottomRight);
}
