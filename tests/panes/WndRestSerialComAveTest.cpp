// The serial comparison of average beats on a patient's series written by the
// record maker: the column layouts at the full page, the choosers opened by a
// click on a caption and driven with keys, what the host hears of repeated
// choices, other patients and records not loaded, the overlapped beat taking
// the last column, a list that lacks a counted record, a column from outside
// the ten, and the information rows printed on a recording printer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgLimbChest.h"
#include "dialogs/DlgSerialCom.h"
#include "dialogs/DlgSerialText.h"
#include "panes/SerialFileList.h"
#include "platform/base/Kernel.h"
#include "panes/WndRestSerialComAve.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/ui/framework/ClientDC.h"
#include "tests/panes/SerialPaneFixture.h"
#include "tests/reports/ReportTestSupport.h"
#include "waveviews/ViewSerialComAve.h"

using panetest::Box;
using platform::ui::Desktop;

namespace {

// The pane with every message it receives logged, as a spy on its own protocol.
class CLoggedAve : public CWndRestSerialComAve {
public:
    std::vector<panetest::Sent> log;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER) log.push_back(panetest::Sent{message, wParam, lParam});
        return CWndRestSerialComAve::WindowProc(message, wParam, lParam);
    }
};

class SerialAvePaneTest : public serialtest::SerialPaneFixture {
protected:
    void TearDown() override
    {
        m_host.Close();
        serialtest::SerialPaneFixture::TearDown();
    }
    CLoggedAve* Show(int style, int width = 1020, int height = 664, CTavrionDoc* base = nullptr)
    {
        CLoggedAve* pane = m_host.Open(
            [this, base](CLoggedAve& p) {
                p.SetBaseECGDoc(base ? base : &m_base);
                p.SetRestViewDoc(&m_rest);
                p.SetMFERViewDoc(&m_mfer);
                p.SetDocType(0);
            },
            FALSE, width, height);
        pane->ShowRestPageStyle(style);
        pane->RestoreSerialFile();
        Desktop::PumpMessages();
        return pane;
    }
    int Rows(CViewSerialComAve* view)
    {
        int columns = 0, rows = 0;
        view->GetGridCount(columns, rows);
        return rows;
    }
    CWnd* CaptionText(CLoggedAve* pane, int k) { return pane->GetRecordCaption(k)->GetDlgItem(panes::kSerialCaptionStatic); }
    std::wstring Text(CWnd* wnd)
    {
        CString text;
        wnd->GetWindowText(text);
        return std::wstring(text.GetString());
    }
    std::wstring StripText(CDlgCtrl* strip) { return Text(strip->GetDlgItem(3478)); }
    void ClickCaption(CLoggedAve* pane, int k)
    {
        CRect rect;
        pane->GetRecordCaption(k)->GetWindowRect(&rect);
        Desktop::Click(rect.CenterPoint());
        Desktop::PumpMessages();
    }
    void Key(UINT vk)
    {
        Desktop::KeyPress(vk);
        Desktop::PumpMessages();
    }
    std::vector<panetest::Sent> Refusals() const
    {
        std::vector<panetest::Sent> sent;
        for (const panetest::Sent& s : m_notify.log)
            if (s.message == WM_SERIAL_CHOICE_REFUSED || s.message == WM_SERIAL_RECORD_TO_LOAD) sent.push_back(s);
        return sent;
    }

    CTavrionDoc m_otherBase;   // outlives the pane, which closes in TearDown
    panetest::PaneHost<CLoggedAve> m_host;
};

// ---- layout ----------------------------------------------------------------------------------

