// The average page of an exercise record: the averaged beats of one block
// (twelve leads, six chosen leads or one lead with its own gain) with the
// 3D ST map and a trend graph beside them. The user steps or plays through
// the average blocks, turns or swings the map and picks the ST reference.
// One timer runs at a time: playback (id 1 forward, id -1 backward, the
// average view not annotating meanwhile) or the map's swing (id 10). The
// page is always 1020 x 664 units; after each update the host hears the
// page style (WM_USER+0x15).
#pragma once

#include "platform/ui/framework/Wnd.h"

class CExerViewDoc;
class CDlgCtrl;
class CDlgPreNext;
class CDlgExerLeadSel;
class CViewExerAverage3D;
class CViewExerTrend;
class CViewExerAverage;

class CWndExerAverage : public CWnd {
    DECLARE_DYNAMIC(CWndExerAverage)

public:
    CWndExerAverage();
    ~CWndExerAverage() override;

    void SetExerViewDoc(CExerViewDoc* pDoc) { m_pExerViewDoc = pDoc; }
    CExerViewDoc* GetExerViewDoc() const { return m_pExerViewDoc; }
    void OnUpdate();
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CDlgPreNext* GetPreNextStrip() const { return m_pPreNext; }
    CDlgCtrl* GetTimeStepStrip() const { return m_pTimeStep; }
    CDlgCtrl* GetInfoStrip() const { return m_pInfo; }
    CDlgCtrl* Get3DControlStrip() const { return m_p3DControl; }
    CDlgExerLeadSel* GetLeadStrip() const { return m_pLeadSel; }
    CViewExerAverage3D* Get3DView() const { return m_p3DView; }
    CViewExerTrend* GetTrendView() const { return m_pTrendView; }
    CViewExerAverage* GetAverageView() const { return m_pAverageView; }
    // The running timer: 1 or -1 playback, 10 the map's swing, 0 none.
    UINT_PTR GetTimerID() const { return m_nTimerID; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    BOOL Is250Record() const;
    BOOL HasView(CWnd* view) const;
    void PlaceAverageView(int left, int& width);
    void PlaceStrips(int gridMargin, BOOL gridMode);
    void StripFonts();
    void UpdateLeadStrip();
    void StopPlayback();
    // Kills the running timer and gives the average view back its annotation.
    void EndTimer();
    void StartPlayback(int button, UINT_PTR id);
    void SaveAnnotations();
    void ChangeDisplayMode(int selection);
    void ChooseLeads();
    void StepBlock(int step);

    CDlgPreNext* m_pPreNext;              // template 123; owned
    CDlgCtrl* m_pTimeStep;                // template 160; owned
    CDlgCtrl* m_pInfo;                    // template 4180; owned
    CDlgCtrl* m_p3DControl;               // template 168; owned
    CDlgExerLeadSel* m_pLeadSel;          // template 171; owned
    CViewExerAverage3D* m_p3DView;        // child 200; deletes itself
    CViewExerTrend* m_pTrendView;         // child 201; deletes itself
    CViewExerAverage* m_pAverageView;     // child 202; deletes itself
    UINT_PTR m_nTimerID;                  // 0 when no timer runs
    CExerViewDoc* m_pExerViewDoc;         // not owned
};
