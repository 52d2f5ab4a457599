// The host printing reports and views to printers of the print service,
// against a scheduler of the test's own: raw reports arrive byte for byte as
// the spool holds them, a drawn report as a PDF with the report's text, hosts printing
// at once each their own job; with the scheduler stopped the print fails
// with the printer and the cause named and the job kept in the spool, and
// once the scheduler is back a print arrives once; a printer that is not
// there, or a scheduler that is not, is named with the cause; a paused queue
// takes the job with a warning; jobs are titled with their record and report
// or view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <set>
#include <thread>

#include "platform/base/CodePage.h"
#include "platform/print/PrintSetup.h"
#include "tests/host/HostPdf.h"
#include "tests/platform/print/CupsScheduler.h"
#include "tests/platform/print/PrintTestSupport.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using cupstest::CupsScheduler;
using cupstest::Delivered;
using printtest::ScopedEnv;

namespace {

const char kWardQueue[] = "Ward laser";          // a registry queue handing its jobs to "sink"
const char kJapanese[] = "心電図プリンター";     // a destination printed to by its own name

class HostCupsPrintTest : public cupstest::WithScheduler<::testing::Test> {
protected:
    void SetUp() override
    {
        CUPS_SCHEDULER_OR_SKIP(*s_scheduler);
        ASSERT_TRUE(s_scheduler->AddDestination("sink"));
        ASSERT_TRUE(s_scheduler->AddDestination(kJapanese));
        std::ostringstream out, err;
        ASSERT_EQ(0, morvelance::RunMkrecord({"samples", m_dir.File("samples")}, out, err)) << err.str();
        // The hosts' registry: the work directory, and the ward's queue.
        const std::string registry = testsupport::ReadFileBytes(testsupport::RegistryFile()) +
                                     "\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" +
                                     kWardQueue + "]\n\"Port\"=\"cups:sink\"\n\"PaperSize\"=dword:00000008\n"
                                     "\"Orientation\"=dword:00000002\n";
        m_env.emplace_back(new ScopedEnv("MORVELANCE_REGISTRY", m_dir.Write("registry.reg", registry)));
        m_spool = m_dir.File("spool");
        m_env.emplace_back(new ScopedEnv("MORVELANCE_SPOOL", m_spool));
        m_env.emplace_back(new ScopedEnv("CUPS_SERVER", s_scheduler->Socket()));
        m_before = s_scheduler->Jobs().size();
    }

    std::string Sample(const std::string& name) const { return m_dir.File("samples/" + name + ".ecg"); }

    // The jobs the back end received during this test, waiting for `count`.
    std::vector<Delivered> Received(size_t count) const { return s_scheduler->JobsAfter(m_before, count); }
    // Two print runs that both succeed, and the titles of the two jobs they
    // sent, in turn.
    void ExpectJobTitles(const std::vector<std::string>& first, const std::vector<std::string>& second,
                         const std::string& firstTitle, const std::string& secondTitle)
    {
        const HostRun one = Host(first);
        ASSERT_EQ(0, one.status) << one.err;
        const HostRun two = Host(second);
        ASSERT_EQ(0, two.status) << two.err;
        const std::vector<Delivered> jobs = Received(2);
        ASSERT_EQ(2u, jobs.size());
        EXPECT_NE(std::string::npos, jobs[0].attrs.find("title=" + firstTitle + "\n")) << jobs[0].attrs;
        EXPECT_NE(std::string::npos, jobs[1].attrs.find("title=" + secondTitle + "\n")) << jobs[1].attrs;
    }

    // The bytes the host's own raw queue spools for a report (--pcl or --lips).
    std::string SpooledReport(const std::string& record, const char* language)
    {
        const HostRun run = Host({"print", Sample(record), "--report", "rest-wave", language});
        EXPECT_EQ(0, run.status) << run.err;
        std::string path = run.out;
        while (!path.empty() && path.back() == '\n') path.pop_back();
        return testsupport::ReadFileBytes(path);
    }

