#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace gdi {

uint32_t QuantizeMono(uint32_t pixel)
{
    const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    // Nearest of black and white by the usual luma weights.
    return (r * 299 + g * 587 + b * 114) >= 127500 ? kWhitePixel : kBlackPixel;
}

uint32_t MixRop2(int rop2, uint32_t pen, uint32_t dst)
{
    if (rop2 < R2_BLACK || rop2 > R2_LAST) return dst;
    // R2_x - 1 is a 4-bit truth table indexed by (pen bit << 1) | dst bit.
    const unsigned table = (unsigned)(rop2 - 1);
    uint32_t result = 0;
    if (table & 1) result |= ~pen & ~dst;
    if (table & 2) result |= ~pen & dst;
    if (table & 4) result |= pen & ~dst;
    if (table & 8) result |= pen & dst;
    return result & kPixelMask;
}

uint32_t MixRop3(DWORD rop, uint32_t pat, uint32_t src, uint32_t dst)
{
    const unsigned table = (rop >> 16) & 0xFF;
    switch (table) {
    case 0xCC: return src & kPixelMask;
    case 0xF0: return pat & kPixelMask;
    case 0x00: return kBlackPixel;
    case 0xFF: return kWhitePixel;
    default: break;
    }
    uint32_t result = 0;
    // Bit i of the table is the result for pattern bit (i & 4), source (i & 2), destination (i & 1).
    for (unsigned i = 0; i < 8; ++i) {
        if (!(table & (1u << i))) continue;
        const uint32_t p = (i & 4) ? pat : ~pat;
        const uint32_t s = (i & 2) ? src : ~src;
        const uint32_t d = (i & 1) ? dst : ~dst;
        result |= p & s & d;
    }
    return result & kPixelMask;
}

bool Rop3UsesSource(DWORD rop)
{
    const unsigned t = (rop >> 16) & 0xFF;
    // The source matters when swapping its bit changes the table.
    return ((t >> 2) & 0x33) != (t & 0x33);
}

bool Rop3UsesPattern(DWORD rop)
{
    const unsigned t = (rop >> 16) & 0xFF;
    return ((t >> 4) & 0x0F) != (t & 0x0F);
}

bool HatchBit(int hatch, int x, int y)
{
    const int cx = x & 7, cy = y & 7;
    // The display drivers' 8 x 8 hatches: the horizontal line on the fourth
    // row, the vertical one in the fifth column.
    switch (hatch) {
    case HS_HORIZONTAL: return cy == 3;
    case HS_VERTICAL: return cx == 4;
    case HS_FDIAGONAL: return cx == cy;                  // "\" descending left to right
    case HS_BDIAGONAL: return cx + cy == 7;              // "/" ascending left to right
    case HS_CROSS: return cx == 4 || cy == 3;
    case HS_DIAGCROSS: return cx == cy || cx + cy == 7;
    default: return false;
    }
}

PixelBuffer::PixelBuffer(cairo_surface_t* surface, bool mono) : m_surface(surface), m_mono(mono)
{
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return;
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_RGB24 &&
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return;
    cairo_surface_flush(surface);
    m_data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
    m_width = cairo_image_surface_get_width(surface);
    m_height = cairo_image_surface_get_height(surface);
    m_stride = cairo_image_surface_get_stride(surface) / 4;
}

void PixelBuffer::Commit() const
{
    if (m_surface) cairo_surface_mark_dirty(m_surface);
}

bool BrushPattern::At(int x, int y, uint32_t& pixel) const
{
    bool set = false;
    switch (style) {
    case BS_SOLID: pixel = color; return true;
    case BS_HATCHED: set = HatchBit(hatch, x - origin.x, y - origin.y); break;
    case BS_PATTERN: set = (bits[(y - origin.y) & 7] & (0x80 >> ((x - origin.x) & 7))) != 0; break;
    default: return false;
    }
    if (set) {
        pixel = color;
        return true;
    }
    if (!opaqueGaps) return false;
    pixel = gapColor;
    return true;
}

std::vector<int> LineStyle::CosmeticDashes(int penStyle, const std::vector<DWORD>& userStyle)
{
    // The cosmetic dash lengths of the display drivers, in pixels.
    switch (penStyle) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    case PS_ALTERNATE: return {1, 1};
    case PS_USERSTYLE: {
        std::vector<int> dashes;
        for (DWORD d : userStyle) dashes.push_back((int)std::min<DWORD>(d, 0xFFFF));
        if (dashes.size() % 2) dashes.insert(dashes.end(), dashes.begin(), dashes.end());
        bool any = false;
        for (int d : dashes) any = any || d > 0;
        if (!any) dashes.clear();
        return dashes;
    }
    default: return {};
    }
}

LineStyle LineStyle::ForPen(int penStyle, const std::vector<DWORD>& userStyle)
{
    return LineStyle(CosmeticDashes(penStyle, userStyle));
}

void LineStyle::Advance(long long pixels)
{
    if (m_dashes.empty() || pixels <= 0) return;
    long long period = 0;
    for (int d : m_dashes) period += d;
    pixels %= period;
    while (pixels-- > 0) Next();
}

bool LineStyle::Next()
{
    if (m_dashes.empty()) return true;
    while (m_used >= m_dashes[m_index]) {
        m_used = 0;
        m_index = (m_index + 1) % m_dashes.size();
    }
    ++m_used;
    return m_index % 2 == 0;
}

void WalkLine(POINT from, POINT to, const std::function<void(int, int)>& plot)
{
    const RECT everything = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    WalkLine(from, to, everything, plot, [](long long) {});
}

RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r;
    r.left = std::max(a.left, b.left);
    r.top = std::max(a.top, b.top);
    r.right = std::min(a.right, b.right);
    r.bottom = std::min(a.bottom, b.bottom);
    if (r.left >= r.right || r.top >= r.bottom) r = {0, 0, 0, 0};
    return r;
}

}  // namespace gdi
}  // namespace platform
