// The resting wave pages on the other records they show: MFER files of
// twelve and fifteen leads with their filter text in the captions, and
// rhythm records in the resting layouts, all written by the record maker.
#include <gtest/gtest.h>

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "documents/RhythmViewDoc.h"
#include "panes/WndRestRhythmWave.h"
#include "panes/WndRestRhythmWaveAme.h"
#include "platform/base/Kernel.h"
#include "platform/ui/framework/ClientDC.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

using panetest::Box;
using platform::ui::Desktop;

namespace {

CString StripText(CDlgCtrl* strip, int id)
{
    CString text;
    strip->GetDlgItem(id)->GetWindowText(text);
    return text;
}

class RestWaveMferTest : public mfertest::MferDocTest {
protected:
    void SetUp() override
    {
        mfertest::MferDocTest::SetUp();
        m_screen.Fresh(*m_doc, 1920, 1080);
    }
    void TearDown() override
    {
        m_wave.Close();
        m_ame.Close();
        mfertest::MferDocTest::TearDown();
    }
    void OpenLeads(int leads)
    {
        ASSERT_NE(nullptr, OpenKind(morvelance::MferKind::Plain, leads, leads == 15 ? 0x800F : 0x800C, leads));
    }
    // Sensitivity and speed, then the MFER record's filter text.
    CString Settings(float sense)
    {
        CString text;
        text.Format(L"%.2f mm/mV  %.1f mm/s  %s  ", sense, m_doc->GetSpeed(),
                    static_cast<LPCWSTR>(m_doc->GetMFERFilter()));
        return text;
    }
    CWndRestRhythmWave* ShowWave(int style)
    {
        CWndRestRhythmWave* pane =
            m_wave.Open([this](CWndRestRhythmWave& p) { p.SetMFERViewDoc(m_doc.get()); }, TRUE, 1020, 664);
        pane->ShowMFERPageStyle(style);
        Desktop::PumpMessages();
        return pane;
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndRestRhythmWave> m_wave;
    panetest::PaneHost<CWndRestRhythmWaveAme> m_ame;
};

TEST_F(RestWaveMferTest, FifteenLeadsTakeTheFifteenLeadColumnWithTheFilterText)
{
    OpenLeads(15);
    CWndRestRhythmWave* pane = ShowWave(34);
    EXPECT_EQ(12, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_EQ(12, m_doc->GetRhythmWaveStyle());
    EXPECT_EQ(Settings(m_doc->GetSense(6, 0)) + L"波形连续型(15chx1)  " + m_doc->GetCurrentDataItem()->strMasterStep,
              StripText(pane->GetCaptionStrip(), 3479));
    EXPECT_EQ(Box(50, 57, 960, 20), m_wave.Rect(pane->GetCaptionStrip()));
}

TEST_F(RestWaveMferTest, TwelveLeadCaptionsPutTheFilterTextFirstInTheChestCaption)
{
    OpenLeads(12);
    CWndRestRhythmWave* pane = ShowWave(1);
    CString chest;
    chest.Format(L"%.2f mm/mV  %.1f mm/s  %s  %s  %s", m_doc->GetSense(0, 0), m_doc->GetSpeed(),
                 static_cast<LPCWSTR>(m_doc->GetMFERFilter()), L"", L"");
    EXPECT_EQ(chest, StripText(pane->GetCaptionStrip(), 3480));
    pane->ShowMFERPageStyle(5);
    CString limb;
    limb.Format(L"%.2f mm/mV  %.1f mm/s  %s  %s  %s", m_doc->GetSense(1, 0), m_doc->GetSpeed(),
                static_cast<LPCWSTR>(m_doc->GetMFERFilter()), L"波形連続型(3chx2)", L"");
    EXPECT_EQ(limb, StripText(pane->GetCaptionStrip(), 3479));
}

TEST_F(RestWaveMferTest, TheUSPageShowsFilterNameAndLoadInBothCaptionsOfTheSixLeadColumn)
{
    OpenLeads(12);
    CWndRestRhythmWaveAme* pane =
        m_ame.Open([this](CWndRestRhythmWaveAme& p) { p.SetMFERViewDoc(m_doc.get()); }, TRUE, 1020, 664);
    pane->ShowMFERPageStyle(27);
    CString limb;
    limb.Format(L"%.2f mm/mV  %.1f mm/s  %s  %s  %s", m_doc->GetSense(1, 0), m_doc->GetSpeed(),
                static_cast<LPCWSTR>(m_doc->GetMFERFilter()), L"波形连续型(6chx1)",
                static_cast<LPCWSTR>(m_doc->GetCurrentDataItem()->strMasterStep));
    EXPECT_EQ(limb, StripText(pane->GetCaptionStrip(), 3479));
}

TEST_F(RestWaveMferTest, AnMferHalfPageLeavesTheInterpretationAsTheColumnStyleLeftIt)
{
    OpenLeads(12);
    CWndRestRhythmWaveAme* pane =
        m_ame.Open([this](CWndRestRhythmWaveAme& p) { p.SetMFERViewDoc(m_doc.get()); }, TRUE, 1020, 664);
    pane->ShowMFERPageStyle(31);
    EXPECT_FALSE(pane->IsShowInterpretation());
    pane->ShowMFERPageStyle(6);
    EXPECT_EQ(2, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_FALSE(pane->IsShowInterpretation());
    EXPECT_FALSE(pane->GetInterpretationFrame()->IsWindowVisible());
    pane->ShowMFERPageStyle(3);
    EXPECT_TRUE(pane->GetInterpretationFrame()->IsWindowVisible());
}

class RestWaveRhythmTest : public panetest::RhythmPaneTest {
protected:
    void SetUp() override
    {
        RhythmPaneTest::SetUp();
        OpenRecord(Leads(), 20.0, "rhythm");
    }
    virtual int Leads() const { return 12; }
    void TearDown() override
    {
        m_wave.Close();
        m_ame.Close();
        RhythmPaneTest::TearDown();
    }

    panetest::PaneHost<CWndRestRhythmWave> m_wave;
    panetest::PaneHost<CWndRestRhythmWaveAme> m_ame;
};

TEST_F(RestWaveRhythmTest, RhythmStylesMapToTheRestingLayouts)
{
    CWndRestRhythmWave* pane =
        m_wave.Open([this](CWndRestRhythmWave& p) { p.SetRhythmViewDoc(m_doc.get()); }, TRUE, 1020, 664);
    pane->ShowRhythmPageStyle(6);
    EXPECT_EQ(4, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_TRUE(pane->GetRhythmView()->IsHalfStyle());
    EXPECT_EQ(4, m_doc->GetRhythmWaveStyle());
    pane->ShowRhythmPageStyle(18);
    EXPECT_EQ(11, pane->GetRhythmView()->GetWaveStyle());
    CString caption;
    caption.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  %s  %s  %s", m_doc->GetSense(6, 0), m_doc->GetSpeed(),
                   m_doc->GetFilter(), L"波形连续型(12chx1)", L"", L"");
    EXPECT_EQ(caption, StripText(pane->GetCaptionStrip(), 3479));
    for (int style : {16, 17, 20}) {
        pane->ShowRhythmPageStyle(style);
        EXPECT_EQ(11, pane->GetRhythmView()->GetWaveStyle()) << style;
    }
}

TEST_F(RestWaveRhythmTest, TheUSPageTakesOnlyTheColumnStylesOfARhythmRecord)
{
    CWndRestRhythmWaveAme* pane =
        m_ame.Open([this](CWndRestRhythmWaveAme& p) { p.SetRhythmViewDoc(m_doc.get()); }, TRUE, 1020, 664);
    for (int style : {1, 3, 15, 18}) pane->ShowRhythmPageStyle(style);
    EXPECT_EQ(1, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_TRUE(pane->IsShowInterpretation());
    pane->ShowRhythmPageStyle(16);
    EXPECT_EQ(11, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_FALSE(pane->IsShowInterpretation());
    EXPECT_EQ(15, pane->GetOneLeadView()->GetWaveStyle());
    // A rhythm record in a three-by-four layout has no captions on this page.
    pane->SendMessage(WM_DISPLAY_INFO_CHANGED, 1, 0);
    EXPECT_EQ(L"", StripText(pane->GetCaptionStrip(), 3479));
    EXPECT_EQ(L"", StripText(pane->GetCaptionStrip(), 3480));
}

}  // namespace

namespace {

// A three-lead rhythm record (II, V5, V1) with its beat events.
class RestWaveThreeLeadRhythmTest : public RestWaveRhythmTest {
protected:
    int Leads() const override { return 3; }
};

}  // namespace

TEST_F(RestWaveThreeLeadRhythmTest, TheBeatMarksStopAtTheColumnThatDrawsTheLeads)
{
    ASSERT_GT(Item()->arrEvent.GetSize(), 0);
    m_doc->SetWaveColor(3, RGB(0, 0, 255));
    CWndRestRhythmWave* pane =
        m_wave.Open([this](CWndRestRhythmWave& p) { p.SetRhythmViewDoc(m_doc.get()); }, TRUE, 1920, 1080);
    // Three leads in two columns: the record's leads fill the first.
    pane->ShowRhythmPageStyle(3);
    CViewRhythmWave* view = pane->GetRhythmView();
    ASSERT_EQ(2, view->GetWaveStyle());
    view->UpdateWindow();
    CRect client;
    view->GetClientRect(&client);
    int gridX = 0, gridY = 0;
    view->GetGridCount(gridX, gridY);
    const int x0 = MulDiv(client.Width(), 10, gridX);
    const int middle = x0 + (client.right - x0) / 2;
    CClientDC dc(view);
    auto blue = [&](int from, int to) {
        int n = 0;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = from; x < to; ++x) n += dc.GetPixel(x, y) == RGB(0, 0, 255);
        return n;
    };
    EXPECT_GT(blue(x0, middle), 0);
    EXPECT_EQ(0, blue(middle + 2, client.right));
}
