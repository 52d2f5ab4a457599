// The record-XML writer of the record maker: its files parse, carry the paths
// the documents read and the layout binds, encode Japanese in both encodings,
// and the awkward options give the values the readers must refuse.
#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/ECGXMLParser.h"
#include "platform/zarn/ZarnBuilder.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/XmlTestUtil.h"
#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/MasterFiles.h"
#include "tools/Mkrecord.h"
#include "tools/RecordXml.h"
#include "tools/SampleRecords.h"
#include "tools/TextCodec.h"
#include "tools/XmlTree.h"

using namespace morvelance;
using morvelance::rec::RecordKind;
using testsupport::TempDir;
using testsupport::Wide;
using xmltest::Doc;

namespace {

const std::string kPs = "/Rawdata/Tavrion/Inspection/Patient_section/";

std::string WriteSample(const TempDir& dir, RecordKind kind, const RecordXmlOptions& options = RecordXmlOptions(),
                        bool older = false) {
    const std::string path = dir.File(std::string(SampleStem(kind)) + (older ? "_80" : "_90") + ".xml");
    WriteSampleRecordXml(path, kind, options, older);
    return path;
}

int RunCli(const std::vector<std::string>& args, std::string* out = nullptr) {
    std::ostringstream o, e;
    const int rc = RunMkrecord(args, o, e);
    if (out) *out = o.str() + e.str();
    return rc;
}

// The system's reader gives back what the file holds whatever its length;
// whether it fits is the check a person's input gets, with the record's
// 8000 flag. A value that is missing or cannot be read is never valid.
int ReadValid(const std::string& file, int flag, const std::string& xpath, int type = 4, const char* attribute = "") {
    CECGXMLParser xml(Wide(file), flag, CString());
    CString value;
    if (!xml.GetDataFromXMLDOM(value, Wide(xpath), type, Wide(attribute)) || value.IsEmpty()) return 0;
    return xml.ValidData(value, Wide(xpath), type, Wide(attribute));
}

}  // namespace

// ---- the tree and its text form --------------------------------------------------

TEST(XmlTree, AtCreatesMissingStepsAndFindsExistingOnes) {
    XmlElement root("Rawdata");
    root.At("/Rawdata/A/B[@number='2']/C[3]").SetText("x");
    ASSERT_NE(root.Find("A/B[@number='2']"), nullptr);
    EXPECT_EQ(root.Find("A")->Count("B"), 1u);
    EXPECT_EQ(root.Find("A/B[@number='2']")->Count("C"), 3u);  // C[1] and C[2] made on the way
    EXPECT_EQ(root.Find("A/B[@number='2']/C[3]")->Text(), "x");
    EXPECT_TRUE(root.Find("A/B[@number='2']/C[1]")->Text().empty());

    // The same path again reaches the same element; another predicate makes a sibling.
    root.At("/Rawdata/A/B[@number='2']/C[3]").SetText("y");
    root.At("A/B[@number='1']");
    EXPECT_EQ(root.Find("A")->Count("B"), 2u);
    EXPECT_EQ(root.Find("A/B[@number='2']/C[3]")->Text(), "y");
    EXPECT_EQ(root.Find("A/B[@number='3']"), nullptr);
    EXPECT_EQ(root.Find("/Other/A"), nullptr);

    for (const char* bad : {"", "/", "A//B", "A/", "A[0]", "A[x]", "A[@n=1]", "A[@='1']", "A[@n='1'", "/Other/A"})
        EXPECT_THROW(root.At(bad), std::invalid_argument) << bad;
}

TEST(XmlTree, EscapesMarkupAndKeepsCarriageReturns) {
    XmlElement root("R");
    root.Append("T").SetText("a<b>&c \"q\" 'p'\r\nline\x01");
    root.Append("E").SetAttribute("v", "<\"&\">\n\ttab");
    root.Append("Empty");
    const std::string text = SerializeXml(root, XmlEncoding::Utf8);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", 0), 0u);
    EXPECT_NE(text.find("<Empty/>"), std::string::npos);

    Doc doc = Doc::FromMemory(text, nullptr);
    ASSERT_TRUE(doc.ok()) << text;
    // The CR survives the parser's line-end folding; the control character is dropped.
    EXPECT_EQ(doc.Value("/R/T"), "a<b>&c \"q\" 'p'\r\nline");
    EXPECT_EQ(doc.Value("/R/E/@v"), "<\"&\">\n\ttab");

    XmlElement broken("R");
    broken.SetText(std::string("\xE5\xB1", 2));
    EXPECT_THROW(SerializeXml(broken, XmlEncoding::Utf8), std::runtime_error);
}

