#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "dialogs/PagePatientInfo.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tools/Mkrecord.h"

namespace {

using morvelance::rec::RecordKind;
using testsupport::ControlText;

// The page shown in a modeless sheet over a resting record written by the
// record maker, the store filled as the resting form fills it.
class PatientInfoPage : public resttest::RestDocFixture {
protected:
    void TearDown() override
    {
        m_host.Close();
        resttest::RestDocFixture::TearDown();
    }

    _RESTDATAITEM* OpenRecord(const morvelance::RestRecordShape& shape)
    {
        _RESTDATAITEM* item = AddRecord("page", shape);
        EXPECT_EQ(Open(item), 0);
        return item;
    }

    CPagePatientInfo& ShowPage() { return m_host.Show(&m_doc, DOC_TYPE_REST, L"被検者情報"); }
    void Retype(int id, LPCWSTR text) { m_host.Retype(id, text); }
    bool Shown(int id) const { return m_host.Shown(id); }

    dialogtest::CPageInSheet<CPagePatientInfo> m_host;
};

}  // namespace

TEST_F(PatientInfoPage, ShowsTheItemAndReportsNoChangeUntilAFieldIsEdited)
{
    _RESTDATAITEM* item = OpenRecord(resttest::Shape(RecordKind::Rest12));
    item->stPatient.strName = L"心電太郎";
    CPagePatientInfo& page = ShowPage();
    EXPECT_EQ(ControlText(page, 3208), L"心電太郎");
    EXPECT_EQ(ControlText(page, 3206), item->stPatient.strPatientID);
    EXPECT_EQ(page.IsDataChange(), 0);
    Retype(3208, L"心電花子");
    EXPECT_EQ(page.IsDataChange(), 1);
}

TEST_F(PatientInfoPage, SavedFieldsReachTheRecordXmlAndReadBackAsTyped)
{
    _RESTDATAITEM* item = OpenRecord(resttest::Shape(RecordKind::Rest12));
    CPagePatientInfo& page = ShowPage();
    Retype(3208, L"山田太郎");
    Retype(3225, L"170.5");
    Retype(3219, L"1970");
    Retype(3221, L"4");
    Retype(3223, L"12");
    ASSERT_EQ(page.CheckPatientData(), 0);
    page.SaveDataToItem();
    EXPECT_EQ(item->bSkipRefresh, 1);
    EXPECT_EQ(page.IsDataChange(), 0);
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);

    CRestViewDoc fresh;
    _RESTDATAITEM* again = Reopen(fresh);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stPatient.strName, L"山田太郎");
    EXPECT_EQ(again->stPatient.strHeight, L"170.5");
    EXPECT_EQ(again->stInterpre.stBirthday.strYear, L"1970");
    // The record writes birthday parts with two digits.
    EXPECT_EQ(again->stInterpre.stBirthday.strMonth, L"04");
    EXPECT_EQ(again->stInterpre.stBirthday.strDay, L"12");
}

TEST_F(PatientInfoPage, AnImpossibleBirthDateGetsTheCalendarBoxWithTheExclamationIcon)
{
    OpenRecord(resttest::Shape(RecordKind::Rest12));
    CPagePatientInfo& page = ShowPage();
    Retype(3219, L"2001");
    Retype(3221, L"2");
    Retype(3223, L"29");
    platform::ui::MessageBoxRecorder boxes;
    EXPECT_EQ(page.CheckPatientData(), 255);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, L"生年月日 無効値です");
    EXPECT_EQ(boxes.Last().caption, L"無効値です");
    EXPECT_EQ(boxes.Last().type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(PatientInfoPage, TheFirstFailingFieldStopsTheCheckWithItsOwnMessage)
{
    OpenRecord(resttest::Shape(RecordKind::Rest12));
    CPagePatientInfo& page = ShowPage();
    Retype(3214, L"");
    Retype(3219, L"*");
    Retype(3225, L"1000");
    Retype(3228, L"1.2.3");
    platform::ui::MessageBoxRecorder boxes;
    EXPECT_EQ(page.CheckPatientData(), 255);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, L"被検者情報の身長 must be between    0.0 and  999.9 ! ");
    Retype(3225, L"180");
    boxes.Clear();
    EXPECT_EQ(page.CheckPatientData(), 255);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, L"被検者情報の体重 should be unsigned float number!");
}

