#include <gtest/gtest.h>

#include "core/Globals.h"
#include "core/TavrionMessage.h"
#include "dialogs/DlgModal.h"
#include "platform/base/MessageBox.h"

// Modal dialog objects and message boxes share one open-box counter, which
// counts objects from construction to destruction and never goes below 0.
TEST(DlgModal, CountsDialogObjectsTogetherWithMessageBoxes)
{
    ASSERT_EQ(g_uDlgCount, 0u);
    {
        CDlgModal outer(119);
        EXPECT_EQ(g_uDlgCount, 1u);
        {
            CDlgModal inner(120, &outer);
            EXPECT_EQ(g_uDlgCount, 2u);
            unsigned seenWhileShown = 0;
            MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxRequest& box) {
                seenWhileShown = g_uDlgCount;
                EXPECT_EQ(box.caption, L"警告");
                return IDOK;
            });
            CTavrionMessage box(L"text", 0, nullptr, L"警告", MB_OK | MB_ICONWARNING);
            SetMessageBoxHandler(previous);
            EXPECT_EQ(seenWhileShown, 3u);
            EXPECT_EQ(box.m_nResult, IDOK);
            EXPECT_EQ(g_uDlgCount, 2u);
        }
        EXPECT_EQ(g_uDlgCount, 1u);
        // Someone else lowered the counter already: the destructor stops at 0.
        g_uDlgCount = 0;
    }
    EXPECT_EQ(g_uDlgCount, 0u);
}

TEST(DlgModal, ModalRunWithoutADriverCancels)
{
    CDlgModal dialog(119);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CDialog)));
}
