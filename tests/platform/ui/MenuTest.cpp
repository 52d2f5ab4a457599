// Menus: items and their states by command and by position (into pop-ups),
// inserting, modifying, deleting and removing, menu resources, stale and
// reused handles, TrackPopupMenu with the menu driver and the messages
// around it, owner-drawn items through the framework, and CMenu's handle map.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/framework/Menu.h"
#include "platform/ui/framework/Modules.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MenuFunctions.h"
#include "platform/ui/windowing/Message.h"
#include "tests/platform/ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

using platform::ui::Desktop;
using uitest::ExpectedMsg;
using uitest::kLParam;
using uitest::kWParam;

namespace {

const UINT ID_OPEN = 101;
const UINT ID_SAVE = 102;
const UINT ID_PRINT = 103;
const UINT ID_EXIT = 104;
const UINT ID_DEEP = 105;

// Installs a menu driver for the life of the object.
class MenuDriverScope {
public:
    explicit MenuDriverScope(platform::ui::MenuDriver driver)
        : m_previous(platform::ui::SetMenuDriver(std::move(driver))) {}
    ~MenuDriverScope() { platform::ui::SetMenuDriver(std::move(m_previous)); }
    MenuDriverScope(const MenuDriverScope&) = delete;
    MenuDriverScope& operator=(const MenuDriverScope&) = delete;

private:
    platform::ui::MenuDriver m_previous;
};

class MenuTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        m_menusBefore = platform::ui::LiveMenuCount();
        m_owner = uitest::CreateLogged(m_log, WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
        m_log.Name(m_owner, "owner");
        for (UINT noise :
             {WM_NCHITTEST, WM_SETCURSOR, WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_GETDLGCODE, WM_CTLCOLORSTATIC,
              WM_ACTIVATE, WM_NCACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED})
            m_log.Ignore(noise);
    }
    void TearDown() override
    {
        DestroyWindow(m_owner);
        CMenu::DeleteTempMap();
        EXPECT_EQ(m_menusBefore, platform::ui::LiveMenuCount()) << "menus left behind";
        WindowLeakCheck::TearDown();
    }

    // File: Open, Save (checked), separator, Print (greyed), More > Deep; then Exit.
    HMENU MakeMenu()
    {
        HMENU more = CreatePopupMenu();
        AppendMenuW(more, MF_STRING, ID_DEEP, L"Deep");
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, ID_OPEN, L"&Open\tCtrl+O");
        AppendMenuW(popup, MF_STRING | MF_CHECKED, ID_SAVE, L"&Save");
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(popup, MF_STRING | MF_GRAYED, ID_PRINT, L"&Print");
        AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(more), L"&More");
        AppendMenuW(popup, MF_STRING, ID_EXIT, L"E&xit");
        return popup;
    }

    uitest::MessageLog m_log;
    HWND m_owner = nullptr;
    int m_menusBefore = 0;
};

}  // namespace

TEST_F(MenuTest, ItemsReportTheirStateTextAndIds)
{
    HMENU menu = MakeMenu();
    EXPECT_EQ(6, GetMenuItemCount(menu));
    EXPECT_EQ(ID_OPEN, GetMenuItemID(menu, 0));
    EXPECT_EQ(0u, GetMenuItemID(menu, 2));                      // a separator
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuItemID(menu, 4));   // a pop-up
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuItemID(menu, 6));   // no such item
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), GetMenuState(menu, ID_SAVE, MF_BYCOMMAND));
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), GetMenuState(menu, 2, MF_BYPOSITION));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), GetMenuState(menu, ID_PRINT, MF_BYCOMMAND));
    EXPECT_EQ(static_cast<UINT>(MF_POPUP | (1 << 8)), GetMenuState(menu, 4, MF_BYPOSITION))
        << "a pop-up counts its items";
    EXPECT_EQ(0u, GetMenuState(menu, ID_DEEP, MF_BYCOMMAND)) << "by command the search goes into pop-ups";
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(menu, 999, MF_BYCOMMAND));
    wchar_t text[32] = {0};
    EXPECT_EQ(12, GetMenuStringW(menu, ID_OPEN, text, 32, MF_BYCOMMAND));
    EXPECT_EQ(L"&Open\tCtrl+O", std::wstring(text));
    EXPECT_EQ(12, GetMenuStringW(menu, ID_OPEN, nullptr, 0, MF_BYCOMMAND));
    EXPECT_EQ(3, GetMenuStringW(menu, 0, text, 4, MF_BYPOSITION));
    EXPECT_EQ(L"&Op", std::wstring(text));
    EXPECT_EQ(0, GetMenuStringW(menu, 999, text, 32, MF_BYCOMMAND));
    EXPECT_EQ(L"", std::wstring(text));
    DestroyMenu(menu);
}

