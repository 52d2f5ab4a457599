// The host's dialog command on the enlarged-view dialogs, the caliper
// dialog and the panels: each drawn at its share of the screen with its
// traces in it, the ruler's reading under a measured view, the record kinds
// a dialog does not take refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"

using namespace hosttest;

namespace {

bool IsInk(uint32_t pixel)
{
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r < 90 && g < 90 && b < 140;
}

// A record's trace colour: far from the greys of the paper and the frame.
bool IsColoured(uint32_t pixel)
{
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return std::max({r, g, b}) - std::min({r, g, b}) > 80;
}

bool IsRed(uint32_t pixel)
{
    return pixel == 0xFF0000u;
}

class HostDialogEnlarged : public HostSamplesTest {
protected:
    HostRun Dialog(const std::string& record, const std::string& dialog, const std::string& png,
                   const std::vector<std::string>& more = {})
    {
        std::vector<std::string> args = {"dialog", record, "--dialog", dialog, "--png", png};
        args.insert(args.end(), more.begin(), more.end());
        return Host(args);
    }
};

}  // namespace

TEST_F(HostDialogEnlarged, TheRhythmLeadsDialogShowsTheRulersReadingUnderTheMeasuredView)
{
    const std::string plain = m_dir.File("plain.png");
    const std::string measured = m_dir.File("measured.png");
    ASSERT_EQ(0, Dialog(SamplePath("rhythm_90.ecg"), "CDlgEnlargedRhyRR", plain, {"--lead", "0"}).status);
    const HostRun run =
        Dialog(SamplePath("rhythm_90.ecg"), "CDlgEnlargedRhyRR", measured, {"--lead", "0", "--zoom", "1", "--ruler", "100,300"});
    ASSERT_EQ(0, run.status) << run.err;
    const testsupport::PngImage before(plain), after(measured);
    EXPECT_EQ(800, after.Width());
    const int w = after.Width(), h = after.Height();
    // The strip is drawn in the view; the reading stands beside the bar under it.
    EXPECT_GT(after.CountIn(w / 20, h / 10, w * 9 / 10, h * 8 / 10, IsInk), 300);
    const int readout = after.CountIn(w / 5, h * 86 / 100, w * 7 / 10, h * 92 / 100, IsInk);
    EXPECT_GT(readout, before.CountIn(w / 5, h * 86 / 100, w * 7 / 10, h * 92 / 100, IsInk) + 30);
}

// An extra-lead record's lead is enlarged at its set's sensitivity, not at
// the common one the extra-lead document does not keep (which drew it flat).
TEST_F(HostDialogEnlarged, TheRhythmLeadsDialogDrawsAnExtraLeadAtItsSetsSensitivity)
{
    for (const char* lead : {"1", "4"}) {
        SCOPED_TRACE(lead);
        const std::string png = m_dir.File(std::string("extra") + lead + ".png");
        const HostRun run = Dialog(SamplePath("extra_90.ecg"), "CDlgEnlargedRhyRR", png, {"--lead", lead});
        ASSERT_EQ(0, run.status) << run.err;
        const testsupport::PngImage image(png);
        ASSERT_TRUE(image.Ok());
        const int w = image.Width(), h = image.Height();
        // The rows the trace reaches right of the lead's name: far more than a flat line's.
        int rows = 0;
        for (int y = h / 20; y < h * 85 / 100; ++y)
            rows += image.CountIn(w / 5, y, w * 9 / 10, y + 1, [](uint32_t rgb) { return testsupport::PngImage::IsDark(rgb); })
                        ? 1
                        : 0;
        EXPECT_GT(rows, 40);
    }
}

TEST_F(HostDialogEnlarged, TheOverlapDialogComparesTheRecordWithTheOthersGiven)
{
    const std::string png = m_dir.File("overlap.png");
    const HostRun run = Dialog(SamplePath("rest12_90.ecg"), "CDlgEnlargedOverlap", png,
                               {"--with", SamplePath("rest12_80.ecg"), "--lead", "1"});
    ASSERT_EQ(0, run.status) << run.err;
    const testsupport::PngImage image(png);
    EXPECT_EQ(800, image.Width());
    EXPECT_GT(image.CountIn(10, 30, image.Width() - 30, image.Height() * 8 / 10, IsColoured), 300);
}