TEST_F(SerialAvePaneTest, TenColumnsFillThePageWithWholeBlocksOfRowsUnderTheStrips)
{
    m_rest.SetSerialOverlap(0);
    CLoggedAve* pane = Show(41);
    EXPECT_EQ(10, pane->GetFileCount());
    EXPECT_EQ(Box(16, 52, 989, 609), m_host.Rect(pane->GetAveView(0)));
    EXPECT_EQ(160, Rows(pane->GetAveView(0)));
    EXPECT_TRUE(m_host.Rect(pane->GetAveView(1)).IsRectEmpty());
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(Box(50 + 96 * k, 5, 94, 15), m_host.Rect(pane->GetRecordCaption(k))) << k;
        EXPECT_EQ(Box(50 + 95 * k, 23, 94, 15), m_host.Rect(pane->GetCaptionStripA(k))) << k;
    }
    EXPECT_EQ(Box(10, 5, 40, 40), m_host.Rect(pane->GetLimbChestStrip()));
    // The last chooser ends at the right edge of the last column.
    EXPECT_EQ(Box(760, 5, 250, 20), m_host.Rect(pane->GetChooser(9)));
    EXPECT_EQ(Box(50, 5, 250, 20), m_host.Rect(pane->GetChooser(0)));
}

TEST_F(SerialAvePaneTest, SplitAndFiveColumnLayoutsShowFiveRecordsAndEmptyTheOtherColumns)
{
    m_rest.SetSerialOverlap(0);
    CLoggedAve* pane = Show(42);
    EXPECT_EQ(5, pane->GetFileCount());
    EXPECT_EQ(Box(13, 61, 514, 591), m_host.Rect(pane->GetAveView(0)));
    EXPECT_EQ(Box(531, 61, 476, 591), m_host.Rect(pane->GetAveView(1)));
    EXPECT_EQ(155, Rows(pane->GetAveView(0)));
    EXPECT_TRUE(m_host.Rect(pane->GetLimbChestStrip()).IsRectEmpty());
    EXPECT_TRUE(m_host.Rect(pane->GetRecordCaption(5)).IsRectEmpty());

    pane->ShowRestPageStyle(43);
    Desktop::PumpMessages();
    EXPECT_EQ(Box(16, 63, 989, 587), m_host.Rect(pane->GetAveView(0)));
    EXPECT_EQ(80, Rows(pane->GetAveView(0)));
    EXPECT_EQ(Box(90 + 185 * 4, 5, 183, 15), m_host.Rect(pane->GetRecordCaption(4)));
    EXPECT_EQ(Box(10, 5, 80, 40), m_host.Rect(pane->GetLimbChestStrip()));
}

TEST_F(SerialAvePaneTest, GridSizedDisplayPutsColumnsAndViewOnTheDocumentsSquares)
{
    m_rest.SetSerialOverlap(0);
    m_rest.SetDisplaySizeMode(5);
    m_rest.SetPixelPerMM(6.0, 6.0);
    CLoggedAve* pane = Show(41, 1920, 1080);
    const int margin = static_cast<int>(10 * g_dXUnit);
    // 260 squares of 6 pixels from the margin; 165 whole rows of the room under the strips, centred.
    EXPECT_EQ(Box(margin, 85, 260 * 6 + 1, 165 * 6 + 1), m_host.Rect(pane->GetAveView(0)));
    EXPECT_EQ(165, Rows(pane->GetAveView(0)));
    const int start = margin + 60 + MulDiv(1920, 2, 1020);
    EXPECT_EQ(start + 150, m_host.Rect(pane->GetRecordCaption(1)).left);
    EXPECT_EQ(150, m_host.Rect(pane->GetCaptionStripB(1)).Width());
    EXPECT_EQ(margin, m_host.Rect(pane->GetLimbChestStrip()).left);
    EXPECT_EQ(60, m_host.Rect(pane->GetLimbChestStrip()).Width());
}

