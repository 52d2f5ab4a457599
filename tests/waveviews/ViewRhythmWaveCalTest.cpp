// The calibration column, the event marks and the one-lead strip's speed and
// start time of the multi-lead view.
#include <gtest/gtest.h>

#include <vector>

#include "documents/RhythmViewDoc.h"
#include "platform/gdi/Image.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

const COLORREF kPaper = RGB(255, 255, 255);

// The view with its start-time text in reach.
class ProbeView : public CViewRhythmWave {
public:
    using CViewRhythmWave::StartTimeText;
};

// A document of a chosen kind serving one lead of `count` samples.
class StripDoc : public CTavrionDoc {
public:
    int GetDocType() const override { return m_kind; }
    float GetSpeed() override { return 25.0f; }
    int GetRhythmWaveData(int lead, short* buffer, int) override
    {
        if (lead != 0) return 0;
        if (buffer) std::fill(buffer, buffer + m_count, static_cast<short>(0));
        return m_count * 2;
    }
    int m_kind = DOC_TYPE_RHYTHM;
    int m_count = 5000;
};

class OneLeadStripTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_bAutoDelete = FALSE;
        m_doc.AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_RHYTHM);
        m_view.SetRhythm1LeadID(0);
    }
    void TearDown() override { m_doc.RemoveView(&m_view); }
    float SpeedFor(int seconds, int style, int print = 0)
    {
        m_doc.m_count = seconds * 500;
        m_view.SetWaveStyle(style, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        return m_view.Get1LeadWaveSpeed(print);
    }

    StripDoc m_doc;
    ProbeView m_view;
};

TEST_F(OneLeadStripTest, TenSecondsOnA250SquareStripRunAt25)
{
    EXPECT_FLOAT_EQ(25.0f, SpeedFor(10, 13));
}

TEST_F(OneLeadStripTest, TwelveSecondsAreLoweredToTheNextLadderSpeed)
{
    EXPECT_FLOAT_EQ(12.5f, SpeedFor(12, 13));
    EXPECT_FLOAT_EQ(2.5f, SpeedFor(200, 18));
}

TEST_F(OneLeadStripTest, StyleFifteenShowsTheWholeRecordAtTheExactFittingSpeed)
{
    EXPECT_FLOAT_EQ(250.0f / 12.0f, SpeedFor(12, 15));
}

TEST_F(OneLeadStripTest, AnEmptyStripHasNoSpeed)
{
    EXPECT_FLOAT_EQ(0.0f, SpeedFor(0, 13));
}

TEST_F(OneLeadStripTest, APageAtSample30000ReadsOneMinute)
{
    EXPECT_EQ(CString(L"1:00"), m_view.StartTimeText(30000));
    EXPECT_EQ(CString(L"0:09"), m_view.StartTimeText(4999));
}

// ---- pulses on a resting record -------------------------------------------------------------------

class CalibrationColumnTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        morvelance::RestRecordShape shape;
        ASSERT_EQ(0, Open(AddRecord("cal", shape)));
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(0, RGB(0, 0, 0));
        m_doc.AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_REST);
    }
    void TearDown() override
    {
        m_doc.RemoveView(&m_view);
        resttest::RestDocFixture::TearDown();
    }
    // The pulses' plateaus met going down the middle of the first step of a
    // 40 × 480 column (4 px squares, 120 down).
    int PulsesOfStyle(int style, float sense)
    {
        m_doc.SetSense(1, sense, 0);
        m_doc.SetSense(0, sense, 0);
        m_view.SetWaveStyle(style, TRUE);
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateImageDC(40, 480)));
        EXPECT_EQ(1, m_view.DrawRestCAL(&dc, CRect(0, 0, 40, 480), 260, 120, 0));
        // Dual pulses: the first step spans x 13..18 of the 24 px pulse at 8.
        int runs = 0;
        bool inInk = false;
        for (int y = 0; y < 480; ++y) {
            const bool ink = dc.GetPixel(14, y) != kPaper;
            if (ink && !inInk) ++runs;
            inInk = ink;
        }
        return runs;
    }

    CViewRhythmWave m_view;
};

TEST_F(CalibrationColumnTest, ASixByTwoPageAtTenShowsSixDualPulses)
{
    EXPECT_EQ(6, PulsesOfStyle(5, 10.0f));
}

