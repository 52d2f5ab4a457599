// The waveform page of a resting record (also of an MFER record, or of a
// rhythm record in a resting layout): the patient strip, a caption line
// stating sensitivity, speed, filter and lead layout, the limb/chest switch
// of the layouts that show one lead group at a time, the multi-lead view
// and, under it, the one-lead strip of the whole record.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CRestViewDoc;
class CMFERViewDoc;
class CRhythmViewDoc;
class CViewRhythmWave;
class CViewScroll1LeadWave;
class CDlgCtrl;

class CWndRestRhythmWave : public CWnd {
    DECLARE_DYNAMIC(CWndRestRhythmWave)

public:
    CWndRestRhythmWave();
    ~CWndRestRhythmWave() override;

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
    // The multi-lead view: its dividers are placed afresh after the divider dialog.
    CViewRhythmWave* GetRhythmView() const { return m_pRhythmView; }
    CViewScroll1LeadWave* GetOneLeadView() const { return m_pOneLeadView; }
    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
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

    CRestViewDoc* m_pRestViewDoc;
    CMFERViewDoc* m_pMFERViewDoc;
    CRhythmViewDoc* m_pRhythmViewDoc;
    BOOL m_bShowPatientInfo;
    BOOL m_bLimbLead;
    CViewRhythmWave* m_pRhythmView;         // child 201; deletes itself
    CViewScroll1LeadWave* m_pOneLeadView;   // child 202; deletes itself
    CFrameWnd* m_pPatientFrame;             // deletes itself
    CDlgCtrl* m_pCaptionStrip;              // owned
    CDlgCtrl* m_pLimbChestStrip;            // owned
};
