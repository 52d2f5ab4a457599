// CTabCtrl: the framework's tab control, a "SysTabControl32" window.
#pragma once

#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/CommCtrl.h"

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    CTabCtrl() = default;
    ~CTabCtrl() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    using CWnd::Create;   // the child-window form of every window stays callable

    int GetItemCount() const;
    BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const;
    BOOL SetItem(int nItem, TCITEM* pTabCtrlItem);
    // The index given to the new item, -1 on failure.
    LONG InsertItem(int nItem, TCITEM* pTabCtrlItem);
    LONG InsertItem(int nItem, LPCTSTR lpszItem);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetCurSel() const;
    int SetCurSel(int nItem);
    int GetCurFocus() const;
    void SetCurFocus(int nItem);
    BOOL GetItemRect(int nItem, LPRECT lpRect) const;
    // The display area for a window rectangle (bLarger FALSE), or the window
    // rectangle for a display area (TRUE).
    void AdjustRect(BOOL bLarger, LPRECT lpRect);
    int HitTest(TCHITTESTINFO* pHitTestInfo) const;
    int GetRowCount() const;
    CSize SetItemSize(CSize size);
};
