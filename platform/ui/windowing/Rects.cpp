#include "platform/ui/windowing/Rects.h"

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

}  // namespace platform::ui
