// CEnlargedZoom: the zoom of the enlarged views: nine steps from 50% to
// 1000%, the pixels of a 1 mm square at 100%, and the paper grid counts they
// give a view of its size.
#pragma once

#include "waveviews/WaveView.h"

// The nine zoom steps, -4 (50%) to 4 (1000%).
const int ENLARGED_ZOOM_MIN_STEP = -4;
const int ENLARGED_ZOOM_MAX_STEP = 4;
// The zoom of a step; FALSE (zoom untouched) outside -4..4.
BOOL EnlargedZoomOfStep(int step, double* zoom);
// The label of a step ("100%"); null outside -4..4.
const wchar_t* EnlargedZoomLabel(int step);
// The step of the smallest zoom of the table not below `zoom`; FALSE for a
// zoom above 10.0 or not above 0, which no step shows.
BOOL EnlargedStepOfZoom(double zoom, int* step);

class CEnlargedZoom {
public:
    // Pixels per square across and down at 100%, and the zoom, whose step is
    // the smallest table zoom not below it (the zoom itself is kept); the
    // view's grid counts become its client over squares of that size times
    // the zoom. FALSE, changing nothing, for a zoom above 10 or not above 0
    // or a pixel size not above 0.
    BOOL SetBackGridSize(CWaveView& view, double across, double down, double zoom);
    // A step of -4..4 takes its zoom; any step is stored. The grid counts
    // follow; returns the whole squares across the client at 100%.
    int SetScaleRatio(CWaveView& view, int step);
    // The grid counts again, for a new client size.
    void Refit(CWaveView& view) { SetBackGridSize(view, m_dPixelsAcross, m_dPixelsDown, m_dZoom); }
    int GetStep() const { return m_nStep; }
    double GetZoom() const { return m_dZoom; }

private:
    static CSize ClientSize(CWaveView& view);

    int m_nStep = 0;               // -4..4; another value shows no label
    double m_dZoom = 1.0;
    double m_dPixelsAcross = 1.0;  // pixels per square at 100%
    double m_dPixelsDown = 1.0;
};
