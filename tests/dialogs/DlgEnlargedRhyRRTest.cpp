// The rhythm and RR pages' enlarged lead, opened as the multi-lead rhythm
// view opens it on maker records: where its view and tools stand, how its
// bar scrolls a long strip and pans a short one, and which sensitivity an
// RR record's lead is drawn at.
#include <gtest/gtest.h>

#include "dialogs/DlgEnlargedRhyRR.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RRViewDocFixture.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "waveviews/ViewEnlargedWave.h"

using platform::ui::Desktop;
using testsupport::ClickControl;

namespace {

class DlgEnlargedRhyRRTest : public rhythmtest::RhythmDocTest {
protected:
    void TearDown() override
    {
        Desktop::Reset();
        rhythmtest::RhythmDocTest::TearDown();
    }
    void OpenSeconds(double seconds)
    {
        morvelance::RhythmRecordShape shape;
        shape.seconds = seconds;
        ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, "strip", shape), 1));
        m_doc->m_bAutoDelete = FALSE;
        m_nLength = m_doc->GetRhythmWaveData(0, nullptr, -1) / 2;
    }
    void Run(int centre, const std::function<void(CDlgEnlargedRhyRR&)>& step)
    {
        CDlgEnlargedRhyRR dialog(nullptr);
        dialog.SetDoc(m_doc.get(), DOC_TYPE_RHYTHM);
        dialog.SetSenseID(6);
        dialog.SetClickInfo(0, centre, 0, m_nLength, 0);
        dialog.SetDotsPerMM(2.0, 2.0);
        testsupport::ModalScript script;
        script.On(CDlgEnlargedRhyRR::IDD, [&](CDialog&) { step(dialog); });
        dialog.DoModal();
        EXPECT_EQ(1u, script.Seen().size());
    }
    static CRect PlaceOf(CWnd& dialog, CWnd& control)
    {
        CRect rect;
        control.GetWindowRect(&rect);
        dialog.ScreenToClient(&rect);
        return rect;
    }
    static CScrollBar& Bar(CWnd& dialog, int id) { return *static_cast<CScrollBar*>(dialog.GetDlgItem(id)); }
    int m_nLength = 0;
};

}  // namespace

TEST_F(DlgEnlargedRhyRRTest, TheDialogTakesItsDesignShareOfTheScreenWithTheToolsUnderTheView)
{
    OpenSeconds(60.0);
    Run(15000, [&](CDlgEnlargedRhyRR& dialog) {
        CRect window;
        dialog.GetWindowRect(&window);
        // 800 of the 1024 design units across the 1024-pixel screen.
        EXPECT_EQ(800, window.Width());
        ASSERT_NE(nullptr, dialog.GetWaveView());
        const CRect view = PlaceOf(dialog, *dialog.GetWaveView());
        const CRect across = PlaceOf(dialog, *dialog.GetDlgItem(CDlgEnlargedRhyRR::IDC_HORIZONTAL_BAR));
        const CRect down = PlaceOf(dialog, *dialog.GetDlgItem(CDlgEnlargedRhyRR::IDC_VERTICAL_BAR));
        const CRect readout = PlaceOf(dialog, *dialog.GetDlgItem(CDlgEnlargedRhyRR::IDC_READOUT));
        EXPECT_EQ(150, across.Width());
        EXPECT_EQ(across.right + 30, readout.left);
        EXPECT_LE(view.bottom, across.top);
        EXPECT_LE(view.right, down.left);
        EXPECT_GT(view.Width(), 700);
        CString caption;
        dialog.GetWindowText(caption);
        EXPECT_EQ(CString(L"波形放大显示"), caption);
    });
}

TEST_F(DlgEnlargedRhyRRTest, ALongStripScrollsBySamplesTwentyAPage)
{
    OpenSeconds(60.0);
    Run(15000, [&](CDlgEnlargedRhyRR& dialog) {
        CViewEnlargedWave& view = *dialog.GetWaveView();
        const int page = view.GetDrawLength();
        ASSERT_LT(page, m_nLength);
        CScrollBar& bar = Bar(dialog, CDlgEnlargedRhyRR::IDC_HORIZONTAL_BAR);
        int lowest = 0, highest = 0;
        bar.GetScrollRange(&lowest, &highest);
        EXPECT_EQ(0, lowest);
        EXPECT_EQ(m_nLength - page, highest);
        EXPECT_EQ(15000 - page / 2, bar.GetScrollPos());
        dialog.SendMessage(WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(bar.GetSafeHwnd()));
        EXPECT_EQ(15000 - page / 2 + 20, bar.GetScrollPos());
        EXPECT_EQ(15000 + 20, dialog.GetSample());
    });
}

