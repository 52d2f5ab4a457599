// Stores written by several processes at once, writers killed in the middle,
// and what killed writers leave behind: the registry file and ini files keep
// every value any process wrote, a copy over a file leaves the old or the new
// file and never a part, and the temporaries of writers that died are removed
// by the next writer in their folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/File.h"
#include "platform/base/Profile.h"
#include "platform/base/Registry.h"
#include "platform/base/StoreLock.h"
#include "platform/base/Temporaries.h"
#include "platform/xml/XmlSaveFile.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::TempDir;

// Points the registry at a file of the test's own for its life.
class ScopedRegistryFile {
public:
    explicit ScopedRegistryFile(const std::string& path)
    {
        const char* previous = std::getenv("MORVELANCE_REGISTRY");
        m_hadPrevious = previous != nullptr;
        if (previous) m_previous = previous;
        ::setenv("MORVELANCE_REGISTRY", path.c_str(), 1);
        platform::ReloadRegistry();
    }
    ~ScopedRegistryFile()
    {
        if (m_hadPrevious)
            ::setenv("MORVELANCE_REGISTRY", m_previous.c_str(), 1);
        else
            ::unsetenv("MORVELANCE_REGISTRY");
        platform::ReloadRegistry();
    }

private:
    bool m_hadPrevious = false;
    std::string m_previous;
};

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs `work(k)` in `count` child processes at once; each child's exit status
// is 0 when its work returned true.
template <class Work> void RunInProcesses(int count, Work work)
{
    std::vector<pid_t> children;
    for (int k = 0; k < count; ++k) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) ::_exit(work(k) ? 0 : 1);
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed";
    }
}

// The id of a process that has ended.
pid_t EndedProcess()
{
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return pid;
}

std::string TemporaryName(const std::string& file, long pid, const char* hex)
{
    return "." + file + "." + std::to_string(pid) + "." + hex + ".tmp";
}

void MakeOld(const std::string& path)
{
    const struct timespec times[2] = {{std::time(nullptr) - 2 * 3600, 0}, {std::time(nullptr) - 2 * 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

const int kWriters = 4;
const int kValuesEach = 50;

TEST(ConcurrentWriters, RegistryKeepsEveryValueOfProcessesWritingAtOnce)
{
    TempDir dir;
    ScopedRegistryFile registry(dir.File("registry.reg"));
    RunInProcesses(kWriters, [](int k) {
        for (int i = 0; i < kValuesEach; ++i) {
            HKEY key = nullptr;
            const std::wstring path = L"Software\\Morvelance\\Writer" + std::to_wstring(k);
            if (RegCreateKeyW(HKEY_CURRENT_USER, path.c_str(), &key) != ERROR_SUCCESS) return false;
            const DWORD value = static_cast<DWORD>(k * 1000 + i);
            const std::wstring name = L"Value" + std::to_wstring(i);
            const LONG set = RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
            RegCloseKey(key);
            if (set != ERROR_SUCCESS) return false;
        }
        return true;
    });
    platform::ReloadRegistry();
    int present = 0;
    for (int k = 0; k < kWriters; ++k) {
        HKEY key = nullptr;
        const std::wstring path = L"Software\\Morvelance\\Writer" + std::to_wstring(k);
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS) << k;
        for (int i = 0; i < kValuesEach; ++i) {
            DWORD value = 0;
            DWORD size = sizeof value;
            const std::wstring name = L"Value" + std::to_wstring(i);
            if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
                    ERROR_SUCCESS &&
                value == static_cast<DWORD>(k * 1000 + i))
                ++present;
        }
        RegCloseKey(key);
    }
    EXPECT_EQ(present, kWriters * kValuesEach);
}

TEST(ConcurrentWriters, IniFileKeepsEveryValueOfProcessesWritingAtOnce)
{
    TempDir dir;
    const std::string file = dir.File("settings.ini");
    RunInProcesses(kWriters, [&](int k) {
        for (int i = 0; i < kValuesEach; ++i) {
            const std::wstring section = L"Writer" + std::to_wstring(k);
            const std::wstring key = L"Value" + std::to_wstring(i);
            const std::wstring value = std::to_wstring(k * 1000 + i);
            if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), Wide(file).c_str()))
                return false;
        }
        return true;
    });
    int present = 0;
    for (int k = 0; k < kWriters; ++k) {
        for (int i = 0; i < kValuesEach; ++i) {
            const std::wstring section = L"Writer" + std::to_wstring(k);
            const std::wstring key = L"Value" + std::to_wstring(i);
            if (GetPrivateProfileIntW(section.c_str(), key.c_str(), -1, Wide(file).c_str()) ==
                static_cast<UINT>(k * 1000 + i))
                ++present;
        }
    }
    EXPECT_EQ(present, kWriters * kValuesEach);
}

TEST(ConcurrentWriters, StoreLockWaitsUntilAnotherProcessReleasesIt)
{
    TempDir dir;
    const std::string store = dir.File("store.reg");
    int held[2];
    ASSERT_EQ(::pipe(held), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        platform::StoreLock theirs(store);
        const char done = theirs.Held() ? 'y' : 'n';
        if (::write(held[1], &done, 1) != 1) ::_exit(1);
        ::usleep(300 * 1000);
        // Said before the lock goes with the process.
        const char releasing = 'r';
        if (::write(held[1], &releasing, 1) != 1) ::_exit(1);
        ::_exit(0);
    }
    char got = 0;
    ASSERT_EQ(::read(held[0], &got, 1), 1);
    ASSERT_EQ(got, 'y');
    platform::StoreLock mine(store);
    EXPECT_TRUE(mine.Held());
    // Taken only once the other process let it go: it had said so by then.
    // (Not a time measured from reading its first word, which a loaded
    // machine may delay until most of its hold is over.)
    pollfd said = {held[0], POLLIN, 0};
    ASSERT_EQ(1, ::poll(&said, 1, 0)) << "the lock was taken while the other process held it";
    ASSERT_EQ(::read(held[0], &got, 1), 1);
    EXPECT_EQ(got, 'r');
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ::close(held[0]);
    ::close(held[1]);
}

