// The host's enlarged strips as a person reads them: the rhythm-leads
// dialog draws an extra-lead record's lead at the sensitivity of the lead's
// own set, and the enlarged strip of a rhythm record stands in the middle of
// the record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/HostRhythmRecord.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::PngImage;

namespace {

// The view's share of a dialog's picture: from under the title bar to above
// the scroll bar under the view.
struct ViewBand {
    int top, bottom;
};

// The rows of the band that carry the trace right of the lead's name.
int TracedRows(const PngImage& image, ViewBand band)
{
    const int w = image.Width();
    int rows = 0;
    for (int y = band.top; y < band.bottom; ++y)
        rows += image.CountIn(w / 10, y, w * 9 / 10, y + 1, PngImage::IsDark) > 0 ? 1 : 0;
    return rows;
}

// The topmost trace pixel of each column of the band, -1 where none.
std::vector<int> TraceTops(const PngImage& image, ViewBand band)
{
    std::vector<int> tops(static_cast<size_t>(image.Width()), -1);
    for (int x = 0; x < image.Width(); ++x)
        for (int y = band.top; y < band.bottom && tops[static_cast<size_t>(x)] < 0; ++y)
            if (image.Dark(x, y)) tops[static_cast<size_t>(x)] = y;
    return tops;
}

class HostEnlargedStrip : public HostSamplesTest {
protected:
    PngImage Dialog(const std::string& record, const std::string& dialog, const std::string& lead,
                    const std::string& png)
    {
        const HostRun run = Host({"dialog", record, "--dialog", dialog, "--lead", lead, "--png", png});
        EXPECT_EQ(0, run.status) << run.err;
        return PngImage(png);
    }
};

}  // namespace

// The extra-lead record's second set (leads 3 to 5) is drawn at its own
// sensitivity from its first lead on: doubling the second set's
// sensitivity, and halving the first set's, doubles the height lead 3
// reaches.
TEST_F(HostEnlargedStrip, TheRhythmLeadsDialogDrawsTheSecondSetsFirstLeadAtThatSetsSensitivity)
{
    const std::string record = SamplePath("extra_90.ecg");
    const std::string xml = SamplePath("extra_9020240401093000.xml");
    const std::string stored = testsupport::ReadFileBytes(xml);
    const auto drawnAt = [&](const std::string& first, const std::string& second) {
        std::string text = stored;
        for (const auto& set : {std::make_pair(std::string("Extra1"), first), std::make_pair(std::string("Extra2"), second)}) {
            const std::string element = "<" + set.first + ">10.00</" + set.first + ">";
            const size_t at = text.find(element);
            EXPECT_NE(at, std::string::npos) << element;
            if (at != std::string::npos)
                text.replace(at, element.size(), "<" + set.first + ">" + set.second + "</" + set.first + ">");
        }
        m_dir.Write("samples/extra_9020240401093000.xml", text);
        const PngImage image = Dialog(record, "CDlgEnlargedRhyRR", "3", m_dir.File("extra" + second + ".png"));
        return TracedRows(image, {image.Height() / 20, image.Height() * 85 / 100});
    };
    const int half = drawnAt("10.00", "5.00");
    const int full = drawnAt("5.00", "10.00");
    EXPECT_GT(half, 20);
    // Twice the height, less the trace's own thickness counted once in each.
    EXPECT_GT(10 * full, 16 * half) << "at 5 mm/mV " << half << " rows, at 10 mm/mV " << full;
    EXPECT_LT(10 * full, 21 * half) << "at 5 mm/mV " << half << " rows, at 10 mm/mV " << full;
}

// A rhythm record whose lead II lies on the baseline for the first half of
// the record and a quarter millivolt above it for the second: the strip
// opens on the middle of the record, so the step stands in the middle of
// the view.
TEST_F(HostEnlargedStrip, TheEnlargedStripOfARhythmRecordIsCentredInTheRecord)
{
    const std::string record = m_dir.File("step.ecg");
    WriteThreeLeadRhythm(record, [](size_t samples) {
        std::vector<int16_t> step(samples, 0);
        for (size_t i = samples / 2; i < samples; ++i) step[i] = 200;   // 1.25 uV a unit
        return std::map<uint32_t, std::vector<int16_t>>{{0, step}};
    });

    const PngImage image = Dialog(record, "CDlgEnlargedWave", "0", m_dir.File("step.png"));
    ASSERT_TRUE(image.Ok());
    const std::vector<int> tops = TraceTops(image, {image.Height() / 20, image.Height() * 54 / 100});
    int left = -1, right = -1;
    for (int x = 0; x < image.Width(); ++x)
        if (tops[static_cast<size_t>(x)] >= 0) (left < 0 ? left : right) = x;
    ASSERT_GT(right - left, image.Width() / 2) << "the trace does not run across the view";
    // The baseline is where the trace starts; the step is the first column
    // that reaches well above it.
    const int baseline = tops[static_cast<size_t>(left)];
    int rise = -1;
    for (int x = left; x <= right && rise < 0; ++x)
        if (tops[static_cast<size_t>(x)] >= 0 && tops[static_cast<size_t>(x)] < baseline - 10) rise = x;
    ASSERT_GE(rise, 0) << "no step in the view";
    EXPECT_NEAR(rise, (left + right) / 2, (right - left) / 50);
}
