// The average-beat view on maker records: beats inside their cells at the
// beat window's place, calibration pulses at the limb and chest gains, ST
// levels in millimetres, windows the beats cannot fill, the pane's messages,
// the enlarged beat under the cursor, and the printed copy.
#include <regex>

#include "analysisviews/ViewAverageWave.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "dialogs/DlgEnlargedWave.h"
#include "documents/MFERViewDoc.h"
#include "platform/gdi/Image.h"
#include "platform/gdi/RecordingDriver.h"
#include "printdevice/ECGDC.h"
#include "tests/analysisviews/AnalysisViewTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tools/MferWriter.h"
#include "waveviews/ViewEnlargedPreview.h"

using namespace analysisviewtest;

namespace {

// 1300 × 1200 pixels: 10 pixels a square of the 130 × 120 paper.
const int kWidth = 1300;
const int kHeight = 1200;
const int kCalibration = 100;   // ten squares
const int kCell = 300;          // 1200 / 4
const int kRow = 400;           // 1200 / 3

int CellLeft(int column) { return kCalibration + column * kCell; }
int Baseline(int row) { return kRow / 2 + row * kRow; }

class AverageWaveTest : public AnalysisViewFixture<CViewAverageWave> {
protected:
    // The whole picture on a white 1300 × 1200 surface; DrawView's result.
    BOOL Draw(CViewAverageWave& view)
    {
        MakeSurface(kWidth, kHeight);
        view.OnUpdate(nullptr, 0, nullptr);
        return view.DrawView(&m_dc, CRect(0, 0, kWidth, kHeight), 130, 120, FALSE);
    }
    // The x range of the trace of column c for the view's window, as 25 mm/s places it.
    std::pair<int, int> TraceRange(const CViewAverageWave& view, int column)
    {
        int start = view.GetWindowStart();
        int span = view.GetWindowSpan();
        if (column > 0 && span + 20 > 600) {
            start += 20;
            span -= 20;
        }
        const int left = CellLeft(column) + 1200 * start / 2600;
        return {left, left + 1200 * span / 2400};
    }
    // Columns of the area holding trace ink.
    std::vector<int> InkedColumns()
    {
        std::vector<int> columns;
        for (int x = kCalibration; x < kWidth; ++x)
            if (CountIn(CRect(x, 0, x + 1, kHeight), kTrace) > 0) columns.push_back(x);
        return columns;
    }
};

}  // namespace

TEST_F(AverageWaveTest, EachBeatIsDrawnInItsOwnCellAtTheBeatWindowsPlace)
{
    OpenRest();
    SetSenses(10.0f, 10.0f);
    CViewAverageWave& view = Detached();
    ASSERT_TRUE(Draw(view));
    ASSERT_EQ(600, view.GetSampleCount(0));
    ASSERT_GT(view.GetWindowSpan(), 500);

    for (int lead = 0; lead < 12; ++lead) {
        const int column = lead / 3;
        const int row = lead % 3;
        const auto range = TraceRange(view, column);
        // Lead k = column × 3 + row, its ink within half a row of its baseline.
        EXPECT_GT(CountIn(CRect(range.first, Baseline(row) - kRow / 2, range.second + 1, Baseline(row) + kRow / 2),
                          kTrace),
                  50)
            << lead;
    }
    for (int x : InkedColumns()) {
        const int column = std::min(3, (x - kCalibration) / kCell);
        const auto range = TraceRange(view, column);
        EXPECT_TRUE(x >= range.first - 1 && x <= range.second + 1) << "ink at x " << x << " in column " << column;
    }
}

TEST_F(AverageWaveTest, CalibrationPulsesStepToTheLimbAndChestGains)
{
    OpenRest();
    SetSenses(10.0f, 20.0f);
    CViewAverageWave& view = Detached();
    ASSERT_TRUE(Draw(view));
    // Column 100 px: pulse from x 20, 60 wide; limb step over x 27..42, chest over 57..72.
    for (int pulse = 0; pulse < 3; ++pulse) {
        const int y = Baseline(pulse);
        EXPECT_EQ(kTrace, Pixel(35, y - 100)) << pulse;   // 10 mm/mV: 100 px
        EXPECT_EQ(kTrace, Pixel(65, y - 200)) << pulse;   // 20 mm/mV: 200 px
        EXPECT_NE(kTrace, Pixel(35, y - 200)) << pulse;
    }
}

