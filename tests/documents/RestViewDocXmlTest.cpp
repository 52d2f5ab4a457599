// The resting document and its record XML: loading the form's fields and
// code rows, editing them through the control-data store, saving and reading
// the file back; the display settings; values the readers must not trust.
#include <cstdio>
#include <fstream>

#include "core/MemoryHelpers.h"
#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/documents/RestViewDocTestSupport.h"

using namespace resttest;
using morvelance::rec::RecordKind;

namespace {

const CString kAnalysis = L"/Rawdata/Tavrion/Analysis/Analysis_section";
const CString kPatient = L"/Rawdata/Tavrion/Inspection/Patient_section";
const CString kSetting = REFERENCE_SETTING_PATH;

CString Row(const CString& base, LPCWSTR element, int n)
{
    CString path;
    path.Format(L"%s/%s[@number='%d']", base.GetString(), element, n);
    return path;
}

bool Shown(CRestViewDoc& doc, UINT id)
{
    return (doc.CheckCtrlStatus(id, 0) & 1) != 0;
}

}  // namespace

class RestXmlFixture : public RestDocFixture {
protected:
    _RESTDATAITEM* OpenRest(RecordKind kind = RecordKind::Rest12, bool b8000 = false, int code = -1)
    {
        _RESTDATAITEM* item = AddRecord("rest.ecg", Shape(kind, b8000, code));
        EXPECT_EQ(Open(item), 0);
        return item;
    }
};

