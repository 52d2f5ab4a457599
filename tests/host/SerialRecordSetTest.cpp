// The host's series of records for the serial comparison, built from records
// opened as the host opens them: each model-8000 record keeps the flag its
// opener set, and the one-lead comparison of a paced model-8000 record takes
// the fixed-gain path that flag opens.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/DataItem.h"
#include "core/TavrionDoc.h"
#include "documents/RestViewDoc.h"
#include "host/RecordOpening.h"
#include "host/SerialRecordSet.h"
#include "platform/base/CodePage.h"
#include "platform/gdi/Image.h"
#include "tests/host/HostSamples.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/RestRecord.h"
#include "waveviews/ViewSerialComRhy.h"

namespace {

class SerialRecordSetTest : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        testsupport::DocumentTest::SetUp();
        hosttest::MakeRecords({"examinations", m_dir.File("examinations")});
        hosttest::MakeRecords({"samples", m_dir.File("samples")});
    }
    std::string Examination(const std::string& name) const { return m_dir.File("examinations/" + name); }
    std::string Sample(const std::string& name) const { return m_dir.File("samples/" + name); }

    // The series of `files`, opened as the host opens them.
    static bool Build(host::SerialRecordSet& set, const std::vector<std::string>& files, bool markModel8000 = true)
    {
        const host::RecordOpener open = [markModel8000](const std::string& path, std::unique_ptr<CTavrionDoc>& doc) {
            if (!host::OpenForViews(path, doc)) return false;
            // Read as a record of another device: the set copies the opened item's flag.
            if (!markModel8000)
                if (auto* rest = dynamic_cast<CRestViewDoc*>(doc.get())) rest->GetCurrentDataItem()->b8000File = 0;
            return true;
        };
        return set.OpenAll(files, open, false);
    }

    // The first record of the series in the comparison's one-lead style,
    // drawn on screen at a fixed gain; the baseline of its trace.
    static int OneLeadBaselineAtFixedGain(host::SerialRecordSet& set, int height)
    {
        set.rest.SetSenseMode(2);   // the gain the user chose, not fitted
        CViewSerialComRhy view;
        view.SetRestViewDoc(&set.rest);
        view.SetMFERViewDoc(&set.mfer);
        view.SetBaseECGDoc(&set.base);
        view.SetDocType(set.kind);
        view.SetSerialIndex(0);
        view.SetWaveStyle(13, TRUE);
        view.OnUpdate(nullptr, 0, nullptr);
        EXPECT_GT(view.GetLeadSampleCount(0), 0);
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateImageDC(600, height)));
        dc.FillSolidRect(0, 0, 600, height, RGB(255, 255, 255));
        int gridX = 0, gridY = 0;
        view.GetGridCount(gridX, gridY);
        view.DrawSerialComRhyView(&dc, CRect(0, 0, 600, height), gridX, gridY, FALSE, FALSE);
        return view.GetScreenBaseline(0);
    }
};

}  // namespace

TEST_F(SerialRecordSetTest, EachModel8000RecordOfASeriesKeepsTheFlagItsOpenerSetAndNoOtherRecordGetsIt)
{
    host::SerialRecordSet set;
    ASSERT_TRUE(Build(set, {Examination("rest12_pace_80.ecg"), Sample("rest12_90.ecg"), Sample("rest12_80.ecg")}));
    ASSERT_EQ(3, set.count);

    std::vector<int> shared, listed;
    for (_RESTDATAITEM* item = set.rest.GetRestDataManager().GetListHeader(); item; item = item->pNext)
        shared.push_back(item->b8000File);
    for (_DATAITEM* item = set.base.GetDataManager().GetListHeader(); item; item = item->pNext)
        listed.push_back(item->b8000File);
    EXPECT_EQ((std::vector<int>{1, 0, 1}), shared);
    EXPECT_EQ((std::vector<int>{1, 0, 1}), listed);
    // The first record is the shared document's current one: read as a
    // model-8000 record, with its fixed filter and its pacemaker spikes.
    EXPECT_EQ(1, set.rest.Is8000File());
    EXPECT_EQ(100, set.rest.GetFilter());
    EXPECT_EQ(1, set.rest.IfPaceMakerON());
}

