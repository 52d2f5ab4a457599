// Object records: GetObject round trips, the sizes GetObject asks for, and
// the arguments the create functions refuse.
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using GdiObjectTest = LeakCheckedTest;

TEST_F(GdiObjectTest, LogPenRoundTrip)
{
    const LOGPEN pens[] = {
        {PS_SOLID, {0, 0}, RGB(1, 2, 3)},
        {PS_DASH, {1, 0}, RGB(200, 100, 50)},
        {PS_INSIDEFRAME, {7, 0}, PALETTERGB(9, 8, 7)},
        {PS_NULL, {0, 0}, 0},
    };
    for (const LOGPEN& in : pens) {
        ScopedObject<HPEN> pen(CreatePenIndirect(&in));
        ASSERT_NE(nullptr, pen.get());
        LOGPEN out;
        std::memset(&out, 0xCC, sizeof out);
        EXPECT_EQ((int)sizeof(LOGPEN), GetObject(pen.get(), 0, nullptr));
        ASSERT_EQ((int)sizeof(LOGPEN), GetObject(pen.get(), sizeof out, &out));
        EXPECT_EQ(in.lopnStyle, out.lopnStyle);
        EXPECT_EQ(in.lopnWidth.x, out.lopnWidth.x);
        EXPECT_EQ(0, out.lopnWidth.y);
        EXPECT_EQ(in.lopnColor, out.lopnColor);
        EXPECT_EQ(0, GetObject(pen.get(), sizeof out - 1, &out)) << "a short buffer gets nothing";
    }
    EXPECT_EQ(nullptr, CreatePenIndirect(nullptr));
}

TEST_F(GdiObjectTest, CreatePenTurnsExtendedStylesIntoSolid)
{
    ScopedObject<HPEN> pen(CreatePen(PS_USERSTYLE, 1, kRed));
    LOGPEN log;
    ASSERT_EQ((int)sizeof log, GetObject(pen.get(), sizeof log, &log));
    EXPECT_EQ((UINT)PS_SOLID, log.lopnStyle);
    EXPECT_EQ((DWORD)OBJ_PEN, GetObjectType(pen.get()));
}

TEST_F(GdiObjectTest, ExtLogPenRoundTripWithUserStyle)
{
    const LOGBRUSH brush = {BS_SOLID, RGB(10, 20, 30), 0};
    const DWORD dashes[] = {4, 2, 1, 2};
    const DWORD style = PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT | PS_JOIN_MITER;
    ScopedObject<HPEN> pen(ExtCreatePen(style, 3, &brush, 4, dashes));
    ASSERT_NE(nullptr, pen.get());
    EXPECT_EQ((DWORD)OBJ_EXTPEN, GetObjectType(pen.get()));

    const int size = (int)(offsetof(EXTLOGPEN, elpStyleEntry) + sizeof dashes);
    EXPECT_EQ(size, GetObject(pen.get(), 0, nullptr));
    std::vector<unsigned char> buffer(size);
    EXPECT_EQ(0, GetObject(pen.get(), size - 1, buffer.data()));
    ASSERT_EQ(size, GetObject(pen.get(), size, buffer.data()));
    const EXTLOGPEN* ext = reinterpret_cast<const EXTLOGPEN*>(buffer.data());
    EXPECT_EQ(style, ext->elpPenStyle);
    EXPECT_EQ(3u, ext->elpWidth);
    EXPECT_EQ((UINT)BS_SOLID, ext->elpBrushStyle);
    EXPECT_EQ(brush.lbColor, ext->elpColor);
    ASSERT_EQ(4u, ext->elpNumEntries);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(dashes[i], ext->elpStyleEntry[i]);
}

TEST_F(GdiObjectTest, HatchedGeometricPenReportsItsBrush)
{
    const LOGBRUSH brush = {BS_HATCHED, kBlue, HS_CROSS};
    ScopedObject<HPEN> pen(ExtCreatePen(PS_GEOMETRIC | PS_DASH, 5, &brush, 0, nullptr));
    ASSERT_NE(nullptr, pen.get());
    EXTLOGPEN ext;
    ASSERT_EQ((int)offsetof(EXTLOGPEN, elpStyleEntry), GetObject(pen.get(), sizeof ext, &ext));
    EXPECT_EQ((DWORD)(PS_GEOMETRIC | PS_DASH), ext.elpPenStyle);
    EXPECT_EQ((UINT)BS_HATCHED, ext.elpBrushStyle);
    EXPECT_EQ((ULONG_PTR)HS_CROSS, ext.elpHatch);
    EXPECT_EQ(0u, ext.elpNumEntries);
}

