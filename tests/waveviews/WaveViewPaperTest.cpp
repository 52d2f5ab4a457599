// The paper grid, the calibration pulse and the small marks, probed pixel by
// pixel on image surfaces.
#include <gtest/gtest.h>

#include "tests/support/DCStateCheck.h"
#include "tests/waveviews/WaveViewTestSupport.h"

using namespace waveviewtest;

namespace {
const COLORREF kMinor = RGB(128, 0, 0);
}

TEST_F(WaveViewTest, LinesGridHasMinorLinesEveryMillimetreAndMajorEveryFive)
{
    MakeSurface(501, 401);
    EXPECT_EQ(0, m_view.DrawBackGrid(&m_dc, CRect(0, 0, 500, 400), 50, 40, kPaper, kGrid));
    // 10 px squares: minor at 10, 20, ...; major at 0, 50, ...; the frame on the last row and column.
    for (int x : {10, 20, 40, 60, 490}) EXPECT_EQ(kMinor, Pixel(x, 3)) << "column " << x;
    for (int x : {0, 50, 100, 450, 500}) EXPECT_EQ(kGrid, Pixel(x, 3)) << "column " << x;
    for (int y : {10, 30, 390}) EXPECT_EQ(kMinor, Pixel(3, y)) << "row " << y;
    for (int y : {0, 50, 400}) EXPECT_EQ(kGrid, Pixel(3, y)) << "row " << y;
    EXPECT_EQ(kGrid, Pixel(3, 399));
    EXPECT_EQ(kGrid, Pixel(499, 3));
    EXPECT_EQ(kPaper, Pixel(5, 5));
    EXPECT_EQ(kPaper, Pixel(15, 25));
    // 50 minor columns, 11 major ones (the frame column included separately).
    int minor = 0, major = 0;
    for (int x = 0; x <= 500; ++x) {
        if (Pixel(x, 3) == kMinor) ++minor;
        if (Pixel(x, 3) == kGrid) ++major;
    }
    EXPECT_EQ(40, minor);   // the ten at multiples of 50 are drawn over by the major pen
    EXPECT_EQ(12, major);
}

TEST_F(WaveViewTest, DotsGridPutsDotsAtCrossingsAndHalfSquaresOnEveryFifthLine)
{
    m_doc.SetGridType(0);
    MakeSurface(501, 401);
    EXPECT_EQ(0, m_view.DrawBackGrid(&m_dc, CRect(0, 0, 500, 400), 50, 40, kPaper, kGrid));
    EXPECT_EQ(kGrid, Pixel(10, 10));
    EXPECT_EQ(kGrid, Pixel(30, 20));
    EXPECT_EQ(kPaper, Pixel(5, 10));
    EXPECT_EQ(kGrid, Pixel(5, 50));     // half square on the fifth row
    EXPECT_EQ(kGrid, Pixel(50, 15));    // half square on the fifth column
    EXPECT_EQ(kPaper, Pixel(15, 10));
    EXPECT_EQ(kGrid, Pixel(5, 399));    // bottom edge every half square
    EXPECT_EQ(kGrid, Pixel(499, 5));    // right edge
    EXPECT_EQ(kPaper, Pixel(12, 12));
}

TEST_F(WaveViewTest, ZeroCountsGiveBarePaperAndMinusOne)
{
    MakeSurface(101, 101);
    m_dc.FillSolidRect(0, 0, 101, 101, RGB(9, 9, 9));
    EXPECT_EQ(-1, m_view.DrawBackGrid(&m_dc, CRect(0, 0, 100, 100), 0, 40, RGB(1, 2, 3), kGrid));
    EXPECT_EQ(RGB(1, 2, 3), Pixel(0, 0));
    EXPECT_EQ(RGB(1, 2, 3), Pixel(100, 100));
    EXPECT_EQ(RGB(1, 2, 3), Pixel(50, 50));
    EXPECT_EQ(-1, m_view.DrawBackGrid(nullptr, CRect(0, 0, 100, 100), 5, 5, kPaper, kGrid));
}