TEST_F(PatientInfoPage, ADoubleByteCharacterThatWouldPassTheLimitIsRemovedWhole)
{
    OpenRecord(resttest::Shape(RecordKind::Rest12));
    CPagePatientInfo& page = ShowPage();
    Retype(3208, L"ABCDEFGHIJKLMNOPQRS");   // 19 of 20 bytes
    Retype(3208, L"");
    CWnd* name = page.GetDlgItem(3208);
    name->SetFocus();
    name->SendMessage(EM_SETSEL, 0, -1);
    platform::ui::Desktop::TypeText(L"ABCDEFGHIJKLMNOPQRS心");
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(ControlText(page, 3208), L"ABCDEFGHIJKLMNOPQRS");
    DWORD start = 0, end = 0;
    name->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 19u);
    EXPECT_EQ(end, 19u);
}

TEST_F(PatientInfoPage, TheHourUnitHidesAndEmptiesTheSubAgeAndMonthsCountItInWeeks)
{
    OpenRecord(resttest::Shape(RecordKind::Rest12));
    CPagePatientInfo& page = ShowPage();
    testsupport::ChooseListEntry(page, 3215, 4);
    EXPECT_FALSE(Shown(3216));
    EXPECT_EQ(ControlText(page, 3216), L"");
    testsupport::ChooseListEntry(page, 3215, 1);
    EXPECT_TRUE(Shown(3216));
    EXPECT_EQ(ControlText(page, 3217), L"週");
}

TEST_F(PatientInfoPage, ModelEightThousandRecordsKeepTwoCharactersOfTheAgeAndNoSubAge)
{
    _RESTDATAITEM* item = OpenRecord(resttest::Shape(RecordKind::Rest12, true));
    CPagePatientInfo& page = ShowPage();
    EXPECT_FALSE(Shown(3216));
    EXPECT_FALSE(Shown(3250));
    EXPECT_TRUE(Shown(3240));
    page.SetDlgItemText(3214, L"123");
    page.SetDlgItemText(3216, L"abc");   // hidden, so never examined
    platform::ui::MessageBoxRecorder boxes;
    EXPECT_EQ(page.CheckPatientData(), 0);
    EXPECT_EQ(boxes.Count(), 0);
    page.SaveDataToItem();
    EXPECT_EQ(item->stPatient.strAge, L"12");
}

TEST_F(PatientInfoPage, AnUncountedTripIsShownEmptyAndKeptAsAStar)
{
    _RESTDATAITEM* item = OpenRecord(resttest::Shape(RecordKind::Rest12, false, 254));
    item->strTrip = L"*";
    item->strTotalTrip = L"20";
    CPagePatientInfo& page = ShowPage();
    EXPECT_TRUE(Shown(3236));
    EXPECT_EQ(ControlText(page, 3235), CPagePatientInfo::TripLabel());
    EXPECT_EQ(ControlText(page, 3236), L"");
    EXPECT_EQ(ControlText(page, 3238), L"20");
    EXPECT_EQ(page.IsDataChange(), 0);
    page.SaveDataToItem();
    EXPECT_EQ(item->strTrip, L"*");
    Retype(3236, L"007");
    EXPECT_EQ(page.IsDataChange(), 1);
    page.SaveDataToItem();
    EXPECT_EQ(item->strTrip, L"7");
}

// A model-8000 record's trip count past 255 and age of 100, which the page
// shows as stored, are neither refused nor cut by an OK that did not touch
// them; a typed count past 255 is refused.
TEST_F(PatientInfoPage, AModel8000CountAndAgePastItsBoxesStayAsStoredUntilTyped)
{
    _RESTDATAITEM* item = OpenRecord(resttest::Shape(RecordKind::Rest12, true, 254));
    item->strTrip = L"300";
    item->strTotalTrip = L"*";
    item->stPatient.strAge = L"100";
    CPagePatientInfo& page = ShowPage();
    EXPECT_EQ(ControlText(page, 3236), L"300");
    EXPECT_EQ(ControlText(page, 3238), L"");
    EXPECT_EQ(ControlText(page, 3214), L"100");
    EXPECT_EQ(page.IsDataChange(), 0);
    platform::ui::MessageBoxRecorder boxes;
    EXPECT_EQ(page.CheckPatientData(), 0);
    EXPECT_EQ(boxes.Count(), 0);
    page.SaveDataToItem();
    EXPECT_EQ(item->strTrip, L"300");
    EXPECT_EQ(item->strTotalTrip, L"*");
    EXPECT_EQ(item->stPatient.strAge, L"100");

    Retype(3236, L"301");
    EXPECT_EQ(page.IsDataChange(), 1);
    EXPECT_EQ(page.CheckPatientData(), 255);
    EXPECT_EQ(boxes.Count(), 1);
}

