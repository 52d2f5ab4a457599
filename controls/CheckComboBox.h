// A combo box bound to the document's control-data store by its dialog id.
// The store keeps the text and, for a text taken from the list, its index.
#pragma once

#include "controls/ComboEdit.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/ComboBox.h"

class CTavrionDoc;

class CCheckComboBox : public CComboBox {
    DECLARE_DYNCREATE(CCheckComboBox)
public:
    CCheckComboBox();
    ~CCheckComboBox() override;

    void SetDoc(CTavrionDoc* pDoc);
    void SetReadOnly(BOOL bReadOnly);
    void SetModifyFlag(BOOL bModify) { m_bModify = bModify; }
    BOOL GetModifyFlag() const { return m_bModify; }
    // Rows the drawn frame spans; -1 leaves the frame at the client height.
    void SetRowCount(int nRows) { m_nRowCount = nRows; }
    void InitialText(const CString& strText);
    void UpdateSelf();
    void FocusChanged(BOOL bFocus);
    void DrawFrame();
    void BrushFrame();
    CComboEdit& GetInnerEdit() { return m_edit; }

protected:
    afx_msg void OnEditChange();
    afx_msg void OnSelChange();
    afx_msg void OnKillFocusReflect();
    afx_msg void OnEditUpdate();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void AttachInnerEdit();
    BOOL IsDocReadOnly() const;
    CRect GetFrameRect() const;
    void DrawCombo();
    void Push(const CString& strText, int nSel);

    BOOL m_bModify = 0;
    CTavrionDoc* m_pDoc = nullptr;
    BOOL m_bReadOnly = 0;
    CBrush m_brEmpty;
    CBrush m_brWhite;
    COLORREF m_crBack = RGB(0xFF, 0xFF, 0xFF);
    CComboEdit m_edit;
    int m_nRowCount = -1;       // -1: not set
    CBrush m_brBack;            // rebuilt in the field colour at each colour request
};
