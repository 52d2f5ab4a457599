// The RR document against a record XML that cannot be written, or whose
// settings hold numbers with trailing text.
#include "core/ReferenceIds.h"
#include "documents/RecordXmlText.h"
#include "tests/documents/RRViewDocFixture.h"
#include "tests/support/XmlSaveFault.h"

using namespace rrtest;
using testsupport::ReadFileBytes;
using testsupport::WriteXmlValue;

TEST_F(RRDocTest, SettingThatCannotBeWrittenLeavesTheRecordXmlAsItWas)
{
    const RRFiles files = Write("fault");
    Add(files);
    ASSERT_EQ(0, Open(files));
    testsupport::ExpectFilterSettingWrittenOnlyByAWorkingSave(m_doc, files.xml, SettingPath(L"Filter"));
}

TEST_F(RRDocTest, SettingsWithTrailingTextFallBackToTheirDefaults)
{
    const RRFiles files = Write("garbled");
    Add(files);
    ASSERT_EQ(0, Open(files));
    WriteXmlValue(files.xml, SettingPath(L"Filter"), L"35abc");
    WriteXmlValue(files.xml, SettingPath(L"Sensitivity"), L"2mode", L"mode");
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(100, m_doc.DocFilter());
    EXPECT_EQ(1u, m_doc.WorkingSenseMode());

    WriteXmlValue(files.xml, SettingPath(L"Filter"), L"35");
    WriteXmlValue(files.xml, SettingPath(L"Sensitivity"), L"2", L"mode");
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(35, m_doc.DocFilter());
    EXPECT_EQ(2u, m_doc.WorkingSenseMode());
}
