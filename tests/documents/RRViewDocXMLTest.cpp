// The RR document with its record XML: what it reads of the device's RR
// analysis and of the form fields, edits made through the control-data store
// saved and read back from the file, values the file must not be trusted
// with, and the display settings of the RR screens.
#include "platform/base/Kernel.h"
#include "tests/documents/CommentLineEndsCheck.h"
#include "tests/documents/RRViewDocFixture.h"
#include "tools/RecordBuilder.h"
#include "tools/RecordTags.h"
#include "tools/Wfdb.h"

using namespace rrtest;

static bool operator==(const _RR_LIST_ENTRY& a, const _RR_LIST_ENTRY& b)
{
    return a.nFlag == b.nFlag && a.nValue == b.nValue;
}

namespace {

const CString kReport = L"/Rawdata/Tavrion/Report/";

std::string Report(const std::string& body) { return "<Report>" + body + "</Report>"; }

std::string ListTimes(int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += "<List_time flag=\"false\" data=\"" + std::to_string(800 + i) + "\"/>";
    return out;
}

std::vector<_RR_LIST_ENTRY> ListOf(const _RRDATAITEM* item)
{
    return std::vector<_RR_LIST_ENTRY>(item->pRRList, item->pRRList + item->nRRListCount);
}

CString IndexedPath(const CString& base, int n)
{
    CString path;
    path.Format(L"%s[%d]", base.GetString(), n);
    return path;
}

}  // namespace

TEST_F(RRDocTest, ReadsTheDevicesRRAnalysis)
{
    RRRecordPlan plan;
    plan.seconds = 90.0;   // a minute and a half: two rows of the per-minute table
    plan.leads = 3;
    const RRFiles files = Write("report", plan);
    _RRDATAITEM* item = Add(files);
    ASSERT_EQ(0, Open(files));

    const int intervals = _wtoi(ReadXmlValue(files.xml, kReport + L"Rr_list", L"count"));
    ASSERT_GT(intervals, 60);
    ASSERT_EQ(intervals, item->nRRListCount);
    for (int i = 0; i < intervals; ++i) {
        const CString path = IndexedPath(kReport + L"Rr_list/List_time", i + 1);
        EXPECT_EQ(_wtoi(ReadXmlValue(files.xml, path, L"data")), item->pRRList[i].nValue);
        EXPECT_EQ(ReadXmlValue(files.xml, path, L"flag") == L"true" ? 1 : 0, item->pRRList[i].nFlag);
    }
    ASSERT_EQ(2, item->nRR50Count);
    EXPECT_EQ(ReadXmlValue(files.xml, kReport + L"Rr50_info/Rr50_hr/Rr50_hr_element[2]", L"data"), item->strRR50[RR50_HR][1]);
    EXPECT_EQ(ReadXmlValue(files.xml, kReport + L"Rr50_info/Rr50_cv/Rr50_cv_element[1]", L"data"), item->strRR50[RR50_CV][0]);
    EXPECT_TRUE(item->strRR50[RR50_MAX][2].IsEmpty());
    EXPECT_EQ(ReadXmlValue(files.xml, kReport + L"Rr_total/Cv"), item->strRRTotal[RR_TOTAL_CV]);
}

