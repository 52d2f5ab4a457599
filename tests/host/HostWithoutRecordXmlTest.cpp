// A record opened without its record XML: a picture made of what only the
// record XML brings (the device's RR analysis, the master-step summary and
// comparisons, the exercise's METs-HR line and ST leads) is refused with a
// message rather than drawn as empty axes, zeros or an empty table, a page
// with a form of its own is drawn without those views, and a picture the
// record file itself can give (the exercise's end, from its own series) is
// drawn as it is with the record XML.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

bool Exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

bool IsBlue(uint32_t rgb)
{
    return (rgb & 0xFF) > 150 && ((rgb >> 16) & 0xFF) < 120 && ((rgb >> 8) & 0xFF) < 120;
}

// Traces, texts and frames: black ink and the blue of the trends and values.
int Ink(const std::string& png)
{
    return testsupport::PngImage(png).Count(
        [](uint32_t rgb) { return testsupport::PngImage::IsDark(rgb) || IsBlue(rgb); });
}

// The named run that draws what "all" wrote as FILE: "CViewExerTrend-style7.png"
// is the trend in style 7, "CWndRRComment-6.png" the page in style 6.
std::vector<std::string> NamedRun(const std::string& command, const std::string& file)
{
    const std::string stem = file.substr(0, file.size() - 4);
    const size_t dash = stem.find('-');
    std::vector<std::string> args = {"--" + command, stem.substr(0, dash)};
    if (dash == std::string::npos) return args;
    const std::string layout = stem.substr(dash + 1);
    const size_t digits = layout.find_first_of("0123456789");
    const std::string option = command == "dialog" ? "--template" : layout.rfind("mode", 0) == 0 ? "--mode" : "--style";
    args.insert(args.end(), {option, layout.substr(digits)});
    return args;
}
class HostWithoutRecordXmlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeRecords({"samples", m_dir.File("samples")});
        MakeRecords({"examinations", m_dir.File("ex")});
        // The same record files alone in a folder of their own.
        for (const std::string record : {"samples/rest12_90.ecg", "samples/rhythm_90.ecg", "samples/rr_90.ecg",
                                         "ex/extra6_90.ecg", "ex/mstep243.ecg", "ex/exercise_90.ecg"}) {
            const std::string alone = m_dir.File("alone/" + record.substr(record.find('/') + 1));
            const std::string copy = "mkdir -p " + Quoted(m_dir.File("alone")) + " && cp " + Quoted(m_dir.File(record)) +
                                     " " + Quoted(alone);
            ASSERT_EQ(0, std::system(copy.c_str()));
        }
    }

    std::string With(const std::string& record) const { return m_dir.File(record); }
    // What "--view all", "--pane all" (without the patient strip, whose
    // texts are the record XML's or the file's alike) or "--dialog all"
    // writes of `record` into `dir`: the file names.
    std::set<std::string> AllOf(const std::string& command, const std::string& record, const std::string& dir)
    {
        std::vector<std::string> args = {command, record, "--" + command, "all", "--out", dir};
        if (command != "dialog") args.insert(args.end(), {"--size", "480x270"});
        if (command == "pane") args.push_back("--no-patient");
        const HostRun run = Host(args);
        EXPECT_EQ(0, run.status) << run.err;
        const std::vector<std::string> files = testsupport::FolderEntries(dir);
        return std::set<std::string>(files.begin(), files.end());
    }
    std::string Without(const std::string& name) const { return m_dir.File("alone/" + name); }

    TempDir m_dir;
    TempDir m_out;
};

}  // namespace

