// The rhythm record XML through the document: loading into the item, the
// form fields, edits saved back and read again from the file, and the
// display settings with their accepted values.
#include <gtest/gtest.h>

#include "core/ReferenceIds.h"
#include "tests/documents/CommentLineEndsCheck.h"
#include "tests/documents/RhythmViewDocTestSupport.h"

using namespace morvelance;
using namespace rhythmtest;
using testsupport::Wide;

namespace {

const CString kPatient = L"/Rawdata/Tavrion/Inspection/Patient_section";
const CString kComment = L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content";
const CString kCommentDate = L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date";
const CString kSetting = REFERENCE_SETTING_PATH;

RhythmRecordShape Shape(int leads, uint16_t code = 10)
{
    RhythmRecordShape shape;
    shape.leads = leads;
    shape.seconds = 4.0;
    shape.systemCode = code;
    return shape;
}

int AnnotationCount(const _RHYTHMDATAITEM* item)
{
    int count = 0;
    for (const _ANNOTATION_INFO* info = item->pAnnoHead; info; info = info->pNext) count += info->nPageStyle != -1;
    return count;
}

using RhythmXml = RhythmDocTest;

}  // namespace

TEST_F(RhythmXml, LoadsTheRecordXmlIntoTheItem)
{
    const RhythmFiles files = WriteRhythm(m_dir, "load", Shape(3));
    // Device comments end lines with a bare LF; a complete CR LF stays one.
    WriteXmlValue(files.xml, kComment, L"一行目\n二行目\r\n三行目");
    ASSERT_EQ(Open(files, 3), 0);
    const _RHYTHMDATAITEM* item = Item();
    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    EXPECT_EQ(info.strComment, L"一行目\r\n二行目\r\n三行目");
    EXPECT_EQ(AnnotationCount(item), 2);

    // Reading the file again into the same item repeats nothing.
    CRhythmViewDoc& doc = *m_doc;
    EXPECT_EQ(doc.GetDataInfoFromXMLFile(Item()), 0);
    EXPECT_EQ(AnnotationCount(Item()), 2);
    EXPECT_EQ(doc.GetDataInfoFromXMLFile(nullptr), 255);
}

