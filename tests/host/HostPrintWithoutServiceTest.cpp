// Printing what a user most often has, and where the print service is not
// of help: a record that came without its record XML prints its report; a
// PDF print leaves a print service that does not answer alone; a printer
// that cannot be printed to is named with the cause; a print to a service
// that never answers ends within a bounded wait, the job kept; a job the
// service read whole and never confirmed is not called failed.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/print/PrintSetup.h"
#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/platform/print/FakeIppService.h"
#include "tests/platform/print/PrintTestSupport.h"

using namespace hosttest;
using printtest::ScopedEnv;
using testsupport::TempDir;

namespace {

// The names in a folder.
std::set<std::string> FolderNames(const std::string& folder)
{
    std::set<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.insert(name);
        }
        closedir(dir);
    }
    return names;
}

// How long the silent service below holds a connection it took.
enum class Hold {
    OneSecond,   // then closes it, so that a client waiting for an answer goes on, late
    Forever,     // as a scheduler that has hung: only its end closes them
};

// A print service on 127.0.0.1 that takes connections and never answers,
// counting them.
class SilentServer {
public:
    explicit SilentServer(Hold hold = Hold::OneSecond) : m_hold(hold)
    {
        m_listen = ipptest::ListenOnLoopback(m_port);
        if (m_listen < 0) return;
        m_thread = std::thread([this] { Serve(); });
    }
    ~SilentServer()
    {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        for (const auto& open : m_open) ::close(open.first);
        if (m_listen >= 0) ::close(m_listen);
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    int Port() const { return m_port; }
    int Connections() const { return m_connections; }
    // When the service last took a connection, as its thread saw it: after
    // the host began to wait for it, by as much as the machine's load keeps
    // the thread from running. Only an upper bound of the wait is measured
    // from it.
    std::chrono::steady_clock::time_point LastConnectionAt() const
    {
        return std::chrono::steady_clock::time_point(
            std::chrono::steady_clock::duration(m_lastConnection.load()));
    }

private:
    void Serve()
    {
        using Clock = std::chrono::steady_clock;
        while (!m_stop) {
            pollfd wait = {m_listen, POLLIN, 0};
            if (::poll(&wait, 1, 50) > 0) {
                const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd >= 0) {
                    m_open.emplace_back(fd, Clock::now());
                    m_lastConnection = Clock::now().time_since_epoch().count();
                    ++m_connections;
                }
            }
            for (auto open = m_open.begin(); open != m_open.end();) {
                if (m_hold == Hold::Forever || Clock::now() - open->second < std::chrono::seconds(1)) {
                    ++open;
                    continue;
                }
                ::close(open->first);
                open = m_open.erase(open);
            }
        }
    }

    const Hold m_hold;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    std::atomic<std::chrono::steady_clock::rep> m_lastConnection{0};
    std::vector<std::pair<int, std::chrono::steady_clock::time_point>> m_open;   // the server thread's
    std::thread m_thread;
};

// A host run, when it began and when it ended.
//
// A wait's least length is measured from `start`, stamped before the host
// was started: every moment the host waits for the service falls after it,
// however the machine is loaded. A stamp the service's thread takes when
// the host reaches it comes after the host's wait began, by as long as the
// load keeps that thread from running, and would show a wait that was whole
// as short. Its most is measured from such a stamp: coming late, it can
// only make the wait look shorter, never longer, and what the host does
// before it (drawing the print) is not counted.
struct TimedRun {
    HostRun run;
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point end;
    // Seconds of the whole run: at least what the host waited.
    double Seconds() const { return std::chrono::duration<double>(end - start).count(); }
    // Seconds from `from` (when the service saw the host) to the end of the
    // run: at most the host's wait for the service and what it did after.
    double SecondsSince(std::chrono::steady_clock::time_point from) const
    {
        return std::chrono::duration<double>(end - from).count();
    }
};

TimedRun TimedHost(const std::vector<std::string>& args)
{
    TimedRun timed;
    timed.start = std::chrono::steady_clock::now();
    timed.run = Host(args);
    timed.end = std::chrono::steady_clock::now();
    return timed;
}

