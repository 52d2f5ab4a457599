// Master-step records: the device items the master-step document reads, and
// the comparison and trend sections of their record XML.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "tools/EcgModel.h"
#include "tools/MasterStepRecord.h"
#include "tests/support/TestSupport.h"

using namespace morvelance;

namespace {

EcgRecord Beats(double heartRate)
{
    SynthOptions synth;
    synth.heartRate = heartRate;
    return Synthesize(synth);
}

std::vector<uint8_t> Item(const MasterStepRecord& record, uint32_t tag, uint32_t index)
{
    const std::vector<uint8_t>* item = record.items.Find(tag, index);
    return item ? *item : std::vector<uint8_t>();
}

}  // namespace

TEST(MasterStepRecord, HoldsTheBeatsAndTimesTheDocumentReads)
{
    MasterStepOptions options;
    options.descentTable = 2;
    options.filterFixed = true;
    const MasterStepRecord record = MakeMasterStepRecord(Beats(66), {Beats(120), Beats(90)}, options);

    uint16_t code = 0;
    ASSERT_TRUE(ItemUInt16(Item(record, rec::kTagSystemCode, 0), &code));
    EXPECT_EQ(code, 243);
    EXPECT_EQ(ItemSamples(Item(record, rec::kTagMasterRestAverage, 0)), record.restBlock);
    ASSERT_EQ(record.restBlock.size(), 7200u);
    ASSERT_EQ(record.loadBlocks.size(), 2u);
    EXPECT_EQ(ItemSamples(Item(record, rec::kTagMasterLoadAverage, 1)), record.loadBlocks[1]);
    EXPECT_FALSE(record.items.Has(rec::kTagMasterLoadAverage, 2));
    EXPECT_EQ(ItemSamples(Item(record, rec::kTagMasterDescentAverage, 0)), record.loadBlocks[1]);
    EXPECT_EQ(Item(record, rec::kTagMasterLoadTime, 1), (std::vector<uint8_t>{3, 0}));
    EXPECT_EQ(Item(record, rec::kTagMasterDescentTime, 0), (std::vector<uint8_t>{3, 0}));
    const std::vector<uint8_t> filter = Item(record, rec::kTagMasterFilterFixed, 0);
    ASSERT_EQ(filter.size(), 64u);
    EXPECT_EQ(filter[0], 1);
    EXPECT_TRUE(record.items.Has(rec::kTagAdditionsPresent, 0));

    // The beats are those of the recordings: faster after the load, and the
    // depression laid on the post-load beats lowers their ST segment.
    EXPECT_GT(record.loadHeartRates[0], record.restHeartRate + 30);
    MasterStepOptions flat = options;
    flat.stDepression = {0, 0};
    const MasterStepRecord plain = MakeMasterStepRecord(Beats(66), {Beats(120), Beats(90)}, flat);
    EXPECT_NEAR(plain.loadST[0][6] - record.loadST[0][6], 150, 1);   // V5, record lead 6
    EXPECT_EQ(plain.loadST[0][0], record.loadST[0][0]);         // lead I stays
}

TEST(MasterStepRecord, RefusesWhatIsNoMasterStepRecord)
{
    MasterStepOptions options;
    options.systemCode = 0;
    EXPECT_THROW(MakeMasterStepRecord(Beats(66), {Beats(100)}, options), std::invalid_argument);
}

TEST(MasterStepRecord, TheComparisonCountFollowsTheRecordingsFromNoneToTwoPages)
{
    MasterStepOptions options;
    options.descentTable = 0;
    const MasterStepRecord none = MakeMasterStepRecord(Beats(66), {}, options);
    EXPECT_TRUE(none.loadBlocks.empty());
    EXPECT_FALSE(none.items.Has(rec::kTagMasterLoadAverage, 0));
    EXPECT_FALSE(none.items.Has(rec::kTagMasterDescentAverage, 0));
    const std::unique_ptr<XmlElement> noneXml = MakeMasterStepXml(none, RecordXmlOptions());
    EXPECT_EQ(*noneXml->Find("Tavrion/Report/Cmp_load")->Attribute("count"), "0");

    options.descentTable = 5;
    const MasterStepRecord five =
        MakeMasterStepRecord(Beats(66), {Beats(120), Beats(110), Beats(100), Beats(90), Beats(80)}, options);
    ASSERT_EQ(five.loadBlocks.size(), 5u);
    EXPECT_EQ(ItemSamples(Item(five, rec::kTagMasterDescentAverage, 0)), five.loadBlocks[4]);
    const std::unique_ptr<XmlElement> xml = MakeMasterStepXml(five, RecordXmlOptions());
    const XmlElement* load = xml->Find("Tavrion/Report/Cmp_load");
    EXPECT_EQ(*load->Attribute("count"), "5");
    EXPECT_EQ(*load->Attribute("descent_table"), "5");
    EXPECT_EQ(load->Count("Cmp_load_element"), 5u);
}

