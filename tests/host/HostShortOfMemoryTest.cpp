// The host opening long records on a machine short of memory (the address
// space limited with RLIMIT_AS): it never aborts, never hangs; what cannot be
// read is refused with its real cause, and a start without room for the
// text ends with that cause.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/support/MemoryLimit.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

constexpr rlim_t kMegabyte = 1u << 20;

struct LimitedRun {
    int status = -1;   // 128 + the signal when one ended the host; kHung when it had to be ended
    std::string out;
    std::string err;
};

const int kHung = 1000;

// A limited run names memory when it fails for it: text, a record too large, an allocation.
bool NamesMemory(const std::string& err)
{
    return err.find("memory") != std::string::npos || err.find("too large") != std::string::npos;
}

// A message that says memory is short, never that the record is too large:
// the same record opens where there is more memory.
bool SaysMemoryIsShort(const std::string& err)
{
    return err.find("memory") != std::string::npos && err.find("too large") == std::string::npos;
}

// The host's own last line: the cause it ends with (the library's messages
// echoed before it may name memory where the cause given does not).
std::string LastLine(const std::string& err)
{
    std::string text = err;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    const size_t newline = text.rfind('\n');
    return newline == std::string::npos ? text : text.substr(newline + 1);
}

class HostShortOfMemoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testsupport::MemoryLimitsCanBeTested())
            GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    }

    // `morvelance-host open FILE` with its address space limited to `megabytes`.
    LimitedRun OpenWithLimit(const std::string& file, rlim_t megabytes) { return RunWithLimit({"open", file}, megabytes); }

    // `morvelance-host ARGS...` with its address space limited to `megabytes`;
    // one still running after `seconds` is ended and counted as hung.
    LimitedRun RunWithLimit(const std::vector<std::string>& args, rlim_t megabytes, int seconds = 120)
    {
        return RunWithLimitBytes(args, megabytes * kMegabyte, seconds);
    }

    LimitedRun RunWithLimitBytes(const std::vector<std::string>& args, rlim_t bytes, int seconds)
    {
        const std::string outFile = m_dir.File("stdout");
        const std::string errFile = m_dir.File("stderr");
        const std::string host = testsupport::BinaryDir() + "/bin/morvelance-host";
        std::vector<char*> argv = {const_cast<char*>(host.c_str())};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const struct rlimit limit = {bytes, bytes};
            ::setrlimit(RLIMIT_AS, &limit);
            const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(out, 1);
            ::dup2(err, 2);
            ::execv(host.c_str(), argv.data());
            ::_exit(127);
        }
        LimitedRun run;
        int status = 0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (pid > 0) {
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid) {
                run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            if (done < 0) break;
            if (std::chrono::steady_clock::now() > end) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                run.status = kHung;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        run.out = testsupport::ReadFileBytes(outFile);
        run.err = testsupport::ReadFileBytes(errFile);
        return run;
    }

    // `info RECORD` under each limit: it lists the record with its `leads`
    // (its own lead list and the file list's entry alike), or fails naming
    // the record and saying that memory is short; never rc 0 without the
    // leads. The number of runs that failed.
    int ExpectInfoWithItsLeadsOrShortOfMemoryUnder(const std::string& record, const std::string& leadsLine, int leads,
                                                   const std::vector<rlim_t>& limits)
    {
        int failed = 0;
        for (rlim_t megabytes : limits) {
            SCOPED_TRACE("info at " + std::to_string(megabytes) + " MB");
            const LimitedRun run = RunWithLimit({"info", record}, megabytes);
            // Below what the program needs to load, the loader refuses it.
            if (run.status == 127 && run.err.find("error while loading") != std::string::npos) continue;
            if (run.status == 0) {
                EXPECT_NE(std::string::npos, run.out.find(leadsLine)) << run.out;
                EXPECT_NE(std::string::npos, run.out.find(", " + std::to_string(leads) + " leads")) << run.out;
                EXPECT_EQ(std::string::npos, run.out.find("code 0x0001")) << run.out;
                continue;
            }
            ++failed;
            EXPECT_EQ(1, run.status) << run.err;
            EXPECT_NE(std::string::npos, LastLine(run.err).find("morvelance-host: " + record + ": ")) << run.err;
            EXPECT_TRUE(SaysMemoryIsShort(run.err)) << run.err;
        }
        return failed;
    }

    // A standard MFER file of three leads whose samples (all zero) take
    // `megabytes`; the file is sparse, so making it costs nothing.
    std::string SparseMfer(size_t megabytes)
    {
        const size_t block = megabytes * kMegabyte / 6;   // samples a lead: three leads, two bytes each
        const size_t length = block * 6;
        std::vector<unsigned char> head = {0x40, 32};
        const std::string description = "MFR Standard ECG";
        head.insert(head.end(), description.begin(), description.end());
        head.resize(2 + 32, ' ');
        const std::vector<unsigned char> definitions = {
            0x05, 1, 3,                                                   // three channels
            0x0A, 1, 0,                                                   // 16-bit samples
            0x0B, 4, 0, 0, 0, 250,                                        // 250 Hz
            0x04, 4, (unsigned char)(block >> 24), (unsigned char)(block >> 16), (unsigned char)(block >> 8),
            (unsigned char)block,                                         // one block a lead
            0x1E, 0x84, (unsigned char)(length >> 24), (unsigned char)(length >> 16), (unsigned char)(length >> 8),
            (unsigned char)length};
        head.insert(head.end(), definitions.begin(), definitions.end());
        const std::string path = m_dir.File("sparse.mwf");
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(ssize_t(head.size()), ::write(fd, head.data(), head.size()));
        EXPECT_EQ(0, ::ftruncate(fd, off_t(head.size() + length)));
        ::close(fd);
        return path;
    }

    // Opens the file under each limit: never an abort, and a refusal says why.
    void ExpectNoAbortUnder(const std::string& file, const std::vector<rlim_t>& limits)
    {
        for (rlim_t megabytes : limits) {
            SCOPED_TRACE(std::to_string(megabytes) + " MB");
            const LimitedRun run = OpenWithLimit(file, megabytes);
            EXPECT_LT(run.status, 128) << run.err;
            EXPECT_EQ(std::string::npos, run.err.find("bad_alloc")) << run.err;
            if (run.status != 0) {
                EXPECT_FALSE(run.err.empty());
            }
        }
    }

    // Runs the command under each limit: it works (0), or it fails (1) with a
    // message that names the record; never a signal.
    void ExpectWorkingOrCleanRefusalUnder(const std::vector<std::string>& args, const std::string& record,
                                          const std::vector<rlim_t>& limits)
    {
        for (rlim_t megabytes : limits) {
            SCOPED_TRACE(args[0] + " " + args[1] + " at " + std::to_string(megabytes) + " MB");
            const LimitedRun run = RunWithLimit(args, megabytes);
            EXPECT_TRUE(run.status == 0 || run.status == 1) << "status " << run.status << "\n" << run.err;
            if (run.status == 1) {
                EXPECT_NE(std::string::npos, run.err.find("morvelance-host: " + record)) << run.err;
            }
        }
    }

    TempDir m_dir;
};

