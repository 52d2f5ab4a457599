#include <gtest/gtest.h>

#include <string>

#include "dialogs/DlgCommentCtrl.h"
#include "dialogs/WndShowComment.h"
#include "platform/ui/windowing/Desktop.h"

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

TEST_F(CommentPanel, AnEmptyCommentNeverOpensThePopup)
{
    m_panel.SetComment(L"");
    Desktop::Click(m_panel.m_hWnd, 2, 2);
    Desktop::PumpMessages();
    EXPECT_FALSE(m_panel.GetPopup()->IsWindowVisible());
}
