// The exercise result page on an exercise record written by the record
// maker: the regression equation the pane paints itself, probed on the
// screen at 40 and 520 units and read back part by part from a recording
// context at narrow and wide panes; both exercise pages before the host
// gives them a document.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysisviews/ViewExerTrend.h"
#include "analysisviews/ViewResultTable.h"
#include "dialogs/DlgCtrl.h"
#include "panes/PaneKit.h"
#include "panes/WndExerResult.h"
#include "panes/WndExerSummary.h"
#include "platform/gdi/Image.h"
#include "platform/gdi/RecordingDriver.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "tests/panes/PaneTestSupport.h"
#include "tests/support/DCStateCheck.h"
#include "tests/support/ViewProbes.h"

using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;
using platform::ui::Desktop;

namespace {

const COLORREF kEquation = RGB(200, 0, 0);

class ExerResultTest : public exertest::ExerDocument {
protected:
    void SetUp() override
    {
        exertest::ExerDocument::SetUp();
        Desktop::Reset();
        m_doc.m_bAutoDelete = FALSE;
        ASSERT_EQ(0, Open(m_doc, Write(exertest::DefaultOptions())));
        m_doc.SetTextColor(kEquation);
    }
    void TearDown() override
    {
        m_host.Close();
        Desktop::Reset();
        exertest::ExerDocument::TearDown();
    }
    CWndExerResult* OpenPane(int width, int height)
    {
        m_screen.Use(m_doc, width, height);
        CWndExerResult* pane =
            m_host.Open([this](CWndExerResult& p) { p.SetExerViewDoc(&m_doc); }, TRUE, width, height);
        pane->SendMessage(WM_SIZE, 0, 0);
        pane->OnUpdate();
        Desktop::PumpMessages();
        return pane;
    }
    void SetLine(double slope, double intercept)
    {
        m_doc.GetCurrentDataItem()->stResult.dSlope = slope;
        m_doc.GetCurrentDataItem()->stResult.dIntercept = intercept;
    }
    // The equation's texts in drawing order, on a pane of width × height.
    std::vector<DrawRecord> Equation(int width, int height)
    {
        CWndExerResult* pane = OpenPane(width, height);
        CDC dc;
        EXPECT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(width, height)));
        pane->DrawEquation(&dc, width, height);
        std::vector<DrawRecord> texts;
        for (const DrawRecord& r : platform::gdi::GetRecording(dc.GetSafeHdc()))
            if (r.op == DrawOp::Text) texts.push_back(r);
        return texts;
    }
    static std::vector<std::wstring> Texts(const std::vector<DrawRecord>& records)
    {
        std::vector<std::wstring> texts;
        for (const DrawRecord& r : records) texts.push_back(r.text);
        return texts;
    }

    CExerViewDoc m_doc;
    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndExerResult> m_host;
};

}  // namespace

TEST_F(ExerResultTest, EquationIsInkedFromFortyUnitsAcrossAtFiveHundredTwentyDown)
{
    SetLine(0.5, 1.2);
    CWndExerResult* pane = OpenPane(1920, 1080);
    pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const panes::VirtualPage page(1920, 1080, 664);
    const int x0 = page.X(40), y0 = page.Y(520);
    const std::vector<COLORREF> pixels = testsupport::ClientSnapshot(*pane);
    int inside = 0, before = 0, above = 0, leftmost = 1920;
    for (int y = y0 - 30; y < y0 + 40; ++y)
        for (int x = 0; x < 640; ++x) {
            if (pixels[static_cast<size_t>(y) * 1920 + x] != kEquation) continue;
            if (x < x0) ++before;
            if (y < y0) ++above;
            if (x >= x0 && y >= y0) ++inside;
            leftmost = std::min(leftmost, x);
        }
    EXPECT_GT(inside, 50);
    EXPECT_EQ(0, before);
    EXPECT_EQ(0, above);
    EXPECT_LT(leftmost, x0 + 5);
}

TEST_F(ExerResultTest, EachPartStartsAfterThePartBeforeItAtAnyWidth)
{
    SetLine(0.5, 1.2);
    for (int width : {400, 1020, 1920}) {
        const std::vector<DrawRecord> texts = Equation(width, width * 664 / 1020);
        ASSERT_EQ(4u, texts.size()) << width;
        EXPECT_EQ((std::vector<std::wstring>{L"METs =", L"0.500 x", L" HR", L"+  1.2"}), Texts(texts));
        const panes::VirtualPage page(width, width * 664 / 1020, 664);
        EXPECT_EQ(page.X(40), texts[0].rect.left);
        for (size_t i = 1; i < texts.size(); ++i) {
            EXPECT_GE(texts[i].rect.left, texts[i - 1].rect.right) << width << " part " << i;
            EXPECT_EQ(texts[0].rect.top, texts[i].rect.top);
        }
        // The stated gaps: twenty screen units after "METs =", ten after " HR", none elsewhere.
        EXPECT_EQ(static_cast<int>(20 * g_dXUnit), texts[1].rect.left - texts[0].rect.right) << width;
        EXPECT_EQ(0, texts[2].rect.left - texts[1].rect.right) << width;
        EXPECT_EQ(static_cast<int>(10 * g_dXUnit), texts[3].rect.left - texts[2].rect.right) << width;
    }
}

TEST_F(ExerResultTest, SlopesBelowOneAreShownAndOnlyAMissingLineShowsThePlaceholder)
{
    SetLine(0.5, 0.4);
    EXPECT_EQ((std::vector<std::wstring>{L"METs =", L"0.500 x", L" HR", L"+  0.4"}), Texts(Equation(1020, 664)));
    SetLine(0.042, -3.5);
    EXPECT_EQ((std::vector<std::wstring>{L"METs =", L"0.042 x", L" HR", L"-  3.5"}), Texts(Equation(1020, 664)));
    SetLine(0.0, 0.0);
    EXPECT_EQ((std::vector<std::wstring>{L"METs =", L"*.* x", L" HR", L"- *.*"}), Texts(Equation(1020, 664)));
}

TEST_F(ExerResultTest, EquationLeavesTheContextAsItFoundIt)
{
    SetLine(0.5, 1.2);
    CWndExerResult* pane = OpenPane(1020, 664);
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(1020, 664)));
    EXPECT_LEAVES_DC_AS_FOUND(dc.GetSafeHdc(), pane->DrawEquation(&dc, 1020, 664));
}


TEST(ExerPagesWithoutDocument, LayoutUpdateAndPaintChangeNothing)
{
    Desktop::Reset();
    panetest::PaneHost<CWndExerResult> result;
    CWndExerResult* pane = result.Open([](CWndExerResult&) {}, TRUE, 1020, 664);
    pane->SendMessage(WM_SIZE, 0, 0);
    pane->OnUpdate();
    pane->UpdateWindow();
    EXPECT_TRUE(result.Rect(pane->GetResultTable()).IsRectEmpty());
    panetest::PaneHost<CWndExerSummary> summary;
    CWndExerSummary* other = summary.Open([](CWndExerSummary&) {}, TRUE, 1020, 664);
    other->SendMessage(WM_SIZE, 0, 0);
    other->OnUpdate();
    other->RestoreTrendStyle();
    EXPECT_EQ(0, other->GetTrendKindStrip()->GetDlgItem(4100)->SendMessage(CB_GETCOUNT));
    EXPECT_TRUE(summary.Rect(other->GetTrendView()).IsRectEmpty());
}
