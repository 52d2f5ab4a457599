// The detailed-measurement page of a resting record: the editable
// measurement table on top, the QRS-type table and the per-beat table below
// it, a back/next strip that pages the per-beat table and an update strip
// that stores or discards the table's edits. A fixed 1020 × 664 page.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CRestViewDoc;
class CViewDetailedMeas;
class CViewQRSType;
class CViewQRSNo;
class CDlgPreNext;
class CDlgDetailUpdate;

class CWndRestDetailMeas : public CWnd {
    DECLARE_DYNAMIC(CWndRestDetailMeas)

public:
    CWndRestDetailMeas();
    ~CWndRestDetailMeas() override;

    void SetRestViewDoc(CRestViewDoc* pDoc) { m_pRestViewDoc = pDoc; }
    void OnUpdate();
    // The strips' captions and the back button's first state.
    void UpdatePreNextStatus();

    CFrameWnd* GetMeasFrame() const { return m_pMeasFrame; }
    CViewDetailedMeas* GetMeasView() const;
    CViewQRSType* GetQRSTypeView() const { return m_pQRSTypeView; }
    CViewQRSNo* GetQRSNoView() const { return m_pQRSNoView; }
    CDlgPreNext* GetPreNextStrip() const { return m_pPreNext; }
    CDlgDetailUpdate* GetUpdateStrip() const { return m_pUpdate; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void PageBeats(int step);
    void FollowBeatPage();
    void StoreEdits();
    void ShowUpdateStrip();

    CRestViewDoc* m_pRestViewDoc;
    CFrameWnd* m_pMeasFrame;        // deletes itself with the table
    CViewQRSType* m_pQRSTypeView;   // child 202
    CViewQRSNo* m_pQRSNoView;       // child 203
    CDlgPreNext* m_pPreNext;        // owned
    CDlgDetailUpdate* m_pUpdate;    // owned
};
