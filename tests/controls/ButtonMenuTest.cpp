#include <gtest/gtest.h>

#include "controls/ButtonMenu.h"
#include "platform/base/Registry.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Image.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/ResourceScript.h"
#include "platform/ui/windowing/Resources.h"
#include "tests/controls/VersionScope.h"

namespace {

const UINT IDR_BUTTON_MENU = 9250, IDR_BROKEN_MENU = 9251;
const UINT ID_EXIT = 9261, ID_ONE = 9263;

const char kScript[] = R"rc(
9250 MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&Open\tCtrl+O",                  9260
        MENUITEM SEPARATOR
        MENUITEM "E&xit",                          9261, GRAYED
        MENUITEM "&Print all pages\tCtrl+Shift+P", 9262, CHECKED
        POPUP "&Recent"
        BEGIN
            MENUITEM "&One",                       9263
        END
    END
    POPUP "&View"
    BEGIN
        MENUITEM "&Wave",                          9264
    END
END
)rc";

HINSTANCE TestModule()
{
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x7B000101u));
}

MENUITEMINFOW ItemInfo(CMenu& menu, UINT nPosition)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_ID | MIIM_FTYPE;
    ::GetMenuItemInfoW(menu.m_hMenu, nPosition, TRUE, &info);
    return info;
}

BOOL IsOwnerDrawn(CMenu& menu, UINT nPosition)
{
    return (ItemInfo(menu, nPosition).fType & MFT_OWNERDRAW) != 0;
}

MEASUREITEMSTRUCT MeasureOf(CMenu& menu, UINT nPosition)
{
    const MENUITEMINFOW info = ItemInfo(menu, nPosition);
    return MEASUREITEMSTRUCT{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
}

class ButtonMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ui::ResourceTable table;
        ASSERT_TRUE(platform::ui::CompileResourceScript(kScript, table).ok);
        // A pop-up whose text runs past the end of the bytes.
        table.data[{4u, IDR_BROKEN_MENU}] = {0, 0, 0, 0, MF_POPUP, 0, 'A', 0};
        platform::ui::RegisterResources(TestModule(), table);
        m_nMenusBefore = platform::ui::LiveMenuCount();
        m_nGdiBefore = platform::gdi::LiveObjectCount();
        m_hDC = platform::gdi::CreateImageDC(200, 100);
    }
    void TearDown() override
    {
        ::DeleteDC(m_hDC);
        m_menu.DestroyMenu();
        EXPECT_EQ(m_nMenusBefore, platform::ui::LiveMenuCount());
        EXPECT_EQ(m_nGdiBefore, platform::gdi::LiveObjectCount());
        platform::ui::UnregisterResources(TestModule());
    }
    CButtonMenu* File() { return DYNAMIC_DOWNCAST(CButtonMenu, m_menu.GetSubMenu(0)); }
    void Draw(CButtonMenu* pMenu, UINT nPosition, RECT rc, UINT nState)
    {
        const MENUITEMINFOW info = ItemInfo(*pMenu, nPosition);
        DRAWITEMSTRUCT dis = {ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, nState, reinterpret_cast<HWND>(pMenu->m_hMenu),
                              m_hDC, rc, info.dwItemData};
        pMenu->DrawItem(&dis);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    int Count(const RECT& rc, COLORREF cr) const
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) n += At(x, y) == cr;
        return n;
    }

    CButtonMenu m_menu;
    int m_nMenusBefore = 0;
    int m_nGdiBefore = 0;
    HDC m_hDC = nullptr;   // a white 200 x 100 image
};

}  // namespace

TEST(ButtonMenuSystem, ClassicThemeIsTheThemeFileNameWithoutRegardToCase)
{
    const wchar_t kKey[] = L"Software\\Microsoft\\Plus!\\Themes\\Current";
    const auto probe = [&](const std::wstring& value) {
        HKEY key = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(key);
        return CButtonMenu::ProbeClassicTheme();
    };
    EXPECT_TRUE(probe(L"C:\\WINDOWS\\Resources\\Themes\\WINDOWS CLASSIC.THEME"));
    EXPECT_FALSE(probe(L"C:\\WINDOWS\\Resources\\Themes\\Luna.theme"));
    EXPECT_FALSE(probe(L"Windows Classic.theme.bak"));
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
    EXPECT_FALSE(CButtonMenu::ProbeClassicTheme());
}

