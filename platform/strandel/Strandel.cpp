#include "platform/strandel/Strandel.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdi/Dc.h"

namespace {

// Beyond this the line is off any surface anyway; keeps every product finite.
const double kMaxPixelPerSample = 1.0e6;

// The centre line through the samples: a monotone cubic (harmonic-mean slopes),
// which passes through every sample and, between two samples, stays within
// their range, so smoothing never invents a peak.
class CentreLine {
public:
    CentreLine(const short* samples, int count, double baseline, double pixelPerSample)
    {
        m_y.resize(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) m_y[static_cast<size_t>(i)] = baseline - samples[i] * pixelPerSample;
        m_slope.assign(m_y.size(), 0.0);
        if (count < 2) return;
        std::vector<double> secant(static_cast<size_t>(count - 1));
        for (int i = 0; i + 1 < count; ++i) secant[static_cast<size_t>(i)] = m_y[static_cast<size_t>(i) + 1] - m_y[static_cast<size_t>(i)];
        m_slope.front() = secant.front();
        m_slope.back() = secant.back();
        for (size_t i = 1; i + 1 < m_y.size(); ++i) {
            const double before = secant[i - 1];
            const double after = secant[i];
            // A turning point or a flat side: flat here, so no overshoot.
            m_slope[i] = (before * after <= 0.0) ? 0.0 : 2.0 * before * after / (before + after);
        }
    }

    int Count() const { return static_cast<int>(m_y.size()); }
    double Knot(int i) const { return m_y[static_cast<size_t>(i)]; }

    // The line at continuous sample index t (0 .. count - 1).
    double At(double t) const
    {
        const int last = Count() - 1;
        if (last <= 0 || t <= 0.0) return m_y.front();
        if (t >= last) return m_y.back();
        int i = static_cast<int>(t);
        if (i >= last) i = last - 1;
        const double u = t - i;
        const double y0 = m_y[static_cast<size_t>(i)];
        const double y1 = m_y[static_cast<size_t>(i) + 1];
        const double m0 = m_slope[static_cast<size_t>(i)];
        const double m1 = m_slope[static_cast<size_t>(i) + 1];
        const double u2 = u * u;
        const double u3 = u2 * u;
        const double value = (2 * u3 - 3 * u2 + 1) * y0 + (u3 - 2 * u2 + u) * m0 + (-2 * u3 + 3 * u2) * y1 +
                             (u3 - u2) * m1;
        // Rounding must not carry the curve past its two samples either.
        return std::clamp(value, std::min(y0, y1), std::max(y0, y1));
    }

private:
    std::vector<double> m_y;       // rows (continuous) of the samples
    std::vector<double> m_slope;   // rows per sample at each sample
};

}  // namespace

void CStrandel::SetPixelPerSample(double pixelPerSample)
{
    if (!std::isfinite(pixelPerSample)) pixelPerSample = 0.0;
    m_dPixelPerSample = std::clamp(pixelPerSample, -kMaxPixelPerSample, kMaxPixelPerSample);
}

void CStrandel::SetOutPixels(int outPixels)
{
    m_nOutPixels = outPixels;
}

void CStrandel::SetDC(CDC* pDC)
{
    m_pDC = pDC;
}

void CStrandel::SetColor(int power, COLORREF trace, COLORREF background, float gamma)
{
    m_nPower = std::clamp(power, 1, 16);
    m_crTrace = trace & 0xFFFFFF;
    m_crBackground = background & 0xFFFFFF;
    m_dGamma = (std::isfinite(gamma) && gamma > 0.0f) ? std::min(static_cast<double>(gamma), 10.0) : 1.0;
    m_dGamma = std::max(m_dGamma, 0.1);
}

BOOL CStrandel::SmoothLine(int left, int top, short* samples, int count)
{
    if (!m_pDC || !m_pDC->GetSafeHdc() || !samples || count < 1 || m_nOutPixels <= 0) return FALSE;

    // Only the columns the clip box shows (and a pen's reach beside them)
    // are worked out, so a huge width costs nothing off the surface.
    CRect clip;
    const int clipKind = m_pDC->GetClipBox(&clip);
    // A DC that answers no clip box is gone (deleted, or never a DC): nothing
    // can be drawn on it, which the caller must hear. An empty clip is only
    // nothing to show.
    if (clipKind == ERROR) return FALSE;
    if (clipKind == NULLREGION) return TRUE;
    const long long margin = static_cast<long long>(kMaxWidth) + 1;
    const int width = m_nOutPixels;
    const long long firstColumn = std::max(0LL, static_cast<long long>(clip.left) - left - margin);
    const long long endColumn = std::min<long long>(width, static_cast<long long>(clip.right) - left + margin);
    if (firstColumn >= endColumn) return TRUE;

    // Sample rows are continuous: row r covers [r, r + 1), so a sample of 0
    // lies in the middle of the baseline row.
    const CentreLine line(samples, count, top + 0.5, m_dPixelPerSample);
    const int last = count - 1;

    // Column c holds the samples i with trunc(i x width / count) == c, that is
    // the indexes [c x count / width, (c + 1) x count / width); the closed end
    // joins each column to the next. Columns past the last sample carry the
    // line on flat, so it always fills the whole width.
    std::vector<ColumnSpan> spans(static_cast<size_t>(endColumn - firstColumn));
    for (long long c = firstColumn; c < endColumn; ++c) {
        const double from = std::min(static_cast<double>(c) * count / width, static_cast<double>(last));
        const double to = std::min(static_cast<double>(c + 1) * count / width, static_cast<double>(last));
        double lo = line.At(from);
        double hi = lo;
        const double atEnd = line.At(to);
        lo = std::min(lo, atEnd);
        hi = std::max(hi, atEnd);
        // Between knots the line is monotone: the knots inside are the extremes.
        for (int k = static_cast<int>(std::floor(from)) + 1; k < to; ++k) {
            lo = std::min(lo, line.Knot(k));
            hi = std::max(hi, line.Knot(k));
        }
        spans[static_cast<size_t>(c - firstColumn)] = ColumnSpan{lo, hi};
    }

    // Pixels are set one by one, so no pen or brush is selected into the DC.
    const Blend blend{m_crTrace, m_crBackground, m_nPower, m_dGamma};
    PaintSpans(m_pDC, static_cast<int>(left + firstColumn), spans, blend);
    return TRUE;
}
