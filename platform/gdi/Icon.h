// Icons and cursors as small images with alpha. The windowing layer loads
// the module's icon and cursor resources through CreateIconFromPixels;
// DrawIcon/DrawIconEx composite them; DestroyIcon/DestroyCursor free them
// (DestroyIcon, GetIconInfo and the drawing calls are declared in Gdi.h).
#pragma once

#include <cstdint>

#include "platform/base/WinTypes.h"

namespace platform {
namespace gdi {

// An icon (or cursor) from `width` x `height` straight (not premultiplied)
// 0xAARRGGBB pixels, rows top-down. The hotspot is clamped into the image;
// an image whose hotspot is its centre reports itself as an icon, any other
// as a cursor. NULL for a size outside 1..256 or no pixels.
HICON CreateIconFromPixels(int width, int height, const uint32_t* argb, int hotX, int hotY);

// Size and hotspot without the bitmaps GetIconInfo makes; FALSE for a bad handle.
BOOL GetIconMetrics(HICON icon, SIZE* size, POINT* hotspot);

}  // namespace gdi
}  // namespace platform
