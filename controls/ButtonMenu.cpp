#include "controls/ButtonMenu.h"

#include <algorithm>
#include <cwctype>
#include <vector>

#include "controls/MenuMemDC.h"
#include "platform/base/Kernel.h"
#include "platform/base/Registry.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/DialogTemplate.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Resources.h"

IMPLEMENT_DYNAMIC(CButtonMenu, CMenu)

namespace {

const int kXPSpacing = 7;        // pixels an XP item is taller than its image
const int kClassicSpacing = 4;
const int kMaxMenuDepth = 32;    // nesting beyond this is refused rather than followed
const int kMaxAlignBlanks = 512; // a font whose blank has no width must not hang alignment

// Every pop-up handle a CButtonMenu created, from creation to its owner's DestroyMenu.
CMenuArray& Registry()
{
    static auto* registry = new CMenuArray;
    return *registry;
}

int& WinVersionSlot()
{
    static int version = -1;   // -1 until computed
    return version;
}

BOOL XPLookWanted()
{
    return CButtonMenu::GetWinVersion() == 7 && !CButtonMenu::IsClassicTheme();
}

// A screen DC with the system menu font, for measuring texts as the menu shows them.
class CMenuFontDC {
public:
    CMenuFontDC() : m_hDC(::CreateCompatibleDC(nullptr))
    {
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof(metrics);
        if (m_hDC && ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
            m_hFont = ::CreateFontIndirectW(&metrics.lfMenuFont);
        if (m_hFont) m_hOldFont = ::SelectObject(m_hDC, m_hFont);
    }
    ~CMenuFontDC()
    {
        if (m_hOldFont) ::SelectObject(m_hDC, m_hOldFont);
        if (m_hFont) ::DeleteObject(m_hFont);
        if (m_hDC) ::DeleteDC(m_hDC);
    }
    CMenuFontDC(const CMenuFontDC&) = delete;
    CMenuFontDC& operator=(const CMenuFontDC&) = delete;

    SIZE Extent(const CString& strText) const
    {
        SIZE size = {0, 0};
        if (m_hDC && !strText.IsEmpty())
            ::GetTextExtentPoint32W(m_hDC, strText.GetString(), strText.GetLength(), &size);
        return size;
    }

private:
    HDC m_hDC = nullptr;
    HFONT m_hFont = nullptr;
    HGDIOBJ m_hOldFont = nullptr;
};

// The item type itself: a pop-up's state would mix its item count into the flags.
BOOL IsOwnerDrawn(HMENU hMenu, int nPosition)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return ::GetMenuItemInfoW(hMenu, nPosition, TRUE, &info) && (info.fType & MFT_OWNERDRAW);
}

void SplitAtTab(const CString& strText, CString& strLabel, CString& strAccel)
{
    const int tab = strText.Find(L'\t');
    strLabel = tab < 0 ? strText : strText.Left(tab);
    strAccel = tab < 0 ? CString() : strText.Mid(tab + 1);
}

void DrawSplitText(CDC& dc, const CString& strText, CRect rcText, int nAccelInset, COLORREF crText)
{
    CString strLabel, strAccel;
    SplitAtTab(strText, strLabel, strAccel);
    dc.SetTextColor(crText);
    dc.DrawText(strLabel, &rcText, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (strAccel.IsEmpty()) return;
    rcText.right -= nAccelInset;
    dc.DrawText(strAccel, &rcText, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

void FillWith(CDC& dc, const CRect& rc, COLORREF crFill)
{
    CBrush brush;
    if (!brush.CreateSolidBrush(crFill)) return;
    dc.FillRect(&rc, &brush);
}

void FrameWith(CDC& dc, const CRect& rc, COLORREF crFrame)
{
    CBrush brush;
    if (!brush.CreateSolidBrush(crFrame)) return;
    dc.FrameRect(&rc, &brush);
}

// Seven one-pixel strokes of three pixels, down then up.
void DrawTick(CDC& dc, int x, int y, COLORREF crMark)
{
    static const int kStart[] = {2, 3, 4, 3, 2, 1, 0};
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, crMark)) return;
    CDCObjectSelector penSelected(dc, &pen);
    for (int i = 0; i < 7; ++i) {
        dc.MoveTo(x + i, y + kStart[i]);
        dc.LineTo(x + i, y + kStart[i] + 3);
    }
}

void DrawRadioDot(CDC& dc, int x, int y, COLORREF crMark)
{
    CPen pen;
    CBrush brush;
    if (!pen.CreatePen(PS_SOLID, 1, crMark) || !brush.CreateSolidBrush(crMark)) return;
    CDCObjectSelector penSelected(dc, &pen);
    CDCObjectSelector brushSelected(dc, &brush);
    dc.Ellipse(x, y, x + 6, y + 6);
}

// A radio item reports its own check bitmap; it gets a dot instead of the tick.
BOOL HasCheckBitmap(const DRAWITEMSTRUCT& dis)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_CHECKMARKS;
    if (!::GetMenuItemInfoW(reinterpret_cast<HMENU>(dis.hwndItem), dis.itemID, FALSE, &info)) return FALSE;
    return info.hbmpChecked != nullptr;
}

}  // namespace

