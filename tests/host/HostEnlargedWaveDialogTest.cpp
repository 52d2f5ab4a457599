// The host's enlarged-beat dialog: the clicked lead's beat drawn in the
// view and the measurement table below it, in a dialog scaled to the screen.
#include <gtest/gtest.h>

#include <string>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

bool IsTrace(uint32_t pixel)
{
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r < 60 && g < 60 && b < 60;
}

}  // namespace

TEST(HostEnlargedWaveDialog, TheBeatIsDrawnInTheViewAndTheTableBelowIt)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const std::string png = dir.File("enlarged.png");
    const HostRun run = Host({"dialog", dir.File("rest12_90.ecg"), "--dialog", "CDlgEnlargedWave", "--lead", "1",
                              "--png", png});
    ASSERT_EQ(run.status, 0) << run.err;
    const testsupport::PngImage image(png);
    // The default screen is 1024 pixels wide: the dialog takes 960 of them.
    EXPECT_EQ(960, image.Width());
    const int w = image.Width(), h = image.Height();
    // The trace lies in the view's upper half, the table's texts in the lower.
    EXPECT_GT(image.CountIn(w / 10, h / 20, w * 9 / 10, h / 2, IsTrace), 200);
    EXPECT_GT(image.CountIn(w / 5, h * 6 / 10, w * 95 / 100, h * 95 / 100, IsTrace), 500);
}
