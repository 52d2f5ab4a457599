// The general patient page's limits and its sub-age: the blood-pressure
// digits by the record's unit, the medication combo's byte limit, and the
// sub-age unit that follows the chosen age unit.
#include <gtest/gtest.h>

#include "dialogs/PagePatientCommentGeneral.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/GeneralPageFixture.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"

namespace {

using testsupport::ControlText;

// The page over a store whose pressure unit is written as given: the
// record maker only writes "kPa" and "mmHg".
class CUnitPage : public CPagePatientCommentGeneral {
public:
    static CString s_unit;

protected:
    BOOL OnInitDialog() override
    {
        m_pDoc->SetCtrlData(3022, s_unit, 1, -1);
        return CPagePatientCommentGeneral::OnInitDialog();
    }
};
CString CUnitPage::s_unit;

class GeneralPageLimits : public dialogtest::GeneralPageFixture {
protected:
    // Types into an emptied field, as the user does.
    CString TypeInto(CWnd& page, int id, LPCWSTR text)
    {
        CWnd* control = page.GetDlgItem(id);
        EXPECT_NE(control, nullptr);
        if (!control) return CString();
        control->SetWindowText(L"");
        control->SetFocus();
        platform::ui::Desktop::TypeText(text);
        platform::ui::Desktop::PumpMessages();
        return ControlText(page, id);
    }
};

}  // namespace

TEST_F(GeneralPageLimits, PressuresInKpaOfEitherCaseTakeTwoDigitsAndInMmHgThree)
{
    for (const auto& [unit, typed] : {std::pair<LPCWSTR, LPCWSTR>{L"kPa", L"12"}, {L"KPA", L"12"},
                                      {L"mmHg", L"123"}}) {
        SCOPED_TRACE(testsupport::Utf8(unit));
        CUnitPage::s_unit = unit;
        dialogtest::CPageInSheet<CUnitPage> host;
        CUnitPage& page = host.Show(m_doc.get(), DOC_TYPE_RHYTHM, L"情報編集");
        EXPECT_EQ(ControlText(page, 3733), unit);
        EXPECT_EQ(TypeInto(page, 3730, L"1234"), typed);
        EXPECT_EQ(TypeInto(page, 3732, L"1234"), typed);
        host.Close();
    }
}

TEST_F(GeneralPageLimits, AMedicationTypedPastTwentyTwoBytesIsCutCountingADoubleByteCharacterAsTwo)
{
    CPagePatientCommentGeneral& page = ShowPage();
    // Ten two-byte characters and two letters are 22 bytes; the third letter is cut.
    EXPECT_EQ(TypeInto(page, 3739, L"降圧剤降圧剤降圧剤降ab"), L"降圧剤降圧剤降圧剤降ab");
    EXPECT_EQ(TypeInto(page, 3739, L"降圧剤降圧剤降圧剤降abc"), L"降圧剤降圧剤降圧剤降ab");
    // A two-byte character that would end at byte 23 does not fit either.
    EXPECT_EQ(TypeInto(page, 3739, L"a降圧剤降圧剤降圧剤降圧"), L"a降圧剤降圧剤降圧剤降");
}

TEST_F(GeneralPageLimits, TheSubAgeFollowsTheChosenAgeUnit)
{
    Item()->stPatient.strAgeUnit.Empty();
    CPagePatientCommentGeneral& page = ShowPage();
    // No unit chosen: the sub-age counts years.
    EXPECT_TRUE(m_host.Shown(3715));
    EXPECT_EQ(ControlText(page, 3716), L"歳");
    testsupport::ChooseListEntry(page, 3714, 2);   // 週
    EXPECT_TRUE(m_host.Shown(3715));
    EXPECT_TRUE(m_host.Shown(3716));
    EXPECT_EQ(ControlText(page, 3716), L"日");
    page.GetDlgItem(3715)->SetWindowText(L"3");
    testsupport::ChooseListEntry(page, 3714, 4);   // 時間
    EXPECT_FALSE(m_host.Shown(3715));
    EXPECT_FALSE(m_host.Shown(3716));
    EXPECT_EQ(ControlText(page, 3715), L"");
    EXPECT_EQ(ControlText(page, 3716), L"");
}
