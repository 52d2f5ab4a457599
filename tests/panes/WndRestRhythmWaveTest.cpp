// The resting wave page on resting records written by the record maker:
// the children's rectangles per layout, with and without the patient strip,
// in the display size modes, and on an empty pane; the captions of twelve-
// and fifteen-lead records with their master-step load and trip; the
// limb/chest switch clicked on the desktop; the strip drag told to the host;
// the divider dialog placing the page's dividers afresh; the painted page.
#include <gtest/gtest.h>

#include <string>

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgDivider.h"
#include "documents/MFERViewDoc.h"
#include "panes/PaneKit.h"
#include "platform/base/Kernel.h"
#include "panes/WndRestRhythmWave.h"
#include "panes/WndRestRhythmWaveAme.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/PngImage.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"
#include "waveviews/WavePopups.h"

using panetest::Box;
using platform::ui::Desktop;
using RecordKind = morvelance::rec::RecordKind;

namespace {

constexpr int kMasterStepTrip12 = 254;   // a twelve-lead master-step record with trip counts
constexpr int kMasterStepTrip15 = 226;

class RestWavePaneTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_screen.Fresh(m_doc, 1920, 1080);
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc.SetNotifyWnd(&m_notify);
    }
    void TearDown() override
    {
        m_host.Close();
        m_doc.SetNotifyWnd(nullptr);
        m_notify.DestroyWindow();
        resttest::RestDocFixture::TearDown();
    }
    void OpenRecord(RecordKind kind, int code = -1, const std::string& trip = std::string())
    {
        morvelance::RestRecordShape shape = resttest::Shape(kind, false, code);
        shape.xml.trip = trip;
        ASSERT_EQ(0, Open(AddRecord("wave.ecg", shape)));
    }
    CWndRestRhythmWave* Show(int style, BOOL showPatient = TRUE, int width = 1020, int height = 664)
    {
        CWndRestRhythmWave* pane = m_host.Open([this](CWndRestRhythmWave& p) { p.SetRestViewDoc(&m_doc); },
                                               showPatient, width, height);
        pane->ShowRestPageStyle(style);
        Desktop::PumpMessages();
        return pane;
    }
    CWnd* Item(CDlgCtrl* strip, int id) { return strip->GetDlgItem(id); }
    CRect ItemRect(CDlgCtrl* strip, int id) { return panetest::RectIn(strip, Item(strip, id)); }
    CString Text(CDlgCtrl* strip, int id)
    {
        CString text;
        Item(strip, id)->GetWindowText(text);
        return text;
    }
    void Press(CWnd* control)
    {
        CRect rect;
        control->GetWindowRect(&rect);
        Desktop::Click(rect.CenterPoint());
        Desktop::PumpMessages();
    }
    static void Grid(CWaveView* view, int& columns, int& rows) { view->GetGridCount(columns, rows); }
    // The caption's leading fields from the document's settings.
    CString Settings(float sense)
    {
        CString text;
        text.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  ", sense, m_doc.GetSpeed(), m_doc.GetFilter());
        return text;
    }

    panetest::ScopedScreen m_screen;
    panetest::CNotifyLog m_notify;
    panetest::PaneHost<CWndRestRhythmWave> m_host;
};

// ---- layout ------------------------------------------------------------------------------------

TEST_F(RestWavePaneTest, ThreeByFourPageStacksCaptionViewAndCentredStrip)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(1);
    EXPECT_EQ(1, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_EQ(1, m_doc.GetRhythmWaveStyle());
    EXPECT_EQ(Box(16, 7, 989, 50), m_host.Rect(pane->GetPatientFrame()));
    EXPECT_EQ(Box(56, 57, 949, 20), m_host.Rect(pane->GetCaptionStrip()));
    EXPECT_EQ(Box(0, 3, 474, 15), ItemRect(pane->GetCaptionStrip(), 3479));
    EXPECT_EQ(Box(474, 3, 592, 15), ItemRect(pane->GetCaptionStrip(), 3480));
    EXPECT_TRUE(ItemRect(pane->GetCaptionStrip(), 3478).IsRectEmpty());
    EXPECT_FALSE(pane->GetLimbChestStrip()->IsWindowVisible());

    int columns1 = 0, rows1 = 0, columns = 0, rows = 0;
    Grid(pane->GetOneLeadView(), columns1, rows1);
    Grid(pane->GetRhythmView(), columns, rows);
    const int h1 = static_cast<int>(990.0 * rows1 / columns1) + 1;
    const CRect view = m_host.Rect(pane->GetRhythmView());
    // The room below the strips less the strip and two margins of five units.
    const int room = 664 - h1 - 77 - 2 * 5;
    EXPECT_EQ(0, rows % 5);
    EXPECT_EQ(5 * (static_cast<int>(room / (989.0 / columns)) / 5), rows);
    EXPECT_EQ(Box(16, 77, 989, static_cast<int>(rows * 989.0 / columns) + 1), view);
    const CRect strip = m_host.Rect(pane->GetOneLeadView());
    EXPECT_EQ(Box(15, 77 + view.Height() + (664 - h1 - 77 - view.Height()) / 2, 990, h1), strip);
}

