// Drawing primitives, checked by probing pixels at computed positions on
// small images.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using DrawingTest = LeakCheckedTest;

namespace {

void Fill(HDC dc, int width, int height, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

}  // namespace

TEST_F(DrawingTest, LineToLeavesItsEndPointUnpainted)
{
    // Lines in every direction: the first point is painted, the last is not.
    struct Line {
        POINT from, to;
        POINT firstPainted, lastPainted;
    };
    static const Line kLines[] = {
        {{2, 5}, {10, 5}, {2, 5}, {9, 5}},     // left to right
        {{10, 7}, {2, 7}, {10, 7}, {3, 7}},    // right to left
        {{5, 1}, {5, 11}, {5, 1}, {5, 10}},    // top to bottom
        {{7, 11}, {7, 1}, {7, 11}, {7, 2}},    // bottom to top
        {{0, 0}, {6, 6}, {0, 0}, {5, 5}},      // diagonal
    };
    for (const Line& line : kLines) {
        ScopedImageDC dc(16, 16);
        MoveToEx(dc, line.from.x, line.from.y, nullptr);
        ASSERT_TRUE(LineTo(dc, line.to.x, line.to.y));
        EXPECT_PIXEL(dc, line.firstPainted.x, line.firstPainted.y, kBlack);
        EXPECT_PIXEL(dc, line.lastPainted.x, line.lastPainted.y, kBlack);
        EXPECT_PIXEL(dc, line.to.x, line.to.y, kWhite);
        POINT position;
        GetCurrentPositionEx(dc, &position);
        EXPECT_EQ(line.to.x, position.x);
        EXPECT_EQ(line.to.y, position.y);
    }
}

TEST_F(DrawingTest, OnePixelLinesAreExact)
{
    ScopedImageDC dc(20, 20);
    MoveToEx(dc, 3, 8, nullptr);
    LineTo(dc, 15, 8);
    MoveToEx(dc, 12, 2, nullptr);
    LineTo(dc, 12, 18);
    // Exactly the line's pixels, nothing beside them, no antialiasing.
    int painted = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            const bool onLine = (y == 8 && x >= 3 && x < 15) || (x == 12 && y >= 2 && y < 18);
            EXPECT_EQ(onLine ? kBlack : kWhite, c) << "at " << x << ", " << y;
            painted += c == kBlack;
        }
    EXPECT_EQ(12 + 16 - 1, painted);
}

TEST_F(DrawingTest, ConnectedLinesPaintTheCornerOnce)
{
    ScopedImageDC dc(12, 12);
    SetROP2(dc, R2_NOT);   // a pixel painted twice would come back white
    MoveToEx(dc, 2, 2, nullptr);
    LineTo(dc, 8, 2);
    LineTo(dc, 8, 8);
    EXPECT_PIXEL(dc, 8, 2, kBlack);
    EXPECT_PIXEL(dc, 7, 2, kBlack);
    EXPECT_PIXEL(dc, 8, 7, kBlack);
    EXPECT_PIXEL(dc, 8, 8, kWhite);
}

TEST_F(DrawingTest, XorPenDrawnTwiceRestoresThePixels)
{
    ScopedImageDC dc(12, 12);
    Fill(dc, 12, 12, RGB(10, 200, 30));
    ScopedObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 255)));
    HGDIOBJ old = SelectObject(dc, pen.get());
    SetROP2(dc, R2_XORPEN);
    MoveToEx(dc, 1, 4, nullptr);
    LineTo(dc, 10, 4);
    EXPECT_PIXEL(dc, 5, 4, RGB(10 ^ 255, 200, 30 ^ 255));
    MoveToEx(dc, 1, 4, nullptr);
    LineTo(dc, 10, 4);
    EXPECT_PIXEL(dc, 5, 4, RGB(10, 200, 30));
    SelectObject(dc, old);
}

