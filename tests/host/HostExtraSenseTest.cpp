// The host opens the record maker's extra-lead records with the
// sensitivities their record XML keeps: the second set's and the rhythm
// strip's own values, and, in the sense modes that show a record as it was
// taken, the record's sensitivity, which the multi-lead view then draws at.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"

using namespace hosttest;

namespace {

class HostExtraSenseTest : public ::testing::Test {
protected:
    void SetUp() override { MakeRecords({"examinations", m_dir.Path()}); }

    // The record XML of a record the maker wrote (stem + acquisition time).
    std::string XmlOf(const std::string& stem) const { return m_dir.File(stem + "20240401093000.xml"); }
    // Replaces every `from` of the record XML with `to`; at least one must be there.
    void EditXml(const std::string& stem, const std::string& from, const std::string& to)
    {
        std::string text = testsupport::ReadFileBytes(XmlOf(stem));
        size_t at = text.find(from);
        ASSERT_NE(std::string::npos, at) << from;
        for (; at != std::string::npos; at = text.find(from, at + to.size())) text.replace(at, from.size(), to);
        std::ofstream(XmlOf(stem), std::ios::binary | std::ios::trunc) << text;
    }
    std::string Open(const std::string& stem)
    {
        const HostRun run = Host({"open", m_dir.File(stem + ".ecg")});
        EXPECT_EQ(0, run.status) << run.err;
        return run.out;
    }
    // The tallest calibration pulse of the one-column extra page (style 24)
    // the view command paints, in pixels: its longest upright stroke in the
    // column of the pulses (ten of the paper's 260 squares).
    int PulseHeight(const std::string& stem)
    {
        const std::string png = m_dir.File(stem + "-" + std::to_string(m_views++) + ".png");
        const HostRun run =
            Host({"view", m_dir.File(stem + ".ecg"), "--view", "CViewRhythmWave", "--style", "24", "--png", png});
        EXPECT_EQ(0, run.status) << run.err;
        const testsupport::PngImage image(png);
        EXPECT_TRUE(image.Ok());
        if (!image.Ok()) return 0;
        int longest = 0;
        for (int x = 0; x < image.Width() * 10 / 260; ++x) {
            int run = 0;
            for (int y = 0; y < image.Height(); ++y) {
                run = image.Dark(x, y) ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        }
        return longest;
    }

    testsupport::TempDir m_dir;
    int m_views = 0;
};

TEST_F(HostExtraSenseTest, InSenseModesThreeAndFourTheRecordsSensitivityIsShownAndDrawn)
{
    const int atTen = PulseHeight("extra6_90");
    ASSERT_GT(atTen, 20);
    EditXml("extra6_90", "<Acq_sense>10.0</Acq_sense>", "<Acq_sense>20.0</Acq_sense>");
    for (const char* mode : {"3", "4"}) {
        SCOPED_TRACE(mode);
        EditXml("extra6_90", mode[0] == '3' ? "<Sensitivity mode=\"1\">" : "<Sensitivity mode=\"3\">",
                std::string("<Sensitivity mode=\"") + mode + "\">");
        EXPECT_NE(std::string::npos,
                  Open("extra6_90").find(std::string("sense mode ") + mode + ", sense 4: 20.0, sense 5: 20.0 mm/mV"));
        // The pulse stands for the gain the traces are drawn at: twice as tall.
        EXPECT_NEAR(2 * atTen, PulseHeight("extra6_90"), 2);
    }
}

TEST_F(HostExtraSenseTest, TheSecondSetsAndTheStripsOwnSensitivitiesOfTheRecordXmlApply)
{
    EditXml("extra6_90", "<Extra2>10.00</Extra2>", "<Extra2>20.00</Extra2>");
    EXPECT_NE(std::string::npos, Open("extra6_90").find("sense 4: 10.0, sense 5: 20.0 mm/mV"));

    EditXml("extra3r_90", "<Rhythm>10.00</Rhythm>", "<Rhythm>20.00</Rhythm>");
    EXPECT_NE(std::string::npos, Open("extra3r_90").find("rhythm strip    lead #3, sense 20.0 mm/mV"));
}

}  // namespace
