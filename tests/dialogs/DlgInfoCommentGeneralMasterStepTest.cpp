#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "dialogs/DlgEditor.h"
#include "dialogs/DlgInfoCommentGeneral.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/SheetTestSupport.h"
#include "tests/documents/FinalViewDocTestUtil.h"
#include "tests/support/ModalScript.h"

namespace {

using sheettest::Press;
using sheettest::Retype;

constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);

// The general sheet over a master-step record (243, with trips and additions).
class MasterStepSheet : public finaltest::FinalDocTest {
protected:
    void SetUp() override
    {
        FinalDocTest::SetUp();
        m_doc.GetCtrlPosFromXSL(LOAD_POS_REST);
        m_doc.GetCtrlPosFromXSL(LOAD_POS_FINAL);
        m_record = Write(finaltest::SynthRecord(), &m_xml);
        ASSERT_EQ(Open(m_doc, m_record, m_xml), 0);
        ASSERT_NE(m_doc.GetCurrentDataItem(), nullptr);
        m_doc.SetCtrlContent(nullptr);
        m_doc.InsertEditableParam(kEditors, L"編集者一");
        m_doc.SetDoctorAndEditorStatus(1, 1);
        platform::ui::Desktop::Reset();
    }

    INT_PTR Run(int page = 0)
    {
        CDlgInfoCommentGeneral sheet;
        sheet.SetDoc(&m_doc, DOC_TYPE_FINAL);
        sheet.SetActivePage(page);
        return sheet.DoModal();
    }

    static void AnswerEditor(testsupport::ModalScript& script)
    {
        script.On(CDlgEditor::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    }

    CFinalViewDoc m_doc;
    std::string m_record;
    std::string m_xml;
};

}  // namespace

TEST_F(MasterStepSheet, OkOnAnUntouchedRecordWithBothPagesChangesNothing)
{
    ASSERT_NE(m_doc.GetCurrentDataItem()->stAddition.bPresent, 0);
    const std::string before = testsupport::ReadFileBytes(m_xml);
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        auto& sheet = static_cast<CDlgInfoCommentGeneral&>(dialog);
        EXPECT_EQ(sheet.Sheet().GetPageCount(), 2);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgInfoCommentGeneral::IDD});
    EXPECT_EQ(testsupport::ReadFileBytes(m_xml), before);
}

TEST_F(MasterStepSheet, AnUncountedTripKeepsItsStarThroughAnEditOfAnotherField)
{
    _FINALDATAITEM* item = m_doc.GetCurrentDataItem();
    item->stWaveInfo.strTripCount = L"*";
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        auto& sheet = static_cast<CDlgInfoCommentGeneral&>(dialog);
        EXPECT_EQ(testsupport::ControlText(sheet.GeneralPage(), 3735), L"");
        Retype(sheet.GeneralPage(), 3703, L"階段太郎");
        Press(dialog, IDOK);
    });
    AnswerEditor(script);
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(item->stPatient.strName, L"階段太郎");
    EXPECT_EQ(item->stWaveInfo.strTripCount, L"*");
}

TEST_F(MasterStepSheet, AnAdditionTypedAfterAFirstPageEditIsSavedAndStamped)
{
    _FINALDATAITEM* item = m_doc.GetCurrentDataItem();
    const int count = item->stAddition.nCount;
    ASSERT_LT(count, 16);
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [count](CDialog& dialog) {
        auto& sheet = static_cast<CDlgInfoCommentGeneral&>(dialog);
        Retype(sheet.GeneralPage(), 3703, L"付帯太郎");
        sheet.Sheet().SetActivePage(1);
        Retype(sheet.AdditionPage(), 3876 + count, L"新項目");
        Press(dialog, IDOK);
    });
    AnswerEditor(script);
    EXPECT_EQ(Run(), IDOK);
    ASSERT_EQ(item->stAddition.nCount, count + 1);
    EXPECT_EQ(item->stAddition.strTitle[count], L"新項目");
    EXPECT_EQ(item->stAddition.strEditor, L"編集者一");
    EXPECT_EQ(item->stInterpre.strFree[FINAL_FREE_PATIENT_EDITOR], L"編集者一");
}

TEST_F(MasterStepSheet, AJudgementTheListShowsOtherwiseIsNoEditAndIsKept)
{
    _FINALDATAITEM* item = m_doc.GetCurrentDataItem();
    CString& judgement = item->stInterpre.strFree[FINAL_FREE_IVREL_TEXT];
    const struct {
        LPCWSTR stored;   // the text in the record
        LPCWSTR shown;    // what the list shows
    } cases[] = {
        {L"境界", L"境界域"},   // the beginning of an entry selects it
        {L"所見不明", L""},     // no entry: a drop-down list shows nothing
    };
    for (const auto& c : cases) {
        judgement = c.stored;
        m_doc.SetCtrlContent(nullptr);
        const std::string before = testsupport::ReadFileBytes(m_xml);
        testsupport::ModalScript script;
        script.On(CDlgInfoCommentGeneral::IDD, [&c](CDialog& dialog) {
            auto& sheet = static_cast<CDlgInfoCommentGeneral&>(dialog);
            EXPECT_EQ(testsupport::ControlText(sheet.GeneralPage(), 3758), c.shown);
            Retype(sheet.GeneralPage(), 3703, L"判定太郎");
            Press(dialog, IDOK);
        });
        AnswerEditor(script);
        EXPECT_EQ(Run(), IDOK);
        EXPECT_EQ(judgement, c.stored) << testsupport::Utf8(c.stored);
        EXPECT_NE(item->stInterpre.strFree[FINAL_FREE_ANALYSIS_EDITOR], L"編集者一");
    }
}
