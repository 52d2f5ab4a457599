// The record caption of a serial-comparison column: a static on the text
// background colour; a click on the panel tells the pane which column.
#pragma once

#include <memory>

#include "dialogs/DlgCtrl.h"

class CDlgSerialText : public CDlgCtrl {
    DECLARE_DYNAMIC(CDlgSerialText)

public:
    enum { IDD = 125 };

    explicit CDlgSerialText(CWnd* pParent = nullptr);
    ~CDlgSerialText() override;

    void SetIndex(int nIndex) { m_nIndex = nIndex; }

protected:
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()

    int m_nIndex = 0;                       // the column, sent as wParam
    std::unique_ptr<CBrush> m_pStaticBrush;   // the static's background; rebuilt on each colour message
};
