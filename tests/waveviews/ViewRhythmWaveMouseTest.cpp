// The multi-lead view's mouse through the desktop: the pulse group a click
// in the calibration column reports, the pop-ups a double-click opens (run
// in the modal driver), the pane's control of a stored pop-up, and the
// magnifier showing the page with the measuring overlays.
#include <gtest/gtest.h>

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

    measuretest::CRecording<CWnd> m_owner{WM_RHYTHMWAVE_PULSE_CLICK};
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

TEST_F(RhythmViewMouseTest, TheMagnifierShowsThePageWithTheDividerUnderTheCursor)
{
    Desktop::SetScreenSize(1920, 1080);
    OpenRecord();
    MakeView(11);
    CDlgEnlargedPreview magnifier;
    magnifier.SetEnlargedPreviewDoc(&m_doc);
    ASSERT_TRUE(magnifier.Create(CDlgEnlargedPreview::IDD, nullptr));
    magnifier.SetWindowPos(nullptr, 1500, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    magnifier.SetScaleRatio(2.0f);
    magnifier.ShowWindow(SW_SHOWNOACTIVATE);
    m_doc.SetEnlargedPreview(&magnifier);
    m_view->ShowDivider(TRUE);
    m_view->SetDividerCheck(TRUE, 1);
    Paint();
    const CRect handle = m_view->GetDividerHandle(0, 0);
    ASSERT_TRUE(m_view->MoveEnlargedPreview(handle.CenterPoint()));
    CDC* picture = magnifier.GetEnlargedPreview()->GetMemDC();
    m_view->MoveEnlargedPreview(handle.CenterPoint());
    int blue = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) blue += picture->GetPixel(x, y) == RGB(0, 0, 255) ? 1 : 0;
    EXPECT_GT(blue, 10);
    m_doc.SetEnlargedPreview(nullptr);
    magnifier.DestroyWindow();
}

}  // namespace
