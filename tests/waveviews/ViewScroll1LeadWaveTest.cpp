// The one-lead scroll strip on rhythm records of the record maker, in a pane
// window that keeps every WM_STRIP_DRAGGED it is sent; the mouse goes
// through the desktop as a user's does.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "core/Globals.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "printdevice/ECGDC.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/DCStateCheck.h"
#include "tests/waveviews/Scroll1LeadWaveTestSupport.h"
#include "waveviews/ViewEnlargedPreview.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace {

const COLORREF kTrace = RGB(0, 0, 0);
const COLORREF kGrid = RGB(255, 200, 200);
const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kText = RGB(0, 0, 220);
const COLORREF kDimTrace = RGB(200, 200, 0);
const COLORREF kDimGrid = RGB(60, 60, 60);
const COLORREF kDimPaper = RGB(10, 10, 60);
const COLORREF kDimText = RGB(0, 200, 0);

// Strip of 1300 × 120 pixels on 260 × 30 squares: a margin of 50 pixels,
// the strip proper from x = 51, 1250 pixels wide.
using striptest::kHeight;
using striptest::kWidth;
const int kMargin = 50;
const int kStripLeft = kMargin + 1;

// The page pane: keeps the first samples its strip names.
class CRecordingPane : public CWnd {
public:
    std::vector<int> starts;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_STRIP_DRAGGED) {
            starts.push_back(static_cast<int>(wParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ScrollStripTest : public striptest::StripTest<CViewScroll1LeadWave, CRecordingPane> {
protected:
    // A one-lead rhythm record of `seconds` at 500 samples a second, shown
    // under a page of `pageStyle` at 25 mm/s.
    void OpenRhythm(double seconds, uint16_t code = 10, const std::vector<int32_t>& events = {})
    {
        ASSERT_NO_FATAL_FAILURE(OpenStripRecord("strip", seconds, code, events));
        const COLORREF colours[][2] = {{0, kTrace},     {1, kGrid},      {2, kPaper},      {3, kText},
                                       {16, kDimTrace}, {17, kDimGrid}, {18, kDimPaper}, {19, kDimText}};
        for (const auto& slot : colours) m_doc->SetWaveColor(static_cast<int>(slot[0]), slot[1]);
        m_doc->SetSmoothFilterMode(0);
        m_doc->SetBaseLineWidth(1);
    }
    void CreateStrip(int pageStyle = 16, int stripStyle = 18) { StripTest::CreateStrip(pageStyle, stripStyle); }
    COLORREF Pixel(int x, int y)
    {
        CClientDC dc(m_strip);
        return dc.GetPixel(x, y);
    }
    static int Count(CDC& dc, COLORREF colour, const CRect& box)
    {
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) n += dc.GetPixel(x, y) == colour;
        return n;
    }
    int Count(COLORREF colour, const CRect& box)
    {
        CClientDC dc(m_strip);
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) n += dc.GetPixel(x, y) == colour;
        return n;
    }
    POINT At(int x, int y) const
    {
        POINT p{x, y};
        ::ClientToScreen(m_strip->GetSafeHwnd(), &p);
        return p;
    }
    void Drag(CPoint from, CPoint to)
    {
        platform::ui::Desktop::Drag(m_strip->GetSafeHwnd(), POINT{from.x, from.y}, POINT{to.x, to.y});
        platform::ui::Desktop::PumpMessages();
    }
};

}  // namespace

// ---- the window and the sensitivity -------------------------------------------------------------

TEST_F(ScrollStripTest, TheWindowIsWhatThePageStyleShowsAtTheDocumentSpeed)
{
    OpenRhythm(300.0);
    CreateStrip(16);
    const std::pair<int, int> expected[] = {{1, 5000}, {2, 2500}, {3, 1250}, {16, 30000}, {17, 10000}, {24, 5000}};
    for (const auto& [style, length] : expected) {
        m_doc->SetRhythmWaveStyle(style);
        m_strip->SetScrollWidth(0, TRUE);
        EXPECT_EQ(length, m_strip->GetWindowLength()) << "page style " << style;
    }
    // At 50 mm/s a page holds half as many samples.
    m_doc->SetSpeed(50.0f);
    m_strip->SetScrollWidth(16, TRUE);
    EXPECT_EQ(15000, m_strip->GetWindowLength());
    // The strips themselves have no window: the update leaves it alone.
    m_strip->SetScrollWidth(13, TRUE);
    EXPECT_EQ(15000, m_strip->GetWindowLength());
}

