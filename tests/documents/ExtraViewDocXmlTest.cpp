// The extra-lead document's record XML: what opening reads into the item,
// the comment form's store and its show states, the change tests, and edits
// saved to the file and read back by a fresh document.
#include <gtest/gtest.h>

#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/documents/CommentLineEndsCheck.h"

using namespace extratest;

namespace {

const wchar_t kComment[] = L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content";
const wchar_t kAnalysisEditorDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date";
const wchar_t kAnalysisEditDate[] = L"/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date";
const wchar_t kBirthday[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday";

}  // namespace

TEST_F(ExtraDocTest, OpeningReadsTheRecordXmlIntoTheItem)
{
    const RecordFiles files = Write("read", ExtraRecordOptions(), {}, nullptr, [](CECGXMLParser& xml) {
        xml.SetDataToXMLDOM(L"一行目\n二行目", kComment, 4, CString());
        xml.RemoveNode(kAnalysisEditorDate);
    });
    _EXTRADATAITEM* item = Load(m_doc, files, 3);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->stInterpre.strComment, L"一行目\r\n二行目");
    // The three extra leads by code: V3R, V4R, V5R.
    EXPECT_EQ(item->stLeadName.nCount, 3);
    EXPECT_EQ(item->stLeadName.nCode[0], 11);
    EXPECT_EQ(item->stLeadName.nCode[2], 13);
    EXPECT_EQ(item->stLeadName.strDispName[1], L"V4R");
    // The lead-name date falls back to the analysis date.
    EXPECT_EQ(item->strLeadNameEditDate.Left(5), L"2024/");

    m_doc.SetCtrlContent(nullptr);
    EXPECT_EQ(StoredText(m_doc, 4016), item->strLeadNameEditDate.Left(16));
    EXPECT_EQ(StoredText(m_doc, 4017), L"一行目\r\n二行目");

    // Neither lead-name date: empty.
    CExtraViewDoc doc;
    const RecordFiles none = Write("nodate", ExtraRecordOptions(), {}, nullptr, [](CECGXMLParser& xml) {
        xml.RemoveNode(kAnalysisEditorDate);
        xml.RemoveNode(kAnalysisEditDate);
    });
    item = Load(doc, none, 3);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->strLeadNameEditDate.IsEmpty());
}

TEST_F(ExtraDocTest, FreezeRecordsReadAndWriteTheirLeadNames)
{
    ExtraRecordOptions options;
    options.layout = ExtraLayout::Freeze;
    const RecordFiles files = Write("freeze", options);
    _EXTRADATAITEM* item = Load(m_doc, files, 6);
    ASSERT_NE(item, nullptr);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(item->stLeadName.nFreezeCode[i], 119 + i);
    EXPECT_EQ(item->stLeadName.strFreezeName[0], L"V3R");
    EXPECT_EQ(item->stLeadName.strDispName[5], L"V9");

    item->stLeadName.strFreezeName[1] = L"背部1";
    m_doc.SetCtrlContent(nullptr);
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);
    CExtraViewDoc doc;
    _EXTRADATAITEM* back = Load(doc, files, 6);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->stLeadName.strFreezeName[1], L"背部1");
    EXPECT_EQ(back->stLeadName.nFreezeCode[1], 120);
}

TEST_F(ExtraDocTest, StoreShowsStoredAndListedMedications)
{
    const RecordFiles files = Write("store", ExtraRecordOptions());
    _EXTRADATAITEM* item = Load(m_doc, files, 3);
    ASSERT_NE(item, nullptr);
    for (const wchar_t* text : {L"降圧薬A", L"利尿薬B", L"抗凝固薬C"})
        m_doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(1), text);
    // Stored texts win over list codes; an empty text shows the chosen entry.
    item->stInterpre.strMedication2.Empty();
    item->stInterpre.nMedication2Sel = 1;
    m_doc.SetCtrlContent(nullptr);
    EXPECT_EQ(StoredText(m_doc, 3637), L"降圧剤");
    EXPECT_EQ(StoredText(m_doc, 3639), L"利尿薬B");
    EXPECT_EQ(m_doc.IsInfoEditChange(item), 0);
}