TEST_F(HostWithoutRecordXmlTest, ThePicturesOfTheRecordXmlsAnalysisAreRefusedWithoutItAndDrawnWithIt)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> records = {
        {"samples/rr_90.ecg", {"CViewRRHistogram", "CViewRRTrend", "CViewRRIntervalList", "CViewRRResult"}},
        {"ex/mstep243.ecg", {"CViewHRTrend", "CViewSTTrend", "CViewSummaryProtocol"}},
    };
    for (const auto& [record, views] : records) {
        const std::string name = record.substr(record.find('/') + 1);
        for (const std::string& view : views) {
            SCOPED_TRACE(view + " on " + name);
            const std::string drawn = m_out.File(view + "-with.png"), refused = m_out.File(view + "-without.png");
            const HostRun with = Host({"view", With(record), "--view", view, "--size", "480x270", "--png", drawn});
            EXPECT_EQ(0, with.status) << with.err;
            EXPECT_TRUE(Exists(drawn));
            const HostRun without = Host({"view", Without(name), "--view", view, "--size", "480x270", "--png", refused});
            EXPECT_EQ(1, without.status);
            EXPECT_TRUE(Contains(without.err, name + ": " + view + " needs ")) << without.err;
            EXPECT_TRUE(Contains(without.err, "comes with the record XML only")) << without.err;
            EXPECT_FALSE(Exists(refused));
        }
    }
    // The RR reports print the same analysis.
    for (const char* report : {"rr-result", "rr-list"}) {
        SCOPED_TRACE(report);
        const std::string pdf = m_out.File(std::string(report) + ".pdf");
        const HostRun run = Host({"print", Without("rr_90.ecg"), "--report", report, "--pdf", pdf});
        EXPECT_EQ(1, run.status);
        EXPECT_TRUE(Contains(run.err, "this is an RR record without RR intervals") ||
                    Contains(run.err, "this is an RR record without an RR analysis") ||
                    // The interval list's own check names the record XML it reads them from.
                    Contains(run.err, "the record's RR intervals are kept in its record XML"))
            << run.err;
        EXPECT_FALSE(Exists(pdf));
    }
    // "--view all" leaves them out and draws the rest of the record.
    const std::string dir = m_out.File("all");
    const HostRun all = Host({"view", Without("rr_90.ecg"), "--view", "all", "--size", "480x270", "--out", dir});
    EXPECT_EQ(0, all.status) << all.err;
    const std::vector<std::string> written = testsupport::FolderEntries(dir);
    EXPECT_FALSE(written.empty());
    for (const std::string& file : written) EXPECT_EQ(std::string::npos, file.find("CViewRR")) << file;
}

TEST_F(HostWithoutRecordXmlTest, TheExerciseTrendStartsTheRecoveryWhereTheRecordsExerciseEnds)
{
    for (const char* style : {"1", "5"}) {
        SCOPED_TRACE(style);
        const std::string with = m_out.File(std::string("with-") + style + ".png");
        const std::string without = m_out.File(std::string("without-") + style + ".png");
        ASSERT_EQ(0, Host({"view", With("ex/exercise_90.ecg"), "--view", "CViewExerTrend", "--style", style, "--size",
                           "640x360", "--png", with})
                         .status);
        ASSERT_EQ(0, Host({"view", Without("exercise_90.ecg"), "--view", "CViewExerTrend", "--style", style, "--size",
                           "640x360", "--png", without})
                         .status);
        const testsupport::PngImage a(with), b(without);
        ASSERT_TRUE(a.Ok() && b.Ok());
        int differing = 0;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x) differing += a.Pixel(x, y) != b.Pixel(x, y) ? 1 : 0;
        EXPECT_EQ(0, differing) << "the trend without the record XML is drawn otherwise";
    }
}

