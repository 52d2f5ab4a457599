#include "platform/gdi/PdfDriver.h"
#include "platform/gdi/ThinPolyline.h"

#include <cairo-pdf.h>
#include <pango/pangocairo.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <utility>
#include <string>
#include <cstdlib>
#include <vector>

namespace platform {
namespace gdi {

namespace {

const double kPointsPerInch = 72.0;
const size_t kMaxPixelRuns = 1 << 20;   // pixel runs gathered before they are written (a page's dotted grid)
// Rows of pixels repeated at least this often, with at least this many runs,
// are written once and placed where they repeat.
const size_t kMinRepeatedRows = 3;
const size_t kMinRepeatedRuns = 4;

// The passes that put a raster operation on a page that cannot be read
// back. Per bit, a mix of a value with the page gives 0, 1, the page bit or
// its inverse; f0 and f1 are the results over a black and a white page, and
// the bits that differ tell which. Then, with PDF's blend modes (exact on
// channels that are 0 or 255):
//   no page bits:               paint f0 (Normal)
//   only page and inverted bits: page XOR f0 (Difference)
//   no inverted page bits:       (page AND f1) OR f0 (Multiply, Lighten)
//   no plain page bits:          (NOT page AND f0) OR f1 (Difference with white first)
// and a mix of all of them as it would come out on blank paper (f1).
enum class PassSource { White, F0, F1 };

struct RopPass {
    cairo_operator_t op;
    PassSource source;
};

struct RopBits {
    uint32_t inverted = 0, page = 0, constant = 0;
    bool f0Black = true, f0White = true, f1Black = true, f1White = true;

