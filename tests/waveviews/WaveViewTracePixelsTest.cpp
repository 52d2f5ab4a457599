// The pixels the trace renderer adds around its polyline (mode 0 and paper),
// the shaded columns of mode 1, and the colour slot of every colour index.
// The polyline itself is drawn with a null pen where only the added pixels
// are of interest, so every inked pixel is one the thickening put there.
#include <gtest/gtest.h>

#include <vector>

#include "tests/waveviews/WaveViewTestSupport.h"

using namespace waveviewtest;

namespace {

const COLORREF kBlue = RGB(0, 0, 200);

// Baseline 100, 100 px per mV, 10 µV a unit: a sample v lies at y = 100 − v.
const double kScale = 0.01;

short At(int y)
{
    return static_cast<short>(100 - y);
}

// Samples from the rows they should land on.
std::vector<short> FromRows(const std::vector<int>& rows)
{
    std::vector<short> samples;
    for (int y : rows) samples.push_back(At(y));
    return samples;
}

class TracePixelsTest : public WaveViewTest {
protected:
    void SetUp() override
    {
        WaveViewTest::SetUp();
        m_doc.SetWaveColor(0, kBlue);
        MakeSurface(220, 220);
    }
    // The polyline is not drawn: what is inked is the thickening alone.
    void HidePolyline() { m_dc.SelectStockObject(NULL_PEN); }
};

}  // namespace

// Four samples a column. Base line width 2 inks each column's second and third
// values; a column with fewer gets them made up around its first.
TEST_F(TracePixelsTest, WidthTwoInksTheSecondAndThirdValueOfEachColumn)
{
    m_doc.SetBaseLineWidth(2);
    HidePolyline();
    // clang-format off
    const std::vector<std::vector<int>> columns = {
        // rows met in the column            second and third
        {70, 70, 70, 70},                 // one value: 71 and 69
        {70, 69, 69, 70},                 // 69 is 70 − 1: the third is 71
        {70, 72, 70, 72},                 // 72 is not: the third is 69
        {70, 60, 80, 65},                 // 65 lies inside 60..80: ignored
        {70, 60, 80, 50},                 // 50 above the smallest: replaces 60
        {70, 60, 80, 90},                 // 90 below the largest: replaces 80
        {0, 0, 0, 70},                    // row 0 counts as no value
        {70, 71, 69, 70},
        {70, 70, 70, 70},
        {70, 70, 70, 70},
    };
    const std::vector<std::vector<int>> inked = {
        {69, 71}, {69, 71}, {69, 72}, {60, 80}, {50, 80}, {60, 90}, {69, 71}, {69, 71}, {69, 71}, {69, 71},
    };
    // clang-format on
    std::vector<int> rows;
    for (const auto& column : columns) rows.insert(rows.end(), column.begin(), column.end());
    std::vector<short> samples = FromRows(rows);
    m_view.DrawECGWave(&m_dc, CRect(0, 100, 10, 200), kScale, samples.data(), 40, kBlue);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(inked[x], InkRows(x)) << "column " << x;
    EXPECT_TRUE(InkRows(10).empty());

    // Any other width adds nothing.
    for (int width : {0, 3}) {
        MakeSurface(220, 220);
        HidePolyline();
        m_doc.SetBaseLineWidth(width);
        m_view.DrawECGWave(&m_dc, CRect(0, 100, 10, 200), kScale, samples.data(), 40, kBlue);
        EXPECT_EQ(0, InkCount()) << "width " << width;
    }
}

