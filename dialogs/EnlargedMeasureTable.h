// The measurement table under the enlarged beat: 33 numeric cells (the
// clicked lead's 23 values, the record's 10), moved through with Tab and
// Shift+Tab, and stored into the current resting item and its record XML
// when the dialog's OK is pressed. The dialog forwards its cell
// notifications here.
#pragma once

#include <array>

#include "controls/DoubleEdit.h"
#include "dialogs/EnlargedWaveLayout.h"
#include "dialogs/MeasureTableCells.h"

class CDialog;
class CTavrionDoc;
struct _RESTDATAITEM;

class CEnlargedMeasureTable {
public:
    enum { kFirstCellId = 5600, kLastCellId = 5632, kFirstGlobalId = 5623 };
    enum class StoreResult { Close, Stay };

    // Creates the cells in `dialog` where `layout` puts them.
    BOOL Create(CDialog& dialog, const CEnlargedWaveLayout& layout);
    // Shows the current item's values for display position `position`;
    // `readOnly` (serial modes, read-only documents) makes every cell display-only.
    void Load(CTavrionDoc* doc, int docType, int position, bool readOnly);
    // The dialog's OK: Close when the dialog may close (stored, or nothing to
    // store), Stay when a value was refused or a name prompt cancelled.
    StoreResult Store(CDialog& dialog, CTavrionDoc* doc, int docType, bool readOnly);

    void OnCellSetFocus(UINT id);
    void OnCellKillFocus(CDialog& dialog, UINT id);
    void OnCellNext(UINT id);

    CDoubleEdit& Cell(UINT id) { return m_cells[id - kFirstCellId]; }
    bool IsEditable() const { return m_bEditable; }
    // Draws the labels beside the cells.
    void PaintLabels(CDC& dc) const;

private:
    void ShowTexts();
    void TakeTexts();
    static bool IsAnswerCell(UINT id);
    static bool IsLeadNumericCell(UINT id);
    void Focus(UINT id);
    CRect CellRect(int cell) const;
    // The x of a text column (0 the global labels ... 7 the last unit labels).
    int ColumnX(int column) const;
    bool StampEdit(CTavrionDoc* doc, int docType);

    std::array<CDoubleEdit, kLastCellId - kFirstCellId + 1> m_cells;
    CMeasureTableCells m_texts;
    bool m_bEditable = false;   // a resting item's table, not read-only
    CEnlargedWaveLayout m_layout{1024, 768};
    UINT m_nFocusId = kFirstCellId;
    UINT m_nPrevId = kLastCellId;
};
