// A region made of non-overlapping rectangles: the update region of a
// window. Invalidation only needs union, subtraction, clipping and the
// bounds; a region that fragments beyond kMaxRects collapses to its bounds,
// which is safe because painting more than asked never loses a pixel.
#pragma once

#include <vector>

#include "platform/base/WinTypes.h"

namespace platform::ui {

class RectRegion {
public:
    static constexpr size_t kMaxRects = 64;

    bool IsEmpty() const { return m_rects.empty(); }
    const std::vector<RECT>& Rects() const { return m_rects; }
    // The smallest rectangle holding the region; empty (0,0,0,0) for an empty region.
    RECT Bounds() const;
    bool Contains(POINT point) const;
    bool Intersects(const RECT& rect) const;

    void Clear() { m_rects.clear(); }
    void Union(const RECT& rect);
    void Subtract(const RECT& rect);
    void Intersect(const RECT& rect);
    void Offset(int dx, int dy);

private:
    std::vector<RECT> m_rects;   // pairwise disjoint, none empty
};

// Rectangle helpers shared by the window layer.
bool IsEmptyRect(const RECT& rect);
RECT IntersectRects(const RECT& a, const RECT& b);   // empty (0,0,0,0) when they do not meet
bool RectContains(const RECT& rect, POINT point);    // right and bottom edges excluded, as PtInRect

}  // namespace platform::ui
