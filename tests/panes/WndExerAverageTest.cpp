// The exercise average page on exercise records written by the record
// maker, driven through the desktop: playback to either end of the block
// list on the desktop clock, the 3D swing taking over from playback, the
// centre button stopping and then resetting, back and next, the lead combo
// of the 250 recorders, the lead dialog through the modal driver with its
// record XML read back, and the page style reported to the host.
#include <gtest/gtest.h>

#include <cmath>

#include "analysisviews/ViewExerAverage.h"
#include "analysisviews/ViewExerAverage3D.h"
#include "analysisviews/ViewExerTrend.h"
#include "core/ECGXMLParser.h"
#include "core/UserMessages.h"
#include "dialogs/DlgExerLeadSel.h"
#include "dialogs/DlgPreNext.h"
#include "documents/ExerTags.h"
#include "panes/PaneKit.h"
#include "panes/WndExerAverage.h"
#include "panes/WndExerAverageStrips.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "tests/panes/PaneTestSupport.h"
#include "tests/support/ModalScript.h"

using platform::ui::Desktop;

namespace {

const CString kSixLeadSetting = L"/Rawdata/Assist_info/Reference/Setting/Lead_selection/Lead_6ch";

class ExerAveragePaneTest : public exertest::ExerDocument {
protected:
    void SetUp() override
    {
        exertest::ExerDocument::SetUp();
        m_screen.Fresh(m_doc, 1920, 1080);
    }
    void TearDown() override
    {
        m_host.Close();
        exertest::ExerDocument::TearDown();
    }
    void OpenRecord(uint16_t systemCode = 0xFFFC,
                    const std::function<void(morvelance::RecordBuilder&)>& tweak = nullptr)
    {
        morvelance::ExerciseRecordOptions o = exertest::DefaultOptions();
        o.systemCode = systemCode;
        m_files = Write(o, tweak);
        ASSERT_EQ(0, Open(m_doc, m_files));
    }
    CWndExerAverage* Show()
    {
        CWndExerAverage* pane =
            m_host.Open([this](CWndExerAverage& p) { p.SetExerViewDoc(&m_doc); }, TRUE, 1020, 664);
        pane->SendMessage(WM_SIZE, 0, 0);
        pane->OnUpdate();
        Desktop::PumpMessages();
        return pane;
    }
    _EXERDATAITEM& Item() { return *m_doc.GetCurrentDataItem(); }
    int Blocks() { return Item().nExerAveCount + Item().nPostAveCount; }
    void Press(CDlgCtrl* strip, int id)
    {
        CRect rect;
        strip->GetDlgItem(id)->GetWindowRect(&rect);
        ASSERT_FALSE(rect.IsRectEmpty()) << id;
        Desktop::Click(rect.CenterPoint());
        Desktop::PumpMessages();
    }
    void Play(int id) { Press(m_host.pane->GetTimeStepStrip(), id); }
    BOOL Checked(int id) { return panes::IsStripButtonChecked(m_host.pane->GetTimeStepStrip(), id); }
    CViewExerAverage* Average() { return m_host.pane->GetAverageView(); }
    CViewExerAverage3D* Map() { return m_host.pane->Get3DView(); }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndExerAverage> m_host;
    CExerViewDoc m_doc;
    exertest::ExerFiles m_files;
};

TEST_F(ExerAveragePaneTest, ForwardPlayStepsEveryHalfSecondAndStopsAtTheLastBlock)
{
    OpenRecord();
    CWndExerAverage* pane = Show();
    const int last = Blocks() - 1;
    m_doc.SetCurAveBlockNo(last - 2, 0);
    Play(panes::kPlayForward);
    EXPECT_EQ(panes::kForwardTimer, pane->GetTimerID());
    EXPECT_TRUE(Checked(panes::kPlayForward));
    EXPECT_EQ(1, m_doc.IsPlayback());
    EXPECT_FALSE(Average()->IsAnnoViewActive());

    Desktop::AdvanceClock(499);
    EXPECT_EQ(last - 2, m_doc.GetCurAveBlockNo());
    Desktop::AdvanceClock(1);
    EXPECT_EQ(last - 1, m_doc.GetCurAveBlockNo());
    Desktop::AdvanceClock(500);
    EXPECT_EQ(last, m_doc.GetCurAveBlockNo());
    EXPECT_EQ(1, m_doc.IsPlayback());
    Desktop::AdvanceClock(500);   // the tick past the end ends the playback
    EXPECT_EQ(last, m_doc.GetCurAveBlockNo());
    EXPECT_FALSE(Checked(panes::kPlayForward));
    EXPECT_FALSE(Checked(panes::kPlayBackward));
    EXPECT_EQ(0u, pane->GetTimerID());
    EXPECT_EQ(0, m_doc.IsPlayback());
    EXPECT_TRUE(Average()->IsAnnoViewActive());
    const int time = Item().nCurTime;
    Desktop::AdvanceClock(3000);   // no timer is left running
    EXPECT_EQ(time, Item().nCurTime);
}

TEST_F(ExerAveragePaneTest, BackwardPlayFromTheFirstBlockEndsOnItsFirstTick)
{
    OpenRecord();
    CWndExerAverage* pane = Show();
    m_doc.SetCurAveBlockNo(0, 0);
    Play(panes::kPlayForward);
    Play(panes::kPlayBackward);   // takes over from forward play
    EXPECT_EQ(panes::kBackwardTimer, pane->GetTimerID());
    EXPECT_FALSE(Checked(panes::kPlayForward));
    EXPECT_TRUE(Checked(panes::kPlayBackward));
    Desktop::AdvanceClock(500);
    EXPECT_EQ(0, m_doc.GetCurAveBlockNo());
    EXPECT_EQ(0u, pane->GetTimerID());
    EXPECT_FALSE(Checked(panes::kPlayBackward));
    EXPECT_TRUE(Average()->IsAnnoViewActive());
}

TEST_F(ExerAveragePaneTest, SwingTakesOverFromPlaybackAndTheCentreButtonStopsItThenResets)
{
    OpenRecord();
    CWndExerAverage* pane = Show();
    m_doc.SetCurAveBlockNo(3, 0);
    Play(panes::kPlayForward);
    Press(pane->Get3DControlStrip(), 4189);
    EXPECT_EQ(panes::kSwingTimer, pane->GetTimerID());
    EXPECT_EQ(0, m_doc.IsPlayback());
    EXPECT_TRUE(Average()->IsAnnoViewActive());
    EXPECT_TRUE(Checked(panes::kPlayForward));   // the button keeps its mark
    const double before = Map()->GetRotation();
    Desktop::AdvanceClock(1000);
    EXPECT_EQ(3, m_doc.GetCurAveBlockNo());      // no more playback
    EXPECT_NE(before, Map()->GetRotation());

    Press(pane->Get3DControlStrip(), 4185);
    EXPECT_EQ(0u, pane->GetTimerID());
    const double stopped = Map()->GetRotation();
    Desktop::AdvanceClock(1000);
    EXPECT_EQ(stopped, Map()->GetRotation());
    Press(pane->Get3DControlStrip(), 4185);
    EXPECT_NEAR(-0.3, Map()->GetRotation(), 1e-9);
    EXPECT_NEAR(0.7, Map()->GetTilt(), 1e-9);
}

TEST_F(ExerAveragePaneTest, StopLeavesNoTimerSoTheCentreButtonResetsTheAngles)
{
    OpenRecord();
    CWndExerAverage* pane = Show();
    Press(pane->Get3DControlStrip(), 4184);
    Play(panes::kPlayForward);
    Play(panes::kPlayStop);
    EXPECT_EQ(0u, pane->GetTimerID());
    EXPECT_FALSE(Checked(panes::kPlayForward));
    EXPECT_EQ(0, m_doc.IsPlayback());
    Press(pane->Get3DControlStrip(), 4185);
    EXPECT_NEAR(-0.3, Map()->GetRotation(), 1e-9);
}

TEST_F(ExerAveragePaneTest, BackAndNextStepOneBlockAndNeverLeaveTheList)
{
    OpenRecord();
    CWndExerAverage* pane = Show();
    m_doc.SetCurAveBlockNo(0, 0);
    Press(pane->GetPreNextStrip(), 3497);
    EXPECT_EQ(0, m_doc.GetCurAveBlockNo());
    Press(pane->GetPreNextStrip(), 3498);
    EXPECT_EQ(1, m_doc.GetCurAveBlockNo());
    m_doc.SetCurAveBlockNo(Blocks() - 1, 0);
    Press(pane->GetPreNextStrip(), 3498);
    EXPECT_EQ(Blocks() - 1, m_doc.GetCurAveBlockNo());
    Press(pane->GetPreNextStrip(), 3497);
    EXPECT_EQ(Blocks() - 2, m_doc.GetCurAveBlockNo());
}

TEST_F(ExerAveragePaneTest, ABlockRecordTooShortForATimeCountsAsTimeZero)
{
    // Block 4 keeps one byte, 127: read as minutes it would lie far ahead of
    // the current time, and playback would stand still on it.
    OpenRecord(0xFFFC, [](morvelance::RecordBuilder& items) { items.SetRaw(exer::TAG_AVE_TIME, 4, {127}); });
    CWndExerAverage* pane = Show();
    m_doc.SetCurAveBlockNo(5, 0);
    Item().nCurTime -= Item().nBlockInterval;   // the time of block 4
    ASSERT_EQ(4, m_doc.GetCurAveBlockNo());
    pane->SendMessage(WM_TIMER, panes::kForwardTimer, 0);
    EXPECT_EQ(5, m_doc.GetCurAveBlockNo());
}

TEST_F(ExerAveragePaneTest, LeadComboOfA250RecorderHasNoSixLeadEntryAndItsSecondEntryIsOneLead)
{
    OpenRecord(0xFFFA);
    CWndExerAverage* pane = Show();
    CDlgCtrl* leads = pane->GetLeadStrip();
    EXPECT_EQ(2, panes::ComboCount(leads, 4190));
    EXPECT_EQ(0, panes::ComboSelection(leads, 4190));
    EXPECT_FALSE(leads->GetDlgItem(4191)->IsWindowEnabled());
    EXPECT_EQ(1, Average()->GetAverageDisplayMode());

    testsupport::ChooseListEntry(*leads, 4190, 1);
    EXPECT_EQ(3, Average()->GetAverageDisplayMode());
    EXPECT_TRUE(leads->GetDlgItem(4192)->IsWindowVisible());
    EXPECT_TRUE(leads->GetDlgItem(4191)->IsWindowEnabled());
}

// A 250 recorder keeps no six-lead page: a step of the blocks brings a
// six-lead display back to twelve leads, but keeps the one-lead display the
// user chose, with its gain and its own lead dialog.
TEST_F(ExerAveragePaneTest, AStepKeepsTheOneLeadDisplayOfA250RecorderAndDropsOnlyTheSixLeadOne)
{
    OpenRecord(0xFFFA);
    CWndExerAverage* pane = Show();
    CDlgCtrl* leads = pane->GetLeadStrip();
    testsupport::ChooseListEntry(*leads, 4190, 1);
    ASSERT_EQ(3, Average()->GetAverageDisplayMode());
    Press(pane->GetPreNextStrip(), 3498);
    EXPECT_EQ(3, Average()->GetAverageDisplayMode());
    EXPECT_EQ(1, panes::ComboSelection(leads, 4190));
    EXPECT_TRUE(leads->GetDlgItem(4192)->IsWindowVisible());
    testsupport::ModalScript script;
    script.On(174, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDCANCEL); });
    Press(leads, 4191);
    EXPECT_EQ(std::vector<UINT>{174}, script.Seen());

    Average()->SetAverageDisplayMode(2);
    Press(pane->GetPreNextStrip(), 3498);
    EXPECT_EQ(1, Average()->GetAverageDisplayMode());
    EXPECT_EQ(0, panes::ComboSelection(leads, 4190));
}

