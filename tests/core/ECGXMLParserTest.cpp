// CECGXMLParser on real record files: typed dates, ages and colours, the
// limits of the record format, node operations, quoting of user values in
// XPaths and the refusal to save over an unreadable record.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/MemoryHelpers.h"
#include "tests/support/TestSupport.h"

using testsupport::Wide;

namespace {

const char kRecord[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Rawdata>\n"
    " <Tavrion>\n"
    "  <Inspection>\n"
    "   <Patient_section>\n"
    "    <Patient_id>ID-0042</Patient_id>\n"
    "    <Birthday style=\"Date\" year=\" 2004\" month=\"2\" day=\"0\" hour=\"10\" minute=\"20\" second=\"30\"/>\n"
    "    <Exam_date style=\"Date\" year=\"2004\" month=\"02\" day=\"29\" hour=\"23\" minute=\"59\" second=\"59\" milliseconds=\"125\"/>\n"
    "    <Nostyle year=\"2001\" month=\"1\" day=\"1\"/>\n"
    "    <Lowercase style=\"date\" year=\"2001\" month=\"1\" day=\"1\"/>\n"
    "    <Age style=\"Age\" year=\" 45 \" month=\"\t3\" week=\"\" day=\"2 \" hour=\"x\" userdata=\" u \" unit=\"16 months\"/>\n"
    "    <Age_nounit style=\"Age\" year=\"7\"/>\n"
    "    <Age_wrong style=\"age\" year=\"7\"/>\n"
    "   </Patient_section>\n"
    "  </Inspection>\n"
    "  <Addition>\n"
    "   <Patient_add_section>\n"
    "    <Addition_content number=\"1\" title=\"t1\">one</Addition_content>\n"
    "    <Addition_content number=\"2\" title=\"t2\">two</Addition_content>\n"
    "   </Patient_add_section>\n"
    "  </Addition>\n"
    "  <Record><Record_section trip=\"256\" total=\"256\"/></Record>\n"
    " </Tavrion>\n"
    " <Assist_info><Reference><Setting>\n"
    "  <Wave_color r=\"300\" g=\"0\" b=\"0\"/>\n"
    "  <Grid_color r=\"10\" g=\"20\"/>\n"
    "  <Back_color r=\"1\" g=\"2\" b=\"3\"/>\n"
    " </Setting></Reference></Assist_info>\n"
    " <Annotation><Anno id=\"1\"/><Anno id=\"2\"/><Anno id=\"3\"/></Annotation>\n"
    "</Rawdata>\n";

const wchar_t kSection[] = L"/Rawdata/Tavrion/Inspection/Patient_section/";

CString Field(const wchar_t* name)
{
    return CString(kSection) + name;
}

class ECGXMLParserTest : public testing::Test {
protected:
    void SetUp() override { m_path = Wide(m_dir.Write("record.xml", kRecord)); }

    testsupport::TempDir m_dir;
    CString m_path;
};

_XML_ATTRIB_DATE MarkedDate()
{
    _XML_ATTRIB_DATE date;
    date.strYear = L"y";
    date.strMonth = L"m";
    date.strDay = L"d";
    date.strHour = L"h";
    date.strMinute = L"n";
    date.strSecond = L"s";
    date.strMilliseconds = L"ms";
    date.bMilliseconds = 1;
    return date;
}

void ExpectDate(const _XML_ATTRIB_DATE& date, const wchar_t* year, const wchar_t* month, const wchar_t* day,
                const wchar_t* milliseconds, int bMilliseconds)
{
    EXPECT_EQ(CString(year), date.strYear);
    EXPECT_EQ(CString(month), date.strMonth);
    EXPECT_EQ(CString(day), date.strDay);
    EXPECT_EQ(CString(milliseconds), date.strMilliseconds);
    EXPECT_EQ(bMilliseconds, date.bMilliseconds);
}

TEST_F(ECGXMLParserTest, DateNeedsTheExactStyleAndLeavesTheRecordOtherwise)
{
    CECGXMLParser xml(m_path, 0, L"");
    for (const wchar_t* name : {L"Nostyle", L"Lowercase", L"Missing"}) {
        _XML_ATTRIB_DATE date = MarkedDate();
        EXPECT_EQ(0, xml.GetDateAttrib(date, Field(name), 0)) << name;
        ExpectDate(date, L"y", L"m", L"d", L"ms", 1);
        EXPECT_EQ(CString(L"h"), date.strHour);
    }
}

TEST_F(ECGXMLParserTest, DateCheckRejectsImpossibleDatesButKeepsTheTextsRead)
{
    CECGXMLParser xml(m_path, 0, L"");
    _XML_ATTRIB_DATE date = MarkedDate();
    // Day 0 fails the check; the texts read stay, date texts are not trimmed,
    // and without milliseconds the flag drops while the old text stays.
    EXPECT_EQ(0, xml.GetDateAttrib(date, Field(L"Birthday"), 1));
    ExpectDate(date, L" 2004", L"2", L"0", L"ms", 0);
    EXPECT_EQ(CString(L"30"), date.strSecond);
    EXPECT_EQ(1, xml.GetDateAttrib(date, Field(L"Birthday"), 0));

    // 29 February 2004 exists; milliseconds are read and flagged.
    date = MarkedDate();
    date.bMilliseconds = 0;
    EXPECT_EQ(1, xml.GetDateAttrib(date, Field(L"Exam_date"), 1));
    ExpectDate(date, L"2004", L"02", L"29", L"125", 1);

    // 29 February 2003 does not; nor does hour 24.
    xml.SetDataToXMLDOM(L"2003", Field(L"Exam_date"), 2, L"year");
    EXPECT_EQ(0, xml.GetDateAttrib(date, Field(L"Exam_date"), 1));
    xml.SetDataToXMLDOM(L"2004", Field(L"Exam_date"), 2, L"year");
    xml.SetDataToXMLDOM(L"24", Field(L"Exam_date"), 2, L"hour");
    EXPECT_EQ(0, xml.GetDateAttrib(date, Field(L"Exam_date"), 1));
    EXPECT_EQ(1, xml.GetDateAttrib(date, Field(L"Exam_date"), 0));
}

TEST_F(ECGXMLParserTest, DateWithoutMillisecondsWritesSixAttributesAndANewElementReadsBack)
{
    {
        CECGXMLParser xml(m_path, 0, L"");
        _XML_ATTRIB_DATE date = MarkedDate();
        ASSERT_EQ(0, xml.GetDateAttrib(date, Field(L"Birthday"), 1));
        ASSERT_EQ(0, date.bMilliseconds);
        date.strDay = L"15";
        EXPECT_EQ(1, xml.SetDateAttrib(date, Field(L"Written")));
        date.bMilliseconds = 1;
        date.strMilliseconds = L"500";
        EXPECT_EQ(1, xml.SetDateAttrib(date, Field(L"Written_ms")));
        xml.SaveToXMLFile();
    }
    CECGXMLParser xml(m_path, 0, L"");
    CString value;
    for (const wchar_t* name : {L"year", L"month", L"day", L"hour", L"minute", L"second"}) {
        EXPECT_EQ(1, xml.GetObjectCount(Field(L"Written/@") + name)) << name;
    }
    EXPECT_EQ(0, xml.GetObjectCount(Field(L"Written/@milliseconds")));
    // A date element written for the first time must read back as a date.
    _XML_ATTRIB_DATE back;
    EXPECT_EQ(1, xml.GetDateAttrib(back, Field(L"Written"), 0));
    EXPECT_EQ(CString(L"15"), back.strDay);
    EXPECT_EQ(1, xml.GetDataFromXMLDOM(value, Field(L"Written_ms"), 2, L"milliseconds"));
    EXPECT_EQ(CString(L"500"), value);
    EXPECT_EQ(1, xml.GetDataFromXMLDOM(value, Field(L"Written"), 2, L"year"));
    EXPECT_EQ(CString(L" 2004"), value);
}

TEST(XmlAttribDateTest, SetDateFormatsValidAndInvalidDates)
{
    _XML_ATTRIB_DATE date;
    date.strMilliseconds = L"7";
    date.bMilliseconds = 1;
    date.SetDate(COleDateTime(2004, 2, 9, 8, 5, 3));
    EXPECT_EQ(CString(L"2004"), date.strYear);
    EXPECT_EQ(CString(L"02"), date.strMonth);
    EXPECT_EQ(CString(L"09"), date.strDay);
    EXPECT_EQ(CString(L"08"), date.strHour);
    EXPECT_EQ(CString(L"05"), date.strMinute);
    EXPECT_EQ(CString(L"03"), date.strSecond);
    EXPECT_EQ(CString(L"7"), date.strMilliseconds);   // not touched
    EXPECT_EQ(1, date.bMilliseconds);

    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    date.SetDate(invalid);
    EXPECT_EQ(CString(L"-001"), date.strYear);
    EXPECT_EQ(CString(L"-1"), date.strMonth);
    EXPECT_EQ(CString(L"-1"), date.strSecond);

    date.Empty();
    EXPECT_TRUE(date.strYear.IsEmpty());
    EXPECT_TRUE(date.strMilliseconds.IsEmpty());
    EXPECT_EQ(1, date.bMilliseconds);   // Empty keeps the flag
}

TEST_F(ECGXMLParserTest, AgeTextsAreTrimmedAndTheUnitIsALeadingInteger)
{
    CECGXMLParser xml(m_path, 0, L"");
    _XML_ATTRIB_AGE age;
    ASSERT_EQ(1, xml.GetAgeAttrib(age, Field(L"Age")));
    EXPECT_EQ(CString(L"45"), age.strYear);
    EXPECT_EQ(CString(L"3"), age.strMonth);
    EXPECT_EQ(CString(L""), age.strWeek);
    EXPECT_EQ(CString(L"2"), age.strDay);
    EXPECT_EQ(CString(L"x"), age.strHour);
    EXPECT_EQ(CString(L"u"), age.strUserData);
    EXPECT_EQ(16, age.nUnit);

    _XML_ATTRIB_AGE partial;
    partial.strMonth = L"keep";
    partial.nUnit = 4;
    ASSERT_EQ(1, xml.GetAgeAttrib(partial, Field(L"Age_nounit")));
    EXPECT_EQ(CString(L"7"), partial.strYear);
    EXPECT_EQ(CString(L"keep"), partial.strMonth);
    EXPECT_EQ(4, partial.nUnit);

    _XML_ATTRIB_AGE untouched;
    untouched.strYear = L"keep";
    EXPECT_EQ(0, xml.GetAgeAttrib(untouched, Field(L"Age_wrong")));
    EXPECT_EQ(CString(L"keep"), untouched.strYear);

    age.nUnit = 17;
    EXPECT_EQ(1, xml.SetAgeAttrib(age, Field(L"Age_written")));
    CString value;
    ASSERT_EQ(1, xml.GetDataFromXMLDOM(value, Field(L"Age_written"), 2, L"unit"));
    EXPECT_EQ(CString(L"17"), value);
    _XML_ATTRIB_AGE back;
    EXPECT_EQ(1, xml.GetAgeAttrib(back, Field(L"Age_written")));   // a new age element reads back
    EXPECT_EQ(17, back.nUnit);
    EXPECT_EQ(1, xml.GetObjectCount(Field(L"Age_written/@week")));   // empty texts are written too
}

TEST_F(ECGXMLParserTest, ColourKeepsTheLowByteAndAMissingPartLeavesTheColour)
{
    CECGXMLParser xml(m_path, 0, L"");
    const CString setting = L"/Rawdata/Assist_info/Reference/Setting/";
    COLORREF color = RGB(9, 9, 9);
    ASSERT_EQ(1, xml.GetColorAttrib(color, setting + L"Wave_color"));
    EXPECT_EQ(44u, color);
    color = RGB(9, 9, 9);
    EXPECT_EQ(0, xml.GetColorAttrib(color, setting + L"Grid_color"));
    EXPECT_EQ(RGB(9, 9, 9), color);
    ASSERT_EQ(1, xml.GetColorAttrib(color, setting + L"Back_color"));
    EXPECT_EQ(RGB(1, 2, 3), color);

    EXPECT_EQ(1, xml.SetColorAttrib(RGB(255, 128, 7), setting + L"New_color"));
    ASSERT_EQ(1, xml.GetColorAttrib(color, setting + L"New_color"));
    EXPECT_EQ(RGB(255, 128, 7), color);
    CString value;
    ASSERT_EQ(1, xml.GetDataFromXMLDOM(value, setting + L"New_color", 2, L"g"));
    EXPECT_EQ(CString(L"128"), value);
}

// Node-text limits, in Shift-JIS bytes, for an ordinary record and an
// 8000-series record (-1: the field does not exist there).
struct TextLimitCase {
    const wchar_t* field;   // under Patient_section unless it starts with '/'
    int limit;
    int limit8000;
};
const TextLimitCase kTextLimitCases[] = {
    {L"Patient_id", 20, 12},
    {L"/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id", 20, -1},
    {L"Patient_name", 20, 20},
    {L"Patient_kana_name", 40, -1},
    {L"Medications/Medication[3]", 22, 22},
    {L"Symptom", 22, -1},
    {L"Disease", 22, -1},
    {L"Ward", 22, -1},
    {L"Department", 22, -1},
    {L"/Rawdata/Tavrion/Inspection/Patient_section2/Request_section", 20, -1},
    {L"Request_doctor", 20, -1},
    {L"Technician", 20, -1},
    {L"Room_no", 10, -1},
    {L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content", 255, 255},
    {L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title", 32, -1},
    {L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']", 255, -1},
};

TEST_F(ECGXMLParserTest, ValidDataAppliesTheTextLimitsOfBothRecordKinds)
{
    CECGXMLParser ordinary(m_path, 0, L"");
    CECGXMLParser model8000(m_path, 1, L"");
    const int text = 4;
    for (const TextLimitCase& entry : kTextLimitCases) {
        const CString xpath = entry.field[0] == L'/' ? CString(entry.field) : Field(entry.field);
        SCOPED_TRACE(CStringA(xpath).GetString());
        const CString fits(L'x', entry.limit);
        const CString over(L'x', entry.limit + 1);
        EXPECT_EQ(1, ordinary.ValidData(fits, xpath, text, L""));
        EXPECT_EQ(0, ordinary.ValidData(over, xpath, text, L""));
        if (entry.limit8000 < 0) {
            EXPECT_EQ(0, model8000.ValidData(L"", xpath, text, L""));
        } else {
            EXPECT_EQ(1, model8000.ValidData(CString(L'x', entry.limit8000), xpath, text, L""));
            EXPECT_EQ(0, model8000.ValidData(CString(L'x', entry.limit8000 + 1), xpath, text, L""));
        }
    }
    // Case does not count in the paths, except in the medication rule.
    EXPECT_EQ(0, ordinary.ValidData(CString(L'x', 21), L"/RAWDATA/tavrion/INSPECTION/patient_section/PATIENT_ID", text, L""));
    EXPECT_EQ(1, ordinary.ValidData(CString(L'x', 23), Field(L"MEDICATIONS/MEDICATION"), text, L""));
    // Other paths and other types have no limit.
    EXPECT_EQ(1, model8000.ValidData(CString(L'x', 999), Field(L"Unknown"), text, L""));
    EXPECT_EQ(1, model8000.ValidData(CString(L'x', 999), Field(L"Ward"), 2, L"ward"));
    EXPECT_EQ(1, model8000.ValidData(CString(L'x', 999), Field(L"Ward"), 3, L""));
}

TEST_F(ECGXMLParserTest, ValidDataCountsShiftJisBytes)
{
    CECGXMLParser ordinary(m_path, 0, L"");
    CECGXMLParser model8000(m_path, 1, L"");
    const CString id = Field(L"Patient_id");
    const CString name = Field(L"Patient_name");
    EXPECT_EQ(1, ordinary.ValidData(L"123456789012345", id, 4, L""));
    EXPECT_EQ(0, model8000.ValidData(L"123456789012345", id, 4, L""));
    EXPECT_EQ(0, model8000.ValidData(L"1234567890123", id, 4, L""));
    EXPECT_EQ(1, model8000.ValidData(L"123456789012", id, 4, L""));
    // Two bytes for each kanji, one for half-width katakana.
    ASSERT_EQ(22, GetCharLength(L"山田山田山田山田山田山"));
    EXPECT_EQ(0, ordinary.ValidData(L"山田山田山田山田山田山", name, 4, L""));
    EXPECT_EQ(1, ordinary.ValidData(L"山田山田山田山田山田", name, 4, L""));
    EXPECT_EQ(1, ordinary.ValidData(L"ｱｲｳｴｵｱｲｳｴｵｱｲｳｴｵｱｲｳｴｵ", name, 4, L""));
}

TEST_F(ECGXMLParserTest, AdditionLimitsApplyOnlyToAdditionsThatExist)
{
    CECGXMLParser xml(m_path, 0, L"");
    const CString base = L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content";
    const CString longTitle(L'x', 33);
    EXPECT_EQ(0, xml.ValidData(longTitle, base + L"[@number='2']/@title", 4, L""));
    EXPECT_EQ(1, xml.ValidData(longTitle, base + L"[@number='3']/@title", 4, L""));
    EXPECT_EQ(0, xml.ValidData(CString(L'x', 256), base + L"[@number='1']", 4, L""));
    EXPECT_EQ(1, xml.ValidData(CString(L'x', 256), base + L"[@number='3']", 4, L""));
    xml.RemoveNode(base);
    xml.RemoveNode(base);
    EXPECT_EQ(1, xml.ValidData(longTitle, base + L"[@number='2']/@title", 4, L""));
}

TEST_F(ECGXMLParserTest, TripAndTotalLimitsDependOnTheRecordKind)
{
    CECGXMLParser ordinary(m_path, 0, L"");
    CECGXMLParser model8000(m_path, 1, L"");
    const CString section = L"/Rawdata/Tavrion/Record/Record_section";
    CString value;
    // The limits tell what may be given; what is stored is read back as it
    // stands, past the limit too (the reader used to answer 0 for it, so
    // that every caller showed and saved the field empty).
    EXPECT_EQ(0, model8000.ValidData(L"256", section, 2, L"trip"));
    EXPECT_EQ(1, model8000.GetDataFromXMLDOM(value, section, 2, L"trip"));
    EXPECT_EQ(CString(L"256"), value);
    EXPECT_EQ(1, model8000.ValidData(L"256", section, 2, L"total"));
    EXPECT_EQ(0, model8000.ValidData(L"257", L"/anywhere", 2, L"TOTAL"));
    EXPECT_EQ(1, ordinary.ValidData(L"999", L"/anywhere", 2, L"Trip"));
    EXPECT_EQ(0, ordinary.ValidData(L"1000", L"/anywhere", 2, L"Trip"));
    EXPECT_EQ(1, model8000.ValidData(L"abc", L"/anywhere", 2, L"trip"));   // no digits: 0
}

TEST_F(ECGXMLParserTest, EmptyPathsFailWithoutAskingAndThreeRemovalsClearThreeElements)
{
    CECGXMLParser xml(m_path, 0, L"");
    CString value = L"stale";
    EXPECT_EQ(0, xml.GetDataFromXMLDOM(value, L"", 4, L""));
    EXPECT_TRUE(value.IsEmpty());
    EXPECT_EQ(0, xml.GetObjectCount(L""));
    EXPECT_EQ(0, xml.GetObjectCount(L"not a path"));

    const CString anno = L"/Rawdata/Annotation/Anno";
    const int count = xml.GetObjectCount(anno);
    ASSERT_EQ(3, count);
    for (int i = 0; i < count; ++i) EXPECT_NE(0, xml.RemoveNode(anno)) << i;
    EXPECT_EQ(0, xml.GetObjectCount(anno));
    EXPECT_EQ(0, xml.FindNode(anno));

    CXmlElmentNode node;
    CXmlAttribNode attrib;
    CString parent = L"/Rawdata/Annotation";
    for (int id = 1; id <= 2; ++id) {
        node.SetName(L"Anno");
        node.SetNamespace(L"");
        node.SetContent(L"");
        attrib.SetName(L"id");
        attrib.SetContent(id == 1 ? L"10" : L"20");
        node.m_arrAttrib.Add(attrib);
        EXPECT_NE(0, xml.Add_LastChildNode(node, parent));
        node.Reset();
        node.m_arrAttrib.RemoveAll();
    }
    xml.SaveToXMLFile();
    CECGXMLParser again(m_path, 0, L"");
    EXPECT_EQ(2, again.GetObjectCount(anno));
    EXPECT_EQ(1, again.FindNode(anno + L"[@id='20']"));
}

TEST_F(ECGXMLParserTest, UnreadableRecordIsNeverSavedOver)
{
    const std::string broken = "<?xml version=\"1.0\"?>\n<Rawdata><Tavrion>\n<Patient_id>7</Rawdata>\n";
    const std::string path = m_dir.Write("broken.xml", broken);
    {
        CECGXMLParser xml(Wide(path), 0, L"");
        CString value;
        EXPECT_EQ(0, xml.GetDataFromXMLDOM(value, Field(L"Patient_id"), 4, L""));
        xml.SetDataToXMLDOM(L"8", Field(L"Patient_id"), 4, L"");
        xml.SaveToXMLFile();
    }
    EXPECT_EQ(broken, testsupport::ReadFileBytes(path));

    // A record that does not exist yet is created by the save.
    const std::string fresh = m_dir.File("fresh.xml");
    {
        CECGXMLParser xml(Wide(fresh), 0, L"");
        xml.SetDataToXMLDOM(L"8", Field(L"Patient_id"), 4, L"");
        xml.SaveToXMLFile();
    }
    CECGXMLParser again(Wide(fresh), 0, L"");
    CString value;
    EXPECT_EQ(1, again.GetDataFromXMLDOM(value, Field(L"Patient_id"), 4, L""));
    EXPECT_EQ(CString(L"8"), value);
}

TEST_F(ECGXMLParserTest, TwoObjectsOnOneFileDoNotSeeEachOthersChangesAndTheLastSaveWins)
{
    CECGXMLParser first(m_path, 0, L"");
    CECGXMLParser second(m_path, 0, L"");
    first.SetDataToXMLDOM(L"first", Field(L"Patient_id"), 4, L"");
    CString value;
    second.GetDataFromXMLDOM(value, Field(L"Patient_id"), 4, L"");
    EXPECT_EQ(CString(L"ID-0042"), value);
    second.SetDataToXMLDOM(L"second", Field(L"Patient_id"), 4, L"");
    first.SaveToXMLFile();
    second.SaveToXMLFile();
    CECGXMLParser third(m_path, 0, L"");
    third.GetDataFromXMLDOM(value, Field(L"Patient_id"), 4, L"");
    EXPECT_EQ(CString(L"second"), value);
}

// A record XML not on disk yet, seeded by the document that opened its
// record: any parser on the path starts from the seed while it is held, a
// file on disk is never seeded, and the seed ends with its holder.
class ECGXMLParserNewFileSeedTest : public ECGXMLParserTest {
protected:
    static std::shared_ptr<const void> Seed(const CString& path, const wchar_t* id)
    {
        const CString text = id;
        return CECGXMLParser::SeedNewFile(path, [text](CECGXMLParser& xml) {
            xml.SetDataToXMLDOM(text, Field(L"Patient_id"), 4, L"");
        });
    }
    static CString Id(const CString& path)
    {
        CECGXMLParser xml(path, 0, L"");
        CString value;
        xml.GetDataFromXMLDOM(value, Field(L"Patient_id"), 4, L"");
        return value;
    }
};

TEST_F(ECGXMLParserNewFileSeedTest, TheFirstWriterOfAMissingFileWritesTheSeedWithItsOwn)
{
    const CString path = Wide(m_dir.File("new.xml"));
    const auto held = Seed(path, L"S-1");
    {
        CECGXMLParser xml(path, 0, L"");
        xml.SetDataToXMLDOM(L"3", L"/Rawdata/Assist_info/Reference/Setting/Page_style", 4, L"");
        // The writer that saves the parser's document as it is, not through SaveToXMLFile().
        ASSERT_NE(0, xml.m_pXMLParser->SaveToXMLFile(xml.m_strPath));
    }
    EXPECT_EQ(CString(L"S-1"), Id(path));
    // The file written is the record's: what is taken out of it stays out.
    {
        CECGXMLParser xml(path, 0, L"");
        ASSERT_EQ(1, xml.RemoveNode(Field(L"Patient_id")));
        xml.SaveToXMLFile();
        ASSERT_EQ(0, xml.m_bLastSaveFailed);
    }
    EXPECT_EQ(CString(), Id(path));
}

TEST_F(ECGXMLParserNewFileSeedTest, TheLatestHeldSeedCountsAndASeedEndsWithItsHolder)
{
    const CString path = Wide(m_dir.File("new.xml"));
    auto first = Seed(path, L"A");
    auto second = Seed(path, L"B");
    EXPECT_EQ(CString(L"B"), Id(path));
    second.reset();
    EXPECT_EQ(CString(L"A"), Id(path));
    first.reset();
    EXPECT_EQ(CString(), Id(path));
    // Reading writes nothing.
    EXPECT_EQ(std::vector<std::string>{"record.xml"}, testsupport::FolderEntries(m_dir.Path()));
}

TEST_F(ECGXMLParserNewFileSeedTest, AFileThatCannotBeReadIsNeitherSeededNorWrittenOver)
{
    const std::string broken = "<Rawdata><Tavrion>";
    const std::string path = m_dir.Write("broken.xml", broken);
    const auto held = Seed(Wide(path), L"S-1");
    {
        CECGXMLParser xml(Wide(path), 0, L"");
        CString value;
        EXPECT_EQ(0, xml.GetDataFromXMLDOM(value, Field(L"Patient_id"), 4, L""));
        xml.SaveToXMLFile();
        EXPECT_NE(0, xml.m_bLastSaveFailed);
    }
    EXPECT_EQ(broken, testsupport::ReadFileBytes(path));
}

// A seeded file no record was named for has no next name to go on under:
// a file another process made there between its reading and its first
// save is left as it is, and the save fails.
TEST_F(ECGXMLParserNewFileSeedTest, AFirstWriteWithoutANameLeavesAFileMadeMeanwhileAndFails)
{
    const CString path = Wide(m_dir.File("new.xml"));
    const auto held = Seed(path, L"S-1");
    const std::string others = "<Rawdata><Tavrion/></Rawdata>";
    {
        CECGXMLParser xml(path, 0, L"");
        xml.SetDataToXMLDOM(L"3", L"/Rawdata/Assist_info/Reference/Setting/Page_style", 4, L"");
        std::ofstream(testsupport::Utf8(path), std::ios::binary) << others;
        xml.SaveToXMLFile();
        EXPECT_NE(0, xml.m_bLastSaveFailed);
    }
    EXPECT_EQ(others, testsupport::ReadFileBytes(testsupport::Utf8(path)));
}

// Another process's record writing its record XML under the same name
// between this record's naming and its first write: that file is left as
// it was, and this record's goes under the next name, whichever writer
// saves first (the parser's save, or a document saving the parser's
// document itself); its own record's file, or one this process made, is
// written over as before.
TEST_F(ECGXMLParserNewFileSeedTest, AFirstWriteLeavesAFileAnotherRecordMadeUnderItsNameAndTakesTheNext)
{
    const CString first = Wide(m_dir.File("s20240401093000.xml")), next = Wide(m_dir.File("s20240401093001.xml"));
    const CString owner = L"/Rawdata/Assist_info/Record_file";
    // Named for the record and seeded with its name, as a record opened without its record XML is.
    auto seed = [&](const wchar_t* record) {
        CECGXMLParser::NewFileOwner named;
        named.strXPath = owner;
        named.strName = record;
        named.nextName = [first, next](const CString& taken) { return taken == first ? next : CString(); };
        CECGXMLParser::NameNewFile(first, named);
        const CString text = record;
        return CECGXMLParser::SeedNewFile(
            first, [text, owner](CECGXMLParser& xml) { xml.SetDataToXMLDOM(text, owner, 4, L""); });
    };
    const std::string others = "<Rawdata><Assist_info><Record_file>s.ecg</Record_file></Assist_info></Rawdata>";
    auto otherRecordWritesFirst = [&] { std::ofstream(testsupport::Utf8(first), std::ios::binary) << others; };
    auto recordOf = [&](const CString& path) {
        CString name;
        CECGXMLParser xml(path, 0, L"");
        xml.GetDataFromXMLDOM(name, owner, 4, L"");
        return name;
    };
    auto reset = [&] {
        std::remove(testsupport::Utf8(first).c_str());
        std::remove(testsupport::Utf8(next).c_str());
    };

    for (bool documentSaves : {false, true}) {
        SCOPED_TRACE(documentSaves ? "the document's own save" : "the parser's save");
        const wchar_t* const record = documentSaves ? L"s.DAT" : L"s.dat";
        const auto held = seed(record);
        {
            CECGXMLParser xml(first, 0, L"");
            xml.SetDataToXMLDOM(L"3", L"/Rawdata/Assist_info/Reference/Setting/Page_style", 4, L"");
            otherRecordWritesFirst();
            if (documentSaves) {
                ASSERT_NE(0, xml.m_pXMLParser->SaveToXMLFile(xml.m_strPath));
            } else {
                xml.SaveToXMLFile();
                ASSERT_EQ(0, xml.m_bLastSaveFailed);
            }
            EXPECT_EQ(next, xml.m_strPath);
        }
        EXPECT_EQ(others, testsupport::ReadFileBytes(testsupport::Utf8(first)));
        EXPECT_EQ(CString(record), recordOf(next));
        // From now on the record's parsers on the first name read and write the next.
        EXPECT_EQ(next, CECGXMLParser::FileFor(first));
        EXPECT_EQ(CString(L"3"), [&] {
            CString style;
            CECGXMLParser xml(first, 0, L"");
            xml.GetDataFromXMLDOM(style, L"/Rawdata/Assist_info/Reference/Setting/Page_style", 4, L"");
            return style;
        }());
        reset();
    }

    // A record opening after another's record XML took its name reads none
    // of it, and writes its own under the next.
    {
        otherRecordWritesFirst();
        const auto held = seed(L"s.ECG");
        CECGXMLParser xml(first, 0, L"");
        EXPECT_EQ(CString(L"s.ECG"), [&] {
            CString name;
            xml.GetDataFromXMLDOM(name, owner, 4, L"");
            return name;
        }());
        xml.SaveToXMLFile();
        EXPECT_EQ(0, xml.m_bLastSaveFailed);
        EXPECT_EQ(CString(L"s.ECG"), recordOf(next));
        EXPECT_EQ(others, testsupport::ReadFileBytes(testsupport::Utf8(first)));
        reset();
    }

    // One that names no record is no record's either: the record is still
    // one whose record XML is to be made (seeded from its own file), and it
    // writes it under the next name, leaving that file as it was.
    {
        const std::string unnamed = "<Rawdata><Tavrion/></Rawdata>";
        std::ofstream(testsupport::Utf8(first), std::ios::binary) << unnamed;
        const auto held = seed(L"s.Ecg");
        EXPECT_EQ(next, CECGXMLParser::FileFor(first));
        CECGXMLParser xml(first, 0, L"");
        xml.SaveToXMLFile();
        EXPECT_EQ(0, xml.m_bLastSaveFailed);
        EXPECT_EQ(CString(L"s.Ecg"), recordOf(next));
        EXPECT_EQ(unnamed, testsupport::ReadFileBytes(testsupport::Utf8(first)));
        reset();
    }

    // A file of the same record made meanwhile, or one this process made
    // through another parser, is written over.
    const auto held = seed(L"s.ecg");
    {
        CECGXMLParser xml(first, 0, L"");
        otherRecordWritesFirst();   // here the same record's, from another of its openings
        xml.SaveToXMLFile();
        EXPECT_EQ(0, xml.m_bLastSaveFailed);
    }
    EXPECT_NE(others, testsupport::ReadFileBytes(testsupport::Utf8(first)));
    reset();
    {
        CECGXMLParser one(first, 0, L""), two(first, 0, L"");
        one.SetDataToXMLDOM(L"first", Field(L"Patient_id"), 4, L"");
        one.SaveToXMLFile();
        ASSERT_EQ(0, one.m_bLastSaveFailed);
        two.SetDataToXMLDOM(L"second", Field(L"Patient_id"), 4, L"");
        two.SaveToXMLFile();
        EXPECT_EQ(0, two.m_bLastSaveFailed);
    }
    EXPECT_EQ(CString(L"second"), Id(first));
    EXPECT_EQ(2u, testsupport::FolderEntries(m_dir.Path()).size());
}

TEST(ECGXMLParserLiteralTest, QuotedValuesSelectExactlyTheirOwnCode)
{
    EXPECT_EQ(CString(L"'A1'"), CECGXMLParser::XPathLiteral(L"A1"));
    EXPECT_EQ(CString(L"\"O'Neil\""), CECGXMLParser::XPathLiteral(L"O'Neil"));
    EXPECT_EQ(CString(L"'say \"hi\"'"), CECGXMLParser::XPathLiteral(L"say \"hi\""));
    EXPECT_EQ(CString(L"concat('it',\"'\",'s \"x\"')"), CECGXMLParser::XPathLiteral(L"it's \"x\""));
    EXPECT_EQ(CString(L"concat(\"'\",'\"',\"'\")"), CECGXMLParser::XPathLiteral(L"'\"'"));
    EXPECT_EQ(CString(L"''"), CECGXMLParser::XPathLiteral(L""));

    testsupport::TempDir dir;
    const std::string path = dir.Write("Master.xml",
                                       "<Master>"
                                       "<Code value=\"A1\">plain</Code>"
                                       "<Code value=\"O'Neil\">single</Code>"
                                       "<Code value='say \"hi\"'>double</Code>"
                                       "<Code value=\"it's &quot;x&quot;\">both</Code>"
                                       "<Code value=\"'&quot;'\">only quotes</Code>"
                                       "</Master>");
    CECGXMLParser xml(Wide(path), 0, L"");
    struct {
        const wchar_t* code;
        const wchar_t* text;
    } const kCodes[] = {{L"A1", L"plain"}, {L"O'Neil", L"single"}, {L"say \"hi\"", L"double"},
                        {L"it's \"x\"", L"both"}, {L"'\"'", L"only quotes"}};
    for (const auto& entry : kCodes) {
        CString xpath;
        xpath.Format(L"/Master/Code[@value=%s]", static_cast<LPCWSTR>(CECGXMLParser::XPathLiteral(entry.code)));
        EXPECT_EQ(1, xml.GetObjectCount(xpath)) << CStringA(xpath).GetString();
        CString value;
        EXPECT_EQ(1, xml.GetDataFromXMLDOM(value, xpath, 4, L""));
        EXPECT_EQ(CString(entry.text), value);
    }
    // A value made to widen the query matches nothing instead of everything.
    for (const wchar_t* hostile : {L"x' or '1'='1", L"x\" or \"1\"=\"1", L"A1']|/Master/Code['"}) {
        CString xpath;
        xpath.Format(L"/Master/Code[@value=%s]", static_cast<LPCWSTR>(CECGXMLParser::XPathLiteral(hostile)));
        EXPECT_EQ(0, xml.GetObjectCount(xpath)) << CStringA(xpath).GetString();
    }
}

}  // namespace