TEST_F(WaveViewTest, ThePaintedViewUsesTheDocumentsGridAndPaperSlots)
{
    m_doc.SetWaveColor(1, RGB(0, 0, 255));
    m_doc.SetWaveColor(2, RGB(250, 250, 200));
    m_view.InitBackground(20, 10);
    MakeSurface(201, 101);
    // OnDraw paints the client area; the view has no window, so draw the grid as OnDraw would.
    m_view.DrawEnlargedBack(&m_dc, CRect(0, 0, 200, 100), 1.0f, 1.0f);
    EXPECT_EQ(RGB(0, 0, 255), Pixel(50, 3));
    EXPECT_EQ(RGB(250, 250, 200), Pixel(5, 5));
}

TEST_F(WaveViewTest, EnlargedGridKeepsTheSquaresOfTheMagnifiedPicture)
{
    m_view.InitBackground(50, 40);
    MakeSurface(501, 401);
    // Counts halved by a factor 2 canvas: 25 x 20 squares of 20 px.
    m_view.DrawEnlargedBack(&m_dc, CRect(0, 0, 500, 400), 2.0f, 2.0f);
    EXPECT_EQ(kMinor, Pixel(20, 3));
    EXPECT_EQ(kPaper, Pixel(10, 3));
    EXPECT_EQ(kGrid, Pixel(100, 3));
}

TEST_F(WaveViewTest, DrawingTheGridLeavesTheDCAsFound)
{
    MakeSurface(101, 101);
    EXPECT_LEAVES_DC_AS_FOUND(m_dc.GetSafeHdc(), m_view.DrawBackGrid(&m_dc, CRect(0, 0, 100, 100), 10, 10, kPaper, kGrid));
    int heights[2] = {20, 30};
    EXPECT_LEAVES_DC_AS_FOUND(m_dc.GetSafeHdc(), m_view.DrawCAL(&m_dc, 0, 50, 100, heights, TRUE, FALSE));
    EXPECT_LEAVES_DC_AS_FOUND(m_dc.GetSafeHdc(), m_view.DrawMarkLine(&m_dc, 10, CRect(0, 0, 100, 80), 10));
    EXPECT_LEAVES_DC_AS_FOUND(m_dc.GetSafeHdc(), m_view.DrawDurationMark(&m_dc, CPoint(50, 50)));
}

TEST_F(WaveViewTest, TenMillimetrePulseAtThreeHundredDpiIsAbout118PixelsHigh)
{
    MakeSurface(200, 200);
    const double pxPerMm = 300.0 / 25.4;
    int heights[1] = {static_cast<int>(10 * pxPerMm)};
    EXPECT_TRUE(m_view.DrawCAL(&m_dc, 0, 150, 100, heights, FALSE, FALSE));
    // The pulse's top runs over the middle of the width.
    const std::vector<int> rows = InkRows(50);
    ASSERT_EQ(1u, rows.size());
    EXPECT_NEAR(118, 150 - rows[0], 2);
    // Steps at a quarter and three quarters of the width.
    EXPECT_EQ(kTrace, Pixel(25, 100));
    EXPECT_EQ(kTrace, Pixel(75, 100));
    EXPECT_EQ(kPaper, Pixel(24, 100));
}

TEST_F(WaveViewTest, DualPulseOfWidth100StepsAt12To37And62To87)
{
    MakeSurface(120, 100);
    int heights[2] = {40, 60};
    EXPECT_TRUE(m_view.DrawCAL(&m_dc, 0, 80, 100, heights, TRUE, FALSE));
    for (int x = 12; x <= 37; ++x) EXPECT_EQ(kTrace, Pixel(x, 40)) << x;
    EXPECT_EQ(kPaper, Pixel(11, 40));
    EXPECT_EQ(kPaper, Pixel(38, 40));
    for (int x = 62; x <= 87; ++x) EXPECT_EQ(kTrace, Pixel(x, 20)) << x;
    EXPECT_EQ(kPaper, Pixel(61, 20));
    EXPECT_EQ(kPaper, Pixel(88, 20));
}

TEST_F(WaveViewTest, PrintedPulseIsThreePixelsWide)
{
    MakeSurface(120, 100);
    int heights[1] = {40};
    m_view.DrawCAL(&m_dc, 0, 80, 100, heights, FALSE, TRUE);
    EXPECT_EQ(3u, InkRows(60).size());
}

