// What jobs of killed processes leave in a spool folder is swept before the
// first job a process begins there; what running jobs and finished jobs have
// there stays.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "platform/print/SpoolJob.h"
#include "tests/support/TestSupport.h"

namespace {

using platform::print::SpoolJob;
using testsupport::TempDir;

void MakeOld(const std::string& path)
{
    const struct timespec times[2] = {{std::time(nullptr) - 600, 0}, {std::time(nullptr) - 600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

pid_t EndedProcess()
{
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return pid;
}

// A folder as killed jobs leave it, beside a finished job and a running one.
class SpoolSweep : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string dead = std::to_string(EndedProcess());
        // Left by killed jobs.
        Old("00001.SPL", "reserved, never committed");
        Old("00002.SPL", "");
        Old("00002.SPL.pdf", "a surface's output");
        Old("00002.SPL.pdf.partial-" + dead + "-1", "%PDF-1.5 half");
        Old("00003_Report.prn", "data renamed, the sidecar never written");
        Old(".00004_Report.job." + dead + ".0000abcd.tmp", "Job=4");
        // A finished job.
        Old("00005_Report.pdf", "%PDF");
        Old("00005_Report.job", "Job=5\nData=00005_Report.pdf\n");
        // A running job: its reservation is locked, its surface is writing.
        Old("00006.SPL", "");
        Old("00006.SPL.pdf.partial-" + std::to_string(::getpid()) + "-2", "%PDF");
        m_running = ::open(m_dir.File("00006.SPL").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(m_running, 0);
        ASSERT_EQ(::flock(m_running, LOCK_EX), 0);
        // Just made but not locked: a job locks its reservation before the
        // name appears, so this one's job is gone however young it is.
        m_dir.Write("00007.SPL", "");
        m_dir.Write("00007.SPL.pdf.partial-" + dead + "-3", "%PDF");
        m_dir.Write("00008_Young.prn", "renamed just now, then killed");
    }
    void TearDown() override
    {
        if (m_running >= 0) ::close(m_running);
    }

    void Old(const std::string& name, const std::string& bytes)
    {
        m_dir.Write(name, bytes);
        MakeOld(m_dir.File(name));
    }

    const std::vector<std::string> m_kept = {"00005_Report.job", "00005_Report.pdf", "00006.SPL",
                                             "00006.SPL.pdf.partial-" + std::to_string(::getpid()) + "-2"};
    TempDir m_dir;
    int m_running = -1;
};

TEST_F(SpoolSweep, RemovesWhatKilledJobsLeftAndKeepsFinishedAndRunningJobs)
{
    SpoolJob::SweepFolder(m_dir.Path());
    EXPECT_EQ(testsupport::FolderEntries(m_dir.Path()), m_kept);
}

TEST_F(SpoolSweep, FirstJobOfAProcessSweepsItsFolderBeforeTakingAnId)
{
    DWORD error = 0;
    std::unique_ptr<SpoolJob> job = SpoolJob::Begin(m_dir.Path(), L"Printer", L"Report", L"RAW", error);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->Id(), 7u);
    const char bytes[] = "page";
    ASSERT_TRUE(job->Write(bytes, 4, error));
    ASSERT_TRUE(job->Commit("prn", nullptr, error));
    std::vector<std::string> expected = m_kept;
    expected.push_back("00007_Report.job");
    expected.push_back("00007_Report.prn");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(testsupport::FolderEntries(m_dir.Path()), expected);
}

TEST_F(SpoolSweep, CommittingJobKeepsItsDataUntilItsSidecarIsWritten)
{
    // A job whose data was put in place holds its lock on it until the
    // sidecar is there: a sweep in between leaves it.
    DWORD error = 0;
    std::unique_ptr<SpoolJob> job = SpoolJob::Begin(m_dir.Path(), L"Printer", L"Late", L"RAW", error);
    ASSERT_TRUE(job);
    const std::string data = m_dir.File("00009_Late.prn");
    ASSERT_EQ(::rename(job->DataPath().c_str(), data.c_str()), 0);
    MakeOld(data);
    SpoolJob::SweepFolder(m_dir.Path());
    struct stat info;
    EXPECT_EQ(::stat(data.c_str(), &info), 0);
    ASSERT_EQ(::rename(data.c_str(), job->DataPath().c_str()), 0);
    job->Abort();
}

}  // namespace