TEST_F(SerialAvePaneTest, OverlappedBeatTakesTheTenthColumnKeepsItsChoiceAndShowsTheLegend)
{
    m_rest.SetSerialOverlap(0);
    CLoggedAve* pane = Show(41);
    ASSERT_EQ(9, pane->GetAveView(0)->GetSerialIndex(9));
    EXPECT_FALSE(pane->GetOverlapLegend(1)->IsWindowVisible());

    m_rest.SetSerialOverlap(1);
    pane->OnUpdate(TRUE);
    Desktop::PumpMessages();
    EXPECT_EQ(9, pane->GetFileCount());
    EXPECT_TRUE(m_host.Rect(pane->GetRecordCaption(9)).IsRectEmpty());
    EXPECT_EQ(9, pane->GetAveView(0)->GetSerialIndex(9));
    EXPECT_EQ(Box(977, 5, 30, 30), m_host.Rect(pane->GetOverlapLegend(1)));
    EXPECT_TRUE(pane->GetOverlapLegend(1)->IsWindowVisible());
    EXPECT_FALSE(pane->GetOverlapLegend(0)->IsWindowVisible());
    // The chooser of the ninth column now ends where the ninth column does.
    EXPECT_EQ(Box(664, 5, 250, 20), m_host.Rect(pane->GetChooser(8)));
    // The legend's static shows the legend bitmap.
    CWnd* legend = pane->GetOverlapLegend(1)->GetDlgItem(3502);
    ASSERT_NE(nullptr, legend);
    EXPECT_NE(0, legend->SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0));
}

TEST_F(SerialAvePaneTest, RestoringFromTheCurrentRecordFillsTheColumnsWithItAndTheRecordsAfterIt)
{
    m_rest.SetSerialOverlap(0);
    m_base.SetCurDataIndex(m_listed[2]->nID);
    CLoggedAve* pane = Show(41);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(2 + k, pane->GetAveView(0)->GetSerialIndex(k)) << k;
    // Third record: the date without its century, its rate and its stage after the load.
    EXPECT_EQ(std::wstring(L"23/03/12 09:10"), Text(CaptionText(pane, 0)));
    _RESTDATAITEM* third = RestRecord(2);
    ASSERT_FALSE(third->stMeasure.strGlobal[0].IsEmpty());
    EXPECT_EQ(std::wstring((third->stMeasure.strGlobal[0] + L"bpm").GetString()), StripText(pane->GetCaptionStripA(0)));
    EXPECT_EQ(std::wstring((CString(L"負荷後 ") + third->strMasterStep).GetString()), StripText(pane->GetCaptionStripB(0)));
    EXPECT_EQ(std::wstring(L"安静時"), StripText(pane->GetCaptionStripB(4)));   // the seventh record, a rest one
}

TEST_F(SerialAvePaneTest, EveryStageLabelShowsWhollyInItsOwnColumn)
{
    m_rest.SetSerialOverlap(0);
    for (int style : {41, 43}) {
        SCOPED_TRACE(style);
        CLoggedAve* pane = Show(style, 1920, 1080);
        const int n = pane->GetFileCount();
        ASSERT_GE(n, 5);
        bool longLabel = false;
        for (int k = 0; k < n; ++k) {
            SCOPED_TRACE(k);
            CWnd* text = pane->GetCaptionStripB(k)->GetDlgItem(3478);
            CRect box;
            text->GetWindowRect(&box);
            if (k + 1 < n) {
                CRect next, common;
                pane->GetCaptionStripB(k + 1)->GetDlgItem(3478)->GetWindowRect(&next);
                EXPECT_FALSE(common.IntersectRect(&box, &next));
            }
            CString label;
            text->GetWindowText(label);
            CClientDC dc(text);
            CDCObjectSelector<CFont> font(dc, text->GetFont());
            EXPECT_LE(dc.GetTextExtent(label).cx, box.Width()) << testsupport::Utf8(label);
            longLabel = longLabel || label.Find(L"マスタ2階段試験") >= 0;
        }
        EXPECT_TRUE(longLabel);
        m_host.Close();
    }
}

// ---- the choosers ----------------------------------------------------------------------------

