// The host's reports read back as a person checks a printed report: the
// PDF's pages and paper size, its title, patient and settings lines, the
// pulse and the grid measured at 300 dpi; the raw jobs parsed from the spool.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tests/host/HostPdf.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

class HostReportTest : public HostSamplesTest {
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

    static std::string Words(const std::string& pdf)
    {
        std::string all;
        for (const PdfWord& word : PdfWords(pdf)) all += word.text + " ";
        return all;
    }

    TempDir m_dir;
};

}  // namespace

TEST_F(HostReportTest, ARestingWaveReportIsOneA4LandscapePageWithItsFrameAndSettings)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = PrintPdf("rest12_90", {"--report", "rest-wave"}, "rest");
    EXPECT_EQ(PdfPageCount(pdf), 1);
    const std::string info = CommandOutput("pdfinfo " + Quoted(pdf));
    EXPECT_NE(info.find("841.89 x 595.276"), std::string::npos) << info;
    const std::string words = Words(pdf);
    for (const char* text : {"******", "Report", "安静時心電図", "MV-1001", "P.", "1/1", "mm/mV", "mm/s",
                             "波形连续型(3chx4)", "施設名"})
        EXPECT_NE(words.find(text), std::string::npos) << text << " in " << words;
}

TEST_F(HostReportTest, ThePrintedPulseIsTenMillimetresOnAFiveMillimetreGrid)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = PrintPdf("rest12_90", {"--report", "rest-wave"}, "measure");
    PdfPage page(pdf, 1, m_dir.Path());
    ASSERT_TRUE(page.Ok());
    // The printable area begins 10 mm in; the pulses stand in its first 8 mm.
    const int left = static_cast<int>(11 * kPixelsPerMm), right = static_cast<int>(18 * kPixelsPerMm);
    EXPECT_NEAR(page.LongestDarkColumnRun(left, right), 118, 2);
    EXPECT_NEAR(page.CommonGridPitch(page.Height() * 2 / 5, page.Height() * 3 / 5), 59, 1);
}

TEST_F(HostReportTest, ARhythmReportNumbersItsPartsAndCountsItsPages)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = PrintPdf("rhythm_90", {"--report", "rhythm-wave"}, "rhythm");
    const int pages = PdfPageCount(pdf);
    ASSERT_GE(pages, 1);
    const std::string words = Words(pdf);
    const std::string last = "P. " + std::to_string(pages) + "/" + std::to_string(pages);
    EXPECT_NE(words.find("リズム心電図"), std::string::npos);
    // The host's own settings line over the rhythm waves.
    EXPECT_NE(words.find("mm/mV"), std::string::npos);
    EXPECT_NE(words.find(last), std::string::npos) << words;
    if (pages > 1) {
        EXPECT_NE(words.find("- " + std::to_string(pages)), std::string::npos) << words;
    }
}

TEST_F(HostReportTest, TheUsStylePageCarriesTheInterpretationOverTheWaves)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string words = Words(PrintPdf("rest15_90", {"--report", "rest-ame"}, "ame"));
    for (const char* text : {"15誘導+解析結果", "RV5+SV1", "J3", "境界域", "(3chx5)"})
        EXPECT_NE(words.find(text), std::string::npos) << text << " in " << words;
}

TEST_F(HostReportTest, TheAnnotatedTwinIsPageOneOfOne)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = PrintPdf("rest12_90", {"--report", "rest-wave", "--anno"}, "anno");
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_NE(Words(pdf).find("1/1"), std::string::npos);
    // It carries the annotation the record stores on the page it prints,
    // which the plain page leaves out.
    EXPECT_NE(Words(pdf).find("ST低下に注意"), std::string::npos) << Words(pdf);
    const std::string plain = PrintPdf("rest12_90", {"--report", "rest-wave"}, "plain");
    EXPECT_EQ(Words(plain).find("ST低下に注意"), std::string::npos);
}