TEST_F(ExerAveragePaneTest, OneLeadGainComboFollowsTheViewAndKeepsItsChoiceForAnUnlistedGain)
{
    OpenRecord();
    CWndExerAverage* pane = Show();
    CDlgCtrl* leads = pane->GetLeadStrip();
    EXPECT_EQ(3, panes::ComboCount(leads, 4190));
    EXPECT_EQ(1, panes::ComboSelection(leads, 4190));
    EXPECT_FALSE(leads->GetDlgItem(4192)->IsWindowVisible());
    Average()->SetAverageDisplayMode(3);
    Average()->SetDisplay1LeadSense(0.5);
    pane->OnUpdate();
    EXPECT_EQ(2, panes::ComboSelection(leads, 4190));
    EXPECT_EQ(L"X 1/2", panes::ComboText(leads, 4192, panes::ComboSelection(leads, 4192)));
    EXPECT_TRUE(leads->GetDlgItem(4192)->IsWindowVisible());
    Average()->SetDisplay1LeadSense(1.5);
    pane->OnUpdate();
    EXPECT_EQ(L"X 1/2", panes::ComboText(leads, 4192, panes::ComboSelection(leads, 4192)));
}

TEST_F(ExerAveragePaneTest, LeadDialogChoiceIsReadBackFromTheRecordXml)
{
    OpenRecord();
    CWndExerAverage* pane = Show();
    ASSERT_EQ(2, Average()->GetAverageDisplayMode());
    testsupport::ModalScript script;
    script.On(172, [](CDialog& dialog) {
        testsupport::ClickControl(dialog, 4204);   // V6 off
        testsupport::ClickControl(dialog, 4193);   // I on
        testsupport::ClickControl(dialog, IDOK);
    });
    Press(pane->GetLeadStrip(), 4191);
    EXPECT_EQ(std::vector<UINT>{172}, script.Seen());
    const std::vector<int> six(Item().nLead6, Item().nLead6 + 6);
    EXPECT_EQ((std::vector<int>{0, 6, 7, 8, 9, 10}), six);
}

