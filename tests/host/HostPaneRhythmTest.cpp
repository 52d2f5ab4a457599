// The host shows rhythm, MFER and resting records in the interpretation and
// rhythm wave panes: each pane in every style of the record's own kind, the
// next button pressed on a long record, and the patient strip left out.
#include <gtest/gtest.h>

#include <cairo.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

void Make(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    ASSERT_EQ(morvelance::RunMkrecord(args, out, err), 0) << err.str();
}

bool IsScreenSized(const std::string& png, int width, int height)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                    cairo_image_surface_get_width(surface) == width && cairo_image_surface_get_height(surface) == height;
    cairo_surface_destroy(surface);
    return ok;
}

// Dark pixels (every channel below 96) in rows top to bottom of a PNG.
int DarkPixelsInRows(const std::string& png, int top, int bottom)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
    int count = 0;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface);
        for (int y = top; y < bottom && y < cairo_image_surface_get_height(surface); ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface) +
                                                                y * cairo_image_surface_get_stride(surface));
            for (int x = 0; x < cairo_image_surface_get_width(surface); ++x) {
                const uint32_t p = row[x];
                count += ((p >> 16) & 0xFF) < 96 && ((p >> 8) & 0xFF) < 96 && (p & 0xFF) < 96;
            }
        }
    }
    cairo_surface_destroy(surface);
    return count;
}

class HostPaneRhythm : public ::testing::Test {
protected:
    void SetUp() override { Make({"samples", m_dir.Path()}); }
    std::string Sample(const std::string& name) { return m_dir.File(name); }
    // Images of the whole screen (by default the host's 1920 x 1080).
    void ExpectImages(const std::string& out, const std::vector<std::string>& names, int width = 1920,
                      int height = 1080)
    {
        for (const std::string& name : names) {
            EXPECT_TRUE(IsScreenSized(out + "/" + name + ".png", width, height)) << name;
        }
    }
    TempDir m_dir;
};

TEST_F(HostPaneRhythm, ARhythmRecordIsShownInBothPanesInEveryRhythmStyle)
{
    const std::string out = m_dir.File("rhythm");
    const HostRun run = Host({"pane", Sample("rhythm_90.ecg"), "--pane", "all", "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    ExpectImages(out, {"CWndRestInterpretation-29", "CWndRestInterpretation-30", "CWndRhythmWave-20",
                       "CWndRhythmWave-21", "CWndRhythmWave-22", "CWndRhythmWave-23", "CWndRhythmWave-24",
                       "CWndRhythmWave-25"});
    EXPECT_EQ(std::string::npos, run.out.find("CWndRestInterpretation-35"));
}

TEST_F(HostPaneRhythm, AnMferRecordTakesTheMferStylesOfBothPanes)
{
    const std::string mfer = m_dir.File("r12.mwf");
    Make({"mfer", "--kind", "rhythm12", "--out", mfer, "--xml-out", m_dir.File("Raw_r1220240401093000.xml")});
    const std::string out = m_dir.File("mfer");
    const HostRun run = Host({"pane", mfer, "--pane", "all", "--size", "640x360", "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    ExpectImages(out, {"CWndRestInterpretation-41", "CWndRestInterpretation-44", "CWndRhythmWave-35",
                       "CWndRhythmWave-40"},
                 640, 360);
}

TEST_F(HostPaneRhythm, ARestingRecordHasTheInterpretationPaneButNoRhythmWavePane)
{
    const std::string out = m_dir.File("rest");
    const HostRun run = Host({"pane", Sample("rest12_90.ecg"), "--pane", "all", "--size", "640x360", "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    ExpectImages(out, {"CWndRestInterpretation-35", "CWndRestInterpretation-36", "CWndRestInterpretation-37",
                       "CWndRestInterpretation-38"},
                 640, 360);
    EXPECT_EQ(std::string::npos, run.out.find("CWndRhythmWave"));
    const HostRun refused =
        Host({"pane", Sample("rest12_90.ecg"), "--pane", "CWndRhythmWave", "--png", m_dir.File("w.png")});
    EXPECT_EQ(1, refused.status);
}

TEST_F(HostPaneRhythm, PressingNextOnALongRecordShowsAnotherPage)
{
    const std::string record = m_dir.File("long.ecg");
    Make({"synth", "--kind", "rhythm", "--out", record, "--seconds", "300"});
    const std::string first = m_dir.File("first.png"), second = m_dir.File("second.png");
    ASSERT_EQ(0, Host({"pane", record, "--pane", "CWndRhythmWave", "--png", first}).status);
    const HostRun run = Host({"pane", record, "--pane", "CWndRhythmWave", "--click", "3498", "--png", second});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(testsupport::ReadFileBytes(first), testsupport::ReadFileBytes(second));
}

TEST_F(HostPaneRhythm, WithoutThePatientStripTheTopBandOfTheInterpretationPageIsEmpty)
{
    const std::string with = m_dir.File("with.png"), without = m_dir.File("without.png");
    ASSERT_EQ(0, Host({"pane", Sample("rest12_90.ecg"), "--pane", "CWndRestInterpretation", "--png", with}).status);
    ASSERT_EQ(0, Host({"pane", Sample("rest12_90.ecg"), "--pane", "CWndRestInterpretation", "--no-patient", "--png",
                       without})
                     .status);
    // Without the strip the caption starts 5 of 614 units down (row 9 at
    // 1080 pixels) and its texts lie above row 44; with it the patient form
    // takes those rows.
    EXPECT_EQ(0, DarkPixelsInRows(without, 0, 9));
    EXPECT_GT(DarkPixelsInRows(without, 9, 44), 0);
    EXPECT_GT(DarkPixelsInRows(with, 0, 44), 0);
}

}  // namespace
