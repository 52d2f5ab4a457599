// A report the record cannot give says why: the wave pages (rest-wave,
// rest-ame, rest-interpre, rhythm-wave, rr-wave) name the records they print
// and what the refused record is, as the RR reports do, rather than only
// that the report could not be printed; so do the extra-lead pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;

namespace {

class HostReportRefusalTest : public ::testing::Test {
protected:
    void SetUp() override { MakeRecords({"examinations", m_dir.File("ex")}); }

    // Prints `report` of `record`; the run, which must leave no PDF.
    HostRun Print(const std::string& record, const std::string& report)
    {
        const std::string pdf = m_dir.File("refused.pdf");
        const HostRun run = Host({"print", record, "--report", report, "--pdf", pdf});
        EXPECT_TRUE(testsupport::ReadFileBytes(pdf).empty()) << report;
        return run;
    }

    testsupport::TempDir m_dir;
};

TEST_F(HostReportRefusalTest, AWaveReportOfAMasterStepOrExerciseRecordNamesTheRecordsItPrints)
{
    const std::vector<std::pair<std::string, std::string>> records = {
        {"ex/mstep243.ecg", "a master-step record"},
        {"ex/exercise_90.ecg", "an exercise record"},
    };
    for (const auto& record : records) {
        for (const char* report : {"rest-wave", "rest-ame", "rest-interpre", "rhythm-wave", "rr-wave"}) {
            SCOPED_TRACE(record.first + " " + report);
            const HostRun run = Print(m_dir.File(record.first), report);
            EXPECT_EQ(1, run.status) << run.err;
            // The interpretation page prints average beats (a rhythm record's
            // its comment in their place): no RR or extra-lead record, whose
            // page had no beats and measurements of "****".
            const std::string kinds = std::string(report) == "rest-interpre"
                                          ? "resting and MFER records with average beats and rhythm records"
                                          : "resting, rhythm, RR, extra-lead and MFER records";
            EXPECT_NE(std::string::npos, run.err.find(std::string("the ") + report + " report prints " + kinds +
                                                      " only; this is " + record.second))
                << run.err;
        }
    }
    // The extra-lead pages likewise.
    const HostRun run = Print(m_dir.File("ex/mstep243.ecg"), "extra-wave");
    EXPECT_EQ(1, run.status) << run.err;
    EXPECT_NE(std::string::npos,
              run.err.find("the extra-wave report prints extra-lead and MFER records only; this is a master-step record"))
        << run.err;
}

}  // namespace
