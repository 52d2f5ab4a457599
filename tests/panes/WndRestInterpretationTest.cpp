// The interpretation page on resting, MFER and rhythm records written by the
// record maker: where the form, the average beats and the strip stand per
// page style, with and without the patient strip and in display size mode 5;
// the caption line of each kind; the focus between its two forms; a pane
// sized to nothing, and one made without a document.
#include <gtest/gtest.h>

#include "analysisviews/ViewAverageWave.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "forms/FormInterpre.h"
#include "forms/FormInterpreRhyRR.h"
#include "panes/PaneKit.h"
#include "panes/WndRestInterpretation.h"
#include "platform/base/Kernel.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"
#include "tests/panes/RestInterpretationPaneFixture.h"
#include "waveviews/ViewScroll1LeadWave.h"

using panetest::Box;
using platform::ui::Desktop;

namespace {

CWnd* Item(CWndRestInterpretation* pane, int id) { return pane->GetCaptionStrip()->GetDlgItem(id); }

CString CaptionText(CWndRestInterpretation* pane, int id)
{
    CString text;
    Item(pane, id)->GetWindowText(text);
    return text;
}

int GridRows(CWaveView* view)
{
    int columns = 0, rows = 0;
    view->GetGridCount(columns, rows);
    return rows;
}

int GridColumns(CWaveView* view)
{
    int columns = 0, rows = 0;
    view->GetGridCount(columns, rows);
    return columns;
}

// The strip's height for a width from its grid, as the page sizes it.
int StripHeight(CWaveView* strip, int width)
{
    int columns = 0, rows = 0;
    strip->GetGridCount(columns, rows);
    return static_cast<int>(static_cast<double>(width) / columns * rows) + 1;
}

class RestInterpretationPaneTest : public panetest::RestInterpretationPaneFixture {};

TEST_F(RestInterpretationPaneTest, FullPagePutsTheFormBesideTheAverageBeatsAndCentresTheStripBelow)
{
    OpenRecord();
    CWndRestInterpretation* pane = Show(35);
    EXPECT_EQ(Box(15, 5, 990, 50), Rect(pane->GetPatientFrame()));
    EXPECT_EQ(Box(15, 55, 990, 20), Rect(pane->GetCaptionStrip()));
    CViewAverageWave* average = pane->GetAverageView();
    const int stripH = StripHeight(pane->GetRhythmStrip(), 990);
    // 664 less the strip, two 5-unit gaps and the top hold whole blocks of five rows.
    const double row = 495.0 / GridColumns(average);
    const int rows = 5 * (static_cast<int>((664 - stripH - 5 - 75 - 5) / row) / 5);
    EXPECT_EQ(rows, GridRows(average));
    const int averageH = static_cast<int>(rows * row) + 1;
    EXPECT_EQ(Box(509, 75, 495, averageH), Rect(average));
    EXPECT_EQ(Box(15, 75, 489, averageH), Rect(pane->GetRestInterpretationFrame()));
    EXPECT_EQ(Box(15, 75 + averageH + (664 - stripH - 75 - averageH) / 2, 990, stripH), Rect(pane->GetRhythmStrip()));
    EXPECT_TRUE(panes::FrameForm(pane->GetRestInterpretationFrame())->IsKindOf(RUNTIME_CLASS(CFormInterpre)));
    EXPECT_EQ(nullptr, pane->GetRhythmInterpretationFrame());
    EXPECT_EQ(201, pane->GetRhythmStrip()->GetDlgCtrlID());
    EXPECT_EQ(202, average->GetDlgCtrlID());
    EXPECT_EQ(13, pane->GetRhythmStrip()->GetWaveStyle());
    EXPECT_FLOAT_EQ(static_cast<float>(495 * 0.0019646366), average->GetAnnoSizeRatio());
    EXPECT_FLOAT_EQ(static_cast<float>(990 * 0.001010101), pane->GetRhythmStrip()->GetAnnoSizeRatio());
}

TEST_F(RestInterpretationPaneTest, WithoutThePatientStripTheCaptionStartsFiveUnitsDown)
{
    OpenRecord();
    CWndRestInterpretation* pane = Show(35, FALSE, 1020, 614);
    EXPECT_FALSE(pane->GetPatientFrame()->IsWindowVisible());
    EXPECT_EQ(Box(15, 5, 990, 20), Rect(pane->GetCaptionStrip()));
    EXPECT_EQ(25, Rect(pane->GetAverageView()).top);
}

TEST_F(RestInterpretationPaneTest, HalfInterpretationHidesBothWaveViewsAndTheSensitivitiesButNotST)
{
    OpenRecord();
    CWndRestInterpretation* pane = Show(35);
    const CRect st = m_host.Rect(Item(pane, 3499));
    pane->ShowRestPageStyle(37);
    EXPECT_EQ(37, pane->GetPageStyle());
    EXPECT_EQ(Box(16, 75, 989, 580), Rect(pane->GetRestInterpretationFrame()));
    EXPECT_TRUE(Rect(pane->GetAverageView()).IsRectEmpty());
    EXPECT_TRUE(Rect(pane->GetRhythmStrip()).IsRectEmpty());
    EXPECT_TRUE(Rect(Item(pane, 3479)).IsRectEmpty());
    EXPECT_TRUE(Rect(Item(pane, 3480)).IsRectEmpty());
    EXPECT_EQ(st, Rect(Item(pane, 3499)));
    EXPECT_EQ(Box(15 + 2, 55 + 3, 989, 15), Rect(Item(pane, 3478)));
}

TEST_F(RestInterpretationPaneTest, AverageHalfSpansThePageAndGivesTheStripTheAverageViewsScale)
{
    OpenRecord();
    CWndRestInterpretation* pane = Show(38);
    EXPECT_TRUE(Rect(pane->GetRestInterpretationFrame()).IsRectEmpty());
    EXPECT_EQ(Box(15, 55, 990, 15), Rect(pane->GetCaptionStrip()));
    const CRect average = Rect(pane->GetAverageView());
    EXPECT_EQ(Box(15, 70, 994, average.Height()), average);
    EXPECT_EQ(0, GridRows(pane->GetAverageView()) % 5);
    EXPECT_TRUE(pane->GetRhythmStrip()->IsHalfStyle());
    EXPECT_FLOAT_EQ(static_cast<float>(994 * 0.0020120724), pane->GetRhythmStrip()->GetAnnoSizeRatio());
    EXPECT_FLOAT_EQ(pane->GetAverageView()->GetAnnoSizeRatio(), pane->GetRhythmStrip()->GetAnnoSizeRatio());
    EXPECT_TRUE(Rect(Item(pane, 3478)).IsRectEmpty());
    EXPECT_EQ(Box(15 + 80, 55, 450, 15), Rect(Item(pane, 3479)));
}

TEST_F(RestInterpretationPaneTest, StylesOfAnotherKindOrOutOfRangeChangeNothing)
{
    OpenRecord();
    CWndRestInterpretation* pane = Show(36);
    const CRect average = Rect(pane->GetAverageView());
    pane->ShowRestPageStyle(39);
    pane->ShowMFERPageStyle(44);
    pane->ShowRhythmPageStyle(29);
    EXPECT_EQ(36, pane->GetPageStyle());
    EXPECT_EQ(average, Rect(pane->GetAverageView()));
    EXPECT_FALSE(pane->GetRhythmStrip()->IsHalfStyle());
}

TEST_F(RestInterpretationPaneTest, GridModeSizesTheViewsFromThePixelsPerSquare)
{
    OpenRecord();
    m_doc.SetDisplaySizeMode(5);
    m_doc.SetPixelPerMM(3.0, 3.0);
    CWndRestInterpretation* pane = Show(35, TRUE, 1920, 1080);
    const int margin = static_cast<int>(10 * g_dXUnit);
    EXPECT_EQ(margin, Rect(pane->GetPatientFrame()).left);
    EXPECT_EQ(1920 - 2 * margin, Rect(pane->GetPatientFrame()).Width());
    const CRect average = Rect(pane->GetAverageView());
    const int columns = GridColumns(pane->GetAverageView());
    EXPECT_EQ(static_cast<int>(columns * 3.0) + 1, average.Width());
    EXPECT_EQ(1920 - margin, average.right);
    EXPECT_EQ(static_cast<int>(GridRows(pane->GetAverageView()) * 3.0) + 1, average.Height());
    const CRect form = Rect(pane->GetRestInterpretationFrame());
    EXPECT_EQ(margin, form.left);
    EXPECT_EQ(average.left - MulDiv(1920, 10, 1020), form.right);
    const int T = static_cast<int>((columns - 10) * 3.0);
    EXPECT_EQ(T / 2, Rect(Item(pane, 3479)).Width());
}

TEST_F(RestInterpretationPaneTest, CaptionShowsTheFixedSpeedTheSensitivitiesAndAnUncountedTrip)
{
    OpenRecord(254, "*");
    m_doc.SetShowST(1);
    CWndRestInterpretation* pane = Show(35);
    _RESTDATAITEM* item = m_doc.GetCurrentDataItem();
    ASSERT_EQ(1, item->bTrip);
    ASSERT_FALSE(item->strMasterStep.IsEmpty());
    CString expected;
    expected.Format(L"25.0 mm/s  %d Hz  解析結果  負荷後 %s   ﾄﾘｯﾌﾟ/", m_doc.GetFilter(), item->strMasterStep.GetString());
    EXPECT_STREQ(expected.GetString(), CaptionText(pane, 3478).GetString());
    expected.Format(L"%.2f mm/mV", m_doc.GetSense(1, 0));
    EXPECT_STREQ(expected.GetString(), CaptionText(pane, 3479).GetString());
    expected.Format(L"%.2f mm/mV", m_doc.GetSense(0, 0));
    EXPECT_STREQ(expected.GetString(), CaptionText(pane, 3480).GetString());
    EXPECT_STREQ(L"Average ST[mm]", CaptionText(pane, 3499).GetString());
    EXPECT_TRUE(Item(pane, 3499)->IsWindowVisible());
    m_doc.SetShowST(0);
    pane->UpdateDisplayInfo();
    EXPECT_FALSE(Item(pane, 3499)->IsWindowVisible());
}

TEST_F(RestInterpretationPaneTest, CountedTripShowsNumberAndTotal)
{
    OpenRecord(254, "3");
    CWndRestInterpretation* pane = Show(35);
    _RESTDATAITEM* item = m_doc.GetCurrentDataItem();
    CString tail;
    tail.Format(L" ﾄﾘｯﾌﾟ3/%s", item->strTotalTrip.GetString());
    const CString caption = CaptionText(pane, 3478);
    EXPECT_EQ(tail, caption.Right(tail.GetLength()));
}

TEST_F(RestInterpretationPaneTest, FocusMovesBetweenThePatientAndInterpretationFormsOnly)
{
    OpenRecord();
    CWndRestInterpretation* pane = Show(35);
    CFormEx* interpretation = panes::FrameForm(pane->GetRestInterpretationFrame());
    CFormEx* patient = panes::FrameForm(pane->GetPatientFrame());
    int fromHost[3] = {panes::kFromHost, panes::kForward, 0};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromHost), 0));
    int fromUS[3] = {panes::kFromUSInterpretation, panes::kForward, 0};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromUS), 0));
    int fromPatient[3] = {panes::kFromPatientForm, panes::kForward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromPatient), 0));
    EXPECT_TRUE(interpretation->IsChild(CWnd::GetFocus()));
    EXPECT_TRUE(interpretation->GetJumpStatus());
    int back[3] = {panes::kFromInterpretation, panes::kBackward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(back), 0));
    EXPECT_TRUE(patient->IsChild(CWnd::GetFocus()));
}

