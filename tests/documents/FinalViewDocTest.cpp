// The master-step document opening records made by the record maker: what
// the views get (beats, windows, comparisons, trend), and what it makes of
// damaged records and out-of-range XML values.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "documents/FinalViewDoc.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/documents/FinalViewDocTestUtil.h"
#include "tools/Wfdb.h"

using namespace finaltest;
using morvelance::MasterStepOptions;
using morvelance::MasterStepRecord;

namespace {

class FinalViewDocOpen : public FinalDocTest {};

// The block as GetAverageWaveData hands it out unfiltered (150 Hz): shifted
// by the first lead's sample at the base line.
std::vector<short> Shifted(const std::vector<int16_t>& block, int baseline)
{
    std::vector<short> out(block.begin(), block.end());
    const short base = out[static_cast<size_t>(baseline)];
    if (base == 0) return out;
    for (short& s : out) s = static_cast<short>(s - base);
    return out;
}

}  // namespace

TEST_F(FinalViewDocOpen, ReadsEverySectionOfASyntheticRecord)
{
    const MasterStepRecord record = SynthRecord();
    std::string xml;
    const std::string path = Write(record, &xml);
    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, path, xml), 0);
    _FINALDATAITEM* item = doc.GetCurrentDataItem();
    ASSERT_NE(item, nullptr);

    EXPECT_EQ(item->sRestHeartRate, record.restHeartRate);
    for (int lead = 0; lead < 12; ++lead) EXPECT_EQ(item->sRestST[lead], record.restST[lead]) << lead;

    ASSERT_EQ(item->nLoadCount, 3);
    ASSERT_NE(item->pLoadInfo, nullptr);
    for (int k = 0; k < 3; ++k) {
        const _FINAL_LOAD_INFO& load = item->pLoadInfo[k];
        EXPECT_EQ(load.sHeartRate, record.loadHeartRates[k]);
        EXPECT_EQ(load.byMinute, record.options.loadMinutes[k]);
        for (int lead = 0; lead < 12; ++lead) EXPECT_EQ(load.sST[lead], record.loadST[k][lead]);
    }

    const _FINAL_WAVE_INFO& wave = item->stWaveInfo;
    ASSERT_EQ(wave.sTrendCount, 7);
    EXPECT_EQ(wave.pHeartRate[0], record.restHeartRate);
    EXPECT_EQ(wave.pHeartRate[1], record.loadHeartRates[0]);
    EXPECT_EQ(wave.sTrend[1][6], record.loadST[0][6]);
    EXPECT_EQ(wave.sTrend[7][0], 0);   // past the trend
    EXPECT_EQ(wave.sTrend[0][12], 0);  // past the 12 leads

    EXPECT_EQ(item->stInterpre.strFree[FINAL_FREE_IVREL_CODE], CString(L"J3"));
    EXPECT_FALSE(item->stInterpre.strFree[FINAL_FREE_IVREL_TEXT].IsEmpty());
}

TEST_F(FinalViewDocOpen, CodeWithoutTripInformationEmptiesTheTripFields)
{
    MasterStepOptions options;
    options.systemCode = 244;
    std::string xml;
    const std::string path = Write(SynthRecord(options), &xml);
    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, path, xml), 0);
    const _FINAL_WAVE_INFO& wave = doc.GetCurrentDataItem()->stWaveInfo;
    EXPECT_FALSE(ReadXmlValue(xml, L"/Rawdata/Tavrion/Record/Mstep_section/Trip_info", L"trip").IsEmpty());
    EXPECT_TRUE(wave.strTripTotal.IsEmpty());
    EXPECT_TRUE(wave.strTripCount.IsEmpty());
    EXPECT_TRUE(wave.strMasterStepMode.IsEmpty());
    EXPECT_EQ(wave.strLoadTime, CString(L"03:00"));
}

