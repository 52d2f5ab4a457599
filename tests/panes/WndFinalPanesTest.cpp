// The master-step pages on master-step records written by the record maker:
// the summary page's caption and where its rows end with the patient strip
// shown and hidden, at the designed size and on a large screen; the focus
// jump into the judgement combo; the comparison page paged by clicks on the
// desktop and never past either end; the twelve ST trends in their grid.
#include <gtest/gtest.h>

#include "analysisviews/ViewCAL.h"
#include "analysisviews/ViewHRTrend.h"
#include "analysisviews/ViewFinalCom12Leads.h"
#include "analysisviews/ViewFinalCom1Lead.h"
#include "analysisviews/ViewSTTrend.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgPreNext.h"
#include "forms/FormEx.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"
#include "panes/WndFinalSTTrend.h"
#include "panes/WndFinalSummary.h"
#include "panes/WndFinalWaveCom.h"
#include "platform/base/Kernel.h"
#include "tests/analysisviews/FinalViewTestSupport.h"
#include "tests/panes/PaneTestSupport.h"

using platform::ui::Desktop;

namespace {

class FinalPaneTest : public finaltest::FinalDocTest {
protected:
    void SetUp() override
    {
        finaltest::FinalDocTest::SetUp();
        Desktop::Reset();
        m_doc.m_bAutoDelete = FALSE;
    }
    void TearDown() override
    {
        m_summary.Close();
        m_waveCom.Close();
        m_trend.Close();
        Desktop::Reset();
        finaltest::FinalDocTest::TearDown();
    }
    // A record of `loads` post-load recordings whose deepest ST lies in the
    // first one, recorded `minutes`'`seconds`" after the load.
    void OpenRecord(int loads, int minutes, int seconds)
    {
        morvelance::MasterStepOptions options;
        options.loadMinutes = {minutes, minutes + 2, minutes + 4, minutes + 6, minutes + 8};
        const morvelance::MasterStepRecord record = finalviewtest::RecordWithLoads(loads, options);
        std::string xml;
        const std::string path = Write(record, &xml);
        finaltest::WriteXmlValue(xml, L"/Rawdata/Tavrion/Report/Cmp_load/Cmp_load_element[1]/Pec_time",
                                 std::to_wstring(seconds).c_str(), L"second");
        ASSERT_EQ(0, Open(m_doc, path, xml));
        m_doc.InitialSense();
    }
    void UseScreen(int width, int height)
    {
        m_screen.Use(m_doc, width, height);
        m_doc.SetCtrlContent(nullptr);
        m_doc.UpdateCtrlStatus();
    }
    CWndFinalSummary* OpenSummary(BOOL showPatient, int width, int height)
    {
        UseScreen(width, height);
        CWndFinalSummary* pane = m_summary.Open([this](CWndFinalSummary& p) { p.SetFinalViewDoc(&m_doc); },
                                                showPatient, width, height);
        pane->SendMessage(WM_SIZE, 0, 0);
        pane->OnUpdate();
        Desktop::PumpMessages();
        return pane;
    }
    CWndFinalWaveCom* OpenWaveCom(int width, int height)
    {
        UseScreen(width, height);
        CWndFinalWaveCom* pane =
            m_waveCom.Open([this](CWndFinalWaveCom& p) { p.SetFinalViewDoc(&m_doc); }, TRUE, width, height);
        pane->SendMessage(WM_SIZE, 0, 0);
        pane->OnUpdate();
        Desktop::PumpMessages();
        return pane;
    }
    static CString Text(CDlgCtrl* strip, int id)
    {
        CString text;
        if (CWnd* item = strip->GetDlgItem(id)) item->GetWindowText(text);
        return text;
    }
    CWnd* Button(int id) { return m_waveCom.pane->GetPreNextStrip()->GetDlgItem(id); }
    void Press(int id)
    {
        CRect rect;
        Button(id)->GetWindowRect(&rect);
        Desktop::Click(rect.CenterPoint());
        Desktop::PumpMessages();
    }
    // Where the rows must end: five units above the bottom of the page.
    static int RowsBottom(int height, BOOL showPatient)
    {
        return height - MulDiv(height, 5, panes::VirtualPage::PageHeight(showPatient));
    }