// Every mix mode against a known pen and screen: the result by the R2_ truth table.
TEST_F(DrawingTest, MixModesFollowTheirTruthTables)
{
    const COLORREF pen = RGB(0xF0, 0x0F, 0x55), screen = RGB(0xCC, 0x33, 0xAA);
    struct Mode {
        int rop2;
        COLORREF expected;
    };
    auto mix = [](unsigned r, unsigned g, unsigned b) { return RGB(r & 0xFF, g & 0xFF, b & 0xFF); };
    const unsigned P[3] = {0xF0, 0x0F, 0x55}, D[3] = {0xCC, 0x33, 0xAA};
    const Mode kModes[] = {
        {R2_BLACK, kBlack},
        {R2_NOTMERGEPEN, mix(~(P[0] | D[0]), ~(P[1] | D[1]), ~(P[2] | D[2]))},
        {R2_MASKNOTPEN, mix(~P[0] & D[0], ~P[1] & D[1], ~P[2] & D[2])},
        {R2_NOTCOPYPEN, mix(~P[0], ~P[1], ~P[2])},
        {R2_MASKPENNOT, mix(P[0] & ~D[0], P[1] & ~D[1], P[2] & ~D[2])},
        {R2_NOT, mix(~D[0], ~D[1], ~D[2])},
        {R2_XORPEN, mix(P[0] ^ D[0], P[1] ^ D[1], P[2] ^ D[2])},
        {R2_NOTMASKPEN, mix(~(P[0] & D[0]), ~(P[1] & D[1]), ~(P[2] & D[2]))},
        {R2_MASKPEN, mix(P[0] & D[0], P[1] & D[1], P[2] & D[2])},
        {R2_NOTXORPEN, mix(~(P[0] ^ D[0]), ~(P[1] ^ D[1]), ~(P[2] ^ D[2]))},
        {R2_NOP, screen},
        {R2_MERGENOTPEN, mix(~P[0] | D[0], ~P[1] | D[1], ~P[2] | D[2])},
        {R2_COPYPEN, pen},
        {R2_MERGEPENNOT, mix(P[0] | ~D[0], P[1] | ~D[1], P[2] | ~D[2])},
        {R2_MERGEPEN, mix(P[0] | D[0], P[1] | D[1], P[2] | D[2])},
        {R2_WHITE, kWhite},
    };
    ScopedObject<HPEN> hpen(CreatePen(PS_SOLID, 1, pen));
    for (const Mode& mode : kModes) {
        ScopedImageDC dc(4, 4);
        Fill(dc, 4, 4, screen);
        HGDIOBJ old = SelectObject(dc, hpen.get());
        SetROP2(dc, mode.rop2);
        MoveToEx(dc, 0, 1, nullptr);
        LineTo(dc, 3, 1);
        EXPECT_EQ(ColorText(mode.expected), ColorText(GetPixel(dc, 1, 1))) << "R2 mode " << mode.rop2;
        SelectObject(dc, old);
    }
}

TEST_F(DrawingTest, RectangleFramesWithThePenAndFillsWithTheBrush)
{
    ScopedImageDC dc(12, 10);
    Fill(dc, 12, 10, kGreen);
    ScopedObject<HBRUSH> blue(CreateSolidBrush(kBlue));
    HGDIOBJ oldBrush = SelectObject(dc, blue.get());
    ASSERT_TRUE(Rectangle(dc, 2, 2, 8, 6));
    // Border on the first and last column and row inside the rectangle.
    EXPECT_PIXEL(dc, 2, 3, kBlack);
    EXPECT_PIXEL(dc, 7, 3, kBlack);
    EXPECT_PIXEL(dc, 4, 2, kBlack);
    EXPECT_PIXEL(dc, 4, 5, kBlack);
    EXPECT_PIXEL(dc, 7, 5, kBlack);
    EXPECT_PIXEL(dc, 3, 3, kBlue);
    EXPECT_PIXEL(dc, 6, 4, kBlue);
    // Right and bottom are exclusive.
    EXPECT_PIXEL(dc, 8, 3, kGreen);
    EXPECT_PIXEL(dc, 4, 6, kGreen);
    EXPECT_PIXEL(dc, 1, 1, kGreen);
    SelectObject(dc, oldBrush);
}