    testsupport::TempDir m_dir;
    std::string m_spool;
    size_t m_before = 0;

private:
    std::vector<std::unique_ptr<ScopedEnv>> m_env;
};

TEST_F(HostCupsPrintTest, RawReportsArriveByteForByteAsTheSpoolHoldsThem)
{
    const std::string pcl = SpooledReport("rest12_90", "--pcl");
    const std::string lips = SpooledReport("rest12_90", "--lips");
    ASSERT_FALSE(pcl.empty());
    ASSERT_FALSE(lips.empty());
    const HostRun toWard = Host({"print", Sample("rest12_90"), "--report", "rest-wave", "--pcl", "--printer", kWardQueue});
    ASSERT_EQ(0, toWard.status) << toWard.err;
    EXPECT_EQ(0u, toWard.out.find("sink-")) << toWard.out;
    const HostRun toJapanese =
        Host({"print", Sample("rest12_90"), "--report", "rest-wave", "--printer", kJapanese, "--lips"});
    ASSERT_EQ(0, toJapanese.status) << toJapanese.err;
    EXPECT_EQ(0u, toJapanese.out.find(std::string(kJapanese) + "-")) << toJapanese.out;

    const std::vector<Delivered> jobs = Received(2);
    ASSERT_EQ(2u, jobs.size());
    EXPECT_TRUE(jobs[0].data == pcl) << jobs[0].data.size() << " bytes arrived of " << pcl.size();
    EXPECT_TRUE(jobs[1].data == lips) << jobs[1].data.size() << " bytes arrived of " << lips.size();
    // A raw job takes its printer's device mode: the ward queue's landscape A3.
    EXPECT_NE(std::string::npos, jobs[0].attrs.find("orientation-requested=4")) << jobs[0].attrs;
    EXPECT_NE(std::string::npos, jobs[0].attrs.find("media=iso_a3_297x420mm")) << jobs[0].attrs;
}

TEST_F(HostCupsPrintTest, HostsPrintingAtOnceEachGetTheirOwnJobWithTheReportsText)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdftoppm (poppler-utils) are not installed";
    struct Print {
        const char* record;
        const char* report;
        const char* patient;
        HostRun run;
    };
    Print prints[] = {{"rest12_90", "rest-wave", "MV-1001", {}},
                      {"rest15_90", "rest-wave", "MV-1002", {}},
                      {"rhythm_90", "rhythm-wave", "MV-1003", {}},
                      {"extra_90", "extra-wave", "MV-1005", {}}};
    std::vector<std::thread> hosts;
    for (Print& print : prints)
        hosts.emplace_back([&] { print.run = Host({"print", Sample(print.record), "--report", print.report, "--printer", "sink"}); });
    for (std::thread& host : hosts) host.join();

    const std::vector<Delivered> jobs = Received(4);
    ASSERT_EQ(4u, jobs.size());
    std::map<std::string, std::string> patientOfJob;   // "sink-<id>" -> the patient its PDF names
    for (const Delivered& job : jobs) {
        ASSERT_EQ(0u, job.data.compare(0, 5, "%PDF-"));
        const std::string pdf = m_dir.Write("job-" + std::to_string(job.id) + ".pdf", job.data);
        std::set<std::string> patients;
        for (const PdfWord& word : PdfWords(pdf))
            for (const Print& print : prints)
                if (word.text == print.patient) patients.insert(word.text);
        ASSERT_EQ(1u, patients.size()) << "job " << job.id << " carries " << patients.size() << " patients";
        patientOfJob["sink-" + std::to_string(job.id)] = *patients.begin();
    }
    for (const Print& print : prints) {
        SCOPED_TRACE(print.record);
        ASSERT_EQ(0, print.run.status) << print.run.err;
        std::string job = print.run.out;
        while (!job.empty() && job.back() == '\n') job.pop_back();
        EXPECT_EQ(print.patient, patientOfJob[job]) << "the host named " << job;
    }
}

TEST_F(HostCupsPrintTest, AViewPrintedToADestinationArrivesAsItsPdf)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdftoppm (poppler-utils) are not installed";
    const HostRun run = Host({"print", Sample("rest15_90"), "--view", "sheet", "--printer", kWardQueue});
    ASSERT_EQ(0, run.status) << run.err;
    const std::vector<Delivered> jobs = Received(1);
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ("sink-" + std::to_string(jobs[0].id) + "\n", run.out);
    const std::string pdf = m_dir.Write("view.pdf", jobs[0].data);
    std::set<std::string> words;
    for (const PdfWord& word : PdfWords(pdf)) words.insert(word.text);
    EXPECT_EQ(1u, words.count("V4R"));   // a lead only the fifteen-lead record has
    EXPECT_GE(PdfPageCount(pdf), 1);
}

