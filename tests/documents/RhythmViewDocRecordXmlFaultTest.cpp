// The rhythm document against a record XML that cannot be written, or whose
// settings hold numbers with trailing text.
#include "core/ReferenceIds.h"
#include "documents/RecordXmlText.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/XmlSaveFault.h"

using namespace morvelance;
using namespace rhythmtest;
using testsupport::ReadFileBytes;

namespace {

RhythmRecordShape ThreeLeads()
{
    RhythmRecordShape shape;
    shape.leads = 3;
    shape.seconds = 4.0;
    shape.systemCode = 10;
    return shape;
}

}  // namespace

TEST_F(RhythmDocTest, SettingThatCannotBeWrittenLeavesTheRecordXmlAsItWas)
{
    const RhythmFiles files = WriteRhythm(m_dir, "fault", ThreeLeads());
    ASSERT_EQ(Open(files, 3), 0);
    testsupport::ExpectFilterSettingWrittenOnlyByAWorkingSave(*m_doc, files.xml, SettingPath(L"Filter"));
}

TEST_F(RhythmDocTest, SettingsThatAreNoWholeNumberFallBackToTheirDefaults)
{
    const RhythmFiles files = WriteRhythm(m_dir, "garbled", ThreeLeads());
    WriteXmlValue(files.xml, SettingPath(L"Filter"), L"35abc");
    WriteXmlValue(files.xml, SettingPath(L"Speed"), L"50mm");
    ASSERT_EQ(Open(files, 3), 0);
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(100, m_doc->GetFilter());
    EXPECT_FLOAT_EQ(25.0f, m_doc->GetSpeed());

    // 2^32 + 35: a number whose low bits would pass for 35.
    WriteXmlValue(files.xml, SettingPath(L"Filter"), L"4294967331");
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(100, m_doc->GetFilter());

    WriteXmlValue(files.xml, SettingPath(L"Filter"), L"35");
    WriteXmlValue(files.xml, SettingPath(L"Speed"), L"50");
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(35, m_doc->GetFilter());
    EXPECT_FLOAT_EQ(50.0f, m_doc->GetSpeed());
}
