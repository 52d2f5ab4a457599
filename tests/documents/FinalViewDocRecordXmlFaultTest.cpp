// The master-step document against a record XML that cannot be written.
#include "core/ReferenceIds.h"
#include "tests/documents/FinalViewDocTestUtil.h"
#include "tests/support/XmlSaveFault.h"

using namespace finaltest;
using testsupport::ReadFileBytes;

TEST_F(FinalDocTest, WritesThatFailLeaveTheRecordXmlAsItWas)
{
    std::string xml;
    const std::string path = Write(SynthRecord(), &xml);
    CFinalViewDoc doc;
    ASSERT_EQ(0, Open(doc, path, xml));
    doc.SetPageStyle(3);
    const std::string before = ReadFileBytes(xml);
    {
        testsupport::ScopedXmlSaveFault fault;
        doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
        doc.SetFilter(35);
        EXPECT_EQ(255, doc.SaveDataToXML(doc.GetCurrentDataItem()->nID));
    }
    EXPECT_EQ(before, ReadFileBytes(xml));
    // Each of the document's own setting saves reports its failure.
    {
        testsupport::ScopedFullDisk full;
        doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
        EXPECT_NE(0, doc.IsSettingSaveFailed());
        doc.SetFilter(35);
        EXPECT_NE(0, doc.IsSettingSaveFailed());
    }
    EXPECT_EQ(before, ReadFileBytes(xml));
    {
        testsupport::ScopedNthXmlSaveFault second(2);   // the base writer's save goes through, the document's fails
        doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
        EXPECT_NE(0, doc.IsSettingSaveFailed());
    }

    doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
    EXPECT_EQ(0, doc.IsSettingSaveFailed());
    doc.SetFilter(35);
    EXPECT_EQ(0, doc.IsSettingSaveFailed());
    EXPECT_EQ(CString(L"35"), testsupport::ReadXmlValue(xml, L"/Rawdata/Tavrion/Record/Extended_section/Acq_filter"));
}
