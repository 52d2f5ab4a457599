// The host paints the multi-lead view of a resting record in a chosen style:
// the 12 × 1 page shows twelve traces down the page.
#include <gtest/gtest.h>


#include <sstream>
#include <string>

#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// Rows of column x whose pixel is dark, in runs: the traces crossing it.
int DarkRuns(const std::string& png, int x)
{
    const testsupport::PngImage image(png);
    int runs = 0;
    bool dark = false;
    for (int y = 0; y < image.Height(); ++y) {
        const bool now = image.Dark(x, y);
        if (now && !dark) ++runs;
        dark = now;
    }
    return runs;
}

TEST(HostRhythmView, TheTwelveLeadStyleShowsTwelveTracesDownThePage)
{
    TempDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"samples", dir.File("samples")}, out, err)) << err.str();
    const std::string png = dir.File("page.png");
    const HostRun run = Host({"view", dir.File("samples/rest12_90.ecg"), "--view", "CViewRhythmWave", "--style", "11",
                              "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    // Just right of the calibration column (10 of 260 squares), where every
    // trace starts at its baseline.
    EXPECT_EQ(12, DarkRuns(png, 1920 * 10 / 260 + 2));
}

}  // namespace
