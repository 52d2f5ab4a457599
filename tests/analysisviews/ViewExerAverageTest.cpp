// The exercise average-beat view over record-maker exercise records: what it
// loads for the current block, where its three layouts put the beats, ticks,
// pulses and texts, and the clicks it passes on.
#include "analysisviews/ViewExerAverage.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "waveviews/ViewEnlargedPreview.h"
#include "core/UserMessages.h"
#include "tests/analysisviews/ExerViewTestSupport.h"
#include "tests/support/DCStateCheck.h"

using namespace exerviewtest;

namespace {

// 5 pixels per millimetre of the 140 x 145 mm grid.
const int kWidth = 700;
const int kHeight = 725;
const int kThreeLeadCode = 0xFFFA;

class ExerAverageView : public ExerViewFixture<CViewExerAverage> {
protected:
    void Show(int mode, int block, const ExerciseRecordOptions& o = DefaultOptions(),
              const std::function<void(RecordBuilder&)>& tweak = nullptr)
    {
        OpenRecord(o, tweak);
        ShowView(kWidth, kHeight);
        m_doc.SetCurAveBlockNo(block);
        m_view->SetAverageDisplayMode(mode);
    }
    // The texts the view draws into a recording context of the client's size.
    std::vector<platform::gdi::DrawRecord> RecordTexts(int printing = 0)
    {
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(m_client.Width(), m_client.Height())));
        int across = 0;
        int down = 0;
        m_view->GetGridCount(across, down);
        m_view->DrawView(&dc, m_client, across, down, 1, printing);
        std::vector<platform::gdi::DrawRecord> texts;
        for (const auto& r : platform::gdi::GetRecording(dc.GetSafeHdc()))
            if (r.op == platform::gdi::DrawOp::Text) texts.push_back(r);
        return texts;
    }
    int StoredLead(int display) const
    {
        return static_cast<int>(CTavrionDoc::GetDataLeadID(display, static_cast<int>(m_options.systemCode)));
    }
    // V: 1 mV in pixels at the document's sensitivity.
    int MilliVolt() { return static_cast<int>(m_doc.GetCommonSense(0) * kHeight / m_down); }
    // The box of cell (c, r) of the twelve- and six-lead layouts for a beat of `length` samples.
    CRect Cell(int c, int r, int length)
    {
        const int band = 7 * kHeight / 70;
        const int rows = kHeight - band;
        const int baseline = band + r * rows / 3 + rows / 6;
        const int x = MmX(15) + c * kWidth / 5;
        const int widthMm = length >= 10 ? length * 25 / 500 : 20;
        return CRect(x, baseline, x + MmX(widthMm), baseline + MilliVolt());
    }
    // The samples of a beat as the document gives them.
    std::vector<short> CurrentBeat(int lead)
    {
        return Wave([&](short* b) { return m_doc.GetAverageWave(lead, b, kExerciseTestPoints.reference); });
    }
    std::vector<short> RestBeat(int lead)
    {
        return Wave([&](short* b) { return m_doc.GetRestWave(lead, b, kExerciseTestPoints.reference); });
    }
    // Every tenth vertex of the beat in the cell is drawn in the colour.
    void ExpectTraceIn(const CRect& cell, const std::vector<short>& beat, COLORREF colour)
    {
        ASSERT_GE(beat.size(), 10u);
        for (int i = 0; i < static_cast<int>(beat.size()); i += 60) {
            const CPoint p = TracePoint(cell, beat.data(), static_cast<int>(beat.size()), i);
            EXPECT_EQ(colour, Pixel(p.x, p.y)) << "sample " << i << " at " << p.x << "," << p.y;
        }
    }
    // Ink of the colour half a tick above the trace point at the position.
    bool TickAt(const CRect& cell, const std::vector<short>& beat, int position, COLORREF colour, bool upward = true)
    {
        const CPoint p = TracePoint(cell, beat.data(), static_cast<int>(beat.size()), position);
        const int half = cell.Height() / 8;
        return Pixel(p.x, upward ? p.y - half : p.y + half) == colour;
    }
};

}  // namespace

TEST_F(ExerAverageView, TwelveLeadsDrawEachCurrentBeatInItsColumnAndRow)
{
    Show(1, 8);
    Paint();
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 3; ++r) {
            SCOPED_TRACE(testing::Message() << "column " << c << " row " << r);
            const std::vector<short> beat = CurrentBeat(StoredLead(3 * c + r));
            ExpectTraceIn(Cell(c, r, static_cast<int>(beat.size())), beat, kTrace);
        }
}

