// Golden bytes of the raw printer languages, as a print job through CECGDC
// leaves them in the spool. Every expected stream is written out from the
// command tables of the printer languages (HP-GL/2 in PCL 5, the
// escape-sequence page printer, LIPS IV with its number encoding), never
// taken from the code under test.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Dc.h"
#include "printdevice/ECGDC.h"
#include "tests/printdevice/PrintDeviceTestSupport.h"

namespace {

using namespace printdevicetest;

const _PRINT_TYPE kPCL = 3;
const _PRINT_TYPE kEscP = 4;
const _PRINT_TYPE kLIPS = 5;

// A monochrome 12 x 2 bitmap in a memory DC: 2 bytes per row (rows of
// device bitmaps are whole 16-bit words), rows FF 00 and 0F F0.
class MonoSource {
public:
    MonoSource()
    {
        static const BYTE kBits[] = {0xFF, 0x00, 0x0F, 0xF0};
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.CreateBitmap(12, 2, 1, 1, kBits);
        m_old = m_dc.SelectObject(&m_bitmap);
    }
    ~MonoSource() { m_dc.SelectObject(m_old); }
    CDC* DC() { return &m_dc; }

private:
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_old = nullptr;
};

// ---- type 3: HP-GL/2 inside PCL 5 ----------------------------------------------------------------

class PCLStream : public RawJobTest {};

TEST_F(PCLStream, APageOpensWithTheJobSetupAndEndsWithAFormFeed)
{
    const std::string bytes = RunJob(
        kPCL,
        [](CECGDC& dc) {
            EXPECT_TRUE(dc.StartPage());
            EXPECT_TRUE(dc.EndPage());
        },
        3);
    const std::string start = ESC + "%-12345X@PJL SET ECONOMODE=OFF\r\n@PJL ENTER LANGUAGE=PCL\r\n" + ESC + "E" +
                              ESC + "&l4A" + ESC + "&l1O" + ESC + "&l0L" + ESC + "&l40U" + ESC + "&l0E" + ESC +
                              "&a0L" + ESC + "&a0M" + ESC + "*c8180x5700y0T" + ESC + "%1BINSP1SC0,6814,4759,0TR0";
    const std::string end = ESC + "%0A" + ESC + "&l3X" + FF + ESC + "%-12345X";
    EXPECT_STREAM(start + end, bytes);
}

TEST_F(PCLStream, MovesLinesAndPixels)
{
    const std::string bytes = RunJob(kPCL, [](CECGDC& dc) {
        EXPECT_EQ(CPoint(10, 20), dc.MoveTo(10, 20));
        EXPECT_TRUE(dc.LineTo(30, 40));
        EXPECT_EQ(0u, dc.SetPixel(7, 8, RGB(0, 0, 0)));
        EXPECT_TRUE(dc.LineTo(CPoint(-5, 6)));
    });
    EXPECT_STREAM("PU10,20;PD30,40;PU7,8;PD7,8;PD-5,6;", bytes);
}

TEST_F(PCLStream, FiguresBecomeRectanglesCirclesAndFilledPolygons)
{
    const POINT two[] = {{1, 2}, {3, 4}};
    const POINT three[] = {{1, 2}, {3, 4}, {5, 6}};
    const std::string bytes = RunJob(kPCL, [&](CECGDC& dc) {
        EXPECT_TRUE(dc.Rectangle(50, 60, 10, 20));   // corners come ordered
        EXPECT_TRUE(dc.Ellipse(0, 0, 101, 50));      // a circle of half the width
        EXPECT_TRUE(dc.Polygon(two, 2));
        EXPECT_TRUE(dc.Polygon(three, 3));
        EXPECT_TRUE(dc.Polyline(three, 3));
        EXPECT_FALSE(dc.Polygon(three, 1));
        EXPECT_FALSE(dc.Polyline(nullptr, 3));
    });
    EXPECT_STREAM(std::string("PU10,20;RA50,60;EA50,60;") + "PU50,25;PM;CI50,0.5;PM2;FP;EP;" +
                      "PU1,2;PM;PD3,4;PM2;FP;EP;" + "PU1,2;PM;PD3,4,5,6;PM2;FP;EP;" + "PU1,2;PD3,4,5,6;",
                  bytes);
}

TEST_F(PCLStream, PensSetTheirLineTypeAndWidth)
{
    struct PenCase {
        int style;
        const char* expected;
    };
    // style, line type + width for a 1-pixel cosmetic pen
    const PenCase kCosmetic[] = {
        {PS_SOLID, "LTPW0.042300;"},      {PS_DASH, "LT-3,2,1PW0.042300;"},
        {PS_DOT, "LT-1,0.3,1PW0.042300;"}, {PS_DASHDOT, "LT-4,5,1PW0.042300;"},
        {PS_DASHDOTDOT, "LT-7,5,1PW0.042300;"}, {PS_NULL, "PW0.042300;"},
    };
    // the gap of a 2-pixel geometric user-style pen, its line type + width
    const std::pair<DWORD, const char*> kGapped[] = {
        {11, "LT-1,0.5,1PW0.084600;"}, {23, "LT-1,1,1PW0.084600;"}, {118, "LT-1,5,1PW0.084600;"}, {50, "PW0.084600;"}};

    std::string expected = "LTPW0.126900;";
    for (const PenCase& c : kCosmetic) expected += c.expected;
    for (const auto& gapped : kGapped) expected += gapped.second;
    expected += "LTPW0.042300;";   // the context's own pen, selected back

    const std::string bytes = RunJob(kPCL, [&](CECGDC& dc) {
        CPen wide(PS_SOLID, 3, RGB(0, 0, 0));
        CPen* pDefault = dc.SelectObject(&wide);
        ASSERT_NE(nullptr, pDefault);
        std::vector<std::unique_ptr<CPen>> pens;
        CPen* pPrevious = &wide;
        for (const PenCase& c : kCosmetic) {
            pens.push_back(std::make_unique<CPen>(c.style, 1, RGB(0, 0, 0)));
            EXPECT_EQ(pPrevious, dc.SelectObject(pens.back().get()));
            pPrevious = pens.back().get();
        }
        LOGBRUSH black = {BS_SOLID, RGB(0, 0, 0), 0};
        for (const auto& gapped : kGapped) {
            const DWORD style[2] = {1, gapped.first};
            pens.push_back(std::make_unique<CPen>(PS_GEOMETRIC | PS_USERSTYLE, 2, &black, 2, style));
            EXPECT_EQ(pPrevious, dc.SelectObject(pens.back().get()));
            pPrevious = pens.back().get();
        }
        EXPECT_EQ(pPrevious, dc.SelectObject(pDefault));
        EXPECT_EQ(pDefault, dc.GetCurrentPen());
    });
    EXPECT_STREAM(expected, bytes);
}

TEST_F(PCLStream, BrushesSetAGreyOrHatchedFillType)
{
    struct BrushCase {
        COLORREF color;
        const char* expected;
    };
    // grey g = 0.3 R + 0.59 G + 0.11 B, level g * 5 / 255
    const BrushCase kSolid[] = {
        {RGB(0, 0, 0), "FT1.2;"},         {RGB(51, 51, 51), "FT10,80;"},   {RGB(102, 102, 102), "FT10,60;"},
        {RGB(153, 153, 153), "FT10,40;"}, {RGB(204, 204, 204), "FT10,20;"}, {RGB(255, 255, 255), "FT10,0;"},
        {RGB(255, 0, 0), "FT10,80;"},     {RGB(50, 50, 50), "FT1.2;"},
    };
    std::string expected;
    const std::string bytes = RunJob(kPCL, [&](CECGDC& dc) {
        std::vector<std::unique_ptr<CBrush>> brushes;
        CBrush* pPrevious = dc.GetCurrentBrush();
        for (const BrushCase& c : kSolid) {
            brushes.push_back(std::make_unique<CBrush>(c.color));
            EXPECT_EQ(pPrevious, dc.SelectObject(brushes.back().get()));
            pPrevious = brushes.back().get();
            expected += c.expected;
        }
        CBrush hatched(HS_CROSS, RGB(255, 255, 255));
        EXPECT_EQ(pPrevious, dc.SelectObject(&hatched));
        expected += "FT4,20,45;";
        EXPECT_EQ(nullptr, dc.SelectObject((CBrush*)nullptr));
    });
    EXPECT_STREAM(expected, bytes);
}

TEST_F(PCLStream, FillsSelectTheBrushAndPutTheOldOneBack)
{
    const std::string bytes = RunJob(kPCL, [](CECGDC& dc) {
        CBrush* pDefault = dc.GetCurrentBrush();
        ASSERT_NE(nullptr, pDefault);
        CBrush black(RGB(0, 0, 0));
        CBrush hatched(HS_BDIAGONAL, RGB(0, 0, 0));
        const RECT rect = {1, 2, 3, 4};
        dc.FillRect(&rect, &black);
        CRgn region;
        region.CreateRectRgn(5, 6, 7, 8);
        EXPECT_TRUE(dc.FillRgn(&region, &hatched));
        // The default brush (white) is current again.
        EXPECT_EQ(pDefault, dc.GetCurrentBrush());
    });
    EXPECT_STREAM(std::string("FT1.2;PU1,2;RA3,4;FT10,0;") + "FT4,20,45;PU5,6;RA7,8;EA7,8;FT10,0;", bytes);
}

TEST_F(PCLStream, BackgroundClipAndTheCallsThatEmitNothing)
{
    const std::string bytes = RunJob(kPCL, [](CECGDC& dc) {
        EXPECT_EQ(1, dc.SetBkMode(OPAQUE));
        EXPECT_EQ(1, dc.SetBkMode(TRANSPARENT));
        EXPECT_EQ(-1, dc.SetBkMode(3));
        CRgn region;
        region.CreateRectRgn(1, 2, 3, 4);
        EXPECT_EQ(SIMPLEREGION, dc.SelectClipRgn(&region));
        EXPECT_EQ(NULLREGION, dc.SelectClipRgn(nullptr));
        // HP-GL/2 output carries no text.
        EXPECT_FALSE(dc.TextOut(10, 10, CString(L"ECG")));
        RECT rect = {0, 0, 100, 100};
        EXPECT_EQ(0, dc.DrawText(CString(L"ECG"), &rect, DT_LEFT));
        EXPECT_TRUE(dc.PatBlt(0, 0, 10, 10, PATCOPY));
        EXPECT_EQ(1, dc.SetROP2(R2_XORPEN));
        EXPECT_EQ(0u, dc.SetTextColor(RGB(255, 0, 0)));
        EXPECT_EQ(CPoint(0, 0), dc.SetViewportOrg(50, 50));
        EXPECT_EQ(nullptr, dc.SelectObject((CPen*)nullptr));
        EXPECT_EQ(nullptr, dc.SelectObject((CFont*)nullptr));
    });
    EXPECT_STREAM("TR0TR1IW1,2,3,4;IW;", bytes);
}

TEST_F(PCLStream, BitBltSendsTheSourceBitmapInvertedAsARasterImage)
{
    MonoSource source;
    const std::string bytes =
        RunJob(kPCL, [&](CECGDC& dc) { EXPECT_TRUE(dc.BitBlt(100, 200, 12, 2, source.DC(), 3, 3, SRCCOPY)); });
    // Every byte inverted, so that white bits print no ink.
    const std::string expected = "PU100,200;" + ESC + "%1A" + ESC + "*t600R" + ESC + "*r0f2t12s1A" + ESC + "*b2W" +
                                 std::string("\x00\xff", 2) + ESC + "*b2W" + std::string("\xf0\x0f", 2) + ESC +
                                 "*rB" + ESC + "%1B";
    EXPECT_STREAM(expected, bytes);
}

// ---- type 4: escape-sequence page printer --------------------------------------------------------

class EscPStream : public RawJobTest {};

TEST_F(EscPStream, SendsOnlyItsPageStartAndEnd)
{
    const std::string bytes = RunJob(kEscP, [](CECGDC& dc) {
        EXPECT_TRUE(dc.StartPage());
        dc.MoveTo(1, 1);
        dc.LineTo(100, 100);
        dc.Rectangle(0, 0, 10, 10);
        EXPECT_TRUE(dc.EndPage());
    });
    EXPECT_STREAM(ESC + "@" + ESC + "N" + FF + ESC + "@", bytes);
}

// ---- type 5: LIPS IV ------------------------------------------------------------------------------------

class LIPSStream : public RawJobTest {};

TEST_F(LIPSStream, APageOpensAndClosesWithItsOwnCommands)
{
    const std::string bytes = RunJob(
        kLIPS,
        [](CECGDC& dc) {
            EXPECT_TRUE(dc.StartPage());
            EXPECT_TRUE(dc.EndPage());
        },
        3);
    // L(-1) "!", L(-2) '"', L(10) ":", L(-12) ",", L(4) "4", L(-13) "-", L(9) "9",
    // L(-14) ".", L(49) "C1", L(600) "e8", L(4840) "Dn8", L(6894) "Fn>".
    const std::string start = ESC + "%@" + ESC + "P41;600;1J" + ESC + "\\" + ESC + "%0" + ESC + "[0\"p" + ESC + "<" +
                              ESC + "[?7;600 I" + ESC + "[15p" + ESC + "[3v" + SI + ESC + "PzGothic-Medium-H.ROMA" +
                              ESC + "\\" + ESC + "[?1450 K" + ESC + "[84 C" + ESC + "n" + ESC +
                              "PzGothic-Medium.J90" + ESC + "\\" + ESC + "[?700 K" + ESC + "[84 C" + ESC + "[0#x" +
                              ESC + "[0;0#W" + ESC + "[&}" + " @!" + RS + "#" + RS + "!0\":" + RS + "!13" + RS + "$" +
                              RS + "}d,1014" + RS + "}d-1019" + RS + "}d.101C1" + RS + "%" + RS + "#" + RS + "!0e81" +
                              RS + "!13" + RS + "$" + RS + "(0Dn8Fn>0" + RS;
    const std::string end = "*1" + RS + FF + "%" + RS + "}p" + RS + ESC + "P0J" + ESC + "\\";
    EXPECT_STREAM(start + end, bytes);
}

TEST_F(LIPSStream, LinesStartAtTheCurrentPosition)
{
    const std::string bytes = RunJob(kLIPS, [](CECGDC& dc) {
        EXPECT_EQ(CPoint(100, 200), dc.MoveTo(100, 200));   // emits nothing
        EXPECT_TRUE(dc.LineTo(110, 190));
        EXPECT_TRUE(dc.LineTo(110, 200));
        EXPECT_EQ(0u, dc.SetPixel(3, 4, RGB(0, 0, 0)));
    });
    // L(100) "F4", L(200) "L8", L(10) ":", L(-10) "*", L(110) "F>", L(190) "K>"
    EXPECT_STREAM("1F4L8:*" + RS + "1F>K>0:" + RS + "134" + RS, bytes);
}

TEST_F(LIPSStream, FiguresBecomeRectanglesEllipsesAndPolygons)
{
    const POINT three[] = {{1, 2}, {4, 6}, {2, 3}};
    const std::string bytes = RunJob(kLIPS, [&](CECGDC& dc) {
        EXPECT_TRUE(dc.Rectangle(30, 40, 10, 20));
        EXPECT_TRUE(dc.Ellipse(10, 20, 50, 80));
        EXPECT_TRUE(dc.Polyline(three, 3));
        EXPECT_TRUE(dc.Polygon(three, 3));
        // The last point of a figure becomes the current position.
        EXPECT_TRUE(dc.LineTo(3, 3));
    });
    // L(10) ":", L(30) "A>", L(20) "A4", L(40) "B8", L(50) "C2", L(-2) '"', L(-3) "#"
    EXPECT_STREAM("}::A>A4B8" + RS + "}7A>C2A4A>0" + RS + "11234\"#" + RS + "21234\"#" + RS + "12310" + RS, bytes);
}

TEST_F(LIPSStream, PolygonOfTenPointsIsOneClosedStrip)
{
    // Out along the first half, back along the second; the strip closes at point 0.
    const POINT band[] = {{0, 0}, {2, 1}, {4, 0}, {6, 1}, {8, 0}, {8, 5}, {6, 6}, {4, 5}, {2, 6}, {0, 5}};
    const std::string bytes = RunJob(kLIPS, [&](CECGDC& dc) {
        dc.MoveTo(7, 7);
        EXPECT_TRUE(dc.Polygon(band, 10));
        // A large polygon leaves the current position alone.
        EXPECT_TRUE(dc.LineTo(7, 8));
    });
    // Steps: (2,1) (2,-1) (2,1) (2,-1) (0,5), the turn (0,0), then (-2,1)
    // (-2,-1) (-2,1) (-2,-1) and (0,-5) back to point 0.
    EXPECT_STREAM("200" + std::string("212!212!05") + "00" + "\"1\"!\"1\"!0%" + RS + "17701" + RS, bytes);
}

TEST_F(LIPSStream, LargePolygonsGoInPiecesOfAtMostAHundredSteps)
{
    std::vector<POINT> points(210);
    for (int i = 0; i < 105; ++i) points[(size_t)i] = {i * 10, 100};
    for (int i = 0; i < 105; ++i) points[(size_t)(105 + i)] = {(104 - i) * 10, 200};
    const std::string bytes = RunJob(kLIPS, [&](CECGDC& dc) { EXPECT_TRUE(dc.Polygon(points.data(), 210)); });
    // Two pieces: points 0..100 and 5 more; each starts with "2" and ends with RS.
    ASSERT_EQ(2, (int)std::count(bytes.begin(), bytes.end(), '\x1e'));
    const size_t second = bytes.find(RS) + 1;
    // The second piece starts at point 100: L(1000) "~8", L(100) "F4".
    EXPECT_EQ("2~8F4", bytes.substr(second, 5));
    // First piece: "2" L(0) L(100); 100 steps out (L(10) ":", L(0) "0"); the
    // turn to point 110 (L(-10) "*", L(100) "F4"); 99 steps back (L(-10) "*",
    // L(0) "0") and the last one to point 0 (L(0) "0", L(-100) "F$"); RS.
    const std::string first = bytes.substr(0, second);
    EXPECT_EQ("20F4", first.substr(0, 4));
    EXPECT_EQ("*F4", first.substr(4 + 200, 3));
    EXPECT_EQ("0F$" + RS, first.substr(first.size() - 4));
    EXPECT_EQ(4u + 200 + 3 + 198 + 3 + 1, first.size());
}

TEST_F(LIPSStream, PensSetTheirLinePatternAndWidth)
{
    const std::string bytes = RunJob(kLIPS, [](CECGDC& dc) {
        const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
        for (int style : styles) {
            CPen pen(style, style == PS_SOLID ? 3 : 1, RGB(0, 0, 0));
            dc.SelectObject(&pen);
        }
        LOGBRUSH black = {BS_SOLID, RGB(0, 0, 0), 0};
        for (DWORD gap : {11u, 23u, 118u, 50u}) {
            const DWORD style[2] = {1, gap};
            CPen pen(PS_GEOMETRIC | PS_USERSTYLE, 2, &black, 2, style);
            dc.SelectObject(&pen);
        }
    });
    // Pattern "E1" + digit, or "E1" L(-12|-13|-14) "1"; then "F1" L(width).
    EXPECT_STREAM("E10" + RS + "F13" + RS + "E11" + RS + "F11" + RS + "E12" + RS + "F11" + RS + "E13" + RS + "F11" + RS +
                      "E14" + RS + "F11" + RS + "E1,1" + RS + "F12" + RS + "E1-1" + RS + "F12" + RS + "E1.1" + RS +
                      "F12" + RS + "F12" + RS,
                  bytes);
}

TEST_F(LIPSStream, BrushesChooseAGreyPatternByLevel)
{
    const std::string bytes = RunJob(kLIPS, [](CECGDC& dc) {
        // grey level g * 3 / 255: 0 black ... 3 white
        for (COLORREF color : {RGB(0, 0, 0), RGB(85, 85, 85), RGB(170, 170, 170), RGB(255, 255, 255)}) {
            CBrush brush(color);
            dc.SelectObject(&brush);
        }
        CBrush hatched(HS_HORIZONTAL, RGB(0, 0, 0));
        dc.SelectObject(&hatched);
    });
    // L(-8) "(", L(-1) "!", L(-9) ")", L(-6) "&"
    EXPECT_STREAM("I11" + RS + "I(1" + RS + "I!1" + RS + "I)1" + RS + "I&1" + RS, bytes);
}

TEST_F(LIPSStream, BackgroundModeAndRectangularClipsAreSentAndOthersRefused)
{
    const std::string bytes = RunJob(kLIPS, [](CECGDC& dc) {
        EXPECT_EQ(1, dc.SetBkMode(OPAQUE));
        EXPECT_EQ(1, dc.SetBkMode(TRANSPARENT));
        EXPECT_EQ(-1, dc.SetBkMode(0));
        CRgn region;
        region.CreateRectRgn(1, 2, 3, 4);
        EXPECT_EQ(SIMPLEREGION, dc.SelectClipRgn(&region));
        EXPECT_EQ(NULLREGION, dc.SelectClipRgn(nullptr));
        // Two rectangles apart are no rectangle: refused, nothing emitted.
        CRgn first, second, both;
        first.CreateRectRgn(0, 0, 10, 10);
        second.CreateRectRgn(20, 20, 30, 30);
        both.CreateRectRgn(0, 0, 0, 0);
        ASSERT_EQ(COMPLEXREGION, CombineRgn(both, first, second, RGN_OR));
        EXPECT_EQ(ERROR, dc.SelectClipRgn(&both));
    });
    EXPECT_STREAM("}H0" + RS + "}H1" + RS + ")1324" + RS + "*0" + RS + "*1" + RS, bytes);
}

TEST_F(LIPSStream, TextIsPlacedByTheStoredAlignment)
{
    const std::string bytes = RunJob(kLIPS, [](CECGDC& dc) {
        EXPECT_TRUE(dc.TextOut(100, 200, CString(L"AB")));
        EXPECT_EQ(0u, dc.SetTextAlign(TA_RIGHT));
        EXPECT_TRUE(dc.TextOut(100, 200, CString(L"AB")));
        dc.SetTextAlign(TA_CENTER | TA_BOTTOM);
        EXPECT_EQ((UINT)(TA_CENTER | TA_BOTTOM), dc.GetTextAlign());
        EXPECT_TRUE(dc.TextOut(100, 200, CString(L"AB")));
        dc.SetTextAlign(TA_BASELINE);
        RECT rect = {100, 200, 400, 400};
        EXPECT_TRUE(dc.DrawText(CString(L"AB"), &rect, DT_CENTER | DT_VCENTER));
    });
    // Width 2 x 42 = 84, height 84: the text's top-left goes out with y + 84.
    // L(100) "F4", L(284) "Q<", L(16) "A0", L(58) "C:", L(200) "L8"
    const std::string tail = ESC + "[0t" + SI + "AB" + ESC + "[&}";
    EXPECT_STREAM("}pF4Q<" + RS + tail + "}pA0Q<" + RS + tail + "}pC:L8" + RS + tail + "}pF4L8" + RS + tail, bytes);
}

TEST_F(LIPSStream, ImagesSendTheirHeaderThenTheInvertedBits)
{
    MonoSource source;
    const std::string bytes =
        RunJob(kLIPS, [&](CECGDC& dc) { EXPECT_TRUE(dc.BitBlt(100, 200, 12, 2, source.DC(), 0, 0, SRCCOPY)); });
    // L(60000) "zf0", L(2) "2", L(12) "<", L(50) "C2", L(4) "4"
    const std::string expected = "}PF4L8zf0zf02<100C2C2001" + RS + "}Q1104" + RS + std::string("\x00\xff\xf0\x0f", 4);
    EXPECT_STREAM(expected, bytes);
}

}  // namespace
