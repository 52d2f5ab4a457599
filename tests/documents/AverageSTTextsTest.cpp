// The ST texts and heart-rate text that a resting or MFER item carries for
// the average-beat views: taken from the record XML's measurements when the
// record opens, with the placeholder for every lead the record leaves
// unmeasured.
#include "documents/AverageSTTexts.h"
#include "platform/base/Kernel.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/documents/RestViewDocTestSupport.h"

using namespace resttest;
using morvelance::rec::RecordKind;

namespace {

const CString kMeasurement = L"/Rawdata/Tavrion/Measurement/Measurement_section";

CString StElement(int lead)
{
    CString path;
    path.Format(L"%s/Mm/Stm/Stm_element[%d]", kMeasurement.GetString(), lead + 1);
    return path;
}

}  // namespace

TEST_F(RestDocFixture, OpeningARestRecordGivesItsTwelveStLevelsAndHeartRate)
{
    _RESTDATAITEM* item = AddRecord("st.ecg", Shape(RecordKind::Rest12));
    ASSERT_EQ(0, Open(item));
    for (int lead = 0; lead < 12; ++lead) {
        const CString stored = XmlText(StElement(lead), L"data");
        ASSERT_NE(stored, CString(L"<none>"));
        EXPECT_EQ(item->strST[lead], stored) << lead;
    }
    EXPECT_EQ(item->strHeartRate, XmlText(kMeasurement + L"/Heart_rate"));
    EXPECT_GT(_wtoi(item->strHeartRate), 0);
}

TEST_F(RestDocFixture, UnmeasuredLeadsShowThePlaceholderAndAnUnknownRateIsEmpty)
{
    _RESTDATAITEM* item = AddRecord("gaps.ecg", Shape(RecordKind::Rest15));
    SetXmlText(StElement(2), L"****", L"data");
    SetXmlText(StElement(7), L"-3x", L"data");
    SetXmlText(StElement(9), L" -45 ", L"data");
    RemoveXmlNode(StElement(11));
    RemoveXmlNode(kMeasurement + L"/Heart_rate");
    ASSERT_EQ(0, Open(item));

    EXPECT_EQ(item->strST[2], CString(L"****"));
    EXPECT_EQ(item->strST[7], CString(L"****"));
    EXPECT_EQ(item->strST[9], CString(L"-45"));
    EXPECT_EQ(item->strST[11], CString(L"****"));
    EXPECT_EQ(item->strST[0], XmlText(StElement(0), L"data"));
    EXPECT_TRUE(item->strHeartRate.IsEmpty());
}

TEST(AverageSTTexts, HeartRateTextKeepsOnlyAPositiveWholeNumber)
{
    _MEASURE_INFO measure;
    const struct { const wchar_t* stored; const wchar_t* shown; } cases[] = {
        {L"72", L"72"}, {L"***", L""}, {L"0", L""}, {L"-5", L""}, {L"", L""}, {L"7a", L""}, {L" 118", L"118"},
    };
    for (const auto& c : cases) {
        measure.strGlobal[0] = c.stored;
        EXPECT_EQ(HeartRateText(measure), CString(c.shown)) << CString(c.stored).GetString();
    }
}

using mfertest::MferDocTest;

TEST_F(MferDocTest, OpeningAnMferRecordGivesItsStLevelsAndHeartRate)
{
    _MFERDATAITEM* item = OpenKind(morvelance::MferKind::Plain, 12, MFER_KIND_12LEAD, 12);
    ASSERT_NE(nullptr, item);
    for (int lead = 0; lead < 12; ++lead)
        EXPECT_EQ(item->strST[lead], testsupport::ReadXmlValue(testsupport::Utf8(item->strXMLPath), StElement(lead),
                                                               L"data", L"<none>"))
            << lead;
    EXPECT_GT(_wtoi(item->strHeartRate), 0);
}

TEST_F(MferDocTest, AnExtraLeadRecordHasNoStLevelsButKeepsItsHeartRate)
{
    _MFERDATAITEM* item = OpenKind(morvelance::MferKind::Extra4, 4, MFER_KIND_EXTRA4, 4);
    ASSERT_NE(nullptr, item);
    for (const CString& st : item->strST) EXPECT_EQ(st, CString(L"****"));
    EXPECT_GT(_wtoi(item->strHeartRate), 0);
}