TEST_F(CalibrationColumnTest, ASixByTwoPageAtTwentyShowsOneDualPulse)
{
    EXPECT_EQ(1, PulsesOfStyle(5, 20.0f));
}

// ---- pulses on a rhythm record --------------------------------------------------------------------

// A rhythm page of three lead groups in three rows (style 1) shows a pulse
// beside each row below a rhythm gain of 20 mm/mV, and from 20 on, where
// three would run into each other, one pulse beside the last row.
class RhythmCalibrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(0, RGB(0, 0, 0));
        m_doc.AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_RHYTHM);
        m_view.SetWaveStyle(1, TRUE);
    }
    void TearDown() override { m_doc.RemoveView(&m_view); }
    // The pulses' tops met going down the middle of a 40 × 480 column
    // (4 px squares, 120 down), each by the row it stands in.
    std::vector<int> PulseRows(float sense)
    {
        m_doc.SetSense(6, sense, 0);
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateImageDC(40, 480)));
        EXPECT_EQ(1, m_view.DrawRhythmRRCAL(&dc, CRect(0, 0, 40, 480), 260, 120, 0));
        std::vector<int> rows;
        bool inInk = false;
        for (int y = 0; y < 480; ++y) {
            const bool ink = dc.GetPixel(20, y) != kPaper;
            if (ink && !inInk) rows.push_back(y / 160);
            inInk = ink;
        }
        return rows;
    }

    CRhythmViewDoc m_doc;
    CViewRhythmWave m_view;
};

TEST_F(RhythmCalibrationTest, ThreeGroupsShowAPulseARowBelowTwentyAndOneBesideTheLastRowFromTwentyOn)
{
    ASSERT_EQ(3, m_view.GetLeadGroups());
    EXPECT_EQ((std::vector<int>{0, 1, 2}), PulseRows(10.0f));
    EXPECT_EQ((std::vector<int>{0, 1, 2}), PulseRows(19.5f));
    EXPECT_EQ((std::vector<int>{2}), PulseRows(20.0f));
    EXPECT_EQ((std::vector<int>{2}), PulseRows(30.0f));
}

// ---- events of a rhythm record --------------------------------------------------------------------

class EventMarkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetSpeed(25.0f);
        m_doc.SetWaveColor(3, RGB(0, 0, 0));
        m_item = m_doc.GetRhythmDataManager()->AppendItem(new _RHYTHMDATAITEM);
        m_doc.SetCurDataIndex(m_item->nID);
        m_doc.AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_RHYTHM);
        m_view.SetWaveStyle(16, TRUE);   // six rows of one lead, 5000 samples a row
        m_dc.Attach(platform::gdi::CreateImageDC(1040, 480));
    }
    void TearDown() override { m_doc.RemoveView(&m_view); }
    // The inked columns of the page, right to left, within rows [top, bottom).
    int RightmostInk(int top, int bottom)
    {
        for (int x = 1039; x >= 0; --x)
            for (int y = top; y < bottom; ++y)
                if (m_dc.GetPixel(x, y) != kPaper) return x;
        return -1;
    }
    int InkCount()
    {
        int n = 0;
        for (int x = 0; x < 1040; ++x)
            for (int y = 0; y < 480; ++y) n += m_dc.GetPixel(x, y) != kPaper;
        return n;
    }

    CRhythmViewDoc m_doc;
    _RHYTHMDATAITEM* m_item = nullptr;
    CViewRhythmWave m_view;
    CDC m_dc;
};

TEST_F(EventMarkTest, AnEventOneRowOfSamplesAfterTheStartEndsTheFirstRow)
{
    m_item->arrEvent.Add(5000);
    m_view.DrawEventInfo(&m_dc, CRect(0, 0, 1040, 480), 260, 120, 0);
    // Row 1 of 80 px: the mark stands at the right end of the trace (x 1040).
    EXPECT_NEAR(1039, RightmostInk(0, 80), 5);
    EXPECT_EQ(-1, RightmostInk(80, 480));
}

TEST_F(EventMarkTest, EventsBeforeAndAfterThePageLeaveNoMark)
{
    m_view.SetStartTime(10000);
    m_item->arrEvent.Add(9999);
    m_item->arrEvent.Add(10000 + 6 * 5000 + 1);
    m_view.DrawEventInfo(&m_dc, CRect(0, 0, 1040, 480), 260, 120, 0);
    EXPECT_EQ(0, InkCount());
}

}  // namespace