    CFinalViewDoc m_doc;
    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndFinalSummary> m_summary;
    panetest::PaneHost<CWndFinalWaveCom> m_waveCom;
    panetest::PaneHost<CWndFinalSTTrend> m_trend;
};

}  // namespace

// ---- the summary page ------------------------------------------------------------------------

TEST_F(FinalPaneTest, SummaryCaptionGivesThePostLoadTimeInMinutesPrimeAndTwoDigitSecondsDoublePrime)
{
    OpenRecord(3, 3, 5);
    CWndFinalSummary* pane = OpenSummary(TRUE, 1020, 664);
    CDlgCtrl* caption = pane->GetCaptionStrip();
    EXPECT_EQ(CString(L"安静時"), Text(caption, 3478));
    EXPECT_EQ(CString(L"負荷後 3\u201905\u201D"), Text(caption, 3479));
    CString settings;
    settings.Format(L"%.2f mm/mV  25 mm/s  %d Hz", m_doc.GetCommonSense(0), m_doc.GetFilter());
    EXPECT_EQ(settings, Text(caption, 3480));
    EXPECT_TRUE(caption->GetDlgItem(3479)->IsWindowVisible());
}

TEST_F(FinalPaneTest, SummaryRowsEndFiveUnitsAboveTheBottomWithThePatientStripShownOrHidden)
{
    OpenRecord(3, 1, 0);
    const int sizes[][2] = {{1020, 664}, {1920, 1080}, {1020, 614}};
    for (const auto& size : sizes) {
        for (BOOL showPatient : {TRUE, FALSE}) {
            const int W = size[0], H = size[1];
            CWndFinalSummary* pane = OpenSummary(showPatient, W, H);
            const panes::VirtualPage page(W, H, panes::VirtualPage::PageHeight(showPatient));
            const CRect calibration = m_summary.Rect(pane->GetCalView(1));
            EXPECT_EQ(RowsBottom(H, showPatient), calibration.bottom) << W << "x" << H << " " << showPatient;
            for (int i = 6; i < 12; ++i)
                EXPECT_EQ(calibration.bottom, m_summary.Rect(pane->GetLeadView(i)).bottom) << "view " << i;
            // The first row under the caption, the second five units below it.
            const CRect first = m_summary.Rect(pane->GetLeadView(0));
            EXPECT_EQ(first.bottom + page.Y(5), m_summary.Rect(pane->GetLeadView(6)).top);
            EXPECT_EQ(m_summary.Rect(pane->GetCaptionStrip()).top - 1 + page.Y(20), first.top);
            // The form starts under the strip, or at five units without it.
            const CRect form = m_summary.Rect(pane->GetInterpretationFrame());
            EXPECT_EQ(page.Y(showPatient ? 55 : 0) + page.Y(5), form.top);
            EXPECT_EQ(showPatient, pane->GetPatientFrame()->IsWindowVisible());
            // The ST trend ends with the form, the caption one pixel below.
            EXPECT_EQ(form.bottom, m_summary.Rect(pane->GetSTTrendView()).bottom);
            EXPECT_EQ(form.bottom + 1, m_summary.Rect(pane->GetCaptionStrip()).top);
        }
    }
}

