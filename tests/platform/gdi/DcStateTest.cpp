// DC state: defaults of a new DC, SelectObject's returns, the SaveDC and
// RestoreDC walk, clipping, origins and device caps.
#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using DcStateTest = LeakCheckedTest;

TEST_F(DcStateTest, NewDcStartsWithTheWindowsDefaults)
{
    ScopedImageDC dc(16, 16);
    EXPECT_EQ(GetStockObject(BLACK_PEN), GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), GetCurrentObject(dc, OBJ_BRUSH));
    EXPECT_EQ(GetStockObject(SYSTEM_FONT), GetCurrentObject(dc, OBJ_FONT));
    EXPECT_EQ(kBlack, GetTextColor(dc));
    EXPECT_EQ(kWhite, GetBkColor(dc));
    EXPECT_EQ(OPAQUE, GetBkMode(dc));
    EXPECT_EQ((UINT)(TA_LEFT | TA_TOP), GetTextAlign(dc));
    EXPECT_EQ(R2_COPYPEN, GetROP2(dc));
    EXPECT_EQ(MM_TEXT, GetMapMode(dc));
    POINT p = {9, 9};
    EXPECT_TRUE(GetCurrentPositionEx(dc, &p));
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(0, p.y);
    EXPECT_PIXEL(dc, 0, 0, kWhite) << "image DCs start white";
}

TEST_F(DcStateTest, MemoryDcStartsWithTheOneByOneMonochromeBitmap)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, dc);
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    BITMAP bm;
    ASSERT_EQ((int)sizeof bm, GetObject(bitmap, sizeof bm, &bm));
    EXPECT_EQ(1, bm.bmWidth);
    EXPECT_EQ(1, bm.bmHeight);
    EXPECT_EQ(1, bm.bmBitsPixel);
    RECT clip;
    EXPECT_EQ(SIMPLEREGION, GetClipBox(dc, &clip));
    EXPECT_EQ(1, clip.right);
    EXPECT_EQ(1, clip.bottom);
    // Colours drawn on a monochrome bitmap become black or white.
    EXPECT_EQ(kWhite, SetPixel(dc, 0, 0, RGB(250, 240, 230)));
    EXPECT_EQ(kBlack, SetPixel(dc, 0, 0, RGB(90, 20, 20)));
    EXPECT_PIXEL(dc, 0, 0, kBlack);
    DeleteDC(dc);
}

TEST_F(DcStateTest, SelectObjectReturnsThePreviousObjectOfThatKind)
{
    ScopedImageDC dc(4, 4);
    ScopedObject<HPEN> pen(CreatePen(PS_SOLID, 1, kRed));
    ScopedObject<HPEN> extPen(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, nullptr, 0, nullptr));
    ScopedObject<HBRUSH> brush(CreateSolidBrush(kGreen));
    ScopedObject<HFONT> font(CreateFontW(-10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Gothic"));

    EXPECT_EQ(nullptr, extPen.get()) << "no brush, no pen";
    EXPECT_EQ(GetStockObject(BLACK_PEN), SelectObject(dc, pen.get()));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), SelectObject(dc, brush.get()));
    EXPECT_EQ(GetStockObject(SYSTEM_FONT), SelectObject(dc, font.get()));
    EXPECT_EQ(Obj(pen.get()), SelectObject(dc, GetStockObject(WHITE_PEN)));
    EXPECT_EQ(Obj(brush.get()), SelectObject(dc, GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(Obj(font.get()), SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT)));
    EXPECT_EQ(GetStockObject(WHITE_PEN), GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(nullptr, SelectObject(dc, static_cast<HGDIOBJ>(nullptr)));
    EXPECT_EQ(GetStockObject(WHITE_PEN), GetCurrentObject(dc, OBJ_PEN)) << "a failed select changes nothing";
}

