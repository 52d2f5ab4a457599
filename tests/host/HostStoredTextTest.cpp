// What the record XML holds comes back whole: every text field of the
// patient, request and addition rows is stored at or past the limit its
// field sets on typing (ASCII, kanji, 这, Hangul, ü), one other field is
// saved through each form and sheet, and the whole record XML is compared.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

std::string Times(const std::string& text, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

// Each element's text, past (or at) the limit of the field that shows it,
// within what the record-XML reader takes.
struct StoredText {
    const char* element;
    std::string text;
};

std::vector<StoredText> StoredTexts()
{
    return {
        {"Patient_id", "ID" + Times("这", 10)},          // 22 columns of 20
        {"Patient_name", "Müller-Lüdenscheidt"},          // 19 columns, drawn so
        {"Patient_kana_name", Times("한", 21)},           // 42 of 40
        {"Disease", Times("这", 12)},                     // 24 of 22
        {"Ward", "東3病棟" + Times("这", 8)},             // 23 of 22
        {"Department", "Kardiologie-Süd" + Times("这", 4)},
        {"Room_no", Times("这", 6)},                      // 12 of 10
        {"Request_doctor", Times("한", 11)},              // 22 of 20
        {"Technician", "Zoë " + Times("这", 8)},          // 20 of 20
        {"Sub_id", Times("这", 11)},
        {"Request_section", Times("这", 11)},
    };
}

// The sample's record XML with the texts above, an addition title of 这×20
// (40 columns of 32) over a text of 这×130, a title of 32 letters with ü, é
// and ß, a medication of 这×12 and, but for the exercise comment with its
// three lines, a comment of 这×130 (260 columns of 255).
std::string StoreTexts(const std::string& xml, bool comment)
{
    std::string text = testsupport::ReadFileBytes(xml);
    for (const StoredText& stored : StoredTexts()) {
        const std::string tag = stored.element;
        text = std::regex_replace(text, std::regex("<" + tag + ">[^<]*</" + tag + ">"),
                                  "<" + tag + ">" + stored.text + "</" + tag + ">");
    }
    text = std::regex_replace(text, std::regex("title=\"総合判定\">問題なし"),
                              "title=\"" + Times("这", 20) + "\">" + Times("这", 130));
    text = std::regex_replace(text, std::regex("title=\"既往歴\""), "title=\"Zoë-Müller-Lüdenscheidt-Straße-é\"");
    text = std::regex_replace(text, std::regex("index=\"0\">降圧剤"), "index=\"0\">" + Times("这", 12));
    if (comment)
        text = std::regex_replace(text, std::regex("<Comment_content>[^<]*</Comment_content>"),
                                  "<Comment_content>" + Times("这", 130) + "</Comment_content>",
                                  std::regex_constants::format_first_only);
    std::ofstream(xml, std::ios::binary) << text;
    return text;
}

// The lines of the record XML but the edit stamps and the lines the save
// was asked to change.
std::vector<std::string> KeptLines(const std::string& xml, const std::regex& changed)
{
    static const std::regex stamp("Edit_time|Edit_date|Editor_name");
    std::vector<std::string> lines;
    std::istringstream in(xml);
    for (std::string line; std::getline(in, line);)
        if (!std::regex_search(line, stamp) && !std::regex_search(line, changed)) lines.push_back(line);
    return lines;
}

struct Save {
    const char* maker;               // the record maker's command that makes the record
    const char* record;
    std::vector<std::string> args;   // after the record's path
    const char* changed;             // what the save changes
    const char* saved;               // and what it leaves there
};

}  // namespace

