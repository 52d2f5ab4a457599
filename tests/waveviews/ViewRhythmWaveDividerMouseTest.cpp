// The multi-lead view's dividers under the mouse, at the edges a user meets:
// a press on nothing, a whole pair dragged among the others, the release, the
// hit test of one pair, the handles at a display ratio other than 1, and an
// extra-lead kind on a resting document.
#include <gtest/gtest.h>

#include "core/Globals.h"
#include "core/MorvelanceApp.h"
#include "platform/ui/windowing/Resources.h"
#include "resources/ResourceIds.h"
#include "tests/waveviews/MeasureViewTestSupport.h"

using platform::ui::Desktop;

namespace {

// The view with its hit test open to the test.
class CDividerProbeView : public CViewRhythmWave {
    DECLARE_DYNCREATE(CDividerProbeView)

public:
    using CViewRhythmWave::HitDivider;
    using CViewRhythmWave::LeadCount;
};

IMPLEMENT_DYNCREATE(CDividerProbeView, CViewRhythmWave)

class DividerMouseTest : public measuretest::MeasureViewFixture<CDividerProbeView> {
protected:
    // Every pair switched on and shown, placed by a first paint.
    void ShowAllPairs()
    {
        m_view->ShowDivider(TRUE);
        for (int pair = 1; pair <= 3; ++pair) m_view->SetDividerCheck(TRUE, pair);
        Paint();
    }
    struct Pair {
        CRect first, second, bar;
        bool operator==(const Pair& o) const { return first == o.first && second == o.second && bar == o.bar; }
    };
    Pair PairAt(int pair) const
    {
        return {m_view->GetDividerHandle(pair, 0), m_view->GetDividerHandle(pair, 1), m_view->GetDividerBar(pair)};
    }
    static CPoint Centre(const CRect& r) { return r.CenterPoint(); }
    void Drag(CPoint from, CPoint to)
    {
        Desktop::MoveMouse(Hwnd(), from.x, from.y);
        Desktop::PumpMessages();
        Desktop::Drag(Hwnd(), POINT{from.x, from.y}, POINT{to.x, to.y});
        Desktop::PumpMessages();
    }
};

}  // namespace

TEST_F(DividerMouseTest, APressAwayFromEveryHandleGrabsNothingAndMovesNothing)
{
    OpenRecord(75.0);
    MakeView(1);
    ShowAllPairs();
    const Pair before[3] = {PairAt(0), PairAt(1), PairAt(2)};
    m_frame->m_messages.clear();
    // Low in the view, under every pair's handles and bars.
    Drag(CPoint(500, 560), CPoint(700, 400));
    for (int pair = 0; pair < 3; ++pair) EXPECT_TRUE(before[pair] == PairAt(pair)) << "pair " << pair;
    EXPECT_TRUE(m_frame->m_messages.empty());
}

TEST_F(DividerMouseTest, DraggingAWholePairKeepsItsSpanAndLeavesTheOtherPairsWhereTheyWere)
{
    OpenRecord(75.0);
    MakeView(1);
    ShowAllPairs();
    const Pair others[2] = {PairAt(1), PairAt(2)};
    const Pair moved = PairAt(0);
    const int span = moved.second.left - moved.first.left;
    const CPoint grip = Centre(moved.bar);
    Drag(grip, grip + CPoint(90, 60));
    const Pair after = PairAt(0);
    EXPECT_LT(after.first.right, after.second.left);
    EXPECT_NEAR(span, after.second.left - after.first.left, 1);
    EXPECT_NEAR(Centre(moved.first).x + 90, Centre(after.first).x, 2);
    EXPECT_TRUE(others[0] == PairAt(1));
    EXPECT_TRUE(others[1] == PairAt(2));
    // Released: the hand the whole pair was carried with stays, and the pair
    // no longer follows the mouse.
    EXPECT_EQ(g_hCursorHand, m_view->GetCurrentCursor());
    Desktop::MoveMouse(Hwnd(), 100, 500);
    Desktop::PumpMessages();
    EXPECT_TRUE(after == PairAt(0));
}

TEST_F(DividerMouseTest, AfterALineIsReleasedTheCursorIsTheDividersAndTheLineStays)
{
    OpenRecord(75.0);
    MakeView(1);
    ShowAllPairs();
    const CPoint line = Centre(m_view->GetDividerHandle(0, 1));
    Drag(line, line + CPoint(40, 0));
    const CRect dropped = m_view->GetDividerHandle(0, 1);
    EXPECT_NEAR(line.x + 40, Centre(dropped).x, 1);
    const HCURSOR cursor = m_view->GetCurrentCursor();
    EXPECT_NE(nullptr, cursor);
    EXPECT_NE(g_hCursorHand, cursor);
    EXPECT_NE(g_hCursorMag, cursor);
    Desktop::MoveMouse(Hwnd(), line.x + 120, line.y + 20);
    Desktop::PumpMessages();
    EXPECT_EQ(dropped, m_view->GetDividerHandle(0, 1));
}

