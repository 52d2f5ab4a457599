// The RR document opening real record files, serving its strip and pages,
// refusing damaged files, and keeping the RR screens' sensitivity state.
#include <cstring>

#include "core/Helpers.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/documents/RRViewDocFixture.h"
#include "tools/RecordBuilder.h"
#include "tools/RecordTags.h"

using namespace rrtest;
using platform::ui::MessageBoxRecorder;

namespace {

int AnnotationCount(const _RRDATAITEM* item)
{
    int n = 0;
    for (const _ANNOTATION_INFO* info = item->pAnnoHead; info; info = info->pNext) ++n;
    return n;
}

}  // namespace

TEST_F(RRDocTest, OpensARecordAndServesItsFilteredStrip)
{
    std::vector<int16_t> raw;
    RRRecordPlan plan;
    plan.leads = 3;
    plan.tweak = [&](morvelance::RecordBuilder& b) {
        raw = morvelance::ItemSamples(*b.Find(morvelance::rec::kTagRrStripSamples, 1));
    };
    const RRFiles files = Write("rr3", plan);
    Add(files);
    MessageBoxRecorder boxes;
    ASSERT_EQ(0, Open(files));
    EXPECT_EQ(0, boxes.Count());
    ASSERT_EQ(20u * 500u, raw.size());

    // 150 Hz leaves the samples as the record has them.
    m_doc.SetFilter(150);
    m_doc.SetDelBitNoise(0);
    EXPECT_EQ(static_cast<int>(raw.size() * 2), m_doc.GetRhythmWaveData(1, nullptr, -1));
    const std::vector<short> unfiltered = RhythmWave(m_doc, 1, -1);
    ASSERT_EQ(raw.size(), unfiltered.size());
    EXPECT_EQ(0, std::memcmp(raw.data(), unfiltered.data(), raw.size() * 2));

    // A cutoff of the caller's wins over the document's own...
    std::vector<short> expected(raw.begin(), raw.end());
    ASSERT_EQ(1, HiCutFilter(35, expected.data(), static_cast<int>(expected.size())));
    EXPECT_EQ(expected, RhythmWave(m_doc, 1, 35));
    // ...except with the document set to the record's filter (100 in this record).
    m_doc.SetFilter(0);
    expected.assign(raw.begin(), raw.end());
    HiCutFilter(100, expected.data(), static_cast<int>(expected.size()));
    EXPECT_EQ(expected, RhythmWave(m_doc, 1, 35));
    EXPECT_EQ(100, m_doc.GetFilter());

    // Cutoffs the filter does not know, and leads the strip does not have.
    m_doc.SetFilter(40);
    std::vector<short> buffer(raw.size());
    EXPECT_EQ(0, m_doc.GetRhythmWaveData(1, buffer.data(), -1));
    EXPECT_EQ(0, m_doc.GetRhythmWaveData(3, nullptr, -1));
    EXPECT_EQ(0, m_doc.GetRhythmWaveData(-1, nullptr, -1));
    m_doc.SetCurDataIndex(7);
    EXPECT_EQ(0, m_doc.GetRhythmWaveData(0, nullptr, -1));
    EXPECT_EQ(255, m_doc.GetCurrentLeadCount(5));
}