TEST_F(FinalPaneTest, SummaryFocusJumpOfEntryOneReachesTheJudgementComboAndTheAmericanFormIsNotHeard)
{
    OpenRecord(3, 1, 0);
    CWndFinalSummary* pane = OpenSummary(TRUE, 1020, 664);
    CFormEx* interpretation = panes::FrameForm(pane->GetInterpretationFrame());
    ASSERT_NE(nullptr, interpretation);
    CWnd* combo = interpretation->GetDlgItem(3618);
    ASSERT_NE(nullptr, combo);
    ASSERT_TRUE(combo->IsWindowVisible() && combo->IsWindowEnabled());
    int entryOne[3] = {panes::kFromPatientForm, panes::kForward, 1};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(entryOne), 0));
    // A combo with an edit field passes the focus on to its field.
    CWnd* focus = CWnd::GetFocus();
    ASSERT_NE(nullptr, focus);
    EXPECT_TRUE(focus->GetSafeHwnd() == combo->GetSafeHwnd() || focus->GetParent()->GetSafeHwnd() == combo->GetSafeHwnd());

    int american[3] = {panes::kFromUSInterpretation, panes::kForward, 1};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(american), 0));
}

// ---- the comparison page ---------------------------------------------------------------------

TEST_F(FinalPaneTest, ComparisonWithOnePageDisablesBackAndNext)
{
    OpenRecord(3, 1, 0);
    CWndFinalWaveCom* pane = OpenWaveCom(1020, 664);
    ASSERT_EQ(1, pane->GetComView()->GetTotalPage());
    EXPECT_FALSE(Button(panes::kBackButton)->IsWindowEnabled());
    EXPECT_FALSE(Button(panes::kNextButton)->IsWindowEnabled());
    // A command that reaches the pane all the same leaves the page where it is.
    pane->SendMessage(WM_COMMAND, MAKEWPARAM(panes::kBackButton, BN_CLICKED), 0);
    pane->SendMessage(WM_COMMAND, MAKEWPARAM(panes::kNextButton, BN_CLICKED), 0);
    EXPECT_EQ(0, pane->GetComView()->GetCurrentPage());
    EXPECT_FALSE(Button(panes::kNextButton)->IsWindowEnabled());
}

TEST_F(FinalPaneTest, ComparisonButtonsStayDisabledBeforeTheFirstUpdate)
{
    OpenRecord(5, 1, 0);
    UseScreen(1020, 664);
    CWndFinalWaveCom* pane =
        m_waveCom.Open([this](CWndFinalWaveCom& p) { p.SetFinalViewDoc(&m_doc); }, TRUE, 1020, 664);
    EXPECT_FALSE(pane->GetPreNextStrip()->GetDlgItem(panes::kBackButton)->IsWindowEnabled());
    pane->SendMessage(WM_COMMAND, MAKEWPARAM(panes::kBackButton, BN_CLICKED), 0);
    EXPECT_EQ(0, pane->GetComView()->GetCurrentPage());
}

TEST_F(FinalPaneTest, ComparisonPagesByClicksAndStopsAtEitherEnd)
{
    OpenRecord(5, 1, 0);
    CWndFinalWaveCom* pane = OpenWaveCom(1020, 664);
    ASSERT_EQ(2, pane->GetComView()->GetTotalPage());
    EXPECT_FALSE(Button(panes::kBackButton)->IsWindowEnabled());
    EXPECT_TRUE(Button(panes::kNextButton)->IsWindowEnabled());
    Press(panes::kNextButton);
    EXPECT_EQ(1, pane->GetComView()->GetCurrentPage());
    EXPECT_TRUE(Button(panes::kBackButton)->IsWindowEnabled());
    EXPECT_FALSE(Button(panes::kNextButton)->IsWindowEnabled());
    pane->SendMessage(WM_COMMAND, MAKEWPARAM(panes::kNextButton, BN_CLICKED), 0);
    EXPECT_EQ(1, pane->GetComView()->GetCurrentPage());
    Press(panes::kBackButton);
    EXPECT_EQ(0, pane->GetComView()->GetCurrentPage());
    EXPECT_FALSE(Button(panes::kBackButton)->IsWindowEnabled());
    EXPECT_TRUE(Button(panes::kNextButton)->IsWindowEnabled());
}

