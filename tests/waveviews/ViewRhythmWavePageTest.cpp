// Pixel probes of pages of the multi-lead view drawn from resting records
// written by the record maker: pulse heights, trace positions and lengths.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/gdi/Image.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "printdevice/ECGDC.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

const COLORREF kPaper = RGB(255, 255, 255);

class RhythmViewPageTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(0, RGB(0, 0, 0));
        m_doc.SetWaveColor(3, RGB(0, 0, 0));
        m_doc.SetSmoothFilterMode(0);
        m_doc.SetBaseLineWidth(1);
        m_doc.AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_REST);
    }
    void TearDown() override
    {
        m_doc.RemoveView(&m_view);
        resttest::RestDocFixture::TearDown();
    }

    void OpenRecord(double seconds)
    {
        morvelance::RestRecordShape shape;
        shape.seconds = seconds;
        ASSERT_EQ(0, Open(AddRecord("page", shape)));
        // Row centres unless a test asks for automatic placement.
        m_doc.SetSenseMode(1);
    }

    // The page of the style drawn into a white surface of width × height.
    void DrawPage(int style, int width, int height)
    {
        m_view.SetWaveStyle(style, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        m_dc.DeleteDC();
        ASSERT_TRUE(m_dc.Attach(platform::gdi::CreateImageDC(width, height)));
        m_width = width;
        m_height = height;
        int gridX = 0;
        int gridY = 0;
        m_view.GetGridCount(gridX, gridY);
        ASSERT_EQ(1, m_view.DrawView(&m_dc, CRect(0, 0, width, height), gridX, gridY, 0));
    }

    // The first inked row of column x within [top, bottom), -1 when none.
    int FirstInk(int x, int top, int bottom)
    {
        for (int y = top; y < bottom; ++y)
            if (m_dc.GetPixel(x, y) != kPaper) return y;
        return -1;
    }
    // The rightmost inked column within the rows [top, bottom), -1 when none.
    int RightmostInk(int top, int bottom)
    {
        for (int x = m_width - 1; x >= 0; --x)
            for (int y = top; y < bottom; ++y)
                if (m_dc.GetPixel(x, y) != kPaper) return x;
        return -1;
    }
    bool InkNear(int x, int y, int tolerance)
    {
        for (int dy = -tolerance; dy <= tolerance; ++dy)
            if (y + dy >= 0 && y + dy < m_height && m_dc.GetPixel(x, y + dy) != kPaper) return true;
        return false;
    }
    // Where a sample of 1.25 µV units lies above a zero line at M px per mV.
    static int SampleY(int zero, short sample, int mv) { return zero - static_cast<int>(sample * mv * 0.00125); }

    CViewRhythmWave m_view;
    CDC m_dc;
    int m_width = 0;
    int m_height = 0;
};

TEST_F(RhythmViewPageTest, ATenMillimetrePulseIs118PixelsTallAt300Dpi)
{
    OpenRecord(10.0);
    // 260 × 120 squares of 11.8 px (300 dpi): the calibration column is 118 px.
    DrawPage(1, 3068, 1416);
    const int baseline = FirstInk(25, 0, 472);
    const int top = FirstInk(40, 0, 472);
    ASSERT_GT(baseline, 0);
    ASSERT_GE(top, 0);
    EXPECT_NEAR(118, baseline - top, 2);
}

TEST_F(RhythmViewPageTest, TheFirstSampleOfLeadISitsOnTheFirstRowsCentreLine)
{
    OpenRecord(10.0);
    // 4 px squares: 40 px calibration column, rows 80 px apart, 40 px per mV.
    DrawPage(9, 1040, 480);
    const short first = m_view.GetLeadSamples(0)[0];
    EXPECT_TRUE(InkNear(40, SampleY(40, first, 40), 1));
}

TEST_F(RhythmViewPageTest, AutomaticPlacementMovesTheTraceToItsBaseline)
{
    OpenRecord(10.0);
    m_doc.SetSenseMode(2);
    DrawPage(9, 1040, 480);
    const int baseline = m_view.GetScreenBaseline(0);
    ASSERT_GT(baseline, 0);
    const short first = m_view.GetLeadSamples(0)[0];
    EXPECT_TRUE(InkNear(40, SampleY(baseline, first, 40), 1));
}

TEST_F(RhythmViewPageTest, FixedSenseModesPutEveryTraceOnItsRowCentre)
{
    OpenRecord(10.0);
    m_doc.SetSenseMode(1);
    DrawPage(9, 1040, 480);
    for (int lead = 0; lead < 6; ++lead) EXPECT_EQ(480 * (2 * lead + 1) / 12, m_view.GetScreenBaseline(lead));
}

TEST_F(RhythmViewPageTest, ATenSecondLeadAt25MillimetresASecondSpans250Squares)
{
    OpenRecord(10.0);
    DrawPage(9, 1040, 480);
    // Rows of lead I only: its trace runs from square 10 to square 260.
    EXPECT_NEAR(1039, RightmostInk(0, 78), 1);
}

TEST_F(RhythmViewPageTest, TheTraceEndsWhereTheRecordsSamplesEnd)
{
    OpenRecord(5.0);
    DrawPage(9, 1040, 480);
    // 2500 samples fill 125 of the 250 squares: x = 40 + 500.
    EXPECT_NEAR(540, RightmostInk(0, 78), 2);
}

