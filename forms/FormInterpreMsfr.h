// The interpretation form of master-step records: eight request fields, up
// to three additions, the IVREL judgement, the comment and the
// confirmation, placed from Interpre_msfr; an additions block the record
// lacks or the stylesheet hides closes up, and wrapped addition texts and a
// comment beyond six lines grow their rows.
#pragma once

#include "forms/FormControls.h"
#include "forms/FormInterpreBase.h"

class CMultiEdit;
struct _FINALDATAITEM;
struct _POSITION_CTRL;

class CFormInterpreMsfr : public CFormInterpreBase {
    DECLARE_DYNCREATE(CFormInterpreMsfr)

public:
    enum { IDD = 134 };
    static constexpr int kRowCount = 41;

    CFormInterpreMsfr();
    ~CFormInterpreMsfr() override;

    int InsertEditableParam();
    void InitCheckUIArray() override;
    void UpdateCtrlStatus() override;
    void LimitCtrl() override;
    void MoveCtrl(int bRetry) override;
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Cumulative extra lines of addition row `row` (0 to 2); 0 for any other row.
    int GetAdditionLineCount(int row) const;

    CWnd* GetRowControl(int row) const { return m_controls.Row(row); }
    CMultiEdit* GetCommentEdit() const;
    int GetCommentExtraHeight() const { return m_nCommentExtraHeight; }
    int GetLayoutPasses() const { return m_nLayoutPasses; }

protected:
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg LRESULT OnCommentWidthChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCmbSelChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT InterpreAddition(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    struct Walk;

    const _POSITION_CTRL* Layout() const;
    _FINALDATAITEM* CurrentItem() const;
    bool AdditionsOn(const _FINALDATAITEM* item) const;
    int FontHeight() const;
    void InitEditableParam();
    void SetupCtrl();
    void UpdateColor();
    void UpdateAdditionLineCount();
    void PlaceRow(int row, Walk& walk, const _FINALDATAITEM& item);
    void TakeScrollBar(Walk& walk);
    void TellPaneActive();
    void DeleteAddition(int k);
    void EditAddition(int k);
    void EditComment();
    void OpenSheet(int nPage);
    BOOL OnTabKey();
    bool FocusFirstUsable(int first, int last, int step);

    CFormControls m_controls;
    CWnd m_commentTemplate;            // the template's edit 3621, kept hidden
    int m_nCommentExtraHeight = 0;     // design units beyond six lines
    int m_bInitialized = 0;
    int m_nAdditionLines[3] = {};
    int m_nLayoutPasses = 0;
};
