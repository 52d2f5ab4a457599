#include "platform/gdi/ThinPolyline.h"

#include <cmath>

namespace platform {
namespace gdi {

namespace {

struct Vec {
    double x, y;
};

double Cross(const Vec& a, const Vec& b)
{
    return a.x * b.y - a.y * b.x;
}

// The directions from an anchor in which a segment may end and still pass
// within the tolerance of every point seen since the anchor: the
// intersection of one narrow cone per point, kept as its two edges.
class Sleeve {
public:
    explicit Sleeve(double tolerance) : m_tolerance(tolerance) {}

    bool Admits(const Vec& v) const
    {
        if (m_empty) return false;
        return !m_open || (Cross(m_right, v) >= 0.0 && Cross(v, m_left) >= 0.0);
    }

    // Narrows the cone to the directions passing within the tolerance of
    // `v`, which lies farther than the tolerance from the anchor.
    void Narrow(const Vec& v, double distance)
    {
        const double s = m_tolerance / distance, c = std::sqrt(1.0 - s * s);
        const Vec u = {v.x / distance, v.y / distance};
        const Vec left = {u.x * c - u.y * s, u.x * s + u.y * c};
        const Vec right = {u.x * c + u.y * s, -u.x * s + u.y * c};
        if (!m_open) {
            m_left = left;
            m_right = right;
            m_open = true;
            return;
        }
        if (Cross(m_left, left) < 0.0) m_left = left;
        if (Cross(m_right, right) > 0.0) m_right = right;
        m_empty = Cross(m_right, m_left) < 0.0;
    }

private:
    double m_tolerance;
    bool m_open = false;    // false until a point lies beyond the tolerance
    bool m_empty = false;
    Vec m_left = {0, 0}, m_right = {0, 0};
};

// The farthest point after `anchor` that can end a segment from it: its
// direction passes within the tolerance of every point between, and none of
// those lies farther from the anchor than it does (so none lies beyond its
// end).
size_t SegmentEnd(const POINT* points, size_t count, size_t anchor, double tolerance)
{
    const POINT& a = points[anchor];
    Sleeve sleeve(tolerance);
    double reach = 0.0;   // squared distance of the farthest point so far
    size_t end = anchor + 1;
    for (size_t j = anchor + 1; j < count; ++j) {
        const Vec v = {(double)points[j].x - a.x, (double)points[j].y - a.y};
        const double squared = v.x * v.x + v.y * v.y;
        if (squared < reach || !sleeve.Admits(v)) break;
        end = j;
        reach = squared;
        if (squared > tolerance * tolerance) sleeve.Narrow(v, std::sqrt(squared));
    }
    return end;
}

}  // namespace

void ThinPolyline(const POINT* points, size_t count, double tolerance, std::vector<POINT>* out)
{
    if (count == 0) return;
    out->push_back(points[0]);
    for (size_t anchor = 0; anchor + 1 < count;) {
        anchor = SegmentEnd(points, count, anchor, tolerance);
        out->push_back(points[anchor]);
    }
}

}  // namespace gdi
}  // namespace platform
