// The serial comparison of average beats and its enlarged overlap on MFER
// files whose beats come at the file's own rate (the record maker's model at
// 250, 500 and 1000 Hz side by side, PTB s0010_re at 1000 Hz): every column
// shows its beat on the same time scale, the overlap column lays the beats
// over one another, and the enlarged overlap does too. A 500 Hz file draws
// as it always has.
#include <gtest/gtest.h>

#include <memory>

#include "core/DataItem.h"
#include "documents/MFERViewDoc.h"
#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/waveviews/AverageBeatRecords.h"
#include "tests/waveviews/EnlargedViewTestSupport.h"
#include "waveviews/ViewEnlargedOverlap.h"
#include "waveviews/ViewSerialComAve.h"

namespace {

const COLORREF kPaper = RGB(255, 255, 255);
// Page style 41 on 1300 × 640 px: 5 px a millimetre across 260, 4 down 160;
// ten record columns of 125 px (25 mm, one second) right of the 50-px
// calibration column. Lead II's row: baseline 160, 40 px a millivolt.
const int kWidth = 1300;
const int kHeight = 640;
const int kCal = 50;
const int kColumn = 125;
const int kRowTop = 106;
const int kBaseline = 160;

int ColumnLeft(int p) { return kCal + p * kColumn; }

class SerialAverageRateTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = m_base.m_bAutoDelete = m_mfer.m_bAutoDelete = FALSE;
        m_mfer.SetSmoothFilterMode(0);
        m_mfer.SetBaseLineWidth(1);
        m_mfer.SetSense(3, 10.0f, 0);
    }
    // The model at `rate` (0: the PTB record) opened and listed; false when
    // the shared data is absent.
    bool List(int rate)
    {
        _MFERDATAITEM* item = beatrate::OpenAt(m_mfer, m_dir, rate);
        if (!item) return false;
        beatrate::ListIn(m_base, *item);
        return true;
    }
    void MakeView(int slots, BOOL overlap)
    {
        m_view = std::make_unique<CViewSerialComAve>();
        m_view->SetRestViewDoc(&m_doc);
        m_view->SetMFERViewDoc(&m_mfer);
        m_view->SetBaseECGDoc(&m_base);
        m_view->SetDocType(DOC_TYPE_MFER);
        m_view->SetPageStyle(41);
        m_view->SetShowOverlappedWave(overlap);
        for (int slot = 0; slot < slots; ++slot) m_view->SetSerialIndex(slot, slot);
        m_view->OnUpdate(nullptr, 0, nullptr);
    }
    // The page as the screen shows it, on white.
    void Draw()
    {
        Surface(kWidth, kHeight);
        int gridX = 0, gridY = 0;
        m_view->GetGridCount(gridX, gridY);
        EXPECT_TRUE(m_view->DrawView(&m_dc, CRect(0, 0, kWidth, kHeight), gridX, gridY, FALSE, FALSE));
    }
    // The printed page at 5 px a millimetre: 1300 × 800 px, lead II's row 133 px down.
    void Print()
    {
        Surface(kWidth, 800);
        CECGDC printer(&m_dc, 2);
        EXPECT_TRUE(m_view->Print(&printer, CRect(0, 0, kWidth, 800), 260, 160, 5.0, 0, FALSE, TRUE));
    }
    void Surface(int width, int height)
    {
        m_dc.DeleteDC();
        ASSERT_TRUE(m_dc.Attach(platform::gdi::CreateImageDC(width, height)));
        m_dc.FillSolidRect(0, 0, width, height, kPaper);
    }
    // The highest ink in column p's box between `top` and `bottom` that is not paper.
    beatrate::Peak PeakIn(int left, int right, int top, int bottom)
    {
        beatrate::Peak peak;
        for (int y = top; y < bottom && peak.y < 0; ++y) {
            int first = -1, last = -1;
            for (int x = left; x < right; ++x) {
                if (m_dc.GetPixel(x, y) == kPaper) continue;
                if (first < 0) first = x;
                last = x;
            }
            if (first >= 0) peak = beatrate::Peak{(first + last) / 2, y};
        }
        return peak;
    }
    std::vector<int> Outline(int left, int right, int top, int bottom)
    {
        std::vector<int> tops;
        for (int x = left; x < right; x += 3) {
            int y = top;
            while (y < bottom && m_dc.GetPixel(x, y) == kPaper) ++y;
            tops.push_back(y < bottom ? y : -1);
        }
        return tops;
    }

    CTavrionDoc m_base;
    CMFERViewDoc m_mfer;
    std::unique_ptr<CViewSerialComAve> m_view;
    CDC m_dc;
};

}  // namespace

