#include "platform/gdi/CairoDriver.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <vector>

namespace platform {
namespace gdi {

namespace {

const double kMiterLimit = 10.0;   // GDI's default miter limit

cairo_line_cap_t CairoCap(DWORD endCap)
{
    switch (endCap) {
    case PS_ENDCAP_SQUARE: return CAIRO_LINE_CAP_SQUARE;
    case PS_ENDCAP_FLAT: return CAIRO_LINE_CAP_BUTT;
    default: return CAIRO_LINE_CAP_ROUND;
    }
}

cairo_line_join_t CairoJoin(DWORD join)
{
    switch (join) {
    case PS_JOIN_BEVEL: return CAIRO_LINE_JOIN_BEVEL;
    case PS_JOIN_MITER: return CAIRO_LINE_JOIN_MITER;
    default: return CAIRO_LINE_JOIN_ROUND;
    }
}

// Dashes of geometric pens scale with the width; user styles are given in
// logical units already.
std::vector<double> GeometricDashes(const DevicePen& pen)
{
    const double w = pen.width;
    switch (pen.style) {
    case PS_DASH: return {3 * w, w};
    case PS_DOT: return {w, w};
    case PS_DASHDOT: return {3 * w, w, w, w};
    case PS_DASHDOTDOT: return {3 * w, w, w, w, w, w};
    case PS_USERSTYLE: {
        std::vector<double> dashes;
        for (DWORD d : pen.userStyle) dashes.push_back((double)d);
        return dashes;
    }
    default: return {};
    }
}

RECT BoundsOf(const POINT* points, int count, int margin)
{
    RECT r = {points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (int i = 1; i < count; ++i) {
        r.left = std::min(r.left, points[i].x);
        r.top = std::min(r.top, points[i].y);
        r.right = std::max(r.right, points[i].x + 1);
        r.bottom = std::max(r.bottom, points[i].y + 1);
    }
    r.left -= margin;
    r.top -= margin;
    r.right += margin;
    r.bottom += margin;
    return r;
}

bool Contains(const RECT& rc, int x, int y)
{
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

uint32_t Blend(uint32_t color, uint32_t dst, uint8_t alpha)
{
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t c = (color >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        out |= ((c * alpha + d * (255u - alpha) + 127u) / 255u) << shift;
    }
    return out;
}

}  // namespace

CairoDriver::CairoDriver(cairo_surface_t* surface, bool mono)
    : m_surface(cairo_surface_reference(surface)), m_mono(mono)
{
}

CairoDriver::~CairoDriver()
{
    cairo_surface_destroy(m_surface);
}

SIZE CairoDriver::Size() const
{
    SIZE size = {cairo_image_surface_get_width(m_surface), cairo_image_surface_get_height(m_surface)};
    return size;
}

uint32_t CairoDriver::DevicePixel(COLORREF color) const
{
    const uint32_t pixel = ToPixel(color);
    return m_mono ? QuantizeMono(pixel) : pixel;
}

BrushPattern CairoDriver::Pattern(const DeviceBrush& brush, const DrawAttributes& attr) const
{
    BrushPattern pattern;
    pattern.style = brush.style;
    pattern.color = DevicePixel(brush.color);
    pattern.hatch = brush.hatch;
    // Hatch gaps show the background colour only in OPAQUE mode.
    pattern.opaqueGaps = attr.bkMode == OPAQUE;
    pattern.gapColor = DevicePixel(attr.bkColor);
    return pattern;
}

void CairoDriver::PatBlt(const RECT& rect, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr)
{
    const RECT area = Intersect(rect, attr.clip);
    if (IsEmpty(area)) return;
    const BrushPattern pattern = Pattern(brush, attr);
    const bool usesPattern = Rop3UsesPattern(rop);
    if (usesPattern && pattern.IsNull()) return;   // a hollow brush paints nothing
    PixelBuffer px = Pixels();
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            uint32_t pat = 0;
            if (usesPattern && !pattern.At(x, y, pat)) continue;
            px.Put(x, y, MixRop3(rop, pat, 0, px.Get(x, y)));
        }
    }
    px.Commit();
}

void CairoDriver::FillWithRop2(const RECT& rect, const DeviceBrush& brush, const DrawAttributes& attr)
{
    const RECT area = Intersect(rect, attr.clip);
    if (IsEmpty(area) || brush.IsNull()) return;
    const BrushPattern pattern = Pattern(brush, attr);
    PixelBuffer px = Pixels();
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            uint32_t pat = 0;
            if (!pattern.At(x, y, pat)) continue;
            px.Put(x, y, MixRop2(attr.rop2, pat, px.Get(x, y)));
        }
    }
    px.Commit();
}

