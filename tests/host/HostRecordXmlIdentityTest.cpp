// Which patient a record shows, through the host's own commands: an id or
// name the record file gives longer than the record XML's field is listed,
// shown and saved whole however many times the sheet is saved; and a record
// shows only what its own record XML holds, never another record's of the
// same stem in the same folder, however the records and record XMLs were
// moved, copied or replaced.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;

namespace {

// The text of the first element `name` of an XML file ("" when none or empty).
std::string ElementText(const std::string& xml, const std::string& name)
{
    std::smatch match;
    if (std::regex_search(xml, match, std::regex("<" + name + "(?: [^>]*)?>([^<]*)</" + name + ">")))
        return match[1].str();
    return std::string();
}

// The record XMLs of a folder (the HL7 headers aside).
std::vector<std::string> RecordXmls(const std::string& folder)
{
    std::vector<std::string> found;
    for (const std::string& entry : testsupport::FolderEntries(folder))
        if (entry.size() > 4 && entry.compare(entry.size() - 4, 4, ".xml") == 0 && entry.find(".hl7.") == std::string::npos)
            found.push_back(folder + "/" + entry);
    return found;
}

// A record whose file gives an id or a name past the record XML's field, the
// sheet that saves it and a comment field of that sheet.
struct LongField {
    const char* name;
    std::vector<std::string> make;   // the maker's arguments, the record's path last
    const char* record;
    const char* sheet;
    const char* comment;
};

const LongField kLongFields[] = {
    {"MferIdOf22", {"mfer", "--kind", "plain", "--id", "HOSP-2024-000123456789", "--name", "YAMADA HANAKO JUNIOR", "--out"},
     "m.mwf", "CDlgPatientInfoComment", "3421"},
    {"ExtraLeadNameOf22", {"synth", "--kind", "extra", "--id", "E-1", "--name", "ABCDEFGHIJKLMNOPQRSTUV", "--out"},
     "e.ecg", "CDlgInfoCommentGeneral", "3706"},
    {"Model8000IdOf14", {"synth", "--kind", "rest12", "--flavour", "80", "--id", "12345678901234", "--name", "SATO", "--out"},
     "r.ecg", "CDlgPatientInfoComment", "3421"},
};

void PrintTo(const LongField& field, std::ostream* out)
{
    *out << field.name;
}

class HostRecordXmlIdentity : public ::testing::Test {
protected:
    HostRun In(const std::vector<std::string>& args) const { return Host(args, m_dir.Path()); }
    HostRun SaveSheet(const std::string& record, const char* sheet, const char* field, const std::string& text) const
    {
        return In({"dialog", record, "--dialog", sheet, "--set", std::string(field) + "=" + text, "--ok", "編集者"});
    }
    std::string Listed(const std::string& record) const { return FileListLine(In({"info", record}).out); }

