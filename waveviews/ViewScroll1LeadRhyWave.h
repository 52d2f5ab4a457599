// CViewScroll1LeadRhyWave: the overview strip under each record of the serial
// rhythm comparison. It shows one lead of the whole record wrapped into rows
// at the comparison's one-lead speed; the page the comparison view above it
// shows is the window, drawn in the normal colours, the rest dimmed. A drag
// of the window pages the record: at the release the pane hears the new page
// start with WM_STRIP_DRAGGED (the strip's view index in lParam).
#pragma once

#include "platform/base/Kernel.h"
#include "waveviews/StripGeometry.h"
#include "waveviews/ViewSerialComRhy.h"
#include "waveviews/WaveViewMagnifier.h"

class CViewScroll1LeadRhyWave : public CViewSerialComRhy {
    DECLARE_DYNCREATE(CViewScroll1LeadRhyWave)

public:
    CViewScroll1LeadRhyWave();
    ~CViewScroll1LeadRhyWave() override;

    void SetScroll(BOOL scroll) { m_bScroll = scroll; }
    // The window is the comparison's page, 120 mm at the record document's
    // speed, held inside the record; with notify the pane hears a start the
    // holding moved. The style is not used.
    void SetScrollRhyWidth(_RHYTHM_WAVE_STYLE style, BOOL notify);
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    BOOL Print(CECGDC* pDC, CRect rect, int gridX, int gridY, double scale, int unused, int printTraces);

    // The comparison view's magnifier, with the strip's own drawing.
    void ShowEnlargedPreview(CPoint point) { m_magnifier.Show(point); }
    BOOL MoveEnlargedPreview(CPoint point) { return m_magnifier.Move(point); }
    BOOL RedrawEnlargedPreview(float ratio, CPoint point) { return m_magnifier.Redraw(ratio, point); }

    // ---- read by the panes and tests ------------------------------------------
    int GetWindowLength() const { return m_nWindowLength; }
    int GetWindowLeftX() const { return m_nWindowLeftX; }
    int GetWindowRightX() const { return m_nWindowRightX; }
    int GetRowCount() const { return m_nRowCount; }
    BOOL IsDragging() const { return m_bDragging; }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    // The strip's sensitivity into its record's document while that record is current there.
    void UpdateRhythmSense();
    BOOL DrawScrollRhyView(CDC* pDC, CRect rect, int print, int magnifier);
    BOOL DrawWaveInfo(CDC* pDC, CRect rect, BOOL subdued, int print);
    BOOL DrawRowPart(CDC* pDC, const CRect& rect, const CRect& band, const CRect& trace, int row, int from, int to,
                     bool inside, const CStripGeometry& g, int print);
    CStripGeometry Geometry(int stripWidth, BOOL print) const;
    int Margin(int width) const { return m_nGridColumns > 0 ? MulDiv(width, 10, m_nGridColumns) : 0; }
    bool AnnotationTakesMouse() const;
    BOOL DrawMagnified(CDC* pDC, const CRect& draw, float ratio);

    BOOL m_bScroll = TRUE;
    int m_nWindowLength = 0;
    int m_nWindowLeftX = 0;
    int m_nWindowRightX = 0;
    int m_nRowCount = 1;
    int m_nLastStripX = 0;
    BOOL m_bDragging = FALSE;
};
