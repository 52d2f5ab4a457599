// The 3D ST map over a record-maker exercise record: its rows, the turning
// and tilting limits, the swing on the desktop clock from a pane's timer,
// the wall seen face-on, the inverting time marker and the click on a lead
// name.
#include <algorithm>

#include "analysisviews/ViewExerAverage3D.h"
#include "tests/analysisviews/ExerViewTestSupport.h"
#include "tests/support/DCStateCheck.h"

using namespace exerviewtest;
using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;

namespace {

const int kWidth = 900;
const int kHeight = 660;

// A pane that swings the map on its timer, as the exercise average pane does.
class SwingPane : public LoggingWnd {
public:
    CViewExerAverage3D* map = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == 10 && map) map->SwingRotation();
        return LoggingWnd::WindowProc(message, wParam, lParam);
    }
};

class StMap : public ExerViewFixture<CViewExerAverage3D> {
protected:
    void Show(int width = kWidth, const ExerciseRecordOptions& o = DefaultOptions())
    {
        OpenRecord(o);
        ShowView(width, kHeight);
    }
    std::vector<DrawRecord> Recorded()
    {
        CDC dc;
        CRect client;
        m_view->GetClientRect(&client);
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(client.Width(), client.Height())));
        m_view->OnDraw(&dc);
        return platform::gdi::GetRecording(dc.GetSafeHdc());
    }
    // Row 2's curve seen face-on, in pixels above the map's zero level.
    std::vector<int> RowTwoHeights()
    {
        for (int i = 0; i < 3; ++i) m_view->RotateLeft();
        for (int i = 0; i < 7; ++i) m_view->TiltDown();
        const int zero = kHeight / 2 - 9 * MulDiv(kHeight, 1, 664);
        int leaders = 0;   // each row's curve follows its red leader line
        std::vector<int> heights;
        for (const DrawRecord& r : Recorded()) {
            if (r.op != DrawOp::Polyline || r.rop2 != R2_COPYPEN) continue;
            if (r.penColor == RGB(255, 0, 0)) ++leaders;
            if (r.penColor == RGB(0, 255, 0) && leaders == 3)
                for (const POINT& p : r.points) heights.push_back(zero - p.y);
        }
        return heights;
    }
};

}  // namespace

TEST_F(StMap, TiltAndRotationStopAtTheirBounds)
{
    Show();
    for (int i = 0; i < 11; ++i) m_view->TiltUp();
    EXPECT_EQ(m_view->GetTilt(), 1.0);
    for (int i = 0; i < 30; ++i) m_view->TiltDown();
    EXPECT_EQ(m_view->GetTilt(), -0.1);
    for (int i = 0; i < 30; ++i) m_view->RotateLeft();
    EXPECT_EQ(m_view->GetRotation(), 1.5);
    m_view->ResetAngle();
    EXPECT_EQ(m_view->GetRotation(), -0.3);
    EXPECT_EQ(m_view->GetTilt(), 0.7);
}

TEST_F(StMap, ThePanesTimerSwingsTheMapToEachBoundAndBack)
{
    Show();
    SwingPane pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, L"swing", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    pane.map = m_view;
    pane.SetTimer(10, 500, nullptr);
    double lowest = 0;
    double highest = -2;
    for (int tick = 0; tick < 45; ++tick) {
        platform::ui::Desktop::AdvanceClock(500);
        platform::ui::Desktop::PumpMessages();
        lowest = std::min(lowest, m_view->GetRotation());
        highest = std::max(highest, m_view->GetRotation());
    }
    pane.KillTimer(10);
    pane.DestroyWindow();
    EXPECT_EQ(lowest, -1.5);    // 12 ticks down from -0.3
    EXPECT_EQ(highest, 1.5);    // then 30 up
}

TEST_F(StMap, AtRotationZeroAndTiltZeroTheWallIsSeenFaceOn)
{
    Show();
    for (int i = 0; i < 3; ++i) m_view->RotateLeft();
    for (int i = 0; i < 7; ++i) m_view->TiltDown();
    const std::vector<DrawRecord> records = Recorded();
    const int m = std::min(kWidth, kHeight);
    const int D = 2 * m / 5;
    const int c = m / 3;
    const int hs = MulDiv(m, 1, 1020);
    const int vs = MulDiv(kHeight, 1, 664);
    const CPoint origin(kWidth / 2 + 5 * hs, kHeight / 2 - 9 * vs);
    // The eye on the w axis at 600: a corner (u, -D, h) lies at -500 (u, h) / (600 + D).
    const int far = 600 + D;
    const POINT corners[4] = {{origin.x - 500 * c / far, origin.y - 500 * c / far},
                              {origin.x + 500 * c / far, origin.y - 500 * c / far},
                              {origin.x + 500 * c / far, origin.y + 500 * c / far},
                              {origin.x - 500 * c / far, origin.y + 500 * c / far}};
    const DrawRecord* wall = nullptr;
    for (const DrawRecord& r : records)
        if (r.op == DrawOp::Polygon && !wall) wall = &r;
    ASSERT_NE(wall, nullptr);
    ASSERT_EQ(wall->points.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(wall->points[static_cast<size_t>(i)].x, corners[i].x, 1) << i;
        EXPECT_NEAR(wall->points[static_cast<size_t>(i)].y, corners[i].y, 1) << i;
    }
}