TEST_F(ExerAveragePaneTest, LeadDialogEndingWithoutAStoredSettingFallsBackToTheLimbLeads)
{
    OpenRecord();
    CWndExerAverage* pane = Show();
    const std::string xml = m_files.xml;
    testsupport::ModalScript script;
    script.On(172, [xml](CDialog& dialog) {
        CECGXMLParser parser(testsupport::Wide(xml), 0, CString());
        parser.RemoveNode(kSixLeadSetting);
        parser.SaveToXMLFile();
        dialog.EndDialog(IDOK);
    });
    Press(pane->GetLeadStrip(), 4191);
    const std::vector<int> six(Item().nLead6, Item().nLead6 + 6);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5}), six);

    script.On(172, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDCANCEL); });
    Item().nLead6[0] = 7;
    Press(pane->GetLeadStrip(), 4191);
    EXPECT_EQ(7, Item().nLead6[0]);   // a cancelled dialog changes nothing
}

TEST_F(ExerAveragePaneTest, UpdateTellsTheHostWindowThePageStyle)
{
    OpenRecord();
    m_doc.SetPageStyle(3);
    panetest::CNotifyLog host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1020, 664), nullptr, 0));
    CWndExerAverage pane;
    pane.SetExerViewDoc(&m_doc);
    ASSERT_TRUE(pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1020, 664), &host, 100));
    host.log.clear();
    pane.OnUpdate();
    ASSERT_EQ(1, host.Count(WM_DISPLAY_INFO_CHANGED));
    for (const panetest::Sent& sent : host.log)
        if (sent.message == WM_DISPLAY_INFO_CHANGED) {
            EXPECT_EQ(3u, sent.wParam);
        }
    pane.DestroyWindow();
    host.DestroyWindow();
}

