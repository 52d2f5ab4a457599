// CViewScroll1LeadWave: the narrow strip under a page of waveforms. It shows
// one lead of the whole record, wrapped into as many rows as the record needs,
// and marks in the normal paper colours the stretch the page above it shows
// (the window); the rest is dimmed. Dragging the window with the left button
// pages the record: at the release the strip tells its parent the new first
// sample of the page with WM_STRIP_DRAGGED, and the pane moves the page.
//
// Strip geometry, shared by painting, the mouse and the event marks: a margin
// of ten grid columns holds the pulse; the strip proper is S pixels wide and
// the whole record T = v × N × S / f / (K − 10) strip pixels long (v the
// strip speed, N samples at f per second, K grid columns); strip pixel p lies
// in row p / S at column p mod S.
//
// Split by area: ViewScroll1LeadWave.cpp (window, update, paint, strip
// drawing), ViewScroll1LeadWaveInput.cpp (dragging, the magnifier, printing).
#pragma once

#include <memory>
#include <vector>

#include "waveviews/StripGeometry.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/WaveViewMagnifier.h"

class CViewScroll1LeadWave : public CViewRhythmWave {
    DECLARE_DYNCREATE(CViewScroll1LeadWave)

public:
    CViewScroll1LeadWave();
    ~CViewScroll1LeadWave() override;

    // Off: the window covers the whole record. Takes effect at the next update.
    void SetScroll(BOOL scroll) { m_bScroll = scroll; }
    // Recomputes the window length, the strip sensitivity and the page start
    // for `style` (0: the document's); with notify the parent hears of a page
    // start the clamping moved, without it the window length is kept.
    void SetScrollWidth(_RHYTHM_WAVE_STYLE style, BOOL notify);
    // The duration marks a printed page draws: mode, mark index, span in
    // seconds and the start flag.
    void SetDurationMarkInfo(int mode, int mark, double value, int flag);

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

    // Grid, trace, labels and event marks of every row into the strip
    // rectangle; FALSE without samples or when a trace failed.
    BOOL DrawScorllView(CDC* pDC, CRect strip, BOOL print, BOOL preview);
    // The strip on screen from the kept rows, drawn first when they are
    // missing or stale; FALSE without samples or when a trace failed.
    BOOL DrawScreenStrip(CDC* pDC, const CRect& client, const CRect& strip);
    // Lead name, speed and sensitivity; FALSE without a record of the kind.
    BOOL DrawWaveInfo(CDC* pDC, CRect rect, BOOL outside, BOOL print);
    // The events of a rhythm record, two millimetres above their row's bottom.
    void DrawEventInfo(CDC* pDC, CRect rect, BOOL print, int unused);
    // The strip on paper: a page of the view, or for long rhythm records the
    // whole record in wrapped rows. FALSE when drawing failed; the page start
    // is kept either way.
    BOOL Print(CECGDC* pDC, CRect rect, int widthMm, int heightMm, double pxPerMm, int unused);

    void ShowEnlargedPreview(CPoint point) { m_magnifier.Show(point); }
    BOOL MoveEnlargedPreview(CPoint point) { return m_magnifier.Move(point); }
    BOOL RedrawEnlargedPreview(float ratio, CPoint point) { return m_magnifier.Redraw(ratio, point); }

    // ---- read by the panes and tests ---------------------------------------
    int GetRowCount() const { return m_nRowCount; }
    int GetWindowLength() const { return m_nWindowLength; }
    int GetWindowLeftX() const { return m_nWindowLeftX; }
    int GetWindowRightX() const { return m_nWindowRightX; }
    BOOL IsDragging() const { return m_bDragging; }
    int GetRecordLength() const { return LeadCount(0); }
    // The strip sensitivity by record length in mm/mV (the stored default
    // for records under the threshold).
    float StripSense() const;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    // The strip's measures for a width of `stripWidth` pixels at `speed`.
    CStripGeometry Geometry(int stripWidth, float speed, int gridX) const;
    int Margin(int width) const;

    // ---- recomputation ------------------------------------------------------
    // The window length of the page style; false for a style that has none
    // (the update then ends) or when the document has no speed.
    bool WindowLengthOf(_RHYTHM_WAVE_STYLE style, int& length) const;
    // Writes the strip sensitivity into the document.
    void ApplyStripSense();
    int SenseThreshold() const { return m_bHalfStyle ? 25000 : 50000; }
    bool IsLongRecord() const { return LeadCount(0) > SenseThreshold(); }
    // Clamps the page start to the window; true when it moved.
    bool ClampPageStart();
    // The pane hears of the page start.
    void NotifyPageStart();

