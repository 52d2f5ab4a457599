// Zero lines and gains of a whole page in each sense mode and document kind,
// on leads of known extremes. Expected values are worked out by hand from the
// placement rules for style 9 (six limb rows, one column, 120 squares down)
// on a 960 px page: 8 px a square, 0.01 px per sample unit and mm/mV, so a
// sample of 800 (1 mV) is 8 px per mm/mV; h = 959, pitch 159, least half 80.
#include <gtest/gtest.h>

#include <vector>

#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

// A document of the given class serving every lead as a square wave between
// `high` and `low` sample units.
template <class Doc> class KnownLeadsDoc : public Doc {
public:
    int GetRhythmWaveData(int lead, short* buffer, int) override
    {
        if (lead < 0 || lead >= 12) return 0;
        if (buffer)
            for (int i = 0; i < kSamples; ++i) buffer[i] = static_cast<short>(i % 2 ? low : high);
        return kSamples * static_cast<int>(sizeof(short));
    }
    static const int kSamples = 5000;
    short high = 800;
    short low = -400;
};

void AddCurrentItem(KnownLeadsDoc<CRestViewDoc>& doc)
{
    auto* item = doc.GetRestDataManager().AppendItem(testsupport::NewRecordItem<_RESTDATAITEM>("a.ecg", ""));
    doc.SetCurDataIndex(item->nID);
}

void AddCurrentItem(KnownLeadsDoc<CMFERViewDoc>& doc)
{
    auto* item = doc.GetMFERDataManager()->AppendItem(testsupport::NewRecordItem<_MFERDATAITEM>("a.mwf", ""));
    item->uSystemCode = MFER_KIND_12LEAD;
    doc.SetCurDataIndex(item->nID);
}

void AddCurrentItem(KnownLeadsDoc<CRhythmViewDoc>& doc)
{
    auto* item = doc.GetRhythmDataManager()->AppendItem(testsupport::NewRecordItem<_RHYTHMDATAITEM>("r.ecg", ""));
    item->nLeadCount = 12;
    doc.SetCurDataIndex(item->nID);
}

// The sensitivity each kind of record keeps for automatic gain to start from.
void SetStoredSense(KnownLeadsDoc<CRestViewDoc>& doc, float sense) { doc.GetCurrentDataItem()->fAcqSense = sense; }
void SetStoredSense(KnownLeadsDoc<CMFERViewDoc>& doc, float sense) { doc.GetCurrentDataItem()->fAcqSense = sense; }
void SetStoredSense(KnownLeadsDoc<CRhythmViewDoc>& doc, float sense)
{
    doc.GetCurrentDataItem()->fRecordSense = sense;
}

template <class Doc, int Kind> struct DocKind {
    using Document = KnownLeadsDoc<Doc>;
    static const int kKind = Kind;
};

template <class K> class PagePlacementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_bAutoDelete = FALSE;
        AddCurrentItem(m_doc);
        m_doc.AddView(&m_view);
        m_view.SetDocType(K::kKind);
        m_doc.SetSense(1, 10.0f, 0);
        m_doc.SetSense(0, 10.0f, 0);
    }
    void TearDown() override { m_doc.RemoveView(&m_view); }

    // Places the page of style 9 in the mode; the six limb baselines.
    std::vector<int> Place(UINT mode)
    {
        m_doc.SetSenseMode(mode);
        m_view.SetWaveStyle(9, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        m_view.CalAutoSensPos(CRect(0, 0, 2080, 960), 120, 0);
        std::vector<int> baselines;
        for (int lead = 0; lead < 6; ++lead) baselines.push_back(m_view.GetScreenBaseline(lead));
        return baselines;
    }

    typename K::Document m_doc;
    CViewRhythmWave m_view;
};

using Kinds = ::testing::Types<DocKind<CRestViewDoc, DOC_TYPE_REST>, DocKind<CMFERViewDoc, DOC_TYPE_MFER>,
                               DocKind<CRhythmViewDoc, DOC_TYPE_RHYTHM>>;
TYPED_TEST_SUITE(PagePlacementTest, Kinds);

// The centre of row k of six on 960 px: 960 x (2k + 1) / 12.
const std::vector<int> kRowCentres = {80, 240, 400, 560, 720, 880};

TYPED_TEST(PagePlacementTest, FixedModesPutEveryLeadOnItsRowCentre)
{
    for (UINT mode : {0u, 1u, 3u}) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(kRowCentres, this->Place(mode));
        EXPECT_FLOAT_EQ(10.0f, this->m_doc.GetSense(1, 0));
    }
}

TYPED_TEST(PagePlacementTest, PlacingWithoutChoosingGainsStacksLeadsThatFitAndKeepsTheGain)
{
    // +1 / -0.5 mV at 10 mm/mV: px 120 each, 720 in all: slack 720 - 959 + 8
    // = -231, gap -38.5, centre 20. Baseline k = (5.5 - k) x gap + 20 - 60 - 4 + 959 - 120 x (5 - k).
    for (UINT mode : {2u, 4u}) {
        SCOPED_TRACE(mode);
        EXPECT_EQ((std::vector<int>{103, 261, 420, 578, 737, 895}), this->Place(mode));
        EXPECT_FLOAT_EQ(10.0f, this->m_doc.GetSense(1, 0));
        EXPECT_EQ(mode, this->m_doc.GetSenseMode());
    }
}

TYPED_TEST(PagePlacementTest, PlacingWithoutChoosingGainsLeavesFarTooTallLeadsOnTheirRowCentres)
{
    // +-2 mV at 10 mm/mV: px 320 each, 1920 in all, past 1.5 columns.
    this->m_doc.high = 1600;
    this->m_doc.low = -1600;
    EXPECT_EQ(kRowCentres, this->Place(4));
    EXPECT_FLOAT_EQ(10.0f, this->m_doc.GetSense(1, 0));
}

TYPED_TEST(PagePlacementTest, ChoosingGainsStepsDownTheLadderAndStoresTheGroupsGain)
{
    // +-2 mV: at 10 slack 969, at 5 slack 9, at 2.5 px 80 each, slack -471:
    // stacked at 2.5 with gap -78.5, centre 0: (5.5 - k) x gap - 44 + 959 - 80 x (5 - k).
    this->m_doc.high = 1600;
    this->m_doc.low = -1600;
    EXPECT_EQ((std::vector<int>{83, 241, 400, 558, 717, 875}), this->Place(5));
    EXPECT_FLOAT_EQ(2.5f, this->m_doc.GetSense(1, 0));
    EXPECT_EQ(5u, this->m_doc.GetSenseMode());
}

TYPED_TEST(PagePlacementTest, ChoosingGainsKeepsTenForLeadsThatFitAtTen)
{
    EXPECT_EQ((std::vector<int>{103, 261, 420, 578, 737, 895}), this->Place(5));
    EXPECT_FLOAT_EQ(10.0f, this->m_doc.GetSense(1, 0));
}

TYPED_TEST(PagePlacementTest, ChoosingGainsStartsFromTheGainTheRecordKeeps)
{
    // +0.25 / -0.125 mV: 3 px per mm/mV, so each lead takes the least half
    // (80 px) at 20 mm/mV, 480 in all: stacked at the record's 20 with no step down.
    this->m_doc.high = 200;
    this->m_doc.low = -100;
    SetStoredSense(this->m_doc, 20.0f);
    this->Place(5);
    EXPECT_FLOAT_EQ(20.0f, this->m_doc.GetSense(1, 0));
}

}  // namespace