TEST_F(ExerAveragePaneTest, LayoutPutsTheAverageViewInWholeFiveSquareRowsBesideTheRightColumn)
{
    OpenRecord();
    CWndExerAverage* pane = Show();
    const CRect average = m_host.Rect(Average());
    EXPECT_EQ(CRect(10, 70, 10 + 560, average.bottom), average);
    int across = 0, down = 0;
    Average()->GetGridCount(across, down);
    EXPECT_EQ(0, down % 5);
    EXPECT_LE(average.Height(), 550);
    EXPECT_EQ(panetest::Box(580, 10, 430, 310), m_host.Rect(Map()));
    EXPECT_EQ(panetest::Box(580, 415, 430, 200), m_host.Rect(pane->GetTrendView()));
    EXPECT_EQ(panetest::Box(700, 625, 300, 30), m_host.Rect(pane->GetTimeStepStrip()));
    EXPECT_EQ(panetest::Box(10, 40, 560, 30), m_host.Rect(pane->GetLeadStrip()));
}

TEST_F(ExerAveragePaneTest, GridSizeModeSizesTheBeatsFromThePixelsPerSquareWithSideMargins)
{
    OpenRecord();
    m_doc.SetDisplaySizeMode(5);
    m_doc.SetPixelPerMM(3.0, 3.0);
    m_screen.Use(m_doc, 1020, 664);
    CWndExerAverage* pane = Show();
    const int margin = static_cast<int>(10 * g_dXUnit);
    int across = 0, down = 0;
    Average()->GetGridCount(across, down);
    // 550 units of 664 pixels hold 183 squares of 3 pixels: 180 in whole blocks.
    EXPECT_EQ(180, down);
    EXPECT_EQ(panetest::Box(margin, 70, across * 3 + 1, 180 * 3 + 1), m_host.Rect(Average()));
    const int right = margin + across * 3 + 1 + 5;
    EXPECT_EQ(panetest::Box(right, 10, 1020 - right - margin, 310), m_host.Rect(Map()));
    EXPECT_EQ(margin, m_host.Rect(pane->GetInfoStrip()).left);
}

