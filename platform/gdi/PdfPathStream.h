// Stroked paths of a printed page written as PDF content of our own: whole
// dots as integers under one scaling matrix, compressed with a fast deflate.
// cairo prints every point in page points with three decimals and
// compresses at zlib's default level, which makes a page of traces both
// large and slow. The streams are added to the pages of cairo's finished
// file by an incremental update, drawn after cairo's own content.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/Driver.h"

namespace platform {
namespace gdi {

// A finished PDF, read in pieces where the update needs them.
class PdfSource {
public:
    virtual ~PdfSource() = default;
    virtual size_t Size() const = 0;
    // `length` bytes from `offset` (fewer at the end of the file) into `out`;
    // false when they cannot be read.
    virtual bool Read(size_t offset, size_t length, std::string& out) const = 0;
};

// A PDF in an open file, as long as the file was when this was made: the
// document is never read into memory whole.
class PdfFileSource : public PdfSource {
public:
    explicit PdfFileSource(int fd);
    size_t Size() const override { return m_size; }
    bool Read(size_t offset, size_t length, std::string& out) const override;

private:
    int m_fd;
    size_t m_size = 0;
};

class PdfPathStream {
public:
    // Dots to page points: `scale` points a dot, device (0, 0) at
    // `originX`, `originY` dots from the sheet's top-left corner, the sheet
    // `paperHeightPt` high. Coordinates are dot centres (x + 0.5).
    PdfPathStream(double scale, double originX, double originY, double paperHeightPt);

    bool Empty() const { return m_text.empty(); }
    // Strokes the subpaths of `points` (each begins at an index in
    // `starts`) with `pen`, solid and copying its colour, clipped to
    // `clip` (nothing when empty).
    void Stroke(const DevicePen& pen, const std::vector<RECT>& clip, const std::vector<POINT>& points,
                const std::vector<size_t>& starts);
    // The page's content so far, and a fresh start.
    std::string Take();

    // The update that appends `contents[i]` (uncompressed content, empty
    // for none) to page i of the finished PDF `pdf`; false, and no update,
    // when the file is not laid out as expected.
    static bool PageUpdate(const PdfSource& pdf, const std::vector<std::string>& contents, std::string& update);
    static bool PageUpdate(const std::string& pdf, const std::vector<std::string>& contents, std::string& update);

private:
    void Number(long value);
    void Op(const char* op);
    // A subpath's points, less `origin`.
    void Subpath(const POINT* points, size_t count, POINT origin);

    std::string m_text;
    std::string m_matrix;   // "a b c d e f cm" of dots to points
};

}  // namespace gdi
}  // namespace platform