TEST_F(MenuTest, CheckAndEnableReturnThePreviousState)
{
    HMENU menu = MakeMenu();
    EXPECT_EQ(static_cast<DWORD>(MF_UNCHECKED), CheckMenuItem(menu, ID_OPEN, MF_BYCOMMAND | MF_CHECKED));
    EXPECT_EQ(static_cast<DWORD>(MF_CHECKED), CheckMenuItem(menu, 0, MF_BYPOSITION | MF_UNCHECKED));
    EXPECT_EQ(static_cast<DWORD>(MF_UNCHECKED), CheckMenuItem(menu, ID_DEEP, MF_CHECKED));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), GetMenuState(menu, ID_DEEP, MF_BYCOMMAND));
    EXPECT_EQ(static_cast<DWORD>(-1), CheckMenuItem(menu, 999, MF_CHECKED));
    EXPECT_EQ(static_cast<BOOL>(MF_GRAYED), EnableMenuItem(menu, ID_PRINT, MF_ENABLED));
    EXPECT_EQ(static_cast<BOOL>(MF_ENABLED), EnableMenuItem(menu, ID_PRINT, MF_DISABLED));
    EXPECT_EQ(static_cast<UINT>(MF_DISABLED), GetMenuState(menu, ID_PRINT, MF_BYCOMMAND));
    EXPECT_EQ(-1, EnableMenuItem(menu, 999, MF_GRAYED));
    EXPECT_TRUE(CheckMenuRadioItem(menu, ID_OPEN, ID_SAVE, ID_OPEN, MF_BYCOMMAND));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED | MFT_RADIOCHECK), GetMenuState(menu, ID_OPEN, MF_BYCOMMAND));
    EXPECT_EQ(0u, GetMenuState(menu, ID_SAVE, MF_BYCOMMAND));
    DestroyMenu(menu);
}

TEST_F(MenuTest, InsertModifyDeleteAndRemoveChangeTheItemsInPlace)
{
    HMENU menu = MakeMenu();
    EXPECT_TRUE(InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, 201, L"First"));
    EXPECT_TRUE(InsertMenuW(menu, ID_EXIT, MF_BYCOMMAND | MF_STRING, 202, L"Before exit"));
    EXPECT_TRUE(InsertMenuW(menu, 99, MF_BYPOSITION | MF_STRING, 203, L"Last"));
    EXPECT_EQ(201u, GetMenuItemID(menu, 0));
    EXPECT_EQ(202u, GetMenuItemID(menu, 6));
    EXPECT_EQ(203u, GetMenuItemID(menu, 8));
    // Replacing the pop-up item destroys its pop-up.
    HMENU more = GetSubMenu(menu, 5);
    ASSERT_TRUE(IsMenu(more));
    EXPECT_TRUE(ModifyMenuW(menu, 5, MF_BYPOSITION | MF_STRING | MF_GRAYED, 204, L"Plain"));
    EXPECT_FALSE(IsMenu(more));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), GetMenuState(menu, 204, MF_BYCOMMAND));
    // RemoveMenu leaves a pop-up to its caller, DeleteMenu destroys it.
    HMENU kept = CreatePopupMenu();
    HMENU dropped = CreatePopupMenu();
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(kept), L"Kept");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(dropped), L"Dropped");
    const int count = GetMenuItemCount(menu);
    EXPECT_TRUE(RemoveMenu(menu, count - 2, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(kept));
    EXPECT_TRUE(DeleteMenu(menu, count - 2, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(dropped));
    EXPECT_FALSE(DeleteMenu(menu, 999, MF_BYCOMMAND));
    EXPECT_FALSE(AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(dropped), L"stale pop-up"));
    DestroyMenu(kept);
    DestroyMenu(menu);
}

