// CViewCAL: a narrow column of millimetre paper with the 1 mV calibration
// pulses of the traces beside it, at the document's common sensitivity.
// Panes put it left of trace views without pulses of their own; the enlarge
// dialogs host it too (then it takes no clicks and no magnifier). A click
// asks the pane for another sensitivity; it prints itself on paper.
#pragma once

#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

class CECGDC;

class CViewCAL : public CWaveView {
    DECLARE_DYNCREATE(CViewCAL)

public:
    CViewCAL();
    ~CViewCAL() override;

    void SetCALCount(int count) { m_nCALCount = count; }
    int GetCALCount() const { return m_nCALCount; }
    // The paper's squares across and down.
    void SetCALArea(int columns, int rows) { InitBackground(columns, rows); }
    void SetDialogCAL(BOOL hosted) { m_bDialogCAL = hosted; }
    void SetDrawFrame(BOOL frame) { m_bDrawFrame = frame; }
    // Kept for the panes: the column's pulses are single-step, so it changes nothing drawn.
    void SetChestHalf(BOOL half) { m_bChestHalf = half; }
    void SetEnlargeTimes(int times) { m_nEnlargeTimes = times; }

    // Drops the magnifier caches.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

    // The screen form of the print call: nothing to print.
    BOOL Print(CDC* pDC, CRect rect, int, int);
    // The printed column: a grid 10 mm wide in whole 5 mm blocks, the
    // rectangle rewritten to it, the pulses at the view's sensitivity.
    BOOL Print(CECGDC* pDC, CRect* pRect, double pxPerMm, int grid);
    // The same column with the pulses spread over its height at the common
    // sensitivity, enlarged by the enlarge times.
    BOOL PrintCal(CECGDC* pDC, CRect* pRect, double pxPerMm, int grid);

    // How many of `count` pulses stand in the column at `sense` mm/mV: one
    // when they would not fit (six above 10 mm/mV; on screen three or more,
    // on paper exactly three, above 20; on screen any number at 40).
    static int CollapsedCount(int count, float sense, BOOL screen);

    // ---- the hover magnifier -------------------------------------------------
    void ShowEnlargedPreview(CPoint point) { m_magnifier.Show(point); }
    BOOL MoveEnlargedPreview(CPoint point) { return m_magnifier.Move(point); }
    BOOL RedrawEnlargedPreview(float ratio, CPoint point) { return m_magnifier.Redraw(ratio, point); }
    const CWaveViewMagnifier& GetMagnifier() const { return m_magnifier; }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    // The screen pulses in `rect`; nothing without a count or a grid.
    void DrawScreenPulses(CDC* pDC, const CRect& rect);
    // The printed grid of 10 mm × h5 mm (h5: the rectangle's height in whole
    // 5 mm blocks), then the rectangle rewritten to it; h5, or -1 when
    // nothing more is to be printed.
    int PrintColumn(CECGDC* pDC, CRect* pRect, double pxPerMm, int grid);
    void DrawPrintedPulse(CDC* pDC, const CRect& rect, int y, int height);

    int m_nEnlargeTimes = 1;   // pulse height factor of PrintCal
    BOOL m_bDrawFrame = TRUE;  // frame around the printed column
    BOOL m_bDialogCAL = FALSE; // hosted by an enlarge dialog: no clicks, no magnifier
    BOOL m_bChestHalf = FALSE;
    int m_nCALCount = 0;       // pulses stacked in the column; 0 draws none
    CWaveViewMagnifier m_magnifier;
};
