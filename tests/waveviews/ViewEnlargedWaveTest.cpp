// The enlarged wave view on resting records of the record maker: zoom steps,
// the beat window, pixel probes of the trace, the XOR ruler and its
// readings, arrow keys and pans, all through the desktop's message path.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "tests/waveviews/EnlargedViewTestSupport.h"
#include "tools/RecordTags.h"
#include "tools/RestRecord.h"
#include "waveviews/ViewEnlargedWave.h"

using enlargedtest::kTrace;
namespace rec = morvelance::rec;

namespace {

// A 400 x 200 view at 4 pixels a millimetre and zoom 1: 100 x 50 squares.
const int kWidth = 400;
const int kHeight = 200;
const double kPixelsPerMM = 4.0;

class EnlargedWaveTest : public enlargedtest::EnlargedViewFixture<CViewEnlargedWave> {
protected:
    // A record of the maker, its items changed by `tweak`, opened as the current item.
    void OpenRecord(const std::function<void(morvelance::RecordBuilder&)>& tweak = nullptr,
                    const std::string& name = "enlarged")
    {
        morvelance::RestRecordShape shape;
        morvelance::RecordBuilder items = morvelance::MakeRestRecord(shape);
        if (tweak) tweak(items);
        m_files = morvelance::WriteRestRecord(m_dir.Path(), name, shape, items);
        ASSERT_EQ(0, Open(AddItem(m_files, false)));
    }
    // The view shows lead II, as the dialog sets it up.
    void ShowLead(BOOL average, float speed = 25.0f, int centre = 0, float sense = 10.0f)
    {
        MakeView(kWidth, kHeight);
        m_view->SetDocType(DOC_TYPE_REST);
        m_view->SetBackGridSize(kPixelsPerMM, kPixelsPerMM, 1.0);
        const int total = m_doc.GetRhythmWaveData(1, nullptr, -1) / 2;
        m_view->SetWaveInfo(m_doc.GetCurrentDataItem()->pECGData, 0, speed, sense, 100, total);
        m_view->SetCenterPos(centre, 1, average);
        m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
        // The first mouse message activates the window and loses its
        // picture: it comes before the picture the tests look at.
        Move(kWidth - 1, kHeight - 1);
        Paint();
    }
    // The R peak's height above the baseline: the row of the highest trace pixel.
    int PeakRow()
    {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (Pixel(x, y) == enlargedtest::kTrace) return y;
        return -1;
    }
    std::pair<int, int> LastReading() const
    {
        return m_recorder.m_readings.empty() ? std::make_pair(-1, -1) : m_recorder.m_readings.back();
    }
};

void SetWindow(morvelance::RecordBuilder& items, int first, int last)
{
    items.SetInt16(rec::kTagAverageFirst, 0, static_cast<int16_t>(first));
    items.SetInt16(rec::kTagAverageLast, 0, static_cast<int16_t>(last));
}

}  // namespace

// ---- zoom steps ------------------------------------------------------------------------------

TEST(EnlargedZoomSteps, AZoomTakesTheStepOfTheSmallestTableZoomNotBelowIt)
{
    // zoom      step
    static const struct {
        double zoom;
        int step;
    } kCases[] = {
        {0.2, -4}, {0.5, -4},               // up to 50%
        {0.51, -3}, {0.667, -3},            // 66.7%
        {0.7, -2}, {0.8, -2},               // 80%
        {0.85, -1}, {0.909, -1},            // 90%
        {0.95, 0}, {1.0, 0},                // 100%
        {1.5, 1}, {3.0, 2}, {4.0, 2},       // 200%, 400%
        {4.5, 3}, {7.0, 4}, {10.0, 4},      // 500%, 1000%
    };
    for (const auto& c : kCases) {
        CViewEnlargedWave view;
        view.SetBackGridSize(1.0, 1.0, c.zoom);
        EXPECT_EQ(c.step, view.GetScaleRatio()) << "zoom " << c.zoom;
        // The zoom itself is kept, not the step's.
        EXPECT_DOUBLE_EQ(c.zoom, view.GetZoom()) << "zoom " << c.zoom;
    }
}

TEST_F(EnlargedWaveTest, AZoomOfThreeShowsFourHundredPercentWhileTheGridFollowsThreeItself)
{
    OpenRecord();
    ShowLead(FALSE);
    m_view->SetBackGridSize(kPixelsPerMM, kPixelsPerMM, 3.0);
    EXPECT_EQ(2, m_view->GetScaleRatio());
    int across = 0, down = 0;
    m_view->GetGridCount(across, down);
    // 400 px at 12 px a square, 200 px likewise.
    EXPECT_EQ(33, across);
    EXPECT_EQ(16, down);
}