// An MFER file whose 100 MB do not fit in 128 MB is refused because memory
// is short (it was called too large before, though a larger machine opens
// it); one past what the reader takes on any machine is too large.
TEST_F(HostShortOfMemoryTest, AnMferFileWithoutTheMemoryForItIsRefusedForMemory)
{
    const std::string file = SparseMfer(100);
    const LimitedRun run = OpenWithLimit(file, 128);
    EXPECT_EQ(1, run.status);
    EXPECT_TRUE(SaysMemoryIsShort(run.err)) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("morvelance-host: " + file + ": not read: ")) << run.err;
    EXPECT_EQ(std::string::npos, run.err.find("no examination kind")) << run.err;
    EXPECT_EQ(std::string::npos, run.err.find("not an MFER file")) << run.err;
}

// Refused for its size, a file is "not read" as too large; a file of
// another format is no MFER file, and neither is said to be short of memory.
TEST_F(HostShortOfMemoryTest, AnMferFilePastWhatTheReaderTakesIsRefusedAsTooLarge)
{
    const std::string file = SparseMfer(300);
    const LimitedRun run = RunWithLimit({"info", file}, 2048);
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("morvelance-host: " + file + ": not read: ")) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("too large")) << run.err;
    EXPECT_EQ(std::string::npos, run.err.find("memory")) << run.err;

    const std::string junk = m_dir.File("junk.mwf");
    {
        std::ofstream out(junk, std::ios::binary);
        out << std::string(4000, 'x');
    }
    const LimitedRun other = RunWithLimit({"info", junk}, 2048);
    EXPECT_EQ(1, other.status);
    EXPECT_NE(std::string::npos,
              other.err.find("morvelance-host: " + junk + ": not an MFER file this library can read: "))
        << other.err;
    EXPECT_EQ(std::string::npos, other.err.find("memory")) << other.err;
}

