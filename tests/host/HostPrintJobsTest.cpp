// Print jobs of hosts that share one registry, as on a workstation: hosts
// printing at the same time each print their own record, a host killed in
// the middle of a print leaves nothing in the registry or the temporary
// folder that a later print trips over, a host stopped by a signal leaves
// nothing half written in the spool, and a PDF printer left behind by an
// older host with its folder gone does not stop printing.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/platform/print/FakeIppService.h"
#include "tools/Mkrecord.h"

extern char** environ;

using namespace hosttest;
using testsupport::TempDir;

namespace {

// Waits for `seen`, looking every 2 ms, for as long as a host on a machine
// loaded with every other build and test may take to reach it: a state
// waited for, not a time.
bool WaitUntilSeen(const std::function<bool()>& seen)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!seen()) {
        if (std::chrono::steady_clock::now() > until) return seen();
        ::usleep(2000);
    }
    return true;
}

// What a record's print shows, whoever else prints at the same time.
struct Expected {
    const char* record;
    const char* word;      // a word this record's pages carry
    const char* absent;    // a word of another record's that they do not
    int pages;
    const char* report;    // the report of the record's kind
    const char* patient;   // the patient id its report carries
};

const Expected kRecords[] = {
    {"rest12_90", "aVR", "V3R", 1, "rest-wave", "MV-1001"},
    {"extra_90", "V9", "aVR", 1, "extra-wave", "MV-1005"},
    {"rest15_90", "V4R", "V9", 1, "rest-wave", "MV-1002"},
};

class HostPrintJobsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdftoppm (poppler-utils) are not installed";
        std::ostringstream out, err;
        ASSERT_EQ(0, morvelance::RunMkrecord({"samples", m_dir.File("samples")}, out, err)) << err.str();
        // The registry the hosts share: the test's own, naming the work directory.
        m_registry = m_dir.Write("registry.reg", testsupport::ReadFileBytes(testsupport::RegistryFile()));
        m_tmp = m_dir.File("tmp");
        ASSERT_EQ(0, ::mkdir(m_tmp.c_str(), 0700));
    }

    std::string Sample(const std::string& name) const { return m_dir.File("samples/" + name + ".ecg"); }

    // Starts a host printing `record` to `pdf` (the sheet, or the `report`
    // named; with `raw` the report goes to the PCL queue instead, and what
    // the host prints goes to `pdf`.stdout), with the shared registry and the
    // test's temporary folder; its process id.
    pid_t StartPrint(const std::string& record, const std::string& pdf, const char* report = nullptr, bool raw = false)
    {
        std::vector<std::string> args = {"print", record, report ? "--report" : "--view", report ? report : "sheet"};
        if (raw)
            args.push_back("--pcl");
        else
            args.insert(args.end(), {"--pdf", pdf});
        return StartHost(args, pdf, raw);
    }

    // Starts a host with `args` as StartPrint does, its standard error going
    // to `output`.stderr (and with `keepOut` its standard output to
    // `output`.stdout), with `more` in its environment; its process id.
    pid_t StartHost(std::vector<std::string> args, const std::string& output, bool keepOut,
                    const std::vector<std::string>& more = {})
    {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "MORVELANCE_REGISTRY=", 20) != 0 && std::strncmp(*e, "TMPDIR=", 7) != 0)
                env.push_back(*e);
        env.push_back("MORVELANCE_REGISTRY=" + m_registry);
        env.push_back("TMPDIR=" + m_tmp);
        env.insert(env.end(), more.begin(), more.end());
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(&e[0]);
        envp.push_back(nullptr);
        std::string host = testsupport::BinaryDir() + "/bin/morvelance-host";
        args.insert(args.begin(), host);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (keepOut)
            posix_spawn_file_actions_addopen(&actions, 1, (output + ".stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        else
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, (output + ".stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        // The host hears the stopping signals as one started from a terminal
        // does, whatever this test runner ignores or holds.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t stopping, none;
        sigemptyset(&stopping);
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&stopping, signal);
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attributes, &stopping);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
        pid_t pid = 0;
        const int failed = posix_spawn(&pid, host.c_str(), &actions, &attributes, argv.data(), envp.data());
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(0, failed) << std::strerror(failed);
        return failed ? -1 : pid;
    }

    // The exit status of a started host (128 + the signal that ended it).
    static int Wait(pid_t pid)
    {
        int status = 0;
        if (pid <= 0 || ::waitpid(pid, &status, 0) != pid) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // The PDF is the record's own: its words and its page count.
    static void ExpectPrintOf(const Expected& expected, const std::string& pdf)
    {
        SCOPED_TRACE(expected.record);
        std::set<std::string> words;
        for (const PdfWord& word : PdfWords(pdf)) words.insert(word.text);
        EXPECT_EQ(1u, words.count(expected.word));
        EXPECT_EQ(0u, words.count(expected.absent));
        EXPECT_EQ(expected.pages, PdfPageCount(pdf));
    }

    // The report is the record's own: its patient's id and no other's.
    static void ExpectReportOf(const Expected& expected, const std::string& pdf)
    {
        SCOPED_TRACE(expected.record);
        std::set<std::string> words;
        for (const PdfWord& word : PdfWords(pdf)) words.insert(word.text);
        for (const Expected& other : kRecords)
            EXPECT_EQ(std::string(other.patient) == expected.patient ? 1u : 0u, words.count(other.patient)) << other.patient;
        EXPECT_EQ(expected.pages, PdfPageCount(pdf));
    }

    // Prints every record at once (the sheet, or each record's report),
    // `rounds` times; the failed prints.
    int PrintSideBySide(int rounds, bool reports = false)
    {
        int failures = 0;
        for (int round = 0; round < rounds; ++round) {
            std::vector<pid_t> hosts;
            std::vector<std::string> pdfs;
            for (const Expected& expected : kRecords) {
                pdfs.push_back(m_dir.File(std::string(expected.record) + "-" + std::to_string(round) + ".pdf"));
                hosts.push_back(StartPrint(Sample(expected.record), pdfs.back(), reports ? expected.report : nullptr));
            }
            for (size_t i = 0; i < hosts.size(); ++i) {
                const int status = Wait(hosts[i]);
                EXPECT_EQ(0, status) << testsupport::ReadFileBytes(pdfs[i] + ".stderr");
                if (status != 0) {
                    ++failures;
                    continue;
                }
                if (reports)
                    ExpectReportOf(kRecords[i], pdfs[i]);
                else
                    ExpectPrintOf(kRecords[i], pdfs[i]);
            }
        }
        return failures;
    }

    std::string Registry() const { return testsupport::ReadFileBytes(m_registry); }
    std::vector<std::string> TempEntries() const { return testsupport::FolderEntries(m_tmp); }

    TempDir m_dir;
    std::string m_registry;
    std::string m_tmp;
};

TEST_F(HostPrintJobsTest, HostsPrintingAtOnceEachPrintTheirOwnRecordAndLeaveTheRegistryAlone)
{
    const std::string before = Registry();
    EXPECT_EQ(0, PrintSideBySide(3));
    EXPECT_EQ(before, Registry());
    EXPECT_EQ(std::vector<std::string>(), TempEntries());
}

// Each report job has its own PDF printer and folder: a host that finished
// first neither removes the printer another still prints through nor hands
// it another's file.
TEST_F(HostPrintJobsTest, HostsPrintingReportsAtOnceEachPrintTheirOwnRecordAndLeaveTheRegistryAlone)
{
    const std::string before = Registry();
    EXPECT_EQ(0, PrintSideBySide(2, true));
    EXPECT_EQ(before, Registry());
    EXPECT_EQ(std::vector<std::string>(), TempEntries());
}

