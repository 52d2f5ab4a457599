// The lead options of the host's dialog and view commands: without one the
// record's own lead is shown (lead II, or the first lead of a record without
// it), and a lead the record does not have is refused, named, never drawn
// as empty paper; the dialogs open on the lead asked for, where a double
// click would open them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

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

// Where the thumb of the first horizontal scroll bar in the lower half of a
// dialog's picture stands: 0 against its left arrow, 1 against its right
// one, -1 when no bar is found. The bar's bottom edge is a row of three dark
// runs of one length: the two arrow buttons and the thumb between them.
double ThumbPlace(const std::string& png)
{
    const testsupport::PngImage image(png);
    for (int y = image.Height() / 2; y < image.Height(); ++y) {
        std::vector<std::pair<int, int>> runs;
        for (int x = 0; x < image.Width(); ++x) {
            if (!IsInk(image.Pixel(x, y))) continue;
            const int from = x;
            while (x + 1 < image.Width() && IsInk(image.Pixel(x + 1, y))) ++x;
            if (x - from >= 11) runs.emplace_back(from, x);
        }
        if (runs.size() != 3) continue;
        const int length = runs[0].second - runs[0].first;
        bool same = true;
        for (const auto& run : runs) same = same && std::abs(run.second - run.first - length) <= 1;
        if (!same) continue;
        const int travel = runs[2].first - runs[0].second - 1 - (length + 1);
        return travel > 0 ? static_cast<double>(runs[1].first - runs[0].second - 1) / travel : -1.0;
    }
    return -1.0;
}

class HostLeadOptionTest : public HostSamplesTest {
protected:
    // The ink inside the upper four fifths of a picture, where the dialogs
    // and views draw their strips (the buttons and captions are below).
    static int TraceInk(const std::string& png)
    {
        const testsupport::PngImage image(png);
        EXPECT_TRUE(image.Ok()) << png;
        const int w = image.Width(), h = image.Height();
        return image.CountIn(w / 20, h / 10, w * 9 / 10, h * 7 / 10, IsInk);
    }
    // The run refused the lead by its number, without a picture.
    static void ExpectRefused(const HostRun& run, const std::string& lead, const std::string& png)
    {
        EXPECT_EQ(1, run.status) << run.err;
        EXPECT_NE(std::string::npos, run.err.find("no lead " + lead)) << run.err;
        EXPECT_FALSE(IsPng(png));
    }
};

}  // namespace

