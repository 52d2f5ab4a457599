// A page printed to a printer (a queue of the registry, whose job is a PDF
// in the spool, or a CUPS destination) is the page the PDF print draws: its
// grid, traces and texts drawn as lines, dots and glyphs, with no picture of
// the grid in the job, measuring on paper as the PDF does; and a print to a
// printer short of memory prints its page whole or says that memory ran out.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/platform/print/CupsScheduler.h"
#include "tests/platform/print/PrintTestSupport.h"
#include "tests/support/MemoryLimit.h"

using namespace hosttest;
using printtest::ScopedEnv;
using testsupport::TempDir;

namespace {

const char kWardPrinter[] = "Ward printer";   // a spool queue of the registry: its jobs stay in the spool

// The registry the hosts of a test read: the build's (the work directory)
// and the lines given.
std::string Registry(const std::string& more)
{
    return testsupport::ReadFileBytes(testsupport::RegistryFile()) + "\n" + more;
}

std::string SpoolPrinter(const std::string& name)
{
    return "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + name +
           "]\n\"Port\"=\"LPT1:\"\n\"Kind\"=\"spool\"\n\"PaperSize\"=dword:00000009\n\"Orientation\"=dword:00000002\n";
}

// The images of a PDF as pdfimages lists them, one line each ("WxH color
// bpc"); empty for none.
std::vector<std::string> PdfImages(const std::string& pdf)
{
    std::istringstream lines(CommandOutput("pdfimages -list " + Quoted(pdf) + " 2>&1"));
    std::vector<std::string> images;
    std::string line;
    for (int header = 0; header < 2 && std::getline(lines, line); ++header) {
    }
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string page, num, type, width, height, color, comp, bpc;
        if (fields >> page >> num >> type >> width >> height >> color >> comp >> bpc)
            images.push_back(width + "x" + height + " " + color + " " + bpc);
    }
    return images;
}

bool HavePdfImages()
{
    return HavePoppler() && std::system("command -v pdfimages >/dev/null 2>&1") == 0;
}

class HostPrinterPageTest : public HostSamplesTest {
protected:
    void SetUp() override
    {
        HostSamplesTest::SetUp();
        const std::string registry = m_dir.Write("registry.reg", Registry(SpoolPrinter(kWardPrinter)));
        m_env.emplace_back(new ScopedEnv("MORVELANCE_REGISTRY", registry));
        m_env.emplace_back(new ScopedEnv("MORVELANCE_SPOOL", m_dir.File("spool")));
        // No print service: the registry's queue is all these prints need.
        m_env.emplace_back(new ScopedEnv("CUPS_SERVER", m_dir.File("no-scheduler.sock")));
    }

    // The environment as it was, the settings made last going first.
    void TearDown() override
    {
        while (!m_env.empty()) m_env.pop_back();
    }

    std::string Sample(const std::string& name) const { return SamplePath(name + ".ecg"); }

    // The spool file of a print to the ward's printer, from the line the host printed.
    std::string PrintToPrinter(const std::vector<std::string>& args)
    {
        std::vector<std::string> all = args;
        all.push_back("--printer");
        all.push_back(kWardPrinter);
        const HostRun run = Host(all);
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_EQ(0u, run.out.find(m_dir.File("spool/"))) << run.out;
        return run.out.empty() ? std::string() : run.out.substr(0, run.out.size() - 1);
    }

    std::string PrintToPdf(const std::vector<std::string>& args, const std::string& name)
    {
        std::vector<std::string> all = args;
        all.push_back("--pdf");
        all.push_back(m_dir.File(name));
        const HostRun run = Host(all);
        EXPECT_EQ(0, run.status) << run.err;
        return m_dir.File(name);
    }

