// The master-step comparison page on records of the record maker, in a frame
// on the desktop: where rows, columns and pulses stand, the shifted
// difference row, alignment points the record gets wrong, paging, the
// clicks and double-clicks, and the printed page.
#include <gtest/gtest.h>

#include "analysisviews/ViewFinalCom12Leads.h"
#include "dialogs/DlgFinalLoadEnlarge.h"
#include "dialogs/DlgFinalRestEnlarge.h"
#include "printdevice/ECGDC.h"
#include "tests/analysisviews/FinalViewTestSupport.h"
#include "tests/support/DCStateCheck.h"
#include "tests/support/ModalScript.h"

using namespace finalviewtest;

namespace {

// 620 x 360 pixels over the 310 x 180 squares: 2 pixels a square.
const int kWidth = 620;
const int kHeight = 360;
int Sq(int squares) { return 2 * squares; }

class Com12LeadsTest : public FinalViewFixture<CViewFinalCom12Leads> {
protected:
    void Show(int loads)
    {
        OpenRecord(RecordWithLoads(loads));
        MakeView(kWidth, kHeight);
        m_view->OnUpdate(nullptr, 0, nullptr);
        Move(kWidth - 1, kHeight - 1);   // the first mouse message activates the window
        Paint();
    }
    void Reload()
    {
        m_view->OnUpdate(nullptr, 0, nullptr);
        Paint();
    }
    // The first trace column of lead column i in the band of rows [y0, y1).
    int FirstInk(int i, int step, int y0, int y1)
    {
        CClientDC dc(m_view);
        const InkProbe probe(dc, kWidth, kHeight);
        const std::vector<int> cols = probe.Columns(Sq(10 + i * step) - 3, Sq(10 + i * step + step) - 3, y0, y1, kTrace);
        return cols.empty() ? -1 : cols.front();
    }
    // Trace rows in the calibration strip (squares 2 to 8).
    std::vector<int> PulseRows()
    {
        CClientDC dc(m_view);
        return InkProbe(dc, kWidth, kHeight).Rows(Sq(2), Sq(8) + 1, 0, kHeight, kTrace);
    }
};

bool Has(const std::vector<int>& v, int value) { return std::find(v.begin(), v.end(), value) != v.end(); }

}  // namespace

TEST_F(Com12LeadsTest, RowsStandAt20_65_110_155SquaresAndColumns25SquaresApart)
{
    Show(3);
    // A pulse's base line lies on its row's baseline; nothing of it lies below.
    const std::vector<int> pulses = PulseRows();
    for (int baseline : {20, 65, 110, 155}) {
        EXPECT_TRUE(Has(pulses, Sq(baseline))) << baseline;
        EXPECT_FALSE(Has(pulses, Sq(baseline) + 2)) << baseline;
    }
    for (int i = 0; i < 12; ++i) {
        EXPECT_NEAR(FirstInk(i, 25, Sq(8), Sq(32)), Sq(10 + 25 * i), 1) << "rest, column " << i;
        EXPECT_NEAR(FirstInk(i, 25, Sq(55), Sq(75)), Sq(10 + 25 * i), 1) << "post-load, column " << i;
    }
}

TEST_F(Com12LeadsTest, ALongerRestLeadInStartsTheDifferenceAtThePostLoadWindowAndShiftsItsRow)
{
    Show(3);
    const int before = FirstInk(3, 25, Sq(40), Sq(40) + 1);
    ASSERT_NEAR(before, Sq(10 + 75), 1);
    Item().sRestQrsOnset = static_cast<short>(Item().sRestQrsOnset + 20);
    Reload();
    const _FINAL_COMPARE_BEAT* diff = m_view->GetCompareBeat(0);
    ASSERT_NE(diff, nullptr);
    EXPECT_EQ(diff->nStart, Item().pLoadInfo[0].nStart);
    EXPECT_EQ(diff->sQrsOnset, Item().pLoadInfo[0].sQrsOnset);
    // 20 samples are one square.
    EXPECT_EQ(FirstInk(3, 25, Sq(40), Sq(40) + 1) - before, Sq(1));
}

