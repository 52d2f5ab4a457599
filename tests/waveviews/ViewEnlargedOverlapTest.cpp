// The enlarged overlap view on resting records of the record maker: which
// beat lands where (alignment on the reference sample, switched off by an
// MFER record, unshifted after an empty first window), the fixed window of
// model-8000 records, and its readings and pans.
#include <gtest/gtest.h>

#include <functional>

#include "core/DataItem.h"
#include "tests/waveviews/EnlargedViewTestSupport.h"
#include "tools/RecordBuilder.h"
#include "tools/RecordTags.h"
#include "tools/RestRecord.h"
#include "waveviews/ViewEnlargedOverlap.h"

namespace rec = morvelance::rec;

namespace {

const int kWidth = 400;
const int kHeight = 200;
const COLORREF kSecond = RGB(255, 0, 0);   // slot 1's trace
// 100 squares at 25 mm/s are 2000 samples over 400 px: a sample is 0.2 px.
const int kShift = 50;                     // samples: 10 px
const int kShiftPixels = 10;

class EnlargedOverlapTest : public enlargedtest::EnlargedViewFixture<CViewEnlargedOverlap> {
protected:
    void SetUp() override
    {
        EnlargedViewFixture::SetUp();
        m_doc.SetWaveColor(6, kSecond);
        m_base.m_bAutoDelete = FALSE;
    }

    // A maker record, changed by `tweak`, opened in the resting document and
    // listed in the comparing one.
    void AddCompared(const std::string& name, const std::function<void(morvelance::RecordBuilder&)>& tweak = nullptr,
                     bool model8000 = false)
    {
        morvelance::RestRecordShape shape;
        shape.olderReader = model8000;
        morvelance::RecordBuilder items = morvelance::MakeRestRecord(shape);
        if (tweak) tweak(items);
        const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(m_dir.Path(), name, shape, items);
        _RESTDATAITEM* item = AddItem(files, model8000);
        ASSERT_EQ(0, Open(item));
        List(item->uSystemCode, item->strFilePath, item->strXMLPath);
    }
    void List(unsigned systemCode, const CString& file, const CString& xml)
    {
        auto* listed = new _DATAITEM;
        listed->uSystemCode = systemCode;
        listed->strFilePath = file;
        listed->strXMLPath = xml;
        m_base.GetDataManager().AppendItem(listed);
        m_base.SetCurDataIndex(0);
    }
    // Lead II of the records at `indices` of the comparing list, slot by slot.
    void Show(const std::vector<int>& indices)
    {
        if (!m_view) {
            MakeView(kWidth, kHeight);
            m_view->SetBaseECGDoc(&m_base, DOC_TYPE_REST);
            m_view->SetRestDoc(&m_doc);
            m_view->SetBackGridSize(4.0, 4.0, 1.0);
            m_view->SetSense(10.0f);
            m_view->SetLeadID(1);
        }
        m_view->SetSerialCount(static_cast<int>(indices.size()));
        for (size_t slot = 0; slot < indices.size(); ++slot)
            m_view->SetDataIndex(static_cast<int>(slot), indices[slot]);
        m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
        Move(kWidth - 1, kHeight - 1);
        Paint();
    }
    // The column of the highest pixel of a colour: the R peak; -1 without one.
    int PeakColumn(COLORREF colour)
    {
        CClientDC dc(m_view);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (dc.GetPixel(x, y) == colour) return x;
        return -1;
    }

    CTavrionDoc m_base;
};

// The beat `samples` later in its window, the window and reference with it.
void DelayBeat(morvelance::RecordBuilder& items, int samples)
{
    for (uint32_t lead = 0; lead < static_cast<uint32_t>(rec::kRestLeadCount); ++lead) {
        const std::vector<uint8_t>* item = items.Find(rec::kTagAverageLeadBase + lead, 0);
        if (!item) continue;
        std::vector<int16_t> beat = morvelance::ItemSamples(*item);
        std::vector<int16_t> delayed(beat.size(), beat.empty() ? 0 : beat.front());
        for (size_t i = static_cast<size_t>(samples); i < beat.size(); ++i) delayed[i] = beat[i - samples];
        items.SetSamples(rec::kTagAverageLeadBase + lead, 0, delayed);
    }
    for (uint32_t tag : {rec::kTagAverageFirst, rec::kTagAverageLast, rec::kTagAverageBaseline}) {
        int16_t value = 0;
        if (const std::vector<uint8_t>* item = items.Find(tag, 0)) morvelance::ItemInt16(*item, &value);
        items.SetInt16(tag, 0, static_cast<int16_t>(std::min<int>(value + samples, rec::kAverageBeatSamples)));
    }
}

void EmptyWindow(morvelance::RecordBuilder& items)
{
    items.SetInt16(rec::kTagAverageFirst, 0, 200);
    items.SetInt16(rec::kTagAverageLast, 0, 200);
}

}  // namespace

TEST_F(EnlargedOverlapTest, ABeatLaterInItsWindowIsShiftedOntoTheFirstRecordsReference)
{
    AddCompared("first");
    AddCompared("later", [](morvelance::RecordBuilder& items) { DelayBeat(items, kShift); });
    Show({0});
    const int first = PeakColumn(enlargedtest::kTrace);
    ASSERT_GE(first, 0);
    Show({1});
    // Alone, in slot 0, the later beat stands where its samples are.
    EXPECT_NEAR(first + kShiftPixels, PeakColumn(enlargedtest::kTrace), 1);
    Show({0, 1});
    EXPECT_NEAR(first, PeakColumn(kSecond), 1);
}

