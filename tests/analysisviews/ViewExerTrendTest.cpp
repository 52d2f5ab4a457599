// The exercise trend view over record-maker exercise records: the time span
// and plot, where values and times fall, the curves of the styles, the
// current-time line, time picking and double-clicks as a pane receives them,
// and every style over missing words and short arrays.
#include "analysisviews/ViewExerTrend.h"
#include "core/UserMessages.h"
#include "printdevice/ECGDC.h"
#include "tests/analysisviews/ExerViewTestSupport.h"
#include "tests/support/DCStateCheck.h"

using namespace exerviewtest;
using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;

namespace {

const int kSize = 700;

class ExerTrendView : public ExerViewFixture<CViewExerTrend> {
protected:
    void Show(int style, const ExerciseRecordOptions& o = DefaultOptions(),
              const std::function<void(RecordBuilder&)>& tweak = nullptr)
    {
        OpenRecord(o, tweak);
        ShowView(kSize, kSize);
        m_view->SetTrendStyle(style);
        m_view->SetLeadID(10);   // V5
        m_view->UpdateInformation();
        m_view->Invalidate(TRUE);
        m_view->UpdateWindow();
    }
    // What OnDraw asks for, recorded.
    std::vector<DrawRecord> Recorded()
    {
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(kSize, kSize)));
        m_view->OnDraw(&dc);
        return platform::gdi::GetRecording(dc.GetSafeHdc());
    }
    // Line segments drawn in the colour.
    std::vector<DrawRecord> Lines(const std::vector<DrawRecord>& records, COLORREF colour)
    {
        std::vector<DrawRecord> lines;
        for (const DrawRecord& r : records)
            if (r.op == DrawOp::Polyline && r.penColor == colour) lines.push_back(r);
        return lines;
    }
    static COLORREF CurveColour() { return RGB(0, 0, 255); }
    static bool HasText(const std::vector<DrawRecord>& records, const std::wstring& text)
    {
        for (const DrawRecord& r : records)
            if (r.op == DrawOp::Text && r.text == text) return true;
        return false;
    }
    static bool Touches(const std::vector<DrawRecord>& lines, int x)
    {
        for (const DrawRecord& r : lines)
            for (const POINT& p : r.points)
                if (p.x == x) return true;
        return false;
    }
    // The view's x of a time in seconds, from the plot as it lies.
    int XOfSeconds(int seconds)
    {
        return static_cast<int>(m_view->GetPlotLeft() +
                                seconds * m_view->GetPlotWidth() / (m_view->GetTimeSpan() * 60.0)) +
               1;
    }
    void Click(int x)
    {
        platform::ui::Desktop::Click(m_view->GetSafeHwnd(), x, static_cast<int>(m_view->GetPlotTop()) + 20);
        platform::ui::Desktop::PumpMessages();
    }
};

}  // namespace

TEST_F(ExerTrendView, TheSpanCoversTheBlocksInFifteenThirtyOrSixtyMinutes)
{
    Show(1);
    EXPECT_EQ(m_view->GetTimeSpan(), 15);   // 36 + 13 blocks of 15 s
    struct Case {
        int interval, blocks, span;
    };
    for (const Case& c : {Case{15, 59, 15}, Case{15, 60, 30}, Case{60, 14, 15}, Case{60, 30, 60}}) {
        Item().nBlockInterval = c.interval;
        Item().nExerAveCount = c.blocks - 1;
        Item().nPostAveCount = 0;
        m_view->UpdateInformation();
        EXPECT_EQ(m_view->GetTimeSpan(), c.span) << c.interval << " s x " << c.blocks;
    }
}

