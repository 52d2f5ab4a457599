// The enlarged wave and overlap dialogs run modally on maker records, used
// through the desktop: the ruler button and a drag in the view give the
// readout, a pan moves the scroll bars and the view with them, and the zoom
// buttons walk the steps.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "analysisviews/ViewAveOverlappedWave.h"
#include "core/DataItem.h"
#include "dialogs/DlgEnlargedOverlap.h"
#include "dialogs/DlgEnlargedWave.h"
#include "platform/base/CodePage.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "waveviews/ViewEnlargedOverlap.h"
#include "waveviews/ViewEnlargedWave.h"

using platform::ui::Desktop;
using testsupport::ClickControl;
using testsupport::ControlText;

namespace {

// 2 px a millimetre at the dialog's 400%: 8 px a square.
const double kDotsPerMM = 2.0;

class DlgEnlargedWaveTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetSpeed(25.0f);
        m_doc.SetSense(1, 10.0f, 0);
        morvelance::RestRecordShape shape;
        ASSERT_EQ(0, Open(AddRecord("enlarged", shape)));
    }
    void TearDown() override
    {
        Desktop::Reset();
        resttest::RestDocFixture::TearDown();
    }

    // Runs the dialog on lead II (a limb lead), `step` acting inside it.
    void Run(BOOL wholeBeat, int centre, const std::function<void(CDlgEnlargedWave&)>& step)
    {
        RunIn(wholeBeat, 0, centre, nullptr, step);
    }
    // The same in `mode`, `configure` giving the opener's further settings.
    void RunIn(BOOL wholeBeat, int mode, int centre, const std::function<void(CDlgEnlargedWave&)>& configure,
               const std::function<void(CDlgEnlargedWave&)>& step)
    {
        CDlgEnlargedWave dialog(wholeBeat, mode, nullptr);
        dialog.SetDoc(&m_doc, DOC_TYPE_REST);
        if (configure) configure(dialog);
        dialog.SetDotsPerMM(kDotsPerMM, kDotsPerMM);
        dialog.SetClickInfo(1, centre, 0, m_doc.GetRhythmWaveData(1, nullptr, -1) / 2);
        dialog.SetLimbLead(1);
        testsupport::ModalScript script;
        bool ran = false;
        script.On(CDlgEnlargedWave::IDD, [&](CDialog&) {
            ASSERT_NE(nullptr, dialog.GetWaveView());
            Settle(*dialog.GetWaveView());
            step(dialog);
            ran = true;
        });
        dialog.DoModal();
        EXPECT_TRUE(ran);
    }
    // The first mouse message activates the window: it comes first.
    static void Settle(CWnd& view)
    {
        Desktop::MoveMouse(view.GetSafeHwnd(), 1, 1);
        Desktop::PumpMessages();
        view.Invalidate(TRUE);
        view.UpdateWindow();
    }
    static void MoveIn(CWnd& view, CPoint p)
    {
        Desktop::MoveMouse(view.GetSafeHwnd(), p.x, p.y);
        Desktop::PumpMessages();
    }
    static void ClickIn(CWnd& view, CPoint p)
    {
        Desktop::Click(view.GetSafeHwnd(), p.x, p.y);
        Desktop::PumpMessages();
    }
    static CRect Client(CWnd& view)
    {
        CRect client;
        view.GetClientRect(&client);
        return client;
    }
    static int BarPosition(CDialog& dialog, int id)
    {
        return static_cast<CScrollBar*>(dialog.GetDlgItem(id))->GetScrollPos();
    }
};

// The readout's milliseconds and millivolts; false when it does not read so.
bool ParseReadout(const CString& text, int* ms, double* mv)
{
    static const std::regex kReadout(R"(^(\d+)\[mS\]   ([ \d]\.\d{3})\[mV\]$)");
    std::smatch match;
    const std::string utf8 = platform::ToUtf8(std::wstring(text.GetString()));
    if (!std::regex_match(utf8, match, kReadout)) return false;
    *ms = std::stoi(match[1]);
    *mv = std::stod(match[2]);
    return true;
}

}  // namespace

