// CViewDetailedMeas: the form of one resting record's detailed measurements,
// 23 rows by 12 leads of live numeric cells over a drawn table, with the
// record-wide values beside it. It shows them, lets the user correct them,
// checks every correction, and stores the corrected texts in the record and
// its record XML, stamped with the editor or the confirming doctor.
//
// Records whose system code has the low byte 8 carry lead III inverted: the
// form shows that column derived from the stored one and maps each corrected
// derived cell back into the stored row it came from.
#pragma once

#include <functional>
#include <memory>

#include "controls/DoubleEdit.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/FormView.h"

class CECGDC;
class CTavrionDoc;
struct _MEASURE_INFO;

#define DETAILED_MEAS_ROWS 23
#define DETAILED_MEAS_LEADS 12
#define DETAILED_MEAS_GLOBALS 11
#define DETAILED_MEAS_FIRST_ID 9020
#define DETAILED_MEAS_LAST_ID (DETAILED_MEAS_FIRST_ID + DETAILED_MEAS_ROWS * DETAILED_MEAS_LEADS - 1)
// Returned by SetCabrAvrValue for a row the inversion leaves without value.
#define DETAILED_MEAS_NO_VALUE 10000

// How a stored correction is confirmed, stamped and committed. The prompts
// and the stamps live with the dialogs, which install this when the library
// loads; without it a save that must ask counts as cancelled.
struct MeasEditProtocol {
    // Asks for the editor (the doctor for model-8000 records) and stamps the
    // current item of the document of kind `docType`; false when cancelled.
    std::function<bool(CTavrionDoc* doc, int docType)> confirm;
    // Saves the record XML, tells the notification window and refreshes the
    // bound controls; false (the user told) when the record XML was not written.
    std::function<bool(CTavrionDoc* doc)> commit;
    // Tells the user that the measurements could not be written.
    std::function<void()> reportFailedSave;
};

class CViewDetailedMeas : public CFormView {
    DECLARE_DYNCREATE(CViewDetailedMeas)
public:
    CViewDetailedMeas();
    ~CViewDetailedMeas() override;

    // Installs the protocol and returns the one it replaces.
    static MeasEditProtocol SetEditProtocol(MeasEditProtocol protocol);

    void SetDocType(int type) { m_nDocType = type; }
    int GetDocType() const { return m_nDocType; }

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Prints the table from the record XML into `rect`; FALSE when nothing printed.
    BOOL Print(CECGDC* pDC, CRect rect);

    // ---- editing ------------------------------------------------------------------
    // Validates cell `id` (0: the cell with the focus id).
    BOOL CheckData(UINT id);
    // Focuses the cell with the focus id and shows the last error.
    void WarnDataError();
    // Moves the focus on from cell `id` (back with Shift; 0: the previous cell).
    void ChangeFocus(UINT id);
    BOOL IsEditChange();
    BOOL IsDataValid() const { return m_bDataValid; }
    BOOL IsNeedSaveValue() const { return m_bNeedSave; }
    // Stores the cells into the current item and its record XML, asking
    // and stamping first when `ask` is set. TRUE when stored or cancelled;
    // FALSE for a wrong kind, no item, or a record XML that was not written.
    BOOL SetData(BOOL ask);
    // Discards the edits: reloads every cell from the record.
    BOOL RestoreData();

    // The pure checks, for the cells and for the tests.
    // The error text of `text` in `row`; empty when it passes.
    static CString CheckCellText(int row, const CString& text);
    static int CellId(int row, int lead) { return DETAILED_MEAS_FIRST_ID + row * DETAILED_MEAS_LEADS + lead; }
    static void ChangeLeadSequence(int* sequence, BOOL changed);
    // One row of a lead column with lead III's inversion undone: `values`
    // the 21 integer readings of the stored column (0x8000 missing).
    static short SetCabrAvrValue(BOOL noQ, const short* values, int row);