// SaveDC / RestoreDC, walked in order: each row is one call and its result.
TEST_F(DcStateTest, SaveAndRestoreWalkTheLevelsAsWindowsDoes)
{
    ScopedImageDC dc(4, 4);
    enum Call { Save, Restore };
    struct Step {
        Call call;
        int argument;   // RestoreDC's level
        int expected;   // SaveDC's new level, or RestoreDC's BOOL
    };
    static const Step kSteps[] = {
        {Save, 0, 1},     {Save, 0, 2},      {Save, 0, 3},
        {Restore, -1, 1},                      // -1: the most recent save
        {Save, 0, 3},                          // ... so the level is 3 again
        {Restore, 0, 0},                       // level 0 does not exist
        {Restore, 4, 0},                       // deeper than saved
        {Restore, -4, 0},
        {Restore, 2, 1},                       // absolute: back to before the second save
        {Save, 0, 2},
        {Restore, -2, 1},                      // two back
        {Restore, -1, 0},                      // nothing left
        {Restore, 1, 0},
        {Save, 0, 1},
        {Restore, 1, 1},
    };
    int index = 0;
    for (const Step& step : kSteps) {
        if (step.call == Save) {
            EXPECT_EQ(step.expected, SaveDC(dc)) << "step " << index;
        } else {
            EXPECT_EQ(step.expected, RestoreDC(dc, step.argument))
                << "step " << index << ": RestoreDC(" << step.argument << ")";
        }
        ++index;
    }
}

TEST_F(DcStateTest, RestoreDcBringsBackTheSavedState)
{
    ScopedImageDC dc(20, 20);
    ScopedObject<HPEN> red(CreatePen(PS_SOLID, 1, kRed));
    ScopedObject<HPEN> blue(CreatePen(PS_SOLID, 1, kBlue));
    SelectObject(dc, red.get());
    SetTextColor(dc, kRed);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_RIGHT | TA_BASELINE);
    SetROP2(dc, R2_XORPEN);
    SetViewportOrgEx(dc, 3, 4, nullptr);
    MoveToEx(dc, 5, 6, nullptr);
    IntersectClipRect(dc, 0, 0, 10, 10);
    ASSERT_EQ(1, SaveDC(dc));

    SelectObject(dc, blue.get());
    SetTextColor(dc, kBlue);
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_LEFT);
    SetROP2(dc, R2_COPYPEN);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    MoveToEx(dc, 1, 1, nullptr);
    SelectClipRgn(dc, nullptr);

    ASSERT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(Obj(red.get()), GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(kRed, GetTextColor(dc));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    EXPECT_EQ((UINT)(TA_RIGHT | TA_BASELINE), GetTextAlign(dc));
    EXPECT_EQ(R2_XORPEN, GetROP2(dc));
    POINT p;
    GetViewportOrgEx(dc, &p);
    EXPECT_EQ(3, p.x);
    EXPECT_EQ(4, p.y);
    GetCurrentPositionEx(dc, &p);
    EXPECT_EQ(5, p.x);
    EXPECT_EQ(6, p.y);
    RECT clip;
    EXPECT_EQ(SIMPLEREGION, GetClipBox(dc, &clip));
    EXPECT_RECT(clip, 0, 0, 10, 10);
    SelectObject(dc, GetStockObject(BLACK_PEN));
}

TEST_F(DcStateTest, RestoreDcReselectsTheMemoryDcBitmap)
{
    ScopedImageDC screen(4, 4);
    ScopedObject<HBITMAP> first(CreateCompatibleBitmap(screen, 4, 4));
    ScopedObject<HBITMAP> second(CreateCompatibleBitmap(screen, 4, 4));
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ original = SelectObject(dc, first.get());
    SaveDC(dc);
    SelectObject(dc, second.get());
    SetPixel(dc, 1, 1, kRed);
    RestoreDC(dc, 1);
    EXPECT_EQ(Obj(first.get()), GetCurrentObject(dc, OBJ_BITMAP));
    EXPECT_PIXEL(dc, 1, 1, kWhite) << "drawing goes to the restored bitmap";
    SetPixel(dc, 2, 2, kBlue);
    SelectObject(dc, second.get());
    EXPECT_PIXEL(dc, 1, 1, kRed);
    EXPECT_PIXEL(dc, 2, 2, kWhite);
    SelectObject(dc, original);
    DeleteDC(dc);
}

