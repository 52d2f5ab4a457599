#include <gtest/gtest.h>

#include "dialogs/PagePatientComment.h"
#include "platform/ui/framework/ScrollBar.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/dialogs/SheetTestSupport.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tools/Mkrecord.h"

namespace {

using morvelance::rec::RecordKind;
using testsupport::ControlText;

const wchar_t kMinnesotas[] = L"/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota";
const wchar_t kIvrels[] = L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel";

// The page shown in a modeless sheet over a resting record written by the
// record maker (eight Minnesota rows, eleven IVREL rows, judgement J3).
class CommentPage : public resttest::RestDocFixture {
protected:
    void TearDown() override
    {
        m_host.Close();
        resttest::RestDocFixture::TearDown();
    }

    _RESTDATAITEM* OpenRecord(RecordKind kind = RecordKind::Rest12)
    {
        _RESTDATAITEM* item = AddRecord("comment", resttest::Shape(kind));
        EXPECT_EQ(Open(item), 0);
        return item;
    }
    CPagePatientComment& ShowPage() { return m_host.Show(&m_doc, DOC_TYPE_REST, L"解析結果/コメント"); }
    void Retype(int id, LPCWSTR text) { m_host.Retype(id, text); }
    // Types into a code field and leaves it, as a user tabbing on does.
    void TypeAndLeave(CPagePatientComment& page, int id, LPCWSTR text)
    {
        Retype(id, text);
        sheettest::FocusOn(page, 3421);
    }

    dialogtest::CPageInSheet<CPagePatientComment> m_host;
};

}  // namespace

TEST_F(CommentPage, ShowsTheStoredRowsJudgementAndCommentAndReportsNoChangeUntouched)
{
    _RESTDATAITEM* item = OpenRecord();
    CPagePatientComment& page = ShowPage();
    EXPECT_EQ(ControlText(page, 3300), item->stInterpre.strMinneCode[0]);
    EXPECT_EQ(ControlText(page, 3307), item->stInterpre.strMinneCode[7]);
    EXPECT_EQ(ControlText(page, 3349), L"R01");
    EXPECT_EQ(ControlText(page, 3360), L"洞調律");
    EXPECT_EQ(ControlText(page, 3418), L"境界域");
    EXPECT_EQ(page.IsDataChange(), 0);
    EXPECT_EQ(page.IsCodeChange(), 0);
    EXPECT_EQ(page.IsCommentChange(), 0);
}

TEST_F(CommentPage, ChangeFlagsSeparateCodesFromTheCommentAndNeverClear)
{
    OpenRecord();
    CPagePatientComment& page = ShowPage();
    Retype(3421, L"所見なし");
    EXPECT_EQ(page.IsDataChange(), 1);
    EXPECT_EQ(page.IsCommentChange(), 1);
    EXPECT_EQ(page.IsCodeChange(), 0);
    sheettest::Press(page, 3382);   // deletes IVREL row 1
    EXPECT_EQ(page.IsDataChange(), 1);
    EXPECT_EQ(page.IsCodeChange(), 1);
    EXPECT_EQ(ControlText(page, 3371), L"#");
    Retype(3421, CString(m_doc.GetCurrentDataItem()->stInterpre.strComment));
    page.IsDataChange();
    EXPECT_EQ(page.IsCommentChange(), 1);
}