TEST_F(FinalViewDocOpen, AverageBeatsReachTheViewsByIndex)
{
    const MasterStepRecord record = SynthRecord();
    std::string xml;
    const std::string path = Write(record, &xml);
    CFinalViewDoc doc;
    EXPECT_EQ(doc.GetAverageWaveData(-1, nullptr, 150), 0);   // no current item
    ASSERT_EQ(Open(doc, path, xml), 0);

    const int bytes = morvelance::rec::kMasterAverageBlockSamples * 2;
    ASSERT_EQ(doc.GetAverageWaveData(-1, nullptr, 150), bytes);
    std::vector<short> rest(bytes / 2);
    ASSERT_EQ(doc.GetAverageWaveData(-1, rest.data(), 150), bytes);
    EXPECT_EQ(rest, Shifted(record.restBlock, record.baseline));

    std::vector<short> load(bytes / 2);
    ASSERT_EQ(doc.GetAverageWaveData(1, load.data(), 150), bytes);
    EXPECT_EQ(load, Shifted(record.loadBlocks[1], record.baseline));
    ASSERT_EQ(doc.GetAverageWaveData(-2, load.data(), 150), bytes);
    EXPECT_EQ(load, Shifted(record.loadBlocks[0], record.baseline));
    EXPECT_EQ(doc.GetAverageWaveData(3, load.data(), 150), 0);
    EXPECT_EQ(doc.GetAverageWaveData(-3, load.data(), 150), 0);
    EXPECT_EQ(doc.GetAverageWaveData(0, load.data(), 40), 0);   // no such filter

    // The document's filter (100 Hz unless the record says otherwise) smooths the block.
    ASSERT_EQ(doc.GetAverageWaveData(-1, load.data(), -1), bytes);
    EXPECT_NE(load, rest);

    // Display lead III is record lead 8.
    std::vector<short> window(600, 7);
    EXPECT_EQ(doc.GetWaveData(rest.data(), 2, window.data(), 243, 100, 300), 200);
    EXPECT_EQ(window[0], rest[8 * 600 + 100]);
    EXPECT_EQ(window[199], rest[8 * 600 + 299]);
    EXPECT_EQ(window[200], 7);
    EXPECT_EQ(doc.GetWaveData(rest.data(), 40, window.data(), 5, 100, 300), 200);   // no such lead: nothing copied
    EXPECT_EQ(window[200], 7);
}

TEST_F(FinalViewDocOpen, RecordOfAnotherKindHasNoBeats)
{
    MasterStepRecord record = SynthRecord();
    record.items.SetUInt16(3346, 0, 0);
    std::string xml;
    const std::string path = Write(record, &xml);
    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, path, xml), 0);
    EXPECT_EQ(doc.GetCurrentDataItem()->uSystemCode, 0u);
    EXPECT_EQ(doc.GetAverageWaveData(-1, nullptr, 150), 0);
}

// AdjustWaveDataStartEnd: the given window, the window and result after it.
TEST(FinalViewDocWindow, FitsTheWindowIntoTheBeat)
{
    static const struct {
        int s, e;
        int start, end, result;
    } kCases[] = {
        {100, 300, 100, 300, 1},   // short: 80..480, cut back to the window
        {50, 560, 80, 480, 1},
        {0, 450, 50, 450, 1},
        {250, 700, 250, 600, 1},   // end clamped to the beat
        {650, 1100, 650, 600, 0},  // nothing left after clamping: the clamped values stay
        {700, 700, 700, 480, 0},   // cut back past the beat: no window
        {-100, 1000, 80, 480, 1},
    };
    for (const auto& c : kCases) {
        int start = c.s, end = c.e;
        EXPECT_EQ(CFinalViewDoc::AdjustWaveDataStartEnd(start, end), c.result) << c.s << ".." << c.e;
        EXPECT_EQ(start, c.start) << c.s << ".." << c.e;
        EXPECT_EQ(end, c.end) << c.s << ".." << c.e;
    }
    int start = 0, end = 450;
    EXPECT_EQ(CFinalViewDoc::AdjustWaveDataStartEnd(&start, &end), 1);
    EXPECT_EQ(start, 50);
    EXPECT_EQ(CFinalViewDoc::AdjustWaveDataStartEnd(nullptr, &end), 0);
    CFinalViewDoc doc;
    std::vector<short> beat(7200, 1), out(600, 9);
    EXPECT_EQ(doc.GetWaveData(beat.data(), 0, out.data(), 243, 700, 700), -220);
    EXPECT_EQ(out[0], 9);
}