TEST_F(ScrollStripTest, ADocumentWithoutASpeedKeepsItsWindowAndPageStart)
{
    OpenRhythm(300.0);
    CreateStrip(16);
    m_strip->SetStartTime(40000);
    m_doc->SetSpeed(0.0f);
    m_strip->SetScrollWidth(1, TRUE);
    EXPECT_EQ(30000, m_strip->GetWindowLength());
    EXPECT_EQ(40000, m_strip->GetStartTime());
    Paint();   // and paints without dividing by the speed: the window from pixel 1000
    EXPECT_EQ(kDimPaper, Pixel(kStripLeft + 500, 2));
    EXPECT_EQ(kPaper, Pixel(kStripLeft + 1100, 2));
}

TEST_F(ScrollStripTest, TheStripSensitivityFallsWithTheRecordLength)
{
    const struct {
        double seconds;
        BOOL half;
        float sense;
    } cases[] = {{120.0, FALSE, 5.0f}, {120.0, TRUE, 2.5f}, {210.0, FALSE, 2.5f}, {301.0, FALSE, 1.25f},
                 {60.0, TRUE, 5.0f}};
    for (const auto& c : cases) {
        CRhythmViewDoc doc;
        doc.m_bAutoDelete = FALSE;
        doc.GetCtrlPosFromXSL(LOAD_POS_REST);
        morvelance::RhythmRecordShape shape;
        shape.seconds = c.seconds;
        ASSERT_EQ(0, Open(doc, rhythmtest::WriteRhythm(m_dir, "sense", shape), 1));
        CViewScroll1LeadWave strip;
        doc.AddView(&strip);
        strip.SetDocType(DOC_TYPE_RHYTHM);
        strip.SetHalfStyle(c.half);
        strip.SetWaveStyle(18, TRUE);
        strip.OnUpdate(nullptr, 0, nullptr);
        EXPECT_FLOAT_EQ(c.sense, doc.GetSense(2, 0)) << c.seconds << " s, half " << c.half;
        doc.RemoveView(&strip);
    }
}

TEST_F(ScrollStripTest, AShortRecordTakesTheDocumentsOwnStripSensitivity)
{
    OpenRhythm(20.0);
    const float own = m_doc->GetSense(9, 0);
    ASSERT_GT(own, 0.0f);
    CreateStrip(16);
    EXPECT_FLOAT_EQ(own, m_doc->GetSense(2, 0));
}

// ---- the page start and the pane --------------------------------------------------------------------

TEST_F(ScrollStripTest, AnUpdateThatMovesThePageStartTellsThePaneAndOnlyThen)
{
    OpenRhythm(300.0);
    CreateStrip(16);
    m_pane.starts.clear();
    m_strip->SetStartTime(140000);
    m_strip->SetScrollWidth(0, FALSE);
    EXPECT_TRUE(m_pane.starts.empty());
    m_strip->SetStartTime(140000);
    m_strip->SetScrollWidth(0, TRUE);
    EXPECT_EQ(std::vector<int>{120000}, m_pane.starts);
    EXPECT_EQ(120000, m_strip->GetStartTime());
    m_strip->SetScrollWidth(0, TRUE);
    EXPECT_EQ(1u, m_pane.starts.size());
}

TEST_F(ScrollStripTest, WithoutScrollingTheWindowIsTheWholeRecord)
{
    OpenRhythm(300.0);
    CreateStrip(16);
    m_strip->SetStartTime(60000);
    m_strip->SetScroll(FALSE);
    m_strip->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(0, m_strip->GetStartTime());
    EXPECT_EQ(m_strip->GetRecordLength(), m_strip->GetWindowLength());
}

// ---- dragging ------------------------------------------------------------------------------------------

