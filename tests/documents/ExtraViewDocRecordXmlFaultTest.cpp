// The extra-lead document against a record XML that cannot be written, or
// whose settings hold numbers with trailing text.
#include "core/ReferenceIds.h"
#include "documents/RecordXmlText.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/support/XmlSaveFault.h"

using namespace extratest;
using testsupport::ReadFileBytes;
using testsupport::WriteXmlValue;

TEST_F(ExtraDocTest, SettingThatCannotBeWrittenLeavesTheRecordXmlAsItWas)
{
    morvelance::ExtraRecordOptions options;
    options.rhythmSeconds = 20.0;
    const RecordFiles files = Write("fault", options);
    ASSERT_NE(nullptr, Load(m_doc, files, 3));
    testsupport::ExpectFilterSettingWrittenOnlyByAWorkingSave(m_doc, files.xml, SettingPath(L"Filter"));
}

TEST_F(ExtraDocTest, SettingsWithTrailingTextFallBackToTheirDefaults)
{
    morvelance::ExtraRecordOptions options;
    options.rhythmSeconds = 20.0;
    const RecordFiles files = Write("garbled", options);
    ASSERT_NE(nullptr, Load(m_doc, files, 3));
    WriteXmlValue(files.xml, SettingPath(L"Filter"), L"35abc");
    WriteXmlValue(files.xml, SettingPath(L"Sensitivity"), L"2mode", L"mode");
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(100, m_doc.GetFilter());
    EXPECT_EQ(1u, m_doc.GetSenseMode());

    WriteXmlValue(files.xml, SettingPath(L"Filter"), L"35");
    WriteXmlValue(files.xml, SettingPath(L"Sensitivity"), L"2", L"mode");
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(35, m_doc.GetFilter());
    EXPECT_EQ(2u, m_doc.GetSenseMode());
}