COLORREF LightenColor(COLORREF crColor, double factor)
{
    if (factor <= 0.0 || factor > 1.0) return crColor;
    auto lighten = [factor](int c) { return static_cast<int>(c + (255 - c) * factor); };
    return RGB(lighten(GetRValue(crColor)), lighten(GetGValue(crColor)), lighten(GetBValue(crColor)));
}

CButtonMenu::CButtonMenu() = default;

CButtonMenu::~CButtonMenu()
{
    DestroyMenu();
}

// ---- the system ----------------------------------------------------------------------------

int CButtonMenu::ClassifyWinVersion(DWORD dwPlatformId, DWORD dwMajor, DWORD dwMinor)
{
    if (dwPlatformId != VER_PLATFORM_WIN32_NT) {
        if (dwMajor < 4) return 0;
        if (dwMajor == 4 && dwMinor == 10) return 3;
        if (dwMajor == 4 && dwMinor == 90) return 4;
        return 2;
    }
    if (dwMajor == 4) return 5;
    if (dwMajor == 5 && dwMinor == 0) return 6;
    if (dwMajor == 5 && dwMinor == 1) return 7;
    return 1;
}

int CButtonMenu::GetWinVersion()
{
    int& version = WinVersionSlot();
    if (version >= 0) return version;
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    // Without the version record all that is known is the NT branch the library runs on.
    version = ::GetVersionExW(&info) ? ClassifyWinVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion)
                                     : 1;
    return version;
}

int CButtonMenu::OverrideWinVersion(int nClass)
{
    const int previous = GetWinVersion();
    WinVersionSlot() = nClass;
    return previous;
}

BOOL CButtonMenu::ProbeClassicTheme()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return FALSE;
    WCHAR buffer[260] = {};
    DWORD cbData = sizeof(buffer) - sizeof(WCHAR);   // room for a terminator the value may lack
    DWORD type = 0;
    const LONG result = ::RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &cbData);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return FALSE;
    CString strTheme(buffer);
    const CString strClassic(L"windows classic.theme");
    strTheme.MakeLower();
    return strTheme.GetLength() >= strClassic.GetLength() && strTheme.Right(strClassic.GetLength()) == strClassic;
}

BOOL CButtonMenu::IsClassicTheme()
{
    static const BOOL classic = ProbeClassicTheme();
    return classic;
}

// ---- building ------------------------------------------------------------------------------

BOOL CButtonMenu::LoadMenu(UINT nIDResource)
{
    return LoadMenu(MAKEINTRESOURCE(nIDResource));
}

