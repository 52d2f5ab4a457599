#include <gtest/gtest.h>

#include "analysisviews/ViewAverageWave.h"
#include "core/PositionCtrl.h"
#include "platform/base/Kernel.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/reports/ReportTestSupport.h"
#include "tools/RhythmRecord.h"

namespace {

using platform::gdi::DrawRecord;
using reporttest::CTestReport;
using reporttest::RecordingPage;
using testsupport::Wide;

// Rows of the rhythm print template.
constexpr int kAddition = 27, kContent1 = 29, kContent2 = 31, kTitle3 = 32, kCommentStc = 34, kComment = 35,
              kConfirm = 39;
constexpr int kLine = 18;

// The rhythm interpretation block over a rhythm record the record maker wrote.
class ReportRhythmInterpre : public rhythmtest::RhythmDocTest {
protected:
    void OpenRecord(int leads)
    {
        morvelance::RhythmRecordShape shape;
        shape.leads = leads;
        shape.seconds = 10.0;
        m_files = rhythmtest::WriteRhythm(m_dir, "rhythm", shape);
        ASSERT_EQ(Open(m_files, leads), 0);
        m_doc->GetCtrlPosFromXSL(LOAD_POS_RHYTHM_PRINT);
        Item()->stPatient.strConfirmation = L"確認待ち";
        m_report.m_pDoc = m_doc.get();
        m_report.m_DocType = 2;
        m_page.Attach(m_report);
        m_block = CRect(m_report.m_rcPrint.left, m_report.m_rcPrint.top, m_report.m_rcPrint.right,
                        m_report.m_rcPrint.bottom);
    }
    void Print(int lowerConfirm = 0)
    {
        m_report.OpenXml(Wide(m_files.xml));
        m_page.Clear();
        ASSERT_EQ(m_report.PrintRhyInterpreInfo(m_block, lowerConfirm), 1);
    }
    _POSITION_CTRL& Row(int row) { return m_doc->GetDefCtrlPos()->stRhythmPrint[row]; }
    int Top(int row, int shift) { return m_block.top + MulDiv(m_report.m_nPrintHeight, Row(row).nTop + shift, 1000); }
    DrawRecord Find(const std::wstring& text)
    {
        for (const DrawRecord& record : m_page.Texts())
            if (record.text == text) return record;
        return DrawRecord();
    }

    rhythmtest::RhythmFiles m_files;
    CTestReport m_report;
    RecordingPage m_page;
    CRect m_block;
};

}  // namespace

TEST_F(ReportRhythmInterpre, TheAdditionsCloseUpAroundHiddenContents)
{
    OpenRecord(3);
    const std::wstring comment = Row(kCommentStc).strCaption.str();
    // Left out by the mask: the comment rows keep their table places.
    Print();
    EXPECT_TRUE(Find(Row(kAddition).strCaption.str()).points.empty());
    EXPECT_EQ(Find(comment).rect.top, Top(kCommentStc, 0));
    // Printed with the first two contents hidden: two lines, the caption
    // and the third content, moving the comment down two lines; the third
    // title moves up two.
    m_report.m_nVisibleMask = 1;
    Row(kContent1).bVisible = 0;
    Row(kContent2).bVisible = 0;
    testsupport::WriteXmlValue(m_files.xml, L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']",
                               L"第三", L"title");
    Print();
    EXPECT_EQ(Find(comment).rect.top, Top(kCommentStc, 2 * kLine));
    EXPECT_EQ(Find(L"第三").rect.top, Top(kTitle3, -2 * kLine));
}

TEST_F(ReportRhythmInterpre, TheConfirmationLineFollowsTheLeadCount)
{
    OpenRecord(3);
    Print(0);
    EXPECT_EQ(Find(L"確認待ち").rect.top, Top(kConfirm, 0));
    Print(1);
    EXPECT_EQ(Find(L"確認待ち").rect.top, Top(kConfirm, 50));
    Item()->nLeadCount = 12;
    Print(1);
    EXPECT_EQ(Find(L"確認待ち").rect.top, Top(kConfirm, -80));
}

