// The two-point scale of the multi-lead view, used through the desktop: the
// reading at the paper speed, the side rule of the two-column pages, grabbing
// a point again, and the pages that have no scale.
#include <gtest/gtest.h>

#include "tests/waveviews/MeasureViewTestSupport.h"
#include "waveviews/EnlargedRuler.h"

using platform::ui::Desktop;

namespace {

class RhythmViewScaleTest : public measuretest::MeasureViewFixture<> {
protected:
    void ArmScale(int style)
    {
        OpenRecord(75.0);
        m_doc.SetScaleShow(1);
        MakeView(style);
        ShowScaleOnPage();
    }
};

TEST_F(RhythmViewScaleTest, TwoPointsTwoHundredFiftyPixelsApartAtTwentyFiveMillimetresReadTwoAndAHalfSeconds)
{
    ArmScale(11);   // 1040 px across 260 squares
    ClickAt(300, 200);
    EXPECT_EQ(RULER_STATUS_FIRST, m_view->GetScaleStatus());
    Desktop::MoveMouse(Hwnd(), 550, 200);
    Desktop::PumpMessages();
    ClickAt(550, 200);
    EXPECT_EQ(RULER_STATUS_BOTH, m_view->GetScaleStatus());
    Paint();
    EXPECT_EQ(2500, m_view->GetScaleMilliseconds());
    EXPECT_EQ(0, m_view->GetScaleMicrovolts());
    // The cross-hair of the second point runs down the whole view.
    EXPECT_EQ(RGB(0, 160, 0), Pixel(550, 5));
}

TEST_F(RhythmViewScaleTest, HalfTheSpeedDoublesTheTimeOfTheSameSpan)
{
    ArmScale(11);
    m_doc.SetSpeed(12.5f);
    ClickAt(300, 200);
    Desktop::MoveMouse(Hwnd(), 550, 200);
    ClickAt(550, 200);
    Paint();
    EXPECT_EQ(5000, m_view->GetScaleMilliseconds());
}

TEST_F(RhythmViewScaleTest, OnATwoColumnPageTheSecondPointStaysInTheHalfOfTheFirst)
{
    ArmScale(1);
    const int calW = MulDiv(1040, 10, 260);
    const int middle = (calW + 1040) / 2;
    ClickAt(200, 200);
    Desktop::MoveMouse(Hwnd(), 900, 250);
    Desktop::PumpMessages();
    EXPECT_EQ(middle, m_view->GetScalePoint(1).x);
    EXPECT_EQ(250, m_view->GetScalePoint(1).y);
}

TEST_F(RhythmViewScaleTest, APointDraggedBelowTheViewStaysOnePixelInside)
{
    ArmScale(11);
    ClickAt(300, 200);
    // A move below the view, as a pane that holds the mouse passes it on.
    ::SendMessage(Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(400, 900));
    CRect client;
    m_view->GetClientRect(&client);
    EXPECT_EQ(client.bottom - 1, m_view->GetScalePoint(1).y);
}

TEST_F(RhythmViewScaleTest, APressOnAMarkGrabsItAndAPressElsewhereDropsTheRulerMarks)
{
    ArmScale(11);
    ClickAt(300, 200);
    Desktop::MoveMouse(Hwnd(), 500, 300);
    ClickAt(500, 300);
    ClickAt(300, 200);
    EXPECT_EQ(0, m_view->GetSelectedRulerMark());
    // Dragging the grabbed point moves it and keeps its ruler marks.
    Desktop::Drag(Hwnd(), POINT{300, 200}, POINT{350, 220});
    Desktop::PumpMessages();
    EXPECT_EQ(CPoint(350, 220), m_view->GetScalePoint(0));
    Desktop::AdvanceClock(1000);
    ClickAt(700, 100);
    EXPECT_EQ(-1, m_view->GetSelectedRulerMark());
}

TEST_F(RhythmViewScaleTest, APressOnBothMarksSelectsTheSecondAndDragsTheFirst)
{
    ArmScale(11);
    ClickAt(300, 200);
    Desktop::MoveMouse(Hwnd(), 301, 201);
    ClickAt(301, 201);
    ClickAt(301, 201);
    EXPECT_EQ(1, m_view->GetSelectedRulerMark());
    Desktop::Drag(Hwnd(), POINT{301, 201}, POINT{340, 240});
    Desktop::PumpMessages();
    EXPECT_EQ(CPoint(340, 240), m_view->GetScalePoint(0));
    EXPECT_EQ(CPoint(301, 201), m_view->GetScalePoint(1));
}

TEST_F(RhythmViewScaleTest, TheDialogFontStripsAndPagesWithoutMeasuringToolsHaveNoScale)
{
    ArmScale(14);
    EXPECT_FALSE(m_view->IsDrawScale());
    m_view->SetWaveStyle(13, TRUE);
    EXPECT_TRUE(m_view->IsDrawScale());
    m_doc.SetPageStyle(35);
    EXPECT_FALSE(m_view->IsDrawScale());
}

// A point held at the view's bottom lies on the last square: a resize would
// put it on the bottom edge, out of sight, so it is set two pixels above it.
TEST_F(RhythmViewScaleTest, AResizeThatWouldPutAPointBelowTheViewSetsItTwoPixelsAboveTheBottom)
{
    ArmScale(11);
    ClickAt(300, 200);
    ::SendMessage(Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(400, 900));
    ::SendMessage(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 900));
    ::SendMessage(Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(400, 900));
    CRect client;
    m_view->GetClientRect(&client);
    ASSERT_EQ(client.bottom - 1, m_view->GetScalePoint(1).y);
    for (const int height : {450, 700}) {
        m_frame->MoveWindow(0, 0, 1040, height);
        m_frame->RecalcLayout();
        m_view->GetClientRect(&client);
        ASSERT_EQ(height, client.Height());
        EXPECT_EQ(client.bottom - 2, m_view->GetScalePoint(1).y);
        // The point above it stays where its square puts it.
        EXPECT_LT(m_view->GetScalePoint(0).y, client.bottom - 2);
    }
}

TEST_F(RhythmViewScaleTest, AResizeKeepsThePointsOnTheSameSquares)
{
    ArmScale(11);
    ClickAt(260, 200);
    Desktop::MoveMouse(Hwnd(), 520, 300);
    ClickAt(520, 300);
    m_frame->MoveWindow(0, 0, 520, 600);
    m_frame->RecalcLayout();
    EXPECT_EQ(130, m_view->GetScalePoint(0).x);
    EXPECT_EQ(260, m_view->GetScalePoint(1).x);
    EXPECT_EQ(-1, m_view->GetSelectedRulerMark());
}

}  // namespace
