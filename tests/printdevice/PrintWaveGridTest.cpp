// The printed ECG grid, probed at computed positions: lines every 1 mm
// (thin) and 5 mm (bold), dots of the dotted grid, the shade levels, and the
// vector grid the raw printers get.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "printdevice/PrintWaveBK.h"
#include "printdevice/PrintWaveBKGround.h"
#include "printdevice/PrintWaveBKGroundNew.h"
#include "tests/printdevice/PrintDeviceTestSupport.h"

namespace {

using namespace printdevicetest;

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kThin = RGB(0xC0, 0xC0, 0xC0);

// An image page with a Windows-printer context (type 1) on it.
class GridOnPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_live = platform::gdi::LiveObjectCount();
        ASSERT_TRUE(m_cdc.Attach(platform::gdi::CreateImageDC(600, 500)));
        m_dc.SetDC(&m_cdc);
    }
    void TearDown() override
    {
        m_cdc.DeleteDC();
        EXPECT_EQ(m_live, platform::gdi::LiveObjectCount());
    }
    COLORREF Pixel(int x, int y) { return m_cdc.GetPixel(x, y); }

    CDC m_cdc;
    CECGDC m_dc{1};
    int m_live = 0;
};

TEST_F(GridOnPage, RuledGridHasThinMillimetreAndBoldFiveMillimetreLines)
{
    // 50 x 40 mm at 10 pixels per millimetre, origin (20, 30).
    CPrintWaveBKGroundNew grid;
    grid.SetGridType(1);
    grid.SetOrigin(CPoint(20, 30));
    CPen* pBefore = m_cdc.GetCurrentPen();
    ASSERT_TRUE(grid.CreatePrintBKGround(50, 40, 10.0, &m_dc));
    EXPECT_EQ(pBefore, m_cdc.GetCurrentPen());

    // Columns: thin (1 pixel grey) at 10, 20, 30, 40, bold (2 pixels black) at 50 ...
    for (int x : {10, 20, 30, 40, 60, 490}) EXPECT_EQ(kThin, Pixel(20 + x, 33)) << "column " << x;
    EXPECT_EQ(kBlack, Pixel(20 + 50, 33));
    EXPECT_EQ(kBlack, Pixel(20 + 450, 33));
    // ... nothing at the half millimetres, at the left edge or at the far edge (500).
    for (int x : {0, 5, 15, 45, 495, 500}) EXPECT_EQ(kWhite, Pixel(20 + x, 33)) << "column " << x;
    // Rows likewise, below 400.
    for (int y : {10, 20, 390}) EXPECT_EQ(kThin, Pixel(20 + 3, 30 + y)) << "row " << y;
    EXPECT_EQ(kBlack, Pixel(20 + 3, 30 + 50));
    for (int y : {0, 5, 395, 400}) EXPECT_EQ(kWhite, Pixel(20 + 3, 30 + y)) << "row " << y;
    // The grid stays inside its area.
    EXPECT_EQ(kWhite, Pixel(20 + 3, 30 + 401));
    EXPECT_EQ(kWhite, Pixel(20 + 520, 30 + 50));
}

TEST_F(GridOnPage, PDFRuledGridAlsoRulesTheLeftEdge)
{
    CPrintWaveBK grid;
    grid.SetGridType(1);
    grid.SetOrigin(CPoint(20, 30));
    ASSERT_TRUE(grid.CreatePrintBKGround(50, 40, 10.0, &m_dc));
    EXPECT_EQ(kBlack, Pixel(20, 33));
    EXPECT_EQ(kBlack, Pixel(20 + 50, 33));
    EXPECT_EQ(kThin, Pixel(20 + 10, 33));
    // The bold columns lie over the rows.
    EXPECT_EQ(kBlack, Pixel(20 + 50, 30 + 10));
    EXPECT_EQ(kThin, Pixel(20 + 3, 30 + 10));
    EXPECT_EQ(kWhite, Pixel(20 + 5, 33));
}

