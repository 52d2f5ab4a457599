#include "platform/gdi/CairoDriver.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
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

// The pixels a line from `from` to `to` has, its end point left out.
long long LineSteps(POINT from, POINT to)
{
    return std::max(std::llabs((long long)to.x - from.x), std::llabs((long long)to.y - from.y));
}

RECT Inflated(const RECT& rc, int by)
{
    return RECT{rc.left - by, rc.top - by, rc.right + by, rc.bottom + by};
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

// The pixel centres of a rounded rectangle (an ellipse when the corners are
// as big as the box): the box's edge pixels touch the curve, the corner
// ellipses have the given size.
bool InRoundRect(const RECT& box, SIZE corner, int x, int y)
{
    if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) return false;
    const double a = std::max(0, (int)corner.cx - 1) / 2.0, b = std::max(0, (int)corner.cy - 1) / 2.0;
    const double px = std::clamp((double)x, box.left + a, box.right - 1 - a);
    const double py = std::clamp((double)y, box.top + b, box.bottom - 1 - b);
    const double u = (x - px) / (a + 0.5), v = (y - py) / (b + 0.5);
    return u * u + v * v <= 1.0 + 1e-9;
}

void SetUpPen(cairo_t* cr, const DevicePen& pen)
{
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, pen.width);
    cairo_set_line_cap(cr, CairoCap(pen.endCap));
    cairo_set_line_join(cr, CairoJoin(pen.join));
    cairo_set_miter_limit(cr, kMiterLimit);
    const std::vector<double> dashes = GeometricDashes(pen);
    if (!dashes.empty()) cairo_set_dash(cr, dashes.data(), (int)dashes.size(), 0);
}

}  // namespace

// Which pixels of a shape take what, each pixel once: the outline wins over
// the fill, so a figure drawn twice in XOR mode leaves no trace.
class ShapeMask {
public:
    enum Mark : uint8_t { kNone, kFill, kGap, kPen };

    explicit ShapeMask(const RECT& bounds)
        : m_bounds(IsEmpty(bounds) ? RECT{0, 0, 0, 0} : bounds), m_width(m_bounds.right - m_bounds.left),
          m_cells((size_t)m_width * (m_bounds.bottom - m_bounds.top), kNone)
    {
    }

    const RECT& Bounds() const { return m_bounds; }
    bool Inside(int x, int y) const
    {
        return x >= m_bounds.left && x < m_bounds.right && y >= m_bounds.top && y < m_bounds.bottom;
    }
    void Set(int x, int y, uint8_t mark)
    {
        if (!Inside(x, y)) return;
        uint8_t& cell = m_cells[Index(x, y)];
        if (mark > cell) cell = mark;
    }
    void Clear(int x, int y)
    {
        if (Inside(x, y)) m_cells[Index(x, y)] = kNone;
    }
    uint8_t At(int x, int y) const { return Inside(x, y) ? m_cells[Index(x, y)] : (uint8_t)kNone; }

private:
    size_t Index(int x, int y) const { return (size_t)(y - m_bounds.top) * m_width + (x - m_bounds.left); }

    RECT m_bounds;
    int m_width;
    std::vector<uint8_t> m_cells;
};

void TraceRoundRect(cairo_t* cr, const RECT& box, SIZE corner, double inset)
{
    const double x0 = box.left + 0.5 + inset, y0 = box.top + 0.5 + inset;
    const double x1 = box.right - 0.5 - inset, y1 = box.bottom - 0.5 - inset;
    if (x1 < x0 || y1 < y0) return;
    const double rx = std::min((x1 - x0) / 2, std::max(0.0, (corner.cx - 1) / 2.0 - inset));
    const double ry = std::min((y1 - y0) / 2, std::max(0.0, (corner.cy - 1) / 2.0 - inset));
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
        return;
    }
    cairo_new_sub_path(cr);
    const double centres[4][2] = {{x1 - rx, y0 + ry}, {x1 - rx, y1 - ry}, {x0 + rx, y1 - ry}, {x0 + rx, y0 + ry}};
    for (int i = 0; i < 4; ++i) {
        cairo_save(cr);
        cairo_translate(cr, centres[i][0], centres[i][1]);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, (i - 1) * M_PI / 2, i * M_PI / 2);
        cairo_restore(cr);
    }
    cairo_close_path(cr);
}

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
        double total = 0;
        for (DWORD d : pen.userStyle) {
            dashes.push_back((double)d);
            total += d;
        }
        if (total <= 0) dashes.clear();   // all zero: cairo refuses it; GDI draws solid
        return dashes;
    }
    default: return {};
    }
}

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
    pattern.origin = attr.brushOrigin;
    if (brush.style == BS_PATTERN) {
        std::copy(brush.pattern, brush.pattern + 8, pattern.bits);
        pattern.opaqueGaps = true;
        pattern.gapColor = DevicePixel(brush.patternBk);
        return pattern;
    }
    // Hatch gaps show the background colour only in OPAQUE mode.
    pattern.opaqueGaps = attr.bkMode == OPAQUE;
    pattern.gapColor = DevicePixel(attr.bkColor);
    return pattern;
}

