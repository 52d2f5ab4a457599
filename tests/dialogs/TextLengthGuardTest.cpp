#include <gtest/gtest.h>

#include "dialogs/TextLengthGuard.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Desktop.h"

// Limits count code page 936 bytes: a CJK character takes two and is never split.
TEST(TextLengthGuard, CutsToTheLongestLeadingPartWithinTheByteLimit)
{
    EXPECT_EQ(CutToByteLimit(L"abc", 3), L"abc");
    EXPECT_EQ(CutToByteLimit(L"abcd", 3), L"abc");
    EXPECT_EQ(CutToByteLimit(L"a心電図", 4), L"a心");    // 1 + 2 fits, the next would make 5
    EXPECT_EQ(CutToByteLimit(L"心電図", 5), L"心電");
    EXPECT_EQ(CutToByteLimit(L"心", 1), L"");
}

TEST(TextLengthGuard, AnOverlongEditIsCutAndTheCaretGoesToItsEnd)
{
    platform::ui::Desktop::Reset();
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    CWnd edit;
    ASSERT_TRUE(edit.CreateEx(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 150, 20), &parent, 7));
    edit.SetWindowText(L"所見ABC");
    EXPECT_FALSE(GuardTextLength(edit, 7));
    EXPECT_TRUE(GuardTextLength(edit, 5));
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, L"所見A");
    DWORD start = 0, end = 0;
    edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 3u);
    parent.DestroyWindow();
}
