#include "platform/gdi/Region.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/gdi/GdiTypes.h"

namespace platform {
namespace gdi {

namespace {

typedef std::pair<LONG, LONG> Span;   // [first, second) along x

bool Includes(int mode, bool inA, bool inB)
{
    switch (mode) {
    case RGN_AND: return inA && inB;
    case RGN_OR: return inA || inB;
    case RGN_XOR: return inA != inB;
    case RGN_DIFF: return inA && !inB;
    default: return inA;
    }
}

// The x spans of `rects` that cover the whole band [top, bottom).
std::vector<Span> SpansInBand(const std::vector<RECT>& rects, LONG top, LONG bottom)
{
    std::vector<Span> spans;
    for (const RECT& rc : rects)
        if (rc.top <= top && rc.bottom >= bottom) spans.emplace_back(rc.left, rc.right);
    return spans;
}

// Coordinates stay in range whatever offset a caller asks for.
LONG AddSaturated(LONG v, int d)
{
    const long long r = (long long)v + d;
    return (LONG)std::max<long long>(INT32_MIN, std::min<long long>(INT32_MAX, r));
}

bool Covered(const std::vector<Span>& spans, LONG x0, LONG x1)
{
    for (const Span& s : spans)
        if (s.first <= x0 && s.second >= x1) return true;
    return false;
}

// One band of the result: the elementary x intervals of both operands,
// kept where the mode says and joined where they touch.
std::vector<Span> CombineBand(const std::vector<Span>& a, const std::vector<Span>& b, int mode)
{
    std::vector<LONG> xs;
    for (const Span& s : a) xs.insert(xs.end(), {s.first, s.second});
    for (const Span& s : b) xs.insert(xs.end(), {s.first, s.second});
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::vector<Span> out;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        if (!Includes(mode, Covered(a, xs[i], xs[i + 1]), Covered(b, xs[i], xs[i + 1]))) continue;
        if (!out.empty() && out.back().second == xs[i]) out.back().second = xs[i + 1];
        else out.emplace_back(xs[i], xs[i + 1]);
    }
    return out;
}

}  // namespace

Region::Region(const RECT& rect)
{
    RECT rc = {std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
               std::max(rect.top, rect.bottom)};
    if (rc.left < rc.right && rc.top < rc.bottom) m_rects.push_back(rc);
}

Region Region::Combine(const Region& a, const Region& b, int mode)
{
    if (mode == RGN_COPY) return a;
    std::vector<LONG> ys;
    for (const RECT& rc : a.m_rects) ys.insert(ys.end(), {rc.top, rc.bottom});
    for (const RECT& rc : b.m_rects) ys.insert(ys.end(), {rc.top, rc.bottom});
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    Region result;
    std::vector<Span> previous;
    size_t previousStart = 0;   // index of the previous band's first rectangle
    LONG previousBottom = 0;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const LONG top = ys[i], bottom = ys[i + 1];
        std::vector<Span> spans =
            CombineBand(SpansInBand(a.m_rects, top, bottom), SpansInBand(b.m_rects, top, bottom), mode);
        if (spans.empty()) {
            previous.clear();
            continue;
        }
        // A band like the one right above it extends that one downwards.
        if (spans == previous && previousBottom == top) {
            for (size_t k = previousStart; k < result.m_rects.size(); ++k) result.m_rects[k].bottom = bottom;
            previousBottom = bottom;
            continue;
        }
        previousStart = result.m_rects.size();
        for (const Span& s : spans) result.m_rects.push_back(RECT{s.first, top, s.second, bottom});
        previous = std::move(spans);
        previousBottom = bottom;
    }
    return result;
}

int Region::Type() const
{
    if (m_rects.empty()) return NULLREGION;
    return m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT Region::Box() const
{
    if (m_rects.empty()) return RECT{0, 0, 0, 0};
    RECT box = m_rects.front();
    for (const RECT& rc : m_rects) {
        box.left = std::min(box.left, rc.left);
        box.top = std::min(box.top, rc.top);
        box.right = std::max(box.right, rc.right);
        box.bottom = std::max(box.bottom, rc.bottom);
    }
    return box;
}

bool Region::Contains(int x, int y) const
{
    for (const RECT& rc : m_rects)
        if (x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom) return true;
    return false;
}

bool Region::Intersects(const RECT& rect) const
{
    for (const RECT& rc : m_rects)
        if (std::max(rc.left, rect.left) < std::min(rc.right, rect.right) &&
            std::max(rc.top, rect.top) < std::min(rc.bottom, rect.bottom))
            return true;
    return false;
}

void Region::Offset(int dx, int dy)
{
    for (RECT& rc : m_rects) {
        rc.left = AddSaturated(rc.left, dx);
        rc.right = AddSaturated(rc.right, dx);
        rc.top = AddSaturated(rc.top, dy);
        rc.bottom = AddSaturated(rc.bottom, dy);
    }
    // Saturation may squash rectangles at the edge of the coordinate space.
    m_rects.erase(std::remove_if(m_rects.begin(), m_rects.end(),
                                 [](const RECT& rc) { return rc.left >= rc.right || rc.top >= rc.bottom; }),
                  m_rects.end());
}

namespace {

bool IsEmptyRect(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

}  // namespace

void Region::Union(const RECT& rect)
{
    if (!IsEmptyRect(rect)) *this = Combine(*this, Region(rect), RGN_OR);
}

void Region::Subtract(const RECT& rect)
{
    if (!IsEmptyRect(rect) && !IsEmpty()) *this = Combine(*this, Region(rect), RGN_DIFF);
}

void Region::Intersect(const RECT& rect)
{
    if (IsEmptyRect(rect)) Clear();
    else if (!IsEmpty()) *this = Combine(*this, Region(rect), RGN_AND);
}

bool Region::operator==(const Region& other) const
{
    if (m_rects.size() != other.m_rects.size()) return false;
    for (size_t i = 0; i < m_rects.size(); ++i) {
        const RECT& a = m_rects[i];
        const RECT& b = other.m_rects[i];
        if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) return false;
    }
    return true;
}

}  // namespace gdi
}  // namespace platform
