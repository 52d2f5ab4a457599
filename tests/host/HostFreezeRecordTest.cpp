// The host shows the record maker's freeze record whose leads carry every
// kind of electrode code on its one-column page: the lead without a code
// leaves its row empty, and pulses stand only beside the rows whose lead is
// drawn at the page's gain.
#include <gtest/gtest.h>

#include <string>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"

using namespace hosttest;

namespace {

TEST(HostFreezeRecord, TheMixedFreezePageLeavesOutTheUncodedRowAndThePulsesOfFreeLeads)
{
    testsupport::TempDir dir;
    MakeRecords({"examinations", dir.Path()});
    const std::string png = dir.File("freeze.png");
    const HostRun run =
        Host({"view", dir.File("freeze_mixed_90.ecg"), "--view", "CViewRhythmWave", "--style", "24", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    const testsupport::PngImage image(png);
    ASSERT_TRUE(image.Ok());
    const int pulses = image.Width() * 10 / 260;   // the calibration column, ten of 260 squares
    const int row = image.Height() / 6;            // a row a lead

    // Just right of the pulses every drawn trace starts at its zero line, a
    // row's centre: rows 0, 1, 2, 4 and 5. Lead 3 has no code.
    for (int r = 0; r < 6; ++r) {
        const int ink = image.CountIn(pulses + 1, r * row + row / 4, pulses + 4, r * row + 3 * row / 4,
                                      testsupport::PngImage::IsDark);
        if (r == 3)
            EXPECT_EQ(0, ink) << "row " << r;
        else
            EXPECT_GT(ink, 0) << "row " << r;
    }
    // Pulses beside the leads of codes 12 (V4R), none (lead 3) and 67 (V9);
    // none beside the free leads (119, 124) and code 125.
    for (int r = 0; r < 6; ++r) {
        const int ink = image.CountIn(0, r * row, pulses, (r + 1) * row, testsupport::PngImage::IsDark);
        if (r % 2 == 1)
            EXPECT_GT(ink, 0) << "pulse " << r;
        else
            EXPECT_EQ(0, ink) << "pulse " << r;
    }
}

}  // namespace