TEST(XmlTree, ShiftJisWritesCodePage932AndReferencesWhatItLacks) {
    XmlElement root("R");
    root.Append("Name").SetText("山田 ｺﾒﾝﾄ");
    root.Append("Rare").SetText("\xF0\xA0\xAE\xB7");  // U+20BB7, outside code page 932
    const std::string bytes = SerializeXml(root, XmlEncoding::ShiftJis);
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n", 0), 0u);
    EXPECT_NE(bytes.find("\x8E\x52\x93\x63 \xBA\xD2\xDD\xC4"), std::string::npos);  // 山田 ｺﾒﾝﾄ
    EXPECT_NE(bytes.find("&#x20BB7;"), std::string::npos);

    Doc doc = Doc::FromMemory(bytes, nullptr);  // libxml2 converting on its own from the declaration
    ASSERT_TRUE(doc.ok());
    EXPECT_EQ(doc.Value("/R/Name"), "山田 ｺﾒﾝﾄ");
    EXPECT_EQ(doc.Value("/R/Rare"), "\xF0\xA0\xAE\xB7");
}

// ---- the record XML of every kind ----------------------------------------------------

TEST(RecordXml, EverySampleParsesAndCarriesItsKindsSections) {
    TempDir dir;
    struct Expect {
        RecordKind kind;
        const char* id;
        int minnesota, ivrel;
        const char* waveCount;  // XPath whose count is checked below
        int waveNodes;
    };
    const Expect expects[] = {
        {RecordKind::Rest12, "MV-1001", 8, 11, "/Rawdata/Tavrion/Wave/Rhythm_section", 0},
        {RecordKind::Rest15, "MV-1002", 8, 11, "/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Wave_data", 3},
        {RecordKind::Rhythm, "MV-1003", 0, 0, "/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Wave_data", 3},
        {RecordKind::Rr, "MV-1004", 0, 0, "/Rawdata/Tavrion/Wave/Three_Lead_section/Lead_code", 3},
        {RecordKind::ExtraLeads, "MV-1005", 0, 0, "/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Wave_data", 6},
    };
    for (const Expect& e : expects) {
        SCOPED_TRACE(SampleStem(e.kind));
        Doc doc(WriteSample(dir, e.kind));
        ASSERT_TRUE(doc.ok());
        EXPECT_EQ(doc.Value(kPs + "Patient_id"), e.id);
        EXPECT_EQ(doc.Value(kPs + "Acquition_date/@style"), "Date");
        EXPECT_EQ(doc.Value(kPs + "Acquition_date/@year"), "2024");
        EXPECT_EQ(doc.Value(kPs + "Acquition_date/@minute"), "30");
        EXPECT_EQ(doc.Value(kPs + "Age/@style"), "Age");
        EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota"), e.minnesota);
        EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel"), e.ivrel);
        EXPECT_EQ(doc.Count(e.waveCount), e.waveNodes);
        EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Wave/Wave_add_section/Lead_name/Lead_name_element"), 12);
        EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content"), 3);
        EXPECT_EQ(doc.Count("/Rawdata/Annotation/Anno"), 2);
        EXPECT_EQ(doc.Count("/Rawdata/Assist_info/Reference/Setting/Draw_setting/Color_setting/Text_color/*"), 9);
        EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Report/Rr_list") == 1, e.kind == RecordKind::Rr);
    }
}

TEST(RecordXml, LeadCodesAndRrAnalysisComeFromTheDeviceRecord) {
    TempDir dir;
    Doc rest15(WriteSample(dir, RecordKind::Rest15));
    // The three leads beyond the standard twelve: V3R, V4R, V7 in the electrode numbering.
    EXPECT_EQ(rest15.Values("/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Wave_data/Lead_code"),
              (std::vector<std::string>{"11", "12", "9"}));

    const RecordXmlSource rr = SampleRecordXmlSource(RecordKind::Rr);
    ASSERT_GT(rr.beats.size(), 60u);
    Doc doc(WriteSample(dir, RecordKind::Rr));
    const int intervals = static_cast<int>(rr.beats.size()) - 1;
    EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Report/Rr_list/List_time"), intervals);
    EXPECT_EQ(doc.Value("/Rawdata/Tavrion/Report/Rr_list/@count"), std::to_string(intervals));
    EXPECT_EQ(doc.Value("/Rawdata/Tavrion/Report/Rr_list/List_time[1]/@data"),
              std::to_string((rr.beats[1] - rr.beats[0]) * 2));  // 500 Hz samples -> ms
    EXPECT_EQ(doc.Value("/Rawdata/Tavrion/Report/Rr_total/Total_beat"), std::to_string(rr.beats.size()));
    // One row of the per-minute table for a record shorter than a minute,
    // its lengths in seconds as the table's headings state them.
    long longest = 0;
    for (size_t i = 1; i < rr.beats.size(); ++i) longest = std::max<long>(longest, (rr.beats[i] - rr.beats[i - 1]) * 2);
    ASSERT_LT((rr.beats.back() - rr.beats.front()) * 2, 60000);
    EXPECT_EQ(doc.Value("/Rawdata/Tavrion/Report/Rr50_info/@count"), "1");
    for (const char* column : {"Rr50_max", "Rr50_min", "Rr50_avg", "Rr50_hr", "Rr50_sd", "Rr50_rr_hr", "Rr50_radio", "Rr50_cv"})
        EXPECT_EQ(doc.Count(std::string("/Rawdata/Tavrion/Report/Rr50_info/") + column + "/" + column + "_element"), 1);
    char seconds[16];
    std::snprintf(seconds, sizeof seconds, "%.3f", static_cast<double>(longest) / 1000);
    EXPECT_EQ(doc.Value("/Rawdata/Tavrion/Report/Rr50_info/Rr50_max/Rr50_max_element[1]/@data"), seconds);
    EXPECT_EQ(doc.Values("/Rawdata/Tavrion/Wave/Three_Lead_section/Lead_code"), (std::vector<std::string>{"2", "0", "0"}));
}

