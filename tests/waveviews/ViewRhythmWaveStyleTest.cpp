// The multi-lead view's layouts by style and document kind, and its paging.
#include <gtest/gtest.h>

#include <vector>

#include "core/TavrionDoc.h"
#include "documents/RestViewDoc.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

// A document of a chosen kind serving `m_leads` leads of the same known samples.
class SampleDoc : public CTavrionDoc {
public:
    int GetDocType() const override { return m_kind; }
    float GetSpeed() override { return m_speed; }
    int GetRhythmWaveData(int lead, short* buffer, int) override
    {
        if (lead < 0 || lead >= m_leads) return 0;
        if (buffer) std::copy(m_samples.begin(), m_samples.end(), buffer);
        return static_cast<int>(m_samples.size() * sizeof(short));
    }

    int m_kind = DOC_TYPE_REST;
    int m_leads = 1;
    float m_speed = 25.0f;
    std::vector<short> m_samples;
};

class RhythmViewPagingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_bAutoDelete = FALSE;
        m_doc.AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_REST);
    }
    void TearDown() override { m_doc.RemoveView(&m_view); }

    // A twelve-lead record of `count` samples shown in style 1: 5000 samples
    // a page at 500 samples per second and 25 mm/s on 250 squares. (Every
    // column holds leads: a record of one lead fills only the first column
    // of the page, and its pages are that column's 1250 samples.)
    void Load(int count)
    {
        m_doc.m_leads = 12;
        m_doc.m_samples.assign(static_cast<size_t>(count), 0);
        m_view.SetWaveStyle(1, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
    }

    SampleDoc m_doc;
    CViewRhythmWave m_view;
};

TEST_F(RhythmViewPagingTest, PagingForwardMovesByOnePageOfSamples)
{
    Load(20000);
    EXPECT_EQ(0, m_view.ChangePageSample(1));
    EXPECT_EQ(5000, m_view.GetStartTime());
    EXPECT_EQ(0, m_view.ChangePageSample(1));
    EXPECT_EQ(10000, m_view.GetStartTime());
}

TEST_F(RhythmViewPagingTest, PagingOntoTheLastPageEndsThePageAtTheLastSample)
{
    Load(17000);
    EXPECT_EQ(2, m_view.ChangePageSample(3));
    EXPECT_EQ(12000, m_view.GetStartTime());
    EXPECT_EQ(2, m_view.ChangePageSample(1));
    EXPECT_EQ(12000, m_view.GetStartTime());
}

TEST_F(RhythmViewPagingTest, PagingBackFromTheFirstPageStaysAtTheStart)
{
    Load(20000);
    m_view.ChangePageSample(1);
    EXPECT_EQ(1, m_view.ChangePageSample(-5));
    EXPECT_EQ(0, m_view.GetStartTime());
    EXPECT_EQ(1, m_view.ChangePageSample(0));
}

TEST_F(RhythmViewPagingTest, ARecordShorterThanAPageStaysAtTheStartWhateverTheDirection)
{
    Load(4000);
    m_view.SetStartTime(300);
    EXPECT_EQ(3, m_view.ChangePageSample(1));
    EXPECT_EQ(0, m_view.GetStartTime());
    EXPECT_EQ(3, m_view.ChangePageSample(-1));
    EXPECT_EQ(0, m_view.GetStartTime());
}

TEST_F(RhythmViewPagingTest, WithoutASpeedThePageDoesNotMove)
{
    Load(20000);
    m_view.SetStartTime(5000);
    m_doc.m_speed = 0.0f;
    EXPECT_EQ(3, m_view.ChangePageSample(1));
    EXPECT_EQ(5000, m_view.GetStartTime());
}

TEST_F(RhythmViewPagingTest, ANegativeStartIsIgnored)
{
    Load(20000);
    m_view.SetStartTime(700);
    m_view.SetStartTime(-1);
    EXPECT_EQ(700, m_view.GetStartTime());
}

TEST_F(RhythmViewPagingTest, LoadingKeepsEveryServedSampleOfTheLead)
{
    m_doc.m_samples = {5, -7, 300, 12};
    m_view.SetWaveStyle(1, TRUE);
    m_view.OnUpdate(nullptr, 0, nullptr);
    ASSERT_EQ(4, m_view.GetLeadSampleCount(0));
    EXPECT_EQ(300, m_view.GetLeadSamples(0)[2]);
    EXPECT_EQ(nullptr, m_view.GetLeadSamples(1));
}

TEST_F(RhythmViewPagingTest, StyleFifteenStopsSnappingTheSpeedUntilTheNextStyle)
{
    m_view.SetWaveStyle(15, TRUE);
    EXPECT_FALSE(m_view.IsSnapSpeed());
    m_view.SetWaveStyle(13, TRUE);
    EXPECT_TRUE(m_view.IsSnapSpeed());
}