TEST_F(SerialAvePaneTest, ACaptionClickDropsTheListAndAKeyChoiceIsReportedThenChecked)
{
    m_rest.SetSerialOverlap(0);
    CLoggedAve* pane = Show(41);
    pane->log.clear();
    ClickCaption(pane, 9);
    CWnd* combo = panes::ChooserCombo(pane->GetChooser(9));
    EXPECT_TRUE(pane->GetChooser(9)->IsWindowVisible());
    EXPECT_FALSE(pane->GetRecordCaption(9)->IsWindowVisible());
    EXPECT_TRUE(combo->SendMessage(CB_GETDROPPEDSTATE, 0, 0));

    Key(VK_DOWN);   // from the tenth record to the other patient's
    Key(VK_F4);     // the list closes (Return does the same, below)
    // The chooser protocol as the pane heard it: opened, chosen, checked, closed.
    std::vector<panetest::Sent> protocol;
    for (const panetest::Sent& s : pane->log)
        if (s.message == WM_SERIAL_CHOOSER_SHOWN || s.message == WM_SERIAL_RECORD_CHOSEN ||
            s.message == WM_SERIAL_CHOICE_VALIDATE)
            protocol.push_back(s);
    ASSERT_EQ(4u, protocol.size());
    EXPECT_EQ(WM_SERIAL_CHOOSER_SHOWN, protocol[0].message);
    EXPECT_EQ(1, protocol[0].lParam);
    EXPECT_EQ(WM_SERIAL_RECORD_CHOSEN, protocol[1].message);
    EXPECT_EQ(9u, protocol[1].wParam);
    EXPECT_EQ(serialtest::kOtherPatientIndex, protocol[1].lParam);
    EXPECT_EQ(WM_SERIAL_CHOICE_VALIDATE, protocol[2].message);
    EXPECT_EQ(WM_SERIAL_CHOOSER_SHOWN, protocol[3].message);
    EXPECT_EQ(0, protocol[3].lParam);
    EXPECT_EQ(serialtest::kOtherPatientIndex, pane->GetAveView(0)->GetSerialIndex(9));
    EXPECT_FALSE(pane->GetChooser(9)->IsWindowVisible());
    EXPECT_TRUE(pane->GetRecordCaption(9)->IsWindowVisible());
    EXPECT_EQ(std::wstring(L"23/11/20 09:50"), Text(CaptionText(pane, 9)));
    // The patient check is off: nothing to report.
    EXPECT_TRUE(Refusals().empty());
}

TEST_F(SerialAvePaneTest, ReturnClosesTheChooserAndTheCaptionShowsTheChoiceAsAnyCloseDoes)
{
    m_rest.SetSerialOverlap(0);
    CLoggedAve* pane = Show(41);
    // Return after a step down to the other patient's record, Escape after the step back.
    for (UINT closing : {UINT(VK_RETURN), UINT(VK_ESCAPE)}) {
        pane->log.clear();
        Desktop::AdvanceClock(1000);   // a click of its own, not the second of a double click
        ClickCaption(pane, 9);
        ASSERT_TRUE(panes::ChooserCombo(pane->GetChooser(9))->SendMessage(CB_GETDROPPEDSTATE, 0, 0));
        Key(closing == VK_RETURN ? VK_DOWN : VK_UP);
        Key(closing);
        std::vector<panetest::Sent> closed;
        for (const panetest::Sent& s : pane->log)
            if (s.message == WM_SERIAL_CHOOSER_SHOWN && s.lParam == 0) closed.push_back(s);
        ASSERT_EQ(1u, closed.size()) << closing;
        EXPECT_EQ(9u, closed[0].wParam);
        EXPECT_FALSE(pane->GetChooser(9)->IsWindowVisible()) << closing;
        EXPECT_TRUE(pane->GetRecordCaption(9)->IsWindowVisible()) << closing;
        if (closing == VK_RETURN) {
            EXPECT_EQ(serialtest::kOtherPatientIndex, pane->GetAveView(0)->GetSerialIndex(9));
            EXPECT_EQ(std::wstring(L"23/11/20 09:50"), Text(CaptionText(pane, 9)));
        }
    }
    EXPECT_EQ(9, pane->GetAveView(0)->GetSerialIndex(9));
    EXPECT_EQ(std::wstring(L"23/10/19 09:45"), Text(CaptionText(pane, 9)));
}

TEST_F(SerialAvePaneTest, ARecordChosenInAnotherColumnIsRefusedAndTheChooserGoesBack)
{
    m_rest.SetSerialOverlap(0);
    CLoggedAve* pane = Show(41);
    ClickCaption(pane, 3);
    Key(VK_DOWN);   // the fifth record, which column 4 shows
    Key(VK_F4);
    const std::vector<panetest::Sent> sent = Refusals();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(WM_SERIAL_CHOICE_REFUSED, sent[0].message);
    EXPECT_EQ(1u, sent[0].wParam);
    EXPECT_EQ(3, panes::ChooserSelection(pane->GetChooser(3)));
    EXPECT_EQ(3, pane->GetAveView(0)->GetSerialIndex(3));
    EXPECT_EQ(std::wstring(L"23/04/13 09:15"), Text(CaptionText(pane, 3)));
}