TEST_F(RestInterpretationPaneTest, TabAtTheLastControlOfThePatientFormLandsInTheInterpretationForm)
{
    OpenRecord();
    m_doc.SetCtrlContent(nullptr);   // the host's start: the bound controls take the record's state
    m_doc.UpdateCtrlStatus();
    CWndRestInterpretation* pane = Show(35);
    CFormEx* interpretation = panes::FrameForm(pane->GetRestInterpretationFrame());
    // Into the patient form's last control, as Shift+Tab from the interpretation form lands.
    int back[3] = {panes::kFromInterpretation, panes::kBackward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(back), 0));
    interpretation->SetJumpStatus(FALSE);
    Desktop::KeyPress(VK_TAB);
    Desktop::PumpMessages();
    EXPECT_TRUE(interpretation->IsChild(CWnd::GetFocus()));
    EXPECT_TRUE(interpretation->GetJumpStatus());
}

TEST_F(RestInterpretationPaneTest, APaneSizedToNothingShowsEmptyViews)
{
    OpenRecord();
    CWndRestInterpretation* pane = Show(35, TRUE, 0, 0);
    EXPECT_TRUE(Rect(pane->GetAverageView()).IsRectEmpty());
    EXPECT_TRUE(Rect(pane->GetRhythmStrip()).IsRectEmpty());
    EXPECT_EQ(0, GridRows(pane->GetAverageView()));
    pane->MoveWindow(0, 0, 1020, 40, TRUE);   // less room than the strip itself
    EXPECT_EQ(0, GridRows(pane->GetAverageView()));
    EXPECT_EQ(1, Rect(pane->GetAverageView()).Height());
}

