// The host knows the examination documents only by their class names: each
// must be creatable by name, be a CTavrionDoc of its own kind, and answer
// the base's calls safely before any record is listed.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "core/TavrionDoc.h"
#include "documents/ExerViewDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/Mkrecord.h"
#include "tools/SampleRecords.h"

namespace {

// class name, examination kind
const struct {
    const char* name;
    int docType;
} kDocuments[] = {
    {"CRestViewDoc", DOC_TYPE_REST},   {"CFinalViewDoc", DOC_TYPE_FINAL}, {"CRhythmViewDoc", DOC_TYPE_RHYTHM},
    {"CRRViewDoc", DOC_TYPE_RR},       {"CExtraViewDoc", DOC_TYPE_EXTRA}, {"CExerViewDoc", DOC_TYPE_EXER},
    {"CMFERViewDoc", DOC_TYPE_MFER},
};

}  // namespace

TEST(DocumentClasses, CreatedByNameAndSafeWithoutARecord)
{
    for (const auto& d : kDocuments) {
        SCOPED_TRACE(d.name);
        std::unique_ptr<CObject> object(CRuntimeClass::CreateObject(d.name));
        ASSERT_NE(object, nullptr);
        auto* doc = DYNAMIC_DOWNCAST(CTavrionDoc, object.get());
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->GetDocType(), d.docType);
        EXPECT_EQ(doc->GetCurItemLeadCount(), 255);
        EXPECT_EQ(doc->GetRhythmWaveData(0, nullptr, -1), 0);
        EXPECT_EQ(doc->GetAverageWaveData(0, nullptr, -1), 0);
        EXPECT_EQ(doc->GetRhythmWaveTotalPage(200, 2), 0);
        EXPECT_NE(doc->SaveDataToXML(0), 0);
    }
}

// ---- the form store and saving -----------------------------------------------------

namespace {

using testsupport::RecordPaths;
using testsupport::Wide;

const CString kCommentPath = L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content";
const CString kPatientIdPath = L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id";

class FormStoreSaving : public testsupport::DocumentTest {
protected:
    // Two copies of a sample record, the second with its own comment and patient id.
    std::vector<RecordPaths> TwoRecords(morvelance::rec::RecordKind kind)
    {
        std::vector<std::string> xmls;
        const std::vector<std::string> records = morvelance::WriteSampleRecords(m_dir.Path(), &xmls);
        const std::string stem = morvelance::SampleStem(kind);
        std::vector<RecordPaths> found;
        for (size_t i = 0; i < records.size(); ++i)
            if (records[i].find("/" + stem + "_") != std::string::npos) found.push_back({records[i], xmls[i]});
        EXPECT_EQ(found.size(), 2u);
        if (found.size() == 2) {
            testsupport::WriteXmlValue(found[1].xml, kCommentPath, L"二件目の所見");
            testsupport::WriteXmlValue(found[1].xml, kPatientIdPath, L"B-0002");
        }
        return found;
    }

    // Fills the store from the first record, makes the second current
    // without showing it, and saves the second: it must keep its own texts.
    template <class Doc, class Item>
    void ExpectSavingKeepsTheRecordsOwnTexts(Doc& doc, CDataManager<Item>& list, morvelance::rec::RecordKind kind,
                                             int leadCount)
    {
        const std::vector<RecordPaths> files = TwoRecords(kind);
        ASSERT_EQ(files.size(), 2u);
        Item* items[2] = {};
        for (int i = 0; i < 2; ++i) {
            items[i] = testsupport::NewRecordItem<Item>(files[i].record, files[i].xml);
            SetLeadCount(items[i], leadCount);
            list.AppendItem(items[i]);
        }
        ASSERT_EQ(testsupport::OpenRecord(doc, files[0]), 0);
        doc.SetCurDataIndex(items[0]->nID);
        doc.SetCtrlContent(nullptr);
        ASSERT_EQ(testsupport::OpenRecord(doc, files[1]), 0);
        doc.SetCurDataIndex(items[1]->nID);
        EXPECT_EQ(doc.SaveDataToXML(items[1]->nID), 0);
        EXPECT_EQ(testsupport::ReadXmlValue(files[1].xml, kCommentPath), CString(L"二件目の所見"));
        EXPECT_EQ(testsupport::ReadXmlValue(files[1].xml, kPatientIdPath), CString(L"B-0002"));

        // Once shown, the form's edits are what is saved.
        doc.SetCtrlContent(nullptr);
        EXPECT_EQ(doc.SaveDataToXML(items[1]->nID), 0);
        EXPECT_EQ(testsupport::ReadXmlValue(files[1].xml, kPatientIdPath), CString(L"B-0002"));
    }

    template <class Item> static void SetLeadCount(Item* item, int count) { item->nLeadCount = count; }
    static void SetLeadCount(_RESTDATAITEM*, int) {}
};

}  // namespace

TEST_F(FormStoreSaving, ARecordNeverTakesTheTextsOfAFormFilledForAnother)
{
    {
        SCOPED_TRACE("rest");
        CRestViewDoc doc;
        ExpectSavingKeepsTheRecordsOwnTexts(doc, doc.GetRestDataManager(), morvelance::rec::RecordKind::Rest12, 12);
    }
    {
        SCOPED_TRACE("rhythm");
        CRhythmViewDoc doc;
        ExpectSavingKeepsTheRecordsOwnTexts(doc, *doc.GetRhythmDataManager(), morvelance::rec::RecordKind::Rhythm, 3);
    }
    {
        SCOPED_TRACE("RR");
        CRRViewDoc doc;
        ExpectSavingKeepsTheRecordsOwnTexts(doc, *doc.GetRRDataManager(), morvelance::rec::RecordKind::Rr, 1);
    }
}