TEST_F(RestXmlFixture, LoadReadsTheFormFieldsCodeRowsAndMeasurements)
{
    _RESTDATAITEM* item = OpenRest();
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    EXPECT_FALSE(info.strAnaEditDate.IsEmpty());

    ASSERT_EQ(info.nMinneCount, 8);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(info.strMinneCode[n - 1], XmlText(Row(kAnalysis + L"/Minnesotas", L"Minnesota", n), L"title"));
        EXPECT_EQ(info.strMinneContent[n - 1], XmlText(Row(kAnalysis + L"/Minnesotas", L"Minnesota", n)));
    }
    ASSERT_EQ(info.nIvrelCount, 11);
    EXPECT_TRUE(info.strIvrelCode[0].IsEmpty());
    for (int n = 1; n <= 11; ++n)
        EXPECT_EQ(info.strIvrelCode[n], XmlText(Row(kAnalysis + L"/Ivreles", L"Ivrel", n), L"title"));
    EXPECT_EQ(info.strIvrelJudgeCode, CString(L"J3"));
    EXPECT_EQ(info.strIvrelJudge, XmlText(kAnalysis + L"/Judgement"));

    // Stored with bare line feeds, held with CR LF.
    EXPECT_FALSE(info.strComment.IsEmpty());
    for (int i = 0; i < info.strComment.GetLength(); ++i) {
        if (info.strComment[i] == L'\n') {
            EXPECT_TRUE(i > 0 && info.strComment[i - 1] == L'\r') << i;
        }
    }
    EXPECT_LT(info.strComment.Find(L"\r\r"), 0);

    EXPECT_EQ(item->stMeasure.At(0, 0), XmlText(L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/Pa/Pa_element[1]", L"data"));
    EXPECT_EQ(item->stMeasure.At(22, 11),
              XmlText(L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/Delta_wave/Delta_wave_element[12]", L"data"));
    EXPECT_EQ(item->stMeasure.strGlobal[0], XmlText(L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate"));
    EXPECT_EQ(m_doc.GetDataInfoFromXMLFile(nullptr), 255);
}

TEST_F(RestXmlFixture, RowsThatFailTheirChecksAreDroppedAndAnUnknownIvrelCodeEndsTheRows)
{
    AddRecord("rest.ecg", Shape(RecordKind::Rest12));
    const CString minnesotas = kAnalysis + L"/Minnesotas";
    const CString ivreles = kAnalysis + L"/Ivreles";
    const CString third = XmlText(Row(minnesotas, L"Minnesota", 3), L"title");
    SetXmlText(Row(minnesotas, L"Minnesota", 2), L"X-Y", L"title");   // not a Minnesota code
    SetXmlText(Row(ivreles, L"Ivrel", 2), L"他の文");         // text is not the master's
    SetXmlText(Row(ivreles, L"Ivrel", 5), L"ZZ9", L"title");              // in neither master list
    const CString ivrel3 = XmlText(Row(ivreles, L"Ivrel", 3), L"title");
    const CString ivrel4 = XmlText(Row(ivreles, L"Ivrel", 4), L"title");
    SetXmlText(kAnalysis + L"/Judgement", L"正常");                       // not the text of J3
    SetXmlText(L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content", L"a\nb\r\nc");
    SetXmlText(L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date", L"30", L"day");
    SetXmlText(L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date", L"02", L"month");
    ASSERT_EQ(Open(m_doc.GetRestListHeader()), 0);

    const _INTERPRE_INFO_REST& info = m_doc.GetCurrentDataItem()->stInterpre;
    EXPECT_EQ(info.nMinneCount, 7);
    EXPECT_EQ(info.strMinneCode[1], third);   // the later rows moved up
    EXPECT_TRUE(info.strMinneCode[7].IsEmpty());
    EXPECT_EQ(info.nIvrelCount, 3);           // row 2 dropped, row 5 ended the rows
    EXPECT_EQ(info.strIvrelCode[2], ivrel3);
    EXPECT_EQ(info.strIvrelCode[3], ivrel4);
    EXPECT_TRUE(info.strIvrelCode[4].IsEmpty());
    EXPECT_TRUE(info.strIvrelJudgeCode.IsEmpty());
    EXPECT_TRUE(info.strIvrelJudge.IsEmpty());
    EXPECT_EQ(info.strComment, CString(L"a\r\nb\r\nc"));   // an existing CR LF stays single
    EXPECT_TRUE(info.strAnaEditDate.IsEmpty());             // 30 February
}

TEST_F(RestXmlFixture, EditsSaveWithoutEmptyRowsAndReloadThroughTheFile)
{
    _RESTDATAITEM* item = OpenRest();
    const _INTERPRE_INFO_REST before = item->stInterpre;
    m_doc.SetCtrlContent(&item->stPatient);
    EXPECT_EQ(m_doc.IsEidtChange(), 0);

    m_doc.PushCtrlEdit(3035, L"胸痛", -1);
    m_doc.PushCtrlEdit(4017, L"一行目\r\n二行目", -1);
    m_doc.PushCtrlEdit(3063, CString(), -1);   // Minnesota row 2 emptied
    m_doc.PushCtrlEdit(3097, CString(), -1);   // IVREL row 1 emptied
    m_doc.PushCtrlEdit(3003, L"鈴木 一郎", -1);
    EXPECT_EQ(m_doc.IsEidtChange(), 1);
    EXPECT_EQ(m_doc.IsInformationChange(), 1);
    EXPECT_EQ(m_doc.IsAnalysisChange(), 1);
    EXPECT_EQ(m_doc.IsCommentChange(), 1);
    EXPECT_EQ(m_doc.IsAdditionChange(), 0);
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);

    // No empty row element is written; the codes stay codes.
    EXPECT_EQ(XmlCount(kAnalysis + L"/Minnesotas/Minnesota"), 7);
    EXPECT_EQ(XmlCount(kAnalysis + L"/Ivreles/Ivrel"), 10);
    EXPECT_EQ(XmlText(Row(kAnalysis + L"/Ivreles", L"Ivrel", 1), L"title"), before.strIvrelCode[2]);
    EXPECT_EQ(XmlText(Row(kAnalysis + L"/Minnesotas", L"Minnesota", 7), L"title"), before.strMinneCode[7]);

    CRestViewDoc reloaded;
    _RESTDATAITEM* again = Reopen(reloaded);
    ASSERT_NE(again, nullptr);
    const _INTERPRE_INFO_REST& after = again->stInterpre;
    EXPECT_EQ(after.strSympton, CString(L"胸痛"));
    EXPECT_EQ(after.strComment, CString(L"一行目\r\n二行目"));
    EXPECT_EQ(again->stPatient.strName, CString(L"鈴木 一郎"));
    ASSERT_EQ(after.nMinneCount, 7);
    EXPECT_EQ(after.strMinneCode[0], before.strMinneCode[0]);
    for (int k = 1; k < 7; ++k) EXPECT_EQ(after.strMinneCode[k], before.strMinneCode[k + 1]) << k;
    ASSERT_EQ(after.nIvrelCount, 10);
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(after.strIvrelCode[n], before.strIvrelCode[n + 1]) << n;
        EXPECT_EQ(after.strIvrelContent[n], before.strIvrelContent[n + 1]) << n;
    }
    EXPECT_EQ(after.strIvrelJudgeCode, before.strIvrelJudgeCode);
    EXPECT_EQ(after.stBirthday.strDay, before.stBirthday.strDay);
    EXPECT_EQ(after.strMedication2, before.strMedication2);
    EXPECT_EQ(after.nMedication2Sel, before.nMedication2Sel);

    reloaded.SetCtrlContent(&again->stPatient);
    EXPECT_EQ(reloaded.IsEidtChange(), 0);

    EXPECT_EQ(m_doc.SaveDataToXML(99), 255);
    EXPECT_EQ(m_doc.SaveInfoToXML(99), 255);
    EXPECT_EQ(m_doc.SaveMsuDataToXML(nullptr, -1, 1), 255);
}

TEST_F(RestXmlFixture, SavingMakesAnAgeAndDatesTheReadersAcceptAgain)
{
    AddRecord("rest.ecg", Shape(RecordKind::Rest12));
    RemoveXmlNode(kPatient + L"/Age");
    RemoveXmlNode(L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date");
    _RESTDATAITEM* item = m_doc.GetRestListHeader();
    ASSERT_EQ(Open(item), 0);
    const CString editTime = item->stPatient.strReserved;   // a date element in the record
    EXPECT_FALSE(editTime.IsEmpty());
    m_doc.SetCtrlContent(&item->stPatient);
    m_doc.PushCtrlEdit(3011, L"45", -1);
    m_doc.PushCtrlEdit(3012, L"歳", -1);
    item->stInterpre.strCommentEditDate = L"2024/05/06 07:08:09";
    item->stInterpre.stBirthday.strDay = L"31";   // 1958/06/31: no such day
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);

    EXPECT_EQ(XmlText(kPatient + L"/Age", L"style"), CString(L"Age"));
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date", L"style"), CString(L"Date"));
    EXPECT_EQ(XmlText(kPatient + L"/Birthday", L"year"), CString());
    ASSERT_EQ(Open(item), 0);
    EXPECT_EQ(item->stPatient.strAge, CString(L"45"));
    EXPECT_EQ(item->stInterpre.strCommentEditDate, CString(L"2024/05/06 07:08:09"));
    EXPECT_EQ(item->stPatient.strReserved, editTime);
}

// A model-8000 record gets no date at the first analysis-date binding for an
// analysis saved anew. The form reads the date from there, so one the record
// XML holds and the save did not change stays: emptied by every save, it was
// gone from the form after a save of any other field.
TEST_F(RestXmlFixture, Model8000RecordsDropTheBirthdayAndTheFirstDateOfAChangedAnalysis)
{
    _RESTDATAITEM* item = OpenRest(RecordKind::Rest12, true, 254);
    EXPECT_TRUE(item->stInterpre.stBirthday.strYear.IsEmpty());
    const CString first = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date";
    const CString stored = XmlText(first, L"year");
    ASSERT_FALSE(stored.IsEmpty());
    ASSERT_FALSE(item->stInterpre.strAnaEditDate.IsEmpty());
    item->bSkipRefresh = 1;
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);
    EXPECT_EQ(XmlText(first, L"year"), stored);
    item->bSkipRefresh = 1;
    item->stInterpre.strAnaEditDate = L"2025/05/02 10:00:00";
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);
    EXPECT_EQ(item->bSkipRefresh, 0);
    EXPECT_EQ(XmlText(first, L"year"), CString());
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date", L"year"), CString(L"2025"));
}

TEST_F(RestXmlFixture, MeasurementSaverWritesOnlyTheLeadAsked)
{
    _RESTDATAITEM* item = OpenRest();
    const CString fifth = L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/Qd/Qd_element[5]";
    const CString fourth = L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/Qd/Qd_element[4]";
    const CString keptFourth = XmlText(fourth, L"data");
    const CString heartRate = XmlText(L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate");
    for (int key = 0; key < REST_MEASURE_KEYS; ++key) {
        item->stMeasure.At(key, 3) = L"66";
        item->stMeasure.At(key, 4) = L"77";
    }
    item->stMeasure.strGlobal[0] = L"99";
    ASSERT_EQ(m_doc.SaveMsuDataToXML(item, 4, 0), 0);
    EXPECT_EQ(XmlText(fifth, L"data"), CString(L"77"));
    EXPECT_EQ(XmlText(fourth, L"data"), keptFourth);
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate"), heartRate);
    ASSERT_EQ(m_doc.SaveMsuDataToXML(item, 12, 1), 0);   // no lead, but the globals
    EXPECT_EQ(XmlText(fourth, L"data"), keptFourth);
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate"), CString(L"99"));

    // A record without the elements gets them.
    RemoveXmlNode(L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm");
    ASSERT_EQ(m_doc.SaveMsuDataToXML(item, -1, 0), 0);
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/Delta_wave/Delta_wave_element[12]", L"data"),
              item->stMeasure.At(22, 11));
    EXPECT_EQ(XmlText(fifth, L"data"), CString(L"77"));
}

// The measurement saver writes what the item holds against what the record
// XML reads as: values in other forms (no number, a sign and a leading zero,
// an empty answer, a heart rate of "060"), a missing value (read as "****")
// and a missing record-wide one (read as its stand-in) stay as stored, and
// only the value the item changed is written.
TEST_F(RestXmlFixture, MeasurementSaverLeavesValuesThatStillReadAsStoredAsTheRecordXmlHasThem)
{
    const CString mm = L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/";
    _RESTDATAITEM* item = AddRecord("rest.ecg", Shape(RecordKind::Rest12));
    SetXmlText(mm + L"Qa/Qa_element[2]", L"abc", L"data");
    SetXmlText(mm + L"Sa/Sa_element[2]", L"+015", L"data");
    SetXmlText(mm + L"Tup/Tup_element[2]", L"", L"data");
    SetXmlText(L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate", L"060");
    RemoveXmlNode(mm + L"Vat/Vat_element[12]");
    RemoveXmlNode(L"/Rawdata/Tavrion/Measurement/Measurement_section/Qt_int");
    ASSERT_EQ(Open(item), 0);
    ASSERT_EQ(item->stMeasure.At(13, 11), CString(L"****"));
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    item->stMeasure.At(0, 1) = L"42";
    ASSERT_EQ(m_doc.SaveMsuDataToXML(item, -1, TRUE), 0);
    const std::vector<std::string> changed = {
        "/Rawdata[1]/Tavrion[1]/Measurement[1]/Measurement_section[1]/Mm[1]/Pa[1]/Pa_element[2]/@data"};
    std::vector<std::string> allowed = {"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor",
                                        "/Rawdata/Tavrion/Analysis/Analysis_edit"};
    allowed.insert(allowed.end(), changed.begin(), changed.end());
    EXPECT_TRUE(xmlchanges::OnlyChanged(before, testsupport::ReadFileBytes(m_files.xml), allowed, changed));
}

TEST_F(RestXmlFixture, DisplaySettingsOutOfRangeComeBackAsDefaults)
{
    AddRecord("rest.ecg", Shape(RecordKind::Rest12));
    SetXmlText(kSetting + L"/Page_style", L"45");
    SetXmlText(kSetting + L"/Rhythm_1lead", L"13");
    SetXmlText(kSetting + L"/Filter", L"40");
    SetXmlText(kSetting + L"/Speed", L"30.0");
    SetXmlText(kSetting + L"/Sensitivity/Limb", L"7.5");
    SetXmlText(kSetting + L"/Sensitivity/Chest", L"2.5");
    SetXmlText(kSetting + L"/Sensitivity/Serial", L"0");
    SetXmlText(kSetting + L"/Sensitivity", L"9", L"mode");
    ASSERT_EQ(Open(m_doc.GetRestListHeader()), 0);
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(m_doc.GetPageStyle(), 1);
    EXPECT_EQ(m_doc.GetRhythm1LeadID(), 0);
    EXPECT_EQ(m_doc.GetFilter(), 100);
    EXPECT_FLOAT_EQ(m_doc.GetSpeed(), 25.0f);
    EXPECT_FLOAT_EQ(m_doc.GetSense(1, 0), 10.0f);
    EXPECT_FLOAT_EQ(m_doc.GetSense(0, 0), 2.5f);
    EXPECT_FLOAT_EQ(m_doc.GetSense(3, 0), 10.0f);   // never 0 to divide by
    EXPECT_EQ(m_doc.GetSenseMode(), 9u);   // a mode is taken as stored

    RemoveXmlNode(kSetting + L"/Sensitivity");
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(m_doc.GetSenseMode(), 1u);
    SetXmlText(kSetting + L"/Sensitivity/Serial", L"-3");
    SetXmlText(kSetting + L"/Page_style", L"0");
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_FLOAT_EQ(m_doc.GetSense(3, 0), 10.0f);
    EXPECT_EQ(m_doc.GetPageStyle(), 1);
}

TEST_F(RestXmlFixture, FifteenLeadRecordWithoutLeadSelectionGetsFullMasks)
{
    AddRecord("rest15.ecg", Shape(RecordKind::Rest15, false, 11));
    RemoveXmlNode(kSetting + L"/Lead_selection");
    SetXmlText(kSetting + L"/Rhythm_1lead", L"13");
    ASSERT_EQ(Open(m_doc.GetRestListHeader()), 0);
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(m_doc.GetLeadSelection(11, 12), static_cast<short>(0x7FFF));
    EXPECT_EQ(m_doc.GetLeadSelection(11, 9), static_cast<short>(0x7FC0));
    EXPECT_EQ(m_doc.GetRhythm1LeadID(), 13);
}

// Views and host commands that hold the document as a CTavrionDoc read the
// strip lead there: an extra lead of a 15-lead record too.
TEST_F(RestXmlFixture, TheStripLeadReadThroughTheBaseDocumentIsTheOneShown)
{
    AddRecord("rest15.ecg", Shape(RecordKind::Rest15, false, 11));
    SetXmlText(kSetting + L"/Rhythm_1lead", L"13");
    ASSERT_EQ(Open(m_doc.GetRestListHeader()), 0);
    m_doc.UpDateReferenceInfo(CString());
    CTavrionDoc& base = m_doc;
    EXPECT_EQ(13, base.GetRhythm1LeadID());
    ASSERT_EQ(1, m_doc.SetRhythm1LeadID(4));
    EXPECT_EQ(4, base.GetRhythm1LeadID());
    ASSERT_EQ(1, m_doc.SetRhythm1LeadID(12));
    EXPECT_EQ(12, base.GetRhythm1LeadID());
}

TEST_F(RestXmlFixture, StripLeadReadBackOnAFifteenLeadRecordKeepsTheStandardLead)
{
    _RESTDATAITEM* twelve = AddRecord("rest12.ecg", Shape(RecordKind::Rest12));
    _RESTDATAITEM* fifteen = AddRecord("rest15.ecg", Shape(RecordKind::Rest15, false, 11));
    SetXmlText(kSetting + L"/Rhythm_1lead", L"13");
    ASSERT_EQ(Open(twelve), 0);
    ASSERT_EQ(Open(fifteen), 0);
    ASSERT_EQ(m_doc.SetRhythm1LeadID(4), 1);
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(m_doc.GetRhythm1LeadID(), 13);
    m_doc.SetCurDataIndex(twelve->nID);   // a 12-lead record shows the standard lead held
    EXPECT_EQ(m_doc.GetRhythm1LeadID(), 4);
}

TEST_F(RestXmlFixture, DisplaySettingsWrittenOneByOneReadBackWhole)
{
    AddRecord("rest15.ecg", Shape(RecordKind::Rest15));
    ASSERT_EQ(Open(m_doc.GetRestListHeader()), 0);
    m_doc.SetPageStyle(7);
    m_doc.SetFilter(35);
    m_doc.SetSpeed(50.0f);
    m_doc.SetRhythm1LeadID(12);
    m_doc.SetSense(1, 20.0f, 0);
    m_doc.SetSense(6, 1.25f, 0);
    m_doc.SetSense(3, 7.0f, 0);
    m_doc.SetSenseMode(2);
    m_doc.SetChestHalf(0);
    for (int id : {7, 8, 9, 10, 13, 15}) m_doc.SetReferenceIntoXML(id, 0);
    for (int arg : {1, 6, 3, 4}) m_doc.SetReferenceIntoXML(11, arg);
    m_doc.SetDelBitNoise(0);
    m_doc.SetReferenceIntoXML(REFERENCE_DEL_BIT_NOISE, 0);   // the base's drawing settings reach this record too
    EXPECT_EQ(XmlText(kSetting + L"/Draw_setting/Del_bit_noise"), CString(L"0"));

    const CString leads = XmlText(kSetting + L"/Lead_selection/Lead_15ch");
    m_doc.SetRhythmWaveStyle(3);
    m_doc.SetReferenceIntoXML(14, 0);   // no lead selection of that style
    EXPECT_EQ(XmlText(kSetting + L"/Lead_selection/Lead_15ch"), leads);

    CRestViewDoc other;
    ASSERT_NE(Reopen(other), nullptr);
    other.UpDateReferenceInfo(CString());
    EXPECT_EQ(other.GetPageStyle(), 7);
    EXPECT_EQ(other.GetFilter(), 35);
    EXPECT_FLOAT_EQ(other.GetSpeed(), 50.0f);
    EXPECT_EQ(other.GetRhythm1LeadID(), 12);
    EXPECT_FLOAT_EQ(other.GetSense(1, 0), 20.0f);
    EXPECT_FLOAT_EQ(other.GetSense(6, 0), 1.25f);
    EXPECT_FLOAT_EQ(other.GetSense(3, 0), 7.0f);
    EXPECT_EQ(other.GetSenseMode(), 2u);
    EXPECT_EQ(other.IsChestHalf(), 0);
}

TEST_F(RestXmlFixture, FormShowsMeasurementsAndHidesByConfirmationAndRowCounts)
{
    _RESTDATAITEM* item = OpenRest();
    CString* g = item->stMeasure.strGlobal;
    g[3] = L"****";
    g[4] = L"420";
    g[5] = L"60";
    g[6] = L"45";
    g[7] = L"999";
    g[8] = L"1.234";
    g[9] = L"0.5";
    m_doc.SetCtrlContent(&item->stPatient);
    EXPECT_EQ(StoredText(m_doc, 3175), CString(L"*/ 420"));
    EXPECT_EQ(StoredText(m_doc, 3177), CString(L"60/ 45/ *"));
    EXPECT_EQ(StoredText(m_doc, 3179), CString(L"1.234/0.5"));
    EXPECT_EQ(StoredText(m_doc, 3181), CString(L"1.734"));
    g[9] = L"*.***";
    m_doc.SetAnyCtrlContent(1);
    EXPECT_EQ(StoredText(m_doc, 3179), CString(L"1.234/*.*"));
    EXPECT_EQ(StoredText(m_doc, 3181), CString(L"*.*"));

    item->bDoctorConfirm = 0;
    item->stInterpre.nMinneCount = 3;
    m_doc.UpdateCtrlStatus();
    EXPECT_TRUE(Shown(m_doc, 3163));
    EXPECT_FALSE(Shown(m_doc, 3165));
    EXPECT_TRUE(Shown(m_doc, 3057));    // the empty row after the three held
    EXPECT_FALSE(Shown(m_doc, 3058));
}

TEST_F(RestXmlFixture, CopyBackChecksTripCountsAndListedMedications)
{
    _RESTDATAITEM* item = OpenRest(RecordKind::Rest12, true, 254);
    m_doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), L"薬A");
    m_doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), L"薬B");
    m_doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), L"その他");
    item->stInterpre.strMedication1.Empty();
    item->stInterpre.nMedication1Sel = 1;
    m_doc.SetCtrlContent(&item->stPatient);
    EXPECT_EQ(StoredText(m_doc, 3031), CString(L"薬B"));
    EXPECT_EQ(m_doc.IsEidtChange(), 0);   // a listed medication shown is no edit

    m_doc.PushCtrlEdit(3183, L"300", -1);
    m_doc.PushCtrlEdit(3185, L"256", -1);
    m_doc.UpDateCurItemContent();
    EXPECT_TRUE(item->strTrip.IsEmpty());
    EXPECT_EQ(item->strTotalTrip, CString(L"256"));
    EXPECT_EQ(item->stInterpre.nMedication1Sel, 1);

    // A trip code whose form shows no counts keeps the record's own.
    item = AddRecord("trip243.ecg", Shape(RecordKind::Rest12, false, 243));
    ASSERT_EQ(Open(item), 0);
    ASSERT_EQ(item->strTrip, CString(L"18"));
    m_doc.SetCtrlContent(&item->stPatient);
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Record/Mstep_section/Trip_info", L"trip"), CString(L"18"));
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Record/Mstep_section/Trip_info", L"total"), CString(L"20"));

    // A store filled for no item copies nothing back.
    CRestViewDoc fresh;
    fresh.UpDateCurItemContent();
    EXPECT_EQ(fresh.IsEidtChange(), 0);
}