TEST_F(ExerTrendView, ThePlotTakesSixByTenOfSevenByFourteenCells)
{
    Show(1);
    const std::vector<DrawRecord> records = Recorded();
    // Area: origin (1, 2), 699 x 700; cells 699/7 x 50.
    const double cell = 699 / 7.0;
    const int left = static_cast<int>(1 + cell * 5 / 7);
    const int right = static_cast<int>(1 + cell * 5 / 7 + 6 * cell);
    bool border = false;
    for (const DrawRecord& r : records)
        if (r.op == DrawOp::Polyline && r.points.size() == 5)
            border = border || (r.points[0].x == left && r.points[0].y == 102 && r.points[2].x == right &&
                                r.points[2].y == 602);
    EXPECT_TRUE(border);
    EXPECT_TRUE(HasText(records, L"心拍数 [bpm]"));
    for (const wchar_t* label : {L"0(min)", L"5", L"10", L"15", L"250", L"0"})
        EXPECT_TRUE(HasText(records, label)) << Utf8(CString(label));
}

TEST_F(ExerTrendView, HeartRatesLieAtTheirValuesAndALostWordLeavesAGap)
{
    Show(1);
    const std::vector<DrawRecord> lines = Lines(Recorded(), CurveColour());
    ASSERT_FALSE(lines.empty());
    const double bottom = m_view->GetPlotTop() + m_view->GetPlotHeight();
    // Word i + 1 at step i: the heart rate at 15 x i seconds.
    const int hr = ExerciseTrendValue(m_options, ExerciseTrend::Hr, 0, 15);
    const CPoint step1(m_view->TimeToXPoint(1), static_cast<int>(bottom - hr * m_view->GetPlotHeight() / 250));
    bool found = false;
    for (const DrawRecord& r : lines)
        for (const POINT& p : r.points) found = found || (p.x == step1.x && p.y == step1.y);
    EXPECT_TRUE(found);
    // Word 3 (step 2) was lost: no line reaches its step.
    EXPECT_FALSE(Touches(lines, m_view->TimeToXPoint(2)));
    EXPECT_TRUE(Touches(lines, m_view->TimeToXPoint(3)));
}

TEST_F(ExerTrendView, TheRecoveryIsDrawnFromTheRecoveryStart)
{
    Show(1);
    const std::vector<DrawRecord> lines = Lines(Recorded(), CurveColour());
    const int start = m_view->TimeToXPoint(Item().nExerTime / 15.0);
    EXPECT_TRUE(Touches(lines, start) || Touches(lines, start - 1) || Touches(lines, start + 1));
    EXPECT_EQ(Item().nExerTime, 540);
}

TEST_F(ExerTrendView, AnStLevelOfFiveMillimetresLiesOnTheTopEdge)
{
    Show(10);
    Recorded();
    EXPECT_EQ(m_view->ValueToYPoint(50), static_cast<int>(m_view->GetPlotTop()));
    EXPECT_EQ(m_view->ValueToYPoint(-50), static_cast<int>(m_view->GetPlotTop() + m_view->GetPlotHeight()));
    EXPECT_TRUE(HasText(Recorded(), L"ST-L[mm]  V5"));
    Item().nStMeasCondition = 1;
    EXPECT_TRUE(HasText(Recorded(), L"R-ST[mm]  V5"));
}

TEST_F(ExerTrendView, TheCurrentTimeLineInvertsOneColumnAndOnlyInTheAveragePanes)
{
    Show(1);
    Item().nCurTime = 300;
    auto paint = [&](int parent) {
        m_view->SetParentWndType(parent);
        Paint();
        std::vector<COLORREF> pixels;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) pixels.push_back(Pixel(x, y));
        return pixels;
    };
    const std::vector<COLORREF> plain = paint(3);
    const std::vector<COLORREF> marked = paint(2);
    const int column = m_view->TimeToXPoint(300 / 15);
    int changedElsewhere = 0;
    int changedInColumn = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const size_t i = static_cast<size_t>(y * kSize + x);
            if (plain[i] == marked[i]) continue;
            (x == column ? changedInColumn : changedElsewhere)++;
            // Inverted: the pixel and its mark add up to white.
            EXPECT_EQ(plain[i] ^ marked[i], 0xFFFFFFu) << x << "," << y;
        }
    EXPECT_EQ(changedElsewhere, 0);
    EXPECT_GT(changedInColumn, 400);
}