TEST_F(ScrollStripTest, ADragMovesThePageAndThePaneHearsOfItAtTheRelease)
{
    OpenRhythm(300.0);   // 150,000 samples in three rows of 1250 pixels at 2.5 mm/s
    CreateStrip(16);
    ASSERT_EQ(3, m_strip->GetRowCount());
    ASSERT_EQ(kMargin, m_strip->GetWindowLeftX());
    ASSERT_EQ(kMargin + 750, m_strip->GetWindowRightX());
    m_pane.starts.clear();
    platform::ui::Desktop::MoveMouse(At(100, 20));
    platform::ui::Desktop::MouseDown(At(100, 20));
    platform::ui::Desktop::MoveMouse(At(400, 20));
    EXPECT_TRUE(m_strip->IsDragging());
    // 300 pixels of 3750 for the record: 12,000 samples, the pane not yet told.
    EXPECT_EQ(12000, m_strip->GetStartTime());
    EXPECT_TRUE(m_pane.starts.empty());
    platform::ui::Desktop::MouseUp(At(400, 20));
    platform::ui::Desktop::PumpMessages();
    EXPECT_FALSE(m_strip->IsDragging());
    EXPECT_EQ(std::vector<int>{12000}, m_pane.starts);
    // The window is drawn where the page now is.
    EXPECT_EQ(kMargin + 300, m_strip->GetWindowLeftX());
    EXPECT_EQ(kDimPaper, Pixel(kStripLeft + 150, 2));
    EXPECT_EQ(kPaper, Pixel(kStripLeft + 500, 2));
}

TEST_F(ScrollStripTest, DraggingStopsWithTheWindowFlushAtEitherEnd)
{
    OpenRhythm(300.0);
    CreateStrip(16);
    // Down two rows and to the right: past the end of the record.
    Drag(CPoint(100, 20), CPoint(1290, 100));
    EXPECT_EQ(120000, m_strip->GetStartTime());
    // And back, far past the start.
    Drag(CPoint(1000, 100), CPoint(60, 20));
    EXPECT_EQ(0, m_strip->GetStartTime());
    EXPECT_EQ((std::vector<int>{120000, 0}), std::vector<int>(m_pane.starts.end() - 2, m_pane.starts.end()));
}

TEST_F(ScrollStripTest, ADragThatEndsWhereItBeganStillTellsThePane)
{
    OpenRhythm(300.0);
    CreateStrip(16);
    m_strip->SetStartTime(30000);
    Paint();
    m_pane.starts.clear();
    Drag(CPoint(kMargin + 1000, 20), CPoint(kMargin + 1000, 20));
    EXPECT_EQ(std::vector<int>{30000}, m_pane.starts);
}

TEST_F(ScrollStripTest, APressOutsideTheWindowStartsNoDrag)
{
    OpenRhythm(300.0);
    CreateStrip(16);
    m_pane.starts.clear();
    Drag(CPoint(900, 100), CPoint(300, 100));
    EXPECT_TRUE(m_pane.starts.empty());
    EXPECT_EQ(0, m_strip->GetStartTime());
}

TEST_F(ScrollStripTest, ARecordOfOnePageFillsTheWindowAndCannotMove)
{
    OpenRhythm(20.0);
    CreateStrip(16);
    EXPECT_EQ(m_strip->GetRecordLength(), m_strip->GetWindowLength());
    EXPECT_EQ(0, Count(kDimPaper, CRect(kStripLeft, 0, kWidth, kHeight)));
    m_pane.starts.clear();
    Drag(CPoint(300, 60), CPoint(700, 60));
    EXPECT_EQ(std::vector<int>{0}, m_pane.starts);
}

// ---- the calibration pulse ----------------------------------------------------------------------------

// The document's notification window keeps the pulse clicks it hears of.
class CPulseListener : public CWnd {
public:
    std::vector<std::pair<int, int>> clicks;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CAL_PULSE_CLICKED) clicks.emplace_back(static_cast<int>(wParam), static_cast<int>(lParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ScrollStripPulseTest : public ScrollStripTest {
protected:
    void Listen()
    {
        ASSERT_TRUE(m_listener.CreateEx(0, nullptr, L"notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc->SetNotifyWnd(&m_listener);
    }
    void TearDown() override
    {
        if (m_doc) m_doc->SetNotifyWnd(nullptr);
        m_listener.DestroyWindow();
        ScrollStripTest::TearDown();
    }
    void ClickThePulse()
    {
        platform::ui::Desktop::Click(m_strip->GetSafeHwnd(), kMargin / 2, kHeight / 2);
        platform::ui::Desktop::PumpMessages();
    }
    CPulseListener m_listener;
};

TEST_F(ScrollStripPulseTest, AClickOnTheOneRowStripsPulseAsksItsPaneForTheRhythmSensitivity)
{
    OpenRhythm(20.0);
    CreateStrip();
    ASSERT_EQ(1, m_strip->GetRowCount());
    ASSERT_NO_FATAL_FAILURE(Listen());
    ClickThePulse();
    // The rhythm examination's sensitivity, for the strip's pulse.
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 2}}), m_listener.clicks);
    EXPECT_FALSE(m_strip->IsDragging());
}