TEST(EnlargedReadout, TheReadingShowsMillisecondsAndMillivoltsWithTheirUnits)
{
    EXPECT_EQ(CString(L"120[mS]   1.250[mV]"), CEnlargedViewFrame::FormatReading(120, 1250));
    EXPECT_EQ(CString(L"0[mS]   0.000[mV]"), CEnlargedViewFrame::FormatReading(0, 0));
}

TEST_F(DlgEnlargedWaveTest, ARulerSetInTheViewShowsItsReadingInTheReadout)
{
    Run(FALSE, 2500, [&](CDlgEnlargedWave& dialog) {
        CViewEnlargedWave& view = *dialog.GetWaveView();
        ClickControl(dialog, CDlgEnlargedWave::IDC_RULER);
        EXPECT_EQ(RULER_STATUS_ARMED, view.GetRulerStatus());
        const CRect client = Client(view);
        ASSERT_GT(client.Width(), 140);
        ASSERT_GT(client.Height(), 100);
        // 100 px are 12.5 mm: 500 ms at 25 mm/s; 80 px are 10 mm: 1 mV.
        const CPoint a(20, 10);
        MoveIn(view, a);
        ClickIn(view, a);
        MoveIn(view, CPoint(a.x + 100, a.y + 80));
        int ms = 0;
        double mv = 0.0;
        ASSERT_TRUE(ParseReadout(ControlText(dialog, CDlgEnlargedWave::IDC_READOUT), &ms, &mv))
            << ControlText(dialog, CDlgEnlargedWave::IDC_READOUT).GetString();
        // The grid keeps whole squares: a part of one square is lost across the view.
        EXPECT_NEAR(500, ms, 500.0 * 8 / client.Width() + 1);
        EXPECT_NEAR(1.0, mv, 8.0 / client.Height() + 0.001);
    });
}

// The sensitivity the person set is the document's first set; the second
// holds another here. The enlarged lead is drawn, and measured, at the first.
TEST_F(DlgEnlargedWaveTest, TheLeadIsEnlargedAtTheFirstSensitivitySetWhenTheTwoSetsDiffer)
{
    m_doc.SetSenseMode(1);
    m_doc.SetSense(1, 20.0f, 0);
    ASSERT_FLOAT_EQ(20.0f, m_doc.GetSense(1, 0));
    ASSERT_NE(20.0f, m_doc.GetSense(1, 1)) << "the two sets should differ";
    Run(FALSE, 2500, [&](CDlgEnlargedWave& dialog) {
        CViewEnlargedWave& view = *dialog.GetWaveView();
        ClickControl(dialog, CDlgEnlargedWave::IDC_RULER);
        const CRect client = Client(view);
        ASSERT_GT(client.Height(), 100);
        // 80 px are 10 mm: 0.5 mV at 20 mm/mV.
        const CPoint a(20, 10);
        MoveIn(view, a);
        ClickIn(view, a);
        MoveIn(view, CPoint(a.x, a.y + 80));
        int ms = 0;
        double mv = 0.0;
        ASSERT_TRUE(ParseReadout(ControlText(dialog, CDlgEnlargedWave::IDC_READOUT), &ms, &mv))
            << ControlText(dialog, CDlgEnlargedWave::IDC_READOUT).GetString();
        EXPECT_NEAR(0.5, mv, 4.0 / client.Height() + 0.001);
    });
}

