// The host paints the multi-lead view of a resting record in a chosen style:
// the 12 × 1 page shows twelve traces down the page.
#include <gtest/gtest.h>


#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// Rows of column x whose pixel is dark, in runs: the traces crossing it.
int DarkRuns(const std::string& png, int x)
{
    const testsupport::PngImage image(png);
    int runs = 0;
    bool dark = false;
    for (int y = 0; y < image.Height(); ++y) {
        const bool now = image.Dark(x, y);
        if (now && !dark) ++runs;
        dark = now;
    }
    return runs;
}

TEST(HostRhythmView, TheTwelveLeadStyleShowsTwelveTracesDownThePage)
{
    TempDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"samples", dir.File("samples")}, out, err)) << err.str();
    const std::string png = dir.File("page.png");
    const HostRun run = Host({"view", dir.File("samples/rest12_90.ecg"), "--view", "CViewRhythmWave", "--style", "11",
                              "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    // Just right of the calibration column (10 of 260 squares), where every
    // trace starts at its baseline.
    EXPECT_EQ(12, DarkRuns(png, 1920 * 10 / 260 + 2));
}

}  // namespace

namespace {

// The rhythm sample in the style of twelve pages on the screen, and the
// words of one printed page.
class HostRhythmPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ostringstream out, err;
        ASSERT_EQ(0, morvelance::RunMkrecord({"samples", m_dir.File("samples")}, out, err)) << err.str();
        m_record = m_dir.File("samples/rhythm_90.ecg");
    }
    HostRun Run(const std::string& command, const std::string& target, const std::vector<std::string>& page)
    {
        std::vector<std::string> args = {command, m_record, "--view", "CViewRhythmWave", "--style", "2"};
        args.insert(args.end(), page.begin(), page.end());
        args.insert(args.end(), {command == "view" ? "--png" : "--pdf", target});
        return Host(args);
    }
    std::vector<std::string> Words(const std::string& pdf)
    {
        std::vector<std::string> words;
        for (const PdfWord& word : PdfWords(pdf)) words.push_back(word.text);
        return words;
    }
    TempDir m_dir;
    std::string m_record;
};

}  // namespace

TEST_F(HostRhythmPages, PageOneIsTheFirstPageInViewAndPrintAlike)
{
    const std::string first = m_dir.File("first.png");
    const std::string one = m_dir.File("one.png");
    const std::string two = m_dir.File("two.png");
    ASSERT_EQ(0, Run("view", first, {}).status);
    HostRun run = Run("view", one, {"--page", "1"});
    ASSERT_EQ(0, run.status) << run.err;
    run = Run("view", two, {"--page", "2"});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(testsupport::ReadFileBytes(first), testsupport::ReadFileBytes(one));
    EXPECT_NE(testsupport::ReadFileBytes(one), testsupport::ReadFileBytes(two));

    if (!HavePoppler()) GTEST_SKIP() << "pdftotext is not installed";
    const std::string printedFirst = m_dir.File("first.pdf");
    const std::string printedOne = m_dir.File("one.pdf");
    const std::string printedTwo = m_dir.File("two.pdf");
    ASSERT_EQ(0, Run("print", printedFirst, {}).status);
    run = Run("print", printedOne, {"--page", "1"});
    ASSERT_EQ(0, run.status) << run.err;
    run = Run("print", printedTwo, {"--page", "2"});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(Words(printedFirst), Words(printedOne));
    EXPECT_NE(Words(printedOne), Words(printedTwo));
}

TEST_F(HostRhythmPages, APagePastTheRecordsEndIsRefusedAndNothingIsWritten)
{
    for (const std::string command : {"view", "print"}) {
        SCOPED_TRACE(command);
        const std::string target = m_dir.File(command == "view" ? "past.png" : "past.pdf");
        const HostRun run = Run(command, target, {"--page", "40"});
        EXPECT_EQ(1, run.status);
        EXPECT_NE(std::string::npos, run.err.find(m_record + ": --page 40 is past the record's end")) << run.err;
        struct stat st;
        EXPECT_NE(0, stat(target.c_str(), &st)) << target << " was written";
    }
    const HostRun zero = Run("view", m_dir.File("zero.png"), {"--page", "0"});
    EXPECT_EQ(2, zero.status);
    EXPECT_NE(std::string::npos, zero.err.find("--page takes a page number, 1 for the first")) << zero.err;
}
