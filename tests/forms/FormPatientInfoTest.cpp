#include <gtest/gtest.h>

#include "controls/CheckComboBox.h"
#include "core/PositionCtrl.h"
#include "platform/ui/framework/ClientDC.h"
#include "forms/FormPatientInfo.h"
#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/forms/RestFormTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

namespace {

using morvelance::rec::RecordKind;
using testsupport::ControlText;

constexpr UINT kId = 3001, kName = 3003, kSubId = 3005, kAge = 3011, kAgeUnit = 3012, kSubAge = 3013,
               kSubAgeUnit = 3014, kHeight = 3015, kBpHigh = 3019, kBpLow = 3021;

class PatientStrip : public formtest::RestFormFixture<CFormPatientInfo> {
protected:
    _RESTDATAITEM* OpenRecord(bool b8000 = false)
    {
        _RESTDATAITEM* item = AddRecord("strip", resttest::Shape(RecordKind::Rest12, b8000));
        EXPECT_EQ(Open(item), 0);
        return item;
    }
    CFormPatientInfo& Show(int width = 1024, int height = 52)
    {
        CFormPatientInfo* form = m_host.Show(m_doc, DOC_TYPE_REST, RUNTIME_CLASS(CFormPatientInfo), width, height);
        EXPECT_NE(form, nullptr);
        return *form;
    }
    const _POSITION_CTRL& Row(int i) const { return m_doc.GetDefCtrlPos()->stPatInfo[i]; }
    CWnd* Ctrl(UINT id) { return m_host.form->GetDlgItem(id); }
    void Retype(UINT id, LPCWSTR text)
    {
        CWnd* control = Ctrl(id);
        ASSERT_NE(control, nullptr);
        control->SetFocus();
        control->SendMessage(EM_SETSEL, 0, -1);
        platform::ui::Desktop::TypeText(text);
        platform::ui::Desktop::PumpMessages();
    }

};

}  // namespace

TEST_F(PatientStrip, EveryControlIsCreatedAtItsLayoutRowOnTheDesignScreen)
{
    OpenRecord();
    CFormPatientInfo& strip = Show();
    const std::vector<CCheckUI>& entries = strip.GetCheckUIEntries();
    ASSERT_EQ(entries.size(), static_cast<size_t>(CFormPatientInfo::kRowCount));
    for (int i = 0; i < CFormPatientInfo::kRowCount; ++i) {
        const CRect created = entries[i].GetRect();
        const _POSITION_CTRL& row = Row(i);
        EXPECT_EQ(created.left, row.nLeft) << i;
        EXPECT_EQ(created.top, row.nTop) << i;
        EXPECT_EQ(created.Width(), row.nWidth) << i;
        if (i != 9 && i != 12) {   // combo boxes: their list
            EXPECT_EQ(created.Height(), row.nHeight) << i;
        }
        EXPECT_EQ(entries[i].GetCtrl(), strip.GetRowControl(i));
    }
}

TEST_F(PatientStrip, RowsAreScaledToTheScreenAndHiddenRowsStayHidden)
{
    OpenRecord();
    m_screen.Use(m_doc, 1280, 1024);
    CFormPatientInfo& strip = Show(1280, 70);
    const double fx = 1280 / 1024.0, fy = 1024 / 768.0;
    for (int i = 0; i < CFormPatientInfo::kRowCount; ++i) {
        const _POSITION_CTRL& row = Row(i);
        CWnd* control = strip.GetRowControl(i);
        const CRect placed = formtest::PlacedRect(strip, *control);
        EXPECT_EQ(placed.left, static_cast<int>(row.nLeft * fx)) << i;
        EXPECT_EQ(placed.top, static_cast<int>(row.nTop * fy)) << i;
        EXPECT_EQ(placed.Width(), static_cast<int>(row.nWidth * fx)) << i;
        if (!row.bVisible) {
            EXPECT_FALSE(formtest::IsShown(control)) << i;
        }
    }
}

