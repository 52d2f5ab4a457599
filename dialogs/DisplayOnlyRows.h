// The display-only rows of the patient pages: a field that may not be edited
// is hidden and painted as text over where it was, its row's labels beside
// it and a line under the row's last value across the row's extent.
#pragma once

#include <functional>
#include <vector>

class CDC;
class CFont;
class CTavrionDoc;
class CWnd;

// The labels and values of one row as they are painted, 0-terminated when
// the row has fewer than three.
struct _PAINTED_ROW {
    int labels[3];
    int values[3];
};

class CDisplayOnlyRows {
public:
    explicit CDisplayOnlyRows(int nRows);

    // Hides control `id` of `page` and marks `row` display-only from `left`
    // to `right` (client x of the page).
    void Hide(CWnd& page, int id, int row, int left, int right);
    // Hides every value of `painted` on its row.
    void HideRow(CWnd& page, int row, const _PAINTED_ROW& painted, int left, int right);
    bool IsDisplayOnly(int row) const;

    // The row to paint for a display-only row; null leaves it unpainted.
    using RowToPaint = std::function<const _PAINTED_ROW*(int row)>;
    // Paints the display-only rows of `page` in `font` with `doc`'s ellipsis
    // text, and leaves the DC as it found it.
    void Paint(CDC& dc, CWnd& page, CTavrionDoc& doc, CFont* font, const RowToPaint& rowToPaint) const;

private:
    void DrawFieldText(CDC& dc, CWnd& page, CTavrionDoc& doc, int id, int row, bool underline) const;

    std::vector<int> m_nLeft;    // per row: client x where the underline starts; -1 for an editable row
    std::vector<int> m_nRight;   // per row: where it ends; -1 for an editable row
};

// A read-only edit loses its edge: a black one-pixel frame drawn one pixel
// outside control `id` of `page` shows where it is. Leaves the DC as it found it.
void FrameReadOnlyEdit(CDC& dc, CWnd& page, int id);