TEST(HostStoredText, ASaveOfOneFieldThroughAnyFormOrSheetLeavesEveryStoredTextWhole)
{
    const std::vector<Save> saves = {
        {"samples", "rest12_90", {"view", "--view", "CFormPatientInfo", "--type", "3015=171", "--save"},
         "<Height>|<Sub_height>", "<Height>171</Height>"},
        {"samples", "rest12_90", {"view", "--view", "CFormInterpre", "--type", "3035=頭痛", "--save"}, "<Symptom>",
         "<Symptom>頭痛</Symptom>"},
        {"samples", "rest12_90", {"view", "--view", "CFormInterpreAme", "--type", "3035=頭痛", "--save"}, "<Symptom>",
         "<Symptom>頭痛</Symptom>"},
        {"samples", "rest12_90", {"dialog", "--dialog", "CDlgPatientInfoComment", "--set", "3252=頭痛", "--ok", "高橋"},
         "<Symptom>", "<Symptom>頭痛</Symptom>"},
        {"samples", "rest12_90",
         {"dialog", "--dialog", "CDlgPatientInfoComment", "--page", "2", "--set", "3252=頭痛", "--ok", "高橋"},
         "<Symptom>", "<Symptom>頭痛</Symptom>"},
        {"samples", "rr_90", {"view", "--view", "CFormPatientInfo", "--type", "3015=171", "--save"}, "<Height>|<Sub_height>",
         "<Height>171</Height>"},
        {"samples", "rr_90", {"view", "--view", "CFormInterpreRhyRR", "--type", "3641=頭痛", "--save"}, "<Symptom>",
         "<Symptom>頭痛</Symptom>"},
        {"samples", "rr_90",
         {"dialog", "--dialog", "CDlgInfoCommentGeneral", "--page", "0", "--set", "3741=頭痛", "--ok", "高橋"},
         "<Symptom>", "<Symptom>頭痛</Symptom>"},
        {"samples", "rr_90",
         {"dialog", "--dialog", "CDlgInfoCommentGeneral", "--page", "1", "--set", "3741=頭痛", "--ok", "高橋"},
         "<Symptom>", "<Symptom>頭痛</Symptom>"},
        {"examinations", "extra6_90", {"view", "--view", "CFormInterpreRhyRR", "--type", "3641=頭痛", "--save"},
         "<Symptom>", "<Symptom>頭痛</Symptom>"},
        {"examinations", "extra6_90",
         {"dialog", "--dialog", "CDlgInfoCommentGeneral", "--page", "0", "--set", "3741=頭痛", "--ok", "高橋"},
         "<Symptom>", "<Symptom>頭痛</Symptom>"},
        {"examinations", "mstep243", {"view", "--view", "CFormInterpreMsfr", "--type", "3605=頭痛", "--save"},
         "<Symptom>", "<Symptom>頭痛</Symptom>"},
        {"examinations", "mstep243",
         {"dialog", "--dialog", "CDlgInfoCommentGeneral", "--page", "0", "--set", "3741=頭痛", "--ok", "高橋"},
         "<Symptom>", "<Symptom>頭痛</Symptom>"},
        {"examinations", "exercise_90", {"view", "--view", "CFormInterpreExer", "--type", "4023=頭痛", "--save"},
         "<Symptom>", "<Symptom>頭痛</Symptom>"},
        {"examinations", "exercise_90",
         {"dialog", "--dialog", "CDlgInfoCommentGeneral", "--page", "0", "--set", "4142=頭痛", "--ok", "高橋"},
         "<Symptom>", "<Symptom>頭痛</Symptom>"},
    };
    for (const Save& save : saves) {
        std::string described = save.record;
        for (const std::string& arg : save.args) described += " " + arg;
        SCOPED_TRACE(described);
        TempDir dir;
        ASSERT_EQ(0, RunProgram("morvelance-mkrecord", {save.maker, dir.Path()}).status);
        const std::string xml = dir.File(std::string(save.record) + "20240401093000.xml");
        const std::string before = StoreTexts(xml, std::string(save.record) != "exercise_90");
        // Each record XML holds most of the fields (not every kind all of them).
        int stored = 0;
        for (const StoredText& text : StoredTexts()) stored += before.find(">" + text.text + "<") != std::string::npos;
        ASSERT_GE(stored, 9);
        std::vector<std::string> args = save.args;
        args.insert(args.begin() + 1, dir.File(std::string(save.record) + ".ecg"));
        args.insert(args.end(), {"--png", dir.File("shown.png")});
        const HostRun run = Host(args);
        ASSERT_EQ(0, run.status) << run.err;
        const std::string after = testsupport::ReadFileBytes(xml);
        EXPECT_NE(after.find(save.saved), std::string::npos);
        const std::regex changed(save.changed);
        EXPECT_EQ(KeptLines(before, changed), KeptLines(after, changed));
    }
}

// A model-8000 resting record reads neither its birthday nor an age of 100
// or more, yet a save of its height leaves both as the XML held them.
TEST(HostStoredText, AModel8000RecordsBirthdayAndLongAgeOutliveASaveOfAnotherField)
{
    const std::vector<std::vector<std::string>> saves = {
        {"view", "--view", "CFormPatientInfo", "--type", "3015=171", "--save"},
        {"dialog", "--dialog", "CDlgPatientInfoComment", "--set", "3225=171", "--ok", "高橋"},
    };
    for (const std::vector<std::string>& save : saves) {
        SCOPED_TRACE(save[2]);
        TempDir dir;
        ASSERT_EQ(0, RunProgram("morvelance-mkrecord", {"samples", dir.Path()}).status);
        const std::string xml = dir.File("rest12_8020240401093000.xml");
        std::string before = std::regex_replace(testsupport::ReadFileBytes(xml), std::regex("<Age style=\"Age\" year=\"65\""),
                                                "<Age style=\"Age\" year=\"101\"");
        ASSERT_NE(before.find("year=\"101\""), std::string::npos);
        ASSERT_NE(before.find("<Birthday year=\"1958\" month=\"06\" day=\"15\"/>"), std::string::npos);
        std::ofstream(xml, std::ios::binary) << before;
        std::vector<std::string> args = save;
        args.insert(args.begin() + 1, dir.File("rest12_80.ecg"));
        args.insert(args.end(), {"--png", dir.File("shown.png")});
        const HostRun run = Host(args);
        ASSERT_EQ(0, run.status) << run.err;
        const std::string after = testsupport::ReadFileBytes(xml);
        EXPECT_NE(after.find("<Height>171</Height>"), std::string::npos);
        // The save also writes the empty fields a model-8000 record XML leaves out.
        EXPECT_NE(after.find("<Age style=\"Age\" year=\"101\""), std::string::npos);
        EXPECT_NE(after.find("<Birthday year=\"1958\" month=\"06\" day=\"15\"/>"), std::string::npos);
    }
}
