// The host's magnifier picture: the sheet of a record magnified around a
// point, saved beside the view's own picture.
#include <gtest/gtest.h>


#include <sstream>
#include <string>

#include "tests/host/HostSamples.h"
#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

class HostMagnifierTest : public HostSamplesTest {
protected:
    void SetUp() override
    {
        HostSamplesTest::SetUp();
        m_record = SamplePath("rest12_90.ecg");
    }
    std::string m_record;
};

// The share of the picture's pixels that are not the lightest colour in it.
int InkedPixels(const std::string& path, int& width, int& height)
{
    const testsupport::PngImage png(path);
    if (!png.Ok()) return -1;
    width = png.Width();
    height = png.Height();
    return png.Count([](uint32_t rgb) { return rgb != 0xFFFFFF; });
}

}  // namespace

TEST_F(HostMagnifierTest, TheMagnifierPictureShowsThePaperAroundThePoint)
{
    const std::string png = m_dir.File("sheet.png");
    const std::string magnified = m_dir.File("magnified.png");
    const HostRun run = Host({"view", m_record, "--view", "sheet", "--size", "800x600", "--mode", "2", "--magnify",
                              "400,300", "--ratio", "3", "--magnifier-png", magnified, "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    int width = 0;
    int height = 0;
    const int inked = InkedPixels(magnified, width, height);
    ASSERT_GT(width, 0);
    // The grid and the traces cover part of the picture, never all of it.
    EXPECT_GT(inked, width * height / 20);
    EXPECT_LT(inked, width * height);
}

TEST_F(HostMagnifierTest, ARatioUnderOneIsRefused)
{
    const HostRun run = Host({"view", m_record, "--view", "sheet", "--magnify", "1,1", "--ratio", "0.5",
                              "--magnifier-png", m_dir.File("m.png"), "--png", m_dir.File("s.png")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("--ratio"));
}
