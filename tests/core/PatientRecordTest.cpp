// The patient record read from and written to record XML files through the
// shipped layout stylesheet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/FileItemInfo.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/RecordXml.h"

using testsupport::Wide;

namespace {

class PatientRecord : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        m_doc.GetCtrlPosFromXSL(LOAD_POS_REST);
    }

    // A record XML whose patient section holds `body`.
    std::string Record(const std::string& body, const std::string& extra = std::string())
    {
        return m_dir.Write("record.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Rawdata><Tavrion><Inspection>"
                                         "<Patient_section>" + body + "</Patient_section>" + extra +
                                         "</Inspection></Tavrion></Rawdata>");
    }
    _PATIENT_INFO Read(const std::string& body, int b8000 = 0, int systemCode = 0,
                       const std::string& extra = std::string())
    {
        CECGXMLParser xml(Wide(Record(body, extra)), b8000, CString());
        _PATIENT_INFO patient;
        m_doc.GetPatInfoFromXML(systemCode, patient, &xml);
        return patient;
    }
    static std::string Age(int unit, const std::string& attrs)
    {
        return "<Age style=\"Age\" unit=\"" + std::to_string(unit) + "\" " + attrs + "/>";
    }
    static std::string Height(const std::string& whole, const std::string& sub)
    {
        return "<Height_weight><Height>" + whole + "</Height><Sub_height>" + sub + "</Sub_height></Height_weight>";
    }
    static std::string Bp(const std::string& sys, const std::string& unit = "0")
    {
        return "<Bp><Bp_sys>" + sys + "</Bp_sys><Bp_dia>70</Bp_dia><Bp_unit>" + unit + "</Bp_unit></Bp>";
    }

    CTavrionDoc m_doc;
};

}  // namespace

TEST_F(PatientRecord, MissingFieldsReadAsTheirPlaceholders)
{
    const _PATIENT_INFO p = Read("<Patient_id>P-1</Patient_id><Patient_name>山田</Patient_name>"
                                 "<Sex value=\"女\"/>");
    EXPECT_EQ(CString(L"P-1"), p.strPatientID);
    EXPECT_EQ(CString(L"山田"), p.strName);
    EXPECT_EQ(CString(L"女"), p.strSex);
    EXPECT_TRUE(p.strKanaName.IsEmpty());
    EXPECT_EQ(CString(L"****/**/** **:**:**"), p.strAcqTime);
    EXPECT_EQ(CString(L"cm"), p.strHeightUnit);
    EXPECT_EQ(CString(L"医師による確認が必要です"), p.strConfirmation);
}

// The strip shows the acquisition time as the file list shows it: a date
// that is no calendar date, or has year 0, reads as none; a real one as it is.
TEST_F(PatientRecord, AcquisitionTimeReadsAsTheFileListReadsIt)
{
    struct ListReader : CTavrionDoc {
        using CTavrionDoc::ReadBaseFileInfo;
    } list;
    const std::string path = m_dir.File("acq.xml");
    const auto read = [&](const wchar_t* year, const wchar_t* month, const wchar_t* day, CString& listed) {
        morvelance::WriteSampleRecordXml(path, morvelance::rec::RecordKind::Rest12);
        {
            CECGXMLParser xml(Wide(path), 0, CString());
            _XML_ATTRIB_DATE date;
            date.strYear = year;
            date.strMonth = month;
            date.strDay = day;
            date.strHour = L"1";
            date.strMinute = L"2";
            date.strSecond = L"3";
            xml.SetDateAttrib(date, L"/Rawdata/Tavrion/Inspection/Patient_section/Acquition_date");
            xml.SaveToXMLFile();
            EXPECT_EQ(0, xml.m_bLastSaveFailed);
        }
        _FILEITEM_INFO info;
        list.ReadBaseFileInfo(Wide(path), &info);
        listed = info.strAcqTime;
        CECGXMLParser xml(Wide(path), 0, CString());
        _PATIENT_INFO patient;
        m_doc.GetPatInfoFromXML(0, patient, &xml);
        return patient.strAcqTime;
    };
    CString listed;
    EXPECT_EQ(CString(L"****/**/** **:**:**"), read(L"0", L"5", L"6", listed));
    EXPECT_EQ(listed, CString(L"****/**/** **:**:**"));
    EXPECT_EQ(CString(L"****/**/** **:**:**"), read(L"2001", L"2", L"30", listed));
    EXPECT_EQ(listed, CString(L"****/**/** **:**:**"));
    EXPECT_EQ(CString(L"2001/02/28 01:02:03"), read(L"2001", L"2", L"28", listed));
    EXPECT_EQ(listed, CString(L"2001/02/28 01:02:03"));
}

