// A patient sheet saved after one edit changes, in the record XML, that field
// and the stamps of its section, nothing else: the records are the record
// maker's samples, examinations and MFER files on disk, opened through their
// examination documents, the sheet runs modal, a person types into one field,
// presses "更新" and answers the editor prompt.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "dialogs/DlgEditor.h"
#include "dialogs/DlgInfoCommentGeneral.h"
#include "dialogs/DlgPatientInfoComment.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/dialogs/SheetTestSupport.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/ExaminationRead.h"
#include "tests/support/ModalScript.h"
#include "tools/Mkrecord.h"

namespace {

using namespace xmlchanges::place;

enum class Sheet { PatientInfoComment, General };
enum class Page { Patient, Exercise, Comment, Additions };

struct Edit {
    const char* name;     // the case's name in the test list
    const char* record;   // the maker's record: "samples/rest12_90", "examinations/mstep243" or "mfer/rhythm12"
    Sheet sheet;
    Page page;
    int field;
    const wchar_t* text;
    std::vector<std::string> changes;   // the field and its stamps: what may, and must, change
};

// The maker's records, written once for all cases.
class MakerRecords {
public:
    MakerRecords()
    {
        morvelance::WriteSampleRecords(m_dir.Path() + "/samples");
        std::ostringstream out, err;
        m_made = morvelance::RunMkrecord({"examinations", m_dir.Path() + "/examinations"}, out, err) == 0;
        // MFER files of the 12- and 15-lead and of the extra-lead family,
        // each with the record XML the system keeps beside it.
        m_made = m_made && mkdir(m_dir.File("mfer").c_str(), 0755) == 0;
        for (const char* kind : {"rhythm12", "rhythm15", "freeze"}) {
            const testsupport::RecordPaths mfer = Of(std::string("mfer/") + kind);
            m_made = m_made && morvelance::RunMkrecord({"mfer", "--kind", kind, "--out", mfer.record, "--xml-out",
                                                        mfer.xml}, out, err) == 0;
        }
    }
    bool Made() const { return m_made; }
    // The record and its record XML (the stem, the naming time, ".xml"; an
    // MFER file's record XML is named "Raw_" before its stem).
    testsupport::RecordPaths Of(const std::string& stem) const
    {
        const size_t slash = stem.rfind('/');
        return Named(m_dir.File(stem.substr(0, slash)), stem.substr(slash + 1), IsMfer(stem));
    }
    static bool IsMfer(const std::string& stem) { return stem.compare(0, 5, "mfer/") == 0; }
    static testsupport::RecordPaths Named(const std::string& folder, const std::string& name, bool mfer)
    {
        if (mfer) return {folder + "/" + name + ".mwf", folder + "/Raw_" + name + "20240401093000.xml"};
        return {folder + "/" + name + ".ecg", folder + "/" + name + "20240401093000.xml"};
    }

private:
    testsupport::TempDir m_dir;
    bool m_made = false;
};

// The record's examination document, opened as the host opens it, and the
// kind the sheets are given.
struct OpenedDocument {
    std::unique_ptr<CTavrionDoc> doc;
    int type = -1;
};

template <class Doc, class Item, class List>
OpenedDocument OpenAs(const testsupport::RecordPaths& files, int type, List& (Doc::*list)())
{
    auto doc = std::make_unique<Doc>();
    auto* item = testsupport::NewRecordItem<Item>(files.record, files.xml);
    (doc.get()->*list)().AppendItem(item);
    if (testsupport::OpenRecord(*doc, files) != 0) return {};
    doc->SetCurDataIndex(item->nID);
    return {std::move(doc), type};
}

template <class Doc, class Item, class List>
OpenedDocument OpenAs(const testsupport::RecordPaths& files, int type, List* (Doc::*list)())
{
    auto doc = std::make_unique<Doc>();
    auto* item = testsupport::NewRecordItem<Item>(files.record, files.xml);
    (doc.get()->*list)()->AppendItem(item);
    if (testsupport::OpenRecord(*doc, files) != 0) return {};
    doc->SetCurDataIndex(item->nID);
    return {std::move(doc), type};
}

// An MFER file as the host opens it: the lead layout of the item by the
// file's kind, the record XML named with it.
OpenedDocument OpenMfer(const testsupport::RecordPaths& files)
{
    CTavrionDoc probe;
    CString record = testsupport::Wide(files.record), probeXml, third;
    probe.GetDataManager().AppendItem(testsupport::NewRecordItem<_DATAITEM>(files.record, std::string()));
    const int kind = probe.OpenMFERFile(record, probeXml, third);
    if (kind == 1 || kind == 255) return {};
    auto doc = std::make_unique<CMFERViewDoc>();
    auto* item = testsupport::NewRecordItem<_MFERDATAITEM>(files.record, files.xml);
    item->nLeadLayout = CMFERViewDoc::GetLeadLayoutBySystemCode(kind);
    doc->GetMFERDataManager()->AppendItem(item);
    doc->SetCurDataIndex(item->nID);
    CString xml = item->strXMLPath;
    const int opened = doc->OpenMFERFile(record, xml, third);
    if (opened == 1 || opened == 255) return {};
    doc->UpDateReferenceInfo(item->strXMLPath);
    return {std::move(doc), DOC_TYPE_MFER};
}

OpenedDocument OpenDocument(const testsupport::RecordPaths& files)
{
    {
        CTavrionDoc layouts;
        for (_LOAD_POSITION_TYPE type : {LOAD_POS_REST, LOAD_POS_RHYTHM, LOAD_POS_RR, LOAD_POS_FINAL, LOAD_POS_EXTRA,
                                         LOAD_POS_EXER})
            layouts.GetCtrlPosFromXSL(type);
    }
    const std::string& record = files.record;
    if (record.size() > 4 && record.compare(record.size() - 4, 4, ".mwf") == 0) return OpenMfer(files);
    const unsigned code = static_cast<unsigned>(testsupport::DeviceRecordCode(files.record)) & 0xFFFF;
    const unsigned low = code & 0xFF;
    if (code == 0xFFFA || code == 0xFFFC || code == 0xFFFD)
        return OpenAs<CExerViewDoc, _EXERDATAITEM>(files, DOC_TYPE_EXER, &CExerViewDoc::GetExerDataManager);
    if (low == 10 || low == 245 || low == 246 || low == 38 || low == 217 || low == 218)
        return OpenAs<CRhythmViewDoc, _RHYTHMDATAITEM>(files, DOC_TYPE_RHYTHM, &CRhythmViewDoc::GetRhythmDataManager);
    if (low == 5) return OpenAs<CRRViewDoc, _RRDATAITEM>(files, DOC_TYPE_RR, &CRRViewDoc::GetRRDataManager);
    if (low == 26 || low == 229 || low == 230 || low == 28)
        return OpenAs<CExtraViewDoc, _EXTRADATAITEM>(files, DOC_TYPE_EXTRA, &CExtraViewDoc::GetExtraDataManager);
    if (low == 243 || low == 244)
        return OpenAs<CFinalViewDoc, _FINALDATAITEM>(files, DOC_TYPE_FINAL, &CFinalViewDoc::GetFinalDataManager);
    return OpenAs<CRestViewDoc, _RESTDATAITEM>(files, DOC_TYPE_REST, &CRestViewDoc::GetRestDataManager);
}

class SheetSaveTest : public testsupport::DocumentTest {
protected:
    static void SetUpTestSuite() { s_records = new MakerRecords; }
    static void TearDownTestSuite()
    {
        delete s_records;
        s_records = nullptr;
    }

