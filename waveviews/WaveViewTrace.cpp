// CWaveView's trace renderer: the four smoothing modes and the print path.
#include "waveviews/WaveView.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/Helpers.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/strandel/Strandel.h"

namespace {

// Up to three distinct y values of one pixel column, in the order met;
// a y of 0 counts as no value.
struct ColumnValues {
    int y[3] = {0, 0, 0};
    int count = 0;

    void Add(int value)
    {
        if (value == 0) return;
        for (int k = 0; k < count; ++k)
            if (y[k] == value) return;
        if (count < 3) {
            y[count++] = value;
            return;
        }
        // Three held: a value beyond the span replaces that extreme.
        int* smallest = std::min_element(y, y + 3);
        int* largest = std::max_element(y, y + 3);
        if (value < *smallest)
            *smallest = value;
        else if (value > *largest)
            *largest = value;
    }
    int Smallest() const { return *std::min_element(y, y + count); }
    int Largest() const { return *std::max_element(y, y + count); }
};

}  // namespace

BOOL CWaveView::DrawWave(CDC* pDC, CRect rect, double scale, const short* samples, int count, BOOL print,
                         int colourIndex)
{
    CTavrionDoc* doc = GetTavrionDoc();
    auto slot = [doc](int index) { return doc ? doc->GetWaveColor(index, 0) : RGB(0, 0, 0); };
    COLORREF trace;
    COLORREF background = m_crBackground;
    if (colourIndex >= 0 && colourIndex <= 9) {
        trace = slot(colourIndex + 5);
    } else if (colourIndex == 15) {
        trace = slot(15);
    } else if (colourIndex == 16) {
        trace = slot(16);
        background = slot(18);
    } else {
        trace = slot(0);
    }
    if (!pDC || !samples || rect.Width() <= 1 || count < 10) return TRUE;
    if (print) {
        CDCObjectSelector<CPen> pen(*pDC, m_pPrintPen);
        PrintWave(pDC, rect, scale, samples, count, RGB(0, 0, 0));
        return TRUE;
    }
    CPen tracePen(PS_SOLID, 1, trace);
    switch (doc ? doc->GetSmoothFilterMode() : 0) {
    case 0: {
        CDCObjectSelector<CPen> pen(*pDC, &tracePen);
        DrawECGWave(pDC, rect, scale, samples, count, trace);
        return TRUE;
    }
    case 1:
        return DrawSmoothColumns(pDC, rect, scale, samples, count, trace, background);
    case 2:
        DrawSmoothFilterWave(pDC, rect, scale, samples, count, trace, background, doc->GetDensity(2), nullptr);
        return TRUE;
    case 3: {
        float xWidth = 1.0f, yWidth = 1.0f, gamma = 1.0f;
        int power = 1;
        doc->GetStrandelValue(xWidth, yWidth, power, gamma);
        return ExampleDrawSmoothIII(pDC, rect, scale, samples, count, trace, background, xWidth, yWidth,
                                    static_cast<short>(power), gamma);
    }
    default:
        return FALSE;
    }
}

BOOL CWaveView::DrawSmoothColumns(CDC* pDC, CRect rect, double scale, const short* samples, int count, COLORREF trace,
                                  COLORREF paper)
{
    CTavrionDoc* doc = GetTavrionDoc();
    const int density = doc->GetDensity(1);
    const int lineWidth = doc->GetBaseLineWidth();
    const int type = doc->GetSmoothFilterType();
    const int size = SmoothFilter(samples, count, nullptr, rect.left, rect.top, rect.right, rect.bottom, scale,
                                  trace, paper, density, lineWidth, type, 0);
    if (size <= 0) return FALSE;
    void* block = MemoryAlloc(static_cast<UINT>(size));
    if (!block) return FALSE;
    if (SmoothFilter(samples, count, block, rect.left, rect.top, rect.right, rect.bottom, scale, trace, paper,
                     density, lineWidth, type, 0) <= 0) {
        MemoryFree(block);
        return FALSE;
    }
    const auto* table = static_cast<const _SMOOTH_TABLE*>(block);
    const int columns = std::min(rect.Width(), table->nColumns);
    {
        CDCObjectSelector<CPen> selector(*pDC);
        // A level's column strokes go to the DC in one call.
        std::vector<POINT> strokes(static_cast<size_t>(std::max(columns, 0)) * 2);
        const std::vector<DWORD> counts(static_cast<size_t>(std::max(columns, 0)), 2);
        for (int level = 0; level < table->nLevels; ++level) {
            CPen pen(PS_SOLID, 1, table->pColors[level]);
            selector.Select(&pen);
            for (int c = 0; c < columns; ++c) {
                const _SMOOTH_COLUMN& column = table->pColumns[c];
                strokes[2 * c] = POINT{rect.left + c, column.pUpper[level]};
                strokes[2 * c + 1] = POINT{rect.left + c, column.pLower[level]};
            }
            if (columns > 0) {
                pDC->PolyPolyline(strokes.data(), counts.data(), columns);
                pDC->MoveTo(strokes.back());
            }
            selector.Restore();
        }
    }
    MemoryFree(block);
    return TRUE;
}

