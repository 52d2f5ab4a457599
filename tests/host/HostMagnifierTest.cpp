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
    // (The sheet draws alike in every mouse mode, so it takes no --mode.)
    const HostRun run = Host({"view", m_record, "--view", "sheet", "--size", "800x600", "--magnify", "400,300",
                              "--ratio", "3", "--magnifier-png", magnified, "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    int width = 0;
    int height = 0;
    const int inked = InkedPixels(magnified, width, height);
    ASSERT_GT(width, 0);
    // The grid and the traces cover part of the picture, never all of it.
    EXPECT_GT(inked, width * height / 50);
    EXPECT_LT(inked, width * height);
}

TEST_F(HostMagnifierTest, TheMagnifierDrawsTheViewMagnifiedNotItsScreenPictureStretched)
{
    const std::string magnified = m_dir.File("magnified.png");
    const HostRun run = Host({"view", m_record, "--view", "CViewRhythmWave", "--size", "1200x800", "--magnify",
                              "150,110", "--ratio", "3", "--magnifier-png", magnified, "--png", m_dir.File("v.png")});
    ASSERT_EQ(0, run.status) << run.err;
    const testsupport::PngImage png(magnified);
    ASSERT_TRUE(png.Ok());
    // The trace of lead I runs through the picture.
    EXPECT_GT(png.Count([](uint32_t rgb) { return testsupport::PngImage::IsDark(rgb); }), 100);
    // The grid's dots are drawn at the magnification, one pixel each: a
    // stretched screen picture would make each a block three pixels wide.
    auto isGrid = [](uint32_t rgb) { return rgb != 0xFFFFFF && !testsupport::PngImage::IsDark(rgb) && (rgb >> 16) > 200; };
    int dots = 0;
    int wide = 0;
    for (int y = 0; y < png.Height(); ++y)
        for (int x = 0; x + 1 < png.Width(); ++x) {
            if (!isGrid(png.Pixel(x, y))) continue;
            ++dots;
            wide += isGrid(png.Pixel(x + 1, y)) ? 1 : 0;
        }
    ASSERT_GT(dots, 50);
    EXPECT_LT(wide * 3, dots);
}

TEST_F(HostMagnifierTest, ARatioUnderOneIsRefused)
{
    const HostRun run = Host({"view", m_record, "--view", "sheet", "--magnify", "1,1", "--ratio", "0.5",
                              "--magnifier-png", m_dir.File("m.png"), "--png", m_dir.File("s.png")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("--ratio"));
}