// Prints to queues of a print service that takes connections and never
// answers: a registry queue handing its jobs to the service's "sink", and
// the service's own "rawq".
class HostMuteServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GT(m_service.Port(), 0);
        MakeRecords({"samples", m_dir.File("samples")});
        const std::string registry = testsupport::ReadFileBytes(testsupport::RegistryFile()) +
                                     "\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\"
                                     "Ward laser]\n\"Port\"=\"cups:sink\"\n";
        m_env.emplace_back(new ScopedEnv("MORVELANCE_REGISTRY", m_dir.Write("registry.reg", registry)));
        m_spool = m_dir.File("spool");
        m_env.emplace_back(new ScopedEnv("MORVELANCE_SPOOL", m_spool));
        m_server = "127.0.0.1:" + std::to_string(m_service.Port());
        m_env.emplace_back(new ScopedEnv("CUPS_SERVER", m_server));
    }

    // The wait shortened to `ms` for the runs that follow.
    void ShortenWait(int ms)
    {
        m_env.emplace_back(new ScopedEnv("MORVELANCE_PRINT_SERVICE_WAIT_MS", std::to_string(ms)));
    }

    std::string Record() const { return m_dir.File("samples/rest12_90.ecg"); }

    // What the service was told it does not do.
    std::string NoAnswer() const { return "印刷サービス (CUPS, " + m_server + ") が応答しませんでした"; }

    SilentServer m_service{Hold::Forever};
    TempDir m_dir;
    std::string m_spool;
    std::string m_server;

private:
    std::vector<std::unique_ptr<ScopedEnv>> m_env;
};

// A raw report and a drawn view to the registry's queue: each print waits
// for the service once, then fails naming it, and its job stays in the spool
// with its path named, as when the scheduler is stopped.
TEST_F(HostMuteServiceTest, APrintToAQueueOfAServiceThatNeverAnswersEndsAfterOneBoundedWaitAndKeepsTheJob)
{
    const int waitMs = 2000;
    ShortenWait(waitMs);
    const std::vector<std::vector<std::string>> prints = {
        {"print", Record(), "--report", "rest-wave", "--pcl", "--printer", "Ward laser"},
        {"print", Record(), "--view", "sheet", "--printer", "Ward laser"},
    };
    size_t kept = 0;
    int connections = 0;
    for (const std::vector<std::string>& args : prints) {
        SCOPED_TRACE(args[2] + " " + args[3]);
        const TimedRun timed = TimedHost(args);
        EXPECT_EQ(1, timed.run.status) << timed.run.err;
        EXPECT_NE(std::string::npos, timed.run.err.find("Ward laser")) << timed.run.err;
        EXPECT_NE(std::string::npos, timed.run.err.find(NoAnswer())) << timed.run.err;
        const auto jobs = platform::print::ListSpooledJobs(m_spool);
        ASSERT_EQ(++kept, jobs.size());
        EXPECT_NE(std::string::npos, timed.run.err.find(jobs.back().dataPath)) << timed.run.err;
        EXPECT_FALSE(testsupport::ReadFileBytes(jobs.back().dataPath).empty());
        // One wait: the service was asked once, and the rest of the print
        // did not wait for it again.
        EXPECT_EQ(connections + 1, m_service.Connections());
        connections = m_service.Connections();
        EXPECT_GE(timed.Seconds(), waitMs / 1000.0);
        EXPECT_LT(timed.SecondsSince(m_service.LastConnectionAt()), waitMs / 1000.0 + 15);
    }
}

// A printer the registry does not have: the service, which did not answer,
// is named as the cause; it is not said to lack the printer.
TEST_F(HostMuteServiceTest, APrinterOnlyAServiceThatNeverAnswersCouldHaveIsNotCalledUnknown)
{
    ShortenWait(2000);
    for (const char* kind : {"--report", "--view"}) {
        SCOPED_TRACE(kind);
        const int before = m_service.Connections();
        const TimedRun timed = TimedHost({"print", Record(), kind, kind[2] == 'r' ? "rest-wave" : "sheet", "--printer", "rawq"});
        EXPECT_EQ(1, timed.run.status);
        EXPECT_NE(std::string::npos, timed.run.err.find("the printer \"rawq\" cannot be printed to")) << timed.run.err;
        EXPECT_NE(std::string::npos, timed.run.err.find(NoAnswer())) << timed.run.err;
        EXPECT_EQ(std::string::npos, timed.run.err.find("にもありません")) << timed.run.err;
        EXPECT_EQ(before + 1, m_service.Connections());
        EXPECT_LT(timed.SecondsSince(m_service.LastConnectionAt()), 2 + 15.0);
    }
    EXPECT_TRUE(platform::print::ListSpooledJobs(m_spool).empty());
}

