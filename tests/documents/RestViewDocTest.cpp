// The resting document opening real record files through the device readers:
// what the views get (filtered leads, averages, spikes), the caches across
// reopening, and the refusals of bad files.
#include <sstream>

#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tools/Mkrecord.h"
#include "tools/RecordXml.h"

using namespace resttest;
using morvelance::rec::RecordKind;

namespace {

int ChainLength(const _ANNOTATION_INFO* head)
{
    int n = 0;
    for (; head; head = head->pNext) ++n;
    return n;
}

}  // namespace

TEST_F(RestDocFixture, ServesEveryLeadOfA12LeadRecord)
{
    _RESTDATAITEM* item = AddRecord("rest12.ecg", Shape(RecordKind::Rest12));
    ASSERT_EQ(Open(item), 0);
    ASSERT_NE(item->pECGData, nullptr);
    EXPECT_EQ(item->nLeadCount, 12);
    EXPECT_EQ(m_doc.GetCurItemLeadCount(), 12);
    const int cutoff = m_doc.GetFilter();
    for (int lead = 0; lead < 12; ++lead) {
        const UINT data = CTavrionDoc::GetDataLeadID(lead, 0);
        EXPECT_EQ(Wave(lead), Raw(ECG_TAG_LEAD_BASE + data, 0, cutoff)) << "lead " << lead;
        EXPECT_EQ(m_doc.GetAverageWaveData(lead, nullptr, -1), 1200) << "lead " << lead;
        std::vector<short> average(600);
        EXPECT_EQ(m_doc.GetAverageWaveData(lead, average.data(), -1), 1200);
    }
    // A 12-lead kind asked for an extra lead reads a standard lead's item.
    EXPECT_EQ(Wave(13), Raw(ECG_TAG_LEAD_BASE + 1, 0, cutoff));
    EXPECT_EQ(m_doc.GetAverageWaveData(12, nullptr, -1), 0);
    EXPECT_EQ(m_doc.GetRhythmWaveData(15, nullptr, -1), 0);
    EXPECT_EQ(m_doc.GetRhythmWaveData(-1, nullptr, -1), 0);
}

TEST_F(RestDocFixture, FifteenLeadRecordKeepsBothBlobsAndReadsItsExtraLeadsByIndex)
{
    _RESTDATAITEM* item = AddRecord("rest15.ecg", Shape(RecordKind::Rest15, false, 227));
    ASSERT_EQ(Open(item), 0);
    ASSERT_NE(item->pECGData, nullptr);
    // The image is byte-packed: its pointers are compared by value.
    const BYTE* first = item->pECGData->pBlob3836;
    const BYTE* second = item->pECGData->pBlob3855;
    EXPECT_NE(first, nullptr);
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(item->nLeadCount, 15);
    const int cutoff = m_doc.GetFilter();
    for (int lead = 12; lead < 15; ++lead) {
        const UINT data = CTavrionDoc::GetDataLeadID(lead, 227);
        const std::vector<short> wave = Wave(lead);
        EXPECT_EQ(wave.size(), 5000u);
        EXPECT_EQ(wave, Raw(ECG_TAG_LEAD_BY_INDEX, data, cutoff)) << "lead " << lead;
    }
    EXPECT_EQ(m_doc.GetRhythmSenseChangeState(), 1);   // 10 000 bytes follow the mode changes
}