TEST_F(GridOnPage, DottedGridDotsAreLevelSquaresEndingAtTheRoundedPoint)
{
    CPrintWaveBK grid;
    grid.SetShadeGrid(3);
    grid.SetOrigin(CPoint(100, 100));
    // 23.6 pixels per millimetre: grid points fall between pixels.
    const double px = 6774.0 / 287.0;
    ASSERT_TRUE(grid.CreatePrintBKGround(10, 10, px, &m_dc));
    auto rounded = [&](double v) { return (int)(100 + v + 0.5); };
    // The 1 mm column k = 2 has a dot every millimetre.
    const int x = rounded(2 * px / 2);
    const int y = rounded(px);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) EXPECT_EQ(kBlack, Pixel(x - i, y - j)) << i << "," << j;
    }
    EXPECT_EQ(kWhite, Pixel(x + 1, y));
    EXPECT_EQ(kWhite, Pixel(x, y + 1));
    EXPECT_EQ(kWhite, Pixel(x - 3, y));
    EXPECT_EQ(kWhite, Pixel(x, y - 3));
    // The half-millimetre column k = 1 has its first dot 5 mm down only,
    // which is outside a 10 mm area's first millimetre.
    EXPECT_EQ(kWhite, Pixel(rounded(px / 2), y));
    EXPECT_EQ(kBlack, Pixel(rounded(px / 2), rounded(5 * px)));
    // The 5 mm column k = 10 has a dot every half millimetre.
    EXPECT_EQ(kBlack, Pixel(rounded(5 * px), rounded(px / 2)));
}

TEST_F(GridOnPage, ShadeLevelZeroDrawsNothingAndAboveThreeIsRefused)
{
    CPrintWaveBKGroundNew direct;
    CPrintWaveBK pdf;
    CPrintWaveBKGround bitmap;
    direct.SetShadeGrid(0);
    pdf.SetShadeGrid(0);
    bitmap.SetShadeGrid(0);
    EXPECT_TRUE(direct.CreatePrintBKGround(50, 40, 10.0, &m_dc));
    EXPECT_TRUE(pdf.CreatePrintBKGround(50, 40, 10.0, &m_dc));
    EXPECT_TRUE(pdf.CreatePCLBKGround(50, 40, 10.0, &m_dc));
    EXPECT_TRUE(bitmap.CreatePrintBKGround(50, 40, 10.0));
    EXPECT_EQ(nullptr, bitmap.GetMemDC());
    for (int y = 0; y < 500; y += 7) {
        for (int x = 0; x < 600; x += 7) ASSERT_EQ(kWhite, Pixel(x, y));
    }
    direct.SetShadeGrid(4);
    pdf.SetShadeGrid(4);
    bitmap.SetShadeGrid(4);
    EXPECT_FALSE(direct.CreatePrintBKGround(50, 40, 10.0, &m_dc));
    EXPECT_FALSE(pdf.CreatePrintBKGround(50, 40, 10.0, &m_dc));
    EXPECT_FALSE(pdf.CreatePCLBKGround(50, 40, 10.0, &m_dc));
    EXPECT_FALSE(bitmap.CreatePrintBKGround(50, 40, 10.0));
    // No device context, or a scale that gives no area.
    direct.SetShadeGrid(1);
    pdf.SetShadeGrid(1);
    bitmap.SetShadeGrid(1);
    EXPECT_FALSE(direct.CreatePrintBKGround(50, 40, 10.0, nullptr));
    EXPECT_FALSE(pdf.CreatePCLBKGround(50, 40, 10.0, nullptr));
    EXPECT_FALSE(pdf.CreatePrintBKGround(50, 40, std::nan(""), &m_dc));
    EXPECT_FALSE(bitmap.CreatePrintBKGround(-1, 40, 10.0));
    EXPECT_FALSE(bitmap.CreatePrintBKGround(50, 40, 0.0));
}

