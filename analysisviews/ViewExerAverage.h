// CViewExerAverage: the average beats of an exercise test at the document's
// current average block, with each lead's ST level and measuring ticks, in
// one of three layouts: 1 twelve leads (current beats), 2 six selected leads
// (rest beat beside the current beat), 3 one selected lead (rest and current
// beat superimposed, enlarged). The exercise average pane creates it; the
// host prints it with Print.
//
// Cells: in modes 1 and 2 cell 3c + r is row r of column c (mode 1: display
// lead 3c + r; mode 2: rest beats of the selected leads in cells 0-2 and
// 6-8, their current beats three cells further); mode 3 uses cell 0 (rest)
// and cell 1 (current).
#pragma once

#include "analysisviews/ExerBeatCell.h"
#include "documents/ExerViewDoc.h"
#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

class CECGDC;

class CViewExerAverage : public CWaveView {
    DECLARE_DYNCREATE(CViewExerAverage)

public:
    static constexpr int CELLS = 12;
    static constexpr int GRID_ACROSS = 140;   // mm
    static constexpr int GRID_DOWN = 145;

    CViewExerAverage();
    ~CViewExerAverage() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

    _EXER_AVERAGE_DISPLAY_MODE GetAverageDisplayMode() const { return m_nDisplayMode; }
    void SetAverageDisplayMode(_EXER_AVERAGE_DISPLAY_MODE mode);
    // The one-lead enlargement: 1 mV is drawn (value x 20) mm tall in mode 3,
    // kept in whole 0.05 steps.
    double GetDisplay1LeadSense() const { return m_nOneLeadSteps * 0.05; }
    void SetDisplay1LeadSense(double value);

    // The layout of the current mode; 0 without a document or current item,
    // or when a trace or tick could not be drawn.
    int DrawView(CDC* pDC, CRect rect, int mmAcross, int mmDown, int unused, int printing);
    // The grid, then the layout on the device's drawing context; 1 when drawn.
    int Print(CECGDC* pDC, CRect rect, double pxPerMm, int mmAcross, int mmDown, int grid);

    // ---- what the last update loaded ----------------------------------------------
    const ExerBeat& GetBeat(int cell) const { return m_beats[cell]; }
    // Reference positions of the rest (0) and current (1) beat records.
    int GetReference(int record) const { return m_reference[record][2]; }
    int GetSampleRate() const { return m_nSampleRate; }
    CWaveViewMagnifier& GetMagnifier() { return m_magnifier; }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

private:
    CExerViewDoc* GetExerDoc() const;
    void ClearTables();
    void FreeBeat(int cell);

    // ---- loading (ViewExerAverageLoad.cpp) ------------------------------------------
    void Update12LeadDisplay(int recovery, int block);
    void Update6LeadDisplay(int recovery, int block);
    void Update1LeadDisplay(int recovery, int block);
    // The rest and current beat of one display lead into two cells.
    void LoadRestAndCurrent(int displayLead, int restCell, int currentCell, int recovery, int block);
    // The beat record (tag 3478 exercise, 3475 recovery) of a block into slot 0 or 1.
    void ReadBeatRecord(int slot, int recovery, int block);
    // Word `index` of a lead's series, `missing` past its end or when absent.
    int ReadSeriesWord(UINT tagBase, int lead, int index, int missing);
    void LoadCurrentValues(int cell, int lead, int recovery, int block);
    void LoadBeat(int cell, int lead, BOOL rest);
    int StoredLead(int displayLead) const;

    // ---- layouts (ViewExerAverageLayout.cpp) ------------------------------------------
    BOOL Draw12LeadDisplayMode(CDC* pDC, CRect rect, int mmAcross, int mmDown, int unused, int printing);
    BOOL Draw6LeadDisplayMode(CDC* pDC, CRect rect, int mmAcross, int mmDown, int unused, int printing);
    BOOL Draw1LeadDisplayMode(CDC* pDC, CRect rect, int mmAcross, int mmDown, int unused, int printing);
    // The four columns of three rows shared by the twelve- and six-lead layouts.
    BOOL DrawColumns(CDC* pDC, const CRect& rect, int mmAcross, int mmDown, BOOL sixLeads, BOOL printing);
    void DrawHeader(CDC* pDC, int x, int y, int mmStep27, int mmStep18) const;
    void DrawLegendDot(CDC* pDC, int right, int baseline, int height, COLORREF colour) const;
    // The cell width in pixels: length x mmPerSecond / rate mm, `fallbackMm` for a short beat.
    int CellWidth(const ExerBeat& beat, int mmPerSecond, int fallbackMm, int width, int mmAcross) const;
    const _EXERDATAITEM* CurrentItem() const;

    void SetUpMagnifier();

    int m_nSampleRate = 0;
    ExerBeat m_beats[CELLS];
    // Beat records: rest (0) and current (1), three values each.
    int m_reference[2][3] = {};
    _EXER_AVERAGE_DISPLAY_MODE m_nDisplayMode = 0;
    int m_nOneLeadSteps = 20;
    CWaveViewMagnifier m_magnifier;
};
