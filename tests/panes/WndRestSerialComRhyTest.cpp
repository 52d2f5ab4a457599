// The serial comparison of rhythm on a patient's series written by the
// record maker: the two halves at the full page, the current record and the
// next one, the last record alone, the same record in both halves, another
// patient, a column from outside the two, a pane without an examination
// document, a strip drag and the calibration click passed on to the host.
#include <gtest/gtest.h>

#include "core/UserMessages.h"
#include "dialogs/DlgSerialCom.h"
#include "panes/SerialFileList.h"
#include "panes/WndRestSerialComRhy.h"
#include "tests/panes/SerialPaneFixture.h"
#include "waveviews/ViewScroll1LeadRhyWave.h"
#include "waveviews/ViewSerialComRhy.h"

using panetest::Box;
using platform::ui::Desktop;

namespace {

class SerialRhyPaneTest : public serialtest::SerialPaneFixture {
protected:
    void TearDown() override
    {
        m_host.Close();
        serialtest::SerialPaneFixture::TearDown();
    }
    CWndRestSerialComRhy* Show(bool withDocuments = true)
    {
        CWndRestSerialComRhy* pane = m_host.Open(
            [this, withDocuments](CWndRestSerialComRhy& p) {
                p.SetBaseECGDoc(&m_base);
                if (withDocuments) {
                    p.SetRestViewDoc(&m_rest);
                    p.SetMFERViewDoc(&m_mfer);
                }
                p.SetDocType(0);
            },
            FALSE, 1020, 664);
        pane->ShowPageStyle(0);
        pane->RestoreSerialFile();
        Desktop::PumpMessages();
        return pane;
    }
    int Count(UINT message, WPARAM wParam) const
    {
        int n = 0;
        for (const panetest::Sent& s : m_notify.log) n += s.message == message && s.wParam == wParam;
        return n;
    }