TEST_F(RRDocTest, LastPageIndexFollowsRowLengthSpeedAndLeads)
{
    // Rows of 100 mm at 25 mm/s hold 2000 samples; six rows for one lead
    // make a page of 12000 samples (24 s).
    RRRecordPlan plan;
    plan.seconds = 48.0;
    const RRFiles two = Write("two", plan);
    _RRDATAITEM* item = Add(two);
    ASSERT_EQ(0, Open(two));
    m_doc.SetSpeed(25.0f);
    EXPECT_EQ(1, m_doc.GetRhythmWaveTotalPage(100, 0));
    EXPECT_EQ(3, m_doc.GetRhythmWaveTotalPage(50, 0));
    item->nLeadCount = 3;   // the same rows shared by three leads: 4000 samples a page
    EXPECT_EQ(5, m_doc.GetRhythmWaveTotalPage(100, 0));
    item->nLeadCount = 0;
    EXPECT_EQ(0, m_doc.GetRhythmWaveTotalPage(100, 0));
    item->nLeadCount = 1;
    m_doc.SetSpeed(0.0f);
    EXPECT_EQ(0, m_doc.GetRhythmWaveTotalPage(100, 0));

    plan.seconds = 49.0;
    const RRFiles more = Write("more", plan);
    Add(more);
    ASSERT_EQ(0, Open(more));
    m_doc.SetSpeed(25.0f);
    EXPECT_EQ(2, m_doc.GetRhythmWaveTotalPage(100, 0));

    // A record without its strip items shows one empty page: the last index is 0, never -1.
    plan.tweak = [](morvelance::RecordBuilder& b) { b.Remove(morvelance::rec::kTagRrStripSamples, 0); };
    const RRFiles empty = Write("empty", plan);
    Add(empty);
    ASSERT_EQ(0, Open(empty));
    EXPECT_EQ(0, m_doc.GetRhythmWaveData(0, nullptr, -1));
    EXPECT_EQ(0, m_doc.GetRhythmWaveTotalPage(100, 0));
}

TEST_F(RRDocTest, ARecordWithoutTheReadersBlobOpensWithAnEmptyStrip)
{
    RRRecordPlan plan;
    plan.tweak = [](morvelance::RecordBuilder& b) { b.Remove(morvelance::rec::kTagBlob1, 0); };
    const RRFiles files = Write("noblob", plan);
    Add(files);
    ASSERT_EQ(0, Open(files));
    EXPECT_EQ(0, m_doc.GetRhythmWaveData(0, nullptr, -1));
    EXPECT_GT(m_doc.GetCurrentDataItem()->nRRListCount, 0);

    // An empty blob counts as none.
    plan.tweak = [](morvelance::RecordBuilder& b) { b.SetRaw(morvelance::rec::kTagBlob1, 0, {}); };
    const RRFiles emptyBlob = Write("emptyblob", plan);
    Add(emptyBlob);
    EXPECT_EQ(0, Open(emptyBlob));
    EXPECT_EQ(0, m_doc.GetRhythmWaveData(0, nullptr, -1));
}

TEST_F(RRDocTest, NoMemoryForTheReadersBlobFailsTheOpenButKeepsTheHostsItem)
{
    // The blob's block cannot be had: the opening fails (with the memory
    // message), the item the host listed stays and opens once memory is back.
    const RRFiles files = Write("tight");
    const int id = Add(files)->nID;
    platform::ui::MessageBoxRecorder boxes;
    platform::SetHeapFailureCountdown(2);
    const int opened = Open(files);
    platform::SetHeapFailureCountdown(0);
    EXPECT_EQ(255, opened);
    ASSERT_EQ(1, boxes.Count());
    EXPECT_NE(-1, boxes.Last().text.Find(L"not enough memory"));
    ASSERT_NE(nullptr, m_doc.GetRRDataManager()->GetItem(id)) << "the host's item was deleted";
    EXPECT_EQ(0, Open(files));
    EXPECT_GT(m_doc.GetRhythmWaveData(0, nullptr, -1), 0);
}

TEST_F(RRDocTest, ReopeningReplacesWhatTheItemHeld)
{
    const RRFiles files = Write("again");
    _RRDATAITEM* item = Add(files);
    ASSERT_EQ(0, Open(files));
    const int annotations = AnnotationCount(item);
    const int intervals = item->nRRListCount;
    EXPECT_GT(annotations, 1);
    ASSERT_EQ(0, Open(files));
    EXPECT_EQ(item, m_doc.GetCurrentDataItem());
    EXPECT_EQ(annotations, AnnotationCount(item));
    EXPECT_EQ(intervals, item->nRRListCount);
    ASSERT_EQ(0, m_doc.GetDataInfoFromXMLFile(item));
    EXPECT_EQ(annotations, AnnotationCount(item));
    EXPECT_EQ(255, m_doc.GetDataInfoFromXMLFile(nullptr));
}

