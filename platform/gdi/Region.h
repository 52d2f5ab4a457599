// A region as GDI keeps one: a set of pixels stored as disjoint rectangles
// in y-x bands (rows of equal height, left to right, no two touching
// rectangles in a band). Combining works on any two regions; the result is
// always in band form, so equal pixel sets compare equal.
#pragma once

#include <vector>

#include "platform/base/WinTypes.h"

namespace platform {
namespace gdi {

class Region {
public:
    Region() = default;                 // empty
    explicit Region(const RECT& rect);  // corners in any order; an empty rectangle gives the empty region

    // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF of `a` and `b`; RGN_COPY gives `a`.
    static Region Combine(const Region& a, const Region& b, int mode);

    bool IsEmpty() const { return m_rects.empty(); }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Type() const;
    // The bounding box; all zero when empty.
    RECT Box() const;
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& rect) const;
    void Offset(int dx, int dy);
    const std::vector<RECT>& Rects() const { return m_rects; }

    // In place, a rectangle at a time, as an update region grows and
    // shrinks. Unlike the constructor these take a rectangle whose right or
    // bottom is not beyond its left or top as empty, as InvalidateRect does.
    void Clear() { m_rects.clear(); }
    void Union(const RECT& rect);
    void Subtract(const RECT& rect);
    void Intersect(const RECT& rect);

    bool operator==(const Region& other) const;
    bool operator!=(const Region& other) const { return !(*this == other); }

private:
    std::vector<RECT> m_rects;
};

}  // namespace gdi
}  // namespace platform
