// PNG output of RGB24 images through libpng, tuned for pages: a page has a
// handful of colours (paper, two grid shades, ink, text), so it goes out as
// an 8-bit palette image whenever it has no more than 256 colours, which is
// a third of the bytes to compress; and deflate runs at its fastest level,
// which on such images costs little in size and most of the time otherwise.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/Image.h"

namespace platform {
namespace gdi {

namespace {

// The colours of the image and each pixel's palette index; false when it has
// more than 256 colours. Colours are found through a small open-addressing
// table, and only where a row changes colour.
bool Palettize(const unsigned char* data, int width, int height, int stride, std::vector<uint32_t>* palette,
               std::vector<png_byte>* indexed)
{
    constexpr uint32_t kSlots = 1024;   // a power of two, four times the palette
    constexpr uint32_t kFree = 0xFFFFFFFFu;
    uint32_t keys[kSlots];
    png_byte values[kSlots];
    std::fill(keys, keys + kSlots, kFree);
    palette->clear();
    indexed->resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    uint32_t lastColor = kFree;
    png_byte lastIndex = 0;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        png_byte* out = indexed->data() + static_cast<size_t>(y) * width;
        // A page row is long runs of paper with short runs of ink.
        for (int x = 0; x < width;) {
            const uint32_t color = row[x] & 0xFFFFFFu;
            if (color != lastColor) {
                uint32_t slot = (color * 2654435761u) >> 22;
                while (keys[slot] != color && keys[slot] != kFree) slot = (slot + 1) & (kSlots - 1);
                if (keys[slot] == kFree) {
                    if (palette->size() == 256) return false;
                    keys[slot] = color;
                    values[slot] = static_cast<png_byte>(palette->size());
                    palette->push_back(color);
                }
                lastColor = color;
                lastIndex = values[slot];
            }
            int end = x + 1;
            while (end < width && (row[end] & 0xFFFFFFu) == color) ++end;
            std::memset(out + x, lastIndex, static_cast<size_t>(end - x));
            x = end;
        }
    }
    return true;
}

// Writes the rows as PNG: a palette image of `depth` bits a pixel when
// `colors` is given, else RGB.
// Nothing here changes after the jump point, as libpng's error exit needs.
bool Encode(FILE* out, int width, int height, int depth, const png_color* colors, int colorCount, png_bytepp rows)
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
    if (colors) {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
        png_set_IHDR(png, info, width, height, depth, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
        png_set_PLTE(png, info, colors, colorCount);
    } else {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
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

    std::vector<uint32_t> palette;
    std::vector<png_byte> pixels;
    const bool indexed = Palettize(data, width, height, stride, &palette, &pixels);
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
        }
    }

    std::vector<png_color> colors(palette.size());
    for (size_t i = 0; i < palette.size(); ++i)
        colors[i] = png_color{static_cast<png_byte>(palette[i] >> 16), static_cast<png_byte>(palette[i] >> 8),
                              static_cast<png_byte>(palette[i])};
    // Sixteen colours or fewer (paper, grid, ink, text): two pixels a byte,
    // half the bytes to compress.
    const int depth = indexed && palette.size() <= 16 ? 4 : 8;
    if (depth == 4) {
        const size_t packedRow = (static_cast<size_t>(width) + 1) / 2;
        for (int y = 0; y < height; ++y) {
            const png_byte* in = pixels.data() + static_cast<size_t>(y) * width;
            png_byte* out = pixels.data() + static_cast<size_t>(y) * packedRow;   // never ahead of `in`
            for (int x = 0; x + 1 < width; x += 2) out[x / 2] = static_cast<png_byte>((in[x] << 4) | in[x + 1]);
            if (width & 1) out[width / 2] = static_cast<png_byte>(in[width - 1] << 4);
        }
    }
    const size_t rowBytes = indexed ? (static_cast<size_t>(width) * depth + 7) / 8 : static_cast<size_t>(width) * 3;
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rows[static_cast<size_t>(y)] = pixels.data() + static_cast<size_t>(y) * rowBytes;

    std::string file(path);
    std::replace(file.begin(), file.end(), '\\', '/');
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return FALSE;
    bool ok = Encode(out, width, height, depth, indexed ? colors.data() : nullptr, static_cast<int>(colors.size()), rows.data());
    if (std::fclose(out) != 0) ok = false;
    if (!ok) std::remove(file.c_str());
    return ok ? TRUE : FALSE;
}

}  // namespace gdi
}  // namespace platform
