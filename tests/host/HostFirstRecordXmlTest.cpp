// A record copied alone into a folder, without its record XML, as the host
// meets it. Showing it (info, open, view, print, pane, dialog) makes no file;
// whatever writes its record XML first (a display setting, an annotation,
// the exercise lead choice, the caliper dialog's heart rate, the sheet)
// writes with it the patient id, name and acquisition time the file
// carries, so that the file list, the sheet and the next save go on showing
// that patient. Records of one stem whose first saves run at the same
// moment in several processes each get a record XML of their own, or say
// that they could not.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/magic.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "core/ReferenceIds.h"
#include "dialogs/DlgDivider.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/DlgExerLeadSelection.h"
#include "documents/ExerViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "host/RecordOpening.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/ModalScript.h"

using namespace hosttest;

namespace {

const CString kSetting = L"/Rawdata/Assist_info/Reference/Setting";

// A record kind, where its sample comes from, and the sheet that saves it
// with the comment field it takes.
struct Kind {
    const char* name;
    const char* source;   // "samples", "examinations", "mfer", or "mfer-hl7" (the patient only in its header)
    const char* record;
    const char* sheet;
    const char* comment;
};

const Kind kKinds[] = {
    {"Rest12", "samples", "rest12_90.ecg", "CDlgPatientInfoComment", "3421"},
    {"Rest15", "samples", "rest15_90.ecg", "CDlgPatientInfoComment", "3421"},
    {"Rest12OlderReader", "samples", "rest12_80.ecg", "CDlgPatientInfoComment", "3421"},
    {"Rhythm", "samples", "rhythm_90.ecg", "CDlgInfoCommentGeneral", "3706"},
    {"RR", "samples", "rr_90.ecg", "CDlgInfoCommentGeneral", "3706"},
    {"ExtraLead", "examinations", "extra6_90.ecg", "CDlgInfoCommentGeneral", "3706"},
    {"Freeze", "examinations", "freeze_90.ecg", "CDlgInfoCommentGeneral", "3706"},
    {"Exercise", "examinations", "exercise_90.ecg", "CDlgInfoCommentGeneral", "4173"},
    {"MasterStep", "examinations", "mstep243.ecg", "CDlgInfoCommentGeneral", "3706"},
    {"Mfer", "mfer", "p.mwf", "CDlgPatientInfoComment", "3421"},
    {"MferWithHl7Header", "mfer-hl7", "p.mwf", "CDlgPatientInfoComment", "3421"},
};

void PrintTo(const Kind& kind, std::ostream* out)
{
    *out << kind.name;
}

class HostFirstRecordXml : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        testsupport::DocumentTest::SetUp();
        m_folder = m_dir.File("alone");
        ASSERT_EQ(0, ::mkdir(m_folder.c_str(), 0755));
        ASSERT_EQ(0, ::mkdir(m_dir.File("made").c_str(), 0755));
        m_out = m_dir.File("out");
    }
    void TearDown() override
    {
        platform::ui::Desktop::Reset();
        testsupport::DocumentTest::TearDown();
    }

    // The record of the kind copied alone into the folder (an MFER file made
    // there, with its HL7 header beside it for "mfer-hl7"); what the file list
    // shows of it is kept, and names a patient.
    void Place(const Kind& kind)
    {
        const std::string source = kind.source;
        m_record = kind.record;
        if (source == "mfer") {
            MakeRecords({"mfer", "--kind", "plain", "--out", Path()});
        } else if (source == "mfer-hl7") {
            MakeRecords({"mfer", "--kind", "plain", "--no-patient", "--no-time", "--hl7", m_folder + "/p.hl7.xml",
                         "--out", Path()});
        } else {
            MakeRecords({source, m_dir.File("made")});
            std::ofstream(Path(), std::ios::binary) << testsupport::ReadFileBytes(m_dir.File("made/" + m_record));
        }
        m_entries = testsupport::FolderEntries(m_folder);
        m_listed = FileListLine(Info().out);
        ASSERT_FALSE(ListedField(m_listed, "id").empty()) << m_listed;
        ASSERT_FALSE(ListedField(m_listed, "name").empty()) << m_listed;
        ASSERT_EQ(std::string::npos, m_listed.find("****")) << m_listed;
        ASSERT_EQ(m_entries, testsupport::FolderEntries(m_folder));
    }

    std::string Path() const { return m_folder + "/" + m_record; }
    // A host command on the record, named as a user in its folder names it.
    HostRun Run(std::vector<std::string> args) const
    {
        args.insert(args.begin() + 1, m_record);
        return Host(args, m_folder);
    }
    HostRun Info() const { return Run({"info"}); }

    // The record XML the folder now holds ("" when none).
    std::string RecordXml() const
    {
        for (const std::string& entry : testsupport::FolderEntries(m_folder))
            if (entry.size() > 4 && entry.compare(entry.size() - 4, 4, ".xml") == 0 && entry.find(".hl7.") == std::string::npos)
                return m_folder + "/" + entry;
        return std::string();
    }

    // The record opened as the host opens it for its views and dialogs.
    std::unique_ptr<CTavrionDoc> Open() const
    {
        std::unique_ptr<CTavrionDoc> doc;
        EXPECT_TRUE(host::OpenForViews(Path(), doc));
        return doc;
    }

    // The record XML now on disk holds the patient the file list showed of
    // the file: the list reads the same from it, info reads it as the forms
    // do (device records), and the record opened again shows it on the sheet.
    void ExpectTheFilesPatient()
    {
        ASSERT_FALSE(RecordXml().empty());
        const HostRun info = Info();
        ASSERT_EQ(0, info.status) << info.err;
        EXPECT_EQ(m_listed, FileListLine(info.out));
        const std::string id = ListedField(m_listed, "id"), name = ListedField(m_listed, "name");
        if (m_record.find(".ecg") != std::string::npos) {
            EXPECT_NE(std::string::npos, info.out.find("  xml patient     " + id + " / " + name + " ")) << info.out;
        }
        std::unique_ptr<CTavrionDoc> doc = Open();
        ASSERT_TRUE(doc);
        doc->SetCtrlContent(nullptr);
        CString shownId, shownName;
        doc->GetCtrlData(3001, shownId);
        doc->GetCtrlData(3003, shownName);
        EXPECT_EQ(testsupport::Wide(id), shownId);
        EXPECT_EQ(testsupport::Wide(name), shownName);
    }

    // A comment saved through the record's sheet as a user saves it.
    void SaveACommentOnTheSheet(const Kind& kind)
    {
        const HostRun saved =
            Run({"dialog", "--dialog", kind.sheet, "--set", std::string(kind.comment) + "=経過観察", "--ok", "編集者"});
        EXPECT_EQ(0, saved.status) << saved.err;
        EXPECT_NE(std::string::npos, saved.out.find(std::string(kind.sheet) + ": saved")) << saved.out;
    }

    std::string m_folder;
    std::string m_out;
    std::string m_record;
    std::vector<std::string> m_entries;
    std::string m_listed;
};