TEST_F(EnlargedWaveTest, AZoomAboveTenOrNotAboveZeroChangesNothingNotEvenThePixelSizes)
{
    OpenRecord();
    ShowLead(FALSE);
    int across = 0, down = 0;
    m_view->GetGridCount(across, down);
    const int step = m_view->GetScaleRatio();
    for (double zoom : {12.0, 0.0, -2.0, std::numeric_limits<double>::quiet_NaN()}) {
        m_view->SetBackGridSize(1.0, 1.0, zoom);
        m_view->SetBackGridSize(0.0, -1.0, 2.0);   // no pixel size either
        int a = 0, d = 0;
        m_view->GetGridCount(a, d);
        EXPECT_EQ(across, a) << zoom;
        EXPECT_EQ(down, d) << zoom;
        EXPECT_EQ(step, m_view->GetScaleRatio()) << zoom;
    }
    // The pixel sizes are still 4: step 1 (200%) gives 8 px a square.
    m_view->SetScaleRatio(1);
    m_view->GetGridCount(across, down);
    EXPECT_EQ(50, across);
    EXPECT_EQ(25, down);
}

TEST_F(EnlargedWaveTest, AStepOutsideTheTableKeepsTheZoomAndShowsNoLabel)
{
    OpenRecord();
    ShowLead(FALSE);
    // The label's pixels are shades of the text colour: blue well above red.
    auto labelInk = [&] {
        int ink = 0;
        for (int y = kHeight - 40; y < kHeight; ++y) {
            for (int x = kWidth - 80; x < kWidth; ++x) {
                const COLORREF p = Pixel(x, y);
                ink += GetBValue(p) > GetRValue(p) + 60;
            }
        }
        return ink;
    };
    EXPECT_GT(labelInk(), 0);
    m_view->SetScaleRatio(7);
    Paint();
    EXPECT_EQ(7, m_view->GetScaleRatio());
    EXPECT_DOUBLE_EQ(1.0, m_view->GetZoom());
    EXPECT_EQ(0, labelInk());
}

// ---- the trace ---------------------------------------------------------------------------------

TEST_F(EnlargedWaveTest, AStripSpansTheWholeWidthAndStartsItsPageAroundTheCentre)
{
    OpenRecord();
    ShowLead(FALSE, 25.0f, 2500);
    // 100 squares at 25 mm/s are 4 s: 2000 samples, half of them before the centre.
    EXPECT_EQ(2000, m_view->GetDrawLength());
    EXPECT_EQ(1500, m_view->GetStartSample());
    const auto span = TraceColumns();
    EXPECT_LE(span.first, 1);
    EXPECT_GE(span.second, kWidth - 2);
}

TEST_F(EnlargedWaveTest, TheAverageBeatIsCentredAtTwentyFiveMillimetresPerSecond)
{
    OpenRecord([](morvelance::RecordBuilder& items) { SetWindow(items, 100, 500); });
    ShowLead(TRUE);
    ASSERT_EQ(400, m_view->GetDrawLength());
    // 400 samples at 500 Hz and 25 mm/s are 20 mm: 80 px, in the middle.
    const auto span = TraceColumns();
    EXPECT_NEAR(kWidth / 2 - 40, span.first, 1);
    EXPECT_NEAR(kWidth / 2 + 40, span.second, 2);
}

TEST_F(EnlargedWaveTest, AStripCentredAtTheRecordsLastSampleEndsItsPageOneSampleShortOfIt)
{
    OpenRecord();
    const int total = m_doc.GetRhythmWaveData(1, nullptr, -1) / 2;
    ASSERT_EQ(5000, total);
    ShowLead(FALSE, 25.0f, total - 1);
    // A page of 2000 samples that ends before the last one, across the whole width.
    ASSERT_EQ(2000, m_view->GetDrawLength());
    EXPECT_EQ(total - 2000 - 1, m_view->GetStartSample());
    const auto span = TraceColumns();
    EXPECT_LE(span.first, 1);
    EXPECT_GE(span.second, kWidth - 2);
}

TEST_F(EnlargedWaveTest, AStripShorterThanThePageIsDrawnNarrowerAndCentred)
{
    OpenRecord();
    // 100 squares at 5 mm/s are 20 s: the record's 10 s fill half the view.
    ShowLead(FALSE, 5.0f);
    const auto span = TraceColumns();
    EXPECT_NEAR(kWidth / 4, span.first, 1);
    EXPECT_NEAR(kWidth * 3 / 4, span.second, 2);
}

