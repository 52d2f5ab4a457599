// The host paints and prints the master-step views from a record of the
// record maker, as a user runs it.
#include <gtest/gtest.h>


#include <fstream>
#include <sstream>

#include "tests/host/HostRun.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

class HostMasterStepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const HostRun made = RunProgram("morvelance-mkrecord", {"examinations", m_dir.Path()});
        ASSERT_EQ(made.status, 0) << made.err;
        m_record = m_dir.File("mstep243.ecg");
    }
    // Pixels of a PNG that are neither white paper nor the light grid.
    static int Ink(const std::string& png, int* width = nullptr)
    {
        const testsupport::PngImage image(png);
        if (!image.Ok()) return -1;
        if (width) *width = image.Width();
        return image.Count([](uint32_t rgb) { return (rgb & 0xFF) < 100 && ((rgb >> 8) & 0xFF) < 100; });
    }
    static std::string Head(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        char head[5] = {};
        in.read(head, 4);
        return head;
    }

    TempDir m_dir;
    std::string m_record;
};

}  // namespace

TEST_F(HostMasterStepTest, EveryMasterStepViewIsPaintedWithInk)
{
    const std::vector<std::vector<std::string>> views = {
        {"--view", "CViewFinalCom12Leads", "--page", "0"},
        {"--view", "CViewFinalCom1Lead", "--lead", "10"},
        {"--view", "CViewFinalEnlargeWave", "--lead", "1", "--load", "-2", "--zoom", "-1"},
        {"--view", "CViewHRTrend"},
        {"--view", "CViewSTTrend", "--follow"},
        {"--view", "CViewSummaryProtocol"},
    };
    for (const std::vector<std::string>& view : views) {
        const std::string png = m_dir.File(view[1] + ".png");
        std::vector<std::string> args = {"view", m_record, "--size", "800x500", "--png", png};
        args.insert(args.end(), view.begin(), view.end());
        const HostRun run = Host(args);
        ASSERT_EQ(run.status, 0) << view[1] << ": " << run.err;
        int width = 0;
        EXPECT_GT(Ink(png, &width), 0) << view[1];
        EXPECT_EQ(width, 800) << view[1];
    }
}

TEST_F(HostMasterStepTest, EveryPrintingViewPrintsAPdfAndTheEnlargedBeatIsRefused)
{
    for (const char* view : {"CViewFinalCom12Leads", "CViewFinalCom1Lead", "CViewHRTrend", "CViewSTTrend",
                             "CViewSummaryProtocol"}) {
        const std::string pdf = m_dir.File(std::string(view) + ".pdf");
        const HostRun run = Host({"print", m_record, "--view", view, "--pdf", pdf});
        ASSERT_EQ(run.status, 0) << view << ": " << run.err;
        EXPECT_EQ(Head(pdf), "%PDF") << view;
    }
    const HostRun refused = Host({"print", m_record, "--view", "CViewFinalEnlargeWave", "--pdf", m_dir.File("e.pdf")});
    EXPECT_NE(refused.status, 0);
    const HostRun notMaster = Host({"view", m_dir.File("rest12_pace_80.ecg"), "--view", "CViewHRTrend", "--png",
                                    m_dir.File("x.png")});
    EXPECT_NE(notMaster.status, 0);
}
