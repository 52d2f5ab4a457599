#include <gtest/gtest.h>

#include <cmath>

#include "core/PositionCtrl.h"
#include "platform/base/Kernel.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/reports/ReportTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

using morvelance::rec::RecordKind;
using platform::gdi::DrawRecord;
using reporttest::CTestAnno;
using reporttest::CTestReport;
using reporttest::RecordingPage;
using testsupport::Wide;

const wchar_t kTitle[] = L"安静時心電図";

// The wave blocks over a resting record the record maker wrote, its
// multi-lead view on the document, drawn on a recording page.
class ReportWave : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_REST);
    }
    void TearDown() override
    {
        m_doc.RemoveView(&m_view);
        resttest::RestDocFixture::TearDown();
    }

    void OpenRecord(RecordKind kind, int style)
    {
        ASSERT_EQ(0, Open(AddRecord("wave", resttest::Shape(kind))));
        m_doc.GetCtrlPosFromXSL(LOAD_POS_REST_PRINT);
        m_view.SetWaveStyle(style, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        Prepare(m_report);
        Prepare(m_anno);
    }

    template <class Report> void Prepare(Report& report)
    {
        report.m_pDoc = &m_doc;
        report.m_DocType = 0;
        m_page.Attach(report);
        report.OpenXml(Wide(m_files.xml));
    }

    // The first text drawn that holds `text`; an empty record when none.
    DrawRecord FindText(const std::wstring& text) const
    {
        for (const DrawRecord& record : m_page.Texts())
            if (record.text.find(text) != std::wstring::npos) return record;
        return DrawRecord();
    }
    int Mm(double mm) const { return static_cast<int>(mm * m_report.m_fPixelPerMM); }
    int PerMille(int n) const { return MulDiv(m_report.m_nPrintHeight, n, 1000); }

    CViewRhythmWave m_view;
    RecordingPage m_page;
    CTestReport m_report;
    CTestAnno m_anno;
};

}  // namespace

TEST_F(ReportWave, AOnePageReportCarriesThePatientBlockAndBothCaptions)
{
    OpenRecord(RecordKind::Rest12, 1);
    m_report.m_nPageCount = 1;
    ASSERT_EQ(m_report.PrintRhythmWave(&m_view, nullptr, 1, 0, 0, kTitle, 0, -1), 1);
    const auto texts = m_page.Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().text.find(L"****** Report ****** 安静時心電図 **********"), 0u);
    const CRect& rc = m_report.m_rcPrint;
    const int y0 = rc.top + PerMille(20) + PerMille(50) + PerMille(20);
    const DrawRecord first = FindText(m_report.m_strDisplayInfo1.str());
    const DrawRecord second = FindText(m_report.m_strDisplayInfo2.str());
    ASSERT_FALSE(first.points.empty());
    ASSERT_FALSE(second.points.empty());
    EXPECT_EQ(first.rect.bottom, y0);
    EXPECT_EQ(first.points[0].x, rc.left + Mm(10));
    EXPECT_EQ(second.points[0].x, rc.left + Mm(10) + Mm(125));
    EXPECT_NE(m_report.m_strDisplayInfo1.Find(L"波形连续型(3chx4)"), -1);
    // The patient block's rows lie in its band under the title.
    bool patientRow = false;
    for (const DrawRecord& text : texts)
        patientRow |= text.rect.top >= rc.top + PerMille(20) && text.rect.top < rc.top + PerMille(70) &&
                      text.text == XmlText(L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id").str();
    EXPECT_TRUE(patientRow);
    // The version line closes the page on its bottom edge.
    EXPECT_EQ(texts.back().rect.bottom, rc.bottom);
}

TEST_F(ReportWave, FifteenLeadRecordsMoveTheSecondCaptionTo100mm)
{
    OpenRecord(RecordKind::Rest15, 1);
    ASSERT_EQ(m_report.PrintRhythmWave(&m_view, nullptr, 1, 0, 0, kTitle, 0, -1), 1);
    const DrawRecord second = FindText(m_report.m_strDisplayInfo2.str());
    ASSERT_FALSE(second.points.empty());
    EXPECT_EQ(second.points[0].x, m_report.m_rcPrint.left + Mm(10) + Mm(100));
    EXPECT_NE(m_report.m_strDisplayInfo1.Find(L"(3chx5)"), -1);
}

