// The waveform page of the US-style resting report: the resting wave page
// with the US-style interpretation form between the patient strip and the
// waveforms. The column layouts hide the interpretation; the one-lead strip
// shows its lead in a five-row grid.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CRestViewDoc;
class CMFERViewDoc;
class CRhythmViewDoc;
class CViewRhythmWave;
class CViewScroll1LeadWave;
class CDlgCtrl;

class CWndRestRhythmWaveAme : public CWnd {
    DECLARE_DYNAMIC(CWndRestRhythmWaveAme)

public:
    CWndRestRhythmWaveAme();
    ~CWndRestRhythmWaveAme() override;

    // One document at a time: setting one clears the other two.
    void SetRestViewDoc(CRestViewDoc* pDoc);
    void SetMFERViewDoc(CMFERViewDoc* pDoc);
    void SetRhythmViewDoc(CRhythmViewDoc* pDoc);
    CRestViewDoc* GetRestViewDoc() const { return m_pRestViewDoc; }
    CMFERViewDoc* GetMFERViewDoc() const { return m_pMFERViewDoc; }
    CRhythmViewDoc* GetRhythmViewDoc() const { return m_pRhythmViewDoc; }
    void SetShowPatientInfo(BOOL show) { m_bShowPatientInfo = show; }
    BOOL IsShowPatientInfo() const { return m_bShowPatientInfo; }

    // A style without a layout changes nothing.
    void ShowRestPageStyle(int style);
    void ShowMFERPageStyle(int style);
    void ShowRhythmPageStyle(int style);
    void OnUpdate();
    void HideAllPopupDlg(BOOL show);
    void CloseAllPopupDlg();

    BOOL IsLimbLeadSelected() const { return m_bLimbLead; }
    BOOL IsShowInterpretation() const { return m_bShowInterpretation; }
    CViewRhythmWave* GetRhythmView() const { return m_pRhythmView; }
    CViewScroll1LeadWave* GetOneLeadView() const { return m_pOneLeadView; }
    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CFrameWnd* GetInterpretationFrame() const { return m_pInterpretationFrame; }
    CDlgCtrl* GetCaptionStrip() const { return m_pCaptionStrip; }
    CDlgCtrl* GetLimbChestStrip() const { return m_pLimbChestStrip; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    // The document's caliper checks on the multi-lead view; negative hides them.
    void SetDividerCheck(int mask);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFocusJump(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateDisplayInfo(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void ApplyLayout(int waveStyle, BOOL half, int kind);
    void ApplyRestStyle(int style, BOOL mfer);

    CRestViewDoc* m_pRestViewDoc;
    CMFERViewDoc* m_pMFERViewDoc;
    CRhythmViewDoc* m_pRhythmViewDoc;
    BOOL m_bShowPatientInfo;
    BOOL m_bLimbLead;
    BOOL m_bShowInterpretation;
    CFrameWnd* m_pPatientFrame;             // deletes itself
    CFrameWnd* m_pInterpretationFrame;      // deletes itself
    CViewRhythmWave* m_pRhythmView;         // child 201; deletes itself
    CViewScroll1LeadWave* m_pOneLeadView;   // child 202; deletes itself
    CDlgCtrl* m_pCaptionStrip;              // owned
    CDlgCtrl* m_pLimbChestStrip;            // owned
};
