// "--view all" of the host's view and print commands on records of each
// kind: every view that draws the record, each as it draws when named, the
// views of the record's own pages among them, and none that does not apply
// to the record (the sheet of a record whose document shows no lead).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"

using namespace hosttest;

namespace {

using Png = testsupport::PngImage;

const char kSize[] = "480x270";

// A record, every view "--view all" writes of it (its forms aside) and views
// it leaves out.
struct AllOfRecord {
    const char* record;
    std::vector<std::string> shown;
    std::vector<std::string> left;
};

class HostViewAllTest : public HostSamplesTest {
protected:
    void SetUp() override
    {
        HostSamplesTest::SetUp();
        MakeRecords({"examinations", m_dir.File("examinations")});
    }

    std::string Record(const std::string& name) const
    {
        return name.rfind("mstep", 0) == 0 ? m_dir.File("examinations/" + name) : SamplePath(name);
    }

    static bool Exists(const std::string& path)
    {
        struct stat st;
        return stat(path.c_str(), &st) == 0;
    }

    // Whether two pictures hold the same pixels.
    static bool SamePicture(const std::string& a, const std::string& b)
    {
        const Png first(a), second(b);
        if (!first.Ok() || !second.Ok() || first.Width() != second.Width() || first.Height() != second.Height())
            return false;
        for (int y = 0; y < first.Height(); ++y)
            for (int x = 0; x < first.Width(); ++x)
                if (first.Pixel(x, y) != second.Pixel(x, y)) return false;
        return true;
    }

    // Whether a picture holds more than one colour: not bare paper.
    static bool Drawn(const std::string& png)
    {
        const Png image(png);
        if (!image.Ok()) return false;
        const uint32_t paper = image.Pixel(0, 0);
        return image.Count([paper](uint32_t rgb) { return rgb != paper; }) > 0;
    }

    // The pages of the named view's own print of the record.
    int NamedPrintPages(const std::string& record, const std::string& view)
    {
        const std::string pdf = m_dir.File("named/" + view + ".pdf");
        const HostRun run = Host({"print", record, "--view", view, "--pdf", pdf});
        EXPECT_EQ(0, run.status) << view << ": " << run.err;
        return PdfPageCount(pdf);
    }

    const std::vector<AllOfRecord> m_records = {
        {"rest12_90.ecg",
         {"sheet", "CViewRhythmWave", "CViewAverageWave", "CViewAveOverlappedWave", "CViewCAL", "CViewDetailedMeas",
          "CViewQRSNo", "CViewQRSType"},
         {"CViewRRResult", "CViewFinalCom12Leads"}},
        // The averaged beats and their overlap are left out of records that
        // keep no average beats: they were written as grids and pulses alone.
        {"rr_90.ecg",
         {"sheet", "CViewRhythmWave", "CViewCAL", "CViewRRResult", "CViewRRHistogram", "CViewRRTrend",
          "CViewRRIntervalList"},
         {"CViewDetailedMeas", "CViewQRSNo", "CViewQRSType", "CViewHRTrend", "CViewAverageWave",
          "CViewAveOverlappedWave"}},
        {"mstep243.ecg",
         {"CViewCAL", "CViewFinalCom12Leads", "CViewFinalCom1Lead", "CViewFinalEnlargeWave", "CViewHRTrend",
          "CViewSTTrend", "CViewSummaryProtocol"},
         {"sheet", "CViewRhythmWave", "CViewDetailedMeas", "CViewRRResult", "CViewAverageWave",
          "CViewAveOverlappedWave"}},
    };
};

}  // namespace

TEST_F(HostViewAllTest, ViewAllWritesEveryViewThatDrawsTheRecordAsItDrawsWhenNamed)
{
    for (const AllOfRecord& all : m_records) {
        SCOPED_TRACE(all.record);
        const std::string out = m_dir.File(std::string("all-") + all.record);
        const HostRun run = Host({"view", Record(all.record), "--view", "all", "--size", kSize, "--out", out});
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_EQ(std::string::npos, run.err.find("no lead")) << run.err;
        for (const std::string& view : all.shown) {
            const std::string png = out + "/" + view + ".png";
            EXPECT_NE(std::string::npos, run.out.find(png + "\n")) << view;
            const std::string named = m_dir.File("named-" + view + ".png");
            const HostRun alone = Host({"view", Record(all.record), "--view", view, "--size", kSize, "--png", named});
            ASSERT_EQ(0, alone.status) << view << ": " << alone.err;
            EXPECT_TRUE(Drawn(png)) << view;
            EXPECT_TRUE(SamePicture(png, named)) << view;
        }
        for (const std::string& view : all.left) EXPECT_FALSE(Exists(out + "/" + view + ".png")) << view;
    }
}

TEST_F(HostViewAllTest, PrintAllPrintsThePagesOfEveryViewThatPrintsTheRecord)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are not installed";
    for (const AllOfRecord& all : m_records) {
        SCOPED_TRACE(all.record);
        const std::string record = Record(all.record);
        // The enlarged beat is only ever shown; every other view prints its own pages.
        int pages = 0;
        for (const std::string& view : all.shown)
            if (view != "CViewFinalEnlargeWave") pages += NamedPrintPages(record, view);
        const std::string pdf = m_dir.File(std::string("all-") + all.record + ".pdf");
        const HostRun run = Host({"print", record, "--view", "all", "--pdf", pdf});
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_EQ(pdf + "\n", run.out);
        EXPECT_EQ(pages, PdfPageCount(pdf));
    }
}