TEST_F(EnlargedOverlapTest, IdenticalBeatsCoincideWhateverTheirWindowStarts)
{
    AddCompared("first");
    AddCompared("narrower", [](morvelance::RecordBuilder& items) {
        items.SetInt16(rec::kTagAverageFirst, 0, 120);
    });
    Show({0});
    const int first = PeakColumn(enlargedtest::kTrace);
    Show({0, 1});
    EXPECT_NEAR(first, PeakColumn(kSecond), 1);
}

TEST_F(EnlargedOverlapTest, OneMferRecordAmongTheSlotsTurnsTheAlignmentOffForAll)
{
    AddCompared("first");
    AddCompared("later", [](morvelance::RecordBuilder& items) { DelayBeat(items, kShift); });
    List(0x8001, CString(L"beat.mwf"), CString());
    Show({0});
    const int first = PeakColumn(enlargedtest::kTrace);
    Show({0, 1, 2});
    EXPECT_NEAR(first + kShiftPixels, PeakColumn(kSecond), 1);
    // The MFER record without a document to read it from stays empty.
    EXPECT_FALSE(m_view->HasSamples(2));
}

TEST_F(EnlargedOverlapTest, AnEmptyFirstWindowLeavesEveryOtherBeatUnshifted)
{
    AddCompared("empty", EmptyWindow);
    AddCompared("later", [](morvelance::RecordBuilder& items) { DelayBeat(items, kShift); });
    Show({1});
    const int alone = PeakColumn(enlargedtest::kTrace);
    Show({0, 1});
    EXPECT_EQ(0, m_view->GetWindowLength(0));
    EXPECT_NEAR(alone, PeakColumn(kSecond), 1);
    EXPECT_EQ(-1, PeakColumn(enlargedtest::kTrace));
}

TEST_F(EnlargedOverlapTest, AModel8000RecordAlwaysShowsSamplesZeroTo599)
{
    AddCompared("model8000", [](morvelance::RecordBuilder& items) {
        items.SetInt16(rec::kTagAverageFirst, 0, 300);
        items.SetInt16(rec::kTagAverageLast, 0, 310);
    }, true);
    Show({0});
    EXPECT_EQ(0, m_view->GetWindowStart(0));
    EXPECT_EQ(600, m_view->GetWindowLength(0));
    // 600 samples are 120 px, from the left of the 30-square frame (140 px in).
    const auto span = TraceColumns();
    EXPECT_NEAR(140, span.first, 1);
    EXPECT_NEAR(260, span.second, 2);
}

TEST_F(EnlargedOverlapTest, AWindowReachingOutsideTheBeatIsKeptToTheSamplesRead)
{
    AddCompared("wide", [](morvelance::RecordBuilder& items) {
        items.SetInt16(rec::kTagAverageFirst, 0, -100);
        items.SetInt16(rec::kTagAverageLast, 0, 30000);
    });
    Show({0, 7});
    EXPECT_EQ(0, m_view->GetWindowStart(0));
    EXPECT_EQ(rec::kAverageBeatSamples, m_view->GetWindowLength(0));
    // A slot whose record is not in the list stays empty.
    EXPECT_FALSE(m_view->HasSamples(1));
    EXPECT_NE(-1, TraceColumns().first);
}

// The beats are drawn at the sensitivity the view was given (10 mm/mV), not
// at the document's: this test once read them at the document's 20 mm/mV,
// half the voltage drawn.
TEST_F(EnlargedOverlapTest, ReadingsCountTwentyFiveMillimetresASecondAndTheSensitivityTheBeatsAreDrawnAt)
{
    AddCompared("first");
    m_base.SetSense(6, 20.0f, 0);   // the view's sense id: the other leads
    Show({0});
    // 50 px are 12.5 mm: 500 ms; 40 px are 10 mm: 1 mV at the beats' 10 mm/mV.
    SetMarks(CPoint(100, 50), CPoint(150, 90));
    ASSERT_FALSE(m_recorder.m_readings.empty());
    EXPECT_EQ(std::make_pair(500, 1000), m_recorder.m_readings.back());
}

TEST_F(EnlargedOverlapTest, APanMovesBothOffsetsWithinOneViewEachWay)
{
    AddCompared("first");
    Show({0});
    Drag(CPoint(390, 190), CPoint(10, 30), 4);
    ASSERT_FALSE(m_recorder.m_pans.empty());
    EXPECT_EQ(std::make_pair(380, 160), m_recorder.m_pans.back());
    for (int i = 0; i < 3; ++i) Drag(CPoint(390, 190), CPoint(10, 10), 4);
    EXPECT_EQ(std::make_pair(kWidth, kHeight), m_recorder.m_pans.back());
}

// The compared beats carry no annotations: in the annotation modes a drag
// still pans them and draws no shape.
TEST_F(EnlargedOverlapTest, InTheAnnotationModesADragPansAndDrawsNoShape)
{
    AddCompared("first");
    Show({0});
    ASSERT_EQ(&m_doc, m_view->GetTavrionDoc());
    for (int mode : {2, 3}) {
        m_doc.SetMouseMode(mode);
        m_recorder.m_pans.clear();
        Drag(CPoint(100, 50), CPoint(200, 100), 4);
        EXPECT_FALSE(m_recorder.m_pans.empty()) << mode;
        EXPECT_EQ(0, m_view->GetNotationManager().GetCount()) << mode;
        EXPECT_EQ(nullptr, ::GetCapture()) << mode;
    }
}
