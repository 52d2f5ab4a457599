// The host shows records in page panes as a host frame holds them: every
// pane and style that takes an RR record, a pane that does not take the
// record, strip controls pressed, and the patient strip left out.
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

struct PngSize {
    int width = 0;
    int height = 0;
};

PngSize SizeOf(const std::string& png)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
    PngSize size;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS)
        size = {cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
    cairo_surface_destroy(surface);
    return size;
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

class HostPane : public ::testing::Test {
protected:
    void SetUp() override { Make({"samples", m_dir.Path()}); }
    std::string Sample(const std::string& name) { return m_dir.File(name); }
    TempDir m_dir;
};

TEST_F(HostPane, AllPanesOfAnRRRecordAreWrittenAtTheScreenSize)
{
    const std::string out = m_dir.File("all");
    const HostRun run = Host({"pane", Sample("rr_90.ecg"), "--pane", "all", "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    const char* const names[] = {"CWndRRResult",    "CWndRRComment-6", "CWndRRComment-7", "CWndRRComment-8",
                                 "CWndRRComment-9", "CWndRRWave-3",    "CWndRRWave-4",    "CWndRRWave-5"};
    for (const char* name : names) {
        const PngSize size = SizeOf(out + "/" + name + ".png");
        EXPECT_EQ(1920, size.width) << name;
        EXPECT_EQ(1080, size.height) << name;
    }
    EXPECT_EQ(std::string::npos, run.out.find("CWndRestDetailMeas"));
}

TEST_F(HostPane, APaneThatDoesNotTakeTheRecordFailsWithAMessage)
{
    const HostRun run =
        Host({"pane", Sample("rest12_90.ecg"), "--pane", "CWndRRWave", "--png", m_dir.File("w.png")});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("does not show this record"));
    const HostRun rest =
        Host({"pane", Sample("rest12_90.ecg"), "--pane", "CWndRestDetailMeas", "--png", m_dir.File("d.png")});
    EXPECT_EQ(0, rest.status) << rest.err;
    EXPECT_EQ(1920, SizeOf(m_dir.File("d.png")).width);
}

TEST_F(HostPane, PressingNextShowsAnotherPage)
{
    const std::string first = m_dir.File("first.png"), second = m_dir.File("second.png");
    ASSERT_EQ(0, Host({"pane", Sample("rr_90.ecg"), "--pane", "CWndRRWave", "--style", "5", "--png", first}).status);
    const HostRun run =
        Host({"pane", Sample("rr_90.ecg"), "--pane", "CWndRRWave", "--style", "5", "--click", "3498", "--png", second});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(testsupport::ReadFileBytes(first), testsupport::ReadFileBytes(second));
    const HostRun hidden =
        Host({"pane", Sample("rr_90.ecg"), "--pane", "CWndRRWave", "--style", "5", "--click", "3568", "--png", second});
    EXPECT_EQ(1, hidden.status);   // style 5 shows no divider strip
    EXPECT_NE(std::string::npos, hidden.err.find("3568"));
}

TEST_F(HostPane, WithoutThePatientStripTheTopBandHasNoFormPixels)
{
    const std::string with = m_dir.File("with.png"), without = m_dir.File("without.png");
    ASSERT_EQ(0, Host({"pane", Sample("rr_90.ecg"), "--pane", "CWndRRResult", "--png", with}).status);
    ASSERT_EQ(0, Host({"pane", Sample("rr_90.ecg"), "--pane", "CWndRRResult", "--no-patient", "--png", without}).status);
    // 10 of 614 units at 1080 pixels: the table starts at row 17.
    EXPECT_GT(DarkPixelsInRows(with, 0, 16), 0);
    EXPECT_EQ(0, DarkPixelsInRows(without, 0, 16));
}

TEST_F(HostPane, BadOptionsAreRefused)
{
    EXPECT_EQ(2, Host({"pane", Sample("rr_90.ecg"), "--pane", "CWndRRWave", "--click", "next", "--png",
                       m_dir.File("x.png")})
                     .status);
    EXPECT_EQ(2, Host({"pane", Sample("rr_90.ecg"), "--pane", "CWndNothing", "--png", m_dir.File("x.png")}).status);
    EXPECT_EQ(2, Host({"pane", Sample("rr_90.ecg"), "--pane", "all"}).status);
}

// A mistyped option of show is named before any display is needed, not
// taken for a record that cannot be opened.
TEST_F(HostPane, ShowNamesAnOptionItDoesNotKnow)
{
    const HostRun run = Host({"show", Sample("rr_90.ecg"), "--pane", "CWndRRWave", "--sytle", "4"});
    EXPECT_EQ(2, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("unknown option --sytle")) << run.err;
}

}  // namespace