TEST_F(DcStateTest, AttributeSettersReturnThePreviousValueAndRefuseNonsense)
{
    ScopedImageDC dc(4, 4);
    EXPECT_EQ(kBlack, SetTextColor(dc, kRed));
    EXPECT_EQ(kRed, SetTextColor(dc, kGreen));
    EXPECT_EQ(kWhite, SetBkColor(dc, kBlue));
    EXPECT_EQ(OPAQUE, SetBkMode(dc, TRANSPARENT));
    EXPECT_EQ(0, SetBkMode(dc, 3));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    EXPECT_EQ((UINT)(TA_LEFT | TA_TOP), SetTextAlign(dc, TA_CENTER | TA_BOTTOM));
    EXPECT_EQ((UINT)(TA_CENTER | TA_BOTTOM), GetTextAlign(dc));
    EXPECT_EQ(R2_COPYPEN, SetROP2(dc, R2_NOT));
    EXPECT_EQ(0, SetROP2(dc, 0));
    EXPECT_EQ(0, SetROP2(dc, R2_LAST + 1));
    EXPECT_EQ(R2_NOT, GetROP2(dc));
    EXPECT_EQ(0, SetMapMode(dc, MM_LOMETRIC)) << "only MM_TEXT so far";
    EXPECT_EQ(MM_TEXT, SetMapMode(dc, MM_TEXT));
}

TEST_F(DcStateTest, ClipBoxFollowsIntersectClipRectAndSelectClipRgn)
{
    ScopedImageDC dc(40, 30);
    RECT box;
    EXPECT_EQ(SIMPLEREGION, GetClipBox(dc, &box));
    EXPECT_RECT(box, 0, 0, 40, 30) << "no clip: the whole surface";

    EXPECT_EQ(SIMPLEREGION, IntersectClipRect(dc, 5, 6, 50, 20));
    GetClipBox(dc, &box);
    EXPECT_RECT(box, 5, 6, 40, 20) << "the clip box stays within the surface";
    EXPECT_EQ(SIMPLEREGION, IntersectClipRect(dc, 10, 0, 30, 10));
    GetClipBox(dc, &box);
    EXPECT_RECT(box, 10, 6, 30, 10);
    EXPECT_EQ(NULLREGION, IntersectClipRect(dc, 0, 20, 5, 25));
    EXPECT_EQ(NULLREGION, GetClipBox(dc, &box));
    EXPECT_TRUE(IsRectEmpty(&box));
    EXPECT_EQ(CLR_INVALID, SetPixel(dc, 12, 8, kRed)) << "nothing is drawn through an empty clip";

    EXPECT_EQ(SIMPLEREGION, SelectClipRgn(dc, nullptr));
    GetClipBox(dc, &box);
    EXPECT_RECT(box, 0, 0, 40, 30);

    ScopedObject<HRGN> region(CreateRectRgn(2, 2, 8, 9));
    EXPECT_EQ(SIMPLEREGION, SelectClipRgn(dc, region.get()));
    DeleteObject(region.get());   // the DC keeps a copy
    GetClipBox(dc, &box);
    EXPECT_RECT(box, 2, 2, 8, 9);
    EXPECT_PIXEL(dc, 2, 2, kWhite);
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 8, 8)) << "pixels outside the clip cannot be read";
    EXPECT_EQ(ERROR, GetClipBox(dc, nullptr));
}

TEST_F(DcStateTest, OriginsMoveLogicalCoordinates)
{
    ScopedImageDC dc(30, 30);
    POINT old = {-1, -1};
    EXPECT_TRUE(SetViewportOrgEx(dc, 10, 5, &old));
    EXPECT_EQ(0, old.x);
    EXPECT_TRUE(SetWindowOrgEx(dc, 2, 1, nullptr));
    // Logical (2, 1) is the viewport origin.
    SetPixel(dc, 2, 1, kRed);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    EXPECT_PIXEL(dc, 10, 5, kRed);

    SetViewportOrgEx(dc, 10, 5, nullptr);
    OffsetWindowOrgEx(dc, 4, 4, &old);
    POINT points[2] = {{4, 4}, {0, 0}};
    EXPECT_TRUE(LPtoDP(dc, points, 2));
    EXPECT_EQ(10, points[0].x);
    EXPECT_EQ(5, points[0].y);
    EXPECT_EQ(6, points[1].x);
    EXPECT_TRUE(DPtoLP(dc, points, 2));
    EXPECT_EQ(4, points[0].x);
    EXPECT_EQ(0, points[1].y);
    RECT box;
    GetClipBox(dc, &box);
    EXPECT_RECT(box, -6, -1, 24, 29);
    EXPECT_FALSE(LPtoDP(dc, nullptr, 1));
}