TEST(RecordXml, OnlyTheRecordsOfALoadTestKeepATimeAfterTheLoadAndEveryRecordNamesItsPatient) {
    TempDir dir;
    ASSERT_EQ(0, RunCli({"samples", dir.Path()}));
    ASSERT_EQ(0, RunCli({"examinations", dir.Path()}));
    int loadTests = 0, records = 0;
    for (const std::string& name : testsupport::FolderEntries(dir.Path())) {
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".xml") != 0) continue;
        const Doc doc(dir.File(name));
        ASSERT_TRUE(doc.ok()) << name;
        ++records;
        const bool loadTest = name.rfind("exercise", 0) == 0 || name.rfind("mstep", 0) == 0;
        loadTests += loadTest;
        EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Record/Mstep_section/Load_time"), loadTest ? 1 : 0) << name;
        EXPECT_FALSE(doc.Value(kPs + "Patient_id").empty()) << name;
        EXPECT_FALSE(doc.Value(kPs + "Patient_name").empty()) << name;
    }
    EXPECT_GE(loadTests, 2);
    EXPECT_GT(records, loadTests);
}

TEST(RecordXml, ReadsTheSourceBackFromARecordFile) {
    TempDir dir;
    SynthOptions s;
    s.seconds = 10;
    EcgRecord ecg = SynthFor(RecordKind::Rest12, s, 1);
    ecg.patient.id = "ID-77";
    ecg.patient.name = "佐藤 花子";
    ecg.patient.sex = "F";
    ecg.patient.age = "7";
    ecg.time = DateTime{2004, 2, 29, 13, 5, 9};
    DeviceRecordOptions o;
    o.systemCode = 243;
    const std::string path = dir.File("A001.ecg");
    MakeDeviceRecord(ecg, o).WriteFile(path, zarn::Flavour::Older80);

    RecordXmlSource src;
    std::string error;
    ASSERT_TRUE(ReadRecordXmlSource(path, &src, &error)) << error;
    EXPECT_TRUE(src.olderReader);
    EXPECT_EQ(src.systemCode, 243);
    EXPECT_EQ(src.patient.name, "佐藤 花子");
    EXPECT_EQ(src.time.day, 29);
    ASSERT_EQ(src.leads.size(), 12u);
    EXPECT_EQ(src.leads[8], LeadId::III);
    EXPECT_NEAR(src.seconds, 10.0, 1e-9);
    EXPECT_GT(src.heartRate, 60);

    EXPECT_EQ(RecordXmlPathFor(path, src.time), dir.File("A00120040229130509.xml"));
    EXPECT_EQ(RecordXmlPathFor("rec.d/A001", src.time), "rec.d/A00120040229130509.xml");
    WriteRecordXml(RecordXmlPathFor(path, src.time), src, RecordXmlOptions());
    Doc doc(RecordXmlPathFor(path, src.time));
    EXPECT_EQ(doc.Value(kPs + "Sex/@value"), "女");
    EXPECT_EQ(doc.Value(kPs + "Age/@year"), "7");
    // Low byte 243: a master-step record carries its comparisons and trend.
    EXPECT_EQ(doc.Value("/Rawdata/Tavrion/Report/Cmp_load/@count"), "3");
    EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Report/Cmp_load/Cmp_load_element[2]/Stm/Stm_element"), 12);
    EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Report/Summary_trend/Trend/Trend_element[5]/Trend_value"), 12);

    // A file that is no record fails with a message, and so does a missing one.
    const std::string junk = dir.Write("junk.ecg", "MZRC but not really a record");
    EXPECT_FALSE(ReadRecordXmlSource(junk, &src, &error));
    EXPECT_NE(error.find("not a valid record"), std::string::npos);
    EXPECT_FALSE(ReadRecordXmlSource(dir.File("none.ecg"), &src, &error));
}

// The layout stylesheet's bound paths (another part of the installation) all
// meet a node of the file written with every section.
TEST(RecordXml, EverySectionFileHoldsEveryPathTheLayoutBinds) {
    const std::string xsl = testsupport::WorkDir() + "/Tavrion.xsl";
    Doc layout(xsl);
    if (!layout.ok()) GTEST_SKIP() << "no layout stylesheet in the work directory";
    const std::vector<std::string> paths = layout.Values("//Xml_path");
    ASSERT_GT(paths.size(), 100u);

    TempDir dir;
    RecordXmlOptions every;
    every.coverage = Coverage::EveryKind;
    Doc doc(WriteSample(dir, RecordKind::Rest12, every));
    ASSERT_TRUE(doc.ok());
    for (const std::string& p : paths) EXPECT_GE(doc.Count(p), 1) << p;
}

