// The US-style resting wave page on resting records written by the record
// maker: the interpretation form between the patient strip and the waves,
// hidden by the column layouts; its one-lead strip in the five-row grid;
// Tab pressed between its two forms.
#include <gtest/gtest.h>

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "forms/FormEx.h"
#include "panes/PaneKit.h"
#include "panes/WndRestRhythmWaveAme.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

using panetest::Box;
using platform::ui::Desktop;
using RecordKind = morvelance::rec::RecordKind;

namespace {

class RestWaveAmePaneTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_screen.Fresh(m_doc, 1920, 1080);
        morvelance::RestRecordShape shape = resttest::Shape(RecordKind::Rest12);
        ASSERT_EQ(0, Open(AddRecord("ame.ecg", shape)));
    }
    void TearDown() override
    {
        m_host.Close();
        resttest::RestDocFixture::TearDown();
    }
    CWndRestRhythmWaveAme* Open(BOOL showPatient = TRUE, int width = 1020, int height = 664)
    {
        return m_host.Open([this](CWndRestRhythmWaveAme& p) { p.SetRestViewDoc(&m_doc); }, showPatient, width,
                           height);
    }
    CWndRestRhythmWaveAme* Show(int style, BOOL showPatient = TRUE, int width = 1020, int height = 664)
    {
        CWndRestRhythmWaveAme* pane = Open(showPatient, width, height);
        pane->ShowRestPageStyle(style);
        Desktop::PumpMessages();
        return pane;
    }
    using resttest::RestDocFixture::Open;
    CWnd* Item(CDlgCtrl* strip, int id) { return strip->GetDlgItem(id); }
    LRESULT Jump(CWnd* pane, int source, int direction)
    {
        int jump[3] = {source, direction, 0};
        return pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(jump), 0);
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndRestRhythmWaveAme> m_host;
};

TEST_F(RestWaveAmePaneTest, TheInterpretationStandsBetweenThePatientStripAndTheCaption)
{
    CWndRestRhythmWaveAme* pane = Show(3);
    EXPECT_TRUE(pane->IsShowInterpretation());
    EXPECT_EQ(Box(16, 4, 989, 50), m_host.Rect(pane->GetPatientFrame()));
    EXPECT_EQ(Box(16, 57, 989, 107), m_host.Rect(pane->GetInterpretationFrame()));
    EXPECT_TRUE(pane->GetInterpretationFrame()->IsWindowVisible());
    EXPECT_EQ(Box(56, 164, 949, 18), m_host.Rect(pane->GetCaptionStrip()));
    const CRect view = m_host.Rect(pane->GetRhythmView());
    EXPECT_EQ(182, view.top);
    EXPECT_LE(view.bottom, m_host.Rect(pane->GetOneLeadView()).top);
}

TEST_F(RestWaveAmePaneTest, TheColumnStyleHidesTheInterpretationAndMovesTheStripRowUp)
{
    CWndRestRhythmWaveAme* pane = Show(31);
    EXPECT_FALSE(pane->IsShowInterpretation());
    EXPECT_FALSE(pane->GetInterpretationFrame()->IsWindowVisible());
    EXPECT_EQ(11, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_EQ(Box(50, 54, 960, 18), m_host.Rect(pane->GetCaptionStrip()));
    pane->ShowRestPageStyle(6);   // a half page of the resting record shows it again
    EXPECT_TRUE(pane->GetInterpretationFrame()->IsWindowVisible());
    EXPECT_EQ(164, m_host.Rect(pane->GetCaptionStrip()).top);
}

TEST_F(RestWaveAmePaneTest, WithBothFormsHiddenTheStripRowStartsAtOne)
{
    CWndRestRhythmWaveAme* pane = Show(32, FALSE, 1020, 614);
    EXPECT_FALSE(pane->GetPatientFrame()->IsWindowVisible());
    EXPECT_EQ(1, m_host.Rect(pane->GetCaptionStrip()).top);
    EXPECT_EQ(19, m_host.Rect(pane->GetRhythmView()).top);
}

TEST_F(RestWaveAmePaneTest, BeforeAnyStyleTheStripShowsTheFiveRowLayout)
{
    CWndRestRhythmWaveAme* pane = Open();
    EXPECT_EQ(15, pane->GetOneLeadView()->GetWaveStyle());
    pane->ShowRestPageStyle(9);
    EXPECT_EQ(15, pane->GetOneLeadView()->GetWaveStyle());
    EXPECT_EQ(3, pane->GetRhythmView()->GetWaveStyle());
}

TEST_F(RestWaveAmePaneTest, StylesOutsideItsListChangeNothing)
{
    CWndRestRhythmWaveAme* pane = Show(15);
    const CRect view = m_host.Rect(pane->GetRhythmView());
    for (int style : {1, 2, 5, 7, 33, 34}) {
        pane->ShowRestPageStyle(style);
        EXPECT_EQ(5, pane->GetRhythmView()->GetWaveStyle()) << style;
        EXPECT_EQ(5, m_doc.GetRhythmWaveStyle()) << style;
        EXPECT_EQ(view, m_host.Rect(pane->GetRhythmView())) << style;
    }
}

TEST_F(RestWaveAmePaneTest, TabRunsFromThePatientFormIntoTheInterpretationAndBack)
{
    CWndRestRhythmWaveAme* pane = Show(3);
    CFormEx* interpretation = panes::FrameForm(pane->GetInterpretationFrame());
    CFormEx* patient = panes::FrameForm(pane->GetPatientFrame());
    ASSERT_NE(nullptr, interpretation);
    ASSERT_EQ(1, Jump(pane, 1, 2));
    EXPECT_TRUE(interpretation->IsChild(CWnd::GetFocus()));
    EXPECT_TRUE(interpretation->GetJumpStatus());
    ASSERT_EQ(1, Jump(pane, 3, 1));
    EXPECT_TRUE(patient->IsChild(CWnd::GetFocus()));
    EXPECT_TRUE(patient->GetJumpStatus());
    // The other interpretation forms and the host do not lead here.
    EXPECT_EQ(0, Jump(pane, 2, 2));
    EXPECT_EQ(0, Jump(pane, 0, 2));
}

TEST_F(RestWaveAmePaneTest, TabPressedAtTheEndOfThePatientFormLandsInTheInterpretation)
{
    CWndRestRhythmWaveAme* pane = Show(3);
    CFormEx* interpretation = panes::FrameForm(pane->GetInterpretationFrame());
    // Into the patient form's last control, as Shift+Tab from the interpretation lands.
    ASSERT_EQ(1, Jump(pane, 3, 1));
    interpretation->SetJumpStatus(FALSE);
    Desktop::KeyPress(VK_TAB);
    Desktop::PumpMessages();
    CWnd* focus = CWnd::GetFocus();
    ASSERT_NE(nullptr, focus);
    EXPECT_TRUE(interpretation->IsChild(focus));
    EXPECT_TRUE(interpretation->GetJumpStatus());
}

}  // namespace