TEST_F(ScrollStripPulseTest, AClickOnTheWrappedStripsPulseAsksNothing)
{
    OpenRhythm(300.0);
    CreateStrip();
    ASSERT_EQ(3, m_strip->GetRowCount());
    ASSERT_NO_FATAL_FAILURE(Listen());
    ClickThePulse();
    EXPECT_TRUE(m_listener.clicks.empty());
}

// ---- the annotation layer's cursor ---------------------------------------------------------------------

TEST_F(ScrollStripTest, InDrawModeTheStripKeepsTheAnnotationLayersDrawCursor)
{
    OpenRhythm(300.0);
    CreateStrip(16);
    m_doc->SetAnnotationLock(0);
    m_doc->SetMouseMode(2);
    platform::ui::Desktop::MoveMouse(At(400, 60));
    platform::ui::Desktop::MoveMouse(At(420, 60));
    platform::ui::Desktop::PumpMessages();
    const HCURSOR draw = g_hCursorDraw ? g_hCursorDraw : ::LoadCursor(nullptr, IDC_CROSS);
    // The strip sets its own cursor after the layer's: the layer's must be it.
    EXPECT_EQ(draw, m_strip->GetCurrentCursor());
    EXPECT_EQ(draw, ::GetCursor());
}

// ---- drawing ----------------------------------------------------------------------------------------------

TEST_F(ScrollStripTest, TheWindowTakesThePaperColoursAndTheRestIsDimmed)
{
    OpenRhythm(300.0);
    CreateStrip(16);
    const CRect insideRow0(kStripLeft + 5, 0, kStripLeft + 745, 40);
    const CRect outsideRow0(kStripLeft + 760, 0, kWidth, 40);
    EXPECT_EQ(0, Count(kDimPaper, insideRow0) + Count(kDimTrace, insideRow0));
    EXPECT_GT(Count(kTrace, insideRow0), 500);
    EXPECT_EQ(0, Count(kPaper, outsideRow0) + Count(kTrace, outsideRow0));
    EXPECT_GT(Count(kDimTrace, outsideRow0), 200);
    // Rows one and two lie wholly outside.
    EXPECT_EQ(0, Count(kPaper, CRect(kStripLeft, 41, kWidth, kHeight)));
    // The pulse stands in the margin.
    EXPECT_GT(Count(kTrace, CRect(0, 0, kMargin, kHeight)), 10);
}

TEST_F(ScrollStripTest, TheWholeRecordStyleDrawsOneRowOfGridWithoutPulseOrTrace)
{
    OpenRhythm(300.0);
    CreateStrip(16, 15);
    EXPECT_EQ(1, m_strip->GetRowCount());
    const CRect all(0, 0, kWidth, kHeight);
    EXPECT_EQ(0, Count(kTrace, all) + Count(kDimTrace, all));
    EXPECT_GT(Count(kDimPaper, all), 1000);
    EXPECT_GT(Count(kPaper, all), 1000);
}

TEST_F(ScrollStripTest, AStripWithoutARecordPaintsTheGridOnly)
{
    OpenRhythm(300.0);
    m_doc->SetCurDataIndex(-1);
    CreateStrip(16);
    EXPECT_EQ(0, m_strip->GetRecordLength());
    const CRect all(0, 0, kWidth, kHeight);
    EXPECT_EQ(0, Count(kTrace, all) + Count(kDimTrace, all) + Count(kDimPaper, all));
    m_pane.starts.clear();
    Drag(CPoint(300, 60), CPoint(700, 60));
    EXPECT_EQ(0, m_strip->GetStartTime());
}

