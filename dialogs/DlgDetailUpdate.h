// The update/cancel pair of the detailed measurement screen.
// Its commands reach the pane as the pane's own.
#pragma once

#include "controls/ButtonST.h"
#include "dialogs/DlgCtrl.h"

class CDlgDetailUpdate : public CDlgCtrl {
    DECLARE_DYNAMIC(CDlgDetailUpdate)

public:
    enum { IDD = 128 };

    explicit CDlgDetailUpdate(CWnd* pParent = nullptr);
    ~CDlgDetailUpdate() override;

    // Run again by the pane when the document's colours change.
    BOOL OnInitDialog() override;

protected:
    CButtonST m_btn[2];
};
