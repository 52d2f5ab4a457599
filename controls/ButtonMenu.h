// CButtonMenu: a menu whose pop-up items paint themselves, in the classic
// look (menu colours, sunken check boxes, engraved disabled text) or the XP
// look (window-coloured items beside a button-face icon column, a lightened
// highlight framed in the highlight colour). It is built from an ordinary
// menu resource, keeps one record per item as the item's data, lines up
// accelerators, answers mnemonic keys and registers the pop-ups it creates
// so that a window can tell them from other menus. The owner-drawn button
// holds one as its drop-down menu.
#pragma once

#include <vector>

#include "controls/MenuArray.h"
#include "platform/gdi/Dc.h"
#include "platform/ui/framework/Menu.h"

namespace platform::ui {
struct MenuTemplateItem;
}

// Each of red, green and blue moved toward 255 by `factor` of the way, for a
// factor in (0, 1]; any other factor gives the colour back unchanged.
COLORREF LightenColor(COLORREF crColor, double factor);

class CButtonMenu : public CMenu {
    DECLARE_DYNAMIC(CButtonMenu)
public:
    // What a menu keeps of each of its items, stored as the item's data.
    struct CItemRecord {
        CString m_strText;          // label, then a tab and the accelerator when there is one
        int m_nImageIndex = -1;     // in its own image list; -1 none
        int m_nSharedImage = -1;    // in the shared command image table; -1 none
        int m_nOwnImage = -1;       // -1: no image of its own
        UINT m_nFlags = 0;          // MF_ flags of the item
        UINT_PTR m_nID = 0;         // the command, or the pop-up's HMENU
        BOOL m_bTaken = FALSE;      // claimed during one re-synchronisation
    };

    CButtonMenu();
    ~CButtonMenu() override;

    // ---- building -------------------------------------------------------------------------
    // Replaces the contents with an RT_MENU resource. FALSE when it is missing
    // or unreadable (the contents stay) or no menu can be made (they are gone).
    virtual BOOL LoadMenu(LPCTSTR lpszResourceName);
    virtual BOOL LoadMenu(UINT nIDResource);
    // Frees the pop-ups, the records and the menu itself.
    virtual BOOL DestroyMenu();
    // Appends an owner-drawn item (an id of 0 makes a separator); the AppendMenu result.
    BOOL AppendItem(LPCTSTR lpszText, UINT nFlags, UINT_PTR nID, int nImage = -1);

    // ---- owner drawing ----------------------------------------------------------------------
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

    // ---- queries ------------------------------------------------------------------------------
    // By position with MF_BYPOSITION, else by command anywhere in the menu tree.
    BOOL GetItemText(UINT nID, CString& strText, UINT nFlags) const;
    // The menu (of this tree) that holds the command, and its position there; null when none.
    CButtonMenu* FindItemMenu(UINT nID, int& nPosition);
    int GetRecordCount() const { return static_cast<int>(m_arrItems.GetSize()); }

    // WM_MENUCHAR: the item whose text holds "&" and the character, as
    // position | MNC_EXECUTE << 16; 0 when none does.
    static LRESULT FindMnemonic(UINT nChar, UINT nFlags, CMenu* pMenu);
    // Whether a CButtonMenu created the pop-up.
    static BOOL IsButtonMenu(HMENU hMenu);
    static BOOL IsButtonMenu(CMenu* pMenu);

    // ---- the system the menu runs on --------------------------------------------------------
    // The Windows version class, 0 to 7 (see ClassifyWinVersion); computed once.
    static int GetWinVersion();
    // 0 Windows below 4 (9x branch), 1 other NT, 2 Windows 95, 3 Windows 98,
    // 4 Windows ME, 5 NT 4, 6 Windows 2000, 7 Windows XP.
    static int ClassifyWinVersion(DWORD dwPlatformId, DWORD dwMajor, DWORD dwMinor);
    // Whether the desktop runs "Windows Classic.theme"; read once, then kept.
    static BOOL IsClassicTheme();
    // The same read of the registry, done every time.
    static BOOL ProbeClassicTheme();
    // Makes the menus behave as on version class nClass (for a host that
    // emulates an older desktop, and for tests); returns the previous class.
    static int OverrideWinVersion(int nClass);

protected:
    void DrawItemClassic(LPDRAWITEMSTRUCT lpDIS, const CItemRecord& record);
    void DrawItemXP(LPDRAWITEMSTRUCT lpDIS, const CItemRecord& record);
    void AlignAccelerators();
    void SyncItems();
    void RestorePopups();

private:
    CItemRecord* RecordOf(ULONG_PTR itemData, int nDepth = 0) const;
    CItemRecord* RecordAt(int nPosition) const;
    CButtonMenu* NewPopup();
    CItemRecord* TakeRecord(UINT_PTR nKey, BOOL& bNew);
    BOOL BuildItems(const std::vector<platform::ui::MenuTemplateItem>& items, int nDepth);
    CButtonMenu* FindItemMenu(UINT nID, int& nPosition, int nDepth);
    void PaintClassic(CDC& dc, const DRAWITEMSTRUCT& dis, const CItemRecord& record);
    void DrawClassicCheck(CDC& dc, const DRAWITEMSTRUCT& dis, COLORREF crBack);
    void PaintXP(CDC& dc, const DRAWITEMSTRUCT& dis, const CItemRecord& record);
    void DrawXPCheck(CDC& dc, const DRAWITEMSTRUCT& dis);
    void DeleteRecords();

    CMenuArray m_arrItems;        // CItemRecord*, one per item in menu order; owned
    CMenuArray m_arrSubMenus;     // HMENU of the pop-ups this menu created
    int m_nImageWidth = 16;       // pixels of the item image cell
    int m_nImageHeight = 15;
    CBitmap* m_pCheckBitmap = nullptr;   // none is set in this system
    BOOL m_bCheckBitmapBorrowed = FALSE; // TRUE in pop-ups, which share their parent's
    int m_nCheckSelectedId = -1;
    int m_nCheckNormalId = -1;
    BOOL m_bLoaded = FALSE;       // LoadMenu built the contents
    BOOL m_bOwnedByParent = FALSE;// made by a parent's LoadMenu, which deletes it
};
