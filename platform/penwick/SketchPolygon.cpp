#include "platform/penwick/SketchPolygon.h"

#include <algorithm>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Dc.h"
#include "platform/penwick/PatternBitmap.h"

int CSketchPolygon::GetPathPoint(CArray<CExactPoint, CExactPoint>& points) const
{
    points.RemoveAll();
    for (const CExactPoint& p : m_path) points.Add(p);
    return static_cast<int>(m_path.size());
}

CExactPoint CSketchPolygon::GetCtrlPnt(int index) const
{
    if (index == 0 && !m_points.empty()) return m_points[0];
    if (index < 0 || index >= static_cast<int>(m_path.size())) return CExactPoint();
    return m_path[static_cast<size_t>(index)];
}

std::vector<int> CSketchPolygon::GetHandles() const
{
    std::vector<int> handles;
    for (int i = 0; i < static_cast<int>(m_path.size()); ++i) handles.push_back(i);
    return handles;
}

void CSketchPolygon::Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const
{
    if (!pDC || m_path.empty()) return;
    CDCStateSaver saver(*pDC);
    std::vector<POINT> device;
    for (const CExactPoint& p : m_path) device.push_back(ToDevice(map, p));
    if (m_pPattern && device.size() >= 3) {
        CExactPoint tl, br;
        GetBounds(tl, br);
        const POINT a = ToDevice(map, tl), b = ToDevice(map, br);
        const double ratio = Ratio(map);
        m_pPattern->Fill(pDC, CRect(a.x, a.y, b.x + 1, b.y + 1), m_crLine, [&](int x, int y) {
            return Contains(CExactPoint(static_cast<float>((x + 0.5 - map.nOriginX) / ratio),
                                        static_cast<float>((y + 0.5 - map.nOriginY) / ratio)));
        });
    }
    CPen pen(m_nLineStyle, PenPixels(map), m_crLine);
    CDCObjectSelector<CPen> penSelection(*pDC, &pen);
    pDC->SelectStockObject(HOLLOW_BRUSH);
    if (device.size() >= 3)
        pDC->Polygon(device.data(), static_cast<int>(device.size()));
    else if (device.size() == 2)
        pDC->Polyline(device.data(), 2);
    else
        pDC->SetPixelV(device[0].x, device[0].y, m_crLine);
    if (!paper && m_bSelected) DrawHandles(pDC, map);
}

bool CSketchPolygon::Contains(const CExactPoint& point) const
{
    bool inside = false;
    for (size_t i = 0, j = m_path.size() - 1; i < m_path.size(); j = i++) {
        const CExactPoint& a = m_path[i];
        const CExactPoint& b = m_path[j];
        if ((a.y > point.y) != (b.y > point.y) && point.x < (b.x - a.x) * (point.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

int CSketchPolygon::HitTest(const CExactPoint& point, float tolerance) const
{
    if (m_path.empty()) return kHitNothing;
    if (m_bSelected) {
        for (int handle : GetHandles())
            if (GetCtrlPnt(handle).Distance(point) <= tolerance) return handle;
    }
    const float reach = tolerance + m_nLineWidth / 2.0f;
    for (size_t i = 0; i < m_path.size(); ++i)
        if (SegmentDistance(point, m_path[i], m_path[(i + 1) % m_path.size()]) <= reach) return kHitBody;
    return (m_path.size() >= 3 && Contains(point)) ? kHitBody : kHitNothing;
}

void CSketchPolygon::Offset(float dx, float dy)
{
    CSketchObject::Offset(dx, dy);
    for (CExactPoint& p : m_path) p = CExactPoint(p.x + dx, p.y + dy);
}

void CSketchPolygon::MoveHandle(int handle, const CExactPoint& point)
{
    if (handle < 0 || handle >= static_cast<int>(m_path.size())) return;
    if (handle == 0 && !m_points.empty() && m_points[0] == m_path[0]) m_points[0] = point;
    m_path[static_cast<size_t>(handle)] = point;
}

void CSketchPolygon::BeginSketch(const CExactPoint& point)
{
    m_points.assign(1, point);
    m_path.assign({point, point});
}

void CSketchPolygon::ContinueSketch(const CExactPoint& point)
{
    if (!m_path.empty()) m_path.back() = point;
}

void CSketchPolygon::AddSketchPoint(const CExactPoint& point)
{
    // The corner that followed the mouse stays here; a new one follows on.
    if (m_path.empty()) return;
    m_path.back() = point;
    if (m_path.size() >= 2 && m_path[m_path.size() - 2] == point) return;   // the same corner twice
    m_path.push_back(point);
}

BOOL CSketchPolygon::FinishSketch()
{
    // Drop the corner that was following the mouse when it repeats the last.
    while (m_path.size() >= 2 && m_path.back() == m_path[m_path.size() - 2]) m_path.pop_back();
    return m_path.size() >= 2;
}

BOOL CSketchPolygon::LoadPoints(const std::vector<CExactPoint>& points)
{
    if (points.size() < 2) return FALSE;
    m_points.assign(1, points[0]);
    m_path.assign(points.begin() + 1, points.end());
    return TRUE;
}

void CSketchPolygon::GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const
{
    topLeft = bottomRight = m_path.empty() ? CExactPoint() : m_path[0];
    for (const CExactPoint& p : m_path) {
        topLeft = CExactPoint(std::min(topLeft.x, p.x), std::min(topLeft.y, p.y));
        bottomRight = CExactPoint(std::max(bottomRight.x, p.x), std::max(bottomRight.y, p.y));
    }
}
