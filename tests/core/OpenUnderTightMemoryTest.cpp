// Opening a record when the memory for it cannot be had fails the open with
// the open's own failure value and a message naming memory (not enough memory
// for it; "too large" only for a record no machine reads); the document stays
// empty and opens the next record as usual. The file list shows nothing and
// returns the failure with its cause.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/ECGData.h"
#include "core/FileItemInfo.h"
#include "core/MemoryHelpers.h"
#include "documents/RestViewDoc.h"
#include "platform/base/Kernel.h"
#include "platform/base/MessageBox.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/MemoryLimit.h"
#include "tools/Mkrecord.h"
#include "tools/RestRecord.h"

namespace {

class OpenUnderTightMemory : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        m_previous = SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            m_messages.push_back(request.text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        platform::SetHeapFailureCountdown(0);
        SetMessageBoxHandler(m_previous);
        DocumentTest::TearDown();
    }

    _RESTDATAITEM* Add(CRestViewDoc& doc, const morvelance::RestRecordFiles& files)
    {
        return doc.GetRestDataManager().AppendItem(testsupport::NewRecordItem<_RESTDATAITEM>(files.record, files.xml));
    }

    // Whether exactly one message was shown and it names memory.
    ::testing::AssertionResult OneMessageNamingMemory() const
    {
        if (m_messages.size() != 1) return ::testing::AssertionFailure() << m_messages.size() << " messages";
        if (m_messages[0].Find(L"not enough memory") < 0 && m_messages[0].Find(L"too large") < 0)
            return ::testing::AssertionFailure() << testsupport::Utf8(m_messages[0]);
        return ::testing::AssertionSuccess();
    }

    // Run in a process of its own, where no reader is loaded yet: leaves the
    // address space room for the record's image and a few kilobytes more,
    // less than a reader takes to load, and opens the record as the host
    // does. 0 when it opened or was refused with a message naming memory, 1
    // when refused without one, 2 when a reader was loaded already.
    int OpenWithRoomForTheImageAlone(const std::string& record)
    {
        if (void* loaded = dlopen(ReaderFile().c_str(), RTLD_NOW | RTLD_NOLOAD)) {
            dlclose(loaded);
            std::fprintf(stderr, "a reader was loaded before the open\n");
            return 2;
        }
        // The image must be mapped anew: large blocks are mapped, and the
        // heap's free blocks are taken first (the heap grows when none is
        // left); its new top serves the few small blocks the open takes.
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
        std::vector<void*> taken;
        for (const size_t before = MappedBytes(); MappedBytes() == before;) taken.push_back(std::malloc(64 * 1024));
        CTavrionDoc doc;
        _ECGDATA* image = nullptr;
        int kind = 0;
        int old = 0;
        const CString path = testsupport::Wide(record);
        const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
        const size_t imageBytes = (ECGDataBlockSize(std::filesystem::file_size(record)) + 64 + page - 1) / page * page;
        struct rlimit limit = {};
        ::getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = MappedBytes() + imageBytes + 16 * 1024;
        if (::setrlimit(RLIMIT_AS, &limit) != 0) return 3;
        const int opened = doc.MFERTransOpenFile(path, image, kind, old);
        FreeECGData(image);
        if (opened == 0) {
            std::fprintf(stderr, "opened\n");
            return 0;
        }
        const ::testing::AssertionResult named = OneMessageNamingMemory();
        std::fprintf(stderr, "refused (%d): %s\n", opened, named ? "named memory" : named.message());
        return named ? 0 : 1;
    }

    // The address space the process has mapped.
    static size_t MappedBytes()
    {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        return static_cast<size_t>(pages) * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    }

    // The newer reader's file, as the document loads it from the work folder.
    static std::string ReaderFile() { return testsupport::WorkDir() + "/libzarn90.so"; }

    MessageBoxHandler m_previous;
    std::vector<CString> m_messages;
};

// Short of memory is no record too large: the message says memory is short
// and names the record (it said "too large" before, which sent the user to
// look for a broken file that a larger machine opens).
TEST_F(OpenUnderTightMemory, RecordImageWithoutMemoryFailsTheOpenSayingMemoryIsShort)
{
    const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(m_dir.Path(), "r.ecg", morvelance::RestRecordShape());
    CRestViewDoc doc;
    const int id = Add(doc, files)->nID;
    // The record image is the first block the open takes from the heap.
    platform::SetHeapFailureCountdown(1);
    EXPECT_EQ(testsupport::OpenRecord(doc, testsupport::RecordPaths{files.record, files.xml}), 255);
    platform::SetHeapFailureCountdown(0);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].Find(L"メモリが足りない"), -1) << testsupport::Utf8(m_messages[0]);
    EXPECT_NE(m_messages[0].Find(L"not enough memory"), -1) << testsupport::Utf8(m_messages[0]);
    EXPECT_EQ(m_messages[0].Find(L"too large"), -1) << testsupport::Utf8(m_messages[0]);
    EXPECT_NE(m_messages[0].Find(testsupport::Wide(files.record)), -1) << testsupport::Utf8(m_messages[0]);
    // The host's item stays listed, without an image (this once asserted that
    // it was deleted, which left the host that added it a freed item).
    const _RESTDATAITEM* kept = doc.GetRestDataManager().GetItem(id);
    ASSERT_NE(kept, nullptr) << "the host's item was deleted";
    EXPECT_EQ(kept->pECGData, nullptr);

    // The document is usable: the same item opens once there is memory.
    ASSERT_EQ(testsupport::OpenRecord(doc, testsupport::RecordPaths{files.record, files.xml}), 0);
    doc.SetCurDataIndex(id);
    EXPECT_FALSE(testsupport::RhythmWave(doc, 0).empty());
}

