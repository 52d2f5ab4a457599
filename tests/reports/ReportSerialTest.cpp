// The serial comparison report pages printed from the comparison panes on a
// patient's series, on a recording printer page: both average views side by
// side with the information rows above them, one view across the page with
// the pane's lead choice left as it was, the rhythm comparison over its
// strips in two 135 mm columns with another patient marked, and the
// annotated twins as page 1 of 1.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "core/PositionCtrl.h"
#include "core/UserMessages.h"
#include "panes/SerialFileList.h"
#include "panes/WndRestSerialComAve.h"
#include "panes/WndRestSerialComRhy.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/TextLayout.h"
#include "tests/panes/SerialPaneFixture.h"
#include "tests/reports/ReportTestSupport.h"
#include "tests/support/MemoryLimit.h"
#include "waveviews/ViewScroll1LeadRhyWave.h"
#include "waveviews/ViewSerialComAve.h"
#include "waveviews/ViewSerialComRhy.h"

namespace {

using platform::gdi::DrawRecord;
using reporttest::RecordingPage;

class CSerialReport : public reporttest::CTestReportOf<CECGPrintReport> {
public:
    using CECGPrintReport::m_nPageCount;
    using CECGPrintReport::PrintAveEx;
    using CECGPrintReport::PrintAveMix;
    using CECGPrintReport::PrintAveRhy;
};

class CSerialAnno : public reporttest::CTestReportOf<CECGPrintAnno> {
public:
    using CECGPrintAnno::PrintAveExAnnotation;
    using CECGPrintAnno::PrintAveMixAnnotation;
    using CECGPrintAnno::PrintAveRhyAnnotation;
};

class ReportSerial : public serialtest::SerialPaneFixture {
protected:
    void SetUp() override
    {
        serialtest::SerialPaneFixture::SetUp();
        m_rest.SetSerialOverlap(0);
        m_rest.GetCtrlPosFromXSL(LOAD_POS_REST_PRINT);
        Prepare(m_report);
        Prepare(m_anno);
        m_report.m_nPageCount = 2;
    }
    void TearDown() override
    {
        m_ave.Close();
        m_rhy.Close();
        serialtest::SerialPaneFixture::TearDown();
    }
    template <class Report> void Prepare(Report& report)
    {
        report.m_pDoc = &m_rest;
        report.m_DocType = 0;
        m_page.Attach(report);
        report.OpenXml(testsupport::Wide(m_xmls[0]));
    }
    template <class Pane> void Give(Pane& pane)
    {
        pane.SetBaseECGDoc(&m_base);
        pane.SetRestViewDoc(&m_rest);
        pane.SetMFERViewDoc(&m_mfer);
        pane.SetDocType(0);
    }
    CWndRestSerialComAve* Average(int style)
    {
        CWndRestSerialComAve* pane = m_ave.Open([this](CWndRestSerialComAve& p) { Give(p); }, FALSE, 1920, 1080);
        pane->ShowRestPageStyle(style);
        pane->RestoreSerialFile();
        pane->SetPrintFlag(TRUE);
        return pane;
    }
    CWndRestSerialComRhy* Rhythm()
    {
        CWndRestSerialComRhy* pane = m_rhy.Open([this](CWndRestSerialComRhy& p) { Give(p); }, FALSE, 1920, 1080);
        pane->ShowPageStyle(0);
        pane->RestoreSerialFile();
        return pane;
    }
    DrawRecord FindText(const std::wstring& text) const
    {
        for (const DrawRecord& record : m_page.Texts())
            if (record.text == text) return record;
        return DrawRecord();
    }
    bool HasText(const std::wstring& text) const { return !FindText(text).text.empty(); }
    int Mm(double mm) const { return static_cast<int>(mm * m_report.m_fPixelPerMM); }
    int PerMille(int n) const { return MulDiv(m_report.m_nPrintHeight, n, 1000); }

