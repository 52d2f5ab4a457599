#include <gtest/gtest.h>

#include "analysisviews/ViewAverageWave.h"
#include "core/PositionCtrl.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/reports/ReportTestSupport.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace {

using morvelance::rec::RecordKind;
using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;
using reporttest::CTestAnno;
using reporttest::CTestReport;
using reporttest::RecordingPage;

const wchar_t kTitle[] = L"安静時心電図";

// The strip and average-beat blocks over a resting record the record maker
// wrote: its multi-lead view, one-lead strip and average beats on the
// document, drawn on a recording page.
class ReportStrip : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        for (CView* view : Views()) m_doc.AddView(view);
        m_view.SetDocType(DOC_TYPE_REST);
        m_strip.SetDocType(DOC_TYPE_REST);
    }
    void TearDown() override
    {
        for (CView* view : Views()) m_doc.RemoveView(view);
        resttest::RestDocFixture::TearDown();
    }
    std::vector<CView*> Views() { return {&m_view, &m_strip, &m_average}; }

    void OpenRecord(RecordKind kind, int style)
    {
        ASSERT_EQ(0, Open(AddRecord("strip", resttest::Shape(kind))));
        m_doc.GetCtrlPosFromXSL(LOAD_POS_REST_PRINT);
        m_view.SetWaveStyle(style, TRUE);
        m_strip.SetRhythm1LeadID(1);
        m_strip.SetWaveStyle(15, TRUE);
        for (CView* view : Views()) static_cast<CWaveView*>(view)->OnUpdate(nullptr, 0, nullptr);
        Prepare(m_report);
        Prepare(m_anno);
        m_report.m_nPageCount = 1;
    }
    template <class Report> void Prepare(Report& report)
    {
        report.m_pDoc = &m_doc;
        report.m_DocType = 0;
        m_page.Attach(report);
        report.OpenXml(testsupport::Wide(m_files.xml));
    }

    // The traces drawn that cross the horizontal line at y.
    int TracesAcross(int y)
    {
        int count = 0;
        for (const DrawRecord& record : platform::gdi::GetRecording(m_page.Dc().GetSafeHdc())) {
            if (record.op != DrawOp::Polyline || record.points.size() < 50) continue;
            bool above = false, below = false;
            for (const POINT& p : record.points) (p.y < y ? above : below) = true;
            count += above && below;
        }
        return count;
    }
    // The traces drawn (polylines of many points) lying wholly inside a box.
    int TracesIn(const CRect& box)
    {
        int count = 0;
        for (const DrawRecord& record : platform::gdi::GetRecording(m_page.Dc().GetSafeHdc())) {
            if (record.op != DrawOp::Polyline || record.points.size() < 50) continue;
            bool inside = true;
            for (const POINT& p : record.points)
                inside = inside && p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom;
            count += inside;
        }
        return count;
    }
    DrawRecord FindText(const std::wstring& text) const
    {
        for (const DrawRecord& record : m_page.Texts())
            if (!text.empty() && record.text == text) return record;
        return DrawRecord();
    }
    int Mm(double mm) const { return static_cast<int>(mm * m_report.m_fPixelPerMM); }
    int PerMille(int n) const { return MulDiv(m_report.m_nPrintHeight, n, 1000); }
    int FiveMm(int px) const { return 5 * (static_cast<int>(px / m_report.m_fPixelPerMM) / 5); }

    CViewRhythmWave m_view;
    CViewScroll1LeadWave m_strip;
    CViewAverageWave m_average;
    RecordingPage m_page;
    CTestReport m_report;
    CTestAnno m_anno;
};

}  // namespace

