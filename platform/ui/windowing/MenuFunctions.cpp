// The menu table and the item functions of MenuFunctions.h. TrackPopupMenu
// and the pop-up window are in MenuTracking.cpp.
#include "platform/ui/windowing/MenuFunctions.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <set>

#include "platform/base/Kernel.h"
#include "platform/ui/windowing/DialogTemplate.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/SystemSettings.h"

namespace platform::ui {

namespace {

// A handle is the slot index plus one in the low 16 bits with the slot's
// generation above it: never below 0x10000, so no command id is a menu.
const UINT kMaxSlots = 0xFFFE;
const UINT kMaxGeneration = 0x7FFF;
const int kMaxDepth = 32;   // pop-ups nested deeper are not searched (a menu may hold itself)

struct Slot {
    UINT generation = 1;
    std::unique_ptr<detail::MenuData> menu;
};

struct MenuTable {
    std::vector<Slot> slots;
    std::vector<size_t> freeSlots;
    int live = 0;
};

MenuTable& Table()
{
    static auto* table = new MenuTable;   // never destroyed: menus may outlive this file's statics
    return *table;
}

HMENU MakeHandle(size_t index, UINT generation)
{
    return reinterpret_cast<HMENU>(static_cast<UINT_PTR>((generation << 16) | static_cast<UINT>(index + 1)));
}

bool Decode(HMENU menu, size_t& index, UINT& generation)
{
    const UINT_PTR value = reinterpret_cast<UINT_PTR>(menu);
    if (value < 0x10000 || value > 0x7FFFFFFF) return false;
    index = static_cast<size_t>(value & 0xFFFF) - 1;
    generation = static_cast<UINT>(value >> 16);
    return true;
}

HMENU NewMenu(bool popup)
{
    MenuTable& table = Table();
    size_t index;
    if (!table.freeSlots.empty()) {
        index = table.freeSlots.back();
        table.freeSlots.pop_back();
    } else {
        if (table.slots.size() >= kMaxSlots) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        index = table.slots.size();
        table.slots.emplace_back();
    }
    table.slots[index].menu = std::make_unique<detail::MenuData>();
    table.slots[index].menu->popup = popup;
    ++table.live;
    return MakeHandle(index, table.slots[index].generation);
}

detail::MenuData* Lookup(HMENU menu)
{
    detail::MenuData* data = detail::FindMenu(menu);
    if (!data) SetLastError(ERROR_INVALID_MENU_HANDLE);
    return data;
}

void Free(HMENU menu)
{
    size_t index = 0;
    UINT generation = 0;
    if (!Decode(menu, index, generation)) return;
    MenuTable& table = Table();
    Slot& slot = table.slots[index];
    slot.menu.reset();
    slot.generation = slot.generation >= kMaxGeneration ? 1 : slot.generation + 1;
    table.freeSlots.push_back(index);
    --table.live;
}

// Destroys a menu and, depth first, its pop-ups; `seen` keeps a menu that holds itself from looping.
void DestroyTree(HMENU menu, std::set<HMENU>& seen)
{
    detail::MenuData* data = detail::FindMenu(menu);
    if (!data || !seen.insert(menu).second) return;
    std::vector<HMENU> popups;
    for (const detail::MenuItemData& item : data->items)
        if (item.submenu) popups.push_back(item.submenu);
    for (HMENU popup : popups) DestroyTree(popup, seen);
    Free(menu);
}

bool FindByCommand(HMENU menu, UINT id, int depth, detail::ItemPlace& place)
{
    detail::MenuData* data = detail::FindMenu(menu);
    if (!data || depth > kMaxDepth) return false;
    for (size_t i = 0; i < data->items.size(); ++i) {
        const detail::MenuItemData& item = data->items[i];
        if (item.submenu) {
            if (FindByCommand(item.submenu, id, depth + 1, place)) return true;
            if (item.id == id) {
                place = detail::ItemPlace{menu, static_cast<int>(i)};
                return true;
            }
            continue;
        }
        if (item.id == id && !(item.type & MFT_SEPARATOR)) {
            place = detail::ItemPlace{menu, static_cast<int>(i)};
            return true;
        }
    }
    return false;
}

detail::MenuItemData* ItemAt(const detail::ItemPlace& place)
{
    detail::MenuData* data = detail::FindMenu(place.menu);
    if (!data || place.position < 0 || place.position >= static_cast<int>(data->items.size())) return nullptr;
    return &data->items[static_cast<size_t>(place.position)];
}

detail::MenuItemData* FindItemData(HMENU menu, UINT item, UINT flags)
{
    if (!Lookup(menu)) return nullptr;
    detail::MenuItemData* found = ItemAt(detail::FindItem(menu, item, (flags & MF_BYPOSITION) != 0));
    if (!found) SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return found;
}

const UINT kTypeFlags = MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_MENUBREAK | MF_MENUBARBREAK | MF_RIGHTJUSTIFY;
const UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;

// An item described the way AppendMenu, InsertMenu and ModifyMenu take it; false for a bad pop-up.
bool MakeItem(UINT flags, UINT_PTR id, LPCWSTR newItem, detail::MenuItemData& item)
{
    item = detail::MenuItemData();
    item.type = flags & kTypeFlags;
    item.state = flags & kStateFlags;
    if (flags & MF_POPUP) {
        HMENU popup = reinterpret_cast<HMENU>(id);
        if (!detail::FindMenu(popup)) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return false;
        }
        item.submenu = popup;
    }
    item.id = static_cast<UINT>(id);
    if (item.type & MF_OWNERDRAW)
        item.data = reinterpret_cast<ULONG_PTR>(newItem);
    else if (item.type & MF_BITMAP)
        item.bitmap = reinterpret_cast<HBITMAP>(const_cast<wchar_t*>(newItem));
    else if (!(item.type & MF_SEPARATOR) && newItem)
        item.text = newItem;
    if (item.type & MF_SEPARATOR) item.id = 0;
    return true;
}

// Where an item goes in `menu` for InsertMenu: before the named one, else at the end.
int InsertPosition(HMENU menu, UINT position, UINT flags, HMENU& target)
{
    target = menu;
    detail::MenuData* data = detail::FindMenu(menu);
    const int count = data ? static_cast<int>(data->items.size()) : 0;
    if (flags & MF_BYPOSITION) return position > static_cast<UINT>(count) ? count : static_cast<int>(position);
    const detail::ItemPlace place = detail::FindItem(menu, position, false);
    if (place.position < 0) return count;
    target = place.menu;
    return place.position;
}

BOOL RemoveItem(HMENU menu, UINT position, UINT flags, bool destroyPopup)
{
    if (!Lookup(menu)) return FALSE;
    const detail::ItemPlace place = detail::FindItem(menu, position, (flags & MF_BYPOSITION) != 0);
    detail::MenuData* data = detail::FindMenu(place.menu);
    if (!data || place.position < 0) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    const HMENU popup = data->items[static_cast<size_t>(place.position)].submenu;
    data->items.erase(data->items.begin() + place.position);
    if (destroyPopup && popup) DestroyMenu(popup);
    return TRUE;
}

UINT StateOf(const detail::MenuItemData& item)
{
    UINT state = item.type | item.state;
    if (item.submenu) {
        detail::MenuData* popup = detail::FindMenu(item.submenu);
        const UINT count = popup ? static_cast<UINT>(std::min<size_t>(popup->items.size(), 0xFF)) : 0;
        state |= MF_POPUP | (count << 8);
    }
    return state;
}

// ---- building from a template --------------------------------------------------------------

bool Build(HMENU menu, const std::vector<MenuTemplateItem>& items)
{
    for (const MenuTemplateItem& item : items) {
        if (item.flags & MF_POPUP) {
            HMENU popup = CreatePopupMenu();
            if (!popup || !Build(popup, item.items) ||
                !AppendMenuW(menu, (item.flags & ~MF_END) | MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                             item.text.GetString())) {
                DestroyMenu(popup);
                return false;
            }
            continue;
        }
        // An item without text and id is a separator (MENUITEM SEPARATOR).
        const bool separator = item.text.IsEmpty() && item.id == 0;
        const UINT flags = separator ? MF_SEPARATOR : (item.flags & ~MF_END);
        if (!AppendMenuW(menu, flags, item.id, separator ? nullptr : item.text.GetString())) return false;
    }
    return true;
}

HMENU FromTemplate(const BYTE* bytes, size_t size)
{
    std::vector<MenuTemplateItem> items;
    if (!bytes || !ReadMenuTemplate(bytes, size, items).ok) return nullptr;
    HMENU menu = CreateMenu();
    if (!menu) return nullptr;
    if (!Build(menu, items)) {
        DestroyMenu(menu);
        return nullptr;
    }
    return menu;
}

}  // namespace

