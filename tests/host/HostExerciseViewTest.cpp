// The host's exercise views over an exercise record made by the record
// maker: painted into PNG files at a chosen time, layout and trend style,
// every layout and style with --view all, and printed by the views
// themselves into one PDF in the report font.
#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/host/HostPdf.h"
#include "tools/ExerRecord.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

constexpr double kMinimumTextMm = 2.0;

bool Exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

// Pixels of a PNG in a box that pass the test.
template <class Test> int PixelsIn(const std::string& png, int left, int top, int right, int bottom, const Test& test)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
    int n = 0;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                const uint32_t p = reinterpret_cast<const uint32_t*>(data + y * stride)[x];
                n += test((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) ? 1 : 0;
            }
    }
    cairo_surface_destroy(surface);
    return n;
}

int DarkPixels(const std::string& png, int left, int top, int right, int bottom)
{
    return PixelsIn(png, left, top, right, bottom,
                    [](unsigned r, unsigned g, unsigned b) { return r < 100 && g < 100 && b < 100; });
}

int BluePixels(const std::string& png, int left, int top, int right, int bottom)
{
    return PixelsIn(png, left, top, right, bottom,
                    [](unsigned r, unsigned g, unsigned b) { return b > 150 && r < 100 && g < 100; });
}

class HostExerciseViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_record = m_dir.File("exercise.ecg");
        morvelance::WriteExerciseRecordFiles(m_record, morvelance::ExerciseRecordOptions());
    }
    TempDir m_dir;
    std::string m_record;
};

}  // namespace