// The magnified strip writes its texts in the strip's display font made as
// large as the picture: four times the strip's text, not the canvas's
// default font.
TEST_F(ScrollStripTest, TheMagnifiedStripWritesItsVersionInTheDisplayFontScaledByTheMagnification)
{
    const BOOL kept = g_bDisplayVersion;
    g_bDisplayVersion = 1;
    OpenRhythm(300.0);
    m_doc->GetCurrentDataItem()->strVersionText = L"WWWWWWWW";
    CreateStrip(16);
    // The rows of a box across which the eight letters leave at least
    // `perRow` pixels of text ink.
    auto letterRows = [](CWnd* wnd, const CRect& box, int perRow) {
        CClientDC dc(wnd);
        int rows = 0;
        for (int y = box.top; y < box.bottom; ++y) {
            int n = 0;
            for (int x = box.left; x < box.right; ++x) {
                const COLORREF c = dc.GetPixel(x, y);
                n += c == kText || c == kDimText;
            }
            rows += n >= perRow;
        }
        return rows;
    };
    // The version stands on the strip's bottom at its left: on screen each
    // of its eight letters crosses a row with at least two pixels.
    const int onScreen = letterRows(m_strip, CRect(kStripLeft, kHeight - 40, kStripLeft + 150, kHeight), 16);
    ASSERT_GT(onScreen, 3) << "no version on the strip";
    CDlgEnlargedPreview magnifier;
    magnifier.SetEnlargedPreviewDoc(m_doc.get());
    ASSERT_TRUE(magnifier.Create(CDlgEnlargedPreview::IDD, nullptr));
    magnifier.SetWindowPos(nullptr, 1500, 800, 300, 160, SWP_NOZORDER | SWP_NOACTIVATE);
    magnifier.ShowWindow(SW_SHOWNOACTIVATE);
    m_doc->SetEnlargedPreview(&magnifier);
    CViewEnlargedPreview* view = magnifier.GetEnlargedPreview();
    ASSERT_NE(nullptr, view);
    ASSERT_EQ(4.0f, view->GetScaleRatio());
    ASSERT_TRUE(m_strip->MoveEnlargedPreview(CPoint(kStripLeft + 20, kHeight - 10)));
    view->UpdateWindow();
    CRect client;
    view->GetClientRect(&client);
    // Magnified four times, each letter's strokes are four times as wide and
    // the letters four times as tall.
    const int magnified = letterRows(view, client, 4 * 16);
    m_doc->SetEnlargedPreview(nullptr);
    magnifier.DestroyWindow();
    g_bDisplayVersion = kept;
    EXPECT_GE(magnified, 3 * onScreen) << onScreen << " " << magnified;
}

TEST_F(ScrollStripTest, AnEventOnTheWindowEdgeIsMarkedAsInside)
{
    // The window's right edge is at sample 30,000 (strip pixel 750); the
    // second event lies in the dimmed second row.
    OpenRhythm(300.0, 10, {30000, 60000 + 500 * 10});
    CreateStrip(16);
    const int markY = 40 - MulDiv(kHeight, 2, 30);   // two squares above the row's bottom
    const CRect edge(kStripLeft + 740, markY - 10, kStripLeft + 760, markY + 2);
    EXPECT_GT(Count(kText, edge), 0);
    EXPECT_EQ(0, Count(kDimText, edge));
    const int secondX = (65000 * 3750 / 150000) % 1250;
    const CRect outside(kStripLeft + secondX - 10, 80 - MulDiv(kHeight, 2, 30) - 10, kStripLeft + secondX + 10,
                        80 - MulDiv(kHeight, 2, 30) + 2);
    EXPECT_GT(Count(kDimText, outside), 0);
}

