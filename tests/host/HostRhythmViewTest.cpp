// The host paints the multi-lead view of a resting record in a chosen style:
// the 12 × 1 page shows twelve traces down the page.
#include <gtest/gtest.h>

#include <cairo.h>

#include <sstream>
#include <string>

#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// Rows of column x whose pixel is dark, in runs: the traces crossing it.
int DarkRuns(const std::string& png, int x)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
    int runs = 0;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface);
        bool dark = false;
        for (int y = 0; y < cairo_image_surface_get_height(surface); ++y) {
            const unsigned char* row =
                cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
            const unsigned p = reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
            const bool now = ((p >> 16) & 0xFF) < 100 && ((p >> 8) & 0xFF) < 100 && (p & 0xFF) < 100;
            if (now && !dark) ++runs;
            dark = now;
        }
    }
    cairo_surface_destroy(surface);
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