TEST_F(DrawingTest, RectangleWithoutAPenFillsOneLessEachWay)
{
    ScopedImageDC dc(12, 10);
    Fill(dc, 12, 10, kGreen);
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Rectangle(dc, 8, 6, 2, 2);   // reversed corners are normalised
    EXPECT_PIXEL(dc, 2, 2, kBlack);
    EXPECT_PIXEL(dc, 6, 4, kBlack);
    EXPECT_PIXEL(dc, 7, 4, kGreen);
    EXPECT_PIXEL(dc, 6, 5, kGreen);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
}

TEST_F(DrawingTest, WidePensAreCentredAndInsideFrameStaysInside)
{
    ScopedImageDC dc(30, 20);
    ScopedObject<HPEN> wide(CreatePen(PS_SOLID, 3, kRed));
    ScopedObject<HPEN> inside(CreatePen(PS_INSIDEFRAME, 3, kBlue));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    HGDIOBJ old = SelectObject(dc, wide.get());
    Rectangle(dc, 4, 4, 12, 14);
    // The 3-pixel pen covers the left edge column 4 and one column either side.
    EXPECT_PIXEL(dc, 3, 8, kRed);
    EXPECT_PIXEL(dc, 4, 8, kRed);
    EXPECT_PIXEL(dc, 5, 8, kRed);
    EXPECT_PIXEL(dc, 2, 8, kWhite);
    EXPECT_PIXEL(dc, 6, 8, kWhite);
    EXPECT_PIXEL(dc, 12, 8, kRed);
    SelectObject(dc, inside.get());
    Rectangle(dc, 16, 4, 26, 14);
    EXPECT_PIXEL(dc, 16, 8, kBlue);
    EXPECT_PIXEL(dc, 18, 8, kBlue);
    EXPECT_PIXEL(dc, 19, 8, kWhite);
    EXPECT_PIXEL(dc, 15, 8, kWhite);
    EXPECT_PIXEL(dc, 25, 8, kBlue);
    EXPECT_PIXEL(dc, 26, 8, kWhite);
    SelectObject(dc, old);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
}

TEST_F(DrawingTest, DashedCosmeticPenPaintsGapsOnlyWhenOpaque)
{
    ScopedObject<HPEN> dash(CreatePen(PS_DASH, 1, kBlack));
    for (int mode : {OPAQUE, TRANSPARENT}) {
        ScopedImageDC dc(40, 4);
        SelectObject(dc, dash.get());
        SetBkMode(dc, mode);
        SetBkColor(dc, kRed);
        MoveToEx(dc, 0, 1, nullptr);
        LineTo(dc, 40, 1);
        // 18 pixels on, 6 off.
        EXPECT_PIXEL(dc, 0, 1, kBlack);
        EXPECT_PIXEL(dc, 17, 1, kBlack);
        EXPECT_PIXEL(dc, 18, 1, mode == OPAQUE ? kRed : kWhite);
        EXPECT_PIXEL(dc, 23, 1, mode == OPAQUE ? kRed : kWhite);
        EXPECT_PIXEL(dc, 24, 1, kBlack);
        SelectObject(dc, GetStockObject(BLACK_PEN));
    }
}

// PatBlt operations on a white image with a blue brush.
TEST_F(DrawingTest, PatBltCombinesPatternAndDestination)
{
    struct Op {
        DWORD rop;
        COLORREF inside;
    };
    static const Op kOps[] = {
        {PATCOPY, RGB(0, 0, 255)},
        {PATINVERT, RGB(255, 255, 0)},   // white ^ blue
        {DSTINVERT, RGB(0, 0, 0)},
        {BLACKNESS, RGB(0, 0, 0)},
        {WHITENESS, RGB(255, 255, 255)},
    };
    ScopedObject<HBRUSH> blue(CreateSolidBrush(kBlue));
    for (const Op& op : kOps) {
        ScopedImageDC dc(10, 10);
        HGDIOBJ old = SelectObject(dc, blue.get());
        if (op.rop == WHITENESS) Fill(dc, 10, 10, kRed);
        ASSERT_TRUE(PatBlt(dc, 5, 1, -4, 3, op.rop)) << std::hex << op.rop;   // x 1..4 after normalising
        EXPECT_PIXEL(dc, 1, 1, op.inside);
        EXPECT_PIXEL(dc, 4, 3, op.inside);
        const COLORREF outside = op.rop == WHITENESS ? kRed : kWhite;
        EXPECT_PIXEL(dc, 5, 1, outside);
        EXPECT_PIXEL(dc, 1, 4, outside);
        EXPECT_PIXEL(dc, 0, 1, outside);
        SelectObject(dc, old);
    }
    ScopedImageDC dc(4, 4);
    EXPECT_FALSE(PatBlt(dc, 0, 0, 2, 2, SRCCOPY)) << "PatBlt has no source";
}