void CWaveView::DrawECGWave(CDC* pDC, CRect rect, double scale, const short* samples, int count, COLORREF color)
{
    if (!pDC || !samples || count <= 0) return;
    const int width = rect.Width();
    std::vector<POINT> points(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        points[i].x = rect.left + static_cast<int>((static_cast<long long>(i) * width) / count);
        points[i].y = TraceY(rect, scale, samples[i]);
    }
    pDC->Polyline(points.data(), count);

    CTavrionDoc* doc = GetTavrionDoc();
    const int lineWidth = doc ? doc->GetBaseLineWidth() : 1;
    if (lineWidth != 1 && lineWidth != 2) return;
    if (width <= 0) return;
    std::vector<ColumnValues> columns(static_cast<size_t>(width));
    for (int i = 0; i < count; ++i) {
        const int c = points[i].x - rect.left;
        if (c >= 0 && c < width) columns[c].Add(points[i].y);
    }
    if (lineWidth == 2) {
        for (ColumnValues& column : columns) {
            if (column.count == 1) {
                column.y[1] = column.y[0] + 1;
                column.y[2] = column.y[0] - 1;
                column.count = 3;
            } else if (column.count == 2) {
                column.y[2] = column.y[1] == column.y[0] - 1 ? column.y[0] + 1 : column.y[0] - 1;
                column.count = 3;
            }
        }
        for (int c = 0; c < width; ++c) {
            if (columns[c].count != 3) continue;
            pDC->SetPixelV(rect.left + c, columns[c].y[1], color);
            pDC->SetPixelV(rect.left + c, columns[c].y[2], color);
        }
        return;
    }
    // Width 1: a lone pixel of a column leans one pixel towards where the
    // trace goes next, so that steep or flat runs do not break up.
    std::vector<int> second(static_cast<size_t>(width), 0);
    int c = 0;
    while (c < width) {
        if (columns[c].count != 1) {
            ++c;
            continue;
        }
        const int y = columns[c].y[0];
        int next = c + 1;
        bool equalRun = false;
        while (next < width && (columns[next].count == 0 || (columns[next].count == 1 && columns[next].y[0] == y))) {
            if (columns[next].count == 1) equalRun = true;
            ++next;
        }
        if (next < width && columns[next].count == 1) {
            const int step = columns[next].y[0] < y ? -1 : 1;
            for (int k = c; k < next; ++k) second[k] = y + step;
            c = next;
        } else if (next < width) {
            const ColumnValues& span = columns[next];
            second[c] = std::abs(span.Smallest() - y) <= std::abs(span.Largest() - y) ? y + 1 : y - 1;
            ++c;
        } else if (equalRun) {
            int step = -1;
            if (c > 0 && columns[c - 1].count > 0) {
                const ColumnValues& before = columns[c - 1];
                step = std::abs(before.Smallest() - y) > std::abs(before.Largest() - y) ? -1 : 1;
            }
            for (int k = c; k < width; ++k) second[k] = y + step;
            c = width;
        } else {
            ++c;
        }
    }
    for (int k = 0; k < width; ++k)
        if (second[k] != 0 && columns[k].count < 3) pDC->SetPixelV(rect.left + k, second[k], color);
}

void CWaveView::PrintWave(CDC* pDC, CRect rect, double scale, const short* samples, int count, COLORREF color)
{
    if (!pDC || !samples || count <= 0) return;
    const int step = count < 50000 ? 1 : 10;
    const int n = count / step;
    const int width = rect.Width();
    if (n <= 0 || width <= 0) return;
    std::vector<POINT> points(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        points[i].x = rect.left + static_cast<int>((static_cast<long long>(i) * width) / n);
        points[i].y = TraceY(rect, scale, samples[i * step]);
    }
    pDC->Polyline(points.data(), n);

    CTavrionDoc* doc = GetTavrionDoc();
    const int lineWidth = doc ? doc->GetBaseLineWidth() : 1;
    const int run = n / width;
    if (run == 0) return;
    for (int i = 0; i < n; ++i) {
        int values[3];
        int held = 0;
        // The run of the last points stops at the last sample.
        const int first = i * step;
        const int end = std::min(count, first + run);
        for (int s = first; s < end && held < 3; ++s) {
            const int y = TraceY(rect, scale, samples[s]);
            if (y == 0) continue;
            bool known = false;
            for (int k = 0; k < held; ++k) known = known || values[k] == y;
            if (!known) values[held++] = y;
        }
        const int x = points[i].x;
        if (held == 2 && lineWidth == 2) {
            pDC->SetPixelV(x, std::min(values[0], values[1]) - 1, color);
        } else if (held == 1) {
            if (lineWidth == 2) {
                pDC->SetPixelV(x, values[0] + 1, color);
                pDC->SetPixelV(x, values[0] - 1, color);
            } else if (lineWidth == 1) {
                pDC->SetPixelV(x, values[0] - 1, color);
            }
        }
    }
}

