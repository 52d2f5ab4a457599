// The example host's registry at start-up: the host is copied into a folder
// of its own (build-tree layout: ../workdir beside it; installed layout: the
// data folder beside it), started as a separate process with a user
// configuration folder of its own, and what it leaves on disk is read back.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tools/RestRecord.h"

extern char** environ;

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;

const char kNoWorkDirectory[] = "no work directory is registered";

class HostStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, ::mkdir(m_dir.File("bin").c_str(), 0755));
        ASSERT_EQ(0, ::mkdir(m_dir.File("config").c_str(), 0755));
        ASSERT_EQ(0, ::mkdir(m_dir.File("records").c_str(), 0755));
        m_host = m_dir.File("bin/morvelance-host");
        {
            std::ofstream out(m_host, std::ios::binary);
            out << ReadFileBytes(testsupport::BinaryDir() + "/bin/morvelance-host");
        }
        ASSERT_EQ(0, ::chmod(m_host.c_str(), 0755));
        morvelance::RestRecordShape shape;
        m_record = morvelance::WriteRestRecord(m_dir.File("records"), "rest.ecg", shape).record;
    }

    // The build-tree layout: the work directory assembled at ../workdir.
    void LayOutAsBuilt() { ASSERT_EQ(0, ::symlink(testsupport::WorkDir().c_str(), m_dir.File("workdir").c_str())); }

    // The installed layout: the work directory's files in the data folder.
    void LayOutAsInstalled()
    {
        const std::string data = m_dir.File("bin/" MORVELANCE_BIN_TO_DATA);
        const std::string parent = data.substr(0, data.rfind('/'));
        ASSERT_EQ(0, std::system(("mkdir -p '" + parent + "'").c_str()));
        ASSERT_EQ(0, ::symlink(testsupport::WorkDir().c_str(), data.c_str()));
    }

    std::string UserRegistry() const { return m_dir.File("config/morvelance/registry.reg"); }
    std::string BuildRegistry() const { return m_dir.File("bin/morvelance-host.reg"); }

    // Starts `count` hosts at once on the record; their exit statuses, and
    // what each wrote to standard error in errors[i].
    std::vector<int> StartAtOnce(int count, std::vector<std::string>& errors)
    {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            if (std::strncmp(*e, "MORVELANCE_REGISTRY=", 20) == 0 || std::strncmp(*e, "XDG_CONFIG_HOME=", 16) == 0)
                continue;
            env.push_back(*e);
        }
        env.push_back("XDG_CONFIG_HOME=" + m_dir.File("config"));
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(&e[0]);
        envp.push_back(nullptr);

        std::vector<pid_t> children;
        for (int i = 0; i < count; ++i) {
            const std::string errorFile = m_dir.File("stderr." + std::to_string(i));
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            std::string open = "open";
            std::vector<char*> argv = {&m_host[0], &open[0], &m_record[0], nullptr};
            pid_t pid = 0;
            const int failed = posix_spawn(&pid, m_host.c_str(), &actions, nullptr, argv.data(), envp.data());
            posix_spawn_file_actions_destroy(&actions);
            EXPECT_EQ(0, failed) << std::strerror(failed);
            if (!failed) children.push_back(pid);
        }
        std::vector<int> statuses;
        errors.clear();
        for (size_t i = 0; i < children.size(); ++i) {
            int status = 0;
            ::waitpid(children[i], &status, 0);
            statuses.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
            errors.push_back(ReadFileBytes(m_dir.File("stderr." + std::to_string(i))));
        }
        return statuses;
    }

    // Starts one host whose files may grow to `limit` bytes at most; its exit
    // status (128 + the signal when one ended it).
    int StartWithFileSizeLimit(rlim_t limit)
    {
        const std::string config = "XDG_CONFIG_HOME=" + m_dir.File("config");
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::unsetenv("MORVELANCE_REGISTRY");
            ::putenv(const_cast<char*>(config.c_str()));
            const rlimit cap = {limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &cap);
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, 1);
            ::dup2(quiet, 2);
            ::execl(m_host.c_str(), m_host.c_str(), "open", m_record.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    void ExpectEveryStartWorks(int count)
    {
        std::vector<std::string> errors;
        const std::vector<int> statuses = StartAtOnce(count, errors);
        ASSERT_EQ(static_cast<size_t>(count), statuses.size());
        for (size_t i = 0; i < statuses.size(); ++i) {
            EXPECT_EQ(0, statuses[i]) << "start " << i << ": " << errors[i];
            EXPECT_EQ(std::string::npos, errors[i].find(kNoWorkDirectory)) << "start " << i << ": " << errors[i];
        }
    }

    TempDir m_dir;
    std::string m_host;
    std::string m_record;
};