void CairoDriver::FillArea(const RECT& rect, const DrawAttributes& attr,
                           const std::function<uint32_t(int x, int y, uint32_t dst, bool& skip)>& mix)
{
    PixelBuffer px = Pixels();
    for (const RECT& piece : ClipPieces(attr, rect)) {
        for (int y = piece.top; y < piece.bottom; ++y) {
            uint32_t* row = px.Row(y);
            for (int x = piece.left; x < piece.right; ++x) {
                bool skip = false;
                const uint32_t value = mix(x, y, row[x] & kPixelMask, skip);
                if (!skip) px.Put(x, y, value);
            }
        }
    }
    px.Commit();
}

namespace {

// Solid fills that do not read the screen, row by row.
void FillSolid(PixelBuffer& px, const std::vector<RECT>& pieces, uint32_t value)
{
    for (const RECT& piece : pieces)
        for (int y = piece.top; y < piece.bottom; ++y) std::fill(px.Row(y) + piece.left, px.Row(y) + piece.right, value);
    px.Commit();
}

}  // namespace

void CairoDriver::PatBlt(const RECT& rect, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr)
{
    const BrushPattern pattern = Pattern(brush, attr);
    const bool usesPattern = Rop3UsesPattern(rop);
    if (usesPattern && pattern.IsNull()) return;   // a hollow brush paints nothing
    const unsigned table = (rop >> 16) & 0xFF;
    if (table == 0x00 || table == 0xFF || (table == 0xF0 && pattern.IsSolid())) {
        PixelBuffer px = Pixels();
        const uint32_t value = table == 0x00 ? kBlackPixel : table == 0xFF ? kWhitePixel : pattern.color;
        FillSolid(px, ClipPieces(attr, rect), m_mono ? QuantizeMono(value) : value);
        return;
    }
    FillArea(rect, attr, [&](int x, int y, uint32_t dst, bool& skip) {
        uint32_t pat = 0;
        if (usesPattern && !pattern.At(x, y, pat)) {
            skip = true;
            return dst;
        }
        return MixRop3(rop, pat, 0, dst);
    });
}

