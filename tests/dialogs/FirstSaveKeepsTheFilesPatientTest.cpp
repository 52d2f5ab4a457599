// A record file opened before its record XML exists: its forms show the
// patient the file carries, and the first save writes that patient into the
// new record XML, as the file list reads it from the file, rather than empty
// fields; a first save that cannot write says which file and why. The records
// are the record maker's MFER files and device records on disk, opened
// through their examination documents.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "core/FileItemInfo.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/DlgPatientInfoComment.h"
#include "documents/ExerViewDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/dialogs/SheetTestSupport.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/ExaminationRead.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"
#include "tools/Mkrecord.h"

namespace {

using testsupport::RecordPaths;
using testsupport::Wide;

const wchar_t* const kNoTime = L"****/**/** **:**:**";

// What the host's file list shows of a record file.
struct Listed {
    CString id;
    CString name;
    CString time;
};

Listed ListedOf(const RecordPaths& files, bool withXml)
{
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    doc.ReadFile(Wide(files.record), withXml ? Wide(files.xml).GetString() : L"", L"", &info);
    return {info.strPatientID, info.strPatientName, info.strAcqTime};
}

void ExpectSame(const Listed& expected, const Listed& actual)
{
    EXPECT_EQ(expected.id, actual.id);
    EXPECT_EQ(expected.name, actual.name);
    EXPECT_EQ(expected.time, actual.time);
}

bool Exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool Make(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const bool made = morvelance::RunMkrecord(args, out, err) == 0;
    EXPECT_TRUE(made) << err.str();
    return made;
}

// The item of whatever kind the document is, as the sheets and the savers see it.
_PATIENT_INFO* CurrentPatient(CTavrionDoc& doc)
{
    if (auto* mfer = dynamic_cast<CMFERViewDoc*>(&doc)) return &mfer->GetCurrentDataItem()->stPatient;
    if (auto* rest = dynamic_cast<CRestViewDoc*>(&doc)) return &rest->GetCurrentDataItem()->stPatient;
    if (auto* rhythm = dynamic_cast<CRhythmViewDoc*>(&doc)) return &rhythm->GetCurrentDataItem()->stPatient;
    if (auto* rr = dynamic_cast<CRRViewDoc*>(&doc)) return &rr->GetCurrentDataItem()->stPatient;
    if (auto* extra = dynamic_cast<CExtraViewDoc*>(&doc)) return &extra->GetCurrentDataItem()->stPatient;
    if (auto* exer = dynamic_cast<CExerViewDoc*>(&doc)) return &exer->GetCurrentDataItem()->stPatient;
    if (auto* mstep = dynamic_cast<CFinalViewDoc*>(&doc)) return &mstep->GetCurrentDataItem()->stPatient;
    return nullptr;
}

class FirstSave : public testsupport::DocumentTest {
protected:
    void TearDown() override
    {
        if (m_doc) m_doc->SetNotifyWnd(nullptr);
        if (m_notify.GetSafeHwnd()) m_notify.DestroyWindow();
        m_doc.reset();
        DocumentTest::TearDown();
    }

    // An MFER file without its record XML, and the record XML's name as the
    // host gives it ("Raw_", the stem, the naming time), not yet on disk.
    RecordPaths MferWithoutXml(const std::vector<std::string>& make)
    {
        const RecordPaths files{m_dir.File("p.mwf"), m_dir.File("Raw_p20240401093000.xml")};
        std::vector<std::string> args = make;
        args.insert(args.end(), {"--out", files.record});
        return Make(args) ? files : RecordPaths{};
    }

