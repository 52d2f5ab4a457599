// The wave page of an extra-lead record (or an MFER record of the extra
// kind) that carries a rhythm lead besides its three or six extra leads:
// the patient strip, the caption line, the multi-lead view in the page's
// extra wave style and, below it, the overview strip of the rhythm lead.
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
}  // namespace extra
}  // namespace panes

class CWndExtraRhythmWave : public CWnd {
    DECLARE_DYNAMIC(CWndExtraRhythmWave)

public:
    CWndExtraRhythmWave();
    ~CWndExtraRhythmWave() override;

    // Each clears the other document: the pane serves one record kind.
    void SetExtraViewDoc(CExtraViewDoc* pDoc);
    void SetMFERViewDoc(CMFERViewDoc* pDoc);
    void SetShowPatientInfo(int show) { m_bShowPatientInfo = show; }
    int IsShowPatientInfo() const { return m_bShowPatientInfo; }
    // extra 3, 4, 11 to 16 (MFER those plus 51); other values are ignored.
    void ShowExtraPageStyle(int style);
    void ShowMFERPageStyle(int style);
    void OnUpdate();

    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CDlgCtrl* GetDisplayStrip() const { return m_pDisplayStrip; }
    CViewRhythmWave* GetRhythmView() const { return m_pRhythmView; }
    CViewScroll1LeadWave* GetRhythmStrip() const { return m_pRhythmStrip; }

protected:
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

    CFrameWnd* m_pPatientFrame;           // deletes itself
    CViewRhythmWave* m_pRhythmView;       // child 201; deletes itself
    CViewScroll1LeadWave* m_pRhythmStrip; // child 202; deletes itself
    CDlgCtrl* m_pDisplayStrip;            // owned
    CExtraViewDoc* m_pExtraViewDoc;
    CMFERViewDoc* m_pMFERViewDoc;
    int m_bShowPatientInfo;
};