TEST(PrintWaveBKGround, BitmapGridIsWhiteWithBlackDotsAndBoldLines)
{
    const int live = platform::gdi::LiveObjectCount();
    {
        CPrintWaveBKGround dotted;
        ASSERT_TRUE(dotted.CreatePrintBKGround(10, 10, 10.0));
        CDC* pMem = dotted.GetMemDC();
        ASSERT_NE(nullptr, pMem);
        // (W + 1) x (H + 1): the last row and column exist.
        EXPECT_NE(CLR_INVALID, pMem->GetPixel(100, 100));
        // Level 1 dots: single pixels at the grid points.
        EXPECT_EQ(kBlack, pMem->GetPixel(10, 10));
        EXPECT_EQ(kWhite, pMem->GetPixel(9, 10));
        EXPECT_EQ(kBlack, pMem->GetPixel(50, 5));   // 5 mm column, every half millimetre
        EXPECT_EQ(kWhite, pMem->GetPixel(10, 5));   // 1 mm column, every millimetre only
        EXPECT_EQ(kBlack, pMem->GetPixel(5, 50));   // half-millimetre column, every 5 mm
        EXPECT_EQ(kWhite, pMem->GetPixel(5, 10));

        // Drawn again, the object starts from a fresh picture.
        CPrintWaveBKGround ruled;
        ruled.SetGridType(1);
        ruled.SetShadeGrid(2);
        ASSERT_TRUE(ruled.CreatePrintBKGround(20, 10, 10.0));
        ASSERT_TRUE(ruled.CreatePrintBKGround(20, 10, 10.0));
        pMem = ruled.GetMemDC();
        // Bold lines 4 pixels wide at the 5 mm columns and rows; nothing at
        // the left edge. The light grey of the thin lines is white in a
        // monochrome bitmap, so the thin rows (drawn after the columns)
        // interrupt the bold columns: probe between them.
        for (int x : {48, 49, 50, 51}) EXPECT_EQ(kBlack, pMem->GetPixel(x, 25)) << x;
        EXPECT_EQ(kWhite, pMem->GetPixel(47, 25));
        EXPECT_EQ(kWhite, pMem->GetPixel(52, 25));
        EXPECT_EQ(kBlack, pMem->GetPixel(25, 50));
        EXPECT_EQ(kWhite, pMem->GetPixel(50, 20));
        EXPECT_EQ(kWhite, pMem->GetPixel(0, 25));
        EXPECT_EQ(kWhite, pMem->GetPixel(25, 25));
    }
    EXPECT_EQ(live, platform::gdi::LiveObjectCount());
}

// ---- the bitmap grid drawn on the page -------------------------------------------------------------

// Two image pages the same size: one gets the bitmap grid copied onto it, the
// other the same grid drawn by PrintBKGround.
class BitmapGridOnPage : public GridOnPage {
protected:
    void SetUp() override
    {
        GridOnPage::SetUp();
        ASSERT_TRUE(m_copied.Attach(platform::gdi::CreateImageDC(600, 500)));
    }
    void TearDown() override
    {
        m_copied.DeleteDC();
        GridOnPage::TearDown();
    }
    // Both pages in a colour no grid has, so that the grid's area shows;
    // then the colours a monochrome bitmap takes on them.
    void Clear(COLORREF background, COLORREF text)
    {
        for (CDC* page : {&m_cdc, &m_copied}) {
            page->FillSolidRect(0, 0, 600, 500, kPage);
            page->SetBkColor(background);
            page->SetTextColor(text);
        }
    }
    // The pixels at which the two pages differ, and the first of them.
    int Differences(CPoint& first)
    {
        cairo_surface_t* drawn = platform::gdi::GetImageSurface(m_cdc.GetSafeHdc());
        cairo_surface_t* copied = platform::gdi::GetImageSurface(m_copied.GetSafeHdc());
        cairo_surface_flush(drawn);
        cairo_surface_flush(copied);
        const int stride = cairo_image_surface_get_stride(drawn);
        int count = 0;
        for (int y = 0; y < 500; ++y) {
            const uint32_t* a = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(drawn) + y * stride);
            const uint32_t* b = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(copied) + y * stride);
            for (int x = 0; x < 600; ++x) {
                if ((a[x] & 0xFFFFFF) == (b[x] & 0xFFFFFF)) continue;
                if (count++ == 0) first = CPoint(x, y);
            }
        }
        return count;
    }

    // A 37 x 31 mm grid at (17, 23), copied from its bitmap onto one page
    // and drawn on the other: the pages are the same.
    void ExpectTheSamePicture(double px, UINT level, UINT type, COLORREF background, COLORREF text)
    {
        Clear(background, text);
        CPrintWaveBKGround bitmap;
        bitmap.SetShadeGrid(level);
        bitmap.SetGridType(type);
        ASSERT_TRUE(bitmap.CreatePrintBKGround(37, 31, px));
        const int w = (int)(37 * px), h = (int)(31 * px);
        ASSERT_TRUE(m_copied.BitBlt(17, 23, w, h, bitmap.GetMemDC(), 0, 0, SRCCOPY));

        CPrintWaveBKGround direct;
        direct.SetShadeGrid(level);
        direct.SetGridType(type);
        ASSERT_TRUE(direct.PrintBKGround(37, 31, px, &m_dc, CPoint(17, 23)));
        CPoint first;
        EXPECT_EQ(0, Differences(first)) << "first at " << first.x << ", " << first.y << ": " << std::hex
                                         << Pixel(first.x, first.y) << " drawn, " << m_copied.GetPixel(first.x, first.y)
                                         << " copied";
        // The area was painted and the page outside it left alone.
        EXPECT_EQ(background, Pixel(17 + 1, 23 + 1));
        EXPECT_EQ(kPage, Pixel(16, 23 + 1));
        EXPECT_EQ(kPage, Pixel(17 + w, 23 + 1));
        EXPECT_EQ(kPage, Pixel(17 + 1, 23 + h));
        // The page's colours are as they were.
        EXPECT_EQ(background, m_cdc.GetBkColor());
        EXPECT_EQ(text, m_cdc.GetTextColor());
    }

    static constexpr COLORREF kPage = RGB(0x30, 0x60, 0x90);
    CDC m_copied;
};