TEST_F(WaveViewTest, MarkLineTicksEveryStepWithALongTickEveryTenth)
{
    MakeSurface(300, 100);
    // interval 10 × size 6 × 0.1: a tick every 6 px; lengths 18 and 9.
    EXPECT_TRUE(m_view.DrawMarkLine(&m_dc, 10.0, CRect(0, 0, 200, 60), 6.0));
    auto tickLength = [&](int x) {
        const std::vector<int> rows = InkRows(x);
        return rows.empty() ? 0 : rows.back() - rows.front() + 1;
    };
    EXPECT_NEAR(18, tickLength(60), 2);
    EXPECT_NEAR(9, tickLength(66), 2);
    EXPECT_NEAR(18, tickLength(120), 2);
    EXPECT_EQ(0, tickLength(63));
    EXPECT_EQ(0, tickLength(250));   // past the right edge
}

TEST_F(WaveViewTest, MarkLineDrawsATickThatLandsOnTheRightEdge)
{
    MakeSurface(150, 100);
    // A tick every 33.5 px: the fourth lies 100.5 px in, on pixel 100, the right edge.
    EXPECT_TRUE(m_view.DrawMarkLine(&m_dc, 10.0, CRect(0, 0, 100, 60), 33.5));
    EXPECT_FALSE(InkRows(100).empty());
    EXPECT_TRUE(InkRows(134).empty());   // the fifth has passed the edge
}

TEST_F(WaveViewTest, MarkLineWithoutAForwardStepDrawsNothing)
{
    MakeSurface(100, 100);
    EXPECT_TRUE(m_view.DrawMarkLine(&m_dc, 0.0, CRect(0, 0, 100, 60), 6.0));
    EXPECT_TRUE(m_view.DrawMarkLine(&m_dc, 10.0, CRect(0, 0, 100, 60), -2.0));
    EXPECT_TRUE(m_view.DrawMarkLine(&m_dc, -5.0, CRect(0, 0, 100, 60), 3.0));
    EXPECT_EQ(0, InkCount());
    EXPECT_FALSE(m_view.DrawMarkLine(nullptr, 10.0, CRect(0, 0, 100, 60), 6.0));
}

TEST_F(WaveViewTest, DurationMarkIsATriangleStandingOnThePoint)
{
    MakeSurface(100, 100);
    EXPECT_TRUE(m_view.DrawDurationMark(&m_dc, CPoint(50, 50)));
    EXPECT_EQ(kTrace, Pixel(50, 48));
    EXPECT_EQ(kPaper, Pixel(50, 55));
    EXPECT_EQ(kPaper, Pixel(50, 20));
    EXPECT_FALSE(m_view.DrawDurationMark(nullptr, CPoint(50, 50)));
}

TEST_F(WaveViewTest, EventRoofRisesToAFlatTopAndFallsAgain)
{
    MakeSurface(100, 100);
    m_view.DrawEvent(&m_dc, 50, 50, 5, 0);
    EXPECT_EQ(kTrace, Pixel(50, 51));   // the tick
    EXPECT_EQ(kTrace, Pixel(49, 50));   // flat top
    EXPECT_EQ(kTrace, Pixel(44, 55));   // foot of the rising staircase
    EXPECT_EQ(kTrace, Pixel(55, 55));   // foot of the falling one
    EXPECT_EQ(kPaper, Pixel(50, 40));
}

TEST_F(WaveViewTest, MeasurementTickRunsAQuarterOfTheHeightFromTheSample)
{
    MakeSurface(200, 200);
    std::vector<short> samples(100, 0);
    samples[50] = 40;   // 40 × 100 × 0.01 = 40 px above the baseline
    EXPECT_TRUE(m_view.DrawMeasLine(&m_dc, CRect(0, 150, 100, 250), 0.01, samples.data(), 100, 50, TRUE, TRUE, 0));
    const std::vector<int> rows = InkRows(50);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(110, rows.back());
    EXPECT_NEAR(85, rows.front(), 1);
    EXPECT_EQ(RGB(0x7F, 0x7F, 0x7F), Pixel(50, 100));
    MakeSurface(200, 200);
    EXPECT_TRUE(m_view.DrawMeasLine(&m_dc, CRect(0, 150, 100, 250), 0.01, samples.data(), 9, 5, TRUE, TRUE, 0));
    EXPECT_EQ(0, InkCount());
}

TEST_F(WaveViewTest, CompareGivesTheSmallestAndLargestOfThree)
{
    EXPECT_EQ(-4, CWaveView::CompareGetmin(3, -4, 9));
    EXPECT_EQ(9, CWaveView::CompareGetmax(3, -4, 9));
}
