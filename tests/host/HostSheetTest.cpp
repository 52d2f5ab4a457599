// The host's patient sheets: shown on a page as PNG, and typed into and
// saved through the sheet as a user does.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tests/host/HostRun.h"
#include "tools/Mkrecord.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// Whether the record XML on disk holds the element with that text.
bool Holds(const std::string& xml, const std::string& element, const std::string& text)
{
    return testsupport::ReadFileBytes(xml).find("<" + element + ">" + text + "</" + element + ">") != std::string::npos;
}

}  // namespace

TEST(HostSheet, EachSheetRendersOnTheAskedPageWithoutTouchingTheRecord)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const struct {
        const char* record;
        const char* xml;
        const char* dialog;
        const char* page;
    } cases[] = {
        {"rest12_90.ecg", "rest12_9020240401093000.xml", "CDlgPatientInfoComment", "1"},
        {"rest15_80.ecg", "rest15_8020240401093000.xml", "CDlgPatientInfoComment", "0"},
        {"rhythm_90.ecg", "rhythm_9020240401093000.xml", "CDlgInfoCommentGeneral", "0"},
        {"rr_90.ecg", "rr_9020240401093000.xml", "CDlgInfoCommentGeneral", "1"},
    };
    for (const auto& c : cases) {
        const std::string before = testsupport::ReadFileBytes(dir.File(c.xml));
        const std::string png = dir.File(std::string(c.record) + ".png");
        const HostRun run = Host({"dialog", dir.File(c.record), "--dialog", c.dialog, "--page", c.page, "--png", png});
        EXPECT_EQ(run.status, 0) << c.record << run.err;
        EXPECT_TRUE(IsPng(png)) << c.record;
        EXPECT_EQ(testsupport::ReadFileBytes(dir.File(c.xml)), before) << c.record;
    }
}

TEST(HostSheet, TypedFieldsAreSavedThroughTheSheetAndASecondRunChangesNothing)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const std::string record = dir.File("rest12_90.ecg");
    const std::string xml = dir.File("rest12_9020240401093000.xml");
    const std::vector<std::string> args = {"dialog", record, "--dialog", "CDlgPatientInfoComment", "--set",
                                           "3208=山田花子", "--set", "3421=経過観察", "--ok", "編集者"};
    const HostRun saved = Host(args);
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_NE(saved.out.find("CDlgPatientInfoComment: saved"), std::string::npos) << saved.out;
    EXPECT_TRUE(Holds(xml, "Patient_name", "山田花子"));
    EXPECT_TRUE(Holds(xml, "Comment_content", "経過観察"));

    const std::string after = testsupport::ReadFileBytes(xml);
    const HostRun again = Host(args);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("nothing changed"), std::string::npos) << again.out;
    EXPECT_EQ(testsupport::ReadFileBytes(xml), after);
}

// A record XML that holds no age takes the one typed: the sheet shows it
// when the record is opened again, so the same age typed again changes
// nothing. Both readers' records alike.
TEST(HostSheet, AnAgeTypedIntoARecordWithoutOneReadsBackWhenReopened)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    for (const char* stem : {"rest12_90", "rest12_80"}) {
        SCOPED_TRACE(stem);
        const std::string xml = std::string(stem) + "20240401093000.xml";
        const std::string text = testsupport::ReadFileBytes(dir.File(xml));
        const std::string without = std::regex_replace(text, std::regex("<Age [^>]*/>"), "");
        ASSERT_NE(without, text);
        dir.Write(xml, without);
        const std::vector<std::string> args = {"dialog", dir.File(std::string(stem) + ".ecg"), "--dialog",
                                               "CDlgPatientInfoComment", "--set", "3214=58", "--ok", "編集者"};
        const HostRun saved = Host(args);
        EXPECT_EQ(saved.status, 0) << saved.err;
        EXPECT_NE(saved.out.find("CDlgPatientInfoComment: saved"), std::string::npos) << saved.out;
        const HostRun again = Host(args);
        EXPECT_EQ(again.status, 0) << again.err;
        EXPECT_NE(again.out.find("nothing changed"), std::string::npos) << again.out;
    }
}