void CairoDriver::FillWithRop2(const RECT& rect, const DeviceBrush& brush, const DrawAttributes& attr)
{
    if (IsEmpty(rect) || brush.IsNull()) return;
    const BrushPattern pattern = Pattern(brush, attr);
    if (attr.rop2 == R2_COPYPEN && pattern.IsSolid()) {
        PixelBuffer px = Pixels();
        FillSolid(px, ClipPieces(attr, rect), pattern.color);
        return;
    }
    FillArea(rect, attr, [&](int x, int y, uint32_t dst, bool& skip) {
        uint32_t pat = 0;
        if (!pattern.At(x, y, pat)) {
            skip = true;
            return dst;
        }
        return MixRop2(attr.rop2, pat, dst);
    });
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
    const bool solid = style.IsSolid();
    // Gaps of a styled cosmetic line take the background colour in OPAQUE mode.
    const bool paintGaps = !solid && attr.bkMode == OPAQUE;
    const bool copy = attr.rop2 == R2_COPYPEN;
    for (int i = 1; i < count; ++i) {
        // Steps outside the clip box are passed over, and the dash pattern with them.
        long long seen = 0;
        WalkLine(
            points[i - 1], points[i], attr.clip,
            [&](int x, int y) {
                ++seen;
                const bool on = solid || style.Next();
                if (!InClip(attr, x, y)) return;
                if (on) px.Put(x, y, copy ? color : MixRop2(attr.rop2, color, px.Get(x, y)));
                else if (paintGaps) px.Put(x, y, MixRop2(attr.rop2, gap, px.Get(x, y)));
            },
            [&](long long skipped) {
                seen += skipped;
                style.Advance(skipped);
            });
        style.Advance(LineSteps(points[i - 1], points[i]) - seen);
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
    const int r = rect.right - 1, b = rect.bottom - 1;
    if (pen.IsThin()) {
        FillWithRop2({rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}, brush, attr);
        const POINT frame[5] = {{rect.left, rect.top}, {r, rect.top}, {r, b}, {rect.left, b}, {rect.left, rect.top}};
        ThinPolyline(frame, 5, pen, attr);
        return;
    }
    // A wide pen's frame is centred on the rectangle's edge pixels, except
    // PS_INSIDEFRAME, which keeps the whole pen inside the rectangle.
    ShapeMask mask(Intersect(Inflated(rect, pen.width), attr.clip));
    if (IsEmpty(mask.Bounds())) return;
    if (!brush.IsNull())
        for (int y = rect.top + 1; y < rect.bottom - 1; ++y)
            for (int x = rect.left + 1; x < rect.right - 1; ++x) mask.Set(x, y, ShapeMask::kFill);
    const double inset = pen.style == PS_INSIDEFRAME ? pen.width / 2.0 : 0.5;
    const double x0 = rect.left + inset, y0 = rect.top + inset;
    const double x1 = pen.style == PS_INSIDEFRAME ? rect.right - inset : r + 0.5;
    const double y1 = pen.style == PS_INSIDEFRAME ? rect.bottom - inset : b + 0.5;
    MarkOutline(mask, pen,
                [&](cairo_t* cr) { cairo_rectangle(cr, x0, y0, std::max(0.0, x1 - x0), std::max(0.0, y1 - y0)); });
    ApplyMask(mask, pen, brush, attr);
}

void CairoDriver::MarkOutline(ShapeMask& mask, const DevicePen& pen, const std::function<void(cairo_t*)>& trace)
{
    if (pen.IsNull()) return;
    DevicePen stroke = pen;
    if (pen.IsThin()) {
        // One-pixel styled outlines of curves: cosmetic dashes along the path.
        const LineStyle style = LineStyle::ForPen(pen.style, pen.userStyle);
        stroke.style = style.IsSolid() ? PS_SOLID : PS_USERSTYLE;
        stroke.userStyle.clear();
        if (!style.IsSolid()) {
            const std::vector<int> dashes = LineStyle::CosmeticDashes(pen.style, pen.userStyle);
            for (int d : dashes) stroke.userStyle.push_back((DWORD)d);
        }
        stroke.endCap = PS_ENDCAP_FLAT;
    }
    WithMask(
        mask.Bounds(),
        [&](cairo_t* cr) {
            SetUpPen(cr, stroke);
            trace(cr);
            cairo_stroke(cr);
        },
        [&](int x, int y, uint8_t coverage) {
            if (coverage >= 128) mask.Set(x, y, ShapeMask::kPen);
        });
}

void CairoDriver::ApplyMask(const ShapeMask& mask, const DevicePen& pen, const DeviceBrush& brush,
                            const DrawAttributes& attr)
{
    const RECT& area = mask.Bounds();
    if (IsEmpty(area)) return;
    const BrushPattern pattern = Pattern(brush, attr);
    const uint32_t penColor = DevicePixel(pen.color), gapColor = DevicePixel(attr.bkColor);
    PixelBuffer px = Pixels();
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const uint8_t mark = mask.At(x, y);
            if (mark == ShapeMask::kNone || !InClip(attr, x, y)) continue;
            uint32_t source = penColor;
            if (mark == ShapeMask::kGap) source = gapColor;
            if (mark == ShapeMask::kFill && !pattern.At(x, y, source)) continue;
            px.Put(x, y, MixRop2(attr.rop2, source, px.Get(x, y)));
        }
    }
    px.Commit();
}