// Two samples a column. Base line width 1 gives a lone value a second pixel
// one step towards where the trace goes next.
TEST_F(TracePixelsTest, WidthOneLeansEachLoneValueTowardsWhatFollows)
{
    HidePolyline();
    // clang-format off
    const std::vector<std::vector<int>> columns = {
        {70, 70}, {70, 70},   // a run before a single 60: both lean up, to 69
        {60, 60},             // before a column spanning 50..60: up, to 59
        {60, 50},             // several values: nothing of its own
        {80, 80},             // before 78..82, as near the one end as the other: down, to 81
        {78, 82},
        {75, 75}, {75, 75}, {75, 75}, {75, 75}, {75, 75}, {75, 75},
        // a run to the end leans towards the column before it (78..82): down, to 76
    };
    const std::vector<std::vector<int>> inked = {
        {69}, {69}, {59}, {}, {81}, {}, {76}, {76}, {76}, {76}, {76}, {76},
    };
    // clang-format on
    std::vector<int> rows;
    for (const auto& column : columns) rows.insert(rows.end(), column.begin(), column.end());
    std::vector<short> samples = FromRows(rows);
    m_view.DrawECGWave(&m_dc, CRect(0, 100, 12, 200), kScale, samples.data(), 24, kBlue);
    for (int x = 0; x < 12; ++x) EXPECT_EQ(inked[x], InkRows(x)) << "column " << x;

    // A flat trace is one run from the first column: it leans up.
    MakeSurface(220, 220);
    HidePolyline();
    std::vector<short> flat(24, At(70));
    m_view.DrawECGWave(&m_dc, CRect(0, 100, 12, 200), kScale, flat.data(), 24, kBlue);
    for (int x = 0; x < 12; ++x) EXPECT_EQ(std::vector<int>{69}, InkRows(x)) << "column " << x;
}

// 20 samples on 10 columns: each point gathers the values of the two samples
// from its own. Samples 0..10 lie at 70, 11..19 at 60, and sample 15 at row 0,
// which counts as no value.
TEST_F(TracePixelsTest, PrintAddsPixelsByTheValuesOfEachPointsRun)
{
    std::vector<short> samples(20, At(60));
    for (int i = 0; i <= 10; ++i) samples[i] = At(70);
    samples[15] = At(0);
    HidePolyline();
    // Width 2: one value y gives y − 1 and y + 1; the two values of point 10
    // (70 and 60, at column 5) give 59, above the smaller.
    m_doc.SetBaseLineWidth(2);
    m_view.PrintWave(&m_dc, CRect(0, 100, 10, 200), kScale, samples.data(), 20, RGB(0, 0, 0));
    for (int x = 0; x < 10; ++x) EXPECT_EQ(x < 5 ? std::vector<int>({69, 71}) : std::vector<int>({59, 61}), InkRows(x)) << x;
    // Width 1: one value y gives y − 1; two values nothing.
    MakeSurface(220, 220);
    HidePolyline();
    m_doc.SetBaseLineWidth(1);
    m_view.PrintWave(&m_dc, CRect(0, 100, 10, 200), kScale, samples.data(), 20, RGB(0, 0, 0));
    for (int x = 0; x < 10; ++x) EXPECT_EQ(std::vector<int>{x < 5 ? 69 : 59}, InkRows(x)) << x;
}

// 30 samples on 10 columns, runs of three: the points of column 4 each meet
// three values and add nothing; their neighbours meet two or one.
TEST_F(TracePixelsTest, PrintAddsNothingForAPointMeetingThreeValues)
{
    std::vector<short> samples(30, At(70));
    samples[13] = At(60);
    samples[14] = At(80);
    samples[15] = At(50);
    HidePolyline();
    m_doc.SetBaseLineWidth(2);
    m_view.PrintWave(&m_dc, CRect(0, 100, 10, 200), kScale, samples.data(), 30, RGB(0, 0, 0));
    // Point 11 (column 3) meets 70 and 60, point 15 (column 5) 50 and 70.
    const std::vector<std::vector<int>> inked = {{69, 71}, {69, 71}, {69, 71}, {59, 69, 71}, {},
                                                 {49, 69, 71}, {69, 71}, {69, 71}, {69, 71}, {69, 71}};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(inked[x], InkRows(x)) << x;
}

