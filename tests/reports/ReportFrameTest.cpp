#include <gtest/gtest.h>

#include "core/PositionCtrl.h"
#include "platform/base/Kernel.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/reports/ReportTestSupport.h"
#include "reports/ReportTextScope.h"

namespace {

using morvelance::rec::RecordKind;
using platform::gdi::DrawRecord;
using reporttest::CTestReport;
using testsupport::Wide;
using reporttest::RecordingPage;

const CString kPatient = L"/Rawdata/Tavrion/Inspection/Patient_section/";

// The page frame of a resting record the record maker wrote, drawn on a
// recording device of the report's page.
class ReportFrame : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_item = AddRecord("frame", resttest::Shape(RecordKind::Rest12));
        ASSERT_EQ(Open(m_item), 0);
        m_doc.GetCtrlPosFromXSL(LOAD_POS_REST_PRINT);
        m_report.m_pDoc = &m_doc;
        m_report.m_DocType = 0;
        Attach();
    }

    void Attach(_PRINT_TYPE type = 2)
    {
        m_page.reset(new RecordingPage(type));
        m_page->Attach(m_report);
        m_report.OpenXml(Wide(m_files.xml));
    }

    int TextWidth(const CString& text)
    {
        CReportTextScope font(m_page->Device(), m_report.m_pPrintFont, TA_TOP);
        return m_page->Device().GetTextExtent(text).cx;
    }

    _RESTDATAITEM* m_item = nullptr;
    CTestReport m_report;
    std::unique_ptr<RecordingPage> m_page;
};

}  // namespace

TEST_F(ReportFrame, TheTitleFillsTheLineWithAsterisksUpToThePageLabel)
{
    SetXmlText(kPatient + L"Patient_id", L"ID-77");
    SetXmlText(kPatient + L"Patient_name", L"心電 花子");
    m_report.OpenXml(Wide(m_files.xml));
    ASSERT_TRUE(m_report.PrintTitle(L"安静時12誘導", 2, 5, 1, 1));
    const auto texts = m_page->Texts();
    ASSERT_GE(texts.size(), 3u);
    const std::wstring head = texts.front().text;
    EXPECT_EQ(head.rfind(L"****** Report ****** 安静時12誘導 ********** ID-77 ********** 心電 花子", 0), 0u);
    EXPECT_EQ(texts.back().text, L" P. 2/5 ****");
    // Every piece on the top edge; the asterisks step by their own width
    // and the label ends at or just past the right edge.
    const int star = TextWidth(L"*");
    ASSERT_GT(star, 0);
    for (size_t i = 1; i + 1 < texts.size(); ++i) {
        EXPECT_EQ(texts[i].text, L"*");
        EXPECT_EQ(texts[i].points[0].x - texts[i - 1].points[0].x, i == 1 ? TextWidth(CString(head.c_str())) : star);
    }
    const int labelEnd = texts.back().points[0].x + TextWidth(L" P. 2/5 ****");
    EXPECT_GE(labelEnd, m_report.m_rcPrint.right);
    EXPECT_LT(labelEnd, m_report.m_rcPrint.right + star);
    EXPECT_EQ(texts.front().rect.top, m_report.m_rcPrint.top);
}

TEST_F(ReportFrame, ThePageLabelCarriesTheAcquisitionDateUnlessToldNot)
{
    ASSERT_TRUE(m_report.PrintTitle(L"x", 1, 1, 0, 1));
    const std::wstring label = m_page->Texts().back().text;
    // " yyyy/mm/dd hh:mm  P. 1/1 ****"
    ASSERT_EQ(label.size(), std::wstring(L" 2024/01/01 00:00  P. 1/1 ****").size());
    EXPECT_EQ(label.substr(17), L"  P. 1/1 ****");
    RemoveXmlNode(kPatient + L"Acquition_date");
    m_report.OpenXml(Wide(m_files.xml));
    m_page->Clear();
    ASSERT_TRUE(m_report.PrintTitle(L"x", 1, 1, 0, 1));
    EXPECT_EQ(m_page->Texts().back().text, L"   P. 1/1 ****");
}

TEST_F(ReportFrame, AHeadWiderThanThePageDrawsNoAsterisks)
{
    ASSERT_TRUE(m_report.PrintTitle(CString(L'長', 400), 1, 1, 1, 1));
    const auto texts = m_page->Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].points[0].x, texts[0].points[0].x + TextWidth(texts[0].text.c_str()));
}

TEST_F(ReportFrame, OnHpglTheFrameDrawsNoTextYetSucceeds)
{
    Attach(3);
    EXPECT_TRUE(m_report.PrintTitle(L"安静時", 1, 1, 0, 1));
    EXPECT_TRUE(m_report.PrintVersion());
    // The character cell stands in for the metrics the language never measures.
    EXPECT_EQ(m_report.PrintComment(L"一行目\n二行目", CRect(0, 0, 4000, 1000), 5), 3);
}