TEST_F(RestWavePaneTest, WithoutThePatientStripTheRowStartsAtSevenAndTheViewGainsRows)
{
    OpenRecord(RecordKind::Rest12);
    int shownRows = 0, hiddenRows = 0, columns = 0;
    CWndRestRhythmWave* pane = Show(13);
    Grid(pane->GetRhythmView(), columns, shownRows);
    pane = Show(13, FALSE, 1020, 614);
    Grid(pane->GetRhythmView(), columns, hiddenRows);
    EXPECT_FALSE(pane->GetPatientFrame()->IsWindowVisible());
    EXPECT_EQ(7, m_host.Rect(pane->GetCaptionStrip()).top);
    EXPECT_EQ(27, m_host.Rect(pane->GetRhythmView()).top);
    EXPECT_EQ(0, hiddenRows % 5);
    EXPECT_GE(hiddenRows, shownRows);
}

TEST_F(RestWavePaneTest, OneGroupLayoutsShowTheLimbChestSwitchBesideTheCaption)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(5);   // three leads by two, half width
    EXPECT_EQ(2, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_TRUE(pane->GetRhythmView()->IsHalfStyle());
    EXPECT_TRUE(pane->GetOneLeadView()->IsHalfStyle());
    EXPECT_EQ(Box(90, 57, 710, 20), m_host.Rect(pane->GetCaptionStrip()));
    ASSERT_TRUE(pane->GetLimbChestStrip()->IsWindowVisible());
    EXPECT_EQ(Box(804, 57, 200, 20), m_host.Rect(pane->GetLimbChestStrip()));
    EXPECT_EQ(Box(100, 3, 100, 15), ItemRect(pane->GetLimbChestStrip(), 3482));
    EXPECT_TRUE(Item(pane->GetCaptionStrip(), 3479)->IsWindowVisible());
    EXPECT_FALSE(Item(pane->GetCaptionStrip(), 3480)->IsWindowVisible());

    pane = Show(25);   // six leads in one column
    EXPECT_EQ(Box(894, 57, 110, 20), m_host.Rect(pane->GetLimbChestStrip()));
    EXPECT_EQ(Box(55, 3, 55, 15), ItemRect(pane->GetLimbChestStrip(), 3482));
    for (int style : {1, 7, 13, 17, 19, 23, 33}) {
        pane = Show(style);
        EXPECT_FALSE(pane->GetLimbChestStrip()->IsWindowVisible()) << style;
    }
}

TEST_F(RestWavePaneTest, TheChestButtonClickedShowsTheChestGroupAndItsCaption)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(11);
    CDlgCtrl* switcher = pane->GetLimbChestStrip();
    EXPECT_EQ(BST_CHECKED, Item(switcher, 3481)->SendMessage(BM_GETCHECK, 0, 0));
    Press(Item(switcher, 3482));
    EXPECT_FALSE(pane->IsLimbLeadSelected());
    EXPECT_TRUE(pane->GetRhythmView()->IsShowChestLead());
    EXPECT_TRUE(pane->GetOneLeadView()->IsShowChestLead());
    EXPECT_FALSE(Item(pane->GetCaptionStrip(), 3479)->IsWindowVisible());
    EXPECT_TRUE(Item(pane->GetCaptionStrip(), 3480)->IsWindowVisible());
    Press(Item(switcher, 3481));
    EXPECT_TRUE(pane->IsLimbLeadSelected());
    EXPECT_FALSE(pane->GetRhythmView()->IsShowChestLead());
    EXPECT_TRUE(Item(pane->GetCaptionStrip(), 3479)->IsWindowVisible());
}

