// CViewFinalCom1Lead: one lead of a master-step record as a tile of the
// summary page: the rest beat in the left half, the current post-load beat
// (the document's current comparison) in the right half, each with its ST
// level, a divider between them, the lead name, and a heavy frame when the
// lead is the record's lead of maximum ST depression.
//
// The screen grid is 40 x 30 squares; a 400-sample beat spans its half.
#pragma once

#include <vector>

#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

class CECGDC;
class CFinalViewDoc;

class CViewFinalCom1Lead : public CWaveView {
    DECLARE_DYNCREATE(CViewFinalCom1Lead)

public:
    CViewFinalCom1Lead();
    ~CViewFinalCom1Lead() override;

    void OnInitialUpdate() override {}
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

    void SetLeadID(int lead) { m_nLead = lead; }
    int GetLeadID() const { return m_nLead; }
    // The divisor of the printed gain (squares per enlarge times a millivolt).
    void SetEnlargeTimes(int times) { m_nEnlargeTimes = times; }
    // The printed grid in small squares.
    void SetWidthHeight(int width, int height)
    {
        m_nWidth = width;
        m_nHeight = height;
    }
    // The tile on the print device; scale is device units per small square.
    // 0 for a null device, else 1.
    int Print(CECGDC* pDC, CRect* pRect, float scale, int gridFlag, BOOL noFrame, int unused);

    // ---- what the update kept -----------------------------------------------------
    int GetRestCount() const { return m_rest.empty() ? 0 : m_nRestCount; }
    int GetLoadCount() const { return m_load.empty() ? 0 : m_nLoadCount; }
    short GetLoadShown() const { return m_sLoadShown; }

protected:
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    // The divider, the frame, the lead name and (on screen) the ST texts.
    void DispInformation(CDC* pDC, CRect rect, BOOL print, BOOL noFrame, float ratio);
    void ShowEnlargedPreview(CPoint point) { m_magnifier.Show(point); }
    BOOL MoveEnlargedPreview(CPoint point) { return m_magnifier.Move(point); }
    BOOL RedrawEnlargedPreview(float ratio, CPoint point) { return m_magnifier.Redraw(ratio, point); }

private:
    CFinalViewDoc* FinalDoc() const;
    // Both beats in their halves, `millivolt` pixels a millivolt.
    void DrawBeats(CDC* pDC, CRect rect, int millivolt, BOOL print);
    void DrawBeat(CDC* pDC, CRect half, int millivolt, const std::vector<short>& samples, int count, BOOL print);
    void DrawTile(CDC* pDC, CRect rect, float ratio);
    void LoadRest(CFinalViewDoc* doc);
    void LoadCurrent(CFinalViewDoc* doc);

    float m_fScale = 2.5f;             // microvolts per count
    int m_nLead = -1;                  // display lead 0..11
    std::vector<short> m_rest;         // 600 samples, empty when there is no rest data
    std::vector<short> m_load;         // 600 samples, empty when there is no current beat
    int m_nRestCount = 0;
    int m_nLoadCount = 0;
    short m_sRestST = -32768;          // 0.01 mm
    short m_sLoadST = -32768;
    short m_sRestShown = 0;
    short m_sLoadShown = 0;            // the current comparison's valid flag
    int m_nEnlargeTimes = 1;
    int m_nWidth = 40;                 // printed grid, small squares
    int m_nHeight = 30;
    CWaveViewMagnifier m_magnifier;
};
