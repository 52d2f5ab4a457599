// The anti-aliased column renderer (smoothing mode 2) pixel by pixel: which
// shade each pixel of a column gets, how columns between sparse points are
// filled, and the line renderer's failures reaching the caller (mode 3).
#include <gtest/gtest.h>

#include <vector>

#include "tests/waveviews/WaveViewTestSupport.h"

using namespace waveviewtest;

namespace {

const COLORREF kBlue = RGB(0, 0, 200);

// Shades of black on white: ramp entry k − 1 of density d is 255 − 255 × k / d.
COLORREF Grey(int value)
{
    return RGB(value, value, value);
}

class ShadingTest : public WaveViewTest {
protected:
    void SetUp() override
    {
        WaveViewTest::SetUp();
        MakeSurface(40, 120);
    }

    // One column at x = 5 whose points reach from y = top to y = bottom:
    // alone in its rectangle, it has no neighbour to widen towards and no
    // crest, so its middle is the mean of the two.
    void DrawLoneColumn(int top, int bottom, int density, COLORREF trace)
    {
        CPoint points[2] = {CPoint(5, top), CPoint(5, bottom)};
        m_view.ExampleDrawSmoothII(&m_dc, CRect(5, 0, 6, 120), 0.01, nullptr, 2, trace, kPaper, points, density);
    }

    std::vector<COLORREF> Column(int x, int from, int to)
    {
        std::vector<COLORREF> colours;
        for (int y = from; y <= to; ++y) colours.push_back(Pixel(x, y));
        return colours;
    }

    // The rows of column x drawn exactly in the given colour.
    std::vector<int> RowsIn(int x, COLORREF colour)
    {
        std::vector<int> rows;
        for (int y = 0; y < m_height; ++y)
            if (Pixel(x, y) == colour) rows.push_back(y);
        return rows;
    }
};

std::vector<int> Range(int from, int to)
{
    std::vector<int> rows;
    for (int y = from; y <= to; ++y) rows.push_back(y);
    return rows;
}

// Ten columns through the points (0, 100), (3, 70), (6, 94), (9, 100): fewer
// points than columns, so the columns between take the straight line
// (90, 80 | 78, 86 | 96, 98), and every column then reaches to its
// neighbours' middles.
const CPoint kSparse[4] = {CPoint(0, 100), CPoint(3, 70), CPoint(6, 94), CPoint(9, 100)};
// Each column's span after reaching its neighbours: smallest and largest y.
const int kSparseSpan[10][2] = {{90, 100}, {80, 100}, {70, 90}, {70, 80}, {70, 86},
                                {78, 94},  {86, 96},  {94, 98}, {96, 100}, {98, 100}};

}  // namespace

// Density 4 over y 10..26: the ends are level 1, the middle (18) level 4;
// bisection puts level 2 at 14 and 22, level 3 at 16 and level 1 at 24; the
// rest take the nearer placed pixel, the upper one on a tie.
TEST_F(ShadingTest, BisectionPlacesTheIntermediateLevelsOfAColumn)
{
    DrawLoneColumn(10, 26, 4, RGB(0, 0, 0));
    const COLORREF l1 = Grey(192), l2 = Grey(128), l3 = Grey(64), l4 = Grey(0);
    const std::vector<COLORREF> expected = {l1, l1, l1, l2, l2, l2, l3, l3, l4,   // y 10..18
                                            l4, l4, l2, l2, l2, l1, l1, l1};      // y 19..26
    EXPECT_EQ(expected, Column(5, 10, 26));
    EXPECT_EQ(kPaper, Pixel(5, 9));
    EXPECT_EQ(kPaper, Pixel(5, 27));
}

// Over y 10..14 the bisection meets y 11 twice (levels 2, then 3) and y 13
// twice (2, then 1): a pixel keeps the level it got first.
TEST_F(ShadingTest, APixelKeepsTheFirstLevelTheBisectionGivesIt)
{
    DrawLoneColumn(10, 14, 4, RGB(0, 0, 0));
    const std::vector<COLORREF> expected = {Grey(192), Grey(128), Grey(0), Grey(128), Grey(192)};
    EXPECT_EQ(expected, Column(5, 10, 14));
}

// Rows 10..15 have two centre pixels: the middle is the upper one, 12, so
// row 13 (one from it) is full colour and row 14 (one from the end) is not.
TEST_F(ShadingTest, TheMiddleOfAnEvenRowCountIsTheUpperCentrePixel)
{
    DrawLoneColumn(10, 15, 2, RGB(0, 0, 0));
    const COLORREF faint = Grey(128), full = Grey(0);
    const std::vector<COLORREF> expected = {faint, faint, full, full, faint, faint};
    EXPECT_EQ(expected, Column(5, 10, 15));
}

TEST_F(ShadingTest, DensityOneDrawsTheWholeSpanInTheTraceColour)
{
    DrawLoneColumn(30, 41, 1, kBlue);
    EXPECT_EQ(Range(30, 41), RowsIn(5, kBlue));
    EXPECT_EQ(Range(30, 41), InkRows(5));
}

