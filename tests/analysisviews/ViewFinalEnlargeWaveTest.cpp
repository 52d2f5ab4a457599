// The master-step enlarged beat in its own frame with the dialog's calls, on
// records of the record maker: zoom steps and labels, the ruler's reading,
// XOR marks that leave the picture as it was, pans and arrow keys, through
// the desktop's message path.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysisviews/ViewFinalEnlargeWave.h"
#include "core/Globals.h"
#include "platform/gdi/DCObjectSelector.h"
#include "tests/analysisviews/FinalViewTestSupport.h"

using namespace finalviewtest;

namespace {

// 400 x 200 pixels at 4 pixels a square and 100%: 100 x 50 squares.
const int kWidth = 400;
const int kHeight = 200;

class FinalEnlargeTest : public FinalViewFixture<CViewFinalEnlargeWave> {
protected:
    // As the load dialog sets up its views: lead II, the grid, the ratio.
    void Show(BOOL rest, int index = -2, double ratio = 1.0)
    {
        if (!m_record.systemCode) OpenRecord(RecordWithLoads(3));
        MakeView(kWidth, kHeight);
        m_view->SetWaveInfo(&m_doc, 1, rest);
        m_view->InitBackground(100, 50);
        m_view->SetBackGridSize(4.0, 4.0, ratio);
        if (!rest) m_view->SetDataIndex(index);
        m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
        Move(kWidth - 1, kHeight - 1);
        Paint();
    }
    std::pair<int, int> Grid()
    {
        int x = 0, y = 0;
        m_view->GetGridCount(x, y);
        return {x, y};
    }
    // Pixels of the blue text colour (or blended towards it) in the lower
    // right corner: the zoom label.
    int LabelInk()
    {
        CClientDC dc(m_view);
        int n = 0;
        for (int y = kHeight - 40; y < kHeight; ++y)
            for (int x = kWidth - 80; x < kWidth; ++x) {
                const COLORREF c = dc.GetPixel(x, y);
                n += GetBValue(c) > GetRValue(c) + 60 ? 1 : 0;
            }
        return n;
    }
    void Arm() { m_view->SetRulerStatus(RULER_STATUS_ARMED); }
    // The text's cell in the label font.
    CSize LabelSize(const wchar_t* text)
    {
        CClientDC dc(m_view);
        CDCObjectSelector<CFont> font(dc, g_pDlgFontNormal);
        return dc.GetTextExtent(text);
    }
    // The box of the label's ink in the lower right corner (empty: none).
    CRect LabelInkBox(int fromX, int fromY)
    {
        CClientDC dc(m_view);
        CRect box(kWidth, kHeight, 0, 0);
        for (int y = fromY; y < kHeight; ++y)
            for (int x = fromX; x < kWidth; ++x) {
                const COLORREF c = dc.GetPixel(x, y);
                if (GetBValue(c) <= GetRValue(c) + 60) continue;
                box.left = std::min<int>(box.left, x);
                box.top = std::min<int>(box.top, y);
                box.right = std::max<int>(box.right, x + 1);
                box.bottom = std::max<int>(box.bottom, y + 1);
            }
        return box;
    }
};

}  // namespace

TEST_F(FinalEnlargeTest, ZoomStepsSetTheirRatioOnlyExactlyAndOnlyNineStepsShowALabel)
{
    Show(TRUE, -2, 4.0);
    EXPECT_EQ(Grid(), std::make_pair(25, 12));
    EXPECT_EQ(m_view->GetScaleRatio(), 2);
    m_view->SetBackGridSize(4.0, 4.0, 0.9);   // not a ratio of the table
    EXPECT_EQ(Grid(), std::make_pair(25, 12));
    EXPECT_EQ(m_view->GetScaleRatio(), 2);

    m_view->SetScaleRatio(-1);
    EXPECT_EQ(Grid(), std::make_pair(110, 55));   // 100 / 0.909
    Paint();
    EXPECT_GT(LabelInk(), 0);   // "90%"
    // The dialog's zoom button pressed past the table: kept, drawn without a label.
    for (int step = 0; step <= 5; ++step) m_view->SetScaleRatio(m_view->GetScaleRatio() + 1);
    EXPECT_EQ(m_view->GetScaleRatio(), 5);
    EXPECT_EQ(m_view->GetRatio(), 10.0);
    Paint();
    EXPECT_EQ(LabelInk(), 0);
}