    // ---- drawing ------------------------------------------------------------
    void PlaceOneRow(CRect pulseRect, int gridY, int print);
    // One of a row's three parts: before the window, the window, after it,
    // from..to pixels from the row's left end.
    struct CRowPart {
        CRect band;
        CRect trace;
        int row;
        int from;
        int to;
        bool inside;
    };
    // Which colours a row's parts take: by the window, or all one kind.
    enum Coverage { kAsWindow, kAllInside, kAllOutside };
    BOOL DrawRows(CDC* pDC, const CRect& strip, const CStripGeometry& g, BOOL print, Coverage coverage);
    BOOL DrawRow(CDC* pDC, const CRect& strip, const CStripGeometry& g, int row, bool labels, BOOL print,
                 Coverage coverage);
    // The event marks clipped to the strip.
    void DrawEvents(CDC* pDC, const CRect& strip, Coverage coverage);
    void DrawEventMarks(CDC* pDC, const CRect& rect, BOOL print, Coverage coverage);
    // A mark's height, and its baseline in row `row`, on a strip `rect`.
    int MarkHeight(int width) const;
    int MarkY(const CRect& rect, int row) const;

    // ---- the screen's kept rows -----------------------------------------------
    // What the kept rows were drawn for; any change draws them again.
    struct CStripKey {
        int width, height, samples, total, rows;
        float sense;
        int baseline, style;
        double amplitude;
        bool operator==(const CStripKey& o) const
        {
            return width == o.width && height == o.height && samples == o.samples && total == o.total &&
                   rows == o.rows && sense == o.sense && baseline == o.baseline && style == o.style &&
                   amplitude == o.amplitude;
        }
    };
    // A copy of the picture under the strip with every row drawn on it, in
    // the window's colours or dimmed; the dimmed one with every event's mark.
    std::unique_ptr<CDC> KeptPicture(CDC* pDC, const CRect& client, const CRect& strip, const CStripGeometry& g,
                                     bool inside);
    // Rows first..last all in one colour: the grid, labels and version text
    // once over their bands, then each row's trace in its own band.
    BOOL DrawUniformRows(CDC* pDC, const CRect& strip, const CStripGeometry& g, bool inside, int first, int last);
    void DropKeptRows();
    // Where the window differs from the dimmed kept rows: its spans, and
    // where the marks of its events can lie.
    std::vector<CRect> WindowAreas(const CRect& strip, const CStripGeometry& g);
    // The marks of the record's events by where they stand on the strip, so
    // that those over a small area are found without passing every event.
    struct CKeptMark {
        int row;
        int column;
        int event;
        bool operator<(const CKeptMark& o) const
        {
            return row != o.row ? row < o.row : column != o.column ? column < o.column : event < o.event;
        }
    };
    void KeepMarks(const CRect& strip);
    // Every mark that reaches `area` drawn again in event order, within it.
    void RedrawMarksOver(CDC* pDC, const CRect& strip, const CRect& area);
    // The marks of `events` (in the order given) on the strip `rect`: the
    // window's pen or the dimmed one by the event's side, the strokes of a
    // run of one pen in one call.
    void DrawMarkRuns(CDC* pDC, const CRect& rect, const CStripGeometry& g, const std::vector<int>& events,
                      Coverage coverage);
    // Where row `row`'s trace is drawn: its baseline and the pixels of 1 mV.
    CRect RowTrace(const CRect& strip, const CStripGeometry& g, int row) const;
    BOOL DrawRowPart(CDC* pDC, const CRect& strip, const CStripGeometry& g, const CRowPart& part, bool labels,
                     BOOL print);
    bool LabelsAllowed(int gridX) const;
    void DrawPartGrid(CDC* pDC, const CRect& strip, bool inside, bool labels);
    BOOL DrawPartTrace(CDC* pDC, const CRect& trace, const CStripGeometry& g, int row, bool inside, BOOL print);
    // Speed text and its gap to the sensitivity text.
    CString SpeedText(float speed, int length, int width, int& gap) const;
    // The picture the magnifier shows, at the canvas's draw rectangle.
    BOOL DrawMagnified(CDC* pDC, const CRect& draw, float ratio);

    // ---- printing -----------------------------------------------------------
    bool IsLongRhythmRecord() const;
    BOOL PrintRows(CECGDC* pDC, CRect rect, int widthMm, int heightMm);

    int m_nRowCount = 1;
    int m_nWindowLength = 0;
    int m_nLastStripX = 0;
    int m_nWindowLeftX = 0;
    int m_nWindowRightX = 0;
    BOOL m_bDragging = FALSE;
    BOOL m_bScroll = TRUE;
    BOOL m_bLoadTried = FALSE;
    std::unique_ptr<CDC> m_pInsideRows;    // every row in the window's colours
    std::unique_ptr<CDC> m_pOutsideRows;   // every row dimmed
    std::vector<CKeptMark> m_keptMarks;      // sorted by row, then column
    INT_PTR m_keptMarkEvents = -1;           // the events they were kept for
    CStripKey m_keptKey{};   // a paint asked for the samples since the last update
    CWaveViewMagnifier m_magnifier{*this};
};