    // The page measures as paper does: a 10 mm pulse is 118 pixels at 300
    // dpi, and the grid's 5 mm lines are 59 pixels apart.
    void ExpectTrueScale(const std::string& pdf, const std::string& name)
    {
        PdfPage page(pdf, 1, m_dir.Path());
        ASSERT_TRUE(page.Ok()) << pdf;
        // The printable area begins 10 mm in; the pulses stand in its first 8 mm.
        const int left = static_cast<int>(11 * kPixelsPerMm), right = static_cast<int>(18 * kPixelsPerMm);
        EXPECT_NEAR(page.LongestDarkColumnRun(left, right), 118, 2) << name;
        EXPECT_NEAR(page.CommonGridPitch(page.Height() * 2 / 5, page.Height() * 3 / 5), 59, 1) << name;
    }

    std::vector<std::unique_ptr<ScopedEnv>> m_env;
};

TEST_F(HostPrinterPageTest, AReportToAPrinterCarriesNoPictureOfItsGridAndMeasuresAsItsPdf)
{
    if (!HavePdfImages()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::vector<std::string> report = {"print", Sample("rest12_90"), "--report", "rest-wave"};
    const std::string job = PrintToPrinter(report);
    ASSERT_EQ(0u, testsupport::ReadFileBytes(job).rfind("%PDF", 0)) << job;
    // The report has no picture: its grid is lines and dots, as in the PDF print.
    const std::vector<std::string> images = PdfImages(job);
    EXPECT_TRUE(images.empty()) << images.size() << " images, the first " << images.front();
    EXPECT_TRUE(PdfImages(PrintToPdf(report, "report.pdf")).empty());
    EXPECT_EQ(1, PdfPageCount(job));
    ExpectTrueScale(job, "printed");
    ExpectTrueScale(m_dir.File("report.pdf"), "pdf");
}

TEST_F(HostPrinterPageTest, ASheetToAPrinterCarriesNoPictureOfEitherGrid)
{
    if (!HavePdfImages()) GTEST_SKIP() << "poppler-utils are not installed";
    for (const std::string grid : {"dots", "lines"}) {
        SCOPED_TRACE(grid);
        const std::string job = PrintToPrinter({"print", Sample("rest12_90"), "--view", "sheet", "--grid", grid});
        const std::vector<std::string> images = PdfImages(job);
        EXPECT_TRUE(images.empty()) << images.size() << " images, the first " << images.front();
        // The grid is on the page: its 5 mm lines (dots) 59 pixels apart at 300 dpi.
        PdfPage page(job, 1, m_dir.Path());
        ASSERT_TRUE(page.Ok());
        EXPECT_NEAR(page.CommonGridPitch(page.Height() * 2 / 5, page.Height() * 3 / 5, grid == "lines"), 59, 1);
    }
}

// Short of memory, the print to a printer needs what the PDF print needs:
// it prints where the PDF prints, and where memory runs out it says so,
// never "印刷エラー" alone, and never prints a page with part of it missing.
TEST_F(HostPrinterPageTest, AReportToAPrinterShortOfMemoryPrintsItsWholePageOrSaysMemoryRanOut)
{
    if (!testsupport::MemoryLimitsCanBeTested())
        GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    const std::string record = Sample("rest12_90");
    const std::vector<std::string> args = {"print", record, "--report", "rest-wave", "--printer", kWardPrinter};
    const std::string whole = PrintToPrinter({"print", record, "--report", "rest-wave"});
    const size_t wholeSize = testsupport::ReadFileBytes(whole).size();
    ASSERT_GT(wholeSize, 0u);

    struct Limited {
        int status = -1;
        std::string out, err;
    };
    auto runWithLimit = [&](rlim_t megabytes) {
        const std::string outFile = m_dir.File("limited.out"), errFile = m_dir.File("limited.err");
        const std::string host = testsupport::BinaryDir() + "/bin/morvelance-host";
        std::vector<char*> argv = {const_cast<char*>(host.c_str())};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const struct rlimit limit = {megabytes << 20, megabytes << 20};
            ::setrlimit(RLIMIT_AS, &limit);
            const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(out, 1);
            ::dup2(err, 2);
            ::execv(host.c_str(), argv.data());
            ::_exit(127);
        }
        Limited run;
        int status = 0;
        if (pid > 0 && ::waitpid(pid, &status, 0) == pid)
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.out = testsupport::ReadFileBytes(outFile);
        run.err = testsupport::ReadFileBytes(errFile);
        return run;
    };
    // A run that printed spooled the whole page: the same job as without a limit.
    auto expectWholeJob = [&](const Limited& run) {
        ASSERT_FALSE(run.out.empty());
        const std::string job = run.out.substr(0, run.out.size() - 1);
        EXPECT_EQ(wholeSize, testsupport::ReadFileBytes(job).size()) << job;
    };

    // Half a gigabyte is many times what the PDF print of the page needs.
    const Limited roomy = runWithLimit(512);
    ASSERT_EQ(0, roomy.status) << roomy.err;
    expectWholeJob(roomy);

    // Lower and lower, until the print has run out of memory or the record
    // itself no longer opens.
    int ranOut = 0;
    for (rlim_t megabytes = 256; megabytes >= 96 && ranOut == 0; megabytes -= 2) {
        SCOPED_TRACE(std::to_string(megabytes) + " MB");
        const Limited run = runWithLimit(megabytes);
        if (run.status == 0) {
            expectWholeJob(run);
            continue;
        }
        EXPECT_EQ(1, run.status) << run.err;
        // Short of memory, the print says so; lower still, the text set-up at
        // start says so before the print begins; lower again the record's
        // open refuses it for memory, and the print never began.
        const bool forPrint =
            run.err.find("morvelance-host: " + record + ": not enough memory for print") != std::string::npos;
        const bool forText = run.err.find("not enough memory for text") != std::string::npos;
        if (!forPrint && !forText && run.err.find("memory") != std::string::npos) break;
        EXPECT_TRUE(forPrint || forText) << run.err;
        EXPECT_EQ(std::string::npos, run.err.find("印刷エラー")) << run.err;
        ++ranOut;
    }
    EXPECT_GT(ranOut, 0) << "no limit left the print short of memory";
}

