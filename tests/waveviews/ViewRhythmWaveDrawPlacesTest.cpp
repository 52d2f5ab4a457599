// Where the multi-lead view puts what it draws around the traces: the rows
// of a rest page that has no zero lines of its own, and the start time kept
// clear of the traces and names it would meet.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/TextBoxes.h"
#include "tests/waveviews/ViewRhythmWaveTestSupport.h"

namespace {

// The view with the steps of its page drawing within a test's reach.
class CPageProbe : public CViewRhythmWave {
public:
    using CViewRhythmWave::BlockedAt;
    using CViewRhythmWave::CBlocked;
    using CViewRhythmWave::DrawStartTimeClear;
    using CViewRhythmWave::DrawTraceSpan;
    using CViewRhythmWave::LeadCount;
    using CViewRhythmWave::TraceSpanBox;
};

class RhythmWaveDrawPlaces : public rhythmviewtest::RestPageFixture<CPageProbe> {
protected:
    void SetUp() override
    {
        RestPageFixture::SetUp();
        OpenRecord();
        m_view.SetWaveStyle(1, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
    }
};

}  // namespace

// ---- a rest page's rows -------------------------------------------------------------------------

TEST_F(RhythmWaveDrawPlaces, ARestPageWithoutStoredZeroLinesSpreadsItsRowsEvenly)
{
    const int width = 1200, height = 600;
    int gridX = 0, gridY = 0;
    m_view.GetGridCount(gridX, gridY);
    ASSERT_EQ(m_view.GetRows(), 3);
    for (int lead = 0; lead < RHYTHM_VIEW_LEADS; ++lead) m_view.SetScreenBaseline(lead, 0);
    testsupport::CTextBoxDC dc(width, height);
    ASSERT_EQ(m_view.DrawRestWave(&dc, CRect(0, 0, width, height), gridX, gridY, 0), 1);
    // Rows centred in thirds of the page, each name three squares above its zero line.
    const wchar_t* const firstColumn[] = {L"I", L"II", L"III"};
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        const std::vector<CRect> names = dc.BoxesOf(firstColumn[row]);
        ASSERT_EQ(names.size(), 1u);
        const int zeroLine = height / 6 + row * (height / 3);
        const int expected = std::max(zeroLine - MulDiv(height, 3, gridY), MulDiv(height, 4, gridY));
        EXPECT_EQ(names.front().bottom, expected);
    }
    // The other columns' rows stand on the same lines.
    for (const wchar_t* name : {L"aVR", L"V1", L"V4"})
        EXPECT_EQ(dc.BoxesOf(name).at(0).bottom, dc.BoxesOf(L"I").at(0).bottom) << testsupport::Utf8(CString(name));
    EXPECT_EQ(dc.BoxesOf(L"V6").at(0).bottom, dc.BoxesOf(L"III").at(0).bottom);
}

// ---- what a start time keeps clear of --------------------------------------------------------------

TEST_F(RhythmWaveDrawPlaces, TheBoxOfATraceSpanCoversWithinAPixelWhatTheTraceDrawsBetweenItsEdges)
{
    const int width = 1000, height = 400;
    const int count = m_view.LeadCount(1);
    ASSERT_GE(count, 1000);
    const CRect trace(0, 200, width, 260);
    MakeSurface(width, height);
    ASSERT_TRUE(m_view.DrawTraceSpan(&m_dc, trace, 1, 0, count, count, 0));
    // Windows as wide as a time label, stepped across beats: the trace peaks
    // under the left end of some, the middle of others, the right end of others.
    const int label = 40;
    int checked = 0;
    for (int x0 = 0; x0 + label < width; x0 += 3) {
        const int x1 = x0 + label;
        int top = INT_MAX, bottom = INT_MIN;
        for (int x = x0; x <= x1; ++x)
            for (int y = 0; y < height; ++y)
                if (Inked(x, y)) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        if (top > bottom) continue;
        ++checked;
        const CRect box = m_view.TraceSpanBox(trace, 1, 0, count, count, x0, x1);
        // Within the pixel a time always keeps from a trace: a lone pixel
        // of the trace leans one pixel towards its neighbours.
        EXPECT_LE(box.top - 1, top) << "window " << x0 << ".." << x1;
        EXPECT_GE(box.bottom + 1, bottom + 1) << "window " << x0 << ".." << x1;
        EXPECT_EQ(box.left, x0);
        EXPECT_EQ(box.right, x1);
    }
    EXPECT_GT(checked, 300);
}

TEST_F(RhythmWaveDrawPlaces, ATimeMovesOffATraceThatPeaksOnlyUnderItsRightEnd)
{
    testsupport::CTextBoxDC dc(600, 300);
    CDCObjectSelector<CFont> font(dc, m_doc.GetDocFont(1));
    const CSize size = dc.GetTextExtent(L"0:00");
    const CPoint at(100, 120);
    // A spike under the last few pixels of the label only.
    const CRect spike(at.x + size.cx - 3, at.y - 30, at.x + size.cx, at.y + size.cy + 30);
    CPageProbe::BlockedAt blockedAt = [&](int x0, int x1) {
        std::vector<CPageProbe::CBlocked> blocked;
        if (x1 >= spike.left && x0 < spike.right) blocked.push_back({spike, false});
        return blocked;
    };
    m_view.DrawStartTimeClear(&dc, at, 0, blockedAt, CRect(0, 0, 600, 300));
    const std::vector<CRect> times = dc.BoxesOf(L"0:00");
    ASSERT_EQ(times.size(), 1u);
    const CRect time = times.front();
    EXPECT_NE(time.TopLeft(), at);
    CRect common;
    EXPECT_FALSE(common.IntersectRect(&time, &spike)) << time.left << "," << time.top;
    // It moves the least along its row: to the left of the spike, on its line.
    EXPECT_EQ(time.top, at.y);
    EXPECT_LT(time.right, spike.left);
}