TEST_F(ExerTrendView, PickingInPageStyleFourSnapsToTheBlockAndTellsThePane)
{
    Show(1);
    m_doc.SetPageStyle(4);
    m_pane.log.clear();
    Click(XOfSeconds(52));
    EXPECT_EQ(Item().nCurTime, 45);
    ASSERT_EQ(m_pane.log.size(), 2u);
    EXPECT_EQ(m_pane.log[0].message, WM_EXER_TIME_PICKED);
    EXPECT_EQ(m_pane.log[1].message, WM_VIEW_RESULT);
    Click(static_cast<int>(m_view->GetPlotLeft() + m_view->GetPlotWidth()) - 2);
    EXPECT_EQ(Item().nCurTime, Item().nEndTime);
}

TEST_F(ExerTrendView, PickingInPageStyleFiveTakesTheNearestStripOrZeroWithoutStrips)
{
    Show(1);
    m_doc.SetPageStyle(5);
    const int strip = Item().arrMemTime[0];
    Click(XOfSeconds(strip + 20));
    EXPECT_EQ(Item().nCurTime, strip);
    Item().arrMemTime.RemoveAll();
    m_pane.log.clear();
    Click(XOfSeconds(200));
    EXPECT_EQ(Item().nCurTime, 0);
    EXPECT_EQ(m_pane.log.size(), 2u);

    m_doc.SetPageStyle(2);
    m_pane.log.clear();
    Click(XOfSeconds(200));
    EXPECT_TRUE(m_pane.log.empty());
}

TEST_F(ExerTrendView, DoubleClicksTellThePaneByItsKind)
{
    Show(13);
    auto dblclick = [&](int parent, int style) {
        m_view->SetParentWndType(parent);
        m_view->SetTrendStyle(style);
        m_pane.log.clear();
        platform::ui::Desktop::DoubleClick(m_view->GetSafeHwnd(), 300, 300);
        platform::ui::Desktop::PumpMessages();
        return m_pane.log;
    };
    EXPECT_TRUE(dblclick(3, 7).empty());
    EXPECT_TRUE(dblclick(3, 11).empty());
    auto log = dblclick(3, 13);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].message, WM_EXER_TREND_OPEN);
    EXPECT_EQ(log[0].wParam, 13u);
    EXPECT_EQ(log[0].lParam, 10);
    log = dblclick(2, 1);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].message, WM_EXER_TREND_OPEN_BESIDE);
    log = dblclick(1, 1);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].message, WM_EXER_SUMMARY_OPEN);
    EXPECT_EQ(log[0].wParam, 6u);
    EXPECT_TRUE(dblclick(0, 1).empty());
}

TEST_F(ExerTrendView, BeforeAnyUpdateOrInAOnePixelWindowTimesMapToTheLeftEdgeAndPicksAreIgnored)
{
    OpenRecord(DefaultOptions());
    ShowView(1, kSize);
    m_view->SetTrendStyle(1);
    m_doc.SetPageStyle(4);
    Recorded();   // the heart-rate frame without a span
    EXPECT_EQ(m_view->TimeToXPoint(10), static_cast<int>(m_view->GetPlotLeft()));
    m_view->UpdateInformation();
    Recorded();
    EXPECT_EQ(m_view->GetPlotWidth(), 0.0);
    EXPECT_EQ(m_view->XPointToTime(5), 0);
    platform::ui::Desktop::Click(m_view->GetSafeHwnd(), 0, 300);
    platform::ui::Desktop::PumpMessages();
    EXPECT_TRUE(m_pane.log.empty());
}

