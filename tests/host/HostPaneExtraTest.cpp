// The host shows extra-lead records in their wave and comment pages: every
// page of a two-set record at the screen size, the Extra2 button pressed
// (only the waves change), a page without the set buttons, an MFER record
// of the extra kind at its own page numbers, and a record of another kind.
#include <gtest/gtest.h>

#include <cairo.h>

#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;

namespace {

// A PNG read into memory; empty when it cannot be read.
class PngImage {
public:
    explicit PngImage(const std::string& path) : m_surface(cairo_image_surface_create_from_png(path.c_str()))
    {
        if (cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS) cairo_surface_flush(m_surface);
    }
    ~PngImage() { cairo_surface_destroy(m_surface); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    bool Ok() const { return cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS; }
    int Width() const { return Ok() ? cairo_image_surface_get_width(m_surface) : 0; }
    int Height() const { return Ok() ? cairo_image_surface_get_height(m_surface) : 0; }
    uint32_t At(int x, int y) const
    {
        const unsigned char* row =
            cairo_image_surface_get_data(m_surface) + y * cairo_image_surface_get_stride(m_surface);
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    }
    // Pixels of the box [left, right) × [top, bottom) that differ from the other image.
    int Differences(const PngImage& other, int left, int top, int right, int bottom) const
    {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) count += At(x, y) != other.At(x, y);
        return count;
    }

private:
    cairo_surface_t* m_surface;
};

class HostPaneExtra : public ::testing::Test {
protected:
    void SetUp() override { MakeRecords({"examinations", m_dir.Path()}); }
    std::string Record(const std::string& name) const { return m_dir.File(name); }
    testsupport::TempDir m_dir;
};

TEST_F(HostPaneExtra, EveryPageOfATwoSetRecordIsWrittenAtTheScreenSize)
{
    const std::string out = m_dir.File("all");
    const HostRun run = Host({"pane", Record("extra6x2_90.ecg"), "--pane", "all", "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    std::vector<std::string> names;
    for (int style : {1, 2, 5, 6, 7, 8, 9, 10}) names.push_back("CWndExtraWave-" + std::to_string(style));
    for (int style : {3, 4, 11, 12, 13, 14, 15, 16}) names.push_back("CWndExtraRhythmWave-" + std::to_string(style));
    for (int style : {17, 18, 19, 23, 24, 25, 29}) names.push_back("CWndExtraCommentWave-" + std::to_string(style));
    for (int style : {20, 21, 22, 26, 27, 28})
        names.push_back("CWndExtraCommentRhythmWave-" + std::to_string(style));
    for (const std::string& name : names) {
        const PngImage image(out + "/" + name + ".png");
        EXPECT_EQ(1920, image.Width()) << name;
        EXPECT_EQ(1080, image.Height()) << name;
    }
    EXPECT_EQ(std::string::npos, run.out.find("CWndRRWave"));
}

TEST_F(HostPaneExtra, PressingExtra2RedrawsTheWavesAndLeavesTheForm)
{
    const std::string first = m_dir.File("extra1.png"), second = m_dir.File("extra2.png");
    const std::string record = Record("extra6x2_90.ecg");
    ASSERT_EQ(0, Host({"pane", record, "--pane", "CWndExtraCommentWave", "--style", "24", "--png", first}).status);
    const HostRun run =
        Host({"pane", record, "--pane", "CWndExtraCommentWave", "--style", "24", "--click", "3482", "--png", second});
    ASSERT_EQ(0, run.status) << run.err;
    const PngImage a(first), b(second);
    ASSERT_TRUE(a.Ok() && b.Ok());
    // The form holds the left 485 of 1020 units, the waves start at 490.
    const int formRight = 1920 * 485 / 1020, wavesLeft = 1920 * 490 / 1020;
    // The patient strip's focus and the form stay as they were; the traces change.
    EXPECT_EQ(0, a.Differences(b, 0, 200, formRight, 1000));
    EXPECT_GT(a.Differences(b, wavesLeft, 140, 1920, 1000), 1000);
}

TEST_F(HostPaneExtra, APageOfOneSetHasNoSetButtonToPress)
{
    const HostRun run = Host({"pane", Record("extra6x2_90.ecg"), "--pane", "CWndExtraCommentWave", "--style", "18",
                              "--click", "3482", "--png", m_dir.File("x.png")});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("3482")) << run.err;
}

TEST_F(HostPaneExtra, AnMferRecordOfTheExtraKindTakesTheMferPageNumbers)
{
    MakeRecords({"mfer", "--kind", "extra6x3x2", "--out", m_dir.File("m6.mwf")});
    const std::string png = m_dir.File("m.png");
    const HostRun run = Host({"pane", m_dir.File("m6.mwf"), "--pane", "CWndExtraWave", "--style", "58", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    const PngImage image(png);
    EXPECT_EQ(1920, image.Width());
    const HostRun comment = Host({"pane", m_dir.File("m6.mwf"), "--pane", "CWndExtraCommentWave", "--style", "75",
                                  "--click", "3482", "--png", png});
    EXPECT_EQ(0, comment.status) << comment.err;
    const HostRun rest =
        Host({"pane", Record("rest12_pace_80.ecg"), "--pane", "CWndExtraWave", "--png", m_dir.File("r.png")});
    EXPECT_EQ(1, rest.status);
    EXPECT_NE(std::string::npos, rest.err.find("does not show this record")) << rest.err;
}

}  // namespace