TEST(RecordXml, InterpretationRowsNameCodesOfTheMasters) {
    TempDir dir;
    Doc doc(WriteSample(dir, RecordKind::Rest12));
    const std::string an = "/Rawdata/Tavrion/Analysis/Analysis_section/";
    for (int n = 1; n <= 8; ++n) {
        const std::string row = an + "Minnesotas/Minnesota[@number='" + std::to_string(n) + "']";
        const std::string code = doc.Value(row + "/@title");
        EXPECT_FALSE(MinnesotaText(code).empty()) << code;
        EXPECT_EQ(doc.Value(row), MinnesotaText(code));
        EXPECT_EQ(doc.Count(row + "/@mask"), 1);
    }
    for (int n = 1; n <= 11; ++n) {
        const std::string row = an + "Ivreles/Ivrel[@number='" + std::to_string(n) + "']";
        EXPECT_EQ(doc.Value(row), IvrelText(doc.Value(row + "/@title")));
        EXPECT_FALSE(doc.Value(row).empty());
    }
    EXPECT_EQ(doc.Value(an + "Judgement"), IvrelText(doc.Value(an + "Judgement/@value")));
    EXPECT_EQ(doc.Value(an + "Ivreles/@version"), "12");
}

TEST(RecordXml, JapaneseTextsReadTheSameInBothEncodings) {
    TempDir dir;
    RecordXmlOptions sjis;
    sjis.encoding = XmlEncoding::ShiftJis;
    const std::string utf8Path = WriteSample(dir, RecordKind::Rest15);
    const std::string sjisPath = dir.File("sjis.xml");
    WriteSampleRecordXml(sjisPath, RecordKind::Rest15, sjis);

    const std::string bytes = testsupport::ReadFileBytes(sjisPath);
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>", 0), 0u);
    EXPECT_NE(bytes.find("\x8D\xB2\x93\xA1 \x89\xD4\x8E\x71"), std::string::npos);  // 佐藤 花子 in code page 932
    EXPECT_EQ(bytes.find("\xE4\xBD\x90"), std::string::npos);                        // no UTF-8 left

    Doc utf8(utf8Path), viaDeclaration(sjisPath), viaCp932(sjisPath, "CP932");
    ASSERT_TRUE(utf8.ok() && viaDeclaration.ok() && viaCp932.ok());
    EXPECT_EQ(viaDeclaration.Dump(), utf8.Dump());
    EXPECT_EQ(viaCp932.Dump(), utf8.Dump());
    EXPECT_EQ(viaDeclaration.Value(kPs + "Patient_kana_name"), "サトウ ハナコ");

    // The system's reader sees the same patient in both files.
    for (const std::string& file : {utf8Path, sjisPath}) {
        CECGXMLParser xml(Wide(file), 0, CString());
        CString name;
        EXPECT_NE(xml.GetDataFromXMLDOM(name, Wide(kPs + "Patient_name"), 4, CString()), 0) << file;
        EXPECT_EQ(name, CString(L"佐藤 花子")) << file;
    }
}

// ---- the awkward files ------------------------------------------------------------------

TEST(RecordXml, BadDatesSpoilEveryDateButTheAnalysisFallback) {
    TempDir dir;
    struct Case {
        BadDate bad;
        const char *year, *month, *day;
    };
    for (const Case& c : {Case{BadDate::Feb29, "2003", "02", "29"}, Case{BadDate::Month13, "2024", "13", "01"}}) {
        RecordXmlOptions o;
        o.badDate = c.bad;
        const std::string file = WriteSample(dir, RecordKind::Rhythm, o);
        Doc doc(file);
        const std::string acq = kPs + "Acquition_date";
        EXPECT_EQ(doc.Value(acq + "/@year"), c.year);
        EXPECT_EQ(doc.Value(acq + "/@month"), c.month);
        EXPECT_EQ(doc.Value(acq + "/@day"), c.day);
        EXPECT_EQ(doc.Value("/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date/@month"), c.month);
        EXPECT_EQ(doc.Value(kPs + "Birthday/@month"), c.bad == BadDate::Feb29 ? "02" : "13");

        CECGXMLParser xml(Wide(file), 0, CString());
        _XML_ATTRIB_DATE date;
        EXPECT_EQ(xml.GetDateAttrib(date, Wide(acq), 1), 0);
        EXPECT_EQ(date.strDay, Wide(c.day));  // the texts read stay
        EXPECT_EQ(xml.GetDateAttrib(date, Wide(acq), 0), 1);
        EXPECT_EQ(xml.GetDateAttrib(date, L"/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date", 1), 1);
        EXPECT_EQ(date.strMonth, CString(L"04"));
    }
}