TEST_F(CommentPage, CodesCloseUpAndSaveAsTheRowsHeldWithTheMastersTexts)
{
    _RESTDATAITEM* item = OpenRecord();
    CPagePatientComment& page = ShowPage();
    for (int i = 0; i < 8; ++i) sheettest::Press(page, 3324 + i);
    for (int i = 0; i < 11; ++i) sheettest::Press(page, 3382 + i);
    Retype(3301, L"4-2");
    Retype(3303, L"1-1-1");
    TypeAndLeave(page, 3350, L"R05");
    TypeAndLeave(page, 3353, L"J2");
    ASSERT_EQ(page.IsDataChange(), 1);
    page.SaveDataToItem();

    const _INTERPRE_INFO_REST& r = item->stInterpre;
    EXPECT_EQ(r.nMinneCount, 2);
    EXPECT_EQ(r.strMinneCode[0], L"4-2");
    EXPECT_EQ(r.strMinneCode[1], L"1-1-1");
    EXPECT_EQ(r.strMinneContent[1], L"大きなQ波(Q/R比1/3以上)");
    EXPECT_TRUE(r.strMinneCode[2].IsEmpty());
    EXPECT_EQ(r.nIvrelCount, 2);
    EXPECT_EQ(r.strIvrelCode[1], L"R05");
    EXPECT_EQ(r.strIvrelContent[1], L"心房細動");
    // A judgement code typed as a row takes the judgement's text.
    EXPECT_EQ(r.strIvrelContent[2], L"正常範囲");
    EXPECT_TRUE(r.strIvrelCode[3].IsEmpty());

    // The document's own save after the page's writes exactly the rows held.
    m_doc.UpdateCtrlStatus();
    m_doc.SetCtrlContent(nullptr);
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);
    EXPECT_EQ(XmlCount(kMinnesotas), 2);
    EXPECT_EQ(XmlCount(kIvrels), 2);
    CRestViewDoc fresh;
    _RESTDATAITEM* again = Reopen(fresh);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stInterpre.nMinneCount, 2);
    EXPECT_EQ(again->stInterpre.strMinneCode[1], L"1-1-1");
    EXPECT_EQ(again->stInterpre.strIvrelCode[2], L"J2");
    EXPECT_EQ(again->stInterpre.strIvrelMask[2], L"#");
}

TEST_F(CommentPage, EveryRowFilledCountsEightAndElevenNotOneMore)
{
    _RESTDATAITEM* item = OpenRecord();
    CPagePatientComment& page = ShowPage();
    Retype(3421, L"全行");
    page.SaveDataToItem();
    EXPECT_EQ(item->stInterpre.nMinneCount, 8);
    EXPECT_EQ(item->stInterpre.nIvrelCount, 11);
}

TEST_F(CommentPage, LeavingAnIvrelCodeLooksItUpOrEmptiesTheRow)
{
    OpenRecord();
    CPagePatientComment& page = ShowPage();
    // Letters alone name no code.
    TypeAndLeave(page, 3349, L"abc");
    EXPECT_EQ(ControlText(page, 3349), L"");
    EXPECT_EQ(ControlText(page, 3360), L"");
    EXPECT_EQ(ControlText(page, 3371), L"#");
    // A code in neither list goes with its statement.
    TypeAndLeave(page, 3350, L"Z99");
    EXPECT_EQ(ControlText(page, 3350), L"");
    EXPECT_EQ(ControlText(page, 3361), L"");
    TypeAndLeave(page, 3351, L"R03");
    EXPECT_EQ(ControlText(page, 3362), L"洞徐脈");
    EXPECT_EQ(ControlText(page, 3373), L"#");
}