TEST_F(HostExerciseViewTest, TheTwelveLeadLayoutDrawsLeadOneOnItsBaseline)
{
    const std::string png = m_dir.File("average.png");
    const HostRun run = Host({"view", m_record, "--view", "CViewExerAverage", "--mode", "1", "--time", "300",
                              "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    // 1920 x 1080 over 140 x 145 mm: lead I's cell starts 15 mm in, its
    // baseline a sixth of the rows below the 7/70 band.
    const int x = 1920 * 15 / 140;
    const int band = 7 * 1080 / 70;
    const int baseline = band + (1080 - band) / 6;
    EXPECT_GT(DarkPixels(png, x, baseline - 3, x + 60, baseline + 4), 30);
    EXPECT_EQ(DarkPixels(png, x, baseline + 60, x + 60, baseline + 100), 0);
}

TEST_F(HostExerciseViewTest, ViewAllWritesEveryLayout)
{
    const std::string out = m_dir.File("all");
    const HostRun run = Host({"view", m_record, "--view", "all", "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    for (int mode = 1; mode <= 3; ++mode)
        EXPECT_TRUE(Exists(out + "/CViewExerAverage-mode" + std::to_string(mode) + ".png")) << mode;
    EXPECT_TRUE(Exists(out + "/CViewExerSummaryAverage.png"));
    EXPECT_TRUE(Exists(out + "/CViewMemoryWave.png"));
    EXPECT_TRUE(Exists(out + "/CViewResultTable.png"));
    EXPECT_TRUE(Exists(out + "/CViewExerAverage3D.png"));
    for (int style = 1; style <= 18; ++style)
        EXPECT_TRUE(Exists(out + "/CViewExerTrend-style" + std::to_string(style) + ".png")) << style;
}

TEST_F(HostExerciseViewTest, TheHeartRateTrendPassesThroughTheRateAtFiveMinutes)
{
    const std::string png = m_dir.File("trend.png");
    const HostRun run = Host({"view", m_record, "--view", "CViewExerTrend", "--style", "1", "--size", "960x540",
                              "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    // The area from (1, 2), 959 x 540 in 7 x 14 cells; the plot 6 x 10 cells
    // from 5/7 of a cell in and 2 cells down; 15 minutes across.
    const double cellWidth = 959 / 7.0;
    const double cellHeight = 540 / 14.0;
    const double left = 1 + cellWidth * 5 / 7;
    const double top = 2 + 2 * cellHeight;
    const double height = 10 * cellHeight;
    const int x = static_cast<int>(20 * 6 * cellWidth / 60 + left + 0.5);   // step 20: 300 s
    const int hr = morvelance::ExerciseHeartRate(morvelance::ExerciseRecordOptions(), 0, 300);
    const int y = static_cast<int>(top + height - hr * height / 250);
    EXPECT_GT(BluePixels(png, x - 1, y - 2, x + 2, y + 3), 0);
    EXPECT_EQ(BluePixels(png, x - 1, y + 30, x + 2, y + 60), 0);
}

TEST_F(HostExerciseViewTest, TheMapIsPaintedTurnedButNeverPrinted)
{
    const std::string png = m_dir.File("map.png");
    HostRun run = Host({"view", m_record, "--view", "CViewExerAverage3D", "--rotate", "0.5", "--tilt", "0.2",
                        "--relative", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(Exists(png));
    run = Host({"print", m_record, "--view", "CViewExerAverage3D", "--pdf", m_dir.File("map.pdf")});
    EXPECT_NE(0, run.status);
    EXPECT_NE(run.err.find("does not print"), std::string::npos) << run.err;
    run = Host({"view", m_record, "--view", "CViewExerAverage3D", "--tilt", "2", "--png", png});
    EXPECT_EQ(2, run.status);
}

TEST_F(HostExerciseViewTest, AModeOutsideTheLayoutsIsRefused)
{
    const HostRun run = Host({"view", m_record, "--view", "CViewExerAverage", "--mode", "4", "--png",
                              m_dir.File("x.png")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(run.err.find("--mode"), std::string::npos) << run.err;
}

TEST_F(HostExerciseViewTest, PrintingPutsEveryLayoutOnItsPageInTheReportFont)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdftoppm (poppler-utils) are not installed";
    const std::string pdf = m_dir.File("average.pdf");
    const HostRun run = Host({"print", m_record, "--view", "all", "--time", "75", "--pdf", pdf});   // in the load
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(PdfPageCount(pdf), 3 + 1 + 1 + 18 + 1);
    bool phase = false;
    bool reviewed = false;
    for (const PdfWord& word : PdfWords(pdf)) {
        EXPECT_GE(word.heightMm, kMinimumTextMm) << word.text;
        phase = phase || word.text == "Ex.";
        reviewed = reviewed || (word.page == 24 && word.text == "Reviewed");
    }
    EXPECT_TRUE(phase);
    EXPECT_TRUE(reviewed);   // the result table's signature line, on the last page
}

TEST_F(HostExerciseViewTest, TheRecordMakerWritesAThreeLeadTestOfMinuteBlocksTheDocumentOpens)
{
    const std::string record = m_dir.File("three.ecg");
    HostRun made = RunProgram("morvelance-mkrecord", {"synth", "--kind", "exer", "--stages", "2", "--every", "60",
                                                      "--leads", "3", "--out", record});
    ASSERT_EQ(0, made.status) << made.err;
    const HostRun opened = Host({"open", record});
    ASSERT_EQ(0, opened.status) << opened.err;
    EXPECT_NE(opened.out.find("6 in exercise, 4 in recovery, every 60 s"), std::string::npos) << opened.out;
    const HostRun view = Host({"view", record, "--view", "CViewExerAverage", "--png", m_dir.File("three.png")});
    EXPECT_EQ(0, view.status) << view.err;
    made = RunProgram("morvelance-mkrecord", {"synth", "--kind", "exer", "--every", "30", "--out", record});
    EXPECT_NE(0, made.status);
}

TEST_F(HostExerciseViewTest, TheSheetOfTheRecordIsRefusedForItsDocumentShowsNoLead)
{
    // The exercise document supplies no rhythm waves: an empty grid is no
    // sheet of the record, painted or printed.
    const std::string png = m_dir.File("sheet.png");
    HostRun run = Host({"view", m_record, "--view", "sheet", "--png", png});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find(m_record + ": the document shows no lead of the record")) << run.err;
    EXPECT_FALSE(Exists(png));
    const std::string pdf = m_dir.File("sheet.pdf");
    run = Host({"print", m_record, "--view", "sheet", "--pdf", pdf});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("the document shows no lead of the record")) << run.err;
    EXPECT_FALSE(Exists(pdf));
}
