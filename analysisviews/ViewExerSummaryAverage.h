// CViewExerSummaryAverage: for the three summary leads of an exercise test,
// the rest beat ("安静時"), the beat just after the load ("負荷直後") and the
// beat of maximum ST depression ("最大ST降下") in three rows, each row with
// its heart rate and each beat with its ST level and measuring ticks. The
// exercise summary pane creates it; the host prints it with Print.
#pragma once

#include "analysisviews/ExerBeatCell.h"
#include "documents/ExerViewDoc.h"
#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

class CECGDC;

class CViewExerSummaryAverage : public CWaveView {
    DECLARE_DYNCREATE(CViewExerSummaryAverage)

public:
    static constexpr int KINDS = 3;   // 0 rest, 1 just after load, 2 maximum ST depression
    static constexpr int LEADS = 3;
    static constexpr int GRID_ACROSS = 150;
    static constexpr int GRID_DOWN = 55;

    CViewExerSummaryAverage();
    ~CViewExerSummaryAverage() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    // 1, or 0 when a trace or tick could not be drawn.
    int DrawView(CDC* pDC, CRect rect, int mmAcross, int mmDown, int printing);
    // The grid and the rows on the device; 0 without a document, item or device.
    int Print(CECGDC* pDC, CRect rect, double pxPerMm, int unused);

    const ExerBeat& GetBeat(int kind, int lead) const { return m_beats[kind][lead]; }
    int GetHeartRate(int kind) const { return m_nHeartRate[kind]; }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

private:
    CExerViewDoc* GetExerDoc() const;
    const _EXERDATAITEM* CurrentItem() const;
    bool Annotating() const;
    void FreeBeats();
    void CopyItemFields(const _EXERDATAITEM& item);
    void LoadBeat(int kind, int lead, int storedLead);
    void DrawRowHead(CDC* pDC, const CRect& rect, int kind, int baseline, int mmAcross, int mmDown, int printing);
    void DrawRowLabel(CDC* pDC, const CRect& rect, int kind, int baseline, int mmAcross, int mmDown, int printing);
    int BeatColumn(int lead, int mmAcross, int printing) const;
    int CellLeft(const CRect& rect, int kind, int lead, int mmAcross, int printing) const;
    CRect StValueBox(CDC* pDC, const CRect& rect, int kind, int lead, int baseline, int mmAcross, int mmDown,
                     int printing) const;
    BOOL DrawBeats(CDC* pDC, const CRect& rect, int kind, int baseline, int V, int mmAcross, int mmDown,
                   int printing);
    void DrawHeader(CDC* pDC, int right, int y, int step27, int step18) const;

    int m_nSampleRate = 0;
    int m_nMaxStRecovery = 0;
    int m_nMaxStTime = 0;
    int m_nReference[KINDS] = {};
    int m_nHeartRate[KINDS] = {};
    int m_nLead[LEADS] = {};
    ExerBeat m_beats[KINDS][LEADS];
    CWaveViewMagnifier m_magnifier;
};