TEST_F(PatientStrip, ShowsTheRecordsPatientAndTypedFieldsSurviveASaveAndAFreshDocument)
{
    _RESTDATAITEM* item = OpenRecord();
    Show();
    EXPECT_EQ(ControlText(*m_host.form, kId), item->stPatient.strPatientID);
    EXPECT_EQ(ControlText(*m_host.form, kName), item->stPatient.strName);
    Retype(kName, L"心電花子");
    Retype(kAge, L"47");
    Retype(kHeight, L"161.5");
    Retype(kBpHigh, L"135");
    Retype(kName, L"心電花子");   // leaves the blood pressure so that it reaches the store
    EXPECT_EQ(m_doc.GetEditPatientFlag(), 1);
    m_host.Close();
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);

    CRestViewDoc fresh;
    fresh.m_bAutoDelete = FALSE;
    ASSERT_NE(Reopen(fresh), nullptr);
    fresh.InitGlobalData();
    formtest::FormHost<CFormPatientInfo> again;
    ASSERT_NE(again.Show(fresh, DOC_TYPE_REST, RUNTIME_CLASS(CFormPatientInfo), 1024, 52), nullptr);
    EXPECT_EQ(ControlText(*again.form, kName), L"心電花子");
    EXPECT_EQ(ControlText(*again.form, kAge), L"47");
    EXPECT_EQ(ControlText(*again.form, kHeight), L"161.5");
    EXPECT_EQ(ControlText(*again.form, kBpHigh), L"135");
    again.Close();
}

TEST_F(PatientStrip, TheDayUnitShowsHoursAsSubAgeAndTheHourUnitHidesTheSubAge)
{
    OpenRecord();
    Show();
    testsupport::ChooseListEntry(*m_host.form, kAgeUnit, 3);
    EXPECT_TRUE(formtest::IsShown(Ctrl(kSubAge)));
    EXPECT_TRUE(formtest::IsShown(Ctrl(kSubAgeUnit)));
    EXPECT_EQ(ControlText(*m_host.form, kSubAgeUnit), L"時間");
    EXPECT_EQ(m_doc.GetSubAgeFlag(), 1);
    testsupport::ChooseListEntry(*m_host.form, kAgeUnit, 4);
    EXPECT_FALSE(formtest::IsShown(Ctrl(kSubAge)));
    EXPECT_EQ(ControlText(*m_host.form, kSubAgeUnit), L"");
    EXPECT_EQ(m_doc.GetSubAgeFlag(), 0);
}

// A unit the list does not hold (typed on another system) is shown as it
// was typed and leaves the sub-age as the last unit set it.
TEST_F(PatientStrip, AnAgeUnitTextThatMatchesNoItemStaysAsTyped)
{
    OpenRecord();
    Show();
    testsupport::ChooseListEntry(*m_host.form, kAgeUnit, 3);
    ASSERT_EQ(ControlText(*m_host.form, kSubAgeUnit), L"時間");
    m_doc.SetCtrlData(kAgeUnit, L"才", 1, -1);
    m_doc.UpdateAllViews(nullptr);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(ControlText(*m_host.form, kAgeUnit), L"才");
    EXPECT_EQ(m_doc.GetSubAgeFlag(), 1);
    EXPECT_TRUE(formtest::IsShown(Ctrl(kSubAge)));
    CString stored;
    m_doc.GetCtrlData(kAgeUnit, stored);
    EXPECT_EQ(stored, L"才");
}

// A layout row may give a combo box a text height of 0 (no shipped layout
// does): its drawn face then spans no rows, so no frame side runs down the
// box as it does on the sex combo box with the shipped height.
TEST_F(PatientStrip, AComboRowWithATextHeightOfZeroDrawsAFaceOfNoRows)
{
    OpenRecord();
    int& ageUnitRows = m_doc.GetDefCtrlPos()->stPatInfo[12].nTextHeight;
    struct Restore {
        int& value;
        int saved;
        ~Restore() { value = saved; }
    } restore{ageUnitRows, ageUnitRows};
    ageUnitRows = 0;
    ASSERT_GT(Row(9).nTextHeight, 0);
    Show();
    const COLORREF frame = m_doc.GetWaveColor(21);
    auto framePixels = [&](UINT id) {
        auto* combo = static_cast<CCheckComboBox*>(Ctrl(id));
        combo->Invalidate(TRUE);
        combo->UpdateWindow();
        combo->GetInnerEdit().Invalidate(TRUE);
        combo->GetInnerEdit().UpdateWindow();
        CClientDC dc(combo);
        CRect client;
        combo->GetClientRect(&client);
        // The frame's sides through the lower half of the box.
        int n = 0;
        for (int y = client.top + client.Height() / 2; y < client.bottom; ++y)
            for (int x = client.left; x < client.right; ++x) n += dc.GetPixel(x, y) == frame;
        return n;
    };
    EXPECT_GT(framePixels(3009), 0);
    EXPECT_EQ(framePixels(kAgeUnit), 0);
}