TEST_F(ExerAverageView, TheBlocksValuesAreTheSeriesWordAtIntervalTimesBlockOverFifteenPlusOne)
{
    ExerciseRecordOptions o = DefaultOptions();
    o.intervalCode = 1;   // a block a minute
    Show(1, 2, o);
    ASSERT_EQ(Item().nBlockInterval, 60);
    for (int display = 0; display < 12; ++display) {
        const int lead = StoredLead(display);
        // Word 60 x 2 / 15 + 1 = 9 holds the level at 120 s.
        EXPECT_EQ(m_view->GetBeat(display).nStLevel, ExerciseStLevel(o, lead, 0, 120)) << display;
        EXPECT_EQ(m_view->GetBeat(display).nMeasOffset, ExerciseMeasOffset(lead)) << display;
    }
    EXPECT_EQ(m_view->GetReference(1), kExerciseTestPoints.reference);
    EXPECT_LT(m_view->GetBeat(9).nStLevel, 0);   // V4 sinks under load
}

TEST_F(ExerAverageView, TheFirstRecoveryBlockReadsTheRecoverySeriesFromItsFirstWord)
{
    Show(1, 0);
    m_doc.SetCurAveBlockNo(Item().nExerAveCount);
    m_view->OnUpdate(nullptr, 0, nullptr);
    for (int display = 0; display < 12; ++display)
        EXPECT_EQ(m_view->GetBeat(display).nStLevel, ExerciseStLevel(m_options, StoredLead(display), 1, 0)) << display;
    const auto texts = RecordTexts();
    EXPECT_TRUE(HasText(texts, L"Af. 0'00''"));
}

TEST_F(ExerAverageView, ABlockPastTheSeriesOrAMissingWordHasNoValue)
{
    // Series cut to two words: the block at 60 s lies past them.
    Show(1, 4, DefaultOptions(), [](RecordBuilder& items) {
        for (uint32_t lead = 0; lead < 12; ++lead) {
            items.SetRaw(3086 + lead, 0, {0x05, 0x00, 0x06, 0x00});
            items.SetRaw(3182 + lead, 0, {0x05, 0x00, 0x06, 0x00});
        }
    });
    for (int display = 0; display < 12; ++display) {
        EXPECT_EQ(m_view->GetBeat(display).nStLevel, CExerBeatCell::NO_VALUE) << display;
        EXPECT_EQ(m_view->GetBeat(display).nMeasOffset, 0) << display;
    }
    EXPECT_TRUE(HasText(RecordTexts(), L"ST-L: *.*"));

    // The recorder's lost word: the last recovery word of V1 (display lead 6).
    m_doc.SetCurAveBlockNo(Item().nExerAveCount + Item().nPostAveCount - 1);
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(m_view->GetBeat(6).nStLevel, CExerBeatCell::NO_VALUE);
    EXPECT_NE(m_view->GetBeat(7).nStLevel, CExerBeatCell::NO_VALUE);
}

TEST_F(ExerAverageView, ANegativeOffsetReadsAsZeroAndAReferenceOfSixtyDrawsNoTicks)
{
    Show(1, 4, DefaultOptions(), [](RecordBuilder& items) {
        std::vector<uint8_t> offsets;
        for (int i = 0; i < 40; ++i) {
            offsets.push_back(0xFF);   // -1 in every word
            offsets.push_back(0xFF);
        }
        items.SetRaw(3182, 0, offsets);
        items.SetRaw(3478, 4, {72, 0, 0x5E, 0x01, 60, 0, 0, 0});   // reference 60
    });
    EXPECT_EQ(m_view->GetBeat(0).nMeasOffset, 0);
    EXPECT_EQ(m_view->GetReference(1), 0);
    Paint();
    const std::vector<short> beat = CurrentBeat(0);
    const CRect cell = Cell(0, 0, static_cast<int>(beat.size()));
    const int j = kExerciseTestPoints.reference + kExerciseTestPoints.offset;
    EXPECT_FALSE(TickAt(cell, beat, j + kExerciseTestPoints.slope1, kTrace));
}

