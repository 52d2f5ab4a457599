// Every option the view command reads, given to every class it draws of a
// record and to every wave style of the multi-lead view: the picture
// changes, or the command ends non-zero saying why and writes nothing. An
// option taken that leaves the picture as it was would say success for
// something never shown.
#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <set>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// One option, or values of it of which at least one must show (the other
// may be the record's own setting).
using OptionValues = std::vector<std::vector<std::string>>;

const std::vector<OptionValues> kOptions = {
    {{"--smooth", "0"}, {"--smooth", "3"}},
    {{"--grid", "dots"}, {"--grid", "lines"}},
    {{"--page", "2"}},
    {{"--half"}},
    {{"--chest"}},
    {{"--lead", "1"}, {"--lead", "2"}},
    {{"--cal-count", "0"}, {"--cal-count", "2"}},
    {{"--dividers", "1"}},
    {{"--scale", "400,300,600,300"}},
    {{"--mode", "2"}, {"--mode", "3"}},
};

std::string Described(const std::vector<std::string>& args)
{
    std::string text;
    for (size_t i = 2; i < args.size(); ++i) text += " " + args[i];
    return text;
}

class HostOptionWalk : public ::testing::Test {
protected:
    void SetUp() override { MakeRecords({"samples", m_dir.Path()}); }

    // Runs each command line (its last argument the PNG it writes) four at a
    // time; for each, the picture's bytes, or empty when the host refused it
    // (then it must have said why and written nothing).
    std::vector<std::string> Pictures(const std::vector<std::vector<std::string>>& runs)
    {
        std::vector<std::string> pictures(runs.size());
        for (size_t first = 0; first < runs.size(); first += 4) {
            std::vector<std::future<HostRun>> started;
            for (size_t i = first; i < std::min(first + 4, runs.size()); ++i)
                started.push_back(std::async(std::launch::async, [args = runs[i]] { return Host(args); }));
            for (size_t i = first; i < first + started.size(); ++i) {
                const HostRun run = started[i - first].get();
                const std::string& png = runs[i].back();
                if (run.status == 0) {
                    pictures[i] = testsupport::ReadFileBytes(png);
                    EXPECT_FALSE(pictures[i].empty()) << Described(runs[i]) << ": ended 0 with no picture";
                } else {
                    EXPECT_NE(run.err.find("morvelance-host: "), std::string::npos) << Described(runs[i]);
                    EXPECT_FALSE(std::filesystem::exists(png)) << Described(runs[i]) << ": refused, yet written";
                }
            }
        }
        return pictures;
    }

    // Walks the options over the command line `base` (record, view and any
    // style, without output): each option's pictures against the plain one.
    // Returns how many options were taken.
    int WalkOptions(const std::vector<std::string>& base)
    {
        std::vector<std::vector<std::string>> runs;
        auto add = [&](std::vector<std::string> extra) {
            std::vector<std::string> args = base;
            args.insert(args.end(), extra.begin(), extra.end());
            args.insert(args.end(), {"--size", "960x540"});
            args.push_back("--png");
            args.push_back(m_dir.File("w" + std::to_string(m_runs++) + ".png"));
            runs.push_back(args);
        };
        add({});
        const std::string plain = Pictures(runs)[0];
        if (plain.empty()) return 0;   // a style or class the record is not drawn in
        runs.clear();
        for (const OptionValues& option : kOptions)
            for (const std::vector<std::string>& value : option) add(value);
        std::vector<std::string> pictures = Pictures(runs);
        pictures.insert(pictures.begin(), plain);
        int taken = 0;
        size_t next = 1;
        for (const OptionValues& option : kOptions) {
            bool anyTaken = false, anyShown = false;
            for (size_t v = 0; v < option.size(); ++v, ++next) {
                if (pictures[next].empty()) continue;
                anyTaken = true;
                anyShown = anyShown || pictures[next] != pictures[0];
            }
            if (!anyTaken) continue;
            ++taken;
            EXPECT_TRUE(anyShown) << Described(base) << " " << option[0][0]
                                  << ": taken, and the picture is the one without it";
        }
        return taken;
    }

    TempDir m_dir;
    int m_runs = 0;
};

TEST_F(HostOptionWalk, EveryOptionGivenToEveryClassTheHostDrawsChangesThePictureOrIsRefused)
{
    int classes = 0;
    for (const char* record : {"rest12_90.ecg", "rhythm_90.ecg", "rr_90.ecg", "extra_90.ecg"}) {
        const std::string all = m_dir.File(std::string("all_") + record);
        ASSERT_EQ(0, Host({"view", m_dir.File(record), "--view", "all", "--out", all}).status);
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(all)) {
            std::string name = entry.path().stem().string();
            if (const size_t dash = name.rfind('-'); dash != std::string::npos) name.resize(dash);
            names.insert(name);
        }
        for (const std::string& name : names) {
            SCOPED_TRACE(std::string(record) + " " + name);
            WalkOptions({"view", m_dir.File(record), "--view", name});
            ++classes;
        }
    }
    EXPECT_GE(classes, 20);
}

TEST_F(HostOptionWalk, EveryWaveStyleChangesThePictureForEachOptionItTakesAndRefusesTheRest)
{
    // Each style on a record of the kind it is made for.
    const std::pair<const char*, int> kinds[] = {{"rest15_90.ecg", 15}, {"rhythm_90.ecg", 19}, {"rr_90.ecg", 21},
                                                 {"extra_90.ecg", 28}};
    int styles = 0, taken = 0, style = 1;
    for (const auto& [record, last] : kinds) {
        for (; style <= last; ++style) {
            SCOPED_TRACE(std::string(record) + " style " + std::to_string(style));
            const int took =
                WalkOptions({"view", m_dir.File(record), "--view", "CViewRhythmWave", "--style", std::to_string(style)});
            styles += took > 0;
            taken += took;
        }
    }
    EXPECT_GE(styles, 25);
    // Each style takes some, none takes every one.
    EXPECT_GT(taken, styles * 3);
    EXPECT_LT(taken, styles * static_cast<int>(kOptions.size()));
}

}  // namespace
