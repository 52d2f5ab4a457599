// The rhythm document against real record files: opening both families,
// start time and events, the filtered strips and their cache, paging, the
// one-lead strip lead and sensitivities, and damaged or missing files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

#include "core/Helpers.h"
#include "core/ReferenceIds.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tools/Mkrecord.h"

using namespace morvelance;
using namespace rhythmtest;
using testsupport::Wide;

namespace {

// The raw samples of the record through the reader, filtered as a view expects.
std::vector<short> Filtered(CRhythmViewDoc& doc, _ECGDATA* image, UINT tag, int lead, int cutoff)
{
    std::vector<short> samples = testsupport::RecordSamples(doc, image, tag, static_cast<UINT>(lead));
    HiCutFilter(static_cast<short>(cutoff), samples.data(), static_cast<int>(samples.size()));
    if (doc.IsDelBitNoise()) DeleteBitNoise(samples.data(), static_cast<unsigned>(samples.size()));
    return samples;
}

std::vector<int> Events(const _RHYTHMDATAITEM* item)
{
    std::vector<int> events;
    for (INT_PTR i = 0; i < item->arrEvent.GetSize(); ++i) events.push_back(item->arrEvent.GetAt(i));
    return events;
}

RhythmRecordShape Shape(int leads, double seconds, uint16_t code, int minute = -1, int second = 0)
{
    RhythmRecordShape shape;
    shape.leads = leads;
    shape.seconds = seconds;
    shape.systemCode = code;
    shape.startMinute = minute;
    shape.startSecond = second;
    return shape;
}

using RhythmDocument = RhythmDocTest;

}  // namespace

TEST_F(RhythmDocument, OpensStandardFamilyWithStartTimeEventsAndFilteredStrips)
{
    const RhythmFiles files = WriteRhythm(m_dir, "std", Shape(3, 20.0, 245, 12, 34));
    EXPECT_EQ(Open(files, 3), 0);
    _RHYTHMDATAITEM* item = Item();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->byStartMinute, 12);
    EXPECT_EQ(item->byStartSecond, 34);

    // About 70 beats a minute over 20 s, ordered and inside the strip.
    const std::vector<int> events = Events(item);
    EXPECT_EQ(item->nEventCount, static_cast<int>(events.size()));
    EXPECT_GE(events.size(), 20u);
    EXPECT_TRUE(std::is_sorted(events.begin(), events.end()));
    EXPECT_LE(events.back(), 10000);

    EXPECT_EQ(m_doc->GetRhythmWaveData(0, nullptr, -1), 20000);
    for (int lead = 0; lead < 3; ++lead)
        EXPECT_EQ(RhythmWave(*m_doc, lead), Filtered(*m_doc, item->pECGData, 3849, lead, 100)) << "lead " << lead;
    EXPECT_EQ(m_doc->GetRhythmWaveData(3, nullptr, -1), 0);
    EXPECT_EQ(m_doc->GetRhythmWaveData(15, nullptr, -1), 0);
    EXPECT_EQ(m_doc->GetRhythmWaveData(-1, nullptr, -1), 0);
}

TEST_F(RhythmDocument, ExtendedFamilyReadsItsOwnItems)
{
    const RhythmFiles files = WriteRhythm(m_dir, "ext", Shape(12, 8.0, 38, 5, 7));
    EXPECT_EQ(Open(files, 12), 0);
    _RHYTHMDATAITEM* item = Item();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->byStartMinute, 5);
    EXPECT_EQ(item->byStartSecond, 7);
    EXPECT_GE(item->arrEvent.GetSize(), 7);
    EXPECT_EQ(m_doc->ecgGetData(item->pECGData, 3849, 0, nullptr, 0, ECG_DATA_RAW), 0);
    EXPECT_EQ(RhythmWave(*m_doc, 11, 35), Filtered(*m_doc, item->pECGData, 3860, 11, 35));
    EXPECT_EQ(m_doc->GetRhythmWaveData(12, nullptr, -1), 0);
    // The record XML names the six chest leads of a 12-lead strip.
    EXPECT_EQ(item->stLeadName.nCount, 6);
    EXPECT_NE(item->stLeadName.nCode[5], 0);
}

