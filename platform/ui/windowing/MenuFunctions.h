// The Win32 menu functions: menus as handles of a table (slot and
// generation, so a destroyed menu's handle fails every call instead of
// reaching a menu that took its slot), their items, menu resources, and
// TrackPopupMenu.
//
// Menus are headless like the windows. TrackPopupMenu does what Windows
// does around a shown pop-up (WM_ENTERMENULOOP, WM_INITMENU,
// WM_INITMENUPOPUP, WM_MEASUREITEM and WM_DRAWITEM for owner-drawn items,
// WM_MENUSELECT, WM_EXITMENULOOP) and shows the pop-up as a "#32768"
// window; then the menu driver a test or the host installed chooses an
// item (or nothing). Without a driver the menu is dismissed, as a modal
// dialog without a modal driver is cancelled. A chosen command is
// returned with TPM_RETURNCMD and otherwise posted to the owner as
// WM_COMMAND.
//
// Menu handles fit in 32 bits, as Windows' do: the system passes them
// through the UINT item id of owner-drawn pop-up items.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/ui/windowing/UiRecords.h"
#include "platform/ui/windowing/UiTypes.h"

#ifndef ERROR_INVALID_MENU_HANDLE
#define ERROR_INVALID_MENU_HANDLE 1401u
#endif
#ifndef ERROR_MENU_ITEM_NOT_FOUND
#define ERROR_MENU_ITEM_NOT_FOUND 1456u
#endif

#define WM_MENURBUTTONUP 0x0122
#define WM_UNINITMENUPOPUP 0x0125
#define WM_MENUCOMMAND 0x0126

#define MF_UNHILITE 0x00000000u
#define MF_USECHECKBITMAPS 0x00000200u
#define MF_SYSMENU 0x00002000u
#define MF_MOUSESELECT 0x00008000u

#define MFT_STRING MF_STRING
#define MFT_BITMAP MF_BITMAP
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK MF_MENUBREAK
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFT_RADIOCHECK 0x00000200u
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_RIGHTORDER 0x00002000u
#define MFT_RIGHTJUSTIFY MF_RIGHTJUSTIFY

#define MFS_GRAYED 0x00000003u
#define MFS_DISABLED MFS_GRAYED
#define MFS_CHECKED MF_CHECKED
#define MFS_HILITE MF_HILITE
#define MFS_ENABLED MF_ENABLED
#define MFS_UNCHECKED MF_UNCHECKED
#define MFS_UNHILITE MF_UNHILITE
#define MFS_DEFAULT MF_DEFAULT

#define MIIM_STATE 0x00000001u
#define MIIM_ID 0x00000002u
#define MIIM_SUBMENU 0x00000004u
#define MIIM_CHECKMARKS 0x00000008u
#define MIIM_TYPE 0x00000010u
#define MIIM_DATA 0x00000020u
#define MIIM_STRING 0x00000040u
#define MIIM_BITMAP 0x00000080u
#define MIIM_FTYPE 0x00000100u

#define TPM_LEFTBUTTON 0x0000u
#define TPM_RIGHTBUTTON 0x0002u
#define TPM_LEFTALIGN 0x0000u
#define TPM_CENTERALIGN 0x0004u
#define TPM_RIGHTALIGN 0x0008u
#define TPM_TOPALIGN 0x0000u
#define TPM_VCENTERALIGN 0x0010u
#define TPM_BOTTOMALIGN 0x0020u
#define TPM_HORIZONTAL 0x0000u
#define TPM_VERTICAL 0x0040u
#define TPM_NONOTIFY 0x0080u
#define TPM_RETURNCMD 0x0100u
#define TPM_RECURSE 0x0001u
#define TPM_NOANIMATION 0x4000u

#define MNC_IGNORE 0
#define MNC_CLOSE 1
#define MNC_EXECUTE 2
#define MNC_SELECT 3

#define GMDI_USEDISABLED 0x0001u
#define GMDI_GOINTOPOPUPS 0x0002u

#define WC_MENU L"#32768"

struct tagMENUITEMINFOW {
    UINT cbSize;
    UINT fMask;            // MIIM_*
    UINT fType;            // MFT_*
    UINT fState;           // MFS_*
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData;     // the text (MFT_STRING), or the bitmap (MFT_BITMAP), or the owner's data (MFT_OWNERDRAW)
    UINT cch;              // characters dwTypeData holds; the text's length on return
    HBITMAP hbmpItem;
};
typedef tagMENUITEMINFOW MENUITEMINFOW;
typedef MENUITEMINFOW MENUITEMINFO;
typedef MENUITEMINFOW* LPMENUITEMINFOW;
typedef MENUITEMINFOW* LPMENUITEMINFO;
typedef const MENUITEMINFOW* LPCMENUITEMINFOW;
typedef const MENUITEMINFOW* LPCMENUITEMINFO;

struct tagTPMPARAMS {
    UINT cbSize;
    RECT rcExclude;        // screen rectangle the menu must not cover
};
typedef tagTPMPARAMS TPMPARAMS;
typedef TPMPARAMS* LPTPMPARAMS;

// ---- menus and items ---------------------------------------------------------------------
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and the pop-ups of its items.
BOOL DestroyMenu(HMENU hMenu);
BOOL IsMenu(HMENU hMenu);