// The strip on screen is put together from rows kept between paints, dimmed
// and in the window's colours, and the marks over the window drawn again;
// drawn whole, row by row, it must look the same wherever the window has gone.
class ScrollStripKeptRowsTest : public ScrollStripTest {
protected:
    std::unique_ptr<CDC> Picture(bool whole)
    {
        auto dc = std::make_unique<CDC>();
        dc->Attach(platform::gdi::CreateImageDC(kWidth + 1, kHeight + 1));
        dc->FillSolidRect(0, 0, kWidth + 1, kHeight + 1, RGB(255, 255, 255));
        CDCObjectSelector<CFont> font(*dc, m_doc->GetDocFont(1));
        dc->SetBkMode(TRANSPARENT);
        EXPECT_TRUE(whole ? m_strip->DrawScorllView(dc.get(), kStrip, FALSE, FALSE)
                          : m_strip->DrawScreenStrip(dc.get(), CRect(0, 0, kWidth, kHeight), kStrip));
        return dc;
    }
    // Pixels of the strip where the two pictures differ.
    void ExpectTheSameAtEveryStart(const std::vector<int>& starts)
    {
        for (int mode : {0, 1}) {
            m_doc->SetSmoothFilterMode(mode);
            m_strip->OnUpdate(nullptr, 0, nullptr);   // the kept rows go
            Paint();
            for (int start : starts) {
                SCOPED_TRACE(testing::Message() << "mode " << mode << ", window from sample " << start);
                m_strip->CWaveView::SetStartTime(start);
                const std::unique_ptr<CDC> kept = Picture(false);
                const std::unique_ptr<CDC> whole = Picture(true);
                int differing = 0;
                CPoint first(-1, -1);
                for (int y = kStrip.top; y < kStrip.bottom; ++y)
                    for (int x = kStrip.left; x <= kStrip.right; ++x)
                        if (kept->GetPixel(x, y) != whole->GetPixel(x, y) && differing++ == 0) first = CPoint(x, y);
                EXPECT_EQ(0, differing) << "first at " << first.x << ", " << first.y;
                // The window shows in its own colours.
                EXPECT_GT(Count(*kept, kText, kStrip) + Count(*kept, kPaper, kStrip) + Count(*kept, kGrid, kStrip), 0);
            }
        }
    }
    const CRect kStrip{kStripLeft, 0, kWidth, kHeight};
};

TEST_F(ScrollStripKeptRowsTest, ThreeRowsWithMarksOnTheWindowsEdgesLookAsDrawnWhole)
{
    OpenRhythm(300.0, 10, {2000, 20000, 29950, 30050, 44990, 50000, 74990, 75010, 119990, 135000, 149000});
    CreateStrip(16);
    // Back and forth over the rows: a row kept once is used again.
    ExpectTheSameAtEveryStart({0, 20000, 45000, 120000, 60000, 0, 45000});
}

TEST_F(ScrollStripKeptRowsTest, SeventyTwoRowsOfAFewPixelsWithMarksReachingIntoOtherRowsLookAsDrawnWhole)
{
    // Two hours at 2.5 mm/s: 72 rows in 120 pixels, a mark every 15 s
    // standing several rows above its own.
    std::vector<int32_t> events;
    for (int32_t sample = 3000; sample < 3600000; sample += 7500) events.push_back(sample);
    OpenRhythm(7200.0, 38, events);
    CreateStrip(16);
    ASSERT_EQ(72, m_strip->GetRowCount());
    ExpectTheSameAtEveryStart({0, 1000000, 2500000, 3570000, 49000});
}

TEST_F(ScrollStripKeptRowsTest, AWindowLongerThanARowLooksAsDrawnWhole)
{
    // At 10 mm/s the page shows 150 s: the window covers the end of one row,
    // all of the next and the start of a third, with marks at the rows' ends
    // and starts on either side of its edges.
    OpenRhythm(300.0, 10, {2000, 24990, 25010, 49990, 50010, 75000, 99990, 100010, 124990, 125010, 149990});
    m_doc->SetSpeed(10.0f);
    CreateStrip(16);
    ASSERT_EQ(75000, m_strip->GetWindowLength());
    ExpectTheSameAtEveryStart({25000, 0, 49990, 75000, 10});
}

// ---- printing ------------------------------------------------------------------------------------------------

class ScrollStripPrintTest : public ScrollStripTest {
protected:
    // 1040 × 120 pixels: 260 × 30 squares of 4 pixels.
    void MakePrinter()
    {
        ASSERT_TRUE(m_paper.Attach(platform::gdi::CreateImageDC(1040, 120)));
        m_paper.FillSolidRect(0, 0, 1040, 120, RGB(255, 255, 255));
        m_printer = std::make_unique<CECGDC>(&m_paper, 2);
    }
    bool InkInBand(int left, int top, int bottom)
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < 1040; x += 1)
                if (m_paper.GetPixel(x, y) == RGB(0, 0, 0)) return true;
        return false;
    }
    CDC m_paper;
    std::unique_ptr<CECGDC> m_printer;
};

