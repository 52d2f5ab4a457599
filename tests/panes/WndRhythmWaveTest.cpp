// The rhythm wave page on rhythm and MFER records written by the record
// maker: the view in whole blocks of rows above the strip, the strips that
// take turns with the dividers, half-width styles, back and next clicked to
// both ends, the divider check boxes and readings, the strip drag, and the
// host's log of divider bits written back.
#include <gtest/gtest.h>

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgPreNext.h"
#include "forms/FormEx.h"
#include "panes/DividerStrip.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"
#include "panes/WndRhythmWave.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"
#include "waveviews/ViewScroll1LeadWave.h"

using panetest::Box;
using platform::ui::Desktop;

namespace {

void Press(CWnd* control)
{
    CRect rect;
    control->GetWindowRect(&rect);
    Desktop::Click(rect.CenterPoint());
    Desktop::PumpMessages();
}

void GridOf(CWaveView* view, int& columns, int& rows) { view->GetGridCount(columns, rows); }

class RhythmWavePaneTest : public panetest::RhythmPaneTest {
protected:
    void SetUp() override
    {
        RhythmPaneTest::SetUp();
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc->SetNotifyWnd(&m_notify);
    }
    void TearDown() override
    {
        m_host.Close();
        m_doc->SetNotifyWnd(nullptr);
        m_notify.DestroyWindow();
        RhythmPaneTest::TearDown();
    }
    void OpenRecord(double seconds) { RhythmPaneTest::OpenRecord(1, seconds); }
    CWndRhythmWave* Show(int style, BOOL showPatient = TRUE, int width = 1020, int height = 664)
    {
        CWndRhythmWave* pane = m_host.Open([this](CWndRhythmWave& p) { p.SetRhythmViewDoc(m_doc.get()); },
                                           showPatient, width, height);
        pane->ShowRhythmPageStyle(style);
        Desktop::PumpMessages();
        return pane;
    }
    CRect Rect(CWnd* child) { return m_host.Rect(child); }
    CWnd* Button(CWndRhythmWave* pane, int id) { return pane->GetPreNextStrip()->GetDlgItem(id); }
    CWnd* Divider(CWndRhythmWave* pane, int id) { return pane->GetDividerStrip()->GetDlgItem(id); }