TEST_F(DcStateTest, ImageAndMemoryDcsReportTheirSizeAtNinetySixDpi)
{
    ScopedImageDC dc(300, 200);
    EXPECT_EQ(300, GetDeviceCaps(dc, HORZRES));
    EXPECT_EQ(200, GetDeviceCaps(dc, VERTRES));
    EXPECT_EQ(96, GetDeviceCaps(dc, LOGPIXELSX));
    EXPECT_EQ(96, GetDeviceCaps(dc, LOGPIXELSY));
    EXPECT_EQ(79, GetDeviceCaps(dc, HORZSIZE));   // 300 px at 96 dpi is 79.4 mm
    EXPECT_EQ(53, GetDeviceCaps(dc, VERTSIZE));
    EXPECT_EQ(32, GetDeviceCaps(dc, BITSPIXEL));
    EXPECT_EQ(1, GetDeviceCaps(dc, PLANES));
    EXPECT_EQ(DT_RASDISPLAY, GetDeviceCaps(dc, TECHNOLOGY));
    EXPECT_EQ(0, GetDeviceCaps(dc, PHYSICALWIDTH));
    EXPECT_EQ(0, GetDeviceCaps(dc, PHYSICALHEIGHT));
    EXPECT_NE(0, GetDeviceCaps(dc, RASTERCAPS) & RC_BITBLT);

    // A memory DC reports the device it is compatible with, not its bitmap.
    HDC memory = CreateCompatibleDC(dc);
    EXPECT_EQ(300, GetDeviceCaps(memory, HORZRES));
    EXPECT_EQ(32, GetDeviceCaps(memory, BITSPIXEL));
    DeleteDC(memory);

    const SIZE screen = platform::gdi::GetScreenSize();
    platform::gdi::SetScreenSize(800, 600);
    memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(800, GetDeviceCaps(memory, HORZRES));
    EXPECT_EQ(600, GetDeviceCaps(memory, VERTRES));
    DeleteDC(memory);
    platform::gdi::SetScreenSize(screen.cx, screen.cy);
}

TEST_F(DcStateTest, SurfaceDcDrawsAtItsOriginAndStaysInItsArea)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 40);
    const RECT visible = {10, 10, 20, 20};
    HDC child = platform::gdi::CreateSurfaceDC(surface, POINT{10, 10}, &visible);
    ASSERT_NE(nullptr, child);
    ScopedObject<HBRUSH> red(CreateSolidBrush(kRed));
    RECT all = {-100, -100, 100, 100};
    FillRect(child, &all, red);
    RECT box;
    GetClipBox(child, &box);
    EXPECT_RECT(box, 0, 0, 10, 10);
    EXPECT_PIXEL(child, 0, 0, kRed);
    EXPECT_EQ(CLR_INVALID, GetPixel(child, 10, 0));

    HDC whole = platform::gdi::CreateSurfaceDC(surface, POINT{0, 0}, nullptr);
    EXPECT_PIXEL(whole, 10, 10, kRed);
    EXPECT_PIXEL(whole, 19, 19, kRed);
    EXPECT_PIXEL(whole, 20, 19, kBlack) << "a new cairo surface is black, and the child did not reach it";
    EXPECT_PIXEL(whole, 9, 10, kBlack);
    DeleteDC(child);
    DeleteDC(whole);
    cairo_surface_destroy(surface);
    EXPECT_EQ(nullptr, platform::gdi::CreateSurfaceDC(nullptr, POINT{0, 0}, nullptr));
}