TEST_F(CommentPage, ClearingAllFindingsKeepsTheMinnesotaCodesAndTheComment)
{
    _RESTDATAITEM* item = OpenRecord();
    CPagePatientComment& page = ShowPage();
    const CString comment = ControlText(page, 3421);
    sheettest::Press(page, 3417);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(ControlText(page, 3349 + i), L"") << i;
    EXPECT_EQ(page.SendDlgItemMessage(3418, CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(ControlText(page, 3300), item->stInterpre.strMinneCode[0]);
    EXPECT_EQ(ControlText(page, 3421), comment);
    page.IsDataChange();
    EXPECT_EQ(page.IsCommentChange(), 0);
    page.SaveDataToItem();
    EXPECT_EQ(item->stInterpre.nIvrelCount, 0);
    EXPECT_TRUE(item->stInterpre.strIvrelJudge.IsEmpty());
    EXPECT_TRUE(item->stInterpre.strIvrelJudgeCode.IsEmpty());
}

TEST_F(CommentPage, AJudgementTextThatBeginsAnEntrySelectsItAndIsNoEdit)
{
    _RESTDATAITEM* item = OpenRecord();
    item->stInterpre.strIvrelJudge = L"境界";
    CPagePatientComment& page = ShowPage();
    EXPECT_EQ(ControlText(page, 3418), L"境界域");
    EXPECT_EQ(page.IsDataChange(), 0);
    testsupport::ChooseListEntry(page, 3418, 0);
    EXPECT_EQ(page.IsDataChange(), 1);
    page.SaveDataToItem();
    EXPECT_EQ(item->stInterpre.strIvrelJudge, L"正常");
    EXPECT_EQ(item->stInterpre.strIvrelJudgeCode, L"J1");
}

TEST_F(CommentPage, ALongCommentIsCutToTheLongestPartWithinTheColumnLimit)
{
    OpenRecord();
    CPagePatientComment& page = ShowPage();
    // Each takes two of the 255 columns: 心 two Shift-JIS bytes, 这 two of
    // code page 936, 한 drawn full width though neither code page holds it.
    for (const wchar_t wide : {L'心', L'这', L'한'}) {
        SCOPED_TRACE(static_cast<int>(wide));
        const CString typed(wide, 128);
        Retype(3421, typed);
        EXPECT_EQ(ControlText(page, 3421), CString(wide, 127));
    }
}

TEST_F(CommentPage, AMinnesotaCodeTheDocumentRefusesIsRemovedOnceThePageWasPainted)
{
    OpenRecord();
    CPagePatientComment& page = ShowPage();
    page.UpdateWindow();
    platform::ui::Desktop::PumpMessages();
    TypeAndLeave(page, 3300, L"9-9-9-9");
    EXPECT_EQ(ControlText(page, 3300), L"");
    EXPECT_EQ(ControlText(page, 3316), L"#");
    TypeAndLeave(page, 3301, L"4-1");
    EXPECT_EQ(ControlText(page, 3301), L"4-1");
    EXPECT_EQ(ControlText(page, 3317), L"#");
}

TEST_F(CommentPage, TheScrollBarShowsTheStatementFromItsPosition)
{
    OpenRecord();
    CPagePatientComment& page = ShowPage();
    CWnd* bar = page.GetDlgItem(3406);
    ASSERT_NE(bar, nullptr);
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(bar->m_hWnd));
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(bar->m_hWnd));
    EXPECT_EQ(ControlText(page, 3360), L"律");
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(bar->m_hWnd));
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(bar->m_hWnd));
    EXPECT_EQ(ControlText(page, 3360), L"");
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), reinterpret_cast<LPARAM>(bar->m_hWnd));
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), reinterpret_cast<LPARAM>(bar->m_hWnd));
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), reinterpret_cast<LPARAM>(bar->m_hWnd));
    EXPECT_EQ(ControlText(page, 3360), L"洞調律");
    // The statement saved is the master's, whatever is scrolled into view.
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(bar->m_hWnd));
    page.SaveDataToItem();
    EXPECT_EQ(m_doc.GetCurrentDataItem()->stInterpre.strIvrelContent[1], L"洞調律");
}

TEST_F(CommentPage, AReadOnlyDocumentHidesTheEditorsAndLocksTheComment)
{
    OpenRecord(RecordKind::Rest15);
    m_doc.SetReadOnly(1);
    CPagePatientComment& page = ShowPage();
    for (int id : {3300, 3316, 3324, 3332, 3349, 3360, 3371, 3382, 3393, 3417, 3420, 3405, 3418})
        EXPECT_FALSE(m_host.Shown(id)) << id;
    EXPECT_TRUE(m_host.Shown(3421));
    EXPECT_TRUE(m_host.Shown(3406));
    EXPECT_NE(page.GetDlgItem(3421)->GetStyle() & ES_READONLY, 0u);
}

TEST_F(CommentPage, AnotherKindOfRecordIsNeitherComparedNorWritten)
{
    _RESTDATAITEM* item = OpenRecord();
    m_doc.SetCtrlContent(nullptr);
    CPagePatientComment& page = m_host.Show(&m_doc, DOC_TYPE_RHYTHM, L"解析結果/コメント");
    Retype(3421, L"別の検査");
    EXPECT_EQ(page.IsDataChange(), 0);
    const CString before = item->stInterpre.strComment;
    page.SaveDataToItem();
    EXPECT_EQ(item->stInterpre.strComment, before);
}