TEST_F(ReportStrip, TheStripTakesTheLowerQuarterOfTheGridAndTheWavesTheRest)
{
    OpenRecord(RecordKind::Rest12, 1);
    ASSERT_EQ(m_report.PrintRhythmWave(&m_view, &m_strip, 1, 0, 0, kTitle, 1, -1), 1);
    const CRect& rc = m_report.m_rcPrint;
    const int y0 = rc.top + PerMille(20) + PerMille(50) + PerMille(20);
    const int y1 = y0 + PerMille(5);
    const int gridHeight = Mm(FiveMm(rc.bottom - y0 - PerMille(20)));
    const int split = y1 + (3 * gridHeight) / 4;
    EXPECT_EQ(TracesAcross(split), 0);
    EXPECT_GT(TracesIn(CRect(rc.left, y1, rc.left + Mm(260), split)), 0);
    EXPECT_GT(TracesIn(CRect(rc.left, split, rc.left + Mm(260), y1 + gridHeight)), 0);
    // Both settings lines stand over the waves, with the strip under them.
    EXPECT_EQ(FindText(m_report.m_strDisplayInfo1.str()).rect.bottom, y0);
}

TEST_F(ReportStrip, WithoutTheStripTheWavesFillTheGridAndAMissingStripViewEndsTheBlock)
{
    OpenRecord(RecordKind::Rest12, 1);
    ASSERT_EQ(m_report.PrintRhythmWave(&m_view, &m_strip, 1, 0, 0, kTitle, 0, -1), 1);
    // The strip's one long trace is not drawn: every trace is the waves'.
    for (const DrawRecord& record : platform::gdi::GetRecording(m_page.Dc().GetSafeHdc()))
        if (record.op == DrawOp::Polyline) {
            EXPECT_LT(record.points.size(), static_cast<size_t>(m_strip.GetRecordLength()));
        }
    // Only a page with the strip hands it the waves' print bottom.
    EXPECT_EQ(m_strip.GetCurPrintBottom(), 0);
    // Marks and print bottom alone do not need the strip: the page prints.
    EXPECT_EQ(m_report.PrintRhythmWave(&m_view, nullptr, 1, 0, 0, kTitle, 0, -1), 1);
    EXPECT_EQ(m_report.PrintRhythmWave(&m_view, nullptr, 1, 0, 0, kTitle, 1, -1), 0);
}

TEST_F(ReportStrip, TheUsStyleStripPrintsInItsReportStyleAndIsHandedBackToTheScreens)
{
    OpenRecord(RecordKind::Rest12, 1);
    ASSERT_EQ(m_report.PrintRhythmWaveAme(&m_view, &m_strip, 1, 0, 0, 1, -1), 1);
    EXPECT_EQ(m_strip.GetWaveStyle(), 15);
    // Any strip argument but 1 leaves the strip off the page.
    m_strip.SetWaveStyle(18, TRUE);
    ASSERT_EQ(m_report.PrintRhythmWaveAme(&m_view, &m_strip, 1, 0, 0, 2, -1), 1);
    EXPECT_EQ(m_strip.GetWaveStyle(), 18);
}

TEST_F(ReportStrip, TheInterpretationPageSetsTheAverageBeatsRightAndTheStripAcrossTheBottom)
{
    OpenRecord(RecordKind::Rest12, 1);
    int columns = 0, rows = 0;
    m_average.GetGridCount(columns, rows);
    m_report.UpdateInterpreDisplay(&m_average);
    ASSERT_EQ(m_report.PrintRestInterpre(&m_strip, &m_average, 1), 1);
    const CRect& rc = m_report.m_rcPrint;
    const int x2 = rc.left + rc.Width() / 2 + Mm(2);
    const int top = rc.top + PerMille(40);
    EXPECT_GT(TracesIn(CRect(x2, top, x2 + Mm(130), top + Mm(FiveMm(PerMille(700))))), 0);
    const int stripTop = top + PerMille(705);
    EXPECT_GT(TracesIn(CRect(rc.left, stripTop, rc.left + Mm(260), stripTop + Mm(FiveMm(PerMille(250))))), 0);
    // The screen keeps its own grid.
    int columnsAfter = 0, rowsAfter = 0;
    m_average.GetGridCount(columnsAfter, rowsAfter);
    EXPECT_EQ(columnsAfter, columns);
    EXPECT_EQ(rowsAfter, rows);
    // A short first line leaves the second 60 mm further right, a long one a
    // blank after its end, both over the beats.
    const DrawRecord first = FindText(m_report.m_strDisplayInfo1.str());
    const DrawRecord second = FindText(m_report.m_strDisplayInfo2.str());
    ASSERT_FALSE(first.points.empty());
    ASSERT_FALSE(second.points.empty());
    EXPECT_EQ(first.rect.bottom, top);
    CDCObjectSelector<CFont, CECGDC> font(m_page.Device(), m_report.m_pPrintFont);
    EXPECT_EQ(second.points[0].x - first.points[0].x,
              std::max<int>(Mm(60), m_page.Device().GetTextExtent(m_report.m_strDisplayInfo1).cx +
                                        m_page.Device().GetTextExtent(CString(L" ")).cx));
}

