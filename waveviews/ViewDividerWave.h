// CViewDividerWave: the strip of the divider dialog. One lead as a one-lead
// strip over the part of the record the dialog's scroll bar selects, with
// three calipers of its own that move only sideways; every new interval goes
// to the dialog with WM_USER+7 (milliseconds, caliper 0..2).
#pragma once

#include "waveviews/ViewRhythmWave.h"

class CViewDividerWave : public CViewRhythmWave {
    DECLARE_DYNCREATE(CViewDividerWave)

public:
    CViewDividerWave();
    ~CViewDividerWave() override;

    // Places the calipers from the record's heart rate and reports them.
    void OnInitialUpdate() override;
    // The strip and the calipers, composed off screen.
    void OnDraw(CDC* pDC) override;

    // The strip shows `samples` samples from `start`.
    void SetWaveRange(int start, int samples);
    void SetDivider2Check(BOOL check) { m_bOn2 = check; }
    void SetDivider3Check(BOOL check) { m_bOn3 = check; }
    int GetStripStart() const { return m_nStripStart; }
    int GetStripSamples() const { return m_nStripSamples; }
    int GetInterval() const { return m_nCaliperInterval; }
    CRect GetCaliperHandle(int caliper, int line) const { return m_rcCaliper[caliper][line]; }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    bool IsCaliperOn(int caliper) const { return caliper == 0 || (caliper == 1 ? m_bOn2 : m_bOn3); }
    // Pixels the strip's samples span; 0 before the view is sized or without samples.
    int StripPixels(const CSquares& s);
    // The handle of a line at x, on the strip's foot line.
    CRect LineHandle(double x, int h) const;
    void PlaceCaliperBar(int caliper, int h);
    void DrawCalipers(CDC* pDC, const CRect& client);
    void DragLine(CPoint point);
    void DragWhole(CPoint point);
    // The dialog the view reports to (the frame's parent when it sits in one).
    CWnd* Owner() const;

    int m_nActiveCaliper = 0;
    int m_nCaliperInterval = 0;
    CRect m_rcCaliper[3][2];
    CRect m_rcCaliperBar[3];
    double m_dCaliperHalf[3] = {};
    BOOL m_bOn2 = FALSE;
    BOOL m_bOn3 = FALSE;
    BOOL m_bDragLine[2] = {};
    BOOL m_bDragCaliper = FALSE;
    HCURSOR m_hArrowCursor = nullptr;
    int m_nLastX = 0;
    int m_nStripStart = 0;
    int m_nStripSamples = 0;
};