// From 50000 samples on only every tenth is drawn: a one-sample spike off
// that grid (sample 25005) vanishes from the printed line; below 50000 it is drawn.
TEST_F(TracePixelsTest, PrintThinsToEveryTenthSampleFromFiftyThousand)
{
    m_doc.SetBaseLineWidth(0);   // the polyline alone
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    for (int count : {49999, 50000}) {
        SCOPED_TRACE(count);
        MakeSurface(220, 220);
        CPen* old = m_dc.SelectObject(&pen);
        std::vector<short> samples(static_cast<size_t>(count), At(70));
        samples[25005] = At(60);
        m_view.PrintWave(&m_dc, CRect(0, 100, 100, 200), kScale, samples.data(), count, RGB(0, 0, 0));
        m_dc.SelectObject(old);
        EXPECT_NE(kPaper, Pixel(20, 70));
        EXPECT_EQ(count < 50000, Pixel(50, 60) != kPaper);
    }
}

// Mode 1 on a flat trace at row 70, base line width 2 (a line of 4), faint
// levels wider (type 2), two levels: the faint level spans rows 68..72 and
// the strong one 68..71 over it, in every column of the rectangle.
TEST_F(TracePixelsTest, ModeOneDrawsEachLevelsColumnsFromTheTable)
{
    m_doc.SetSmoothFilterMode(1);
    m_doc.SetSmoothFilterType(2);
    m_doc.SetDensity(1, 2);
    m_doc.SetBaseLineWidth(2);
    std::vector<short> samples(400, At(70));
    ASSERT_TRUE(m_view.DrawWave(&m_dc, CRect(0, 100, 200, 200), kScale, samples.data(), 400, FALSE, -1));
    // The faint level: per channel trunc(√(255² / 2 + trace² / 2)).
    const COLORREF faint = RGB(180, 180, 229);
    for (int x : {0, 1, 100, 198, 199}) {
        SCOPED_TRACE(x);
        EXPECT_EQ((std::vector<int>{68, 69, 70, 71, 72}), InkRows(x));
        for (int y = 68; y <= 71; ++y) EXPECT_EQ(kBlue, Pixel(x, y)) << y;
        EXPECT_EQ(faint, Pixel(x, 72));
    }
    EXPECT_TRUE(InkRows(200).empty());
}

// Colour indexes 0..9 take slots 5..14, 15 and 16 their own, any other slot 0.
TEST_F(TracePixelsTest, EveryColourIndexDrawsInItsSlot)
{
    auto colourOf = [](int slot) { return RGB(10 * slot, 100, 0); };
    m_doc.SetWaveColor(0, colourOf(0));
    for (int slot = 3; slot <= 18; ++slot) m_doc.SetWaveColor(slot, colourOf(slot));
    // index, slot
    const int kSlotOf[][2] = {{-1, 0}, {0, 5},  {1, 6},   {2, 7},   {3, 8},   {4, 9},  {5, 10}, {6, 11},
                              {7, 12}, {8, 13}, {9, 14},  {10, 0},  {11, 0},  {14, 0}, {15, 15}, {16, 16},
                              {17, 0}, {18, 0}, {100, 0}};
    std::vector<short> samples(400, At(70));
    for (const auto& entry : kSlotOf) {
        MakeSurface(220, 220);
        m_view.DrawWave(&m_dc, CRect(0, 100, 200, 200), kScale, samples.data(), 400, FALSE, entry[0]);
        EXPECT_EQ(colourOf(entry[1]), Pixel(100, 70)) << "index " << entry[0];
    }
}

// A rectangle one pixel wide is too narrow for a trace; two pixels are enough.
TEST_F(TracePixelsTest, TwoColumnsAreTheNarrowestTrace)
{
    std::vector<short> samples(400);
    for (int i = 0; i < 400; ++i) samples[i] = At(70 - i / 20);   // a slope: a line even in one column
    EXPECT_TRUE(m_view.DrawWave(&m_dc, CRect(10, 100, 11, 200), kScale, samples.data(), 400, FALSE, -1));
    EXPECT_EQ(0, InkCount());
    EXPECT_TRUE(m_view.DrawWave(&m_dc, CRect(10, 100, 12, 200), kScale, samples.data(), 400, FALSE, -1));
    EXPECT_NE(kPaper, Pixel(10, 70));
}
