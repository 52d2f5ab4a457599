// What the two comment pages of an extra-lead record (or an MFER record of
// the extra kind) share: the patient strip, the comment form, the
// half-style waves with their caption, the overview strip and, for records
// of two lead sets, the Extra1/Extra2 buttons; a page puts the form beside
// the waves or gives the waves the whole width. CWndExtraCommentWave and
// CWndExtraCommentRhythmWave differ in their page table, the page they
// start on and what the overview strip shows (panes::extra::CommentTwin);
// only the first also gives the form the whole page.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CExtraViewDoc;
class CMFERViewDoc;
class CViewRhythmWave;
class CViewScroll1LeadWave;
class CDlgCtrl;

namespace panes {
namespace extra {
struct CommentPageParts;
struct CommentTwin;
}  // namespace extra
}  // namespace panes

class CWndExtraCommentPane : public CWnd {
    DECLARE_DYNAMIC(CWndExtraCommentPane)

public:
    ~CWndExtraCommentPane() override;

    // Each clears the other document: the pane serves one record kind.
    void SetExtraViewDoc(CExtraViewDoc* pDoc);
    void SetMFERViewDoc(CMFERViewDoc* pDoc);
    void SetShowPatientInfo(int show) { m_bShowPatientInfo = show; }
    int IsShowPatientInfo() const { return m_bShowPatientInfo; }
    int IsSelectExtra1() const { return m_bSelectExtra1; }
    int IsSetChoiceOffered() const { return m_bSetChoiceOffered; }
    // The pages of the twin's table (MFER those plus 51); other values, and pages whose
    // record is laid out otherwise, are ignored.
    void ShowExtraPageStyle(int style);
    void ShowMFERPageStyle(int style);
    // The page shown, in the extra-lead numbering; 0 none.
    int GetPageStyle() const { return m_nPageStyle; }
    void OnUpdate();

    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CFrameWnd* GetCommentFrame() const { return m_pCommentFrame; }
    CViewRhythmWave* GetRhythmView() const { return m_pRhythmView; }
    CDlgCtrl* GetDisplayStrip() const { return m_pDisplayStrip; }
    CDlgCtrl* GetSelectionStrip() const { return m_pSelectionStrip; }
    CViewScroll1LeadWave* GetRhythmStrip() const { return m_pRhythmStrip; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    // `pageStyle` is the page the pane starts on (0: none until one is shown).
    CWndExtraCommentPane(const panes::extra::CommentTwin& twin, int pageStyle);

    void UpdateSelButton();
    // The rectangle is the patient strip's; the page is the width and height in units.
    void SizeComment(CRect rect, int pageWidth, int pageHeight);
    void SizeWaveHalf(CRect rect, int pageWidth, int pageHeight);
    // The form alone on the page below the patient strip, for a twin whose
    // table has that page; nothing here.
    virtual void SizeCommentHalf(CRect rect, int pageWidth, int pageHeight);
    panes::extra::CommentPageParts Parts();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateDisplayInfo(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFocusJump(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void ShowPageStyle(BOOL mferCall, int extraStyle);

    const panes::extra::CommentTwin& m_twin;
    CExtraViewDoc* m_pExtraViewDoc;
    CMFERViewDoc* m_pMFERViewDoc;
    int m_bShowPatientInfo;
    int m_bSelectExtra1;
    int m_bSetChoiceOffered;
    int m_nPageStyle;
    CFrameWnd* m_pPatientFrame;            // frames and views delete themselves
    CFrameWnd* m_pCommentFrame;
    CViewRhythmWave* m_pRhythmView;        // child 201
    CDlgCtrl* m_pDisplayStrip;             // owned
    CDlgCtrl* m_pSelectionStrip;           // owned
    CViewScroll1LeadWave* m_pRhythmStrip;  // child 202
};
