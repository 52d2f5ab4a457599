#include "platform/gdi/PdfPathStream.h"

#include <libdeflate.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace platform {
namespace gdi {

namespace {

// Of libdeflate's levels 1 to 12, the lowest that makes a page of traces as
// small as zlib's default does; above it time grows and size hardly shrinks.
const int kDeflateLevel = 5;
// Subpaths of at least this many points are placed at their first point.
const size_t kPlacedPoints = 16;

std::string Deflate(const std::string& text)
{
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(kDeflateLevel);
    if (!compressor) return std::string();
    std::string out(libdeflate_zlib_compress_bound(compressor, text.size()), '\0');
    const size_t size = libdeflate_zlib_compress(compressor, text.data(), text.size(), &out[0], out.size());
    libdeflate_free_compressor(compressor);
    out.resize(size);
    return out;
}

std::string Fixed(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4f", value);
    return buffer;
}

// The file as cairo lays it out: one cross-reference table, a trailer, a
// page tree of one level.
struct PdfLayout {
    long xref = 0;
    std::vector<long> offsets;    // by object number
    std::string root, info;       // "n g R"
    std::vector<long> pages;      // page object numbers, in order
};

// A document held in memory.
class StringSource : public PdfSource {
public:
    explicit StringSource(const std::string& pdf) : m_pdf(pdf) {}
    size_t Size() const override { return m_pdf.size(); }
    bool Read(size_t offset, size_t length, std::string& out) const override
    {
        if (offset > m_pdf.size()) return false;
        out.assign(m_pdf, offset, length);
        return true;
    }

private:
    const std::string& m_pdf;
};

// The text of object `number`, from "n 0 obj" to just before "endobj". Read
// in growing pieces: a page object is small, the document may not be.
bool ObjectText(const PdfSource& pdf, const PdfLayout& layout, long number, std::string& text)
{
    if (number <= 0 || number >= (long)layout.offsets.size()) return false;
    const size_t from = (size_t)layout.offsets[number];
    if (from >= pdf.Size()) return false;
    for (size_t length = 4096;; length *= 2) {
        if (!pdf.Read(from, length, text)) return false;
        const size_t end = text.find("endobj");
        if (end != std::string::npos) {
            text.resize(end);
            return true;
        }
        if (from + text.size() >= pdf.Size()) return false;
    }
}

// The "n g R" after `key` in `text`.
std::string Reference(const std::string& text, const char* key)
{
    const size_t at = text.find(key);
    if (at == std::string::npos) return std::string();
    char* end = nullptr;
    const char* start = text.c_str() + at + std::strlen(key);
    const long number = std::strtol(start, &end, 10);
    const long generation = std::strtol(end, &end, 10);
    while (*end == ' ') ++end;
    if (number <= 0 || *end != 'R') return std::string();
    return std::to_string(number) + " " + std::to_string(generation) + " R";
}

// Room at the end of the file for "startxref", its offset and "%%EOF".
const size_t kTailBytes = 1024;

bool ReadLayout(const PdfSource& pdf, PdfLayout& layout)
{
    const size_t size = pdf.Size();
    const size_t tailStart = size > kTailBytes ? size - kTailBytes : 0;
    std::string tail;
    if (!pdf.Read(tailStart, size - tailStart, tail)) return false;
    const size_t mark = tail.rfind("startxref");
    if (mark == std::string::npos) return false;
    const size_t startxref = tailStart + mark;
    layout.xref = std::strtol(tail.c_str() + mark + 9, nullptr, 10);
    if (layout.xref <= 0 || (size_t)layout.xref >= startxref) return false;
    // The table and the trailer, from "xref" to "startxref".
    std::string table;
    if (!pdf.Read((size_t)layout.xref, startxref - (size_t)layout.xref, table) || table.compare(0, 4, "xref") != 0)
        return false;
    char* end = nullptr;
    const long first = std::strtol(table.c_str() + 4, &end, 10);
    const long count = std::strtol(end, &end, 10);
    while (*end == '\r' || *end == '\n' || *end == ' ') ++end;
    const size_t entries = end - table.c_str();
    if (first != 0 || count <= 1 || entries + 20 * (size_t)count > table.size()) return false;
    for (long i = 0; i < count; ++i) layout.offsets.push_back(std::strtol(table.c_str() + entries + 20 * i, nullptr, 10));
    const size_t trailer = table.find("trailer", entries);
    if (trailer == std::string::npos) return false;
    const std::string dict = table.substr(trailer);
    const size_t sizeKey = dict.find("/Size");
    if (sizeKey == std::string::npos || std::strtol(dict.c_str() + sizeKey + 5, nullptr, 10) != count) return false;
    layout.root = Reference(dict, "/Root");
    layout.info = Reference(dict, "/Info");
    std::string catalog, tree;
    if (layout.root.empty() || !ObjectText(pdf, layout, std::atol(layout.root.c_str()), catalog)) return false;
    const std::string pages = Reference(catalog, "/Pages");
    if (pages.empty() || !ObjectText(pdf, layout, std::atol(pages.c_str()), tree)) return false;
    const size_t kids = tree.find("/Kids [");
    const size_t close = tree.find(']', kids);
    if (kids == std::string::npos || close == std::string::npos) return false;
    const char* at = tree.c_str() + kids + 7;
    while (at < tree.c_str() + close) {
        const long number = std::strtol(at, &end, 10);
        const long generation = std::strtol(end, &end, 10);
        while (*end == ' ') ++end;
        if (end >= tree.c_str() + close || number <= 0 || generation != 0 || *end != 'R') break;
        layout.pages.push_back(number);
        at = end + 1;
    }
    return true;
}

std::string XrefEntry(long number, long offset)
{
    char line[64];
    std::snprintf(line, sizeof line, "%ld 1\n%010ld 00000 n \n", number, offset);
    return line;
}

}  // namespace

PdfPathStream::PdfPathStream(double scale, double originX, double originY, double paperHeightPt)
    : m_matrix(Fixed(scale) + " 0 0 " + Fixed(-scale) + " " + Fixed(originX * scale) + " " +
               Fixed(paperHeightPt - originY * scale) + " cm\n")
{
}

void PdfPathStream::Number(long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    m_text.append(buffer, result.ptr);
    m_text.push_back(' ');
}

void PdfPathStream::Op(const char* op)
{
    m_text.append(op);
    m_text.push_back('\n');
}

void PdfPathStream::Stroke(const DevicePen& pen, const std::vector<RECT>& clip, const std::vector<POINT>& points,
                           const std::vector<size_t>& starts)
{
    if (points.empty()) return;
    if (m_text.empty()) m_text = "Q q\n" + m_matrix;   // back to the page's own space, whatever cairo left
    Op("q");
    for (const RECT& rc : clip) {
        Number(rc.left);
        Number(rc.top);
        Number(rc.right - rc.left);
        Number(rc.bottom - rc.top);
        Op("re");
    }
    if (!clip.empty()) Op("W n");
    const uint32_t pixel = ToPixel(pen.color);
    m_text += Fixed(((pixel >> 16) & 0xFF) / 255.0) + " " + Fixed(((pixel >> 8) & 0xFF) / 255.0) + " " +
              Fixed((pixel & 0xFF) / 255.0) + " RG\n";
    // One dot wide, ending where the last pixel ends, for a thin pen; the
    // pen's own caps and joins otherwise.
    const bool thin = pen.IsThin();
    Number(thin ? 1 : pen.width);
    Op("w");
    Number(thin || pen.endCap == PS_ENDCAP_FLAT ? 0 : pen.endCap == PS_ENDCAP_SQUARE ? 2 : 1);
    Op("J");
    Number(thin || pen.join == PS_JOIN_MITER ? 0 : pen.join == PS_JOIN_BEVEL ? 2 : 1);
    Op("j 10 M");
    Op("1 0 0 1 0.5 0.5 cm");   // dot centres
    // Short subpaths (grid lines, ticks) make one path; a long one (a
    // trace) is placed at its first point, so its points print as small
    // numbers that compress well. One plain colour: the order is free.
    bool open = false;
    for (size_t s = 0; s < starts.size(); ++s) {
        const size_t from = starts[s], to = s + 1 < starts.size() ? starts[s + 1] : points.size();
        if (to - from >= kPlacedPoints) continue;
        Subpath(points.data() + from, to - from, POINT{0, 0});
        open = true;
    }
    if (open) Op("S");
    for (size_t s = 0; s < starts.size(); ++s) {
        const size_t from = starts[s], to = s + 1 < starts.size() ? starts[s + 1] : points.size();
        if (to - from < kPlacedPoints) continue;
        const POINT origin = points[from];
        Op("q");
        m_text += "1 0 0 1 ";
        Number(origin.x);
        Number(origin.y);
        Op("cm");
        Subpath(points.data() + from, to - from, origin);
        Op("S Q");
    }
    Op("Q");
}

void PdfPathStream::Subpath(const POINT* points, size_t count, POINT origin)
{
    for (size_t i = 0; i < count; ++i) {
        Number(points[i].x - origin.x);
        Number(points[i].y - origin.y);
        Op(i == 0 ? "m" : "l");
    }
}

std::string PdfPathStream::Take()
{
    if (!m_text.empty()) m_text += "Q\n";   // as many restores as saves, counting the one before cairo's content
    std::string text;
    text.swap(m_text);
    return text;
}

PdfFileSource::PdfFileSource(int fd) : m_fd(fd)
{
    struct stat st;
    m_size = fd >= 0 && fstat(fd, &st) == 0 && st.st_size > 0 ? (size_t)st.st_size : 0;
}

bool PdfFileSource::Read(size_t offset, size_t length, std::string& out) const
{
    if (offset > m_size) return false;
    out.resize(std::min(length, m_size - offset));
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = pread(m_fd, &out[done], out.size() - done, (off_t)(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += (size_t)got;
    }
    return true;
}

bool PdfPathStream::PageUpdate(const std::string& pdf, const std::vector<std::string>& contents, std::string& update)
{
    return PageUpdate(StringSource(pdf), contents, update);
}

bool PdfPathStream::PageUpdate(const PdfSource& pdf, const std::vector<std::string>& contents, std::string& update)
{
    update.clear();
    PdfLayout layout;
    if (!ReadLayout(pdf, layout) || layout.pages.size() != contents.size()) return false;
    long next = (long)layout.offsets.size();
    const size_t base = pdf.Size();
    std::string body;
    std::map<long, long> written;   // object number to offset, for the table in order
    auto object = [&](long number, const std::string& text) {
        written[number] = (long)(base + body.size());
        body += std::to_string(number) + " 0 obj\n" + text + "endobj\n";
    };
    auto stream = [&](const std::string& data, const char* filter) {
        const long number = next++;
        object(number, "<< /Length " + std::to_string(data.size()) + filter + " >>\nstream\n" + data + "\nendstream\n");
        return std::to_string(number) + " 0 R";
    };
    std::string opening;   // the page's state saved before cairo's content, restored before ours
    for (size_t i = 0; i < contents.size(); ++i) {
        if (contents[i].empty()) continue;
        std::string page;
        if (!ObjectText(pdf, layout, layout.pages[i], page)) return false;
        const std::string cairoContent = Reference(page, "/Contents");
        const size_t key = page.find("/Contents");
        const size_t dict = page.find("<<");
        if (cairoContent.empty() || key == std::string::npos || dict == std::string::npos) return false;
        const size_t endRef = page.find('R', key);
        if (opening.empty()) opening = stream("q\n", "");
        const std::string ours = stream(Deflate(contents[i]), " /Filter /FlateDecode");
        object(layout.pages[i], page.substr(dict, key - dict) + "/Contents [" + opening + " " + cairoContent + " " +
                                    ours + "]" + page.substr(endRef + 1));
    }
    std::string xref = "xref\n0 1\n0000000000 65535 f \n";
    for (const auto& entry : written) xref += XrefEntry(entry.first, entry.second);
    std::string trailer = "trailer\n<< /Size " + std::to_string(next) + " /Root " + layout.root;
    if (!layout.info.empty()) trailer += " /Info " + layout.info;
    trailer += " /Prev " + std::to_string(layout.xref) + " >>\nstartxref\n" + std::to_string(base + body.size()) +
               "\n%%EOF\n";
    update = body + xref + trailer;
    return true;
}

}  // namespace gdi
}  // namespace platform