// Raw reports printed to one queue at the same time: each host names the
// spool file of its own job, not the newest one of the queue.
TEST_F(HostPrintJobsTest, HostsPrintingRawReportsAtOnceEachNameTheirOwnSpoolFile)
{
    std::vector<pid_t> hosts;
    std::vector<std::string> outputs;
    for (const Expected& expected : kRecords) {
        outputs.push_back(m_dir.File(std::string(expected.record) + "-raw"));
        hosts.push_back(StartPrint(Sample(expected.record), outputs.back(), expected.report, true));
    }
    std::set<std::string> named;
    for (size_t i = 0; i < hosts.size(); ++i) {
        ASSERT_EQ(0, Wait(hosts[i])) << testsupport::ReadFileBytes(outputs[i] + ".stderr");
        std::string spool = testsupport::ReadFileBytes(outputs[i] + ".stdout");
        while (!spool.empty() && (spool.back() == '\n' || spool.back() == '\r')) spool.pop_back();
        ASSERT_GT(spool.size(), 4u);
        named.insert(spool);
        const std::string sidecar = testsupport::ReadFileBytes(spool.substr(0, spool.rfind('.')) + ".job");
        EXPECT_NE(std::string::npos, sidecar.find("Process=" + std::to_string(hosts[i]) + "\n")) << spool;
    }
    EXPECT_EQ(hosts.size(), named.size());
}

TEST_F(HostPrintJobsTest, KilledPrintsLeaveNothingThatStopsTheNextPrint)
{
    const std::string before = Registry();
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> moment(50, 700);
    for (int run = 0; run < 8; ++run) {
        const pid_t host = StartPrint(Sample("rhythm_90"), m_dir.File("killed.pdf"));
        ::usleep(static_cast<useconds_t>(moment(random)) * 1000);
        ::kill(host, SIGKILL);
        Wait(host);
    }
    // Nothing of the killed jobs in the registry; the next print works and
    // sweeps their temporary folders.
    EXPECT_EQ(before, Registry());
    const std::string pdf = m_dir.File("after.pdf");
    ASSERT_EQ(0, Wait(StartPrint(Sample("rest12_90"), pdf))) << testsupport::ReadFileBytes(pdf + ".stderr");
    ExpectPrintOf(kRecords[0], pdf);
    EXPECT_EQ(std::vector<std::string>(), TempEntries());
}

// A host stopped by SIGTERM or SIGINT while it prints takes its job folder
// with it: the temporary folder holds nothing of it afterwards.
TEST_F(HostPrintJobsTest, AHostStoppedInTheMiddleOfAPrintLeavesNothingInTheTemporaryFolder)
{
    // Fifteen minutes of rhythm: a sheet of some ninety pages, a print of
    // a second or more.
    const std::string record = m_dir.File("long.ecg");
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--seconds", "900", "--out", record}, out, err))
        << err.str();
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        const std::string pdf = m_dir.File("stopped.pdf");
        const pid_t host = StartPrint(record, pdf);
        ASSERT_GT(host, 0);
        // Stopped once its job folder is there and the job under way in it.
        const std::string folder = "morvelance-print-" + std::to_string(host) + "-";
        const bool printing = WaitUntilSeen([&] {
            for (const std::string& entry : TempEntries())
                if (entry.compare(0, folder.size(), folder) == 0) return true;
            return false;
        });
        ASSERT_TRUE(printing) << testsupport::ReadFileBytes(pdf + ".stderr");
        ::usleep(100 * 1000);
        ::kill(host, signal);
        // Ended by the signal, in the middle of the print: no PDF came of it.
        EXPECT_EQ(128 + signal, Wait(host)) << testsupport::ReadFileBytes(pdf + ".stderr");
        EXPECT_TRUE(testsupport::ReadFileBytes(pdf).empty());
        EXPECT_EQ(std::vector<std::string>(), TempEntries());
    }
}