TEST_F(DrawingTest, FillRectUsesItsBrushAndNotTheSelectedOne)
{
    ScopedImageDC dc(10, 10);
    ScopedObject<HBRUSH> red(CreateSolidBrush(kRed));
    SetROP2(dc, R2_NOT);   // FillRect ignores the mix mode
    RECT rc = {2, 3, 6, 7};
    EXPECT_NE(0, FillRect(dc, &rc, red));
    EXPECT_PIXEL(dc, 2, 3, kRed);
    EXPECT_PIXEL(dc, 5, 6, kRed);
    EXPECT_PIXEL(dc, 6, 6, kWhite);
    EXPECT_PIXEL(dc, 5, 7, kWhite);
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), GetCurrentObject(dc, OBJ_BRUSH));

    HBRUSH stale = CreateSolidBrush(kBlue);
    DeleteObject(stale);
    EXPECT_EQ(0, FillRect(dc, &rc, stale));
    EXPECT_PIXEL(dc, 3, 4, kRed);
    EXPECT_EQ(0, FillRect(dc, nullptr, red));
}

TEST_F(DrawingTest, FillRectTakesSystemColourBrushesWhenASourceIsInstalled)
{
    ScopedImageDC dc(4, 4);
    RECT rc = {0, 0, 2, 2};
    HBRUSH window = reinterpret_cast<HBRUSH>((uintptr_t)(COLOR_WINDOW + 1));
    const platform::gdi::SysColorSource installed = platform::gdi::SetSysColorSource(nullptr);
    EXPECT_EQ(0, FillRect(dc, &rc, window));
    platform::gdi::SetSysColorSource([](int index) { return index == COLOR_WINDOW ? RGB(1, 2, 3) : kBlack; });
    EXPECT_NE(0, FillRect(dc, &rc, window));
    EXPECT_PIXEL(dc, 1, 1, RGB(1, 2, 3));
    platform::gdi::SetSysColorSource(installed);
}

TEST_F(DrawingTest, HatchBrushGapsFollowTheBackgroundMode)
{
    ScopedObject<HBRUSH> hatch(CreateHatchBrush(HS_CROSS, kBlue));
    for (int mode : {OPAQUE, TRANSPARENT}) {
        ScopedImageDC dc(16, 16);
        Fill(dc, 16, 16, kGreen);
        SetBkMode(dc, mode);
        SetBkColor(dc, kRed);
        RECT rc = {0, 0, 16, 16};
        FillRect(dc, &rc, hatch);
        // A cross every 8 pixels, anchored at the device origin; row 5 crosses only the vertical lines.
        int lines = 0;
        for (int x = 0; x < 16; ++x) lines += GetPixel(dc, x, 5) == kBlue;
        EXPECT_EQ(2, lines);
        int gaps = 0;
        for (int x = 0; x < 16; ++x) gaps += GetPixel(dc, x, 5) == (mode == OPAQUE ? kRed : kGreen);
        EXPECT_EQ(14, gaps) << "mode " << mode;
    }
}

TEST_F(DrawingTest, PixelsOutsideTheDcAreRefused)
{
    ScopedImageDC dc(5, 5);
    EXPECT_EQ(RGB(1, 2, 3), SetPixel(dc, 4, 4, RGB(1, 2, 3)));
    EXPECT_PIXEL(dc, 4, 4, RGB(1, 2, 3));
    EXPECT_EQ(kRed, SetPixel(dc, 0, 0, PALETTERGB(255, 0, 0)));
    EXPECT_TRUE(SetPixelV(dc, 1, 0, kGreen));
    EXPECT_EQ(CLR_INVALID, SetPixel(dc, 5, 0, kRed));
    EXPECT_FALSE(SetPixelV(dc, -1, 0, kRed));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 5, 0));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 0, -1));
    SetROP2(dc, R2_NOT);
    SetPixel(dc, 2, 2, kBlue);
    EXPECT_PIXEL(dc, 2, 2, kBlue) << "SetPixel ignores the mix mode";
}

