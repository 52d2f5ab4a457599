#include "waveviews/StripGeometry.h"

#include <algorithm>

#include "core/Globals.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "waveviews/WaveView.h"

CStripGeometry MakeStripGeometry(int samples, int rate, int gridX, float speed, int stripWidth, int start, int window,
                                 bool oneRow)
{
    CStripGeometry g;
    g.stripWidth = stripWidth;
    const int n = samples;
    if (n <= 0 || rate <= 0 || gridX <= 10 || speed <= 0.0f || stripWidth <= 0) return g;
    const double length = gridX - 10;
    g.total = static_cast<int>(static_cast<double>(speed) * n * stripWidth / rate / length);
    g.samplesPerRow = static_cast<int>(length / speed * rate);
    if (g.samplesPerRow > 0 && !oneRow) g.rows = std::max(1, (n + g.samplesPerRow - 1) / g.samplesPerRow);
    if (window > 0 && g.total > 0) {
        g.windowFrom = MulDiv(start, g.total, n);
        g.windowTo = g.windowFrom + MulDiv(window, g.total, n);
    }
    return g;
}

void StripWindowSpan(const CStripGeometry& g, int row, int& e1, int& e2)
{
    const int s = g.stripWidth;
    e1 = e2 = s;
    if (g.windowFrom >= (row + 1) * s || g.windowTo < row * s) return;
    e1 = std::max(0, g.windowFrom - row * s);
    e2 = std::min(s, g.windowTo - row * s);
}

CRect StripRowBand(const CRect& strip, const CStripGeometry& g, int row)
{
    const int h = strip.Height();
    return CRect(strip.left, strip.top + row * h / g.rows, strip.right + 1, strip.top + (row + 1) * h / g.rows);
}

int StripRowAt(int y, int height, int rows)
{
    for (int r = 0; r < rows; ++r)
        if (y >= r * height / rows && y < (r + 1) * height / rows) return r;
    return 0;
}

int StripRowAtOrAbove(int y, int height, int rows)
{
    for (int r = 0; r < rows; ++r)
        if (r * height / rows <= y && y <= (r * height + height) / rows) return r;
    return 0;
}

int TrackStripMouse(CWaveView& view, const CStripGeometry& g, CPoint point, int margin, int height, int rows,
                    int samples, int window, int lastX, bool dragging, int row)
{
    if (row < 0) row = StripRowAt(point.y, height, rows);
    const int q = g.stripWidth * row - margin + point.x;
    const int delta = g.total > 0 ? MulDiv(samples, q - lastX, g.total) : 0;
    if (dragging) {
        const int start = std::max(0, std::min(view.GetStartTime() + delta, samples - window));
        if (start != view.GetStartTime()) {
            view.CWaveView::SetStartTime(start);
            view.Invalidate(TRUE);
            view.UpdateWindow();
        }
    } else {
        const bool overWindow = point.x > margin && g.windowFrom < q && q < g.windowTo && window < samples;
        view.SetCurrentCursor(overWindow ? g_hCursorHand : ::LoadCursor(nullptr, IDC_ARROW));
    }
    return q;
}

void EndStripDrag(CWaveView& view, CPoint point, int margin, int samples, int window)
{
    const bool scrolls = point.x > margin && window < samples;
    view.SetCurrentCursor(scrolls ? g_hCursorHand : ::LoadCursor(nullptr, IDC_ARROW));
    ::ClipCursor(nullptr);
    if (window > samples) view.CWaveView::SetStartTime(0);
}
