// The current item of a waveform view's document, found by the view's kind:
// what each kind of record answers, and nothing for a document of another kind.
#include <gtest/gtest.h>

#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "waveviews/WaveItemRef.h"

namespace {

_RESTDATAITEM* AddRest(CRestViewDoc& doc, unsigned code)
{
    auto* item = doc.GetRestDataManager().AppendItem(testsupport::NewRecordItem<_RESTDATAITEM>("a.ecg", ""));
    item->uSystemCode = code;
    doc.SetCurDataIndex(item->nID);
    return item;
}

TEST(WaveItemRef, ADocumentOfAnotherKindHasNoItemForTheView)
{
    CRestViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    AddRest(doc, 0);
    EXPECT_TRUE(CWaveItemRef::Of(&doc, DOC_TYPE_REST));
    for (int kind : std::initializer_list<int>{DOC_TYPE_FINAL, DOC_TYPE_RHYTHM, DOC_TYPE_RR, DOC_TYPE_EXTRA, DOC_TYPE_EXER,
                                               DOC_TYPE_MFER, 99})
        EXPECT_FALSE(CWaveItemRef::Of(&doc, kind)) << "kind " << kind;
    EXPECT_FALSE(CWaveItemRef::Of(nullptr, DOC_TYPE_REST));
    const CWaveItemRef none = CWaveItemRef::Of(&doc, DOC_TYPE_MFER);
    EXPECT_EQ(0u, none.GetSystemCode());
    EXPECT_TRUE(none.GetLeadName(0).IsEmpty());
    EXPECT_EQ(nullptr, none.GetReader());
}

TEST(WaveItemRef, RestRecordsAreToldByTheLowByteOfTheirSystemCode)
{
    struct Case {
        unsigned code;
        bool fifteen;
        bool extended;
    };
    static const Case kCases[] = {
        // code     15-lead  extended
        {0x0000,    false,   false},
        {0x01FE,    false,   false},   // 254
        {0x00FF,    false,   false},   // 255
        {0x000B,    true,    true},    // 11
        {0x02E2,    true,    true},    // 226
        {0x00E3,    true,    true},    // 227
        {0x001A,    false,   true},    // 26, another extended kind
    };
    CRestViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    _RESTDATAITEM* item = AddRest(doc, 0);
    for (const Case& c : kCases) {
        item->uSystemCode = c.code;
        const CWaveItemRef ref = CWaveItemRef::Of(&doc, DOC_TYPE_REST);
        EXPECT_EQ(c.fifteen, ref.IsFifteenLead()) << std::hex << c.code;
        EXPECT_EQ(c.extended, ref.IsExtendedLead()) << std::hex << c.code;
        EXPECT_EQ(c.code, ref.GetSystemCode());
    }
}

TEST(WaveItemRef, MferFilesHideTheStartTimeOnlyForFullLeadFilesNotRecordedAsRhythm)
{
    CMFERViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    auto* item = doc.GetMFERDataManager()->AppendItem(testsupport::NewRecordItem<_MFERDATAITEM>("a.mwf", ""));
    doc.SetCurDataIndex(item->nID);
    struct Case {
        unsigned code;
        int rhythm;
        bool shown;
        bool fifteen;
        bool extended;
    };
    static const Case kCases[] = {
        // code              rhythm  shown  15-lead extended
        {MFER_KIND_12LEAD,   0,      false, false,  false},
        {MFER_KIND_12LEAD,   1,      true,  false,  false},
        {MFER_KIND_15LEAD,   0,      false, true,   true},
        {MFER_KIND_1LEAD,    0,      true,  false,  true},
        {MFER_KIND_FREEZE1,  0,      true,  false,  true},
    };
    for (const Case& c : kCases) {
        item->uSystemCode = c.code;
        item->bRhythmRecording = c.rhythm;
        const CWaveItemRef ref = CWaveItemRef::Of(&doc, DOC_TYPE_MFER);
        EXPECT_EQ(c.shown, ref.IsStartTimeShown()) << std::hex << c.code;
        EXPECT_EQ(c.fifteen, ref.IsFifteenLead()) << std::hex << c.code;
        EXPECT_EQ(c.extended, ref.IsExtendedLead()) << std::hex << c.code;
        EXPECT_EQ(item->pMFERParser, ref.GetReader());
        EXPECT_EQ(0, ref.GetStartSeconds());
    }
}

TEST(WaveItemRef, RhythmAndRRItemsStartAtTheirRecordedMinuteAndSecond)
{
    CRhythmViewDoc rhythm;
    rhythm.m_bAutoDelete = FALSE;
    auto* strip = rhythm.GetRhythmDataManager()->AppendItem(testsupport::NewRecordItem<_RHYTHMDATAITEM>("r.ecg", ""));
    rhythm.SetCurDataIndex(strip->nID);
    strip->byStartMinute = 12;
    strip->byStartSecond = 34;
    strip->nLeadCount = 15;
    const CWaveItemRef ref = CWaveItemRef::Of(&rhythm, DOC_TYPE_RHYTHM);
    EXPECT_EQ(12 * 60 + 34, ref.GetStartSeconds());
    EXPECT_TRUE(ref.IsFifteenLead());
    EXPECT_TRUE(ref.IsExtendedLead());
    strip->nLeadCount = 12;
    EXPECT_FALSE(CWaveItemRef::Of(&rhythm, DOC_TYPE_RHYTHM).IsExtendedLead());

    CRRViewDoc rr;
    rr.m_bAutoDelete = FALSE;
    auto* rrItem = rr.GetRRDataManager()->AppendItem(testsupport::NewRecordItem<_RRDATAITEM>("rr.ecg", ""));
    rr.SetCurDataIndex(rrItem->nID);
    rrItem->byStartTime[0] = 1;
    rrItem->byStartTime[1] = 2;
    EXPECT_EQ(62, CWaveItemRef::Of(&rr, DOC_TYPE_RR).GetStartSeconds());
}

// Extra-lead records keep their start (tag 3854) and the sensitivity they were
// taken with; the page shows that start and automatic gain starts from that sense.
TEST(WaveItemRef, ExtraItemsStartAtTheirRecordedTimeAndKeepTheirRecordingSense)
{
    CExtraViewDoc extra;
    extra.m_bAutoDelete = FALSE;
    auto* item = extra.GetExtraDataManager()->AppendItem(testsupport::NewRecordItem<_EXTRADATAITEM>("x.ecg", ""));
    extra.SetCurDataIndex(item->nID);
    item->byStartMinute = 3;
    item->byStartSecond = 7;
    item->fRecSense = 20.0f;
    const CWaveItemRef ref = CWaveItemRef::Of(&extra, DOC_TYPE_EXTRA);
    EXPECT_EQ(3 * 60 + 7, ref.GetStartSeconds());
    EXPECT_FLOAT_EQ(20.0f, ref.GetStoredAutoSense());
}

}  // namespace
