// Every record the record maker writes, with every option it accepts, opens
// through the host with one lead count (the file list's, info's and the
// document's) and the samples per lead the maker wrote; what the system
// cannot open the maker refuses. The PhysioNet conversions likewise.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

struct MakerCase {
    std::string name;                // the file's stem
    std::vector<std::string> args;   // the maker's command line without --out
    int leads;                       // the one lead count
    int samples;                     // samples of every lead shown
};

bool IsMfer(const MakerCase& c)
{
    return c.args[0] == "mfer" || (c.args.size() > 1 && c.args[1] == "--mfer");
}

std::string PathOf(const TempDir& dir, const MakerCase& c)
{
    return dir.File(c.name + (IsMfer(c) ? ".mwf" : ".ecg"));
}

int Make(std::vector<std::string> args, const std::string& out, std::string* message = nullptr)
{
    args.push_back("--out");
    args.push_back(out);
    std::ostringstream text, error;
    const int status = morvelance::RunMkrecord(args, text, error);
    if (message) *message = text.str() + error.str();
    return status;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Writes every case, then has the host list and open them all at once.
void ExpectOneLeadCountEach(const std::vector<MakerCase>& cases)
{
    TempDir dir;
    std::vector<std::string> files = {""};
    for (const MakerCase& c : cases) {
        std::string message;
        ASSERT_EQ(Make(c.args, PathOf(dir, c), &message), 0) << c.name << ": " << message;
        files.push_back(PathOf(dir, c));
    }
    files[0] = "info";
    const HostRun info = Host(files);
    files[0] = "open";
    const HostRun open = Host(files);
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(open.status, 0) << open.err;
    std::map<std::string, std::string> listed = Sections(info.out), opened = Sections(open.out);
    for (const MakerCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string& infoLines = listed[PathOf(dir, c)];
        const std::string& openLines = opened[PathOf(dir, c)];
        EXPECT_EQ(FileListLeads(infoLines), c.leads) << infoLines;
        EXPECT_EQ(InfoLeads(infoLines), c.leads) << infoLines;
        const std::vector<int> shown = OpenedLeads(openLines);
        EXPECT_EQ(static_cast<int>(shown.size()), c.leads) << openLines;
        for (int samples : shown) EXPECT_EQ(samples, c.samples) << openLines;
    }
}

}  // namespace

TEST(MakerRecords, EveryDeviceRecordOpensWithOneLeadCountAndItsSamples)
{
    ExpectOneLeadCountEach({
        {"rest12", {"synth", "--kind", "rest12"}, 12, 5000},
        {"rest12_80", {"synth", "--kind", "rest12", "--flavour", "80", "--code", "254"}, 12, 5000},
        {"rest12_xml", {"synth", "--kind", "rest12", "--xml", "--seconds", "8", "--pace"}, 12, 4000},
        {"rest15", {"synth", "--kind", "rest15"}, 15, 5000},
        {"rest15_80", {"synth", "--kind", "rest15", "--flavour", "80", "--code", "227", "--xml"}, 15, 5000},
        {"rhythm", {"synth", "--kind", "rhythm", "--seconds", "20"}, 3, 10000},
        {"rhythm_xml", {"synth", "--kind", "rhythm", "--seconds", "20", "--xml"}, 3, 10000},
        {"rhythm1", {"synth", "--kind", "rhythm", "--leads", "1", "--seconds", "12", "--noise"}, 1, 6000},
        {"rhythm1_80", {"synth", "--kind", "rhythm", "--leads", "1", "--seconds", "12", "--flavour", "80",
                        "--code", "246"}, 1, 6000},
        {"rhythm38", {"synth", "--kind", "rhythm", "--code", "38", "--seconds", "20", "--xml"}, 3, 10000},
        {"rhythm218", {"synth", "--kind", "rhythm", "--code", "218", "--flavour", "80", "--leads", "1",
                       "--seconds", "20"}, 1, 10000},
        {"rr", {"synth", "--kind", "rr", "--seconds", "30"}, 1, 15000},
        {"rr_xml", {"synth", "--kind", "rr", "--seconds", "30", "--xml", "--irregular", "0.1"}, 1, 15000},
        {"rr2", {"synth", "--kind", "rr", "--leads", "2", "--seconds", "30", "--xml"}, 2, 15000},
        {"rr3", {"synth", "--kind", "rr", "--leads", "3", "--seconds", "30"}, 3, 15000},
        {"extra", {"synth", "--kind", "extra"}, 6, 5000},
        {"extra_xml", {"synth", "--kind", "extra", "--xml", "--hr", "90"}, 6, 5000},
        {"extra_80", {"synth", "--kind", "extra", "--flavour", "80", "--code", "229"}, 6, 5000},
        {"extra_freeze", {"synth", "--kind", "extra", "--code", "28", "--seconds", "6"}, 6, 3000},
    });
}

