// A static text bound to the document's control-data store, drawn in the
// document's field colours.
#pragma once

#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/Static.h"

class CTavrionDoc;

class CCheckStatic : public CStatic {
    DECLARE_DYNCREATE(CCheckStatic)
public:
    CCheckStatic() = default;
    ~CCheckStatic() override;

    void SetDoc(CTavrionDoc* pDoc) { m_pDoc = pDoc; }
    // 0 and 1 pick the two caption colours, 3 the wave colour, anything else
    // the field text colour.
    void SetColorType(int nType) { m_nColorType = nType; }
    void InitialText(const CString& strText) { SetWindowText(strText); }
    void UpdateSelf();

protected:
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg LRESULT OnPush(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_crBack = RGB(0xFF, 0xFF, 0xFF);
    CBrush m_brBack;            // rebuilt in the background colour at each colour request
    int m_nColorType = 2;
    CTavrionDoc* m_pDoc = nullptr;
};