TEST_F(AverageWaveTest, PulsesThatWouldNotFitCollapseToOne)
{
    OpenRest();
    CViewAverageWave& view = Detached();
    // count, limb, chest sensitivities (mm/mV) → pulses drawn
    const struct { int count; float limb; float chest; int pulses; } cases[] = {
        {6, 20.0f, 10.0f, 1}, {6, 10.0f, 10.0f, 6}, {3, 10.0f, 25.0f, 1}, {3, 20.0f, 20.0f, 3},
        {2, 40.0f, 10.0f, 1}, {2, 20.0f, 20.0f, 2}, {0, 10.0f, 10.0f, 0},
    };
    for (const auto& c : cases) {
        SetSenses(c.limb, c.chest);
        view.SetCALCount(c.count);
        Draw(view);
        // The flat start of every pulse crosses x 23 at its baseline.
        EXPECT_EQ(c.pulses, RunsDown(23, 0, kHeight, kTrace)) << c.count << " at " << c.limb << "/" << c.chest;
    }
}

TEST_F(AverageWaveTest, StLevelsShowInMillimetresAtTheLeadsSensitivity)
{
    OpenRest();
    _RESTDATAITEM* item = m_doc.GetCurrentDataItem();
    // lead, stored µV, limb and chest sensitivity, text shown
    const struct { int lead; const wchar_t* stored; float limb; float chest; const wchar_t* shown; } cases[] = {
        {6, L"-57", 10.0f, 10.0f, L"-0.57"},  {7, L"105", 10.0f, 10.0f, L"+1.05"},
        {8, L"0", 10.0f, 10.0f, L"+0.00"},     {9, L"****", 10.0f, 10.0f, L"****"},
        {10, L"-35", 10.0f, 5.0f, L"-0.17"},   {0, L"123", 20.0f, 10.0f, L"+2.46"},
        {11, L"-1", 10.0f, 5.0f, L"-0.00"},
    };
    CViewAverageWave& view = Detached();
    for (const auto& c : cases) {
        item->strST[c.lead] = c.stored;
        SetSenses(c.limb, c.chest);
        view.OnUpdate(nullptr, 0, nullptr);
        EXPECT_EQ(CString(c.shown), view.GetSTText(c.lead)) << c.lead;
    }
}

TEST_F(AverageWaveTest, StTextsStandUnderTheirBeatsOnlyWhenTheDocumentShowsThem)
{
    OpenRest();
    SetSenses(10.0f, 10.0f);
    m_doc.GetCurrentDataItem()->strST[7] = L"105";
    m_doc.GetCurrentDataItem()->strST[9] = L"****";
    CViewAverageWave& view = Detached();
    view.OnUpdate(nullptr, 0, nullptr);
    CDC recording;
    ASSERT_TRUE(recording.Attach(platform::gdi::CreateRecordingDC(kWidth, kHeight)));
    const auto texts = [&](bool shown) {
        m_doc.SetShowST(shown ? 1 : 0);
        platform::gdi::ClearRecording(recording.GetSafeHdc());
        view.DrawView(&recording, CRect(0, 0, kWidth, kHeight), 130, 120, FALSE);
        std::vector<platform::gdi::DrawRecord> found;
        for (const auto& r : platform::gdi::GetRecording(recording.GetSafeHdc()))
            if (r.op == platform::gdi::DrawOp::Text) found.push_back(r);
        return found;
    };
    bool st = false;
    for (const auto& r : texts(true)) {
        if (r.text == L"****") ADD_FAILURE() << "a missing level was drawn";
        if (r.text != L"+1.05") continue;
        st = true;
        // Lead 7: column 2, row 1; 14 squares into the cell, 7 below the baseline.
        EXPECT_EQ(CellLeft(2) + 1200 * 14 / 130, r.points.front().x);
        EXPECT_EQ(Baseline(1) + 1200 * 7 / 120, r.rect.bottom);
    }
    EXPECT_TRUE(st);
    for (const auto& r : texts(false)) EXPECT_NE(std::wstring(L"+1.05"), r.text);
}