TEST_F(ReportWave, NumberedPartsAndSecondSeriesShapeTheirPages)
{
    OpenRecord(RecordKind::Rest12, 5);
    m_report.m_nPageCount = 4;
    // Part 2 of a numbered report, within the first series: no patient block.
    ASSERT_EQ(m_report.PrintRhythmWave(&m_view, nullptr, 3, 2, 1, kTitle, 0, 3), 1);
    EXPECT_EQ(m_page.Texts().front().text.find(L"****** Report ****** 安静時心電図 - 3 **"), 0u);
    const int laterTop = m_report.m_rcPrint.top + PerMille(40);
    // One caption on a page of a report with two series.
    int captions = 0;
    for (const DrawRecord& text : m_page.Texts())
        captions += text.rect.bottom == laterTop && (text.text == m_report.m_strDisplayInfo1.str() ||
                                                     text.text == m_report.m_strDisplayInfo2.str());
    EXPECT_EQ(captions, 1);
    // The part that starts the second series carries the patient block again.
    m_page.Clear();
    m_view.SetShowChestLead(TRUE);
    ASSERT_EQ(m_report.PrintRhythmWave(&m_view, nullptr, 4, 3, 0, kTitle, 0, 3), 1);
    const DrawRecord chest = FindText(m_report.m_strDisplayInfo2.str());
    ASSERT_FALSE(chest.points.empty());
    EXPECT_EQ(chest.rect.bottom, m_report.m_rcPrint.top + PerMille(90));
}

TEST_F(ReportWave, TheUsStylePageNamesItsLeadsAndStartsTheWavesUnderTheInterpretation)
{
    OpenRecord(RecordKind::Rest15, 1);
    m_report.m_nPageCount = 1;
    ASSERT_EQ(m_report.PrintRhythmWaveAme(&m_view, nullptr, 1, 0, 0, 0, -1), 1);
    EXPECT_EQ(m_page.Texts().front().text.find(L"****** Report ****** 15誘導+解析結果 **"), 0u);
    const DrawRecord first = FindText(m_report.m_strDisplayInfo1.str());
    ASSERT_FALSE(first.points.empty());
    EXPECT_EQ(first.rect.bottom, m_report.m_rcPrint.top + PerMille(300) + PerMille(30));
    // The strip asked for cannot be printed without its view.
    EXPECT_EQ(m_report.PrintRhythmWaveAme(&m_view, nullptr, 1, 0, 0, 1, -1), 0);
}

TEST_F(ReportWave, TheGridIsAWholeNumberOfFiveMillimetresTakenTwice)
{
    OpenRecord(RecordKind::Rest12, 1);
    // At 11.811 px/mm an area of 119.9 mm gives 115 mm, whose 1358 pixels
    // come back as 114 mm: the grid is 110 mm high.
    m_report.m_fPixelPerMM = 11.811f;
    const int y0 = m_report.m_rcPrint.top + PerMille(40);
    const int y1 = y0 + PerMille(5);
    m_report.m_rcPrint.bottom = y0 + PerMille(20) + static_cast<int>(119.9 * 11.811);
    ASSERT_EQ(m_report.PrintRhythmWave(&m_view, nullptr, 2, 1, 0, kTitle, 0, -1), 1);
    EXPECT_EQ(m_view.GetCurPrintBottom(), y1 + static_cast<int>(110 * 11.811f));
}

TEST_F(ReportWave, AMissingViewOrStripEndsTheBlockBeforeItDraws)
{
    OpenRecord(RecordKind::Rest12, 1);
    EXPECT_EQ(m_report.PrintRhythmWave(nullptr, nullptr, 1, 0, 0, kTitle, 0, -1), 0);
    EXPECT_EQ(m_report.PrintRhythmWave(&m_view, nullptr, 1, 0, 0, kTitle, 1, -1), 0);
    EXPECT_TRUE(m_page.Texts().empty());
    EXPECT_EQ(m_anno.PrintRhythmWaveAnnotation(nullptr, nullptr, kTitle), 0);
}

TEST_F(ReportWave, TheAnnotatedTwinIsPageOneOfOneSizedByTheViewsGrid)
{
    OpenRecord(RecordKind::Rest12, 1);
    ASSERT_EQ(m_anno.PrintRhythmWaveAnnotation(&m_view, nullptr, kTitle), 1);
    EXPECT_FALSE(FindText(L"P. 1/1 ****").points.empty());
    int gx = 0, gy = 0;
    m_view.GetGridCount(gx, gy);
    // The frame closes under the view's own grid rows, placed with the spare height.
    const int y1 = m_anno.m_rcPrint.top + PerMille(90) + PerMille(5);
    EXPECT_GE(m_view.GetCurPrintBottom(), y1 + Mm(gy));
}

TEST_F(ReportWave, SpareHeightIsSpreadAboveAndBetweenTheViews)
{
    const struct {
        int spare, o1, o2;
    } cases[] = {
        // spare  above  between
        {0, 0, 0}, {5, 0, 5}, {10, 5, 0}, {15, 5, 5}, {20, 5, 10}, {25, 10, 5}, {30, 0, 0},
    };
    for (const auto& c : cases) {
        int o1 = -1, o2 = -1;
        m_anno.CalculateWaveOffset(100 + c.spare, 70, 30, o1, o2);
        EXPECT_EQ(o1, c.o1) << c.spare;
        EXPECT_EQ(o2, c.o2) << c.spare;
    }
}