TEST_F(RestDocFixture, FilterChoiceDecidesTheWaveAndTheCacheServesItAgain)
{
    _RESTDATAITEM* item = AddRecord("rest12.ecg", Shape(RecordKind::Rest12));
    ASSERT_EQ(Open(item), 0);

    m_doc.SetFilter(150);   // 150 Hz leaves the samples as recorded
    m_doc.SetDelBitNoise(0);
    EXPECT_EQ(Wave(1), Raw(ECG_TAG_LEAD_BASE + 1, 0, 0));
    EXPECT_EQ(Wave(1, 35), Raw(ECG_TAG_LEAD_BASE + 1, 0, 35));
    EXPECT_EQ(Wave(1, 35), Wave(1, 35));   // served again from the cache
    EXPECT_EQ(m_doc.GetRhythmWaveData(1, nullptr, 40), 10000);   // a size needs no filter
    std::vector<short> buffer(5000);
    EXPECT_EQ(m_doc.GetRhythmWaveData(1, buffer.data(), 40), 0);
    EXPECT_EQ(m_doc.GetAverageWaveData(1, buffer.data(), 40), 0);

    // With the record's own filter, the argument is not used.
    m_doc.SetFilter(0);
    item->nAcqFilter = 75;
    const UINT lead2 = ECG_TAG_LEAD_BASE + CTavrionDoc::GetDataLeadID(2, 0);
    EXPECT_EQ(Wave(2, 35), Raw(lead2, 0, 75));
    EXPECT_EQ(m_doc.GetFilter(), 75);

    // Switching the noise suppression rebuilds every cached lead.
    const std::vector<short> plain = Wave(2);
    m_doc.SetDelBitNoise(1);
    std::vector<short> expected = Raw(lead2, 0, 75);
    DeleteBitNoise(expected.data(), static_cast<unsigned>(expected.size()));
    EXPECT_EQ(Wave(2), expected);
    EXPECT_NE(Wave(2), plain);
    m_doc.SetDelBitNoise(0);
    EXPECT_EQ(Wave(2), plain);
}

TEST_F(RestDocFixture, ReopeningServesTheNewFileNotTheOldCaches)
{
    morvelance::RestRecordShape shape = Shape(RecordKind::Rest15);
    _RESTDATAITEM* item = AddRecord("r.ecg", shape);
    ASSERT_EQ(Open(item), 0);
    const std::vector<short> before = Wave(13);
    ASSERT_EQ(before.size(), 5000u);
    const int chain = ChainLength(item->pAnnoHead);

    shape.heartRate = 110.0;
    morvelance::WriteRestRecord(m_dir.Path(), "r.ecg", shape);
    ASSERT_EQ(Open(item), 0);
    const std::vector<short> after = Wave(13);
    EXPECT_EQ(after, Raw(ECG_TAG_LEAD_BY_INDEX, 1, m_doc.GetFilter()));
    EXPECT_NE(after, before);
    EXPECT_EQ(ChainLength(item->pAnnoHead), chain);   // the annotations are read once, not appended
}

TEST_F(RestDocFixture, DamagedRecordOfAnItemWithAThirdKeyKeepsNoImage)
{
    platform::ui::MessageBoxRecorder boxes;
    morvelance::RestRecordFiles files = morvelance::WriteRestRecord(m_dir.Path(), "good.ecg", Shape(RecordKind::Rest15));
    const std::string bytes = testsupport::ReadFileBytes(files.record);

    // A flipped byte in the middle breaks the checksum. This item has a third
    // key, so the refusal cannot delete it: it must stay without an image.
    std::string flipped = bytes;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x5A);
    files.record = m_dir.Write("flip.ecg", flipped);
    _RESTDATAITEM* item = AddItem(files, false);
    item->strThirdKey = L"other";
    CString anyXml, flipFile = Wide(files.record);
    EXPECT_EQ(m_doc.OpenFile(anyXml, flipFile), 255);
    ASSERT_EQ(m_doc.GetRestListHeader(), item);
    EXPECT_EQ(item->pECGData, nullptr);
    m_doc.SetCurDataIndex(item->nID);
    EXPECT_EQ(m_doc.GetRhythmWaveData(0, nullptr, -1), 0);
    EXPECT_EQ(m_doc.GetAverageWaveData(0, nullptr, -1), 0);
    EXPECT_EQ(m_doc.IfPaceMakerON(), 0);
    EXPECT_EQ(boxes.Count(), 0);   // the readers refuse silently
}

