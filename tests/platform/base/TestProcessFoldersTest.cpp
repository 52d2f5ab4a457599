// A test program leaves nothing in the temporary folder: its registry, the
// win.ini beside it and the folders its tests asked for go when it ends, and
// it sweeps what test programs killed before their end left there.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

// Runs this test program again, running no test, with `tmp` as its
// temporary folder; its exit status.
int RunThisProgramIn(const std::string& tmp)
{
    char self[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("TMPDIR", tmp.c_str(), 1);
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (quiet >= 0) ::dup2(quiet, STDOUT_FILENO);
        char filter[] = "--gtest_filter=NoSuchSuite.NoSuchTest";
        char* argv[] = {self, filter, nullptr};
        ::execv(self, argv);
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The id of a process that has ended.
pid_t EndedProcess()
{
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST(TestProcessFolders, ATestProgramLeavesNothingInTheTemporaryFolderAndSweepsWhatKilledOnesLeft)
{
    const testsupport::TempDir tmp;
    const std::string gone = std::to_string(EndedProcess());
    const std::string alive = std::to_string(::getpid());
    // What killed test programs left, and entries that are not theirs.
    ::mkdir(tmp.File("morvelance-test-" + gone + "-aB3dEf").c_str(), 0700);
    tmp.Write("morvelance-test-" + gone + "-aB3dEf/registry.reg", "Windows Registry Editor Version 5.00\n");
    tmp.Write("morvelance-test-" + gone + ".reg", "Windows Registry Editor Version 5.00\n");
    tmp.Write(".morvelance-test-" + gone + ".reg.lock", "");
    ::mkdir(tmp.File("morvelance-test-" + alive + "-Running").c_str(), 0700);
    tmp.Write("morvelance-test-notes.txt", "kept");
    tmp.Write("other-program.tmp", "kept");

    ASSERT_EQ(0, RunThisProgramIn(tmp.Path()));
    EXPECT_EQ((std::vector<std::string>{"morvelance-test-" + alive + "-Running", "morvelance-test-notes.txt",
                                        "other-program.tmp"}),
              testsupport::FolderEntries(tmp.Path()));
}

}  // namespace
