// The host's rhythm comment and RR reports read back from their PDFs as a
// person checks them: page counts, titles and page labels, the waves drawn
// on the comment page's right half, its confirmation line placed by the
// record's lead count; records of the wrong kind refused with
// a message; the interpretation page of a rhythm record and the annotated
// strip of a resting one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostSamples.h"
#include "tools/RhythmRecord.h"

using namespace hosttest;

namespace {

class HostReportRhythmRRTest : public HostSamplesTest {
protected:
    std::string Sample(const std::string& name) const { return SamplePath(name + ".ecg"); }

    std::string PrintPdf(const std::string& record, const std::vector<std::string>& options, const std::string& name)
    {
        const std::string pdf = m_dir.File(name + ".pdf");
        std::vector<std::string> args = {"print", Sample(record)};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back("--pdf");
        args.push_back(pdf);
        const HostRun run = Host(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, pdf + "\n");
        return pdf;
    }
    static std::string Words(const std::string& pdf, int page = 0)
    {
        std::string all;
        for (const PdfWord& word : PdfWords(pdf))
            if (page == 0 || word.page == page) all += word.text + " ";
        return all;
    }
    // The tops, in points, of the words of page 1 that read `text`.
    static std::vector<double> WordTops(const std::string& pdf, const std::string& text)
    {
        const std::string html = CommandOutput("pdftotext -f 1 -l 1 -bbox " + Quoted(pdf) + " - 2>/dev/null");
        const std::regex word("<word xMin=\"[-0-9.]+\" yMin=\"([-0-9.]+)\"[^>]*>([^<]*)</word>");
        std::vector<double> tops;
        for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it)
            if ((*it)[2].str() == text) tops.push_back(std::stod((*it)[1]));
        return tops;
    }
    static int DarkIn(const PdfPage& page, double left, double top, double right, double bottom)
    {
        int dark = 0;
        for (int y = static_cast<int>(page.Height() * top); y < static_cast<int>(page.Height() * bottom); ++y)
            for (int x = static_cast<int>(page.Width() * left); x < static_cast<int>(page.Width() * right); ++x)
                dark += page.Dark(x, y);
        return dark;
    }
};

TEST_F(HostReportRhythmRRTest, TheRhythmCommentReportNumbersItsPagesAndDrawsTheWavesOnTheRight)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = PrintPdf("rhythm_90", {"--report", "rhythm-comment"}, "comment");
    const int pages = PdfPageCount(pdf);
    ASSERT_GE(pages, 1);
    const std::string first = Words(pdf, 1);
    for (const char* text : {"******", "コメント", "mm/mV", "mm/s"})
        EXPECT_NE(first.find(text), std::string::npos) << text << " in " << first;
    const std::string label = "P. " + std::to_string(pages) + "/" + std::to_string(pages);
    EXPECT_NE(Words(pdf, pages).find(label), std::string::npos) << Words(pdf, pages);
    const PdfPage page(pdf, 1, m_dir.Path());
    ASSERT_TRUE(page.Ok());
    // Traces in the 135 mm grid on the right half, the interpretation's texts
    // on the left: ink on both sides of the middle.
    EXPECT_GT(DarkIn(page, 0.55, 0.3, 0.95, 0.9), 500);
    EXPECT_GT(DarkIn(page, 0.05, 0.15, 0.45, 0.9), 0);
}

// The confirmation line of a 12- or 15-lead rhythm record stands 80/1000 of
// the printable height (of the 190 mm between the A4 page's margins, 15.2 mm)
// above where a three-lead record's does.
TEST_F(HostReportRhythmRRTest, TheCommentPageRaisesTheConfirmationLineOfTwelveAndFifteenLeads)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    std::map<int, std::vector<double>> tops;
    for (int leads : {3, 12, 15}) {
        morvelance::RhythmRecordShape shape;
        shape.leads = leads;
        shape.seconds = 10;
        const std::string record = m_dir.File("rhythm" + std::to_string(leads) + ".ecg");
        morvelance::MakeRhythmRecord(shape, nullptr).WriteFile(record, zarn::Flavour::Newer90);
        MakeRecords({"xml", "--for", record, "--confirmation", "none"});
        const std::string pdf = m_dir.File("comment" + std::to_string(leads) + ".pdf");
        const HostRun run = Host({"print", record, "--report", "rhythm-comment", "--pdf", pdf});
        ASSERT_EQ(run.status, 0) << run.err;
        tops[leads] = WordTops(pdf, "医師による確認が必要です");
        ASSERT_EQ(tops[leads].size(), 1u) << leads << " leads";
    }
    EXPECT_NEAR(tops[15][0], tops[12][0], 0.1);
    EXPECT_NEAR(tops[3][0] - tops[15][0], 0.08 * 190 * kPointsPerMm, 0.5);
}