TEST_F(BitmapGridOnPage, TheBitmapGridDrawnOnThePageIsTheBitmapCopiedThereDotForDot)
{
    // Whole and fractional scales (the raw printers' 23.6 px/mm halved); an
    // area that ends between grid lines; every level and grid type; the
    // page's own colours and others (the bitmap's white takes the background
    // colour and its black the text colour).
    const std::pair<COLORREF, COLORREF> colours[] = {{kWhite, kBlack}, {RGB(0xFF, 0xFF, 0xC0), RGB(0, 0, 0xA0)}};
    for (double px : {10.0, 6774.0 / 287.0 / 2, 7.3}) {
        for (UINT level = 1; level <= 3; ++level) {
            for (UINT type = 0; type <= 2; ++type) {
                for (const auto& colour : colours) {
                    SCOPED_TRACE(testing::Message() << px << " px/mm, level " << level << ", type " << type
                                                    << ", colours " << std::hex << colour.first << "/"
                                                    << colour.second);
                    ExpectTheSamePicture(px, level, type, colour.first, colour.second);
                }
            }
        }
    }
}

TEST_F(BitmapGridOnPage, TheBitmapGridOnThePageKeepsTheBitmapsRefusals)
{
    CPrintWaveBKGround grid;
    grid.SetShadeGrid(0);
    EXPECT_TRUE(grid.PrintBKGround(50, 40, 10.0, &m_dc, CPoint(0, 0)));
    grid.SetShadeGrid(4);
    EXPECT_FALSE(grid.PrintBKGround(50, 40, 10.0, &m_dc, CPoint(0, 0)));
    grid.SetShadeGrid(1);
    EXPECT_FALSE(grid.PrintBKGround(50, 40, 10.0, nullptr, CPoint(0, 0)));
    EXPECT_FALSE(grid.PrintBKGround(-1, 40, 10.0, &m_dc, CPoint(0, 0)));
    EXPECT_FALSE(grid.PrintBKGround(50, 40, 0.0, &m_dc, CPoint(0, 0)));
    // Nothing of that reached the page, and nothing needed a bitmap.
    for (int y = 0; y < 500; y += 7) {
        for (int x = 0; x < 600; x += 7) ASSERT_EQ(kWhite, Pixel(x, y));
    }
    EXPECT_EQ(nullptr, grid.GetMemDC());
}