TEST(RecordXml, LimitedValuesAreWrittenAtAndPastTheirLimits) {
    TempDir dir;
    const std::string limited[] = {kPs + "Patient_id",  kPs + "Patient_name", kPs + "Patient_kana_name",
                                   kPs + "Symptom",     kPs + "Ward",         kPs + "Room_no",
                                   kPs + "Technician",  "/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id",
                                   kPs + "Medications/Medication[@number='1']",
                                   "/Rawdata/Tavrion/Comment/Voktext_section/Comment_content",
                                   "/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']",
                                   "/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title"};
    const std::string trip = "/Rawdata/Tavrion/Record/Mstep_section/Trip_info";
    for (ValueRange range : {ValueRange::Normal, ValueRange::AtLimit, ValueRange::OverLimit}) {
        RecordXmlOptions o;
        o.range = range;
        const std::string file = WriteSample(dir, RecordKind::Rest12, o);
        const int valid = range == ValueRange::OverLimit ? 0 : 1;
        for (const std::string& path : limited) EXPECT_EQ(ReadValid(file, 0, path) != 0, valid == 1) << path;
        EXPECT_EQ(ReadValid(file, 0, trip, 2, "trip") != 0, valid == 1);
        EXPECT_EQ(ReadValid(file, 0, trip, 2, "total") != 0, valid == 1);
    }
    RecordXmlOptions at;
    at.range = ValueRange::AtLimit;
    Doc doc(WriteSample(dir, RecordKind::Rest12, at));
    EXPECT_EQ(doc.Value(kPs + "Patient_id").size(), 20u);
    EXPECT_EQ(doc.Value(trip + "/@trip"), "999");
}

TEST(RecordXml, ModelEightThousandRecordsKeepTheirOwnLimits) {
    TempDir dir;
    const std::string neverValid[] = {kPs + "Patient_kana_name", kPs + "Symptom", kPs + "Room_no",
                                      "/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id"};
    const std::string trip = "/Rawdata/Tavrion/Record/Mstep_section/Trip_info";

    // As the recorder writes them: ids cut to 12 bytes, no fields it lacks, no additions.
    Doc normal(WriteSample(dir, RecordKind::Rest12, RecordXmlOptions(), true));
    for (const std::string& path : neverValid) EXPECT_EQ(normal.Count(path), 0) << path;
    EXPECT_EQ(normal.Count("/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content"), 0);

    RecordXmlOptions at;
    at.range = ValueRange::AtLimit;
    const std::string atFile = dir.File("at8000.xml");
    WriteSampleRecordXml(atFile, RecordKind::Rest12, at, true);
    EXPECT_EQ(Doc(atFile).Value(kPs + "Patient_id").size(), 12u);
    EXPECT_NE(ReadValid(atFile, 1, kPs + "Patient_id"), 0);
    EXPECT_NE(ReadValid(atFile, 1, trip, 2, "trip"), 0);
    EXPECT_NE(ReadValid(atFile, 1, trip, 2, "total"), 0);

    RecordXmlOptions over;
    over.range = ValueRange::OverLimit;
    const std::string overFile = dir.File("over8000.xml");
    WriteSampleRecordXml(overFile, RecordKind::Rest12, over, true);
    Doc doc(overFile);
    EXPECT_EQ(doc.Value(kPs + "Patient_id").size(), 13u);  // fine for an ordinary record, too long here
    EXPECT_NE(ReadValid(overFile, 0, kPs + "Patient_id"), 0);
    EXPECT_EQ(ReadValid(overFile, 1, kPs + "Patient_id"), 0);
    EXPECT_EQ(doc.Value(trip + "/@trip"), "256");
    EXPECT_NE(ReadValid(overFile, 0, trip, 2, "trip"), 0);
    EXPECT_EQ(ReadValid(overFile, 1, trip, 2, "trip"), 0);
    EXPECT_EQ(ReadValid(overFile, 1, trip, 2, "total"), 0);
    for (const std::string& path : neverValid) {
        EXPECT_EQ(doc.Count(path), 1) << path;  // written, and refused whatever it holds
        EXPECT_EQ(ReadValid(overFile, 1, path), 0) << path;
        EXPECT_NE(ReadValid(overFile, 0, path), 0) << path;
    }
}

TEST(RecordXml, OmittedSectionsAreAbsentAndTheRestStays) {
    TempDir dir;
    const std::pair<XmlSection, const char*> probes[] = {
        {XmlSection::Patient, "/Rawdata/Tavrion/Inspection/Patient_section/Patient_id"},
        {XmlSection::Interpretation, "/Rawdata/Tavrion/Inspection/Voktext_section"},
        {XmlSection::Additions, "/Rawdata/Tavrion/Addition"},
        {XmlSection::Comment, "/Rawdata/Tavrion/Comment"},
        {XmlSection::Measurements, "/Rawdata/Tavrion/Measurement"},
        {XmlSection::Analysis, "/Rawdata/Tavrion/Analysis"},
        {XmlSection::Record, "/Rawdata/Tavrion/Record"},
        {XmlSection::Wave, "/Rawdata/Tavrion/Wave"},
        {XmlSection::Report, "/Rawdata/Tavrion/Report"},
        {XmlSection::System, "/Rawdata/Tavrion/System"},
        {XmlSection::Settings, "/Rawdata/Assist_info"},
        {XmlSection::Annotations, "/Rawdata/Annotation"},
    };
    ASSERT_EQ(sizeof probes / sizeof probes[0], AllSections().size());
    for (const auto& omitted : probes) {
        RecordXmlOptions o;
        o.omit = {omitted.first};
        o.coverage = Coverage::EveryKind;  // so that the report exists to be left out
        Doc doc(WriteSample(dir, RecordKind::Rr, o));
        for (const auto& probe : probes)
            EXPECT_EQ(doc.Count(probe.second), probe.first == omitted.first ? 0 : 1)
                << "omitting " << SectionName(omitted.first) << ", probing " << probe.second;
    }
    RecordXmlOptions none;
    none.omit = AllSections();
    Doc empty(WriteSample(dir, RecordKind::Rest12, none));
    EXPECT_EQ(empty.Count("/Rawdata/*"), 0);
}

