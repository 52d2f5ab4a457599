// CSheetView: the host's own small view on CWaveView. It draws every lead of
// the current record in a row of its own, each with its 1 mV calibration
// pulse, on 25 mm/s paper, in the document's smoothing mode and grid kind.
#pragma once

#include <vector>

#include "waveviews/WaveView.h"

class CECGDC;

class CSheetView : public CWaveView {
    DECLARE_DYNCREATE(CSheetView)

public:
    CSheetView() = default;

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    // The same drawing on paper: the caller printed the grid over rect.
    BOOL Print(CECGDC* pDC, CRect rect, int columns, int rows);
    // The leads and the microvolts per sample unit they were read with.
    int GetLeadCount() const { return static_cast<int>(m_leads.size()); }

private:
    void DrawView(CDC* pDC, CRect rect, int columns, int rows, BOOL print);
    // Squares across for the width of the paper: 10 s at 25 mm/s and the
    // pulse column; rows follow the client's shape.
    void LayOutGrid();

    std::vector<std::vector<short>> m_leads;
    double m_dScale = 0.00125;   // device rhythm samples: 1.25 µV a unit
};
