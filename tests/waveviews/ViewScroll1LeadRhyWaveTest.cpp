// The overview strip under a record of the serial rhythm comparison, on an
// MFER rhythm file of the record maker, in a pane that keeps every message
// it is sent; the mouse goes through the desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/DataItem.h"
#include "core/Globals.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/Image.h"
#include "platform/gdi/RecordingDriver.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Resources.h"
#include "printdevice/ECGDC.h"
#include "tests/support/DCStateCheck.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/MferWriter.h"
#include "waveviews/ViewEnlargedPreview.h"
#include "waveviews/ViewScroll1LeadRhyWave.h"

using platform::ui::Desktop;

namespace {

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kDimPaper = RGB(10, 10, 60);
// 1350 × 120 on 135 × 30 squares: a margin of 100, rows of 1250 pixels.
const int kWidth = 1350;
const int kHeight = 120;
const int kMargin = 100;

class CMessagePane : public CWnd {
public:
    std::vector<std::pair<int, int>> dragged;   // (page start, view index)
    std::vector<std::pair<int, int>> pulses;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_STRIP_DRAGGED || message == WM_CAL_PULSE_CLICKED) {
            (message == WM_STRIP_DRAGGED ? dragged : pulses).push_back({static_cast<int>(wParam), static_cast<int>(lParam)});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// The strip's texts, drawn on their own; every strip of these tests is one.
class CStripTexts : public CViewScroll1LeadRhyWave {
public:
    using CViewScroll1LeadRhyWave::DrawWaveInfo;
};

class SerialStripTest : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        testsupport::DocumentTest::SetUp();
        Desktop::SetScreenSize(1920, 1080);
        m_rest.m_bAutoDelete = m_mfer.m_bAutoDelete = m_base.m_bAutoDelete = FALSE;
        m_base.SetWaveColor(2, kPaper);
        m_base.SetWaveColor(18, kDimPaper);
        m_mfer.SetSpeed(25.0f);
        // Five minutes of a twelve-lead MFER rhythm file: 150,000 samples.
        const std::string path = m_dir.File("rhythm.mwf");
        std::string error;
        ASSERT_TRUE(morvelance::WriteMferFile(path, morvelance::MferKindRecord(morvelance::MferKind::Rhythm12, 12, m_seconds),
                                              morvelance::MferOptions(), &error))
            << error;
        auto* item = new _MFERDATAITEM;
        item->strFilePath = CString(path.c_str());
        m_mfer.GetMFERDataManager()->AppendItem(item);
        CString mfer(path.c_str()), xml, third;
        ASSERT_EQ(0, m_mfer.OpenMFERFile(mfer, xml, third));
        auto* listed = new _DATAITEM;
        listed->uSystemCode = item->uSystemCode;
        listed->strXMLPath = item->strXMLPath;
        listed->strFilePath = item->strFilePath;
        m_base.GetDataManager().AppendItem(listed);

        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0));
        CCreateContext context;
        context.m_pCurrentDoc = &m_mfer;
        m_strip = new CStripTexts;
        ASSERT_TRUE(m_strip->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &m_pane, 1,
                                    &context));
        m_strip->SetRestViewDoc(&m_rest);
        m_strip->SetMFERViewDoc(&m_mfer);
        m_strip->SetBaseECGDoc(&m_base);
        m_strip->SetDocType(DOC_TYPE_MFER);
        m_strip->SetSerialIndex(0);
        m_strip->SetViewIndex(1);
        m_strip->OnUpdate(nullptr, 0, nullptr);
        m_strip->Invalidate(TRUE);
        m_strip->UpdateWindow();
    }
    void TearDown() override
    {
        m_pane.DestroyWindow();
        Desktop::Reset();
        testsupport::DocumentTest::TearDown();
    }
    int Count(COLORREF colour, const CRect& box)
    {
        CClientDC dc(m_strip);
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) n += dc.GetPixel(x, y) == colour;
        return n;
    }

    double m_seconds = 300.0;
    CRestViewDoc m_rest;
    CMFERViewDoc m_mfer;
    CTavrionDoc m_base;
    CMessagePane m_pane;
    CStripTexts* m_strip = nullptr;   // deleted with its window
};

// Twenty seconds: one row of the strip, and short enough for auto gain.
class ShortSerialStripTest : public SerialStripTest {
protected:
    ShortSerialStripTest() { m_seconds = 20.0; }
};

}  // namespace

