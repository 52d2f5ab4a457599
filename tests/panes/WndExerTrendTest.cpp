// The exercise trend page on treadmill (0xFFFC) and other exercise records
// written by the record maker: the summary page's graphs and lists per
// system code, the ST and ST-HR loop pages chosen by their buttons on the
// desktop, the combo's choice by keys, the page kept in the record's item,
// the print layout of the page shown, the grid of graphs, and a page
// without a record.
#include <gtest/gtest.h>

#include "analysisviews/ViewExerTrend.h"
#include "dialogs/DlgCtrl.h"
#include "panes/PaneKit.h"
#include "panes/WndExerAverageStrips.h"
#include "panes/WndExerTrend.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "tests/panes/PaneTestSupport.h"
#include "tests/support/ModalScript.h"

using platform::ui::Desktop;

namespace {

constexpr int kCombo = 4104;

class ExerTrendPaneTest : public exertest::ExerDocument {
protected:
    void SetUp() override
    {
        exertest::ExerDocument::SetUp();
        m_screen.Fresh(m_doc, 1020, 664);
    }
    void TearDown() override
    {
        m_host.Close();
        exertest::ExerDocument::TearDown();
    }
    void OpenRecord(uint16_t systemCode)
    {
        morvelance::ExerciseRecordOptions o = exertest::DefaultOptions();
        o.systemCode = systemCode;
        ASSERT_EQ(0, Open(m_doc, Write(o)));
    }
    CWndExerTrend* Show()
    {
        CWndExerTrend* pane = m_host.Open([this](CWndExerTrend& p) { p.SetExerViewDoc(&m_doc); }, TRUE, 1020, 664);
        pane->SendMessage(WM_SIZE, 0, 0);
        pane->OnUpdate();
        Desktop::PumpMessages();
        return pane;
    }
    _EXERDATAITEM& Item() { return *m_doc.GetCurrentDataItem(); }
    CDlgCtrl* Strip() { return m_host.pane->GetTrendStrip(); }
    void Press(int id)
    {
        CRect rect;
        Strip()->GetDlgItem(id)->GetWindowRect(&rect);
        Desktop::Click(rect.CenterPoint());
        Desktop::PumpMessages();
    }
    std::vector<int> Styles()
    {
        std::vector<int> styles;
        for (int i = 0; i < CWndExerTrend::VIEWS; ++i) styles.push_back(m_host.pane->GetTrendView(i)->GetTrendStyle());
        return styles;
    }
    std::vector<CString> ComboList()
    {
        std::vector<CString> texts;
        const int count = panes::ComboCount(Strip(), kCombo);
        for (int i = 0; i < count; ++i) texts.push_back(panes::ComboText(Strip(), kCombo, i));
        return texts;
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndExerTrend> m_host;
    CExerViewDoc m_doc;
};

TEST_F(ExerTrendPaneTest, TreadmillSummaryPageShowsSpeedElevationTheComboGraphAndTheSummaryLeads)
{
    OpenRecord(0xFFFC);
    CWndExerTrend* pane = Show();
    EXPECT_EQ((std::vector<CString>{L"METs / bpm", L"Kcal / time", L"METs / time"}), ComboList());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 7, 10, 10, 10, 11, 11, 11}), Styles());
    for (int i = 6; i < CWndExerTrend::VIEWS; ++i)
        EXPECT_EQ(static_cast<int>(m_doc.GetDataLeadIDInverse(Item().nExtra3Lead[i % 3])),
                  pane->GetTrendView(i)->GetLeadID())
            << i;
    EXPECT_EQ(3, pane->GetCurrentPrintStyle());

    testsupport::ChooseListEntry(*Strip(), kCombo, 1);   // Kcal / time
    EXPECT_EQ(8, pane->GetTrendView(5)->GetTrendStyle());
    EXPECT_EQ(1, Item().nTrendSummarySel);
    EXPECT_EQ(8, pane->GetTrendTypeFromCmb(1));
}

