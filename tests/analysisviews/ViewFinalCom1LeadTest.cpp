// The master-step lead tile on records of the record maker: the frame of the
// maximum-ST-depression lead on screen and paper, the current comparison in
// the right half, centred short beats, printed gains that cannot be
// computed, and the double-clicks.
#include <gtest/gtest.h>

#include "analysisviews/ViewFinalCom1Lead.h"
#include "dialogs/DlgFinalLoadEnlarge.h"
#include "dialogs/DlgFinalRestEnlarge.h"
#include "printdevice/ECGDC.h"
#include "tests/analysisviews/FinalViewTestSupport.h"
#include "tests/support/DCStateCheck.h"
#include "tests/support/ModalScript.h"

using namespace finalviewtest;

namespace {

const int kWidth = 400;
const int kHeight = 300;

class Com1LeadTest : public FinalViewFixture<CViewFinalCom1Lead> {
protected:
    void Show(int lead, int loads = 3)
    {
        OpenRecord(RecordWithLoads(loads));
        MakeView(kWidth, kHeight);
        m_view->SetLeadID(lead);
        m_view->OnUpdate(nullptr, 0, nullptr);
        Move(kWidth / 2, 1);
        Paint();
    }
    std::vector<int> TraceColumns(int x0, int x1)
    {
        CClientDC dc(m_view);
        return InkProbe(dc, kWidth, kHeight).Columns(x0, x1, 30, kHeight - 40, kTrace);
    }
    // The run of black pixels of row y from x0 to x1.
    static int BlackRun(CDC& dc, int y, int x0, int x1)
    {
        int run = 0;
        for (int x = x0; x < x1; ++x) run += dc.GetPixel(x, y) == RGB(0, 0, 0) ? 1 : 0;
        return run;
    }
    // Prints the tile into a fresh 600 x 500 image at (50, 50, 450, 350).
    void PrintTile(CDC& dc, BOOL noFrame)
    {
        ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(600, 500)));
        dc.FillSolidRect(0, 0, 600, 500, kPaper);
        CECGDC printer(&dc, 2);
        CRect rect(50, 50, 450, 350);
        ASSERT_EQ(m_view->Print(&printer, &rect, 10.0f, FALSE, noFrame, 0), 1);
    }
};

}  // namespace

TEST_F(Com1LeadTest, TheMaximumDepressionLeadIsFramed3PixelsOnScreenAnd6OnPaperAndNotWithNoFrame)
{
    Show(10);   // the maker's deepest-ST lead
    ASSERT_EQ(Item().nDescentLead, 10);
    {
        CClientDC dc(m_view);
        EXPECT_EQ(BlackRun(dc, 40, kWidth - 10, kWidth), 3);
    }
    CDC framed, plain;
    PrintTile(framed, FALSE);
    PrintTile(plain, TRUE);
    EXPECT_EQ(BlackRun(framed, 200, 40, 60), 6);
    EXPECT_LT(BlackRun(plain, 200, 40, 60), 6);

    m_view->SetLeadID(0);
    m_view->OnUpdate(nullptr, 0, nullptr);
    Paint();
    CClientDC dc(m_view);
    EXPECT_EQ(BlackRun(dc, 40, kWidth - 10, kWidth), 0);
}

TEST_F(Com1LeadTest, TheRightHalfShowsTheCurrentComparisonAndNothingWithoutOne)
{
    Show(1);
    EXPECT_FALSE(TraceColumns(kWidth / 2 + 3, kWidth).empty());
    // The current comparison's own flag decides, not the first one's.
    Item().pLoadInfo[0].sStatus = 0;
    m_doc.SetCurLoadIndex(1);
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(m_view->GetLoadShown(), 1);
    Item().pLoadInfo[1].sStatus = 0;
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(m_view->GetLoadShown(), 0);

    Item().nCurLoadIndex = -1;
    m_view->OnUpdate(nullptr, 0, nullptr);
    Paint();
    EXPECT_EQ(m_view->GetLoadCount(), 0);
    EXPECT_GT(m_view->GetRestCount(), 0);
    EXPECT_TRUE(TraceColumns(kWidth / 2 + 3, kWidth).empty());
    EXPECT_FALSE(TraceColumns(0, kWidth / 2 - 3).empty());
}

TEST_F(Com1LeadTest, ABeatShorterThan400SamplesIsCentredInItsHalf)
{
    Show(1);
    Item().pLoadInfo[Item().nCurLoadIndex].nStart = 300;   // 180 samples after fitting
    Item().pLoadInfo[Item().nCurLoadIndex].nEnd = 600;
    m_view->OnUpdate(nullptr, 0, nullptr);
    Paint();
    ASSERT_EQ(m_view->GetLoadCount(), 180);
    const std::vector<int> cols = TraceColumns(kWidth / 2 + 3, kWidth);
    ASSERT_FALSE(cols.empty());
    EXPECT_NEAR(cols.front(), 200 + 200 * 110 / 400, 1);
    EXPECT_NEAR(cols.back(), 200 + 200 * 110 / 400 + 90, 2);
}

TEST_F(Com1LeadTest, APrintedGainThatWouldDivideByNothingDrawsNoBeats)
{
    Show(1);
    const auto beatInk = [&](int times, int top) {
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateImageDC(600, 500)));
        dc.FillSolidRect(0, 0, 600, 500, kPaper);
        CECGDC printer(&dc, 2);
        m_view->SetEnlargeTimes(times);
        CRect rect(50, top, 450, 350);
        EXPECT_EQ(m_view->Print(&printer, &rect, 10.0f, FALSE, TRUE, 0), 1);
        int n = 0;
        // Clear of the lead name, the divider and the frame lines.
        for (int y = std::max(top + 10, 140); y < 340; ++y)
            for (int x = 100; x < 240; ++x) n += dc.GetPixel(x, y) == RGB(0, 0, 0) ? 1 : 0;
        return n;
    };
    EXPECT_GT(beatInk(1, 50), 0);
    EXPECT_EQ(beatInk(0, 50), 0);     // enlarge times 0
    EXPECT_EQ(beatInk(31, 50), 0);    // above the 30 squares
    EXPECT_EQ(beatInk(1, 310), 0);    // a tile of 4 squares
    EXPECT_EQ(m_view->Print(nullptr, nullptr, 10.0f, FALSE, TRUE, 0), 0);
}

TEST_F(Com1LeadTest, DoubleClicksOpenTheRestDialogLeftAndTheCurrentLoadDialogRight)
{
    Show(4);
    testsupport::ModalScript script;
    int restLead = -1, loadLead = -1, index = 0;
    script.On(CDlgFinalRestEnlarge::IDD, [&](CDialog& d) { restLead = static_cast<CDlgFinalRestEnlarge&>(d).GetLeadID(); });
    script.On(CDlgFinalLoadEnlarge::IDD, [&](CDialog& d) {
        loadLead = static_cast<CDlgFinalLoadEnlarge&>(d).GetLeadID();
        index = static_cast<CDlgFinalLoadEnlarge&>(d).GetLoadIndex();
    });
    DoubleClick(50, 150);
    DoubleClick(350, 150);
    EXPECT_EQ(restLead, 4);
    EXPECT_EQ(loadLead, 4);
    EXPECT_EQ(index, -2);
}

TEST_F(Com1LeadTest, PrintingAndPaintingLeaveTheDeviceContextAsFound)
{
    Show(10);
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(600, 500)));
    CECGDC printer(&dc, 2);
    CRect rect(50, 50, 450, 350);
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), m_view->Print(&printer, &rect, 10.0f, TRUE, FALSE, 0));
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), m_view->OnDraw(&dc));
}
