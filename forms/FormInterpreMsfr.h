// The interpretation form of master-step records: eight request fields, up
// to three additions, the IVREL judgement, the comment and the
// confirmation, placed from Interpre_msfr; an additions block the record
// lacks or the stylesheet hides closes up, and wrapped addition texts and a
// comment beyond six lines grow their rows.
#pragma once

#include "forms/AdditionFormCommon.h"

class CFormInterpreMsfr : public CAdditionFormCommon {
    DECLARE_DYNCREATE(CFormInterpreMsfr)

public:
    enum { IDD = 134 };
    static constexpr int kRowCount = 41;

    CFormInterpreMsfr();
    ~CFormInterpreMsfr() override;

    void UpdateCtrlStatus() override;
    void LimitCtrl() override;

protected:
    const Shape& GetShape() const override;
    const _POSITION_CTRL* Layout() const override;
    bool CurrentAdditionItem(AdditionItem& item) const override;
    bool AdditionsOn(const AdditionItem& item) const override;
    std::vector<std::pair<int, UINT>> RequestLists() const override;
    bool EditsAdditions() const override { return m_nDocType == 1; }   // the master-step kind
    void SetupCtrl() override;
    std::vector<UINT> ScrollNarrowed() const override;
    UINT JudgementComboId() const override;

    // The judgement combo box changed: its code goes into the code static.
    afx_msg LRESULT OnCmbSelChange(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