    testsupport::TempDir m_dir;
};

class HostLongFieldFromTheFile : public HostRecordXmlIdentity, public ::testing::WithParamInterface<LongField> {
protected:
    void SetUp() override
    {
        std::vector<std::string> make = GetParam().make;
        make.push_back(m_dir.File(GetParam().record));
        MakeRecords(make);
    }
};

TEST_P(HostLongFieldFromTheFile, IsListedShownAndSavedWholeThroughEverySaveOfTheSheet)
{
    const LongField& kind = GetParam();
    const std::string listed = Listed(kind.record);
    const std::string id = ListedField(listed, "id"), name = ListedField(listed, "name");
    ASSERT_TRUE(id.size() > 12 || name.size() > 20) << listed;
    for (const char* comment : {"経過観察", "再検査"}) {
        const HostRun saved = SaveSheet(kind.record, kind.sheet, kind.comment, comment);
        ASSERT_EQ(0, saved.status) << saved.err;
        EXPECT_EQ(listed, Listed(kind.record)) << "after saving " << comment;
        const std::vector<std::string> xmls = RecordXmls(m_dir.Path());
        ASSERT_EQ(1u, xmls.size());
        const std::string xml = testsupport::ReadFileBytes(xmls[0]);
        EXPECT_EQ(id, ElementText(xml, "Patient_id"));
        EXPECT_EQ(name, ElementText(xml, "Patient_name"));
    }
}

INSTANTIATE_TEST_SUITE_P(RecordKinds, HostLongFieldFromTheFile, ::testing::ValuesIn(kLongFields),
                         [](const auto& info) { return std::string(info.param.name); });

// A record XML already holding every limited text one past its limit (as an
// older system or another program may have stored it) keeps them through a
// save of another field, and the file list goes on showing them.
TEST_F(HostRecordXmlIdentity, StoredTextsPastTheirLimitsSurviveASaveOfAnotherField)
{
    for (const char* flavour : {"90", "80"}) {
        const std::string record = std::string("o") + flavour + ".ecg";
        MakeRecords({"synth", "--kind", "rest12", "--flavour", flavour, "--out", m_dir.File(record)});
        MakeRecords({"xml", "--for", m_dir.File(record), "--out-of-range",
                     "--out", m_dir.File(std::string("o") + flavour + "20240401093000.xml")});
        const std::string xmlPath = m_dir.File(std::string("o") + flavour + "20240401093000.xml");
        const std::string before = testsupport::ReadFileBytes(xmlPath);
        const std::string listed = Listed(record);
        ASSERT_EQ(ElementText(before, "Patient_id"), ListedField(listed, "id")) << flavour;
        ASSERT_EQ(ElementText(before, "Patient_name"), ListedField(listed, "name")) << flavour;

        const HostRun saved = SaveSheet(record, "CDlgPatientInfoComment", "3421", "経過観察");
        ASSERT_EQ(0, saved.status) << saved.err;
        const std::string after = testsupport::ReadFileBytes(xmlPath);
        for (const char* field : {"Patient_id", "Patient_name", "Patient_kana_name", "Sub_id", "Symptom", "Disease",
                                  "Ward", "Department", "Request_section", "Request_doctor", "Technician", "Room_no"})
            EXPECT_EQ(ElementText(before, field), ElementText(after, field)) << flavour << " " << field;
        EXPECT_EQ(listed, Listed(record)) << flavour;
    }
}

// Two record files of one stem in one folder, each of its own patient.
struct Pair {
    const char* name;
    const char* first;
    const char* second;
    const char* maker;   // "synth" (a resting device record) or "mfer"
};

const Pair kPairs[] = {
    {"EcgAndDat", "s.ecg", "s.dat", "synth"},
    {"MwfInTwoCases", "p.mwf", "p.MWF", "mfer"},
};

void PrintTo(const Pair& pair, std::ostream* out)
{
    *out << pair.name;
}

class HostRecordsOfOneStem : public HostRecordXmlIdentity, public ::testing::WithParamInterface<Pair> {
protected:
    void SetUp() override
    {
        Make(GetParam().first, "AAA-1", "患者 甲");
        Make(GetParam().second, "BBB-2", "患者 乙");
    }
    void Make(const std::string& record, const char* id, const char* name)
    {
        if (std::string(GetParam().maker) == "mfer")
            MakeRecords({"mfer", "--kind", "plain", "--id", id, "--name", name, "--out", m_dir.File(record)});
        else
            MakeRecords({"synth", "--kind", "rest12", "--id", id, "--name", name, "--out", m_dir.File(record)});
    }
    // The record XML whose comment is `comment` ("" when none or several).
    std::string XmlWithComment(const std::string& comment) const
    {
        std::string found;
        for (const std::string& xml : RecordXmls(m_dir.Path())) {
            if (ElementText(testsupport::ReadFileBytes(xml), "Comment_content") != comment) continue;
            if (!found.empty()) return std::string();
            found = xml;
        }
        return found;
    }
};

TEST_P(HostRecordsOfOneStem, EachShowsAndSavesOnlyItsOwnRecordXml)
{
    const Pair& pair = GetParam();
    const std::string first = Listed(pair.first), second = Listed(pair.second);
    ASSERT_EQ("AAA-1", ListedField(first, "id"));
    ASSERT_EQ("BBB-2", ListedField(second, "id"));

    ASSERT_EQ(0, SaveSheet(pair.first, "CDlgPatientInfoComment", "3421", "甲の所見").status);
    EXPECT_EQ(first, Listed(pair.first));
    EXPECT_EQ(second, Listed(pair.second));   // not the first's patient
    ASSERT_EQ(0, SaveSheet(pair.second, "CDlgPatientInfoComment", "3421", "乙の所見").status);
    EXPECT_EQ(first, Listed(pair.first));
    EXPECT_EQ(second, Listed(pair.second));

    // Two record XMLs, each naming its record, each with its patient and comment.
    ASSERT_EQ(2u, RecordXmls(m_dir.Path()).size());
    const std::string firstXml = testsupport::ReadFileBytes(XmlWithComment("甲の所見"));
    const std::string secondXml = testsupport::ReadFileBytes(XmlWithComment("乙の所見"));
    EXPECT_EQ("AAA-1", ElementText(firstXml, "Patient_id"));
    EXPECT_EQ(pair.first, ElementText(firstXml, "Record_file"));
    EXPECT_EQ("BBB-2", ElementText(secondXml, "Patient_id"));
    EXPECT_EQ(pair.second, ElementText(secondXml, "Record_file"));
}

INSTANTIATE_TEST_SUITE_P(Stems, HostRecordsOfOneStem, ::testing::ValuesIn(kPairs),
                         [](const auto& info) { return std::string(info.param.name); });

// A record renamed together with its record XML keeps it, though the
// record XML names the record's former name.
TEST_F(HostRecordXmlIdentity, ARecordRenamedWithItsRecordXmlKeepsIt)
{
    MakeRecords({"synth", "--kind", "rest12", "--id", "AAA-1", "--name", "患者 甲", "--out", m_dir.File("s.ecg")});
    ASSERT_EQ(0, SaveSheet("s.ecg", "CDlgPatientInfoComment", "3206", "AAA-9").status);
    const std::vector<std::string> xmls = RecordXmls(m_dir.Path());
    ASSERT_EQ(1u, xmls.size());
    ASSERT_EQ("s.ecg", ElementText(testsupport::ReadFileBytes(xmls[0]), "Record_file"));
    const std::string digits = xmls[0].substr(xmls[0].size() - 18, 14);
    ASSERT_EQ(0, std::rename(m_dir.File("s.ecg").c_str(), m_dir.File("t.ecg").c_str()));
    ASSERT_EQ(0, std::rename(xmls[0].c_str(), m_dir.File("t" + digits + ".xml").c_str()));
    EXPECT_EQ("AAA-9", ListedField(Listed("t.ecg"), "id"));
}

// A record XML made before record XMLs named their record file, beside two
// record files of its stem: the patient id it stores tells whose it is when
// only one of the files gives that id. When nothing tells, neither shows it,
// the file list and the sheet say so naming both, and a save of either
// leaves it as it was. It stays neither's whichever of them saves: a
// record that saved has a record XML of its own, which tells nothing of
// whose the older one is (it once passed to the other record, which then
// showed and overwrote it).
TEST_F(HostRecordXmlIdentity, AnOlderRecordXmlIsShownOnlyForTheRecordItCanBeTold)
{
    MakeRecords({"synth", "--kind", "rest12", "--id", "AAA-1", "--name", "患者 甲", "--out", m_dir.File("s.ecg")});
    const std::string older = m_dir.File("s20240401093000.xml");
    MakeRecords({"xml", "--for", m_dir.File("s.ecg"), "--out", older});
    std::string stored = testsupport::ReadFileBytes(older);
    ASSERT_TRUE(ElementText(stored, "Record_file").empty());
    ASSERT_EQ("AAA-1", ElementText(stored, "Patient_id"));
    const std::string alone = Listed("s.ecg");   // the one record of the stem: the record XML is its own
    MakeRecords({"synth", "--kind", "rest12", "--id", "BBB-2", "--name", "患者 乙", "--out", m_dir.File("s.dat")});
    EXPECT_EQ(alone, Listed("s.ecg"));
    const std::string second = Listed("s.dat");
    EXPECT_EQ("BBB-2", ListedField(second, "id"));
    EXPECT_EQ(std::string::npos, second.find("s20240401093000.xml")) << second;

    // A stored id neither file gives (the person changed it) tells nothing.
    const std::string changed = std::regex_replace(stored, std::regex("<Patient_id>AAA-1<"), "<Patient_id>ZZZ-9<");
    std::ofstream(older, std::ios::binary | std::ios::trunc) << changed;
    // The note names both records and says the record XML is neither's.
    const std::string note =
        "./s20240401093000.xml names no record file, and s.dat and s.ecg share its name: it is shown and saved as "
        "neither's";
    for (const char* record : {"s.ecg", "s.dat"}) {
        const std::string listed = Listed(record);
        EXPECT_EQ(record == std::string("s.ecg") ? "AAA-1" : "BBB-2", ListedField(listed, "id")) << listed;
        EXPECT_NE(std::string::npos, listed.find("; " + note)) << listed;
        const HostRun sheet = In({"dialog", record, "--dialog", "CDlgPatientInfoComment", "--png", m_dir.File("d.png")});
        EXPECT_EQ(0, sheet.status) << sheet.err;
        EXPECT_NE(std::string::npos, sheet.err.find("morvelance-host: " + std::string(record) + ": note: " + note + "\n"))
            << sheet.err;
    }
    ASSERT_EQ(0, SaveSheet("s.dat", "CDlgPatientInfoComment", "3421", "乙の所見").status);
    const std::string first = Listed("s.ecg");
    EXPECT_EQ("AAA-1", ListedField(first, "id")) << first;
    EXPECT_NE(std::string::npos, first.find("s20240401093000.xml")) << first;
    ASSERT_EQ(0, SaveSheet("s.ecg", "CDlgPatientInfoComment", "3421", "甲の所見").status);
    EXPECT_EQ(changed, testsupport::ReadFileBytes(older));
    EXPECT_EQ("AAA-1", ListedField(Listed("s.ecg"), "id"));
    EXPECT_EQ("BBB-2", ListedField(Listed("s.dat"), "id"));
    EXPECT_EQ(3u, RecordXmls(m_dir.Path()).size());
}

// The record XML info shows for a record: its path, or the name a save would
// make with " (to be made)".
std::string InfoRecordXml(const std::string& out)
{
    std::smatch match;
    return std::regex_search(out, match, std::regex("  record XML +([^\\n]*)")) ? match[1].str() : std::string();
}

// A record XML belongs to the record file it names when that file gives the
// patient and acquisition time it was made with, wherever the two are moved
// or copied together; to no record when the file it names is gone and the
// record file of its name here is another patient's, or when it is copied
// beside another patient's record of the same name. A record finds its own
// among several older ones. Where a record XML is no record's, info says
// so, naming it and the file it was made for; the record shows its own
// patient, and its save makes its own record XML and leaves that one as it
// was.
TEST_F(HostRecordXmlIdentity, ARecordXmlIsOneRecordsOrNoRecordsHoweverRecordsAndRecordXmlsAreMovedOrCopied)
{
    auto folder = [this](const std::string& name) {
        const std::string path = m_dir.File(name);
        ::mkdir(path.c_str(), 0755);
        return path;
    };
    auto make = [](const std::string& path, const char* id, const char* name, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"synth", "--kind", "rest12", "--id", id, "--name", name};
        args.insert(args.end(), more.begin(), more.end());
        args.push_back("--out");
        args.push_back(path);
        MakeRecords(args);
    };
    auto info = [](const std::string& where, const std::string& record) { return Host({"info", record}, where); };
    auto save = [](const std::string& where, const std::string& record, const std::string& comment) {
        return Host(
            {"dialog", record, "--dialog", "CDlgPatientInfoComment", "--set", "3421=" + comment, "--ok", "編集者"}, where);
    };
    auto copy = [](const std::string& from, const std::string& to) {
        std::ofstream(to, std::ios::binary) << testsupport::ReadFileBytes(from);
    };
    auto base = [](const std::string& path) { return path.substr(path.rfind('/') + 1); };
    // The record XML of the folder that names `record` and holds `comment`.
    auto madeFor = [](const std::string& where, const std::string& record, const std::string& comment) {
        std::vector<std::string> found;
        for (const std::string& xml : RecordXmls(where)) {
            const std::string bytes = testsupport::ReadFileBytes(xml);
            if (ElementText(bytes, "Record_file") == record && ElementText(bytes, "Comment_content") == comment)
                found.push_back(xml);
        }
        return found.size() == 1 ? found.front() : std::string();
    };
    // info on a record that shows its own patient and no record XML, saying
    // why the one of its name is none of its.
    auto expectNoRecords = [&](const std::string& where, const std::string& record, const char* id,
                               const std::string& xml, const std::string& madeForRecord) {
        const HostRun shown = info(where, record);
        ASSERT_EQ(0, shown.status) << shown.err;
        const std::string listed = FileListLine(shown.out);
        EXPECT_EQ(id, ListedField(listed, "id")) << listed;
        EXPECT_NE(std::string::npos, InfoRecordXml(shown.out).find("(to be made)")) << shown.out;
        EXPECT_NE(std::string::npos, listed.find(base(xml) + " was made for " + madeForRecord)) << listed;
    };
    // A save that makes the record's own record XML, leaving `other` as it was.
    auto expectOwnSave = [&](const std::string& where, const std::string& record, const char* id,
                             const std::string& other) {
        const std::string before = testsupport::ReadFileBytes(other);
        const HostRun saved = save(where, record, "所見" + record);
        ASSERT_EQ(0, saved.status) << saved.err;
        EXPECT_NE(std::string::npos, saved.out.find("saved")) << saved.out;
        EXPECT_EQ(before, testsupport::ReadFileBytes(other));
        const std::string own = madeFor(where, record, "所見" + record);
        ASSERT_FALSE(own.empty());
        EXPECT_EQ(id, ElementText(testsupport::ReadFileBytes(own), "Patient_id"));
        const HostRun shown = info(where, record);
        EXPECT_EQ(id, ListedField(FileListLine(shown.out), "id")) << shown.out;
        EXPECT_EQ(base(own), base(InfoRecordXml(shown.out)));
        EXPECT_EQ(std::string::npos, shown.err.find("note")) << shown.err;
    };

