// The multi-lead view's mouse through the desktop: the pulse group a click
// in the calibration column reports, the pop-ups a double-click opens (run
// in the modal driver), the pane's control of a stored pop-up, and the
// magnifier showing the page with the measuring overlays.
#include <gtest/gtest.h>

#include <vector>

#include "dialogs/DlgDivider.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "dialogs/DlgEnlargedRhyRR.h"
#include "dialogs/DlgEnlargedWave.h"
#include "tests/support/ModalScript.h"
#include "tests/waveviews/MeasureViewTestSupport.h"
#include "waveviews/ViewEnlargedPreview.h"

using platform::ui::Desktop;

namespace {

class RhythmViewMouseTest : public measuretest::MeasureViewFixture<> {
protected:
    void SetUp() override
    {
        MeasureViewFixture::SetUp();
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, L"owner", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc.SetNotifyWnd(&m_owner);
    }
    void TearDown() override
    {
        m_doc.SetNotifyWnd(nullptr);
        m_owner.DestroyWindow();
        MeasureViewFixture::TearDown();
    }
    void ClickAt(int x, int y)
    {
        Desktop::Click(Hwnd(), x, y);
        Desktop::PumpMessages();
        Desktop::AdvanceClock(1000);
    }
    void DoubleClickAt(int x, int y)
    {
        Desktop::DoubleClick(Hwnd(), x, y);
        Desktop::PumpMessages();
    }