// A record without an age element reads as an age of no years: the unit
// is years and nothing else is filled.
TEST_F(PatientRecord, MissingAgeReadsAsYearsWithoutANumber)
{
    for (const std::string& body : {std::string(), std::string("<Age year=\"40\" unit=\"1\"/>")}) {
        const _PATIENT_INFO p = Read(body);
        EXPECT_TRUE(p.strAge.IsEmpty());
        EXPECT_EQ(CString(L"歳"), p.strAgeUnit);
        EXPECT_TRUE(p.strSubAge.IsEmpty());
        EXPECT_TRUE(p.strSubAgeUnit.IsEmpty());
        EXPECT_EQ(1, m_doc.GetSubAgeFlag());
    }
}

TEST_F(PatientRecord, HourAgeClearsTheSubAgeFlag)
{
    const _PATIENT_INFO p = Read(Age(4, "hour=\"5\""));
    EXPECT_EQ(CString(L"5"), p.strAge);
    EXPECT_EQ(CString(L"時間"), p.strAgeUnit);
    EXPECT_TRUE(p.strSubAge.IsEmpty());
    EXPECT_EQ(0, m_doc.GetSubAgeFlag());
}

TEST_F(PatientRecord, YearsAndMonthsDependOnTheRecorder)
{
    _PATIENT_INFO p = Read(Age(16, "year=\"3\" month=\"6\""));
    EXPECT_EQ(CString(L"3"), p.strAge);
    EXPECT_EQ(CString(L"歳"), p.strAgeUnit);
    EXPECT_EQ(CString(L"6"), p.strSubAge);
    EXPECT_EQ(CString(L"ヶ月"), p.strSubAgeUnit);
    EXPECT_EQ(1, m_doc.GetSubAgeFlag());

    p = Read(Age(16, "year=\"3\" month=\"6\""), 1);
    EXPECT_EQ(CString(L"3"), p.strAge);
    EXPECT_TRUE(p.strSubAge.IsEmpty());
    EXPECT_TRUE(p.strSubAgeUnit.IsEmpty());
}

TEST_F(PatientRecord, AgesOutsideTheLimitsAreEmptied)
{
    EXPECT_TRUE(Read(Age(16, "year=\"3\" month=\"0\"")).strSubAge.IsEmpty());
    EXPECT_TRUE(Read(Age(0, "year=\"1200\"")).strAge.IsEmpty());
    EXPECT_TRUE(Read(Age(0, "year=\"120\""), 1).strAge.IsEmpty());
    EXPECT_EQ(CString(L"120"), Read(Age(0, "year=\"120\"")).strAge);
    EXPECT_TRUE(Read(Age(0, "year=\"-3\"")).strAge.IsEmpty());
    const _PATIENT_INFO unknown = Read(Age(7, "year=\"3\""));
    EXPECT_TRUE(unknown.strAge.IsEmpty());
    EXPECT_TRUE(unknown.strAgeUnit.IsEmpty());
}

TEST_F(PatientRecord, HeightJoinsItsWholeAndFractionParts)
{
    EXPECT_EQ(CString(L"170"), Read(Height("170", "0")).strHeight);
    EXPECT_EQ(CString(L"170.2"), Read(Height("170", "25")).strHeight);
    EXPECT_EQ(CString(L"0.5"), Read(Height("0", "5")).strHeight);
    EXPECT_EQ(CString(L"0"), Read(Height("0", "0")).strHeight);
    EXPECT_TRUE(Read(Height("", "")).strHeight.IsEmpty());
    EXPECT_TRUE(Read(Height("1000", "0")).strHeight.IsEmpty());
}

TEST_F(PatientRecord, PressureUnitDecidesTheLimitAndUnknownUnitsAreMillimetres)
{
    EXPECT_EQ(CString(L"0"), Read(Bp("0")).strBpHigh);
    EXPECT_EQ(CString(L"250"), Read(Bp("250")).strBpHigh);
    const _PATIENT_INFO kPa = Read(Bp("250", "1"));
    EXPECT_EQ(1, kPa.nPressureUnit);
    EXPECT_TRUE(kPa.strBpHigh.IsEmpty());
    EXPECT_EQ(0, Read(Bp("20", "1"), 0, 0xFFFC).nPressureUnit);
    EXPECT_EQ(0, Read(Bp("20", "7")).nPressureUnit);
}

