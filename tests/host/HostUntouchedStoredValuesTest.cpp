// Values a save of another field must leave as the record XML stores them,
// though the reader turns them into something else: lead codes that are no
// plain number, and a confirmation the reader took from its older places.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// The record XML the record maker wrote beside a record.
std::string RecordXmlOf(const std::string& folder, const std::string& record)
{
    const std::string stem = record.substr(0, record.rfind('.'));
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".xml" && name.rfind(stem + "20", 0) == 0) return entry.path().string();
    }
    return std::string();
}

std::string Rewritten(const std::string& text, const std::regex& pattern, const std::string& format)
{
    return std::regex_replace(text, pattern, format);
}

// The values of a record XML whose path holds one of the fragments.
xmlchanges::Entries ValuesAt(const std::string& bytes, const std::vector<std::string>& fragments)
{
    xmlchanges::Entries found;
    for (const auto& [path, value] : xmlchanges::Read(bytes)) {
        for (const std::string& fragment : fragments)
            if (path.find(fragment) != std::string::npos) found.emplace(path, value);
    }
    return found;
}

struct LeadCodeSave {
    const char* maker;
    const char* record;
    std::vector<std::string> save;   // the host's arguments after the record
    const char* typed;               // a text the save writes, to know it saved
};

// Each lead code is stored with a letter before it ("A9", read as no code)
// and the edited names' codes with a blank and a leading zero; a save of a
// field elsewhere keeps every one of them byte for byte.
TEST(HostUntouchedStoredValues, LeadCodesThatAreNoPlainNumberOutliveASaveOfAnotherField)
{
    const LeadCodeSave saves[] = {
        {"samples", "rest15_90.ecg", {"dialog", "--dialog", "CDlgPatientInfoComment", "--set", "3225=171", "--ok", "e"},
         "171"},
        {"samples", "rest15_80.ecg", {"view", "--view", "CFormPatientInfo", "--type", "3015=171", "--save"}, "171"},
        {"samples", "rhythm_90.ecg", {"view", "--view", "CFormInterpreRhyRR", "--type", "3641=胸痛", "--save"},
         "胸痛"},
        {"examinations", "rhythm38_90.ecg", {"view", "--view", "CFormInterpreRhyRR", "--type", "3641=胸痛", "--save"},
         "胸痛"},
        {"samples", "extra_90.ecg", {"view", "--view", "CFormInterpreRhyRR", "--type", "3641=胸痛", "--save"},
         "胸痛"},
        {"examinations", "extra6_90.ecg", {"dialog", "--dialog", "CDlgInfoCommentGeneral", "--set", "3706=胸痛", "--ok", "E"},
         "胸痛"},
    };
    const std::regex code("<Lead_code>([^<]*)</Lead_code>");
    const std::vector<std::string> codes = {"/Lead_code", "/@code"};
    for (const LeadCodeSave& s : saves) {
        SCOPED_TRACE(s.record);
        TempDir dir;
        MakeRecords({s.maker, dir.Path()});
        const std::string xml = RecordXmlOf(dir.Path(), s.record);
        ASSERT_FALSE(xml.empty());
        std::string before = testsupport::ReadFileBytes(xml);
        before = Rewritten(before, code, "<Lead_code>A$1</Lead_code>");
        before = Rewritten(before, std::regex("code=\"(\\d+)\""), "code=\" 0$1\"");
        std::ofstream(xml, std::ios::binary) << before;
        ASSERT_NE(before.find("<Lead_code>A"), std::string::npos);

        std::vector<std::string> args = s.save;
        args.insert(args.begin() + 1, dir.File(s.record));
        if (args[0] == "view") args.insert(args.end(), {"--png", dir.File("form.png")});
        const HostRun run = Host(args);
        ASSERT_EQ(0, run.status) << run.err;
        const std::string after = testsupport::ReadFileBytes(xml);
        EXPECT_NE(after.find(s.typed), std::string::npos) << "the save did not take the field";
        EXPECT_EQ(ValuesAt(before, codes), ValuesAt(after, codes));
    }
}

// The confirmation's own doctor is empty, so the reader shows the patient
// section's doctor and an older date; a comment saved beside it is no new
// confirmation, and the stored one keeps its empty name and its 10:00.
TEST(HostUntouchedStoredValues, AConfirmationReadFromItsOlderPlacesIsNotWrittenOverTheStoredOne)
{
    TempDir dir;
    MakeRecords({"examinations", dir.Path()});
    const std::string xml = RecordXmlOf(dir.Path(), "extra6_90.ecg");
    ASSERT_FALSE(xml.empty());
    const std::regex confirm("<Confirm_editor>[\\s\\S]*?</Confirm_editor>");
    std::string before = testsupport::ReadFileBytes(xml);
    std::smatch stored;
    ASSERT_TRUE(std::regex_search(before, stored, confirm));
    std::string edited = std::regex_replace(stored.str(), std::regex("<Editor_name>[^<]*</Editor_name>"),
                                            "<Editor_name></Editor_name>");
    edited = std::regex_replace(edited, std::regex("hour=\"\\d+\" minute=\"\\d+\""), "hour=\"10\" minute=\"00\"");
    before.replace(static_cast<size_t>(stored.position()), static_cast<size_t>(stored.length()), edited);
    ASSERT_NE(before.find("<Doctor>"), std::string::npos);
    std::ofstream(xml, std::ios::binary) << before;

    const HostRun run = Host({"dialog", dir.File("extra6_90.ecg"), "--dialog", "CDlgInfoCommentGeneral", "--set",
                              "3706=X", "--ok", "E"});
    ASSERT_EQ(0, run.status) << run.err;
    const std::string after = testsupport::ReadFileBytes(xml);
    EXPECT_NE(after.find(">X<"), std::string::npos) << "the comment was not saved";
    const xmlchanges::Entries kept = ValuesAt(before, {"/Confirm_editor"});
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept, ValuesAt(after, {"/Confirm_editor"}));
}

}  // namespace