TEST_F(DrawingTest, BitBltCopiesBetweenMemoryAndImageDcs)
{
    ScopedImageDC screen(20, 20);
    HDC memory = CreateCompatibleDC(screen);
    ScopedObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, 6, 6));
    HGDIOBJ old = SelectObject(memory, bitmap.get());
    SetPixel(memory, 0, 0, kRed);
    SetPixel(memory, 5, 5, kBlue);

    EXPECT_TRUE(BitBlt(screen, 10, 10, 6, 6, memory, 0, 0, SRCCOPY));
    EXPECT_PIXEL(screen, 10, 10, kRed);
    EXPECT_PIXEL(screen, 15, 15, kBlue);
    EXPECT_PIXEL(screen, 9, 10, kWhite);
    // Parts of the source outside the bitmap leave the destination alone.
    Fill(screen, 20, 20, kGreen);
    EXPECT_TRUE(BitBlt(screen, 0, 0, 10, 10, memory, 2, 2, SRCCOPY));
    EXPECT_PIXEL(screen, 3, 3, kBlue);
    EXPECT_PIXEL(screen, 4, 4, kGreen);
    // And the other way, with an inverting operation.
    EXPECT_TRUE(BitBlt(memory, 0, 0, 6, 6, screen, 0, 0, NOTSRCCOPY));
    EXPECT_PIXEL(memory, 3, 3, RGB(255, 255, 0));
    EXPECT_PIXEL(memory, 4, 4, RGB(255, 0, 255));

    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    EXPECT_FALSE(BitBlt(screen, 0, 0, 2, 2, stale, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(screen, 0, 0, 2, 2, nullptr, 0, 0, BLACKNESS)) << "no source needed";
    EXPECT_PIXEL(screen, 1, 1, kBlack);
    SelectObject(memory, old);
    DeleteDC(memory);
}

TEST_F(DrawingTest, OverlappingBlitWithinOneImageDoesNotSmear)
{
    ScopedImageDC dc(10, 3);
    for (int x = 0; x < 5; ++x) SetPixel(dc, x, 1, RGB(x * 40, 0, 0));
    EXPECT_TRUE(BitBlt(dc, 1, 1, 5, 1, dc, 0, 1, SRCCOPY));
    for (int x = 0; x < 5; ++x) EXPECT_PIXEL(dc, x + 1, 1, RGB(x * 40, 0, 0));
}

TEST_F(DrawingTest, OneToOneCopiesScrollBothWaysAndTakeOnlyWhatTheSourceHas)
{
    ScopedImageDC dc(4, 6);
    for (int y = 0; y < 6; ++y) SetPixel(dc, 1, y, RGB(0, y * 40, 0));
    EXPECT_TRUE(BitBlt(dc, 0, 1, 4, 5, dc, 0, 0, SRCCOPY));   // down by a row
    for (int y = 0; y < 5; ++y) EXPECT_PIXEL(dc, 1, y + 1, RGB(0, y * 40, 0));
    EXPECT_TRUE(BitBlt(dc, 0, 0, 4, 5, dc, 0, 1, SRCCOPY));   // and back up
    for (int y = 0; y < 5; ++y) EXPECT_PIXEL(dc, 1, y, RGB(0, y * 40, 0));

    // A source rectangle reaching past the source image copies only the pixels it holds.
    ScopedImageDC small(2, 2);
    Fill(small, 2, 2, kBlue);
    ScopedImageDC target(4, 4);
    Fill(target, 4, 4, kRed);
    EXPECT_TRUE(BitBlt(target, 0, 0, 4, 4, small, -1, -1, SRCCOPY));
    EXPECT_PIXEL(target, 0, 0, kRed);
    EXPECT_PIXEL(target, 1, 1, kBlue);
    EXPECT_PIXEL(target, 2, 2, kBlue);
    EXPECT_PIXEL(target, 3, 3, kRed);
}

