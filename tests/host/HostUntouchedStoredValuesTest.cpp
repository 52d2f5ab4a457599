// Values a save of another field must leave as the record XML stores them,
// though the reader turns them into something else: lead codes that are no
// plain number, and a confirmation wherever the reader took it from.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/PatientInfo.h"
#include "core/TavrionDoc.h"
#include "dialogs/EditingOk.h"
#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/DocumentTestSupport.h"

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

// Runs a save's host command, its arguments after the record, on the record
// made in `dir`; a form's picture goes beside it.
HostRun RunSave(std::vector<std::string> args, TempDir& dir, const char* record)
{
    args.insert(args.begin() + 1, dir.File(record));
    if (args[0] == "view") args.insert(args.end(), {"--png", dir.File("form.png")});
    return Host(args);
}

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

        const HostRun run = RunSave(s.save, dir, s.record);
        ASSERT_EQ(0, run.status) << run.err;
        const std::string after = testsupport::ReadFileBytes(xml);
        EXPECT_NE(after.find(s.typed), std::string::npos) << "the save did not take the field";
        EXPECT_EQ(ValuesAt(before, codes), ValuesAt(after, codes));
    }
}

// The places a save of one field stamps: editors and their dates, the
// record's edit time, and the confirming editor where the confirmation was
// read from the older places (the save renews the date it was read from).
const std::vector<std::string> kSaveStamps = {
    "/Rawdata/Tavrion/Inspection/Patient_section/Edit_time",
    "/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor",
    "/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor",
    "/Rawdata/Tavrion/Analysis/Analysis_edit",
    "/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor",
    "/Rawdata/Tavrion/Addition/Patient_add_section/Addition_editor",
};
const char kConfirmEditor[] = "/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor";

struct FieldSave {
    const char* maker;   // "samples", "examinations", or "mfer" for a 12-lead MFER file
    const char* record;
    std::vector<std::string> save;   // the host's arguments after the record
    const char* typed;               // the text the save writes into the field
    const char* place;               // the field's element, where more than its text changes
};

// Where the confirmation stands in the record XML as the walk gives it.
// The awaiting shapes read as unconfirmed: the patient's doctor with no
// analysis date to fall back on.
enum class ConfirmShape { None, EmptyNameOwnDate, Own, AwaitingNone, AwaitingEmptyNameOwnDate };

bool Awaiting(ConfirmShape shape)
{
    return shape == ConfirmShape::AwaitingNone || shape == ConfirmShape::AwaitingEmptyNameOwnDate;
}

std::string Shaped(std::string xml, ConfirmShape shape)
{
    const std::regex confirm("<Confirm_editor>[\\s\\S]*?</Confirm_editor>");
    std::smatch stored;
    if (!std::regex_search(xml, stored, confirm)) return xml;
    std::string edited = stored.str();
    if (shape == ConfirmShape::None || shape == ConfirmShape::AwaitingNone) edited.clear();
    if (shape == ConfirmShape::EmptyNameOwnDate || shape == ConfirmShape::AwaitingEmptyNameOwnDate) {
        edited = std::regex_replace(edited, std::regex("<Editor_name>[^<]*</Editor_name>"), "<Editor_name></Editor_name>");
        edited = std::regex_replace(edited, std::regex("hour=\"\\d+\" minute=\"\\d+\""), "hour=\"10\" minute=\"00\"");
    }
    xml.replace(static_cast<size_t>(stored.position()), static_cast<size_t>(stored.length()), edited);
    if (Awaiting(shape))
        for (const char* editor : {"(<Analysis_editor>[\\s\\S]*?hour=\")\\d+", "(<Analysis_edit>[\\s\\S]*?hour=\")\\d+"})
            xml = std::regex_replace(xml, std::regex(editor), "$0125", std::regex_constants::format_first_only);
    // The second medication is optional: a save of another field adds none.
    return std::regex_replace(xml, std::regex("<Medication number=\"2\"[^>]*?(/>|>[^<]*</Medication>)"), "");
}

class HostConfirmationWalk : public testsupport::DocumentTest {
protected:
    // The confirmation as the forms, sheets and tables show it.
    _PATIENT_INFO Reading(const std::string& xml)
    {
        CTavrionDoc reader;
        reader.GetCtrlPosFromXSL(LOAD_POS_REST);
        CECGXMLParser parser(testsupport::Wide(xml), 0, CString());
        _PATIENT_INFO read;
        reader.GetPatInfoFromXML(0, read, &parser);
        return read;
    }
};

