// The MFER document against a record XML that cannot be written, or whose
// settings hold numbers with trailing text.
#include "core/ReferenceIds.h"
#include "documents/RecordXmlText.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/support/XmlSaveFault.h"

using morvelance::MferKind;
using mfertest::MferDocTest;
using testsupport::ReadFileBytes;
using testsupport::ScopedXmlSaveFault;
using testsupport::Utf8;

TEST_F(MferDocTest, FailedSavesReportTheFailureAndLeaveTheRecordXmlAsItWas)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    m_doc->SetCtrlContent(nullptr);
    mfertest::Edit(*m_doc, 3003, L"佐藤 一郎");
    m_doc->SetFilter(35);
    const std::string xml = Utf8(item->strXMLPath);
    const std::string before = ReadFileBytes(xml);
    {
        ScopedXmlSaveFault fault;
        EXPECT_EQ(255, m_doc->SaveDataToXML(item->nID));
        EXPECT_EQ(255, m_doc->SaveMsuDataToXML(item));
        m_doc->SetReferenceIntoXML(REFERENCE_FILTER, 0);
    }
    EXPECT_EQ(before, ReadFileBytes(xml));
    {
        testsupport::ScopedFullDisk full;
        m_doc->SetReferenceIntoXML(REFERENCE_FILTER, 0);
        EXPECT_NE(0, m_doc->IsSettingSaveFailed());
    }
    EXPECT_EQ(before, ReadFileBytes(xml));
    {
        testsupport::ScopedNthXmlSaveFault second(2);   // the base writer's save goes through, the document's fails
        m_doc->SetReferenceIntoXML(REFERENCE_FILTER, 0);
        EXPECT_NE(0, m_doc->IsSettingSaveFailed());
    }

    EXPECT_EQ(0, m_doc->SaveMsuDataToXML(item));
    EXPECT_EQ(0, m_doc->SaveDataToXML(item->nID));
    m_doc->SetReferenceIntoXML(REFERENCE_FILTER, 0);
    EXPECT_EQ(CString(L"35"), testsupport::ReadXmlValue(xml, SettingPath(L"Filter")));
}

TEST_F(MferDocTest, SettingsWithTrailingTextFallBackToTheirDefaults)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    const std::string xml = Utf8(item->strXMLPath);
    testsupport::WriteXmlValue(xml, SettingPath(L"Filter"), L"35abc");
    testsupport::WriteXmlValue(xml, SettingPath(L"Page_style"), L"12abc");
    testsupport::WriteXmlValue(xml, SettingPath(L"Speed"), L"50mm");
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(100, m_doc->GetFilter());
    EXPECT_EQ(1, m_doc->GetPageStyle());
    EXPECT_FLOAT_EQ(25.0f, m_doc->GetSpeed());

    testsupport::WriteXmlValue(xml, SettingPath(L"Filter"), L"35");
    testsupport::WriteXmlValue(xml, SettingPath(L"Page_style"), L"12");
    testsupport::WriteXmlValue(xml, SettingPath(L"Speed"), L"50.0");
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(35, m_doc->GetFilter());
    EXPECT_EQ(12, m_doc->GetPageStyle());
    EXPECT_FLOAT_EQ(50.0f, m_doc->GetSpeed());
}
