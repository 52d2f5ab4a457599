// The single-column pages on screen, probed by pixels: every lead the page
// holds is drawn on its row, whatever the record's lead count.
#include <gtest/gtest.h>

#include "platform/base/Kernel.h"
#include "tests/waveviews/ViewRhythmWaveTestSupport.h"

namespace {

using morvelance::rec::RecordKind;

class RhythmViewScreenTest : public rhythmviewtest::RestPageFixture<> {
protected:
    // Whether row r of `rows` carries lead `lead`'s first sample where the
    // fixed placement puts it: the row centre H x (2r + 1) / (2 rows), 1 mV =
    // sense x H / grid Y px.
    bool TraceStartsOnRow(int lead, int r, int rows)
    {
        const short* samples = m_view.GetLeadSamples(lead);
        if (!samples) return false;
        const int left = MulDiv(m_width, 10, m_gridX);
        const int zero = m_height * (2 * r + 1) / (2 * rows);
        const int mv = static_cast<int>(m_doc.GetSense(6, 0) * m_height / m_gridY + 0.5);
        const int y = zero - static_cast<int>(samples[0] * mv * 0.00125);
        for (int dy = -2; dy <= 2; ++dy)
            if (Inked(left, y + dy)) return true;
        return false;
    }
    int RowsWithTheirTrace(int rows)
    {
        int n = 0;
        for (int r = 0; r < rows; ++r) n += TraceStartsOnRow(r, r, rows) ? 1 : 0;
        return n;
    }
};

TEST_F(RhythmViewScreenTest, TheTwelveRowPageShowsEveryLeadOfATwelveLeadRecord)
{
    OpenRecord(RecordKind::Rest12);
    ASSERT_EQ(1, DrawPage(11, 1300, 750));
    EXPECT_EQ(12, RowsWithTheirTrace(12));
}

TEST_F(RhythmViewScreenTest, TheTwelveRowPageOfAFifteenLeadRecordShowsItsFirstTwelveLeads)
{
    // The document keeps no twelve-lead selection for a 15-lead record: the
    // page must still show the standard leads rather than stay empty.
    OpenRecord(RecordKind::Rest15);
    ASSERT_EQ(1, DrawPage(11, 1300, 750));
    EXPECT_EQ(12, RowsWithTheirTrace(12));
}

TEST_F(RhythmViewScreenTest, TheFifteenRowPageOfAFifteenLeadRecordShowsFifteenTraces)
{
    OpenRecord(RecordKind::Rest15);
    ASSERT_EQ(1, DrawPage(12, 1300, 750));
    EXPECT_EQ(15, RowsWithTheirTrace(15));
}

TEST_F(RhythmViewScreenTest, TheFifteenRowPageOfATwelveLeadRecordShowsEveryLeadItHasOnItsRow)
{
    OpenRecord(RecordKind::Rest12);
    ASSERT_EQ(1, DrawPage(12, 1300, 750));
    int leads = 0;
    for (int lead = 0; lead < RHYTHM_VIEW_LEADS; ++lead) leads += m_view.GetLeadSamples(lead) ? 1 : 0;
    ASSERT_GE(leads, 12);
    // The leads spread over the rows they fill.
    EXPECT_EQ(leads, RowsWithTheirTrace(leads));
}

}  // namespace