TEST_F(SerialStripTest, TheWindowIsTheComparisonsPageOfOneHundredAndTwentyMillimetres)
{
    ASSERT_EQ(150000, m_strip->GetLeadSampleCount(0));
    EXPECT_EQ(2400, m_strip->GetWindowLength());
    // 2.5 mm/s over 125 squares: six rows; the page is 120 pixels of the first.
    EXPECT_EQ(6, m_strip->GetRowCount());
    EXPECT_EQ(kMargin, m_strip->GetWindowLeftX());
    EXPECT_EQ(kMargin + 120, m_strip->GetWindowRightX());
    // The first row's band: the window in paper colours, the rest dimmed.
    const CRect window(kMargin + 5, 0, kMargin + 115, 20);
    const CRect after(kMargin + 130, 0, kMargin + 600, 20);
    EXPECT_GT(Count(kPaper, window), window.Width() * 10);
    EXPECT_EQ(0, Count(kDimPaper, window));
    EXPECT_GT(Count(kDimPaper, after), after.Width() * 10);
    // Only the dimmed trace is white there.
    EXPECT_LT(Count(kPaper, after), after.Width() * 4);
    m_mfer.SetSpeed(50.0f);
    m_strip->SetScrollRhyWidth(0, TRUE);
    EXPECT_EQ(1200, m_strip->GetWindowLength());
}

TEST_F(SerialStripTest, ADragPagesTheRecordAndThePaneHearsTheStartAndTheViewIndexAtTheRelease)
{
    m_pane.dragged.clear();
    Desktop::MoveMouse(m_strip->GetSafeHwnd(), kMargin + 50, 5);
    Desktop::MouseDown(POINT{kMargin + 50, 5});
    Desktop::MoveMouse(m_strip->GetSafeHwnd(), kMargin + 350, 5);
    EXPECT_TRUE(m_strip->IsDragging());
    EXPECT_TRUE(m_pane.dragged.empty());
    // 300 of the record's 7500 strip pixels.
    EXPECT_EQ(6000, m_strip->GetStartTime());
    Desktop::MouseUp(POINT{kMargin + 350, 5});
    Desktop::PumpMessages();
    const std::vector<std::pair<int, int>> expected{{6000, 1}};
    EXPECT_EQ(expected, m_pane.dragged);
}

// The line between two rows (y 20 of rows 20 pixels high) belongs to the
// upper row: there the window of the first row shows the hand and is taken.
TEST_F(SerialStripTest, ThePixelLineBetweenTwoRowsBelongsToTheUpperRow)
{
    ASSERT_EQ(6, m_strip->GetRowCount());
    Desktop::MoveMouse(m_strip->GetSafeHwnd(), kMargin + 60, 20);
    Desktop::PumpMessages();
    EXPECT_EQ(g_hCursorHand, m_strip->GetCurrentCursor());
    Desktop::MouseDown(POINT{kMargin + 60, 20});
    EXPECT_TRUE(m_strip->IsDragging());
    Desktop::MouseUp(POINT{kMargin + 60, 20});
    Desktop::PumpMessages();
    EXPECT_FALSE(m_strip->IsDragging());
    // A pixel lower is the second row, which the window does not reach.
    Desktop::MoveMouse(m_strip->GetSafeHwnd(), kMargin + 60, 21);
    Desktop::PumpMessages();
    EXPECT_EQ(::LoadCursor(nullptr, IDC_ARROW), m_strip->GetCurrentCursor());
}

