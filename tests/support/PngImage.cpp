#include "tests/support/PngImage.h"

#include <cairo.h>

#include <algorithm>

namespace testsupport {

PngImage::PngImage(const std::string& path) : m_surface(cairo_image_surface_create_from_png(path.c_str()))
{
    if (Ok()) cairo_surface_flush(m_surface);
}

PngImage::~PngImage()
{
    cairo_surface_destroy(m_surface);
}

bool PngImage::Ok() const
{
    return cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS;
}

int PngImage::Width() const
{
    return Ok() ? cairo_image_surface_get_width(m_surface) : 0;
}

int PngImage::Height() const
{
    return Ok() ? cairo_image_surface_get_height(m_surface) : 0;
}

uint32_t PngImage::Pixel(int x, int y) const
{
    const unsigned char* row = cairo_image_surface_get_data(m_surface) + y * cairo_image_surface_get_stride(m_surface);
    return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
}

int PngImage::Count(const std::function<bool(uint32_t rgb)>& counted) const
{
    return CountIn(0, 0, Width(), Height(), counted);
}

int PngImage::CountIn(int left, int top, int right, int bottom, const std::function<bool(uint32_t rgb)>& counted) const
{
    int count = 0;
    for (int y = std::max(0, top); y < std::min(Height(), bottom); ++y)
        for (int x = std::max(0, left); x < std::min(Width(), right); ++x) count += counted(Pixel(x, y)) ? 1 : 0;
    return count;
}

}  // namespace testsupport