TEST_F(SerialAverageRateTest, BeatsAtTwoHundredFiftyFiveHundredAndAThousandHertzStandAlikeInTheirColumnsAndTheOverlap)
{
    for (int rate : beatrate::Rates()) ASSERT_TRUE(List(rate));
    MakeView(3, TRUE);
    for (int slot = 0; slot < 3; ++slot) EXPECT_EQ(beatrate::Rates()[slot] * 6 / 5, m_view->GetSampleCount(slot, 1));
    Draw();
    // The 500 Hz beat's R and T in its column; the others' where it has them.
    const beatrate::Peak qrs500 = PeakIn(ColumnLeft(1), ColumnLeft(2), kRowTop, kBaseline);
    EXPECT_NEAR(ColumnLeft(1) + 62, qrs500.x, 2);
    const beatrate::Peak t500 = PeakIn(qrs500.x + 12, ColumnLeft(2), qrs500.y + 10, kBaseline);
    EXPECT_LT(t500.y, kBaseline - 5);
    for (int p : {0, 2}) {
        SCOPED_TRACE(p);
        const int offset = (p - 1) * kColumn;
        const beatrate::Peak qrs = PeakIn(ColumnLeft(p), ColumnLeft(p + 1), kRowTop, kBaseline);
        EXPECT_NEAR(qrs500.x + offset, qrs.x, 2);
        EXPECT_NEAR(qrs500.y, qrs.y, 2);
        const beatrate::Peak t = PeakIn(qrs.x + 12, ColumnLeft(p + 1), qrs.y + 10, kBaseline);
        EXPECT_NEAR(t500.x + offset, t.x, 3);
        EXPECT_NEAR(t500.y, t.y, 3);
    }
    // The overlap column lays the three R peaks on one another.
    const beatrate::Peak both = PeakIn(ColumnLeft(9), kWidth, kRowTop, kBaseline);
    EXPECT_NEAR(qrs500.x + 8 * kColumn, both.x, 2);
    const beatrate::Peak overlapT = PeakIn(both.x + 12, kWidth, both.y + 10, kBaseline);
    EXPECT_NEAR(t500.x + 8 * kColumn, overlapT.x, 3);

    // On paper, rows of 133 px: lead II's baseline at 200.
    Print();
    const beatrate::Peak printed500 = PeakIn(ColumnLeft(1), ColumnLeft(2), 133, 200);
    EXPECT_NEAR(ColumnLeft(1) + 62, printed500.x, 2);
    for (int p : {0, 2, 9}) {
        SCOPED_TRACE(p);
        const int right = p == 9 ? kWidth : ColumnLeft(p + 1);
        EXPECT_NEAR(printed500.x + (p - 1) * kColumn, PeakIn(ColumnLeft(p), right, 133, 200).x, 2);
    }
}