// A one-lead strip holds its first lead only: a line released there still
// shows the divider cursor, whatever the cursor was while it was dragged.
TEST_F(DividerMouseTest, ALineReleasedOnAViewWhoseSecondLeadIsEmptyShowsTheDividerCursor)
{
    OpenRecord(75.0);
    MakeView(13);
    ShowAllPairs();
    ASSERT_GT(m_view->LeadCount(0), 0);
    ASSERT_EQ(m_view->LeadCount(1), 0);
    const HCURSOR divider = ::LoadCursorW(GetMorvelanceModule(), MAKEINTRESOURCE(IDC_CURSOR_DIVIDER));
    ASSERT_NE(nullptr, divider);
    const CPoint line = Centre(m_view->GetDividerHandle(0, 1));
    CPoint screen = line;
    m_view->ClientToScreen(&screen);
    Desktop::MoveMouse(Hwnd(), line.x, line.y);
    Desktop::PumpMessages();
    Desktop::MouseDown(POINT{screen.x, screen.y});
    Desktop::MoveMouse(POINT{screen.x + 30, screen.y});
    Desktop::PumpMessages();
    ASSERT_NEAR(line.x + 30, Centre(m_view->GetDividerHandle(0, 1)).x, 1);
    m_view->SetCurrentCursor(g_hCursorMag);
    Desktop::MouseUp(POINT{screen.x + 30, screen.y});
    Desktop::PumpMessages();
    EXPECT_EQ(divider, m_view->GetCurrentCursor());
}

TEST_F(DividerMouseTest, AHitTestLimitedToOnePairFindsOnlyThatPairPairZeroIncluded)
{
    OpenRecord(75.0);
    MakeView(1);
    ShowAllPairs();
    const CPoint onFirst = Centre(m_view->GetDividerHandle(0, 0));
    const CPoint onSecond = Centre(m_view->GetDividerHandle(1, 1));
    int part = -1;
    EXPECT_EQ(0, m_view->HitDivider(onFirst, 0, part, 0));
    EXPECT_EQ(0, part);
    EXPECT_EQ(-1, m_view->HitDivider(onSecond, 0, part, 0));
    EXPECT_EQ(1, m_view->HitDivider(onSecond, 0, part, 1));
    EXPECT_EQ(1, part);
    EXPECT_EQ(-1, m_view->HitDivider(onFirst, 0, part, 2));
    EXPECT_EQ(1, m_view->HitDivider(onSecond, 0, part));
    EXPECT_EQ(2, m_view->HitDivider(Centre(m_view->GetDividerBar(2)), 0, part, 2));
    EXPECT_EQ(2, part);
}

TEST_F(DividerMouseTest, HandlesKeepTheirSizeThroughEveryDragAtADisplayRatioOtherThanOne)
{
    OpenRecord(75.0);
    m_doc.SetDisplayRatio(1.5);
    m_doc.InitGlobalData();
    ASSERT_NE(1.0, m_doc.GetXScale());
    MakeView(1);
    ShowAllPairs();
    const CSize size = m_view->GetDividerHandle(0, 0).Size();
    // Larger than the handles of a ratio of 1, which are ten pixels.
    EXPECT_GT(size.cx, 10);
    const CPoint line = Centre(m_view->GetDividerHandle(0, 1));
    Drag(line, line + CPoint(30, 0));
    EXPECT_EQ(size, m_view->GetDividerHandle(0, 1).Size());
    EXPECT_EQ(size, m_view->GetDividerHandle(0, 0).Size());
    const CPoint bar = Centre(m_view->GetDividerBar(0));
    Drag(bar, bar + CPoint(50, 40));
    EXPECT_EQ(size, m_view->GetDividerHandle(0, 0).Size());
    EXPECT_EQ(size, m_view->GetDividerHandle(0, 1).Size());
}

// A line drag changes the pair's span, not its height: the height in squares
// that the whole drag took from the mouse stays, so a resize puts the handles
// back where that drag left them (the handles' own middle lies half a pixel
// higher at a screen unit of 1.25).
TEST_F(DividerMouseTest, ALineDragKeepsTheHeightAWholeDragGaveThePairThroughAResize)
{
    OpenRecord(75.0);
    m_doc.SetDisplayRatio(1.25);
    m_doc.InitGlobalData();
    ASSERT_DOUBLE_EQ(1.25, m_doc.GetXScale());
    MakeView(1);
    ShowAllPairs();
    const CPoint grip = Centre(m_view->GetDividerBar(0));
    const CPoint held(grip.x + 60, 300);
    Drag(grip, held);
    // trunc(300 - 6.25) and trunc(300 + 6.25)
    ASSERT_EQ(293, m_view->GetDividerHandle(0, 0).top);
    ASSERT_EQ(306, m_view->GetDividerHandle(0, 0).bottom);
    const CPoint line = Centre(m_view->GetDividerHandle(0, 1));
    Drag(line, line + CPoint(30, 0));
    // Wider only: the squares down keep their size.
    m_frame->MoveWindow(0, 0, 1200, 600);
    m_frame->RecalcLayout();
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(293, m_view->GetDividerHandle(0, side).top) << "line " << side;
        EXPECT_EQ(306, m_view->GetDividerHandle(0, side).bottom) << "line " << side;
    }
}

TEST_F(DividerMouseTest, AnExtraLeadKindOnARestingDocumentDrawsNoDivider)
{
    OpenRecord(75.0);
    MakeView(1);
    ShowAllPairs();
    CRect client;
    m_view->GetClientRect(&client);
    auto dividerInk = [&] {
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateImageDC(client.Width(), client.Height())));
        dc.FillSolidRect(0, 0, client.Width(), client.Height(), RGB(255, 255, 255));
        m_view->DrawDivider(&dc, client, 1.0f, FALSE);
        int blue = 0;
        for (int y = 0; y < client.Height(); y += 2)
            for (int x = 0; x < client.Width(); x += 2) blue += dc.GetPixel(x, y) == RGB(0, 0, 255) ? 1 : 0;
        return blue;
    };
    ASSERT_GT(dividerInk(), 0);
    // The view told it shows an extra-lead record while its document is a resting one.
    m_view->SetDocType(DOC_TYPE_EXTRA);
    EXPECT_EQ(0, dividerInk());
}
