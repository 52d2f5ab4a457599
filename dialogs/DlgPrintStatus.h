// The print status box: a modeless box that shows the progress line of a
// report print job and offers Cancel, which stops the job.
#pragma once

#include "platform/ui/framework/Dialog.h"

class CTavrionDoc;

class CDlgPrintStatus : public CDialog {
    DECLARE_DYNAMIC(CDlgPrintStatus)

public:
    enum { IDD = 142 };

    explicit CDlgPrintStatus(CWnd* pParent = nullptr);
    ~CDlgPrintStatus() override;

    // The print job creates the box first and gives it the document after,
    // so the cancel flags are cleared here as well as at initialisation: a
    // job that follows a cancelled one must not stop at once.
    void SetECGDoc(CTavrionDoc* pDoc);
    void SetStatusText(const CString& text);

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;

    DECLARE_MESSAGE_MAP()

    CTavrionDoc* m_pDoc;   // not owned; null until the job gives it
};
