// Raster operations of BitBlt, StretchBlt's scaling, mirroring and
// stretching modes, and the bits of device bitmaps.
#include <cstring>

#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using BlitTest = LeakCheckedTest;

namespace {

// A memory DC with its own colour bitmap, for the length of a scope.
class MemoryDC {
public:
    MemoryDC(HDC compatible, int width, int height)
        : m_dc(CreateCompatibleDC(compatible)), m_bitmap(CreateCompatibleBitmap(compatible, width, height))
    {
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~MemoryDC()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    operator HDC() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

COLORREF Bits(COLORREF a, COLORREF b, unsigned (*op)(unsigned, unsigned))
{
    return RGB(op(GetRValue(a), GetRValue(b)) & 0xFF, op(GetGValue(a), GetGValue(b)) & 0xFF,
               op(GetBValue(a), GetBValue(b)) & 0xFF);
}

}  // namespace

// Each raster operation with source S, destination D and pattern P.
TEST_F(BlitTest, RasterOperationsCombineSourcePatternAndDestination)
{
    const COLORREF S = RGB(0xF0, 0x0F, 0xCC), D = RGB(0xAA, 0x55, 0x0F), P = RGB(0x12, 0x34, 0x56);
    struct Op {
        DWORD rop;
        const char* name;
        COLORREF expected;
    };
    const Op kOps[] = {
        {SRCCOPY, "SRCCOPY", S},
        {SRCAND, "SRCAND", Bits(S, D, [](unsigned s, unsigned d) { return s & d; })},
        {SRCPAINT, "SRCPAINT", Bits(S, D, [](unsigned s, unsigned d) { return s | d; })},
        {SRCINVERT, "SRCINVERT", Bits(S, D, [](unsigned s, unsigned d) { return s ^ d; })},
        {PATCOPY, "PATCOPY", P},
        {DSTINVERT, "DSTINVERT", Bits(D, D, [](unsigned d, unsigned) { return ~d; })},
        {MERGECOPY, "MERGECOPY", Bits(S, P, [](unsigned s, unsigned p) { return s & p; })},
    };
    ScopedImageDC screen(8, 8);
    MemoryDC source(screen, 4, 4);
    FillWith(source, 4, 4, S);
    ScopedObject<HBRUSH> brush(CreateSolidBrush(P));
    for (const Op& op : kOps) {
        FillWith(screen, 8, 8, D);
        HGDIOBJ old = SelectObject(screen, brush.get());
        ASSERT_TRUE(BitBlt(screen, 2, 2, 4, 4, source, 0, 0, op.rop)) << op.name;
        SelectObject(screen, old);
        EXPECT_EQ(ColorText(op.expected), ColorText(GetPixel(screen, 3, 3))) << op.name;
        EXPECT_EQ(ColorText(D), ColorText(GetPixel(screen, 6, 3))) << op.name << " outside";
    }
}

TEST_F(BlitTest, StretchBltScalesAndMirrors)
{
    ScopedImageDC screen(16, 16);
    MemoryDC source(screen, 2, 2);
    SetPixel(source, 0, 0, kRed);
    SetPixel(source, 1, 0, kGreen);
    SetPixel(source, 0, 1, kBlue);
    SetPixel(source, 1, 1, kBlack);
    ASSERT_TRUE(StretchBlt(screen, 0, 0, 8, 8, source, 0, 0, 2, 2, SRCCOPY));
    EXPECT_PIXEL(screen, 0, 0, kRed);
    EXPECT_PIXEL(screen, 3, 3, kRed);
    EXPECT_PIXEL(screen, 4, 0, kGreen);
    EXPECT_PIXEL(screen, 0, 7, kBlue);
    EXPECT_PIXEL(screen, 7, 7, kBlack);
    EXPECT_PIXEL(screen, 8, 0, kWhite);
    // A negative destination width mirrors left to right.
    FillWith(screen, 16, 16, kWhite);
    ASSERT_TRUE(StretchBlt(screen, 8, 0, -8, 8, source, 0, 0, 2, 2, SRCCOPY));
    EXPECT_PIXEL(screen, 0, 0, kGreen);
    EXPECT_PIXEL(screen, 7, 0, kRed);
    EXPECT_PIXEL(screen, 7, 7, kBlue);
    // Negative on both sides is no mirror at all.
    ASSERT_TRUE(StretchBlt(screen, 8, 8, -8, -8, source, 2, 2, -2, -2, SRCCOPY));
    EXPECT_PIXEL(screen, 0, 0, kRed);
    EXPECT_PIXEL(screen, 7, 7, kBlack);
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    EXPECT_FALSE(StretchBlt(screen, 0, 0, 4, 4, stale, 0, 0, 2, 2, SRCCOPY));
}

// Shrinking 4 source pixels to 2: how the two that meet are merged.
TEST_F(BlitTest, StretchModesMergeShrunkPixels)
{
    struct Case {
        int mode;
        COLORREF first, second;   // source pixels 0 and 1 (2 and 3 are white)
        COLORREF expected;        // destination pixel 0
    };
    const Case kCases[] = {
        {BLACKONWHITE, kBlack, kWhite, kBlack},    // AND keeps black lines
        {WHITEONBLACK, kWhite, kBlack, kWhite},    // OR keeps white ones
        {COLORONCOLOR, kBlack, kWhite, kWhite},    // the pixel at the centre wins
        {HALFTONE, kBlack, kWhite, RGB(128, 128, 128)},
    };
    ScopedImageDC screen(4, 4);
    MemoryDC source(screen, 4, 1);
    for (const Case& c : kCases) {
        FillWith(source, 4, 1, kWhite);
        SetPixel(source, 0, 0, c.first);
        SetPixel(source, 1, 0, c.second);
        EXPECT_NE(0, SetStretchBltMode(screen, c.mode)) << c.mode;
        ASSERT_TRUE(StretchBlt(screen, 0, 0, 2, 1, source, 0, 0, 4, 1, SRCCOPY));
        EXPECT_EQ(ColorText(c.expected), ColorText(GetPixel(screen, 0, 0))) << "mode " << c.mode;
        EXPECT_PIXEL(screen, 1, 0, kWhite);
        SetStretchBltMode(screen, BLACKONWHITE);
    }
    EXPECT_EQ(0, SetStretchBltMode(screen, 9));
}

TEST_F(BlitTest, BitmapBitsRoundTrip)
{
    // 3 x 2 at 32 bits: blue, green, red, unused per pixel, rows padded to a WORD (already).
    const unsigned char colour[24] = {0x10, 0x20, 0x30, 0, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0,
                                      1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0};
    ScopedObject<HBITMAP> bitmap(CreateBitmap(3, 2, 1, 32, colour));
    unsigned char back[24] = {};
    EXPECT_EQ(24, GetBitmapBits(bitmap, 0, nullptr)) << "the size with no buffer";
    ASSERT_EQ(24, GetBitmapBits(bitmap, sizeof back, back));
    EXPECT_EQ(0, std::memcmp(colour, back, sizeof back));
    EXPECT_EQ(10, GetBitmapBits(bitmap, 10, back)) << "a short buffer gets what fits";

    // Monochrome rows are WORD-padded bits, set bits white.
    const unsigned char mono[4] = {0xA0, 0x00, 0x40, 0x00};   // 3 x 2: white-black-white / black-white-black
    ScopedObject<HBITMAP> mask(CreateBitmap(3, 2, 1, 1, nullptr));
    EXPECT_EQ(4, SetBitmapBits(mask, sizeof mono, mono));
    unsigned char monoBack[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(4, GetBitmapBits(mask, sizeof monoBack, monoBack));
    EXPECT_EQ(0xA0, monoBack[0]);
    EXPECT_EQ(0x40, monoBack[2]);
    EXPECT_EQ(2, SetBitmapBits(mask, 3, mono)) << "whole rows only";

    HBITMAP stale = CreateBitmap(2, 2, 1, 32, nullptr);
    DeleteObject(stale);
    EXPECT_EQ(0, GetBitmapBits(stale, sizeof back, back));
    EXPECT_EQ(0, SetBitmapBits(stale, sizeof colour, colour));
}

TEST_F(BlitTest, GetDIBitsGivesBottomUpRows)
{
    ScopedImageDC screen(4, 4);
    MemoryDC memory(screen, 3, 2);
    SetPixel(memory, 0, 0, RGB(1, 2, 3));
    SetPixel(memory, 0, 1, RGB(4, 5, 6));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_EQ(2, GetDIBits(screen, memory.Bitmap(), 0, 2, nullptr, &info, DIB_RGB_COLORS));
    EXPECT_EQ(3, info.bmiHeader.biWidth);
    EXPECT_EQ(32, info.bmiHeader.biBitCount);
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biHeight = 2;
    unsigned char bits[24] = {};   // 3 pixels of 3 bytes, padded to 12 per row
    ASSERT_EQ(2, GetDIBits(screen, memory.Bitmap(), 0, 2, bits, &info, DIB_RGB_COLORS));
    EXPECT_EQ(24u, info.bmiHeader.biSizeImage);
    EXPECT_EQ(6, bits[0]) << "the first DIB row is the bitmap's bottom row, blue first";
    EXPECT_EQ(4, bits[2]);
    EXPECT_EQ(3, bits[12]);
    info.bmiHeader.biHeight = -2;   // top-down
    ASSERT_EQ(1, GetDIBits(screen, memory.Bitmap(), 1, 5, bits, &info, DIB_RGB_COLORS)) << "no lines past the end";
    EXPECT_EQ(6, bits[0]);
    EXPECT_EQ(0, GetDIBits(screen, memory.Bitmap(), 0, 2, bits, &info, DIB_PAL_COLORS));
}