TEST_F(SerialAvePaneTest, AnotherPatientsRecordIsReportedWhileTheCheckIsOnAndTheChoiceStays)
{
    m_rest.SetSerialOverlap(0);
    m_rest.SetCheckID(1);
    CLoggedAve* pane = Show(41);
    ClickCaption(pane, 9);
    Key(VK_DOWN);
    Key(VK_F4);
    const std::vector<panetest::Sent> sent = Refusals();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(WM_SERIAL_CHOICE_REFUSED, sent[0].message);
    EXPECT_EQ(2u, sent[0].wParam);
    EXPECT_EQ(serialtest::kOtherPatientIndex, pane->GetAveView(0)->GetSerialIndex(9));
}

TEST_F(SerialAvePaneTest, ARecordNotLoadedYetIsAskedOfTheHost)
{
    m_rest.SetSerialOverlap(0);
    m_listed[serialtest::kOtherPatientIndex]->bLoaded = 0;
    CLoggedAve* pane = Show(41);
    EXPECT_TRUE(Refusals().empty());
    pane->SendMessage(WM_SERIAL_RECORD_CHOSEN, 9, serialtest::kOtherPatientIndex);
    const std::vector<panetest::Sent> sent = Refusals();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(WM_SERIAL_RECORD_TO_LOAD, sent[0].message);
    EXPECT_EQ(static_cast<WPARAM>(m_listed[serialtest::kOtherPatientIndex]->nID), sent[0].wParam);
}

TEST_F(SerialAvePaneTest, AColumnBeyondTheTenIsIgnored)
{
    m_rest.SetSerialOverlap(0);
    CLoggedAve* pane = Show(41);
    std::vector<int> before;
    for (int k = 0; k < 10; ++k) before.push_back(pane->GetAveView(0)->GetSerialIndex(k));
    EXPECT_EQ(0, pane->SendMessage(WM_SERIAL_RECORD_CHOSEN, 10, 4));
    EXPECT_EQ(0, pane->SendMessage(WM_SERIAL_RECORD_CHOSEN, 0x7FFF, 4));
    EXPECT_EQ(0, pane->SendMessage(WM_SERIAL_CHOOSER_SHOWN, 10, 1));
    for (int k = 0; k < 10; ++k) EXPECT_EQ(before[k], pane->GetAveView(0)->GetSerialIndex(k)) << k;
    EXPECT_TRUE(m_notify.log.empty());
}

TEST_F(SerialAvePaneTest, ACountedRecordMissingFromItsDocumentLeavesEveryEntryOnItsOwnRecord)
{
    // A list whose first comparable record the rest document does not hold.
    CTavrionDoc& base = m_otherBase;
    base.m_bAutoDelete = FALSE;
    auto* missing = new _DATAITEM;
    missing->strFilePath = L"gone.ecg";
    base.GetDataManager().AppendItem(missing);
    for (int i = 0; i < 4; ++i) {
        auto* listed = new _DATAITEM;
        listed->uSystemCode = m_listed[i]->uSystemCode;
        listed->strXMLPath = m_listed[i]->strXMLPath;
        listed->strFilePath = m_listed[i]->strFilePath;
        listed->bLoaded = 1;
        base.GetDataManager().AppendItem(listed);
    }
    base.SetCurDataIndex(1);
    base.InitGlobalData();
    m_rest.SetSerialOverlap(0);
    CLoggedAve* pane = Show(41, 1020, 664, &base);
    const CArray<int, int>& map = pane->GetPositionMap();
    ASSERT_EQ(4, map.GetSize());
    EXPECT_EQ(4, panes::ChooserCombo(pane->GetChooser(0))->SendMessage(CB_GETCOUNT, 0, 0));
    for (int e = 0; e < 4; ++e) EXPECT_EQ(e + 1, map[e]);
    // The current record (the first found) stands in column 0 under its own entry.
    EXPECT_EQ(1, pane->GetAveView(0)->GetSerialIndex(0));
    EXPECT_EQ(0, panes::ChooserSelection(pane->GetChooser(0)));
    EXPECT_EQ(std::wstring(L"23/01/10 09:00"), Text(CaptionText(pane, 0)));
    // Every later column too: the third entry stands for the third record found.
    EXPECT_EQ(2, panes::ChooserSelection(pane->GetChooser(2)));
    EXPECT_EQ(3, pane->GetAveView(0)->GetSerialIndex(2));
    EXPECT_EQ(std::wstring(L"23/03/12 09:10"), Text(CaptionText(pane, 2)));
    EXPECT_EQ(-1, pane->GetAveView(0)->GetSerialIndex(4));
}

