// The host shows the forms in a pane-sized frame, types into them, saves
// through the document and prints the forms that print.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "forms/FormInterpre.h"
#include "forms/FormInterpreAme.h"
#include "forms/FormInterpreExer.h"
#include "forms/FormInterpreMsfr.h"
#include "forms/FormInterpreRhyRR.h"
#include "forms/FormPatientInfo.h"
#include "platform/ui/windowing/DialogTemplate.h"
#include "resources/EmbeddedScripts.h"
#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// The record maker's bundled samples, each with its record XML.
std::string WriteSamples(TempDir& dir)
{
    const HostRun made = RunProgram("morvelance-mkrecord", {"samples", dir.Path()});
    EXPECT_EQ(0, made.status) << made.err;
    return dir.Path();
}

bool HasWord(const std::vector<PdfWord>& words, const std::string& text)
{
    return std::any_of(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == text; });
}

TEST(HostFormView, TheStripShowsForEveryKindOfSample)
{
    TempDir dir;
    const std::string folder = WriteSamples(dir);
    for (const char* record : {"rest12_90.ecg", "rest15_80.ecg", "rhythm_90.ecg", "rr_90.ecg", "extra_90.ecg"}) {
        const std::string png = dir.File(std::string(record) + ".png");
        const HostRun run = Host({"view", folder + "/" + record, "--view", "CFormPatientInfo", "--png", png});
        EXPECT_EQ(0, run.status) << record << ": " << run.err;
        EXPECT_GT(testsupport::ReadFileBytes(png).size(), 100u) << record;
    }
}

TEST(HostFormView, TypedFieldsSavedThroughTheDocumentReadBackWithInfo)
{
    TempDir dir;
    const std::string record = WriteSamples(dir) + "/rest12_90.ecg";
    const HostRun run = Host({"view", record, "--view", "CFormPatientInfo", "--type", "3003=心電花子", "--type",
                              "3001=ID-77", "--save", "--png", dir.File("typed.png")});
    ASSERT_EQ(0, run.status) << run.err;
    const HostRun info = Host({"info", record});
    EXPECT_NE(info.out.find("xml patient     ID-77 / 心電花子"), std::string::npos) << info.out;
}

TEST(HostFormView, ASaveWithoutEditsKeepsThePatient)
{
    TempDir dir;
    const std::string record = WriteSamples(dir) + "/rest12_90.ecg";
    ASSERT_EQ(0, Host({"view", record, "--view", "CFormPatientInfo", "--save", "--png", dir.File("s.png")}).status);
    const HostRun info = Host({"info", record});
    EXPECT_NE(info.out.find("xml patient     MV-1001 / 山田 太郎"), std::string::npos) << info.out;
}