TEST_F(OpenUnderTightMemory, FileListEntryOfARecordWithoutMemoryIsUnreadable)
{
    const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(m_dir.Path(), "r.ecg", morvelance::RestRecordShape());
    CTavrionDoc doc;
    auto* item = new _DATAITEM;
    item->strFilePath = testsupport::Wide(files.record);
    doc.GetDataManager().AppendItem(item);
    CString xml;
    CString record = testsupport::Wide(files.record);
    platform::SetHeapFailureCountdown(1);
    EXPECT_EQ(doc.OpenFile(xml, record), 1);
    platform::SetHeapFailureCountdown(0);
    EXPECT_NE(doc.OpenFile(xml, record), 1);
}

// The first blob is taken from the heap after the image: without memory for
// it the open fails as before (255, no image) and says that memory ran out.
TEST_F(OpenUnderTightMemory, AFirstBlobWithoutMemoryFailsTheOpenNamingMemory)
{
    const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(m_dir.Path(), "r.ecg", morvelance::RestRecordShape());
    CTavrionDoc doc;
    _ECGDATA* image = nullptr;
    int kind = 0;
    int old = 0;
    platform::SetHeapFailureCountdown(2);
    EXPECT_EQ(doc.MFERTransOpenFile(testsupport::Wide(files.record), image, kind, old), 255);
    platform::SetHeapFailureCountdown(0);
    EXPECT_EQ(image, nullptr);
    ASSERT_TRUE(OneMessageNamingMemory());
    EXPECT_NE(m_messages[0].Find(L"メモリが足りない"), -1) << testsupport::Utf8(m_messages[0]);

    ASSERT_EQ(doc.MFERTransOpenFile(testsupport::Wide(files.record), image, kind, old), 0);
    EXPECT_NE(+image->pBlob3836, nullptr);
    FreeECGData(image);
}

TEST_F(OpenUnderTightMemory, ADocumentWithoutMemoryForTheFirstBlobRefusesTheRecordNamingMemory)
{
    const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(m_dir.Path(), "r.ecg", morvelance::RestRecordShape());
    CRestViewDoc doc;
    const int id = Add(doc, files)->nID;
    platform::SetHeapFailureCountdown(2);
    EXPECT_EQ(testsupport::OpenRecord(doc, testsupport::RecordPaths{files.record, files.xml}), 255);
    platform::SetHeapFailureCountdown(0);
    EXPECT_TRUE(OneMessageNamingMemory());
    // The resting document keeps the host's item when its blob cannot be had
    // (this once asserted the item was deleted): the host may still hold it.
    const _RESTDATAITEM* kept = doc.GetRestDataManager().GetItem(id);
    ASSERT_NE(kept, nullptr) << "the host's item was deleted";
    EXPECT_EQ(kept->pECGData ? kept->pECGData->pBlob3836 : nullptr, nullptr);
    EXPECT_EQ(testsupport::OpenRecord(doc, testsupport::RecordPaths{files.record, files.xml}), 0);
}

// A 15-lead record has a second blob, taken third: no memory for it fails
// the open with the message, never by an exception out of the open.
TEST_F(OpenUnderTightMemory, ASecondBlobWithoutMemoryFailsTheOpenNamingMemory)
{
    morvelance::RestRecordShape shape;
    shape.kind = morvelance::rec::RecordKind::Rest15;
    const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(m_dir.Path(), "r15.ecg", shape);
    CTavrionDoc doc;
    _ECGDATA* image = nullptr;
    int kind = 0;
    int old = 0;
    platform::SetHeapFailureCountdown(3);
    int opened = -1;
    EXPECT_NO_THROW(opened = doc.MFERTransOpenFile(testsupport::Wide(files.record), image, kind, old));
    platform::SetHeapFailureCountdown(0);
    EXPECT_EQ(opened, 255);
    EXPECT_EQ(image, nullptr);
    EXPECT_TRUE(OneMessageNamingMemory());

    ASSERT_EQ(doc.MFERTransOpenFile(testsupport::Wide(files.record), image, kind, old), 0);
    EXPECT_NE(+image->pBlob3855, nullptr);
    FreeECGData(image);
}