void CairoDriver::Shape(const ShapeSpec& shape, const DevicePen& pen, const DeviceBrush& brush,
                        const DrawAttributes& attr)
{
    RECT bounds = shape.box;
    if (shape.kind == ShapeSpec::Kind::Polygon) {
        if (shape.points.size() < 2) return;
        bounds = BoundsOf(shape.points.data(), (int)shape.points.size(), 0);
    }
    ShapeMask mask(Intersect(Inflated(bounds, pen.IsNull() ? 1 : pen.width + 1), attr.clip));
    if (IsEmpty(mask.Bounds())) return;
    const RECT& area = mask.Bounds();

    if (shape.kind == ShapeSpec::Kind::Polygon) {
        // The interior: pixels whose centres lie inside the vertices' outline.
        if (!brush.IsNull()) {
            WithMask(
                area,
                [&](cairo_t* cr) {
                    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
                    cairo_set_fill_rule(cr, shape.fillMode == WINDING ? CAIRO_FILL_RULE_WINDING
                                                                      : CAIRO_FILL_RULE_EVEN_ODD);
                    for (const POINT& p : shape.points) cairo_line_to(cr, p.x, p.y);
                    cairo_close_path(cr);
                    cairo_fill(cr);
                },
                [&](int x, int y, uint8_t coverage) {
                    if (coverage >= 128) mask.Set(x, y, ShapeMask::kFill);
                });
        }
        if (pen.IsNull()) {
            ApplyMask(mask, pen, brush, attr);
            return;
        }
        if (pen.IsThin()) {
            // The outline as connected lines back to the first point, each corner once.
            LineStyle style = LineStyle::ForPen(pen.style, pen.userStyle);
            const bool paintGaps = !style.IsSolid() && attr.bkMode == OPAQUE;
            const size_t n = shape.points.size();
            for (size_t i = 0; i < n; ++i) {
                const POINT from = shape.points[i], to = shape.points[(i + 1) % n];
                long long seen = 0;
                WalkLine(
                    from, to, area,
                    [&](int x, int y) {
                        ++seen;
                        const bool on = style.Next();
                        if (on) mask.Set(x, y, ShapeMask::kPen);
                        else if (paintGaps) mask.Set(x, y, ShapeMask::kGap);
                        else mask.Clear(x, y);
                    },
                    [&](long long skipped) {
                        seen += skipped;
                        style.Advance(skipped);
                    });
                style.Advance(LineSteps(from, to) - seen);
            }
        } else {
            MarkOutline(mask, pen, [&](cairo_t* cr) {
                for (const POINT& p : shape.points) cairo_line_to(cr, p.x + 0.5, p.y + 0.5);
                cairo_close_path(cr);
            });
        }
        ApplyMask(mask, pen, brush, attr);
        return;
    }

    // Ellipses and rounded rectangles: a digital shape, its outline the
    // pixels next to the outside. Without a pen the fill loses the right
    // column and bottom row, as with Rectangle.
    const SIZE corner = shape.kind == ShapeSpec::Kind::Ellipse
                            ? SIZE{shape.box.right - shape.box.left, shape.box.bottom - shape.box.top}
                            : shape.corner;
    if (pen.IsNull()) {
        const RECT box = {shape.box.left, shape.box.top, shape.box.right - 1, shape.box.bottom - 1};
        const SIZE smaller = shape.kind == ShapeSpec::Kind::Ellipse ? SIZE{box.right - box.left, box.bottom - box.top}
                                                                     : corner;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (InRoundRect(box, smaller, x, y)) mask.Set(x, y, ShapeMask::kFill);
        ApplyMask(mask, pen, brush, attr);
        return;
    }
    const bool thinSolid = pen.IsThin() && LineStyle::ForPen(pen.style, pen.userStyle).IsSolid();
    // The shape once, one pixel wider all round, so each pixel's neighbours can be looked up.
    const int w = area.right - area.left + 2, h = area.bottom - area.top + 2;
    std::vector<uint8_t> inside((size_t)w * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            inside[(size_t)y * w + x] = InRoundRect(shape.box, corner, area.left + x - 1, area.top + y - 1);
    auto in = [&](int x, int y) { return inside[(size_t)(y - area.top + 1) * w + (x - area.left + 1)] != 0; };
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (!in(x, y)) continue;
            const bool edge = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
            if (edge && thinSolid) mask.Set(x, y, ShapeMask::kPen);
            else if ((!edge || !pen.IsThin()) && !brush.IsNull()) mask.Set(x, y, ShapeMask::kFill);
        }
    }
    if (thinSolid) {
        ApplyMask(mask, pen, brush, attr);
        return;
    }
    const double inset = pen.style == PS_INSIDEFRAME ? (pen.width - 1) / 2.0 : 0.0;
    MarkOutline(mask, pen, [&](cairo_t* cr) { TraceRoundRect(cr, shape.box, corner, inset); });
    ApplyMask(mask, pen, brush, attr);
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
            SetUpPen(cr, pen);
            trace(cr);
            cairo_stroke(cr);
        },
        [&](int x, int y, uint8_t coverage) {
            if (coverage < 128 || !InClip(attr, x, y)) return;
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
    if (!InClip(attr, point.x, point.y)) return CLR_INVALID;
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
    const RECT sourceRect = {sourceOrigin.x, sourceOrigin.y, sourceOrigin.x + (dest.right - dest.left),
                             sourceOrigin.y + (dest.bottom - dest.top)};
    return StretchBlt(dest, source, sourceRect, COLORONCOLOR, sourceBk, brush, rop, attr);
}

