#include "platform/ui/windowing/StockImages.h"

#include <cmath>
#include <initializer_list>

namespace platform::ui::detail {

namespace {

const int kSize = 32;   // the size of Windows' standard cursors and icons
const uint32_t kBlack = 0xFF000000u;
const uint32_t kWhite = 0xFFFFFFFFu;
const uint32_t kRed = 0xFFD01010u;
const uint32_t kBlue = 0xFF1050C0u;
const uint32_t kYellow = 0xFFF0C000u;
const uint32_t kGreen = 0xFF10A030u;

struct Point {
    double x;
    double y;
};

class Canvas {
public:
    Canvas() { m_image.width = m_image.height = kSize; m_image.argb.assign(kSize * kSize, 0u); }

    // Fills the polygon (even-odd, sampled at pixel centres) with `outline`
    // and paints its inner pixels with `fill`, which leaves the one-pixel
    // border that keeps a cursor visible on any background.
    void Polygon(std::initializer_list<Point> points, uint32_t fill, uint32_t outline)
    {
        std::vector<Point> poly(points);
        std::vector<bool> inside(kSize * kSize, false);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) inside[y * kSize + x] = Contains(poly, x + 0.5, y + 0.5);
        Paint(inside, fill, outline);
    }

    void Disc(double cx, double cy, double r, uint32_t fill, uint32_t outline)
    {
        std::vector<bool> inside(kSize * kSize, false);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) inside[y * kSize + x] = std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r;
        Paint(inside, fill, outline);
    }

    void Rect(int left, int top, int right, int bottom, uint32_t color)
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) Set(x, y, color);
    }

    ResourceImage Take(int hotX, int hotY)
    {
        m_image.hotX = hotX;
        m_image.hotY = hotY;
        return m_image;
    }

private:
    static bool Contains(const std::vector<Point>& poly, double px, double py)
    {
        bool in = false;
        for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
            const Point& a = poly[i];
            const Point& b = poly[j];
            if ((a.y > py) == (b.y > py)) continue;
            double crossX = a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y);
            if (px < crossX) in = !in;
        }
        return in;
    }

    void Paint(const std::vector<bool>& inside, uint32_t fill, uint32_t outline)
    {
        auto at = [&](int x, int y) { return x >= 0 && y >= 0 && x < kSize && y < kSize && inside[y * kSize + x]; };
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                if (!at(x, y)) continue;
                bool inner = at(x - 1, y) && at(x + 1, y) && at(x, y - 1) && at(x, y + 1);
                Set(x, y, inner ? fill : outline);
            }
        }
    }

    void Set(int x, int y, uint32_t color)
    {
        if (x < 0 || y < 0 || x >= kSize || y >= kSize) return;
        m_image.argb[y * kSize + x] = color;
    }

    ResourceImage m_image;
};

ResourceImage Arrow()
{
    Canvas c;
    c.Polygon({{0, 0}, {0, 18}, {4.5, 14}, {7.5, 21}, {10, 20}, {7, 13}, {12.5, 13}}, kWhite, kBlack);
    return c.Take(0, 0);
}

ResourceImage IBeam()
{
    Canvas c;
    c.Rect(15, 8, 17, 25, kBlack);
    c.Rect(12, 7, 15, 9, kBlack);
    c.Rect(17, 7, 20, 9, kBlack);
    c.Rect(12, 24, 15, 26, kBlack);
    c.Rect(17, 24, 20, 26, kBlack);
    return c.Take(16, 16);
}

ResourceImage Hourglass()
{
    Canvas c;
    c.Polygon({{8, 3}, {24, 3}, {24, 7}, {18, 16}, {24, 25}, {24, 29}, {8, 29}, {8, 25}, {14, 16}, {8, 7}}, kWhite,
              kBlack);
    c.Rect(9, 25, 23, 28, kBlack);   // the sand that has run through
    return c.Take(16, 16);
}

ResourceImage Cross()
{
    Canvas c;
    c.Rect(16, 5, 17, 28, kBlack);
    c.Rect(5, 16, 28, 17, kBlack);
    return c.Take(16, 16);
}

ResourceImage Hand()
{
    Canvas c;
    c.Polygon({{6, 1}, {7, 0}, {9, 0}, {10, 1}, {10, 10}, {19, 11}, {21, 13}, {21, 21}, {18, 27}, {9, 27}, {3, 19},
               {3, 16}, {5, 15}, {6, 17}},
              kWhite, kBlack);
    return c.Take(8, 0);
}

// A double-headed arrow along the direction (dx, dy) through the centre.
ResourceImage DoubleArrow(double dx, double dy)
{
    const double len = std::hypot(dx, dy);
    const double ux = dx / len, uy = dy / len;   // along the arrow
    const double vx = -uy, vy = ux;              // across it
    auto p = [&](double along, double across) { return Point{16 + ux * along + vx * across, 16 + uy * along + vy * across}; };
    Canvas c;
    c.Polygon({p(-12, 0), p(-7, -5), p(-7, -2), p(7, -2), p(7, -5), p(12, 0), p(7, 5), p(7, 2), p(-7, 2), p(-7, 5)},
              kWhite, kBlack);
    return c.Take(16, 16);
}