TEST_F(MenuTest, StaleHandlesFailEverywhereAndReusedSlotsGetNewHandles)
{
    HMENU menu = MakeMenu();
    HMENU more = GetSubMenu(menu, 4);
    // Menu handles fit in 32 bits above every command id: they travel in UINT item ids.
    const UINT_PTR value = reinterpret_cast<UINT_PTR>(menu);
    EXPECT_GE(value, 0x10000u);
    EXPECT_LE(value, 0x7FFFFFFFu);
    EXPECT_TRUE(IsMenu(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(static_cast<UINT>(value)))));
    EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_OPEN))));
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(more)) << "a menu's pop-ups go with it";
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_EQ(-1, GetMenuItemCount(menu));
    EXPECT_FALSE(AppendMenuW(menu, MF_STRING, 1, L"x"));
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(menu, 0, MF_BYPOSITION));
    EXPECT_EQ(nullptr, GetSubMenu(menu, 4));
    EXPECT_FALSE(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, m_owner, nullptr));
    HMENU reused = CreatePopupMenu();
    EXPECT_NE(menu, reused);
    EXPECT_NE(more, reused);
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_EQ(0, GetMenuItemCount(reused));
    DestroyMenu(reused);
}

TEST_F(MenuTest, MenuResourceBuildsItsPopupsAndStates)
{
    HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCE(uitest::IDR_TEST_MENU));
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(2, GetMenuItemCount(menu));
    HMENU file = GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(3, GetMenuItemCount(file));
    EXPECT_EQ(32771u, GetMenuItemID(file, 0));
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_TRUE(GetMenuState(menu, 32772, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, 32773, MF_BYCOMMAND) & MF_CHECKED);
    wchar_t text[16] = {0};
    GetMenuStringW(menu, 0, text, 16, MF_BYPOSITION);
    EXPECT_EQ(L"&File", std::wstring(text));
    DestroyMenu(menu);
    EXPECT_EQ(nullptr, LoadMenuW(nullptr, MAKEINTRESOURCE(4321)));
}

// ---- tracking -------------------------------------------------------------------------------

// TrackPopupMenu choosing Open, without TPM_RETURNCMD.
static const ExpectedMsg kTrackAndChoose[] = {
    {WM_ENTERMENULOOP, kWParam, TRUE},
    {WM_INITMENU},
    {WM_INITMENUPOPUP},
    {WM_MENUSELECT, kWParam, MAKEWPARAM(ID_OPEN, 0)},
    {WM_MENUSELECT, kWParam | kLParam, MAKEWPARAM(0, 0xFFFF), 0},
    {WM_UNINITMENUPOPUP},
    {WM_EXITMENULOOP, kWParam, TRUE},
};

TEST_F(MenuTest, TrackPopupMenuAsksTheDriverAndPostsTheCommand)
{
    HMENU menu = MakeMenu();
    HMENU shown = nullptr;
    HWND window = nullptr;
    MenuDriverScope driver([&](HMENU tracked) {
        shown = tracked;
        window = platform::ui::TrackingMenuWindow();
        return ID_OPEN;
    });
    m_log.Clear();
    EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN, 120, 130, 0, m_owner, nullptr));
    EXPECT_SEQUENCE(m_log, kTrackAndChoose);
    EXPECT_EQ(menu, shown);
    EXPECT_NE(nullptr, window);
    EXPECT_FALSE(IsWindow(window)) << "the pop-up window goes when the menu closes";
    m_log.Clear();
    Desktop::PumpMessages();
    EXPECT_EQ(1, m_log.Count(WM_COMMAND));
    EXPECT_EQ(MAKEWPARAM(ID_OPEN, 0), m_log.Entries().front().wParam);
    DestroyMenu(menu);
}

TEST_F(MenuTest, ReturnCmdGivesTheCommandAndNoNotifyKeepsQuiet)
{
    HMENU menu = MakeMenu();
    MenuDriverScope driver([](HMENU) { return ID_EXIT; });
    m_log.Clear();
    EXPECT_EQ(static_cast<BOOL>(ID_EXIT),
              TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, 0, 0, 0, m_owner, nullptr));
    Desktop::PumpMessages();
    EXPECT_EQ(0, m_log.Count(WM_COMMAND));
    EXPECT_EQ(0, m_log.Count(WM_INITMENUPOPUP));
    EXPECT_EQ(0, m_log.Count(WM_ENTERMENULOOP));
    DestroyMenu(menu);
}

// Driver's choice, what TrackPopupMenu returns with TPM_RETURNCMD.
struct ChoiceCase {
    UINT choice;
    UINT expected;
};
static const ChoiceCase kChoices[] = {
    {ID_OPEN, ID_OPEN},
    {ID_PRINT, 0},   // greyed
    {ID_DEEP, ID_DEEP},   // in a pop-up
    {999, 0},        // no such item
    {0, 0},          // dismissed
};

