// Owner-drawn controls paint on a device context that belongs to someone
// else: every way through their DrawItem must hand it back as it came.
#include <gtest/gtest.h>

#include "controls/ButtonMenu.h"
#include "controls/ButtonST.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Image.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/ResourceScript.h"
#include "platform/ui/windowing/Resources.h"
#include "tests/controls/VersionScope.h"
#include "tests/support/DCStateCheck.h"

using platform::ui::Desktop;

namespace {

const UINT IDR_STATE_MENU = 9350, IDR_STATE_DROP = 9351, IDI_STATE_ICON = 9352;

const char kScript[] = R"rc(
9350 MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&Open\tCtrl+O",   9360
        MENUITEM SEPARATOR
        MENUITEM "E&xit",           9361, GRAYED
        MENUITEM "&Print\tCtrl+P",  9362, CHECKED
        MENUITEM "&Limb",           9363
    END
END

9351 MENU
BEGIN
    POPUP "Drop"
    BEGIN
        MENUITEM "&First",  9370
    END
END
)rc";

HINSTANCE TestModule()
{
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x7B000301u));
}

platform::ui::ResourceImage SolidImage()
{
    platform::ui::ResourceImage image;
    image.width = image.height = 16;
    image.hotX = image.hotY = 8;
    image.argb.assign(16 * 16, 0xFFFF00FFu);
    return image;
}

// A 200 x 100 image context and the test module's resources; no GDI object outlives a test.
class DrawItemStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::Reset();
        platform::ui::ResourceTable table;
        ASSERT_TRUE(platform::ui::CompileResourceScript(kScript, table).ok);
        table.icons[IDI_STATE_ICON] = SolidImage();
        platform::ui::RegisterResources(TestModule(), table);
        CDC::DeleteTempMap();
        m_nGdiBefore = platform::gdi::LiveObjectCount();
        m_hDC = platform::gdi::CreateImageDC(200, 100);
        ASSERT_NE(nullptr, m_hDC);
    }
    void TearDown() override
    {
        ::DeleteDC(m_hDC);
        CDC::DeleteTempMap();
        // Icons loaded from the module stay until it goes.
        platform::ui::UnregisterResources(TestModule());
        EXPECT_EQ(m_nGdiBefore, platform::gdi::LiveObjectCount());
    }
    void DrawMenuItem(CButtonMenu* pMenu, UINT nPosition, UINT nState)
    {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_ID;
        ::GetMenuItemInfoW(pMenu->m_hMenu, nPosition, TRUE, &info);
        DRAWITEMSTRUCT dis = {ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, nState, reinterpret_cast<HWND>(pMenu->m_hMenu),
                              m_hDC, RECT{0, 0, 200, 22}, info.dwItemData};
        pMenu->DrawItem(&dis);
    }
    // Every item of the test menu in every state, separator, grey and checked ones included.
    void ExpectEveryItemLeavesTheContext()
    {
        const UINT states[] = {0, ODS_SELECTED, ODS_CHECKED, ODS_SELECTED | ODS_CHECKED, ODS_GRAYED,
                               ODS_GRAYED | ODS_SELECTED};
        CButtonMenu menu;
        ASSERT_TRUE(menu.LoadMenu(IDR_STATE_MENU));
        CButtonMenu* pFile = DYNAMIC_DOWNCAST(CButtonMenu, menu.GetSubMenu(0));
        ASSERT_NE(nullptr, pFile);
        for (UINT nPosition = 0; nPosition < 5; ++nPosition) {
            for (UINT nState : states) {
                EXPECT_LEAVES_DC_AS_FOUND(m_hDC, DrawMenuItem(pFile, nPosition, nState))
                    << "item " << nPosition << ", state " << nState;
            }
        }
        menu.DestroyMenu();
    }
    void DrawButton(CButtonST& button, UINT nState)
    {
        DRAWITEMSTRUCT dis = {ODT_BUTTON, 100, 0, ODA_DRAWENTIRE, nState, button.m_hWnd, m_hDC, RECT{0, 0, 100, 40}, 0};
        button.DrawItem(&dis);
    }

    HDC m_hDC = nullptr;
    int m_nGdiBefore = 0;
};

}  // namespace

TEST_F(DrawItemStateTest, ClassicMenuItemsLeaveTheContextAsTheyFoundIt)
{
    CVersionScope classic(1);
    ExpectEveryItemLeavesTheContext();
}

TEST_F(DrawItemStateTest, XPMenuItemsLeaveTheContextAsTheyFoundIt)
{
    CVersionScope xp(7);
    ExpectEveryItemLeavesTheContext();
}

TEST_F(DrawItemStateTest, ButtonsLeaveTheContextAsTheyFoundItWithIconMenuMarkAndFocus)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    {
        CButtonST button;
        ASSERT_TRUE(
            button.Create(L"Caption", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 100, 40), &parent, 100));
        const UINT states[] = {0, ODS_SELECTED, ODS_FOCUS, ODS_DISABLED, ODS_SELECTED | ODS_FOCUS};
        for (BOOL bFlat : {FALSE, TRUE}) {
            button.SetFlat(bFlat, FALSE);
            for (UINT nState : states) {
                EXPECT_LEAVES_DC_AS_FOUND(m_hDC, DrawButton(button, nState))
                    << "flat " << bFlat << ", state " << nState;
            }
        }
        ASSERT_TRUE(button.SetMenu(IDR_STATE_DROP, parent.m_hWnd, 0, FALSE));
        EXPECT_EQ(0u, button.SetIcon(IDI_STATE_ICON, 0));
        for (UINT nState : states) EXPECT_LEAVES_DC_AS_FOUND(m_hDC, DrawButton(button, nState)) << "state " << nState;
        button.SetIcon(nullptr, nullptr);
        button.SetMenu(0, nullptr);
        button.DestroyWindow();
    }
    parent.DestroyWindow();
    Desktop::PumpMessages();
    CWnd::DeleteTempMap();
}
