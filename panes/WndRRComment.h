// The comment page of an RR-interval record: the patient strip, the
// interpretation and comment form, and the paged list of RR intervals with
// its back and next buttons. The page style chooses the form and the list
// side by side (6, 7), the form alone (8) or the list alone (9).
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CRRViewDoc;
class CViewRRIntervalList;
class CDlgPreNext;

class CWndRRComment : public CWnd {
    DECLARE_DYNAMIC(CWndRRComment)

public:
    CWndRRComment();
    ~CWndRRComment() override;

    void SetRRViewDoc(CRRViewDoc* pDoc) { m_pRRViewDoc = pDoc; }
    void SetShowPatientInfo(BOOL show) { m_bShowPatientInfo = show; }
    BOOL IsShowPatientInfo() const { return m_bShowPatientInfo; }
    // 6 to 9; other values are ignored.
    void ShowPageStyle(int style);
    int GetPageStyle() const { return m_nPageStyle; }
    void OnUpdate();

    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CFrameWnd* GetInterpretationFrame() const { return m_pInterpretationFrame; }
    CViewRRIntervalList* GetIntervalList() const { return m_pIntervalList; }
    CDlgPreNext* GetPreNextStrip() const { return m_pPreNext; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnFocusJump(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Back and next follow what ChangePage answered.
    void FollowPageState(int state);

    CRRViewDoc* m_pRRViewDoc;
    BOOL m_bShowPatientInfo;
    int m_nPageStyle;
    CFrameWnd* m_pPatientFrame;          // frames and the list delete themselves
    CFrameWnd* m_pInterpretationFrame;
    CViewRRIntervalList* m_pIntervalList;   // child 201
    CDlgPreNext* m_pPreNext;             // owned
};
