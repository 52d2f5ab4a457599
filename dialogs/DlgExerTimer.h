// The time-step strip of the exercise screens: backward play, stop and
// forward play buttons with their icons beside a label the pane places.
// Its commands reach the pane as the pane's own.
#pragma once

#include "controls/ButtonST.h"
#include "dialogs/DlgCtrl.h"

class CDlgExerTimer : public CDlgCtrl {
    DECLARE_DYNAMIC(CDlgExerTimer)

public:
    enum { IDD = 160 };

    explicit CDlgExerTimer(CWnd* pParent = nullptr);
    ~CDlgExerTimer() override;

    // Run again by the pane when the document's colours change.
    BOOL OnInitDialog() override;

protected:
    CButtonST m_btn[3];
};
