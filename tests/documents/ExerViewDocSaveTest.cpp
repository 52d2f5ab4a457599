// The exercise document's edits saved to the record XML and read back from
// the file, its display settings, and records and XML files it must survive.
#include <filesystem>
#include <fstream>

#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "tests/documents/ExerViewDocFixture.h"

using namespace exertest;

namespace {

CString GetXml(const std::string& file, const CString& path, const CString& attrib = CString())
{
    return testsupport::ReadXmlValue(file, path, attrib, L"(missing)");
}

const wchar_t kSetting[] = L"/Rawdata/Assist_info/Reference/Setting/";

CString SettingPath(const wchar_t* element)
{
    return CString(kSetting) + element;
}

}  // namespace

TEST_F(ExerDocument, EditsSurviveSaveAndReload)
{
    const ExerFiles files = Write(DefaultOptions());
    std::string judgement;
    {
        CExerViewDoc doc;
        ASSERT_EQ(Open(doc, files), 0);
        doc.SetCtrlContent(nullptr);
        EXPECT_EQ(doc.IsEidtChange(), 0);
        judgement = Utf8(doc.GetCurrentDataItem()->stInterpre.strIvrelText);
        ASSERT_FALSE(judgement.empty());

        doc.PushCtrlEdit(4023, L"胸痛", -1);
        doc.PushCtrlEdit(4038, L"Bruce変法", -1);
        doc.PushCtrlEdit(4044, L"155", -1);
        doc.PushCtrlEdit(4017, Wide(std::string(70, 'x') + "\r\n二行目"), -1);
        doc.PushCtrlEdit(4035, Wide(judgement == "異常" ? "正常" : "異常"), -1);
        EXPECT_EQ(doc.IsEidtChange(), 1);
        EXPECT_EQ(doc.IsInformationChange(), 1);
        EXPECT_EQ(doc.IsCommentChange(), 1);
        EXPECT_EQ(doc.IsAnalysisChange(), 1);

        EXPECT_EQ(doc.SaveDataToXML(0), 0);
        EXPECT_EQ(doc.SaveDataToXML(5), 255);
    }
    // The judgement keeps its code in the file.
    EXPECT_EQ(Utf8(GetXml(files.xml, L"/Rawdata/Tavrion/Analysis/Analysis_section/Judgement", L"value")),
              judgement == "異常" ? "J1" : "J4");

    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    const _EXERDATAITEM* item = doc.GetCurrentDataItem();
    const _INTERPRE_INFO_EXER& info = item->stInterpre;
    EXPECT_EQ(Utf8(info.strSympton), "胸痛");
    EXPECT_EQ(Utf8(info.strLoad), "Bruce変法");
    EXPECT_EQ(Utf8(info.strMaxHr), "155");
    EXPECT_EQ(Utf8(info.strComment), std::string(60, 'x') + "\r\n" + std::string(10, 'x') + "\r\n二行目");
    EXPECT_EQ(Utf8(info.strIvrelText), judgement == "異常" ? "正常" : "異常");
    // What the form did not touch reads back as it was.
    EXPECT_EQ(Utf8(info.strMedication1), "降圧剤");
    EXPECT_EQ(info.nStopCondition, 2);
    EXPECT_EQ(Utf8(item->stPatient.strPatientID), "EX-0047");
    doc.SetCtrlContent(nullptr);
    EXPECT_EQ(doc.IsEidtChange(), 0);
}

TEST_F(ExerDocument, SaveNeedsAnItemWithRecordXml)
{
    const ExerFiles files = Write(DefaultOptions());
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    EXPECT_EQ(doc.SaveDataToXML(1), 255);
    EXPECT_EQ(doc.SaveAnnotationToXML(1), 255);
    // The record's two annotations are written back as they were read.
    EXPECT_EQ(doc.SaveAnnotationToXML(0), 0);
    EXPECT_EQ(testsupport::XmlCount(files.xml, L"/Rawdata/Annotation/Anno"), 2);
    doc.GetCurrentDataItem()->strXMLPath.Empty();
    const std::string before = testsupport::ReadFileBytes(files.xml);
    EXPECT_EQ(doc.SaveDataToXML(0), 255);
    EXPECT_EQ(testsupport::ReadFileBytes(files.xml), before);
}

