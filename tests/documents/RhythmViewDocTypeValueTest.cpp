// The rhythm item's layout type: the host gives it when it lists the record,
// opening keeps it, and the document answers it for the current item only.
#include <gtest/gtest.h>

#include "tests/documents/RhythmViewDocTestSupport.h"

using namespace rhythmtest;

namespace {

using RhythmTypeValue = RhythmDocTest;

morvelance::RhythmRecordShape Shape(int leads)
{
    morvelance::RhythmRecordShape shape;
    shape.leads = leads;
    shape.seconds = 10.0;
    shape.systemCode = 10;
    return shape;
}

TEST_F(RhythmTypeValue, TheHostsTypeValueSurvivesOpeningAndIsTheCurrentItems)
{
    const RhythmFiles three = WriteRhythm(m_dir, "three", Shape(3));
    const RhythmFiles one = WriteRhythm(m_dir, "one", Shape(1));
    AddItem(*m_doc, three, 3)->nTypeValue = 3;
    AddItem(*m_doc, one, 1);
    EXPECT_EQ(0, m_doc->GetCurrentTypeValue());   // no current item yet
    ASSERT_EQ(0, testsupport::OpenRecord(*m_doc, three));
    m_doc->SetCurDataIndex(0);
    EXPECT_EQ(3, m_doc->GetCurrentTypeValue());
    m_doc->SetCurDataIndex(1);
    EXPECT_EQ(0, m_doc->GetCurrentTypeValue());
}

}  // namespace
