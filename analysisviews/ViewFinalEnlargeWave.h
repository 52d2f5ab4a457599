// CViewFinalEnlargeWave: one lead's master-step beat (the rest beat or a
// post-load beat) enlarged inside the master-step enlarge dialogs, on paper
// zoomed in nine steps, panned by dragging, with the beat's ST level and the
// two-mark XOR ruler of the enlarged views.
//
// It reports to its dialog (the parent of its frame): WM_USER+0xA with the
// ruler span (microvolts in the high word, milliseconds in the low word;
// lParam the rest flag), and while panning WM_USER+0x10 (the rest flag)
// then WM_USER+0xB (the negated horizontal and vertical offsets).
#pragma once

#include <vector>

#include "waveviews/EnlargedRuler.h"
#include "waveviews/WaveView.h"

class CFinalViewDoc;

class CViewFinalEnlargeWave : public CWaveView {
    DECLARE_DYNCREATE(CViewFinalEnlargeWave)

public:
    CViewFinalEnlargeWave();
    ~CViewFinalEnlargeWave() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Loads the lead's beat of the document's current record.
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    // ---- set by the dialogs --------------------------------------------------------
    // The lead and whether the view shows the rest beat. The view draws the
    // document it was created on; the first argument is the caller's (the
    // dialogs pass their document, or 0) and is not kept.
    void SetWaveInfo(CTavrionDoc* doc, int lead, BOOL rest);
    // The post-load comparison (0-based); -2 the document's current one.
    void SetDataIndex(int index) { m_nLoadIndex = index; }
    // The grid counts at 100%.
    void InitBackground(int columns, int rows);
    // Pixels per square at 100% and a ratio that must be one of the nine
    // exactly (else nothing changes); the grid follows the client size.
    void SetBackGridSize(double across, double down, double ratio);
    // A step of -4..4 takes its ratio; any step is stored (only -4..4 show a
    // label). The grid is the 100% grid over the ratio. TRUE.
    BOOL SetScaleRatio(int step);
    int GetScaleRatio() const { return m_nStep; }
    double GetRatio() const { return m_dRatio; }
    _RULER_STATUS GetRulerStatus() const { return m_ruler.GetStatus(); }
    void SetRulerStatus(_RULER_STATUS status) { m_ruler.SetStatus(status); }
    void SetRulerClear(BOOL clear) { m_ruler.SetClear(clear); }
    void SetRulerMarkRect(int mark) { m_ruler.SetMarkRect(mark); }
    void DrawRulerMarkRect(CDC* pDC) { m_ruler.DrawCornerSquares(pDC); }
    int GetDragHorizontalOffset() const { return m_nHorizontal; }
    int GetDragVerticalOffset() const { return m_nVertical; }
    void SetDragHorizontalOffset(int pixels) { m_nHorizontal = pixels; }
    void SetDragVerticalOffset(int pixels) { m_nVertical = pixels; }

    int GetCount() const { return m_nCount; }
    short GetST() const { return m_sST; }
    short GetShown() const { return m_sShown; }
    const CEnlargedRuler& GetRuler() const { return m_ruler; }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    // "ST Level   " with the level at the bottom middle; nothing for -32768.
    void DrawSTLevel(CDC* pDC, CRect client, BOOL print);

private:
    CFinalViewDoc* FinalDoc() const;
    void LoadRest(CFinalViewDoc* doc);
    void LoadPostLoad(CFinalViewDoc* doc);
    void ApplyRatio(double across, double down);
    void Pan(CPoint point);
    void SendReading();

    int m_nLead = 0;                  // display lead index
    std::vector<short> m_samples;     // 600 samples of the lead's window
    int m_nBaseColumns = 0;           // grid counts at 100%
    int m_nBaseRows = 0;
    double m_dScale = 2.5;            // microvolts per count
    int m_nCount = 0;                 // samples of the beat
    BOOL m_bRest = TRUE;
    CEnlargedRuler m_ruler;
    BOOL m_bDragging = FALSE;
    int m_nStep = 0;                  // any value; -4..4 have a ratio and a label
    double m_dRatio = 1.0;
    int m_nVertical = 0;              // pan offsets, pixels, never beyond one client extent
    int m_nHorizontal = 0;
    CPoint m_ptAnchor;                // last mouse position while panning
    double m_dAcross = 1.0;           // pixels per square at 100%
    double m_dDown = 1.0;
    short m_sShown = 0;               // the rest-shown or the record's valid flag
    int m_nLoadIndex = -2;
    short m_sST = -32768;             // 0.01 mm
};
