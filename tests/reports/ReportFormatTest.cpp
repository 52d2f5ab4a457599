#include <gtest/gtest.h>

#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/reports/ReportTestSupport.h"

namespace {

using morvelance::rec::RecordKind;
using reporttest::CTestReport;
using testsupport::Wide;

const CString kValue = L"/Rawdata/Tavrion/Test/Value";
const CString kDecimal = L"/Rawdata/Tavrion/Test/Decimal";
const CString kFlag = L"/Rawdata/Tavrion/Test/Flag";
const CString kAge = L"/Rawdata/Tavrion/Test/Age";
const CString kBirthday = L"/Rawdata/Tavrion/Test/Birthday";

// A resting document whose model-8000 answer a test chooses.
class CModelDoc : public CRestViewDoc {
public:
    int model8000 = 0;
    int Is8000File() override { return model8000; }
};

// The helpers over a resting record the record maker wrote; each case
// writes its values into the record XML and reads them back through a
// report of the document.
class ReportFormat : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_item = AddRecord("format", resttest::Shape(RecordKind::Rest12));
        m_report.m_pDoc = &m_model;
        m_report.m_DocType = 0;
    }

    void Set(const CString& path, const CString& value, const CString& attribute = CString())
    {
        SetXmlText(path, value, attribute);
    }
    void Reload() { m_report.OpenXml(Wide(m_files.xml)); }

    CString Age(const wchar_t* unit, const wchar_t* first, const wchar_t* firstName, const wchar_t* second,
                const wchar_t* secondName)
    {
        RemoveXmlNode(kAge);
        Set(kAge, L"Age", L"style");
        Set(kAge, unit, L"unit");
        if (first) Set(kAge, first, firstName);
        if (second) Set(kAge, second, secondName);
        Reload();
        return m_report.FormatPrintAge(kAge);
    }

    _RESTDATAITEM* m_item = nullptr;
    CModelDoc m_model;
    CTestReport m_report;
};

}  // namespace

TEST_F(ReportFormat, AgesPrintTheirTwoNumbersWithinRange)
{
    EXPECT_EQ(Age(L"0", L"45", L"year", L"3", L"month"), L"45 歳 3 ヶ月");
    EXPECT_EQ(Age(L"0", L"45", L"year", L"0", L"month"), L"45 歳");
    EXPECT_EQ(Age(L"0", L"0", L"year", L"3", L"month"), L"歳 3 ヶ月");
    EXPECT_EQ(Age(L"17", L"5", L"month", L"2", L"week"), L"5 ヶ月 2 週");
    EXPECT_EQ(Age(L"3", L"6", L"day", L"12", L"hour"), L"6 日 12 時間");
    EXPECT_EQ(Age(L"4", L"20", L"hour", nullptr, nullptr), L"20 時間");
    EXPECT_EQ(Age(L"9", L"45", L"year", L"3", L"month"), L"");
    // A first number out of range goes; the second still prints under the first unit.
    EXPECT_EQ(Age(L"0", L"1001", L"year", L"3", L"month"), L"歳 3 ヶ月");
    EXPECT_EQ(Age(L"0", L"45", L"year", L"101", L"month"), L"45 歳");
    m_model.model8000 = 1;
    EXPECT_EQ(Age(L"0", L"45", L"year", L"3", L"month"), L"45 歳");
    EXPECT_EQ(Age(L"0", L"101", L"year", L"3", L"month"), L"");
    RemoveXmlNode(kAge);
    Reload();
    EXPECT_EQ(m_report.FormatPrintAge(kAge), L"");
}

TEST_F(ReportFormat, BirthdaysPrintAsADateOrEmptyBrackets)
{
    const struct {
        const wchar_t *year, *month, *day, *expected;
    } cases[] = {
        // year    month  day     printed
        {nullptr, nullptr, nullptr, L"( / / )"},
        {L"1990", L"7", L"4", L"(1990-07-04)"},
        // A date the calendar does not have loses all three parts.
        {L"1990", L"2", L"30", L"( / / )"},
        {L"1990", L"13", L"4", L"( / / )"},
    };
    for (const auto& c : cases) {
        RemoveXmlNode(kBirthday);
        Set(kBirthday, L"");
        if (c.year) Set(kBirthday, c.year, L"year");
        if (c.month) Set(kBirthday, c.month, L"month");
        if (c.day) Set(kBirthday, c.day, L"day");
        Reload();
        EXPECT_EQ(testsupport::Utf8(m_report.FormatPrintBirthday(kBirthday)), testsupport::Utf8(c.expected));
    }
    m_model.model8000 = 1;
    EXPECT_EQ(m_report.FormatPrintBirthday(kBirthday), L"");
}

TEST_F(ReportFormat, HeightsAndWeightsKeepOneDecimalUpTo999Point9)
{
    const struct {
        const wchar_t *whole, *decimal, *expected;
    } cases[] = {
        // whole   decimal  printed
        {L"170", L"5", L"170.5"},
        {L"170", L"", L"170"},
        {L"0", L"0", L"0"},
        {L"1000", L"", L""},
        {L"", L"", L""},
        {L"65", L"25", L"65.2"},
    };
    for (const auto& c : cases) {
        Set(kValue, c.whole);
        Set(kDecimal, c.decimal);
        Reload();
        EXPECT_EQ(m_report.FormatWeightHeight(kValue, kDecimal), c.expected) << testsupport::Utf8(c.whole);
    }
}