TEST_F(EnlargedWaveTest, LeadsOfElectrodeCodes119To124AreAlwaysDrawnAtTenMillimetresPerMillivolt)
{
    OpenRecord();
    ShowLead(TRUE, 25.0f, 0, 10.0f);
    const int atTen = PeakRow();
    m_view->SetWaveInfo(m_doc.GetCurrentDataItem()->pECGData, 0, 25.0f, 5.0f, 100, 5000);
    Paint();
    EXPECT_GT(PeakRow(), atTen);   // half the gain: a lower peak
    m_frame->DestroyWindow();
    m_frame = nullptr;
    m_recorder.DestroyWindow();

    OpenRecord([](morvelance::RecordBuilder& items) { items.SetUInt16(rec::kTagElectrodeCode, 1, 120); }, "coded");
    ShowLead(TRUE, 25.0f, 0, 5.0f);
    EXPECT_EQ(atTen, PeakRow());
}

// The free leads run from 119 (EXT1) to 124 (EXT6): both ends at the fixed
// 10 mm/mV, the codes either side of them (and those from 0x8000 on, an
// unsigned code) at the dialog's gain.
TEST_F(EnlargedWaveTest, OnlyCodes119To124TakeTheFixedTenMillimetresPerMillivolt)
{
    int records = 0;
    auto peakFor = [&](int code, float sense) {
        if (m_frame) m_frame->DestroyWindow();
        m_frame = nullptr;
        m_recorder.DestroyWindow();
        OpenRecord(
            [code](morvelance::RecordBuilder& items) {
                if (code >= 0) items.SetUInt16(rec::kTagElectrodeCode, 1, static_cast<uint16_t>(code));
            },
            "coded" + std::to_string(records++));
        ShowLead(TRUE, 25.0f, 0, sense);
        return PeakRow();
    };
    const int atTen = peakFor(-1, 10.0f);
    const int atFive = peakFor(-1, 5.0f);
    ASSERT_GT(atFive, atTen);
    for (int code : {119, 124}) EXPECT_EQ(atTen, peakFor(code, 5.0f)) << code;
    for (int code : {118, 125, 0x8077, 0xFFFF}) EXPECT_EQ(atFive, peakFor(code, 5.0f)) << code;
}

TEST_F(EnlargedWaveTest, ABeatWindowReachingOutsideTheBeatIsKeptToTheSamplesRead)
{
    OpenRecord([](morvelance::RecordBuilder& items) { SetWindow(items, -50, 5000); });
    ShowLead(TRUE);
    EXPECT_EQ(0, m_view->GetStartSample());
    EXPECT_EQ(m_view->GetWaveLength(), m_view->GetDrawLength());
    const auto span = TraceColumns();
    const int width = kWidth * m_view->GetWaveLength() / 2000;
    EXPECT_NEAR(width, span.second - span.first, 2);
}

TEST_F(EnlargedWaveTest, AReversedOrEmptyBeatWindowDrawsNoTrace)
{
    OpenRecord([](morvelance::RecordBuilder& items) { SetWindow(items, 400, 100); });
    ShowLead(TRUE);
    EXPECT_EQ(0, m_view->GetDrawLength());
    EXPECT_EQ(-1, TraceColumns().first);
}

TEST_F(EnlargedWaveTest, AViewWithoutSizeDrawsNoTraceAndReportsNoReading)
{
    OpenRecord();
    MakeView(0, 0);
    m_view->SetBackGridSize(kPixelsPerMM, kPixelsPerMM, 1.0);
    m_view->SetScaleRatio(2);
    m_view->SetCenterPos(0, 1, FALSE);
    m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
    Paint();
    int across = 0, down = 0;
    m_view->GetGridCount(across, down);
    EXPECT_EQ(0, across);
    EXPECT_EQ(0, m_view->GetDrawLength());
    SetMarks(CPoint(0, 0), CPoint(0, 0));
    EXPECT_TRUE(m_recorder.m_readings.empty());
}

// ---- the ruler ---------------------------------------------------------------------------------

