// PNG output of RGB24 images through libpng, tuned for pages: a page has a
// handful of colours (paper, two grid shades, ink, text), so it goes out as
// an 8-bit palette image whenever it has no more than 256 colours, which is
// a third of the bytes to compress (half again at 16 colours or fewer), and
// is written by hand around libdeflate, whose fastest level compresses such
// rows better than zlib's and in a fraction of the time. Others go through
// libpng.
#include <libdeflate.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Image.h"

namespace platform {
namespace gdi {

namespace {

const int kDeflateLevel = 1;

// The colours of an image as palette indices, through a small
// open-addressing table: a colour is found in its first slot nearly always,
// so looking up every pixel costs less than finding where colours change.
class PaletteTable {
public:
    explicit PaletteTable(size_t limit) : m_limit(limit) { std::fill(m_keys, m_keys + kSlots, kFree); }

    // The colour's index, or -1 when the palette is full without it.
    int Find(uint32_t color)
    {
        uint32_t slot = (color * 2654435761u) >> 22;
        for (;;) {
            if (m_keys[slot] == color) return m_values[slot];
            if (m_keys[slot] == kFree) return Add(slot, color);
            slot = (slot + 1) & (kSlots - 1);
        }
    }
    const std::vector<uint32_t>& Colors() const { return m_colors; }

private:
    static constexpr uint32_t kSlots = 1024;   // a power of two, four times the largest palette
    static constexpr uint32_t kFree = 0xFFFFFFFFu;

    int Add(uint32_t slot, uint32_t color)
    {
        if (m_colors.size() == m_limit) return -1;
        m_keys[slot] = color;
        m_values[slot] = static_cast<uint8_t>(m_colors.size());
        m_colors.push_back(color);
        return m_values[slot];
    }

