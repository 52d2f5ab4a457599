// The bound controls of an interpretation form, one per row of its layout
// table: made from the form's row list (control id and kind), attached to
// the template's controls, given the document, found by row or by id.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/framework/Wnd.h"

class CDataExchange;
class CTavrionDoc;

enum class FormCtrlKind {
    Static,    // bound static
    Edit,      // bound one-line edit
    Wide,      // bound edit whose text wraps (its line count grows the row)
    Combo,     // bound combo box
    Button,    // owner-drawn push button
    Link,      // the additions link
    Comment,   // the multi-line comment, made by the form at run time
};

struct FormRow {
    UINT uID;
    FormCtrlKind kind;
};

// The second layout pass over a block of rows whose text edit wraps: row k
// of the block moves down by the extra lines of the rows above it (fh
// pixels each), its small controls get one row's height and its text edit
// grows by its own extra lines to an even height, less `scrollWidth` on its
// right. The edit is measured at its new width: another line count than
// the one laid out asks for one more pass (`bSecondPassDue`).
struct RowGrowth {
    double fy;          // vertical screen factor
    int fh;             // form font height, pixels
    int scrollWidth;    // taken off the text edits' right edge
};
class CFormControls;
void GrowWrappedRows(CWnd& form, const CFormControls& controls, int firstRow, int rowsPerEntry, int entries,
                     int textColumn, const int* cumulative, int rowHeight, const RowGrowth& growth,
                     bool& bSecondPassDue);

class CFormControls {
public:
    explicit CFormControls(std::vector<FormRow> rows);
    ~CFormControls();
    CFormControls(const CFormControls&) = delete;
    CFormControls& operator=(const CFormControls&) = delete;

    // Rows as the layout table counts them: every control in list order, or
    // the ones `SetOrder` chose (a form whose table depends on the record).
    int Count() const { return static_cast<int>(m_order.size()); }
    CWnd* Row(int row) const;
    UINT Id(int row) const { return row >= 0 && row < Count() ? m_rows[m_order[row]].uID : 0; }
    FormCtrlKind Kind(int row) const { return m_rows[m_order[row]].kind; }
    // Row i becomes control order[i] of the list.
    void SetOrder(std::vector<int> order) { m_order = std::move(order); }
    // Every control of the list, whatever the order.
    int ControlCount() const { return static_cast<int>(m_controls.size()); }
    CWnd* Control(int index) const { return m_controls[index].get(); }
    UINT ControlId(int index) const { return m_rows[index].uID; }
    // The row of the control with the id; -1 when the form has none.
    int RowOf(UINT uID) const;
    // Attaches every template control (the comment is made at run time).
    void Exchange(CDataExchange* pDX);
    void SetDoc(CTavrionDoc* pDoc);

private:
    std::vector<FormRow> m_rows;
    std::vector<std::unique_ptr<CWnd>> m_controls;
    std::vector<int> m_order;
};