TEST(EnlargedRulerFigure, AMarkAndItsCornerSquaresDrawnTwiceInXorLeaveEveryPixel)
{
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(60, 40)));
    // A picture of stripes, so that no pixel is the same as its neighbours'.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) dc.SetPixelV(x, y, RGB(x * 4, y * 6, (x + y) * 2));
    std::vector<COLORREF> before;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) before.push_back(dc.GetPixel(x, y));

    CEnlargedRuler ruler;
    ruler.SetStatus(RULER_STATUS_BOTH);
    ruler.SetMark(0, CPoint(30, 20));
    ruler.SetMarkRect(0);
    CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
    CBrush brush(RGB(255, 255, 255));
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(&brush);
    const int oldRop = dc.SetROP2(R2_XORPEN);
    const CRect client(0, 0, 60, 40);
    for (int pass = 0; pass < 2; ++pass) {
        CEnlargedRuler::DrawMarkFigure(&dc, client, CPoint(30, 20), CEnlargedRuler::MarkBox(CPoint(30, 20)));
        ruler.DrawCornerSquares(&dc);
        if (pass == 0) {
            EXPECT_NE(before[20 * 60 + 5], dc.GetPixel(5, 20));   // the horizontal line is there
        }
    }
    dc.SetROP2(oldRop);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
    size_t changed = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) changed += dc.GetPixel(x, y) != before[static_cast<size_t>(y * 60 + x)];
    EXPECT_EQ(0u, changed);
}

TEST_F(EnlargedWaveTest, TheCrosshairFollowingTheMouseLeavesThePictureChangedOnlyWhereItStands)
{
    OpenRecord();
    ShowLead(FALSE);
    const std::vector<COLORREF> picture = Snapshot();
    m_view->SetRulerStatus(RULER_STATUS_ARMED);
    Move(100, 60);
    // On its vertical line, away from the trace: inverted paper.
    EXPECT_NE(picture[static_cast<size_t>(5 * kWidth + 100)], Pixel(100, 5));
    Move(250, 150);
    Move(300, 20);
    const std::vector<COLORREF> now = Snapshot();
    int changed = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (now[static_cast<size_t>(y * kWidth + x)] == picture[static_cast<size_t>(y * kWidth + x)]) continue;
            ++changed;
            const bool onFigure = x == 300 || y == 20 || (std::abs(x - 300) <= 3 && std::abs(y - 20) <= 3);
            EXPECT_TRUE(onFigure) << x << "," << y;
        }
    }
    // The whole cross: about a view's width and height of line.
    EXPECT_GT(changed, kWidth + kHeight - 20);
}

TEST_F(EnlargedWaveTest, SelectingAMarkShowsItsCornerSquaresAndAMissClearsThem)
{
    OpenRecord();
    ShowLead(FALSE);
    SetMarks(CPoint(100, 50), CPoint(150, 90));
    const std::vector<COLORREF> marked = Snapshot();
    Click(100, 50);
    EXPECT_TRUE(m_view->GetRuler().IsSelected(0));
    // The square above-left of mark 0's box (98, 48, 103, 53).
    EXPECT_EQ(CRect(93, 43, 98, 48), m_view->GetRuler().GetCornerSquare(0));
    EXPECT_NE(marked, Snapshot());
    Click(300, 150);
    EXPECT_FALSE(m_view->GetRuler().IsSelected(0));
    EXPECT_EQ(marked, Snapshot());
}

TEST_F(EnlargedWaveTest, ADragOfTheSecondMarkReportsTimeAndVoltageOnThePaper)
{
    OpenRecord();
    ShowLead(FALSE, 25.0f);
    // 50 px across are 12.5 mm: 500 ms at 25 mm/s; 40 px down are 10 mm: 1 mV at 10 mm/mV.
    SetMarks(CPoint(100, 50), CPoint(150, 90));
    EXPECT_EQ(std::make_pair(500, 1000), LastReading());
    // Either direction reads the same distance.
    m_recorder.m_readings.clear();
    SetMarks(CPoint(150, 90), CPoint(100, 50));
    EXPECT_EQ(std::make_pair(500, 1000), LastReading());
}

TEST_F(EnlargedWaveTest, StripReadingsFollowThePaperSpeedAndBeatReadingsDoNot)
{
    OpenRecord();
    ShowLead(FALSE, 50.0f);
    SetMarks(CPoint(100, 50), CPoint(150, 50));
    EXPECT_EQ(std::make_pair(250, 0), LastReading());
    m_view->SetWaveInfo(m_doc.GetCurrentDataItem()->pECGData, 0, 50.0f, 10.0f, 100, 5000);
    m_view->SetCenterPos(0, 1, TRUE);
    m_recorder.m_readings.clear();
    SetMarks(CPoint(100, 50), CPoint(150, 50));
    EXPECT_EQ(std::make_pair(500, 0), LastReading());
}

