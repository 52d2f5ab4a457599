// The host's enlarged-beat dialog: the clicked lead's beat drawn in the
// view and the measurement table below it, in a dialog scaled to the screen;
// a rhythm record's strip of lead II; the records it does not show refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/host/HostRhythmRecord.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

bool IsTrace(uint32_t pixel)
{
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r < 60 && g < 60 && b < 60;
}

}  // namespace

TEST(HostEnlargedWaveDialog, TheBeatIsDrawnInTheViewAndTheTableBelowIt)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const std::string png = dir.File("enlarged.png");
    const HostRun run = Host({"dialog", dir.File("rest12_90.ecg"), "--dialog", "CDlgEnlargedWave", "--lead", "1",
                              "--png", png});
    ASSERT_EQ(run.status, 0) << run.err;
    const testsupport::PngImage image(png);
    // The default screen is 1024 pixels wide: the dialog takes 960 of them.
    EXPECT_EQ(960, image.Width());
    const int w = image.Width(), h = image.Height();
    // The trace lies in the view's upper half, the table's texts in the lower.
    EXPECT_GT(image.CountIn(w / 10, h / 20, w * 9 / 10, h / 2, IsTrace), 200);
    EXPECT_GT(image.CountIn(w / 5, h * 6 / 10, w * 95 / 100, h * 95 / 100, IsTrace), 500);
}