// The step counts label the master-step load: the half and quarter steps carry
// an "S" when the flag asks for it, the whole steps and unknown counts never.
TEST(FinalViewDocStepMode, HalfAndQuarterStepsCarryTheirSOnlyWithTheFlag)
{
    CFinalViewDoc doc;
    static const struct {
        short step;
        const wchar_t* withFlag;
        const wchar_t* withoutFlag;
    } kCases[] = {
        {-2, L"1/4S", L"1/4"}, {-1, L"1/2S", L"1/2"}, {0, L"ｼﾝｸﾞ?", L"ｼﾝｸﾞ?"},
        {1, L"ﾀﾞﾌﾞ?", L"ﾀﾞﾌﾞ?"}, {2, L"ﾄﾘﾌﾟ?", L"ﾄﾘﾌﾟ?"},   {3, L"*", L"*"},
        {-3, L"*", L"*"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(doc.GetStepMode(c.step, 1), CString(c.withFlag)) << c.step;
        EXPECT_EQ(doc.GetStepMode(c.step, 0), CString(c.withoutFlag)) << c.step;
    }
    // Any non-zero flag asks for the "S".
    EXPECT_EQ(doc.GetStepMode(-1, -1), CString(L"1/2S"));
}

// ---- bad input ------------------------------------------------------------------------------

// A record without the reader's blob fails to open; the host's item stays
// listed and current, without an image, and opens once the record is whole.
// This test once asserted that the item was deleted: that left the host
// holding a freed item, the one it had added.
TEST_F(FinalViewDocOpen, ARecordWithoutItsBlobFailsTheOpenAndKeepsTheHostsItem)
{
    MasterStepRecord noBlob = SynthRecord();
    noBlob.items.Remove(3836, 0);
    std::string xml;
    const std::string path = Write(noBlob, &xml, "noblob");
    CFinalViewDoc doc;
    EXPECT_EQ(Open(doc, path, xml), 255);
    _FINALDATAITEM* item = doc.GetCurrentDataItem();
    ASSERT_NE(item, nullptr) << "the host's item was deleted";
    EXPECT_EQ(doc.GetFinalListHeader(), item);
    EXPECT_EQ(item->pECGData, nullptr);
    EXPECT_EQ(doc.GetAverageWaveData(-1, nullptr, -1), 0);

    Write(SynthRecord(), &xml, "noblob");
    ASSERT_EQ(testsupport::OpenRecord(doc, {path, xml}), 0);
    EXPECT_EQ(doc.GetCurrentDataItem(), item);
    EXPECT_GT(doc.GetAverageWaveData(-1, nullptr, -1), 0);
}

// No memory for the blob fails the opening saying so (it was reported as an
// opening, with the record XML never read); the host's item keeps its image
// and opens once there is memory.
TEST_F(FinalViewDocOpen, NoMemoryForTheReadersBlobFailsTheOpenButKeepsTheHostsItem)
{
    std::string xml;
    const std::string path = Write(SynthRecord(), &xml, "tight");
    CFinalViewDoc doc;
    platform::ui::MessageBoxRecorder boxes;
    platform::SetHeapFailureCountdown(2);   // the image, then the blob
    const int opened = Open(doc, path, xml);
    platform::SetHeapFailureCountdown(0);
    EXPECT_EQ(opened, 255);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_NE(boxes.Last().text.Find(L"not enough memory"), -1);
    _FINALDATAITEM* item = doc.GetCurrentDataItem();
    ASSERT_NE(item, nullptr) << "the host's item was deleted";
    ASSERT_NE(item->pECGData, nullptr);
    EXPECT_EQ(+item->pECGData->pBlob3836, nullptr);
    EXPECT_EQ(item->nLoadCount, 0);   // the record XML was not read

    ASSERT_EQ(testsupport::OpenRecord(doc, {path, xml}), 0);
    EXPECT_EQ(item->nLoadCount, 3);
    EXPECT_GT(doc.GetAverageWaveData(-1, nullptr, -1), 0);
}

TEST_F(FinalViewDocOpen, CountsBeyondTheTablesReadWithinBounds)
{
    MasterStepOptions options;
    options.trendPoints = 40;
    options.declaredLoadCount = 50;
    std::string xml;
    const std::string path = Write(SynthRecord(options), &xml);
    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, path, xml), 0);
    _FINALDATAITEM* item = doc.GetCurrentDataItem();
    EXPECT_EQ(item->nLoadCount, 3);
    EXPECT_EQ(item->stWaveInfo.sTrendCount, FINAL_TREND_POINTS);
    EXPECT_EQ(item->stWaveInfo.pTrendTime[30], 900);

    WriteXmlValue(xml, L"/Rawdata/Tavrion/Report/Cmp_load", L"-5", L"count");
    WriteXmlValue(xml, L"/Rawdata/Tavrion/Report/Summary_trend", L"0", L"count");
    WriteXmlValue(xml, L"/Rawdata/Tavrion/Report/Cmp_rest/Hr", L"99999");
    WriteXmlValue(xml, L"/Rawdata/Tavrion/Report/Cmp_load", L"7", L"descent_table");
    ASSERT_EQ(doc.GetDataInfoFromXMLFile(item), 0);
    EXPECT_EQ(item->nLoadCount, 0);
    EXPECT_EQ(item->pLoadInfo, nullptr);
    EXPECT_EQ(item->stWaveInfo.sTrendCount, 0);
    EXPECT_EQ(item->stWaveInfo.pHeartRate, nullptr);
    EXPECT_EQ(item->stWaveInfo.pStatus, nullptr);
    EXPECT_EQ(item->stWaveInfo.sTrend[0][0], 0);
    EXPECT_EQ(item->sRestHeartRate, 32767);
    EXPECT_EQ(item->nDescentTable, 7);
    EXPECT_EQ(item->nDescentMinute, 0);

    EXPECT_EQ(doc.GetDataInfoFromXMLFile(nullptr), 255);
    item->strXMLPath.Empty();
    EXPECT_EQ(doc.GetDataInfoFromXMLFile(item), 255);
}

