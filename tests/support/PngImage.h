// A PNG the host or a printer wrote, read back for pixel probes: its pixels
// as 0xRRGGBB, black ink told from paper and grid, and counts of the pixels
// a probe looks for.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct _cairo_surface;

namespace testsupport {

class PngImage {
public:
    // A file that cannot be read gives an image that is not Ok().
    explicit PngImage(const std::string& path);
    ~PngImage();
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    bool Ok() const;
    int Width() const;
    int Height() const;
    // The pixel at (x, y), 0xRRGGBB; (x, y) must lie in the image.
    uint32_t Pixel(int x, int y) const;
    // Black ink (traces, texts, frames): every channel under 100.
    static bool IsDark(uint32_t rgb) { return ((rgb >> 16) & 0xFF) < 100 && ((rgb >> 8) & 0xFF) < 100 && (rgb & 0xFF) < 100; }
    bool Dark(int x, int y) const { return IsDark(Pixel(x, y)); }
    // The pixels of the image, or of columns [left, right) and rows [top,
    // bottom) clipped to it, for which `counted` holds; 0 when not Ok().
    int Count(const std::function<bool(uint32_t rgb)>& counted) const;
    int CountIn(int left, int top, int right, int bottom, const std::function<bool(uint32_t rgb)>& counted) const;

private:
    _cairo_surface* m_surface;
};

}  // namespace testsupport
