// The general patient page: the patient data, the general interpretation
// and the comment of master-step, rhythm, RR, extra-lead and MFER records,
// the first page of the general sheet. Like the patient information page
// it hides the fields that may not be edited and paints them as underlined
// text, checks the values with CheckInputValue and writes them into the
// current item only when the sheet asks.
#pragma once

#include "dialogs/DisplayOnlyRows.h"
#include "dialogs/PagePatientBase.h"

class CDC;
class CTavrionDoc;

#define GENERAL_PAGE_ROWS 26

class CPagePatientCommentGeneral : public CPagePatientBase {
    DECLARE_DYNAMIC(CPagePatientCommentGeneral)

public:
    enum { IDD = 136 };
    CPagePatientCommentGeneral();
    ~CPagePatientCommentGeneral() override;

    // Sets the three change flags; non-zero when anything changed.
    int IsDataChange();
    int CheckPatientData();
    void SaveDataToItem();
    int IsInformationChange() const { return m_bInformationChange; }
    int IsCommentChange() const { return m_bCommentChange; }
    int IsJudgementChange() const { return m_bJudgementChange; }

    static const wchar_t* TripLabel();

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSelchangeAgeUnit();
    afx_msg void OnEditComment();
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

public:
    // Where the current item keeps each field the page edits; null where
    // the kind has no such field. Public for the sheet's stamps.
    struct ItemFields;

private:
    bool CurrentItem(ItemFields& fields) const;
    bool IsMasterStep() const { return m_nType == 1; }
    bool TripRowsShown() const;
    void InitCtrlLayout();
    void InitComboItems();
    void InitCtrlText();
    void LoadPatientData();
    void LoadJudgements();

    int m_bInformationChange;
    int m_bCommentChange;
    int m_bJudgementChange;
    CDisplayOnlyRows m_rows;
    int m_nLoadedJudgement;   // the judgement list's selection when the page opened
};