TEST_F(MenuTest, OnlyEnabledCommandsOfTheMenuCanBeChosen)
{
    HMENU menu = MakeMenu();
    for (const ChoiceCase& c : kChoices) {
        MenuDriverScope driver([&](HMENU) { return c.choice; });
        EXPECT_EQ(static_cast<BOOL>(c.expected), TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, m_owner, nullptr))
            << "choice " << c.choice;
    }
    // A pop-up disabled on the way blocks what is inside it.
    EnableMenuItem(menu, 4, MF_BYPOSITION | MF_GRAYED);
    MenuDriverScope driver([](HMENU) { return ID_DEEP; });
    EXPECT_EQ(0, TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, m_owner, nullptr));
    DestroyMenu(menu);
}

TEST_F(MenuTest, ChoosingInsideAPopupOpensItForTheOwnerFirst)
{
    HMENU menu = MakeMenu();
    HMENU more = GetSubMenu(menu, 4);
    MenuDriverScope driver([](HMENU) { return ID_DEEP; });
    m_log.Clear();
    TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, m_owner, nullptr);
    std::vector<WPARAM> opened;
    for (const uitest::LoggedMsg& entry : m_log.Entries())
        if (entry.message == WM_INITMENUPOPUP) opened.push_back(entry.wParam);
    EXPECT_EQ((std::vector<WPARAM>{reinterpret_cast<WPARAM>(menu), reinterpret_cast<WPARAM>(more)}), opened);
    DestroyMenu(menu);
}

TEST_F(MenuTest, WithoutADriverTheMenuIsDismissed)
{
    HMENU menu = MakeMenu();
    MenuDriverScope driver(nullptr);
    EXPECT_EQ(0, TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, m_owner, nullptr));
    EXPECT_TRUE(TrackPopupMenu(menu, 0, 0, 0, 0, m_owner, nullptr));
    Desktop::PumpMessages();
    EXPECT_EQ(0, m_log.Count(WM_COMMAND));
    EXPECT_FALSE(TrackPopupMenu(menu, 0, 0, 0, 0, nullptr, nullptr)) << "a menu needs an owner";
    DestroyMenu(menu);
}

TEST_F(MenuTest, AClickOnAnItemOfTheShownMenuChoosesIt)
{
    HMENU menu = MakeMenu();
    MenuDriverScope driver([&](HMENU tracked) {
        RECT item = {0, 0, 0, 0};
        EXPECT_TRUE(GetMenuItemRect(m_owner, tracked, 5, &item));
        Desktop::Click(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
        return 0u;
    });
    EXPECT_EQ(static_cast<BOOL>(ID_EXIT), TrackPopupMenu(menu, TPM_RETURNCMD, 50, 60, 0, m_owner, nullptr));
    DestroyMenu(menu);
}

TEST_F(MenuTest, ShownMenuKeepsToTheScreenAndPaintsGreyedItemsGrey)
{
    Desktop::SetScreenSize(640, 480);
    HMENU menu = MakeMenu();
    const testsupport::TempDir folder;
    const std::string path = folder.File("menu.png");
    RECT print = {0, 0, 0, 0};
    RECT window = {0, 0, 0, 0};
    MenuDriverScope driver([&](HMENU tracked) {
        HWND popup = platform::ui::TrackingMenuWindow();
        GetWindowRect(popup, &window);
        GetMenuItemRect(m_owner, tracked, 3, &print);
        EXPECT_TRUE(Desktop::SaveWindowImage(popup, path.c_str()));
        return 0u;
    });
    TrackPopupMenu(menu, 0, 630, 470, 0, m_owner, nullptr);
    EXPECT_LE(window.right, 640);
    EXPECT_LE(window.bottom, 480);
    EXPECT_GT(window.right - window.left, 40);
    uitest::SavedImage image(path);
    ASSERT_TRUE(image.Loaded());
    bool grey = false;
    for (int y = print.top - window.top; y < print.bottom - window.top; ++y)
        for (int x = print.left - window.left; x < print.right - window.left; ++x)
            grey = grey || image.At(x, y) == GetSysColor(COLOR_GRAYTEXT);
    EXPECT_TRUE(grey);
    DestroyMenu(menu);
}

// ---- owner-drawn items through the framework ---------------------------------------------------

namespace {

class CRecordingMenu : public CMenu {
public:
    void MeasureItem(LPMEASUREITEMSTRUCT measure) override
    {
        measured.push_back(measure->itemID);
        measure->itemWidth = 80;
        measure->itemHeight = 25;
    }
    void DrawItem(LPDRAWITEMSTRUCT draw) override
    {
        drawn.push_back(draw->itemID);
        drawnData.push_back(draw->itemData);
        itemHeight = draw->rcItem.bottom - draw->rcItem.top;
        EXPECT_EQ(static_cast<UINT>(ODT_MENU), draw->CtlType);
        EXPECT_EQ(m_hMenu, reinterpret_cast<HMENU>(draw->hwndItem));
    }
    std::vector<UINT> measured;
    std::vector<UINT> drawn;
    std::vector<ULONG_PTR> drawnData;
    int itemHeight = 0;
};

}  // namespace

TEST_F(MenuTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheirMenuObject)
{
    CWnd owner;
    ASSERT_TRUE(
        owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    CRecordingMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_OWNERDRAW, ID_OPEN, reinterpret_cast<LPCTSTR>(static_cast<UINT_PTR>(0x55)));
    menu.AppendMenu(MF_OWNERDRAW | MF_CHECKED, ID_SAVE, reinterpret_cast<LPCTSTR>(static_cast<UINT_PTR>(0x66)));
    MenuDriverScope driver([](HMENU) { return ID_SAVE; });
    EXPECT_EQ(static_cast<BOOL>(ID_SAVE), menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, &owner));
    EXPECT_EQ((std::vector<UINT>{ID_OPEN, ID_SAVE}), menu.measured);
    EXPECT_EQ((std::vector<UINT>{ID_OPEN, ID_SAVE}), menu.drawn);
    EXPECT_EQ((std::vector<ULONG_PTR>{0x55, 0x66}), menu.drawnData);
    EXPECT_EQ(25, menu.itemHeight);
    menu.DestroyMenu();
    owner.DestroyWindow();
}