TEST_F(RestInterpretationPaneTest, WithoutADocumentUpdatesAndStylesDoNothing)
{
    panetest::PaneHost<CWndRestInterpretation> host;
    CWndRestInterpretation* pane = host.Open([](CWndRestInterpretation&) {}, TRUE, 1020, 664);
    EXPECT_EQ(nullptr, pane->GetRestInterpretationFrame());
    EXPECT_EQ(nullptr, pane->GetRhythmStrip());
    ASSERT_NE(nullptr, pane->GetAverageView());
    pane->OnUpdate();
    pane->UpdateDisplayInfo();
    pane->ShowRestPageStyle(37);
    pane->SendMessage(WM_SIZE, 0, 0);
    EXPECT_EQ(35, pane->GetPageStyle());
    EXPECT_TRUE(host.Rect(pane->GetAverageView()).IsRectEmpty());
    EXPECT_TRUE(CaptionText(pane, 3478).IsEmpty());
}

// ---- rhythm records ----------------------------------------------------------------------------

class RhythmInterpretationPaneTest : public panetest::RhythmPaneTest {
protected:
    void SetUp() override
    {
        RhythmPaneTest::SetUp();
        OpenRecord(1, 60.0);
    }
    void TearDown() override
    {
        m_host.Close();
        RhythmPaneTest::TearDown();
    }
    CWndRestInterpretation* Show(int style)
    {
        m_doc->SetCtrlContent(nullptr);   // the host's start: the bound controls take the record's state
        m_doc->UpdateCtrlStatus();
        CWndRestInterpretation* pane = m_host.Open(
            [this](CWndRestInterpretation& p) { p.SetRhythmViewDoc(m_doc.get()); }, TRUE, 1020, 664);
        pane->ShowRhythmPageStyle(style);
        Desktop::PumpMessages();
        return pane;
    }

