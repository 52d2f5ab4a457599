#include <gtest/gtest.h>

#include "core/PositionCtrl.h"
#include "platform/base/Kernel.h"
#include "tests/documents/RRViewDocFixture.h"
#include "tests/reports/ReportTestSupport.h"

namespace {

using platform::gdi::DrawRecord;
using reporttest::CTestReport;
using reporttest::RecordingPage;
using testsupport::Wide;

// Rows of the RR print template.
constexpr int kContent1 = 17, kContent2 = 19, kMtTitle = 22, kConfirmDateTitle = 33, kConfirmDoctor = 36,
              kCvTitle = 37, kCv = 38;
constexpr int kLine = 18;

// The RR interpretation block over an RR record the record maker wrote.
class ReportRRInterpre : public rrtest::RRDocTest {
protected:
    void SetUp() override
    {
        rrtest::RRDocTest::SetUp();
        m_files = Write("rr");
        m_item = Add(m_files);
        ASSERT_EQ(0, Open(m_files));
        m_doc.SetCurDataIndex(m_item->nID);
        m_doc.GetCtrlPosFromXSL(LOAD_POS_RR_PRINT);
        m_item->stPatient.strConfirmDoctor = L"判読 花子";
        m_item->stPatient.strConfirmation = L"判読済み";
        m_report.m_pDoc = &m_doc;
        m_report.m_DocType = 3;
        m_page.Attach(m_report);
        m_block = m_report.m_rcPrint;
    }
    void Print()
    {
        m_report.OpenXml(Wide(m_files.xml));
        m_page.Clear();
        ASSERT_EQ(m_report.PrintRRInterpreInfo(m_block), 1);
    }
    _POSITION_CTRL& Row(int row) { return m_doc.GetDefCtrlPos()->stRRPrint[row]; }
    int Left(int row) { return m_block.left + MulDiv(m_report.m_nPrintWidth, Row(row).nLeft, 1000); }
    int Top(int row, int shift) { return m_block.top + MulDiv(m_report.m_nPrintHeight, Row(row).nTop + shift, 1000); }
    DrawRecord Find(const std::wstring& text)
    {
        for (const DrawRecord& record : m_page.Texts())
            if (record.text == text) return record;
        return DrawRecord();
    }

    rrtest::RRFiles m_files;
    _RRDATAITEM* m_item = nullptr;
    CTestReport m_report;
    RecordingPage m_page;
    CRect m_block;
};

}  // namespace

TEST_F(ReportRRInterpre, AStoredConfirmationStandsAloneWhereItsCaptionWas)
{
    m_item->bDoctorConfirm = 0;
    Print();
    const DrawRecord line = Find(L"判読済み");
    ASSERT_FALSE(line.points.empty());
    EXPECT_EQ(line.points[0].x, Left(kConfirmDateTitle));
    EXPECT_TRUE(Find(L"判読 花子").points.empty());
    EXPECT_TRUE(Find(Row(kConfirmDateTitle).strCaption.str()).points.empty());
}

TEST_F(ReportRRInterpre, ALockedConfirmationPrintsItsRowsWithTheDoctor)
{
    m_item->bDoctorConfirm = 1;
    m_item->stPatient.bConfirmed = 0;
    Print();
    EXPECT_FALSE(Find(L"判読 花子").points.empty());
    EXPECT_FALSE(Find(Row(kConfirmDateTitle).strCaption.str()).points.empty());
    // The statistics print after an equals sign.
    bool equals = false;
    for (const DrawRecord& record : m_page.Texts())
        equals |= record.text.rfind(L"= ", 0) == 0 && record.points[0].x == Left(kCv);
    EXPECT_TRUE(equals);
}

// The additions printed with their first two contents hidden take two print
// lines, the caption and the third content: every row from the measuring
// time down to the confirming doctor moves down two lines; the statistics
// below keep their places.
TEST_F(ReportRRInterpre, TheAdditionsMoveTheRowsDownToTheConfirmingDoctor)
{
    m_item->bDoctorConfirm = 1;
    m_item->stPatient.bConfirmed = 0;
    m_report.m_nVisibleMask = 1;
    Row(kContent1).bVisible = 0;
    Row(kContent2).bVisible = 0;
    Print();
    EXPECT_EQ(Find(Row(kMtTitle).strCaption.str()).rect.top, Top(kMtTitle, 2 * kLine));
    EXPECT_EQ(Find(L"判読 花子").rect.top, Top(kConfirmDoctor, 2 * kLine));
    EXPECT_EQ(Find(Row(kCvTitle).strCaption.str()).rect.top, Top(kCvTitle, 0));
}