TEST_F(HostShortOfMemoryTest, LongRecordsOpenedShortOfMemoryNeverAbortTheHost)
{
    ExpectNoAbortUnder(SparseMfer(100), {160, 224, 256, 288, 320});
    std::ostringstream out, err;
    const std::string rhythm = m_dir.File("rhythm4h.ecg");
    ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--seconds", "14400", "--out", rhythm}, out, err))
        << err.str();
    ExpectNoAbortUnder(rhythm, {112, 128, 144});
}

// The fonts are ready before the record takes the memory, and a drawing
// that cannot get memory ends its command with the record's name and the
// cause.
TEST_F(HostShortOfMemoryTest, LongRecordsPrintedViewedAndShownInPanesShortOfMemoryEndCleanly)
{
    std::ostringstream out, err;
    const std::string rhythm = m_dir.File("rhythm2h.ecg");
    ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--seconds", "7200", "--out", rhythm}, out, err))
        << err.str();
    const std::string mfer = m_dir.File("plain3x2h.mwf");
    ASSERT_EQ(0, morvelance::RunMkrecord({"mfer", "--kind", "plain", "--leads", "3", "--seconds", "7200", "--block",
                                          "5000", "--out", mfer}, out, err))
        << err.str();
    const std::vector<rlim_t> limits = {144, 192};
    ExpectWorkingOrCleanRefusalUnder({"print", rhythm, "--view", "CViewRhythmWave", "--pdf", m_dir.File("p.pdf")}, rhythm,
                                     limits);
    ExpectWorkingOrCleanRefusalUnder({"view", rhythm, "--view", "sheet", "--png", m_dir.File("v.png")}, rhythm, limits);
    ExpectWorkingOrCleanRefusalUnder({"view", mfer, "--view", "sheet", "--png", m_dir.File("m.png")}, mfer, limits);
    ExpectWorkingOrCleanRefusalUnder({"pane", mfer, "--pane", "CWndRestRhythmWave", "--style", "1", "--png",
                                      m_dir.File("pane.png")}, mfer, limits);
}

// info describes a record through the document that opens it: when that
// document cannot have the memory, info fails and says that memory is short
// (not "too large", as it said before: a larger machine opens the record).
TEST_F(HostShortOfMemoryTest, InfoOfARecordItsDocumentCannotOpenFailsWithTheCause)
{
    std::ostringstream out, err;
    const std::string rhythm = m_dir.File("rhythm4h.ecg");
    ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--seconds", "14400", "--out", rhythm}, out, err))
        << err.str();
    const LimitedRun run = RunWithLimit({"info", rhythm}, 128);
    EXPECT_EQ(1, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("morvelance-host: " + rhythm + ": not read: ")) << run.err;
    EXPECT_TRUE(SaysMemoryIsShort(run.err)) << run.err;
}

