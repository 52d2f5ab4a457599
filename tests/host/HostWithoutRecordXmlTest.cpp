// A record opened without its record XML: a picture made of what only the
// record XML brings (the device's RR analysis, the master-step summary) is
// refused with a message rather than drawn as empty axes, and a picture the
// record file itself can give (the exercise's end, from its own series) is
// drawn as it is with the record XML.
#include <gtest/gtest.h>

#include <sys/stat.h>

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

class HostWithoutRecordXmlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeRecords({"samples", m_dir.File("samples")});
        MakeRecords({"examinations", m_dir.File("ex")});
        // The same record files alone in a folder of their own.
        for (const std::string record : {"samples/rr_90.ecg", "ex/mstep243.ecg", "ex/exercise_90.ecg"}) {
            const std::string alone = m_dir.File("alone/" + record.substr(record.find('/') + 1));
            const std::string copy = "mkdir -p " + Quoted(m_dir.File("alone")) + " && cp " + Quoted(m_dir.File(record)) +
                                     " " + Quoted(alone);
            ASSERT_EQ(0, std::system(copy.c_str()));
        }
    }

    std::string With(const std::string& record) const { return m_dir.File(record); }
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
