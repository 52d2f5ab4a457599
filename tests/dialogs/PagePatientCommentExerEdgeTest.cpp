// The exercise patient page on an exercise record the record maker wrote:
// a medication stored only as its list position, no judgement chosen, and
// the judgement list to its last entry.
#include <gtest/gtest.h>

#include "core/ECGXMLParser.h"
#include "dialogs/PagePatientCommentExer.h"
#include "documents/ExerXmlAccess.h"
#include "documents/RecordXmlText.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "tests/support/ModalScript.h"

namespace {

using testsupport::ControlText;

constexpr int kMedication1 = 4138, kJudgement = 4158, kProtocol = 4160;
constexpr auto kMedicationList = static_cast<_EDITABLE_PARAM_INDEX>(0);
const wchar_t kJudgementList[] = L"/Ivrel/Judgement_code/Code";

class ExerPageEdge : public exertest::ExerDocument {
protected:
    void SetUp() override
    {
        ExerDocument::SetUp();
        m_files = Write(exertest::DefaultOptions());
        ASSERT_EQ(Open(m_doc, m_files), 0);
        m_doc.ClearEditableParam(kMedicationList);
        for (const wchar_t* name : {L"降圧剤", L"抗血小板薬", L"利尿薬", L"その他"})
            m_doc.InsertEditableParam(kMedicationList, name);
        platform::ui::Desktop::Reset();
    }
    void TearDown() override
    {
        m_host.Close();
        ExerDocument::TearDown();
    }
    _EXERDATAITEM* Item() { return m_doc.GetCurrentDataItem(); }
    CString JudgementPath() { return m_doc.GetDefXMLPath(exer::LAYOUT_KIND_EXER, exer::EXER_ENTRY_IVREL_CODE, 0); }
    // The record as written anew with its judgement code emptied.
    void WithoutJudgement()
    {
        testsupport::WriteXmlValue(m_files.xml, JudgementPath(), L"");
        ASSERT_EQ(Open(m_doc, m_files), 0);
    }
    CString StoredJudgementCode()
    {
        return testsupport::ReadXmlValue(m_files.xml, JudgementPath());
    }
    CPagePatientCommentExer& ShowPage()
    {
        m_doc.SetCtrlContent(nullptr);   // the store as the exercise form fills it
        return m_host.Show(&m_doc, DOC_TYPE_EXER, L"情報編集");
    }

    CExerViewDoc m_doc;
    exertest::ExerFiles m_files;
    dialogtest::CPageInSheet<CPagePatientCommentExer> m_host;
};

}  // namespace

TEST_F(ExerPageEdge, AnEmptyStoredMedicationShowsItsListEntryAndNoJudgementStaysNone)
{
    WithoutJudgement();
    _INTERPRE_INFO_EXER& info = Item()->stInterpre;
    ASSERT_EQ(info.strIvrelText, L"");
    info.strMedication1.Empty();
    info.nMedication1Code = 1;
    CPagePatientCommentExer& page = ShowPage();
    EXPECT_EQ(ControlText(page, kMedication1), L"抗血小板薬");
    EXPECT_EQ(page.SendDlgItemMessage(kJudgement, CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(page.IsDataChange(), 0);
    // Emptied on the page, the medication no longer reads as its entry.
    page.SetDlgItemText(kMedication1, L"");
    EXPECT_EQ(page.IsDataChange(), 1);
    page.SetDlgItemText(kMedication1, L"抗血小板薬");
    EXPECT_EQ(page.IsDataChange(), 0);

    // Another field saved: the medication stays as stored (no text, the list
    // entry's position), the judgement stays none.
    m_host.Retype(kProtocol, L"Naughton");
    ASSERT_EQ(page.IsDataChange(), 1);
    page.SaveDataToItem();
    EXPECT_EQ(info.strMedication1, L"");
    EXPECT_EQ(info.nMedication1Code, 1);
    EXPECT_EQ(info.strIvrelText, L"");
    EXPECT_EQ(info.strIvrelValue, L"");
    ASSERT_EQ(m_doc.SaveDataToXML(Item()->nID), 0);
    CExerViewDoc fresh;
    ASSERT_EQ(Open(fresh, m_files), 0);
    const _INTERPRE_INFO_EXER& again = fresh.GetCurrentDataItem()->stInterpre;
    EXPECT_EQ(again.strLoad, L"Naughton");
    EXPECT_EQ(again.strMedication1, L"");
    EXPECT_EQ(again.nMedication1Code, 1);
    EXPECT_EQ(again.strIvrelText, L"");
    EXPECT_EQ(StoredJudgementCode(), L"");
}

TEST_F(ExerPageEdge, TheJudgementListRunsToTheMastersLastEntryAndAnEmptiedChoiceStoresNone)
{
    CECGXMLParser master(IvrelMasterPath(), 0, CString());
    const int count = master.GetObjectCount(kJudgementList);
    ASSERT_GT(count, 1);
    CString last, path;
    path.Format(L"%s[%d]/%s", kJudgementList, count, L"Japanese_text");
    master.GetDataFromXMLDOM(last, path, 4, CString());
    ASSERT_FALSE(last.IsEmpty());

    CPagePatientCommentExer& page = ShowPage();
    ASSERT_EQ(page.SendDlgItemMessage(kJudgement, CB_GETCOUNT), count);
    testsupport::ChooseListEntry(page, kJudgement, count - 1);
    ASSERT_EQ(page.SendDlgItemMessage(kJudgement, CB_GETCURSEL), count - 1);
    EXPECT_EQ(ControlText(page, kJudgement), last);
    EXPECT_EQ(page.IsDataChange(), 1);
    page.SaveDataToItem();
    EXPECT_EQ(Item()->stInterpre.strIvrelText, last);
    m_host.Close();

    // Opened on that judgement, its choice taken away: text and code are emptied.
    CPagePatientCommentExer& again = ShowPage();
    ASSERT_EQ(again.SendDlgItemMessage(kJudgement, CB_GETCURSEL), count - 1);
    again.SendDlgItemMessage(kJudgement, CB_SETCURSEL, static_cast<WPARAM>(-1));
    EXPECT_EQ(again.IsDataChange(), 1);
    again.SaveDataToItem();
    EXPECT_EQ(Item()->stInterpre.strIvrelText, L"");
    EXPECT_EQ(Item()->stInterpre.strIvrelValue, L"");
    // Saved and opened again, the record has no judgement: its code went with its text.
    ASSERT_EQ(m_doc.SaveDataToXML(Item()->nID), 0);
    EXPECT_EQ(StoredJudgementCode(), L"");
    CExerViewDoc fresh;
    ASSERT_EQ(Open(fresh, m_files), 0);
    EXPECT_EQ(fresh.GetCurrentDataItem()->stInterpre.strIvrelText, L"");
}

TEST_F(ExerPageEdge, AJudgementCodeTheMasterDoesNotKnowSurvivesASaveOfOtherFields)
{
    testsupport::WriteXmlValue(m_files.xml, JudgementPath(), L"ZZ9");
    ASSERT_EQ(Open(m_doc, m_files), 0);
    ASSERT_EQ(Item()->stInterpre.strIvrelText, L"");
    CPagePatientCommentExer& page = ShowPage();
    m_host.Retype(kProtocol, L"Naughton");
    page.SaveDataToItem();
    ASSERT_EQ(m_doc.SaveDataToXML(Item()->nID), 0);
    EXPECT_EQ(StoredJudgementCode(), L"ZZ9");
}
