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

class CFormControls {
public:
    explicit CFormControls(std::vector<FormRow> rows);
    ~CFormControls();
    CFormControls(const CFormControls&) = delete;
    CFormControls& operator=(const CFormControls&) = delete;

    int Count() const { return static_cast<int>(m_rows.size()); }
    CWnd* Row(int row) const;
    UINT Id(int row) const { return row >= 0 && row < Count() ? m_rows[row].uID : 0; }
    FormCtrlKind Kind(int row) const { return m_rows[row].kind; }
    // The row of the control with the id; -1 when the form has none.
    int RowOf(UINT uID) const;
    // Attaches every template control (the comment is made at run time).
    void Exchange(CDataExchange* pDX);
    void SetDoc(CTavrionDoc* pDoc);

private:
    std::vector<FormRow> m_rows;
    std::vector<std::unique_ptr<CWnd>> m_controls;
};