    // s.ecg saved, then moved out; s.dat of another patient made beside its record XML.
    const std::string moved = folder("moved");
    make(moved + "/s.ecg", "AAA-1", "患者 甲");
    ASSERT_EQ(0, save(moved, "s.ecg", "甲の所見").status);
    const std::string ofS = madeFor(moved, "s.ecg", "甲の所見");
    ASSERT_FALSE(ofS.empty());
    ASSERT_EQ(0, std::rename((moved + "/s.ecg").c_str(), m_dir.File("s.ecg").c_str()));
    make(moved + "/s.dat", "BBB-2", "患者 乙");
    expectNoRecords(moved, "s.dat", "BBB-2", ofS, "s.ecg");
    expectOwnSave(moved, "s.dat", "BBB-2", ofS);

    // s.ecg copied with its record XML under another stem: the copy finds the
    // copied record XML (with the id the person changed), and s.ecg keeps its own.
    const std::string copied = folder("copied");
    make(copied + "/s.ecg", "AAA-1", "患者 甲");
    const HostRun changed =
        Host({"dialog", "s.ecg", "--dialog", "CDlgPatientInfoComment", "--set", "3206=AAA-9", "--ok", "編集者"}, copied);
    ASSERT_EQ(0, changed.status) << changed.err;
    const std::vector<std::string> made = RecordXmls(copied);
    ASSERT_EQ(1u, made.size());
    const std::string digits = made[0].substr(made[0].size() - 18, 14);
    copy(copied + "/s.ecg", copied + "/u.ecg");
    copy(made[0], copied + "/u" + digits + ".xml");
    for (const char* record : {"s.ecg", "u.ecg"}) {
        const HostRun shown = info(copied, record);
        EXPECT_EQ("AAA-9", ListedField(FileListLine(shown.out), "id")) << record << shown.out;
        EXPECT_EQ(record[0] + digits + ".xml", base(InfoRecordXml(shown.out))) << shown.out;
    }