TEST_F(ExerDocument, DisplaySettingsRoundTrip)
{
    const ExerFiles files = Write(DefaultOptions());
    {
        CExerViewDoc doc;
        ASSERT_EQ(Open(doc, files), 0);
        doc.UpDateReferenceInfo(CString());

        doc.SetPageStyle(4);
        doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
        doc.SetSense(6, 20.0f, 1);
        doc.SetReferenceIntoXML(REFERENCE_SENSITIVITY, 0);
        doc.SetMeasurePoint(0);
        doc.SetReferenceIntoXML(REFERENCE_MEASURE_POINT, 0);
        // Six entries hold the six-lead selection: bits past the sixth are not taken.
        doc.SetExerLeadSelection(0xFFF, 2);
        EXPECT_EQ(doc.GetExerLeadSelection(2), 0x3F);
        doc.SetExerLeadSelection(0x30, 3);
        EXPECT_EQ(doc.GetExerLeadSelection(3), 0x10);
        doc.SetExerLeadSelection(0, 3);   // nothing set: the lead stays
        EXPECT_EQ(doc.GetExerLeadSelection(3), 0x10);
        EXPECT_EQ(doc.GetExerLeadSelection(1), -1);
        doc.SetGridType(1);
        doc.SetReferenceIntoXML(REFERENCE_GRID_TYPE, 0);   // the base's own setting, on this document's item
    }
    EXPECT_EQ(Utf8(GetXml(files.xml, SettingPath(L"Sensitivity"))), "20.00");
    EXPECT_EQ(Utf8(GetXml(files.xml, SettingPath(L"Draw_setting/Grid_type"))), "1");

    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(doc.GetPageStyle(), 4);
    EXPECT_EQ(doc.GetCommonSense(0), 20.0f);
    EXPECT_EQ(doc.GetSenseMode(), 1u);
    EXPECT_EQ(doc.GetMeasurePoint(), 0);
    EXPECT_EQ(doc.GetExerLeadSelection(2), 0x3F);
    EXPECT_EQ(doc.GetExerLeadSelection(3), 0x10);
    EXPECT_EQ(doc.GetGridType(), 1);

    // Setting 14 of a mode without a selection saves the file unchanged.
    doc.SetReferenceIntoXML(REFERENCE_LEAD_SELECTION, 1);
    EXPECT_EQ(Utf8(GetXml(files.xml, SettingPath(L"Lead_selection/Lead_6ch"))), "63");
}

TEST_F(ExerDocument, SettingsOutsideTheirRangeFallBack)
{
    const ExerFiles files = Write(DefaultOptions());
    WriteXmlValue(files.xml, L"/Rawdata/Assist_info/Reference/Setting/Page_style", L"9");
    WriteXmlValue(files.xml, L"/Rawdata/Assist_info/Reference/Setting/Sensitivity", L"7.5");
    WriteXmlValue(files.xml, L"/Rawdata/Assist_info/Reference/Setting/Lead_selection/Lead_6ch", L"-1");
    WriteXmlValue(files.xml, L"/Rawdata/Assist_info/Reference/Setting/Lead_selection/Lead_1ch", L"99999");
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(doc.GetPageStyle(), 1);
    EXPECT_EQ(doc.GetCommonSense(0), 10.0f);
    EXPECT_EQ(doc.GetExerLeadSelection(2), 0x3F);
    const short one = doc.GetExerLeadSelection(3);
    EXPECT_GT(one, 0);
    EXPECT_LT(one, 1 << 12);

    // Sense modes 3 and 4 show the record's own sensitivity.
    doc.SetSenseMode(3);
    EXPECT_EQ(doc.GetCommonSense(0), doc.GetCurrentDataItem()->fAcqSense);
    doc.SetSenseMode(2);   // not a mode of these screens
    EXPECT_EQ(doc.GetSenseMode(), 3u);
}