TEST(HostFormView, ControlsTheFormDoesNotShowAndMalformedInputAreRefused)
{
    TempDir dir;
    const std::string record = WriteSamples(dir) + "/rest12_90.ecg";
    HostRun run = Host({"view", record, "--view", "CFormPatientInfo", "--type", "9999=x", "--png", dir.File("a.png")});
    EXPECT_EQ(1, run.status);
    // The refusal names the reason: a control the form does not have is not there.
    EXPECT_NE(run.err.find("no editable control 9999: it is not there"), std::string::npos) << run.err;
    run = Host({"view", record, "--view", "CFormPatientInfo", "--type", "name", "--png", dir.File("b.png")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(run.err.find("--type takes ID=TEXT"), std::string::npos) << run.err;
}

TEST(HostFormView, ThePrintedStripCarriesThePatientsValues)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdftoppm are not installed";
    TempDir dir;
    const std::string pdf = dir.File("strip.pdf");
    const HostRun run = Host({"print", WriteSamples(dir) + "/rest12_90.ecg", "--view", "CFormPatientInfo", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    const std::vector<PdfWord> words = PdfWords(pdf);
    EXPECT_TRUE(HasWord(words, "MV-1001"));
    EXPECT_TRUE(HasWord(words, "S-MV-1001"));
    EXPECT_TRUE(HasWord(words, "mmHg"));
}

TEST(HostFormView, TheUsStyleFormShowsRestRecords)
{
    TempDir dir;
    const std::string folder = WriteSamples(dir);
    const HostRun run = Host({"view", folder + "/rest12_90.ecg", "--view", "CFormInterpreAme", "--type", "3097=R01",
                              "--png", dir.File("ame.png")});
    EXPECT_EQ(0, run.status) << run.err;
}

TEST(HostFormView, TheCommentFormShowsRhythmRRAndExtraRecordsAndSavesATypedRoomNumber)
{
    TempDir dir;
    const std::string folder = WriteSamples(dir);
    for (const char* record : {"rhythm_90.ecg", "rr_90.ecg", "extra_90.ecg"}) {
        const HostRun run = Host({"view", folder + "/" + record, "--view", "CFormInterpreRhyRR", "--png",
                                  dir.File(std::string(record) + ".png")});
        EXPECT_EQ(0, run.status) << record << ": " << run.err;
    }
    HostRun run = Host({"view", folder + "/rhythm_90.ecg", "--view", "CFormInterpreRhyRR", "--type", "3649=707",
                        "--save", "--png", dir.File("typed.png")});
    ASSERT_EQ(0, run.status) << run.err;
    const std::string xml = testsupport::ReadFileBytes(folder + "/rhythm_9020240401093000.xml");
    EXPECT_NE(xml.find("<Room_no>707</Room_no>"), std::string::npos);
}

TEST(HostFormView, ViewAllAddsTheFormsEachRecordsPagesShow)
{
    TempDir dir;
    const std::string folder = WriteSamples(dir);
    const std::string out = dir.File("all");
    const HostRun run = Host({"view", folder + "/rest12_90.ecg", folder + "/rr_90.ecg", "--view", "all", "--out", out});
    ASSERT_EQ(0, run.status) << run.err;
    for (const char* made : {"CFormPatientInfo.png", "CFormInterpre.png", "CFormInterpreAme.png",
                             "CFormPatientInfo-2.png", "CFormInterpreRhyRR-2.png"})
        EXPECT_GT(testsupport::ReadFileBytes(out + "/" + made).size(), 100u) << made;
    EXPECT_TRUE(testsupport::ReadFileBytes(out + "/CFormInterpreRhyRR.png").empty());   // not a resting page's form
}

TEST(HostFormView, ExerciseMasterStepAndFreezeRecordsShowTheirForms)
{
    TempDir dir;
    const HostRun made = RunProgram("morvelance-mkrecord", {"examinations", dir.Path()});
    ASSERT_EQ(0, made.status) << made.err;
    const struct {
        const char* record;
        const char* form;
    } kCases[] = {{"exercise_90.ecg", "CFormInterpreExer"},
                  {"mstep243.ecg", "CFormInterpreMsfr"},
                  {"freeze_90.ecg", "CFormInterpreRhyRR"}};
    for (const auto& c : kCases) {
        const std::string png = dir.File(std::string(c.form) + ".png");
        const HostRun run = Host({"view", dir.Path() + "/" + c.record, "--view", c.form, "--png", png});
        EXPECT_EQ(0, run.status) << c.record << ": " << run.err;
        EXPECT_GT(testsupport::ReadFileBytes(png).size(), 100u) << c.form;
    }
}

TEST(HostFormView, TheRestFormShowsTypesACodeAndSavesIt)
{
    TempDir dir;
    const std::string folder = WriteSamples(dir);
    for (const char* record : {"rest12_90.ecg", "rest15_90.ecg", "rest12_80.ecg"}) {
        const HostRun run = Host({"view", folder + "/" + record, "--view", "CFormInterpre", "--page-style", "37",
                                  "--png", dir.File(std::string(record) + ".png")});
        EXPECT_EQ(0, run.status) << record << ": " << run.err;
    }
    // Row 2 of the IVREL block, retyped, saved through the document and shown by a fresh host.
    const std::string record = folder + "/rest12_90.ecg";
    HostRun run = Host({"view", record, "--view", "CFormInterpre", "--type", "3098=R01", "--save", "--png",
                        dir.File("typed.png")});
    ASSERT_EQ(0, run.status) << run.err;
    const std::string pdf = dir.File("rest.pdf");
    run = Host({"print", record, "--view", "CFormInterpre", "--pdf", pdf});
    ASSERT_EQ(0, run.status) << run.err;
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdftoppm are not installed";
    const std::vector<PdfWord> words = PdfWords(pdf);
    EXPECT_EQ(std::count_if(words.begin(), words.end(), [](const PdfWord& w) { return w.text == "R01"; }), 2);
    EXPECT_TRUE(HasWord(words, "洞調律"));
    EXPECT_FALSE(HasWord(words, "定型文入力"));   // push buttons never print
}

}  // namespace

namespace {

// A disk with no room past `bytes` in a file for the life of the object: the
// host run meanwhile can write its few lines of messages but no record XML.
// A file-size limit binds the root user the tests run as, as no read-only
// folder does; the signal it raises is ignored, so the write fails instead.
class NearlyFullDisk {
public:
    explicit NearlyFullDisk(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldSignal = ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {bytes, m_old.rlim_max};
        m_limited = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~NearlyFullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        ::signal(SIGXFSZ, m_oldSignal);
    }
    bool Limited() const { return m_limited; }

private:
    struct rlimit m_old {};
    sighandler_t m_oldSignal = SIG_DFL;
    bool m_limited = false;
};

}  // namespace

// A form's save that cannot write tells which file and why, as the sheets
// do, and leaves what was stored as it was.
TEST(HostFormView, ASaveThatCannotWriteNamesTheRecordXmlAndTheCause)
{
    TempDir dir;
    const std::string folder = WriteSamples(dir);
    const std::string xml = folder + "/rhythm_9020240401093000.xml";
    const std::vector<std::string> save = {"view", folder + "/rhythm_90.ecg", "--view", "CFormInterpreRhyRR",
                                           "--type", "4017=所見", "--save", "--png", "/dev/null"};
    // A folder under the record XML's name.
    const std::string stored = testsupport::ReadFileBytes(xml);
    ASSERT_EQ(0, std::remove(xml.c_str()));
    ASSERT_EQ(0, ::mkdir(xml.c_str(), 0755));
    HostRun run = Host(save);
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("the record XML was not saved (255): " + xml + ": 同じ名前のフォルダーがあります。"))
        << run.err;
    ASSERT_EQ(0, ::rmdir(xml.c_str()));
    // A full disk.
    dir.Write("rhythm_9020240401093000.xml", stored);
    {
        NearlyFullDisk disk(4096);
        ASSERT_TRUE(disk.Limited());
        run = Host(save);
    }
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("the record XML was not saved (255): " + xml + ": ディスクの空き容量が足りません。"))
        << run.err;
    EXPECT_EQ(stored, testsupport::ReadFileBytes(xml));
}

