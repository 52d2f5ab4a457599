// The exercise result table over a record-maker exercise record: the screen
// grid, bands, labels and the document's texts; the reload after a save; the
// paper table with its regression line and signature line.
#include "analysisviews/ViewResultTable.h"
#include "core/ECGXMLParser.h"
#include "printdevice/ECGDC.h"
#include "tests/analysisviews/ExerViewTestSupport.h"
#include "tests/support/DCStateCheck.h"

using namespace exerviewtest;
using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;

namespace {

const int kWidth = 960;
const int kHeight = 320;
const COLORREF kBand = RGB(220, 255, 220);

class ResultTable : public ExerViewFixture<CViewResultTable> {
protected:
    void Show()
    {
        OpenRecord(DefaultOptions());
        ShowView(kWidth, kHeight);
    }
    std::vector<DrawRecord> Screen()
    {
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(kWidth, kHeight)));
        m_view->OnDraw(&dc);
        return platform::gdi::GetRecording(dc.GetSafeHdc());
    }
    std::vector<DrawRecord> Paper(BOOL* printed, bool parser = true)
    {
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(2000, 1400)));
        CECGDC device(&dc, 2);
        CECGXMLParser xml(Item().strXMLPath, 0, CString());
        *printed = m_view->Print(&device, parser ? &xml : nullptr, CRect(100, 100, 1900, 1300));
        return platform::gdi::GetRecording(dc.GetSafeHdc());
    }
    static std::vector<std::wstring> Texts(const std::vector<DrawRecord>& records)
    {
        std::vector<std::wstring> texts;
        for (const DrawRecord& r : records)
            if (r.op == DrawOp::Text) texts.push_back(r.text);
        return texts;
    }
    static bool Has(const std::vector<std::wstring>& texts, const std::wstring& text)
    {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
};

}  // namespace

TEST_F(ResultTable, TheRegressionLineTakesThePlusMinusOrMissingPattern)
{
    EXPECT_EQ(Utf8(CViewResultTable::RegressionText(0.0421, 3.26)), "METs = 0.042 x HR +   3.3");
    EXPECT_EQ(Utf8(CViewResultTable::RegressionText(0.08, -5.0)), "METs = 0.080 x HR -   5.0");
    EXPECT_EQ(Utf8(CViewResultTable::RegressionText(0, 0)), "METs = *.* x HR + *.*");
    // Values that both lie below 1 are still a line.
    EXPECT_EQ(Utf8(CViewResultTable::RegressionText(0.05, -0.5)), "METs = 0.050 x HR -   0.5");
    EXPECT_EQ(Utf8(CViewResultTable::RegressionText(0.05, 0.0)), "METs = 0.050 x HR -   0.0");
    EXPECT_EQ(Utf8(CViewResultTable::RegressionText(0.05, -1.0)), "METs = 0.050 x HR -   1.0");
}

TEST_F(ResultTable, TheScreenTableBandsEveryOtherRowAndShowsTheDocumentsTexts)
{
    Show();
    const std::vector<std::wstring> texts = Texts(Screen());
    for (const wchar_t* label :
         {L"%", L"心拍数 [bpm]", L"METs", L"VO2 [ml/kg/min]", L"Kcal/10min", L"RSP [km/h]", L"負荷量 [W]"})
        EXPECT_TRUE(Has(texts, label)) << Utf8(CString(label));
    for (int c = 0; c < 10; ++c) EXPECT_TRUE(Has(texts, Item().stResult.strValue[0][c].GetString())) << c;
    EXPECT_EQ(Item().stResult.strValue[0][0], CString(L"40"));
    Paint();
    // Row 1 (from an eighth of the height to a quarter) is banded, row 0 not.
    EXPECT_EQ(Pixel(kWidth / 2 + 3, kHeight * 3 / 16 + 8), kBand);
    EXPECT_NE(Pixel(kWidth / 2 + 3, kHeight / 16 + 8), kBand);
}

TEST_F(ResultTable, WithoutAnItemOnlyTheGridAndLabelsAreDrawn)
{
    Show();
    m_doc.SetCurDataIndex(-1);
    EXPECT_EQ(Texts(Screen()).size(), 8u);
}

TEST_F(ResultTable, AnUpdateReReadsTheTextsOnlyAfterASave)
{
    Show();
    Item().stResult.strValue[1][0] = L"999";
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(Item().stResult.strValue[1][0], CString(L"999"));
    Item().stInterpre.bSaved = 1;
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_NE(Item().stResult.strValue[1][0], CString(L"999"));
    EXPECT_EQ(Item().stInterpre.bSaved, 0);
}

TEST_F(ResultTable, ThePaperTableEndsWithTheRegressionAndASignatureLineOfAtLeastSeventeenCharacters)
{
    Show();
    Item().stPatient.strConfirmDoctor = L"山田";
    BOOL printed = FALSE;
    const std::vector<DrawRecord> records = Paper(&printed);
    ASSERT_TRUE(printed);
    const std::vector<std::wstring> texts = Texts(records);
    EXPECT_TRUE(Has(texts, L"*** 結果 : "));
    EXPECT_TRUE(Has(texts, L"kcal/10min"));
    EXPECT_TRUE(Has(texts, L"Reviewed by :"));
    EXPECT_TRUE(Has(texts, L"山田"));
    EXPECT_TRUE(
        Has(texts, CViewResultTable::RegressionText(Item().stResult.dSlope, Item().stResult.dIntercept).GetString()));
    // The last line drawn is the signature line: 17 average characters.
    const DrawRecord* last = nullptr;
    for (const DrawRecord& r : records)
        if (r.op == DrawOp::Polyline) last = &r;
    ASSERT_NE(last, nullptr);
    EXPECT_GT(last->points[1].x - last->points[0].x, 17 * 3);

    const std::vector<DrawRecord> none = Paper(&printed, false);
    EXPECT_FALSE(printed);
    EXPECT_TRUE(none.empty());
}

TEST_F(ResultTable, ThePaperPrintsASlopeAndInterceptBelowOneAndTheMissingPatternOnlyForNoLine)
{
    Show();
    BOOL printed = FALSE;
    Item().stResult.dSlope = 0.12;
    Item().stResult.dIntercept = -0.4;
    EXPECT_TRUE(Has(Texts(Paper(&printed)), L"METs = 0.120 x HR -   0.4"));
    ASSERT_TRUE(printed);
    Item().stResult.dSlope = 0.0;
    Item().stResult.dIntercept = 0.0;
    EXPECT_TRUE(Has(Texts(Paper(&printed)), L"METs = *.* x HR + *.*"));
}

TEST_F(ResultTable, DrawingLeavesTheDCAsItFoundIt)
{
    Show();
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight)));
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), m_view->OnDraw(&dc));
    CECGDC device(&dc, 2);
    CECGXMLParser xml(Item().strXMLPath, 0, CString());
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), m_view->Print(&device, &xml, CRect(0, 0, kWidth, kHeight)));
}