    // Opens the file as the host opens it: the item's lead layout by the file's kind.
    bool OpenMfer(const RecordPaths& files, const std::string& thirdKey = std::string())
    {
        CTavrionDoc probe;
        CString record = Wide(files.record), probeXml, third;
        probe.GetDataManager().AppendItem(testsupport::NewRecordItem<_DATAITEM>(files.record, std::string()));
        const int kind = probe.OpenMFERFile(record, probeXml, third);
        auto doc = std::make_unique<CMFERViewDoc>();
        auto* item = testsupport::NewRecordItem<_MFERDATAITEM>(files.record, files.xml);
        item->nLeadLayout = CMFERViewDoc::GetLeadLayoutBySystemCode(kind);
        if (!thirdKey.empty()) third = item->strThirdKey = Wide(thirdKey);
        doc->GetMFERDataManager()->AppendItem(item);
        doc->SetCurDataIndex(item->nID);
        CString xml = item->strXMLPath;
        if (doc->OpenMFERFile(record, xml, third) != 0) return false;
        // The host reads the record's display settings back before it shows
        // the record: these tests first opened records without that step,
        // and so missed an opening that wrote the record XML (see Open below).
        doc->UpDateReferenceInfo(item->strXMLPath);
        m_doc = std::move(doc);
        m_type = DOC_TYPE_MFER;
        return true;
    }

    template <class Doc, class Item, class List>
    bool OpenDevice(const RecordPaths& files, List& (Doc::*list)(), int type)
    {
        return OpenDeviceItem<Doc, Item>(files, type, [list](Doc& doc) -> List& { return (doc.*list)(); });
    }
    template <class Doc, class Item, class List>
    bool OpenDevice(const RecordPaths& files, List* (Doc::*list)(), int type)
    {
        return OpenDeviceItem<Doc, Item>(files, type, [list](Doc& doc) -> List& { return *(doc.*list)(); });
    }
    template <class Doc, class Item, class ListOf>
    bool OpenDeviceItem(const RecordPaths& files, int type, ListOf listOf)
    {
        auto doc = std::make_unique<Doc>();
        auto* item = testsupport::NewRecordItem<Item>(files.record, files.xml);
        listOf(*doc).AppendItem(item);
        if (testsupport::OpenRecord(*doc, files) != 0) return false;
        doc->SetCurDataIndex(item->nID);
        // As the host opens a record: its display settings read back. The
        // exercise document used to write its lead selections back here,
        // making a record XML of them alone before anything was saved.
        doc->UpDateReferenceInfo(item->strXMLPath);
        m_doc = std::move(doc);
        m_type = type;
        return true;
    }

    // The store loaded as for the forms, a comment typed into it, and the
    // record saved as the dialogs save it.
    int SaveAComment()
    {
        m_doc->SetCtrlContent(nullptr);
        m_doc->SetCtrlData(4017, L"経過観察", 0, -1);
        return m_doc->SaveDataToXML(m_doc->GetCurDataIndex());
    }