TEST_F(DlgEnlargedWaveTest, TheRulerButtonDisablesTheBarsAndThePanButtonRestoresThemAndClearsTheReadout)
{
    Run(FALSE, 2500, [&](CDlgEnlargedWave& dialog) {
        CViewEnlargedWave& view = *dialog.GetWaveView();
        ClickControl(dialog, CDlgEnlargedWave::IDC_RULER);
        EXPECT_FALSE(dialog.GetDlgItem(CDlgEnlargedWave::IDC_HORIZONTAL_BAR)->IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(CDlgEnlargedWave::IDC_VERTICAL_BAR)->IsWindowEnabled());
        EXPECT_TRUE(dialog.GetDlgItem(CDlgEnlargedWave::IDC_ZOOM_IN)->IsWindowEnabled());
        MoveIn(view, CPoint(20, 20));
        ClickIn(view, CPoint(20, 20));
        MoveIn(view, CPoint(60, 40));
        EXPECT_FALSE(ControlText(dialog, CDlgEnlargedWave::IDC_READOUT).IsEmpty());
        ClickControl(dialog, CDlgEnlargedWave::IDC_DRAG);
        EXPECT_EQ(RULER_STATUS_OFF, view.GetRulerStatus());
        EXPECT_TRUE(dialog.GetDlgItem(CDlgEnlargedWave::IDC_HORIZONTAL_BAR)->IsWindowEnabled());
        EXPECT_TRUE(dialog.GetDlgItem(CDlgEnlargedWave::IDC_VERTICAL_BAR)->IsWindowEnabled());
        EXPECT_TRUE(ControlText(dialog, CDlgEnlargedWave::IDC_READOUT).IsEmpty());
        EXPECT_EQ(CEnlargedViewFrame::HandCursor(), view.GetCurrentCursor());
    });
}

TEST_F(DlgEnlargedWaveTest, ZoomingWithMarksSetClearsThemAndLeavesTheRulerArmedWithTheBarsDisabled)
{
    Run(FALSE, 2500, [&](CDlgEnlargedWave& dialog) {
        CViewEnlargedWave& view = *dialog.GetWaveView();
        ClickControl(dialog, CDlgEnlargedWave::IDC_RULER);
        MoveIn(view, CPoint(20, 20));
        ClickIn(view, CPoint(20, 20));
        MoveIn(view, CPoint(80, 50));
        ClickIn(view, CPoint(80, 50));
        ASSERT_NE(RULER_STATUS_ARMED, view.GetRulerStatus());
        const int step = view.GetScaleRatio();
        ClickControl(dialog, CDlgEnlargedWave::IDC_ZOOM_OUT);
        EXPECT_EQ(step - 1, view.GetScaleRatio());
        EXPECT_EQ(RULER_STATUS_ARMED, view.GetRulerStatus());
        EXPECT_TRUE(ControlText(dialog, CDlgEnlargedWave::IDC_READOUT).IsEmpty());
        EXPECT_FALSE(dialog.GetDlgItem(CDlgEnlargedWave::IDC_HORIZONTAL_BAR)->IsWindowEnabled());
    });
}

// A record the dialog cannot show (another kind, or no current item) leaves
// it up without the enlarged view and with an empty table; its buttons and
// bars then move nothing.
TEST_F(DlgEnlargedWaveTest, WithoutARestingRhythmOrMferItemTheDialogStaysUpWithoutViewOrValues)
{
    auto runOn = [&](int docType, int currentItem) {
        m_doc.SetCurDataIndex(currentItem);
        CDlgEnlargedWave dialog(TRUE, 0, nullptr);
        dialog.SetDoc(&m_doc, docType);
        dialog.SetDotsPerMM(kDotsPerMM, kDotsPerMM);
        dialog.SetClickInfo(1, 0, 0, 300);
        dialog.SetLimbLead(1);
        testsupport::ModalScript script;
        bool ran = false;
        script.On(CDlgEnlargedWave::IDD, [&](CDialog&) {
            EXPECT_TRUE(dialog.IsWindowVisible());
            EXPECT_EQ(nullptr, dialog.GetWaveView());
            for (UINT id = CEnlargedMeasureTable::kFirstCellId; id <= CEnlargedMeasureTable::kLastCellId; ++id)
                EXPECT_TRUE(ControlText(dialog, static_cast<int>(id)).IsEmpty()) << id;
            for (int id : {CDlgEnlargedWave::IDC_ZOOM_IN, CDlgEnlargedWave::IDC_RULER, CDlgEnlargedWave::IDC_ZOOM_OUT,
                           CDlgEnlargedWave::IDC_DRAG})
                ClickControl(dialog, id);
            dialog.SendMessage(WM_ENLARGED_PAN, 5, 5);
            Desktop::PumpMessages();
            EXPECT_TRUE(ControlText(dialog, CDlgEnlargedWave::IDC_READOUT).IsEmpty());
            ran = true;
        });
        dialog.DoModal();
        EXPECT_TRUE(ran);
    };
    const int current = m_doc.GetCurrentDataItem()->nID;
    runOn(DOC_TYPE_RR, current);
    runOn(DOC_TYPE_FINAL, current);
    runOn(DOC_TYPE_REST, current + 100);
    runOn(DOC_TYPE_MFER, current);
}