TEST_F(HostCupsPrintTest, AStoppedSchedulerFailsThePrintNamingThePrinterAndKeepsTheJobUntilAPrintArrivesOnce)
{
    const auto jobsInCups = [] {
        const std::string listed = s_scheduler->AdminOutput("lpstat -W all -o sink");
        return std::count(listed.begin(), listed.end(), '\n');
    };
    const long inCupsBefore = jobsInCups();
    s_scheduler->Stop();
    const HostRun failed = Host({"print", Sample("rest12_90"), "--report", "rest-wave", "--pcl", "--printer", kWardQueue});
    const bool restarted = s_scheduler->Start();
    EXPECT_EQ(1, failed.status);
    EXPECT_NE(std::string::npos, failed.err.find(kWardQueue)) << failed.err;
    EXPECT_NE(std::string::npos, failed.err.find("CUPS")) << failed.err;
    const auto kept = platform::print::ListSpooledJobs(m_spool);
    ASSERT_EQ(1u, kept.size());
    EXPECT_NE(std::string::npos, failed.err.find(kept[0].dataFile)) << failed.err;
    const std::string bytes = testsupport::ReadFileBytes(kept[0].dataPath);
    EXPECT_FALSE(bytes.empty());

    ASSERT_TRUE(restarted) << s_scheduler->Failure();
    const HostRun again = Host({"print", Sample("rest12_90"), "--report", "rest-wave", "--pcl", "--printer", kWardQueue});
    ASSERT_EQ(0, again.status) << again.err;
    const std::vector<Delivered> jobs = Received(1);
    ASSERT_EQ(1u, jobs.size());
    EXPECT_TRUE(jobs[0].data == bytes);
    // The failed job never reached CUPS, nor is it sent behind the new one:
    // it stays in the spool folder.
    EXPECT_EQ(inCupsBefore + 1, jobsInCups());
    const auto left = platform::print::ListSpooledJobs(m_spool);
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ(kept[0].dataFile, left[0].dataFile);
}

TEST_F(HostCupsPrintTest, APrinterNeitherTheRegistryNorTheSchedulerHasIsNamedWithTheCause)
{
    // A report, and a view printed as it is shown.
    for (const char* kind : {"--report", "--view"}) {
        SCOPED_TRACE(kind);
        const HostRun run = Host({"print", Sample("rest12_90"), kind, kind[2] == 'r' ? "rest-wave" : "sheet",
                                  "--printer", "nosuchq"});
        EXPECT_EQ(1, run.status);
        EXPECT_NE(std::string::npos, run.err.find("\"nosuchq\"")) << run.err;
        EXPECT_NE(std::string::npos, run.err.find(s_scheduler->Socket() + ") にもありません")) << run.err;
    }
    EXPECT_TRUE(platform::print::ListSpooledJobs(m_spool).empty());
}

TEST_F(HostCupsPrintTest, ADestinationOfASchedulerThatIsNotThereIsNamedWithTheCause)
{
    const std::string gone = m_dir.File("gone.sock");
    const ScopedEnv server("CUPS_SERVER", gone);
    for (const char* printer : {"rawq", "sink"}) {
        SCOPED_TRACE(printer);
        const HostRun run = Host({"print", Sample("rest12_90"), "--report", "rest-wave", "--pcl", "--printer", printer});
        EXPECT_EQ(1, run.status);
        EXPECT_NE(std::string::npos, run.err.find("\"" + std::string(printer) + "\"")) << run.err;
        EXPECT_NE(std::string::npos, run.err.find(gone + ") に接続できません")) << run.err;
    }
}

TEST_F(HostCupsPrintTest, APausedQueueTakesTheJobWithAWarningAndPrintsItOnceResumed)
{
    ASSERT_TRUE(s_scheduler->AddDestination("rawq"));
    ASSERT_TRUE(s_scheduler->Admin("cupsdisable rawq"));
    const HostRun run = Host({"print", Sample("rest12_90"), "--report", "rest-wave", "--pcl", "--printer", "rawq"});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(0u, run.out.find("rawq-")) << run.out;
    EXPECT_NE(std::string::npos, run.err.find("warning: the printer \"rawq\" is paused")) << run.err;
    // The scheduler holds it: nothing stays behind in the host's spool.
    EXPECT_TRUE(platform::print::ListSpooledJobs(m_spool).empty());
    const std::string pcl = SpooledReport("rest12_90", "--pcl");
    ASSERT_TRUE(s_scheduler->Admin("cupsenable rawq"));
    const std::vector<Delivered> jobs = Received(1);
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ("rawq-" + std::to_string(jobs[0].id) + "\n", run.out);
    EXPECT_TRUE(jobs[0].data == pcl) << jobs[0].data.size() << " bytes arrived of " << pcl.size();
}

TEST_F(HostCupsPrintTest, JobsAreTitledWithTheirRecordAndReport)
{
    ExpectJobTitles({"print", Sample("rest12_90"), "--report", "rest-wave", "--pcl", "--printer", "sink"},
                    {"print", Sample("rhythm_90"), "--report", "rhythm-wave", "--printer", kWardQueue},
                    "rest12_90.ecg rest-wave", "rhythm_90.ecg rhythm-wave");
}

TEST_F(HostCupsPrintTest, ViewsPrintedToAPrinterAreTitledWithTheirRecordAndView)
{
    ExpectJobTitles({"print", Sample("rest15_90"), "--view", "sheet", "--printer", "sink"},
                    {"print", Sample("rhythm_90"), "--view", "CViewRhythmWave", "--printer", kWardQueue},
                    "rest15_90.ecg sheet", "rhythm_90.ecg CViewRhythmWave");
}

}  // namespace