TEST_F(PatientRecord, PressureThatIsNoNumberIsNotZero)
{
    EXPECT_TRUE(Read(Bp("abc")).strBpHigh.IsEmpty());
    EXPECT_TRUE(Read(Bp("-")).strBpHigh.IsEmpty());
    EXPECT_TRUE(Read(Bp("12x")).strBpHigh.IsEmpty());
    EXPECT_EQ(CString(L"70"), Read(Bp("abc")).strBpLow);
}

TEST_F(PatientRecord, EditsAfterTheConfirmationWithdrawIt)
{
    const std::string confirm = "<Voktext_section><Confirm_editor><Editor_name>佐藤  </Editor_name>"
                                "<Edit_date style=\"Date\" year=\"2020\" month=\"3\" day=\"4\" hour=\"10\" "
                                "minute=\"20\" second=\"30\"/></Confirm_editor></Voktext_section>";
    _PATIENT_INFO p = Read("", 0, 0, confirm);
    EXPECT_EQ(CString(L"佐藤"), p.strConfirmDoctor);
    EXPECT_EQ(CString(L"2020/03/04 10:20:30"), p.strConfirmDate);
    EXPECT_EQ(CString(L"判読日時  : 2020/03/04 10:20 判読医師  : 佐藤"), p.strConfirmation);
    EXPECT_EQ(1, p.bConfirmed);

    p = Read("<Edit_time style=\"Date\" year=\"2021\" month=\"1\" day=\"1\" hour=\"0\" minute=\"0\" "
             "second=\"0\"/>",
             0, 0, confirm);
    EXPECT_EQ(CString(L"判読後に編集あり(最終判読:2020/03/04 10:20 佐藤)"), p.strConfirmation);
    EXPECT_EQ(0, p.bConfirmed);
    EXPECT_EQ(1, p.bEditedAfterConfirm);
}

// A save renews the analysis editor's date after it showed a confirmation
// taken from the patient's doctor and that date: the confirmation is kept
// in the confirming editor's place, and the save reads as an edit after it.
// One that still reads as shown, or none shown, leaves the XML alone.
TEST_F(PatientRecord, ASaveThatRenewsTheDateAConfirmationWasReadFromKeepsTheConfirmationAsShown)
{
    const std::string analysis = "<Analysis_editor><Editor_name>E</Editor_name><Edit_date style=\"Date\" "
                                 "year=\"2024\" month=\"4\" day=\"1\" hour=\"9\" minute=\"40\" second=\"0\"/>"
                                 "</Analysis_editor>";
    const std::string ownDate = "<Confirm_editor><Editor_name></Editor_name><Edit_date style=\"Date\" year=\"2024\" "
                                "month=\"4\" day=\"1\" hour=\"10\" minute=\"0\" second=\"0\"/></Confirm_editor>";
    const CString analysisDate = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date";
    const CString confirmName = L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name";
    _XML_ATTRIB_DATE renewed;
    renewed.SetDate(COleDateTime(2026, 12, 11, 16, 40, 0));
    for (const std::string& confirm : {std::string(), ownDate}) {
        SCOPED_TRACE(confirm);
        CECGXMLParser xml(Wide(Record("<Doctor>高橋 誠</Doctor>", "<Voktext_section>" + confirm + analysis +
                                                                      "</Voktext_section>")),
                          0, CString());
        _PATIENT_INFO shown;
        m_doc.GetPatInfoFromXML(0, shown, &xml);
        ASSERT_EQ(CString(L"2024/04/01 09:40:00"), shown.strConfirmDate);

        m_doc.KeepShownConfirmation(shown, &xml);
        _PATIENT_INFO untouched;
        m_doc.GetPatInfoFromXML(0, untouched, &xml);
        EXPECT_EQ(shown.strConfirmation, untouched.strConfirmation);
        EXPECT_EQ(!confirm.empty(), xml.FindNode(confirmName) != 0) << "a reading as shown was written";

        xml.SetDateAttrib(renewed, analysisDate);
        m_doc.KeepShownConfirmation(shown, &xml);
        _PATIENT_INFO after;
        m_doc.GetPatInfoFromXML(0, after, &xml);
        EXPECT_EQ(CString(L"高橋 誠"), after.strConfirmDoctor);
        EXPECT_EQ(shown.strConfirmDate, after.strConfirmDate);
        EXPECT_EQ(CString(L"判読後に編集あり(最終判読:2024/04/01 09:40 高橋 誠)"), after.strConfirmation);
    }

    // Nothing shown as confirmed: the save's dates make no confirmation.
    CECGXMLParser xml(Wide(Record("", "<Voktext_section>" + analysis + "</Voktext_section>")), 0, CString());
    _PATIENT_INFO shown;
    m_doc.GetPatInfoFromXML(0, shown, &xml);
    ASSERT_EQ(0, shown.bConfirmed);
    xml.SetDateAttrib(renewed, analysisDate);
    m_doc.KeepShownConfirmation(shown, &xml);
    EXPECT_FALSE(xml.FindNode(confirmName));
}