TEST_F(RhythmDocument, EventsKeepOrderedPositionsInsideTheStrip)
{
    // 10 s: 5000 samples; 5001 lies past the strip.
    const RhythmFiles files = WriteRhythm(m_dir, "ev", Shape(1, 10.0, 10), [](RecordBuilder& b) {
        SetRhythmEvents(b, {10, 5, 20, 20, 5001});
    });
    ASSERT_EQ(Open(files, 1), 0);
    EXPECT_EQ(Events(Item()), (std::vector<int>{10, 20, 20}));
    EXPECT_EQ(Item()->nEventCount, 5);

    // A stated count far past the items present ends with the items.
    const RhythmFiles huge = WriteRhythm(m_dir, "huge", Shape(1, 10.0, 217), [](RecordBuilder& b) {
        SetRhythmEvents(b, {100, 4000}, 0x7FFFFFFF);
    });
    CRhythmViewDoc doc;
    ASSERT_EQ(Open(doc, huge, 1), 0);
    EXPECT_EQ(Events(doc.GetCurrentDataItem()), (std::vector<int>{100, 4000}));

    // Without a readable count the list stays empty.
    const RhythmFiles none = WriteRhythm(m_dir, "none", Shape(1, 10.0, 10), [](RecordBuilder& b) {
        b.Remove(rec::kTagEvents, 0);
    });
    CRhythmViewDoc third;
    ASSERT_EQ(Open(third, none, 1), 0);
    EXPECT_EQ(third.GetCurrentDataItem()->arrEvent.GetSize(), 0);
}

TEST_F(RhythmDocument, ReopeningReplacesTheCachedStripsAndTheEvents)
{
    const RhythmFiles files = WriteRhythm(m_dir, "re", Shape(1, 20.0, 10));
    ASSERT_EQ(Open(files, 1), 0);
    ASSERT_EQ(RhythmWave(*m_doc, 0).size(), 10000u);
    const INT_PTR events = Item()->arrEvent.GetSize();

    // The same file name now holds a shorter record.
    WriteRhythm(m_dir, "re", Shape(1, 6.0, 10));
    CString xml = Wide(files.xml), record = Wide(files.record);
    ASSERT_EQ(m_doc->OpenFile(xml, record), 0);
    EXPECT_EQ(m_doc->GetRhythmWaveData(0, nullptr, -1), 6000);
    EXPECT_EQ(RhythmWave(*m_doc, 0), Filtered(*m_doc, Item()->pECGData, 3849, 0, 100));
    EXPECT_LT(Item()->arrEvent.GetSize(), events);
    EXPECT_EQ(Item()->nEventCount, Item()->arrEvent.GetSize());
}

TEST_F(RhythmDocument, CacheFollowsFilterAndBitNoise)
{
    const RhythmFiles files = WriteRhythm(m_dir, "cache", Shape(3, 10.0, 10));
    ASSERT_EQ(Open(files, 3), 0);
    m_doc->SetDelBitNoise(0);
    const std::vector<short> first = RhythmWave(*m_doc, 1);
    const short* cached = Item()->pWaveCache[1].get();
    ASSERT_NE(cached, nullptr);
    EXPECT_EQ(RhythmWave(*m_doc, 1), first);
    EXPECT_EQ(Item()->pWaveCache[1].get(), cached);   // served from the cache

    // Bit-noise on: every strip is made again, none passes for made without it.
    RhythmWave(*m_doc, 2);
    m_doc->SetDelBitNoise(1);
    const std::vector<short> denoised = Filtered(*m_doc, Item()->pECGData, 3849, 1, 100);
    EXPECT_NE(denoised, first);
    EXPECT_EQ(RhythmWave(*m_doc, 1), denoised);
    EXPECT_EQ(Item()->pWaveCache[2], nullptr);

    // A cutoff the filter does not know fails and keeps the cache.
    std::vector<short> buffer(first.size());
    EXPECT_EQ(m_doc->GetRhythmWaveData(1, buffer.data(), 40), 0);
    EXPECT_NE(Item()->pWaveCache[1], nullptr);

    // With the rhythm filter 0 the record's own filter (100 Hz) applies to any request.
    m_doc->SetDelBitNoise(0);
    m_doc->SetFilter(0);
    EXPECT_EQ(m_doc->GetFilter(), 100);
    EXPECT_EQ(RhythmWave(*m_doc, 1, 35), first);
}

