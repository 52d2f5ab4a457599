// The serial comparison's own fitter: leads given by their extremes in
// pixels at 1 mm/mV, placed in a column or answered with a gain to try.
#include <gtest/gtest.h>

#include <vector>

#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "waveviews/ViewSerialComRhy.h"

namespace {

class SerialComRhyGainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_rest.m_bAutoDelete = m_mfer.m_bAutoDelete = m_base.m_bAutoDelete = FALSE;
        m_view.SetRestViewDoc(&m_rest);
        m_view.SetMFERViewDoc(&m_mfer);
        m_view.SetBaseECGDoc(&m_base);
    }
    // `count` leads of the same extremes in a column `height` high with
    // squares of `square` pixels; the fitter's answer.
    int Fit(int style, int count, float maximum, float minimum, float gain, int height, int square, BOOL automatic,
            int minimumHalf = 0)
    {
        m_view.SetWaveStyle(style, TRUE);
        m_maxima.assign(count, maximum);
        m_minima.assign(count, minimum);
        m_leads.clear();
        for (int i = 0; i < count; ++i) m_leads.push_back(i);
        m_baselines.assign(SERIAL_VIEW_LEADS, -7);
        _AUTO_GAIN_INFO info{m_maxima.data(), m_minima.data(), m_leads.data(), gain, count, count, height,
                             minimumHalf, square};
        m_result = _AUTO_GAIN_RETURN{m_baselines.data(), gain};
        return m_view.AutoWaveAdjust(info, m_result, automatic);
    }

    CRestViewDoc m_rest;
    CMFERViewDoc m_mfer;
    CTavrionDoc m_base;
    CViewSerialComRhy m_view;
    std::vector<float> m_maxima, m_minima;
    std::vector<int> m_leads, m_baselines;
    _AUTO_GAIN_RETURN m_result{};
};

}  // namespace

TEST_F(SerialComRhyGainTest, ASingleLeadThatFitsIsStackedInTheMiddleWithoutDividingByItsGaps)
{
    // ±2 px at 1 mm/mV: 40 px at 10 mm/mV in a column of 300.
    ASSERT_EQ(1, Fit(13, 1, 2.0f, -2.0f, 10.0f, 301, 10, FALSE));
    EXPECT_FLOAT_EQ(10.0f, m_result.fGain);
    EXPECT_EQ(150, m_baselines[0]);
}

TEST_F(SerialComRhyGainTest, AutomaticModeStartsTheFitAtTenAtLeast)
{
    ASSERT_EQ(1, Fit(13, 1, 2.0f, -2.0f, 5.0f, 301, 10, TRUE));
    EXPECT_FLOAT_EQ(10.0f, m_result.fGain);
}

TEST_F(SerialComRhyGainTest, AutomaticModeHalvesTheGainUntilTheLeadsStack)
{
    // Six leads of ±5 px: 1200 px at 20 mm/mV in a column of 100; the gain
    // halves to 1.25 before their 72 px stack.
    ASSERT_EQ(1, Fit(29, 6, 5.0f, -5.0f, 20.0f, 101, 1, TRUE));
    EXPECT_FLOAT_EQ(1.25f, m_result.fGain);
    for (int i = 1; i < 6; ++i) EXPECT_LT(m_baselines[i - 1], m_baselines[i]) << i;
    EXPECT_GT(m_baselines[0], 0);
    EXPECT_LT(m_baselines[5], 101);
}

TEST_F(SerialComRhyGainTest, AtAFixedGainOverlappingLeadsArePlacedUpToOneAndAHalfColumns)
{
    // 150 px of traces in a column of 100: overlapped, in order down the column.
    ASSERT_EQ(1, Fit(29, 6, 5.0f, -5.0f, 2.5f, 101, 1, FALSE));
    EXPECT_FLOAT_EQ(2.5f, m_result.fGain);
    for (int i = 1; i < 6; ++i) EXPECT_LE(m_baselines[i - 1], m_baselines[i]) << i;
    // 1200 px are too many: nothing placed.
    EXPECT_EQ(0, Fit(29, 6, 5.0f, -5.0f, 20.0f, 101, 1, FALSE));
    EXPECT_EQ(std::vector<int>(SERIAL_VIEW_LEADS, -7), m_baselines);
}

TEST_F(SerialComRhyGainTest, ALeadTallerThanTheColumnAtTenAnswersTheLargestGainThatFits)
{
    // 40 px a mm/mV: 400 px at 10 in a column of 300; 200 at 5 fit.
    EXPECT_EQ(0, Fit(13, 1, 20.0f, -20.0f, 10.0f, 301, 10, TRUE));
    EXPECT_FLOAT_EQ(5.0f, m_result.fGain);
    EXPECT_EQ(-7, m_baselines[0]);
    // 100 px a mm/mV fit at 2.5; 140 only at 1.25.
    EXPECT_EQ(0, Fit(13, 1, 50.0f, -50.0f, 10.0f, 301, 10, TRUE));
    EXPECT_FLOAT_EQ(2.5f, m_result.fGain);
    EXPECT_EQ(0, Fit(13, 1, 70.0f, -70.0f, 10.0f, 301, 10, TRUE));
    EXPECT_FLOAT_EQ(1.25f, m_result.fGain);
}
