// CViewEnlargedPreview: the view inside the hover magnifier window. It only
// shows its off-screen picture; a waveform view under the mouse draws itself
// magnified into a canvas laid out here and copies the part around the
// cursor into that picture.
#pragma once

#include <memory>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DCObjectSelector.h"
#include "waveviews/WaveView.h"

class CViewEnlargedPreview : public CWaveView {
    DECLARE_DYNCREATE(CViewEnlargedPreview)

public:
    CViewEnlargedPreview();
    ~CViewEnlargedPreview() override;

    // The magnification keeps its whole part, and is at least 1.
    void SetScaleRatio(float ratio);
    float GetScaleRatio() const { return m_fScaleRatio; }

    // Lays out the canvas (the source's client area times a factor that
    // keeps it within about twice the screen, plus five magnified squares)
    // and the draw rectangle (the whole magnified picture, moved in steps of
    // five squares so that the cursor lies near the canvas centre, and kept
    // over the canvas). Grid counts of 0 give an empty layout.
    void CalcEnlargedRect(int left, int top, int right, int bottom, int cursorX, int cursorY, int gridX, int gridY);
    void CalcEnlargedRect(CRect client, CPoint cursor, int gridX, int gridY)
    {
        CalcEnlargedRect(client.left, client.top, client.right, client.bottom, cursor.x, cursor.y, gridX, gridY);
    }
    void GetCanvasRect(CRect* rect) const { *rect = m_rcCanvas; }
    void GetDrawRect(CRect* rect) const { *rect = m_rcDraw; }
    // The part of the picture on the canvas, in picture coordinates.
    CRect GetVisibleRect();
    void GetVisibleRect(CRect* rect) { *rect = GetVisibleRect(); }
    // The display picture, cleared with the paper colour; null before the
    // first OnInitialUpdate.
    CDC* GetMemDC();

    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    COLORREF PaperColour() const;

    float m_fScaleRatio = 4.0f;
    CRect m_rcCanvas;
    CRect m_rcDraw;
    CRect m_rcVisible;
    // The bitmap comes before the DC and the selection after both, so that
    // the bitmap is selected out before the DC and the bitmap go.
    std::unique_ptr<CBitmap> m_pMemBitmap;
    std::unique_ptr<CDC> m_pMemDC;
    std::unique_ptr<CDCObjectSelector<CBitmap>> m_pMemSelection;
};
