// Text: font height semantics, metrics, the face mapping through the
// project's fontconfig file, Chinese captions, alignment and backgrounds.
#include <cstdlib>
#include <string>

#include "platform/gdi/TextLayout.h"
#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using TextTest = LeakCheckedTest;

namespace {

HFONT MakeFont(int height, const wchar_t* face, int weight = FW_NORMAL)
{
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, face);
}

TEXTMETRICW MetricsOf(HFONT font)
{
    ScopedImageDC dc(4, 4);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm = {};
    EXPECT_TRUE(GetTextMetricsW(dc, &tm));
    SelectObject(dc, old);
    return tm;
}

LOGFONTW LogFontFor(const wchar_t* face)
{
    LOGFONTW log = {};
    log.lfHeight = -16;
    log.lfCharSet = GB2312_CHARSET;
    std::wcsncpy(log.lfFaceName, face, LF_FACESIZE - 1);
    return log;
}

}  // namespace

TEST_F(TextTest, NegativeHeightIsTheEmHeight)
{
    for (int em : {8, 10, 12, 13, 16, 20, 24, 37, 60}) {
        ScopedObject<HFONT> font(MakeFont(-em, L"ＭＳ ゴシック"));
        const TEXTMETRICW tm = MetricsOf(font);
        EXPECT_LE(std::abs((int)(tm.tmHeight - tm.tmInternalLeading) - em), 1) << "lfHeight -" << em;
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_GT(tm.tmInternalLeading, 0) << "a CJK face's cell is taller than its em";
    }
}

TEST_F(TextTest, PositiveHeightIsTheCellHeight)
{
    for (int cell : {8, 10, 12, 13, 16, 20, 24, 37, 60}) {
        ScopedObject<HFONT> font(MakeFont(cell, L"MS Gothic"));
        const TEXTMETRICW tm = MetricsOf(font);
        EXPECT_LE(std::abs((int)tm.tmHeight - cell), 1) << "lfHeight " << cell;
        EXPECT_LT(tm.tmHeight - tm.tmInternalLeading, cell + 1);
    }
}

TEST_F(TextTest, ZeroHeightIsAReasonableDefault)
{
    ScopedObject<HFONT> font(MakeFont(0, L"MS Gothic"));
    const TEXTMETRICW tm = MetricsOf(font);
    EXPECT_GE(tm.tmHeight, 10);
    EXPECT_LE(tm.tmHeight, 16);
}

TEST_F(TextTest, MappedFaceReportsHalfAndFullWidthMetrics)
{
    ScopedObject<HFONT> font(MakeFont(-12, L"ＭＳ ゴシック", FW_BOLD));
    const TEXTMETRICW tm = MetricsOf(font);
    EXPECT_EQ(6, tm.tmAveCharWidth) << "half-width characters are half an em";
    EXPECT_EQ(12, tm.tmMaxCharWidth) << "full-width characters are a whole em";
    EXPECT_EQ(FW_BOLD, tm.tmWeight);
    EXPECT_EQ(SHIFTJIS_CHARSET, tm.tmCharSet);
    EXPECT_EQ(0, tm.tmPitchAndFamily & TMPF_FIXED_PITCH) << "the bit set means variable pitch";
    EXPECT_NE(0, tm.tmPitchAndFamily & TMPF_TRUETYPE);
    EXPECT_GE(tm.tmExternalLeading, 0);

    ScopedObject<HFONT> proportional(MakeFont(-12, L"ＭＳ Ｐゴシック"));
    EXPECT_NE(0, MetricsOf(proportional).tmPitchAndFamily & TMPF_FIXED_PITCH);
}

TEST_F(TextTest, HalfWidthTextIsHalfAsWideAsFullWidth)
{
    ScopedImageDC dc(4, 4);
    ScopedObject<HFONT> font(MakeFont(-16, L"MS Gothic"));
    HGDIOBJ old = SelectObject(dc, font.get());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    SIZE one, four, kana, empty;
    ASSERT_TRUE(GetTextExtentPoint32W(dc, L"A", 1, &one));
    ASSERT_TRUE(GetTextExtentPoint32W(dc, L"ABCD", 4, &four));
    ASSERT_TRUE(GetTextExtentPoint32W(dc, L"心電図", 3, &kana));
    ASSERT_TRUE(GetTextExtentPoint32W(dc, L"", 0, &empty));
    EXPECT_EQ(8, one.cx);
    EXPECT_EQ(4 * one.cx, four.cx) << "fixed pitch, no kerning";
    EXPECT_EQ(3 * 16, kana.cx);
    EXPECT_EQ(tm.tmHeight, one.cy);
    EXPECT_EQ(0, empty.cx);
    EXPECT_EQ(tm.tmHeight, empty.cy);
    EXPECT_FALSE(GetTextExtentPoint32W(dc, L"A", -1, &one));
    EXPECT_FALSE(GetTextExtentPoint32W(dc, nullptr, 2, &one));
    EXPECT_FALSE(GetTextExtentPoint32W(dc, L"A", 1, nullptr));
    // Only `count` characters are measured.
    SIZE two;
    GetTextExtentPoint32W(dc, L"ABCD", 2, &two);
    EXPECT_EQ(2 * one.cx, two.cx);
    SelectObject(dc, old);
}

