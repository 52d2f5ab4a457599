// The host's view and print commands on the resting analysis views, over
// records the record maker wrote: average beats and calibration columns seen
// through pixel probes of the PNG, and the printed column measured on paper.
#include <gtest/gtest.h>


#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// The host's picture, with the probes of these tests.
class Png : public testsupport::PngImage {
public:
    using PngImage::PngImage;
    // Dark runs down column x.
    int RunsDown(int x, int top, int bottom) const
    {
        int runs = 0;
        for (int y = top; y < bottom; ++y) runs += Dark(x, y) && (y == top || !Dark(x, y - 1));
        return runs;
    }
    int DarkIn(int left, int top, int right, int bottom) const { return CountIn(left, top, right, bottom, IsDark); }
};

class HostRestAnalysisTest : public HostSamplesTest {
protected:
    void SetUp() override
    {
        HostSamplesTest::SetUp();
        m_record = SamplePath("rest12_90.ecg");
    }
    HostRun View(const std::string& record, const std::string& view, const std::string& size, const std::string& png,
                 std::vector<std::string> more = {})
    {
        std::vector<std::string> args = {"view", record, "--view", view, "--size", size, "--png", png};
        args.insert(args.end(), more.begin(), more.end());
        return Host(args);
    }
    std::string m_record;
};

}  // namespace

TEST_F(HostRestAnalysisTest, TheAverageBeatsOfARestingAndAnMferRecordFillTheirTwelveCells)
{
    const std::string mfer = m_dir.File("mfer12.mwf");
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"mfer", "--kind", "plain", "--leads", "12", "--out", mfer, "--xml-out",
                                          m_dir.File("Raw_mfer1220240401093000.xml")},
                                         out, err))
        << err.str();
    for (const std::string& record : {m_record, mfer}) {
        const std::string png = m_dir.File("average.png");
        const HostRun run = View(record, "CViewAverageWave", "1300x1200", png);
        ASSERT_EQ(0, run.status) << run.err;
        Png image(png);
        ASSERT_TRUE(image.Ok());
        // 10 px a square: three pulses down the column, one per row of leads.
        EXPECT_EQ(3, image.RunsDown(23, 0, 1200)) << record;
        for (int column = 0; column < 4; ++column)
            for (int row = 0; row < 3; ++row) {
                const int left = 100 + 300 * column;
                const int baseline = 200 + 400 * row;
                EXPECT_GT(image.DarkIn(left, baseline - 150, left + 300, baseline + 150), 100)
                    << record << " cell " << column << "," << row;
            }
    }
}

TEST_F(HostRestAnalysisTest, TheCalibrationColumnStacksTheCountAskedFor)
{
    for (int count : {3, 6}) {
        const std::string png = m_dir.File("cal" + std::to_string(count) + ".png");
        const HostRun run = View(m_record, "CViewCAL", "100x600", png, {"--cal-count", std::to_string(count)});
        ASSERT_EQ(0, run.status) << run.err;
        Png image(png);
        ASSERT_TRUE(image.Ok());
        EXPECT_EQ(count, image.RunsDown(25, 0, 600)) << count;
    }
    const HostRun refused = View(m_record, "CViewCAL", "100x600", m_dir.File("x.png"), {"--cal-count", "9"});
    EXPECT_EQ(2, refused.status);
    EXPECT_NE(std::string::npos, refused.err.find("--cal-count")) << refused.err;
}

TEST_F(HostRestAnalysisTest, TheOverlappedBeatsShowTheirFiducialLines)
{
    const std::string png = m_dir.File("overlapped.png");
    const HostRun run = View(m_record, "CViewAveOverlappedWave", "600x800", png);
    ASSERT_EQ(0, run.status) << run.err;
    Png image(png);
    ASSERT_TRUE(image.Ok());
    int magenta = 0, blue = 0, red = 0;
    for (int x = 0; x < 600; ++x) {
        const unsigned p = image.Pixel(x, 5);
        magenta += p == 0xFF00FF;
        blue += p == 0x0000FF;
        red += p == 0xFF0000;
    }
    EXPECT_EQ(2, magenta);
    EXPECT_EQ(2, blue);
    EXPECT_EQ(1, red);
}

