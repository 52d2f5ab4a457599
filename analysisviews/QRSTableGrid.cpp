#include "analysisviews/QRSTableGrid.h"

#include "analysisviews/TableText.h"
#include "core/Globals.h"
#include "platform/ui/framework/View.h"
#include "platform/ui/windowing/SystemSettings.h"

CQRSTableGrid BeginQRSTable(CDC& dc, CView& view, int rows, CDCObjectSelector<CFont>& font)
{
    CRect client;
    view.GetClientRect(&client);
    const CQRSTableGrid grid = {client.Height() / rows, MulDiv(client.Width(), 1, 9), ::GetSysColor(COLOR_WINDOWTEXT)};
    dc.SetBkMode(TRANSPARENT);
    font.Select(tabletext::TableFont(view.GetDocument()));
    tabletext::DottedRule(dc, static_cast<int>(1.5 * g_dXUnit), static_cast<int>(client.right - 1.5 * g_dXUnit),
                          (3 * grid.nRowHeight) / 2);
    return grid;
}