TEST_F(RRDocTest, StoredCountsAndValuesAreNotTrusted)
{
    const RRFiles files = Write("hand");
    _RRDATAITEM* item = Add(files);
    ASSERT_EQ(0, Open(files));
    const std::string patient =
        "<Inspection><Patient_section><Birthday year=\"1960\" month=\" 7 \" day=\"5\"/>"
        "<Medications><Medication number=\"1\" index=\"2\"></Medication></Medications>"
        "</Patient_section><Voktext_section><Analysis_editor><Editor_name>佐藤</Editor_name>"
        "<Edit_date style=\"Date\" year=\"2024\" month=\"02\" day=\"30\" hour=\"10\" minute=\"00\" second=\"00\"/>"
        "</Analysis_editor></Voktext_section></Inspection>"
        "<Analysis><Analysis_edit><Edit_date style=\"Date\" year=\"2024\" month=\"03\" day=\"01\" hour=\"10\" "
        "minute=\"05\" second=\"00\"/></Analysis_edit></Analysis>"
        "<Comment><Voktext_section><Comment_content>a\nb&#13;\nc</Comment_content></Voktext_section></Comment>"
        "<Record><Extended_section><Acq_filter>35</Acq_filter><Acq_sense>0</Acq_sense></Extended_section></Record>";
    WriteXml(files, patient + Report("<Rr50_info count=\"25\"><Rr50_max><Rr50_max_element data=\"900\"/></Rr50_max>"
                                     "</Rr50_info><Rr_list count=\"100000\"><List_time flag=\"TRUE\" data=\"812\"/>"
                                     "<List_time flag=\"yes\" data=\"790\"/><List_time/></Rr_list>"));
    ASSERT_EQ(0, m_doc.GetDataInfoFromXMLFile(item));
    EXPECT_EQ(10, item->nRR50Count);
    EXPECT_EQ(CString(L"900"), item->strRR50[RR50_MAX][0]);
    EXPECT_TRUE(item->strRR50[RR50_MAX][9].IsEmpty());
    // A count far above the entries present gets the entries present.
    const std::vector<_RR_LIST_ENTRY> expected = {{1, 812}, {0, 790}, {0, -1}};
    EXPECT_EQ(expected, ListOf(item));
    EXPECT_EQ(CString(L"1960"), item->stGeneral.stBirthday.strYear);
    EXPECT_EQ(CString(L"07"), item->stGeneral.stBirthday.strMonth);
    EXPECT_EQ(CString(L"05"), item->stGeneral.stBirthday.strDay);
    EXPECT_TRUE(item->stGeneral.strMedication1.IsEmpty());
    EXPECT_EQ(2, item->stGeneral.nMedication1Sel);
    EXPECT_EQ(-1, item->stGeneral.nMedication2Sel);
    EXPECT_EQ(0, item->bReqSection);
    // Only bare LFs gain their CR.
    EXPECT_EQ(CString(L"a\r\nb\r\nc"), item->stGeneral.strComment);

    WriteXml(files, "<Inspection><Patient_section><Birthday year=\"abcd\" month=\"7\" day=\"5\"/></Patient_section>"
                    "</Inspection>" +
                        Report("<Rr50_info count=\"-3\"/><Rr_list count=\"-5\">" + ListTimes(2) + "</Rr_list>"));
    ASSERT_EQ(0, m_doc.GetDataInfoFromXMLFile(item));
    EXPECT_EQ(0, item->nRR50Count);
    EXPECT_EQ(0, item->nRRListCount);
    EXPECT_EQ(nullptr, item->pRRList);
    EXPECT_TRUE(item->stGeneral.stBirthday.strYear.IsEmpty());
    EXPECT_TRUE(item->stGeneral.stBirthday.strMonth.IsEmpty());
    EXPECT_TRUE(item->strAnalysisEditDate.IsEmpty());

    WriteXml(files, Report("<Rr50_info/><Rr_list>" + ListTimes(4) + "</Rr_list>"));
    ASSERT_EQ(0, m_doc.GetDataInfoFromXMLFile(item));
    EXPECT_EQ(0, item->nRR50Count);
    EXPECT_EQ(0, item->nRRListCount);
}