TEST_F(ExerAveragePaneTest, LeavingThePageWhileItPlaysLeavesTheRecordOpenToAnnotation)
{
    OpenRecord();
    Show();
    Play(panes::kPlayForward);
    ASSERT_EQ(1, m_doc.IsPlayback());
    m_host.Close();
    EXPECT_EQ(0, m_doc.IsPlayback());
    Desktop::AdvanceClock(1000);   // and no tick reaches a pane that is gone

    // The swing alone never set the flag, and leaving does not touch it.
    Show();
    Press(m_host.pane->Get3DControlStrip(), 4189);
    m_doc.SetPlayback(1);   // another page's playback
    m_host.Close();
    EXPECT_EQ(1, m_doc.IsPlayback());
}

TEST_F(ExerAveragePaneTest, NextFromATimeJustBeforeARecoveryBlockShowsThatBlockFirst)
{
    OpenRecord();
    CWndExerAverage* pane = Show();
    const int block = Item().nExerAveCount + 1;
    m_doc.SetCurAveBlockNo(block, 0);
    const int time = Item().nCurTime;
    Item().nCurTime = time - 7;   // rounds up to the block
    ASSERT_EQ(block, m_doc.GetCurAveBlockNo());
    Press(pane->GetPreNextStrip(), 3498);
    EXPECT_EQ(block, m_doc.GetCurAveBlockNo());
    EXPECT_EQ(time, Item().nCurTime);
}

}  // namespace

