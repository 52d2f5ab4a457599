#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/DlgCommentCtrl.h"
#include "dialogs/DlgSerialCom.h"
#include "dialogs/WndShowComment.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/support/ModalScript.h"

namespace {

using platform::ui::Desktop;

CString Repeat(wchar_t c, int count)
{
    return CString(std::wstring(static_cast<size_t>(count), c).c_str());
}

class CommentPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::Reset();
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(40, 30, 440, 230), nullptr, 0));
        ASSERT_TRUE(m_panel.Create(CDlgCommentCtrl::IDD, &m_pane));
        m_panel.MoveWindow(10, 10, 200, 20);
        m_panel.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        m_panel.DestroyWindow();
        m_pane.DestroyWindow();
    }

    CWnd m_pane;
    CDlgCommentCtrl m_panel;
};

}  // namespace

TEST(ShortComment, SevenCjkCharactersGiveSix)
{
    const CString seven = L"心電図検査結果";
    EXPECT_EQ(CDlgCommentCtrl::GetShortComment(seven), seven.Left(6));
}

TEST(ShortComment, SixteenLettersGiveTwelve)
{
    EXPECT_EQ(CDlgCommentCtrl::GetShortComment(L"ABCDEFGHIJKLMNOP"), L"ABCDEFGHIJKL");
}

TEST(ShortComment, ALineBreakEndsItWithoutItsCarriageReturnOrTrailingBlanks)
{
    EXPECT_EQ(CDlgCommentCtrl::GetShortComment(L"ABC\r\nDEFGHIJK"), L"ABC");
    EXPECT_EQ(CDlgCommentCtrl::GetShortComment(L"AB \nC"), L"AB");
    EXPECT_EQ(CDlgCommentCtrl::GetShortComment(L"ABCDEFG\nH"), L"ABCDEFG");
    EXPECT_EQ(CDlgCommentCtrl::GetShortComment(L""), L"");
}

TEST(CommentLines, ALineOfExactlyTwentyNineColumnsSwallowsTheBreakAfterIt)
{
    EXPECT_EQ(CDlgCommentCtrl::CountCommentLines(Repeat(L'x', 29) + L"\r\n" + Repeat(L'y', 29)), 2);
    EXPECT_EQ(CDlgCommentCtrl::CountCommentLines(Repeat(L'x', 30)), 2);
    EXPECT_EQ(CDlgCommentCtrl::CountCommentLines(Repeat(L'漢', 15)), 2);   // 28 columns, then one more
}

TEST(CommentLines, ACharacterTheRecordCodePageLacksTakesTwoColumnsInTheLabelAndThePopup)
{
    // 这 is drawn as wide as 漢 though Shift-JIS cannot hold it.
    for (const wchar_t wide : {L'漢', L'这'}) {
        SCOPED_TRACE(static_cast<int>(wide));
        EXPECT_EQ(CDlgCommentCtrl::GetShortComment(Repeat(wide, 7)), Repeat(wide, 6));
        EXPECT_EQ(CDlgCommentCtrl::CountCommentLines(Repeat(wide, 15)), 2);
        EXPECT_EQ(CDlgCommentCtrl::CountCommentLines(Repeat(wide, 29)), 3);
    }
}

TEST(CommentLines, AWordThatWouldBeSplitMovesToTheNextLine)
{
    // 20 + 1 + 8 columns fill the first line inside the word; moved whole, the
    // word pushes the last run onto a third line.
    const CString text = Repeat(L'x', 20) + L" " + Repeat(L'w', 20) + L" " + Repeat(L'z', 9);
    EXPECT_EQ(CDlgCommentCtrl::CountCommentLines(text), 3);
    // A run as long as a line is split where the line ends.
    EXPECT_EQ(CDlgCommentCtrl::CountCommentLines(Repeat(L'a', 58)), 2);
}

TEST_F(CommentPanel, TheLabelShowsTheShortCommentAndThePopupSitsRightAlignedInside)
{
    m_panel.SetRightAlign(TRUE);
    m_panel.SetComment(L"ABCDEFGHIJKLMNOP");
    CString label;
    m_panel.GetDlgItemText(3505, label);
    EXPECT_EQ(label, L"ABCDEFGHIJKL");

    CWndShowComment* popup = m_panel.GetPopup();
    ASSERT_NE(popup, nullptr);
    CRect client, placed;
    m_panel.GetClientRect(&client);
    m_panel.ClientToScreen(&client);
    popup->GetWindowRect(&placed);
    EXPECT_EQ(placed.right, client.right - 5);
    EXPECT_EQ(placed.top, client.top);
    EXPECT_GT(placed.Height(), 0);
    EXPECT_FALSE(popup->IsWindowVisible());
}