TEST_F(SerialAverageRateTest, ThePtbRecordsBeatStandsBesideAFiveHundredHertzOne)
{
    if (!List(0)) GTEST_SKIP() << "shared data not present (physionet/ptb/s0010_re); skipping";
    ASSERT_TRUE(List(500));
    MakeView(2, TRUE);
    EXPECT_EQ(1200, m_view->GetSampleCount(0, 0));
    EXPECT_EQ(1000, m_view->GetSampleRate(0));
    Draw();
    // Lead I (its lead II is mostly negative), right of its name: the R peak
    // half a second in, as the 500 Hz beat's beside it.
    const beatrate::Peak ptb = PeakIn(ColumnLeft(0) + 35, ColumnLeft(1), 0, kRowTop / 2);
    EXPECT_NEAR(ColumnLeft(0) + 62, ptb.x, 3);
    EXPECT_NEAR(ColumnLeft(1) + 62, PeakIn(ColumnLeft(1) + 35, ColumnLeft(2), 0, kRowTop / 2).x, 3);
    // The rest of the beat, T wave included, is drawn up to the column's end.
    EXPECT_GE(PeakIn(ColumnLeft(1) - 10, ColumnLeft(1) - 2, 0, kRowTop).y, 0);
    Print();
    EXPECT_NEAR(ColumnLeft(0) + 62, PeakIn(ColumnLeft(0) + 35, ColumnLeft(1), 0, 66).x, 3);
}

// The right view of a half-width pair, 1250 px over 125 mm without a
// calibration column: five columns of 250 px, each 0.92 s of beat (23 mm
// at 10.9 px). Each beat, whatever its rate, starts 40 ms (11 px) into its
// column and ends at the column's edge.
TEST_F(SerialAverageRateTest, InTheNarrowColumnsOfTheRightHalfEveryBeatEndsAtItsColumnsEdge)
{
    for (int rate : beatrate::Rates()) ASSERT_TRUE(List(rate));
    m_view = std::make_unique<CViewSerialComAve>();
    m_view->SetRestViewDoc(&m_doc);
    m_view->SetMFERViewDoc(&m_mfer);
    m_view->SetBaseECGDoc(&m_base);
    m_view->SetDocType(DOC_TYPE_MFER);
    m_view->SetViewIndex(1);
    m_view->SetPageStyle(46);
    m_view->SetShowOverlappedWave(FALSE);
    for (int slot = 0; slot < 3; ++slot) m_view->SetSerialIndex(slot, slot);
    m_view->OnUpdate(nullptr, 0, nullptr);
    int gridX = 0, gridY = 0;
    m_view->GetGridCount(gridX, gridY);
    ASSERT_EQ(125, gridX);
    Surface(1250, kHeight);
    ASSERT_TRUE(m_view->DrawView(&m_dc, CRect(0, 0, 1250, kHeight), gridX, gridY, FALSE, FALSE));
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p);
        const int left = p * 250;
        // Ink up to the column's edge, none in its first 40 ms nor past it.
        EXPECT_GE(PeakIn(left + 244, left + 250, 0, kHeight).y, 0);
        EXPECT_EQ(-1, PeakIn(left + 1, left + 10, 0, kHeight).y);
        EXPECT_EQ(-1, PeakIn(left + 252, left + 260, 0, kHeight).y);
    }
}

// A column that showed a 1000 Hz file and is given a device record draws
// that record's beat at 500 Hz, as a view that never showed the file does.
TEST_F(SerialAverageRateTest, AColumnGivenADeviceRecordAfterAFileDrawsItAtFiveHundredHertz)
{
    ASSERT_TRUE(List(1000));
    morvelance::RestRecordShape shape;
    _RESTDATAITEM* rest = AddRecord("device", shape);
    ASSERT_EQ(0, Open(rest));
    auto* listed = new _DATAITEM;
    listed->uSystemCode = rest->uSystemCode;
    listed->strXMLPath = rest->strXMLPath;
    listed->strFilePath = rest->strFilePath;
    m_base.GetDataManager().AppendItem(listed);
    m_doc.SetSense(3, 10.0f, 0);
    // A view of the device record alone ...
    MakeView(0, FALSE);
    m_view->SetSerialIndex(0, 1);
    m_view->OnUpdate(nullptr, 0, nullptr);
    Draw();
    const std::vector<int> alone = Outline(ColumnLeft(0), ColumnLeft(1), kRowTop, 2 * kRowTop);
    // ... and one whose column showed the file first.
    MakeView(1, FALSE);
    EXPECT_EQ(1000, m_view->GetSampleRate(0));
    m_view->SetSerialIndex(0, 1);
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(500, m_view->GetSampleRate(0));
    Draw();
    EXPECT_EQ(alone, Outline(ColumnLeft(0), ColumnLeft(1), kRowTop, 2 * kRowTop));
}

