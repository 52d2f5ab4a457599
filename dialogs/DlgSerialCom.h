// The record chooser of a serial-comparison column: a drop-down list whose
// closing and selection the pane hears as user messages carrying the column.
#pragma once

#include "dialogs/DlgCtrl.h"

class CDlgSerialCom : public CDlgCtrl {
    DECLARE_DYNAMIC(CDlgSerialCom)

public:
    enum { IDD = 124 };

    explicit CDlgSerialCom(CWnd* pParent = nullptr);
    ~CDlgSerialCom() override;

    void SetIndex(int nIndex) { m_nIndex = nIndex; }

protected:
    afx_msg void OnCloseUp();
    afx_msg void OnSelChange();

    DECLARE_MESSAGE_MAP()

    int m_nIndex = 0;   // the column, sent as wParam
};