TEST_F(RhythmDocument, PageRangesStayInsideTheStripAndCountWholePages)
{
    const RhythmFiles files = WriteRhythm(m_dir, "page", Shape(3, 30.0, 10));
    ASSERT_EQ(Open(files, 3), 0);
    // 15000 samples, 200 mm rows at 25 mm/s, three rows: 8000 samples a page.
    EXPECT_EQ(m_doc->GetRhythmWaveTotalPage(200, 2), 1);
    EXPECT_EQ(m_doc->GetRhythmWaveTotalPage(200, 1), 0);   // one row: 24000 samples a page
    const std::vector<short> strip = RhythmWave(*m_doc, 0);
    std::vector<short> page(8000, 0x7777);
    EXPECT_EQ(m_doc->GetRhythmWaveRange(0, 8000, 8000, page.data(), -1), 7000);
    EXPECT_TRUE(std::equal(page.begin(), page.begin() + 7000, strip.begin() + 8000));
    EXPECT_EQ(page[7000], 0x7777);
    EXPECT_EQ(m_doc->GetRhythmWaveRange(0, 15000, 10, page.data(), -1), 0);
    EXPECT_EQ(m_doc->GetRhythmWaveRange(0, -1, 10, page.data(), -1), 0);
    EXPECT_EQ(m_doc->GetRhythmWaveTotalPage(0x7FFFFFFF, 2), 0);
    EXPECT_EQ(m_doc->GetRhythmWaveTotalPage(-200, 2), 0);
    m_doc->SetSpeed(0.0f);
    EXPECT_EQ(m_doc->GetRhythmWaveTotalPage(200, 2), 0);

    // An empty strip shows one empty page (last index 0, never -1), and a stray odd byte is no sample.
    const RhythmFiles empty = WriteRhythm(m_dir, "empty", Shape(1, 10.0, 10), [](RecordBuilder& b) {
        b.SetRaw(rec::kTagLeadSamples, 0, {});
        b.SetRaw(rec::kTagLeadSamples, 1, {1, 2, 3});
    });
    CRhythmViewDoc doc;
    ASSERT_EQ(Open(doc, empty, 1), 0);
    EXPECT_EQ(doc.GetRhythmWaveTotalPage(200, 0), 0);
    EXPECT_EQ(doc.GetRhythmWaveData(1, nullptr, -1), 2);
    EXPECT_EQ(RhythmWave(doc, 1).size(), 1u);
}

TEST_F(RhythmDocument, ARecordWithoutTheReadersBlobKeepsTheHostsItem)
{
    // A record without the reader's blob cannot be read: the image goes, the
    // host's item stays listed. One without a kind keeps the item's kind.
    const RhythmFiles noBlob = WriteRhythm(m_dir, "noblob", Shape(1, 10.0, 10), [](RecordBuilder& b) {
        b.Remove(rec::kTagBlob1, 0);
        b.Remove(rec::kTagRecordKind, 0);
    });
    AddItem(*m_doc, noBlob, 1)->nKind = 7;
    EXPECT_EQ(testsupport::OpenRecord(*m_doc, noBlob), 255);
    const _RHYTHMDATAITEM* kept = m_doc->GetRhythmDataManager()->GetItem(0);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->pECGData, nullptr);
    EXPECT_EQ(kept->nKind, 7);
    EXPECT_EQ(kept->uSystemCode, 10u);
}

TEST_F(RhythmDocument, NoMemoryForTheReadersBlobFailsTheOpenButKeepsTheHostsItem)
{
    // The blob's block cannot be had: the opening fails saying so, the host's
    // item keeps its image without the blob and opens once memory is back.
    const RhythmFiles files = WriteRhythm(m_dir, "tight", Shape(1, 10.0, 10));
    _RHYTHMDATAITEM* added = AddItem(*m_doc, files, 1);
    platform::ui::MessageBoxRecorder boxes;
    platform::SetHeapFailureCountdown(2);   // the image, then the blob
    const int opened = testsupport::OpenRecord(*m_doc, files);
    platform::SetHeapFailureCountdown(0);
    EXPECT_EQ(opened, 255);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_NE(boxes.Last().text.Find(L"not enough memory"), -1);
    ASSERT_EQ(m_doc->GetRhythmDataManager()->GetItem(0), added) << "the host's item was deleted";
    ASSERT_NE(added->pECGData, nullptr);
    EXPECT_EQ(+added->pECGData->pBlob3836, nullptr);
    m_doc->SetCurDataIndex(added->nID);
    EXPECT_EQ(m_doc->GetRhythmWaveData(0, nullptr, -1), 0);
    ASSERT_EQ(testsupport::OpenRecord(*m_doc, files), 0);
    EXPECT_GT(m_doc->GetRhythmWaveData(0, nullptr, -1), 0);
}