// Only an edit strictly after the confirmation withdraws it; an edit date
// that is no date cannot be later than anything.
TEST_F(PatientRecord, AnEditAtTheSameSecondOrWithAnImpossibleDateKeepsTheConfirmation)
{
    const std::string confirm = "<Voktext_section><Confirm_editor><Editor_name>佐藤</Editor_name>"
                                "<Edit_date style=\"Date\" year=\"2020\" month=\"3\" day=\"4\" hour=\"10\" "
                                "minute=\"20\" second=\"30\"/></Confirm_editor></Voktext_section>";
    const auto editedAt = [](const std::string& month, const std::string& second) {
        return "<Edit_time style=\"Date\" year=\"2020\" month=\"" + month + "\" day=\"4\" hour=\"10\" minute=\"20\" "
               "second=\"" + second + "\"/>";
    };
    EXPECT_EQ(1, Read(editedAt("3", "30"), 0, 0, confirm).bConfirmed);
    EXPECT_EQ(1, Read(editedAt("3", "29"), 0, 0, confirm).bConfirmed);
    EXPECT_EQ(1, Read(editedAt("13", "31"), 0, 0, confirm).bConfirmed);
    const _PATIENT_INFO later = Read(editedAt("3", "31"), 0, 0, confirm);
    EXPECT_EQ(0, later.bConfirmed);
    EXPECT_EQ(1, later.bEditedAfterConfirm);
}

// A doctor named only in the patient section has his confirmation dated by
// the analysis editor's date, else by the analysis edit date; a date from
// the latter is not weighed against the edit dates.
TEST_F(PatientRecord, AConfirmationDatedByTheAnalysisEditDateIsNotWithdrawnByLaterEdits)
{
    const std::string analysisEdit = "<Analysis><Analysis_edit><Edit_date style=\"Date\" year=\"2020\" month=\"3\" "
                                     "day=\"4\" hour=\"10\" minute=\"20\" second=\"30\"/></Analysis_edit></Analysis>";
    const std::string laterEdit = "<Doctor>鈴木</Doctor><Edit_time style=\"Date\" year=\"2021\" month=\"1\" "
                                  "day=\"1\" hour=\"0\" minute=\"0\" second=\"0\"/>";
    CECGXMLParser xml(Wide(m_dir.Write("record.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Rawdata><Tavrion>"
                                                     "<Inspection><Patient_section>" + laterEdit +
                                                     "</Patient_section></Inspection>" + analysisEdit +
                                                     "</Tavrion></Rawdata>")),
                      0, CString());
    _PATIENT_INFO p;
    m_doc.GetPatInfoFromXML(0, p, &xml);
    EXPECT_EQ(CString(L"鈴木"), p.strConfirmDoctor);
    EXPECT_EQ(CString(L"2020/03/04 10:20:30"), p.strConfirmDate);
    EXPECT_EQ(CString(L"判読日時  : 2020/03/04 10:20 判読医師  : 鈴木"), p.strConfirmation);
    EXPECT_EQ(1, p.bConfirmed);
    EXPECT_EQ(0, p.bEditedAfterConfirm);
}