    RecordingPage m_page;
    CSerialReport m_report;
    CSerialAnno m_anno;
    panetest::PaneHost<CWndRestSerialComAve> m_ave;
    panetest::PaneHost<CWndRestSerialComRhy> m_rhy;
};

TEST_F(ReportSerial, MixedPagePutsTheLimbLeadsLeftOfTheChestLeadsUnderTheInformationRows)
{
    CWndRestSerialComAve* pane = Average(42);
    ASSERT_EQ(1, m_report.PrintAveMix(pane, 1));
    const CRect& rc = m_report.m_rcPrint;
    EXPECT_EQ(0u, m_page.Texts().front().text.find(L"****** Report ****** 時系列比較(Ave.12ch-5)"));
    // The first record's date opens the information rows, once per half of the page.
    const DrawRecord date = FindText(L"2023/01/10");
    ASSERT_FALSE(date.text.empty());
    EXPECT_EQ(rc.left + static_cast<int>(10 * m_report.m_fPixelPerMM), date.rect.left);
    EXPECT_EQ(rc.top + PerMille(20), date.rect.top);
    const int rightLeft = rc.left + Mm(135) + Mm(5);
    const DrawRecord limb = FindText(L"aVF");
    const DrawRecord chest = FindText(L"V6");
    ASSERT_FALSE(limb.text.empty());
    ASSERT_FALSE(chest.text.empty());
    EXPECT_LT(limb.rect.left, rc.left + Mm(135));
    EXPECT_GE(chest.rect.left, rightLeft);
    EXPECT_LT(chest.rect.left, rightLeft + Mm(125));
    EXPECT_GT(limb.rect.top, rc.top + PerMille(80));
}

TEST_F(ReportSerial, WidePageOfTheFirstViewShowsTheLimbLeadsAndLeavesThePanesChoice)
{
    CWndRestSerialComAve* pane = Average(41);
    pane->SendMessage(WM_COMMAND, 3482, 0);   // the chest button
    ASSERT_TRUE(pane->IsShowChestLead());
    ASSERT_EQ(6, pane->GetAveView(0)->RowLead(0));
    ASSERT_EQ(1, m_report.PrintAveEx(pane, 1, 0));
    EXPECT_TRUE(HasText(L"aVF"));
    EXPECT_FALSE(HasText(L"V1"));
    EXPECT_EQ(6, pane->GetAveView(0)->RowLead(0));
}

TEST_F(ReportSerial, WidePageOfTheSecondViewShowsTheChestLeadsAndKeepsItsIndex)
{
    CWndRestSerialComAve* pane = Average(41);
    ASSERT_EQ(1, pane->GetAveView(1)->GetViewIndex());
    ASSERT_EQ(1, m_report.PrintAveEx(pane, 2, 1));
    EXPECT_TRUE(HasText(L"V1"));
    EXPECT_FALSE(HasText(L"aVF"));
    EXPECT_EQ(1, pane->GetAveView(1)->GetViewIndex());
    EXPECT_NE(std::wstring::npos, m_page.AllText().find(L"P. 2/2"));
}

TEST_F(ReportSerial, RhythmPageStandsTwoColumnsOf135mmAndGivesTheChestChoiceBack)
{
    CWndRestSerialComRhy* pane = Rhythm();
    ASSERT_EQ(1, m_report.PrintAveRhy(pane, 2, 1));
    const CRect& rc = m_report.m_rcPrint;
    EXPECT_EQ(0u, m_page.Texts().front().text.find(L"****** Report ****** 時系列比較(Rhy.)"));
    // Chest leads in both columns, the right one 140 mm in.
    int left = 0, right = 0;
    for (const DrawRecord& text : m_page.Texts()) {
        if (text.text != L"V1") continue;
        if (text.rect.left < rc.left + Mm(135)) ++left;
        else if (text.rect.left >= rc.left + Mm(135) + Mm(5)) ++right;
    }
    EXPECT_GE(left, 1);
    EXPECT_GE(right, 1);
    EXPECT_FALSE(pane->GetComView(0)->IsShowChestLead());
    EXPECT_FALSE(pane->GetComView(1)->IsShowChestLead());
}

TEST_F(ReportSerial, RhythmPageLeavesOutTheHalfOfAnotherPatient)
{
    CWndRestSerialComRhy* pane = Rhythm();
    const int other = panes::SerialEntryOf(pane->GetPositionMap(), serialtest::kOtherPatientIndex);
    pane->SendMessage(WM_SERIAL_RECORD_CHOSEN, 1, other);
    ASSERT_EQ(serialtest::kOtherPatientIndex, pane->GetComView(1)->GetSerialIndex());
    ASSERT_EQ(1, m_report.PrintAveRhy(pane, 1, 0));
    const CRect& rc = m_report.m_rcPrint;
    int left = 0, right = 0;
    for (const DrawRecord& text : m_page.Texts()) {
        if (text.text != L"aVF") continue;
        (text.rect.left < rc.left + Mm(135) ? left : right) += 1;
    }
    EXPECT_GE(left, 1);
    EXPECT_EQ(0, right);
    EXPECT_NE(std::wstring::npos, m_page.AllText().find(L"2023/01/10"));
    EXPECT_EQ(std::wstring::npos, m_page.AllText().find(L"2023/11/20"));
}

TEST_F(ReportSerial, AnnotatedTwinsPrintPageOneOfOne)
{
    CWndRestSerialComAve* split = Average(42);
    ASSERT_EQ(1, m_anno.PrintAveMixAnnotation(split));
    EXPECT_NE(std::wstring::npos, m_page.AllText().find(L"P. 1/1"));
    EXPECT_TRUE(HasText(L"V6"));
    m_page.Clear();
    ASSERT_EQ(1, m_anno.PrintAveExAnnotation(Average(41)));
    EXPECT_TRUE(HasText(L"aVF"));
    m_page.Clear();
    ASSERT_EQ(1, m_anno.PrintAveRhyAnnotation(Rhythm()));
    EXPECT_NE(std::wstring::npos, m_page.Texts().front().text.find(L"時系列比較(Rhy.)"));
}

// A page whose title cannot print (its text refused memory) is a failed
// page: the block says so and draws nothing more on it.
TEST_F(ReportSerial, AnAnnotatedPageWhoseTitleCannotPrintFailsAndDrawsNothingMore)
{
    if (!testsupport::MemoryLimitsCanBeTested())
        GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    const int status = testsupport::RunInChild([&] {
        // Text made ready as a host makes it, then left no room of its own:
        // under the limit it finds none.
        platform::gdi::PrepareText();
        platform::gdi::SetLaterTextReserve(std::numeric_limits<size_t>::max() / 2);
        // Each pane opened with memory, its page printed without.
        const std::function<std::function<int()>()> pages[] = {
            [&] {
                CWndRestSerialComAve* pane = Average(42);
                return std::function<int()>([this, pane] { return m_anno.PrintAveMixAnnotation(pane); });
            },
            [&] {
                CWndRestSerialComAve* pane = Average(41);
                return std::function<int()>([this, pane] { return m_anno.PrintAveExAnnotation(pane); });
            },
            [&] {
                CWndRestSerialComRhy* pane = Rhythm();
                return std::function<int()>([this, pane] { return m_anno.PrintAveRhyAnnotation(pane); });
            },
        };
        for (int i = 0; i < 3; ++i) {
            const std::function<int()> print = pages[i]();
            m_page.Clear();
            int printed = 0;
            {
                const testsupport::ShortOfMemory memory(2);
                if (!memory.Limited()) return 1;
                printed = print();
            }
            if (printed != 0) return 10 * (i + 1) + 1;
            if (!platform::gdi::GetRecording(m_page.Dc().GetSafeHdc()).empty()) return 10 * (i + 1) + 2;
        }
        return 0;
    });
    // 11, 21, 31: the mixed, wide or rhythm page said it printed; 12, 22, 32:
    // it drew on; 134: the views' text left the block by an exception.
    EXPECT_EQ(0, status);
}

TEST_F(ReportSerial, APaneWithoutItsViewsPrintsNoPage)
{
    EXPECT_EQ(0, m_report.PrintAveMix(nullptr, 1));
    EXPECT_EQ(0, m_report.PrintAveRhy(nullptr, 1, 0));
    CWndRestSerialComAve unmade;
    EXPECT_EQ(0, m_report.PrintAveEx(&unmade, 1, 0));
    EXPECT_TRUE(m_page.Texts().empty());
}

}  // namespace
