// The resting document against a record XML that cannot be written, or whose
// settings hold numbers with trailing text.
#include "core/ReferenceIds.h"
#include "documents/RecordXmlText.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/XmlSaveFault.h"

using namespace resttest;
using morvelance::rec::RecordKind;
using testsupport::ReadFileBytes;
using testsupport::ReadXmlValue;
using testsupport::WriteXmlValue;

TEST_F(RestDocFixture, SettingThatCannotBeWrittenLeavesTheRecordXmlAsItWas)
{
    _RESTDATAITEM* item = AddRecord("rest.ecg", Shape(RecordKind::Rest12));
    ASSERT_EQ(Open(item), 0);
    testsupport::ExpectFilterSettingWrittenOnlyByAWorkingSave(m_doc, m_files.xml, SettingPath(L"Filter"));
}

TEST_F(RestDocFixture, SettingsWithTrailingTextFallBackToTheirDefaults)
{
    _RESTDATAITEM* item = AddRecord("rest.ecg", Shape(RecordKind::Rest12));
    ASSERT_EQ(Open(item), 0);
    WriteXmlValue(m_files.xml, SettingPath(L"Filter"), L"35abc");
    WriteXmlValue(m_files.xml, SettingPath(L"Rhythm_1lead"), L"5abc");
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(100, m_doc.GetFilter());
    EXPECT_EQ(0, m_doc.GetRhythm1LeadID());

    WriteXmlValue(m_files.xml, SettingPath(L"Filter"), L"35");
    WriteXmlValue(m_files.xml, SettingPath(L"Rhythm_1lead"), L"5");
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(35, m_doc.GetFilter());
    EXPECT_EQ(5, m_doc.GetRhythm1LeadID());
}
