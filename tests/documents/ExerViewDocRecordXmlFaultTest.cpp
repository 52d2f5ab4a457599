// The exercise document against a record XML that cannot be written, or
// whose settings hold numbers with trailing text.
#include "core/ReferenceIds.h"
#include "documents/RecordXmlText.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "tests/support/XmlSaveFault.h"

using namespace exertest;
using testsupport::ReadFileBytes;
using testsupport::ScopedXmlSaveFault;

TEST_F(ExerDocument, FailedSaveReportsTheFailureAndLeavesTheRecordXmlAsItWas)
{
    const ExerFiles files = Write(DefaultOptions());
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    doc.UpDateReferenceInfo(CString());
    doc.SetPageStyle(4);
    const std::string before = ReadFileBytes(files.xml);
    {
        ScopedXmlSaveFault fault;
        EXPECT_EQ(255, doc.SaveDataToXML(0));
        doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
    }
    EXPECT_EQ(before, ReadFileBytes(files.xml));
    {
        testsupport::ScopedFullDisk full;
        doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
        EXPECT_NE(0, doc.IsSettingSaveFailed());
    }
    EXPECT_EQ(before, ReadFileBytes(files.xml));
    {
        testsupport::ScopedNthXmlSaveFault second(2);   // the base writer's save goes through, the document's fails
        doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
        EXPECT_NE(0, doc.IsSettingSaveFailed());
    }

    // The same saves go through once the disk takes them.
    EXPECT_EQ(0, doc.SaveDataToXML(0));
    doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
    EXPECT_EQ(0, doc.IsSettingSaveFailed());
    EXPECT_EQ(CString(L"4"), testsupport::ReadXmlValue(files.xml, SettingPath(L"Page_style")));
}

TEST_F(ExerDocument, SettingWithTrailingTextFallsBackToItsDefault)
{
    const ExerFiles files = Write(DefaultOptions());
    WriteXmlValue(files.xml, SettingPath(L"Page_style"), L"4abc");
    WriteXmlValue(files.xml, SettingPath(L"Measure_point"), L"0x");
    {
        CExerViewDoc doc;
        ASSERT_EQ(Open(doc, files), 0);
        doc.UpDateReferenceInfo(CString());
        EXPECT_EQ(1, doc.GetPageStyle());
        EXPECT_EQ(1, doc.GetMeasurePoint());
    }
    WriteXmlValue(files.xml, SettingPath(L"Page_style"), L" 4 ");
    WriteXmlValue(files.xml, SettingPath(L"Measure_point"), L"0");
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(4, doc.GetPageStyle());
    EXPECT_EQ(0, doc.GetMeasurePoint());
}
