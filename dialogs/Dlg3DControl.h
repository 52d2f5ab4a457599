// The 3D view's strip of the exercise screens: tilt, turn, stop and swing
// buttons with their icons, and the two ST level modes as plain radio
// buttons. Its commands reach the pane as the pane's own.
#pragma once

#include "controls/ButtonST.h"
#include "dialogs/DlgCtrl.h"

class CDlg3DControl : public CDlgCtrl {
    DECLARE_DYNAMIC(CDlg3DControl)

public:
    enum { IDD = 168 };

    explicit CDlg3DControl(CWnd* pParent = nullptr);
    ~CDlg3DControl() override;

    // Run again by the pane when the document's colours change.
    BOOL OnInitDialog() override;

protected:
    CButtonST m_btn[6];
};
