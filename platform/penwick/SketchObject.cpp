#include "platform/penwick/SketchObject.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Dc.h"
#include "platform/penwick/PatternBitmap.h"

CSketchObject::CSketchObject(int type) : m_nType(type)
{
    m_lfFont = LOGFONT{};
    m_lfFont.lfHeight = -12;
    m_lfFont.lfWeight = FW_NORMAL;
    m_lfFont.lfCharSet = DEFAULT_CHARSET;
}

std::unique_ptr<CSketchObject> CSketchObject::Clone() const
{
    return std::make_unique<CSketchObject>(*this);
}

void CSketchObject::GetLineStyle(int& style, int& width, COLORREF& color) const
{
    style = m_nLineStyle;
    width = m_nLineWidth;
    color = m_crLine;
}

void CSketchObject::GetFont_and_Color(LOGFONT& font, COLORREF& color) const
{
    font = m_lfFont;
    color = m_crFont;
}

BOOL CSketchObject::IsBoxKind() const
{
    return m_nType == SKETCH_RECTANGLE || m_nType == SKETCH_ELLIPSE || m_nType == SKETCH_TEXT ||
           m_nType == SKETCH_ARROWTEXT;
}

CExactPoint CSketchObject::BoxPoint(const CExactPoint& a, const CExactPoint& b, int index)
{
    const float mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
    switch (index) {
    case 0: return a;
    case 1: return CExactPoint(mx, a.y);
    case 2: return CExactPoint(b.x, a.y);
    case 3: return CExactPoint(b.x, my);
    case 4: return b;
    case 5: return CExactPoint(mx, b.y);
    case 6: return CExactPoint(a.x, b.y);
    case 7: return CExactPoint(a.x, my);
    default: return CExactPoint();
    }
}

int CSketchObject::BoxHandleCursor(const CExactPoint& a, const CExactPoint& b, int index)
{
    // The cursor follows where the handle lies on screen, so a box drawn
    // from right to left still shows the right diagonal.
    const CExactPoint p = BoxPoint(a, b, index);
    const float cx = (a.x + b.x) / 2, cy = (a.y + b.y) / 2;
    const int sx = (p.x > cx) - (p.x < cx), sy = (p.y > cy) - (p.y < cy);
    if (sx == 0 && sy == 0) return SKETCH_HIT_MOVE;
    if (sx == 0) return SKETCH_HIT_NS;
    if (sy == 0) return SKETCH_HIT_WE;
    return sx * sy > 0 ? SKETCH_HIT_NWSE : SKETCH_HIT_NESW;
}

CExactPoint CSketchObject::GetCtrlPnt(int index) const
{
    if (m_points.size() < 2 || index < 0) return CExactPoint();
    if (IsBoxKind()) return BoxPoint(m_points[0], m_points[1], index);
    return index < static_cast<int>(m_points.size()) ? m_points[static_cast<size_t>(index)] : CExactPoint();
}

int CSketchObject::GetCtrlPntCount() const
{
    return IsBoxKind() ? 8 : static_cast<int>(m_points.size());
}

double CSketchObject::Ratio(const _IMAGEMAPINFO_ST_& map)
{
    return (std::isfinite(map.fRatio) && map.fRatio > 0.0f) ? map.fRatio : 1.0;
}

POINT CSketchObject::ToDevice(const _IMAGEMAPINFO_ST_& map, const CExactPoint& point)
{
    const double ratio = Ratio(map);
    auto coord = [](double v) { return static_cast<LONG>(std::lround(std::clamp(v, -1.0e8, 1.0e8))); };
    return POINT{coord(map.nOriginX + point.x * ratio), coord(map.nOriginY + point.y * ratio)};
}

int CSketchObject::PenPixels(const _IMAGEMAPINFO_ST_& map) const
{
    const double width = std::max(1, m_nLineWidth) * Ratio(map);
    return static_cast<int>(std::clamp(std::lround(width), 1L, 200L));
}

void CSketchObject::GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const
{
    topLeft = bottomRight = CExactPoint();
    if (m_points.empty()) return;
    topLeft = bottomRight = m_points[0];
    for (const CExactPoint& p : m_points) {
        topLeft = CExactPoint(std::min(topLeft.x, p.x), std::min(topLeft.y, p.y));
        bottomRight = CExactPoint(std::max(bottomRight.x, p.x), std::max(bottomRight.y, p.y));
    }
}