    panetest::PaneHost<CWndRestSerialComRhy> m_host;
};

TEST_F(SerialRhyPaneTest, TwoHalvesHoldAViewOverItsStripInWholeBlocksOfRows)
{
    CWndRestSerialComRhy* pane = Show();
    EXPECT_EQ(Box(12, 50, 495, 476), m_host.Rect(pane->GetComView(0)));
    EXPECT_EQ(Box(513, 50, 495, 476), m_host.Rect(pane->GetComView(1)));
    EXPECT_EQ(Box(12, 531, 495, 115), m_host.Rect(pane->GetStrip(0)));
    EXPECT_EQ(Box(513, 531, 495, 115), m_host.Rect(pane->GetStrip(1)));
    int columns = 0, rows = 0;
    pane->GetComView(0)->GetGridCount(columns, rows);
    EXPECT_EQ(130, columns);
    EXPECT_EQ(125, rows);
    EXPECT_EQ(Box(12, 8, 280, 20), m_host.Rect(pane->GetChooser(0)));
    EXPECT_EQ(Box(345, 5, 111, 37), m_host.Rect(pane->GetLimbChestStrip()));
}

TEST_F(SerialRhyPaneTest, TheCurrentRecordAndTheNextComparableOneFillTheHalves)
{
    m_base.SetCurDataIndex(m_listed[9]->nID);   // the next comparable record lies past the rhythm record
    CWndRestSerialComRhy* pane = Show();
    EXPECT_EQ(9, pane->GetComView(0)->GetSerialIndex());
    EXPECT_EQ(serialtest::kOtherPatientIndex, pane->GetComView(1)->GetSerialIndex());
    EXPECT_EQ(serialtest::kOtherPatientIndex, pane->GetStrip(1)->GetSerialIndex());
    EXPECT_EQ(panes::SerialEntryOf(pane->GetPositionMap(), 9), panes::ChooserSelection(pane->GetChooser(0)));
    EXPECT_GT(pane->GetComView(0)->GetLeadSampleCount(0), 0);
}

TEST_F(SerialRhyPaneTest, TheLastComparableRecordLeavesTheSecondHalfEmpty)
{
    m_base.SetCurDataIndex(m_listed.back()->nID);
    CWndRestSerialComRhy* pane = Show();
    EXPECT_EQ(static_cast<int>(m_listed.size()) - 1, pane->GetComView(0)->GetSerialIndex());
    EXPECT_EQ(-1, pane->GetComView(1)->GetSerialIndex());
    EXPECT_EQ(-1, panes::ChooserSelection(pane->GetChooser(1)));
}

TEST_F(SerialRhyPaneTest, TheSameRecordInBothHalvesIsRefusedAndTheSecondChooserGoesBack)
{
    CWndRestSerialComRhy* pane = Show();
    CWnd* combo = panes::ChooserCombo(pane->GetChooser(1));
    combo->SetFocus();
    Desktop::KeyPress(VK_UP);   // from the second record to the first, which the first half shows
    Desktop::PumpMessages();
    EXPECT_EQ(1, Count(WM_SERIAL_CHOICE_REFUSED, 1));
    EXPECT_EQ(1, panes::ChooserSelection(pane->GetChooser(1)));
    EXPECT_EQ(1, pane->GetComView(1)->GetSerialIndex());
}

TEST_F(SerialRhyPaneTest, AnotherPatientInTheSecondHalfIsReportedOnlyWhileTheCheckIsOn)
{
    CWndRestSerialComRhy* pane = Show();
    const int other = panes::SerialEntryOf(pane->GetPositionMap(), serialtest::kOtherPatientIndex);
    pane->SendMessage(WM_SERIAL_RECORD_CHOSEN, 1, other);
    EXPECT_EQ(1, pane->SendMessage(WM_SERIAL_CHOICE_VALIDATE, 0, 0));
    EXPECT_EQ(0, Count(WM_SERIAL_CHOICE_REFUSED, 2));
    m_rest.SetCheckID(1);
    EXPECT_EQ(0, pane->SendMessage(WM_SERIAL_CHOICE_VALIDATE, 0, 0));
    EXPECT_EQ(1, Count(WM_SERIAL_CHOICE_REFUSED, 2));
    EXPECT_EQ(serialtest::kOtherPatientIndex, pane->GetComView(1)->GetSerialIndex());
    // Nothing in the second half: nothing to compare.
    pane->SendMessage(WM_SERIAL_RECORD_CHOSEN, 1, -1);
    EXPECT_EQ(1, pane->SendMessage(WM_SERIAL_CHOICE_VALIDATE, 0, 0));
}

TEST_F(SerialRhyPaneTest, AColumnOtherThanTheTwoHalvesIsIgnored)
{
    CWndRestSerialComRhy* pane = Show();
    EXPECT_EQ(0, pane->SendMessage(WM_SERIAL_RECORD_CHOSEN, 2, 4));
    EXPECT_EQ(0, pane->SendMessage(WM_SERIAL_RECORD_CHOSEN, 9, 4));
    EXPECT_EQ(0, pane->GetComView(0)->GetSerialIndex());
    EXPECT_EQ(1, pane->GetComView(1)->GetSerialIndex());
    EXPECT_TRUE(m_notify.log.empty());
}

TEST_F(SerialRhyPaneTest, WithoutAnExaminationDocumentThereAreNoStripsAndNothingToRestore)
{
    CWndRestSerialComRhy* pane = Show(false);
    EXPECT_EQ(nullptr, pane->GetStrip(0));
    EXPECT_EQ(nullptr, pane->GetStrip(1));
    ASSERT_NE(nullptr, pane->GetComView(0));
    EXPECT_EQ(-1, pane->GetComView(0)->GetSerialIndex());
}

TEST_F(SerialRhyPaneTest, AStripDragPagesItsOwnViewWithoutTellingTheHost)
{
    CWndRestSerialComRhy* pane = Show();
    const int start = pane->GetComView(1)->GetStartTime();
    pane->SendMessage(WM_STRIP_DRAGGED, static_cast<WPARAM>(start), 1);
    EXPECT_EQ(start, pane->GetComView(1)->GetStartTime());
    pane->SendMessage(WM_STRIP_DRAGGED, static_cast<WPARAM>(start + 500), 1);
    EXPECT_EQ(start + 500, pane->GetComView(1)->GetStartTime());
    EXPECT_EQ(0, pane->GetComView(0)->GetStartTime());
    EXPECT_EQ(0, m_notify.Count(WM_STRIP_DRAGGED));
}

TEST_F(SerialRhyPaneTest, ACalibrationClickOnAShortRecordIsPassedToTheHost)
{
    CWndRestSerialComRhy* pane = Show();
    ASSERT_FALSE(pane->GetStrip(0)->IsLongTermFile());
    pane->SendMessage(WM_CAL_PULSE_CLICKED, 1, 2);
    ASSERT_EQ(1, m_notify.Count(WM_CAL_PULSE_CLICKED));
    EXPECT_EQ(1u, m_notify.log.back().wParam);
    EXPECT_EQ(2, m_notify.log.back().lParam);
}

}  // namespace