namespace {

// Eighty little-endian words: `value`, with `other` from word `from` on.
std::vector<uint8_t> Words(int value, int other = 0, int from = 80)
{
    std::vector<uint8_t> words;
    for (int i = 0; i < 80; ++i) {
        const int v = i < from ? value : other;
        words.push_back(static_cast<uint8_t>(v & 0xFF));
        words.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    return words;
}

}  // namespace

// The speed staircase walks the first half of its exercise words: level
// words draw no step there, while the recovery's change is still drawn.
TEST_F(ExerTrendView, AStaircaseThatNeverChangesDrawsNoExerciseStep)
{
    Show(4, DefaultOptions(), [](RecordBuilder& items) {
        items.SetRaw(3342, 0, Words(40));
        items.SetRaw(3343, 0, Words(20, 30, 8));
    });
    const std::vector<DrawRecord> lines = Lines(Recorded(), CurveColour());
    const int recoveryStart = m_view->TimeToXPoint(Item().nExerTime / 15.0);
    ASSERT_FALSE(lines.empty());
    bool recoveryStep = false;
    for (const DrawRecord& r : lines) {
        for (const POINT& p : r.points) EXPECT_GE(p.x, recoveryStart - 1);
        recoveryStep = recoveryStep || (r.points.size() == 2 && r.points[0].x == r.points[1].x &&
                                        r.points[1].y == m_view->ValueToYPoint(30));
    }
    EXPECT_TRUE(recoveryStep);
}

// A blood pressure that holds through the exercise draws no bar there; the
// change in the recovery still draws its bar.
TEST_F(ExerTrendView, ABloodPressureThatNeverChangesDuringTheExerciseDrawsNoBarThere)
{
    Show(2, DefaultOptions(), [](RecordBuilder& items) {
        items.SetRaw(3324, 0, Words(150));
        items.SetRaw(3326, 0, Words(90));
        items.SetRaw(3325, 0, Words(150, 130, 8));
        items.SetRaw(3327, 0, Words(90, 80, 8));
    });
    const std::vector<DrawRecord> bars = Lines(Recorded(), CurveColour());
    const int recoveryStart = m_view->TimeToXPoint(Item().nExerTime / 15.0);
    const int top = m_view->ValueToYPoint(130);
    const int bottom = m_view->ValueToYPoint(80);
    int recoveryBars = 0;
    for (const DrawRecord& r : bars) {
        for (const POINT& p : r.points) EXPECT_GE(p.x, recoveryStart - 1);
        recoveryBars += r.points.size() == 2 && r.points[0].x == r.points[1].x &&
                        std::min(r.points[0].y, r.points[1].y) == top &&
                        std::max(r.points[0].y, r.points[1].y) == bottom;
    }
    EXPECT_EQ(1, recoveryBars);
}

// Without a valid pair in the exercise, the recovery's first pair has none
// to be compared with: its bar stands at the recovery start.
TEST_F(ExerTrendView, ABloodPressureMissingThroughTheExerciseDrawsTheRecoverysFirstBar)
{
    Show(2, DefaultOptions(), [](RecordBuilder& items) {
        items.SetRaw(3324, 0, Words(32768));
        items.SetRaw(3326, 0, Words(32768));
        items.SetRaw(3325, 0, Words(150));
        items.SetRaw(3327, 0, Words(90));
    });
    const std::vector<DrawRecord> bars = Lines(Recorded(), CurveColour());
    const int recoveryStart = m_view->TimeToXPoint(Item().nExerTime / 15.0);
    const int top = m_view->ValueToYPoint(150);
    const int bottom = m_view->ValueToYPoint(90);
    int firstBars = 0;
    for (const DrawRecord& r : bars)
        firstBars += r.points.size() == 2 && r.points[0].x == r.points[1].x && std::abs(r.points[0].x - recoveryStart) <= 1 &&
                     std::min(r.points[0].y, r.points[1].y) == top && std::max(r.points[0].y, r.points[1].y) == bottom;
    EXPECT_EQ(1, firstBars);
}

TEST_F(ExerTrendView, MetsAgainstHeartRateWithSlopeZeroDrawsALevelLine)
{
    Show(7);
    Item().stResult.dSlope = 0;
    Item().stResult.dIntercept = 5;
    const std::vector<DrawRecord> records = Recorded();
    const int y = m_view->ValueToYPoint(50);
    bool level = false;
    for (const DrawRecord& r : Lines(records, CurveColour()))
        level = level || (r.points.size() == 2 && r.points[0].y == y && r.points[1].y == y &&
                          r.points[0].x == static_cast<int>(m_view->GetPlotLeft()));
    EXPECT_TRUE(level);
    int dots = 0;
    for (const DrawRecord& r : records) dots += r.op == DrawOp::Ellipse ? 1 : 0;
    EXPECT_GT(dots, 3);
}

TEST_F(ExerTrendView, EveryStyleDrawsOverMissingWordsAndShortArrays)
{
    // Every trend array cut to a word and a half, or lost whole.
    Show(1, DefaultOptions(), [](RecordBuilder& items) {
        for (uint32_t tag = 3320; tag <= 3345; ++tag) items.SetRaw(tag, 0, {0x00, 0x80, 0x01});
        for (uint32_t tag = 3086; tag < 3194; ++tag) items.SetRaw(tag, 0, {0x00, 0x80, 0x05});
        items.Remove(3385, 0);
        items.SetRaw(3024, 0, {0x01});
    });
    for (int style = 1; style <= 18; ++style) {
        m_view->SetTrendStyle(style);
        const std::vector<DrawRecord> records = Recorded();
        EXPECT_FALSE(records.empty()) << style;
    }
    Item().nCurTime = 0;
    // Missing words draw no curve.
    m_view->SetTrendStyle(1);
    EXPECT_TRUE(Lines(Recorded(), CurveColour()).empty());
}

TEST_F(ExerTrendView, EveryStyleLeavesTheDCAsItFoundItOnScreenAndOnPaper)
{
    Show(1);
    m_view->SetParentWndType(2);
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(kSize, kSize)));
    CECGDC device(&dc, 2);
    CRect paper(20, 20, 680, 480);
    for (int style = 1; style <= 18; ++style) {
        m_view->SetTrendStyle(style);
        EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), m_view->OnDraw(&dc)) << style;
        EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), EXPECT_EQ(m_view->Print(&device, &paper), 1)) << style;
    }
    EXPECT_EQ(m_view->Print(nullptr, &paper), 0);
}