    CDoubleEdit* GetCell(int row, int lead) const { return m_pCells[row][lead]; }
    const CString& GetShownValue(int row, int lead) const { return m_strShown[row][lead]; }
    BOOL IsRowMissing(int row) const { return m_bRowMissing[row]; }
    UINT GetFocusId() const { return m_nFocusId; }
    const CString& GetErrorText() const { return m_strError; }
    // TRUE while the current record shows lead III derived.
    BOOL IsDerivedLayout() const;

    // Geometry of the screen table, for painting and the tests.
    struct Layout {
        double ux = 1.0;       // the document's display units in pixels
        double uy = 1.0;
        int width = 0;         // W: client width less two display units
        int height = 0;        // H
        int colW = 0;
        int rowH = 0;
        int cellLeft = 0;
        int cellWidth = 0;
        int cellHeight = 0;
        int firstRowTop = 0;
        int headingTop = 0;
    };
    Layout GetLayout() const;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnTabPressedEdb(UINT id);
    afx_msg void OnEnterPressedEdb(UINT id);
    afx_msg void OnKillFocusEdb(UINT id);
    afx_msg void OnSetFocusEdb(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    struct RowSpec {
        LPCWSTR element;
        LPCWSTR label;
        LPCWSTR unit;
    };
    static const RowSpec kRows[DETAILED_MEAS_ROWS];
    struct GlobalSpec {
        LPCWSTR label;
        LPCWSTR unit;
        LPCWSTR xpath;
    };
    static const GlobalSpec kGlobals[DETAILED_MEAS_GLOBALS];

    // The current item's measurements and its lead names; null without one
    // or for another kind than rest.
    _MEASURE_INFO* RestMeasures() const;
    const CString* RestLeadNames() const;
    _MEASURE_INFO* CurrentMeasures() const;
    CRect CellRect(const Layout& layout, int row, int lead) const;

    BOOL CreateCells();
    void PlaceCells();
    void EnableValueCells();
    void LoadCells();
    void LoadCell(int row, int lead, const CString& text, BOOL editable);
    void LoadDerivedColumn(const _MEASURE_INFO& measures);
    void UpdateRowMissing(const _MEASURE_INFO& measures);
    void FocusCell(UINT id);
    void SetCurrentFrom(UINT id);
    // Validates the cell; on failure it holds the focus and the box tells why.
    BOOL HoldInvalidCell(UINT id);

    void DrawTable(CDC& dc, const Layout& layout, const _MEASURE_INFO& measures);
    void DrawGlobals(CDC& dc, const Layout& layout, const _MEASURE_INFO& measures);

    // The text each cell stores into `measures` at a save.
    void StoreCells(_MEASURE_INFO& measures) const;
    BOOL WriteMeasurements();
    BOOL IsDerivedCell(int row, int lead) const;

    int m_nDocType = 0;
    CDoubleEdit* m_pCells[DETAILED_MEAS_ROWS][DETAILED_MEAS_LEADS];
    RECT m_rcCells[DETAILED_MEAS_ROWS][DETAILED_MEAS_LEADS];
    int m_nCurLead = -1;
    int m_nCurRow = -1;
    UINT m_nFocusId = DETAILED_MEAS_FIRST_ID;
    UINT m_nPrevFocusId = DETAILED_MEAS_LAST_ID;
    CString m_strShown[DETAILED_MEAS_ROWS][DETAILED_MEAS_LEADS];
    CString m_strError;
    BOOL m_bDataValid = TRUE;
    BOOL m_bNeedSave = TRUE;
    BOOL m_bRowMissing[DETAILED_MEAS_ROWS] = {};
    BOOL m_bDerivedLoaded = FALSE;   // the cells hold the derived column of lead III
    BOOL m_bDerivedNoQ = FALSE;      // that column was derived without a Q wave
    // The measurements the cells were loaded from: a save writes the cells
    // only into those, never into a record they do not show.
    const _MEASURE_INFO* m_pLoaded = nullptr;
    std::unique_ptr<CBrush> m_pCellBrush;   // handed out to the cells; replaced at each colouring
};
