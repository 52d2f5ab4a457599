// CStrandel: our anti-aliased, smoothed ECG line renderer. Sample i of n
// lies in pixel column left + trunc(i x width / n) at row
// top - sample x pixels-per-sample (row `top` is the baseline); between
// samples the line follows a monotone cubic, so it is smooth yet never
// swings past its neighbouring samples. The line fills exactly the
// out-pixel width and is drawn in colours between the background and the
// trace colour. README.md in this folder has the details.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/strandel/StrandelCore.h"

class CDC;

class CStrandel : public CStrandelCore {
public:
    CStrandel() = default;

    // Vertical pixels per sample unit (the view passes gain x scale); a value
    // that is not finite draws the line flat on the baseline.
    void SetPixelPerSample(double pixelPerSample);
    // The width of the line in pixel columns; 0 or less draws nothing.
    void SetOutPixels(int outPixels);
    void SetDC(CDC* pDC);
    // power: the line's weight, 1 (plain coverage) .. 16; out of range values
    // are brought into it. gamma: the blending curve, 1 linear; a value that
    // is not above 0 (or not finite) counts as 1, at most 10.
    void SetColor(int power, COLORREF trace, COLORREF background, float gamma);

    // Draws `count` samples from (left, top). FALSE when it cannot draw (no
    // DC or a DC no longer valid, no samples, no width); the DC's state is
    // left as found.
    BOOL SmoothLine(int left, int top, short* samples, int count);

private:
    double m_dPixelPerSample = 1.0;
    int m_nOutPixels = 0;
    CDC* m_pDC = nullptr;
    int m_nPower = 1;
    COLORREF m_crTrace = 0x000000;
    COLORREF m_crBackground = 0xFFFFFF;
    double m_dGamma = 1.0;
};