TEST(RecordXml, CountsOfRepeatedElements) {
    TempDir dir;
    RecordXmlOptions o;
    o.additions = 300;  // past the 256 the readers hold
    o.annotations = 0;
    o.minnesotaRows = 10;
    o.ivrelRows = 1;
    Doc doc(WriteSample(dir, RecordKind::Rest12, o));
    EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content"), 300);
    EXPECT_EQ(doc.Value("/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[300]/@number"), "300");
    EXPECT_EQ(doc.Count("/Rawdata/Annotation/Anno"), 0);
    EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota"), 10);
    EXPECT_EQ(doc.Count("/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel"), 1);
    const std::string tenth = doc.Value("/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[10]/@title");
    EXPECT_FALSE(MinnesotaText(tenth).empty()) << tenth;
}

// The annotations as the system's annotation reader takes them.
TEST(RecordXml, AnnotationsReadBackThroughTheSystemsReader) {
    TempDir dir;
    const std::string file = WriteSample(dir, RecordKind::Rest12);
    Doc doc(file);
    const std::string first = "/Rawdata/Annotation/Anno[1]";
    EXPECT_EQ(doc.Value(first + "/@Page_style"), "1");
    EXPECT_EQ(doc.Value(first + "/Wave_info/Speed"), "25.00");
    EXPECT_EQ(doc.Value(first + "/Wave_info/Edit_time/@style"), "Date");
    EXPECT_EQ(doc.Value(first + "/Area/Label/Type"), "10");
    EXPECT_EQ(doc.Value(first + "/Area/Label/Text"), "ST低下に注意");
    EXPECT_EQ(doc.Value(first + "/Area/Label/Color/@b"), "255");
    EXPECT_EQ(doc.Count("/Rawdata/Annotation/Anno[1]/Area/Label/Point/Point_element"), 2);
    EXPECT_EQ(doc.Count("/Rawdata/Annotation/Anno[2]/Area/Label/Point/Point_element"), 8);
    EXPECT_EQ(doc.Count("/Rawdata/Annotation/Anno[2]/Area/Label/Text"), 0);

    CECGXMLParser xml(Wide(file), 0, CString());
    _XML_ATTRIB_DATE date;
    EXPECT_EQ(xml.GetDateAttrib(date, Wide(first + "/Wave_info/Edit_time"), 1), 1);
    COLORREF colour = 0;
    EXPECT_EQ(xml.GetColorAttrib(colour, Wide(first + "/Area/Label/Color")), 1);
    EXPECT_EQ(colour, 0xFF0000u);  // r 0, g 0, b 255
    EXPECT_EQ(xml.GetObjectCount(L"/Rawdata/Annotation/Anno"), 2);
}

// ---- the command line ----------------------------------------------------------------------

TEST(RecordXmlCli, WritesBesideARecordAndForASampleKind) {
    TempDir dir;
    std::vector<std::string> xmls;
    const std::vector<std::string> records = WriteSampleRecords(dir.File("samples"), &xmls);
    ASSERT_EQ(records.size(), xmls.size());
    ASSERT_EQ(records.size(), 9u);
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(xmls[i], RecordXmlPathFor(records[i], DateTime{}));
        EXPECT_TRUE(Doc(xmls[i]).ok()) << xmls[i];
    }
    // The model-8000 sample is written as such.
    EXPECT_EQ(Doc(xmls[1]).Value("/Rawdata/Tavrion/System/System_info/System_section/System_type"), "ECG-8000");

    std::string out;
    EXPECT_EQ(RunCli({"xml", "--for", records[6], "--sjis", "--bad-date", "month13", "--omit", "annotations,settings"}, &out), 0)
        << out;
    Doc beside(xmls[6]);
    EXPECT_EQ(beside.Count("/Rawdata/Annotation"), 0);
    EXPECT_EQ(beside.Value(kPs + "Acquition_date/@month"), "13");
    EXPECT_NE(testsupport::ReadFileBytes(xmls[6]).find("Shift_JIS"), std::string::npos);

    EXPECT_EQ(RunCli({"xml", "--kind", "rr", "--flavour", "80", "--out", dir.File("rr.xml"), "--out-of-range",
                      "--annotations", "1"}, &out), 0) << out;
    Doc rr(dir.File("rr.xml"));
    EXPECT_EQ(rr.Value("/Rawdata/Tavrion/Record/Mstep_section/Trip_info/@trip"), "256");
    EXPECT_EQ(rr.Count("/Rawdata/Annotation/Anno"), 1);
    EXPECT_EQ(RunCli({"xml", "--kind", "rest12", "--every-section", "--out", dir.File("all.xml")}, &out), 0) << out;
    EXPECT_EQ(Doc(dir.File("all.xml")).Count("/Rawdata/Tavrion/Report/Exercise_section/Load/Load_time/@minute"), 1);
}