TEST_F(ShadingTest, ColumnsBetweenSparsePointsFollowTheLineBetweenThem)
{
    CPoint points[4] = {kSparse[0], kSparse[1], kSparse[2], kSparse[3]};
    m_view.ExampleDrawSmoothII(&m_dc, CRect(0, 0, 10, 120), 0.01, nullptr, 4, kBlue, kPaper, points, 1);
    for (int x = 0; x < 10; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(Range(kSparseSpan[x][0], kSparseSpan[x][1]), InkRows(x));
        EXPECT_EQ(InkRows(x), RowsIn(x, kBlue));
    }
    EXPECT_TRUE(InkRows(10).empty());
}

// Density 2 on the same points: the trace colour covers the pixels nearer the
// middle than either end. Column 1 is a trough (its middle moves to its
// largest y, 100), column 4 a crest (to its smallest, 70) and the last column
// a trough against its single neighbour.
TEST_F(ShadingTest, SparsePointsShadeTowardsEachColumnsMiddle)
{
    CPoint points[4] = {kSparse[0], kSparse[1], kSparse[2], kSparse[3]};
    m_view.ExampleDrawSmoothII(&m_dc, CRect(0, 0, 10, 120), 0.01, nullptr, 4, kBlue, kPaper, points, 2);
    // Ramp of two: 255 − 255 / 2 = 128 for red and green, 255 − 55 / 2 = 228 for blue.
    const COLORREF shade = RGB(128, 128, 228);
    const int traceRows[10][2] = {{96, 100}, {91, 100}, {76, 85}, {70, 75}, {70, 78},
                                  {83, 90},  {91, 95},  {96, 97}, {98, 99}, {100, 100}};
    for (int x = 0; x < 10; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(Range(traceRows[x][0], traceRows[x][1]), RowsIn(x, kBlue));
        std::vector<int> shaded;
        for (int y = kSparseSpan[x][0]; y <= kSparseSpan[x][1]; ++y)
            if (y < traceRows[x][0] || y > traceRows[x][1]) shaded.push_back(y);
        EXPECT_EQ(shaded, RowsIn(x, shade));
        EXPECT_EQ(Range(kSparseSpan[x][0], kSparseSpan[x][1]), InkRows(x));
    }
}

// Samples placed by the routine itself: 3 samples on 6 columns land on
// columns 0, 2 and 4; column 5, which no point reaches, carries the last one on.
TEST_F(ShadingTest, SamplesSparserThanColumnsAreSpreadOverTheWidth)
{
    short samples[3] = {0, 40, 20};   // y 100, 60, 80 on a baseline of 100
    m_view.DrawSmoothFilterWave(&m_dc, CRect(0, 100, 6, 200), 0.01, samples, 3, kBlue, kPaper, 1, nullptr);
    // Lines: column 1 at 80, column 3 at 70; spans reach the neighbours' middles.
    const int span[6][2] = {{80, 100}, {60, 100}, {60, 80}, {60, 80}, {70, 80}, {80, 80}};
    for (int x = 0; x < 6; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(Range(span[x][0], span[x][1]), InkRows(x));
    }
    EXPECT_TRUE(InkRows(6).empty());
}

// ---- mode 3: the line renderer's failure is the drawing's ---------------------------

TEST_F(ShadingTest, ModeThreeOnADCThatIsGoneReportsFailure)
{
    m_doc.SetSmoothFilterMode(3);
    std::vector<short> samples(100, 30);
    CDC unattached;
    EXPECT_FALSE(m_view.DrawWave(&unattached, CRect(0, 100, 40, 200), 0.01, samples.data(), 100, FALSE, -1));

    CDC stale;
    ASSERT_TRUE(stale.Attach(platform::gdi::CreateImageDC(40, 40)));
    ::DeleteDC(stale.GetSafeHdc());
    EXPECT_FALSE(m_view.DrawWave(&stale, CRect(0, 10, 40, 40), 0.01, samples.data(), 100, FALSE, -1));
    stale.Detach();

    // The same call on a live DC draws and says so.
    EXPECT_TRUE(m_view.DrawWave(&m_dc, CRect(0, 100, 40, 120), 0.01, samples.data(), 100, FALSE, -1));
    EXPECT_GT(InkCount(), 0);
}

TEST_F(ShadingTest, ModeThreeEntryReportsWhatTheRendererDid)
{
    std::vector<short> samples(100, 30);
    EXPECT_TRUE(m_view.ExampleDrawSmoothIII(&m_dc, CRect(0, 100, 40, 120), 0.01, samples.data(), 100, kBlue,
                                            kPaper, 1.0f, 1.0f, 1, 1.0f));
    EXPECT_EQ(kBlue, Pixel(20, 94));   // 100 − 30 × 20 × 0.01 = 94
    MakeSurface(40, 120);
    EXPECT_FALSE(m_view.ExampleDrawSmoothIII(&m_dc, CRect(40, 100, 40, 120), 0.01, samples.data(), 100, kBlue,
                                             kPaper, 1.0f, 1.0f, 1, 1.0f));   // no width
    EXPECT_FALSE(m_view.ExampleDrawSmoothIII(&m_dc, CRect(0, 100, 40, 120), 0.01, nullptr, 100, kBlue, kPaper,
                                             1.0f, 1.0f, 1, 1.0f));
    EXPECT_EQ(0, InkCount());
}
