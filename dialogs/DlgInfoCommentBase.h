// What the two information-editing sheets share: the sheet of pages on the
// dialog, its buttons and tabs, the doctor button that checks the first
// page, confirms the item and saves, the save of a confirmation or a failed
// save still pending when nothing else changed, and the memory of whether
// the last save of the record XML failed.
#pragma once

#include <initializer_list>

#include "dialogs/DlgModal.h"
#include "dialogs/EditingOk.h"
#include "platform/ui/framework/PropertySheet.h"

class CFont;
class CTavrionDoc;

class CDlgInfoCommentBase : public CDlgModal {
    DECLARE_DYNAMIC(CDlgInfoCommentBase)

public:
    ~CDlgInfoCommentBase() override;

    CPropertySheet& Sheet() { return m_sheet; }

protected:
    CDlgInfoCommentBase(UINT nIDTemplate, CWnd* pParent, int nType);

    // The stamp and confirmation fields of the current item; false without one.
    virtual bool CurrentFields(_EDIT_STAMP_FIELDS& fields) const = 0;
    // The first page's value checks: 0 when every value passes, else 255.
    virtual int CheckFirstPage() = 0;
    // Whether the doctor button stops when the current item cannot be found.
    virtual bool ConfirmNeedsItem() const { return false; }

    // The caption and the texts of the three buttons, in the dialog's font.
    void InitControlText();
    // Creates the sheet of the pages added so far on the dialog and names
    // its tabs `tabTexts`, in order.
    void CreateSheet(std::initializer_list<const wchar_t*> tabTexts);
    void KeepButtonsBelowSheet();
    bool HasPages() const { return m_sheet.GetSafeHwnd() != nullptr; }
    // Commits in `order` and remembers whether the save failed.
    bool CommitSave(std::initializer_list<CEditingOk::CommitStep> order);
    // OK with nothing changed: a confirmation, or an edit whose save failed,
    // is still written; the dialog closes unless that save fails.
    void CloseUnchanged();

    afx_msg void OnDoctorInput();
    DECLARE_MESSAGE_MAP()

    CPropertySheet m_sheet;
    CTavrionDoc* m_pDoc;
    int m_nType;
    CFont* m_pFont;          // the dialog font for the screen's width
    int m_bAddition;         // 1 when the sheet has the additional-information page
    int m_bDoctorConfirmed;  // 1 after the doctor button confirmed the item
    int m_nCheckResult;      // the first page's last check; 255 until one passes
    int m_bSaveFailed;       // 1 while the last save of the record XML failed: OK writes it again
    CString m_strName;       // the editor or doctor the save is stamped with
};
