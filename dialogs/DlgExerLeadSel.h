// The lead chooser strip of the exercise screens: two combo boxes and a
// button, whose commands the pane answers.
#pragma once

#include "controls/ButtonST.h"
#include "dialogs/DlgCtrl.h"

class CDlgExerLeadSel : public CDlgCtrl {
    DECLARE_DYNAMIC(CDlgExerLeadSel)

public:
    enum { IDD = 171 };

    explicit CDlgExerLeadSel(CWnd* pParent = nullptr);
    ~CDlgExerLeadSel() override;

    BOOL OnInitDialog() override;

protected:
    CButtonST m_btn;
};
