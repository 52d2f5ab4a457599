// CReportTextScope: the report font and a text alignment selected on the
// print device for one block, and both put back when the block ends.
#pragma once

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "printdevice/ECGDC.h"

class CReportTextScope {
public:
    // A null font leaves the device's font as it is.
    CReportTextScope(CECGDC& dc, CFont* pFont, UINT nAlign)
        : m_dc(dc), m_font(dc, pFont), m_nPrevAlign(dc.SetTextAlign(nAlign))
    {
    }
    // The alignment goes back first, then the font (when the selector goes).
    ~CReportTextScope() { m_dc.SetTextAlign(m_nPrevAlign); }
    CReportTextScope(const CReportTextScope&) = delete;
    CReportTextScope& operator=(const CReportTextScope&) = delete;

private:
    CECGDC& m_dc;
    CDCObjectSelector<CFont, CECGDC> m_font;   // declared before the alignment: selected first
    UINT m_nPrevAlign;
};
