#include <gtest/gtest.h>

#include "dialogs/TextLengthGuard.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Desktop.h"

// Limits count the columns a text is drawn in: a CJK character takes two
// and is never split (the count itself is tested with the columns).
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
