// The trace renderer in each smoothing mode and on paper: where a sample
// lands, how thick the line is, and what is left alone.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/DCStateCheck.h"
#include "tests/waveviews/WaveViewTestSupport.h"

using namespace waveviewtest;

namespace {

// Baseline at y = 100, 100 px per mV, 10 µV a unit: sample v is
// 100 − trunc(v × 100 × 0.01) = 100 − v.
const CRect kRect(0, 100, 200, 200);
const double kScale = 0.01;

class TraceTest : public WaveViewTest {
protected:
    void SetUp() override
    {
        WaveViewTest::SetUp();
        m_doc.SetWaveColor(0, RGB(0, 0, 200));
        MakeSurface(220, 220);
    }
};

}  // namespace

TEST_F(TraceTest, ASampleLiesAtTheBaselineMinusItsHeightInEveryMode)
{
    std::vector<short> samples(400, 30);   // 30 units above: y = 70
    for (int mode = 0; mode <= 3; ++mode) {
        SCOPED_TRACE(mode);
        m_doc.SetSmoothFilterMode(mode);
        MakeSurface(220, 220);
        EXPECT_TRUE(m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 400, FALSE, -1));
        for (int x : {20, 100, 180}) {
            const std::vector<int> rows = InkRows(x);
            ASSERT_FALSE(rows.empty()) << "column " << x;
            EXPECT_LE(rows.front(), 70);
            EXPECT_GE(rows.back(), 70);
            EXPECT_LE(rows.back() - rows.front(), 4);
        }
    }
}

TEST_F(TraceTest, ModeZeroDrawsTheTraceInTheIndexedColourSlot)
{
    m_doc.SetWaveColor(7, RGB(0, 150, 0));   // index 2
    std::vector<short> samples(400, 30);
    m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 400, FALSE, 2);
    EXPECT_EQ(RGB(0, 150, 0), Pixel(100, 70));
    MakeSurface(220, 220);
    m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 400, FALSE, 12);   // no slot of its own
    EXPECT_EQ(RGB(0, 0, 200), Pixel(100, 70));
}

TEST_F(TraceTest, BaseLineWidthTwoGivesAFlatTraceThreePixelsAColumn)
{
    m_doc.SetBaseLineWidth(2);
    std::vector<short> samples(400, 30);
    m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 400, FALSE, -1);
    for (int x = 0; x < 200; x += 17) {
        const std::vector<int> rows = InkRows(x);
        EXPECT_EQ((std::vector<int>{69, 70, 71}), rows) << "column " << x;
    }
}

TEST_F(TraceTest, BaseLineWidthOneLeansAStepTowardsTheNextValue)
{
    std::vector<short> samples(200, 0);
    for (int i = 100; i < 200; ++i) samples[i] = 20;   // a step up of 20 px at x = 100
    m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 200, FALSE, -1);
    // Before the step the flat run leans up towards it; after it, down
    // towards the level it came from.
    EXPECT_EQ((std::vector<int>{99, 100}), InkRows(50));
    EXPECT_EQ((std::vector<int>{80, 81}), InkRows(150));
    EXPECT_EQ(kPaper, Pixel(101, 79));
    EXPECT_NE(kPaper, Pixel(100, 85));   // the vertical of the step
}

TEST_F(TraceTest, NineSamplesDrawNothing)
{
    std::vector<short> samples(9, 30);
    for (int mode = 0; mode <= 3; ++mode) {
        m_doc.SetSmoothFilterMode(mode);
        EXPECT_TRUE(m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 9, FALSE, -1));
    }
    EXPECT_TRUE(m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 9, TRUE, -1));
    EXPECT_TRUE(m_view.DrawWave(&m_dc, CRect(0, 100, 1, 200), kScale, samples.data(), 9, FALSE, -1));
    EXPECT_EQ(0, InkCount());
}

TEST_F(TraceTest, AnUnknownModeReturnsFalseWithTheTargetUntouched)
{
    std::vector<short> samples(400, 30);
    m_doc.SetSmoothFilterMode(4);
    EXPECT_FALSE(m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 400, FALSE, -1));
    EXPECT_EQ(0, InkCount());
}

TEST_F(TraceTest, PrintIsBlackAndThreePixelsWideInEveryMode)
{
    std::vector<short> samples(400, 30);
    for (int mode = 0; mode <= 3; ++mode) {
        SCOPED_TRACE(mode);
        m_doc.SetSmoothFilterMode(mode);
        MakeSurface(220, 220);
        EXPECT_TRUE(m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 400, TRUE, 3));
        const std::vector<int> rows = InkRows(100);
        EXPECT_EQ(3u, rows.size());
        for (int y : rows) EXPECT_EQ(RGB(0, 0, 0), Pixel(100, y));
    }
}

TEST_F(TraceTest, PrintTakesTheLastPointsFromTheRecordOnly)
{
    // 5000 samples on 200 px: 25 per point. Values behind the record's end
    // would land far above the trace.
    std::vector<short> buffer(5100, 0);
    for (size_t i = 5000; i < buffer.size(); ++i) buffer[i] = 90;   // y = 10
    CDC* dc = &m_dc;
    m_view.PrintWave(dc, kRect, kScale, buffer.data(), 5000, RGB(0, 0, 0));
    for (int x = 0; x < 220; ++x) EXPECT_EQ(kPaper, Pixel(x, 9)) << x;
    EXPECT_EQ(kPaper, Pixel(199, 10));
}

