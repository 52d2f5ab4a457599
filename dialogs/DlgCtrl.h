// The base of the small panels that page panes embed as child windows: it
// paints the panel in the colours of the document it is given and hands
// every command of its controls straight to the pane that owns it.
#pragma once

#include <map>
#include <memory>

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

    // The brush of `color`, made on its first colour message and kept: a
    // control may paint with the brush it was given until the next message.
    HBRUSH ControlBrush(COLORREF color);

    CBrush* m_pBkBrush;     // owned; the panel's background, COLOR_BTNFACE until CreateBrush
    std::map<COLORREF, std::unique_ptr<CBrush>> m_ctrlBrushes;   // one per frame colour met; freed with the panel
    CTavrionDoc* m_pDoc;    // not owned; null until SetECGDoc
};
