// Rectangle helpers shared by the window layer. Regions are GDI's
// (platform/gdi/Region.h).
#pragma once

#include "platform/base/WinTypes.h"

namespace platform::ui {

bool IsEmptyRect(const RECT& rect);
RECT IntersectRects(const RECT& a, const RECT& b);   // empty (0,0,0,0) when they do not meet
bool RectContains(const RECT& rect, POINT point);    // right and bottom edges excluded, as PtInRect

}  // namespace platform::ui
