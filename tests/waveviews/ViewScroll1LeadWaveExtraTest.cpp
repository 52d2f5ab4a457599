// The one-lead scroll strip under a page of an extra-lead record of the record
// maker: a record under the strip's length threshold is drawn at the strip
// sensitivity the extra-lead document keeps.
#include <gtest/gtest.h>

#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/waveviews/MeasureViewTestSupport.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace {

class ExtraStripTest
    : public measuretest::MeasureWindowFixture<extratest::ExtraDocTest, DOC_TYPE_EXTRA, CViewScroll1LeadWave> {};

TEST_F(ExtraStripTest, AShortExtraLeadRecordIsDrawnAtTheDocumentsStoredStripSensitivity)
{
    morvelance::ExtraRecordOptions options;
    options.layout = morvelance::ExtraLayout::SixRhythm;
    const extratest::RecordFiles files = Write("strip", options);
    ASSERT_NE(nullptr, Load(m_doc, files, morvelance::ExtraLeadType(options.layout)));
    m_doc.SetSenseMode(1);
    m_doc.SetSense(CExtraViewDoc::SENSE_RHYTHM, 20.0f, 0);   // kept as the strip's own setting
    m_doc.SetRhythmWaveStyle(22);
    MakeView(13, 1040, 120);
    Paint();
    ASSERT_LE(m_view->GetRecordLength(), 50000);
    // What the strip wrote for its drawing: the stored 20 mm/mV, not 10.
    EXPECT_FLOAT_EQ(20.0f, static_cast<CTavrionDoc&>(m_doc).GetSense(2, 0));
    EXPECT_FLOAT_EQ(20.0f, m_view->StripSense());
}

}  // namespace
