// The host prints the extra-lead reports as PDF and reads them back: the
// wave report of a two-set record names its layout and both sets' lines
// under the patient block, the comment report titles its pages, an MFER
// record of the extra kind prints beside its record XML, and an unknown
// report name is refused with the names it takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;

namespace {

class HostReportExtra : public ::testing::Test {
protected:
    void SetUp() override { MakeRecords({"examinations", m_dir.Path()}); }

    std::string Print(const std::string& record, const std::vector<std::string>& options, const std::string& name)
    {
        const std::string pdf = m_dir.File(name + ".pdf");
        std::vector<std::string> args = {"print", record};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back("--pdf");
        args.push_back(pdf);
        const HostRun run = Host(args);
        EXPECT_EQ(0, run.status) << run.err;
        return pdf;
    }
    static std::string Words(const std::string& pdf, int page)
    {
        std::string all;
        for (const PdfWord& word : PdfWords(pdf))
            if (word.page == page) all += word.text + " ";
        return all;
    }

    testsupport::TempDir m_dir;
};

TEST_F(HostReportExtra, TheWaveReportOfATwoSetRecordStatesBothSets)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = Print(m_dir.File("extra6x2_90.ecg"), {"--report", "extra-wave", "--strip"}, "wave");
    ASSERT_EQ(1, PdfPageCount(pdf));
    const std::string words = Words(pdf, 1);
    EXPECT_NE(std::string::npos, words.find("追加誘導心電図")) << words;
    EXPECT_NE(std::string::npos, words.find("波形連続型(3chx2)")) << words;
    EXPECT_EQ(std::string::npos, words.find("負荷後")) << words;   // a resting record: no time after a load
    EXPECT_NE(std::string::npos, words.find("EX-0007")) << words;   // the patient block
    // Both sets' lines: two sensitivities stated in millimetres per millivolt.
    size_t lines = 0;
    for (size_t at = words.find("mm/mV"); at != std::string::npos; at = words.find("mm/mV", at + 1)) ++lines;
    EXPECT_GE(lines, 2u) << words;
}

TEST_F(HostReportExtra, TheCommentReportTitlesEveryPartAndPrintsTheComment)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = Print(m_dir.File("extra6x2_90.ecg"), {"--report", "extra-comment"}, "comment");
    const int pages = PdfPageCount(pdf);
    ASSERT_GE(pages, 1);
    for (int page = 1; page <= pages; ++page) {
        const std::string words = Words(pdf, page);
        EXPECT_NE(std::string::npos, words.find("コメント")) << words;
        if (pages > 1) {
            EXPECT_NE(std::string::npos, words.find("- " + std::to_string(page))) << words;
        }
    }
    EXPECT_NE(std::string::npos, Words(pdf, 1).find("前回と比較して著変ありません。"));
}

TEST_F(HostReportExtra, AnMferRecordOfTheExtraKindPrintsBesideItsRecordXml)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    MakeRecords({"mfer", "--kind", "extra6x3x2", "--out", m_dir.File("m6.mwf"), "--xml-out",
                 m_dir.File("Raw_m620240401093000.xml")});
    const std::string pdf = Print(m_dir.File("m6.mwf"), {"--report", "extra-wave"}, "mfer");
    ASSERT_EQ(1, PdfPageCount(pdf));
    EXPECT_NE(std::string::npos, Words(pdf, 1).find("波形連続型(3chx2)"));
}

TEST_F(HostReportExtra, AnUnknownReportIsRefusedWithTheNamesItTakes)
{
    const HostRun run =
        Host({"print", m_dir.File("extra6_90.ecg"), "--report", "extra", "--pdf", m_dir.File("x.pdf")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("extra-comment")) << run.err;
}

}  // namespace