TEST_F(DlgEnlargedWaveTest, EveryLeadsBeatIsOverlappedInItsFrameLeftOfTheTable)
{
    Run(TRUE, 0, [&](CDlgEnlargedWave& dialog) {
        CViewAveOverlappedWave* overlap = dialog.GetOverlapView();
        ASSERT_NE(nullptr, overlap);
        for (int lead = 0; lead < 12; ++lead) EXPECT_GT(overlap->GetSampleCount(lead), 0) << lead;
        CRect frame, group, view;
        overlap->GetParent()->GetWindowRect(&frame);
        dialog.GetDlgItem(CEnlargedWaveLayout::IDC_GLOBAL_GROUP)->GetWindowRect(&group);
        dialog.GetWaveView()->GetWindowRect(&view);
        EXPECT_LE(frame.right, group.left);
        EXPECT_GT(frame.top, view.bottom);
        EXPECT_GT(frame.Width(), 100);
    });
}

TEST_F(DlgEnlargedWaveTest, DraggingTheBeatMovesTheScrollBarsAndTheViewFollowsThem)
{
    Run(TRUE, 0, [&](CDlgEnlargedWave& dialog) {
        CViewEnlargedWave& view = *dialog.GetWaveView();
        Desktop::Drag(view.GetSafeHwnd(), CPoint(50, 50), CPoint(80, 70), 2);
        Desktop::PumpMessages();
        EXPECT_EQ(-30, BarPosition(dialog, CDlgEnlargedWave::IDC_HORIZONTAL_BAR));
        EXPECT_EQ(-20, BarPosition(dialog, CDlgEnlargedWave::IDC_VERTICAL_BAR));
        EXPECT_EQ(30, view.GetDragHorizontalOffset());
        EXPECT_EQ(20, view.GetDragVerticalOffset());
    });
}

TEST_F(DlgEnlargedWaveTest, TheScrollBarArrowsPanTheBeatAPixelAtATime)
{
    Run(TRUE, 0, [&](CDlgEnlargedWave& dialog) {
        CViewEnlargedWave& view = *dialog.GetWaveView();
        for (int id : {CDlgEnlargedWave::IDC_HORIZONTAL_BAR, CDlgEnlargedWave::IDC_VERTICAL_BAR}) {
            CRect bar;
            dialog.GetDlgItem(id)->GetWindowRect(&bar);
            // The far arrow: right, or down.
            const bool across = id == CDlgEnlargedWave::IDC_HORIZONTAL_BAR;
            Desktop::AdvanceClock(1000);
            Desktop::Click(across ? CPoint(bar.right - 3, bar.CenterPoint().y)
                                  : CPoint(bar.CenterPoint().x, bar.bottom - 3));
            Desktop::PumpMessages();
            EXPECT_EQ(1, BarPosition(dialog, id));
        }
        EXPECT_EQ(-1, view.GetDragHorizontalOffset());
        EXPECT_EQ(-1, view.GetDragVerticalOffset());
    });
}