// ---- a CUPS destination ---------------------------------------------------------------------------

class HostPrinterPageCupsTest : public cupstest::WithScheduler<HostPrinterPageTest> {
protected:
    void SetUp() override
    {
        HostPrinterPageTest::SetUp();
        CUPS_SCHEDULER_OR_SKIP(*s_scheduler);
        ASSERT_TRUE(s_scheduler->AddDestination("ward"));
        m_env.emplace_back(new ScopedEnv("CUPS_SERVER", s_scheduler->Socket()));
    }
};

TEST_F(HostPrinterPageCupsTest, AReportAndASheetToACupsDestinationCarryNoPictureOfTheirGrid)
{
    if (!HavePdfImages()) GTEST_SKIP() << "poppler-utils are not installed";
    const size_t before = s_scheduler->Jobs().size();
    const std::vector<std::vector<std::string>> prints = {
        {"print", Sample("rest12_90"), "--report", "rest-wave", "--printer", "ward"},
        {"print", Sample("rest12_90"), "--view", "sheet", "--printer", "ward"},
    };
    for (const std::vector<std::string>& args : prints) {
        const HostRun run = Host(args);
        ASSERT_EQ(0, run.status) << run.err;
    }
    const std::vector<cupstest::Delivered> jobs = s_scheduler->JobsAfter(before, prints.size());
    ASSERT_EQ(prints.size(), jobs.size());
    for (const cupstest::Delivered& job : jobs) {
        SCOPED_TRACE(job.attrs);
        const std::string pdf = m_dir.Write("cups-" + std::to_string(job.id) + ".pdf", job.data);
        ASSERT_EQ(0u, job.data.rfind("%PDF", 0));
        const std::vector<std::string> images = PdfImages(pdf);
        EXPECT_TRUE(images.empty()) << images.size() << " images, the first " << images.front();
    }
    ExpectTrueScale(m_dir.File("cups-" + std::to_string(jobs.front().id) + ".pdf"), "cups");
}

}  // namespace
