// A lead the record does not have is refused with the leads it has, counted
// and listed as they are: one lead, two beside each other, a run of three.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;

namespace {

TEST(HostLeadRefusal, ARefusedLeadIsToldWithTheLeadsTheRecordHas)
{
    testsupport::TempDir dir;
    const std::vector<std::pair<std::string, std::string>> records = {
        {"1", "(it has lead 0)"},
        {"2", "(it has leads 0, 1)"},
        {"3", "(it has leads 0 to 2)"},
    };
    for (const auto& record : records) {
        SCOPED_TRACE(record.first + " leads");
        const std::string path = dir.File("rr" + record.first + ".ecg");
        MakeRecords({"synth", "--kind", "rr", "--leads", record.first, "--out", path});
        const std::string png = dir.File("refused.png");
        const HostRun run = Host({"view", path, "--view", "CViewRhythmWave", "--lead", "5", "--png", png});
        EXPECT_EQ(1, run.status) << run.err;
        EXPECT_NE(std::string::npos, run.err.find("the record has no lead 5 " + record.second)) << run.err;
        EXPECT_FALSE(IsPng(png));
    }
}

}  // namespace
