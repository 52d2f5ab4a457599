// The base of the small panels that page panes embed as child windows: it
// paints the panel in the colours of the document it is given and hands
// every command of its controls straight to the pane that owns it.
#pragma once

#include "platform/gdi/Brush.h"
#include "platform/ui/framework/Dialog.h"

class CTavrionDoc;

class CDlgCtrl : public CDialog {
public:
    CDlgCtrl(int nIDTemplate, CWnd* pParent = nullptr);
    ~CDlgCtrl() override;

    // The next repaint uses the document's frame colours; null keeps the defaults.
    void SetECGDoc(CTavrionDoc* pDoc) { m_pDoc = pDoc; }
    void CreateBrush(COLORREF color);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

    CBrush* m_pBkBrush;     // owned; the panel's background, COLOR_BTNFACE until CreateBrush
    CBrush* m_pCtrlBrush;   // owned; rebuilt on each colour message that needs it, so at most one lives
    CTavrionDoc* m_pDoc;    // not owned; null until SetECGDoc
};
