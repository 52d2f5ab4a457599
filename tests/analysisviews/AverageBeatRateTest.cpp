// The overlapped average beats and the average-beat view of MFER files whose
// beats come at the file's own rate (the record maker's model at 250, 500
// and 1000 Hz, PTB s0010_re at 1000 Hz): on screen and on paper the beat
// keeps its time scale, so its QRS stands at the same place at every rate
// and the whole 1.2 s, T wave included, is drawn in its own cell. A 500 Hz
// file draws as it always has.
#include "analysisviews/ViewAveOverlappedWave.h"
#include "analysisviews/ViewAverageWave.h"
#include "documents/MFERViewDoc.h"
#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "tests/analysisviews/AnalysisViewTestSupport.h"
#include "tests/waveviews/AverageBeatRecords.h"

using namespace analysisviewtest;

namespace {

const COLORREF kInk = RGB(0, 0, 0);   // traces on screen, everything on paper

// Both views on the MFER document, made as the dialog and the pane make them.
template <class View> class BeatRateFixture : public AnalysisViewFixture<View> {
protected:
    void SetUp() override
    {
        AnalysisViewFixture<View>::SetUp();
        m_mfer.m_bAutoDelete = FALSE;
        AnalysisViewFixture<View>::Colour(m_mfer);
    }
    // The model at `rate` (0: the PTB record) opened and current; false when
    // the shared data is absent.
    bool OpenFile(int rate)
    {
        return beatrate::OpenAt(m_mfer, this->m_dir, rate) != nullptr;
    }
    void PaperOn(CDC& paper, int width, int height)
    {
        paper.DeleteDC();
        ASSERT_TRUE(paper.Attach(platform::gdi::CreateImageDC(width, height)));
        paper.FillSolidRect(0, 0, width, height, kPaper);
    }
    void CloseView()
    {
        this->m_frame->DestroyWindow();
        this->m_frame = nullptr;
        this->m_pane.DestroyWindow();
    }

    CMFERViewDoc m_mfer;
};

// ---- the overlapped beats: 600 x 400 px over 30 x 40 squares, 1.2 s across ----

class OverlappedRateTest : public BeatRateFixture<CViewAveOverlappedWave> {
protected:
    static const int kWidth = 600;
    static const int kHeight = 400;
    static const int kBaseline = 200;

    CViewAveOverlappedWave* Shown()
    {
        CViewAveOverlappedWave* view = MakeView(kWidth, kHeight, &m_mfer, DOC_TYPE_MFER);
        if (!view) return nullptr;
        view->SetWaveInfo(5.0f, 100);
        view->Invalidate(TRUE);
        view->UpdateWindow();
        return view;
    }
    // The printed copy at 10 px a millimetre: 300 x 400 px.
    void Print(CViewAveOverlappedWave& view, CDC& paper)
    {
        PaperOn(paper, 300, 400);
        CECGDC printer(&paper, 2);
        ASSERT_TRUE(view.DrawView(printer.GetDC(), CRect(0, 0, 300, 400), 1));
    }
};

}  // namespace

TEST_F(OverlappedRateTest, TheQrsStandsHalfASecondInAndTheTWaveIsDrawnAtEveryRate)
{
    beatrate::Peak t500;
    for (int rate : {500, 250, 1000}) {
        SCOPED_TRACE(rate);
        ASSERT_TRUE(OpenFile(rate));
        CViewAveOverlappedWave* view = Shown();
        ASSERT_NE(nullptr, view);
        EXPECT_EQ(rate, view->GetSampleRate());
        EXPECT_EQ(rate * 6 / 5, view->GetWindowSpan());
        CClientDC dc(view);
        // The R peak 0.5 s into the 1.2 s: x 250 of 600.
        const beatrate::Peak qrs = beatrate::HighestInk(dc, CRect(0, 0, kWidth, kBaseline), kInk);
        EXPECT_NEAR(249, qrs.x, 2);
        // The T wave after it, where the 500 Hz beat has it.
        const beatrate::Peak t = beatrate::HighestInk(dc, CRect(qrs.x + 50, 0, kWidth, kBaseline), kInk);
        if (rate == 500) t500 = t;
        EXPECT_LT(t.y, kBaseline - 10);
        EXPECT_NEAR(t500.x, t.x, 3);
        EXPECT_NEAR(t500.y, t.y, 3);
        // The beat reaches the right edge.
        EXPECT_GE(beatrate::TopInk(dc, kWidth - 3, 0, kHeight - 80, kInk), 0);
        // On paper, at half the width, the same places.
        CDC paper;
        ASSERT_NO_FATAL_FAILURE(Print(*view, paper));
        const beatrate::Peak printed = beatrate::HighestInk(paper, CRect(0, 0, 300, 200), kInk);
        EXPECT_NEAR(124, printed.x, 2);
        const beatrate::Peak printedT = beatrate::HighestInk(paper, CRect(printed.x + 25, 0, 300, 200), kInk);
        EXPECT_NEAR(t500.x / 2, printedT.x, 3);
        CloseView();
    }
}