TEST_F(HostWithoutRecordXmlTest, EveryPictureOfARecordIsDrawnFromTheRecordWithoutItsRecordXmlOrRefusedNamingIt)
{
    const std::vector<std::string> records = {"samples/rest12_90.ecg", "samples/rhythm_90.ecg", "samples/rr_90.ecg",
                                              "ex/extra6_90.ecg",      "ex/mstep243.ecg",       "ex/exercise_90.ecg"};
    std::set<std::string> refused;   // "record: picture"
    for (const std::string& record : records) {
        const std::string name = record.substr(record.find('/') + 1);
        for (const std::string command : {"view", "pane", "dialog"}) {
            const std::string dir = m_out.File(name + "-" + command);
            const std::set<std::string> with = AllOf(command, With(record), dir + "-with");
            const std::set<std::string> without = AllOf(command, Without(name), dir + "-without");
            for (const std::string& file : with) {
                SCOPED_TRACE(command + " " + file + " of " + name);
                if (!without.count(file)) {
                    // Named, it is refused for the record XML it lacks, on screen and on paper.
                    refused.insert(name + ": " + file.substr(0, file.size() - 4));
                    const std::string png = m_out.File("refused.png"), pdf = m_out.File("refused.pdf");
                    std::vector<std::string> args = {command, Without(name)};
                    const std::vector<std::string> named = NamedRun(command, file);
                    args.insert(args.end(), named.begin(), named.end());
                    std::vector<std::string> print = args;
                    args.insert(args.end(), {"--png", png});
                    const HostRun run = Host(args);
                    EXPECT_EQ(1, run.status);
                    EXPECT_TRUE(Contains(run.err, Without(name) + ": ") && Contains(run.err, "record XML")) << run.err;
                    EXPECT_FALSE(Exists(png));
                    if (command != "view") continue;
                    print[0] = "print";
                    print.insert(print.end(), {"--pdf", pdf});
                    EXPECT_EQ(1, Host(print).status);
                    EXPECT_FALSE(Exists(pdf));
                    continue;
                }
                // The forms and the comment and interpretation pages show what
                // the person writes there, which comes with the record XML:
                // drawn on any record of their kind, to be filled in. The
                // master-step summary holds the master-step interpretation form.
                if (file.rfind("CForm", 0) == 0 || Contains(file, "Comment") || Contains(file, "Interpretation") ||
                    Contains(file, "FinalSummary"))
                    continue;
                // What differs are the record XML's texts (lead names, values):
                // the record's own traces and beats are drawn as with it.
                EXPECT_GE(2 * Ink(dir + "-without/" + file), Ink(dir + "-with/" + file))
                    << "drawn without the record's data";
            }
            for (const std::string& file : without) EXPECT_TRUE(with.count(file)) << file << " of " << name;
        }
    }
    // The reports, each of every record with and without its record XML in one run.
    for (const std::string report : {"rest-wave", "rest-ame", "rest-interpre", "rhythm-wave", "rhythm-comment",
                                     "rr-wave", "rr-result", "rr-list", "extra-wave", "extra-comment"}) {
        const std::string pdf = m_out.File(report + ".pdf");
        std::vector<std::string> args = {"print"};
        for (const std::string& record : records)
            args.insert(args.end(), {With(record), Without(record.substr(record.find('/') + 1))});
        args.insert(args.end(), {"--report", report, "--pdf", pdf});
        const HostRun run = Host(args);
        for (size_t i = 0; i < records.size(); ++i) {
            const std::string name = records[i].substr(records[i].find('/') + 1);
            // OUT.pdf for the first file given, OUT-N.pdf for the N-th.
            const std::string stem = pdf.substr(0, pdf.size() - 4);
            const std::string with = stem + (i ? "-" + std::to_string(2 * i + 1) : "") + ".pdf";
            const std::string without = stem + "-" + std::to_string(2 * i + 2) + ".pdf";
            if (!Exists(with) || Exists(without)) continue;
            refused.insert(name + ": " + report);
            EXPECT_TRUE(Contains(run.err, "record XML")) << run.err;
        }
    }
    // The pictures refused are those made of the record XML's analysis,
    // comparisons and results, and the pages made of nothing else. The
    // master-step summary, which was refused whole, has the patient and the
    // master-step interpretation forms (the only page with the latter): it is
    // drawn without its views (below).
    EXPECT_EQ((std::set<std::string>{
                  "rr_90.ecg: CViewRRHistogram", "rr_90.ecg: CViewRRIntervalList", "rr_90.ecg: CViewRRResult",
                  "rr_90.ecg: CViewRRTrend", "rr_90.ecg: CWndRRResult", "rr_90.ecg: rr-result", "rr_90.ecg: rr-list",
                  "mstep243.ecg: CViewFinalCom12Leads",
                  "mstep243.ecg: CViewFinalCom1Lead", "mstep243.ecg: CViewFinalEnlargeWave",
                  "mstep243.ecg: CViewHRTrend",
                  "mstep243.ecg: CViewSTTrend", "mstep243.ecg: CViewSummaryProtocol", "mstep243.ecg: CWndFinalSTTrend",
                  "mstep243.ecg: CWndFinalWaveCom",
                  "mstep243.ecg: CDlgFinalLoadEnlarge", "mstep243.ecg: CDlgFinalRestEnlarge",
                  "exercise_90.ecg: CViewExerSummaryAverage", "exercise_90.ecg: CViewExerTrend-style7",
                  "exercise_90.ecg: CViewResultTable", "exercise_90.ecg: CWndExerResult"}),
              refused);
    // The comment page is drawn with its form, without the empty interval list on its right.
    const std::string comment = m_out.File("comment.png");
    const HostRun page = Host({"pane", Without("rr_90.ecg"), "--pane", "CWndRRComment", "--png", comment});
    EXPECT_EQ(0, page.status) << page.err;
    EXPECT_TRUE(Contains(page.err, "note: CWndRRComment is shown without CViewRRIntervalList")) << page.err;
    const testsupport::PngImage shown(comment);
    EXPECT_EQ(0, shown.CountIn(shown.Width() / 2, shown.Height() / 10, shown.Width(), shown.Height() * 9 / 10,
                               [](uint32_t rgb) { return testsupport::PngImage::IsDark(rgb); }));
    // The master-step summary: its interpretation form on the left, each of
    // its views of the summary and comparisons named in a note and left out,
    // their places as white as the page.
    const std::string summary = m_out.File("summary.png");
    const HostRun final = Host({"pane", Without("mstep243.ecg"), "--pane", "CWndFinalSummary", "--size", "1024x600",
                                "--png", summary});
    EXPECT_EQ(0, final.status) << final.err;
    for (const char* view : {"CViewHRTrend", "CViewSTTrend", "CViewSummaryProtocol", "CViewFinalCom1Lead"})
        EXPECT_TRUE(Contains(final.err, "note: CWndFinalSummary is shown without " + std::string(view) + ", which"))
            << view << ": " << final.err;
    const testsupport::PngImage drawn(summary);
    ASSERT_TRUE(drawn.Ok());
    const auto ink = [](uint32_t rgb) { return testsupport::PngImage::IsDark(rgb) || IsBlue(rgb); };
    // The form's captions (y 55 to 330 of the 600), the trends' place beside it,
    // and the rows of tiles below the caption strip past the calibration column.
    EXPECT_GT(drawn.CountIn(0, 60, 480, 320, ink), 500);
    EXPECT_EQ(0, drawn.CountIn(525, 60, 1024, 320, ink));
    EXPECT_EQ(0, drawn.CountIn(60, 360, 1024, 600, ink));
}

