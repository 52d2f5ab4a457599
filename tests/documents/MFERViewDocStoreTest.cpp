// The MFER forms bound to the control-data store: what loads, what shows,
// how edits go back into the item and how they are detected.
#include <vector>

#include "tests/documents/MFERViewDocFixture.h"

using morvelance::MferKind;
using mfertest::Edit;
using mfertest::MferDocTest;
using mfertest::Utf8;
using testsupport::StoredText;

TEST_F(MferDocTest, MeasurementTextsShowTheirStars)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    CString* g = item->stMeasure.strGlobal;
    const wchar_t* values[10] = {L"***", L"160", L"90", L"400", L"****", L"999", L"45", L"***", L"1.2", L"0.8"};
    for (int i = 0; i < 10; ++i) g[i] = values[i];
    m_doc->SetAnyCtrlContent(1);
    EXPECT_EQ(CString(L"*"), StoredText(*m_doc, 3169));
    EXPECT_EQ(CString(L"400/ *"), StoredText(*m_doc, 3175));
    EXPECT_EQ(CString(L"*/ 45/ *"), StoredText(*m_doc, 3177));
    EXPECT_EQ(CString(L"1.2/0.8"), StoredText(*m_doc, 3179));
    EXPECT_EQ(CString(L"2.000"), StoredText(*m_doc, 3181));
    g[8] = L"*.***";
    m_doc->SetAnyCtrlContent(1);
    EXPECT_EQ(CString(L"*.*/0.8"), StoredText(*m_doc, 3179));
    EXPECT_EQ(CString(L"*.*"), StoredText(*m_doc, 3181));
}

TEST_F(MferDocTest, MinnesotaRowsCloseUpAndShowOneFreeRow)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    m_doc->SetCtrlContent(nullptr);
    for (UINT r = 0; r < 8; ++r) Edit(*m_doc, 3062 + r, L"");
    Edit(*m_doc, 3062, L"1-1-1");
    Edit(*m_doc, 3064, L"4-2");
    Edit(*m_doc, 3088, L"ST 接合部");
    EXPECT_EQ(1, m_doc->IsEidtChange());
    EXPECT_EQ(1, m_doc->IsAnalysisChange());
    EXPECT_EQ(0, m_doc->IsCommentChange());
    m_doc->UpDateCurItemContent();
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    // The count is the rows held; the form shows one free row after them.
    EXPECT_EQ(2, info.nMinneCount);
    m_doc->UpdateCtrlStatus();
    EXPECT_NE(0, m_doc->CheckCtrlStatus(3062 + 2, 0) & 1);
    EXPECT_EQ(0, m_doc->CheckCtrlStatus(3062 + 3, 0) & 1);
    EXPECT_EQ(CString(L"1-1-1"), info.strMinneCode[0]);
    EXPECT_EQ(CString(L"4-2"), info.strMinneCode[1]);
    EXPECT_EQ(CString(L"ST 接合部"), info.strMinneContent[1]);
    for (int r = 2; r < 8; ++r) EXPECT_TRUE(info.strMinneCode[r].IsEmpty()) << r;

    // Every row filled keeps the count at the rows the form has.
    for (UINT r = 0; r < 8; ++r) Edit(*m_doc, 3062 + r, L"9-1");
    for (UINT r = 0; r < 11; ++r) Edit(*m_doc, 3097 + r, L"R01");
    m_doc->UpDateCurItemContent();
    EXPECT_EQ(8, info.nMinneCount);
    EXPECT_EQ(11, info.nIvrelCount);
    EXPECT_EQ(CString(L"R01"), info.strIvrelCode[11]);
    EXPECT_TRUE(info.strIvrelCode[0].IsEmpty());
}

// The resting form's eleven IVREL rows at their bound: ten held show the
// eleventh as the free row to type into; the eleventh typed is held, saved
// and read back, and every row of the eleven shows with no free row past them.
TEST_F(MferDocTest, IvrelRowsAtTheFormsElevenShowEveryRowAndTheEleventhComesBack)
{
    constexpr UINT kCode = 3097, kContent = 3141;
    morvelance::RecordXmlOptions options;
    options.ivrelRows = 10;
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12, options);
    ASSERT_NE(nullptr, item);
    ASSERT_EQ(10, item->stInterpre.nIvrelCount);
    m_doc->SetCtrlContent(nullptr);
    m_doc->UpdateCtrlStatus();
    auto shown = [&](UINT id) { return (m_doc->CheckCtrlStatus(id, 0) & 1) != 0; };
    EXPECT_TRUE(shown(kCode + 9));
    EXPECT_TRUE(shown(kCode + 10)) << "the free eleventh row";
    EXPECT_TRUE(shown(kContent + 10));

    // One row fewer: the eleventh is the row past the free one.
    const CString tenth = StoredText(*m_doc, kCode + 9);
    Edit(*m_doc, kCode + 9, L"");
    m_doc->UpDateCurItemContent();
    m_doc->UpdateCtrlStatus();
    EXPECT_EQ(9, item->stInterpre.nIvrelCount);
    EXPECT_TRUE(shown(kCode + 9));
    EXPECT_FALSE(shown(kCode + 10));
    EXPECT_FALSE(shown(kContent + 10));

    // All eleven, the eleventh a code of the master with its text.
    m_doc->SetCtrlContent(nullptr);
    Edit(*m_doc, kCode + 9, tenth);
    Edit(*m_doc, kCode + 10, L"R01");
    Edit(*m_doc, kContent + 10, L"洞調律");
    EXPECT_EQ(0, m_doc->SaveDataToXML(item->nID));
    EXPECT_EQ(11, item->stInterpre.nIvrelCount);
    const CString mfer = item->strFilePath, xml = item->strXMLPath;
    m_doc.reset(new CMFERViewDoc);
    _MFERDATAITEM* again = AddItem(Utf8(mfer), Utf8(xml), 12);
    ASSERT_EQ(0, Open(again));
    EXPECT_EQ(11, again->stInterpre.nIvrelCount);
    EXPECT_EQ(CString(L"R01"), again->stInterpre.strIvrelCode[11]);
    EXPECT_EQ(CString(L"洞調律"), again->stInterpre.strIvrelContent[11]);
    m_doc->SetCtrlContent(nullptr);
    m_doc->UpdateCtrlStatus();
    for (UINT r = 0; r < 11; ++r) EXPECT_TRUE(shown(kCode + r)) << r;
    EXPECT_EQ(CString(L"R01"), StoredText(*m_doc, kCode + 10));
    EXPECT_EQ(0, m_doc->IsEidtChange());
}