void CairoDriver::Polyline(const POINT* points, int count, const DevicePen& pen, const DrawAttributes& attr)
{
    if (!points || count < 2 || pen.IsNull() || IsEmpty(attr.clip)) return;
    if (pen.IsThin()) {
        ThinPolyline(points, count, pen, attr);
        return;
    }
    const RECT bounds = BoundsOf(points, count, pen.width + 2);
    StrokeShape(bounds, pen, attr, [&](cairo_t* cr) {
        cairo_move_to(cr, points[0].x + 0.5, points[0].y + 0.5);
        for (int i = 1; i < count; ++i) cairo_line_to(cr, points[i].x + 0.5, points[i].y + 0.5);
    });
}

void CairoDriver::ThinPolyline(const POINT* points, int count, const DevicePen& pen, const DrawAttributes& attr)
{
    PixelBuffer px = Pixels();
    const uint32_t color = DevicePixel(pen.color);
    const uint32_t gap = DevicePixel(attr.bkColor);
    LineStyle style = LineStyle::ForPen(pen.style, pen.userStyle);
    // Gaps of a styled cosmetic line take the background colour in OPAQUE mode.
    const bool paintGaps = !style.IsSolid() && attr.bkMode == OPAQUE;
    for (int i = 1; i < count; ++i) {
        WalkLine(points[i - 1], points[i], [&](int x, int y) {
            const bool on = style.Next();
            if (!Contains(attr.clip, x, y)) return;
            if (on) px.Put(x, y, MixRop2(attr.rop2, color, px.Get(x, y)));
            else if (paintGaps) px.Put(x, y, MixRop2(attr.rop2, gap, px.Get(x, y)));
        });
    }
    px.Commit();
}

void CairoDriver::Rectangle(const RECT& rect, const DevicePen& pen, const DeviceBrush& brush, const DrawAttributes& attr)
{
    // Without a pen the filled area loses its right column and bottom row, as in GDI.
    if (pen.IsNull()) {
        FillWithRop2({rect.left, rect.top, rect.right - 1, rect.bottom - 1}, brush, attr);
        return;
    }
    FillWithRop2({rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}, brush, attr);
    const int r = rect.right - 1, b = rect.bottom - 1;
    if (pen.IsThin()) {
        const POINT frame[5] = {{rect.left, rect.top}, {r, rect.top}, {r, b}, {rect.left, b}, {rect.left, rect.top}};
        ThinPolyline(frame, 5, pen, attr);
        return;
    }
    // A wide pen's frame is centred on the rectangle's edge pixels, except
    // PS_INSIDEFRAME, which keeps the whole pen inside the rectangle.
    double inset = 0.5;
    if (pen.style == PS_INSIDEFRAME) inset = pen.width / 2.0;
    const double x0 = rect.left + inset, y0 = rect.top + inset;
    const double x1 = rect.right - inset, y1 = rect.bottom - inset;
    RECT bounds = rect;
    bounds.left -= pen.width;
    bounds.top -= pen.width;
    bounds.right += pen.width;
    bounds.bottom += pen.width;
    StrokeShape(bounds, pen, attr, [&](cairo_t* cr) {
        if (pen.style == PS_INSIDEFRAME) {
            cairo_rectangle(cr, x0, y0, std::max(0.0, x1 - x0), std::max(0.0, y1 - y0));
            return;
        }
        cairo_rectangle(cr, x0, y0, std::max(0.0, (double)(r - rect.left)), std::max(0.0, (double)(b - rect.top)));
    });
}

