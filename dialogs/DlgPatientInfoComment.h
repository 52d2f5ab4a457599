// The patient and comment sheet of resting and MFER records: the patient
// information page, the interpretation comment page and, when the record
// carries additions (never a model-8000 resting record), the additional-
// information page. OK asks the pages whether anything changed, checks the
// patient page, asks for the editor (the doctor for a model-8000 record,
// whose save is the doctor's confirmation), stamps and writes back the item,
// and has the document save the record XML and notify its window. A save
// that fails is told to the user, the window is not notified and the dialog
// stays open for another try.
#pragma once

#include "dialogs/DlgInfoCommentBase.h"
#include "dialogs/PageAdditionalInfor.h"
#include "dialogs/PagePatientComment.h"
#include "dialogs/PagePatientInfo.h"

class CTavrionDoc;

class CDlgPatientInfoComment : public CDlgInfoCommentBase {
    DECLARE_DYNAMIC(CDlgPatientInfoComment)

public:
    enum { IDD = 105 };
    // nMode: the page to open on: 0 patient, 1 comment, 2 additional information.
    explicit CDlgPatientInfoComment(int nMode, CWnd* pParent = nullptr);
    ~CDlgPatientInfoComment() override;

    void SetDoc(CTavrionDoc* pDoc, int nType);
    // The page shown after the initial mode's; -1 keeps the mode's.
    void SetActivePage(int nPage) { m_nExplicitPage = nPage; }

    // The pages, for the host and the tests.
    CPagePatientInfo& PatientPage() { return m_pagePatient; }
    CPagePatientComment& CommentPage() { return m_pageComment; }
    CPageAdditionalInfor& AdditionPage() { return m_pageAddition; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // The saving buttons by the document's flags; both disabled without pages.
    void ApplyPermission(bool pages);
    void CreatePages();
    void ActivateInitialPages();
    void SaveInformation(CString strName);
    // Asks for the responsible name when one is needed; false when the prompt was not confirmed.
    bool AskName(bool b8000);
    bool CurrentFields(_EDIT_STAMP_FIELDS& fields) const override;
    bool ConfirmNeedsItem() const override { return HasItemKind(); }
    // Resting and MFER records: the kinds whose item the pages edit.
    bool HasItemKind() const;
    int CheckFirstPage() override;
    // The current resting item's model-8000 flag; false for MFER records.
    bool CurrentIs8000() const;

    CPagePatientInfo m_pagePatient;
    CPagePatientComment m_pageComment;
    CPageAdditionalInfor m_pageAddition;
    int m_nMode;
    int m_nExplicitPage;
};