TEST_F(EnlargedWaveTest, AnArrowKeyMovesTheSelectedMarkOnePixelAndStopsAtTheEdge)
{
    OpenRecord();
    ShowLead(FALSE);
    SetMarks(CPoint(100, 50), CPoint(150, 90));
    Click(100, 50);
    m_view->SetFocus();
    const size_t before = m_recorder.m_readings.size();
    platform::ui::Desktop::KeyPress(VK_RIGHT);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(CPoint(101, 50), m_view->GetRuler().GetPoint(0));
    ASSERT_EQ(before + 1, m_recorder.m_readings.size());
    // 49 px: 12.25 mm at 25 mm/s.
    EXPECT_EQ(490, LastReading().first);
    platform::ui::Desktop::KeyPress(VK_UP);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(CPoint(101, 49), m_view->GetRuler().GetPoint(0));

    SetMarks(CPoint(0, 50), CPoint(150, 90));
    Click(0, 50);
    m_view->SetFocus();
    const size_t atEdge = m_recorder.m_readings.size();
    platform::ui::Desktop::KeyPress(VK_LEFT);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(CPoint(0, 50), m_view->GetRuler().GetPoint(0));
    EXPECT_EQ(atEdge, m_recorder.m_readings.size());
}

TEST_F(EnlargedWaveTest, AnArrowKeyWithoutASelectedMarkOrWithTheRulerOffMovesNothing)
{
    OpenRecord();
    ShowLead(FALSE);
    SetMarks(CPoint(100, 50), CPoint(150, 90));
    m_view->SetFocus();
    const size_t before = m_recorder.m_readings.size();
    platform::ui::Desktop::KeyPress(VK_RIGHT);
    Click(100, 50);
    m_view->SetRulerStatus(RULER_STATUS_OFF);
    m_view->SetFocus();
    platform::ui::Desktop::KeyPress(VK_RIGHT);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(CPoint(100, 50), m_view->GetRuler().GetPoint(0));
    EXPECT_EQ(before, m_recorder.m_readings.size());
}

// ---- pans ------------------------------------------------------------------------------------------

TEST_F(EnlargedWaveTest, ABeatPansByPixelsKeptWithinOneViewEachWay)
{
    OpenRecord();
    ShowLead(TRUE);
    Drag(CPoint(10, 10), CPoint(390, 190), 4);
    ASSERT_FALSE(m_recorder.m_pans.empty());
    EXPECT_EQ(std::make_pair(-380, -180), m_recorder.m_pans.back());
    for (int i = 0; i < 3; ++i) {
        Drag(CPoint(10, 10), CPoint(390, 190), 4);
    }
    EXPECT_EQ(std::make_pair(-kWidth, -kHeight), m_recorder.m_pans.back());
    EXPECT_EQ(kHeight, m_view->GetDragVerticalOffset());
}

// The enlarged lead has no annotations of its own: in the annotation modes
// a drag still pans the picture and draws no shape.
TEST_F(EnlargedWaveTest, InTheAnnotationModesADragPansAndDrawsNoShape)
{
    OpenRecord();
    ShowLead(TRUE);
    for (int mode : {2, 3}) {
        m_doc.SetMouseMode(mode);
        m_recorder.m_pans.clear();
        Drag(CPoint(100, 50), CPoint(200, 100), 4);
        EXPECT_FALSE(m_recorder.m_pans.empty()) << mode;
        EXPECT_EQ(0, m_view->GetNotationManager().GetCount()) << mode;
        EXPECT_FALSE(m_view->GetNotationManager().IsDrawing()) << mode;
        EXPECT_EQ(nullptr, ::GetCapture()) << mode;
    }
}

TEST_F(EnlargedWaveTest, AStripPanSendsAStartThatNeverLeavesTheRecord)
{
    OpenRecord();
    // 100 squares at 12.5 mm/s: 4000 of the record's 5000 samples.
    ShowLead(FALSE, 12.5f, 2000);
    ASSERT_EQ(0, m_view->GetStartSample());
    Drag(CPoint(395, 100), CPoint(5, 100), 1);
    ASSERT_FALSE(m_recorder.m_pans.empty());
    EXPECT_EQ(1000, m_recorder.m_pans.back().first);
    Drag(CPoint(5, 100), CPoint(395, 100), 1);
    EXPECT_EQ(0, m_recorder.m_pans.back().first);
}
