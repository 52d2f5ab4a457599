// The host shows a patient's series in the serial comparison pages, every
// file loaded at once: the average page with a caption over every column in
// use and the overlap legend, the rhythm page with both halves drawn, both
// among all panes, a file that is not a resting or MFER record refused, and
// the serial comparison reports printed from every file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostPdfBoxes.h"
#include "tests/host/HostRun.h"
#include "tests/support/PngImage.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using testsupport::PngImage;
using testsupport::TempDir;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

int X(int units) { return (kWidth * units + 510) / 1020; }
int Y(int units) { return (kHeight * units + 332) / 664; }

bool IsRed(uint32_t rgb) { return rgb == 0xFF0000; }
bool IsBlue(uint32_t rgb) { return rgb == 0x0000FF; }

class HostPaneSerial : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ostringstream out, err;
        ASSERT_EQ(0, morvelance::RunMkrecord({"series", m_dir.Path()}, out, err)) << err.str();
    }
    // The patient's ten records, the other patient's and the 12-lead MFER file.
    std::vector<std::string> Series()
    {
        std::vector<std::string> files;
        const char* const codes[] = {"0", "254", "255", "11", "226", "227", "0", "254", "255", "11"};
        for (int i = 0; i < 10; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "serial%02d_%s.ecg", i + 1, codes[i]);
            files.push_back(m_dir.File(name));
        }
        files.push_back(m_dir.File("serial_other_0.ecg"));
        files.push_back(m_dir.File("serial_mfer12.mwf"));
        return files;
    }
    HostRun Show(const std::string& pane, const std::vector<std::string>& extra)
    {
        std::vector<std::string> args = {"pane"};
        for (const std::string& file : Series()) args.push_back(file);
        args.push_back("--pane");
        args.push_back(pane);
        args.insert(args.end(), extra.begin(), extra.end());
        return Host(args);
    }
    TempDir m_dir;
};