// The analysis editor's date, when there is one, is weighed as usual.
TEST_F(PatientRecord, AConfirmationDatedByTheAnalysisEditorIsWithdrawnByALaterEdit)
{
    const std::string editor = "<Voktext_section><Analysis_editor><Edit_date style=\"Date\" year=\"2020\" "
                               "month=\"3\" day=\"4\" hour=\"10\" minute=\"20\" second=\"30\"/>"
                               "</Analysis_editor></Voktext_section>";
    const _PATIENT_INFO p = Read("<Doctor>鈴木</Doctor><Edit_time style=\"Date\" year=\"2021\" month=\"1\" "
                                 "day=\"1\" hour=\"0\" minute=\"0\" second=\"0\"/>",
                                 0, 0, editor);
    EXPECT_EQ(CString(L"2020/03/04 10:20:30"), p.strConfirmDate);
    EXPECT_EQ(1, p.bEditedAfterConfirm);
    EXPECT_EQ(0, p.bConfirmed);
}

TEST_F(PatientRecord, ConfirmationWithoutValidDateNeedsADoctor)
{
    const _PATIENT_INFO p = Read("", 0, 0,
                                 "<Voktext_section><Confirm_editor><Editor_name>佐藤</Editor_name>"
                                 "<Edit_date style=\"Date\" year=\"2003\" month=\"2\" day=\"29\" hour=\"0\" "
                                 "minute=\"0\" second=\"0\"/></Confirm_editor></Voktext_section>");
    EXPECT_EQ(CString(L"医師による確認が必要です"), p.strConfirmation);
    EXPECT_TRUE(p.strConfirmDate.IsEmpty());
    EXPECT_EQ(CString(L"佐藤"), p.strConfirmDoctor);
}

TEST_F(PatientRecord, SaveSplitsMeasuresAndWritesTheAge)
{
    const std::string path = Record("<Age style=\"Age\" unit=\"0\" year=\"40\"/>");
    _PATIENT_INFO p;
    p.strPatientID = L"X9";
    p.strHeight = L"170.26";
    p.strAge = L"2";
    p.strAgeUnit = L"ヶ月";
    p.strSubAge = L"3";
    p.strSubAgeUnit = L"週";
    {
        CECGXMLParser xml(Wide(path), 0, CString());
        m_doc.SavePatInfoToXML(p, &xml);
    }
    CECGXMLParser xml(Wide(path), 0, CString());
    CString text;
    const CString section = L"/Rawdata/Tavrion/Inspection/Patient_section";
    ASSERT_TRUE(xml.GetDataFromXMLDOM(text, section + L"/Height_weight/Height", 4, CString()));
    EXPECT_EQ(CString(L"170"), text);
    xml.GetDataFromXMLDOM(text, section + L"/Height_weight/Sub_height", 4, CString());
    EXPECT_EQ(CString(L"3"), text);
    text = L"stale";
    xml.GetDataFromXMLDOM(text, section + L"/Height_weight/Weight", 4, CString());
    EXPECT_TRUE(text.IsEmpty());
    _XML_ATTRIB_AGE age;
    ASSERT_TRUE(xml.GetAgeAttrib(age, section + L"/Age"));
    EXPECT_EQ(17, age.nUnit);
    EXPECT_EQ(CString(L"2"), age.strMonth);
    EXPECT_EQ(CString(L"3"), age.strWeek);

    // Read back through the layout: the same patient comes out.
    _PATIENT_INFO back;
    m_doc.GetPatInfoFromXML(0, back, &xml);
    EXPECT_EQ(CString(L"X9"), back.strPatientID);
    EXPECT_EQ(CString(L"170.3"), back.strHeight);
    EXPECT_EQ(CString(L"2"), back.strAge);
    EXPECT_EQ(CString(L"週"), back.strSubAgeUnit);
}

// Every age the form can hold is written in its own unit code and comes
// back the same, with or without its smaller second unit.
TEST_F(PatientRecord, EveryAgeUnitRoundTripsThroughTheRecord)
{
    const struct {
        const wchar_t* age;
        const wchar_t* unit;
        const wchar_t* subAge;
        const wchar_t* subUnit;
    } kAges[] = {
        {L"45", L"歳", L"", L""},       {L"1", L"歳", L"6", L"ヶ月"}, {L"7", L"ヶ月", L"", L""},
        {L"7", L"ヶ月", L"2", L"週"},   {L"3", L"週", L"", L""},       {L"3", L"週", L"4", L"日"},
        {L"20", L"日", L"", L""},       {L"20", L"日", L"5", L"時間"}, {L"12", L"時間", L"", L""},
    };
    for (const auto& a : kAges) {
        SCOPED_TRACE(CStringA(CString(a.age) + a.unit + a.subAge + a.subUnit).GetString());
        const std::string path = Record("");
        _PATIENT_INFO p;
        p.strAge = a.age;
        p.strAgeUnit = a.unit;
        p.strSubAge = a.subAge;
        p.strSubAgeUnit = a.subUnit;
        {
            CECGXMLParser xml(Wide(path), 0, CString());
            m_doc.SavePatInfoToXML(p, &xml);
        }
        CECGXMLParser xml(Wide(path), 0, CString());
        _PATIENT_INFO back;
        m_doc.GetPatInfoFromXML(0, back, &xml);
        EXPECT_EQ(CString(a.age), back.strAge);
        EXPECT_EQ(CString(a.unit), back.strAgeUnit);
        EXPECT_EQ(CString(a.subAge), back.strSubAge);
        EXPECT_EQ(CString(a.subUnit), back.strSubAgeUnit);
    }
}

