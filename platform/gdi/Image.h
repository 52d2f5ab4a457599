// DCs over images, for the host, the windowing layer and tests, and PNG
// output. An image DC behaves like a display DC (OBJ_DC, DT_RASDISPLAY,
// 96 dpi, no bitmap to select); its pixels are a cairo RGB24 surface.
#pragma once

#include <cairo.h>

#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/gdi/RecordingDriver.h"

namespace platform {
namespace gdi {

// A DC over a new white 32-bit image; NULL for a non-positive or huge size.
// Delete it with DeleteDC.
HDC CreateImageDC(int width, int height);

// A DC over a caller's RGB24 image surface (referenced, not copied): device
// (0, 0) is surface pixel `origin`, and drawing stays inside `visible`
// (surface pixels; null for the whole surface). The windowing layer gives
// each window such a DC on its top-level window's surface.
HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, const RECT* visible);

// The image behind an image, surface or memory DC (for memory DCs, the
// selected bitmap); null for other DCs. The DC keeps its reference.
cairo_surface_t* GetImageSurface(HDC hdc);

// Writes the DC's whole image (a memory DC: its selected bitmap) as PNG.
// Both path separators are accepted.
BOOL SaveImagePng(HDC hdc, const char* path);
BOOL SaveBitmapPng(HBITMAP bitmap, const char* path);
// The same for an image surface (RGB24 images as a palette PNG when they have
// at most 256 colours, at a fast compression level). The file is removed
// when it could not be written whole.
BOOL SaveSurfacePng(cairo_surface_t* surface, const char* path);

// A DC whose driver only records what is drawn (see RecordingDriver.h).
HDC CreateRecordingDC(int width, int height);
// The primitives recorded so far; empty for other DCs.
std::vector<DrawRecord> GetRecording(HDC hdc);
void ClearRecording(HDC hdc);

}  // namespace gdi
}  // namespace platform
