// The image driver: draws into a cairo image surface (32-bit RGB) the way a
// display driver does. Raster operations are done on the pixels themselves,
// so every ROP2 mode and ternary raster operation is exact; cairo only
// supplies the coverage of shapes GDI does not draw pixel by pixel (wide
// pens, polygon interiors, text), aliased for pens and fills and
// grey-antialiased for text.
#pragma once

#include <cairo.h>

#include <functional>

#include "platform/gdi/Driver.h"

namespace platform {
namespace gdi {

class ShapeMask;

class CairoDriver : public Driver {
public:
    // Takes a reference on `surface` (CAIRO_FORMAT_RGB24). A monochrome
    // driver forces every pixel it writes to black or white.
    CairoDriver(cairo_surface_t* surface, bool mono);
    ~CairoDriver() override;
    CairoDriver(const CairoDriver&) = delete;
    CairoDriver& operator=(const CairoDriver&) = delete;

    SIZE Size() const override;
    PixelBuffer Pixels() override { return PixelBuffer(m_surface, m_mono); }
    bool IsMono() const override { return m_mono; }
    cairo_surface_t* Surface() const { return m_surface; }

    void PatBlt(const RECT& rect, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr) override;
    void Polyline(const POINT* points, int count, const DevicePen& pen, const DrawAttributes& attr) override;
    void Rectangle(const RECT& rect, const DevicePen& pen, const DeviceBrush& brush, const DrawAttributes& attr) override;
    void Shape(const ShapeSpec& shape, const DevicePen& pen, const DeviceBrush& brush,
               const DrawAttributes& attr) override;
    COLORREF SetPixel(POINT point, COLORREF color, const DrawAttributes& attr) override;
    COLORREF GetPixel(POINT point) override;
    bool BitBlt(const RECT& dest, const PixelBuffer& source, POINT sourceOrigin, COLORREF sourceBk,
                const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr) override;
    bool StretchBlt(const RECT& dest, const PixelBuffer& source, const RECT& sourceRect, int stretchMode,
                    COLORREF sourceBk, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr) override;
    void Text(const TextRun& run, const DrawAttributes& attr) override;
    void DrawImage(const RECT& dest, cairo_surface_t* image, const DrawAttributes& attr) override;

private:
    uint32_t DevicePixel(COLORREF color) const;
    BrushPattern Pattern(const DeviceBrush& brush, const DrawAttributes& attr) const;
    // Fills the clipped parts of `rect`, each pixel combined once with `mix`.
    void FillArea(const RECT& rect, const DrawAttributes& attr,
                  const std::function<uint32_t(int x, int y, uint32_t dst, bool& skip)>& mix);
    void FillWithRop2(const RECT& rect, const DeviceBrush& brush, const DrawAttributes& attr);
    void ThinPolyline(const POINT* points, int count, const DevicePen& pen, const DrawAttributes& attr);
    // The pixels of a closed outline into `mask`: one-pixel pens walked as
    // GDI walks lines, wide ones stroked by cairo around `trace`.
    void MarkOutline(ShapeMask& mask, const DevicePen& pen, const std::function<void(cairo_t*)>& trace);
    // Mixes the pen, gap and brush colours into the pixels `mask` marks.
    void ApplyMask(const ShapeMask& mask, const DevicePen& pen, const DeviceBrush& brush, const DrawAttributes& attr);
    // Strokes the path `trace` makes with the pen's width, caps, joins and
    // dashes into an aliased coverage mask over `bounds`, then mixes the pen
    // colour in with ROP2 where the mask is set.
    void StrokeShape(const RECT& bounds, const DevicePen& pen, const DrawAttributes& attr,
                     const std::function<void(cairo_t*)>& trace);
    // Runs `paint` on an A8 mask over `area` and applies the coverage with `apply`.
    void WithMask(const RECT& area, const std::function<void(cairo_t*)>& paint,
                  const std::function<void(int x, int y, uint8_t coverage)>& apply);

    cairo_surface_t* m_surface;
    bool m_mono;                  // the surface stands for a 1-bit bitmap
};

}  // namespace gdi
}  // namespace platform
