// The MFER forms bound to the control-data store: what loads, what shows,
// how edits go back into the item and how they are detected.
#include <vector>

#include "tests/documents/MFERViewDocFixture.h"

using morvelance::MferKind;
using mfertest::Edit;
using mfertest::MferDocTest;
using testsupport::StoredText;

namespace {

// Reads the print flag of an entry, which only the store itself holds.
class CProbeDoc : public CMFERViewDoc {
public:
    int IsPrinted(UINT uID)
    {
        const INT_PTR index = FindCheckEntry(uID);
        return index < 0 ? -1 : m_CheckArray.GetAt(index).IsPrint();
    }
};

}  // namespace

TEST_F(MferDocTest, StoreHoldsThePanelThenTheRestingForm)
{
    // 30 patient-strip and 59 panel entries, then the resting form's 165.
    ASSERT_EQ(254, m_doc->GetCheckCount());
    EXPECT_EQ(3030u, m_doc->GetCheckID(89));
    EXPECT_EQ(3181u, m_doc->GetCheckID(253));
    std::vector<INT_PTR> comments;
    for (INT_PTR i = 0; i < m_doc->GetCheckCount(); ++i) {
        EXPECT_NE(3159u, m_doc->GetCheckID(i));
        if (m_doc->GetCheckID(i) == 4017) comments.push_back(i);
    }
    ASSERT_EQ(2u, comments.size());
    EXPECT_LT(comments[0], 89);
    EXPECT_GE(comments[1], 89);
}

TEST_F(MferDocTest, TwelveLeadRecordLoadsBothForms)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(CString(L"動悸"), StoredText(*m_doc, 3035));
    EXPECT_EQ(CString(L"動悸"), StoredText(*m_doc, 3641));
    EXPECT_EQ(CString(L"MF-0042"), StoredText(*m_doc, 3001));
    EXPECT_EQ(item->stInterpre.strComment, StoredText(*m_doc, 4017));
    EXPECT_EQ(item->stInterpre.strMinneCode[0], StoredText(*m_doc, 3062));
    EXPECT_EQ(item->stInterpre.strIvrelCode[1], StoredText(*m_doc, 3097));
    EXPECT_EQ(item->stAddition.strTitle[0], StoredText(*m_doc, 3971));
    EXPECT_EQ(item->stAddition.strTitle[0], StoredText(*m_doc, 3999));
    EXPECT_EQ(16, StoredText(*m_doc, 3052).GetLength());
    EXPECT_FALSE(StoredText(*m_doc, 3030).IsEmpty());
    EXPECT_FALSE(StoredText(*m_doc, 3053).IsEmpty());
    EXPECT_EQ(CString(L"156"), StoredText(*m_doc, 3171));
    EXPECT_EQ(CString(L"1.350/0.900"), StoredText(*m_doc, 3179));
    EXPECT_EQ(CString(L"2.250"), StoredText(*m_doc, 3181));
    EXPECT_EQ(0, m_doc->IsEidtChange());
}

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
    EXPECT_EQ(3, info.nMinneCount);
    EXPECT_EQ(CString(L"1-1-1"), info.strMinneCode[0]);
    EXPECT_EQ(CString(L"4-2"), info.strMinneCode[1]);
    EXPECT_EQ(CString(L"ST 接合部"), info.strMinneContent[1]);
    for (int r = 2; r < 8; ++r) EXPECT_TRUE(info.strMinneCode[r].IsEmpty()) << r;
    m_doc->UpdateCtrlStatus();
    for (UINT block : {3054u, 3062u, 3070u, 3078u, 3086u}) {
        EXPECT_EQ(1, m_doc->CheckCtrlStatus(block + 2, 0) & 1) << block;
        EXPECT_EQ(0, m_doc->CheckCtrlStatus(block + 3, 0) & 1) << block;
    }

    // Every row filled keeps the count at the rows the form has.
    for (UINT r = 0; r < 8; ++r) Edit(*m_doc, 3062 + r, L"9-1");
    for (UINT r = 0; r < 11; ++r) Edit(*m_doc, 3097 + r, L"R01");
    m_doc->UpDateCurItemContent();
    EXPECT_EQ(8, info.nMinneCount);
    EXPECT_EQ(11, info.nIvrelCount);
    EXPECT_EQ(CString(L"R01"), info.strIvrelCode[11]);
    EXPECT_TRUE(info.strIvrelCode[0].IsEmpty());
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

TEST_F(MferDocTest, MedicationPicksItsListEntryButNeverTheLast)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 1, 0x8001, 1);
    ASSERT_NE(nullptr, item);
    for (const wchar_t* text : {L"降圧剤", L"利尿剤", L"その他"}) m_doc->InsertEditableParam(EDITABLE_PARAM_FIRST, text);
    item->stInterpre.strMedication1.Empty();
    item->stInterpre.nMedication1Sel = 1;
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(CString(L"利尿剤"), StoredText(*m_doc, 3637));
    EXPECT_EQ(0, m_doc->IsInfoEidtChange(item));
    item->stInterpre.nMedication1Sel = 2;
    m_doc->SetCtrlContent(nullptr);
    EXPECT_TRUE(StoredText(*m_doc, 3637).IsEmpty());
}

TEST_F(MferDocTest, ConfirmationEntriesShowByTheConfirmedFlag)
{
    m_doc.reset(new CProbeDoc);
    CProbeDoc& doc = static_cast<CProbeDoc&>(*m_doc);
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 3, 0x8003, 3);
    ASSERT_NE(nullptr, item);
    item->stPatient.bConfirmed = 1;
    item->stPatient.strConfirmDoctor.Empty();
    item->stPatient.strConfirmDate.Empty();
    doc.SetCtrlContent(nullptr);
    doc.UpdateCtrlStatus();
    EXPECT_EQ(0, doc.CheckCtrlStatus(3665, 0) & 1);
    EXPECT_EQ(0, doc.IsPrinted(3669));
    EXPECT_EQ(1, doc.IsDoctorConfirm());
    item->stPatient.strConfirmDoctor = L"高橋";
    doc.SetCtrlContent(nullptr);
    doc.UpdateCtrlStatus();
    EXPECT_EQ(1, doc.IsPrinted(3669));
    EXPECT_EQ(1, doc.IsPrinted(3166));

    item->stPatient.bConfirmed = 0;
    doc.UpdateCtrlStatus();
    EXPECT_EQ(1, doc.CheckCtrlStatus(3665, 0) & 1);
    EXPECT_EQ(0, doc.CheckCtrlStatus(3669, 0) & 1);
    doc.SetCurDataIndex(-1);
    EXPECT_EQ(0, doc.IsDoctorConfirm());
    EXPECT_EQ(0, doc.IsEidtChange());
}