TEST_F(HostPaneSerial, AveragePageCaptionsEveryColumnInUseAndDrawsTheOverlapLegend)
{
    const std::string png = m_dir.File("ave.png");
    const HostRun run = Show("CWndRestSerialComAve", {"--style", "41", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    PngImage image(png);
    ASSERT_TRUE(image.Ok());
    EXPECT_EQ(kWidth, image.Width());
    EXPECT_EQ(kHeight, image.Height());
    // Nine columns (the tenth gives way to the overlapped beat), each with its date.
    for (int k = 0; k < 9; ++k)
        EXPECT_GT(image.CountIn(X(50 + 96 * k), Y(5), X(50 + 96 * k + 94), Y(20), PngImage::IsDark), 30) << k;
    // The legend's beats at the right end of the strip row.
    const int left = X(977), top = Y(5);
    EXPECT_GT(image.CountIn(left, top, left + 40, top + 32, IsRed), 10);
    EXPECT_GT(image.CountIn(left, top, left + 40, top + 32, IsBlue), 10);
    // Beats under the columns.
    EXPECT_GT(image.CountIn(X(16), Y(60), X(1005), Y(650), [](uint32_t rgb) { return rgb != 0xFFFFFF; }), 5000);
}

// The record caption is a text: a click there reaches its panel behind
// it, which drops the column's chooser in the caption's place, and an entry
// then picked puts that record's date in the first column.
TEST_F(HostPaneSerial, AClickAtAColumnsRecordCaptionDropsItsChooserAndAnEntryPickedThereIsShown)
{
    const std::vector<std::string> files = Series();
    const std::vector<std::string> series(files.begin(), files.begin() + 10);
    auto show = [&](const std::string& png, const std::vector<std::string>& click) {
        std::vector<std::string> args = {"pane"};
        args.insert(args.end(), series.begin(), series.end());
        args.insert(args.end(), {"--pane", "CWndRestSerialComAve", "--style", "41", "--png", png});
        args.insert(args.end(), click.begin(), click.end());
        const HostRun run = Host(args);
        EXPECT_EQ(0, run.status) << run.err;
        return run.status == 0;
    };
    const std::string plain = m_dir.File("plain.png"), dropped = m_dir.File("dropped.png"),
                      picked = m_dir.File("picked.png");
    ASSERT_TRUE(show(plain, {}));
    ASSERT_TRUE(show(dropped, {"--click", "3501"}));
    ASSERT_TRUE(show(picked, {"--click", "3501:9"}));
    PngImage before(plain), open(dropped), after(picked);
    ASSERT_TRUE(before.Ok() && open.Ok() && after.Ok());
    // The first column's caption row.
    auto changed = [&](const PngImage& image, int column) {
        int differing = 0;
        for (int y = Y(5); y < Y(20); ++y)
            for (int x = X(50 + 96 * column); x < X(50 + 96 * column + 94); ++x)
                differing += image.Pixel(x, y) != before.Pixel(x, y);
        return differing;
    };
    EXPECT_GT(changed(open, 0), 30);
    EXPECT_GT(changed(after, 0), 30);
    // The tenth record's date, where the first one's stood.
    EXPECT_GT(after.CountIn(X(50), Y(5), X(144), Y(20), PngImage::IsDark), 30);
}

TEST_F(HostPaneSerial, RhythmPageDrawsBothHalves)
{
    const std::string png = m_dir.File("rhy.png");
    const HostRun run = Show("CWndRestSerialComRhy", {"--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    PngImage image(png);
    ASSERT_TRUE(image.Ok());
    for (int x : {12, 513})
        EXPECT_GT(image.CountIn(X(x + 40), Y(60), X(x + 495), Y(520), PngImage::IsDark), 2000) << x;
}

TEST_F(HostPaneSerial, AllPanesIncludeTheComparisonPagesOfTheWholeSeries)
{
    // Two records of the patient make a series; every single-record page of
    // each is written too, so a small screen keeps the run short.
    const std::string out = m_dir.File("all");
    const std::vector<std::string> series = Series();
    const HostRun run = Host({"pane", series[0], series[1], "--pane", "all", "--size", "480x270",
                              "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    for (const char* name : {"CWndRestSerialComAve-41", "CWndRestSerialComAve-42", "CWndRestSerialComAve-43",
                             "CWndRestSerialComRhy"}) {
        PngImage image(out + "/" + name + ".png");
        EXPECT_TRUE(image.Ok()) << name;
    }
}

TEST_F(HostPaneSerial, AllPanesFailNamingTheRecordWhenItsSeriesCannotBeOpenedButARecordOfAnotherKindShowsNone)
{
    std::ostringstream made, madeErr;
    ASSERT_EQ(0, morvelance::RunMkrecord({"samples", m_dir.Path()}, made, madeErr)) << madeErr.str();
    const std::string record = Series()[0];
    const std::string shortOut = m_dir.File("short");
    ::setenv("MORVELANCE_HOST_SET_SHORT_OF_MEMORY", "1", 1);
    const HostRun shortRun = Host({"pane", record, "--pane", "all", "--size", "480x270", "--out", shortOut});
    ::unsetenv("MORVELANCE_HOST_SET_SHORT_OF_MEMORY");
    EXPECT_EQ(1, shortRun.status) << shortRun.err;
    const std::string said = "morvelance-host: " + record + ": the record could not be opened again for the comparison";
    EXPECT_NE(std::string::npos, shortRun.err.find(said)) << shortRun.err;
    EXPECT_EQ(std::string::npos, shortRun.err.find("neither a resting nor an MFER record")) << shortRun.err;
    EXPECT_TRUE(PngImage(shortOut + "/CWndRestRhythmWave-1.png").Ok());
    EXPECT_FALSE(PngImage(shortOut + "/CWndRestSerialComRhy.png").Ok());

    // An RR record is no series at all: its own pages, and nothing said about the rest.
    const std::string rrOut = m_dir.File("rr");
    const HostRun rrRun = Host({"pane", m_dir.File("rr_90.ecg"), "--pane", "all", "--size", "480x270", "--out", rrOut});
    EXPECT_EQ(0, rrRun.status) << rrRun.err;
    EXPECT_EQ(std::string::npos, rrRun.err.find("morvelance-host:")) << rrRun.err;
    EXPECT_FALSE(PngImage(rrOut + "/CWndRestSerialComRhy.png").Ok());
}

TEST_F(HostPaneSerial, AFileThatIsNeitherRestingNorMferIsRefused)
{
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord({"samples", m_dir.Path()}, out, err)) << err.str();
    const HostRun run = Host({"pane", m_dir.File("serial01_0.ecg"), m_dir.File("rr_90.ecg"), "--pane",
                              "CWndRestSerialComAve", "--png", m_dir.File("x.png")});
    EXPECT_NE(0, run.status);
    EXPECT_NE(std::string::npos, run.err.find("neither a resting nor an MFER record")) << run.err;
}

TEST_F(HostPaneSerial, SerialReportsPrintTheirPagesFromEveryFile)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext is not installed";
    struct Expected {
        const char* report;
        bool anno;
        int pages;
        const char* title;
    };
    for (const Expected& expected : {Expected{"serial-ave-mix", false, 1, "Ave.12ch-5"},
                                     Expected{"serial-ave-ex", false, 2, "Ave.6ch-10"},
                                     Expected{"serial-rhy", false, 2, "Rhy."},
                                     Expected{"serial-rhy", true, 1, "Rhy."}}) {
        const std::string pdf = m_dir.File(std::string(expected.report) + (expected.anno ? "-anno" : "") + ".pdf");
        std::vector<std::string> args = {"print"};
        for (const std::string& file : Series()) args.push_back(file);
        args.insert(args.end(), {"--report", expected.report, "--pdf", pdf});
        if (expected.anno) args.push_back("--anno");
        const HostRun run = Host(args);
        ASSERT_EQ(0, run.status) << expected.report << ": " << run.err;
        EXPECT_EQ(expected.pages, PdfPageCount(pdf)) << expected.report;
        bool titled = false, dated = false;
        for (const PdfWord& word : PdfWords(pdf)) {
            titled |= word.text.find(expected.title) != std::string::npos;
            dated |= word.text == "2023/01/10";
        }
        EXPECT_TRUE(titled) << expected.report;
        EXPECT_TRUE(dated) << expected.report;
    }
}

TEST_F(HostPaneSerial, TheAverageReportPrintsStarsForAHeartRateTheRecordsDoNotGive)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext is not installed";
    // Two records printed as they are, then with the heart rate of their
    // record XMLs emptied: the row under the date prints the rate, then "***bpm".
    const std::vector<std::string> records = {Series()[0], Series()[1]};
    for (const bool emptied : {false, true}) {
        SCOPED_TRACE(emptied ? "heart rates emptied" : "as made");
        if (emptied) {
            for (const std::string& record : records) {
                const std::string stem = record.substr(0, record.size() - 4);
                for (const std::string& file : testsupport::FolderEntries(m_dir.Path())) {
                    const std::string xml = m_dir.File(file);
                    if (xml.rfind(stem, 0) != 0 || xml.size() < 4 || xml.compare(xml.size() - 4, 4, ".xml") != 0)
                        continue;
                    const std::string edit = "sed -i 's#<Heart_rate>[^<]*</Heart_rate>#<Heart_rate></Heart_rate>#' " +
                                             Quoted(xml);
                    ASSERT_EQ(0, std::system(edit.c_str()));
                    ASSERT_NE(std::string::npos, testsupport::ReadFileBytes(xml).find("<Heart_rate></Heart_rate>"));
                }
            }
        }
        const std::string pdf = m_dir.File(emptied ? "emptied.pdf" : "made.pdf");
        std::vector<std::string> args = {"print"};
        args.insert(args.end(), records.begin(), records.end());
        args.insert(args.end(), {"--report", "serial-ave-mix", "--pdf", pdf});
        const HostRun run = Host(args);
        ASSERT_EQ(0, run.status) << run.err;
        int stars = 0, rates = 0;
        for (const PdfWord& word : PdfWords(pdf)) {
            if (word.text.size() < 3 || word.text.compare(word.text.size() - 3, 3, "bpm") != 0) continue;
            const std::string rate = word.text.substr(0, word.text.size() - 3);
            EXPECT_FALSE(rate.empty()) << "a rate printed as a bare bpm";
            if (rate == "***") ++stars;
            else if (!rate.empty() && rate.find_first_not_of("0123456789") == std::string::npos) ++rates;
        }
        // Each record's rate in both halves of the split page, the limb and the chest leads'.
        EXPECT_EQ(emptied ? 4 : 0, stars);
        EXPECT_EQ(emptied ? 0 : 4, rates);
    }
}

TEST_F(HostPaneSerial, TheStageLabelsOfTheAverageReportStayInTheirColumns)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext is not installed";
    for (const char* report : {"serial-ave-mix", "serial-ave-ex"}) {
        SCOPED_TRACE(report);
        const std::string pdf = m_dir.File(std::string(report) + ".pdf");
        std::vector<std::string> args = {"print"};
        for (const std::string& file : Series()) args.push_back(file);
        args.insert(args.end(), {"--report", report, "--pdf", pdf});
        const HostRun run = Host(args);
        ASSERT_EQ(0, run.status) << run.err;
        const std::vector<WordBox> words = WordBoxes(pdf);
        bool double_ = false;
        for (const WordBox& word : words) double_ = double_ || word.text.find("(ダブル)") != std::string::npos;
        EXPECT_TRUE(double_);
        EXPECT_EQ(std::vector<std::string>(), OverlappingWords(words));
    }
}

}  // namespace