void CairoDriver::StrokeShape(const RECT& bounds, const DevicePen& pen, const DrawAttributes& attr,
                              const std::function<void(cairo_t*)>& trace)
{
    const RECT area = Intersect(bounds, attr.clip);
    if (IsEmpty(area)) return;
    PixelBuffer px = Pixels();
    const uint32_t color = DevicePixel(pen.color);
    WithMask(
        area,
        [&](cairo_t* cr) {
            cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
            cairo_set_line_width(cr, pen.width);
            cairo_set_line_cap(cr, CairoCap(pen.endCap));
            cairo_set_line_join(cr, CairoJoin(pen.join));
            cairo_set_miter_limit(cr, kMiterLimit);
            const std::vector<double> dashes = GeometricDashes(pen);
            if (!dashes.empty()) cairo_set_dash(cr, dashes.data(), (int)dashes.size(), 0);
            trace(cr);
            cairo_stroke(cr);
        },
        [&](int x, int y, uint8_t coverage) {
            if (coverage < 128) return;
            px.Put(x, y, MixRop2(attr.rop2, color, px.Get(x, y)));
        });
    px.Commit();
}

void CairoDriver::WithMask(const RECT& area, const std::function<void(cairo_t*)>& paint,
                           const std::function<void(int x, int y, uint8_t coverage)>& apply)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(mask);
        return;
    }
    cairo_t* cr = cairo_create(mask);
    cairo_translate(cr, -area.left, -area.top);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(mask);
    const unsigned char* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = data + (size_t)y * stride;
        for (int x = 0; x < width; ++x) {
            if (row[x]) apply(area.left + x, area.top + y, row[x]);
        }
    }
    cairo_surface_destroy(mask);
}

COLORREF CairoDriver::SetPixel(POINT point, COLORREF color, const DrawAttributes& attr)
{
    if (!Contains(attr.clip, point.x, point.y)) return CLR_INVALID;
    PixelBuffer px = Pixels();
    const uint32_t pixel = DevicePixel(color);
    px.Put(point.x, point.y, pixel);
    px.Commit();
    return ToColorRef(pixel);
}

COLORREF CairoDriver::GetPixel(POINT point)
{
    const PixelBuffer px = Pixels();
    if (point.x < 0 || point.y < 0 || point.x >= px.Width() || point.y >= px.Height()) return CLR_INVALID;
    return ToColorRef(px.Get(point.x, point.y));
}

bool CairoDriver::BitBlt(const RECT& dest, const PixelBuffer& source, POINT sourceOrigin, COLORREF sourceBk,
                         const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr)
{
    const bool usesSource = Rop3UsesSource(rop);
    if (usesSource && !source.IsValid()) return false;
    RECT area = Intersect(dest, attr.clip);
    const int dx = sourceOrigin.x - dest.left, dy = sourceOrigin.y - dest.top;
    if (usesSource) {
        // Only what the source has can be copied.
        const RECT sourceBounds = {-dx, -dy, source.Width() - dx, source.Height() - dy};
        area = Intersect(area, sourceBounds);
    }
    if (IsEmpty(area)) return true;

    const int width = area.right - area.left, height = area.bottom - area.top;
    // Copy the source first: it may be this very surface, overlapping the destination.
    std::vector<uint32_t> copy;
    if (usesSource) {
        copy.resize((size_t)width * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) copy[(size_t)y * width + x] = source.Get(area.left + x + dx, area.top + y + dy);
    }
    // Colour to monochrome: the source's background colour becomes white, all
    // else black. Monochrome to colour: white becomes the destination's
    // background colour, black its text colour.
    const uint32_t sourceBkPixel = ToPixel(sourceBk);
    const uint32_t textPixel = DevicePixel(attr.textColor), bkPixel = DevicePixel(attr.bkColor);
    const bool toMono = m_mono && !source.IsMono(), fromMono = source.IsMono() && !m_mono;

    const BrushPattern pattern = Pattern(brush, attr);
    const bool usesPattern = Rop3UsesPattern(rop);
    if (usesPattern && pattern.IsNull()) return true;
    PixelBuffer px = Pixels();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int tx = area.left + x, ty = area.top + y;
            uint32_t src = usesSource ? copy[(size_t)y * width + x] : 0;
            if (usesSource && toMono) src = src == sourceBkPixel ? kWhitePixel : kBlackPixel;
            if (usesSource && fromMono) src = src == kWhitePixel ? bkPixel : textPixel;
            uint32_t pat = 0;
            if (usesPattern && !pattern.At(tx, ty, pat)) continue;
            px.Put(tx, ty, MixRop3(rop, pat, src, px.Get(tx, ty)));
        }
    }
    px.Commit();
    return true;
}

