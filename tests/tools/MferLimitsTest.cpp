// The MFER reader's limits are bounds no honest file reaches: a block of
// more than 2^20 samples opens whole, and a block longer than the file is
// refused with words that name it; a file whose memory cannot be had is
// refused for memory rather than ending the process.
#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include <string>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/mfer/MFERParser.h"
#include "tests/support/MemoryLimit.h"
#include "tests/support/TestSupport.h"
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

#if defined(__SANITIZE_ADDRESS__)
#define MORVELANCE_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORVELANCE_UNDER_ASAN 1
#endif
#endif

// Refused for memory, not as too large (as it was before): the same file
// opens on a machine with the memory for it.
TEST(MferLimits, FileWithoutMemoryToReadItIsRefusedForMemory)
{
#ifdef MORVELANCE_UNDER_ASAN
    GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit leaves";
#else
    testsupport::TempDir dir;
    const std::string path = dir.File("long.mwf");
    MferOptions options;
    const morvelance::EcgRecord record = morvelance::MferKindRecord(morvelance::MferKind::Plain, 1, 20000.0, 500.0);
    std::string error;
    ASSERT_TRUE(morvelance::WriteMferFile(path, record, options, &error)) << error;
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // A limit on the address space, then every megabyte up to it taken
        // but four: the file's 20 MB cannot be had, small blocks can.
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (64u << 20);
        const struct rlimit tight = {limit, limit};
        if (::setrlimit(RLIMIT_AS, &tight) != 0) ::_exit(4);
        std::vector<void*> taken;
        while (void* block = std::malloc(1u << 20)) taken.push_back(block);
        for (int i = 0; i < 4 && !taken.empty(); ++i) {
            std::free(taken.back());
            taken.pop_back();
        }
        CMFERParser reader;
        const std::wstring wide(path.begin(), path.end());
        const int opened = reader.OpenMFER(wide.c_str());
        ::_exit(opened ? 2 : reader.GetStatus() == MferStatus::NoMemory && reader.GetMFERRoot() == nullptr ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "the reader ended the process (signal " << WTERMSIG(status) << ")";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: opened, 3: refused for another reason, 4: no limit";
#endif
}

// Bytes in memory are copied before they are read: without room for the
// copy the file is refused for memory, its bytes untouched, and with the
// room the same bytes open.
TEST(MferLimits, BytesInMemoryWithoutRoomForTheirCopyAreRefusedForMemory)
{
    if (!testsupport::MemoryLimitsCanBeTested())
        GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit leaves";
    const std::vector<uint8_t> file = OneLeadFile(20000.0, 500.0, 5000);
    const int status = testsupport::RunInChild([&] {
        CMFERParser reader;
        int opened = 0;
        {
            testsupport::ShortOfMemory shortOfMemory(4);
            if (!shortOfMemory.Limited()) return 4;
            opened = reader.OpenMFERFromMemory(file.data(), file.size());
        }
        if (opened) return 2;
        if (reader.GetStatus() != MferStatus::NoMemory || reader.GetMFERRoot() != nullptr) return 3;
        return reader.OpenMFERFromMemory(file.data(), file.size()) == 1 ? 0 : 5;
    });
    EXPECT_EQ(status, 0) << "2: opened, 3: refused for another reason, 4: no limit, 5: not opened with the room";
}

}  // namespace
