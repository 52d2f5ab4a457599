// A framework window whose PreCreateWindow refuses is never made, and its
// object is told so through PostNcDestroy as after a destruction: an object
// that deletes itself there is freed rather than left behind.
#include <gtest/gtest.h>

#include "platform/ui/framework/Wnd.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

int g_alive = 0;
int g_finalCalls = 0;

// Deletes itself when its window is gone, as views and frames do.
class CSelfDeletingWnd : public CWnd {
public:
    explicit CSelfDeletingWnd(bool refuse) : m_refuse(refuse) { ++g_alive; }
    ~CSelfDeletingWnd() override { --g_alive; }

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        if (m_refuse) return FALSE;
        return CWnd::PreCreateWindow(cs);
    }
    void PostNcDestroy() override
    {
        ++g_finalCalls;
        delete this;
    }

private:
    bool m_refuse;
};

class WndRefusedCreationTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        g_alive = 0;
        g_finalCalls = 0;
    }
};

}  // namespace

TEST_F(WndRefusedCreationTest, AWindowWhosePreCreateWindowRefusesIsNotMadeAndItsObjectIsFreed)
{
    auto* refused = new CSelfDeletingWnd(true);
    ASSERT_EQ(1, g_alive);
    const size_t before = platform::ui::WindowManager::Instance().TopLevelWindows().size();
    EXPECT_FALSE(refused->CreateEx(0, nullptr, L"refused", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    EXPECT_EQ(1, g_finalCalls);
    EXPECT_EQ(0, g_alive) << "the object of a window never made was left behind";
    EXPECT_EQ(before, platform::ui::WindowManager::Instance().TopLevelWindows().size());
}

TEST_F(WndRefusedCreationTest, AChildRefusedTheSameWayIsFreedAndItsParentKeepsNoChild)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
    auto* refused = new CSelfDeletingWnd(true);
    EXPECT_FALSE(refused->Create(nullptr, L"child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &parent, 7));
    EXPECT_EQ(1, g_finalCalls);
    EXPECT_EQ(0, g_alive);
    EXPECT_EQ(nullptr, parent.GetDlgItem(7));
    EXPECT_EQ(nullptr, ::GetWindow(parent.m_hWnd, GW_CHILD));
    parent.DestroyWindow();
}

TEST_F(WndRefusedCreationTest, AWindowThatIsMadeIsFreedOnceWhenItIsDestroyed)
{
    auto* made = new CSelfDeletingWnd(false);
    ASSERT_TRUE(made->CreateEx(0, nullptr, L"made", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    EXPECT_EQ(0, g_finalCalls);
    EXPECT_EQ(1, g_alive);
    ::DestroyWindow(made->m_hWnd);
    EXPECT_EQ(1, g_finalCalls);
    EXPECT_EQ(0, g_alive);
}