TEST_F(ReportFrame, CommentsWrapByCodePageBytesAndEndInAnEllipsis)
{
    TEXTMETRICW metrics{};
    {
        CReportTextScope probe(m_page->Device(), m_report.m_pPrintFont, TA_TOP);
        m_page->Device().GetTextMetrics(&metrics);
    }
    const int width = metrics.tmAveCharWidth;
    const int line = metrics.tmHeight + metrics.tmExternalLeading;
    ASSERT_GT(width, 0);
    const CRect box(1000, 2000, 1000 + 10 * width, 4000);

    // Two short lines of five return three.
    EXPECT_EQ(m_report.PrintComment(L"ab\ncd", box, 5), 3);
    auto texts = m_page->Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, L"ab");
    EXPECT_EQ(texts[1].text, L"cd");
    EXPECT_EQ(texts[1].rect.top - texts[0].rect.top, line);
    EXPECT_EQ(texts[0].points[0].x, box.left);

    // A double-byte character counts two: five of them fill the ten columns.
    m_page->Clear();
    EXPECT_EQ(m_report.PrintComment(L"心電図検査の結果", box, 2), 0);
    texts = m_page->Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, L"心電図検査");
    EXPECT_EQ(texts[1].text, L"の結果");

    // Text left over after the last line: four characters make room for "...".
    m_page->Clear();
    EXPECT_EQ(m_report.PrintComment(L"abcdefghijklmnop", box, 1), 0);
    EXPECT_EQ(m_page->Texts().at(0).text, L"abcdef...");
    // A short last line loses only what it has.
    m_page->Clear();
    EXPECT_EQ(m_report.PrintComment(L"ab\ncd", CRect(0, 0, 2 * width, 100), 1), 0);
    EXPECT_EQ(m_page->Texts().at(0).text, L"...");

    // A lone line feed is one empty line.
    EXPECT_EQ(m_report.PrintComment(L"\n", box, 4), 3);
    m_page->Clear();
    EXPECT_EQ(m_report.PrintComment(L"abc", box, 0), 0);
    EXPECT_TRUE(m_page->Texts().empty());
}

TEST_F(ReportFrame, ACharacterTheRecordCodePageLacksWrapsAsWideAsAKanji)
{
    TEXTMETRICW metrics{};
    {
        CReportTextScope probe(m_page->Device(), m_report.m_pPrintFont, TA_TOP);
        m_page->Device().GetTextMetrics(&metrics);
    }
    const int width = metrics.tmAveCharWidth;
    ASSERT_GT(width, 0);
    const CRect box(1000, 2000, 1000 + 10 * width, 4000);
    // 这 has no Shift-JIS code but is drawn full width: five fill the ten
    // columns, and the last line makes room for "..." as 漢 does.
    for (const wchar_t wide : {L'漢', L'这'}) {
        SCOPED_TRACE(static_cast<int>(wide));
        m_page->Clear();
        EXPECT_EQ(m_report.PrintComment(CString(wide, 13), box, 2), 0);
        const auto texts = m_page->Texts();
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0].text, std::wstring(5, wide));
        EXPECT_EQ(texts[1].text, std::wstring(1, wide) + L"...");
    }
}

TEST_F(ReportFrame, TheVersionLineSitsOnTheBottomEdgeWithItsLabels)
{
    SetXmlText(kPatient + L"Technician", L"検査 技師");
    SetXmlText(kPatient + L"Ward", L"東3");
    SetXmlText(kPatient + L"Hosp_name", L"   ");
    m_report.OpenXml(Wide(m_files.xml));
    ASSERT_TRUE(m_report.PrintVersion());
    const auto texts = m_page->Texts();
    ASSERT_EQ(texts.size(), 1u);
    const std::wstring line = texts[0].text;
    EXPECT_NE(line.find(L"  検査 : 検査 技師"), std::wstring::npos);
    EXPECT_NE(line.find(L"  所属 : 東3"), std::wstring::npos);
    EXPECT_EQ(line.find(L"施設名"), std::wstring::npos);
    EXPECT_EQ(texts[0].rect.bottom, m_report.m_rcPrint.bottom);
    EXPECT_EQ(texts[0].points[0].x, m_report.m_rcPrint.left);
}

TEST_F(ReportFrame, AVersionLineTooWideKeepsOnlyItsLabels)
{
    SetXmlText(L"/Rawdata/Tavrion/Record/Unit_version", CString(L'9', 600));
    SetXmlText(kPatient + L"Request_doctor", L"依頼 医師");
    m_report.OpenXml(Wide(m_files.xml));
    ASSERT_TRUE(m_report.PrintVersion());
    const std::wstring line = m_page->Texts().at(0).text;
    EXPECT_EQ(line.rfind(L"依頼 : 依頼 医師", 0), 0u);
    EXPECT_EQ(line.find(L"9999"), std::wstring::npos);
}

TEST_F(ReportFrame, PatientEntriesAreScaledWithTheWidthAndHeightCrossed)
{
    _POSITION_CTRL* table = m_doc.GetDefCtrlPos()->stPatInfoPrint;
    for (int i = 0; i < 16; ++i) table[i].bVisible = 0;
    table[0].bVisible = 1;
    table[0].nLeft = 100;
    table[0].nTop = 50;
    table[0].nWidth = 200;
    table[0].nHeight = 20;
    table[0].arrXmlPath.RemoveAll();
    table[0].strCaption = L"患者情報";
    ASSERT_TRUE(m_report.PrintPatientInfo(CRect(500, 600, 500, 600)));
    const auto texts = m_page->Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, L"患者情報");
    EXPECT_EQ(texts[0].points[0].x, 500 + MulDiv(m_report.m_nPrintWidth, 100, 1000));
    EXPECT_EQ(texts[0].rect.top, 600 + MulDiv(m_report.m_nPrintHeight, 50, 1000));
}

TEST_F(ReportFrame, TheFrameLeavesTheDeviceAsItFoundIt)
{
    const UINT align = m_page->Device().SetTextAlign(TA_BASELINE);
    CFont* font = m_page->Device().GetCurrentFont();
    m_report.PrintTitle(L"x", 1, 1, 0, 1);
    m_report.PrintVersion();
    m_report.PrintComment(L"abc", CRect(0, 0, 1000, 1000), 2);
    m_report.PrintPatientInfo(m_report.m_rcPrint);
    EXPECT_EQ(m_page->Device().GetTextAlign(), static_cast<UINT>(TA_BASELINE));
    EXPECT_EQ(m_page->Device().GetCurrentFont(), font);
    (void)align;
}
