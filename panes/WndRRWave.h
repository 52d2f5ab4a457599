// The wave page of an RR-interval record: the patient strip, a caption line,
// the multi-lead rhythm view with its measuring dividers always on, and
// below it the back/next strip and the readings of the three caliper pairs.
// Page styles 3 and 4 are full width; 5 is the half-width view.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CRRViewDoc;
class CViewRhythmWave;
class CDlgCtrl;
class CDlgPreNext;

class CWndRRWave : public CWnd {
    DECLARE_DYNAMIC(CWndRRWave)

public:
    CWndRRWave();
    ~CWndRRWave() override;

    void SetRRViewDoc(CRRViewDoc* pDoc) { m_pRRViewDoc = pDoc; }
    void SetShowPatientInfo(BOOL show) { m_bShowPatientInfo = show; }
    BOOL IsShowPatientInfo() const { return m_bShowPatientInfo; }
    // 3 to 5 on a document with a current record; other calls do nothing.
    void ShowPageStyle(int style);
    int GetPageStyle() const { return m_nPageStyle; }
    void OnUpdate();
    // The caption line from the document's settings; the argument is not used.
    void UpdateDisplayInfo(int waveStyle);
    void HideAllPopupDlg(BOOL show);
    void CloseAllPopupDlg();

    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CViewRhythmWave* GetRhythmView() const { return m_pRhythmView; }
    CDlgCtrl* GetCaptionStrip() const { return m_pCaptionStrip; }
    CDlgPreNext* GetPreNextStrip() const { return m_pPreNext; }
    CDlgCtrl* GetDividerStrip() const { return m_pDividerStrip; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnUserDividerDrop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFocusJump(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    BOOL HasRecord() const;
    BOOL IsHalf() const { return m_nPageStyle == 5; }
    void PlaceCaption(int top);
    // The view between the caption and the bottom strips; its bottom in pixels.
    void PlaceRhythmView(int top, int stripTop);
    void PlaceBottomStrips(int stripTopUnits);
    void StripFonts();
    void PageTo(int pages);

    CRRViewDoc* m_pRRViewDoc;
    BOOL m_bShowPatientInfo;
    int m_nPageStyle;
    CViewRhythmWave* m_pRhythmView;   // child 201; deletes itself
    CFrameWnd* m_pPatientFrame;       // deletes itself
    CDlgCtrl* m_pCaptionStrip;        // owned
    CDlgPreNext* m_pPreNext;          // owned
    CDlgCtrl* m_pDividerStrip;        // owned
};