TEST_F(RRDocTest, DamagedRecordOfAnItemWithAThirdKeyKeepsNoImage)
{
    const RRFiles good = Write("good");
    const std::string bytes = testsupport::ReadFileBytes(good.record);
    // A truncated record whose item carries a third key: the delete does not
    // reach it, and it must not keep the released image.
    RRFiles cut{m_dir.Write("cut.ecg", bytes.substr(0, bytes.size() / 2)), good.xml};
    _RRDATAITEM* item = Add(cut);
    item->strThirdKey = L"other";
    EXPECT_EQ(255, Open(cut));
    EXPECT_EQ(item, m_doc.GetCurrentDataItem());
    EXPECT_EQ(nullptr, item->pECGData);
    EXPECT_EQ(0, m_doc.GetRhythmWaveData(0, nullptr, -1));
}

TEST_F(RRDocTest, RRScreensFollowTheRecordsSensitivityAndRefuseZero)
{
    const RRFiles files = Write("sense");
    _RRDATAITEM* item = Add(files);
    ASSERT_EQ(0, Open(files));
    item->fAcqSense = 20.0f;

    m_doc.SetSenseMode(2);
    EXPECT_EQ(1u, m_doc.GetSenseMode());
    m_doc.SetSense(6, 5.0f, 0);
    EXPECT_EQ(5.0f, m_doc.GetCommonSense(0));
    m_doc.SetSense(6, 0.0f, 0);    // the views divide by it
    m_doc.SetSense(6, -2.5f, 0);
    EXPECT_EQ(5.0f, m_doc.GetCommonSense(0));

    // Modes 3 and 4 follow the record's own sensitivity.
    m_doc.SetSenseMode(3);
    EXPECT_EQ(20.0f, m_doc.GetCommonSense(1));
    EXPECT_EQ(20.0f, m_doc.GetCommonSense(0));

    // A change with adjustment leaves mode 3 for 1 and stores it at once.
    m_doc.SetSense(0, 5.0f, 1);
    EXPECT_EQ(1u, m_doc.GetSenseMode());
    EXPECT_EQ(1u, m_doc.WorkingSenseMode());
    EXPECT_EQ(5.0f, m_doc.GetSense(0, 0));
    EXPECT_EQ(CString(L"1"), ReadXmlValue(files.xml, L"/Rawdata/Assist_info/Reference/Setting/Sensitivity", L"mode"));

    m_doc.SetSense(6, 40.0f, 0);
    m_doc.SetSense(6, 2.5f, 0);
    m_doc.InitialSense();
    EXPECT_EQ(2.5f, m_doc.GetCommonSense(0));
    m_doc.SetSense(3, 7.0f, 0);
    EXPECT_EQ(10.0f, m_doc.GetSense(3, 0));
}

TEST(RRFormatString, EqualValuesDropTheParenthesisedPart)
{
    CRRViewDoc doc;
    EXPECT_EQ(CString(L"HR  "), doc.FormatString(L"HR (bpm)", 60, 60));
    EXPECT_EQ(CString(L"HR (bpm)"), doc.FormatString(L"HR (bpm)", 60, 61));
    EXPECT_EQ(CString(L" RR"), doc.FormatString(L"RR", 1, 1));
    EXPECT_EQ(CString(L"CV  "), doc.FormatString(L"CV (%%)", CString(L"a"), CString(L"a")));
    EXPECT_EQ(CString(L"CV (%)"), doc.FormatString(L"CV (%%)", CString(L"a"), CString(L"A")));
    // The caller's text is never a format: its specifiers stay as they are.
    EXPECT_EQ(CString(L"%s %d %n"), doc.FormatString(L"%s %d %n", 1, 2));
}