namespace {

// A three-lead MFER file: an MFER record, but none the comparison takes.
class HostSerialLeftOut : public HostPaneSerial {
protected:
    void SetUp() override
    {
        HostPaneSerial::SetUp();
        std::ostringstream out, err;
        ASSERT_EQ(0, morvelance::RunMkrecord({"mfer", "--kind", "plain", "--leads", "3", "--out", m_threeLeads}, out, err))
            << err.str();
    }
    // The message naming the record and why it is left out.
    static bool SaysLeftOut(const HostRun& run, const std::string& file)
    {
        return run.err.find(file + ": left out of the serial comparison: an MFER file of 3 leads") != std::string::npos;
    }
    const std::string m_threeLeads = m_dir.File("three.mwf");
};

}  // namespace

TEST_F(HostSerialLeftOut, AComparisonGivenOnlyRecordsItDoesNotTakeNamesThemEndsOneAndDrawsNothing)
{
    const std::vector<std::vector<std::string>> runs = {
        {"pane", m_threeLeads, "--pane", "CWndRestSerialComRhy"},
        {"pane", m_threeLeads, "--pane", "CWndRestSerialComAve"},
        {"view", m_threeLeads, "--view", "CViewSerialComRhy"},
        {"view", m_threeLeads, "--view", "CViewSerialComAve"},
    };
    for (const std::vector<std::string>& args : runs) {
        const std::string png = m_dir.File(args[3] + ".png");
        std::vector<std::string> all = args;
        all.insert(all.end(), {"--png", png});
        const HostRun run = Host(all);
        SCOPED_TRACE(args[3]);
        EXPECT_EQ(1, run.status) << run.err;
        EXPECT_TRUE(SaysLeftOut(run, m_threeLeads)) << run.err;
        EXPECT_NE(std::string::npos, run.err.find("no record to compare")) << run.err;
        EXPECT_FALSE(PngImage(png).Ok());
    }
    const std::string pdf = m_dir.File("comparison.pdf");
    const HostRun print = Host({"print", m_threeLeads, "--view", "CViewSerialComRhy", "--pdf", pdf});
    EXPECT_EQ(1, print.status) << print.err;
    EXPECT_NE(std::string::npos, print.err.find(m_threeLeads + ": left out of the serial comparison")) << print.err;
    EXPECT_TRUE(testsupport::ReadFileBytes(pdf).empty());
}

