// The exercise comment through the host's sheet: a comment saved as three
// full lines comes back whole when another field of the sheet is saved.
#include <gtest/gtest.h>

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

std::string Repeated(const std::string& text, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

}  // namespace

// 180 letters (or 90 这) are saved as three full lines; the judgement saved
// afterwards changes the judgement and the edit stamps only: the comment's
// two line breaks take none of its 180 columns.
TEST(HostExerciseComment, ACommentOfThreeFullLinesSurvivesTheSaveOfAnotherField)
{
    TempDir dir;
    MakeRecords({"examinations", dir.Path()});
    const std::string record = dir.File("exercise_90.ecg");
    const std::string xml = dir.File("exercise_9020240401093000.xml");
    for (const std::string ch : {"a", "这"}) {
        SCOPED_TRACE(ch);
        const int perLine = ch == "a" ? 60 : 30;
        const std::string line = Repeated(ch, perLine);
        const HostRun stored = Host({"dialog", record, "--dialog", "CDlgInfoCommentGeneral", "--set",
                                     "4173=" + Repeated(ch, 3 * perLine), "--ok", "編集者"});
        ASSERT_EQ(stored.status, 0) << stored.err;
        ASSERT_EQ(StoredComment(xml), line + "\n" + line + "\n" + line);

        const std::string before = testsupport::ReadFileBytes(xml);
        const HostRun judged = Host({"dialog", record, "--dialog", "CDlgInfoCommentGeneral", "--page", "0", "--set",
                                     std::string("4158=") + (ch == "a" ? "異常" : "正常"), "--ok", "高橋"});
        EXPECT_EQ(judged.status, 0) << judged.err;
        EXPECT_NE(judged.out.find("saved"), std::string::npos) << judged.out;
        EXPECT_EQ(StoredComment(xml), line + "\n" + line + "\n" + line);
        const std::string judgement = "/Rawdata/Tavrion/Analysis/Analysis_section/Judgement";
        EXPECT_TRUE(xmlchanges::OnlyChanged(before, testsupport::ReadFileBytes(xml),
                                            {judgement, xmlchanges::place::kRecordEditTime,
                                             xmlchanges::place::kPatientStamp},
                                            {judgement}));
    }
}