// A long record thinned to every tenth sample, its count no multiple of ten,
// printed into a narrow strip: each point's run of samples is long enough to
// cross the record's end. Nothing lands outside the strip's columns, and the
// values behind the end (which would land far above) are never read; the
// exact-size copy lets the sanitizer build see any read past it.
TEST_F(TraceTest, ALongThinnedPrintStaysInItsStripAndReadsNothingPastTheEnd)
{
    const CRect strip(20, 100, 70, 200);
    // Two values met in a run add a pixel above them at this width.
    m_doc.SetBaseLineWidth(2);
    for (const int count : {50001, 50005, 50009, 123457}) {
        SCOPED_TRACE(count);
        std::vector<short> guarded(static_cast<size_t>(count) + 200, 30);   // y = 70
        for (size_t i = static_cast<size_t>(count); i < guarded.size(); ++i) guarded[i] = 90;   // y = 10
        std::vector<short> exact(guarded.begin(), guarded.begin() + count);
        for (const std::vector<short>* samples : {&guarded, &exact}) {
            MakeSurface(220, 220);
            m_view.PrintWave(&m_dc, strip, kScale, samples->data(), count, RGB(0, 0, 0));
            int inside = 0;
            for (int x = 0; x < 220; ++x) {
                const std::vector<int> rows = InkRows(x);
                if (x < strip.left || x >= strip.right) {
                    EXPECT_TRUE(rows.empty()) << "column " << x;
                    continue;
                }
                for (int y : rows) EXPECT_GE(y, 60) << "column " << x;
                inside += static_cast<int>(rows.size());
            }
            EXPECT_GT(inside, strip.Width());
        }
    }
}

TEST_F(TraceTest, ModeTwoWithADensityBelowOneDrawsInTheTraceColour)
{
    std::vector<short> samples(400, 30);
    m_view.DrawSmoothFilterWave(&m_dc, kRect, kScale, samples.data(), 400, RGB(0, 0, 200), kPaper, 0, nullptr);
    EXPECT_EQ(RGB(0, 0, 200), Pixel(100, 70));
}

TEST_F(TraceTest, ModeTwoShadesASlopeBetweenPaperAndTrace)
{
    std::vector<short> samples(200);
    for (int i = 0; i < 200; ++i) samples[i] = static_cast<short>(i * 3 / 4);
    m_view.DrawSmoothFilterWave(&m_dc, kRect, kScale, samples.data(), 200, RGB(0, 0, 0), kPaper, 4, nullptr);
    // Every pixel drawn is a ramp entry: grey levels between paper and black.
    int shaded = 0;
    for (int x = 10; x < 190; ++x) {
        for (int y : InkRows(x)) {
            const COLORREF c = Pixel(x, y);
            EXPECT_EQ(GetRValue(c), GetBValue(c));
            if (c != RGB(0, 0, 0)) ++shaded;
        }
    }
    EXPECT_GT(shaded, 0);
}

TEST_F(TraceTest, DrawingATraceLeavesTheDCAsFound)
{
    std::vector<short> samples(400, 30);
    for (int mode = 0; mode <= 3; ++mode) {
        m_doc.SetSmoothFilterMode(mode);
        EXPECT_LEAVES_DC_AS_FOUND(m_dc.GetSafeHdc(),
                                  m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 400, FALSE, -1));
    }
    EXPECT_LEAVES_DC_AS_FOUND(m_dc.GetSafeHdc(), m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 400, TRUE, -1));
}

TEST_F(TraceTest, ModeThreeKeepsToTheWidthInColoursBetweenPaperAndTrace)
{
    m_doc.SetSmoothFilterMode(3);
    m_doc.SetStrandelValue(2.0f, 2.0f, 2, 1.0f);
    std::vector<short> samples(400);
    for (int i = 0; i < 400; ++i) samples[i] = static_cast<short>(30 * std::sin(i / 20.0));
    EXPECT_TRUE(m_view.DrawWave(&m_dc, CRect(10, 100, 150, 200), kScale, samples.data(), 400, FALSE, -1));
    // Trace slot 0 is RGB(0, 0, 200) on white: red and green fall together, blue stays at least 200.
    int inked = 0;
    for (int x = 0; x < 220; ++x) {
        for (int y : InkRows(x)) {
            EXPECT_GE(x, 10);
            EXPECT_LT(x, 150);
            const COLORREF c = Pixel(x, y);
            EXPECT_EQ(GetRValue(c), GetGValue(c)) << x << "," << y;
            EXPECT_GE(GetBValue(c), 200) << x << "," << y;
            ++inked;
        }
    }
    EXPECT_GT(inked, 140);
    // The middle of the trace at x = 80 (sample 200) lies near 100 − trunc(30 sin 10).
    const std::vector<int> rows = InkRows(80);
    ASSERT_FALSE(rows.empty());
    const int expected = 100 - static_cast<int>(samples[200] * 100 * kScale);
    EXPECT_LE(rows.front(), expected + 1);
    EXPECT_GE(rows.back(), expected - 1);
}

TEST_F(TraceTest, ColourIndexSixteenBlendsTowardsSlotEighteen)
{
    m_doc.SetWaveColor(16, RGB(0, 0, 0));
    m_doc.SetWaveColor(18, RGB(255, 0, 0));   // a red background to blend towards
    m_doc.SetSmoothFilterMode(2);
    m_doc.SetDensity(2, 4);
    std::vector<short> samples(200);
    for (int i = 0; i < 200; ++i) samples[i] = static_cast<short>((i % 40) * 2);   // a saw tooth
    EXPECT_TRUE(m_view.DrawWave(&m_dc, kRect, kScale, samples.data(), 200, FALSE, 16));
    int blended = 0;
    for (int x = 0; x < 200; ++x)
        for (int y : InkRows(x)) {
            const COLORREF c = Pixel(x, y);
            EXPECT_EQ(0, GetGValue(c));
            EXPECT_EQ(0, GetBValue(c));
            if (GetRValue(c) > 0) ++blended;
        }
    EXPECT_GT(blended, 0);
}