// Without the tests' shortening: the wait the host really has ends the
// print well inside half a minute.
TEST_F(HostMuteServiceTest, ThePrintServicesWaitEndsAPrintWithinHalfAMinute)
{
    const TimedRun timed = TimedHost({"print", Record(), "--report", "rest-wave", "--pcl", "--printer", "Ward laser"});
    EXPECT_EQ(1, timed.run.status) << timed.run.err;
    EXPECT_NE(std::string::npos, timed.run.err.find(NoAnswer())) << timed.run.err;
    EXPECT_EQ(1u, platform::print::ListSpooledJobs(m_spool).size());
    EXPECT_LT(timed.SecondsSince(m_service.LastConnectionAt()), 30.0);
    // It did wait: a service slow to answer is not given up at once.
    EXPECT_GE(timed.Seconds(), 10.0);
}

// A service that answers every question, reads the whole print job and
// never says it took it (a scheduler frozen right after it queued the job):
// the job may still print, so the user is told it was not confirmed, with
// the kept data to send again only if nothing comes, never that it failed.
TEST(HostPrintToAServiceThatNeverConfirms, AJobSentWholeIsReportedAsNotConfirmedWithItsKeptDataNotAsFailed)
{
    ipptest::FakeIppService service("rawq", ipptest::JobAnswer::Never);
    ASSERT_GT(service.Port(), 0);
    TempDir dir;
    MakeRecords({"samples", dir.File("samples")});
    const std::string spool = dir.File("spool");
    const ScopedEnv server("CUPS_SERVER", service.Server());
    const ScopedEnv spoolFolder("MORVELANCE_SPOOL", spool);
    // The answers to the print's lookups count toward the bound too: it
    // leaves them time enough, however loaded the machine, that the job is
    // always sent whole.
    const int waitMs = 3000;
    const ScopedEnv bound("MORVELANCE_PRINT_SERVICE_WAIT_MS", std::to_string(waitMs));
    const std::string record = dir.File("samples/rest12_90.ecg");
    const std::vector<std::vector<std::string>> prints = {
        {"print", record, "--report", "rest-wave", "--pcl", "--printer", "rawq"},
        {"print", record, "--view", "sheet", "--printer", "rawq"},
    };
    size_t kept = 0;
    for (const std::vector<std::string>& args : prints) {
        SCOPED_TRACE(args[2] + " " + args[3]);
        const TimedRun timed = TimedHost(args);
        const HostRun& run = timed.run;
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_NE(std::string::npos, run.err.find("確認しませんでした")) << run.err;
        EXPECT_NE(std::string::npos, run.err.find("it may still print")) << run.err;
        EXPECT_EQ(std::string::npos, run.err.find("印刷できません")) << run.err;
        EXPECT_EQ(std::string::npos, run.err.find("could not be printed")) << run.err;
        // The job stays in the spool, named, and is what the service read.
        const auto jobs = platform::print::ListSpooledJobs(spool);
        ASSERT_EQ(++kept, jobs.size());
        EXPECT_EQ(jobs.back().dataPath + "\n", run.out);
        EXPECT_NE(std::string::npos, run.err.find(jobs.back().dataPath)) << run.err;
        const std::string data = testsupport::ReadFileBytes(jobs.back().dataPath);
        ASSERT_FALSE(data.empty());
        const std::vector<std::string> received = service.Jobs();
        ASSERT_EQ(kept, received.size());
        EXPECT_TRUE(received.back().size() > data.size() &&
                    received.back().compare(received.back().size() - data.size(), data.size(), data) == 0)
            << received.back().size() << " bytes read for a job of " << data.size();
        // The host waited the bound the service is given (its lookups and
        // the job's answer together), and did not wait on past it once the
        // service had read the job.
        EXPECT_GE(timed.Seconds(), waitMs / 1000.0);
        EXPECT_LT(timed.SecondsSince(service.LastJobAt()), waitMs / 1000.0 + 15);
    }
}