// The outline of a 500 Hz file's beats (the top of the ink every 3 px) in
// its column and in the overlap column, on screen and on paper, as the view
// drew it before each record brought its own rate.
TEST_F(SerialAverageRateTest, AFiveHundredHertzFileDrawsAsBefore)
{
    ASSERT_TRUE(List(500));
    MakeView(1, TRUE);
    EXPECT_EQ(500, m_view->GetSampleRate(0));
    Draw();
    const std::vector<int> leadIBefore{
        -1, -1, 52, 52, 52, 52, 52, 52, 52, 52, 52, 52, 52, 50, 49, 51, 53, 53, 53, 54, 36, 18, 59, 52, 52, 52,
        52, 50, 48, 46, 44, 44, 46, 50, 52, 52, 52, 52, 52, 52, 52, 52};
    const std::vector<int> leadIIBefore{
        -1, -1, 158, 158, 158, 158, 158, 158, 158, 158, 158, 158, 158, 154, 153, 156, 159, 159, 159, 159, 133,
        106, 167, 158, 158, 158, 157, 155, 153, 149, 147, 147, 150, 154, 158, 158, 158, 158, 158, 158, 158, 158};
    const std::vector<int> aVLBefore{
        -1, -1, 477, 477, 477, 477, 477, 477, 477, 477, 477, 477, 477, 477, 477, 477, 477, 477, 477, 478, 474,
        469, 478, 476, 476, 476, 476, 476, 475, 475, 475, 475, 475, 476, 476, 476, 476, 476, 476, 476, 476, 476};
    const int tops[3] = {0, kRowTop, 4 * kRowTop};
    const std::vector<int>* before[3] = {&leadIBefore, &leadIIBefore, &aVLBefore};
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(*before[row], Outline(ColumnLeft(0), ColumnLeft(1), tops[row], tops[row] + kRowTop));
        EXPECT_EQ(*before[row], Outline(ColumnLeft(9), kWidth, tops[row], tops[row] + kRowTop));
    }
    Print();
    const std::vector<int> printedIBefore{
        -1, -1, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 64, 61, 60, 62, 65, 65, 65, 65, 23, 17, 64, 65, 65, 65,
        63, 61, 58, 56, 54, 54, 55, 59, 63, 65, 65, 65, 65, 65, 65, 65};
    const std::vector<int> printedIIBefore{
        -1, -1, 198, 198, 198, 198, 198, 198, 198, 198, 198, 198, 196, 191, 190, 192, 197, 198, 198, 198, 134,
        133, 194, 198, 198, 197, 196, 193, 189, 185, 183, 183, 185, 190, 195, 198, 198, 198, 198, 198, 198, 198};
    EXPECT_EQ(printedIBefore, Outline(ColumnLeft(0), ColumnLeft(1), 0, 133));
    EXPECT_EQ(printedIBefore, Outline(ColumnLeft(9), kWidth, 0, 133));
    EXPECT_EQ(printedIIBefore, Outline(ColumnLeft(0), ColumnLeft(1), 133, 266));
    EXPECT_EQ(printedIIBefore, Outline(ColumnLeft(9), kWidth, 133, 266));
}

namespace {

// ---- the enlarged overlap: 400 × 200 px, 100 squares of 4 px across ------
// The 30-square frame stands from x 140; 25 mm/s puts 0.5 s 50 px into it.

const COLORREF kSlotColour[3] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255)};