    // Opens a copy of the maker's record `stem` (so that each case starts
    // from the maker's bytes), after `change` has altered its record XML.
    void OpenCopy(const std::string& stem, const std::function<void(const std::string&)>& change = nullptr)
    {
        ASSERT_TRUE(s_records->Made());
        const testsupport::RecordPaths made = s_records->Of(stem);
        m_files = MakerRecords::Named(m_dir.Path(), "record", MakerRecords::IsMfer(stem));
        Copy(made.record, m_files.record);
        Copy(made.xml, m_files.xml);
        if (change) change(m_files.xml);
        m_before = testsupport::ReadFileBytes(m_files.xml);
        m_opened = OpenDocument(m_files);
        ASSERT_NE(m_opened.doc, nullptr) << stem;
        CTavrionDoc& doc = *m_opened.doc;
        doc.SetCtrlContent(nullptr);
        // The host's user who may save: one editor and one doctor to choose.
        doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), L"高橋");
        doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(9), L"高橋");
        doc.SetDoctorAndEditorStatus(1, 1);
        platform::ui::Desktop::Reset();
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"host", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        doc.SetNotifyWnd(&m_notify);
    }

    void TearDown() override
    {
        if (m_opened.doc) m_opened.doc->SetNotifyWnd(nullptr);
        if (m_notify.GetSafeHwnd()) m_notify.DestroyWindow();
        m_opened.doc.reset();
        DocumentTest::TearDown();
    }

    static void Copy(const std::string& from, const std::string& to)
    {
        std::ofstream(to, std::ios::binary) << testsupport::ReadFileBytes(from);
    }

    // Runs the sheet: the page shown, the field typed over, the focus moved
    // on, "更新", the editor prompt confirmed.
    INT_PTR EditAndSave(const Edit& edit)
    {
        testsupport::ModalScript script;
        CWnd* page = nullptr;
        int pageIndex = 0;
        std::unique_ptr<CDlgPatientInfoComment> rest;
        std::unique_ptr<CDlgInfoCommentGeneral> general;
        CDialog* sheet = nullptr;
        if (edit.sheet == Sheet::PatientInfoComment) {
            rest = std::make_unique<CDlgPatientInfoComment>(0);
            rest->SetDoc(m_opened.doc.get(), m_opened.type);
            page = edit.page == Page::Comment ? static_cast<CWnd*>(&rest->CommentPage())
                   : edit.page == Page::Additions ? static_cast<CWnd*>(&rest->AdditionPage())
                                                  : &rest->PatientPage();
            pageIndex = edit.page == Page::Comment ? 1 : edit.page == Page::Additions ? 2 : 0;
            sheet = rest.get();
        } else {
            general = std::make_unique<CDlgInfoCommentGeneral>();
            general->SetDoc(m_opened.doc.get(), m_opened.type);
            page = edit.page == Page::Additions ? static_cast<CWnd*>(&general->AdditionPage())
                   : edit.page == Page::Exercise ? static_cast<CWnd*>(&general->ExerPage())
                                                 : &general->GeneralPage();
            pageIndex = edit.page == Page::Additions ? 1 : 0;
            sheet = general.get();
        }
        script.On(CDlgPatientInfoComment::IDD, [&](CDialog& dialog) {
            auto& pages = rest ? rest->Sheet() : general->Sheet();
            pages.SetActivePage(pageIndex);
            platform::ui::Desktop::PumpMessages();
            sheettest::Retype(*page, edit.field, edit.text);
            page->SetFocus();
            platform::ui::Desktop::PumpMessages();
            sheettest::Press(dialog, IDOK);
        });
        script.On(CDlgEditor::IDD, [](CDialog& dialog) { sheettest::Press(dialog, IDOK); });
        const INT_PTR result = sheet->DoModal();
        EXPECT_EQ(script.Pending(), 0u) << "the sheet or the editor prompt did not run";
        return result;
    }

    static MakerRecords* s_records;
    testsupport::RecordPaths m_files;
    std::string m_before;
    OpenedDocument m_opened;
    sheettest::CNotifyCount m_notify;
};