// The trip boxes show an uncounted trip ("*") empty and a model-8000 count
// past 255 as stored: copied back untouched, both stay as the record holds
// them; only a count the person typed is checked and put back.
TEST_F(RestXmlFixture, CopyBackKeepsTripCountsTheBoxesShowOtherwiseUntilOneIsTyped)
{
    _RESTDATAITEM* item = OpenRest(RecordKind::Rest12, true, 254);
    item->strTrip = L"300";
    item->strTotalTrip = L"*";
    m_doc.SetCtrlContent(&item->stPatient);
    EXPECT_EQ(StoredText(m_doc, 3183), CString(L"300"));
    EXPECT_EQ(StoredText(m_doc, 3185), CString());
    EXPECT_EQ(m_doc.IsEidtChange(), 0);
    m_doc.UpDateCurItemContent();
    EXPECT_EQ(item->strTrip, CString(L"300"));
    EXPECT_EQ(item->strTotalTrip, CString(L"*"));
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Record/Mstep_section/Trip_info", L"trip"), CString(L"300"));
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Record/Mstep_section/Trip_info", L"total"), CString(L"*"));

    m_doc.SetCtrlContent(&item->stPatient);
    m_doc.PushCtrlEdit(3183, L"301", -1);
    m_doc.PushCtrlEdit(3185, L"012", -1);
    m_doc.UpDateCurItemContent();
    EXPECT_TRUE(item->strTrip.IsEmpty());
    EXPECT_EQ(item->strTotalTrip, CString(L"12"));
}

