#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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

// Rows of the resting print template.
constexpr int kAddition = 53, kMinneNum1 = 61, kMinneOtherEdt = 72, kIvrelStc = 73, kRecommendTitle = 92,
              kConfirm = 96;
constexpr int kLine = 18;

// Statements of codes the IVREL master holds, with its texts.
const char* const kIvrel[][2] = {
    {"R01", "洞調律"}, {"E02", "心室期外収縮"}, {"AV1", "1度房室ブロック"}, {"IV2", "不完全右脚ブロック"},
    {"AX1", "左軸偏位"}, {"H02", "左室高電位"}, {"S06", "非特異的ST-T変化"}, {"Q01", "QT延長"},
};

class CDoctorDoc : public CRestViewDoc {
public:
    int confirmed = 0;
    int model8000 = 0;
    int IsDoctorConfirm() override { return confirmed; }
    int Is8000File() override { return model8000; }
};

// The lower half of the resting interpretation block over a record the
// record maker wrote, its code lists rewritten case by case.
class ReportMinnesota : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        testsupport::DocumentTest::SetUp();
        morvelance::RestRecordShape shape;
        m_files = morvelance::WriteRestRecord(m_dir.Path(), "codes.ecg", shape);
        auto* item = testsupport::NewRecordItem<_RESTDATAITEM>(m_files.record, m_files.xml);
        m_doc.GetRestDataManager().AppendItem(item);
        CString xml = Wide(m_files.xml), file = Wide(m_files.record);
        ASSERT_EQ(m_doc.OpenFile(xml, file), 0);
        m_doc.SetCurDataIndex(item->nID);
        // The stored confirmation line of a record not confirmed by a doctor.
        item->stPatient.strConfirmation = L"判読待ち";
        m_doc.GetCtrlPosFromXSL(LOAD_POS_REST_PRINT);
        m_report.m_pDoc = &m_doc;
        m_report.m_DocType = 0;
        m_page.Attach(m_report);
        m_block = CRect(m_report.m_rcPrint.left, m_report.m_rcPrint.top, m_report.m_rcPrint.CenterPoint().x,
                        m_report.m_rcPrint.bottom);
    }

    // Minnesota nodes with codes "k-1" and the first `ivrel` statements.
    void SetCodes(int minnesota, int ivrel, bool eighthTitled = true)
    {
        std::ostringstream m, e;
        m << "<Minnesotas>";
        for (int k = 1; k <= minnesota; ++k)
            m << "<Minnesota number=\"" << k << "\" mask=\"\" title=\""
              << (k == 8 && !eighthTitled ? std::string() : std::to_string(k) + "-1") << "\">所見" << k
              << "</Minnesota>";
        m << "</Minnesotas>";
        e << "<Ivreles version=\"12\">";
        for (int k = 1; k <= ivrel; ++k)
            e << "<Ivrel number=\"" << k << "\" mask=\"\" title=\"" << kIvrel[(k - 1) % 8][0] << "\">"
              << kIvrel[(k - 1) % 8][1] << "</Ivrel>";
        e << "</Ivreles>";
        Replace("<Minnesotas>", "</Minnesotas>", m.str());
        Replace("<Ivreles", "</Ivreles>", e.str());
    }
    void SetComment(const CString& text)
    {
        testsupport::WriteXmlValue(m_files.xml, L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content", text);
    }
    void Replace(const std::string& open, const std::string& close, const std::string& with)
    {
        std::ifstream in(m_files.xml);
        std::stringstream all;
        all << in.rdbuf();
        std::string text = all.str();
        const size_t from = text.find(open);
        const size_t to = from == std::string::npos ? from : text.find(close, from);
        ASSERT_NE(from, std::string::npos);
        ASSERT_NE(to, std::string::npos);
        text.replace(from, to + close.size() - from, with);
        std::ofstream(m_files.xml) << text;
    }

    void Print()
    {
        m_report.OpenXml(Wide(m_files.xml));
        m_page.Clear();
        ASSERT_EQ(m_report.PrintMiniAndIvrel(m_block), 1);
    }

    const _POSITION_CTRL& Row(int row) { return m_doc.GetDefCtrlPos()->stRestPrint[row]; }
    // Where a row is drawn under a shift, in thousandths of the height.
    int Top(int row, int shift) { return m_block.top + MulDiv(m_report.m_nPrintHeight, Row(row).nTop + shift, 1000); }
    DrawRecord Find(const std::wstring& text)
    {
        for (const DrawRecord& record : m_page.Texts())
            if (record.text == text) return record;
        return DrawRecord();
    }

    morvelance::RestRecordFiles m_files;
    CDoctorDoc m_doc;
    CTestReport m_report;
    RecordingPage m_page;
    CRect m_block;
};

}  // namespace