TEST_F(DrawingTest, BlitsBetweenColourAndMonochromeUseTheDcColours)
{
    ScopedImageDC screen(8, 8);
    Fill(screen, 8, 8, kRed);
    SetPixel(screen, 1, 1, kBlue);
    HDC mono = CreateCompatibleDC(screen);
    ScopedObject<HBITMAP> maskBits(CreateCompatibleBitmap(mono, 4, 4));   // monochrome
    HGDIOBJ old = SelectObject(mono, maskBits.get());
    // Colour to monochrome: the source's background colour becomes white, everything else black.
    SetBkColor(screen, kRed);
    BitBlt(mono, 0, 0, 4, 4, screen, 0, 0, SRCCOPY);
    EXPECT_PIXEL(mono, 0, 0, kWhite);
    EXPECT_PIXEL(mono, 1, 1, kBlack);
    // Monochrome to colour: white takes the destination's background colour, black its text colour.
    ScopedImageDC target(8, 8);
    SetBkColor(target, kGreen);
    SetTextColor(target, kBlue);
    BitBlt(target, 0, 0, 4, 4, mono, 0, 0, SRCCOPY);
    EXPECT_PIXEL(target, 0, 0, kGreen);
    EXPECT_PIXEL(target, 1, 1, kBlue);
    SelectObject(mono, old);
    DeleteDC(mono);
}

TEST_F(DrawingTest, ClippingAppliesToEveryPrimitive)
{
    ScopedImageDC dc(20, 20);
    IntersectClipRect(dc, 5, 5, 10, 10);
    ScopedObject<HBRUSH> red(CreateSolidBrush(kRed));
    RECT all = {0, 0, 20, 20};
    FillRect(dc, &all, red);
    MoveToEx(dc, 0, 12, nullptr);
    LineTo(dc, 20, 12);
    MoveToEx(dc, 0, 7, nullptr);
    LineTo(dc, 20, 7);
    EXPECT_PIXEL(dc, 5, 5, kRed);
    EXPECT_PIXEL(dc, 6, 7, kBlack);
    SelectClipRgn(dc, nullptr);
    EXPECT_PIXEL(dc, 4, 5, kWhite);
    EXPECT_PIXEL(dc, 10, 9, kWhite);
    EXPECT_PIXEL(dc, 4, 7, kWhite);
    EXPECT_PIXEL(dc, 3, 12, kWhite);
}

TEST_F(DrawingTest, RecordingDcKeepsPrimitivesInDeviceCoordinates)
{
    HDC dc = platform::gdi::CreateRecordingDC(100, 50);
    ASSERT_NE(nullptr, dc);
    SetViewportOrgEx(dc, 10, 20, nullptr);
    ScopedObject<HPEN> pen(CreatePen(PS_DOT, 1, kRed));
    SelectObject(dc, pen.get());
    MoveToEx(dc, 1, 2, nullptr);
    LineTo(dc, 5, 2);
    Rectangle(dc, 0, 0, 4, 3);
    TextOutW(dc, 7, 8, L"ab", 2);
    const std::vector<platform::gdi::DrawRecord> records = platform::gdi::GetRecording(dc);
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ(platform::gdi::DrawOp::Polyline, records[0].op) << records[0].Describe();
    ASSERT_EQ(2u, records[0].points.size());
    EXPECT_EQ(11, records[0].points[0].x);
    EXPECT_EQ(22, records[0].points[0].y);
    EXPECT_EQ(15, records[0].points[1].x);
    EXPECT_EQ(PS_DOT, records[0].penStyle);
    EXPECT_EQ(kRed, records[0].penColor);
    EXPECT_EQ(platform::gdi::DrawOp::Rectangle, records[1].op);
    EXPECT_RECT(records[1].rect, 10, 20, 14, 23);
    EXPECT_EQ(platform::gdi::DrawOp::Text, records[2].op);
    EXPECT_EQ(L"ab", records[2].text);
    EXPECT_EQ("IPAGothic", records[2].fontFamily) << "the system font maps to IPA Gothic too";
    EXPECT_EQ(17, records[2].rect.left);
    EXPECT_EQ(28, records[2].rect.top);
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 11, 22));

    ScopedImageDC screen(4, 4);
    EXPECT_FALSE(BitBlt(screen, 0, 0, 2, 2, dc, 0, 0, SRCCOPY)) << "a recording has no pixels to copy";
    platform::gdi::ClearRecording(dc);
    EXPECT_TRUE(platform::gdi::GetRecording(dc).empty());
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteDC(dc);
}