    measuretest::CRecording<CWnd> m_owner{WM_CAL_PULSE_CLICKED};
};

TEST_F(RhythmViewMouseTest, TheCalibrationColumnReportsItsPulseGroupByStyleAndHalf)
{
    OpenRecord();
    MakeView(1);
    const int half = MulDiv(1040, 5, 260);
    ClickAt(half / 2, 100);
    ClickAt(half + half / 2, 100);
    ClickAt(3 * half, 100);   // right of the column: nothing
    const std::vector<measuretest::Message> expected{{1, 1}, {1, 0}};
    EXPECT_EQ(expected, m_owner.m_messages);

    m_owner.m_messages.clear();
    m_view->SetWaveStyle(11, TRUE);
    ClickAt(half / 2, 100);
    m_view->SetWaveStyle(15, TRUE);
    ClickAt(half / 2, 100);
    EXPECT_EQ((std::vector<measuretest::Message>{{1, 6}}), m_owner.m_messages);
}

// With every divider pair shown, a press in the calibration column that
// grips no handle is still the pulses' click.
TEST_F(RhythmViewMouseTest, WithTheDividersShownAPulseClickOffTheirHandlesStillReachesThePulses)
{
    OpenRecord();
    MakeView(1);
    m_view->ShowDivider(TRUE);
    for (int pair = 1; pair <= 3; ++pair) m_view->SetDividerCheck(TRUE, pair);
    m_view->Invalidate(FALSE);
    m_view->UpdateWindow();
    const int half = MulDiv(1040, 5, 260);
    const CPoint press(half / 2, 100);
    for (int pair = 0; pair < 3; ++pair) {
        ASSERT_FALSE(m_view->GetDividerHandle(pair, 0).IsRectEmpty());
        for (int line = 0; line < 2; ++line) EXPECT_FALSE(m_view->GetDividerHandle(pair, line).PtInRect(press));
        EXPECT_FALSE(m_view->GetDividerBar(pair).PtInRect(press));
    }
    ClickAt(press.x, press.y);
    EXPECT_EQ((std::vector<measuretest::Message>{{1, 1}}), m_owner.m_messages);
}

TEST_F(RhythmViewMouseTest, ADoubleClickOnTheStripOpensTheDividerDialogOnItsLeadAndConfirmsToTheGrandparent)
{
    OpenRecord();
    MakeView(13);
    m_view->SetRhythm1LeadID(1);
    m_view->OnUpdate(nullptr, 0, nullptr);
    Paint();
    testsupport::ModalScript script;
    script.On(CDlgDivider::IDD, [&](CDialog& shown) {
        auto& dialog = static_cast<CDlgDivider&>(shown);
        EXPECT_EQ(260, dialog.GetStripWidth());
        EXPECT_EQ(30, dialog.GetStripHeight());
        EXPECT_EQ(1, dialog.GetLead());
        EXPECT_EQ(m_view->GetLeadSampleCount(0), dialog.GetLength());
        EXPECT_TRUE(m_view->IsPopupOpen());
        dialog.EndDialog(IDOK);
    });
    DoubleClickAt(500, 60);
    EXPECT_EQ(std::vector<UINT>{CDlgDivider::IDD}, script.Seen());
    EXPECT_FALSE(m_view->IsPopupOpen());
    EXPECT_EQ((std::vector<measuretest::Message>{{0, 0}}), m_pane.m_messages);
}

TEST_F(RhythmViewMouseTest, ADoubleClickOnARestLeadOpensTheEnlargedLeadAtTheClickedSample)
{
    OpenRecord();
    MakeView(11);   // twelve rows, one column of 10 s
    Paint();
    testsupport::ModalScript script;
    int lead = -1;
    script.On(CDlgEnlargedWave::IDD, [&](CDialog& shown) {
        lead = static_cast<CDlgEnlargedWave&>(shown).GetWaveView() ? 0 : -2;
    });
    int sample = -1;
    const int clicked = m_view->GetClickLead(CPoint(540, 600 / 24), sample);
    EXPECT_EQ(0, clicked);
    // Half way across the wave area (40 to 1040 px) of a 10 s page: 5 s in.
    EXPECT_NEAR(2500, sample, 5);
    DoubleClickAt(540, 600 / 24);
    EXPECT_EQ(std::vector<UINT>{CDlgEnlargedWave::IDD}, script.Seen());
    EXPECT_EQ(0, lead);
    // Cancelled: nothing confirmed to the grandparent.
    EXPECT_TRUE(m_pane.m_messages.empty());
}

TEST_F(RhythmViewMouseTest, ADoubleClickInTheCalibrationColumnOrOnTheWholeRecordStripOpensNothing)
{
    OpenRecord();
    MakeView(11);
    Paint();
    testsupport::ModalScript script;
    DoubleClickAt(10, 100);
    m_view->SetWaveStyle(15, TRUE);
    DoubleClickAt(500, 10);
    EXPECT_TRUE(script.Seen().empty());
}

TEST_F(RhythmViewMouseTest, ClosingOrHidingThePopUpsWithNoneRunningDoesNothing)
{
    OpenRecord();
    MakeView(13);
    m_view->CloseAllPopupDlg();
    m_view->HideAllPopupDlg(FALSE);
    EXPECT_EQ(nullptr, m_view->GetStoredPopup());
    EXPECT_FALSE(m_view->IsPopupOpen());
}

TEST_F(RhythmViewMouseTest, ThePaneClosesTheRunningDividerDialog)
{
    OpenRecord();
    MakeView(13);
    Paint();
    testsupport::ModalScript script;
    bool stillOpen = true;
    script.On(CDlgDivider::IDD, [&](CDialog& shown) {
        m_view->CloseAllPopupDlg();
        stillOpen = m_view->IsPopupOpen();
        EXPECT_EQ(&shown, m_view->GetStoredPopup());
    });
    DoubleClickAt(500, 60);
    EXPECT_FALSE(stillOpen);
    EXPECT_TRUE(m_pane.m_messages.empty());
}

class RhythmViewMagnifierTest : public RhythmViewMouseTest {
protected:
    void SetUp() override
    {
        RhythmViewMouseTest::SetUp();
        Desktop::SetScreenSize(1920, 1080);
        OpenRecord();
        MakeView(11);
        m_magnifier.SetEnlargedPreviewDoc(&m_doc);
        ASSERT_TRUE(m_magnifier.Create(CDlgEnlargedPreview::IDD, nullptr));
        m_magnifier.SetWindowPos(nullptr, 1500, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
        m_magnifier.SetScaleRatio(2.0f);
        m_magnifier.ShowWindow(SW_SHOWNOACTIVATE);
        m_doc.SetEnlargedPreview(&m_magnifier);
        m_view->ShowDivider(TRUE);
    }
    void TearDown() override
    {
        m_doc.SetEnlargedPreview(nullptr);
        m_magnifier.DestroyWindow();
        RhythmViewMouseTest::TearDown();
    }
    // Pixels of one colour in the magnifier after a move to `point`.
    int MagnifiedPixels(CPoint point, COLORREF colour)
    {
        if (!m_view->MoveEnlargedPreview(point)) return -1;
        // GetMemDC clears: what the last move copied is read from the view's window.
        CClientDC picture(m_magnifier.GetEnlargedPreview());
        m_magnifier.GetEnlargedPreview()->UpdateWindow();
        int n = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) n += picture.GetPixel(x, y) == colour ? 1 : 0;
        return n;
    }
    // Everything the magnifier shows after a move to `point`.
    std::vector<COLORREF> Magnified(CPoint point)
    {
        std::vector<COLORREF> pixels;
        if (!m_view->MoveEnlargedPreview(point)) return pixels;
        CClientDC picture(m_magnifier.GetEnlargedPreview());
        m_magnifier.GetEnlargedPreview()->UpdateWindow();
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) pixels.push_back(picture.GetPixel(x, y));
        return pixels;
    }
    CDlgEnlargedPreview m_magnifier;
};

