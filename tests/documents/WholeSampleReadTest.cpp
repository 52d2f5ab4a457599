// A sample item one byte longer than a whole number of samples (a damaged or
// hostile record, its checksum right) must not make a document promise more
// than it copies: the size query and the copy agree on whole samples, in
// every examination document, for every lead, average and stored block.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/zarn/ZarnBuilder.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/ExaminationRead.h"
#include "tools/ExaminationSamples.h"
#include "tools/Mkrecord.h"

namespace {

using testsupport::ExaminationRead;

struct RecordOnDisk {
    std::string record;
    std::string xml;
};

std::string StemOf(const std::string& path)
{
    const std::string name = path.substr(path.rfind('/') + 1);
    return name.substr(0, name.rfind('.'));
}

// The record XML the maker wrote beside a record: its stem, a time stamp, ".xml".
std::string XmlBeside(const std::string& record)
{
    const std::string folder = record.substr(0, record.rfind('/'));
    const std::string stem = StemOf(record);
    std::string found;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > stem.size() + 4 && name.compare(0, stem.size(), stem) == 0 &&
                name.compare(name.size() - 4, 4, ".xml") == 0 && name.find_first_not_of("0123456789", stem.size()) == name.size() - 4)
                found = folder + "/" + name;
        }
        closedir(dir);
    }
    return found;
}

std::string ReadAll(const std::string& path)
{
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(zarn::ReadWholeFile(path, &bytes, &error)) << error;
    return std::string(bytes.begin(), bytes.end());
}

// Copies a record and its XML into `dir`, every item of at least `minLength`
// bytes (the waves and averages; not the reader's blobs or the short values)
// lengthened by one byte, with the checksum made right. The count of items
// lengthened goes to `lengthened`.
RecordOnDisk LengthenedCopy(const RecordOnDisk& source, const testsupport::TempDir& dir, size_t minLength,
                            int& lengthened)
{
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(zarn::ReadWholeFile(source.record, &bytes, &error)) << error;
    zarn::ContainerBuilder items;
    uint8_t flavour = 0;
    EXPECT_TRUE(zarn::LoadContainer(bytes.data(), bytes.size(), &items, &flavour).ok()) << source.record;
    lengthened = 0;
    zarn::ContainerBuilder changed;
    for (const auto& entry : items.Items()) {
        std::vector<uint8_t> value = entry.second;
        if (value.size() >= minLength) {
            value.push_back(0x7F);
            ++lengthened;
        }
        changed.Set(entry.first.first, entry.first.second, std::move(value));
    }
    RecordOnDisk copy;
    const std::string name = source.record.substr(source.record.rfind('/') + 1);
    copy.record = dir.File(name);
    EXPECT_TRUE(zarn::WriteWholeFile(copy.record, changed.Serialize(static_cast<zarn::Flavour>(flavour)), &error)) << error;
    copy.xml = source.xml.empty() ? std::string() : dir.Write(source.xml.substr(source.xml.rfind('/') + 1), ReadAll(source.xml));
    return copy;
}

class WholeSampleReadTest : public testsupport::DocumentTest {
protected:
    // Every device record the maker writes: the samples of each kind and the examinations.
    std::vector<RecordOnDisk> MakerRecords()
    {
        std::vector<std::string> records = morvelance::WriteSampleRecords(m_dir.File("samples"));
        const std::vector<std::string> more = morvelance::WriteExaminationSamples(m_dir.File("examinations"));
        records.insert(records.end(), more.begin(), more.end());
        std::vector<RecordOnDisk> out;
        for (const std::string& record : records) out.push_back(RecordOnDisk{record, XmlBeside(record)});
        return out;
    }

    testsupport::TempDir m_changed;
};

TEST_F(WholeSampleReadTest, EveryDocumentDeliversTheWholeSamplesOfWaveItemsOneByteLonger)
{
    const std::vector<RecordOnDisk> records = MakerRecords();
    ASSERT_GE(records.size(), 10u);
    for (const RecordOnDisk& source : records) {
        SCOPED_TRACE(source.record);
        const ExaminationRead before = testsupport::ReadDeviceExamination(source.record, source.xml);
        int lengthened = 0;
        const RecordOnDisk odd = LengthenedCopy(source, m_changed, 600, lengthened);
        ASSERT_GT(lengthened, 0);
        const ExaminationRead after = testsupport::ReadDeviceExamination(odd.record, odd.xml);

        ASSERT_EQ(after.opened, before.opened);
        EXPECT_EQ(after.oddSizes, 0);
        EXPECT_EQ(after.shortCopies, 0);
        // Nothing is refused or cut: every wave still gives every sample it had.
        EXPECT_EQ(after.waves, before.waves);
        EXPECT_EQ(after.samples, before.samples);
    }
}

TEST_F(WholeSampleReadTest, MakerRecordsReadWholeInEveryDocument)
{
    for (const RecordOnDisk& source : MakerRecords()) {
        SCOPED_TRACE(source.record);
        const ExaminationRead read = testsupport::ReadDeviceExamination(source.record, source.xml);
        EXPECT_EQ(read.opened, 0);
        EXPECT_GT(read.waves, 0);
        EXPECT_EQ(read.oddSizes, 0);
        EXPECT_EQ(read.shortCopies, 0);
    }
}

TEST_F(WholeSampleReadTest, SampleItemLeavesOutAnOddTrailingByteAndCopiesTheRest)
{
    std::vector<RecordOnDisk> records = MakerRecords();
    const auto rest = std::find_if(records.begin(), records.end(),
                                   [](const RecordOnDisk& r) { return StemOf(r.record) == "rest12_90"; });
    ASSERT_NE(rest, records.end());
    int lengthened = 0;
    const RecordOnDisk odd = LengthenedCopy(*rest, m_changed, 600, lengthened);

    CRestViewDoc original;
    CRestViewDoc changed;
    auto* first = original.GetRestDataManager().AppendItem(testsupport::NewRecordItem<_RESTDATAITEM>(rest->record, rest->xml));
    auto* second = changed.GetRestDataManager().AppendItem(testsupport::NewRecordItem<_RESTDATAITEM>(odd.record, odd.xml));
    ASSERT_EQ(testsupport::OpenRecord(original, testsupport::RecordPaths{rest->record, rest->xml}), 0);
    ASSERT_EQ(testsupport::OpenRecord(changed, testsupport::RecordPaths{odd.record, odd.xml}), 0);

    const std::vector<short> expected = testsupport::RecordSamples(original, first->pECGData, ECG_TAG_LEAD_BASE, 0);
    const long bytes = changed.GetSampleItem(second->pECGData, ECG_TAG_LEAD_BASE, 0, nullptr);
    ASSERT_EQ(bytes, static_cast<long>(expected.size() * 2));
    std::vector<short> samples(static_cast<size_t>(bytes) / 2);
    ASSERT_EQ(changed.GetSampleItem(second->pECGData, ECG_TAG_LEAD_BASE, 0, samples.data()), bytes);
    EXPECT_EQ(samples, expected);
    // The reader itself still answers the item's whole length.
    EXPECT_EQ(changed.ecgGetData(second->pECGData, ECG_TAG_LEAD_BASE, 0, nullptr, 0, ECG_DATA_RAW), bytes + 1);
}

}  // namespace
