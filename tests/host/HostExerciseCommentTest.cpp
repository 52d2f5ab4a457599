// The exercise comment through the host's sheet: a comment saved as three
// full lines comes back whole when another field of the sheet is saved.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// The text of the record XML's exercise comment, its line breaks as LF.
std::string StoredComment(const std::string& xml)
{
    const std::string text = testsupport::ReadFileBytes(xml);
    const std::string open = "<Comment_content>", close = "</Comment_content>";
    const size_t start = text.find(open), end = text.find(close);
    if (start == std::string::npos || end == std::string::npos) return "(none)";
    std::string comment = text.substr(start + open.size(), end - start - open.size());
    for (const std::string cr : {"&#13;", "&#xD;", "\r"})
        for (size_t at; (at = comment.find(cr)) != std::string::npos;) comment.erase(at, cr.size());
    return comment;
}

// The exercise record's record XML in the folder.
std::string RecordXml(const std::string& folder)
{
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("exercise_90", 0) == 0 && entry.path().extension() == ".xml") return entry.path().string();
    }
    return std::string();
}

const std::string kJudgement = "/Rawdata/Tavrion/Analysis/Analysis_section/Judgement";

std::string Repeated(const std::string& text, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

}  // namespace

// 180 letters (or 90 这) are saved as three full lines; the judgement saved
// afterwards changes the judgement and the edit stamps only: the comment's
// two line breaks take none of its 180 columns. Alike on a record whose
// record XML the first save makes.
TEST(HostExerciseComment, ACommentOfThreeFullLinesSurvivesTheSaveOfAnotherField)
{
    for (const bool withXml : {true, false}) {
        SCOPED_TRACE(withXml ? "with its record XML" : "without its record XML");
        TempDir dir;
        MakeRecords({"examinations", dir.Path()});
        const std::string record = dir.File("exercise_90.ecg");
        if (!withXml) {
            ASSERT_EQ(std::remove(dir.File("exercise_9020240401093000.xml").c_str()), 0);
        }
        for (const std::string ch : {"a", "这"}) {
            SCOPED_TRACE(ch);
            const int perLine = ch == "a" ? 60 : 30;
            const std::string line = Repeated(ch, perLine);
            const HostRun stored = Host({"dialog", record, "--dialog", "CDlgInfoCommentGeneral", "--set",
                                         "4173=" + Repeated(ch, 3 * perLine), "--ok", "編集者"});
            ASSERT_EQ(stored.status, 0) << stored.err;
            // The record XML the first save makes is named by the time it was made.
            const std::string xml = RecordXml(dir.Path());
            ASSERT_EQ(StoredComment(xml), line + "\n" + line + "\n" + line);

            const std::string before = testsupport::ReadFileBytes(xml);
            const HostRun judged = Host({"dialog", record, "--dialog", "CDlgInfoCommentGeneral", "--page", "0",
                                         "--set", std::string("4158=") + (ch == "a" ? "異常" : "正常"), "--ok",
                                         "高橋"});
            EXPECT_EQ(judged.status, 0) << judged.err;
            EXPECT_NE(judged.out.find("saved"), std::string::npos) << judged.out;
            EXPECT_EQ(StoredComment(xml), line + "\n" + line + "\n" + line);
            std::vector<std::string> allowed = {kJudgement, xmlchanges::place::kRecordEditTime,
                                                xmlchanges::place::kPatientStamp};
            // A record XML the host made gets the exercise lead selection on
            // its next save; that is not the comment's doing.
            if (!withXml) allowed.push_back("/Rawdata/Assist_info");
            EXPECT_TRUE(xmlchanges::OnlyChanged(before, testsupport::ReadFileBytes(xml), allowed, {kJudgement}));
        }
    }
}

// A record XML without a comment gets none from a save of another field.
TEST(HostExerciseComment, ARecordWithoutACommentGetsNoneFromTheSaveOfAnotherField)
{
    TempDir dir;
    MakeRecords({"examinations", dir.Path()});
    const std::string xml = dir.File("exercise_9020240401093000.xml");
    const std::string text = testsupport::ReadFileBytes(xml);
    const size_t start = text.find("<Comment_content>");
    const size_t end = text.find("</Comment_content>");
    ASSERT_NE(start, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const std::string before = text.substr(0, start) + text.substr(end + std::string("</Comment_content>").size());
    dir.Write("exercise_9020240401093000.xml", before);
    const HostRun judged = Host({"dialog", dir.File("exercise_90.ecg"), "--dialog", "CDlgInfoCommentGeneral",
                                 "--page", "0", "--set", "4158=異常", "--ok", "高橋"});
    EXPECT_EQ(judged.status, 0) << judged.err;
    EXPECT_EQ(StoredComment(xml), "(none)");
    EXPECT_TRUE(xmlchanges::OnlyChanged(before, testsupport::ReadFileBytes(xml),
                                        {kJudgement, xmlchanges::place::kRecordEditTime,
                                         xmlchanges::place::kPatientStamp},
                                        {kJudgement}));
}