namespace {

// The view's share of the dialog's picture: above the scroll bar under it.
int ViewInk(const testsupport::PngImage& image, int& top, int& bottom)
{
    const int w = image.Width(), h = image.Height();
    top = h;
    bottom = -1;
    int ink = 0;
    for (int y = h / 20; y < h * 54 / 100; ++y)
        for (int x = w / 10; x < w * 9 / 10; ++x) {
            if (!IsTrace(image.Pixel(x, y))) continue;
            ++ink;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    return ink;
}

// A rhythm record of II, V5 and V1 in which only lead II moves: V5 and V1
// lie flat on the baseline, so the trace shown tells which lead it is.
std::string WriteRhythmWithOnlyLeadIIMoving(const TempDir& dir)
{
    const std::string record = dir.File("rhythm.ecg");
    WriteThreeLeadRhythm(record, [](size_t samples) {
        const std::vector<int16_t> flat(samples, 0);
        return std::map<uint32_t, std::vector<int16_t>>{{1, flat}, {2, flat}};
    });
    return record;
}

}  // namespace

// The dialog on a rhythm record is the multi-lead view's: a strip of the
// record around the clicked sample, lead II unless another is asked for.
// (It was opened as for an average beat, which a rhythm record has not,
// and showed an empty grid.)
TEST(HostEnlargedWaveDialog, ARhythmRecordShowsLeadIIAsAStrip)
{
    TempDir dir;
    const std::string record = WriteRhythmWithOnlyLeadIIMoving(dir);
    const std::string shown = dir.File("shown.png");
    HostRun run = Host({"dialog", record, "--dialog", "CDlgEnlargedWave", "--png", shown});
    ASSERT_EQ(run.status, 0) << run.err;
    int top = 0, bottom = 0;
    const int ink = ViewInk(testsupport::PngImage(shown), top, bottom);
    EXPECT_GT(ink, 500);
    // Lead II's beats rise and fall across the view; a flat lead would be a line.
    EXPECT_GT(bottom - top, 40);

    // Lead V5 asked for: the flat line on the baseline.
    const std::string v5 = dir.File("v5.png");
    run = Host({"dialog", record, "--dialog", "CDlgEnlargedWave", "--lead", "1", "--png", v5});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_GT(ViewInk(testsupport::PngImage(v5), top, bottom), 300);
    EXPECT_LE(bottom - top, 2);
}

// The dialog shows a record's leads only for resting, rhythm and MFER
// records; an MFER file without average beats is shown as a strip, and the
// overlap, which compares average beats, refuses it.
TEST(HostEnlargedWaveDialog, OtherRecordKindsAreRefusedAndAnMferFileWithoutBeatsShowsAStrip)
{
    TempDir dir;
    MakeRecords({"samples", dir.File("samples")});
    for (const char* name : {"rr_90.ecg", "extra_90.ecg"}) {
        const std::string png = dir.File(std::string(name) + ".png");
        const HostRun run =
            Host({"dialog", dir.File(std::string("samples/") + name), "--dialog", "CDlgEnlargedWave", "--png", png});
        EXPECT_EQ(1, run.status) << name;
        EXPECT_NE(std::string::npos, run.err.find("CDlgEnlargedWave needs")) << run.err;
        EXPECT_FALSE(IsPng(png)) << name;
    }
    const std::string mfer = dir.File("freeze.mwf");
    MakeRecords({"mfer", "--kind", "freeze", "--out", mfer});
    const std::string strip = dir.File("strip.png");
    HostRun run = Host({"dialog", mfer, "--dialog", "CDlgEnlargedWave", "--png", strip});
    ASSERT_EQ(0, run.status) << run.err;
    int top = 0, bottom = 0;
    EXPECT_GT(ViewInk(testsupport::PngImage(strip), top, bottom), 500);
    EXPECT_GT(bottom - top, 40);
    const std::string overlap = dir.File("overlap.png");
    run = Host({"dialog", mfer, "--dialog", "CDlgEnlargedOverlap", "--png", overlap});
    EXPECT_EQ(1, run.status);
    EXPECT_FALSE(IsPng(overlap));
}

namespace {

// The height the ink spans inside a box of the picture (fractions of its
// width and height): a beat's waves span tens of pixels, a flat lead's line
// one or two.
int InkSpan(const std::string& png, double left, double top, double right, double bottom)
{
    const testsupport::PngImage image(png);
    EXPECT_TRUE(image.Ok()) << png;
    const int w = image.Width(), h = image.Height();
    int first = h, last = -1;
    for (int y = static_cast<int>(h * top); y < static_cast<int>(h * bottom); ++y)
        for (int x = static_cast<int>(w * left); x < static_cast<int>(w * right); ++x) {
            if (!IsTrace(image.Pixel(x, y))) continue;
            first = std::min(first, y);
            last = std::max(last, y);
        }
    return last - first + 1;
}

// One command showing one lead, and the strip's box in its picture.
struct OneLeadRun {
    std::vector<std::string> args;
    double left, top, right, bottom;
};

// Each command shows, without --lead, a lead that moves in its strip; with
// --lead 1, the record's second lead, which is flat.
void ExpectMovingLeadByDefaultAndFlatSecondLead(TempDir& dir, const std::vector<OneLeadRun>& runs)
{
    for (const OneLeadRun& run : runs) {
        SCOPED_TRACE(run.args[3]);
        const std::string png = dir.File(run.args[3] + ".png");
        std::vector<std::string> args = run.args;
        args.insert(args.end(), {"--png", png});
        const HostRun ran = Host(args);
        ASSERT_EQ(0, ran.status) << ran.err;
        EXPECT_GT(InkSpan(png, run.left, run.top, run.right, run.bottom), 30);
        args.insert(args.end() - 2, {"--lead", "1"});
        ASSERT_EQ(0, Host(args).status);
        EXPECT_LE(InkSpan(png, run.left, run.top, run.right, run.bottom), 3);
    }
}

}  // namespace

// Lead II is found by its name, not taken as the standard order's second
// lead, by every command that shows one lead when none is asked for.
TEST(HostEnlargedWaveDialog, EveryOneLeadCommandShowsLeadIIOfARhythmRecordByDefault)
{
    TempDir dir;
    const std::string record = WriteRhythmWithOnlyLeadIIMoving(dir);
    const std::vector<OneLeadRun> runs = {
        {{"dialog", record, "--dialog", "CDlgEnlargedRhyRR"}, 0.05, 0.1, 0.9, 0.8},
        {{"dialog", record, "--dialog", "CDlgDivider"}, 0.05, 0.15, 0.95, 0.55},
        {{"view", record, "--view", "CViewEnlargedWave"}, 0.1, 0.05, 0.9, 0.54},
        {{"view", record, "--view", "CViewDividerWave", "--size", "800x300"}, 0.05, 0.05, 0.95, 0.95},
    };
    ExpectMovingLeadByDefaultAndFlatSecondLead(dir, runs);
}

// The caliper dialog opens from a page's one-lead strip; an RR record's
// pages have none, and the dialog and its strip view refuse it rather than
// show an empty strip (the view a master-step record too).
TEST(HostEnlargedWaveDialog, TheCaliperDialogAndItsStripRefuseARecordWithoutAOneLeadStrip)
{
    TempDir dir;
    MakeRecords({"samples", dir.File("samples")});
    MakeRecords({"examinations", dir.File("ex")});
    const std::string png = dir.File("divider.png");
    HostRun run = Host({"dialog", dir.File("samples/rr_90.ecg"), "--dialog", "CDlgDivider", "--png", png});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("CDlgDivider needs")) << run.err;
    EXPECT_FALSE(IsPng(png));
    for (const std::string& record : {dir.File("samples/rr_90.ecg"), dir.File("ex/mstep243.ecg")}) {
        run = Host({"view", record, "--view", "CViewDividerWave", "--png", png});
        EXPECT_EQ(1, run.status) << record;
        EXPECT_NE(std::string::npos, run.err.find("CViewDividerWave needs")) << run.err;
        EXPECT_FALSE(IsPng(png)) << record;
    }
}

