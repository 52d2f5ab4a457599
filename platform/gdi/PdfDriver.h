// The printer driver: draws pages of a PDF document with cairo, as vectors.
// Device units are the printer's dots; the page transform scales them to
// PDF points and moves device (0, 0) to the top-left of the printable area.
// The document is written to a temporary file and moved to its destination
// when finished (see PrintSurface.h for the contract, including how raster
// operations that read the page are drawn).
#pragma once

#include <cairo.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/Driver.h"
#include "platform/gdi/PdfPathStream.h"

namespace platform {
namespace gdi {

class PdfDriver : public Driver {
public:
    // `printable` and `offset` in device units; the sheet as printed in PDF
    // points, exact rather than rounded to dots, so viewers see the paper size.
    PdfDriver(SIZE printable, POINT offset, double paperWidthPt, double paperHeightPt, int dpi);
    // Drops a document that was never finished.
    ~PdfDriver() override;
    PdfDriver(const PdfDriver&) = delete;
    PdfDriver& operator=(const PdfDriver&) = delete;

    bool SetOutput(const std::string& path);
    bool StartPage();
    bool EndPage();
    bool Finish();
    void Abort();
    int PageCount() const { return m_pages; }

    SIZE Size() const override { return m_printable; }
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

    // What a figure is painted with before it is mixed with the page: one
    // colour, or an image (a brush pattern or blitted pixels) placed by
    // `matrix` (device units to image pixels). Pixels not `present` leave
    // the page alone.
    struct Field {
        bool solid = true;
        uint32_t color = 0;               // pixel value, when solid
        int width = 0, height = 0;
        std::vector<uint32_t> pixels;     // row-major
        std::vector<uint8_t> present;
        cairo_matrix_t matrix = {1, 0, 0, 1, 0, 0};
        bool repeat = false;
        cairo_filter_t filter = CAIRO_FILTER_NEAREST;
    };
    // The result of a pixel value mixed with a page pixel.
    typedef std::function<uint32_t(uint32_t value, uint32_t page)> Mixer;

private:
    bool InPage() const { return m_cr != nullptr; }
    // Paints the path `trace` makes (filled, or stroked with the settings it
    // makes) with `field` mixed in as `mix` says.
    void Paint(const DrawAttributes& attr, const RECT& bounds, const std::function<void(cairo_t*)>& trace, bool stroke,
               const Field& field, const Mixer& mix);
    Field BrushField(const DeviceBrush& brush, const DrawAttributes& attr) const;
    void StrokePen(const DrawAttributes& attr, const RECT& bounds, const DevicePen& pen,
                   const std::function<void(cairo_t*)>& trace);
    void FillBrush(const DrawAttributes& attr, const RECT& bounds, const DeviceBrush& brush,
                   const std::function<void(cairo_t*)>& trace);
    // Writes the pixels SetPixel gathered.
    void FlushPixels();
    // Pixels of the same columns repeated on rows `tops`.
    void PaintRepeatedRow(const std::vector<std::pair<LONG, LONG>>& spans, const std::vector<LONG>& tops);
    // Line drawing is gathered: the polylines of one solid pen go into the
    // page as one path (a grid family, a page of traces), not as a figure
    // each with its own state. A polyline joins an earlier figure of its
    // pen only when it crosses nothing drawn since, so the page looks as if
    // drawn in call order. Every other primitive writes them first.
    struct StrokeBatch {
        DevicePen pen;
        RECT clip = {0, 0, 0, 0};
        std::vector<RECT> clipRects;
        RECT bounds = {0, 0, 0, 0};
        std::vector<POINT> points;        // every polyline's points, one after the other
        std::vector<size_t> starts;       // where each subpath begins in `points`
        std::vector<RECT> pieces;         // bounds of each polyline added
    };
    bool Batchable(const DevicePen& pen, const DrawAttributes& attr) const;
    void AddStroke(const POINT* points, int count, const DevicePen& pen, const DrawAttributes& attr);
    void FlushStrokes();
    // Before cairo draws over `bounds`: batches waiting for the end of the
    // page that it would cover go into the page first, through cairo.
    void Uncover(const RECT& bounds);
    void StrokeWithCairo(const StrokeBatch& batch);
    // The waiting batches into our own stream, drawn after cairo's content.
    void WriteDeferred();
    // Adds a polyline's path (thinned to what the paper shows) to `cr`.
    void TracePolyline(cairo_t* cr, const POINT* points, size_t count);
    // Clips to what the DC may draw on, when `bounds` reaches outside it.
    void ApplyClip(const DrawAttributes& attr, const RECT& bounds);
    // Closes the file and moves it to the destination (`keep`) or removes
    // it; false when a kept file could not be written or moved.
    bool CloseFile(bool keep);

    SIZE m_printable;
    POINT m_offset;               // device units from the sheet's corner to the printable area
    double m_paperWidth;          // PDF points
    double m_paperHeight;
    int m_dpi;
    std::string m_output;         // destination of the next or current document
    std::string m_partial;        // the file being written; empty between documents
    FILE* m_file = nullptr;
    cairo_surface_t* m_surface = nullptr;   // the document; null between documents
    cairo_t* m_cr = nullptr;                // the page; null between pages
    int m_pages = 0;              // pages ended in the current (or last finished) document
    std::vector<RECT> m_pixels;   // runs of pixels set and not yet written, one row high
    uint32_t m_pixelColor = 0;    // their colour
    std::vector<StrokeBatch> m_strokes;   // polylines not yet written, in drawing order
    size_t m_strokePieces = 0;            // polylines in m_strokes
    std::vector<POINT> m_thinned;         // TracePolyline's working copy
    // Batches cairo has drawn nothing over since they were drawn: they go
    // into the page's own path stream when it ends.
    std::vector<StrokeBatch> m_deferred;
    PdfPathStream m_paths;
    std::vector<std::string> m_pageContents;   // our stream of each page ended
};

}  // namespace gdi
}  // namespace platform