// A strip shorter than a page pans by pixels; a zoom step puts it back at
// its start, where a whole beat keeps its pan.
TEST_F(DlgEnlargedWaveTest, ZoomingAStripShorterThanAPageShowsItFromItsStartAgain)
{
    for (const BOOL wholeBeat : {FALSE, TRUE}) {
        CDlgEnlargedWave dialog(wholeBeat, 0, nullptr);
        dialog.SetDoc(&m_doc, DOC_TYPE_REST);
        dialog.SetDotsPerMM(kDotsPerMM, kDotsPerMM);
        dialog.SetClickInfo(1, 100, 0, 20);
        dialog.SetLimbLead(1);
        testsupport::ModalScript script;
        bool ran = false;
        script.On(CDlgEnlargedWave::IDD, [&](CDialog&) {
            CViewEnlargedWave& view = *dialog.GetWaveView();
            ASSERT_GT(view.GetDrawLength(), 20);
            for (int i = 0; i < 3; ++i)
                dialog.SendMessage(WM_HSCROLL, SB_LINERIGHT,
                                   reinterpret_cast<LPARAM>(dialog.GetDlgItem(CDlgEnlargedWave::IDC_HORIZONTAL_BAR)->m_hWnd));
            EXPECT_EQ(-3, view.GetDragHorizontalOffset());
            const int step = view.GetScaleRatio();
            ClickControl(dialog, CDlgEnlargedWave::IDC_ZOOM_OUT);
            EXPECT_EQ(step - 1, view.GetScaleRatio());
            const int expected = wholeBeat ? 3 : 0;
            EXPECT_EQ(expected, BarPosition(dialog, CDlgEnlargedWave::IDC_HORIZONTAL_BAR)) << wholeBeat;
            EXPECT_EQ(-expected, view.GetDragHorizontalOffset()) << wholeBeat;
            ran = true;
        });
        dialog.DoModal();
        EXPECT_TRUE(ran);
    }
}

TEST_F(DlgEnlargedWaveTest, DraggingAStripMovesItsStartThroughTheDialogWithinTheRecord)
{
    Run(FALSE, 2500, [&](CDlgEnlargedWave& dialog) {
        CViewEnlargedWave& view = *dialog.GetWaveView();
        const int page = view.GetDrawLength();
        ASSERT_GT(page, 0);
        ASSERT_LT(page, 5000);
        const int start = view.GetStartSample();
        const CRect client = Client(view);
        Desktop::Drag(view.GetSafeHwnd(), CPoint(client.Width() - 5, 50), CPoint(5, 50), 1);
        Desktop::PumpMessages();
        EXPECT_GT(view.GetStartSample(), start);
        EXPECT_LE(view.GetStartSample(), 5000 - page);
        EXPECT_EQ(view.GetStartSample(), BarPosition(dialog, CDlgEnlargedWave::IDC_HORIZONTAL_BAR));
        for (int i = 0; i < 4; ++i) {
            Desktop::AdvanceClock(1000);   // presses far apart: no double-click
            Desktop::Drag(view.GetSafeHwnd(), CPoint(5, 50), CPoint(client.Width() - 5, 50), 1);
            Desktop::PumpMessages();
        }
        EXPECT_EQ(0, view.GetStartSample());
    });
}

TEST_F(DlgEnlargedWaveTest, TheSerialModesShowTheStripAtTheComparisonsSpeed)
{
    int page = 0;
    auto drawLength = [&](int* out) { return [out](CDlgEnlargedWave& dialog) { *out = dialog.GetWaveView()->GetDrawLength(); }; };
    Run(FALSE, 2500, drawLength(&page));
    ASSERT_GT(page, 0);
    // The serial average: the speed the comparison gives, 50 mm/s.
    int serialAverage = 0;
    RunIn(FALSE, 1, 2500, [](CDlgEnlargedWave& d) { d.SetSerialPos(50.0f, 10.0f, 100); }, drawLength(&serialAverage));
    EXPECT_NEAR(page / 2, serialAverage, 1);
    // The serial rhythm comparison: the comparison document's speed.
    CRestViewDoc comparison;
    comparison.m_bAutoDelete = FALSE;
    comparison.SetSpeed(50.0f);
    int serialRhythm = 0;
    RunIn(FALSE, 2, 2500, [&](CDlgEnlargedWave& d) { d.SetSerialDoc(&comparison); }, drawLength(&serialRhythm));
    EXPECT_NEAR(page / 2, serialRhythm, 1);
    // Without one the record's own document answers.
    int own = 0;
    RunIn(FALSE, 2, 2500, nullptr, drawLength(&own));
    EXPECT_EQ(page, own);
}

