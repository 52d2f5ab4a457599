// CPatternBitmap: an 8 x 8 one-bit pattern that closed sketches can be
// filled with; a set bit is painted in the fill colour, a clear bit left as
// it is. Row 0 is the top row, bit 7 the leftmost pixel.
#pragma once

#include <functional>

#include "platform/base/Geometry.h"
#include "platform/base/WinTypes.h"

class CDC;

class CPatternBitmap {
public:
    CPatternBitmap() = default;
    explicit CPatternBitmap(const BYTE rows[8]) { SetPattern(rows); }

    void SetPattern(const BYTE rows[8]);
    BYTE GetRow(int row) const { return (row >= 0 && row < 8) ? m_rows[row] : 0; }
    BOOL IsEmpty() const;

    // Paints the pattern over `bounds` (device units, aligned to the device
    // origin so neighbouring fills join up) where `inside` holds.
    void Fill(CDC* pDC, const RECT& bounds, COLORREF color, const std::function<bool(int, int)>& inside) const;

private:
    BYTE m_rows[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};