// ---- CMenu -------------------------------------------------------------------------------------

TEST_F(MenuTest, CMenuOwnsWhatItMakesAndLendsTemporaryObjects)
{
    HMENU handle = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        handle = menu.GetSafeHmenu();
        EXPECT_EQ(&menu, CMenu::FromHandle(handle));
        EXPECT_EQ(&menu, CMenu::FromHandlePermanent(handle));
        EXPECT_FALSE(menu.CreateMenu()) << "one menu per object";
        HMENU popup = CreatePopupMenu();
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"Sub");
        CMenu* sub = menu.GetSubMenu(0);
        ASSERT_NE(nullptr, sub);
        EXPECT_EQ(popup, sub->GetSafeHmenu());
        EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(popup));
        CString text;
        EXPECT_EQ(3, menu.GetMenuString(0, text, MF_BYPOSITION));
        EXPECT_STREQ(L"Sub", text.GetString());
        CMenu::DeleteTempMap();
        EXPECT_TRUE(IsMenu(popup)) << "deleting a temporary object leaves its menu";
    }
    EXPECT_FALSE(IsMenu(handle)) << "the object destroyed its menu";

    CMenu attached;
    HMENU made = CreateMenu();
    EXPECT_TRUE(attached.Attach(made));
    EXPECT_EQ(made, attached.Detach());
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(made));
    EXPECT_FALSE(attached.Attach(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(0x12345))));
    EXPECT_TRUE(IsMenu(made));
    DestroyMenu(made);
    EXPECT_EQ(nullptr, CMenu::FromHandle(nullptr));
}

TEST_F(MenuTest, MenuItemInfoReadsAndWritesTheItem)
{
    HMENU menu = MakeMenu();
    wchar_t text[16] = {0};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 16;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 4, TRUE, &info));
    EXPECT_EQ(L"&More", std::wstring(text));
    EXPECT_EQ(5u, info.cch);
    EXPECT_EQ(GetSubMenu(menu, 4), info.hSubMenu);
    EXPECT_EQ(nullptr, info.hbmpChecked);
    info.fMask = MIIM_STATE | MIIM_DATA;
    info.fState = MFS_CHECKED | MFS_DEFAULT;
    info.dwItemData = 77;
    ASSERT_TRUE(SetMenuItemInfoW(menu, ID_OPEN, FALSE, &info));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED | MF_DEFAULT), GetMenuState(menu, ID_OPEN, MF_BYCOMMAND));
    EXPECT_EQ(ID_OPEN, GetMenuDefaultItem(menu, FALSE, 0));
    MENUITEMINFOW data = {};
    data.cbSize = sizeof(data);
    data.fMask = MIIM_DATA;
    GetMenuItemInfoW(menu, ID_OPEN, FALSE, &data);
    EXPECT_EQ(77u, data.dwItemData);
    MENUITEMINFOW tooSmall = {};
    tooSmall.cbSize = 8;
    EXPECT_FALSE(GetMenuItemInfoW(menu, 0, TRUE, &tooSmall));
    DestroyMenu(menu);
}