BOOL CButtonMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_MENU);
    HRSRC hRes = ::FindResourceW(hInst, lpszResourceName, RT_MENU);
    if (!hRes) {
        hInst = nullptr;
        hRes = ::FindResourceW(nullptr, lpszResourceName, RT_MENU);
    }
    if (!hRes) return FALSE;
    const auto* pBytes = static_cast<const BYTE*>(::LockResource(::LoadResource(hInst, hRes)));
    std::vector<platform::ui::MenuTemplateItem> items;
    if (!pBytes || !platform::ui::ReadMenuTemplate(pBytes, ::SizeofResource(hInst, hRes), items).ok) return FALSE;

    DestroyMenu();
    if (!CreateMenu()) return FALSE;
    if (!BuildItems(items, 0)) {
        DestroyMenu();
        return FALSE;
    }
    // The bar itself is never drawn by the menu: its items become plain again.
    for (int pos = 0; pos < GetRecordCount(); ++pos) {
        CItemRecord* pRecord = RecordAt(pos);
        const BOOL popup = (pRecord->m_nFlags & MF_POPUP) != 0;
        pRecord->m_nFlags = MF_BYPOSITION | (popup ? MF_POPUP : 0);
        CMenu::ModifyMenu(pos, pRecord->m_nFlags | MF_STRING, pRecord->m_nID, pRecord->m_strText);
    }
    m_bLoaded = TRUE;
    return TRUE;
}

BOOL CButtonMenu::BuildItems(const std::vector<platform::ui::MenuTemplateItem>& items, int nDepth)
{
    if (nDepth > kMaxMenuDepth) return FALSE;
    for (const platform::ui::MenuTemplateItem& item : items) {
        if (!(item.flags & MF_POPUP)) {
            if (!AppendItem(item.text, item.flags, item.id)) return FALSE;
            continue;
        }
        CButtonMenu* pPopup = NewPopup();
        if (!pPopup) return FALSE;
        if (!AppendItem(item.text, item.flags, reinterpret_cast<UINT_PTR>(pPopup->m_hMenu))) {
            delete pPopup;
            return FALSE;
        }
        if (!pPopup->BuildItems(item.items, nDepth + 1)) return FALSE;
        pPopup->AlignAccelerators();
    }
    return TRUE;
}

CButtonMenu* CButtonMenu::NewPopup()
{
    auto* pPopup = new CButtonMenu;
    pPopup->m_pCheckBitmap = m_pCheckBitmap;
    pPopup->m_bCheckBitmapBorrowed = TRUE;
    pPopup->m_nCheckSelectedId = m_nCheckSelectedId;
    pPopup->m_nCheckNormalId = m_nCheckNormalId;
    pPopup->m_bOwnedByParent = TRUE;
    if (!pPopup->CreatePopupMenu()) {
        delete pPopup;
        return nullptr;
    }
    return pPopup;
}

BOOL CButtonMenu::AppendItem(LPCTSTR lpszText, UINT nFlags, UINT_PTR nID, int nImage)
{
    (void)nImage;   // no image source exists in the system
    if (nID == 0)
        nFlags = (nFlags & MF_BYPOSITION) | MF_SEPARATOR | MF_OWNERDRAW;
    else
        nFlags |= MF_OWNERDRAW;
    auto* pRecord = new CItemRecord;
    pRecord->m_strText = lpszText ? lpszText : L"";
    pRecord->m_nFlags = nFlags;
    pRecord->m_nID = nID;
    // A record without its item would put every later record out of step.
    if (!CMenu::AppendMenu(nFlags, nID, reinterpret_cast<LPCTSTR>(pRecord))) {
        delete pRecord;
        return FALSE;
    }
    m_arrItems.Add(pRecord);
    if (nFlags & MF_POPUP) {
        Registry().Add(reinterpret_cast<void*>(nID));
        m_arrSubMenus.Add(reinterpret_cast<void*>(nID));
    }
    if (m_bLoaded) RestorePopups();
    return TRUE;
}