// uFlags: MF_STRING (lpNewItem the text), MF_SEPARATOR, MF_OWNERDRAW
// (lpNewItem the item's data), MF_BITMAP (lpNewItem an HBITMAP), MF_POPUP
// (uIDNewItem the pop-up's HMENU), with MF_CHECKED, MF_GRAYED, MF_DISABLED,
// MF_MENUBREAK, MF_MENUBARBREAK; FALSE for a bad menu or pop-up.
BOOL AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
// Before the item named by uPosition (MF_BYPOSITION or MF_BYCOMMAND); a
// position past the end appends.
BOOL InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
// Replaces the item; a pop-up it held is destroyed unless it is kept.
BOOL ModifyMenuW(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
// DeleteMenu destroys the item's pop-up, RemoveMenu leaves it to the caller.
BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
// The previous state (MF_CHECKED or MF_UNCHECKED), or (DWORD)-1 when there is no such item.
DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
// The previous state (MF_GRAYED, MF_DISABLED bits), or -1 when there is no such item.
BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
BOOL CheckMenuRadioItem(HMENU hmenu, UINT first, UINT last, UINT check, UINT flags);
// The item's MF_ flags; for a pop-up its item count in the high byte and
// MF_POPUP; (UINT)-1 when there is no such item.
UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
// Copies at most cchMax - 1 characters and a terminator; with a null
// buffer the text's length. 0 when there is no such item.
int GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags);
int GetMenuItemCount(HMENU hMenu);   // -1 for a bad menu
// The command id at a position: (UINT)-1 for a pop-up or no item, 0 for a separator.
UINT GetMenuItemID(HMENU hMenu, int nPos);
HMENU GetSubMenu(HMENU hMenu, int nPos);
BOOL GetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOW lpmii);
BOOL SetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPositon, LPCMENUITEMINFOW lpmii);
BOOL InsertMenuItemW(HMENU hmenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOW lpmi);
BOOL SetMenuItemBitmaps(HMENU hMenu, UINT uPosition, UINT uFlags, HBITMAP hBitmapUnchecked, HBITMAP hBitmapChecked);
BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos);
UINT GetMenuDefaultItem(HMENU hMenu, UINT fByPos, UINT gmdiFlags);
// Width in the low word, height in the high word, of a check mark.
LONG GetMenuCheckMarkDimensions();

// A menu from an RT_MENU resource of the module (null: the executable); null when
// the resource is missing or its bytes are not a menu.
HMENU LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName);
// From menu template bytes handed out by LockResource.
HMENU LoadMenuIndirectW(const void* lpMenuTemplate);

// Shows the pop-up for the driver to choose from. With TPM_RETURNCMD the
// chosen command (0 for none); otherwise nonzero when the menu was shown,
// and the command is posted to hWnd. FALSE for a bad menu or window.
BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, const RECT* prcRect);
BOOL TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hwnd, LPTPMPARAMS lptpm);
// Ends the menu being tracked, as if dismissed.
BOOL EndMenu();
// The screen rectangle of an item of the pop-up being tracked; FALSE otherwise.
BOOL GetMenuItemRect(HWND hWnd, HMENU hMenu, UINT uItem, LPRECT lprcItem);

inline BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR item) { return AppendMenuW(menu, flags, id, item); }
inline BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR item)
{
    return InsertMenuW(menu, position, flags, id, item);
}
inline BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR item)
{
    return ModifyMenuW(menu, position, flags, id, item);
}
inline int GetMenuString(HMENU menu, UINT item, LPWSTR text, int max, UINT flags)
{
    return GetMenuStringW(menu, item, text, max, flags);
}
inline BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info)
{
    return GetMenuItemInfoW(menu, item, byPosition, info);
}
inline BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info)
{
    return SetMenuItemInfoW(menu, item, byPosition, info);
}
inline BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info)
{
    return InsertMenuItemW(menu, item, byPosition, info);
}
inline HMENU LoadMenu(HINSTANCE instance, LPCWSTR name) { return LoadMenuW(instance, name); }
inline HMENU LoadMenuIndirect(const void* bytes) { return LoadMenuIndirectW(bytes); }

namespace platform::ui {

// Chooses from a pop-up being tracked: the command id of an item of the
// menu or of its pop-ups, or 0 to dismiss it. A command that is not an
// enabled item of the menu dismisses it too.
typedef std::function<UINT(HMENU menu)> MenuDriver;
// Installs the driver (an empty one: none) and returns the previous one.
MenuDriver SetMenuDriver(MenuDriver driver);

// The "#32768" window of the pop-up being tracked (for pictures of it), or null.
HWND TrackingMenuWindow();
// The menu being tracked, or null.
HMENU TrackingMenu();

// Live menus, for leak checks in tests.
int LiveMenuCount();

namespace detail {

struct MenuItemData {
    UINT type = MFT_STRING;       // MFT_* bits
    UINT state = 0;               // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_HILITE, MF_DEFAULT
    UINT id = 0;                  // the command; a pop-up item's is its handle unless set otherwise
    HMENU submenu = nullptr;      // a pop-up item's menu
    std::wstring text;            // MFT_STRING
    ULONG_PTR data = 0;           // the owner's data (MF_OWNERDRAW items, MIIM_DATA)
    HBITMAP bitmap = nullptr;     // MFT_BITMAP
    HBITMAP checked = nullptr;    // SetMenuItemBitmaps; null: the standard check mark
    HBITMAP unchecked = nullptr;
};

struct MenuData {
    bool popup = false;           // made by CreatePopupMenu
    std::vector<MenuItemData> items;
};

// The menu of a live handle; null for stale and foreign ones.
MenuData* FindMenu(HMENU menu);

// Where an item lies: the menu holding it and its position there. By
// command the search goes into pop-ups, depth first.
struct ItemPlace {
    HMENU menu = nullptr;
    int position = -1;
};
ItemPlace FindItem(HMENU menu, UINT item, bool byPosition);

}  // namespace detail

}  // namespace platform::ui
