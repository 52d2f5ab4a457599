// The host shows the one-lead scroll strip under its page in a 1920 × 1080
// frame, a drag along the strip moving the page as the pane moves it; and
// the serial rhythm comparison of records side by side.
#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// Pixels of the box (x from left to right, y from top to bottom) whose
// colour is pure white: the normal paper of the window.
int WhitePixels(const std::string& png, int left, int top, int right, int bottom)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
    int n = 0;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface);
        right = std::min(right, cairo_image_surface_get_width(surface));
        bottom = std::min(bottom, cairo_image_surface_get_height(surface));
        for (int y = top; y < bottom; ++y) {
            const unsigned char* row =
                cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
            for (int x = left; x < right; ++x) n += (reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF) == 0xFFFFFF;
        }
    }
    cairo_surface_destroy(surface);
    return n;
}

class HostStripView : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ostringstream out, err;
        // Five minutes of one lead: the page of a rhythm record shows one minute.
        ASSERT_EQ(0, morvelance::RunMkrecord({"synth", "--kind", "rhythm", "--leads", "1", "--seconds", "300",
                                              "--xml", "--out", m_record},
                                             out, err))
            << err.str();
    }
    TempDir m_dir;
    const std::string m_record = m_dir.File("long.ecg");
};

}  // namespace

TEST_F(HostStripView, ADragAlongTheStripMovesThePageAndTheWindow)
{
    const std::string still = m_dir.File("still.png");
    const std::string dragged = m_dir.File("dragged.png");
    HostRun run = Host({"view", m_record, "--view", "CViewScroll1LeadWave", "--png", still});
    ASSERT_EQ(0, run.status) << run.err;
    run = Host({"view", m_record, "--view", "CViewScroll1LeadWave", "--drag-strip", "600,900", "--png", dragged});
    ASSERT_EQ(0, run.status) << run.err;
    // 300 of the strip's 5538 pixels for the record's 150,000 samples.
    EXPECT_EQ(8124, Number(run.out, std::regex("page start (\\d+)")));
    // The strip's first row: its left end leaves the window, the stretch the
    // window moved onto joins it (outside, only the dimmed trace is white).
    const int top = 1080 - 160 + 2;
    EXPECT_GT(WhitePixels(still, 100, top, 350, top + 20), 2000);
    EXPECT_LT(WhitePixels(dragged, 100, top, 350, top + 20), 500);
    EXPECT_LT(WhitePixels(still, 1200, top, 1450, top + 20), 500);
    EXPECT_GT(WhitePixels(dragged, 1200, top, 1450, top + 20), 2000);
}

TEST_F(HostStripView, TheStripPrintsIntoAPdf)
{
    const std::string pdf = m_dir.File("strip.pdf");
    const HostRun run = Host({"print", m_record, "--view", "CViewScroll1LeadWave", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(0u, testsupport::ReadFileBytes(pdf).rfind("%PDF", 0));
}

TEST_F(HostStripView, AMalformedDragIsRefused)
{
    const HostRun run = Host({"view", m_record, "--view", "CViewScroll1LeadWave", "--drag-strip", "600",
                              "--png", m_dir.File("x.png")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("--drag-strip takes X1,X2"));
}

// Columns of the row y that hold dark ink.
int DarkInRow(const std::string& png, int y, int left, int right)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
    int n = 0;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface);
        const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        for (int x = left; x < right; ++x) {
            const unsigned p = reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
            n += ((p >> 16) & 0xFF) < 80 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80;
        }
    }
    cairo_surface_destroy(surface);
    return n;
}

// Columns of row y with dark ink between left and right.
int DarkColumns(const hosttest::PdfPage& page, int y, int left, int right)
{
    int n = 0;
    for (int x = left; x < right; ++x) n += page.Dark(x, y) ? 1 : 0;
    return n;
}