    // The patient sheet over the document: what its patient page shows as id
    // and name, then a comment typed and saved with the editor's name.
    struct SheetRun {
        CString shownId;
        CString shownName;
        INT_PTR result = 0;
    };
    SheetRun SaveACommentOnTheSheet(const std::function<void()>& whileOpen = nullptr)
    {
        m_doc->SetCtrlContent(nullptr);
        m_doc->InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), L"編集者");
        m_doc->SetDoctorAndEditorStatus(1, 1);
        platform::ui::Desktop::Reset();
        EXPECT_TRUE(m_notify.CreateEx(0, nullptr, L"host", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc->SetNotifyWnd(&m_notify);

        SheetRun run;
        testsupport::ModalScript script;
        CDlgPatientInfoComment sheet(1);
        sheet.SetDoc(m_doc.get(), m_type);
        script.On(CDlgPatientInfoComment::IDD, [&](CDialog& dialog) {
            sheet.PatientPage().GetDlgItemText(3206, run.shownId);
            sheet.PatientPage().GetDlgItemText(3208, run.shownName);
            sheettest::Retype(sheet.CommentPage(), 3421, L"経過観察");
            sheettest::Press(dialog, IDOK);
            if (whileOpen) {
                whileOpen();
                sheettest::Press(dialog, IDCANCEL);
            }
        });
        script.On(CDlgEditor::IDD, [](CDialog& dialog) { sheettest::Press(dialog, IDOK); });
        run.result = sheet.DoModal();
        return run;
    }

    // The first save kept what the file carries: the list reads the same
    // patient from the new record XML as from the file, and the document
    // opened again has it, with no sex or birthday the file did not carry.
    void ExpectTheFilesPatientKept(const RecordPaths& files, const Listed& fromFile, const _PATIENT_INFO& shown)
    {
        ASSERT_TRUE(Exists(files.xml));
        ExpectSame(fromFile, ListedOf(files, true));
        EXPECT_EQ(CString(L"経過観察"),
                  testsupport::ReadXmlValue(files.xml, L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content"));
        CTavrionDoc reader;
        CECGXMLParser xml(Wide(files.xml), 0, CString());
        _PATIENT_INFO read;
        reader.GetPatInfoFromXML(0, read, &xml);
        EXPECT_EQ(fromFile.id, read.strPatientID);
        EXPECT_EQ(fromFile.name, read.strName);
        EXPECT_EQ(fromFile.time, read.strAcqTime);
        EXPECT_EQ(shown.strSex, read.strSex);
        EXPECT_EQ(shown.strAge, read.strAge);
    }

    std::unique_ptr<CTavrionDoc> m_doc;
    int m_type = -1;
    sheettest::CNotifyCount m_notify;
};

}  // namespace

TEST_F(FirstSave, AnMferFileShowsThePatientItCarriesAndItsFirstSaveOnTheSheetKeepsIt)
{
    const RecordPaths files = MferWithoutXml({"mfer", "--kind", "plain"});
    const Listed fromFile = ListedOf(files, false);
    ASSERT_FALSE(fromFile.id.IsEmpty());
    ASSERT_FALSE(fromFile.name.IsEmpty());
    ASSERT_NE(CString(kNoTime), fromFile.time);
    ASSERT_TRUE(OpenMfer(files));
    ASSERT_FALSE(Exists(files.xml));
    const _PATIENT_INFO shown = *CurrentPatient(*m_doc);

    const SheetRun run = SaveACommentOnTheSheet();
    EXPECT_EQ(IDOK, run.result);
    EXPECT_EQ(fromFile.id, run.shownId);
    EXPECT_EQ(fromFile.name, run.shownName);
    ExpectTheFilesPatientKept(files, fromFile, shown);

    // Once the record XML exists, what it stores is the record's: the file
    // is not read for the patient again, and a save keeps the stored values.
    testsupport::WriteXmlValue(files.xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id", L"XML-7");
    m_doc->SetNotifyWnd(nullptr);
    m_doc.reset();
    ASSERT_TRUE(OpenMfer(files));
    EXPECT_EQ(CString(L"XML-7"), CurrentPatient(*m_doc)->strPatientID);
    ASSERT_EQ(0, SaveAComment());
    EXPECT_EQ(CString(L"XML-7"), ListedOf(files, true).id);
    EXPECT_EQ(fromFile.time, ListedOf(files, true).time);
}

TEST_F(FirstSave, AnMferFileNamedWithItsHl7HeaderTakesThePatientTheHeaderGives)
{
    // The file itself carries no patient and no time: its header does.
    const std::string header = m_dir.File("p.hl7.xml");
    const RecordPaths files = MferWithoutXml({"mfer", "--kind", "plain", "--no-patient", "--no-time", "--hl7", header});
    CTavrionDoc lister;
    _FILEITEM_INFO listed;
    lister.ReadFile(Wide(files.record), L"", Wide(header), &listed);
    ASSERT_FALSE(listed.strPatientID.IsEmpty());
    ASSERT_TRUE(OpenMfer(files, header));
    const _PATIENT_INFO shown = *CurrentPatient(*m_doc);
    EXPECT_EQ(listed.strPatientID, shown.strPatientID);
    EXPECT_EQ(listed.strPatientName, shown.strName);
    EXPECT_EQ(listed.strAcqTime, shown.strAcqTime);
    ASSERT_EQ(0, SaveAComment());
    ExpectTheFilesPatientKept(files, {listed.strPatientID, listed.strPatientName, listed.strAcqTime}, shown);
}

// Real recordings made into MFER files: a PTB 15-lead record and an MIT-BIH
// two-lead one (a freeze record).
class FirstSaveOfRealRecords : public FirstSave, public ::testing::WithParamInterface<const char*> {
};

TEST_P(FirstSaveOfRealRecords, KeepThePatientTheirMferFileCarries)
{
    const std::string header = testsupport::SharedData(std::string("physionet/") + GetParam() + ".hea");
    if (header.empty()) GTEST_SKIP() << "shared data not present (physionet/" << GetParam() << ".hea); skipping";
    const std::string record = header.substr(0, header.size() - 4);
    const RecordPaths files = MferWithoutXml({"wfdb", "--mfer", "--record", record, "--seconds", "10"});
    const Listed fromFile = ListedOf(files, false);
    ASSERT_FALSE(fromFile.id.IsEmpty());
    ASSERT_TRUE(OpenMfer(files));
    const _PATIENT_INFO shown = *CurrentPatient(*m_doc);
    EXPECT_EQ(fromFile.id, shown.strPatientID);
    EXPECT_EQ(fromFile.name, shown.strName);
    ASSERT_EQ(0, SaveAComment());
    ExpectTheFilesPatientKept(files, fromFile, shown);
}

INSTANTIATE_TEST_SUITE_P(PtbAndMitBih, FirstSaveOfRealRecords, ::testing::Values("ptb/s0010_re", "mitdb/100"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.index == 0 ? "Ptb" : "MitBih");
                         });

// Device records of every examination kind, each without its record XML.
struct DeviceCase {
    const char* name;
    const char* made;   // a synthetic kind, or a record of the maker's examinations
};

class FirstSaveOfDeviceRecords : public FirstSave, public ::testing::WithParamInterface<DeviceCase> {
protected:
    RecordPaths DeviceWithoutXml(const DeviceCase& c)
    {
        const std::string made = c.made;
        if (made.compare(0, 13, "examinations/") == 0) {
            if (!Make({"examinations", m_dir.File("examinations")})) return {};
            return {m_dir.File(made + ".ecg"), m_dir.File(made + "-first.xml")};
        }
        const RecordPaths files{m_dir.File(made + ".ecg"), m_dir.File(made + "20240401093000.xml")};
        if (!Make({"synth", "--kind", made, "--out", files.record, "--id", "DV-77", "--name", "装置 太郎", "--time",
                   "2023-05-06 07:08:09"}))
            return {};
        return files;
    }
    bool Open(const RecordPaths& files)
    {
        const unsigned code = static_cast<unsigned>(testsupport::DeviceRecordCode(files.record)) & 0xFFFF;
        const unsigned low = code & 0xFF;
        if (code == 0xFFFA || code == 0xFFFC || code == 0xFFFD)
            return OpenDevice<CExerViewDoc, _EXERDATAITEM>(files, &CExerViewDoc::GetExerDataManager, DOC_TYPE_EXER);
        if (low == 10 || low == 245 || low == 246 || low == 38 || low == 217 || low == 218)
            return OpenDevice<CRhythmViewDoc, _RHYTHMDATAITEM>(files, &CRhythmViewDoc::GetRhythmDataManager,
                                                                DOC_TYPE_RHYTHM);
        if (low == 5) return OpenDevice<CRRViewDoc, _RRDATAITEM>(files, &CRRViewDoc::GetRRDataManager, DOC_TYPE_RR);
        if (low == 26 || low == 229 || low == 230 || low == 28)
            return OpenDevice<CExtraViewDoc, _EXTRADATAITEM>(files, &CExtraViewDoc::GetExtraDataManager, DOC_TYPE_EXTRA);
        if (low == 243 || low == 244)
            return OpenDevice<CFinalViewDoc, _FINALDATAITEM>(files, &CFinalViewDoc::GetFinalDataManager, DOC_TYPE_FINAL);
        return OpenDevice<CRestViewDoc, _RESTDATAITEM>(files, &CRestViewDoc::GetRestDataManager, DOC_TYPE_REST);
    }
};

TEST_P(FirstSaveOfDeviceRecords, ShowAndKeepThePatientTheirFileCarries)
{
    const RecordPaths files = DeviceWithoutXml(GetParam());
    ASSERT_FALSE(files.record.empty());
    ASSERT_FALSE(Exists(files.xml));
    const Listed fromFile = ListedOf(files, false);
    ASSERT_FALSE(fromFile.id.IsEmpty());
    ASSERT_NE(CString(kNoTime), fromFile.time);
    ASSERT_TRUE(Open(files));
    EXPECT_FALSE(Exists(files.xml));   // opened and shown, the record has made no file yet
    m_doc->SetCtrlContent(nullptr);
    CString id, name;
    m_doc->GetCtrlData(3001, id);
    m_doc->GetCtrlData(3003, name);
    EXPECT_EQ(fromFile.id, id);
    EXPECT_EQ(fromFile.name, name);
    const _PATIENT_INFO shown = *CurrentPatient(*m_doc);
    ASSERT_EQ(0, SaveAComment());
    ExpectSame(fromFile, ListedOf(files, true));
    CTavrionDoc reader;
    CECGXMLParser xml(Wide(files.xml), 0, CString());
    _PATIENT_INFO read;
    reader.GetPatInfoFromXML(0, read, &xml);
    EXPECT_EQ(fromFile.id, read.strPatientID);
    EXPECT_EQ(fromFile.time, read.strAcqTime);
    EXPECT_EQ(shown.strSex, read.strSex);
}

const DeviceCase kDeviceCases[] = {
    {"Rest", "rest12"},
    {"Rhythm", "rhythm"},
    {"RR", "rr"},
    {"Extra", "extra"},
    {"Exercise", "examinations/exercise_90"},
    {"MasterStep", "examinations/mstep243"},
};

INSTANTIATE_TEST_SUITE_P(EachKind, FirstSaveOfDeviceRecords, ::testing::ValuesIn(kDeviceCases),
                         [](const ::testing::TestParamInfo<DeviceCase>& info) { return std::string(info.param.name); });

TEST_F(FirstSave, AFirstSaveThatCannotWriteNamesTheFileAndWhy)
{
    const RecordPaths files = MferWithoutXml({"mfer", "--kind", "plain"});
    ASSERT_TRUE(OpenMfer(files));
    // A folder where the record XML is to be made.
    ASSERT_EQ(0, mkdir(files.xml.c_str(), 0755));
    platform::ui::MessageBoxRecorder boxes;
    const SheetRun run = SaveACommentOnTheSheet([&] {
        ASSERT_EQ(1, boxes.Count());
        EXPECT_EQ(L"ファイル書き込みエラーです。\r\n" + Wide(files.xml) + L"\r\n同じ名前のフォルダーがあります。",
                  boxes.Last().text);
        EXPECT_EQ(CString(L"エラー"), boxes.Last().caption);
        EXPECT_EQ(0, m_notify.count);
    });
    EXPECT_EQ(IDCANCEL, run.result);
    // The sheet still showed what the file carries.
    EXPECT_EQ(ListedOf(files, false).id, run.shownId);

    // A record XML named in a folder that is not there.
    CMFERViewDoc& doc = static_cast<CMFERViewDoc&>(*m_doc);
    const std::string missing = m_dir.File("gone/Raw_p20240401093000.xml");
    doc.GetCurrentDataItem()->strXMLPath = Wide(missing);
    CECGXMLParser::ForgetSaveFailure();
    EXPECT_NE(0, SaveAComment());
    EXPECT_EQ(L"ファイル書き込みエラーです。\r\n" + Wide(missing) + L"\r\n保存先のフォルダーがありません。",
              CECGXMLParser::GetSaveFailureText());
}
