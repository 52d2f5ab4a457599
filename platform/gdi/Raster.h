// Pixel-level GDI: mixing a pen with the screen (the 16 ROP2 modes), the 256
// ternary raster operations of PatBlt and BitBlt, hatch patterns, and the
// aliased one-pixel lines GDI draws with cosmetic pens. Everything works on
// 32-bit xRGB pixels (cairo's RGB24), so the results are exact and the same
// on every machine.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"

namespace platform {
namespace gdi {

const uint32_t kPixelMask = 0x00FFFFFF;
const uint32_t kWhitePixel = 0x00FFFFFF;
const uint32_t kBlackPixel = 0x00000000;

// COLORREF is 0x00BBGGRR; the surface holds 0x00RRGGBB. PALETTEINDEX and
// PALETTERGB flags are dropped: there is no palette.
inline uint32_t ToPixel(COLORREF color)
{
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

inline COLORREF ToColorRef(uint32_t pixel)
{
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}

// A monochrome bitmap has only black and white; a colour goes to the nearer.
uint32_t QuantizeMono(uint32_t pixel);

// The mix of pen (or brush) and destination for R2_BLACK..R2_WHITE. An
// out-of-range mode leaves the destination alone.
uint32_t MixRop2(int rop2, uint32_t pen, uint32_t dst);

// A ternary raster operation: the high byte of the low word of `rop` (its
// index) is the truth table over pattern, source and destination bits.
uint32_t MixRop3(DWORD rop, uint32_t pat, uint32_t src, uint32_t dst);
bool Rop3UsesSource(DWORD rop);
bool Rop3UsesPattern(DWORD rop);

// The 8 x 8 hatch pattern bit at device pixel (x, y); true where the hatch
// colour goes. Patterns are anchored at the device origin.
bool HatchBit(int hatch, int x, int y);

// A view on the pixels of a cairo image surface (RGB24). Writes must be
// followed by Commit() so cairo sees them.
class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(cairo_surface_t* surface, bool mono);

    bool IsValid() const { return m_data != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsMono() const { return m_mono; }
    uint32_t* Row(int y) const { return m_data + (size_t)y * m_stride; }
    uint32_t Get(int x, int y) const { return Row(y)[x] & kPixelMask; }
    void Put(int x, int y, uint32_t pixel) const { Row(y)[x] = m_mono ? QuantizeMono(pixel) : (pixel & kPixelMask); }
    void Commit() const;

private:
    cairo_surface_t* m_surface = nullptr;
    uint32_t* m_data = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;             // in pixels, not bytes
    bool m_mono = false;          // writes are forced to black or white
};

// A brush as drawing needs it: what goes at a pixel, or nothing there.
struct BrushPattern {
    UINT style = BS_NULL;         // BS_SOLID, BS_HATCHED or BS_NULL
    uint32_t color = 0;           // pixel value
    int hatch = 0;
    bool opaqueGaps = false;      // hatch gaps take gapColor (background mode OPAQUE)
    uint32_t gapColor = 0;

    bool IsNull() const { return style == BS_NULL; }
    // False where the pattern leaves the destination as it is.
    bool At(int x, int y, uint32_t& pixel) const;
};

// The dash pattern of a cosmetic pen in pixels, on/off alternating, with the
// style position carried from one segment to the next.
class LineStyle {
public:
    LineStyle() = default;             // solid
    explicit LineStyle(std::vector<int> dashes) : m_dashes(std::move(dashes)) {}
    static LineStyle ForPen(int penStyle, const std::vector<DWORD>& userStyle);

    bool IsSolid() const { return m_dashes.empty(); }
    // Whether the next pixel is in a dash; advances one pixel.
    bool Next();

private:
    std::vector<int> m_dashes;
    size_t m_index = 0;
    int m_used = 0;
};

// Walks the pixels of an aliased line from `from` towards `to`, the end point
// excluded as GDI does, calling plot(x, y) for each. Lines are walked from
// their first point, so a line and its reverse may differ by the tie-break
// on odd slopes, as in GDI.
void WalkLine(POINT from, POINT to, const std::function<void(int, int)>& plot);

// The rectangle shared by a and b (possibly empty).
RECT Intersect(const RECT& a, const RECT& b);
inline bool IsEmpty(const RECT& rc)
{
    return rc.left >= rc.right || rc.top >= rc.bottom;
}

}  // namespace gdi
}  // namespace platform