TEST_F(ButtonMenuTest, LoadBuildsOwnerDrawnPopupsUnderAPlainBarAndDestroyForgetsThem)
{
    EXPECT_FALSE(m_menu.LoadMenu(9299));
    EXPECT_FALSE(m_menu.LoadMenu(IDR_BROKEN_MENU));
    ASSERT_TRUE(m_menu.LoadMenu(IDR_BUTTON_MENU));
    EXPECT_FALSE(m_menu.LoadMenu(9299));   // a missing resource leaves the menu as it was
    ASSERT_TRUE(m_menu.LoadMenu(IDR_BUTTON_MENU));   // loading again frees the old pop-ups
    EXPECT_EQ(m_nMenusBefore + 4, platform::ui::LiveMenuCount());

    ASSERT_EQ(2u, m_menu.GetMenuItemCount());
    EXPECT_FALSE(IsOwnerDrawn(m_menu, 0));
    CButtonMenu* pFile = File();
    ASSERT_NE(nullptr, pFile);
    EXPECT_TRUE(CButtonMenu::IsButtonMenu(pFile));
    EXPECT_FALSE(CButtonMenu::IsButtonMenu(m_menu.m_hMenu));
    ASSERT_EQ(5, pFile->GetRecordCount());
    for (UINT pos = 0; pos < 5; ++pos) EXPECT_TRUE(IsOwnerDrawn(*pFile, pos)) << pos;
    EXPECT_TRUE(pFile->GetMenuState(1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_TRUE(pFile->GetMenuState(ID_EXIT, MF_BYCOMMAND) & MF_GRAYED);

    CString strText;
    EXPECT_TRUE(m_menu.GetItemText(ID_ONE, strText, MF_BYCOMMAND));
    EXPECT_STREQ(L"&One", strText);
    int nPosition = -1;
    EXPECT_EQ(pFile, m_menu.FindItemMenu(ID_EXIT, nPosition));
    EXPECT_EQ(2, nPosition);
    EXPECT_FALSE(m_menu.GetItemText(4242, strText, MF_BYCOMMAND));
    EXPECT_FALSE(pFile->GetItemText(5, strText, MF_BYPOSITION));

    const HMENU hRecent = pFile->GetSubMenu(4)->m_hMenu;
    EXPECT_TRUE(m_menu.DestroyMenu());
    EXPECT_FALSE(CButtonMenu::IsButtonMenu(hRecent));
    EXPECT_FALSE(::IsMenu(hRecent));
    EXPECT_EQ(m_nMenusBefore, platform::ui::LiveMenuCount());
    EXPECT_FALSE(m_menu.DestroyMenu());
}

TEST_F(ButtonMenuTest, AcceleratorsLineUpBehindPaddedLabels)
{
    ASSERT_TRUE(m_menu.LoadMenu(IDR_BUTTON_MENU));
    CString strOpen, strPrint, strExit;
    File()->GetItemText(0, strOpen, MF_BYPOSITION);
    File()->GetItemText(3, strPrint, MF_BYPOSITION);
    File()->GetItemText(ID_EXIT, strExit, MF_BYCOMMAND);
    EXPECT_STREQ(L"E&xit", strExit);
    EXPECT_STREQ(L"&Print all pages\tCtrl+Shift+P", strPrint);   // the widest label stays
    ASSERT_EQ(0, strOpen.Find(L"&Open "));
    EXPECT_STREQ(L"\tCtrl+O", strOpen.Mid(strOpen.Find(L'\t')));
    // The padded label measures at least the widest, in the menu font.
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    HFONT hFont = ::CreateFontIndirectW(&metrics.lfMenuFont);
    HGDIOBJ hOld = ::SelectObject(m_hDC, hFont);
    SIZE open = {0, 0}, print = {0, 0};
    ::GetTextExtentPoint32W(m_hDC, strOpen, strOpen.Find(L'\t'), &open);
    ::GetTextExtentPoint32W(m_hDC, strPrint, strPrint.Find(L'\t'), &print);
    ::DeleteObject(::SelectObject(m_hDC, hOld));
    EXPECT_GE(open.cx, print.cx);
}

TEST_F(ButtonMenuTest, AppendItemMakesSeparatorsOfIdZeroAndKeepsALoadedBarPlain)
{
    ASSERT_TRUE(m_menu.CreatePopupMenu());
    EXPECT_TRUE(m_menu.AppendItem(L"ignored", MF_STRING | MF_GRAYED, 0));
    EXPECT_EQ(MF_SEPARATOR, m_menu.GetMenuState(0, MF_BYPOSITION) & (MF_SEPARATOR | MF_GRAYED));
    EXPECT_FALSE(m_menu.AppendItem(L"&Bad", MF_POPUP, 0x1234));   // no such pop-up: no record either
    EXPECT_EQ(1, m_menu.GetRecordCount());

    CButtonMenu bar;
    ASSERT_TRUE(bar.LoadMenu(IDR_BUTTON_MENU));
    CMenu extra;
    ASSERT_TRUE(extra.CreatePopupMenu());
    ASSERT_TRUE(bar.AppendItem(L"&Help", MF_POPUP, reinterpret_cast<UINT_PTR>(extra.Detach())));
    EXPECT_FALSE(IsOwnerDrawn(bar, 2));
    CString strText;
    bar.GetMenuString(2, strText, MF_BYPOSITION);
    EXPECT_STREQ(L"&Help", strText);
}

TEST_F(ButtonMenuTest, MeasureUsesTheImageCellTheMenuBarAndOnlyItsOwnRecords)
{
    ASSERT_TRUE(m_menu.LoadMenu(IDR_BUTTON_MENU));
    const int nBar = ::GetSystemMetrics(SM_CYMENU);
    MEASUREITEMSTRUCT separator = MeasureOf(*File(), 1), exit = MeasureOf(*File(), 2), print = MeasureOf(*File(), 3);
    File()->MeasureItem(&separator);
    File()->MeasureItem(&exit);
    File()->MeasureItem(&print);
    EXPECT_EQ(0u, separator.itemWidth);
    EXPECT_EQ(static_cast<UINT>(std::max((15 + 4) / 2, nBar / 2)), separator.itemHeight);
    EXPECT_EQ(static_cast<UINT>(std::max(nBar, 15 + 4)), exit.itemHeight);
    EXPECT_GT(exit.itemWidth, 2u * 16 + 1);
    EXPECT_GT(print.itemWidth, exit.itemWidth);
    // The top menu measures its pop-ups' items, as an owner asks it to; foreign data is left alone.
    MEASUREITEMSTRUCT recent = MeasureOf(*File(), 4), foreign = {ODT_MENU, 0, 1, 11, 12, 0xDEAD};
    m_menu.MeasureItem(&recent);
    m_menu.MeasureItem(&foreign);
    EXPECT_EQ(exit.itemHeight, recent.itemHeight);
    EXPECT_EQ(11u, foreign.itemWidth);
}

TEST_F(ButtonMenuTest, MnemonicsMatchWithoutRegardToCaseAndTakeInNewItems)
{
    ASSERT_TRUE(m_menu.LoadMenu(IDR_BUTTON_MENU));
    CButtonMenu* pFile = File();
    EXPECT_EQ(2 | (MNC_EXECUTE << 16), CButtonMenu::FindMnemonic(L'X', MF_POPUP, pFile));
    EXPECT_EQ(3 | (MNC_EXECUTE << 16), CButtonMenu::FindMnemonic(L'p', MF_POPUP, pFile));
    EXPECT_EQ(0, CButtonMenu::FindMnemonic(L'z', MF_POPUP, pFile));
    EXPECT_EQ(0, CButtonMenu::FindMnemonic(L'o', MF_SYSMENU, pFile));
    EXPECT_EQ(0, CButtonMenu::FindMnemonic(L'o', MF_POPUP, nullptr));

    // An item added behind the menu's back is taken in; the others keep their records.
    ASSERT_TRUE(pFile->AppendMenu(MF_STRING, 9270, L"&Zoom"));
    EXPECT_EQ(5 | (MNC_EXECUTE << 16), CButtonMenu::FindMnemonic(L'Z', MF_POPUP, pFile));
    EXPECT_EQ(6, pFile->GetRecordCount());
    EXPECT_TRUE(IsOwnerDrawn(*pFile, 5));
    CString strText;
    EXPECT_TRUE(pFile->GetItemText(ID_EXIT, strText, MF_BYCOMMAND));
    EXPECT_STREQ(L"E&xit", strText);
    EXPECT_TRUE(pFile->GetMenuState(1, MF_BYPOSITION) & MF_SEPARATOR);
}

TEST_F(ButtonMenuTest, ClassicItemsPaintHighlightCheckAndEngravedText)
{
    ASSERT_TRUE(m_menu.LoadMenu(IDR_BUTTON_MENU));
    const COLORREF crMenu = ::GetSysColor(COLOR_MENU), crHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    Draw(File(), 0, RECT{0, 0, 200, 20}, ODS_SELECTED);
    EXPECT_EQ(crHighlight, At(1, 1));
    EXPECT_EQ(crHighlight, At(199, 19));
    EXPECT_GT(Count(RECT{25, 0, 200, 20}, ::GetSysColor(COLOR_HIGHLIGHTTEXT)), 10);

    // Selected and checked: the check column stays out of the highlight and holds the tick,
    // whose box starts at (1, 20 + 2) and the tick 4 pixels further in.
    Draw(File(), 3, RECT{0, 20, 200, 40}, ODS_SELECTED | ODS_CHECKED);
    EXPECT_EQ(crHighlight, At(16 + 5, 30));
    EXPECT_NE(crHighlight, At(16 + 4, 30));
    const int bx = 1 + 4, by = 20 + 2 + 4;
    const COLORREF crMark = ::GetSysColor(COLOR_MENUTEXT);
    EXPECT_EQ(crMark, At(bx + 0, by + 2));
    EXPECT_EQ(crMark, At(bx + 2, by + 6));
    EXPECT_EQ(crMark, At(bx + 6, by + 0));
    EXPECT_NE(crMark, At(bx + 6, by + 3));

    Draw(File(), 2, RECT{0, 40, 200, 60}, ODS_GRAYED);
    EXPECT_EQ(crMenu, At(1, 41));
    EXPECT_GT(Count(RECT{0, 40, 200, 60}, ::GetSysColor(COLOR_GRAYTEXT)), 5);
    EXPECT_GT(Count(RECT{0, 40, 200, 60}, ::GetSysColor(COLOR_BTNHIGHLIGHT)), 5);

    Draw(File(), 1, RECT{0, 60, 200, 70}, 0);
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), At(100, 65));
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), At(100, 66));

    // Item data that is no record of the menu draws nothing.
    DRAWITEMSTRUCT foreign = {ODT_MENU, 0, 1, ODA_DRAWENTIRE, ODS_SELECTED, nullptr, m_hDC, {0, 70, 200, 90}, 0xDEAD};
    File()->DrawItem(&foreign);
    EXPECT_EQ(RGB(255, 255, 255), At(5, 80));
}