TEST_F(ReportMinnesota, TwoCodesPrintTwoLinesAndTheIvrelSectionStaysInPlace)
{
    SetCodes(3, 4);
    SetComment(L"短い");
    Print();
    EXPECT_EQ(Find(L" 1-1").rect.top, Top(kMinneNum1, 0));
    EXPECT_EQ(Find(L" 2-1").rect.top, Top(kMinneNum1 + 2, 0));
    EXPECT_EQ(Find(L" 3-1").points.size(), 0u);
    EXPECT_EQ(Find(Row(kIvrelStc).strCaption.str()).rect.top, Top(kIvrelStc, 0));
}

TEST_F(ReportMinnesota, EightCodesPrintTwoLinesAndListTheRestOnTheOtherLine)
{
    SetCodes(9, 4);
    Print();
    EXPECT_FALSE(Find(L" 2-1").points.empty());
    EXPECT_TRUE(Find(L" 3-1").points.empty());
    // Nodes 3 to 9, each with three blanks: a short list has no ellipsis.
    const DrawRecord other = Find(L" 3-1    4-1    5-1    6-1    7-1    8-1    9-1   ");
    ASSERT_FALSE(other.points.empty());
    EXPECT_EQ(other.rect.top, Top(kMinneOtherEdt, kLine * (3 - 2)));
}

TEST_F(ReportMinnesota, ALongOtherListStopsAfterSixCodesWhenAdditionsTakeTheLines)
{
    m_report.m_nVisibleMask = 1;   // the additions print: four lines, the Minnesota section gets two
    SetCodes(12, 4);
    Print();
    EXPECT_FALSE(Find(L" 1-1").points.empty());
    EXPECT_TRUE(Find(L" 2-1").points.empty());
    EXPECT_FALSE(Find(L" 2-1    3-1    4-1    5-1    6-1    7-1   ...").points.empty());
}

TEST_F(ReportMinnesota, AnEighthNodeWithATitleCountsAsACode)
{
    SetCodes(8, 4, true);
    Print();
    // Eight codes: the list runs to node 9, which is not there.
    const DrawRecord titled = Find(L" 3-1    4-1    5-1    6-1    7-1    8-1      ");
    SetCodes(8, 4, false);
    Print();
    // Seven codes: the list ends at node 8, whose empty title leaves its blanks.
    const DrawRecord untitled = Find(L" 3-1    4-1    5-1    6-1    7-1      ");
    EXPECT_FALSE(titled.points.empty());
    EXPECT_FALSE(untitled.points.empty());
}

TEST_F(ReportMinnesota, AJudgementUnlikeTheMastersMovesEverythingBelowUpOneLine)
{
    SetCodes(3, 2);
    Print();
    const int recommendTop = Find(Row(kRecommendTitle).strCaption.str()).rect.top;
    EXPECT_FALSE(Find(L" J3").points.empty());
    testsupport::WriteXmlValue(m_files.xml, L"/Rawdata/Tavrion/Analysis/Analysis_section/Judgement", L"別の判定");
    Print();
    EXPECT_TRUE(Find(L" J3").points.empty());
    EXPECT_EQ(Find(Row(kRecommendTitle).strCaption.str()).rect.top,
              recommendTop - (Top(kRecommendTitle, 0) - Top(kRecommendTitle, -kLine)));
}

TEST_F(ReportMinnesota, AStatementTheMasterDoesNotHoldKeepsItsLineEmpty)
{
    SetCodes(3, 3);
    Replace("title=\"E02\"", "\">", "title=\"ZZ9\">");
    Print();
    EXPECT_FALSE(Find(L" R01").points.empty());
    EXPECT_TRUE(Find(L" ZZ9").points.empty());
    EXPECT_TRUE(Find(L"心室期外収縮").points.empty());
}

TEST_F(ReportMinnesota, TheCommentMovesTheConfirmationLine)
{
    // Three Minnesota codes and two IVREL statements leave the comment its
    // three lines and put the rows under them two lines down.
    SetCodes(4, 3);
    const int above = 2 * kLine;
    SetComment(L"");
    Print();
    EXPECT_EQ(Find(L"判読待ち").rect.top, Top(kConfirm, above - kLine));
    SetComment(L"一行目\n二行目\n三行目");
    Print();
    EXPECT_EQ(Find(L"判読待ち").rect.top, Top(kConfirm, above + 2 * kLine));
    EXPECT_FALSE(Find(L"三行目").points.empty());
}