namespace {

// An MFER file of two leads, MLII and V5, as MIT-BIH 100 converts: written
// from a WFDB record of ten seconds in which only MLII beats (a spike each
// second) and V5 lies flat, so the trace shown tells which lead it is.
std::string WriteMferOfMliiAndFlatV5(const TempDir& dir)
{
    const int rate = 360, seconds = 10;
    std::string samples;
    for (int i = 0; i < rate * seconds; ++i) {
        const int16_t mlii = i % rate < 10 ? 600 : 0;   // 3 mV at 200 units per mV
        for (int16_t value : {mlii, int16_t(0)}) {
            samples.push_back(static_cast<char>(value & 0xFF));
            samples.push_back(static_cast<char>((value >> 8) & 0xFF));
        }
    }
    dir.Write("twolead.dat", samples);
    dir.Write("twolead.hea", "twolead 2 360 3600\n"
                             "twolead.dat 16 200 11 0 0 0 0 MLII\n"
                             "twolead.dat 16 200 11 0 0 0 0 V5\n");
    const std::string mfer = dir.File("twolead.mwf");
    MakeRecords({"wfdb", "--mfer", "--record", dir.File("twolead"), "--out", mfer});
    return mfer;
}

}  // namespace

// A record that names no lead II (MLII and V5) shows its first lead, as
// --help says, where the standard order's second place (V5) was shown.
TEST(HostEnlargedWaveDialog, EveryOneLeadCommandShowsTheFirstLeadOfARecordNamingNoneII)
{
    TempDir dir;
    const std::string record = WriteMferOfMliiAndFlatV5(dir);
    const std::vector<OneLeadRun> runs = {
        {{"dialog", record, "--dialog", "CDlgEnlargedWave"}, 0.1, 0.05, 0.9, 0.54},
        {{"dialog", record, "--dialog", "CDlgEnlargedRhyRR"}, 0.05, 0.1, 0.9, 0.8},
        {{"dialog", record, "--dialog", "CDlgDivider"}, 0.05, 0.15, 0.95, 0.55},
        {{"view", record, "--view", "CViewEnlargedWave"}, 0.1, 0.05, 0.9, 0.54},
        {{"view", record, "--view", "CViewDividerWave", "--size", "800x300"}, 0.05, 0.05, 0.95, 0.95},
    };
    ExpectMovingLeadByDefaultAndFlatSecondLead(dir, runs);
}