MakerRecords* SheetSaveTest::s_records = nullptr;

class SheetSave : public SheetSaveTest, public ::testing::WithParamInterface<Edit> {
};

TEST_P(SheetSave, AnEditOfOneFieldChangesOnlyThatFieldAndItsStampsInTheRecordXml)
{
    const Edit& edit = GetParam();
    OpenCopy(edit.record);
    ASSERT_EQ(EditAndSave(edit), IDOK);
    EXPECT_EQ(m_notify.count, 1);
    EXPECT_TRUE(xmlchanges::OnlyChanged(m_before, testsupport::ReadFileBytes(m_files.xml), edit.changes, edit.changes));
}

const std::vector<std::string> kNameChange = NameChange();
const std::vector<std::string> kCommentChange = {kComment, kCommentStamp, kRecordEditTime};
const std::vector<std::string> kAdditionChange = {kFirstAdditionTitle, kAdditionStamp, kRecordEditTime};

const Edit kEdits[] = {
    {"RestName", "samples/rest12_90", Sheet::PatientInfoComment, Page::Patient, 3208, L"新名前", kNameChange},
    {"RestHeight", "samples/rest12_90", Sheet::PatientInfoComment, Page::Patient, 3225, L"171",
     {kHeight, kRecordEditTime, kPatientStamp}},
    {"RestComment", "samples/rest12_90", Sheet::PatientInfoComment, Page::Comment, 3421, L"経過観察", kCommentChange},
    {"ExerciseName", "examinations/exercise_90", Sheet::General, Page::Exercise, 4110, L"新名前", kNameChange},
    {"ExerciseComment", "examinations/exercise_90", Sheet::General, Page::Exercise, 4173, L"経過観察",
     kCommentChange},
    {"RhythmName", "samples/rhythm_90", Sheet::General, Page::Patient, 3703, L"新名前", kNameChange},
    {"RhythmComment", "samples/rhythm_90", Sheet::General, Page::Patient, 3706, L"経過観察", kCommentChange},
    // Its age is stored without a value (unit 5), which no age the sheet writes reads as.
    {"AgelessRhythmName", "examinations/rhythm38_90", Sheet::General, Page::Patient, 3703, L"新名前", kNameChange},
    {"RRName", "samples/rr_90", Sheet::General, Page::Patient, 3703, L"新名前", kNameChange},
    {"MasterStepName", "examinations/mstep243", Sheet::General, Page::Patient, 3703, L"新名前", kNameChange},
    {"MasterStepAddition", "examinations/mstep243", Sheet::General, Page::Additions, 3876, L"題名", kAdditionChange},
    {"ExtraName", "examinations/extra6_90", Sheet::General, Page::Patient, 3703, L"新名前", kNameChange},
    {"ExtraAddition", "examinations/extra6_90", Sheet::General, Page::Additions, 3876, L"題名", kAdditionChange},
    // Freeze leads of every kind of code: free leads, leads named by their
    // electrode code (V4R, V9), a code past the free leads and none.
    {"MixedFreezeName", "examinations/freeze_mixed_90", Sheet::General, Page::Patient, 3703, L"新名前", kNameChange},
    {"MixedFreezeComment", "examinations/freeze_mixed_90", Sheet::General, Page::Patient, 3706, L"経過観察",
     kCommentChange},
    {"MixedFreezeAddition", "examinations/freeze_mixed_90", Sheet::General, Page::Additions, 3876, L"題名",
     kAdditionChange},
    {"FreezeName", "examinations/freeze_90", Sheet::General, Page::Patient, 3703, L"新名前", kNameChange},
    {"FreezeComment", "examinations/freeze_90", Sheet::General, Page::Patient, 3706, L"経過観察", kCommentChange},
    {"FreezeAddition", "examinations/freeze_90", Sheet::General, Page::Additions, 3876, L"題名", kAdditionChange},
    {"MferName", "mfer/rhythm12", Sheet::PatientInfoComment, Page::Patient, 3208, L"新名前", kNameChange},
    {"MferComment", "mfer/rhythm12", Sheet::PatientInfoComment, Page::Comment, 3421, L"経過観察", kCommentChange},
    {"FifteenLeadMferName", "mfer/rhythm15", Sheet::PatientInfoComment, Page::Patient, 3208, L"新名前", kNameChange},
    {"FifteenLeadMferComment", "mfer/rhythm15", Sheet::PatientInfoComment, Page::Comment, 3421, L"経過観察",
     kCommentChange},
    {"MferNameOnTheGeneralSheet", "mfer/rhythm12", Sheet::General, Page::Patient, 3703, L"新名前", kNameChange},
    {"MferCommentOnTheGeneralSheet", "mfer/rhythm12", Sheet::General, Page::Patient, 3706, L"経過観察",
     kCommentChange},
    {"ExtraLeadMferName", "mfer/freeze", Sheet::General, Page::Patient, 3703, L"新名前", kNameChange},
    {"ExtraLeadMferComment", "mfer/freeze", Sheet::General, Page::Patient, 3706, L"経過観察", kCommentChange},
};

