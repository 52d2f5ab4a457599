// CViewSerialComAve: the averaged beats of up to ten resting or MFER records
// of one patient side by side, one column per record and six leads (limb or
// chest) per column; in overlap mode the last column superimposes the other
// records' beats on their alignment points. The serial comparison pane makes
// two (view index 0 and 1) and names each slot's record by its position
// among the base list's comparable records.
#pragma once

#include <memory>
#include <vector>

#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

class CDialog;
class CECGDC;
class CRestViewDoc;
class CMFERViewDoc;
struct _DATAITEM;

#define SERIAL_AVE_SLOTS 10
#define SERIAL_AVE_LEADS 12

// What a double-click opens: the enlarged overlap of every slot's record
// (overlap) or one record's enlarged beat. The dialogs' floor runs it.
struct CSerialAvePopupRequest {
    bool bOverlap = false;
    CTavrionDoc* pBaseDoc = nullptr;
    CTavrionDoc* pDoc = nullptr;       // the record's document (beat), made current on the record
    int nDocType = 0;                  // 0 rest, 6 MFER
    CRestViewDoc* pRestDoc = nullptr;
    CMFERViewDoc* pMferDoc = nullptr;
    double dDotsPerMMX = 0.0;
    double dDotsPerMMY = 0.0;
    int nLead = 0;
    int nSample = 0;
    int nWindowStart = 0;
    int nFourth = 0;                   // slot 0's sample count of lead nSlot (the dialog's average mode ignores it)
    int nSlot = 0;
    int nSenseID = 3;
    float fSpeed = 25.0f;
    float fSense = 10.0f;
    int nFilter = 0;
    int nCompareCount = 0;             // overlap: the slots compared
    int nDataIndex[SERIAL_AVE_SLOTS] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

class CViewSerialComAve : public CWaveView {
    DECLARE_DYNCREATE(CViewSerialComAve)

public:
    CViewSerialComAve();
    ~CViewSerialComAve() override;

    void SetBaseECGDoc(CTavrionDoc* doc) { m_pBaseDoc = doc; }
    void SetRestViewDoc(CRestViewDoc* doc) { m_pRestDoc = doc; }
    void SetMFERViewDoc(CMFERViewDoc* doc) { m_pMferDoc = doc; }
    void SetViewIndex(int index) { m_nViewIndex = index; }
    int GetViewIndex() const { return m_nViewIndex; }
    void SetPageStyle(int style);
    int GetPageStyle() const { return m_nPageStyle; }
    void SetShowChestLead(BOOL show) { m_bShowChestLead = show; }
    void SetSerialIndex(int slot, int index);
    int GetSerialIndex(int slot) const;
    void SetShowOverlappedWave(BOOL show) { m_bOverlap = show; }
    BOOL IsShowOverlappedWave() const { return m_bOverlap; }
    int GetRecordsPerPage() const { return m_nRecordsPerPage; }
    // Both records carry the same patient ID (two missing IDs are the same).
    BOOL CheckSerialFileID(_DATAITEM* a, _DATAITEM* b) const;
    void HideAllPopupDlg(BOOL show);
    void CloseAllPopupDlg();

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    BOOL DrawView(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print, BOOL ignoreID);
    BOOL DrawAveCAL(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print);
    BOOL DrawAveWave(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print, BOOL ignoreID);
    BOOL DrawOverlapWave(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print, BOOL ignoreID);
    BOOL Print(CECGDC* pDC, CRect rect, int widthMm, int heightMm, double pxPerMm, int unused, BOOL skip,
               BOOL ignoreID);
    // The lead under a client point (-1 none), its slot and a sample of its
    // window (scaled across the whole wave area).
    int GetClickLead(CPoint point, int& sample, int& slot);

    // The ST level text of an averaged beat: microvolts `text` at sensitivity
    // `sense` as millimetres of paper, cut toward zero to 0.01.
    static CString FormatST(const CString& text, float sense);
    // A beat window kept from 40 ms on and within a column of `capacity` samples.
    static void ClampWindow(int& start, int& span, int rate, int capacity);
    // Opens the double-click's dialog for `parent` into `popup` (owned by the
    // view) and runs it modally. Without one a double-click opens nothing.
    using PopupRunner = int (*)(CWnd* parent, const CSerialAvePopupRequest& request, std::unique_ptr<CDialog>& popup);
    static void SetPopupRunner(PopupRunner runner);

