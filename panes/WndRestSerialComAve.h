// The serial comparison page of average beats: up to ten resting or MFER
// records of one patient side by side, one column each, picked from the base
// document's list in a drop-down chooser over the column. Above each column
// stand the record's caption, its heart rate and its stage or comment; the
// two comparison views show the limb or chest leads (the split layout shows
// both). While the overlapped beat is shown the last column gives its place
// to it and the legend appears. The pane also prints the information rows of
// a serial comparison report.
#pragma once

#include "platform/base/Collections.h"
#include "platform/gdi/Font.h"
#include "platform/ui/framework/Wnd.h"

class CTavrionDoc;
class CRestViewDoc;
class CMFERViewDoc;
class CECGDC;
class CDlgCtrl;
class CDlgCommentCtrl;
class CDlgLimbChest;
class CDlgSerialCom;
class CDlgSerialText;
class CViewSerialComAve;

class CWndRestSerialComAve : public CWnd {
    DECLARE_DYNAMIC(CWndRestSerialComAve)

public:
    static constexpr int kColumns = 10;

    CWndRestSerialComAve();
    ~CWndRestSerialComAve() override;

    void SetBaseECGDoc(CTavrionDoc* pDoc) { m_pBaseDoc = pDoc; }
    void SetRestViewDoc(CRestViewDoc* pDoc) { m_pRestViewDoc = pDoc; }
    void SetMFERViewDoc(CMFERViewDoc* pDoc) { m_pMFERViewDoc = pDoc; }
    void SetDocType(int type) { m_nDocType = type; }
    // While set, a change of the column count neither lays the pane out again
    // nor does a chosen record repaint the views: a report is reading them.
    void SetPrintFlag(BOOL print) { m_bPrintFlag = print; }
    BOOL IsShowChestLead() const { return !m_bShowLimb; }

    // 41 ten columns, 42 split, 43 five columns; other values do nothing.
    void ShowRestPageStyle(int style);
    // 45 ten columns, 46 split, 48 five columns; other values do nothing.
    void ShowMFERPageStyle(int style);
    void OnUpdate(BOOL full = TRUE);
    // 10 or 5 columns, one fewer while the overlapped beat is shown.
    void UpdateSerialCount();
    void UpdateSerialFileList();
    // The columns from the base document's current record on.
    void RestoreSerialFile();
    void HideAllPopupDlg(BOOL show);
    void CloseAllPopupDlg();
    // The three information rows over the beats of a report page; `scale`
    // is the printer's pixels per millimetre. Records of another patient are
    // left out (and the gap closed) unless `force`. Returns 0.
    int PrintAveWaveInfo(CECGDC* pDC, CRect rect, double scale, BOOL force);

    // ---- read by the host, the reports and the tests ----
    int GetFileCount() const { return m_nFileCount; }
    int GetDocType() const { return m_nDocType; }
    BOOL IsPrintFlag() const { return m_bPrintFlag; }
    CViewSerialComAve* GetAveView(int i) const { return i == 0 ? m_pFirstView : i == 1 ? m_pSecondView : nullptr; }
    CDlgSerialCom* GetChooser(int k) const { return InColumns(k) ? m_pChooser[k] : nullptr; }
    CDlgSerialText* GetRecordCaption(int k) const { return InColumns(k) ? m_pRecordCaption[k] : nullptr; }
    CDlgCtrl* GetCaptionStripA(int k) const { return InColumns(k) ? m_pCaptionA[k] : nullptr; }
    CDlgCtrl* GetCaptionStripB(int k) const { return InColumns(k) ? m_pCaptionB[k] : nullptr; }
    CDlgCommentCtrl* GetCommentPanel(int k) const { return InColumns(k) ? m_pComment[k] : nullptr; }
    CDlgCtrl* GetOverlapLegend(int i) const { return i == 0 ? m_pLegendMiddle : i == 1 ? m_pLegendRight : nullptr; }
    CDlgLimbChest* GetLimbChestStrip() const { return m_pLimbChest; }
    const CArray<int, int>& GetPositionMap() const { return m_arrPosition; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnUserActiveFileList(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserChangeSerialFileInfo(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserCheckSerialFileInfo(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    enum Layout { kTenColumns, kSplit, kFiveColumns };
    static bool InColumns(int k) { return k >= 0 && k < kColumns; }
    void ShowPageStyle(int style, int tenStyle, int splitStyle, int fiveStyle);
    CTavrionDoc* ServingDoc() const;
    Layout CurrentLayout() const;
    BOOL IsRepeateIndex(int k, int entry);
    void ShowColumnCaption(int k, int entry);
    struct Page;
    void PlaceStrips(const Page& page, Layout layout);
    // Places the view at x, `width` units wide (in display size mode 5 from
    // `gridLeft` pixels, or the margin); its right edge in pixels.
    int PlaceView(CViewSerialComAve* view, const Page& page, int x, int width, int gridLeft = -1);
    void ApplyFonts();
    // The stage label of column k in the strip font, or scaled down to fit its strip.
    void FitStageLabel(int k);
    CString GetMasterStepInformation(unsigned kind, BOOL mfer, const CString& stage) const;

    CTavrionDoc* m_pBaseDoc;
    CRestViewDoc* m_pRestViewDoc;
    CMFERViewDoc* m_pMFERViewDoc;
    BOOL m_bShowLimb;
    BOOL m_bPrintFlag;
    BOOL m_bShowComment;
    int m_nFileCount;
    int m_nDocType;
    CArray<int, int> m_arrPosition;
    CViewSerialComAve* m_pFirstView;    // child 201; deletes itself
    CViewSerialComAve* m_pSecondView;   // child 202; deletes itself
    CDlgLimbChest* m_pLimbChest;        // owned
    CDlgCtrl* m_pLegendMiddle;          // owned
    CDlgCtrl* m_pLegendRight;           // owned
    CDlgCtrl* m_pCaptionA[kColumns];    // owned, as every column strip below
    CDlgCtrl* m_pCaptionB[kColumns];
    CDlgCommentCtrl* m_pComment[kColumns];
    CDlgSerialText* m_pRecordCaption[kColumns];
    CDlgSerialCom* m_pChooser[kColumns];
    // A stage label wider than its column is shown in the strip font scaled to fit.
    CFont m_fittedStage[kColumns];
};
