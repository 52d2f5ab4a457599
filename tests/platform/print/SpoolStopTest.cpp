// What a program stopped by a signal leaves in a spool folder: its handler
// drops the jobs still under way (a raw job's reservation with its bytes, a
// drawn job's reservation with the surface's partial file) and keeps the
// jobs already whole there.
#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/print/SpoolJob.h"
#include "tests/support/TestSupport.h"

namespace {

using platform::print::SpoolJob;

std::unique_ptr<SpoolJob> BeginJob(const std::string& folder, const wchar_t* document, const wchar_t* datatype)
{
    DWORD error = 0;
    std::unique_ptr<SpoolJob> job = SpoolJob::Begin(folder, L"Laser", document, datatype, error);
    EXPECT_TRUE(job) << error;
    return job;
}

TEST(SpoolStopTest, JobsUnderWayAreDroppedAndWholeJobsStay)
{
    testsupport::TempDir dir;
    const std::string folder = dir.File("spool");
    // A whole raw job.
    std::unique_ptr<SpoolJob> whole = BeginJob(folder, L"whole", L"RAW");
    ASSERT_TRUE(whole);
    DWORD error = 0;
    ASSERT_TRUE(whole->Write("page", 4, error));
    ASSERT_TRUE(whole->Commit("prn", nullptr, error)) << error;
    const std::vector<std::string> kept = testsupport::FolderEntries(folder);
    ASSERT_EQ(2u, kept.size());

    // A raw job half written, and a drawn one whose surface is writing its PDF.
    std::unique_ptr<SpoolJob> raw = BeginJob(folder, L"raw", L"RAW");
    std::unique_ptr<SpoolJob> drawn = BeginJob(folder, L"drawn", L"PDF");
    ASSERT_TRUE(raw && drawn);
    ASSERT_TRUE(raw->Write("half a page", 11, error));
    const std::string partial = drawn->DataPath() + ".pdf.partial-" + std::to_string(getpid()) + "-1";
    dir.Write(partial.substr(dir.File("").size()), "%PDF-1.5 without its trailer");
    ASSERT_EQ(kept.size() + 3, testsupport::FolderEntries(folder).size());

    SpoolJob::DropUnfinishedNow();
    EXPECT_EQ(kept, testsupport::FolderEntries(folder));
}

// However many jobs a program has finished or dropped before, the one
// under way when it is stopped is dropped.
TEST(SpoolStopTest, AJobUnderWayAfterManyFinishedOnesIsDropped)
{
    testsupport::TempDir dir;
    const std::string folder = dir.File("spool");
    DWORD error = 0;
    for (int job = 0; job < 20; ++job) {
        std::unique_ptr<SpoolJob> done = BeginJob(folder, L"done", L"RAW");
        ASSERT_TRUE(done);
        if (job % 2) done->Abort();
        else ASSERT_TRUE(done->Commit("prn", nullptr, error)) << error;
    }
    const std::vector<std::string> kept = testsupport::FolderEntries(folder);
    ASSERT_EQ(20u, kept.size());
    std::unique_ptr<SpoolJob> raw = BeginJob(folder, L"raw", L"RAW");
    ASSERT_TRUE(raw && raw->Write("half a page", 11, error));
    SpoolJob::DropUnfinishedNow();
    EXPECT_EQ(kept, testsupport::FolderEntries(folder));
}

// A job handed on (the print service took it) leaves the folder, and its
// id is free again: what another program then writes under that id is not
// this program's to drop.
TEST(SpoolStopTest, AnIdAJobHandedOnLeftFreeIsNotTouchedWhenItsNewOwnerWritesThere)
{
    testsupport::TempDir dir;
    const std::string folder = dir.File("spool");
    DWORD error = 0;
    std::unique_ptr<SpoolJob> sent = BeginJob(folder, L"sent", L"RAW");
    ASSERT_TRUE(sent && sent->Write("page", 4, error));
    const std::string reservation = sent->DataPath();
    ASSERT_TRUE(sent->Commit("prn", nullptr, error)) << error;
    sent->Withdraw();
    ASSERT_TRUE(testsupport::FolderEntries(folder).empty());
    // Another program's job under the same id, under way.
    dir.Write("spool/" + reservation.substr(folder.size() + 1), "");
    dir.Write("spool/" + reservation.substr(folder.size() + 1) + ".pdf.partial-1-1", "%PDF-1.5");
    const std::vector<std::string> theirs = testsupport::FolderEntries(folder);
    SpoolJob::DropUnfinishedNow();
    EXPECT_EQ(theirs, testsupport::FolderEntries(folder));
}

}  // namespace
