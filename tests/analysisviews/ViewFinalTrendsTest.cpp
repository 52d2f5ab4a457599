// The master-step heart-rate and ST trends and the protocol line on records
// of the record maker, drawn through the recording driver: the axes that
// switch with the trend's length, the samples left out, the marked time,
// and the protocol texts on screen and paper.
#include <gtest/gtest.h>

#include <deque>

#include "analysisviews/ViewHRTrend.h"
#include "analysisviews/ViewSTTrend.h"
#include "analysisviews/ViewSummaryProtocol.h"
#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "tests/analysisviews/FinalViewTestSupport.h"
#include "tests/support/DCStateCheck.h"

using namespace finalviewtest;
using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;

namespace {

// A recording surface and what was drawn on it.
class Recording {
public:
    Recording() { m_dc.Attach(platform::gdi::CreateRecordingDC(800, 600)); }
    CDC& DC() { return m_dc; }
    std::vector<DrawRecord> Of(DrawOp op) const
    {
        std::vector<DrawRecord> out;
        for (const DrawRecord& r : platform::gdi::GetRecording(m_dc.GetSafeHdc()))
            if (r.op == op) out.push_back(r);
        return out;
    }
    // The first text drawn as `text`; null when none was.
    const DrawRecord* Text(const std::wstring& text)
    {
        m_texts.push_back(Of(DrawOp::Text));
        for (const DrawRecord& r : m_texts.back())
            if (r.text == text) return &r;
        return nullptr;
    }

private:
    CDC m_dc;
    std::deque<std::vector<DrawRecord>> m_texts;   // keeps what Text points into
};

// 14 samples 30 s apart (390 s) with sample 3's flag cleared and sample 4's ST missing.
morvelance::MasterStepRecord LongTrend()
{
    morvelance::MasterStepOptions options;
    options.trendPoints = 14;
    options.clearedTrendPoint = 3;
    options.missingStTrendPoint = 4;
    return RecordWithLoads(3, options);
}

class HRTrendTest : public FinalViewFixture<CViewHRTrend> {};
class STTrendTest : public FinalViewFixture<CViewSTTrend> {};
class ProtocolTest : public FinalViewFixture<CViewSummaryProtocol> {};

}  // namespace

TEST_F(HRTrendTest, TheAxesSwitchAt300SecondsAndAt100Bpm)
{
    OpenRecord(LongTrend());
    MakeView(600, 300);
    _FINAL_WAVE_INFO& trend = Item().stWaveInfo;
    const int last = trend.sTrendCount - 1;
    // time of the last sample -> minutes across
    static const struct {
        short seconds;
        int minutes;
    } kSpans[] = {{300, 6}, {301, 15}, {900, 15}, {901, 30}, {1801, 60}};
    for (const auto& c : kSpans) {
        trend.pTrendTime[last] = c.seconds;
        m_view->OnUpdate(nullptr, 0, nullptr);
        EXPECT_EQ(m_view->GetTimeSpan(), c.minutes) << c.seconds;
    }
    for (int i = 0; i <= last; ++i) trend.pHeartRate[i] = 60;
    trend.pHeartRate[2] = 100;
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(m_view->GetRateMax(), 150);
    trend.pHeartRate[2] = 99;
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(m_view->GetRateMax(), 100);
    EXPECT_EQ(m_view->GetMarkedTime(), Item().nDescentMinute * 60 + Item().nDescentSecond);
}

TEST_F(HRTrendTest, SamplesWithAClearedFlagAreLeftOutAndTheRestMarkedOnTheirTimes)
{
    OpenRecord(LongTrend());
    MakeView(600, 300);
    m_view->OnUpdate(nullptr, 0, nullptr);
    Recording rec;
    CECGDC printer(&rec.DC(), 2);
    CRect plot(100, 50, 700, 450);
    ASSERT_EQ(m_view->Print(&printer, &plot), 1);
    const std::vector<DrawRecord> marks = rec.Of(DrawOp::Ellipse);
    ASSERT_EQ(marks.size(), 13u);   // 14 samples, one with its flag cleared
    // 390 s on a 15-minute axis: 600 px for 900 s.
    const auto centre = [](const DrawRecord& r) { return (r.rect.left + r.rect.right) / 2; };
    EXPECT_NEAR(centre(marks[0]), 100, 1);
    EXPECT_NEAR(centre(marks[3]), 100 + 120 * 600 / 900, 1);   // sample 4 follows sample 2
    EXPECT_NEAR(centre(marks.back()), 100 + 390 * 600 / 900, 1);
    EXPECT_NE(rec.Text(L"心拍数 [bpm]"), nullptr);
    EXPECT_NE(rec.Text(L"0(min)"), nullptr);
    EXPECT_EQ(m_view->Print(nullptr, &plot), 0);
}

