// The exercise summary page on exercise records written by the record maker:
// the trend-kind combo of treadmill, ergometer and other records, the kept
// kind carried across records, a choice in the combo reaching the trend
// view through the strip, where the children stand, and the focus jump into
// the judgement combo of the interpretation form.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "analysisviews/ViewExerSummaryAverage.h"
#include "analysisviews/ViewExerTrend.h"
#include "analysisviews/ViewMemoryWave.h"
#include "core/UserMessages.h"
#include "controls/CheckStatic.h"
#include "dialogs/DlgCtrl.h"
#include "forms/FormEx.h"
#include "panes/PaneKit.h"
#include "panes/WndExerSummary.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "tests/panes/PaneTestSupport.h"

using platform::ui::Desktop;

namespace {

constexpr int kCombo = 4100;

class ExerSummaryTest : public exertest::ExerDocument {
protected:
    void SetUp() override
    {
        exertest::ExerDocument::SetUp();
        Desktop::Reset();
        m_doc.m_bAutoDelete = FALSE;
    }
    void TearDown() override
    {
        m_host.Close();
        Desktop::Reset();
        exertest::ExerDocument::TearDown();
    }
    void OpenRecord(unsigned short systemCode, const std::string& name = "exer")
    {
        morvelance::ExerciseRecordOptions options = exertest::DefaultOptions();
        options.systemCode = systemCode;
        ASSERT_EQ(0, Open(m_doc, Write(options, nullptr, morvelance::RecordXmlOptions(), name)));
    }
    CWndExerSummary* OpenPane(BOOL showPatient, int width, int height)
    {
        m_screen.Use(m_doc, width, height);
        m_doc.SetCtrlContent(nullptr);
        m_doc.UpdateCtrlStatus();
        CWndExerSummary* pane =
            m_host.Open([this](CWndExerSummary& p) { p.SetExerViewDoc(&m_doc); }, showPatient, width, height);
        pane->SendMessage(WM_SIZE, 0, 0);
        pane->OnUpdate();
        Desktop::PumpMessages();
        return pane;
    }
    CWnd* Combo() { return m_host.pane->GetTrendKindStrip()->GetDlgItem(kCombo); }
    std::vector<std::wstring> Entries()
    {
        std::vector<std::wstring> texts;
        const int count = static_cast<int>(Combo()->SendMessage(CB_GETCOUNT));
        for (int i = 0; i < count; ++i) {
            wchar_t buffer[128] = {};
            Combo()->SendMessage(CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
            texts.push_back(buffer);
        }
        return texts;
    }
    int Selection() { return static_cast<int>(Combo()->SendMessage(CB_GETCURSEL)); }
    // The user's choice: the combo's selection and its notice through the strip.
    void Choose(int index)
    {
        Combo()->SendMessage(CB_SETCURSEL, index);
        m_host.pane->GetTrendKindStrip()->SendMessage(WM_COMMAND, MAKEWPARAM(kCombo, CBN_SELCHANGE),
                                                      reinterpret_cast<LPARAM>(Combo()->GetSafeHwnd()));
    }
    std::wstring LeadName(int k) { return std::wstring(m_doc.GetCurrentDataItem()->strLeadName[morvelance::kSummaryLeads[k]]); }

    CExerViewDoc m_doc;
    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndExerSummary> m_host;
};

}  // namespace

TEST_F(ExerSummaryTest, TreadmillRecordListsFourteenKindsWithSpeedAndElevationThenTheLeadEntries)
{
    OpenRecord(0xFFFC);
    OpenPane(TRUE, 1020, 664);
    const std::vector<std::wstring> entries = Entries();
    ASSERT_EQ(14u, entries.size());
    const std::vector<std::wstring> fixed = {L"心拍数 [bpm]", L"血圧 [mmHg]", L"DPx1000 Irr.Rhy. [Times]",
                                             L"速度 [Km/h]",  L"傾斜 [%]",    L"METs-心拍数",
                                             L"Kcal [Kcal]",  L"METs"};
    for (size_t i = 0; i < fixed.size(); ++i) EXPECT_EQ(fixed[i], entries[i]) << i;
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(L"ST-L [mm]  " + LeadName(k), entries[8 + 2 * k]);
        EXPECT_EQ(L"ST-L [mm]  ST-HR loop  " + LeadName(k), entries[9 + 2 * k]);
    }
    EXPECT_FALSE(LeadName(0).empty());
    EXPECT_EQ(0, Selection());
    EXPECT_EQ(1, m_host.pane->GetTrendView()->GetTrendStyle());

    // An ergometer lists the load in place of speed and elevation.
    OpenRecord(0xFFFD, "ergometer");
    m_host.pane->OnUpdate();
    ASSERT_EQ(13u, Entries().size());
    EXPECT_EQ(L"負荷量 [W]", Entries()[3]);
}

