// A record XML made before record XMLs named their record file, beside two
// record files of its stem whose patients do not tell whose it is: the
// person who opens either record's sheet on the screen is told so, with
// the files named, before the sheet shows the record's own patient.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>

#include "tests/host/display/HostShowFixture.h"
#include "tests/host/display/ScreenText.h"
#include "tests/support/XvfbTest.h"

using displaytest::WaitFor;
using displaytest::XvfbServer;

namespace {

class HostShowSharedRecordXmlTest : public showtest::HostShowFixture {
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

    XvfbServer server;
    START_XVFB(server, showtest::kWidth, showtest::kHeight);
    ASSERT_TRUE(StartShow(server, {m_dir.File("s.dat"), "--dialog", "CDlgPatientInfoComment"}));
    ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
    const xcb_window_t box = server.MappedWindows().front();
    CFont font;
    showtest::MessageBoxFont(font);
    for (const wchar_t* line : {L"記録XML「s20240401093000.xml」は記録ファイル名を持たないため、", L"s.dat と s.ecg"}) {
        const showtest::Picture text = showtest::DrawnText(line, font);
        EXPECT_TRUE(WaitFor([&] { return showtest::FindText(showtest::GrabWindow(server, box), text).x >= 0; }))
            << testsupport::Utf8(line) << " is not in the box";
    }
    // Return answers the box; the sheet follows it, and Escape closes it unsaved.
    ASSERT_TRUE(server.Input({"key", "Return"}));
    ASSERT_TRUE(WaitWhileShowing([&] {
        const auto windows = server.MappedWindows();
        return windows.size() == 1 && windows.front() != box;
    })) << ShowErrors();
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << ShowErrors();
    EXPECT_NE(std::string::npos, ShowOutput().find("closed"));
    EXPECT_EQ(stored, testsupport::ReadFileBytes(older));
}