TEST_F(FinalEnlargeTest, TheZoomLabelStandsFlushInTheBottomRightCorner)
{
    Show(TRUE, -2, 4.0);
    const CSize size = LabelSize(L"400%");
    ASSERT_GT(size.cx, 0);
    ASSERT_GT(size.cy, 0);
    const CRect cell(kWidth - size.cx, kHeight - size.cy, kWidth, kHeight);
    const CRect ink = LabelInkBox(cell.left - 20, cell.top - 20);
    ASSERT_FALSE(ink.IsRectEmpty()) << "no label drawn";
    // All of the ink lies in the text's cell at the corner, and it reaches
    // the last few pixels of both edges.
    EXPECT_GE(ink.left, cell.left);
    EXPECT_GE(ink.top, cell.top);
    EXPECT_LE(ink.right, kWidth);
    EXPECT_LE(ink.bottom, kHeight);
    EXPECT_GT(ink.right, kWidth - 4);
    EXPECT_GT(ink.bottom, kHeight - size.cy / 2);
}

TEST_F(FinalEnlargeTest, ARulerSpanOf25SquaresAt100PercentReads1000Milliseconds)
{
    Show(FALSE);
    Arm();
    Move(100, 50);
    Click(100, 50);
    Move(200, 90);
    const std::vector<LoggedMsg> readings = m_parent.Of(WM_ENLARGED_RULER_READING);
    ASSERT_FALSE(readings.empty());
    const LoggedMsg& last = readings.back();
    EXPECT_EQ(last.wParam & 0xFFFF, 1000u);
    // 10 squares down at the record's sensitivity.
    const int uv = static_cast<int>(10 / m_doc.GetCommonSense(0) * 1000.0);
    EXPECT_EQ(static_cast<int>(last.wParam >> 16), uv);
    EXPECT_EQ(last.lParam, FALSE);   // the post-load view
}

TEST_F(FinalEnlargeTest, ErasedRulerFiguresLeaveEveryPixelAsItWas)
{
    Show(TRUE);
    Arm();
    Move(100, 50);
    Click(100, 50);
    Move(200, 90);
    Click(200, 90);
    const std::vector<COLORREF> marked = Snapshot();
    Click(100, 50);   // selects mark 1: its corner squares come up
    EXPECT_NE(Snapshot(), marked);
    Click(300, 150);  // nothing hit: the squares go
    EXPECT_EQ(Snapshot(), marked);

    Paint();
    const std::vector<COLORREF> before = Snapshot();
    Click(200, 90);
    platform::ui::Desktop::Drag(Hwnd(), CPoint(200, 90), CPoint(240, 120), 4);
    platform::ui::Desktop::Drag(Hwnd(), CPoint(240, 120), CPoint(200, 90), 4);
    platform::ui::Desktop::PumpMessages();
    Click(300, 150);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FinalEnlargeTest, PanningTellsTheDialogTheRestFlagThenTheNegatedOffsetsWithinOneClientExtent)
{
    Show(TRUE);
    platform::ui::Desktop::AdvanceClock(1000);
    platform::ui::Desktop::Drag(Hwnd(), CPoint(100, 100), CPoint(130, 80), 2);
    platform::ui::Desktop::PumpMessages();
    std::vector<LoggedMsg> pans;
    for (const LoggedMsg& m : m_parent.m_log)
        if (m.message == WM_ENLARGED_PAN_SOURCE || m.message == WM_ENLARGED_PAN) pans.push_back(m);
    ASSERT_GE(pans.size(), 2u);
    for (size_t i = 0; i + 1 < pans.size(); i += 2) {
        EXPECT_EQ(pans[i].message, WM_ENLARGED_PAN_SOURCE);
        EXPECT_EQ(pans[i].wParam, static_cast<WPARAM>(TRUE));
        EXPECT_EQ(pans[i + 1].message, WM_ENLARGED_PAN);
    }
    EXPECT_EQ(static_cast<int>(pans.back().wParam), -30);
    EXPECT_EQ(static_cast<int>(pans.back().lParam), 20);

    platform::ui::Desktop::AdvanceClock(1000);
    platform::ui::Desktop::Drag(Hwnd(), CPoint(10, 10), CPoint(390, 190), 2);
    platform::ui::Desktop::AdvanceClock(1000);
    platform::ui::Desktop::Drag(Hwnd(), CPoint(10, 10), CPoint(390, 190), 2);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(m_view->GetDragHorizontalOffset(), kWidth);
    EXPECT_EQ(m_view->GetDragVerticalOffset(), kHeight);
}

