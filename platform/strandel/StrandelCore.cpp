#include "platform/strandel/StrandelCore.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/Dc.h"

void CStrandelCore::SetLineWidth(float xWidth, float yWidth)
{
    m_fXWidth = CheckedWidth(xWidth);
    m_fYWidth = CheckedWidth(yWidth);
}

float CStrandelCore::CheckedWidth(float width)
{
    // Written so that NaN also takes the thinnest pen: a thinner line would
    // only fade, and a setting must never make the line disappear.
    if (!(width >= kMinWidth)) return kMinWidth;
    return std::min(width, kMaxWidth);
}

COLORREF CStrandelCore::Shade(double coverage, const Blend& blend)
{
    const double a = std::clamp(coverage, 0.0, 1.0);
    // The power thickens partly covered pixels: 1 - (1 - a)^power.
    const double weight = 1.0 - std::pow(1.0 - a, blend.nPower);
    auto channel = [&](int shift) {
        const int trace = (blend.crTrace >> shift) & 0xFF;
        const int back = (blend.crBackground >> shift) & 0xFF;
        // A power mean of the two channel values: monotone in the weight, so
        // the result always lies between background and trace.
        const double t = std::pow(trace / 255.0, blend.dGamma);
        const double b = std::pow(back / 255.0, blend.dGamma);
        const double mixed = std::pow((1.0 - weight) * b + weight * t, 1.0 / blend.dGamma) * 255.0;
        const int value = static_cast<int>(std::lround(mixed));
        return std::clamp(value, std::min(trace, back), std::max(trace, back));
    };
    return RGB(channel(0), channel(8), channel(16));
}

int CStrandelCore::PaintSpans(CDC* pDC, int left, const std::vector<ColumnSpan>& spans, const Blend& blend) const
{
    if (!pDC || spans.empty()) return 0;
    CRect clip;
    const int clipKind = pDC->GetClipBox(&clip);
    if (clipKind == ERROR || clipKind == NULLREGION || clip.IsRectEmpty()) return 0;

    const int columns = static_cast<int>(spans.size());
    const double halfX = m_fXWidth / 2.0;
    const double halfY = m_fYWidth / 2.0;
    // Neighbours at distance d lend the column their span with weight
    // halfX + 0.5 - d (a box pen of width xWidth centred on the column).
    const int reach = static_cast<int>(std::ceil(halfX + 0.5)) - 1;

    // Spans far outside the clip are cut to a margin, so that huge values
    // never reach integer conversion and never cost a loop.
    const double floorY = clip.top - 2.0 * kMaxWidth;
    const double ceilY = clip.bottom + 2.0 * kMaxWidth;

    const int firstColumn = static_cast<int>(std::max(0LL, static_cast<long long>(clip.left) - left));
    const int endColumn = static_cast<int>(std::min<long long>(columns, static_cast<long long>(clip.right) - left));
    std::vector<double> coverage;
    int painted = 0;
    for (int c = firstColumn; c < endColumn; ++c) {
        const int from = std::max(0, c - reach);
        const int to = std::min(columns - 1, c + reach);
        double top = ceilY;
        double bottom = floorY;
        for (int k = from; k <= to; ++k) {
            top = std::min(top, std::clamp(std::min(spans[k].dTop, spans[k].dBottom), floorY, ceilY) - halfY);
            bottom = std::max(bottom, std::clamp(std::max(spans[k].dTop, spans[k].dBottom), floorY, ceilY) + halfY);
        }
        const int firstRow = std::max(clip.top, static_cast<int>(std::floor(top)));
        const int endRow = std::min(clip.bottom, static_cast<int>(std::ceil(bottom)));
        if (firstRow >= endRow) continue;

        coverage.assign(static_cast<size_t>(endRow - firstRow), 0.0);
        for (int k = from; k <= to; ++k) {
            const double weight = std::min(1.0, halfX + 0.5 - std::abs(k - c));
            if (weight <= 0.0) continue;
            const double spanTop =
                std::clamp(std::min(spans[k].dTop, spans[k].dBottom), floorY, ceilY) - halfY;
            const double spanBottom =
                std::clamp(std::max(spans[k].dTop, spans[k].dBottom), floorY, ceilY) + halfY;
            const int rowFrom = std::max(firstRow, static_cast<int>(std::floor(spanTop)));
            const int rowTo = std::min(endRow, static_cast<int>(std::ceil(spanBottom)));
            for (int r = rowFrom; r < rowTo; ++r) {
                const double overlap = std::min<double>(r + 1, spanBottom) - std::max<double>(r, spanTop);
                double& cell = coverage[static_cast<size_t>(r - firstRow)];
                cell = std::max(cell, weight * std::clamp(overlap, 0.0, 1.0));
            }
        }
        for (int r = firstRow; r < endRow; ++r) {
            const double a = coverage[static_cast<size_t>(r - firstRow)];
            if (a <= 0.0) continue;
            pDC->SetPixelV(left + c, r, Shade(a, blend));
            ++painted;
        }
    }
    return painted;
}
