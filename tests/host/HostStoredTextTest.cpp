// What the record XML holds comes back whole: a record of every kind, its
// record XML holding every section the record maker writes and values its
// readers refuse (unknown codes, older wordings, an empty analysis date
// beside a valid one, a birthday of the year only, ...), every text field
// of the patient, request and addition rows at or past the limit its field
// sets on typing (ASCII, kanji, 这, Hangul, ü), additions with line breaks
// and blanks, and more code rows than the forms show; one other field is
// saved through every path the host offers, and the whole record XML is
// compared element by element.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

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

// A record XML made rich: every section the record maker writes for any
// kind with the values its readers refuse beside them, five additions, 10
// Minnesota and 12 IVREL rows (past the form's 8 and 11), the texts above,
// and additions the forms show on one line: a
// title of 这×20 (40 columns of 32) over a text of 这×130, a title and a
// text with a line break, a text of blanks and a row with neither title nor
// text. A medication of 这×12 and, but for the exercise comment with its
// three lines, a comment of 这×130 (260 columns of 255).
std::string StoreTexts(const std::string& xml, bool comment)
{
    std::string text = testsupport::ReadFileBytes(xml);
    for (const StoredText& stored : StoredTexts()) {
        const std::string tag = stored.element;
        text = std::regex_replace(text, std::regex("<" + tag + ">[^<]*</" + tag + ">"),
                                  "<" + tag + ">" + stored.text + "</" + tag + ">");
    }
    const std::string row = "<Addition_content number=\"";
    const std::vector<std::string> rows = {
        row + "1\" title=\"" + Times("这", 20) + "\">" + Times("这", 130) + "</Addition_content>",
        row + "2\" title=\"Zoë-Müller&#13;&#10;Lüdenscheidt\">行1&#13;&#10;行2</Addition_content>",
        row + "3\" title=\"服薬状況\">   </Addition_content>",
        row + "4\" title=\"\"></Addition_content>",
    };
    for (size_t i = 0; i < rows.size(); ++i)
        text = std::regex_replace(text, std::regex(row + std::to_string(i + 1) + "\"[^>]*>[^<]*</Addition_content>"),
                                  rows[i]);
    text = std::regex_replace(text, std::regex("index=\"0\">降圧剤"), "index=\"0\">" + Times("这", 12));
    if (comment)
        text = std::regex_replace(text, std::regex("<Comment_content>[^<]*</Comment_content>"),
                                  "<Comment_content>" + Times("这", 130) + "</Comment_content>",
                                  std::regex_constants::format_first_only);
    std::ofstream(xml, std::ios::binary) << text;
    return text;
}

const std::string kSection = "/Rawdata/Tavrion/Inspection/Patient_section";

// The field a save path has a person type into, and the place of the record
// XML it saves to.
struct Field {
    int id;
    const char* text;
    std::string place;
};

const Field kSymptom = {0, "頭痛", kSection + "/Symptom"};
const Field kHeight = {0, "171", kSection + "/Height_weight"};
const Field kComment = {4017, "頭痛", "/Rawdata/Tavrion/Comment/Voktext_section/Comment_content"};

Field WithId(Field field, int id)
{
    field.id = id;
    return field;
}

// An addition edited: the title of the third row, over a text of blanks.
// The row is the person's and is saved trimmed; the others stay as stored.
const Field kThirdAddition = {
    0, "頭痛", "/Rawdata[1]/Tavrion[1]/Addition[1]/Patient_add_section[1]/Addition_content[3]"};

// How to type into each class the host offers: the fields in the order
// tried, the first the form or sheet takes on the record (a model-8000
// record hides some), and the title of its third addition where it shows
// them. A class the host offers and the walk does not know fails it; a form
// with none of its fields to type saves as it is shown.
struct Typing {
    std::vector<Field> fields;
    int additionTitle;
};