TEST_F(FinalEnlargeTest, ArrowKeysMoveTheSelectedMarkAndStopAtTheClientEdge)
{
    Show(TRUE);
    Arm();
    Move(0, 50);
    Click(0, 50);
    Move(150, 90);
    Click(150, 90);
    Click(0, 50);
    m_view->SetFocus();
    const size_t atEdge = m_parent.Of(WM_ENLARGED_RULER_READING).size();
    platform::ui::Desktop::KeyPress(VK_LEFT);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(m_view->GetRuler().GetPoint(0), CPoint(0, 50));
    EXPECT_EQ(m_parent.Of(WM_ENLARGED_RULER_READING).size(), atEdge);
    platform::ui::Desktop::KeyPress(VK_RIGHT);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(m_view->GetRuler().GetPoint(0), CPoint(1, 50));
    EXPECT_EQ(m_parent.Of(WM_ENLARGED_RULER_READING).size(), atEdge + 1);
}

TEST_F(FinalEnlargeTest, ThePostLoadViewTakesBeatFlagAndSTFromOneRecord)
{
    OpenRecord(RecordWithLoads(3));
    m_doc.SetCurLoadIndex(2);
    Item().pLoadInfo[2].sST[1] = 123;   // display lead II is record lead 1
    Show(FALSE, -2);
    EXPECT_EQ(m_view->GetST(), 123);
    EXPECT_EQ(m_view->GetShown(), 1);
    EXPECT_GT(m_view->GetCount(), 0);

    Item().pLoadInfo[2].sStatus = 0;
    m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
    EXPECT_EQ(m_view->GetShown(), 0);
    m_view->SetDataIndex(7);   // no such comparison
    m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
    EXPECT_EQ(m_view->GetCount(), 0);
    EXPECT_EQ(m_view->GetST(), -32768);
}

TEST_F(FinalEnlargeTest, ABeatWhoseFlagIsClearIsDrawnWithoutItsSTLevel)
{
    OpenRecord(RecordWithLoads(3));
    Item().sRestStatus = 0;
    Show(TRUE);
    ASSERT_GT(m_view->GetCount(), 0);
    // Text ink (blue, or blended towards it) in the band of the ST level.
    auto stInk = [&] {
        CClientDC dc(m_view);
        int n = 0;
        for (int y = kHeight - kHeight / 15; y < kHeight; ++y)
            for (int x = kWidth / 4; x < 3 * kWidth / 4; ++x) {
                const COLORREF c = dc.GetPixel(x, y);
                n += GetBValue(c) > GetRValue(c) + 60 ? 1 : 0;
            }
        return n;
    };
    {
        CClientDC dc(m_view);
        EXPECT_FALSE(InkProbe(dc, kWidth, kHeight).Columns(0, kWidth, 0, kHeight - 20, kTrace).empty());
    }
    EXPECT_EQ(stInk(), 0);

    Item().sRestStatus = 1;
    m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
    Paint();
    EXPECT_GT(stInk(), 0);
}