namespace detail {

MenuData* FindMenu(HMENU menu)
{
    size_t index = 0;
    UINT generation = 0;
    if (!Decode(menu, index, generation)) return nullptr;
    MenuTable& table = Table();
    if (index >= table.slots.size() || table.slots[index].generation != generation) return nullptr;
    return table.slots[index].menu.get();
}

ItemPlace FindItem(HMENU menu, UINT item, bool byPosition)
{
    MenuData* data = FindMenu(menu);
    if (!data) return ItemPlace{};
    if (byPosition) {
        if (item >= data->items.size()) return ItemPlace{};
        return ItemPlace{menu, static_cast<int>(item)};
    }
    ItemPlace place;
    FindByCommand(menu, item, 0, place);
    return place;
}

}  // namespace detail

int LiveMenuCount()
{
    return Table().live;
}

}  // namespace platform::ui

using platform::ui::detail::FindMenu;
using platform::ui::detail::MenuData;
using platform::ui::detail::MenuItemData;

HMENU CreateMenu()
{
    return platform::ui::NewMenu(false);
}

HMENU CreatePopupMenu()
{
    return platform::ui::NewMenu(true);
}

BOOL DestroyMenu(HMENU hMenu)
{
    if (!platform::ui::Lookup(hMenu)) return FALSE;
    std::set<HMENU> seen;
    platform::ui::DestroyTree(hMenu, seen);
    return TRUE;
}