std::map<std::string, Typing> TypingByClass()
{
    return {
        {"CDlgPatientInfoComment", {{WithId(kSymptom, 3252), WithId(kHeight, 3225)}, 3878}},
        {"CDlgInfoCommentGeneral",
         {{WithId(kSymptom, 3741), WithId(kSymptom, 4142), WithId(kHeight, 3724), WithId(kHeight, 4127)}, 3878}},
        {"CFormPatientInfo", {{WithId(kHeight, 3015)}, 0}},
        {"CFormInterpre", {{WithId(kSymptom, 3035), kComment}, 3973}},
        {"CFormInterpreAme", {{WithId(kSymptom, 3035), kComment}, 3973}},
        {"CFormInterpreRhyRR", {{WithId(kSymptom, 3641), kComment}, 4001}},
        {"CFormInterpreMsfr", {{WithId(kSymptom, 3605), kComment}, 3987}},
        {"CFormInterpreExer", {{WithId(kSymptom, 4023), kComment}, 0}},
    };
}

// The stamps of a save (its editors' names and times, the record's edit
// time, and the confirming doctor a model-8000 record's save is): they may
// change, but a stored one is never emptied.
const std::vector<std::string> kStamps = {
    kSection + "/Edit_time",
    kSection + "/Doctor",
    "/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor",
    "/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor",
    "/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor",
    "/Rawdata/Tavrion/Addition/Patient_add_section/Addition_editor",
};
// The analysis's: the sheets stamp every save they make as an analysis edit,
// the forms none, so a form's save leaves both analysis dates as stored,
// the empty one beside the other included.
const std::vector<std::string> kAnalysisStamps = {
    "/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor",
    "/Rawdata/Tavrion/Analysis/Analysis_edit",
};

// The values of the rich record its readers refuse (the record maker's
// --refused): each stays as stored through a save of another field.
const std::vector<std::string> kRefused = {
    "title=\"X-1\"",                                  // a Minnesota code of no valid form
    "title=\"ZZ9\"",                                  // an IVREL code in neither master list
    "心室期外収縮（旧）</Ivrel>",                       // an older wording of an IVREL code's text
    "境界域（旧）</Judgement>",                         // and of the judgement's
    "year=\"\" month=\"\" day=\"\" hour=\"\"",  // an empty analysis date beside the valid older one
    "<Sex value=\"M\"/>",                              // a sex no list holds
    "month=\"\" day=\"\"/>",                        // a birthday of the year only
    "index=\"\"",                                     // a medication typed, not picked
    "month=\"02\" day=\"30\"",                      // editors' dates that do not exist
    "<Bp_sys>1200</Bp_sys>",                            // past the readers' limits
    "<Weight>1200</Weight>",
    "<Max_hr>***</Max_hr>",                             // not measured
    "<Stop_condition/>",                                // not given
    "total=\"*\"/>",                                  // a trip total not counted, shown empty
    "code=\" 0",                                      // a lead's code with a blank and a leading zero
};

// A value stored outside the place typed into that the save emptied.
::testing::AssertionResult NoValueEmptied(const std::string& before, const std::string& after, const std::string& typed)
{
    std::string emptied;
    for (const xmlchanges::Change& change : xmlchanges::Changes(xmlchanges::Read(before), xmlchanges::Read(after))) {
        const bool field = !typed.empty() && (change.path.rfind(typed, 0) == 0 ||
                                              xmlchanges::Plain(change.path).rfind(typed, 0) == 0);
        if (!field && change.inBefore && !change.before.empty() && (!change.inAfter || change.after.empty()))
            emptied += "\n  emptied: " + xmlchanges::Describe(change);
    }
    if (emptied.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << emptied;
}

// The names of the pictures the host wrote into a folder that start so.
std::vector<std::string> Written(const std::string& folder, const std::string& prefix)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().stem().string();
        if (name.rfind(prefix, 0) == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A record of a kind the host takes, made by the record maker.
struct WalkedRecord {
    const char* file;
    const char* maker;   // "samples", "examinations", "synth", or the MFER kind
    const char* leads;   // the MFER file's lead count, where its kind takes one
    const char* kind = "";   // synth: the record kind, system code and flavour
    const char* code = "";
    const char* flavour = "";
};

void PrintTo(const WalkedRecord& record, std::ostream* os)
{
    *os << record.file;
}

class HostSaveWalk : public ::testing::TestWithParam<WalkedRecord> {
protected:
    // The record and its rich record XML in the folder; false when the
    // shared data it is made from is missing.
    bool MakeRecord(const std::string& folder, std::string& record, std::string& xml)
    {
        const WalkedRecord& walked = GetParam();
        const std::string file = walked.file;
        const std::string stem = file.substr(0, file.rfind('.'));
        record = folder + "/" + file;
        const std::vector<std::string> rich = {"--every-section", "--refused", "--additions", "5",
                                               "--minnesota",     "10",        "--ivrel",     "12"};
        std::vector<std::string> args;
        if (file.find(".mwf") != std::string::npos) {
            xml = folder + "/Raw_" + stem + "20240401093000.xml";
            args = {"mfer", "--kind", walked.maker, "--out", record, "--xml-out", xml};
            if (*walked.leads) args.insert(args.end(), {"--leads", walked.leads});
        } else if (std::string(walked.maker) == "synth") {
            MakeRecords({"synth", "--kind", walked.kind, "--code", walked.code, "--flavour", walked.flavour, "--out",
                         record});
            args = {"xml", "--for", record};
        } else {
            std::vector<std::string> make = {walked.maker, m_made.Path()};
            if (file == "mstep244.ecg") {
                const std::string ptb = testsupport::SharedData("physionet/ptb/s0010_re.hea");
                if (ptb.empty()) return false;
                make.insert(make.end(), {"--ptb", ptb.substr(0, ptb.size() - 4)});
            }
            MakeRecords(make);
            std::filesystem::copy_file(m_made.File(file), record);
            args = {"xml", "--for", record};
        }
        args.insert(args.end(), rich.begin(), rich.end());
        MakeRecords(args);
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().extension() == ".xml") xml = entry.path().string();
        return true;
    }

    TempDir m_made;
};

}  // namespace