// ExtCreatePen arguments GDI refuses.
TEST_F(GdiObjectTest, ExtCreatePenRefusesInvalidCombinations)
{
    const LOGBRUSH solid = {BS_SOLID, kRed, 0};
    const LOGBRUSH hatched = {BS_HATCHED, kRed, HS_CROSS};
    const LOGBRUSH badHatch = {BS_HATCHED, kRed, 17};
    const DWORD dashes[17] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    struct Case {
        const char* what;
        DWORD style;
        DWORD width;
        const LOGBRUSH* brush;
        DWORD count;
        const DWORD* styles;
    };
    const Case cases[] = {
        {"no brush", PS_COSMETIC | PS_SOLID, 1, nullptr, 0, nullptr},
        {"cosmetic wider than 1", PS_COSMETIC | PS_SOLID, 2, &solid, 0, nullptr},
        {"cosmetic with a hatch", PS_COSMETIC | PS_SOLID, 1, &hatched, 0, nullptr},
        {"user style without entries", PS_GEOMETRIC | PS_USERSTYLE, 2, &solid, 0, nullptr},
        {"user style without array", PS_GEOMETRIC | PS_USERSTYLE, 2, &solid, 2, nullptr},
        {"17 style entries", PS_GEOMETRIC | PS_USERSTYLE, 2, &solid, 17, dashes},
        {"entries without user style", PS_GEOMETRIC | PS_DASH, 2, &solid, 2, dashes},
        {"geometric alternate", PS_GEOMETRIC | PS_ALTERNATE, 2, &solid, 0, nullptr},
        {"style out of range", PS_GEOMETRIC | 9, 2, &solid, 0, nullptr},
        {"end cap out of range", PS_GEOMETRIC | 0x300, 2, &solid, 0, nullptr},
        {"stray bits", PS_GEOMETRIC | 0x00100000, 2, &solid, 0, nullptr},
        {"bad hatch", PS_GEOMETRIC | PS_SOLID, 2, &badHatch, 0, nullptr},
    };
    for (const Case& c : cases) {
        HPEN pen = ExtCreatePen(c.style, c.width, c.brush, c.count, c.styles);
        EXPECT_EQ(nullptr, pen) << c.what;
        if (pen) DeleteObject(pen);
    }
    ScopedObject<HPEN> alternate(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &solid, 0, nullptr));
    EXPECT_NE(nullptr, alternate.get());
}

TEST_F(GdiObjectTest, LogBrushRoundTrip)
{
    const LOGBRUSH brushes[] = {
        {BS_SOLID, RGB(4, 5, 6), 0},
        {BS_HATCHED, RGB(7, 8, 9), HS_DIAGCROSS},
        {BS_NULL, 0, 0},
    };
    for (const LOGBRUSH& in : brushes) {
        ScopedObject<HBRUSH> brush(CreateBrushIndirect(&in));
        ASSERT_NE(nullptr, brush.get());
        LOGBRUSH out;
        ASSERT_EQ((int)sizeof out, GetObject(brush.get(), sizeof out, &out));
        EXPECT_EQ(in.lbStyle, out.lbStyle);
        EXPECT_EQ(in.lbColor, out.lbColor);
        EXPECT_EQ(in.lbHatch, out.lbHatch);
    }
    EXPECT_EQ(nullptr, CreateHatchBrush(HS_DIAGCROSS + 1, kRed));
    EXPECT_EQ(nullptr, CreateHatchBrush(-1, kRed));
    const LOGBRUSH pattern = {BS_PATTERN, 0, 0};
    EXPECT_EQ(nullptr, CreateBrushIndirect(&pattern)) << "pattern brushes are not provided";
    EXPECT_EQ(nullptr, CreateBrushIndirect(nullptr));
}