    panetest::CNotifyLog m_notify;
    panetest::PaneHost<CWndRhythmWave> m_host;
};

TEST_F(RhythmWavePaneTest, ViewFillsWholeBlocksOfRowsAboveTheStripsAtTheBottom)
{
    OpenRecord(60.0);
    CWndRhythmWave* pane = Show(20);
    EXPECT_EQ(Box(16, 7, 989, 50), Rect(pane->GetPatientFrame()));
    EXPECT_EQ(Box(56, 57, 950, 20), Rect(pane->GetCaptionStrip()));
    int stripColumns = 0, stripRows = 0, columns = 0, rows = 0;
    GridOf(pane->GetRhythmStrip(), stripColumns, stripRows);
    GridOf(pane->GetRhythmView(), columns, rows);
    const int stripH = static_cast<int>(990.0 / stripColumns * stripRows) + 1;
    const double row = 989.0 / columns;
    EXPECT_EQ(5 * (static_cast<int>((664 - stripH - 5 - 77 - 5) / row) / 5), rows);
    const int viewH = static_cast<int>(rows * row) + 1;
    EXPECT_EQ(Box(16, 77, 989, viewH), Rect(pane->GetRhythmView()));
    const int stripY = 77 + viewH + (664 - stripH - 77 - viewH) / 2;
    EXPECT_EQ(Box(15, stripY, 990, stripH), Rect(pane->GetRhythmStrip()));
    EXPECT_EQ(Box(15, stripY, 175, stripH), Rect(pane->GetPreNextStrip()));
    EXPECT_EQ(Box(15 + 90, stripY + 30, 80, 30), Rect(Button(pane, panes::kNextButton)));
    const int margin = static_cast<int>(10 * g_dXUnit);
    EXPECT_EQ(Box(175 + margin, stripY, 990 - 185 + 15, stripH), Rect(pane->GetDividerStrip()));
    EXPECT_EQ(Box(175 + margin + 35 + 372 + 10, stripY + 30, 20, 20), Rect(Divider(pane, 3569)));
    EXPECT_EQ(Box(175 + margin + 35, stripY + 60, 372, 20), Rect(Divider(pane, 3573)));
    EXPECT_EQ(16, m_doc->GetRhythmWaveStyle());
    EXPECT_FLOAT_EQ(static_cast<float>(989 * 0.0010111224), pane->GetRhythmView()->GetAnnoSizeRatio());
}

TEST_F(RhythmWavePaneTest, WithoutThePatientStripTheCaptionMovesToTheTop)
{
    OpenRecord(60.0);
    CWndRhythmWave* pane = Show(20, FALSE, 1020, 614);
    EXPECT_FALSE(pane->GetPatientFrame()->IsWindowVisible());
    EXPECT_EQ(Box(56, 7, 950, 20), Rect(pane->GetCaptionStrip()));
    EXPECT_EQ(27, Rect(pane->GetRhythmView()).top);
}

TEST_F(RhythmWavePaneTest, HalfWidthStylesSetBothViewsHalfAndDoubleTheirAnnotationScale)
{
    OpenRecord(60.0);
    CWndRhythmWave* pane = Show(25);
    EXPECT_TRUE(pane->GetRhythmView()->IsHalfStyle());
    EXPECT_TRUE(pane->GetRhythmStrip()->IsHalfStyle());
    EXPECT_EQ(17, m_doc->GetRhythmWaveStyle());
    EXPECT_EQ(17, pane->GetRhythmView()->GetWaveStyle());
    const int width = Rect(pane->GetRhythmView()).Width();
    EXPECT_FLOAT_EQ(static_cast<float>(width * 0.0010111224) * 2, pane->GetRhythmView()->GetAnnoSizeRatio());
    pane->ShowRhythmPageStyle(21);
    EXPECT_FALSE(pane->GetRhythmView()->IsHalfStyle());
    EXPECT_EQ(16, m_doc->GetRhythmWaveStyle());
}

TEST_F(RhythmWavePaneTest, StylesOutsideTheRangeChangeNothing)
{
    OpenRecord(60.0);
    CWndRhythmWave* pane = Show(23);
    const CRect view = Rect(pane->GetRhythmView());
    pane->ShowRhythmPageStyle(19);
    pane->ShowRhythmPageStyle(26);
    pane->ShowMFERPageStyle(41);
    EXPECT_EQ(17, m_doc->GetRhythmWaveStyle());
    EXPECT_EQ(17, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_EQ(view, Rect(pane->GetRhythmView()));
}

TEST_F(RhythmWavePaneTest, DividersAndTheOverviewStripTakeTurns)
{
    OpenRecord(60.0);
    CWndRhythmWave* pane = Show(20);
    ASSERT_TRUE(pane->IsShowDivider());   // the document's divider state
    EXPECT_FALSE(pane->GetRhythmStrip()->IsWindowVisible());
    EXPECT_TRUE(pane->GetPreNextStrip()->IsWindowVisible());
    EXPECT_TRUE(pane->GetDividerStrip()->IsWindowVisible());
    pane->ShowDivider(FALSE);
    EXPECT_TRUE(pane->GetRhythmStrip()->IsWindowVisible());
    EXPECT_FALSE(pane->GetPreNextStrip()->IsWindowVisible());
    EXPECT_FALSE(pane->GetDividerStrip()->IsWindowVisible());
    m_host.Close();
    m_doc->SetDividerState(0);
    pane = Show(20);
    EXPECT_FALSE(pane->IsShowDivider());
    EXPECT_TRUE(pane->GetRhythmStrip()->IsWindowVisible());
}

TEST_F(RhythmWavePaneTest, BackAndNextPageToBothEndsAndTheStripFollows)
{
    OpenRecord(300.0);
    CWndRhythmWave* pane = Show(20, TRUE, 1920, 1080);
    CWnd* back = Button(pane, panes::kBackButton);
    CWnd* next = Button(pane, panes::kNextButton);
    EXPECT_FALSE(back->IsWindowEnabled());
    ASSERT_TRUE(next->IsWindowEnabled());
    for (int i = 0; i < 40 && next->IsWindowEnabled(); ++i) Press(next);
    EXPECT_FALSE(next->IsWindowEnabled());
    EXPECT_TRUE(back->IsWindowEnabled());
    EXPECT_GT(pane->GetRhythmView()->GetStartTime(), 0);
    EXPECT_EQ(pane->GetRhythmView()->GetStartTime(), pane->GetRhythmStrip()->GetStartTime());
    const int clicks = m_notify.Count(WM_DIVIDER_BITS_WRITTEN);
    EXPECT_GE(clicks, 2);
    EXPECT_EQ(2, m_notify.log.back().lParam);
    for (int i = 0; i < 40 && back->IsWindowEnabled(); ++i) Press(back);
    EXPECT_EQ(0, pane->GetRhythmView()->GetStartTime());
    EXPECT_TRUE(next->IsWindowEnabled());
    EXPECT_GT(m_notify.Count(WM_DIVIDER_BITS_WRITTEN), clicks);
}

TEST_F(RhythmWavePaneTest, ARecordShorterThanAPageDisablesBothButtons)
{
    OpenRecord(4.0);
    CWndRhythmWave* pane = Show(20, TRUE, 1920, 1080);
    EXPECT_FALSE(Button(pane, panes::kBackButton)->IsWindowEnabled());
    EXPECT_FALSE(Button(pane, panes::kNextButton)->IsWindowEnabled());
}

TEST_F(RhythmWavePaneTest, ADividerCheckBoxWritesItsBitBackAndTellsTheHost)
{
    OpenRecord(60.0);
    m_doc->SetDividerCheck(1);
    CWndRhythmWave* pane = Show(20);
    EXPECT_EQ(BST_CHECKED, Divider(pane, 3568)->SendMessage(BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, Divider(pane, 3570)->SendMessage(BM_GETCHECK, 0, 0));
    Press(Divider(pane, 3570));
    EXPECT_EQ(5, m_doc->GetDividerCheck());
    ASSERT_EQ(1, m_notify.Count(WM_DIVIDER_BITS_WRITTEN));
    EXPECT_EQ(0u, m_notify.log.back().wParam);
    EXPECT_EQ(2, m_notify.log.back().lParam);
    Press(Divider(pane, 3568));
    EXPECT_EQ(4, m_doc->GetDividerCheck());
}

TEST_F(RhythmWavePaneTest, DividerDropsShowTheirReadingInThePairsText)
{
    OpenRecord(60.0);
    CWndRhythmWave* pane = Show(20);
    CString text;
    pane->SendMessage(WM_DIVIDER_DROPPED, 800, 0);
    Divider(pane, 3571)->GetWindowText(text);
    EXPECT_STREQ(L"心拍测量 I   Dur.800[mS]   心拍数换算值 75[bpm]", text.GetString());
    pane->SendMessage(WM_DIVIDER_DROPPED, 0, 1);
    Divider(pane, 3572)->GetWindowText(text);
    EXPECT_STREQ(L"心拍测量 II   Dur.0[mS]   心拍数换算值    ", text.GetString());
    pane->SendMessage(WM_DIVIDER_DROPPED, 600, 5);
    Divider(pane, 3571)->GetWindowText(text);
    EXPECT_STREQ(L"心拍测量 I   Dur.600[mS]   心拍数换算值 100[bpm]", text.GetString());
}

TEST_F(RhythmWavePaneTest, AStripDragTellsTheHostOnlyOfANewStartAndMovesTheView)
{
    OpenRecord(300.0);
    CWndRhythmWave* pane = Show(20, TRUE, 1920, 1080);
    pane->SendMessage(WM_STRIP_DRAGGED, 0, 0);
    EXPECT_EQ(0, m_notify.Count(WM_STRIP_DRAGGED));
    pane->SendMessage(WM_STRIP_DRAGGED, 50000, 0);
    EXPECT_EQ(1, m_notify.Count(WM_STRIP_DRAGGED));
    EXPECT_EQ(50000, pane->GetRhythmView()->GetStartTime());
    EXPECT_TRUE(Button(pane, panes::kBackButton)->IsWindowEnabled());
}

TEST_F(RhythmWavePaneTest, CaptionCarriesSensitivitySpeedAndFilter)
{
    OpenRecord(60.0);
    CWndRhythmWave* pane = Show(20);
    CString expected, text;
    expected.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  ", m_doc->GetSense(6, 0), m_doc->GetSpeed(), m_doc->GetFilter());
    pane->GetCaptionStrip()->GetDlgItem(3478)->GetWindowText(text);
    EXPECT_STREQ(expected.GetString(), text.GetString());
    EXPECT_FALSE(pane->GetCaptionStrip()->GetDlgItem(3479)->IsWindowVisible());
    m_doc->GetCurrentDataItem()->strMasterStepInfo = L"2/3";
    pane->UpdateDisplayInfo(16);
    pane->GetCaptionStrip()->GetDlgItem(3478)->GetWindowText(text);
    EXPECT_STREQ((expected + L"負荷後 2/3").GetString(), text.GetString());
}

TEST_F(RhythmWavePaneTest, OnlyTheHostsFocusJumpEntersThePatientForm)
{
    OpenRecord(60.0);
    CWndRhythmWave* pane = Show(20);
    int fromPatient[3] = {panes::kFromPatientForm, panes::kForward, 0};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromPatient), 0));
    int fromHost[3] = {panes::kFromHost, panes::kForward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromHost), 0));
    EXPECT_EQ(panes::FrameForm(pane->GetPatientFrame())->GetSafeHwnd(), CWnd::GetFocus()->GetParent()->GetSafeHwnd());
}