BOOL IsMenu(HMENU hMenu)
{
    return FindMenu(hMenu) != nullptr;
}

BOOL AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    MenuData* data = platform::ui::Lookup(hMenu);
    MenuItemData item;
    if (!data || !platform::ui::MakeItem(uFlags, uIDNewItem, lpNewItem, item)) return FALSE;
    data->items.push_back(item);
    return TRUE;
}

BOOL InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    if (!platform::ui::Lookup(hMenu)) return FALSE;
    MenuItemData item;
    if (!platform::ui::MakeItem(uFlags, uIDNewItem, lpNewItem, item)) return FALSE;
    HMENU target = nullptr;
    const int position = platform::ui::InsertPosition(hMenu, uPosition, uFlags, target);
    MenuData* data = FindMenu(target);
    if (!data) return FALSE;
    data->items.insert(data->items.begin() + position, item);
    return TRUE;
}

BOOL ModifyMenuW(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    MenuItemData* existing = platform::ui::FindItemData(hMnu, uPosition, uFlags);
    MenuItemData item;
    if (!existing || !platform::ui::MakeItem(uFlags, uIDNewItem, lpNewItem, item)) return FALSE;
    const HMENU oldPopup = existing->submenu;
    item.checked = existing->checked;
    item.unchecked = existing->unchecked;
    *existing = item;
    // The pop-up the item held goes with it, unless the item keeps it.
    if (oldPopup && oldPopup != item.submenu) DestroyMenu(oldPopup);
    return TRUE;
}

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    return platform::ui::RemoveItem(hMenu, uPosition, uFlags, true);
}

BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    return platform::ui::RemoveItem(hMenu, uPosition, uFlags, false);
}

DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck)
{
    MenuItemData* item = platform::ui::FindItemData(hMenu, uIDCheckItem, uCheck);
    if (!item) return static_cast<DWORD>(-1);
    const DWORD previous = item->state & MF_CHECKED;
    if (uCheck & MF_CHECKED)
        item->state |= MF_CHECKED;
    else
        item->state &= ~MF_CHECKED;
    return previous;
}

BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable)
{
    MenuItemData* item = platform::ui::FindItemData(hMenu, uIDEnableItem, uEnable);
    if (!item) return -1;
    const BOOL previous = static_cast<BOOL>(item->state & (MF_GRAYED | MF_DISABLED));
    item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

BOOL CheckMenuRadioItem(HMENU hmenu, UINT first, UINT last, UINT check, UINT flags)
{
    if (!platform::ui::Lookup(hmenu)) return FALSE;
    const bool byPosition = (flags & MF_BYPOSITION) != 0;
    const platform::ui::detail::ItemPlace from = platform::ui::detail::FindItem(hmenu, first, byPosition);
    const platform::ui::detail::ItemPlace to = platform::ui::detail::FindItem(hmenu, last, byPosition);
    MenuData* data = FindMenu(from.menu);
    // The range lies in one menu, as Windows requires.
    if (!data || from.menu != to.menu || from.position > to.position) return FALSE;
    bool found = false;
    for (int i = from.position; i <= to.position; ++i) {
        MenuItemData& item = data->items[static_cast<size_t>(i)];
        if (item.submenu || (item.type & MF_SEPARATOR)) continue;
        const bool chosen = byPosition ? static_cast<UINT>(i) == check : item.id == check;
        if (chosen) {
            item.state |= MF_CHECKED;
            item.type |= MFT_RADIOCHECK;
            found = true;
        } else {
            item.state &= ~MF_CHECKED;
        }
    }
    return found ? TRUE : FALSE;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    MenuItemData* item = platform::ui::FindItemData(hMenu, uId, uFlags);
    return item ? platform::ui::StateOf(*item) : static_cast<UINT>(-1);
}

int GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags)
{
    if (lpString && cchMax > 0) lpString[0] = L'\0';
    MenuItemData* item = platform::ui::FindItemData(hMenu, uIDItem, flags);
    if (!item || (item->type & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR))) return 0;
    if (!lpString) return static_cast<int>(item->text.size());
    if (cchMax < 1) return 0;
    const int count = std::min(static_cast<int>(item->text.size()), cchMax - 1);
    std::copy(item->text.begin(), item->text.begin() + count, lpString);
    lpString[count] = L'\0';
    return count;
}