TEST_F(Com12LeadsTest, AlignmentPointsOutsideTheirWindowsGiveNoDifferenceRowAndReadNothingOutside)
{
    Show(3);
    Item().pLoadInfo[0].sQrsOnset = 30000;
    Item().pLoadInfo[1].sQrsOnset = -3;
    Item().pLoadInfo[2].nEnd = 900;   // a window past the lead block
    Reload();
    for (int k = 0; k < 3; ++k) {
        const _FINAL_COMPARE_BEAT* diff = m_view->GetCompareBeat(k);
        ASSERT_NE(diff, nullptr);
        EXPECT_EQ(diff->nEnd - diff->nStart, 0) << k;
    }
    // No difference base line; the post-load beats of the first two stand.
    EXPECT_EQ(FirstInk(0, 25, Sq(40), Sq(40) + 1), -1);
    EXPECT_NE(FirstInk(0, 25, Sq(55), Sq(75)), -1);

    Item().sRestQrsOnset = 700;
    Reload();
    EXPECT_EQ(m_view->GetCompareBeat(0)->nEnd - m_view->GetCompareBeat(0)->nStart, 0);
    EXPECT_NEAR(FirstInk(0, 25, Sq(8), Sq(32)), Sq(10), 1);
}

// The record file holds the samples of the first post-load beat only, while
// its XML lists two: the second row has no trace but keeps its ST levels and
// heart rate.
TEST_F(Com12LeadsTest, APostLoadBeatWhoseSamplesCannotBeReadStillShowsItsValues)
{
    std::string unusedXml;
    const std::string path = Write(RecordWithLoads(1), &unusedXml, "one");
    std::string xml;
    Write(RecordWithLoads(2), &xml, "two");
    ASSERT_EQ(0, Open(m_doc, path, xml));
    m_doc.InitialSense();
    MakeView(kWidth, kHeight);
    m_view->OnUpdate(nullptr, 0, nullptr);
    Move(kWidth - 1, kHeight - 1);
    Paint();
    ASSERT_EQ(Item().nLoadCount, 2);
    // No trace in row 1 (baseline 110 squares).
    EXPECT_EQ(FirstInk(0, 25, Sq(100), Sq(120)), -1);
    // Its values: ST levels at 115 squares, the heart rate 4 squares lower
    // (text ink: blue, or blended towards it).
    CClientDC dc(m_view);
    auto textInk = [&](int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const COLORREF c = dc.GetPixel(x, y);
                n += GetBValue(c) > GetRValue(c) + 60 ? 1 : 0;
            }
        return n;
    };
    EXPECT_GT(textInk(Sq(30), Sq(300), Sq(115), Sq(119)), 0);
    EXPECT_GT(textInk(0, Sq(40), Sq(119), Sq(124)), 0);
}

TEST_F(Com12LeadsTest, PagesHoldThreeRowsAndChangingPagesNeverLeavesThem)
{
    Show(5);
    EXPECT_EQ(m_view->GetTotalPage(), 2);
    EXPECT_EQ(m_view->ChangeView(1), 1);
    EXPECT_EQ(m_view->ChangeView(1), 1);   // past the last page
    Paint();
    // The last page has two post-load rows.
    const std::vector<int> pulses = PulseRows();
    EXPECT_TRUE(Has(pulses, Sq(110)));
    EXPECT_FALSE(Has(pulses, Sq(155)));
    EXPECT_EQ(m_view->ChangeView(-7), 0);
    EXPECT_EQ(m_view->SetCurrentPage(9), 0);
    EXPECT_EQ(m_view->GetCurrentPage(), 1);
    EXPECT_EQ(m_view->SetCurrentPage(-2), 1);
    EXPECT_EQ(m_view->GetCurrentPage(), 0);
}

TEST_F(Com12LeadsTest, WithoutPostLoadBeatsOnlyTheRestRowIsDrawnOnOnePage)
{
    Show(0);
    EXPECT_EQ(m_view->GetTotalPage(), 1);
    const std::vector<int> pulses = PulseRows();
    EXPECT_TRUE(Has(pulses, Sq(20)));
    EXPECT_FALSE(Has(pulses, Sq(65)));
    EXPECT_NEAR(FirstInk(5, 25, Sq(8), Sq(32)), Sq(10 + 125), 1);
}

TEST_F(Com12LeadsTest, DoubleClicksOpenTheRestOrLoadDialogOfTheHitCell)
{
    Show(4);
    m_view->ChangeView(1);   // the second page: one post-load row
    testsupport::ModalScript script;
    int lead = -1, index = -9;
    script.On(CDlgFinalLoadEnlarge::IDD, [&](CDialog& d) {
        auto& dialog = static_cast<CDlgFinalLoadEnlarge&>(d);
        lead = dialog.GetLeadID();
        index = dialog.GetLoadIndex();
        EXPECT_EQ(dialog.GetDoc(), &m_doc);
    });
    DoubleClick(Sq(10 + 50 + 12), Sq(70));   // row 1, column 2
    EXPECT_EQ(lead, 2);
    EXPECT_EQ(index, 3);

    DoubleClick(Sq(10 + 50 + 12), Sq(120));   // row 2 is not on this page
    script.On(CDlgFinalRestEnlarge::IDD, [&](CDialog& d) { lead = static_cast<CDlgFinalRestEnlarge&>(d).GetLeadID(); });
    DoubleClick(Sq(22), Sq(20));              // row 0, column 0
    EXPECT_EQ(lead, 0);
    const std::vector<UINT> seen = {CDlgFinalLoadEnlarge::IDD, CDlgFinalRestEnlarge::IDD};
    EXPECT_EQ(script.Seen(), seen);
}