TEST_F(RestDocFixture, ARecordWithoutTheReadersBlobKeepsTheHostsItemWithoutAnImage)
{
    // The reader takes the file but gives no blob: the opening fails, the
    // host's item stays listed (it may still point at it), without an image;
    // a record without a kind leaves the item's kind as it was.
    const morvelance::RestRecordShape shape = Shape(RecordKind::Rest12);
    morvelance::RecordBuilder items = morvelance::MakeRestRecord(shape);
    items.Remove(morvelance::rec::kTagBlob1, 0);
    items.Remove(morvelance::rec::kTagRecordKind, 0);
    m_files = morvelance::WriteRestRecord(m_dir.Path(), "noblob.ecg", shape, items);
    _RESTDATAITEM* item = AddItem(m_files, false);
    item->nKind = 7;
    EXPECT_EQ(Open(item), 255);
    ASSERT_EQ(m_doc.GetRestListHeader(), item);
    EXPECT_EQ(item->pECGData, nullptr);
    EXPECT_EQ(item->nKind, 7);
    EXPECT_EQ(m_doc.GetRhythmWaveData(0, nullptr, -1), 0);
}

TEST_F(RestDocFixture, Model8000RecordReadsItsPacemakerSpikes)
{
    morvelance::RestRecordShape shape = Shape(RecordKind::Rest12, true, 254);
    shape.pacemaker = true;
    _RESTDATAITEM* item = AddRecord("p8000.ecg", shape);
    ASSERT_EQ(Open(item), 0);
    EXPECT_EQ(m_doc.Is8000File(), 1);
    ASSERT_GT(item->sSpikeCount, 5);
    ASSERT_EQ(item->arrSpikePos.size(), static_cast<size_t>(item->sSpikeCount));
    for (short i = 1; i < item->sSpikeCount; ++i) {
        EXPECT_LT(item->arrSpikePos[i - 1], item->arrSpikePos[i]);
        EXPECT_EQ(item->arrSpikeLead[i], 2);
    }
    EXPECT_EQ(m_doc.IfPaceMakerON(), 1);

    short hi = 0, lo = 0;
    // The record's lead map: display leads 2 to 5 lie at 8 to 11, 6 to 11 at 2 to 7.
    const int expected[12] = {0, 1, 8, 9, 10, 11, 2, 3, 4, 5, 6, 7};
    for (int lead = 0; lead < 12; ++lead) {
        ASSERT_EQ(m_doc.GetPaceMakerWaveMaxMin(lead, &hi, &lo), 1);
        EXPECT_EQ(hi, 1000 + expected[lead]) << "lead " << lead;
        EXPECT_EQ(lo, -1000 - expected[lead]) << "lead " << lead;
    }
    EXPECT_EQ(m_doc.GetPaceMakerWaveMaxMin(14, &hi, &lo), 1);   // nothing stored there
    EXPECT_EQ(hi, -32768);
    EXPECT_EQ(m_doc.GetPaceMakerWaveMaxMin(0, nullptr, &lo), 0);

    // The acquisition filter of these records is always 100 Hz.
    m_doc.SetFilter(0);
    EXPECT_EQ(m_doc.GetFilter(), 100);

    // A second opening reads the same spikes, not twice as many.
    const short count = item->sSpikeCount;
    ASSERT_EQ(Open(item), 0);
    EXPECT_EQ(item->sSpikeCount, count);
}

TEST_F(RestDocFixture, RecordWithoutSpikesOrItemHasNone)
{
    EXPECT_EQ(m_doc.IfPaceMakerON(), 0);
    EXPECT_EQ(m_doc.Get8000SpikeInfo(nullptr), 0);
    _RESTDATAITEM* item = AddRecord("plain8000.ecg", Shape(RecordKind::Rest12, true));
    ASSERT_EQ(Open(item), 0);
    EXPECT_EQ(item->sSpikeCount, 0);
    EXPECT_EQ(m_doc.IfPaceMakerON(), 0);
    EXPECT_EQ(m_doc.Get8000SpikeInfo(item), 1);
}

