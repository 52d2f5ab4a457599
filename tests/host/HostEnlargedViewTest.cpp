// The host paints the enlarged views in their dialogs from maker records: a
// strip fills the view's width, a beat stands in its middle, and each
// compared record gets a trace colour of its own.
#include <gtest/gtest.h>


#include <cstdint>
#include <map>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/host/HostSamples.h"
#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// The host's picture; Width() 0 when it cannot be read.
using Picture = testsupport::PngImage;

bool Dark(uint32_t p)
{
    return ((p >> 16) & 0xFF) < 80 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80;
}

// Strongly coloured: its channels far apart (not paper, grid or frame grey).
bool Saturated(uint32_t p)
{
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return std::max({r, g, b}) - std::min({r, g, b}) > 100;
}

// The band of rows through the middle of the view, where every trace's
// baseline lies: below the caption, above the bars and buttons.
int BandTop(const Picture& picture)
{
    return picture.Height() / 4;
}
int BandBottom(const Picture& picture)
{
    return picture.Height() / 2;
}

// Columns of the band, away from the dialog's edges, with a dark pixel.
std::vector<int> DarkColumns(const Picture& picture)
{
    std::vector<int> columns;
    for (int x = 20; x < picture.Width() - 40; ++x) {
        for (int y = BandTop(picture); y < BandBottom(picture); ++y) {
            if (Dark(picture.Pixel(x, y))) {
                columns.push_back(x);
                break;
            }
        }
    }
    return columns;
}

// Strong colours of the band covering more than a label would.
int TraceColours(const Picture& picture)
{
    std::map<uint32_t, int> counts;
    for (int y = BandTop(picture); y < BandBottom(picture); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (Saturated(picture.Pixel(x, y))) ++counts[picture.Pixel(x, y)];
    int colours = 0;
    for (const auto& [colour, count] : counts) colours += count > 300;
    return colours;
}

class HostEnlargedViewTest : public HostSamplesTest {};

}  // namespace

TEST_F(HostEnlargedViewTest, AStripFillsTheViewAndABeatStandsInItsMiddle)
{
    const std::string strip = m_dir.File("strip.png");
    HostRun run = Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewEnlargedWave", "--lead", "1", "--png", strip});
    ASSERT_EQ(0, run.status) << run.err;
    const Picture stripPicture(strip);
    ASSERT_GT(stripPicture.Width(), 200);
    const std::vector<int> stripColumns = DarkColumns(stripPicture);

    const std::string beat = m_dir.File("beat.png");
    run = Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewEnlargedWave", "--lead", "1", "--average", "--png",
                beat});
    ASSERT_EQ(0, run.status) << run.err;
    const std::vector<int> beatColumns = DarkColumns(Picture(beat));
    ASSERT_FALSE(beatColumns.empty());
    // The beat's 600 samples at 25 mm/s are 30 mm: at 400% of 96 dpi about
    // 453 px (the grid keeps whole squares: a few pixels more).
    EXPECT_NEAR(453, beatColumns.back() - beatColumns.front(), 5);
    // The strip crosses every column of the view, the beat the middle of them.
    EXPECT_GT(stripColumns.size(), beatColumns.size() + 100);
    const int middle = (beatColumns.front() + beatColumns.back()) / 2;
    EXPECT_NEAR((stripColumns.front() + stripColumns.back()) / 2, middle, 3);
}

TEST_F(HostEnlargedViewTest, EachComparedRecordGetsATraceColourOfItsOwn)
{
    const std::string one = m_dir.File("one.png");
    HostRun run =
        Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewEnlargedOverlap", "--lead", "1", "--png", one});
    ASSERT_EQ(0, run.status) << run.err;
    const int paperColours = TraceColours(Picture(one)) - 1;   // the paper's grid is coloured too

    const std::string two = m_dir.File("two.png");
    run = Host({"view", SamplePath("rest12_90.ecg"), SamplePath("rest15_90.ecg"), "--view", "CViewEnlargedOverlap", "--lead",
                "1", "--png", two});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(paperColours + 2, TraceColours(Picture(two)));
}

TEST_F(HostEnlargedViewTest, ARecordThatCannotBeComparedIsReportedAndFailsTheRun)
{
    const std::string png = m_dir.File("mixed.png");
    const HostRun run = Host({"view", SamplePath("rest12_90.ecg"), SamplePath("rhythm_90.ecg"), "--view",
                              "CViewEnlargedOverlap", "--png", png});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("rhythm_90.ecg: not compared")) << run.err;
    // The record that could be compared is still shown, alone.
    const std::string alone = m_dir.File("alone.png");
    ASSERT_EQ(0, Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewEnlargedOverlap", "--png", alone}).status);
    EXPECT_EQ(TraceColours(Picture(alone)), TraceColours(Picture(png)));
}

TEST_F(HostEnlargedViewTest, ALeadOutsideTheRecordsIsRefusedBeforeAnythingOpens)
{
    const HostRun run = Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewEnlargedWave", "--lead", "15", "--png",
                              m_dir.File("x.png")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("--lead")) << run.err;
}

// Several records in one run, the second not a record at all: it fails the
// run, and the records around it are still shown, each in a file numbered
// after its place in the list.
TEST_F(HostEnlargedViewTest, ARecordThatDoesNotOpenFailsTheRunAndTheOthersAreStillShown)
{
    const std::string broken = m_dir.File("broken.ecg");
    { std::ofstream(broken) << "not a record"; }
    const std::string png = m_dir.File("strip.png");
    const HostRun run = Host({"view", SamplePath("rest12_90.ecg"), broken, SamplePath("rest12_90.ecg"), "--view",
                              "CViewEnlargedWave", "--lead", "1", "--png", png});
    EXPECT_EQ(1, run.status) << run.err;
    EXPECT_GT(Picture(png).Width(), 200);
    EXPECT_EQ(0, Picture(m_dir.File("strip-2.png")).Width());
    EXPECT_GT(Picture(m_dir.File("strip-3.png")).Width(), 200);
    EXPECT_NE(std::string::npos, run.out.find("strip-3.png")) << run.out;
}

// The divider strip's dialog saved for each record into the folder the
// first image names, made when it is missing.
TEST_F(HostEnlargedViewTest, TheDividerDialogIsSavedForEveryRecordIntoANewFolder)
{
    const std::string png = m_dir.File("made/divider.png");
    const HostRun run = Host({"view", SamplePath("rest12_90.ecg"), SamplePath("rest12_90.ecg"), "--view",
                              "CViewDividerWave", "--lead", "1", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    const Picture first(png);
    const Picture second(m_dir.File("made/divider-2.png"));
    EXPECT_GT(first.Width(), 100);
    EXPECT_EQ(first.Width(), second.Width());
    EXPECT_EQ(first.Height(), second.Height());
}