TEST_F(ExerAverageView, TheFiveTicksStandAtTheTestPointsWhileTheMeasurePointSwitchIsOn)
{
    Show(1, 8);
    const std::vector<short> beat = CurrentBeat(StoredLead(10));   // V5, column 3 row 1
    const CRect cell = Cell(3, 1, static_cast<int>(beat.size()));
    const ExerciseTestPoints& p = kExerciseTestPoints;
    const int j = p.reference + p.offset;
    const int slope1 = j + p.slope1;
    const int positions[] = {p.reference - p.onset, j, slope1, slope1 + ExerciseMeasOffset(StoredLead(10))};
    Paint();
    for (int position : positions) EXPECT_TRUE(TickAt(cell, beat, position, kTrace)) << position;
    EXPECT_TRUE(TickAt(cell, beat, j + p.stLevel, kTrace, false));   // the ST level tick points down

    m_doc.SetMeasurePoint(0);
    Paint();
    for (int position : positions) EXPECT_FALSE(TickAt(cell, beat, position, kTrace)) << position;
}

TEST_F(ExerAverageView, AThreeLeadRecordingKeepsBeatsOfItsFirstThreeLeadsOnly)
{
    ExerciseRecordOptions o = DefaultOptions();
    o.systemCode = kThreeLeadCode;
    Show(1, 8, o);
    for (int cell = 0; cell < 12; ++cell) EXPECT_EQ(m_view->GetBeat(cell).nLength > 0, cell < 3) << cell;
    // The fourth lead's level is still read; the rest stay missing.
    EXPECT_NE(m_view->GetBeat(3).nStLevel, CExerBeatCell::NO_VALUE);
    for (int cell = 4; cell < 12; ++cell) EXPECT_EQ(m_view->GetBeat(cell).nStLevel, CExerBeatCell::NO_VALUE) << cell;
    Paint();
    // Leads 4 to 12 keep their fixed 20 mm cells, empty.
    EXPECT_EQ(CountIn(Cell(1, 0, 0), kTrace), 0);
    EXPECT_GT(CountIn(CRect(Cell(0, 2, 600).left, Cell(0, 2, 600).top - MmY(10), Cell(0, 2, 600).right,
                            Cell(0, 2, 600).bottom), kTrace), 0);
}

TEST_F(ExerAverageView, TheRateIsTakenAtEveryUpdateAndARateOfZeroDrawsNoBeat)
{
    OpenRecord(DefaultOptions());
    const int index = m_doc.GetCurDataIndex();
    m_doc.SetCurDataIndex(-1);   // no current item when the view is first updated
    ShowView(kWidth, kHeight);
    m_view->SetAverageDisplayMode(1);
    EXPECT_EQ(m_view->GetSampleRate(), 0);
    Paint();   // nothing to draw, nothing divided by the rate

    m_doc.SetCurDataIndex(index);
    Item().nSampleRate = 0;
    m_view->OnUpdate(nullptr, 0, nullptr);
    Paint();
    // Only the pulses, left of the first column, are drawn.
    const CRect columns(MmX(15), 0, m_client.right, m_client.bottom);
    EXPECT_EQ(CountIn(columns, kTrace), 0);

    Item().nSampleRate = 500;
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(m_view->GetSampleRate(), 500);
    Paint();
    EXPECT_GT(CountIn(columns, kTrace), 0);
}

TEST_F(ExerAverageView, SixLeadsShowEachRestBeatBesideItsCurrentBeat)
{
    Show(2, 8);
    Paint();
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(testing::Message() << "selected lead " << k);
        const int lead = StoredLead(Item().nLead6[k]);
        const int restColumn = 2 * (k / 3);
        ExpectTraceIn(Cell(restColumn, k % 3, static_cast<int>(RestBeat(lead).size())), RestBeat(lead), kRestTrace);
        ExpectTraceIn(Cell(restColumn + 1, k % 3, static_cast<int>(CurrentBeat(lead).size())), CurrentBeat(lead),
                      kTrace);
    }
    const auto texts = RecordTexts();
    EXPECT_TRUE(HasText(texts, L"安静時"));
    EXPECT_TRUE(HasText(texts, L"Ex. 2'00''"));
}

