// The doctor prompt: asks for the interpreting doctor who confirms a record,
// and whether a substitute enters the confirmation for the doctor.
#pragma once

#include "dialogs/DlgModal.h"

class CTavrionDoc;

class CDlgDoctor : public CDlgModal {
    DECLARE_DYNAMIC(CDlgDoctor)

public:
    enum { IDD = 120 };

    explicit CDlgDoctor(CWnd* pParent = nullptr);
    ~CDlgDoctor() override;

    void SetDoc(CTavrionDoc* pDoc) { m_pDoc = pDoc; }
    // Meaningful after DoModal returned IDOK.
    CString GetDoctorName() const { return m_strDoctorName; }
    int GetIfSubstitute() const { return m_bSubstitute; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void ShowText();

    DECLARE_MESSAGE_MAP()

    CString m_strDoctorName;    // set by OK: the combo box's text
    CTavrionDoc* m_pDoc;        // not owned; may stay null
    int m_bSubstitute;          // 1 when a substitute enters it for the doctor
};
