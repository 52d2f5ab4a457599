// The extra-lead report pages over a six-lead record of two sets that the
// record maker wrote, its multi-lead view and one-lead strip on the
// document, drawn on a recording page: where the titles, blocks and
// settings lines land, the one- and two-caption styles, later parts, the
// strip overlapping the waves' grid, and the views a page cannot do without.
#include <gtest/gtest.h>

#include <string>

#include "core/PositionCtrl.h"
#include "platform/base/Kernel.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/reports/ReportTestSupport.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace {

using platform::gdi::DrawRecord;
using reporttest::RecordingPage;

const wchar_t kTitle[] = L"追加誘導心電図";

class CExtraReport : public reporttest::CTestReport {
public:
    using CECGPrintReport::PrintExtraComment;
    using CECGPrintReport::PrintExtraWave;
};

class ReportExtraPages : public extratest::ExtraDocTest {
protected:
    void SetUp() override
    {
        extratest::ExtraDocTest::SetUp();
        extratest::ExtraRecordOptions options;
        options.layout = extratest::ExtraLayout::SixTwoSets;
        m_files = Write("extra", options);
        ASSERT_NE(nullptr, Load(m_doc, m_files, 6));
        m_doc.UpDateReferenceInfo(CString());
        m_doc.GetCtrlPosFromXSL(LOAD_POS_EXTRA_PRINT);
        m_doc.m_bAutoDelete = FALSE;
        m_doc.AddView(&m_view);
        m_doc.AddView(&m_strip);
        m_view.SetDocType(DOC_TYPE_EXTRA);
        m_strip.SetDocType(DOC_TYPE_EXTRA);
        m_strip.SetWaveStyle(15, TRUE);
        m_strip.OnUpdate(nullptr, 0, nullptr);
        m_report.m_pDoc = &m_doc;
        m_report.m_DocType = DOC_TYPE_EXTRA;
        m_page.Attach(m_report);
        m_report.OpenXml(extratest::Wide(m_files.xml));
        m_report.m_nPageCount = 2;
    }
    void TearDown() override
    {
        m_doc.RemoveView(&m_view);
        m_doc.RemoveView(&m_strip);
        extratest::ExtraDocTest::TearDown();
    }
    void Style(int style, BOOL half)
    {
        m_view.SetHalfStyle(half);
        m_view.SetWaveStyle(style, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
    }
    DrawRecord FindText(const std::wstring& text) const
    {
        for (const DrawRecord& record : m_page.Texts())
            if (!text.empty() && record.text == text) return record;
        return DrawRecord();
    }
    int Mm(double mm) const { return static_cast<int>(mm * m_report.m_fPixelPerMM); }
    int PerMille(int n) const { return MulDiv(m_report.m_nPrintHeight, n, 1000); }
    // The whole 5-mm steps of a pixel length, in millimetres.
    int FiveMm(int pixels) const { return 5 * (static_cast<int>(pixels / m_report.m_fPixelPerMM) / 5); }

    extratest::RecordFiles m_files;
    CViewRhythmWave m_view;
    CViewScroll1LeadWave m_strip;
    RecordingPage m_page;
    CExtraReport m_report;
};

}  // namespace

TEST_F(ReportExtraPages, TheCommentPagePutsTheSettingsOverTheWavesOnTheRightHalf)
{
    Style(27, TRUE);
    ASSERT_EQ(1, m_report.PrintExtraComment(&m_view, &m_strip, 1, 0, 0, 0));
    const auto texts = m_page.Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(0u, texts.front().text.find(L"****** Report ****** コメント **"));
    const CRect& rc = m_report.m_rcPrint;
    const int half = rc.Width() / 2;
    ASSERT_FALSE(m_report.m_strDisplayInfo1.IsEmpty());
    const DrawRecord caption = FindText(m_report.m_strDisplayInfo1.str());
    ASSERT_FALSE(caption.points.empty());
    EXPECT_EQ(rc.left + half + Mm(10), caption.points[0].x);
    EXPECT_EQ(rc.top + PerMille(40), caption.rect.bottom);
    // The waves' lead labels stand in the right half, under the settings line.
    const DrawRecord label = FindText(L"V3R");
    ASSERT_FALSE(label.points.empty());
    EXPECT_GE(label.rect.left, rc.left + half);
    EXPECT_GT(label.rect.top, caption.rect.bottom);
    EXPECT_EQ(rc.bottom, texts.back().rect.bottom);   // the version line
}

