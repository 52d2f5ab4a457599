// Auto placement on a paced resting record: a record not of the newer
// series is measured by the spike extremes it stores for the lead, not by
// its wave, so that the spikes find room in the column; a record of the
// newer series keeps its row centres at a fixed gain.
#include <gtest/gtest.h>

#include <vector>

#include "tests/waveviews/ViewRhythmWaveTestSupport.h"
#include "tools/RestRecord.h"

namespace {

class PacedPlacementTest : public rhythmviewtest::RestPageFixture<> {
protected:
    // A paced record whose stored spike extremes of lead `downward` reach
    // 1.875 mV down and nothing up (the wave itself rises well above its zero
    // line), listed as a record of the newer series or not. With `upward` set,
    // lead I's spikes reach 1.875 mV up and nothing down instead.
    void OpenPaced(bool newerSeries, int downward = 0, bool upward = false)
    {
        morvelance::RestRecordShape shape;
        shape.olderReader = true;
        shape.pacemaker = true;
        morvelance::RecordBuilder items = morvelance::MakeRestRecord(shape);
        std::vector<int16_t> maxima(12, 400), minima(12, -400);
        if (upward) {
            maxima[0] = 1500;
            minima[0] = 0;
        }
        maxima[downward] = 0;
        minima[downward] = -1500;
        morvelance::AddRestSpikeExtremes(items, maxima, minima, true);
        m_files = morvelance::WriteRestRecord(m_dir.Path(), "paced.ecg", shape, items);
        ASSERT_EQ(0, Open(AddItem(m_files, newerSeries)));
        ASSERT_EQ(1, m_doc.IfPaceMakerON());
        ASSERT_EQ(newerSeries ? 1 : 0, m_doc.Is8000File());
    }
    // The one-lead strip of a lead (I unless told; style 13) placed
    // automatically at 10 mm/mV in a 300 px column of 30 squares; its zero line.
    int StripBaseline(int stripLead = 0)
    {
        m_doc.SetSense(2, 10.0f, 0);
        m_doc.SetSenseMode(2);
        m_view.SetRhythm1LeadID(stripLead);
        m_view.SetWaveStyle(13, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        m_view.CalAutoSensPos(CRect(0, 0, 1040, 300), 30, 0);
        return m_view.GetScreenBaseline(0);
    }
};

TEST_F(PacedPlacementTest, APacedRecordOfAnotherSeriesIsPlacedByItsStoredSpikeExtremes)
{
    ASSERT_NO_FATAL_FAILURE(OpenPaced(false));
    // All of the 187 px the spikes take lie below the zero line: stacked in
    // the column, the zero line sits 57 px from its top (worked out from the
    // stacked placement: gap -102, centre -93, px 187, square 10, h 299).
    EXPECT_EQ(57, StripBaseline());
}

TEST_F(PacedPlacementTest, AStripOfAnotherLeadIsPlacedByThatLeadsSpikesNotLeadIsAtTheStripsPosition)
{
    // Lead II's spikes reach down only, lead I's (drawn at the strip's
    // position on other pages) up only: the strip of lead II takes lead II's
    // room, the zero line high in the column as for lead I above; lead I's
    // would have put it low.
    ASSERT_NO_FATAL_FAILURE(OpenPaced(false, 1, true));
    EXPECT_EQ(57, StripBaseline(1));
    // The same record's strip of lead I sits low, under its upward spikes.
    EXPECT_GT(StripBaseline(0), 150);
}

TEST_F(PacedPlacementTest, APacedRecordOfTheNewerSeriesKeepsTheRowCentreAtAFixedGain)
{
    ASSERT_NO_FATAL_FAILURE(OpenPaced(true));
    EXPECT_EQ(150, StripBaseline());
}

}  // namespace
