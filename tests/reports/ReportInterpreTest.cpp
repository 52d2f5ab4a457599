#include <gtest/gtest.h>

#include "core/PositionCtrl.h"
#include "platform/base/Kernel.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/reports/ReportTestSupport.h"

namespace {

using morvelance::rec::RecordKind;
using platform::gdi::DrawRecord;
using reporttest::CTestReport;
using reporttest::RecordingPage;
using testsupport::Wide;

constexpr int kSubIdStc = 16, kSubIdEdt = 17, kKanaEdt = 19;

// The resting interpretation block over a record the record maker wrote.
class ReportInterpre : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_item = AddRecord("interpre", resttest::Shape(RecordKind::Rest12));
        ASSERT_EQ(Open(m_item), 0);
        m_doc.GetCtrlPosFromXSL(LOAD_POS_REST_PRINT);
        m_report.m_pDoc = &m_doc;
        m_report.m_DocType = 0;
        m_page.Attach(m_report);
        m_block = CRect(m_report.m_rcPrint.left, m_report.m_rcPrint.top + 100, m_report.m_rcPrint.CenterPoint().x,
                        m_report.m_rcPrint.bottom);
    }
    void Print()
    {
        m_report.OpenXml(Wide(m_files.xml));
        m_page.Clear();
        ASSERT_EQ(m_report.PrintRestInterpreInfo(m_block), 1);
    }
    const _POSITION_CTRL& Row(int row) { return m_doc.GetDefCtrlPos()->stRestPrint[row]; }
    bool Drawn(const std::wstring& text)
    {
        for (const DrawRecord& record : m_page.Texts())
            if (record.text == text) return true;
        return false;
    }
    DrawRecord At(const _POSITION_CTRL& row)
    {
        const int top = m_block.top + MulDiv(m_report.m_nPrintHeight, row.nTop, 1000);
        const int left = m_block.left + MulDiv(m_report.m_nPrintWidth, row.nLeft, 1000);
        for (const DrawRecord& record : m_page.Texts())
            if (record.rect.top == top && record.points[0].x == left) return record;
        return DrawRecord();
    }

    _RESTDATAITEM* m_item = nullptr;
    CTestReport m_report;
    RecordingPage m_page;
    CRect m_block;
};

}  // namespace

TEST_F(ReportInterpre, AnEmptySubIdLeavesOutItsCaptionAndNothingMoves)
{
    SetXmlText(L"/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id", L"S-9");
    SetXmlText(L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_kana_name", L"ｼﾝﾃﾞﾝ");
    Print();
    EXPECT_EQ(At(Row(kSubIdEdt)).text, L"S-9");
    EXPECT_EQ(At(Row(kSubIdStc)).text, Row(kSubIdStc).strCaption.str());
    SetXmlText(L"/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id", L"");
    Print();
    EXPECT_TRUE(At(Row(kSubIdStc)).points.empty());
    EXPECT_TRUE(At(Row(kSubIdEdt)).points.empty());
    EXPECT_EQ(At(Row(kKanaEdt)).text, L"ｼﾝﾃﾞﾝ");
}

TEST_F(ReportInterpre, AMedicationStoredAsAListIndexPrintsTheListEntry)
{
    m_doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0), L"ジギタリス");
    m_doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(1), L"β遮断薬");
    const int first = m_doc.GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(0))->GetSize() - 1;
    const int second = m_doc.GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(1))->GetSize() - 1;
    m_item->stInterpre.strMedication1.Empty();
    m_item->stInterpre.nMedication1Sel = first;
    m_item->stInterpre.strMedication2.Empty();
    m_item->stInterpre.nMedication2Sel = second;
    Print();
    EXPECT_TRUE(Drawn(L"ジギタリス ,"));
    EXPECT_TRUE(Drawn(L"β遮断薬"));
    m_item->stInterpre.nMedication1Sel = -1;
    Print();
    EXPECT_FALSE(Drawn(L"ジギタリス ,"));
}

TEST_F(ReportInterpre, MeasurementsAndUnitsAreFormattedAndTheNameCarriesTheSuffix)
{
    const CString saved = g_strSuffix;
    g_strSuffix = L"様";
    SetXmlText(L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_name", L"");
    Print();
    g_strSuffix = saved;
    // An empty name still prints the suffix.
    EXPECT_TRUE(Drawn(L"様"));
    EXPECT_TRUE(Drawn(L"mmHg"));
    EXPECT_TRUE(Drawn(L"cm ,"));
}
