// What the two wave pages of an extra-lead record (or an MFER record of the
// extra kind) share: the patient strip, the caption line, the multi-lead
// view in the page's extra wave style and the one-lead overview strip below
// it. CWndExtraWave and CWndExtraRhythmWave differ only in their page table
// and in what the overview strip shows (panes::extra::WaveTwin).
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CExtraViewDoc;
class CTavrionDoc;
class CMFERViewDoc;
class CViewRhythmWave;
class CViewScroll1LeadWave;
class CDlgCtrl;

namespace panes {
namespace extra {
struct WavePageParts;
struct WaveTwin;
}  // namespace extra
}  // namespace panes

class CWndExtraWavePane : public CWnd {
    DECLARE_DYNAMIC(CWndExtraWavePane)

public:
    ~CWndExtraWavePane() override;

    // Each clears the other document: the pane serves one record kind.
    void SetExtraViewDoc(CExtraViewDoc* pDoc);
    void SetMFERViewDoc(CMFERViewDoc* pDoc);
    void SetShowPatientInfo(int show) { m_bShowPatientInfo = show; }
    int IsShowPatientInfo() const { return m_bShowPatientInfo; }
    // The pages of the twin's table (MFER those plus 51); other values are ignored.
    void ShowExtraPageStyle(int style);
    void ShowMFERPageStyle(int style);
    void OnUpdate();

    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CDlgCtrl* GetDisplayStrip() const { return m_pDisplayStrip; }
    CViewRhythmWave* GetRhythmView() const { return m_pRhythmView; }
    CViewScroll1LeadWave* GetRhythmStrip() const { return m_pRhythmStrip; }

protected:
    explicit CWndExtraWavePane(const panes::extra::WaveTwin& twin);

    // Negative hides the calipers; bits 0 to 2 check pairs I to III.
    void SetDividerCheck(int bits);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateDisplayInfo(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFocusJump(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    panes::extra::WavePageParts Parts();
    void ShowPageStyle(CTavrionDoc* callDoc, int extraStyle);

    const panes::extra::WaveTwin& m_twin;
    CFrameWnd* m_pPatientFrame;           // deletes itself
    CDlgCtrl* m_pDisplayStrip;            // owned
    CViewRhythmWave* m_pRhythmView;       // child 201; deletes itself
    CViewScroll1LeadWave* m_pRhythmStrip; // child 202; deletes itself
    CExtraViewDoc* m_pExtraViewDoc;
    CMFERViewDoc* m_pMFERViewDoc;
    int m_bShowPatientInfo;
};
