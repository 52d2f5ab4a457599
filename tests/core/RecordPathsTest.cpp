// Records kept under folder and file names in Japanese, Chinese and accented
// Latin: the record file, its record XML and an MFER file's HL7 header are
// found, listed, opened, saved and reopened there, the paths going from the
// file system's UTF-8 bytes to the library's wide text and back.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>
#include <string>

#include "core/FileItemInfo.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/base/File.h"
#include "platform/base/PathNames.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/Mkrecord.h"

using namespace testsupport;

namespace {

const CString kPatientName = L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_name";

// The folder and file names every test runs under.
struct Names {
    const char* folder;
    const char* stem;
};
const Names kNames[] = {
    {"検査記録", "心電図_山田"},
    {"心电图记录", "患者_王"},
    {"Ünïcödé café", "récord_Ødegård"},
};

void PrintTo(const Names& names, std::ostream* os)
{
    *os << names.folder << "/" << names.stem;
}

class RecordPathsTest : public DocumentTest, public ::testing::WithParamInterface<Names> {
protected:
    std::string Folder() const { return m_dir.File(GetParam().folder); }
    std::string Record(const char* extension) const { return Folder() + "/" + GetParam().stem + extension; }

    // Runs the record maker as its command line would; false on failure.
    bool Make(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        const int status = morvelance::RunMkrecord(args, out, err);
        EXPECT_EQ(status, 0) << err.str();
        return status == 0;
    }

    void SetUp() override
    {
        DocumentTest::SetUp();
        ASSERT_EQ(mkdir(Folder().c_str(), 0755), 0);
    }
};

// The record XML the maker wrote beside a record: its stem and 14 digits.
std::string RecordXmlBeside(const std::string& folder, const std::string& stem)
{
    CFileFind find;
    const CString pattern = Wide(folder + "/" + stem + "*.xml");
    std::string found;
    for (BOOL more = find.FindFile(pattern); more;) {
        more = find.FindNextFile();
        found = Utf8(find.GetFilePath());
    }
    return found;
}

}  // namespace

TEST_P(RecordPathsTest, TheFileListReadsARecordAndItsRecordXmlUnderTheName)
{
    const std::string record = Record(".ecg");
    ASSERT_TRUE(Make({"synth", "--kind", "rest12", "--name", "東 太郎", "--xml", "--out", record}));
    const std::string xml = RecordXmlBeside(Folder(), GetParam().stem);
    ASSERT_FALSE(xml.empty());

    CTavrionDoc doc;
    _FILEITEM_INFO info;
    EXPECT_EQ(doc.ReadFile(Wide(record), Wide(xml), nullptr, &info), 0);
    EXPECT_EQ(info.nLeadCount, 12);
    EXPECT_EQ(info.strPatientName, CString(L"東 太郎"));
    EXPECT_EQ(platform::NativePath(Wide(xml).GetString()), xml);
}

TEST_P(RecordPathsTest, ARecordOpensSavesAndReopensUnderTheName)
{
    const std::string record = Record(".ecg");
    ASSERT_TRUE(Make({"synth", "--kind", "rest12", "--xml", "--out", record}));
    const std::string xml = RecordXmlBeside(Folder(), GetParam().stem);
    ASSERT_FALSE(xml.empty());

    {
        CRestViewDoc doc;
        _RESTDATAITEM* item = NewRecordItem<_RESTDATAITEM>(record, xml);
        doc.GetRestDataManager().AppendItem(item);
        ASSERT_EQ(OpenRecord(doc, {record, xml}), 0);
        doc.SetCurDataIndex(item->nID);
        EXPECT_EQ(doc.GetRhythmWaveData(0, nullptr, -1), 5000 * 2);
        doc.SetCtrlContent(&item->stPatient);
        EXPECT_EQ(doc.PushCtrlEdit(3003, L"北村 花", -1), 1);
        ASSERT_EQ(doc.SaveDataToXML(item->nID), 0);
    }
    EXPECT_EQ(ReadXmlValue(xml, kPatientName), CString(L"北村 花"));

    CRestViewDoc reopened;
    _RESTDATAITEM* again = NewRecordItem<_RESTDATAITEM>(record, xml);
    reopened.GetRestDataManager().AppendItem(again);
    ASSERT_EQ(OpenRecord(reopened, {record, xml}), 0);
    EXPECT_EQ(again->stPatient.strName, CString(L"北村 花"));
}

TEST_P(RecordPathsTest, ARecordWithoutRecordXmlGetsOneNamedInItsOwnFolder)
{
    const std::string record = Record(".ecg");
    ASSERT_TRUE(Make({"synth", "--kind", "rest15", "--out", record}));
    CTavrionDoc doc;
    _DATAITEM* item = new _DATAITEM;
    item->strFilePath = Wide(record);
    doc.GetDataManager().AppendItem(item);
    CString xml, file = Wide(record);
    EXPECT_EQ(doc.OpenFile(xml, file) & 0xFF, 11);
    const std::string named = Utf8(item->strXMLPath);
    EXPECT_EQ(named.rfind(Folder() + "/" + GetParam().stem, 0), 0u) << named;
}

TEST_P(RecordPathsTest, AnMferFileOpensWithItsHl7HeaderUnderTheName)
{
    const std::string mfer = Record(".mwf");
    const std::string hl7 = Record(".hl7.xml");
    ASSERT_TRUE(Make({"mfer", "--kind", "plain", "--leads", "3", "--id", "MF-77", "--hl7", hl7, "--out", mfer}));

    CTavrionDoc doc;
    _FILEITEM_INFO info;
    EXPECT_EQ(doc.ReadFile(Wide(mfer), nullptr, Wide(hl7), &info), 0x8003);
    EXPECT_EQ(info.nLeadCount, 3);
    EXPECT_EQ(info.strPatientID, CString(L"MF-77"));

    // The record XML the base document names lies beside the file, under its name.
    _DATAITEM* probed = new _DATAITEM;
    probed->strFilePath = Wide(mfer);
    doc.GetDataManager().AppendItem(probed);
    CString probeFile = Wide(mfer), named, none;
    EXPECT_EQ(doc.OpenMFERFile(probeFile, named, none), 0x8003);
    EXPECT_EQ(Utf8(named).rfind(Folder() + "/Raw_" + GetParam().stem, 0), 0u) << Utf8(named);

    CMFERViewDoc view;
    auto* item = new _MFERDATAITEM;
    item->strFilePath = Wide(mfer);
    item->nLeadLayout = 3;
    view.GetMFERDataManager()->AppendItem(item);
    view.SetCurDataIndex(item->nID);
    CString file = Wide(mfer), xml, third;
    const int opened = view.OpenMFERFile(file, xml, third);
    EXPECT_TRUE(opened != 1 && opened != 255) << opened;
    EXPECT_EQ(view.GetCurItemLeadCount(), 3);
    EXPECT_EQ(view.GetRhythmWaveData(2, nullptr, -1), 5000 * 2);
}

namespace {
std::string ScriptOf(const ::testing::TestParamInfo<Names>& info)
{
    static const char* const kLabels[] = {"Japanese", "Chinese", "AccentedLatin"};
    return kLabels[info.index];
}
}  // namespace

INSTANTIATE_TEST_SUITE_P(JapaneseChineseAndAccentedNames, RecordPathsTest, ::testing::ValuesIn(kNames), ScriptOf);