TEST_F(ButtonMenuTest, XPItemsPaintTheIconColumnAndAFramedLightHighlight)
{
    CVersionScope xp(7);
    ASSERT_FALSE(CButtonMenu::IsClassicTheme());
    ASSERT_TRUE(m_menu.LoadMenu(IDR_BUTTON_MENU));
    const int c = 16 + 7;
    const COLORREF crSelect = ::GetSysColor(COLOR_HIGHLIGHT), crWindow = ::GetSysColor(COLOR_WINDOW);
    Draw(File(), 0, RECT{0, 0, 200, 22}, 0);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), At(c - 1, 10));
    EXPECT_EQ(crWindow, At(c, 10));

    // The 16 x 16 check box at ((23 - 16 + 1) / 2, (22 - 16 + 1) / 2) = (4, 3), the tick 5 and 4 pixels in.
    Draw(File(), 3, RECT{0, 22, 200, 44}, ODS_SELECTED | ODS_CHECKED);
    EXPECT_EQ(crSelect, At(0, 30));
    EXPECT_EQ(crSelect, At(199, 43));
    EXPECT_EQ(LightenColor(crSelect, 0.7), At(150, 25));
    EXPECT_EQ(crSelect, At(4, 22 + 3));
    EXPECT_EQ(LightenColor(crSelect, 0.85), At(5, 22 + 4));
    EXPECT_EQ(::GetSysColor(COLOR_MENUTEXT), At(4 + 5, 22 + 3 + 4 + 2));

    // A disabled item never shows selected, and nothing lands outside it.
    Draw(File(), 2, RECT{0, 44, 200, 66}, ODS_GRAYED | ODS_SELECTED);
    EXPECT_EQ(crWindow, At(199, 50));
    EXPECT_GT(Count(RECT{c, 44, 200, 66}, ::GetSysColor(COLOR_GRAYTEXT)), 5);
    EXPECT_EQ(RGB(255, 255, 255), At(100, 67));

    Draw(File(), 1, RECT{0, 70, 200, 80}, 0);
    EXPECT_EQ(crWindow, At(c + 6, 75));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), At(c + 7, 75));
    MEASUREITEMSTRUCT separator = MeasureOf(*File(), 1);
    File()->MeasureItem(&separator);
    EXPECT_EQ(static_cast<UINT>(std::max((15 + 7) / 2, ::GetSystemMetrics(SM_CYMENU) / 2)), separator.itemHeight);
}