    void Add(uint32_t f0, uint32_t f1)
    {
        inverted |= f0 & ~f1 & kPixelMask;
        page |= ~f0 & f1 & kPixelMask;
        constant |= ~(f0 ^ f1) & kPixelMask;
        f0Black = f0Black && f0 == kBlackPixel;
        f0White = f0White && f0 == kWhitePixel;
        f1Black = f1Black && f1 == kBlackPixel;
        f1White = f1White && f1 == kWhitePixel;
    }
};

std::vector<RopPass> PlanRop(const RopBits& b)
{
    std::vector<RopPass> passes;
    if (!b.inverted && !b.page) {
        passes.push_back({CAIRO_OPERATOR_OVER, PassSource::F0});
    } else if (!b.constant) {
        if (!b.f0Black) passes.push_back({CAIRO_OPERATOR_DIFFERENCE, PassSource::F0});
    } else if (!b.inverted) {
        if (!b.f1White) passes.push_back({CAIRO_OPERATOR_MULTIPLY, PassSource::F1});
        if (!b.f0Black) passes.push_back({CAIRO_OPERATOR_LIGHTEN, PassSource::F0});
    } else if (!b.page) {
        passes.push_back({CAIRO_OPERATOR_DIFFERENCE, PassSource::White});
        if (!b.f0White) passes.push_back({CAIRO_OPERATOR_MULTIPLY, PassSource::F0});
        if (!b.f1Black) passes.push_back({CAIRO_OPERATOR_LIGHTEN, PassSource::F1});
    } else {
        passes.push_back({CAIRO_OPERATOR_OVER, PassSource::F1});
    }
    return passes;
}

void SetSourcePixel(cairo_t* cr, uint32_t pixel)
{
    cairo_set_source_rgb(cr, ((pixel >> 16) & 0xFF) / 255.0, ((pixel >> 8) & 0xFF) / 255.0, (pixel & 0xFF) / 255.0);
}

// cairo's output goes straight to the file and nowhere else: this runs
// inside cairo's C frames, so nothing here may throw, and a long document
// is never held in memory.
cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) noexcept
{
    FILE* file = static_cast<FILE*>(closure);
    if (!file || std::fwrite(data, 1, length, file) != length) return CAIRO_STATUS_WRITE_ERROR;
    return CAIRO_STATUS_SUCCESS;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
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
    return RECT{r.left - margin, r.top - margin, r.right + margin, r.bottom + margin};
}

PdfDriver::Mixer Rop2Mixer(int rop2)
{
    return [rop2](uint32_t value, uint32_t page) { return MixRop2(rop2, value, page); };
}

uint32_t Copy(uint32_t value, uint32_t)
{
    return value;
}

}  // namespace

PdfDriver::PdfDriver(SIZE printable, POINT offset, double paperWidthPt, double paperHeightPt, int dpi)
    : m_printable(printable), m_offset(offset), m_paperWidth(paperWidthPt), m_paperHeight(paperHeightPt), m_dpi(dpi),
      m_paths(kPointsPerInch / dpi, offset.x, offset.y, paperHeightPt)
{
}

PdfDriver::~PdfDriver()
{
    Abort();
}

bool PdfDriver::SetOutput(const std::string& path)
{
    if (m_surface || path.empty()) return false;
    m_output = path;
    std::replace(m_output.begin(), m_output.end(), '\\', '/');
    return true;
}

bool PdfDriver::StartPage()
{
    if (InPage()) return false;
    const double width = m_paperWidth, height = m_paperHeight;
    if (!m_surface) {
        if (m_output.empty()) return false;
        // Written beside the destination, so the final move is a rename.
        static std::atomic<unsigned> serial(0);
        const std::string partial =
            m_output + ".partial-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
        // Read as well as written: our streams are added from what cairo wrote.
        const int fd = open(partial.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) return false;
        m_file = fdopen(fd, "wb");
        if (!m_file) {
            close(fd);
            std::remove(partial.c_str());
            return false;
        }
        m_partial = partial;
        m_pages = 0;
        m_pageContents.clear();
        m_surface = cairo_pdf_surface_create_for_stream(WriteToFile, m_file, width, height);
        if (cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS) {
            Abort();
            return false;
        }
        cairo_pdf_surface_set_metadata(m_surface, CAIRO_PDF_METADATA_CREATOR, "morvelance");
    } else {
        cairo_pdf_surface_set_size(m_surface, width, height);
    }
    m_cr = cairo_create(m_surface);
    // The paper itself: blend modes need something under them, and what a
    // mix mode finds on an untouched page is white.
    SetSourcePixel(m_cr, kWhitePixel);
    cairo_paint(m_cr);
    cairo_scale(m_cr, kPointsPerInch / m_dpi, kPointsPerInch / m_dpi);
    cairo_translate(m_cr, m_offset.x, m_offset.y);
    return cairo_status(m_cr) == CAIRO_STATUS_SUCCESS;
}

bool PdfDriver::EndPage()
{
    if (!InPage()) return false;
    FlushStrokes();
    FlushPixels();
    WriteDeferred();
    m_pageContents.push_back(m_paths.Take());
    cairo_show_page(m_cr);
    const bool ok = cairo_status(m_cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(m_cr);
    m_cr = nullptr;
    ++m_pages;
    return ok;
}

bool PdfDriver::Finish()
{
    if (!m_surface) return true;   // no page, no document, no file
    bool ok = true;
    if (InPage()) ok = EndPage();
    cairo_surface_finish(m_surface);
    ok = ok && cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(m_surface);
    m_surface = nullptr;
    // Our path streams join the pages as an update appended to the file.
    const bool ours = std::any_of(m_pageContents.begin(), m_pageContents.end(),
                                  [](const std::string& c) { return !c.empty(); });
    // They are read back from the file as cairo left it.
    std::string update;
    if (ok && ours) {
        ok = std::fflush(m_file) == 0 &&
             PdfPathStream::PageUpdate(PdfFileSource(fileno(m_file)), m_pageContents, update) &&
             std::fwrite(update.data(), 1, update.size(), m_file) == update.size();
    }
    m_pageContents.clear();
    return CloseFile(ok) && ok;
}

void PdfDriver::Abort()
{
    m_pixels.clear();
    m_strokes.clear();
    m_strokePieces = 0;
    m_deferred.clear();
    m_paths.Take();
    if (m_cr) cairo_destroy(m_cr);
    m_cr = nullptr;
    if (m_surface) {
        cairo_surface_finish(m_surface);
        cairo_surface_destroy(m_surface);
    }
    m_surface = nullptr;
    if (m_file || !m_partial.empty()) CloseFile(false);
    m_pageContents.clear();
    m_pages = 0;
}

bool PdfDriver::CloseFile(bool keep)
{
    bool closed = true;
    if (m_file && std::fclose(m_file) != 0) closed = false;
    m_file = nullptr;
    if (m_partial.empty()) return closed;
    const std::string partial = m_partial;
    m_partial.clear();
    if (keep && closed && std::rename(partial.c_str(), m_output.c_str()) == 0) return true;
    std::remove(partial.c_str());
    return !keep;
}

void PdfDriver::ApplyClip(const DrawAttributes& attr, const RECT& bounds)
{
    if (attr.clipRects.empty() && Contains(attr.clip, bounds)) return;
    // A clip that is the whole printable area is not set for every figure
    // that pokes past its edge (cairo would write one per figure): a PDF
    // page has no unprintable margin to protect.
    const RECT page = {0, 0, m_printable.cx, m_printable.cy};
    if (attr.clipRects.empty() && Contains(attr.clip, page)) return;
    const std::vector<RECT> pieces = attr.clipRects.empty() ? std::vector<RECT>{attr.clip} : attr.clipRects;
    for (const RECT& rc : pieces) cairo_rectangle(m_cr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    cairo_clip(m_cr);
}

void PdfDriver::Paint(const DrawAttributes& attr, const RECT& bounds, const std::function<void(cairo_t*)>& trace,
                      bool stroke, const Field& field, const Mixer& mix)
{
    FlushPixels();   // what was set before comes first
    if (!InPage() || IsEmpty(attr.clip)) return;
    Uncover(bounds);
    RopBits bits;
    std::vector<uint32_t> f0, f1;
    if (field.solid) {
        f0.push_back(mix(field.color, kBlackPixel) & kPixelMask);
        f1.push_back(mix(field.color, kWhitePixel) & kPixelMask);
        bits.Add(f0[0], f1[0]);
    } else {
        f0.resize(field.pixels.size());
        f1.resize(field.pixels.size());
        for (size_t i = 0; i < field.pixels.size(); ++i) {
            if (!field.present[i]) continue;
            f0[i] = mix(field.pixels[i], kBlackPixel) & kPixelMask;
            f1[i] = mix(field.pixels[i], kWhitePixel) & kPixelMask;
            bits.Add(f0[i], f1[i]);
        }
    }
    cairo_save(m_cr);
    ApplyClip(attr, bounds);
    for (const RopPass& pass : PlanRop(bits)) {
        cairo_save(m_cr);
        cairo_set_operator(m_cr, pass.op);
        cairo_surface_t* image = nullptr;
        if (pass.source == PassSource::White) {
            SetSourcePixel(m_cr, kWhitePixel);
        } else if (field.solid) {
            SetSourcePixel(m_cr, pass.source == PassSource::F0 ? f0[0] : f1[0]);
        } else {
            image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, field.width, field.height);
            unsigned char* data = cairo_image_surface_get_data(image);
            const int stride = cairo_image_surface_get_stride(image);
            const std::vector<uint32_t>& values = pass.source == PassSource::F0 ? f0 : f1;
            for (int y = 0; data && y < field.height; ++y) {
                uint32_t* row = reinterpret_cast<uint32_t*>(data + (size_t)y * stride);
                for (int x = 0; x < field.width; ++x) {
                    const size_t i = (size_t)y * field.width + x;
                    row[x] = field.present[i] ? (0xFF000000u | values[i]) : 0u;   // absent: clear
                }
            }
            cairo_surface_mark_dirty(image);
            cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image);
            cairo_pattern_set_matrix(pattern, &field.matrix);
            cairo_pattern_set_extend(pattern, field.repeat ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_NONE);
            cairo_pattern_set_filter(pattern, field.filter);
            cairo_set_source(m_cr, pattern);
            cairo_pattern_destroy(pattern);
        }
        trace(m_cr);
        if (stroke) cairo_stroke(m_cr);
        else cairo_fill(m_cr);
        cairo_restore(m_cr);
        if (image) cairo_surface_destroy(image);
    }
    cairo_restore(m_cr);
}

PdfDriver::Field PdfDriver::BrushField(const DeviceBrush& brush, const DrawAttributes& attr) const
{
    Field field;
    if (brush.style == BS_SOLID) {
        field.color = ToPixel(brush.color);
        return field;
    }
    // Hatches and patterns: one 8 x 8 tile repeated from the brush origin,
    // one tile pixel per device unit, as on any raster device.
    BrushPattern pattern;
    pattern.style = brush.style;
    pattern.color = ToPixel(brush.color);
    pattern.hatch = brush.hatch;
    std::copy(brush.pattern, brush.pattern + 8, pattern.bits);
    pattern.opaqueGaps = brush.style == BS_PATTERN || attr.bkMode == OPAQUE;
    pattern.gapColor = ToPixel(brush.style == BS_PATTERN ? brush.patternBk : attr.bkColor);
    field.solid = false;
    field.width = field.height = 8;
    field.pixels.assign(64, 0);
    field.present.assign(64, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) field.present[(size_t)y * 8 + x] = pattern.At(x, y, field.pixels[(size_t)y * 8 + x]);
    cairo_matrix_init_translate(&field.matrix, -attr.brushOrigin.x, -attr.brushOrigin.y);
    field.repeat = true;
    return field;
}

void PdfDriver::StrokePen(const DrawAttributes& attr, const RECT& bounds, const DevicePen& pen,
                          const std::function<void(cairo_t*)>& trace)
{
    if (pen.IsNull()) return;
    Field ink;
    ink.color = ToPixel(pen.color);
    if (!pen.IsThin()) {
        Paint(attr, bounds, [&](cairo_t* cr) {
            cairo_set_line_width(cr, pen.width);
            cairo_set_line_cap(cr, pen.endCap == PS_ENDCAP_SQUARE ? CAIRO_LINE_CAP_SQUARE
                                   : pen.endCap == PS_ENDCAP_FLAT ? CAIRO_LINE_CAP_BUTT
                                                                  : CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, pen.join == PS_JOIN_BEVEL ? CAIRO_LINE_JOIN_BEVEL
                                    : pen.join == PS_JOIN_MITER ? CAIRO_LINE_JOIN_MITER
                                                                : CAIRO_LINE_JOIN_ROUND);
            cairo_set_miter_limit(cr, 10.0);
            const std::vector<double> dashes = GeometricDashes(pen);
            if (!dashes.empty()) cairo_set_dash(cr, dashes.data(), (int)dashes.size(), 0);
            trace(cr);
        }, true, ink, Rop2Mixer(attr.rop2));
        return;
    }
    // One device unit wide, ending where the last pixel would end; styled
    // pens dash in device units, their gaps taking the background colour in
    // OPAQUE mode as on the screen.
    const std::vector<int> cosmetic = LineStyle::CosmeticDashes(pen.style, pen.userStyle);
    std::vector<double> dashes(cosmetic.begin(), cosmetic.end());
    auto thin = [&](bool dashed) {
        return [&, dashed](cairo_t* cr) {
            cairo_set_line_width(cr, 1.0);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
            if (dashed && !dashes.empty()) cairo_set_dash(cr, dashes.data(), (int)dashes.size(), 0);
            trace(cr);
        };
    };
    if (!dashes.empty() && attr.bkMode == OPAQUE) {
        Field gap;
        gap.color = ToPixel(attr.bkColor);
        Paint(attr, bounds, thin(false), true, gap, Rop2Mixer(attr.rop2));
    }
    Paint(attr, bounds, thin(true), true, ink, Rop2Mixer(attr.rop2));
}

void PdfDriver::FillBrush(const DrawAttributes& attr, const RECT& bounds, const DeviceBrush& brush,
                          const std::function<void(cairo_t*)>& trace)
{
    if (brush.IsNull()) return;
    Paint(attr, bounds, trace, false, BrushField(brush, attr), Rop2Mixer(attr.rop2));
}

void PdfDriver::PatBlt(const RECT& rect, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr)
{
    FlushStrokes();
    if (IsEmpty(rect)) return;
    const bool usesPattern = Rop3UsesPattern(rop);
    if (usesPattern && brush.IsNull()) return;
    Field field = usesPattern ? BrushField(brush, attr) : Field();
    auto trace = [&](cairo_t* cr) {
        cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    };
    Paint(attr, rect, trace, false, field, [rop](uint32_t value, uint32_t page) { return MixRop3(rop, value, 0, page); });
}

void PdfDriver::Polyline(const POINT* points, int count, const DevicePen& pen, const DrawAttributes& attr)
{
    if (!points || count < 2 || pen.IsNull()) return;
    if (InPage() && Batchable(pen, attr)) {
        AddStroke(points, count, pen, attr);
        return;
    }
    FlushStrokes();
    StrokePen(attr, BoundsOf(points, count, pen.width + 1), pen,
              [&](cairo_t* cr) { TracePolyline(cr, points, (size_t)count); });
}

void PdfDriver::TracePolyline(cairo_t* cr, const POINT* points, size_t count)
{
    // Points nearer the line through their neighbours than half a 600 dpi
    // dot print the same without them; fewer points, a smaller and faster page.
    const double tolerance = 1.0 * m_dpi / 600.0;
    m_thinned.clear();
    ThinPolyline(points, count, tolerance, &m_thinned);
    cairo_move_to(cr, m_thinned[0].x + 0.5, m_thinned[0].y + 0.5);
    for (size_t i = 1; i < m_thinned.size(); ++i) cairo_line_to(cr, m_thinned[i].x + 0.5, m_thinned[i].y + 0.5);
}

namespace {

bool SamePen(const DevicePen& a, const DevicePen& b)
{
    return a.style == b.style && a.endCap == b.endCap && a.join == b.join && a.geometric == b.geometric &&
           a.width == b.width && a.color == b.color;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Past these a page is written out rather than searched further.
const size_t kMaxStrokeBatches = 16;
const size_t kMaxStrokeSearch = 4096;

}  // namespace

bool PdfDriver::Batchable(const DevicePen& pen, const DrawAttributes& attr) const
{
    // A solid pen copying its colour is one plain stroke whatever the order
    // of its parts; styled pens restart their dashes per figure, and mixing
    // modes depend on what is under them.
    return pen.style == PS_SOLID && attr.rop2 == R2_COPYPEN && !IsEmpty(attr.clip);
}

void PdfDriver::AddStroke(const POINT* points, int count, const DevicePen& pen, const DrawAttributes& attr)
{
    const RECT bounds = BoundsOf(points, count, pen.width + 1);
    auto fits = [&](const StrokeBatch& b) {
        return SamePen(b.pen, pen) && SameRect(b.clip, attr.clip) && b.clipRects.size() == attr.clipRects.size() &&
               std::equal(b.clipRects.begin(), b.clipRects.end(), attr.clipRects.begin(), SameRect);
    };
    // The latest batch of this pen that nothing drawn after it overlaps here.
    StrokeBatch* target = nullptr;
    if (!m_strokes.empty() && fits(m_strokes.back())) {
        target = &m_strokes.back();
    } else if (m_strokePieces <= kMaxStrokeSearch) {
        for (size_t i = m_strokes.size(); i-- > 0;) {
            if (fits(m_strokes[i])) {
                target = &m_strokes[i];
                break;
            }
            bool crosses = false;
            for (const RECT& piece : m_strokes[i].pieces) {
                if (Overlap(piece, bounds)) {
                    crosses = true;
                    break;
                }
            }
            if (crosses) break;
        }
    }
    if (!target) {
        if (m_strokes.size() >= kMaxStrokeBatches) FlushStrokes();
        m_strokes.emplace_back();
        target = &m_strokes.back();
        target->pen = pen;
        target->clip = attr.clip;
        target->clipRects = attr.clipRects;
        target->bounds = bounds;
    }
    StrokeBatch& b = *target;
    b.bounds = RECT{std::min(b.bounds.left, bounds.left), std::min(b.bounds.top, bounds.top),
                    std::max(b.bounds.right, bounds.right), std::max(b.bounds.bottom, bounds.bottom)};
    // A polyline that goes on from where the last one ended continues its
    // subpath (MoveTo/LineTo drawing); any other starts a new one.
    const bool continues = &b == &m_strokes.back() && !b.points.empty() && b.points.back().x == points[0].x &&
                           b.points.back().y == points[0].y;
    if (!continues) b.starts.push_back(b.points.size());
    b.points.insert(b.points.end(), points + (continues ? 1 : 0), points + count);
    b.pieces.push_back(bounds);
    ++m_strokePieces;
}

void PdfDriver::FlushStrokes()
{
    if (m_strokes.empty()) return;
    m_strokePieces = 0;
    if (!InPage()) {
        m_strokes.clear();
        return;
    }
    for (StrokeBatch& b : m_strokes) m_deferred.push_back(std::move(b));
    m_strokes.clear();
}

void PdfDriver::Uncover(const RECT& bounds)
{
    bool covered = false;
    for (const StrokeBatch& b : m_deferred) {
        if (!Overlap(b.bounds, bounds)) continue;
        covered = covered || std::any_of(b.pieces.begin(), b.pieces.end(),
                                         [&](const RECT& piece) { return Overlap(piece, bounds); });
    }
    if (!covered) return;
    // Every waiting batch, in order, so those left out cannot end up above
    // one drawn later.
    std::vector<StrokeBatch> batches;
    batches.swap(m_deferred);
    for (const StrokeBatch& b : batches) StrokeWithCairo(b);
}

void PdfDriver::StrokeWithCairo(const StrokeBatch& b)
{
    DrawAttributes attr;
    attr.clip = b.clip;
    attr.clipRects = b.clipRects;
    StrokePen(attr, b.bounds, b.pen, [&b, this](cairo_t* cr) {
        for (size_t s = 0; s < b.starts.size(); ++s) {
            const size_t from = b.starts[s], to = s + 1 < b.starts.size() ? b.starts[s + 1] : b.points.size();
            TracePolyline(cr, b.points.data() + from, to - from);
        }
    });
}

void PdfDriver::WriteDeferred()
{
    const RECT page = {0, 0, m_printable.cx, m_printable.cy};
    std::vector<POINT> thinned;
    std::vector<size_t> starts;
    for (const StrokeBatch& b : m_deferred) {
        // The clip as cairo would have been given it (see ApplyClip).
        std::vector<RECT> clip;
        if (!b.clipRects.empty()) clip = b.clipRects;
        else if (!Contains(b.clip, b.bounds) && !Contains(b.clip, page)) clip.push_back(b.clip);
        const double tolerance = 1.0 * m_dpi / 600.0;
        thinned.clear();
        starts.clear();
        for (size_t s = 0; s < b.starts.size(); ++s) {
            const size_t from = b.starts[s], to = s + 1 < b.starts.size() ? b.starts[s + 1] : b.points.size();
            starts.push_back(thinned.size());
            m_thinned.clear();
            ThinPolyline(b.points.data() + from, to - from, tolerance, &m_thinned);
            thinned.insert(thinned.end(), m_thinned.begin(), m_thinned.end());
        }
        m_paths.Stroke(b.pen, clip, thinned, starts);
    }
    m_deferred.clear();
}

void PdfDriver::Rectangle(const RECT& rect, const DevicePen& pen, const DeviceBrush& brush, const DrawAttributes& attr)
{
    FlushStrokes();
    const RECT bounds = {rect.left - pen.width, rect.top - pen.width, rect.right + pen.width, rect.bottom + pen.width};
    auto box = [](double l, double t, double r, double b) {
        return [=](cairo_t* cr) { cairo_rectangle(cr, l, t, std::max(0.0, r - l), std::max(0.0, b - t)); };
    };
    // As on the screen: without a pen the fill loses its right column and bottom row.
    if (pen.IsNull()) {
        FillBrush(attr, bounds, brush, box(rect.left, rect.top, rect.right - 1, rect.bottom - 1));
        return;
    }
    FillBrush(attr, bounds, brush, box(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1));
    const double inset = (!pen.IsThin() && pen.style == PS_INSIDEFRAME) ? pen.width / 2.0 : 0.5;
    const double right = (!pen.IsThin() && pen.style == PS_INSIDEFRAME) ? rect.right - inset : rect.right - 0.5;
    const double bottom = (!pen.IsThin() && pen.style == PS_INSIDEFRAME) ? rect.bottom - inset : rect.bottom - 0.5;
    StrokePen(attr, bounds, pen, box(rect.left + inset, rect.top + inset, right, bottom));
}

void PdfDriver::Shape(const ShapeSpec& shape, const DevicePen& pen, const DeviceBrush& brush,
                      const DrawAttributes& attr)
{
    FlushStrokes();
    if (shape.kind == ShapeSpec::Kind::Polygon) {
        if (shape.points.size() < 2) return;
        const RECT bounds = BoundsOf(shape.points.data(), (int)shape.points.size(), pen.width + 1);
        FillBrush(attr, bounds, brush, [&](cairo_t* cr) {
            cairo_set_fill_rule(cr, shape.fillMode == WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
            // A new subpath: a point left over from the drawing before must not join the shape.
            cairo_new_sub_path(cr);
            for (const POINT& p : shape.points) cairo_line_to(cr, p.x, p.y);
            cairo_close_path(cr);
        });
        StrokePen(attr, bounds, pen, [&](cairo_t* cr) {
            cairo_new_sub_path(cr);
            for (const POINT& p : shape.points) cairo_line_to(cr, p.x + 0.5, p.y + 0.5);
            cairo_close_path(cr);
        });
        return;
    }
    const SIZE corner = shape.kind == ShapeSpec::Kind::Ellipse
                            ? SIZE{shape.box.right - shape.box.left, shape.box.bottom - shape.box.top}
                            : shape.corner;
    const RECT bounds = {shape.box.left - pen.width, shape.box.top - pen.width, shape.box.right + pen.width,
                         shape.box.bottom + pen.width};
    if (pen.IsNull()) {
        const RECT smaller = {shape.box.left, shape.box.top, shape.box.right - 1, shape.box.bottom - 1};
        const SIZE smallerCorner = shape.kind == ShapeSpec::Kind::Ellipse
                                       ? SIZE{smaller.right - smaller.left, smaller.bottom - smaller.top}
                                       : corner;
        FillBrush(attr, bounds, brush, [&](cairo_t* cr) { TraceRoundRect(cr, smaller, smallerCorner, -0.5); });
        return;
    }
    const double inset = (!pen.IsThin() && pen.style == PS_INSIDEFRAME) ? (pen.width - 1) / 2.0 : 0.0;
    FillBrush(attr, bounds, brush, [&](cairo_t* cr) { TraceRoundRect(cr, shape.box, corner, inset); });
    StrokePen(attr, bounds, pen, [&](cairo_t* cr) { TraceRoundRect(cr, shape.box, corner, inset); });
}

COLORREF PdfDriver::SetPixel(POINT point, COLORREF color, const DrawAttributes& attr)
{
    if (!InClip(attr, point.x, point.y)) return CLR_INVALID;
    if (!InPage()) return color & 0xFFFFFF;
    FlushStrokes();
    // Dotted grids come one SetPixel per dot pixel: pixels of one colour
    // are gathered into runs and go into the page as one figure.
    const uint32_t pixel = ToPixel(color);
    if (!m_pixels.empty() && pixel != m_pixelColor) FlushPixels();
    m_pixelColor = pixel;
    if (!m_pixels.empty() && m_pixels.back().top == point.y && m_pixels.back().right == point.x) {
        ++m_pixels.back().right;
    } else {
        m_pixels.push_back(RECT{point.x, point.y, point.x + 1, point.y + 1});
        if (m_pixels.size() >= kMaxPixelRuns) FlushPixels();
    }
    return color & 0xFFFFFF;
}

namespace {

// One row of pixel runs: [left, right) column spans, left to right.
typedef std::vector<std::pair<LONG, LONG>> RowSpans;

// The runs joined where they touch, grouped by the columns they cover: the
// rows of a dotted grid come in a few kinds, each repeated down the page.
std::map<RowSpans, std::vector<LONG>> RowsByColumns(std::vector<RECT> runs)
{
    std::sort(runs.begin(), runs.end(),
              [](const RECT& a, const RECT& b) { return a.top != b.top ? a.top < b.top : a.left < b.left; });
    std::map<RowSpans, std::vector<LONG>> rows;
    RowSpans spans;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (!spans.empty() && spans.back().second >= runs[i].left)
            spans.back().second = std::max(spans.back().second, runs[i].right);
        else
            spans.emplace_back(runs[i].left, runs[i].right);
        if (i + 1 == runs.size() || runs[i + 1].top != runs[i].top) {
            rows[spans].push_back(runs[i].top);
            spans.clear();
        }
    }
    return rows;
}

}  // namespace

void PdfDriver::FlushPixels()
{
    if (m_pixels.empty()) return;
    std::vector<RECT> runs;
    runs.swap(m_pixels);
    if (!InPage()) return;
    // Every pixel was inside the clip when it was set: no clip needed, and
    // one colour copied onto the page looks the same in any order.
    std::vector<RECT> loose;
    for (const auto& row : RowsByColumns(std::move(runs))) {
        if (row.second.size() >= kMinRepeatedRows && row.first.size() >= kMinRepeatedRuns) {
            PaintRepeatedRow(row.first, row.second);
            continue;
        }
        for (LONG top : row.second)
            for (const auto& span : row.first) loose.push_back(RECT{span.first, top, span.second, top + 1});
    }
    if (loose.empty()) return;
    DrawAttributes whole;
    whole.clip = RECT{0, 0, m_printable.cx, m_printable.cy};
    RECT bounds = loose.front();
    for (const RECT& run : loose) {
        bounds.left = std::min(bounds.left, run.left);
        bounds.top = std::min(bounds.top, run.top);
        bounds.right = std::max(bounds.right, run.right);
        bounds.bottom = std::max(bounds.bottom, run.bottom);
    }
    Field field;
    field.color = m_pixelColor;
    auto trace = [&](cairo_t* cr) {
        for (const RECT& run : loose) cairo_rectangle(cr, run.left, run.top, run.right - run.left, 1);
    };
    Paint(whole, bounds, trace, false, field, Copy);
}

void PdfDriver::PaintRepeatedRow(const std::vector<std::pair<LONG, LONG>>& spans, const std::vector<LONG>& tops)
{
    // The row is written once into the document and placed at each of its
    // rows: a dotted grid costs a few rows and a placement per row, not a
    // figure per dot.
    const LONG left = spans.front().first, right = spans.back().second;
    Uncover(RECT{left, *std::min_element(tops.begin(), tops.end()), right, *std::max_element(tops.begin(), tops.end()) + 1});
    const cairo_rectangle_t extents = {(double)left, 0.0, (double)(right - left), 1.0};
    cairo_surface_t* row = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents);
    cairo_t* cr = cairo_create(row);
    SetSourcePixel(cr, m_pixelColor);
    for (const auto& span : spans) cairo_rectangle(cr, span.first, 0, span.second - span.first, 1);
    cairo_fill(cr);
    cairo_destroy(cr);
    for (LONG top : tops) {
        cairo_save(m_cr);
        cairo_set_source_surface(m_cr, row, 0, top);
        cairo_rectangle(m_cr, left, top, right - left, 1);
        cairo_fill(m_cr);
        cairo_restore(m_cr);
    }
    cairo_surface_destroy(row);
}

COLORREF PdfDriver::GetPixel(POINT)
{
    return CLR_INVALID;   // a printed page cannot be read back
}

bool PdfDriver::BitBlt(const RECT& dest, const PixelBuffer& source, POINT sourceOrigin, COLORREF sourceBk,
                       const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr)
{
    const RECT sourceRect = {sourceOrigin.x, sourceOrigin.y, sourceOrigin.x + (dest.right - dest.left),
                             sourceOrigin.y + (dest.bottom - dest.top)};
    return StretchBlt(dest, source, sourceRect, COLORONCOLOR, sourceBk, brush, rop, attr);
}

bool PdfDriver::StretchBlt(const RECT& dest, const PixelBuffer& source, const RECT& sourceRect, int stretchMode,
                           COLORREF, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr)
{
    FlushStrokes();
    const RECT d = Normalized(dest);
    if (!Rop3UsesSource(rop)) {
        PatBlt(d, brush, rop, attr);
        return true;
    }
    if (!source.IsValid()) return false;
    const RECT s = Normalized(sourceRect);
    if (IsEmpty(d) || IsEmpty(s)) return true;
    const long long area = (long long)(s.right - s.left) * (s.bottom - s.top);
    if (area > 64LL * 1024 * 1024) return false;   // larger than any bitmap this layer makes
    // The pixels go into the page as an image; the viewer does the scaling.
    // A pattern the operation uses counts as its brush's colour.
    Field field;
    field.solid = false;
    field.width = s.right - s.left;
    field.height = s.bottom - s.top;
    field.pixels.assign((size_t)area, 0);
    field.present.assign((size_t)area, 0);
    const uint32_t text = ToPixel(attr.textColor), background = ToPixel(attr.bkColor);
    for (int y = 0; y < field.height; ++y) {
        const int sy = s.top + y;
        if (sy < 0 || sy >= source.Height()) continue;
        for (int x = 0; x < field.width; ++x) {
            const int sx = s.left + x;
            if (sx < 0 || sx >= source.Width()) continue;
            uint32_t pixel = source.Get(sx, sy);
            // Monochrome to colour: white is the background colour, black the text colour.
            if (source.IsMono()) pixel = pixel == kWhitePixel ? background : text;
            field.pixels[(size_t)y * field.width + x] = pixel;
            field.present[(size_t)y * field.width + x] = 1;
        }
    }
    // Device units to image pixels, mirrored where one side's extent is negative.
    const double xx = (double)(sourceRect.right - sourceRect.left) / (dest.right - dest.left);
    const double yy = (double)(sourceRect.bottom - sourceRect.top) / (dest.bottom - dest.top);
    cairo_matrix_init(&field.matrix, xx, 0, 0, yy, (sourceRect.left - s.left) - xx * dest.left,
                      (sourceRect.top - s.top) - yy * dest.top);
    field.filter = stretchMode == HALFTONE ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST;
    const uint32_t pattern = Rop3UsesPattern(rop) ? ToPixel(brush.color) : 0;
    Paint(attr, d, [&](cairo_t* cr) { cairo_rectangle(cr, d.left, d.top, d.right - d.left, d.bottom - d.top); }, false,
          field, [rop, pattern](uint32_t value, uint32_t page) { return MixRop3(rop, pattern, value, page); });
    return true;
}

void PdfDriver::Text(const TextRun& run, const DrawAttributes& attr)
{
    FlushStrokes();
    FlushPixels();
    if (!InPage()) return;
    if (!IsEmpty(run.opaque)) {
        Field background;
        background.color = ToPixel(attr.bkColor);
        const RECT& o = run.opaque;
        Paint(attr, o, [&](cairo_t* cr) { cairo_rectangle(cr, o.left, o.top, o.right - o.left, o.bottom - o.top); },
              false, background, Copy);
    }
    if (!run.layout || IsEmpty(attr.clip)) return;
    PangoLayoutLine* line = pango_layout_get_line_readonly(run.layout, 0);
    if (!line) return;
    // Glyphs go into the page as text in the embedded face; their ink may
    // reach past the cell (italics, accents).
    const LONG reach = run.cell.bottom - run.cell.top;
    Uncover(RECT{run.cell.left - reach, run.cell.top - reach, run.cell.right + reach, run.cell.bottom + reach});
    cairo_save(m_cr);
    ApplyClip(attr, run.cell);
    if (run.clipped) {
        cairo_rectangle(m_cr, run.clip.left, run.clip.top, run.clip.right - run.clip.left, run.clip.bottom - run.clip.top);
        cairo_clip(m_cr);
    }
    SetSourcePixel(m_cr, ToPixel(run.color));
    cairo_move_to(m_cr, run.baseline.x, run.baseline.y);
    pango_cairo_show_layout_line(m_cr, line);
    cairo_restore(m_cr);
}

void PdfDriver::DrawImage(const RECT& dest, cairo_surface_t* image, const DrawAttributes& attr)
{
    FlushStrokes();
    FlushPixels();
    if (!InPage() || !image || IsEmpty(dest) || IsEmpty(attr.clip)) return;
    const int iw = cairo_image_surface_get_width(image), ih = cairo_image_surface_get_height(image);
    if (iw <= 0 || ih <= 0) return;
    Uncover(dest);
    cairo_save(m_cr);
    ApplyClip(attr, dest);
    cairo_rectangle(m_cr, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top);
    cairo_clip(m_cr);
    cairo_translate(m_cr, dest.left, dest.top);
    cairo_scale(m_cr, (double)(dest.right - dest.left) / iw, (double)(dest.bottom - dest.top) / ih);
    cairo_set_source_surface(m_cr, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(m_cr), CAIRO_FILTER_NEAREST);
    cairo_paint(m_cr);
    cairo_restore(m_cr);
}

}  // namespace gdi
}  // namespace platform