TEST_F(ExerAverageView, OneLeadSuperimposesBothBeatsWithTheirJPointsSeventyFiveMillimetresIn)
{
    Show(3, 32);
    m_view->SetDisplay1LeadSense(0.5);
    const int lead = StoredLead(Item().nLead1);
    const std::vector<short> current = CurrentBeat(lead);
    Paint();
    const int band = 5 * kHeight / 70;
    const int baseline = band + (kHeight - band) / 2;
    const int V = MmY(10);   // 0.5 x 20 mm per mV
    const int j = kExerciseTestPoints.reference + kExerciseTestPoints.offset;
    const int left = MmX(75) - MmX(j * 50 / 500);
    ExpectTraceIn(CRect(left, baseline, left + MmX(static_cast<int>(current.size()) * 50 / 500), baseline + V), current,
                  kTrace);
    // The pulse is 1 mV (10 mm) tall, 10 mm wide, 10 mm from the left.
    EXPECT_GT(CountIn(CRect(MmX(14), baseline - V, MmX(16), baseline - V + 1), kTrace), 0);

    // Both traces, rest first, pass their J points within a pixel or two of 75 mm.
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(kWidth, kHeight)));
    m_view->DrawView(&dc, m_client, m_across, m_down, 1, 0);
    std::vector<COLORREF> traces;
    for (const auto& r : platform::gdi::GetRecording(dc.GetSafeHdc())) {
        if (r.op != platform::gdi::DrawOp::Polyline || r.points.size() != current.size()) continue;
        traces.push_back(r.penColor);
        EXPECT_NEAR(r.points[static_cast<size_t>(j)].x, MmX(75), 2) << r.Describe();
    }
    EXPECT_EQ(traces, (std::vector<COLORREF>{kRestTrace, kTrace}));
    EXPECT_TRUE(HasText(RecordTexts(), L"ST Level"));
}

TEST_F(ExerAverageView, TheOneLeadSensitivityKeepsWholeTwentiethSteps)
{
    Show(3, 0);
    m_view->SetDisplay1LeadSense(1.0);
    EXPECT_DOUBLE_EQ(m_view->GetDisplay1LeadSense(), 20 * 0.05);
    m_view->SetDisplay1LeadSense(0.56);
    EXPECT_DOUBLE_EQ(m_view->GetDisplay1LeadSense(), 11 * 0.05);
}

TEST_F(ExerAverageView, TextsNameTheSensitivityPhaseLeadsAndLevels)
{
    Show(1, 5);   // 75 s into the load
    Item().nStMeasCondition = 1;
    const auto texts = RecordTexts();
    CString sense;
    sense.Format(L"%.2f mm/mV", m_doc.GetCommonSense(0));
    EXPECT_TRUE(HasText(texts, sense.GetString()));
    EXPECT_TRUE(HasText(texts, L"25 mm/s"));
    EXPECT_TRUE(HasText(texts, L"Filter OFF"));
    EXPECT_TRUE(HasText(texts, L"Ex. 1'15''"));
    EXPECT_TRUE(HasText(texts, L"V5"));
    CString v5;
    const int level = ExerciseStLevel(m_options, StoredLead(10), 0, 75);
    v5.Format(L"R-ST: -%3.1f", -level * 0.1);
    EXPECT_TRUE(HasText(texts, v5.GetString())) << Utf8(v5);
    Item().nFilterStatus = 0x08;
    EXPECT_TRUE(HasText(RecordTexts(), L"Filter ON"));
}

TEST_F(ExerAverageView, StTextsFollowTheSignRule)
{
    EXPECT_EQ(Utf8(CExerBeatCell::StValueText(12)), "+1.2");
    EXPECT_EQ(Utf8(CExerBeatCell::StValueText(0)), "0.0");
    EXPECT_EQ(Utf8(CExerBeatCell::StValueText(-7)), "-0.7");
    EXPECT_EQ(Utf8(CExerBeatCell::StValueText(-32768)), "*.*");
}

TEST_F(ExerAverageView, ThePulseStandsInEveryRowUntilItReachesAQuarterOfTheHeight)
{
    Show(1, 0);
    Paint();
    const int V = MilliVolt();
    ASSERT_LT(V, kHeight / 4);
    auto pulseTop = [&](int r) {
        return CountIn(CRect(MmX(6), Cell(0, r, 600).top - V, MmX(9), Cell(0, r, 600).top - V + 1), kTrace) +
               CountIn(CRect(MmX(6), Cell(0, r, 600).top - V, MmX(9), Cell(0, r, 600).top - V + 1), kText);
    };
    for (int r = 0; r < 3; ++r) EXPECT_GT(pulseTop(r), 0) << r;
}