void CButtonMenu::RestorePopups()
{
    // Where the records meet the menu: the first position whose text is a record's.
    int nOffset = 0;
    BOOL bFound = FALSE;
    const int nCount = std::max(0, static_cast<int>(::GetMenuItemCount(m_hMenu)));
    for (int pos = 0; pos < nCount && !bFound; ++pos) {
        CString strText;
        if (GetMenuString(pos, strText, MF_BYPOSITION) <= 0) continue;
        for (int r = 0; r < GetRecordCount(); ++r) {
            if (RecordAt(r)->m_strText != strText) continue;
            nOffset = pos - r;
            bFound = TRUE;
            break;
        }
    }
    for (int r = 0; r < GetRecordCount(); ++r) {
        CItemRecord* pRecord = RecordAt(r);
        const int pos = r + nOffset;
        if (pos < 0 || pos >= nCount || !(pRecord->m_nFlags & MF_POPUP)) continue;
        if (!IsOwnerDrawn(m_hMenu, pos)) continue;
        pRecord->m_nFlags = MF_BYPOSITION | MF_POPUP;
        CMenu::ModifyMenu(pos, pRecord->m_nFlags | MF_STRING, pRecord->m_nID, pRecord->m_strText);
    }
}

void CButtonMenu::AlignAccelerators()
{
    CMenuFontDC dc;
    int nWidest = 0;
    for (int r = 0; r < GetRecordCount(); ++r) {
        CString strLabel, strAccel;
        SplitAtTab(RecordAt(r)->m_strText, strLabel, strAccel);
        nWidest = std::max<int>(nWidest, dc.Extent(strLabel).cx);
    }
    for (int r = 0; r < GetRecordCount(); ++r) {
        CItemRecord* pRecord = RecordAt(r);
        const int tab = pRecord->m_strText.Find(L'\t');
        if (tab < 0) continue;
        CString strLabel = pRecord->m_strText.Left(tab);
        for (int n = 0; n < kMaxAlignBlanks && dc.Extent(strLabel).cx < nWidest; ++n)
            strLabel += L' ';
        pRecord->m_strText = strLabel + pRecord->m_strText.Mid(tab);
    }
}

BOOL CButtonMenu::DestroyMenu()
{
    CMenuArray& registry = Registry();
    const INT_PTR self = registry.ReverseFind(m_hMenu);
    if (self >= 0) registry.RemoveAt(self);
    for (INT_PTR i = m_arrSubMenus.GetSize() - 1; i >= 0; --i) {
        void* hSub = m_arrSubMenus[i];
        const INT_PTR found = registry.ReverseFind(hSub);
        if (found >= 0) registry.RemoveAt(found);
        // Only the pop-ups this menu made are its to delete.
        auto* pSub = DYNAMIC_DOWNCAST(CButtonMenu, CMenu::FromHandlePermanent(static_cast<HMENU>(hSub)));
        if (pSub && pSub->m_bOwnedByParent) delete pSub;
    }
    m_arrSubMenus.RemoveAll();
    DeleteRecords();
    if (m_pCheckBitmap && !m_bCheckBitmapBorrowed) delete m_pCheckBitmap;
    m_pCheckBitmap = nullptr;
    m_bLoaded = FALSE;
    return CMenu::DestroyMenu();
}

void CButtonMenu::DeleteRecords()
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        delete static_cast<CItemRecord*>(m_arrItems[i]);
    m_arrItems.RemoveAll();
}