TEST_F(ExerSummaryTest, KeptKindSelectsItsEntryOnEachKindOfRecord)
{
    OpenRecord(0xFFFC);
    CWndExerSummary* pane = OpenPane(TRUE, 1020, 664);
    Choose(7);   // METs
    EXPECT_EQ(9, pane->GetTrendStyle());
    EXPECT_EQ(9, pane->GetTrendView()->GetTrendStyle());

    OpenRecord(0xFFFD, "ergometer");
    pane->OnUpdate();
    EXPECT_EQ(6, Selection());
    EXPECT_EQ(9, pane->GetTrendStyle());

    // Speed is not on an ergometer's list: the first entry, and the kind starts over.
    OpenRecord(0xFFFC, "treadmill");
    pane->OnUpdate();
    Choose(3);
    EXPECT_EQ(4, pane->GetTrendStyle());
    OpenRecord(0xFFFD, "ergometer2");
    pane->OnUpdate();
    EXPECT_EQ(0, Selection());
    EXPECT_EQ(1, pane->GetTrendStyle());
}

TEST_F(ExerSummaryTest, RecordWithoutSpeedOrLoadSelectsTheEntryOfTheKeptKindNotTheOneAfterIt)
{
    OpenRecord(0xFFFC);
    CWndExerSummary* pane = OpenPane(TRUE, 1020, 664);
    Choose(5);   // METs-HR, style 7
    ASSERT_EQ(7, pane->GetTrendStyle());
    // A record whose code names neither treadmill nor ergometer lists neither speed nor load.
    m_doc.GetCurrentDataItem()->uSystemCode = 0x12FA;
    pane->OnUpdate();
    ASSERT_EQ(12u, Entries().size());
    EXPECT_EQ(L"METs-心拍数", Entries()[Selection()]);
    EXPECT_EQ(7, pane->GetTrendStyle());

    m_doc.GetCurrentDataItem()->uSystemCode = 0xFFFC;
    pane->OnUpdate();
    Choose(13);   // the third lead's loop, style 15
    ASSERT_EQ(15, pane->GetTrendStyle());
    m_doc.GetCurrentDataItem()->uSystemCode = 0x12FA;
    pane->OnUpdate();
    EXPECT_EQ(11, Selection());
    EXPECT_EQ(15, pane->GetTrendStyle());
}

TEST_F(ExerSummaryTest, ChoosingALeadEntryGivesTheTrendItsStyleAndLead)
{
    OpenRecord(0xFFFC);
    CWndExerSummary* pane = OpenPane(TRUE, 1020, 664);
    Choose(10);   // ST level of the second summary lead
    EXPECT_EQ(12, pane->GetTrendStyle());
    EXPECT_EQ(12, pane->GetTrendView()->GetTrendStyle());
    EXPECT_EQ(static_cast<int>(m_doc.GetDataLeadIDInverse(morvelance::kSummaryLeads[1])),
              pane->GetTrendView()->GetLeadID());
    Choose(13);
    EXPECT_EQ(15, pane->GetTrendStyle());
}

// With the relative-ST flag the six lead entries, levels and loops alike,
// read "R-ST", and still give the trend the lead's style and lead.
TEST_F(ExerSummaryTest, RelativeSTNamesEveryLeadEntryRSTAndKeepsItsStyleAndLead)
{
    OpenRecord(0xFFFC);
    CWndExerSummary* pane = OpenPane(TRUE, 1020, 664);
    m_doc.GetCurrentDataItem()->bRelativeST = 1;
    pane->OnUpdate();
    const std::vector<std::wstring> entries = Entries();
    ASSERT_EQ(14u, entries.size());
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(L"R-ST [mm]  " + LeadName(k), entries[8 + 2 * k]) << k;
        EXPECT_EQ(L"R-ST [mm]  ST-HR loop  " + LeadName(k), entries[9 + 2 * k]) << k;
        for (int loop = 0; loop < 2; ++loop) {
            Choose(8 + 2 * k + loop);
            EXPECT_EQ(10 + 2 * k + loop, pane->GetTrendView()->GetTrendStyle()) << k << " " << loop;
            EXPECT_EQ(static_cast<int>(m_doc.GetDataLeadIDInverse(morvelance::kSummaryLeads[k])),
                      pane->GetTrendView()->GetLeadID());
        }
    }
}