TEST_F(OverlappedRateTest, TheFiducialDefaultsStandAtTheSameTimesInABeatOfAnyRate)
{
    for (int rate : beatrate::Rates()) {
        SCOPED_TRACE(rate);
        ASSERT_TRUE(OpenFile(rate));
        CViewAveOverlappedWave* view = Shown();
        ASSERT_NE(nullptr, view);
        EXPECT_EQ(rate * 6 / 5, view->GetFiducialSpan());
        EXPECT_EQ(80 * rate / 500, view->ReadFiducials().nPBegin);
        EXPECT_EQ(180 * rate / 500, view->ReadFiducials().nTEnd);
        // 2/15 and 3/10 of the width.
        CClientDC dc(view);
        EXPECT_EQ(RGB(255, 0, 255), dc.GetPixel(80, 5));
        EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(180, 5));
        CloseView();
    }
}

// The host prints the view without painting it first: the beats keep the
// file's amplitude all the same.
TEST_F(OverlappedRateTest, APrintBeforeAnyPaintDrawsTheBeatAtTheFilesAmplitude)
{
    ASSERT_TRUE(OpenFile(500));
    CViewAveOverlappedWave* view = Shown();
    ASSERT_NE(nullptr, view);
    CDC painted;
    ASSERT_NO_FATAL_FAILURE(Print(*view, painted));
    CViewAveOverlappedWave unpainted;
    m_mfer.AddView(&unpainted);
    unpainted.SetDocType(DOC_TYPE_MFER);
    unpainted.SetWaveInfo(5.0f, 100);
    unpainted.OnInitialUpdate();
    CDC paper;
    ASSERT_NO_FATAL_FAILURE(Print(unpainted, paper));
    m_mfer.RemoveView(&unpainted);
    const beatrate::Peak expected = beatrate::HighestInk(painted, CRect(0, 0, 300, 200), kInk);
    ASSERT_GE(expected.y, 0);
    EXPECT_EQ(expected.y, beatrate::HighestInk(paper, CRect(0, 0, 300, 200), kInk).y);
}

TEST_F(OverlappedRateTest, ThePtbRecordsBeatAtAThousandHertzShowsItsQrsAndTWave)
{
    if (!OpenFile(0)) GTEST_SKIP() << "shared data not present (physionet/ptb/s0010_re); skipping";
    CViewAveOverlappedWave* view = Shown();
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(1200, view->GetWindowSpan());
    CClientDC dc(view);
    const beatrate::Peak qrs = beatrate::HighestInk(dc, CRect(0, 0, kWidth, kBaseline), kInk);
    EXPECT_NEAR(249, qrs.x, 3);
    // The beat goes on to the right edge: its T wave and the baseline after it.
    EXPECT_GE(beatrate::TopInk(dc, kWidth - 3, 0, kHeight - 80, kInk), 0);
    CDC paper;
    ASSERT_NO_FATAL_FAILURE(Print(*view, paper));
    EXPECT_NEAR(124, beatrate::HighestInk(paper, CRect(0, 0, 300, 200), kInk).x, 2);
}

// The outline of a 500 Hz file's beats (the top of the ink every 12 px on
// screen, 6 on paper) as the view drew it before each record brought its
// own rate.
TEST_F(OverlappedRateTest, AFiveHundredHertzFileDrawsAsBefore)
{
    ASSERT_TRUE(OpenFile(500));
    CViewAveOverlappedWave* view = Shown();
    ASSERT_NE(nullptr, view);
    CClientDC dc(view);
    const std::vector<int> screenBefore{
        199, 199, 199, 199, 199, 199, 199, 199, 199, 199, 199, 199, 198, 193, 191, 196, 199, 199, 199, 193, 175,
        145, 190, 199, 199, 198, 196, 192, 185, 177, 172, 172, 180, 190, 197, 199, 199, 199, 199, 199, 199, 199,
        199, 199, 199, 199, 199, 199, 197, 191};
    EXPECT_EQ(screenBefore, beatrate::Outline(dc, 2, kWidth, 12, 0, kHeight - 80, kInk));
    CDC paper;
    ASSERT_NO_FATAL_FAILURE(Print(*view, paper));
    const std::vector<int> paperBefore{
        199, 199, 199, 199, 199, 199, 199, 199, 199, 199, 199, 199, 197, 191, 190, 194, 199, 199, 199, 188, 150,
        131, 189, 199, 199, 198, 195, 190, 183, 176, 171, 171, 177, 188, 195, 199, 199, 199, 199, 199, 199, 199,
        199, 199, 199, 199, 199, 199, 196, 190};
    EXPECT_EQ(paperBefore, beatrate::Outline(paper, 1, 300, 6, 0, 320, kInk));
}