    panetest::PaneHost<CWndRestInterpretation> m_host;
};

TEST_F(RhythmInterpretationPaneTest, RhythmRecordsGetTheirOwnFormAndAStripSharingTheAverageViewsId)
{
    CWndRestInterpretation* pane = Show(29);
    EXPECT_EQ(nullptr, pane->GetRestInterpretationFrame());
    ASSERT_NE(nullptr, pane->GetRhythmInterpretationFrame());
    EXPECT_TRUE(panes::FrameForm(pane->GetRhythmInterpretationFrame())->IsKindOf(RUNTIME_CLASS(CFormInterpreRhyRR)));
    EXPECT_EQ(202, pane->GetRhythmStrip()->GetDlgCtrlID());
    EXPECT_EQ(202, pane->GetAverageView()->GetDlgCtrlID());
    EXPECT_EQ(18, pane->GetRhythmStrip()->GetWaveStyle());
    const CRect average = m_host.Rect(pane->GetAverageView());
    EXPECT_EQ(Box(15, 75, 489, average.Height()), m_host.Rect(pane->GetRhythmInterpretationFrame()));
    EXPECT_FALSE(m_host.Rect(pane->GetRhythmStrip()).IsRectEmpty());
    CString expected;
    expected.Format(L"25.0 mm/s  %d Hz  解析結果    ", m_doc->GetFilter());
    EXPECT_STREQ(expected.GetString(), CaptionText(pane, 3478).GetString());
    pane->ShowRestPageStyle(35);   // not a rhythm record's style
    EXPECT_EQ(29, pane->GetPageStyle());
}