TEST_F(TextTest, FaceNamesOfTheOriginalMapToIpaGothic)
{
    struct Face {
        const wchar_t* name;
        const char* family;
    };
    static const Face kFaces[] = {
        {L"simsun", "IPAGothic"},
        {L"ＭＳ ゴシック", "IPAGothic"},
        {L"MS Gothic", "IPAGothic"},
        {L"Gothic", "IPAGothic"},
        {L"System", "IPAGothic"},
        {L"Courier New", "IPAGothic"},
        {L"", "IPAGothic"},
        {L"ＭＳ Ｐゴシック", "IPAPGothic"},
        {L"MS UI Gothic", "IPAPGothic"},
        {L"Arial", "IPAPGothic"},
    };
    for (const Face& face : kFaces) {
        EXPECT_EQ(face.family, platform::gdi::ResolveFontFamily(face.name))
            << platform::gdi::WideToUtf8(face.name, (int)std::wcslen(face.name));
    }
    EXPECT_FALSE(platform::gdi::TextLayout::Instance().ConfigFile().empty()) << "the project's fontconfig file is in use";
}

TEST_F(TextTest, ChineseCaptionsHaveEveryGlyph)
{
    const wchar_t* captions[] = {L"连续", L"心拍测量", L"心電図 連続 波形"};
    for (const wchar_t* caption : captions) {
        const LOGFONTW log = LogFontFor(L"simsun");
        EXPECT_EQ(0, platform::gdi::CountUnknownGlyphs(log, caption, (int)std::wcslen(caption)))
            << platform::gdi::WideToUtf8(caption, (int)std::wcslen(caption));
    }
    // The counter does see a character no font has.
    const wchar_t unassigned[] = {0x10FFFD, 0};
    EXPECT_EQ(1, platform::gdi::CountUnknownGlyphs(LogFontFor(L"simsun"), unassigned, 1));

    ScopedImageDC dc(80, 30);
    ScopedObject<HFONT> font(MakeFont(-16, L"simsun"));
    HGDIOBJ old = SelectObject(dc, font.get());
    ASSERT_TRUE(TextOutW(dc, 2, 2, L"连续", 2));
    const RECT ink = InkBox(dc, 80, 30);
    EXPECT_GT(ink.right - ink.left, 20) << "two ideographs of ink";
    SelectObject(dc, old);
}

// Where the ink of "HH" lands for each alignment, relative to the reference
// point (x, y) = (100, 40) on a 200 x 80 image, 20-pixel em.
TEST_F(TextTest, AlignmentPlacesTheInk)
{
    ScopedObject<HFONT> font(MakeFont(-20, L"MS Gothic"));
    SIZE extent;
    TEXTMETRICW tm;
    {
        ScopedImageDC probe(4, 4);
        HGDIOBJ old = SelectObject(probe, font.get());
        GetTextExtentPoint32W(probe, L"HH", 2, &extent);
        GetTextMetricsW(probe, &tm);
        SelectObject(probe, old);
    }
    const int x = 100, y = 40, slack = 3;
    struct Case {
        UINT align;
        int left, right;    // the cell's horizontal extent
        int top, bottom;    // the cell's vertical extent
    };
    const Case kCases[] = {
        {TA_LEFT | TA_TOP, x, x + extent.cx, y, y + tm.tmHeight},
        {TA_RIGHT | TA_TOP, x - extent.cx, x, y, y + tm.tmHeight},
        {TA_CENTER | TA_TOP, x - extent.cx / 2, x - extent.cx / 2 + extent.cx, y, y + tm.tmHeight},
        {TA_LEFT | TA_BASELINE, x, x + extent.cx, y - tm.tmAscent, y + tm.tmDescent},
        {TA_LEFT | TA_BOTTOM, x, x + extent.cx, y - tm.tmHeight, y},
    };
    for (const Case& c : kCases) {
        ScopedImageDC dc(200, 80);
        HGDIOBJ old = SelectObject(dc, font.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, c.align);
        ASSERT_TRUE(TextOutW(dc, x, y, L"HH", 2));
        const RECT ink = InkBox(dc, 200, 80);
        ASSERT_LT(ink.left, ink.right) << "no ink for align " << c.align;
        EXPECT_GE(ink.left, c.left) << "align " << c.align;
        EXPECT_LE(ink.left, c.left + slack) << "align " << c.align;
        EXPECT_LE(ink.right, c.right) << "align " << c.align;
        EXPECT_GE(ink.right, c.right - slack) << "align " << c.align;
        EXPECT_GE(ink.top, c.top) << "align " << c.align;
        // "H" stands on the baseline (IPA Gothic's Latin letters float 0.05 em
        // above it, one pixel here): its ink ends just above the baseline row.
        const int baseline = c.top + tm.tmAscent;
        EXPECT_LE(ink.bottom, baseline) << "align " << c.align;
        EXPECT_GE(ink.bottom, baseline - 2) << "align " << c.align;
        SelectObject(dc, old);
    }
}