TEST_F(SerialRecordSetTest, APacedModel8000RecordOfASeriesIsCentredInItsOneLeadComparisonAtAFixedGain)
{
    // A paced model-8000 record as the examinations' one, its spikes stored
    // as reaching 1.9 mV up and 0.4 mV down in the shown lead.
    morvelance::RestRecordShape shape;
    shape.olderReader = true;
    shape.pacemaker = true;
    shape.heartRate = 66;
    morvelance::RecordBuilder items = morvelance::MakeRestRecord(shape);
    std::vector<int16_t> maxima(12, 1000), minima(12, -1000);
    maxima[0] = 1500;
    minima[0] = -300;
    morvelance::AddRestSpikeExtremes(items, maxima, minima, true);
    const std::string paced =
        morvelance::WriteRestRecord(m_dir.Path(), "rest12_pace_tall_80.ecg", shape, items).record;

    const int height = 300;
    host::SerialRecordSet flagged;
    ASSERT_TRUE(Build(flagged, {paced, Sample("rest12_90.ecg")}));
    // At a fixed gain a paced model-8000 record is not fitted to its spikes:
    // its one lead sits in the middle of the strip.
    EXPECT_EQ(height / 2, OneLeadBaselineAtFixedGain(flagged, height));

    // The same series read as records of another device: the strip is fitted
    // to the stored spike extremes, its baseline lowered to make room for
    // the tall one.
    host::SerialRecordSet unflagged;
    ASSERT_TRUE(Build(unflagged, {paced, Sample("rest12_90.ecg")}, false));
    EXPECT_GT(OneLeadBaselineAtFixedGain(unflagged, height), height / 2 + 30);
}

// A record of another kind is not compared: the base list stays as it was,
// and the records added after it are listed in their order, the first of
// them the current one.
TEST_F(SerialRecordSetTest, ARecordOfAnotherKindLeavesTheListAsItWasAndTheNextRecordIsListedFirst)
{
    host::SerialRecordSet set;
    std::unique_ptr<CTavrionDoc> rr, rest, second;
    ASSERT_TRUE(host::OpenForViews(Sample("rr_90.ecg"), rr));
    ASSERT_TRUE(host::OpenForViews(Sample("rest12_90.ecg"), rest));
    ASSERT_TRUE(host::OpenForViews(Sample("rest12_80.ecg"), second));
    for (CTavrionDoc* doc : {rr.get(), rest.get(), second.get()}) doc->m_bAutoDelete = FALSE;

    EXPECT_FALSE(set.Add(rr.get()));
    EXPECT_EQ(0, set.count);
    EXPECT_EQ(nullptr, set.base.GetDataManager().GetListHeader());
    EXPECT_FALSE(set.failed);   // not a failure: a record the comparison does not take

    ASSERT_TRUE(set.Add(rest.get()));
    ASSERT_TRUE(set.Add(second.get()));
    std::vector<std::string> listed;
    std::vector<int> ids;
    for (_DATAITEM* item = set.base.GetDataManager().GetListHeader(); item; item = item->pNext) {
        const std::string path = platform::ToUtf8(item->strFilePath.GetString());
        listed.push_back(path.substr(path.rfind('/') + 1));
        ids.push_back(item->nID);
        EXPECT_EQ(1, item->bLoaded);
    }
    EXPECT_EQ((std::vector<std::string>{"rest12_90.ecg", "rest12_80.ecg"}), listed);
    EXPECT_EQ((std::vector<int>{0, 1}), ids);
    EXPECT_EQ(0, set.base.GetCurDataIndex());
    EXPECT_EQ(DOC_TYPE_REST, set.kind);
}