// Every kind saves another field with the confirmation where the reader
// finds it first, where it falls back on the patient's doctor and the
// analysis date (no confirming editor, or one with an empty name and its own
// date), and with the second medication missing. The confirmation reads the
// same doctor and date afterwards (a confirmed one now as edited after it);
// a confirming editor of its own stays byte for byte, and the rest of the
// record XML stays as stored but for the field and the save's stamps.
TEST_F(HostConfirmationWalk, ASaveOfAnotherFieldLeavesTheConfirmationReadingAsShownWhereverItWasRead)
{
    const FieldSave saves[] = {
        {"samples", "rest12_90.ecg", {"view", "--view", "CFormPatientInfo", "--type", "3015=171", "--save"}, "171",
         "/Rawdata/Tavrion/Inspection/Patient_section/Height_weight"},
        {"samples", "rest15_90.ecg", {"dialog", "--dialog", "CDlgPatientInfoComment", "--set", "3225=171", "--ok", "e"},
         "171", "/Rawdata/Tavrion/Inspection/Patient_section/Height_weight"},
        {"samples", "rhythm_90.ecg", {"view", "--view", "CFormInterpreRhyRR", "--type", "3641=胸痛", "--save"}, "胸痛",
         nullptr},
        {"samples", "rr_90.ecg", {"view", "--view", "CFormInterpreRhyRR", "--type", "3641=胸痛", "--save"}, "胸痛",
         nullptr},
        {"samples", "extra_90.ecg", {"view", "--view", "CFormInterpreRhyRR", "--type", "3641=胸痛", "--save"}, "胸痛",
         nullptr},
        {"examinations", "mstep243.ecg", {"view", "--view", "CFormInterpreMsfr", "--type", "3605=胸痛", "--save"},
         "胸痛", nullptr},
        {"examinations", "exercise_90.ecg",
         {"dialog", "--dialog", "CDlgInfoCommentGeneral", "--set", "4142=胸痛", "--ok", "E"}, "胸痛", nullptr},
        {"examinations", "extra6_90.ecg",
         {"dialog", "--dialog", "CDlgInfoCommentGeneral", "--set", "3706=胸痛", "--ok", "E"}, "胸痛", nullptr},
        {"examinations", "exercise_90.ecg", {"view", "--view", "CFormInterpreExer", "--type", "4023=頭痛", "--save"},
         "頭痛", nullptr},
        {"examinations", "mstep243.ecg",
         {"dialog", "--dialog", "CDlgInfoCommentGeneral", "--set", "3758=異常", "--ok", "編集者"}, "異常",
         "/Rawdata/Tavrion/Analysis/Analysis_section/Judgement"},
        {"mfer", "mfer12.mwf",
         {"dialog", "--dialog", "CDlgPatientInfoComment", "--page", "1", "--set", "3307=1-1-1", "--ok", "編集者"},
         "大きなQ波", "/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas"},
    };
    for (const FieldSave& s : saves) {
        for (ConfirmShape shape : {ConfirmShape::None, ConfirmShape::EmptyNameOwnDate, ConfirmShape::Own,
                                   ConfirmShape::AwaitingNone, ConfirmShape::AwaitingEmptyNameOwnDate}) {
            SCOPED_TRACE(std::string(s.record) + " shape " + std::to_string(static_cast<int>(shape)));
            TempDir dir;
            std::string xml;
            if (std::string(s.maker) == "mfer") {
                xml = dir.File("Raw_mfer1220240401093000.xml");
                MakeRecords({"mfer", "--kind", "plain", "--leads", "12", "--out", dir.File(s.record), "--xml-out", xml});
            } else {
                MakeRecords({s.maker, dir.Path()});
                xml = RecordXmlOf(dir.Path(), s.record);
            }
            ASSERT_FALSE(xml.empty());
            const std::string made = testsupport::ReadFileBytes(xml);
            ASSERT_NE(made.find("<Confirm_editor>"), std::string::npos);
            ASSERT_NE(made.find("<Doctor>"), std::string::npos);
            const std::string before = Shaped(made, shape);
            std::ofstream(xml, std::ios::binary) << before;
            const _PATIENT_INFO shown = Reading(xml);
            ASSERT_EQ(Awaiting(shape), shown.strConfirmDate.IsEmpty());

            const HostRun run = RunSave(s.save, dir, s.record);
            ASSERT_EQ(0, run.status) << run.err;
            const std::string after = testsupport::ReadFileBytes(xml);
            ASSERT_NE(after.find(s.typed), std::string::npos) << "the save did not take the field";

            const _PATIENT_INFO read = Reading(xml);
            EXPECT_EQ(shown.strConfirmDoctor, read.strConfirmDoctor);
            EXPECT_EQ(shown.strConfirmDate, read.strConfirmDate);
            // A save that stamps a date past the confirmation reads as an edit
            // after it; one awaiting its doctor still awaits.
            if (Awaiting(shape) || read.strConfirmation == shown.strConfirmation) {
                EXPECT_EQ(testsupport::Utf8(shown.strConfirmation), testsupport::Utf8(read.strConfirmation));
            } else {
                EXPECT_EQ(testsupport::Utf8(CEditingOk::EditedAfterConfirmText(shown.strConfirmDate,
                                                                               shown.strConfirmDoctor)),
                          testsupport::Utf8(read.strConfirmation));
            }
            if (shape == ConfirmShape::Own) {
                EXPECT_EQ(ValuesAt(before, {"/Confirm_editor"}), ValuesAt(after, {"/Confirm_editor"}));
            }

            std::vector<std::string> allowed = kSaveStamps;
            if (shape != ConfirmShape::Own) allowed.push_back(kConfirmEditor);
            if (s.place) allowed.push_back(s.place);
            std::string unexpected;
            for (const xmlchanges::Change& c : xmlchanges::Changes(xmlchanges::Read(before), xmlchanges::Read(after))) {
                bool stamp = false;
                for (const std::string& place : allowed)
                    stamp = stamp || xmlchanges::Plain(c.path).rfind(place, 0) == 0;
                const bool field = c.inAfter && c.after.find(s.typed) != std::string::npos;
                if (!stamp && !field) unexpected += "\n  " + xmlchanges::Describe(c);
            }
            EXPECT_TRUE(unexpected.empty()) << unexpected;
        }
    }
}

}  // namespace