TEST_F(HostStripView, ThePrintedStripsDurationMarksAreSmallTrianglesUnderItsTrace)
{
    if (!hosttest::HavePoppler()) GTEST_SKIP() << "poppler-utils are needed to read the PDF back";
    const std::string pdf = m_dir.File("marks.pdf");
    const HostRun run = Host({"print", m_record, "--view", "CViewScroll1LeadWave", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    const hosttest::PdfPage page(pdf, 1, m_dir.Path());
    ASSERT_TRUE(page.Ok());
    // Inside the page's frame the strip's band is at the top; below it, blank paper.
    int bottom = -1;
    for (int y = 2300; y > 0 && bottom < 0; --y)
        if (DarkColumns(page, y, 200, 3300) > 0) bottom = y;
    ASSERT_GT(bottom, 200);
    EXPECT_LT(bottom, 600) << "ink far below the strip";
    // The marks' bases: two short runs ten seconds apart, at the 25 mm/s the
    // trace under them is printed at: 250 mm, 2953 px.
    const int base = bottom - 2;
    int first = 150;
    while (first < 3300 && !page.Dark(first, base)) ++first;
    ASSERT_LT(first, 3300);
    EXPECT_LT(DarkColumns(page, base, first, first + 60), 40);
    EXPECT_GT(DarkColumns(page, base, first + 2953 - 40, first + 2953 + 40), 5);
    EXPECT_EQ(0, DarkColumns(page, base, first + 60, first + 2953 - 40)) << "a mark between the two";
    // Above a mark's apex, up to the trace, nothing joins the mark to it.
    for (int y = bottom - 50; y > bottom - 55; --y)
        EXPECT_EQ(0, DarkColumns(page, y, first - 60, first + 60)) << "ink above the first mark at row " << y;
}

TEST(HostSerialRhythm, TwoRecordsStandSideBySideAndEachPrints)
{
    TempDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"samples", dir.File("samples")}, out, err)) << err.str();
    const std::string a = dir.File("samples/rest12_90.ecg");
    const std::string png = dir.File("serial.png");
    HostRun run = Host({"view", a, a, "--view", "CViewSerialComRhy", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    // Six leads in each half: lead I's baseline (the first of six bands of
    // the 920 pixels over the strips) carries a trace in both halves.
    const int y = (1080 - 160) / 12;
    EXPECT_GT(DarkInRow(png, y, 100, 900), 50);
    EXPECT_GT(DarkInRow(png, y, 1060, 1860), 50);
    // Under each, its strip: the page's window in white paper, the rest of
    // the record dimmed.
    const int stripTop = 1080 - 160 + 2;
    EXPECT_GT(WhitePixels(png, 100, stripTop, 400, stripTop + 20), 3000);
    EXPECT_LT(WhitePixels(png, 600, stripTop, 900, stripTop + 20), 1000);
    const std::string pdf = dir.File("serial.pdf");
    run = Host({"print", a, "--view", "CViewSerialComRhy", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(0u, testsupport::ReadFileBytes(pdf).rfind("%PDF", 0));
}

namespace {

// Pixels of the box in a strong colour (a channel under 80): traces, not the paper's grid.
int TraceInk(const std::string& png, int left, int top, int right, int bottom)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
    int n = 0;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface);
        right = std::min(right, cairo_image_surface_get_width(surface));
        bottom = std::min(bottom, cairo_image_surface_get_height(surface));
        for (int y = top; y < bottom; ++y) {
            const unsigned char* row =
                cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
            for (int x = left; x < right; ++x) {
                const unsigned p = reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
                n += std::min({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF}) < 80;
            }
        }
    }
    cairo_surface_destroy(surface);
    return n;
}

}  // namespace

TEST(HostSerialRhythm, TheMagnifierShowsTheLargeViewsTraceUnderTheMouse)
{
    TempDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"samples", dir.File("samples")}, out, err)) << err.str();
    const std::string a = dir.File("samples/rest12_90.ecg");
    const std::string magnified = dir.File("magnified.png");
    // On lead I of the first record's view: 540 pixels over the strips, six rows.
    const HostRun onTrace = Host({"view", a, a, "--view", "CViewSerialComRhy", "--size", "1200x700", "--magnify",
                                  "300,45", "--ratio", "3", "--magnifier-png", magnified, "--png", dir.File("s.png")});
    ASSERT_EQ(0, onTrace.status) << onTrace.err;
    // The magnifier's 320 × 200: the trace drawn magnified, not the paper alone.
    EXPECT_GT(TraceInk(magnified, 0, 0, 320, 200), 100);
}