TEST_F(BitmapGridOnPage, DrawingAfterTheBitmapGridIsNotHeldInsideItsArea)
{
    CPrintWaveBKGround grid;
    grid.SetGridType(1);
    ASSERT_TRUE(grid.PrintBKGround(20, 10, 10.0, &m_dc, CPoint(30, 40)));
    // The area was only the grid's while it was drawn.
    m_cdc.FillSolidRect(300, 300, 10, 10, kBlack);
    EXPECT_EQ(kBlack, Pixel(305, 305));
    // And the grid itself reached the page: a 5 mm column of the bold pen.
    EXPECT_EQ(kBlack, Pixel(30 + 50, 40 + 5));
}

// ---- the vector grid of the raw printers ------------------------------------------------------------

class RawGrid : public RawJobTest {
protected:
    std::string Grid(UINT type, _PRINT_TYPE printType = 3)
    {
        return RunJob(printType, [&](CECGDC& dc) {
            CPrintWaveBK grid;
            grid.SetGridType(type);
            EXPECT_TRUE(grid.CreatePCLBKGround(10, 10, dc.GetDeviceCaps(HORZRES) / (double)dc.GetDeviceCaps(HORZSIZE),
                                              &dc));
        });
    }
    static int Count(const std::string& text, const std::string& what)
    {
        int count = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
        return count;
    }
};

TEST_F(RawGrid, DottedGridBecomesDashedColumns)
{
    // 10 mm at 6774 / 287 pixels per millimetre: 236 pixels, 19 columns (k * 11.8 < 236).
    const std::string bytes = Grid(0);
    EXPECT_EQ(19, Count(bytes, "PD"));
    // The three gapped pens: 5 mm columns dotted every 0.5 mm, 1 mm columns
    // every 1 mm, half-millimetre columns every 5 mm; width 2 pixels.
    // Each pen goes out when its column follows another kind: the 5 mm pen
    // for k = 10, the 1 mm pen for the other 8 even k, the 5 mm-gap pen for
    // the 10 odd k.
    EXPECT_EQ(1, Count(bytes, "LT-1,0.5,1PW0.084600;"));
    EXPECT_EQ(8, Count(bytes, "LT-1,1,1PW0.084600;"));
    EXPECT_EQ(10, Count(bytes, "LT-1,5,1PW0.084600;"));
    // Only columns: every line goes from (x, 0) down to (x, 236).
    int columns = 0;
    for (size_t at = bytes.find("PU"); at != std::string::npos; at = bytes.find("PU", at + 2)) {
        int x = -1, y = -1, x2 = -1, y2 = -1;
        ASSERT_EQ(4, std::sscanf(bytes.c_str() + at, "PU%d,%d;PD%d,%d;", &x, &y, &x2, &y2));
        EXPECT_EQ(x, x2);
        EXPECT_EQ(0, y);
        EXPECT_EQ(236, y2);
        ++columns;
    }
    EXPECT_EQ(19, columns);
    // The context's own pen is selected again at the end.
    EXPECT_EQ(bytes.size() - 13, bytes.rfind("LTPW0.042300;"));
}

TEST_F(RawGrid, RuledGridHasEvenColumnsAndRows)
{
    const std::string ruled = Grid(1);
    // Even k only: 9 columns and 9 rows.
    EXPECT_EQ(18, Count(ruled, "PD"));
    EXPECT_NE(std::string::npos, ruled.find("PU0,118;PD236,118;"));   // the 5 mm row
    // Any other non-zero type: the columns without the rows.
    const std::string columns = Grid(2);
    EXPECT_EQ(9, Count(columns, "PD"));
    // Solid pens: thin 1 pixel, bold 2 pixels.
    EXPECT_NE(std::string::npos, columns.find("LTPW0.042300;"));
    EXPECT_NE(std::string::npos, columns.find("LTPW0.084600;"));
}

TEST_F(RawGrid, LIPSGridUsesTheRegisteredPatterns)
{
    const std::string bytes = Grid(0, 5);
    // L(-12) ",", L(-13) "-", L(-14) ".": the gapped pens' patterns.
    EXPECT_NE(std::string::npos, bytes.find("E1,1" + RS));
    EXPECT_NE(std::string::npos, bytes.find("E1-1" + RS));
    EXPECT_NE(std::string::npos, bytes.find("E1.1" + RS));
}

}  // namespace
