// The host shows resting, MFER and rhythm records in the resting wave pages
// as a host frame holds them: every style of both pages for a resting
// record, the limb/chest switch pressed where the page has it, a fifteen-
// lead MFER file; and the trip counts the record maker writes.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/support/PngImage.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using testsupport::PngImage;
using testsupport::TempDir;

namespace {

void Make(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    ASSERT_EQ(morvelance::RunMkrecord(args, out, err), 0) << err.str();
}

int MulDivPage(int units, int pixels, int page) { return (units * pixels + page / 2) / page; }

// Ink of the limb/chest switch: its place at 1920 × 1080 in the layouts that have it.
int SwitchInk(const std::string& png)
{
    PngImage image(png);
    if (!image.Ok()) return -1;
    const int left = MulDivPage(804, 1920, 1020), right = MulDivPage(1004, 1920, 1020);
    const int top = MulDivPage(57, 1080, 664), bottom = MulDivPage(77, 1080, 664);
    return image.CountIn(left, top, right, bottom, PngImage::IsDark);
}

class HostPaneRest : public ::testing::Test {
protected:
    void SetUp() override { Make({"samples", m_dir.Path()}); }
    std::string Sample(const std::string& name) { return m_dir.File(name); }
    HostRun Pane(const std::string& record, const std::string& pane, int style, const std::string& png,
                 const std::vector<std::string>& more = {})
    {
        std::vector<std::string> args = {"pane", record, "--pane", pane, "--style", std::to_string(style), "--png", png};
        args.insert(args.end(), more.begin(), more.end());
        return Host(args);
    }
    TempDir m_dir;
};

TEST_F(HostPaneRest, EveryStyleOfBothWavePagesIsWrittenForARestingRecord)
{
    const std::string out = m_dir.File("all");
    const HostRun run = Host({"pane", Sample("rest12_90.ecg"), "--pane", "all", "--size", "640x360", "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    for (int style : {1, 2, 5, 7, 8, 11, 13, 14, 17, 19, 20, 23, 25, 26, 29, 33, 34}) {
        PngImage image(out + "/CWndRestRhythmWave-" + std::to_string(style) + ".png");
        ASSERT_TRUE(image.Ok()) << style;
        EXPECT_EQ(640, image.Width());
        EXPECT_EQ(360, image.Height());
    }
    for (int style : {3, 4, 6, 9, 10, 12, 15, 16, 18, 21, 22, 24, 27, 28, 30, 31, 32})
        EXPECT_TRUE(PngImage(out + "/CWndRestRhythmWaveAme-" + std::to_string(style) + ".png").Ok()) << style;
    EXPECT_NE(std::string::npos, run.out.find("CWndRestDetailMeas"));
}

TEST_F(HostPaneRest, TheLimbChestSwitchIsDrawnOnlyWhereThePageShowsOneGroup)
{
    for (int style : {5, 11, 25, 29}) {
        const std::string png = m_dir.File("s" + std::to_string(style) + ".png");
        ASSERT_EQ(0, Pane(Sample("rest12_90.ecg"), "CWndRestRhythmWave", style, png).status);
        EXPECT_GT(SwitchInk(png), 20) << style;
    }
    for (int style : {1, 7, 13, 19, 33}) {
        const std::string png = m_dir.File("s" + std::to_string(style) + ".png");
        ASSERT_EQ(0, Pane(Sample("rest12_90.ecg"), "CWndRestRhythmWave", style, png).status);
        EXPECT_EQ(0, SwitchInk(png)) << style;
    }
}

TEST_F(HostPaneRest, PressingChestShowsTheOtherLeadGroup)
{
    const std::string limb = m_dir.File("limb.png"), chest = m_dir.File("chest.png");
    ASSERT_EQ(0, Pane(Sample("rest12_90.ecg"), "CWndRestRhythmWave", 5, limb).status);
    const HostRun run = Pane(Sample("rest12_90.ecg"), "CWndRestRhythmWave", 5, chest, {"--click", "3482"});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(testsupport::ReadFileBytes(limb), testsupport::ReadFileBytes(chest));
    // The three-by-four page has no switch to press.
    const HostRun none = Pane(Sample("rest12_90.ecg"), "CWndRestRhythmWave", 1, chest, {"--click", "3482"});
    EXPECT_EQ(1, none.status);
    EXPECT_NE(std::string::npos, none.err.find("3482"));
}

TEST_F(HostPaneRest, AFifteenLeadMferFileFillsTheColumnPage)
{
    const std::string mfer = m_dir.File("m15.mwf"), png = m_dir.File("m15.png");
    Make({"mfer", "--kind", "plain", "--leads", "15", "--out", mfer});
    const HostRun run = Pane(mfer, "CWndRestRhythmWave", 33, png);
    ASSERT_EQ(0, run.status) << run.err;
    PngImage image(png);
    ASSERT_TRUE(image.Ok());
    // Fifteen traces from the caption row down to the strip.
    EXPECT_GT(image.CountIn(100, 130, 1900, 850, PngImage::IsDark), 15 * 1000);
}

TEST_F(HostPaneRest, WithoutThePatientStripTheTopBandHasNoFormPixels)
{
    const std::string png = m_dir.File("np.png");
    ASSERT_EQ(0, Pane(Sample("rest12_90.ecg"), "CWndRestRhythmWaveAme", 31, png, {"--no-patient"}).status);
    PngImage image(png);
    ASSERT_TRUE(image.Ok());
    // One unit of 614 at 1080 pixels: the caption row starts at row 2.
    EXPECT_EQ(0, image.CountIn(0, 0, 1920, 1, PngImage::IsDark));
    EXPECT_GT(image.CountIn(0, 2, 1920, 40, PngImage::IsDark), 0);
}

TEST_F(HostPaneRest, TheRecordMakerWritesATripCountWithItsTotal)
{
    const std::string record = m_dir.File("trip.ecg");
    Make({"synth", "--kind", "rest12", "--code", "254", "--out", record});
    const std::string xml = m_dir.File("trip.xml");
    Make({"xml", "--for", record, "--out", xml, "--trip", "3/7"});
    EXPECT_NE(std::string::npos, testsupport::ReadFileBytes(xml).find("trip=\"3\" total=\"7\""));
    Make({"xml", "--for", record, "--out", xml, "--trip", "*"});
    EXPECT_NE(std::string::npos, testsupport::ReadFileBytes(xml).find("trip=\"*\""));
    std::ostringstream out, err;
    EXPECT_NE(0, morvelance::RunMkrecord({"xml", "--for", record, "--out", xml, "--trip", "3/"}, out, err));
}

}  // namespace
