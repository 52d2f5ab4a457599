// The strip of patient fields above most examination pages: ID, name, sub ID,
// kana name, sex, age with its unit and sub-age, height, weight, blood
// pressure, acquisition time and the confirmation. Its thirty controls are
// bound to the document's store (ids 3000 to 3029) and placed from the layout
// table Patient_info; a double-click or the host's request opens the patient
// property sheets, and Print draws the strip into a report rectangle.
#pragma once

#include "controls/CheckComboBox.h"
#include "controls/CheckEdit.h"
#include "controls/CheckStatic.h"
#include "forms/FormEx.h"

class CECGDC;

class CFormPatientInfo : public CFormEx {
    DECLARE_DYNCREATE(CFormPatientInfo)

public:
    enum { IDD = 101 };
    static constexpr int kRowCount = 30;

    CFormPatientInfo();
    ~CFormPatientInfo() override;

    // Draws every visible control's text at its design place mapped into `rc`; 1.
    virtual int Print(CECGDC* pDC, CRect rc);

    void OnInitialUpdate() override;
    void InitCheckUIArray() override;
    void LimitCtrl() override;
    void ShowText() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The control of layout row `row` (0 to 29), null outside.
    CWnd* GetRowControl(int row) const;

protected:
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg LRESULT OnUpdateModify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowEditDialog(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCmbSelChange(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void BindControls();
    void SetupCtrl();
    void PlaceRows();
    void FollowAgeUnit();
    void ShowSubAge(int nUnit);
    // Opens the sheet the kind uses on `nPage`; tells the pane's parent on OK.
    void OpenPatientSheet(int nPage, bool bGeneral);
    bool UsesGeneralSheetForRequest() const;
    bool UsesGeneralSheetForDoubleClick() const;
    void SendToPaneParent(UINT message);

    CCheckStatic m_statics[18];
    CCheckEdit m_edits[10];
    CCheckComboBox m_combos[2];
    CWnd* m_rows[kRowCount] = {};   // the control of each layout row
    int m_bInitialized = 0;
};
