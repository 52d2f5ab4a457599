#include <gtest/gtest.h>

#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/reports/ReportTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

using reporttest::CTestReport;

// The settings lines of an extra-lead record the record maker wrote, for
// its multi-lead view in each extra layout.
class ReportExtraSettings : public extratest::ExtraDocTest {
protected:
    void SetUp() override
    {
        extratest::ExtraDocTest::SetUp();
        extratest::ExtraRecordOptions options;
        options.layout = extratest::ExtraLayout::Six;
        m_files = Write("extra", options);
        m_item = Load(m_doc, m_files, 6);
        ASSERT_NE(m_item, nullptr);
        m_doc.m_bAutoDelete = FALSE;
        m_doc.AddView(&m_view);
        m_view.SetDocType(4);
        m_report.m_pDoc = &m_doc;
        m_report.m_DocType = 4;
        m_report.OpenXml(extratest::Wide(m_files.xml));
    }
    void TearDown() override
    {
        m_doc.RemoveView(&m_view);
        extratest::ExtraDocTest::TearDown();
    }
    void Style(int style)
    {
        m_view.SetWaveStyle(style, TRUE);
    }

    extratest::RecordFiles m_files;
    _EXTRADATAITEM* m_item = nullptr;
    CViewRhythmWave m_view;
    CTestReport m_report;
};

}  // namespace

TEST_F(ReportExtraSettings, WavePagesNameTheirLayoutAndTwoColumnPagesBothSets)
{
    Style(24);
    m_report.UpdateExtraDisplayInfo(&m_view, 0, 0);
    EXPECT_NE(m_report.m_strDisplayInfo1.Find(L"波形連続型(6chx1)"), -1);
    EXPECT_NE(m_report.m_strDisplayInfo1.Find(L" Hz  "), -1);
    EXPECT_TRUE(m_report.m_strDisplayInfo2.IsEmpty());
    Style(28);
    m_report.UpdateExtraDisplayInfo(&m_view, 0, 0);
    EXPECT_NE(m_report.m_strDisplayInfo1.Find(L"波形同期型(3chx2)"), -1);
    EXPECT_FALSE(m_report.m_strDisplayInfo2.IsEmpty());
}

TEST_F(ReportExtraSettings, CommentPagesAreLabelledByTheirLeadCount)
{
    Style(25);
    m_report.UpdateExtraDisplayInfo(&m_view, 1, 0);
    EXPECT_NE(m_report.m_strDisplayInfo1.Find(L"6chx1"), -1);
    EXPECT_TRUE(m_report.m_strDisplayInfo2.IsEmpty());
    // Any other page kind, or a document of another kind, leaves both empty.
    m_report.UpdateExtraDisplayInfo(&m_view, 2, 0);
    EXPECT_TRUE(m_report.m_strDisplayInfo1.IsEmpty());
    m_report.m_DocType = 0;
    m_report.UpdateExtraDisplayInfo(&m_view, 1, 0);
    EXPECT_TRUE(m_report.m_strDisplayInfo1.IsEmpty());
}