TEST_F(CommentPanel, AClickOpensThePopupAndLosingTheFocusHidesIt)
{
    m_panel.SetComment(L"所見\r\n異常なし");
    CWndShowComment* popup = m_panel.GetPopup();
    ASSERT_NE(popup, nullptr);
    Desktop::Click(m_panel.m_hWnd, 2, 2);
    Desktop::PumpMessages();
    EXPECT_TRUE(popup->IsWindowVisible());
    CRect placed, client;
    popup->GetWindowRect(&placed);
    m_panel.GetClientRect(&client);
    m_panel.ClientToScreen(&client);
    EXPECT_EQ(placed.left, client.left);
    m_pane.SetFocus();
    Desktop::PumpMessages();
    EXPECT_FALSE(popup->IsWindowVisible());
}

TEST_F(CommentPanel, ThePopupIsSizedByItsLinesInThePanelsFontAndPaintsAFramedWhiteBoxWithTheText)
{
    // Two lines of the text, one more of room: three font heights down.
    m_panel.SetComment(Repeat(L'x', 29) + L"\r\n" + L"ABC");
    CWndShowComment* popup = m_panel.GetPopup();
    ASSERT_NE(popup, nullptr);
    TEXTMETRIC metrics{};
    {
        HDC dc = ::GetDC(m_panel.m_hWnd);
        ::GetTextMetrics(dc, &metrics);
        ::ReleaseDC(m_panel.m_hWnd, dc);
    }
    CRect placed;
    popup->GetWindowRect(&placed);
    EXPECT_EQ(placed.Width(), 29 * metrics.tmAveCharWidth + 4);
    EXPECT_EQ(placed.Height(), 3 * metrics.tmHeight + 4);

    Desktop::Click(m_panel.m_hWnd, 2, 2);
    Desktop::PumpMessages();
    ASSERT_TRUE(popup->IsWindowVisible());
    popup->Invalidate(TRUE);
    popup->UpdateWindow();
    CRect client;
    popup->GetClientRect(&client);
    HDC dc = ::GetDC(popup->m_hWnd);
    EXPECT_EQ(::GetPixel(dc, 0, client.Height() / 2), RGB(0, 0, 0));
    EXPECT_EQ(::GetPixel(dc, client.right - 1, client.Height() / 2), RGB(0, 0, 0));
    EXPECT_EQ(::GetPixel(dc, client.right - 3, client.bottom - 3), RGB(255, 255, 255));
    // The text stands inside the frame, two pixels in, on the first two lines.
    int ink = 0;
    for (int y = 2; y < 2 + 2 * metrics.tmHeight; ++y)
        for (int x = 2; x < client.right - 2; ++x)
            if (::GetPixel(dc, x, y) != RGB(255, 255, 255)) ++ink;
    int below = 0;
    for (int y = 2 + 2 * metrics.tmHeight; y < client.bottom - 2; ++y)
        for (int x = 2; x < client.right - 2; ++x)
            if (::GetPixel(dc, x, y) != RGB(255, 255, 255)) ++below;
    ::ReleaseDC(popup->m_hWnd, dc);
    EXPECT_GT(ink, 30);
    EXPECT_EQ(below, 0);
}

TEST_F(CommentPanel, AnEmptyCommentNeverOpensThePopup)
{
    m_panel.SetComment(L"");
    Desktop::Click(m_panel.m_hWnd, 2, 2);
    Desktop::PumpMessages();
    EXPECT_FALSE(m_panel.GetPopup()->IsWindowVisible());
}

namespace {

// A pane that logs the user messages its panels send.
class CPaneLog : public CWnd {
public:
    struct Sent {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool operator==(const Sent& other) const
        {
            return message == other.message && wParam == other.wParam && lParam == other.lParam;
        }
    };
    std::vector<Sent> sent;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message > WM_USER && message <= WM_USER + 0x20) sent.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST(SerialChooser, ChoosingAnEntryTellsThePaneTheColumnAndEntryThenAsksForARefresh)
{
    Desktop::Reset();
    CPaneLog pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0));
    CDlgSerialCom chooser;
    ASSERT_TRUE(chooser.Create(CDlgSerialCom::IDD, &pane));
    chooser.ShowWindow(SW_SHOW);
    chooser.SetIndex(2);
    for (LPCWSTR entry : {L"2024/04/01", L"2024/05/01", L"2024/06/01"})
        chooser.SendDlgItemMessage(3500, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    // The list opens under a click; Down twice reaches the second entry and F4 closes it.
    Desktop::Click(chooser.GetDlgItem(3500)->m_hWnd, 10, 5);
    Desktop::KeyPress(VK_DOWN);
    Desktop::KeyPress(VK_DOWN);
    Desktop::KeyPress(VK_F4);
    Desktop::PumpMessages();
    EXPECT_EQ(chooser.SendDlgItemMessage(3500, CB_GETCURSEL), 1);
    const std::vector<CPaneLog::Sent> chosen = {{WM_USER + 0xE, 2, 1}, {WM_USER + 0x20, 0, 0}};
    EXPECT_TRUE(std::search(pane.sent.begin(), pane.sent.end(), chosen.begin(), chosen.end()) != pane.sent.end());
    const CPaneLog::Sent closed{WM_USER + 0xD, 2, 0};
    EXPECT_TRUE(std::find(pane.sent.begin(), pane.sent.end(), closed) != pane.sent.end());
    chooser.DestroyWindow();
    pane.DestroyWindow();
}