TEST_F(RhythmWavePaneTest, DisplaySizeModeSixSizesTheButtonsFromTheStrip)
{
    OpenRecord(60.0);
    m_doc->SetDisplaySizeMode(6);
    CWndRhythmWave* pane = Show(20);
    const CRect strip = Rect(pane->GetPreNextStrip());
    const int h = strip.Height();
    EXPECT_EQ(Box(strip.left, strip.top + 3 * h / 11, 80, 3 * h / 11), Rect(Button(pane, panes::kBackButton)));
    const CRect dividers = Rect(pane->GetDividerStrip());
    EXPECT_EQ(Box(dividers.left + 10, dividers.top + 3 * h / 11 + 2 * h / 11 + h / 11, 20, 2 * h / 11),
              Rect(Divider(pane, 3570)));
}

TEST_F(RhythmWavePaneTest, APaneSizedToNothingShowsAnEmptyViewWithNoRows)
{
    OpenRecord(60.0);
    CWndRhythmWave* pane = Show(20, TRUE, 0, 0);
    int columns = 0, rows = -1;
    GridOf(pane->GetRhythmView(), columns, rows);
    EXPECT_EQ(0, rows);
    EXPECT_TRUE(Rect(pane->GetRhythmView()).IsRectEmpty());
    pane->MoveWindow(0, 0, 1020, 60, TRUE);   // less room than one block of rows
    GridOf(pane->GetRhythmView(), columns, rows);
    EXPECT_EQ(0, rows);
    EXPECT_EQ(1, Rect(pane->GetRhythmView()).Height());
}

