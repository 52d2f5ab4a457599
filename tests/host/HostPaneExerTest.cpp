// The host shows an exercise record in its three pages as a host frame
// holds them: every page at the screen size, the rest beats in the record's
// colour for them, forward play pressed and the clock moved on (the page
// shows a later block), and the clock option's limits.
#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tools/ExerRecord.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

struct Png {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

Png Load(const std::string& path)
{
    Png png;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface);
        png.width = cairo_image_surface_get_width(surface);
        png.height = cairo_image_surface_get_height(surface);
        for (int y = 0; y < png.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface) +
                                                                y * cairo_image_surface_get_stride(surface));
            png.pixels.insert(png.pixels.end(), row, row + png.width);
        }
    }
    cairo_surface_destroy(surface);
    return png;
}

// Pixels that differ between two pictures of one size inside the box.
int Differing(const Png& a, const Png& b, int left, int top, int right, int bottom)
{
    int n = 0;
    for (int y = top; y < bottom && y < a.height; ++y)
        for (int x = left; x < right && x < a.width; ++x) n += a.pixels[y * a.width + x] != b.pixels[y * b.width + x];
    return n;
}

class HostPaneExer : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_record = m_dir.File("exercise.ecg");
        m_xml = morvelance::WriteExerciseRecordFiles(m_record, morvelance::ExerciseRecordOptions());
    }
    TempDir m_dir;
    std::string m_record;
    std::string m_xml;
};

}  // namespace

TEST_F(HostPaneExer, EveryExercisePageIsWrittenAtTheScreenSize)
{
    const std::string out = m_dir.File("all");
    const HostRun run = Host({"pane", m_record, "--pane", "all", "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    for (const char* name : {"CWndExerAverage", "CWndExerTrend", "CWndExerMemory"}) {
        const Png png = Load(out + "/" + name + ".png");
        EXPECT_EQ(1920, png.width) << name;
        EXPECT_EQ(1080, png.height) << name;
    }
    EXPECT_EQ(std::string::npos, run.out.find("CWndRR"));
}

// The rest beats are drawn in the colour the record's settings give them,
// whatever it is.
TEST_F(HostPaneExer, TheRestBeatsTakeTheRecordsRestWaveColour)
{
    const auto restInk = [this](uint32_t colour) {
        const std::string png = m_dir.File("rest.png");
        const HostRun run = Host({"pane", m_record, "--pane", "CWndExerAverage", "--png", png});
        EXPECT_EQ(0, run.status) << run.err;
        const Png image = Load(png);
        // The average beats: x 10 to 570 of 1020 units, y 70 to 620 of 664.
        int n = 0;
        for (int y = 70 * image.height / 664; y < 620 * image.height / 664; ++y)
            for (int x = 10 * image.width / 1020; x < 570 * image.width / 1020; ++x)
                n += (image.pixels[y * image.width + x] & 0xFFFFFF) == colour ? 1 : 0;
        return n;
    };
    std::string text = testsupport::ReadFileBytes(m_xml);
    const std::string green = "<Rest_wave r=\"0\" g=\"128\" b=\"0\"/>";
    const size_t at = text.find(green);
    ASSERT_NE(at, std::string::npos) << m_xml;
    EXPECT_GT(restInk(0x008000), 500);
    text.replace(at, green.size(), "<Rest_wave r=\"200\" g=\"0\" b=\"200\"/>");
    std::ofstream(m_xml, std::ios::binary) << text;
    EXPECT_GT(restInk(0xC800C8), 500);
    EXPECT_EQ(restInk(0x008000), 0);
}

TEST_F(HostPaneExer, ForwardPlayForThreeSecondsShowsALaterBlock)
{
    const std::string still = m_dir.File("still.png"), played = m_dir.File("played.png");
    ASSERT_EQ(0, Host({"pane", m_record, "--pane", "CWndExerAverage", "--png", still}).status);
    const HostRun run =
        Host({"pane", m_record, "--pane", "CWndExerAverage", "--click", "4177", "--ms", "3000", "--png", played});
    ASSERT_EQ(0, run.status) << run.err;
    const Png a = Load(still), b = Load(played);
    ASSERT_EQ(a.width, b.width);
    // The average beats (x 10 to 570 of 1020 units, y 70 to 620 of 664) and
    // the trend's time marker (x 580 to 1010, y 415 to 615) move on.
    auto x = [](int units) { return units * 1920 / 1020; };
    auto y = [](int units) { return units * 1080 / 664; };
    EXPECT_GT(Differing(a, b, x(10), y(70), x(570), y(620)), 100);
    EXPECT_GT(Differing(a, b, x(580), y(415), x(1010), y(615)), 0);
    // The clock alone, without playback, changes nothing.
    const std::string waited = m_dir.File("waited.png");
    ASSERT_EQ(0, Host({"pane", m_record, "--pane", "CWndExerAverage", "--ms", "3000", "--png", waited}).status);
    EXPECT_EQ(0, Differing(a, Load(waited), 0, 0, a.width, a.height));
}

// --click takes a combo box's entry as ID:N: the press drops the list, and
// the entry is clicked in it. Entry 1 of the trend page's graph list
// ("Kcal / time") redraws the one graph the list names; an entry the list
// does not show, or a control that drops no list, is refused with nothing written.
TEST_F(HostPaneExer, AComboEntryPickedByClickRedrawsTheOneGraphItNames)
{
    const std::string shown = m_dir.File("shown.png"), picked = m_dir.File("picked.png");
    ASSERT_EQ(0, Host({"pane", m_record, "--pane", "CWndExerTrend", "--png", shown}).status);
    const HostRun run = Host({"pane", m_record, "--pane", "CWndExerTrend", "--click", "4104:1", "--png", picked});
    ASSERT_EQ(0, run.status) << run.err;
    const Png a = Load(shown), b = Load(picked);
    ASSERT_EQ(a.pixels.size(), b.pixels.size());
    // Below the strip (27 of 664 units), where the pictures differ.
    int left = a.width, top = a.height, right = 0, bottom = 0, differing = 0;
    for (int y = 27 * a.height / 664; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.pixels[y * a.width + x] != b.pixels[y * a.width + x]) {
                ++differing;
                left = std::min(left, x), top = std::min(top, y);
                right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
            }
    EXPECT_GT(differing, 100);
    // Within one graph of the grid of four columns and three rows.
    EXPECT_LT(right - left, 1000 * a.width / 1020 / 4);
    EXPECT_LT(bottom - top, 630 * a.height / 664 / 3);
    for (const char* refused : {"4104:7", "4101:0"}) {
        const std::string png = m_dir.File("refused.png");
        const HostRun refusal = Host({"pane", m_record, "--pane", "CWndExerTrend", "--click", refused, "--png", png});
        EXPECT_EQ(1, refusal.status) << refused;
        EXPECT_NE(std::string::npos, refusal.err.find("drops no list showing an entry")) << refusal.err;
        EXPECT_FALSE(IsPng(png)) << refused;
    }
}

TEST_F(HostPaneExer, TheClockOptionTakesMillisecondsOnly)
{
    for (const char* bad : {"-5", "x", "3600001"}) {
        const HostRun run =
            Host({"pane", m_record, "--pane", "CWndExerMemory", "--ms", bad, "--png", m_dir.File("m.png")});
        EXPECT_EQ(2, run.status) << bad;
        EXPECT_NE(std::string::npos, run.err.find("--ms")) << bad;
    }
}
