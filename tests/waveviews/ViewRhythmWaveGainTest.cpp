// Auto gain on hand-made extremes: which placement a column gets and the gain
// it settles on.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/TavrionDoc.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

class AutoGainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_bAutoDelete = FALSE;
        m_doc.AddView(&m_view);
    }
    void TearDown() override { m_doc.RemoveView(&m_view); }

    // A column of `height` px, 4 px squares, one lead per position with the
    // given extremes in pixels per mm/mV.
    int Adjust(const std::vector<float>& maxima, const std::vector<float>& minima, float gain, int apply, int height,
               int style = 1)
    {
        m_max = maxima;
        m_min = minima;
        m_leads.clear();
        for (size_t i = 0; i < maxima.size(); ++i) m_leads.push_back(static_cast<int>(i));
        m_baselines.assign(maxima.size(), 0);
        m_view.SetWaveStyle(style, TRUE);
        _AUTO_GAIN_INFO info{m_max.data(), m_min.data(), m_leads.data(), gain, static_cast<int>(maxima.size()),
                             static_cast<int>(maxima.size()), height,
                             static_cast<int>(static_cast<double>(height) / maxima.size() * 0.5), 4};
        m_result = _AUTO_GAIN_RETURN{m_baselines.data(), gain};
        return m_view.AutoWaveAdjust(info, m_result, apply);
    }

    CTavrionDoc m_doc;
    CViewRhythmWave m_view;
    std::vector<float> m_max;
    std::vector<float> m_min;
    std::vector<int> m_leads;
    std::vector<int> m_baselines;
    _AUTO_GAIN_RETURN m_result{};
};

// The expected baselines below are worked out by hand from the placement
// rules, with h = height - 1, pitch = h / slots, px = max(gain x span, least
// half height) and centre = trunc((max + min) x gain / 2).

TEST_F(AutoGainTest, TracesThatFitTheirRowsEachGetTheirOwnRow)
{
    // Six traces at 1.25 mm/mV in a 1201 px column: px 100 each (the least
    // half height), every pair (100 + 100) x 1.25 within two pitches of 200.
    // Own rows: h - square/2 - (2m - 1) x pitch / 2 + centre, m from the bottom.
    ASSERT_EQ(1, Adjust({8.0f, 4.0f, 4.0f, 4.0f, 4.0f, 4.0f}, {0.0f, -4.0f, -4.0f, -4.0f, -4.0f, -4.0f}, 1.25f, 0,
                        1201));
    EXPECT_FLOAT_EQ(1.25f, m_result.fGain);
    // The first trace lies wholly above its zero line: it sits 5 px (half its
    // span) lower than the others' row offset.
    EXPECT_EQ((std::vector<int>{103, 298, 498, 698, 898, 1098}), m_baselines);
}

TEST_F(AutoGainTest, TracesThatFitStackedShareTheSpareHeight)
{
    // Three spans of 4 px per mm/mV at 10 in a 901 px column: px 150 (least
    // half), pairs fail (300 x 10 > 600); slack 450 - 900 + 4 = -446, gap
    // -446 / 3. Baseline = (slots - 0.5 - k) x gap + centre - px/2 - square/2 + h - later px.
    ASSERT_EQ(1, Adjust({2.0f, 2.0f, 2.0f}, {-2.0f, -2.0f, -2.0f}, 10.0f, 0, 901));
    EXPECT_FLOAT_EQ(10.0f, m_result.fGain);
    EXPECT_EQ((std::vector<int>{151, 450, 748}), m_baselines);
}

TEST_F(AutoGainTest, ALeadTallerThanTheColumnAtTenAsksForTheNextLadderGain)
{
    // 60 px per mm/mV over a 400 px column: 600 px at 10, 300 at 5.
    EXPECT_EQ(0, Adjust({30.0f}, {-30.0f}, 10.0f, 0, 401));
    EXPECT_FLOAT_EQ(5.0f, m_result.fGain);
    EXPECT_EQ(0, Adjust({100.0f}, {-100.0f}, 10.0f, 0, 401));
    EXPECT_FLOAT_EQ(1.25f, m_result.fGain);
    EXPECT_EQ(std::vector<int>{0}, m_baselines);
}

TEST_F(AutoGainTest, ChoosingGainsHalvesUntilTheTracesFitTheirRows)
{
    // Spans of 12 px per mm/mV in a 301 px column: 360 px in all at 10
    // (slack 64), 180 at 5 (slack -116): stacked at 5 with gap -116 / 3.
    ASSERT_EQ(1, Adjust({6.0f, 6.0f, 6.0f}, {-6.0f, -6.0f, -6.0f}, 10.0f, 1, 301));
    EXPECT_FLOAT_EQ(5.0f, m_result.fGain);
    EXPECT_EQ((std::vector<int>{51, 150, 248}), m_baselines);
}

TEST_F(AutoGainTest, ChoosingGainsStartsAtTenAtLeast)
{
    ASSERT_EQ(1, Adjust({0.5f, 0.5f}, {-0.5f, -0.5f}, 2.5f, 1, 400));
    EXPECT_FLOAT_EQ(10.0f, m_result.fGain);
}

TEST_F(AutoGainTest, TracesFarTooTallForTheColumnKeepTheirRowCentres)
{
    // Without choosing gains, traces summing past 1.5 columns are left alone.
    EXPECT_EQ(0, Adjust({12.0f, 12.0f, 12.0f}, {-12.0f, -12.0f, -12.0f}, 10.0f, 0, 400));
    EXPECT_FLOAT_EQ(10.0f, m_result.fGain);
    EXPECT_EQ((std::vector<int>{0, 0, 0}), m_baselines);
}