TEST_F(RhythmWavePaneTest, WithoutADocumentCommandsReturnNothingAndNothingMoves)
{
    panetest::PaneHost<CWndRhythmWave> host;
    CWndRhythmWave* pane = host.Open([](CWndRhythmWave&) {}, TRUE, 1020, 664);
    pane->ShowRhythmPageStyle(22);
    pane->OnUpdate();
    EXPECT_FALSE(pane->OnCmdMsg(panes::kNextButton, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(pane->OnCmdMsg(3568, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(0, m_notify.Count(WM_DIVIDER_BITS_WRITTEN));
    EXPECT_TRUE(host.Rect(pane->GetRhythmView()).IsRectEmpty());
    EXPECT_TRUE(host.Rect(pane->GetPreNextStrip()).IsRectEmpty());
}

// ---- MFER records shown as rhythm --------------------------------------------------------------

class MferRhythmWavePaneTest : public mfertest::MferDocTest {
protected:
    void SetUp() override
    {
        mfertest::MferDocTest::SetUp();
        m_screen.Fresh(*m_doc, 1920, 1080);
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc->SetNotifyWnd(&m_notify);
    }
    void TearDown() override
    {
        m_host.Close();
        m_doc->SetNotifyWnd(nullptr);
        m_notify.DestroyWindow();
        mfertest::MferDocTest::TearDown();
    }

    panetest::ScopedScreen m_screen;
    panetest::CNotifyLog m_notify;
    panetest::PaneHost<CWndRhythmWave> m_host;
};

TEST_F(MferRhythmWavePaneTest, MferStylesWriteTheMferDocumentAndCommandsReportSeven)
{
    _MFERDATAITEM* item = OpenKind(morvelance::MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    CWndRhythmWave* pane =
        m_host.Open([this](CWndRhythmWave& p) { p.SetMFERViewDoc(m_doc.get()); }, TRUE, 1020, 664);
    pane->ShowMFERPageStyle(37);
    Desktop::PumpMessages();
    EXPECT_TRUE(pane->GetRhythmView()->IsHalfStyle());
    EXPECT_EQ(16, m_doc->GetRhythmWaveStyle());
    pane->ShowRhythmPageStyle(23);   // a rhythm record's style: the MFER document keeps its own
    EXPECT_EQ(16, m_doc->GetRhythmWaveStyle());
    EXPECT_EQ(17, pane->GetRhythmView()->GetWaveStyle());
    pane->ShowMFERPageStyle(38);
    Press(pane->GetDividerStrip()->GetDlgItem(3569));
    ASSERT_EQ(1, m_notify.Count(WM_DIVIDER_BITS_WRITTEN));
    EXPECT_EQ(7, m_notify.log.back().lParam);
    CString expected, text;
    expected.Format(L"%.2f mm/mV  %.1f mm/s  %s  %s", m_doc->GetSense(6, 0), m_doc->GetSpeed(),
                    m_doc->GetMFERFilter().GetString(), item->strMasterStep.GetString());
    pane->GetCaptionStrip()->GetDlgItem(3478)->GetWindowText(text);
    EXPECT_STREQ(expected.GetString(), text.GetString());
}

}  // namespace