void CButtonMenu::SyncItems()
{
    for (int r = 0; r < GetRecordCount(); ++r)
        RecordAt(r)->m_bTaken = FALSE;
    CMenuArray arrSynced;
    const int nCount = std::max(0, static_cast<int>(::GetMenuItemCount(m_hMenu)));
    for (int pos = 0; pos < nCount; ++pos) {
        const UINT nState = ::GetMenuState(m_hMenu, pos, MF_BYPOSITION);
        const HMENU hSub = ::GetSubMenu(m_hMenu, pos);
        const BOOL bSeparator = !hSub && (nState & MF_SEPARATOR);
        const UINT_PTR nKey = hSub ? reinterpret_cast<UINT_PTR>(hSub) : bSeparator ? 0 : ::GetMenuItemID(m_hMenu, pos);
        BOOL bNew = FALSE;
        CItemRecord* pRecord = TakeRecord(nKey, bNew);
        CString strText;
        if (GetMenuString(pos, strText, MF_BYPOSITION) > 0) pRecord->m_strText = strText;
        if (hSub) {
            // A pop-up's state carries its item count in the high byte.
            pRecord->m_nFlags = (nState & 0xFF) | MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP;
            if (bNew) CMenu::ModifyMenu(pos, pRecord->m_nFlags, nKey, reinterpret_cast<LPCTSTR>(pRecord));
        } else {
            pRecord->m_nFlags = nState | MF_BYPOSITION | MF_OWNERDRAW | (bSeparator ? MF_SEPARATOR : 0);
            CMenu::ModifyMenu(pos, pRecord->m_nFlags, nKey, reinterpret_cast<LPCTSTR>(pRecord));
        }
        arrSynced.Add(pRecord);
    }
    for (int r = 0; r < GetRecordCount(); ++r)
        if (!RecordAt(r)->m_bTaken) delete RecordAt(r);
    m_arrItems.RemoveAll();
    for (INT_PTR i = 0; i < arrSynced.GetSize(); ++i)
        m_arrItems.Add(arrSynced[i]);
}

// The first record for the id not yet taken in this pass, or a new one.
CButtonMenu::CItemRecord* CButtonMenu::TakeRecord(UINT_PTR nKey, BOOL& bNew)
{
    CItemRecord* pRecord = nullptr;
    for (int r = 0; r < GetRecordCount() && !pRecord; ++r)
        if (!RecordAt(r)->m_bTaken && RecordAt(r)->m_nID == nKey) pRecord = RecordAt(r);
    bNew = pRecord == nullptr;
    if (bNew) {
        pRecord = new CItemRecord;
        pRecord->m_nID = nKey;
    }
    pRecord->m_bTaken = TRUE;
    return pRecord;
}

// ---- queries -------------------------------------------------------------------------------

CButtonMenu::CItemRecord* CButtonMenu::RecordAt(int nPosition) const
{
    if (nPosition < 0 || nPosition >= GetRecordCount()) return nullptr;
    return static_cast<CItemRecord*>(m_arrItems[nPosition]);
}

// Item data from a message is trusted only when it is a record of this menu
// or of a pop-up it made (an owner measures pop-up items through its top menu).
CButtonMenu::CItemRecord* CButtonMenu::RecordOf(ULONG_PTR itemData, int nDepth) const
{
    if (nDepth > kMaxMenuDepth) return nullptr;
    for (int r = 0; r < GetRecordCount(); ++r)
        if (reinterpret_cast<ULONG_PTR>(RecordAt(r)) == itemData) return RecordAt(r);
    for (INT_PTR i = 0; i < m_arrSubMenus.GetSize(); ++i) {
        auto* pSub = DYNAMIC_DOWNCAST(CButtonMenu, CMenu::FromHandlePermanent(static_cast<HMENU>(m_arrSubMenus[i])));
        if (CItemRecord* pRecord = pSub ? pSub->RecordOf(itemData, nDepth + 1) : nullptr) return pRecord;
    }
    return nullptr;
}

BOOL CButtonMenu::GetItemText(UINT nID, CString& strText, UINT nFlags) const
{
    int nPosition = static_cast<int>(nID);
    const CButtonMenu* pOwner = this;
    if (!(nFlags & MF_BYPOSITION)) pOwner = const_cast<CButtonMenu*>(this)->FindItemMenu(nID, nPosition);
    const CItemRecord* pRecord = pOwner ? pOwner->RecordAt(nPosition) : nullptr;
    if (!pRecord) return FALSE;
    strText = pRecord->m_strText;
    return TRUE;
}

