// The memory page of an exercise record: the stored strip (memory block)
// at the current time with its resting and average beats, one trend graph
// below it, and the playback of the memory blocks a second a block (timer
// id 1 forward, -1 backward; the memory view does not annotate meanwhile).
// The page is always 1020 x 664 units; after each update the host hears
// the page style (WM_USER+0x15).
#pragma once

#include "platform/ui/framework/Wnd.h"

class CExerViewDoc;
class CDlgCtrl;
class CDlgPreNext;
class CViewMemoryWave;
class CViewExerTrend;

class CWndExerMemory : public CWnd {
    DECLARE_DYNAMIC(CWndExerMemory)

public:
    CWndExerMemory();
    ~CWndExerMemory() override;

    void SetExerViewDoc(CExerViewDoc* pDoc) { m_pExerViewDoc = pDoc; }
    CExerViewDoc* GetExerViewDoc() const { return m_pExerViewDoc; }
    void OnUpdate();
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // The host's choice of trend for the graph below the strip, kept in the
    // current record.
    void MessageFromTrendWnd(int style, int lead);

    CDlgPreNext* GetPreNextStrip() const { return m_pPreNext; }
    CDlgCtrl* GetTimeStepStrip() const { return m_pTimeStep; }
    CDlgCtrl* GetInfoStrip() const { return m_pInfo; }
    CViewMemoryWave* GetMemoryView() const { return m_pMemoryView; }
    CViewExerTrend* GetTrendView() const { return m_pTrendView; }
    // The running timer: 1 or -1, 0 none.
    UINT_PTR GetTimerID() const { return m_nTimerID; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    BOOL HasView(CWnd* view) const { return view && view->GetSafeHwnd(); }
    // The bottom of the memory view in pixels.
    int PlaceMemoryView(int left, BOOL gridMode);
    void StopPlayback();
    void StartPlayback(int button, UINT_PTR id);
    void StepBlock(int step);
    void SaveAnnotations();

    CExerViewDoc* m_pExerViewDoc;     // not owned
    CDlgPreNext* m_pPreNext;          // template 123; owned
    CViewMemoryWave* m_pMemoryView;   // child 201; deletes itself
    CViewExerTrend* m_pTrendView;     // child 200; deletes itself
    CDlgCtrl* m_pTimeStep;            // template 160; owned
    CDlgCtrl* m_pInfo;                // template 4180; owned
    UINT_PTR m_nTimerID;              // 0 when no timer runs
};