// An annotation save that wrote nothing must not be reported as done.
TEST_F(FormStoreSaving, AnAnnotationSaveThatWritesNothingFails)
{
    const std::vector<RecordPaths> files = TwoRecords(morvelance::rec::RecordKind::Rest12);
    ASSERT_EQ(files.size(), 2u);
    CRestViewDoc doc;
    _RESTDATAITEM* item = testsupport::NewRecordItem<_RESTDATAITEM>(files[0].record, files[0].xml);
    doc.GetRestDataManager().AppendItem(item);
    ASSERT_EQ(testsupport::OpenRecord(doc, files[0]), 0);
    doc.SetCurDataIndex(item->nID);
    EXPECT_EQ(doc.SaveAnnotationToXML(item->nID), 0);

    // The record XML broken behind the document's back is left as it is.
    { std::ofstream(files[0].xml, std::ios::trunc) << "<Rawdata><Tavrion>"; }
    EXPECT_NE(doc.SaveAnnotationToXML(item->nID), 0);
    std::ifstream in(files[0].xml);
    const std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(kept, "<Rawdata><Tavrion>");
}

// ---- files that are no records -----------------------------------------------------

namespace {

// A missing file and one too short to be a record show their boxes; junk of a
// record's length, a truncated and a damaged record are refused by the
// readers without a message. Every refusal is 255, and the item of a record
// that was read and refused stays listed without an image (it once went with
// its image, leaving the host that added it a freed item); keys no item has
// give 1.
template <class Doc, class Item>
void ExpectBadFilesRefused(Doc& doc, CDataManager<Item>& list, const testsupport::TempDir& dir, const RecordPaths& good)
{
    platform::ui::MessageBoxRecorder boxes;
    Item* added = nullptr;
    auto open = [&](const std::string& record) {
        added = list.AppendItem(testsupport::NewRecordItem<Item>(record, good.xml));
        return testsupport::OpenRecord(doc, {record, good.xml});
    };
    const std::string missing = dir.File("missing.ecg");
    EXPECT_EQ(open(missing), 255);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, L"ECGファイル" + Wide(missing) + L"を開けません。");
    EXPECT_EQ(boxes.Last().caption, CString(L"エラー"));
    EXPECT_EQ(boxes.Last().type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    const std::string bytes = testsupport::ReadFileBytes(good.record);
    const std::string tiny = dir.Write("tiny.ecg", bytes.substr(0, 99));
    EXPECT_EQ(open(tiny), 255);
    ASSERT_EQ(boxes.Count(), 2);
    EXPECT_EQ(boxes.Last().text, Wide(tiny) + L"は不正なECGファイルです。");

    std::string flipped = bytes;
    flipped[bytes.size() / 2] = static_cast<char>(flipped[bytes.size() / 2] ^ 0x5A);
    const std::string refused[] = {dir.Write("junk.ecg", std::string(100, 'x')),
                                   dir.Write("half.ecg", bytes.substr(0, bytes.size() / 2)),
                                   dir.Write("flipped.ecg", flipped)};
    for (const std::string& record : refused) {
        EXPECT_EQ(open(record), 255) << record;
        ASSERT_EQ(list.GetItem(Wide(good.xml), Wide(record), CString()), added) << record;
        EXPECT_EQ(added->pECGData, nullptr) << record;
    }
    EXPECT_EQ(boxes.Count(), 2);
    EXPECT_EQ(testsupport::OpenRecord(doc, good), 1);
}

}  // namespace

TEST_F(FormStoreSaving, EveryDocumentRefusesFilesThatAreNoRecords)
{
    const std::vector<RecordPaths> files = TwoRecords(morvelance::rec::RecordKind::Rest12);
    ASSERT_EQ(files.size(), 2u);
    {
        SCOPED_TRACE("rest");
        CRestViewDoc doc;
        ExpectBadFilesRefused(doc, doc.GetRestDataManager(), m_dir, files[0]);
    }
    {
        SCOPED_TRACE("rhythm");
        CRhythmViewDoc doc;
        ExpectBadFilesRefused(doc, *doc.GetRhythmDataManager(), m_dir, files[0]);
    }
    {
        SCOPED_TRACE("RR");
        CRRViewDoc doc;
        ExpectBadFilesRefused(doc, *doc.GetRRDataManager(), m_dir, files[0]);
    }
    {
        SCOPED_TRACE("extra");
        CExtraViewDoc doc;
        ExpectBadFilesRefused(doc, *doc.GetExtraDataManager(), m_dir, files[0]);
    }
    {
        SCOPED_TRACE("master step");
        CFinalViewDoc doc;
        ExpectBadFilesRefused(doc, doc.GetFinalDataManager(), m_dir, files[0]);
    }
    {
        SCOPED_TRACE("exercise");
        CExerViewDoc doc;
        ExpectBadFilesRefused(doc, doc.GetExerDataManager(), m_dir, files[0]);
    }
}
