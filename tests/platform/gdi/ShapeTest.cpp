// Polylines, polygons, ellipses, rounded rectangles, frames, edges and focus
// rectangles, pen styles and brush hatches, probed pixel by pixel.
#include "platform/gdi/Dc.h"
#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using ShapeTest = LeakCheckedTest;

namespace {

template <class H> H As(HGDIOBJ object)
{
    return reinterpret_cast<H>(object);
}

// Selects a pen and a brush for a scope.
class Tools {
public:
    Tools(HDC hdc, HPEN pen, HBRUSH brush) : m_hdc(hdc)
    {
        m_oldPen = SelectObject(hdc, pen ? Obj(pen) : GetStockObject(BLACK_PEN));
        m_oldBrush = SelectObject(hdc, brush ? Obj(brush) : GetStockObject(NULL_BRUSH));
    }
    ~Tools()
    {
        SelectObject(m_hdc, m_oldPen);
        SelectObject(m_hdc, m_oldBrush);
    }
    Tools(const Tools&) = delete;
    Tools& operator=(const Tools&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_oldPen, m_oldBrush;
};

COLORREF TestSysColor(int index)
{
    switch (index) {
    case COLOR_3DFACE: return RGB(200, 200, 200);
    case COLOR_3DSHADOW: return RGB(100, 100, 100);
    case COLOR_3DDKSHADOW: return RGB(10, 10, 10);
    case COLOR_3DHIGHLIGHT: return RGB(250, 250, 250);
    case COLOR_3DLIGHT: return RGB(220, 220, 220);
    default: return RGB(1, 2, 3);
    }
}

}  // namespace

TEST_F(ShapeTest, PolylinePaintsEachCornerOnceAndNotItsLastPoint)
{
    ScopedImageDC dc(10, 10);
    SetROP2(dc, R2_NOT);   // a pixel painted twice comes back white
    const POINT points[] = {{1, 1}, {6, 1}, {6, 5}, {2, 5}};
    ASSERT_TRUE(Polyline(dc, points, 4));
    EXPECT_PIXEL(dc, 1, 1, kBlack);
    EXPECT_PIXEL(dc, 6, 1, kBlack);
    EXPECT_PIXEL(dc, 6, 5, kBlack);
    EXPECT_PIXEL(dc, 3, 5, kBlack);
    EXPECT_PIXEL(dc, 2, 5, kWhite) << "the last point";
    POINT position = {7, 7};
    GetCurrentPositionEx(dc, &position);
    EXPECT_EQ(0, position.x) << "Polyline leaves the current position alone";
    EXPECT_FALSE(Polyline(dc, points, 1));
    EXPECT_FALSE(Polyline(dc, nullptr, 4));
}

TEST_F(ShapeTest, WindingFillsTheHoleThatAlternateLeaves)
{
    // An outer square and an inner one traced the same way round: the inner
    // one is a hole under ALTERNATE and filled under WINDING.
    const POINT points[] = {{0, 0}, {16, 0}, {16, 16}, {0, 16}, {0, 0}, {4, 4}, {12, 4}, {12, 12}, {4, 12}, {4, 4}};
    for (int mode : {ALTERNATE, WINDING}) {
        ScopedImageDC dc(20, 20);
        Tools tools(dc, As<HPEN>(GetStockObject(NULL_PEN)), As<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EXPECT_EQ(ALTERNATE, SetPolyFillMode(dc, mode));
        ASSERT_TRUE(Polygon(dc, points, 10));
        EXPECT_PIXEL(dc, 2, 8, kBlack) << "mode " << mode;
        EXPECT_PIXEL(dc, 8, 8, mode == WINDING ? kBlack : kWhite) << "mode " << mode;
        EXPECT_PIXEL(dc, 15, 15, kBlack);
        EXPECT_PIXEL(dc, 16, 8, kWhite) << "the fill stops before the right edge";
    }
    ScopedImageDC dc(4, 4);
    EXPECT_EQ(0, SetPolyFillMode(dc, 3));
}

TEST_F(ShapeTest, PolygonOutlineGoesThroughItsVertices)
{
    ScopedImageDC dc(12, 12);
    ScopedObject<HBRUSH> red(CreateSolidBrush(kRed));
    Tools tools(dc, nullptr, red);
    const POINT square[] = {{2, 2}, {8, 2}, {8, 6}, {2, 6}};
    ASSERT_TRUE(Polygon(dc, square, 4));
    // Unlike Rectangle, the outline includes the right and bottom vertices.
    EXPECT_PIXEL(dc, 8, 2, kBlack);
    EXPECT_PIXEL(dc, 8, 6, kBlack);
    EXPECT_PIXEL(dc, 2, 6, kBlack);
    EXPECT_PIXEL(dc, 5, 4, kRed);
    EXPECT_PIXEL(dc, 9, 4, kWhite);
}

TEST_F(ShapeTest, EllipseTouchesTheMiddleOfEachSideOfItsBox)
{
    ScopedImageDC dc(16, 12);
    ScopedObject<HBRUSH> red(CreateSolidBrush(kRed));
    Tools tools(dc, nullptr, red);
    ASSERT_TRUE(Ellipse(dc, 2, 2, 13, 9));   // 11 x 7: centre (7, 5)
    EXPECT_PIXEL(dc, 2, 5, kBlack);
    EXPECT_PIXEL(dc, 12, 5, kBlack);
    EXPECT_PIXEL(dc, 7, 2, kBlack);
    EXPECT_PIXEL(dc, 7, 8, kBlack);
    EXPECT_PIXEL(dc, 7, 5, kRed);
    EXPECT_PIXEL(dc, 13, 5, kWhite) << "right edge exclusive";
    EXPECT_PIXEL(dc, 7, 9, kWhite) << "bottom edge exclusive";
    EXPECT_PIXEL(dc, 2, 2, kWhite) << "corners stay out";
    // Symmetric about the centre, pixel for pixel.
    for (int y = 2; y < 9; ++y) {
        for (int x = 2; x < 13; ++x) {
            EXPECT_EQ(GetPixel(dc, x, y), GetPixel(dc, 14 - x, 10 - y)) << x << ", " << y;
        }
    }
    // The outline is closed: every row between top and bottom has ink at both ends.
    for (int y = 2; y < 9; ++y) {
        int left = -1;
        for (int x = 0; x < 16 && left < 0; ++x)
            if (GetPixel(dc, x, y) == kBlack) left = x;
        EXPECT_GE(left, 2) << "row " << y;
        EXPECT_NE(kWhite, GetPixel(dc, left + 1, y)) << "row " << y;
    }
}

TEST_F(ShapeTest, RoundRectWithoutCornersIsARectangle)
{
    ScopedImageDC a(14, 10), b(14, 10);
    ScopedObject<HBRUSH> blue(CreateSolidBrush(kBlue));
    Tools ta(a, nullptr, blue), tb(b, nullptr, blue);
    ASSERT_TRUE(RoundRect(a, 2, 1, 12, 8, 0, 0));
    ASSERT_TRUE(Rectangle(b, 2, 1, 12, 8));
    EXPECT_EQ(Snapshot(b, 14, 10), Snapshot(a, 14, 10));
    // With corners, the corner pixels stay out and the sides stay in.
    ASSERT_TRUE(RoundRect(a, 2, 1, 12, 8, 6, 6));
    EXPECT_PIXEL(a, 7, 1, kBlack);
    EXPECT_PIXEL(a, 2, 4, kBlack);
    EXPECT_PIXEL(a, 11, 4, kBlack);
}

TEST_F(ShapeTest, NullPenShapesLoseTheirRightColumnAndBottomRow)
{
    ScopedImageDC dc(12, 12);
    Tools tools(dc, As<HPEN>(GetStockObject(NULL_PEN)), As<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ASSERT_TRUE(Ellipse(dc, 0, 0, 11, 11));
    EXPECT_PIXEL(dc, 5, 5, kBlack);
    EXPECT_PIXEL(dc, 0, 5, kBlack);
    EXPECT_PIXEL(dc, 10, 5, kWhite);
    EXPECT_PIXEL(dc, 5, 10, kWhite);
}

// Every figure drawn twice with R2_XORPEN leaves the picture exactly as it was.
TEST_F(ShapeTest, XorFiguresDrawnTwiceLeaveNoTrace)
{
    ScopedObject<HPEN> thin(CreatePen(PS_SOLID, 1, RGB(255, 0, 255)));
    ScopedObject<HPEN> wide(CreatePen(PS_SOLID, 5, RGB(0, 255, 255)));
    ScopedObject<HPEN> dotted(CreatePen(PS_DOT, 1, RGB(255, 255, 0)));
    ScopedObject<HBRUSH> hatch(CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 255)));
    ScopedObject<HBRUSH> solid(CreateSolidBrush(RGB(200, 100, 50)));
    const POINT zigzag[] = {{1, 1}, {30, 20}, {5, 28}, {33, 3}, {20, 33}};
    struct Figure {
        const char* name;
        HPEN pen;
        HBRUSH brush;
        int kind;   // 0 line, 1 polyline, 2 rectangle, 3 ellipse, 4 polygon, 5 round rect
    };
    const Figure kFigures[] = {
        {"thin line", thin, nullptr, 0},        {"wide line", wide, nullptr, 0},
        {"dotted polyline", dotted, nullptr, 1}, {"wide polyline", wide, nullptr, 1},
        {"thin polyline", thin, nullptr, 1},    {"rectangle", thin, solid, 2},
        {"wide rectangle", wide, hatch, 2},     {"ellipse", thin, hatch, 3},
        {"wide ellipse", wide, solid, 3},       {"polygon", dotted, solid, 4},
        {"round rect", thin, solid, 5},
    };
    for (const Figure& figure : kFigures) {
        ScopedImageDC dc(36, 36);
        PaintStripes(dc, 36, 36);
        const std::vector<COLORREF> before = Snapshot(dc, 36, 36);
        Tools tools(dc, figure.pen, figure.brush);
        SetROP2(dc, R2_XORPEN);
        for (int pass = 0; pass < 2; ++pass) {
            switch (figure.kind) {
            case 0: MoveToEx(dc, 2, 3, nullptr); LineTo(dc, 31, 22); break;
            case 1: Polyline(dc, zigzag, 5); break;
            case 2: Rectangle(dc, 3, 4, 30, 25); break;
            case 3: Ellipse(dc, 3, 4, 30, 25); break;
            case 4: Polygon(dc, zigzag, 5); break;
            default: RoundRect(dc, 3, 4, 30, 25, 9, 7); break;
            }
            if (pass == 0) {
                EXPECT_NE(before, Snapshot(dc, 36, 36)) << figure.name << " drew nothing";
            }
        }
        EXPECT_EQ(before, Snapshot(dc, 36, 36)) << figure.name;
    }
}

TEST_F(ShapeTest, FramesPaintOnlyTheBorder)
{
    ScopedImageDC dc(12, 10);
    ScopedObject<HBRUSH> red(CreateSolidBrush(kRed));
    RECT rc = {2, 2, 8, 6};
    EXPECT_NE(0, FrameRect(dc, &rc, red));
    EXPECT_PIXEL(dc, 2, 2, kRed);
    EXPECT_PIXEL(dc, 7, 5, kRed);
    EXPECT_PIXEL(dc, 2, 5, kRed);
    EXPECT_PIXEL(dc, 3, 3, kWhite);
    EXPECT_PIXEL(dc, 8, 2, kWhite);
    HBRUSH stale = CreateSolidBrush(kBlue);
    DeleteObject(stale);
    EXPECT_EQ(0, FrameRect(dc, &rc, stale));

    CDC cdc;
    ScopedImageDC image(12, 10);
    cdc.Attach(image);
    cdc.Draw3dRect(2, 2, 6, 4, kRed, kBlue);
    cdc.Detach();
    EXPECT_PIXEL(image, 2, 2, kRed);
    EXPECT_PIXEL(image, 6, 2, kRed);
    EXPECT_PIXEL(image, 7, 2, kBlue) << "the top-right corner is the bottom-right colour's";
    EXPECT_PIXEL(image, 2, 4, kRed);
    EXPECT_PIXEL(image, 2, 5, kBlue) << "and so is the bottom-left one";
    EXPECT_PIXEL(image, 7, 5, kBlue);
    EXPECT_PIXEL(image, 4, 3, kWhite);
}

TEST_F(ShapeTest, DrawEdgePaintsItsRingsAndAdjustsTheRectangle)
{
    ScopedSysColors colors(TestSysColor);
    ScopedImageDC dc(12, 12);
    RECT rc = {1, 1, 11, 11};
    ASSERT_TRUE(DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE));
    EXPECT_RECT(rc, 3, 3, 9, 9);
    EXPECT_PIXEL(dc, 1, 1, TestSysColor(COLOR_3DLIGHT));
    EXPECT_PIXEL(dc, 10, 1, TestSysColor(COLOR_3DDKSHADOW));
    EXPECT_PIXEL(dc, 1, 10, TestSysColor(COLOR_3DDKSHADOW));
    EXPECT_PIXEL(dc, 2, 2, TestSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_PIXEL(dc, 9, 5, TestSysColor(COLOR_3DSHADOW));
    EXPECT_PIXEL(dc, 5, 5, TestSysColor(COLOR_3DFACE));
    EXPECT_PIXEL(dc, 0, 0, kWhite);

    // An etched line along the top only runs the full width.
    ScopedImageDC line(12, 6);
    RECT top = {0, 2, 12, 6};
    ASSERT_TRUE(DrawEdge(line, &top, EDGE_ETCHED, BF_TOP));
    EXPECT_PIXEL(line, 0, 2, TestSysColor(COLOR_3DSHADOW));
    EXPECT_PIXEL(line, 11, 2, TestSysColor(COLOR_3DSHADOW));
    EXPECT_PIXEL(line, 11, 3, TestSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_PIXEL(line, 5, 4, kWhite);
    EXPECT_FALSE(DrawEdge(line, &top, EDGE_ETCHED, BF_DIAGONAL_ENDTOPLEFT));
    EXPECT_FALSE(DrawEdge(line, nullptr, EDGE_ETCHED, BF_TOP));
}

TEST_F(ShapeTest, FocusRectInvertsEveryOtherFramePixelAndUndoesItself)
{
    ScopedImageDC dc(10, 8);
    const RECT rc = {1, 1, 7, 5};
    ASSERT_TRUE(DrawFocusRect(dc, &rc));
    // The checker starts at the DC's origin: pixels with an even x + y are inverted.
    EXPECT_PIXEL(dc, 1, 1, kBlack);
    EXPECT_PIXEL(dc, 2, 1, kWhite);
    EXPECT_PIXEL(dc, 1, 3, kBlack);
    EXPECT_PIXEL(dc, 6, 4, kBlack);
    EXPECT_PIXEL(dc, 5, 4, kWhite);
    EXPECT_PIXEL(dc, 3, 3, kWhite) << "inside";
    EXPECT_PIXEL(dc, 7, 1, kWhite) << "outside";
    ASSERT_TRUE(DrawFocusRect(dc, &rc));
    for (COLORREF c : Snapshot(dc, 10, 8)) ASSERT_EQ(kWhite, c);
}

TEST_F(ShapeTest, HatchesStartAtTheDcOrigin)
{
    ScopedObject<HBRUSH> horizontal(CreateHatchBrush(HS_HORIZONTAL, kBlack));
    ScopedObject<HBRUSH> vertical(CreateHatchBrush(HS_VERTICAL, kBlack));
    ScopedImageDC dc(16, 16);
    SetBkMode(dc, TRANSPARENT);
    SetViewportOrgEx(dc, 2, 5, nullptr);   // logical origins do not move the pattern
    RECT rc = {-2, -5, 14, 11};
    FillRect(dc, &rc, horizontal);
    FillRect(dc, &rc, vertical);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    for (int i = 0; i < 16; ++i) {
        EXPECT_PIXEL(dc, i, 3, kBlack);
        EXPECT_PIXEL(dc, i, 11, kBlack);
        EXPECT_PIXEL(dc, 4, i, kBlack);
        EXPECT_PIXEL(dc, 12, i, kBlack);
    }
    EXPECT_PIXEL(dc, 0, 2, kWhite);
    EXPECT_PIXEL(dc, 5, 4, kWhite);

    // A window's DC on a shared surface starts the pattern at the window's corner.
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 20, 20);
    HDC child = platform::gdi::CreateSurfaceDC(surface, POINT{3, 2}, nullptr);
    RECT all = {0, 0, 16, 16};
    FillRect(child, &all, horizontal);
    HDC whole = platform::gdi::CreateSurfaceDC(surface, POINT{0, 0}, nullptr);
    EXPECT_PIXEL(whole, 8, 5, kBlack);
    EXPECT_PIXEL(whole, 8, 4, kWhite);
    DeleteDC(child);
    DeleteDC(whole);
    cairo_surface_destroy(surface);
}

TEST_F(ShapeTest, CosmeticDashPhaseRunsOnThroughCornersAndRestartsPerCall)
{
    ScopedObject<HPEN> dot(CreatePen(PS_DOT, 1, kBlack));
    ScopedImageDC dc(12, 12);
    Tools tools(dc, dot, nullptr);
    SetBkMode(dc, TRANSPARENT);
    // Three on, three off: the second segment starts at step 4 of the pattern.
    const POINT corner[] = {{0, 1}, {4, 1}, {4, 10}};
    Polyline(dc, corner, 3);
    EXPECT_PIXEL(dc, 2, 1, kBlack);
    EXPECT_PIXEL(dc, 3, 1, kWhite);
    EXPECT_PIXEL(dc, 4, 1, kWhite);
    EXPECT_PIXEL(dc, 4, 2, kWhite);
    EXPECT_PIXEL(dc, 4, 3, kBlack);
    EXPECT_PIXEL(dc, 4, 5, kBlack);
    EXPECT_PIXEL(dc, 4, 6, kWhite);
    // Each LineTo starts the pattern afresh.
    MoveToEx(dc, 6, 11, nullptr);
    LineTo(dc, 8, 11);
    LineTo(dc, 11, 11);
    EXPECT_PIXEL(dc, 8, 11, kBlack);
}

TEST_F(ShapeTest, AbsurdEndPointsCostNothingAndKeepThePhase)
{
    ScopedObject<HPEN> dot(CreatePen(PS_DOT, 1, kBlack));
    ScopedImageDC dc(20, 4);
    Tools tools(dc, dot, nullptr);
    SetBkMode(dc, TRANSPARENT);
    IntersectClipRect(dc, 10, 0, 20, 4);
    MoveToEx(dc, -1000000, 1, nullptr);
    ASSERT_TRUE(LineTo(dc, 2000000000, 1));
    // Pixel x is step x + 1000000 of the line: 1000010 % 6 == 2 (on), then off.
    EXPECT_PIXEL(dc, 10, 1, kBlack);
    EXPECT_PIXEL(dc, 11, 1, kWhite);
    EXPECT_PIXEL(dc, 14, 1, kBlack);
    EXPECT_PIXEL(dc, 9, 1, CLR_INVALID);
}

TEST_F(ShapeTest, UserStylePensLeaveTheirGapsClear)
{
    const LOGBRUSH red = {BS_SOLID, kRed, 0};
    const DWORD thinStyle[] = {2, 3};
    const DWORD wideStyle[] = {6, 6};
    ScopedObject<HPEN> thin(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, &red, 2, thinStyle));
    ScopedObject<HPEN> wide(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 3, &red, 2, wideStyle));
    ScopedImageDC dc(40, 12);
    {
        Tools tools(dc, thin, nullptr);
        MoveToEx(dc, 0, 1, nullptr);
        LineTo(dc, 20, 1);
    }
    EXPECT_PIXEL(dc, 1, 1, kRed);
    EXPECT_PIXEL(dc, 2, 1, kWhite) << "gaps of geometric pens stay clear";
    EXPECT_PIXEL(dc, 4, 1, kWhite);
    EXPECT_PIXEL(dc, 5, 1, kRed);
    {
        Tools tools(dc, wide, nullptr);
        MoveToEx(dc, 0, 6, nullptr);
        LineTo(dc, 40, 6);
    }
    EXPECT_PIXEL(dc, 3, 6, kRed);
    EXPECT_PIXEL(dc, 3, 5, kRed);
    EXPECT_PIXEL(dc, 3, 7, kRed);
    EXPECT_PIXEL(dc, 3, 8, kWhite);
    EXPECT_PIXEL(dc, 8, 6, kWhite);
    EXPECT_PIXEL(dc, 14, 6, kRed);
}

TEST_F(ShapeTest, StaleHandlesDrawNothing)
{
    ScopedImageDC dc(8, 8);
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    const POINT points[] = {{0, 0}, {5, 5}, {0, 5}};
    EXPECT_FALSE(Polyline(stale, points, 3));
    EXPECT_FALSE(Polygon(stale, points, 3));
    EXPECT_FALSE(Ellipse(stale, 0, 0, 5, 5));
    EXPECT_FALSE(RoundRect(stale, 0, 0, 5, 5, 2, 2));
    RECT rc = {0, 0, 4, 4};
    EXPECT_FALSE(DrawFocusRect(stale, &rc));
    EXPECT_FALSE(DrawEdge(stale, &rc, EDGE_RAISED, BF_RECT));
    // A deleted pen still selected nowhere draws as no pen.
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    DeleteObject(pen);
    EXPECT_EQ(nullptr, SelectObject(dc, pen));
    EXPECT_TRUE(Ellipse(dc, 0, 0, 0, 5)) << "an empty box draws nothing and succeeds";
}