CButtonMenu* CButtonMenu::FindItemMenu(UINT nID, int& nPosition)
{
    return FindItemMenu(nID, nPosition, 0);
}

CButtonMenu* CButtonMenu::FindItemMenu(UINT nID, int& nPosition, int nDepth)
{
    if (nDepth > kMaxMenuDepth) return nullptr;
    const int nCount = std::max(0, static_cast<int>(::GetMenuItemCount(m_hMenu)));
    for (int pos = 0; pos < nCount; ++pos) {
        if (const HMENU hSub = ::GetSubMenu(m_hMenu, pos)) {
            auto* pSub = DYNAMIC_DOWNCAST(CButtonMenu, CMenu::FromHandlePermanent(hSub));
            if (CButtonMenu* pFound = pSub ? pSub->FindItemMenu(nID, nPosition, nDepth + 1) : nullptr) return pFound;
            continue;
        }
        if (::GetMenuItemID(m_hMenu, pos) == nID) {
            nPosition = pos;
            return this;
        }
    }
    return nullptr;
}

LRESULT CButtonMenu::FindMnemonic(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    if (!pMenu || !(nFlags & MF_POPUP)) return 0;
    CString strKey;
    strKey.Format(L"&%c", static_cast<wchar_t>(std::towlower(static_cast<wint_t>(nChar))));
    auto* pButtonMenu = DYNAMIC_DOWNCAST(CButtonMenu, pMenu);
    const int nCount = std::max(0, static_cast<int>(::GetMenuItemCount(pMenu->m_hMenu)));
    if (pButtonMenu && nCount != pButtonMenu->GetRecordCount()) pButtonMenu->SyncItems();
    for (int pos = 0; pos < nCount; ++pos) {
        CString strText;
        if (!pButtonMenu || !pButtonMenu->GetItemText(pos, strText, MF_BYPOSITION))
            pMenu->GetMenuString(pos, strText, MF_BYPOSITION);
        strText.MakeLower();
        if (strText.Find(strKey) >= 0) return pos | (MNC_EXECUTE << 16);
    }
    return 0;
}

BOOL CButtonMenu::IsButtonMenu(HMENU hMenu)
{
    return hMenu && Registry().ReverseFind(hMenu) >= 0;
}

BOOL CButtonMenu::IsButtonMenu(CMenu* pMenu)
{
    return pMenu && IsButtonMenu(pMenu->m_hMenu);
}

// ---- owner drawing -------------------------------------------------------------------------

void CButtonMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    const CItemRecord* pRecord = lpMIS ? RecordOf(lpMIS->itemData) : nullptr;
    if (!pRecord) return;
    const int s = XPLookWanted() ? kXPSpacing : kClassicSpacing;
    const int nBarHeight = ::GetSystemMetrics(SM_CYMENU);
    if (pRecord->m_nFlags & MF_SEPARATOR) {
        lpMIS->itemWidth = 0;
        lpMIS->itemHeight = std::max((m_nImageHeight + s) / 2, nBarHeight / 2);
        return;
    }
    // Measured in the font the menu draws with, so that no text is cut.
    SIZE size = {0, 0};
    if (GetWinVersion() != 0) size = CMenuFontDC().Extent(pRecord->m_strText);
    const int nWidth = XPLookWanted() ? m_nImageWidth + size.cx + s + 8 : size.cx + 2 * m_nImageWidth + 1;
    lpMIS->itemWidth = static_cast<UINT>(std::max(0, nWidth));
    lpMIS->itemHeight = static_cast<UINT>(std::max(nBarHeight, m_nImageHeight + s));
}