    // The hover magnifier, drawn from this view's own picture.
    void ShowEnlargedPreview(CPoint point) { m_magnifier.Show(point); }
    BOOL MoveEnlargedPreview(CPoint point) { return m_magnifier.Move(point); }
    BOOL RedrawEnlargedPreview(float ratio, CPoint point) { return m_magnifier.Redraw(ratio, point); }
    BOOL HasMagnifierCache() const { return m_magnifier.HasCache(); }

    // ---- read by the panes and tests ----
    const CString& GetSTText(int slot, int lead) const { return m_strST[slot][lead]; }
    int GetSampleCount(int slot, int lead) const { return m_nCount[slot][lead]; }
    int GetWindowStart(int slot) const { return m_nWindowStart[slot]; }
    int GetWindowSpan(int slot) const { return m_nWindowSpan[slot]; }
    int GetSampleRate(int slot) const { return m_nSampleRate[slot]; }
    int GetCalPulseCount() const;
    // The lead shown in row j.
    int RowLead(int row) const { return row + (ShowsChest() ? 6 : 0); }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

private:
    void LoadSlots(LPARAM lHint);
    struct Window {
        int start = 0;
        int span = 0;
    };
    bool HalfWidthStyle() const;
    bool ShowsChest() const;
    bool InAnnotationMode() const;
    CTavrionDoc* KindDoc() const;
    float Sense() const;
    bool ChestHalf() const;
    int OneMillivolt(int height, int gridY) const;
    _DATAITEM* SlotItem(int slot) const;
    void FreeSlot(int slot);
    void LoadSlot(int slot);
    void LoadDeviceSlot(int slot, struct _RESTDATAITEM* item);
    void LoadMferSlot(int slot, struct _MFERDATAITEM* item);
    void LoadSTTexts(int slot, const CString* texts);
    int ReadTag(struct _RESTDATAITEM* item, unsigned tag, int fallback) const;
    // Microvolts per sample unit of the slot's record; its MFER record made current.
    double PrepareRecord(_DATAITEM* listed);
    bool SkippedOnPaper(_DATAITEM* listed, BOOL print, BOOL ignoreID) const;
    CString LeadName(_DATAITEM* listed, int lead) const;
    // The trace pulled back in proportion when fewer than `span` samples
    // remain from `start`; the samples to draw.
    int FitTrace(CRect& trace, int slot, int lead, int start, int span) const;
    BOOL DrawTrace(CDC* pDC, const CRect& trace, int slot, int lead, int start, int count, BOOL print, double unit);
    int AlignmentPoint(int slot, int previous) const;
    void RestoreMferCurrent(int index);
    double DotsPerMm(bool across) const;
    void OpenOverlap(const CSerialAvePopupRequest& base);
    void OpenBeat(CSerialAvePopupRequest request, int slot);
    int RunPopup(const CSerialAvePopupRequest& request);

    CTavrionDoc* m_pBaseDoc = nullptr;
    CRestViewDoc* m_pRestDoc = nullptr;
    CMFERViewDoc* m_pMferDoc = nullptr;
    int m_nPageStyle = 41;
    int m_nRows = 6;
    int m_nRecordsPerPage = 10;
    int m_nCalPulses = 6;
    int m_nSerialIndex[SERIAL_AVE_SLOTS] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::vector<short> m_beat[SERIAL_AVE_SLOTS][SERIAL_AVE_LEADS];
    int m_nCount[SERIAL_AVE_SLOTS][SERIAL_AVE_LEADS] = {};
    // Samples per second of each slot's beats: an MFER file's own rate, 500
    // for the device records; each column and the overlap draw every beat
    // on the same time scale.
    int m_nSampleRate[SERIAL_AVE_SLOTS] = {500, 500, 500, 500, 500, 500, 500, 500, 500, 500};
    double m_dUnit = 2.5;
    int m_nWindowStart[SERIAL_AVE_SLOTS] = {};
    int m_nWindowSpan[SERIAL_AVE_SLOTS] = {};
    int m_nAlign[SERIAL_AVE_SLOTS] = {};
    BOOL m_bOverlap = TRUE;
    BOOL m_bShowChestLead = FALSE;
    int m_nViewIndex = 0;
    std::unique_ptr<CDialog> m_pPopup;
    CString m_strST[SERIAL_AVE_SLOTS][SERIAL_AVE_LEADS];
    CWaveViewMagnifier m_magnifier{*this};
};
