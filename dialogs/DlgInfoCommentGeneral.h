// The general patient and comment sheet of master-step, rhythm, RR,
// extra-lead, MFER and exercise records: the general patient page (the
// exercise patient page for exercise records) and, when the record carries
// additions, the additional-information page. OK asks the
// pages whether anything changed, checks the first page, asks for the
// editor, stamps and writes back the item, and has the document save the
// record XML and notify its window. The doctor button confirms the record
// and saves the same way. A save that fails is told to the user, the window
// is not notified and the dialog stays open for another try.
#pragma once

#include <initializer_list>

#include "dialogs/DlgModal.h"
#include "dialogs/EditingOk.h"
#include "dialogs/PageAdditionalInfor.h"
#include "dialogs/PagePatientCommentExer.h"
#include "dialogs/PagePatientCommentGeneral.h"
#include "platform/ui/framework/PropertySheet.h"

class CFont;
class CTavrionDoc;

class CDlgInfoCommentGeneral : public CDlgModal {
    DECLARE_DYNAMIC(CDlgInfoCommentGeneral)

public:
    enum { IDD = 105 };
    explicit CDlgInfoCommentGeneral(CWnd* pParent = nullptr);
    ~CDlgInfoCommentGeneral() override;

    void SetDoc(CTavrionDoc* pDoc, int nType);
    // Non-zero: the sheet opens on the additional-information page.
    void SetActivePage(int nPage) { m_nInitialPage = nPage; }

    // The pages, for the host and the tests.
    CPagePatientCommentGeneral& GeneralPage() { return m_pageGeneral; }
    CPagePatientCommentExer& ExerPage() { return m_pageExer; }
    CPageAdditionalInfor& AdditionPage() { return m_pageAddition; }
    CPropertySheet& Sheet() { return m_sheet; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnDoctorInput();
    DECLARE_MESSAGE_MAP()

private:
    void InitControlText();
    void SaveInformation(CString strName);
    // The stamp and confirmation fields of the current item; false without one.
    bool CurrentFields(_EDIT_STAMP_FIELDS& fields) const;
    // Commits in `order` and remembers whether the save failed.
    bool CommitSave(std::initializer_list<CEditingOk::CommitStep> order);
    bool HasPages() const { return m_sheet.GetSafeHwnd() != nullptr; }
    bool IsExercise() const;
    // The first page's answers, whichever page it is.
    int FirstPageChanged();
    int CheckFirstPage();
    int FirstPageInformationChanged();
    int FirstPageCommentChanged();

    CPropertySheet m_sheet;
    CPagePatientCommentGeneral m_pageGeneral;
    CPagePatientCommentExer m_pageExer;
    CPageAdditionalInfor m_pageAddition;
    CTavrionDoc* m_pDoc;
    int m_nType;
    CFont* m_pFont;
    int m_nInitialPage;
    int m_bAddition;
    int m_bDoctorConfirmed;
    int m_nCheckResult;
    int m_bSaveFailed;   // 1 while the last save of the record XML failed: OK writes it again
    CString m_strName;
};
