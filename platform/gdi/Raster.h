// Pixel-level GDI: mixing a pen with the screen (the 16 ROP2 modes), the 256
// ternary raster operations of PatBlt and BitBlt, hatch patterns, and the
// aliased one-pixel lines GDI draws with cosmetic pens. Everything works on
// 32-bit xRGB pixels (cairo's RGB24), so the results are exact and the same
// on every machine.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <utility>
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

// The 8 x 8 hatch pattern bit at pattern position (x, y), counted from the
// brush origin; true where the hatch colour goes.
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
    UINT style = BS_NULL;         // BS_SOLID, BS_HATCHED, BS_PATTERN or BS_NULL
    uint32_t color = 0;           // pixel value
    int hatch = 0;
    unsigned char bits[8] = {};   // BS_PATTERN rows, bit 0x80 the left pixel
    bool opaqueGaps = false;      // hatch and pattern gaps take gapColor (hatches: background mode OPAQUE)
    uint32_t gapColor = 0;
    POINT origin = {0, 0};        // device pixel where the pattern starts

    bool IsNull() const { return style == BS_NULL; }
    bool IsSolid() const { return style == BS_SOLID; }
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
    // The on/off lengths in pixels (an even count); empty for solid.
    static std::vector<int> CosmeticDashes(int penStyle, const std::vector<DWORD>& userStyle);

    bool IsSolid() const { return m_dashes.empty(); }
    // Whether the next pixel is in a dash; advances one pixel.
    bool Next();
    // Moves on `pixels` without drawing them (steps a line walk skipped).
    void Advance(long long pixels);

private:
    std::vector<int> m_dashes;
    size_t m_index = 0;
    int m_used = 0;
};

// Walks the pixels of an aliased line from `from` towards `to`, the end point
// excluded as GDI does, calling plot(x, y) for each. Lines are walked from
// their first point, so a line and its reverse may differ by the tie-break
// on odd slopes, as in GDI. Only the stretch of the line whose major
// coordinate lies within `limit` is walked, so a line with absurd end points
// costs no more than one across `limit`; skipped(n) hears how many steps
// were passed over before the first one plotted (a dash pattern keeps its
// phase through them).
template <class Plot, class Skip>
void WalkLine(POINT from, POINT to, const RECT& limit, Plot&& plot, Skip&& skipped)
{
    const long long x0 = from.x, y0 = from.y;
    const long long dx = std::llabs((long long)to.x - x0), dy = std::llabs((long long)to.y - y0);
    const long long sx = to.x >= from.x ? 1 : -1, sy = to.y >= from.y ? 1 : -1;
    const bool xMajor = dx >= dy;
    // Along the major axis: `major` steps, `minor` the other extent; the
    // minor coordinate moves when the error term passes zero (at zero only
    // when walking towards smaller coordinates).
    const long long major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const long long m0 = xMajor ? x0 : y0, ms = xMajor ? sx : sy;
    const long long lo = xMajor ? limit.left : limit.top, hi = xMajor ? limit.right : limit.bottom;
    long long first = ms > 0 ? lo - m0 : m0 - hi + 1;
    long long last = ms > 0 ? hi - m0 : m0 - lo + 1;   // exclusive
    first = std::max(0LL, first);
    last = std::min(major, last);
    if (first >= last) return;
    const long long tie = ms < 0 ? 0 : 1;
    // Minor steps taken before step `first`, and the error term there.
    const long long taken = (2 * first * minor + major - tie) / (2 * major);
    long long err = 2 * minor - major + 2 * first * minor - 2 * taken * major;
    long long m = m0 + ms * first;
    long long n = (xMajor ? y0 : x0) + (xMajor ? sy : sx) * taken;
    const long long ns = xMajor ? sy : sx;
    skipped(first);
    for (long long i = first; i < last; ++i) {
        if (xMajor) plot((int)m, (int)n);
        else plot((int)n, (int)m);
        if (err > 0 || (err == 0 && ms < 0)) {
            n += ns;
            err -= 2 * major;
        }
        err += 2 * minor;
        m += ms;
    }
}

// The whole line, however long.
void WalkLine(POINT from, POINT to, const std::function<void(int, int)>& plot);

// A rectangle with its corners in order.
inline RECT Normalized(RECT rc)
{
    if (rc.left > rc.right) std::swap(rc.left, rc.right);
    if (rc.top > rc.bottom) std::swap(rc.top, rc.bottom);
    return rc;
}

// The rectangle shared by a and b (possibly empty).
RECT Intersect(const RECT& a, const RECT& b);
inline bool IsEmpty(const RECT& rc)
{
    return rc.left >= rc.right || rc.top >= rc.bottom;
}

}  // namespace gdi
}  // namespace platform