TEST_F(ReportFormat, BloodPressuresAreRangedByTheirUnitAndTextIsNoPressure)
{
    const struct {
        const wchar_t *value, *unit, *expected;
    } cases[] = {
        // value   unit     printed
        {L"250", L"mmHg", L"250"},
        {L"250", L"kPa", L""},
        {L"16", L"KPA", L"16"},
        {L"-3", L"mmHg", L""},
        {L"0", L"mmHg", L"0"},
        {L"abc", L"mmHg", L""},   // the design printed "0" for text
        {L"", L"mmHg", L""},
    };
    for (const auto& c : cases) {
        Set(kValue, c.value);
        Reload();
        EXPECT_EQ(m_report.FormatBPValue(c.unit, kValue), c.expected) << testsupport::Utf8(c.value);
    }
}

TEST_F(ReportFormat, UnitFlagsChooseTheUnitOfEachKind)
{
    const struct {
        const wchar_t* flag;
        _DATA_UNIT_INFO kind;
        const wchar_t* expected;
    } cases[] = {
        {L"1", DATA_UNIT_HEIGHT, L"in"}, {L"0", DATA_UNIT_HEIGHT, L"cm"}, {L"1", DATA_UNIT_WEIGHT, L"lb"},
        {L"2", DATA_UNIT_WEIGHT, L"kg"}, {L"1", DATA_UNIT_BP, L"kPa"},     {L"", DATA_UNIT_BP, L"mmHg"},
    };
    for (const auto& c : cases) {
        Set(kFlag, c.flag);
        Reload();
        EXPECT_EQ(m_report.FormatUnit(kFlag, c.kind), c.expected);
    }
    EXPECT_EQ(m_report.FormatUnit(kFlag, static_cast<_DATA_UNIT_INFO>(3)), L"");
}

TEST_F(ReportFormat, AnalysisFieldsStarWhatIsMissingAndSumTheLastTwo)
{
    m_model.GetCtrlPosFromXSL(LOAD_POS_REST_PRINT);
    auto field = [&](int row, std::initializer_list<const wchar_t*> values) {
        int index = 0;
        for (const wchar_t* value : values) {
            const CString path = m_model.GetDefXMLPath(8, row, index++);
            if (path.IsEmpty()) return CString(L"<no path>");
            RemoveXmlNode(path);
            if (value) Set(path, value);
        }
        Reload();
        return m_report.FormatAnalyseInfo(row, 0);
    };
    EXPECT_EQ(field(48, {L"60", L"999", L"45"}), L"60/ */ 45");
    EXPECT_EQ(field(52, {L"1.2", L"2.345"}), L"3.545");
    EXPECT_EQ(field(52, {L"1.2", L"*"}), L"*.*");
    EXPECT_EQ(field(50, {L"0.5", nullptr}), L"0.500/*.*");
    EXPECT_EQ(field(46, {L"12*", L"80"}), L"*/ 80");
    EXPECT_EQ(field(42, {nullptr}), L"****");
    EXPECT_EQ(field(40, {L"72"}), L"72");
    // A non-zero alternative names the field twelve rows further down.
    EXPECT_EQ(m_report.FormatAnalyseInfo(28, 1), L"72");
    EXPECT_EQ(m_report.FormatAnalyseInfo(41, 0), L"");
    EXPECT_EQ(m_report.FormatAnalyseInfo(42, 1), L"");
}

TEST_F(ReportFormat, TheConfirmationLineNamesTheDoctorOnlyOnceConfirmed)
{
    _RESTDATAITEM* item = m_item;
    ASSERT_EQ(Open(item), 0);
    item->stPatient.strConfirmDate = L"2024/05/06 07:08:09";
    item->stPatient.strConfirmDoctor = L"判読 一郎";
    item->stPatient.strConfirmation = L"未判読";
    m_report.m_pDoc = &m_doc;
    item->bDoctorConfirm = 0;
    EXPECT_EQ(m_report.GetRestConfirmInfo(DATA_TIME_CONFIRM), L"未判読");
    item->bDoctorConfirm = 1;
    EXPECT_EQ(m_report.GetRestConfirmInfo(DATA_TIME_2), L"判読日時  : 2024/05/06 07:08 判読医師  : 判読 一郎");
    // Each helper answers only for its own kind of document.
    EXPECT_EQ(m_report.GetRhythmConfirmInfo(DATA_TIME_CONFIRM), L"");
    m_report.m_DocType = 2;
    EXPECT_EQ(m_report.GetRestConfirmInfo(DATA_TIME_CONFIRM), L"");
    EXPECT_EQ(m_report.GetRhythmConfirmInfo(DATA_TIME_1), L"");
    EXPECT_EQ(m_report.GetRRConfirmInfo(DATA_TIME_1), L"");
    EXPECT_EQ(m_report.GetExerConfirmInfo(DATA_TIME_1), L"");
    EXPECT_EQ(m_report.GetExtraConfirmInfo(DATA_TIME_1), L"");
}