TEST_F(RestWavePaneTest, StylesWithoutALayoutChangeNoChildAndNoWaveStyle)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(7);
    const CRect view = m_host.Rect(pane->GetRhythmView());
    const CRect caption = m_host.Rect(pane->GetCaptionStrip());
    for (int style : {0, 3, 4, 6, 31, 32, 35}) {
        pane->ShowRestPageStyle(style);
        EXPECT_EQ(3, pane->GetRhythmView()->GetWaveStyle()) << style;
        EXPECT_EQ(3, m_doc.GetRhythmWaveStyle()) << style;
        EXPECT_EQ(view, m_host.Rect(pane->GetRhythmView())) << style;
        EXPECT_EQ(caption, m_host.Rect(pane->GetCaptionStrip())) << style;
    }
}

TEST_F(RestWavePaneTest, OnALargeScreenEveryLayoutEndsOnWholeBlocksAboveTheStrip)
{
    OpenRecord(RecordKind::Rest12);
    for (int style : {1, 5, 13, 17, 25, 29, 33}) {
        CWndRestRhythmWave* pane = Show(style, TRUE, 1920, 1080);
        int columns = 0, rows = 0;
        Grid(pane->GetRhythmView(), columns, rows);
        const CRect view = m_host.Rect(pane->GetRhythmView());
        const double cell = static_cast<double>(view.Width()) / columns;
        EXPECT_EQ(0, rows % 5) << style;
        EXPECT_GT(rows, 0) << style;
        EXPECT_EQ(static_cast<int>(rows * cell) + 1, view.Height()) << style;
        EXPECT_LE(view.bottom, m_host.Rect(pane->GetOneLeadView()).top) << style;
        // Another block of five rows would not have fitted.
        EXPECT_GT(view.bottom + 5 * cell + 2 * MulDiv(1080, 5, 664),
                  1080 - m_host.Rect(pane->GetOneLeadView()).Height()) << style;
    }
}

TEST_F(RestWavePaneTest, APaneSizedToNothingGetsAnEmptyViewAndNeverNegativeRows)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(1, TRUE, 0, 0);
    int columns = 0, rows = -1;
    Grid(pane->GetRhythmView(), columns, rows);
    EXPECT_EQ(0, rows);
    EXPECT_TRUE(m_host.Rect(pane->GetRhythmView()).IsRectEmpty());
    pane->MoveWindow(0, 0, 1020, 120, TRUE);   // the strip alone overfills it
    Grid(pane->GetRhythmView(), columns, rows);
    EXPECT_EQ(0, rows);
    EXPECT_EQ(1, m_host.Rect(pane->GetRhythmView()).Height());
    EXPECT_GE(m_host.Rect(pane->GetOneLeadView()).Height(), 0);
}

TEST_F(RestWavePaneTest, GridSizeModeWithoutPixelsPerMillimetreGivesEmptyViews)
{
    OpenRecord(RecordKind::Rest12);
    m_doc.SetDisplaySizeMode(5);
    m_doc.SetPixelPerMM(0.0, 0.0);
    CWndRestRhythmWave* pane = Show(1, TRUE, 1920, 1080);
    int columns = 0, rows = -1;
    Grid(pane->GetRhythmView(), columns, rows);
    EXPECT_EQ(0, rows);
    EXPECT_TRUE(m_host.Rect(pane->GetRhythmView()).IsRectEmpty());
    EXPECT_TRUE(m_host.Rect(pane->GetOneLeadView()).IsRectEmpty());
}