TEST_F(HostWithoutRecordXmlTest, AnMferFileWithoutAverageBeatsHasNoInterpretationPageAsItHasNoReport)
{
    std::vector<std::string> files = {m_out.File("extra4.mwf")};
    MakeRecords({"mfer", "--kind", "extra4", "--little-endian", "--out", files[0]});
    // MIT-BIH record 100 as an MFER file of two leads, when the shared data is there.
    const std::string mitdb = testsupport::SharedData("physionet/mitdb/100.hea");
    if (!mitdb.empty()) {
        files.push_back(m_out.File("mitdb-100.mwf"));
        MakeRecords({"wfdb", "--mfer", "--record", mitdb.substr(0, mitdb.size() - 4), "--out", files[1]});
    }
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string png = m_out.File("page.png"), pdf = m_out.File("page.pdf");
        const std::vector<std::vector<std::string>> runs = {
            {"pane", file, "--pane", "CWndRestInterpretation", "--png", png},
            {"view", file, "--view", "CViewAverageWave", "--png", png},
            {"print", file, "--report", "rest-interpre", "--pdf", pdf}};
        for (const std::vector<std::string>& run : runs) {
            const HostRun refused = Host(run);
            EXPECT_EQ(1, refused.status) << run[3];
            EXPECT_TRUE(Contains(refused.err, "average beats")) << refused.err;
            EXPECT_FALSE(Exists(png) || Exists(pdf));
        }
    }
}
