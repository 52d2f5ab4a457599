// The measuring dividers of the multi-lead view on a resting record: placed
// from the record's heart rate, reported to the pane, dragged through the
// desktop, following the paper speed, drawn only where the page allows.
#include <gtest/gtest.h>

#include "tests/waveviews/MeasureViewTestSupport.h"

using platform::ui::Desktop;

namespace {

class RhythmViewDividerTest : public measuretest::MeasureViewFixture<> {
protected:
    // Pair I switched on and shown, placed by a first paint.
    void ShowPairOne()
    {
        m_view->ShowDivider(TRUE);
        m_view->SetDividerCheck(TRUE, 1);
        Paint();
    }
    // Drags a line of pair I from its handle's centre to x.
    void DragLine(int line, int x)
    {
        const CRect handle = m_view->GetDividerHandle(0, line);
        const POINT from{CentreX(handle), (handle.top + handle.bottom) / 2};
        Desktop::MoveMouse(Hwnd(), from.x, from.y);
        Desktop::Drag(Hwnd(), from, POINT{x, from.y});
        Desktop::PumpMessages();
    }
};

TEST_F(RhythmViewDividerTest, AHeartRateOf75PlacesEveryPairAt800MillisecondsAndReportsEachInTurn)
{
    OpenRecord(75.0);
    MakeView(1);
    Paint();
    const std::vector<measuretest::Message> expected{{800, 0}, {800, 1}, {800, 2}};
    EXPECT_EQ(expected, m_frame->m_messages);
    // 800 ms at 25 mm/s are 20 squares between the two handles of each pair.
    for (int pair = 0; pair < 3; ++pair) {
        const int span = m_view->GetDividerHandle(pair, 1).left - m_view->GetDividerHandle(pair, 0).left;
        EXPECT_NEAR(20.0 * SquareX(), span, 1.0) << "pair " << pair;
    }
    // Pairs II and III stand a quarter of the view further right each.
    EXPECT_EQ(1040 / 4, m_view->GetDividerHandle(1, 0).left - m_view->GetDividerHandle(0, 0).left);
}

TEST_F(RhythmViewDividerTest, WithoutAHeartRateTheIntervalIsOneSecond)
{
    OpenRecord(75.0);
    m_doc.GetCurrentDataItem()->strHeartRate = L"***";
    MakeView(1);
    Paint();
    ASSERT_EQ(3u, m_frame->m_messages.size());
    EXPECT_EQ(1000, m_frame->m_messages[0].first);
}

TEST_F(RhythmViewDividerTest, ASpeedOfZeroPlacesNoPairButStillReportsTheIntervals)
{
    OpenRecord(75.0);
    m_doc.SetSpeed(0.0f);
    MakeView(1);
    ShowPairOne();
    ASSERT_EQ(3u, m_frame->m_messages.size());
    EXPECT_TRUE(m_view->GetDividerHandle(0, 0).IsRectNull());
    EXPECT_TRUE(m_view->GetDividerHandle(0, 1).IsRectNull());
}

TEST_F(RhythmViewDividerTest, DraggingTheSecondLineReportsItsIntervalAndStopsTwoPixelsRightOfTheFirst)
{
    OpenRecord(75.0);
    MakeView(1);
    ShowPairOne();
    m_frame->m_messages.clear();
    const int first = CentreX(m_view->GetDividerHandle(0, 0));

    // Ten squares further right: 400 ms more.
    DragLine(1, CentreX(m_view->GetDividerHandle(0, 1)) + static_cast<int>(10 * SquareX()));
    ASSERT_FALSE(m_frame->m_messages.empty());
    EXPECT_NEAR(1200, m_frame->m_messages.back().first, 8);
    EXPECT_EQ(0, m_frame->m_messages.back().second);

    DragLine(1, first - 40);
    EXPECT_EQ(first + 2, CentreX(m_view->GetDividerHandle(0, 1)));
    EXPECT_EQ(first, CentreX(m_view->GetDividerHandle(0, 0)));
}

TEST_F(RhythmViewDividerTest, HalvingThePaperSpeedHalvesTheSpanAndKeepsTheInterval)
{
    OpenRecord(75.0);
    MakeView(1);
    ShowPairOne();
    const int span = m_view->GetDividerHandle(0, 1).left - m_view->GetDividerHandle(0, 0).left;
    m_doc.SetSpeed(12.5f);
    m_view->UpdateDrawDC();
    Paint();
    const int halved = m_view->GetDividerHandle(0, 1).left - m_view->GetDividerHandle(0, 0).left;
    EXPECT_NEAR(span / 2.0, halved, 2.0);
    EXPECT_EQ(800, m_view->GetDividerInterval(0));
}

TEST_F(RhythmViewDividerTest, PairOneAloneRepeatsItsLinesAcrossTheViewAndPairTwoEndsThat)
{
    OpenRecord(75.0);
    MakeView(1);
    ShowPairOne();
    const CRect first = m_view->GetDividerHandle(0, 0);
    const CRect second = m_view->GetDividerHandle(0, 1);
    const int d = second.left - first.left;
    const int y = first.top - 5;
    const COLORREF blue = RGB(0, 0, 255);
    auto blueNear = [&](int x) {
        for (int dx = -2; dx <= 2; ++dx)
            if (Pixel(x + dx, y) == blue) return true;
        return false;
    };
    // Lines every interval, also right of the pair.
    EXPECT_TRUE(blueNear(CentreX(first) + 5 * d));
    m_view->SetDividerCheck(TRUE, 2);
    Paint();
    EXPECT_FALSE(blueNear(CentreX(first) + 5 * d));
    EXPECT_TRUE(blueNear(CentreX(second)));
}

TEST_F(RhythmViewDividerTest, APageStyleWithoutMeasuringToolsDrawsNoDividerButStillReports)
{
    OpenRecord(75.0);
    m_doc.SetPageStyle(5);
    MakeView(1);
    ShowPairOne();
    EXPECT_EQ(3u, m_frame->m_messages.size());
    const CRect first = m_view->GetDividerHandle(0, 0);
    int blue = 0;
    for (int x = first.left; x < first.right; ++x)
        for (int y = first.top; y < first.bottom; ++y) blue += Pixel(x, y) == RGB(0, 0, 255) ? 1 : 0;
    EXPECT_EQ(0, blue);
}

TEST_F(RhythmViewDividerTest, ALabelNearTheRightEdgeIsPushedInsideTheView)
{
    OpenRecord(75.0);
    MakeView(1);
    ShowPairOne();
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(400, 200)));
    dc.FillSolidRect(0, 0, 400, 200, RGB(255, 255, 255));
    m_view->DrawDividerInformation(&dc, CRect(0, 0, 400, 200), CPoint(395, 195), 0, 1.0f);
    // The box's cream fill stays inside: the right and bottom columns are paper or its outline.
    int cream = 0;
    for (int y = 0; y < 200; ++y) cream += dc.GetPixel(399, y) == RGB(255, 255, 240) ? 1 : 0;
    EXPECT_EQ(0, cream);
    int inside = 0;
    for (int x = 0; x < 400; ++x) inside += dc.GetPixel(x, 190) == RGB(255, 255, 240) ? 1 : 0;
    EXPECT_GT(inside, 20);
}

}  // namespace

namespace {

TEST_F(RhythmViewDividerTest, AViewNotYetSizedPlacesNoPairAndFindsNoLeadButStillReports)
{
    OpenRecord(75.0);
    MakeView(1, 1040, 600);
    m_frame->MoveWindow(0, 0, 0, 0);
    m_frame->RecalcLayout();
    m_view->SetInitialDividerPos();
    m_view->InitialDividerPos();
    EXPECT_EQ(3u, m_frame->m_messages.size());
    EXPECT_TRUE(m_view->GetDividerHandle(0, 0).IsRectNull());
    int sample = -1;
    EXPECT_EQ(-1, m_view->GetClickLead(CPoint(10, 10), sample));
    // A double-click and a press on nothing of a size do nothing.
    m_view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(0, 0));
    m_view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0));
    EXPECT_FALSE(m_view->IsPopupOpen());
}

}  // namespace