TEST_F(DlgEnlargedRhyRRTest, TheRulerDisablesTheBarsAndAReadingShowsInItsOwnReadout)
{
    OpenSeconds(10.0);
    Run(2500, [&](CDlgEnlargedRhyRR& dialog) {
        ClickControl(dialog, CDlgEnlargedRhyRR::IDC_RULER);
        EXPECT_EQ(RULER_STATUS_ARMED, dialog.GetWaveView()->GetRulerStatus());
        EXPECT_FALSE(dialog.GetDlgItem(CDlgEnlargedRhyRR::IDC_HORIZONTAL_BAR)->IsWindowEnabled());
        dialog.SendMessage(WM_USER + 0xA, 120, 1250);
        EXPECT_EQ(CString(L"120[mS]   1.250[mV]"), testsupport::ControlText(dialog, CDlgEnlargedRhyRR::IDC_READOUT));
        ClickControl(dialog, CDlgEnlargedRhyRR::IDC_DRAG);
        EXPECT_TRUE(testsupport::ControlText(dialog, CDlgEnlargedRhyRR::IDC_READOUT).IsEmpty());
        EXPECT_TRUE(dialog.GetDlgItem(CDlgEnlargedRhyRR::IDC_HORIZONTAL_BAR)->IsWindowEnabled());
    });
}

// The rhythm strip's lead is enlarged at the sensitivity the person set,
// the document's first set, where the second holds another.
TEST_F(DlgEnlargedRhyRRTest, ARhythmLeadIsEnlargedAtTheFirstSensitivitySetWhenTheTwoSetsDiffer)
{
    OpenSeconds(10.0);
    m_doc->SetSense(6, 20.0f, 0);
    ASSERT_FLOAT_EQ(20.0f, m_doc->GetSense(6, 0));
    ASSERT_NE(20.0f, m_doc->GetSense(6, 1)) << "the two sets should differ";
    Run(2500, [&](CDlgEnlargedRhyRR& dialog) {
        ASSERT_NE(nullptr, dialog.GetWaveView());
        EXPECT_FLOAT_EQ(20.0f, dialog.GetSense());
    });
}

TEST_F(DlgEnlargedRhyRRTest, AStripShorterThanAPagePansByPixelsFromZero)
{
    OpenSeconds(2.0);
    Run(500, [&](CDlgEnlargedRhyRR& dialog) {
        CViewEnlargedWave& view = *dialog.GetWaveView();
        ASSERT_GT(view.GetDrawLength(), m_nLength);
        CRect client;
        view.GetClientRect(&client);
        CScrollBar& bar = Bar(dialog, CDlgEnlargedRhyRR::IDC_HORIZONTAL_BAR);
        int lowest = 0, highest = 0;
        bar.GetScrollRange(&lowest, &highest);
        EXPECT_EQ(-client.Width(), lowest);
        EXPECT_EQ(client.Width(), highest);
        EXPECT_EQ(0, bar.GetScrollPos());
        dialog.SendMessage(WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(bar.GetSafeHwnd()));
        EXPECT_EQ(-20, view.GetDragHorizontalOffset());
    });
}

namespace {

class DlgEnlargedRhyRROnRRTest : public rrtest::RRDocTest {
protected:
    void TearDown() override
    {
        Desktop::Reset();
        rrtest::RRDocTest::TearDown();
    }
};

}  // namespace

TEST_F(DlgEnlargedRhyRROnRRTest, AnRRRecordIsDrawnAtTheCommonSensitivityNotItsLeadsOwn)
{
    const rrtest::RRFiles files = Write("rr");
    Add(files);
    ASSERT_EQ(0, Open(files));
    m_doc.m_bAutoDelete = FALSE;
    m_doc.SetSenseMode(1);
    m_doc.SetSense(1, 40.0f, 0);
    const float common = m_doc.GetCommonSense(0);
    ASSERT_NE(40.0f, common);
    CDlgEnlargedRhyRR dialog(nullptr);
    dialog.SetDoc(&m_doc, DOC_TYPE_RR);
    dialog.SetSenseID(1);
    const int length = m_doc.GetRhythmWaveData(0, nullptr, -1) / 2;
    dialog.SetClickInfo(0, length / 2, 0, length, 0);
    dialog.SetDotsPerMM(2.0, 2.0);
    testsupport::ModalScript script;
    bool viewed = false;
    script.On(CDlgEnlargedRhyRR::IDD, [&](CDialog&) { viewed = dialog.GetWaveView() != nullptr; });
    dialog.DoModal();
    EXPECT_TRUE(viewed);
    EXPECT_FLOAT_EQ(common, dialog.GetSense());
}

TEST_F(DlgEnlargedRhyRRTest, OnAPortraitScreenTheDialogTakesThePortraitDesignWidth)
{
    OpenSeconds(10.0);
    ASSERT_TRUE(Desktop::SetScreenSize(768, 1024));
    m_doc->SetTurnedScreen(1);
    Run(2500, [&](CDlgEnlargedRhyRR& dialog) {
        CRect window;
        dialog.GetWindowRect(&window);
        EXPECT_EQ(768, window.Width());
        // 600 of the portrait design's 1024 units down the 1024-pixel screen.
        EXPECT_EQ(600 + ::GetSystemMetrics(SM_CYCAPTION), window.Height());
        const CRect readout = PlaceOf(dialog, *dialog.GetDlgItem(CDlgEnlargedRhyRR::IDC_READOUT));
        EXPECT_EQ(368, readout.Width());
        ASSERT_NE(nullptr, dialog.GetWaveView());
        EXPECT_LT(PlaceOf(dialog, *dialog.GetWaveView()).right, 768 - 16);
    });
}
