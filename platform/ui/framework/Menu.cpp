#include "platform/ui/framework/Menu.h"

#include <map>
#include <memory>
#include <vector>

#include "platform/gdi/Bitmap.h"
#include "platform/ui/framework/MessageMap.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Resources.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

std::map<HMENU, CMenu*>& Permanent()
{
    static auto* map = new std::map<HMENU, CMenu*>;
    return *map;
}

std::map<HMENU, std::unique_ptr<CMenu>>& Temporary()
{
    static auto* map = new std::map<HMENU, std::unique_ptr<CMenu>>;
    return *map;
}

// The menu being tracked and its pop-ups hold the owner-drawn item the
// owner is asked to measure; the item's menu object measures it.
CMenu* MenuOfTrackedItem(UINT itemId)
{
    const platform::ui::detail::ItemPlace place =
        platform::ui::detail::FindItem(platform::ui::TrackingMenu(), itemId, false);
    return place.menu ? CMenu::FromHandlePermanent(place.menu) : nullptr;
}

BOOL DrawMenuItem(LPDRAWITEMSTRUCT item)
{
    CMenu* menu = item ? CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(item->hwndItem)) : nullptr;
    if (!menu) return FALSE;
    menu->DrawItem(item);
    return TRUE;
}

BOOL MeasureMenuItem(LPMEASUREITEMSTRUCT item)
{
    CMenu* menu = item ? MenuOfTrackedItem(item->itemID) : nullptr;
    if (!menu) return FALSE;
    menu->MeasureItem(item);
    return TRUE;
}

// Lets the window layer find menu objects for its handlers.
struct MenuHooks {
    MenuHooks()
    {
        platform::ui::SetMenuFromHandle(&CMenu::FromHandle);
        platform::ui::SetMenuOwnerDrawHandlers(&DrawMenuItem, &MeasureMenuItem);
    }
};
const MenuHooks s_hooks;

}  // namespace

CMenu::CMenu() : m_hMenu(nullptr) {}

CMenu::~CMenu()
{
    if (m_hMenu) DestroyMenu();
}

// Attaches a menu just made for the object, destroying it when the object cannot take it.
BOOL CMenu::AttachNew(HMENU hMenu)
{
    if (Attach(hMenu)) return TRUE;
    if (hMenu) ::DestroyMenu(hMenu);
    return FALSE;
}

BOOL CMenu::CreateMenu()
{
    return !m_hMenu && AttachNew(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    return !m_hMenu && AttachNew(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    return !m_hMenu && AttachNew(::LoadMenuW(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName));
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    return LoadMenu(MAKEINTRESOURCE(nIDResource));
}

BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate)
{
    return !m_hMenu && AttachNew(::LoadMenuIndirectW(lpMenuTemplate));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu) return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::Attach(HMENU hMenu)
{
    // An object holds one menu, and a menu has at most one permanent object.
    if (m_hMenu || !hMenu || !IsMenu(hMenu) || Permanent().count(hMenu)) return FALSE;
    m_hMenu = hMenu;
    Permanent()[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu) {
        auto found = Permanent().find(hMenu);
        if (found != Permanent().end() && found->second == this) Permanent().erase(found);
    }
    m_hMenu = nullptr;
    return hMenu;
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    auto found = Permanent().find(hMenu);
    return found == Permanent().end() ? nullptr : found->second;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu) return nullptr;
    if (CMenu* permanent = FromHandlePermanent(hMenu)) return permanent;
    auto& temporary = Temporary();
    auto found = temporary.find(hMenu);
    if (found != temporary.end()) return found->second.get();
    auto menu = std::make_unique<CMenu>();
    menu->m_hMenu = hMenu;   // not attached: the object never destroys the menu
    CMenu* result = menu.get();
    temporary[hMenu] = std::move(menu);
    return result;
}

void CMenu::DeleteTempMap()
{
    auto& temporary = Temporary();
    for (auto& entry : temporary) entry.second->m_hMenu = nullptr;
    temporary.clear();
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp)
{
    HBITMAP bitmap = pBmp ? static_cast<HBITMAP>(*pBmp) : nullptr;
    return ::AppendMenuW(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, reinterpret_cast<LPCWSTR>(bitmap));
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags)
{
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const
{
    return ::GetMenuState(m_hMenu, nID, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const
{
    return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    rString.Empty();
    const int length = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (length <= 0) return 0;
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetMenuStringW(m_hMenu, nIDItem, buffer.data(), length + 1, nFlags);
    rString = buffer.data();
    return copied;
}

UINT CMenu::GetMenuItemCount() const
{
    return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    return ::GetMenuItemID(m_hMenu, nPos);
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos)
{
    return ::GetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos)
{
    return ::SetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos)
{
    return ::InsertMenuItemW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked)
{
    HBITMAP unchecked = pBmpUnchecked ? static_cast<HBITMAP>(*pBmpUnchecked) : nullptr;
    HBITMAP checked = pBmpChecked ? static_cast<HBITMAP>(*pBmpChecked) : nullptr;
    return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, unchecked, checked);
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos)
{
    return ::SetMenuDefaultItem(m_hMenu, uItem, static_cast<UINT>(fByPos));
}

UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos)
{
    return ::GetMenuDefaultItem(m_hMenu, static_cast<UINT>(fByPos), gmdiFlags);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->GetSafeHwnd() : nullptr, lpRect);
}

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm)
{
    return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, pWnd ? pWnd->GetSafeHwnd() : nullptr, lptpm);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    (void)lpDrawItemStruct;
}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    (void)lpMeasureItemStruct;
}
