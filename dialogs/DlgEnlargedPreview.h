// CDlgEnlargedPreview: the hover magnifier's small window. It holds the
// magnifier view over its whole client area and lets the user drag it with
// the left button from anywhere on its surface, never past the screen. The
// document keeps a pointer to it as a CEnlargedPreviewWindow, through which
// the waveform views reach the view.
#pragma once

#include "core/EnlargedPreviewWindow.h"
#include "platform/ui/framework/Dialog.h"

class CTavrionDoc;
class CViewEnlargedPreview;

class CDlgEnlargedPreview : public CDialog, public CEnlargedPreviewWindow {
    DECLARE_DYNAMIC(CDlgEnlargedPreview)

public:
    enum { IDD = 156 };
    enum { kViewId = 200 };

    CDlgEnlargedPreview();
    explicit CDlgEnlargedPreview(CWnd* pParent);
    ~CDlgEnlargedPreview() override;

    // Before Create: the document whose paper colour the view takes.
    void SetEnlargedPreviewDoc(CTavrionDoc* pDoc) { m_pDoc = pDoc; }
    void SetScaleRatio(float ratio);
    CViewEnlargedPreview* GetEnlargedPreview() const override { return m_pView; }
    BOOL IsEnlargedPreviewShown() const override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    static CPoint ClampToDesktop(const CRect& window, CPoint topLeft);

    CViewEnlargedPreview* m_pView = nullptr;   // a child window: it deletes itself; null once destroyed
    int m_nDragX = 0;
    int m_nDragY = 0;
    CTavrionDoc* m_pDoc = nullptr;             // not owned
    BOOL m_bDragging = FALSE;
};