TEST_F(AverageWaveTest, AWindowReachingPastTheBeatDrawsOnlyTheSamplesHeld)
{
    OpenRest([](morvelance::RecordBuilder& items) {
        items.SetInt16(3723, 0, 400);
        items.SetInt16(3724, 0, 3000);
    });
    SetSenses(10.0f, 10.0f);
    CViewAverageWave& view = Detached();
    ASSERT_TRUE(Draw(view));
    ASSERT_EQ(2600, view.GetWindowSpan());
    // Column 0 holds samples 400..599: 100 px from x 100 + 1200 × 400 / 2600.
    const int left = CellLeft(0) + 1200 * 400 / 2600;
    const std::vector<int> inked = InkedColumns();
    ASSERT_FALSE(inked.empty());
    for (int x : inked) {
        const int column = std::min(3, (x - kCalibration) / kCell);
        const int start = column ? 420 : 400;
        const int first = CellLeft(column) + 1200 * start / 2600;
        EXPECT_TRUE(x >= first - 1 && x <= first + (600 - start) / 2 + 1) << x;
    }
    EXPECT_GT(CountIn(CRect(left, 0, left + 100, kHeight), kTrace), 0);
}

TEST_F(AverageWaveTest, AWindowBeyondTheBeatDrawsNoTraceButKeepsTheLeadNames)
{
    OpenRest([](morvelance::RecordBuilder& items) {
        items.SetInt16(3723, 0, 700);
        items.SetInt16(3724, 0, 900);
    });
    CViewAverageWave& view = Detached();
    ASSERT_TRUE(Draw(view));
    EXPECT_TRUE(InkedColumns().empty());
    // Lead I's name: text-coloured ink five squares into the cell, above the baseline.
    int name = 0;
    for (int y = Baseline(0) - 60; y < Baseline(0); ++y)
        for (int x = CellLeft(0) + 46; x < CellLeft(0) + 80; ++x) {
            const COLORREF c = Pixel(x, y);
            name += GetBValue(c) > GetRValue(c) + 40 && c != kGrid;
        }
    EXPECT_GT(name, 0);
}

TEST_F(AverageWaveTest, WithoutACurrentRecordNothingIsDrawnOrPrinted)
{
    CViewAverageWave& view = Detached();
    MakeSurface(kWidth, kHeight);
    EXPECT_FALSE(view.DrawView(&m_dc, CRect(0, 0, kWidth, kHeight), 130, 120, FALSE));
    CECGDC printer(&m_dc, 2);
    EXPECT_FALSE(view.Print(&printer, CRect(0, 0, kWidth, kHeight), 130, 120, 10.0, 0, 0));
}

TEST_F(AverageWaveTest, CalibrationClicksAskThePaneForTheLimbOrChestSensitivity)
{
    OpenRest();
    CViewAverageWave* view = MakeView(kWidth, kHeight);
    ASSERT_NE(nullptr, view);
    Click(view, 20, 500);
    Click(view, 80, 500);
    Click(view, 600, 500);   // a lead cell asks nothing
    const std::vector<LoggedMsg> expected = {{kSenseRequest, 1, 1}, {kSenseRequest, 1, 0}};
    EXPECT_EQ(expected, m_pane.m_log);

    m_pane.m_log.clear();
    m_doc.SetMouseMode(2);   // annotation drawing takes the click
    Click(view, 20, 500);
    EXPECT_TRUE(m_pane.m_log.empty());
}

TEST_F(AverageWaveTest, ADoubleClickOpensTheEnlargedBeatAtTheSampleUnderTheCursor)
{
    OpenRest();
    CViewAverageWave* view = MakeView(kWidth, kHeight);
    ASSERT_NE(nullptr, view);
    ASSERT_EQ(0, view->GetWindowStart());
    ASSERT_EQ(599, view->GetWindowSpan());
    // Lead 7 (column 2, row 1): its trace starts 20 samples into the beat,
    // at x 700 + 1200 × 20 / 2600 = 709, and spans 579 samples over 289 px.
    const int x = 709 + 100;
    testsupport::ModalScript script;
    script.On(CDlgEnlargedWave::IDD, [&](CDialog& shown) {
        auto* dialog = dynamic_cast<CDlgEnlargedWave*>(&shown);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(7, dialog->GetClickLead());
        EXPECT_EQ(20 + 100 * 579 / 289, dialog->GetCenter());
        EXPECT_EQ(0, dialog->GetClickValue());
        EXPECT_EQ(600, dialog->GetWaveLength());
        EXPECT_EQ(0, dialog->GetLimbLead());
        shown.EndDialog(IDOK);
    });
    script.On(CDlgEnlargedWave::IDD, [&](CDialog& shown) {
        auto* dialog = dynamic_cast<CDlgEnlargedWave*>(&shown);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(1, dialog->GetClickLead());
        EXPECT_EQ(1, dialog->GetLimbLead());
        shown.EndDialog(IDCANCEL);
    });
    DoubleClick(view, x, Baseline(1));
    const std::vector<LoggedMsg> closed = {{kBeatEnlarged, 0, 0}};
    EXPECT_EQ(closed, m_pane.m_log);

    m_pane.m_log.clear();
    DoubleClick(view, CellLeft(0) + 150, Baseline(1));   // cancelled: nothing is reported
    EXPECT_TRUE(m_pane.m_log.empty());
    DoubleClick(view, 50, 500);   // the calibration column is no lead
    EXPECT_EQ(2u, script.Seen().size());
    EXPECT_EQ(0u, script.Pending());
}