void CButtonMenu::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (!lpDIS || lpDIS->CtlType != ODT_MENU || !lpDIS->hDC) return;
    const CItemRecord* pRecord = RecordOf(lpDIS->itemData);
    if (!pRecord) return;
    const BOOL bPalette = (::GetDeviceCaps(lpDIS->hDC, RASTERCAPS) & RC_PALETTE) != 0;
    if (!bPalette && XPLookWanted())
        DrawItemXP(lpDIS, *pRecord);
    else
        DrawItemClassic(lpDIS, *pRecord);
}

void CButtonMenu::DrawItemClassic(LPDRAWITEMSTRUCT lpDIS, const CItemRecord& record)
{
    CDC dc;
    if (!dc.Attach(lpDIS->hDC)) return;
    {
        CDCStateSaver saved(dc);
        PaintClassic(dc, *lpDIS, record);
    }
    dc.Detach();
}

void CButtonMenu::PaintClassic(CDC& dc, const DRAWITEMSTRUCT& dis, const CItemRecord& record)
{
    const CRect rc(dis.rcItem);
    const COLORREF crBack = ::GetSysColor(XPLookWanted() ? COLOR_BTNFACE : COLOR_MENU);
    const BOOL bSelected = (dis.itemState & ODS_SELECTED) != 0;
    const BOOL bChecked = (dis.itemState & ODS_CHECKED) != 0;
    if (record.m_nFlags & MF_SEPARATOR) {
        FillWith(dc, rc, crBack);
        CRect rcLine(rc.left, rc.top + rc.Height() / 2, rc.right, rc.bottom);
        dc.DrawEdge(&rcLine, EDGE_ETCHED, BF_TOP);
        return;
    }
    if (!bSelected)
        FillWith(dc, rc, crBack);
    else if (bChecked)
        FillWith(dc, CRect(rc.left + m_nImageWidth + 5, rc.top, rc.right, rc.bottom), ::GetSysColor(COLOR_HIGHLIGHT));
    else
        FillWith(dc, rc, ::GetSysColor(COLOR_HIGHLIGHT));
    if (bChecked) DrawClassicCheck(dc, dis, crBack);
    if (record.m_strText.IsEmpty()) return;

    dc.SetBkMode(TRANSPARENT);
    const CRect rcText(rc.left + m_nImageWidth + 9, rc.top - 1, rc.right, rc.bottom - 1);
    if (!(dis.itemState & ODS_GRAYED)) {
        const COLORREF crText = ::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
        DrawSplitText(dc, record.m_strText, rcText, m_nImageWidth, crText);
    } else if (!bSelected) {
        // Engraved: a highlight one pixel down and right, the grey on top.
        CRect rcEngraved = rcText;
        rcEngraved.OffsetRect(1, 1);
        DrawSplitText(dc, record.m_strText, rcEngraved, m_nImageWidth, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawSplitText(dc, record.m_strText, rcText, m_nImageWidth, ::GetSysColor(COLOR_GRAYTEXT));
    } else {
        DrawSplitText(dc, record.m_strText, rcText, m_nImageWidth, crBack);
    }
}

void CButtonMenu::DrawClassicCheck(CDC& dc, const DRAWITEMSTRUCT& dis, COLORREF crBack)
{
    const CRect rc(dis.rcItem);
    const int d = std::max(0, (rc.Height() - m_nImageHeight - 4) / 2);
    CRect rcBox(rc.left + 1, rc.top + d + 2, rc.left + m_nImageWidth + 1, rc.top + d + m_nImageHeight + 2);
    FillWith(dc, rcBox, (dis.itemState & ODS_SELECTED) ? crBack : LightenColor(crBack, 0.6));
    if (GetWinVersion() >= 2) dc.DrawEdge(&rcBox, BDR_SUNKENOUTER, BF_RECT);
    const COLORREF crMark = ::GetSysColor(COLOR_MENUTEXT);
    if (HasCheckBitmap(dis))
        DrawRadioDot(dc, rcBox.left + 5, rcBox.top + 4, crMark);
    else
        DrawTick(dc, rcBox.left + 4, rcBox.top + 4, crMark);
}

void CButtonMenu::DrawItemXP(LPDRAWITEMSTRUCT lpDIS, const CItemRecord& record)
{
    CDC target;
    if (!target.Attach(lpDIS->hDC)) return;
    {
        CDCStateSaver saved(target);
        if (!(lpDIS->itemState & ODS_GRAYED)) {
            PaintXP(target, *lpDIS, record);
        } else {
            // A disabled item is composed off-screen in the menu font and copied in one piece.
            CMenuMemDC memDC(&target, CRect(lpDIS->rcItem));
            CDC& dc = memDC.GetSafeHdc() ? static_cast<CDC&>(memDC) : target;
            NONCLIENTMETRICSW metrics = {};
            metrics.cbSize = sizeof(metrics);
            CFont menuFont;
            CDCObjectSelector<CFont> font(dc);
            if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
                menuFont.CreateFontIndirect(&metrics.lfMenuFont))
                font.Select(&menuFont);
            PaintXP(dc, *lpDIS, record);
        }
    }
    target.Detach();
}