namespace {

// Little-endian words: `count` words of `value` for each run, in order.
std::vector<uint8_t> Runs(std::initializer_list<std::pair<int, int>> runs)
{
    std::vector<uint8_t> words;
    for (const auto& [value, count] : runs)
        for (int i = 0; i < count; ++i) {
            words.push_back(static_cast<uint8_t>(value & 0xFF));
            words.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
        }
    return words;
}

}  // namespace

// A recovery whose first words were lost still continues the exercise's
// curve: the line runs from the last exercise point to the first valid
// recovery point, with no gap at the recovery start. Both the signed curves
// (heart rate) and the unsigned one (double product) join so, on screen
// and on paper.
class ExerTrendRecoveryJoin : public ExerTrendView {
protected:
    // 540 s of exercise: words 1 to 37 fill steps 0 to 36, which the
    // exercise walk reads from the first half of 76 words; the recovery's
    // first four of 20 words are lost.
    void ShowJoin(int style, UINT exerTag, int exerValue, int recValue)
    {
        Show(style, DefaultOptions(), [&](RecordBuilder& items) {
            items.SetRaw(exerTag, 0, Runs({{exerValue, 76}}));
            items.SetRaw(exerTag + 1, 0, Runs({{65535, 4}, {recValue, 36}}));
            // The irregular-rhythm staircase of the double product kept
            // along the plot bottom, out of the probed band.
            items.SetRaw(3340, 0, Runs({{0, 76}}));
            items.SetRaw(3341, 0, Runs({{0, 40}}));
        });
        ASSERT_EQ(Item().nExerTime, 540);
        m_lastExer = CPoint(m_view->TimeToXPoint(36), m_view->ValueToYPoint(exerValue));
        const int recovery = m_view->TimeToXPoint(36);
        m_firstRec = CPoint(static_cast<int>(m_view->TimeToXPoint(4) - m_view->GetPlotLeft()) + recovery,
                            m_view->ValueToYPoint(recValue));
        ASSERT_GT(m_firstRec.x - m_lastExer.x, 10);
    }
    // The columns strictly between the two points that carry ink of the
    // colour within two pixels of the straight line joining them.
    int JoinedColumns(const std::function<COLORREF(int, int)>& pixel, COLORREF colour)
    {
        int joined = 0;
        for (int x = m_lastExer.x + 1; x < m_firstRec.x; ++x) {
            const double t = static_cast<double>(x - m_lastExer.x) / (m_firstRec.x - m_lastExer.x);
            const int y = static_cast<int>(m_lastExer.y + t * (m_firstRec.y - m_lastExer.y));
            bool inked = false;
            for (int dy = -2; dy <= 2; ++dy) inked = inked || pixel(x, y + dy) == colour;
            joined += inked ? 1 : 0;
        }
        return joined;
    }
    int Columns() const { return m_firstRec.x - m_lastExer.x - 1; }

