// The host's view and print commands on records the record maker wrote:
// the PNG and PDF they leave, looked at as a person would (leads, pulses,
// plain paper) through pixel probes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

using Png = testsupport::PngImage;

class HostViewTest : public HostSamplesTest {
protected:
    void SetUp() override
    {
        HostSamplesTest::SetUp();
        m_record = SamplePath("rest12_90.ecg");
    }
    std::string m_record;
};

bool Exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

TEST_F(HostViewTest, TheSheetShowsEveryLeadWithItsPulse)
{
    const std::string png = m_dir.File("sheet.png");
    const HostRun run = Host({"view", m_record, "--view", "sheet", "--size", "800x600", "--grid", "dots", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    Png image(png);
    ASSERT_TRUE(image.Ok());
    EXPECT_EQ(800, image.Width());
    EXPECT_EQ(600, image.Height());
    // Down the middle of the pulse column (4 to 9 mm of 262 across), one
    // dark run per pulse top: one per lead.
    const int x = 800 * 13 / 2 / 262;
    int tops = 0;
    for (int y = 1; y < 600; ++y)
        if (image.Dark(x, y) && !image.Dark(x, y - 1)) ++tops;
    EXPECT_EQ(12, tops);
    // The traces fill the rows: dark pixels in the middle of the paper.
    int inked = 0;
    for (int y = 0; y < 600; ++y) inked += image.Dark(400, y) ? 1 : 0;
    EXPECT_GE(inked, 12);
}

TEST_F(HostViewTest, TheSheetNamesEveryLeadOverItsTrace)
{
    const std::string png = m_dir.File("sheet.png");
    const HostRun run = Host({"view", m_record, "--view", "sheet", "--size", "800x600", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    Png image(png);
    ASSERT_TRUE(image.Ok());
    // Each pulse's top, down the pulse column; the name stands above it,
    // right of the pulse, where the trace below it starts.
    const int pulseX = 800 * 13 / 2 / 262;
    const int squares = 3;   // a millimetre of the 800-pixel-wide sheet, in pixels
    int named = 0, tops = 0;
    for (int y = 1; y < 600; ++y) {
        if (!image.Dark(pulseX, y) || image.Dark(pulseX, y - 1)) continue;
        ++tops;
        int ink = 0;
        for (int ty = std::max(0, y - 5 * squares); ty < y - squares / 2; ++ty)
            for (int tx = pulseX + 3 * squares; tx < pulseX + 12 * squares; ++tx) ink += image.Dark(tx, ty) ? 1 : 0;
        named += ink > 3 ? 1 : 0;
    }
    EXPECT_EQ(12, tops);
    EXPECT_EQ(12, named);
}

TEST_F(HostViewTest, AllViewsGoIntoANewFolderOneFileForEachViewThatDraws)
{
    const std::string out = m_dir.File("new/views");
    const HostRun run = Host({"view", m_record, "--view", "all", "--out", out, "--size", "320x200"});
    ASSERT_EQ(0, run.status) << run.err;
    for (const char* name : {"sheet", "CViewRhythmWave"}) {
        Png view(out + "/" + name + ".png");
        ASSERT_TRUE(view.Ok()) << name;
        int inked = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x) inked += view.Dark(x, y) ? 1 : 0;
        EXPECT_GT(inked, 320) << name;   // traces, not bare paper
    }
    // The bases draw no record: left out of all, and said so when named.
    for (const char* base : {"CTavrionView", "CWaveView"}) {
        EXPECT_FALSE(Exists(out + "/" + base + ".png")) << base;
        const HostRun named = Host({"view", m_record, "--view", base, "--size", "320x200", "--png", out + "/base.png"});
        EXPECT_EQ(0, named.status) << named.err;
        EXPECT_NE(std::string::npos, named.err.find(std::string(base) + " is a base of the views")) << named.err;
    }
}

TEST_F(HostViewTest, SeveralRecordsGiveNumberedPictures)
{
    const std::string png = m_dir.File("page.png");
    const HostRun run = Host({"view", m_record, m_dir.File("samples/rhythm_90.ecg"), "--view", "sheet", "--size",
                              "320x200", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(Exists(png));
    EXPECT_TRUE(Exists(m_dir.File("page-2.png")));
}

TEST_F(HostViewTest, PrintWritesAPdfWithTheGridAndTraces)
{
    const std::string pdf = m_dir.File("sheet.pdf");
    const HostRun run = Host({"print", m_record, "--view", "sheet", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    const std::string bytes = testsupport::ReadFileBytes(pdf);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ("%PDF", bytes.substr(0, 4));
    if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const std::string stem = m_dir.File("page");
    ASSERT_EQ(0, std::system(("pdftoppm -r 30 -png -singlefile " + Quoted(pdf) + " " + Quoted(stem)).c_str()));
    Png page(stem + ".png");
    ASSERT_TRUE(page.Ok());
    // Inked pixels over the page (grid and traces), none in the bottom margin.
    int inked = 0;
    for (int y = 0; y < page.Height(); ++y)
        for (int x = 0; x < page.Width(); ++x) inked += page.Pixel(x, y) != 0xFFFFFF ? 1 : 0;
    EXPECT_GT(inked, page.Width() * page.Height() / 10);
    for (int x = 0; x < page.Width(); ++x) EXPECT_EQ(0xFFFFFFu, page.Pixel(x, page.Height() - 1));
}

TEST_F(HostViewTest, MissingOrWrongOptionsAreRefused)
{
    EXPECT_EQ(2, Host({"view", m_record, "--png", m_dir.File("x.png")}).status);
    EXPECT_EQ(2, Host({"view", m_record, "--view", "sheet"}).status);
    EXPECT_EQ(2, Host({"view", m_record, "--view", "sheet", "--smooth", "7", "--png", m_dir.File("x.png")}).status);
    EXPECT_EQ(2, Host({"print", m_record, "--view", "sheet"}).status);
    EXPECT_EQ(1, Host({"view", m_record, "--view", "CNoSuchView", "--png", m_dir.File("x.png")}).status);
    EXPECT_FALSE(Exists(m_dir.File("x.png")));
}

// The record's first annotation is a blue text box at (130, 60)–(270, 84) of
// the first page: shown outside measure mode, hidden in it.
TEST_F(HostViewTest, TheRecordsAnnotationsShowOnTheirPageOutsideMeasureMode)
{
    auto bluePixels = [&](const char* mode) {
        const std::string png = m_dir.File(std::string("anno-") + mode + ".png");
        const HostRun run = Host({"view", m_record, "--view", "CViewRhythmWave", "--mode", mode, "--png", png});
        EXPECT_EQ(0, run.status) << run.err;
        Png image(png);
        int blue = 0;
        for (int y = 60; y < 84 && image.Ok(); ++y)
            for (int x = 130; x < 270; ++x) {
                const unsigned p = image.Pixel(x, y);
                blue += (p & 0xFF) > 150 && ((p >> 8) & 0xFF) < 100 && ((p >> 16) & 0xFF) < 100 ? 1 : 0;
            }
        return blue;
    };
    EXPECT_GT(bluePixels("3"), 20);
    EXPECT_EQ(0, bluePixels("1"));
}

TEST_F(HostViewTest, EveryViewCommandTakesTheFrameSizeTheDividerAndStripViewsIncluded)
{
    const struct {
        const char* view;
        int width, height;
    } cases[] = {{"CViewDividerWave", 800, 300},
                 {"CViewScroll1LeadWave", 1000, 700},
                 {"CViewRhythmWave", 640, 480},
                 {"sheet", 500, 400}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.view);
        const std::string png = m_dir.File(std::string(c.view) + ".png");
        const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        const HostRun run = Host({"view", m_record, "--view", c.view, "--size", size, "--png", png});
        ASSERT_EQ(0, run.status) << run.err;
        const Png image(png);
        ASSERT_TRUE(image.Ok());
        EXPECT_EQ(c.width, image.Width());
        EXPECT_EQ(c.height, image.Height());
        // A trace is drawn, not bare paper.
        EXPECT_GT(image.Count([](uint32_t rgb) { return Png::IsDark(rgb); }), c.width / 4);
        // A size the frames cannot take is refused, as by every view.
        EXPECT_EQ(2, Host({"view", m_record, "--view", c.view, "--size", "8x8", "--png", png}).status);
    }
}