    // That record XML copied beside another patient's record of the same name.
    const std::string other = folder("other");
    make(other + "/s.ecg", "CCC-3", "患者 丙");
    copy(made[0], other + "/" + base(made[0]));
    expectNoRecords(other, "s.ecg", "CCC-3", other + "/" + base(made[0]), "s.ecg");
    expectOwnSave(other, "s.ecg", "CCC-3", other + "/" + base(made[0]));

    // s.ecg and s.dat each with an older record XML of its own naming no
    // record: each finds its own, whichever is newer.
    const std::string older = folder("older");
    make(older + "/s.ecg", "AAA-1", "患者 甲", {"--time", "2024-04-01 09:30:00", "--xml"});
    make(older + "/s.dat", "BBB-2", "患者 乙", {"--time", "2024-04-02 10:00:00", "--xml"});
    const struct {
        const char* record;
        const char* id;
        const char* xml;
    } olders[] = {{"s.ecg", "AAA-1", "s20240401093000.xml"}, {"s.dat", "BBB-2", "s20240402100000.xml"}};
    for (const auto& record : olders) {
        ASSERT_TRUE(ElementText(testsupport::ReadFileBytes(older + "/" + record.xml), "Record_file").empty());
        const HostRun shown = info(older, record.record);
        EXPECT_EQ(record.xml, base(InfoRecordXml(shown.out))) << shown.out;
        EXPECT_NE(std::string::npos, shown.out.find("  xml patient     " + std::string(record.id) + " ")) << shown.out;
        EXPECT_EQ(std::string::npos, shown.err.find("note")) << shown.err;
    }
}

