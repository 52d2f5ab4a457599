// The measurement tables through the host, as a user runs it: a resting
// record of the record maker painted into a PNG and printed to a PDF.
#include <gtest/gtest.h>


#include <algorithm>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tools/RestRecord.h"
#include "tests/support/PngImage.h"

namespace {

using hosttest::Host;
using hosttest::HostRun;

class HostMeasurementView : public ::testing::Test {
protected:
    void SetUp() override
    {
        morvelance::RestRecordShape shape;
        shape.xml.qrsBeats = 300;
        shape.xml.mixedQrsTypes = true;
        m_record = morvelance::WriteRestRecord(m_dir.Path(), "rest.ecg", shape).record;
    }
    // The words of the PDF's page `page`.
    std::vector<std::string> Words(const std::string& pdf, int page)
    {
        std::vector<std::string> words;
        for (const hosttest::PdfWord& word : hosttest::PdfWords(pdf))
            if (word.page == page) words.push_back(word.text);
        return words;
    }
    static bool Has(const std::vector<std::string>& words, const std::string& word)
    {
        return std::find(words.begin(), words.end(), word) != words.end();
    }

    testsupport::TempDir m_dir;
    std::string m_record;
};

// Pixels of the table bands' light green in a PNG.
int BandPixels(const std::string& png)
{
    return testsupport::PngImage(png).Count([](uint32_t rgb) { return rgb == 0xDCFFDC; });
}

TEST_F(HostMeasurementView, EveryTableIsPaintedWithItsBands)
{
    for (const char* view : {"CViewDetailedMeas", "CViewQRSNo", "CViewQRSType"}) {
        const std::string png = m_dir.File(std::string(view) + ".png");
        std::vector<std::string> args = {"view", m_record, "--view", view, "--size", "1280x720", "--png", png};
        // Only the QRS number table has a window of beats to move: the other
        // tables refuse --first, which they would leave out of their picture.
        if (std::string(view) == "CViewQRSNo") args.insert(args.end(), {"--first", "5"});
        const HostRun run = Host(args);
        ASSERT_EQ(0, run.status) << view << ": " << run.err;
        EXPECT_GT(BandPixels(png), 1000) << view;
    }
}

TEST_F(HostMeasurementView, TheMeasurementTablePrintsTheRecordsValues)
{
    if (!hosttest::HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = m_dir.File("meas.pdf");
    const HostRun run = Host({"print", m_record, "--view", "CViewDetailedMeas", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    const std::vector<std::string> words = Words(pdf, 1);
    for (const char* word : {"V.A.T.", "1100", "-1300", "aVR", "2.250"}) EXPECT_TRUE(Has(words, word)) << word;
}

TEST_F(HostMeasurementView, TheQrsNumberTablePrintsTwentyBeatsAPageUpTo256)
{
    if (!hosttest::HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = m_dir.File("qrs.pdf");
    const HostRun run = Host({"print", m_record, "--view", "CViewQRSNo", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(hosttest::PdfPageCount(pdf), 13);
    EXPECT_TRUE(Has(Words(pdf, 13), "256"));
    EXPECT_TRUE(Has(Words(pdf, 13), "241"));
    EXPECT_FALSE(Has(Words(pdf, 13), "257"));
    EXPECT_TRUE(Has(Words(pdf, 1), "20"));
    EXPECT_FALSE(Has(Words(pdf, 1), "21"));
}

// The window of QRS numbers begins at the beat asked for: the one before the
// latest beginning still shows a window of its own, one beat earlier.
TEST_F(HostMeasurementView, TheQrsNumberWindowBeginsAtTheBeatAskedForUpToTheLatest)
{
    const HostRun past = Host({"view", m_record, "--view", "CViewQRSNo", "--first", "99999", "--png", m_dir.File("p.png")});
    ASSERT_EQ(1, past.status);
    const std::string said = "begins at beat ";
    const size_t at = past.err.find(said);
    ASSERT_NE(std::string::npos, at) << past.err;
    const int latest = std::stoi(past.err.substr(at + said.size()));
    ASSERT_GT(latest, 1) << past.err;
    std::vector<std::string> pictures;
    for (int first : {latest - 1, latest}) {
        const std::string png = m_dir.File("first" + std::to_string(first) + ".png");
        const HostRun run = Host({"view", m_record, "--view", "CViewQRSNo", "--first", std::to_string(first), "--png", png});
        ASSERT_EQ(0, run.status) << run.err;
        pictures.push_back(testsupport::ReadFileBytes(png));
    }
    EXPECT_NE(pictures[0], pictures[1]) << "--first " << latest - 1 << " shows the latest window";
}

TEST_F(HostMeasurementView, UnknownOptionsAndMissingTargetsAreRefused)
{
    EXPECT_EQ(2, Host({"view", m_record, "--view", "CViewQRSNo", "--page", "2", "--png", m_dir.File("x.png")}).status);
    EXPECT_EQ(2, Host({"print", m_record, "--view", "CViewQRSType"}).status);
    EXPECT_EQ(2, Host({"view", m_record, "--view", "CViewQRSNo", "--first", "-1", "--png", m_dir.File("x.png")}).status);
}

}  // namespace
