// CViewMemoryWave: for the three ST leads of the current exercise item,
// three columns side by side: the resting beat, the average beat of the
// current memory (stored-strip) block and that block's rhythm strip, under a
// header with the block's exercise or recovery time, the sensitivity, the
// speed and the filter state. The exercise memory pane (parent type 0) and
// the summary pane (parent type 1) host it; the host prints it.
//
// The panes reload it through the no-argument OnUpdate from their own
// refresh; the framework's OnUpdate stays the base view's. The header
// follows the item's current time at paint, the beats and strips the block
// of the last reload.
#pragma once

#include "analysisviews/ExerBeatCell.h"
#include "documents/ExerViewDoc.h"
#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

class CECGDC;

class CViewMemoryWave : public CWaveView {
    DECLARE_DYNCREATE(CViewMemoryWave)

public:
    static constexpr int ROWS = 3;
    static constexpr int COLUMNS = 3;   // 0 resting beat, 1 current average beat, 2 strip
    static constexpr int GRID_ACROSS = 300;
    static constexpr int GRID_DOWN = 110;

    CViewMemoryWave();
    ~CViewMemoryWave() override;

    void SetParentWndType(int type) { m_nParentType = type; }
    int GetParentWndType() const { return m_nParentType; }
    using CWaveView::OnUpdate;
    // Reloads the beats and strips of the current memory block.
    virtual void OnUpdate();
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    int DrawView(CDC* pDC, CRect rect, int gridX, int gridY, int measuring, int printing);
    int Print(CECGDC* pDC, CRect rect, double pxPerMm, int widthMm, int heightMm, int grid);

    const ExerBeat& GetWave(int column, int row) const { return m_waves[column][row]; }
    int GetEventValue() const { return m_nEvent; }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

private:
    CExerViewDoc* GetExerDoc() const;
    const _EXERDATAITEM* CurrentItem() const;
    bool Annotating() const;
    // One 16-bit value of a tag at an index; `missing` when absent.
    int ReadWord(UINT tag, int index, int missing) const;
    void LoadWave(int column, int row, const std::function<int(short*)>& get);
    void DrawHeader(CDC* pDC, const CRect& rect, int gridX, int y) const;
    BOOL DrawCell(CDC* pDC, const CRect& rect, int column, int row, int gridX, int gridY, int measuring,
                  int printing, int& shift);

    int m_nEvent = 0;
    ExerBeat m_waves[COLUMNS][ROWS];
    int m_nParentType = 0;
    CWaveViewMagnifier m_magnifier;
};
