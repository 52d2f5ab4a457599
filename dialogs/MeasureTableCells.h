// The texts of the enlarged beat's measurement table: the 23 values of the
// clicked lead and the 10 record-wide values, taken from a record's
// `_MEASURE_INFO` and put back into it. Which cells may be edited follows
// from the texts and the lead: values marked "*", leads without stored
// values (the three extra leads of a 15-lead record) and the -aVR lead a
// Cabrera record derives from aVR are shown only. Storing checks every
// value before anything is written, so a refused value changes nothing.
#pragma once

#include "documents/MeasureInfo.h"
#include "platform/base/Strings.h"

class CMeasureTableCells {
public:
    enum {
        kLeadCells = MEASURE_ITEMS,                  // cells 0-22: the lead's items
        kCellCount = MEASURE_ITEMS + MEASURE_GLOBALS, // cells 23-32: the globals
        kFirstGlobal = MEASURE_ITEMS,
        kLastNumericItem = 20,                       // items 21, 22 are Y/N answers
        kCabreraKind = 8,
        kNoValue = 0x8000,
    };

    struct Cell {
        CString strText;
        BOOL bEditable = FALSE;
        // What the cell showed when loaded (its window may show a stored text
        // otherwise, upper case in an answer cell): a text still so was not
        // edited, and the record keeps its own.
        CString strShown;
        bool IsEdited() const { return strText != strShown; }
    };

    // The stored lead (0-11) shown at display position `position`; a Cabrera
    // record shows its limb leads as aVL, I, -aVR, II, aVF, III. Positions
    // past the stored leads answer themselves.
    static int StoredLead(int position, int nKindCode);
    // Whether the position shows -aVR derived from the stored aVR.
    static bool IsDerivedAVR(int position, int nKindCode);

    // Fills the cells from `measure` for the lead at `position`.
    void Load(const _MEASURE_INFO& measure, int position, int nKindCode);
    // Makes every cell display-only (MFER and rhythm records, serial modes,
    // read-only documents); "Vent. rate" is display-only anyway.
    void MakeReadOnly();

    Cell& At(int cell) { return m_cells[cell]; }
    const Cell& At(int cell) const { return m_cells[cell]; }

    // The first numeric lead item (0-20) whose edited text is out of its
    // range, or -1 when all may be stored. Texts holding "*" are not checked;
    // cells of positions that store no lead values are not either, nor those
    // the person left as loaded: the record's own value is no input.
    int FindOutOfRange() const;
    // "The value of <label> should be between <low> and <high> !!!".
    static CString RangeMessage(int item);
    // Puts the edited cells into `measure`: the globals always, the lead
    // items only where the lead has stored values of its own. A cell left as
    // loaded leaves the text `measure` holds, byte for byte. FALSE, with
    // `measure` untouched, when a value is out of range.
    BOOL Store(_MEASURE_INFO& measure) const;
    // Whether Store writes the lead's items (else the globals only).
    bool StoresLeadValues() const { return m_nStoredLead >= 0; }
    int StoredLeadIndex() const { return m_nStoredLead; }

    static const wchar_t* ItemLabel(int item);

private:
    void LoadGlobals(const _MEASURE_INFO& measure);
    void LoadLead(const _MEASURE_INFO& measure, int lead);
    void LoadMissingLead();
    void LoadDerivedAVR(const _MEASURE_INFO& measure);

    Cell m_cells[kCellCount];
    int m_nStoredLead = -1;   // -1: the lead items are display-only and not stored
};