TEST_F(DrawingTest, SavedPngHasTheDrawnPixels)
{
    ScopedImageDC dc(8, 6);
    SetPixel(dc, 3, 2, kRed);
    const std::string path = ::testing::TempDir() + "gdi-drawing-test.png";
    ASSERT_TRUE(platform::gdi::SaveImagePng(dc, path.c_str()));
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(CAIRO_STATUS_SUCCESS, cairo_surface_status(png));
    EXPECT_EQ(8, cairo_image_surface_get_width(png));
    EXPECT_EQ(6, cairo_image_surface_get_height(png));
    const unsigned char* data = cairo_image_surface_get_data(png);
    const uint32_t pixel = reinterpret_cast<const uint32_t*>(data + 2 * cairo_image_surface_get_stride(png))[3];
    EXPECT_EQ(0xFF0000u, pixel & 0xFFFFFFu);
    cairo_surface_destroy(png);
    std::remove(path.c_str());
    EXPECT_FALSE(platform::gdi::SaveImagePng(dc, nullptr));
    EXPECT_FALSE(platform::gdi::SaveImagePng(nullptr, path.c_str()));
}

// Every pixel of the DC's image against the PNG file read back.
static int PixelsDifferingFromPng(HDC dc, const std::string& path)
{
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    cairo_surface_t* image = platform::gdi::GetImageSurface(dc);
    if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS || !image) {
        cairo_surface_destroy(png);
        return -1;
    }
    const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    int differing = 0;
    if (cairo_image_surface_get_width(png) != width || cairo_image_surface_get_height(png) != height) differing = -1;
    for (int y = 0; differing >= 0 && y < height; ++y) {
        const uint32_t* a = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(png) +
                                                              (size_t)y * cairo_image_surface_get_stride(png));
        const uint32_t* b = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(image) +
                                                              (size_t)y * cairo_image_surface_get_stride(image));
        for (int x = 0; x < width; ++x) differing += (a[x] & 0xFFFFFFu) != (b[x] & 0xFFFFFFu);
    }
    cairo_surface_destroy(png);
    return differing;
}

TEST_F(DrawingTest, APageOfFewColoursAndAnImageOfManyReadBackPixelForPixel)
{
    const std::string path = ::testing::TempDir() + "gdi-drawing-colours.png";
    {
        // Paper, grid and ink: a palette's worth of colours.
        ScopedImageDC dc(301, 200);   // an odd width: the last byte of a row holds one pixel
        for (int x = 0; x < 300; x += 10) {
            ScopedObject<HPEN> pen(CreatePen(PS_SOLID, 1, x % 50 ? RGB(255, 200, 200) : RGB(240, 120, 120)));
            HGDIOBJ old = SelectObject(dc, pen.get());
            MoveToEx(dc, x, 0, nullptr);
            LineTo(dc, x, 200);
            SelectObject(dc, old);
        }
        for (int x = 0; x < 299; ++x) SetPixel(dc, x, 100 + (x * 7) % 40, kBlack);
        ASSERT_TRUE(platform::gdi::SaveImagePng(dc, path.c_str()));
        EXPECT_EQ(0, PixelsDifferingFromPng(dc, path));
    }
    {
        // Few colours down most of the image, then two hundred: the palette
        // outgrows two pixels a byte only at the bottom rows.
        ScopedImageDC dc(257, 120);
        for (int x = 0; x < 257; x += 7) SetPixel(dc, x, 10, RGB(0, 0, 255));
        for (int i = 0; i < 200; ++i) SetPixel(dc, i, 110 + i % 9, RGB(i, 255 - i, 7));
        ASSERT_TRUE(platform::gdi::SaveImagePng(dc, path.c_str()));
        EXPECT_EQ(0, PixelsDifferingFromPng(dc, path));
    }
    {
        // More than 256 colours.
        ScopedImageDC dc(64, 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) SetPixel(dc, x, y, RGB(x * 4, y * 4, (x ^ y) * 4));
        ASSERT_TRUE(platform::gdi::SaveImagePng(dc, path.c_str()));
        EXPECT_EQ(0, PixelsDifferingFromPng(dc, path));
    }
    std::remove(path.c_str());
    EXPECT_FALSE(platform::gdi::SaveImagePng(ScopedImageDC(4, 4), "/nonexistent-folder/x.png"));
}