TEST_F(ScrollStripPrintTest, ALongRhythmRecordPrintsAsWrappedRowsAndKeepsThePageStart)
{
    OpenRhythm(300.0, 38);
    CreateStrip(16);
    m_strip->SetStartTime(12000);
    MakePrinter();
    ASSERT_TRUE(m_strip->Print(m_printer.get(), CRect(0, 0, 1040, 120), 260, 30, 4.0, 0));
    EXPECT_EQ(12000, m_strip->GetStartTime());
    // 2.5 mm/s on 250 mm: 50,000 samples a row, three rows 40 pixels apart
    // from five millimetres down.
    const int stripLeft = MulDiv(1040, 10, 250);
    EXPECT_TRUE(InkInBand(stripLeft + 8, 5, 38));
    EXPECT_TRUE(InkInBand(stripLeft + 8, 45, 78));
    EXPECT_TRUE(InkInBand(stripLeft + 8, 85, 118));
}

TEST_F(ScrollStripPrintTest, AStandardRhythmRecordPrintsAsAPageAndKeepsThePageStart)
{
    OpenRhythm(300.0, 10);
    CreateStrip(16);
    m_strip->SetStartTime(12000);
    MakePrinter();
    EXPECT_TRUE(m_strip->Print(m_printer.get(), CRect(0, 0, 1040, 120), 260, 30, 4.0, 0));
    EXPECT_EQ(12000, m_strip->GetStartTime());
    EXPECT_TRUE(InkInBand(60, 0, 120));
}

TEST_F(ScrollStripPrintTest, ScreenAndPaperDrawingsLeaveTheContextAsFound)
{
    OpenRhythm(300.0, 38, {30000});
    CreateStrip(16);
    MakePrinter();
    HDC hdc = m_paper.GetSafeHdc();
    EXPECT_LEAVES_DC_AS_FOUND(hdc, m_strip->OnDraw(&m_paper));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, m_strip->DrawScorllView(&m_paper, CRect(kStripLeft, 0, 1040, 120), FALSE, FALSE));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, m_strip->Print(m_printer.get(), CRect(0, 0, 1040, 120), 260, 30, 4.0, 0));
}

// Columns of the paper's row y that hold black ink, from x = 0.
std::vector<int> InkColumns(CDC& paper, int y, int width)
{
    std::vector<int> columns;
    for (int x = 0; x < width; ++x)
        if (paper.GetPixel(x, y) == RGB(0, 0, 0)) columns.push_back(x);
    return columns;
}

TEST_F(ScrollStripPrintTest, DurationMarksAreSmallTrianglesUnderTheStripNotAtTheEndOfAPagePrintedBefore)
{
    OpenRhythm(300.0, 10);
    CreateStrip(16);
    ASSERT_TRUE(m_paper.Attach(platform::gdi::CreateImageDC(1040, 400)));
    m_paper.FillSolidRect(0, 0, 1040, 400, RGB(255, 255, 255));
    m_printer = std::make_unique<CECGDC>(&m_paper, 2);
    // A page above left its bottom at the paper's end.
    m_strip->SetCurPrintBottom(399);
    // From the record's start, ten seconds. The strip's row of style 18 is
    // drawn at the paper speed, 25 mm/s: the ten seconds are its whole
    // 250 mm, 1000 pixels. (This test once placed them at the fitted strip
    // speed of 2.5 mm/s, 100 pixels, which no trace of the row is drawn at.)
    m_strip->SetDurationMarkInfo(1, 0, 10.0, 1);
    ASSERT_TRUE(m_strip->Print(m_printer.get(), CRect(0, 100, 1040, 220), 260, 30, 4.0, 0));
    EXPECT_EQ(399, m_strip->GetCurPrintBottom());
    for (int y = 221; y < 400; ++y) ASSERT_TRUE(InkColumns(m_paper, y, 1040).empty()) << "ink below the strip at " << y;
    // Two marks a few pixels wide just above the strip's bottom, 1000 pixels apart.
    const std::vector<int> base = InkColumns(m_paper, 218, 1040);
    ASSERT_FALSE(base.empty());
    EXPECT_LT(base.front() + 2, base.back() - 990);
    EXPECT_LT(base.back() - base.front(), 1000 + 20);
    EXPECT_GT(base.back() - base.front(), 1000 - 20);
    EXPECT_LT(base.size(), 40u);
}
