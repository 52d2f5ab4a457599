#include "dialogs/DisplayOnlyRows.h"

#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Pen.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/SystemSettings.h"

CDisplayOnlyRows::CDisplayOnlyRows(int nRows)
    : m_nLeft(static_cast<size_t>(nRows), -1), m_nRight(static_cast<size_t>(nRows), -1)
{
}

void CDisplayOnlyRows::Hide(CWnd& page, int id, int row, int left, int right)
{
    if (CWnd* control = page.GetDlgItem(id)) control->ShowWindow(SW_HIDE);
    if (row < 0 || row >= static_cast<int>(m_nLeft.size())) return;
    m_nLeft[row] = left;
    m_nRight[row] = right;
}

void CDisplayOnlyRows::HideRow(CWnd& page, int row, const _PAINTED_ROW& painted, int left, int right)
{
    for (int id : painted.values) {
        if (id) Hide(page, id, row, left, right);
    }
}

bool CDisplayOnlyRows::IsDisplayOnly(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_nLeft.size())) return false;
    return m_nLeft[row] != -1 || m_nRight[row] != -1;
}

void CDisplayOnlyRows::DrawFieldText(CDC& dc, CWnd& page, CTavrionDoc& doc, int id, int row, bool underline) const
{
    CWnd* control = page.GetDlgItem(id);
    if (!control) return;
    control->ShowWindow(SW_HIDE);
    CRect rect;
    control->GetWindowRect(&rect);
    page.ScreenToClient(&rect);
    CString text;
    control->GetWindowText(text);
    doc.DrawTextEndEllipsis(&dc, text, rect);
    if (underline) {
        dc.MoveTo(m_nLeft[row], rect.bottom);
        dc.LineTo(m_nRight[row], rect.bottom);
    }
}

void CDisplayOnlyRows::Paint(CDC& dc, CWnd& page, CTavrionDoc& doc, CFont* font, const RowToPaint& rowToPaint) const
{
    CDCStateSaver state(dc);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CDCObjectSelector<CPen> penSelector(dc, &pen);
    CDCObjectSelector<CFont> fontSelector(dc, font);
    dc.SetTextAlign(TA_BOTTOM);
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(GetSysColor(COLOR_BTNFACE));
    for (int row = 0; row < static_cast<int>(m_nLeft.size()); ++row) {
        if (!IsDisplayOnly(row)) continue;
        const _PAINTED_ROW* painted = rowToPaint(row);
        if (!painted) continue;
        for (int label : painted->labels) {
            if (label) DrawFieldText(dc, page, doc, label, row, false);
        }
        int count = 0;
        while (count < 3 && painted->values[count]) ++count;
        for (int i = 0; i < count; ++i) DrawFieldText(dc, page, doc, painted->values[i], row, i == count - 1);
    }
}

void FrameReadOnlyEdit(CDC& dc, CWnd& page, int id)
{
    CWnd* edit = page.GetDlgItem(id);
    if (!edit) return;
    CDCStateSaver state(dc);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CDCObjectSelector<CPen> penSelector(dc, &pen);
    CRect rect;
    edit->GetWindowRect(&rect);
    page.ScreenToClient(&rect);
    rect.InflateRect(1, 1);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(&rect);
}