// An older record XML keeps the acquisition time of the record it was made
// for, and no save changes it: with the patient id it stores, that time
// tells whose it is. Two records of one patient made at different times
// each find their own, and each save writes into it; a record of another
// patient and time made under the name of a deleted record finds none of
// that one's, is told so, and its save makes its own; a corrected patient id
// leaves a record XML its record's while the time is its record's. One
// that stores no acquisition time stays the one record's of its stem.
TEST_F(HostRecordXmlIdentity, AnOlderRecordXmlIsTheRecordsWhoseFileGivesTheAcquisitionTimeItKeeps)
{
    auto folder = [this](const std::string& name) {
        const std::string path = m_dir.File(name);
        ::mkdir(path.c_str(), 0755);
        return path;
    };
    auto make = [](const std::string& path, const char* id, const char* time, bool xml) {
        std::vector<std::string> args = {"synth", "--kind", "rest12", "--id", id, "--time", time, "--out", path};
        if (xml) args.push_back("--xml");
        MakeRecords(args);
    };
    auto info = [](const std::string& where, const std::string& record) { return Host({"info", record}, where); };
    auto save = [](const std::string& where, const std::string& record, const std::string& field,
                   const std::string& text) {
        return Host({"dialog", record, "--dialog", "CDlgPatientInfoComment", "--set", field + "=" + text, "--ok", "編集者"},
                    where);
    };

    // One patient at two times, each record with the older record XML made for it.
    const std::string two = folder("two");
    make(two + "/s.ecg", "PAT-1", "2024-01-01 09:00:00", true);
    make(two + "/s.dat", "PAT-1", "2024-02-01 09:00:00", true);
    const struct {
        const char* record;
        const char* xml;
        const char* other;
        const char* time;
    } own[] = {{"s.ecg", "s20240101090000.xml", "s20240201090000.xml", "2024/01/01 09:00:00"},
               {"s.dat", "s20240201090000.xml", "s20240101090000.xml", "2024/02/01 09:00:00"}};
    for (const auto& record : own) {
        SCOPED_TRACE(record.record);
        ASSERT_TRUE(ElementText(testsupport::ReadFileBytes(two + "/" + record.xml), "Record_file").empty());
        const HostRun shown = info(two, record.record);
        EXPECT_EQ(std::string("./") + record.xml, InfoRecordXml(shown.out)) << shown.out;
        EXPECT_NE(std::string::npos, FileListLine(shown.out).find(record.time)) << shown.out;
        EXPECT_EQ(std::string::npos, shown.err.find("note")) << shown.err;
        const std::string other = testsupport::ReadFileBytes(two + "/" + record.other);
        const HostRun saved = save(two, record.record, "3421", std::string("所見") + record.record);
        ASSERT_EQ(0, saved.status) << saved.err;
        EXPECT_EQ(std::string("所見") + record.record,
                  ElementText(testsupport::ReadFileBytes(two + "/" + record.xml), "Comment_content"));
        EXPECT_EQ(other, testsupport::ReadFileBytes(two + "/" + record.other));
        EXPECT_EQ(2u, RecordXmls(two).size());
    }

    // Two records of the time and patient id it keeps (one examination kept
    // in two files) share it, and the third record of the stem, of another
    // time, is not among those it names nor told of it.
    const std::string three = folder("three");
    make(three + "/s.ecg", "PAT-1", "2024-01-01 09:00:00", true);
    make(three + "/s.dat", "PAT-1", "2024-01-01 09:00:00", false);
    make(three + "/s.ECG", "PAT-9", "2024-05-01 09:00:00", false);
    for (const char* sharer : {"s.ecg", "s.dat"}) {
        const HostRun shared = info(three, sharer);
        EXPECT_NE(std::string::npos,
                  shared.err.find("./s20240101090000.xml names no record file, and s.dat and s.ecg share its name: it "
                                  "is shown and saved as neither's"))
            << shared.err;
    }
    const HostRun third = info(three, "s.ECG");
    EXPECT_NE(std::string::npos, InfoRecordXml(third.out).find("(to be made)")) << third.out;
    EXPECT_EQ(std::string::npos, third.err.find("note")) << third.err;

    // AAA-1's record saved with its older record XML, then deleted; BBB-2's
    // record of another time made under its name beside that record XML.
    const std::string gone = folder("gone");
    make(gone + "/s.ecg", "AAA-1", "2024-01-01 09:00:00", true);
    ASSERT_EQ(0, save(gone, "s.ecg", "3421", "甲の所見").status);
    const std::string older = gone + "/s20240101090000.xml";
    ASSERT_EQ("甲の所見", ElementText(testsupport::ReadFileBytes(older), "Comment_content"));
    ASSERT_EQ(0, std::remove((gone + "/s.ecg").c_str()));
    make(gone + "/s.ecg", "BBB-2", "2024-03-01 10:00:00", false);
    const std::string note =
        "./s20240101090000.xml names no record file, and s.ecg gives another acquisition time: it is shown and saved "
        "as no record's";
    const HostRun shown = info(gone, "s.ecg");
    EXPECT_EQ("BBB-2", ListedField(FileListLine(shown.out), "id")) << shown.out;
    EXPECT_NE(std::string::npos, InfoRecordXml(shown.out).find("(to be made)")) << shown.out;
    EXPECT_NE(std::string::npos, FileListLine(shown.out).find("; " + note)) << shown.out;
    EXPECT_NE(std::string::npos, shown.err.find("morvelance-host: s.ecg: note: " + note + "\n")) << shown.err;
    const std::string kept = testsupport::ReadFileBytes(older);
    ASSERT_EQ(0, save(gone, "s.ecg", "3421", "乙の所見").status);
    EXPECT_EQ(kept, testsupport::ReadFileBytes(older));
    ASSERT_EQ(2u, RecordXmls(gone).size());
    for (const std::string& xml : RecordXmls(gone)) {
        if (xml == older) continue;
        const std::string bytes = testsupport::ReadFileBytes(xml);
        EXPECT_EQ("s.ecg", ElementText(bytes, "Record_file"));
        EXPECT_EQ("BBB-2", ElementText(bytes, "Patient_id"));
        EXPECT_EQ("乙の所見", ElementText(bytes, "Comment_content"));
    }
    EXPECT_EQ("BBB-2", ListedField(FileListLine(info(gone, "s.ecg").out), "id"));

    // A patient id corrected on the sheet, its record alone in the folder.
    const std::string corrected = folder("corrected");
    make(corrected + "/s.ecg", "AAA-1", "2024-01-01 09:00:00", true);
    ASSERT_EQ(0, save(corrected, "s.ecg", "3206", "AAA-9").status);
    const std::string itsXml = corrected + "/s20240101090000.xml";
    const std::string stored = testsupport::ReadFileBytes(itsXml);
    ASSERT_EQ("AAA-9", ElementText(stored, "Patient_id"));
    ASSERT_TRUE(ElementText(stored, "Record_file").empty());
    const HostRun itsOwn = info(corrected, "s.ecg");
    EXPECT_EQ("./s20240101090000.xml", InfoRecordXml(itsOwn.out)) << itsOwn.out;
    EXPECT_EQ("AAA-9", ListedField(FileListLine(itsOwn.out), "id")) << itsOwn.out;
    EXPECT_EQ(std::string::npos, itsOwn.err.find("note")) << itsOwn.err;

    // Without an acquisition time, nothing tells it from the one record of its stem.
    std::ofstream(itsXml, std::ios::binary | std::ios::trunc)
        << std::regex_replace(stored, std::regex("<Acquition_date [^>]*/>"), "");
    ASSERT_EQ(0, std::remove((corrected + "/s.ecg").c_str()));
    make(corrected + "/s.ecg", "AAA-1", "2024-03-01 10:00:00", false);
    EXPECT_EQ("./s20240101090000.xml", InfoRecordXml(info(corrected, "s.ecg").out));
}

