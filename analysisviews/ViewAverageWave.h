// CViewAverageWave: the averaged beat of the twelve standard leads of one
// examination on a 4 × 3 grid of millimetre paper (130 × 120 squares), with
// a calibration column at the left, the lead names and, per lead, the ST
// level in millimetres. Rest, rhythm and MFER documents. A click in the
// calibration column asks the pane for another sensitivity, a double click on
// a lead opens the enlarged beat, hovering feeds the magnifier. The same
// drawing serves screen, magnifier and paper.
//
// Lead k sits in column k / rows, row k % rows; leads 0-5 are limb leads
// (sensitivity kind 1), 6-11 chest leads (kind 0).
#pragma once

#include <vector>

#include "platform/base/Strings.h"
#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

#define AVERAGE_VIEW_LEADS 12

class CECGDC;

class CViewAverageWave : public CWaveView {
    DECLARE_DYNCREATE(CViewAverageWave)

public:
    CViewAverageWave();
    ~CViewAverageWave() override;

    // Reloads beats, beat window and ST texts from the current item.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    // Paints through an off-screen bitmap; a failed drawing keeps the screen.
    void OnDraw(CDC* pDC) override;

    // The whole picture: calibration column and lead grid. gridColumns and
    // gridRows are the paper's squares across and down.
    BOOL DrawView(CDC* pDC, CRect rect, int gridColumns, int gridRows, BOOL print);
    // The calibration column; FALSE when it holds no pulse.
    BOOL DrawAveCAL(CDC* pDC, CRect rect, int gridColumns, int gridRows, BOOL print);
    // The lead grid; FALSE without a current item or when a trace failed.
    BOOL DrawAveWave(CDC* pDC, CRect rect, int gridColumns, int gridRows, BOOL print);
    // The printed copy at the rectangle's top left, gridColumns × gridRows mm.
    BOOL Print(CECGDC* pDC, CRect rect, int gridColumns, int gridRows, double pxPerMm, int, int);
    // The lead under a client point (-1 outside every cell) and, in `sample`,
    // the beat sample under it.
    int GetClickLead(CPoint point, int& sample);

    void SetCALCount(int count) { m_nCALCount = count; }
    int GetCALCount() const { return m_nCALCount; }
    int GetWindowStart() const { return m_nWindowStart; }
    int GetWindowSpan() const { return m_nWindowSpan; }
    int GetSampleCount(int lead) const;
    // Samples per second of the beats: an MFER file's own rate, 500 for device records.
    int GetSampleRate() const { return m_nSampleRate; }
    CString GetSTText(int lead) const;

    // ---- the hover magnifier -------------------------------------------------
    void ShowEnlargedPreview(CPoint point) { m_magnifier.Show(point); }
    BOOL MoveEnlargedPreview(CPoint point) { return m_magnifier.Move(point); }
    BOOL RedrawEnlargedPreview(float ratio, CPoint point) { return m_magnifier.Redraw(ratio, point); }
    const CWaveViewMagnifier& GetMagnifier() const { return m_magnifier; }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    // The beat window one lead cell shows: start and span within the samples held.
    struct CCellWindow {
        int nStart = 0;
        int nSpan = 0;
    };
    // The column's beat window from the view's: later columns start one
    // square later when the beat would overrun them.
    CCellWindow ColumnWindow(int column, int gridColumns) const;
    // The trace rectangle of a window in a cell (top = baseline, height = gain).
    CRect TraceRect(const CRect& area, int cellLeft, int baseline, int gain, const CCellWindow& window,
                    int gridColumns) const;
    // Lead cells: left edge of column c and baseline of row r in `area`.
    int CellLeft(const CRect& area, int column) const;
    int RowBaseline(const CRect& area, int row) const;
    // The lead's sensitivity in mm/mV and its gain in pixels per mV.
    float LeadSense(int lead) const;
    int LeadGain(int lead, int height, int gridRows) const;
    void DrawLeadCell(CDC* pDC, const CRect& area, int lead, int gridColumns, int gridRows, BOOL print, BOOL& ok);
    // Whether the ST texts are shown at all.
    bool ShowsST() const;
    // Each loads the current record's beats, window and ST texts; false without one.
    bool LoadMfer();
    bool LoadRest();
    void FormatSTTexts();
    void FreeLeads();
    // Whether the document wants its clicks for annotations.
    bool InAnnotationMode() const;
    // The microvolts per sample unit of the current record.
    double AmplitudeUnit() const;
    // The document's page font (its second font); null without a document.
    CFont* TextFont() const;
    void SetMagnifierDrawing();
    int CalibrationWidth(int width) const;
    void OpenEnlargedBeat(int lead, int sample);

    static constexpr int kCalibrationSquares = 10;   // the calibration column's width
    // An ST text the record left without a value.
    static bool IsMissingST(const CString& text) { return text.CompareNoCase(L"****") == 0; }

    int m_nRows = 3;                      // leads per column
    int m_nColumns = 4;                   // lead columns
    int m_nCALCount = 3;                  // pulses stacked in the calibration column
    std::vector<short> m_leadData[AVERAGE_VIEW_LEADS];   // the averaged beat of each lead
    int m_nSampleRate = 500;              // samples per second of the beats
    double m_dAmplitudeUnit = 2.5;        // microvolts per sample unit
    int m_nWindowStart = 0;               // first sample of the beat window
    int m_nWindowSpan = 0;                // samples in the beat window
    CString m_strST[AVERAGE_VIEW_LEADS];  // ST level in mm as shown, or "****"
    CWaveViewMagnifier m_magnifier;
};