TEST(HostSheet, ARefusedValueIsShownAndNothingIsSaved)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const std::string xml = dir.File("rest12_9020240401093000.xml");
    const std::string before = testsupport::ReadFileBytes(xml);
    const HostRun run = Host({"dialog", dir.File("rest12_90.ecg"), "--dialog", "CDlgPatientInfoComment", "--set",
                              "3225=1.2.3", "--ok", "編集者"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("被検者情報の身長 should be unsigned float number!"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("not saved"), std::string::npos) << run.err;
    EXPECT_EQ(testsupport::ReadFileBytes(xml), before);
}

TEST(HostSheet, AnExerciseRecordSavesThroughTheGeneralSheet)
{
    TempDir dir;
    MakeRecords({"examinations", dir.Path()});
    const std::string xml = dir.File("exercise_9020240401093000.xml");
    const HostRun run = Host({"dialog", dir.File("exercise_90.ecg"), "--dialog", "CDlgInfoCommentGeneral", "--set",
                              "4110=負荷太郎", "--set", "4173=所見あり", "--ok", "編集者"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("saved"), std::string::npos) << run.out;
    EXPECT_TRUE(Holds(xml, "Patient_name", "負荷太郎"));
}

// The exercise comment is cut while typing to what its save keeps: 180
// columns in three lines of 60. 这 (which Shift-JIS lacks) and 한 (which
// neither code page holds) take two columns each, as they are drawn.
TEST(HostSheet, AnExerciseCommentTypedPastItsThreeLinesIsShownAndSavedAlike)
{
    TempDir dir;
    MakeRecords({"examinations", dir.Path()});
    const std::string xml = dir.File("exercise_9020240401093000.xml");
    for (const std::string wide : {"这", "한"}) {
        SCOPED_TRACE(wide);
        std::string typed, line;
        for (int i = 0; i < 120; ++i) typed += wide;
        for (int i = 0; i < 30; ++i) line += wide;
        const HostRun run = Host({"dialog", dir.File("exercise_90.ecg"), "--dialog", "CDlgInfoCommentGeneral",
                                  "--set", "4173=" + typed, "--ok", "編集者"});
        EXPECT_EQ(run.status, 0) << run.err;
        // Ninety characters, in the three lines the form shows.
        const std::string text = testsupport::ReadFileBytes(xml);
        const std::string open = "<Comment_content>", close = "</Comment_content>";
        const size_t start = text.find(open), end = text.find(close);
        ASSERT_NE(start, std::string::npos);
        ASSERT_NE(end, std::string::npos);
        std::string comment = text.substr(start + open.size(), end - start - open.size());
        for (const std::string cr : {"&#13;", "&#xD;", "\r"})
            for (size_t at; (at = comment.find(cr)) != std::string::npos;) comment.erase(at, cr.size());
        EXPECT_EQ(comment, line + "\n" + line + "\n" + line);
    }
}

TEST(HostSheet, ASheetRefusesARecordItDoesNotEditAndAnUnknownField)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const HostRun wrongKind = Host({"dialog", dir.File("rhythm_90.ecg"), "--dialog", "CDlgPatientInfoComment", "--png",
                                    dir.File("x.png")});
    EXPECT_EQ(wrongKind.status, 1);
    EXPECT_NE(wrongKind.err.find("does not take"), std::string::npos) << wrongKind.err;
    const std::string xml = dir.File("rest12_9020240401093000.xml");
    const std::string before = testsupport::ReadFileBytes(xml);
    const HostRun noField = Host({"dialog", dir.File("rest12_90.ecg"), "--dialog", "CDlgPatientInfoComment", "--set",
                                  "9999=x", "--ok", "編集者"});
    EXPECT_EQ(noField.status, 1);
    EXPECT_NE(noField.err.find("no field 9999"), std::string::npos) << noField.err;
    EXPECT_EQ(testsupport::ReadFileBytes(xml), before);
}

TEST(HostSheet, AllRendersTheSheetThatTakesTheRecordOnly)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const std::string out = dir.File("all");
    const HostRun run = Host({"dialog", dir.File("rest12_90.ecg"), "--dialog", "all", "--out", out});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(IsPng(out + "/CDlgPatientInfoComment.png"));
    EXPECT_FALSE(IsPng(out + "/CDlgInfoCommentGeneral.png"));
}

// A device record whose record XML is not made yet is saved through its
// sheet as one that has it: the host names the record XML, and the first
// save keeps what the file list showed of the file.
TEST(HostSheet, ADeviceRecordWithoutItsRecordXmlSavesThroughTheSheetKeepingWhatTheFileListShowed)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const struct {
        const char* record;
        const char* xml;
        const char* dialog;
        const char* comment;
    } cases[] = {
        {"rest12_90.ecg", "rest12_9020240401093000.xml", "CDlgPatientInfoComment", "3421=経過観察"},
        {"rhythm_90.ecg", "rhythm_9020240401093000.xml", "CDlgInfoCommentGeneral", "3706=経過観察"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(std::remove(dir.File(c.xml).c_str()), 0) << c.xml;
        const auto listed = [&] {
            const HostRun info = Host({"info", dir.File(c.record)});
            const size_t at = info.out.find("file list");
            return at == std::string::npos ? std::string() : info.out.substr(at, info.out.find('\n', at) - at);
        };
        const std::string before = listed();
        ASSERT_NE(before.find("MV-100"), std::string::npos) << before;
        const HostRun saved =
            Host({"dialog", dir.File(c.record), "--dialog", c.dialog, "--set", c.comment, "--ok", "編集者"});
        EXPECT_EQ(saved.status, 0) << c.record << saved.err;
        EXPECT_NE(saved.out.find(std::string(c.dialog) + ": saved"), std::string::npos) << c.record << saved.out;
        EXPECT_EQ(listed(), before) << c.record;
    }
}

TEST(HostSheet, APagePastThoseTheSheetHasOnTheRecordIsRefusedAndNothingIsWritten)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const struct {
        const char* record;
        const char* xml;
        const char* dialog;
        const char* page;
        const char* pages;
    } cases[] = {
        {"rhythm_90.ecg", "rhythm_9020240401093000.xml", "CDlgInfoCommentGeneral", "1", "0 to 0"},
        {"rest12_90.ecg", "rest12_9020240401093000.xml", "CDlgPatientInfoComment", "2", "0 to 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        const std::string before = testsupport::ReadFileBytes(dir.File(c.xml));
        const std::string png = dir.File(std::string(c.record) + ".png");
        HostRun run = Host({"dialog", dir.File(c.record), "--dialog", c.dialog, "--page", c.page, "--png", png});
        EXPECT_NE(0, run.status);
        EXPECT_NE(run.err.find(std::string("--page takes a page the sheet has on this record, ") + c.pages),
                  std::string::npos)
            << run.err;
        EXPECT_FALSE(IsPng(png));
        run = Host({"dialog", dir.File(c.record), "--dialog", c.dialog, "--page", c.page, "--set", "3706=X", "--ok",
                    "高橋"});
        EXPECT_NE(0, run.status);
        EXPECT_EQ(before, testsupport::ReadFileBytes(dir.File(c.xml)));
    }
}