namespace {

// ---- the average-beat view: 1300 x 1200 px over 130 x 120 squares ---------
// The calibration column's 100 px, then four cells of 300 px (30 squares,
// 1.2 s) and three rows of 400 px.

class AverageRateTest : public BeatRateFixture<CViewAverageWave> {
protected:
    static const int kWidth = 1300;
    static const int kHeight = 1200;
    static int CellLeft(int column) { return 100 + 300 * column; }

    CViewAverageWave* Shown()
    {
        m_mfer.SetSense(1, 5.0f, 0);
        m_mfer.SetSense(0, 5.0f, 0);
        CViewAverageWave* view = MakeView(kWidth, kHeight, &m_mfer, DOC_TYPE_MFER);
        if (!view) return nullptr;
        view->OnUpdate(nullptr, 0, nullptr);
        view->Invalidate(TRUE);
        view->UpdateWindow();
        return view;
    }
    // The printed copy at 5 px a millimetre: 650 x 600 px.
    void Print(CViewAverageWave& view, CDC& paper)
    {
        PaperOn(paper, 650, 600);
        CECGDC printer(&paper, 2);
        ASSERT_TRUE(view.Print(&printer, CRect(0, 0, 650, 600), 130, 120, 5.0, 0, 0));
    }
};

}  // namespace

TEST_F(AverageRateTest, EveryCellHoldsItsWholeBeatWithTheQrsInItsPlaceAtEveryRate)
{
    // Per cell of the middle row (II, aVL, V2, V5), the highest ink and the
    // highest after it (II: R and T): where the 500 Hz beat has them.
    std::vector<beatrate::Peak> first500(4), second500(4), printed500(4);
    for (int rate : {500, 250, 1000}) {
        SCOPED_TRACE(rate);
        ASSERT_TRUE(OpenFile(rate));
        CViewAverageWave* view = Shown();
        ASSERT_NE(nullptr, view);
        EXPECT_EQ(rate, view->GetSampleRate());
        CClientDC dc(view);
        CDC paper;
        ASSERT_NO_FATAL_FAILURE(Print(*view, paper));
        for (int c = 0; c < 4; ++c) {
            SCOPED_TRACE(c);
            const int right = CellLeft(c) + 300;
            const beatrate::Peak first = beatrate::HighestInk(dc, CRect(CellLeft(c), 400, right, 600), kInk);
            const beatrate::Peak second = beatrate::HighestInk(dc, CRect(first.x + 25, first.y + 10, right, 600), kInk);
            const beatrate::Peak printed = beatrate::HighestInk(paper, CRect(CellLeft(c) / 2, 200, right / 2, 300), kInk);
            if (rate == 500) {
                first500[c] = first;
                second500[c] = second;
                printed500[c] = printed;
            }
            // aVL's and V2's R and T are near one height: only II's and V5's tell them apart.
            if (c == 0 || c == 3) {
                EXPECT_NEAR(first500[c].x, first.x, 2);
                EXPECT_NEAR(first500[c].y, first.y, 2);
                EXPECT_NEAR(second500[c].x, second.x, 3);
                EXPECT_NEAR(second500[c].y, second.y, 3);
                EXPECT_NEAR(printed500[c].x, printed.x, 2);
            }
            // Nothing of the beat runs into the next cell's first square.
            if (c < 3) {
                EXPECT_EQ(-1, beatrate::HighestInk(dc, CRect(right + 1, 0, right + 8, kHeight), kInk).y);
            }
        }
        // Lead II: the R peak half a second into its cell, the T wave after it.
        EXPECT_NEAR(CellLeft(0) + 124, first500[0].x, 2);
        EXPECT_NEAR(CellLeft(0) / 2 + 62, printed500[0].x, 2);
        EXPECT_LT(second500[0].y, 600 - 5);
        CloseView();
    }
}

TEST_F(AverageRateTest, ThePtbRecordsBeatsStandInTheirCells)
{
    if (!OpenFile(0)) GTEST_SKIP() << "shared data not present (physionet/ptb/s0010_re); skipping";
    CViewAverageWave* view = Shown();
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(1200, view->GetWindowSpan());
    EXPECT_EQ(1000, view->GetSampleRate());
    CClientDC dc(view);
    CDC paper;
    ASSERT_NO_FATAL_FAILURE(Print(*view, paper));
    // The leads with an upright R (aVL, V2, V3, V4): their peaks half a second into their cells.
    const struct {
        int column, row;
    } upright[] = {{1, 1}, {2, 1}, {2, 2}, {3, 0}};
    for (const auto& cell : upright) {
        SCOPED_TRACE(cell.column * 3 + cell.row);
        const int left = CellLeft(cell.column), top = cell.row * 400;
        EXPECT_NEAR(left + 124, beatrate::HighestInk(dc, CRect(left, top, left + 300, top + 200), kInk).x, 3);
        EXPECT_NEAR(left / 2 + 62,
                    beatrate::HighestInk(paper, CRect(left / 2, top / 2, left / 2 + 150, top / 2 + 100), kInk).x, 3);
    }
    // Every beat ends inside its cell, drawn to its end.
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        const int right = CellLeft(c) + 300;
        EXPECT_EQ(-1, beatrate::HighestInk(dc, CRect(right + 1, 0, right + 8, kHeight), kInk).y);
        EXPECT_GE(beatrate::HighestInk(dc, CRect(right - 12, 0, right - 2, kHeight), kInk).y, 0);
    }
}

