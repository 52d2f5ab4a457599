// The seam between a DC and what it draws on. The DC does the GDI part
// (logical to device coordinates, current position, which pen and brush,
// clipping, text placement) and hands the driver device pixels and resolved
// attributes. Drivers: CairoDriver (a 32-bit image: screens, memory DCs,
// PNG output), RecordingDriver (keeps the calls, for tests), and later a
// cairo PDF driver for printing, which is why primitives reach the driver as
// shapes and not as pixels.
#pragma once

#include <pango/pango.h>

#include <string>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Raster.h"

namespace platform {
namespace gdi {

struct RealizedFont;

// The DC attributes a primitive needs, resolved to device terms.
struct DrawAttributes {
    RECT clip = {0, 0, 0, 0};     // device pixels, already within the surface; empty draws nothing
    int rop2 = R2_COPYPEN;
    int bkMode = OPAQUE;
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
};

struct DevicePen {
    int style = PS_SOLID;         // PS_SOLID .. PS_ALTERNATE
    DWORD endCap = PS_ENDCAP_ROUND;
    DWORD join = PS_JOIN_ROUND;
    bool geometric = false;       // geometric pens are drawn as shapes, cosmetic ones pixel by pixel
    int width = 1;                // device pixels, at least 1
    COLORREF color = 0;
    std::vector<DWORD> userStyle;

    bool IsNull() const { return style == PS_NULL; }
    // One-pixel lines go through the exact pixel walk; wider ones through cairo.
    bool IsThin() const { return width <= 1; }
};

struct DeviceBrush {
    UINT style = BS_NULL;         // BS_SOLID, BS_HATCHED or BS_NULL
    COLORREF color = 0;
    int hatch = 0;

    bool IsNull() const { return style == BS_NULL; }
};

// A line of text ready to draw: the layout is made by TextLayout in device
// pixels, with its baseline placed at `baseline`.
struct TextRun {
    PangoLayout* layout = nullptr;
    const RealizedFont* font = nullptr;
    std::wstring text;
    POINT baseline = {0, 0};      // device pixels: left end of the baseline
    RECT cell = {0, 0, 0, 0};     // the text's character cell, device pixels
    RECT opaque = {0, 0, 0, 0};   // filled with the background colour first; empty for none
    RECT clip = {0, 0, 0, 0};     // ETO_CLIPPED rectangle, device pixels; empty for none
    bool clipped = false;
    COLORREF color = 0;
};

class Driver {
public:
    virtual ~Driver() = default;

    // The surface size in device pixels.
    virtual SIZE Size() const = 0;
    // The pixels when the driver has them (image surfaces); an invalid buffer
    // otherwise, which makes it unusable as a BitBlt source.
    virtual PixelBuffer Pixels() { return PixelBuffer(); }
    // A monochrome surface (the 1 x 1 bitmap of a fresh memory DC, CreateBitmap(.., 1, ..)).
    virtual bool IsMono() const { return false; }

    // Fills `rect` combining pattern and destination with the ternary `rop`
    // (PatBlt, FillRect).
    virtual void PatBlt(const RECT& rect, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr) = 0;
    // Connected segments through `points`; the last point is not painted.
    virtual void Polyline(const POINT* points, int count, const DevicePen& pen, const DrawAttributes& attr) = 0;
    // GDI's Rectangle: `rect` is already normalised, right and bottom exclusive.
    virtual void Rectangle(const RECT& rect, const DevicePen& pen, const DeviceBrush& brush,
                           const DrawAttributes& attr) = 0;
    // Returns the colour actually set, CLR_INVALID outside the clip.
    virtual COLORREF SetPixel(POINT point, COLORREF color, const DrawAttributes& attr) = 0;
    virtual COLORREF GetPixel(POINT point) = 0;
    // Copies from `source` (pixels of another surface, or this one) into
    // `dest`, with the ternary `rop`; sourceBk is the source DC's background
    // colour, which decides the white pixels when colour turns monochrome.
    virtual bool BitBlt(const RECT& dest, const PixelBuffer& source, POINT sourceOrigin, COLORREF sourceBk,
                        const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr) = 0;
    virtual void Text(const TextRun& run, const DrawAttributes& attr) = 0;
    // Composites an ARGB32 (premultiplied) image scaled into `dest`.
    virtual void DrawImage(const RECT& dest, cairo_surface_t* image, const DrawAttributes& attr) = 0;
};

}  // namespace gdi
}  // namespace platform