TEST_F(HostDialogEnlarged, TheCaliperDialogSpansTheScreenWithItsStrip)
{
    const std::string png = m_dir.File("divider.png");
    const HostRun run = Dialog(SamplePath("rhythm_90.ecg"), "CDlgDivider", png, {"--lead", "0"});
    ASSERT_EQ(0, run.status) << run.err;
    const testsupport::PngImage image(png);
    EXPECT_EQ(1024, image.Width());
    EXPECT_GT(image.CountIn(20, 30, 1000, image.Height() / 2, IsInk), 300);
}

TEST_F(HostDialogEnlarged, TheMasterStepLoadDialogDrawsTheRestingAndThePostLoadBeat)
{
    MakeRecords({"examinations", m_dir.File("ex")});
    const std::string png = m_dir.File("load.png");
    const HostRun run = Dialog(m_dir.File("ex/mstep243.ecg"), "CDlgFinalLoadEnlarge", png, {"--lead", "1"});
    ASSERT_EQ(0, run.status) << run.err;
    const testsupport::PngImage image(png);
    EXPECT_EQ(910, image.Width());
    const int w = image.Width(), h = image.Height();
    EXPECT_GT(image.CountIn(w / 10, h / 10, w / 2, h * 8 / 10, IsInk), 200);
    EXPECT_GT(image.CountIn(w / 2 + 20, h / 10, w - 40, h * 8 / 10, IsInk), 200);
}

TEST_F(HostDialogEnlarged, EveryPanelIsStackedWithTheStripGlyphsInTheRecordsColours)
{
    const std::string png = m_dir.File("panels.png");
    const HostRun run = Dialog(SamplePath("rest12_90.ecg"), "panels", png);
    ASSERT_EQ(0, run.status) << run.err;
    const testsupport::PngImage image(png);
    // Nine panels one under the other.
    EXPECT_GT(image.Height(), 9 * 20);
    // The stop glyphs of the 3D and time-step strips: icons come with the record's colours.
    EXPECT_GT(image.CountIn(0, 0, image.Width(), image.Height(), IsRed), 60);
}

TEST_F(HostDialogEnlarged, ADialogRefusesARecordItDoesNotShowAndABadRulerIsAnError)
{
    const HostRun rest = Dialog(SamplePath("rest12_90.ecg"), "CDlgFinalRestEnlarge", m_dir.File("no.png"));
    EXPECT_EQ(1, rest.status);
    EXPECT_NE(std::string::npos, rest.err.find("master-step")) << rest.err;
    const HostRun rhythm = Dialog(SamplePath("rest12_90.ecg"), "CDlgEnlargedRhyRR", m_dir.File("no2.png"));
    EXPECT_EQ(1, rhythm.status);
    const HostRun ruler =
        Dialog(SamplePath("rhythm_90.ecg"), "CDlgEnlargedRhyRR", m_dir.File("no3.png"), {"--ruler", "100"});
    EXPECT_EQ(2, ruler.status);
}

TEST_F(HostDialogEnlarged, AllWritesTheEnlargedDialogsThatTakeTheRecordAndThePanels)
{
    MakeRecords({"examinations", m_dir.File("ex")});
    const std::string out = m_dir.File("all");
    const HostRun run = Host({"dialog", m_dir.File("ex/mstep243.ecg"), "--dialog", "all", "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    for (const char* name : {"CDlgFinalRestEnlarge", "CDlgFinalLoadEnlarge", "panels"})
        EXPECT_TRUE(IsPng(out + "/" + name + ".png")) << name;
    // The magnifier shows what lies under the mouse over a view: alone, it
    // was an empty grey window, and it is left out.
    for (const char* name :
         {"CDlgEnlargedWave", "CDlgEnlargedRhyRR", "CDlgDivider", "CDlgEnlargedOverlap", "CDlgEnlargedPreview"})
        EXPECT_FALSE(IsPng(out + "/" + name + ".png")) << name;
}