TEST_F(TextTest, UpdateCpMovesTheCurrentPosition)
{
    ScopedImageDC dc(100, 30);
    ScopedObject<HFONT> font(MakeFont(-12, L"MS Gothic"));
    HGDIOBJ old = SelectObject(dc, font.get());
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 10, 5, nullptr);
    TextOutW(dc, 0, 0, L"AB", 2);
    TextOutW(dc, 0, 0, L"C", 1);
    POINT p;
    GetCurrentPositionEx(dc, &p);
    EXPECT_EQ(10 + 3 * 6, p.x);
    EXPECT_EQ(5, p.y);
    EXPECT_EQ(0, InkBox(dc, 8, 30).right) << "the x and y arguments are ignored";
    SelectObject(dc, old);
}

TEST_F(TextTest, OpaqueModeFillsTheTextCell)
{
    ScopedObject<HFONT> font(MakeFont(-14, L"MS Gothic"));
    for (int mode : {OPAQUE, TRANSPARENT}) {
        ScopedImageDC dc(80, 40);
        HGDIOBJ old = SelectObject(dc, font.get());
        SetBkMode(dc, mode);
        SetBkColor(dc, kRed);
        SIZE size;
        GetTextExtentPoint32W(dc, L"ab", 2, &size);
        ASSERT_TRUE(TextOutW(dc, 10, 5, L"ab", 2));
        const COLORREF inCell = mode == OPAQUE ? kRed : kWhite;
        EXPECT_PIXEL(dc, 10, 5, inCell);
        EXPECT_PIXEL(dc, 10 + size.cx - 1, 5, inCell);
        EXPECT_PIXEL(dc, 10, 5 + size.cy - 1, inCell);
        EXPECT_PIXEL(dc, 10 + size.cx, 5, kWhite);
        EXPECT_PIXEL(dc, 9, 5, kWhite);
        EXPECT_PIXEL(dc, 10, 5 + size.cy, kWhite);
        EXPECT_PIXEL(dc, 10, 4, kWhite);
        SelectObject(dc, old);
    }
}

TEST_F(TextTest, ExtTextOutFillsOpaqueAndClipsToItsRectangle)
{
    ScopedImageDC dc(100, 40);
    ScopedObject<HFONT> font(MakeFont(-20, L"MS Gothic"));
    HGDIOBJ old = SelectObject(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, kGreen);
    // ETO_OPAQUE fills its rectangle whatever the background mode, text or not.
    RECT fill = {60, 2, 70, 8};
    ASSERT_TRUE(ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &fill, nullptr, 0, nullptr));
    EXPECT_PIXEL(dc, 60, 2, kGreen);
    EXPECT_PIXEL(dc, 69, 7, kGreen);
    EXPECT_PIXEL(dc, 70, 7, kWhite);
    // ETO_CLIPPED keeps the ink inside its rectangle.
    RECT clip = {5, 5, 25, 35};
    ASSERT_TRUE(ExtTextOutW(dc, 5, 5, ETO_CLIPPED, &clip, L"WWWW", 4, nullptr));
    const RECT ink = InkBox(dc, 58, 40);
    EXPECT_GT(ink.right, 15);
    EXPECT_LE(ink.right, 25);
    EXPECT_FALSE(ExtTextOutW(dc, 0, 0, 0, nullptr, nullptr, 3, nullptr));
    EXPECT_FALSE(TextOutW(dc, 0, 0, L"x", -1));
    SelectObject(dc, old);
}

TEST_F(TextTest, TextColourIsUsed)
{
    ScopedImageDC dc(60, 30);
    ScopedObject<HFONT> font(MakeFont(-24, L"MS Gothic", FW_BOLD));
    HGDIOBJ old = SelectObject(dc, font.get());
    SetTextColor(dc, kBlue);
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 2, 2, L"■", 1);   // a solid square: its middle is fully covered
    EXPECT_PIXEL(dc, 2 + 12, 2 + 12, kBlue);
    SelectObject(dc, old);
}

TEST_F(TextTest, GetTextFaceGivesTheSelectedFaceName)
{
    ScopedImageDC dc(4, 4);
    ScopedObject<HFONT> font(MakeFont(-12, L"ＭＳ ゴシック"));
    HGDIOBJ old = SelectObject(dc, font.get());
    wchar_t face[LF_FACESIZE];
    EXPECT_EQ(8, GetTextFaceW(dc, 0, nullptr));
    EXPECT_EQ(8, GetTextFaceW(dc, LF_FACESIZE, face));
    EXPECT_EQ(std::wstring(L"ＭＳ ゴシック"), face);
    EXPECT_EQ(3, GetTextFaceW(dc, 3, face));
    EXPECT_EQ(std::wstring(L"ＭＳ"), face);
    SelectObject(dc, old);
}