TEST_F(RhythmXml, StatedLeadCountsNeverOutgrowTheCodes)
{
    const RhythmFiles files = WriteRhythm(m_dir, "count", Shape(3));
    WriteXmlValue(files.xml, L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Lead_count", L"40");
    WriteXmlValue(files.xml, L"/Rawdata/Tavrion/Wave/Wave_add_section/Lead_name/Lead_name_element[1]", L"7", L"flag");
    ASSERT_EQ(Open(files, 3), 0);
    EXPECT_EQ(Item()->stLeadName.nCount, LEAD_NAME_CODES);
    EXPECT_EQ(Item()->stLeadName.bChanged, 0);

    WriteXmlValue(files.xml, L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Lead_count", L"15");
    EXPECT_EQ(m_doc->GetDataInfoFromXMLFile(Item()), 0);
    EXPECT_EQ(Item()->stLeadName.nCount, 9);

    // A code of no rhythm family reads no wave section.
    Item()->uSystemCode = 0;
    Item()->stLeadName.nLeadCount = 0;
    EXPECT_EQ(m_doc->GetDataInfoFromXMLFile(Item()), 0);
    EXPECT_EQ(Item()->stLeadName.nCount, 0);
    for (int code : Item()->stLeadName.nCode) EXPECT_EQ(code, 0);
}

TEST_F(RhythmXml, EditsRoundTripThroughTheFile)
{
    const RhythmFiles files = WriteRhythm(m_dir, "trip", Shape(3, 246));
    ASSERT_EQ(Open(files, 3), 0);
    CRhythmViewDoc& doc = *m_doc;
    doc.SetCtrlContent(nullptr);
    EXPECT_EQ(doc.IsEidtChange(), 0);

    doc.PushCtrlEdit(3641, L"息切れ", -1);
    doc.PushCtrlEdit(4017, L"所見なし\r\n経過観察", -1);
    EXPECT_EQ(doc.IsEidtChange(), 1);
    EXPECT_EQ(doc.IsInformationChange(), 1);
    EXPECT_EQ(doc.IsCommentChange(), 1);
    EXPECT_EQ(doc.IsAdditionChange(), 0);
    const _INTERPRE_INFO_GENERAL before = Item()->stInterpre;
    const CString analysisDate = Item()->strAnalysisEditDate;
    EXPECT_EQ(doc.SaveDataToXML(0), 0);
    EXPECT_EQ(ReadXmlValue(files.xml, kPatient + L"/Symptom"), L"息切れ");

    CRhythmViewDoc reloaded;
    ASSERT_EQ(Open(reloaded, files, 3), 0);
    const _RHYTHMDATAITEM* item = reloaded.GetCurrentDataItem();
    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    EXPECT_EQ(info.strSympton, L"息切れ");
    EXPECT_EQ(info.strComment, L"所見なし\r\n経過観察");
    EXPECT_EQ(info.strMedication1, before.strMedication1);
    EXPECT_EQ(info.strDisease, before.strDisease);
    EXPECT_EQ(info.stBirthday.strYear, before.stBirthday.strYear);
    EXPECT_EQ(info.stBirthday.strDay, before.stBirthday.strDay);
    EXPECT_EQ(item->strAnalysisEditDate, analysisDate);
    EXPECT_EQ(item->stPatient.strReserved, Item()->stPatient.strReserved);
    EXPECT_EQ(item->strCommentDate, Item()->strCommentDate);
    reloaded.SetCtrlContent(nullptr);
    EXPECT_EQ(reloaded.IsEidtChange(), 0);

    EXPECT_EQ(doc.SaveDataToXML(5), 255);
    EXPECT_EQ(doc.SaveAnnotationToXML(0), 0);
    EXPECT_EQ(doc.SaveAnnotationToXML(1), 255);
    CRhythmViewDoc third;
    ASSERT_EQ(Open(third, files, 3), 0);
    EXPECT_EQ(AnnotationCount(third.GetCurrentDataItem()), 2);
}

TEST_F(RhythmXml, SavingWritesEmptyOrTypedElementsWhereValuesAreMissing)
{
    const RhythmFiles files = WriteRhythm(m_dir, "save", Shape(12, 218));
    {
        CECGXMLParser xml(Wide(files.xml), 0, CString());
        xml.RemoveNode(kPatient + L"/Age");
        xml.RemoveNode(kCommentDate);
        xml.SaveToXMLFile();
    }
    ASSERT_EQ(Open(files, 12), 0);
    CRhythmViewDoc& doc = *m_doc;
    doc.SetCtrlContent(nullptr);
    doc.PushCtrlEdit(3633, L"13", -1);
    Item()->stPatient.strConfirmDate.Empty();
    Item()->strCommentDate = L"2024/05/06 07:08:09";
    Item()->stLeadName.nCode[0] = 77;
    ASSERT_EQ(doc.SaveDataToXML(0), 0);

    EXPECT_EQ(ReadXmlValue(files.xml, kPatient + L"/Birthday/@year"), L"");
    EXPECT_EQ(ReadXmlValue(files.xml, kPatient + L"/Birthday/@month"), L"");
    EXPECT_EQ(ReadXmlValue(files.xml, kPatient + L"/Age", L"style"), L"Age");
    EXPECT_EQ(ReadXmlValue(files.xml, L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date", L"year"),
              L"");
    EXPECT_EQ(ReadXmlValue(files.xml, kCommentDate, L"style"), L"Date");
    EXPECT_EQ(ReadXmlValue(files.xml, L"/Rawdata/Tavrion/Wave/Rhythm_ex_section/Wave_info/Wave_data[@number='1']/Lead_code"),
              L"77");

    CRhythmViewDoc reloaded;
    ASSERT_EQ(Open(reloaded, files, 12), 0);
    EXPECT_EQ(reloaded.GetCurrentDataItem()->strCommentDate, L"2024/05/06 07:08:09");
    EXPECT_EQ(reloaded.GetCurrentDataItem()->stInterpre.stBirthday.strMonth, L"");
}

TEST_F(RhythmXml, AnalysisDateFallsBackToTheAnalysisSection)
{
    RecordXmlOptions options;
    options.badDate = BadDate::Month13;
    const RhythmFiles files = WriteRhythm(m_dir, "bad", Shape(1), nullptr, options);
    ASSERT_EQ(Open(files, 1), 0);
    const CString date = Item()->strAnalysisEditDate;
    ASSERT_EQ(date.GetLength(), 19);
    EXPECT_NE(date.Mid(5, 2), L"13");
    // Dates that do not exist are kept as read where no check applies.
    EXPECT_EQ(Item()->strCommentDate.Mid(5, 2), L"13");
}

TEST_F(RhythmXml, SettingsOutsideTheirValuesOpenAsDefaults)
{
    const RhythmFiles one = WriteRhythm(m_dir, "one", Shape(1));
    WriteXmlValue(one.xml, kSetting + L"/Page_style", L"24");
    WriteXmlValue(one.xml, kSetting + L"/Speed", L"8.3");
    WriteXmlValue(one.xml, kSetting + L"/Filter", L"50");
    WriteXmlValue(one.xml, kSetting + L"/Sensitivity/Else", L"0");
    WriteXmlValue(one.xml, kSetting + L"/Sensitivity/Rhythm", L"-5");
    WriteXmlValue(one.xml, kSetting + L"/Sensitivity", L"4", L"mode");
    ASSERT_EQ(Open(one, 1), 0);
    CRhythmViewDoc& doc = *m_doc;
    doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(doc.GetPageStyle(), 20);
    EXPECT_FLOAT_EQ(doc.GetSpeed(), 8.333333f);
    EXPECT_EQ(doc.GetRhythmFilter(), 100);
    EXPECT_EQ(doc.GetSense(6, 0), 10.0f);
    EXPECT_EQ(doc.GetSense(9, 0), 10.0f);
    EXPECT_EQ(doc.GetSenseMode(), 1u);

    const RhythmFiles three = WriteRhythm(m_dir, "three", Shape(3));
    WriteXmlValue(three.xml, kSetting + L"/Page_style", L"24");
    WriteXmlValue(three.xml, kSetting + L"/Speed", L"12.5");
    WriteXmlValue(three.xml, kSetting + L"/Filter", L"0");
    WriteXmlValue(three.xml, kSetting + L"/Rhythm_1lead", L"2");
    WriteXmlValue(three.xml, kSetting + L"/Sensitivity/Else", L"20");
    CRhythmViewDoc second;
    ASSERT_EQ(Open(second, three, 3), 0);
    second.UpDateReferenceInfo(CString());
    EXPECT_EQ(second.GetPageStyle(), 24);
    EXPECT_EQ(second.GetSpeed(), 25.0f);
    EXPECT_EQ(second.GetRhythmFilter(), 0);
    EXPECT_EQ(second.GetFilter(), 100);   // the record's own
    EXPECT_EQ(second.GetRhythm1LeadID(), 2);
    EXPECT_EQ(second.GetSense(6, 0), 20.0f);

    const RhythmFiles fifteen = WriteRhythm(m_dir, "fifteen", Shape(15));
    WriteXmlValue(fifteen.xml, kSetting + L"/Rhythm_1lead", L"14");
    CRhythmViewDoc third;
    ASSERT_EQ(Open(third, fifteen, 15), 0);
    third.UpDateReferenceInfo(CString());
    EXPECT_EQ(third.GetRhythm1LeadID(), 14);
    WriteXmlValue(fifteen.xml, kSetting + L"/Rhythm_1lead", L"15");
    third.UpDateReferenceInfo(CString());
    EXPECT_EQ(third.GetRhythm1LeadID(), 0);
}

TEST_F(RhythmXml, SettingsWrittenAreReadBack)
{
    const RhythmFiles files = WriteRhythm(m_dir, "set", Shape(12));
    ASSERT_EQ(Open(files, 12), 0);
    CRhythmViewDoc& doc = *m_doc;
    doc.UpDateReferenceInfo(CString());
    doc.SetPageStyle(26);
    doc.SetSpeed(50.0f);
    doc.SetFilter(35);
    doc.SetSenseMode(5);
    doc.SetSense(0, 2.5f, 0);
    doc.SetSense(2, 40.0f, 0);
    doc.SetRhythm1LeadID(7);
    doc.SetRhythmWaveStyle(7);
    for (int id : {7, 8, 9, 10, 15, 14}) doc.SetReferenceIntoXML(id, 0);
    for (int arg : {0, 2, 3}) doc.SetReferenceIntoXML(REFERENCE_SENSITIVITY, arg);
    EXPECT_FALSE(ReadXmlValue(files.xml, kSetting + L"/Lead_selection/Lead_9ch").IsEmpty());

    // Numbers the rhythm document does not own leave the file untouched.
    const std::string saved = testsupport::ReadFileBytes(files.xml);
    doc.SetReferenceIntoXML(REFERENCE_SERIAL_OVERLAP, 0);
    doc.SetReferenceIntoXML(REFERENCE_CHEST_HALF, 0);
    doc.SetReferenceIntoXML(30, 0);
    EXPECT_EQ(testsupport::ReadFileBytes(files.xml), saved);

    CRhythmViewDoc reloaded;
    ASSERT_EQ(Open(reloaded, files, 12), 0);
    reloaded.UpDateReferenceInfo(CString());
    EXPECT_EQ(reloaded.GetPageStyle(), 26);
    EXPECT_EQ(reloaded.GetSpeed(), 50.0f);
    EXPECT_EQ(reloaded.GetRhythmFilter(), 35);
    EXPECT_EQ(reloaded.GetSenseMode(), 5u);
    EXPECT_EQ(reloaded.GetSense(0, 0), 2.5f);
    EXPECT_EQ(reloaded.GetSense(9, 0), 40.0f);
    EXPECT_EQ(reloaded.GetRhythm1LeadID(), 7);
}

TEST_F(RhythmXml, FormFieldsFollowConfirmationListsAndCaptions)
{
    const RhythmFiles files = WriteRhythm(m_dir, "form", Shape(1));
    ASSERT_EQ(Open(files, 1), 0);
    CRhythmViewDoc& doc = *m_doc;
    // The last entry of a pick list is the free-text one and is never taken by index.
    doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), L"降圧剤A");
    doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), L"その他");
    Item()->stInterpre.strMedication1.Empty();
    Item()->stInterpre.nMedication1Sel = 0;
    Item()->stInterpre.strMedication2 = L"自由記載";
    Item()->stInterpre.nMedication2Sel = 1;
    doc.SetCtrlContent(nullptr);
    EXPECT_EQ(StoredText(doc, 3637), L"降圧剤A");
    EXPECT_EQ(StoredText(doc, 3639), L"自由記載");
    EXPECT_EQ(doc.IsEidtChange(), 0);
    Item()->stInterpre.nMedication1Sel = 1;
    EXPECT_EQ(doc.IsInfoEditChange(Item()), 1);
    EXPECT_EQ(doc.IsInfoEditChange(nullptr), 0);

    // Editing the comment alone marks the comment only.
    doc.SetCtrlContent(nullptr);
    doc.PushCtrlEdit(4017, L"新しい所見", -1);
    EXPECT_EQ(doc.IsEidtChange(), 1);
    EXPECT_EQ(doc.IsInformationChange(), 0);
    EXPECT_EQ(doc.IsAdditionChange(), 0);
    EXPECT_EQ(doc.IsCommentChange(), 1);
}

TEST_F(RhythmXml, ARecordXmlThatCannotBeReadIsNotSaved)
{
    const RhythmFiles files = WriteRhythm(m_dir, "refuse", Shape(1));
    ASSERT_EQ(Open(files, 1), 0);
    EXPECT_EQ(m_doc->SaveDataToXML(5), 255);

    // A record XML that does not parse stays as it is, and the save says so.
    const std::string broken = "<Rawdata><Tavrion>";
    m_dir.Write("refuse.xml", broken);
    EXPECT_EQ(m_doc->SaveDataToXML(0), 255);
    EXPECT_EQ(testsupport::ReadFileBytes(files.xml), broken);
}

TEST_F(RhythmXml, TheCommentIsWrittenWithCrLfAndReadsBackWhole)
{
    const RhythmFiles files = WriteRhythm(m_dir, "crlf", Shape(3));
    commenttest::ExpectCommentsKeepTheirLineEnds(files.xml, [&]() -> std::unique_ptr<CTavrionDoc> {
        auto doc = std::make_unique<CRhythmViewDoc>();
        if (Open(*doc, files, 3) != 0) return nullptr;
        return doc;
    });
}