TEST_F(DlgEnlargedWaveTest, TheZoomButtonsWalkTheStepsAndStopAtTheirEnds)
{
    Run(TRUE, 0, [&](CDlgEnlargedWave& dialog) {
        CViewEnlargedWave& view = *dialog.GetWaveView();
        EXPECT_EQ(2, view.GetScaleRatio());   // the dialog opens at 400%
        for (int i = 0; i < 3; ++i) ClickControl(dialog, CDlgEnlargedWave::IDC_ZOOM_IN);
        EXPECT_EQ(4, view.GetScaleRatio());
        for (int i = 0; i < 9; ++i) ClickControl(dialog, CDlgEnlargedWave::IDC_ZOOM_OUT);
        EXPECT_EQ(-4, view.GetScaleRatio());
        EXPECT_DOUBLE_EQ(0.5, view.GetZoom());
    });
}

TEST_F(DlgEnlargedWaveTest, TheOverlapDialogShowsEveryComparedBeatAndPansItsView)
{
    // A second record beside the first, both listed in a comparing document.
    morvelance::RestRecordShape shape;
    shape.heartRate = 60.0;
    _RESTDATAITEM* second = AddRecord("second", shape);
    ASSERT_EQ(0, Open(second));
    CTavrionDoc base;
    base.m_bAutoDelete = FALSE;
    for (_RESTDATAITEM* item = m_doc.GetRestDataManager().GetListHeader(); item; item = item->pNext) {
        auto* listed = new _DATAITEM;
        listed->uSystemCode = item->uSystemCode;
        listed->strFilePath = item->strFilePath;
        listed->strXMLPath = item->strXMLPath;
        base.GetDataManager().AppendItem(listed);
    }
    base.SetCurDataIndex(0);

    CDlgEnlargedOverlap dialog(nullptr);
    dialog.SetDoc(&base, DOC_TYPE_REST);
    dialog.SetRestDoc(&m_doc);
    dialog.SetDotsPerMM(kDotsPerMM, kDotsPerMM);
    dialog.SetLeadID(1);
    dialog.SetCompareCount(2);
    dialog.SetSensitivity(10.0f);
    dialog.SetDataIndex(0, 0);
    dialog.SetDataIndex(1, 1);
    testsupport::ModalScript script;
    bool ran = false;
    script.On(CDlgEnlargedOverlap::IDD, [&](CDialog&) {
        CViewEnlargedOverlap* view = dialog.GetOverlapView();
        ASSERT_NE(nullptr, view);
        EXPECT_TRUE(view->HasSamples(0));
        EXPECT_TRUE(view->HasSamples(1));
        EXPECT_FALSE(view->HasSamples(2));
        Settle(*view);
        Desktop::Drag(view->GetSafeHwnd(), CPoint(60, 60), CPoint(40, 90), 2);
        Desktop::PumpMessages();
        EXPECT_EQ(20, BarPosition(dialog, CDlgEnlargedOverlap::IDC_HORIZONTAL_BAR));
        EXPECT_EQ(-30, BarPosition(dialog, CDlgEnlargedOverlap::IDC_VERTICAL_BAR));
        EXPECT_EQ(-20, view->GetDragHorizontalOffset());
        ClickControl(dialog, CDlgEnlargedOverlap::IDC_RULER);
        EXPECT_EQ(RULER_STATUS_ARMED, view->GetRulerStatus());
        EXPECT_FALSE(dialog.GetDlgItem(CDlgEnlargedOverlap::IDC_HORIZONTAL_BAR)->IsWindowEnabled());
        ran = true;
    });
    dialog.DoModal();
    EXPECT_TRUE(ran);
}
