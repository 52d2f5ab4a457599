// Printing what a user most often has, and where the print service is not
// of help: a record that came without its record XML prints its report; a
// PDF print leaves a print service that does not answer alone; a printer
// that cannot be printed to is named with the cause.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
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

// A print service on 127.0.0.1 that takes connections and never answers,
// counting them. A connection is closed a second after it came, so that a
// client waiting for an answer goes on, late.
class SilentServer {
public:
    SilentServer()
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            ::listen(m_listen, 16) != 0 || ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
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

private:
    void Serve()
    {
        using Clock = std::chrono::steady_clock;
        while (!m_stop) {
            pollfd wait = {m_listen, POLLIN, 0};
            if (::poll(&wait, 1, 50) > 0) {
                const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd >= 0) {
                    ++m_connections;
                    m_open.emplace_back(fd, Clock::now());
                }
            }
            for (auto open = m_open.begin(); open != m_open.end();) {
                if (Clock::now() - open->second < std::chrono::seconds(1)) {
                    ++open;
                    continue;
                }
                ::close(open->first);
                open = m_open.erase(open);
            }
        }
    }

    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    std::vector<std::pair<int, std::chrono::steady_clock::time_point>> m_open;   // the server thread's
    std::thread m_thread;
};

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