TEST(MakerRecords, EveryMferFileOpensWithOneLeadCountAndItsSamples)
{
    ExpectOneLeadCountEach({
        {"plain", {"mfer"}, 12, 5000},
        {"plain1", {"mfer", "--kind", "plain", "--leads", "1"}, 1, 5000},
        {"plain3", {"mfer", "--kind", "plain", "--leads", "3", "--little-endian"}, 3, 5000},
        {"plain15", {"mfer", "--kind", "plain", "--leads", "15", "--rate", "250"}, 15, 2500},
        {"freeze", {"mfer", "--kind", "freeze"}, 6, 5000},
        {"freeze1", {"mfer", "--kind", "freeze", "--leads", "1"}, 1, 5000},
        {"freeze4", {"mfer", "--kind", "freeze", "--leads", "4", "--utf8"}, 4, 5000},
        {"extra3", {"mfer", "--kind", "extra3"}, 3, 5000},
        {"extra4", {"mfer", "--kind", "extra4", "--interval"}, 4, 5000},
        {"extra6x1", {"mfer", "--kind", "extra6x1"}, 6, 5000},
        {"extra6x3x2", {"mfer", "--kind", "extra6x3x2", "--wide-channels"}, 6, 5000},
        {"extra7", {"mfer", "--kind", "extra7", "--indefinite"}, 7, 5000},
        {"rhythm12", {"mfer", "--kind", "rhythm12", "--seconds", "30"}, 12, 15000},
        {"rhythm15", {"mfer", "--kind", "rhythm15", "--seconds", "6"}, 15, 3000},
        {"blocks", {"mfer", "--leads", "3", "--block", "1000", "--seconds", "3.3"}, 3, 1650},
        {"frames", {"mfer", "--leads", "3", "--block", "500", "--frames", "3", "--seconds", "4.1"}, 3, 2050},
        {"long_length", {"mfer", "--leads", "1", "--four-byte-length", "--no-time", "--no-patient"}, 1, 5000},
        {"no_end", {"mfer", "--leads", "1", "--no-end", "--filter", ""}, 1, 5000},
        {"dtype1", {"mfer", "--leads", "1", "--dtype", "1"}, 1, 5000},
        {"dtype2", {"mfer", "--leads", "1", "--dtype", "2"}, 1, 5000},
        {"dtype7", {"mfer", "--leads", "1", "--dtype", "7"}, 1, 5000},
        {"derive", {"mfer", "--derive"}, 12, 5000},
        {"derive_rhythm", {"mfer", "--kind", "rhythm12", "--derive", "--seconds", "4", "--dtype", "3"}, 12, 2000},
        {"no_preamble", {"mfer", "--kind", "extra4", "--no-preamble", "--big-endian"}, 4, 5000},
        {"freeze_frames", {"mfer", "--kind", "freeze", "--leads", "5", "--frames", "4", "--block", "100"}, 5, 5000},
    });
}

TEST(MakerRecords, TheSamplesAndExaminationsOpenWithOneLeadCount)
{
    TempDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(morvelance::RunMkrecord({"samples", dir.Path()}, out, err), 0) << err.str();
    ASSERT_EQ(morvelance::RunMkrecord({"examinations", dir.Path()}, out, err), 0) << err.str();
    std::vector<std::string> records = {"info"};
    for (const char* name : {"rest12_90", "rest12_80", "rest15_90", "rest15_80", "rhythm_90", "rhythm_80", "rr_90",
                             "rr_80", "extra_90", "extra3r_90", "extra6_90", "freeze_90", "freeze_mixed_90",
                             "rhythm38_90", "rest12_pace_80"})
        records.push_back(dir.File(std::string(name) + ".ecg"));
    const HostRun info = Host(records);
    records[0] = "open";
    const HostRun open = Host(records);
    ASSERT_EQ(info.status, 0) << info.err;
    ASSERT_EQ(open.status, 0) << open.err;
    std::map<std::string, std::string> listed = Sections(info.out), opened = Sections(open.out);
    for (size_t i = 1; i < records.size(); ++i) {
        SCOPED_TRACE(records[i]);
        const int leads = FileListLeads(listed[records[i]]);
        EXPECT_GT(leads, 0) << listed[records[i]];
        EXPECT_EQ(InfoLeads(listed[records[i]]), leads) << listed[records[i]];
        EXPECT_EQ(static_cast<int>(OpenedLeads(opened[records[i]]).size()), leads) << opened[records[i]];
    }
}