class HostFirstRecordXmlOfEachKind : public HostFirstRecordXml, public ::testing::WithParamInterface<Kind> {
};

TEST_P(HostFirstRecordXmlOfEachKind, ShowingTheRecordLeavesItsFolderAsItWas)
{
    Place(GetParam());
    const struct {
        std::vector<std::string> args;
        std::string made;   // what the command writes outside the folder
    } commands[] = {
        {{"info"}, ""},
        {{"open"}, ""},
        {{"view", "--view", "all", "--out", m_out + "/view"}, m_out + "/view"},
        {{"print", "--view", "all", "--pdf", m_out + "/print.pdf"}, m_out + "/print.pdf"},
        {{"pane", "--pane", "all", "--out", m_out + "/pane"}, m_out + "/pane"},
        {{"dialog", "--dialog", "all", "--out", m_out + "/dialog"}, m_out + "/dialog"},
    };
    for (const auto& command : commands) {
        const HostRun run = Run(command.args);
        SCOPED_TRACE(command.args[0]);
        EXPECT_NE(2, run.status) << run.err;
        struct stat st;
        if (!command.made.empty()) {
            EXPECT_EQ(0, ::stat(command.made.c_str(), &st)) << run.err;
        }
        EXPECT_EQ(m_entries, testsupport::FolderEntries(m_folder));
    }
    // Shown again, the record still shows the patient its file carries.
    EXPECT_EQ(m_listed, FileListLine(Info().out));
}