TEST_F(ExerDocument, MissingAndOversizedBlocksReadWithinBounds)
{
    const ExerFiles files = Write(DefaultOptions(), [](RecordBuilder& items) {
        items.SetInt16(3282, 0, 30000);   // far more blocks and strips than stored
        items.SetInt16(3283, 0, 400);
        items.SetInt16(3292, 0, 400);
        items.SetRaw(3284, 0, {0x7F});    // a rate cut to one byte
        items.SetRaw(3475, 0, {1, 2, 3, 4});   // a beat record without its reference position
        items.SetRaw(3290, 3, {});
        items.Remove(3299, 0);
        items.Remove(3304, 0);
    });
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    EXPECT_EQ(item->nSampleRate, 500);
    EXPECT_EQ(item->nRefPos[1], 0);
    EXPECT_EQ(item->arrMemTime.GetSize(), 402);
    EXPECT_EQ(Utf8(item->stInterpre.strVo2Max), "*.*  ml/kg/min (*.* METS * bpm)");

    doc.SetCurAveBlockNo(3);   // its time is empty: the clock starts over
    EXPECT_EQ(item->nCurTime, 0);
    item->nCurTime = 1500;   // a recovery block the record does not hold
    EXPECT_EQ(doc.GetAverageWave(0, nullptr, 0), 0);
    // The first strip without a time ends the search.
    item->nCurTime = 100000;
    EXPECT_EQ(doc.GetCurMemBlockNo(), 3);
    EXPECT_EQ(doc.GetRhythmWave(0, nullptr), 0);
    EXPECT_EQ(doc.GetCurrentAveWave(9, nullptr, 0), 0);
}

TEST_F(ExerDocument, RecordWithoutExerciseItemsOpensWithoutBlocks)
{
    const ExerFiles files = Write(DefaultOptions(), [](RecordBuilder& items) {
        for (uint32_t tag : {3282u, 3283u, 3284u, 3285u, 3292u, 3293u, 3475u, 3478u, 3479u}) items.Remove(tag, 0);
    });
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    EXPECT_EQ(item->nBlockInterval, 15);
    EXPECT_EQ(item->nExerAveCount + item->nPostAveCount, 0);
    EXPECT_EQ(item->arrMemTime.GetSize(), 0);
    EXPECT_EQ(item->nEndTime, 0);
    EXPECT_EQ(doc.GetCurMemBlockNo(), 0);
    EXPECT_EQ(doc.GetNearestMemTime(30), 0);
    EXPECT_EQ(doc.IsPostMemBlock(), 0);
    EXPECT_EQ(doc.GetRestWave(0, nullptr, 0), 1200);
}

TEST_F(ExerDocument, TrendSizesAndHeartRatesOutsideTheirRangeGiveNoSlope)
{
    const ExerFiles files = Write(DefaultOptions());
    const wchar_t* trend = L"/Rawdata/Tavrion/Report/Exercise_section/Trend/";
    WriteXmlValue(files.xml, (CString(trend) + L"Mets/Size").GetString(), L"5000");
    WriteXmlValue(files.xml, (CString(trend) + L"Rest_hr/Size").GetString(), L"-7");
    WriteXmlValue(files.xml, (CString(trend) + L"Stage_info/Size").GetString(), L"100000");
    WriteXmlValue(files.xml, L"/Rawdata/Tavrion/Report/Exercise_section/Hr/Hr_100percent", L"0");
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    const _EXERDATAITEM* item = doc.GetCurrentDataItem();
    // No heart rates: the line has no slope.
    EXPECT_EQ(item->stResult.dSlope, 0.0);
    EXPECT_EQ(Utf8(item->stInterpre.strMaxPercent), "  0 % of MHR (  0 bpm)");

    // With the heart rates back but no stage lengths, no point is taken either.
    const ExerFiles second = Write(DefaultOptions(), nullptr, RecordXmlOptions(), "second");
    for (int n = 1; n <= 6; ++n) {
        CString path;
        path.Format(L"%sStage_info/Stage_info_element[@number='%d']", trend, n);
        WriteXmlValue(second.xml, path.GetString(), L"0");
    }
    CExerViewDoc other;
    ASSERT_EQ(Open(other, second), 0);
    EXPECT_EQ(other.GetCurrentDataItem()->stResult.dSlope, 0.0);
    EXPECT_TRUE(other.GetCurrentDataItem()->stResult.strValue[1][9].IsEmpty());
}