TEST_F(StMap, TheTimeMarkerInvertsSoThatTwoPaintingsCancel)
{
    Show();
    Item().nCurTime = 300;
    int inverted = 0;
    for (const DrawRecord& r : Recorded()) inverted += r.op == DrawOp::Polyline && r.rop2 == R2_NOT ? 1 : 0;
    EXPECT_EQ(inverted, 2);
    EXPECT_EQ(m_view->GetTimeSpan(), 15);
}

TEST_F(StMap, AThreeLeadRecordShowsItsLeadsInOrderAndStillNamesMinusAvr)
{
    ExerciseRecordOptions o = DefaultOptions();
    o.systemCode = 0xFFFA;
    Show(kWidth, o);
    for (int p = 0; p < 12; ++p) EXPECT_EQ(m_view->GetMapLeadID(p), p);
    Item().strLeadName[2] = L"aVR";
    bool minus = false;
    for (const DrawRecord& r : Recorded()) minus = minus || (r.op == DrawOp::Text && r.text == L"(-aVR)");
    EXPECT_TRUE(minus);
}

// Row 2 is -aVR: the record's aVR, which rises as the lateral leads sink
// under load, is drawn sinking with them.
TEST_F(StMap, RowTwoDrawsAvrTurnedOver)
{
    Show();
    const std::vector<int> heights = RowTwoHeights();
    ASSERT_FALSE(heights.empty());
    EXPECT_GE(0, *std::max_element(heights.begin(), heights.end()));
    EXPECT_GT(-10, *std::min_element(heights.begin(), heights.end()));
}

// A three-lead recorder's row 2 is its own third series, drawn as stored.
TEST_F(StMap, AThreeLeadRecordersRowTwoIsDrawnAsStored)
{
    ExerciseRecordOptions o = DefaultOptions();
    o.systemCode = 0xFFFA;
    // The third series 2 mm up all through the load and the recovery.
    OpenRecord(o, [&o](RecordBuilder& items) {
        for (int series = 0; series < 2; ++series) {
            std::vector<uint8_t> words;
            for (int k = 0; k < ExerciseSeriesLength(o, series); ++k) words.insert(words.end(), {20, 0});
            items.SetRaw(3086 + 12 * series + 2, 0, words);
        }
    });
    ShowView(kWidth, kHeight);
    const std::vector<int> heights = RowTwoHeights();
    ASSERT_FALSE(heights.empty());
    EXPECT_LE(0, *std::min_element(heights.begin(), heights.end()));
    EXPECT_LT(10, *std::max_element(heights.begin(), heights.end()));
}

TEST_F(StMap, AClickOnALeadNameHighlightsItsCurveForOnePaint)
{
    Show();
    Paint();
    const COLORREF red = RGB(255, 0, 0);
    const int before = CountIn(m_client, red);
    const int W = m_client.Width();
    const int H = m_client.Height();
    const int s = std::min(W / 3, H / 3);
    const int D = 6 * s / 5;
    const int q = s / 4;
    const CPoint anchor = m_view->ProjectPoint(s + q, 4 * D / 6 - s, q);
    const int x = anchor.x + 3 * (W / 3) / 2 + 5 * MulDiv(W, 1, 1020);
    const int y = anchor.y + 3 * (H / 3) / 2 - 9 * MulDiv(H, 1, 664);
    platform::ui::Desktop::Click(m_view->GetSafeHwnd(), x, y);
    platform::ui::Desktop::PumpMessages();
    m_view->UpdateWindow();
    Capture();
    // Row 4's curve came out red, two pixels wide, for that one paint.
    EXPECT_GT(CountIn(m_client, red), before + 50);
    EXPECT_EQ(m_view->GetHighlightedRow(), -1);
    Paint();
    EXPECT_EQ(CountIn(m_client, red), before);
}

TEST_F(StMap, OnANarrowWindowNoClickHighlights)
{
    Show(500);
    Recorded();
    for (int x = 0; x < 500; x += 7)
        for (int y = 0; y < kHeight; y += 7) platform::ui::Desktop::Click(m_view->GetSafeHwnd(), x, y);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(m_view->GetHighlightedRow(), -1);
}

TEST_F(StMap, PaintingLeavesTheDCAsItFoundIt)
{
    Show();
    Item().nCurTime = 300;
    m_view->SetSTLevelMode(1);
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight)));
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), m_view->OnDraw(&dc));
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
}