namespace {

// What a person sees in a control of the form's template that takes no keys.
std::string KindOf(const platform::ui::DialogItemTemplate& item)
{
    const std::string name = platform::ToUtf8(std::wstring(item.className.GetString()));
    if (name == "Static") return "static text";
    if (name != "Button") return "";
    return (item.style & BS_TYPEMASK) == BS_GROUPBOX ? "group box" : "button";
}

// Every form, walked through its own template: a text typed at a static text,
// a button or a group box goes nowhere, so the host refuses it naming the
// control and saves nothing, rather than end as if it were saved.
TEST(HostFormView, TypingAtAControlThatTakesNoKeysIsRefusedOnEveryFormAndNothingIsSaved)
{
    platform::ui::ResourceTable table;
    CompileEmbeddedScriptsOrStop(table);
    struct Form {
        const char* name;
        UINT idd;
        const char* record;
    };
    const Form forms[] = {{"CFormPatientInfo", CFormPatientInfo::IDD, "rest12_90.ecg"},
                          {"CFormInterpre", CFormInterpre::IDD, "rest12_90.ecg"},
                          {"CFormInterpreAme", CFormInterpreAme::IDD, "rest12_90.ecg"},
                          {"CFormInterpreRhyRR", CFormInterpreRhyRR::IDD, "rhythm_90.ecg"},
                          {"CFormInterpreMsfr", CFormInterpreMsfr::IDD, "mstep243.ecg"},
                          {"CFormInterpreExer", CFormInterpreExer::IDD, "exercise_90.ecg"}};
    TempDir dir;
    ASSERT_EQ(0, RunProgram("morvelance-mkrecord", {"samples", dir.Path()}).status);
    ASSERT_EQ(0, RunProgram("morvelance-mkrecord", {"examinations", dir.Path()}).status);
    int refused = 0;
    for (const Form& form : forms) {
        const auto found = table.data.find({LOWORD(RT_DIALOG), form.idd});
        ASSERT_NE(found, table.data.end()) << form.name;
        platform::ui::DialogTemplate layout;
        ASSERT_TRUE(platform::ui::ReadDialogTemplate(found->second.data(), found->second.size(), layout).ok);
        // One control of each kind with an id of its own; an id an edit
        // also has is typed into there.
        std::map<std::string, DWORD> ids;
        std::set<DWORD> typeable;
        for (const auto& item : layout.items)
            if (KindOf(item).empty()) typeable.insert(item.id);
        for (const auto& item : layout.items)
            if (!KindOf(item).empty() && item.id != 0xFFFF && !typeable.count(item.id)) ids.emplace(KindOf(item), item.id);
        const std::string record = dir.File(form.record);
        const std::string xml = dir.File(std::string(form.record).substr(0, std::string(form.record).find('.')) +
                                         "20240401093000.xml");
        const std::string before = testsupport::ReadFileBytes(xml);
        for (const auto& [kind, id] : ids) {
            SCOPED_TRACE(std::string(form.name) + " " + kind + " " + std::to_string(id));
            const HostRun run = Host({"view", record, "--view", form.name, "--type", std::to_string(id) + "=テスト",
                                      "--save", "--png", dir.File("t.png")});
            EXPECT_EQ(1, run.status);
            EXPECT_NE(run.err.find("control " + std::to_string(id) + ": it is a " + kind), std::string::npos) << run.err;
            EXPECT_EQ(before, testsupport::ReadFileBytes(xml));
            ++refused;
        }
    }
    EXPECT_GE(refused, 8);
}
}  // namespace

