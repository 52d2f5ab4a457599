// The scale asked for on the command line is measured on the picture or
// refused: in a wave style that draws no scale the picture would be the
// one without it, as if the scale had been read there.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/host/HostRun.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

TEST(HostScaleOption, EveryWaveStyleEitherDrawsTheScaleAskedForOrRefusesItWritingNothing)
{
    TempDir dir;
    ASSERT_EQ(0, RunProgram("morvelance-mkrecord", {"samples", dir.Path()}).status);
    int drawn = 0, refused = 0;
    for (const char* record : {"rest12_90.ecg", "rhythm_90.ecg"}) {
        for (int style = 1; style <= 30; ++style) {
            SCOPED_TRACE(std::string(record) + " style " + std::to_string(style));
            const std::vector<std::string> base = {"view", dir.File(record), "--view", "CViewRhythmWave", "--style",
                                                   std::to_string(style)};
            std::vector<std::string> plain = base, scaled = base;
            plain.insert(plain.end(), {"--png", dir.File("plain.png")});
            const HostRun without = Host(plain);
            if (without.status != 0) continue;   // a style the record is not drawn in
            const std::string png = dir.File("scaled.png");
            std::filesystem::remove(png);
            scaled.insert(scaled.end(), {"--scale", "400,300,600,300", "--png", png});
            const HostRun with = Host(scaled);
            if (with.status == 0) {
                EXPECT_NE(testsupport::ReadFileBytes(dir.File("plain.png")), testsupport::ReadFileBytes(png))
                    << "the scale asked for is not in the picture";
                ++drawn;
            } else {
                EXPECT_NE(with.err.find("--scale: wave style " + std::to_string(style) + " draws no scale"),
                          std::string::npos)
                    << with.err;
                EXPECT_FALSE(std::filesystem::exists(png));
                ++refused;
            }
        }
    }
    EXPECT_GT(drawn, 10);
    EXPECT_GE(refused, 2);
}

}  // namespace