TEST_F(RhythmWaveDrawPlaces, ATimeThatWouldCoverALeadNameStandsRightAfterTheName)
{
    testsupport::CTextBoxDC dc(600, 300);
    CDCObjectSelector<CFont> font(dc, m_doc.GetDocFont(1));
    const CSize size = dc.GetTextExtent(L"0:00");
    const int gap = std::max(1, static_cast<int>(size.cy / 10));
    const CPoint at(100, 120);
    // The name a little above and left of the time, and a trace under the
    // row to the right: neither along the row nor a line up or down is free.
    const CRect name(at.x - 10, at.y - 5, at.x + size.cx, at.y - 5 + size.cy);
    const CRect trace(name.right, at.y + size.cy - 3, at.x + 4 * size.cx, at.y + size.cy + 4);
    CPageProbe::BlockedAt blockedAt = [&](int x0, int x1) {
        std::vector<CPageProbe::CBlocked> blocked;
        if (x1 >= name.left && x0 < name.right) blocked.push_back({name, true});
        if (x1 >= trace.left && x0 < trace.right) blocked.push_back({trace, false});
        return blocked;
    };
    m_view.DrawStartTimeClear(&dc, at, 0, blockedAt, CRect(0, 0, 600, 300));
    const std::vector<CRect> times = dc.BoxesOf(L"0:00");
    ASSERT_EQ(times.size(), 1u);
    // On the name's line, a third of a line's height after it.
    EXPECT_EQ(times.front().top, name.top);
    EXPECT_EQ(times.front().left, name.right + std::max(gap, static_cast<int>(size.cy / 3)));
}

// A row whose time has no clear place by its start keeps it there: the name
// of the page's first row, rows above, is no place for it (the times of
// two such rows went there and were drawn over each other).
TEST_F(RhythmWaveDrawPlaces, ATimeBlockedAtItsRowStaysByItsRowAndNeverMovesToTheNameOfARowFarAbove)
{
    testsupport::CTextBoxDC dc(600, 400);
    CDCObjectSelector<CFont> font(dc, m_doc.GetDocFont(1));
    const CSize size = dc.GetTextExtent(L"0:00");
    const CPoint at(100, 300);
    const CRect name(at.x, 40, at.x + size.cx, 40 + size.cy);
    // The row's trace fills every place a line up or down and along the row.
    const CRect trace(0, at.y - 3 * size.cy, 600, at.y + 4 * size.cy);
    CPageProbe::BlockedAt blockedAt = [&](int x0, int x1) {
        std::vector<CPageProbe::CBlocked> blocked;
        if (x1 >= name.left && x0 < name.right) blocked.push_back({name, true});
        blocked.push_back({trace, false});
        return blocked;
    };
    m_view.DrawStartTimeClear(&dc, at, 0, blockedAt, CRect(0, 0, 600, 400));
    const std::vector<CRect> times = dc.BoxesOf(L"0:00");
    ASSERT_EQ(times.size(), 1u);
    EXPECT_EQ(times.front().TopLeft(), at);
}

// ---- a rhythm record's rest page: its rows, and its start time once ---------------------------------

namespace {

class RhythmRestPage : public rhythmtest::RhythmDocTest {
protected:
    void TearDown() override
    {
        if (m_doc) m_doc->RemoveView(&m_view);
        rhythmtest::RhythmDocTest::TearDown();
    }
    CViewRhythmWave m_view;
};

}  // namespace

TEST_F(RhythmRestPage, EachColumnDrawsItsOwnRowsNamesAndThePageItsStartTimeOnceClearOfThem)
{
    morvelance::RhythmRecordShape shape;
    shape.leads = 12;
    shape.seconds = 30.0;
    ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, "restpage", shape), 12));
    m_doc->m_bAutoDelete = FALSE;
    m_doc->AddView(&m_view);
    m_view.SetDocType(DOC_TYPE_RHYTHM);
    m_view.SetWaveStyle(1, TRUE);
    m_view.OnUpdate(nullptr, 0, nullptr);
    int gridX = 0, gridY = 0;
    m_view.GetGridCount(gridX, gridY);
    const int width = 1200, height = 600;
    testsupport::CTextBoxDC dc(width, height);
    CDCObjectSelector<CFont> font(dc, m_doc->GetDocFont(1));
    ASSERT_EQ(m_view.DrawRestWave(&dc, CRect(0, 0, width, height), gridX, gridY, 0), 1);
    // Three rows in each of four columns: every lead named once.
    int names = 0;
    int times = 0;
    CRect time;
    for (const testsupport::TextBox& text : dc.Boxes()) {
        if (text.text.Find(L':') >= 0) {
            ++times;
            time = text.box;
        } else {
            ++names;
        }
    }
    EXPECT_EQ(names, 12);
    EXPECT_EQ(times, 1);
    for (const testsupport::TextBox& text : dc.Boxes()) {
        if (text.text.Find(L':') >= 0) continue;
        CRect common;
        EXPECT_FALSE(common.IntersectRect(&time, &text.box)) << testsupport::Utf8(text.text);
    }
}
