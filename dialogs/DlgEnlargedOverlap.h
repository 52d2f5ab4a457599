// CDlgEnlargedOverlap: the modal dialog that shows one lead's average beats
// of up to nine compared records overlapped and enlarged (template 131),
// with the ruler, pan and zoom of the enlarged wave dialog. It only shows
// and measures.
#pragma once

#include "dialogs/DlgModal.h"
#include "dialogs/EnlargedViewFrame.h"
#include "waveviews/ViewEnlargedOverlap.h"

class CTavrionDoc;
class CRestViewDoc;
class CMFERViewDoc;

class CDlgEnlargedOverlap : public CDlgModal {
    DECLARE_DYNAMIC(CDlgEnlargedOverlap)

public:
    enum { IDD = 131 };
    enum {
        IDC_READOUT = 3554,
        IDC_HORIZONTAL_BAR = 3555,
        IDC_VERTICAL_BAR = 3556,
        IDC_RULER = 3557,
        IDC_DRAG = 3558,
        IDC_ZOOM_IN = 3559,
        IDC_ZOOM_OUT = 3560,
    };

    explicit CDlgEnlargedOverlap(CWnd* pParent = nullptr);
    ~CDlgEnlargedOverlap() override;

    // ---- set by the opener before DoModal -------------------------------------------
    // The comparing document; a non-zero kind makes the MFER document the view's.
    void SetDoc(CTavrionDoc* pDoc, int nDocType)
    {
        m_pDoc = pDoc;
        m_nDocType = nDocType;
    }
    void SetRestDoc(CRestViewDoc* pDoc) { m_pRestDoc = pDoc; }
    void SetMFERDoc(CMFERViewDoc* pDoc) { m_pMferDoc = pDoc; }
    void SetDotsPerMM(double x, double y)
    {
        m_dDotsPerMMX = x;
        m_dDotsPerMMY = y;
    }
    void SetLeadID(int nLead) { m_nLead = nLead; }
    void SetCompareCount(int nCount) { m_nCompareCount = nCount; }
    void SetSensitivity(float fSense) { m_fSense = fSense; }
    // Slot i (0..8) shows the record at that index of the document's list; -1 none.
    void SetDataIndex(int i, int nIndex);

    CViewEnlargedOverlap* GetOverlapView() const { return m_pView; }

protected:
    BOOL OnInitDialog() override;
    afx_msg LRESULT OnRulerReading(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnViewPanned(WPARAM wParam, LPARAM lParam);
    afx_msg void OnRulerMode();
    afx_msg void OnDragMode();
    afx_msg void OnZoomIn();
    afx_msg void OnZoomOut();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

    BOOL CreateOverlapView();
    // The document whose design screen lays the dialog out and whose records the view draws.
    CTavrionDoc* GeometryDoc() const;

    CEnlargedViewFrame m_frame;
    CViewEnlargedOverlap* m_pView = nullptr;   // lives in the frame: goes with the window
    int m_nLead = 0;
    int m_nDocType = 0;
    CTavrionDoc* m_pDoc = nullptr;             // not owned
    CRestViewDoc* m_pRestDoc = nullptr;        // not owned
    CMFERViewDoc* m_pMferDoc = nullptr;        // not owned
    int m_nDataIndex[ENLARGED_OVERLAP_SLOTS];
    double m_dDotsPerMMX = 0.0;
    double m_dDotsPerMMY = 0.0;
    int m_nCompareCount = 0;
    float m_fSense = 10.0f;                    // mm/mV
};
