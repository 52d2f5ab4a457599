// The legend of the serial comparison's overlapped beat (bitmap 127, shown
// by static 3502 of panel 126): three beats of different colours laid over
// one another on a white card with a grey frame, the way the overlap column
// draws the records it superimposes. Drawn once into a 24-bit device-
// independent bitmap when the library loads and registered beside the
// library's other resources.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/ui/windowing/Resources.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 32;
constexpr UINT kBitmapType = 2;   // RT_BITMAP

struct Rgb {
    uint8_t r, g, b;
};

class Canvas {
public:
    Canvas() : m_pixels(static_cast<size_t>(kWidth) * kHeight, Rgb{255, 255, 255}) {}

    void Set(int x, int y, Rgb c)
    {
        if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) m_pixels[static_cast<size_t>(y) * kWidth + x] = c;
    }
    // A line of whole pixels from (x0, y0) to (x1, y1).
    void Line(int x0, int y0, int x1, int y1, Rgb c)
    {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i) {
            const double t = steps ? static_cast<double>(i) / steps : 0.0;
            Set(static_cast<int>(std::lround(x0 + (x1 - x0) * t)), static_cast<int>(std::lround(y0 + (y1 - y0) * t)), c);
        }
    }
    // Bottom-up rows, each padded to four bytes, blue green red.
    std::vector<BYTE> Dib() const
    {
        const size_t rowBytes = ((kWidth * 24 + 31) / 32) * 4;
        std::vector<BYTE> bytes(40 + rowBytes * kHeight, 0);
        auto put = [&bytes](size_t at, uint32_t value, int size) {
            for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<BYTE>(value >> (8 * i));
        };
        put(0, 40, 4);
        put(4, kWidth, 4);
        put(8, kHeight, 4);
        put(12, 1, 2);
        put(14, 24, 2);
        put(20, static_cast<uint32_t>(rowBytes * kHeight), 4);
        for (int y = 0; y < kHeight; ++y) {
            BYTE* row = bytes.data() + 40 + rowBytes * static_cast<size_t>(kHeight - 1 - y);
            for (int x = 0; x < kWidth; ++x) {
                const Rgb& c = m_pixels[static_cast<size_t>(y) * kWidth + x];
                row[3 * x] = c.b;
                row[3 * x + 1] = c.g;
                row[3 * x + 2] = c.r;
            }
        }
        return bytes;
    }

private:
    std::vector<Rgb> m_pixels;
};

// A beat as points along the card: base line, P, Q, R, S, T; `scale` sets the
// height of R above the base line and `shift` moves the beat sideways.
void DrawBeat(Canvas& canvas, double scale, int shift, Rgb colour)
{
    const int base = 22;
    const double points[][2] = {{3, 0},  {8, 0},  {10, -2}, {12, 0},  {15, 0},  {16, 2},
                                {18, -15}, {20, 5}, {21, 0}, {26, 0}, {29, -4}, {32, 0}, {37, 0}};
    const int count = static_cast<int>(sizeof(points) / sizeof(points[0]));
    for (int i = 1; i < count; ++i) {
        canvas.Line(static_cast<int>(points[i - 1][0]) + shift, base + static_cast<int>(std::lround(points[i - 1][1] * scale)),
                    static_cast<int>(points[i][0]) + shift, base + static_cast<int>(std::lround(points[i][1] * scale)),
                    colour);
    }
}

platform::ui::ResourceTable BuildOverlapLegend()
{
    Canvas canvas;
    const Rgb frame{128, 128, 128};
    canvas.Line(0, 0, kWidth - 1, 0, frame);
    canvas.Line(0, kHeight - 1, kWidth - 1, kHeight - 1, frame);
    canvas.Line(0, 0, 0, kHeight - 1, frame);
    canvas.Line(kWidth - 1, 0, kWidth - 1, kHeight - 1, frame);
    DrawBeat(canvas, 0.75, 1, Rgb{0, 128, 0});
    DrawBeat(canvas, 0.9, 0, Rgb{0, 0, 255});
    DrawBeat(canvas, 1.0, -1, Rgb{255, 0, 0});
    platform::ui::ResourceTable table;
    table.data[{kBitmapType, IDB_SERIAL_OVERLAP_LEGEND}] = canvas.Dib();
    return table;
}

const platform::ui::ResourceRegistrar s_overlapLegend(BuildOverlapLegend());

}  // namespace