TEST_F(AverageWaveTest, TheClickedSampleStaysInsideTheBeatInEveryColumn)
{
    OpenRest();
    CViewAverageWave* view = MakeView(kWidth, kHeight);
    ASSERT_NE(nullptr, view);
    for (int column = 0; column < 4; ++column) {
        for (int dx : {0, 150, 299}) {
            int sample = -1;
            const int lead = view->GetClickLead(CPoint(CellLeft(column) + dx, Baseline(2)), sample);
            EXPECT_EQ(column * 3 + 2, lead);
            const int start = column ? 20 : 0;
            EXPECT_GE(sample, start) << column << "/" << dx;
            EXPECT_LT(sample, start + (column ? 579 : 599)) << column << "/" << dx;
        }
    }
    int sample = 0;
    EXPECT_EQ(-1, view->GetClickLead(CPoint(99, 500), sample));
}

TEST_F(AverageWaveTest, ThePaintedViewMatchesItsDrawingAndFailingKeepsTheScreen)
{
    OpenRest();
    SetSenses(10.0f, 10.0f);
    CViewAverageWave* view = MakeView(kWidth, kHeight);
    ASSERT_NE(nullptr, view);
    view->Invalidate(TRUE);
    view->UpdateWindow();
    CClientDC screen(view);
    // The first pulse's limb step and lead I's beat near its baseline.
    EXPECT_EQ(kTrace, screen.GetPixel(35, Baseline(0) - 100));
    int ink = 0;
    for (int x = CellLeft(0); x < CellLeft(1); ++x)
        for (int y = Baseline(0) - 150; y < Baseline(0) + 150; ++y) ink += screen.GetPixel(x, y) == kTrace;
    EXPECT_GT(ink, 50);

    m_doc.SetCurDataIndex(-1);   // no current record: the picture stays
    view->Invalidate(FALSE);
    view->UpdateWindow();
    EXPECT_EQ(kTrace, screen.GetPixel(35, Baseline(0) - 100));
}

TEST_F(AverageWaveTest, ThePrintedCopyIsBlackWithTheStCaptionAtItsCorner)
{
    OpenRest();
    SetSenses(10.0f, 10.0f);
    m_doc.SetShowST(1);
    CViewAverageWave& view = Detached();
    view.OnUpdate(nullptr, 0, nullptr);
    CDC recording;
    ASSERT_TRUE(recording.Attach(platform::gdi::CreateRecordingDC(2000, 2000)));
    CECGDC printer(&recording, 2);
    ASSERT_TRUE(view.Print(&printer, CRect(50, 60, 2000, 2000), 130, 120, 12.0, 0, 0));
    bool caption = false;
    int traces = 0;
    for (const auto& r : platform::gdi::GetRecording(recording.GetSafeHdc())) {
        if (r.op == platform::gdi::DrawOp::Text) {
            EXPECT_EQ(0u, r.color) << "printed text is black";
            if (r.text == L"Average ST[mm]") {
                caption = true;
                // Right-aligned at the lead area's top right: 50 + 130 × 12.
                EXPECT_EQ(50 + 1560, r.rect.right);
                EXPECT_EQ(60, r.rect.top);
                // On paper at least 2 mm tall, whatever the DC's own font.
                EXPECT_GE(r.rect.bottom - r.rect.top, 24);
            }
        }
        if (r.op == platform::gdi::DrawOp::Polyline && r.penWidth == 3 && r.penColor == 0) ++traces;
    }
    EXPECT_TRUE(caption);
    EXPECT_GE(traces, 12);
}

TEST_F(AverageWaveTest, AnnotationModesHandTheMouseToTheAnnotationLayer)
{
    OpenRest();
    m_doc.SetAnnotationType(2);
    m_doc.SetAnnotationWidth(2);
    CViewAverageWave* view = MakeView(kWidth, kHeight);
    ASSERT_NE(nullptr, view);
    m_doc.SetMouseMode(2);
    testsupport::ModalScript script;
    platform::ui::Desktop::AdvanceClock(1000);
    platform::ui::Desktop::Drag(view->GetSafeHwnd(), CPoint(400, 300), CPoint(600, 500), 4);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(1, view->GetNotationManager().GetCount());
    DoubleClick(view, CellLeft(1) + 100, Baseline(1));
    EXPECT_TRUE(script.Seen().empty());   // no enlarged beat while drawing
    EXPECT_TRUE(m_pane.m_log.empty());
}

