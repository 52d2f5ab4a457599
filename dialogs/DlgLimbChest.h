// The limb/chest strip: two push-like buttons that choose the lead group the pane shows.
// Its commands reach the pane as the pane's own.
#pragma once

#include "controls/ButtonST.h"
#include "dialogs/DlgCtrl.h"

class CDlgLimbChest : public CDlgCtrl {
    DECLARE_DYNAMIC(CDlgLimbChest)

public:
    enum { IDD = 117 };

    explicit CDlgLimbChest(CWnd* pParent = nullptr);
    ~CDlgLimbChest() override;

    // Run again by the pane when the document's colours change.
    BOOL OnInitDialog() override;

protected:
    CButtonST m_btn[2];
};