TEST_F(RestDocFixture, RhythmStripTakesOnlyTheRecordsLeadsAndFollowsItsSensitivity)
{
    // Without an item every lead 0 to 14 is taken.
    EXPECT_EQ(m_doc.SetRhythm1LeadID(13), 1);
    EXPECT_EQ(m_doc.SetRhythm1LeadID(15), 0);
    EXPECT_EQ(m_doc.GetRhythm1LeadID(), 0);

    _RESTDATAITEM* item = AddRecord("rest15.ecg", Shape(RecordKind::Rest15));
    ASSERT_EQ(Open(item), 0);
    EXPECT_EQ(m_doc.GetRhythm1LeadID(), 13);
    EXPECT_EQ(m_doc.SetRhythm1LeadID(4), 1);
    EXPECT_EQ(m_doc.GetRhythm1LeadID(), 4);
    EXPECT_EQ(m_doc.SetRhythm1LeadID(14), 1);
    EXPECT_EQ(m_doc.GetRhythm1LeadID(), 14);
    EXPECT_EQ(m_doc.SetRhythm1LeadID(15), 0);

    // Modes 3 and 4 show the record at its own sensitivity.
    item->fAcqSense = 20.0f;
    m_doc.SetSenseMode(3);
    EXPECT_FLOAT_EQ(m_doc.GetSense(1, 0), 20.0f);
    EXPECT_FLOAT_EQ(m_doc.GetSense(6, 1), 20.0f);
    EXPECT_FLOAT_EQ(m_doc.GetSense(9, 0), 20.0f);   // the strip is short enough to follow
    EXPECT_FLOAT_EQ(m_doc.GetSense(4, 0), 0.0f);

    // A change with adjustment fixes the mode and writes it into the record XML.
    m_doc.SetSense(0, 5.0f, 1);
    EXPECT_EQ(m_doc.GetSenseMode(), 1u);
    EXPECT_FLOAT_EQ(m_doc.GetSense(0, 0), 5.0f);
    EXPECT_EQ(XmlText(REFERENCE_SETTING_PATH L"/Sensitivity", L"mode"), CString(L"1"));
    EXPECT_EQ(XmlText(REFERENCE_SETTING_PATH L"/Sensitivity/Limb"), CString(L"20.00"));
}

TEST_F(RestDocFixture, PtbFifteenLeadRecordServesAllItsLeads)
{
    REQUIRE_SHARED_DATA(header, "physionet/ptb/s0010_re.hea");
    const std::string record = header.substr(0, header.size() - 4);
    std::ostringstream out, err;
    morvelance::RestRecordFiles files;
    files.record = m_dir.File("s0010.ecg");
    ASSERT_EQ(morvelance::RunMkrecord({"wfdb", "--record", record, "--kind", "rest15", "--out", files.record}, out, err), 0)
        << err.str();
    morvelance::RecordXmlSource source;
    std::string error;
    ASSERT_TRUE(morvelance::ReadRecordXmlSource(files.record, &source, &error)) << error;
    files.xml = morvelance::RecordXmlPathFor(files.record, source.time);
    morvelance::WriteRecordXml(files.xml, source, morvelance::RecordXmlOptions());
    m_files = files;

    _RESTDATAITEM* item = AddItem(files, false);
    ASSERT_EQ(Open(item), 0);
    EXPECT_EQ(m_doc.GetCurItemLeadCount(), 15);
    const int cutoff = m_doc.GetFilter();
    for (int lead = 0; lead < 15; ++lead) {
        const std::vector<short> wave = Wave(lead);
        ASSERT_EQ(wave.size(), 5000u) << "lead " << lead;
        short hi = 0, lo = 0;
        m_doc.GetWaveMaxMin(wave.data(), static_cast<int>(wave.size()), &hi, &lo);
        EXPECT_GT(hi - lo, 100) << "lead " << lead;   // a real signal, not a flat line
        const UINT data = CTavrionDoc::GetDataLeadID(lead, static_cast<int>(item->uSystemCode));
        const std::vector<short> raw =
            lead < 12 ? Raw(ECG_TAG_LEAD_BASE + data, 0, cutoff) : Raw(ECG_TAG_LEAD_BY_INDEX, data, cutoff);
        EXPECT_EQ(wave, raw) << "lead " << lead;
    }
    for (int lead = 0; lead < 12; ++lead) EXPECT_GT(m_doc.GetAverageWaveData(lead, nullptr, -1), 0) << "lead " << lead;
}
