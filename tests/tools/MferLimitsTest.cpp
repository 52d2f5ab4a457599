// The MFER reader's limits are bounds no honest file reaches: a block of
// more than 2^20 samples opens whole, and a block longer than the file is
// refused with words that name it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/mfer/MFERParser.h"
#include "tools/MferWriter.h"

namespace {

using morvelance::MferOptions;

std::vector<uint8_t> OneLeadFile(double seconds, double rate, int block)
{
    MferOptions options;
    options.block = block;
    const morvelance::EcgRecord record = morvelance::MferKindRecord(morvelance::MferKind::Plain, 1, seconds, rate);
    return morvelance::EncodeMfer(record, options);
}

TEST(MferLimits, OneBlockOfMoreThanTwoToTheTwentySamplesOpensWhole)
{
    // An hour of one channel at 360 Hz, written as a single block.
    const std::vector<uint8_t> file = OneLeadFile(3700.0, 360.0, 0);
    CMFERParser reader;
    ASSERT_EQ(reader.OpenMFERFromMemory(file.data(), file.size()), 1)
        << platform::ToUtf8(CMFERParser::StatusText(reader.GetStatus()));
    EXPECT_EQ(reader.GetWaveLength(0), 3700 * 360 * 2);
    std::vector<BYTE> samples(static_cast<size_t>(reader.GetWaveLength(0)));
    EXPECT_NE(reader.GetWaveData(0, 0, samples.data()), 0);
}

TEST(MferLimits, BlockLongerThanTheBytesLeftIsRefusedAndNamed)
{
    std::vector<uint8_t> file = OneLeadFile(10.0, 500.0, 0);
    // The block definition (tag 04, four bytes) says 5000 samples: make it
    // the largest length it can hold, far past the file's end.
    bool found = false;
    for (size_t i = 0; i + 5 < file.size(); ++i) {
        if (file[i] == 0x04 && file[i + 1] == 0x04 && file[i + 2] == 0 && file[i + 3] == 0 && file[i + 4] == 0x13 &&
            file[i + 5] == 0x88) {
            file[i + 2] = 0x7F;
            file[i + 3] = file[i + 4] = file[i + 5] = 0xFF;
            found = true;
            break;
        }
    }
    ASSERT_TRUE(found) << "no block length of 5000 samples in the file";
    CMFERParser reader;
    EXPECT_EQ(reader.OpenMFERFromMemory(file.data(), file.size()), 0);
    EXPECT_EQ(reader.GetStatus(), MferStatus::BlockTooLong);
    EXPECT_NE(std::wstring(CMFERParser::StatusText(reader.GetStatus())).find(L"block is longer than the bytes left"),
              std::wstring::npos);
}

}  // namespace