// The 2-hour record of three leads under limits from where nothing of it
// fits to where all of it does: info lists it with its three leads or ends
// rc 1 saying memory is short, also where the record opens but the file
// list's own read of it finds no memory left.
TEST_F(HostShortOfMemoryTest, InfoOfATwoHourRecordListsItsLeadsOrSaysMemoryIsShort)
{
    std::ostringstream out, err;
    const std::string rhythm = m_dir.File("rhy2h.ecg");
    ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--leads", "3", "--seconds", "7200", "--out",
                                          rhythm}, out, err))
        << err.str();
    const int failed = ExpectInfoWithItsLeadsOrShortOfMemoryUnder(
        rhythm, "  lead count      3\n", 3, {124, 140, 150, 160, 170, 176, 180, 186, 192, 196, 200, 208, 320});
    EXPECT_GT(failed, 0) << "no limit was short of memory for the record";
    EXPECT_LT(failed, 13) << "no limit left room for the record";
}

// A 4-hour MFER file of fifteen leads (216 MB) likewise: listed with its
// fifteen leads, or refused saying memory is short.
TEST_F(HostShortOfMemoryTest, InfoOfAFourHourMferFileListsItsLeadsOrSaysMemoryIsShort)
{
    std::ostringstream out, err;
    const std::string mfer = m_dir.File("rhythm15x4h.mwf");
    ASSERT_EQ(0, morvelance::RunMkrecord({"mfer", "--kind", "rhythm15", "--seconds", "14400", "--out", mfer}, out, err))
        << err.str();
    const int failed = ExpectInfoWithItsLeadsOrShortOfMemoryUnder(
        mfer, " V7:7200000\n", 15, {240, 280, 320, 340, 360, 400, 440, 480, 520, 800});
    EXPECT_GT(failed, 0) << "no limit was short of memory for the file";
    EXPECT_LT(failed, 10) << "no limit left room for the file";
}

// Started again and again under 100 MB ("ulimit -v 100000"), where the text
// library and a long record both want the memory, the host ends every time
// with a status and a message naming memory: never by a signal, never left
// waiting.
TEST_F(HostShortOfMemoryTest, AHostStartedShortOfMemoryNeverEndsByASignalNorHangs)
{
    std::ostringstream out, err;
    const std::string rhythm = m_dir.File("rhy2h.ecg");
    ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--leads", "3", "--seconds", "7200", "--out",
                                          rhythm}, out, err))
        << err.str();
    for (int run = 1; run <= 20; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const LimitedRun limited = RunWithLimitBytes({"info", rhythm}, 100000 * 1024, 30);
        ASSERT_NE(kHung, limited.status) << "the host was still running after 30 s\n" << limited.err;
        ASSERT_TRUE(limited.status == 0 || limited.status == 1) << "status " << limited.status << "\n" << limited.err;
        if (limited.status == 1) {
            EXPECT_TRUE(NamesMemory(limited.err)) << limited.err;
        }
    }
}

// From the lowest limit the host loads at up: every command works, or fails
// with a message naming memory.
TEST_F(HostShortOfMemoryTest, EveryCommandAtEveryLimitEndsWithItsResultOrAMessageNamingMemory)
{
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"samples", m_dir.File("samples")}, out, err)) << err.str();
    const std::string record = m_dir.File("samples/rest12_90.ecg");
    const std::vector<std::vector<std::string>> commands = {
        {"info", record},
        {"open", record},
        {"view", record, "--view", "sheet", "--png", m_dir.File("v.png")},
        {"print", record, "--view", "sheet", "--pdf", m_dir.File("v.pdf")},
        {"pane", record, "--pane", "CWndRestRhythmWave", "--png", m_dir.File("p.png")},
    };
    for (rlim_t megabytes : {80, 96, 112, 120, 128, 144, 160}) {
        for (const std::vector<std::string>& args : commands) {
            SCOPED_TRACE(args[0] + " at " + std::to_string(megabytes) + " MB");
            const LimitedRun run = RunWithLimit(args, megabytes, 60);
            // Below what the program needs to load, the loader refuses it.
            if (run.status == 127 && run.err.find("error while loading") != std::string::npos) continue;
            EXPECT_TRUE(run.status == 0 || run.status == 1) << "status " << run.status << "\n" << run.err;
            if (run.status == 1) {
                EXPECT_TRUE(NamesMemory(run.err)) << run.err;
            }
        }
    }
}