TEST_F(GdiObjectTest, LogFontRoundTrip)
{
    LOGFONTW in = {};
    in.lfHeight = -17;
    in.lfWidth = 3;
    in.lfEscapement = 900;
    in.lfOrientation = 900;
    in.lfWeight = FW_BOLD;
    in.lfItalic = 1;
    in.lfUnderline = 1;
    in.lfStrikeOut = 1;
    in.lfCharSet = SHIFTJIS_CHARSET;
    in.lfOutPrecision = OUT_TT_PRECIS;
    in.lfClipPrecision = CLIP_LH_ANGLES;
    in.lfQuality = PROOF_QUALITY;
    in.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    std::wcscpy(in.lfFaceName, L"ＭＳ ゴシック");
    ScopedObject<HFONT> font(CreateFontIndirectW(&in));
    ASSERT_NE(nullptr, font.get());

    LOGFONTW out;
    EXPECT_EQ((int)sizeof out, GetObject(font.get(), 0, nullptr));
    ASSERT_EQ((int)sizeof out, GetObject(font.get(), sizeof out, &out));
    EXPECT_EQ(0, std::memcmp(&in, &out, sizeof in));

    // A short buffer gets the start of the record.
    LONG height = 0;
    EXPECT_EQ((int)sizeof height, GetObject(font.get(), sizeof height, &height));
    EXPECT_EQ(-17, height);
}

TEST_F(GdiObjectTest, CreateFontKeepsFourteenArgumentsAndTruncatesTheFace)
{
    const wchar_t* longFace = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij";   // 36 characters
    ScopedObject<HFONT> font(CreateFontW(20, 0, 0, 0, FW_SEMIBOLD, TRUE, FALSE, TRUE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, longFace));
    LOGFONTW out;
    ASSERT_EQ((int)sizeof out, GetObject(font.get(), sizeof out, &out));
    EXPECT_EQ(20, out.lfHeight);
    EXPECT_EQ(FW_SEMIBOLD, out.lfWeight);
    EXPECT_EQ(1, out.lfItalic);
    EXPECT_EQ(0, out.lfUnderline);
    EXPECT_EQ(1, out.lfStrikeOut);
    EXPECT_EQ(GB2312_CHARSET, out.lfCharSet);
    EXPECT_EQ(std::wstring(longFace, LF_FACESIZE - 1), std::wstring(out.lfFaceName));
    EXPECT_EQ(nullptr, CreateFontIndirectW(nullptr));
}

TEST_F(GdiObjectTest, BitmapRowsAreWordAligned)
{
    struct Case {
        int width, bits;
        LONG widthBytes;
    };
    const Case cases[] = {{10, 1, 2}, {17, 1, 4}, {3, 24, 10}, {5, 32, 20}, {1, 8, 2}};
    for (const Case& c : cases) {
        ScopedObject<HBITMAP> bitmap(CreateBitmap(c.width, 3, 1, c.bits, nullptr));
        ASSERT_NE(nullptr, bitmap.get());
        BITMAP bm;
        ASSERT_EQ((int)sizeof bm, GetObject(bitmap.get(), sizeof bm, &bm));
        EXPECT_EQ(c.width, bm.bmWidth);
        EXPECT_EQ(3, bm.bmHeight);
        EXPECT_EQ(c.widthBytes, bm.bmWidthBytes) << c.width << " x " << c.bits;
        EXPECT_EQ(1, bm.bmPlanes);
        EXPECT_EQ(c.bits, bm.bmBitsPixel);
        EXPECT_EQ(nullptr, bm.bmBits);
    }
    EXPECT_EQ(nullptr, CreateBitmap(-1, 3, 1, 32, nullptr));
    EXPECT_EQ(nullptr, CreateBitmap(3, 3, 1, 7, nullptr));
    EXPECT_EQ(nullptr, CreateBitmap(3, 3, 33, 1, nullptr));
}

TEST_F(GdiObjectTest, ZeroSizedBitmapsAreTheStockMonochromeOne)
{
    HBITMAP empty = CreateBitmap(0, 5, 1, 32, nullptr);
    ASSERT_NE(nullptr, empty);
    BITMAP bm;
    ASSERT_EQ((int)sizeof bm, GetObject(empty, sizeof bm, &bm));
    EXPECT_EQ(1, bm.bmWidth);
    EXPECT_EQ(1, bm.bmHeight);
    EXPECT_EQ(1, bm.bmBitsPixel);
    EXPECT_TRUE(DeleteObject(empty));
    EXPECT_EQ((DWORD)OBJ_BITMAP, GetObjectType(empty)) << "stock objects stay";
}