// The outline of a 500 Hz file's beats (the top of the ink every 20 px on
// screen, 10 on paper, in each row) as the view drew it before each record
// brought its own rate.
TEST_F(AverageRateTest, AFiveHundredHertzFileDrawsAsBefore)
{
    ASSERT_TRUE(OpenFile(500));
    CViewAverageWave* view = Shown();
    ASSERT_NE(nullptr, view);
    CClientDC dc(view);
    CDC paper;
    ASSERT_NO_FATAL_FAILURE(Print(*view, paper));
    const std::vector<int> screenRow0{
        199, 199, 199, 199, 195, 200, 179, 199, 197, 189, 198, 199, 199, 199, 199, -1, 200, 200, 200, 205, 199,
        228, 200, 203, 212, 201, 200, 200, 200, 200, -1, 199, 199, 199, 199, 199, 214, 199, 199, 198, 199, 199,
        199, 199, 199, -1, 199, 199, 199, 191, 199, 171, 199, 192, 171, 194, 199, 199, 199, 199};
    const std::vector<int> screenRow1{
        599, 599, 599, 599, 592, 600, 567, 599, 596, 585, 597, 599, 599, 599, 599, -1, 600, 600, 600, 600, 600,
        593, 599, 599, 597, 600, 600, 600, 600, 600, -1, 599, 599, 599, 597, 599, 608, 599, 596, 587, 598, 599,
        599, 599, 599, -1, 599, 599, 599, 591, 600, 559, 599, 594, 577, 596, 599, 599, 599, 599};
    const std::vector<int> screenRow2{
        999, 999, 999, 999, 997, 999, 989, 999, 999, 996, 999, 999, 999, 999, 999, -1, 999, 999, 999, 994, 999,
        967, 999, 997, 990, 998, 999, 999, 999, 999, -1, 999, 999, 999, 995, 999, 995, 999, 995, 981, 996, 999,
        999, 999, 999, -1, 999, 999, 999, 995, 1000, 968, 999, 996, 988, 998, 999, 999, 999, 999};
    const std::vector<int> paperRow0{
        99, 99, 99, 99, 97, 99, 75, 99, 97, 94, 98, 99, 99, 99, 99, -1, 99, 99, 99, 101, 99, 102, 99, 100, 105,
        99, 99, 99, 99, 99, -1, 99, 99, 99, 99, 99, 99, 99, 99, 98, 99, 99, 99, 99, 99, -1, 99, 99, 99, 95, 99,
        78, 99, 94, 85, 95, 99, 99, 99, 99};
    const std::vector<int> paperRow1{
        299, 299, 299, 299, 295, 299, 263, 299, 297, 292, 297, 299, 299, 299, 299, -1, 299, 299, 299, 299, 299,
        294, 299, 299, 298, 299, 299, 299, 299, 299, -1, 299, 299, 299, 298, 299, 298, 299, 297, 293, 297, 299,
        299, 299, 299, -1, 299, 299, 299, 295, 299, 269, 299, 295, 288, 296, 299, 299, 299, 299};
    const std::vector<int> paperRow2{
        499, 499, 499, 499, 498, 499, 487, 499, 499, 497, 499, 499, 499, 499, 499, -1, 499, 499, 499, 496, 499,
        475, 499, 498, 494, 498, 499, 499, 499, 499, -1, 499, 499, 499, 497, 499, 496, 499, 496, 490, 497, 499,
        499, 499, 499, -1, 499, 499, 499, 497, 499, 476, 499, 497, 493, 498, 499, 499, 499, 499};
    const std::vector<int>* screen[3] = {&screenRow0, &screenRow1, &screenRow2};
    const std::vector<int>* printed[3] = {&paperRow0, &paperRow1, &paperRow2};
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(*screen[r], beatrate::Outline(dc, 101, kWidth, 20, r * 400, r * 400 + 400, kInk));
        EXPECT_EQ(*printed[r], beatrate::Outline(paper, 51, 650, 10, r * 200, r * 200 + 200, kInk));
    }
}
