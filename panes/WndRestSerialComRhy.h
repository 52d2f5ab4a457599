// The serial comparison page of rhythm: two resting or MFER records of one
// patient side by side, each half a six-row comparison view over a scrolling
// one-lead strip of the same record, each picked in a chooser above its half.
// A drag of a strip pages the view above it; the limb/chest buttons switch
// all four views between the limb and the chest leads.
#pragma once

#include "platform/base/Collections.h"
#include "platform/ui/framework/Wnd.h"

class CTavrionDoc;
class CRestViewDoc;
class CMFERViewDoc;
class CDlgCtrl;
class CDlgSerialCom;
class CViewSerialComRhy;
class CViewScroll1LeadRhyWave;

class CWndRestSerialComRhy : public CWnd {
    DECLARE_DYNAMIC(CWndRestSerialComRhy)

public:
    static constexpr int kHalves = 2;

    CWndRestSerialComRhy();
    ~CWndRestSerialComRhy() override;

    void SetBaseECGDoc(CTavrionDoc* pDoc) { m_pBaseDoc = pDoc; }
    void SetRestViewDoc(CRestViewDoc* pDoc) { m_pRestViewDoc = pDoc; }
    void SetMFERViewDoc(CMFERViewDoc* pDoc) { m_pMFERViewDoc = pDoc; }
    void SetDocType(int type) { m_nDocType = type; }
    BOOL IsShowChestLead() const { return !m_bShowLimb; }

    // Every value shows the six-row comparison over the one-lead strips.
    void ShowPageStyle(int style);
    void OnUpdate();
    void UpdateSerialFileList();
    // The current record in the first half, the next comparable one in the second.
    void RestoreSerialFile();
    // Caliper pairs of both views from the bits (negative hides them).
    void SetDividerCheck(int bits);
    // Marks the views whose record belongs to another patient than the current one.
    void CheckSerialFileID();
    void HideAllPopupDlg(BOOL show);
    void CloseAllPopupDlg();

    // ---- read by the host, the reports and the tests ----
    int GetDocType() const { return m_nDocType; }
    CViewSerialComRhy* GetComView(int i) const { return InHalves(i) ? m_pView[i] : nullptr; }
    CViewScroll1LeadRhyWave* GetStrip(int i) const { return InHalves(i) ? m_pStrip[i] : nullptr; }
    CDlgSerialCom* GetChooser(int i) const { return InHalves(i) ? m_pChooser[i] : nullptr; }
    CDlgCtrl* GetLimbChestStrip() const { return m_pLimbChest; }
    const CArray<int, int>& GetPositionMap() const { return m_arrPosition; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserChangeSerialFileInfo(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnClickCALSenseFor1LeadScorll(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserActiveAnnotation(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserCheckSerialFileInfo(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    static bool InHalves(int i) { return i >= 0 && i < kHalves; }
    CTavrionDoc* ServingDoc() const;
    // The serving document's one-lead strip lead; none (255) is lead 0.
    int OneLeadID() const;
    BOOL IsRepeateIndex(int k, int entry);

    CTavrionDoc* m_pBaseDoc;
    CRestViewDoc* m_pRestViewDoc;
    CMFERViewDoc* m_pMFERViewDoc;
    BOOL m_bShowLimb;
    CArray<int, int> m_arrPosition;
    int m_nDocType;
    CViewScroll1LeadRhyWave* m_pStrip[kHalves];   // children 303, 304; delete themselves
    CViewSerialComRhy* m_pView[kHalves];          // children 301, 302; delete themselves
    CDlgCtrl* m_pLimbChest;                       // owned
    CDlgSerialCom* m_pChooser[kHalves];           // owned
};
