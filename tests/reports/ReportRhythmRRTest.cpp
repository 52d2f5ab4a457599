// The rhythm comment page over a rhythm record's multi-lead view, and the
// RR result and interval list pages over the RR panes on the desktop, each
// drawn on a recording page: titles and part suffixes, where the blocks
// begin, the list pages a report's pages map to, a hidden layout row.
#include <gtest/gtest.h>

#include "core/PositionCtrl.h"
#include "panes/WndRRComment.h"
#include "panes/WndRRResult.h"
#include "platform/base/Kernel.h"
#include "platform/ui/framework/View.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/analysisviews/RRViewTestSupport.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"
#include "tests/reports/ReportTestSupport.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace {

using platform::gdi::DrawRecord;
using reporttest::CTestReport;
using reporttest::RecordingPage;
using testsupport::Wide;

const wchar_t kPatientId[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id";

bool StartsWith(const std::wstring& text, const std::wstring& head) { return text.rfind(head, 0) == 0; }

// Texts of the page whose top lies in [top, bottom).
int TextsBetween(const RecordingPage& page, const std::wstring& text, int top, int bottom)
{
    int n = 0;
    for (const DrawRecord& record : page.Texts())
        n += record.text == text && record.rect.top >= top && record.rect.top < bottom;
    return n;
}

class ReportRhythmComment : public rhythmtest::RhythmDocTest {
protected:
    void TearDown() override
    {
        m_doc->RemoveView(&m_view);
        rhythmtest::RhythmDocTest::TearDown();
    }
    void OpenRecord()
    {
        morvelance::RhythmRecordShape shape;
        shape.leads = 3;
        shape.seconds = 60.0;
        m_files = rhythmtest::WriteRhythm(m_dir, "comment", shape);
        ASSERT_EQ(Open(m_files, 3), 0);
        m_doc->m_bAutoDelete = FALSE;
        m_doc->GetCtrlPosFromXSL(LOAD_POS_RHYTHM_PRINT);
        m_doc->AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_RHYTHM);
        m_view.SetHalfStyle(TRUE);
        m_view.SetWaveStyle(16, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        m_report.m_pDoc = m_doc.get();
        m_report.m_DocType = DOC_TYPE_RHYTHM;
        m_page.Attach(m_report);
        m_report.OpenXml(Wide(m_files.xml));
        m_report.m_strDisplayInfo1 = L"25.0 mm/s";
    }
    int PerMille(int n) const { return MulDiv(m_report.m_nPrintHeight, n, 1000); }
    int Mm(double mm) const { return static_cast<int>(mm * m_report.m_fPixelPerMM); }
    int FiveMm(int pixels) const { return 5 * (static_cast<int>(pixels / m_report.m_fPixelPerMM) / 5); }
    CString PatientId() const { return testsupport::ReadXmlValue(m_files.xml, kPatientId); }

    rhythmtest::RhythmFiles m_files;
    CViewRhythmWave m_view;
    CTestReport m_report;
    RecordingPage m_page;
};

TEST_F(ReportRhythmComment, TheFirstPartCarriesThePatientBlockAndTheWavesOnTheRightHalf)
{
    OpenRecord();
    m_report.m_nPageCount = 1;
    ASSERT_EQ(m_report.PrintRhythmComment(&m_view, 1, 0, 0), 1);
    const CRect& rc = m_report.m_rcPrint;
    EXPECT_TRUE(StartsWith(m_page.Texts().front().text, L"****** Report ****** コメント **********"));
    ASSERT_FALSE(PatientId().IsEmpty());
    EXPECT_EQ(1, TextsBetween(m_page, PatientId().str(), rc.top + PerMille(20), rc.top + PerMille(70)));
    const int y = rc.top + PerMille(90);
    int caption = 0;
    for (const DrawRecord& text : m_page.Texts())
        caption += text.text == L"25.0 mm/s" && text.rect.bottom == y &&
                   text.points[0].x == rc.left + rc.Width() / 2 + Mm(10);
    EXPECT_EQ(1, caption);
    // The grid's frame closes on a whole 5 mm under the interpretation's top.
    const int gridMm = FiveMm(Mm(FiveMm(rc.bottom - y - PerMille(20))));
    EXPECT_EQ(y + PerMille(5) + Mm(gridMm), m_view.GetCurPrintBottom());
}

TEST_F(ReportRhythmComment, ALaterNumberedPartHasNoPatientBlockAndStartsHigher)
{
    OpenRecord();
    m_report.m_nPageCount = 4;
    ASSERT_EQ(m_report.PrintRhythmComment(&m_view, 3, 2, 1), 1);
    const CRect& rc = m_report.m_rcPrint;
    EXPECT_TRUE(StartsWith(m_page.Texts().front().text, L"****** Report ****** コメント - 3 **"));
    EXPECT_EQ(0, TextsBetween(m_page, PatientId().str(), rc.top, rc.bottom));
    int caption = 0;
    for (const DrawRecord& text : m_page.Texts())
        caption += text.text == L"25.0 mm/s" && text.rect.bottom == rc.top + PerMille(90) - PerMille(50);
    EXPECT_EQ(1, caption);
    m_page.Clear();
    EXPECT_EQ(m_report.PrintRhythmComment(nullptr, 1, 0, 0), 0);
    EXPECT_TRUE(m_page.Texts().empty());
}

// The duration marks the wave pages give the strip under a fifteen-lead
// rhythm record in the beats'-span style.
class ReportRhythmWaveMarks : public rhythmtest::RhythmDocTest {
protected:
    void TearDown() override
    {
        m_doc->RemoveView(&m_view);
        rhythmtest::RhythmDocTest::TearDown();
    }
    void OpenRecord()
    {
        morvelance::RhythmRecordShape shape;
        shape.leads = 15;
        shape.seconds = 20.0;
        m_files = rhythmtest::WriteRhythm(m_dir, "marks", shape);
        ASSERT_EQ(Open(m_files, 15), 0);
        m_doc->m_bAutoDelete = FALSE;
        m_doc->AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_RHYTHM);
        m_view.SetWaveStyle(3, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        m_report.m_pDoc = m_doc.get();
        m_report.m_DocType = DOC_TYPE_RHYTHM;
        m_report.m_nPageCount = 1;
        m_page.Attach(m_report);
        m_report.OpenXml(Wide(m_files.xml));
        // A span no page gives, to see that the page set one.
        m_strip.SetDurationMarkInfo(0, 0, 7.0, 0);
    }

    rhythmtest::RhythmFiles m_files;
    CViewRhythmWave m_view;
    CViewScroll1LeadWave m_strip;
    CTestReport m_report;
    RecordingPage m_page;
};

TEST_F(ReportRhythmWaveMarks, TheUsStylePageDoesNotCountARhythmRecordsFifteenLeads)
{
    OpenRecord();
    ASSERT_EQ(m_report.PrintRhythmWaveAme(&m_view, &m_strip, 1, 0, 0, 0, -1), 1);
    EXPECT_NE(m_page.Texts().front().text.find(L"12誘導+解析結果"), std::wstring::npos);
    EXPECT_DOUBLE_EQ(m_strip.GetSpanSeconds(), 2.5);
    // The plain wave page counts them: its beats' spans are 2 s.
    m_strip.SetDurationMarkInfo(0, 0, 7.0, 0);
    ASSERT_EQ(m_report.PrintRhythmWave(&m_view, &m_strip, 1, 0, 0, L"リズム", 0, -1), 1);
    EXPECT_DOUBLE_EQ(m_strip.GetSpanSeconds(), 2.0);
}

// The RR pages over the panes a host prints them from.
class ReportRRPages : public rrviewtest::RRViewTest {
protected:
    void SetUp() override
    {
        rrviewtest::RRViewTest::SetUp();
        platform::ui::Desktop::Reset();
        m_screen.Use(m_doc, 1020, 664);
    }
    void TearDown() override
    {
        m_comment.Close();
        m_result.Close();
        rrviewtest::RRViewTest::TearDown();
    }
    void OpenRecord(int intervals)
    {
        m_files = WriteWithReport("rr", [&] {
            morvelance::RRReport report;
            report.intervals = rrviewtest::Same(intervals, 800);
            return report;
        }());
        Add(m_files);
        ASSERT_EQ(0, Open(m_files));
        m_doc.GetCtrlPosFromXSL(LOAD_POS_RR_PRINT);
        m_report.m_pDoc = &m_doc;
        m_report.m_DocType = DOC_TYPE_RR;
        m_page.Attach(m_report);
        m_report.OpenXml(Wide(m_files.xml));
    }
    CWndRRComment* ListPane()
    {
        CWndRRComment* pane =
            m_comment.Open([this](CWndRRComment& p) { p.SetRRViewDoc(&m_doc); }, TRUE, 1020, 664);
        pane->ShowPageStyle(9);
        pane->OnUpdate();
        return pane;
    }
    bool HasText(const std::wstring& text) const
    {
        for (const DrawRecord& record : m_page.Texts())
            if (record.text == text) return true;
        return false;
    }

    rrtest::RRFiles m_files;
    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndRRComment> m_comment;
    panetest::PaneHost<CWndRRResult> m_result;
    CTestReport m_report;
    RecordingPage m_page;
};

TEST_F(ReportRRPages, FourHundredAndOneIntervalsFillTheLastTwoPagesOfAThreePageReport)
{
    OpenRecord(401);
    CWndRRComment* pane = ListPane();
    m_report.m_nPageCount = 3;
    // Report page 2 is list page 1, under the patient block.
    ASSERT_EQ(m_report.PrintRRIntervalList(pane, 2, 1), 1);
    EXPECT_NE(m_page.Texts().front().text.find(L"RR 間隔ﾘｽ?(ms) - 1 "), std::wstring::npos);
    EXPECT_TRUE(HasText(L"1 :"));
    EXPECT_TRUE(HasText(L"400 :"));
    EXPECT_FALSE(HasText(L"401 :"));
    EXPECT_TRUE(HasText(L"患者ID"));
    // Report page 3 is list page 2: the last interval, no patient block.
    m_page.Clear();
    ASSERT_EQ(m_report.PrintRRIntervalList(pane, 3, 2), 1);
    EXPECT_NE(m_page.Texts().front().text.find(L"RR 間隔ﾘｽ?(ms) - 2 "), std::wstring::npos);
    EXPECT_TRUE(HasText(L"401 :"));
    EXPECT_FALSE(HasText(L"1 :"));
    EXPECT_FALSE(HasText(L"患者ID"));
}

TEST_F(ReportRRPages, AReportPageOutsideTheListPrintsNoListAndFails)
{
    OpenRecord(401);
    CWndRRComment* pane = ListPane();
    m_report.m_nPageCount = 3;
    EXPECT_EQ(m_report.PrintRRIntervalList(pane, 1, 1), 0);   // list page 0
    EXPECT_EQ(m_report.PrintRRIntervalList(pane, 4, 3), 0);   // list page 3 of 2
    m_report.m_nPageCount = 1;
    EXPECT_EQ(m_report.PrintRRIntervalList(pane, 2, 2), 0);
    EXPECT_TRUE(m_page.Texts().empty());
    EXPECT_EQ(m_report.PrintRRIntervalList(nullptr, 1, 1), 0);
    // Printing what is shown takes the screen's page, whatever the report page.
    m_report.m_bPrintShown = 1;
    ASSERT_EQ(m_report.PrintRRIntervalList(pane, 4, 3), 1);
    EXPECT_NE(m_page.Texts().front().text.find(L"RR 間隔ﾘｽ?(ms) **"), std::wstring::npos);
    EXPECT_TRUE(HasText(L"1 :"));
}

TEST_F(ReportRRPages, AHiddenHistogramRowLeavesItsPlaceEmpty)
{
    OpenRecord(300);
    CWndRRResult* result = m_result.Open([this](CWndRRResult& p) { p.SetRRViewDoc(&m_doc); }, TRUE, 1020, 664);
    result->SendMessage(WM_SIZE, 0, 0);
    result->OnUpdate();
    const _POSITION_CTRL& row = m_doc.GetDefCtrlPos()->stRRPrint[50];
    const CRect& rc = m_report.m_rcPrint;
    CRect histogram;
    histogram.left = rc.left + MulDiv(m_report.m_nPrintWidth, row.nLeft, 1000);
    histogram.top =
        rc.top + MulDiv(m_report.m_nPrintHeight, 515, 1000) + MulDiv(m_report.m_nPrintHeight, row.nTop, 1000);
    histogram.right = histogram.left + MulDiv(m_report.m_nPrintWidth, row.nWidth, 1000);
    histogram.bottom = histogram.top + MulDiv(m_report.m_nPrintHeight, row.nHeight, 1000);
    auto drawnInside = [&] {
        int n = 0;
        for (const DrawRecord& record : platform::gdi::GetRecording(m_page.Dc().GetSafeHdc()))
            if (record.op != platform::gdi::DrawOp::Text)
                for (const POINT& p : record.points) n += histogram.PtInRect(p) ? 1 : 0;
        return n;
    };
    m_report.m_nPageCount = 1;
    ASSERT_EQ(m_report.PrintRRResult(result, 1), 1);
    EXPECT_TRUE(StartsWith(m_page.Texts().front().text, L"****** Report ****** 結果 **"));
    ASSERT_TRUE(row.bVisible);
    EXPECT_GT(drawnInside(), 0);
    m_page.Clear();
    m_doc.GetDefCtrlPos()->stRRPrint[50].bVisible = 0;
    ASSERT_EQ(m_report.PrintRRResult(result, 1), 1);
    EXPECT_EQ(0, drawnInside());
    EXPECT_EQ(m_report.PrintRRResult(nullptr, 1), 0);
}

}  // namespace