TEST_F(MferDocTest, RhythmPageOfATwelveLeadRecordEditsThePanel)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    m_doc->SetPageStyle(50);
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(0, m_doc->IsEidtChange());
    Edit(*m_doc, 3999, L"新しい題");
    Edit(*m_doc, 3641, L"めまい");
    EXPECT_EQ(1, m_doc->IsAdditionEditChange(item));
    EXPECT_EQ(1, m_doc->IsInfoEidtChange(item));
    m_doc->UpDateCurItemContent();
    EXPECT_EQ(CString(L"新しい題"), item->stAddition.strTitle[0]);
    EXPECT_EQ(CString(L"めまい"), item->stInterpre.strSympton);
    EXPECT_EQ(0, m_doc->IsAdditionEditChange(item));

    // On a resting page the panel is not what the user edits.
    m_doc->SetPageStyle(1);
    m_doc->SetCtrlContent(nullptr);
    Edit(*m_doc, 3999, L"見えない題");
    EXPECT_EQ(0, m_doc->IsAdditionEditChange(item));
    Edit(*m_doc, 3971, L"見える題");
    EXPECT_EQ(1, m_doc->IsAdditionEditChange(item));
}

TEST_F(MferDocTest, ExtraLeadRecordsUseThePanelRowsWhateverTheirLayout)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Extra7, 7, 0x7007, 7);
    ASSERT_NE(nullptr, item);
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(0, m_doc->IsEidtChange());
    EXPECT_EQ(CString(L"72"), StoredText(*m_doc, 4013));
    Edit(*m_doc, 4008, L"追記");
    EXPECT_EQ(1, m_doc->IsAdditionEditChange(item));
    m_doc->UpDateCurItemContent();
    EXPECT_EQ(CString(L"追記"), item->stAddition.strContent[0]);
    EXPECT_EQ(0, m_doc->IsAnayEidtChange(item));
}

TEST_F(MferDocTest, MedicationPicksItsListEntry)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 1, 0x8001, 1);
    ASSERT_NE(nullptr, item);
    for (const wchar_t* text : {L"降圧剤", L"利尿剤", L"その他"}) m_doc->InsertEditableParam(EDITABLE_PARAM_FIRST, text);
    item->stInterpre.strMedication1.Empty();
    item->stInterpre.nMedication1Sel = 1;
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(CString(L"利尿剤"), StoredText(*m_doc, 3637));
    EXPECT_EQ(0, m_doc->IsInfoEidtChange(item));
}


namespace {

// Tells whether an entry of the store goes to print.
class PrintedMferDoc : public CMFERViewDoc {
public:
    bool Printed(UINT id) const
    {
        const INT_PTR index = FindCheckEntry(id);
        return index >= 0 && m_CheckArray.GetAt(index).IsPrint() != 0;
    }
};

}  // namespace

TEST_F(MferDocTest, ConfirmationPrintsByTheShownRecordsDateAndDoctorOnly)
{
    auto* doc = new PrintedMferDoc;
    m_doc.reset(doc);
    _MFERDATAITEM* twelve = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, twelve);
    twelve->stPatient.bConfirmed = 1;
    twelve->stPatient.strConfirmDoctor = L"佐藤 医師";
    twelve->stPatient.strConfirmDate = L"2024/05/01 10:20:30";
    doc->SetCtrlContent(nullptr);
    doc->UpdateCtrlStatus();
    EXPECT_TRUE(doc->Printed(3165));
    EXPECT_TRUE(doc->Printed(3669));

    // A confirmed 1-lead record without date and doctor. The resting form's
    // entries hold its own (empty) texts, not the 12-lead record's: the
    // resting sheet, which takes every MFER record, shows and stores them.
    _MFERDATAITEM* one = OpenKind(MferKind::Plain, 1, 0x8001, 1);
    ASSERT_NE(nullptr, one);
    one->stPatient.bConfirmed = 1;
    one->stPatient.strConfirmDoctor.Empty();
    one->stPatient.strConfirmDate.Empty();
    doc->SetCtrlContent(nullptr);
    doc->UpdateCtrlStatus();
    EXPECT_EQ(CString(), StoredText(*doc, 3167));
    for (UINT id : {3026u, 3029u, 3165u, 3167u, 3667u, 3669u}) EXPECT_FALSE(doc->Printed(id)) << id;

    // Either of the two filled prints them all.
    one->stPatient.strConfirmDate = L"2024/06/02 08:00:00";
    doc->SetCtrlContent(nullptr);
    doc->UpdateCtrlStatus();
    for (UINT id : {3026u, 3165u, 3667u, 3669u}) EXPECT_TRUE(doc->Printed(id)) << id;
}
