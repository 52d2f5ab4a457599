// CStrandelCore: the pen of the line renderer and the painting of a line
// given as one vertical span per pixel column. CStrandel (Strandel.h) turns
// samples into those spans. README.md in this folder says what the widths,
// the power and the gamma do.
#pragma once

#include <vector>

#include "platform/base/WinTypes.h"

class CDC;

class CStrandelCore {
public:
    // The thinnest and the widest pen the renderer draws with, in pixels.
    static constexpr float kMinWidth = 1.0f;
    static constexpr float kMaxWidth = 16.0f;

    CStrandelCore() = default;
    virtual ~CStrandelCore() = default;
    CStrandelCore(const CStrandelCore&) = delete;
    CStrandelCore& operator=(const CStrandelCore&) = delete;

    // Pen width across columns and along them, in pixels. Values below 1
    // (zero, negative, not a number) draw with 1, values above 16 with 16.
    void SetLineWidth(float xWidth, float yWidth);
    float GetLineXWidth() const { return m_fXWidth; }
    float GetLineYWidth() const { return m_fYWidth; }

protected:
    // One pixel column of the centre line: the y range (device rows as
    // continuous values, row r covering [r, r + 1)) that the line passes
    // through in that column.
    struct ColumnSpan {
        double dTop;
        double dBottom;
    };

    // How the painting blends: power >= 1, gamma > 0, both already checked.
    struct Blend {
        COLORREF crTrace;
        COLORREF crBackground;
        int nPower;
        double dGamma;
    };

    // Paints spans[c] at column left + c, widened by the pen, on pDC. Nothing
    // is painted left of `left`, right of left + spans.size() - 1, or outside
    // the DC's clip box. Returns the number of pixels set.
    int PaintSpans(CDC* pDC, int left, const std::vector<ColumnSpan>& spans, const Blend& blend) const;

    // The colour of a pixel covered to `coverage` (0..1).
    static COLORREF Shade(double coverage, const Blend& blend);

private:
    static float CheckedWidth(float width);

    float m_fXWidth = 1.5f;   // pixels, 1..16
    float m_fYWidth = 1.5f;   // pixels, 1..16
};