TEST_F(HostReportTest, RawJobsLandInTheSpoolAsTheirPrinterLanguages)
{
    const std::string spool = m_dir.File("spool");
    ::setenv("MORVELANCE_SPOOL", spool.c_str(), 1);
    const HostRun pcl = Host({"print", Sample("rest12_90"), "--report", "rest-wave", "--pcl"});
    const HostRun lips = Host({"print", Sample("rest12_90"), "--report", "rest-wave", "--lips"});
    // A printer of the registry gets the drawn pages through GDI.
    const HostRun gdi = Host({"print", Sample("rest12_90"), "--report", "rest-wave", "--printer", "Morvelance LIPS"});
    ::unsetenv("MORVELANCE_SPOOL");
    ASSERT_EQ(gdi.status, 0) << gdi.err;
    EXPECT_EQ(testsupport::ReadFileBytes(gdi.out.substr(0, gdi.out.size() - 1)).rfind("%PDF", 0), 0u);
    ASSERT_EQ(pcl.status, 0) << pcl.err;
    ASSERT_EQ(lips.status, 0) << lips.err;
    const std::string hpgl = testsupport::ReadFileBytes(pcl.out.substr(0, pcl.out.size() - 1));
    // A PJL header, PCL 5 around HP-GL/2 vectors, one page, and no text.
    EXPECT_EQ(hpgl.rfind("\x1b%-12345X@PJL", 0), 0u);
    EXPECT_NE(hpgl.find("\x1b%1BIN"), std::string::npos);
    EXPECT_NE(hpgl.find("PD"), std::string::npos);
    EXPECT_EQ(std::count(hpgl.begin(), hpgl.end(), '\x0c'), 1);
    EXPECT_EQ(hpgl.find("Report"), std::string::npos);
    // LIPS prints the patient's name in Shift-JIS.
    const std::string lipsBytes = testsupport::ReadFileBytes(lips.out.substr(0, lips.out.size() - 1));
    EXPECT_NE(lipsBytes.find("****** Report ******"), std::string::npos);
    EXPECT_NE(lipsBytes.find("\x8eR\x93\x63"), std::string::npos);   // 山田
}

TEST_F(HostReportTest, AnUnknownReportOrAMissingOutputIsRefused)
{
    const HostRun unknown = Host({"print", Sample("rest12_90"), "--report", "nothing", "--pcl"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("no report 'nothing'"), std::string::npos);
    const HostRun bare = Host({"print", Sample("rest12_90"), "--report", "rest-wave"});
    EXPECT_EQ(bare.status, 2);
}

TEST_F(HostReportTest, TheStripUnderTheWavesRunsTenSecondsOver250Millimetres)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = PrintPdf("rest12_90", {"--report", "rest-wave", "--strip"}, "strip");
    PdfPage page(pdf, 1, m_dir.Path());
    ASSERT_TRUE(page.Ok());
    // The strip stands in the grid's lower quarter, under the waves; frame
    // lines run through the whole band and are not the trace.
    const int top = page.Height() * 74 / 100, bottom = page.Height() * 85 / 100;
    int last = -1;
    for (int x = 0; x < page.Width(); ++x) {
        int dark = 0;
        for (int y = top; y < bottom; ++y) dark += page.Dark(x, y);
        if (dark > 0 && dark < (bottom - top) * 8 / 10) last = x;
    }
    // The trace begins after the 10 mm calibration column of a grid 10 mm in.
    EXPECT_NEAR((last - 20 * kPixelsPerMm) / kPixelsPerMm, 250, 1);
    EXPECT_NEAR(page.CommonGridPitch(top, bottom), 59, 1);
}

TEST_F(HostReportTest, TheInterpretationPageSetsTheAverageBeatsAt25MillimetresPerSecond)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    for (const bool anno : {false, true}) {
        std::vector<std::string> options = {"--report", "rest-interpre"};
        if (anno) options.push_back("--anno");
        const std::string pdf = PrintPdf("rest12_90", options, anno ? "interpre-anno" : "interpre");
        EXPECT_EQ(PdfPageCount(pdf), 1);
        const std::string words = Words(pdf);
        for (const char* text : {"解析結果", "P.", "1/1", "25.0", "mm/s", "MV-1001"})
            EXPECT_NE(words.find(text), std::string::npos) << text << " in " << words;
    }
}