TEST_F(HRTrendTest, WithoutACurrentItemNeitherTheFrameNorTheCurveIsDrawn)
{
    OpenRecord(LongTrend());
    MakeView(600, 300);
    m_view->OnUpdate(nullptr, 0, nullptr);
    m_doc.SetCurDataIndex(-1);
    Recording rec;
    CECGDC printer(&rec.DC(), 2);
    CRect plot(100, 50, 700, 450);
    EXPECT_EQ(m_view->Print(&printer, &plot), 1);
    EXPECT_TRUE(rec.Of(DrawOp::Text).empty());
    EXPECT_TRUE(rec.Of(DrawOp::Ellipse).empty());
    EXPECT_TRUE(rec.Of(DrawOp::Polyline).empty());
}

TEST_F(STTrendTest, TheTimeStepSwitchesAt360SecondsAndMissingSamplesAreLeftOut)
{
    OpenRecord(LongTrend());
    MakeView(600, 300);
    EXPECT_EQ(CViewSTTrend::GetTimeStep(Item()), 5);   // 390 s
    _FINAL_WAVE_INFO& trend = Item().stWaveInfo;
    const int last = trend.sTrendCount - 1;
    trend.pTrendTime[last] = 360;
    EXPECT_EQ(CViewSTTrend::GetTimeStep(Item()), 2);
    trend.pTrendTime[last] = 361;
    EXPECT_EQ(CViewSTTrend::GetTimeStep(Item()), 5);

    // +5.00 mm lies on the plot's top edge.
    trend.sTrend[0][1] = 500;   // display lead II is record lead 1
    m_view->SetLead(1);
    m_view->OnUpdate(nullptr, 0, nullptr);
    Recording rec;
    m_view->PubDraw(&rec.DC(), CRect(0, 100, 600, 500), 1);
    const std::vector<DrawRecord> marks = rec.Of(DrawOp::Ellipse);
    ASSERT_EQ(marks.size(), 12u);   // 14 less a cleared flag and a missing ST
    EXPECT_NEAR((marks[0].rect.top + marks[0].rect.bottom) / 2, 100, 1);
    EXPECT_NE(rec.Text(L"ST[mm]" + std::wstring(Item().stLeadName.strDispName[1].GetString())), nullptr);
}

TEST_F(STTrendTest, FollowingTheDeepestLeadTakesItsNameAndALeadOutsideTheTwelveShowsLeadZero)
{
    OpenRecord(RecordWithLoads(3));
    MakeView(600, 300);
    m_view->SetIfInSummary(1);
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(m_view->GetLead(), Item().nDescentLead);
    m_view->SetIfInSummary(0);
    m_view->SetLead(14);
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(m_view->GetLead(), 0);
    Recording rec;
    CECGDC printer(&rec.DC(), 2);
    ASSERT_EQ(m_view->Print(&printer, CRect(0, 0, 800, 600)), 1);
    // On paper the descent time is a filled triangle under the axis.
    EXPECT_EQ(rec.Of(DrawOp::Polygon).size(), 1u);
}