// Every save path the host offers a record of each kind, found by walking
// it: the dialogs it lists (those that answer OK are the sheets, each walked
// page by page until a page comes round again) and the forms it draws. Each
// saves one field into a copy of the rich record XML, which is then compared
// whole, element by element and attribute by attribute: only the field and
// the save's stamps may change. An OK without an edit changes nothing.
TEST_P(HostSaveWalk, ASaveOfOneFieldThroughAnyPathTheHostOffersLeavesTheRestOfTheRecordXmlAsStored)
{
    TempDir dir;
    const std::string pristine = dir.File("pristine");
    std::filesystem::create_directory(pristine);
    std::string record, xml;
    if (!MakeRecord(pristine, record, xml)) GTEST_SKIP() << "shared data not present (physionet/ptb); skipping";
    const std::string file = std::filesystem::path(record).filename().string();
    const std::string xmlName = std::filesystem::path(xml).filename().string();
    const std::string before = StoreTexts(xml, file != "exercise_90.ecg");
    // A model-8000 record XML has few of the fields: that recorder keeps none of the requests.
    int stored = 0;
    for (const StoredText& text : StoredTexts()) stored += before.find(">" + text.text + "<") != std::string::npos;
    ASSERT_GE(stored, file.find("_80") != std::string::npos ? 3 : 8);
    ASSERT_NE(before.find("<Minnesota number=\"10\""), std::string::npos);
    ASSERT_NE(before.find("<Ivrel number=\"12\""), std::string::npos);
    ASSERT_NE(before.find("行1&#13;&#10;行2"), std::string::npos);
    for (const std::string& refused : kRefused) ASSERT_NE(before.find(refused), std::string::npos) << refused;
    // Lead codes that read as none or as another number, where the record stores its leads' codes.
    if (before.find("<Wave_data number=") != std::string::npos) ASSERT_NE(before.find("<Lead_code>A"), std::string::npos);

    int copies = 0;
    auto fresh = [&] {
        const std::string folder = dir.File("save" + std::to_string(++copies));
        std::filesystem::create_directory(folder);
        std::filesystem::copy_file(record, folder + "/" + file);
        std::filesystem::copy_file(xml, folder + "/" + xmlName);
        return folder;
    };
    const std::map<std::string, Typing> typing = TypingByClass();
    auto typingOf = [&](const std::string& name) {
        const auto found = typing.find(name);
        EXPECT_NE(found, typing.end()) << name << " saves, and the walk does not know how to type into it";
        return found == typing.end() ? Typing{{}, 0} : found->second;
    };
    int saves = 0;
    // One save through the path; false when it did not take the field, for
    // the next to be tried.
    auto save = [&](const std::vector<std::string>& args, const Field* field) {
        const std::string folder = fresh();
        std::vector<std::string> run = args;
        run.insert(run.begin() + 1, folder + "/" + file);
        const HostRun host = Host(run);
        if (host.status != 0 && field) return false;
        std::string described;
        for (const std::string& arg : args) described += " " + arg;
        SCOPED_TRACE(file + described);
        EXPECT_EQ(0, host.status) << host.err;
        const std::string after = testsupport::ReadFileBytes(folder + "/" + xmlName);
        std::vector<std::string> allowed = kStamps;
        if (args[0] == "dialog") allowed.insert(allowed.end(), kAnalysisStamps.begin(), kAnalysisStamps.end());
        std::vector<std::string> expected;
        if (field) allowed.push_back(field->place);
        if (field) expected.push_back(field->place);
        EXPECT_TRUE(xmlchanges::OnlyChanged(before, after, allowed, expected));
        EXPECT_TRUE(NoValueEmptied(before, after, field ? field->place : std::string()));
        ++saves;
        return true;
    };

    // The dialogs, OK pressed with nothing typed: the sheets answer.
    const std::string listed = dir.File("dialogs");
    const std::string untouched = fresh();
    const HostRun dialogs = Host({"dialog", untouched + "/" + file, "--dialog", "all", "--ok", "高橋", "--out", listed});
    ASSERT_EQ(0, dialogs.status) << dialogs.err;
    EXPECT_EQ(before, testsupport::ReadFileBytes(untouched + "/" + xmlName));
    std::vector<std::string> sheets;
    for (const std::string& name : Written(listed, "CDlg"))
        if (dialogs.out.find(name + ": ") != std::string::npos) sheets.push_back(name);
    ASSERT_FALSE(sheets.empty()) << dialogs.out;
    for (const std::string& sheet : sheets) {
        std::set<std::string> pages;
        for (int page = 0;; ++page) {
            ASSERT_LT(page, 6) << sheet << " shows more pages than a sheet has";
            // The host refuses a page number past the pages the sheet has on the record.
            const HostRun probe = Host({"dialog", untouched + "/" + file, "--dialog", sheet, "--page",
                                        std::to_string(page), "--png", dir.File("probe.png")});
            if (probe.status != 0 && probe.err.find("--page takes") != std::string::npos) break;
            ASSERT_EQ(0, probe.status) << probe.err;
            const std::string picture = dir.File(sheet + "-" + std::to_string(page) + ".png");
            bool taken = false;
            for (const Field& field : typingOf(sheet).fields) {
                taken = save({"dialog", "--dialog", sheet, "--page", std::to_string(page), "--set",
                              std::to_string(field.id) + "=" + field.text, "--ok", "高橋", "--png", picture},
                             &field);
                if (taken) break;
            }
            ASSERT_TRUE(taken) << sheet << " page " << page << " takes none of the walk's fields";
            EXPECT_TRUE(pages.insert(testsupport::ReadFileBytes(picture)).second)
                << sheet << " page " << page << " shows a page before it again";
        }
        // The additions page, where the record carries additions, from whichever page makes it.
        const Field addition = WithId(kThirdAddition, typingOf(sheet).additionTitle);
        for (int page = 0; addition.id && page < static_cast<int>(pages.size()); ++page) {
            if (save({"dialog", "--dialog", sheet, "--page", std::to_string(page), "--set",
                      std::to_string(addition.id) + "=" + addition.text, "--ok", "高橋", "--png", dir.File("a.png")},
                     &addition))
                break;
        }
    }

    const std::string views = dir.File("views");
    const HostRun drawn = Host({"view", fresh() + "/" + file, "--view", "all", "--out", views});
    ASSERT_EQ(0, drawn.status) << drawn.err;
    const std::vector<std::string> forms = Written(views, "CForm");
    ASSERT_FALSE(forms.empty());
    for (const std::string& form : forms) {
        const std::string picture = dir.File(form + ".png");
        bool taken = false;
        for (const Field& field : typingOf(form).fields) {
            const std::string typed = std::to_string(field.id) + "=" + field.text;
            taken = save({"view", "--view", form, "--type", typed, "--save", "--png", picture}, &field);
            if (taken) break;
        }
        if (!taken) save({"view", "--view", form, "--save", "--png", picture}, nullptr);
        const Field addition = WithId(kThirdAddition, typingOf(form).additionTitle);
        const std::string typed = std::to_string(addition.id) + "=" + addition.text;
        if (addition.id) save({"view", "--view", form, "--type", typed, "--save", "--png", picture}, &addition);
    }
    EXPECT_GE(saves, static_cast<int>(sheets.size() + forms.size()));
}