// The 2-hour rhythm record and a 2-hour MFER file opened, and the rhythm
// record printed as a report, across the limits where their reading gives
// way (in kilobytes: the reader library, the image, the second reads of the
// file list, of the MFER document and of the report's record XML each come
// to want memory the others left): every run ends with its result or a
// message that names memory, never as a record no reader accepts, a file
// the document refused, nor a report that "could not be printed", with no
// cause.
TEST_F(HostShortOfMemoryTest, ALongRecordOpenedAndReportedAtEveryLimitEndsWithItsResultOrAMessageNamingMemory)
{
    std::ostringstream out, err;
    const std::string rhythm = m_dir.File("rhy2h.ecg");
    ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--leads", "3", "--seconds", "7200", "--out",
                                          rhythm}, out, err))
        << err.str();
    const std::string mfer = m_dir.File("plain3x2h.mwf");
    ASSERT_EQ(0, morvelance::RunMkrecord({"mfer", "--kind", "plain", "--leads", "3", "--seconds", "7200", "--block",
                                          "5000", "--out", mfer}, out, err))
        << err.str();
    const std::vector<std::string> open = {"open", rhythm};
    const std::vector<std::string> openMfer = {"open", mfer};
    const std::vector<std::string> report = {"print", rhythm, "--report", "rest-wave", "--pdf", m_dir.File("r.pdf")};
    std::vector<std::pair<std::vector<std::string>, rlim_t>> runs;
    for (rlim_t kilobytes : {131072, 137280, 138240, 138272, 138304, 138336, 138368, 138400, 138432, 139264, 147456})
        runs.push_back({open, kilobytes});
    for (rlim_t kilobytes : {137184, 138080, 138112, 138144, 138176, 138240, 138304, 138336, 139232})
        runs.push_back({openMfer, kilobytes});
    for (rlim_t kilobytes : {159744, 167936, 172032, 176128, 180224, 188416}) runs.push_back({report, kilobytes});
    for (const auto& run : runs) {
        const std::vector<std::string>& args = run.first;
        SCOPED_TRACE(args[0] + " " + args[1] + (args.size() > 2 ? " " + args[3] : "") + " at " +
                     std::to_string(run.second) + " KB");
        const LimitedRun limited = RunWithLimitBytes(args, run.second * 1024, 60);
        EXPECT_TRUE(limited.status == 0 || limited.status == 1) << "status " << limited.status << "\n" << limited.err;
        if (limited.status == 1) {
            EXPECT_TRUE(NamesMemory(LastLine(limited.err))) << limited.err;
        }
    }
}

// A record opened with some of its leads and not the others was not opened:
// the command names each lead it could not read and fails.
TEST_F(HostShortOfMemoryTest, AnOpenThatCouldNotReadEveryLeadFails)
{
    std::ostringstream out, err;
    const std::string rhythm = m_dir.File("rhythm4h.ecg");
    ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--seconds", "14400", "--out", rhythm}, out, err))
        << err.str();
    int partial = 0;
    for (rlim_t megabytes = 144; megabytes <= 272; megabytes += 16) {
        SCOPED_TRACE(std::to_string(megabytes) + " MB");
        const LimitedRun run = OpenWithLimit(rhythm, megabytes);
        if (run.err.find("could not be read") == std::string::npos) continue;
        ++partial;
        EXPECT_EQ(1, run.status) << run.err;
        EXPECT_NE(std::string::npos, run.err.find("morvelance-host: " + rhythm + ": lead #")) << run.err;
    }
    EXPECT_GT(partial, 0) << "no limit left the record part read";
}

}  // namespace