TEST_F(PatientStrip, AModel8000RecordTakesTwelveIdCharactersTwoAgeDigitsAndNoSubAge)
{
    OpenRecord(true);
    Show();
    Retype(kId, L"123456789012345");
    EXPECT_EQ(ControlText(*m_host.form, kId), L"123456789012");
    Retype(kAge, L"123");
    EXPECT_EQ(ControlText(*m_host.form, kAge), L"12");
    EXPECT_FALSE(formtest::IsShown(Ctrl(kSubAge)));
    EXPECT_FALSE(Ctrl(kSubId)->IsWindowEnabled());
}

TEST_F(PatientStrip, TheSubIdIsEditableOnlyWhenTheRecordKeepsASecondPatientSection)
{
    OpenRecord();
    Show();
    EXPECT_TRUE(Ctrl(kSubId)->IsWindowEnabled());
    m_host.Close();
    RemoveXmlNode(L"/Rawdata/Tavrion/Inspection/Patient_section2");
    Show();
    EXPECT_FALSE(Ctrl(kSubId)->IsWindowEnabled());
}

TEST_F(PatientStrip, PressuresInKpaTakeTwoDigitsAndInMmHgThree)
{
    OpenRecord();
    Show();
    Retype(kBpLow, L"1234");
    EXPECT_EQ(ControlText(*m_host.form, kBpLow), L"123");
    m_host.Close();
    SetXmlText(L"/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_unit", L"1");
    Show();
    Retype(kBpLow, L"1234");
    EXPECT_EQ(ControlText(*m_host.form, kBpLow), L"12");
}

TEST_F(PatientStrip, TheShownFormTakesAChangedPressureUnitAtItsNextShowTextAndBack)
{
    // The form stays up between the edits of the record XML: what it read of
    // the file before must not outlive the file's change.
    OpenRecord();
    CFormPatientInfo& strip = Show();
    strip.ShowText();
    Retype(kBpLow, L"1234");
    EXPECT_EQ(ControlText(strip, kBpLow), L"123");
    SetXmlText(L"/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_unit", L"1");
    strip.ShowText();
    Retype(kBpLow, L"1234");
    EXPECT_EQ(ControlText(strip, kBpLow), L"12");
    SetXmlText(L"/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_unit", L"0");
    strip.ShowText();
    Retype(kBpLow, L"1234");
    EXPECT_EQ(ControlText(strip, kBpLow), L"123");
}

TEST_F(PatientStrip, AHiddenConfirmationRowShowsOnceTheDoctorConfirmed)
{
    _RESTDATAITEM* item = OpenRecord();
    m_doc.GetDefCtrlPos()->stPatInfo[27].bVisible = 0;
    Show();
    EXPECT_FALSE(formtest::IsShown(Ctrl(3027)));
    m_host.Close();
    item->bDoctorConfirm = 1;
    item->stPatient.strConfirmDate = L"2026/12/01 10:20";
    item->stPatient.strConfirmDoctor = L"佐藤";
    m_doc.SetCtrlContent(nullptr);
    m_doc.UpdateCtrlStatus();
    Show();
    EXPECT_TRUE(formtest::IsShown(Ctrl(3027)));
}

TEST_F(PatientStrip, OneTabPressMovesOnceAndTheChainEndAsksThePane)
{
    OpenRecord();
    CFormPatientInfo& strip = Show();
    Ctrl(kId)->SetFocus();
    platform::ui::Desktop::KeyPress(VK_TAB);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(::GetFocus(), Ctrl(kName)->m_hWnd);   // one step, not two
    EXPECT_EQ(m_host.pane.Count(WM_FORM_TAB_END), 0);

    // The last control of the chain: the pane takes the jump.
    CWnd* last = nullptr;
    for (int i = CFormPatientInfo::kRowCount - 1; i >= 0 && !last; --i) {
        CWnd* control = strip.GetRowControl(i);
        if (formtest::IsShown(control) && control->IsWindowEnabled() && !control->IsKindOf(RUNTIME_CLASS(CCheckStatic)))
            last = control;
    }
    ASSERT_NE(last, nullptr);
    m_host.pane.answer = 1;
    last->SetFocus();
    platform::ui::Desktop::KeyPress(VK_TAB);
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(m_host.pane.Count(WM_FORM_TAB_END), 1);
    EXPECT_EQ(m_host.pane.LastChain(), (std::array<int, 3>{1, 2, 0}));
    EXPECT_EQ(::GetFocus(), last->m_hWnd);   // the pane moved it (here: nowhere)

    // Refused: the focus wraps inside the strip.
    m_host.pane.answer = 0;
    platform::ui::Desktop::KeyPress(VK_TAB);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(m_host.pane.Count(WM_FORM_TAB_END), 2);
    EXPECT_EQ(::GetFocus(), Ctrl(kId)->m_hWnd);

    // Backwards from the first: direction 1.
    platform::ui::Desktop::KeyPress(VK_TAB, platform::ui::kShift);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(m_host.pane.LastChain(), (std::array<int, 3>{1, 1, 0}));
}

