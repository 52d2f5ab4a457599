#include <gtest/gtest.h>

#include <memory>

#include "dialogs/PagePatientCommentGeneral.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/dialogs/GeneralPageFixture.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"

namespace {

using testsupport::ControlText;

// The page in a modeless sheet over a rhythm record from the record maker.
class GeneralPage : public dialogtest::GeneralPageFixture {
protected:
    void Retype(int id, LPCWSTR text) { m_host.Retype(id, text); }
    bool Shown(int id) const { return m_host.Shown(id); }
};

}  // namespace

TEST_F(GeneralPage, AnUntouchedRecordReportsNoChangeAndNoFlag)
{
    CPagePatientCommentGeneral& page = ShowPage();
    EXPECT_EQ(ControlText(page, 3703), Item()->stPatient.strName);
    EXPECT_EQ(page.IsDataChange(), 0);
    EXPECT_EQ(page.IsInformationChange(), 0);
    EXPECT_EQ(page.IsCommentChange(), 0);
    EXPECT_FALSE(Shown(3758));   // the judgement belongs to master-step records
    EXPECT_FALSE(Shown(3735));
}

TEST_F(GeneralPage, ACommentOnlyEditSetsTheCommentFlagAlone)
{
    CPagePatientCommentGeneral& page = ShowPage();
    Retype(3706, L"所見なし");
    EXPECT_NE(page.IsDataChange(), 0);
    EXPECT_EQ(page.IsInformationChange(), 0);
    EXPECT_EQ(page.IsCommentChange(), 1);
}

TEST_F(GeneralPage, SavedFieldsReachTheRecordXmlThroughTheDocument)
{
    CPagePatientCommentGeneral& page = ShowPage();
    Retype(3703, L"山田花子");
    Retype(3724, L"158.5");
    Retype(3706, L"再検査");
    EXPECT_NE(page.IsDataChange(), 0);
    EXPECT_EQ(page.IsInformationChange(), 1);
    ASSERT_EQ(page.CheckPatientData(), 0);
    page.SaveDataToItem();
    EXPECT_EQ(page.IsDataChange(), 0);
    m_doc->SetCtrlContent(nullptr);   // the sheet refills the store before the save
    ASSERT_EQ(m_doc->SaveDataToXML(Item()->nID), 0);

    CRhythmViewDoc fresh;
    fresh.GetCtrlPosFromXSL(LOAD_POS_REST);
    fresh.GetCtrlPosFromXSL(LOAD_POS_RHYTHM);
    ASSERT_EQ(Open(fresh, m_files, 1), 0);
    _RHYTHMDATAITEM* again = fresh.GetCurrentDataItem();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stPatient.strName, L"山田花子");
    EXPECT_EQ(again->stPatient.strHeight, L"158.5");
    EXPECT_EQ(again->stInterpre.strComment, L"再検査");
}

TEST_F(GeneralPage, ValueChecksStopAtTheFirstFailure)
{
    CPagePatientCommentGeneral& page = ShowPage();
    Retype(3713, L"3.5");
    platform::ui::MessageBoxRecorder boxes;
    EXPECT_EQ(page.CheckPatientData(), 255);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, L"被検者情報の年齢 should be unsigned integer number!");
    Retype(3713, L"40");
    Retype(3718, L"2007");
    Retype(3720, L"2");
    Retype(3722, L"30");
    boxes.Clear();
    EXPECT_EQ(page.CheckPatientData(), 255);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, L"生年月日 無効値です");
    EXPECT_EQ(boxes.Last().type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(GeneralPage, AReadOnlyDocumentHidesTheValuesAndThePhraseButton)
{
    m_doc->SetReadOnly(1);
    CPagePatientCommentGeneral& page = ShowPage();
    for (int id : {3701, 3703, 3711, 3713, 3718, 3739, 3747, 3705, 3760}) EXPECT_FALSE(Shown(id)) << id;
    EXPECT_TRUE(page.GetDlgItem(3706)->GetStyle() & ES_READONLY);
    EXPECT_EQ(page.IsDataChange(), 0);
}