TEST_F(Com12LeadsTest, AClickInTheCalibrationStripAsksForTheMasterStepSensitivity)
{
    Show(1);
    Click(Sq(5), Sq(100));
    Click(Sq(40), Sq(100));   // outside the strip: nothing
    const std::vector<LoggedMsg> sent = m_parent.Of(WM_USER + 0xF);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].wParam, 6u);
    EXPECT_EQ(sent[0].lParam, 6);
}

TEST_F(Com12LeadsTest, PrintingStepsColumns20SquaresAndDrawsTheDifferenceGrey)
{
    Show(3);
    Item().pLoadInfo[0].nStart = Item().nRestStart + 20;
    Item().pLoadInfo[0].nEnd = Item().pLoadInfo[0].nStart + 200;
    Item().pLoadInfo[0].sQrsOnset = Item().sRestQrsOnset;
    m_view->OnUpdate(nullptr, 0, nullptr);
    const int w = 1240, h = 720;   // 4 device units a square
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(w, h)));
    dc.FillSolidRect(0, 0, w, h, kPaper);
    CECGDC printer(&dc, 2);
    EXPECT_EQ(m_view->Print(nullptr, CRect(0, 0, w, h), 310, 180, 4.0, 0, 0), 0);
    ASSERT_EQ(m_view->Print(&printer, CRect(0, 0, w, h), 310, 180, 4.0, 0, 0), 1);
    const InkProbe probe(dc, w, h);
    for (int i = 0; i < 12; ++i) {
        // A 200-sample post-load window starting 20 samples (a square) after
        // the rest window's: half-width beats with gaps between them.
        const std::vector<int> cols = probe.Columns(4 * (10 + 20 * i) - 6, 4 * (10 + 20 * i) + 40, 236, 276, kTrace);
        ASSERT_FALSE(cols.empty()) << i;
        EXPECT_NEAR(cols.front(), 4 * (10 + 20 * i) + 4, 2) << i;
    }
    EXPECT_FALSE(probe.Columns(40, w, 160, 161, RGB(127, 127, 127)).empty());
    EXPECT_TRUE(probe.Columns(40, w, 160, 161, kTrace).empty());
}

#include "dialogs/DlgEnlargedPreview.h"
#include "waveviews/ViewEnlargedPreview.h"

TEST_F(Com12LeadsTest, HoveringShowsTheMagnifiedPageInTheMagnifierOutsideAnnotationModeOnly)
{
    platform::ui::Desktop::SetScreenSize(1920, 1080);
    CDlgEnlargedPreview dialog;
    dialog.SetEnlargedPreviewDoc(&m_doc);
    ASSERT_TRUE(dialog.Create(CDlgEnlargedPreview::IDD, nullptr));
    dialog.SetWindowPos(nullptr, 1500, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    m_doc.SetEnlargedPreview(&dialog);
    Show(3);
    CViewEnlargedPreview* magnifier = dialog.GetEnlargedPreview();
    ASSERT_NE(magnifier, nullptr);
    // What the magnifier window shows: its picture painted.
    const auto traceInk = [&] {
        magnifier->Invalidate(FALSE);
        magnifier->UpdateWindow();
        CClientDC dc(magnifier);
        CRect client;
        magnifier->GetClientRect(&client);
        int n = 0;
        for (int y = 0; y < client.Height(); ++y)
            for (int x = 0; x < client.Width(); ++x) n += dc.GetPixel(x, y) == kTrace ? 1 : 0;
        return n;
    };
    Move(Sq(10 + 25 + 5), Sq(20));   // over the rest beat of lead II
    const int shown = traceInk();
    EXPECT_GT(shown, 0);

    // In annotation draw mode the magnifier keeps what it had.
    m_doc.SetMouseMode(2);
    Move(Sq(300), Sq(170));
    EXPECT_EQ(traceInk(), shown);
    m_doc.SetMouseMode(1);
    m_doc.SetEnlargedPreview(nullptr);
    dialog.DestroyWindow();
}

TEST_F(Com12LeadsTest, PrintingAndPaintingLeaveTheDeviceContextAsFound)
{
    Show(3);
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(1240, 720)));
    CECGDC printer(&dc, 2);
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), m_view->Print(&printer, CRect(0, 0, 1240, 720), 310, 180, 4.0, 0, 0));
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), m_view->OnDraw(&dc));
}
