// The spool under load: writers printing side by side while other programs
// start printing into the same folder (each sweeps it once, as a new process
// does). Every job a writer was told is finished has its sidecar and, beside
// it, its data complete.
#include "tests/platform/print/PrintTestSupport.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "platform/print/SpoolJob.h"

namespace printtest {
namespace {

using platform::print::SpooledJob;

const int kWriters = 6;
const int kMaxJobsPerWriter = 250;   // bounds the run on a fast disk
// Each writer prints this many however long they take (on a loaded machine
// a writer may not run at all within the run time), and goes on up to the
// run time.
const int kMinJobsPerWriter = 4;
const auto kRunTime = std::chrono::seconds(2);

// The bytes of a writer's job: its number and the job's, over a length that
// differs from job to job.
std::string JobBytes(int writer, int job)
{
    std::string bytes = "\x1b" "E writer " + std::to_string(writer) + " job " + std::to_string(job) + "\n";
    bytes.append(static_cast<size_t>((writer * 131 + job * 17) % 3000), static_cast<char>('a' + job % 26));
    return bytes;
}

// One raw job; its spool id when the spooler said it was finished, else 0.
DWORD PrintJob(const std::string& bytes, const std::wstring& document)
{
    ScopedPrinter printer(L"Laser");
    if (!printer) return 0;
    DOC_INFO_1W info = {};
    std::wstring name = document;
    info.pDocName = &name[0];
    const DWORD id = StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&info));
    if (id == 0) return 0;
    DWORD written = 0;
    const bool ok = WritePrinter(printer, bytes.data(), static_cast<DWORD>(bytes.size()), &written);
    return EndDocPrinter(printer) && ok ? id : 0;
}

class SpoolLoadTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        AddPrinter(L"Laser");
    }
};

TEST_F(SpoolLoadTest, EveryJobReportedFinishedHasItsCompleteDataWhileOtherProgramsSweepTheFolder)
{
    struct Reported {
        DWORD id;
        std::string bytes;
    };
    std::mutex lock;
    std::vector<Reported> reported;
    std::atomic<bool> stop(false);
    const auto end = std::chrono::steady_clock::now() + kRunTime;
    std::vector<std::thread> writers;
    for (int writer = 0; writer < kWriters; ++writer) {
        writers.emplace_back([&, writer] {
            for (int job = 0; job < kMaxJobsPerWriter && (job < kMinJobsPerWriter || std::chrono::steady_clock::now() < end);
                 ++job) {
                const std::string bytes = JobBytes(writer, job);
                const DWORD id = PrintJob(bytes, L"w" + std::to_wstring(writer) + L"-" + std::to_wstring(job));
                if (id == 0) continue;
                std::lock_guard<std::mutex> guard(lock);
                reported.push_back({id, bytes});
            }
        });
    }
    // Programs starting to print meanwhile, each sweeping the folder first.
    std::thread sweeper([&] {
        while (!stop) platform::print::SpoolJob::SweepFolder(m_spool);
    });
    for (std::thread& writer : writers) writer.join();
    stop = true;
    sweeper.join();

    RecordProperty("reported_jobs", static_cast<int>(reported.size()));
    ASSERT_GT(reported.size(), static_cast<size_t>(kWriters));
    std::map<DWORD, SpooledJob> finished;
    for (const SpooledJob& job : Jobs()) finished[job.id] = job;
    size_t complete = 0;
    for (const Reported& job : reported) {
        const auto found = finished.find(job.id);
        if (found == finished.end()) {
            ADD_FAILURE() << "job " << job.id << " was reported finished but has no sidecar";
            continue;
        }
        const std::string data = testsupport::ReadFileBytes(found->second.dataPath);
        if (data == job.bytes) ++complete;
        else ADD_FAILURE() << "job " << job.id << ": " << found->second.dataFile << " holds " << data.size()
                           << " bytes, not the " << job.bytes.size() << " written";
    }
    EXPECT_EQ(reported.size(), complete);
    EXPECT_EQ(reported.size(), finished.size()) << "the folder holds jobs nobody was told of";
}

}  // namespace
}  // namespace printtest