TEST(RecordXmlCli, RefusesBadUsageAndUnreadableRecords) {
    TempDir dir;
    std::string out;
    EXPECT_EQ(RunCli({"xml"}, &out), 2);
    EXPECT_EQ(RunCli({"xml", "--kind", "rest12"}, &out), 2);  // no --out
    EXPECT_EQ(RunCli({"xml", "--kind", "rest12", "--for", "x.ecg", "--out", dir.File("a.xml")}, &out), 2);
    EXPECT_EQ(RunCli({"xml", "--kind", "rest99", "--out", dir.File("a.xml")}, &out), 2);
    EXPECT_EQ(RunCli({"xml", "--kind", "rest12", "--out", dir.File("a.xml"), "--omit", "patient,bogus"}, &out), 2);
    EXPECT_NE(out.find("bogus"), std::string::npos);
    EXPECT_EQ(RunCli({"xml", "--kind", "rest12", "--out", dir.File("a.xml"), "--bad-date", "feb30"}, &out), 2);
    EXPECT_EQ(RunCli({"xml", "--kind", "rest12", "--out", dir.File("a.xml"), "--at-limit", "--out-of-range"}, &out), 2);
    EXPECT_EQ(RunCli({"xml", "--kind", "rest12", "--out", dir.File("a.xml"), "--additions", "-4"}, &out), 2);
    EXPECT_EQ(RunCli({"xml", "--for", dir.File("missing.ecg")}, &out), 1);
    EXPECT_EQ(RunCli({"xml", "--kind", "rest12", "--out", dir.File("no/such/folder/a.xml")}, &out), 1);
}

// The confirmation states, as the readers judge them: the confirmation date
// against the patient edit time written beside it, and whether a confirming
// doctor is named at all.
TEST(RecordXmlCli, ConfirmationStatesOrderTheConfirmationAgainstTheEdits) {
    TempDir dir;
    const std::string vs = "/Rawdata/Tavrion/Inspection/Voktext_section/";
    auto minuteOf = [](const Doc& doc, const std::string& date) {
        return std::stoi(doc.Value(date + "/@hour")) * 60 + std::stoi(doc.Value(date + "/@minute"));
    };
    struct Row {
        const char* state;   // --confirmation
        int order;           // sign of confirmation minus patient edit time; 0: no confirmation at all
    };
    static const Row kRows[] = {
        {"confirmed", 1},
        {"edited", -1},
        {"none", 0},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.state);
        const std::string path = dir.File(std::string(row.state) + ".xml");
        std::string out;
        ASSERT_EQ(RunCli({"xml", "--kind", "rhythm", "--out", path, "--confirmation", row.state}, &out), 0) << out;
        Doc doc(path);
        ASSERT_TRUE(doc.ok());
        const std::string confirm = vs + "Confirm_editor/Edit_date";
        if (row.order == 0) {
            EXPECT_EQ(doc.Count(vs + "Confirm_editor"), 0);
            EXPECT_EQ(doc.Count(kPs + "Doctor"), 0);
            EXPECT_EQ(doc.Count(kPs + "Edit_time"), 1);   // the rest of the section stays
            continue;
        }
        EXPECT_FALSE(doc.Value(vs + "Confirm_editor/Editor_name").empty());
        const int difference = minuteOf(doc, confirm) - minuteOf(doc, kPs + "Edit_time");
        EXPECT_EQ(difference > 0 ? 1 : -1, row.order) << difference;
    }
    std::string out;
    EXPECT_EQ(RunCli({"xml", "--kind", "rr", "--out", dir.File("bad.xml"), "--confirmation", "later"}, &out), 2);
    EXPECT_NE(out.find("--confirmation"), std::string::npos);
}

TEST(RecordXml, TheBeatTableTakesItsLengthMixedTypesAndEverySixTypeRows) {
    TempDir dir;
    RecordXmlOptions o;
    o.qrsBeats = 300;
    o.mixedQrsTypes = true;
    const std::string file = WriteSample(dir, RecordKind::Rest12, o);
    Doc doc(file);
    const std::string ms = "/Rawdata/Tavrion/Measurement/Measurement_section/";
    EXPECT_EQ(doc.Value(ms + "Qrs_no/@count"), "300");
    EXPECT_EQ(doc.Value(ms + "Qrs_no/Qrs_type/Qrs_type_element[300]/@data"), "5");
    EXPECT_EQ(doc.Value(ms + "Qrs_no/Qrs_type/Qrs_type_element[7]/@data"), "0");
    EXPECT_NE(doc.Value(ms + "Qrs_no/Rr_int/Rr_int_element[1]/@data"),
              doc.Value(ms + "Qrs_no/Rr_int/Rr_int_element[2]/@data"));
    for (const char* key : {"Ave_rr", "P_Dur", "Pr_int", "Qrs_dur", "Qt_int"})
        EXPECT_FALSE(doc.Value(ms + "Qrs/" + key + "/" + key + "_element[6]/@data").empty()) << key;
}