TEST(CopyFileOverAnExistingFile, LeavesTheOldOrTheNewFileWhenTheCopyingProcessIsKilled)
{
    TempDir dir;
    const std::string first(3 << 20, 'a');
    const std::string second((5 << 20) + 17, 'b');
    const std::string firstPath = dir.Write("first.pdf", first);
    const std::string secondPath = dir.Write("second.pdf", second);
    const std::string target = dir.Write("copy.pdf", first);
    for (int round = 0; round < 16; ++round) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int n = 0;; ++n)
                CopyFileW(Wide(n % 2 ? firstPath : secondPath).c_str(), Wide(target).c_str(), FALSE);
        }
        ::usleep(static_cast<useconds_t>(3000 + round * 2500));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        const std::string now = ReadFile(target);
        EXPECT_TRUE(now == first || now == second) << "round " << round << ": " << now.size() << " bytes";
    }
    // The next copy there removes what the killed ones left.
    ASSERT_TRUE(CopyFileW(Wide(secondPath).c_str(), Wide(target).c_str(), FALSE));
    EXPECT_EQ(ReadFile(target), second);
    EXPECT_EQ(testsupport::FolderEntries(dir.Path()), (std::vector<std::string>{"copy.pdf", "first.pdf", "second.pdf"}));
}

TEST(CopyFileOverAnExistingFile, RefusedWhenAskedToFailKeepsTheTargetAndLeavesNoTemporary)
{
    TempDir dir;
    const std::string source = dir.Write("source", "new");
    const std::string target = dir.Write("target", "old");
    EXPECT_FALSE(CopyFileW(Wide(source).c_str(), Wide(target).c_str(), TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(testsupport::FolderEntries(dir.Path()), (std::vector<std::string>{"source", "target"}));
}

// The temporaries a writer finds in its folder: those of ended writers and
// those older than the bound go, a running writer's recent one stays.
class StaleTemporaries : public ::testing::Test {
protected:
    void SetUp() override
    {
        const pid_t ended = EndedProcess();
        const pid_t running = ::getppid();
        m_ended = TemporaryName("record.xml", ended, "0000abcd");
        m_endedOther = TemporaryName("other.ini", ended, "0000beef");
        m_running = TemporaryName("record.xml", running, "00001234");
        m_runningOld = TemporaryName("record.xml", running, "00005678");
        m_olderForm = ".record.xml.00009abc.tmp";
        for (const std::string& name : {m_ended, m_endedOther, m_running, m_runningOld, m_olderForm})
            m_dir.Write(name, "partial");
        MakeOld(m_dir.File(m_runningOld));
        MakeOld(m_dir.File(m_olderForm));
    }

    void ExpectOnlyTheRunningWritersRecentTemporaryLeft(const std::vector<std::string>& stores)
    {
        std::vector<std::string> expected = stores;
        expected.push_back(m_running);
        std::sort(expected.begin(), expected.end());
        std::vector<std::string> entries = testsupport::FolderEntries(m_dir.Path());
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [](const std::string& name) {
                                         return name.size() > 5 && name.compare(name.size() - 5, 5, ".lock") == 0;
                                     }),
                      entries.end());
        EXPECT_EQ(entries, expected);
    }

    TempDir m_dir;
    std::string m_ended, m_endedOther, m_running, m_runningOld, m_olderForm;
};

TEST_F(StaleTemporaries, RecordXmlSaveRemovesThoseOfEndedOrOldWriters)
{
    ASSERT_TRUE(platform::ReplaceFileContents(m_dir.File("record.xml"), "<r/>"));
    EXPECT_EQ(ReadFile(m_dir.File("record.xml")), "<r/>");
    ExpectOnlyTheRunningWritersRecentTemporaryLeft({"record.xml"});
}

TEST_F(StaleTemporaries, IniWriteRemovesThoseOfEndedOrOldWriters)
{
    ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"K", L"V", Wide(m_dir.File("other.ini")).c_str()));
    ExpectOnlyTheRunningWritersRecentTemporaryLeft({"other.ini"});
}

TEST_F(StaleTemporaries, RegistryCommitRemovesThoseOfEndedOrOldWriters)
{
    ScopedRegistryFile registry(m_dir.File("registry.reg"));
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Morvelance", &key), ERROR_SUCCESS);
    RegCloseKey(key);
    ExpectOnlyTheRunningWritersRecentTemporaryLeft({"registry.reg"});
}

TEST_F(StaleTemporaries, NothingIsRemovedThatIsNoTemporary)
{
    m_dir.Write("record.xml.12345.0000abcd.tmp", "not hidden: a file of someone else");
    m_dir.Write(".record.xml.bak", "no temporary name");
    MakeOld(m_dir.File(".record.xml.bak"));
    platform::RemoveStaleTemporaries(m_dir.File("record.xml"));
    ExpectOnlyTheRunningWritersRecentTemporaryLeft({".record.xml.bak", "record.xml.12345.0000abcd.tmp"});
}

}  // namespace