INSTANTIATE_TEST_SUITE_P(
    EveryRecordKind, HostSaveWalk,
    ::testing::Values(
        // Resting, rhythm, RR and extra-lead records of both recorders.
        WalkedRecord{"rest12_90.ecg", "samples", ""}, WalkedRecord{"rest12_80.ecg", "samples", ""},
        WalkedRecord{"rest15_90.ecg", "samples", ""}, WalkedRecord{"rest15_80.ecg", "samples", ""},
        WalkedRecord{"rhythm_90.ecg", "samples", ""}, WalkedRecord{"rhythm_80.ecg", "samples", ""},
        WalkedRecord{"rr_90.ecg", "samples", ""}, WalkedRecord{"rr_80.ecg", "samples", ""},
        WalkedRecord{"extra_90.ecg", "samples", ""},
        // Pacemaker, extended rhythm, extra-lead and freeze, master step and exercise.
        WalkedRecord{"rest12_pace_80.ecg", "examinations", ""}, WalkedRecord{"rhythm38_90.ecg", "examinations", ""},
        WalkedRecord{"extra3r_90.ecg", "examinations", ""}, WalkedRecord{"extra6_90.ecg", "examinations", ""},
        WalkedRecord{"extra6x2_90.ecg", "examinations", ""},
        WalkedRecord{"freeze_90.ecg", "examinations", ""}, WalkedRecord{"freeze_mixed_90.ecg", "examinations", ""},
        WalkedRecord{"mstep243.ecg", "examinations", ""}, WalkedRecord{"mstep244.ecg", "examinations", ""},
        WalkedRecord{"exercise_90.ecg", "examinations", ""},
        // The resting kinds that show trip counts, of both recorders.
        WalkedRecord{"trip226_80.ecg", "synth", "", "rest15", "226", "80"},
        WalkedRecord{"trip254_90.ecg", "synth", "", "rest12", "254", "90"},
        // MFER files of the resting, rhythm and extra-lead forms.
        WalkedRecord{"p12.mwf", "plain", "12"}, WalkedRecord{"r15.mwf", "rhythm15", ""},
        WalkedRecord{"p3.mwf", "plain", "3"}, WalkedRecord{"p1.mwf", "plain", "1"},
        WalkedRecord{"fz.mwf", "freeze", "6"}, WalkedRecord{"x4.mwf", "extra4", ""}),
    [](const ::testing::TestParamInfo<WalkedRecord>& info) {
        std::string name = info.param.file;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

// The code of every row element of a kind in the record XML, in order, each
// after its number ("3:AX1").
std::vector<std::string> CodeRows(const std::string& xml, const std::string& element)
{
    std::vector<std::string> rows;
    const std::regex row("<" + element + " number=\"(\\d+)\" mask=\"[^\"]*\" title=\"([^\"]*)\"");
    for (std::sregex_iterator it(xml.begin(), xml.end(), row), end; it != end; ++it)
        rows.push_back((*it)[1].str() + ":" + (*it)[2].str());
    return rows;
}

// A person who adds a code row on the form of a record whose XML holds rows
// the reader refused saves the form's rows, then every stored row the form
// did not show, as stored, numbered on: the one in an older wording, the one
// of an unknown code, and (resting) the known rows after it, which the
// resting reader never reaches. The MFER reader keeps a refused row's place
// empty, where the person types.
TEST(HostStoredText, AnEditOfTheCodeRowsKeepsTheStoredRowsTheFormDidNotShowAfterTheFormsRows)
{
    struct Case {
        const char* record;
        std::vector<std::string> typed;
        std::vector<std::string> minnesota, ivrel;
    };
    const std::vector<Case> cases = {
        {"rest12_90.ecg",
         {"--type", "3069=4-1", "--type", "3099=AX1"},
         {"1:9-4-1", "2:4-2", "3:5-2", "4:7-3", "5:8-1-2", "6:1-3-2", "7:2-1", "8:4-1", "9:X-1"},
         {"1:R01", "2:AV1", "3:AX1", "4:E02", "5:ZZ9", "6:AX1", "7:H02", "8:S06", "9:Q01", "10:X03", "11:M07",
          "12:S04"}},
        {"p12.mwf",
         {"--type", "3063=4-1", "--type", "3098=AX1"},
         {"1:9-4-1", "2:4-1", "3:4-2", "4:5-2", "5:7-3", "6:8-1-2", "7:1-3-2", "8:2-1", "9:X-1"},
         {"1:R01", "2:AX1", "3:AV1", "4:AX1", "5:H02", "6:S06", "7:Q01", "8:X03", "9:M07", "10:S04", "11:E02",
          "12:ZZ9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        TempDir dir;
        const std::string record = dir.File(c.record);
        std::string xml;
        if (std::string(c.record) == "p12.mwf") {
            xml = dir.File("Raw_p1220240401093000.xml");
            MakeRecords({"mfer", "--kind", "plain", "--leads", "12", "--out", record, "--xml-out", xml, "--refused"});
        } else {
            MakeRecords({"samples", dir.Path()});
            xml = dir.File("rest12_9020240401093000.xml");
            MakeRecords({"xml", "--for", record, "--refused"});
        }
        std::vector<std::string> args = {"view", record, "--view", "CFormInterpre"};
        args.insert(args.end(), c.typed.begin(), c.typed.end());
        args.insert(args.end(), {"--save", "--png", dir.File("form.png")});
        const HostRun saved = Host(args);
        ASSERT_EQ(0, saved.status) << saved.err;
        const std::string after = testsupport::ReadFileBytes(xml);
        EXPECT_EQ(c.minnesota, CodeRows(after, "Minnesota"));
        EXPECT_EQ(c.ivrel, CodeRows(after, "Ivrel"));
        // Each stored row the form did not show keeps its text, the older wording among them.
        EXPECT_NE(after.find("title=\"X-1\">左室高電位</Minnesota>"), std::string::npos);
        EXPECT_NE(after.find("title=\"E02\">心室期外収縮（旧）</Ivrel>"), std::string::npos);
        EXPECT_NE(after.find("title=\"ZZ9\">不完全右脚ブロック</Ivrel>"), std::string::npos);
    }
}

// The resting form shows three of a record's additions. Emptying two of
// them among five drops those two: the third stays first and the fourth and
// fifth follow it, each once (the later additions move up by two).
TEST(HostStoredText, TwoAdditionRowsEmptiedAmongFiveMoveTheLaterAdditionsUpByTwo)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const std::string xml = dir.File("rest12_9020240401093000.xml");
    MakeRecords({"xml", "--for", dir.File("rest12_90.ecg"), "--additions", "5"});
    const std::regex addition("<Addition_content number=\"(\\d)\" title=\"([^\"]*)\">([^<]*)<");
    auto additions = [&](const std::string& text) {
        std::vector<std::string> rows;
        for (std::sregex_iterator it(text.begin(), text.end(), addition), end; it != end; ++it)
            rows.push_back((*it)[1].str() + ":" + (*it)[2].str() + "/" + (*it)[3].str());
        return rows;
    };
    const std::vector<std::string> stored = additions(testsupport::ReadFileBytes(xml));
    ASSERT_EQ(5u, stored.size());
    // A blank typed over a row's title and text leaves it empty once trimmed.
    const HostRun saved = Host({"view", dir.File("rest12_90.ecg"), "--view", "CFormInterpre", "--type", "3971= ",
                                "--type", "3980= ", "--type", "3972= ", "--type", "3981= ", "--save", "--png",
                                dir.File("form.png")});
    ASSERT_EQ(0, saved.status) << saved.err;
    auto renumbered = [&](int number, int from) { return std::to_string(number) + stored[from].substr(1); };
    EXPECT_EQ((std::vector<std::string>{renumbered(1, 2), renumbered(2, 3), renumbered(3, 4)}),
              additions(testsupport::ReadFileBytes(xml)));
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

// A model-8000 recorder takes ages of two digits, and its box on the patient
// sheet holds to them for typing; an age of 100, which the reader takes,
// outlives a save of the height from every page of the sheet, with nothing
// else of the record XML changed, while a typed age is kept to two digits.
TEST(HostStoredText, AModel8000AgeOf100OutlivesASaveFromEveryPatientSheetPage)
{
    auto made = [](TempDir& dir) {
        EXPECT_EQ(0, RunProgram("morvelance-mkrecord", {"samples", dir.Path()}).status);
        const std::string xml = dir.File("rest12_8020240401093000.xml");
        const std::string before = std::regex_replace(testsupport::ReadFileBytes(xml),
                                                      std::regex("<Age style=\"Age\" year=\"65\""),
                                                      "<Age style=\"Age\" year=\"100\"");
        std::ofstream(xml, std::ios::binary) << before;
        return before;
    };
    std::vector<std::string> allowed = kStamps;
    allowed.insert(allowed.end(), kAnalysisStamps.begin(), kAnalysisStamps.end());
    allowed.push_back(kHeight.place);
    // Every page the sheet has on the record, up to the one the host refuses as past them.
    int page = 0;
    for (;; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        ASSERT_LT(page, 3);
        TempDir dir;
        const std::string before = made(dir);
        ASSERT_NE(before.find("year=\"100\""), std::string::npos);
        const HostRun run = Host({"dialog", dir.File("rest12_80.ecg"), "--dialog", "CDlgPatientInfoComment", "--page",
                                  std::to_string(page), "--set", "3225=171", "--ok", "医師乙", "--png",
                                  dir.File("sheet.png")});
        if (run.status != 0 && run.err.find("--page takes") != std::string::npos) break;
        ASSERT_EQ(0, run.status) << run.err;
        const std::string after = testsupport::ReadFileBytes(dir.File("rest12_8020240401093000.xml"));
        EXPECT_TRUE(xmlchanges::OnlyChanged(before, after, allowed, {kHeight.place}));
        EXPECT_NE(after.find("<Age style=\"Age\" year=\"100\""), std::string::npos);
    }
    EXPECT_GE(page, 2);
    TempDir dir;
    made(dir);
    const HostRun typed = Host({"dialog", dir.File("rest12_80.ecg"), "--dialog", "CDlgPatientInfoComment", "--set",
                                "3214=123", "--ok", "医師乙", "--png", dir.File("sheet.png")});
    ASSERT_EQ(0, typed.status) << typed.err;
    EXPECT_NE(testsupport::ReadFileBytes(dir.File("rest12_8020240401093000.xml")).find("<Age style=\"Age\" year=\"12\""),
              std::string::npos);
}

// The MFER reader holds a patient name in 127 bytes of code page 932: a name
// of 63 × 山 and 川 (128 bytes, written in Shift-JIS or in UTF-8) is listed
// and first saved cut at a character's end, never with half of 川 read as
// another character.
TEST(HostStoredText, AnMferNamePastItsFieldIsCutAtACharactersEnd)
{
    const std::string name = Times("山", 63) + "川";
    for (const std::vector<std::string>& encoding : {std::vector<std::string>{}, std::vector<std::string>{"--utf8"}}) {
        SCOPED_TRACE(encoding.empty() ? "Shift-JIS" : "UTF-8");
        TempDir dir;
        std::vector<std::string> make = {"mfer", "--kind", "plain", "--name", name, "--out", dir.File("n.mwf")};
        make.insert(make.end(), encoding.begin(), encoding.end());
        MakeRecords(make);
        const std::string record = dir.File("n.mwf");
        EXPECT_EQ(Times("山", 63), ListedField(FileListLine(Host({"info", record}).out), "name"));
        const HostRun saved =
            Host({"dialog", record, "--dialog", "CDlgPatientInfoComment", "--set", "3225=171", "--ok", "高橋"});
        ASSERT_EQ(0, saved.status) << saved.err;
        bool found = false;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            if (entry.path().extension() != ".xml") continue;
            found = true;
            EXPECT_NE(testsupport::ReadFileBytes(entry.path().string()).find("<Patient_name>" + Times("山", 63) + "</"),
                      std::string::npos);
        }
        EXPECT_TRUE(found);
    }
}