TEST_F(PatientInfoPage, RecordsWithoutTripsHideTheTripRow)
{
    OpenRecord(resttest::Shape(RecordKind::Rest12, false, 243));
    ShowPage();
    for (int id = 3235; id <= 3238; ++id) EXPECT_FALSE(Shown(id)) << id;
}

TEST_F(PatientInfoPage, AReadOnlyDocumentHidesEveryValueAndStillAnswersFromTheHiddenControls)
{
    _RESTDATAITEM* item = OpenRecord(resttest::Shape(RecordKind::Rest12));
    item->stPatient.strName = L"読取専用";
    m_doc.SetReadOnly(1);
    CPagePatientInfo& page = ShowPage();
    for (int id : {3206, 3207, 3208, 3209, 3212, 3214, 3219, 3225, 3228, 3231, 3250, 3258, 3210})
        EXPECT_FALSE(Shown(id)) << id;
    EXPECT_EQ(ControlText(page, 3208), L"読取専用");
    EXPECT_EQ(page.IsDataChange(), 0);
    page.RedrawWindow();
    platform::ui::Desktop::PumpMessages();
    EXPECT_FALSE(Shown(3208));
}

TEST_F(PatientInfoPage, ADisplayOnlyRowIsUnderlinedAcrossItsColumn)
{
    OpenRecord(resttest::Shape(RecordKind::Rest12));
    m_doc.SetReadOnly(1);
    CPagePatientInfo& page = ShowPage();
    page.UpdateWindow();
    platform::ui::Desktop::PumpMessages();
    auto clientRect = [&page](int id) {
        CRect rect;
        page.GetDlgItem(id)->GetWindowRect(&rect);
        page.ScreenToClient(&rect);
        return rect;
    };
    const CRect name = clientRect(3208);
    const int left = clientRect(3202).left;
    const int right = clientRect(3206).right;
    HDC dc = GetDC(page.GetSafeHwnd());
    for (int x : {left + 1, (left + right) / 2, right - 2})
        EXPECT_EQ(GetPixel(dc, x, name.bottom), RGB(0, 0, 0)) << "x " << x;
    // Below the line the page keeps its face colour.
    EXPECT_EQ(GetPixel(dc, (left + right) / 2, name.bottom + 2), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(page.GetSafeHwnd(), dc);
}

TEST_F(PatientInfoPage, AnUncountedTripWrittenByTheRecordMakerSurvivesAnUntouchedSave)
{
    morvelance::RestRecordShape shape = resttest::Shape(RecordKind::Rest12, false, 254);
    shape.xml.trip = "*";
    _RESTDATAITEM* item = OpenRecord(shape);
    ASSERT_EQ(item->strTrip, L"*");
    CPagePatientInfo& page = ShowPage();
    EXPECT_EQ(ControlText(page, 3236), L"");
    EXPECT_EQ(page.IsDataChange(), 0);
    page.SaveDataToItem();
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Record/Mstep_section/Trip_info", L"trip"), L"*");
}

TEST(RecordMakerTrip, TheXmlCommandWritesTheFirstTripCountAsGiven)
{
    testsupport::TempDir dir;
    const std::string xml = dir.File("trip.xml");
    std::ostringstream out, err;
    ASSERT_EQ(morvelance::RunMkrecord({"xml", "--kind", "rest12", "--trip", "*", "--out", xml}, out, err), 0) << err.str();
    EXPECT_EQ(testsupport::ReadXmlValue(xml, L"/Rawdata/Tavrion/Record/Mstep_section/Trip_info", L"trip"), L"*");
}