TEST_F(RRDocTest, FormEditsAreSavedAndReadBack)
{
    RRRecordPlan plan;
    plan.seconds = 30.0;
    const RRFiles files = Write("edit", plan);
    _RRDATAITEM* item = Add(files);
    ASSERT_EQ(0, Open(files));
    const std::vector<_RR_LIST_ENTRY> intervals = ListOf(item);
    const CString totals = item->strRRTotal[RR_TOTAL_SD];

    m_doc.SetCtrlContent(nullptr);
    EXPECT_EQ(item->stGeneral.strSympton, StoredText(m_doc, 3641));
    EXPECT_EQ(0, m_doc.IsEidtChange());

    auto edit = [this](UINT id, const wchar_t* value) { m_doc.SetCtrlData(id, value, 0, -1); };
    edit(3003, L"山田 花子");
    edit(3631, L"1970");
    edit(3633, L"02");
    edit(3635, L"28");
    edit(3641, L"動悸");
    edit(3651, L"循環器科");
    edit(3999, L"薬剤");
    edit(4008, L"なし");
    edit(4017, L"一行目\r\n二行目");
    EXPECT_EQ(1, m_doc.IsEidtChange());
    EXPECT_EQ(1, m_doc.IsInformationChange());
    EXPECT_EQ(1, m_doc.IsAdditionChange());
    EXPECT_EQ(1, m_doc.IsCommentChange());
    item->strInfoEditor = L"技師A";
    item->strInfoEditDate = L"2024/05/06 07:08:09";
    ASSERT_EQ(0, m_doc.SaveDataToXML(item->nID));

    CTestRRDoc next;
    _RRDATAITEM* again = Reopen(next, files);
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(CString(L"山田 花子"), again->stPatient.strName);
    EXPECT_EQ(CString(L"1970"), again->stGeneral.stBirthday.strYear);
    EXPECT_EQ(CString(L"02"), again->stGeneral.stBirthday.strMonth);
    EXPECT_EQ(CString(L"28"), again->stGeneral.stBirthday.strDay);
    EXPECT_EQ(CString(L"動悸"), again->stGeneral.strSympton);
    EXPECT_EQ(CString(L"循環器科"), again->stGeneral.strReqSection);
    EXPECT_EQ(1, again->bReqSection);
    EXPECT_EQ(CString(L"薬剤"), again->stAddition.strTitle[0]);
    EXPECT_EQ(CString(L"なし"), again->stAddition.strContent[0]);
    EXPECT_EQ(CString(L"一行目\r\n二行目"), again->stGeneral.strComment);
    EXPECT_EQ(CString(L"技師A"), again->strInfoEditor);
    EXPECT_EQ(CString(L"2024/05/06 07:08:09"), again->strInfoEditDate);
    // The device's analysis is never written.
    EXPECT_EQ(intervals, ListOf(again));
    EXPECT_EQ(totals, again->strRRTotal[RR_TOTAL_SD]);

    next.SetCtrlContent(nullptr);
    EXPECT_EQ(0, next.IsEidtChange());
}

