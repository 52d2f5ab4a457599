// The heart-rate texts the records' items keep from their record XML when
// they open, which the measuring dividers place themselves from.
#include <gtest/gtest.h>

#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "waveviews/WaveItemRef.h"

namespace {

class RestItemHeartRateTest : public resttest::RestDocFixture {};

TEST_F(RestItemHeartRateTest, TheRestItemKeepsTheMeasuredHeartRateOnceOpened)
{
    morvelance::RestRecordShape shape;
    shape.heartRate = 75.0;
    _RESTDATAITEM* item = AddRecord("rate", shape);
    EXPECT_TRUE(item->strHeartRate.IsEmpty());
    ASSERT_EQ(0, Open(item));
    EXPECT_EQ(CString(L"75"), item->strHeartRate);
    EXPECT_EQ(75, CWaveItemRef::Of(&m_doc, DOC_TYPE_REST).GetHeartRate());
    EXPECT_TRUE(CWaveItemRef::Of(&m_doc, DOC_TYPE_REST).HasRecordXml());
}

class RhythmItemHeartRateTest : public rhythmtest::RhythmDocTest {};

TEST_F(RhythmItemHeartRateTest, TheRhythmItemKeepsTheMeasuredHeartRateAndAnUnreadableOneCountsAsNone)
{
    morvelance::RhythmRecordShape shape;
    shape.heartRate = 60.0;
    ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, "rate", shape), 1));
    EXPECT_EQ(CString(L"60"), Item()->stInterpre.strHeartRate);
    EXPECT_EQ(60, CWaveItemRef::Of(m_doc.get(), DOC_TYPE_RHYTHM).GetHeartRate());
    Item()->stInterpre.strHeartRate = L"***";
    EXPECT_EQ(0, CWaveItemRef::Of(m_doc.get(), DOC_TYPE_RHYTHM).GetHeartRate());
}

}  // namespace
