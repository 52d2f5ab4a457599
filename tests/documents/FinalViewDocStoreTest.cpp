// The master-step document's editing side through real files: the store
// loaded from a record, edits through the bound-control path, saving, and
// reading the record again; the display settings written one at a time and
// read back.
#include <gtest/gtest.h>

#include "core/ReferenceIds.h"
#include "documents/FinalViewDoc.h"
#include "documents/FinalViewDocPaths.h"
#include "tests/documents/FinalViewDocTestUtil.h"

using namespace finaltest;
using morvelance::MasterStepOptions;

namespace {

class FinalViewDocEdit : public FinalDocTest {
protected:
    void SetUp() override
    {
        FinalDocTest::SetUp();
        m_path = Write(SynthRecord(m_options), &m_xml);
    }

    MasterStepOptions m_options;
    std::string m_path;
    std::string m_xml;
};

}  // namespace

TEST_F(FinalViewDocEdit, EditsSaveAndReadBack)
{
    {
        CFinalViewDoc doc;
        ASSERT_EQ(Open(doc, m_path, m_xml), 0);
        doc.SetCtrlContent(nullptr);
        doc.PushCtrlEdit(3605, L"胸部圧迫感", -1);
        doc.PushCtrlEdit(3615, L"佐藤", -1);
        doc.PushCtrlEdit(4017, L"負荷後ST低下\r\n要経過観察", -1);
        doc.PushCtrlEdit(3995, L"服薬中止後", -1);
        doc.PushCtrlEdit(3001, L"MS-9999", -1);
        EXPECT_EQ(doc.IsEidtChange(), 1);
        EXPECT_EQ(doc.IsInformationChange(), 1);
        EXPECT_EQ(doc.IsCommentChange(), 1);
        EXPECT_EQ(doc.IsAdditionChange(), 1);
        EXPECT_EQ(doc.IsAnalysisChange(), 0);
        EXPECT_EQ(doc.SaveDataToXML(0), 0);
        EXPECT_EQ(doc.SaveDataToXML(5), 255);
        // The item holds the edits now: nothing differs any more.
        EXPECT_EQ(doc.IsEidtChange(), 0);
    }
    EXPECT_EQ(ReadXmlValue(m_xml, L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content"),
              CString(L"負荷後ST低下\r\n要経過観察"));

    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, m_path, m_xml), 0);
    const _FINALDATAITEM* item = doc.GetCurrentDataItem();
    EXPECT_EQ(item->stInterpre.strSympton, CString(L"胸部圧迫感"));
    EXPECT_EQ(item->stInterpre.strTechnician, CString(L"佐藤"));
    EXPECT_EQ(item->stInterpre.strComment, CString(L"負荷後ST低下\r\n要経過観察"));
    EXPECT_EQ(item->stAddition.strContent[1], CString(L"服薬中止後"));
    EXPECT_EQ(item->stPatient.strPatientID, CString(L"MS-9999"));
    EXPECT_EQ(item->stInterpre.strFree[FINAL_FREE_IVREL_CODE], CString(L"J3"));
    // What was not edited survives the save.
    EXPECT_EQ(item->nLoadCount, 3);
    EXPECT_EQ(item->stWaveInfo.strTripCount, CString(L"18"));
    EXPECT_FALSE(item->stPatient.strReserved.IsEmpty());
    EXPECT_FALSE(item->stInterpre.strFree[FINAL_FREE_ANALYSIS_EDIT_DATE].IsEmpty());
    doc.SetCtrlContent(nullptr);
    EXPECT_EQ(doc.IsEidtChange(), 0);
}

TEST_F(FinalViewDocEdit, AnnotationsSaveAndReadBack)
{
    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, m_path, m_xml), 0);
    _FINALDATAITEM* item = doc.GetCurrentDataItem();
    int before = 0;
    for (_ANNOTATION_INFO* a = item->pAnnoHead->pNext; a; a = a->pNext) ++before;
    ASSERT_GT(before, 0);
    _ANNOTATION_INFO* first = item->pAnnoHead->pNext;
    item->pAnnoHead->pNext = first->pNext;
    delete first;
    EXPECT_EQ(doc.SaveAnnotationToXML(0), 0);
    EXPECT_EQ(doc.SaveAnnotationToXML(3), 255);
    ASSERT_EQ(doc.GetDataInfoFromXMLFile(item), 0);
    int after = 0;
    for (_ANNOTATION_INFO* a = item->pAnnoHead->pNext; a; a = a->pNext) ++after;
    EXPECT_EQ(after, before - 1);
}

