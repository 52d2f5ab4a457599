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

#include "dialogs/DlgInfoCommentBase.h"
#include "dialogs/PageAdditionalInfor.h"
#include "dialogs/PagePatientCommentExer.h"
#include "dialogs/PagePatientCommentGeneral.h"

class CTavrionDoc;

class CDlgInfoCommentGeneral : public CDlgInfoCommentBase {
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

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void SaveInformation(CString strName);
    bool CurrentFields(_EDIT_STAMP_FIELDS& fields) const override;
    int CheckFirstPage() override;
    bool IsExercise() const;
    // The first page's answers, whichever page it is.
    int FirstPageChanged();
    int FirstPageInformationChanged();
    int FirstPageCommentChanged();

    CPagePatientCommentGeneral m_pageGeneral;
    CPagePatientCommentExer m_pageExer;
    CPageAdditionalInfor m_pageAddition;
    int m_nInitialPage;
};
