// A record XML that may be another record's: one made before record XMLs
// named their record file, beside two record files of its stem whose
// patients do not tell whose it is, or one made for a record that was
// moved out, beside another patient's record of its name. The person who
// opens the record's sheet on the screen is told so, with the files named,
// before the sheet shows the record's own patient.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "tests/host/display/HostShowFixture.h"
#include "tests/host/display/ScreenText.h"
#include "tests/support/XvfbTest.h"

using displaytest::WaitFor;
using displaytest::XvfbServer;

namespace {

class HostShowSharedRecordXmlTest : public showtest::HostShowFixture {
protected:
    // Shows the record's patient sheet: the box before it holds each line;
    // Return answers it, and Escape closes the sheet that follows, unsaved.
    void ExpectToldBeforeTheSheet(const std::string& record, const std::vector<std::wstring>& lines)
    {
        XvfbServer server;
        START_XVFB(server, showtest::kWidth, showtest::kHeight);
        ASSERT_TRUE(StartShow(server, {record, "--dialog", "CDlgPatientInfoComment"}));
        ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
        const xcb_window_t box = server.MappedWindows().front();
        CFont font;
        showtest::MessageBoxFont(font);
        for (const std::wstring& line : lines) {
            const showtest::Picture text = showtest::DrawnText(line.c_str(), font);
            EXPECT_TRUE(WaitFor([&] { return showtest::FindText(showtest::GrabWindow(server, box), text).x >= 0; }))
                << testsupport::Utf8(line.c_str()) << " is not in the box";
        }
        ASSERT_TRUE(server.Input({"key", "Return"}));
        ASSERT_TRUE(WaitWhileShowing([&] {
            const auto windows = server.MappedWindows();
            return windows.size() == 1 && windows.front() != box;
        })) << ShowErrors();
        ASSERT_TRUE(server.Input({"key", "Escape"}));
        EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << ShowErrors();
        EXPECT_NE(std::string::npos, ShowOutput().find("closed"));
    }
};

}  // namespace

TEST_F(HostShowSharedRecordXmlTest, TheSheetOfARecordWhoseRecordXmlMayBeAnothersSaysSoNamingBothFiles)
{
    hosttest::MakeRecords({"synth", "--kind", "rest12", "--id", "AAA-1", "--name", "患者 甲", "--out", m_dir.File("s.ecg")});
    const std::string older = m_dir.File("s20240401093000.xml");
    hosttest::MakeRecords({"xml", "--for", m_dir.File("s.ecg"), "--out", older});
    // The person changed the stored id: neither record file gives it.
    const std::string stored = std::regex_replace(testsupport::ReadFileBytes(older), std::regex("<Patient_id>AAA-1<"),
                                                  "<Patient_id>ZZZ-9<");
    std::ofstream(older, std::ios::binary | std::ios::trunc) << stored;
    hosttest::MakeRecords({"synth", "--kind", "rest12", "--id", "BBB-2", "--name", "患者 乙", "--out", m_dir.File("s.dat")});

    ExpectToldBeforeTheSheet(m_dir.File("s.dat"),
                             {L"記録XML「s20240401093000.xml」は記録ファイル名を持たないため、", L"s.dat と s.ecg"});
    EXPECT_EQ(stored, testsupport::ReadFileBytes(older));
}

TEST_F(HostShowSharedRecordXmlTest, TheSheetOfARecordBesideTheRecordXmlOfAMovedRecordSaysSoNamingBothFiles)
{
    const std::string folder = m_dir.File("moved");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
    hosttest::MakeRecords({"synth", "--kind", "rest12", "--id", "AAA-1", "--name", "患者 甲", "--out", folder + "/s.ecg"});
    const hosttest::HostRun saved = hosttest::Host(
        {"dialog", "s.ecg", "--dialog", "CDlgPatientInfoComment", "--set", "3421=甲の所見", "--ok", "編集者"}, folder);
    ASSERT_EQ(0, saved.status) << saved.err;
    std::string xml;
    for (const std::string& entry : testsupport::FolderEntries(folder))
        if (entry.size() > 4 && entry.compare(entry.size() - 4, 4, ".xml") == 0) xml = entry;
    ASSERT_FALSE(xml.empty());
    const std::string stored = testsupport::ReadFileBytes(folder + "/" + xml);
    ASSERT_EQ(0, std::rename((folder + "/s.ecg").c_str(), m_dir.File("s.ecg").c_str()));
    hosttest::MakeRecords({"synth", "--kind", "rest12", "--id", "BBB-2", "--name", "患者 乙", "--out", folder + "/s.dat"});

    ExpectToldBeforeTheSheet(folder + "/s.dat",
                             {L"記録XML「" + platform::FromUtf8(xml) + L"」は記録ファイル「s.ecg」のものとして作られ、",
                              L"の患者または検査日時と一致しません。この記録には表示しません。"});
    EXPECT_EQ(stored, testsupport::ReadFileBytes(folder + "/" + xml));
}