TEST_F(ExerAverageView, AClickInTheCalibrationStripAsksForTheExerciseSensitivity)
{
    Show(1, 0);
    m_doc.SetMouseMode(1);
    platform::ui::Desktop::Click(m_view->GetSafeHwnd(), MmX(7), MmY(60));
    platform::ui::Desktop::Click(m_view->GetSafeHwnd(), MmX(40), MmY(60));
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(m_notify.log.size(), 1u);
    EXPECT_EQ(m_notify.log[0].message, WM_CAL_PULSE_CLICKED);
    EXPECT_EQ(m_notify.log[0].wParam, 5u);
    EXPECT_EQ(m_notify.log[0].lParam, 6);

    // In annotation draw mode the locked annotations leave the click to the
    // strip; unlocked, drawing takes it.
    m_doc.SetMouseMode(2);
    m_doc.SetAnnotationLock(1);
    platform::ui::Desktop::Click(m_view->GetSafeHwnd(), MmX(7), MmY(60));
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(m_notify.log.size(), 2u);
    m_doc.SetAnnotationLock(0);
    platform::ui::Desktop::Click(m_view->GetSafeHwnd(), MmX(7), MmY(60));
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(m_notify.log.size(), 2u);
}

TEST_F(ExerAverageView, EveryLayoutLeavesTheDCAsItFoundIt)
{
    Show(1, 4);
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight)));
    for (int mode = 1; mode <= 3; ++mode) {
        m_view->SetAverageDisplayMode(mode);
        for (int printing = 0; printing < 2; ++printing)
            EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(),
                                      m_view->DrawView(&dc, CRect(0, 0, kWidth, kHeight), 140, 145, 1, printing));
    }
}

TEST_F(ExerAverageView, PrintedRestBeatsAreBlackAndTicksGrey)
{
    Show(2, 8);
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(kWidth, kHeight)));
    ASSERT_EQ(m_view->DrawView(&dc, CRect(0, 0, kWidth, kHeight), 140, 145, 1, 1), 1);
    int grey = 0;
    for (const auto& r : platform::gdi::GetRecording(dc.GetSafeHdc())) {
        if (r.op != platform::gdi::DrawOp::Polyline) continue;
        EXPECT_TRUE(r.penColor == RGB(0, 0, 0) || r.penColor == RGB(127, 127, 127)) << r.Describe();
        grey += r.penColor == RGB(127, 127, 127) ? 1 : 0;
    }
    EXPECT_EQ(grey, 12 * 5);   // five ticks on each of the twelve beats
}

TEST_F(ExerAverageView, TheMagnifierShowsTheBeatsAndReusesItsPictureNearby)
{
    Show(1, 8);
    CDlgEnlargedPreview dialog;
    dialog.SetEnlargedPreviewDoc(&m_doc);
    ASSERT_TRUE(dialog.Create(CDlgEnlargedPreview::IDD, nullptr));
    dialog.SetWindowPos(nullptr, 800, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    m_doc.SetEnlargedPreview(&dialog);
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    m_doc.SetMouseMode(1);
    platform::ui::Desktop::PumpMessages();
    // Over the R wave of lead I.
    const std::vector<short> beat = CurrentBeat(0);
    const CPoint r =
        TracePoint(Cell(0, 0, static_cast<int>(beat.size())), beat.data(), static_cast<int>(beat.size()), 250);
    platform::ui::Desktop::MoveMouse(m_view->GetSafeHwnd(), r.x, r.y);
    platform::ui::Desktop::PumpMessages();
    EXPECT_TRUE(m_view->GetMagnifier().HasCache());
    // The magnifier window shows the trace, magnified.
    CViewEnlargedPreview* preview = dialog.GetEnlargedPreview();
    preview->UpdateWindow();
    CRect client;
    preview->GetClientRect(&client);
    CClientDC shown(preview);
    int ink = 0;
    for (int y = 0; y < client.Height(); ++y)
        for (int x = 0; x < client.Width(); ++x) ink += shown.GetPixel(x, y) == kTrace ? 1 : 0;
    EXPECT_GT(ink, 20);
    const CRect cached = m_view->GetMagnifier().GetCachedRect();
    platform::ui::Desktop::MoveMouse(m_view->GetSafeHwnd(), r.x + 2, r.y + 1);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(m_view->GetMagnifier().GetCachedRect(), cached);
    m_doc.SetEnlargedPreview(nullptr);
    dialog.DestroyWindow();
}
