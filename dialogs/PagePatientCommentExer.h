// The exercise patient page: the patient data and request fields of an
// exercise record, its load protocol, end condition, maximum and target
// heart rate, overall judgement and a comment of up to three lines; the
// first page of the general sheet for exercise records. Like the other
// patient pages it hides the fields that may not be edited and paints them
// as underlined text, checks the values with CheckInputValue and writes
// into the current item only when the sheet asks.
#pragma once

#include <memory>

#include "dialogs/DisplayOnlyRows.h"
#include "dialogs/PagePatientBase.h"

class CECGXMLParser;
class CTavrionDoc;
struct _EXERDATAITEM;

#define EXER_PAGE_ROWS 26

class CPagePatientCommentExer : public CPagePatientBase {
    DECLARE_DYNAMIC(CPagePatientCommentExer)

public:
    enum { IDD = 137 };
    CPagePatientCommentExer();
    ~CPagePatientCommentExer() override;

    // Sets the information-changed and comment-changed flags; non-zero when
    // anything shown differs from the current item.
    int IsDataChange();
    int IsInformationChange() const { return m_bInformationChange; }
    int IsCommentChange() const { return m_bCommentChange; }
    // 0 when every value passes; 255 after the box of the first that fails.
    int CheckPatientData();
    void SaveDataToItem();

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSelchangeAgeUnit();
    afx_msg void OnEditComment();
    afx_msg void OnUpdateComment();
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    _EXERDATAITEM* CurrentItem() const;
    void InitCtrlLayout();
    void InitComboItems();
    void InitCtrlText();
    void LoadPatientData();
    void LoadRequestCombo(int id, int list, const CString& stored, int limit);
    // Whether the comment edit holds other than the stored comment's lines.
    bool CommentEdited(const CString& stored) const;

    int m_bInformationChange;
    int m_bCommentChange;
    std::unique_ptr<CECGXMLParser> m_pIvrel;   // Ivrel12.xml of the work directory
    CDisplayOnlyRows m_rows;
    int m_nLoadedJudgement;   // the judgement list's selection when the page opened
    int m_nLoadedStop;        // the end-condition list's selection when the page opened
};