TEST_F(ReportMinnesota, AConfirmedRecordPrintsItsLineThoughTheLayoutHidesIt)
{
    SetCodes(3, 2);
    SetComment(L"x");
    m_doc.GetDefCtrlPos()->stRestPrint[kConfirm].bVisible = 0;
    Print();
    EXPECT_TRUE(Find(L"判読待ち").points.empty());
    m_doc.confirmed = 1;
    Print();
    EXPECT_EQ(Find(L"判読待ち").rect.top, Top(kConfirm, 0));
}

TEST_F(ReportMinnesota, ModelEightThousandRecordsPrintNoAdditions)
{
    m_report.m_nVisibleMask = 1;
    SetCodes(3, 3);
    Print();
    const std::wstring caption = Row(kAddition).strCaption.str();
    EXPECT_FALSE(Find(caption).points.empty());
    m_doc.model8000 = 1;
    Print();
    EXPECT_TRUE(Find(caption).points.empty());
    // Without the additions the codes stand at their table places.
    EXPECT_EQ(Find(L" 1-1").rect.top, Top(kMinneNum1, 0));
}

TEST_F(ReportMinnesota, TheSectionsShareTheirFourteenLinesWithoutOneTextOverAnotherInBothTemplates)
{
    // Whatever the additions, code counts, judgement and comment, each line
    // holds the texts of one section, all below the additions' caption line
    // and within fourteen lines of it, and none past the block's right edge:
    // the page gives the block no more.
    const CString judgement =
        testsupport::ReadXmlValue(m_files.xml, L"/Rawdata/Tavrion/Analysis/Analysis_section/Judgement");
    ASSERT_FALSE(judgement.IsEmpty());
    struct Template {
        int table, addition;
        CRect block;
    };
    const CRect& rc = m_report.m_rcPrint;
    const Template templates[] = {{8, kAddition, m_block},
                                  {9, 41, CRect(rc.left, rc.top, rc.right, rc.top + MulDiv(rc.Height(), 290, 1000))}};
    const int counts[][2] = {{1, 1}, {4, 2}, {4, 4}, {10, 12}, {13, 12}};
    for (const Template& t : templates) {
        const _POSITION_CTRL* rows = t.table == 8 ? m_doc.GetDefCtrlPos()->stRestPrint
                                                  : m_doc.GetDefCtrlPos()->stUsaRestPrint;
        const int first = t.block.top + MulDiv(m_report.m_nPrintHeight, rows[t.addition].nTop, 1000);
        const int end = t.block.top + MulDiv(m_report.m_nPrintHeight, rows[t.addition].nTop + 14 * kLine, 1000);
        for (int additions = 0; additions < 2; ++additions)
            for (const auto& count : counts)
                for (int judged = 0; judged < 2; ++judged)
                    for (const wchar_t* comment : {L"", L"一行", L"一行目\n二行目\n三行目\n四行目"}) {
                        SCOPED_TRACE(testing::Message() << "table " << t.table << ", additions " << additions
                                                        << ", nodes " << count[0] << "/" << count[1] << ", judged "
                                                        << judged << ", comment " << testsupport::Utf8(CString(comment)));
                        m_report.m_nVisibleMask = additions;
                        SetCodes(count[0], count[1]);
                        testsupport::WriteXmlValue(m_files.xml, L"/Rawdata/Tavrion/Analysis/Analysis_section/Judgement",
                                                   judged ? judgement : CString(L"別の判定"));
                        SetComment(comment);
                        m_report.OpenXml(Wide(m_files.xml));
                        m_page.Clear();
                        ASSERT_EQ(t.table == 8 ? m_report.PrintMiniAndIvrel(t.block)
                                               : m_report.PrintAmeMiniAndIvrel(t.block),
                                  1);
                        const std::vector<DrawRecord> texts = m_page.Texts();
                        ASSERT_FALSE(texts.empty());
                        for (size_t i = 0; i < texts.size(); ++i) {
                            const RECT& a = texts[i].rect;
                            if (texts[i].text.empty()) continue;
                            EXPECT_GE(a.top, first) << testsupport::Utf8(CString(texts[i].text.c_str()));
                            EXPECT_LT(a.top, end) << testsupport::Utf8(CString(texts[i].text.c_str()));
                            EXPECT_LE(a.right, t.block.right) << testsupport::Utf8(CString(texts[i].text.c_str()));
                            for (size_t j = i + 1; j < texts.size(); ++j) {
                                const RECT& b = texts[j].rect;
                                if (texts[j].text.empty()) continue;
                                const bool meet = a.left < b.right && b.left < a.right && a.top < b.bottom &&
                                                  b.top < a.bottom;
                                EXPECT_FALSE(meet) << testsupport::Utf8(CString(texts[i].text.c_str())) << " over "
                                                   << testsupport::Utf8(CString(texts[j].text.c_str()));
                            }
                        }
                    }
    }
}