namespace {

// The lines of the PDF's text laid out as on paper.
std::vector<std::string> LaidOutLines(const std::string& pdf)
{
    std::istringstream text(CommandOutput("pdftotext -layout " + Quoted(pdf) + " - 2>/dev/null"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

// Whether a line reads `title`, then further right `content`.
bool HasRow(const std::vector<std::string>& lines, const std::string& title, const std::string& content)
{
    for (const std::string& line : lines) {
        const size_t at = line.find(title);
        if (at != std::string::npos && line.find(content, at + title.size()) != std::string::npos) return true;
    }
    return false;
}

const char* const kAdditions[][2] = {{"総合判定", "問題なし"}, {"既往歴", "要経過観察"}, {"服薬状況", "要精密検査"}};

}  // namespace

// The additions a record carries print on its interpretation pages as its
// form shows them, each title beside its content; a record whose item says
// it carries none prints none, whatever its record XML holds.
TEST_F(HostReportTest, TheInterpretationPagesPrintTheAdditionsTheRecordCarries)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    // The interpretation page is asked of a resting record: it prints the
    // records its pane shows, and an RR record's was measurements of "****"
    // over an empty strip (it is refused now); the RR result page of an RR record.
    const std::string rr = m_dir.File("rr.ecg");
    MakeRecords({"synth", "--kind", "rr", "--out", rr});
    MakeRecords({"xml", "--for", rr, "--minnesota", "12", "--ivrel", "3", "--additions", "3"});
    const std::string added = m_dir.File("added.ecg");
    MakeRecords({"synth", "--kind", "rest12", "--out", added});
    MakeRecords({"xml", "--for", added, "--minnesota", "12", "--ivrel", "3", "--additions", "3"});
    const std::vector<std::pair<std::string, const char*>> pages = {{added, "rest-interpre"}, {rr, "rr-result"}};
    for (const auto& [record, report] : pages) {
        SCOPED_TRACE(report);
        const std::string pdf = HostPdf({"print", record, "--report", report}, m_dir.File(std::string(report) + ".pdf"));
        const std::vector<std::string> lines = LaidOutLines(pdf);
        for (const auto& addition : kAdditions) EXPECT_TRUE(HasRow(lines, addition[0], addition[1])) << addition[0];
    }

    // A resting record of the maker has no additions flag, and its record XML
    // written without asking for additions (which still holds the same three)
    // leaves it so: its additions stay unprinted.
    const std::string rest = m_dir.File("rest.ecg");
    MakeRecords({"synth", "--kind", "rest12", "--out", rest});
    MakeRecords({"xml", "--for", rest, "--minnesota", "12", "--ivrel", "3"});
    const std::string pdf = HostPdf({"print", rest, "--report", "rest-interpre"}, m_dir.File("rest.pdf"));
    const std::vector<std::string> lines = LaidOutLines(pdf);
    ASSERT_FALSE(lines.empty());
    for (const auto& addition : kAdditions) EXPECT_FALSE(HasRow(lines, addition[0], addition[1])) << addition[0];
}

// A resting record given additions by the record maker, as a user types it in
// the record's folder, prints them: the maker marks the record as carrying
// them and says so.
TEST_F(HostReportTest, ARestingRecordTheMakerGivesAdditionsPrintsThem)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string folder = m_dir.Path();
    const HostRun synth = RunProgram("morvelance-mkrecord", {"synth", "--kind", "rest12", "--out", "m12.ecg"}, folder);
    ASSERT_EQ(0, synth.status) << synth.err;
    const HostRun xml = RunProgram(
        "morvelance-mkrecord", {"xml", "--for", "m12.ecg", "--minnesota", "12", "--ivrel", "3", "--additions", "3"},
        folder);
    ASSERT_EQ(0, xml.status) << xml.err;
    EXPECT_NE(xml.out.find("marked m12.ecg as carrying additions"), std::string::npos) << xml.out;

    const HostRun print = Host({"print", "m12.ecg", "--report", "rest-interpre", "--pdf", "m12.pdf"}, folder);
    ASSERT_EQ(0, print.status) << print.err;
    const std::vector<std::string> lines = LaidOutLines(m_dir.File("m12.pdf"));
    for (const auto& addition : kAdditions) EXPECT_TRUE(HasRow(lines, addition[0], addition[1])) << addition[0];
}