TEST_F(RhythmViewPagingTest, ASecondStyleWithoutReinitKeepsTheGrid)
{
    m_view.SetWaveStyle(11, TRUE);
    m_view.SetWaveStyle(2, FALSE);
    int x = 0;
    int y = 0;
    m_view.GetGridCount(x, y);
    EXPECT_EQ(260, x);
    EXPECT_EQ(150, y);
    EXPECT_EQ(3, m_view.GetRows());
    EXPECT_EQ(2, m_view.GetColumns());
}

TEST_F(RhythmViewPagingTest, AStyleOutsideTheTableChangesNoLayout)
{
    m_view.SetWaveStyle(11, TRUE);
    m_view.SetWaveStyle(40, TRUE);
    EXPECT_EQ(40, m_view.GetWaveStyle());
    EXPECT_EQ(12, m_view.GetRows());
    CRect rect(0, 0, 100, 100);
    CDC dc;
    EXPECT_EQ(0, m_view.DrawView(&dc, rect, 260, 120, 0));
}

TEST_F(RhythmViewPagingTest, TheOneLeadStripIsTheDocumentsOnlyWhileItHasNone)
{
    m_doc.SetRhythm1LeadID(-1);
    m_view.SetRhythm1LeadID(4);
    EXPECT_EQ(4, m_doc.GetRhythm1LeadID());
    m_view.SetRhythm1LeadID(7);
    EXPECT_EQ(7, m_view.GetRhythm1LeadID());
    EXPECT_EQ(4, m_doc.GetRhythm1LeadID());
}

// ---- the style table on a resting record ---------------------------------------------------

struct Layout {
    int style;
    bool half;
    int groups;
    int rows;
    int columns;
    int gridX;
    int gridY;
};

class RhythmViewStyleTableTest : public resttest::RestDocFixture,
                                 public ::testing::WithParamInterface<Layout> {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        morvelance::RestRecordShape shape;
        ASSERT_EQ(0, Open(AddRecord("style", shape)));
        m_doc.m_bAutoDelete = FALSE;
        m_doc.AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_REST);
    }
    void TearDown() override
    {
        m_doc.RemoveView(&m_view);
        resttest::RestDocFixture::TearDown();
    }

    CViewRhythmWave m_view;
};

TEST_P(RhythmViewStyleTableTest, TheStyleSetsGroupsRowsColumnsAndPaper)
{
    const Layout& l = GetParam();
    m_view.SetHalfStyle(l.half);
    m_view.SetWaveStyle(l.style, TRUE);
    int x = 0;
    int y = 0;
    m_view.GetGridCount(x, y);
    EXPECT_EQ(l.groups, m_view.GetLeadGroups());
    EXPECT_EQ(l.rows, m_view.GetRows());
    EXPECT_EQ(l.columns, m_view.GetColumns());
    EXPECT_EQ(l.gridX, x);
    EXPECT_EQ(l.gridY, y);
    EXPECT_EQ(l.style == 17 || l.style == 21 ? 3 : 1, m_view.GetDividerRows());
}

INSTANTIATE_TEST_SUITE_P(RestRecord, RhythmViewStyleTableTest,
                         ::testing::Values(Layout{1, false, 3, 3, 4, 260, 120}, Layout{2, false, 3, 3, 2, 135, 120},
                                           Layout{4, true, 3, 3, 2, 135, 120}, Layout{5, false, 6, 6, 2, 260, 120},
                                           Layout{8, false, 6, 6, 2, 135, 120}, Layout{9, false, 6, 6, 1, 260, 120},
                                           Layout{10, false, 6, 6, 1, 135, 120}, Layout{11, false, 12, 12, 1, 260, 150},
                                           Layout{12, false, 15, 15, 1, 260, 150}, Layout{13, false, 1, 1, 1, 260, 30},
                                           Layout{14, true, 1, 1, 1, 135, 30}, Layout{15, true, 1, 1, 1, 135, 5},
                                           Layout{16, true, 1, 6, 1, 135, 145}, Layout{17, false, 3, 6, 1, 260, 120},
                                           Layout{20, true, 1, 6, 1, 135, 140}, Layout{21, false, 3, 6, 1, 260, 135},
                                           Layout{25, false, 6, 6, 1, 135, 150}));

TEST_F(RhythmViewStyleTableTest, ExtraStylesSetNoPaperWithoutAnExtraRecord)
{
    m_view.SetWaveStyle(1, TRUE);
    m_view.SetWaveStyle(22, TRUE);
    int x = 0;
    int y = 0;
    m_view.GetGridCount(x, y);
    EXPECT_EQ(3, m_view.GetRows());
    EXPECT_EQ(260, x);
    EXPECT_EQ(120, y);
}

}  // namespace
