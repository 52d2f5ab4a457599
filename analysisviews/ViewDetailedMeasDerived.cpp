// Lead III of a record whose system code has the low byte 8 is stored
// inverted: the form shows its column derived from the stored texts and, at a
// save, maps each corrected derived cell back through the same inversion
// into the stored row it came from. Cells that were not corrected keep their
// stored texts, so viewing and saving never rewrites the column (nor any other).
#include "analysisviews/ViewDetailedMeas.h"
#include "analysisviews/TableText.h"

#include "core/TavrionDoc.h"
#include "documents/MeasureInfo.h"

using tabletext::IsMissing;

namespace {

const int kDerivedLead = 2;
const int kDerivedRows = 21;
const int kQAmplitudeRow = 4;
const int kVatRow = 13;
const short kMissing = static_cast<short>(0x8000);

// The stored row a derived row comes from and whether it is negated; false
// for a row the inversion leaves without value.
bool DerivedSource(BOOL noQ, int row, int& source, bool& negated)
{
    negated = false;
    if (row == 0 || row == 1) {
        source = 1 - row;
        negated = true;
        return true;
    }
    if (row >= 14 && row <= 20) {
        source = row;
        negated = true;
        return true;
    }
    if (noQ) {
        source = row + 2;
        return row >= 3 && row <= 10;
    }
    source = row - 2;
    return row >= 5 && row <= 12;
}

short Reading(const CString& text)
{
    return IsMissing(text) ? kMissing : static_cast<short>(_wtoi(text));
}

CString Negated(const CString& text)
{
    CString out;
    out.Format(L"%d", -_wtoi(text));
    return out;
}

}  // namespace

short CViewDetailedMeas::SetCabrAvrValue(BOOL noQ, const short* values, int row)
{
    int source = 0;
    bool negated = false;
    if (row < 0 || row >= kDerivedRows || !DerivedSource(noQ, row, source, negated)) return DETAILED_MEAS_NO_VALUE;
    const short value = values[source];
    if (value == kMissing || !negated) return value;
    return static_cast<short>(-value);
}

void CViewDetailedMeas::ChangeLeadSequence(int* sequence, BOOL changed)
{
    static const int kChanged[DETAILED_MEAS_LEADS] = {4, 0, 3, 1, 5, 2, 6, 7, 8, 9, 10, 11};
    for (int i = 0; i < DETAILED_MEAS_LEADS; ++i) sequence[i] = changed ? kChanged[i] : i;
}

void CViewDetailedMeas::LoadDerivedColumn(const _MEASURE_INFO& measures)
{
    short values[kDerivedRows];
    for (int row = 0; row < kDerivedRows; ++row) values[row] = Reading(measures.At(row, kDerivedLead));
    m_bDerivedNoQ = values[kQAmplitudeRow] == 0;
    auto* doc = dynamic_cast<CTavrionDoc*>(GetDocument());
    const BOOL readOnly = doc && doc->IsReadOnly();
    for (int row = 0; row < kDerivedRows; ++row) {
        const short derived = SetCabrAvrValue(m_bDerivedNoQ, values, row);
        const bool none = derived == DETAILED_MEAS_NO_VALUE;
        // V.A.T. has no inverted counterpart; the column shows it negated, read-only.
        const short shown = row == kVatRow ? (values[row] == kMissing ? kMissing : static_cast<short>(-values[row]))
                                           : (none ? 0 : derived);
        CString text;
        if (shown == kMissing)
            text = L"****";
        else
            text.Format(L"%d", shown);
        LoadCell(row, kDerivedLead, text, !readOnly && !none && row != kVatRow);
        if (shown == kMissing) m_bRowMissing[row] = TRUE;
    }
}

void CViewDetailedMeas::StoreCells(_MEASURE_INFO& measures) const
{
    // Cells that never showed this record (an MFER record, which the form
    // does not load, or a record not yet loaded) would store blanks over it.
    if (&measures != m_pLoaded) return;
    for (int row = 0; row < DETAILED_MEAS_ROWS; ++row)
        for (int lead = 0; lead < DETAILED_MEAS_LEADS; ++lead) {
            CString text;
            m_pCells[row][lead]->GetWindowText(text);
            // A cell left as loaded keeps the stored text, byte for byte.
            if (text == m_strShown[row][lead]) continue;
            if (IsDerivedCell(row, lead)) {
                int source = 0;
                bool negated = false;
                if (DerivedSource(m_bDerivedNoQ, row, source, negated))
                    measures.At(source, lead) = negated ? Negated(text) : text;
                continue;
            }
            if (row >= kDerivedRows && (text.IsEmpty() || IsMissing(text))) text = L"*";
            measures.At(row, lead) = text;
        }
}
