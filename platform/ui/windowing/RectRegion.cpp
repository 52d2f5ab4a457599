#include "platform/ui/windowing/RectRegion.h"

#include <algorithm>

namespace platform::ui {

bool IsEmptyRect(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

RECT IntersectRects(const RECT& a, const RECT& b)
{
    RECT result = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
    if (IsEmptyRect(result)) return RECT{0, 0, 0, 0};
    return result;
}

bool RectContains(const RECT& rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

namespace {

// The parts of `piece` outside `hole`, appended to `out`.
void AppendDifference(const RECT& piece, const RECT& hole, std::vector<RECT>& out)
{
    const RECT overlap = IntersectRects(piece, hole);
    if (IsEmptyRect(overlap)) {
        out.push_back(piece);
        return;
    }
    if (piece.top < overlap.top) out.push_back(RECT{piece.left, piece.top, piece.right, overlap.top});
    if (overlap.bottom < piece.bottom) out.push_back(RECT{piece.left, overlap.bottom, piece.right, piece.bottom});
    if (piece.left < overlap.left) out.push_back(RECT{piece.left, overlap.top, overlap.left, overlap.bottom});
    if (overlap.right < piece.right) out.push_back(RECT{overlap.right, overlap.top, piece.right, overlap.bottom});
}

}  // namespace

RECT RectRegion::Bounds() const
{
    if (m_rects.empty()) return RECT{0, 0, 0, 0};
    RECT bounds = m_rects.front();
    for (const RECT& rect : m_rects) {
        bounds.left = std::min(bounds.left, rect.left);
        bounds.top = std::min(bounds.top, rect.top);
        bounds.right = std::max(bounds.right, rect.right);
        bounds.bottom = std::max(bounds.bottom, rect.bottom);
    }
    return bounds;
}

bool RectRegion::Contains(POINT point) const
{
    return std::any_of(m_rects.begin(), m_rects.end(), [&](const RECT& rect) { return RectContains(rect, point); });
}

bool RectRegion::Intersects(const RECT& rect) const
{
    return std::any_of(m_rects.begin(), m_rects.end(),
                       [&](const RECT& own) { return !IsEmptyRect(IntersectRects(own, rect)); });
}

void RectRegion::Union(const RECT& rect)
{
    if (IsEmptyRect(rect)) return;
    // Only the parts not yet covered are added, so the rectangles stay disjoint.
    std::vector<RECT> pieces = {rect};
    for (const RECT& own : m_rects) {
        std::vector<RECT> rest;
        for (const RECT& piece : pieces) AppendDifference(piece, own, rest);
        pieces.swap(rest);
        if (pieces.empty()) return;
    }
    m_rects.insert(m_rects.end(), pieces.begin(), pieces.end());
    if (m_rects.size() > kMaxRects) m_rects = {Bounds()};
}

void RectRegion::Subtract(const RECT& rect)
{
    if (IsEmptyRect(rect) || m_rects.empty()) return;
    std::vector<RECT> rest;
    for (const RECT& own : m_rects) AppendDifference(own, rect, rest);
    m_rects.swap(rest);
    if (m_rects.size() > kMaxRects) m_rects = {Bounds()};
}

void RectRegion::Intersect(const RECT& rect)
{
    std::vector<RECT> kept;
    for (const RECT& own : m_rects) {
        const RECT overlap = IntersectRects(own, rect);
        if (!IsEmptyRect(overlap)) kept.push_back(overlap);
    }
    m_rects.swap(kept);
}

void RectRegion::Offset(int dx, int dy)
{
    for (RECT& rect : m_rects) {
        rect.left += dx;
        rect.right += dx;
        rect.top += dy;
        rect.bottom += dy;
    }
}

}  // namespace platform::ui
