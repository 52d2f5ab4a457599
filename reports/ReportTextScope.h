// CReportTextScope: the report font and a text alignment selected on the
// print device for one block, and both put back when the block ends.
#pragma once

#include "platform/gdi/Font.h"
#include "printdevice/ECGDC.h"

class CReportTextScope {
public:
    CReportTextScope(CECGDC& dc, CFont* pFont, UINT nAlign)
        : m_dc(dc), m_pPrevFont(pFont ? dc.SelectObject(pFont) : nullptr), m_bFont(pFont != nullptr),
          m_nPrevAlign(dc.SetTextAlign(nAlign))
    {
    }
    ~CReportTextScope()
    {
        m_dc.SetTextAlign(m_nPrevAlign);
        if (m_bFont && m_pPrevFont) m_dc.SelectObject(m_pPrevFont);
    }
    CReportTextScope(const CReportTextScope&) = delete;
    CReportTextScope& operator=(const CReportTextScope&) = delete;

private:
    CECGDC& m_dc;
    CFont* m_pPrevFont;   // what the device had; null when nothing was selected
    bool m_bFont;
    UINT m_nPrevAlign;
};
