// Thinning of a polyline for output whose resolution is finer than its
// points need: a printed trace does not change for points that lie closer to
// the line between their neighbours than a printer dot.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/base/WinTypes.h"

namespace platform {
namespace gdi {

// Appends to `out` a subset of `points` (the first and the last always among
// them, in order) such that every point left out lies within `tolerance` of
// the segment that replaces it. One pass, linear in `count`.
void ThinPolyline(const POINT* points, size_t count, double tolerance, std::vector<POINT>* out);

}  // namespace gdi
}  // namespace platform