TEST_F(RhythmViewMagnifierTest, ANewPageDropsTheMagnifiedPictureSoTheNextMoveShowsIt)
{
    Paint();
    const CPoint over(500, 200);
    const std::vector<COLORREF> first = Magnified(over);
    ASSERT_FALSE(first.empty());
    // Measure mode with no pair on and the scale off: the same page reuses its picture.
    ASSERT_EQ(first, Magnified(over));
    // The page starts 0.4 s later: the magnifier shows the traces moved.
    m_view->SetStartTime(200);
    m_view->UpdateDrawDC();
    Paint();
    EXPECT_NE(first, Magnified(over));
}

TEST_F(RhythmViewMagnifierTest, TheMagnifierShowsThePageWithTheDividerUnderTheCursor)
{
    m_view->SetDividerCheck(TRUE, 1);
    Paint();
    EXPECT_GT(MagnifiedPixels(m_view->GetDividerHandle(0, 0).CenterPoint(), RGB(0, 0, 255)), 10);
}

TEST_F(RhythmViewMagnifierTest, WithAPairOnEveryMoveRedrawsTheOverlaysWhereTheyNowAre)
{
    const COLORREF green = RGB(46, 139, 87);
    m_view->SetDividerCheck(TRUE, 2);
    Paint();
    const CPoint handle = m_view->GetDividerHandle(1, 0).CenterPoint();
    ASSERT_GT(MagnifiedPixels(handle, green), 10);
    // The whole pair dragged far down and right by its bar.
    const CRect bar = m_view->GetDividerBar(1);
    const POINT grip{(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
    Desktop::MoveMouse(Hwnd(), grip.x, grip.y);
    Desktop::Drag(Hwnd(), grip, POINT{grip.x + 500, grip.y + 350});
    Desktop::PumpMessages();
    EXPECT_EQ(0, MagnifiedPixels(handle, green));
}

// A line dragged past its limit stays at the limit, and so does the point
// the magnifier follows.
TEST_F(RhythmViewMagnifierTest, ADividerLineHeldAtItsLimitKeepsTheMagnifierAtTheLimit)
{
    m_view->SetDividerCheck(TRUE, 1);
    Paint();
    const CPoint grip = m_view->GetDividerHandle(0, 0).CenterPoint();
    const CRect second = m_view->GetDividerHandle(0, 1);
    const int limit = (second.left + second.right) / 2 - 2;
    ASSERT_GT(400, limit + 100);
    Desktop::MoveMouse(Hwnd(), grip.x, grip.y);
    Desktop::Drag(Hwnd(), grip, POINT{400, grip.y});
    Desktop::PumpMessages();
    EXPECT_EQ(limit, m_view->GetDividerHandle(0, 0).CenterPoint().x);
    // What the magnifier shows now is the picture at the limit.
    std::vector<COLORREF> shown;
    {
        CClientDC picture(m_magnifier.GetEnlargedPreview());
        m_magnifier.GetEnlargedPreview()->UpdateWindow();
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) shown.push_back(picture.GetPixel(x, y));
    }
    EXPECT_TRUE(shown == Magnified(CPoint(limit, grip.y)));
}

}  // namespace
