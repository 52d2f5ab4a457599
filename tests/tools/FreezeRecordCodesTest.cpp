// The electrode codes of the freeze records the record maker writes: each
// lead's item 4097 read back through the newer reader, and the code the
// record XML names the lead by.
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/platform/zarn/ZarnTestUtil.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/XmlTestUtil.h"
#include "tools/ExtraRecord.h"
#include "tools/Mkrecord.h"
#include "tools/RecordTags.h"

using namespace morvelance;
using zarntest::AsInt16;

namespace {

const char kFreezeNames[] = "/Rawdata/Tavrion/Wave/Extend_section/Freeze_info/Lead_info/Lead_name";

// The XML the maker wrote beside a record of the folder: its stem, 14 digits, ".xml".
std::string XmlOf(const std::string& folder, const std::string& stem)
{
    for (const std::string& name : testsupport::FolderEntries(folder))
        if (name.size() == stem.size() + 18 && name.compare(0, stem.size(), stem) == 0 &&
            name.find_first_not_of("0123456789", stem.size()) == name.size() - 4)
            return folder + "/" + name;
    return std::string();
}

// Item 4097 of leads 0 to 5; an empty value for a lead without one.
std::vector<std::vector<int16_t>> Codes(const zarntest::ReaderLib& reader, const std::string& record)
{
    zarntest::Image image = zarntest::ImageOfFile(record);
    std::vector<std::vector<int16_t>> codes;
    EXPECT_NE(reader.Probe(image.image()), 0) << record;
    for (unsigned lead = 0; lead < 6; ++lead) {
        codes.push_back(AsInt16(reader.Item(image.image(), rec::kTagElectrodeCode, lead)));
        // Every lead keeps its samples, whether it has a code or not.
        EXPECT_EQ(reader.Get(image.image(), rec::kTagLeadSamples, lead, nullptr, 0), 10000) << lead;
    }
    return codes;
}

TEST(FreezeRecordCodes, TheExaminationsHoldAFreezeRecordWithEveryKindOfElectrodeCode)
{
    ZARN_LOAD_READERS(r90, r80);
    testsupport::TempDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(RunMkrecord({"examinations", dir.Path()}, out, err), 0) << err.str();

    // Free leads at 119 and 124, V4R and V9 by their own codes, 125 past the
    // free leads, and lead 3 without a code.
    const std::vector<std::vector<int16_t>> mixed = {{119}, {12}, {124}, {}, {125}, {67}};
    EXPECT_EQ(Codes(r90, dir.File("freeze_mixed_90.ecg")), mixed);
    const xmltest::Doc xml(XmlOf(dir.Path(), "freeze_mixed_90"));
    ASSERT_TRUE(xml.ok());
    EXPECT_EQ(xml.Values(std::string(kFreezeNames) + "/@code"),
              (std::vector<std::string>{"119", "12", "124", "0", "125", "67"}));

    // The other freeze record's leads are all free leads, EXT1 to EXT6.
    const std::vector<std::vector<int16_t>> free = {{119}, {120}, {121}, {122}, {123}, {124}};
    EXPECT_EQ(Codes(r90, dir.File("freeze_90.ecg")), free);
    const xmltest::Doc freeXml(XmlOf(dir.Path(), "freeze_90"));
    ASSERT_TRUE(freeXml.ok());
    EXPECT_EQ(freeXml.Values(std::string(kFreezeNames) + "/@code"),
              (std::vector<std::string>{"119", "120", "121", "122", "123", "124"}));
}

TEST(FreezeRecordCodes, AFreezeRecordTakesACodeForEachOfItsLeads)
{
    const EcgRecord signals = SynthesizeExtraSignals(2.0);
    ExtraRecordOptions options = MixedFreezeRecordOptions();
    options.seconds = 1.0;
    options.freezeLeads = 5;   // six codes for five leads
    EXPECT_THROW(MakeExtraLeadRecord(signals, options), std::runtime_error);
    options.freezeLeads = 6;
    options.freezeCodes[2] = 0x10000;
    EXPECT_THROW(MakeExtraLeadRecord(signals, options), std::runtime_error);
    options.freezeCodes[2] = -1;
    const ExtraLeadRecord record = MakeExtraLeadRecord(signals, options);
    EXPECT_EQ(record.codes, (std::vector<int>{119, 12, -1, -1, 125, 67}));
    EXPECT_FALSE(record.items.Has(rec::kTagElectrodeCode, 2));
    EXPECT_TRUE(record.items.Has(rec::kTagElectrodeCode, 4));
}

}  // namespace
