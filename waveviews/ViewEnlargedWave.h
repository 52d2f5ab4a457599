// CViewEnlargedWave: one lead of one record shown large inside an enlarged
// wave dialog: a stretch of the lead's strip centred on a chosen sample
// (strip mode) or its whole average beat (average mode), on the paper grid,
// at one of nine zoom steps, with the lead name at the upper left and the
// zoom at the lower right.
//
// The mouse pans the picture (ruler off) or sets the two-mark ruler; the
// view only reports to its dialog, the parent of its frame: readings with
// WM_ENLARGED_RULER_READING, pans with WM_ENLARGED_PAN. The whole lead is
// read once at the initial update, so panning reads nothing.
//
// It is a multi-lead view to its hosts (IsKindOf), but of that view it keeps
// only the document, its kind, the grid counts and the size and update
// handling: the mouse is its own (ruler and pan), so the multi-lead view's
// double-click pop-ups, dividers, scale and magnifier never run here.
#pragma once

#include "core/ECGData.h"
#include "waveviews/EnlargedRuler.h"
#include "waveviews/EnlargedZoom.h"
#include "waveviews/ViewRhythmWave.h"

class CViewEnlargedWave : public CViewRhythmWave {
    DECLARE_DYNCREATE(CViewEnlargedWave)

public:
    CViewEnlargedWave();
    ~CViewEnlargedWave() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Loads the lead of the document's current record (see the .cpp).
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    // ---- set by the dialogs; nothing is redrawn by them ------------------------
    // The device record (electrode codes and beat window), paper speed
    // (mm/s), sensitivity (mm/mV), hi-cut filter (Hz) and the record's total
    // samples; the second argument is the caller's and unused here.
    void SetWaveInfo(_ECGDATA* record, int kind, float speed, float sense, int filter, int totalSamples);
    // Strip mode: the page is centred on `centre` (never before sample 0);
    // average mode shows the whole beat.
    void SetCenterPos(int centre, int lead, BOOL average);
    // Pixels per 1 mm square across and down at zoom 1, and the zoom; the
    // grid counts follow the client size. A zoom above 10 (or not above 0)
    // or a pixel size not above 0 changes nothing.
    void SetBackGridSize(double across, double down, double zoom);
    // A step of -4..4 sets its zoom; any step is stored. Returns TRUE.
    BOOL SetScaleRatio(int step);
    void SetEnlargeType(int index) { m_nEnlargeType = index; }
    void SetRulerStatus(_RULER_STATUS status) { m_ruler.SetStatus(status); }
    void SetRulerClear(BOOL clear) { m_ruler.SetClear(clear); }
    void SetRulerMarkRect(int mark) { m_ruler.SetMarkRect(mark); }
    void DrawRulerMark(CDC* pDC) { m_ruler.DrawCornerSquares(pDC); }
    void SetDragVerticalOffset(int pixels) { m_nDragVertical = pixels; }
    // In strip mode the start goes back to 0: the offset then places a
    // trace narrower than the view.
    void SetDragHorizontalOffset(int pixels);

    int GetDrawLength() const { return m_nPageSamples; }
    int GetScaleRatio() const { return m_zoom.GetStep(); }
    _RULER_STATUS GetRulerStatus() const { return m_ruler.GetStatus(); }
    int GetDragHorizontalOffset() const { return m_nDragHorizontal; }
    int GetDragVerticalOffset() const { return m_nDragVertical; }
    int GetStartSample() const { return m_nStart; }
    int GetWaveLength() const { return m_nWaveLength; }
    double GetZoom() const { return m_zoom.GetZoom(); }
    BOOL IsAverageMode() const { return m_bAverage; }
    const CEnlargedRuler& GetRuler() const { return m_ruler; }

protected:
    // The trace (and a rhythm record's events) in the rectangle from
    // `start`; FALSE when there is nothing to draw.
    BOOL DrawView(CDC* pDC, CRect rect, int start);

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    // The second press of a quick pair is a press for the ruler and the pan.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    // A press: the pan's start in ruler state -1, else the ruler's step.
    void Press(CPoint point);
    void FreeWave();
    // The lead through the document's strip or average getter; FALSE
    // without samples.
    BOOL ReadDocumentWave(CTavrionDoc* doc);
    BOOL ReadMferWave(CTavrionDoc* doc);
    // The record's beat window (tags 3723 and 3724), clamped to the samples read.
    void TakeBeatWindow(CTavrionDoc* doc);
    // The page start kept inside `length` samples, its page ending at least
    // `spare` samples before their end.
    void ClampStart(int length, int spare);
    int StripPageSamples() const;
    // Pixels per millivolt for the trace height h.
    int PixelsPerMillivolt(CTavrionDoc* doc, int h) const;
    // The lead is one of the free leads (electrode codes 119 to 124), drawn at a fixed 10 mm/mV.
    bool IsFixedGainLead(CTavrionDoc* doc) const;
    void DrawEvents(CDC* pDC, CRect rect, int traceLeft, int start);
    CString LeadName() const;
    // Samples across the whole view at 25 mm/s (the average beat's scale).
    int AverageSamplesAcross() const;
    void Pan(CPoint point);
    void SendReading();

    CTavrionDoc* m_pDoc = nullptr;    // not owned; taken at the initial update
    int m_nStart = 0;                 // first sample at the left edge (strip mode); 0 in average mode
    int m_nLead = 0;
    BOOL m_bAverage = FALSE;          // FALSE strip, TRUE average beat
    short* m_pWave = nullptr;         // the lead's samples (MemoryAlloc), null when none
    int m_nWaveLength = 0;            // samples in m_pWave
    double m_dResolution = 1.25;      // microvolts per sample unit
    int m_nSamplingRate = 500;        // samples per second of the buffer
    int m_nPageSamples = 0;           // samples across the view (average mode: the beat window)
    CEnlargedRuler m_ruler;
    CPoint m_ptDrag;                  // last mouse position while panning
    BOOL m_bDragging = FALSE;
    CEnlargedZoom m_zoom;
    int m_nTotalSamples = 0;          // the record's samples: bound of the strip pan
    int m_nDragVertical = 0;          // pixels added to the baseline
    int m_nDragHorizontal = 0;        // pixels added to the left of a trace narrower than the view
    int m_nEnlargeType = -1;          // lead index given to DrawWave (trace colour)
    float m_fSpeed = 25.0f;           // mm/s, strip mode
    float m_fSense = 10.0f;           // mm/mV
    int m_nFilter = 100;              // hi-cut Hz
    _ECGDATA* m_pRecord = nullptr;    // not owned; electrode codes and beat window
};