TEST_F(HostRestAnalysisTest, AllViewsOfARestingRecordIncludeTheAnalysisViews)
{
    const std::string out = m_dir.File("all");
    const HostRun run = Host({"view", m_record, "--view", "all", "--out", out, "--size", "650x600"});
    ASSERT_EQ(0, run.status) << run.err;
    for (const char* name : {"CViewAverageWave", "CViewAveOverlappedWave", "CViewCAL"}) {
        Png image(out + "/" + name + ".png");
        EXPECT_TRUE(image.Ok()) << name;
    }
}

TEST_F(HostRestAnalysisTest, PrintedPulsesAreTenMillimetresAtTenMillimetresAMillivolt)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftoppm is not installed";
    for (const char* view : {"CViewAverageWave", "CViewCAL"}) {
        const std::string pdf = m_dir.File(std::string(view) + ".pdf");
        // The averaged beats draw their own pulses and take no --cal-count (it is refused for them).
        std::vector<std::string> args = {"print", m_record, "--view", view, "--pdf", pdf};
        if (std::string(view) == "CViewCAL") args.insert(args.end() - 2, {"--cal-count", "3"});
        const HostRun run = Host(args);
        ASSERT_EQ(0, run.status) << run.err;
        PdfPage page(pdf, 1, m_dir.Path());
        ASSERT_TRUE(page.Ok());
        // The tallest dark run in the pulse area, a few millimetres in from
        // the page's left margin (10 mm), inside the column's frame: one pulse's riser.
        int tallest = 0;
        for (int x = static_cast<int>(11.5 * kPixelsPerMm); x < static_cast<int>(18.5 * kPixelsPerMm); ++x) {
            int run = 0;
            for (int y = static_cast<int>(12 * kPixelsPerMm); y < page.Height() - static_cast<int>(12 * kPixelsPerMm);
                 ++y) {
                run = page.Dark(x, y) ? run + 1 : 0;
                tallest = std::max(tallest, run);
            }
        }
        EXPECT_NEAR(118, tallest, 4) << view;
    }
}

TEST_F(HostRestAnalysisTest, ARealRestingRecordsBeatsFillTheGridWithFiducialsInOrder)
{
    const std::string ptb = testsupport::SharedDataDir() + "/physionet/ptb/s0010_re";
    if (!std::ifstream(ptb + ".hea")) GTEST_SKIP() << "the PTB record s0010_re is not in the shared data folder";
    const std::string record = m_dir.File("ptb.ecg");
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"wfdb", "--record", ptb, "--kind", "rest15", "--out", record, "--xml"}, out, err))
        << err.str();
    const std::string png = m_dir.File("ptb-average.png");
    ASSERT_EQ(0, View(record, "CViewAverageWave", "1300x1200", png).status);
    Png average(png);
    ASSERT_TRUE(average.Ok());
    for (int lead = 0; lead < 12; ++lead) {
        const int left = 100 + 300 * (lead / 3);
        const int baseline = 200 + 400 * (lead % 3);
        EXPECT_GT(average.DarkIn(left, baseline - 190, left + 300, baseline + 190), 100) << "lead " << lead;
    }
    // The overlapped beats: P begin, P end, QRS begin, QRS end, T end from left to right.
    const std::string overlapped = m_dir.File("ptb-overlapped.png");
    ASSERT_EQ(0, View(record, "CViewAveOverlappedWave", "600x800", overlapped).status);
    Png lines(overlapped);
    ASSERT_TRUE(lines.Ok());
    std::vector<unsigned> order;
    for (int x = 0; x < 600; ++x) {
        const unsigned p = lines.Pixel(x, 5);
        if (p == 0xFF00FF || p == 0x0000FF || p == 0xFF0000) order.push_back(p);
    }
    EXPECT_EQ((std::vector<unsigned>{0xFF00FF, 0xFF00FF, 0x0000FF, 0x0000FF, 0xFF0000}), order);
}