TEST_F(ExerTrendPaneTest, OtherRecordsListTwoSummaryGraphsAndAStoredThirdChoiceComesBackAsTheLast)
{
    OpenRecord(0xFFFD);
    CWndExerTrend* pane = Show();
    EXPECT_EQ((std::vector<CString>{L"METs / bpm", L"Kcal / time"}), ComboList());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 6, 7, 9, 10, 10, 10, 11, 11, 11}), Styles());
    Item().nTrendSummarySel = 2;
    EXPECT_EQ(0, pane->GetTrendTypeFromCmb(1));   // no METs against time on these records
    pane->OnUpdate();
    EXPECT_EQ(1, Item().nTrendSummarySel);
    EXPECT_EQ(1, panes::ComboSelection(Strip(), kCombo));
    EXPECT_EQ(8, pane->GetTrendView(4)->GetTrendStyle());
}

TEST_F(ExerTrendPaneTest, STPageShowsTheChosenMeasureInEveryLeadAndTheLoopPageKeepsItsList)
{
    OpenRecord(0xFFFC);
    CWndExerTrend* pane = Show();
    Press(4102);
    EXPECT_EQ(1, Item().nTrendPage);
    EXPECT_EQ(0, Item().bTrendList);
    EXPECT_EQ((std::vector<CString>{L"ST Level", L"ST Slope", L"ST Index", L"R 波高"}), ComboList());
    EXPECT_EQ(std::vector<int>(12, 10), Styles());
    for (int i = 0; i < CWndExerTrend::VIEWS; ++i) EXPECT_EQ(i, pane->GetTrendView(i)->GetLeadID());
    EXPECT_EQ(4, pane->GetCurrentPrintStyle());

    testsupport::ChooseListEntry(*Strip(), kCombo, 1);   // ST Slope
    EXPECT_EQ(std::vector<int>(12, 16), Styles());
    EXPECT_EQ(1, Item().nTrendSTSel);
    EXPECT_EQ(5, pane->GetCurrentPrintStyle());

    Press(4103);
    EXPECT_EQ(2, Item().nTrendPage);
    EXPECT_FALSE(Strip()->GetDlgItem(kCombo)->IsWindowEnabled());
    EXPECT_EQ(4u, ComboList().size());
    EXPECT_EQ(std::vector<int>(12, 11), Styles());
    EXPECT_EQ(8, pane->GetCurrentPrintStyle());

    Press(4102);
    panes::ComboSelect(Strip(), kCombo, -1);
    EXPECT_EQ(9, pane->GetCurrentPrintStyle());   // the ST page without a measure
}

TEST_F(ExerTrendPaneTest, LoopPageAfterTheSummaryKeepsTheSummaryListAndTheRecordKeepsItsPage)
{
    OpenRecord(0xFFFC);
    Show();
    Press(4103);
    EXPECT_EQ(2, Item().nTrendPage);
    EXPECT_EQ(3u, ComboList().size());   // the summary list stays in the disabled combo

    Item().nTrendPage = 1;   // left on the ST page
    m_host.Close();
    Show();
    EXPECT_TRUE(panes::IsStripButtonChecked(Strip(), 4102));
    EXPECT_FALSE(panes::IsStripButtonChecked(Strip(), 4101));
    EXPECT_EQ(L"ST Level", ComboList().front());
    EXPECT_EQ(std::vector<int>(12, 10), Styles());
}

TEST_F(ExerTrendPaneTest, TwelveGraphsFillFourColumnsOfThreeRows)
{
    OpenRecord(0xFFFC);
    CWndExerTrend* pane = Show();
    // Columns (1000 - 15) / 4 units, rows (630 - 10) / 3, 5 units apart.
    EXPECT_EQ(panetest::Box(10, 27, 246, 206), m_host.Rect(pane->GetTrendView(0)));
    EXPECT_EQ(panetest::Box(261, 238, 246, 206), m_host.Rect(pane->GetTrendView(4)));
    EXPECT_EQ(panetest::Box(763, 449, 246, 206), m_host.Rect(pane->GetTrendView(11)));
    EXPECT_EQ(panetest::Box(10, 3, 950, 20), m_host.Rect(Strip()));
}

TEST_F(ExerTrendPaneTest, WithoutARecordEveryCommandIsSwallowed)
{
    CWndExerTrend* pane = Show();
    EXPECT_EQ(255, pane->OnCmdMsg(4101, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(0, pane->GetTrendTypeFromCmb(0));
    EXPECT_EQ(0, panes::ComboCount(Strip(), kCombo));
}

}  // namespace