TEST_F(HostLeadOptionTest, TheEnlargedRhythmDialogOfAOneLeadRecordDrawsItsTraceWithoutALeadAsked)
{
    const std::string png = m_dir.File("rr.png");
    const HostRun run = Host({"dialog", SamplePath("rr_90.ecg"), "--dialog", "CDlgEnlargedRhyRR", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_GT(TraceInk(png), 300);
}

TEST_F(HostLeadOptionTest, TheCaliperStripOfAOneLeadRecordDrawsItsTraceWithoutALeadAsked)
{
    const std::string record = m_dir.File("one.mwf");
    MakeRecords({"mfer", "--kind", "plain", "--leads", "1", "--out", record});
    const std::string dialog = m_dir.File("dialog.png");
    HostRun run = Host({"dialog", record, "--dialog", "CDlgDivider", "--png", dialog});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_GT(TraceInk(dialog), 300);
    const std::string view = m_dir.File("view.png");
    run = Host({"view", record, "--view", "CViewDividerWave", "--size", "800x300", "--png", view});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_GT(TraceInk(view), 300);
}

TEST_F(HostLeadOptionTest, ADialogAskedForALeadPastTheRecordsEndsWithAMessageNamingIt)
{
    // The caliper dialog is asked on a one-lead MFER file: it does not open
    // on an RR record at all, whose pages have no one-lead strip to open it.
    const std::string mfer = m_dir.File("one.mwf");
    MakeRecords({"mfer", "--kind", "plain", "--leads", "1", "--out", mfer});
    for (const auto& [dialog, record] : {std::pair<std::string, std::string>{"CDlgEnlargedRhyRR", SamplePath("rr_90.ecg")},
                                         std::pair<std::string, std::string>{"CDlgDivider", mfer}}) {
        const std::string png = m_dir.File(dialog + ".png");
        const HostRun run = Host({"dialog", record, "--dialog", dialog, "--lead", "1", "--png", png});
        SCOPED_TRACE(dialog);
        ExpectRefused(run, "1", png);
        EXPECT_NE(std::string::npos, run.err.find(record.substr(record.rfind('/') + 1))) << run.err;
    }
    // A lead that is no number is a mistake in the command, not lead 0.
    const std::string named = m_dir.File("named.png");
    EXPECT_EQ(2, Host({"dialog", SamplePath("rr_90.ecg"), "--dialog", "CDlgEnlargedRhyRR", "--lead", "II", "--png", named})
                     .status);
    EXPECT_FALSE(IsPng(named));
    const std::string wave = m_dir.File("wave.png");
    ExpectRefused(Host({"dialog", SamplePath("rest12_90.ecg"), "--dialog", "CDlgEnlargedWave", "--lead", "12", "--png",
                        wave}),
                  "12", wave);
}

TEST_F(HostLeadOptionTest, AViewAskedForALeadPastTheRecordsEndsWithAMessageNamingIt)
{
    const std::vector<std::vector<std::string>> runs = {
        {SamplePath("rr_90.ecg"), "--view", "CViewRhythmWave", "--lead", "3"},
        // The caliper strip refuses an RR record whatever the lead: a
        // three-lead rhythm record is asked for a fourth instead.
        {SamplePath("rhythm_90.ecg"), "--view", "CViewDividerWave", "--lead", "3"},
        {SamplePath("rest12_90.ecg"), "--view", "CViewEnlargedWave", "--lead", "13"},
        {SamplePath("rest15_90.ecg"), SamplePath("rest12_90.ecg"), "--view", "CViewEnlargedOverlap", "--lead", "13"},
    };
    for (const std::vector<std::string>& args : runs) {
        const std::string png = m_dir.File("refused.png");
        std::vector<std::string> all = {"view"};
        all.insert(all.end(), args.begin(), args.end());
        all.insert(all.end(), {"--png", png});
        const HostRun run = Host(all);
        SCOPED_TRACE(args[args.size() - 3]);
        EXPECT_EQ(1, run.status) << run.err;
        EXPECT_NE(std::string::npos, run.err.find("no lead " + args.back())) << run.err;
    }
}

TEST_F(HostLeadOptionTest, TheFifteenLeadRecordShowsItsOwnExtraLeadWhereTheTwelveLeadOneIsRefused)
{
    const std::string fifteen = m_dir.File("fifteen.png");
    HostRun run = Host({"view", SamplePath("rest15_90.ecg"), "--view", "CViewEnlargedWave", "--lead", "13", "--png",
                        fifteen});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_GT(TraceInk(fifteen), 300);
    const std::string twelve = m_dir.File("twelve.png");
    run = Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewEnlargedWave", "--lead", "13", "--png", twelve});
    ExpectRefused(run, "13", twelve);
    EXPECT_NE(std::string::npos, run.err.find("leads 0 to 11")) << run.err;
}

TEST_F(HostLeadOptionTest, AMasterStepViewAskedForALeadPastItsTwelveEndsWithAMessageNamingIt)
{
    MakeRecords({"examinations", m_dir.File("ex")});
    const std::string png = m_dir.File("tile.png");
    ExpectRefused(Host({"view", m_dir.File("ex/mstep243.ecg"), "--view", "CViewFinalCom1Lead", "--lead", "12", "--png",
                        png}),
                  "12", png);
    const std::string dialog = m_dir.File("load.png");
    ExpectRefused(Host({"dialog", m_dir.File("ex/mstep243.ecg"), "--dialog", "CDlgFinalLoadEnlarge", "--lead", "12",
                        "--png", dialog}),
                  "12", dialog);
}

// The dialogs open where a double click would open them: the strip's middle
// (the clicked sample a view is given), on the lead asked for.
TEST_F(HostLeadOptionTest, TheEnlargedRhythmDialogOpensAtTheMiddleOfTheLead)
{
    const std::string png = m_dir.File("middle.png");
    ASSERT_EQ(0, Host({"dialog", SamplePath("rr_90.ecg"), "--dialog", "CDlgEnlargedRhyRR", "--png", png}).status);
    EXPECT_NEAR(0.5, ThumbPlace(png), 0.05);
}

TEST_F(HostLeadOptionTest, TheEnlargedViewOpensAtTheSampleItIsGivenAcrossTheWholeLead)
{
    // Ten seconds at 500 samples a second: sample 2500 is the middle.
    const std::string png = m_dir.File("centre.png");
    const HostRun run =
        Host({"view", SamplePath("rest12_90.ecg"), "--view", "CViewEnlargedWave", "--center", "2500", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NEAR(0.5, ThumbPlace(png), 0.05);
}

TEST_F(HostLeadOptionTest, TheCaliperDialogShowsTheLeadAsked)
{
    const std::string first = m_dir.File("lead0.png");
    const std::string third = m_dir.File("lead2.png");
    ASSERT_EQ(0, Host({"dialog", SamplePath("rhythm_90.ecg"), "--dialog", "CDlgDivider", "--lead", "0", "--png", first})
                     .status);
    ASSERT_EQ(0, Host({"dialog", SamplePath("rhythm_90.ecg"), "--dialog", "CDlgDivider", "--lead", "2", "--png", third})
                     .status);
    EXPECT_NE(testsupport::ReadFileBytes(first), testsupport::ReadFileBytes(third));
    EXPECT_GT(TraceInk(third), 300);
}
