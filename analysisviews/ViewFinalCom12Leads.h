// CViewFinalCom12Leads: the master-step comparison page. The rest beats of
// the twelve leads stand in one row at the top; under them, up to three
// post-load beats a page, one row each, with their difference beat
// (post-load minus rest, aligned on the beats' alignment points) above the
// row, the ST level under every beat and the heart rate under every row.
//
// Layout in small squares of a 310 x 180 grid (the print passes its own
// counts): the rest row's baseline at 20, post-load row k at 20 + (k + 1) S
// and its difference row at (s / 2 + k s + 4) 5, where s = (rows / 5 - 7) / 3
// and S = 5 s (45 on the screen grid); lead columns 25 squares apart on
// screen and 20 on paper; a beat of 400 samples spans 20 squares.
#pragma once

#include <vector>

#include "documents/FinalDataItem.h"
#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

class CECGDC;
class CFinalViewDoc;

// One difference beat of the view.
struct _FINAL_COMPARE_BEAT {
    std::vector<short> samples;   // 12 lead blocks of 600; zero outside the window
    int nStart = 0;               // first sample of the comparison window
    int nEnd = 0;                 // end of the window (exclusive); nStart == nEnd: none
    short sQrsOnset = 0;          // the common alignment point
};

class CViewFinalCom12Leads : public CWaveView {
    DECLARE_DYNCREATE(CViewFinalCom12Leads)

public:
    CViewFinalCom12Leads();
    ~CViewFinalCom12Leads() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

    // Post-load count / 3 rounded up; 1 without post-load beats.
    int GetTotalPage() const;
    int GetCurrentPage() const { return m_nCurPage; }
    // Clamped into 0..GetTotalPage() - 1; the previous page.
    int SetCurrentPage(int page);
    // Moves by `step` pages, never past the first or the last, drops the
    // page's annotations when the document asks for it and repaints; the
    // new page, 0 without a document.
    int ChangeView(int step);
    // One page on the print device; scale is device units per small square.
    // 0 for a null device, else 1.
    int Print(CECGDC* pDC, CRect rect, int gridX, int gridY, double scale, int unused, int page);

    // ---- what the update kept (for the panes and the tests) -------------------
    int GetLoadCount() const { return m_nLoadCount; }
    const _FINAL_COMPARE_BEAT* GetCompareBeat(int k) const;

protected:
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    // Calibration pulses at the left of every row of the page.
    void DrawComCal(CDC* pDC, CRect rect, int gridX, int gridY, int page, BOOL print);
    // The rest row, then each post-load row of the page with its difference row.
    void DrawComWave(CDC* pDC, CRect rect, int gridX, int gridY, int page, BOOL print);
    // A difference trace: a vertical line per sample from the baseline (the
    // rectangle's top), then the baseline; nothing under 10 samples.
    void DrawComparisonWave(CDC* pDC, CRect rect, double scale, short* samples, int count, BOOL print);
    // Lead names, labels, times, ST levels and heart rates.
    void DispInformation(CDC* pDC, CRect rect, int gridX, int gridY, int page, BOOL print, float ratio);
    // The difference beat of post-load beat k against the rest beat.
    void GetComparisonData(int k);

    void ShowEnlargedPreview(CPoint point) { m_magnifier.Show(point); }
    BOOL MoveEnlargedPreview(CPoint point) { return m_magnifier.Move(point); }
    BOOL RedrawEnlargedPreview(float ratio, CPoint point) { return m_magnifier.Redraw(ratio, point); }

private:
    struct Geometry;   // the page's layout in device units
    CFinalViewDoc* FinalDoc() const;
    void ClearBuffers();
    void LoadRest(CFinalViewDoc* doc, const _FINALDATAITEM& item);
    void LoadPostLoad(CFinalViewDoc* doc, const _FINALDATAITEM& item);
    // Post-load rows on `page` (3, fewer on the last page, 0 on a page past it).
    int RowsOnPage(int page) const;
    // Post-load beat k is valid with a window: its values are written.
    bool HasValues(int k) const;
    // ... and its samples were read: it is drawn.
    bool HasBeat(int k) const;
    // The cell of the double-click grid under the point; false for none.
    bool HitCell(CPoint point, int* row, int* column) const;
    bool RestWindowEmpty() const { return m_nRestEnd <= m_nRestStart; }
    // One lead's window of a 12 x 600 block into out; the sample count.
    int CopyLeadWindow(const std::vector<short>& block, int column, int start, int end, std::vector<short>& out) const;
    void DrawRow(CDC* pDC, const Geometry& g, const std::vector<short>& block, int start, int end, int baseline,
                 int shiftPx, int offsetPx, BOOL print, BOOL difference);
    void DrawValues(CDC* pDC, const Geometry& g, const short* st, short heartRate, int y);
    void DrawPage(CDC* pDC, CRect rect, int gridX, int gridY, int page, BOOL print, float ratio);

    float m_fScale = 2.5f;                       // microvolts per count
    int m_nLoadCount = 0;
    int m_nCurPage = 0;                          // 0-based
    std::vector<_FINAL_COMPARE_BEAT> m_compare;  // one per post-load beat
    std::vector<_FINAL_LOAD_INFO> m_load;        // copies of the item's records (sample pointer unused)
    std::vector<std::vector<short>> m_loadWave;  // each post-load block, empty when unread
    std::vector<short> m_rest;                   // 12 x 600 rest block, empty when unread
    int m_nRestStart = 0;                        // rest window, end exclusive
    int m_nRestEnd = 0;
    short m_sRestST[FINAL_ST_LEADS] = {};        // 0.01 mm; -32768 none
    short m_sRestQrsOnset = 0;
    short m_sRestShown = 1;                      // 0: only the grid and annotations
    short m_sRestHeartRate = -32768;             // bpm
    CWaveViewMagnifier m_magnifier;
};