// Edits through the store, the change flags they raise, the save, and a
// fresh document reading the file back.
TEST_F(ExtraDocTest, EditsSavedToTheRecordXmlReadBack)
{
    // Elements the file lacks are created by the save.
    const RecordFiles files = Write("edit", ExtraRecordOptions(), {}, nullptr, [](CECGXMLParser& xml) {
        xml.RemoveNode(L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date");
        xml.RemoveNode(L"/Rawdata/Tavrion/Inspection/Patient_section/Medications");
        xml.RemoveNode(L"/Rawdata/Tavrion/Inspection/Patient_section2");
    });
    _EXTRADATAITEM* item = Load(m_doc, files, 3);
    ASSERT_NE(item, nullptr);
    m_doc.SetCtrlContent(nullptr);
    EXPECT_EQ(m_doc.IsEidtChange(), 0);

    m_doc.SetCtrlData(3641, L"胸痛", 0, -1);
    EXPECT_EQ(m_doc.IsEidtChange(), 1);
    EXPECT_EQ(m_doc.IsInformationChange(), 1);
    EXPECT_EQ(m_doc.IsCommentChange(), 0);
    m_doc.SetCtrlData(4017, L"右側胸部誘導でST上昇なし\r\n経過観察", 0, -1);
    m_doc.SetCtrlData(3999, L"喫煙歴", 0, -1);
    m_doc.SetCtrlData(3003, L"鈴木 次郎", 0, -1);
    m_doc.SetCtrlData(3655, L"山本", 0, -1);
    m_doc.SetCtrlData(3637, L"硝酸薬", 0, -1);
    m_doc.SetCtrlData(3651, L"循環器科", 0, -1);
    EXPECT_EQ(m_doc.IsEidtChange(), 1);
    EXPECT_EQ(m_doc.IsCommentChange(), 1);
    EXPECT_EQ(m_doc.IsAdditionChange(), 1);
    EXPECT_EQ(m_doc.IsAnalysisChange(), 0);
    item->strCommentEditor = L"高橋 誠";
    item->strCommentEditDate = L"2024/05/02 10:11:12";
    item->strLeadNameEditDate = L"not a date";

    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);
    EXPECT_EQ(item->stInterpre.strSympton, L"胸痛");
    EXPECT_EQ(m_doc.IsEidtChange(), 0);   // the item now holds the edits

    CExtraViewDoc doc;
    _EXTRADATAITEM* back = Load(doc, files, 3);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->stInterpre.strSympton, L"胸痛");
    EXPECT_EQ(back->stInterpre.strTechnician, L"山本");
    EXPECT_EQ(back->stInterpre.strComment, L"右側胸部誘導でST上昇なし\r\n経過観察");
    EXPECT_EQ(back->stAddition.strTitle[0], L"喫煙歴");
    EXPECT_EQ(back->stPatient.strName, L"鈴木 次郎");
    EXPECT_EQ(back->strCommentEditDate, L"2024/05/02 10:11:12");
    EXPECT_EQ(back->strCommentEditor, L"高橋 誠");
    EXPECT_TRUE(back->strLeadNameEditDate.IsEmpty());   // written as an empty date
    EXPECT_EQ(back->stInterpre.strMedication1, L"硝酸薬");
    EXPECT_EQ(back->stInterpre.strReqSection, L"循環器科");
    EXPECT_EQ(back->nReqSectionFound, 1);
}

TEST_F(ExtraDocTest, BirthdayWithoutAYearIsSavedEmpty)
{
    const RecordFiles files = Write("birthday", ExtraRecordOptions());
    _EXTRADATAITEM* item = Load(m_doc, files, 3);
    ASSERT_NE(item, nullptr);
    m_doc.SetCtrlContent(nullptr);
    item->stInterpre.stBirthday.strYear.Empty();
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);
    for (const wchar_t* attrib : {L"year", L"month", L"day"})
        EXPECT_EQ(ReadXmlValue(files.xml, kBirthday, attrib), L"") << attrib;
}

