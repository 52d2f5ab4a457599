// A command that cannot finish a record ends with status 1 and a message
// that names the record and says why, whatever step failed.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using testsupport::TempDir;

TEST(HostFailureMessage, PicturesAndPrintsThatCannotBeWrittenNameTheRecordAndTheCause)
{
    TempDir dir;
    const std::string record = dir.File("rhythm.ecg");
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--seconds", "20", "--out", record}, out, err))
        << err.str();
    // A folder where the picture or the document should go: no file can take its place.
    const std::string taken = dir.File("taken");
    ASSERT_EQ(0, ::mkdir(taken.c_str(), 0755));
    const std::vector<std::vector<std::string>> commands = {
        {"view", record, "--view", "sheet", "--png", taken},
        {"pane", record, "--pane", "CWndRhythmWave", "--png", taken},
        {"print", record, "--view", "sheet", "--pdf", taken},
    };
    for (const std::vector<std::string>& args : commands) {
        SCOPED_TRACE(args[0]);
        const HostRun run = Host(args);
        EXPECT_EQ(1, run.status) << run.err;
        EXPECT_NE(std::string::npos, run.err.find("morvelance-host: " + record + ": " + taken + " could not be"))
            << run.err;
    }
}