// ---- the ST trend page -----------------------------------------------------------------------

TEST_F(FinalPaneTest, TrendPageIsMadeFromItsClassAndPlacesTwelveLeadsInFourColumnsOfThree)
{
    OpenRecord(3, 1, 0);
    UseScreen(1020, 664);
    CObject* made = RUNTIME_CLASS(CWndFinalSTTrend)->CreateObject();
    ASSERT_NE(nullptr, made);
    ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(CWndFinalSTTrend)));
    delete made;
    CWndFinalSTTrend* pane =
        m_trend.Open([this](CWndFinalSTTrend& p) { p.SetFinalViewDoc(&m_doc); }, TRUE, 1020, 664);
    pane->SendMessage(WM_SIZE, 0, 0);
    pane->OnUpdate();
    const int width = (1000 - 15) / 4, height = (650 - 10) / 3;
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(panetest::Box(10 + (i / 3) * (width + 5), 7 + (i % 3) * (height + 5), width, height),
                  m_trend.Rect(pane->GetTrendView(i)))
            << "lead " << i;
        EXPECT_EQ(i, pane->GetTrendView(i)->GetLead());
    }
}

// The trend graphs paint their ground only when it is erased: an update that
// had them painted again without it drew every text and curve on itself.
TEST_F(FinalPaneTest, UpdatingTheSummaryAndTrendPagesAgainLeavesTheirGraphsAsDrawn)
{
    OpenRecord(3, 1, 0);
    CWndFinalSummary* summary = OpenSummary(TRUE, 1020, 664);
    const std::vector<COLORREF> heartRate = panetest::Shown(summary->GetHRTrendView());
    const std::vector<COLORREF> st = panetest::Shown(summary->GetSTTrendView());
    summary->OnUpdate();
    EXPECT_EQ(0, panetest::Differing(heartRate, panetest::Shown(summary->GetHRTrendView())));
    EXPECT_EQ(0, panetest::Differing(st, panetest::Shown(summary->GetSTTrendView())));
    m_summary.Close();
    CWndFinalSTTrend* trend = m_trend.Open([this](CWndFinalSTTrend& p) { p.SetFinalViewDoc(&m_doc); }, TRUE, 1020, 664);
    trend->SendMessage(WM_SIZE, 0, 0);
    trend->OnUpdate();
    const std::vector<COLORREF> lead = panetest::Shown(trend->GetTrendView(0));
    trend->OnUpdate();
    EXPECT_EQ(0, panetest::Differing(lead, panetest::Shown(trend->GetTrendView(0))));
}

TEST_F(FinalPaneTest, PagesWithoutADocumentMoveNothingAndPageNowhere)
{
    CWndFinalSummary* summary = m_summary.Open([](CWndFinalSummary&) {}, TRUE, 1020, 664);
    summary->SendMessage(WM_SIZE, 0, 0);
    summary->OnUpdate();
    EXPECT_TRUE(m_summary.Rect(summary->GetLeadView(0)).IsRectEmpty());
    CWndFinalWaveCom* com = m_waveCom.Open([](CWndFinalWaveCom&) {}, TRUE, 1020, 664);
    com->SendMessage(WM_SIZE, 0, 0);
    com->OnUpdate();
    com->SendMessage(WM_COMMAND, MAKEWPARAM(panes::kNextButton, BN_CLICKED), 0);
    EXPECT_EQ(0, com->GetComView()->GetCurrentPage());
    EXPECT_TRUE(m_waveCom.Rect(com->GetComView()).IsRectEmpty());
    CWndFinalSTTrend* trend = m_trend.Open([](CWndFinalSTTrend&) {}, TRUE, 1020, 664);
    trend->SendMessage(WM_SIZE, 0, 0);
    trend->OnUpdate();
    EXPECT_TRUE(m_trend.Rect(trend->GetTrendView(0)).IsRectEmpty());
}