TEST_F(RestXmlFixture, MissingOrOverLimitXmlValuesAreLeftEmpty)
{
    // Without its record XML the record opens with the stated defaults.
    morvelance::RestRecordFiles files = morvelance::WriteRestRecord(m_dir.Path(), "alone.ecg", Shape(RecordKind::Rest12));
    std::remove(files.xml.c_str());
    _RESTDATAITEM* item = AddItem(files, false);
    ASSERT_EQ(Open(item), 0);
    EXPECT_EQ(item->stMeasure.At(5, 7), CString(L"****"));
    EXPECT_EQ(item->stMeasure.strGlobal[0], CString(L"***"));
    EXPECT_EQ(item->stMeasure.strGlobal[1], CString(L"****"));
    EXPECT_EQ(item->stMeasure.strGlobal[8], CString(L"*.***"));
    EXPECT_EQ(item->stInterpre.nMinneCount, 0);
    EXPECT_EQ(item->stInterpre.nMedication1Sel, -1);
    EXPECT_EQ(item->nAcqFilter, 100);
    EXPECT_EQ(m_doc.SaveDataToXML(item->nID), 0);   // a missing record XML is made

    // One that cannot be read stays as it is, and no saver reports success.
    const std::string broken = "<Rawdata><Tavrion>";
    { std::ofstream(files.xml, std::ios::trunc) << broken; }
    EXPECT_EQ(m_doc.SaveDataToXML(item->nID), 255);
    EXPECT_EQ(m_doc.SaveInfoToXML(item->nID), 255);
    EXPECT_EQ(m_doc.SaveMsuDataToXML(item, -1, 1), 255);
    EXPECT_EQ(testsupport::ReadFileBytes(files.xml), broken);
    EXPECT_EQ(Open(item), 0);

    // Every limited text one past its limit is read as stored: the limits
    // guard what a person types (the reader used to refuse such a text, so
    // that it was shown empty and the next save wrote it empty).
    morvelance::RestRecordShape shape = Shape(RecordKind::Rest12, true, 254);
    shape.xml.range = morvelance::ValueRange::OverLimit;
    _RESTDATAITEM* over = AddRecord("over.ecg", shape);
    ASSERT_EQ(Open(over), 0);
    // (A model-8000 record: ids of 12, trips of 255 of 256; the symptom,
    // a field such a record lacks, is read as it was written into it.)
    EXPECT_EQ(GetCharLength(over->stPatient.strPatientID), 13);
    EXPECT_FALSE(over->stInterpre.strSympton.IsEmpty());
    EXPECT_FALSE(over->stInterpre.strComment.IsEmpty());
    EXPECT_EQ(over->strTrip, CString(L"256"));
    EXPECT_EQ(over->strTotalTrip, CString(L"257"));
}