TEST_F(AverageWaveTest, AnMferRecordsBeatsAndCalibrationClicksAreItsOwn)
{
    CMFERViewDoc mfer;
    mfer.m_bAutoDelete = FALSE;
    Colour(mfer);
    const std::string path = m_dir.File("beats12.mwf");
    morvelance::MferOptions options;
    options.description = morvelance::MferDescription(morvelance::MferKind::Plain);
    std::string error;
    ASSERT_TRUE(morvelance::WriteMferFile(path, morvelance::MferKindRecord(morvelance::MferKind::Plain, 12, 10.0, 500.0),
                                          options, &error))
        << error;
    auto* item = new _MFERDATAITEM;
    item->strFilePath = testsupport::Wide(path);
    item->nLeadLayout = 12;
    mfer.GetMFERDataManager()->AppendItem(item);
    mfer.SetCurDataIndex(item->nID);
    CString file = item->strFilePath, xml, third;
    ASSERT_EQ(0, mfer.OpenMFERFile(file, xml, third));

    CViewAverageWave* view = MakeView(kWidth, kHeight, &mfer, DOC_TYPE_MFER);
    ASSERT_NE(nullptr, view);
    view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_GT(view->GetSampleCount(11), 100);
    EXPECT_EQ(view->GetSampleCount(0), view->GetWindowSpan());
    EXPECT_EQ(CString(L"****"), view->GetSTText(0));   // a file without its record XML measures nothing
    Click(view, 20, 500);
    const std::vector<LoggedMsg> expected = {{kSenseRequest, 7, 1}};
    EXPECT_EQ(expected, m_pane.m_log);
    m_frame->DestroyWindow();
    m_frame = nullptr;
}

TEST_F(AverageWaveTest, WithoutACurrentRecordAnUpdateKeepsTheTextsAsShown)
{
    OpenRest();
    m_doc.GetCurrentDataItem()->strST[6] = L"-57";
    SetSenses(10.0f, 10.0f);
    CViewAverageWave& view = Detached();
    view.OnUpdate(nullptr, 0, nullptr);
    ASSERT_EQ(CString(L"-0.57"), view.GetSTText(6));
    m_doc.SetCurDataIndex(-1);
    view.OnUpdate(nullptr, 0, nullptr);
    view.OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(CString(L"-0.57"), view.GetSTText(6));
    EXPECT_EQ(600, view.GetSampleCount(6));
}

TEST_F(AverageWaveTest, TheMagnifierShowsTheBeatsAndServesNearbyMovesFromItsCanvas)
{
    OpenRest();
    CDlgEnlargedPreview magnifier;
    ASSERT_NO_FATAL_FAILURE(analysisviewtest::ShowMagnifier(magnifier, m_doc));
    CViewAverageWave* view = MakeView(kWidth, kHeight);
    ASSERT_NE(nullptr, view);

    // Over lead II's R wave: the magnified picture holds trace ink.
    const CPoint r(CellLeft(0) + 1200 * 250 / 2600 - 10, Baseline(1) - 40);
    platform::ui::Desktop::MoveMouse(view->GetSafeHwnd(), r.x, r.y);
    platform::ui::Desktop::PumpMessages();
    ASSERT_TRUE(view->GetMagnifier().HasCache());
    view->MoveEnlargedPreview(r);
    CDC* picture = magnifier.GetEnlargedPreview()->GetMemDC();
    ASSERT_NE(nullptr, picture);
    view->MoveEnlargedPreview(r);
    int ink = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) ink += picture->GetPixel(x, y) == kTrace;
    EXPECT_GT(ink, 20);
    const CRect cached = view->GetMagnifier().GetCachedRect();
    platform::ui::Desktop::MoveMouse(view->GetSafeHwnd(), r.x + 3, r.y + 2);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(cached, view->GetMagnifier().GetCachedRect());
    view->OnUpdate(nullptr, 0, nullptr);   // a new record: the canvas goes
    EXPECT_FALSE(view->GetMagnifier().HasCache());

    m_frame->DestroyWindow();
    m_frame = nullptr;
    m_doc.SetEnlargedPreview(nullptr);
    magnifier.DestroyWindow();
}