TEST_F(FinalViewDocOpen, TruncatedRecordXmlShowsDefaultsAndIsNotOverwritten)
{
    std::string xml;
    const std::string path = Write(SynthRecord(), &xml);
    const std::string whole = testsupport::ReadFileBytes(xml);
    const std::string half = whole.substr(0, whole.size() / 2);
    m_dir.Write("ms.xml", half);
    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, path, xml), 0);
    const _FINALDATAITEM* item = doc.GetCurrentDataItem();
    EXPECT_EQ(item->nLoadCount, 0);
    EXPECT_EQ(item->stWaveInfo.sTrendCount, 0);
    EXPECT_EQ(item->nDescentTable, -1);
    EXPECT_EQ(item->sRestStatus, 1);
    EXPECT_TRUE(item->stPatient.strName.IsEmpty());
    // The beats come from the record itself and are all there.
    EXPECT_EQ(doc.GetAverageWaveData(2, nullptr, -1), 14400);

    doc.SetCtrlContent(nullptr);
    doc.PushCtrlEdit(3605, L"息切れ", -1);
    EXPECT_EQ(doc.SaveDataToXML(0), 255);   // nothing was saved
    EXPECT_EQ(testsupport::ReadFileBytes(xml), half);
}

TEST_F(FinalViewDocOpen, JudgementThatDiffersFromTheMasterIsDropped)
{
    std::string xml;
    const std::string path = Write(SynthRecord(), &xml);
    WriteXmlValue(xml, L"/Rawdata/Tavrion/Analysis/Analysis_section/Judgement", L"別の判定");
    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, path, xml), 0);
    EXPECT_TRUE(doc.GetCurrentDataItem()->stInterpre.strFree[FINAL_FREE_IVREL_CODE].IsEmpty());
    EXPECT_TRUE(doc.GetCurrentDataItem()->stInterpre.strFree[FINAL_FREE_IVREL_TEXT].IsEmpty());

    WriteXmlValue(xml, L"/Rawdata/Tavrion/Analysis/Analysis_section/Judgement", L"XX", L"value");
    ASSERT_EQ(doc.GetDataInfoFromXMLFile(doc.GetCurrentDataItem()), 0);
    EXPECT_TRUE(doc.GetCurrentDataItem()->stInterpre.strFree[FINAL_FREE_IVREL_CODE].IsEmpty());
}