int GetMenuItemCount(HMENU hMenu)
{
    MenuData* data = platform::ui::Lookup(hMenu);
    return data ? static_cast<int>(data->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos)
{
    MenuData* data = platform::ui::Lookup(hMenu);
    if (!data || nPos < 0 || nPos >= static_cast<int>(data->items.size())) return static_cast<UINT>(-1);
    const MenuItemData& item = data->items[static_cast<size_t>(nPos)];
    return item.submenu ? static_cast<UINT>(-1) : item.id;
}

HMENU GetSubMenu(HMENU hMenu, int nPos)
{
    MenuData* data = platform::ui::Lookup(hMenu);
    if (!data || nPos < 0 || nPos >= static_cast<int>(data->items.size())) return nullptr;
    HMENU popup = data->items[static_cast<size_t>(nPos)].submenu;
    return FindMenu(popup) ? popup : nullptr;
}

BOOL GetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOW lpmii)
{
    if (!lpmii || lpmii->cbSize < offsetof(MENUITEMINFOW, hbmpItem)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MenuItemData* data = platform::ui::FindItemData(hmenu, item, fByPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!data) return FALSE;
    const UINT mask = lpmii->fMask;
    if (mask & (MIIM_TYPE | MIIM_FTYPE)) lpmii->fType = data->type;
    if (mask & MIIM_STATE) lpmii->fState = data->state;
    if (mask & MIIM_ID) lpmii->wID = data->id;
    if (mask & MIIM_SUBMENU) lpmii->hSubMenu = FindMenu(data->submenu) ? data->submenu : nullptr;
    if (mask & MIIM_CHECKMARKS) {
        lpmii->hbmpChecked = data->checked;
        lpmii->hbmpUnchecked = data->unchecked;
    }
    if (mask & MIIM_DATA) lpmii->dwItemData = data->data;
    if (mask & MIIM_BITMAP && lpmii->cbSize >= sizeof(MENUITEMINFOW)) lpmii->hbmpItem = data->bitmap;
    const bool wantsText =
        (mask & MIIM_STRING) || ((mask & MIIM_TYPE) && !(data->type & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR)));
    if ((mask & MIIM_TYPE) && (data->type & MF_BITMAP))
        lpmii->dwTypeData = reinterpret_cast<LPWSTR>(data->bitmap);
    else if (wantsText) {
        const UINT length = static_cast<UINT>(data->text.size());
        if (lpmii->dwTypeData && lpmii->cch > 0) {
            const UINT count = std::min(length, lpmii->cch - 1);
            std::copy(data->text.begin(), data->text.begin() + count, lpmii->dwTypeData);
            lpmii->dwTypeData[count] = L'\0';
        }
        lpmii->cch = length;
    }
    return TRUE;
}

namespace {

// The MENUITEMINFO fields named by the mask, applied to an item.
bool ApplyInfo(MenuItemData& item, LPCMENUITEMINFOW info)
{
    const UINT mask = info->fMask;
    if (mask & MIIM_SUBMENU) {
        if (info->hSubMenu && !FindMenu(info->hSubMenu)) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return false;
        }
        item.submenu = info->hSubMenu;
    }
    if (mask & (MIIM_TYPE | MIIM_FTYPE))
        item.type = info->fType & (platform::ui::kTypeFlags | MFT_RADIOCHECK | MFT_RIGHTORDER);
    if (mask & MIIM_TYPE) {
        if (info->fType & MF_BITMAP)
            item.bitmap = reinterpret_cast<HBITMAP>(info->dwTypeData);
        else if (!(info->fType & (MF_OWNERDRAW | MF_SEPARATOR)))
            item.text = info->dwTypeData ? info->dwTypeData : L"";
    }
    if (mask & MIIM_STRING) item.text = info->dwTypeData ? info->dwTypeData : L"";
    if (mask & MIIM_STATE) item.state = info->fState & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
    if (mask & MIIM_ID) item.id = info->wID;
    if (mask & MIIM_CHECKMARKS) {
        item.checked = info->hbmpChecked;
        item.unchecked = info->hbmpUnchecked;
    }
    if (mask & MIIM_DATA) item.data = info->dwItemData;
    if ((mask & MIIM_BITMAP) && info->cbSize >= sizeof(MENUITEMINFOW)) item.bitmap = info->hbmpItem;
    return true;
}

}  // namespace