void CButtonMenu::PaintXP(CDC& dc, const DRAWITEMSTRUCT& dis, const CItemRecord& record)
{
    const CRect rc(dis.rcItem);
    const int c = m_nImageWidth + 7;   // the icon column
    const COLORREF crMenu = ::GetSysColor(COLOR_WINDOW);
    const COLORREF crColumn = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF crSelect = ::GetSysColor(COLOR_HIGHLIGHT);
    const BOOL bGrayed = (dis.itemState & ODS_GRAYED) != 0;
    const BOOL bSelected = (dis.itemState & ODS_SELECTED) && !bGrayed;
    const CRect rcColumn(rc.left, rc.top, rc.left + c, rc.bottom);

    if (record.m_nFlags & MF_SEPARATOR) {
        FillWith(dc, rc, crMenu);
        FillWith(dc, rcColumn, crColumn);
        CRect rcLine(rc.left + c + 7, rc.top + rc.Height() / 2, rc.right, rc.bottom);
        dc.DrawEdge(&rcLine, EDGE_ETCHED, BF_TOP);
        return;
    }
    if (bSelected) {
        FillWith(dc, rc, LightenColor(crSelect, 0.7));
        FrameWith(dc, rc, crSelect);
    } else {
        FillWith(dc, rc, crMenu);
        FillWith(dc, rcColumn, crColumn);
    }
    if (dis.itemState & ODS_CHECKED) DrawXPCheck(dc, dis);
    if (record.m_strText.IsEmpty()) return;
    dc.SetBkMode(TRANSPARENT);
    const CRect rcText(rc.left + c + 8, rc.top - 1, rc.right, rc.bottom - 1);
    const COLORREF crText = ::GetSysColor(bGrayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
    DrawSplitText(dc, record.m_strText, rcText, m_nImageWidth, crText);
}

void CButtonMenu::DrawXPCheck(CDC& dc, const DRAWITEMSTRUCT& dis)
{
    const CRect rc(dis.rcItem);
    const int c = m_nImageWidth + 7;
    const int dx = std::max(0, static_cast<int>((c - 16 + 1) * 0.5));
    const int dy = std::max(0, static_cast<int>((rc.Height() - 16 + 1) * 0.5));
    const CRect rcBox(rc.left + dx, rc.top + dy, rc.left + dx + 16, rc.top + dy + 16);
    const COLORREF crSelect = ::GetSysColor(COLOR_HIGHLIGHT);
    FillWith(dc, rcBox, LightenColor(crSelect, 0.85));
    FrameWith(dc, rcBox, crSelect);
    // Both marks sit at the same place in this look.
    const COLORREF crMark = ::GetSysColor(COLOR_MENUTEXT);
    if (HasCheckBitmap(dis))
        DrawRadioDot(dc, rcBox.left + 5, rcBox.top + 4, crMark);
    else
        DrawTick(dc, rcBox.left + 5, rcBox.top + 4, crMark);
}
