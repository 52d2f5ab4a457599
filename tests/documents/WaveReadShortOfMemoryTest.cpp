// A long record read on a machine short of memory: the documents' lead reads
// (whose buffers are as large as the record's leads) fail, and the program
// goes on; once memory is there again the same reads give the samples.
// Each case runs in a child process under an address-space limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/documents/MFERViewDocFixture.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/MemoryLimit.h"

namespace {

using testsupport::RunInChild;
using testsupport::ShortOfMemory;

// An hour at 500 Hz: 3.6 MB a lead, more than the spare memory.
const double kSeconds = 3600.0;
const int kSpareMegabytes = 2;

// The child's answers: what a read gave short of memory and after.
enum ChildStatus { kReadFailedThenWorked = 0, kNoLimit = 1, kReadGaveSamples = 2, kReadFailedAfter = 3 };

// `read` returns the bytes a lead read gave (0 when it failed).
int ReadShortOfMemoryThenAgain(int expected, const std::function<int()>& read)
{
    {
        ShortOfMemory memory(kSpareMegabytes);
        if (!memory.Limited()) return kNoLimit;
        if (read() != 0) return kReadGaveSamples;
    }
    return read() == expected ? kReadFailedThenWorked : kReadFailedAfter;
}

void ExpectReadFailedThenWorked(int status)
{
    EXPECT_EQ(kReadFailedThenWorked, status)
        << "1: no limit, 2: the read gave samples short of memory, 3: no samples after, 134: the program aborted";
}

class RhythmShortOfMemory : public rhythmtest::RhythmDocTest {};
class MferShortOfMemory : public mfertest::MferDocTest {};

TEST_F(RhythmShortOfMemory, ALeadReadFailsAndTheNextOneWorks)
{
    if (!testsupport::MemoryLimitsCanBeTested()) GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    morvelance::RhythmRecordShape shape;
    shape.leads = 3;
    shape.seconds = kSeconds;
    const rhythmtest::RhythmFiles files = rhythmtest::WriteRhythm(m_dir, "long", shape);
    ASSERT_EQ(0, Open(files, 3));
    const int bytes = m_doc->GetRhythmWaveData(1, nullptr, -1);
    ASSERT_GT(bytes, kSpareMegabytes << 20);
    std::vector<short> buffer(static_cast<size_t>(bytes) / 2);
    ExpectReadFailedThenWorked(RunInChild([&] {
        return ReadShortOfMemoryThenAgain(bytes, [&] { return m_doc->GetRhythmWaveData(1, buffer.data(), -1); });
    }));
}

// The MFER reader converts a lead from the file's bytes straight into the
// caller's buffer: a caller that holds the whole lead needs no more memory.
TEST_F(MferShortOfMemory, AWholeLeadIsReadWithNoMemoryToSpare)
{
    if (!testsupport::MemoryLimitsCanBeTested()) GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    _MFERDATAITEM* item = AddItem(WriteMfer("long.mwf", morvelance::MferKind::Plain, 3, kSeconds),
                                  WriteXml("long.xml", 0x8003), CMFERViewDoc::GetLeadLayoutBySystemCode(0x8003));
    ASSERT_EQ(0, Open(item));
    const int bytes = m_doc->GetRhythmWaveData(0, nullptr, -1);
    ASSERT_GT(bytes, kSpareMegabytes << 20);
    std::vector<short> expected(static_cast<size_t>(bytes) / 2), buffer(expected.size());
    ASSERT_EQ(bytes, m_doc->GetRhythmWaveData(0, expected.data(), -1));
    const int status = RunInChild([&] {
        ShortOfMemory memory(kSpareMegabytes);
        if (!memory.Limited()) return int(kNoLimit);
        for (int lead = 2; lead >= 0; --lead)
            if (m_doc->GetRhythmWaveData(lead, buffer.data(), -1) != bytes) return int(kReadFailedAfter);
        return buffer == expected ? int(kReadFailedThenWorked) : int(kReadGaveSamples);
    });
    EXPECT_EQ(0, status) << "1: no limit, 2: other samples than with memory, 3: a lead not read";
}

// A caller taking less than the lead has the whole lead read first, into
// memory sized by the record.
TEST_F(MferShortOfMemory, ALeadReadFailsAndTheNextOneWorks)
{
    if (!testsupport::MemoryLimitsCanBeTested()) GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    _MFERDATAITEM* item = AddItem(WriteMfer("long.mwf", morvelance::MferKind::Plain, 3, kSeconds),
                                  WriteXml("long.xml", 0x8003), CMFERViewDoc::GetLeadLayoutBySystemCode(0x8003));
    ASSERT_EQ(0, Open(item));
    const int bytes = m_doc->GetRhythmWaveData(0, nullptr, -1);
    ASSERT_GT(bytes, kSpareMegabytes << 20);
    std::vector<short> buffer(static_cast<size_t>(bytes) / 2);
    ExpectReadFailedThenWorked(RunInChild([&] {
        return ReadShortOfMemoryThenAgain(2000, [&] { return m_doc->GetRhythmWaveData(0, buffer.data(), 0, 2000); });
    }));
}

// Leads the document keeps for the next view must not cost a lead a view
// asks for now: short of memory, the kept ones go and the read is tried again.
TEST_F(MferShortOfMemory, LeadsKeptForLaterMakeRoomForTheLeadAViewAsksFor)
{
    if (!testsupport::MemoryLimitsCanBeTested()) GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    _MFERDATAITEM* item = AddItem(WriteMfer("long.mwf", morvelance::MferKind::Plain, 3, kSeconds),
                                  WriteXml("long.xml", 0x8003), CMFERViewDoc::GetLeadLayoutBySystemCode(0x8003));
    ASSERT_EQ(0, Open(item));
    m_doc->SetDelBitNoise(0);
    std::vector<short> expected(static_cast<size_t>(item->pMFERParser->GetWaveLength(0) / 2));
    ASSERT_GT(expected.size() * 2, size_t(kSpareMegabytes) << 20);
    ASSERT_TRUE(item->pMFERParser->GetWaveData(0, 2, expected.data()));
    // Leads 0 and 1 shown once and kept.
    ASSERT_TRUE(m_doc->GetWholeRhythmWave(0));
    ASSERT_TRUE(m_doc->GetWholeRhythmWave(1));
    const int status = RunInChild([&] {
        ShortOfMemory memory(kSpareMegabytes);
        if (!memory.Limited()) return int(kNoLimit);
        const SharedSamples lead = m_doc->GetWholeRhythmWave(2);
        if (!lead) return int(kReadFailedAfter);
        return std::equal(expected.begin(), expected.end(), lead.samples.get()) && lead.count == expected.size()
                   ? int(kReadFailedThenWorked)
                   : int(kReadGaveSamples);
    });
    EXPECT_EQ(0, status) << "1: no limit, 2: other samples than the file's, 3: the lead not read";
}

}  // namespace
