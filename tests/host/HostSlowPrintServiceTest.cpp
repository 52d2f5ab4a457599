// A print service that answers, but slowly: the many printer lookups of one
// print's setup spend the bound it is given before the job is handed over.
// The print then ends as one to a service that does not answer ends: the
// service is named as not answering, and the job is kept in the spool with
// its path named, not lost with a bare "could not be printed".
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/print/PrintSetup.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/platform/print/FakeIppService.h"
#include "tests/platform/print/PrintTestSupport.h"

using namespace hosttest;
using printtest::ScopedEnv;
using testsupport::TempDir;

namespace {

TEST(HostSlowPrintService, APrintWhoseLookupsSpendTheBoundNamesTheServiceAndKeepsTheJob)
{
    ipptest::FakeIppService service("rawq");
    ASSERT_GT(service.Port(), 0);
    // Every answer comes in two pieces, each after half a second: a second
    // an answer, against a bound of two. The lookups alone spend it.
    service.AnswerInPieces(2, std::chrono::milliseconds(500));
    TempDir dir;
    MakeRecords({"samples", dir.File("samples")});
    const std::string spool = dir.File("spool");
    const ScopedEnv server("CUPS_SERVER", service.Server());
    const ScopedEnv spoolFolder("MORVELANCE_SPOOL", spool);
    const ScopedEnv bound("MORVELANCE_PRINT_SERVICE_WAIT_MS", "2000");
    const std::string record = dir.File("samples/rest12_90.ecg");
    const std::string noAnswer = "印刷サービス (CUPS, " + service.Server() + ") が応答しませんでした";
    const std::vector<std::vector<std::string>> prints = {
        {"print", record, "--report", "rest-wave", "--pcl", "--printer", "rawq"},
        {"print", record, "--view", "sheet", "--printer", "rawq"},
    };
    size_t kept = 0;
    for (const std::vector<std::string>& args : prints) {
        SCOPED_TRACE(args[2] + " " + args[3]);
        const auto start = std::chrono::steady_clock::now();
        const HostRun run = Host(args);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(1, run.status) << run.err;
        EXPECT_NE(std::string::npos, run.err.find("rawq")) << run.err;
        EXPECT_NE(std::string::npos, run.err.find(noAnswer)) << run.err;
        EXPECT_EQ(std::string::npos, run.err.find("Abort Set Error!")) << run.err;
        // The job is kept, named, as the page the print made.
        const auto jobs = platform::print::ListSpooledJobs(spool);
        ASSERT_EQ(++kept, jobs.size()) << run.err;
        EXPECT_NE(std::string::npos, run.err.find(jobs.back().dataPath)) << run.err;
        EXPECT_FALSE(testsupport::ReadFileBytes(jobs.back().dataPath).empty());
        // The service was never handed a job it might print after all.
        EXPECT_TRUE(service.Jobs().empty());
        // Within the bound, and what one print may take beside it: its
        // drawing, which a loaded machine may make many times as long. (That
        // each lookup was not given a bound of its own shows in the job
        // never handed over: each would have been answered.)
        EXPECT_LT(seconds, 2.0 + 60);
    }
}

}  // namespace