TEST_F(ReportStrip, TheAverageSettingsLinesAlwaysSay25mmPerSecondWithSingleBlanks)
{
    OpenRecord(RecordKind::Rest12, 1);
    m_doc.SetSpeed(50.0f);
    m_report.UpdateInterpreDisplay(&m_average);
    CString expected;
    expected.Format(L"%.2f mm/mV 25.0 mm/s %d Hz ", m_doc.GetSense(1, 0), m_doc.GetFilter());
    EXPECT_EQ(m_report.m_strDisplayInfo1.Left(expected.GetLength()), expected);
    expected.Format(L"%.2f mm/mV ", m_doc.GetSense(0, 0));
    EXPECT_EQ(m_report.m_strDisplayInfo2.Left(expected.GetLength()), expected);
    m_report.UpdateInterpreDisplay(nullptr);
    EXPECT_TRUE(m_report.m_strDisplayInfo1.IsEmpty());
}

TEST_F(ReportStrip, AMissingAverageOrStripViewEndsTheInterpretationPageBeforeItDraws)
{
    OpenRecord(RecordKind::Rest12, 1);
    EXPECT_EQ(m_report.PrintRestInterpre(&m_strip, nullptr, 1), 0);
    EXPECT_EQ(m_report.PrintRestInterpre(nullptr, &m_average, 1), 0);
    EXPECT_EQ(m_anno.PrintRestInterpreAnnotation(nullptr, &m_average), 0);
    EXPECT_TRUE(m_page.Texts().empty());
}

TEST_F(ReportStrip, TheAnnotatedPagesPlaceTheStripByTheViewsOwnGrids)
{
    OpenRecord(RecordKind::Rest12, 1);
    ASSERT_EQ(m_anno.PrintRhythmWaveAnnotation(&m_view, &m_strip, kTitle), 1);
    const CRect& rc = m_anno.m_rcPrint;
    int gx = 0, gv = 0, sx = 0, gs = 0;
    m_view.GetGridCount(gx, gv);
    m_strip.GetGridCount(sx, gs);
    const int y1 = rc.top + PerMille(90) + PerMille(5);
    const int areaMm = FiveMm(rc.bottom - rc.top - PerMille(90) - PerMille(20));
    int o1 = 0, o2 = 0;
    m_anno.CalculateWaveOffset(areaMm, gv, gs, o1, o2);
    const int viewBottom = y1 + Mm(o1) + Mm(gv);
    if (gs > 5) {
        EXPECT_GT(TracesIn(CRect(rc.left, viewBottom + Mm(o2), rc.left + Mm(gx), viewBottom + Mm(o2) + Mm(gs))), 0);
    }
    m_page.Clear();
    m_anno.m_DocType = 0;
    ASSERT_EQ(m_anno.PrintRestInterpreAnnotation(&m_strip, &m_average), 1);
    // The strip's trace starts under the strip grid's top; the average
    // beats' all stand above it.
    const int stripTop = rc.top + PerMille(745);
    int under = 0;
    for (const DrawRecord& record : platform::gdi::GetRecording(m_page.Dc().GetSafeHdc()))
        if (record.op == DrawOp::Polyline && record.points.size() >= 50 && record.points[0].y >= stripTop)
            ++under;
    EXPECT_EQ(under, 1);
}
