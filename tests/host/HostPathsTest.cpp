// The host takes record paths as a user types them: UTF-8 names in any
// script, bare file names, records with their record XML or HL7 header
// beside them; and it exits non-zero for every record it did not open.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tests/host/HostRun.h"
#include "tools/DeviceRecord.h"
#include "tools/Mkrecord.h"
#include "tools/SampleRecords.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

const char* const kFolders[] = {"検査/山田 太郎", "心电图/王 小明", "Ünïcödé/café résumé"};

}  // namespace

TEST(HostPaths, RecordsUnderJapaneseChineseAndAccentedNamesListAndOpen)
{
    for (const char* folder : kFolders) {
        SCOPED_TRACE(folder);
        TempDir dir;
        const std::string top = dir.File(std::string(folder).substr(0, std::string(folder).find('/')));
        ASSERT_EQ(mkdir(top.c_str(), 0755), 0);
        const std::string where = dir.File(folder);
        MakeRecords({"samples", where});
        const std::string mfer = where + "/記録ü.mwf";
        MakeRecords({"mfer", "--kind", "plain", "--leads", "3", "--id", "MF-9", "--hl7", where + "/記録ü.hl7.xml", "--xml-out",
              where + "/Raw_記録ü20240401093000.xml", "--out", mfer});
        const std::vector<std::string> records = {where + "/rest12_90.ecg", where + "/rhythm_90.ecg",
                                                  where + "/extra_90.ecg", mfer};

        std::vector<std::string> args = {"info"};
        args.insert(args.end(), records.begin(), records.end());
        const HostRun info = Host(args);
        EXPECT_EQ(info.status, 0) << info.err;
        std::map<std::string, std::string> listed = Sections(info.out);
        // The record XML beside a record is found and read under the name.
        EXPECT_NE(listed[records[0]].find("  record XML      " + where + "/rest12_90"), std::string::npos)
            << listed[records[0]];
        EXPECT_NE(listed[records[0]].find("xml patient     MV-1001 / 山田 太郎"), std::string::npos)
            << listed[records[0]];
        // The HL7 header beside the MFER file gives the file list its patient.
        EXPECT_NE(listed[mfer].find("id \"MF-9\""), std::string::npos) << listed[mfer];

        args[0] = "open";
        const HostRun open = Host(args);
        EXPECT_EQ(open.status, 0) << open.err;
        std::map<std::string, std::string> opened = Sections(open.out);
        for (const std::string& record : records) EXPECT_FALSE(OpenedLeads(opened[record]).empty()) << record;
        EXPECT_NE(opened[mfer].find("  record XML      " + where + "/Raw_記録ü20240401093000.xml"),
                  std::string::npos)
            << opened[mfer];
    }
}

TEST(HostPaths, ABareFileNameWorksAsItsDotSlashForm)
{
    TempDir dir;
    MakeRecords({"synth", "--kind", "rest12", "--out", dir.File("q.ecg")});
    MakeRecords({"synth", "--kind", "rhythm", "--seconds", "12", "--xml", "--out", dir.File("記録.ecg")});
    for (const char* command : {"info", "open"}) {
        const HostRun bare = Host({command, "q.ecg", "記録.ecg"}, dir.Path());
        const HostRun dotted = Host({command, "./q.ecg", "./記録.ecg"}, dir.Path());
        EXPECT_EQ(bare.status, 0) << command << ": " << bare.err;
        EXPECT_EQ(dotted.status, 0) << command << ": " << dotted.err;
        EXPECT_EQ(OpenedLeads(Sections(bare.out)["記録.ecg"]), OpenedLeads(Sections(dotted.out)["./記録.ecg"]));
    }
}

TEST(HostPaths, TheHostFailsForEveryRecordItDidNotOpen)
{
    TempDir dir;
    MakeRecords({"synth", "--kind", "rest12", "--out", dir.File("good.ecg")});
    // A two-lead rhythm record, which the system refuses, as another writer makes it.
    morvelance::SynthOptions synth;
    synth.seconds = 10;
    morvelance::DeviceRecordOptions options;
    options.kind = morvelance::rec::RecordKind::Rhythm;
    const morvelance::EcgRecord two = morvelance::SynthFor(options.kind, synth, 2);
    morvelance::MakeDeviceRecord(two, options).WriteFile(dir.File("two.ecg"), zarn::Flavour::Newer90);
    dir.Write("short.ecg", "not a record");
    dir.Write("short.mwf", "not an MFER file");

    EXPECT_EQ(Host({"open", dir.File("good.ecg")}).status, 0);
    for (const char* bad : {"two.ecg", "short.ecg", "short.mwf", "missing.ecg"}) {
        const HostRun open = Host({"open", dir.File("good.ecg"), dir.File(bad)});
        EXPECT_EQ(open.status, 1) << bad;
        EXPECT_NE(open.err.find(dir.File(bad)), std::string::npos) << open.err;
    }
    EXPECT_EQ(Host({"info", dir.File("short.ecg")}).status, 1);
}

TEST(HostPaths, AWorkDirectoryUnderANonAsciiNameIsFoundThroughTheRegistry)
{
    TempDir dir;
    const std::string folder = dir.File("作業 ü");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string work = folder + "/工作目录";
    ASSERT_EQ(symlink(testsupport::WorkDir().c_str(), work.c_str()), 0);
    MakeRecords({"samples", dir.Path()});

    testsupport::UseRegistryWithWorkDir(work);
    const HostRun info = Host({"info", dir.File("rest12_90.ecg")});
    const HostRun open = Host({"open", dir.File("rhythm_90.ecg")});
    testsupport::UseRegistryWithWorkDir(testsupport::WorkDir());

    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.err.find("no work directory"), std::string::npos) << info.err;
    // The layout stylesheet of the work directory binds the patient fields.
    EXPECT_NE(info.out.find("(bound to /Rawdata/"), std::string::npos) << info.out;
    EXPECT_EQ(open.status, 0) << open.err;
    EXPECT_EQ(OpenedLeads(Sections(open.out)[dir.File("rhythm_90.ecg")]).size(), 3u) << open.out;
}