TEST_F(HostStart, ManyBuiltHostsStartingAtOnceWithoutARegistryAllFindTheWorkDirectory)
{
    LayOutAsBuilt();
    for (int round = 0; round < 3; ++round) {
        ::unlink(BuildRegistry().c_str());
        ExpectEveryStartWorks(12);
    }
    EXPECT_NE(std::string::npos, ReadFileBytes(BuildRegistry()).find("/workdir/Tavrion.ocx"));
    struct stat st;
    EXPECT_NE(0, ::stat(UserRegistry().c_str(), &st)) << "the user's registry is not the build's to write";
}

TEST_F(HostStart, ManyInstalledHostsStartingAtOnceRegisterTheInstalledWorkDirectoryForTheUser)
{
    LayOutAsInstalled();
    ExpectEveryStartWorks(12);
    const std::string registry = ReadFileBytes(UserRegistry());
    EXPECT_NE(std::string::npos, registry.find(MORVELANCE_BIN_TO_DATA "/Tavrion.ocx")) << registry;
    struct stat st;
    EXPECT_NE(0, ::stat(BuildRegistry().c_str(), &st)) << "an installed host writes nothing beside itself";
}

TEST_F(HostStart, AnExistingRegistryIsNeverRewritten)
{
    LayOutAsBuilt();
    ExpectEveryStartWorks(1);
    const std::string before = ReadFileBytes(BuildRegistry());
    struct stat first;
    ASSERT_EQ(0, ::stat(BuildRegistry().c_str(), &first));
    // A replaced file would have a new inode, one rewritten in place a new time.
    ::usleep(20000);
    ExpectEveryStartWorks(4);
    struct stat second;
    ASSERT_EQ(0, ::stat(BuildRegistry().c_str(), &second));
    EXPECT_EQ(first.st_ino, second.st_ino);
    EXPECT_EQ(first.st_mtim.tv_sec, second.st_mtim.tv_sec);
    EXPECT_EQ(first.st_mtim.tv_nsec, second.st_mtim.tv_nsec);
    EXPECT_EQ(before, ReadFileBytes(BuildRegistry()));
}

TEST_F(HostStart, AHostUnderAFileSizeLimitLeavesTheRegistryWhole)
{
    LayOutAsBuilt();
    ExpectEveryStartWorks(1);
    const std::string before = ReadFileBytes(BuildRegistry());
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(0, StartWithFileSizeLimit(16));
    EXPECT_EQ(before, ReadFileBytes(BuildRegistry()));
}

TEST_F(HostStart, AnInstalledHostAddsTheWorkDirectoryToAUserRegistryKeepingItsOtherValues)
{
    LayOutAsInstalled();
    ASSERT_EQ(0, ::mkdir(m_dir.File("config/morvelance").c_str(), 0755));
    {
        std::ofstream out(UserRegistry());
        out << "Windows Registry Editor Version 5.00\n\n"
               "[HKEY_CURRENT_USER\\Software\\Morvelance\\Printer]\n\"Queue\"=\"ward-3\"\n";
    }
    ExpectEveryStartWorks(1);
    const std::string registry = ReadFileBytes(UserRegistry());
    EXPECT_NE(std::string::npos, registry.find("\"Queue\"=\"ward-3\"")) << registry;
    EXPECT_NE(std::string::npos, registry.find("/Tavrion.ocx")) << registry;
}

}  // namespace