TEST(HostSerialAverage, RecordsFillTheirColumnsTheOverlapTheLastAndThePagePrints)
{
    TempDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"samples", dir.File("samples")}, out, err)) << err.str();
    const std::string a = dir.File("samples/rest12_90.ecg");
    const std::string b = dir.File("samples/rest15_80.ecg");
    const std::string png = dir.File("average.png");
    // Ten records per page across 1920 pixels after the 10 mm calibration column.
    const int cal = 1920 * 10 / 260;
    const int column = (1920 - cal) / 10;
    auto inkIn = [&](int p) { return TraceInk(png, cal + p * column + 4, 0, cal + (p + 1) * column - 4, 1080); };
    HostRun run = Host({"view", a, b, a, "--view", "CViewSerialComAve", "--overlap", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    for (int p = 0; p < 3; ++p) EXPECT_GT(inkIn(p), 100) << p;
    EXPECT_EQ(0, inkIn(5));
    EXPECT_GT(inkIn(9), 500);
    run = Host({"view", a, b, a, "--view", "CViewSerialComAve", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(0, inkIn(9));
    // Five records per page at page style 43: columns twice as wide.
    run = Host({"view", a, b, "--view", "CViewSerialComAve", "--page-style", "43", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    const int wide = 1920 - 1920 * 10 / 135;
    EXPECT_GT(TraceInk(png, 1920 - wide + wide / 5 + 4, 0, 1920 - wide + 2 * wide / 5 - 4, 1080), 100);
    const std::string pdf = dir.File("average.pdf");
    run = Host({"print", a, b, "--view", "CViewSerialComAve", "--overlap", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(0u, testsupport::ReadFileBytes(pdf).rfind("%PDF", 0));
}

// The comparison's views draw the styles they have or refuse the one asked
// for before anything is written: the comparison its one-lead and page
// styles, the strip a wave style of the record's pages, and the average
// comparison only its page styles, which --page-style chooses.
TEST(HostSerialRhythm, AStyleTheComparisonsViewsDoNotDrawIsRefusedAndNothingIsWritten)
{
    TempDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"samples", dir.File("samples")}, out, err)) << err.str();
    const std::string a = dir.File("samples/rest12_90.ecg");
    const std::string b = dir.File("samples/rest12_80.ecg");
    const struct {
        const char* view;
        const char* style;
        const char* said;   // empty: drawn
    } cases[] = {
        {"CViewSerialComRhy", "13", ""},
        {"CViewSerialComRhy", "29", ""},
        {"CViewSerialComRhy", "5", "--style 5: CViewSerialComRhy draws styles 13 and 29"},
        {"CViewScroll1LeadWave", "5", ""},
        {"CViewScroll1LeadWave", "29", "--style 29: CViewScroll1LeadWave draws a resting record in styles 1 to 15"},
        {"CViewSerialComAve", "13", "--style 13: CViewSerialComAve takes --page-style, not --style"},
    };
    for (const auto& c : cases) {
        for (const char* command : {"view", "print"}) {
            SCOPED_TRACE(std::string(command) + " " + c.view + " --style " + c.style);
            const bool print = std::string(command) == "print";
            const std::string output = dir.File(print ? "out.pdf" : "out.png");
            const HostRun run = Host({command, a, b, "--view", c.view, "--style", c.style, print ? "--pdf" : "--png", output});
            const bool written = std::ifstream(output).good();
            std::remove(output.c_str());
            std::remove(dir.File(print ? "out-2.pdf" : "out-2.png").c_str());
            if (!*c.said) {
                EXPECT_EQ(0, run.status) << run.err;
                EXPECT_TRUE(written);
                continue;
            }
            EXPECT_EQ(1, run.status);
            EXPECT_NE(std::string::npos, run.err.find(c.said)) << run.err;
            EXPECT_FALSE(written);
        }
    }
}
