// A record write whose bytes come from the record's own image: the reader
// copies them aside before it moves the image, and when that copy cannot
// get memory the write fails and leaves the image as it was, instead of
// reporting a write it did not make.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/ECGData.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "tests/support/MemoryLimit.h"
#include "tests/support/TestSupport.h"
#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/Mkrecord.h"
#include "tools/RecordBuilder.h"

namespace {

using namespace morvelance;
using testsupport::TempDir;
using testsupport::Wide;

constexpr UINT kCopyTag = 3701;      // an item the record does not have yet
constexpr long kCopyLength = 70000;  // within the image's spare bytes, above a small block

std::string WriteRestRecord(const TempDir& dir)
{
    SynthOptions synth;
    synth.leads = StandardLeads();
    synth.seconds = 10.0;
    synth.heartRate = 72.0;
    DeviceRecordOptions options;
    options.kind = rec::RecordKind::Rest12;
    RecordBuilder builder = MakeDeviceRecord(Synthesize(synth), options);
    const std::string path = dir.File("aside.ecg");
    builder.WriteFile(path, zarn::Flavour::Newer90);
    return path;
}

std::vector<BYTE> ImageBytes(const _ECGDATA* image)
{
    return std::vector<BYTE>(image->byFileData, image->byFileData + image->dwFileLength);
}

}  // namespace

TEST(RecordWriteShortOfMemory, ACopyAsideWithoutMemoryFailsTheWriteAndKeepsTheImage)
{
    if (!testsupport::MemoryLimitsCanBeTested()) GTEST_SKIP() << "the sanitizer's shadow memory takes every limit";
    TempDir dir;
    const std::string path = WriteRestRecord(dir);
    CTavrionDoc doc;
    _ECGDATA* image = nullptr;
    int kind = -99, old = -1;
    ASSERT_EQ(doc.MFERTransOpenFile(Wide(path), image, kind, old), 0);
    ASSERT_NE(image, nullptr);
    ASSERT_GT(static_cast<long>(image->dwFileLength), kCopyLength);
    const std::vector<BYTE> before = ImageBytes(image);
    // The bytes to write are the record's first bytes, inside the image itself.
    BYTE* source = image->byFileData;

    // 0: refused and unchanged; 1: reported as written; 2: refused but changed;
    // 3: the limit could not be set.
    const int status = testsupport::RunInChild([&]() {
        std::vector<void*> held;
        held.reserve(4096);
        testsupport::ShortOfMemory tight(0);
        if (!tight.Limited()) return 3;
        // What the last megabyte leaves, taken in blocks smaller than the copy.
        while (held.size() < held.capacity()) {
            void* block = std::malloc(16 * 1024);
            if (!block) break;
            held.push_back(block);
        }
        const long written = doc.ecgSetData(image, kCopyTag, 0, source, kCopyLength, ECG_DATA_RAW);
        const bool same = image->dwFileLength == before.size() &&
                          std::memcmp(image->byFileData, before.data(), before.size()) == 0;
        for (void* block : held) std::free(block);
        if (written != 0) return 1;
        return same ? 0 : 2;
    });
    if (status == 3) GTEST_SKIP() << "the address space could not be limited here";
    EXPECT_EQ(status, 0);

    // With memory, the same write is made and reads back as the bytes it copied.
    ASSERT_NE(doc.ecgSetData(image, kCopyTag, 0, source, kCopyLength, ECG_DATA_RAW), 0);
    std::vector<BYTE> back(static_cast<size_t>(kCopyLength));
    ASSERT_EQ(doc.ecgGetData(image, kCopyTag, 0, back.data(), kCopyLength, ECG_DATA_RAW), kCopyLength);
    EXPECT_EQ(back, std::vector<BYTE>(before.begin(), before.begin() + kCopyLength));
    FreeECGData(image);
}