TEST(MasterStepRecord, ALongTrendCarriesAClearedFlagAndAMissingST)
{
    MasterStepOptions options;
    options.trendPoints = 14;
    options.trendStepSeconds = 30;
    options.clearedTrendPoint = 3;
    options.missingStTrendPoint = 4;
    const MasterStepRecord record = MakeMasterStepRecord(Beats(66), {Beats(120)}, options);
    const std::unique_ptr<XmlElement> root = MakeMasterStepXml(record, RecordXmlOptions());
    const XmlElement* trend = root->Find("Tavrion/Report/Summary_trend");
    ASSERT_NE(trend, nullptr);
    const XmlElement* times = trend->Find("Trend_time");
    ASSERT_NE(times, nullptr);
    EXPECT_EQ(times->Children().back()->Text(), "390");   // past 360 s
    const auto& status = trend->Find("Status")->Children();
    EXPECT_EQ(*status[3]->Attribute("data"), "0");
    EXPECT_EQ(*status[4]->Attribute("data"), "1");
    const auto& points = trend->Find("Trend")->Children();
    for (const auto& value : points[4]->Children()) EXPECT_EQ(*value->Attribute("data"), "-32768");
    EXPECT_NE(*points[5]->Children()[0]->Attribute("data"), "-32768");
}

TEST(MasterStepRecord, XmlCarriesComparisonsAndTrend)
{
    MasterStepOptions options;
    options.trendPoints = 40;
    options.declaredLoadCount = 9;
    const MasterStepRecord record = MakeMasterStepRecord(Beats(66), {Beats(120), Beats(100), Beats(80)}, options);
    const std::unique_ptr<XmlElement> root = MakeMasterStepXml(record, RecordXmlOptions());
    const XmlElement* load = root->Find("Tavrion/Report/Cmp_load");
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(*load->Attribute("count"), "9");
    EXPECT_EQ(load->Count("Cmp_load_element"), 3u);
    const XmlElement* trend = root->Find("Tavrion/Report/Summary_trend/Trend");
    ASSERT_NE(trend, nullptr);
    EXPECT_EQ(trend->Count("Trend_element"), 40u);
    const XmlElement* stm = root->Find("Tavrion/Report/Cmp_rest/Stm");
    ASSERT_NE(stm, nullptr);
    EXPECT_EQ(stm->Count("Stm_element"), 12u);
    EXPECT_NE(root->Find("Tavrion/Record/Mstep_section/Trip_info"), nullptr);

    RecordXmlOptions omit;
    omit.omit.push_back(XmlSection::Report);
    EXPECT_EQ(MakeMasterStepXml(record, omit)->Find("Tavrion/Report/Cmp_rest"), nullptr);
}

TEST(MasterStepRecord, SamplesAreWrittenWithTheirXml)
{
    testsupport::TempDir dir;
    const std::string ptb = testsupport::SharedData("physionet/ptb/s0010_re.hea");
    const std::string stem = ptb.empty() ? std::string() : ptb.substr(0, ptb.size() - 4);
    const std::vector<std::string> paths = WriteMasterStepSamples(dir.Path(), stem);
    ASSERT_EQ(paths.size(), ptb.empty() ? 1u : 2u);
    int xmls = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        xmls += entry.path().extension() == ".xml" ? 1 : 0;
    EXPECT_EQ(xmls, static_cast<int>(paths.size()));
    for (const std::string& path : paths) {
        RecordXmlSource source;
        std::string error;
        ASSERT_TRUE(ReadRecordXmlSource(path, &source, &error)) << error;
        EXPECT_TRUE((source.systemCode & 0xFF) == 243 || (source.systemCode & 0xFF) == 244);
    }
}