TEST(HostPrintWithoutRecordXml, AnMferFileAloneInItsFolderPrintsItsReportAndGainsNoFile)
{
    TempDir dir;
    const std::string folder = dir.File("mfer");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
    const std::string record = folder + "/mfer12.mwf";
    MakeRecords({"mfer", "--kind", "plain", "--leads", "12", "--out", record});
    ASSERT_EQ(std::set<std::string>{"mfer12.mwf"}, FolderNames(folder));
    const std::string pdf = dir.File("report.pdf");
    const HostRun run = Host({"print", record, "--report", "rest-wave", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(pdf + "\n", run.out);
    if (HavePoppler()) {
        EXPECT_EQ(1, PdfPageCount(pdf));
    }
    // The report reads the record XML the library names, and writes none.
    EXPECT_EQ(std::set<std::string>{"mfer12.mwf"}, FolderNames(folder));
}

TEST(HostPrintWithoutRecordXml, ADeviceRecordWithoutItsRecordXmlPrintsItsReport)
{
    TempDir dir;
    MakeRecords({"samples", dir.File("samples")});
    const std::string folder = dir.File("alone");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
    const std::string record =
        dir.Write("alone/rest12_90.ecg", testsupport::ReadFileBytes(dir.File("samples/rest12_90.ecg")));
    const std::string pdf = dir.File("report.pdf");
    const HostRun run = Host({"print", record, "--report", "rest-wave", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(pdf + "\n", run.out);
    EXPECT_EQ(std::set<std::string>{"rest12_90.ecg"}, FolderNames(folder));
}

TEST(HostPrintWithoutService, PdfAndOwnQueuePrintsLeaveAPrintServiceThatDoesNotAnswerAlone)
{
    SilentServer service;
    ASSERT_GT(service.Port(), 0);
    TempDir dir;
    MakeRecords({"samples", dir.File("samples")});
    const ScopedEnv server("CUPS_SERVER", "127.0.0.1:" + std::to_string(service.Port()));
    const std::string record = dir.File("samples/rest15_90.ecg");
    const std::vector<std::vector<std::string>> prints = {
        {"print", record, "--view", "sheet", "--pdf", dir.File("sheet.pdf")},
        {"print", record, "--report", "rest-wave", "--pdf", dir.File("report.pdf")},
    };
    for (const std::vector<std::string>& args : prints) {
        SCOPED_TRACE(args[3]);
        const HostRun run = Host(args);
        ASSERT_EQ(0, run.status) << run.err;
        EXPECT_EQ(args[5] + "\n", run.out);
        EXPECT_FALSE(testsupport::ReadFileBytes(args[5]).empty());
    }
    // A raw report to the host's own queue of the registry: it stays in the spool.
    const ScopedEnv spool("MORVELANCE_SPOOL", dir.File("spool"));
    for (const char* language : {"--pcl", "--lips"}) {
        SCOPED_TRACE(language);
        const HostRun run = Host({"print", record, "--report", "rest-wave", language});
        ASSERT_EQ(0, run.status) << run.err;
        EXPECT_EQ(0u, run.out.find(dir.File("spool/"))) << run.out;
    }
    EXPECT_EQ(0, service.Connections());
}

TEST(HostPrintWithoutService, APrinterOfAServiceThatCannotBeReachedIsNamedWithTheCause)
{
    TempDir dir;
    MakeRecords({"samples", dir.File("samples")});
    const std::string socket = dir.File("no-scheduler.sock");
    const ScopedEnv server("CUPS_SERVER", socket);
    const HostRun run = Host({"print", dir.File("samples/rest12_90.ecg"), "--report", "rest-wave", "--printer", "rawq"});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("\"rawq\"")) << run.err;
    EXPECT_NE(std::string::npos, run.err.find(socket + ") に接続できません")) << run.err;
}

}  // namespace