TEST_F(PatientStrip, ADoubleClickInPopupModeOpensThePatientSheetAndOkTellsThePanesParent)
{
    OpenRecord();
    CFormPatientInfo& strip = Show();
    testsupport::ModalScript script;
    m_doc.SetPopupMode(0);
    platform::ui::Desktop::DoubleClick(strip.m_hWnd, 1010, 48);   // not in popup mode: nothing
    platform::ui::Desktop::PumpMessages();
    EXPECT_TRUE(script.Seen().empty());
    m_doc.SetPopupMode(1);
    script.On(105, [](CDialog& sheet) { sheet.EndDialog(IDCANCEL); });
    platform::ui::Desktop::DoubleClick(strip.m_hWnd, 1010, 48);
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(script.Seen().size(), 1u);
    EXPECT_EQ(script.Seen()[0], 105u);
    EXPECT_EQ(m_host.Host().results, 0);
    script.On(105, [](CDialog& sheet) { sheet.EndDialog(IDOK); });
    strip.SendMessage(WM_OPEN_PATIENT_EDITOR, 0, 1);
    EXPECT_EQ(m_host.Host().results, 1);
}

TEST_F(PatientStrip, PrintDrawsVisibleTextsAtTheirMappedDesignPlaces)
{
    _RESTDATAITEM* item = OpenRecord();
    item->stPatient.strName = L"ＷＷＷＷＷＷ";
    CFormPatientInfo& strip = Show();
    CDC image;
    ASSERT_TRUE(image.Attach(platform::gdi::CreateImageDC(2048, 104)));
    image.FillSolidRect(0, 0, 2048, 104, RGB(255, 255, 255));
    CECGDC dc(&image, 1);
    EXPECT_EQ(strip.Print(&dc, CRect(0, 0, 2048, 104)), 1);
    // The name edit's row (216, 3, 150 × 20) lands at twice its design place.
    auto inked = [&](int left, int top, int right, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += image.GetPixel(x, y) != RGB(255, 255, 255);
        return n;
    };
    EXPECT_GT(inked(432, 6, 732, 46), 20);
    // Nothing between the rows of the two lines.
    EXPECT_EQ(inked(0, 47, 2048, 54), 0);
}

TEST_F(PatientStrip, EveryEditableFieldTypedRoundTripsThroughTheRecordXml)
{
    _RESTDATAITEM* item = OpenRecord();
    Show();
    const struct {
        UINT id;
        LPCWSTR text;
    } kTyped[] = {{kId, L"ID-4242"}, {kName, L"心電花子"},   {kSubId, L"SUB-9"},  {3007, L"シンデンハナコ"},
                  {kAge, L"58"},     {kHeight, L"158.5"}, {3017, L"49.5"},    {kBpHigh, L"118"},
                  {kBpLow, L"72"}};
    for (const auto& typed : kTyped) Retype(typed.id, typed.text);
    Retype(kId, L"ID-4242");   // leaves the last field so that it reaches the store
    m_host.Close();
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);

    CRestViewDoc fresh;
    fresh.m_bAutoDelete = FALSE;
    ASSERT_NE(Reopen(fresh), nullptr);
    formtest::FormHost<CFormPatientInfo> again;
    ASSERT_NE(again.Show(fresh, DOC_TYPE_REST, RUNTIME_CLASS(CFormPatientInfo), 1024, 52), nullptr);
    for (const auto& typed : kTyped) EXPECT_EQ(ControlText(*again.form, typed.id), typed.text) << typed.id;
    again.Close();
}