INSTANTIATE_TEST_SUITE_P(EachSheetAndPage, SheetSave, ::testing::ValuesIn(kEdits),
                         [](const ::testing::TestParamInfo<Edit>& info) { return std::string(info.param.name); });

// Entries the additions page would tidy on its save (a title with a trailing
// blank, an empty entry between two others) are no edit of a person's: a save
// of the patient page alone leaves them as the record holds them. They lie
// past the three entries that the form shows.
TEST_F(SheetSaveTest, AnAdditionsPageNobodyTouchedKeepsItsEntriesAsStoredBlanksAndGapsIncluded)
{
    OpenCopy("examinations/extra6_90", [](const std::string& xml) {
        std::string bytes = testsupport::ReadFileBytes(xml);
        const std::string last = "</Addition_content>";
        const size_t at = bytes.rfind(last);
        ASSERT_NE(at, std::string::npos);
        bytes.insert(at + last.size(),
                     "<Addition_content number=\"4\" title=\"所見 \">追記</Addition_content>"
                     "<Addition_content number=\"5\" title=\"\"></Addition_content>"
                     "<Addition_content number=\"6\" title=\"備考\">再検</Addition_content>");
        std::ofstream(xml, std::ios::binary) << bytes;
    });
    const Edit name{"", "", Sheet::General, Page::Patient, 3703, L"新名前", kNameChange};
    ASSERT_EQ(EditAndSave(name), IDOK);
    EXPECT_TRUE(xmlchanges::OnlyChanged(m_before, testsupport::ReadFileBytes(m_files.xml), kNameChange, kNameChange));
}

}  // namespace