TEST_F(FinalViewDocEdit, DisplaySettingsTravelWithTheRecord)
{
    {
        CFinalViewDoc doc;
        ASSERT_EQ(Open(doc, m_path, m_xml), 0);
        doc.SetPageStyle(3);
        doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
        doc.SetFilter(35);
        doc.SetReferenceIntoXML(REFERENCE_FILTER, 0);
        doc.SetSenseMode(3);
        doc.SetReferenceIntoXML(REFERENCE_SENSE_MODE, 0);
        doc.SetSense(6, 20.0f, 0);
        doc.SetReferenceIntoXML(REFERENCE_SENSITIVITY, 0);
    }
    EXPECT_EQ(ReadXmlValue(m_xml, L"/Rawdata/Tavrion/Record/Extended_section/Acq_filter"), CString(L"35"));
    // Mode 3 takes the item's sensitivity, 10.0 for every item made.
    EXPECT_EQ(ReadXmlValue(m_xml, L"/Rawdata/Assist_info/Reference/Setting/Sensitivity"), CString(L"10.00"));

    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, m_path, m_xml), 0);
    doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(doc.GetPageStyle(), 3);
    EXPECT_EQ(doc.GetFilter(), 35);
    EXPECT_EQ(doc.GetSenseMode(), 3u);
    EXPECT_FLOAT_EQ(doc.GetCommonSense(0), 10.0f);

    // A manual change in mode 3 returns to mode 1 and records it at once.
    doc.SetSense(6, 20.0f, 1);
    EXPECT_EQ(doc.GetSenseMode(), 1u);
    EXPECT_EQ(ReadXmlValue(m_xml, L"/Rawdata/Assist_info/Reference/Setting/Sensitivity", L"mode"), CString(L"1"));
    EXPECT_FLOAT_EQ(doc.GetCommonSense(0), 20.0f);
    doc.SetSenseMode(2);
    EXPECT_EQ(doc.GetSenseMode(), 1u);

    // Setting 8 is not this document's: its own settings stay as they are.
    const wchar_t* pageStyle = L"/Rawdata/Assist_info/Reference/Setting/Page_style";
    doc.SetPageStyle(4);
    doc.SetReferenceIntoXML(REFERENCE_RHYTHM_1LEAD, 2);
    EXPECT_EQ(ReadXmlValue(m_xml, pageStyle), CString(L"3"));
    // The base's drawing settings reach the record through this document's item.
    doc.SetGridType(2);
    doc.SetReferenceIntoXML(REFERENCE_GRID_TYPE, 0);
    EXPECT_EQ(ReadXmlValue(m_xml, L"/Rawdata/Assist_info/Reference/Setting/Draw_setting/Grid_type"), CString(L"2"));
}

TEST_F(FinalViewDocEdit, StoredSettingsOutsideTheirSetsFallBack)
{
    const wchar_t* setting = L"/Rawdata/Assist_info/Reference/Setting/";
    WriteXmlValue(m_xml, (CString(setting) + L"Page_style").GetString(), L"5");
    WriteXmlValue(m_xml, (CString(setting) + L"Filter").GetString(), L"40");
    WriteXmlValue(m_xml, (CString(setting) + L"Sensitivity").GetString(), L"7.5");
    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, m_path, m_xml), 0);
    doc.SetPageStyle(2);
    doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(doc.GetPageStyle(), 1);
    EXPECT_EQ(doc.GetFilter(), 100);
    EXPECT_FLOAT_EQ(doc.GetCommonSense(0), 10.0f);
}

TEST_F(FinalViewDocEdit, DeviceFixedFilterIsNotWritten)
{
    MasterStepOptions options;
    options.filterFixed = true;
    std::string xml;
    const std::string path = Write(SynthRecord(options), &xml, "fixed");
    const CString stored = ReadXmlValue(xml, L"/Rawdata/Tavrion/Record/Extended_section/Acq_filter");
    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, path, xml), 0);
    doc.SetFilter(25);
    EXPECT_EQ(doc.GetFilter(), 25);
    EXPECT_EQ(ReadXmlValue(xml, L"/Rawdata/Tavrion/Record/Extended_section/Acq_filter"), stored);
    doc.SetFilter(0);
    EXPECT_EQ(doc.GetFilter(), 100);   // no override: the item's filter
}

TEST_F(FinalViewDocEdit, PickListChoiceAndBirthdayRoundTrip)
{
    const wchar_t* medication = L"/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']";
    const wchar_t* birthday = L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday";
    {
        CFinalViewDoc doc;
        ASSERT_EQ(Open(doc, m_path, m_xml), 0);
        _FINALDATAITEM* item = doc.GetCurrentDataItem();
        doc.SetCtrlContent(nullptr);
        doc.PushCtrlEdit(3601, CString(), 1);
        EXPECT_EQ(doc.IsInfoEditChange(item), 1);
        item->stInterpre.stBirthday.strMonth = L"13";
        EXPECT_EQ(doc.SaveDataToXML(0), 0);
    }
    EXPECT_EQ(ReadXmlValue(m_xml, medication, L"index"), CString(L"1"));
    EXPECT_TRUE(ReadXmlValue(m_xml, medication).IsEmpty());
    EXPECT_TRUE(ReadXmlValue(m_xml, birthday, L"year").IsEmpty());

    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, m_path, m_xml), 0);
    const _FINALDATAITEM* item = doc.GetCurrentDataItem();
    EXPECT_TRUE(item->stInterpre.strMedication1.IsEmpty());
    EXPECT_EQ(item->stInterpre.nMedication1Sel, 1);
    EXPECT_TRUE(item->stInterpre.stBirthday.strYear.IsEmpty());
    doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), L"硝酸薬");
    doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), L"Ca拮抗薬");
    doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), L"その他");
    doc.SetCtrlContent(nullptr);
    EXPECT_EQ(StoredText(doc, 3601), CString(L"Ca拮抗薬"));
    EXPECT_EQ(doc.IsInfoEditChange(doc.GetCurrentDataItem()), 0);   // a listed entry shown is no edit

    // An empty index chooses nothing: the empty text shows, not the first entry.
    WriteXmlValue(m_xml, medication, L"", L"index");
    CFinalViewDoc blank;
    ASSERT_EQ(Open(blank, m_path, m_xml), 0);
    EXPECT_EQ(blank.GetCurrentDataItem()->stInterpre.nMedication1Sel, -1);
    blank.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), L"硝酸薬");
    blank.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), L"その他");
    blank.SetCtrlContent(nullptr);
    EXPECT_TRUE(StoredText(blank, 3601).IsEmpty());
}