TEST_F(ExerDocument, FormShowsTheLoadTimeAndTheStopCondition)
{
    const ExerFiles files = Write(DefaultOptions());
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    doc.SetCtrlContent(nullptr);
    EXPECT_EQ(Utf8(StoredText(doc, 4040)), "09'00''(10.1 METs)");
    int selection = -2;
    doc.GetCtrlData(4021, selection);
    EXPECT_EQ(selection, 2);
}

// The store holds the shown record: a patient record handed in by a caller
// does not replace the record's own in the patient strip.
TEST_F(ExerDocument, FormLoadsTheRecordsOwnPatientWhateverIsPassed)
{
    const ExerFiles files = Write(DefaultOptions());
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    _PATIENT_INFO other;
    other.strPatientID = L"OTHER-1";
    other.strName = L"別の 患者";
    doc.SetCtrlContent(&other);
    EXPECT_EQ(Utf8(StoredText(doc, 3001)), "EX-0047");
    EXPECT_EQ(Utf8(StoredText(doc, 3003)), "山田 太郎");
    EXPECT_EQ(doc.IsInfoEditChange(doc.GetCurrentDataItem()), 0);
}

// The stop condition is kept as its list position alone: every position in
// the list shows its entry, the last one too, and reads as unedited.
TEST_F(ExerDocument, EveryStopConditionInTheListShowsItsEntry)
{
    const ExerFiles files = Write(DefaultOptions());
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    const auto stopList = static_cast<_EDITABLE_PARAM_INDEX>(11);
    doc.ClearEditableParam(stopList);
    for (const wchar_t* entry : {L"目標心拍数到達", L"疲労", L"胸痛"}) doc.InsertEditableParam(stopList, entry);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    for (int position = 0; position < 3; ++position) {
        item->stInterpre.nStopCondition = position;
        doc.SetCtrlContent(nullptr);
        EXPECT_EQ(StoredText(doc, 4042), doc.GetEditableParam(stopList)->GetAt(position));
        EXPECT_EQ(doc.IsInfoEditChange(item), 0);
    }
    item->stInterpre.nStopCondition = 3;
    doc.SetCtrlContent(nullptr);
    EXPECT_TRUE(StoredText(doc, 4042).IsEmpty());
}

// The exercise patient page stores the room number and the request section in
// the item; a save must carry them to the file, or the user's edit is lost.
TEST_F(ExerDocument, RoomNumberAndRequestSectionTypedOnThePageSurviveSaveAndReload)
{
    const ExerFiles files = Write(DefaultOptions());
    {
        CExerViewDoc doc;
        ASSERT_EQ(Open(doc, files), 0);
        doc.SetCtrlContent(nullptr);
        _INTERPRE_INFO_EXER& info = doc.GetCurrentDataItem()->stInterpre;
        info.strRoomNumber = L"第3検査室";
        info.strReqSection = L"循環器内科";
        info.bCopied = 1;   // as the page leaves the item after writing into it
        ASSERT_EQ(doc.SaveDataToXML(0), 0);
    }
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    const _INTERPRE_INFO_EXER& info = doc.GetCurrentDataItem()->stInterpre;
    EXPECT_EQ(Utf8(info.strRoomNumber), "第3検査室");
    EXPECT_EQ(Utf8(info.strReqSection), "循環器内科");
    EXPECT_EQ(info.bReqSection, 1);
}