TEST(MakerRecords, TheMakerRefusesWhatTheSystemCannotOpenAndWritesNothing)
{
    const std::vector<std::vector<std::string>> refused = {
        {"synth", "--kind", "rhythm", "--leads", "2"},
        {"synth", "--kind", "rr", "--leads", "4"},
        {"synth", "--kind", "rest12", "--leads", "3"},
        {"mfer", "--kind", "freeze", "--leads", "8"},
        {"mfer", "--kind", "freeze", "--leads", "12"},
        {"mfer", "--kind", "plain", "--leads", "8"},
        {"mfer", "--kind", "extra4", "--leads", "4"},
        {"mfer", "--block", "2000000"},
        {"mfer", "--block", "0"},
        {"mfer", "--kind", "plain", "--leads", "15", "--derive"},
        {"mfer", "--kind", "freeze", "--derive"},
    };
    TempDir dir;
    for (const std::vector<std::string>& args : refused) {
        const std::string out = dir.File("refused.ecg");
        std::string message;
        EXPECT_NE(Make(args, out, &message), 0) << args[0] << " " << args[2];
        EXPECT_NE(message.find("morvelance-mkrecord: "), std::string::npos) << message;
        EXPECT_FALSE(Exists(out)) << args[0] << " " << args[2];
    }
}

TEST(MakerRecords, ALongMferFileIsWrittenInBlocksTheReaderTakesWithEverySample)
{
    // 2^20 + 3 samples a lead: one full block of the longest length and a short one.
    TempDir dir;
    const std::string file = dir.File("long.mwf");
    ASSERT_EQ(Make({"mfer", "--leads", "1", "--rate", "1000", "--seconds", "1048.579"}, file), 0);
    const HostRun open = Host({"open", file});
    ASSERT_EQ(open.status, 0) << open.err;
    EXPECT_EQ(OpenedLeads(Sections(open.out)[file]), std::vector<int>{1048579});
}

TEST(MakerRecords, PhysioNetConversionsOpenWithOneLeadCountAndItsSamples)
{
    REQUIRE_SHARED_DATA(mitdb, "physionet/mitdb/100.hea");
    REQUIRE_SHARED_DATA(ptb, "physionet/ptb/s0010_re.hea");
    const std::string mit = mitdb.substr(0, mitdb.size() - 4);
    const std::string pt = ptb.substr(0, ptb.size() - 4);
    ExpectOneLeadCountEach({
        // MIT-BIH's two signals become a one-lead rhythm or RR record.
        {"mit_rhythm", {"wfdb", "--record", mit, "--seconds", "20"}, 1, 10000},
        {"mit_rhythm38", {"wfdb", "--record", mit, "--seconds", "20", "--code", "38", "--start", "5"}, 1, 10000},
        {"mit_rr", {"wfdb", "--record", mit, "--kind", "rr", "--seconds", "30", "--xml"}, 1, 15000},
        // 360 Hz: 20 s in blocks of 3000 samples and a short last one of 1200.
        {"mit_mfer", {"wfdb", "--mfer", "--record", mit, "--seconds", "20", "--block", "3000"}, 2, 7200},
        {"mit_mfer_start", {"wfdb", "--mfer", "--record", mit, "--seconds", "10", "--start", "60"}, 2, 3600},
        {"ptb_rest15", {"wfdb", "--record", pt, "--kind", "rest15", "--xml"}, 15, 5000},
        {"ptb_rest12", {"wfdb", "--record", pt, "--kind", "rest12", "--start", "2"}, 12, 5000},
        {"ptb_extra", {"wfdb", "--record", pt, "--kind", "extra"}, 3, 5000},
        {"ptb_rhythm", {"wfdb", "--record", pt, "--kind", "rhythm", "--seconds", "8"}, 15, 4000},
        {"ptb_mfer", {"wfdb", "--mfer", "--record", pt, "--seconds", "5"}, 15, 5000},
    });
}