TEST_F(ReportRhythmInterpre, ADateThatAsksForTheDoctorPrintsEmpty)
{
    OpenRecord(3);
    Item()->strCommentDate = L"医師による確認が必要です";
    Item()->strInfoEditDate = L"2024/04/01 09:40:00";
    Print();
    EXPECT_TRUE(Find(L"医師による確認が必要です").points.empty());
    EXPECT_FALSE(Find(L"2024/04/01 09:40").points.empty());
}

TEST_F(ReportRhythmInterpre, OnlyTheExtraKindsPrintTheExtraBlock)
{
    OpenRecord(3);
    m_report.OpenXml(Wide(m_files.xml));
    EXPECT_EQ(m_report.PrintExtraInterpreInfo(m_block), 0);
    EXPECT_TRUE(m_page.Texts().empty());
}

TEST_F(ReportRhythmInterpre, TheMedicationsPrintTheirNamesWhenNoFormLoadedItsTableBeforeTheRecordOpened)
{
    // A report printed straight from the file list: the record is read
    // before any form has asked for the rhythm table.
    ResetDefCtrlPos();
    OpenRecord(3);
    Print();
    EXPECT_EQ(Find(L"降圧剤").rect.top, Top(5, 0));
    EXPECT_EQ(Find(L"抗血小板薬").rect.top, Top(7, 0));
}

// The interpretation page of a rhythm record: the patient block across the
// top, the rhythm interpretation in the left column from 125 thousandths
// down, the average beats on the right.
TEST_F(ReportRhythmInterpre, TheInterpretationPageOfARhythmRecordHoldsItsRhythmInterpretationInTheLeftColumn)
{
    OpenRecord(3);
    ASSERT_GT(Row(kComment).arrXmlPath.GetSize(), 0);
    testsupport::WriteXmlValue(m_files.xml, Row(kComment).arrXmlPath[0], L"洞調律、正常範囲");
    CViewAverageWave average;
    m_doc->m_bAutoDelete = FALSE;
    m_doc->AddView(&average);
    average.SetDocType(2);
    average.OnUpdate(nullptr, 0, nullptr);
    m_report.OpenXml(Wide(m_files.xml));
    m_report.m_nPageCount = 1;
    m_report.UpdateInterpreDisplay(&average);
    m_page.Clear();
    const int printed = m_report.PrintRestInterpre(nullptr, &average, 1);
    m_doc->RemoveView(&average);
    ASSERT_EQ(printed, 1);

    const CRect& rc = m_report.m_rcPrint;
    const CRect column(rc.left, rc.top + MulDiv(m_report.m_nPrintHeight, 125, 1000), rc.left + rc.Width() / 2,
                       rc.bottom - MulDiv(m_report.m_nPrintHeight, 30, 1000));
    auto rowTop = [&](int row) { return column.top + MulDiv(m_report.m_nPrintHeight, Row(row).nTop, 1000); };
    auto rowLeft = [&](int row) { return column.left + MulDiv(m_report.m_nPrintWidth, Row(row).nLeft, 1000); };
    const DrawRecord comment = Find(L"洞調律、正常範囲");
    ASSERT_FALSE(comment.points.empty()) << "the rhythm interpretation's comment is not on the page";
    EXPECT_EQ(comment.rect.top, rowTop(kComment));
    EXPECT_EQ(comment.rect.left, rowLeft(kComment));
    const DrawRecord caption = Find(Row(kCommentStc).strCaption.str());
    ASSERT_FALSE(caption.points.empty());
    EXPECT_EQ(caption.rect.top, rowTop(kCommentStc));
    // Three leads: the confirmation line stands at its own row.
    const DrawRecord confirm = Find(L"確認待ち");
    ASSERT_FALSE(confirm.points.empty());
    EXPECT_EQ(confirm.rect.top, rowTop(kConfirm));
    for (const DrawRecord& text : {comment, caption, confirm}) EXPECT_LT(text.rect.left, column.right);
    // The patient block stands above the column.
    const CString id = testsupport::ReadXmlValue(m_files.xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id");
    ASSERT_FALSE(id.IsEmpty());
    const DrawRecord patient = Find(id.str());
    ASSERT_FALSE(patient.points.empty()) << "no patient block";
    EXPECT_GE(patient.rect.top, rc.top + MulDiv(m_report.m_nPrintHeight, 40, 1000));
    EXPECT_LT(patient.rect.top, column.top);
}