TEST_F(ExerSummaryTest, WithoutThePatientStripTheFormStartsAtFiveUnitsAndTheStripFitsUnderTheViews)
{
    OpenRecord(0xFFFC);
    for (BOOL showPatient : {TRUE, FALSE}) {
        const int W = 1920, H = 1080;
        CWndExerSummary* pane = OpenPane(showPatient, W, H);
        const panes::VirtualPage page(W, H, panes::VirtualPage::PageHeight(showPatient));
        const CRect form = m_host.Rect(pane->GetInterpretationFrame());
        EXPECT_EQ(page.Y(showPatient ? 55 : 0) + page.Y(5), form.top);
        EXPECT_EQ(showPatient, pane->GetPatientFrame()->IsWindowVisible());
        const CRect average = m_host.Rect(pane->GetAverageView());
        EXPECT_EQ(form.bottom + page.Y(5), average.top);
        EXPECT_EQ(page.X(601), average.Width());
        EXPECT_EQ(average.bottom, m_host.Rect(pane->GetTrendView()).bottom);
        EXPECT_EQ(average.top, m_host.Rect(pane->GetTrendKindStrip()).top);
        const CRect memory = m_host.Rect(pane->GetMemoryView());
        int across = 0, down = 0;
        pane->GetMemoryView()->GetGridCount(across, down);
        EXPECT_EQ(250, across);
        EXPECT_EQ(0, down % 5);
        EXPECT_GT(down, 0);
        EXPECT_LE(memory.bottom, H - page.Y(10) + 1) << showPatient;
        EXPECT_GE(memory.top, average.bottom);
        // Centred in what the average view leaves.
        EXPECT_LE(std::abs((memory.top - average.bottom) - (H - memory.bottom)), 1);
    }
}

TEST_F(ExerSummaryTest, FocusJumpEntryOneReachesTheJudgementComboOfTheExerciseForm)
{
    OpenRecord(0xFFFC);
    CWndExerSummary* pane = OpenPane(TRUE, 1020, 664);
    CWnd* combo = panes::FrameForm(pane->GetInterpretationFrame())->GetDlgItem(4036);
    ASSERT_NE(nullptr, combo);
    ASSERT_TRUE(combo->IsWindowVisible() && combo->IsWindowEnabled());
    int entryOne[3] = {panes::kFromPatientForm, panes::kForward, 1};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(entryOne), 0));
    // A combo with an edit field passes the focus on to its field.
    CWnd* focus = CWnd::GetFocus();
    ASSERT_NE(nullptr, focus);
    EXPECT_TRUE(focus->GetSafeHwnd() == combo->GetSafeHwnd() || focus->GetParent()->GetSafeHwnd() == combo->GetSafeHwnd());
    int fromHost[3] = {panes::kFromHost, panes::kForward, 0};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromHost), 0));
    int first[3] = {panes::kFromInterpretation, panes::kForward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(first), 0));
    EXPECT_EQ(panes::FrameForm(pane->GetPatientFrame())->GetSafeHwnd(), CWnd::GetFocus()->GetParent()->GetSafeHwnd());
}

// The interpretation form of the page in its band: the request, load and judgement columns
// each fit the frame the pane gives the form, so every control shows whole without scrolling,
// and Tab walks through every control that takes the focus.
TEST_F(ExerSummaryTest, EveryControlOfTheExerciseFormLiesInsideItsFrameAndTabReachesEach)
{
    OpenRecord(0xFFFC);
    const CSize screens[] = {{1920, 1080}, {1024, 768}};
    for (const CSize& screen : screens) {
        SCOPED_TRACE(screen.cx);
        CWndExerSummary* pane = OpenPane(TRUE, screen.cx, screen.cy);
        CFrameWnd* frame = pane->GetInterpretationFrame();
        CFormEx* form = panes::FrameForm(frame);
        ASSERT_NE(nullptr, form);
        CRect band;
        form->GetClientRect(&band);
        form->ClientToScreen(&band);
        CRect frameArea;
        frame->GetClientRect(&frameArea);
        frame->ClientToScreen(&frameArea);
        band.IntersectRect(&band, &frameArea);
        std::set<int> focusable;
        int shown = 0;
        for (CWnd* child = form->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
            if (!child->IsWindowVisible()) continue;
            const int id = child->GetDlgCtrlID();
            CRect place;
            child->GetWindowRect(&place);
            CRect inside;
            inside.IntersectRect(&place, &band);
            EXPECT_TRUE(inside == place) << "control " << id << " (" << place.left << ", " << place.top << ", "
                                         << place.right << ", " << place.bottom << ") outside (" << band.left
                                         << ", " << band.top << ", " << band.right << ", " << band.bottom << ")";
            ++shown;
            if (child->IsWindowEnabled() && (child->GetStyle() & WS_TABSTOP) && !child->IsKindOf(RUNTIME_CLASS(CCheckStatic)))
                focusable.insert(id);
        }
        EXPECT_GE(shown, 30);
        // The judgement, the comment button and the comment box: the end of the form.
        for (int id : {4036, 4057, 4017}) EXPECT_EQ(1u, focusable.count(id)) << id;

        form->GetDlgItem(4019)->SetFocus();
        std::set<int> reached;
        for (int press = 0; press < 120 && reached.size() < focusable.size(); ++press) {
            for (CWnd* focus = CWnd::GetFocus(); focus; focus = focus->GetParent()) {
                if (focus->GetParent() == form) {
                    reached.insert(focus->GetDlgCtrlID());
                    break;
                }
            }
            Desktop::KeyPress(VK_TAB);
            Desktop::PumpMessages();
        }
        for (int id : focusable) EXPECT_EQ(1u, reached.count(id)) << "Tab never reaches " << id;
        m_host.Close();
    }
}
