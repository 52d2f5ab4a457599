// The additional-information page of both patient sheets: up to 256
// numbered entries (a title and a content), 16 shown at a time, with the
// record's login name and time. The page keeps a working copy of every
// entry; the sheet asks it whether anything changed and has it write the
// entries, compacted, into the current item.
#pragma once

#include "core/AdditionalInfo.h"
#include "platform/ui/framework/PropertyPage.h"

class CFont;
class CTavrionDoc;


#define ADDITION_PAGE_ROWS 16

class CPageAdditionalInfor : public CPropertyPage {
    DECLARE_DYNAMIC(CPageAdditionalInfor)

public:
    enum { IDD = 149 };
    CPageAdditionalInfor();
    ~CPageAdditionalInfor() override;

    void SetDoc(CTavrionDoc* pDoc, int nType);
    // Non-zero when an entry differs from the current item's record.
    int IsDataChange();
    // Writes the entries, blanks dropped and the rest moved up, into the item;
    // nothing when no entry differs from the item's.
    void SaveDataToItem();

    int GetPageIndex() const { return m_nPage; }

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnFixedPhrase();
    afx_msg void OnDeleteItem(UINT id);
    afx_msg void OnDeltaposSpin(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnUpdateItemText(UINT id);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    _ADDITIONAL_INFO* CurrentRecord() const;
    void InitReadOnlyLayout();
    void LoadAdditionData();
    void InitControls();
    void ShowItemPage();
    // Takes the 16 visible rows into the working copy at the current page.
    void TakeVisibleRows();
    bool IsReadOnly() const;

    CTavrionDoc* m_pDoc;
    int m_nType;
    CString m_strTitle[ADDITION_MAX];
    CString m_strContent[ADDITION_MAX];
    CString m_strLoginTime;
    CString m_strLoginName;
    int m_nPage;
    CFont* m_pFont;
};