namespace {

// The ids after "control " in each line of `err` that ends with `tail`.
std::set<int> NamedControls(const std::string& err, const std::string& tail)
{
    std::set<int> ids;
    size_t at = 0;
    const std::string head = "control ";
    while ((at = err.find(head, at)) != std::string::npos) {
        at += head.size();
        const size_t end = err.find('\n', at);
        const std::string line = err.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (line.find(tail) != std::string::npos) ids.insert(std::atoi(line.c_str()));
    }
    return ids;
}

struct TypedSave {
    std::set<int> lost;       // the controls the save refused, naming them
    std::set<int> typed;      // every control typed into
    std::string fault;        // what was wrong besides
};

// Every field of the form's template that the form lets a person type in,
// typed at once and saved: what the save refuses, and whether it kept the
// record XML and wrote no picture when it did.
TypedSave TypeEveryFieldAndSave(const platform::ui::ResourceTable& table, const std::string& form, UINT idd,
                                const std::string& record, const std::string& xml, const std::string& png,
                                const std::map<int, std::string>& values)
{
    TypedSave result;
    const auto found = table.data.find({LOWORD(RT_DIALOG), idd});
    platform::ui::DialogTemplate layout;
    if (found == table.data.end() ||
        !platform::ui::ReadDialogTemplate(found->second.data(), found->second.size(), layout).ok) {
        result.fault = "no template";
        return result;
    }
    for (const auto& item : layout.items)
        if (KindOf(item).empty() && item.id != 0 && item.id != 0xFFFF) result.typed.insert(item.id);
    // A record without its record XML (`xml` empty) is to be left without one.
    const std::string before = xml.empty() ? std::string() : testsupport::ReadFileBytes(xml);
    const auto xmlNow = [&] {
        if (!xml.empty()) return testsupport::ReadFileBytes(xml);
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(record).parent_path()))
            if (entry.path().extension() == ".xml") names += entry.path().filename().string();
        return names;
    };
    // A field the form hides or keeps read-only on this record is left out, one refusal at a time.
    for (size_t tries = result.typed.size() + 1; tries > 0; --tries) {
        std::vector<std::string> args = {"view", record, "--view", form};
        for (int id : result.typed)
            args.insert(args.end(), {"--type", std::to_string(id) + "=" + (values.count(id) ? values.at(id) : "7")});
        args.insert(args.end(), {"--save", "--png", png});
        const HostRun run = Host(args);
        const std::set<int> untypeable = NamedControls(run.err, ": it is");
        if (run.status == 1 && !untypeable.empty()) {
            result.typed.erase(*untypeable.begin());
            continue;
        }
        result.lost = NamedControls(run.err, ": the record saved does not give back what was typed there");
        const bool written = std::filesystem::exists(png);
        if (run.status != (result.lost.empty() ? 0 : 1))
            result.fault = "rc " + std::to_string(run.status) + ": " + run.err;
        else if (!result.lost.empty() && (written || xmlNow() != before))
            result.fault = written ? "a picture was written" : "the record XML was changed";
        else if (result.lost.empty() && !written)
            result.fault = "no picture";
        return result;
    }
    result.fault = "every field refused";
    return result;
}

std::string Listed(const std::set<int>& ids)
{
    std::string text;
    for (int id : ids) text += std::to_string(id) + " ";
    return text;
}

}  // namespace