namespace {

// The source columns (or rows) that land on destination pixel `i` of
// `extent` when `sourceExtent` pixels are stretched onto it: [first, last).
// Shrinking in COLORONCOLOR mode keeps only the pixel at the centre.
void SourceSpan(long long i, long long extent, long long sourceExtent, bool mirror, bool centreOnly, long long& first,
                long long& last)
{
    if (centreOnly || sourceExtent <= extent) {
        first = ((2 * i + 1) * sourceExtent) / (2 * extent);
        last = first + 1;
    } else {
        first = (i * sourceExtent) / extent;
        last = std::max(first + 1, ((i + 1) * sourceExtent) / extent);
    }
    if (!mirror) return;
    const long long f = sourceExtent - last, l = sourceExtent - first;
    first = f;
    last = l;
}

// Merges the pixels shrinking drops as the stretching mode says.
struct SourceMerge {
    int mode;
    int count = 0;
    uint32_t value = 0;
    unsigned sum[3] = {0, 0, 0};

    void Add(uint32_t pixel)
    {
        if (count == 0) value = pixel;
        else if (mode == BLACKONWHITE) value &= pixel;
        else if (mode == WHITEONBLACK) value |= pixel;
        if (mode == HALFTONE)
            for (int c = 0; c < 3; ++c) sum[c] += (pixel >> (8 * c)) & 0xFF;
        ++count;
    }
    uint32_t Result() const
    {
        if (mode != HALFTONE || count <= 1) return value;
        uint32_t out = 0;
        for (int c = 0; c < 3; ++c) out |= ((sum[c] + count / 2) / count) << (8 * c);
        return out;
    }
};

}  // namespace