ResourceImage FourArrows()
{
    Canvas c;
    c.Polygon({{16, 3}, {21, 8}, {18, 8}, {18, 14}, {24, 14}, {24, 11}, {29, 16}, {24, 21}, {24, 18}, {18, 18},
               {18, 24}, {21, 24}, {16, 29}, {11, 24}, {14, 24}, {14, 18}, {8, 18}, {8, 21}, {3, 16}, {8, 11},
               {8, 14}, {14, 14}, {14, 8}, {11, 8}},
              kWhite, kBlack);
    return c.Take(16, 16);
}

ResourceImage UpArrow()
{
    Canvas c;
    c.Polygon({{16, 1}, {25, 10}, {19, 10}, {19, 29}, {13, 29}, {13, 10}, {7, 10}}, kWhite, kBlack);
    return c.Take(16, 1);
}

ResourceImage NoEntry()
{
    Canvas c;
    c.Disc(16, 16, 12, kRed, kBlack);
    c.Disc(16, 16, 8, kWhite, kWhite);
    c.Polygon({{8, 10}, {10, 8}, {24, 22}, {22, 24}}, kRed, kRed);
    return c.Take(16, 16);
}

ResourceImage ApplicationIcon()
{
    Canvas c;
    c.Rect(2, 4, 30, 28, kBlack);
    c.Rect(3, 5, 29, 27, kWhite);
    c.Rect(3, 5, 29, 10, kBlue);
    return c.Take(kSize / 2, kSize / 2);
}

ResourceImage ErrorIcon()
{
    Canvas c;
    c.Disc(16, 16, 14, kRed, kBlack);
    c.Polygon({{9, 11}, {11, 9}, {23, 21}, {21, 23}}, kWhite, kWhite);
    c.Polygon({{21, 9}, {23, 11}, {11, 23}, {9, 21}}, kWhite, kWhite);
    return c.Take(kSize / 2, kSize / 2);
}

ResourceImage QuestionIcon()
{
    Canvas c;
    c.Disc(16, 16, 14, kBlue, kBlack);
    c.Polygon({{11, 9}, {14, 6}, {19, 6}, {22, 9}, {22, 13}, {18, 17}, {18, 20}, {15, 20}, {15, 16}, {19, 12},
               {19, 10}, {18, 9}, {15, 9}, {14, 11}},
              kWhite, kWhite);
    c.Rect(15, 22, 18, 25, kWhite);
    return c.Take(kSize / 2, kSize / 2);
}

ResourceImage WarningIcon()
{
    Canvas c;
    c.Polygon({{16, 2}, {30, 28}, {2, 28}}, kYellow, kBlack);
    c.Rect(15, 10, 18, 21, kBlack);
    c.Rect(15, 23, 18, 26, kBlack);
    return c.Take(kSize / 2, kSize / 2);
}

ResourceImage InformationIcon()
{
    Canvas c;
    c.Disc(16, 16, 14, kBlue, kBlack);
    c.Rect(15, 7, 18, 10, kWhite);
    c.Rect(15, 12, 18, 25, kWhite);
    return c.Take(kSize / 2, kSize / 2);
}

ResourceImage LogoIcon()
{
    Canvas c;
    c.Rect(3, 3, 15, 15, kRed);
    c.Rect(17, 3, 29, 15, kGreen);
    c.Rect(3, 17, 15, 29, kBlue);
    c.Rect(17, 17, 29, 29, kYellow);
    return c.Take(kSize / 2, kSize / 2);
}

UINT Id(LPCWSTR name)
{
    return LOWORD(name);
}

}  // namespace

ResourceTable BuildStockResources()
{
    ResourceTable table;
    table.cursors[Id(IDC_ARROW)] = Arrow();
    table.cursors[Id(IDC_IBEAM)] = IBeam();
    table.cursors[Id(IDC_WAIT)] = Hourglass();
    table.cursors[Id(IDC_CROSS)] = Cross();
    table.cursors[Id(IDC_UPARROW)] = UpArrow();
    table.cursors[Id(IDC_SIZENWSE)] = DoubleArrow(1, 1);
    table.cursors[Id(IDC_SIZENESW)] = DoubleArrow(1, -1);
    table.cursors[Id(IDC_SIZEWE)] = DoubleArrow(1, 0);
    table.cursors[Id(IDC_SIZENS)] = DoubleArrow(0, 1);
    table.cursors[Id(IDC_SIZEALL)] = FourArrows();
    table.cursors[Id(IDC_NO)] = NoEntry();
    table.cursors[Id(IDC_HAND)] = Hand();
    table.cursors[Id(IDC_APPSTARTING)] = Arrow();
    table.cursors[Id(IDC_HELP)] = Arrow();

    table.icons[Id(IDI_APPLICATION)] = ApplicationIcon();
    table.icons[Id(IDI_HAND)] = ErrorIcon();
    table.icons[Id(IDI_QUESTION)] = QuestionIcon();
    table.icons[Id(IDI_EXCLAMATION)] = WarningIcon();
    table.icons[Id(IDI_ASTERISK)] = InformationIcon();
    table.icons[Id(IDI_WINLOGO)] = LogoIcon();
    return table;
}

}  // namespace platform::ui::detail
