#include "forms/FormControls.h"

#include "controls/ButtonST.h"
#include "controls/CheckComboBox.h"
#include "controls/CheckEdit.h"
#include "controls/CheckStatic.h"
#include "controls/LinkStatic.h"
#include "controls/MultiEdit.h"
#include "platform/ui/framework/DataExchange.h"

namespace {

std::unique_ptr<CWnd> MakeControl(FormCtrlKind kind)
{
    switch (kind) {
    case FormCtrlKind::Static: return std::make_unique<CCheckStatic>();
    case FormCtrlKind::Edit:
    case FormCtrlKind::Wide: return std::make_unique<CCheckEdit>();
    case FormCtrlKind::Combo: return std::make_unique<CCheckComboBox>();
    case FormCtrlKind::Button: return std::make_unique<CButtonST>();
    case FormCtrlKind::Link: {
        // The layout gives the link its place; it does not size itself to its text.
        auto link = std::make_unique<CLinkStatic>();
        link->SetAutoSize(FALSE);
        return link;
    }
    case FormCtrlKind::Comment: return std::make_unique<CMultiEdit>();
    }
    return nullptr;
}

}  // namespace

CFormControls::CFormControls(std::vector<FormRow> rows) : m_rows(std::move(rows))
{
    for (const FormRow& row : m_rows) {
        m_order.push_back(static_cast<int>(m_controls.size()));
        m_controls.push_back(MakeControl(row.kind));
    }
}

CFormControls::~CFormControls() = default;

CWnd* CFormControls::Row(int row) const
{
    return row >= 0 && row < Count() ? m_controls[m_order[row]].get() : nullptr;
}

int CFormControls::RowOf(UINT uID) const
{
    for (int row = 0; row < Count(); ++row)
        if (m_rows[m_order[row]].uID == uID) return row;
    return -1;
}

void CFormControls::Exchange(CDataExchange* pDX)
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].kind != FormCtrlKind::Comment) DDX_Control(pDX, m_rows[i].uID, *m_controls[i]);
}

void CFormControls::SetDoc(CTavrionDoc* pDoc)
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        CWnd* control = m_controls[i].get();
        switch (m_rows[i].kind) {
        case FormCtrlKind::Static: static_cast<CCheckStatic*>(control)->SetDoc(pDoc); break;
        case FormCtrlKind::Edit:
        case FormCtrlKind::Wide: static_cast<CCheckEdit*>(control)->SetDoc(pDoc); break;
        case FormCtrlKind::Combo: static_cast<CCheckComboBox*>(control)->SetDoc(pDoc); break;
        case FormCtrlKind::Link: static_cast<CLinkStatic*>(control)->SetDoc(pDoc); break;
        case FormCtrlKind::Comment: static_cast<CMultiEdit*>(control)->SetDoc(pDoc); break;
        case FormCtrlKind::Button: break;
        }
    }
}

void GrowWrappedRows(CWnd& form, const CFormControls& controls, int firstRow, int rowsPerEntry, int entries,
                     int textColumn, const int* cumulative, int rowHeight, const RowGrowth& growth,
                     bool& bSecondPassDue)
{
    const int oneRow = static_cast<int>(rowHeight * growth.fy);
    for (int k = 0; k < entries; ++k) {
        const int above = k > 0 ? cumulative[k - 1] : 0;
        const int lines = cumulative[k] - above + 1;
        for (int column = 0; column < rowsPerEntry; ++column) {
            CWnd* control = controls.Row(firstRow + rowsPerEntry * k + column);
            if (!control || !control->m_hWnd) continue;
            CRect place;
            control->GetWindowRect(&place);
            form.ScreenToClient(&place);
            place.OffsetRect(0, growth.fh * above);
            int height = oneRow;
            if (column == textColumn) {
                if (lines > 1) {
                    height = static_cast<int>((lines - 1) * growth.fh + rowHeight * growth.fy + 0.5);
                    height += height % 2;
                }
                place.right -= growth.scrollWidth;
            }
            control->MoveWindow(place.left, place.top, place.Width(), height, TRUE);
            if (column == textColumn && static_cast<int>(control->SendMessage(EM_GETLINECOUNT)) != lines)
                bSecondPassDue = true;
        }
    }
}