TEST_F(AutoGainTest, AFlatLeadStillTakesTheLeastHalfHeight)
{
    // 400 px, two slots: least half 100. The flat lead takes px 100 as the
    // other (4 x 10 = 40 is less) does: slack 200 - 399 + 4 = -195, stacked
    // with gap -97.5: -48.75 - 50 - 2 + 399 = 298.25 and -146.25 - 50 - 2 + 399 - 100.
    ASSERT_EQ(1, Adjust({0.0f, 2.0f}, {0.0f, -2.0f}, 10.0f, 0, 400));
    EXPECT_EQ((std::vector<int>{100, 298}), m_baselines);
}

TEST_F(AutoGainTest, ASingleStripTraceIsPlacedWithoutSharingAGap)
{
    // Style 13 never takes the own-row placement; with one slot the spread
    // placement has no gap to share. px 300 in a 399 px column: stacked,
    // slack 300 - 399 + 4 = -95: -47.5 + 100 - 150 - 2 + 399 = 299.5.
    ASSERT_EQ(1, Adjust({25.0f}, {-5.0f}, 10.0f, 0, 400, 13));
    EXPECT_EQ(std::vector<int>{299}, m_baselines);
}

TEST_F(AutoGainTest, TracesThatOnlyFitSpreadTakeUnevenGaps)
{
    // 281 px, least half 46: px 120, 46 (40 is less), 120; total 286, slack 10,
    // gap 5, centres 20, 0, 20. From the bottom: 0 - 60 + 20 - 2 + 280 = 238;
    // 5 - 23 + 0 - 2 + 280 - 120 = 140; 10 - 60 + 20 - 2 + 280 - 166 = 82,
    // which is the top trace's peak plus half a square: not pushed down.
    ASSERT_EQ(1, Adjust({8.0f, 2.0f, 8.0f}, {-4.0f, -2.0f, -4.0f}, 10.0f, 0, 281));
    EXPECT_EQ((std::vector<int>{82, 140, 238}), m_baselines);
}

// Trace extents from hand-made extremes: the top and bottom pixel of each
// trace at the gain chosen, in the column's coordinates.
struct Extent {
    double top;
    double bottom;
};

TEST_F(AutoGainTest, PlacedTracesStayInsideTheColumnAndApartWhenTheyFit)
{
    // Columns whose traces fit stacked or in own rows (total px under the
    // column): every trace stays inside, and no trace reaches into the next.
    struct Case {
        std::vector<float> maxima;
        std::vector<float> minima;
        float gain;
        int height;
    };
    static const Case kCases[] = {
        // maxima (px per mm/mV)       minima                              gain   height
        {{8.0f, 8.0f, 8.0f},           {-4.0f, -4.0f, -4.0f},              10.0f, 480},
        {{3.0f, 12.0f, 1.0f, 6.0f},    {-9.0f, -1.0f, -1.0f, -6.0f},       10.0f, 600},
        {{2.0f, 2.0f, 2.0f, 2.0f, 2.0f, 2.0f}, {-6.0f, 0.0f, -3.0f, -1.0f, -2.0f, -4.0f}, 10.0f, 720},
        {{16.0f, 0.0f},                {0.0f, -16.0f},                     10.0f, 400},
        {{4.0f, 4.0f, 4.0f, 4.0f, 4.0f, 4.0f}, {-4.0f, -4.0f, -4.0f, -4.0f, -4.0f, -4.0f}, 1.25f, 1201},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "height " << c.height << ", " << c.maxima.size() << " traces");
        ASSERT_EQ(1, Adjust(c.maxima, c.minima, c.gain, 0, c.height));
        const double g = m_result.fGain;
        std::vector<Extent> extents;
        for (size_t i = 0; i < c.maxima.size(); ++i)
            extents.push_back({m_baselines[i] - g * c.maxima[i], m_baselines[i] - g * c.minima[i]});
        for (size_t i = 0; i < extents.size(); ++i) {
            EXPECT_GE(extents[i].top, 0.0) << "trace " << i;
            EXPECT_LE(extents[i].bottom, c.height - 1.0) << "trace " << i;
            if (i > 0) {
                EXPECT_LE(extents[i - 1].bottom, extents[i].top) << "traces " << i - 1 << " and " << i;
            }
        }
    }
}

TEST_F(AutoGainTest, SpreadTracesStayInsideTheColumnAndOverlapNoMoreThanTheirExcess)
{
    // Columns whose traces are taller in all than the column (but under one
    // and a half): they must still stay inside it, and their overlaps add up
    // to no more than the height they have beyond the column.
    ASSERT_EQ(1, Adjust({12.0f, 4.0f, 12.0f, 4.0f}, {-4.0f, -12.0f, -4.0f, -12.0f}, 10.0f, 0, 600));
    const std::vector<float> maxima = m_max;
    const std::vector<float> minima = m_min;
    double total = 0.0;
    double overlap = 0.0;
    for (size_t i = 0; i < maxima.size(); ++i) {
        const double top = m_baselines[i] - 10.0 * maxima[i];
        const double bottom = m_baselines[i] - 10.0 * minima[i];
        total += bottom - top;
        EXPECT_GE(top, 0.0) << "trace " << i;
        EXPECT_LE(bottom, 599.0) << "trace " << i;
        if (i > 0) overlap += std::max(0.0, (m_baselines[i - 1] - 10.0 * minima[i - 1]) - top);
    }
    ASSERT_GT(total, 599.0);
    EXPECT_LE(overlap, total - 599.0 + 4.0);
}

}  // namespace