TEST_F(RestWavePaneTest, GridSizeModePlacesTheViewsInMillimetresWithinTheScreenMargins)
{
    OpenRecord(RecordKind::Rest12);
    m_doc.SetDisplaySizeMode(5);
    m_doc.SetPixelPerMM(3.5, 3.5);
    CWndRestRhythmWave* pane = Show(1, TRUE, 1920, 1080);
    const int u = static_cast<int>(g_dXUnit * 10);
    int columns = 0, rows = 0, columns1 = 0, rows1 = 0;
    Grid(pane->GetRhythmView(), columns, rows);
    Grid(pane->GetOneLeadView(), columns1, rows1);
    EXPECT_EQ(Box(u, MulDiv(1080, 7, 664), 1920 - 2 * u, MulDiv(1080, 50, 664)), m_host.Rect(pane->GetPatientFrame()));
    EXPECT_EQ(u + 35, m_host.Rect(pane->GetCaptionStrip()).left);
    EXPECT_EQ(static_cast<int>(125 * 3.5), ItemRect(pane->GetCaptionStrip(), 3479).Width());
    const CRect view = m_host.Rect(pane->GetRhythmView());
    EXPECT_EQ(0, rows % 5);
    EXPECT_EQ(Box(u, view.top, static_cast<int>(columns * 3.5 + 1), static_cast<int>(rows * 3.5 + 1)), view);
    const CRect strip = m_host.Rect(pane->GetOneLeadView());
    EXPECT_EQ(u, strip.left);
    EXPECT_EQ(static_cast<int>(columns1 * 3.5 + 1), strip.Width());
    EXPECT_EQ(static_cast<int>(rows1 * 3.5 + 1), strip.Height());
}

TEST_F(RestWavePaneTest, WidthSizeModeScalesTheStripHeightsByTheWidth)
{
    OpenRecord(RecordKind::Rest12);
    m_doc.SetDisplaySizeMode(6);
    CWndRestRhythmWave* pane = Show(5, TRUE, 1920, 1080);   // half width: the strip row doubles
    EXPECT_EQ(MulDiv(1920, 55, 1020), m_host.Rect(pane->GetPatientFrame()).Height());
    const CRect caption = m_host.Rect(pane->GetCaptionStrip());
    EXPECT_EQ(MulDiv(1080, 7, 664) + MulDiv(1920, 55, 1020), caption.top);
    EXPECT_EQ(2 * MulDiv(1920, 20, 1020), caption.Height());
    EXPECT_EQ(Box(0, 2 * MulDiv(1920, 3, 1020), MulDiv(1920, 710, 1020), 2 * MulDiv(1920, 15, 1020)),
              ItemRect(pane->GetCaptionStrip(), 3479));
    EXPECT_EQ(caption.bottom, m_host.Rect(pane->GetRhythmView()).top);
}

// ---- captions ----------------------------------------------------------------------------------

TEST_F(RestWavePaneTest, TwelveLeadCaptionsCarryTheLayoutNameLoadAndTrip)
{
    OpenRecord(RecordKind::Rest12, kMasterStepTrip12);
    CWndRestRhythmWave* pane = Show(1);
    const CString load = L"負荷後 " + m_doc.GetCurrentDataItem()->strMasterStep;
    ASSERT_FALSE(m_doc.GetCurrentDataItem()->strMasterStep.IsEmpty());
    EXPECT_EQ(Settings(m_doc.GetSense(1, 0)) + L"波形连续型(3chx4)  " + load + L"  ", Text(pane->GetCaptionStrip(), 3479));
    EXPECT_EQ(Settings(m_doc.GetSense(0, 0)) + L" ﾄﾘｯﾌﾟ18/20    ", Text(pane->GetCaptionStrip(), 3480));
    pane->ShowRestPageStyle(33);
    EXPECT_EQ(Settings(m_doc.GetSense(6, 0)) + L"波形连续型(12chx1)  " + load + L"   ﾄﾘｯﾌﾟ18/20",
              Text(pane->GetCaptionStrip(), 3479));
    EXPECT_TRUE(ItemRect(pane->GetCaptionStrip(), 3480).IsRectEmpty());
    pane->ShowRestPageStyle(5);
    EXPECT_EQ(Settings(m_doc.GetSense(1, 0)) + L"波形連続型(3chx2)    ", Text(pane->GetCaptionStrip(), 3479));
    pane->ShowRestPageStyle(17);
    CString senseOnly;
    senseOnly.Format(L"%.2f mm/mV  波形连续型(6chx2)", m_doc.GetSense(1, 0));
    EXPECT_EQ(senseOnly, Text(pane->GetCaptionStrip(), 3479));
}

TEST_F(RestWavePaneTest, AnUncountedTripShowsTheLabelAlone)
{
    OpenRecord(RecordKind::Rest12, kMasterStepTrip12, "*");
    CWndRestRhythmWave* pane = Show(13);
    EXPECT_EQ(Settings(m_doc.GetSense(0, 0)) + L" ﾄﾘｯﾌﾟ/    ", Text(pane->GetCaptionStrip(), 3480));
}