// ---- printing --------------------------------------------------------------------------------

TEST_F(SerialAvePaneTest, InformationRowsLeaveOutAnotherPatientAndCloseTheGapUnlessForced)
{
    m_rest.SetSerialOverlap(0);
    CLoggedAve* pane = Show(41);
    pane->SendMessage(WM_SERIAL_RECORD_CHOSEN, 3, serialtest::kOtherPatientIndex);
    ASSERT_EQ(serialtest::kOtherPatientIndex, pane->GetAveView(0)->GetSerialIndex(3));
    reporttest::RecordingPage page;
    const double scale = 600.0 / 25.4;
    const int u = static_cast<int>(12.5 * scale);
    const CRect rect(300, 1000, 6700, 1300);
    const int start = rect.left + static_cast<int>(10 * scale);
    const int h = MulDiv(rect.Height(), 1, 3);
    EXPECT_EQ(0, pane->PrintAveWaveInfo(&page.Device(), rect, scale, FALSE));
    auto texts = page.Texts();
    ASSERT_EQ(27u, texts.size());   // nine records, three rows
    EXPECT_EQ(std::wstring(L"2023/01/10"), texts[0].text);
    EXPECT_EQ(start, texts[0].rect.left);
    EXPECT_EQ(rect.top, texts[0].rect.top);
    // The fifth record prints where the other patient's would have.
    EXPECT_EQ(std::wstring(L"2023/05/14"), texts[3].text);
    EXPECT_EQ(start + 3 * 2 * u, texts[3].rect.left);
    const std::wstring rate = std::wstring(RestRecord(0)->stMeasure.strGlobal[0].GetString()) + L"bpm";
    EXPECT_EQ(L"09:00 " + rate, texts[9].text);
    EXPECT_EQ(rect.top + h, texts[9].rect.top);
    EXPECT_EQ(std::wstring(L"安静時"), texts[18].text);
    EXPECT_EQ(rect.top + 2 * h, texts[18].rect.top);

    page.Clear();
    pane->PrintAveWaveInfo(&page.Device(), rect, scale, TRUE);
    texts = page.Texts();
    ASSERT_EQ(30u, texts.size());
    EXPECT_EQ(std::wstring(L"2023/11/20"), texts[3].text);
    EXPECT_EQ(start + 3 * 2 * u, texts[3].rect.left);
}

TEST_F(SerialAvePaneTest, InformationRowsNameTheOverlappedBeatInTheTenthPlace)
{
    CLoggedAve* pane = Show(41);
    ASSERT_TRUE(pane->GetAveView(0)->IsShowOverlappedWave());
    reporttest::RecordingPage page;
    const double scale = 600.0 / 25.4;
    const int u = static_cast<int>(12.5 * scale);
    const CRect rect(300, 1000, 6700, 1300);
    pane->PrintAveWaveInfo(&page.Device(), rect, scale, FALSE);
    const auto texts = page.Texts();
    ASSERT_EQ(28u, texts.size());   // nine records and the label
    EXPECT_EQ(std::wstring(L"重ね合わせ波形"), texts.back().text);
    EXPECT_EQ(rect.left + static_cast<int>(10 * scale) + 18 * u, texts.back().rect.left);
}

}  // namespace
