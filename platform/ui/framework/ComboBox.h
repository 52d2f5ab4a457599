// CComboBox: the framework's combo box, a "ComboBox" window. Every
// operation is the CB_ message of the same meaning. An owner-drawn combo box
// draws, measures, compares and deletes its items in the virtual functions
// below when its parent reflects the owner-drawn messages to it.
#pragma once

#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/ControlRecords.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() = default;
    ~CComboBox() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    using CWnd::Create;   // the child-window form of every window stays callable

    // ---- items ----------------------------------------------------------------------------
    // The index of the new item, CB_ERR or CB_ERRSPACE.
    int AddString(LPCTSTR lpszString);
    int InsertString(int nIndex, LPCTSTR lpszString);
    // The items left, or CB_ERR.
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetLBText(int nIndex, LPTSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    // From the item after nStartAfter (-1: the first), wrapping; case is ignored.
    int FindString(int nStartAfter, LPCTSTR lpszString) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszString);

    // ---- selection and the edit ------------------------------------------------------------
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    DWORD GetEditSel() const;
    BOOL SetEditSel(int nStartChar, int nEndChar);
    BOOL LimitText(int nMaxChars);
    void Clear();
    void Copy();
    void Cut();
    void Paste();

    // ---- the list -----------------------------------------------------------------------------
    void ShowDropDown(BOOL bShowIt = TRUE);
    BOOL GetDroppedState() const;
    void GetDroppedControlRect(LPRECT lprect) const;
    int GetDroppedWidth() const;
    int SetDroppedWidth(UINT nWidth);
    int SetExtendedUI(BOOL bExtended = TRUE);
    BOOL GetExtendedUI() const;
    int GetItemHeight(int nIndex) const;
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    UINT GetHorizontalExtent() const;
    void SetHorizontalExtent(UINT nExtent);

    // ---- owner-drawn items ---------------------------------------------------------------------
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