    size_t m_limit;
    uint32_t m_keys[kSlots];
    uint8_t m_values[kSlots];
    std::vector<uint32_t> m_colors;
};

// The image as PNG rows of palette indices of `depth` bits (4 or 8), each
// behind its filter byte (0, none: a page's rows are runs that deflate
// finds on its own); false when it has more colours than `depth` bits hold.
bool Palettize(const unsigned char* data, int width, int height, int stride, int depth, std::vector<uint32_t>* palette,
               std::vector<unsigned char>* rows)
{
    PaletteTable table(size_t(1) << depth);
    const size_t rowBytes = (static_cast<size_t>(width) * depth + 7) / 8;
    rows->resize((rowBytes + 1) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        const uint32_t* in = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        unsigned char* out = rows->data() + static_cast<size_t>(y) * (rowBytes + 1);
        // Between the grid lines and away from the traces a page row is the
        // row above it again.
        if (y > 0 && std::memcmp(in, data + static_cast<size_t>(y - 1) * stride, static_cast<size_t>(width) * 4) == 0) {
            std::memcpy(out, out - (rowBytes + 1), rowBytes + 1);
            continue;
        }
        *out++ = 0;
        int missing = 0;   // negative once a colour did not fit
        if (depth == 8) {
            for (int x = 0; x < width; ++x) {
                const int index = table.Find(in[x] & 0xFFFFFFu);
                missing |= index;
                out[x] = static_cast<unsigned char>(index);
            }
        } else {
            for (int x = 0; x < width; x += 2) {
                const int high = table.Find(in[x] & 0xFFFFFFu);
                const int low = x + 1 < width ? table.Find(in[x + 1] & 0xFFFFFFu) : 0;
                missing |= high | low;
                // A colour not in the table (-1) fails the row below; never shift it.
                out[x / 2] = static_cast<unsigned char>(((high & 0xF) << 4) | (low & 0xF));
            }
        }
        if (missing < 0) return false;
    }
    *palette = table.Colors();
    return true;
}

// Writes RGB rows as PNG through libpng.
// Nothing here changes after the jump point, as libpng's error exit needs.
bool EncodeRgb(FILE* out, int width, int height, png_bytepp rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// PNG's big-endian words and chunks.
void PutWord(std::vector<unsigned char>& out, uint32_t word)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(word >> 24), static_cast<unsigned char>(word >> 16),
                                    static_cast<unsigned char>(word >> 8), static_cast<unsigned char>(word)};
    out.insert(out.end(), bytes, bytes + 4);
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const unsigned char* data, size_t length)
{
    PutWord(out, static_cast<uint32_t>(length));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    if (length) out.insert(out.end(), data, data + length);
    PutWord(out, libdeflate_crc32(0, out.data() + start, out.size() - start));
}

// A palette image of PNG rows (see Palettize), compressed in one call.
bool EncodeIndexed(FILE* out, int width, int height, int depth, const std::vector<uint32_t>& palette,
                   const std::vector<unsigned char>& raw)
{
    std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> compressor(
        libdeflate_alloc_compressor(kDeflateLevel), libdeflate_free_compressor);
    if (!compressor) return false;
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutWord(header, static_cast<uint32_t>(width));
    PutWord(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {static_cast<unsigned char>(depth), 3, 0, 0, 0});   // palette, deflate, no interlace
    PutChunk(png, "IHDR", header.data(), header.size());
    std::vector<unsigned char> colors;
    for (uint32_t color : palette)
        colors.insert(colors.end(), {static_cast<unsigned char>(color >> 16), static_cast<unsigned char>(color >> 8),
                                     static_cast<unsigned char>(color)});
    PutChunk(png, "PLTE", colors.data(), colors.size());
    std::vector<unsigned char> data(libdeflate_zlib_compress_bound(compressor.get(), raw.size()));
    const size_t packed = libdeflate_zlib_compress(compressor.get(), raw.data(), raw.size(), data.data(), data.size());
    if (packed == 0) return false;
    PutChunk(png, "IDAT", data.data(), packed);
    PutChunk(png, "IEND", nullptr, 0);
    return std::fwrite(png.data(), 1, png.size(), out) == png.size();
}

// A page image saved again over its old file: ext4 writes out a file that
// is truncated and written anew before its close returns (milliseconds for a
// page), but not a new file in the old one's place. Only a plain file with
// one name is removed first; a link keeps its target, and a hard-linked file
// its other names.
void ReleaseOldFile(const std::string& file)
{
    struct stat old;
    if (lstat(file.c_str(), &old) == 0 && S_ISREG(old.st_mode) && old.st_nlink == 1) unlink(file.c_str());
}

}  // namespace

BOOL SaveSurfacePng(cairo_surface_t* surface, const char* path)
{
    if (!surface || !path || !*path || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
        return FALSE;
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    // Other formats (alpha, monochrome) are not pages: cairo's own writer
    // handles them.
    if (format != CAIRO_FORMAT_RGB24) {
        std::string file(path);
        std::replace(file.begin(), file.end(), '\\', '/');
        return cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
    }
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (!data || width <= 0 || height <= 0) return FALSE;

    // Sixteen colours or fewer (paper, grid, ink, text): two pixels a byte;
    // up to 256, one.
    std::vector<uint32_t> palette;
    std::vector<png_byte> pixels;
    int depth = 4;
    bool indexed = Palettize(data, width, height, stride, depth, &palette, &pixels);
    if (!indexed) indexed = Palettize(data, width, height, stride, depth = 8, &palette, &pixels);
    std::vector<png_bytep> rows;
    if (!indexed) {
        // Byte order R, G, B from the native 0x00RRGGBB words.
        pixels.resize(static_cast<size_t>(width) * 3 * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
            png_byte* out = pixels.data() + static_cast<size_t>(y) * width * 3;
            for (int x = 0; x < width; ++x) {
                out[3 * x] = static_cast<png_byte>(row[x] >> 16);
                out[3 * x + 1] = static_cast<png_byte>(row[x] >> 8);
                out[3 * x + 2] = static_cast<png_byte>(row[x]);
            }
            rows.push_back(out);
        }
    }

    std::string file(path);
    std::replace(file.begin(), file.end(), '\\', '/');
    ReleaseOldFile(file);
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return FALSE;
    bool ok = indexed ? EncodeIndexed(out, width, height, depth, palette, pixels) : EncodeRgb(out, width, height, rows.data());
    if (std::fclose(out) != 0) ok = false;
    if (!ok) std::remove(file.c_str());
    return ok ? TRUE : FALSE;
}

}  // namespace gdi
}  // namespace platform