TEST_F(RhythmDocument, OneLeadStripTakesOnlyLeadsTheRecordHas)
{
    CRhythmViewDoc& doc = *m_doc;
    // Without a record: 0 to 14, the 15-lead ones as the offset.
    EXPECT_FALSE(doc.SetRhythm1LeadID(15));
    EXPECT_TRUE(doc.SetRhythm1LeadID(13));
    EXPECT_EQ(doc.GetRhythm1LeadID(), 0);

    const RhythmFiles files = WriteRhythm(m_dir, "r15", Shape(15, 4.0, 10));
    ASSERT_EQ(Open(files, 15), 0);
    EXPECT_TRUE(doc.SetRhythm1LeadID(13));
    EXPECT_EQ(doc.GetRhythm1LeadID(), 13);
    EXPECT_EQ(static_cast<CTavrionDoc&>(doc).GetRhythm1LeadID(), 13);   // the base's copy follows
    EXPECT_TRUE(doc.SetRhythm1LeadID(4));
    EXPECT_EQ(doc.GetRhythm1LeadID(), 4);
    EXPECT_FALSE(doc.SetRhythm1LeadID(15));
    EXPECT_FALSE(doc.SetRhythm1LeadID(-1));

    Item()->nLeadCount = 3;
    EXPECT_EQ(doc.GetRhythm1LeadID(), 0);
    EXPECT_FALSE(doc.SetRhythm1LeadID(3));
    EXPECT_TRUE(doc.SetRhythm1LeadID(2));
    EXPECT_EQ(doc.GetRhythm1LeadID(), 2);
    Item()->nLeadCount = 1;
    EXPECT_EQ(doc.GetRhythm1LeadID(), 0);
}

TEST_F(RhythmDocument, SenseModesDependOnTheLeadCount)
{
    const RhythmFiles files = WriteRhythm(m_dir, "sense", Shape(3, 10.0, 10));
    ASSERT_EQ(Open(files, 3), 0);
    CRhythmViewDoc& doc = *m_doc;
    doc.SetSenseMode(2);
    EXPECT_EQ(doc.GetSenseMode(), 1u);   // three leads know modes 1 and 3 only
    Item()->nLeadCount = 12;
    EXPECT_EQ(doc.GetSenseMode(), 2u);

    // In the record's own mode its sensitivity rules every group.
    Item()->fRecordSense = 5.0f;
    doc.SetSenseMode(3);
    EXPECT_EQ(doc.GetSense(0, 0), 5.0f);
    EXPECT_EQ(doc.GetSense(6, 1), 5.0f);
    EXPECT_EQ(doc.GetSense(9, 0), 5.0f);   // a short strip takes it too
    EXPECT_EQ(doc.GetSense(3, 0), 0.0f);

    // A sensitivity the user picks ends it and keeps what was shown.
    doc.SetSense(1, 20.0f, 1);
    EXPECT_EQ(doc.GetSenseMode(), 1u);
    EXPECT_EQ(doc.GetSense(1, 0), 20.0f);
    EXPECT_EQ(ReadXmlValue(files.xml, REFERENCE_SETTING_PATH L"/Sensitivity", L"mode"), L"1");
    EXPECT_EQ(ReadXmlValue(files.xml, REFERENCE_SETTING_PATH L"/Sensitivity/Limb"), L"5.00");
    doc.SetSense(0, 40.0f, 0);
    doc.SetSense(0, 2.5f, 0);
    doc.InitialSense();
    EXPECT_EQ(doc.GetSense(0, 0), 2.5f);
}

TEST_F(RhythmDocument, OpensMitBih100WholeAndPagesThroughIt)
{
    REQUIRE_SHARED_DATA(header, "physionet/mitdb/100.hea");
    const std::string record = header.substr(0, header.size() - 4);
    RhythmFiles files{m_dir.File("100.ecg"), m_dir.File("100.xml")};
    std::ostringstream out, err;
    ASSERT_EQ(RunMkrecord({"wfdb", "--record", record, "--kind", "rhythm", "--out", files.record}, out, err), 0)
        << err.str();
    RecordXmlSource source;
    std::string error;
    ASSERT_TRUE(ReadRecordXmlSource(files.record, &source, &error)) << error;
    WriteRecordXml(files.xml, source, RecordXmlOptions());

    // The maker keeps the first of the two signals: a one-lead record.
    ASSERT_EQ(Open(files, 1), 0);
    const _RHYTHMDATAITEM* item = Item();
    // 650000 samples at 360 Hz are 1805.6 s: 902777 samples at 500 Hz.
    const int samples = m_doc->GetRhythmWaveData(0, nullptr, -1) / 2;
    EXPECT_NEAR(samples, 902777, 2);
    EXPECT_EQ(item->nEventCount, 2273);
    EXPECT_EQ(item->arrEvent.GetSize(), 2273);
    EXPECT_EQ(item->stLeadName.nCount, 1);

    // 260 mm rows at 25 mm/s: 5200 samples a row, six rows a page of one lead.
    const int perPage = 5200 * 6;
    const int last = m_doc->GetRhythmWaveTotalPage(260, 0);
    EXPECT_EQ(last, samples / perPage);
    std::vector<short> page(perPage);
    const std::vector<short> strip = RhythmWave(*m_doc, 0);
    EXPECT_EQ(m_doc->GetRhythmWaveRange(0, last * perPage, perPage, page.data(), -1), samples - last * perPage);
    EXPECT_TRUE(std::equal(page.begin(), page.begin() + 100, strip.begin() + last * perPage));
}
