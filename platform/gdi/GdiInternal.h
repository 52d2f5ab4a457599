// Helpers shared by the files of the GDI layer; callers hold the GDI lock.
#pragma once

#include <utility>

#include <memory>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/HandleTable.h"
#include "platform/gdi/TextLayout.h"

namespace platform {
namespace gdi {

// The shared 1 x 1 monochrome bitmap every new memory DC starts with.
HBITMAP DefaultBitmap();

// A bitmap record with a white surface of the given size (1 or 32 bits per
// pixel in meaning; the storage is always 32-bit); null when the surface
// cannot be made.
std::unique_ptr<BitmapRecord> MakeBitmap(int width, int height, int bitsPixel);

// Puts a new DC into the table with the defaults of a fresh DC (black pen,
// white brush, the system font; memory DCs the default bitmap). Null when
// the table is full.
HDC InsertDC(std::unique_ptr<DeviceContext> dc);

// Points a memory DC's driver at its selected bitmap.
void BindSelectedBitmap(DeviceContext& dc);

// The selected objects resolved for drawing; a stale handle draws as null.
DevicePen ResolvePen(const DeviceContext& dc);
DeviceBrush ResolveBrush(HBRUSH brush);
const RealizedFont* ResolveFont(const DeviceContext& dc);

// The colour of a COLOR_x + 1 pseudo brush handle; false when `brush` is not
// one or no source is installed.
bool SystemColorBrush(HBRUSH brush, COLORREF& color);

}  // namespace gdi
}  // namespace platform
