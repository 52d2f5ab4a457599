// Printing the multi-lead view: one page of its style on a printer DC, the
// view's current page or any page by number, with the duration marks.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>

#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "printdevice/ECGDC.h"
#include "waveviews/PaperFont.h"
#include "waveviews/ViewRhythmWave.h"

int CViewRhythmWave::Print(CECGDC* pDC, CRect rect, int gridX, int gridY, double pxPerSquare, int /*reserved*/,
                           int page, int current)
{
    if (!HasLead(0)) return 1;
    CTavrionDoc* doc = GetTavrionDoc();
    if (!pDC || !pDC->GetDC() || !doc) return 0;
    pDC->SetTextColor(0);
    SetPrintScale(pxPerSquare);
    const CRect area(rect.left, rect.top, rect.left + static_cast<int>(gridX * pxPerSquare),
                     rect.top + static_cast<int>(gridY * pxPerSquare));
    m_dAmplitudeUnit = RecordAmplitudeUnit();
    // The texts are drawn in the font the caller selected, unless it is of screen size.
    CDC& dc = *pDC->GetDC();
    const CPaperFont font(dc, pxPerSquare);
    if (current) return DrawView(&dc, area, gridX, gridY, 1) ? 1 : 0;

    // A printed page follows the one before where it ends, on the paper's grid.
    const long long pageSamples = PageSamples(gridX, 1);
    // Without groups, a speed or paper there is no page to print.
    if (pageSamples <= 0) return 1;
    const int start = static_cast<int>(std::min<long long>(pageSamples * page, INT_MAX));
    const int saved = GetStartTime();
    CWaveView::SetStartTime(start);
    const int drawn = DrawView(&dc, area, gridX, gridY, 1);
    CWaveView::SetStartTime(saved);
    return drawn ? 1 : 0;
}

void CViewRhythmWave::DrawDurationMarks(CDC* pDC, CRect rect, int gridX)
{
    CTavrionDoc* doc = GetTavrionDoc();
    const int mode = GetDurationMode();
    if (!doc || (mode != 0 && mode != 1) || gridX <= 10 || m_nSampleRate <= 0) return;
    const float speed = doc->GetSpeed();
    if (speed <= 0.0f) return;
    if (GetCurPrintBottom() < 1) SetCurPrintBottom(rect.bottom);
    const int y = GetCurPrintBottom();
    const double v = DrawnSpeed(1);
    const double length = gridX - 10;
    const double w = rect.Width();
    const double span = GetSpanSeconds() * 25.0 / speed;
    const int index = GetSpanIndex();
    const int count = LeadCount(0);
    const double recordEnd = v * (static_cast<double>(count) * w / m_nSampleRate) / length;
    int x1;
    int x2;
    if (GetStartFlag()) {
        x1 = rect.left + static_cast<int>(v * (GetStartSample() * w / m_nSampleRate) / length);
        if (count / m_nSampleRate < span)
            x2 = x1 + static_cast<int>(recordEnd);
        else
            x2 = x1 + static_cast<int>(v * w * span / length);
    } else {
        x1 = rect.left + static_cast<int>(v * (index * w) * span / length);
        if (static_cast<double>(count) / m_nSampleRate < (index + 1) * span)
            x2 = rect.left + static_cast<int>(recordEnd);
        else
            x2 = rect.left + static_cast<int>(v * ((index + 1) * w) * span / length);
    }
    DrawDurationMark(pDC, CPoint(x1, y));
    DrawDurationMark(pDC, CPoint(x2, y));
}