TEST_F(HostReportRhythmRRTest, TheRRReportsPrintTheResultPageAndTheIntervalList)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string result = PrintPdf("rr_90", {"--report", "rr-result"}, "result");
    EXPECT_EQ(PdfPageCount(result), 1);
    EXPECT_NE(Words(result).find("結果"), std::string::npos) << Words(result);
    EXPECT_NE(Words(result).find("1/1"), std::string::npos);

    const std::string list = PrintPdf("rr_90", {"--report", "rr-list"}, "list");
    const int pages = PdfPageCount(list);
    ASSERT_GE(pages, 1);
    const std::string words = Words(list, 1);
    for (const char* text : {"間隔ﾘｽ?(ms)", "No.", "1/" , "1"})
        EXPECT_NE(words.find(text), std::string::npos) << text << " in " << words;
    EXPECT_NE(Words(list, pages).find("- " + std::to_string(pages)), std::string::npos);

    const std::string wave = PrintPdf("rr_90", {"--report", "rr-wave"}, "wave");
    EXPECT_GE(PdfPageCount(wave), 1);
    EXPECT_NE(Words(wave).find("RR心電図"), std::string::npos) << Words(wave);
}

TEST_F(HostReportRhythmRRTest, ARecordOfTheWrongKindOrAnAnnotatedFormIsRefusedWithAMessage)
{
    const HostRun rest = Host({"print", Sample("rest12_90"), "--report", "rhythm-comment", "--pcl"});
    EXPECT_NE(rest.status, 0);
    EXPECT_NE(rest.err.find("rhythm and MFER records only"), std::string::npos) << rest.err;
    const HostRun rhythm = Host({"print", Sample("rhythm_90"), "--report", "rr-list", "--pcl"});
    EXPECT_NE(rhythm.status, 0);
    EXPECT_NE(rhythm.err.find("RR records only"), std::string::npos) << rhythm.err;
    const HostRun anno = Host({"print", Sample("rr_90"), "--report", "rr-result", "--anno", "--pcl"});
    EXPECT_NE(anno.status, 0);
    EXPECT_NE(anno.err.find("no annotated form"), std::string::npos) << anno.err;
    EXPECT_EQ(anno.err.find("印刷エラー"), std::string::npos);
}

// The RR intervals come only with the record XML: a record whose XML is
// missing or lists none is told why it has no list, not a bare print error.
TEST_F(HostReportRhythmRRTest, AnRRRecordWithoutIntervalsIsToldWhereTheListComesFrom)
{
    const std::string xml = SamplePath("rr_9020240401093000.xml");
    const std::string stored = testsupport::ReadFileBytes(xml);
    const std::string none = std::regex_replace(stored, std::regex("<Rr_list count=\"[0-9]+\""), "<Rr_list count=\"0\"");
    ASSERT_NE(none, stored);
    std::ofstream(xml, std::ios::binary | std::ios::trunc) << none;
    const std::string pdf = m_dir.File("list.pdf");
    HostRun run = Host({"print", Sample("rr_90"), "--report", "rr-list", "--pdf", pdf});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no intervals to print: the record's RR intervals are kept in its record XML, and " + xml +
                           " lists none"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("印刷エラー"), std::string::npos) << run.err;
    ASSERT_EQ(0, std::remove(xml.c_str()));
    run = Host({"print", Sample("rr_90"), "--report", "rr-list", "--pdf", pdf});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("and the record has none ("), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" is not there)"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("印刷エラー"), std::string::npos) << run.err;
}

TEST_F(HostReportRhythmRRTest, TheInterpretationPageOfARhythmRecordPrintsWhatItHas)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = PrintPdf("rhythm_90", {"--report", "rest-interpre"}, "rhythm-interpre");
    EXPECT_EQ(PdfPageCount(pdf), 1);
    const std::string words = Words(pdf);
    for (const char* text : {"解析結果", "1/1", "MV-1003"})
        EXPECT_NE(words.find(text), std::string::npos) << text << " in " << words;
}

TEST_F(HostReportRhythmRRTest, TheAnnotatedPageDrawsTheStripsTraceUnderTheWaves)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string plain = PrintPdf("rest12_90", {"--report", "rest-wave", "--anno"}, "anno");
    const std::string strip = PrintPdf("rest12_90", {"--report", "rest-wave", "--anno", "--strip"}, "anno-strip");
    const PdfPage without(plain, 1, m_dir.Path());
    const PdfPage with(strip, 1, m_dir.Path());
    ASSERT_TRUE(without.Ok());
    ASSERT_TRUE(with.Ok());
    // The strip's band under the waves, above the grid's bottom frame line:
    // a trace runs across it only when the strip is printed.
    EXPECT_LT(without.WidestInkedSpanMm(0.76, 0.86), 100.0);
    EXPECT_GT(with.WidestInkedSpanMm(0.76, 0.86), 200.0);
}

}  // namespace