TEST_F(SerialStripTest, TheHandShowsOnlyOverTheWindowAndTheMagnifierFollowsTheMouseUntilItLeaves)
{
    auto hover = [&](int x, int y) {
        Desktop::MoveMouse(m_strip->GetSafeHwnd(), x, y);
        Desktop::PumpMessages();
        return m_strip->GetCurrentCursor();
    };
    const HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
    // The window is the first 120 pixels of the first row (20 pixels high).
    EXPECT_EQ(g_hCursorHand, hover(kMargin + 60, 10));
    EXPECT_EQ(arrow, hover(kMargin + 400, 10));
    EXPECT_EQ(arrow, hover(kMargin + 60, 50));
    EXPECT_EQ(arrow, hover(kMargin / 2, 10));

    CDlgEnlargedPreview magnifier;
    magnifier.SetEnlargedPreviewDoc(&m_mfer);
    ASSERT_TRUE(magnifier.Create(CDlgEnlargedPreview::IDD, nullptr));
    magnifier.SetWindowPos(nullptr, 1500, 800, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    magnifier.ShowWindow(SW_SHOWNOACTIVATE);
    m_mfer.SetEnlargedPreview(&magnifier);
    hover(kMargin + 60, 10);
    EXPECT_TRUE(m_strip->IsMouseInside());
    EXPECT_TRUE(m_strip->HasMagnifierCache());
    Desktop::MoveMouse(POINT{1600, 600});
    Desktop::PumpMessages();
    EXPECT_FALSE(m_strip->IsMouseInside());
    EXPECT_FALSE(m_strip->HasMagnifierCache());
    m_mfer.SetEnlargedPreview(nullptr);
    magnifier.DestroyWindow();
}

// The magnified strip writes its gain and speed in the strip's display font made
// as large as the picture: four times the strip's text, not the canvas's
// default font.
TEST_F(SerialStripTest, TheMagnifiedStripWritesItsTextsInTheDisplayFontScaledByTheMagnification)
{
    const COLORREF kText = RGB(250, 0, 250);
    m_base.SetWaveColor(19, kText);   // the texts outside the window
    CDlgEnlargedPreview magnifier;
    magnifier.SetEnlargedPreviewDoc(&m_mfer);
    ASSERT_TRUE(magnifier.Create(CDlgEnlargedPreview::IDD, nullptr));
    magnifier.SetWindowPos(nullptr, 1500, 800, 300, 120, SWP_NOZORDER | SWP_NOACTIVATE);
    magnifier.ShowWindow(SW_SHOWNOACTIVATE);
    m_mfer.SetEnlargedPreview(&magnifier);
    CViewEnlargedPreview* view = magnifier.GetEnlargedPreview();
    ASSERT_NE(nullptr, view);
    ASSERT_EQ(4.0f, view->GetScaleRatio());
    // The gain stands at the strip's top right, outside the window.
    Desktop::MoveMouse(m_strip->GetSafeHwnd(), 1000, 12);
    Desktop::PumpMessages();
    view->UpdateWindow();
    CRect client;
    view->GetClientRect(&client);
    int top = client.bottom;
    int bottom = -1;
    {
        CClientDC dc(view);
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                if (dc.GetPixel(x, y) == kText) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
    }
    m_mfer.SetEnlargedPreview(nullptr);
    magnifier.DestroyWindow();
    ASSERT_GE(bottom, top) << "no text in the magnified picture";
    LOGFONT lf{};
    m_base.GetDocFont(1)->GetLogFont(&lf);
    // Glyphs of the scaled font span well over twice the unscaled font's height.
    EXPECT_GT(bottom - top + 1, 2 * std::abs(static_cast<int>(lf.lfHeight)));
}

// In an automatic sense mode the magnified strip places its trace as auto
// gain places it in the magnified margin, not at the picture's middle.
TEST_F(ShortSerialStripTest, TheMagnifiedStripPlacesItsTraceByAutoGainInTheAutomaticSenseModes)
{
    m_mfer.SetCurDataIndex(0);
    ASSERT_NE(nullptr, m_mfer.GetCurrentDataItem());
    CDlgEnlargedPreview magnifier;
    magnifier.SetEnlargedPreviewDoc(&m_mfer);
    ASSERT_TRUE(magnifier.Create(CDlgEnlargedPreview::IDD, nullptr));
    magnifier.SetWindowPos(nullptr, 1500, 800, 300, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    magnifier.ShowWindow(SW_SHOWNOACTIVATE);
    m_mfer.SetEnlargedPreview(&magnifier);
    CViewEnlargedPreview* view = magnifier.GetEnlargedPreview();
    ASSERT_NE(nullptr, view);
    // The lowest row with trace ink on the strip's window and in the
    // magnified picture, by sense mode.
    auto lowestInk = [](CWnd* wnd, int left, int right) {
        CRect client;
        wnd->GetClientRect(&client);
        CClientDC dc(wnd);
        int lowest = -1;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = std::max(left, 0); x < std::min<int>(right, client.right); ++x)
                if (dc.GetPixel(x, y) == RGB(0, 0, 0)) lowest = y;
        return lowest;
    };
    auto show = [&](UINT mode, int& screen, int& magnified) {
        m_mfer.SetSenseMode(mode);
        ASSERT_EQ(mode, m_mfer.GetSenseMode());
        m_strip->OnUpdate(nullptr, 0, nullptr);
        m_strip->Invalidate(FALSE);
        m_strip->UpdateWindow();
        ASSERT_EQ(1, m_strip->GetRowCount());
        Desktop::MoveMouse(m_strip->GetSafeHwnd(), kMargin + 61, 60);
        Desktop::MoveMouse(m_strip->GetSafeHwnd(), kMargin + 60, 60);
        Desktop::PumpMessages();
        view->UpdateWindow();
        screen = lowestInk(m_strip, kMargin + 1, kMargin + 200);
        magnified = lowestInk(view, 0, 10000);
    };
    int fixedScreen = 0, fixedMagnified = 0, autoScreen = 0, autoMagnified = 0;
    show(1, fixedScreen, fixedMagnified);
    show(2, autoScreen, autoMagnified);
    m_mfer.SetEnlargedPreview(nullptr);
    magnifier.DestroyWindow();
    // Auto gain lowers the trace on the strip; the picture, four times as
    // large, lowers it four times as far.
    ASSERT_GT(autoScreen, fixedScreen + 5);
    EXPECT_NEAR(4 * (autoScreen - fixedScreen), autoMagnified - fixedMagnified, 6);
}

// A lead the record does not have (the thirteenth of a twelve-lead record)
// is named as the record's first lead.
TEST_F(SerialStripTest, TheStripNamesALeadPastTheRecordsLeadsAsItsFirstLead)
{
    auto* item = m_mfer.GetMFERDataManager()->GetItem(0);
    ASSERT_NE(nullptr, item);
    ASSERT_EQ(12, item->pMFERParser->GetLeadCount());
    item->stLeadName.strDispName[0] = L"I";
    item->stLeadName.strDispName[1] = L"II";
    const CString first = item->stLeadName.strDispName[0];
    auto names = [&](int lead) {
        m_strip->SetRhythm1LeadID(lead);
        CDC recording;
        EXPECT_TRUE(recording.Attach(platform::gdi::CreateRecordingDC(kWidth, kHeight)));
        m_strip->DrawWaveInfo(&recording, CRect(kMargin + 1, 0, kWidth, kHeight), FALSE, 0);
        std::vector<CString> texts;
        for (const auto& r : platform::gdi::GetRecording(recording.GetSafeHdc()))
            if (r.op == platform::gdi::DrawOp::Text) texts.push_back(CString(r.text.c_str()));
        return texts;
    };
    const std::vector<CString> past = names(12);
    ASSERT_FALSE(past.empty());
    EXPECT_STREQ(first.GetString(), past.front().GetString());
    const std::vector<CString> second = names(1);
    ASSERT_FALSE(second.empty());
    EXPECT_STREQ(L"II", second.front().GetString());
}

TEST_F(SerialStripTest, AClickOnTheMarginTellsThePaneOfTheMferPulse)
{
    Desktop::Click(m_strip->GetSafeHwnd(), 30, 60);
    Desktop::PumpMessages();
    const std::vector<std::pair<int, int>> expected{{7, 2}};
    EXPECT_EQ(expected, m_pane.pulses);
}

TEST_F(SerialStripTest, AStartPastTheRecordIsHeldInsideAndThePaneTold)
{
    m_pane.dragged.clear();
    m_strip->SetStartTime(149000);
    m_strip->SetScrollRhyWidth(0, TRUE);
    EXPECT_EQ(147600, m_strip->GetStartTime());
    const std::vector<std::pair<int, int>> expected{{147600, 1}};
    EXPECT_EQ(expected, m_pane.dragged);
}

TEST_F(SerialStripTest, PrintingKeepsThePageStart)
{
    m_strip->SetStartTime(6000);
    CDC paper;
    ASSERT_TRUE(paper.Attach(platform::gdi::CreateImageDC(540, 120)));
    paper.FillSolidRect(0, 0, 540, 120, kPaper);
    CECGDC printer(&paper, 2);
    EXPECT_TRUE(m_strip->Print(&printer, CRect(0, 0, 540, 120), 135, 30, 4.0, 0, TRUE));
    EXPECT_EQ(6000, m_strip->GetStartTime());
    int ink = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 45; x < 540; ++x) ink += paper.GetPixel(x, y) != kPaper;
    EXPECT_GT(ink, 100);
}

TEST_F(SerialStripTest, ScreenAndPaperDrawingsLeaveTheContextAsFound)
{
    CDC paper;
    ASSERT_TRUE(paper.Attach(platform::gdi::CreateImageDC(kWidth, kHeight)));
    CECGDC printer(&paper, 2);
    HDC hdc = paper.GetSafeHdc();
    EXPECT_LEAVES_DC_AS_FOUND(hdc, m_strip->OnDraw(&paper));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, m_strip->Print(&printer, CRect(0, 0, 540, 120), 135, 30, 4.0, 0, TRUE));
}