TEST_F(FinalViewDocOpen, RealPtbRecordGivesItsRestBeatAtTheRPeak)
{
    REQUIRE_SHARED_DATA(hea, "physionet/ptb/s0010_re.hea");
    morvelance::WfdbRecord wfdb;
    std::string error;
    const std::string stem = hea.substr(0, hea.size() - 4);
    ASSERT_TRUE(morvelance::ReadWfdbRecord(stem, &wfdb, &error)) << error;
    const morvelance::EcgRecord ecg = morvelance::WfdbToEcg(wfdb, "ptb/s0010_re");
    MasterStepOptions options;
    options.loadStartSeconds = {10, 20, 28};
    const MasterStepRecord record = morvelance::MakeMasterStepRecord(ecg, {ecg, ecg, ecg}, options);
    std::string xml;
    const std::string path = Write(record, &xml, "s0010");
    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, path, xml), 0);
    _FINALDATAITEM* item = doc.GetCurrentDataItem();
    EXPECT_GT(item->sRestHeartRate, 40);
    EXPECT_LT(item->sRestHeartRate, 150);

    std::vector<short> rest(7200);
    ASSERT_EQ(doc.GetAverageWaveData(-1, rest.data(), 150), 14400);
    // Lead II's beat has its largest deflection at the R peak, sample 250.
    int peak = 0;
    for (int i = 1; i < 600; ++i) {
        if (std::abs(rest[600 + i]) > std::abs(rest[600 + peak])) peak = i;
    }
    EXPECT_NEAR(peak, 250, 15);
}

TEST_F(FinalViewDocOpen, TheCurrentPostLoadBeatIsOneRecordThatOnlyAValidIndexMoves)
{
    MasterStepOptions options;
    options.descentTable = 2;
    const MasterStepRecord record = SynthRecord(options);
    std::string xml;
    const std::string path = Write(record, &xml);
    CFinalViewDoc doc;
    EXPECT_EQ(doc.GetCurLoadIndex(), -1);
    EXPECT_FALSE(doc.SetCurLoadIndex(0));   // no item
    ASSERT_EQ(Open(doc, path, xml), 0);

    // Opening starts at the ST-descent comparison, 0-based.
    EXPECT_EQ(doc.GetCurLoadIndex(), 1);
    const int bytes = morvelance::rec::kMasterAverageBlockSamples * 2;
    std::vector<short> current(bytes / 2), direct(bytes / 2);
    ASSERT_EQ(doc.GetAverageWaveData(-2, current.data(), 150), bytes);
    ASSERT_EQ(doc.GetAverageWaveData(1, direct.data(), 150), bytes);
    EXPECT_EQ(current, direct);

    EXPECT_TRUE(doc.SetCurLoadIndex(2));
    ASSERT_EQ(doc.GetAverageWaveData(-2, current.data(), 150), bytes);
    ASSERT_EQ(doc.GetAverageWaveData(2, direct.data(), 150), bytes);
    EXPECT_EQ(current, direct);
    EXPECT_FALSE(doc.SetCurLoadIndex(3));
    EXPECT_FALSE(doc.SetCurLoadIndex(-1));
    EXPECT_EQ(doc.GetCurLoadIndex(), 2);

    // No current comparison reads nothing, never the rest block.
    doc.GetCurrentDataItem()->nCurLoadIndex = -1;
    EXPECT_EQ(doc.GetAverageWaveData(-2, current.data(), 150), 0);
}

TEST_F(FinalViewDocOpen, ARecordWithoutADescentStartsAtTheFirstComparisonAndOneWithoutComparisonsAtNone)
{
    MasterStepOptions options;
    options.descentTable = 0;
    std::string xml;
    CFinalViewDoc doc;
    ASSERT_EQ(Open(doc, Write(SynthRecord(options), &xml, "first"), xml), 0);
    EXPECT_EQ(doc.GetCurLoadIndex(), 0);

    const MasterStepRecord none = morvelance::MakeMasterStepRecord(Synth(65, 1), {}, options);
    CFinalViewDoc empty;
    ASSERT_EQ(Open(empty, Write(none, &xml, "none"), xml), 0);
    EXPECT_EQ(empty.GetCurrentDataItem()->nLoadCount, 0);
    EXPECT_EQ(empty.GetCurLoadIndex(), -1);
    EXPECT_EQ(empty.GetAverageWaveData(-2, nullptr, 150), 0);
}
