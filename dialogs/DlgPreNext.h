// The back/next strip that pages a table of the pane.
// Its commands reach the pane as the pane's own.
#pragma once

#include "controls/ButtonST.h"
#include "dialogs/DlgCtrl.h"

class CDlgPreNext : public CDlgCtrl {
    DECLARE_DYNAMIC(CDlgPreNext)

public:
    enum { IDD = 123 };

    explicit CDlgPreNext(CWnd* pParent = nullptr);
    ~CDlgPreNext() override;

    // Run again by the pane when the document's colours change.
    BOOL OnInitDialog() override;

protected:
    CButtonST m_btn[2];
};
