// The host shows master-step and exercise records in their summary, result
// and comparison pages as a user runs it: every page of a master-step record
// at the screen size, the exercise equation on the result page, and the
// comparison's buttons that lead nowhere on a record of one page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::PngImage;
using testsupport::TempDir;

namespace {

class HostPaneFinal : public ::testing::Test {
protected:
    void SetUp() override
    {
        const HostRun made = RunProgram("morvelance-mkrecord", {"examinations", m_dir.Path()});
        ASSERT_EQ(made.status, 0) << made.err;
    }
    std::string Record(const std::string& name) { return m_dir.File(name); }
    TempDir m_dir;
};

}  // namespace

TEST_F(HostPaneFinal, EveryPageOfAMasterStepRecordIsWrittenAtTheScreenSize)
{
    const std::string out = m_dir.File("all");
    const HostRun run = Host({"pane", Record("mstep243.ecg"), "--pane", "all", "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    for (const char* name : {"CWndFinalSummary", "CWndFinalWaveCom", "CWndFinalSTTrend"}) {
        const PngImage image(out + "/" + name + ".png");
        ASSERT_TRUE(image.Ok()) << name;
        EXPECT_EQ(1920, image.Width()) << name;
        EXPECT_EQ(1080, image.Height()) << name;
        EXPECT_GT(image.Count(PngImage::IsDark), 1000) << name;
    }
    EXPECT_EQ(std::string::npos, run.out.find("CWndExer"));
}

TEST_F(HostPaneFinal, ResultPageWritesTheEquationAtFortyAndFiveHundredTwentyUnits)
{
    const std::string png = m_dir.File("result.png");
    const HostRun run = Host({"pane", Record("exercise_90.ecg"), "--pane", "CWndExerResult", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    const PngImage image(png);
    ASSERT_TRUE(image.Ok());
    // 40 and 520 of 1020 x 664 units at 1920 x 1080: from x 75, y 846; the
    // trend graph begins at 343 units (x 646).
    const int x = 1920 * 40 / 1020, y = 1080 * 520 / 664;
    EXPECT_GT(image.CountIn(x, y, 646, y + 40, PngImage::IsDark), 100);
    EXPECT_EQ(0, image.CountIn(0, y - 40, x, y + 40, PngImage::IsDark));
    EXPECT_EQ(0, image.CountIn(x, y - 40, 646, y, PngImage::IsDark));
}

TEST_F(HostPaneFinal, NextCannotBePressedOnAComparisonOfOnePage)
{
    const HostRun run = Host({"pane", Record("mstep243.ecg"), "--pane", "CWndFinalWaveCom", "--click", "3498",
                              "--png", m_dir.File("com.png")});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("3498"));
}