bool CairoDriver::StretchBlt(const RECT& dest, const PixelBuffer& source, const RECT& sourceRect, int stretchMode,
                             COLORREF sourceBk, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr)
{
    const bool usesSource = Rop3UsesSource(rop);
    if (usesSource && !source.IsValid()) return false;
    const RECT d = Normalized(dest), s = Normalized(sourceRect);
    const long long dw = d.right - d.left, dh = d.bottom - d.top;
    const long long sw = s.right - s.left, sh = s.bottom - s.top;
    if (dw == 0 || dh == 0 || (usesSource && (sw == 0 || sh == 0))) return true;
    const bool mirrorX = (dest.left > dest.right) != (sourceRect.left > sourceRect.right);
    const bool mirrorY = (dest.top > dest.bottom) != (sourceRect.top > sourceRect.bottom);
    const BrushPattern pattern = Pattern(brush, attr);
    const bool usesPattern = Rop3UsesPattern(rop);
    if (usesPattern && pattern.IsNull()) return true;
    const bool toMono = m_mono && !source.IsMono(), fromMono = source.IsMono() && !m_mono;
    const bool centreOnly = stretchMode != BLACKONWHITE && stretchMode != WHITEONBLACK && stretchMode != HALFTONE;
    const uint32_t sourceBkPixel = ToPixel(sourceBk);
    const uint32_t textPixel = DevicePixel(attr.textColor), bkPixel = DevicePixel(attr.bkColor);
    PixelBuffer px = Pixels();

    // A plain copy at one to one (how every view puts its memory picture on
    // the screen) moves whole rows; the general path below reads and mixes
    // pixel by pixel.
    const bool wholeSourceInside = s.left >= 0 && s.top >= 0 && s.right <= source.Width() && s.bottom <= source.Height();
    if (rop == SRCCOPY && dw == sw && dh == sh && !mirrorX && !mirrorY && !toMono && !fromMono && !px.IsMono() &&
        wholeSourceInside) {
        for (const RECT& area : ClipPieces(attr, d)) {
            const int width = area.right - area.left, height = area.bottom - area.top;
            const int sx = (int)(s.left + (area.left - d.left)), sy = (int)(s.top + (area.top - d.top));
            // The source may be this very surface: rows are taken whole before any is written.
            std::vector<uint32_t> block((size_t)width * height);
            for (int y = 0; y < height; ++y) {
                const uint32_t* from = source.Row(sy + y) + sx;
                uint32_t* to = block.data() + (size_t)y * width;
                for (int x = 0; x < width; ++x) to[x] = from[x] & kPixelMask;
            }
            for (int y = 0; y < height; ++y)
                std::memcpy(px.Row(area.top + y) + area.left, block.data() + (size_t)y * width, sizeof(uint32_t) * width);
        }
        px.Commit();
        return true;
    }

    for (const RECT& area : ClipPieces(attr, d)) {
        const int width = area.right - area.left, height = area.bottom - area.top;
        // Every source pixel is read before any is written: the source may
        // be this very surface, overlapping the destination.
        std::vector<uint32_t> block((size_t)width * height, 0);
        std::vector<uint8_t> present((size_t)width * height, usesSource ? 0 : 1);
        if (usesSource) {
            std::vector<long long> colFirst(width), colLast(width);
            for (int x = 0; x < width; ++x)
                SourceSpan(area.left + x - d.left, dw, sw, mirrorX, centreOnly, colFirst[x], colLast[x]);
            for (int y = 0; y < height; ++y) {
                long long rowFirst, rowLast;
                SourceSpan(area.top + y - d.top, dh, sh, mirrorY, centreOnly, rowFirst, rowLast);
                for (int x = 0; x < width; ++x) {
                    SourceMerge merge{stretchMode};
                    for (long long sy = s.top + rowFirst; sy < s.top + rowLast; ++sy) {
                        if (sy < 0 || sy >= source.Height()) continue;
                        for (long long sx = s.left + colFirst[x]; sx < s.left + colLast[x]; ++sx)
                            if (sx >= 0 && sx < source.Width()) merge.Add(source.Get((int)sx, (int)sy));
                    }
                    if (merge.count == 0) continue;   // only what the source has is copied
                    uint32_t src = merge.Result();
                    // Colour to monochrome: the source's background colour
                    // becomes white, all else black. Monochrome to colour:
                    // white becomes the destination's background colour,
                    // black its text colour.
                    if (toMono) src = src == sourceBkPixel ? kWhitePixel : kBlackPixel;
                    if (fromMono) src = src == kWhitePixel ? bkPixel : textPixel;
                    block[(size_t)y * width + x] = src;
                    present[(size_t)y * width + x] = 1;
                }
            }
        }
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (!present[(size_t)y * width + x]) continue;
                const int tx = area.left + x, ty = area.top + y;
                uint32_t pat = 0;
                if (usesPattern && !pattern.At(tx, ty, pat)) continue;
                px.Put(tx, ty, MixRop3(rop, pat, block[(size_t)y * width + x], px.Get(tx, ty)));
            }
        }
    }
    px.Commit();
    return true;
}

void CairoDriver::Text(const TextRun& run, const DrawAttributes& attr)
{
    PixelBuffer px = Pixels();
    if (!IsEmpty(run.opaque)) FillSolid(px, ClipPieces(attr, run.opaque), DevicePixel(attr.bkColor));
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
            if (!InClip(attr, x, y)) return;
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
    const std::vector<RECT> pieces = ClipPieces(attr, dest);
    if (pieces.empty() || !image) return;
    const int iw = cairo_image_surface_get_width(image), ih = cairo_image_surface_get_height(image);
    if (iw <= 0 || ih <= 0) return;
    cairo_surface_mark_dirty(m_surface);
    cairo_t* cr = cairo_create(m_surface);
    for (const RECT& piece : pieces)
        cairo_rectangle(cr, piece.left, piece.top, piece.right - piece.left, piece.bottom - piece.top);
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
    for (const RECT& piece : pieces)
        for (int y = piece.top; y < piece.bottom; ++y)
            for (int x = piece.left; x < piece.right; ++x) px.Put(x, y, px.Get(x, y));
    px.Commit();
}

}  // namespace gdi
}  // namespace platform