TEST_F(PatientRecord, RoundingCarriesIntoTheWholePart)
{
    const std::string path = Record("");
    _PATIENT_INFO p;
    p.strWeight = L"9.96";
    CECGXMLParser xml(Wide(path), 0, CString());
    m_doc.SavePatInfoToXML(p, &xml);
    CString text;
    xml.GetDataFromXMLDOM(text, L"/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight", 4, CString());
    EXPECT_EQ(CString(L"10"), text);
    xml.GetDataFromXMLDOM(text, L"/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_weight", 4,
                          CString());
    EXPECT_EQ(CString(L"0"), text);
}

TEST_F(PatientRecord, SampleRecordReads)
{
    const std::string path = m_dir.File("sample.xml");
    morvelance::WriteSampleRecordXml(path, morvelance::rec::RecordKind::Rest12);
    CECGXMLParser xml(Wide(path), 0, CString());
    _PATIENT_INFO p;
    m_doc.GetPatInfoFromXML(0, p, &xml);
    EXPECT_FALSE(p.strPatientID.IsEmpty());
    EXPECT_EQ(-1, p.strAcqTime.Find(L'*'));
}

TEST_F(PatientRecord, NullParserDoesNothing)
{
    _PATIENT_INFO p;
    p.strName = L"kept";
    m_doc.GetPatInfoFromXML(0, p, nullptr);
    m_doc.SavePatInfoToXML(p, nullptr);
    EXPECT_EQ(CString(L"kept"), p.strName);
}

TEST(PatientBirthday, InvalidFieldsAreEmptied)
{
    CTavrionDoc doc;
    _BIRTHDAY b;
    b.strYear = L"2001";
    b.strMonth = L"2";
    b.strDay = L"30";
    _BIRTHDAY out = doc.CheckBirthday(b);
    EXPECT_TRUE(out.strYear.IsEmpty() && out.strMonth.IsEmpty() && out.strDay.IsEmpty());
    b.strYear = L"1899";
    b.strMonth = L"5";
    b.strDay = L"5";
    out = doc.CheckBirthday(b);
    EXPECT_TRUE(out.strYear.IsEmpty() && out.strMonth.IsEmpty() && out.strDay.IsEmpty());
    b.strYear = L"2000";
    b.strMonth = L"2";
    b.strDay = L"29";
    out = doc.CheckBirthday(b);
    EXPECT_EQ(CString(L"29"), out.strDay);
}

TEST(PatientPanel, RhythmPanelCopiesBackExceptBirthdayOfExtraLead)
{
    class PanelDoc : public CTavrionDoc {
    public:
        void BuildPanel() { InitCheckArrayRhyRR(); }
    } doc;
    doc.BuildPanel();
    doc.SetCtrlData(3631, L"1980", 1, -1);
    doc.SetCtrlData(3637, L"薬A", 0, 4);
    doc.SetCtrlData(4017, L"comment", 0, -1);
    _INTERPRE_INFO_GENERAL info;
    doc.UpdateRhyRRCurItem(0x000A, info);
    EXPECT_EQ(CString(L"1980"), info.stBirthday.strYear);
    EXPECT_EQ(CString(L"薬A"), info.strMedication1);
    EXPECT_EQ(4, info.nMedication1Sel);
    EXPECT_EQ(CString(L"comment"), info.strComment);

    _INTERPRE_INFO_GENERAL extra;
    doc.UpdateRhyRRCurItem(0x001C, extra);
    EXPECT_TRUE(extra.stBirthday.strYear.IsEmpty());
}