TEST_F(RRDocTest, SavingCreatesStyledElementsAndDropsImpossibleBirthdays)
{
    RRRecordPlan plan;
    plan.xml.omit = {morvelance::XmlSection::Patient, morvelance::XmlSection::Interpretation};
    const RRFiles files = Write("bare", plan);
    _RRDATAITEM* item = Add(files);
    ASSERT_EQ(0, Open(files));
    m_doc.SetCtrlContent(nullptr);
    m_doc.SetCtrlData(3011, L"45", 0, -1);
    m_doc.SetCtrlData(3012, L"歳", 0, -1);
    m_doc.SetCtrlData(3631, L"1970", 0, -1);
    m_doc.SetCtrlData(3633, L"02", 0, -1);
    m_doc.SetCtrlData(3635, L"30", 0, -1);
    item->stPatient.strReserved = L"2024/05/06 07:08:09";
    item->strCommentDate = L"2024/05/06 08:00:00";
    ASSERT_EQ(0, m_doc.SaveDataToXML(item->nID));

    EXPECT_EQ(CString(L"Age"), ReadXmlValue(files.xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Age", L"style"));
    EXPECT_EQ(CString(L"Date"), ReadXmlValue(files.xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Edit_time", L"style"));
    EXPECT_TRUE(ReadXmlValue(files.xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday/@year").IsEmpty());
    EXPECT_EQ(CString(L"30"), item->stGeneral.stBirthday.strDay);

    CTestRRDoc next;
    _RRDATAITEM* again = Reopen(next, files);
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(CString(L"45"), again->stPatient.strAge);
    EXPECT_EQ(CString(L"歳"), again->stPatient.strAgeUnit);
    EXPECT_EQ(CString(L"2024/05/06 07:08:09"), again->stPatient.strReserved);
    EXPECT_EQ(CString(L"2024/05/06 08:00:00"), again->strCommentDate);
    EXPECT_TRUE(again->stGeneral.stBirthday.strYear.IsEmpty());
    // A date the save wrote empty is no date.
    EXPECT_TRUE(again->strInfoEditDate.IsEmpty());
}

TEST_F(RRDocTest, SavesOfUnknownOrUnreadableRecordsAreRefused)
{
    const RRFiles files = Write("refuse");
    _RRDATAITEM* item = Add(files);
    ASSERT_EQ(0, Open(files));
    EXPECT_EQ(255, m_doc.SaveDataToXML(42));
    EXPECT_EQ(255, m_doc.SaveAnnotationToXML(42));
    EXPECT_EQ(0, m_doc.SaveAnnotationToXML(item->nID));

    // A record XML that does not parse stays as it is, and the save says so.
    const std::string broken = "<Rawdata><Tavrion>";
    m_dir.Write("refuse.xml", broken);
    EXPECT_EQ(255, m_doc.SaveDataToXML(item->nID));
    EXPECT_EQ(broken, testsupport::ReadFileBytes(files.xml));

    item->strXMLPath.Empty();
    EXPECT_EQ(255, m_doc.SaveDataToXML(item->nID));
    EXPECT_EQ(255, m_doc.SaveAnnotationToXML(item->nID));
    EXPECT_EQ(255, m_doc.GetDataInfoFromXMLFile(item));
}

TEST_F(RRDocTest, DisplaySettingsRoundTrip)
{
    const RRFiles files = Write("settings");
    Add(files);
    ASSERT_EQ(0, Open(files));
    m_doc.SetPageStyle(5);
    m_doc.SetFilter(35);
    m_doc.SetSpeed(25.0f / 3.0f);
    m_doc.SetSense(6, 2.5f, 0);
    for (int id : {7, 9, 10, 11}) m_doc.SetReferenceIntoXML(id, 0);
    m_doc.SetSenseMode(3);
    m_doc.SetReferenceIntoXML(15, 0);
    m_doc.SetGridType(2);
    m_doc.SetReferenceIntoXML(5, 0);
    const CString setting = L"/Rawdata/Assist_info/Reference/Setting/";
    EXPECT_EQ(CString(L"8.3"), ReadXmlValue(files.xml, setting + L"Speed"));
    EXPECT_EQ(CString(L"2.50"), ReadXmlValue(files.xml, setting + L"Sensitivity"));
    EXPECT_EQ(CString(L"2"), ReadXmlValue(files.xml, setting + L"Draw_setting/Grid_type"));

    CTestRRDoc next;
    Add(files, next);
    next.UpDateReferenceInfo(CString());
    EXPECT_EQ(5, next.GetPageStyle());
    EXPECT_EQ(35, next.GetFilter());
    EXPECT_FLOAT_EQ(25.0f / 3.0f, next.GetSpeed());
    EXPECT_EQ(3u, next.GetSenseMode());
    EXPECT_EQ(2, next.GetGridType());
    next.SetSenseMode(1);
    EXPECT_EQ(2.5f, next.GetCommonSense(0));

    // Numbers the RR screens do not have leave the settings as they are.
    const CString before = ReadXmlValue(files.xml, L"/Rawdata/Assist_info/Reference/Setting/Page_style");
    next.SetPageStyle(8);
    next.SetReferenceIntoXML(12, 0);
    next.SetReferenceIntoXML(99, 0);
    EXPECT_EQ(before, ReadXmlValue(files.xml, L"/Rawdata/Assist_info/Reference/Setting/Page_style"));
    EXPECT_TRUE(ReadXmlValue(files.xml, L"/Rawdata/Assist_info/Reference/Setting/Serial_overlap").IsEmpty());
}

TEST_F(RRDocTest, DisplaySettingsOutsideTheOfferedValuesFallBack)
{
    const RRFiles files = Write("odd");
    Add(files);
    // Stored text, then what the document takes from it.
    static const struct {
        const char* speed;
        float fSpeed;
        const char* filter;
        int nFilter;
        const char* sense;
        float fSense;
        const char* page;
        int nPage;
        const char* mode;
        UINT uMode;
    } kCases[] = {
        {"8.3", 25.0f / 3.0f, "40", 100, "2.50", 2.5f, "0", 1, "7", 7},
        {"8.5", 25.0f, "0", 0, "3", 10.0f, "10", 1, "2", 2},
        {"12.5", 25.0f, "150", 150, "0", 10.0f, "9", 9, "1", 1},
        {"50", 50.0f, "-100", 100, "-5", 10.0f, "x", 1, "3", 3},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.speed);
        WriteXml(files, std::string(),
                 std::string("<Page_style>") + c.page + "</Page_style><Filter>" + c.filter + "</Filter><Speed>" +
                     c.speed + "</Speed><Sensitivity mode=\"" + c.mode + "\">" + c.sense + "</Sensitivity>");
        m_doc.UpDateReferenceInfo(CString());
        EXPECT_FLOAT_EQ(c.fSpeed, m_doc.GetSpeed());
        EXPECT_EQ(c.nFilter, m_doc.DocFilter());
        EXPECT_EQ(c.nPage, m_doc.GetPageStyle());
        EXPECT_EQ(c.uMode, m_doc.GetSenseMode());
        EXPECT_EQ(c.fSense, m_doc.GetSense(6, 0));
    }
    // Without any setting every value takes its default.
    WriteXml(files, std::string());
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(25.0f, m_doc.GetSpeed());
    EXPECT_EQ(100, m_doc.DocFilter());
    EXPECT_EQ(1, m_doc.GetPageStyle());
    EXPECT_EQ(1u, m_doc.GetSenseMode());
    EXPECT_EQ(10.0f, m_doc.GetSense(6, 0));
}

TEST_F(RRDocTest, ListedMedicationsShowAndChangeChecksCountLetterCase)
{
    const RRFiles files = Write("form");
    _RRDATAITEM* item = Add(files);
    ASSERT_EQ(0, Open(files));
    for (const wchar_t* name : {L"薬A", L"薬B", L"薬C"})
        m_doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), name);
    item->stGeneral.strMedication1.Empty();
    item->stGeneral.nMedication1Sel = 1;
    item->stGeneral.strMedication2 = L"手入力";
    item->stGeneral.nMedication2Sel = 0;
    m_doc.SetCtrlContent(nullptr);
    EXPECT_EQ(CString(L"薬B"), StoredText(m_doc, 3637));
    EXPECT_EQ(CString(L"手入力"), StoredText(m_doc, 3639));
    EXPECT_EQ(0, m_doc.IsInfoEditChange(item));
    EXPECT_EQ(0, m_doc.IsInfoEditChange(nullptr));

    // Letter case counts.
    m_doc.SetCtrlData(4017, item->stGeneral.strComment + L"x", 0, -1);
    EXPECT_EQ(1, m_doc.IsCommentEditChange(item));
    m_doc.SetCtrlData(3999, L"Title", 1, -1);
    item->stAddition.strTitle[0] = L"title";
    EXPECT_EQ(1, m_doc.IsAdditionEditChange(item));
}

TEST_F(RRDocTest, MitBih100OpensAsAnRRRecordWithItsBeats)
{
    REQUIRE_SHARED_DATA(hea, "physionet/mitdb/100.hea");
    const std::string path = hea.substr(0, hea.size() - 4);
    morvelance::RecordBuilder record;
    std::string error;
    ASSERT_TRUE(morvelance::MakeRRRecordFromWfdb(path, 120.0, 1, &record, &error)) << error;
    RRFiles files;
    files.record = m_dir.File("100.ecg");
    files.xml =
        morvelance::WriteRRRecordFiles(files.record, record, morvelance::RecordXmlOptions(), m_dir.File("100.xml"));
    _RRDATAITEM* item = Add(files);
    ASSERT_EQ(0, Open(files));

    std::vector<morvelance::WfdbAnnotation> annotations;
    ASSERT_TRUE(morvelance::ReadWfdbAnnotations(path + ".atr", &annotations, &error)) << error;
    std::vector<int64_t> beats;
    for (int64_t beat : morvelance::BeatPositions(annotations)) {
        if (beat < 120 * 360) beats.push_back(beat);
    }
    ASSERT_GT(beats.size(), 100u);
    ASSERT_EQ(static_cast<int>(beats.size()) - 1, item->nRRListCount);
    // Intervals from the reference annotations, in ms at the record's 360 Hz;
    // the record's 500 Hz positions round each to within a few ms.
    for (int i = 0; i < item->nRRListCount; ++i)
        EXPECT_NEAR((beats[i + 1] - beats[i]) * 1000.0 / 360.0, item->pRRList[i].nValue, 4.5) << i;
    EXPECT_EQ(1, item->nLeadCount);
    EXPECT_EQ(120 * 500 * 2, m_doc.GetRhythmWaveData(0, nullptr, -1));
    m_doc.SetSpeed(25.0f);
    EXPECT_EQ(120 * 500 / 31200, m_doc.GetRhythmWaveTotalPage(260, 0));
}

TEST_F(RRDocTest, TheCommentIsWrittenWithCrLfAndReadsBackWhole)
{
    const RRFiles files = Write("crlf");
    commenttest::ExpectCommentsKeepTheirLineEnds(files.xml, [&]() -> std::unique_ptr<CTavrionDoc> {
        auto doc = std::make_unique<CTestRRDoc>();
        if (!Reopen(*doc, files)) return nullptr;
        return doc;
    });
}
