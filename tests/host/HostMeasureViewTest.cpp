// The host's multi-lead view with its measuring tools and pop-ups: dividers
// and the scale drawn on the page, a double-click's pop-up saved at its own
// size, the divider strip in its dialog, and refused options.
#include <gtest/gtest.h>


#include <functional>
#include <sstream>
#include <string>

#include "tests/host/HostSamples.h"
#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    int matching = 0;   // pixels the test counted
};

Picture Read(const std::string& png, const std::function<bool(unsigned rgb)>& counted)
{
    const testsupport::PngImage image(png);
    Picture picture;
    picture.width = image.Width();
    picture.height = image.Height();
    picture.matching = image.Count([&](uint32_t rgb) { return counted(rgb); });
    return picture;
}

class HostMeasureView : public HostSamplesTest {};

TEST_F(HostMeasureView, DividersAndTheScaleAreDrawnWithTheirReadingBoxes)
{
    const std::string bare = m_dir.File("bare.png");
    const std::string measured = m_dir.File("measured.png");
    ASSERT_EQ(0, Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewRhythmWave", "--style", "1", "--png", bare})
                     .status);
    const HostRun run = Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewRhythmWave", "--style", "1",
                              "--dividers", "1,2", "--scale", "300,200,700,400", "--png", measured});
    ASSERT_EQ(0, run.status) << run.err;
    auto cream = [](unsigned rgb) { return rgb == 0xFFFFF0; };
    auto green = [](unsigned rgb) { return rgb == 0x2E8B57; };
    EXPECT_EQ(0, Read(bare, cream).matching);
    // Two divider labels and the scale's reading.
    EXPECT_GT(Read(measured, cream).matching, 3000);
    EXPECT_GT(Read(measured, green).matching, 100);
}

TEST_F(HostMeasureView, ADoubleClickOnTheStripSavesTheDividerDialogAtItsOwnSize)
{
    const std::string popup = m_dir.File("popup/divider.png");
    const HostRun run = Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewRhythmWave", "--style", "13",
                              "--lead", "1", "--double-click", "800,100", "--popup-png", popup, "--png",
                              m_dir.File("strip.png")});
    ASSERT_EQ(0, run.status) << run.err;
    const Picture picture = Read(popup, [](unsigned rgb) { return rgb == 0x0000FF; });
    EXPECT_GT(picture.width, 200);
    EXPECT_LT(picture.width, 1920);
    EXPECT_LT(picture.height, 1080);
    // Caliper I and its readout in blue.
    EXPECT_GT(picture.matching, 50);
}

TEST_F(HostMeasureView, ADoubleClickThatOpensNothingFailsWhenAPopUpWasAskedFor)
{
    const HostRun run = Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewRhythmWave", "--style", "15",
                              "--double-click", "800,10", "--popup-png", m_dir.File("none.png"), "--png",
                              m_dir.File("page.png")});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("opened no pop-up"));
}

TEST_F(HostMeasureView, TheDividerStripIsShownInItsDialog)
{
    const std::string png = m_dir.File("strip.png");
    const HostRun run = Host({"view", SamplePath("rhythm_90.ecg"), "--view", "CViewDividerWave", "--lead", "0", "--start",
                              "1000", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    const Picture picture = Read(png, [](unsigned rgb) { return rgb == 0x000000; });
    EXPECT_LT(picture.width, 1920);
    EXPECT_GT(picture.matching, 500);
}

TEST_F(HostMeasureView, MeasuringOptionsOutOfRangeAreRefused)
{
    for (const char* dividers : {"4", "1,,2", "0", "1,2,3,1"}) {
        const HostRun run = Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewRhythmWave", "--dividers",
                                  dividers, "--png", m_dir.File("x.png")});
        EXPECT_EQ(2, run.status) << dividers;
    }
    EXPECT_EQ(2, Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewRhythmWave", "--scale", "1,2,3", "--png",
                       m_dir.File("x.png")})
                     .status);
    EXPECT_EQ(2, Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewRhythmWave", "--lead", "15", "--png",
                       m_dir.File("x.png")})
                     .status);
}

}  // namespace