void CWaveView::ExampleDrawSmoothII(CDC* pDC, CRect rect, double scale, const short* samples, int count, COLORREF trace,
                                    COLORREF paper, CPoint* points, int density)
{
    DrawSmoothFilterWave(pDC, rect, scale, samples, count, trace, paper, density, points);
}

BOOL CWaveView::ExampleDrawSmoothIII(CDC* pDC, CRect rect, double scale, const short* samples, int count,
                                     COLORREF trace, COLORREF paper, float xWidth, float yWidth, short power,
                                     float gamma)
{
    if (!pDC || !samples) return FALSE;
    // The renderer's calls in this order: pixels per sample, output width,
    // DC, colours, line width, then the line itself.
    CStrandel strandel;
    strandel.SetPixelPerSample(static_cast<double>(rect.bottom - rect.top) * scale);
    strandel.SetOutPixels(rect.Width());
    strandel.SetDC(pDC);
    strandel.SetColor(power, trace, paper, gamma);
    strandel.SetLineWidth(xWidth, yWidth);
    // A DC the renderer cannot draw on is a trace not drawn: the caller hears of it.
    // The renderer's interface takes the samples unqualified; it only reads them.
    return strandel.SmoothLine(rect.left, rect.top, const_cast<short*>(samples), count);
}

void CWaveView::GetColorinit_change(COLORREF* ramp, COLORREF trace, COLORREF paper, int density)
{
    for (int k = 1; k <= density; ++k) {
        const int r = GetRValue(paper) - (GetRValue(paper) - GetRValue(trace)) * k / density;
        const int g = GetGValue(paper) - (GetGValue(paper) - GetGValue(trace)) * k / density;
        const int b = GetBValue(paper) - (GetBValue(paper) - GetBValue(trace)) * k / density;
        ramp[k - 1] = RGB(r, g, b);
    }
}