TEST_P(HostFirstRecordXmlOfEachKind, AFirstSettingWrittenKeepsThePatientForTheListTheSheetAndItsSave)
{
    const Kind& kind = GetParam();
    Place(kind);
    {
        std::unique_ptr<CTavrionDoc> doc = Open();
        ASSERT_TRUE(doc);
        ASSERT_TRUE(RecordXml().empty());
        doc->SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
        EXPECT_EQ(0, doc->IsSettingSaveFailed());
    }
    const std::string xml = RecordXml();
    ASSERT_FALSE(xml.empty());
    const CString style = testsupport::ReadXmlValue(xml, kSetting + L"/Page_style");
    EXPECT_FALSE(style.IsEmpty());
    ExpectTheFilesPatient();

    SaveACommentOnTheSheet(kind);
    ExpectTheFilesPatient();
    EXPECT_EQ(xml, RecordXml());
    EXPECT_EQ(style, testsupport::ReadXmlValue(xml, kSetting + L"/Page_style"));
}

INSTANTIATE_TEST_SUITE_P(EachKind, HostFirstRecordXmlOfEachKind, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<Kind>& info) { return std::string(info.param.name); });

TEST_F(HostFirstRecordXml, AnAnnotationSavedFirstKeepsThePatient)
{
    Place(kKinds[3]);   // rhythm
    {
        std::unique_ptr<CTavrionDoc> doc = Open();
        auto* rhythm = dynamic_cast<CRhythmViewDoc*>(doc.get());
        ASSERT_NE(nullptr, rhythm);
        ASSERT_EQ(0, rhythm->SaveAnnotationToXML(rhythm->GetCurDataIndex()));
    }
    ExpectTheFilesPatient();
}

TEST_F(HostFirstRecordXml, TheExerciseLeadChoiceMadeFirstIsStoredWithThePatient)
{
    Place(kKinds[7]);   // exercise
    {
        std::unique_ptr<CTavrionDoc> doc = Open();
        auto* exercise = dynamic_cast<CExerViewDoc*>(doc.get());
        ASSERT_NE(nullptr, exercise);
        testsupport::ModalScript script;
        // Without a record XML the form starts from the limb leads, I to aVF.
        script.On(172, [](CDialog& dialog) {
            testsupport::ClickControl(dialog, 4193);   // I off
            testsupport::ClickControl(dialog, 4199);   // V1 on
            testsupport::ClickControl(dialog, IDOK);
        });
        CDlgExerLeadSelection dialog(172, exercise->GetCurrentDataItem());
        EXPECT_EQ(IDOK, dialog.DoModal());
    }
    ASSERT_FALSE(RecordXml().empty());
    EXPECT_EQ(CString(L"126"), testsupport::ReadXmlValue(RecordXml(), kSetting + L"/Lead_selection/Lead_6ch"));
    ExpectTheFilesPatient();
}

