// Bitmaps from PNG bytes (through cairo) and from BMP bytes (packed DIBs,
// with or without the file header), read with every length checked.
#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/Resources.h"

namespace platform::ui {

namespace {

const int kLargestSide = 32767;
const size_t kLargestPixels = 64u * 1024u * 1024u;

struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<BYTE> bgra;   // top-down rows, 4 bytes a pixel: blue, green, red, unused
};

HBITMAP ToBitmap(const PixelImage& image)
{
    if (image.width <= 0 || image.height <= 0) return nullptr;
    return CreateBitmap(image.width, image.height, 1, 32, image.bgra.data());
}

struct MemoryStream {
    const BYTE* data;
    size_t size;
    size_t pos;
};

cairo_status_t ReadMemory(void* closure, unsigned char* out, unsigned int length)
{
    auto* stream = static_cast<MemoryStream*>(closure);
    if (length > stream->size - stream->pos) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, stream->data + stream->pos, length);
    stream->pos += length;
    return CAIRO_STATUS_SUCCESS;
}

bool DecodePng(const BYTE* data, size_t size, PixelImage& out)
{
    MemoryStream stream = {data, size, 0};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(&ReadMemory, &stream);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return false;
    }
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    // Flattened on white: a bitmap has no alpha.
    cairo_surface_t* flat = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(flat);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    cairo_surface_flush(flat);
    out.width = width;
    out.height = height;
    out.bgra.resize(static_cast<size_t>(width) * height * 4);
    const unsigned char* pixels = cairo_image_surface_get_data(flat);
    const int stride = cairo_image_surface_get_stride(flat);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t pixel;
            std::memcpy(&pixel, pixels + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4, 4);
            BYTE* to = &out.bgra[(static_cast<size_t>(y) * width + x) * 4];
            to[0] = static_cast<BYTE>(pixel);
            to[1] = static_cast<BYTE>(pixel >> 8);
            to[2] = static_cast<BYTE>(pixel >> 16);
            to[3] = 0;
        }
    }
    cairo_surface_destroy(flat);
    return true;
}

uint32_t Little(const BYTE* p, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}

bool DecodeDib(const BYTE* data, size_t size, PixelImage& out)
{
    size_t headerAt = 0;
    size_t bitsAt = 0;
    bool fileHeader = size >= 14 && data[0] == 'B' && data[1] == 'M';
    if (fileHeader) {
        headerAt = 14;
        bitsAt = Little(data + 10, 4);
    }
    if (size < headerAt + 40) return false;
    const BYTE* info = data + headerAt;
    const uint32_t infoSize = Little(info, 4);
    if (infoSize < 40 || infoSize > size - headerAt) return false;
    const int32_t width = static_cast<int32_t>(Little(info + 4, 4));
    const int32_t rawHeight = static_cast<int32_t>(Little(info + 8, 4));
    const int bpp = static_cast<int>(Little(info + 14, 2));
    const uint32_t compression = Little(info + 16, 4);
    uint32_t colors = Little(info + 32, 4);
    if (width <= 0 || width > kLargestSide || rawHeight == 0 || rawHeight < -kLargestSide || rawHeight > kLargestSide)
        return false;
    const bool topDown = rawHeight < 0;
    const int height = topDown ? -rawHeight : rawHeight;
    if (static_cast<size_t>(width) * height > kLargestPixels) return false;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return false;
    // Plain colours only (32-bit images may name their standard masks).
    if (!(compression == 0 || (compression == 3 && bpp == 32))) return false;
    const size_t paletteAt = headerAt + infoSize + (compression == 3 && infoSize == 40 ? 12 : 0);
    std::vector<uint32_t> palette;
    if (bpp <= 8) {
        if (colors == 0 || colors > (1u << bpp)) colors = 1u << bpp;
        if (paletteAt + static_cast<size_t>(colors) * 4 > size) return false;
        for (uint32_t i = 0; i < colors; ++i) palette.push_back(Little(data + paletteAt + i * 4, 4));
    }
    if (!fileHeader) bitsAt = paletteAt + palette.size() * 4;
    const size_t rowBytes = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    if (bitsAt > size || rowBytes * height > size - bitsAt) return false;

    out.width = width;
    out.height = height;
    out.bgra.assign(static_cast<size_t>(width) * height * 4, 0);
    for (int row = 0; row < height; ++row) {
        const BYTE* source = data + bitsAt + rowBytes * static_cast<size_t>(topDown ? row : height - 1 - row);
        for (int x = 0; x < width; ++x) {
            uint32_t bgr = 0;
            switch (bpp) {
            case 1: bgr = palette[std::min<size_t>((source[x / 8] >> (7 - x % 8)) & 1, palette.size() - 1)]; break;
            case 4: bgr = palette[std::min<size_t>((source[x / 2] >> (x % 2 ? 0 : 4)) & 0xF, palette.size() - 1)]; break;
            case 8: bgr = palette[std::min<size_t>(source[x], palette.size() - 1)]; break;
            case 24: bgr = Little(source + x * 3, 3); break;
            default: bgr = Little(source + x * 4, 4); break;
            }
            BYTE* to = &out.bgra[(static_cast<size_t>(row) * width + x) * 4];
            to[0] = static_cast<BYTE>(bgr);
            to[1] = static_cast<BYTE>(bgr >> 8);
            to[2] = static_cast<BYTE>(bgr >> 16);
        }
    }
    return true;
}

}  // namespace

HBITMAP CreateBitmapFromImageBytes(const BYTE* data, size_t size)
{
    if (!data || size == 0) return nullptr;
    PixelImage image;
    static const BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    const bool png = size >= 8 && std::memcmp(data, kPngSignature, 8) == 0;
    if (!(png ? DecodePng(data, size, image) : DecodeDib(data, size, image))) return nullptr;
    return ToBitmap(image);
}

}  // namespace platform::ui