// A record XML whose root is another element than Rawdata holds nothing a
// save writes: on a record of each kind, every save the host offers (the
// patient sheets and the forms the record shows) is refused as a record
// XML that could not be read is, saying so, with the file as it was and
// nothing said "saved".
struct RootedRecord {
    const char* file;
    const char* maker;   // "samples", "examinations", or the MFER kind
};

void PrintTo(const RootedRecord& record, std::ostream* out)
{
    *out << record.file;
}

class HostRecordXmlOfAnotherRoot : public HostRecordXmlIdentity, public ::testing::WithParamInterface<RootedRecord> {
};

TEST_P(HostRecordXmlOfAnotherRoot, EverySaveIsRefusedAsForAnUnreadableRecordXmlAndTheFileStaysAsItWas)
{
    const std::string file = GetParam().file, maker = GetParam().maker;
    const std::string stem = file.substr(0, file.rfind('.'));
    std::string xml;
    if (file.find(".mwf") != std::string::npos) {
        xml = m_dir.File("Raw_" + stem + "20240401093000.xml");
        MakeRecords({"mfer", "--kind", maker, "--out", m_dir.File(file), "--xml-out", xml});
    } else {
        testsupport::TempDir made;
        MakeRecords({maker, made.Path()});
        xml = m_dir.File(stem + "20240401093000.xml");
        for (const std::string& name : {file, stem + std::string("20240401093000.xml")})
            std::ofstream(m_dir.File(name), std::ios::binary) << testsupport::ReadFileBytes(made.File(name));
    }
    const std::string rooted =
        std::regex_replace(testsupport::ReadFileBytes(xml), std::regex("<(/?)Rawdata([ >])"), "<$1Other$2");
    ASSERT_NE(std::string::npos, rooted.find("<Other>"));
    std::ofstream(xml, std::ios::binary | std::ios::trunc) << rooted;

    int saves = 0;
    auto expectRefused = [&](const HostRun& run, const std::string& what) {
        SCOPED_TRACE(what);
        ++saves;
        EXPECT_NE(0, run.status) << run.out << run.err;
        EXPECT_EQ(std::string::npos, run.out.find(": saved")) << run.out;
        EXPECT_NE(std::string::npos, run.err.find("ファイルを読み込めなかったため、上書きしませんでした")) << run.err;
        EXPECT_EQ(rooted, testsupport::ReadFileBytes(xml));
    };
    // The sheets: the one the record takes saves a comment.
    int sheets = 0;
    for (const char* sheet : {"CDlgPatientInfoComment", "CDlgInfoCommentGeneral"}) {
        for (const char* field : {"3421", "3706", "4173"}) {
            const HostRun run =
                In({"dialog", file, "--dialog", sheet, "--set", std::string(field) + "=所見", "--ok", "編集者"});
            if (run.err.find("does not take this record") != std::string::npos) break;
            if (run.err.find("no field") != std::string::npos) continue;
            expectRefused(run, std::string(sheet) + " " + field);
            ++sheets;
            break;
        }
    }
    EXPECT_GE(sheets, 1);
    // The forms the record shows, each saved as shown.
    const HostRun views = In({"view", file, "--view", "all", "--out", m_dir.File("views")});
    ASSERT_EQ(0, views.status) << views.err;
    for (const std::string& name : testsupport::FolderEntries(m_dir.File("views"))) {
        if (name.rfind("CForm", 0) != 0) continue;
        const std::string form = name.substr(0, name.size() - 4);
        expectRefused(In({"view", file, "--view", form, "--save", "--png", m_dir.File("form.png")}), form);
    }
    EXPECT_GE(saves, 3);
}

INSTANTIATE_TEST_SUITE_P(
    RecordKinds, HostRecordXmlOfAnotherRoot,
    ::testing::Values(RootedRecord{"rest12_90.ecg", "samples"}, RootedRecord{"rest12_80.ecg", "samples"},
                      RootedRecord{"rhythm_90.ecg", "samples"}, RootedRecord{"rr_80.ecg", "samples"},
                      RootedRecord{"extra_90.ecg", "samples"}, RootedRecord{"rhythm38_90.ecg", "examinations"},
                      RootedRecord{"freeze_90.ecg", "examinations"}, RootedRecord{"mstep243.ecg", "examinations"},
                      RootedRecord{"exercise_90.ecg", "examinations"}, RootedRecord{"p.mwf", "plain"},
                      RootedRecord{"f.mwf", "freeze"}),
    [](const auto& info) {
        std::string name = info.param.file;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

}  // namespace