TEST_F(RhythmViewPageTest, TheChestPageShowsV1InTheFirstRow)
{
    OpenRecord(10.0);
    m_view.SetShowChestLead(TRUE);
    DrawPage(9, 1040, 480);
    // A sample where V1 and lead I lie well apart: 5 samples a pixel.
    const short* v1 = m_view.GetLeadSamples(6);
    const short* lead1 = m_view.GetLeadSamples(0);
    int i = 0;
    while (i < 4995 && std::abs(v1[i] - lead1[i]) < 200) i += 5;
    ASSERT_LT(i, 4995) << "the probe needs leads that lie apart";
    EXPECT_TRUE(InkNear(40 + i / 5, SampleY(40, v1[i], 40), 1));
    EXPECT_FALSE(InkNear(40 + i / 5, SampleY(40, lead1[i], 40), 0));
}

TEST_F(RhythmViewPageTest, ContinuousColumnsShowSuccessiveTime)
{
    OpenRecord(10.0);
    // Style 5: two columns of 2500 samples; the second starts one millimetre
    // of samples (20) later and one millimetre (4 px) right of its half.
    DrawPage(5, 1040, 480);
    const short second = m_view.GetLeadSamples(6)[2500 + 20];
    EXPECT_TRUE(InkNear(40 + 500 + 4, SampleY(40, second, 40), 1));
}

TEST_F(RhythmViewPageTest, ZeroSpeedDrawsNoTraces)
{
    OpenRecord(10.0);
    m_doc.SetSpeed(0.0f);
    if (m_doc.GetSpeed() > 0.0f) GTEST_SKIP() << "the document keeps a speed above 0";
    DrawPage(9, 1040, 480);
    // The calibration column alone: nothing right of square 10.
    EXPECT_LT(RightmostInk(0, 78), 40);
}

// ---- the view in a window ----------------------------------------------------------------------

TEST_F(RhythmViewPageTest, APaintKeepsThePageUntilThePageMoves)
{
    OpenRecord(10.0);
    m_doc.SetSpeed(50.0f);   // two pages of 2500 samples
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 400), nullptr, 0));
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 400), &pane));
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CViewRhythmWave);
    context.m_pCurrentDoc = &m_doc;
    auto* view = DYNAMIC_DOWNCAST(CViewRhythmWave, frame->CreateView(&context, AFX_IDW_PANE_FIRST));
    ASSERT_NE(nullptr, view);
    frame->RecalcLayout();
    view->SetDocType(DOC_TYPE_REST);
    view->SetWaveStyle(9, TRUE);
    view->UpdateWindow();
    view->Invalidate(FALSE);
    view->UpdateWindow();
    EXPECT_TRUE(view->HasCachedPage());
    EXPECT_EQ(2, view->ChangePageSample(1));
    EXPECT_EQ(2500, view->GetStartTime());
    EXPECT_FALSE(view->HasCachedPage());
    view->UpdateWindow();
    EXPECT_TRUE(view->HasCachedPage());
    frame->DestroyWindow();
    pane.DestroyWindow();
}

}  // namespace

// ---- printing ---------------------------------------------------------------------------------

namespace {

class RhythmViewPrintTest : public RhythmViewPageTest {
protected:
    // A print surface of 260 × 120 squares of 4 px.
    void MakePrinter()
    {
        m_dc.DeleteDC();
        ASSERT_TRUE(m_dc.Attach(platform::gdi::CreateImageDC(1040, 480)));
        m_width = 1040;
        m_height = 480;
        m_printer = std::make_unique<CECGDC>(&m_dc, 2);
    }
    std::unique_ptr<CECGDC> m_printer;
};

TEST_F(RhythmViewPrintTest, NothingLoadedPrintsNothingAndSucceeds)
{
    OpenRecord(10.0);
    m_view.SetWaveStyle(9, TRUE);
    MakePrinter();
    EXPECT_EQ(1, m_view.Print(m_printer.get(), CRect(0, 0, 1040, 480), 260, 120, 4.0, 0, 0, 1));
    EXPECT_EQ(-1, RightmostInk(0, 480));
}

TEST_F(RhythmViewPrintTest, PrintingAPageByNumberLeavesTheViewsPageStart)
{
    OpenRecord(10.0);
    m_doc.SetSpeed(50.0f);   // pages of 2500 samples
    m_view.SetWaveStyle(9, TRUE);
    m_view.OnUpdate(nullptr, 0, nullptr);
    const int start = m_view.GetStartTime();
    MakePrinter();
    EXPECT_EQ(1, m_view.Print(m_printer.get(), CRect(0, 0, 1040, 480), 260, 120, 4.0, 0, 1, 0));
    EXPECT_EQ(start, m_view.GetStartTime());
    // The second page of style 9 at 50 mm/s starts at sample 2500.
    const short first = m_view.GetLeadSamples(0)[2500];
    EXPECT_TRUE(InkNear(40, SampleY(m_view.GetPrintBaseline(0), first, 40), 2));
}

TEST_F(RhythmViewPrintTest, PrintedTracesAreBlack)
{
    OpenRecord(10.0);
    m_doc.SetWaveColor(0, RGB(0, 128, 0));
    m_view.SetWaveStyle(9, TRUE);
    m_view.OnUpdate(nullptr, 0, nullptr);
    MakePrinter();
    ASSERT_EQ(1, m_view.Print(m_printer.get(), CRect(0, 0, 1040, 480), 260, 120, 4.0, 0, 0, 1));
    int black = 0;
    int green = 0;
    for (int x = 40; x < 1040; x += 3)
        for (int y = 0; y < 80; ++y) {
            const COLORREF c = m_dc.GetPixel(x, y);
            black += c == RGB(0, 0, 0);
            green += c == RGB(0, 128, 0);
        }
    EXPECT_GT(black, 100);
    EXPECT_EQ(0, green);
}

}  // namespace
