// Auto gain on hand-made extremes: which placement a column gets and the gain
// it settles on.
#include <gtest/gtest.h>

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

TEST_F(AutoGainTest, TracesThatFitTheirRowsEachGetTheirOwnRow)
{
    // Three traces of 1 mV span at 10 mm/mV in 300 px rows: each in its row.
    ASSERT_EQ(1, Adjust({2.0f, 2.0f, 2.0f}, {-2.0f, -2.0f, -2.0f}, 10.0f, 0, 900));
    EXPECT_FLOAT_EQ(10.0f, m_result.fGain);
    EXPECT_LT(m_baselines[0], 300);
    EXPECT_GT(m_baselines[1], 300);
    EXPECT_LT(m_baselines[1], 600);
    EXPECT_GT(m_baselines[2], 600);
}

TEST_F(AutoGainTest, ALeadTallerThanTheColumnAtTenAsksForTheNextLadderGain)
{
    // 60 px per mm/mV over a 400 px column: 600 px at 10, 300 at 5.
    EXPECT_EQ(0, Adjust({30.0f}, {-30.0f}, 10.0f, 0, 401));
    EXPECT_FLOAT_EQ(5.0f, m_result.fGain);
    EXPECT_EQ(0, Adjust({100.0f}, {-100.0f}, 10.0f, 0, 401));
    EXPECT_FLOAT_EQ(1.25f, m_result.fGain);
}

TEST_F(AutoGainTest, ChoosingGainsHalvesUntilTheTracesFitTheirRows)
{
    // Spans of 12 px per mm/mV in 100 px rows: 120 px at 10, 60 at 5.
    ASSERT_EQ(1, Adjust({6.0f, 6.0f, 6.0f}, {-6.0f, -6.0f, -6.0f}, 10.0f, 1, 301));
    EXPECT_FLOAT_EQ(5.0f, m_result.fGain);
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
    EXPECT_EQ(0, m_baselines[0]);
}

TEST_F(AutoGainTest, AFlatLeadStillTakesTheLeastHalfHeight)
{
    ASSERT_EQ(1, Adjust({0.0f, 2.0f}, {0.0f, -2.0f}, 10.0f, 0, 400));
    EXPECT_GT(m_baselines[0], 0);
    EXPECT_LT(m_baselines[0], m_baselines[1]);
}

TEST_F(AutoGainTest, ASingleStripTraceIsPlacedWithoutSharingAGap)
{
    // Style 13 never takes the own-row placement; with one slot the spread
    // placement has no gap to share and still places the trace.
    ASSERT_EQ(1, Adjust({25.0f}, {-5.0f}, 10.0f, 0, 400, 13));
    EXPECT_GT(m_baselines[0], 0);
    EXPECT_LE(m_baselines[0], 400);
}

TEST_F(AutoGainTest, SpreadTracesAscendDownTheColumn)
{
    ASSERT_EQ(1, Adjust({12.0f, 4.0f, 12.0f, 4.0f}, {-4.0f, -12.0f, -4.0f, -12.0f}, 10.0f, 0, 600));
    for (size_t i = 1; i < m_baselines.size(); ++i) EXPECT_LE(m_baselines[i - 1], m_baselines[i]);
}

}  // namespace