TEST_F(GdiObjectTest, CreateBitmapReadsItsBits)
{
    // 3 x 2 at 24 bits: rows of 9 bytes padded to 10, blue-green-red order.
    const unsigned char rgb[] = {
        0, 0, 255, 0, 255, 0, 255, 0, 0, 0xEE,            // red, green, blue, pad
        255, 255, 255, 0, 0, 0, 10, 20, 30, 0xEE,         // white, black, RGB(30, 20, 10), pad
    };
    ScopedObject<HBITMAP> color(CreateBitmap(3, 2, 1, 24, rgb));
    // 10 x 1 monochrome: set bits are white.
    const unsigned char mono[] = {0xA0, 0x40};
    ScopedObject<HBITMAP> bw(CreateBitmap(10, 1, 1, 1, mono));

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ original = SelectObject(dc, color.get());
    EXPECT_PIXEL(dc, 0, 0, kRed);
    EXPECT_PIXEL(dc, 1, 0, kGreen);
    EXPECT_PIXEL(dc, 2, 0, kBlue);
    EXPECT_PIXEL(dc, 0, 1, kWhite);
    EXPECT_PIXEL(dc, 1, 1, kBlack);
    EXPECT_PIXEL(dc, 2, 1, RGB(30, 20, 10));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 3, 0));
    SelectObject(dc, bw.get());
    const COLORREF expected[] = {kWhite, kBlack, kWhite, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kWhite};
    for (int x = 0; x < 10; ++x) EXPECT_PIXEL(dc, x, 0, expected[x]);
    SelectObject(dc, original);
    DeleteDC(dc);
}

TEST_F(GdiObjectTest, CompatibleBitmapOfAFreshMemoryDcIsMonochrome)
{
    ScopedImageDC screen(8, 8);
    HDC memory = CreateCompatibleDC(screen);
    ScopedObject<HBITMAP> mono(CreateCompatibleBitmap(memory, 4, 4));
    ScopedObject<HBITMAP> color(CreateCompatibleBitmap(screen, 4, 4));
    BITMAP bm;
    ASSERT_EQ((int)sizeof bm, GetObject(mono.get(), sizeof bm, &bm));
    EXPECT_EQ(1, bm.bmBitsPixel);
    ASSERT_EQ((int)sizeof bm, GetObject(color.get(), sizeof bm, &bm));
    EXPECT_EQ(32, bm.bmBitsPixel);
    // Once a colour bitmap is selected, the memory DC makes colour bitmaps.
    HGDIOBJ original = SelectObject(memory, color.get());
    ScopedObject<HBITMAP> second(CreateCompatibleBitmap(memory, 2, 2));
    ASSERT_EQ((int)sizeof bm, GetObject(second.get(), sizeof bm, &bm));
    EXPECT_EQ(32, bm.bmBitsPixel);
    SelectObject(memory, original);
    DeleteDC(memory);
    EXPECT_EQ(nullptr, CreateCompatibleBitmap(screen, -1, 4));
}

TEST_F(GdiObjectTest, RectRegionsAreNormalised)
{
    ScopedObject<HRGN> region(CreateRectRgn(10, 8, 2, 1));
    RECT box;
    EXPECT_EQ(SIMPLEREGION, GetRgnBox(region, &box));
    EXPECT_EQ(2, box.left);
    EXPECT_EQ(1, box.top);
    EXPECT_EQ(10, box.right);
    EXPECT_EQ(8, box.bottom);
    ScopedObject<HRGN> empty(CreateRectRgn(3, 3, 3, 9));
    EXPECT_EQ(NULLREGION, GetRgnBox(empty, &box));
    EXPECT_EQ(0, GetObject(region.get(), sizeof box, &box)) << "regions have no GetObject record";
    EXPECT_EQ((DWORD)OBJ_REGION, GetObjectType(region.get()));
    EXPECT_EQ(ERROR, GetRgnBox(nullptr, &box));
}
