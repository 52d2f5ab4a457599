// The seam between a DC and what it draws on. The DC does the GDI part
// (logical to device coordinates, current position, which pen and brush,
// clipping, text placement) and hands the driver device pixels and resolved
// attributes. Drivers: CairoDriver (a 32-bit image: screens, memory DCs,
// PNG output), PdfDriver (vector pages for printing) and RecordingDriver
// (keeps the calls, for tests), which is why primitives reach the driver as
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
    std::vector<RECT> clipRects;  // the clip when it is not the whole of `clip`: disjoint pieces inside it; empty otherwise
    POINT brushOrigin = {0, 0};   // device pixel where brush patterns start: the DC's own origin
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

// The dash pattern of a geometric pen for cairo: the standard styles scale
// with the width, user styles are in logical units already; empty for solid.
std::vector<double> GeometricDashes(const DevicePen& pen);

struct DeviceBrush {
    UINT style = BS_NULL;         // BS_SOLID, BS_HATCHED, BS_PATTERN or BS_NULL
    COLORREF color = 0;
    int hatch = 0;
    BYTE pattern[8] = {};         // BS_PATTERN rows, top first, bit 0x80 the left pixel: set bits take `color`
    COLORREF patternBk = 0;       // BS_PATTERN: the colour of clear bits, whatever the background mode

    bool IsNull() const { return style == BS_NULL; }
};

// Whether drawing may touch pixel (x, y).
inline bool InClip(const DrawAttributes& attr, int x, int y)
{
    if (x < attr.clip.left || x >= attr.clip.right || y < attr.clip.top || y >= attr.clip.bottom) return false;
    if (attr.clipRects.empty()) return true;
    for (const RECT& rc : attr.clipRects)
        if (x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom) return true;
    return false;
}

// The parts of `area` drawing may touch, as disjoint rectangles.
std::vector<RECT> ClipPieces(const DrawAttributes& attr, const RECT& area);

// A closed figure: a polygon, or the ellipse or rounded rectangle inside a box.
struct ShapeSpec {
    enum class Kind { Polygon, Ellipse, RoundRect };
    Kind kind = Kind::Polygon;
    std::vector<POINT> points;    // Polygon vertices, device pixels; the figure closes itself
    int fillMode = ALTERNATE;     // Polygon: ALTERNATE (even-odd) or WINDING
    RECT box = {0, 0, 0, 0};      // Ellipse and RoundRect, normalised, right and bottom exclusive
    SIZE corner = {0, 0};         // RoundRect: width and height of the corner ellipses, within the box
};

// The path of a rounded rectangle (an ellipse when the corners are as big as
// the box) through the centres of the box's edge pixels, moved inwards by
// `inset` pixels (PS_INSIDEFRAME; negative moves out).
void TraceRoundRect(cairo_t* cr, const RECT& box, SIZE corner, double inset);

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
    // Polygon, Ellipse, RoundRect: filled with the brush, outlined with the
    // pen, each pixel mixed once (the pen wins where both would go).
    virtual void Shape(const ShapeSpec& shape, const DevicePen& pen, const DeviceBrush& brush,
                       const DrawAttributes& attr) = 0;
    // Returns the colour actually set, CLR_INVALID outside the clip.
    virtual COLORREF SetPixel(POINT point, COLORREF color, const DrawAttributes& attr) = 0;
    virtual COLORREF GetPixel(POINT point) = 0;
    // Copies from `source` (pixels of another surface, or this one) into
    // `dest`, with the ternary `rop`; sourceBk is the source DC's background
    // colour, which decides the white pixels when colour turns monochrome.
    virtual bool BitBlt(const RECT& dest, const PixelBuffer& source, POINT sourceOrigin, COLORREF sourceBk,
                        const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr) = 0;
    // BitBlt with scaling: `sourceRect` (surface pixels of `source`) is
    // stretched onto `dest`; either may have left > right or top > bottom,
    // which mirrors. `stretchMode` (BLACKONWHITE...) decides how pixels that
    // shrinking drops are merged.
    virtual bool StretchBlt(const RECT& dest, const PixelBuffer& source, const RECT& sourceRect, int stretchMode,
                            COLORREF sourceBk, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr) = 0;
    virtual void Text(const TextRun& run, const DrawAttributes& attr) = 0;
    // Composites an ARGB32 (premultiplied) image scaled into `dest`.
    virtual void DrawImage(const RECT& dest, cairo_surface_t* image, const DrawAttributes& attr) = 0;
};

}  // namespace gdi
}  // namespace platform