TEST_F(RestWavePaneTest, AnOrdinaryRecordHasNeitherLoadNorTrip)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(25);
    const CString expected = Settings(m_doc.GetSense(1, 0)) + L"波形连续型(6chx1)    ";
    EXPECT_EQ(expected, Text(pane->GetCaptionStrip(), 3479));
}

TEST_F(RestWavePaneTest, FifteenLeadsTakeTheFifteenLeadColumnAndShrinkTheLimbCaption)
{
    OpenRecord(RecordKind::Rest15, kMasterStepTrip15);
    CWndRestRhythmWave* pane = Show(33);
    EXPECT_EQ(12, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_EQ(12, m_doc.GetRhythmWaveStyle());
    EXPECT_NE(-1, Text(pane->GetCaptionStrip(), 3479).Find(L"波形连续型(15chx1)"));
    pane->ShowRestPageStyle(7);
    EXPECT_EQ(Box(0, 3, 474 * 4 / 5, 15), ItemRect(pane->GetCaptionStrip(), 3479));
    EXPECT_EQ(Box(474 * 4 / 5, 3, 474 * 4 / 5 * 5 / 4, 15), ItemRect(pane->GetCaptionStrip(), 3480));
    // The load and the trip move to the chest caption.
    const CString load = L"負荷後 " + m_doc.GetCurrentDataItem()->strMasterStep;
    EXPECT_EQ(Settings(m_doc.GetSense(1, 0)) + L"波形同期型(3chx5)    ", Text(pane->GetCaptionStrip(), 3479));
    EXPECT_EQ(Settings(m_doc.GetSense(0, 0)) + load + L"   ﾄﾘｯﾌﾟ18/20  ", Text(pane->GetCaptionStrip(), 3480));
}

TEST_F(RestWavePaneTest, WithoutACurrentRecordTheColumnStyleIsTwelveLeads)
{
    OpenRecord(RecordKind::Rest15);
    m_doc.SetCurDataIndex(-1);
    CWndRestRhythmWave* pane = Show(33);
    EXPECT_EQ(11, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_EQ(L"", Text(pane->GetCaptionStrip(), 3479));
}

// ---- messages ----------------------------------------------------------------------------------

TEST_F(RestWavePaneTest, AStripDragTellsTheHostOnlyWhenThePageMoved)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(1, TRUE, 1920, 1080);
    const int start = pane->GetRhythmView()->GetStartTime();
    pane->SendMessage(WM_STRIP_DRAGGED, start, 0);
    EXPECT_EQ(0, m_notify.Count(WM_STRIP_DRAGGED));
    pane->SendMessage(WM_STRIP_DRAGGED, start + 500, 0);
    EXPECT_EQ(1, m_notify.Count(WM_STRIP_DRAGGED));
    EXPECT_EQ(start + 500, pane->GetRhythmView()->GetStartTime());
}

TEST_F(RestWavePaneTest, OnlyTheHostsFocusJumpEntersThePatientForm)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(1);
    int fromForm[3] = {1, 2, 0};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromForm), 0));
    int fromHost[3] = {0, 2, 0};
    EXPECT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromHost), 0));
    CWnd* focus = CWnd::GetFocus();
    ASSERT_NE(nullptr, focus);
    EXPECT_TRUE(pane->GetPatientFrame()->GetActiveView()->IsChild(focus));
}

TEST_F(RestWavePaneTest, AnnotationGoesToTheViewThatAskedAndToNoStranger)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(1);
    pane->SendMessage(WM_ANNOTATION_ACTIVE, reinterpret_cast<WPARAM>(pane->GetOneLeadView()), 0);
    EXPECT_TRUE(pane->GetOneLeadView()->IsAnnoViewActive());
    EXPECT_FALSE(pane->GetRhythmView()->IsAnnoViewActive());
    pane->SendMessage(WM_ANNOTATION_ACTIVE, reinterpret_cast<WPARAM>(pane->GetCaptionStrip()), 0);
    EXPECT_FALSE(pane->GetOneLeadView()->IsAnnoViewActive());
    EXPECT_FALSE(pane->GetRhythmView()->IsAnnoViewActive());
}