TEST_F(ReportExtraPages, TheCommentPagesStripOverlapsTheBottomOfTheWavesGrid)
{
    Style(27, TRUE);
    ASSERT_EQ(1, m_report.PrintExtraComment(&m_view, &m_strip, 2, 1, 1, 1));
    EXPECT_EQ(0u, m_page.Texts().front().text.find(L"****** Report ****** コメント - 2 **"));
    // The strip's own settings line stands in its grid, which begins 15/1000 of
    // the height above the bottom of the waves' 750/1000.
    const int top = m_report.m_rcPrint.top + PerMille(40) + PerMille(5);
    const int wavesBottom = top + Mm(FiveMm(PerMille(750)));
    bool stripLine = false;
    for (const DrawRecord& text : m_page.Texts())
        if (text.text.find(L" mm/s") != std::wstring::npos && text.text.find(L" Hz") == std::wstring::npos) {
            stripLine = true;
            EXPECT_GE(text.rect.top, wavesBottom - PerMille(15));
            EXPECT_LT(text.rect.top, wavesBottom);
        }
    EXPECT_TRUE(stripLine);
    // Without the strip the waves take 960 thousandths; asking for a strip that is missing fails.
    m_page.Clear();
    EXPECT_EQ(0, m_report.PrintExtraComment(&m_view, nullptr, 1, 0, 0, 1));
    m_page.Clear();
    EXPECT_EQ(0, m_report.PrintExtraComment(nullptr, &m_strip, 1, 0, 0, 0));
}

TEST_F(ReportExtraPages, AOneColumnWavePageStatesOneSetUnderThePatientBlock)
{
    Style(24, FALSE);
    ASSERT_EQ(1, m_report.PrintExtraWave(&m_view, &m_strip, 1, 0, 0, kTitle, 0));
    EXPECT_EQ(0u, m_page.Texts().front().text.find(L"****** Report ****** 追加誘導心電図 **"));
    const CRect& rc = m_report.m_rcPrint;
    const int y0 = rc.top + PerMille(20) + PerMille(50) + PerMille(20);
    const DrawRecord first = FindText(m_report.m_strDisplayInfo1.str());
    ASSERT_FALSE(first.points.empty());
    EXPECT_EQ(y0, first.rect.bottom);
    EXPECT_EQ(rc.left + Mm(10), first.points[0].x);
    EXPECT_NE(-1, m_report.m_strDisplayInfo1.Find(L"波形連続型(6chx1)"));
    // One caption only: nothing stands at the second caption's place.
    for (const DrawRecord& text : m_page.Texts())
        EXPECT_FALSE(!text.points.empty() && text.points[0].x == rc.left + Mm(10) + Mm(125) && text.rect.bottom == y0);
}

TEST_F(ReportExtraPages, ALaterTwoColumnPartStatesBothSetsWithoutThePatientBlock)
{
    Style(28, FALSE);
    ASSERT_EQ(1, m_report.PrintExtraWave(&m_view, &m_strip, 2, 1, 1, kTitle, 1));
    EXPECT_EQ(0u, m_page.Texts().front().text.find(L"****** Report ****** 追加誘導心電図 - 2 **"));
    const CRect& rc = m_report.m_rcPrint;
    const int y0 = rc.top + PerMille(40);
    const DrawRecord first = FindText(m_report.m_strDisplayInfo1.str());
    const DrawRecord second = FindText(m_report.m_strDisplayInfo2.str());
    ASSERT_FALSE(first.points.empty());
    ASSERT_FALSE(second.points.empty());
    EXPECT_EQ(y0, first.rect.bottom);
    EXPECT_EQ(y0, second.rect.bottom);
    EXPECT_EQ(rc.left + Mm(10) + Mm(125), second.points[0].x);
    EXPECT_NE(-1, m_report.m_strDisplayInfo1.Find(L"波形同期型(3chx2)"));
    // The strip starts from where the waves' grid ends.
    EXPECT_EQ(m_view.GetCurPrintBottom(), m_strip.GetCurPrintBottom());
    m_page.Clear();
    EXPECT_EQ(0, m_report.PrintExtraWave(&m_view, nullptr, 2, 1, 1, kTitle, 1));
    m_page.Clear();
    EXPECT_EQ(0, m_report.PrintExtraWave(nullptr, &m_strip, 1, 0, 0, kTitle, 0));
}