    CPoint m_lastExer, m_firstRec;
};

TEST_F(ExerTrendRecoveryJoin, AHeartRateRecoveryWithLostFirstWordsJoinsTheLastExercisePoint)
{
    ShowJoin(1, 3320, 150, 110);
    Paint();
    const auto pixel = [&](int x, int y) { return Pixel(x, y); };
    // The exercise curve comes level up to its last point.
    EXPECT_EQ(Pixel(m_lastExer.x - 2, m_lastExer.y), CurveColour());
    EXPECT_EQ(Pixel(m_firstRec.x, m_firstRec.y), CurveColour());
    EXPECT_EQ(JoinedColumns(pixel, CurveColour()), Columns());
}

TEST_F(ExerTrendRecoveryJoin, ADoubleProductRecoveryWithLostFirstWordsJoinsTheLastExercisePoint)
{
    ShowJoin(3, 3328, 30000, 20000);
    Paint();
    const auto pixel = [&](int x, int y) { return Pixel(x, y); };
    EXPECT_EQ(Pixel(m_firstRec.x, m_firstRec.y), CurveColour());
    EXPECT_EQ(JoinedColumns(pixel, CurveColour()), Columns());
}

TEST_F(ExerTrendRecoveryJoin, APrintedHeartRateRecoveryWithLostFirstWordsJoinsTheLastExercisePoint)
{
    ShowJoin(1, 3320, 150, 110);
    CDC paper;
    ASSERT_TRUE(paper.Attach(platform::gdi::CreateImageDC(kSize, kSize)));
    paper.FillSolidRect(0, 0, kSize, kSize, RGB(255, 255, 255));
    CECGDC device(&paper, 2);
    CRect area(0, 0, kSize, kSize);
    ASSERT_EQ(m_view->Print(&device, &area), 1);
    // The points where the print laid them.
    m_lastExer = CPoint(m_view->TimeToXPoint(36), m_view->ValueToYPoint(150));
    m_firstRec = CPoint(static_cast<int>(m_view->TimeToXPoint(4) - m_view->GetPlotLeft()) + m_lastExer.x,
                        m_view->ValueToYPoint(110));
    const auto pixel = [&](int x, int y) { return paper.GetPixel(x, y); };
    EXPECT_EQ(JoinedColumns(pixel, RGB(0, 0, 0)), Columns());
}
