// The base document's writers of the record XML when the disk refuses the
// write: the file stays as it was, and whoever returns a status reports it.
#include <gtest/gtest.h>

#include <string>

#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "core/TavrionDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/XmlSaveFault.h"

using testsupport::ReadFileBytes;
using testsupport::ScopedXmlSaveFault;
using testsupport::Wide;

namespace {

const char kRecordXml[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Rawdata><Tavrion><Inspection><Patient_section><Patient_id>A1</Patient_id></Patient_section></Inspection>"
    "</Tavrion><Assist_info><Reference><Setting><Draw_setting><Grid_type>0</Grid_type></Draw_setting>"
    "</Setting></Reference></Assist_info><Annotation/></Rawdata>\n";

// Opens the base document's annotation writer to the test.
class CAnnotatingDoc : public CTavrionDoc {
public:
    using CTavrionDoc::SaveAnnotationsToFile;
};

class TavrionDocSaveFault : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        m_xml = m_dir.Write("record.xml", kRecordXml);
    }

    std::string m_xml;
};

}  // namespace

TEST_F(TavrionDocSaveFault, PatientWriteThatFailsLeavesTheFileAndMarksTheParser)
{
    CTavrionDoc doc;
    _PATIENT_INFO patient;
    patient.strPatientID = L"B2";
    {
        ScopedXmlSaveFault fault;
        CECGXMLParser xml(Wide(m_xml), 0, CString());
        doc.SavePatInfoToXML(patient, &xml);
        EXPECT_NE(0, xml.m_bLastSaveFailed);
    }
    EXPECT_EQ(std::string(kRecordXml), ReadFileBytes(m_xml));
    // On a full disk the document, too, knows the save failed.
    {
        testsupport::ScopedFullDisk full;
        CECGXMLParser xml(Wide(m_xml), 0, CString());
        doc.SavePatInfoToXML(patient, &xml);
        EXPECT_NE(0, doc.IsSettingSaveFailed());
    }
    EXPECT_EQ(std::string(kRecordXml), ReadFileBytes(m_xml));

    CECGXMLParser xml(Wide(m_xml), 0, CString());
    doc.SavePatInfoToXML(patient, &xml);
    EXPECT_EQ(0, xml.m_bLastSaveFailed);
    EXPECT_EQ(0, doc.IsSettingSaveFailed());
    EXPECT_EQ(CString(L"B2"),
              testsupport::ReadXmlValue(m_xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id"));
}

TEST_F(TavrionDocSaveFault, DrawingSettingThatCannotBeWrittenLeavesTheFile)
{
    CTavrionDoc doc;
    _DATAITEM* item = doc.GetDataManager().AppendItem(testsupport::NewRecordItem<_DATAITEM>("record.ecg", m_xml));
    doc.SetCurDataIndex(item->nID);
    doc.SetGridType(1);
    {
        ScopedXmlSaveFault fault;
        doc.SetReferenceIntoXML(REFERENCE_GRID_TYPE, 0);
        EXPECT_NE(0, doc.IsSettingSaveFailed());
    }
    EXPECT_EQ(std::string(kRecordXml), ReadFileBytes(m_xml));
    doc.SetReferenceIntoXML(REFERENCE_GRID_TYPE, 0);
    EXPECT_EQ(0, doc.IsSettingSaveFailed());
    EXPECT_EQ(CString(L"1"), testsupport::ReadXmlValue(m_xml, REFERENCE_SETTING_PATH L"/Draw_setting/Grid_type"));
}

TEST_F(TavrionDocSaveFault, ASettingWriteIsReportedFailedForAnUnreadableRecordXmlAndNotWithoutOne)
{
    CTavrionDoc doc;
    // Without a current record there is nothing to write and nothing failed.
    doc.SetReferenceIntoXML(REFERENCE_GRID_TYPE, 0);
    EXPECT_EQ(0, doc.IsSettingSaveFailed());

    // A record XML that cannot be read is never overwritten: the write fails.
    const std::string broken = m_dir.Write("broken.xml", "<Rawdata><Tavrion>");
    _DATAITEM* item = doc.GetDataManager().AppendItem(testsupport::NewRecordItem<_DATAITEM>("broken.ecg", broken));
    doc.SetCurDataIndex(item->nID);
    doc.SetReferenceIntoXML(REFERENCE_GRID_TYPE, 0);
    EXPECT_NE(0, doc.IsSettingSaveFailed());
    EXPECT_EQ(std::string("<Rawdata><Tavrion>"), ReadFileBytes(broken));
}

TEST_F(TavrionDocSaveFault, AnnotationsThatCannotBeWrittenAreReportedAsNoSave)
{
    CAnnotatingDoc doc;
    _ANNOTATION_INFO head;
    head.nPageStyle = 1;
    {
        ScopedXmlSaveFault fault;
        EXPECT_EQ(255, doc.SaveAnnotationsToFile(Wide(m_xml), &head));
    }
    EXPECT_EQ(std::string(kRecordXml), ReadFileBytes(m_xml));
    {
        testsupport::ScopedFullDisk full;
        CECGXMLParser xml(Wide(m_xml), 0, CString());
        doc.SaveAnnoInfoToXML(&head, &xml);
        EXPECT_NE(0, doc.IsSettingSaveFailed());
    }
    EXPECT_EQ(std::string(kRecordXml), ReadFileBytes(m_xml));
    EXPECT_EQ(0, doc.SaveAnnotationsToFile(Wide(m_xml), &head));
    EXPECT_EQ(0, doc.IsSettingSaveFailed());
    EXPECT_EQ(1, testsupport::XmlCount(m_xml, L"/Rawdata/Annotation/Anno"));
}