// The file list's entry of a record there is not the memory to read is
// unreadable (1) with memory as its cause, and the list shows nothing: a
// folder of long records listed short of memory would raise a box a file
// (the list used to show "too large" here), where the caller says what failed.
TEST_F(OpenUnderTightMemory, AFileListEntryWithoutMemoryForItsRecordReturnsMemoryAsItsCauseAndShowsNothing)
{
    const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(m_dir.Path(), "r.ecg", morvelance::RestRecordShape());
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    platform::SetHeapFailureCountdown(1);
    EXPECT_EQ(doc.ReadFile(testsupport::Wide(files.record), L"", nullptr, &info), 1);
    platform::SetHeapFailureCountdown(0);
    EXPECT_EQ(info.failure, FileListFailure::NoMemory);
    EXPECT_TRUE(m_messages.empty()) << testsupport::Utf8(m_messages[0]);

    // The same record fits once there is memory, and the same record of the
    // host then reads without a failure.
    EXPECT_NE(doc.ReadFile(testsupport::Wide(files.record), L"", nullptr, &info), 1);
    EXPECT_EQ(info.failure, FileListFailure::None);
    EXPECT_EQ(info.nLeadCount, 12);
    EXPECT_TRUE(m_messages.empty());
}

// An MFER file whose bytes cannot be had is listed as unread for memory,
// never as a file of another kind, and without a box. The read runs in a
// child process whose address space leaves a few megabytes, less than the
// file's twenty.
TEST_F(OpenUnderTightMemory, AnMferFileListEntryWithoutMemoryReturnsMemoryAsItsCauseAndShowsNothing)
{
    if (!testsupport::MemoryLimitsCanBeTested())
        GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    const std::string record = m_dir.File("long.mwf");
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"mfer", "--kind", "plain", "--leads", "1", "--seconds", "20000", "--out",
                                          record}, out, err))
        << err.str();
    const int status = testsupport::RunInChild([&] {
        CTavrionDoc doc;
        _FILEITEM_INFO info;
        int code = 0;
        {
            testsupport::ShortOfMemory shortOfMemory(4);
            if (!shortOfMemory.Limited()) return 4;
            code = doc.ReadFile(testsupport::Wide(record), L"", L"", &info);
        }
        std::error_code ec;
        std::filesystem::remove_all(m_dir.Path(), ec);
        if (code != 1) return 2;
        if (info.failure != FileListFailure::NoMemory) return 3;
        return m_messages.empty() ? 0 : 5;
    });
    EXPECT_EQ(status, 0) << "2: read, 3: another cause, 4: no limit, 5: a box was shown";
}

// A record past what an image holds on any machine (a length that does not
// fit the image's 32-bit size) is too large, whatever the memory: the list
// returns that cause without a box, and the opening's box says "too large".
// The file is sparse, so it takes no room on disk.
TEST_F(OpenUnderTightMemory, ARecordPastWhatAnImageHoldsIsTooLargeOnAnyMachine)
{
    const std::string record = m_dir.File("huge.ecg");
    {
        std::ofstream file(record, std::ios::binary);
        file << std::string(200, 'x');
    }
    std::filesystem::resize_file(record, 0x80000000ull);
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    EXPECT_EQ(doc.ReadFile(testsupport::Wide(record), L"", L"", &info), 1);
    EXPECT_EQ(info.failure, FileListFailure::TooLarge);
    EXPECT_TRUE(m_messages.empty());

    _ECGDATA* image = nullptr;
    int kind = 0;
    EXPECT_EQ(doc.XMLTransOpenFile(testsupport::Wide(record), image, kind), 255);
    EXPECT_EQ(image, nullptr);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].Find(L"too large"), -1) << testsupport::Utf8(m_messages[0]);
    EXPECT_NE(m_messages[0].Find(testsupport::Wide(record)), -1) << testsupport::Utf8(m_messages[0]);
}

// A long record whose image just fits, in a process that has not loaded a
// reader yet: the reader is never left without room beside the image, so the
// record opens or is refused for memory, never as one no reader accepts. The
// open runs in a new process of the test program, where no reader is loaded.
TEST_F(OpenUnderTightMemory, ARecordWhoseImageLeavesNoRoomForAReaderIsRefusedForMemory)
{
    if (!testsupport::MemoryLimitsCanBeTested())
        GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    const std::string record = m_dir.File("rhythm.ecg");
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--leads", "3", "--seconds", "600", "--out",
                                          record}, out, err))
        << err.str();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const int result = OpenWithRoomForTheImageAlone(record);
            // The child ran this test's set-up again and made folders of its
            // own: with the limit lifted, they go with it.
            struct rlimit limit = {};
            ::getrlimit(RLIMIT_AS, &limit);
            limit.rlim_cur = limit.rlim_max;
            ::setrlimit(RLIMIT_AS, &limit);
            std::error_code ec;
            std::filesystem::remove_all(m_dir.Path(), ec);
            std::exit(result);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