TEST_F(HostSerialLeftOut, ARecordTheComparisonLeavesOutIsNamedAndTheOthersAreComparedWithoutIt)
{
    const std::string first = Series()[0];
    for (const char* pane : {"CWndRestSerialComRhy", "CWndRestSerialComAve"}) {
        SCOPED_TRACE(pane);
        const std::string alone = m_dir.File(std::string(pane) + "-alone.png");
        const std::string mixed = m_dir.File(std::string(pane) + "-mixed.png");
        ASSERT_EQ(0, Host({"pane", first, "--pane", pane, "--png", alone}).status);
        const HostRun run = Host({"pane", m_threeLeads, first, "--pane", pane, "--png", mixed});
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_TRUE(SaysLeftOut(run, m_threeLeads)) << run.err;
        // The same picture, byte for byte, as the host writes its PNGs.
        EXPECT_TRUE(PngImage(mixed).Ok());
        EXPECT_EQ(testsupport::ReadFileBytes(alone), testsupport::ReadFileBytes(mixed));
    }
    const std::string view = m_dir.File("view.png");
    const HostRun run = Host({"view", first, m_threeLeads, "--view", "CViewSerialComRhy", "--png", view});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(SaysLeftOut(run, m_threeLeads)) << run.err;
    // The one record compared fills the frame: no empty column beside it.
    const PngImage image(view);
    ASSERT_TRUE(image.Ok());
    EXPECT_GT(image.CountIn(image.Width() * 3 / 4, 60, image.Width() - 20, image.Height() / 2, PngImage::IsDark), 300);
}

TEST_F(HostSerialLeftOut, AllPanesOfARecordTheComparisonDoesNotTakeWriteNoComparisonAndSayNothingOfIt)
{
    const std::string out = m_dir.File("all");
    const HostRun run = Host({"pane", m_threeLeads, "--pane", "all", "--size", "480x270", "--out", out});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(std::string::npos, run.err.find("morvelance-host:")) << run.err;
    EXPECT_FALSE(PngImage(out + "/CWndRestSerialComRhy.png").Ok());
    EXPECT_FALSE(PngImage(out + "/CWndRestSerialComAve-41.png").Ok());
}