// Saving an item that is not the current one writes that item's values; the
// store goes into the current item.
TEST_F(ExtraDocTest, SavingAnotherItemWritesItsOwnValues)
{
    const RecordFiles first = Write("first", ExtraRecordOptions());
    const RecordFiles second = Write("second", ExtraRecordOptions());
    _EXTRADATAITEM* one = Load(m_doc, first, 3);
    ASSERT_NE(one, nullptr);
    _EXTRADATAITEM* two = Add(m_doc, second, 3);
    ASSERT_EQ(Open(m_doc, second), 0);
    m_doc.SetCtrlContent(nullptr);
    m_doc.SetCtrlData(3643, L"糖尿病", 0, -1);
    two->stInterpre.strDisease = L"脂質異常症";
    ASSERT_EQ(m_doc.SaveDataToXML(two->nID), 0);
    EXPECT_EQ(one->stInterpre.strDisease, L"糖尿病");
    EXPECT_EQ(ReadXmlValue(second.xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Disease"), L"脂質異常症");
    EXPECT_EQ(ReadXmlValue(first.xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Disease"), L"高血圧症");

    // No such item, or one without a record XML: nothing is written.
    const std::string before = testsupport::ReadFileBytes(first.xml);
    EXPECT_EQ(m_doc.SaveDataToXML(7), 255);
    EXPECT_EQ(m_doc.SaveAnnotationToXML(7), 255);
    two->strXMLPath.Empty();
    EXPECT_EQ(m_doc.SaveDataToXML(two->nID), 255);
    EXPECT_EQ(testsupport::ReadFileBytes(first.xml), before);
}

TEST_F(ExtraDocTest, AnnotationsSavedReadBack)
{
    const RecordFiles files = Write("anno", ExtraRecordOptions());
    _EXTRADATAITEM* item = Load(m_doc, files, 3);
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->pAnnoHead, nullptr);
    ASSERT_NE(item->pAnnoHead->pNext, nullptr);
    item->pAnnoHead->pNext->strEditorName = L"渡辺";
    ASSERT_EQ(m_doc.SaveAnnotationToXML(item->nID), 0);

    CExtraViewDoc doc;
    _EXTRADATAITEM* back = Load(doc, files, 3);
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back->pAnnoHead->pNext, nullptr);
    EXPECT_EQ(back->pAnnoHead->pNext->strEditorName, L"渡辺");
    int count = 0;
    for (_ANNOTATION_INFO* a = back->pAnnoHead->pNext; a; a = a->pNext) ++count;
    EXPECT_EQ(count, 2);
}

// A record XML that is missing or not XML: the item keeps empty texts and
// the defaults, and the record still opens.
TEST_F(ExtraDocTest, BrokenRecordXmlLeavesDefaults)
{
    RecordFiles files = Write("noxml", ExtraRecordOptions());
    files.xml = m_dir.Write("broken.xml", "<Rawdata><Tavrion><Inspection>");
    _EXTRADATAITEM* item = Load(m_doc, files, 3);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->stInterpre.strComment.IsEmpty());
    EXPECT_EQ(item->stInterpre.nMedication1Sel, -1);
    EXPECT_EQ(item->nReqSectionFound, 0);
    EXPECT_EQ(item->stAddition.bPresent, 0);
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(m_doc.GetPageStyle(), 1);
    m_doc.SetCtrlContent(nullptr);
    m_doc.UpdateCtrlStatus();
    // The unreadable file is not written over, and saving says so.
    m_doc.SetCtrlData(3643, L"糖尿病", 0, -1);
    EXPECT_EQ(m_doc.SaveDataToXML(item->nID), 255);
    EXPECT_EQ(testsupport::ReadFileBytes(files.xml), "<Rawdata><Tavrion><Inspection>");
}

TEST_F(ExtraDocTest, TheCommentIsWrittenWithCrLfAndReadsBackWhole)
{
    const RecordFiles files = Write("crlf", ExtraRecordOptions());
    commenttest::ExpectCommentsKeepTheirLineEnds(files.xml, [&]() -> std::unique_ptr<CTavrionDoc> {
        auto doc = std::make_unique<CExtraViewDoc>();
        if (!Load(*doc, files, 3)) return nullptr;
        return doc;
    });
}
