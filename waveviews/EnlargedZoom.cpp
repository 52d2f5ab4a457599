// CEnlargedZoom: the zoom steps of the enlarged views and their grid counts.
#include "waveviews/EnlargedZoom.h"

namespace {

struct ZoomStep {
    double zoom;
    const wchar_t* label;
};

// Steps -4 to 4 in order.
const ZoomStep kZoomSteps[] = {
    {0.5, L"50%"}, {0.667, L"66.7%"}, {0.8, L"80%"},  {0.909, L"90%"}, {1.0, L"100%"},
    {2.0, L"200%"}, {4.0, L"400%"},  {5.0, L"500%"}, {10.0, L"1000%"},
};

const ZoomStep* StepEntry(int step)
{
    if (step < ENLARGED_ZOOM_MIN_STEP || step > ENLARGED_ZOOM_MAX_STEP) return nullptr;
    return &kZoomSteps[step - ENLARGED_ZOOM_MIN_STEP];
}

}  // namespace

BOOL EnlargedZoomOfStep(int step, double* zoom)
{
    const ZoomStep* entry = StepEntry(step);
    if (!entry) return FALSE;
    if (zoom) *zoom = entry->zoom;
    return TRUE;
}

const wchar_t* EnlargedZoomLabel(int step)
{
    const ZoomStep* entry = StepEntry(step);
    return entry ? entry->label : nullptr;
}

BOOL EnlargedStepOfZoom(double zoom, int* step)
{
    // A zoom of 0 or less would divide the grid by nothing.
    if (!(zoom > 0.0)) return FALSE;
    for (int s = ENLARGED_ZOOM_MIN_STEP; s <= ENLARGED_ZOOM_MAX_STEP; ++s) {
        if (zoom <= StepEntry(s)->zoom) {
            if (step) *step = s;
            return TRUE;
        }
    }
    return FALSE;
}

CSize CEnlargedZoom::ClientSize(CWaveView& view)
{
    CRect client(0, 0, 0, 0);
    if (view.GetSafeHwnd()) view.GetClientRect(&client);
    return CSize(client.Width(), client.Height());
}

BOOL CEnlargedZoom::SetBackGridSize(CWaveView& view, double across, double down, double zoom)
{
    int step = 0;
    if (!EnlargedStepOfZoom(zoom, &step) || !(across > 0.0) || !(down > 0.0)) return FALSE;
    m_nStep = step;
    m_dPixelsAcross = across;
    m_dPixelsDown = down;
    m_dZoom = zoom;
    const CSize size = ClientSize(view);
    view.InitBackground(static_cast<int>(size.cx / across / zoom), static_cast<int>(size.cy / down / zoom));
    return TRUE;
}

int CEnlargedZoom::SetScaleRatio(CWaveView& view, int step)
{
    EnlargedZoomOfStep(step, &m_dZoom);
    m_nStep = step;
    const CSize size = ClientSize(view);
    const int squaresAcross = static_cast<int>(size.cx / m_dPixelsAcross);
    const int squaresDown = static_cast<int>(size.cy / m_dPixelsDown);
    view.InitBackground(static_cast<int>(squaresAcross / m_dZoom), static_cast<int>(squaresDown / m_dZoom));
    return squaresAcross;
}