TEST_F(ProtocolTest, AStepAndTripRecordShowsItsItemsWithASpacedTripOnScreenAndATightOneOnPaperALineApart)
{
    OpenRecord(RecordWithLoads(3));
    MakeView(600, 60);
    const _FINAL_WAVE_INFO& wave = Item().stWaveInfo;
    Recording screen;
    m_view->OnDraw(&screen.DC());
    const std::wstring trip = std::wstring(wave.strTripCount.GetString()) + L" / " + wave.strTripTotal.GetString();
    const DrawRecord* onScreen = screen.Text(trip);
    ASSERT_NE(onScreen, nullptr);
    ASSERT_NE(screen.Text(CViewSummaryProtocol::kStepLabel), nullptr);
    ASSERT_NE(screen.Text(wave.strMasterStepMode.GetString()), nullptr);
    const DrawRecord* heading = screen.Text(L"最大ST降下");
    ASSERT_NE(heading, nullptr);
    EXPECT_GT(heading->points[0].y, onScreen->points[0].y);   // the next line

    Recording paper;
    CECGDC printer(&paper.DC(), 2);
    CRect rect(10, 10, 500, 200);
    ASSERT_EQ(m_view->Print(&printer, &rect), 1);
    const DrawRecord* printedTrip =
        paper.Text(L" : " + std::wstring(wave.strTripCount.GetString()) + L"/" + wave.strTripTotal.GetString());
    ASSERT_NE(printedTrip, nullptr);
    const DrawRecord* printedStep = paper.Text(L" : " + std::wstring(wave.strMasterStepMode.GetString()));
    ASSERT_NE(printedStep, nullptr);
    // Two lines down, each the text's height: the lines do not print over one another.
    TEXTMETRIC tm{};
    paper.DC().GetTextMetrics(&tm);
    EXPECT_EQ(printedTrip->points[0].y - printedStep->points[0].y, 2 * static_cast<int>(tm.tmHeight));
    EXPECT_NE(paper.Text(L"負荷後"), nullptr);
}

TEST_F(ProtocolTest, OtherRecordsPrintNothingAndANoneLeadLeavesTheLeadValueEmpty)
{
    morvelance::MasterStepOptions options;
    options.systemCode = 244;
    OpenRecord(RecordWithLoads(1, options));
    MakeView(600, 60);
    // Beside a 243 record a 244 one keeps its load time but has no trip or step items.
    EXPECT_FALSE(Item().stWaveInfo.strLoadTime.IsEmpty());
    EXPECT_TRUE(Item().stWaveInfo.strTripCount.IsEmpty());
    EXPECT_TRUE(Item().stWaveInfo.strMasterStepMode.IsEmpty());
    Item().nDescentLead = -1;
    Recording screen;
    m_view->OnDraw(&screen.DC());
    EXPECT_EQ(screen.Text(CViewSummaryProtocol::kStepLabel), nullptr);
    ASSERT_NE(screen.Text(L"誘導"), nullptr);
    for (int lead = 0; lead < 12; ++lead)
        EXPECT_EQ(screen.Text(Item().stLeadName.strDispName[lead].GetString()), nullptr) << lead;
    Recording paper;
    CECGDC printer(&paper.DC(), 2);
    CRect rect(10, 10, 500, 200);
    EXPECT_EQ(m_view->Print(&printer, &rect), 1);
    EXPECT_TRUE(paper.Of(DrawOp::Text).empty());
    EXPECT_EQ(m_view->Print(nullptr, &rect), 0);
    EXPECT_EQ(CViewSummaryProtocol::GetAcquisitionTime(3), CString(L"*"));
    EXPECT_EQ(CViewSummaryProtocol::GetAcquisitionTime(-1), CString(L"0’45”"));
}

TEST_F(STTrendTest, PrintingAndPaintingTheTrendsAndProtocolLeaveTheDeviceContextAsFound)
{
    OpenRecord(LongTrend());
    MakeView(600, 300);
    m_view->OnUpdate(nullptr, 0, nullptr);
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(800, 600)));
    CECGDC printer(&dc, 2);
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), m_view->Print(&printer, CRect(0, 0, 800, 600)));
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), m_view->OnDraw(&dc));

    CViewHRTrend hr;
    CViewSummaryProtocol protocol;
    m_doc.AddView(&hr);
    m_doc.AddView(&protocol);
    hr.OnUpdate(nullptr, 0, nullptr);
    CRect plot(100, 50, 700, 450);
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), hr.Print(&printer, &plot));
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), protocol.Print(&printer, &plot));
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), protocol.OnDraw(&dc));
    m_doc.RemoveView(&hr);
    m_doc.RemoveView(&protocol);
}