class EnlargedOverlapRateTest : public enlargedtest::EnlargedViewFixture<CViewEnlargedOverlap> {
protected:
    void SetUp() override
    {
        EnlargedViewFixture::SetUp();
        m_base.m_bAutoDelete = m_mfer.m_bAutoDelete = FALSE;
        for (int slot = 0; slot < 3; ++slot) m_doc.SetWaveColor(5 + slot, kSlotColour[slot]);
    }
    bool List(int rate)
    {
        _MFERDATAITEM* item = beatrate::OpenAt(m_mfer, m_dir, rate);
        if (!item) return false;
        beatrate::ListIn(m_base, *item);
        m_base.SetCurDataIndex(0);
        return true;
    }
    // Lead II of the listed records `indices`, slot by slot.
    void Show(const std::vector<int>& indices)
    {
        if (m_frame) m_frame->DestroyWindow();
        m_frame = nullptr;
        m_recorder.DestroyWindow();
        MakeView(400, 200);
        m_view->SetBaseECGDoc(&m_base, DOC_TYPE_REST);
        m_view->SetRestDoc(&m_doc);
        m_view->SetMFERDoc(&m_mfer);
        m_view->SetBackGridSize(4.0, 4.0, 1.0);
        m_view->SetSense(5.0f);
        m_view->SetLeadID(1);
        m_view->SetSerialCount(static_cast<int>(indices.size()));
        for (size_t slot = 0; slot < indices.size(); ++slot) m_view->SetDataIndex(static_cast<int>(slot), indices[slot]);
        m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
        Move(399, 199);
        Paint();
    }
    beatrate::Peak PeakOf(COLORREF colour, int left = 0)
    {
        CClientDC dc(m_view);
        return beatrate::HighestInk(dc, CRect(left, 0, 400, 100), colour);
    }
    // Every pixel of the view in one colour or another.
    int Count(COLORREF colour)
    {
        CClientDC dc(m_view);
        int n = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 400; ++x) n += dc.GetPixel(x, y) == colour;
        return n;
    }

    CTavrionDoc m_base;
    CMFERViewDoc m_mfer;
};

}  // namespace

TEST_F(EnlargedOverlapRateTest, ABeatAtEveryRateStandsWhereTheFiveHundredHertzOneDoes)
{
    for (int rate : beatrate::Rates()) ASSERT_TRUE(List(rate));
    beatrate::Peak qrs500, t500;
    for (int slot : {1, 0, 2}) {
        SCOPED_TRACE(beatrate::Rates()[slot]);
        Show({slot});
        EXPECT_EQ(beatrate::Rates()[slot], m_view->GetSampleRate(0));
        const beatrate::Peak qrs = PeakOf(kSlotColour[0]);
        const beatrate::Peak t = PeakOf(kSlotColour[0], qrs.x + 15);
        if (slot == 1) {
            // The R peak 0.5 s into the frame: 50 px from its left at x 140.
            EXPECT_NEAR(190, qrs.x, 2);
            qrs500 = qrs;
            t500 = t;
        }
        EXPECT_NEAR(qrs500.x, qrs.x, 3);
        EXPECT_NEAR(t500.x, t.x, 3);
        EXPECT_NEAR(t500.y, t.y, 2);
    }
}

TEST_F(EnlargedOverlapRateTest, TheThreeRatesBeatsCoverOneAnother)
{
    for (int rate : beatrate::Rates()) ASSERT_TRUE(List(rate));
    Show({0, 1, 2});
    // The 1000 Hz beat, drawn last, hides nearly all of the other two.
    const int last = Count(kSlotColour[2]);
    EXPECT_GT(last, 100);
    EXPECT_LT(Count(kSlotColour[0]) + Count(kSlotColour[1]), last / 5);
}

// The outline of a 500 Hz file's beat (the top of the ink every 2 px) as the
// view drew it before each record brought its own rate.
TEST_F(EnlargedOverlapRateTest, AFiveHundredHertzFileDrawsAsBefore)
{
    ASSERT_TRUE(List(500));
    Show({0});
    CClientDC dc(m_view);
    const std::vector<int> before{
        99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 98, 97, 98, 99, 99, 99, 99, 99, 98, 72, 82,
        103, 99, 99, 99, 99, 99, 98, 97, 95, 94, 94, 94, 96, 98, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
        99, 99, 99, 99, 99, 99, 97, -1};
    EXPECT_EQ(before, beatrate::Outline(dc, 141, 261, 2, 0, 200, kSlotColour[0]));
}
