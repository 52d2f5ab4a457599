// The twelve-lead comparison page of a master-step record: the rest beats
// against up to three post-load beats a page, paged with back and next, under
// a caption line with the display settings. Back and next are enabled only
// where there is a page to go to, so the page never leaves the record.
#pragma once

#include "platform/ui/framework/Wnd.h"

class CFinalViewDoc;
class CViewFinalCom12Leads;
class CDlgCtrl;
class CDlgPreNext;

class CWndFinalWaveCom : public CWnd {
    DECLARE_DYNAMIC(CWndFinalWaveCom)

public:
    CWndFinalWaveCom();
    ~CWndFinalWaveCom() override;

    void SetFinalViewDoc(CFinalViewDoc* pDoc) { m_pFinalViewDoc = pDoc; }
    void OnUpdate();

    CViewFinalCom12Leads* GetComView() const { return m_pComView; }
    CDlgPreNext* GetPreNextStrip() const { return m_pPreNext; }
    CDlgCtrl* GetCaptionStrip() const { return m_pCaptionStrip; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    // Moves the view `step` pages within the record, keeping its annotations
    // as the document asks.
    void PageBy(int step);
    // Back and next from the view's page: each enabled only when there is a
    // page in its direction.
    void FollowPage();

    CFinalViewDoc* m_pFinalViewDoc;
    CViewFinalCom12Leads* m_pComView;   // child 201; deletes itself
    CDlgPreNext* m_pPreNext;            // owned
    CDlgCtrl* m_pCaptionStrip;          // owned
};