// A host stopped by SIGTERM or SIGINT while its sheet goes to a printer of
// the registry, or to a queue of the print service, takes its half-written
// job out of the spool folder (the reservation, the surface's partial PDF);
// a job that was already whole there stays as it was.
TEST_F(HostPrintJobsTest, AHostStoppedInTheMiddleOfAPrintToAPrinterLeavesNothingHalfWrittenInTheSpool)
{
    ipptest::FakeIppService service("sink");
    ASSERT_GT(service.Port(), 0);
    m_registry = m_dir.Write("registry.reg", Registry() +
        "\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Ward spool]\n"
        "\"Port\"=\"LPT1:\"\n"
        "\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Ward laser]\n"
        "\"Port\"=\"cups:sink\"\n");
    const std::string spool = m_dir.File("spool");
    const std::vector<std::string> env = {"MORVELANCE_SPOOL=" + spool, "CUPS_SERVER=" + service.Server()};
    const std::string record = m_dir.File("long.ecg");
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--seconds", "900", "--out", record}, out, err))
        << err.str();
    // A whole job already in the spool, from an earlier print.
    const std::string first = m_dir.File("first");
    ASSERT_EQ(0, Wait(StartHost({"print", Sample("rest12_90"), "--view", "sheet", "--printer", "Ward spool"}, first, true,
                                env)))
        << testsupport::ReadFileBytes(first + ".stderr");
    const std::vector<std::string> whole = testsupport::FolderEntries(spool);
    ASSERT_EQ(2u, whole.size());   // the job's data and its sidecar
    std::vector<std::string> wholeBytes;
    for (const std::string& name : whole) wholeBytes.push_back(testsupport::ReadFileBytes(spool + "/" + name));

    for (const char* printer : {"Ward spool", "Ward laser"}) {
        for (const int signal : {SIGTERM, SIGINT}) {
            SCOPED_TRACE(std::string(printer) + ", " + strsignal(signal));
            const std::string output = m_dir.File("stopped");
            const pid_t host =
                StartHost({"print", record, "--view", "sheet", "--printer", printer}, output, false, env);
            ASSERT_GT(host, 0);
            // Stopped once its job's partial PDF is in the spool, a while into the sheet.
            const bool printing = WaitUntilSeen([&] {
                for (const std::string& entry : testsupport::FolderEntries(spool))
                    if (entry.find(".partial-" + std::to_string(host) + "-") != std::string::npos) return true;
                return false;
            });
            ASSERT_TRUE(printing) << testsupport::ReadFileBytes(output + ".stderr");
            ::usleep(300 * 1000);
            ::kill(host, signal);
            EXPECT_EQ(128 + signal, Wait(host)) << testsupport::ReadFileBytes(output + ".stderr");
            // Only the whole job is there, as it was.
            EXPECT_EQ(whole, testsupport::FolderEntries(spool));
            for (size_t i = 0; i < whole.size(); ++i)
                EXPECT_TRUE(wholeBytes[i] == testsupport::ReadFileBytes(spool + "/" + whole[i])) << whole[i];
            EXPECT_EQ(std::vector<std::string>(), TempEntries());
        }
    }
    EXPECT_TRUE(service.Jobs().empty());
}

TEST_F(HostPrintJobsTest, APdfPrinterLeftWithItsFolderGoneDoesNotStopPrinting)
{
    // As an older host killed mid-job left it, its folder since cleaned away.
    const std::string gone = m_dir.File("tmp/morvelance-print-gone");
    m_registry = m_dir.Write("registry.reg", Registry() +
        "\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Acrobat Distiller]\n"
        "\"Port\"=\"" + gone + "/printer/*.pdf\"\n\"Printer Driver\"=\"AdobePS Acrobat Distiller\"\n"
        "\"Datatype\"=\"RAW\"\n\"Kind\"=\"pdf\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Acrobat Distiller\\PrinterDriverData]\n"
        "\"PromptForFileName\"=hex:01\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Adobe\\Adobe Acrobat\\5.0\\InstallPath]\n"
        "@=\"" + gone + "/Adobe/Acrobat\"\n");
    const std::string before = Registry();
    const std::string pdf = m_dir.File("extra.pdf");
    ASSERT_EQ(0, Wait(StartPrint(Sample("extra_90"), pdf))) << testsupport::ReadFileBytes(pdf + ".stderr");
    ExpectPrintOf(kRecords[1], pdf);
    EXPECT_EQ(before, Registry());
}

}  // namespace
