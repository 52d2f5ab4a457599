// What info says of a record's leads: the names the multi-lead view gives
// them, and for rhythm and RR records the count the record states, the same
// count the file list shows and the document opens.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tests/host/HostPdf.h"
#include "tools/DeviceRecord.h"
#include "tools/Mkrecord.h"
#include "tools/RRRecord.h"
#include "tools/RecordTags.h"
#include "tools/RhythmRecord.h"
#include "tools/SampleRecords.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// The names of info's "leads" line ("NAME:samples ...").
std::set<std::string> InfoNames(const std::string& section)
{
    std::smatch match;
    std::set<std::string> names;
    if (!std::regex_search(section, match, std::regex("  leads +([^\\n]*)"))) return names;
    std::istringstream items(match[1].str());
    for (std::string item; items >> item;) names.insert(item.substr(0, item.rfind(':')));
    return names;
}

// The lead names the multi-lead view prints for the record: its words that
// are no start time.
std::set<std::string> PrintedNames(const std::string& record, const TempDir& dir)
{
    const std::string pdf = dir.File("names.pdf");
    std::set<std::string> names;
    if (Host({"print", record, "--view", "CViewRhythmWave", "--pdf", pdf}).status != 0) return names;
    for (const PdfWord& word : PdfWords(pdf))
        if (word.text.find(':') == std::string::npos) names.insert(word.text);
    return names;
}

void ExpectInfoNamesAsTheViewPrints(const std::string& record, const TempDir& dir)
{
    SCOPED_TRACE(record);
    const HostRun info = Host({"info", record});
    ASSERT_EQ(0, info.status) << info.err;
    const std::set<std::string> listed = InfoNames(Sections(info.out)[record]);
    const std::set<std::string> printed = PrintedNames(record, dir);
    ASSERT_FALSE(printed.empty());
    for (const std::string& name : printed) EXPECT_EQ(1u, listed.count(name)) << name;
    for (const std::string& name : listed) EXPECT_NE('#', name[0]) << name;
}

// The three lead counts of one record: the file list's, info's and the leads open shows.
struct Counts {
    int fileList, info, opened;
};

Counts CountsOf(const std::string& record)
{
    const HostRun info = Host({"info", record});
    const HostRun open = Host({"open", record});
    EXPECT_EQ(0, info.status) << info.err;
    EXPECT_EQ(0, open.status) << open.err;
    const std::string listed = Sections(info.out)[record];
    return {FileListLeads(listed), InfoLeads(listed), static_cast<int>(OpenedLeads(Sections(open.out)[record]).size())};
}

}  // namespace

TEST(HostLeadNames, InfoNamesEveryLeadAsTheMultiLeadPagePrintsIt)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    TempDir dir;
    MakeRecords({"samples", dir.File("samples")});
    // The fifteen-lead record's last three leads and the rhythm record's
    // leads carry the names of the record's lead codes.
    for (const char* record : {"rest15_90", "rhythm_90", "rest12_90"})
        ExpectInfoNamesAsTheViewPrints(dir.File(std::string("samples/") + record + ".ecg"), dir);
}

TEST(HostLeadNames, APhysioNetFifteenLeadRecordNamesItsFrankLeads)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    REQUIRE_SHARED_DATA(ptb, "physionet/ptb/s0010_re.hea");
    TempDir dir;
    const std::string record = dir.File("ptb.ecg");
    MakeRecords({"wfdb", "--record", ptb.substr(0, ptb.size() - 4), "--kind", "rest15", "--xml", "--out", record});
    ExpectInfoNamesAsTheViewPrints(record, dir);
    const HostRun info = Host({"info", record});
    const std::set<std::string> listed = InfoNames(Sections(info.out)[record]);
    for (const char* frank : {"X", "Y", "Z"}) EXPECT_EQ(1u, listed.count(frank)) << frank;
}

TEST(HostLeadNames, ARhythmOrRRRecordHasTheLeadCountItStatesEverywhere)
{
    TempDir dir;
    // Three rhythm leads of which the record states one.
    morvelance::RhythmRecordShape shape;
    shape.leads = 3;
    shape.seconds = 12;
    morvelance::RecordBuilder rhythm = morvelance::MakeRhythmRecord(shape, nullptr);
    rhythm.SetInt32(morvelance::rec::kTagRhythmLeadCount10, 0, 1);
    const std::string rhythmFile = dir.File("rhythm.ecg");
    rhythm.WriteFile(rhythmFile, zarn::Flavour::Newer90);
    // Three RR strip leads of which the record states two.
    morvelance::SynthOptions synth;
    synth.seconds = 12;
    morvelance::DeviceRecordOptions options;
    options.kind = morvelance::rec::RecordKind::Rr;
    morvelance::RecordBuilder rr = morvelance::MakeRRDeviceRecord(
        morvelance::SynthFor(morvelance::rec::RecordKind::Rr, synth, 3), options);
    rr.SetInt16(morvelance::rec::kTagRrLeadCount, 0, 2);
    const std::string rrFile = dir.File("rr.ecg");
    rr.WriteFile(rrFile, zarn::Flavour::Newer90);

    const struct {
        std::string record;
        int stated;
    } cases[] = {{rhythmFile, 1}, {rrFile, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        const Counts counts = CountsOf(c.record);
        EXPECT_EQ(c.stated, counts.fileList);
        EXPECT_EQ(c.stated, counts.info);
        EXPECT_EQ(c.stated, counts.opened);
    }
}

TEST(HostLeadNames, ATwoLeadRRRecordIsPrintedInTheThreeLeadLayoutWithBothLeads)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    TempDir dir;
    const std::string record = dir.File("rr2.ecg");
    MakeRecords({"synth", "--kind", "rr", "--leads", "2", "--seconds", "20", "--xml", "--out", record});
    const Counts counts = CountsOf(record);
    EXPECT_EQ(2, counts.fileList);
    EXPECT_EQ(2, counts.info);
    EXPECT_EQ(2, counts.opened);
    // The one-lead layout prints one lead's name; the three-lead one each lead's.
    const std::set<std::string> printed = PrintedNames(record, dir);
    const HostRun info = Host({"info", record});
    const std::set<std::string> listed = InfoNames(Sections(info.out)[record]);
    EXPECT_EQ(2u, listed.size());
    for (const std::string& name : listed) EXPECT_EQ(1u, printed.count(name)) << name;
}