TEST_F(HostViewAllTest, AMasterStepRecordPrintsItsOwnViewsAndNoSheet)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are not installed";
    const std::string pdf = m_dir.File("mstep.pdf");
    const HostRun run = Host({"print", Record("mstep243.ecg"), "--view", "all", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    std::string words;
    for (const PdfWord& word : PdfWords(pdf)) words += word.text + " ";
    // The heart-rate trend, the ST trend, the protocol and the rest beat of the tiles.
    for (const char* text : {"心拍数", "ST[mm]I", "負荷条件", "安静時"})
        EXPECT_NE(std::string::npos, words.find(text)) << text << " in " << words;
    EXPECT_EQ(std::string::npos, words.find("mm/s")) << "a sheet's caption: " << words;
}

// A picture that cannot be written (a folder stands at its path) fails the
// run, a view's or a form's alike and both together, and the others are
// still written.
TEST_F(HostViewAllTest, ViewAllEndsOneWhenAViewOrAFormOrBothCouldNotBeWritten)
{
    const std::vector<std::vector<std::string>> blocked = {
        {"CViewCAL"}, {"CFormInterpre"}, {"CViewCAL", "CFormInterpre"}, {}};
    for (const std::vector<std::string>& names : blocked) {
        const std::string out = m_dir.File("blocked-" + std::to_string(names.size()) + (names.empty() ? "" : names[0]));
        ASSERT_EQ(0, mkdir(out.c_str(), 0755));
        for (const std::string& name : names) ASSERT_EQ(0, mkdir((out + "/" + name + ".png").c_str(), 0755));
        const HostRun run = Host({"view", SamplePath("rest12_90.ecg"), "--view", "all", "--size", kSize, "--out", out});
        SCOPED_TRACE(names.empty() ? std::string("nothing blocked") : names.back());
        EXPECT_EQ(names.empty() ? 0 : 1, run.status) << run.err;
        for (const std::string& name : names)
            EXPECT_NE(std::string::npos, run.err.find(out + "/" + name + ".png could not be written")) << run.err;
        for (const char* written : {"CViewRhythmWave", "CViewQRSType", "CFormPatientInfo", "CFormInterpreAme"})
            EXPECT_TRUE(Drawn(out + "/" + written + ".png")) << written;
    }
}

// Records of several kinds at once: each gets the views of its own kind,
// whichever kind comes first, named after its place among the files.
TEST_F(HostViewAllTest, EachOfSeveralRecordsGetsTheViewsOfItsOwnKindWhicheverComesFirst)
{
    const std::string exercise = m_dir.File("examinations/exercise_90.ecg");
    const std::string rest = SamplePath("rest12_90.ecg");
    for (const bool exerciseFirst : {true, false}) {
        SCOPED_TRACE(exerciseFirst ? "exercise first" : "resting first");
        const std::string out = m_dir.File(exerciseFirst ? "exercise-first" : "resting-first");
        const HostRun run = Host({"view", exerciseFirst ? exercise : rest, exerciseFirst ? rest : exercise, "--view",
                                  "all", "--size", kSize, "--out", out});
        EXPECT_EQ(0, run.status) << run.err;
        const std::string ofExercise = exerciseFirst ? "" : "-2";
        const std::string ofRest = exerciseFirst ? "-2" : "";
        for (const char* view : {"CViewExerAverage-mode1", "CViewExerTrend-style1", "CViewResultTable", "CFormInterpreExer"})
            EXPECT_TRUE(Drawn(out + "/" + view + ofExercise + ".png")) << view;
        for (const char* view : {"CViewRhythmWave", "CViewAverageWave", "CFormInterpre"})
            EXPECT_TRUE(Drawn(out + "/" + view + ofRest + ".png")) << view;
        EXPECT_FALSE(Exists(out + "/CViewRhythmWave" + ofExercise + ".png"));
        EXPECT_FALSE(Exists(out + "/CViewExerAverage-mode1" + ofRest + ".png"));
    }
    if (!HavePoppler()) return;
    // Printed: each record into its own PDF, the exercise record's pages as
    // its views print them (three layouts, summary, memory, 18 trends, table).
    const std::string rr = SamplePath("rr_90.ecg");
    const std::string pdf = m_dir.File("mixed.pdf");
    const HostRun run = Host({"print", exercise, rr, "--view", "all", "--pdf", pdf});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(3 + 1 + 1 + 18 + 1, PdfPageCount(pdf));
    const std::string alone = m_dir.File("rr-alone.pdf");
    ASSERT_EQ(0, Host({"print", rr, "--view", "all", "--pdf", alone}).status);
    EXPECT_EQ(PdfPageCount(alone), PdfPageCount(m_dir.File("mixed-2.pdf")));
    // The exercise views print into a PDF only: a printer queue is refused for them, said.
    const HostRun queued = Host({"print", exercise, "--view", "all", "--printer", "nowhere"});
    EXPECT_EQ(1, queued.status);
    EXPECT_NE(std::string::npos, queued.err.find("PDF only")) << queued.err;
}
