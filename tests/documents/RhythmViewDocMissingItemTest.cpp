// The rhythm document asked about a record it does not hold, and a
// sensitivity given for a kind the rhythm screens do not keep.
#include <gtest/gtest.h>

#include "tests/documents/RhythmViewDocTestSupport.h"

namespace {

using namespace rhythmtest;

morvelance::RhythmRecordShape TwelveLeads()
{
    morvelance::RhythmRecordShape shape;
    shape.leads = 12;
    shape.seconds = 10.0;
    shape.systemCode = 10;
    return shape;
}

using RhythmDocumentAsked = RhythmDocTest;

}  // namespace

TEST_F(RhythmDocumentAsked, ARecordItDoesNotHoldIsNeitherSavedNorAnswered)
{
    const RhythmFiles files = WriteRhythm(m_dir, "held", TwelveLeads());
    ASSERT_EQ(Open(files, 12), 0);
    CRhythmViewDoc& doc = *m_doc;
    const std::string before = testsupport::ReadFileBytes(files.xml);

    // Item 7 was never listed: no save reaches any record XML.
    EXPECT_EQ(doc.SaveDataToXML(7), 255);
    EXPECT_EQ(doc.SaveAnnotationToXML(7), 255);
    EXPECT_EQ(testsupport::ReadFileBytes(files.xml), before);

    // A current index that names no item: no item, no leads, no type and
    // the first sensitivity mode.
    doc.SetCurDataIndex(7);
    EXPECT_EQ(doc.GetCurrentDataItem(), nullptr);
    EXPECT_EQ(doc.GetCurItemLeadCount(), 255);
    EXPECT_EQ(doc.GetCurrentTypeValue(), 0);
    doc.SetSenseMode(4);
    EXPECT_EQ(doc.GetSenseMode(), 1u);

    // The record held is still there to save.
    doc.SetCurDataIndex(0);
    ASSERT_NE(doc.GetCurrentDataItem(), nullptr);
    EXPECT_EQ(doc.GetCurItemLeadCount(), 12);
    EXPECT_EQ(doc.SaveDataToXML(0), 0);
}

TEST_F(RhythmDocumentAsked, ASensitivityForAKindOutsideItsTableChangesNothing)
{
    const RhythmFiles files = WriteRhythm(m_dir, "sense", TwelveLeads());
    ASSERT_EQ(Open(files, 12), 0);
    CRhythmViewDoc& doc = *m_doc;
    doc.SetSenseMode(2);
    // The kinds the rhythm screens keep: limb, chest, strip and the extra group.
    const UINT kept[] = {0, 1, 2, 6};
    float value = 2.5f;
    for (UINT kind : kept) doc.SetSense(kind, value += 2.5f, 0);
    float before[2][8];
    for (int set = 0; set < 2; ++set)
        for (UINT kind = 0; kind < 8; ++kind) before[set][kind] = doc.GetSense(kind, set);
    const float strip = doc.GetSense(9, 0);

    for (UINT kind : {3u, 4u, 5u, 7u, 9u, 40u}) doc.SetSense(kind, 80.0f, 0);
    for (int set = 0; set < 2; ++set)
        for (UINT kind = 0; kind < 8; ++kind) EXPECT_EQ(doc.GetSense(kind, set), before[set][kind]) << kind;
    EXPECT_EQ(doc.GetSense(9, 0), strip);
    EXPECT_EQ(doc.GetSense(3, 0), 0.0f);
    EXPECT_EQ(doc.GetSenseMode(), 2u);
    // A kind it keeps still takes the value.
    doc.SetSense(1, 80.0f, 0);
    EXPECT_EQ(doc.GetSense(1, 0), 80.0f);
}
