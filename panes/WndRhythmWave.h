// The wave page of a rhythm record (page styles 20 to 25), or of an MFER
// record shown as rhythm (35 to 40): the patient strip, a caption line, the
// multi-lead rhythm view and, below it, the one-lead overview strip or, while
// the measuring dividers are on, the back/next strip beside the readings of
// the three caliper pairs. The document keeps the divider check bits; the
// pane writes them back after every command and tells the host.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CRhythmViewDoc;
class CMFERViewDoc;
class CTavrionDoc;
class CDlgCtrl;
class CDlgPreNext;
class CViewRhythmWave;
class CViewScroll1LeadWave;

class CWndRhythmWave : public CWnd {
    DECLARE_DYNAMIC(CWndRhythmWave)

public:
    CWndRhythmWave();
    ~CWndRhythmWave() override;

    // Each setter serves its document alone: the other one is cleared.
    void SetRhythmViewDoc(CRhythmViewDoc* pDoc);
    void SetMFERViewDoc(CMFERViewDoc* pDoc);
    void SetShowPatientInfo(int show) { m_bShowPatientInfo = show; }
    int IsShowPatientInfo() const { return m_bShowPatientInfo; }

    // Other values are ignored.
    void ShowRhythmPageStyle(int style);
    void ShowMFERPageStyle(int style);

    void OnUpdate();
    // The caption line from the document's settings; the argument is not used.
    void UpdateDisplayInfo(int waveStyle);
    // On: the back/next and divider strips take the one-lead strip's place.
    void ShowDivider(int show);
    int IsShowDivider() const { return m_bShowDivider; }
    void HideAllPopupDlg(BOOL show);
    void CloseAllPopupDlg();

    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CDlgCtrl* GetCaptionStrip() const { return m_pCaptionStrip; }
    CViewRhythmWave* GetRhythmView() const { return m_pRhythmView; }
    CViewScroll1LeadWave* GetRhythmStrip() const { return m_pRhythmStrip; }
    CDlgPreNext* GetPreNextStrip() const { return m_pPreNext; }
    CDlgCtrl* GetDividerStrip() const { return m_pDividerStrip; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserDividerDrop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFocusJump(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Back and next from a page move's answer: 0 between, 1 the first page,
    // 2 the last, 3 no data; other answers change nothing.
    void UpdatePageState(int state);
    // The bits to the view's caliper pairs.
    void SetDividerCheck(int bits);
    // The strip's check boxes from the bits while the dividers are on.
    void CheckDlgDivider(int bits);

    CTavrionDoc* Document() const;
    void ApplyStyle(CTavrionDoc* ownDoc, int waveStyle, int half);
    void PageTo(int pages);
    bool HasView() const;
    bool HasStrip() const;

    CRhythmViewDoc* m_pRhythmViewDoc;
    CMFERViewDoc* m_pMFERViewDoc;
    int m_bShowPatientInfo;
    int m_bShowDivider;
    CDlgCtrl* m_pDividerStrip;               // owned
    CViewRhythmWave* m_pRhythmView;          // child 201; views and frames delete themselves
    CViewScroll1LeadWave* m_pRhythmStrip;    // child 202
    CFrameWnd* m_pPatientFrame;
    CDlgCtrl* m_pCaptionStrip;               // owned
    CDlgPreNext* m_pPreNext;                 // owned
};