void CSketchObject::Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const
{
    if (!pDC || m_points.size() < 2) return;
    CDCStateSaver saver(*pDC);
    CPen pen(m_nLineStyle, PenPixels(map), m_crLine);
    CDCObjectSelector<CPen> penSelection(*pDC, &pen);
    pDC->SelectStockObject(HOLLOW_BRUSH);
    const POINT a = ToDevice(map, m_points[0]);
    const POINT b = ToDevice(map, m_points[1]);
    const CRect box(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
    switch (m_nType) {
    case SKETCH_RECTANGLE:
        if (m_pPattern) m_pPattern->Fill(pDC, box, m_crLine, nullptr);
        pDC->Rectangle(&box);
        break;
    case SKETCH_ELLIPSE:
        if (m_pPattern) {
            const double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
            const double rx = std::max(0.5, box.Width() / 2.0), ry = std::max(0.5, box.Height() / 2.0);
            m_pPattern->Fill(pDC, box, m_crLine, [&](int x, int y) {
                const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
                return dx * dx + dy * dy <= 1.0;
            });
        }
        pDC->Ellipse(&box);
        break;
    default:
        pDC->MoveTo(a);
        pDC->LineTo(b);
        pDC->SetPixelV(b.x, b.y, m_crLine);   // LineTo leaves the end point out
        break;
    }
    if (!paper && m_bSelected) DrawHandles(pDC, map);
}

void CSketchObject::DrawHandles(CDC* pDC, const _IMAGEMAPINFO_ST_& map) const
{
    CDCStateSaver saver(*pDC);
    CPen frame(PS_SOLID, 1, RGB(0, 0, 0));
    CDCObjectSelector<CPen> frameSelection(*pDC, &frame);
    pDC->SelectStockObject(WHITE_BRUSH);
    for (int handle : GetHandles()) {
        const POINT p = ToDevice(map, GetCtrlPnt(handle));
        pDC->Rectangle(p.x - 3, p.y - 3, p.x + 4, p.y + 4);
    }
}

std::vector<int> CSketchObject::GetHandles() const
{
    if (IsBoxKind()) return {0, 1, 2, 3, 4, 5, 6, 7};
    if (m_points.size() >= 2) return {0, 1};
    return {};
}

int CSketchObject::GetHandleCursor(int handle) const
{
    if (IsBoxKind() && m_points.size() >= 2) return BoxHandleCursor(m_points[0], m_points[1], handle);
    return SKETCH_HIT_POINT;
}

float CSketchObject::SegmentDistance(const CExactPoint& p, const CExactPoint& a, const CExactPoint& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return static_cast<float>(std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy)));
}

int CSketchObject::HitTest(const CExactPoint& point, float tolerance) const
{
    if (m_bSelected) {
        for (int handle : GetHandles())
            if (GetCtrlPnt(handle).Distance(point) <= tolerance) return handle;
    }
    if (m_points.size() < 2) return kHitNothing;
    const float reach = tolerance + m_nLineWidth / 2.0f;
    if (IsBoxKind()) {
        CExactPoint tl, br;
        GetBounds(tl, br);
        const bool inside = point.x >= tl.x - reach && point.x <= br.x + reach && point.y >= tl.y - reach &&
                            point.y <= br.y + reach;
        return inside ? kHitBody : kHitNothing;
    }
    return SegmentDistance(point, m_points[0], m_points[1]) <= reach ? kHitBody : kHitNothing;
}

void CSketchObject::Offset(float dx, float dy)
{
    for (CExactPoint& p : m_points) p = CExactPoint(p.x + dx, p.y + dy);
}

void CSketchObject::MoveHandle(int handle, const CExactPoint& point)
{
    if (m_points.size() < 2) return;
    if (!IsBoxKind()) {
        if (handle == 0 || handle == 1) m_points[static_cast<size_t>(handle)] = point;
        return;
    }
    CExactPoint& a = m_points[0];
    CExactPoint& b = m_points[1];
    switch (handle) {
    case 0: a = point; break;
    case 1: a.y = point.y; break;
    case 2: b.x = point.x; a.y = point.y; break;
    case 3: b.x = point.x; break;
    case 4: b = point; break;
    case 5: b.y = point.y; break;
    case 6: a.x = point.x; b.y = point.y; break;
    case 7: a.x = point.x; break;
    default: break;
    }
}

void CSketchObject::BeginSketch(const CExactPoint& point)
{
    m_points.assign(2, point);
}

void CSketchObject::ContinueSketch(const CExactPoint& point)
{
    if (m_points.size() >= 2) m_points[1] = point;
}

void CSketchObject::AddSketchPoint(const CExactPoint& point)
{
    ContinueSketch(point);
}

BOOL CSketchObject::FinishSketch()
{
    // A click without a drag leaves nothing to keep.
    return m_points.size() >= 2 && m_points[0] != m_points[1];
}

BOOL CSketchObject::LoadPoints(const std::vector<CExactPoint>& points)
{
    if (points.size() < 2) return FALSE;
    m_points.assign(points.begin(), points.begin() + 2);
    return TRUE;
}