TEST(RecordXml, MissingMeasurementsAreWrittenAsTheirPlaceholders) {
    TempDir dir;
    RecordXmlOptions o;
    o.missingMeasures = true;
    o.qrsBeats = 3;
    const std::string file = WriteSample(dir, RecordKind::Rest12, o);
    Doc doc(file);
    const std::string mm = "/Rawdata/Tavrion/Measurement/Measurement_section/Mm/";
    for (int lead = 1; lead <= 12; ++lead)
        EXPECT_EQ(doc.Value(mm + "Rpd/Rpd_element[" + std::to_string(lead) + "]/@data"), "****");
    EXPECT_EQ(doc.Value(mm + "Ra/Ra_element[6]/@data"), "****");
    EXPECT_EQ(doc.Value(mm + "Ra/Ra_element[5]/@data"), "380");
    EXPECT_EQ(doc.Value(mm + "Tup/Tup_element[4]/@data"), "*");
    EXPECT_EQ(doc.Value("/Rawdata/Tavrion/Measurement/Measurement_section/Sv1"), "*.***");
    EXPECT_EQ(doc.Value("/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_no/@count"), "3");
}

// ---- additions asked of a record that does not carry them --------------------------------

namespace {

// A record's items and flavour byte, as the container reader loads them.
zarn::ContainerBuilder LoadItems(const std::string& path, uint8_t* flavour) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(zarn::ReadWholeFile(path, &bytes, &error)) << error;
    zarn::ContainerBuilder items;
    EXPECT_TRUE(zarn::LoadContainer(bytes.data(), bytes.size(), &items, flavour).ok()) << path;
    return items;
}

}  // namespace

// xml --for with additions marks a record that does not carry them (item
// 4108, int16 1) and says so; every other item and the flavour stay as they
// were, and nothing else of the folder is left behind.
TEST(RecordXmlCli, AdditionsForARecordMarkItAsCarryingThemKeepingEveryOtherItem) {
    for (const char* flavour : {"90", "80"}) {
        SCOPED_TRACE(flavour);
        TempDir dir;
        const std::string record = dir.File("m12.ecg");
        std::string out;
        ASSERT_EQ(RunCli({"synth", "--kind", "rest12", "--flavour", flavour, "--out", record}, &out), 0) << out;
        uint8_t before = 0, after = 0;
        const zarn::ContainerBuilder original = LoadItems(record, &before);
        ASSERT_FALSE(original.Has(rec::kTagAdditionsPresent, 0));

        ASSERT_EQ(RunCli({"xml", "--for", record, "--minnesota", "12", "--ivrel", "3", "--additions", "3"}, &out), 0)
            << out;
        EXPECT_NE(out.find("marked " + record + " as carrying additions"), std::string::npos) << out;
        zarn::ContainerBuilder marked = LoadItems(record, &after);
        EXPECT_EQ(after, before);
        ASSERT_TRUE(marked.Has(rec::kTagAdditionsPresent, 0));
        int16_t present = 0;
        EXPECT_TRUE(ItemInt16(*marked.Find(rec::kTagAdditionsPresent, 0), &present));
        EXPECT_EQ(present, 1);
        EXPECT_EQ(marked.Find(rec::kTagAdditionsPresent, 0)->size(), 2u);
        marked.Remove(rec::kTagAdditionsPresent, 0);
        EXPECT_TRUE(marked.Items() == original.Items());
        std::FILE* leftOver = std::fopen((record + ".additions").c_str(), "rb");
        EXPECT_EQ(leftOver, nullptr);
        if (leftOver) std::fclose(leftOver);
    }
}

// A record that carries additions already, and xml --for without additions
// asked (none, or the section left out), leave the record byte for byte.
TEST(RecordXmlCli, ARecordIsLeftAsItIsWhenNoAdditionsAreAskedOrItCarriesThem) {
    TempDir dir;
    const std::string rest = dir.File("rest.ecg"), rr = dir.File("rr.ecg");
    std::string out;
    ASSERT_EQ(RunCli({"synth", "--kind", "rest12", "--out", rest}, &out), 0) << out;
    ASSERT_EQ(RunCli({"synth", "--kind", "rr", "--seconds", "10", "--out", rr}, &out), 0) << out;
    const std::string restBytes = testsupport::ReadFileBytes(rest), rrBytes = testsupport::ReadFileBytes(rr);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"xml", "--for", rest},
          std::vector<std::string>{"xml", "--for", rest, "--additions", "0"},
          std::vector<std::string>{"xml", "--for", rest, "--additions", "3", "--omit", "additions"},
          std::vector<std::string>{"xml", "--for", rr, "--additions", "3"}}) {
        ASSERT_EQ(RunCli(args, &out), 0) << out;
        EXPECT_EQ(out.find("marked"), std::string::npos) << out;
    }
    EXPECT_TRUE(testsupport::ReadFileBytes(rest) == restBytes);
    EXPECT_TRUE(testsupport::ReadFileBytes(rr) == rrBytes);
}
