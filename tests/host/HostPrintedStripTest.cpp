// The one-lead strip printed by itself, as the print command prints it: an
// MFER rhythm recording prints its strip as wrapped rows, and those rows
// stay inside the strip, on the baseline of the strip's calibration pulse,
// as the strip of a record printed as a page does.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;

namespace {

// What the printed page shows of the strip: ink above the frame's top line,
// and, below it, the foot of the calibration pulse and the row the trace
// runs along most (its baseline), in pixels of the page.
struct PrintedStrip {
    int frameTop = -1;
    int inkAbove = 0;
    int pulseFoot = -1;
    int baseline = -1;
};

PrintedStrip Measure(const PdfPage& page)
{
    PrintedStrip strip;
    for (int y = 0; y < page.Height() && strip.frameTop < 0; ++y) {
        int dark = 0;
        for (int x = 0; x < page.Width(); ++x) dark += page.Dark(x, y) ? 1 : 0;
        if (dark > page.Width() / 2) strip.frameTop = y;
    }
    if (strip.frameTop < 0) return strip;
    for (int y = 0; y < strip.frameTop; ++y)
        for (int x = 0; x < page.Width(); ++x) strip.inkAbove += page.Dark(x, y) ? 1 : 0;
    // The strip: 40 mm under the frame's top line, clear of the line itself.
    const int top = strip.frameTop + static_cast<int>(kPixelsPerMm);
    const int bottom = strip.frameTop + static_cast<int>(40 * kPixelsPerMm);
    // The pulse's rising edge: the first column inked 5 to 30 mm down (the
    // frame's side runs the page's height).
    int pulseX = -1;
    for (int x = 0; x < page.Width() && pulseX < 0; ++x) {
        int first = -1, last = -1;
        for (int y = top; y < bottom; ++y)
            if (page.Dark(x, y)) {
                if (first < 0) first = y;
                last = y;
            }
        const double mm = (last - first) / kPixelsPerMm;
        if (first >= 0 && mm >= 5 && mm <= 30) {
            pulseX = x;
            strip.pulseFoot = last;
        }
    }
    if (pulseX < 0) return strip;
    // The trace from 15 mm right of the pulse on: its commonest inked row.
    std::map<int, int> rows;
    for (int x = pulseX + static_cast<int>(15 * kPixelsPerMm); x < pulseX + static_cast<int>(100 * kPixelsPerMm); ++x)
        for (int y = top; y < bottom; ++y)
            if (page.Dark(x, y)) ++rows[y];
    int most = 0;
    for (const auto& row : rows)
        if (row.second > most) most = row.second, strip.baseline = row.first;
    return strip;
}

}  // namespace

TEST(HostPrintedStripTest, AnMferRhythmRecordingsPrintedStripStaysInsideTheStripOnItsPulsesBaseline)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    testsupport::TempDir dir;
    const std::string record = dir.File("rhythm15.mwf");
    MakeRecords({"mfer", "--kind", "rhythm15", "--seconds", "30", "--out", record});
    const std::string pdf = HostPdf({"print", record, "--view", "CViewScroll1LeadWave"}, dir.File("strip.pdf"));
    const PdfPage page(pdf, 1, dir.Path());
    ASSERT_TRUE(page.Ok());
    const PrintedStrip strip = Measure(page);
    ASSERT_GE(strip.frameTop, 0) << "no frame";
    // The beats of 1.5 mV at 10 mm/mV rose 10 mm over the strip's top.
    EXPECT_EQ(0, strip.inkAbove);
    ASSERT_GE(strip.pulseFoot, 0) << "no calibration pulse";
    EXPECT_NEAR(strip.pulseFoot, strip.baseline, 3);
}
