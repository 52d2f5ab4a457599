// The host shows and prints the RR analysis views of an RR record: every view
// paints, the histogram's bars show in the PNG, and the interval list prints
// its pages of 400 (all of them, or the one asked for).
#include <gtest/gtest.h>


#include <algorithm>
#include <string>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tools/EcgModel.h"
#include "tools/RRRecord.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// An RR record of 600 intervals around 800 ms, every tenth marked.
std::string WriteRRRecord(TempDir& dir)
{
    morvelance::SynthOptions synth;
    synth.leads.assign(1, morvelance::LeadId::II);
    synth.seconds = 10.0;
    const morvelance::EcgRecord ecg = morvelance::Synthesize(synth);
    const morvelance::RecordBuilder record = morvelance::MakeRRDeviceRecord(ecg, morvelance::DeviceRecordOptions());
    morvelance::RRReport report;
    report.intervals = morvelance::MakeRRIntervals(600, 800, 60);
    const std::string path = dir.File("rr600.ecg");
    morvelance::WriteRRRecordFilesWithReport(path, record, report);
    return path;
}

int PixelsOf(const std::string& png, uint32_t colour)
{
    return testsupport::PngImage(png).Count([&](uint32_t rgb) { return rgb == colour; });
}

bool HasWord(const std::vector<PdfWord>& words, int page, const std::string& text)
{
    return std::any_of(words.begin(), words.end(), [&](const PdfWord& w) { return w.page == page && w.text == text; });
}

TEST(HostRRViews, EveryRRViewPaintsAndTheHistogramShowsItsBars)
{
    TempDir dir;
    const std::string record = WriteRRRecord(dir);
    for (const char* view : {"CViewRRHistogram", "CViewRRTrend", "CViewRRIntervalList", "CViewRRResult"}) {
        const std::string png = dir.File(std::string(view) + ".png");
        const HostRun run = Host({"view", record, "--view", view, "--png", png, "--size", "800x480"});
        EXPECT_EQ(0, run.status) << view << ": " << run.err;
    }
    EXPECT_GT(PixelsOf(dir.File("CViewRRHistogram.png"), 0x00B4FF), 1000);
    EXPECT_GT(PixelsOf(dir.File("CViewRRTrend.png"), 0x0000FF), 100);
}

TEST(HostRRViews, TheIntervalListPrintsEveryPageOrTheOneAskedFor)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdftoppm are not installed";
    TempDir dir;
    const std::string record = WriteRRRecord(dir);
    const std::string all = dir.File("all.pdf");
    HostRun run = Host({"print", record, "--view", "CViewRRIntervalList", "--pdf", all});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(2, PdfPageCount(all));
    const std::vector<PdfWord> words = PdfWords(all);
    EXPECT_TRUE(HasWord(words, 1, "400"));
    EXPECT_TRUE(HasWord(words, 2, "401"));
    EXPECT_TRUE(HasWord(words, 2, "600"));
    EXPECT_TRUE(HasWord(words, 1, "*"));   // the marked intervals

    const std::string second = dir.File("second.pdf");
    run = Host({"print", record, "--view", "CViewRRIntervalList", "--page", "2", "--pdf", second});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(1, PdfPageCount(second));
    EXPECT_TRUE(HasWord(PdfWords(second), 1, "401"));
    EXPECT_FALSE(HasWord(PdfWords(second), 1, "400"));
}

TEST(HostRRViews, TheResultTablePrintsItsHeadersAndMinuteRows)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdftoppm are not installed";
    TempDir dir;
    const std::string pdf = dir.File("result.pdf");
    const HostRun run = Host({"print", WriteRRRecord(dir), "--view", "CViewRRResult", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    const std::vector<PdfWord> words = PdfWords(pdf);
    EXPECT_TRUE(HasWord(words, 1, "平均RR"));
    EXPECT_TRUE(HasWord(words, 1, "%RR50"));
    EXPECT_TRUE(HasWord(words, 1, "7"));   // the last of eight minutes: "7 -"
    EXPECT_FALSE(HasWord(words, 1, "計測時間"));
}

}  // namespace