TEST_F(HostFirstRecordXml, AHeartRateUpdatedFirstInTheCaliperDialogKeepsThePatient)
{
    Place(kKinds[0]);   // rest 12
    {
        std::unique_ptr<CTavrionDoc> doc = Open();
        ASSERT_TRUE(doc);
        doc->m_bAutoDelete = FALSE;   // owned here, as the host owns the documents it shows its dialogs on
        doc->InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), L"編集者");
        doc->SetDoctorAndEditorStatus(1, 1);
        CDlgDivider dialog(nullptr);
        dialog.SetDoc(doc.get(), DOC_TYPE_REST);
        dialog.SetWaveParam(260, 30, doc->GetRhythmWaveData(1, nullptr, -1) / 2, 500, 0);
        testsupport::ModalScript script;
        script.On(CDlgDivider::IDD, [&](CDialog&) {
            dialog.SetDlgItemText(CDlgDivider::IDC_RATE_EDIT, L"");
            testsupport::TypeInto(dialog, CDlgDivider::IDC_RATE_EDIT, L"72");
            testsupport::ClickControl(dialog, IDOK);
        });
        script.On(CDlgEditor::IDD, [](CDialog& prompt) { testsupport::ClickControl(prompt, IDOK); });
        EXPECT_EQ(IDOK, dialog.DoModal());
    }
    ASSERT_FALSE(RecordXml().empty());
    EXPECT_EQ(CString(L"72"),
              testsupport::ReadXmlValue(RecordXml(), L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate"));
    ExpectTheFilesPatient();
}

// Runs the host once per argument list in `folder`, all the processes
// started together: each waits on one pipe until every one is forked.
std::vector<HostRun> HostsTogether(const std::vector<std::vector<std::string>>& runs, const std::string& folder)
{
    testsupport::TempDir scratch;
    const std::string host = testsupport::BinaryDir() + "/bin/morvelance-host";
    // Everything a child needs is made before the fork: it only waits, sends
    // its output to its files and starts the host.
    std::vector<std::vector<std::string>> args(runs.size());
    std::vector<std::vector<char*>> argv(runs.size());
    std::vector<std::string> outs, errs;
    for (size_t i = 0; i < runs.size(); ++i) {
        args[i] = runs[i];
        args[i].insert(args[i].begin(), host);
        for (std::string& arg : args[i]) argv[i].push_back(&arg[0]);
        argv[i].push_back(nullptr);
        outs.push_back(scratch.File("out" + std::to_string(i)));
        errs.push_back(scratch.File("err" + std::to_string(i)));
    }
    std::vector<HostRun> results(runs.size());
    int gate[2];
    if (pipe(gate) != 0) return results;
    std::vector<pid_t> children;
    for (size_t i = 0; i < runs.size(); ++i) {
        const pid_t child = fork();
        if (child == 0) {
            close(gate[1]);
            char byte;
            while (read(gate[0], &byte, 1) < 0 && errno == EINTR) {
            }
            const int out = open(outs[i].c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = open(errs[i].c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out < 0 || err < 0 || chdir(folder.c_str()) != 0) _exit(126);
            dup2(out, 1);
            dup2(err, 2);
            execv(host.c_str(), argv[i].data());
            _exit(127);
        }
        children.push_back(child);
    }
    close(gate[0]);
    close(gate[1]);   // lets them all go
    for (size_t i = 0; i < children.size(); ++i) {
        int status = 0;
        if (children[i] > 0 && waitpid(children[i], &status, 0) == children[i] && WIFEXITED(status))
            results[i].status = WEXITSTATUS(status);
        results[i].out = testsupport::ReadFileBytes(outs[i]);
        results[i].err = testsupport::ReadFileBytes(errs[i]);
    }
    return results;
}

std::string XmlElement(const std::string& xml, const std::string& name)
{
    std::smatch match;
    return std::regex_search(xml, match, std::regex("<" + name + "(?: [^>]*)?>([^<]*)</" + name + ">")) ? match[1].str()
                                                                                                      : std::string();
}

// A number from the environment (the rounds and busy loops of a longer run
// by hand), or `fallback`.
int FromEnvironment(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    return text && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

// Processes that keep the processors busy while they live, so that the
// processes raced beside them are preempted at any point.
class BusyLoops {
public:
    explicit BusyLoops(int count)
    {
        for (int i = 0; i < count; ++i) {
            const pid_t child = fork();
            if (child == 0) {
                for (volatile unsigned spin = 0;; spin = spin + 1) {
                }
            }
            if (child > 0) m_children.push_back(child);
        }
    }
    ~BusyLoops()
    {
        for (pid_t child : m_children) kill(child, SIGKILL);
        for (pid_t child : m_children) waitpid(child, nullptr, 0);
    }
    BusyLoops(const BusyLoops&) = delete;
    BusyLoops& operator=(const BusyLoops&) = delete;

private:
    std::vector<pid_t> m_children;
};

// A folder on a memory file system (tmpfs), where the host's writes are
// quickest and the first saves of records started together meet most
// closely; "" when there is none to write into.
std::string MemoryFolder()
{
    struct statfs fs;
    if (statfs("/dev/shm", &fs) != 0 || fs.f_type != TMPFS_MAGIC || access("/dev/shm", W_OK) != 0)
        return std::string();
    char folder[] = "/dev/shm/morvelance-raceXXXXXX";
    return mkdtemp(folder) ? folder : std::string();
}

// Two or three records of one stem (s.ecg, s.dat, s.ECG), each of its own
// patient, without a record XML, saved through their sheets by as many host
// processes started at the same moment beside busy loops, round after
// round, in an ordinary folder and on a tmpfs: each save that says "saved"
// has made a record XML of its own, naming its record and holding its
// patient and comment, and no record XML names a record or holds a patient
// other than the one it was made for; a save that did not make one says
// so. Afterwards the file list shows each record's own patient. A few
// rounds here; MORVELANCE_RACE_ROUNDS and MORVELANCE_RACE_BUSY run more by
// hand.
TEST(HostFirstRecordXmlRace, FirstSavesStartedTogetherEachMakeTheirOwnRecordXmlOrSaySoForTwoAndThreeRecords)
{
    const struct {
        const char* record;
        const char* id;
    } records[] = {{"s.ecg", "AAA-1"}, {"s.dat", "BBB-2"}, {"s.ECG", "CCC-3"}};
    const int kRounds = FromEnvironment("MORVELANCE_RACE_ROUNDS", 4);
    testsupport::TempDir plain;
    std::vector<std::string> folders = {plain.Path()};
    const std::string memory = MemoryFolder();
    const std::unique_ptr<const std::string, void (*)(const std::string*)> removed(
        &memory, [](const std::string* folder) {
            if (!folder->empty()) std::filesystem::remove_all(*folder);
        });
    if (!memory.empty()) folders.push_back(memory);
    const BusyLoops busy(FromEnvironment("MORVELANCE_RACE_BUSY", 1));
    for (const std::string& base : folders) {
        for (size_t count : {2u, 3u}) {
            const std::string folder = base + "/" + std::to_string(count);
            ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
            for (size_t i = 0; i < count; ++i)
                MakeRecords({"synth", "--kind", "rest12", "--id", records[i].id, "--out", folder + "/" + records[i].record});
            for (int round = 0; round < kRounds; ++round) {
                SCOPED_TRACE(folder + ", round " + std::to_string(round));
                std::vector<std::vector<std::string>> runs;
                for (size_t i = 0; i < count; ++i)
                    runs.push_back({"dialog", records[i].record, "--dialog", "CDlgPatientInfoComment", "--set",
                                    std::string("3421=所見") + records[i].id, "--ok", "編集者"});
                const std::vector<HostRun> results = HostsTogether(runs, folder);

                std::vector<std::string> xmls;
                for (const std::string& entry : testsupport::FolderEntries(folder))
                    if (entry.size() > 4 && entry.compare(entry.size() - 4, 4, ".xml") == 0)
                        xmls.push_back(folder + "/" + entry);
                // What each record XML holds, for a failure to show what went where.
                std::string found;
                for (const std::string& xml : xmls) {
                    const std::string bytes = testsupport::ReadFileBytes(xml);
                    found += "\n" + xml + ": " + XmlElement(bytes, "Record_file") + " " + XmlElement(bytes, "Patient_id") +
                             " " + XmlElement(bytes, "Comment_content");
                }
                SCOPED_TRACE(found);
                size_t made = 0;
                for (size_t i = 0; i < count; ++i) {
                    const bool said = results[i].out.find("CDlgPatientInfoComment: saved") != std::string::npos;
                    EXPECT_TRUE(said || results[i].status != 0) << results[i].out << results[i].err;
                    std::vector<std::string> own;
                    for (const std::string& xml : xmls)
                        if (XmlElement(testsupport::ReadFileBytes(xml), "Record_file") == records[i].record)
                            own.push_back(xml);
                    if (!said) {
                        EXPECT_TRUE(own.empty()) << records[i].record;
                        continue;
                    }
                    ++made;
                    ASSERT_EQ(1u, own.size()) << records[i].record;
                    const std::string bytes = testsupport::ReadFileBytes(own.front());
                    EXPECT_EQ(records[i].id, XmlElement(bytes, "Patient_id")) << own.front();
                    EXPECT_EQ(std::string("所見") + records[i].id, XmlElement(bytes, "Comment_content")) << own.front();
                }
                EXPECT_EQ(made, xmls.size());
                EXPECT_GE(made, 1u);   // the first to write has nothing in its way
                for (size_t i = 0; i < count; ++i) {
                    const HostRun info = Host({"info", records[i].record}, folder);
                    EXPECT_EQ(records[i].id, ListedField(FileListLine(info.out), "id")) << info.out << info.err;
                }
                for (const std::string& xml : xmls) std::remove(xml.c_str());
            }
        }
    }
}

}  // namespace