// Every form, every field typed at once and saved: the controls whose text
// no save stores are refused, each named, with the record XML left as it
// was and no picture; the rest come back from the record opened again.
TEST(HostFormView, HostTypedSaveWalkRefusesExactlyTheFieldsNoSaveStores)
{
    platform::ui::ResourceTable table;
    CompileEmbeddedScriptsOrStop(table);
    TempDir dir;
    ASSERT_EQ(0, RunProgram("morvelance-mkrecord", {"samples", dir.Path()}).status);
    ASSERT_EQ(0, RunProgram("morvelance-mkrecord", {"examinations", dir.Path()}).status);
    ASSERT_EQ(0, RunProgram("morvelance-mkrecord", {"mfer", "--kind", "plain", "--leads", "12", "--out",
                                                    dir.File("mfer12.mwf"), "--xml-out",
                                                    dir.File("Raw_mfer1220240401093000.xml")})
                     .status);
    struct Case {
        const char* form;
        UINT idd;
        const char* record;
        const char* xml;
        std::set<int> lost;
        std::map<int, std::string> values = {};   // what is typed where 7 would be no value a person gives
        bool alone = false;                          // the record copied without its record XML
    };
    const std::set<int> kRestLost = {3141, 3142, 3143, 3144, 3145, 3146, 3147, 3148, 3149, 3150, 3151, 3153};
    const std::vector<Case> cases = {
        {"CFormPatientInfo", CFormPatientInfo::IDD, "rest12_90.ecg", "rest12_9020240401093000.xml", {}},
        {"CFormInterpre", CFormInterpre::IDD, "rest12_90.ecg", "rest12_9020240401093000.xml", kRestLost},
        {"CFormInterpre", CFormInterpre::IDD, "mfer12.mwf", "Raw_mfer1220240401093000.xml", kRestLost},
        {"CFormInterpreAme", CFormInterpreAme::IDD, "rest12_90.ecg", "rest12_9020240401093000.xml", kRestLost},
        // A birth date is stored whole or not at all.
        {"CFormInterpreRhyRR", CFormInterpreRhyRR::IDD, "rhythm_90.ecg", "rhythm_9020240401093000.xml", {},
         {{3631, "1987"}, {3633, "07"}, {3635, "09"}}},
        // The MFER document saves the comment form's texts from what it took
        // from the record, not from the form: all but the birth date are refused.
        {"CFormInterpreRhyRR", CFormInterpreRhyRR::IDD, "mfer12.mwf", "Raw_mfer1220240401093000.xml",
         {3637, 3639, 3641, 3643, 3645, 3647, 3649, 3651, 3653, 3655, 3999, 4000, 4001, 4008, 4009, 4010},
         {{3631, "1987"}, {3633, "07"}, {3635, "09"}}},
        {"CFormInterpreMsfr", CFormInterpreMsfr::IDD, "mstep243.ecg", "mstep24320240401093000.xml", {}},
        {"CFormInterpreExer", CFormInterpreExer::IDD, "exercise_90.ecg", "exercise_9020240401093000.xml", {}},
        // Without a record XML the first save makes one; it goes again when
        // refused. The form shows one free IVREL row then.
        {"CFormInterpre", CFormInterpre::IDD, "rest12_90.ecg", "", {3141, 3153}, {}, true},
        {"CFormInterpreRhyRR", CFormInterpreRhyRR::IDD, "rhythm_90.ecg", "", {},
         {{3631, "1987"}, {3633, "07"}, {3635, "09"}}, true},
    };
    // Each case on a copy of its own, so that the walks run side by side.
    std::vector<std::future<TypedSave>> runs;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::string sub = dir.File("case" + std::to_string(i));
        std::filesystem::create_directories(sub);
        const std::string stem = std::string(c.record).substr(0, std::string(c.record).find('.'));
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            if (entry.path().filename().string().find(stem) != std::string::npos && entry.is_regular_file() &&
                (!c.alone || entry.path().extension() != ".xml"))
                std::filesystem::copy_file(entry.path(), sub + "/" + entry.path().filename().string());
        runs.push_back(std::async(std::launch::async, [&table, c, sub] {
            return TypeEveryFieldAndSave(table, c.form, c.idd, sub + "/" + c.record, c.alone ? "" : sub + "/" + c.xml,
                                         sub + "/typed.png", c.values);
        }));
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        const TypedSave result = runs[i].get();
        SCOPED_TRACE(std::string(cases[i].form) + " on " + cases[i].record + (cases[i].alone ? " alone" : ""));
        EXPECT_TRUE(result.fault.empty()) << result.fault;
        EXPECT_GE(result.typed.size(), 3u);
        EXPECT_EQ(result.lost, cases[i].lost) << "refused: " << Listed(result.lost) << "typed: " << Listed(result.typed);
    }
}