TEST_F(RhythmInterpretationPaneTest, TheAverageViewOfARecordWithoutBeatsPaintsOnceNotForever)
{
    CWndRestInterpretation* pane = Show(29);
    pane->GetAverageView()->InvalidateRect(nullptr, FALSE);
    EXPECT_LT(Desktop::PumpMessages(), 20);
}

TEST_F(RhythmInterpretationPaneTest, ShiftTabAtTheFirstControlOfTheRhythmFormLandsInThePatientForm)
{
    CWndRestInterpretation* pane = Show(29);
    CFormEx* rhythm = panes::FrameForm(pane->GetRhythmInterpretationFrame());
    int fromPatient[3] = {panes::kFromPatientForm, panes::kForward, 0};
    ASSERT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromPatient), 0));
    ASSERT_TRUE(rhythm->IsChild(CWnd::GetFocus()));
    rhythm->SetJumpStatus(FALSE);
    Desktop::KeyPress(VK_TAB, platform::ui::kShift);
    Desktop::PumpMessages();
    EXPECT_TRUE(panes::FrameForm(pane->GetPatientFrame())->IsChild(CWnd::GetFocus()));
}

// ---- MFER records ------------------------------------------------------------------------------

class MferInterpretationPaneTest : public mfertest::MferDocTest {
protected:
    void SetUp() override
    {
        mfertest::MferDocTest::SetUp();
        Desktop::Reset();
        m_doc->m_bAutoDelete = FALSE;
        m_doc->GetCtrlPosFromXSL(LOAD_POS_REST);
        m_screen.Use(*m_doc, 1920, 1080);
    }
    void TearDown() override
    {
        m_host.Close();
        mfertest::MferDocTest::TearDown();
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndRestInterpretation> m_host;
};

TEST_F(MferInterpretationPaneTest, CaptionCarriesTheMferFilterTextAndStylesFollowTheMferRange)
{
    _MFERDATAITEM* item = OpenKind(morvelance::MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    CWndRestInterpretation* pane =
        m_host.Open([this](CWndRestInterpretation& p) { p.SetMFERViewDoc(m_doc.get()); }, TRUE, 1020, 664);
    pane->ShowRestPageStyle(35);
    EXPECT_EQ(35, pane->GetPageStyle());
    EXPECT_TRUE(m_host.Rect(pane->GetAverageView()).IsRectEmpty());   // 35 is no MFER style
    pane->ShowMFERPageStyle(44);
    EXPECT_EQ(44, pane->GetPageStyle());
    EXPECT_EQ(Box(15, 70, 994, m_host.Rect(pane->GetAverageView()).Height()), m_host.Rect(pane->GetAverageView()));
    CString expected;
    expected.Format(L"25.0 mm/s  %s  解析結果  %s", m_doc->GetMFERFilter().GetString(), item->strMasterStep.GetString());
    EXPECT_STREQ(expected.GetString(), CaptionText(pane, 3478).GetString());
    EXPECT_EQ(201, pane->GetRhythmStrip()->GetDlgCtrlID());
}

}  // namespace
