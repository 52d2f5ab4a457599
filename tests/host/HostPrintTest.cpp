// The host's print command read back from the PDF: texts in the report font
// of the job, the sheet at the document's speed over as many pages as the
// record needs, its lead names, speed and gain, and every view of a record in
// one PDF.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tests/host/HostPdf.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

constexpr double kMinimumTextMm = 2.0;   // readable on paper

class HostPrintTest : public HostSamplesTest {
protected:
    void SetUp() override
    {
        if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdftoppm (poppler-utils) are not installed";
        HostSamplesTest::SetUp();
    }
    std::string Sample(const std::string& name) const { return SamplePath(name + ".ecg"); }
    // Prints and returns the PDF's path; fails the test when the host does.
    std::string Print(const std::string& record, const std::string& view, const std::string& name)
    {
        const std::string pdf = m_dir.File(name + ".pdf");
        const HostRun run = Host({"print", record, "--view", view, "--pdf", pdf});
        EXPECT_EQ(0, run.status) << run.err;
        return pdf;
    }
    static std::set<std::string> Texts(const std::vector<PdfWord>& words)
    {
        std::set<std::string> texts;
        for (const PdfWord& word : words) texts.insert(word.text);
        return texts;
    }
    TempDir m_dir;
};

}  // namespace

TEST_F(HostPrintTest, TheMultiLeadPagePrintsItsLeadNamesAndTimesInTheReportFont)
{
    // A resting page names its twelve leads; a rhythm page its leads and the
    // start time of every row.
    for (const char* record : {"rest12_90", "rhythm_90"}) {
        SCOPED_TRACE(record);
        const std::vector<PdfWord> words = PdfWords(Print(Sample(record), "CViewRhythmWave", record));
        ASSERT_FALSE(words.empty());
        for (const PdfWord& word : words) EXPECT_GE(word.heightMm, kMinimumTextMm) << word.text;
    }
    const std::set<std::string> rest = Texts(PdfWords(m_dir.File("rest12_90.pdf")));
    for (const char* lead : {"I", "aVR", "V1", "V6"}) EXPECT_EQ(1u, rest.count(lead)) << lead;
    const std::set<std::string> rhythm = Texts(PdfWords(m_dir.File("rhythm_90.pdf")));
    EXPECT_EQ(1u, rhythm.count("0:10"));
}

TEST_F(HostPrintTest, TheSheetPrintsTenSecondsAsTwoHundredFiftyMillimetres)
{
    const std::string pdf = Print(Sample("rest12_90"), "sheet", "rest");
    EXPECT_EQ(1, PdfPageCount(pdf));
    PdfPage page(pdf, 1, m_dir.Path());
    ASSERT_TRUE(page.Ok());
    // The middle of the page: traces, their pulses and the frame's sides.
    EXPECT_NEAR(250.0, page.WidestInkedSpanMm(0.3, 0.7), 1.0);
}

TEST_F(HostPrintTest, ALongRecordGoesOnAsManyPagesAsItsLengthNeedsAtTheSameSpeed)
{
    // 60 s at 25 mm/s: 1500 mm of trace, in page widths of the printable paper.
    const std::string pdf = Print(Sample("rhythm_90"), "sheet", "rhythm");
    const int pages = PdfPageCount(pdf);
    ASSERT_GT(pages, 1);
    double traced = 0.0;
    double widest = 0.0;
    for (int number = 1; number <= pages; ++number) {
        PdfPage page(pdf, number, m_dir.Path());
        ASSERT_TRUE(page.Ok()) << number;
        const double span = page.WidestInkedSpanMm(0.3, 0.7);
        traced += span;
        widest = std::max(widest, span);
    }
    EXPECT_NEAR(1500.0, traced, pages * 1.0);
    // Each page says which of how many it is.
    std::set<std::pair<int, std::string>> numbered;
    for (const PdfWord& word : PdfWords(pdf)) numbered.insert({word.page, word.text});
    for (int number = 1; number <= pages; ++number)
        EXPECT_EQ(1u, numbered.count({number, std::to_string(number) + "/" + std::to_string(pages)})) << number;
    // Every page but the last is full: one page fewer would not hold it.
    EXPECT_GT(widest * pages, 1500.0);
    EXPECT_LT(widest * (pages - 1), 1500.0);
}

TEST_F(HostPrintTest, TheSheetNamesEveryLeadAsTheViewsDoAndStatesItsSpeedAndGain)
{
    const std::string view = Print(Sample("rest15_90"), "CViewRhythmWave", "view");
    const std::string sheet = Print(Sample("rest15_90"), "sheet", "sheet");
    const std::vector<PdfWord> words = PdfWords(sheet);
    const std::set<std::string> sheetTexts = Texts(words);
    // The multi-lead page names the same fifteen leads, the three beyond the
    // standard twelve by the record's own codes.
    std::set<std::string> viewNames = Texts(PdfWords(view));
    EXPECT_EQ(15u, viewNames.size());
    for (const std::string& name : viewNames) EXPECT_EQ(1u, sheetTexts.count(name)) << name;
    EXPECT_EQ(0u, sheetTexts.count("#12"));
    // Speed and gain as drawn: fifteen rows leave room for a 5 mm pulse only.
    EXPECT_EQ(1u, sheetTexts.count("mm/s"));
    EXPECT_EQ(1u, sheetTexts.count("mm/mV"));
    EXPECT_EQ(1u, sheetTexts.count("25"));
    EXPECT_EQ(1u, sheetTexts.count("5"));
    for (const PdfWord& word : words) EXPECT_GE(word.heightMm, kMinimumTextMm) << word.text;
}

TEST_F(HostPrintTest, EveryViewOfARecordGoesIntoOnePdfAPageAfterTheOther)
{
    const std::string pdf = m_dir.File("all.pdf");
    const HostRun run = Host({"print", Sample("rest12_90"), "--view", "all", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(pdf + "\n", run.out);   // written once
    // The sheet's one page, then the multi-lead page and the average beats,
    // each naming lead I; then the overlapped beats and the calibration
    // column; then the measurement tables of the record's detailed
    // measurement page: the table of every lead's values, naming lead I, the
    // QRS number table and the QRS type table.
    ASSERT_EQ(8, PdfPageCount(pdf));
    std::set<int> namedOn;
    for (const PdfWord& word : PdfWords(pdf))
        if (word.text == "I") namedOn.insert(word.page);
    EXPECT_EQ((std::set<int>{1, 2, 3, 6}), namedOn);
}

TEST_F(HostPrintTest, APdfInAMissingFolderIsWrittenThereAndAnImpossibleOneIsRefusedWithAMessage)
{
    const std::string pdf = m_dir.File("new/folder/sheet.pdf");
    const HostRun made = Host({"print", Sample("rest12_90"), "--view", "sheet", "--pdf", pdf});
    EXPECT_EQ(0, made.status) << made.err;
    EXPECT_EQ(1, PdfPageCount(pdf));

    const std::string blocker = m_dir.Write("blocker", "a file, not a folder");
    const HostRun refused = Host({"print", Sample("rest12_90"), "--view", "sheet", "--pdf", blocker + "/x/sheet.pdf"});
    EXPECT_EQ(1, refused.status);
    EXPECT_NE(std::string::npos, refused.err.find(blocker + "/x")) << refused.err;
}
