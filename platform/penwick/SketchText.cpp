#include "platform/penwick/SketchText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Dc.h"

void CSketchText::DrawContent(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const
{
    if (!pDC || m_points.size() < 2) return;
    CDCStateSaver saver(*pDC);
    const POINT a = ToDevice(map, m_points[0]), b = ToDevice(map, m_points[1]);
    CRect box(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
    if (!paper && m_strContent.IsEmpty()) {
        // An empty text shows where it lies on screen only.
        CPen frame(PS_DOT, 1, m_crFont);
        CDCObjectSelector<CPen> frameSelection(*pDC, &frame);
        pDC->SelectStockObject(HOLLOW_BRUSH);
        pDC->Rectangle(&box);
    }
    if (m_strContent.IsEmpty()) return;
    LOGFONT scaled = m_lfFont;
    const double height = std::abs(m_lfFont.lfHeight ? m_lfFont.lfHeight : 12) * Ratio(map);
    scaled.lfHeight = -static_cast<LONG>(std::clamp(std::lround(height), 1L, 2000L));
    scaled.lfWidth = 0;
    CFont font;
    font.CreateFontIndirect(&scaled);
    CDCObjectSelector<CFont> fontSelection(*pDC, &font);
    pDC->SetTextColor(m_crFont);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(m_strContent, &box, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

void CSketchText::Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const
{
    DrawContent(pDC, map, paper);
    if (pDC && !paper && m_bSelected) DrawHandles(pDC, map);
}

void CSketchText::GiveDefaultSize()
{
    if (m_points.size() < 2) return;
    const float height = static_cast<float>(std::abs(m_lfFont.lfHeight ? m_lfFont.lfHeight : 12));
    m_points[1] = CExactPoint(m_points[0].x + 10 * height, m_points[0].y + 2 * height);
}

BOOL CSketchText::FinishSketch()
{
    if (m_points.size() < 2) return FALSE;
    if (m_points[0].x == m_points[1].x || m_points[0].y == m_points[1].y) GiveDefaultSize();
    return TRUE;
}