TEST_F(RestWavePaneTest, SettingADocumentDropsTheOthers)
{
    CWndRestRhythmWave pane;
    pane.SetRestViewDoc(&m_doc);
    CMFERViewDoc mfer;
    pane.SetMFERViewDoc(&mfer);
    EXPECT_EQ(nullptr, pane.GetRestViewDoc());
    EXPECT_EQ(&mfer, pane.GetMFERViewDoc());
    pane.SetRestViewDoc(&m_doc);
    EXPECT_EQ(nullptr, pane.GetMFERViewDoc());
}

TEST_F(RestWavePaneTest, NegativeDividerChecksHideTheDividers)
{
    OpenRecord(RecordKind::Rest12);
    m_doc.SetDividerCheck(3);
    CWndRestRhythmWave* pane = Show(1);
    EXPECT_TRUE(pane->GetRhythmView()->IsShowDivider());
    m_doc.SetDividerCheck(-1);
    pane->OnUpdate();
    EXPECT_FALSE(pane->GetRhythmView()->IsShowDivider());
}

TEST_F(RestWavePaneTest, TheDividerDialogConfirmedPlacesThePagesDividersAfresh)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(1, TRUE, 1920, 1080);
    pane->GetRhythmView()->UpdateWindow();
    ASSERT_FALSE(pane->GetRhythmView()->IsInitialDividerPending());
    testsupport::ModalScript script;
    script.On(CDlgDivider::IDD, [](CDialog& dialog) { dialog.EndDialog(IDOK); });
    const CRect strip = m_host.Rect(pane->GetOneLeadView());
    Desktop::DoubleClick(pane->GetOneLeadView()->GetSafeHwnd(), strip.Width() / 2, strip.Height() / 2);
    Desktop::PumpMessages();
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_TRUE(pane->GetRhythmView()->IsInitialDividerPending());
}

TEST_F(RestWavePaneTest, OnlyTheRestingWavePageHasItsDividersPlacedAfresh)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(1);
    const auto& lookup = CWavePopups::Get().dividerPaneView;
    ASSERT_TRUE(lookup);
    EXPECT_EQ(pane->GetRhythmView(), lookup(pane));
    EXPECT_EQ(nullptr, lookup(&m_host.host));
    CWndRestRhythmWaveAme other;
    EXPECT_EQ(nullptr, lookup(&other));
}

// ---- pixels ------------------------------------------------------------------------------------

TEST_F(RestWavePaneTest, ThePaintedPageHasBackgroundBetweenTheGridAndTheStrip)
{
    OpenRecord(RecordKind::Rest12);
    CWndRestRhythmWave* pane = Show(1, TRUE, 1920, 1080);
    pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const std::string png = m_dir.File("page.png");
    ASSERT_TRUE(Desktop::SaveWindowImage(m_host.host.GetSafeHwnd(), png.c_str()));
    testsupport::PngImage image(png);
    ASSERT_TRUE(image.Ok());
    const CRect view = m_host.Rect(pane->GetRhythmView());
    const CRect strip = m_host.Rect(pane->GetOneLeadView());
    ASSERT_LT(view.bottom + 2, strip.top);
    const uint32_t background = image.Pixel(view.left + 5, view.bottom + 1);
    auto other = [background](uint32_t rgb) { return rgb != background; };
    // Nothing but the pane's background between the grid's last line and the strip.
    EXPECT_EQ(0, image.CountIn(view.left, view.bottom, view.right, strip.top, other));
    // The grid's bottom line is drawn on the view's last row.
    EXPECT_GT(image.CountIn(view.left, view.bottom - 1, view.right, view.bottom, other), view.Width() / 4);
    // The limb caption is written where the template's unused ST static lies.
    const CRect caption = m_host.Rect(pane->GetCaptionStrip());
    const CRect limb = ItemRect(pane->GetCaptionStrip(), 3479) + caption.TopLeft();
    EXPECT_GT(image.CountIn(limb.left, limb.top, limb.left + limb.Width() / 2, limb.bottom, testsupport::PngImage::IsDark),
              100);
    // Traces in the view and in the strip.
    EXPECT_GT(image.CountIn(view.left, view.top, view.right, view.bottom, testsupport::PngImage::IsDark), 500);
    EXPECT_GT(image.CountIn(strip.left, strip.top, strip.right, strip.bottom, testsupport::PngImage::IsDark), 200);
}

}  // namespace