TEST_F(DrawingTest, SavingOverAnOldImageReplacesItAndLinksToItFollow)
{
    const std::string dir = ::testing::TempDir() + "gdi-drawing-resave-" + std::to_string(getpid());
    ASSERT_EQ(0, mkdir(dir.c_str(), 0700));
    const std::string plain = dir + "/plain.png", target = dir + "/target.png", link = dir + "/link.png",
                      second = dir + "/second-name.png";
    ScopedImageDC first(40, 30), again(40, 30);
    for (int x = 0; x < 40; ++x) SetPixel(again, x, 15, kBlack);
    for (const std::string& path : {plain, target}) ASSERT_TRUE(platform::gdi::SaveImagePng(first, path.c_str()));
    ASSERT_EQ(0, symlink(target.c_str(), link.c_str()));
    ASSERT_EQ(0, ::link(target.c_str(), second.c_str()));

    ASSERT_TRUE(platform::gdi::SaveImagePng(again, plain.c_str()));
    EXPECT_EQ(0, PixelsDifferingFromPng(again, plain));
    // Through the symbolic link: the link stays a link, its target takes the image.
    ASSERT_TRUE(platform::gdi::SaveImagePng(again, link.c_str()));
    struct stat st;
    ASSERT_EQ(0, lstat(link.c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(0, PixelsDifferingFromPng(again, target));
    // The file's other hard-linked name sees the new image too.
    EXPECT_EQ(0, PixelsDifferingFromPng(again, second));
    for (const std::string& path : {plain, target, link, second}) std::remove(path.c_str());
    rmdir(dir.c_str());
}

TEST_F(DrawingTest, PolyPolylinePaintsWhatItsStrokesPaintAsLinesAndKeepsThePosition)
{
    // Strokes of every kind, with a viewport origin and a mix mode that shows
    // a pixel painted twice: one call paints what MoveTo/LineTo pairs paint.
    const POINT strokes[] = {{2, 3}, {2, 12}, {5, 12}, {5, 3}, {7, 7}, {7, 7}, {9, 2}, {14, 9}, {3, 14}, {12, 14}, {12, 4}};
    const DWORD counts[] = {2, 2, 2, 2, 3};
    ScopedImageDC byLines(18, 18);
    ScopedImageDC byOneCall(18, 18);
    for (HDC dc : {static_cast<HDC>(byLines), static_cast<HDC>(byOneCall)}) {
        SetViewportOrgEx(dc, 1, 1, nullptr);
        SetROP2(dc, R2_NOT);
        MoveToEx(dc, 15, 15, nullptr);
    }
    const POINT* p = strokes;
    for (DWORD count : counts) {
        MoveToEx(byLines, p[0].x, p[0].y, nullptr);
        for (DWORD k = 1; k < count; ++k) LineTo(byLines, p[k].x, p[k].y);
        p += count;
    }
    ASSERT_TRUE(PolyPolyline(byOneCall, strokes, counts, 5));
    EXPECT_EQ(Snapshot(byLines, 18, 18), Snapshot(byOneCall, 18, 18));
    EXPECT_PIXEL(byOneCall, 2, 5, kBlack);   // logical, as the strokes
    POINT position;
    GetCurrentPositionEx(byOneCall, &position);
    EXPECT_EQ(15, position.x);
    EXPECT_EQ(15, position.y);
    // A polyline of one point is refused, and nothing is drawn.
    const DWORD lone[] = {2, 1};
    EXPECT_FALSE(PolyPolyline(byOneCall, strokes, lone, 2));
    EXPECT_EQ(Snapshot(byLines, 18, 18), Snapshot(byOneCall, 18, 18));
}
