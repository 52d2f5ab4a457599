#include "platform/penwick/PatternBitmap.h"

#include <algorithm>

#include "platform/gdi/Dc.h"

void CPatternBitmap::SetPattern(const BYTE rows[8])
{
    if (!rows) return;
    std::copy(rows, rows + 8, m_rows);
}

BOOL CPatternBitmap::IsEmpty() const
{
    return std::all_of(m_rows, m_rows + 8, [](BYTE row) { return row == 0; });
}

void CPatternBitmap::Fill(CDC* pDC, const RECT& bounds, COLORREF color,
                          const std::function<bool(int, int)>& inside) const
{
    if (!pDC || IsEmpty()) return;
    CRect clip;
    if (pDC->GetClipBox(&clip) == ERROR) return;
    const int left = std::max<int>(bounds.left, clip.left), right = std::min<int>(bounds.right, clip.right);
    const int top = std::max<int>(bounds.top, clip.top), bottom = std::min<int>(bounds.bottom, clip.bottom);
    for (int y = top; y < bottom; ++y) {
        const BYTE row = m_rows[((y % 8) + 8) % 8];
        if (!row) continue;
        for (int x = left; x < right; ++x) {
            if (!(row & (0x80 >> (((x % 8) + 8) % 8)))) continue;
            if (inside && !inside(x, y)) continue;
            pDC->SetPixelV(x, y, color);
        }
    }
}