void CWaveView::DrawSmoothFilterWave(CDC* pDC, CRect rect, double scale, const short* samples, int count,
                                     COLORREF trace, COLORREF paper, int density, CPoint* points)
{
    const int width = rect.Width();
    if (!pDC || width <= 0 || count <= 0 || (!samples && !points)) return;
    // A density below 1 would leave the ramp empty: one level then.
    density = std::max(1, density);
    std::vector<CPoint> own;
    if (!points) {
        own.resize(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            own[i] = CPoint(rect.left + static_cast<int>((static_cast<long long>(i) * width) / count),
                            TraceY(rect, scale, samples[i]));
        points = own.data();
    }
    struct Column {
        int largest = 0, middle = 0, smallest = 0;
        bool flag1 = true, flag2 = true, set = false;
    };
    std::vector<Column> cols(static_cast<size_t>(width));
    if (count >= width) {
        for (int i = 0; i < count; ++i) {
            const int c = points[i].x - rect.left;
            if (c < 0 || c >= width) continue;
            Column& col = cols[c];
            if (!col.set) {
                col.largest = col.smallest = points[i].y;
                col.set = true;
            } else {
                col.largest = std::max(col.largest, static_cast<int>(points[i].y));
                col.smallest = std::min(col.smallest, static_cast<int>(points[i].y));
            }
        }
    } else {
        for (int i = 0; i < count; ++i) {
            const int c0 = points[i].x - rect.left;
            if (c0 >= 0 && c0 < width) {
                cols[c0].largest = cols[c0].smallest = points[i].y;
                cols[c0].set = true;
            }
            if (i + 1 >= count) break;
            const int c1 = points[i + 1].x - rect.left;
            const int y0 = points[i].y, y1 = points[i + 1].y;
            for (int c = c0 + 1; c < c1; ++c) {
                if (c < 0 || c >= width) continue;
                int y = y0 + (y1 - y0) * (c - c0) / (c1 - c0);
                y = std::max(std::min(y0, y1), std::min(std::max(y0, y1), y));
                cols[c].largest = cols[c].smallest = y;
                cols[c].set = true;
            }
        }
    }
    // Columns no point reached take their left neighbour's values.
    for (int c = 0; c < width; ++c) {
        if (cols[c].set) continue;
        if (c > 0) {
            cols[c] = cols[c - 1];
        } else {
            cols[c].largest = cols[c].smallest = points[0].y;
            cols[c].set = true;
        }
    }
    for (Column& col : cols) col.middle = (col.largest + col.smallest) / 2;
    std::vector<int> middles(static_cast<size_t>(width));
    for (int c = 0; c < width; ++c) middles[c] = cols[c].middle;
    for (int c = 0; c < width; ++c) {
        if (c > 0) {
            cols[c].smallest = std::min(cols[c].smallest, middles[c - 1]);
            cols[c].largest = std::max(cols[c].largest, middles[c - 1]);
        }
        if (c + 1 < width) {
            cols[c].smallest = std::min(cols[c].smallest, middles[c + 1]);
            cols[c].largest = std::max(cols[c].largest, middles[c + 1]);
        }
    }
    for (int c = 0; c < width; ++c) {
        Column& col = cols[c];
        const Column* prev = c > 0 ? &cols[c - 1] : nullptr;
        const Column* next = c + 1 < width ? &cols[c + 1] : nullptr;
        const bool crest = (!next || col.smallest < next->smallest) && (!prev || col.smallest <= prev->smallest) &&
                           (prev || next);
        if (crest && (!prev || prev->flag1)) {
            col.middle = col.smallest;
            col.flag1 = false;
        }
        const bool trough = (!next || col.largest > next->largest) && (!prev || col.largest >= prev->largest) &&
                            (prev || next);
        if (trough && (!prev || prev->flag2)) {
            col.middle = col.largest;
            col.flag2 = false;
        }
    }
    std::vector<COLORREF> ramp(static_cast<size_t>(density));
    GetColorinit_change(ramp.data(), trace, paper, density);
    for (int c = 0; c < width; ++c)
        DrawSmoothWave_change(pDC, rect.left + c, cols[c].smallest, cols[c].middle, cols[c].largest, ramp.data(),
                              density);
}

void CWaveView::DrawSmoothWave_change(CDC* pDC, int x, int smallest, int middle, int largest, const COLORREF* ramp,
                                      int density)
{
    const int span = largest - smallest + 1;
    if (span <= 0) return;
    middle = std::max(smallest, std::min(largest, middle));
    std::vector<int> levels(static_cast<size_t>(span), 0);
    std::vector<char> placedStore(static_cast<size_t>(span), 0);
    bool* placed = reinterpret_cast<bool*>(placedStore.data());
    auto place = [&](int y, int level) {
        const int k = y - smallest;
        if (k < 0 || k >= span) return;
        if (levels[k] == 0) levels[k] = level;
        placed[k] = true;
    };
    if (density <= 1) {
        for (int k = 0; k < span; ++k) pDC->SetPixelV(x, smallest + k, ramp[0]);
        return;
    }
    // Bisection over 2 × density − 1 positions: smallest y, middle and
    // largest y at positions 0, density − 1 and 2 × density − 2.
    place(middle, density);
    place(smallest, 1);
    place(largest, 1);
    struct Known {
        int pos, y, level;
    };
    std::vector<std::pair<Known, Known>> pending = {{{0, smallest, 1}, {density - 1, middle, density}},
                                                    {{density - 1, middle, density}, {2 * density - 2, largest, 1}}};
    while (!pending.empty()) {
        const auto [a, b] = pending.back();
        pending.pop_back();
        if (b.pos - a.pos <= 1) continue;
        const Known mid{(a.pos + b.pos) / 2, (a.y + b.y) / 2, (a.level + b.level) / 2};
        place(mid.y, mid.level);
        pending.push_back({a, mid});
        pending.push_back({mid, b});
    }
    SetColorSmooth(levels.data(), placed, span);
    for (int k = 0; k < span; ++k) {
        const int level = std::max(1, std::min(density, levels[k]));
        pDC->SetPixelV(x, smallest + k, ramp[level - 1]);
    }
}

void CWaveView::SetColorSmooth(int* levels, const bool* placed, int span)
{
    std::vector<int> filled(levels, levels + span);
    for (int k = 0; k < span; ++k) {
        if (levels[k] != 0) continue;
        int above = -1, below = -1;
        for (int j = k - 1; j >= 0; --j)
            if (placed[j]) {
                above = j;
                break;
            }
        for (int j = k + 1; j < span; ++j)
            if (placed[j]) {
                below = j;
                break;
            }
        if (above < 0 && below < 0) continue;
        if (below < 0 || (above >= 0 && k - above <= below - k))
            filled[k] = levels[above];
        else
            filled[k] = levels[below];
    }
    std::copy(filled.begin(), filled.end(), levels);
}