void CairoDriver::Text(const TextRun& run, const DrawAttributes& attr)
{
    PixelBuffer px = Pixels();
    const RECT opaque = Intersect(run.opaque, attr.clip);
    if (!IsEmpty(opaque)) {
        const uint32_t bk = DevicePixel(attr.bkColor);
        for (int y = opaque.top; y < opaque.bottom; ++y)
            for (int x = opaque.left; x < opaque.right; ++x) px.Put(x, y, bk);
        px.Commit();
    }
    if (!run.layout) return;
    PangoLayoutLine* line = pango_layout_get_line_readonly(run.layout, 0);
    if (!line) return;
    PangoRectangle ink;
    pango_layout_line_get_pixel_extents(line, &ink, nullptr);
    if (ink.width <= 0 || ink.height <= 0) return;
    // One pixel of margin for antialiased edges.
    const RECT inkBox = {run.baseline.x + ink.x - 1, run.baseline.y + ink.y - 1,
                         run.baseline.x + ink.x + ink.width + 1, run.baseline.y + ink.y + ink.height + 1};
    RECT area = Intersect(inkBox, attr.clip);
    if (run.clipped) area = Intersect(area, run.clip);
    if (IsEmpty(area)) return;
    const uint32_t color = DevicePixel(run.color);
    WithMask(
        area,
        [&](cairo_t* cr) {
            cairo_move_to(cr, run.baseline.x, run.baseline.y);
            pango_cairo_show_layout_line(cr, line);
        },
        [&](int x, int y, uint8_t coverage) {
            // A monochrome bitmap takes a glyph pixel or leaves it: no grey.
            if (m_mono) {
                if (coverage >= 128) px.Put(x, y, color);
                return;
            }
            px.Put(x, y, coverage == 255 ? color : Blend(color, px.Get(x, y), coverage));
        });
    px.Commit();
}

void CairoDriver::DrawImage(const RECT& dest, cairo_surface_t* image, const DrawAttributes& attr)
{
    const RECT area = Intersect(dest, attr.clip);
    if (IsEmpty(area) || !image) return;
    const int iw = cairo_image_surface_get_width(image), ih = cairo_image_surface_get_height(image);
    if (iw <= 0 || ih <= 0) return;
    cairo_surface_mark_dirty(m_surface);
    cairo_t* cr = cairo_create(m_surface);
    cairo_rectangle(cr, area.left, area.top, area.right - area.left, area.bottom - area.top);
    cairo_clip(cr);
    cairo_translate(cr, dest.left, dest.top);
    cairo_scale(cr, (double)(dest.right - dest.left) / iw, (double)(dest.bottom - dest.top) / ih);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(m_surface);
    if (!m_mono) return;
    PixelBuffer px = Pixels();
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) px.Put(x, y, px.Get(x, y));
    px.Commit();
}

}  // namespace gdi
}  // namespace platform