BOOL SetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPositon, LPCMENUITEMINFOW lpmii)
{
    if (!lpmii || lpmii->cbSize < offsetof(MENUITEMINFOW, hbmpItem)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MenuItemData* data = platform::ui::FindItemData(hmenu, item, fByPositon ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!data) return FALSE;
    MenuItemData changed = *data;
    if (!ApplyInfo(changed, lpmii)) return FALSE;
    *data = changed;
    return TRUE;
}

BOOL InsertMenuItemW(HMENU hmenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOW lpmi)
{
    if (!lpmi || lpmi->cbSize < offsetof(MENUITEMINFOW, hbmpItem)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!platform::ui::Lookup(hmenu)) return FALSE;
    MenuItemData added;
    if (!ApplyInfo(added, lpmi)) return FALSE;
    HMENU target = nullptr;
    const int position = platform::ui::InsertPosition(hmenu, item, fByPosition ? MF_BYPOSITION : MF_BYCOMMAND, target);
    MenuData* data = FindMenu(target);
    if (!data) return FALSE;
    data->items.insert(data->items.begin() + position, added);
    return TRUE;
}

BOOL SetMenuItemBitmaps(HMENU hMenu, UINT uPosition, UINT uFlags, HBITMAP hBitmapUnchecked, HBITMAP hBitmapChecked)
{
    MenuItemData* item = platform::ui::FindItemData(hMenu, uPosition, uFlags);
    if (!item) return FALSE;
    item->checked = hBitmapChecked;
    item->unchecked = hBitmapUnchecked;
    return TRUE;
}

BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos)
{
    MenuData* data = platform::ui::Lookup(hMenu);
    if (!data) return FALSE;
    // (UINT)-1 takes the default away; one item of a menu is its default.
    int chosen = -1;
    if (uItem != static_cast<UINT>(-1)) {
        if (fByPos) {
            if (uItem >= data->items.size()) return FALSE;
            chosen = static_cast<int>(uItem);
        } else {
            for (size_t i = 0; i < data->items.size() && chosen < 0; ++i)
                if (data->items[i].id == uItem && !(data->items[i].type & MF_SEPARATOR)) chosen = static_cast<int>(i);
            if (chosen < 0) return FALSE;
        }
    }
    for (size_t i = 0; i < data->items.size(); ++i) {
        if (static_cast<int>(i) == chosen)
            data->items[i].state |= MF_DEFAULT;
        else
            data->items[i].state &= ~MF_DEFAULT;
    }
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU hMenu, UINT fByPos, UINT gmdiFlags)
{
    MenuData* data = platform::ui::Lookup(hMenu);
    if (!data) return static_cast<UINT>(-1);
    for (size_t i = 0; i < data->items.size(); ++i) {
        const MenuItemData& item = data->items[i];
        if (!(item.state & MF_DEFAULT)) continue;
        if ((item.state & (MF_GRAYED | MF_DISABLED)) && !(gmdiFlags & GMDI_USEDISABLED)) return static_cast<UINT>(-1);
        if (item.submenu && (gmdiFlags & GMDI_GOINTOPOPUPS)) {
            const UINT inner = GetMenuDefaultItem(item.submenu, fByPos, gmdiFlags);
            if (inner != static_cast<UINT>(-1)) return inner;
        }
        return fByPos ? static_cast<UINT>(i) : item.id;
    }
    return static_cast<UINT>(-1);
}

LONG GetMenuCheckMarkDimensions()
{
    return MAKELONG(GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK));
}

HMENU LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName)
{
    HRSRC resource = FindResourceW(hInstance, lpMenuName, RT_MENU);
    if (!resource) return nullptr;
    HGLOBAL loaded = LoadResource(hInstance, resource);
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    return platform::ui::FromTemplate(bytes, SizeofResource(hInstance, resource));
}

HMENU LoadMenuIndirectW(const void* lpMenuTemplate)
{
    // Only bytes whose size is known can be read safely: those LockResource handed out.
    const size_t size = platform::ui::ResourceSizeOf(lpMenuTemplate);
    if (!size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return platform::ui::FromTemplate(static_cast<const BYTE*>(lpMenuTemplate), size);
}
